/*
 * oant.h - annotation layers of the host: a layer holds a style library (colours, line,
 * fill and text styles) and a tree of elements (rectangles, ellipses, polylines,
 * polygons, text and groups) in its own coordinates, y growing upward.
 *
 * Attribute lists. Every ...SetValues call takes, after its fixed arguments, pairs of an
 * attribute code and its values, ended by OANT_END. The values each code takes depend on
 * the call (a code such as 5 means one thing for a line style and another for an
 * element); the list at each call gives them. Numbers marked (double) must be passed as
 * doubles, all other numbers as int32. A code that the call does not know ends the call
 * with a report, as does a missing name where one is required.
 *
 * Ownership. The layer owns its annotation data, every element made on its elements
 * handle (released when the layer closes, whether or not the element ended up in the
 * tree) and every style added to its library. A style that was made but not added
 * belongs to the caller and is released with its ...Free. A map information stored in
 * the annotation data belongs to the layer from then on.
 */
#ifndef VMOD_HOST_OANT_H
#define VMOD_HOST_OANT_H

#include "vmodhost/host_api.h"
#include "oevg.h"
#include "oint.h"
#include "oprj.h"
#include "ovec.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Oant_StyleLibrary Oant_StyleLibrary;
typedef struct Oant_Elements Oant_Elements;
/* An element is a list element (its first fields are next and prev, see ollm.h): the
   members of a group are chained with ollm_Add and the head is given to the group. */
typedef struct Oant_Element Oant_Element;
typedef struct Oant_Color Oant_Color;
typedef struct Oant_LineStyle Oant_LineStyle;
typedef struct Oant_FillStyle Oant_FillStyle;
typedef struct Oant_TextStyle Oant_TextStyle;
typedef struct Oant_CoordSysConversion Oant_CoordSysConversion;

/* What a layer holds; read and set by the caller. */
typedef struct Oant_AnnotationData {
    Oant_StyleLibrary *styleLibrary; /* set by the layer */
    Oant_Elements *elements;         /* set by the layer */
    Oant_Element *rootElement;       /* set by the caller: the element written as the layer */
    Oprj_MapInfo *mapInfo;           /* set by the caller: extent and unit of the layer */
} Oant_AnnotationData;

typedef struct Oant_Layer {
    Oant_AnnotationData *annotationData; /* owned by the layer */
} Oant_Layer;

/* ---- attribute codes ---- */
#define OANT_END 0
#define OANT_NAME 1                 /* name string: colours, styles, elements */
#define OANT_LINE_WIDTH_UNIT 4      /* line style: 3, unit name */
#define OANT_LINE_WIDTH 5           /* line style: 0, width (double), colour id */
#define OANT_SIZE_UNIT 5            /* elements: 3, unit name of sizes */
#define OANT_LINE_PATTERN 6         /* line style: 0, scale (double), pattern (0 solid) */
#define OANT_POSITION_UNIT 6        /* elements: 3, unit name of positions */
#define OANT_ELEMENT_LINE_STYLE 7   /* polylines: line style id */
#define OANT_ELEMENT_FILL_STYLE 8   /* rectangles, ellipses, polygons: fill style id */
#define OANT_ELEMENT_TEXT_STYLE 9   /* text: text style id */
#define OANT_FILL_COLOR 12          /* fill style: filled flag, colour id (-1 none) */
#define OANT_RECT_CENTER 13         /* rectangles: x, y (doubles) */
#define OANT_FILL_OUTLINE 13        /* fill style: outlined flag, line style id (-1 none) */
#define OANT_RECT_SIZE 14           /* rectangles: width, height (doubles) */
#define OANT_TEXT_SIZE_UNIT 14      /* text style: 3, unit name */
#define OANT_TEXT_FONT 15           /* text style: outline-font file name */
#define OANT_ELLIPSE_CENTER 16      /* ellipses: x, y (doubles) */
#define OANT_TEXT_SLANT 16          /* text style: slant (double) */
#define OANT_ELLIPSE_RADII 17       /* ellipses: rx, ry (doubles) */
#define OANT_POLYGON_POINTS 19      /* polygons: 0, Ofga_CoordBlock * */
#define OANT_POLYLINE_POINTS 20     /* polylines: 0, Ofga_CoordBlock * */
#define OANT_TEXT_FILL 20           /* text style: fill style id of the glyphs */
#define OANT_TEXT_UNDERLINE 21      /* text style: underline flag, thickness (double) */
#define OANT_TEXT_UNDERLINE_LINE 22 /* text style: line style id of the underline */
#define OANT_COLOR_RGB 25           /* colours: red, green, blue (0 to 255) */
#define OANT_TEXT_POSITION 26       /* text: x, y (doubles) */
#define OANT_TEXT_SIZE 28           /* text: size (double) in the size unit */
#define OANT_TEXT_ALIGNMENT 29      /* text: horizontal (0 start, 1 centre, 2 end), vertical
                                       (0 centre, 1 top, 2 baseline) */
