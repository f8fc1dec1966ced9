// Reachability questions about the arrows: is there a path, is a node an ancestor, does
// any node point at an identifier. Each search remembers the nodes it has visited, so
// it ends on any graph, cycles included, in time linear in nodes plus links; on a graph
// without cycles the answer is the one a plain recursive search gives.
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/model_internal.h"

extern "C" {

int32_t vmod_Circular(Vmod_Node *node, int32_t startId, int32_t targetId, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    Vmod_Node *first = model_FirstNode(node);
    return model_GuardedReport<int32_t>("vmod_Circular", err, 0, [first, startId, targetId]() -> int32_t {
        // Children are followed by identifier: the first node of the list holding it.
        std::unordered_map<int32_t, Vmod_Node *> byId;
        for (Vmod_Node *each = first; each != nullptr; each = each->next) byId.emplace(each->id, each);
        auto start = byId.find(startId);
        if (start == byId.end()) return 0;
        std::unordered_set<Vmod_Node *> visited{start->second};
        std::vector<Vmod_Node *> pending{start->second};
        while (!pending.empty()) {
            Vmod_Node *current = pending.back();
            pending.pop_back();
            for (Vmod_Link *link = current->children; link != nullptr; link = link->next) {
                if (link->id == targetId) return 1;
                auto child = byId.find(link->id);
                // A link naming no node ends its branch.
                if (child != byId.end() && visited.insert(child->second).second) pending.push_back(child->second);
            }
        }
        return 0;
    });
}

int32_t vmod_Ancestor(Vmod_Node *node, int32_t ancestorId, int32_t nodeId, Oerr_ErrorReport **err) {
    (void)nodeId;  // kept for the callers' signature; the node itself is given
    const Model_KeptReport kept(err);
    if (node == nullptr) return 0;
    return model_GuardedReport<int32_t>("vmod_Ancestor", err, 0, [node, ancestorId]() -> int32_t {
        // Parents are followed by their node pointer and compared by their current id.
        std::unordered_set<Vmod_Node *> visited{node};
        std::vector<Vmod_Node *> pending{node};
        while (!pending.empty()) {
            Vmod_Node *current = pending.back();
            pending.pop_back();
            for (Vmod_Link *link = current->parents; link != nullptr; link = link->next) {
                Vmod_Node *parent = link->node;
                if (parent == nullptr) continue;
                if (parent->id == ancestorId) return 1;
                if (visited.insert(parent).second) pending.push_back(parent);
            }
        }
        return 0;
    });
}

int32_t vmod_Orphan(Vmod_Node *node, int32_t id, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    for (Vmod_Node *each = model_FirstNode(node); each != nullptr; each = each->next)
        for (Vmod_Link *link = each->children; link != nullptr; link = link->next)
            if (link->id == id) return 0;
    return 1;
}

}  // extern "C"
