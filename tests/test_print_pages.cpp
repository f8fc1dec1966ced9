// Which pages `vmod ps` and `vmod print` write: a grid widened to every node (or the
// model's own with --as-saved), blank pages left out unless asked for, a page size in
// centimetres, the landscape warning, the page ceiling, the paged PostScript as a
// document of pages under Ghostscript, and PDF lines of one width at any resolution.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/cairo_support.h"
#include "test_print_models.h"

using namespace print_models;

namespace {

CommandResult Vmod(const std::string &args) { return RunCommand(std::string(VMOD_BINARY_DIR) + "/tools/vmod " + args); }

const char kLetterHeader[] = "PAGESIZE 8.5, 11 INCHES;\n"
                             "PRINTERPAGESIZE 8.5, 11;\n"
                             "MARGINS 0.5, 0.5, 0.5, 0.5;\n"
                             "PRINTSCALE 100;\n"
                             "PAGENUMBERS;\n";

std::string ModelFile(const std::string &name, const std::string &text) {
    std::string path = ScratchPath(name + ".vmf");
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string Scalar(int id, double x, double y, const std::string &title, int child = 0) {
    std::ostringstream s;
    s << "SCALAR {\n\tID " << id << ";\n\tTITLE \"" << title << "\";\n\tPOSITION " << x << ", " << y
      << ";\n\tVALUE 1;\n";
    if (child) s << "\tCHILD " << child << ";\n";
    s << "}\n";
    return s.str();
}

// Letter pages of 7.5 x 10 inches of the model: "Near" on page 1, "Far" at x = 20, three
// columns to the right of the model's two.
std::string FarModel() { return ModelFile("far", kLetterHeader + Scalar(1, 2, 2, "Near") + Scalar(2, 20, 2, "Far")); }

std::string GhostscriptText(const std::string &ps) {
    return RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- " + Quoted(ps)).output;
}

int Count(const std::string &text, const std::string &what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

} // namespace

TEST(VmodPrintPages, NodeRightOfThePageWidthIsPrintedOnAWidenedGrid) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    const std::string model = FarModel(), ps = ScratchPath("far.ps");
    const std::string before = ReadWholeFile(model);
    CommandResult run = Vmod("ps " + Quoted(model) + " " + Quoted(ps));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("page grid of 2 pages across and 2 down leaves part of the diagram off; printing 3 across"), std::string::npos)
        << run.output;
    // Far is in the third column: grid page 3 of the first row, after page 1, where its
    // box shows 5 inches right of the column's start (15 inches) and the margin.
    EXPECT_NE(ReadWholeFile(ps).find("%%Page: 1 1\n{picture} 1 1 printpage\n%%Page: 3 2\n{picture} 3 1 printpage\n"
                                     "%%Trailer\n%%Pages: 2\n"),
              std::string::npos);
    const std::string pgm = ScratchPath("far_page.pgm");
    ASSERT_EQ(RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r20 -dFirstPage=2 -dLastPage=2 "
                         "-sOutputFile=" + Quoted(pgm) + " " + Quoted(ps))
                  .status,
              0);
    GreyImage page;
    ASSERT_TRUE(ReadPgm(pgm, page));
    EXPECT_TRUE(page.InkNear(5.5 * 20, 2.5 * 20, 0.55 * 20));
    EXPECT_NE(GhostscriptText(ps).find("Page 3"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(model), before); // the file is not touched

    // The model's own grid ends at 15 inches; page 2 holds nothing there.
    run = Vmod("ps " + Quoted(model) + " " + Quoted(ps) + " --as-saved");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");
    EXPECT_NE(ReadWholeFile(ps).find("%%Page: 1 1\n{picture} 1 1 printpage\n%%Trailer\n%%Pages: 1\n"),
              std::string::npos);
}

