// test_check_layout.cpp - the validator's layout checks: overlapping boxes, nodes off the
// model's pages, blank pages and the pages `vmod print` writes.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "check_support.h"
#include "support/cairo_support.h"
#include "vmodhost/vmodhost.h"

using namespace checktest;

namespace {

// A node block of kind with identifier, title and position (inches).
std::string Node(const std::string &kind, int id, double x, double y, const std::string &title = "") {
    std::ostringstream out;
    out << kind << " {\n\tID " << id << ";\n\tTITLE \"" << (title.empty() ? "n" + std::to_string(id) : title)
        << "\";\n\tPOSITION " << x << ", " << y << ";\n}\n";
    return out.str();
}

// kHeader with one statement replaced (the statement's keyword and what follows it).
std::string HeaderWith(const std::string &keyword, const std::string &statement) {
    std::string header = kHeader;
    const size_t at = header.find(keyword + " ");
    return header.replace(at, header.find('\n', at) - at, statement);
}

size_t CountCode(const Vmodcheck_Report &report, const std::string &code) {
    size_t count = 0;
    for (size_t i = 0; i < report.count; ++i) count += code == report.problems[i].code;
    return count;
}

std::string Message(const Vmodcheck_Report &report, const std::string &code) {
    const Vmodcheck_Problem *problem = Find(report, code);
    return problem != nullptr ? problem->message : "";
}

std::string Saved(Vmod_Model *model) {
    size_t length = 0;
    char *text = vmodkit_ModelSaveMemory(model, &length, nullptr);
    std::string saved(text != nullptr ? text : "", length);
    vmodkit_Free(text);
    return saved;
}

// The pages of the PDF `vmod print` writes for the model at path; 0 when it refused.
int PrintedPages(const std::string &path, const vmodtest::ScratchDir &dir) {
    const std::string pdf = dir.file("printed.pdf");
    const std::string command = "'" VMOD_BINARY_DIR "/tools/vmod' print '" + path + "' '" + pdf +
                                "' --dpi 10 </dev/null >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return 0;
    std::ifstream in(pdf, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int pages = 0;
    for (size_t at = text.find("/Type /Page"); at != std::string::npos; at = text.find("/Type /Page", at + 1))
        pages += text.compare(at, 12, "/Type /Pages") != 0;
    return pages;
}

} // namespace

// ---- overlapping boxes ----

TEST(CheckLayout, OverlappingGlyphsAreNamedBothAndPlacedAtTheLaterPosition) {
    FileModel file(std::string(kHeader) + Node("RASTER", 1, 2, 2, "dem") + Node("FUNCTION", 2, 2.5, 2.4, "slope"));
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    const Vmodcheck_Problem *problem = Find(*report, "L001");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    ASSERT_EQ(problem->nodeCount, 2u);
    EXPECT_EQ(problem->nodes[0], 1);
    EXPECT_EQ(problem->nodes[1], 2);
    EXPECT_EQ(std::string(problem->message), "function node 2 \"slope\" overlaps raster node 1 \"dem\"");
    // The second node's block starts on line 17 of the file; its POSITION is three lines on.
    EXPECT_EQ(problem->line, 20);
    EXPECT_EQ(problem->column, 2);
}

TEST(CheckLayout, GlyphsThatOnlyTouchOrStandApartDoNotOverlap) {
    // Function glyphs are one inch square: centres one inch apart touch, no more.
    FileModel file(std::string(kHeader) + Node("FUNCTION", 1, 2, 2) + Node("FUNCTION", 2, 3, 2) +
                   // A raster glyph is 1.2 inches wide: 1.3 apart leaves a gap.
                   Node("RASTER", 3, 2, 4) + Node("RASTER", 4, 3.3, 4));
    Report report = file.validate();
    EXPECT_FALSE(HasCode(*report, "L001")) << Message(*report, "L001");
}

TEST(CheckLayout, TitlesDoNotCountAsBoxes) {
    // Long titles side by side run into each other; the glyphs do not.
    FileModel file(std::string(kHeader) + Node("SCALAR", 1, 2, 2, "a rather long title for a scalar") +
                   Node("SCALAR", 2, 3.2, 2, "another rather long title"));
    Report report = file.validate();
    EXPECT_FALSE(HasCode(*report, "L001")) << Message(*report, "L001");
}

TEST(CheckLayout, ANoteOverAGlyphOverlapsIt) {
    VMOD_SKIP_WITHOUT_CAIRO();
    const std::string note = "TEXT {\n\tID 2;\n\tTITLE \"a note written right across the raster\";\n"
                             "\tPOSITION 4, 2;\n\tFONT \"Helvetica\";\n\tSIZE 12;\n}\n";
    FileModel file(std::string(kHeader) + Node("RASTER", 1, 2.5, 2) + note);
    Report report = file.validate();
    const Vmodcheck_Problem *problem = Find(*report, "L001");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(std::string(problem->message).rfind("text node 2 ", 0), 0u) << problem->message;
    // Moved a few inches down, it clears the glyph.
    FileModel apart(std::string(kHeader) + Node("RASTER", 1, 2.5, 2) +
                    std::string(note).replace(note.find("4, 2"), 4, "4, 4"));
    EXPECT_FALSE(HasCode(*apart.validate(), "L001"));
}

TEST(CheckLayout, AVeryLargeNoteIsComparedWithDistantGlyphs) {
    VMOD_SKIP_WITHOUT_CAIRO();
    // A note that spans many cells of the search grid, its glyph neighbour far from its
    // centre.
    std::string text(60, 'W');
    const std::string note = "TEXT {\n\tID 1;\n\tTITLE \"" + text +
                             "\";\n\tPOSITION 30, 10;\n\tFONT \"Helvetica\";\n\tSIZE 72;\n}\n";
    FileModel file(std::string(kHeader) + note + Node("FUNCTION", 2, 12, 9.8) + Node("FUNCTION", 3, 30, 20));
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "L001"), 1u) << Message(*report, "L001");
    const Vmodcheck_Problem *problem = Find(*report, "L001");
    ASSERT_EQ(problem->nodeCount, 2u);
    EXPECT_EQ(problem->nodes[0], 1);
    EXPECT_EQ(problem->nodes[1], 2);
}

