// glyph_geometry.h - the shapes every back end draws for a node, held once.
//
// Non-text glyphs are given in "box units": (u, v) relative to the node centre, u in units
// of the glyph box width w, v in units of its height h, v downward; the box runs from
// (-1/2, -1/2) to (1/2, 1/2). Each back end picks its own box (canvas pixels, or one inch
// for the printed outputs) and places an element with BoxCoord::Inches or
// BoxCoord::Canvas. The raster glyph ignores the box: it is a fixed drawing in paper
// inches on every back end. Arrows join the glyph edges at fixed radii in inches.
//
// Coordinates are kept as exact fractions (plus an optional grid step) rather than
// doubles so that the canvas can evaluate them with the same arithmetic, and therefore
// the same pixel after truncation, as its drawing rules state ("cy - H/3", not
// "cy + (-0.333..) * H").
#ifndef VMOD_GLYPH_GLYPH_GEOMETRY_H
#define VMOD_GLYPH_GLYPH_GEOMETRY_H

#include <cstdint>
#include <span>

#include "vmod/vmod_records.h"

namespace vmod::glyph {

// ---------------------------------------------------------------- box units

// How a grid line advances from its first line.
enum class GridStep : std::int8_t {
    None,   // a single position
    Fifth,  // i x 1/5 of the box (the matrix grid; the canvas multiplies by 0.2)
    Eighth, // i x 1/8 of the box (the criteria grid)
};

// One coordinate or length of a glyph, in box units: num/den + index x step.
struct BoxCoord {
    std::int16_t num = 0;
    std::int16_t den = 1;
    std::int8_t index = 0;
    GridStep step = GridStep::None;

    // The value in box units.
    double Units() const;
    // The value for a box of size `size` inches around centre `centre` (inches).
    double Inches(double centre, double size) const { return centre + Units() * size; }
    // The canvas value before truncation: centre + num x size / den, then + the grid step,
    // evaluated in that order. Pass centre 0 for a length.
    double Canvas(double centre, double size) const;
};

enum class ElementKind : std::int8_t {
    Rectangle, // outline; a = left, b = top, c = width, d = height
    Line,      // a segment; (a, b) to (c, d)
    Ellipse,   // full ellipse inscribed in the rectangle a = left, b = top, c = width, d = height
};

// One stroke of a glyph. For Rectangle and Ellipse, c and d are lengths (their `Inches`
// or `Canvas` is taken with centre 0).
struct Element {
    ElementKind kind;
    BoxCoord a, b, c, d;
};

// The elements of a box glyph in the canvas drawing order: vector, matrix, table,
// scalar, function, criteria. Empty for raster (see below), text and unknown kinds.
std::span<const Element> BoxGlyph(std::int32_t type);

// The vertical extent of the box glyph's selection box in box units: top and height.
// The scalar covers its own rectangle (three quarters of the box); every other box
// glyph covers the box.
struct VerticalExtent {
    BoxCoord top, height;
};
VerticalExtent HighlightExtent(std::int32_t type);

// ---------------------------------------------------------------- raster (paper inches)

struct Point {
    double x, y;
};

// The raster glyph's constant tables, in inches relative to the node centre, y down.
// A table is drawn by adding the node centre and a layer offset (y only) to each point.
extern const Point kRasterTop[5];
extern const Point kRasterLeftEdge[3];
extern const Point kRasterRightEdge[3];
extern const Point kRasterBottom[5]; // layer offset taken out: drawn with kRasterBottomOffset
inline constexpr int kRasterLayerEdges = 4;       // k = 0..3
inline constexpr double kRasterLayerStep = 0.1;   // y offset of edge pair k is k x 0.1
inline constexpr double kRasterBottomOffset = 0.4; // 4 x 0.1

// One polyline of the raster glyph: a table and the y offset to draw it with.
struct RasterPolyline {
    std::span<const Point> points;
    double offsetY;
};
inline constexpr int kRasterPolylineCount = 10;
// The ten polylines in drawing order: top; left and right edge for k = 0..3; bottom.
std::span<const RasterPolyline> RasterPolylines();

// Extent of the raster glyph around its centre, inches (also its selection box).
inline constexpr double kRasterLeft = -0.6, kRasterRight = 0.6;
inline constexpr double kRasterTopEdge = -0.5, kRasterBottomEdge = 0.44;

// ---------------------------------------------------------------- titles

// Printed outputs (PostScript, printer): the title sits this far below the centre,
// inches; "?" of an untitled node a further kUntitledExtraDrop lower.
inline constexpr double kTitleDrop = 0.67;
inline constexpr double kScalarTitleDrop = 0.55;
inline constexpr double kUntitledExtraDrop = 0.09;
double PrintedTitleDrop(std::int32_t type, bool titled);

// Canvas: the title's reference y is this many pixels below the box plus the text height.
inline constexpr double kCanvasTitleGap = 3.0;

// ---------------------------------------------------------------- arrows

// Distance, inches, from a node centre to where its arrows start or end: 0.5 for the
// round glyphs (function, criteria), 0.45 for every other kind.
inline constexpr double kRoundRadius = 0.5;
inline constexpr double kOtherRadius = 0.45;
double ArrowRadius(std::int32_t type);

// An arrow's end points in paper inches. `drawable` is false when the two centres
// coincide: there is no direction, both ends are that centre, and no back end draws it.
struct ArrowEnds {
    double x1, y1, x2, y2;
    bool drawable;
};
ArrowEnds ArrowEndPoints(std::int32_t fromType, double fromX, double fromY, std::int32_t toType, double toX,
                         double toY);

// The arrow head drawn on the editor's canvas: a filled quadrilateral with its tip on the
// arrow's end, given as offsets in inches along the arrow (back from the tip) and across
// it. Corners in order: back left, notch, back right, tip.
inline constexpr double kHeadLength = 0.125;
inline constexpr double kHeadNotch = 0.096;
inline constexpr double kHeadHalfWidth = 0.04;
// The four corners of the head of an arrow from (x1, y1) to (x2, y2), inches; the arrow
// must be drawable.
void ArrowHead(const ArrowEnds &arrow, Point corners[4]);

} // namespace vmod::glyph

#endif
