// Notes (text nodes) as every output shows them: the picture of `vmod render`, the PDF of
// `vmod print`, the EPS of `vmod eps`, the paged PostScript of `vmod ps` and the SVG of
// `vmod anno` agree on lines, size and face, and nothing of a note is cut or breaks the
// file around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/ostr.h"
#include "support/cairo_support.h"
#include "support/drawn_picture.h"
#include "test_print_support.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

namespace {

const char kHeader[] = "TITLE \"notes\";\nPAGESIZE 8.5, 11 INCHES;\nPRINTERPAGESIZE 8.5, 11;\n"
                       "MARGINS 0.5, 0.5, 0.5, 0.5;\nORIENTATION PORTRAIT;\nPRINTSCALE 100;\n";

// A TEXT block; size 0 leaves SIZE out.
std::string Note(int id, double x, double y, const std::string &title, const std::string &font, int size) {
    std::ostringstream block;
    block << "TEXT {\n\tID " << id << ";\n\tTITLE \"" << title << "\";\n\tPOSITION " << x << ", " << y << ";\n";
    if (!font.empty()) block << "\tFONT \"" << font << "\";\n";
    if (size != 0) block << "\tSIZE " << size << ";\n";
    block << "}\n";
    return block.str();
}

std::string Raster(int id, double x, double y, const std::string &title) {
    std::ostringstream block;
    block << "RASTER {\n\tID " << id << ";\n\tTITLE \"" << title << "\";\n\tPOSITION " << x << ", " << y << ";\n}\n";
    return block.str();
}

std::string WriteModel(const std::string &name, const std::string &blocks) {
    std::string path = ScratchPath(name);
    std::ofstream(path, std::ios::binary) << kHeader << blocks;
    return path;
}

CommandResult Vmod(const std::string &args) { return RunCommand(std::string(VMOD_BINARY_DIR) + "/tools/vmod " + args); }

// Runs `vmod COMMAND MODEL OUT` and gives the output file's text.
std::string Output(const std::string &command, const std::string &model, const std::string &extension) {
    std::string out = ScratchPath(command + "." + extension);
    CommandResult run = Vmod(command + " " + Quoted(model) + " " + Quoted(out));
    EXPECT_EQ(run.status, 0) << run.output;
    return ReadWholeFile(out);
}

std::vector<std::string> LinesOf(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int Count(const std::string &text, const std::string &what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The lines Ghostscript finds text on, from its text output of a PostScript file.
std::vector<std::string> GhostscriptText(const std::string &ps, bool eps) {
    CommandResult run = RunCommand(std::string("gs -q -dSAFER -dBATCH -dNOPAUSE ") + (eps ? "-dEPSCrop " : "") +
                                   "-sDEVICE=txtwrite -sOutputFile=- " + Quoted(ps));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("Error"), std::string::npos) << run.output;
    return LinesOf(run.output);
}

bool LineHolds(const std::vector<std::string> &lines, const std::string &a, const std::string &b) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string &line) {
        return line.find(a) != std::string::npos && line.find(b) != std::string::npos;
    });
}
bool AnyLineHolds(const std::vector<std::string> &lines, const std::string &a) { return LineHolds(lines, a, a); }

// The y of the moveto that places each shown line of the text node, in file order.
std::vector<std::string> ShownAt(const std::string &ps, const std::string &line) {
    std::vector<std::string> ys;
    std::regex moveto("\t\t[-0-9.e]+ inch \\(" + line + "\\) stringwidth pop 2 div sub ([-0-9.e]+) inch");
    for (std::sregex_iterator it(ps.begin(), ps.end(), moveto), end; it != end; ++it) ys.push_back((*it)[1]);
    return ys;
}

