// Releasing nodes with everything they own: titles, payloads (with the strings, arrays
// and rectangles node_kinds.h lists) and link records; releasing a model's header.
#include "model/node_release.h"

#include <cstdint>

#include "vmodhost/omsc.h"
#include "model/node_kinds.h"

void model_LinkListRelease(Vmod_Link *head) {
    while (head != nullptr) {
        Vmod_Link *next = head->next;
        omsc_HeapFree(head);
        head = next;
    }
}

void model_PayloadRelease(int32_t kind, void *data) {
    if (data == nullptr) return;
    model_PayloadReleaseOwned(kind, data);
    omsc_HeapFree(data);
}

void model_NodeRelease(Vmod_Node *node) {
    if (node == nullptr) return;
    omsc_HeapFree(node->title);
    model_PayloadRelease(node->type, node->data);
    model_LinkListRelease(node->children);
    model_LinkListRelease(node->parents);
    omsc_HeapFree(node);
}

void model_HeaderRelease(Vmod_Model *model) {
    if (model == nullptr) return;
    size_t count = 0;
    const Model_OwnedField *owned = model_HeaderOwned(&count);
    for (size_t i = 0; i < count; ++i) model_OwnedFieldRelease(owned[i], model);
}
