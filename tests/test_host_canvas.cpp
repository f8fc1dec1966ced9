// Canvas calls on the recording canvas: metrics, fonts, argument checks and log lines.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "vmodhost/ooml.h"
#include "host_test_support.h"

using host_test::Canvas;
using host_test::ErrorSlot;
using host_test::LocaleScope;
using host_test::LogSession;

namespace {

struct Extents {
    int32_t x1 = -99, x2 = -99, y1 = -99, y2 = -99;
};

Extents Measure(Ooml_Canvas *canvas, const char *text, Oerr_ErrorReport **err)
{
    Extents e;
    ooml_CanvasContextGetStringExtents(canvas, text, &e.x1, &e.x2, &e.y1, &e.y2, err);
    return e;
}

} // namespace

TEST(ooml_CanvasContextGetStringExtents, DefaultMetricsAreSevenByThirteen)
{
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    ErrorSlot err;
    Extents e = Measure(canvas.get(), "n1_a", err.out());
    EXPECT_EQ(e.x1, 0);
    EXPECT_EQ(e.x2, 28);
    EXPECT_EQ(e.y1, 0);
    EXPECT_EQ(e.y2, 13);
    EXPECT_FALSE(err);
}

TEST(ooml_CanvasContextGetStringExtents, FollowsTheMetricsSet)
{
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    vmodhost_RecordingCanvasSetMetrics(canvas.get(), 5, 9);
    Extents e = Measure(canvas.get(), "?", nullptr);
    EXPECT_EQ(e.x2 - e.x1, 5);
    EXPECT_EQ(e.y2 - e.y1, 9);
    Extents empty = Measure(canvas.get(), "", nullptr);
    EXPECT_EQ(empty.x2, 0);
    EXPECT_EQ(empty.y2, 9);
}

TEST(ooml_CanvasContextGetStringExtents, NullTextIsReportedAndMeasuresNothing)
{
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    ErrorSlot err;
    Extents e = Measure(canvas.get(), nullptr, err.out());
    EXPECT_EQ(err.message(), "Missing text");
    EXPECT_EQ(e.x1, 0);
    EXPECT_EQ(e.x2, 0);
    EXPECT_EQ(e.y1, 0);
    EXPECT_EQ(e.y2, 0);
}

TEST(ooml_CanvasContextGetStringExtents, HugeWidthsSaturate)
{
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    vmodhost_RecordingCanvasSetMetrics(canvas.get(), INT32_MAX, 13);
    EXPECT_EQ(Measure(canvas.get(), "ab", nullptr).x2, INT32_MAX);
    vmodhost_RecordingCanvasSetMetrics(canvas.get(), -4, -1);
    Extents e = Measure(canvas.get(), "ab", nullptr);
    EXPECT_EQ(e.x2, 0);
    EXPECT_EQ(e.y2, 0);
}

TEST(ooml_CanvasContextSetFontSpec, RejectedFamilyIsReported)
{
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    vmodhost_RecordingCanvasRejectFont(canvas.get(), "helvetica");
    ErrorSlot err;
    Ooml_FontSpec *usable = ooml_CanvasFontSpecCreate("times", 1, 12.0, err.out());
    ooml_CanvasContextSetFontSpec(canvas.get(), usable, err.out());
    ooml_CanvasFontSpecFree(usable);
    EXPECT_FALSE(err);

    Ooml_FontSpec *rejected = ooml_CanvasFontSpecCreate("helvetica", 3, 10.0, err.out());
    ASSERT_NE(rejected, nullptr) << "creating the font spec is fine; the canvas refuses it";
    EXPECT_FALSE(err);
    ooml_CanvasContextSetFontSpec(canvas.get(), rejected, err.out());
    ooml_CanvasFontSpecFree(rejected);
    ASSERT_TRUE(err);
    EXPECT_EQ(err.message(), "Cannot Use Font: helvetica");
    EXPECT_STREQ(vmodhost_ErrorFunction(err.get()), "ooml_CanvasContextSetFontSpec");
}

TEST(ooml_CanvasFontSpecCreate, RefusesANullNameAndUnusableSizes)
{
    for (double size : {0.0, -3.0, static_cast<double>(NAN), static_cast<double>(INFINITY)}) {
        ErrorSlot err;
        EXPECT_EQ(ooml_CanvasFontSpecCreate("times", 0, size, err.out()), nullptr) << size;
        EXPECT_TRUE(err) << size;
    }
    ErrorSlot err;
    EXPECT_EQ(ooml_CanvasFontSpecCreate(nullptr, 0, 10.0, err.out()), nullptr);
    EXPECT_EQ(err.message(), "Missing font name");
    ooml_CanvasFontSpecFree(nullptr);
}