// A model read and drawn as `vmod render` draws it, kept for looking at its pixels.
struct Drawn : vmodtest::DrawnPicture {
    explicit Drawn(const std::string &path) : DrawnPicture(path) {}
    bool Ink(int32_t x, int32_t y) const { return vmodhost_CairoCanvasPixel(canvas, x, y) != 0xFFFFFF; }
    // First and last row with ink in the square of half side r around paper (px, py),
    // -1 when none.
    std::pair<int32_t, int32_t> InkRows(double px, double py, double r) const {
        int32_t first = -1, last = -1;
        const int32_t x0 = static_cast<int32_t>((px - r) * 96) - view.scrollX, x1 = x0 + static_cast<int32_t>(2 * r * 96);
        const int32_t y0 = static_cast<int32_t>((py - r) * 96) - view.scrollY, y1 = y0 + static_cast<int32_t>(2 * r * 96);
        for (int32_t y = y0; y <= y1; ++y)
            for (int32_t x = x0; x <= x1; ++x)
                if (Ink(x, y)) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
        return {first, last};
    }
    bool InkOnTheBorder() const {
        for (int32_t x = 0; x < size.width; ++x)
            if (Ink(x, 0) || Ink(x, size.height - 1)) return true;
        for (int32_t y = 0; y < size.height; ++y)
            if (Ink(0, y) || Ink(size.width - 1, y)) return true;
        return false;
    }
    const Vmod_TextData &Text(int32_t id) const {
        for (const Vmod_Node *node = model.nodes; node; node = node->next)
            if (node->id == id) return *static_cast<const Vmod_TextData *>(node->data);
        static const Vmod_TextData none{};
        return none;
    }
};

} // namespace

TEST(NoteOutputs, TwoLinesAreTwoLinesInEveryOutput) {
    const std::string model =
        WriteModel("two_lines.vmf", Raster(1, 1, 1, "dem") + Note(2, 3, 3, "Alpha line\nBeta line", "helvetica", 14));

    // EPS and paged PostScript: each line shown on its own, one text size lower.
    for (const char *command : {"eps", "ps"}) {
        SCOPED_TRACE(command);
        std::string ps = Output(command, model, command);
        EXPECT_EQ(ps.find("Alpha line\nBeta"), std::string::npos);
        EXPECT_EQ(ShownAt(ps, "Alpha line"), std::vector<std::string>{"3"});
        EXPECT_EQ(ShownAt(ps, "Beta line"), std::vector<std::string>{"3.19444"}); // 14 points below
        EXPECT_EQ(Count(ps, "(Alpha line) show\n"), 1);
        EXPECT_EQ(Count(ps, "(Beta line) show\n"), 1);
        if (!HaveProgram("gs")) continue;
        std::string path = ScratchPath(std::string("gs.") + command);
        std::ofstream(path, std::ios::binary) << ps;
        std::vector<std::string> text = GhostscriptText(path, std::string(command) == "eps");
        EXPECT_TRUE(AnyLineHolds(text, "Alpha line"));
        EXPECT_TRUE(AnyLineHolds(text, "Beta line"));
        EXPECT_FALSE(LineHolds(text, "Alpha", "Beta"));
    }

    // PDF: two lines of text, neither holding the other's words.
    if (vmodhost_HasCairo() && HaveProgram("pdftotext")) { // the PDF printer needs Cairo
        std::string pdf = ScratchPath("two_lines.pdf");
        CommandResult run = Vmod("print " + Quoted(model) + " " + Quoted(pdf));
        ASSERT_EQ(run.status, 0) << run.output;
        std::vector<std::string> text = LinesOf(RunCommand("pdftotext -layout " + Quoted(pdf) + " -").output);
        EXPECT_TRUE(AnyLineHolds(text, "Alpha line"));
        EXPECT_TRUE(AnyLineHolds(text, "Beta line"));
        EXPECT_FALSE(LineHolds(text, "Alpha", "Beta"));
    }

    // SVG: one tspan a line.
    std::string svg = Output("anno", model, "svg");
    EXPECT_NE(svg.find("dy=\"-0.6em\">Alpha line</tspan>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("dy=\"1.2em\">Beta line</tspan>"), std::string::npos) << svg;

    // Picture: the note's ink is two lines high, the one-line note's one line.
    VMOD_SKIP_WITHOUT_CAIRO();
    Drawn two(model);
    Drawn one(WriteModel("one_line.vmf", Raster(1, 1, 1, "dem") + Note(2, 3, 3, "Alpha line", "helvetica", 14)));
    EXPECT_EQ(two.Text(2).extentHeight, 2 * one.Text(2).extentHeight);
    auto [twoTop, twoBottom] = two.InkRows(3, 3, 0.75);
    auto [oneTop, oneBottom] = one.InkRows(3, 3, 0.75);
    ASSERT_GE(oneTop, 0);
    ASSERT_GE(twoTop, 0);
    const int32_t line = static_cast<int32_t>(one.Text(2).extentHeight);
    EXPECT_LE(oneBottom - oneTop, line);
    EXPECT_GT(twoBottom - twoTop, line + line / 2);
    EXPECT_EQ(Vmod("render " + Quoted(model) + " " + Quoted(ScratchPath("two_lines.png"))).status, 0);
}

