// cmd_eps.cpp - `vmod eps MODEL OUT.eps`: the diagram as an Encapsulated PostScript file.
#include "commands.h"
#include "vmodhost/oerr.h"
#include "print_support.h"
#include "representable_model.h"
#include "vmod/vmod.h"

static int runEps(const ToolCommand &self, const std::vector<std::string> &args) {
    if (!tool_ExpectArguments(self, args, 2)) return TOOL_USAGE;
    PrintedModel printed;
    if (!printed.Read(args[0])) return TOOL_FAILED;
    if (!tool_CheckRepresentable(self, args[0], printed.model)) return TOOL_FAILED;
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelEPS(args[1].c_str(), &printed.model, &err);
    if (err == nullptr) return TOOL_OK;
    // The tool keeps the library's immediate reports quiet and says itself which file
    // could not be written and why.
    tool_PrintWriteFailure(self, &err);
    return TOOL_FAILED;
}

extern const ToolCommand tool_command_eps = {
    "eps", "MODEL OUT.eps", "write the diagram of MODEL as an Encapsulated PostScript file",
    "The picture spans the node centres with an inch of border; the file's title is the\n"
    "model's path.\n",
    runEps};
