// Enabling or greying the editor's run controls by whether the model can run: it has
// nodes, every data node is titled, every operation is titled and has an output.
#include "vmodhost/oerr.h"
#include "vmodhost/ooml.h"
#include "model/model_internal.h"

namespace {

bool nodeReady(const Vmod_Node *node) {
    switch (node->type) {
    case VMOD_RASTER:
    case VMOD_VECTOR:
    case VMOD_MATRIX:
    case VMOD_TABLE:
    case VMOD_SCALAR:
        return node->title != nullptr;
    case VMOD_FUNCTION:
    case VMOD_CRITERIA:
        return node->title != nullptr && node->children != nullptr;
    default:
        return true;  // text and unknown kinds impose nothing
    }
}

bool modelReady(const Vmod_Model *model) {
    if (model->nodes == nullptr) return false;
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next)
        if (!nodeReady(node)) return false;
    return true;
}

}  // namespace

extern "C" void vmod_ReadyToRun(Vmod_Model *model) {
    if (model == nullptr) return;
    const bool ready = modelReady(model);
    // Failures of these calls are not the caller's concern; each report is dropped.
    Oerr_ErrorReport *report = nullptr;
    if (ready)
        ooml_MenuItemEnable(model->menu, "selprocess", &report);
    else
        ooml_MenuItemDisable(model->menu, "selprocess", &report);
    oerr_DeleteErrorReportEx(&report);
    Ooml_Part *run = ooml_FrameFindPart(model->frame, "vmodframe:runb", &report);
    oerr_DeleteErrorReportEx(&report);
    if (run == nullptr) return;
    if (ready)
        ooml_PartEnable(run, &report);
    else
        ooml_PartDisable(run, &report);
    oerr_DeleteErrorReportEx(&report);
}
