/* node_index.h - the nodes of a model list by identifier, built once per operation so
   that following an arrow costs a look-up instead of a walk of the whole list. Not
   exported. The index keeps list order: the first node with an identifier is the one
   vmod_IdToNode and vmod_NodeFind return, and all nodes sharing an identifier come in the
   order a walk of the list meets them. It holds no ownership and must be rebuilt after
   the list or an identifier changes. */
#ifndef VMOD_MODEL_NODE_INDEX_H
#define VMOD_MODEL_NODE_INDEX_H

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "vmod/vmod_records.h"

class ModelNodeIndex {
public:
    ModelNodeIndex() = default;
    /* Indexes the list starting at first (null: an empty index). May throw
       std::bad_alloc. */
    explicit ModelNodeIndex(const Vmod_Node *first);

    /* The nodes with identifier id, in list order, as a [begin, end) range. */
    struct Range {
        const Vmod_Node *const *begin_;
        const Vmod_Node *const *end_;
        const Vmod_Node *const *begin() const { return begin_; }
        const Vmod_Node *const *end() const { return end_; }
        bool empty() const { return begin_ == end_; }
    };
    Range nodesWithId(int32_t id) const;

    /* The first node of the list with identifier id, or null. */
    const Vmod_Node *first(int32_t id) const {
        Range found = nodesWithId(id);
        return found.empty() ? nullptr : *found.begin();
    }

private:
    std::vector<int32_t> ids_;             // ascending
    std::vector<const Vmod_Node *> nodes_;  // the node of each entry of ids_
};

#endif