TEST(VmodPrintPages, PdfCoversTheFarNodeAndLabelsGridNumbers) {
    VMOD_SKIP_WITHOUT_CAIRO();
    if (!HaveProgram("pdftotext")) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string model = FarModel(), pdf = ScratchPath("far.pdf");
    ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --dpi 100").status, 0);
    std::string text = RunCommand("pdftotext " + Quoted(pdf) + " -").output;
    EXPECT_NE(text.find("Far"), std::string::npos) << text;
    EXPECT_NE(text.find("(Page 1 of 6)"), std::string::npos) << text;
    EXPECT_NE(text.find("(Page 3 of 6)"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "(Page "), 2) << text;

    ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --dpi 100 --as-saved").status, 0);
    text = RunCommand("pdftotext " + Quoted(pdf) + " -").output;
    EXPECT_EQ(text.find("Far"), std::string::npos) << text;
    EXPECT_NE(text.find("(Page 1 of 4)"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "(Page "), 1) << text;
}

TEST(VmodPrintPages, NodesLeftOfAndAboveThePageMoveTheGridByWholePages) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    // The arrow from (1, 1) to (-5, -3) crosses the page below the corner page.
    const std::string model =
        ModelFile("negative", kLetterHeader + Scalar(1, 1, 1, "Inside", 2) + Scalar(2, -5, -3, "Outside"));
    const std::string ps = ScratchPath("negative.ps");
    ASSERT_EQ(Vmod("ps " + Quoted(model) + " " + Quoted(ps)).status, 0);
    const std::string written = ReadWholeFile(ps);
    EXPECT_NE(written.find("%%Page: 1 1\n{picture} 1 1 printpage\n%%Page: 4 2\n{picture} 1 2 printpage\n"
                           "%%Page: 5 3\n{picture} 2 2 printpage\n"),
              std::string::npos)
        << written;
    std::string text = GhostscriptText(ps);
    EXPECT_NE(text.find("Outside"), std::string::npos) << text;
    EXPECT_NE(text.find("Inside"), std::string::npos) << text;
}

TEST(VmodPrintPages, ExamplesLeaveBlankPagesOutUnlessAsked) {
    VMOD_SKIP_WITHOUT_CAIRO();
    if (!HaveProgram("pdfinfo")) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string ndvi = SourcePath("examples/ndvi.vmf"), pdf = ScratchPath("ndvi.pdf");
    const std::string ps = ScratchPath("ndvi.ps");
    ASSERT_EQ(Vmod("print " + Quoted(ndvi) + " " + Quoted(pdf) + " --dpi 50").status, 0);
    EXPECT_NE(RunCommand("pdfinfo " + Quoted(pdf)).output.find("Pages:           1\n"), std::string::npos);
    ASSERT_EQ(Vmod("print " + Quoted(ndvi) + " " + Quoted(pdf) + " --dpi 50 --pages 1-4").status, 0);
    EXPECT_NE(RunCommand("pdfinfo " + Quoted(pdf)).output.find("Pages:           4\n"), std::string::npos);
    ASSERT_EQ(Vmod("ps " + Quoted(ndvi) + " " + Quoted(ps)).status, 0);
    EXPECT_EQ(Count(ReadWholeFile(ps), "%%Page: "), 1);
    ASSERT_EQ(Vmod("ps " + Quoted(ndvi) + " " + Quoted(ps) + " --pages 2-4").status, 0);
    EXPECT_NE(ReadWholeFile(ps).find("%%Page: 2 1\n"), std::string::npos);
    EXPECT_NE(ReadWholeFile(ps).find("%%Trailer\n%%Pages: 3\n%%EOF\n"), std::string::npos);
}

TEST(VmodPrintPages, LandscapeOfAPageAlreadyWiderThanTallWarns) {
    const std::string header = "PAGESIZE 11, 8.5 INCHES;\nPRINTERPAGESIZE 11, 8.5;\nORIENTATION LANDSCAPE;\n";
    const std::string turned = ModelFile("turned", header + Scalar(1, 2, 2, "A"));
    const std::string ps = ScratchPath("turned.ps");
    CommandResult run = Vmod("ps " + Quoted(turned) + " " + Quoted(ps));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("vmod ps: warning: the printer page 11 by 8.5 is already wider than tall, and "
                              "ORIENTATION LANDSCAPE turns it back to portrait"),
              std::string::npos)
        << run.output;
    // The example gives its sheet upright and turns it: no warning, landscape letter.
    run = Vmod("ps " + Quoted(SourcePath("examples/everything.vmf")) + " " + Quoted(ps));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_NE(ReadWholeFile(ps).find("%%DocumentMedia: Plain 612 792 0 () ()\n%%Orientation: Landscape\n"),
              std::string::npos);
    const std::string upright = ModelFile("upright", "PAGESIZE 11, 8.5 INCHES;\nPRINTERPAGESIZE 11, 8.5;\n" +
                                                         Scalar(1, 2, 2, "A"));
    EXPECT_EQ(Vmod("ps " + Quoted(upright) + " " + Quoted(ps)).output, "");
}

