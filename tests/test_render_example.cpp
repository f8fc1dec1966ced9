// A bundled example read from its file and drawn on the drawing canvas, then through the
// `vmod render` command.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "support/cairo_support.h"
#include "support/drawn_picture.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

const std::string kExample = std::string(VMOD_SOURCE_DIR) + "/examples/every_kind.vmf";

// every_kind.vmf at 96 pixels per inch: node centres span x 1..7.5 and y 1.5..6 inches,
// so the canvas starts at paper (0, 0.5) and paper (x, y) is pixel (96x, 96y - 48).
struct ExamplePicture : vmodtest::DrawnPicture {
    ExamplePicture() : DrawnPicture(kExample) {}
    uint32_t AtPaper(double x, double y) const {
        return At(static_cast<int32_t>(x * 96), static_cast<int32_t>(y * 96 - 48));
    }
};

int RunTool(const std::string &args) {
    std::string command = std::string(VMOD_BINARY_DIR) + "/tools/vmod render " + args + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsPng(const std::string &path) {
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char magic[4] = {};
    size_t n = std::fread(magic, 1, 4, f);
    std::fclose(f);
    return n == 4 && magic[1] == 'P' && magic[2] == 'N' && magic[3] == 'G';
}

} // namespace

TEST(DrawPicture, BundledExampleHasInkWhereGlyphsMustBe) {
    VMOD_SKIP_WITHOUT_CAIRO();
    ExamplePicture p;
    ASSERT_NE(p.canvas, nullptr);
    EXPECT_EQ(p.size.width, static_cast<int32_t>(8.5 * 96) + 1);
    EXPECT_EQ(p.size.height, static_cast<int32_t>(6.5 * 96) + 1);
    EXPECT_EQ(p.AtPaper(1, 1), kBlack);       // raster 1: top of its outline
    EXPECT_EQ(p.AtPaper(2.5, 1), kBlack);     // vector 2: top-left corner of its box
    EXPECT_EQ(p.AtPaper(1.5, 3), kBlack);     // function 3: left end of its ellipse
    EXPECT_EQ(p.AtPaper(4.5, 2.5), kBlack);   // criteria 6: top of its ellipse
    EXPECT_EQ(p.AtPaper(4.25, 3), kBlack);    // criteria 6: inner grid
    EXPECT_EQ(p.AtPaper(3.5, 3), kBlack);     // arrow table 8 -> function 3, between the round glyphs
    EXPECT_EQ(p.AtPaper(5.5, 6.2), kBlack);   // scalar 14: left edge of its rectangle
    EXPECT_EQ(p.AtPaper(5.5, 5.5), kWhite);   // scalar 14 is 3/8 of an inch tall, half of it: not here
    EXPECT_GT(p.Ink(60, 147, 132, 170), 15); // "$n1_dem" under raster 1
    EXPECT_GT(p.Ink(40, 500, 150, 540), 40); // the text node "Cost "draft"" at (1, 6)
}

TEST(DrawPicture, BundledExampleHasNoInkWhereNothingIsDrawn) {
    VMOD_SKIP_WITHOUT_CAIRO();
    ExamplePicture p;
    EXPECT_EQ(p.Ink(0, 0, p.size.width - 1, 40), 0);                // top margin
    EXPECT_EQ(p.Ink(0, 0, 30, p.size.height - 1), 0);               // left margin
    EXPECT_EQ(p.Ink(p.size.width - 40, 0, p.size.width - 1, p.size.height - 1), 0); // right margin
    EXPECT_EQ(p.Ink(496, 310, 520, p.size.height - 1), 0);          // between raster 9 and scalar 14
    EXPECT_EQ(p.Ink(160, 465, 480, p.size.height - 1), 0);          // below the titles of rasters 4 and 9
}

TEST(DrawPicture, BundledExampleWrittenAsPng) {
    VMOD_SKIP_WITHOUT_CAIRO();
    ExamplePicture p;
    std::string path = std::string(VMOD_BINARY_DIR) + "/every_kind.png";
    ASSERT_EQ(vmodhost_CairoCanvasWritePng(p.canvas, path.c_str()), 1);
    EXPECT_TRUE(IsPng(path));
    std::remove(path.c_str());
}

TEST(VmodRenderCommand, DrawsTheExample) {
    VMOD_SKIP_WITHOUT_CAIRO();
    std::string out = std::string(VMOD_BINARY_DIR) + "/test_render_command.png";
    std::remove(out.c_str());
    ASSERT_EQ(RunTool("'" + kExample + "' '" + out + "' --zoom 1.5 --ppi 72 --select 3,6"), 0);
    EXPECT_TRUE(IsPng(out));
    std::remove(out.c_str());
}

TEST(VmodRenderCommand, FailuresExitOneUsageErrorsTwo) {
    std::string out = std::string(VMOD_BINARY_DIR) + "/test_render_command_bad.png";
    EXPECT_EQ(RunTool("/nonexistent/model.vmf '" + out + "'"), 1);
    EXPECT_EQ(RunTool("'" + kExample + "' '" + out + "' --select 99"), 1);
    EXPECT_EQ(RunTool("'" + kExample + "' /nonexistent-dir/out.png"), 1);
    EXPECT_EQ(RunTool("'" + kExample + "' '" + out + "' --zoom 1000"), 2);
    EXPECT_EQ(RunTool("'" + kExample + "' '" + out + "' --ppi 0"), 2);
    EXPECT_EQ(RunTool("'" + kExample + "' '" + out + "' --zoom abc"), 2);
    EXPECT_EQ(RunTool("'" + kExample + "' '" + out + "' --select 1,,2"), 2);
    EXPECT_EQ(RunTool("'" + kExample + "' '" + out + "' --colour red"), 2);
    EXPECT_EQ(RunTool("'" + kExample + "'"), 2);
    EXPECT_FALSE(IsPng(out));
}
