// slanted_segment.h - the pixels Cairo sets when it strokes one slanted segment one pixel
// wide with square caps and no antialiasing, worked out without Cairo. A picture of many
// long arrows spends most of its time in Cairo's general stroking; this covers that one
// case at the cost of its rows.
#ifndef VMODHOST_SLANTED_SEGMENT_H
#define VMODHOST_SLANTED_SEGMENT_H

#include <cstdint>
#include <vector>

// The columns from..to (inclusive) of one row; from > to when the row is empty.
struct SegmentRow {
    int32_t from, to;
};

// Fills rows with the pixels of the stroke from (x1, y1) to (x2, y2) (canvas coordinates
// in pixels, as given to Cairo) on a width by height image: rows[k] is row *firstRow + k.
// The coordinates must lie within a few thousand pixels of the image. False, with rows
// unspecified, for a segment this does not cover: one that is level, upright or of no
// length once Cairo has rounded its ends, or whose outline crosses a row more than
// twice; Cairo is left to draw those.
bool slanted_SegmentRows(double x1, double y1, double x2, double y2, int32_t width, int32_t height,
                         std::vector<SegmentRow> &rows, int32_t *firstRow);

#endif
