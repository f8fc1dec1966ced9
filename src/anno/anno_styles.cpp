// The styles of the annotation export. Each creator returns the style's identifier in
// the layer's library, or -1 after freeing what it made and leaving a report that names
// the failed step; the export discards those reports and draws with -1.
#include "anno/anno_layer.h"
#include "vmod/vmod.h"

namespace vmod::anno {

namespace {

// Ends a creator at a failed step: a report naming the call, chained to the host's.
int32_t Failed(const char *creator, int32_t step, const char *call, Oerr_ErrorReport *cause,
               Oerr_ErrorReport **report) {
    Oerr_ErrorReport *failure =
        oerr_CreateErrorReport(creator, step, VMOD_SEVERITY_ERROR, cause, "Error returned from %s", call, 0);
    if (report != nullptr && *report == nullptr)
        *report = failure;
    else
        oerr_DeleteErrorReportEx(&failure);
    return -1;
}

// Adds a style the host made (with `made` as the report of making it) to the library:
// its identifier, or -1 after freeing the style, with a report naming the failed step
// (`first` for making it, first + 1 for adding it) when creator is given.
template <typename Style>
int32_t AddToLibrary(const Export &ex, Style *style, Oerr_ErrorReport *made, void (*release)(Style *),
                     int32_t (*add)(Style *, Oant_StyleLibrary *, int32_t, Oerr_ErrorReport **), const char *creator,
                     int32_t first, const char *makeCall, const char *addCall, Oerr_ErrorReport **report) {
    Oerr_ErrorReport *local = made;
    const char *call = makeCall;
    int32_t step = first;
    if (local == nullptr) {
        int32_t id = add(style, ex.library, 1, &local);
        if (local == nullptr)
            return id;
        call = addCall;
        step = first + 1;
    }
    if (style != nullptr)
        release(style);
    if (creator == nullptr) {
        DiscardReport(&local);
        return -1;
    }
    return Failed(creator, step, call, local, report);
}

// A colour named `name` added to the library: its identifier, or -1 (steps 1 and 2).
int32_t AddColor(const Export &ex, const char *creator, const char *name, int32_t r, int32_t g, int32_t b,
                 Oerr_ErrorReport **report) {
    Oerr_ErrorReport *local = nullptr;
    Oant_Color *color =
        oant_ColorSetValues(ex.init, ex.library, 0, &local, OANT_NAME, name, OANT_COLOR_RGB, r, g, b, OANT_END);
    return AddToLibrary(ex, color, local, oant_ColorFree, oant_ColorAddToLibrary, creator, 1, "oant_ColorSetValues",
                        "oant_ColorAddToLibrary", report);
}

// The 0.72-point "Scalable black line" in colour `black` (steps `first` and first + 1).
int32_t AddBlackLine(const Export &ex, const char *creator, int32_t first, int32_t black,
                     Oerr_ErrorReport **report) {
    Oerr_ErrorReport *local = nullptr;
    Oant_LineStyle *line = oant_LineStyleSetValues(ex.init, ex.library, 0, &local, OANT_NAME, "Scalable black line",
                                                   OANT_LINE_WIDTH_UNIT, 3, "points", OANT_LINE_WIDTH, 0, 0.72, black,
                                                   OANT_LINE_PATTERN, 0, 1.0, 0, OANT_END);
    return AddToLibrary(ex, line, local, oant_LineStyleFree, oant_LineStyleAddToLibrary, creator, first,
                        "oant_LineStyleSetValues", "oant_LineStyleAddToLibrary", report);
}

// A fill style (steps `first` and first + 1).
int32_t AddFill(const Export &ex, const char *creator, int32_t first, const char *name, int32_t filled,
                int32_t colour, int32_t outlined, int32_t line, Oerr_ErrorReport **report) {
    Oerr_ErrorReport *local = nullptr;
    Oant_FillStyle *fill = oant_FillStyleSetValues(ex.init, ex.library, 0, &local, OANT_NAME, name, OANT_FILL_COLOR,
                                                   filled, colour, OANT_FILL_OUTLINE, outlined, line, OANT_END);
    return AddToLibrary(ex, fill, local, oant_FillStyleFree, oant_FillStyleAddToLibrary, creator, first,
                        "oant_FillStyleSetValues", "oant_FillStyleAddToLibrary", report);
}

int32_t createSolidWhiteFillStyle(const Export &ex, Oerr_ErrorReport **report) {
    int32_t white = AddColor(ex, "createSolidWhiteFillStyle", "white", 255, 255, 255, report);
    if (white < 0)
        return -1;
    return AddFill(ex, "createSolidWhiteFillStyle", 3, "Solid filled white", 1, white, 0, -1, report);
}

int32_t createSolidBlackFillStyle(const Export &ex, Oerr_ErrorReport **report) {
    int32_t black = AddColor(ex, "createSolidBlackFillStyle", "black", 0, 0, 0, report);
    if (black < 0)
        return -1;
    return AddFill(ex, "createSolidBlackFillStyle", 3, "Solid filled black", 1, black, 0, -1, report);
}

int32_t createBlackLineStyle(const Export &ex, Oerr_ErrorReport **report) {
    int32_t black = AddColor(ex, "createBlackLineStyle", "black", 0, 0, 0, report);
    if (black < 0)
        return -1;
    return AddBlackLine(ex, "createBlackLineStyle", 3, black, report);
}

int32_t createBlackBorderUnfilledStyle(const Export &ex, Oerr_ErrorReport **report) {
    int32_t black = AddColor(ex, "createBlackBorderUnfilledStyle", "black", 0, 0, 0, report);
    if (black < 0)
        return -1;
    int32_t line = AddBlackLine(ex, "createBlackBorderUnfilledStyle", 3, black, report);
    if (line < 0)
        return -1;
    return AddFill(ex, "createBlackBorderUnfilledStyle", 5, "Unfilled outlined with black", 0, -1, 1, line,
                   report);
}

} // namespace

// Adds a text style; on failure the style is freed and -1 returned.
static int32_t AddTextStyle(const Export &ex, Oant_TextStyle *style, Oerr_ErrorReport *made) {
    return AddToLibrary(ex, style, made, oant_TextStyleFree, oant_TextStyleAddToLibrary, nullptr, 0, nullptr, nullptr,
                        nullptr);
}

Styles CreateStyles(const Export &ex) {
    Styles styles;
    Oerr_ErrorReport *report = nullptr;
    styles.solidWhite = createSolidWhiteFillStyle(ex, &report);
    DiscardReport(&report);
    styles.solidBlack = createSolidBlackFillStyle(ex, &report);
    DiscardReport(&report);
    styles.blackLine = createBlackLineStyle(ex, &report);
    DiscardReport(&report);
    styles.outline = createBlackBorderUnfilledStyle(ex, &report);
    DiscardReport(&report);

    Oerr_ErrorReport *made = nullptr;
    Oant_TextStyle *label =
        oant_TextStyleSetValues(ex.init, ex.library, 0, &made, OANT_TEXT_SIZE_UNIT, 3, "points", OANT_TEXT_FONT,
                                "sansb.otl", OANT_TEXT_FILL, styles.solidBlack, OANT_END);
    styles.label = AddTextStyle(ex, label, made);
    return styles;
}

int32_t AddTextNodeStyle(const Export &ex, const char *file, double slant, int32_t underline) {
    Oerr_ErrorReport *made = nullptr;
    Oant_TextStyle *style = oant_TextStyleSetValues(
        ex.init, ex.library, 0, &made, OANT_TEXT_SIZE_UNIT, 3, "points", OANT_TEXT_FONT, file, OANT_TEXT_SLANT, slant,
        OANT_TEXT_FILL, ex.styles.solidBlack, OANT_TEXT_UNDERLINE, underline, 2.2, OANT_TEXT_UNDERLINE_LINE,
        ex.styles.blackLine, OANT_END);
    return AddTextStyle(ex, style, made);
}

} // namespace vmod::anno
