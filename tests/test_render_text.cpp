// Golden call sequences of the text renderer, read from the recording canvas's log.
//
// Model: 96 x 90 pixels per inch, scroll (10, 20), zoom 1.25; the node's text "Hello" at
// (2.3, 1.7) inch. The recording canvas measures "Hello" as 35 x 13 pixels, so the node
// becomes 35/96 x 13/90 inch and its text's bottom centre is pixel (210, 139).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "render_test_support.h"

namespace {

using namespace render_test;

char kText[] = "Hello";
char kFont[] = "DejaVu Sans";

struct TextNode {
    Vmod_TextData data{};
    Vmod_Node node{};
    explicit TextNode(int32_t style) {
        data.font = kFont;
        data.size = 12;
        data.style = style;
        node.type = VMOD_TEXT;
        node.title = kText;
        node.x = 2.3;
        node.y = 1.7;
        node.data = &data;
    }
};

const Lines kSpec = {
    "ooml_CanvasFontSpecCreate(\"DejaVu Sans\", 1, 12)",
    "ooml_CanvasContextSetFontSpec(canvas, {\"DejaVu Sans\", 1, 12})",
    "ooml_CanvasFontSpecFree({\"DejaVu Sans\", 1, 12})",
};
const Lines kMeasure = {"ooml_CanvasContextGetStringExtents(canvas, \"Hello\")"};
const Lines kText5 = {
    "ooml_CanvasContextSetJustification(canvas, 1)",
    "ooml_CanvasDrawText(canvas, \"Hello\", 210, 139)",
    "ooml_CanvasDrawLine(canvas, 0, 0, 193, 141, 227, 141)",
};
const Lines kToggle = {
    "ooml_CanvasContextSetForeground(canvas, 0x3366CC)",
    "ooml_CanvasContextSetDrawMode(canvas, 3)",
    "ooml_CanvasFillRectangle(canvas, 0, 0, 193, 126, 35, 14)",
    "ooml_CanvasContextSetDrawMode(canvas, 1)",
    "ooml_CanvasContextSetForeground(canvas, 0x000000)",
};

} // namespace

TEST(vmod_RenderText, BoldUnderlinedDrawsLineTwoPixelsBelow) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(5);
    vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Join({kSpec, kMeasure, kText5}));
    EXPECT_EQ(text.data.extentWidth, 35u);
    EXPECT_EQ(text.data.extentHeight, 13u);
    EXPECT_EQ(double(text.node.width), 35.0 / 96);
    EXPECT_EQ(double(text.node.height), 13.0 / 90);
}

TEST(vmod_RenderText, SelectedGetsHighlightAfterText) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(5);
    text.node.selected = 1;
    vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Join({kSpec, kMeasure, kText5, kToggle}));
    EXPECT_EQ(text.node.highlighted, 1);
}

TEST(vmod_RenderText, RedrawInPlaceRemovesThenRestoresHighlight) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    model.redrawInPlace = 1;
    TextNode text(5);
    text.node.selected = 1;
    text.node.highlighted = 1;
    vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Join({kSpec, kMeasure, kToggle, kText5, kToggle}));
    EXPECT_EQ(text.node.highlighted, 1);
}

TEST(vmod_RenderText, EraseRemovesHighlightAndDrawsInBackground) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(1); // bold, not underlined
    text.node.selected = 1;
    text.node.highlighted = 1;
    vmod_RenderText(&text.node, &model, VMOD_RENDER_ERASE);
    EXPECT_EQ(TakeLog(), Join({kSpec, kMeasure, kToggle, {"ooml_CanvasContextSetForeground(canvas, 0xFFFFFF)"},
                               {kText5[0], kText5[1]}}));
    EXPECT_EQ(text.node.highlighted, 0);
}

// A font the canvas refuses falls back to the backup_font preference, else to "fixed".
TEST(vmod_RenderText, UnusableFontFallsBackToBackupFontOrFixed) {
    CanvasKeeper keeper;
    vmodhost_RecordingCanvasRejectFont(keeper.canvas, "DejaVu Sans");
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(5);
    for (const char *backup : {"", "Liberation Mono"}) {
        if (*backup) vmodhost_SetPreference("modeler", "backup_font", backup);
        vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
        const std::string used = *backup ? backup : "fixed";
        EXPECT_EQ(TakeLog(), Join({kSpec, {"ooml_CanvasContextSetFont(canvas, \"" + used + "\")"}, kMeasure, kText5}));
    }
}

