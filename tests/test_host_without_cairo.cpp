// A host built without Cairo (VMOD_CAIRO off) makes no drawing canvas and no PDF printer,
// and the tool commands that need them fail with a message instead of writing nothing.
// In a build with Cairo these tests skip.
#include <gtest/gtest.h>

#include <string>

#include "vmodhost/ogdi.h"
#include "test_print_models.h"
#include "vmodhost/vmodhost.h"
#include "vmodhost/vmodhost_printer.h"

using namespace print_models;

namespace {

class WithoutCairo : public ::testing::Test {
protected:
    void SetUp() override {
        if (vmodhost_HasCairo()) GTEST_SKIP() << "the host was built with Cairo";
    }
};

CommandResult Vmod(const std::string &args) { return RunCommand(std::string(VMOD_BINARY_DIR) + "/tools/vmod " + args); }

} // namespace

TEST_F(WithoutCairo, vmodhost_CairoCanvasCreateMakesNoCanvas) {
    EXPECT_EQ(vmodhost_CairoCanvasCreate(10, 10, 0xFFFFFF), nullptr);
    EXPECT_EQ(vmodhost_CairoCanvasWritePng(nullptr, "x.png"), 0);
    EXPECT_EQ(vmodhost_CairoCanvasPixel(nullptr, 0, 0), 0xFFFFFFFFu);
    // Another kind of canvas is answered as ever.
    Ooml_Canvas *recording = vmodhost_RecordingCanvasCreate("canvas");
    ASSERT_NE(recording, nullptr);
    EXPECT_EQ(vmodhost_CairoCanvasPixel(recording, 0, 0), 0xFFFFFFFFu);
    vmodhost_CanvasDelete(recording);
}

TEST_F(WithoutCairo, vmodhost_PdfPrinterCreateMakesNoPrinter) {
    EXPECT_EQ(vmodhost_PdfPrinterCreate(ScratchPath("none.pdf").c_str()), nullptr);
    // The recording printer needs no Cairo: a whole document goes through it.
    Ogdi_DeviceContext *dc = vmodhost_RecordingPrinterCreate();
    ASSERT_NE(dc, nullptr);
    Ogdi_DocInfo info{20, "doc", nullptr, nullptr, 0};
    EXPECT_GT(ogdi_StartDocA(dc, &info), 0);
    EXPECT_GT(ogdi_StartPage(dc), 0);
    EXPECT_EQ(ogdi_TextOutA(dc, 10, 10, "text", 4), 1);
    EXPECT_EQ(ogdi_LineTo(dc, 100, 100), 1);
    EXPECT_GT(ogdi_EndPage(dc), 0);
    EXPECT_GT(ogdi_EndDoc(dc), 0);
    EXPECT_EQ(vmodhost_PrinterPageCount(dc), 1);
    EXPECT_EQ(vmodhost_PrinterFailed(dc), 0);
    vmodhost_PrinterDelete(dc);
}

TEST_F(WithoutCairo, VmodRenderAndPrintSayWhyTheyFail) {
    std::string model = SourcePath("examples/ndvi.vmf");
    CommandResult render = Vmod("render " + Quoted(model) + " " + Quoted(ScratchPath("none.png")));
    EXPECT_EQ(render.status, 1);
    EXPECT_NE(render.output.find("vmod render: this vmod was built without Cairo"), std::string::npos) << render.output;
    CommandResult print = Vmod("print " + Quoted(model) + " " + Quoted(ScratchPath("none.pdf")));
    EXPECT_EQ(print.status, 1);
    EXPECT_NE(print.output.find("vmod print: this vmod was built without Cairo"), std::string::npos) << print.output;
    // Usage errors are still usage errors, and the commands that need no Cairo work.
    EXPECT_EQ(Vmod("render " + Quoted(model)).status, 2);
    EXPECT_EQ(Vmod("eps " + Quoted(model) + " " + Quoted(ScratchPath("ndvi.eps"))).status, 0);
}
