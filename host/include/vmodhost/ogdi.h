/* ogdi.h - the printer's device-context operations (the Windows GDI calls the printer
   output makes, each under the ogdi_ prefix; the library's printer code keeps the
   unprefixed spelling to itself), and ooml_LpGetItems, which hands out the current
   printer.

   Handles: a device context (Ogdi_DC) belongs to whoever made it (the front end configures
   printers through vmodhost_printer.h). Fonts and regions made here belong to the caller
   and are released with ogdi_DeleteObject; stock objects are never released. Deleting an
   object that is still selected into a device context is allowed: it goes away when it
   is deselected or its device context is released. Every handle is checked, so a stale
   or foreign handle makes the call fail instead of touching memory.

   Coordinates are int32 device pixels, x to the right and y downward from the top left
   corner of the paper as it lies in the printer. */
#ifndef VMOD_HOST_OGDI_H
#define VMOD_HOST_OGDI_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Ogdi_DeviceContext *Ogdi_DC;
typedef struct Ogdi_Object *Ogdi_Obj;
typedef Ogdi_Obj Ogdi_Font;
typedef Ogdi_Obj Ogdi_Region;
typedef Ogdi_Obj Ogdi_Brush;

typedef struct Ogdi_Point {
    int32_t x;
    int32_t y;
} Ogdi_Point;

/* The document description given to ogdi_StartDocA. */
typedef struct Ogdi_DocInfo {
    int32_t cbSize;
    const char *lpszDocName;  /* the document's title */
    const char *lpszOutput;   /* a file to print into instead of the printer's own, or null */
    const char *lpszDatatype; /* unused */
    uint32_t fwType;          /* unused */
} Ogdi_DocInfo;

/* ogdi_GetDeviceCaps indexes */
#define OGDI_HORZRES 8     /* printable width, pixels */
#define OGDI_VERTRES 10    /* printable height, pixels */
#define OGDI_LOGPIXELSX 88 /* pixels per inch across */
#define OGDI_LOGPIXELSY 90 /* pixels per inch down */

/* ogdi_SetTextAlign flags: horizontal (left, right, centre) and vertical (top, baseline)
   reference */
#define OGDI_TA_LEFT 0
#define OGDI_TA_TOP 0
#define OGDI_TA_RIGHT 2
#define OGDI_TA_CENTER 6
#define OGDI_TA_BASELINE 24

/* ogdi_SetBkMode */
#define OGDI_TRANSPARENT 1
#define OGDI_OPAQUE 2

/* ogdi_GetStockObject */
#define OGDI_WHITE_BRUSH 0
#define OGDI_BLACK_BRUSH 4
#define OGDI_DEVICE_DEFAULT_FONT 14

/* ogdi_CreateFontA settings the printer output uses */
#define OGDI_FW_NORMAL 400
#define OGDI_FW_BOLD 700
#define OGDI_ANSI_CHARSET 0
#define OGDI_OUT_TT_PRECIS 4
#define OGDI_CLIP_DEFAULT_PRECIS 0
#define OGDI_PROOF_QUALITY 2
#define OGDI_FF_ROMAN 0x10
#define OGDI_FF_SWISS 0x20
#define OGDI_FF_MODERN 0x30
#define OGDI_FF_DECORATIVE 0x50

/* ogdi_SelectClipRgn results */
#define OGDI_ERROR 0
#define OGDI_NULLREGION 1
#define OGDI_SIMPLEREGION 2

/* The item code of ooml_LpGetItems that asks for the current printer. */
#define OOML_LP_PRINTER_DC 7

/* Stores the current printer's device context in *(Ogdi_DC *)value for item
   OOML_LP_PRINTER_DC, null when no printer is selected. request is the address of an
   int32 holding 0; last must be null. Other items store nothing. */
OHOST_API void ooml_LpGetItems(int32_t *request, int32_t item, void *value, void *last);

