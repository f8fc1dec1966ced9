// page_grid.h - how a paged print cuts the diagram into pages, shared by the paged
// PostScript prologue, its page labels and the printer output.
//
// A page shows printable size x 100 / printScale inches of the model, so at any scale
// the pages tile the diagram without gaps or overlaps. In landscape the paper is turned:
// the long side runs across, the printable width is the paper height less the top and
// bottom margins, and the margins turn with the sheet (its bottom edge on the left, its
// left edge at the top), as the PostScript prologue lays them out.
#ifndef VMOD_PRINT_PAGE_GRID_H
#define VMOD_PRINT_PAGE_GRID_H

#include <cstdint>

#include "vmod/vmod_records.h"

namespace vmod::print {

// Grids are kept to this many columns and rows, so absurd sizes cannot make a print loop
// over billions of pages.
inline constexpr std::int32_t kMaxGridSide = 10000;
// The most pages one print writes, whatever range it is asked for; the vmod tool refuses
// a print that needs more.
inline constexpr std::int32_t kMaxPagesPrinted = 10000;

struct PageGrid {
    double printScale;  // percent; the model's when finite and positive, else 100
    double k;           // 100 / printScale: model inches per printed inch
    bool landscape;
    // The paper as it lies in the printer, inches.
    double paperAcross, paperDown;
    // Margins on that paper, inches (physical, not scaled).
    double marginLeft, marginTop, marginRight, marginBottom;
    // Printable extent on the paper, inches; and what it shows of the model.
    double printableAcross, printableDown;
    double modelAcross, modelDown;
    std::int32_t columns; // 1..kMaxGridSide
    std::int32_t rows;    // 1..kMaxGridSide: covers the page height and every node centre
};

double EffectivePrintScale(const Vmod_Model &model);
PageGrid MakePageGrid(const Vmod_Model &model);

// Number of pages the diagram covers (columns x rows, at least 1).
std::int32_t PageCount(const PageGrid &grid);

// Column and row of page p (counted from 1), counted from 0.
struct PageCell {
    std::int32_t column0, row0;
};
PageCell PageCellOf(const PageGrid &grid, std::int32_t page);

// Raises first to 1 and limits first..last to kMaxPagesPrinted pages; false when the
// range is empty. Pages past the diagram stay in the range.
bool ClampPageRange(const PageGrid &grid, std::int32_t &first, std::int32_t &last);

// Whether the host's printers can take the model's printer page (each side 1 to 200
// inches): only then does a paged PostScript print name its sheet.
bool UsableSheet(const Vmod_Model &model);

} // namespace vmod::print

#endif
