// gdi_drawing.cpp - clip regions, lines, polylines, arcs, filled polygons and text on the
// printer: each call is checked and logged (the text of a log line is only made while the
// log is on), then drawn by the printer's back end.
#include <string>

#include "gdi_device.h"

namespace {

std::string Num(int64_t value) { return std::to_string(value); }

std::string PointList(const Ogdi_Point *points, int32_t count) {
    std::string out;
    for (int32_t i = 0; i < count; ++i) {
        if (i) out += ", ";
        out += "(" + Num(points[i].x) + ", " + Num(points[i].y) + ")";
    }
    return out;
}

} // namespace

extern "C" {

int32_t ogdi_SelectClipRgn(Ogdi_DC handle, Ogdi_Region regionHandle) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return OGDI_ERROR;
    if (!regionHandle) {
        if (GdiLogOn()) GdiLog("SelectClipRgn(NULL)");
        dc->clipped = false;
        return OGDI_SIMPLEREGION;
    }
    Ogdi_Object *region = GdiFindObject(regionHandle);
    if (!region || region->deleted || region->kind != Ogdi_Object::Kind::Region) return OGDI_ERROR;
    if (GdiLogOn()) GdiLog("SelectClipRgn(" + region->logName + ")");
    dc->clipped = true;
    dc->clip = region->rect; // a copy: the region may be deleted at once
    const GdiRect &r = dc->clip;
    return r.right > r.left && r.bottom > r.top ? OGDI_SIMPLEREGION : OGDI_NULLREGION;
}

int32_t ogdi_MoveToEx(Ogdi_DC handle, int32_t x, int32_t y, Ogdi_Point *previous) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0;
    if (GdiLogOn()) GdiLog("MoveToEx(" + Num(x) + ", " + Num(y) + ")");
    if (previous) *previous = dc->position;
    dc->position = Ogdi_Point{x, y};
    return 1;
}

int32_t ogdi_LineTo(Ogdi_DC handle, int32_t x, int32_t y) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0;
    if (GdiLogOn()) GdiLog("LineTo(" + Num(x) + ", " + Num(y) + ")");
    dc->backEnd->Line(dc, dc->position, Ogdi_Point{x, y});
    dc->position = Ogdi_Point{x, y};
    return 1;
}

int32_t ogdi_Polyline(Ogdi_DC handle, const Ogdi_Point *points, int32_t count) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !points || count < 2) return 0;
    if (GdiLogOn()) GdiLog("Polyline(" + PointList(points, count) + ")");
    dc->backEnd->Polyline(dc, points, count);
    return 1;
}

int32_t ogdi_Arc(Ogdi_DC handle, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xStart,
                 int32_t yStart, int32_t xEnd, int32_t yEnd) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0;
    if (GdiLogOn()) GdiLog("Arc(" + Num(left) + ", " + Num(top) + ", " + Num(right) + ", " + Num(bottom) + ", " + Num(xStart) + ", " +
           Num(yStart) + ", " + Num(xEnd) + ", " + Num(yEnd) + ")");
    dc->backEnd->Arc(dc, left, top, right, bottom, Ogdi_Point{xStart, yStart}, Ogdi_Point{xEnd, yEnd});
    return 1;
}

int32_t ogdi_Polygon(Ogdi_DC handle, const Ogdi_Point *points, int32_t count) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !points || count < 2) return 0;
    if (GdiLogOn()) GdiLog("Polygon(" + PointList(points, count) + ")");
    dc->backEnd->Polygon(dc, points, count);
    return 1;
}

int32_t ogdi_TextOutA(Ogdi_DC handle, int32_t x, int32_t y, const char *text, int32_t length) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !text || length < 0) return 0;
    if (GdiLogOn()) GdiLog("TextOutA(" + Num(x) + ", " + Num(y) + ", " + GdiLogText(text, length) + ")");
    if (length > 0) dc->backEnd->Text(dc, x, y, text, length);
    return 1;
}

} // extern "C"
