// next_operation_oracle.h - the next-operation search as first described, step by step,
// and the order that successive searches give; the tests and the script benchmark hold
// the library's order against it. Header-only.
//
// The search: clear every operation's blocked mark; walk the list for candidates (not
// blocked, not done); from each, scan the whole list and move to every not-done operation
// whose identifier differs from the current node's and is held by one of its ancestors,
// blocking the node moved away from; the answer is the last node the walk settled on.
#ifndef VMOD_TESTS_SUPPORT_NEXT_OPERATION_ORACLE_H
#define VMOD_TESTS_SUPPORT_NEXT_OPERATION_ORACLE_H

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "vmodhost/ollm.h"
#include "model/model_internal.h"
#include "vmod/vmod.h"

namespace vmodtest {

// The identifiers held by the nodes upstream of node, one arrow or more away. The visited
// set ends the walk on cycles; elsewhere it answers as the plain recursion does.
inline std::unordered_set<int32_t> ancestorIds(const Vmod_Node *node) {
    std::unordered_set<int32_t> ids;
    std::unordered_set<const Vmod_Node *> seen;
    std::vector<const Vmod_Node *> pending{node};
    while (!pending.empty()) {
        const Vmod_Node *at = pending.back();
        pending.pop_back();
        for (const Vmod_Link *link = at->parents; link != nullptr; link = link->next) {
            const Vmod_Node *parent = link->node;
            if (parent == nullptr) continue;
            ids.insert(parent->id);
            if (seen.insert(parent).second) pending.push_back(parent);
        }
    }
    return ids;
}

// The search step by step; it has the signature of vmod_NextFunction.
inline Vmod_Node *oracleNextOperation(Vmod_Node *any, Oerr_ErrorReport **err) {
    if (err != nullptr) *err = nullptr;
    auto *first = static_cast<Vmod_Node *>(ollm_Start(any));
    for (Vmod_Node *node = first; node != nullptr; node = node->next)
        if (model_IsOperation(node)) *model_OperationBlocked(node) = 0;
    Vmod_Node *result = nullptr;
    for (Vmod_Node *cursor = first; cursor != nullptr; cursor = cursor->next) {
        if (!model_IsOperation(cursor) || *model_OperationBlocked(cursor) || *model_OperationDone(cursor)) continue;
        result = cursor;
        std::unordered_set<int32_t> upstream = ancestorIds(cursor);
        for (Vmod_Node *s = first; s != nullptr; s = s->next) {
            if (model_IsOperation(s) && s->id != cursor->id && !*model_OperationDone(s) && upstream.count(s->id) != 0) {
                *model_OperationBlocked(cursor) = 1;
                cursor = s;
                result = s;
                upstream = ancestorIds(cursor);
            }
        }
    }
    return result;
}

typedef Vmod_Node *(*NextOperationSearch)(Vmod_Node *any, Oerr_ErrorReport **err);

// The operations that successive searches give when each answer is marked done before
// the next search (at most limit of them); the done marks are put back afterwards.
inline std::vector<Vmod_Node *> operationsBySearch(Vmod_Node *first, NextOperationSearch search,
                                                   size_t limit = SIZE_MAX) {
    std::vector<Vmod_Node *> order;
    while (order.size() < limit) {
        Oerr_ErrorReport *err = nullptr;
        Vmod_Node *next = search(first, &err);
        if (next == nullptr) break;
        order.push_back(next);
        *model_OperationDone(next) = 1;
    }
    for (Vmod_Node *node : order) *model_OperationDone(node) = 0;
    return order;
}

} // namespace vmodtest

#endif
