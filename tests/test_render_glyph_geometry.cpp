// The shared glyph shapes: box glyphs, raster tables, title drops, arrow ends.
#include <gtest/gtest.h>

#include <cmath>

#include "glyph/glyph_geometry.h"

using namespace vmod::glyph;

TEST(GlyphGeometry, RasterPolylinesSpanTheFixedExtent) {
    auto lines = RasterPolylines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kRasterPolylineCount));
    double minX = 1, maxX = -1, minY = 1, maxY = -1;
    for (const RasterPolyline &line : lines)
        for (const Point &p : line.points) {
            minX = std::fmin(minX, p.x);
            maxX = std::fmax(maxX, p.x);
            minY = std::fmin(minY, p.y + line.offsetY);
            maxY = std::fmax(maxY, p.y + line.offsetY);
        }
    EXPECT_EQ(minX, kRasterLeft);
    EXPECT_EQ(maxX, kRasterRight);
    EXPECT_EQ(minY, kRasterTopEdge);
    EXPECT_DOUBLE_EQ(maxY, kRasterBottomEdge);
}

TEST(GlyphGeometry, RasterBottomWithOffsetIsTheBottomOutline) {
    const Point expected[5] = {{-0.46, 0.18}, {-0.6, 0.22}, {0, 0.44}, {0.6, 0.22}, {0.46, 0.18}};
    auto bottom = RasterPolylines().back();
    ASSERT_EQ(bottom.points.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(bottom.points[i].x, expected[i].x);
        EXPECT_DOUBLE_EQ(bottom.points[i].y + bottom.offsetY, expected[i].y);
    }
}

TEST(GlyphGeometry, RasterLayerEdgesStepDownByATenth) {
    auto lines = RasterPolylines();
    for (int k = 0; k < kRasterLayerEdges; ++k) {
        EXPECT_EQ(lines[1 + 2 * k].points.data(), kRasterLeftEdge);
        EXPECT_EQ(lines[2 + 2 * k].points.data(), kRasterRightEdge);
        EXPECT_DOUBLE_EQ(lines[1 + 2 * k].offsetY, 0.1 * k);
    }
}

TEST(GlyphGeometry, BoxGlyphsStayInsideTheBox) {
    for (int32_t type : {VMOD_VECTOR, VMOD_MATRIX, VMOD_TABLE, VMOD_SCALAR, VMOD_FUNCTION, VMOD_CRITERIA}) {
        auto elements = BoxGlyph(type);
        ASSERT_FALSE(elements.empty()) << type;
        for (const Element &e : elements) {
            double x1 = e.a.Units(), y1 = e.b.Units(), x2 = e.c.Units(), y2 = e.d.Units();
            if (e.kind != ElementKind::Line) {
                x2 += x1;
                y2 += y1;
            }
            for (double v : {x1, y1, x2, y2}) {
                EXPECT_GE(v, -0.5) << type;
                EXPECT_LE(v, 0.5) << type;
            }
        }
    }
    EXPECT_TRUE(BoxGlyph(VMOD_RASTER).empty());
    EXPECT_TRUE(BoxGlyph(VMOD_TEXT).empty());
    EXPECT_TRUE(BoxGlyph(99).empty());
}

TEST(GlyphGeometry, ElementCountsPerKind) {
    EXPECT_EQ(BoxGlyph(VMOD_VECTOR).size(), 7u);
    EXPECT_EQ(BoxGlyph(VMOD_MATRIX).size(), 9u);
    EXPECT_EQ(BoxGlyph(VMOD_TABLE).size(), 3u);
    EXPECT_EQ(BoxGlyph(VMOD_SCALAR).size(), 1u);
    EXPECT_EQ(BoxGlyph(VMOD_FUNCTION).size(), 1u);
    EXPECT_EQ(BoxGlyph(VMOD_CRITERIA).size(), 11u);
}

