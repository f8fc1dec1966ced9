/*
 * vmodkit_view.h - how a model is seen: the view, the geometry of nodes and arrows, hit
 * testing, and drawing on a canvas.
 *
 * Geometry is in paper inches (the unit of Vmod_Node.x and y), measured from the
 * paper's top-left corner, y growing downwards. Drawing is in canvas pixels: paper (x, y)
 * is pixel (x * pixelsPerInch * zoom - scrollX, y * pixelsPerInch * zoom - scrollY),
 * each product truncated, as vmod_PaperToScreen converts.
 *
 * The glyph box is one inch square at every zoom, as in every printed output; titles
 * and notes keep their size in pixels, so their size in inches depends on the view.
 * Titles and notes are drawn only at a zoom of 1 or more.
 *
 * How the kit draws through the library's renderers (the model's render slots): it sets
 * the model's drawing fields (canvas, colours, zoom, scroll, pixel sizes, fonts,
 * redrawInPlace) and each node's selected and highlighted marks for the call, and puts
 * every one of them back as it was. What a note's renderer measures (its width, height
 * and text extents) is kept: it is what the canvas drew. The canvas cannot be asked its
 * colours, so the kit takes the view's foreground in copy mode as the canvas's drawing
 * state between calls: it sets it before each renderer (a renderer that erased leaves the
 * background colour set) and leaves the canvas so. Fonts and text justification are left
 * as the last renderer set them.
 */
#ifndef VMODKIT_VIEW_H
#define VMODKIT_VIEW_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What a drawing looks through. Fill one with vmodkit_ViewDefault and change what
   differs. The kit reads the record (only vmodkit_PictureFrame writes its scroll); it
   never keeps it or its font names. */
typedef struct Vmodkit_View {
    double zoom;               /* 1 for actual size; 0.01 to 100 */
    int32_t pixelsPerInch;     /* canvas pixels per paper inch at zoom 1; 1 to 2400 */
    int32_t scrollX, scrollY;  /* the canvas pixel of the paper's top-left corner is (-scrollX, -scrollY) */
    uint32_t background;       /* 0xRRGGBB: what the canvas is cleared to; erasing draws in it */
    uint32_t foreground;       /* glyphs, titles, notes and arrows */
    uint32_t highlight;        /* exclusive-or'd over a selected node's box */
    const char *titleFont;     /* canvas font names for titles and for an untitled node's "?"; */
    const char *untitledFont;  /* null takes the model's titleFont or untitledFont */
} Vmodkit_View;

/* A view of actual size at 96 pixels per inch, no scroll, a white background, black
   foreground, highlight 0x3366CC, titles in "DejaVu Sans:bold:size=9" and untitled
   nodes in "DejaVu Sans:bold:size=14" (the names point to constant strings). A null
   view is ignored. */
VMODKIT_API void vmodkit_ViewDefault(Vmodkit_View *view);

/* A rectangle, paper inches; left <= right and top <= bottom. */
typedef struct Vmodkit_Box {
    double left, top, right, bottom;
} Vmodkit_Box;

/* The paper a node covers as the canvas draws it through view: its glyph (raster 1.2 by
   0.94 inches, scalar 1 by 0.75, the others the one-inch box), the title under it, and
   for a note its text (with its underline) around the bottom centre. Titles and notes are
   measured on a small drawing canvas of the host's; a host without one gives the glyph
   alone, and a note its recorded width and height (as also below zoom 1, where notes are
   not drawn). The model and node are not changed. 1 with *box set; 0 when an argument is
   null, the view is out of range or the node has no finite position. */
VMODKIT_API int32_t vmodkit_NodeBox(const Vmod_Model *model, const Vmod_Node *node, const Vmodkit_View *view,
                                    Vmodkit_Box *box);

/* The boxes of count nodes of model at once, each as vmodkit_NodeBox gives it, measured
   on one drawing canvas, so that many nodes cost little more than one: for each i, boxes[i]
   is set and found[i] is 1, or found[i] is 0 when nodes[i] is null or has no finite
   position. The model and nodes are not changed. The number of boxes found; 0 when an
   argument is null or the view is out of range. */
VMODKIT_API size_t vmodkit_NodeBoxes(const Vmod_Model *model, const Vmod_Node *const *nodes, size_t count,
                                     const Vmodkit_View *view, Vmodkit_Box *boxes, int32_t *found);

/* The union of every node's box (as vmodkit_NodeBox) and every arrow's polygon; nodes
   without a finite position are left out. 1 with *box set; 0 when an argument is null,
   the view is out of range, or no node has a finite position. */
VMODKIT_API int32_t vmodkit_ModelBox(const Vmod_Model *model, const Vmodkit_View *view, Vmodkit_Box *box);

/* The number of points of an arrow's polygon. */
#define VMODKIT_ARROW_POINTS 6

