// known_preferences.cpp - the "modeler" preferences the library reads and the values it
// tells apart, so that `--pref` can warn about a key or value that would change nothing.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands.h"

namespace {

struct KnownPreference {
    const char *key;
    // The values the library compares with (exactly, letter case included); empty when
    // the value is a number or free text.
    std::vector<const char *> values;
    bool number;
};

const std::vector<KnownPreference> &knownPreferences() {
    static const std::vector<const char *> interpolations = {"Nearest Neighbor", "Bilinear Interpolation",
                                                              "Cubic Convolution"};
    static const std::vector<KnownPreference> known = {
        {"athematic_interpolation", interpolations, false},
        {"athematic_switch",
         {"Signed type only", "1 bit unsigned integer", "2 bit unsigned integer", "4 bit unsigned integer",
          "8 bit unsigned integer", "16 bit unsigned integer", "32 bit unsigned integer"},
         false},
        {"backup_font", {}, false},
        {"stats_ignore_value", {}, true},
        {"stats_option", {"Use all file values", "Ignore specified value"}, false},
        {"thematic_interpolation", interpolations, false},
    };
    return known;
}

bool isNumber(const std::string &text) {
    if (text.empty() || text.find_first_of("xX") != std::string::npos)
        return false;
    char *end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' && errno != ERANGE && std::isfinite(value);
}

} // namespace

std::string tool_PreferenceWarning(const std::string &key, const std::string &value) {
    const KnownPreference *found = nullptr;
    std::string keys;
    for (const KnownPreference &preference : knownPreferences()) {
        keys += (keys.empty() ? "" : ", ") + std::string(preference.key);
        if (key == preference.key)
            found = &preference;
    }
    if (found == nullptr)
        return "no \"modeler\" preference is called '" + tool_PrintableText(key.c_str()) + "'; the known ones are " + keys;
    if (found->number)
        return isNumber(value) ? "" : key + " takes a number, not '" + tool_PrintableText(value.c_str()) + "'";
    if (found->values.empty())
        return "";
    std::string values;
    for (const char *known : found->values) {
        if (value == known)
            return "";
        values += (values.empty() ? "\"" : ", \"") + std::string(known) + "\"";
    }
    return key + " does not know '" + tool_PrintableText(value.c_str()) + "'; its values are " + values;
}
