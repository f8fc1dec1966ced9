// Deep copies of nodes: the record and its payload with copies of every string, array
// and rectangle the payload owns (node_kinds.h lists them). The copy keeps the source's
// identifier and link-list heads; the caller gives it an identifier and lists of its own
// before any link operation or release.
#include <cstdint>
#include <cstring>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"
#include "model/node_kinds.h"
#include "model/node_release.h"

extern "C" Vmod_Node *vmod_NodeDuplicate(Vmod_Node *node, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (node == nullptr) return nullptr;
    auto *copy = static_cast<Vmod_Node *>(omsc_HeapMalloc(sizeof(Vmod_Node)));
    if (copy == nullptr) return nullptr;
    // Every field as it is (the link lists shared until the caller gives the copy its
    // own), then what the copy must not share: the list neighbours, title and payload.
    std::memcpy(copy, node, sizeof(Vmod_Node));
    copy->next = copy->prev = nullptr;
    copy->title = ostr_Duplicate(node->title);
    copy->data = nullptr;
    copy->render = nullptr;

    const Model_NodeKind *kind = model_KindOf(node->type);
    if (kind == nullptr) return copy;  // an unknown kind: no payload, no render slot
    copy->render = model_RenderSlot(node->type);
    if (node->data == nullptr) return copy;
    copy->data = omsc_HeapMalloc(kind->payloadSize);
    if (copy->data == nullptr) {
        copy->children = copy->parents = nullptr;
        model_NodeRelease(copy);
        return nullptr;
    }
    std::memcpy(copy->data, node->data, kind->payloadSize);
    model_PayloadCopyOwned(node->type, copy->data);
    return copy;
}
