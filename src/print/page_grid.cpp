// page_grid.cpp - the page grid of a paged print.
#include "print/page_grid.h"

#include <algorithm>
#include <cmath>

#include "model/page_size.h"

namespace vmod::print {

namespace {

// Pages needed for extent model inches at per model inches a page; 1 when that is not a
// usable number (zero page size, margins wider than the paper, NaN).
std::int32_t PagesFor(double extent, double per) {
    double pages = std::ceil(extent / per);
    if (!(pages >= 1)) return 1;
    return pages >= kMaxGridSide ? kMaxGridSide : static_cast<std::int32_t>(pages);
}

} // namespace

double EffectivePrintScale(const Vmod_Model &model) {
    double scale = model.printScale;
    return std::isfinite(scale) && scale > 0 ? scale : 100.0;
}

PageGrid MakePageGrid(const Vmod_Model &model) {
    PageGrid g{};
    g.printScale = EffectivePrintScale(model);
    g.k = 100 / g.printScale;
    g.landscape = model.orientation != VMOD_PORTRAIT;
    const double top = model.margins[0], bottom = model.margins[1], left = model.margins[2],
                 right = model.margins[3];
    if (!g.landscape) {
        g.paperAcross = model.printerPageWidth;
        g.paperDown = model.printerPageHeight;
        g.marginLeft = left;
        g.marginTop = top;
        g.marginRight = right;
        g.marginBottom = bottom;
    } else {
        g.paperAcross = model.printerPageHeight;
        g.paperDown = model.printerPageWidth;
        g.marginLeft = bottom;
        g.marginTop = left;
        g.marginRight = top;
        g.marginBottom = right;
    }
    g.printableAcross = g.paperAcross - g.marginLeft - g.marginRight;
    g.printableDown = g.paperDown - g.marginTop - g.marginBottom;
    g.modelAcross = g.printableAcross * g.k;
    g.modelDown = g.printableDown * g.k;
    g.columns = PagesFor(PageWidthInches(model), g.modelAcross);

    // Rows reach down to the page height and to the lowest node centre.
    std::int32_t rows = PagesFor(PageHeightInches(model), g.modelDown);
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        if (node->y >= 0 && g.modelDown > 0) {
            double row = std::floor(node->y / g.modelDown) + 1;
            if (row >= kMaxGridSide) row = kMaxGridSide;
            if (row > rows) rows = static_cast<std::int32_t>(row);
        }
    }
    g.rows = rows;
    return g;
}

std::int32_t PageCount(const PageGrid &grid) { return grid.columns * grid.rows; }

PageCell PageCellOf(const PageGrid &grid, std::int32_t page) {
    // Pages before the first count as the first, so no page number can overflow here.
    std::int32_t index = page > 0 ? page - 1 : 0;
    return PageCell{index % grid.columns, index / grid.columns};
}

bool ClampPageRange(const PageGrid &grid, std::int32_t &first, std::int32_t &last) {
    // Every page asked for is printed, also past the diagram (it shows only its label),
    // but an absurd range stops after kMaxPagesPrinted pages.
    (void)grid;
    first = std::max<std::int32_t>(first, 1);
    if (last >= first && static_cast<std::int64_t>(last) - first >= kMaxPagesPrinted)
        last = static_cast<std::int32_t>(first + (kMaxPagesPrinted - 1));
    return first <= last;
}

namespace {

// A sheet side the printer can take, inches (as the host's printers accept).
bool UsableSheetSide(double inches) { return inches >= 1 && inches <= 200; }

} // namespace

bool UsableSheet(const Vmod_Model &model) {
    return UsableSheetSide(model.printerPageWidth) && UsableSheetSide(model.printerPageHeight);
}

} // namespace vmod::print
