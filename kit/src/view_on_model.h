// view_on_model.h - a view set on a model's drawing fields, as the library's renderers
// read them, and put back afterwards.
#ifndef VMODKIT_VIEW_ON_MODEL_H
#define VMODKIT_VIEW_ON_MODEL_H

#include "vmod/vmod_records.h"
#include "vmodkit/vmodkit_view.h"

namespace vmodkit {

// Why the view cannot be drawn through (a null view included), or null when it can.
const char *ViewProblem(const Vmodkit_View *view);

// Sets the model's drawing fields for the view: canvas, colours, zoom, scroll, a glyph
// box of one inch, pixels per inch, fonts (the model's own where the view names none),
// no redraw in place.
void ApplyView(Vmod_Model *model, Ooml_Canvas *canvas, const Vmodkit_View &view);

// Sets copy mode and the view's foreground: the drawing state the kit leaves a canvas in.
void SetDrawingColours(Ooml_Canvas *canvas, const Vmodkit_View &view);

// The model's drawing fields as they were at construction, put back at destruction.
class DrawingFieldsKept {
public:
    explicit DrawingFieldsKept(Vmod_Model *model) : model_(model), kept_(*model) {}
    DrawingFieldsKept(const DrawingFieldsKept &) = delete;
    DrawingFieldsKept &operator=(const DrawingFieldsKept &) = delete;
    ~DrawingFieldsKept();

private:
    Vmod_Model *model_;
    Vmod_Model kept_;
};

// A node's selection marks, set for one renderer call and put back.
class NodeMarksKept {
public:
    NodeMarksKept(Vmod_Node *node, int32_t selected, int32_t highlighted)
        : node_(node), selected_(node->selected), highlighted_(node->highlighted) {
        node->selected = selected;
        node->highlighted = highlighted;
    }
    NodeMarksKept(const NodeMarksKept &) = delete;
    NodeMarksKept &operator=(const NodeMarksKept &) = delete;
    ~NodeMarksKept() {
        node_->selected = selected_;
        node_->highlighted = highlighted_;
    }

private:
    Vmod_Node *node_;
    int32_t selected_, highlighted_;
};

} // namespace vmodkit

#endif
