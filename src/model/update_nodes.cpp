// Resolving the links of a freshly read model and building its parent lists.
#include <cstdint>
#include <unordered_map>

#include "host/ollm.h"
#include "host/omsc.h"
#include "model/model_internal.h"

namespace {

// The first node of the list for every identifier, as vmod_IdToNode would find it.
std::unordered_map<int32_t, Vmod_Node *> firstNodeById(Vmod_Node *first) {
    std::unordered_map<int32_t, Vmod_Node *> byId;
    for (Vmod_Node *node = first; node != nullptr; node = node->next) byId.emplace(node->id, node);
    return byId;
}

Vmod_Link *linkAppend(Vmod_Link **head, int32_t id, Vmod_Node *node) {
    auto *link = static_cast<Vmod_Link *>(omsc_HeapMalloc(sizeof(Vmod_Link)));
    if (link == nullptr) return nullptr;
    link->id = id;
    link->node = node;
    *head = static_cast<Vmod_Link *>(ollm_Add(*head, OLLM_APPEND, link));
    return link;
}

}  // namespace

extern "C" Vmod_Model *vmod_UpdateNodes(Vmod_Model *model, Oerr_ErrorReport **err) {
    model_ClearError(err);
    if (model == nullptr) return nullptr;
    return model_Guarded<Vmod_Model *>(model, [model] {
        const auto byId = firstNodeById(model->nodes);
        for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
            if (node->type == VMOD_TEXT && node->data != nullptr) {
                const auto *text = static_cast<const Vmod_TextData *>(node->data);
                node->width = static_cast<double>(text->extentWidth);
                node->height = static_cast<double>(text->extentHeight);
            } else {
                node->width = model->nodeWidth;
                node->height = model->nodeHeight;
            }
            for (Vmod_Link *link = node->children; link != nullptr; link = link->next) {
                auto found = byId.find(link->id);
                // A child identifier naming no node stays an unresolved link without mirror.
                link->node = found == byId.end() ? nullptr : found->second;
                if (link->node == nullptr) continue;
                Vmod_Link *parents = link->node->parents;  // a local: the packed field may be misaligned
                linkAppend(&parents, node->id, node);
                link->node->parents = parents;
            }
        }
        return model;
    });
}
