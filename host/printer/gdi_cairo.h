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

// The Cairo context of the page in progress, or null when nothing can be drawn (no
// page, a recording printer, or a failed surface). Applies the clip.
cairo_t *GdiPageCairo(Ogdi_DeviceContext *dc);

// True when a drawing whose ink lies within the box (device pixels) cannot show on the
// page in progress: it misses the sheet or the clip. Such a drawing is left out before
// Cairo sees it, so a page of a large model costs what is on it.
bool GdiPdfOutsidePage(const Ogdi_DeviceContext *dc, double left, double top, double right, double bottom);

#endif
