// gdi_drawing.cpp - clip regions, lines, polylines, arcs and filled polygons on the
// printer, stroked with the device's one-pixel black pen.
#include <cmath>
#include <string>

#include "gdi_device.h"

namespace {

std::string Num(int64_t value) { return std::to_string(value); }

std::string PointList(const POINT *points, int32_t count) {
    std::string out;
    for (int32_t i = 0; i < count; ++i) {
        if (i) out += ", ";
        out += "(" + Num(points[i].x) + ", " + Num(points[i].y) + ")";
    }
    return out;
}

void StrokeWithPen(cairo_t *cr) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
}

void PathThrough(cairo_t *cr, const POINT *points, int32_t count) {
    cairo_new_path(cr);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (int32_t i = 1; i < count; ++i) cairo_line_to(cr, points[i].x, points[i].y);
}

} // namespace

extern "C" {

int32_t SelectClipRgn(HDC handle, HRGN regionHandle) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return OGDI_ERROR;
    if (!regionHandle) {
        GdiLog("SelectClipRgn(NULL)");
        dc->clipped = false;
        return SIMPLEREGION;
    }
    Ogdi_Object *region = GdiFindObject(regionHandle);
    if (!region || region->deleted || region->kind != Ogdi_Object::Kind::Region) return OGDI_ERROR;
    GdiLog("SelectClipRgn(" + region->logName + ")");
    dc->clipped = true;
    dc->clip = region->rect; // a copy: the region may be deleted at once
    const GdiRect &r = dc->clip;
    return r.right > r.left && r.bottom > r.top ? SIMPLEREGION : NULLREGION;
}

int32_t MoveToEx(HDC handle, int32_t x, int32_t y, POINT *previous) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0;
    GdiLog("MoveToEx(" + Num(x) + ", " + Num(y) + ")");
    if (previous) *previous = dc->position;
    dc->position = POINT{x, y};
    return 1;
}

int32_t LineTo(HDC handle, int32_t x, int32_t y) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0;
    GdiLog("LineTo(" + Num(x) + ", " + Num(y) + ")");
    if (cairo_t *cr = GdiPageCairo(dc)) {
        cairo_new_path(cr);
        cairo_move_to(cr, dc->position.x, dc->position.y);
        cairo_line_to(cr, x, y);
        StrokeWithPen(cr);
    }
    dc->position = POINT{x, y};
    return 1;
}

int32_t Polyline(HDC handle, const POINT *points, int32_t count) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !points || count < 2) return 0;
    GdiLog("Polyline(" + PointList(points, count) + ")");
    if (cairo_t *cr = GdiPageCairo(dc)) {
        PathThrough(cr, points, count);
        StrokeWithPen(cr);
    }
    return 1;
}

int32_t Arc(HDC handle, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xStart, int32_t yStart,
            int32_t xEnd, int32_t yEnd) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0;
    GdiLog("Arc(" + Num(left) + ", " + Num(top) + ", " + Num(right) + ", " + Num(bottom) + ", " + Num(xStart) + ", " +
           Num(yStart) + ", " + Num(xEnd) + ", " + Num(yEnd) + ")");
    cairo_t *cr = GdiPageCairo(dc);
    double rx = (static_cast<double>(right) - left) / 2, ry = (static_cast<double>(bottom) - top) / 2;
    if (!cr || rx == 0 || ry == 0) return 1;
    double cx = (static_cast<double>(left) + right) / 2, cy = (static_cast<double>(top) + bottom) / 2;
    // Angles of the two rays on the unit circle the ellipse is scaled from.
    double a1 = std::atan2((yStart - cy) / ry, (xStart - cx) / rx);
    double a2 = std::atan2((yEnd - cy) / ry, (xEnd - cx) / rx);
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
    StrokeWithPen(cr);
    return 1;
}

int32_t Polygon(HDC handle, const POINT *points, int32_t count) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !points || count < 2) return 0;
    GdiLog("Polygon(" + PointList(points, count) + ")");
    if (cairo_t *cr = GdiPageCairo(dc)) {
        PathThrough(cr, points, count);
        cairo_close_path(cr);
        double shade = dc->brush && dc->brush->stockIndex == BLACK_BRUSH ? 0.0 : 1.0;
        cairo_set_source_rgb(cr, shade, shade, shade);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill_preserve(cr);
        StrokeWithPen(cr);
    }
    return 1;
}

} // extern "C"