TEST(vmod_RenderText, WithoutSizeDrawnAtTheDefaultSize) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(2);
    for (int32_t size : {0, -3}) {
        text.data.size = size;
        vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
        EXPECT_EQ(TakeLog(), Join({{"ooml_CanvasFontSpecCreate(\"DejaVu Sans\", 2, 12)",
                                    "ooml_CanvasContextSetFontSpec(canvas, {\"DejaVu Sans\", 2, 12})",
                                    "ooml_CanvasFontSpecFree({\"DejaVu Sans\", 2, 12})"},
                                   kMeasure,
                                   {kText5[0], kText5[1]}}));
        EXPECT_EQ(text.data.size, size); // the model keeps its own value
    }
}

TEST(vmod_RenderText, TwoLinesAreMeasuredAndHighlightedWhole) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(4);
    char twoLines[] = "Hello\nWorld!";
    text.node.title = twoLines;
    text.node.selected = 1;
    vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
    // The widest line (6 characters of 7 pixels) and two lines of 13 pixels; the bottom
    // centre lies half the two lines below the node, (1.7 + 13/90) inch.
    EXPECT_EQ(text.data.extentWidth, 42u);
    EXPECT_EQ(text.data.extentHeight, 26u);
    EXPECT_EQ(double(text.node.height), 26.0 / 90);
    EXPECT_EQ(TakeLog(), (Lines{
                             "ooml_CanvasFontSpecCreate(\"DejaVu Sans\", 0, 12)",
                             "ooml_CanvasContextSetFontSpec(canvas, {\"DejaVu Sans\", 0, 12})",
                             "ooml_CanvasFontSpecFree({\"DejaVu Sans\", 0, 12})",
                             "ooml_CanvasContextGetStringExtents(canvas, \"Hello\\nWorld!\")",
                             "ooml_CanvasContextSetJustification(canvas, 1)",
                             "ooml_CanvasDrawText(canvas, \"Hello\\nWorld!\", 210, 146)",
                             "ooml_CanvasDrawLine(canvas, 0, 0, 189, 148, 231, 148)",
                             "ooml_CanvasContextSetForeground(canvas, 0x3366CC)",
                             "ooml_CanvasContextSetDrawMode(canvas, 3)",
                             "ooml_CanvasFillRectangle(canvas, 0, 0, 189, 120, 43, 27)",
                             "ooml_CanvasContextSetDrawMode(canvas, 1)",
                             "ooml_CanvasContextSetForeground(canvas, 0x000000)",
                         }));
}

TEST(vmod_RenderText, UntitledMeasuresQuestionMarkAndKeepsExtent) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(5);
    text.node.title = nullptr;
    text.node.width = 2.0;
    text.node.height = 0.5;
    text.node.selected = 1;
    vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), (Lines{
                             "ooml_CanvasContextSetFont(canvas, \"DejaVu Sans:size=14\")",
                             "ooml_CanvasContextGetStringExtents(canvas, \"?\")",
                             "ooml_CanvasContextSetJustification(canvas, 1)",
                             "ooml_CanvasDrawText(canvas, \"?\", 210, 155)",
                             "ooml_CanvasContextSetForeground(canvas, 0x3366CC)",
                             "ooml_CanvasContextSetDrawMode(canvas, 3)",
                             "ooml_CanvasFillRectangle(canvas, 0, 0, 207, 142, 7, 14)",
                             "ooml_CanvasContextSetDrawMode(canvas, 1)",
                             "ooml_CanvasContextSetForeground(canvas, 0x000000)",
                         }));
    EXPECT_EQ(text.data.extentWidth, 7u);
    EXPECT_EQ(text.data.extentHeight, 13u);
    EXPECT_EQ(double(text.node.width), 2.0);
    EXPECT_EQ(double(text.node.height), 0.5);
}

TEST(vmod_RenderText, NothingBelowZoomOne) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    model.zoom = 0.99;
    TextNode text(5);
    text.node.selected = 1;
    vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(text.data.extentWidth, 0u);
    EXPECT_EQ(double(text.node.width), 0.0);
    EXPECT_EQ(text.node.highlighted, 0);
}

TEST(vmod_RenderText, MissingPayloadUsesBackupFont) {
    CanvasKeeper keeper;
    Vmod_Model model = GoldenView(keeper.canvas);
    TextNode text(0);
    text.node.data = nullptr;
    vmod_RenderText(&text.node, &model, VMOD_RENDER_DRAW);
    EXPECT_EQ(TakeLog(), Join({{"ooml_CanvasContextSetFont(canvas, \"fixed\")"}, kMeasure, {kText5[0], kText5[1]}}));
}
