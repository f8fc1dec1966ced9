// face_widths.cpp - advance widths of the printable ASCII characters in thousandths of an
// em, taken from the metrics of the installed URW fonts, which match Helvetica and Times.
// Code 39 and 96 hold the wider of the quote and accent forms, as the PostScript and PDF
// encodings differ there. Oblique Helvetica has the widths of the upright face.
#include "print/face_widths.h"

#include <algorithm>
#include <cstdint>

#include "model/note_text.h"

namespace vmod::print {

namespace {

const std::uint16_t kSans[95] = {
    278, 278, 355, 556, 556, 889, 667, 222, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};

const std::uint16_t kSansBold[95] = {
    278, 333, 474, 556, 556, 889, 722, 278, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611,
    975, 722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 333, 278, 333, 584, 556,
    333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889, 611, 611,
    611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};

const std::uint16_t kSerif[95] = {
    250, 333, 408, 500, 500, 833, 778, 333, 333, 333, 500, 564, 250, 333, 250, 278,
    500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 278, 278, 564, 564, 564, 444,
    921, 722, 667, 667, 722, 611, 556, 722, 722, 333, 389, 722, 611, 889, 722, 722,
    556, 722, 667, 556, 611, 722, 722, 944, 722, 722, 611, 333, 278, 333, 469, 500,
    333, 444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500, 278, 778, 500, 500,
    500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444, 480, 200, 480, 541};

const std::uint16_t kSerifBold[95] = {
    250, 333, 555, 500, 500, 1000, 833, 333, 333, 333, 500, 570, 250, 333, 250, 278,
    500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 333, 333, 570, 570, 570, 500,
    930, 722, 667, 722, 722, 667, 611, 778, 778, 389, 500, 778, 667, 944, 722, 778,
    611, 778, 722, 556, 667, 722, 722, 1000, 722, 722, 667, 333, 278, 333, 581, 500,
    333, 500, 556, 444, 556, 444, 333, 500, 556, 278, 333, 556, 278, 833, 556, 500,
    556, 556, 444, 389, 333, 556, 500, 722, 500, 500, 444, 394, 220, 394, 520};

const std::uint16_t kSerifItalic[95] = {
    250, 333, 420, 500, 500, 833, 778, 333, 333, 333, 500, 675, 250, 333, 250, 278,
    500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 333, 333, 675, 675, 675, 500,
    920, 611, 611, 667, 722, 611, 611, 722, 722, 333, 444, 667, 556, 833, 667, 722,
    611, 722, 611, 500, 556, 722, 611, 833, 611, 556, 556, 389, 278, 389, 422, 500,
    333, 500, 500, 444, 500, 444, 278, 500, 500, 278, 278, 444, 278, 722, 500, 500,
    500, 500, 389, 389, 278, 500, 444, 667, 444, 444, 389, 400, 275, 400, 541};

const std::uint16_t kSerifBoldItalic[95] = {
    250, 389, 555, 500, 500, 833, 778, 333, 333, 333, 500, 570, 250, 333, 250, 278,
    500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 333, 333, 570, 570, 570, 500,
    832, 667, 667, 667, 722, 667, 667, 722, 778, 389, 500, 667, 611, 889, 722, 722,
    611, 722, 667, 556, 611, 722, 667, 889, 667, 611, 611, 333, 278, 333, 570, 500,
    333, 500, 500, 444, 500, 444, 333, 500, 556, 278, 278, 500, 278, 778, 556, 500,
    500, 500, 389, 389, 278, 556, 444, 667, 500, 444, 389, 348, 220, 348, 570};

constexpr double kMonoEms = 0.6;
constexpr double kOtherCharacterEms = 1.0;

const std::uint16_t *SerifTable(bool bold, bool italic) {
    if (bold) return italic ? kSerifBoldItalic : kSerifBold;
    return italic ? kSerifItalic : kSerif;
}

// A printable ASCII character's width in the face, em.
double CharacterEms(unsigned char c, Face face, bool bold, bool italic) {
    const int i = c - 32;
    const double sans = (bold ? kSansBold : kSans)[i] / 1000.0;
    const double serif = SerifTable(bold, italic)[i] / 1000.0;
    switch (face) {
    case Face::Sans: return sans;
    case Face::Serif: return serif;
    case Face::Mono: return kMonoEms;
    case Face::Any: break;
    }
    return std::max({sans, serif, kMonoEms});
}

} // namespace

Face NoteFace(const char *font) {
    using vmod::note::FontIs;
    if (FontIs(font, "helvetica")) return Face::Sans;
    if (FontIs(font, "times")) return Face::Serif;
    if (FontIs(font, "charter") || FontIs(font, "new century schoolbook") || FontIs(font, "symbol")) return Face::Any;
    return Face::Mono;
}

double LineWidthEms(std::string_view line, Face face, bool bold, bool italic) {
    double ems = 0;
    for (unsigned char c : line) {
        if (face == Face::Mono) ems += kMonoEms;
        else if (c >= 32 && c < 127) ems += CharacterEms(c, face, bold, italic);
        else ems += kOtherCharacterEms;
    }
    return ems;
}

} // namespace vmod::print
