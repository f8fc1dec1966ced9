// script_prompt.h - asking the user for a file name through one of the model's choosers.
#ifndef VMOD_SCRIPT_PROMPT_H
#define VMOD_SCRIPT_PROMPT_H

#include <optional>
#include <string>

#include "script/script_context.h"

// How the chooser is set up before it is shown.
enum class ScriptPromptSetup {
    None,             // title and query only
    NewRaster,        // raster type with creation options, "*.img" template
    ExistingRaster,   // raster type, "*.img" template
    CoverageFilter,   // filter value "*.arcinfo"
    AnnotationFilter, // filter value "*.ovr"
    ImageLayer,       // titled first, then raster type and "*.img" template
};

// Titles the chooser with prompt followed by the node's title and shows it over the
// model's frame. Returns the chosen file name, or nothing when the user cancelled or chose
// a name that cannot be written between quotes (context.stopReason then says so). When
// the output file has already failed, nothing is asked and the prompt counts as cancelled:
// the script cannot be complete, so the user is not kept answering for it.
std::optional<std::string> script_PromptFile(ScriptContext &context, Ooml_Part *chooser, const char *prompt,
                                             const Vmod_Node *node, ScriptPromptSetup setup);

// The file a statement names: the stored one, or when ask is set the one the user chooses
// through script_PromptFile. False when the prompt counts as cancelled.
bool script_FileName(ScriptContext &context, bool ask, const char *stored, Ooml_Part *chooser, const char *prompt,
                     const Vmod_Node *node, ScriptPromptSetup setup, std::string &name);

#endif
