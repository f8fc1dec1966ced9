// vmod_ModelPrint against a recording printer: the exact calls for a portrait print at
// 100 percent (worked out from the printing rules by a separate calculation), page labels,
// and the page tiling at other scales and in landscape.
#include <gtest/gtest.h>

#include "print/page_grid.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "test_print_models.h"
#include "vmodhost/vmodhost_printer.h"

using namespace print_models;

namespace {

using Lines = std::vector<std::string>;

// A recording printer selected for the test, with the call log on.
struct RecordingPrinter {
    Ogdi_DeviceContext *dc = vmodhost_RecordingPrinterCreate();
    RecordingPrinter() {
        vmodhost_PrinterSelect(dc);
        vmodhost_PrinterLogEnable(1);
        vmodhost_PrinterLogClear();
    }
    ~RecordingPrinter() {
        vmodhost_PrinterLogEnable(0);
        vmodhost_PrinterLogClear();
        vmodhost_PrinterDelete(dc);
    }
};

Lines TakeLog() {
    Lines lines;
    for (size_t i = 0; i < vmodhost_PrinterLogCount(); ++i) lines.emplace_back(vmodhost_PrinterLogLine(i));
    vmodhost_PrinterLogClear();
    return lines;
}

// One node of every kind on page 1, arrows down, up, right and on a slant.
void BuildPrinterModel(PrintModel &m) {
    Vmod_Node *r = m.at(VMOD_RASTER, 1, 1.5, 1.5, "R");
    m.at(VMOD_VECTOR, 2, 3.5, 1.5, "V");
    Vmod_Node *x = m.at(VMOD_MATRIX, 3, 5.5, 1.5);
    Vmod_Node *t = m.at(VMOD_TABLE, 4, 1.5, 3.5, "T");
    Vmod_Node *s = m.at(VMOD_SCALAR, 5, 3.5, 3.5);
    Vmod_Node *f = m.at(VMOD_FUNCTION, 6, 5.5, 3.5, "F");
    Vmod_Node *c = m.at(VMOD_CRITERIA, 7, 1.5, 5.5, "C");
    m.text(8, 3.5, 5.5, "Sym", kSymbol, 12, 5);
    m.arrow(r, t);
    m.arrow(x, f);
    m.arrow(t, s);
    m.arrow(f, c);
    m.arrow(c, t);
}

const Lines kPortraitPage1 = {
        "SetTextAlign(6)",
        "SetBkMode(1)",
        "CreateFontA(-100, 0, 0, 0, 400, 0, 0, 0, 0, 4, 0, 2, 48, \"Courier New\") = font1",
        "SelectObject(font1)",
        "StartDocA(20, \"model - ORVAN VISTARA\", NULL)",
        "StartPage()",
        "CreateRectRgn(300, 300, 4800, 6300) = rgn1",
        "SelectClipRgn(rgn1)",
        "DeleteObject(rgn1)",
        "Polyline((960, 1080), (840, 1032), (1200, 900), (1560, 1032), (1440, 1080))",
        "Polyline((924, 1068), (840, 1092), (960, 1140))",
        "Polyline((1476, 1068), (1560, 1092), (1440, 1140))",
        "Polyline((924, 1128), (840, 1152), (960, 1200))",
        "Polyline((1476, 1128), (1560, 1152), (1440, 1200))",
        "Polyline((924, 1188), (840, 1212), (960, 1260))",
        "Polyline((1476, 1188), (1560, 1212), (1440, 1260))",
        "Polyline((924, 1248), (840, 1272), (960, 1320))",
        "Polyline((1476, 1248), (1560, 1272), (1440, 1320))",
        "Polyline((924, 1308), (840, 1332), (1200, 1464), (1560, 1332), (1476, 1308))",
        "TextOutA(1200, 1602, \"R\")",
        "MoveToEx(1200, 1470)",
        "LineTo(1200, 2130)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((1176, 2055), (1200, 2073), (1224, 2055), (1200, 2130), (1176, 2055))",
        "SelectObject(WHITE_BRUSH)",
        "MoveToEx(2100, 900)",
        "LineTo(2700, 900)",
        "LineTo(2700, 1500)",
        "LineTo(2100, 1500)",
        "LineTo(2100, 900)",
        "MoveToEx(2100, 1350)",
        "LineTo(2400, 900)",
        "MoveToEx(2250, 1125)",
        "LineTo(2700, 1275)",
        "MoveToEx(2550, 990)",
        "LineTo(2550, 1110)",
        "MoveToEx(2490, 1050)",
        "LineTo(2610, 1050)",
        "MoveToEx(2250, 1290)",
        "LineTo(2250, 1410)",
        "MoveToEx(2190, 1350)",
        "LineTo(2310, 1350)",
        "TextOutA(2400, 1602, \"V\")",
        "MoveToEx(3300, 900)",
        "LineTo(3900, 900)",
        "LineTo(3900, 1500)",
        "LineTo(3300, 1500)",
        "LineTo(3300, 900)",
        "MoveToEx(3300, 1020)",
        "LineTo(3900, 1020)",
        "MoveToEx(3420, 900)",
        "LineTo(3420, 1500)",
        "TextOutA(3600, 1655, \"?\")",
        "MoveToEx(3600, 1470)",
        "LineTo(3600, 2100)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((3576, 2025), (3600, 2043), (3624, 2025), (3600, 2100), (3576, 2025))",
        "SelectObject(WHITE_BRUSH)",
        "MoveToEx(900, 2100)",
        "LineTo(1500, 2100)",
        "LineTo(1500, 2700)",
        "LineTo(900, 2700)",
        "LineTo(900, 2100)",
        "MoveToEx(900, 2220)",
        "LineTo(1500, 2220)",
        "MoveToEx(1140, 2100)",
        "LineTo(1140, 2700)",
        "TextOutA(1200, 2802, \"T\")",
        "MoveToEx(1470, 2400)",
        "LineTo(2130, 2400)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((2055, 2423), (2073, 2396), (2055, 2376), (2134, 2396), (2055, 2423))",
        "SelectObject(WHITE_BRUSH)",
        "MoveToEx(2100, 2160)",
        "LineTo(2700, 2160)",
        "LineTo(2700, 2640)",
        "LineTo(2100, 2640)",
        "LineTo(2100, 2160)",
        "TextOutA(2400, 2784, \"?\")",
        "Arc(3300, 2100, 3900, 2700, 3300, 2400, 3300, 2400)",
        "TextOutA(3600, 2802, \"F\")",
        "MoveToEx(3331, 2534)",
        "LineTo(1468, 3465)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((1524, 3410), (1521, 3444), (1545, 3453), (1466, 3471), (1524, 3410))",
        "SelectObject(WHITE_BRUSH)",
        "Arc(900, 3300, 1500, 3900, 900, 3600, 900, 3600)",
        "MoveToEx(1020, 3480)",
        "LineTo(1260, 3480)",
        "MoveToEx(1080, 3420)",
        "LineTo(1080, 3660)",
        "MoveToEx(1020, 3540)",
        "LineTo(1260, 3540)",
        "MoveToEx(1140, 3420)",
        "LineTo(1140, 3660)",
        "MoveToEx(1020, 3600)",
        "LineTo(1260, 3600)",
        "MoveToEx(1200, 3420)",
        "LineTo(1200, 3660)",
        "TextOutA(1200, 4002, \"C\")",
        "MoveToEx(1200, 3300)",
        "LineTo(1200, 2670)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((1224, 2745), (1200, 2727), (1176, 2745), (1200, 2670), (1224, 2745))",
        "SelectObject(WHITE_BRUSH)",
        "CreateFontA(-100, 0, 0, 0, 700, 0, 1, 0, 0, 4, 0, 2, 80, \"Symbol\") = font2",
        "SelectObject(font2)",
        "TextOutA(2400, 3600, \"Sym\")",
        "SelectObject(font1)",
        "DeleteObject(font2)",
        "EndPage()",
        "EndDoc()",
        "DeleteObject(font1)",
};

} // namespace

