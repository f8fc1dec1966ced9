// cmd_print.cpp - `vmod print MODEL OUT.pdf [--pages FIRST-LAST] [--dpi N] [--as-saved]`:
// prints the diagram on the host's PDF printer, set up from the model's printer page and
// orientation, on the pages tool_ChoosePages picks.
#include <cstdio>

#include "commands.h"
#include "vmodhost/oerr.h"
#include "print_support.h"
#include "representable_model.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "vmodhost/vmodhost_printer.h"

static int runPrint(const ToolCommand &self, const std::vector<std::string> &args) {
    PrintArguments arguments;
    if (!tool_ParsePrintArguments(self, args, true, arguments, true)) return TOOL_USAGE;
    if (!vmodhost_HasCairo()) {
        std::fprintf(stderr, "vmod print: this vmod was built without Cairo and has no PDF printer\n");
        return TOOL_FAILED;
    }
    PrintedModel printed;
    ChosenPages chosen;
    if (int status = tool_ReadPagedModel(self, arguments, VMODKIT_PRINTER, printed, chosen); status != TOOL_OK)
        return status;

    const std::string &out = arguments.positional[1];
    Ogdi_DeviceContext *printer = vmodhost_PdfPrinterCreate(out.c_str());
    vmodhost_PrinterSetResolution(printer, arguments.dpi);
    // A paper size the printer refuses leaves it on letter paper.
    vmodhost_PrinterSetPaper(printer, printed.model.printerPageWidth, printed.model.printerPageHeight);
    vmodhost_PrinterSetOrientation(printer, printed.model.orientation != VMOD_PORTRAIT ? 1 : 0);
    vmodhost_PrinterSelect(printer);

    // The kit says whether the printer started and finished the document and every page.
    Oerr_ErrorReport *err = nullptr;
    const bool failed = !vmodkit_PrintPages(&printed.model, chosen.pages.data(), chosen.pages.size(),
                                            chosen.labelLast, &err);
    oerr_DeleteErrorReportEx(&err);
    // The printer saves the PDF whole or not at all and knows why it could not.
    const char *failure = vmodhost_PrinterFailure(printer);
    const std::string reason = failure ? failure : "could not write " + out;
    vmodhost_PrinterDelete(printer);
    if (failed) {
        std::fprintf(stderr, "vmod print: %s\n", reason.c_str());
        return TOOL_FAILED;
    }
    return TOOL_OK;
}

extern const ToolCommand tool_command_print = {
    "print", "MODEL OUT.pdf [--pages FIRST-LAST] [--dpi N] [--as-saved]", "print the diagram of MODEL into a PDF file",
    "The printer has the model's printer page size (letter paper when that is unusable),\n"
    "turned in landscape, at N pixels per inch (default 600); lines are 0.01 inch wide at\n"
    "any resolution. Pages tile the diagram, numbered across then down. The grid is\n"
    "widened (in memory, never in the file) to cover every node and note; --as-saved\n"
    "keeps the model's own grid. By default every page that holds something is printed;\n"
    "--pages prints the pages asked, blank or not. A print holds at most 10000 pages.\n"
    "The PDF's title is \"model - ORVAN VISTARA\".\n",
    runPrint};