TEST(ooml_CanvasDrawPolyline, BadPointArgumentsAreReported)
{
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    const int32_t points[] = {1, 2, 3, 4};
    ErrorSlot err;
    ooml_CanvasDrawPolyline(canvas.get(), 0, 0, points, -1, err.out());
    EXPECT_TRUE(err);
    err.reset();
    ooml_CanvasDrawPolyline(canvas.get(), 0, 0, nullptr, 2, err.out());
    EXPECT_EQ(err.message(), "Missing points");
    err.reset();
    ooml_CanvasDrawPolyline(canvas.get(), 0, 0, nullptr, 0, err.out());
    ooml_CanvasDrawPolyline(canvas.get(), 0, 0, points, 2, err.out());
    EXPECT_FALSE(err);
}

TEST(ooml_CanvasDrawText, NullTextOrFontNameIsReported)
{
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    ErrorSlot err;
    ooml_CanvasDrawText(canvas.get(), nullptr, 0, 0, err.out());
    EXPECT_EQ(err.message(), "Missing text");
    err.reset();
    ooml_CanvasContextSetFont(canvas.get(), nullptr, err.out());
    EXPECT_EQ(err.message(), "Missing font name");
}

TEST(vmodhost_CanvasDelete, EveryCallOnANullCanvasIsReported)
{
    const int32_t points[] = {0, 0};
    Ooml_FontSpec *spec = ooml_CanvasFontSpecCreate("times", 0, 10.0, nullptr);
    const std::vector<std::pair<const char *, std::function<void(Oerr_ErrorReport **)>>> calls = {
        {"ooml_CanvasContextSetForeground", [](auto err) { ooml_CanvasContextSetForeground(nullptr, 0, err); }},
        {"ooml_CanvasContextSetDrawMode", [](auto err) { ooml_CanvasContextSetDrawMode(nullptr, 3, err); }},
        {"ooml_CanvasContextSetFont", [](auto err) { ooml_CanvasContextSetFont(nullptr, "fixed", err); }},
        {"ooml_CanvasContextSetFontSpec", [&](auto err) { ooml_CanvasContextSetFontSpec(nullptr, spec, err); }},
        {"ooml_CanvasContextSetJustification",
         [](auto err) { ooml_CanvasContextSetJustification(nullptr, 1, err); }},
        {"ooml_CanvasContextGetStringExtents",
         [](auto err) {
             int32_t v[4];
             ooml_CanvasContextGetStringExtents(nullptr, "a", &v[0], &v[1], &v[2], &v[3], err);
         }},
        {"ooml_CanvasFillRectangle", [](auto err) { ooml_CanvasFillRectangle(nullptr, 0, 0, 1, 2, 3, 4, err); }},
        {"ooml_CanvasDrawRectangle", [](auto err) { ooml_CanvasDrawRectangle(nullptr, 0, 0, 1, 2, 3, 4, err); }},
        {"ooml_CanvasDrawLine", [](auto err) { ooml_CanvasDrawLine(nullptr, 0, 0, 1, 2, 3, 4, err); }},
        {"ooml_CanvasDrawArc", [](auto err) { ooml_CanvasDrawArc(nullptr, 0, 0, 1, 2, 3, 4, 0, 23040, err); }},
        {"ooml_CanvasDrawPolyline", [&](auto err) { ooml_CanvasDrawPolyline(nullptr, 0, 0, points, 1, err); }},
        {"ooml_CanvasDrawText", [](auto err) { ooml_CanvasDrawText(nullptr, "a", 0, 0, err); }},
    };
    for (const auto &[name, call] : calls) {
        ErrorSlot err;
        call(err.out());
        ASSERT_TRUE(err) << name;
        EXPECT_STREQ(vmodhost_ErrorFunction(err.get()), name);
        EXPECT_EQ(err.message(), "Missing canvas") << name;
        call(nullptr); // and without a slot to report into
    }
    ooml_CanvasFontSpecFree(spec);
    vmodhost_CanvasDelete(nullptr);
}

