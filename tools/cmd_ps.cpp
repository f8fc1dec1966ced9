// cmd_ps.cpp - `vmod ps MODEL OUT.ps [--pages FIRST-LAST]`: the diagram as a paged
// PostScript print, composed the way a front end does it: the paged-print prologue, the
// glyph procedures, a procedure "picture" that draws the model (with the page labels when
// the model asks for page numbers), then one "printpage" per page.
#include <cstdio>

#include "commands.h"
#include "host/oerr.h"
#include "host/ofio.h"
#include "print_support.h"
#include "representable_model.h"
#include "vmod/vmod.h"

static void writePicture(Ofio_File *file, Vmod_Model &model, int32_t first, int32_t last) {
    ofio_Fprintf(file, "/picture {\n\tgsave\n");
    for (Vmod_Node *node = model.nodes; node; node = node->next) {
        Oerr_ErrorReport *ignored = nullptr;
        vmod_NodePrint(file, &model, node, &ignored);
        if (node->next) ofio_Fprintf(file, "\n");
    }
    if (model.pageNumbers) vmod_PrintPageNumbers(file, &model, first, last);
    ofio_Fprintf(file, "\tgrestore\n} def\n\n");
}

static int runPs(const ToolCommand &self, const std::vector<std::string> &args) {
    PrintArguments arguments;
    if (!tool_ParsePrintArguments(self, args, false, arguments)) return TOOL_USAGE;
    PrintedModel printed;
    if (!printed.Read(arguments.positional[0])) return TOOL_FAILED;
    if (!tool_CheckRepresentable(self, arguments.positional[0], printed.model)) return TOOL_FAILED;
    if (!tool_ChoosePages(self, printed.model, arguments)) return TOOL_USAGE;

    const std::string &out = arguments.positional[1];
    Oerr_ErrorReport *err = nullptr;
    Ofio_File *file = ofio_Open(out.c_str(), "w", &err);
    if (file == nullptr) {
        tool_PrintAndDeleteReport(&err);
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
    writePicture(file, printed.model, arguments.first, arguments.last);
    for (int32_t page = arguments.first; page <= arguments.last; ++page) {
        int32_t column = 1, row = 1;
        tool_PageCell(printed.model, page, column, row);
        ofio_Fprintf(file, "{picture} %d %d printpage\n", column, row);
    }
    if (ofio_Close(file, 0) == -1) {
        std::fprintf(stderr, "vmod ps: could not write %s\n", out.c_str());
        return TOOL_FAILED;
    }
    return TOOL_OK;
}

extern const ToolCommand tool_command_ps = {
    "ps", "MODEL OUT.ps [--pages FIRST-LAST]", "write the diagram of MODEL as a paged PostScript print",
    "Pages tile the diagram as the model's printer page, margins, orientation and print\n"
    "scale say, numbered across then down; by default every page the diagram covers is\n"
    "written. With the model's page numbers on, each page is labelled.\n",
    runPs};
