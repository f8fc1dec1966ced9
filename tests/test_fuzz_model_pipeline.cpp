// Runs the pipeline fuzzer's stages (save and read back, script, EPS and annotation
// exports, editor queries) on every input kept in tests/fuzz_pipeline_regressions/ and on
// the example models. No stage may break a promise to the next; under the sanitizer build
// nothing may be reported either.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model_pipeline.h"
#include "support/reader_support.h"
#include "support/scratch_dir.h"

namespace {

PipelineOutcome runPipeline(const std::filesystem::path &path, const vmodtest::ScratchDir &dir) {
    QuietErrors quiet;
    const std::string bytes = readFile(path.string());
    return fuzz_RunModelPipeline(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), dir.path());
}

std::string problemsOf(const PipelineOutcome &outcome) {
    std::string text;
    for (const std::string &problem : outcome.problems) text += "\n  " + problem;
    return text;
}

} // namespace

TEST(vmod_ModelRead, FuzzPipelineRegressionsKeepEveryPromise) {
    vmodtest::ScratchDir dir;
    ASSERT_FALSE(dir.path().empty());
    const auto directory = std::filesystem::path(VMOD_SOURCE_DIR) / "tests" / "fuzz_pipeline_regressions";
    int replayed = 0;
    for (const auto &entry : std::filesystem::directory_iterator(directory)) {
        if (!entry.is_regular_file()) continue;
        PipelineOutcome outcome = runPipeline(entry.path(), dir);
        EXPECT_TRUE(outcome.problems.empty()) << entry.path() << problemsOf(outcome);
        EXPECT_TRUE(dir.entries().empty()) << entry.path() << ": the stages left files behind";
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

TEST(vmod_ModelRead, ExampleModelsPassEveryPipelineStage) {
    vmodtest::ScratchDir dir;
    ASSERT_FALSE(dir.path().empty());
    int run = 0;
    for (const auto &entry :
         std::filesystem::recursive_directory_iterator(std::filesystem::path(VMOD_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".vmf") continue;
        PipelineOutcome outcome = runPipeline(entry.path(), dir);
        EXPECT_TRUE(outcome.parsed) << entry.path();
        EXPECT_TRUE(outcome.written) << entry.path();
        EXPECT_TRUE(outcome.readBack) << entry.path();
        // every_kind.vmf carries every field of the format, a text no script can hold among
        // them (a table string with a double quote): the script check refuses it, and the
        // generator with it.
        EXPECT_EQ(outcome.scriptComplete, entry.path().filename() != "every_kind.vmf") << entry.path();
        EXPECT_TRUE(outcome.epsWritten) << entry.path();
        EXPECT_TRUE(outcome.annoWritten) << entry.path();
        EXPECT_TRUE(outcome.problems.empty()) << entry.path() << problemsOf(outcome);
        ++run;
    }
    EXPECT_GT(run, 0);
}
