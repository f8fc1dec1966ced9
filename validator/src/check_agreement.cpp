// check_agreement.cpp - the script generator has the last word: whatever it refuses is an
// error here, so that `vmod check` never calls ready a model that `vmod script` refuses.
// The areas before this one name most refusals with their own codes; what they did not
// call an error is reported here in the generator's own words.
#include <new>

#include "checks.h"
#include "vmodhost/oerr.h"
#include "vmodkit/vmodkit_checks.h"

void check_Agreement(const CheckContext &context, ProblemList &problems) {
    Vmodkit_Texts refusals{};
    Oerr_ErrorReport *err = nullptr;
    if (!vmodkit_ScriptRefusals(context.model, &refusals, &err)) {
        oerr_DeleteErrorReportEx(&err);
        throw std::bad_alloc();
    }
    if (problems.errorCount() == 0) {
        for (size_t i = 0; i < refusals.count; ++i)
            problems.error("S001", {}, std::string("the script generator refuses the model: ") + refusals.texts[i],
                           "fix what the generator names; `vmod script` gives the same reason");
    }
    vmodkit_FreeTexts(&refusals);
}
