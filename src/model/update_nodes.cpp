// Resolving the links of a freshly read model and building its parent lists.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "model/model_internal.h"

namespace {

// The list position of the first node for every identifier, as vmod_IdToNode would find it.
std::unordered_map<int32_t, size_t> firstPositionById(const std::vector<Vmod_Node *> &list) {
    std::unordered_map<int32_t, size_t> byId;
    byId.reserve(list.size());
    for (size_t at = 0; at < list.size(); ++at) byId.emplace(list[at]->id, at);
    return byId;
}

// Appends a parent link after *tail (the last link of the list at *head, null for an empty
// list), so that a node with many parents is linked in time linear in their number.
void parentAppend(Vmod_Node *child, Vmod_Link **tail, int32_t id, Vmod_Node *node) {
    auto *link = static_cast<Vmod_Link *>(omsc_HeapMalloc(sizeof(Vmod_Link)));
    if (link == nullptr) return;
    link->id = id;
    link->node = node;
    link->next = nullptr;
    link->prev = *tail;
    if (*tail == nullptr)
        child->parents = link;
    else
        (*tail)->next = link;
    *tail = link;
}

}  // namespace

extern "C" Vmod_Model *vmod_UpdateNodes(Vmod_Model *model, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (model == nullptr) return nullptr;
    return model_GuardedReport<Vmod_Model *>("vmod_UpdateNodes", err, model, [model] {
        std::vector<Vmod_Node *> list;
        for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next) list.push_back(node);
        const auto byId = firstPositionById(list);
        // The last parent link of every node; parents already there are kept ahead of the new.
        std::vector<Vmod_Link *> tails(list.size(), nullptr);
        for (size_t at = 0; at < list.size(); ++at)
            for (Vmod_Link *link = list[at]->parents; link != nullptr; link = link->next) tails[at] = link;
        for (Vmod_Node *node : list) {
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
                if (found == byId.end()) {
                    link->node = nullptr;
                    continue;
                }
                link->node = list[found->second];
                parentAppend(list[found->second], &tails[found->second], node->id, node);
            }
        }
        return model;
    });
}
