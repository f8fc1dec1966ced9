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
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

} // namespace vmodhost
