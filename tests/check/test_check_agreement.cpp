// test_check_agreement.cpp - the validator and the script generator agree: a model the
// generator refuses has an error, and a model without errors is one the generator writes.
// Checked over every model the tree keeps (test corpora, fuzz corpora, examples) and on
// models written here for the cases where the two have differed.
#include <filesystem>
#include <set>

#include "check_support.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_checks.h"

using namespace checktest;

namespace {

namespace fs = std::filesystem;

struct Verdicts {
    bool refused = false;  // vmodkit_ScriptCheck said no
    size_t errors = 0;
    std::string refusal;   // the generator's reason
    std::string firstError;
};

// Validates model without files and without locations, and asks the generator.
Verdicts Judge(Vmod_Model *model) {
    Verdicts verdicts;
    Oerr_ErrorReport *err = nullptr;
    Vmodcheck_Options options{};
    Report report(vmodcheck_Validate(model, &options, &err));
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    if (report == nullptr) return verdicts;
    verdicts.errors = report->errors;
    if (report->errors > 0) verdicts.firstError = std::string(report->problems[0].code) + ": " + report->problems[0].message;
    if (vmodkit_ScriptCheck(model, &err) == 0) {
        verdicts.refused = true;
        verdicts.refusal = err != nullptr ? vmodhost_ErrorMessage(err) : "";
    }
    oerr_DeleteErrorReportEx(&err);
    return verdicts;
}

// Every model file the tree keeps: *.vmf anywhere under tests/ and examples/, every kept
// fuzz input, and the fuzzers' working corpora when a fuzz build left them.
std::vector<fs::path> CorpusFiles() {
    const fs::path root = VMOD_SOURCE_DIR;
    std::set<fs::path> files;
    auto add = [&files](const fs::path &directory, bool everyFile) {
        std::error_code error;
        if (!fs::is_directory(directory, error)) return;
        for (fs::recursive_directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
            if (!it->is_regular_file(error)) continue;
            if (everyFile || it->path().extension() == ".vmf") files.insert(it->path());
        }
    };
    add(root / "tests", false);
    add(root / "examples", false);
    add(root / "fuzz", false);
    add(root / "tests" / "fuzz_regressions", true);
    add(root / "tests" / "fuzz_pipeline_regressions", true);
    add(root / "build-fuzz" / "corpus", true);
    return {files.begin(), files.end()};
}

// A model read from text, judged.
Verdicts JudgeText(const std::string &text) {
    FileModel model(text);
    EXPECT_TRUE(model.read()) << text;
    return Judge(model.model());
}

} // namespace

TEST(CheckAgreement, EveryKeptModelThatReadsIsJudgedAlikeByTheCheckAndTheGenerator) {
    size_t read = 0, refused = 0, clean = 0;
    for (const fs::path &path : CorpusFiles()) {
        Vmod_Model model{};
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelRead(&model, path.c_str(), &err);
        const bool ok = err == nullptr;
        oerr_DeleteErrorReportEx(&err);
        if (ok) {
            ++read;
            const Verdicts verdicts = Judge(&model);
            refused += verdicts.refused ? 1 : 0;
            clean += verdicts.errors == 0 ? 1 : 0;
            // Refused implies an error; put the other way, no error implies a script.
            EXPECT_FALSE(verdicts.refused && verdicts.errors == 0)
                << path << ": the generator refuses (" << verdicts.refusal << ") but the check finds no error";
        }
        vmodkit_ModelRelease(&model);
    }
    // Both sides of the rule were exercised: the tree keeps models of each kind.
    EXPECT_GE(read, 15u);
    EXPECT_GE(refused, 1u);
    EXPECT_GE(clean, 5u);
}

TEST(CheckAgreement, ADanglingArrowOutOfADataNodeIsNoError) {
    // The generator ignores an arrow that names no node when it is not an operation's
    // output, so the check must not stop the model for it.
    const Verdicts verdicts = JudgeText(std::string(kHeader) +
                                        "SCALAR {\n\tID 1;\n\tTITLE \"n1_rate\";\n\tPOSITION 1, 1;\n\tVALUE 2;\n"
                                        "\tCHILD 9;\n}\n");
    EXPECT_FALSE(verdicts.refused) << verdicts.refusal;
    EXPECT_EQ(verdicts.errors, 0u) << verdicts.firstError;
}

