// The host's printer device context: handles are checked, objects outlive their selection
// safely, and drawing outside a page or a document is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "vmodhost/ogdi.h"
#include "vmodhost/vmodhost_printer.h"
#include "support/cairo_support.h"

namespace {

struct Printer {
    Ogdi_DeviceContext *dc = vmodhost_RecordingPrinterCreate();
    ~Printer() { vmodhost_PrinterDelete(dc); }
};

HFONT Courier(int32_t height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       PROOF_QUALITY, FF_MODERN, "Courier New");
}

} // namespace

TEST(GetDeviceCaps, DefaultsAndTurnedPaper) {
    Printer p;
    EXPECT_EQ(GetDeviceCaps(p.dc, LOGPIXELSX), 600);
    EXPECT_EQ(GetDeviceCaps(p.dc, LOGPIXELSY), 600);
    EXPECT_EQ(GetDeviceCaps(p.dc, HORZRES), 5100);
    EXPECT_EQ(GetDeviceCaps(p.dc, VERTRES), 6600);
    ASSERT_EQ(vmodhost_PrinterSetOrientation(p.dc, 1), 1);
    EXPECT_EQ(GetDeviceCaps(p.dc, HORZRES), 6600);
    EXPECT_EQ(GetDeviceCaps(p.dc, VERTRES), 5100);
    ASSERT_EQ(vmodhost_PrinterSetResolution(p.dc, 300), 1);
    ASSERT_EQ(vmodhost_PrinterSetPaper(p.dc, 8.27, 11.69), 1);
    EXPECT_EQ(GetDeviceCaps(p.dc, HORZRES), 3507);
    EXPECT_EQ(GetDeviceCaps(p.dc, 12345), 0);
}

TEST(GetDeviceCaps, UnknownDeviceContextIsRefused) {
    Printer p;
    Ogdi_DeviceContext *stale = vmodhost_RecordingPrinterCreate();
    vmodhost_PrinterDelete(stale);
    EXPECT_EQ(GetDeviceCaps(stale, LOGPIXELSX), 0);
    EXPECT_EQ(StartPage(stale), 0);
    EXPECT_EQ(LineTo(stale, 1, 1), 0);
    EXPECT_EQ(SelectObject(stale, GetStockObject(BLACK_BRUSH)), nullptr);
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);
}

TEST(vmodhost_PrinterSetPaper, RejectsUnusableSettings) {
    Printer p;
    EXPECT_EQ(vmodhost_PrinterSetPaper(p.dc, 0, 11), 0);
    EXPECT_EQ(vmodhost_PrinterSetPaper(p.dc, 8.5, 1e9), 0);
    EXPECT_EQ(vmodhost_PrinterSetPaper(p.dc, std::nan(""), 11), 0);
    EXPECT_EQ(vmodhost_PrinterSetResolution(p.dc, 0), 0);
    EXPECT_EQ(vmodhost_PrinterSetResolution(p.dc, 100000), 0);
    EXPECT_EQ(vmodhost_PrinterSetOrientation(p.dc, 2), 0);
    EXPECT_EQ(GetDeviceCaps(p.dc, HORZRES), 5100);
    // Not while a document is in progress.
    DOCINFOA info{20, "doc", nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(p.dc, &info), 0);
    EXPECT_EQ(vmodhost_PrinterSetResolution(p.dc, 300), 0);
    EXPECT_GT(EndDoc(p.dc), 0);
    EXPECT_EQ(vmodhost_PdfPrinterCreate(nullptr), nullptr);
}

TEST(DeleteObject, SelectedFontLivesUntilDeselected) {
    Printer p;
    HFONT font = Courier(-100);
    HGDIOBJ previous = SelectObject(p.dc, font);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(DeleteObject(font), 1);
    EXPECT_EQ(DeleteObject(font), 0); // already deleted
    EXPECT_EQ(SelectObject(p.dc, font), nullptr);
    EXPECT_EQ(SelectObject(p.dc, previous), font);
    // Now released: the handle is unknown.
    EXPECT_EQ(DeleteObject(font), 0);
}

TEST(DeleteObject, StockObjectsStay) {
    HGDIOBJ black = GetStockObject(BLACK_BRUSH);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(DeleteObject(black), 1);
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), black);
    EXPECT_EQ(GetStockObject(99), nullptr);
    Printer p;
    EXPECT_NE(SelectObject(p.dc, black), nullptr);
}

