// Colours, line, fill and text styles of the annotation package, and the style library
// that owns them once added.
#include <new>

#include "oant_internal.h"

using namespace anno;

namespace {

const char *valueText(const std::vector<Attr> &attrs, int code, size_t index) {
    for (const Attr &a : attrs)
        if (a.code == code && index < a.values.size())
            return a.values[index].s.c_str();
    return nullptr;
}

// Reads a style's attribute list into a new record by `apply`; null (with a report) for
// a bad list, a missing name where one is needed, or an injected failure.
template <typename Style, typename Apply>
Style *makeStyle(const char *call, const char *kind, Oint_Init *init, Oant_StyleLibrary *library, int32_t zero,
                 Oerr_ErrorReport **err, va_list args, const std::vector<AttrSpec> &specs, bool nameRequired,
                 Apply apply) {
    std::vector<Attr> attrs;
    int bad = 0;
    bool read = readAttributes(args, specs, nullptr, attrs, &bad);
    Style *style = nullptr;
    std::string failure;
    if (!read)
        failure = "unknown attribute code " + std::to_string(bad);
    else if (!library)
        failure = "no style library";
    else if (nameRequired && !valueText(attrs, OANT_NAME, 0))
        failure = "a name is required";
    else if (failNow(call))
        failure = "the style cannot be made";
    if (failure.empty()) {
        style = new (std::nothrow) Style();
        if (!style) {
            failure = "out of memory";
        } else {
            for (const Attr &a : attrs) {
                if (a.code == OANT_NAME)
                    style->name = a.values[0].s;
                else
                    apply(*style, a);
            }
        }
    }
    if (!failure.empty())
        setError(err, call, 1, std::string(call) + ": " + failure);
    if (recording())
        record(std::string(call) + "(" + handleName(init, "init") + ", " + handleName(library, "library") + ", " +
               std::to_string(zero) + ", " + reportName(err) + formatAttributes(attrs) + ") -> " +
               freshName(style, kind));
    return style;
}

bool sameStyle(const Oant_Color &a, const Oant_Color &b) {
    return a.name == b.name && a.r == b.r && a.g == b.g && a.b == b.b;
}
bool sameStyle(const Oant_LineStyle &a, const Oant_LineStyle &b) {
    return a.name == b.name && a.widthUnit == b.widthUnit && a.width == b.width && a.colour == b.colour &&
           a.patternScale == b.patternScale && a.pattern == b.pattern;
}
bool sameStyle(const Oant_FillStyle &a, const Oant_FillStyle &b) {
    return a.name == b.name && a.filled == b.filled && a.colour == b.colour && a.outlined == b.outlined &&
           a.line == b.line;
}
bool sameStyle(const Oant_TextStyle &a, const Oant_TextStyle &b) {
    return a.name == b.name && a.sizeUnit == b.sizeUnit && a.font == b.font && a.slant == b.slant &&
           a.fill == b.fill && a.underline == b.underline && a.underlineThickness == b.underlineThickness &&
           a.underlineLine == b.underlineLine;
}

template <typename Style>
int32_t addStyle(const char *call, Style *style, Oant_StyleLibrary *library,
                 std::vector<std::unique_ptr<Style>> Oant_StyleLibrary::*entries, int32_t share,
                 Oerr_ErrorReport **err, const char *kind) {
    int32_t id = -1;
    std::string styleName = handleName(style, kind);
    if (!style || !library) {
        setError(err, call, 1, std::string(call) + ": no style or no library");
    } else if (failNow(call)) {
        setError(err, call, 2, std::string(call) + ": the library is full");
    } else {
        auto &list = library->*entries;
        if (share)
            for (size_t k = 0; k < list.size() && id < 0; ++k)
                if (sameStyle(*list[k], *style))
                    id = static_cast<int32_t>(k);
        if (id >= 0) {
            forgetHandle(style);
            delete style;
        } else {
            try {
                list.emplace_back(style);
                id = static_cast<int32_t>(list.size() - 1);
            } catch (const std::bad_alloc &) {
                setError(err, call, 3, std::string(call) + ": out of memory");
            }
        }
    }
    if (recording())
        record(std::string(call) + "(" + styleName + ", " + handleName(library, "library") + ", " +
               std::to_string(share) + ", " + reportName(err) + ") -> " + std::to_string(id));
    return id;
}

template <typename Style> void freeStyle(const char *call, Style *style, const char *kind) {
    recordRelease(call, style, kind);
    delete style;
}

int intValue(const Attr &a, size_t k) { return static_cast<int>(a.values[k].i); }

// What each attribute of a style sets.
void applyColor(Oant_Color &s, const Attr &a) {
    s.r = intValue(a, 0);
    s.g = intValue(a, 1);
    s.b = intValue(a, 2);
}

void applyLineStyle(Oant_LineStyle &s, const Attr &a) {
    if (a.code == OANT_LINE_WIDTH_UNIT) {
        s.widthUnit = a.values[1].s;
    } else if (a.code == OANT_LINE_WIDTH) {
        s.width = a.values[1].d;
        s.colour = intValue(a, 2);
    } else {
        s.patternScale = a.values[1].d;
        s.pattern = intValue(a, 2);
    }
}

void applyFillStyle(Oant_FillStyle &s, const Attr &a) {
    if (a.code == OANT_FILL_COLOR) {
        s.filled = intValue(a, 0);
        s.colour = intValue(a, 1);
    } else {
        s.outlined = intValue(a, 0);
        s.line = intValue(a, 1);
    }
}

void applyTextStyle(Oant_TextStyle &s, const Attr &a) {
    switch (a.code) {
    case OANT_TEXT_SIZE_UNIT:
        s.sizeUnit = a.values[1].s;
        break;
    case OANT_TEXT_FONT:
        s.font = a.values[0].s;
        break;
    case OANT_TEXT_SLANT:
        s.slant = a.values[0].d;
        break;
    case OANT_TEXT_FILL:
        s.fill = intValue(a, 0);
        break;
    case OANT_TEXT_UNDERLINE:
        s.underline = intValue(a, 0);
        s.underlineThickness = a.values[1].d;
        break;
    default:
        s.underlineLine = intValue(a, 0);
        break;
    }
}

} // namespace

