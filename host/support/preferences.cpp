// The preference store: an in-memory map that front ends and tests fill. Keys that were
// never set answer with the caller's default.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "c_locale.h"
#include "vmodhost/opmg.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"

namespace {

std::map<std::pair<std::string, std::string>, std::string> &store() {
    static std::map<std::pair<std::string, std::string>, std::string> preferences;
    return preferences;
}

const std::string *lookup(const char *category, const char *key) {
    if (category == nullptr || key == nullptr) {
        return nullptr;
    }
    auto found = store().find({category, key});
    return found != store().end() ? &found->second : nullptr;
}

} // namespace

extern "C" {

char *opmg_GetStringPreference(const char *category, const char *key, const char *def, Oerr_ErrorReport **err) {
    const std::string *value = lookup(category, key);
    return ostr_Duplicate(value != nullptr ? value->c_str() : def);
}

double opmg_GetNumberPreference(const char *category, const char *key, double def, Oerr_ErrorReport **err) {
    const std::string *value = lookup(category, key);
    if (value == nullptr || value->empty()) {
        return def;
    }
    vmodhost::CLocaleScope scope;
    char *end = nullptr;
    errno = 0;
    double number = std::strtod(value->c_str(), &end);
    while (end != nullptr && (*end == ' ' || *end == '\t')) {
        ++end;
    }
    if (end == value->c_str() || (end != nullptr && *end != '\0') || errno == ERANGE || !std::isfinite(number)) {
        return def;
    }
    return number;
}

void vmodhost_SetPreference(const char *category, const char *key, const char *value) {
    if (category == nullptr || key == nullptr) {
        return;
    }
    if (value == nullptr) {
        store().erase({category, key});
    } else {
        store()[{category, key}] = value;
    }
}

void vmodhost_ClearPreferences(void) { store().clear(); }

}
