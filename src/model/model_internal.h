/* model_internal.h - helpers the model-graph files share with each other and with the
   other subsystems (the model-file reader, the script generator). Not exported. */
#ifndef VMOD_MODEL_INTERNAL_H
#define VMOD_MODEL_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "model/c_boundary.h"  // the exception guard at the C boundary
#include "vmod/vmod.h"


/* Function and criteria nodes with a payload: the nodes the next-operation search and
   the script generator treat as operations. */
inline bool model_IsOperation(const Vmod_Node *node) {
    return node != nullptr && node->data != nullptr &&
           (node->type == VMOD_FUNCTION || node->type == VMOD_CRITERIA);
}

/* The `done` and `blocked` marks of an operation node (model_IsOperation must hold). */
inline int32_t *model_OperationDone(Vmod_Node *node) {
    return node->type == VMOD_FUNCTION ? &static_cast<Vmod_FunctionData *>(node->data)->done
                                       : &static_cast<Vmod_CriteriaData *>(node->data)->done;
}
inline int32_t *model_OperationBlocked(Vmod_Node *node) {
    return node->type == VMOD_FUNCTION ? &static_cast<Vmod_FunctionData *>(node->data)->blocked
                                       : &static_cast<Vmod_CriteriaData *>(node->data)->blocked;
}

/* The address of a kind's render slot, or null for a kind outside 0..7. */
const Vmod_RenderFunction *model_RenderSlot(int32_t kind);

/* The size of a kind's payload record, 0 for a kind outside 0..7. */
size_t model_PayloadSize(int32_t kind);

/* The first node of the list holding node (null for null). */
Vmod_Node *model_FirstNode(Vmod_Node *node);

#endif
