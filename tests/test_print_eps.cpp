// EPS export: whole files against the golden files under tests/golden, and the lines the
// building blocks write for the cases worked out by hand.
//
// Set VMOD_UPDATE_GOLDEN=1 to rewrite the golden files from the current output (then read
// the difference before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "test_print_models.h"
#include "vmodhost/vmodhost.h"

using namespace print_models;

namespace {

std::string WriteEps(PrintModel &m, const std::string &name) {
    std::string path = ScratchPath(name);
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelEPS(path.c_str(), &m.model, &err);
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    return ReadWholeFile(path);
}

void ExpectGolden(PrintModel &m, const std::string &name) {
    std::string actual = WriteEps(m, name);
    std::string golden = SourcePath("tests/golden/" + name);
    const char *update = std::getenv("VMOD_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(golden, std::ios::binary) << actual;
    }
    EXPECT_EQ(actual, ReadWholeFile(golden)) << "golden " << name;
}

// Text written by fn into a scratch file.
template <typename Fn>
std::string Written(Fn fn) {
    std::string path = ScratchPath("fragment.ps");
    Ofio_File *file = ofio_Open(path.c_str(), "w", nullptr);
    EXPECT_NE(file, nullptr);
    fn(file);
    EXPECT_EQ(ofio_Close(file, 0), 0);
    return ReadWholeFile(path);
}

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// What vmod_TextPrint writes for a text node at (x, y) inches.
std::string TextPrinted(const char *title, const char *font, int32_t size, int32_t style, double x = 1,
                        double y = 1) {
    PrintModel m;
    Vmod_Node *node = m.text(1, x, y, title, font, size, style);
    return Written([&](Ofio_File *f) { vmod_TextPrint(f, node); });
}

} // namespace

// Whole files: an empty model (a two-inch box at the origin), one raster (offsets from its
// centre), every kind, and a model wider than tall.
TEST(vmod_ModelEPS, GoldenFiles) {
    const std::pair<void (*)(PrintModel &), const char *> cases[] = {
        {BuildEmpty, "eps_empty.eps"},
        {BuildOneRaster, "eps_one_raster.eps"},
        {BuildAllKinds, "eps_all_kinds.eps"},
        {BuildWide, "eps_wide.eps"},
    };
    for (const auto &[build, golden] : cases) {
        PrintModel m;
        build(m);
        ExpectGolden(m, golden);
    }
}

TEST(vmod_ModelEPS, FramingAndOrder) {
    PrintModel m;
    BuildOneRaster(m);
    std::string eps = WriteEps(m, "framing.eps");
    EXPECT_EQ(eps.rfind("%!PS-Adobe-3.0 EPSF-3.0\n", 0), 0u);
    EXPECT_TRUE(Contains(eps, "%%Creator: VISTARA Modelwright\n"));
    EXPECT_TRUE(Contains(eps, "%%Title: models/one_raster.gmd\n"));
    const char *order[] = {"%%EndComments", "/inch {72 mul} def", "/raster {", "/vector {", "/matrix {",
                           "/table {", "/scalar {", "/function {", "/criteria {", "/arrowhead {", "/arrow {",
                           "/model {", "%%EndProlog", "%%BeginSetup", "%%EndSetup",
                           "xoff yoff translate\nxscale yscale scale\n.01 inch setlinewidth\nmodel\n", "%%Trailer",
                           "%%EOF\n"};
    size_t at = 0;
    for (const char *part : order) {
        size_t found = eps.find(part, at);
        ASSERT_NE(found, std::string::npos) << part;
        at = found;
    }
    EXPECT_EQ(eps.size() - at, std::string("%%EOF\n").size());
}

