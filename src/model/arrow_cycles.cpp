// Which arrow closes a cycle, the way vmod_Circular sees the arrows: from every node to
// the first node of the list holding each child identifier. vmod_Circular(link->id,
// node->id) asks whether some node reachable from the link's target has a link to
// node's identifier, that is whether T, the first node with node's identifier, is reached
// from the target S by one arrow or more.
// - When node is itself T, the arrow T -> S exists, so the answer is whether S and T lie
//   in one strongly connected component: one Tarjan pass answers all such arrows.
// - When an earlier node holds node's identifier, no arrow leads to node and the question
//   is plain reachability of T; it is answered by one backward search from T, reused for
//   every following arrow with the same T. Only models with shared identifiers pay this.
#include "model/arrow_cycles.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

constexpr uint32_t kNone = UINT32_MAX;

struct ArrowGraph {
    std::vector<Vmod_Node *> nodes;             // list order
    std::vector<uint32_t> firstOfId;            // position of the first node with each node's id
    std::vector<std::vector<uint32_t>> out;     // arrows by identifier, one per resolvable link
    std::unordered_map<int32_t, uint32_t> byId; // the first node with each identifier
};

ArrowGraph buildGraph(Vmod_Node *first) {
    ArrowGraph g;
    for (Vmod_Node *node = first; node != nullptr; node = node->next) g.nodes.push_back(node);
    auto &byId = g.byId;
    byId.reserve(g.nodes.size());
    g.firstOfId.resize(g.nodes.size());
    for (size_t at = 0; at < g.nodes.size(); ++at)
        g.firstOfId[at] = byId.emplace(g.nodes[at]->id, static_cast<uint32_t>(at)).first->second;
    g.out.resize(g.nodes.size());
    for (size_t at = 0; at < g.nodes.size(); ++at)
        for (const Vmod_Link *link = g.nodes[at]->children; link != nullptr; link = link->next) {
            auto found = byId.find(link->id);
            if (found != byId.end()) g.out[at].push_back(found->second);
        }
    return g;
}

// Tarjan's components without recursion: the component number of every node.
std::vector<uint32_t> components(const ArrowGraph &g) {
    const size_t count = g.nodes.size();
    std::vector<uint32_t> index(count, kNone), low(count, 0), component(count, kNone);
    std::vector<uint32_t> stack;
    std::vector<std::pair<uint32_t, size_t>> calls;  // node, next arrow to follow
    uint32_t nextIndex = 0, nextComponent = 0;
    for (size_t root = 0; root < count; ++root) {
        if (index[root] != kNone) continue;
        calls.emplace_back(static_cast<uint32_t>(root), 0);
        index[root] = low[root] = nextIndex++;
        stack.push_back(static_cast<uint32_t>(root));
        while (!calls.empty()) {
            auto &[at, arrow] = calls.back();
            if (arrow < g.out[at].size()) {
                const uint32_t to = g.out[at][arrow++];
                if (index[to] == kNone) {
                    index[to] = low[to] = nextIndex++;
                    stack.push_back(to);
                    calls.emplace_back(to, 0);
                } else if (component[to] == kNone) {
                    low[at] = std::min(low[at], index[to]);
                }
                continue;
            }
            const uint32_t done = at;
            calls.pop_back();
            if (!calls.empty()) low[calls.back().first] = std::min(low[calls.back().first], low[done]);
            if (low[done] == index[done]) {
                uint32_t member;
                do {
                    member = stack.back();
                    stack.pop_back();
                    component[member] = nextComponent;
                } while (member != done);
                ++nextComponent;
            }
        }
    }
    return component;
}

// Every node from which target is reached by one arrow or more.
std::vector<char> reachingTarget(const ArrowGraph &g, const std::vector<std::vector<uint32_t>> &in, uint32_t target) {
    std::vector<char> reaches(g.nodes.size(), 0);
    std::vector<uint32_t> pending;
    for (uint32_t from : in[target])
        if (!reaches[from]) reaches[from] = 1, pending.push_back(from);
    while (!pending.empty()) {
        const uint32_t at = pending.back();
        pending.pop_back();
        for (uint32_t from : in[at])
            if (!reaches[from]) reaches[from] = 1, pending.push_back(from);
    }
    return reaches;
}

}  // namespace

const Vmod_Link *model_FirstCycleArrow(Vmod_Node *first, const Vmod_Node **from) {
    *from = nullptr;
    const ArrowGraph g = buildGraph(first);
    const std::vector<uint32_t> component = components(g);
    std::vector<std::vector<uint32_t>> in;  // built on the first shared identifier
    uint32_t cachedTarget = kNone;
    std::vector<char> reachesCached;
    for (size_t at = 0; at < g.nodes.size(); ++at) {
        const Vmod_Node *node = g.nodes[at];
        if (node->type == VMOD_TEXT) continue;
        for (const Vmod_Link *link = node->children; link != nullptr; link = link->next) {
            const Vmod_Node *target = link->node;  // by value: packed field
            if (target == nullptr) continue;
            // The search starts at the first node with the link's identifier.
            auto resolved = g.byId.find(link->id);
            if (resolved == g.byId.end()) continue;  // no start: no cycle
            const uint32_t start = resolved->second;
            const uint32_t t = g.firstOfId[at];
            bool closes;
            if (t == at) {
                closes = component[start] == component[t];
            } else {
                if (in.empty()) {
                    in.resize(g.nodes.size());
                    for (size_t a = 0; a < g.nodes.size(); ++a)
                        for (uint32_t to : g.out[a]) in[to].push_back(static_cast<uint32_t>(a));
                }
                if (cachedTarget != t) {
                    reachesCached = reachingTarget(g, in, t);
                    cachedTarget = t;
                }
                // Reached from start by one arrow or more: start itself reaches it.
                closes = reachesCached[start] != 0;
            }
            if (closes) {
                *from = node;
                return link;
            }
        }
    }
    return nullptr;
}