TEST(CheckLayout, AHeapOfNodesListsAHundredOverlapsAndSaysThereAreMore) {
    std::string text = kHeader;
    for (int id = 1; id <= 300; ++id) text += Node("FUNCTION", id, 3, 3);
    FileModel file(text);
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "L001"), 101u);
    const Vmodcheck_Problem *last = nullptr;
    for (size_t i = 0; i < report->count; ++i)
        if (std::string("L001") == report->problems[i].code) last = &report->problems[i];
    EXPECT_EQ(last->nodeCount, 0u);
    EXPECT_EQ(std::string(last->message), "more node boxes overlap than the 100 listed");
}

TEST(CheckLayout, ACrowdOfTinyNotesStopsTheSearchAndSaysSo) {
    VMOD_SKIP_WITHOUT_CAIRO();
    // A thousand one-point dots close together but apart: comparing every pair would
    // take longer than the model's size allows.
    std::string text = kHeader;
    for (int id = 1; id <= 1000; ++id) {
        std::ostringstream note;
        note << "TEXT {\n\tID " << id << ";\n\tTITLE \".\";\n\tPOSITION " << 2 + (id % 40) * 0.05 << ", "
             << 2 + (id / 40) * 0.05 << ";\n\tFONT \"Helvetica\";\n\tSIZE 1;\n}\n";
        text += note.str();
    }
    FileModel file(text);
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "L001"), 1u) << Message(*report, "L001");
    EXPECT_EQ(Message(*report, "L001"), "the diagram is too crowded to look for every overlap; 0 overlapping boxes are listed");
}

// ---- nodes off the model's pages ----
// kHeader's pages: a 10 by 7.5 inch page, landscape letter paper with half-inch margins,
// so one printed page shows 10 by 7.5 inches; rows are added down to the lowest centre.

