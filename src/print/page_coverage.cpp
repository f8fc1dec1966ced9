// page_coverage.cpp - the paper the diagram marks on the page grid.
#include "print/page_coverage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "model/page_size.h"

namespace vmod::print {

namespace {

constexpr double kGlyphHalfWidth = 0.6;   // the raster glyph, the widest
constexpr double kGlyphAbove = 0.5;       // every glyph's top, above the centre
constexpr double kTitleBelow = 1.1;       // the title ("?" is larger) under the centre
constexpr double kTitleCharacter = 0.1;   // a title character, inches
constexpr double kNoteDefaultSize = 12;   // points, for a note without a size

// Longest line (in bytes) and number of lines of a title; "?" for none.
void Lines(const char *text, std::size_t &longest, std::size_t &lines) {
    if (!text) text = "?";
    longest = 0;
    lines = 1;
    std::size_t current = 0;
    for (const char *c = text; *c; ++c) {
        if (*c == '\n') {
            ++lines;
            current = 0;
        } else if (++current > longest) {
            longest = current;
        }
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

PaperArea NodePaperArea(const Vmod_Node &node) {
    // Copies: the record's doubles may sit unaligned.
    const double x = node.x, y = node.y;
    PaperArea area{x, y, x, y, !std::isfinite(x) || !std::isfinite(y)};
    if (area.empty) return area;
    std::size_t longest = 0, lines = 0;
    Lines(node.title, longest, lines);
    if (node.type == VMOD_TEXT) {
        double size = kNoteDefaultSize;
        if (node.data) {
            Vmod_TextData text;
            std::memcpy(&text, node.data, sizeof text);
            if (text.size > 0) size = text.size;
        }
        const double em = size / 72;
        const double half = 0.5 * 0.6 * em * static_cast<double>(longest) + 0.05;
        area.left = x - half;
        area.right = x + half;
        area.top = y; // the first line hangs below the position
        area.bottom = y + em * 1.2 * static_cast<double>(lines);
    } else {
        const double half = std::max(kGlyphHalfWidth, 0.5 * kTitleCharacter * static_cast<double>(longest));
        area.left = x - half;
        area.right = x + half;
        area.top = y - kGlyphAbove;
        area.bottom = y + kTitleBelow + kTitleCharacter * 2 * static_cast<double>(lines - 1);
    }
    return area;
}

GridWidening CoverEveryNode(Vmod_Model &model) {
    GridWidening w;
    const PageGrid before = MakePageGrid(model);
    w.columnsBefore = w.columns = before.columns;
    w.rowsBefore = w.rows = before.rows;
    const double across = before.modelAcross, down = before.modelDown;
    if (!(across > 0) || !(down > 0) || !std::isfinite(across) || !std::isfinite(down)) return w;

    constexpr double kHuge = std::numeric_limits<double>::infinity();
    double minCentreX = kHuge, minCentreY = kHuge, minLeft = kHuge, minTop = kHuge;
    double maxRight = -kHuge, maxBottom = -kHuge;
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        const PaperArea area = NodePaperArea(*node);
        if (area.empty) continue;
        const double x = node->x, y = node->y;
        minCentreX = std::min(minCentreX, x);
        minCentreY = std::min(minCentreY, y);
        minLeft = std::min(minLeft, area.left);
        minTop = std::min(minTop, area.top);
        maxRight = std::max(maxRight, area.right);
        maxBottom = std::max(maxBottom, area.bottom);
    }
    if (maxRight == -kHuge) return w;

    // A node whose centre lies left of or above the page's corner moves the whole diagram
    // by whole pages, so the grid stays aligned with the model's pages.
    const double shiftColumns = minCentreX < 0 ? std::ceil(-minLeft / across) : 0;
    const double shiftRows = minCentreY < 0 ? std::ceil(-minTop / down) : 0;
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
    model.pageUnits = 0;
    const PageGrid after = MakePageGrid(model);
    w.columns = after.columns;
    w.rows = after.rows;
    w.widened = after.columns > before.columns || after.rows > before.rows;
    return w;
}

bool PagesHoldingSomething(const Vmod_Model &model, const PageGrid &grid, std::int32_t limit,
                           std::vector<std::int32_t> &pages) {
    pages.clear();
    PageSet set{grid, limit, {}};
    std::unordered_map<std::int32_t, std::vector<const Vmod_Node *>> byId;
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        byId[node->id].push_back(node);
        const PaperArea area = NodePaperArea(*node);
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
