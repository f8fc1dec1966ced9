// Cairo strokes a segment by building its outline in 24.8 fixed point and filling it.
// The outline runs through both ends' side points and square-cap corners: each end p
// gives p + n, p + n - v, p - n - v and p - n at the start (+ v at the far end), where v
// is half the unit direction and n = (-v.y, v.x), each rounded to fixed point. Without
// antialiasing a row y takes the outline's edges that span y + 128/256 (top inclusive),
// finds where each crosses y + 127/256 (rounded down), and sets the pixels from the left
// crossing to the right one with both rounded to the nearest pixel boundary, a half
// rounding down. Everything stays inside the outline's box, rounded outwards.
#include "slanted_segment.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int64_t kOne = 256; // fixed-point units per pixel

int64_t ToFixed(double v) { return static_cast<int64_t>(std::nearbyint(v * static_cast<double>(kOne))); }

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

struct FixedPoint {
    int64_t x, y;
};

} // namespace

bool slanted_SegmentRows(double x1, double y1, double x2, double y2, int32_t width, int32_t height,
                         std::vector<SegmentRow> &rows, int32_t *firstRow) {
    const FixedPoint p1{ToFixed(x1), ToFixed(y1)}, p2{ToFixed(x2), ToFixed(y2)};
    const int64_t dx = p2.x - p1.x, dy = p2.y - p1.y;
    if (dx == 0 || dy == 0) return false;
    const double length = std::hypot(static_cast<double>(dx) / kOne, static_cast<double>(dy) / kOne);
    const double ux = static_cast<double>(dx) / kOne / length, uy = static_cast<double>(dy) / kOne / length;
    const int64_t vx = ToFixed(ux * 0.5), vy = ToFixed(uy * 0.5), nx = ToFixed(-uy * 0.5), ny = ToFixed(ux * 0.5);
    const FixedPoint outline[8] = {{p1.x + nx, p1.y + ny},           {p1.x - vx + nx, p1.y - vy + ny},
                                   {p1.x - vx - nx, p1.y - vy - ny}, {p1.x - nx, p1.y - ny},
                                   {p2.x - nx, p2.y - ny},           {p2.x + vx - nx, p2.y + vy - ny},
                                   {p2.x + vx + nx, p2.y + vy + ny}, {p2.x + nx, p2.y + ny}};
    int64_t minX = outline[0].x, maxX = minX, minY = outline[0].y, maxY = minY;
    for (const FixedPoint &p : outline) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    // The box in whole pixels, half-open, within the image.
    const int64_t left = std::max<int64_t>(0, FloorDiv(minX, kOne));
    const int64_t right = std::min<int64_t>(width, FloorDiv(maxX + kOne - 1, kOne));
    const int64_t top = std::max<int64_t>(0, FloorDiv(minY, kOne));
    const int64_t bottom = std::min<int64_t>(height, FloorDiv(maxY + kOne - 1, kOne));
    *firstRow = static_cast<int32_t>(top);
    rows.clear();
    if (left >= right || top >= bottom) return true;

    // Each row's crossings, found edge by edge: an edge visits only its own rows.
    struct Crossings {
        int64_t x[2];
        int count;
    };
    static thread_local std::vector<Crossings> crossings;
    crossings.assign(static_cast<size_t>(bottom - top), Crossings{{0, 0}, 0});
    for (int e = 0; e < 8; ++e) {
        FixedPoint a = outline[e], b = outline[(e + 1) % 8];
        if (a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        // Rows whose y + 128 lies in [a.y, b.y).
        const int64_t from = std::max(top, FloorDiv(a.y - kOne / 2 + kOne - 1, kOne));
        const int64_t to = std::min(bottom, FloorDiv(b.y - kOne / 2 + kOne - 1, kOne));
        if (from >= to) continue;
        // The crossing at the first row, then stepped a row at a time with its remainder
        // kept, which gives the same rounded-down value as dividing afresh.
        const int64_t ex = b.x - a.x, ey = b.y - a.y;
        const int64_t first = (from * kOne + kOne / 2 - 1 - a.y) * ex;
        int64_t x = a.x + FloorDiv(first, ey), remainder = first - FloorDiv(first, ey) * ey;
        const int64_t step = FloorDiv(kOne * ex, ey), stepRemainder = kOne * ex - step * ey;
        for (int64_t y = from; y < to; ++y) {
            Crossings &row = crossings[static_cast<size_t>(y - top)];
            if (row.count == 2) return false;
            row.x[row.count++] = x;
            x += step;
            remainder += stepRemainder;
            if (remainder >= ey) {
                ++x;
                remainder -= ey;
            }
        }
    }
    rows.reserve(crossings.size());
    for (const Crossings &row : crossings) {
        if (row.count == 1) return false;
        if (row.count == 0) {
            rows.push_back({0, -1});
            continue;
        }
        const int64_t low = std::min(row.x[0], row.x[1]), high = std::max(row.x[0], row.x[1]);
        const int64_t from = std::max(left, FloorDiv(low + kOne / 2 - 1, kOne));
        const int64_t to = std::min(right, FloorDiv(high + kOne / 2 - 1, kOne)) - 1;
        rows.push_back({static_cast<int32_t>(from), static_cast<int32_t>(std::max(to, from - 1))});
    }
    return true;
}
