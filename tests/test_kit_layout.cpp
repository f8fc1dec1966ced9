// The kit's automatic layout: a layered drawing from left to right along the arrows, boxes
// clear of each other, notes in a row underneath, the same picture every time; and the
// `vmod layout` command that writes it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/drawn_picture.h"
#include "support/tool_run.h"
#include "vmod/vmod.h"
#include "vmodhost/oerr.h"
#include "vmodkit/vmodkit_layout.h"
#include "vmodkit/vmodkit_view.h"

namespace {

#define SKIP_WITHOUT_LAYOUT() \
    if (!vmodkit_LayoutSupported()) GTEST_SKIP() << "built without Graphviz"

struct LayoutModel : vmodtest::DrawnPicture {
    std::vector<Vmod_Node *> nodes;
    LayoutModel() { vmodkit_ViewDefault(&view); }
    Vmod_Node *Add(int32_t kind, const char *title) {
        const int32_t id = static_cast<int32_t>(nodes.size()) + 1;
        nodes.push_back(vmodtest::AppendNode(&model, kind, id, 0, 0, title));
        return nodes.back();
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
    bool Layout() {
        Oerr_ErrorReport *err = nullptr;
        const int32_t done = vmodkit_Layout(&model, &err);
        EXPECT_EQ(err, nullptr);
        oerr_DeleteErrorReportEx(&err);
        return done == 1;
    }
};

bool Overlap(const Vmodkit_Box &a, const Vmodkit_Box &b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Two inputs into one function, a temporary raster, a second function reading it and one
// input, an output; and a note. All placed on one spot to start with.
void BuildChain(LayoutModel &m) {
    Vmod_Node *a = m.Add(VMOD_RASTER, "elevation");
    Vmod_Node *b = m.Add(VMOD_RASTER, "landcover");
    Vmod_Node *f = m.Add(VMOD_FUNCTION, "SLOPE");
    Vmod_Node *t = m.Add(VMOD_RASTER, "slope_temporary_raster_with_a_long_title");
    Vmod_Node *s = m.Add(VMOD_SCALAR, "limit");
    Vmod_Node *g = m.Add(VMOD_FUNCTION, "EITHER");
    Vmod_Node *o = m.Add(VMOD_RASTER, "suitable");
    m.Add(VMOD_TEXT, "A note under the drawing");
    for (auto [from, to] : std::vector<std::pair<Vmod_Node *, Vmod_Node *>>{
             {a, f}, {b, f}, {f, t}, {t, g}, {s, g}, {g, o}})
        LayoutModel::Connect(from, to);
}

} // namespace

TEST(vmodkit_Layout, ArrowsRunLeftToRightBoxesStayApartAndNotesGoUnderneath) {
    SKIP_WITHOUT_LAYOUT();
    LayoutModel m;
    BuildChain(m);
    ASSERT_TRUE(m.Layout());
    double lowestNode = 0;
    for (Vmod_Node *node : m.nodes) {
        EXPECT_GE(m.Box(node).left, 0.0) << node->title;
        EXPECT_GE(m.Box(node).top, 0.0) << node->title;
        if (node->type != VMOD_TEXT) lowestNode = std::max(lowestNode, m.Box(node).bottom);
        for (const Vmod_Link *link = node->children; link != nullptr; link = link->next)
            EXPECT_GT(link->node->x, node->x) << node->title << " -> " << link->node->title;
    }
    for (size_t i = 0; i < m.nodes.size(); ++i)
        for (size_t j = i + 1; j < m.nodes.size(); ++j)
            EXPECT_FALSE(Overlap(m.Box(m.nodes[i]), m.Box(m.nodes[j]))) << m.nodes[i]->title << " / " << m.nodes[j]->title;
    EXPECT_GT(m.Box(m.nodes.back()).top, lowestNode);
}

TEST(vmodkit_Layout, TheSameModelGetsTheSamePictureAndACycleIsNoFailure) {
    SKIP_WITHOUT_LAYOUT();
    LayoutModel first, second;
    BuildChain(first);
    BuildChain(second);
    // Node 7 (the output) also feeds the first function: a cycle, drawn backwards.
    LayoutModel::Connect(second.nodes[6], second.nodes[2]);
    ASSERT_TRUE(first.Layout());
    ASSERT_TRUE(first.Layout());
    ASSERT_TRUE(second.Layout());
    LayoutModel again;
    BuildChain(again);
    ASSERT_TRUE(again.Layout());
    for (size_t i = 0; i < first.nodes.size(); ++i) {
        EXPECT_EQ(first.nodes[i]->x, again.nodes[i]->x);
        EXPECT_EQ(first.nodes[i]->y, again.nodes[i]->y);
    }
}

TEST(vmodkit_Layout, ANullModelIsReported) {
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(vmodkit_Layout(nullptr, &err), 0);
    EXPECT_NE(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
}

// The command changes nothing but POSITION lines, and leaves OUT alone when it fails.
TEST(vmod_layout, WritesTheModelWithNewPositionsOnly) {
    SKIP_WITHOUT_LAYOUT();
    vmodtest::ScratchDir dir;
    const std::string model = std::string(VMOD_SOURCE_DIR) + "/examples/suitability.vmf";
    const std::string out = dir.file("laid.vmf");
    vmodtest::ToolRun run = vmodtest::RunVmod({"layout", model, out});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream before(readFile(model)), after(readFile(out));
    std::string a, b;
    int moved = 0;
    while (std::getline(before, a) && std::getline(after, b)) {
        if (a == b) continue;
        EXPECT_EQ(a.rfind("\tPOSITION ", 0), 0u) << a << " / " << b;
        ++moved;
    }
    EXPECT_GT(moved, 0);
    writeFile(out, "kept");
    EXPECT_EQ(vmodtest::RunVmod({"layout", dir.file("missing.vmf"), out}).status, 1);
    EXPECT_EQ(readFile(out), "kept");
}
