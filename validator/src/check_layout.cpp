// check_layout.cpp - see checks.h. A node's box is what the editor draws of it at actual
// size without its title: the glyph, or a note's text. The pages are those `vmod print
// MODEL` writes: the model's page grid widened to cover every node, blank pages left out.
#include <cmath>
#include <cstdio>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>

#include "checks.h"
#include "vmod/vmod.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_print.h"
#include "vmodkit/vmodkit_view.h"

namespace {

// Overlaps and nodes off the pages listed one by one; past this, one more problem says
// that there are more.
constexpr size_t kListed = 100;
// The side of a cell of the grid the boxes are sorted into, inches: wider than any glyph.
constexpr double kCell = 2.0;
// A box over more cells than this is compared with every box instead.
constexpr int64_t kMostCells = 64;
// Positions further out than this are absurd (the data checks name them); such nodes are
// left out of the layout checks.
constexpr double kFar = 1e7;

// What `vmod print` refuses to draw: a position or size beyond this many inches, or a
// print scale outside these percentages.
constexpr double kMaxPrintableInches = 10000;
constexpr double kMinPrintScale = 0.01, kMaxPrintScale = 1e6;

struct Boxed {
    size_t at; // position in the context
    Vmodkit_Box box;
};

bool Overlap(const Vmodkit_Box &a, const Vmodkit_Box &b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Usable(const Vmodkit_Box &box) {
    return std::fabs(box.left) < kFar && std::fabs(box.right) < kFar && std::fabs(box.top) < kFar &&
           std::fabs(box.bottom) < kFar;
}

// The boxes of the nodes that have a usable position: glyphs through a view below actual
// size (where the kit leaves titles out), notes through one at actual size, where their
// text is measured as the editor draws it, all notes on one measuring canvas.
std::vector<Boxed> NodeBoxes(const CheckContext &context) {
    Vmodkit_View glyphs{}, notes{};
    vmodkit_ViewDefault(&glyphs);
    vmodkit_ViewDefault(&notes);
    glyphs.zoom = 0.5;
    const size_t count = context.nodes.size();
    std::vector<const Vmod_Node *> glyphNodes(count, nullptr), noteNodes(count, nullptr);
    // A host without a drawing canvas cannot measure a note's text, and a size guessed
    // from the record would report overlaps that are not there: notes are left out then.
    const bool measurable = vmodhost_HasCairo() != 0;
    for (size_t at = 0; at < count; ++at) {
        if (context.nodes[at]->type != VMOD_TEXT) glyphNodes[at] = context.nodes[at];
        else if (measurable) noteNodes[at] = context.nodes[at];
    }
    std::vector<Vmodkit_Box> glyphBoxes(count), noteBoxes(count);
    std::vector<int32_t> glyphFound(count, 0), noteFound(count, 0);
    if (count > 0) {
        vmodkit_NodeBoxes(context.model, glyphNodes.data(), count, &glyphs, glyphBoxes.data(), glyphFound.data());
        vmodkit_NodeBoxes(context.model, noteNodes.data(), count, &notes, noteBoxes.data(), noteFound.data());
    }
    std::vector<Boxed> boxes;
    boxes.reserve(count);
    for (size_t at = 0; at < count; ++at) {
        const bool note = context.nodes[at]->type == VMOD_TEXT;
        if (!(note ? noteFound : glyphFound)[at]) continue;
        const Vmodkit_Box &box = (note ? noteBoxes : glyphBoxes)[at];
        if (Usable(box)) boxes.push_back({at, box});
    }
    return boxes;
}

int64_t CellOf(double inches) { return static_cast<int64_t>(std::floor(inches / kCell)); }

uint64_t CellKey(int64_t column, int64_t row) {
    return (static_cast<uint64_t>(column) << 32) ^ static_cast<uint64_t>(row & 0xFFFFFFFF);
}

class OverlapFinder {
public:
    OverlapFinder(const CheckContext &context, ProblemList &problems) : context_(context), problems_(problems) {}

    void run(const std::vector<Boxed> &boxes) {
        // Comparisons allowed: enough for every box against a crowded neighbourhood.
        budget_ = 64 * static_cast<uint64_t>(boxes.size()) + 100000;
        std::unordered_map<uint64_t, std::vector<size_t>> cells;
        std::vector<size_t> big;
        std::vector<size_t> seenBy(boxes.size(), std::numeric_limits<size_t>::max());
        for (size_t i = 0; i < boxes.size() && !stopped_; ++i) {
            const Vmodkit_Box &box = boxes[i].box;
            const int64_t c0 = CellOf(box.left), c1 = CellOf(box.right);
            const int64_t r0 = CellOf(box.top), r1 = CellOf(box.bottom);
            if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMostCells) {
                big.push_back(i);
                continue;
            }
            for (int64_t c = c0; c <= c1 && !stopped_; ++c)
                for (int64_t r = r0; r <= r1 && !stopped_; ++r) {
                    std::vector<size_t> &cell = cells[CellKey(c, r)];
                    for (size_t j : cell) {
                        if (seenBy[j] == i) continue; // met in another cell already
                        seenBy[j] = i;
                        if (!compare(boxes[j], boxes[i])) break;
                    }
                    cell.push_back(i);
                }
        }
        // The few large boxes (long notes) against every other box, each pair once.
        std::vector<char> isBig(boxes.size(), 0);
        for (size_t b : big) isBig[b] = 1;
        for (size_t b : big)
            for (size_t k = 0; k < boxes.size() && !stopped_; ++k) {
                if (k == b || (isBig[k] && k > b)) continue;
                if (k < b) compare(boxes[k], boxes[b]);
                else compare(boxes[b], boxes[k]);
            }
        if (crowded_)
            problems_.warning("L001", {},
                              "the diagram is too crowded to look for every overlap; " + std::to_string(listed_) +
                                  " overlapping boxes are listed",
                              "Spread the nodes out so that no box covers another.");
        else if (listed_ > kListed)
            problems_.warning("L001", {}, "more node boxes overlap than the " + std::to_string(kListed) + " listed",
                              "Spread the nodes out so that no box covers another.");
    }

private:
    // False once the search stops: enough listed, or the budget spent.
    bool compare(const Boxed &first, const Boxed &second) {
        if (stopped_) return false;
        if (++work_ > budget_) {
            crowded_ = true;
            stopped_ = true;
            return false;
        }
        if (!Overlap(first.box, second.box)) return true;
        if (++listed_ > kListed) {
            stopped_ = true;
            return false;
        }
        const Vmod_Node *a = context_.nodes[first.at], *b = context_.nodes[second.at];
        problems_
            .warning("L001", {a->id, b->id}, check_NodeName(b) + " overlaps " + check_NodeName(a),
                     "Move one of the two so that neither covers the other.")
            .place = context_.placeOf(b, "POSITION");
        return true;
    }

    const CheckContext &context_;
    ProblemList &problems_;
    uint64_t budget_ = 0, work_ = 0;
    size_t listed_ = 0;
    bool stopped_ = false, crowded_ = false;
};

// The extent of the model's own page grid, model inches, as the print cuts it; false
// when the pages have no usable size (everything is then on the one page).
bool PagesExtent(const Vmod_Model &model, double &across, double &down) {
    Vmodkit_Pages grid{};
    if (!vmodkit_PageCount(&model, &grid)) return false;
    const double scale = model.printScale;
    const double k = std::isfinite(scale) && scale > 0 ? 100 / scale : 1;
    const double top = model.margins[0], bottom = model.margins[1], left = model.margins[2],
                 right = model.margins[3];
    // In landscape the sheet is turned: its height runs across.
    const bool landscape = model.orientation != VMOD_PORTRAIT;
    const double paperAcross = landscape ? model.printerPageHeight : model.printerPageWidth;
    const double paperDown = landscape ? model.printerPageWidth : model.printerPageHeight;
    const double pageAcross = (paperAcross - (landscape ? bottom + top : left + right)) * k;
    const double pageDown = (paperDown - (landscape ? left + right : top + bottom)) * k;
    if (!(pageAcross > 0) || !(pageDown > 0) || !std::isfinite(pageAcross) || !std::isfinite(pageDown)) return false;
    across = pageAcross * grid.columns;
    down = pageDown * grid.rows;
    return true;
}

void CheckOffThePages(const CheckContext &context, const std::vector<Boxed> &boxes, ProblemList &problems) {
    double across = 0, down = 0;
    if (!PagesExtent(*context.model, across, down)) return;
    size_t listed = 0;
    for (const Boxed &boxed : boxes) {
        const Vmodkit_Box &box = boxed.box;
        if (box.left >= 0 && box.top >= 0 && box.right <= across && box.bottom <= down) continue;
        if (++listed > kListed) {
            problems.warning("L002", {}, "more nodes reach off the model's pages than the " +
                                             std::to_string(kListed) + " listed",
                             "Enlarge the page (PAGESIZE) or move the nodes onto it.");
            return;
        }
        const bool wholly = box.right <= 0 || box.bottom <= 0 || box.left >= across || box.top >= down;
        const Vmod_Node *node = context.nodes[boxed.at];
        char size[96];
        std::snprintf(size, sizeof size, "%.4g by %.4g inches", across, down);
        problems
            .warning("L002", {node->id},
                     check_NodeName(node) + (wholly ? " lies outside" : " reaches past the edge of") +
                         " the model's pages (" + size + "): the editor's print and `vmod print --as-saved` " +
                         (wholly ? "leave it off" : "cut it off"),
                     "Move the node onto the page, or enlarge the page (PAGESIZE).")
            .place = context.placeOf(node, "POSITION");
    }
}

// What the print sees of the model, for the kit to widen: the model's record and a copy
// of every node record, relinked in list order. Only positions and the page size change
// on it; titles, payloads and arrows are the model's own, only read, never released.
class PrintStandIn {
public:
    explicit PrintStandIn(const CheckContext &context) : model_(*context.model), nodes_(context.nodes.size()) {
        for (size_t at = 0; at < nodes_.size(); ++at) {
            nodes_[at] = *context.nodes[at];
            nodes_[at].prev = at > 0 ? &nodes_[at - 1] : nullptr;
            nodes_[at].next = at + 1 < nodes_.size() ? &nodes_[at + 1] : nullptr;
        }
        model_.nodes = nodes_.empty() ? nullptr : nodes_.data();
    }
    PrintStandIn(const PrintStandIn &) = delete;
    PrintStandIn &operator=(const PrintStandIn &) = delete;

