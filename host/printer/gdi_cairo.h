// gdi_cairo.h - the PDF document of a printer as Cairo draws it (gdi_*_cairo.cpp only).
#ifndef VMODHOST_GDI_CAIRO_H
#define VMODHOST_GDI_CAIRO_H

#include <cairo.h>

#include "gdi_device.h"
#include "vmodhost/ofio.h"

struct GdiPdfDocument {
    cairo_surface_t *surface = nullptr;
    cairo_t *cairo = nullptr;
    Ofio_File *file = nullptr; // the file being saved, until the document is finished
    std::string path;          // the file's name, for messages
};

// The back end of a PDF printer: its document in progress (null between documents).
// Open, ShowPage, Finish and Drop are in gdi_document_cairo.cpp, the shapes in
// gdi_drawing_cairo.cpp, text in gdi_text_cairo.cpp.
class GdiPdf final : public GdiBackEnd {
public:
    GdiPdfDocument *document = nullptr;
    void Open(Ogdi_DeviceContext *dc, const std::string &path, const char *title) override;
    void ShowPage(Ogdi_DeviceContext *dc) override;
    void Finish(Ogdi_DeviceContext *dc) override;
    void Drop(Ogdi_DeviceContext *dc) override;
    void Line(Ogdi_DeviceContext *dc, Ogdi_Point from, Ogdi_Point to) override;
    void Polyline(Ogdi_DeviceContext *dc, const Ogdi_Point *points, int32_t count) override;
    void Polygon(Ogdi_DeviceContext *dc, const Ogdi_Point *points, int32_t count) override;
    void Arc(Ogdi_DeviceContext *dc, int32_t left, int32_t top, int32_t right, int32_t bottom, Ogdi_Point start,
             Ogdi_Point end) override;
    void Text(Ogdi_DeviceContext *dc, int32_t x, int32_t y, const char *text, int32_t length) override;
};

// The document of a PDF printer's device context (whose back end is a GdiPdf: only the
// PDF back end's own calls reach the functions that ask).
inline GdiPdfDocument *&GdiPdfOf(Ogdi_DeviceContext *dc) { return static_cast<GdiPdf *>(dc->backEnd.get())->document; }

// The Cairo context of the page in progress, or null when nothing can be drawn (no
// page, a recording printer, or a failed surface). Applies the clip.
cairo_t *GdiPageCairo(Ogdi_DeviceContext *dc);

// True when a drawing whose ink lies within the box (device pixels) cannot show on the
// page in progress: it misses the sheet or the clip. Such a drawing is left out before
// Cairo sees it, so a page of a large model costs what is on it.
bool GdiPdfOutsidePage(const Ogdi_DeviceContext *dc, double left, double top, double right, double bottom);
// True when no part of the segment from (x1, y1) to (x2, y2) can show on the page.
bool GdiPdfSegmentOutsidePage(const Ogdi_DeviceContext *dc, double x1, double y1, double x2, double y2);

#endif