#define OANT_TEXT_STRING 30         /* text: 0, text */
#define OANT_GROUP_MEMBERS 39       /* groups: first member element (Oant_Element *) */

/* ---- layers ---- */

/* A new, empty layer named name. The layer is written to the file the name gives (the
   name's "(:Annotation)" suffix removed) when it is closed; the file is checked for
   writing at once. Null with *err set when the file cannot be created. a and b are 0. */
OHOST_API Oant_Layer *oant_LayerNew(Oint_Init *init, Oevg_Graphics *graphics, const char *name, int32_t a,
                                    int32_t b, Oerr_ErrorReport **err);
/* Writes the layer's root element to its file and releases the layer and all it owns.
   The file appears whole or not at all: -1 with *err set (and no file) when it cannot be
   written, else 0. A null layer is ignored. */
OHOST_API int32_t oant_LayerClose(Oant_Layer *layer, Oerr_ErrorReport **err);
/* Sets the extent of the layer's elements (a copy of box). */
OHOST_API void oant_SetAntBoundingBox(Oant_Elements *elements, const Ovec_Bbox *box, Oerr_ErrorReport **err);

/* ---- styles ---- */

/* A new colour: OANT_NAME, OANT_COLOR_RGB. Null with *err set on a bad list. */
OHOST_API Oant_Color *oant_ColorSetValues(Oint_Init *init, Oant_StyleLibrary *library, int32_t zero,
                                          Oerr_ErrorReport **err, ...);
/* A new line style: OANT_NAME, OANT_LINE_WIDTH_UNIT, OANT_LINE_WIDTH, OANT_LINE_PATTERN. */
OHOST_API Oant_LineStyle *oant_LineStyleSetValues(Oint_Init *init, Oant_StyleLibrary *library, int32_t zero,
                                                  Oerr_ErrorReport **err, ...);
/* A new fill style: OANT_NAME, OANT_FILL_COLOR, OANT_FILL_OUTLINE. */
OHOST_API Oant_FillStyle *oant_FillStyleSetValues(Oint_Init *init, Oant_StyleLibrary *library, int32_t zero,
                                                  Oerr_ErrorReport **err, ...);
/* A new text style: OANT_NAME (optional), OANT_TEXT_SIZE_UNIT, OANT_TEXT_FONT, OANT_TEXT_SLANT,
   OANT_TEXT_FILL, OANT_TEXT_UNDERLINE, OANT_TEXT_UNDERLINE_LINE. */
OHOST_API Oant_TextStyle *oant_TextStyleSetValues(Oint_Init *init, Oant_StyleLibrary *library, int32_t zero,
                                                  Oerr_ErrorReport **err, ...);

/* Adds a style to library and returns its identifier there, or -1 with *err set. On
   success the library owns the style; on failure the caller still does. With share
   nonzero, a style equal in name and values to one already in the library is released
   and the existing identifier returned. Identifiers count from 0 within each kind. */
OHOST_API int32_t oant_ColorAddToLibrary(Oant_Color *color, Oant_StyleLibrary *library, int32_t share,
                                         Oerr_ErrorReport **err);
OHOST_API int32_t oant_LineStyleAddToLibrary(Oant_LineStyle *style, Oant_StyleLibrary *library, int32_t share,
                                             Oerr_ErrorReport **err);
OHOST_API int32_t oant_FillStyleAddToLibrary(Oant_FillStyle *style, Oant_StyleLibrary *library, int32_t share,
                                             Oerr_ErrorReport **err);
