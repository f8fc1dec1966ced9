// ps_text.h - a text escaped for a PostScript string: a backslash before each "(", ")"
// and backslash, and every control character (line breaks, tabs) as an octal escape, so
// that the string stays on one line of the file.
#ifndef VMOD_PRINT_PS_TEXT_H
#define VMOD_PRINT_PS_TEXT_H

#include <cstddef>

namespace vmod::print {

// Holds the escaped copy in a heap buffer of at least 4096 bytes, grown to whatever the
// text needs, so no title is too long to escape. Released with the object.
class EscapedPsText {
public:
    explicit EscapedPsText(const char *text);
    ~EscapedPsText();
    EscapedPsText(const EscapedPsText &) = delete;
    EscapedPsText &operator=(const EscapedPsText &) = delete;

    // The escaped text; "" when text was null or memory ran out.
    const char *c_str() const { return buffer_ ? buffer_ : ""; }

private:
    char *buffer_ = nullptr;
};

} // namespace vmod::print

#endif
