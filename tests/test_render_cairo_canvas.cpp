// The drawing canvas: real pixels, exclusive-or drawing, fontconfig fonts, PNG output.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <array>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ooml.h"
#include "vmodhost/vmodhost.h"
#include "support/png_pixels.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

// A fixed pseudo-random sequence: next(range) gives 0..range-1, the same on every run.
struct Draws {
    uint32_t seed;
    int32_t operator()(int32_t range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(range));
    }
};

struct CairoKeeper {
    Ooml_Canvas *canvas;
    CairoKeeper(int32_t w = 120, int32_t h = 90, uint32_t background = kWhite)
        : canvas(vmodhost_CairoCanvasCreate(w, h, background)) {}
    ~CairoKeeper() { vmodhost_CanvasDelete(canvas); }
    uint32_t At(int32_t x, int32_t y) const { return vmodhost_CairoCanvasPixel(canvas, x, y); }
    std::vector<uint32_t> Snapshot(int32_t w = 120, int32_t h = 90) const {
        std::vector<uint32_t> pixels;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) pixels.push_back(At(x, y));
        return pixels;
    }
    int InkCount(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t background = kWhite) const {
        int n = 0;
        for (int32_t y = y0; y <= y1; ++y)
            for (int32_t x = x0; x <= x1; ++x) n += At(x, y) != background;
        return n;
    }
};

struct Report {
    Oerr_ErrorReport *report = nullptr;
    ~Report() { oerr_DeleteErrorReportEx(&report); }
    Oerr_ErrorReport **Slot() {
        oerr_DeleteErrorReportEx(&report);
        return &report;
    }
};

// Draws a little of everything in the current mode and colour.
void DrawEverything(Ooml_Canvas *canvas, Report &err) {
    ooml_CanvasDrawLine(canvas, 0, 0, 3, 4, 100, 70, err.Slot());
    ooml_CanvasDrawRectangle(canvas, 0, 0, 10, 10, 40, 30, err.Slot());
    ooml_CanvasDrawArc(canvas, 0, 0, 20, 15, 60, 50, 0, 23040, err.Slot());
    const int32_t points[] = {5, 80, 60, 20, 115, 80, 5, 80};
    ooml_CanvasDrawPolyline(canvas, 0, 0, points, 4, err.Slot());
    ooml_CanvasContextSetFont(canvas, "DejaVu Sans:bold:size=12", err.Slot());
    ooml_CanvasContextSetJustification(canvas, 1, err.Slot());
    ooml_CanvasDrawText(canvas, "Xor me", 60, 60, err.Slot());
    ooml_CanvasFillRectangle(canvas, 0, 0, 30, 40, 50, 25, err.Slot());
}

} // namespace

TEST(vmodhost_CairoCanvasCreate, RefusesImpossibleSizes) {
    EXPECT_EQ(vmodhost_CairoCanvasCreate(0, 10, kWhite), nullptr);
    EXPECT_EQ(vmodhost_CairoCanvasCreate(10, -1, kWhite), nullptr);
    EXPECT_EQ(vmodhost_CairoCanvasCreate(16385, 10, kWhite), nullptr);
}

TEST(vmodhost_CairoCanvasCreate, StartsAsBackground) {
    CairoKeeper c(8, 6, 0x123456);
    ASSERT_NE(c.canvas, nullptr);
    EXPECT_EQ(c.At(0, 0), 0x123456u);
    EXPECT_EQ(c.At(7, 5), 0x123456u);
}

