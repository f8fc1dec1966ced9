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

#endif
