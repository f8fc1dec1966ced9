// page_coverage.h - which pages of a paged print the diagram reaches: the paper each
// node marks, a grid widened until it covers all of them, and the pages that hold
// something (a node, a note or part of an arrow), so blank pages can be left out.
//
// A node's paper is the ink each printout draws for it: the glyph (at most 1.2 inch wide,
// from half an inch above the centre to 0.6 below), the title centred below it and, for a
// note, its lines at the size and in the face the printout uses, measured with the
// advance widths of face_widths.h. An arrow marks the pages the straight line between
// the two centres crosses. A page that some ink touches is printed; a page no ink
// touches is not.
#ifndef VMODKIT_PAGE_COVERAGE_H
#define VMODKIT_PAGE_COVERAGE_H

#include <cstdint>
#include <vector>

#include "print/page_grid.h"
#include "vmod/vmod_records.h"

namespace vmod::print {

// Which print draws the diagram: the PDF printer and the paged PostScript draw titles
// and notes in different fonts and sizes. printScale is the grid's, percent.
struct Printout {
    enum Kind { kPrinter, kPostScript } kind;
    double printScale;
};

// Paper a node marks, model inches; empty when its position is not a finite number.
struct PaperArea {
    double left, top, right, bottom;
    bool empty;
};
PaperArea NodePaperArea(const Vmod_Node &node, const Printout &printout);

// What widening the grid did.
struct GridWidening {
    bool widened = false;              // the grid has more columns or rows than the model's
    bool tooLarge = false;             // covering the diagram needs more than kMaxGridSide
    std::int32_t columnsBefore = 0, rowsBefore = 0;
    std::int32_t columns = 0, rows = 0;
    double columnsNeeded = 0, rowsNeeded = 0; // what covering would take (tooLarge)
    std::int32_t columnsShifted = 0, rowsShifted = 0; // whole pages the diagram moved right, down
};

// Widens model's page (and, for ink left of or above the page's corner, moves every node
// right or down by whole pages) until the page grid covers the paper of every node.
// The page size is left in inches. Changes nothing when the grid already covers them or
// when covering them would take more than kMaxGridSide columns or rows.
GridWidening CoverEveryNode(Vmod_Model &model, Printout::Kind kind);

// The pages of grid, in page order, that hold some node's paper or part of an arrow.
// False (pages then incomplete) when there are more than limit of them.
bool PagesHoldingSomething(const Vmod_Model &model, const PageGrid &grid, Printout::Kind kind, std::int32_t limit,
                           std::vector<std::int32_t> &pages);

} // namespace vmod::print

#endif
