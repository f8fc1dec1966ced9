// representable_model.cpp - refusing models whose positions or sizes no output can hold.
#include "representable_model.h"

#include <cmath>
#include <cstdio>

namespace {

bool representable(double inches) { return std::fabs(inches) <= kMaxRepresentableInches; } // false for nan

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string pair(double a, double b) { return "(" + number(a) + ", " + number(b) + ")"; }

const std::string kLimit = "; positions and sizes must be finite and within " + number(kMaxRepresentableInches) + " inches";

} // namespace

std::string tool_UnrepresentableReason(const Vmod_Model &model) {
    for (const Vmod_Node *node = model.nodes; node != nullptr; node = node->next) {
        const double x = node->x, y = node->y; // copies: the packed record may misalign them
        if (!representable(x) || !representable(y))
            return tool_NodeName(node) + " has position " + pair(x, y) + ", which no output can represent" + kLimit;
    }
    const double perInch = model.pageUnits == VMOD_PAGE_CENTIMETERS ? 2.54 : 1.0; // a page size may be in centimetres
    const double pageWidth = model.pageWidth, pageHeight = model.pageHeight;
    if (!representable(pageWidth / perInch) || !representable(pageHeight / perInch))
        return "the page size " + pair(pageWidth, pageHeight) + (perInch == 1 ? " inches" : " centimetres") +
               " cannot be represented" + kLimit;
    const double printerWidth = model.printerPageWidth, printerHeight = model.printerPageHeight;
    if (!representable(printerWidth) || !representable(printerHeight))
        return "the printer page size " + pair(printerWidth, printerHeight) + " inches cannot be represented" + kLimit;
    for (int i = 0; i < 4; ++i) { // indexed: the packed record leaves the array unaligned
        const double margin = model.margins[i];
        if (!representable(margin))
            return "the margin " + number(margin) + " inches cannot be represented" + kLimit;
    }
    return "";
}

std::string tool_UnprintableScaleReason(const Vmod_Model &model) {
    const double scale = model.printScale;
    if (scale >= kMinPrintScale && scale <= kMaxPrintScale) return ""; // false for nan
    return "the print scale " + number(scale) + " percent cannot be printed; it must be within " +
           number(kMinPrintScale) + " and " + number(kMaxPrintScale) + " percent";
}

bool tool_CheckRepresentable(const ToolCommand &command, const std::string &path, const Vmod_Model &model,
                             bool pagedPrint) {
    std::string reason = tool_UnrepresentableReason(model);
    if (reason.empty() && pagedPrint) reason = tool_UnprintableScaleReason(model);
    if (reason.empty())
        return true;
    std::fprintf(stderr, "vmod %s: %s: %s\n", command.name, tool_PrintableText(path.c_str()).c_str(), reason.c_str());
    return false;
}
