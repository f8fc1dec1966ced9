/*
 * vmod.h - the exported functions of the graphical-model library.
 *
 * Conventions, once for all functions:
 * - A function that takes `err` (the address of the caller's Oerr_ErrorReport handle,
 *   which must hold null or a report) stores a new report only on failure, and never
 *   drops a report already in *err: that one is chained at the end of the new report's
 *   chain, as its last cause, and a call that succeeds leaves *err as it was. The host's
 *   functions keep the same rule (vmodhost.h, "error reports"). So one handle may be
 *   shared by many calls and released once with oerr_DeleteErrorReportEx; to tell whether
 *   one call failed, give it a null handle. Only the earlier report is kept: what the
 *   call prints (below) is its own report alone. A null err is accepted and keeps nothing.
 *   Report codes are named below.
 * - A failure that concerns a file (vmod_ModelWrite, vmod_ModelRead, vmod_ModelParse,
 *   vmod_ModelEPS, vmod_ModelAnno) is shown at once through oerr_PrintErrorReport, which
 *   writes to the host's error sink (standard error unless the front end set one), and
 *   is also returned in *err. A front end that shows the returned report itself silences
 *   the first with vmodhost_SetErrorSink(vmodhost_IgnoreErrorText, NULL) (vmodhost.h).
 * - No C++ exception leaves a function: one that runs out of memory reports
 *   VMOD_ERR_MEMORY through `err`, or gives its failure value (null, 0) when it has none.
 * - Every string a function returns is new, lives on the host heap and belongs to the
 *   caller (release it with omsc_HeapFree). So do the nodes of vmod_NodeCreate and
 *   vmod_NodeDuplicate and the rectangles of vmod_RectCreate until the caller hands them
 *   to a model. Nodes found by identifier and links made by the link functions stay
 *   owned by their lists.
 * - Functions that take "any node of the list" start from the list's first node, so the
 *   head or any other node of the model's list may be given.
 * - No function is re-entrant for one model. No function keeps state between calls, with
 *   one exception: the library remembers, in a process-wide table behind a lock, which
 *   text payloads own their font string (see vmod_NodeCreate and vmod_NodeDuplicate). The
 *   text record has no room for that mark, and a payload the front end built itself
 *   must still be released safely, so the mark cannot live in the payload's memory.
 *   Functions that make, copy, read or release text nodes take that lock briefly;
 *   different models may be used on different threads.
 */
#ifndef VMOD_H
#define VMOD_H

#include "vmod_records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Error reports ----
   Every report the library makes has severity VMOD_SEVERITY_ERROR. Its code tells apart
   the failures of the function named in it; a report chained below carries its own
   maker's code. */
#define VMOD_SEVERITY_ERROR 2
/* The function could not do its work: a file that cannot be opened, read or written, a
   model that cannot be read, a layer that cannot be created, a script refused. */
#define VMOD_ERR_FAILED 1
/* vmod_ModelParse: the file yields no model (the parser's report is the cause). */
#define VMOD_ERR_PARSE 2
/* vmod_ModelAnno: the layer was drawn but cannot be written. */
#define VMOD_ERR_NOT_WRITTEN 2
/* The cause under vmod_ModelWrite's report: the model holds a value that no model file
   can hold, so nothing was written. */
#define VMOD_ERR_UNREPRESENTABLE 3
/* Memory is exhausted ("memory is exhausted"), or another failure the library did not
   expect, whose text is the message. */
#define VMOD_ERR_MEMORY 3

/* ---- Node list and identifiers ---- */

/* The first node of model's list whose id equals `id`, or null. Not a new node. */
VMOD_API Vmod_Node *vmod_IdToNode(Vmod_Model *model, int32_t id, Oerr_ErrorReport **err);
/* The first node of the list holding `node` whose id equals `id`, or null. */
VMOD_API Vmod_Node *vmod_NodeFind(Vmod_Node *node, int32_t id, Oerr_ErrorReport **err);
/* One more than the largest identifier of the list holding `node`; at least 1. */
VMOD_API int32_t vmod_NodeNextAvail(Vmod_Node *node, Oerr_ErrorReport **err);
/* Resolves every child link of a freshly read model, sets node extents and appends the
   mirror parent links. Links naming no node stay unresolved. Returns `model`. */
VMOD_API Vmod_Model *vmod_UpdateNodes(Vmod_Model *model, Oerr_ErrorReport **err);
/* Releases `first` and every node after it, with their titles, payloads and links.
   The caller's head pointer is not changed. */
