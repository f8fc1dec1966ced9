// kit_postscript.cpp - a paged PostScript print, composed as a front end composes it: the
// paged-print prologue (vmod_HeaderPrint), the glyph procedures, a procedure "picture"
// that draws the model (with the page labels when the model asks for page numbers), then
// one "printpage" per page, framed by document-structure comments (setup with the sheet,
// one "%%Page" per page, trailer) so a viewer can page through it.
#include <vector>

#include "kit_guard.h"
#include "print/eps_node.h"
#include "print/page_grid.h"
#include "vmodhost/ofio.h"
#include "vmodkit/vmodkit_print.h"

namespace {

// The picture draws every node, and the labels of the pages printed (one run of
// consecutive pages at a time, so a whole grid has one block of labels).
void WritePicture(Ofio_File *file, Vmod_Model &model, const int32_t *pages, size_t count) {
    ofio_Fprintf(file, "/picture {\n\tgsave\n");
    vmod::print::WriteNodes(file, model);
    if (model.pageNumbers) {
        for (size_t i = 0; i < count;) {
            size_t end = i + 1;
            while (end < count && pages[end] == pages[end - 1] + 1) ++end;
            vmod_PrintPageNumbers(file, &model, pages[i], pages[end - 1]);
            i = end;
        }
    }
    ofio_Fprintf(file, "\tgrestore\n} def\n\n");
}

// After the procedures: ends the prologue and asks the device for the model's sheet.
void WriteSetup(Ofio_File *file, const Vmod_Model &model) {
    ofio_Fprintf(file, "%%%%EndProlog\n");
    ofio_Fprintf(file, "%%%%BeginSetup\n");
    if (vmod::print::UsableSheet(model)) {
        // A device that cannot change its paper keeps its own; the print goes on.
        ofio_Fprintf(file, "/setpagedevice where {\n");
        ofio_Fprintf(file, "\tpop mark { << /PageSize [%g %g] >> setpagedevice } stopped cleartomark\n",
                     model.printerPageWidth * 72, model.printerPageHeight * 72);
        ofio_Fprintf(file, "} if\n");
    }
    ofio_Fprintf(file, "%%%%EndSetup\n");
}

// One page: its grid number as its label, its place in the document (from 1), and the
// "printpage" of the procedure "picture" at its column and row (from 1).
void WritePage(Ofio_File *file, const vmod::print::PageGrid &grid, int32_t page, int32_t ordinal) {
    const vmod::print::PageCell cell = vmod::print::PageCellOf(grid, page);
    ofio_Fprintf(file, "%%%%Page: %d %d\n", page, ordinal);
    ofio_Fprintf(file, "{picture} %d %d printpage\n", cell.column0 + 1, cell.row0 + 1);
}

} // namespace

extern "C" {

int32_t vmodkit_WritePostScript(Vmod_Model *model, Ofio_File *file, const int32_t *numbers, size_t count,
                                Oerr_ErrorReport **err) {
    if (model == nullptr || file == nullptr || (numbers == nullptr && count > 0) || count > VMODKIT_MAX_PAGES) {
        kit_Report(err, "vmodkit_WritePostScript", VMOD_ERR_FAILED, "no model or file, or no usable list of pages");
        return 0;
    }
    return kit_Guarded<int32_t>("vmodkit_WritePostScript", err, 0, [&] {
        vmod_HeaderPrint(file, model);
        vmod::print::WriteGlyphProcedures(file);
        WritePicture(file, *model, numbers, count);
        WriteSetup(file, *model);
        const vmod::print::PageGrid grid = vmod::print::MakePageGrid(*model);
        for (size_t i = 0; i < count; ++i) WritePage(file, grid, numbers[i], static_cast<int32_t>(i + 1));
        ofio_Fprintf(file, "%%%%Trailer\n");
        ofio_Fprintf(file, "%%%%Pages: %d\n", static_cast<int32_t>(count));
        ofio_Fprintf(file, "%%%%EOF\n");
        if (!ofio_HasError(file)) return 1;
        kit_Report(err, "vmodkit_WritePostScript", VMOD_ERR_FAILED, "the print could not be written");
        return 0;
    });
}

} // extern "C"
