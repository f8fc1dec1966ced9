// The model's node list: finding nodes by identifier, the next free identifier, and
// releasing nodes, models and rectangles.
#include <cstdint>

#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "model/model_internal.h"
#include "model/node_release.h"

Vmod_Node *model_FirstNode(Vmod_Node *node) { return static_cast<Vmod_Node *>(ollm_Start(node)); }

extern "C" {

Vmod_Node *vmod_IdToNode(Vmod_Model *model, int32_t id, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (model == nullptr) return nullptr;
    for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next)
        if (node->id == id) return node;
    return nullptr;
}

Vmod_Node *vmod_NodeFind(Vmod_Node *node, int32_t id, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    for (Vmod_Node *each = model_FirstNode(node); each != nullptr; each = each->next)
        if (each->id == id) return each;
    return nullptr;
}

int32_t vmod_NodeNextAvail(Vmod_Node *node, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    // Counted wide so that an identifier of INT32_MAX cannot overflow; no larger free
    // identifier exists then, and INT32_MAX is the answer.
    int64_t next = 1;
    for (Vmod_Node *each = model_FirstNode(node); each != nullptr; each = each->next)
        if (each->id >= next) next = static_cast<int64_t>(each->id) + 1;
    return next > INT32_MAX ? INT32_MAX : static_cast<int32_t>(next);
}

void vmod_NodesDelete(Vmod_Node *first, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    // Iterative, so that a long list cannot exhaust the stack.
    while (first != nullptr) {
        Vmod_Node *next = first->next;
        model_NodeRelease(first);
        first = next;
    }
}

void vmod_ModelDelete(Vmod_Model *model, Oerr_ErrorReport **err) {
    (void)err;  // never written: nothing here can fail
    if (model == nullptr) return;
    model_HeaderRelease(model);
    if (model->nodes != nullptr) vmod_NodesDelete(model->nodes, nullptr);
    // The released list must not be reachable from the front end's record any more.
    model->nodes = nullptr;
}

Vmod_Rect *vmod_RectCreate(Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    return static_cast<Vmod_Rect *>(omsc_HeapMalloc(sizeof(Vmod_Rect)));
}

void vmod_RectDelete(Vmod_Rect *rect, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    omsc_HeapFree(rect);
}

}  // extern "C"
