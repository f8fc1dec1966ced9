// The glyph shapes, raster tables, title drops and arrow end points shared by the canvas,
// the printer and the annotation export.
#include "glyph/glyph_geometry.h"

#include <array>
#include <cmath>

namespace vmod::glyph {

double BoxCoord::Units() const {
    double value = static_cast<double>(num) / den;
    switch (step) {
    case GridStep::Fifth: return value + index / 5.0;
    case GridStep::Eighth: return value + index / 8.0;
    case GridStep::None: break;
    }
    return value;
}

double BoxCoord::Canvas(double centre, double size) const {
    double value = centre + num * size / den;
    switch (step) {
    case GridStep::Fifth: return value + index * size * 0.2;
    case GridStep::Eighth: return value + index * size / 8;
    case GridStep::None: break;
    }
    return value;
}

namespace {

constexpr BoxCoord F(int num, int den = 1) {
    return BoxCoord{static_cast<std::int16_t>(num), static_cast<std::int16_t>(den), 0, GridStep::None};
}
constexpr BoxCoord Grid(int num, int den, int index, GridStep step) {
    return BoxCoord{static_cast<std::int16_t>(num), static_cast<std::int16_t>(den), static_cast<std::int8_t>(index),
                    step};
}

constexpr Element Rect(BoxCoord left, BoxCoord top, BoxCoord width, BoxCoord height) {
    return Element{ElementKind::Rectangle, left, top, width, height};
}
constexpr Element Line(BoxCoord x1, BoxCoord y1, BoxCoord x2, BoxCoord y2) {
    return Element{ElementKind::Line, x1, y1, x2, y2};
}
constexpr Element kBoxOutline = Rect(F(-1, 2), F(-1, 2), F(1), F(1));
constexpr Element kInscribedEllipse{ElementKind::Ellipse, F(-1, 2), F(-1, 2), F(1), F(1)};

constexpr Element kVector[] = {
    kBoxOutline,
    Line(F(-1, 2), F(1, 4), F(0), F(-1, 2)),
    Line(F(-1, 4), F(-1, 8), F(1, 2), F(1, 8)),
    // plus mark at (1/4, -1/4)
    Line(F(1, 4), F(-3, 16), F(1, 4), F(-5, 16)),
    Line(F(3, 16), F(-1, 4), F(5, 16), F(-1, 4)),
    // plus mark at (0, 1/4)
    Line(F(0), F(3, 16), F(0), F(5, 16)),
    Line(F(-1, 16), F(1, 4), F(1, 16), F(1, 4)),
};

// A grid glyph: the frame, then the grid lines at indices first..last, each vertical line
// followed by the horizontal one at the same index. The lines run from -1/den to 1/den of
// the box, the grid starting at -1/den with the given step.
template <int First, int Last>
constexpr std::array<Element, 1 + 2 * (Last - First + 1)> GridGlyph(Element frame, int den, GridStep step) {
    std::array<Element, 1 + 2 * (Last - First + 1)> out{};
    out[0] = frame;
    for (int i = First; i <= Last; ++i) {
        BoxCoord at = Grid(-1, den, i, step);
        out[1 + 2 * (i - First)] = Line(at, F(-1, den), at, F(1, den));
        out[2 + 2 * (i - First)] = Line(F(-1, den), at, F(1, den), at);
    }
    return out;
}

// A 5 x 5 grid: the four inner vertical and horizontal lines.
constexpr auto kMatrix = GridGlyph<1, 4>(kBoxOutline, 2, GridStep::Fifth);

constexpr Element kTable[] = {
    kBoxOutline,
    Line(F(-1, 2), F(-1, 3), F(1, 2), F(-1, 3)),
    Line(F(-1, 6), F(-1, 2), F(-1, 6), F(1, 2)),
};

constexpr Element kScalar[] = {Rect(F(-1, 2), F(-3, 8), F(1), F(3, 4))};

constexpr Element kFunction[] = {kInscribedEllipse};

// A 4 x 4 grid over the middle half of the box: five vertical and five horizontal lines.
constexpr auto kCriteria = GridGlyph<0, 4>(kInscribedEllipse, 4, GridStep::Eighth);

} // namespace

std::span<const Element> BoxGlyph(std::int32_t type) {
    switch (type) {
    case VMOD_VECTOR: return kVector;
    case VMOD_MATRIX: return kMatrix;
    case VMOD_TABLE: return kTable;
    case VMOD_SCALAR: return kScalar;
    case VMOD_FUNCTION: return kFunction;
    case VMOD_CRITERIA: return kCriteria;
    default: return {};
    }
}

VerticalExtent HighlightExtent(std::int32_t type) {
    if (type == VMOD_SCALAR) return {F(-3, 8), F(3, 4)};
    return {F(-1, 2), F(1)};
}

// ---------------------------------------------------------------- raster

const Point kRasterTop[5] = {{-0.4, -0.2}, {-0.6, -0.28}, {0, -0.5}, {0.6, -0.28}, {0.4, -0.2}};
const Point kRasterLeftEdge[3] = {{-0.46, -0.22}, {-0.6, -0.18}, {-0.4, -0.1}};
const Point kRasterRightEdge[3] = {{0.46, -0.22}, {0.6, -0.18}, {0.4, -0.1}};
const Point kRasterBottom[5] = {{-0.46, -0.22}, {-0.6, -0.18}, {0, 0.04}, {0.6, -0.18}, {0.46, -0.22}};

std::span<const RasterPolyline> RasterPolylines() {
    static const RasterPolyline polylines[kRasterPolylineCount] = {
        {kRasterTop, 0.0},
        {kRasterLeftEdge, 0 * kRasterLayerStep},
        {kRasterRightEdge, 0 * kRasterLayerStep},
        {kRasterLeftEdge, 1 * kRasterLayerStep},
        {kRasterRightEdge, 1 * kRasterLayerStep},
        {kRasterLeftEdge, 2 * kRasterLayerStep},
        {kRasterRightEdge, 2 * kRasterLayerStep},
        {kRasterLeftEdge, 3 * kRasterLayerStep},
        {kRasterRightEdge, 3 * kRasterLayerStep},
        {kRasterBottom, kRasterBottomOffset},
    };
    return polylines;
}

// ---------------------------------------------------------------- titles

double PrintedTitleDrop(std::int32_t type, bool titled) {
    if (type == VMOD_SCALAR) return titled ? kScalarTitleDrop : 0.64;
    return titled ? kTitleDrop : 0.76;
}

// ---------------------------------------------------------------- arrows

double ArrowRadius(std::int32_t type) {
    return (type == VMOD_FUNCTION || type == VMOD_CRITERIA) ? kRoundRadius : kOtherRadius;
}

ArrowEnds ArrowEndPoints(std::int32_t fromType, double fromX, double fromY, std::int32_t toType, double toX,
                         double toY) {
    double dx = toX - fromX, dy = toY - fromY;
    double len = std::sqrt(dx * dx + dy * dy);
    double inv = 1.0 / len;
    double ux = inv * dx, uy = inv * dy;
    double rFrom = ArrowRadius(fromType), rTo = ArrowRadius(toType);
    ArrowEnds ends{fromX + rFrom * ux, fromY + rFrom * uy, toX - rTo * ux, toY - rTo * uy, true};
    if (std::isfinite(ends.x1) && std::isfinite(ends.y1) && std::isfinite(ends.x2) && std::isfinite(ends.y2))
        return ends;
    // Coinciding centres (or centres too far apart or too close to give a direction):
    // no arrow. The ends stay on the centres so that callers get finite numbers.
    bool centresFinite =
        std::isfinite(fromX) && std::isfinite(fromY) && std::isfinite(toX) && std::isfinite(toY);
    if (!centresFinite) return ArrowEnds{0, 0, 0, 0, false};
    return ArrowEnds{fromX, fromY, toX, toY, false};
}

void ArrowHead(const ArrowEnds &arrow, Point corners[4]) {
    double dx = arrow.x2 - arrow.x1, dy = arrow.y2 - arrow.y1;
    double len = std::sqrt(dx * dx + dy * dy);
    double ux = len > 0 ? dx / len : 0, uy = len > 0 ? dy / len : 1;
    // across the arrow: the direction turned a quarter
    double nx = -uy, ny = ux;
    corners[0] = {arrow.x2 - kHeadLength * ux + kHeadHalfWidth * nx, arrow.y2 - kHeadLength * uy + kHeadHalfWidth * ny};
    corners[1] = {arrow.x2 - kHeadNotch * ux, arrow.y2 - kHeadNotch * uy};
    corners[2] = {arrow.x2 - kHeadLength * ux - kHeadHalfWidth * nx, arrow.y2 - kHeadLength * uy - kHeadHalfWidth * ny};
    corners[3] = {arrow.x2, arrow.y2};
}

} // namespace vmod::glyph
