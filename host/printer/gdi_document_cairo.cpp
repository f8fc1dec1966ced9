// gdi_document_cairo.cpp - a PDF printer's document over Cairo's PDF surface.
//
// A device pixel is 1/pixelsPerInch inch; the Cairo context is scaled once so that the
// drawing calls work in device pixels.
#include <cairo-pdf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>

#include "gdi_cairo.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"

namespace {

// Records a failed Cairo state once; the rest of the document then draws nothing.
void NoteCairoStatus(Ogdi_DeviceContext *dc) {
    GdiPdfDocument *pdf = GdiPdfOf(dc);
    if (!pdf) return;
    if (pdf->cairo && cairo_status(pdf->cairo) != CAIRO_STATUS_SUCCESS) dc->failed = true;
    if (pdf->surface && cairo_surface_status(pdf->surface) != CAIRO_STATUS_SUCCESS) dc->failed = true;
}

// Cairo stamps a PDF with the current time. With SOURCE_DATE_EPOCH set (seconds since
// 1970, the reproducible-builds convention) the document carries that time instead, so
// printing the same model twice gives the same bytes.
void SetReproducibleDate(cairo_surface_t *surface) {
    const char *epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || *epoch < '0' || *epoch > '9') return;
    errno = 0;
    char *end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (errno != 0 || *end != '\0' || seconds > 253402300799LL) return; // up to year 9999
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm utc{};
    if (!gmtime_r(&when, &utc)) return;
    char date[80]; // room for any int the compiler assumes tm may hold
    std::snprintf(date, sizeof date, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, date);
}

// Cairo's output goes through the host's save, so that the file is complete on disk
// before it replaces an earlier one and a failed write is known with its reason.
cairo_status_t WriteToFile(void *closure, const unsigned char *data, unsigned int length) {
    Ofio_File *file = static_cast<GdiPdfDocument *>(closure)->file;
    return ofio_Write(file, data, length) == 0 ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

std::string MessageOf(Oerr_ErrorReport **report, const std::string &otherwise) {
    std::string message = *report ? vmodhost_ErrorMessage(*report) : otherwise;
    oerr_DeleteErrorReportEx(report);
    return message;
}

// Completes or abandons the file once the surface has written everything.
void SaveFile(Ogdi_DeviceContext *dc, cairo_status_t status) {
    Ofio_File *file = GdiPdfOf(dc)->file;
    GdiPdfOf(dc)->file = nullptr;
    if (!file) return;
    const std::string unwritten = "cannot write " + GdiPdfOf(dc)->path;
    Oerr_ErrorReport *report = nullptr;
    if (dc->failed && !ofio_HasError(file)) {
        // Cairo failed for a reason of its own: nothing of the document is kept.
        ofio_SaveCancel(file);
        dc->failure = unwritten + ": " + cairo_status_to_string(status);
    } else if (ofio_SaveClose(file, &report) != 0) {
        dc->failed = true;
        dc->failure = MessageOf(&report, unwritten);
    }
}

} // namespace

cairo_t *GdiPageCairo(Ogdi_DeviceContext *dc) {
    if (!dc->inPage || !GdiPdfOf(dc) || !GdiPdfOf(dc)->cairo || dc->failed) return nullptr;
    cairo_t *cr = GdiPdfOf(dc)->cairo;
    cairo_reset_clip(cr);
    if (dc->clipped) {
        const GdiRect &r = dc->clip;
        if (r.right <= r.left || r.bottom <= r.top) {
            // An empty clip region lets nothing through.
            cairo_rectangle(cr, 0, 0, 0, 0);
        } else {
            cairo_rectangle(cr, r.left, r.top, static_cast<double>(r.right) - r.left,
                            static_cast<double>(r.bottom) - r.top);
        }
        cairo_clip(cr);
    }
    return cr;
}

namespace {

// The part of the page that drawing can show on, and a margin wider than any pen, mitre
// or glyph overhang, which keeps the tests below on the safe side.
struct PageArea {
    double x0, y0, x1, y1, margin;
};

PageArea ShowingArea(const Ogdi_DeviceContext *dc) {
    double x0 = 0, y0 = 0, x1 = dc->DeviceWidthInches() * dc->pixelsPerInch,
           y1 = dc->DeviceHeightInches() * dc->pixelsPerInch;
    if (dc->clipped) {
        x0 = std::max(x0, static_cast<double>(dc->clip.left));
        y0 = std::max(y0, static_cast<double>(dc->clip.top));
        x1 = std::min(x1, static_cast<double>(dc->clip.right));
        y1 = std::min(y1, static_cast<double>(dc->clip.bottom));
    }
    return {x0, y0, x1, y1, 2.0 + dc->pixelsPerInch * 0.05};
}

} // namespace

