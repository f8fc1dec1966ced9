// Node glyphs as annotation element groups. The shapes are the shared glyph geometry
// for a box of one inch; the layer takes them in its own order and under its own names,
// and stands the table's lines at the rounded -0.17 and -0.33 its users know.
#include <cmath>
#include <limits>
#include <span>

#include "anno/anno_layer.h"
#include "glyph/glyph_geometry.h"

namespace vmod::anno {

namespace {

namespace g = vmod::glyph;

const double kBox = 1.0; // glyph box, inches
const double kNone = std::numeric_limits<double>::quiet_NaN();

// One element of an annotation glyph: the geometry element `index` of the node's box
// glyph, its name, whether its two ends are taken in reverse, and where a straight line
// stands instead of the geometry's place (NaN to keep it).
struct Stroke {
    int index;
    const char *name;
    bool reversed;
    double at;
};

const Stroke kVector[] = {
    {0, "square", false, kNone},     {1, "vertor_arc1", true, kNone}, {2, "vertor_arc2", false, kNone},
    {5, "label_vert", false, kNone}, {6, "label_hori", false, kNone}, {3, "label_vert", true, kNone},
    {4, "label_hori", false, kNone},
};
const Stroke kMatrix[] = {
    {0, "square", false, kNone},    {1, "vert_line", false, kNone}, {3, "vert_line", false, kNone},
    {5, "vert_line", false, kNone}, {7, "vert_line", false, kNone}, {2, "hori_line", false, kNone},
    {4, "hori_line", false, kNone}, {6, "hori_line", false, kNone}, {8, "hori_line", false, kNone},
};
const Stroke kTable[] = {
    {0, "square", false, kNone},
    {2, "vert_line", false, -0.17},
    {1, "hori_line", false, -0.33},
};
const Stroke kScalar[] = {{0, "rectangle", false, kNone}};
const Stroke kFunction[] = {{0, "circle", false, kNone}};
const Stroke kCriteria[] = {
    {0, "circle", false, kNone},     {1, "vert_line", false, kNone}, {3, "vert_line", false, kNone},
    {5, "vert_line", false, kNone},  {7, "vert_line", false, kNone}, {9, "vert_line", false, kNone},
    {2, "hori_line", false, kNone},  {4, "hori_line", false, kNone}, {6, "hori_line", false, kNone},
    {8, "hori_line", false, kNone},  {10, "hori_line", false, kNone},
};

struct Glyph {
    const char *group;
    std::span<const Stroke> strokes;
};

Glyph GlyphOf(int32_t type) {
    switch (type) {
    case VMOD_VECTOR: return {"vector", kVector};
    case VMOD_MATRIX: return {"matrix", kMatrix};
    case VMOD_TABLE: return {"table", kTable};
    case VMOD_SCALAR: return {"scalar", kScalar};
    case VMOD_FUNCTION: return {"function", kFunction};
    case VMOD_CRITERIA: return {"function", kCriteria};
    default: return {nullptr, {}};
    }
}

// The layer point of box offset (u, v) from the node centre: y upward.
LayerPoint At(const Vmod_Node *node, double u, double v) { return {node->x + u, -(node->y + v)}; }

Oant_Element *AddStroke(const Export &ex, const Vmod_Node *node, const g::Element &e, const Stroke &s) {
    double a = e.a.Inches(0, kBox), b = e.b.Inches(0, kBox), c = e.c.Inches(0, kBox), d = e.d.Inches(0, kBox);
    switch (e.kind) {
    case g::ElementKind::Rectangle: {
        LayerPoint centre = At(node, a + c / 2, b + d / 2);
        return AddRectangle(ex, s.name, ex.styles.outline, centre.x, centre.y, c, d);
    }
    case g::ElementKind::Ellipse: {
        LayerPoint centre = At(node, a + c / 2, b + d / 2);
        return AddEllipse(ex, s.name, ex.styles.outline, centre.x, centre.y, c / 2, d / 2);
    }
    case g::ElementKind::Line: {
        if (!std::isnan(s.at)) {
            if (a == c)
                a = c = s.at; // vertical
            else
                b = d = s.at; // horizontal
        }
        LayerPoint points[2] = {At(node, a, b), At(node, c, d)};
        if (s.reversed)
            std::swap(points[0], points[1]);
        return AddPolyline(ex, s.name, ex.styles.blackLine, points, 2);
    }
    }
    return nullptr;
}

Oant_Element *AddRaster(const Export &ex, const Vmod_Node *node) {
    Members members;
    std::span<const g::RasterPolyline> polylines = g::RasterPolylines();
    for (size_t k = 0; k < polylines.size(); ++k) {
        const g::RasterPolyline &p = polylines[k];
        LayerPoint points[5];
        int32_t count = static_cast<int32_t>(p.points.size() < 5 ? p.points.size() : 5);
        for (int32_t i = 0; i < count; ++i)
            points[i] = At(node, p.points[i].x, p.points[i].y + p.offsetY);
        const char *name = k == 0 ? "raster_top" : k + 1 == polylines.size() ? "raster_bottom" : "left_side";
        members.Append(AddPolyline(ex, name, ex.styles.blackLine, points, count));
    }
    return AddGroup(ex, "raster", members);
}

} // namespace

Oant_Element *AddGlyph(const Export &ex, const Vmod_Node *node) {
    if (node->type == VMOD_RASTER)
        return AddRaster(ex, node);
    Glyph glyph = GlyphOf(node->type);
    if (glyph.group == nullptr)
        return nullptr;
    std::span<const g::Element> shapes = g::BoxGlyph(node->type);
    Members members;
    for (const Stroke &s : glyph.strokes)
        if (s.index >= 0 && static_cast<size_t>(s.index) < shapes.size())
            members.Append(AddStroke(ex, node, shapes[s.index], s));
    return AddGroup(ex, glyph.group, members);
}

} // namespace vmod::anno
