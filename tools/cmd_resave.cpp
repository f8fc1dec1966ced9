// cmd_resave.cpp - `vmod resave MODEL OUT`: read a model and write it again.
#include <cstdio>

#include "commands.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"

static int runResave(const ToolCommand &self, const std::vector<std::string> &args) {
    Vmod_Model model;
    if (int status = tool_ReadModelArgument(self, args, 2, &model); status != TOOL_OK)
        return status;
    Oerr_ErrorReport *err = nullptr;
    // The writer saves to the model's own path.
    omsc_HeapFree(model.fileName);
    model.fileName = ostr_Duplicate(args[1].c_str());
    vmod_ModelWrite(&model, &err);
    int status = TOOL_OK;
    if (err != nullptr) {
        tool_PrintAndDeleteReport(&err);
        status = TOOL_FAILED;
    }
    tool_ModelRelease(&model);
    return status;
}

extern const ToolCommand tool_command_resave = {
    "resave", "MODEL OUT", "read MODEL and write it to OUT in the model-file format",
    "OUT is replaced atomically; on failure it is left as it was and the report is printed.\n", runResave};
