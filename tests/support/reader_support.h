// reader_support.h - keepers and helpers for the model-file reader tests.
#ifndef VMOD_TESTS_READER_SUPPORT_H
#define VMOD_TESTS_READER_SUPPORT_H

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "file/model_reader.h"
#include "text_files.h"
#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/vmodhost.h"

struct ParsedModelDeleter {
    void operator()(Vmod_Model *model) const { file_ParsedModelRelease(model); }
};
using ParsedModel = std::unique_ptr<Vmod_Model, ParsedModelDeleter>;

// Holds a report chain and releases it.
struct ReportKeeper {
    Oerr_ErrorReport *report = nullptr;
    ~ReportKeeper() { oerr_DeleteErrorReportEx(&report); }
    Oerr_ErrorReport **slot() { return &report; }
    // Every message of the chain, outermost first.
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const Oerr_ErrorReport *r = report; r != nullptr; r = vmodhost_ErrorCause(r))
            out.push_back(vmodhost_ErrorMessage(r));
        return out;
    }
    // The innermost message (the driver's or the scanner's).
    std::string cause() const {
        std::vector<std::string> all = messages();
        return all.empty() ? std::string() : all.back();
    }
};

// Swallows what oerr_PrintErrorReport shows while a test runs.
struct QuietErrors {
    QuietErrors() { vmodhost_SetErrorSink([](const char *, void *) {}, nullptr); }
    ~QuietErrors() { vmodhost_SetErrorSink(nullptr, nullptr); }
};

inline ParsedModel parseText(const std::string &text, ReportKeeper &report, const char *name = "model.vmf") {
    QuietErrors quiet;
    return ParsedModel(file_ModelParseText(name, text.data(), text.size(), report.slot()));
}

// A path in the build tree for a test's scratch file.
inline std::string scratchPath(const std::string &name) {
    return std::string(VMOD_BINARY_DIR) + "/tests/" + name;
}

inline int nodeCount(const Vmod_Model *model) {
    int n = 0;
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next)
        ++n;
    return n;
}

inline Vmod_Node *nthNode(const Vmod_Model *model, int index) {
    Vmod_Node *node = model->nodes;
    while (node != nullptr && index-- > 0)
        node = node->next;
    return node;
}

#endif
