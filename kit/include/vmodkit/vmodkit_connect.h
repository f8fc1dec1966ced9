/*
 * vmodkit_connect.h - whether an arrow may join two nodes, and why not: the one rule the
 * editor and the validator share.
 */
#ifndef VMODKIT_CONNECT_H
#define VMODKIT_CONNECT_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The verdict on an arrow from one node to another. The checks run in this order and
   the first that fails gives the verdict. */
typedef enum Vmodkit_Connection {
    VMODKIT_CONNECT_OK = 0,
    VMODKIT_CONNECT_NO_NODE,        /* the model or either end is null, or an end is not in the model's list */
    VMODKIT_CONNECT_SELF_LOOP,      /* from and to are the same node */
    VMODKIT_CONNECT_NOTE,           /* a text note cannot be an arrow's end */
    VMODKIT_CONNECT_UNKNOWN_KIND,   /* an end's type is no Vmod_NodeType */
    VMODKIT_CONNECT_DATA_TO_DATA,   /* two data nodes: an operation must stand between */
    VMODKIT_CONNECT_OPERATION_TO_OPERATION, /* two operations: the data one produces must stand between */
    VMODKIT_CONNECT_DUPLICATE,      /* the arrow is there already */
    VMODKIT_CONNECT_SECOND_OUTPUT,  /* the operation has its output (a child) already */
    VMODKIT_CONNECT_CYCLE,          /* the arrow would close a cycle */
    VMODKIT_CONNECT_NOT_CHECKED     /* memory ran out during the cycle search; nothing is known */
} Vmodkit_Connection;

/* Whether an arrow from `from` to `to` may be added to model. When reason is not null,
   *reason is set to a constant sentence for the verdict (never to be released), "" for
   VMODKIT_CONNECT_OK. Changes nothing. Arrows are followed by their node pointers, and an
   unresolved link by its identifier (the first node of the list holding it), so a
   cycle through links not yet resolved is found too. Time linear in the number of nodes
   and arrows. */
VMODKIT_API Vmodkit_Connection vmodkit_CanConnect(const Vmod_Model *model, const Vmod_Node *from,
                                                  const Vmod_Node *to, const char **reason);

/* Adds the arrow (vmod_ChildAddByNode, the child link and its mirror) when
   vmodkit_CanConnect allows it, and returns the new child link of from, owned by from's
   list. Otherwise returns null with a report whose message is the reason (code
   VMOD_ERR_FAILED; VMOD_ERR_MEMORY when memory ran out), chained onto what *err holds,
   and the model is unchanged. */
VMODKIT_API Vmod_Link *vmodkit_Connect(Vmod_Model *model, Vmod_Node *from, Vmod_Node *to, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
