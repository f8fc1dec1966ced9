// The kit's printing: the page grid of a model spread over several pages, the pages that
// hold something, a grid widened to cover every node, a printer that fails, and the
// pages of a paged PostScript print.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_print_support.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ogdi.h"
#include "vmodhost/vmodhost.h"
#include "vmodhost/vmodhost_printer.h"
#include "vmodkit/vmodkit_print.h"

namespace {

// Letter paper with half-inch margins shows 7.5 by 10 inches of the model a page: a node
// at (2, 2) is on page 1 and one at (2, 25) in the first column of the third row, page 5
// of a grid two pages wide (the 8.5 inch model page).
struct SpreadModel : PrintModel {
    Vmod_Node *top = at(VMOD_RASTER, 1, 2, 2, "top");
    Vmod_Node *bottom = at(VMOD_RASTER, 2, 2, 25, "bottom");
};

std::vector<int32_t> Holding(const Vmod_Model &model, Vmodkit_Printout printout) {
    int32_t *numbers = nullptr;
    size_t count = 0;
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(vmodkit_PagesHoldingSomething(&model, printout, &numbers, &count, &err), 1);
    EXPECT_EQ(err, nullptr);
    std::vector<int32_t> pages(numbers, numbers + count);
    vmodkit_Free(numbers);
    return pages;
}

// A recording printer selected for the test.
struct SelectedPrinter {
    Ogdi_DeviceContext *dc = vmodhost_RecordingPrinterCreate();
    SelectedPrinter() { vmodhost_PrinterSelect(dc); }
    ~SelectedPrinter() { vmodhost_PrinterDelete(dc); }
};

} // namespace

TEST(vmodkit_PageCount, RowsReachTheLowestNode) {
    SpreadModel m;
    Vmodkit_Pages pages{};
    ASSERT_EQ(vmodkit_PageCount(&m.model, &pages), 1);
    EXPECT_EQ(pages.columns, 2);
    EXPECT_EQ(pages.rows, 3);
    EXPECT_EQ(pages.total, 6);
}

// Blank pages are left out; an arrow marks every page its line crosses.
TEST(vmodkit_PagesHoldingSomething, NodesAndTheArrowBetweenThem) {
    SpreadModel m;
    EXPECT_EQ(Holding(m.model, VMODKIT_PRINTER), (std::vector<int32_t>{1, 5}));
    m.arrow(m.top, m.bottom);
    EXPECT_EQ(Holding(m.model, VMODKIT_PRINTER), (std::vector<int32_t>{1, 3, 5}));
    EXPECT_EQ(Holding(m.model, VMODKIT_POSTSCRIPT), (std::vector<int32_t>{1, 3, 5}));
    PrintModel empty;
    EXPECT_TRUE(Holding(empty.model, VMODKIT_PRINTER).empty());
}

// A node left of the first page moves the diagram a whole page right.
TEST(vmodkit_CoverEveryNode, InkLeftOfThePageMovesTheDiagram) {
    SpreadModel m;
    m.top->x = -1;
    Vmodkit_Widening widening{};
    ASSERT_EQ(vmodkit_CoverEveryNode(&m.model, VMODKIT_PRINTER, &widening, nullptr), 1);
    EXPECT_TRUE(widening.widened);
    EXPECT_EQ(widening.columnsShifted, 1);
    EXPECT_EQ(widening.rowsShifted, 0);
    EXPECT_EQ(widening.columnsBefore, 2);
    EXPECT_EQ(widening.columns, 3);
    EXPECT_EQ(fieldValue(m.top->x), 6.5);
    EXPECT_EQ(fieldValue(m.bottom->x), 9.5);
    // Covered now: a second call changes nothing.
    ASSERT_EQ(vmodkit_CoverEveryNode(&m.model, VMODKIT_PRINTER, &widening, nullptr), 1);
    EXPECT_FALSE(widening.widened);
    EXPECT_EQ(fieldValue(m.top->x), 6.5);
}

TEST(vmodkit_PrintPages, PrintsOnTheSelectedPrinter) {
    SpreadModel m;
    SelectedPrinter printer;
    const int32_t pages[] = {1, 5};
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(vmodkit_PrintPages(&m.model, pages, 2, 6, &err), 1);
    EXPECT_EQ(err, nullptr);
    EXPECT_EQ(vmodhost_PrinterPageCount(printer.dc), 2);
}

// A printer that refuses to start the document (one is already in progress) or none at
// all: the print reports failure instead of looking like one that succeeded.
TEST(vmodkit_PrintPages, PrinterThatDoesNotStartReportsFailure) {
    SpreadModel m;
    const int32_t pages[] = {1};
    Oerr_ErrorReport *err = nullptr;
    {
        SelectedPrinter printer;
        Ogdi_DocInfo info{};
        info.cbSize = sizeof info;
        ASSERT_GT(ogdi_StartDocA(printer.dc, &info), 0);
        EXPECT_EQ(vmodkit_PrintPages(&m.model, pages, 1, 1, &err), 0);
        EXPECT_NE(err, nullptr);
        oerr_DeleteErrorReportEx(&err);
    }
    EXPECT_EQ(vmodkit_PrintPages(&m.model, pages, 1, 1, &err), 0);
    EXPECT_NE(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
}

// Each page is marked with its grid number and its place in the document, and printed
// at its own column and row; the trailer counts the pages written.
TEST(vmodkit_WritePostScript, PagesAtTheirColumnsAndRows) {
    SpreadModel m;
    const std::string path = ScratchPath("paged.ps");
    Ofio_File *file = ofio_Open(path.c_str(), "w", nullptr);
    const int32_t pages[] = {1, 6};
    EXPECT_EQ(vmodkit_WritePostScript(&m.model, file, pages, 2, nullptr), 1);
    ofio_Close(file, 0);
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(text.rfind("%!PS-Adobe-3.0\n", 0), 0u);
    EXPECT_NE(text.find("%%EndSetup\n%%Page: 1 1\n{picture} 1 1 printpage\n%%Page: 6 2\n{picture} 2 3 printpage\n"
                        "%%Trailer\n%%Pages: 2\n%%EOF\n"),
              std::string::npos)
        << text;
}