TEST(vmod_ModelEPS, UnwritablePathReportsAndWritesNothing) {
    PrintModel m;
    BuildOneRaster(m);
    std::string path = ScratchPath("no_such_folder/x.eps");
    Oerr_ErrorReport *err = nullptr;
    vmodhost_SetErrorSink([](const char *, void *) {}, nullptr);
    vmod_ModelEPS(path.c_str(), &m.model, &err);
    vmodhost_SetErrorSink(nullptr, nullptr);
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(std::string(vmodhost_ErrorMessage(err)), "Error Creating Print File: " + path);
    EXPECT_EQ(std::string(vmodhost_ErrorFunction(err)), "vmod_ModelEPS");
    EXPECT_EQ(vmodhost_ErrorSeverity(err), 2);
    oerr_DeleteErrorReportEx(&err);
}

// The earlier file stays as it was, and the report's cause says why.
TEST(vmod_ModelEPS, FailedWriteReportsOnClose) {
    PrintModel m;
    BuildAllKinds(m);
    std::string path = ScratchPath("full_disk.eps");
    { std::ofstream(path) << "old"; }
    Oerr_ErrorReport *err = nullptr;
    vmodhost_SetErrorSink([](const char *, void *) {}, nullptr);
    vmodhost_FailWriteAfter(20);
    vmod_ModelEPS(path.c_str(), &m.model, &err);
    vmodhost_FailWriteAfter(0);
    vmodhost_SetErrorSink(nullptr, nullptr);
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(std::string(vmodhost_ErrorMessage(err)), "Error Closing EPS File: " + path);
    ASSERT_NE(vmodhost_ErrorCause(err), nullptr);
    EXPECT_EQ(std::string(vmodhost_ErrorMessage(vmodhost_ErrorCause(err))),
              "cannot write " + path + ": No space left on device");
    oerr_DeleteErrorReportEx(&err);
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "old");
}

TEST(vmod_ModelEPS, SuccessLeavesTheCallersReport) {
    PrintModel m;
    BuildEmpty(m);
    Oerr_ErrorReport *err = oerr_CreateErrorReport("earlier", 1, 2, nullptr, "old", 0);
    Oerr_ErrorReport *old = err;
    vmod_ModelEPS(ScratchPath("clears.eps").c_str(), &m.model, &err);
    EXPECT_EQ(err, old);
    EXPECT_EQ(vmodhost_ErrorCause(err), nullptr);
    oerr_DeleteErrorReportEx(&err);
}

TEST(vmod_NodePrint, TitledRasterLines) {
    PrintModel m;
    Vmod_Node *node = m.at(VMOD_RASTER, 1, 2, 3, "Input");
    std::string text = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    EXPECT_EQ(text, "\t\t2 inch 3 inch raster\n"
                    "\t\t/Helvetica-Bold findfont\n"
                    "\t\t14 7 mul 8 div scalefont\n"
                    "\t\tsetfont\n"
                    "\t\t2 inch (Input) stringwidth pop 2 div sub 3.67 inch moveto\n"
                    "\t\t1 -1 scale\n"
                    "\t\t(Input) show\n"
                    "\t\t1 -1 scale\n");
}

TEST(vmod_NodePrint, EscapesParenthesesInBothLines) {
    PrintModel m;
    Vmod_Node *node = m.at(VMOD_VECTOR, 1, 1, 1, "a(b)");
    std::string text = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    EXPECT_TRUE(Contains(text, "\t\t1 inch (a\\(b\\)) stringwidth pop 2 div sub 1.67 inch moveto\n"));
    EXPECT_TRUE(Contains(text, "\t\t(a\\(b\\)) show\n"));
}

TEST(vmod_NodePrint, UntitledScalarQuestionMark) {
    PrintModel m;
    Vmod_Node *node = m.at(VMOD_SCALAR, 1, 1, 2);
    std::string text = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    EXPECT_EQ(text, "\t\t1 inch 2 inch scalar\n"
                    "\t\t/Helvetica-Bold findfont\n"
                    "\t\t24 7 mul 8 div scalefont\n"
                    "\t\tsetfont\n"
                    "\t\t1 inch (?) stringwidth pop 2 div sub 2.64 inch moveto\n"
                    "\t\t1 -1 scale\n"
                    "\t\t(?) show\n"
                    "\t\t1 -1 scale\n");
}

