// note_text.h - how every output reads a text node (a note) the same way: the size it is
// drawn at, which face its font names, and the lines its text breaks into.
#ifndef VMOD_MODEL_NOTE_TEXT_H
#define VMOD_MODEL_NOTE_TEXT_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "vmod/vmod.h"

namespace vmod::note {

// A note without a usable size (a file without SIZE reads as 0) is drawn at this many
// points, so that it is visible in every output.
inline constexpr std::int32_t kDefaultSize = 12;

// The note's size in points: its own when it is at least 1, else kDefaultSize.
std::int32_t SizeOf(const Vmod_TextData *text);

// True when font names the face `lowercaseName` ("helvetica", "new century schoolbook"),
// in any mix of upper and lower case ASCII letters, alone or as the family of a PostScript
// font name (the name, a hyphen and a style: "Times-Roman", "Helvetica-Bold"). A null
// font names no face.
bool FontIs(const char *font, const char *lowercaseName);

// The lines of a note's text: split at each line feed, a carriage return just before it
// dropped. Always at least one line; the views point into text.
std::vector<std::string_view> LinesOf(const char *text);

// The width of the note's widest line in em, estimated from its characters so that no
// rendering of the faces notes are printed in is wider: capitals and the wide lower-case
// letters count one em, other characters 0.65 em, every character 0.6 em in a
// fixed-pitch face. For outputs whose viewer chooses the font and measures the text.
double WidestLineEms(const char *text, bool fixedPitch);

} // namespace vmod::note

#endif