TEST(VmodPrintPages, CentimetrePageSizeSurvivesSavesAndPrintsInInches) {
    const std::string model = ModelFile("a4cm", "PAGESIZE 21, 29.7 cm;\n" + Scalar(1, 2, 2, "A"));
    const std::string once = ScratchPath("a4cm_once.vmf"), twice = ScratchPath("a4cm_twice.vmf");
    ASSERT_EQ(Vmod("resave " + Quoted(model) + " " + Quoted(once)).status, 0);
    ASSERT_EQ(Vmod("resave " + Quoted(once) + " " + Quoted(twice)).status, 0);
    EXPECT_EQ(ReadWholeFile(once).substr(0, 31), "PAGESIZE 21, 29.7 CENTIMETERS;\n");
    EXPECT_EQ(ReadWholeFile(twice), ReadWholeFile(once));
    // 8.27 x 11.69 inches on letter pages of 7.5 x 10: two by two pages, not three by three.
    const std::string ps = ScratchPath("a4cm.ps");
    EXPECT_EQ(Vmod("ps " + Quoted(twice) + " " + Quoted(ps) + " --pages 4").status, 0);
    EXPECT_EQ(Vmod("ps " + Quoted(twice) + " " + Quoted(ps) + " --pages 5").status, 2);
    // A model in inches keeps its bytes.
    const std::string example = SourcePath("examples/ndvi.vmf"), copy = ScratchPath("ndvi_copy.vmf");
    ASSERT_EQ(Vmod("resave " + Quoted(example) + " " + Quoted(copy)).status, 0);
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(example));
}

TEST(VmodPrintPages, MoreThanTheCeilingIsRefusedBeforeWriting) {
    const std::string huge = ModelFile("huge", "PAGESIZE 9000, 9000 INCHES;\n");
    const std::string ps = ScratchPath("huge.ps");
    std::filesystem::remove(ps);
    CommandResult run = Vmod("ps " + Quoted(huge) + " " + Quoted(ps) + " --pages 1-20000");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("asks for 20000 pages, more than the 10000 one print may hold"), std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists(ps));
    EXPECT_EQ(Vmod("ps " + Quoted(huge) + " " + Quoted(ps) + " --pages 1-2000000000").status, 2);
    EXPECT_FALSE(std::filesystem::exists(ps));
    // By default only the pages that hold something are written: here the first alone.
    ASSERT_EQ(Vmod("ps " + Quoted(huge) + " " + Quoted(ps)).status, 0);
    EXPECT_EQ(Count(ReadWholeFile(ps), "%%Page: "), 1);
    std::filesystem::remove(ps);

    // At a print scale of a million percent one node covers millions of tiny pages.
    const std::string tiny = ModelFile("tiny", "PAGESIZE 8.5, 11 INCHES;\nPRINTSCALE 1e6;\n" + Scalar(1, 3, 3, "A"));
    run = Vmod("ps " + Quoted(tiny) + " " + Quoted(ps));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("needs more than 10000 of its"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(ps));
    const std::string pdf = ScratchPath("tiny.pdf");
    std::filesystem::remove(pdf);
    EXPECT_EQ(Vmod("print " + Quoted(tiny) + " " + Quoted(pdf)).status, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));

    // At ten times the size, a node 9000 inches away needs more columns than a grid may have.
    const std::string far = ModelFile("very_far", "PAGESIZE 8.5, 11 INCHES;\nPRINTSCALE 1000;\n" + Scalar(1, 9000, 3, "A"));
    run = Vmod("ps " + Quoted(far) + " " + Quoted(ps));
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(ps));
    EXPECT_EQ(Vmod("ps " + Quoted(far) + " " + Quoted(ps) + " --as-saved").status, 0);
}

