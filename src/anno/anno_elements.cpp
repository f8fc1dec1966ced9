// The element calls of the annotation export. Every element states its units: sizes and
// positions in inches, text sizes in points.
#include "anno/anno_layer.h"

#include "vmodhost/ollm.h"

namespace vmod::anno {

namespace {

const int32_t kUnitGiven = 3; // the unit is named by the string that follows

// A coordinate block holding the points, or null when the block cannot be made.
Ofga_CoordBlock *MakeBlock(const LayerPoint *points, int32_t count) {
    Oerr_ErrorReport *report = nullptr;
    Ofga_CoordBlock *block = ofga_BaseCoordBlockCreate(2, count, 1, 10, &report);
    DiscardReport(&report);
    if (block == nullptr)
        return nullptr;
    for (int32_t i = 0; i < count; ++i) {
        block->coords[i * block->dimensions] = points[i].x;
        block->coords[i * block->dimensions + 1] = points[i].y;
    }
    return block;
}

} // namespace

void Members::Append(Oant_Element *element) {
    if (element == nullptr)
        return;
    if (head == nullptr)
        head = element;
    else
        ollm_Add(tail, OLLM_APPEND, element); // the end of the list that starts at head
    tail = element;
}

void DiscardReport(Oerr_ErrorReport **report) {
    if (*report != nullptr)
        oerr_DeleteErrorReportEx(report);
}

namespace {

using ElementMaker = Oant_Element *(*)(Oant_Elements *, int32_t, Oant_CoordSysConversion *, Oerr_ErrorReport **,
                                       ...);

// A rectangle or ellipse: the same list but for its centre and size codes.
Oant_Element *AddBox(const Export &ex, ElementMaker make, const char *name, int32_t fillStyle, int32_t centreCode,
                     double cx, double cy, int32_t sizeCode, double a, double b) {
    Oerr_ErrorReport *report = nullptr;
    Oant_Element *element =
        make(ex.elements, 0, ex.conversion, &report, OANT_NAME, name, OANT_SIZE_UNIT, kUnitGiven, "inches",
             OANT_POSITION_UNIT, kUnitGiven, "inches", OANT_ELEMENT_FILL_STYLE, fillStyle, centreCode, cx, cy,
             sizeCode, a, b, OANT_END);
    DiscardReport(&report);
    return element;
}

} // namespace

Oant_Element *AddRectangle(const Export &ex, const char *name, int32_t fillStyle, double cx, double cy, double w,
                           double h) {
    return AddBox(ex, oant_RectangleElementSetValues, name, fillStyle, OANT_RECT_CENTER, cx, cy, OANT_RECT_SIZE, w, h);
}

Oant_Element *AddEllipse(const Export &ex, const char *name, int32_t fillStyle, double cx, double cy, double rx,
                         double ry) {
    return AddBox(ex, oant_EllipseElementSetValues, name, fillStyle, OANT_ELLIPSE_CENTER, cx, cy, OANT_ELLIPSE_RADII,
                  rx, ry);
}

namespace {

// A polyline or polygon: the same list but for its style and points codes.
Oant_Element *AddPoints(const Export &ex, ElementMaker make, const char *name, int32_t styleCode, int32_t style,
                        int32_t pointsCode, const LayerPoint *points, int32_t count) {
    Ofga_CoordBlock *block = MakeBlock(points, count);
    Oerr_ErrorReport *report = nullptr;
    Oant_Element *element =
        make(ex.elements, 0, ex.conversion, &report, OANT_NAME, name, OANT_SIZE_UNIT, kUnitGiven, "inches",
             OANT_POSITION_UNIT, kUnitGiven, "inches", styleCode, style, pointsCode, 0, block, OANT_END);
    DiscardReport(&report);
    ofga_CoordBlockDelete(block);
    return element;
}

} // namespace

Oant_Element *AddPolyline(const Export &ex, const char *name, int32_t lineStyle, const LayerPoint *points,
                          int32_t count) {
    return AddPoints(ex, oant_PolylineElementSetValues, name, OANT_ELEMENT_LINE_STYLE, lineStyle,
                     OANT_POLYLINE_POINTS, points, count);
}

Oant_Element *AddPolygon(const Export &ex, const char *name, int32_t fillStyle, const LayerPoint *points,
                         int32_t count) {
    return AddPoints(ex, oant_PolygonElementSetValues, name, OANT_ELEMENT_FILL_STYLE, fillStyle, OANT_POLYGON_POINTS,
                     points, count);
}

Oant_Element *AddText(const Export &ex, int32_t textStyle, double x, double y, double size, int32_t horizontal,
                      int32_t vertical, const char *text) {
    Oerr_ErrorReport *report = nullptr;
    Oant_Element *element = oant_TextElementSetValues(
        ex.elements, 0, ex.conversion, &report, OANT_NAME, "label", OANT_SIZE_UNIT, kUnitGiven, "points",
        OANT_POSITION_UNIT, kUnitGiven, "inches", OANT_ELEMENT_TEXT_STYLE, textStyle, OANT_TEXT_POSITION, x, y,
        OANT_TEXT_SIZE, size, OANT_TEXT_ALIGNMENT, horizontal, vertical, OANT_TEXT_STRING, 0, text, OANT_END);
    DiscardReport(&report);
    return element;
}

Oant_Element *AddGroup(const Export &ex, const char *name, const Members &members) {
    Oerr_ErrorReport *report = nullptr;
    Oant_Element *element = oant_GroupElementSetValues(ex.elements, 0, ex.conversion, &report, OANT_NAME, name,
                                                       OANT_GROUP_MEMBERS, members.head, OANT_END);
    DiscardReport(&report);
    return element;
}

} // namespace vmod::anno
