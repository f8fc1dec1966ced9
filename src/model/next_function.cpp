// The next operation to write: the search the script generator repeats until it gives
// null. The search walks the list for candidates (operations neither blocked nor done);
// from each candidate it scans the whole list once, moving to any unwritten operation
// whose identifier belongs to an ancestor of the current node, and blocks every node it
// moves away from. The answer and the blocked marks are exactly those of that walk with
// a recursive ancestor test, but computed without its cost:
// - which operation identifiers each node has among its ancestors is worked out once per
//   call, one breadth-first pass per unwritten operation identifier, so that each test
//   of the scan is a bit lookup and cycles cannot trap it;
// - a candidate whose scan moved nowhere is remembered as ready, so that walking past it
//   again costs nothing; a candidate whose scan moved is blocked and never scanned again.
// A call is therefore at most quadratic in the nodes (times the links for the passes).
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/model_internal.h"

namespace {

struct AncestorIds {
    size_t words = 0;                              // 64-bit words per node
    std::vector<uint64_t> bits;                    // node index * words: operation keys
    std::unordered_map<const Vmod_Node *, size_t> index;  // list nodes and their ancestors

    bool has(const Vmod_Node *node, size_t key) const {
        auto found = index.find(node);
        if (found == index.end()) return false;
        return (bits[found->second * words + key / 64] >> (key % 64)) & 1u;
    }
};

// For every node of the list (and every node its parent links lead to), which of the
// identifiers in keys belong to at least one of its ancestors.
AncestorIds ancestorIdsOf(const std::vector<Vmod_Node *> &list, const std::vector<int32_t> &keys) {
    AncestorIds result;
    std::vector<const Vmod_Node *> nodes;
    auto enter = [&](const Vmod_Node *node) {
        if (result.index.emplace(node, nodes.size()).second) nodes.push_back(node);
    };
    for (const Vmod_Node *node : list) enter(node);
    // Parent links may lead outside the list; the ancestor test follows them there too.
    for (size_t i = 0; i < nodes.size(); ++i)
        for (const Vmod_Link *link = nodes[i]->parents; link != nullptr; link = link->next)
            if (link->node != nullptr) enter(link->node);

    // Arrows in the downstream direction, from each parent to the nodes that list it.
    std::vector<std::vector<size_t>> downstream(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i)
        for (const Vmod_Link *link = nodes[i]->parents; link != nullptr; link = link->next)
            if (const Vmod_Node *parent = link->node; parent != nullptr)  // by value: packed field
                downstream[result.index[parent]].push_back(i);

    std::unordered_map<int32_t, std::vector<size_t>> nodesById;
    for (size_t i = 0; i < nodes.size(); ++i) nodesById[nodes[i]->id].push_back(i);

    result.words = (keys.size() + 63) / 64;
    result.bits.assign(nodes.size() * result.words, 0);
    std::vector<char> expanded(nodes.size());
    std::vector<size_t> queue;
    for (size_t key = 0; key < keys.size(); ++key) {
        auto sources = nodesById.find(keys[key]);
        if (sources == nodesById.end()) continue;
        std::fill(expanded.begin(), expanded.end(), 0);
        queue.assign(sources->second.begin(), sources->second.end());
        for (size_t source : queue) expanded[source] = 1;
        // Marks every node reached by one arrow or more from a node with this identifier.
        for (size_t head = 0; head < queue.size(); ++head) {
            for (size_t next : downstream[queue[head]]) {
                result.bits[next * result.words + key / 64] |= uint64_t{1} << (key % 64);
                if (!expanded[next]) {
                    expanded[next] = 1;
                    queue.push_back(next);
                }
            }
        }
    }
    return result;
}

Vmod_Node *nextFunction(Vmod_Node *first) {
    std::vector<Vmod_Node *> list;
    for (Vmod_Node *node = first; node != nullptr; node = node->next) {
        list.push_back(node);
        if (model_IsOperation(node)) *model_OperationBlocked(node) = 0;
    }

    // Keys: the distinct identifiers of unwritten operations, the only ones a scan moves to.
    std::unordered_map<int32_t, size_t> keyOfId;
    std::vector<int32_t> keys;
    std::unordered_map<const Vmod_Node *, size_t> keyOfNode;
    for (Vmod_Node *node : list) {
        if (!model_IsOperation(node) || *model_OperationDone(node)) continue;
        auto entry = keyOfId.emplace(node->id, keys.size());
        if (entry.second) keys.push_back(node->id);
        keyOfNode.emplace(node, entry.first->second);
    }
    if (keys.empty()) return nullptr;
    const AncestorIds ancestors = ancestorIdsOf(list, keys);

    // The scan moves from cursor to s when s is an unwritten operation whose identifier
    // differs from the cursor's and names an ancestor of the cursor.
    auto movesTo = [&](const Vmod_Node *cursor, const Vmod_Node *s) {
        auto key = keyOfNode.find(s);
        return key != keyOfNode.end() && s->id != cursor->id && ancestors.has(cursor, key->second);
    };

    std::unordered_map<const Vmod_Node *, bool> knownReady;
    Vmod_Node *result = nullptr;
    for (Vmod_Node *cursor = first; cursor != nullptr; cursor = cursor->next) {
        if (!model_IsOperation(cursor) || *model_OperationBlocked(cursor) || *model_OperationDone(cursor))
            continue;
        result = cursor;
        if (knownReady.count(cursor) != 0) continue;
        bool moved = false;
        for (Vmod_Node *s : list) {
            if (movesTo(cursor, s)) {
                *model_OperationBlocked(cursor) = 1;
                cursor = s;
                result = s;
                moved = true;
            }
        }
        if (!moved) knownReady.emplace(cursor, true);
    }
    return result;
}

}  // namespace

extern "C" Vmod_Node *vmod_NextFunction(Vmod_Node *node, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    return model_GuardedReport<Vmod_Node *>("vmod_NextFunction", err, nullptr,
                                            [node] { return nextFunction(model_FirstNode(node)); });
}
