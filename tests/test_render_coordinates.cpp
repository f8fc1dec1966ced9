// Paper inches <-> canvas pixels and arrow end points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "vmod/vmod.h"

namespace {

Vmod_Model ScreenModel(double perInch, int32_t scrollX, int32_t scrollY) {
    Vmod_Model model{};
    model.pixelsPerInchX = perInch;
    model.pixelsPerInchY = perInch;
    model.scrollX = scrollX;
    model.scrollY = scrollY;
    return model;
}

} // namespace

TEST(vmod_PaperToScreen, TruncatesTowardZeroBeforeTheScrollOffset) {
    Vmod_Model model = ScreenModel(96, 10, 0);
    int32_t sx = 0, sy = 0;
    vmod_PaperToScreen(&model, 1.0, 0.0, &sx, &sy);
    EXPECT_EQ(sx, 86);
    vmod_PaperToScreen(&model, -0.01, 0.0, &sx, &sy);
    EXPECT_EQ(sx, -10); // (int)(-0.96) is 0, not -1
}

TEST(vmod_PaperToScreen, UsesEachAxisOwnScaleAndScroll) {
    Vmod_Model model = ScreenModel(96, 5, 7);
    model.pixelsPerInchY = 72;
    int32_t sx = 0, sy = 0;
    vmod_PaperToScreen(&model, 2.5, 2.5, &sx, &sy);
    EXPECT_EQ(sx, 240 - 5);
    EXPECT_EQ(sy, 180 - 7);
}

TEST(vmod_PaperToScreen, SaturatesInsteadOfOverflowing) {
    Vmod_Model model = ScreenModel(96, -100, 100);
    int32_t sx = 0, sy = 0;
    vmod_PaperToScreen(&model, 1e300, -1e300, &sx, &sy);
    EXPECT_EQ(sx, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(sy, std::numeric_limits<int32_t>::min());
    vmod_PaperToScreen(&model, std::nan(""), 0.0, &sx, &sy);
    EXPECT_EQ(sx, 100);
}

TEST(vmod_PaperToScreen, ToleratesNullArguments) {
    int32_t sx = 5, sy = 5;
    vmod_PaperToScreen(nullptr, 1.0, 1.0, &sx, &sy);
    EXPECT_EQ(sx, 0);
    EXPECT_EQ(sy, 0);
    Vmod_Model model = ScreenModel(96, 0, 0);
    vmod_PaperToScreen(&model, 1.0, 1.0, nullptr, nullptr);
}

TEST(vmod_ScreenToPaper, RoundTripGivesTheWholePixel) {
    Vmod_Model model = ScreenModel(96, 0, 0);
    int32_t sx = 0, sy = 0;
    vmod_PaperToScreen(&model, 1.3, 1.3, &sx, &sy);
    EXPECT_EQ(sx, 124);
    double px = 0, py = 0;
    vmod_ScreenToPaper(&model, sx, sy, &px, &py);
    EXPECT_EQ(px, 124.0 / 96.0);
    EXPECT_EQ(py, 124.0 / 96.0);
}

// A pixel becomes paper inches with the scroll added first; a length converts when the
// scroll is taken off beforehand; a zero scale gives zero, not infinity.
TEST(vmod_ScreenToPaper, AddsTheScrollAndDividesByTheScale) {
    struct Case {
        int32_t perInch, scrollX, scrollY, sx, sy;
        double px, py;
    };
    const Case cases[] = {
        {96, 10, 20, 86, 76, 1.0, 1.0},
        {96, 30, 40, 48 - 30, 24 - 40, 0.5, 0.25},
        {0, 0, 0, 50, 50, 0.0, 0.0},
    };
    for (const Case &c : cases) {
        Vmod_Model model = ScreenModel(c.perInch, c.scrollX, c.scrollY);
        double px = 1, py = 1;
        vmod_ScreenToPaper(&model, c.sx, c.sy, &px, &py);
        EXPECT_EQ(px, c.px) << c.perInch << " " << c.sx;
        EXPECT_EQ(py, c.py) << c.perInch << " " << c.sy;
    }
}

TEST(vmod_ScreenToPaper, ExtremePixelsDoNotWrap) {
    Vmod_Model model = ScreenModel(1, std::numeric_limits<int32_t>::max(), 0);
    double px = 0, py = 0;
    vmod_ScreenToPaper(&model, std::numeric_limits<int32_t>::max(), 0, &px, &py);
    EXPECT_EQ(px, 2.0 * std::numeric_limits<int32_t>::max());
}

// Arrow ends: straight glyphs are left 0.45 inch from the centre, round ones (criteria,
// scalar) 0.5 inch, along the line between the centres; coinciding centres give that
// centre twice.
TEST(vmod_GetCoords, EndsLieOnTheLineBetweenCentresAtTheGlyphRadius) {
    struct Case {
        int32_t fromType;
        double fromX, fromY;
        int32_t toType;
        double toX, toY;
        double x1, y1, x2, y2;
    };
    const Case cases[] = {
        {VMOD_RASTER, 1.0, 3.0, VMOD_FUNCTION, 3.0, 3.0, 1.45, 3.0, 2.5, 3.0},
        {VMOD_CRITERIA, 2.0, 1.0, VMOD_SCALAR, 2.0, 4.0, 2.0, 1.5, 2.0, 3.55},
        {VMOD_TABLE, 0.0, 0.0, VMOD_MATRIX, 3.0, 4.0, 0.45 * 0.6, 0.45 * 0.8, 3.0 - 0.45 * 0.6, 4.0 - 0.45 * 0.8},
        {VMOD_FUNCTION, 2.5, 1.5, VMOD_RASTER, 2.5, 1.5, 2.5, 1.5, 2.5, 1.5},
    };
    for (const Case &c : cases) {
        double x1, y1, x2, y2;
        vmod_GetCoords(c.fromType, c.fromX, c.fromY, c.toType, c.toX, c.toY, &x1, &y1, &x2, &y2);
        EXPECT_DOUBLE_EQ(x1, c.x1) << c.fromType << " to " << c.toType;
        EXPECT_DOUBLE_EQ(y1, c.y1) << c.fromType << " to " << c.toType;
        EXPECT_DOUBLE_EQ(x2, c.x2) << c.fromType << " to " << c.toType;
        EXPECT_DOUBLE_EQ(y2, c.y2) << c.fromType << " to " << c.toType;
    }
}

TEST(vmod_GetCoords, NeverReturnsNonFiniteValues) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const double cases[][4] = {
        {nan, 0, 1, 1}, {0, 0, inf, 0}, {-1e308, 0, 1e308, 0}, {0, 0, 1e-320, 0}, {1e200, 1e200, -1e200, -1e200},
    };
    for (const auto &c : cases) {
        double x1, y1, x2, y2;
        vmod_GetCoords(VMOD_VECTOR, c[0], c[1], VMOD_VECTOR, c[2], c[3], &x1, &y1, &x2, &y2);
        EXPECT_TRUE(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))
            << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
    }
}
