/*
 * vmodhost_printer.h - how a front end, a test or the vmod tool configures the printer
 * that the model library prints on.
 *
 * A printer is a device context. A PDF printer writes every document it is given as a
 * PDF file (one PDF page per printed page, the document name as the PDF title); a
 * recording printer draws nothing. Either kind can log its calls (see
 * vmodhost_PrinterLogEnable), which is how tests check what the library asked for.
 *
 * The library prints on the printer selected with vmodhost_PrinterSelect; with none
 * selected it prints nothing. Printers belong to the caller: release each with
 * vmodhost_PrinterDelete (which also deselects it).
 */
#ifndef VMODHOST_PRINTER_H
#define VMODHOST_PRINTER_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define VMODHOST_PRINTER_API __attribute__((visibility("default")))
#else
#define VMODHOST_PRINTER_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

struct Ogdi_DeviceContext;

/* A printer writing PDF files to outputPath (copied), at 600 pixels per inch on portrait
   8.5 x 11 inch paper. Null when outputPath is null or the host has no Cairo
   (vmodhost_HasCairo). */
VMODHOST_PRINTER_API struct Ogdi_DeviceContext *vmodhost_PdfPrinterCreate(const char *outputPath);
/* A printer that draws nothing, with the same defaults. */
VMODHOST_PRINTER_API struct Ogdi_DeviceContext *vmodhost_RecordingPrinterCreate(void);
VMODHOST_PRINTER_API void vmodhost_PrinterDelete(struct Ogdi_DeviceContext *printer);

/* Settings; each returns 0 and changes nothing when the value is unusable (resolution
   1..4800 pixels per inch, paper sides 1..200 inches) or a document is in progress. */
VMODHOST_PRINTER_API int32_t vmodhost_PrinterSetResolution(struct Ogdi_DeviceContext *printer,
                                                           int32_t pixelsPerInch);
/* Paper size as the sheet stands in portrait. */
VMODHOST_PRINTER_API int32_t vmodhost_PrinterSetPaper(struct Ogdi_DeviceContext *printer, double widthInches,
                                                      double heightInches);
/* 0 portrait, 1 landscape: the paper is turned, so the printable width and height (and
   the PDF page) swap. */
VMODHOST_PRINTER_API int32_t vmodhost_PrinterSetOrientation(struct Ogdi_DeviceContext *printer,
                                                            int32_t orientation);

/* Makes printer the one ooml_LpGetItems hands out; null selects none. */
VMODHOST_PRINTER_API void vmodhost_PrinterSelect(struct Ogdi_DeviceContext *printer);

/* Pages finished in the last document. */
VMODHOST_PRINTER_API int32_t vmodhost_PrinterPageCount(const struct Ogdi_DeviceContext *printer);
/* Nonzero when the last document could not be written (its file could not be created
   or a drawing call failed in the PDF back end). */
VMODHOST_PRINTER_API int32_t vmodhost_PrinterFailed(const struct Ogdi_DeviceContext *printer);
/* Why the last document's file could not be written ("cannot write PATH: REASON"), owned
   by the printer and valid until its next document; null when it was written or nothing
   is known. A PDF file is saved whole or not at all: after a failure the earlier file
   at the path is as it was. */
VMODHOST_PRINTER_API const char *vmodhost_PrinterFailure(const struct Ogdi_DeviceContext *printer);

/* ---- call log of the device-context operations, for tests ----
   When on, every drawing, object and document call on any printer (and ogdi_CreateFontA,
   ogdi_CreateRectRgn, ogdi_DeleteObject, which take none) appends one line
   "Name(arg, ...)", Name being the call's name without its ogdi_ prefix ("LineTo(10, 20)"):
   numbers in decimal, strings in double quotes, fonts as "font1", "font2" ... and regions
   as "rgn1", ... numbered in order of creation since the log was cleared, stock objects
   as BLACK_BRUSH or WHITE_BRUSH. Queries (ogdi_GetDeviceCaps, ogdi_GetStockObject) are
   not logged. */
VMODHOST_PRINTER_API void vmodhost_PrinterLogEnable(int32_t on);
VMODHOST_PRINTER_API void vmodhost_PrinterLogClear(void);
VMODHOST_PRINTER_API size_t vmodhost_PrinterLogCount(void);
/* Line index, owned by the log and valid until it changes; null past the end. */
VMODHOST_PRINTER_API const char *vmodhost_PrinterLogLine(size_t index);

#ifdef __cplusplus
}
#endif

#endif
