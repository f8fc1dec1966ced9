// Golden call sequences of the node renderers, read from the recording canvas's log.
//
// Every expected line below was worked out by hand from the drawing rules for one model:
// 96 x 90 pixels per inch, scroll (10, 20), glyph box 80 x 64 pixels at zoom 1.25 (so
// W = 100, H = 80), node box 1.0 x 0.8 inch, node centre (2.3, 1.7) inch = pixel (210, 133).
// The recording canvas measures n bytes as 7n x 13 pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "render_test_support.h"

namespace {

using namespace render_test;

char kTitle[] = "n1_a";
char kTitleFont[] = "DejaVu Sans:bold:size=10";

Vmod_Model DrawingModel(Ooml_Canvas *canvas) {
    Vmod_Model model = GoldenView(canvas);
    model.nodeWidth = 1.0;
    model.nodeHeight = 0.8;
    model.glyphPixelWidth = 80;
    model.glyphPixelHeight = 64;
    model.titleFont = kTitleFont;
    return model;
}

Vmod_Node GlyphNode(int32_t type) {
    Vmod_Node node{};
    node.id = 1;
    node.type = type;
    node.title = kTitle;
    node.x = 2.3;
    node.y = 1.7;
    return node;
}

const Lines kTitleLines = {
    "ooml_CanvasContextSetFont(canvas, \"DejaVu Sans:bold:size=10\")",
    "ooml_CanvasContextSetJustification(canvas, 1)",
    "ooml_CanvasContextGetStringExtents(canvas, \"n1_a\")",
    "ooml_CanvasDrawText(canvas, \"n1_a\", 210, 189)",
};
const Lines kUntitledLines = {
    "ooml_CanvasContextSetFont(canvas, \"DejaVu Sans:size=14\")",
    "ooml_CanvasContextSetJustification(canvas, 1)",
    "ooml_CanvasContextGetStringExtents(canvas, \"?\")",
    "ooml_CanvasDrawText(canvas, \"?\", 210, 189)",
};
const Lines kEraseColour = {"ooml_CanvasContextSetForeground(canvas, 0xFFFFFF)"};

Lines Toggle(const std::string &fill) {
    return {
        "ooml_CanvasContextSetForeground(canvas, 0x3366CC)",
        "ooml_CanvasContextSetDrawMode(canvas, 3)",
        "ooml_CanvasFillRectangle(canvas, 0, 0, " + fill + ")",
        "ooml_CanvasContextSetDrawMode(canvas, 1)",
        "ooml_CanvasContextSetForeground(canvas, 0x000000)",
    };
}

// One render call with the node's selection state set up first.
struct Case {
    int32_t mode;
    int32_t selected, highlighted, redrawInPlace;
};

Lines Render(Vmod_RenderFunction render, int32_t type, const Case &c, int32_t *highlightedAfter) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(keeper.canvas);
    model.redrawInPlace = c.redrawInPlace;
    Vmod_Node node = GlyphNode(type);
    node.selected = c.selected;
    node.highlighted = c.highlighted;
    render(&node, &model, c.mode);
    *highlightedAfter = node.highlighted;
    return TakeLog();
}

