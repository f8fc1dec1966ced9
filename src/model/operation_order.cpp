// The order of operations in one pass.
//
// vmod_NextFunction walks the list and, from each operation not yet done, moves to the
// first not-done operation whose identifier some ancestor holds, and on from there,
// blocking what it leaves. When every not-done operation is the only node holding its
// identifier, "some ancestor holds its identifier" means "it is upstream"; when moreover
// no two not-done operations lie on one cycle, upstream is a strict order among them.
// Then every walk ends on an operation with no not-done operation upstream (a root), a
// landing is never followed by a move back past the last root, and the walk ends on the
// root that comes last in the list. Marking that root done and asking again is therefore
// Kahn's order over the arrows between strongly connected components, in which
// components without a not-done operation pass through at once and the ready operation
// latest in the list goes first: one pass over nodes and arrows with a heap, instead of
// a search of the whole model per operation.
//
// Other models keep the literal search (every call is vmod_NextFunction): there the
// walk's result depends on the list and on the blocked marks in ways no single order
// captures, and such models are refused by the script generator anyway.
#include "model/operation_order.h"

#include <algorithm>
#include <unordered_map>

#include "model/model_internal.h"

namespace {

// Tarjan's strongly connected components over the arrows in down, without recursion.
// Returns the component of every node and the number of components.
uint32_t components(const std::vector<std::vector<uint32_t>> &down, std::vector<uint32_t> &componentOf) {
    const uint32_t none = UINT32_MAX;
    const size_t count = down.size();
    componentOf.assign(count, none);
    std::vector<uint32_t> order(count, none), low(count, 0), stack, path;
    std::vector<size_t> edge(count, 0);
    std::vector<char> onStack(count, 0);
    uint32_t visited = 0, found = 0;
    for (uint32_t root = 0; root < count; ++root) {
        if (order[root] != none) continue;
        path.push_back(root);
        while (!path.empty()) {
            const uint32_t at = path.back();
            if (edge[at] == 0 && order[at] == none) {
                order[at] = low[at] = visited++;
                stack.push_back(at);
                onStack[at] = 1;
            }
            if (edge[at] < down[at].size()) {
                const uint32_t next = down[at][edge[at]++];
                if (order[next] == none) path.push_back(next);
                else if (onStack[next]) low[at] = std::min(low[at], order[next]);
                continue;
            }
            path.pop_back();
            if (!path.empty()) low[path.back()] = std::min(low[path.back()], low[at]);
            if (low[at] == order[at]) {
                uint32_t member;
                do {
                    member = stack.back();
                    stack.pop_back();
                    onStack[member] = 0;
                    componentOf[member] = found;
                } while (member != at);
                ++found;
            }
        }
    }
    return found;
}

} // namespace

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

    std::vector<char> pending(listed, 0);  // not-done operations of the list
    for (size_t at = 0; at < listed; ++at)
        pending[at] = model_IsOperation(nodes_[at]) && *model_OperationDone(nodes_[at]) == 0;
    {
        std::unordered_map<int32_t, uint32_t> holders;
        holders.reserve(nodes_.size());
        for (const Vmod_Node *node : nodes_) ++holders[node->id];
        for (size_t at = 0; at < listed; ++at)
            if (pending[at] && holders[nodes_[at]->id] > 1) return;  // a shared identifier
    }

    std::vector<std::vector<uint32_t>> arrows(nodes_.size());
    for (size_t at = 0; at < nodes_.size(); ++at)
        for (const Vmod_Link *link = nodes_[at]->parents; link != nullptr; link = link->next)
            if (const Vmod_Node *parent = link->node; parent != nullptr)
                arrows[position[parent]].push_back(static_cast<uint32_t>(at));
    const uint32_t count = components(arrows, componentOf_);

    blocking_.assign(count, -1);
    for (size_t at = 0; at < listed; ++at) {
        if (!pending[at]) continue;
        if (blocking_[componentOf_[at]] >= 0) return;  // two operations on one cycle
        blocking_[componentOf_[at]] = static_cast<int64_t>(at);
    }
    down_.assign(count, {});
    waiting_.assign(count, 0);
    for (size_t at = 0; at < arrows.size(); ++at) {
        for (uint32_t next : arrows[at]) {
            const uint32_t from = componentOf_[at], to = componentOf_[next];
            if (from == to) continue;
            down_[from].push_back(to);
            ++waiting_[to];
        }
    }
    linear_ = true;
    // The sources first: releasing one brings later components to zero, and those are
    // released by it, not again here.
    std::vector<uint32_t> sources;
    for (uint32_t component = 0; component < count; ++component)
        if (waiting_[component] == 0) sources.push_back(component);
    for (uint32_t component : sources) release(component);
}

// A component all of whose upstream arrows are released: one holding a not-done
// operation makes it ready, any other passes its release on downstream.
void ModelOperationOrder::release(uint32_t start) {
    std::vector<uint32_t> pending{start};
    while (!pending.empty()) {
        const uint32_t component = pending.back();
        pending.pop_back();
        if (blocking_[component] >= 0) {
            ready_.push(static_cast<uint32_t>(blocking_[component]));
            continue;
        }
        for (uint32_t next : down_[component])
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
        const uint32_t component = componentOf_[returnedAt_];
        blocking_[component] = -1;
        // Its upstream was all released when it became ready; now its arrows pass on.
        for (uint32_t next : down_[component])
            if (--waiting_[next] == 0) release(next);
    }
    if (ready_.empty()) return nullptr;
    returnedAt_ = ready_.top();
    ready_.pop();
    returned_ = nodes_[returnedAt_];
    return returned_;
}

std::vector<Vmod_Node *> model_OperationSequence(Vmod_Node *first) {
    std::vector<Vmod_Node *> sequence;
    ModelOperationOrder order(first);
    for (Vmod_Node *next = order.next(); next != nullptr; next = order.next()) {
        sequence.push_back(next);
        *model_OperationDone(next) = 1;
    }
    for (Vmod_Node *node : sequence) *model_OperationDone(node) = 0;  // each was not done before
    return sequence;
}
