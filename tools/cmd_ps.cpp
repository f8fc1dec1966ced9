// cmd_ps.cpp - `vmod ps MODEL OUT.ps [--pages FIRST-LAST] [--as-saved]`: the diagram as
// a paged PostScript print of the pages tool_ChoosePages picks, written by the kit
// (vmodkit_WritePostScript) into a file saved whole or not at all.
#include <cstdio>

#include "commands.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "print_support.h"
#include "representable_model.h"
#include "vmod/vmod.h"

static int runPs(const ToolCommand &self, const std::vector<std::string> &args) {
    PrintArguments arguments;
    if (!tool_ParsePrintArguments(self, args, false, arguments, true)) return TOOL_USAGE;
    PrintedModel printed;
    ChosenPages chosen;
    if (int status = tool_ReadPagedModel(self, arguments, VMODKIT_POSTSCRIPT, printed, chosen); status != TOOL_OK)
        return status;

    const std::string &out = arguments.positional[1];
    Oerr_ErrorReport *err = nullptr;
    // The print is saved whole or not at all: a failure leaves an earlier file as it was.
    Ofio_File *file = ofio_SaveOpen(out.c_str(), &err);
    if (file == nullptr) {
        tool_PrintWriteFailure(self, &err);
        return TOOL_FAILED;
    }
    if (!vmodkit_WritePostScript(&printed.model, file, chosen.pages.data(), chosen.pages.size(), &err) &&
        !ofio_HasError(file)) {
        // Not a write failure (those are told when the file is closed): nothing is saved.
        tool_PrintAndDeleteReport(&err);
        ofio_SaveCancel(file);
        return TOOL_FAILED;
    }
    oerr_DeleteErrorReportEx(&err);
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
