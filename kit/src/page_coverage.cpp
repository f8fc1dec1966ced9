// page_coverage.cpp - the paper the diagram marks on the page grid.
#include "page_coverage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "model/note_text.h"
#include "model/page_size.h"
#include "print/face_widths.h"
#include "glyph/glyph_geometry.h"

namespace vmod::print {

namespace {

constexpr double kGlyphHalfWidth = 0.6;   // the raster glyph, the widest
constexpr double kGlyphAbove = 0.5;       // every glyph's top, above the centre
constexpr double kGlyphBelow = 0.6;       // and its bottom, below it
// Ink of a line of text around its baseline, em: accented capitals reach this high,
// descenders this low.
constexpr double kInkAbove = 0.95;
constexpr double kInkBelow = 0.25;
// The character cell the PDF printer places a line by: no face's is taller.
constexpr double kPrinterCell = 1.2;
// Room for an italic's overhang and for the rounding of device pixels, inches.
constexpr double kTextSlack = 0.02;

double Inches(double points) { return points / 72; }

// The paper of a line of text centred on x.
void HoldLine(PaperArea &area, double x, double halfWidth, double top, double bottom) {
    area.left = std::min(area.left, x - halfWidth - kTextSlack);
    area.right = std::max(area.right, x + halfWidth + kTextSlack);
    area.top = std::min(area.top, top - kTextSlack);
    area.bottom = std::max(area.bottom, bottom + kTextSlack);
}

// A note as the printout draws it (printer_node.cpp, eps_text.cpp).
void HoldNote(PaperArea &area, const Vmod_Node &node, const Printout &printout) {
    const auto *data = static_cast<const Vmod_TextData *>(node.data);
    const double size = note::SizeOf(data);
    int32_t style = data ? data->style : 0;
    if (style < 0 || style > 7) style = 0;
    const bool bold = style & VMOD_STYLE_BOLD, italic = style & VMOD_STYLE_ITALIC;
    const Face face = NoteFace(data ? data->font : nullptr);
    const std::vector<std::string_view> lines = note::LinesOf(node.title ? node.title : "?");
    const double x = node.x, y = node.y;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double width = LineWidthEms(lines[i], face, bold, italic);
        if (printout.kind == Printout::kPostScript) {
            // The font is 7/8 of the size; lines are the size apart, a baseline 3/4 of the
            // size below its line's top; the underline 0.03 inch below the baseline.
            const double em = Inches(size) * 7 / 8;
            const double baseline = y + static_cast<double>(i) * Inches(size) + Inches(size) * 3 / 4;
            HoldLine(area, x, width * em / 2, baseline - kInkAbove * em, baseline + std::max(kInkBelow * em, 0.04));
        } else {
            // Whole points of the size at the print scale, physical; none gives 12.
            const double scale = printout.printScale;
            double points = std::trunc(size * scale * 0.01);
            if (!(points >= 1)) points = 12;
            const double em = Inches(points) * 100 / scale; // model inches
            const double top = y + static_cast<double>(i) * em * 8 / 7;
            HoldLine(area, x, width * em / 2, top, top + kPrinterCell * em);
        }
    }
}

// A glyph's title (or "?") centred under it as the printout draws it (printer_node.cpp,
// eps_node.cpp): the printer in its 12 point Courier document font with the line's top
// at the drop, the PostScript in 12.25 point Helvetica Bold (21 point for "?") on a
// baseline at the drop.
void HoldTitle(PaperArea &area, const Vmod_Node &node, const Printout &printout) {
    const bool titled = node.title != nullptr;
    const std::string_view text = titled ? node.title : "?";
    const double x = node.x, y = node.y;
    if (printout.kind == Printout::kPostScript) {
        const double em = Inches(titled ? 14.0 * 7 / 8 : 24.0 * 7 / 8);
        const double baseline = y + glyph::PrintedTitleDrop(node.type, true) + (titled ? 0 : 0.09);
        const double half = LineWidthEms(text, Face::Sans, true, false) * em / 2;
        HoldLine(area, x, half, baseline - kInkAbove * em, baseline + kInkBelow * em);
    } else {
        const double em = Inches(12);
        const double top = y + glyph::PrintedTitleDrop(node.type, titled);
        HoldLine(area, x, LineWidthEms(text, Face::Mono, false, false) * em / 2, top, top + kPrinterCell * em);
    }
}

// The cells from 0 that the span low..high reaches at per inches a cell, within
// 0..count-1; false when it reaches none. A cell size that is not a usable number puts
// everything in the first cell, as the grid has one column or row then.
bool CellSpan(double low, double high, double per, std::int32_t count, std::int32_t &first, std::int32_t &last) {
    if (!(per > 0) || !std::isfinite(per)) {
        first = last = 0;
        return true;
    }
    const double a = std::floor(low / per), b = std::floor(high / per);
    if (!(b >= 0) || !(a <= count - 1)) return false;
    first = a <= 0 ? 0 : static_cast<std::int32_t>(a);
    last = b >= count - 1 ? count - 1 : static_cast<std::int32_t>(b);
    return first <= last;
}

// Collects distinct pages until there are more than limit.
struct PageSet {
    const PageGrid &grid;
    std::int32_t limit;
    std::unordered_set<std::int32_t> pages;