TEST(SelectClipRgn, CopiesTheRegion) {
    Printer p;
    HRGN region = CreateRectRgn(10, 20, 30, 40);
    EXPECT_EQ(SelectClipRgn(p.dc, region), SIMPLEREGION);
    EXPECT_EQ(DeleteObject(region), 1);
    EXPECT_EQ(SelectClipRgn(p.dc, region), OGDI_ERROR);
    HRGN empty = CreateRectRgn(30, 40, 10, 20);
    EXPECT_EQ(SelectClipRgn(p.dc, empty), NULLREGION);
    DeleteObject(empty);
    EXPECT_EQ(SelectClipRgn(p.dc, nullptr), SIMPLEREGION);
}

TEST(StartPage, DocumentAndPageOrder) {
    Printer p;
    EXPECT_EQ(StartPage(p.dc), 0);
    EXPECT_EQ(EndDoc(p.dc), 0);
    DOCINFOA info{20, "doc", nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(p.dc, &info), 0);
    EXPECT_EQ(StartDocA(p.dc, &info), 0);
    EXPECT_EQ(EndPage(p.dc), 0);
    ASSERT_GT(StartPage(p.dc), 0);
    EXPECT_EQ(StartPage(p.dc), 0);
    EXPECT_GT(EndPage(p.dc), 0);
    ASSERT_GT(StartPage(p.dc), 0);
    EXPECT_GT(EndDoc(p.dc), 0); // closes the open page
    EXPECT_EQ(vmodhost_PrinterPageCount(p.dc), 2);
}

TEST(Polyline, RefusesTooFewPoints) {
    Printer p;
    POINT one[1] = {{1, 1}};
    EXPECT_EQ(Polyline(p.dc, one, 1), 0);
    EXPECT_EQ(Polyline(p.dc, nullptr, 3), 0);
    EXPECT_EQ(Polygon(p.dc, one, -4), 0);
    EXPECT_EQ(TextOutA(p.dc, 0, 0, nullptr, 3), 0);
    EXPECT_EQ(TextOutA(p.dc, 0, 0, "abc", -1), 0);
}

TEST(ooml_LpGetItems, HandsOutTheSelectedPrinter) {
    Printer p;
    int32_t request = 0;
    HDC dc = reinterpret_cast<HDC>(0x1);
    vmodhost_PrinterSelect(nullptr);
    ooml_LpGetItems(&request, OOML_LP_PRINTER_DC, &dc, nullptr);
    EXPECT_EQ(dc, nullptr);
    vmodhost_PrinterSelect(p.dc);
    ooml_LpGetItems(&request, OOML_LP_PRINTER_DC, &dc, nullptr);
    EXPECT_EQ(dc, p.dc);
    HDC other = nullptr;
    ooml_LpGetItems(&request, 3, &other, nullptr);
    EXPECT_EQ(other, nullptr);
    vmodhost_PrinterDelete(p.dc); // deselects it
    p.dc = nullptr;
    ooml_LpGetItems(&request, OOML_LP_PRINTER_DC, &dc, nullptr);
    EXPECT_EQ(dc, nullptr);
}

TEST(TextOutA, AnyBytesDrawOnAPdfPage) {
    VMOD_SKIP_WITHOUT_CAIRO();
    std::string path = std::string(VMOD_BINARY_DIR) + "/print_scratch/bytes.pdf";
    Ogdi_DeviceContext *dc = vmodhost_PdfPrinterCreate(path.c_str());
    DOCINFOA info{20, "bytes", nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    std::string every;
    for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
    HFONT huge = Courier(INT32_MIN);
    SelectObject(dc, huge);
    EXPECT_EQ(TextOutA(dc, 100, 100, every.c_str(), static_cast<int32_t>(every.size())), 1);
    HFONT cell = Courier(120);
    SelectObject(dc, cell);
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
    EXPECT_EQ(TextOutA(dc, 3000, 3000, every.c_str(), static_cast<int32_t>(every.size())), 1);
    EXPECT_EQ(Arc(dc, 10, 10, 10, 50, 0, 0, 5, 5), 1); // flat ellipse: nothing to draw
    EXPECT_EQ(Arc(dc, 100, 100, 400, 300, 400, 200, 100, 200), 1);
    EXPECT_GT(EndPage(dc), 0);
    EXPECT_GT(EndDoc(dc), 0);
    EXPECT_EQ(vmodhost_PrinterFailed(dc), 0);
    DeleteObject(huge);
    DeleteObject(cell);
    vmodhost_PrinterDelete(dc);
}
