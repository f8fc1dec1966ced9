// How every output reads a note (see note_text.h).
#include "model/note_text.h"

#include <algorithm>

namespace vmod::note {

std::int32_t SizeOf(const Vmod_TextData *text) {
    return text && text->size >= 1 ? text->size : kDefaultSize;
}

bool FontIs(const char *font, const char *lowercaseName) {
    if (!font || !lowercaseName) return false;
    for (; *font && *lowercaseName; ++font, ++lowercaseName) {
        char c = *font;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != *lowercaseName) return false;
    }
    // A PostScript font name ("Times-Roman", "Helvetica-BoldOblique") names its family:
    // the style comes from the note's STYLE, as for the plain names.
    return *lowercaseName == '\0' && (*font == '\0' || (*font == '-' && font[1] != '\0'));
}

std::vector<std::string_view> LinesOf(const char *text) {
    std::vector<std::string_view> lines;
    std::string_view rest(text ? text : "");
    for (;;) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) return lines;
        rest.remove_prefix(end + 1);
    }
}

double WidestLineEms(const char *text, bool fixedPitch) {
    double widest = 0;
    for (std::string_view line : LinesOf(text)) {
        double ems = 0;
        for (unsigned char c : line) {
            if ((c & 0xC0) == 0x80) continue; // continues a UTF-8 character
            bool wide = (c >= 'A' && c <= 'Z') || c == 'm' || c == 'w' || c == '@' || c == '%' || c >= 0x80;
            ems += fixedPitch ? 0.6 : wide ? 1.0 : 0.65;
        }
        widest = std::max(widest, ems);
    }
    return widest;
}

} // namespace vmod::note