bool GdiPdfOutsidePage(const Ogdi_DeviceContext *dc, double left, double top, double right, double bottom) {
    const PageArea a = ShowingArea(dc);
    return right + a.margin < a.x0 || left - a.margin > a.x1 || bottom + a.margin < a.y0 || top - a.margin > a.y1;
}

bool GdiPdfSegmentOutsidePage(const Ogdi_DeviceContext *dc, double x1, double y1, double x2, double y2) {
    const PageArea area = ShowingArea(dc);
    // The part of the segment within the area's columns, then whether any of it lies
    // within its rows: a long slanting line whose box holds the page may still pass by it.
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    auto narrow = [&](double start, double step, double low, double high) {
        if (step == 0) return start >= low && start <= high;
        double a = (low - start) / step, b = (high - start) / step;
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
        return t0 <= t1;
    };
    return !(narrow(x1, dx, area.x0 - area.margin, area.x1 + area.margin) &&
             narrow(y1, dy, area.y0 - area.margin, area.y1 + area.margin));
}

std::unique_ptr<GdiBackEnd> GdiMakePdfBackEnd() { return std::make_unique<GdiPdf>(); }

void GdiPdf::Open(Ogdi_DeviceContext *dc, const std::string &path, const char *title) {
    Drop(dc);
    dc->failure.clear();
    GdiPdfOf(dc) = new (std::nothrow) GdiPdfDocument;
    if (!GdiPdfOf(dc)) {
        dc->failed = true;
        return;
    }
    GdiPdfOf(dc)->path = path;
    Oerr_ErrorReport *report = nullptr;
    GdiPdfOf(dc)->file = ofio_SaveOpen(path.c_str(), &report);
    if (!GdiPdfOf(dc)->file) {
        dc->failed = true;
        dc->failure = MessageOf(&report, "cannot write " + path);
        return;
    }
    cairo_surface_t *surface = cairo_pdf_surface_create_for_stream(WriteToFile, GdiPdfOf(dc), dc->DeviceWidthInches() * 72.0,
                                                                   dc->DeviceHeightInches() * 72.0);
    GdiPdfOf(dc)->surface = surface;
    if (title) cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "vmod");
    SetReproducibleDate(surface);
    GdiPdfOf(dc)->cairo = cairo_create(surface);
    cairo_scale(GdiPdfOf(dc)->cairo, 72.0 / dc->pixelsPerInch, 72.0 / dc->pixelsPerInch);
    NoteCairoStatus(dc);
}

void GdiPdf::ShowPage(Ogdi_DeviceContext *dc) {
    if (!GdiPdfOf(dc) || !GdiPdfOf(dc)->cairo || dc->failed) return;
    cairo_show_page(GdiPdfOf(dc)->cairo);
    NoteCairoStatus(dc);
}

void GdiPdf::Finish(Ogdi_DeviceContext *dc) {
    if (!GdiPdfOf(dc) || !GdiPdfOf(dc)->surface) return;
    cairo_surface_finish(GdiPdfOf(dc)->surface);
    NoteCairoStatus(dc);
    cairo_status_t status = cairo_surface_status(GdiPdfOf(dc)->surface);
    if (status == CAIRO_STATUS_SUCCESS && GdiPdfOf(dc)->cairo) status = cairo_status(GdiPdfOf(dc)->cairo);
    SaveFile(dc, status);
}

void GdiPdf::Drop(Ogdi_DeviceContext *dc) {
    if (!GdiPdfOf(dc)) return;
    if (GdiPdfOf(dc)->cairo) cairo_destroy(GdiPdfOf(dc)->cairo);
    if (GdiPdfOf(dc)->surface) cairo_surface_destroy(GdiPdfOf(dc)->surface);
    // A document dropped before it was finished leaves no file behind.
    ofio_SaveCancel(GdiPdfOf(dc)->file);
    delete GdiPdfOf(dc);
    GdiPdfOf(dc) = nullptr;
}

void GdiPdfReleaseCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}
