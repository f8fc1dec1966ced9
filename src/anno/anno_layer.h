// anno_layer.h - what one annotation export works with: the host handles, the style
// identifiers and the member list of the layer's root group, and the element helpers
// every part of the export draws through.
#ifndef VMOD_ANNO_LAYER_H
#define VMOD_ANNO_LAYER_H

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "vmodhost/oant.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofga.h"
#include "model/node_index.h"
#include "vmod/vmod_records.h"

namespace vmod::anno {

// Identifiers of the export's styles in the layer's library (-1 when a style failed).
struct Styles {
    int32_t solidWhite = -1; // "Solid filled white"
    int32_t solidBlack = -1; // "Solid filled black"
    int32_t blackLine = -1;  // "Scalable black line"
    int32_t outline = -1;    // "Unfilled outlined with black"
    int32_t label = -1;      // the labels' text style
};

struct Export {
    Oint_Init *init = nullptr;
    Oant_StyleLibrary *library = nullptr;
    Oant_Elements *elements = nullptr;
    Oant_CoordSysConversion *conversion = nullptr;
    Styles styles;
};

// A list of elements chained in creation order: the first is the head, later ones are
// appended to it. A failed (null) element leaves the list as it was.
struct Members {
    Oant_Element *head = nullptr;
    Oant_Element *tail = nullptr; // appending after the last keeps a long list linear
    void Append(Oant_Element *element);
};

// One point in layer inches (y upward).
struct LayerPoint {
    double x, y;
};

// Element helpers: each makes one element with sizes and positions in inches, discards
// the report of a failed call and returns the element (null when it failed).
Oant_Element *AddRectangle(const Export &ex, const char *name, int32_t fillStyle, double cx, double cy, double w,
                           double h);
Oant_Element *AddEllipse(const Export &ex, const char *name, int32_t fillStyle, double cx, double cy, double rx,
                         double ry);
Oant_Element *AddPolyline(const Export &ex, const char *name, int32_t lineStyle, const LayerPoint *points,
                          int32_t count);
Oant_Element *AddPolygon(const Export &ex, const char *name, int32_t fillStyle, const LayerPoint *points,
                         int32_t count);
// Text of `size` points at (x, y); `horizontal` and `vertical` are the alignment values.
Oant_Element *AddText(const Export &ex, int32_t textStyle, double x, double y, double size, int32_t horizontal,
                      int32_t vertical, const char *text);
Oant_Element *AddGroup(const Export &ex, const char *name, const Members &members);

// Releases a report that a drawing call left; the export goes on without it.
void DiscardReport(Oerr_ErrorReport **report);

// ---- the parts of the export ----

// The five styles every export creates, in their order.
Styles CreateStyles(const Export &ex);
// A text node's style: the outline-font file, slant and underline flag, with the black
// glyph fill and underline line; its identifier (or -1).
int32_t AddTextNodeStyle(const Export &ex, const char *file, double slant, int32_t underline);
// A node's glyph group (null for text and unknown kinds).
Oant_Element *AddGlyph(const Export &ex, const Vmod_Node *node);
// A non-text node's label.
Oant_Element *AddLabel(const Export &ex, const Vmod_Node *node);
// A text node's text element.
Oant_Element *AddTextNode(const Export &ex, const Vmod_Node *node);
// Half the width and half the height, in inches, that a text node's text takes around
// its position at most, so that the layer's extent can hold it; an estimate from its
// characters that no viewer's rendering of these faces exceeds.
struct TextHalfExtent {
    double width, height;
};
TextHalfExtent TextNodeHalfExtent(const Vmod_Node *node);
// The model's nodes by identifier, each list in model order (12 to 16 bytes a node).
using NodesById = ModelNodeIndex;
// The arrow groups from node to each of its children, appended to members. Children
// are found through index, or by walking the model's list when index is null.
void AddArrows(const Export &ex, const Vmod_Model *model, const NodesById *index, const Vmod_Node *node,
               Members &members);

} // namespace vmod::anno

#endif
