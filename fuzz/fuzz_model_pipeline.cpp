// fuzz_model_pipeline.cpp - libFuzzer target: any bytes as a model file, and every stage a
// front end runs on a model that reads (save and read back, script, EPS and annotation
// exports, editor queries). No stage may crash, leak, hang or access out of bounds, and
// the promises between the stages must hold: a broken one aborts with its sentence.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model_pipeline.h"
#include "vmodhost/vmodhost.h"

namespace {

std::string scratch; // this process's own directory for the stages' files

void removeScratch() {
    std::error_code ignored;
    if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    vmodhost_SetErrorSink([](const char *, void *) {}, nullptr);
    std::error_code ignored;
    std::string base = std::filesystem::is_directory("/dev/shm", ignored)
                           ? std::string("/dev/shm")
                           : std::filesystem::temp_directory_path().string();
    std::string pattern = base + "/vmod-fuzz-pipeline-" + std::to_string(getpid()) + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("fuzz_model_pipeline: no scratch directory");
        std::abort();
    }
    scratch = pattern;
    std::atexit(removeScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    PipelineOutcome outcome = fuzz_RunModelPipeline(data, size, scratch);
    if (!outcome.problems.empty()) {
        for (const std::string &problem : outcome.problems) std::fprintf(stderr, "pipeline: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
