// Formatting under the "C" locale, whatever locale the process runs in, so that numbers
// in files and messages always use a "." decimal point.
#ifndef VMODHOST_C_LOCALE_H
#define VMODHOST_C_LOCALE_H

#include <cstdarg>
#include <locale.h>
#include <string>

namespace vmodhost {

// Switches the calling thread to the C locale for its lifetime.
class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope &) = delete;
    CLocaleScope &operator=(const CLocaleScope &) = delete;

private:
    locale_t previous_;
};

// vsnprintf into a std::string under the C locale.
std::string formatV(const char *format, va_list arguments);

} // namespace vmodhost

#endif
