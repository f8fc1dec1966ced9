// Text of the annotation export: the label under every non-text node, and text nodes as
// text elements in the outline font that matches their font and style.
#include "anno/anno_layer.h"

#include "model/note_text.h"

namespace vmod::anno {

namespace {

// Label drops below the node centre (inches) and sizes (points).
const double kTitleDrop = 0.69;
const double kScalarTitleDrop = 0.57;
const double kUntitledExtraDrop = 0.12; // "?" sits this much lower
const double kTitleSize = 14 * 0.8;
const double kUntitledSize = 24 * 0.8;
const int32_t kCentred = 1, kOnBaseline = 2, kMiddle = 0;

struct FontCell {
    const char *file;
    double slant;
    double factor;
};

struct FontFamily {
    const char *font; // the text node's font name; null for the default family
    FontCell cells[4]; // plain, bold, italic, bold italic; underlined styles take the same
    double style7Factor; // the size factor of bold italic underlined, where it differs (else 0)
};

const FontFamily kFamilies[] = {
    {"charter",
     {{"garamond.otl", 0, 0.68}, {"garam.otl", 0, 0.72}, {"garai.otl", 0, 0.68}, {"garami.otl", 0, 0.69}},
     0},
    {"helvetica", {{"sansl.otl", 0, 0.97}, {"sans.otl", 0, 0.92}, {"sansl.otl", 0.2, 0.97}, {"sans.otl", 0.2, 0.92}},
     0},
    {"new century schoolbook",
     {{"school.otl", 0, 0.87}, {"schoolb.otl", 0, 0.88}, {"schooli.otl", 0, 0.87}, {"schoolbi.otl", 0, 0.89}},
     0},
    {"symbol",
     {{"symbol.otl", 0, 0.58}, {"symbol.otl", 0, 0.58}, {"symbol.otl", 0.2, 0.58}, {"symbol.otl", 0.2, 0.58}},
     0.48},
    {"times", {{"roman.otl", 0, 0.87}, {"romanb.otl", 0, 0.88}, {"romani.otl", 0, 0.88}, {"romanbi.otl", 0, 0.89}},
     0},
    {nullptr,
     {{"courier.otl", 0, 0.88}, {"courierb.otl", 0, 0.89}, {"courieri.otl", 0, 0.88}, {"courierb.otl", 0.2, 0.89}},
     0},
};

// Face names are matched in any case, as users type them.
const FontFamily &FamilyOf(const char *font) {
    for (const FontFamily &family : kFamilies)
        if (family.font == nullptr || note::FontIs(font, family.font))
            return family;
    return kFamilies[sizeof kFamilies / sizeof kFamilies[0] - 1];
}

struct TextCell {
    const FontFamily *family;
    const FontCell *cell;
    double points; // the element's size
    int32_t underline;
};

TextCell CellOf(const Vmod_Node *node) {
    const auto *text = static_cast<const Vmod_TextData *>(node->data);
    int32_t style = text != nullptr ? text->style : 0;
    // A style outside the three bits has no meaning: such text is drawn plain.
    if (style < 0 || style > 7)
        style = 0;
    const FontFamily &family = FamilyOf(text != nullptr ? text->font : nullptr);
    const FontCell &cell = family.cells[style & 3];
    double factor = style == 7 && family.style7Factor != 0 ? family.style7Factor : cell.factor;
    return {&family, &cell, note::SizeOf(text) * factor, style >= 4 ? 1 : 0};
}

} // namespace

Oant_Element *AddLabel(const Export &ex, const Vmod_Node *node) {
    bool titled = node->title != nullptr;
    double drop = node->type == VMOD_SCALAR ? kScalarTitleDrop : kTitleDrop;
    if (!titled)
        drop += kUntitledExtraDrop;
    return AddText(ex, ex.styles.label, node->x, -node->y - drop, titled ? kTitleSize : kUntitledSize, kCentred,
                   kOnBaseline, titled ? node->title : "?");
}

Oant_Element *AddTextNode(const Export &ex, const Vmod_Node *node) {
    const TextCell cell = CellOf(node);
    int32_t textStyle = AddTextNodeStyle(ex, cell.cell->file, cell.cell->slant, cell.underline);
    return AddText(ex, textStyle, node->x, -node->y, cell.points, kCentred, kMiddle,
                   node->title != nullptr ? node->title : "");
}

TextHalfExtent TextNodeHalfExtent(const Vmod_Node *node) {
    const TextCell cell = CellOf(node);
    const double em = cell.points / 72.0;
    const double widest = note::WidestLineEms(node->title, cell.family->font == nullptr);
    // Lines stand 1.2 em apart around the text's middle; each reaches 0.6 em up and down.
    return {widest * em / 2, 0.6 * em * static_cast<double>(note::LinesOf(node->title).size())};
}

} // namespace vmod::anno
