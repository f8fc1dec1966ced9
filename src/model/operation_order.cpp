// The order of operations in one pass.
//
// vmod_NextFunction walks the list and, from each operation not yet done, moves to the
// first not-done operation upstream of it, and on from there, blocking what it leaves.
// When the arrows form no cycle and no two nodes share an identifier, every move lands
// on an operation with no not-done operation upstream (a root), a landing is never
// followed by a move back past the last root, and the walk ends on the root that comes
// last in the list. Marking that root done and asking again is therefore Kahn's order
// over the parent arrows, in which nodes other than not-done operations pass through at
// once and the ready operation latest in the list goes first: one pass over nodes and
// arrows with a heap, instead of a search of the whole model per operation.
//
// A model with a cycle or a shared identifier keeps the literal search (every call is
// vmod_NextFunction): there the walk's result depends on the list in ways no single
// order captures, and such models are refused by the script generator anyway.
#include "model/operation_order.h"

#include <unordered_map>
#include <unordered_set>

#include "model/model_internal.h"

ModelOperationOrder::ModelOperationOrder(Vmod_Node *first) : first_(first) {
    std::unordered_map<const Vmod_Node *, uint32_t> position;
    auto enter = [&](Vmod_Node *node) {
        if (position.emplace(node, static_cast<uint32_t>(nodes_.size())).second) nodes_.push_back(node);
    };
    size_t listed = 0;
    for (Vmod_Node *node = first; node != nullptr; node = node->next) {
        enter(node);
        if (nodes_.size() == listed) return;  // the list loops back on itself
        listed = nodes_.size();
    }
    // Parent links may lead outside the list; ancestry passes through those nodes too.
    for (size_t at = 0; at < nodes_.size(); ++at)
        for (const Vmod_Link *link = nodes_[at]->parents; link != nullptr; link = link->next)
            if (Vmod_Node *parent = link->node; parent != nullptr) enter(parent);  // by value: packed field

    std::unordered_set<int32_t> ids;
    ids.reserve(nodes_.size());
    for (const Vmod_Node *node : nodes_)
        if (!ids.insert(node->id).second) return;  // a shared identifier

    down_.assign(nodes_.size(), {});
    waiting_.assign(nodes_.size(), 0);
    for (size_t at = 0; at < nodes_.size(); ++at) {
        for (const Vmod_Link *link = nodes_[at]->parents; link != nullptr; link = link->next) {
            if (const Vmod_Node *parent = link->node; parent != nullptr) {
                down_[position[parent]].push_back(static_cast<uint32_t>(at));
                ++waiting_[at];
            }
        }
    }

    // A cycle leaves nodes that Kahn's pass over all arrows never reaches.
    {
        std::vector<uint32_t> waiting = waiting_;
        std::vector<uint32_t> queue;
        for (size_t at = 0; at < nodes_.size(); ++at)
            if (waiting[at] == 0) queue.push_back(static_cast<uint32_t>(at));
        for (size_t head = 0; head < queue.size(); ++head)
            for (uint32_t next : down_[queue[head]])
                if (--waiting[next] == 0) queue.push_back(next);
        if (queue.size() != nodes_.size()) return;
    }

    blocking_.assign(nodes_.size(), 0);
    for (size_t at = 0; at < listed; ++at)
        blocking_[at] = model_IsOperation(nodes_[at]) && *model_OperationDone(nodes_[at]) == 0;
    linear_ = true;
    // The sources first: releasing one brings later nodes to zero, and those are released
    // by it, not again here.
    std::vector<uint32_t> sources;
    for (size_t at = 0; at < nodes_.size(); ++at)
        if (waiting_[at] == 0) sources.push_back(static_cast<uint32_t>(at));
    for (uint32_t at : sources) release(at);
}

// A node all of whose parents are released: a blocking operation becomes ready, anything
// else passes its release on downstream.
void ModelOperationOrder::release(size_t start) {
    std::vector<uint32_t> pending{static_cast<uint32_t>(start)};
    while (!pending.empty()) {
        const uint32_t at = pending.back();
        pending.pop_back();
        if (blocking_[at]) {
            ready_.push(at);
            continue;
        }
        for (uint32_t next : down_[at])
            if (--waiting_[next] == 0) pending.push_back(next);
    }
}

Vmod_Node *ModelOperationOrder::next() {
    if (!linear_) {
        Oerr_ErrorReport *ignored = nullptr;
        return vmod_NextFunction(first_, &ignored);
    }
    if (returned_ != nullptr) {
        if (*model_OperationDone(returned_) == 0) return returned_;  // nothing changed: same answer
        returned_ = nullptr;
        blocking_[returnedAt_] = 0;
        // Its parents were all released when it became ready; now its arrows pass on.
        for (uint32_t next : down_[returnedAt_])
            if (--waiting_[next] == 0) release(next);
    }
    if (ready_.empty()) return nullptr;
    returnedAt_ = ready_.top();
    ready_.pop();
    returned_ = nodes_[returnedAt_];
    return returned_;
}