TEST(vmodhost_RecordingCanvasCreate, LogsEveryCallByTheCanvasName)
{
    LogSession log;
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    Ooml_Canvas *c = canvas.get();
    const int32_t points[] = {1, 2, 3, 4, -5, 6};
    int32_t x1, x2, y1, y2;
    ooml_CanvasContextSetForeground(c, 0x00FF00, nullptr);
    ooml_CanvasContextSetForeground(c, 0xFFFFFF, nullptr);
    ooml_CanvasContextSetDrawMode(c, 3, nullptr);
    ooml_CanvasContextSetFont(c, "fixed", nullptr);
    Ooml_FontSpec *spec = ooml_CanvasFontSpecCreate("helvetica", 1, 12.5, nullptr);
    ooml_CanvasContextSetFontSpec(c, spec, nullptr);
    ooml_CanvasFontSpecFree(spec);
    ooml_CanvasContextSetJustification(c, 1, nullptr);
    ooml_CanvasContextGetStringExtents(c, "n1_a", &x1, &x2, &y1, &y2, nullptr);
    ooml_CanvasFillRectangle(c, 0, 0, 10, 20, 31, 41, nullptr);
    ooml_CanvasDrawRectangle(c, 0, 0, -10, 20, 30, 40, nullptr);
    ooml_CanvasDrawLine(c, 0, 0, 10, 20, 30, 40, nullptr);
    ooml_CanvasDrawArc(c, 0, 0, 1, 2, 3, 4, 0, 23040, nullptr);
    ooml_CanvasDrawPolyline(c, 0, 0, points, 3, nullptr);
    ooml_CanvasDrawPolyline(c, 0, 0, nullptr, 0, nullptr);
    ooml_CanvasDrawText(c, "?", 100, -7, nullptr);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "ooml_CanvasContextSetForeground(canvas, 0x00FF00)",
                               "ooml_CanvasContextSetForeground(canvas, 0xFFFFFF)",
                               "ooml_CanvasContextSetDrawMode(canvas, 3)",
                               "ooml_CanvasContextSetFont(canvas, \"fixed\")",
                               "ooml_CanvasFontSpecCreate(\"helvetica\", 1, 12.5)",
                               "ooml_CanvasContextSetFontSpec(canvas, {\"helvetica\", 1, 12.5})",
                               "ooml_CanvasFontSpecFree({\"helvetica\", 1, 12.5})",
                               "ooml_CanvasContextSetJustification(canvas, 1)",
                               "ooml_CanvasContextGetStringExtents(canvas, \"n1_a\")",
                               "ooml_CanvasFillRectangle(canvas, 0, 0, 10, 20, 31, 41)",
                               "ooml_CanvasDrawRectangle(canvas, 0, 0, -10, 20, 30, 40)",
                               "ooml_CanvasDrawLine(canvas, 0, 0, 10, 20, 30, 40)",
                               "ooml_CanvasDrawArc(canvas, 0, 0, 1, 2, 3, 4, 0, 23040)",
                               "ooml_CanvasDrawPolyline(canvas, 0, 0, [1 2, 3 4, -5 6], 3)",
                               "ooml_CanvasDrawPolyline(canvas, 0, 0, [], 0)",
                               "ooml_CanvasDrawText(canvas, \"?\", 100, -7)",
                           }));
}

TEST(vmodhost_RecordingCanvasCreate, FailedCallsAreLoggedToo)
{
    LogSession log;
    Canvas canvas(vmodhost_RecordingCanvasCreate("view"));
    ooml_CanvasDrawText(canvas.get(), nullptr, 1, 2, nullptr);
    ooml_CanvasDrawPolyline(canvas.get(), 0, 0, nullptr, 2, nullptr);
    ooml_CanvasContextSetFontSpec(canvas.get(), nullptr, nullptr);
    ooml_CanvasFontSpecCreate(nullptr, 0, 10, nullptr);
    ooml_CanvasDrawLine(nullptr, 0, 0, 1, 2, 3, 4, nullptr); // no canvas: nothing to log
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "ooml_CanvasDrawText(view, NULL, 1, 2)",
                               "ooml_CanvasDrawPolyline(view, 0, 0, [], 2)",
                               "ooml_CanvasContextSetFontSpec(view, NULL)",
                               "ooml_CanvasFontSpecCreate(NULL, 0, 10)",
                           }));
}

TEST(ooml_CanvasFontSpecCreate, SizesAreLoggedWithAPointInEveryLocale)
{
    LocaleScope german("de_DE.UTF-8");
    if (!german.ok())
        GTEST_SKIP() << "de_DE.UTF-8 locale not available";
    LogSession log;
    for (double size : {12.5, 0.25, 1e-5, 1234567.0, 100000.0})
        ooml_CanvasFontSpecFree(ooml_CanvasFontSpecCreate("times", 2, size, nullptr));
    std::vector<std::string> sizes;
    for (const std::string &line : log.lines())
        if (line.rfind("ooml_CanvasFontSpecCreate", 0) == 0)
            sizes.push_back(line);
    EXPECT_EQ(sizes, (std::vector<std::string>{
                         "ooml_CanvasFontSpecCreate(\"times\", 2, 12.5)",
                         "ooml_CanvasFontSpecCreate(\"times\", 2, 0.25)",
                         "ooml_CanvasFontSpecCreate(\"times\", 2, 1e-05)",
                         "ooml_CanvasFontSpecCreate(\"times\", 2, 1.23457e+06)",
                         "ooml_CanvasFontSpecCreate(\"times\", 2, 100000)",
                     }));
}