    Vmod_Model *model() { return &model_; }

private:
    Vmod_Model model_;
    std::vector<Vmod_Node> nodes_;
};

struct ErrorSlot {
    Oerr_ErrorReport *report = nullptr;
    ~ErrorSlot() { oerr_DeleteErrorReportEx(&report); }
    bool memory() const { return vmodhost_ErrorCode(report) == VMOD_ERR_MEMORY; }
};

bool Printable(double inches) { return std::fabs(inches) <= kMaxPrintableInches; } // false for nan

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Why `vmod print` refuses to draw the model at all, or "".
std::string UnprintableReason(const CheckContext &context) {
    const Vmod_Model &model = *context.model;
    for (const Vmod_Node *node : context.nodes) {
        const double x = node->x, y = node->y;
        if (!Printable(x) || !Printable(y))
            return check_NodeName(node) + " stands at (" + Number(x) + ", " + Number(y) + ")";
    }
    const double perInch = model.pageUnits == VMOD_PAGE_CENTIMETERS ? 2.54 : 1.0;
    const double pageWidth = model.pageWidth, pageHeight = model.pageHeight;
    if (!Printable(pageWidth / perInch) || !Printable(pageHeight / perInch))
        return "the page size is " + Number(pageWidth) + " by " + Number(pageHeight);
    const double printerWidth = model.printerPageWidth, printerHeight = model.printerPageHeight;
    if (!Printable(printerWidth) || !Printable(printerHeight))
        return "the printer page size is " + Number(printerWidth) + " by " + Number(printerHeight);
    for (int i = 0; i < 4; ++i) {
        const double margin = model.margins[i];
        if (!Printable(margin)) return "a margin is " + Number(margin) + " inches";
    }
    const double scale = model.printScale;
    if (!(scale >= kMinPrintScale && scale <= kMaxPrintScale))
        return "the print scale is " + Number(scale) + " percent";
    return "";
}

void Unprintable(ProblemList &problems, const std::string &why, const char *hint) {
    problems.warning("L005", {}, "`vmod print` writes nothing for this model: " + why, hint);
}

// The pages `vmod print MODEL` writes, or 0 when it refuses; adds what it finds.
int32_t CountPages(const CheckContext &context, ProblemList &problems) {
    const std::string reason = UnprintableReason(context);
    if (!reason.empty()) {
        Unprintable(problems, reason + ", which no printed page can hold",
                    "Give positions and sizes within 10000 inches and a print scale from 0.01 to 1000000 percent.");
        return 0;
    }
    // The print widens the grid of a stand-in: the model itself is not changed.
    PrintStandIn copy(context);
    ErrorSlot err;
    Vmodkit_Widening widening{};
    if (!vmodkit_CoverEveryNode(copy.model(), VMODKIT_PRINTER, &widening, &err.report)) {
        if (!widening.tooLarge) throw std::bad_alloc();
        Unprintable(problems,
                    "covering every node takes " + Number(widening.columnsNeeded) + " pages across and " +
                        Number(widening.rowsNeeded) + " down, more than the " +
                        std::to_string(VMODKIT_MAX_GRID_SIDE) + " a print may have",
                    "Bring the nodes closer together, or lower the print scale (PRINTSCALE).");
        return 0;
    }
    Vmodkit_Pages grid{};
    vmodkit_PageCount(copy.model(), &grid);
    int32_t *numbers = nullptr;
    size_t holding = 0;
    if (!vmodkit_PagesHoldingSomething(copy.model(), VMODKIT_PRINTER, &numbers, &holding, &err.report)) {
        if (err.memory()) throw std::bad_alloc();
        Unprintable(problems,
                    "more than " + std::to_string(VMODKIT_MAX_PAGES) + " of its " + std::to_string(grid.total) +
                        " pages hold something, more than one print may hold",
                    "Bring the nodes closer together, or lower the print scale (PRINTSCALE).");
        return 0;
    }
    vmodkit_Free(numbers);
    const int64_t blank = static_cast<int64_t>(grid.total) - static_cast<int64_t>(holding);
    if (holding == 0)
        problems.info("L003", {}, "nothing of the diagram reaches paper: `vmod print` writes one blank page",
                      "Add nodes to the model before printing it.");
    else if (blank > 0)
        problems.info("L003", {},
                      std::to_string(blank) + " of the " + std::to_string(grid.total) +
                          " pages of the print hold nothing: `vmod print` leaves them out, a range of pages "
                          "(--pages) prints them blank",
                      "Move the nodes closer together to print on fewer sheets.");
    // A model with nothing on paper still prints its first page.
    const int32_t pages = holding == 0 ? 1 : static_cast<int32_t>(holding);
    problems.info("L004", {},
                  "`vmod print` writes " + std::to_string(pages) + (pages == 1 ? " page" : " pages") + " (a grid of " +
                      std::to_string(grid.columns) + " across and " + std::to_string(grid.rows) + " down)",
                  "");
    return pages;
}

} // namespace

void check_Layout(const CheckContext &context, ProblemList &problems, int32_t &pages) {
    pages = -1;
    // The kit walks the model's own list: a list that loops back on itself is left alone.
    if (!context.nodes.empty() && context.nodes.back()->next != nullptr) return;
    const std::vector<Boxed> boxes = NodeBoxes(context);
    OverlapFinder(context, problems).run(boxes);
    CheckOffThePages(context, boxes, problems);
    pages = CountPages(context, problems);
}
