/*
 * vmodkit_checks.h - whether a model is ready to run and what the script generator
 * refuses, with reasons in sentences naming the nodes, and the order the operations run.
 */
#ifndef VMODKIT_CHECKS_H
#define VMODKIT_CHECKS_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Every reason model is not ready to run, in the order `vmod check` lists them (no
   nodes, an untitled node, an operation without output, a child naming no node, an arrow
   closing a cycle, then whatever else stops the script generator). An empty list when it
   is ready. 0, with a report, when memory is exhausted (list then empty). */
VMODKIT_API int32_t vmodkit_ReadinessReasons(Vmod_Model *model, Vmodkit_Texts *reasons, Oerr_ErrorReport **err);

/* What vmod_ScriptGen refuses in model, one sentence each; empty when it can translate
   the model. 0, with a report, when memory is exhausted. */
VMODKIT_API int32_t vmodkit_ScriptRefusals(Vmod_Model *model, Vmodkit_Texts *refusals, Oerr_ErrorReport **err);

/* vmod_ScriptGen, with the reason it stopped when it did not complete: 1 for a complete
   script; 0 with a report saying why otherwise (the refusals, a name chosen at a file
   prompt that the script cannot hold, a write failure). A prompt the user cancelled
   gives 0 and no report. */
VMODKIT_API int32_t vmodkit_ScriptWrite(Vmod_Model *model, Ofio_File *file, Oerr_ErrorReport **err);

/* The operations of model in the order the script runs them (the order successive
   vmod_NextFunction calls give), as a new array of *count nodes (owned by the model's
   list; the array is released by vmodkit_Free). Null with *count 0 for a model without
   operations, or with a report when memory is exhausted. */
VMODKIT_API Vmod_Node **vmodkit_OperationOrder(Vmod_Model *model, size_t *count, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
