// face_widths.h - how wide a line of text is in the faces the paged prints draw notes and
// titles in: Helvetica, Times and Courier and their bold and italic variants. The PDF
// printer draws them with metric-compatible stand-ins and Ghostscript with its own
// compatible fonts, so one table of advance widths serves both outputs.
#ifndef VMOD_PRINT_FACE_WIDTHS_H
#define VMOD_PRINT_FACE_WIDTHS_H

#include <string_view>

namespace vmod::print {

enum class Face {
    Sans,  // Helvetica
    Serif, // Times
    Mono,  // Courier: every character 0.6 em
    Any,   // a face the outputs do not agree on: the widest of the three for each character
};

// The face a note's font names, as the paged prints draw it: "helvetica" and "times"
// their own, the names the outputs map to different faces Any, every other name Courier.
Face NoteFace(const char *font);

// The advance width of line in em, each byte one character as both prints show it.
// Bytes outside printable ASCII count 1 em (0.6 in Courier), as wide as any character of
// the Latin code pages in these faces.
double LineWidthEms(std::string_view line, Face face, bool bold, bool italic);

} // namespace vmod::print

#endif