TEST(NoteOutputs, NoteNearTheEdgeIsNotCut) {
    VMOD_SKIP_WITHOUT_CAIRO();
    const std::string text = "A long note that reaches well beyond one inch";
    const std::string model = WriteModel("edge.vmf", Note(1, 0.5, 0.5, text, "Helvetica", 14) +
                                                         Note(2, 4, 3, "Mmmm mmmm\nWWWW wwww mmmm", "", 24) +
                                                         Raster(3, 3, 2, "dem"));
    Drawn picture(model);
    const double halfWidth = picture.Text(1).extentWidth / 96.0 / 2;
    ASSERT_GT(halfWidth, 1.0); // the text reaches beyond the one-inch margin
    EXPECT_GE(picture.size.width, static_cast<int32_t>(picture.Text(1).extentWidth));
    EXPECT_FALSE(picture.InkOnTheBorder());
    EXPECT_LE(picture.view.scrollX, static_cast<int32_t>((0.5 - halfWidth) * 96));

    // The SVG's extent holds the text as wide as the picture measured it (at a larger
    // size than the SVG draws it), and the big two-line note's lines.
    std::string svg = Output("anno", model, "svg");
    std::smatch box;
    ASSERT_TRUE(std::regex_search(svg, box, std::regex("viewBox=\"([-0-9.e]+) ([-0-9.e]+) ([-0-9.e]+) ([-0-9.e]+)\"")));
    const double left = std::stod(box[1]), top = std::stod(box[2]);
    const double right = left + std::stod(box[3]), bottom = top + std::stod(box[4]);
    EXPECT_LE(left, 0.5 - halfWidth);
    EXPECT_GE(right, 4 + picture.Text(2).extentWidth / 96.0 / 2);
    EXPECT_GE(bottom, 3 + picture.Text(2).extentHeight / 96.0 / 2);
    EXPECT_LE(top, 0.5 - 14.0 / 72);

    // The EPS picture holds every note whole: no ink on its border.
    if (!HaveProgram("gs")) return;
    std::string eps = ScratchPath("edge.eps"), pgm = ScratchPath("edge.pgm");
    ASSERT_EQ(Vmod("eps " + Quoted(model) + " " + Quoted(eps)).status, 0);
    CommandResult gs = RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pgmraw -r72 -sOutputFile=" +
                                  Quoted(pgm) + " " + Quoted(eps));
    ASSERT_EQ(gs.status, 0) << gs.output;
    GreyImage image;
    ASSERT_TRUE(ReadPgm(pgm, image));
    int border = 0;
    for (int x = 0; x < image.width; ++x) border += image.Dark(x, 0) + image.Dark(x, image.height - 1);
    for (int y = 0; y < image.height; ++y) border += image.Dark(0, y) + image.Dark(image.width - 1, y);
    EXPECT_EQ(border, 0);
    EXPECT_GT(image.DarkCount(), 100);
}