extern "C" {

// Each style entry point reads its list, as a va_list, against the attributes its kind
// takes (the codes and value types after APPLY) and makes the style.
#define STYLE_SET_VALUES(TYPE, NAME, KIND, NAME_REQUIRED, APPLY, ...)                                              \
    OHOST_API TYPE *NAME(Oint_Init *init, Oant_StyleLibrary *library, int32_t zero, Oerr_ErrorReport **err, ...) { \
        va_list args;                                                                                              \
        va_start(args, err);                                                                                       \
        TYPE *style = makeStyle<TYPE>(#NAME, KIND, init, library, zero, err, args, {__VA_ARGS__}, NAME_REQUIRED,   \
                                      APPLY);                                                                      \
        va_end(args);                                                                                              \
        return style;                                                                                              \
    }

STYLE_SET_VALUES(Oant_Color, oant_ColorSetValues, "color", true, applyColor, {OANT_NAME, "s"},
                 {OANT_COLOR_RGB, "iii"})
STYLE_SET_VALUES(Oant_LineStyle, oant_LineStyleSetValues, "linestyle", true, applyLineStyle, {OANT_NAME, "s"},
                 {OANT_LINE_WIDTH_UNIT, "is"}, {OANT_LINE_WIDTH, "idi"}, {OANT_LINE_PATTERN, "idi"})
STYLE_SET_VALUES(Oant_FillStyle, oant_FillStyleSetValues, "fillstyle", true, applyFillStyle, {OANT_NAME, "s"},
                 {OANT_FILL_COLOR, "ii"}, {OANT_FILL_OUTLINE, "ii"})
STYLE_SET_VALUES(Oant_TextStyle, oant_TextStyleSetValues, "textstyle", false, applyTextStyle, {OANT_NAME, "s"},
                 {OANT_TEXT_SIZE_UNIT, "is"}, {OANT_TEXT_FONT, "s"}, {OANT_TEXT_SLANT, "d"}, {OANT_TEXT_FILL, "i"},
                 {OANT_TEXT_UNDERLINE, "id"}, {OANT_TEXT_UNDERLINE_LINE, "i"})

#undef STYLE_SET_VALUES

OHOST_API int32_t oant_ColorAddToLibrary(Oant_Color *color, Oant_StyleLibrary *library, int32_t share,
                                         Oerr_ErrorReport **err) {
    return addStyle("oant_ColorAddToLibrary", color, library, &Oant_StyleLibrary::colours, share, err, "color");
}
OHOST_API int32_t oant_LineStyleAddToLibrary(Oant_LineStyle *style, Oant_StyleLibrary *library, int32_t share,
                                             Oerr_ErrorReport **err) {
    return addStyle("oant_LineStyleAddToLibrary", style, library, &Oant_StyleLibrary::lines, share, err,
                    "linestyle");
}
OHOST_API int32_t oant_FillStyleAddToLibrary(Oant_FillStyle *style, Oant_StyleLibrary *library, int32_t share,
                                             Oerr_ErrorReport **err) {
    return addStyle("oant_FillStyleAddToLibrary", style, library, &Oant_StyleLibrary::fills, share, err,
                    "fillstyle");
}
OHOST_API int32_t oant_TextStyleAddToLibrary(Oant_TextStyle *style, Oant_StyleLibrary *library, int32_t share,
                                             Oerr_ErrorReport **err) {
    return addStyle("oant_TextStyleAddToLibrary", style, library, &Oant_StyleLibrary::texts, share, err,
                    "textstyle");
}

OHOST_API void oant_ColorFree(Oant_Color *color) { freeStyle("oant_ColorFree", color, "color"); }
OHOST_API void oant_LineStyleFree(Oant_LineStyle *style) { freeStyle("oant_LineStyleFree", style, "linestyle"); }
OHOST_API void oant_FillStyleFree(Oant_FillStyle *style) { freeStyle("oant_FillStyleFree", style, "fillstyle"); }
OHOST_API void oant_TextStyleFree(Oant_TextStyle *style) { freeStyle("oant_TextStyleFree", style, "textstyle"); }
}