// The "?" height is the title height plus 0.09, summed in that order: at y = -0.76 the
// sum is not exactly zero and prints as such.
TEST(vmod_NodePrint, QuestionMarkHeightSummedFromTheTitleHeight) {
    PrintModel m;
    Vmod_Node *node = m.at(VMOD_RASTER, 1, 1, -0.76);
    Vmod_Node *scalar = m.at(VMOD_SCALAR, 2, 1, -0.64);
    std::string text = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    std::string scalarText = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, scalar, nullptr); });
    EXPECT_TRUE(Contains(text, "\t\t1 inch (?) stringwidth pop 2 div sub 2.77556e-17 inch moveto\n"));
    EXPECT_TRUE(Contains(scalarText, "\t\t1 inch (?) stringwidth pop 2 div sub 2.77556e-17 inch moveto\n"));
}

// An arrow is written once, with its parent; none joins two nodes at one centre.
TEST(vmod_NodePrint, ArrowsInTheParentsOutputOnly) {
    PrintModel m;
    Vmod_Node *from = m.at(VMOD_RASTER, 1, 1, 1, "A");
    Vmod_Node *to = m.at(VMOD_FUNCTION, 2, 3, 1, "B");
    Vmod_Node *over = m.at(VMOD_RASTER, 3, 3, 1, "C");
    m.arrow(from, to);
    m.arrow(over, to);
    auto printed = [&](Vmod_Node *node) {
        return Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    };
    EXPECT_TRUE(Contains(printed(from), "\t\t1.45 inch 1 inch 2.5 inch 1 inch arrow\n"));
    EXPECT_FALSE(Contains(printed(to), "arrow"));
    const std::string overText = printed(over);
    EXPECT_FALSE(Contains(overText, "arrow"));
    EXPECT_FALSE(Contains(overText, "nan"));
}

TEST(vmod_NodePrint, UnknownKindGetsTitleOnly) {
    PrintModel m;
    Vmod_Node *node = m.at(VMOD_RASTER, 1, 1, 1, "X");
    node->type = 42;
    std::string text = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    node->type = VMOD_RASTER; // let the model release the payload it made
    EXPECT_EQ(text.rfind("\t\t/Helvetica-Bold findfont\n", 0), 0u);
}

TEST(vmod_NodePrint, NullNodeWritesNothingAndLeavesTheReport) {
    PrintModel m;
    Oerr_ErrorReport *err = oerr_CreateErrorReport("earlier", 1, 2, nullptr, "old", 0);
    Oerr_ErrorReport *old = err;
    std::string text = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, nullptr, &err); });
    EXPECT_EQ(text, "");
    EXPECT_EQ(err, old);
    oerr_DeleteErrorReportEx(&err);
}

TEST(vmod_NodePrint, TitleLongerThanTheScratchBuffer) {
    PrintModel m;
    std::string title(5000, '(');
    Vmod_Node *node = m.at(VMOD_FUNCTION, 1, 1, 1, title.c_str());
    std::string text = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    std::string escaped;
    for (int i = 0; i < 5000; ++i) escaped += "\\(";
    EXPECT_TRUE(Contains(text, "\t\t(" + escaped + ") show\n"));
}

TEST(vmod_TextPrint, UnknownFontBoldItalic) {
    std::string text = TextPrinted("Note", kOther, 12, 3, 2, 3);
    EXPECT_EQ(text, "\t\t/Courier-BoldOblique findfont\n"
                    "\t\t12 7 mul 8 div scalefont\n"
                    "\t\tsetfont\n"
                    "\t\t2 inch (Note) stringwidth pop 2 div sub 3 inch 12 3 mul 4 div add moveto\n"
                    "\t\t1 -1 scale\n"
                    "\t\t(Note) show\n"
                    "\t\t1 -1 scale\n");
}

