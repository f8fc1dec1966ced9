// Titles and notes measured as the canvas draws them, and the box of a node.
#include "node_measure.h"

#include <algorithm>
#include <cmath>

#include "glyph/glyph_geometry.h"
#include "render/render_sequence.h"
#include "view_on_model.h"
#include "vmod/vmod.h"
#include "vmodhost/ooml.h"
#include "vmodhost/vmodhost.h"

namespace vmodkit {

namespace {

// Pixels between the underline of a note and its text (the text renderer's).
constexpr double kUnderlineDrop = 2.0;

// The glyph's extent around its centre, inches, for a one-inch glyph box.
Vmodkit_Box GlyphExtent(std::int32_t type) {
    namespace g = vmod::glyph;
    if (type == VMOD_RASTER) return {g::kRasterLeft, g::kRasterTopEdge, g::kRasterRight, g::kRasterBottomEdge};
    if (type == VMOD_SCALAR) return {-0.5, -0.375, 0.5, 0.375};
    return {-0.5, -0.5, 0.5, 0.5};
}

void Grow(Vmodkit_Box *box, double left, double top, double right, double bottom) {
    box->left = std::min(box->left, left);
    box->top = std::min(box->top, top);
    box->right = std::max(box->right, right);
    box->bottom = std::max(box->bottom, bottom);
}

// A recorded size that can be used: finite and not negative.
double UsableSize(double size) { return std::isfinite(size) && size > 0 ? size : 0.0; }

} // namespace

Measurer::Measurer(const Vmod_Model &model, const Vmodkit_View &view) : model_(model) {
    ApplyView(&model_, nullptr, view);
    model_.nodes = nullptr; // the copy is never walked
    perInch_ = model_.pixelsPerInchX;
}

Measurer::~Measurer() { vmodhost_CanvasDelete(canvas_); }

Ooml_Canvas *Measurer::Canvas() {
    if (!tried_) {
        tried_ = true;
        canvas_ = vmodhost_CairoCanvasCreate(1, 1, 0xFFFFFF);
        model_.canvas = canvas_;
    }
    return canvas_;
}

bool Measurer::Title(const Vmod_Node &node, std::int32_t *width, std::int32_t *height) {
    Ooml_Canvas *canvas = Canvas();
    if (!canvas) return false;
    vmod::render::ErrorSlot err;
    ooml_CanvasContextSetFont(canvas, node.title ? model_.titleFont : model_.untitledFont, err.Fresh());
    std::int32_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    ooml_CanvasContextGetStringExtents(canvas, node.title ? node.title : "?", &x1, &x2, &y1, &y2, err.Fresh());
    *width = vmod::render::AddPixels(x2, -std::int64_t{x1});
    *height = vmod::render::AddPixels(y2, -std::int64_t{y1});
    return true;
}

bool Measurer::Note(const Vmod_Node &node, NoteMeasure *measure) {
    if (!TextShown() || node.data == nullptr) return false;
    Ooml_Canvas *canvas = Canvas();
    if (!canvas) return false;
    // The renderer writes what it measures into the node and its payload: copies take it.
    Vmod_Node copy = node;
    Vmod_TextData text = *static_cast<const Vmod_TextData *>(node.data);
    copy.data = &text;
    copy.selected = 0;
    copy.highlighted = 0;
    vmod_RenderText(&copy, &model_, VMOD_RENDER_DRAW);
    measure->extentWidth = text.extentWidth;
    measure->extentHeight = text.extentHeight;
    measure->height = copy.height;
    return true;
}

bool NodeBoxOf(const Vmod_Node &node, Measurer &measure, Vmodkit_Box *box) {
    // Copies: the packed record's doubles may sit off their natural alignment.
    const double x = node.x, y = node.y;
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    const double perInch = measure.PerInch();
    if (node.type == VMOD_TEXT) {
        NoteMeasure note{};
        if (measure.Note(node, &note)) {
            // The text stands on its bottom centre; the underline lies below it.
            const double bottom = y + note.height / 2, halfWidth = note.extentWidth / 2 / perInch;
            const auto *text = static_cast<const Vmod_TextData *>(node.data);
            const bool underlined = node.title && (text->style & VMOD_STYLE_UNDERLINE);
            *box = {x - halfWidth, bottom - note.extentHeight / perInch, x + halfWidth,
                    bottom + (underlined ? (kUnderlineDrop + 1) / perInch : 0.0)};
        } else {
            const double halfWidth = UsableSize(node.width) / 2, halfHeight = UsableSize(node.height) / 2;
            *box = {x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
        }
        return std::isfinite(box->left) && std::isfinite(box->top) && std::isfinite(box->right) &&
               std::isfinite(box->bottom);
    }
    const Vmodkit_Box glyph = GlyphExtent(node.type);
    *box = {x + glyph.left, y + glyph.top, x + glyph.right, y + glyph.bottom};
    std::int32_t width = 0, height = 0;
    if (measure.TextShown() && measure.Title(node, &width, &height)) {
        // Centred under the box, a small gap below it.
        const double top = y + 0.5 + vmod::glyph::kCanvasTitleGap / perInch;
        Grow(box, x - width / 2.0 / perInch, top, x + width / 2.0 / perInch, top + height / perInch);
    }
    return true;
}

} // namespace vmodkit
