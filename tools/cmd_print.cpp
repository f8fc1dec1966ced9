// cmd_print.cpp - `vmod print MODEL OUT.pdf [--pages FIRST-LAST] [--dpi N]`: prints the
// diagram on the host's PDF printer, set up from the model's printer page and
// orientation.
#include <cstdio>

#include "commands.h"
#include "host/oerr.h"
#include "print_support.h"
#include "representable_model.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "vmodhost/vmodhost_printer.h"

static int runPrint(const ToolCommand &self, const std::vector<std::string> &args) {
    PrintArguments arguments;
    if (!tool_ParsePrintArguments(self, args, true, arguments)) return TOOL_USAGE;
    if (!vmodhost_HasCairo()) {
        std::fprintf(stderr, "vmod print: this vmod was built without Cairo and has no PDF printer\n");
        return TOOL_FAILED;
    }
    PrintedModel printed;
    if (!printed.Read(arguments.positional[0])) return TOOL_FAILED;
    if (!tool_CheckRepresentable(self, arguments.positional[0], printed.model)) return TOOL_FAILED;
    if (!tool_ChoosePages(self, printed.model, arguments)) return TOOL_USAGE;

    const std::string &out = arguments.positional[1];
    Ogdi_DeviceContext *printer = vmodhost_PdfPrinterCreate(out.c_str());
    vmodhost_PrinterSetResolution(printer, arguments.dpi);
    // A paper size the printer refuses leaves it on letter paper.
    vmodhost_PrinterSetPaper(printer, printed.model.printerPageWidth, printed.model.printerPageHeight);
    vmodhost_PrinterSetOrientation(printer, printed.model.orientation ? 1 : 0);
    vmodhost_PrinterSelect(printer);

    Oerr_ErrorReport *err = nullptr;
    vmod_ModelPrint(&printed.model, arguments.first, arguments.last, &err);
    oerr_DeleteErrorReportEx(&err);
    const bool failed = vmodhost_PrinterFailed(printer) != 0;
    const int32_t pages = vmodhost_PrinterPageCount(printer);
    vmodhost_PrinterDelete(printer);
    if (failed || pages != arguments.last - arguments.first + 1) {
        std::fprintf(stderr, "vmod print: could not write %s\n", out.c_str());
        return TOOL_FAILED;
    }
    return TOOL_OK;
}

extern const ToolCommand tool_command_print = {
    "print", "MODEL OUT.pdf [--pages FIRST-LAST] [--dpi N]", "print the diagram of MODEL into a PDF file",
    "The printer has the model's printer page size (letter paper when that is unusable),\n"
    "turned in landscape, at N pixels per inch (default 600). Pages tile the diagram,\n"
    "numbered across then down; by default every page the diagram covers is printed.\n"
    "The PDF's title is \"model - ORVAN VISTARA\".\n",
    runPrint};
