// ps_text.cpp - PostScript string escapes for titles and text nodes.
#include "print/ps_text.h"

#include <cstring>

#include "host/omsc.h"
#include "vmod/vmod.h"

namespace vmod::print {

namespace {
constexpr std::size_t kMinimumBuffer = 4096;
}

EscapedPsText::EscapedPsText(const char *text) {
    std::size_t length = text ? std::strlen(text) : 0;
    std::size_t needed = 2 * length + 1; // every byte may gain a backslash
    buffer_ = static_cast<char *>(omsc_HeapMalloc(needed > kMinimumBuffer ? needed : kMinimumBuffer));
    if (!buffer_) return;
    buffer_[0] = '\0';
    if (text) vmod_InsertBackSlashParen(buffer_, text);
}

EscapedPsText::~EscapedPsText() { omsc_HeapFree(buffer_); }

} // namespace vmod::print