TEST(vmodhost_CairoCanvasPixel, OutsideTheImageOrOtherCanvas) {
    CairoKeeper c(8, 6);
    EXPECT_EQ(c.At(8, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c.At(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c.At(0, 6), 0xFFFFFFFFu);
    Ooml_Canvas *recording = vmodhost_RecordingCanvasCreate("canvas");
    EXPECT_EQ(vmodhost_CairoCanvasPixel(recording, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(vmodhost_CairoCanvasWritePng(recording, "/dev/null"), 0);
    vmodhost_CanvasDelete(recording);
    EXPECT_EQ(vmodhost_CairoCanvasPixel(nullptr, 0, 0), 0xFFFFFFFFu);
}

TEST(ooml_CanvasDrawLine, IncludesBothEndPixels) {
    CairoKeeper c;
    Report err;
    ooml_CanvasContextSetForeground(c.canvas, kBlack, err.Slot());
    ooml_CanvasDrawLine(c.canvas, 0, 0, 10, 20, 30, 20, err.Slot());
    for (int x = 10; x <= 30; ++x) EXPECT_EQ(c.At(x, 20), kBlack) << x;
    EXPECT_EQ(c.At(9, 20), kWhite);
    EXPECT_EQ(c.At(31, 20), kWhite);
    EXPECT_EQ(c.At(20, 19), kWhite);
    EXPECT_EQ(c.At(20, 21), kWhite);
    ooml_CanvasDrawLine(c.canvas, 0, 0, 50, 5, 50, 15, err.Slot());
    EXPECT_EQ(c.InkCount(49, 0, 51, 89), 11);
}

// A line is drawn only along its own pixels, not over its whole box: every pixel Cairo
// covers when it strokes the whole segment on its own must still be drawn, for steep,
// shallow, level, upright and very short lines. (A line reaching out of the image is
// first cut at a margin around it, which can move a pixel, so these stay inside.)
TEST(ooml_CanvasDrawLine, DrawsEveryPixelCairoCoversAndNoOther) {
    constexpr int32_t w = 300, h = 200;
    Draws next(777);
    for (int i = 0; i < 2000; ++i) {
        int32_t x1 = next(w), y1 = next(h), x2 = next(w), y2 = next(h);
        if (i % 8 == 1) y2 = y1;
        if (i % 8 == 2) x2 = x1;
        if (i % 8 == 3) x2 = std::clamp(x1 + next(5) - 2, 0, w - 1), y2 = std::clamp(y1 + next(5) - 2, 0, h - 1);
        if (i % 8 == 4) y2 = std::clamp(y1 + next(3) - 1, 0, h - 1);
        if (i % 8 == 5) x2 = std::clamp(x1 + next(3) - 1, 0, w - 1);
        // Diagonals, where the outline's corners fall on row centres, and lines one or
        // two steps off them.
        if (i % 8 == 6) {
            const int32_t d = std::min({x1, y1, w - 1 - x1, h - 1 - y1}) + next(3);
            x2 = std::clamp(x1 + (next(2) ? d : -d), 0, w - 1);
            y2 = std::clamp(y1 + (next(2) ? d : -d) + next(3) - 1, 0, h - 1);
        }
        CairoKeeper c(w, h);
        ooml_CanvasContextSetForeground(c.canvas, kBlack, nullptr);
        ooml_CanvasDrawLine(c.canvas, 0, 0, x1, y1, x2, y2, nullptr);

        cairo_surface_t *mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
        cairo_t *cr = cairo_create(mask);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_line_width(cr, 1);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
        cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
        cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
        cairo_stroke(cr);
        cairo_destroy(cr);
        cairo_surface_flush(mask);
        const unsigned char *coverage = cairo_image_surface_get_data(mask);
        const int stride = cairo_image_surface_get_stride(mask);
        int differing = 0;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                differing += (coverage[y * stride + x] != 0) != (c.At(x, y) == kBlack);
        cairo_surface_destroy(mask);
        EXPECT_EQ(differing, 0) << "line " << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
}

// Copy mode strokes straight into the image or sets level and upright lines itself,
// exclusive-or mode draws through the mask: both must cover the same pixels for every
// outline shape.
TEST(ooml_CanvasContextSetDrawMode, CopyAndExclusiveOrCoverTheSamePixels) {
    Draws next(99);
    for (int i = 0; i < 1000; ++i) {
        const int32_t x = next(100) - 10, y = next(80) - 10, w = next(60), h = next(50);
        const int32_t start = next(23040), extent = next(46080) - 23040;
        const int32_t points[] = {next(120), next(90), next(120), next(90), next(120), next(90), next(120), next(90)};
        // Level and upright steps, some of zero length, some turning straight back, some
        // leaving the canvas.
        int32_t steps[12] = {next(120), next(90)};
        for (int k = 1; k < 6; ++k) {
            const bool level = next(2) == 0;
            steps[2 * k] = level ? next(4) == 0 ? steps[2 * k - 2] : next(140) - 10 : steps[2 * k - 2];
            steps[2 * k + 1] = level ? steps[2 * k - 1] : next(110) - 10;
        }
        CairoKeeper copy, flip;
        ooml_CanvasContextSetForeground(copy.canvas, kBlack, nullptr);
        ooml_CanvasContextSetDrawMode(flip.canvas, 3, nullptr);
        ooml_CanvasContextSetForeground(flip.canvas, kWhite, nullptr);
        for (Ooml_Canvas *canvas : {copy.canvas, flip.canvas}) {
            switch (i % 5) {
            case 4: ooml_CanvasDrawPolyline(canvas, 0, 0, steps, 6, nullptr); break;
            case 0: ooml_CanvasDrawArc(canvas, 0, 0, x, y, w, h, start, extent, nullptr); break;
            case 1: ooml_CanvasDrawRectangle(canvas, 0, 0, x, y, w, h, nullptr); break;
            case 2: ooml_CanvasDrawPolyline(canvas, 0, 0, points, 4, nullptr); break;
            // Some lines run far past the canvas and are cut at its edges first.
            default:
                if (i % 10 == 8)
                    ooml_CanvasDrawLine(canvas, 0, 0, points[0] * 97 - 5000, points[1] * 61 - 2000,
                                        points[2] * 89 - 5000, points[3] - 45, nullptr);
                else
                    ooml_CanvasDrawLine(canvas, 0, 0, points[0], points[1], points[2], points[3], nullptr);
                break;
            }
        }
        EXPECT_EQ(copy.Snapshot(), flip.Snapshot()) << "shape " << i;
    }
}

// A polyline drawn again elsewhere reuses the pixels found the first time: every copy
// must still be what a fresh canvas draws there, sharp miters and canvas edges included.
TEST(ooml_CanvasDrawPolyline, ARepeatedShapeDrawsWhatAFreshCanvasDraws) {
    constexpr int32_t w = 200, h = 150;
    Draws next(4242);
    for (int i = 0; i < 300; ++i) {
        const int32_t count = 3 + next(4), mode = i % 2 ? 3 : 1;
        int32_t shape[12];
        for (int32_t k = 0; k < 2 * count; ++k) shape[k] = next(24);
        int32_t at[3][2];
        for (auto &p : at) p[0] = next(w + 40) - 20, p[1] = next(h + 40) - 20;
        auto drawAt = [&](Ooml_Canvas *canvas, const int32_t *p) {
            int32_t moved[12];
            for (int32_t k = 0; k < count; ++k) moved[2 * k] = shape[2 * k] + p[0], moved[2 * k + 1] = shape[2 * k + 1] + p[1];
            ooml_CanvasDrawPolyline(canvas, 0, 0, moved, count, nullptr);
        };
        CairoKeeper repeated(w, h), fresh[3] = {{w, h}, {w, h}, {w, h}};
        for (Ooml_Canvas *canvas : {repeated.canvas, fresh[0].canvas, fresh[1].canvas, fresh[2].canvas}) {
            ooml_CanvasContextSetDrawMode(canvas, mode, nullptr);
            ooml_CanvasContextSetForeground(canvas, mode == 3 ? kWhite : kBlack, nullptr);
        }
        for (int k = 0; k < 3; ++k) {
            drawAt(repeated.canvas, at[k]);
            drawAt(fresh[k].canvas, at[k]);
        }
        // Where the copies overlap, exclusive-or ink cancels: compare ink counts by parity.
        int differing = 0;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                int inked = 0;
                for (const CairoKeeper &f : fresh) inked += f.At(x, y) != kWhite;
                const bool expected = mode == 3 ? inked % 2 == 1 : inked > 0;
                differing += expected != (repeated.At(x, y) != kWhite);
            }
        EXPECT_EQ(differing, 0) << "shape " << i;
    }
}

TEST(ooml_CanvasDrawRectangle, OutlineCoversWidthPlusOne) {
    CairoKeeper c;
    Report err;
    ooml_CanvasContextSetForeground(c.canvas, 0x00FF00, err.Slot());
    ooml_CanvasDrawRectangle(c.canvas, 0, 0, 5, 6, 10, 20, err.Slot());
    EXPECT_EQ(c.At(5, 6), 0x00FF00u);
    EXPECT_EQ(c.At(15, 6), 0x00FF00u);
    EXPECT_EQ(c.At(15, 26), 0x00FF00u);
    EXPECT_EQ(c.At(5, 26), 0x00FF00u);
    EXPECT_EQ(c.At(10, 16), kWhite);
    EXPECT_EQ(c.At(16, 16), kWhite);
    EXPECT_EQ(c.At(4, 16), kWhite);
    EXPECT_EQ(c.InkCount(0, 0, 119, 89), 2 * 11 + 2 * 19);
}

TEST(ooml_CanvasFillRectangle, FillsWidthByHeight) {
    CairoKeeper c;
    Report err;
    ooml_CanvasContextSetForeground(c.canvas, 0xABCDEF, err.Slot());
    ooml_CanvasFillRectangle(c.canvas, 0, 0, 5, 6, 3, 2, err.Slot());
    EXPECT_EQ(c.InkCount(0, 0, 119, 89), 6);
    EXPECT_EQ(c.At(5, 6), 0xABCDEFu);
    EXPECT_EQ(c.At(7, 7), 0xABCDEFu);
    EXPECT_EQ(c.At(8, 7), kWhite);
    ooml_CanvasFillRectangle(c.canvas, 0, 0, 50, 50, 0, 5, err.Slot());
    ooml_CanvasFillRectangle(c.canvas, 0, 0, 50, 50, -4, 5, err.Slot());
    EXPECT_EQ(c.InkCount(0, 0, 119, 89), 6);
}

TEST(ooml_CanvasDrawArc, FullEllipseTouchesItsBox) {
    CairoKeeper c;
    Report err;
    ooml_CanvasContextSetForeground(c.canvas, kBlack, err.Slot());
    ooml_CanvasDrawArc(c.canvas, 0, 0, 10, 10, 40, 20, 0, 23040, err.Slot());
    EXPECT_EQ(c.At(30, 10), kBlack); // top middle
    EXPECT_EQ(c.At(30, 30), kBlack); // bottom middle
    EXPECT_EQ(c.At(10, 20), kBlack); // left middle
    EXPECT_EQ(c.At(50, 20), kBlack); // right middle
    EXPECT_EQ(c.At(30, 20), kWhite); // centre
    EXPECT_EQ(c.At(11, 11), kWhite); // box corner, outside the ellipse
    EXPECT_EQ(c.InkCount(0, 0, 119, 9), 0);
    EXPECT_EQ(c.InkCount(0, 31, 119, 89), 0);
}

TEST(ooml_CanvasDrawArc, HalfArcIsTheUpperHalf) {
    CairoKeeper c;
    Report err;
    ooml_CanvasDrawArc(c.canvas, 0, 0, 10, 10, 40, 40, 0, 180 * 64, err.Slot());
    EXPECT_EQ(c.At(30, 10), kBlack);
    EXPECT_EQ(c.InkCount(0, 33, 119, 89), 0);
}

TEST(ooml_CanvasDrawPolyline, JoinsThePoints) {
    CairoKeeper c;
    Report err;
    const int32_t points[] = {10, 10, 30, 10, 30, 40};
    ooml_CanvasDrawPolyline(c.canvas, 0, 0, points, 3, err.Slot());
    EXPECT_EQ(c.At(20, 10), kBlack);
    EXPECT_EQ(c.At(30, 25), kBlack);
    EXPECT_EQ(c.At(30, 40), kBlack);
    EXPECT_EQ(c.At(10, 25), kWhite); // open: not closed back to the start
    EXPECT_EQ(c.InkCount(0, 0, 119, 89), 21 + 30);
}

TEST(ooml_CanvasDrawLine, HugeCoordinatesAreClippedNotWrapped) {
    CairoKeeper c;
    Report err;
    ooml_CanvasDrawLine(c.canvas, 0, 0, INT32_MIN, 45, INT32_MAX, 45, err.Slot());
    EXPECT_EQ(c.InkCount(0, 45, 119, 45), 120);
    EXPECT_EQ(c.InkCount(0, 0, 119, 44) + c.InkCount(0, 46, 119, 89), 0);
    ooml_CanvasDrawRectangle(c.canvas, 0, 0, INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX, err.Slot());
    ooml_CanvasDrawArc(c.canvas, 0, 0, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 23040, err.Slot());
    ooml_CanvasFillRectangle(c.canvas, 0, 0, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, err.Slot());
    ooml_CanvasDrawText(c.canvas, "far", INT32_MIN, INT32_MAX, err.Slot());
    EXPECT_EQ(c.InkCount(0, 0, 119, 44) + c.InkCount(0, 46, 119, 89), 0);
}

TEST(ooml_CanvasContextSetDrawMode, ExclusiveOrFlipsTheColourBits) {
    CairoKeeper c;
    Report err;
    ooml_CanvasContextSetForeground(c.canvas, 0x3366CC, err.Slot());
    ooml_CanvasContextSetDrawMode(c.canvas, 3, err.Slot());
    ooml_CanvasFillRectangle(c.canvas, 0, 0, 0, 0, 4, 4, err.Slot());
    EXPECT_EQ(c.At(1, 1), 0xFFFFFFu ^ 0x3366CCu);
    ooml_CanvasContextSetDrawMode(c.canvas, 7, err.Slot());
    EXPECT_NE(err.report, nullptr);
}

TEST(ooml_CanvasContextSetDrawMode, SameDrawingTwiceInXorRestoresEveryPixel) {
    CairoKeeper c;
    Report err;
    // A picture to draw over, in copy mode and several colours.
    ooml_CanvasContextSetForeground(c.canvas, 0x884422, err.Slot());
    DrawEverything(c.canvas, err);
    ooml_CanvasContextSetForeground(c.canvas, 0x0055AA, err.Slot());
    ooml_CanvasFillRectangle(c.canvas, 0, 0, 0, 0, 20, 90, err.Slot());
    const std::vector<uint32_t> before = c.Snapshot();

    ooml_CanvasContextSetDrawMode(c.canvas, 3, err.Slot());
    ooml_CanvasContextSetForeground(c.canvas, 0x3366CC, err.Slot());
    DrawEverything(c.canvas, err);
    const std::vector<uint32_t> during = c.Snapshot();
    EXPECT_NE(during, before);
    DrawEverything(c.canvas, err);
    EXPECT_EQ(c.Snapshot(), before);
}

TEST(ooml_CanvasContextSetFontSpec, UnknownFamilyCannotBeUsed) {
    CairoKeeper c;
    Report err;
    Ooml_FontSpec *spec = ooml_CanvasFontSpecCreate("No Such Family Anywhere", 0, 12, err.Slot());
    ooml_CanvasContextSetFontSpec(c.canvas, spec, err.Slot());
    EXPECT_NE(err.report, nullptr);
    ooml_CanvasFontSpecFree(spec);

    spec = ooml_CanvasFontSpecCreate("Liberation Serif", 3, 12, err.Slot());
    ooml_CanvasContextSetFontSpec(c.canvas, spec, err.Slot());
    EXPECT_EQ(err.report, nullptr);
    ooml_CanvasFontSpecFree(spec);
}

// Text nodes name the printer's font families; fontconfig serves them through its aliases
// (a metric-compatible sans for Helvetica, a serif for Times) and they keep their style.
TEST(ooml_CanvasContextSetFontSpec, PrinterFamiliesAreServedByTheirAliases) {
    CairoKeeper c;
    Report err;
    for (const char *family : {"Helvetica", "Times", "Courier", "New Century Schoolbook"}) {
        Ooml_FontSpec *spec = ooml_CanvasFontSpecCreate(family, 1, 12, err.Slot());
        ooml_CanvasContextSetFontSpec(c.canvas, spec, err.Slot());
        EXPECT_EQ(err.report, nullptr) << family;
        ooml_CanvasFontSpecFree(spec);
    }
}

TEST(ooml_CanvasContextGetStringExtents, RealMetricsGrowWithTextAndSize) {
    CairoKeeper c;
    Report err;
    int32_t x1 = -1, x2 = -1, y1 = -1, y2 = -1;
    ooml_CanvasContextSetFont(c.canvas, "DejaVu Sans:size=10", err.Slot());
    ooml_CanvasContextGetStringExtents(c.canvas, "i", &x1, &x2, &y1, &y2, err.Slot());
    int32_t narrow = x2 - x1, small = y2 - y1;
    ooml_CanvasContextGetStringExtents(c.canvas, "WWWW", &x1, &x2, &y1, &y2, err.Slot());
    EXPECT_EQ(x1, 0);
    EXPECT_GT(x2 - x1, 4 * narrow);
    EXPECT_EQ(y2 - y1, small); // the font's height, not the ink's
    EXPECT_GE(small, 13);      // 10 points at 96 per inch is 13.3 pixels before line spacing
    ooml_CanvasContextSetFont(c.canvas, "DejaVu Sans:size=20", err.Slot());
    ooml_CanvasContextGetStringExtents(c.canvas, "WWWW", &x1, &x2, &y1, &y2, err.Slot());
    EXPECT_GT(y2 - y1, small * 3 / 2);
    EXPECT_EQ(err.report, nullptr);
}

TEST(ooml_CanvasDrawText, CentredOnXAndAboveY) {
    CairoKeeper c(200, 100);
    Report err;
    ooml_CanvasContextSetFont(c.canvas, "DejaVu Sans:size=14", err.Slot());
    ooml_CanvasContextSetJustification(c.canvas, 1, err.Slot());
    int32_t x1, x2, y1, y2;
    ooml_CanvasContextGetStringExtents(c.canvas, "Mmmm", &x1, &x2, &y1, &y2, err.Slot());
    ooml_CanvasDrawText(c.canvas, "Mmmm", 100, 60, err.Slot());
    int left = c.InkCount(0, 0, 99, 99, kWhite), right = c.InkCount(100, 0, 199, 99, kWhite);
    EXPECT_GT(left, 20);
    EXPECT_GT(right, 20);
    EXPECT_EQ(c.InkCount(0, 61, 199, 99), 0);          // nothing below y
    EXPECT_EQ(c.InkCount(0, 0, 199, 60 - (y2 - y1) - 1), 0); // nothing above the text's height
    int32_t half = (x2 - x1) / 2;
    EXPECT_EQ(c.InkCount(0, 0, 100 - half - 2, 99), 0);
    EXPECT_EQ(c.InkCount(100 + half + 2, 0, 199, 99), 0);
}

TEST(ooml_CanvasDrawText, LatinOneBytesAreDrawnNotRefused) {
    CairoKeeper c(200, 100);
    Report err;
    ooml_CanvasDrawText(c.canvas, "caf\xe9 \xff", 10, 50, err.Slot());
    EXPECT_EQ(err.report, nullptr);
    EXPECT_GT(c.InkCount(0, 0, 199, 99), 10);
}

TEST(vmodhost_CairoCanvasWritePng, WritesAPngFile) {
    CairoKeeper c(16, 8);
    std::string path = std::string(VMOD_BINARY_DIR) + "/test_render_cairo_canvas.png";
    ASSERT_EQ(vmodhost_CairoCanvasWritePng(c.canvas, path.c_str()), 1);
    FILE *f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char magic[8] = {};
    EXPECT_EQ(std::fread(magic, 1, 8, f), 8u);
    std::fclose(f);
    std::remove(path.c_str());
    EXPECT_EQ(std::string(reinterpret_cast<char *>(magic + 1), 3), "PNG");
    EXPECT_EQ(vmodhost_CairoCanvasWritePng(c.canvas, "/nonexistent-dir/x.png"), 0);
}

TEST(ooml_CanvasDrawText, LineFeedsStackLinesUpwardFromY) {
    CairoKeeper c(200, 120);
    Report err;
    ooml_CanvasContextSetFont(c.canvas, "DejaVu Sans:size=14", err.Slot());
    ooml_CanvasContextSetJustification(c.canvas, 1, err.Slot());
    int32_t x1, x2, y1, y2;
    ooml_CanvasContextGetStringExtents(c.canvas, "Mm", &x1, &x2, &y1, &y2, err.Slot());
    const int32_t line = y2 - y1, oneWide = x2 - x1;
    ooml_CanvasContextGetStringExtents(c.canvas, "Mm\r\nMmMm\nMm", &x1, &x2, &y1, &y2, err.Slot());
    EXPECT_EQ(y2 - y1, 3 * line); // three lines, the carriage return no glyph of its own
    EXPECT_EQ(x2 - x1, 2 * oneWide);
    ooml_CanvasDrawText(c.canvas, "Mm\nMm", 100, 100, err.Slot());
    EXPECT_EQ(err.report, nullptr);
    // Ink in each line's band and none between, above or below them.
    EXPECT_GT(c.InkCount(0, 100 - 2 * line, 199, 100 - line - 1), 20);
    EXPECT_GT(c.InkCount(0, 100 - line, 199, 100), 20);
    EXPECT_EQ(c.InkCount(0, 0, 199, 100 - 2 * line - 1), 0);
    EXPECT_EQ(c.InkCount(0, 101, 199, 119), 0);
    // Each line centred on x on its own: no wider than one line.
    EXPECT_EQ(c.InkCount(0, 0, 100 - oneWide / 2 - 2, 119), 0);
    EXPECT_EQ(c.InkCount(100 + oneWide / 2 + 2, 0, 199, 119), 0);
}

// Faces a note may name that the system lacks are drawn in their kind, as the printed
// outputs draw them: Charter in a serif, the backup "fixed" in a fixed-pitch face.
TEST(ooml_CanvasContextSetFontSpec, MissingNoteFacesHaveAStandInOfTheirKind) {
    CairoKeeper c;
    Report err;
    Ooml_FontSpec *spec = ooml_CanvasFontSpecCreate("Charter", 0, 12, err.Slot());
    ooml_CanvasContextSetFontSpec(c.canvas, spec, err.Slot());
    EXPECT_EQ(err.report, nullptr);
    ooml_CanvasFontSpecFree(spec);

    int32_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    ooml_CanvasContextSetFont(c.canvas, "fixed", err.Slot());
    ASSERT_EQ(err.report, nullptr);
    ooml_CanvasContextGetStringExtents(c.canvas, "iiiiiiii", &x1, &x2, &y1, &y2, err.Slot());
    const int32_t narrow = x2 - x1;
    ooml_CanvasContextGetStringExtents(c.canvas, "MMMMMMMM", &x1, &x2, &y1, &y2, err.Slot());
    EXPECT_EQ(x2 - x1, narrow); // every character one width
    EXPECT_GT(narrow, 0);
}

// Both encodings of a part hold exactly the canvas's pixels: a noisy picture makes the
// quick encoder's output span many chunks.
TEST(vmodhost_CairoCanvasPngPart, BothEncodingsHoldThePixelsOfThePart) {
    CairoKeeper c(700, 500);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < 3000; ++i) {
        ooml_CanvasContextSetForeground(c.canvas, next() >> 8, nullptr);
        ooml_CanvasDrawLine(c.canvas, 0, 0, int32_t(next() % 700), int32_t(next() % 500), int32_t(next() % 700),
                            int32_t(next() % 500), nullptr);
    }
    for (int32_t quick : {0, 1}) {
        for (auto [x, y, w, h] : {std::array<int32_t, 4>{0, 0, 700, 500}, {13, 7, 601, 333}, {699, 499, 1, 1}}) {
            unsigned char *png = nullptr;
            size_t size = 0;
            ASSERT_EQ(vmodhost_CairoCanvasPngPart(c.canvas, x, y, w, h, quick, &png, &size), 1);
            const vmodtest::PngPixels pixels = vmodtest::DecodePng(png, size);
            if (quick && w == 700) {
                EXPECT_NE(std::string(reinterpret_cast<char *>(png), size).find("IDAT", 60000), std::string::npos)
                    << "the quick PNG should need several chunks here";
            }
            omsc_HeapFree(png);
            ASSERT_EQ(pixels.width, w);
            ASSERT_EQ(pixels.height, h);
            int differing = 0;
            for (int32_t py = 0; py < h; ++py)
                for (int32_t px = 0; px < w; ++px) differing += pixels.at(px, py) != c.At(x + px, y + py);
            EXPECT_EQ(differing, 0) << "quick " << quick << ", part at " << x << "," << y;
        }
    }
    unsigned char *png = nullptr;
    size_t size = 0;
    for (auto [x, y, w, h] : {std::array<int32_t, 4>{-1, 0, 10, 10}, {0, 0, 701, 10}, {5, 5, 0, 3}, {690, 0, 11, 1}})
        EXPECT_EQ(vmodhost_CairoCanvasPngPart(c.canvas, x, y, w, h, 1, &png, &size), 0) << x << "," << w;
    EXPECT_EQ(png, nullptr);
}
