// kit_common.cpp - releasing what the kit returns, and its reports.
#include "kit_guard.h"
#include "model/c_boundary.h"
#include "vmodkit/vmodkit_common.h"
#include "vmodhost/omsc.h"

void kit_Report(Oerr_ErrorReport **err, const char *function, int32_t code, const char *message) {
    if (err == nullptr) return;
    *err = oerr_CreateErrorReport(function, code, VMOD_SEVERITY_ERROR, *err, "%s", message);
}

void kit_ReportCaught(Oerr_ErrorReport **err, const char *function, const std::exception_ptr &caught) {
    kit_Report(err, function, VMOD_ERR_MEMORY, model_BoundaryMessage(caught));
}

extern "C" {

void vmodkit_Free(void *memory) { omsc_HeapFree(memory); }

void vmodkit_FreeTexts(Vmodkit_Texts *list) {
    if (list == nullptr) return;
    if (list->texts != nullptr) {
        for (size_t i = 0; i < list->count; ++i) omsc_HeapFree(list->texts[i]);
        omsc_HeapFree(list->texts);
    }
    list->texts = nullptr;
    list->count = 0;
}

} // extern "C"
