// The preference store: an in-memory map that front ends and tests fill. Keys that were
// never set answer with the caller's default.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "c_locale.h"
#include "vmodhost/opmg.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"

namespace {

using Key = std::pair<std::string, std::string>;
using KeyView = std::pair<std::string_view, std::string_view>;

// Orders keys by category, then key, and finds a key from views, so that reading a
// preference allocates nothing and cannot fail.
struct KeyOrder {
    using is_transparent = void;
    static KeyView view(const Key &k) { return {k.first, k.second}; }
    static KeyView view(const KeyView &k) { return k; }
    template <typename A, typename B>
    bool operator()(const A &a, const B &b) const {
        return view(a) < view(b);
    }
};

std::map<Key, std::string, KeyOrder> &store() {
    static std::map<Key, std::string, KeyOrder> preferences;
    return preferences;
}

const std::string *lookup(const char *category, const char *key) {
    if (category == nullptr || key == nullptr) {
        return nullptr;
    }
    auto found = store().find(KeyView{category, key});
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
