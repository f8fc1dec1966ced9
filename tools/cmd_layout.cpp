// cmd_layout.cpp - `vmod layout MODEL OUT`: lay the diagram out as a layered drawing in the
// direction of data flow and write the model to OUT.
#include "commands.h"
#include "vmod/vmod.h"
#include "vmodkit/vmodkit_layout.h"
#include "vmodkit/vmodkit_model.h"

static int runLayout(const ToolCommand &self, const std::vector<std::string> &args) {
    Vmod_Model model;
    if (int status = tool_ReadModelArgument(self, args, 2, &model); status != TOOL_OK) return status;
    Oerr_ErrorReport *err = nullptr;
    int status = TOOL_OK;
    if (!vmodkit_Layout(&model, &err)) {
        tool_PrintAndDeleteReport(&err);
        status = TOOL_FAILED;
    } else if (!vmodkit_ModelSaveAs(&model, args[1].c_str(), &err)) {
        tool_PrintWriteFailure(self, &err);
        status = TOOL_FAILED;
    }
    tool_ModelRelease(&model);
    return status;
}

extern const ToolCommand tool_command_layout = {
    "layout", "MODEL OUT", "arrange MODEL's diagram from left to right in the direction of data flow",
    "Moves every node so that the diagram reads from left to right along the arrows: the\n"
    "data a model starts from in the first column, each node right of what it reads, boxes\n"
    "and titles clear of each other; text notes go in a row under the drawing. Only the\n"
    "positions change. OUT is replaced atomically. Needs a vmod built with Graphviz.\n",
    runLayout};
