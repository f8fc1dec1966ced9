// The host's printer device context: handles are checked, objects outlive their selection
// safely, and drawing outside a page or a document is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "vmodhost/ogdi.h"
#include "vmodhost/vmodhost_printer.h"
#include "support/cairo_support.h"

namespace {

struct Printer {
    Ogdi_DeviceContext *dc = vmodhost_RecordingPrinterCreate();
    ~Printer() { vmodhost_PrinterDelete(dc); }
};

Ogdi_Font Courier(int32_t height) {
    return ogdi_CreateFontA(height, 0, 0, 0, OGDI_FW_NORMAL, 0, 0, 0, OGDI_ANSI_CHARSET, OGDI_OUT_TT_PRECIS,
                            OGDI_CLIP_DEFAULT_PRECIS, OGDI_PROOF_QUALITY, OGDI_FF_MODERN, "Courier New");
}

} // namespace

TEST(ogdi_GetDeviceCaps, DefaultsAndTurnedPaper) {
    Printer p;
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_LOGPIXELSX), 600);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_LOGPIXELSY), 600);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_HORZRES), 5100);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_VERTRES), 6600);
    ASSERT_EQ(vmodhost_PrinterSetOrientation(p.dc, 1), 1);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_HORZRES), 6600);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_VERTRES), 5100);
    ASSERT_EQ(vmodhost_PrinterSetResolution(p.dc, 300), 1);
    ASSERT_EQ(vmodhost_PrinterSetPaper(p.dc, 8.27, 11.69), 1);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_HORZRES), 3507);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, 12345), 0);
}

TEST(ogdi_GetDeviceCaps, UnknownDeviceContextIsRefused) {
    Printer p;
    Ogdi_DeviceContext *stale = vmodhost_RecordingPrinterCreate();
    vmodhost_PrinterDelete(stale);
    EXPECT_EQ(ogdi_GetDeviceCaps(stale, OGDI_LOGPIXELSX), 0);
    EXPECT_EQ(ogdi_StartPage(stale), 0);
    EXPECT_EQ(ogdi_LineTo(stale, 1, 1), 0);
    EXPECT_EQ(ogdi_SelectObject(stale, ogdi_GetStockObject(OGDI_BLACK_BRUSH)), nullptr);
    EXPECT_EQ(ogdi_GetDeviceCaps(nullptr, OGDI_LOGPIXELSX), 0);
}

TEST(vmodhost_PrinterSetPaper, RejectsUnusableSettings) {
    Printer p;
    EXPECT_EQ(vmodhost_PrinterSetPaper(p.dc, 0, 11), 0);
    EXPECT_EQ(vmodhost_PrinterSetPaper(p.dc, 8.5, 1e9), 0);
    EXPECT_EQ(vmodhost_PrinterSetPaper(p.dc, std::nan(""), 11), 0);
    EXPECT_EQ(vmodhost_PrinterSetResolution(p.dc, 0), 0);
    EXPECT_EQ(vmodhost_PrinterSetResolution(p.dc, 100000), 0);
    EXPECT_EQ(vmodhost_PrinterSetOrientation(p.dc, 2), 0);
    EXPECT_EQ(ogdi_GetDeviceCaps(p.dc, OGDI_HORZRES), 5100);
    // Not while a document is in progress.
    Ogdi_DocInfo info{20, "doc", nullptr, nullptr, 0};
    ASSERT_GT(ogdi_StartDocA(p.dc, &info), 0);
    EXPECT_EQ(vmodhost_PrinterSetResolution(p.dc, 300), 0);
    EXPECT_GT(ogdi_EndDoc(p.dc), 0);
    EXPECT_EQ(vmodhost_PdfPrinterCreate(nullptr), nullptr);
}

TEST(ogdi_DeleteObject, SelectedFontLivesUntilDeselected) {
    Printer p;
    Ogdi_Font font = Courier(-100);
    Ogdi_Obj previous = ogdi_SelectObject(p.dc, font);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(ogdi_DeleteObject(font), 1);
    EXPECT_EQ(ogdi_DeleteObject(font), 0); // already deleted
    EXPECT_EQ(ogdi_SelectObject(p.dc, font), nullptr);
    EXPECT_EQ(ogdi_SelectObject(p.dc, previous), font);
    // Now released: the handle is unknown.
    EXPECT_EQ(ogdi_DeleteObject(font), 0);
}

