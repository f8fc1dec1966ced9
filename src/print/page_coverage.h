// page_coverage.h - which pages of a paged print the diagram reaches: the paper each
// node marks, a grid widened until it covers all of them, and the pages that hold
// something (a node, a note or part of an arrow), so blank pages can be left out.
//
// A node's paper is estimated generously from what every back end draws for it: the
// glyph (at most 1.2 inch wide, from half an inch above the centre), the title below it
// (about 0.1 inch a character) and, for a note, its lines at its point size (0.6 of the
// size a character, 1.2 times the size a line, hanging below the position). An arrow marks the pages the straight
// line between the two centres crosses.
#ifndef VMOD_PRINT_PAGE_COVERAGE_H
#define VMOD_PRINT_PAGE_COVERAGE_H

#include <cstdint>
#include <vector>

#include "print/page_grid.h"
#include "vmod/vmod_records.h"

namespace vmod::print {

// Paper a node marks, model inches; empty when its position is not a finite number.
struct PaperArea {
    double left, top, right, bottom;
    bool empty;
};
PaperArea NodePaperArea(const Vmod_Node &node);

// What widening the grid did.
struct GridWidening {
    bool widened = false;              // the grid has more columns or rows than the model's
    bool tooLarge = false;             // covering the diagram needs more than kMaxGridSide
    std::int32_t columnsBefore = 0, rowsBefore = 0;
    std::int32_t columns = 0, rows = 0;
    double columnsNeeded = 0, rowsNeeded = 0; // what covering would take (tooLarge)
};

// Widens model's page (and, for nodes left of or above the page's corner, moves every
// node right or down by whole pages) until the page grid covers the paper of every node.
// The page size is left in inches. Changes nothing when the grid already covers them or
// when covering them would take more than kMaxGridSide columns or rows.
GridWidening CoverEveryNode(Vmod_Model &model);

// The pages of grid, in page order, that hold some node's paper or part of an arrow.
// False (pages then incomplete) when there are more than limit of them.
bool PagesHoldingSomething(const Vmod_Model &model, const PageGrid &grid, std::int32_t limit,
                           std::vector<std::int32_t> &pages);

} // namespace vmod::print

#endif
