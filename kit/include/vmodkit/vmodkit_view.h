/*
 * vmodkit_view.h - how a model is seen: the view, the geometry of nodes and arrows, hit
 * testing, and drawing the whole model on a canvas in one call.
 *
 * Geometry is in paper inches (the unit of Vmod_Node.x and y), measured from the
 * paper's top-left corner, y growing downwards. Drawing is in canvas pixels.
 */
#ifndef VMODKIT_VIEW_H
#define VMODKIT_VIEW_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What a drawing looks through. Fill one with vmodkit_ViewDefault and change what
   differs. The kit reads the record; it never keeps it. */
typedef struct Vmodkit_View {
    double zoom;               /* 1 for actual size; greater than 0 */
    int32_t pixelsPerInch;     /* screen pixels per paper inch at zoom 1, greater than 0 */
    int32_t scrollX, scrollY;  /* the canvas pixel of the paper's top-left corner is (-scrollX, -scrollY) */
    uint32_t background;       /* 0xRRGGBB */
    uint32_t foreground;
    uint32_t highlight;        /* the selected nodes' colour */
    const char *titleFont;     /* canvas font names for titles, untitled nodes and notes */
    const char *untitledFont;  /* without a font of their own; null for the model's */
    const char *textFont;
} Vmodkit_View;

/* A view of actual size at 96 pixels per inch, no scroll, white background, black
   foreground, the model's fonts. */
VMODKIT_API void vmodkit_ViewDefault(Vmodkit_View *view);

/* A rectangle, paper inches. */
typedef struct Vmodkit_Box {
    double left, top, right, bottom;
} Vmodkit_Box;

/* The paper a node covers as the canvas draws it: glyph, title and, for a note, its
   text. 0 when the node has no finite position. */
VMODKIT_API int32_t vmodkit_NodeBox(const Vmod_Model *model, const Vmod_Node *node, const Vmodkit_View *view,
                                    Vmodkit_Box *box);

/* The union of every node's box and every arrow. 0 for a model without a drawable node. */
VMODKIT_API int32_t vmodkit_ModelBox(const Vmod_Model *model, const Vmodkit_View *view, Vmodkit_Box *box);

/* The arrow from `from` to `to` as drawn: the line between the glyphs' edges and its
   filled head, as a closed polygon of *count points (x, y pairs, paper inches) written to
   points, which holds room for `capacity` points. 0 when either node has no finite
   position or capacity is too small (*count then says how many are needed). */
VMODKIT_API int32_t vmodkit_ArrowPolygon(const Vmod_Node *from, const Vmod_Node *to, double *points,
                                         size_t capacity, size_t *count);

/* What lies at a point. */
typedef struct Vmodkit_Hit {
    Vmod_Node *node;      /* the topmost node whose box holds the point, or null */
    Vmod_Node *arrowFrom; /* otherwise the arrow within tolerance: its parent ... */
    Vmod_Link *arrow;     /* ... and that parent's child link; both null for none */
} Vmodkit_Hit;

/* Fills *hit for the point (x, y) paper inches, with tolerance in paper inches for
   arrows. Nodes drawn later (later in the list) win over earlier ones, and nodes over
   arrows. 1 when something was hit, 0 when nothing was. */
VMODKIT_API int32_t vmodkit_HitTest(const Vmod_Model *model, const Vmodkit_View *view, double x, double y,
                                    double tolerance, Vmodkit_Hit *hit);

/* Draws every arrow, then every node in list order, on canvas through the model's
   render slots, as the editor shows them; the nodes of selection (count of them) are
   drawn highlighted. The model's drawing fields (canvas, zoom, scroll, pixel sizes,
   fonts, colours, selection marks) are set for the drawing and put back as they were;
   the canvas is left with the colours it had. 0, with a report, when the view is out of
   range. */
VMODKIT_API int32_t vmodkit_DrawModel(Vmod_Model *model, Ooml_Canvas *canvas, const Vmodkit_View *view,
                                      Vmod_Node *const *selection, size_t count, Oerr_ErrorReport **err);

/* The canvas size and scroll that show the whole model: the model's box grown by one
   inch on every side at the view's zoom and resolution. Sets view->scrollX and scrollY
   and *width and *height in pixels. 0, with a report, when the picture would be larger
   than 16384 pixels a side or a node has no finite position. `vmod render` uses it. */
VMODKIT_API int32_t vmodkit_PictureFrame(Vmod_Model *model, Vmodkit_View *view, int32_t *width, int32_t *height,
                                         Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
