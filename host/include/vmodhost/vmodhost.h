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

#include "vmod/vmod_records.h"

#if defined(__GNUC__)
#define VMODHOST_API __attribute__((visibility("default")))
#else
#define VMODHOST_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- error reports ---- */

/* Where oerr_PrintErrorReport sends the text of a report chain. A null sink restores the
   default, standard error. */
typedef void (*Vmodhost_ErrorSink)(const char *text, void *user);
VMODHOST_API void vmodhost_SetErrorSink(Vmodhost_ErrorSink sink, void *user);
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

/* ---- frames, parts and menus ---- */

VMODHOST_API Ooml_Frame *vmodhost_FrameCreate(void);
VMODHOST_API void vmodhost_FrameDelete(Ooml_Frame *frame);
/* Adds a part named name to frame (owned by the frame) and returns it. */
VMODHOST_API Ooml_Part *vmodhost_FrameAddPart(Ooml_Frame *frame, const char *name);
/* 1 enabled, 0 disabled, -1 never set. */
VMODHOST_API int32_t vmodhost_PartEnabled(const Ooml_Part *part);
VMODHOST_API Ooml_Menu *vmodhost_MenuCreate(void);
VMODHOST_API void vmodhost_MenuDelete(Ooml_Menu *menu);
/* 1 enabled, 0 disabled, -1 never set. */
VMODHOST_API int32_t vmodhost_MenuItemEnabled(const Ooml_Menu *menu, const char *item);

/* ---- file choosers ---- */

/* A free-standing chooser part named name (for the model's ...Chooser fields). */
VMODHOST_API Ooml_Part *vmodhost_ChooserCreate(const char *name);
VMODHOST_API void vmodhost_ChooserDelete(Ooml_Part *part);
/* Answers a query: return nonzero and store a new heap string in *answer to confirm that
   name, or return 0 to cancel. title is the chooser's title at the time of the query. */
typedef int32_t (*Vmodhost_ChooserHandler)(Ooml_Part *part, const char *title, void *user, char **answer);
/* Installs the handler every chooser asks; null restores the default, which cancels. */
VMODHOST_API void vmodhost_SetChooserHandler(Vmodhost_ChooserHandler handler, void *user);
VMODHOST_API const char *vmodhost_PartName(const Ooml_Part *part);
VMODHOST_API const char *vmodhost_PartTitle(const Ooml_Part *part);

/* ---- call log: every frame, menu, chooser and recording-canvas call, in order ---- */

/* Each call is logged as one line "name(arg, arg, ...)": handles by name, strings in
   double quotes, numbers in decimal (doubles with %g). */
VMODHOST_API void vmodhost_LogClear(void);
VMODHOST_API size_t vmodhost_LogCount(void);
VMODHOST_API const char *vmodhost_LogLine(size_t index);
/* Turns logging on or off (off by default). */
VMODHOST_API void vmodhost_LogEnable(int32_t on);

/* ---- canvases ---- */

/* A canvas that draws nothing and logs every call. Its text metrics: a string of n bytes
   measures x1 = 0, x2 = n * charWidth, y1 = 0, y2 = lineHeight (defaults 7 and 13). */
VMODHOST_API Ooml_Canvas *vmodhost_RecordingCanvasCreate(const char *name);
VMODHOST_API void vmodhost_RecordingCanvasSetMetrics(Ooml_Canvas *canvas, int32_t charWidth, int32_t lineHeight);
/* Makes font specifications of family name unusable on this canvas. */
VMODHOST_API void vmodhost_RecordingCanvasRejectFont(Ooml_Canvas *canvas, const char *name);
VMODHOST_API void vmodhost_CanvasDelete(Ooml_Canvas *canvas);

#ifdef __cplusplus
}
#endif

#endif
