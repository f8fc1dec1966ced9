// A whole model drawn on the drawing canvas: ink where glyphs, titles and arrows must be,
// none where nothing is drawn.
#include <gtest/gtest.h>

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

// Five nodes on a 96-pixel-per-inch canvas whose origin is paper (0, 0):
//   raster 1 "in" at (1, 1) -> function 2 at (3, 1) -> raster 3 "out" at (5, 1),
//   scalar 4 (untitled) at (3, 3) -> function 2, text 5 "Note" at (1, 3).
struct Picture : vmodtest::DrawnPicture {
    Vmod_Node *Add(int32_t kind, int32_t id, double x, double y, const char *title) {
        return vmodtest::AppendNode(&model, kind, id, x, y, title);
    }

    explicit Picture(std::vector<int32_t> selected = {}) {
        static char font[] = "DejaVu Sans";
        model.textFont = font;
        model.textSize = 12;
        Vmod_Node *in = Add(VMOD_RASTER, 1, 1, 1, "in");
        Vmod_Node *fn = Add(VMOD_FUNCTION, 2, 3, 1, "$n1_in + 1");
        Vmod_Node *out = Add(VMOD_RASTER, 3, 5, 1, "out");
        Vmod_Node *scalar = Add(VMOD_SCALAR, 4, 3, 3, nullptr);
        Add(VMOD_TEXT, 5, 1, 3, "Note");
        Oerr_ErrorReport *err = nullptr;
        vmod_ChildAddByNode(in, fn, &err);
        vmod_ChildAddByNode(fn, out, &err);
        vmod_ChildAddByNode(scalar, fn, &err);
        oerr_DeleteErrorReportEx(&err);
        std::vector<Vmod_Node *> selection;
        for (Vmod_Node *node = model.nodes; node; node = node->next)
            for (int32_t id : selected)
                if (node->id == id) selection.push_back(node);
        Draw(selection);
    }
};

} // namespace

TEST(vmodkit_PictureFrame, CanvasCoversTheCentresWithAnInchMargin) {
    VMOD_SKIP_WITHOUT_CAIRO(); // the picture is drawn on a drawing canvas
    Picture p;
    EXPECT_EQ(p.size.width, 6 * 96 + 1);
    EXPECT_EQ(p.size.height, 4 * 96 + 1);
    EXPECT_EQ(p.view.scrollX, 0);
    EXPECT_EQ(p.view.scrollY, 0);
    // The model's drawing fields are put back after the drawing.
    EXPECT_EQ(p.model.canvas, nullptr);
    EXPECT_EQ(p.model.glyphPixelWidth, 0);
    EXPECT_EQ(double(p.model.pixelsPerInchX), 0.0);
    EXPECT_EQ(p.model.titleFont, nullptr);
}

TEST(vmodkit_PictureFrame, RefusesWhatCannotBeDrawn) {
    Vmod_Model model{};
    Vmodkit_View view;
    int32_t width = 0, height = 0;
    auto refused = [&](const char *message) {
        Oerr_ErrorReport *err = nullptr;
        bool ok = vmodkit_PictureFrame(&model, &view, &width, &height, &err);
        std::string text = err ? vmodhost_ErrorMessage(err) : "";
        oerr_DeleteErrorReportEx(&err);
        return !ok && text == message;
    };
    vmodkit_ViewDefault(&view);
    view.pixelsPerInch = 0;
    EXPECT_TRUE(refused("pixels per inch must be 1 to 2400"));
    vmodkit_ViewDefault(&view);
    view.zoom = 0;
    EXPECT_TRUE(refused("zoom must be 0.01 to 100"));
    vmodkit_ViewDefault(&view);
    Vmod_Node near{}, far{};
    far.x = 1e6;
    far.id = 7;
    near.next = &far;
    model.nodes = &near;
    EXPECT_TRUE(refused("the picture would be larger than 16384 pixels a side"));
    far.x = std::numeric_limits<double>::quiet_NaN();
    far.y = 1;
    EXPECT_TRUE(refused("node 7 has no finite position"));
    model.nodes = nullptr;
    ASSERT_TRUE(vmodkit_PictureFrame(&model, &view, &width, &height, nullptr));
    EXPECT_EQ(width, 2 * 96 + 1); // an empty model is a point with its margin
}

TEST(vmodkit_DrawModel, GlyphsTitlesAndArrowsWhereTheyMustBe) {
    VMOD_SKIP_WITHOUT_CAIRO();
    Picture p;
    EXPECT_EQ(p.At(96, 48), kBlack);   // raster 1: top of its outline, 0.5 inch above the centre
    EXPECT_EQ(p.At(240, 96), kBlack);  // function 2: left end of its ellipse
    EXPECT_EQ(p.At(288, 48), kBlack);  // function 2: top of its ellipse
    EXPECT_EQ(p.At(288, 252), kBlack); // scalar 4: top edge of its rectangle, 3/8 inch up
    EXPECT_EQ(p.At(190, 96), kBlack);  // arrow 1 -> 2 between the glyphs
    EXPECT_EQ(p.At(232, 97), kBlack);  // inside its head, just short of the tip
    EXPECT_EQ(p.At(232, 92), kWhite);  // beside the head
    EXPECT_EQ(p.At(288, 200), kBlack); // arrow 4 -> 2, straight up between the glyphs
    EXPECT_GT(p.Ink(76, 147, 116, 170), 15);  // "in" under raster 1
    EXPECT_GT(p.Ink(268, 339, 308, 370), 15); // "?" under the scalar
    EXPECT_GT(p.Ink(70, 270, 122, 300), 20);  // the text node "Note"
}

TEST(vmodkit_DrawModel, NoInkWhereNothingIsDrawn) {
    VMOD_SKIP_WITHOUT_CAIRO();
    Picture p;
    EXPECT_EQ(p.Ink(0, 0, 30, p.size.height - 1), 0);          // left margin
    EXPECT_EQ(p.Ink(0, 0, p.size.width - 1, 40), 0);           // top margin
    EXPECT_EQ(p.Ink(160, 150, 230, 230), 0);                   // between the nodes
    EXPECT_EQ(p.Ink(400, 180, p.size.width - 1, p.size.height - 1), 0); // right of the scalar, under "out"
}

TEST(vmodkit_DrawModel, SelectionChangesOnlyTheHighlightBox) {
    VMOD_SKIP_WITHOUT_CAIRO();
    Picture plain, selected({2});
    EXPECT_EQ(selected.At(288, 96), kWhite ^ kHighlight); // function centre
    // The selection was an argument: the node's own marks are as they were.
    EXPECT_EQ(selected.model.nodes->next->selected, 0);
    EXPECT_EQ(selected.model.nodes->next->highlighted, 0);
    for (int32_t y = 0; y < plain.size.height; ++y)
        for (int32_t x = 0; x < plain.size.width; ++x) {
            bool inBox = x >= 240 && x <= 336 && y >= 48 && y <= 144;
            if (!inBox) ASSERT_EQ(plain.At(x, y), selected.At(x, y)) << x << "," << y;
            else ASSERT_EQ(plain.At(x, y) ^ selected.At(x, y), kHighlight) << x << "," << y;
        }
}
