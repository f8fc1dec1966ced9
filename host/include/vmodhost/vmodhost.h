/*
 * vmodhost.h - how a front end, a test or the vmod tool configures the host layers that
 * the model library calls (heap, files, error reports, preferences, frame parts, menus,
 * file choosers and canvases).
 *
 * Ownership: every object made by a vmodhost_...Create function belongs to the caller
 * and is released with the matching ...Delete. Strings returned as `const char *` stay
 * owned by the object they were read from; strings returned as `char *` are new heap
 * strings (release with omsc_HeapFree).
 */
#ifndef VMODHOST_H
#define VMODHOST_H

#include <stddef.h>
#include <stdint.h>

#include "vmodhost/vmodhost_handles.h"

#if defined(__GNUC__)
#define VMODHOST_API __attribute__((visibility("default")))
#else
#define VMODHOST_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- error reports ----
   One rule for every host and vmod_ function that takes `err` (the address of
   the caller's report handle, which holds null or a report): a call never drops what *err
   holds. A call that fails stores its new report in *err with the report that was there
   chained at the end, as the last cause; a call that succeeds leaves *err as it was.
   So one variable can serve a whole sequence of calls and be released once, with
   oerr_DeleteErrorReportEx, when the front end has shown it; a front end that wants to
   know whether one call failed releases (or starts from) a null handle before it. A null
   err is allowed where a function's comment says so, and then no report is kept. */

/* Where oerr_PrintErrorReport sends the text of a report chain. A null sink restores the
   default, standard error.
   The library shows a failure that concerns a file (vmod_ModelWrite, vmod_ModelRead,
   vmod_ModelParse, vmod_ModelEPS, vmod_ModelAnno) through the sink at once, and also
   returns it in *err. A front end that shows the returned report itself silences the
   first by setting vmodhost_IgnoreErrorText as the sink; the report in *err is whole
   either way. */
typedef void (*Vmodhost_ErrorSink)(const char *text, void *user);
VMODHOST_API void vmodhost_SetErrorSink(Vmodhost_ErrorSink sink, void *user);
/* A sink that shows nothing: vmodhost_SetErrorSink(vmodhost_IgnoreErrorText, NULL). */
VMODHOST_API void vmodhost_IgnoreErrorText(const char *text, void *user);
/* Puts `cause` (taken over; null is ignored) at the end of the chain *chain holds, or
   into *chain when it holds none: how a function keeps the report it found in *err
   below the ones it made. A cause already in the chain is left where it is. chain must
   not be null. */
VMODHOST_API void vmodhost_ErrorAppendCause(Oerr_ErrorReport **chain, Oerr_ErrorReport *cause);
/* Reading a report: its message, function name, code, severity and the cause it chains
   to (null at the end of the chain). */
VMODHOST_API const char *vmodhost_ErrorMessage(const Oerr_ErrorReport *report);
VMODHOST_API const char *vmodhost_ErrorFunction(const Oerr_ErrorReport *report);
VMODHOST_API int32_t vmodhost_ErrorCode(const Oerr_ErrorReport *report);
VMODHOST_API int32_t vmodhost_ErrorSeverity(const Oerr_ErrorReport *report);
VMODHOST_API const Oerr_ErrorReport *vmodhost_ErrorCause(const Oerr_ErrorReport *report);
/* A new heap string with every message of the chain, outermost first, one per line. */
VMODHOST_API char *vmodhost_ErrorChainText(const Oerr_ErrorReport *report);

/* ---- preferences ---- */

/* Sets (value not null) or removes (value null) the preference key of category. */
VMODHOST_API void vmodhost_SetPreference(const char *category, const char *key, const char *value);
/* Removes every preference. */
VMODHOST_API void vmodhost_ClearPreferences(void);

/* ---- fault injection in the file layer (tests) ---- */

/* Makes the Nth write (1-based, counted from this call) through ofio_Fprintf and every
   later one fail, as a full disk would; 0 switches it off. */
VMODHOST_API void vmodhost_FailWriteAfter(int32_t count);

/* ---- frames, parts and menus ----
   The ooml_ calls on these objects only fail on a null handle or string, or on a part
   name the frame does not have; they then store a report in *err (kept as the rule under
   "error reports" says). */

/* A new frame without parts (release with vmodhost_FrameDelete, which releases its parts). */
VMODHOST_API Ooml_Frame *vmodhost_FrameCreate(void);
VMODHOST_API void vmodhost_FrameDelete(Ooml_Frame *frame);
/* Adds a part named name to frame (owned by the frame) and returns it; when the frame has
   a part of that name already, returns that part. Null for a null frame or name. */
VMODHOST_API Ooml_Part *vmodhost_FrameAddPart(Ooml_Frame *frame, const char *name);
/* 1 enabled, 0 disabled, -1 never set (and for null). */
VMODHOST_API int32_t vmodhost_PartEnabled(const Ooml_Part *part);
/* A new menu without items; items come into being when first enabled or disabled. */
VMODHOST_API Ooml_Menu *vmodhost_MenuCreate(void);
VMODHOST_API void vmodhost_MenuDelete(Ooml_Menu *menu);
/* 1 enabled, 0 disabled, -1 never set (and for null). */
VMODHOST_API int32_t vmodhost_MenuItemEnabled(const Ooml_Menu *menu, const char *item);

/* ---- file choosers ----
   A chooser is a part with a title and a current value text (initially ""). ooml_SetValue
   makes the text of the set's member the value (the filter); a confirmed query makes the
   answer the value; a cancelled query leaves the value as it was. */

/* A free-standing chooser part named name (for the model's ...Chooser fields); null for a
   null name. */
VMODHOST_API Ooml_Part *vmodhost_ChooserCreate(const char *name);
/* Releases a chooser of vmodhost_ChooserCreate; null and parts owned by a frame (released
   with their frame) are ignored. */
VMODHOST_API void vmodhost_ChooserDelete(Ooml_Part *part);
/* Answers a query: return nonzero and store a new heap string in *answer to confirm that
   name, or return 0 to cancel. title is the chooser's title at the time of the query; the
   handler may read the chooser's filter with ooml_PartValueText. The host releases *answer
   in every case; a confirmation that leaves *answer null counts as a cancel. */
typedef int32_t (*Vmodhost_ChooserHandler)(Ooml_Part *part, const char *title, void *user, char **answer);
/* Installs the handler every chooser asks; null restores the default, which cancels. */
VMODHOST_API void vmodhost_SetChooserHandler(Vmodhost_ChooserHandler handler, void *user);
/* The handler installed and its user pointer, so that a caller can put them back after
   installing its own; both null while the default is in place. Either out-parameter may
   be null. */
VMODHOST_API void vmodhost_GetChooserHandler(Vmodhost_ChooserHandler *handler, void **user);
/* The part's name and title (title "" until set); owned by the part; null for null. */
VMODHOST_API const char *vmodhost_PartName(const Ooml_Part *part);
VMODHOST_API const char *vmodhost_PartTitle(const Ooml_Part *part);

/* ---- call log: every frame, menu, chooser and recording-canvas call, in order ----

   Each ooml_ or ooci_ call appends one line "name(arg, arg, ...)" as it starts, also when
   it then fails; arguments are separated by a comma and a blank, the err argument and the
   extents out-parameters are left out:
   - a part by its name, a frame as frame, a menu as menu, a canvas by its name, bare;
     a null handle as NULL;
   - a string in double quotes, with \" \\ \n \t \r and \xHH (other control bytes)
     escaped, bytes from 0x80 kept as they are; a null string as NULL;
   - an int32 in decimal; a double as printf "%g" does in the "C" locale, whatever the
     process locale; a colour as 0x%06X;
   - a polyline's points as [x y, x y, ...] followed by the count ([] when the array is null
     or the count is not positive);
   - a font specification as {"family", style, size}; a value-set member as its quoted
     text; a set as {"text"}; a member of a kind other than 2 as ?.
   Calls on canvases other than recording ones and on a null canvas are not logged.
   Examples:
     ooml_CanvasDrawLine(canvas, 0, 0, 10, 20, 30, 40)
     ooml_PartTitleSet(rasterChooser, "Select Existing File for Raster:   n1_a")
     ooml_FileNameListQuery(rasterChooser, frame)
     ooml_CanvasDrawPolyline(canvas, 0, 0, [1 2, 3 4], 2)
     ooml_CanvasFontSpecCreate("helvetica", 1, 12.5)
     ooml_SetValue(vectorChooser, {"*.ovr"}) */
VMODHOST_API void vmodhost_LogClear(void);
VMODHOST_API size_t vmodhost_LogCount(void);
/* Line index (from 0), valid until the log is cleared; null past the end. */
VMODHOST_API const char *vmodhost_LogLine(size_t index);
/* Turns logging on or off (off by default). */
VMODHOST_API void vmodhost_LogEnable(int32_t on);

/* ---- canvases ----
   Every ooml_Canvas call reports a null canvas, null string, null font specification, a
   null point array with a positive count or a negative count in *err and draws nothing.
   ooml_CanvasFontSpecCreate refuses (null, *err set) a null name and a size that is not a
   positive finite number. A failed ooml_CanvasContextGetStringExtents stores zeros. */

/* A canvas that draws nothing and logs every call. Its text metrics: a string of n bytes
   measures x1 = 0, x2 = n * charWidth, y1 = 0, y2 = lineHeight (defaults 7 and 13; x2
   saturates at INT32_MAX). Null for a null name. */
VMODHOST_API Ooml_Canvas *vmodhost_RecordingCanvasCreate(const char *name);
/* Negative values count as 0. Ignored for a canvas that is not a recording canvas. */
VMODHOST_API void vmodhost_RecordingCanvasSetMetrics(Ooml_Canvas *canvas, int32_t charWidth, int32_t lineHeight);
/* Makes font specifications of family name (compared exactly) unusable on this canvas:
   ooml_CanvasContextSetFontSpec then stores a report in *err. */
VMODHOST_API void vmodhost_RecordingCanvasRejectFont(Ooml_Canvas *canvas, const char *name);
/* Releases any canvas; null is ignored. */
VMODHOST_API void vmodhost_CanvasDelete(Ooml_Canvas *canvas);

/* ---- drawing canvas: real pixels through Cairo ----
   A canvas that draws into an image of width x height pixels, every pixel starting as
   background. Colours are 0xRRGGBB; draw mode 1 copies, mode 3 exclusive-ors the colour
   into the pixels (the same drawing twice restores every pixel). Font names are
   fontconfig patterns ("DejaVu Sans:bold:size=10", sizes in points at 96 pixels per
   inch); a font specification whose family fontconfig does not have cannot be used
   (ooml_CanvasContextSetFontSpec stores a report). Text extents are the font's advance
   width and ascent plus descent (x1 = y1 = 0); text extends upward from its y, centred
   on its x under justification 1. Its calls are not logged. Release it with
   vmodhost_CanvasDelete. */

/* 1 when the host draws with Cairo; 0 when it was built without (VMOD_CAIRO off): then
   no drawing canvas and no PDF printer can be made. */
VMODHOST_API int32_t vmodhost_HasCairo(void);
/* A new drawing canvas; null when a side is not 1 to 16384, memory runs out or the host
   has no Cairo. */
VMODHOST_API Ooml_Canvas *vmodhost_CairoCanvasCreate(int32_t width, int32_t height, uint32_t background);
/* Writes the image as a PNG file, saved whole or not at all like every file the host
   writes (ofio_SaveOpen); 1 on success, 0 on failure or for another kind of canvas. */
VMODHOST_API int32_t vmodhost_CairoCanvasWritePng(Ooml_Canvas *canvas, const char *path);
/* The same, and on failure a report in *err (chained to what it held) that names the
   file and the reason ("cannot write PATH: No space left on device"). */
VMODHOST_API int32_t vmodhost_CairoCanvasSavePng(Ooml_Canvas *canvas, const char *path, Oerr_ErrorReport **err);
/* The rectangle of the image from (x, y), width by height pixels, as the bytes of a PNG
   in memory: *bytes is a new heap block the caller releases with omsc_HeapFree, *size
   its length. With quick 0 the PNG is Cairo's, as vmodhost_CairoCanvasWritePng writes
   it; with quick 1 it is made for speed (no filters, zlib's fastest level), for a picture
   shown at once. 1 on success; 0 (nothing allocated) when the rectangle is empty or not
   wholly inside the image, memory runs out, or for another kind of canvas. */
VMODHOST_API int32_t vmodhost_CairoCanvasPngPart(Ooml_Canvas *canvas, int32_t x, int32_t y, int32_t width,
                                                 int32_t height, int32_t quick, unsigned char **bytes, size_t *size);
/* The pixel at (x, y) as 0xRRGGBB; 0xFFFFFFFF outside the image or for another kind of canvas. */
VMODHOST_API uint32_t vmodhost_CairoCanvasPixel(Ooml_Canvas *canvas, int32_t x, int32_t y);

#ifdef __cplusplus
}
#endif

#endif
