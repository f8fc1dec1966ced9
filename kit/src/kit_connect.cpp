// kit_connect.cpp - whether an arrow may join two nodes: the rules of a model that can
// be saved, read back and run. Data flows from data into an operation and from the
// operation into the one data node it produces; notes stand apart; the graph has no
// cycle. One check walks the node list once, the parent's arrows once and, for the
// cycle, the part of the graph reachable from the arrow's head once.
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "kit_guard.h"
#include "vmodhost/omsc.h"
#include "vmodkit/vmodkit_connect.h"

namespace {

const char *reasonOf(Vmodkit_Connection verdict) {
    switch (verdict) {
    case VMODKIT_CONNECT_OK: return "";
    case VMODKIT_CONNECT_NO_NODE: return "both ends must be nodes of the model";
    case VMODKIT_CONNECT_SELF_LOOP: return "an arrow cannot join a node to itself";
    case VMODKIT_CONNECT_DUPLICATE: return "the arrow is there already";
    case VMODKIT_CONNECT_NOTE: return "a text note cannot be an arrow's end";
    case VMODKIT_CONNECT_UNKNOWN_KIND: return "a node of no known kind cannot be an arrow's end";
    case VMODKIT_CONNECT_DATA_TO_DATA: return "an arrow cannot join two data nodes: an operation must stand between them";
    case VMODKIT_CONNECT_OPERATION_TO_OPERATION:
        return "an arrow cannot join two operations: the data an operation produces must stand between them";
    case VMODKIT_CONNECT_SECOND_OUTPUT: return "the operation has its output already";
    case VMODKIT_CONNECT_CYCLE: return "the arrow would close a cycle";
    case VMODKIT_CONNECT_NOT_CHECKED: return "the arrow could not be checked: memory is exhausted";
    }
    return "the arrow could not be checked";
}

enum class Role { Data, Operation, Note, Unknown };

Role roleOf(const Vmod_Node *node) {
    const int32_t kind = node->type;
    if (kind >= VMOD_RASTER && kind <= VMOD_SCALAR) return Role::Data;
    if (kind == VMOD_FUNCTION || kind == VMOD_CRITERIA) return Role::Operation;
    return kind == VMOD_TEXT ? Role::Note : Role::Unknown;
}

// Where a link leads: a resolved link to its node, an unresolved one to the first node
// of the list with its identifier (as the model reads back), or nowhere.
class LinkTargets {
public:
    explicit LinkTargets(const Vmod_Model *model) : model_(model) {}
    const Vmod_Node *of(const Vmod_Link *link) {
        if (link->node != nullptr) return link->node;
        if (!indexed_) { // only a model with unresolved links pays for the index
            for (const Vmod_Node *node = model_->nodes; node != nullptr; node = node->next) byId_.emplace(node->id, node);
            indexed_ = true;
        }
        auto found = byId_.find(link->id);
        return found != byId_.end() ? found->second : nullptr;
    }

private:
    const Vmod_Model *model_;
    std::unordered_map<int32_t, const Vmod_Node *> byId_;
    bool indexed_ = false;
};

// Whether target is reached from start along arrows; every node is visited at most once.
bool reaches(const Vmod_Model *model, const Vmod_Node *start, const Vmod_Node *target) {
    LinkTargets targets(model);
    std::unordered_set<const Vmod_Node *> seen{start};
    std::vector<const Vmod_Node *> pending{start};
    while (!pending.empty()) {
        const Vmod_Node *current = pending.back();
        pending.pop_back();
        for (const Vmod_Link *link = current->children; link != nullptr; link = link->next) {
            const Vmod_Node *next = targets.of(link);
            if (next == target) return true;
            if (next != nullptr && seen.insert(next).second) pending.push_back(next);
        }
    }
    return false;
}

bool alreadyJoined(const Vmod_Node *from, const Vmod_Node *to) {
    for (const Vmod_Link *link = from->children; link != nullptr; link = link->next)
        if (link->node == to || (link->node == nullptr && link->id == to->id)) return true;
    return false;
}

Vmodkit_Connection judge(const Vmod_Model *model, const Vmod_Node *from, const Vmod_Node *to) {
    if (model == nullptr || from == nullptr || to == nullptr) return VMODKIT_CONNECT_NO_NODE;
    bool fromFound = false, toFound = false;
    for (const Vmod_Node *node = model->nodes; node != nullptr && !(fromFound && toFound); node = node->next) {
        fromFound = fromFound || node == from;
        toFound = toFound || node == to;
    }
    if (!fromFound || !toFound) return VMODKIT_CONNECT_NO_NODE;
    if (from == to) return VMODKIT_CONNECT_SELF_LOOP;
    const Role tail = roleOf(from), head = roleOf(to);
    if (tail == Role::Note || head == Role::Note) return VMODKIT_CONNECT_NOTE;
    if (tail == Role::Unknown || head == Role::Unknown) return VMODKIT_CONNECT_UNKNOWN_KIND;
    if (tail == Role::Data && head == Role::Data) return VMODKIT_CONNECT_DATA_TO_DATA;
    if (tail == Role::Operation && head == Role::Operation) return VMODKIT_CONNECT_OPERATION_TO_OPERATION;
    if (alreadyJoined(from, to)) return VMODKIT_CONNECT_DUPLICATE;
    // A saved operation carries one output; the reader refuses a second.
    if (tail == Role::Operation && from->children != nullptr) return VMODKIT_CONNECT_SECOND_OUTPUT;
    if (reaches(model, to, from)) return VMODKIT_CONNECT_CYCLE;
    return VMODKIT_CONNECT_OK;
}

} // namespace

extern "C" {

Vmodkit_Connection vmodkit_CanConnect(const Vmod_Model *model, const Vmod_Node *from, const Vmod_Node *to,
                                      const char **reason) {
    Vmodkit_Connection verdict;
    try {
        verdict = judge(model, from, to);
    } catch (...) { // the cycle search could not grow its sets
        verdict = VMODKIT_CONNECT_NOT_CHECKED;
    }
    if (reason != nullptr) *reason = reasonOf(verdict);
    return verdict;
}

Vmod_Link *vmodkit_Connect(Vmod_Model *model, Vmod_Node *from, Vmod_Node *to, Oerr_ErrorReport **err) {
    const char *reason = nullptr;
    const Vmodkit_Connection verdict = vmodkit_CanConnect(model, from, to, &reason);
    if (verdict != VMODKIT_CONNECT_OK) {
        kit_Report(err, "vmodkit_Connect", verdict == VMODKIT_CONNECT_NOT_CHECKED ? VMOD_ERR_MEMORY : VMOD_ERR_FAILED,
                   reason);
        return nullptr;
    }
    Vmod_Link *last = from->children;
    while (last != nullptr && last->next != nullptr) last = last->next;
    const bool mirrored = vmod_ChildAddByNode(from, to, nullptr) != nullptr;
    Vmod_Link *added = last != nullptr ? last->next : from->children;
    if (!mirrored) {
        // The child link may have been made without its mirror: half an arrow goes.
        if (added != nullptr) {
            if (last != nullptr)
                last->next = nullptr;
            else
                from->children = nullptr;
            omsc_HeapFree(added);
        }
        kit_Report(err, "vmodkit_Connect", VMOD_ERR_MEMORY, "memory is exhausted");
        return nullptr;
    }
    return added;
}

} // extern "C"