TEST(vmod_TextPrint, TimesItalicUnderlined) {
    std::string text = TextPrinted("x)y", kTimes, 10, 6, 2, 3);
    EXPECT_EQ(text, "\t\t/Times-Italic findfont\n"
                    "\t\t10 7 mul 8 div scalefont\n"
                    "\t\tsetfont\n"
                    "\t\t2 inch (x\\)y) stringwidth pop 2 div sub 3 inch 10 3 mul 4 div add moveto\n"
                    "\t\t1 -1 scale\n"
                    "\t\t(x\\)y) show\n"
                    "\t\t1 -1 scale\n"
                    "\t\tnewpath\n"
                    "\t\t\t2 inch (x\\)y) stringwidth pop 2 div sub 3.03 inch 10 3 mul 4 div add moveto\n"
                    "\t\t\t(x\\)y) stringwidth\n"
                    "\t\t\trlineto\n"
                    "\t\tstroke\n");
}

TEST(vmod_TextPrint, FamiliesAndStyles) {
    struct Case {
        const char *font;
        int32_t style;
        const char *line;
    } cases[] = {
        {kTimes, 0, "/Times-Roman"},          {kCharter, 1, "/Times-Bold"},
        {kTimes, 3, "/Times-BoldItalic"},     {kHelvetica, 0, "/Helvetica"},
        {kHelvetica, 1, "/Helvetica-Bold"},   {kHelvetica, 2, "/Helvetica-Oblique"},
        {kHelvetica, 7, "/Helvetica-BoldOblique"}, {kSchoolbook, 0, "/StoneSerif"},
        {kSchoolbook, 5, "/StoneSerif-Semibold"},  {kSchoolbook, 2, "/StoneSerif-Italic"},
        {kSchoolbook, 3, "/StoneSerif-SemiboldItalic"}, {kSymbol, 0, "/Symbol"},
        {kSymbol, 3, "/Symbol"},              {nullptr, 0, "/Courier"},
        {kOther, 1, "/Courier-Bold"},         {kOther, 2, "/Courier-Oblique"},
    };
    for (const Case &c : cases) {
        std::string text = TextPrinted("t", c.font, 12, c.style);
        EXPECT_EQ(text.substr(0, text.find('\n') + 1), std::string("\t\t") + c.line + " findfont\n")
            << (c.font ? c.font : "(null)") << " " << c.style;
        EXPECT_EQ(Contains(text, "newpath"), c.style > 3);
    }
}

TEST(vmod_TextPrint, StyleOutsideTheRangeIsPrintedRegular) {
    std::string text = TextPrinted("t", kHelvetica, 12, 9);
    // Without a findfont line scalefont would meet no font on the stack.
    EXPECT_EQ(text.rfind("\t\t/Helvetica findfont\n", 0), 0u);
    EXPECT_FALSE(Contains(text, "newpath"));
}

TEST(vmod_TextPrint, UntitledTextShowsQuestionMark) {
    std::string text = TextPrinted(nullptr, kTimes, 12, 0);
    EXPECT_TRUE(Contains(text, "\t\t(?) show\n"));
}

TEST(vmod_NodePrint, TextNodeGoesToTextPrint) {
    PrintModel m;
    Vmod_Node *node = m.text(1, 1, 1, "t", kTimes, 12, 0);
    std::string viaNode = Written([&](Ofio_File *f) { vmod_NodePrint(f, &m.model, node, nullptr); });
    std::string direct = Written([&](Ofio_File *f) { vmod_TextPrint(f, node); });
    EXPECT_EQ(viaNode, direct);
}

// Each procedure writer, called alone, writes exactly its block of the all-kinds golden
// file, ending in an empty line.
TEST(vmod_RasterPrint, EachProcedureIsItsBlockOfTheGolden) {
    const std::string golden = ReadWholeFile(SourcePath("tests/golden/eps_all_kinds.eps"));
    void (*writers[])(Ofio_File *) = {vmod_RasterPrint, vmod_VectorPrint,   vmod_MatrixPrint,   vmod_TablePrint,
                                      vmod_ScalarPrint, vmod_FunctionPrint, vmod_CriteriaPrint, vmod_ArrowPrint};
    const char *starts[] = {"/raster {\n", "/vector {\n",   "/matrix {\n",   "/table {\n",
                            "/scalar {\n", "/function {\n", "/criteria {\n", "/arrowhead {\n"};
    for (int i = 0; i < 8; ++i) {
        const std::string text = Written(writers[i]);
        const size_t at = golden.find(starts[i]);
        ASSERT_NE(at, std::string::npos) << starts[i];
        EXPECT_EQ(text, golden.substr(at, text.size())) << starts[i];
        EXPECT_EQ(text.find("\n\n"), text.size() - 2) << starts[i];
    }
}

