// cmd_ps.cpp - `vmod ps MODEL OUT.ps [--pages FIRST-LAST] [--as-saved]`: the diagram as
// a paged PostScript print, composed the way a front end does it: the paged-print
// prologue, the glyph procedures, a procedure "picture" that draws the model (with the
// page labels when the model asks for page numbers), then one "printpage" per page,
// framed as a document of pages a viewer can page through.
#include <cstdio>

#include "commands.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "print/eps_node.h"
#include "print/ps_paged.h"
#include "print_support.h"
#include "representable_model.h"
#include "vmod/vmod.h"

// The picture draws every node, and the labels of the pages printed (one run of
// consecutive pages at a time, so a whole grid has one block of labels).
static void writePicture(Ofio_File *file, Vmod_Model &model, const std::vector<int32_t> &pages) {
    ofio_Fprintf(file, "/picture {\n\tgsave\n");
    vmod::print::WriteNodes(file, model);
    if (model.pageNumbers) {
        for (size_t i = 0; i < pages.size();) {
            size_t end = i + 1;
            while (end < pages.size() && pages[end] == pages[end - 1] + 1) ++end;
            vmod_PrintPageNumbers(file, &model, pages[i], pages[end - 1]);
            i = end;
        }
    }
    ofio_Fprintf(file, "\tgrestore\n} def\n\n");
}

static int runPs(const ToolCommand &self, const std::vector<std::string> &args) {
    PrintArguments arguments;
    if (!tool_ParsePrintArguments(self, args, false, arguments, true)) return TOOL_USAGE;
    PrintedModel printed;
    ChosenPages chosen;
    if (int status = tool_ReadPagedModel(self, arguments, vmod::print::Printout::kPostScript, printed, chosen); status != TOOL_OK)
        return status;

    const std::string &out = arguments.positional[1];
    Oerr_ErrorReport *err = nullptr;
    // The print is saved whole or not at all: a failure leaves an earlier file as it was.
    Ofio_File *file = ofio_SaveOpen(out.c_str(), &err);
    if (file == nullptr) {
        tool_PrintWriteFailure(self, &err);
        return TOOL_FAILED;
    }
    vmod_HeaderPrint(file, &printed.model);
    vmod_RasterPrint(file);
    vmod_VectorPrint(file);
    vmod_MatrixPrint(file);
    vmod_TablePrint(file);
    vmod_ScalarPrint(file);
    vmod_FunctionPrint(file);
    vmod_CriteriaPrint(file);
    vmod_ArrowPrint(file);
    writePicture(file, printed.model, chosen.pages);
    vmod::print::WritePagedSetup(file, printed.model);
    int32_t ordinal = 0;
    for (const int32_t page : chosen.pages) {
        int32_t column = 1, row = 1;
        tool_PageCell(printed.model, page, column, row);
        vmod::print::WritePagedPage(file, page, ++ordinal, column, row);
    }
    vmod::print::WritePagedTrailer(file, ordinal);
    if (ofio_SaveClose(file, &err) == -1) {
        tool_PrintWriteFailure(self, &err);
        return TOOL_FAILED;
    }
    return TOOL_OK;
}

extern const ToolCommand tool_command_ps = {
    "ps", "MODEL OUT.ps [--pages FIRST-LAST] [--as-saved]", "write the diagram of MODEL as a paged PostScript print",
    "Pages tile the diagram as the model's printer page, margins, orientation and print\n"
    "scale say, numbered across then down. The grid is widened (in memory, never in the\n"
    "file) to cover every node and note; --as-saved keeps the model's own grid. By\n"
    "default every page that holds something is written; --pages writes the pages asked,\n"
    "blank or not. A print holds at most 10000 pages. With the model's page numbers on,\n"
    "each page is labelled with its number in the grid.\n",
    runPs};
