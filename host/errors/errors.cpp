// Error reports: a chain from the outermost report to its first cause. A report owns its
// cause, so deleting the outermost report releases the whole chain.
#include <cstdarg>
#include <cstdio>
#include <new>
#include <string>

#include "support/c_locale.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"

struct Oerr_ErrorReport {
    std::string function;
    int32_t code = 0;
    int32_t severity = 0;
    std::string message;
    Oerr_ErrorReport *cause = nullptr;
};

namespace {

Vmodhost_ErrorSink errorSink = nullptr;
void *errorSinkUser = nullptr;

std::string chainText(const Oerr_ErrorReport *report) {
    std::string text;
    for (const Oerr_ErrorReport *r = report; r != nullptr; r = r->cause) {
        text += r->message;
        text += '\n';
    }
    return text;
}

} // namespace

extern "C" {

Oerr_ErrorReport *oerr_CreateErrorReport(const char *function, int32_t code, int32_t severity,
                                         Oerr_ErrorReport *cause, const char *format, ...) {
    // Without memory for a new report the cause is handed back, so that the caller
    // still holds a report (when there was one) and nothing leaks or throws.
    Oerr_ErrorReport *report = new (std::nothrow) Oerr_ErrorReport;
    if (report == nullptr) return cause;
    va_list arguments;
    va_start(arguments, format);
    try {
        report->function = function != nullptr ? function : "";
        report->message = vmodhost::formatV(format, arguments);
    } catch (...) {
        va_end(arguments);
        delete report;
        return cause;
    }
    va_end(arguments);
    report->code = code;
    report->severity = severity;
    report->cause = cause;
    return report;
}

void oerr_PrintErrorReport(Oerr_ErrorReport *report, int32_t, int32_t) {
    if (report == nullptr) {
        return;
    }
    std::string text;
    try {
        text = chainText(report);
    } catch (...) { // without memory for the whole chain, its first message is shown
        if (errorSink != nullptr) {
            errorSink(report->message.c_str(), errorSinkUser);
        } else {
            std::fputs(report->message.c_str(), stderr);
            std::fputc('\n', stderr);
        }
        return;
    }
    if (errorSink != nullptr) {
        errorSink(text.c_str(), errorSinkUser);
    } else {
        std::fputs(text.c_str(), stderr);
    }
}

void oerr_DeleteErrorReportEx(Oerr_ErrorReport **report) {
    if (report == nullptr) {
        return;
    }
    Oerr_ErrorReport *r = *report;
    while (r != nullptr) {
        Oerr_ErrorReport *cause = r->cause;
        delete r;
        r = cause;
    }
    *report = nullptr;
}

void vmodhost_ErrorAppendCause(Oerr_ErrorReport **chain, Oerr_ErrorReport *cause) {
    if (chain == nullptr || cause == nullptr) return;
    Oerr_ErrorReport **end = chain;
    for (; *end != nullptr; end = &(*end)->cause)
        if (*end == cause) return; // already in the chain: a second link would free it twice
    *end = cause;
}

void vmodhost_IgnoreErrorText(const char *, void *) {}

void vmodhost_SetErrorSink(Vmodhost_ErrorSink sink, void *user) {
    errorSink = sink;
    errorSinkUser = user;
}

const char *vmodhost_ErrorMessage(const Oerr_ErrorReport *report) {
    return report != nullptr ? report->message.c_str() : nullptr;
}

const char *vmodhost_ErrorFunction(const Oerr_ErrorReport *report) {
    return report != nullptr ? report->function.c_str() : nullptr;
}

int32_t vmodhost_ErrorCode(const Oerr_ErrorReport *report) { return report != nullptr ? report->code : 0; }

int32_t vmodhost_ErrorSeverity(const Oerr_ErrorReport *report) {
    return report != nullptr ? report->severity : 0;
}

const Oerr_ErrorReport *vmodhost_ErrorCause(const Oerr_ErrorReport *report) {
    return report != nullptr ? report->cause : nullptr;
}

char *vmodhost_ErrorChainText(const Oerr_ErrorReport *report) {
    std::string text = chainText(report);
    if (!text.empty()) {
        text.pop_back(); // no newline after the last message
    }
    return ostr_Duplicate(text.c_str());
}

}
