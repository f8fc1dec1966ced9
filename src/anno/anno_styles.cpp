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

// A colour named `name` added to the library: its identifier, or -1 (steps 1 and 2).
int32_t AddColor(const Export &ex, const char *creator, const char *name, int32_t r, int32_t g, int32_t b,
                 Oerr_ErrorReport **report) {
    Oerr_ErrorReport *local = nullptr;
    Oant_Color *color =
        oant_ColorSetValues(ex.init, ex.library, 0, &local, OANT_NAME, name, OANT_COLOR_RGB, r, g, b, OANT_END);
    if (local != nullptr) {
        if (color != nullptr)
            oant_ColorFree(color);
        return Failed(creator, 1, "oant_ColorSetValues", local, report);
    }
    int32_t id = oant_ColorAddToLibrary(color, ex.library, 1, &local);
    if (local != nullptr) {
        if (color != nullptr)
            oant_ColorFree(color);
        return Failed(creator, 2, "oant_ColorAddToLibrary", local, report);
    }
    return id;
}

// The 0.72-point "Scalable black line" in colour `black` (steps `first` and first + 1).
int32_t AddBlackLine(const Export &ex, const char *creator, int32_t first, int32_t black,
                     Oerr_ErrorReport **report) {
    Oerr_ErrorReport *local = nullptr;
    Oant_LineStyle *line = oant_LineStyleSetValues(ex.init, ex.library, 0, &local, OANT_NAME, "Scalable black line",
                                                   OANT_LINE_WIDTH_UNIT, 3, "points", OANT_LINE_WIDTH, 0, 0.72, black,
                                                   OANT_LINE_PATTERN, 0, 1.0, 0, OANT_END);
    if (local != nullptr) {
        if (line != nullptr)
            oant_LineStyleFree(line);
        return Failed(creator, first, "oant_LineStyleSetValues", local, report);
    }
    int32_t id = oant_LineStyleAddToLibrary(line, ex.library, 1, &local);
    if (local != nullptr) {
        if (line != nullptr)
            oant_LineStyleFree(line);
        return Failed(creator, first + 1, "oant_LineStyleAddToLibrary", local, report);
    }
    return id;
}

// A fill style (steps `first` and first + 1).
int32_t AddFill(const Export &ex, const char *creator, int32_t first, const char *name, int32_t filled,
                int32_t colour, int32_t outlined, int32_t line, Oerr_ErrorReport **report) {
    Oerr_ErrorReport *local = nullptr;
    Oant_FillStyle *fill = oant_FillStyleSetValues(ex.init, ex.library, 0, &local, OANT_NAME, name, OANT_FILL_COLOR,
                                                   filled, colour, OANT_FILL_OUTLINE, outlined, line, OANT_END);
    if (local != nullptr) {
        if (fill != nullptr)
            oant_FillStyleFree(fill);
        return Failed(creator, first, "oant_FillStyleSetValues", local, report);
    }
    int32_t id = oant_FillStyleAddToLibrary(fill, ex.library, 1, &local);
    if (local != nullptr) {
        if (fill != nullptr)
            oant_FillStyleFree(fill);
        return Failed(creator, first + 1, "oant_FillStyleAddToLibrary", local, report);
    }
    return id;
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
    if (made != nullptr) {
        if (style != nullptr)
            oant_TextStyleFree(style);
        DiscardReport(&made);
        return -1;
    }
    Oerr_ErrorReport *local = nullptr;
    int32_t id = oant_TextStyleAddToLibrary(style, ex.library, 1, &local);
    if (local != nullptr) {
        if (style != nullptr)
            oant_TextStyleFree(style);
        DiscardReport(&local);
        return -1;
    }
    return id;
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