    // False once the set holds more than limit pages.
    bool Add(std::int32_t column0, std::int32_t row0) {
        pages.insert(row0 * grid.columns + column0 + 1);
        return pages.size() <= static_cast<std::size_t>(limit);
    }
    bool AddArea(double left, double top, double right, double bottom) {
        std::int32_t c0, c1, r0, r1;
        if (!CellSpan(left, right, grid.modelAcross, grid.columns, c0, c1) ||
            !CellSpan(top, bottom, grid.modelDown, grid.rows, r0, r1))
            return true;
        // An area over more cells than the limit cannot fit, whatever is marked already.
        if ((static_cast<std::int64_t>(c1) - c0 + 1) * (static_cast<std::int64_t>(r1) - r0 + 1) > limit) return false;
        for (std::int32_t r = r0; r <= r1; ++r)
            for (std::int32_t c = c0; c <= c1; ++c)
                if (!Add(c, r)) return false;
        return true;
    }
    // The cells the segment crosses, column by column.
    bool AddSegment(double x1, double y1, double x2, double y2) {
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return true;
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        std::int32_t c0, c1;
        if (!CellSpan(x1, x2, grid.modelAcross, grid.columns, c0, c1)) return true;
        const bool oneColumn = !(grid.modelAcross > 0) || !std::isfinite(grid.modelAcross);
        for (std::int32_t c = c0; c <= c1; ++c) {
            double ya = y1, yb = y2;
            if (!oneColumn && x2 > x1) {
                const double from = std::max(x1, c * grid.modelAcross);
                const double to = std::min(x2, (c + 1.0) * grid.modelAcross);
                ya = y1 + (y2 - y1) * ((from - x1) / (x2 - x1));
                yb = y1 + (y2 - y1) * ((to - x1) / (x2 - x1));
            }
            std::int32_t r0, r1;
            if (!CellSpan(std::min(ya, yb), std::max(ya, yb), grid.modelDown, grid.rows, r0, r1)) continue;
            if (static_cast<std::int64_t>(r1) - r0 + 1 > limit) return false;
            for (std::int32_t r = r0; r <= r1; ++r)
                if (!Add(c, r)) return false;
        }
        return true;
    }
};

} // namespace

PaperArea NodePaperArea(const Vmod_Node &node, const Printout &printout) {
    // Copies: the record's doubles may sit unaligned.
    const double x = node.x, y = node.y;
    PaperArea area{x, y, x, y, !std::isfinite(x) || !std::isfinite(y)};
    if (area.empty) return area;
    if (node.type == VMOD_TEXT) {
        HoldNote(area, node, printout);
    } else {
        area = {x - kGlyphHalfWidth, y - kGlyphAbove, x + kGlyphHalfWidth, y + kGlyphBelow, false};
        HoldTitle(area, node, printout);
    }
    return area;
}