VMOD_API void vmod_NodesDelete(Vmod_Node *first, Oerr_ErrorReport **err);
/* Releases the model's fileName, title, window, projection and AOI strings and every node,
   and clears each field it releases, so a second call is harmless. The model record itself
   (the caller's) is not released. Does not write *err. */
VMOD_API void vmod_ModelDelete(Vmod_Model *model, Oerr_ErrorReport **err);
/* A new rectangle of four zeros, owned by the caller. */
VMOD_API Vmod_Rect *vmod_RectCreate(Oerr_ErrorReport **err);
/* Releases a rectangle; null is ignored. */
VMOD_API void vmod_RectDelete(Vmod_Rect *rect, Oerr_ErrorReport **err);

/* ---- Links and graph queries ---- */

/* Appends an unresolved child link (node null) to parent's children; owned by that list. */
VMOD_API Vmod_Link *vmod_ChildAdd(Vmod_Node *parent, int32_t childId, Oerr_ErrorReport **err);
/* Appends an arrow parent -> child with its mirror; returns the mirror in child's parents. */
VMOD_API Vmod_Link *vmod_ChildAddByNode(Vmod_Node *parent, Vmod_Node *child, Oerr_ErrorReport **err);
/* Removes every arrow parent -> childId and its mirrors; the links are released. */
VMOD_API void vmod_ChildDelete(Vmod_Node *parent, int32_t childId, Oerr_ErrorReport **err);
/* Removes every arrow leaving parent. */
VMOD_API void vmod_ChildrenDelete(Vmod_Node *parent, Oerr_ErrorReport **err);
/* The number of child links of node; 0 for null. */
VMOD_API int32_t vmod_NumChildren(Vmod_Node *node);
/* Removes the arrows into childId from every node of the list but parent. */
VMOD_API void vmod_SingleParent(Vmod_Node *parent, int32_t childId, Oerr_ErrorReport **err);
/* 1 when targetId is reachable from startId along child links, else 0. */
VMOD_API int32_t vmod_Circular(Vmod_Node *node, int32_t startId, int32_t targetId, Oerr_ErrorReport **err);
/* 1 when a node with ancestorId is reachable from node along parent links. nodeId is unused. */
VMOD_API int32_t vmod_Ancestor(Vmod_Node *node, int32_t ancestorId, int32_t nodeId, Oerr_ErrorReport **err);
/* 1 when no node of the list has a child link naming id, else 0. */
VMOD_API int32_t vmod_Orphan(Vmod_Node *node, int32_t id, Oerr_ErrorReport **err);
/* Renumbers node, carrying the new number into a data node's title and its readers. */
VMOD_API void vmod_NodeChangeID(Vmod_Node *node, int32_t newId);
/* Carries a data node's retitling from oldName to newName into its children. */
VMOD_API void vmod_ChangeChild(Vmod_Node *node, const char *oldName, const char *newName);
/* Deletes the selected nodes with their arrows; returns the new head (or null), which the
   caller stores as the model's nodes. */
VMOD_API Vmod_Node *vmod_NodesSelDel(Vmod_Node *node, Oerr_ErrorReport **err);
/* The next operation whose upstream operations are all done, or null. */
VMOD_API Vmod_Node *vmod_NextFunction(Vmod_Node *node, Oerr_ErrorReport **err);

/* ---- Creation and duplication ---- */

/* A new node of `kind` with its defaults, in no list; the caller owns it. A text node
   shares the model's textFont pointer: the model's owner keeps that string alive. */
VMOD_API Vmod_Node *vmod_NodeCreate(Vmod_Model *model, int32_t kind, Oerr_ErrorReport **err);
/* A deep copy of node's record and payload. The copy shares node's link lists until the
   caller gives it its own (see the library's documentation); the caller owns it. A text
   copy owns a copy of the font, released with the node while it is still the node's font
   (a font the front end puts in its place stays the front end's). The file reader's text
   nodes own their fonts in the same way. */
VMOD_API Vmod_Node *vmod_NodeDuplicate(Vmod_Node *node, Oerr_ErrorReport **err);
/* 1 when a raster of dataType is thematic by default, 0 when athematic. */
VMOD_API int32_t vmod_ThematicDefault(int32_t dataType);

/* ---- Text utilities and readiness ---- */