TEST(VmodPrintPages, PagedPostScriptIsADocumentOfPagesWithACleanStack) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    const std::string ps = ScratchPath("stack.ps");
    // Every glyph procedure, labels on, and a landscape example, on A4 and letter devices.
    for (const char *example : {"examples/every_kind.vmf", "examples/everything.vmf"}) {
        SCOPED_TRACE(example);
        ASSERT_EQ(Vmod("ps " + Quoted(SourcePath(example)) + " " + Quoted(ps) + " --pages 1-4").status, 0);
        const std::string written = ReadWholeFile(ps);
        EXPECT_EQ(written.rfind("%!PS-Adobe-3.0\n", 0), 0u);
        EXPECT_EQ(Count(written, "\n%%Page: "), 4);
        EXPECT_NE(written.find("\n%%Pages: (atend)\n"), std::string::npos);
        EXPECT_NE(written.find("\n%%Trailer\n%%Pages: 4\n%%EOF\n"), std::string::npos);
        for (const char *paper : {"a4", "letter"}) {
            // Each page reports the stack depth and the sheet as it is shown.
            CommandResult run = RunCommand(
                std::string("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage -sPAPERSIZE=") + paper +
                " -c '/showpage { (depth ) print count == currentpagedevice /PageSize get == "
                "systemdict /showpage get exec } bind def' -f " +
                Quoted(ps) + " -c '(end ) print count =='");
            EXPECT_EQ(run.status, 0) << run.output;
            EXPECT_EQ(run.output, "depth 0\n[612 792]\ndepth 0\n[612 792]\ndepth 0\n[612 792]\n"
                                  "depth 0\n[612 792]\nend 0\n");
        }
        // Nothing is drawn outside the letter sheet's printable area.
        CommandResult bbox = RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox -sPAPERSIZE=a4 " + Quoted(ps));
        EXPECT_EQ(bbox.status, 0);
        std::istringstream lines(bbox.output);
        std::string line;
        int boxes = 0;
        while (std::getline(lines, line)) {
            double x1, y1, x2, y2;
            if (std::sscanf(line.c_str(), "%%%%HiResBoundingBox: %lf %lf %lf %lf", &x1, &y1, &x2, &y2) != 4) continue;
            if (x2 == 0 && y2 == 0) continue; // a page the range asked for that holds nothing
            ++boxes;
            EXPECT_GE(x1, 36 - 1);
            EXPECT_GE(y1, 36 - 1);
            EXPECT_LE(x2, 612 - 36 + 1);
            EXPECT_LE(y2, 792 - 36 + 1);
        }
        EXPECT_GE(boxes, 1) << bbox.output;
    }
}

TEST(VmodPrintPages, PdfLinesAreOneWidthAtAnyResolution) {
    VMOD_SKIP_WITHOUT_CAIRO();
    if (!HaveProgram("pdftoppm")) GTEST_SKIP() << "poppler-utils are not installed";
    // A scalar box at (2, 2): its top edge runs at 1.6 inch, 2.1 inch down the sheet.
    const std::string model = ModelFile("line_width", "PAGESIZE 8.5, 11 INCHES;\n" + Scalar(1, 2, 2, "A"));
    int widths[2] = {0, 0};
    const int dpis[2] = {10, 600};
    for (int i = 0; i < 2; ++i) {
        const std::string pdf = ScratchPath("line_width.pdf"), stem = ScratchPath("line_width");
        ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --dpi " + std::to_string(dpis[i])).status, 0);
        ASSERT_EQ(RunCommand("pdftoppm -r 400 -gray -singlefile " + Quoted(pdf) + " " + Quoted(stem)).status, 0);
        // pdftoppm writes PGM for gray output.
        GreyImage page;
        ASSERT_TRUE(ReadPgm(stem + ".pgm", page));
        const int x = static_cast<int>(2.5 * 400);
        for (int y = static_cast<int>(1.9 * 400); y < static_cast<int>(2.3 * 400); ++y)
            if (page.Dark(x, y)) ++widths[i];
    }
    // 0.01 inch is 4 pixels at 400 pixels per inch.
    EXPECT_NEAR(widths[0], 4, 1);
    EXPECT_NEAR(widths[1], 4, 1);
}

