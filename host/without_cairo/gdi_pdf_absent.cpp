// gdi_pdf_absent.cpp - the PDF back end of a host built without Cairo: there is none, so
// vmodhost_PdfPrinterCreate makes no printer and a recording printer never has a document.
#include "printer/gdi_device.h"

bool GdiPdfAvailable() { return false; }

// Only a PDF printer opens a document, and none can be made; should one be asked for, the
// document fails rather than pretending to print.
void GdiPdfOpen(Ogdi_DeviceContext *dc, const std::string &, const char *) { dc->failed = true; }
void GdiPdfShowPage(Ogdi_DeviceContext *) {}
void GdiPdfFinish(Ogdi_DeviceContext *) {}
void GdiPdfDrop(Ogdi_DeviceContext *) {}
void GdiPdfLine(Ogdi_DeviceContext *, Ogdi_Point, Ogdi_Point) {}
void GdiPdfPolyline(Ogdi_DeviceContext *, const Ogdi_Point *, int32_t) {}
void GdiPdfPolygon(Ogdi_DeviceContext *, const Ogdi_Point *, int32_t) {}
void GdiPdfArc(Ogdi_DeviceContext *, int32_t, int32_t, int32_t, int32_t, Ogdi_Point, Ogdi_Point) {}
void GdiPdfText(Ogdi_DeviceContext *, int32_t, int32_t, const char *, int32_t) {}
void GdiPdfReleaseCaches() {}