TEST(ogdi_DeleteObject, StockObjectsStay) {
    Ogdi_Obj black = ogdi_GetStockObject(OGDI_BLACK_BRUSH);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(ogdi_DeleteObject(black), 1);
    EXPECT_EQ(ogdi_GetStockObject(OGDI_BLACK_BRUSH), black);
    EXPECT_EQ(ogdi_GetStockObject(99), nullptr);
    Printer p;
    EXPECT_NE(ogdi_SelectObject(p.dc, black), nullptr);
}

TEST(ogdi_SelectClipRgn, CopiesTheRegion) {
    Printer p;
    Ogdi_Region region = ogdi_CreateRectRgn(10, 20, 30, 40);
    EXPECT_EQ(ogdi_SelectClipRgn(p.dc, region), OGDI_SIMPLEREGION);
    EXPECT_EQ(ogdi_DeleteObject(region), 1);
    EXPECT_EQ(ogdi_SelectClipRgn(p.dc, region), OGDI_ERROR);
    Ogdi_Region empty = ogdi_CreateRectRgn(30, 40, 10, 20);
    EXPECT_EQ(ogdi_SelectClipRgn(p.dc, empty), OGDI_NULLREGION);
    ogdi_DeleteObject(empty);
    EXPECT_EQ(ogdi_SelectClipRgn(p.dc, nullptr), OGDI_SIMPLEREGION);
}

TEST(ogdi_StartPage, DocumentAndPageOrder) {
    Printer p;
    EXPECT_EQ(ogdi_StartPage(p.dc), 0);
    EXPECT_EQ(ogdi_EndDoc(p.dc), 0);
    Ogdi_DocInfo info{20, "doc", nullptr, nullptr, 0};
    ASSERT_GT(ogdi_StartDocA(p.dc, &info), 0);
    EXPECT_EQ(ogdi_StartDocA(p.dc, &info), 0);
    EXPECT_EQ(ogdi_EndPage(p.dc), 0);
    ASSERT_GT(ogdi_StartPage(p.dc), 0);
    EXPECT_EQ(ogdi_StartPage(p.dc), 0);
    EXPECT_GT(ogdi_EndPage(p.dc), 0);
    ASSERT_GT(ogdi_StartPage(p.dc), 0);
    EXPECT_GT(ogdi_EndDoc(p.dc), 0); // closes the open page
    EXPECT_EQ(vmodhost_PrinterPageCount(p.dc), 2);
}

TEST(ogdi_Polyline, RefusesTooFewPoints) {
    Printer p;
    Ogdi_Point one[1] = {{1, 1}};
    EXPECT_EQ(ogdi_Polyline(p.dc, one, 1), 0);
    EXPECT_EQ(ogdi_Polyline(p.dc, nullptr, 3), 0);
    EXPECT_EQ(ogdi_Polygon(p.dc, one, -4), 0);
    EXPECT_EQ(ogdi_TextOutA(p.dc, 0, 0, nullptr, 3), 0);
    EXPECT_EQ(ogdi_TextOutA(p.dc, 0, 0, "abc", -1), 0);
}

TEST(ooml_LpGetItems, HandsOutTheSelectedPrinter) {
    Printer p;
    int32_t request = 0;
    Ogdi_DC dc = reinterpret_cast<Ogdi_DC>(0x1);
    vmodhost_PrinterSelect(nullptr);
    ooml_LpGetItems(&request, OOML_LP_PRINTER_DC, &dc, nullptr);
    EXPECT_EQ(dc, nullptr);
    vmodhost_PrinterSelect(p.dc);
    ooml_LpGetItems(&request, OOML_LP_PRINTER_DC, &dc, nullptr);
    EXPECT_EQ(dc, p.dc);
    Ogdi_DC other = nullptr;
    ooml_LpGetItems(&request, 3, &other, nullptr);
    EXPECT_EQ(other, nullptr);
    vmodhost_PrinterDelete(p.dc); // deselects it
    p.dc = nullptr;
    ooml_LpGetItems(&request, OOML_LP_PRINTER_DC, &dc, nullptr);
    EXPECT_EQ(dc, nullptr);
}