/* The arrow from `from` to `to` as the canvas draws it: the line between the glyphs'
   edges (vmod_GetCoords) and its filled head with the tip on the edge of `to`, as one
   closed polygon of VMODKIT_ARROW_POINTS points, (x, y) pairs in paper inches, into
   points[0 .. 2 * VMODKIT_ARROW_POINTS - 1]: the line's start, the head's notch, one
   back corner of the head, the tip, the other back corner, the notch again (the line
   has no width: the polygon goes out and back along it). 1 when written; 0 when an argument is null or the arrow is not
   drawn (either centre not finite, or the two centres coincide). */
VMODKIT_API int32_t vmodkit_ArrowPolygon(const Vmod_Node *from, const Vmod_Node *to, double *points);

/* What lies at a point. */
typedef struct Vmodkit_Hit {
    Vmod_Node *node;      /* the topmost node whose box holds the point, or null */
    Vmod_Node *arrowFrom; /* otherwise the nearest arrow within the tolerance: its parent, */
    Vmod_Link *arrow;     /* that parent's child link, */
    Vmod_Node *arrowTo;   /* and the node it points to (a node carrying the link's identifier); */
                          /* all null for no arrow */
} Vmodkit_Hit;

/* Fills *hit for the point (x, y), paper inches: a node whose box (vmodkit_NodeBox)
   holds the point wins over arrows, and of two such nodes the later in the list (drawn
   over the other). Otherwise the arrow whose line or head lies within tolerance (inches,
   0 or more) of the point, the nearest, the later drawn of equals. Arrows are those the
   canvas draws: from each node that is not a note to every node carrying one of its
   child links' identifiers. 1 when something was hit, 0 when nothing was or an argument
   is out of range (*hit is zeroed then, when not null). */
VMODKIT_API int32_t vmodkit_HitTest(const Vmod_Model *model, const Vmodkit_View *view, double x, double y,
                                    double tolerance, Vmodkit_Hit *hit);

/* Draws on canvas every arrow (a line with a filled head), then every node in list order
   through its render slot, as the editor shows them; the count nodes of selection (null
   when count is 0; nodes not in the model are ignored) are drawn highlighted. The canvas
   should show nothing of the model (new, or cleared to the view's background): the
   highlights are exclusive-or'd, so drawing over an earlier drawing takes them off.
   See the preamble for what the kit sets and puts back. 1 when drawn; 0, with a report,
   when an argument is null or the view is out of range (nothing is drawn then). */
VMODKIT_API int32_t vmodkit_DrawModel(Vmod_Model *model, Ooml_Canvas *canvas, const Vmodkit_View *view,
                                      Vmod_Node *const *selection, size_t count, Oerr_ErrorReport **err);

/* What a canvas shows of one node. */
#define VMODKIT_NODE_HIDDEN 0   /* nothing: never drawn, or erased */
#define VMODKIT_NODE_SHOWN 1    /* drawn, not highlighted */
#define VMODKIT_NODE_SELECTED 2 /* drawn with its highlight */

/* Redraws one node of model in place: the canvas shows the node as `from` says (what the
   kit's last drawing of it left), and is made to show it as `to` says. HIDDEN erases it
   (its highlight taken off, its glyph and title drawn in the background colour); SHOWN
   and SELECTED draw it, without or with its highlight. So a selected node drawn again
   (SELECTED to SELECTED) keeps its highlight, and a node drawn after an erase is seen.
   Arrows are not drawn. 1 when done; 0, with a report, when an argument is null, from
   or to is not one of the three, or the view is out of range. */
VMODKIT_API int32_t vmodkit_DrawNode(Vmod_Model *model, Ooml_Canvas *canvas, const Vmodkit_View *view,
                                     Vmod_Node *node, int32_t from, int32_t to, Oerr_ErrorReport **err);

/* The largest canvas side vmodkit_PictureFrame gives, pixels. */
#define VMODKIT_PICTURE_MAX_SIDE 16384

/* The canvas that shows the whole model, as `vmod render` makes it: the box of the node
   centres grown by one inch on every side, and further where a note's text (measured as
   vmodkit_NodeBox measures it, with eight pixels to spare) reaches beyond that; an empty
   model is the point (0, 0) with its inch. Sets view->scrollX and scrollY so that the
   box starts at pixel (0, 0), and *width and *height, pixels (one more than the box
   spans). The model is not changed. 1 when done; 0, with a report, when an argument is
   null, the view is out of range, a node has no finite position or the picture would be
   larger than VMODKIT_PICTURE_MAX_SIDE pixels a side. */
VMODKIT_API int32_t vmodkit_PictureFrame(const Vmod_Model *model, Vmodkit_View *view, int32_t *width,
                                         int32_t *height, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
