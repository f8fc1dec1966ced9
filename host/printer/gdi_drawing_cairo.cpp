// gdi_drawing_cairo.cpp - printer lines, polylines, arcs and filled polygons on the PDF
// page, stroked with the device's black pen.
#include <algorithm>
#include <cmath>

#include "gdi_cairo.h"

namespace {

// The pen is as wide as the paged PostScript's lines at full scale, whatever the
// resolution: a one-pixel pen would be a hairline at 600 pixels per inch and a blob at 10.
constexpr double kPenInches = 0.01;

void StrokeWithPen(const Ogdi_DeviceContext *dc, cairo_t *cr) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, kPenInches * dc->pixelsPerInch);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
}

// True when no segment of the polyline can show on the page.
bool PointsOutsidePage(const Ogdi_DeviceContext *dc, const Ogdi_Point *points, int32_t count) {
    double left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (int32_t i = 1; i < count; ++i) {
        left = std::min<double>(left, points[i].x);
        right = std::max<double>(right, points[i].x);
        top = std::min<double>(top, points[i].y);
        bottom = std::max<double>(bottom, points[i].y);
    }
    return GdiPdfOutsidePage(dc, left, top, right, bottom);
}

void PathThrough(cairo_t *cr, const Ogdi_Point *points, int32_t count) {
    cairo_new_path(cr);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (int32_t i = 1; i < count; ++i) cairo_line_to(cr, points[i].x, points[i].y);
}

} // namespace

void GdiPdf::Line(Ogdi_DeviceContext *dc, Ogdi_Point from, Ogdi_Point to) {
    if (GdiPdfSegmentOutsidePage(dc, from.x, from.y, to.x, to.y)) return;
    if (cairo_t *cr = GdiPageCairo(dc)) {
        cairo_new_path(cr);
        cairo_move_to(cr, from.x, from.y);
        cairo_line_to(cr, to.x, to.y);
        StrokeWithPen(dc, cr);
    }
}

void GdiPdf::Polyline(Ogdi_DeviceContext *dc, const Ogdi_Point *points, int32_t count) {
    if (PointsOutsidePage(dc, points, count)) return;
    if (cairo_t *cr = GdiPageCairo(dc)) {
        PathThrough(cr, points, count);
        StrokeWithPen(dc, cr);
    }
}

void GdiPdf::Polygon(Ogdi_DeviceContext *dc, const Ogdi_Point *points, int32_t count) {
    if (PointsOutsidePage(dc, points, count)) return;
    if (cairo_t *cr = GdiPageCairo(dc)) {
        PathThrough(cr, points, count);
        cairo_close_path(cr);
        double shade = dc->brush && dc->brush->stockIndex == OGDI_BLACK_BRUSH ? 0.0 : 1.0;
        cairo_set_source_rgb(cr, shade, shade, shade);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill_preserve(cr);
        StrokeWithPen(dc, cr);
    }
}

void GdiPdf::Arc(Ogdi_DeviceContext *dc, int32_t left, int32_t top, int32_t right, int32_t bottom, Ogdi_Point start, Ogdi_Point end) {
    if (GdiPdfOutsidePage(dc, std::min(left, right), std::min(top, bottom), std::max(left, right),
                          std::max(top, bottom)))
        return;
    cairo_t *cr = GdiPageCairo(dc);
    double rx = (static_cast<double>(right) - left) / 2, ry = (static_cast<double>(bottom) - top) / 2;
    if (!cr || rx == 0 || ry == 0) return;
    double cx = (static_cast<double>(left) + right) / 2, cy = (static_cast<double>(top) + bottom) / 2;
    // Angles of the two rays on the unit circle the ellipse is scaled from.
    double a1 = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
    double a2 = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    if (a1 == a2) {
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_close_path(cr);
    } else {
        // With y downward, counter-clockwise on the page is the negative direction.
        cairo_arc_negative(cr, 0, 0, 1, a1, a2);
    }
    cairo_restore(cr);
    StrokeWithPen(dc, cr);
}
