// The seven glyph renderers: each draws its node's glyph from the shared geometry in
// canvas pixels, its title and its selection highlight, or erases it.
#include <array>

#include "vmodhost/ooml.h"
#include "glyph/truncation.h"
#include "glyph/glyph_geometry.h"
#include "render/render_sequence.h"
#include "vmod/vmod.h"

namespace vmod::render {
namespace {

// The node's centre in pixels and the glyph box size W x H (pixels at the current zoom).
struct PixelFrame {
    std::int32_t cx, cy;
    double w, h;
};

PixelFrame FrameOf(const Vmod_Node *node, Vmod_Model *model) {
    PixelFrame f{};
    vmod_PaperToScreen(model, node->x, node->y, &f.cx, &f.cy);
    f.w = model->glyphPixelWidth * model->zoom;
    f.h = model->glyphPixelHeight * model->zoom;
    return f;
}

std::int32_t X(const glyph::BoxCoord &c, const PixelFrame &f) { return TruncateToInt32(c.Canvas(f.cx, f.w)); }
std::int32_t Y(const glyph::BoxCoord &c, const PixelFrame &f) { return TruncateToInt32(c.Canvas(f.cy, f.h)); }
std::int32_t Width(const glyph::BoxCoord &c, const PixelFrame &f) { return TruncateToInt32(c.Canvas(0, f.w)); }
std::int32_t Height(const glyph::BoxCoord &c, const PixelFrame &f) { return TruncateToInt32(c.Canvas(0, f.h)); }

// The box glyphs select their box (the scalar its own rectangle).
HighlightBox BoxHighlight(std::int32_t type, const PixelFrame &f) {
    glyph::VerticalExtent extent = glyph::HighlightExtent(type);
    HighlightBox box{};
    box.left = TruncateToInt32(f.cx - f.w / 2);
    box.top = Y(extent.top, f);
    box.right = TruncateToInt32(box.left + f.w);
    box.bottom = TruncateToInt32(box.top + extent.height.Canvas(0, f.h));
    return box;
}

// A rectangle in paper inches around the centre, converted corner by corner.
HighlightBox PaperHighlight(const Vmod_Node *node, Vmod_Model *model, double left, double top, double right,
                            double bottom) {
    HighlightBox box{};
    vmod_PaperToScreen(model, node->x + left, node->y + top, &box.left, &box.top);
    vmod_PaperToScreen(model, node->x + right, node->y + bottom, &box.right, &box.bottom);
    return box;
}

void DrawBoxGlyph(std::int32_t type, Ooml_Canvas *canvas, const PixelFrame &f, ErrorSlot &err) {
    for (const glyph::Element &e : glyph::BoxGlyph(type)) {
        switch (e.kind) {
        case glyph::ElementKind::Rectangle:
            ooml_CanvasDrawRectangle(canvas, 0, 0, X(e.a, f), Y(e.b, f), Width(e.c, f), Height(e.d, f), err.Fresh());
            break;
        case glyph::ElementKind::Line:
            ooml_CanvasDrawLine(canvas, 0, 0, X(e.a, f), Y(e.b, f), X(e.c, f), Y(e.d, f), err.Fresh());
            break;
        case glyph::ElementKind::Ellipse:
            ooml_CanvasDrawArc(canvas, 0, 0, X(e.a, f), Y(e.b, f), Width(e.c, f), Height(e.d, f), 0, 360 * 64,
                               err.Fresh());
            break;
        }
    }
}

// Converts each point of a constant raster table, moved to the node centre and the
// layer offset, to pixels and draws the open polyline.
void drawPaperPolyline(const glyph::RasterPolyline &line, double x, double y, Vmod_Model *model, ErrorSlot &err) {
    std::array<std::int32_t, 2 * 5> pixels{};
    std::size_t count = std::min(line.points.size(), pixels.size() / 2);
    for (std::size_t i = 0; i < count; ++i)
        vmod_PaperToScreen(model, x + line.points[i].x, y + line.points[i].y + line.offsetY, &pixels[2 * i],
                           &pixels[2 * i + 1]);
    ooml_CanvasDrawPolyline(model->canvas, 0, 0, pixels.data(), static_cast<std::int32_t>(count), err.Fresh());
}

// Each renderer draws the glyph of its own kind, whatever the node's type says, so that
// a slot always draws the same shape.
void RenderGlyph(std::int32_t type, Vmod_Node *node, Vmod_Model *model, std::int32_t mode) {
    if (!node || !model) return;
    ErrorSlot err;
    PixelFrame f = FrameOf(node, model);
    HighlightBox box{};
    switch (type) {
    case VMOD_RASTER:
        box = PaperHighlight(node, model, glyph::kRasterLeft, glyph::kRasterTopEdge, glyph::kRasterRight,
                             glyph::kRasterBottomEdge);
        break;
    case VMOD_MATRIX:
        box = PaperHighlight(node, model, -model->nodeWidth / 2, -model->nodeHeight / 2, model->nodeWidth / 2,
                             model->nodeHeight / 2);
        break;
    default: box = BoxHighlight(type, f); break;
    }
    BeginNode(node, model, mode, box, err);
    if (type == VMOD_RASTER) {
        for (const glyph::RasterPolyline &line : glyph::RasterPolylines())
            drawPaperPolyline(line, node->x, node->y, model, err);
    } else {
        DrawBoxGlyph(type, model->canvas, f, err);
    }
    DrawTitle(node, model, f.cx, f.cy, err);
    EndNode(node, model, mode, box, err);
}

} // namespace
} // namespace vmod::render

extern "C" {

void vmod_RenderRaster(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    vmod::render::RenderGlyph(VMOD_RASTER, node, model, mode);
}
void vmod_RenderVector(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    vmod::render::RenderGlyph(VMOD_VECTOR, node, model, mode);
}
void vmod_RenderMatrix(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    vmod::render::RenderGlyph(VMOD_MATRIX, node, model, mode);
}
void vmod_RenderTable(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    vmod::render::RenderGlyph(VMOD_TABLE, node, model, mode);
}
void vmod_RenderScalar(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    vmod::render::RenderGlyph(VMOD_SCALAR, node, model, mode);
}
void vmod_RenderFunction(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    vmod::render::RenderGlyph(VMOD_FUNCTION, node, model, mode);
}
void vmod_RenderCriteria(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    vmod::render::RenderGlyph(VMOD_CRITERIA, node, model, mode);
}

} // extern "C"
