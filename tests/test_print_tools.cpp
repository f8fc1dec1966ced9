// The printing commands of the vmod tool on the bundled examples and on a saved model:
// `vmod eps` (Ghostscript renders every example's EPS cleanly, with ink at each node),
// `vmod ps` (Ghostscript renders exactly the pages asked, labelled when the model says so)
// and `vmod print` (poppler reads the pages and title of the PDF).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "vmodhost/oerr.h"
#include "test_print_models.h"
#include "support/cairo_support.h"

using namespace print_models;

namespace {

CommandResult Vmod(const std::string &args) { return RunCommand(std::string(VMOD_BINARY_DIR) + "/tools/vmod " + args); }

std::vector<std::string> Examples() {
    std::vector<std::string> paths;
    for (const auto &entry : std::filesystem::directory_iterator(SourcePath("examples")))
        if (entry.path().extension() == ".vmf") paths.push_back(entry.path().string());
    return paths;
}

// A saved model over two columns and two rows of letter pages, with page numbers.
std::string SavedTwoByTwo() {
    PrintModel m;
    m.model.pageWidth = 15;
    m.model.pageHeight = 20;
    m.model.pageNumbers = 1;
    Vmod_Node *a = m.at(VMOD_RASTER, 1, 2, 2, "Elevation");
    Vmod_Node *b = m.at(VMOD_FUNCTION, 2, 10, 4, "Slope");
    Vmod_Node *c = m.at(VMOD_SCALAR, 3, 10, 13, "Mean");
    m.arrow(a, b);
    m.arrow(b, c);
    std::string path = ScratchPath("two_by_two.vmf");
    m.model.fileName = ostr_Duplicate(path.c_str());
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelWrite(&m.model, &err);
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    return path;
}

int RenderedPages(const std::string &ps, const std::string &stem, std::string &text) {
    for (int i = 1; i <= 20; ++i) std::filesystem::remove(stem + std::to_string(i) + ".pgm");
    CommandResult run = RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r20 -sOutputFile=" +
                                   Quoted(stem + "%d.pgm") + " " + Quoted(ps));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("Error"), std::string::npos) << run.output;
    text = RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- " + Quoted(ps)).output;
    int pages = 0;
    while (std::filesystem::exists(stem + std::to_string(pages + 1) + ".pgm")) ++pages;
    return pages;
}

} // namespace

TEST(VmodEpsCommand, EveryExampleRendersWithInkAtItsNodes) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    std::vector<std::string> examples = Examples();
    ASSERT_FALSE(examples.empty());
    for (const std::string &example : examples) {
        SCOPED_TRACE(example);
        std::string eps = ScratchPath(std::filesystem::path(example).stem().string() + ".eps");
        CommandResult run = Vmod("eps " + Quoted(example) + " " + Quoted(eps));
        ASSERT_EQ(run.status, 0) << run.output;
        std::string pgm = ScratchPath("example.pgm");
        CommandResult gs = RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pgmraw -r36 -sOutputFile=" +
                                      Quoted(pgm) + " " + Quoted(eps));
        EXPECT_EQ(gs.status, 0) << gs.output;
        EXPECT_EQ(gs.output.find("Error"), std::string::npos) << gs.output;
        GreyImage image;
        ASSERT_TRUE(ReadPgm(pgm, image));

        Vmod_Model model{};
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelRead(&model, example.c_str(), &err);
        ASSERT_EQ(err, nullptr);
        // The picture's top left corner is one inch left of the leftmost centre and one
        // inch above the topmost (the page extent counts too, as the writer does).
        double minX = model.pageWidth, maxX = 0, minY = model.pageHeight;
        for (const Vmod_Node *n = model.nodes; n; n = n->next) {
            const double x = n->x, y = n->y;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
        }
        minX = std::min(minX, maxX);
        for (const Vmod_Node *n = model.nodes; n; n = n->next) {
            double px = (n->x - minX + 1) * 36, py = (n->y - minY + 1) * 36 + (n->type == VMOD_TEXT ? 4 : 0);
            EXPECT_TRUE(image.InkNear(px, py, 0.55 * 36)) << "node " << n->id;
        }
        auto place = [&](double x, double y, double &px, double &py) {
            px = x - minX + 1;
            py = y - minY + 1;
        };
        EXPECT_EQ(StrayInk(image, 36, DiagramZones(model, 1.0, place)), 0);
        vmod_ModelDelete(&model, nullptr);
        omsc_HeapFree(model.title);
        omsc_HeapFree(model.projectionSameAs);
        omsc_HeapFree(model.projectionSpec1);
        omsc_HeapFree(model.projectionSpec2);
        omsc_HeapFree(model.aoiFile);
        vmod_RectDelete(model.window, nullptr);
    }
}