TEST(NoteOutputs, NoteWithoutSizeIsDrawnAtTheDefaultSize) {
    const std::string model = WriteModel("no_size.vmf", Note(1, 2, 2, "Unsized", "Helvetica", 0) +
                                                            Note(2, 2, 4, "Sized", "Helvetica", 12));
    std::string eps = Output("eps", model, "eps");
    EXPECT_EQ(Count(eps, "\t\t12 7 mul 8 div scalefont\n"), 2);
    std::string svg = Output("anno", model, "svg");
    EXPECT_EQ(Count(svg, "data-font-size=\"11.64pt\""), 2) << svg; // 12 points in the sans factor 0.97
    if (vmodhost_HasCairo() && HaveProgram("pdftotext")) { // the PDF printer needs Cairo
        std::string pdf = ScratchPath("no_size.pdf");
        ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf)).status, 0);
        std::string text = RunCommand("pdftotext " + Quoted(pdf) + " -").output;
        EXPECT_NE(text.find("Unsized"), std::string::npos);
    }
    VMOD_SKIP_WITHOUT_CAIRO();
    Drawn picture(model);
    EXPECT_EQ(picture.Text(1).extentHeight, picture.Text(2).extentHeight);
    EXPECT_GT(picture.Text(1).extentHeight, 10u);
    EXPECT_EQ(picture.Text(1).size, 0); // the model keeps what it read
}

