// kit_guard.h - where the kit's C++ stops: every vmodkit_ function whose body can throw
// runs it through kit_Guarded, which turns any exception into a report (memory
// exhaustion as "memory is exhausted") and the function's failure value.
#ifndef VMODKIT_KIT_GUARD_H
#define VMODKIT_KIT_GUARD_H

#include <exception>
#include <new>
#include <stdexcept>

#include "vmod/vmod.h"
#include "vmodhost/oerr.h"

// Stores a report named after function in *err (when err is not null), chained onto
// what is there. message is a printf format with no arguments.
void kit_Report(Oerr_ErrorReport **err, const char *function, int32_t code, const char *message);

// The report for an exception caught at the boundary, worded as the library words it.
void kit_ReportCaught(Oerr_ErrorReport **err, const char *function, const std::exception_ptr &caught);

template <typename Result, typename Body>
Result kit_Guarded(const char *function, Oerr_ErrorReport **err, Result fallback, Body &&body) noexcept {
    try {
        return body();
    } catch (...) {
        try {
            kit_ReportCaught(err, function, std::current_exception());
        } catch (...) {
        }
        return fallback;
    }
}

#endif
