// gdi_text_cairo.cpp - printer text on the PDF page: the selected font resolved by face
// through the system's font configuration (Liberation fonts stand in for the Windows
// faces), placed by the text alignment.
#include <algorithm>
#include <cmath>
#include <string>

#include "gdi_cairo.h"

namespace {

// Windows-1252 text as UTF-8, which is what Cairo takes; bytes the code page leaves
// undefined become U+FFFD, so no input can put Cairo into an error state.
std::string Cp1252ToUtf8(const char *text, int32_t length) {
    static const char16_t kHigh[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                       0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    for (int32_t i = 0; i < length; ++i) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        char32_t code = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
        if (code == 0) code = 0xFFFD;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// Selects the font into Cairo and returns its em size in device pixels.
double ApplyFont(cairo_t *cr, const Ogdi_DeviceContext &dc) {
    const GdiFont &font = dc.font->font;
    cairo_select_font_face(cr, font.face.empty() ? "Courier New" : font.face.c_str(),
                           font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    double em;
    if (font.height < 0) {
        em = -static_cast<double>(font.height);
    } else if (font.height > 0) {
        // A positive height is the cell (ascent plus descent), not the em.
        cairo_set_font_size(cr, 1.0);
        cairo_font_extents_t unit;
        cairo_font_extents(cr, &unit);
        double cell = unit.ascent + unit.descent;
        em = cell > 0 ? font.height / cell : font.height;
    } else {
        em = 12.0 * dc.pixelsPerInch / 72.0;
    }
    // Keep absurd heights from reaching the font machinery.
    em = std::clamp(em, 0.01, 1.0e5);
    cairo_set_font_size(cr, em);
    return em;
}

// True when text of length bytes at (x, y) cannot reach the page, whatever its alignment:
// no glyph is wider or taller than twice the font's height (or twice a 12-point em).
bool TextOutsidePage(const Ogdi_DeviceContext *dc, int32_t x, int32_t y, int32_t length) {
    const double height = std::abs(static_cast<double>(dc->font->font.height));
    const double reach = 2 * std::max(height, 12.0 * dc->pixelsPerInch / 72.0);
    const double across = reach * (static_cast<double>(length) + 1);
    return GdiPdfOutsidePage(dc, x - across, y - 2 * reach, x + across, y + 2 * reach);
}

} // namespace

void GdiPdf::Text(Ogdi_DeviceContext *dc, int32_t x, int32_t y, const char *text, int32_t length) {
    if (TextOutsidePage(dc, x, y, length)) return;
    cairo_t *cr = GdiPageCairo(dc);
    if (!cr || length == 0) return;

    std::string utf8 = Cp1252ToUtf8(text, length);
    cairo_save(cr);
    double em = ApplyFont(cr, *dc);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);

    double left = x;
    switch (dc->textAlign & OGDI_TA_CENTER) {
    case OGDI_TA_CENTER: left = x - extents.x_advance / 2; break;
    case OGDI_TA_RIGHT: left = x - extents.x_advance; break;
    default: break;
    }
    double baseline = y + font.ascent; // OGDI_TA_TOP: y is the top of the character cell
    if ((dc->textAlign & OGDI_TA_BASELINE) == OGDI_TA_BASELINE) baseline = y;
    else if (dc->textAlign & 8) baseline = y - font.descent; // TA_BOTTOM

    if (dc->bkMode == OGDI_OPAQUE) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, left, baseline - font.ascent, extents.x_advance, font.ascent + font.descent);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, left, baseline);
    cairo_show_text(cr, utf8.c_str());

    const GdiFont &spec = dc->font->font;
    double thickness = std::max(1.0, em / 20);
    auto rule = [&](double at) {
        cairo_rectangle(cr, left, at - thickness / 2, extents.x_advance, thickness);
        cairo_fill(cr);
    };
    if (spec.underline) rule(baseline + em / 10);
    if (spec.strikeOut) rule(baseline - font.ascent * 0.3);
    cairo_restore(cr);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) dc->failed = true;
}
