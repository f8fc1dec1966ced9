/* arrow_cycles.h - the first arrow of a model that closes a cycle, found in one traversal
   of the arrows instead of one reachability search per arrow. Not exported. */
#ifndef VMOD_MODEL_ARROW_CYCLES_H
#define VMOD_MODEL_ARROW_CYCLES_H

#include "vmod/vmod_records.h"

/* The first arrow, walking the list in order and each node's child links in order,
   skipping text nodes and links that name no node (link->node null), for which
   vmod_Circular(first, link->id, node->id) holds; *from is set to its node. Null when
   there is none. May throw std::bad_alloc. */
const Vmod_Link *model_FirstCycleArrow(Vmod_Node *first, const Vmod_Node **from);

#endif
