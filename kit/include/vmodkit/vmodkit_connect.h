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

/* The verdict on an arrow from one node to another. */
typedef enum Vmodkit_Connection {
    VMODKIT_CONNECT_OK = 0,
    VMODKIT_CONNECT_NO_NODE,        /* either end is null or not in the model's list */
    VMODKIT_CONNECT_SELF_LOOP,      /* from and to are the same node */
    VMODKIT_CONNECT_DUPLICATE,      /* the arrow is there already */
    VMODKIT_CONNECT_NOTE,           /* a text note cannot be an arrow's end */
    VMODKIT_CONNECT_DATA_TO_DATA,   /* two data nodes: an operation must stand between */
    VMODKIT_CONNECT_OPERATION_TO_OPERATION, /* two operations: data must stand between */
    VMODKIT_CONNECT_SECOND_OUTPUT,  /* the operation has its output already */
    VMODKIT_CONNECT_CYCLE           /* the arrow would close a cycle */
} Vmodkit_Connection;

/* Whether an arrow from `from` to `to` may be added to model. When reason is not null,
   *reason is set to a constant sentence for the verdict (never to be released), "" for
   VMODKIT_CONNECT_OK. Changes nothing. */
VMODKIT_API Vmodkit_Connection vmodkit_CanConnect(const Vmod_Model *model, const Vmod_Node *from,
                                                  const Vmod_Node *to, const char **reason);

/* Adds the arrow when vmodkit_CanConnect allows it and returns the new child link of
   from (owned by its list); otherwise returns null with a report whose message is the
   reason, and the model is unchanged. */
VMODKIT_API Vmod_Link *vmodkit_Connect(Vmod_Model *model, Vmod_Node *from, Vmod_Node *to, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
