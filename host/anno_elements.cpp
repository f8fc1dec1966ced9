// Elements of an annotation layer: rectangles, ellipses, polylines, polygons, text and
// groups, and the coordinate conversion their positions pass through.
#include <cmath>
#include <new>

#include "anno_internal.h"

using namespace anno;

namespace {

const AttrSpec nameSpec{OANT_NAME, "s"};
const AttrSpec sizeUnitSpec{OANT_SIZE_UNIT, "is"};
const AttrSpec positionUnitSpec{OANT_POSITION_UNIT, "is"};

// Reads an element's list and makes the element in `elements`; `apply` takes each
// attribute that is not common to every element.
template <typename Apply>
Oant_Element *makeElement(const char *call, ElementKind kind, Oant_Elements *elements, int32_t zero,
                          Oant_CoordSysConversion *conversion, Oerr_ErrorReport **err, va_list args,
                          std::vector<AttrSpec> specs, Apply apply) {
    specs.push_back(nameSpec);
    if (kind != ElementKind::Group) {
        specs.push_back(sizeUnitSpec);
        specs.push_back(positionUnitSpec);
    }
    std::vector<Attr> attrs;
    int bad = 0;
    bool read = readAttributes(args, specs, elements, attrs, &bad);
    std::string failure;
    if (!read)
        failure = "unknown attribute code " + std::to_string(bad);
    else if (!elements)
        failure = "no elements";
    else if (failNow(call))
        failure = "the element cannot be made";
    Oant_Element *element = nullptr;
    if (failure.empty()) {
        try {
            auto made = std::make_unique<Oant_Element>();
            made->data = new ElementData();
            ElementData &d = *made->data;
            d.kind = kind;
            for (const Attr &a : attrs) {
                if (a.code == OANT_NAME)
                    d.name = a.values[0].s;
                else if (kind != ElementKind::Group && a.code == OANT_SIZE_UNIT)
                    d.sizeUnit = a.values[1].s;
                else if (kind != ElementKind::Group && a.code == OANT_POSITION_UNIT)
                    d.positionUnit = a.values[1].s;
                else
                    apply(d, a);
            }
            if (conversion) {
                const Oant_CoordSysConversion &c = *conversion;
                d.x = d.x * c.scaleX * c.unitX + c.offsetX;
                d.y = d.y * c.scaleY * c.unitY + c.offsetY;
                d.w *= c.scaleX * c.unitX;
                d.h *= c.scaleY * c.unitY;
                for (auto &p : d.points)
                    p = {p.first * c.scaleX * c.unitX + c.offsetX, p.second * c.scaleY * c.unitY + c.offsetY};
            }
            element = made.get();
            elements->known.insert(element);
            elements->all.push_back(std::move(made));
        } catch (const std::bad_alloc &) {
            if (element)
                elements->known.erase(element);
            element = nullptr;
            failure = "out of memory";
        }
    }
    if (!failure.empty())
        setError(err, call, 1, std::string(call) + ": " + failure);
    if (recording())
        record(std::string(call) + "(" + handleName(elements, "elements") + ", " + std::to_string(zero) + ", " +
               handleName(conversion, "conversion") + ", " + reportName(err) + formatAttributes(attrs) + ") -> " +
               freshName(element, "element"));
    return element;
}

int intValue(const Attr &a, size_t k) { return static_cast<int>(a.values[k].i); }

} // namespace

