// model_pipeline.h - everything a front end does with a model file, run on one input: read
// it and, when it reads, save it, read the saved file back and save that again, write its
// script with every file prompt answered (in both operation orders), export it as EPS and
// as an annotation layer, and ask the model queries an editor asks. Shared by the pipeline
// fuzzer and the test that replays its kept inputs.
#ifndef VMOD_FUZZ_MODEL_PIPELINE_H
#define VMOD_FUZZ_MODEL_PIPELINE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PipelineOutcome {
    bool parsed = false;         // the input reads as a model
    bool written = false;        // the writer saved it
    bool readBack = false;       // the saved file read again
    bool scriptChecked = false;  // the script generator accepts the model
    bool scriptComplete = false; // and wrote a complete script
    bool epsWritten = false;
    bool annoWritten = false;
    // Broken promises between the stages (a saved model that does not read back, a second
    // save that differs from the first, ...), one sentence each; empty when all held.
    std::vector<std::string> problems;
};

// Runs every stage on `size` bytes of model-file text. The files go into `directory`
// (which must exist and is left as it was found). Everything made is released again.
PipelineOutcome fuzz_RunModelPipeline(const uint8_t *data, size_t size, const std::string &directory);

#endif