TEST(vmod_ModelPrint, PortraitAtFullScaleMakesExactlyTheseCalls) {
    RecordingPrinter printer;
    PrintModel m;
    BuildPrinterModel(m);
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelPrint(&m.model, 1, 1, &err);
    EXPECT_EQ(err, nullptr);
    Lines log = TakeLog();
    ASSERT_EQ(log.size(), kPortraitPage1.size());
    for (size_t i = 0; i < log.size(); ++i) EXPECT_EQ(log[i], kPortraitPage1[i]) << "call " << i;
    EXPECT_EQ(vmodhost_PrinterPageCount(printer.dc), 1);
}

namespace {

// Calls of one page, from its ogdi_StartPage to its ogdi_EndPage.
std::vector<Lines> Pages(const Lines &log) {
    std::vector<Lines> pages;
    for (const std::string &line : log) {
        if (line == "StartPage()") pages.emplace_back();
        if (!pages.empty()) pages.back().push_back(line);
    }
    return pages;
}

struct Rect {
    int left, top, right, bottom;
    bool Holds(double x, double y) const { return x >= left && x < right && y >= top && y < bottom; }
};

Rect ClipOf(const Lines &page) {
    Rect r{0, 0, 0, 0};
    for (const std::string &line : page)
        if (std::sscanf(line.c_str(), "CreateRectRgn(%d, %d, %d, %d)", &r.left, &r.top, &r.right, &r.bottom) == 4)
            break;
    return r;
}

// Where each text node of a page is drawn, by its text: a text node's text is placed at
// the node centre itself, so this is exactly where the page puts the centre.
std::map<std::string, std::pair<int, int>> TextPositions(const Lines &page) {
    std::map<std::string, std::pair<int, int>> positions;
    for (const std::string &line : page) {
        int x, y;
        char text[64];
        if (std::sscanf(line.c_str(), "TextOutA(%d, %d, \"%63[^\"]\")", &x, &y, text) == 3) positions[text] = {x, y};
    }
    return positions;
}

std::vector<std::string> Matching(const Lines &lines, const std::string &prefix) {
    std::vector<std::string> found;
    for (const std::string &line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

// Text nodes named n1, n2, ... on a lattice over the whole model page and a little beyond
// its bottom; the lattice meets page edges exactly at some scales.
size_t BuildLattice(PrintModel &m, double width, double height, double step) {
    m.model.pageWidth = width;
    m.model.pageHeight = height;
    int32_t id = 1;
    for (double y = 0.3; y < height + 1.5; y += step)
        for (double x = 0.3; x < width; x += step) {
            std::string name = "n" + std::to_string(id);
            m.text(id++, x, y, name.c_str(), kTimes, 10, 0);
        }
    return static_cast<size_t>(id - 1);
}

} // namespace

TEST(vmod_ModelPrint, PageLabelsNameThePageAndTheLast) {
    RecordingPrinter printer;
    PrintModel m;
    m.model.pageWidth = 15;
    m.model.pageHeight = 25;
    m.model.pageNumbers = 1;
    vmod_ModelPrint(&m.model, 2, 5, nullptr);
    Lines log = TakeLog();
    std::vector<Lines> pages = Pages(log);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(Matching(log, "CreateFontA(-75, 0, 0, 0, 400, 0, 0, 0, 0, 4, 0, 2, 48, \"Courier New\") = font2").size(), 1u);
    for (int p = 2; p <= 5; ++p) {
        Lines labels = Matching(pages[p - 2], "TextOutA(");
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0], "TextOutA(2550, 6150, \"(Page " + std::to_string(p) + " of 5)\")");
        Lines selects = Matching(pages[p - 2], "SelectObject(font");
        EXPECT_EQ(selects, (Lines{"SelectObject(font2)", "SelectObject(font1)"}));
    }
    // The label font goes after the last page, the document font after the document.
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ((Lines{log.end() - 4, log.end()}),
              (Lines{"EndPage()", "DeleteObject(font2)", "EndDoc()", "DeleteObject(font1)"}));
}