// The README's example: its note at x = 8 ends near x = 9.6, inside the first column of
// 10 inches, so only the two pages of the first column hold ink, in both prints.
TEST(VmodPrintPages, PagesAreChosenByTheInkTheTextReallyTakes) {
    const std::string example = SourcePath("examples/everything.vmf"), ps = ScratchPath("everything.ps");
    ASSERT_EQ(Vmod("ps " + Quoted(example) + " " + Quoted(ps)).status, 0);
    const std::string written = ReadWholeFile(ps);
    EXPECT_NE(written.find("%%Page: 1 1\n{picture} 1 1 printpage\n%%Page: 3 2\n{picture} 1 2 printpage\n%%Trailer\n"),
              std::string::npos)
        << written;
    if (HaveProgram("gs")) {
        // Every page written has ink on it.
        const std::string boxes =
            RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox " + Quoted(ps) + " 2>&1").output;
        EXPECT_EQ(Count(boxes, "%%BoundingBox: "), 2) << boxes;
        EXPECT_EQ(Count(boxes, "%%BoundingBox: 0 0 0 0"), 0) << boxes;
    }
    // A note whose last letters reach just past the column's edge puts its page in.
    const std::string reaching = ModelFile("reaching", std::string(kLetterHeader) +
                                                           "TEXT {\n\tID 1;\n\tTITLE \"WWWWWWWWWWWWWWWWWWWW\";\n"
                                                           "\tPOSITION 6.2, 2;\n\tFONT \"Helvetica\";\n\tSIZE 14;\n}\n");
    ASSERT_EQ(Vmod("ps " + Quoted(reaching) + " " + Quoted(ps)).status, 0);
    EXPECT_NE(ReadWholeFile(ps).find("{picture} 2 1 printpage\n"), std::string::npos);
    VMOD_SKIP_WITHOUT_CAIRO();
    const std::string pdf = ScratchPath("everything.pdf");
    ASSERT_EQ(Vmod("print " + Quoted(example) + " " + Quoted(pdf) + " --dpi 72").status, 0);
    EXPECT_NE(RunCommand("pdfinfo " + Quoted(pdf)).output.find("Pages:           2\n"), std::string::npos);
    if (HaveProgram("gs")) {
        const std::string boxes =
            RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox " + Quoted(pdf) + " 2>&1").output;
        EXPECT_EQ(Count(boxes, "%%BoundingBox: 0 0 0 0"), 0) << boxes;
    }
}

// Text reaching left of the first page moves the diagram by whole pages, as a node does.
TEST(VmodPrintPages, TextReachingLeftOfThePageMovesTheGrid) {
    const std::string model = ModelFile(
        "left_text", std::string(kLetterHeader) +
                         "TEXT {\n\tID 1;\n\tTITLE \"Study area: the whole northern watershed, clipped to the county "
                         "line\";\n\tPOSITION 1, 1;\n\tFONT \"Helvetica\";\n\tSIZE 14;\n}\n"
                         "RASTER {\n\tID 2;\n\tTITLE \"landcover_2019_reclassified_to_anderson_level_two_final\";\n"
                         "\tPOSITION 0.8, 4;\n}\n");
    const std::string ps = ScratchPath("left_text.ps");
    CommandResult run = Vmod("ps " + Quoted(model) + " " + Quoted(ps));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("printing 3 across and 2 down, moved 1 page right and 0 pages down for what reaches "
                              "left of or above the first page"),
              std::string::npos)
        << run.output;
    if (HaveProgram("gs")) {
        const std::string text = GhostscriptText(ps);
        EXPECT_NE(text.find("Study area"), std::string::npos) << text;
        EXPECT_NE(text.find("landcover_2019"), std::string::npos) << text;
    }
    VMOD_SKIP_WITHOUT_CAIRO();
    if (!HaveProgram("pdftotext")) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string pdf = ScratchPath("left_text.pdf");
    ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf) + " --dpi 72").status, 0);
    const std::string text = RunCommand("pdftotext " + Quoted(pdf) + " -").output;
    EXPECT_NE(text.find("Study area: the"), std::string::npos) << text;
    EXPECT_NE(text.find("landcover_2019_"), std::string::npos) << text;
}
