// node_measure.h - titles and notes measured as the canvas draws them, on a small
// drawing canvas of the host's and a copy of the model that carries the view, so that
// the model itself is not changed.
#ifndef VMODKIT_NODE_MEASURE_H
#define VMODKIT_NODE_MEASURE_H

#include <cstdint>

#include "vmod/vmod_records.h"
#include "vmodkit/vmodkit_view.h"

namespace vmodkit {

// What the text renderer measures of a note.
struct NoteMeasure {
    double extentWidth, extentHeight; // pixels
    double height;                    // the node's height the renderer leaves, inches
};

class Measurer {
public:
    // The view must be in range.
    Measurer(const Vmod_Model &model, const Vmodkit_View &view);
    ~Measurer();
    Measurer(const Measurer &) = delete;
    Measurer &operator=(const Measurer &) = delete;

    // Canvas pixels per paper inch.
    double PerInch() const { return perInch_; }
    // Titles and notes are drawn only at a zoom of 1 or more.
    bool TextShown() const { return model_.zoom >= 1.0; }

    // The title (or "?") of a glyph node in its font, pixels. False when there is no
    // drawing canvas to measure on.
    bool Title(const Vmod_Node &node, std::int32_t *width, std::int32_t *height);

    // A note drawn on the measuring canvas by its renderer. False when there is no
    // canvas, the note has no payload or its text is not shown at this zoom.
    bool Note(const Vmod_Node &node, NoteMeasure *measure);

private:
    Ooml_Canvas *Canvas();

    Vmod_Model model_;
    double perInch_;
    Ooml_Canvas *canvas_ = nullptr;
    bool tried_ = false;
};

// The box of a node as vmodkit_NodeBox gives it; false when the node has no finite
// position.
bool NodeBoxOf(const Vmod_Node &node, Measurer &measure, Vmodkit_Box *box);

} // namespace vmodkit

#endif