TEST(vmod_HeaderPrint, PortraitPrologueValues) {
    PrintModel m;
    std::string text = Written([&](Ofio_File *f) { vmod_HeaderPrint(f, &m.model); });
    EXPECT_EQ(text.substr(0, text.find("/printpage {\n")), "%!PS-Adobe-3.0\n"
                                                           "%%BoundingBox: 0 0 612 792\n"
                                                           "%%DocumentMedia: Plain 612 792 0 () ()\n"
                                                           "%%Orientation: Portrait\n"
                                                           "%%Pages: (atend)\n"
                                                           "%%EndComments\n"
                                                           "%%BeginProlog\n"
                                                           "/inch {72 mul} def\n"
                                                           "/xscale 1 def\n"
                                                           "/yscale -1 def\n"
                                                           "/angle 0 def\n"
                                                           "/xoff 0 inch def\n"
                                                           "angle 0 lt {\n"
                                                           "\t/yoff 0.5 inch 0.5 inch sub def\n"
                                                           "} {\n"
                                                           "\t/yoff 11 inch def\n"
                                                           "} ifelse\n"
                                                           "/leftmargin 0.5 inch xscale div def\n"
                                                           "/topmargin 0.5 inch yscale neg div def\n"
                                                           "/pagewidth 7.5 inch xscale div def\n"
                                                           "/pageheight 10 inch yscale neg div def\n");
    // Each page sets up its own coordinates and ends with the operand stack it began with.
    EXPECT_NE(text.find("\tcount /pagedepth exch def\n\tgsave\n\txoff yoff translate\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 72), "\tgrestore\n"
                                             "\t{ count pagedepth le { exit } if pop } loop\n"
                                             "\tshowpage\n"
                                             "} def\n\n");
}

TEST(vmod_HeaderPrint, LandscapeAndUnusableSheets) {
    PrintModel m;
    m.model.orientation = 1;
    m.model.printerPageWidth = 8.26772; // A4
    m.model.printerPageHeight = 11.6929;
    std::string text = Written([&](Ofio_File *f) { vmod_HeaderPrint(f, &m.model); });
    EXPECT_EQ(text.substr(0, text.find("%%Pages")), "%!PS-Adobe-3.0\n"
                                                    "%%BoundingBox: 0 0 596 842\n"
                                                    "%%DocumentMedia: Plain 595.276 841.889 0 () ()\n"
                                                    "%%Orientation: Landscape\n");
    // A sheet no printer takes names no media.
    m.model.printerPageWidth = 0;
    text = Written([&](Ofio_File *f) { vmod_HeaderPrint(f, &m.model); });
    EXPECT_EQ(text.substr(0, text.find("%%Pages")), "%!PS-Adobe-3.0\n%%Orientation: Landscape\n");
}

TEST(vmod_PrintPageNumbers, HalfScaleDoublesTheFontAndPositions) {
    PrintModel m;
    m.model.printScale = 50;
    std::string text = Written([&](Ofio_File *f) { vmod_PrintPageNumbers(f, &m.model, 1, 1); });
    EXPECT_EQ(text, "\n\t\t/Helvetica findfont\n"
                    "\t\t7 2 mul scalefont\n"
                    "\t\tsetfont\n"
                    "\n\t\t 14 inch 19.9 inch moveto\n"
                    "\t\t1 -1 scale\n"
                    "\t\t(Page 1) show\n"
                    "\t\t1 -1 scale\n");
}