TEST(GlyphGeometry, GridsInBoxUnits) {
    auto matrix = BoxGlyph(VMOD_MATRIX);
    EXPECT_DOUBLE_EQ(matrix[1].a.Units(), -0.3); // first vertical
    EXPECT_DOUBLE_EQ(matrix[8].b.Units(), 0.3);  // last horizontal
    auto criteria = BoxGlyph(VMOD_CRITERIA);
    EXPECT_EQ(criteria[1].a.Units(), -0.25);
    EXPECT_EQ(criteria[10].b.Units(), 0.25);
    EXPECT_EQ(criteria[5].a.Units(), 0.0);
}

TEST(GlyphGeometry, InchesPlacesABoxOfAnySize) {
    const Element &outline = BoxGlyph(VMOD_SCALAR)[0];
    EXPECT_EQ(outline.a.Inches(3.0, 1.0), 2.5);
    EXPECT_EQ(outline.b.Inches(2.0, 1.0), 1.625);
    EXPECT_EQ(outline.d.Inches(0.0, 1.0), 0.75);
}

TEST(GlyphGeometry, CanvasEvaluatesInTheCanvasOrder) {
    // cy - H/3 rather than cy + (-1/3) x H: the two differ in the last bit for some H.
    const Element &row = BoxGlyph(VMOD_TABLE)[1];
    for (double h = 1; h < 400; h += 0.37) EXPECT_EQ(row.b.Canvas(100.0, h), 100.0 - h / 3);
    const Element &grid = BoxGlyph(VMOD_MATRIX)[5]; // third vertical, i = 3
    for (double w = 1; w < 400; w += 0.37) EXPECT_EQ(grid.a.Canvas(50.0, w), 50.0 - w / 2 + 3 * w * 0.2);
}

TEST(GlyphGeometry, HighlightExtentOfScalarIsItsRectangle) {
    EXPECT_EQ(HighlightExtent(VMOD_SCALAR).top.Units(), -0.375);
    EXPECT_EQ(HighlightExtent(VMOD_SCALAR).height.Units(), 0.75);
    EXPECT_EQ(HighlightExtent(VMOD_VECTOR).top.Units(), -0.5);
    EXPECT_EQ(HighlightExtent(VMOD_VECTOR).height.Units(), 1.0);
}

TEST(GlyphGeometry, PrintedTitleDrops) {
    EXPECT_EQ(PrintedTitleDrop(VMOD_VECTOR, true), 0.67);
    EXPECT_EQ(PrintedTitleDrop(VMOD_VECTOR, false), 0.76);
    EXPECT_EQ(PrintedTitleDrop(VMOD_SCALAR, true), 0.55);
    EXPECT_EQ(PrintedTitleDrop(VMOD_SCALAR, false), 0.64);
}

TEST(GlyphGeometry, ArrowEndPointsOfCoincidingCentresAreNotDrawable) {
    ArrowEnds ends = ArrowEndPoints(VMOD_RASTER, 1, 1, VMOD_VECTOR, 1, 1);
    EXPECT_FALSE(ends.drawable);
    EXPECT_TRUE(ArrowEndPoints(VMOD_RASTER, 1, 1, VMOD_VECTOR, 2, 1).drawable);
}

TEST(GlyphGeometry, ArrowHeadPointsAlongTheArrow) {
    ArrowEnds ends = ArrowEndPoints(VMOD_VECTOR, 0, 0, VMOD_VECTOR, 2, 0); // to the right
    Point head[4];
    ArrowHead(ends, head);
    EXPECT_DOUBLE_EQ(head[3].x, 1.55);
    EXPECT_DOUBLE_EQ(head[0].x, 1.55 - kHeadLength);
    EXPECT_DOUBLE_EQ(head[2].x, 1.55 - kHeadLength);
    EXPECT_DOUBLE_EQ(std::fabs(head[0].y - head[2].y), 2 * kHeadHalfWidth);
    EXPECT_DOUBLE_EQ(head[1].x, 1.55 - kHeadNotch);
}