// A sans and a serif note, their faces typed as name: Helvetica and Times in the EPS, the
// SVG and the PDF (the printer's sans and serif faces, and no fixed-pitch one).
static void ExpectSansAndSerifEverywhere(const std::string &name, const char *sans, const char *serif) {
    const std::string model = WriteModel(name + ".vmf", Note(1, 2, 2, "Sans words", sans, 12) +
                                                            Note(2, 2, 4, "Serif words", serif, 12));
    std::string eps = Output("eps", model, "eps");
    EXPECT_NE(eps.find("\t\t/Helvetica findfont\n"), std::string::npos);
    EXPECT_NE(eps.find("\t\t/Times-Roman findfont\n"), std::string::npos);
    EXPECT_EQ(eps.find("Courier"), std::string::npos);
    std::string svg = Output("anno", model, "svg");
    EXPECT_NE(svg.find("font-family: Helvetica"), std::string::npos) << svg;
    EXPECT_NE(svg.find("font-family: 'Times New Roman'"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("monospace"), std::string::npos) << svg;
    if (vmodhost_HasCairo() && HaveProgram("pdffonts")) { // the PDF printer needs Cairo
        std::string pdf = ScratchPath(name + ".pdf");
        ASSERT_EQ(Vmod("print " + Quoted(model) + " " + Quoted(pdf)).status, 0);
        std::string fonts = RunCommand("pdffonts " + Quoted(pdf)).output;
        EXPECT_TRUE(std::regex_search(fonts, std::regex("Sans|Arial|Arimo|Helvetica"))) << fonts;
        EXPECT_TRUE(std::regex_search(fonts, std::regex("Serif|Times|Tinos"))) << fonts;
        EXPECT_FALSE(std::regex_search(fonts, std::regex("Mono|Courier|Cousine"))) << fonts;
    }
}

TEST(NoteOutputs, CapitalisedFaceNamesGiveTheirFaceEverywhere) {
    ExpectSansAndSerifEverywhere("faces", "Helvetica", "TIMES");
}

// A PostScript font name names its family in every output; the style still comes from
// STYLE, so the plain face is used.
TEST(NoteOutputs, PostScriptFontNamesGiveTheirFamilyEverywhere) {
    ExpectSansAndSerifEverywhere("ps_names", "Helvetica-Bold", "Times-Roman");
    // A name that only begins like a face is another face.
    const std::string other = WriteModel("not_times.vmf", Note(1, 2, 2, "Words", "Timesless", 12) +
                                                              Note(2, 2, 4, "Words", "Times-", 12));
    EXPECT_EQ(Count(Output("eps", other, "eps"), "\t\t/Courier findfont\n"), 2);
}

// The SVG viewer draws a note in a standard face, so the text shows at the note's size in
// every face although the annotation element is sized for the larger outline fonts.
TEST(NoteOutputs, SvgShowsEveryFaceAtTheNoteSize) {
    std::string blocks;
    int id = 1;
    for (const char *font : {"helvetica", "times", "courier", "charter", "new century schoolbook", "symbol"})
        blocks += Note(id, 2, id, "Words", font, 0), ++id;
    std::string svg = Output("anno", WriteModel("svg_sizes.vmf", blocks), "svg");
    // 12 points is 1/6 inch, one user unit being an inch.
    EXPECT_EQ(Count(svg, "font-size=\"0.1666666667\""), 6) << svg;
    EXPECT_EQ(Count(svg, "data-font-size=\"8.16pt\""), 1) << svg; // the element keeps its own size
}

TEST(NoteOutputs, LineBreaksInTitlesKeepPostScriptCommentsWhole) {
    const std::string model = WriteModel(
        "comments.vmf", Raster(1, 1, 1, "b\r%%EOF\n%%Trailer") + Note(2, 3, 3, "a\n%%EOF", "helvetica", 12) +
                            Note(3, 3, 5, "c\r%%Page: 2 2\rd", "times", 12));
    for (const char *command : {"eps", "ps"}) {
        SCOPED_TRACE(command);
        std::string ps = Output(command, model, command);
        std::vector<std::string> lines = LinesOf(ps);
        const bool eps = std::string(command) == "eps";
        int eof = 0, trailer = 0, page2 = 0;
        for (const std::string &line : lines) {
            eof += line.rfind("%%EOF", 0) == 0;
            trailer += line.rfind("%%Trailer", 0) == 0;
            page2 += line.rfind("%%Page: 2", 0) == 0;
            EXPECT_EQ(line.find('\r'), std::string::npos);
            if (line.rfind("%", 0) == 0) {
                EXPECT_LT(line.size(), 255u) << line;
            }
        }
        // Only the document's own %%Trailer and %%EOF, at its end.
        EXPECT_EQ(eof, 1);
        EXPECT_EQ(trailer, 1);
        EXPECT_EQ(lines.back(), "%%EOF");
        EXPECT_EQ(page2, 0);
        EXPECT_NE(ps.find("(b\\015%%EOF\\012%%Trailer) show"), std::string::npos);
        if (!HaveProgram("gs")) continue;
        std::string path = ScratchPath(std::string("gs.") + command);
        std::ofstream(path, std::ios::binary) << ps;
        std::vector<std::string> text = GhostscriptText(path, eps);
        EXPECT_TRUE(AnyLineHolds(text, "%%EOF"));
    }
}

TEST(NoteOutputs, EpsTitleCommentStaysUnder255Characters) {
    std::string longPath = "/data/" + std::string(600, 'm') + "\n%%EOF.vmf";
    PrintModel m;
    m.at(VMOD_RASTER, 1, 1, 1, "dem");
    m.model.fileName = ostr_Duplicate(longPath.c_str());
    std::string eps = ScratchPath("long_title.eps");
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelEPS(eps.c_str(), &m.model, &err);
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    std::vector<std::string> lines = LinesOf(ReadWholeFile(eps));
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(lines[4].rfind("%%Title: /data/mmm", 0), 0u) << lines[4];
    for (const std::string &line : lines) {
        if (line.rfind("%", 0) == 0) {
            EXPECT_LT(line.size(), 255u) << line;
        }
    }
    EXPECT_EQ(lines.back(), "%%EOF");
}
