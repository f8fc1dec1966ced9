// validate.cpp - vmodcheck_Validate: runs every area of checks over one context and
// hands the caller a report in plain records.
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "checks.h"
#include "report_storage.h"
#include "vmodhost/oerr.h"

void check_Report(Oerr_ErrorReport **err, const char *function, int32_t code, const char *message) {
    if (err == nullptr) return;
    *err = oerr_CreateErrorReport(function, code, VMOD_SEVERITY_ERROR, *err, "%s", message);
}

void check_ReportCaught(Oerr_ErrorReport **err, const char *function) {
    try {
        throw;
    } catch (const std::bad_alloc &) {
        check_Report(err, function, VMOD_ERR_MEMORY, "memory is exhausted");
    } catch (const std::exception &caught) {
        check_Report(err, function, VMOD_ERR_FAILED, caught.what());
    } catch (...) {
        check_Report(err, function, VMOD_ERR_FAILED, "an unexpected failure");
    }
}

namespace {

Vmodcheck_Report *Validate(Vmod_Model *model, const Vmodcheck_Options &options) {
    auto context = std::make_unique<CheckContext>();
    check_BuildContext(model, options, *context);
    ProblemList problems;
    check_Graph(*context, problems);
    check_Names(*context, problems);
    check_Expressions(*context, problems);
    check_Data(*context, problems);
    int32_t pages = -1;
    check_Layout(*context, problems, pages);
    std::vector<PromptRecord> prompts;
    check_Prompts(*context, problems, prompts);
    int32_t filesChecked = 0;
    if (options.checkFiles) filesChecked = check_Files(*context, problems);
    // Last, so that it only adds what no other check has called an error.
    check_Agreement(*context, problems);

    // The context (indexes, the file's map) goes before the report's records are made: on
    // a large model each is a sizeable part of the peak.
    const std::string file = context->source.path;
    context.reset();
    auto storage = std::make_unique<ReportStorage>();
    storage->fill(std::move(problems), std::move(prompts), file);
    auto *report = new Vmodcheck_Report{};
    storage->describe(*report);
    report->pages = pages;
    report->filesChecked = filesChecked;
    report->internal = storage.release();
    return report;
}

} // namespace

extern "C" {

Vmodcheck_Report *vmodcheck_Validate(Vmod_Model *model, const Vmodcheck_Options *options, Oerr_ErrorReport **err) {
    if (model == nullptr) {
        check_Report(err, "vmodcheck_Validate", VMOD_ERR_FAILED, "no model");
        return nullptr;
    }
    try {
        return Validate(model, options != nullptr ? *options : Vmodcheck_Options{});
    } catch (...) {
        check_ReportCaught(err, "vmodcheck_Validate");
        return nullptr;
    }
}

void vmodcheck_ReportFree(Vmodcheck_Report *report) {
    if (report == nullptr) return;
    delete static_cast<ReportStorage *>(report->internal);
    delete report;
}

const char *vmodcheck_SeverityName(int32_t severity) {
    switch (severity) {
    case VMODCHECK_ERROR: return "error";
    case VMODCHECK_WARNING: return "warning";
    case VMODCHECK_INFO: return "info";
    default: return "unknown";
    }
}

int32_t vmodcheck_FilesSupported(void) {
#ifdef VMODCHECK_WITH_GDAL
    return 1;
#else
    return 0;
#endif
}

void vmodcheck_Free(void *memory) { std::free(memory); }

} // extern "C"