GridWidening CoverEveryNode(Vmod_Model &model, Printout::Kind kind) {
    GridWidening w;
    const PageGrid before = MakePageGrid(model);
    w.columnsBefore = w.columns = before.columns;
    w.rowsBefore = w.rows = before.rows;
    const double across = before.modelAcross, down = before.modelDown;
    if (!(across > 0) || !(down > 0) || !std::isfinite(across) || !std::isfinite(down)) return w;

    const Printout printout{kind, before.printScale};
    constexpr double kHuge = std::numeric_limits<double>::infinity();
    double minLeft = kHuge, minTop = kHuge;
    double maxRight = -kHuge, maxBottom = -kHuge;
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        const PaperArea area = NodePaperArea(*node, printout);
        if (area.empty) continue;
        minLeft = std::min(minLeft, area.left);
        minTop = std::min(minTop, area.top);
        maxRight = std::max(maxRight, area.right);
        maxBottom = std::max(maxBottom, area.bottom);
    }
    if (maxRight == -kHuge) return w;

    // Ink left of or above the page's corner moves the whole diagram by whole pages, so
    // the grid stays aligned with the model's pages.
    const double shiftColumns = minLeft < 0 ? std::ceil(-minLeft / across) : 0;
    const double shiftRows = minTop < 0 ? std::ceil(-minTop / down) : 0;
    w.columnsNeeded = std::max<double>(before.columns, std::ceil(maxRight / across) + shiftColumns);
    w.rowsNeeded = std::max<double>(before.rows, std::ceil(maxBottom / down) + shiftRows);
    if (!(w.columnsNeeded <= kMaxGridSide) || !(w.rowsNeeded <= kMaxGridSide)) {
        w.tooLarge = true;
        return w;
    }
    const double dx = shiftColumns * across, dy = shiftRows * down;
    if (dx > 0 || dy > 0) {
        for (Vmod_Node *node = model.nodes; node; node = node->next) {
            const double x = node->x, y = node->y;
            node->x = x + dx;
            node->y = y + dy;
        }
    }
    model.pageWidth = std::max(PageWidthInches(model) + dx, maxRight + dx);
    model.pageHeight = std::max(PageHeightInches(model) + dy, maxBottom + dy);
    model.pageUnits = VMOD_PAGE_INCHES;
    const PageGrid after = MakePageGrid(model);
    w.columns = after.columns;
    w.rows = after.rows;
    w.widened = after.columns > before.columns || after.rows > before.rows;
    w.columnsShifted = static_cast<std::int32_t>(shiftColumns);
    w.rowsShifted = static_cast<std::int32_t>(shiftRows);
    return w;
}

bool PagesHoldingSomething(const Vmod_Model &model, const PageGrid &grid, Printout::Kind kind, std::int32_t limit,
                           std::vector<std::int32_t> &pages) {
    pages.clear();
    const Printout printout{kind, grid.printScale};
    PageSet set{grid, limit, {}};
    std::unordered_map<std::int32_t, std::vector<const Vmod_Node *>> byId;
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        byId[node->id].push_back(node);
        const PaperArea area = NodePaperArea(*node, printout);
        if (!area.empty && !set.AddArea(area.left, area.top, area.right, area.bottom)) return false;
    }
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        if (node->type == VMOD_TEXT) continue; // notes draw no arrows
        for (const Vmod_Link *link = node->children; link; link = link->next) {
            auto found = byId.find(link->id);
            if (found == byId.end()) continue;
            for (const Vmod_Node *child : found->second)
                if (!set.AddSegment(node->x, node->y, child->x, child->y)) return false;
        }
    }
    pages.assign(set.pages.begin(), set.pages.end());
    std::sort(pages.begin(), pages.end());
    return true;
}

} // namespace vmod::print
