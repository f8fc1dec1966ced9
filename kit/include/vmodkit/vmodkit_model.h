/*
 * vmodkit_model.h - making, copying, saving and reading whole models, and the nodes and
 * fonts an editor adds to them.
 */
#ifndef VMODKIT_MODEL_H
#define VMODKIT_MODEL_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A new empty model, on the host heap, with every default a saved model needs (print
   scale 100 percent, a letter printer page, margins, node size, zoom 1, colours, the
   next identifier 1) and no file name. Released by vmodkit_ModelFree. Null, with a
   report, when memory is exhausted. */
VMODKIT_API Vmod_Model *vmodkit_ModelNew(Oerr_ErrorReport **err);

/* Releases everything the model owns (its nodes, file name, title and other header
   strings, window rectangle) and zeroes the record, which stays the caller's: the
   counterpart of vmod_ModelRead for a record the caller holds. Null is ignored. */
VMODKIT_API void vmodkit_ModelRelease(Vmod_Model *model);

/* vmodkit_ModelRelease, then the record itself: for models from vmodkit_ModelNew,
   vmodkit_ModelCopy, vmodkit_ModelReadMemory and vmod_ModelParse. Null is ignored. */
VMODKIT_API void vmodkit_ModelFree(Vmod_Model *model);

/* A new node of kind (Vmod_NodeType) with the model's next free identifier, centred at
   (x, y) paper inches, with a copy of title (null for none), appended to the model's
   list, which owns it. Null, with a report, for an unknown kind or exhausted memory; the
   model is then unchanged. */
VMODKIT_API Vmod_Node *vmodkit_NodeAdd(Vmod_Model *model, int32_t kind, double x, double y, const char *title,
                                       Oerr_ErrorReport **err);

/* A deep copy of model: every node with its payload and links (resolved in the copy),
   every header string, the window; canvas, frame, menu and chooser handles are not
   copied (null). Released by vmodkit_ModelFree. Null, with a report, on failure. The
   basis of undo. */
VMODKIT_API Vmod_Model *vmodkit_ModelCopy(const Vmod_Model *model, Oerr_ErrorReport **err);

/* The model file text of model, exactly what vmod_ModelWrite would write, as a new
   string of *length bytes (plus a zero byte), released by vmodkit_Free. The model's
   file name is neither used nor changed. Null, with a report, on failure. */
VMODKIT_API char *vmodkit_ModelSaveMemory(Vmod_Model *model, size_t *length, Oerr_ErrorReport **err);

/* A new model read from length bytes of model file text, as vmod_ModelParse reads a
   file; `name` (may be null) is what reports call the text and becomes no file name.
   Released by vmodkit_ModelFree. Null, with the reader's report, on failure. */
VMODKIT_API Vmod_Model *vmodkit_ModelReadMemory(const char *text, size_t length, const char *name,
                                                Oerr_ErrorReport **err);

/* Writes model to path the safe way (a file that exists stays whole until the new one
   is complete). On success the model's file name becomes a copy of path and 1 is
   returned; on failure the model, its file name and the file at path are as they
   were, and 0 is returned with a report. */
VMODKIT_API int32_t vmodkit_ModelSaveAs(Vmod_Model *model, const char *path, Oerr_ErrorReport **err);

/* Gives the text node a copy of font (null for the default font). The font the node
   owned before is released; a font it only shared (the model's, or one the front end
   put there) is left alone. 0, with a report, when node is not a text node or memory is
   exhausted; the node keeps its font then. */
VMODKIT_API int32_t vmodkit_TextSetFont(Vmod_Node *node, const char *font, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
