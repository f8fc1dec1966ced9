// cmd_anno.cpp - `vmod anno MODEL OUT.svg`: read a model and export its diagram as an
// annotation layer (an SVG document in inches).
#include "commands.h"
#include "vmodhost/oerr.h"
#include "representable_model.h"
#include "vmod/vmod.h"

static int runAnno(const ToolCommand &self, const std::vector<std::string> &args) {
    Vmod_Model model;
    if (int status = tool_ReadModelArgument(self, args, 2, &model); status != TOOL_OK)
        return status;
    if (!tool_CheckRepresentable(self, args[0], model)) {
        tool_ModelRelease(&model);
        return TOOL_FAILED;
    }
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelAnno(&model, args[1].c_str(), &err);
    int status = TOOL_OK;
    if (err != nullptr) {
        // The tool keeps the library's immediate reports quiet and says itself which
        // file could not be written and why.
        tool_PrintWriteFailure(self, &err);
        status = TOOL_FAILED;
    }
    tool_ModelRelease(&model);
    return status;
}

extern const ToolCommand tool_command_anno = {
    "anno", "MODEL OUT.svg", "export the diagram as an annotation layer (SVG, inches)",
    "The layer is in inches with y upward: every node's glyph group or text, its title as\n"
    "a label, and every arrow with its head, on a white background one inch beyond the\n"
    "outermost node centres. OUT.svg is replaced whole; when it cannot be created or\n"
    "written it is left as it was and the reason is printed.\n",
    runAnno};
