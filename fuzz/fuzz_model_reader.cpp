// fuzz_model_reader.cpp - libFuzzer target: any bytes as a model file. A parse either
// yields a model or a report, never a crash, a leak or an access out of bounds. A model
// that reads is released again the way a caller would release it.
#include <cstddef>
#include <cstdint>

#include "file/model_reader.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    vmodhost_SetErrorSink([](const char *, void *) {}, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Oerr_ErrorReport *report = nullptr;
    Vmod_Model *model = file_ModelParseText("fuzz.vmf", reinterpret_cast<const char *>(data), size, &report);
    if (model != nullptr) {
        Oerr_ErrorReport *local = nullptr;
        vmod_UpdateNodes(model, &local); // resolves links the way a read does
        oerr_DeleteErrorReportEx(&local);
    }
    file_ParsedModelRelease(model);
    oerr_DeleteErrorReportEx(&report);
    return 0;
}
