// Outline-font files of annotation text styles and the font families an SVG viewer
// knows them by. Exact file names give weight and style; otherwise the name's prefix
// gives the family.
#include <cstring>

#include "oant_internal.h"

namespace anno {
namespace {

const char sans[] = "Helvetica, Arial, 'Liberation Sans', sans-serif";
const char serif[] = "'Times New Roman', Times, 'Liberation Serif', serif";
const char mono[] = "'Courier New', Courier, 'Liberation Mono', monospace";
const char garamond[] = "Garamond, 'Charter', serif";
const char school[] = "'Century Schoolbook', 'New Century Schoolbook', serif";
const char symbol[] = "Symbol, serif";

struct FontFile {
    const char *file;
    FontFace face;
};

const FontFile fontFiles[] = {
    {"sansl.otl", {sans, false, false, 0.97}},       {"sans.otl", {sans, true, false, 0.92}},
    {"sansb.otl", {sans, true, false, 0.92}},        {"courier.otl", {mono, false, false, 0.88}},
    {"courierb.otl", {mono, true, false, 0.89}},     {"courieri.otl", {mono, false, true, 0.88}},
    {"roman.otl", {serif, false, false, 0.87}},      {"romanb.otl", {serif, true, false, 0.88}},
    {"romani.otl", {serif, false, true, 0.88}},      {"romanbi.otl", {serif, true, true, 0.89}},
    {"garamond.otl", {garamond, false, false, 0.68}}, {"garam.otl", {garamond, true, false, 0.72}},
    {"garai.otl", {garamond, false, true, 0.68}},    {"garami.otl", {garamond, true, true, 0.69}},
    {"school.otl", {school, false, false, 0.87}},    {"schoolb.otl", {school, true, false, 0.88}},
    {"schooli.otl", {school, false, true, 0.87}},    {"schoolbi.otl", {school, true, true, 0.89}},
    {"symbol.otl", {symbol, false, false, 0.58}},
};

struct FontPrefix {
    const char *prefix;
    const char *family;
};

// Longer prefixes first where one prefix begins another.
const FontPrefix fontPrefixes[] = {
    {"sans", sans}, {"courier", mono}, {"roman", serif}, {"gara", garamond}, {"school", school}, {"symbol", symbol},
};

} // namespace

FontFace fontFace(const std::string &outlineFile) {
    // Only the file's own name counts, not the folder it is in.
    std::string base = outlineFile.substr(outlineFile.find_last_of("/\\") + 1);
    for (const FontFile &f : fontFiles)
        if (base == f.file)
            return f.face;
    for (const FontPrefix &p : fontPrefixes)
        if (base.compare(0, std::strlen(p.prefix), p.prefix) == 0)
            return {p.family, false, false, 1.0};
    return {sans, false, false, 1.0};
}

} // namespace anno
