// ps_text.cpp - PostScript string escapes for titles and text nodes.
#include "print/ps_text.h"

#include <cstring>

#include "vmodhost/omsc.h"
#include "vmod/vmod.h"

namespace vmod::print {

namespace {
constexpr std::size_t kMinimumBuffer = 4096;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Writes each control character of the escaped text in place as a three-digit octal
// escape, working from the end so that nothing is overwritten before it is read. A line
// break inside a string would start a new line of the file, where a text such as "%%EOF"
// reads as a structuring comment.
void EscapeControls(char *escaped) {
    std::size_t length = std::strlen(escaped), controls = 0;
    for (std::size_t i = 0; i < length; ++i) controls += IsControl(static_cast<unsigned char>(escaped[i]));
    if (controls == 0) return;
    std::size_t to = length + 3 * controls;
    escaped[to] = '\0';
    for (std::size_t from = length; from-- > 0;) {
        auto c = static_cast<unsigned char>(escaped[from]);
        if (!IsControl(c)) {
            escaped[--to] = static_cast<char>(c);
            continue;
        }
        escaped[--to] = static_cast<char>('0' + (c & 7));
        escaped[--to] = static_cast<char>('0' + ((c >> 3) & 7));
        escaped[--to] = static_cast<char>('0' + (c >> 6));
        escaped[--to] = '\\';
    }
}
} // namespace

EscapedPsText::EscapedPsText(const char *text) {
    std::size_t length = text ? std::strlen(text) : 0;
    std::size_t needed = 4 * length + 1; // a byte may become a four-byte escape
    buffer_ = static_cast<char *>(omsc_HeapMalloc(needed > kMinimumBuffer ? needed : kMinimumBuffer));
    if (!buffer_) return;
    buffer_[0] = '\0';
    if (!text) return;
    vmod_InsertBackSlashParen(buffer_, text);
    EscapeControls(buffer_);
}

EscapedPsText::~EscapedPsText() { omsc_HeapFree(buffer_); }

} // namespace vmod::print