// Checks the common sequence around glyph in every mode and selection state.
void ExpectCommonSequence(Vmod_RenderFunction render, int32_t type, const Lines &glyph, const std::string &fill) {
    const Lines toggle = Toggle(fill);
    int32_t highlighted = -1;

    SCOPED_TRACE("draw, not selected");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_DRAW, 0, 0, 0}, &highlighted), Join({glyph, kTitleLines}));
    EXPECT_EQ(highlighted, 0);

    SCOPED_TRACE("draw, selected");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_DRAW, 1, 0, 0}, &highlighted), Join({glyph, kTitleLines, toggle}));
    EXPECT_EQ(highlighted, 1);

    SCOPED_TRACE("draw again, selected, redrawInPlace 0: the fill toggles the highlight off");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_DRAW, 1, 1, 0}, &highlighted), Join({glyph, kTitleLines, toggle}));
    EXPECT_EQ(highlighted, 1);

    SCOPED_TRACE("draw again, selected, redrawInPlace 1: removed first, so it stays on");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_DRAW, 1, 1, 1}, &highlighted),
              Join({toggle, glyph, kTitleLines, toggle}));
    EXPECT_EQ(highlighted, 1);

    SCOPED_TRACE("draw, deselected, redrawInPlace 1");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_DRAW, 0, 1, 1}, &highlighted), Join({toggle, glyph, kTitleLines}));
    EXPECT_EQ(highlighted, 0);

    SCOPED_TRACE("draw, not selected, redrawInPlace 1");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_DRAW, 0, 0, 1}, &highlighted), Join({glyph, kTitleLines}));

    SCOPED_TRACE("erase a selected, highlighted node");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_ERASE, 1, 1, 0}, &highlighted),
              Join({toggle, kEraseColour, glyph, kTitleLines}));
    EXPECT_EQ(highlighted, 0);

    SCOPED_TRACE("erase, redrawInPlace 1, nothing shown");
    EXPECT_EQ(Render(render, type, {VMOD_RENDER_ERASE, 1, 0, 1}, &highlighted),
              Join({kEraseColour, glyph, kTitleLines}));
    EXPECT_EQ(highlighted, 0);

    SCOPED_TRACE("another mode: current colour, no highlight added");
    EXPECT_EQ(Render(render, type, {2, 1, 0, 0}, &highlighted), Join({glyph, kTitleLines}));
    EXPECT_EQ(highlighted, 0);
    EXPECT_EQ(Render(render, type, {2, 1, 1, 1}, &highlighted), Join({toggle, glyph, kTitleLines}));
    EXPECT_EQ(highlighted, 0);
}

const Lines kVectorGlyph = {
    "ooml_CanvasDrawRectangle(canvas, 0, 0, 160, 93, 100, 80)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 160, 153, 210, 93)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 185, 123, 260, 143)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 235, 118, 235, 108)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 228, 113, 241, 113)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 210, 148, 210, 158)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 203, 153, 216, 153)",
};
const Lines kMatrixGlyph = {
    "ooml_CanvasDrawRectangle(canvas, 0, 0, 160, 93, 100, 80)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 180, 93, 180, 173)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 160, 109, 260, 109)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 200, 93, 200, 173)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 160, 125, 260, 125)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 220, 93, 220, 173)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 160, 141, 260, 141)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 240, 93, 240, 173)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 160, 157, 260, 157)",
};
const Lines kTableGlyph = {
    "ooml_CanvasDrawRectangle(canvas, 0, 0, 160, 93, 100, 80)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 160, 106, 260, 106)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 193, 93, 193, 173)",
};
const Lines kScalarGlyph = {"ooml_CanvasDrawRectangle(canvas, 0, 0, 160, 103, 100, 60)"};
const Lines kFunctionGlyph = {"ooml_CanvasDrawArc(canvas, 0, 0, 160, 93, 100, 80, 0, 23040)"};
const Lines kCriteriaGlyph = {
    "ooml_CanvasDrawArc(canvas, 0, 0, 160, 93, 100, 80, 0, 23040)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 185, 113, 185, 153)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 185, 113, 235, 113)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 197, 113, 197, 153)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 185, 123, 235, 123)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 210, 113, 210, 153)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 185, 133, 235, 133)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 222, 113, 222, 153)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 185, 143, 235, 143)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 235, 113, 235, 153)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 185, 153, 235, 153)",
};
const Lines kRasterGlyph = {
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [172 115, 153 107, 210 88, 268 107, 249 115], 5)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [166 113, 153 116, 172 124], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [254 113, 268 116, 249 124], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [166 122, 153 125, 172 133], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [254 122, 268 125, 249 133], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [166 131, 153 134, 172 141], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [254 131, 268 134, 249 141], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [166 140, 153 143, 172 151], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [254 140, 268 143, 249 151], 3)",
    "ooml_CanvasDrawPolyline(canvas, 0, 0, [166 149, 153 152, 210 172, 268 152, 254 149], 5)",
};
const std::string kBoxFill = "160, 93, 101, 81";

} // namespace