TEST(CheckLayout, ANodeBeyondThePageIsOffIt) {
    FileModel file(std::string(kHeader) + Node("RASTER", 1, 2, 2) + Node("RASTER", 2, 14, 2, "far"));
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "L002"), 1u);
    const Vmodcheck_Problem *problem = Find(*report, "L002");
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    ASSERT_EQ(problem->nodeCount, 1u);
    EXPECT_EQ(problem->nodes[0], 2);
    EXPECT_EQ(std::string(problem->message),
              "raster node 2 \"far\" lies outside the model's pages (10 by 7.5 inches): the editor's print and "
              "`vmod print --as-saved` leave it off");
    EXPECT_EQ(problem->line, 20);
}

TEST(CheckLayout, ANodeAcrossTheEdgeIsCutOff) {
    FileModel file(std::string(kHeader) + Node("MATRIX", 1, 9.8, 2) + Node("SCALAR", 2, -0.2, 3));
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "L002"), 2u);
    EXPECT_NE(Message(*report, "L002").find("reaches past the edge of the model's pages"), std::string::npos);
}

TEST(CheckLayout, NodesBelowThePageAddRowsAndStayOnThem) {
    // The grid grows down to the lowest centre: a node far below is printed.
    FileModel file(std::string(kHeader) + Node("RASTER", 1, 2, 2) + Node("RASTER", 2, 2, 20) +
                   Node("FUNCTION", 3, 9.4, 7));
    Report report = file.validate();
    EXPECT_FALSE(HasCode(*report, "L002")) << Message(*report, "L002");
}

TEST(CheckLayout, ALargerPageTakesTheNodeIn) {
    FileModel file(HeaderWith("PAGESIZE", "PAGESIZE 20, 7.5 INCHES;") + Node("RASTER", 1, 14, 2));
    Report report = file.validate();
    EXPECT_FALSE(HasCode(*report, "L002")) << Message(*report, "L002");
}

// ---- blank pages and the pages `vmod print` writes ----

TEST(CheckLayout, PagesThatHoldNothingAreCountedAsBlank) {
    // Two nodes on the first and the fourth page of a two by two grid, no arrow.
    FileModel file(HeaderWith("PAGESIZE", "PAGESIZE 20, 15 INCHES;") + Node("FUNCTION", 1, 2, 2) +
                   Node("FUNCTION", 2, 15, 12));
    Report report = file.validate();
    const Vmodcheck_Problem *blank = Find(*report, "L003");
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->severity, VMODCHECK_INFO);
    EXPECT_EQ(std::string(blank->message),
              "2 of the 4 pages of the print hold nothing: `vmod print` leaves them out, a range of pages "
              "(--pages) prints them blank");
    EXPECT_EQ(report->pages, 2);
    const Vmodcheck_Problem *count = Find(*report, "L004");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->severity, VMODCHECK_INFO);
    EXPECT_EQ(std::string(count->message), "`vmod print` writes 2 pages (a grid of 2 across and 2 down)");
}

TEST(CheckLayout, AnArrowAcrossAPageKeepsItFromBeingBlank) {
    FileModel file(HeaderWith("PAGESIZE", "PAGESIZE 30, 7.5 INCHES;") + "RASTER {\n\tID 1;\n\tTITLE \"a\";\n"
                   "\tPOSITION 2, 2;\n\tCHILD 2;\n}\n" + Node("FUNCTION", 2, 28, 2));
    Report report = file.validate();
    EXPECT_FALSE(HasCode(*report, "L003")) << Message(*report, "L003");
    EXPECT_EQ(report->pages, 3);
}

TEST(CheckLayout, AModelWithNothingOnPaperPrintsOneBlankPage) {
    FileModel file(kHeader);
    Report report = file.validate();
    EXPECT_EQ(Message(*report, "L003"), "nothing of the diagram reaches paper: `vmod print` writes one blank page");
    EXPECT_EQ(report->pages, 1);
    EXPECT_EQ(Message(*report, "L004"), "`vmod print` writes 1 page (a grid of 1 across and 1 down)");
}

