// kit_print.cpp - the page grid, a grid widened to cover every node, the pages that hold
// something, and printing chosen pages on the host's printer.
#include <cstring>
#include <new>
#include <vector>

#include "kit_guard.h"
#include "page_coverage.h"
#include "print/page_grid.h"
#include "print/printer_model.h"
#include "vmodhost/omsc.h"
#include "vmodkit/vmodkit_print.h"

static_assert(VMODKIT_MAX_PAGES == vmod::print::kMaxPagesPrinted, "one limit of pages printed");
static_assert(VMODKIT_MAX_GRID_SIDE == vmod::print::kMaxGridSide, "one limit of columns and rows");

namespace {

vmod::print::Printout::Kind KindOf(Vmodkit_Printout printout) {
    return printout == VMODKIT_POSTSCRIPT ? vmod::print::Printout::kPostScript : vmod::print::Printout::kPrinter;
}

} // namespace

extern "C" {

int32_t vmodkit_PageCount(const Vmod_Model *model, Vmodkit_Pages *pages) {
    if (model == nullptr || pages == nullptr) return 0;
    const vmod::print::PageGrid grid = vmod::print::MakePageGrid(*model);
    *pages = Vmodkit_Pages{grid.columns, grid.rows, vmod::print::PageCount(grid)};
    return 1;
}

int32_t vmodkit_CoverEveryNode(Vmod_Model *model, Vmodkit_Printout printout, Vmodkit_Widening *widening,
                               Oerr_ErrorReport **err) {
    if (widening != nullptr) *widening = Vmodkit_Widening{};
    if (model == nullptr || widening == nullptr) {
        kit_Report(err, "vmodkit_CoverEveryNode", VMOD_ERR_FAILED, "no model or no record of the widening");
        return 0;
    }
    return kit_Guarded<int32_t>("vmodkit_CoverEveryNode", err, 0, [&] {
        const vmod::print::GridWidening w = vmod::print::CoverEveryNode(*model, KindOf(printout));
        *widening = Vmodkit_Widening{w.widened, w.tooLarge, w.columnsBefore, w.rowsBefore, w.columns, w.rows,
                                     w.columnsNeeded, w.rowsNeeded, w.columnsShifted, w.rowsShifted};
        return w.tooLarge ? 0 : 1;
    });
}

int32_t vmodkit_PagesHoldingSomething(const Vmod_Model *model, Vmodkit_Printout printout, int32_t **numbers,
                                      size_t *count, Oerr_ErrorReport **err) {
    if (numbers != nullptr) *numbers = nullptr;
    if (count != nullptr) *count = 0;
    if (model == nullptr || numbers == nullptr || count == nullptr) {
        kit_Report(err, "vmodkit_PagesHoldingSomething", VMOD_ERR_FAILED, "no model or no place for the pages");
        return 0;
    }
    return kit_Guarded<int32_t>("vmodkit_PagesHoldingSomething", err, 0, [&] {
        std::vector<int32_t> pages;
        if (!vmod::print::PagesHoldingSomething(*model, vmod::print::MakePageGrid(*model), KindOf(printout),
                                                VMODKIT_MAX_PAGES, pages)) {
            kit_Report(err, "vmodkit_PagesHoldingSomething", VMOD_ERR_FAILED,
                       "more pages hold something than one print may hold");
            return 0;
        }
        if (pages.empty()) return 1;
        auto *array = static_cast<int32_t *>(omsc_HeapMalloc(pages.size() * sizeof(int32_t)));
        if (array == nullptr) throw std::bad_alloc();
        std::memcpy(array, pages.data(), pages.size() * sizeof(int32_t));
        *numbers = array;
        *count = pages.size();
        return 1;
    });
}

int32_t vmodkit_PrintPages(Vmod_Model *model, const int32_t *numbers, size_t count, int32_t labelLast,
                           Oerr_ErrorReport **err) {
    if (model == nullptr || (numbers == nullptr && count > 0) || count > VMODKIT_MAX_PAGES) {
        kit_Report(err, "vmodkit_PrintPages", VMOD_ERR_FAILED, "no model, or no usable list of pages");
        return 0;
    }
    return kit_Guarded<int32_t>("vmodkit_PrintPages", err, 0, [&] {
        const std::vector<int32_t> pages(numbers, numbers + count);
        if (vmod::print::ModelPrintPages(*model, pages, labelLast)) return 1;
        kit_Report(err, "vmodkit_PrintPages", VMOD_ERR_FAILED,
                   "the printer is missing, or did not start or finish the document or a page");
        return 0;
    });
}

} // extern "C"