TEST(CheckAgreement, AModelWithoutNodesIsWrittenAndIsNoError) {
    const Verdicts verdicts = JudgeText(kHeader);
    EXPECT_FALSE(verdicts.refused) << verdicts.refusal;
    EXPECT_EQ(verdicts.errors, 0u) << verdicts.firstError;
}

TEST(CheckAgreement, ModelsTheGeneratorRefusesHaveErrors) {
    const char *const bodies[] = {
        // An entry the script cannot quote.
        "TABLE {\n\tID 1;\n\tTITLE \"n1_t\";\n\tPOSITION 1, 1;\n\tSIZE 1;\n\tDATATYPE STRING;\n"
        "\tVALUE \"a \\\"b\\\"\";\n}\n",
        // A title the script cannot use as a name.
        "SCALAR {\n\tID 1;\n\tTITLE \"rate 2\";\n\tPOSITION 1, 1;\n\tVALUE 2;\n}\n",
        // Arrows in a circle.
        "FUNCTION {\n\tID 1;\n\tTITLE \"f\";\n\tPOSITION 1, 1;\n\tVALUE \"$n2_a + 1\";\n\tCHILD 2;\n}\n"
        "SCALAR {\n\tID 2;\n\tTITLE \"n2_a\";\n\tPOSITION 2, 1;\n\tVALUE 2;\n\tCHILD 1;\n}\n",
    };
    for (const char *body : bodies) {
        const Verdicts verdicts = JudgeText(std::string(kHeader) + body);
        EXPECT_TRUE(verdicts.refused) << body;
        EXPECT_GT(verdicts.errors, 0u) << body;
    }
}

TEST(CheckAgreement, ARefusalNoOtherCheckNamesIsReportedInTheGeneratorsWords) {
    // A coverage's feature is written bare, so it must be a plain name.
    FileModel model(std::string(kHeader) +
                    "VECTOR {\n\tID 1;\n\tTITLE \"n1_roads\";\n\tPOSITION 1, 1;\n\tVECTORTYPE COVERAGE;\n"
                    "\tFILENAME \"/data/roads\";\n\tFEATURE \"line 2\";\n}\n");
    ASSERT_TRUE(model.read());
    Report report = model.validate();
    const Vmodcheck_Problem *problem = Find(*report, "S002");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_NE(std::string(problem->message).find("FEATURE"), std::string::npos) << problem->message;
    // Located at the statement the generator names, on the node it names.
    EXPECT_EQ(problem->line, 18);
    EXPECT_EQ(problem->column, 2);
    ASSERT_EQ(problem->nodeCount, 1u);
    EXPECT_EQ(problem->nodes[0], 1);
}

// Every text the script cannot hold is named, even beside other errors: a quote in a file
// name and an unplain title on the same node give two problems.
TEST(CheckAgreement, EveryTextTheScriptCannotHoldIsNamedBesideOtherErrors) {
    FileModel model(std::string(kHeader) +
                    "RASTER {\n\tID 1;\n\tTITLE \"in put\";\n\tPOSITION 1, 1;\n\tFILENAME \"in.img\\\"x\";\n}\n");
    ASSERT_TRUE(model.read());
    Report report = model.validate();
    const Vmodcheck_Problem *problem = nullptr;
    for (size_t i = 0; i < report->count; ++i)
        if (std::string(report->problems[i].message).find("(FILENAME)") != std::string::npos) problem = &report->problems[i];
    ASSERT_NE(problem, nullptr);
    EXPECT_STREQ(problem->code, "S002");
    EXPECT_EQ(problem->line, 16);
    EXPECT_GE(report->errors, 2u);
}

TEST(CheckAgreement, TheGeneratorIsNotRepeatedWhenAnotherCheckFoundAnError) {
    FileModel model(std::string(kHeader) +
                    "TABLE {\n\tID 1;\n\tTITLE \"n1_t\";\n\tPOSITION 1, 1;\n\tSIZE 1;\n\tDATATYPE STRING;\n"
                    "\tVALUE \"a \\\"b\\\"\";\n}\n");
    ASSERT_TRUE(model.read());
    Report report = model.validate();
    EXPECT_GT(report->errors, 0u);
    EXPECT_FALSE(HasCode(*report, "S001"));
}
