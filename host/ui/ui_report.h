// ui_report.h - how the user-interface host reports a failed call.
//
// A failure stores a new report in *err. A report already in the slot becomes the new
// report's cause rather than being dropped, so callers that pass one slot to a series of
// calls lose nothing. A call that succeeds leaves the slot as it is.
//
// Every exported entry point runs its body through UiGuarded, so no C++ exception (in
// practice std::bad_alloc) ever reaches a C caller.
#ifndef VMODHOST_UI_REPORT_H
#define VMODHOST_UI_REPORT_H

#include <cstdint>

#include "vmodhost/oerr.h"

enum UiErrorCode : int32_t {
    UI_ERR_MISSING_ARGUMENT = 1, // a null handle or string where one is needed
    UI_ERR_NOT_FOUND = 2,        // no part of that name
    UI_ERR_FONT = 3,             // the canvas cannot use the font
    UI_ERR_BAD_ARGUMENT = 4,     // a count or size out of range
    UI_ERR_MEMORY = 5
};

// Reports "Missing <what>" from function.
void UiReportMissing(Oerr_ErrorReport **err, const char *function, const char *what);
// Reports a message built from format, which takes exactly one string argument.
void UiReport(Oerr_ErrorReport **err, const char *function, UiErrorCode code, const char *format,
              const char *detail);

template <class Result, class Body>
Result UiGuarded(Oerr_ErrorReport **err, const char *function, Result fallback, Body &&body) noexcept
{
    try {
        return body();
    } catch (...) {
        UiReport(err, function, UI_ERR_MEMORY, "Out of Memory%s", "");
        return fallback;
    }
}

template <class Body>
void UiGuardedVoid(Oerr_ErrorReport **err, const char *function, Body &&body) noexcept
{
    try {
        body();
    } catch (...) {
        UiReport(err, function, UI_ERR_MEMORY, "Out of Memory%s", "");
    }
}

#endif
