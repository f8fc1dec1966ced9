// Outline-font files of annotation text styles and the font families an SVG viewer
// knows them by. Exact file names give weight and style; otherwise the name's prefix
// gives the family.
#include <cstring>

#include "anno_internal.h"

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
    {"sansl.otl", {sans, false, false}},         {"sans.otl", {sans, true, false}},
    {"sansb.otl", {sans, true, false}},          {"courier.otl", {mono, false, false}},
    {"courierb.otl", {mono, true, false}},       {"courieri.otl", {mono, false, true}},
    {"roman.otl", {serif, false, false}},        {"romanb.otl", {serif, true, false}},
    {"romani.otl", {serif, false, true}},        {"romanbi.otl", {serif, true, true}},
    {"garamond.otl", {garamond, false, false}},  {"garam.otl", {garamond, true, false}},
    {"garai.otl", {garamond, false, true}},      {"garami.otl", {garamond, true, true}},
    {"school.otl", {school, false, false}},      {"schoolb.otl", {school, true, false}},
    {"schooli.otl", {school, false, true}},      {"schoolbi.otl", {school, true, true}},
    {"symbol.otl", {symbol, false, false}},
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
            return {p.family, false, false};
    return {sans, false, false};
}

} // namespace anno