extern "C" {

OHOST_API Oant_CoordSysConversion *oant_CoordSysConversionSetValues(int32_t zero, double scaleX, double scaleY,
                                                                    double unitX, double unitY, double offsetX,
                                                                    double offsetY, const char *from,
                                                                    const char *to, Oerr_ErrorReport **err) {
    Oant_CoordSysConversion *c = nullptr;
    if (!from || !to || !std::isfinite(scaleX * scaleY * unitX * unitY * offsetX * offsetY))
        setError(err, "oant_CoordSysConversionSetValues", 1, "oant_CoordSysConversionSetValues: bad conversion");
    else if (failNow("oant_CoordSysConversionSetValues"))
        setError(err, "oant_CoordSysConversionSetValues", 2, "oant_CoordSysConversionSetValues: cannot be made");
    else if ((c = new (std::nothrow) Oant_CoordSysConversion()) != nullptr)
        *c = {scaleX, scaleY, unitX, unitY, offsetX, offsetY, from, to};
    if (recording())
        record("oant_CoordSysConversionSetValues(" + std::to_string(zero) + ", " + formatDouble(scaleX) + ", " +
               formatDouble(scaleY) + ", " + formatDouble(unitX) + ", " + formatDouble(unitY) + ", " +
               formatDouble(offsetX) + ", " + formatDouble(offsetY) + ", " + quoted(from) + ", " + quoted(to) +
               ", " + reportName(err) + ") -> " + freshName(c, "conversion"));
    return c;
}

OHOST_API void oant_CoordSysConversionFree(Oant_CoordSysConversion *conversion) {
    if (recording())
        record("oant_CoordSysConversionFree(" + handleName(conversion, "conversion") + ")");
    forgetHandle(conversion);
    delete conversion;
}

OHOST_API Oant_Element *oant_RectangleElementSetValues(Oant_Elements *elements, int32_t zero,
                                                       Oant_CoordSysConversion *conversion,
                                                       Oerr_ErrorReport **err, ...) {
    va_list args;
    va_start(args, err);
    Oant_Element *e = makeElement(
        "oant_RectangleElementSetValues", ElementKind::Rectangle, elements, zero, conversion, err, args,
        {{OANT_ELEMENT_FILL_STYLE, "i"}, {OANT_RECT_CENTER, "dd"}, {OANT_RECT_SIZE, "dd"}},
        [](ElementData &d, const Attr &a) {
            if (a.code == OANT_ELEMENT_FILL_STYLE) {
                d.style = intValue(a, 0);
            } else if (a.code == OANT_RECT_CENTER) {
                d.x = a.values[0].d;
                d.y = a.values[1].d;
            } else {
                d.w = a.values[0].d;
                d.h = a.values[1].d;
            }
        });
    va_end(args);
    return e;
}

OHOST_API Oant_Element *oant_EllipseElementSetValues(Oant_Elements *elements, int32_t zero,
                                                     Oant_CoordSysConversion *conversion,
                                                     Oerr_ErrorReport **err, ...) {
    va_list args;
    va_start(args, err);
    Oant_Element *e = makeElement(
        "oant_EllipseElementSetValues", ElementKind::Ellipse, elements, zero, conversion, err, args,
        {{OANT_ELEMENT_FILL_STYLE, "i"}, {OANT_ELLIPSE_CENTER, "dd"}, {OANT_ELLIPSE_RADII, "dd"}},
        [](ElementData &d, const Attr &a) {
            if (a.code == OANT_ELEMENT_FILL_STYLE) {
                d.style = intValue(a, 0);
            } else if (a.code == OANT_ELLIPSE_CENTER) {
                d.x = a.values[0].d;
                d.y = a.values[1].d;
            } else {
                d.w = a.values[0].d;
                d.h = a.values[1].d;
            }
        });
    va_end(args);
    return e;
}

OHOST_API Oant_Element *oant_PolylineElementSetValues(Oant_Elements *elements, int32_t zero,
                                                      Oant_CoordSysConversion *conversion,
                                                      Oerr_ErrorReport **err, ...) {
    va_list args;
    va_start(args, err);
    Oant_Element *e = makeElement("oant_PolylineElementSetValues", ElementKind::Polyline, elements, zero,
                                  conversion, err, args, {{OANT_ELEMENT_LINE_STYLE, "i"}, {OANT_POLYLINE_POINTS, "ib"}},
                                  [](ElementData &d, const Attr &a) {
                                      if (a.code == OANT_ELEMENT_LINE_STYLE)
                                          d.style = intValue(a, 0);
                                      else
                                          d.points = a.values[1].points;
                                  });
    va_end(args);
    return e;
}

OHOST_API Oant_Element *oant_PolygonElementSetValues(Oant_Elements *elements, int32_t zero,
                                                     Oant_CoordSysConversion *conversion,
                                                     Oerr_ErrorReport **err, ...) {
    va_list args;
    va_start(args, err);
    Oant_Element *e = makeElement("oant_PolygonElementSetValues", ElementKind::Polygon, elements, zero,
                                  conversion, err, args, {{OANT_ELEMENT_FILL_STYLE, "i"}, {OANT_POLYGON_POINTS, "ib"}},
                                  [](ElementData &d, const Attr &a) {
                                      if (a.code == OANT_ELEMENT_FILL_STYLE)
                                          d.style = intValue(a, 0);
                                      else
                                          d.points = a.values[1].points;
                                  });
    va_end(args);
    return e;
}

OHOST_API Oant_Element *oant_TextElementSetValues(Oant_Elements *elements, int32_t zero,
                                                  Oant_CoordSysConversion *conversion,
                                                  Oerr_ErrorReport **err, ...) {
    va_list args;
    va_start(args, err);
    Oant_Element *e = makeElement("oant_TextElementSetValues", ElementKind::Text, elements, zero, conversion, err,
                                  args,
                                  {{OANT_ELEMENT_TEXT_STYLE, "i"},
                                   {OANT_TEXT_POSITION, "dd"},
                                   {OANT_TEXT_SIZE, "d"},
                                   {OANT_TEXT_ALIGNMENT, "ii"},
                                   {OANT_TEXT_STRING, "is"}},
                                  [](ElementData &d, const Attr &a) {
                                      switch (a.code) {
                                      case OANT_ELEMENT_TEXT_STYLE:
                                          d.style = intValue(a, 0);
                                          break;
                                      case OANT_TEXT_POSITION:
                                          d.x = a.values[0].d;
                                          d.y = a.values[1].d;
                                          break;
                                      case OANT_TEXT_SIZE:
                                          d.size = a.values[0].d;
                                          break;
                                      case OANT_TEXT_ALIGNMENT:
                                          d.halign = intValue(a, 0);
                                          d.valign = intValue(a, 1);
                                          break;
                                      default:
                                          d.text = a.values[1].s;
                                          break;
                                      }
                                  });
    va_end(args);
    return e;
}

OHOST_API Oant_Element *oant_GroupElementSetValues(Oant_Elements *elements, int32_t zero,
                                                   Oant_CoordSysConversion *conversion,
                                                   Oerr_ErrorReport **err, ...) {
    va_list args;
    va_start(args, err);
    Oant_Element *e = makeElement("oant_GroupElementSetValues", ElementKind::Group, elements, zero, conversion,
                                  err, args, {{OANT_GROUP_MEMBERS, "e"}},
                                  [](ElementData &d, const Attr &a) { d.members = a.values[0].members; });
    va_end(args);
    return e;
}

OHOST_API void oant_SetAntBoundingBox(Oant_Elements *elements, const Ovec_Bbox *box, Oerr_ErrorReport **err) {
    std::string shown = box ? "[" + formatDouble(box->xmin) + ", " + formatDouble(box->ymin) + ", " +
                                  formatDouble(box->xmax) + ", " + formatDouble(box->ymax) + "]"
                            : "";
    if (!elements || !box)
        setError(err, "oant_SetAntBoundingBox", 1, "oant_SetAntBoundingBox: no elements or no box");
    else if (failNow("oant_SetAntBoundingBox"))
        setError(err, "oant_SetAntBoundingBox", 2, "oant_SetAntBoundingBox: cannot be set");
    else {
        elements->box = *box;
        elements->hasBox = true;
    }
    if (recording())
        record("oant_SetAntBoundingBox(" + handleName(elements, "elements") + ", " + handleName(box, "bbox") + " " +
               shown + ", " + reportName(err) + ")");
}
}
