// gdi_pdf_absent.cpp - the PDF back end of a host built without Cairo: there is none, so
// vmodhost_PdfPrinterCreate makes no printer.
#include "printer/gdi_back_end.h"

std::unique_ptr<GdiBackEnd> GdiMakePdfBackEnd() { return nullptr; }
void GdiPdfReleaseCaches() {}
