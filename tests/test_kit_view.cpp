// The kit's view: node and model boxes, arrow polygons, hit testing, and drawing with a
// selection passed as an argument on a canvas whose colours the kit sets back.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_view.h"
#include "support/cairo_support.h"
#include "support/drawn_picture.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kHighlight = 0x3366CC;

// A model whose nodes are appended in list order, seen through the default view.
struct KitModel : vmodtest::DrawnPicture {
    KitModel() { vmodkit_ViewDefault(&view); }

    Vmod_Node *Add(int32_t kind, int32_t id, double x, double y, const char *title = nullptr) {
        return vmodtest::AppendNode(&model, kind, id, x, y, title);
    }
    static void Connect(Vmod_Node *from, Vmod_Node *to) {
        Oerr_ErrorReport *err = nullptr;
        vmod_ChildAddByNode(from, to, &err);
        oerr_DeleteErrorReportEx(&err);
    }
    Vmodkit_Box Box(const Vmod_Node *node) const {
        Vmodkit_Box box{};
        EXPECT_TRUE(vmodkit_NodeBox(&model, node, &view, &box));
        return box;
    }
    Vmodkit_Hit Hit(double x, double y, double tolerance = 0.05) const {
        Vmodkit_Hit hit{};
        vmodkit_HitTest(&model, &view, x, y, tolerance, &hit);
        return hit;
    }
};

// A Cairo canvas of 200 x 200 white pixels, released at the end.
struct Canvas {
    Ooml_Canvas *canvas = vmodhost_CairoCanvasCreate(200, 200, kWhite);
    ~Canvas() { vmodhost_CanvasDelete(canvas); }
    uint32_t At(int32_t x, int32_t y) const { return vmodhost_CairoCanvasPixel(canvas, x, y); }
    int Ink() const {
        int n = 0;
        for (int32_t y = 0; y < 200; ++y)
            for (int32_t x = 0; x < 200; ++x) n += At(x, y) != kWhite;
        return n;
    }
};

} // namespace

// ---------------------------------------------------------------- geometry

TEST(vmodkit_NodeBox, GlyphsAloneBelowZoomOne) {
    KitModel m;
    m.view.zoom = 0.5; // no titles, no notes
    Vmodkit_Box raster = m.Box(m.Add(VMOD_RASTER, 1, 2, 3, "dem"));
    EXPECT_DOUBLE_EQ(raster.left, 1.4);
    EXPECT_DOUBLE_EQ(raster.right, 2.6);
    EXPECT_DOUBLE_EQ(raster.top, 2.5);
    EXPECT_DOUBLE_EQ(raster.bottom, 3.44);
    Vmodkit_Box scalar = m.Box(m.Add(VMOD_SCALAR, 2, 5, 1));
    EXPECT_DOUBLE_EQ(scalar.top, 0.625);
    EXPECT_DOUBLE_EQ(scalar.bottom, 1.375);
    EXPECT_DOUBLE_EQ(scalar.left, 4.5);
    Vmod_Node *lost = m.Add(VMOD_TABLE, 3, 0, 0);
    lost->x = std::numeric_limits<double>::infinity();
    Vmodkit_Box box{};
    EXPECT_FALSE(vmodkit_NodeBox(&m.model, lost, &m.view, &box));
    m.view.zoom = 0;
    EXPECT_FALSE(vmodkit_NodeBox(&m.model, m.model.nodes, &m.view, &box));
}

TEST(vmodkit_NodeBox, TitlesAndNotesAsTheCanvasMeasuresThem) {
    VMOD_SKIP_WITHOUT_CAIRO();
    KitModel m;
    Vmod_Node *fn = m.Add(VMOD_FUNCTION, 1, 3, 1, "a title far wider than the glyph");
    Vmodkit_Box box = m.Box(fn);
    EXPECT_LT(box.left, 2.5);
    EXPECT_NEAR(box.left + box.right, 6.0, 1.0 / 96);          // centred under the glyph
    EXPECT_GT(box.bottom, 1.5 + 3.0 / 96 + 5.0 / 96);          // below the glyph, the gap and text
    EXPECT_DOUBLE_EQ(box.top, 0.5);
    Vmod_Node *note = m.Add(VMOD_TEXT, 2, 2, 4, "Note");
    note->width = note->height = 0;
    static_cast<Vmod_TextData *>(note->data)->extentWidth = 0;
    Vmodkit_Box text = m.Box(note);
    EXPECT_LT(text.left, 2.0);
    EXPECT_GT(text.right, 2.0);
    EXPECT_LT(text.top, text.bottom);
    // Measuring changes nothing of the model.
    EXPECT_EQ(note->width, 0.0);
    EXPECT_EQ(static_cast<Vmod_TextData *>(note->data)->extentWidth, 0u);
    EXPECT_EQ(m.model.canvas, nullptr);
    Vmodkit_Box all{};
    ASSERT_TRUE(vmodkit_ModelBox(&m.model, &m.view, &all));
    EXPECT_DOUBLE_EQ(all.top, box.top);
    EXPECT_DOUBLE_EQ(all.left, std::min(box.left, text.left));
    EXPECT_DOUBLE_EQ(all.bottom, text.bottom);
}

