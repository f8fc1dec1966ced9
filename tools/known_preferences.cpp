// known_preferences.cpp - `--pref`: sets a "modeler" preference, knowing the keys the
// library reads and the values it tells apart, to warn about one that would change nothing.
#include <cmath>
#include <string>
#include <vector>

#include "commands.h"
#include "vmodhost/opmg.h"
#include "vmodhost/vmodhost.h"

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

// Whether the library reads the stored setting of key as a number: it never reads one
// that is not finite, so a NaN default tells its fallback apart. Asking the library
// itself keeps the warning true to whatever it accepts (hexadecimal "0x10" included).
bool libraryReadsANumber(const std::string &key) {
    return !std::isnan(opmg_GetNumberPreference("modeler", key.c_str(), NAN, nullptr));
}

} // namespace

std::string tool_SetPreference(const std::string &key, const std::string &value) {
    vmodhost_SetPreference("modeler", key.c_str(), value.c_str());
    const KnownPreference *found = nullptr;
    std::string keys;
    for (const KnownPreference &preference : knownPreferences()) {
        keys += (keys.empty() ? "" : ", ") + std::string(preference.key);
        if (key == preference.key)
            found = &preference;
    }
    if (found == nullptr)
        return tool_PrintableText(key.c_str()) + ": no such preference of category \"modeler\"; known: " + keys;
    if (found->number)
        return libraryReadsANumber(key) ? "" : key + " takes a number, not '" + tool_PrintableText(value.c_str()) + "'";
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