TEST(ogdi_TextOutA, AnyBytesDrawOnAPdfPage) {
    VMOD_SKIP_WITHOUT_CAIRO();
    std::string path = std::string(VMOD_BINARY_DIR) + "/print_scratch/bytes.pdf";
    Ogdi_DeviceContext *dc = vmodhost_PdfPrinterCreate(path.c_str());
    Ogdi_DocInfo info{20, "bytes", nullptr, nullptr, 0};
    ASSERT_GT(ogdi_StartDocA(dc, &info), 0);
    ASSERT_GT(ogdi_StartPage(dc), 0);
    std::string every;
    for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
    Ogdi_Font huge = Courier(INT32_MIN);
    ogdi_SelectObject(dc, huge);
    EXPECT_EQ(ogdi_TextOutA(dc, 100, 100, every.c_str(), static_cast<int32_t>(every.size())), 1);
    Ogdi_Font cell = Courier(120);
    ogdi_SelectObject(dc, cell);
    ogdi_SetBkMode(dc, OGDI_OPAQUE);
    ogdi_SetTextAlign(dc, OGDI_TA_RIGHT | OGDI_TA_BASELINE);
    EXPECT_EQ(ogdi_TextOutA(dc, 3000, 3000, every.c_str(), static_cast<int32_t>(every.size())), 1);
    EXPECT_EQ(ogdi_Arc(dc, 10, 10, 10, 50, 0, 0, 5, 5), 1); // flat ellipse: nothing to draw
    EXPECT_EQ(ogdi_Arc(dc, 100, 100, 400, 300, 400, 200, 100, 200), 1);
    EXPECT_GT(ogdi_EndPage(dc), 0);
    EXPECT_GT(ogdi_EndDoc(dc), 0);
    EXPECT_EQ(vmodhost_PrinterFailed(dc), 0);
    ogdi_DeleteObject(huge);
    ogdi_DeleteObject(cell);
    vmodhost_PrinterDelete(dc);
}

// A slanting line whose box holds the page but which passes by it adds nothing to the
// page; one that crosses the page is drawn. Each is a thousand lines here, so the file
// sizes tell them apart.
TEST(ogdi_LineTo, LinesThatPassThePageByAreLeftOut) {
    VMOD_SKIP_WITHOUT_CAIRO();
    auto printed = [](const char *name, int lines, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
        const std::string path = std::string(VMOD_BINARY_DIR) + "/print_scratch/" + name + ".pdf";
        Ogdi_DeviceContext *dc = vmodhost_PdfPrinterCreate(path.c_str());
        Ogdi_DocInfo info{20, name, nullptr, nullptr, 0};
        EXPECT_GT(ogdi_StartDocA(dc, &info), 0);
        EXPECT_GT(ogdi_StartPage(dc), 0);
        for (int i = 0; i < lines; ++i) {
            ogdi_MoveToEx(dc, fromX + i, fromY, nullptr);
            EXPECT_EQ(ogdi_LineTo(dc, toX + i, toY), 1);
        }
        EXPECT_GT(ogdi_EndPage(dc), 0);
        EXPECT_GT(ogdi_EndDoc(dc), 0);
        EXPECT_EQ(vmodhost_PrinterFailed(dc), 0);
        vmodhost_PrinterDelete(dc);
        std::FILE *file = std::fopen(path.c_str(), "rb");
        EXPECT_NE(file, nullptr);
        if (file == nullptr) return 0L;
        std::fseek(file, 0, SEEK_END);
        const long size = std::ftell(file);
        std::fclose(file);
        return size;
    };
    // The page is 5100 by 6600 pixels at 600 per inch.
    const long empty = printed("pass_none", 0, 0, 0, 0, 0);
    const long passing = printed("pass_by", 1000, -20000, 7000, 20000, -9000);
    const long crossing = printed("pass_across", 1000, -20000, 9000, 20000, -3000);
    EXPECT_LT(passing - empty, 200) << "lines that miss the page were drawn";
    EXPECT_GT(crossing - empty, 5000) << "lines across the page were left out";
}