// Many boxes at once are the boxes one at a time; a null node or one without a finite
// position is not found.
TEST(vmodkit_NodeBoxes, EachBoxAsNodeBoxGivesIt) {
    VMOD_SKIP_WITHOUT_CAIRO();
    KitModel m;
    std::vector<const Vmod_Node *> nodes = {m.Add(VMOD_FUNCTION, 1, 3, 1, "a title far wider than the glyph"),
                                            m.Add(VMOD_TEXT, 2, 2, 4, "Note"), nullptr,
                                            m.Add(VMOD_RASTER, 3, std::numeric_limits<double>::infinity(), 1, "far"),
                                            m.Add(VMOD_SCALAR, 4, 6, 2, "s")};
    std::vector<Vmodkit_Box> boxes(nodes.size());
    std::vector<int32_t> found(nodes.size(), 7);
    EXPECT_EQ(vmodkit_NodeBoxes(&m.model, nodes.data(), nodes.size(), &m.view, boxes.data(), found.data()), 3u);
    EXPECT_EQ(found, (std::vector<int32_t>{1, 1, 0, 0, 1}));
    for (size_t i : {0u, 1u, 4u}) {
        const Vmodkit_Box one = m.Box(nodes[i]);
        EXPECT_EQ(boxes[i].left, one.left);
        EXPECT_EQ(boxes[i].top, one.top);
        EXPECT_EQ(boxes[i].right, one.right);
        EXPECT_EQ(boxes[i].bottom, one.bottom);
    }
    EXPECT_EQ(vmodkit_NodeBoxes(&m.model, nodes.data(), nodes.size(), nullptr, boxes.data(), found.data()), 0u);
}

TEST(vmodkit_ArrowPolygon, LineAndHeadBetweenTheGlyphEdges) {
    KitModel m;
    Vmod_Node *in = m.Add(VMOD_RASTER, 1, 1, 1), *fn = m.Add(VMOD_FUNCTION, 2, 3, 1);
    double p[2 * VMODKIT_ARROW_POINTS] = {};
    ASSERT_TRUE(vmodkit_ArrowPolygon(in, fn, p));
    const double expected[] = {1.45, 1, 2.404, 1, 2.375, 1.04, 2.5, 1, 2.375, 0.96, 2.404, 1};
    for (int i = 0; i < 2 * VMODKIT_ARROW_POINTS; ++i) EXPECT_NEAR(p[i], expected[i], 1e-12) << i;
    Vmod_Node *same = m.Add(VMOD_TABLE, 3, 1, 1);
    EXPECT_FALSE(vmodkit_ArrowPolygon(in, same, p)); // coinciding centres: no direction
    EXPECT_FALSE(vmodkit_ArrowPolygon(in, nullptr, p));
}

TEST(vmodkit_HitTest, NodesOverArrowsLaterNodesOverEarlierOnes) {
    KitModel m;
    m.view.zoom = 0.5;
    Vmod_Node *in = m.Add(VMOD_RASTER, 1, 1, 1), *fn = m.Add(VMOD_FUNCTION, 2, 3, 1);
    KitModel::Connect(in, fn);
    Vmod_Node *over = m.Add(VMOD_TABLE, 3, 3.8, 1.2);

    Vmodkit_Hit hit = m.Hit(2, 1.03); // on the line, within the tolerance
    EXPECT_EQ(hit.node, nullptr);
    EXPECT_EQ(hit.arrowFrom, in);
    EXPECT_EQ(hit.arrow, in->children);
    EXPECT_EQ(hit.arrowTo, fn);
    EXPECT_EQ(m.Hit(2.45, 1.035).arrowTo, fn);   // inside the head, beyond the line's tolerance
    EXPECT_EQ(m.Hit(2.55, 1, 0.2).node, fn);     // the head's tip lies in the function's box
    EXPECT_EQ(m.Hit(3.4, 1.1).node, over);       // in both boxes: the later node
    EXPECT_EQ(m.Hit(2.9, 1.1).node, fn);
    hit = m.Hit(2, 1.2); // beside the line
    EXPECT_EQ(hit.node, nullptr);
    EXPECT_EQ(hit.arrow, nullptr);
    EXPECT_FALSE(vmodkit_HitTest(&m.model, &m.view, 2, 1.2, 0.05, &hit));
}

// ---------------------------------------------------------------- drawing