OHOST_API int32_t oant_TextStyleAddToLibrary(Oant_TextStyle *style, Oant_StyleLibrary *library, int32_t share,
                                             Oerr_ErrorReport **err);

/* Release a style that was not added to a library; null is ignored. */
OHOST_API void oant_ColorFree(Oant_Color *color);
OHOST_API void oant_LineStyleFree(Oant_LineStyle *style);
OHOST_API void oant_FillStyleFree(Oant_FillStyle *style);
OHOST_API void oant_TextStyleFree(Oant_TextStyle *style);

/* ---- coordinates ---- */

/* A new conversion of element coordinates: x' = x * scaleX * unitX + offsetX, and the same
   for y, from unit `from` to unit `to`; release with oant_CoordSysConversionFree. */
OHOST_API Oant_CoordSysConversion *oant_CoordSysConversionSetValues(int32_t zero, double scaleX, double scaleY,
                                                                    double unitX, double unitY, double offsetX,
                                                                    double offsetY, const char *from,
                                                                    const char *to, Oerr_ErrorReport **err);
OHOST_API void oant_CoordSysConversionFree(Oant_CoordSysConversion *conversion);

/* ---- elements ----
   Each call makes a new element owned by the layer of `elements` (zero is 0) and returns
   it, or null with *err set. Positions (OANT_POSITION_UNIT) and sizes (OANT_SIZE_UNIT)
   are converted with `conversion`; a coordinate block is copied, so it may be refilled. */

/* OANT_NAME, OANT_SIZE_UNIT, OANT_POSITION_UNIT, OANT_ELEMENT_FILL_STYLE, OANT_RECT_CENTER, OANT_RECT_SIZE. */
OHOST_API Oant_Element *oant_RectangleElementSetValues(Oant_Elements *elements, int32_t zero,
                                                       Oant_CoordSysConversion *conversion,
                                                       Oerr_ErrorReport **err, ...);
/* OANT_NAME, OANT_SIZE_UNIT, OANT_POSITION_UNIT, OANT_ELEMENT_FILL_STYLE, OANT_ELLIPSE_CENTER,
   OANT_ELLIPSE_RADII. */
OHOST_API Oant_Element *oant_EllipseElementSetValues(Oant_Elements *elements, int32_t zero,
                                                     Oant_CoordSysConversion *conversion,
                                                     Oerr_ErrorReport **err, ...);
/* OANT_NAME, OANT_SIZE_UNIT, OANT_POSITION_UNIT, OANT_ELEMENT_LINE_STYLE, OANT_POLYLINE_POINTS. */
OHOST_API Oant_Element *oant_PolylineElementSetValues(Oant_Elements *elements, int32_t zero,
                                                      Oant_CoordSysConversion *conversion,
                                                      Oerr_ErrorReport **err, ...);
/* OANT_NAME, OANT_SIZE_UNIT, OANT_POSITION_UNIT, OANT_ELEMENT_FILL_STYLE, OANT_POLYGON_POINTS. */
OHOST_API Oant_Element *oant_PolygonElementSetValues(Oant_Elements *elements, int32_t zero,
                                                     Oant_CoordSysConversion *conversion,
                                                     Oerr_ErrorReport **err, ...);
/* OANT_NAME, OANT_SIZE_UNIT, OANT_POSITION_UNIT, OANT_ELEMENT_TEXT_STYLE, OANT_TEXT_POSITION,
   OANT_TEXT_SIZE, OANT_TEXT_ALIGNMENT, OANT_TEXT_STRING. */
OHOST_API Oant_Element *oant_TextElementSetValues(Oant_Elements *elements, int32_t zero,
                                                  Oant_CoordSysConversion *conversion,
                                                  Oerr_ErrorReport **err, ...);
/* OANT_NAME, OANT_GROUP_MEMBERS. The group takes the members chained from the head at the
   time of the call. */
OHOST_API Oant_Element *oant_GroupElementSetValues(Oant_Elements *elements, int32_t zero,
                                                   Oant_CoordSysConversion *conversion,
                                                   Oerr_ErrorReport **err, ...);

#ifdef __cplusplus
}
#endif

#endif
