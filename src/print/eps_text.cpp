// eps_text.cpp - the PostScript drawing of a text node: its text centred on the node in
// the PostScript font of its family and style, underlined when the style says so. A text
// of several lines hangs from the node line under line, one text size apart.
#include <string>

#include "vmodhost/ofio.h"
#include "model/c_boundary.h"
#include "model/note_text.h"
#include "print/eps_text.h"
#include "print/ps_text.h"
#include "vmod/vmod.h"

namespace {

enum class Family { Times, Helvetica, StoneSerif, Courier, Symbol };

Family FamilyOf(const char *font) {
    // Face names are matched in any case, as users type them; a null font matches none.
    using vmod::note::FontIs;
    if (FontIs(font, "charter") || FontIs(font, "times")) return Family::Times;
    if (FontIs(font, "helvetica")) return Family::Helvetica;
    if (FontIs(font, "new century schoolbook")) return Family::StoneSerif;
    if (FontIs(font, "symbol")) return Family::Symbol;
    return Family::Courier;
}

// The findfont line of a family for style bits 1 (bold) and 2 (italics).
const char *FontLine(Family family, int32_t boldItalic) {
    static const char *const kLines[5][4] = {
        {"\t\t/Times-Roman findfont\n", "\t\t/Times-Bold findfont\n", "\t\t/Times-Italic findfont\n",
         "\t\t/Times-BoldItalic findfont\n"},
        {"\t\t/Helvetica findfont\n", "\t\t/Helvetica-Bold findfont\n", "\t\t/Helvetica-Oblique findfont\n",
         "\t\t/Helvetica-BoldOblique findfont\n"},
        {"\t\t/StoneSerif findfont\n", "\t\t/StoneSerif-Semibold findfont\n", "\t\t/StoneSerif-Italic findfont\n",
         "\t\t/StoneSerif-SemiboldItalic findfont\n"},
        {"\t\t/Courier findfont\n", "\t\t/Courier-Bold findfont\n", "\t\t/Courier-Oblique findfont\n",
         "\t\t/Courier-BoldOblique findfont\n"},
        {"\t\t/Symbol findfont\n", "\t\t/Symbol findfont\n", "\t\t/Symbol findfont\n", "\t\t/Symbol findfont\n"},
    };
    return kLines[static_cast<int>(family)][boldItalic & 3];
}

} // namespace

namespace vmod::print {

TextBox NoteTextBox(const Vmod_Node &node) {
    const auto *text = static_cast<const Vmod_TextData *>(node.data);
    const double size = note::SizeOf(text) / 72.0; // one line, inches
    const double em = size * 7 / 8;
    const char *shown = node.title ? node.title : "?";
    const bool fixedPitch = FamilyOf(text ? text->font : nullptr) == Family::Courier;
    const double halfWidth = note::WidestLineEms(shown, fixedPitch) * em / 2;
    const double lines = static_cast<double>(note::LinesOf(shown).size());
    const double x = node.x, y = node.y;
    // A line's baseline lies 3/4 of a line below its top; capitals reach an em above it,
    // descenders and the underline a third of an em below.
    return {x - halfWidth, x + halfWidth, y + size * 3 / 4 - em, y + (lines - 1) * size + size * 3 / 4 + em / 3 + 0.03};
}

} // namespace vmod::print

extern "C" {

void vmod_TextPrint(Ofio_File *file, Vmod_Node *node) {
    model_Guarded(0, [file, node] { return vmod::print::WriteNoteText(file, node), 0; });
}

} // extern "C"

void vmod::print::WriteNoteText(Ofio_File *file, const Vmod_Node *node) {
    if (!file || !node) return;
    const auto *text = static_cast<const Vmod_TextData *>(node->data);
    const char *font = text ? text->font : nullptr;
    const int32_t size = vmod::note::SizeOf(text);
    int32_t style = text ? text->style : 0;
    // A style outside 0..7 would leave scalefont without a font; print it regular.
    if (style < 0 || style > 7) style = 0;

    ofio_Fprintf(file, "%s", FontLine(FamilyOf(font), style));
    ofio_Fprintf(file, "\t\t%d 7 mul 8 div scalefont\n", size);
    ofio_Fprintf(file, "\t\tsetfont\n");
    // A PostScript string may not hold the line break itself: each line is shown on its
    // own, the first where a one-line text stands.
    const std::vector<std::string_view> lines = vmod::note::LinesOf(node->title ? node->title : "?");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        vmod::print::EscapedPsText escaped(std::string(lines[i]).c_str());
        const char *s = escaped.c_str();
        const double y = node->y + static_cast<double>(i) * size / 72.0;
        ofio_Fprintf(file, "\t\t%g inch (%s) stringwidth pop 2 div sub %g inch %d 3 mul 4 div add moveto\n", node->x,
                     s, y, size);
        ofio_Fprintf(file, "\t\t1 -1 scale\n");
        ofio_Fprintf(file, "\t\t(%s) show\n", s);
        ofio_Fprintf(file, "\t\t1 -1 scale\n");
        if (style > 3) {
            ofio_Fprintf(file, "\t\tnewpath\n");
            ofio_Fprintf(file, "\t\t\t%g inch (%s) stringwidth pop 2 div sub %g inch %d 3 mul 4 div add moveto\n",
                         node->x, s, y + 0.03, size);
            ofio_Fprintf(file, "\t\t\t(%s) stringwidth\n", s);
            ofio_Fprintf(file, "\t\t\trlineto\n");
            ofio_Fprintf(file, "\t\tstroke\n");
        }
    }
}