TEST(CheckLayout, ThePageCountIsWhatVmodPrintWrites) {
    if (!vmodhost_HasCairo()) GTEST_SKIP() << "this vmod has no PDF printer";
    const std::string models[] = {
        // one page; a grid widened right and down; a node left of the page (moved right);
        // a tilted arrow over several pages; a print scale of 50 percent; nothing at all;
        // a grid too wide to print.
        std::string(kHeader) + Node("RASTER", 1, 2, 2),
        std::string(kHeader) + Node("RASTER", 1, 2, 2) + Node("SCALAR", 2, 25, 17),
        std::string(kHeader) + Node("RASTER", 1, -4, 2) + Node("TABLE", 2, 6, 3),
        std::string(kHeader) + "RASTER {\n\tID 1;\n\tTITLE \"a\";\n\tPOSITION 1, 1;\n\tCHILD 2;\n}\n" +
            Node("FUNCTION", 2, 33, 30),
        HeaderWith("PRINTSCALE", "PRINTSCALE 50;") + Node("RASTER", 1, 2, 2) + Node("SCALAR", 2, 25, 17),
        std::string(kHeader),
        HeaderWith("PRINTSCALE", "PRINTSCALE 1000;") + Node("RASTER", 1, 2, 2) + Node("RASTER", 2, 9999.5, 2),
    };
    for (const std::string &text : models) {
        FileModel file(text);
        ASSERT_TRUE(file.read());
        Report report = file.validate();
        EXPECT_EQ(report->pages, PrintedPages(file.path(), file.dir())) << text;
    }
}

TEST(CheckLayout, AModelThePrintRefusesHasNoPages) {
    // Beyond what a printed page can hold.
    FileModel far(std::string(kHeader) + Node("RASTER", 1, 20000, 2));
    Report report = far.validate();
    EXPECT_EQ(report->pages, 0);
    const Vmodcheck_Problem *problem = Find(*report, "L005");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(std::string(problem->message),
              "`vmod print` writes nothing for this model: raster node 1 \"n1\" stands at (20000, 2), which no "
              "printed page can hold");
    EXPECT_FALSE(HasCode(*report, "L004"));

    FileModel scale(HeaderWith("PRINTSCALE", "PRINTSCALE 0.001;") + Node("RASTER", 1, 2, 2));
    EXPECT_NE(Message(*scale.validate(), "L005").find("the print scale is 0.001 percent"), std::string::npos);

    // A grid of more than 10000 columns: a page shows one inch of the model at 1000 percent.
    FileModel wide(HeaderWith("PRINTSCALE", "PRINTSCALE 1000;") + Node("RASTER", 1, 2, 2) +
                   Node("RASTER", 2, 9999.5, 2));
    report = wide.validate();
    EXPECT_EQ(report->pages, 0);
    EXPECT_NE(Message(*report, "L005").find("more than the 10000 a print may have"), std::string::npos)
        << Message(*report, "L005");

    // More than 10000 pages crossed by one arrow.
    FileModel crossed(HeaderWith("PRINTSCALE", "PRINTSCALE 1000;") + "RASTER {\n\tID 1;\n\tTITLE \"a\";\n\tPOSITION 1, 1;\n\tCHILD 2;\n}\n" +
                      Node("FUNCTION", 2, 7000, 5000));
    report = crossed.validate();
    EXPECT_EQ(report->pages, 0);
    EXPECT_NE(Message(*report, "L005").find("pages hold something, more than one print may hold"),
              std::string::npos)
        << Message(*report, "L005");
}

TEST(CheckLayout, APrintableModelHasNoRefusal) {
    FileModel file(std::string(kHeader) + Node("RASTER", 1, 9000, 2));
    Report report = file.validate();
    EXPECT_FALSE(HasCode(*report, "L005")) << Message(*report, "L005");
    EXPECT_GT(report->pages, 0);
}

TEST(CheckLayout, TheModelIsLeftAsItWas) {
    // Widening the grid for the print moves every node right and down on its copy.
    FileModel file(std::string(kHeader) + Node("RASTER", 1, -4, -3) + Node("SCALAR", 2, 25, 17));
    const std::string before = Saved(file.model());
    Report report = file.validate();
    EXPECT_EQ(report->pages, 2);
    EXPECT_EQ(Saved(file.model()), before);
}
