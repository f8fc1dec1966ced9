/*
 * vmodkit_checks.h - whether a model is ready to run and what the script generator
 * refuses, with reasons in sentences naming the nodes; writing the script with the reason
 * it stopped; the order the operations run.
 *
 * The kit's own reasons (vmodkit_NodeName) quote a title as the model holds it; the
 * script generator's refusals quote titles and texts with a backslash before a quote, a
 * backslash or a control character. A front end that shows either on a terminal escapes
 * control characters itself.
 */
#ifndef VMODKIT_CHECKS_H
#define VMODKIT_CHECKS_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* How the reasons name a node: its kind, "node", its identifier and, when it has one,
   its title in double quotes (`function node 4 "slope"`; a kind outside the eight is
   "unknown"). A new string released by vmodkit_Free; null for a null node or, with a
   report, when memory is exhausted. */
VMODKIT_API char *vmodkit_NodeName(const Vmod_Node *node, Oerr_ErrorReport **err);

/* Every reason model is not ready to run, in this order: "the model has no nodes" (alone);
   else, node by node in list order (text nodes skipped), an untitled node ("... has no
   title"), an operation without output ("... has no output"), a child naming no node
   ("... names child N, which is no node of the model"), the first arrow closing a cycle
   ("the arrow from ... to ... closes a cycle"); when none of these, what else stops the
   script generator ("Error Cannot Generate Script: " and its graph refusal); then every
   text the script cannot hold, whatever else is wrong. An empty list when the model is
   ready. 1 on success; 0, with a report and an empty list, when memory is exhausted or
   model is null. */
VMODKIT_API int32_t vmodkit_ReadinessReasons(Vmod_Model *model, Vmodkit_Texts *reasons, Oerr_ErrorReport **err);

/* What vmod_ScriptGen refuses in model: first what the script could not name or order
   (every such problem in one text, joined by "; "), when there is any, then one text per
   text the script cannot hold. Empty when the generator can translate the model. 1 on
   success; 0, with a report and an empty list, when memory is exhausted or model is
   null. */
VMODKIT_API int32_t vmodkit_ScriptRefusals(Vmod_Model *model, Vmodkit_Texts *refusals, Oerr_ErrorReport **err);

/* 1 when vmod_ScriptGen can translate model; 0 with a report (code VMOD_ERR_FAILED)
   "Error Cannot Generate Script: " followed by every refusal, joined by "; " (or with
   a report of memory exhaustion). */
VMODKIT_API int32_t vmodkit_ScriptCheck(Vmod_Model *model, Oerr_ErrorReport **err);

/* How vmodkit_ScriptWrite ended. */
typedef enum Vmodkit_ScriptEnd {
    VMODKIT_SCRIPT_COMPLETE = 0,  /* the whole script was written */
    VMODKIT_SCRIPT_REFUSED = 1,   /* the model was refused before anything was written;
                                     the report is vmodkit_ScriptCheck's */
    VMODKIT_SCRIPT_STOPPED = 2,   /* a name chosen at a file prompt cannot stand in the
                                     script; the report's message is the reason, a sentence
                                     without a final full stop */
    VMODKIT_SCRIPT_UNWRITTEN = 3, /* the file holds a write error (ofio_HasError); no report:
                                     closing the file tells why */
    VMODKIT_SCRIPT_CANCELLED = 4, /* the generation stopped without a reason: a file prompt
                                     was cancelled (the chooser handler said so), or the
                                     generator ran out of memory; no report */
    VMODKIT_SCRIPT_FAILED = 5     /* a null model or file, or memory exhausted (report) */
} Vmodkit_ScriptEnd;

/* vmod_ScriptGen into file (which stays open and the caller's), asking the file prompts
   through the host's chooser handler, and saying how it ended. A script that did not
   complete is as far as it was written; the caller decides whether to keep it. */
VMODKIT_API Vmodkit_ScriptEnd vmodkit_ScriptWrite(Vmod_Model *model, Ofio_File *file, Oerr_ErrorReport **err);

/* The operations of model in the order the script runs them (the order successive
   vmod_NextFunction calls give when each is marked done before the next), as a new
   array of *count nodes, which stay the model's; the array is released by vmodkit_Free.
   The done marks are as they were when it returns. Null with *count 0 for a model
   without operations, or with a report when memory is exhausted. */
VMODKIT_API Vmod_Node **vmodkit_OperationOrder(Vmod_Model *model, size_t *count, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
