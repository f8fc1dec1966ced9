// printer_model.cpp - vmod_ModelPrint: pages of the diagram on the printer that the
// user-interface host hands out.
//
// Design of the printer output. The diagram is cut into the page grid of page_grid.h.
// Every page is clipped to the printable area of the paper (the margins are physical)
// and the page origin is chosen so that the model point at the page's column and row of
// the grid lands on the clip's corner; then every node of the model is drawn and the
// clip discards what falls outside, so each node centre shows on exactly one page. At
// 100 percent in portrait this is the grid the model's printer page size and margins
// describe, page for page.
#include <cstring>
#include <vector>

#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"
#include "model/node_index.h"
#include "print/page_grid.h"
#include "print/printer_model.h"
#include "print/printer_state.h"
#include "glyph/truncation.h"
#include "vmod/vmod.h"

namespace vmod::print {

namespace {

using vmod::TruncateToInt32;

constexpr char kDocumentName[] = "model - ORVAN VISTARA";

// The printer's fixed-pitch face with the document's settings; null when it cannot be made.
HFONT CourierFont(int32_t height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       PROOF_QUALITY, FF_MODERN, "Courier New");
}

void ClipToPrintableArea(const PrinterState &s, const PageGrid &grid, int32_t &clipLeft, int32_t &clipTop) {
    const int32_t horzRes = GetDeviceCaps(s.dc, HORZRES), vertRes = GetDeviceCaps(s.dc, VERTRES);
    // Margins are physical: device pixels per inch, not per model inch.
    clipLeft = TruncateToInt32(s.logPixelsX * grid.marginLeft);
    clipTop = TruncateToInt32(s.logPixelsY * grid.marginTop);
    const int32_t right = TruncateToInt32(horzRes - s.logPixelsX * grid.marginRight);
    const int32_t bottom = TruncateToInt32(vertRes - s.logPixelsY * grid.marginBottom);
    HRGN region = CreateRectRgn(clipLeft, clipTop, right, bottom);
    SelectClipRgn(s.dc, region);
    DeleteObject(region);
}

// False when the printer refused to start or finish a page.
bool PrintPages(PrinterState &s, const Vmod_Model &model, const std::vector<int32_t> &pages, int32_t last) {
    const PageGrid grid = MakePageGrid(model);
    // Built once for all pages; without memory for it the arrows walk the list.
    ModelNodeIndex index;
    try {
        index = ModelNodeIndex(model.nodes);
        s.index = &index;
    } catch (...) {
        s.index = nullptr;
    }
    HFONT labelFont = nullptr;
    bool labelFontTried = false;
    bool printed = true;
    for (const int32_t page : pages) {
        if (StartPage(s.dc) <= 0) printed = false;
        int32_t clipLeft = 0, clipTop = 0;
        ClipToPrintableArea(s, grid, clipLeft, clipTop);
        const PageCell cell = PageCellOf(grid, page);
        s.pageOriginX = TruncateToInt32(grid.modelAcross * cell.column0 * s.printerScaleX - clipLeft);
        s.pageOriginY = TruncateToInt32(grid.modelDown * cell.row0 * s.printerScaleY - clipTop);

        for (const Vmod_Node *node = model.nodes; node; node = node->next) PrintNode(s, model, *node);

        if (model.pageNumbers) {
            if (!labelFontTried) {
                labelFontTried = true;
                labelFont = CourierFont(-TruncateToInt32(9.0 * s.fontResolution / 72 + 0.5));
            }
            HGDIOBJ previous = labelFont ? SelectObject(s.dc, labelFont) : nullptr;
            char label[256];
            ofio_Snprintf(label, sizeof label, "(Page %d of %d)", page, last);
            // Centred 0.75 inch above the bottom of the paper, in unscaled device pixels.
            TextOutA(s.dc, TruncateToInt32(s.logPixelsX * grid.paperAcross * 0.5),
                     TruncateToInt32(s.logPixelsY * (grid.paperDown - 0.75)), label,
                     static_cast<int32_t>(std::strlen(label)));
            if (previous) SelectObject(s.dc, previous);
        }
        if (EndPage(s.dc) <= 0) printed = false;
    }
    if (labelFont) DeleteObject(labelFont);
    s.index = nullptr; // the index goes with this call
    return printed;
}

} // namespace

bool ModelPrintPages(Vmod_Model &model, const std::vector<int32_t> &pages, int32_t labelLast) {
    int32_t request = 0;
    HDC dc = nullptr;
    ooml_LpGetItems(&request, OOML_LP_PRINTER_DC, &dc, nullptr);
    if (!dc) return false;

    PrinterState s;
    s.dc = dc;
    s.printScale = EffectivePrintScale(model);
    s.logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    s.logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    s.printerScaleX = s.logPixelsX * s.printScale * 0.01;
    s.printerScaleY = s.logPixelsY * s.printScale * 0.01;
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    SetBkMode(dc, TRANSPARENT);

    s.fontResolution = s.logPixelsX ? s.logPixelsX : 95;
    HFONT documentFont = CourierFont(-vmod::TruncateToInt32(s.fontResolution * s.printScale / 600 + 0.5));
    if (documentFont) SelectObject(dc, documentFont);

    char *name = ostr_Duplicate(kDocumentName);
    DOCINFOA info{20, name, nullptr, nullptr, 0};
    // The calls are the same whatever the printer answers; the answers only decide what
    // is returned.
    bool printed = StartDocA(dc, &info) > 0;
    if (!PrintPages(s, model, pages, labelLast)) printed = false;
    if (EndDoc(dc) <= 0) printed = false;
    if (documentFont) DeleteObject(documentFont);
    omsc_HeapFree(name);
    return printed;
}

} // namespace vmod::print

extern "C" {

void vmod_ModelPrint(Vmod_Model *model, int32_t first, int32_t last, Oerr_ErrorReport **err) {
    using namespace vmod::print;
    const Model_KeptReport kept(err);
    if (!model) return;
    model_Guarded<int>(0, [&] {
        std::vector<int32_t> pages;
        if (ClampPageRange(MakePageGrid(*model), first, last))
            for (int64_t page = first; page <= last; ++page) pages.push_back(static_cast<int32_t>(page));
        ModelPrintPages(*model, pages, last);
        return 0;
    });
}

} // extern "C"
