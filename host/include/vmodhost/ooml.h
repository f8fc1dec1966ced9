/* ooml.h - the user-interface host: frame parts, menu items, file choosers and the canvas.
   Every call that takes err stores a report there on failure. */
#ifndef VMOD_HOST_OOML_H
#define VMOD_HOST_OOML_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- frame parts and menus ---- */
/* The frame's part named name, or null (with *err set). Owned by the frame. */
OHOST_API Ooml_Part *ooml_FrameFindPart(Ooml_Frame *frame, const char *name, Oerr_ErrorReport **err);
OHOST_API void ooml_PartEnable(Ooml_Part *part, Oerr_ErrorReport **err);
OHOST_API void ooml_PartDisable(Ooml_Part *part, Oerr_ErrorReport **err);
OHOST_API void ooml_MenuItemEnable(Ooml_Menu *menu, const char *item, Oerr_ErrorReport **err);
OHOST_API void ooml_MenuItemDisable(Ooml_Menu *menu, const char *item, Oerr_ErrorReport **err);

/* ---- file choosers ---- */
OHOST_API void ooml_PartTitleSet(Ooml_Part *part, const char *title);
/* Shows the chooser over frame; nonzero when a name was confirmed, 0 when cancelled. */
OHOST_API int32_t ooml_FileNameListQuery(Ooml_Part *part, Ooml_Frame *frame, Oerr_ErrorReport **err);
/* The text of the part's current value (the chosen name); owned by the part, valid until
   its value changes. Never null. */
OHOST_API const char *ooml_PartValueText(Ooml_Part *part);
OHOST_API void ooml_FileNameListTypeDefsClear(Ooml_Part *part, Oerr_ErrorReport **err);
OHOST_API void ooml_FileNameListTypeDefAdd(Ooml_Part *part, const char *type, int32_t zero, Oerr_ErrorReport **err);
OHOST_API void ooml_FileNameListTypeDefAddEx(Ooml_Part *part, const char *type, int32_t zero, int32_t a,
                                             int32_t b, int32_t c, Oerr_ErrorReport **err);
OHOST_API void ooml_FileNameListTemplateSet(Ooml_Part *part, const char *pattern, Oerr_ErrorReport **err);
/* A member of kind 2 (text) holding *value, or null for another kind or a null text. The
   member takes the heap string *value and sets *value to null, so a caller that frees its
   string afterwards frees nothing. */
OHOST_API Ooci_Member *ooci_NewMember(int32_t kind, void *value);
/* A set of kind 2 holding member (null for another kind or a null member); the set takes
   ownership of member in every case. */
OHOST_API Ooci_Set *ooci_NewSet(int32_t kind, Ooci_Member *member);
/* Gives set to part as its value; the part takes ownership of set, also when it fails. */
OHOST_API void ooml_SetValue(Ooml_Part *part, Ooci_Set *set, Oerr_ErrorReport **err);

/* ---- canvas (coordinates in int32 pixels, colours 0xRRGGBB) ---- */
OHOST_API void ooml_CanvasContextSetForeground(Ooml_Canvas *canvas, uint32_t colour, Oerr_ErrorReport **err);
/* 1 plain copy, 3 exclusive-or. */
OHOST_API void ooml_CanvasContextSetDrawMode(Ooml_Canvas *canvas, int32_t mode, Oerr_ErrorReport **err);
OHOST_API void ooml_CanvasContextSetFont(Ooml_Canvas *canvas, const char *name, Oerr_ErrorReport **err);
/* A new font specification (release with ooml_CanvasFontSpecFree); style bits 1 bold, 2 italics. */
OHOST_API Ooml_FontSpec *ooml_CanvasFontSpecCreate(const char *name, int32_t style, double size,
                                                  Oerr_ErrorReport **err);
/* Sets *err when the font described by spec cannot be used. */
OHOST_API void ooml_CanvasContextSetFontSpec(Ooml_Canvas *canvas, Ooml_FontSpec *spec, Oerr_ErrorReport **err);
OHOST_API void ooml_CanvasFontSpecFree(Ooml_FontSpec *spec);
/* 1 centres text horizontally on its x. */
OHOST_API void ooml_CanvasContextSetJustification(Ooml_Canvas *canvas, int32_t justification,
                                                  Oerr_ErrorReport **err);
OHOST_API void ooml_CanvasContextGetStringExtents(Ooml_Canvas *canvas, const char *text, int32_t *x1,
                                                  int32_t *x2, int32_t *y1, int32_t *y2, Oerr_ErrorReport **err);
OHOST_API void ooml_CanvasFillRectangle(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t left, int32_t top,
                                        int32_t width, int32_t height, Oerr_ErrorReport **err);
OHOST_API void ooml_CanvasDrawRectangle(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t left, int32_t top,
                                        int32_t width, int32_t height, Oerr_ErrorReport **err);
OHOST_API void ooml_CanvasDrawLine(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t x1, int32_t y1, int32_t x2,
                                   int32_t y2, Oerr_ErrorReport **err);
/* Ellipse arc in the rectangle; angles in 1/64 degree. */
OHOST_API void ooml_CanvasDrawArc(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t left, int32_t top,
                                  int32_t width, int32_t height, int32_t start, int32_t extent,
                                  Oerr_ErrorReport **err);
/* Open polyline through count (x, y) pairs of points. */
OHOST_API void ooml_CanvasDrawPolyline(Ooml_Canvas *canvas, int32_t a, int32_t b, const int32_t *points,
                                       int32_t count, Oerr_ErrorReport **err);
/* Text in the current font and justification, extending upward from y. */
OHOST_API void ooml_CanvasDrawText(Ooml_Canvas *canvas, const char *text, int32_t x, int32_t y,
                                   Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
