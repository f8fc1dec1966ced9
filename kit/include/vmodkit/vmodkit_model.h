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

/* Reports. A function that fails stores a report chained onto what *err holds (err may
   be null); it leaves *err alone on success. */

/* A new empty model, on the host heap, with every default a saved model needs: the
   values a model file without those statements reads as (printer page 8.5 x 11 inches,
   margins 0.5 inch, portrait, print scale 100 percent, no page numbers, cell size
   minimum, window union, default projection, no area of interest, optimisation on), a
   diagram page of 8.5 x 11 inches, the next identifier 1, and for drawing a one-inch
   glyph box (nodeWidth, nodeHeight 1; glyphPixelWidth, glyphPixelHeight 96), zoom 1,
   96 pixels per inch, white background, black foreground, highlight 0x3366CC, and notes
   in "Helvetica" 12 (textFont points at a constant string of the kit, not owned, as the
   field's rule says). No file name, title, handles or canvas fonts. Saved and read back
   it saves the same bytes again. Released by vmodkit_ModelFree. Null, with a report,
   when memory is exhausted. */
VMODKIT_API Vmod_Model *vmodkit_ModelNew(Oerr_ErrorReport **err);

/* Releases everything the model owns (vmod_ModelDelete: its nodes with their payloads
   and links, file name, title and other header strings, window rectangle) and zeroes
   the record, which stays the caller's: the counterpart of vmod_ModelRead for a record
   the caller holds. The handles and the fonts it only points at are not released.
   Null is ignored. */
VMODKIT_API void vmodkit_ModelRelease(Vmod_Model *model);

/* vmodkit_ModelRelease, then the record itself: for models from vmodkit_ModelNew,
   vmodkit_ModelCopy, vmodkit_ModelReadMemory and vmod_ModelParse. Null is ignored. */
VMODKIT_API void vmodkit_ModelFree(Vmod_Model *model);

/* A new node of kind (Vmod_NodeType, made by vmod_NodeCreate with its defaults; a note
   shares the model's textFont; a matrix also gets its columns x rows values, all zero,
   as the reader gives them, so that it saves and reads back alike) with the next free identifier (vmod_NodeNextAvail), centred
   at (x, y) paper inches, with a copy of title (null for none), its extent the model's
   nodeWidth x nodeHeight (a note's stays 0 until it is drawn), appended to the model's
   list, which owns it. model->nextId becomes one more than the new identifier. Null,
   with a report, for a null model, an unknown kind, no free identifier left (the
   largest int32 is taken) or exhausted memory; the model is then unchanged. */
VMODKIT_API Vmod_Node *vmodkit_NodeAdd(Vmod_Model *model, int32_t kind, double x, double y, const char *title,
                                       Oerr_ErrorReport **err);

/* A deep copy of model: every node copied by vmod_NodeDuplicate (payload, title, a
   note's font as a copy the node owns), every arrow with both halves in their own order
   and resolved in the copy (a link to no node of the list keeps its identifier and no
   node), every header string, the window rectangle, and every value field. The canvas,
   frame, menu and chooser handles are null in the copy; textFont, titleFont and
   untitledFont, which no model owns, are shared with model. Saved, the copy gives the
   same bytes as model. Released by vmodkit_ModelFree. Null, with a report, on a null
   model or exhausted memory (nothing is left behind). The basis of undo. */
VMODKIT_API Vmod_Model *vmodkit_ModelCopy(const Vmod_Model *model, Oerr_ErrorReport **err);

/* The model file text of model, byte for byte what vmod_ModelWrite writes, as a new
   string of *length bytes (plus a zero byte), released by vmodkit_Free. The model, its
   file name included, is not changed. The text passes through a file in a private
   directory (under $TMPDIR, else /tmp) that is removed before the call returns. Null,
   with *length 0 and a report, on failure: a model the file format cannot carry (the
   writer's reason is in the report) or no room for the private file. Like
   vmod_ModelWrite, the writer also shows a failure through the host's error sink, where
   it names the private file. */
VMODKIT_API char *vmodkit_ModelSaveMemory(const Vmod_Model *model, size_t *length, Oerr_ErrorReport **err);

/* A new model read from length bytes of model file text (which need not end in a zero
   byte), as vmod_ModelRead reads a file into a model of vmodkit_ModelNew: links resolved,
   nextId set, the drawing defaults of vmodkit_ModelNew, no file name. Released by
   vmodkit_ModelFree. Null, with the reader's report chain, on failure; its messages call
   the text `name` ("model text" when name is null), with the line and column of a
   syntax error ("name:3:7: ..."). The reader also shows its report through the host's
   error sink, where it names the private file the text passed through. */
VMODKIT_API Vmod_Model *vmodkit_ModelReadMemory(const char *text, size_t length, const char *name,
                                                Oerr_ErrorReport **err);

/* Writes model to path as vmod_ModelWrite writes it, the safe way (a file that exists
   stays whole until the new one is complete). On success the model's file name becomes
   a copy of path (the old one is released) and 1 is returned; on failure the model, its
   file name and the file at path are as they were, and 0 is returned with the writer's
   report chain (the writer also shows it through the host's error sink). */
VMODKIT_API int32_t vmodkit_ModelSaveAs(Vmod_Model *model, const char *path, Oerr_ErrorReport **err);

/* Gives the text node a copy of font (null for none, which draws in the default font).
   The font the node owned before (a read or duplicated note's, or one this function
   gave) is released; a font it only shared (the model's textFont that vmod_NodeCreate
   gave it, or a string the front end put there) is left alone. The library, not the
   kit, knows which fonts a note owns, by its payload record: so the node gets a new
   payload record with the same size, style and extent, and the old record is released.
   Pointers to the payload taken before the call are no longer valid. 0, with a report,
   when node is not a text node or memory is exhausted; the node keeps its payload and
   font then. */
VMODKIT_API int32_t vmodkit_TextSetFont(Vmod_Node *node, const char *font, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