TEST(vmodkit_DrawModel, LeavesTheModelsMarksAndFieldsAndTheCanvasColours) {
    KitModel m;
    Vmod_Node *marked = m.Add(VMOD_VECTOR, 1, 1, 1, "v");
    marked->selected = marked->highlighted = 1; // marks of the model's own, not the drawing's
    Vmod_Node *chosen = m.Add(VMOD_TABLE, 2, 3, 1, "t");
    m.model.redrawInPlace = 1;
    m.model.foregroundColor = 0x123456;
    Ooml_Canvas *canvas = vmodhost_RecordingCanvasCreate("canvas");
    vmodhost_LogClear();
    vmodhost_LogEnable(1);
    Vmod_Node *selection[] = {chosen};
    EXPECT_TRUE(vmodkit_DrawModel(&m.model, canvas, &m.view, selection, 1, nullptr));
    vmodhost_LogEnable(0);
    std::vector<std::string> log;
    for (size_t i = 0; i < vmodhost_LogCount(); ++i) log.push_back(vmodhost_LogLine(i));
    vmodhost_CanvasDelete(canvas);

    int highlights = 0;
    for (const std::string &line : log) highlights += line.rfind("ooml_CanvasFillRectangle", 0) == 0;
    EXPECT_EQ(highlights, 1); // the chosen node only, though the other is marked
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "ooml_CanvasContextSetDrawMode(canvas, 1)");
    EXPECT_EQ(log.back(), "ooml_CanvasContextSetForeground(canvas, 0x000000)");
    EXPECT_EQ(marked->selected, 1);
    EXPECT_EQ(marked->highlighted, 1);
    EXPECT_EQ(chosen->selected, 0);
    EXPECT_EQ(chosen->highlighted, 0);
    EXPECT_EQ(m.model.redrawInPlace, 1);
    EXPECT_EQ(m.model.foregroundColor, 0x123456u);
    EXPECT_EQ(m.model.canvas, nullptr);
    EXPECT_EQ(m.model.zoom, 0.0);

    Oerr_ErrorReport *err = nullptr;
    EXPECT_FALSE(vmodkit_DrawModel(&m.model, nullptr, &m.view, nullptr, 0, &err));
    EXPECT_NE(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
}

// A table below zoom 1 (straight lines, no title, so an erase leaves no smoothed edges)
// on a white canvas, redrawn through the kit.
struct RedrawnTable : KitModel {
    Canvas c;
    Vmod_Node *node = nullptr;
    RedrawnTable() {
        view.zoom = 0.5;
        node = Add(VMOD_TABLE, 1, 2, 2); // its box spans pixels 72 to 120
    }
    bool Redraw(int32_t from, int32_t to) {
        return vmodkit_DrawNode(&model, c.canvas, &view, node, from, to, nullptr);
    }
};

TEST(vmodkit_DrawNode, ADrawAfterAnEraseIsSeen) {
    VMOD_SKIP_WITHOUT_CAIRO();
    RedrawnTable t;
    ASSERT_TRUE(t.Redraw(VMODKIT_NODE_HIDDEN, VMODKIT_NODE_SHOWN));
    EXPECT_EQ(t.c.At(110, 72), kBlack); // top edge of the box
    ASSERT_TRUE(t.Redraw(VMODKIT_NODE_SHOWN, VMODKIT_NODE_HIDDEN));
    EXPECT_EQ(t.c.Ink(), 0);
    ASSERT_TRUE(t.Redraw(VMODKIT_NODE_HIDDEN, VMODKIT_NODE_SHOWN));
    EXPECT_EQ(t.c.At(110, 72), kBlack);
}

TEST(vmodkit_DrawNode, ASelectedNodeDrawnAgainKeepsItsHighlight) {
    VMOD_SKIP_WITHOUT_CAIRO();
    RedrawnTable t;
    EXPECT_TRUE(t.Redraw(VMODKIT_NODE_HIDDEN, VMODKIT_NODE_SELECTED));
    EXPECT_TRUE(t.Redraw(VMODKIT_NODE_SELECTED, VMODKIT_NODE_SELECTED));
    EXPECT_EQ(t.c.At(110, 110), kWhite ^ kHighlight); // inside the box
    EXPECT_EQ(t.c.At(110, 72), kBlack ^ kHighlight);  // its edge
    EXPECT_EQ(t.node->selected, 0);
    EXPECT_EQ(t.node->highlighted, 0);
    EXPECT_TRUE(t.Redraw(VMODKIT_NODE_SELECTED, VMODKIT_NODE_SHOWN));
    EXPECT_EQ(t.c.At(110, 110), kWhite);
    EXPECT_EQ(t.c.At(110, 72), kBlack);
    EXPECT_TRUE(t.Redraw(VMODKIT_NODE_SHOWN, VMODKIT_NODE_SELECTED));
    EXPECT_TRUE(t.Redraw(VMODKIT_NODE_SELECTED, VMODKIT_NODE_HIDDEN));
    EXPECT_EQ(t.c.Ink(), 0);

    Oerr_ErrorReport *err = nullptr;
    EXPECT_FALSE(vmodkit_DrawNode(&t.model, t.c.canvas, &t.view, t.node, VMODKIT_NODE_HIDDEN, 3, &err));
    EXPECT_NE(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
}
