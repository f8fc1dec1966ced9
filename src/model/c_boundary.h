/* c_boundary.h - where C++ exceptions stop. Not exported.

   The library is C++ inside and C at its surface: no exception may reach a C caller.
   Every exported function whose body can throw (a std::string, std::vector or hash
   table that cannot grow) runs that body through model_Guarded or model_GuardedReport
   at its entry; nothing deeper catches for the sake of the boundary.

   Guarded entries, by the failure they give:
   - a report "memory is exhausted" (VMOD_ERR_MEMORY) in *err: vmod_Circular,
     vmod_Ancestor, vmod_UpdateNodes, vmod_NextFunction, vmod_ModelWrite,
     vmod_ModelEPS, vmod_NodePrint, and vmod_ModelAnno (as the cause of a layer that
     cannot be created);
   - their failure value: vmod_ChangeFirst, vmod_ChangeAll (null), vmod_ScriptGen (0),
     vmod_TextPrint (stops), vmod_ModelPrint (prints nothing more).
   Every other exported function runs only C code: the host's calls (which catch on
   their side, the parser driver included, whose actions report memory exhaustion as a
   rejected file) and plain record code that allocates with omsc_HeapMalloc and checks
   for null. vmod_ModelParse and vmod_ModelRead are of this kind. They run unguarded;
   tests/c_boundary/test_c_boundary.cpp makes allocations fail under the guarded ones and a
   representative set of the others. */
#ifndef VMOD_MODEL_C_BOUNDARY_H
#define VMOD_MODEL_C_BOUNDARY_H

#include <exception>
#include <new>
#include <stdexcept>

#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"
#include "vmod/vmod.h"

/* The caller's report slot for the length of one exported call, for every function that
   takes err. The rule (vmod.h, "Conventions"): a report already in *err is never dropped.
   The body works on an empty slot, so inside it "*err is set" means "this call failed";
   when the call ends, the earlier report goes to the end of the chain the call left, or
   back into the slot when it left none. What the call shows through
   oerr_PrintErrorReport is its own report alone. A null err is tolerated. Declare it
   before model_GuardedReport runs, so that a boundary report is chained above it too. */
class Model_KeptReport {
  public:
    explicit Model_KeptReport(Oerr_ErrorReport **err) noexcept
        : err_(err), earlier_(err != nullptr ? *err : nullptr) {
        if (err_ != nullptr) *err_ = nullptr;
    }
    ~Model_KeptReport() {
        if (err_ != nullptr) vmodhost_ErrorAppendCause(err_, earlier_);
    }
    Model_KeptReport(const Model_KeptReport &) = delete;
    Model_KeptReport &operator=(const Model_KeptReport &) = delete;

  private:
    Oerr_ErrorReport **err_;
    Oerr_ErrorReport *earlier_;
};

/* Runs body; if it throws, runs onFailure (whose own exceptions are dropped) and gives
   fallback. A void body takes no fallback: use the overload below. */
template <typename Result, typename Body, typename OnFailure>
Result model_GuardedWith(Result fallback, Body &&body, OnFailure &&onFailure) noexcept {
    try {
        return body();
    } catch (...) {
        try {
            onFailure(std::current_exception());
        } catch (...) {
        }
        return fallback;
    }
}

template <typename Body, typename OnFailure>
void model_GuardedWith(Body &&body, OnFailure &&onFailure) noexcept {
    model_GuardedWith(0, [&body] { return body(), 0; }, onFailure);
}

/* The message a failure at the boundary reports: memory exhaustion (a container that
   cannot grow, or grow that far), or the exception's own text for anything else. */
inline const char *model_BoundaryMessage(const std::exception_ptr &caught) {
    try {
        std::rethrow_exception(caught);
    } catch (const std::bad_alloc &) {
    } catch (const std::length_error &) {
    } catch (const std::exception &other) {
        return other.what();
    } catch (...) {
        return "an unexpected failure";
    }
    return "memory is exhausted";
}

/* A new report from function for a failure at the boundary, chained to cause (which it
   takes over). */
inline Oerr_ErrorReport *model_BoundaryReport(const char *function, const std::exception_ptr &caught,
                                              Oerr_ErrorReport *cause) {
    return oerr_CreateErrorReport(function, VMOD_ERR_MEMORY, VMOD_SEVERITY_ERROR, cause, "%s",
                                  model_BoundaryMessage(caught), 0);
}

/* For functions without a report: the failure is the fallback alone. */
template <typename Result, typename Body>
Result model_Guarded(Result fallback, Body &&body) noexcept {
    return model_GuardedWith(fallback, body, [](const std::exception_ptr &) {});
}

/* For functions with a report: a failure stores model_BoundaryReport in *err (a null err
   is tolerated; a report the body left there becomes the cause) and gives fallback. When
   even the report cannot be made, *err keeps what it held. */
template <typename Result, typename Body>
Result model_GuardedReport(const char *function, Oerr_ErrorReport **err, Result fallback, Body &&body) noexcept {
    return model_GuardedWith(fallback, body, [function, err](const std::exception_ptr &caught) {
        if (err != nullptr) *err = model_BoundaryReport(function, caught, *err);
    });
}

template <typename Body>
void model_GuardedReport(const char *function, Oerr_ErrorReport **err, Body &&body) noexcept {
    model_GuardedReport(function, err, 0, [&body] { return body(), 0; });
}

#endif
