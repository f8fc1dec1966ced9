// vmod_ModelPrint on the host's PDF printer, read back with poppler: the page count and
// title, the titles and labels as text, and ink where the glyphs must be. Skipped where
// poppler's tools are not installed.
#include <gtest/gtest.h>

#include <string>

#include "vmodhost/oerr.h"
#include "test_print_models.h"
#include "vmodhost/vmodhost_printer.h"

using namespace print_models;

namespace {

// A chain across two columns and two rows of letter pages, labelled.
void BuildTwoByTwo(PrintModel &m) {
    m.model.pageWidth = 15;
    m.model.pageHeight = 20;
    m.model.pageNumbers = 1;
    Vmod_Node *a = m.at(VMOD_RASTER, 1, 2, 2, "Elevation");
    Vmod_Node *b = m.at(VMOD_FUNCTION, 2, 5, 4, "Slope");
    Vmod_Node *c = m.at(VMOD_CRITERIA, 3, 10, 4, "Steepness");
    Vmod_Node *d = m.at(VMOD_TABLE, 4, 10, 13, "Classes");
    Vmod_Node *e = m.at(VMOD_SCALAR, 5, 4, 15);
    m.at(VMOD_VECTOR, 6, 12.5, 18, "Streams");
    m.at(VMOD_MATRIX, 7, 7, 8, "Kernel");
    m.text(8, 4, 9, "Draft notes", kHelvetica, 14, 1);
    m.chain({a, b, c, d});
    m.arrow(e, d);
}

bool HavePoppler() { return HaveProgram("pdfinfo") && HaveProgram("pdftotext") && HaveProgram("pdftoppm"); }

struct PdfPrinter {
    Ogdi_DeviceContext *dc;
    explicit PdfPrinter(const std::string &path, int32_t dpi = 300) : dc(vmodhost_PdfPrinterCreate(path.c_str())) {
        vmodhost_PrinterSetResolution(dc, dpi);
        vmodhost_PrinterSelect(dc);
    }
    ~PdfPrinter() { vmodhost_PrinterDelete(dc); }
};

std::string PdfInfoField(const std::string &pdf, const std::string &field) {
    CommandResult info = RunCommand("pdfinfo " + Quoted(pdf));
    std::string output = "\n" + info.output;
    size_t at = output.find("\n" + field + ":");
    if (at == std::string::npos) return "";
    at = output.find_first_not_of(' ', at + field.size() + 2);
    return output.substr(at, output.find('\n', at) - at);
}

std::string PageText(const std::string &pdf, int page) {
    std::string txt = ScratchPath("page.txt");
    RunCommand("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " " + Quoted(pdf) + " " +
               Quoted(txt));
    return ReadWholeFile(txt);
}

bool PageImage(const std::string &pdf, int page, int dpi, GreyImage &image) {
    std::string stem = ScratchPath("page_image");
    RunCommand("pdftoppm -gray -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
               std::to_string(page) + " " + Quoted(pdf) + " " + Quoted(stem));
    return ReadPgm(stem + ".pgm", image);
}

} // namespace

TEST(vmod_ModelPrint, PdfHasThePagesTitleAndLabels) {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    std::string pdf = ScratchPath("two_by_two.pdf");
    PrintModel m;
    BuildTwoByTwo(m);
    {
        PdfPrinter printer(pdf);
        vmod_ModelPrint(&m.model, 1, 4, nullptr);
        EXPECT_EQ(vmodhost_PrinterFailed(printer.dc), 0);
    }
    EXPECT_EQ(PdfInfoField(pdf, "Pages"), "4");
    EXPECT_EQ(PdfInfoField(pdf, "Title"), "model - ORVAN VISTARA");
    EXPECT_EQ(PdfInfoField(pdf, "Page size").rfind("612 x 792 pts", 0), 0u);

    // Page 1 holds the columns 0..7.5 inch, rows 0..10; page 2 the next column.
    const char *pageTitles[4][3] = {{"Elevation", "Slope", "Kernel"},
                                    {"Steepness", "", ""},
                                    {"?", "", ""},
                                    {"Classes", "Streams", ""}};
    for (int page = 1; page <= 4; ++page) {
        std::string text = PageText(pdf, page);
        EXPECT_NE(text.find("(Page " + std::to_string(page) + " of 4)"), std::string::npos) << text;
        for (const char *title : pageTitles[page - 1])
            if (*title) {
                EXPECT_NE(text.find(title), std::string::npos) << "page " << page << ": " << title;
            }
    }
    EXPECT_NE(PageText(pdf, 1).find("Draft notes"), std::string::npos);
    EXPECT_EQ(PageText(pdf, 1).find("Steepness"), std::string::npos);
}