TEST(vmod_ModelPrint, SecondColumnStartsAtTheClipEdge) {
    RecordingPrinter printer;
    PrintModel m;
    m.model.pageWidth = 15;
    m.at(VMOD_FUNCTION, 1, 8, 2, "F");
    vmod_ModelPrint(&m.model, 2, 2, nullptr);
    std::vector<Lines> pages = Pages(TakeLog());
    ASSERT_EQ(pages.size(), 1u);
    // x = 7.5 inch lands on the clip's left edge (300): the box's left edge at 7.5 too.
    EXPECT_EQ(Matching(pages[0], "Arc(")[0], "Arc(300, 1200, 900, 1800, 300, 1500, 300, 1500)");
}

TEST(vmod_ModelPrint, WithoutPrinterNothingHappens) {
    RecordingPrinter printer;
    vmodhost_PrinterSelect(nullptr);
    PrintModel m;
    BuildPrinterModel(m);
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelPrint(&m.model, 1, 1, &err);
    EXPECT_EQ(err, nullptr);
    EXPECT_TRUE(TakeLog().empty());
}

TEST(vmod_ModelPrint, PagesTileTheDiagramAtAnyScaleAndOrientation) {
    const double scales[] = {100, 50, 25, 150, 200, 37.5};
    const double margins[][4] = {{0.5, 0.5, 0.5, 0.5}, {0.25, 1.0, 0.75, 0.4}};
    for (int orientation = 0; orientation <= 1; ++orientation)
        for (double scale : scales)
            for (const auto &margin : margins) {
                SCOPED_TRACE("orientation " + std::to_string(orientation) + " scale " + std::to_string(scale) +
                             " top margin " + std::to_string(margin[0]));
                RecordingPrinter printer;
                vmodhost_PrinterSetOrientation(printer.dc, orientation);
                PrintModel m;
                m.model.orientation = orientation;
                m.model.printScale = scale;
                for (int i = 0; i < 4; ++i) m.model.margins[i] = margin[i];
                const size_t nodeCount = BuildLattice(m, 19, 13, 0.7);
                vmod_ModelPrint(&m.model, 1, vmod::print::PageCount(vmod::print::MakePageGrid(m.model)), nullptr);
                std::vector<Lines> pages = Pages(TakeLog());
                ASSERT_FALSE(pages.empty());

                std::map<std::string, int> shown;
                const double across = orientation ? 11 : 8.5, down = orientation ? 8.5 : 11;
                for (const Lines &page : pages) {
                    Rect clip = ClipOf(page);
                    // Margins are physical and turn with the paper.
                    const double left = orientation ? margin[1] : margin[2];
                    const double right = orientation ? margin[0] : margin[3];
                    const double top = orientation ? margin[2] : margin[0];
                    const double bottom = orientation ? margin[3] : margin[1];
                    EXPECT_EQ(clip.left, static_cast<int>(600 * left));
                    EXPECT_EQ(clip.top, static_cast<int>(600 * top));
                    EXPECT_EQ(clip.right, static_cast<int>(600 * across - 600 * right));
                    EXPECT_EQ(clip.bottom, static_cast<int>(600 * down - 600 * bottom));
                    auto positions = TextPositions(page);
                    ASSERT_EQ(positions.size(), nodeCount);
                    for (const auto &[name, at] : positions) shown[name] += clip.Holds(at.first, at.second);
                }
                for (size_t i = 1; i <= nodeCount; ++i) EXPECT_EQ(shown["n" + std::to_string(i)], 1) << "node " << i;
            }
}

