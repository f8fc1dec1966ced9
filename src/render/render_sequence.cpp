// The steps every node renderer shares.
#include "render/render_sequence.h"

#include <algorithm>
#include <limits>

#include "vmodhost/ooml.h"
#include "glyph/truncation.h"
#include "glyph/glyph_geometry.h"

namespace vmod::render {

namespace {
constexpr std::int32_t kCopyMode = 1;
constexpr std::int32_t kXorMode = 3;
constexpr std::int32_t kCentred = 1;
} // namespace

std::int32_t AddPixels(std::int64_t a, std::int64_t b) {
    std::int64_t sum = a + b;
    sum = std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(sum);
}

void ToggleHighlight(Vmod_Model *model, const HighlightBox &box, ErrorSlot &err) {
    Ooml_Canvas *canvas = model->canvas;
    ooml_CanvasContextSetForeground(canvas, model->highlightColor, err.Fresh());
    ooml_CanvasContextSetDrawMode(canvas, kXorMode, err.Fresh());
    ooml_CanvasFillRectangle(canvas, 0, 0, box.left, box.top, AddPixels(AddPixels(box.right, -std::int64_t{box.left}), 1),
                             AddPixels(AddPixels(box.bottom, -std::int64_t{box.top}), 1), err.Fresh());
    ooml_CanvasContextSetDrawMode(canvas, kCopyMode, err.Fresh());
    ooml_CanvasContextSetForeground(canvas, model->foregroundColor, err.Fresh());
}

void BeginNode(Vmod_Node *node, Vmod_Model *model, std::int32_t mode, const HighlightBox &box, ErrorSlot &err) {
    if (node->highlighted && (mode == VMOD_RENDER_ERASE || model->redrawInPlace)) {
        node->highlighted = 0;
        ToggleHighlight(model, box, err);
    }
    if (mode == VMOD_RENDER_ERASE) ooml_CanvasContextSetForeground(model->canvas, model->backgroundColor, err.Fresh());
}

void EndNode(Vmod_Node *node, Vmod_Model *model, std::int32_t mode, const HighlightBox &box, ErrorSlot &err) {
    if (node->selected && mode == VMOD_RENDER_DRAW) {
        node->highlighted = 1;
        ToggleHighlight(model, box, err);
    }
}

void DrawTitle(const Vmod_Node *node, Vmod_Model *model, std::int32_t cx, std::int32_t cy, ErrorSlot &err) {
    if (!(model->zoom >= 1.0)) return;
    Ooml_Canvas *canvas = model->canvas;
    const char *text = node->title ? node->title : "?";
    ooml_CanvasContextSetFont(canvas, node->title ? model->titleFont : model->untitledFont, err.Fresh());
    ooml_CanvasContextSetJustification(canvas, kCentred, err.Fresh());
    std::int32_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    ooml_CanvasContextGetStringExtents(canvas, text, &x1, &x2, &y1, &y2, err.Fresh());
    // Below the box by the text's height and a small gap; the text extends upward from y.
    double y = model->glyphPixelHeight * model->zoom * 0.5 + y2 + cy - y1 + glyph::kCanvasTitleGap;
    ooml_CanvasDrawText(canvas, text, cx, TruncateToInt32(y), err.Fresh());
}

} // namespace vmod::render
