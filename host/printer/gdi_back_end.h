// gdi_back_end.h - what a printer draws on. Like the canvas, the printer device has one
// interface and two back ends: a recording printer's draws nothing (its calls are only
// logged), a PDF printer's draws every page into a PDF file through Cairo. The device
// context (gdi_device.h) keeps the drawing state and hands each drawing to its back end.
#ifndef VMODHOST_GDI_BACK_END_H
#define VMODHOST_GDI_BACK_END_H

#include <cstdint>
#include <memory>
#include <string>

#include "vmodhost/ogdi.h"

struct Ogdi_DeviceContext;

class GdiBackEnd {
public:
    virtual ~GdiBackEnd() = default;
    // Starts a document at path with title (may be null); a failure marks dc failed.
    virtual void Open(Ogdi_DeviceContext *dc, const std::string &path, const char *title) = 0;
    virtual void ShowPage(Ogdi_DeviceContext *dc) = 0;
    virtual void Finish(Ogdi_DeviceContext *dc) = 0; // writes the document out
    virtual void Drop(Ogdi_DeviceContext *dc) = 0;   // frees the document, if any
    // Drawing on the page in progress, clipped; nothing when there is no page or the
    // document failed.
    virtual void Line(Ogdi_DeviceContext *dc, Ogdi_Point from, Ogdi_Point to) = 0;
    virtual void Polyline(Ogdi_DeviceContext *dc, const Ogdi_Point *points, int32_t count) = 0;
    virtual void Polygon(Ogdi_DeviceContext *dc, const Ogdi_Point *points, int32_t count) = 0;
    virtual void Arc(Ogdi_DeviceContext *dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     Ogdi_Point start, Ogdi_Point end) = 0;
    virtual void Text(Ogdi_DeviceContext *dc, int32_t x, int32_t y, const char *text, int32_t length) = 0;
};

// The back end of a recording printer: every document succeeds and nothing is drawn.
std::unique_ptr<GdiBackEnd> GdiMakeRecordingBackEnd();

// The back end of a PDF printer; null when the host was built without Cairo
// (without_cairo/gdi_pdf_absent.cpp), and then no PDF printer can be made.
std::unique_ptr<GdiBackEnd> GdiMakePdfBackEnd();

// The PDF back end keeps process-wide font caches; released at exit once no printer is left.
void GdiPdfReleaseCaches();

#endif