/* 0 for an unknown index or device context. */
OHOST_API int32_t ogdi_GetDeviceCaps(Ogdi_DC dc, int32_t index);
/* Returns the previous alignment, or -1 (GDI_ERROR) for a bad device context. */
OHOST_API uint32_t ogdi_SetTextAlign(Ogdi_DC dc, uint32_t align);
/* Returns the previous mode, 0 on failure. */
OHOST_API int32_t ogdi_SetBkMode(Ogdi_DC dc, int32_t mode);

/* A new font; height < 0 gives the character height in pixels, > 0 the cell height, 0 a
   default. Faces resolve through the system's font configuration. Null on failure. */
OHOST_API Ogdi_Font ogdi_CreateFontA(int32_t height, int32_t width, int32_t escapement, int32_t orientation,
                                     int32_t weight, uint32_t italic, uint32_t underline, uint32_t strikeOut,
                                     uint32_t charSet, uint32_t outPrecision, uint32_t clipPrecision,
                                     uint32_t quality, uint32_t pitchAndFamily, const char *face);
/* Selects a font or brush (returns the one it replaces) or a region (sets the clip and
   returns the region kind); null on failure. */
OHOST_API Ogdi_Obj ogdi_SelectObject(Ogdi_DC dc, Ogdi_Obj object);
/* Nonzero when the object was released (or will be, once deselected); stock objects are
   accepted and kept. */
OHOST_API int32_t ogdi_DeleteObject(Ogdi_Obj object);
/* A stock object (OGDI_WHITE_BRUSH, OGDI_BLACK_BRUSH, OGDI_DEVICE_DEFAULT_FONT); null for
   other indexes. */
OHOST_API Ogdi_Obj ogdi_GetStockObject(int32_t index);

/* Starts a document; > 0 on success. The title is the document name. */
OHOST_API int32_t ogdi_StartDocA(Ogdi_DC dc, const Ogdi_DocInfo *info);
/* Each ogdi_StartPage/ogdi_EndPage pair is one page; > 0 on success. */
OHOST_API int32_t ogdi_StartPage(Ogdi_DC dc);
OHOST_API int32_t ogdi_EndPage(Ogdi_DC dc);
/* Finishes the document and writes it out; > 0 on success. */
OHOST_API int32_t ogdi_EndDoc(Ogdi_DC dc);

/* A rectangular region: left and top inside, right and bottom just outside. */
OHOST_API Ogdi_Region ogdi_CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom);
/* Clips drawing to a copy of the region (null: no clip); the region stays the caller's. */
OHOST_API int32_t ogdi_SelectClipRgn(Ogdi_DC dc, Ogdi_Region region);

/* Moves the current position; the previous one goes to *previous when it is not null. */
OHOST_API int32_t ogdi_MoveToEx(Ogdi_DC dc, int32_t x, int32_t y, Ogdi_Point *previous);
/* A line from the current position to (x, y), which becomes the current position. */
OHOST_API int32_t ogdi_LineTo(Ogdi_DC dc, int32_t x, int32_t y);
/* Connected lines through count points (count >= 2). */
OHOST_API int32_t ogdi_Polyline(Ogdi_DC dc, const Ogdi_Point *points, int32_t count);
/* The counter-clockwise arc of the ellipse inscribed in the rectangle, from the ray
   towards (xStart, yStart) to the ray towards (xEnd, yEnd); equal rays give the full
   ellipse. */
OHOST_API int32_t ogdi_Arc(Ogdi_DC dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int32_t xStart, int32_t yStart, int32_t xEnd, int32_t yEnd);
/* A closed polygon filled with the selected brush and outlined (count >= 2). */
OHOST_API int32_t ogdi_Polygon(Ogdi_DC dc, const Ogdi_Point *points, int32_t count);
/* length bytes of text (Windows-1252) in the selected font at (x, y), placed by the text
   alignment. */
OHOST_API int32_t ogdi_TextOutA(Ogdi_DC dc, int32_t x, int32_t y, const char *text, int32_t length);

#ifdef __cplusplus
}
#endif

#endif