TEST(vmod_ModelPrint, PrintScaleSizesTheGlyphs) {
    RecordingPrinter printer;
    PrintModel m;
    m.model.printScale = 50;
    m.at(VMOD_FUNCTION, 1, 2, 2, "F");
    vmod_ModelPrint(&m.model, 1, 1, nullptr);
    Lines log = TakeLog();
    // 300 device pixels per model inch; the document font is 6 points.
    EXPECT_EQ(Matching(log, "CreateFontA(")[0].rfind("CreateFontA(-50, ", 0), 0u);
    EXPECT_EQ(Matching(log, "Arc(")[0], "Arc(750, 750, 1050, 1050, 750, 900, 750, 900)");
}

TEST(vmod_ModelPrint, ZeroScaleWidthAndStrayPagesAreSafe) {
    struct Case {
        double printScale, pageWidth;
        int32_t first, last;
        size_t pages;
    } cases[] = {
        {0, 8.5, 1, 1, 1},                 // printed at 100 percent
        {-20, 8.5, 1, 1, 1},               // likewise
        {100, 0, 1, 2, 2},                 // one column, pages down the rows
        {100, 8.5, 7, 9, 3},               // beyond the diagram: printed, only labels show
        {100, 8.5, -5, 0, 0},              // before it
        {100, 8.5, INT32_MIN, 2, 2},       // starts at the first page
        {100, 8.5, INT32_MAX - 2, INT32_MAX, 3}, // no overflow at the top
        {100, 8.5, 3, 1, 0},               // empty range
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.printScale) + " " + std::to_string(c.pageWidth) + " " +
                     std::to_string(c.first) + ".." + std::to_string(c.last));
        RecordingPrinter printer;
        PrintModel m;
        m.model.printScale = c.printScale;
        m.model.pageWidth = c.pageWidth;
        m.model.pageNumbers = 1;
        BuildPrinterModel(m);
        m.at(VMOD_SCALAR, 20, 2, 12, "low");
        vmod_ModelPrint(&m.model, c.first, c.last, nullptr);
        Lines log = TakeLog();
        EXPECT_EQ(Pages(log).size(), c.pages);
        EXPECT_EQ(Matching(log, "StartDocA(").size(), 1u);
        EXPECT_EQ(Matching(log, "EndDoc(").size(), 1u);
        if (c.printScale <= 0) {
            EXPECT_EQ(Matching(log, "CreateFontA(")[0].rfind("CreateFontA(-100, ", 0), 0u);
        }
    }
}

TEST(vmod_ModelPrint, NonFiniteCoordinatesDoNotBreakThePrint) {
    RecordingPrinter printer;
    PrintModel m;
    Vmod_Node *a = m.at(VMOD_FUNCTION, 1, std::nan(""), 2, "A");
    Vmod_Node *b = m.at(VMOD_RASTER, 2, 1e300, -1e300, "B");
    Vmod_Node *c = m.at(VMOD_CRITERIA, 3, 2, 2, "C");
    m.arrow(a, b);
    m.arrow(b, c);
    m.arrow(c, a);
    vmod_ModelPrint(&m.model, 1, 1, nullptr);
    EXPECT_EQ(Pages(TakeLog()).size(), 1u);
}