/* New string: text with the first occurrence of old replaced; null when text is null. */
VMOD_API char *vmod_ChangeFirst(const char *text, const char *old, const char *replacement);
/* New string: text with every occurrence of old replaced; null when text is null. */
VMOD_API char *vmod_ChangeAll(const char *text, const char *old, const char *replacement);
/* New string: the title of a function node with this expression, or null. */
VMOD_API char *vmod_FunctionTitle(const char *expression);
/* Escapers write into out, which must hold 2 * strlen(text) + 1 bytes; null text leaves
   out untouched. Double quotes are escaped: */
VMOD_API void vmod_InsertBackSlash(char *out, const char *text);
/* "(", ")" and backslash are escaped: */
VMOD_API void vmod_InsertBackSlashParen(char *out, const char *text);
/* A backslash is put before every line feed: */
VMOD_API void vmod_RemoveCarriageReturns(char *out, const char *text);
/* New string: a file-name filter for a chooser starting at fileName. */
VMOD_API char *vmod_SearchString(int32_t useName, const char *fileName);
/* Enables or greys the editor's run controls. */
VMOD_API void vmod_ReadyToRun(Vmod_Model *model);

/* ---- Model file ---- */

VMOD_API void vmod_ModelWrite(Vmod_Model *model, Oerr_ErrorReport **err);
VMOD_API void vmod_ModelRead(Vmod_Model *target, const char *path, Oerr_ErrorReport **err);
/* A new model read from path, owned by the caller, or null with *err set. */
VMOD_API Vmod_Model *vmod_ModelParse(const char *path, Oerr_ErrorReport **err);

/* ---- Script ---- */

/* Writes the script of model into file; 1 when complete, 0 otherwise. */
VMOD_API int32_t vmod_ScriptGen(Vmod_Model *model, Ofio_File *file);

/* ---- Canvas ---- */

VMOD_API void vmod_PaperToScreen(Vmod_Model *model, double px, double py, int32_t *sx, int32_t *sy);
VMOD_API void vmod_ScreenToPaper(Vmod_Model *model, int32_t sx, int32_t sy, double *px, double *py);
VMOD_API void vmod_GetCoords(int32_t fromType, double fromX, double fromY, int32_t toType, double toX,
                             double toY, double *x1, double *y1, double *x2, double *y2);
VMOD_API void vmod_RenderRaster(Vmod_Node *node, Vmod_Model *model, int32_t mode);
VMOD_API void vmod_RenderVector(Vmod_Node *node, Vmod_Model *model, int32_t mode);
VMOD_API void vmod_RenderMatrix(Vmod_Node *node, Vmod_Model *model, int32_t mode);
VMOD_API void vmod_RenderTable(Vmod_Node *node, Vmod_Model *model, int32_t mode);
VMOD_API void vmod_RenderScalar(Vmod_Node *node, Vmod_Model *model, int32_t mode);
VMOD_API void vmod_RenderFunction(Vmod_Node *node, Vmod_Model *model, int32_t mode);
VMOD_API void vmod_RenderCriteria(Vmod_Node *node, Vmod_Model *model, int32_t mode);
VMOD_API void vmod_RenderText(Vmod_Node *node, Vmod_Model *model, int32_t mode);

/* ---- Printing ---- */

VMOD_API void vmod_ModelEPS(const char *fileName, Vmod_Model *model, Oerr_ErrorReport **err);
VMOD_API void vmod_HeaderPrint(Ofio_File *file, Vmod_Model *model);
VMOD_API void vmod_RasterPrint(Ofio_File *file);
VMOD_API void vmod_VectorPrint(Ofio_File *file);
VMOD_API void vmod_MatrixPrint(Ofio_File *file);
VMOD_API void vmod_TablePrint(Ofio_File *file);
VMOD_API void vmod_ScalarPrint(Ofio_File *file);
VMOD_API void vmod_FunctionPrint(Ofio_File *file);
VMOD_API void vmod_CriteriaPrint(Ofio_File *file);
VMOD_API void vmod_ArrowPrint(Ofio_File *file);
VMOD_API void vmod_NodePrint(Ofio_File *file, Vmod_Model *model, Vmod_Node *node, Oerr_ErrorReport **err);
VMOD_API void vmod_TextPrint(Ofio_File *file, Vmod_Node *node);
VMOD_API void vmod_PrintPageNumbers(Ofio_File *file, Vmod_Model *model, int32_t first, int32_t last);
VMOD_API void vmod_ModelPrint(Vmod_Model *model, int32_t first, int32_t last, Oerr_ErrorReport **err);

/* ---- Annotation ---- */

VMOD_API void vmod_ModelAnno(Vmod_Model *model, const char *name, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
