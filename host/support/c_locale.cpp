#include "c_locale.h"

#include <cstdio>

namespace vmodhost {
namespace {

locale_t cLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

} // namespace

CLocaleScope::CLocaleScope() : previous_(uselocale(cLocale())) {}

CLocaleScope::~CLocaleScope() { uselocale(previous_); }

std::string formatV(const char *format, va_list arguments) {
    if (format == nullptr) {
        return std::string();
    }
    CLocaleScope scope;
    // Most outputs are short: format once into the stack and only format a second time,
    // into a buffer of the exact size, when the text is longer.
    char small[512];
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length <= 0) {
        return std::string();
    }
    if (static_cast<size_t>(length) < sizeof small) {
        return std::string(small, static_cast<size_t>(length));
    }
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

} // namespace vmodhost