TEST(vmod_ModelPrint, PdfHasInkAtTheGlyphsOnly) {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    std::string pdf = ScratchPath("ink.pdf");
    PrintModel m;
    BuildTwoByTwo(m);
    m.model.pageNumbers = 0;
    {
        PdfPrinter printer(pdf);
        vmod_ModelPrint(&m.model, 1, 4, nullptr);
    }
    constexpr int kDpi = 40;
    for (int page = 1; page <= 4; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        GreyImage image;
        ASSERT_TRUE(PageImage(pdf, page, kDpi, image));
        const int column0 = (page - 1) % 2, row0 = (page - 1) / 2;
        auto place = [&](double x, double y, double &px, double &py) {
            px = 0.5 + x - 7.5 * column0;
            py = 0.5 + y - 10 * row0;
        };
        for (const Vmod_Node *n = m.model.nodes; n; n = n->next) {
            double px, py;
            place(n->x, n->y, px, py);
            const bool onPage = px >= 0.5 && px < 8 && py >= 0.5 && py < 10.5;
            if (onPage) {
                EXPECT_TRUE(image.InkNear(px * kDpi, py * kDpi, 0.55 * kDpi)) << "node " << n->id;
            }
        }
        // Nothing in the margins, nothing away from the diagram.
        std::vector<InkZone> zones = DiagramZones(m.model, 1.0, place);
        EXPECT_EQ(StrayInk(image, kDpi, zones), 0);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.Dark(x, y)) {
                    ASSERT_TRUE(x >= 0.5 * kDpi - 1 && x <= 8 * kDpi && y >= 0.5 * kDpi - 1 && y <= 10.5 * kDpi)
                        << x << "," << y;
                }
    }
}

TEST(vmod_ModelPrint, PdfLandscapeTurnsThePaper) {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    std::string pdf = ScratchPath("landscape.pdf");
    PrintModel m;
    m.model.orientation = 1;
    m.model.pageWidth = 10;
    m.model.pageHeight = 7.5;
    m.at(VMOD_FUNCTION, 1, 9.25, 6.5, "Corner");
    {
        PdfPrinter printer(pdf, 150);
        vmodhost_PrinterSetOrientation(printer.dc, 1);
        vmod_ModelPrint(&m.model, 1, 1, nullptr);
    }
    EXPECT_EQ(PdfInfoField(pdf, "Page size").rfind("792 x 612 pts", 0), 0u);
    GreyImage image;
    ASSERT_TRUE(PageImage(pdf, 1, 40, image));
    // One landscape page holds 10 x 7.5 inches: the node sits near its lower right corner.
    EXPECT_TRUE(image.InkNear((0.5 + 9.25) * 40, (0.5 + 6.5) * 40, 0.55 * 40));
    EXPECT_NE(PageText(pdf, 1).find("Corner"), std::string::npos);
}

TEST(vmod_ModelPrint, PdfUnwritablePathFailsCleanly) {
    PrintModel m;
    m.at(VMOD_FUNCTION, 1, 2, 2, "F");
    PdfPrinter printer(ScratchPath("missing_folder/out.pdf"));
    vmod_ModelPrint(&m.model, 1, 1, nullptr);
    EXPECT_NE(vmodhost_PrinterFailed(printer.dc), 0);
}