TEST(VmodEpsCommand, UnreadableModelOrFileFails) {
    EXPECT_EQ(Vmod("eps " + Quoted(ScratchPath("missing.vmf")) + " " + Quoted(ScratchPath("x.eps"))).status, 1);
    EXPECT_EQ(Vmod("eps " + Quoted(Examples()[0]) + " " + Quoted(ScratchPath("no_dir/x.eps"))).status, 1);
    EXPECT_EQ(Vmod("eps " + Quoted(Examples()[0])).status, 2);
}

TEST(VmodPsCommand, GhostscriptRendersExactlyThePagesAsked) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    std::string model = SavedTwoByTwo();
    std::string ps = ScratchPath("paged.ps");
    std::string stem = ScratchPath("paged_page");
    std::string text;

    ASSERT_EQ(Vmod("ps " + Quoted(model) + " " + Quoted(ps) + " --pages 2-3").status, 0);
    EXPECT_EQ(RenderedPages(ps, stem, text), 2);
    EXPECT_NE(text.find("Page 2"), std::string::npos) << text;
    EXPECT_NE(text.find("Page 3"), std::string::npos) << text;
    EXPECT_EQ(text.find("Page 1"), std::string::npos) << text;
    // Page 2 is the second column of the first row: Slope is there, Elevation is not.
    EXPECT_NE(text.find("Slope"), std::string::npos);

    // Page 3 holds nothing and is left out; the others keep their numbers.
    ASSERT_EQ(Vmod("ps " + Quoted(model) + " " + Quoted(ps)).status, 0);
    EXPECT_EQ(RenderedPages(ps, stem, text), 3);
    EXPECT_NE(text.find("Page 4"), std::string::npos) << text;
    EXPECT_EQ(text.find("Page 3"), std::string::npos) << text;
    GreyImage page1, page4;
    ASSERT_TRUE(ReadPgm(stem + "1.pgm", page1));
    ASSERT_TRUE(ReadPgm(stem + "3.pgm", page4));
    // Elevation at (2, 2) shows at (2.5, 2.5) inch on page 1; Mean at (10, 13) on page 4
    // (second column from 7.5, second row from 10 inch) at (3, 3.5) inch.
    EXPECT_TRUE(page1.InkNear(2.5 * 20, 2.5 * 20, 0.5 * 20));
    EXPECT_TRUE(page4.InkNear(3 * 20, 3.5 * 20, 0.5 * 20));

    EXPECT_EQ(Vmod("ps " + Quoted(model) + " " + Quoted(ps) + " --pages 3-9").status, 2);
    EXPECT_EQ(Vmod("ps " + Quoted(model) + " " + Quoted(ps) + " --pages 0-1").status, 2);
    EXPECT_EQ(Vmod("ps " + Quoted(model) + " " + Quoted(ps) + " --pages 3-2").status, 2);
    EXPECT_EQ(Vmod("ps " + Quoted(model) + " " + Quoted(ps) + " --dpi 300").status, 2);
}

TEST(VmodPrintCommand, PdfHasThePagesAskedAndTheTitle) {
    VMOD_SKIP_WITHOUT_CAIRO();
    if (!HaveProgram("pdfinfo") || !HaveProgram("pdftotext")) GTEST_SKIP() << "poppler-utils are not installed";
    std::string model = SavedTwoByTwo();
    std::string pdf = ScratchPath("printed.pdf");

    ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --pages 2-4 --dpi 150").status, 0);
    std::string info = RunCommand("pdfinfo " + Quoted(pdf)).output;
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           model - ORVAN VISTARA\n"), std::string::npos) << info;
    std::string text = RunCommand("pdftotext " + Quoted(pdf) + " -").output;
    EXPECT_NE(text.find("(Page 2 of 4)"), std::string::npos) << text;
    EXPECT_NE(text.find("(Page 4 of 4)"), std::string::npos) << text;
    EXPECT_NE(text.find("Mean"), std::string::npos) << text;

    ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf)).status, 0);
    info = RunCommand("pdfinfo " + Quoted(pdf)).output;
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info; // page 3 is blank
    text = RunCommand("pdftotext " + Quoted(pdf) + " -").output;
    EXPECT_NE(text.find("(Page 4 of 4)"), std::string::npos) << text;
    EXPECT_EQ(text.find("(Page 3 of 4)"), std::string::npos) << text;

    EXPECT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --pages 5-5").status, 2);
    EXPECT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --dpi 0").status, 2);
    EXPECT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --dpi").status, 2);
    EXPECT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(ScratchPath("no_dir/x.pdf"))).status, 1);
}
