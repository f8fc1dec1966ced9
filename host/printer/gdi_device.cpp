// gdi_device.cpp - the printer device context: its configuration, the printer that
// ooml_LpGetItems hands out, and the document and page calls, which the printer's back
// end (gdi_back_end.h) carries out.
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "gdi_device.h"
#include "vmodhost/vmodhost_printer.h"

namespace {

Ogdi_DeviceContext *g_selectedPrinter = nullptr;

// The PDF back end keeps process-wide font caches. They are released at exit when no
// printer is left, so that leak checkers see a clean process.
int g_livePrinters = 0;

void ReleaseFontCaches() {
    if (g_livePrinters != 0) return;
    GdiPdfReleaseCaches();
}

void CountPrinter(int change) {
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(ReleaseFontCaches);
    }
    g_livePrinters += change;
}

Ogdi_DeviceContext *NewPrinter(std::unique_ptr<GdiBackEnd> backEnd) {
    CountPrinter(+1);
    auto *dc = new Ogdi_DeviceContext;
    dc->backEnd = std::move(backEnd);
    dc->font = GdiStockObject(OGDI_DEVICE_DEFAULT_FONT);
    dc->brush = GdiStockObject(OGDI_WHITE_BRUSH);
    GdiHold(dc->font);
    GdiHold(dc->brush);
    GdiRegisterDevice(dc);
    return dc;
}

Ogdi_DeviceContext *Configurable(Ogdi_DeviceContext *printer) {
    Ogdi_DeviceContext *dc = GdiFindDevice(printer);
    return dc && !dc->inDocument ? dc : nullptr;
}

std::string Num(int64_t value) { return std::to_string(value); }

} // namespace

extern "C" {

struct Ogdi_DeviceContext *vmodhost_PdfPrinterCreate(const char *outputPath) {
    if (!outputPath) return nullptr;
    std::unique_ptr<GdiBackEnd> pdf = GdiMakePdfBackEnd();
    if (!pdf) return nullptr;
    Ogdi_DeviceContext *dc = NewPrinter(std::move(pdf));
    dc->outputPath = outputPath;
    return dc;
}

struct Ogdi_DeviceContext *vmodhost_RecordingPrinterCreate(void) { return NewPrinter(GdiMakeRecordingBackEnd()); }

void vmodhost_PrinterDelete(struct Ogdi_DeviceContext *printer) {
    Ogdi_DeviceContext *dc = GdiFindDevice(printer);
    if (!dc) return;
    if (g_selectedPrinter == dc) g_selectedPrinter = nullptr;
    dc->backEnd->Drop(dc);
    GdiRelease(dc->font);
    GdiRelease(dc->brush);
    GdiUnregisterDevice(dc);
    delete dc;
    CountPrinter(-1);
}

int32_t vmodhost_PrinterSetResolution(struct Ogdi_DeviceContext *printer, int32_t pixelsPerInch) {
    Ogdi_DeviceContext *dc = Configurable(printer);
    if (!dc || pixelsPerInch < 1 || pixelsPerInch > 4800) return 0;
    dc->pixelsPerInch = pixelsPerInch;
    return 1;
}

int32_t vmodhost_PrinterSetPaper(struct Ogdi_DeviceContext *printer, double widthInches, double heightInches) {
    Ogdi_DeviceContext *dc = Configurable(printer);
    // Negated comparisons also refuse NaN.
    if (!dc || !(widthInches >= 1 && widthInches <= 200) || !(heightInches >= 1 && heightInches <= 200)) return 0;
    dc->paperWidth = widthInches;
    dc->paperHeight = heightInches;
    return 1;
}

int32_t vmodhost_PrinterSetOrientation(struct Ogdi_DeviceContext *printer, int32_t orientation) {
    Ogdi_DeviceContext *dc = Configurable(printer);
    if (!dc || (orientation != 0 && orientation != 1)) return 0;
    dc->orientation = orientation;
    return 1;
}

void vmodhost_PrinterSelect(struct Ogdi_DeviceContext *printer) {
    g_selectedPrinter = printer ? GdiFindDevice(printer) : nullptr;
}

int32_t vmodhost_PrinterPageCount(const struct Ogdi_DeviceContext *printer) {
    Ogdi_DeviceContext *dc = GdiFindDevice(const_cast<Ogdi_DeviceContext *>(printer));
    return dc ? dc->pagesDone : 0;
}

int32_t vmodhost_PrinterFailed(const struct Ogdi_DeviceContext *printer) {
    Ogdi_DeviceContext *dc = GdiFindDevice(const_cast<Ogdi_DeviceContext *>(printer));
    return dc ? dc->failed : 1;
}

const char *vmodhost_PrinterFailure(const struct Ogdi_DeviceContext *printer) {
    Ogdi_DeviceContext *dc = GdiFindDevice(const_cast<Ogdi_DeviceContext *>(printer));
    return dc && !dc->failure.empty() ? dc->failure.c_str() : nullptr;
}

void ooml_LpGetItems(int32_t *request, int32_t item, void *value, void *last) {
    if (item != OOML_LP_PRINTER_DC || !value) return;
    *static_cast<Ogdi_DC *>(value) = g_selectedPrinter;
}

int32_t ogdi_GetDeviceCaps(Ogdi_DC handle, int32_t index) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0;
    // The PDF page has no unprintable border: the printable area is the whole sheet.
    switch (index) {
    case OGDI_LOGPIXELSX:
    case OGDI_LOGPIXELSY: return dc->pixelsPerInch;
    case OGDI_HORZRES: return static_cast<int32_t>(std::lround(dc->DeviceWidthInches() * dc->pixelsPerInch));
    case OGDI_VERTRES: return static_cast<int32_t>(std::lround(dc->DeviceHeightInches() * dc->pixelsPerInch));
    default: return 0;
    }
}