TEST(vmod_RenderVector, CallSequences) { ExpectCommonSequence(vmod_RenderVector, VMOD_VECTOR, kVectorGlyph, kBoxFill); }

TEST(vmod_RenderMatrix, CallSequences) {
    // The highlight follows the 1.0 x 0.8 inch paper box, not the 100 x 80 pixel glyph.
    ExpectCommonSequence(vmod_RenderMatrix, VMOD_MATRIX, kMatrixGlyph, "162, 96, 97, 74");
}

TEST(vmod_RenderTable, CallSequences) { ExpectCommonSequence(vmod_RenderTable, VMOD_TABLE, kTableGlyph, kBoxFill); }

TEST(vmod_RenderScalar, CallSequences) {
    ExpectCommonSequence(vmod_RenderScalar, VMOD_SCALAR, kScalarGlyph, "160, 103, 101, 61");
}

TEST(vmod_RenderFunction, CallSequences) {
    ExpectCommonSequence(vmod_RenderFunction, VMOD_FUNCTION, kFunctionGlyph, kBoxFill);
}

TEST(vmod_RenderCriteria, CallSequences) {
    ExpectCommonSequence(vmod_RenderCriteria, VMOD_CRITERIA, kCriteriaGlyph, kBoxFill);
}

TEST(vmod_RenderRaster, CallSequences) {
    // The raster scales with pixels per inch, and selects its paper rectangle.
    ExpectCommonSequence(vmod_RenderRaster, VMOD_RASTER, kRasterGlyph, "153, 88, 116, 85");
}

TEST(vmod_RenderVector, UntitledShowsQuestionMarkInUntitledFont) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(keeper.canvas);
    Vmod_Node node = GlyphNode(VMOD_VECTOR);
    node.title = nullptr;
    vmod_RenderVector(&node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Join({kVectorGlyph, kUntitledLines}));
}

TEST(vmod_RenderScalar, NoTitleBelowZoomOne) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(keeper.canvas);
    model.zoom = 0.99;
    model.glyphPixelWidth = 100;
    model.glyphPixelHeight = 80; // W = 99, H = 79.2
    Vmod_Node node = GlyphNode(VMOD_SCALAR);
    vmod_RenderScalar(&node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Lines{"ooml_CanvasDrawRectangle(canvas, 0, 0, 160, 103, 99, 59)"});
}

TEST(vmod_RenderCriteria, ReachedThroughSlotFive) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(keeper.canvas);
    Vmod_Node node = GlyphNode(VMOD_CRITERIA);
    node.render = &Vmod_RenderTable[VMOD_SLOT_CRITERIA];
    (*node.render)(&node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Join({kCriteriaGlyph, kTitleLines}));
}

TEST(vmod_RenderFunction, ReachedThroughSlotSix) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(keeper.canvas);
    Vmod_Node node = GlyphNode(VMOD_FUNCTION);
    node.render = &Vmod_RenderTable[VMOD_SLOT_FUNCTION];
    (*node.render)(&node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Join({kFunctionGlyph, kTitleLines}));
}

TEST(vmod_RenderRaster, NullArgumentsDrawNothing) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(keeper.canvas);
    Vmod_Node node = GlyphNode(VMOD_RASTER);
    vmod_RenderRaster(nullptr, &model, VMOD_RENDER_DRAW);
    vmod_RenderRaster(&node, nullptr, VMOD_RENDER_DRAW);
    EXPECT_TRUE(TakeLog().empty());
}

TEST(vmod_RenderVector, NullCanvasIsHarmless) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(nullptr);
    Vmod_Node node = GlyphNode(VMOD_VECTOR);
    node.selected = 1;
    vmod_RenderVector(&node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(node.highlighted, 1);
}

TEST(vmod_RenderMatrix, FarAwayNodeDoesNotOverflow) {
    CanvasKeeper keeper;
    Vmod_Model model = DrawingModel(keeper.canvas);
    Vmod_Node node = GlyphNode(VMOD_MATRIX);
    node.x = 1e12;
    node.y = -1e12;
    node.selected = 1;
    vmod_RenderMatrix(&node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog().size(), kMatrixGlyph.size() + kTitleLines.size() + 5);
}
