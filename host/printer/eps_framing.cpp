// eps_framing.cpp - the comments and sections that make the library's PostScript an
// Encapsulated PostScript file.
//
// Design of the framing. The header is the EPSF-3.0 comment block, ending with
// %%EndComments and %%BeginProlog, so the caller's procedure definitions form the
// prologue. The set-up closes the prologue, records the operand stack depth, saves the
// interpreter state and opens the one page; the trailer drops anything the drawing left on the operand stack
// (the glyph procedures leave loop values there), restores the state and shows the page,
// which an importing application disables as EPS requires and a viewer needs.
#include <cmath>
#include <string>

#include "vmodhost/oeps.h"
#include "vmodhost/ofio.h"

namespace {

// A bounding-box coordinate widened to whole points (down for the lower corner, up for
// the upper one); not-a-number and absurd values become 0.
long WholePoints(double value, bool up) {
    double whole = up ? std::ceil(value) : std::floor(value);
    if (!std::isfinite(whole) || std::fabs(whole) > 1.0e9) return 0;
    return static_cast<long>(whole);
}

double Finite(double value) { return std::isfinite(value) ? value : 0.0; }

// Readers of structuring comments take lines of at most 255 characters: ours stay under.
constexpr std::size_t kCommentLineLimit = 254;

// A comment's text on one line, with no control characters, cut (at a character boundary
// of UTF-8 text) so that the line with its keyword stays within the limit.
std::string CommentText(const char *keyword, const char *text) {
    const std::size_t room = kCommentLineLimit - std::string(keyword).size();
    std::string out;
    for (const char *c = text; *c; ++c) out += static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F ? ' ' : *c;
    if (out.size() > room) {
        std::size_t end = room;
        while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80) --end;
        out.resize(end);
    }
    return keyword + out;
}

} // namespace

extern "C" {

void oeps_Header(Ofio_File *file, const char *creator, const char *title, const Ovec_Bbox *box, int32_t version) {
    if (!file) return;
    const Ovec_Bbox zero{0, 0, 0, 0};
    const Ovec_Bbox &b = box ? *box : zero;
    ofio_Fprintf(file, "%%!PS-Adobe-3.0 EPSF-3.0\n");
    ofio_Fprintf(file, "%%%%BoundingBox: %ld %ld %ld %ld\n", WholePoints(b.xmin, false), WholePoints(b.ymin, false),
                 WholePoints(b.xmax, true), WholePoints(b.ymax, true));
    ofio_Fprintf(file, "%%%%HiResBoundingBox: %g %g %g %g\n", Finite(b.xmin), Finite(b.ymin), Finite(b.xmax),
                 Finite(b.ymax));
    ofio_Fprintf(file, "%s\n", CommentText("%%Creator: ", creator ? creator : "").c_str());
    ofio_Fprintf(file, "%s\n", CommentText("%%Title: ", title ? title : "untitled").c_str());
    ofio_Fprintf(file, "%%%%Pages: 1\n");
    ofio_Fprintf(file, "%%%%LanguageLevel: 1\n");
    ofio_Fprintf(file, "%%%%EndComments\n");
    ofio_Fprintf(file, "%%%%BeginProlog\n");
}

void oeps_Setup(Ofio_File *file) {
    if (!file) return;
    ofio_Fprintf(file, "%%%%EndProlog\n");
    ofio_Fprintf(file, "%%%%BeginSetup\n");
    ofio_Fprintf(file, "count /oeps_depth exch def\n");
    ofio_Fprintf(file, "/oeps_state save def\n");
    ofio_Fprintf(file, "%%%%EndSetup\n");
    ofio_Fprintf(file, "%%%%Page: 1 1\n");
}

void oeps_Trailer(Ofio_File *file) {
    if (!file) return;
    ofio_Fprintf(file, "%%%%Trailer\n");
    ofio_Fprintf(file, "count oeps_depth sub dup 0 gt {{pop} repeat} {pop} ifelse\n");
    ofio_Fprintf(file, "oeps_state restore\n");
    ofio_Fprintf(file, "showpage\n");
    ofio_Fprintf(file, "%%%%EOF\n");
}

} // extern "C"