uint32_t ogdi_SetTextAlign(Ogdi_DC handle, uint32_t align) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc) return 0xFFFFFFFFu;
    GdiLog("SetTextAlign(" + Num(align) + ")");
    uint32_t previous = dc->textAlign;
    dc->textAlign = align;
    return previous;
}

int32_t ogdi_SetBkMode(Ogdi_DC handle, int32_t mode) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || (mode != OGDI_TRANSPARENT && mode != OGDI_OPAQUE)) return 0;
    GdiLog("SetBkMode(" + Num(mode) + ")");
    int32_t previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

int32_t ogdi_StartDocA(Ogdi_DC handle, const Ogdi_DocInfo *info) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !info || dc->inDocument) return 0;
    const char *name = info->lpszDocName;
    GdiLog("StartDocA(" + Num(info->cbSize) + ", " + GdiLogText(name, name ? static_cast<int32_t>(std::string(name).size()) : 0) +
           ", " + GdiLogText(info->lpszOutput, info->lpszOutput ? static_cast<int32_t>(std::string(info->lpszOutput).size()) : 0) +
           ")");
    dc->inDocument = true;
    dc->pagesDone = 0;
    dc->failed = false;
    const std::string &path = info->lpszOutput ? std::string(info->lpszOutput) : dc->outputPath;
    dc->backEnd->Open(dc, path, name);
    return dc->failed ? -1 : 1;
}

int32_t ogdi_StartPage(Ogdi_DC handle) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !dc->inDocument || dc->inPage) return 0;
    GdiLog("StartPage()");
    dc->inPage = true;
    return 1;
}

int32_t ogdi_EndPage(Ogdi_DC handle) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !dc->inPage) return 0;
    GdiLog("EndPage()");
    dc->inPage = false;
    ++dc->pagesDone;
    dc->backEnd->ShowPage(dc);
    return dc->failed ? -1 : 1;
}

int32_t ogdi_EndDoc(Ogdi_DC handle) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    if (!dc || !dc->inDocument) return 0;
    GdiLog("EndDoc()");
    if (dc->inPage) ogdi_EndPage(handle);
    dc->backEnd->Finish(dc);
    dc->backEnd->Drop(dc);
    dc->inDocument = false;
    return dc->failed ? -1 : 1;
}

} // extern "C"
