// script_context.h - what every section of the script generator shares: the output file,
// the model, the node index built by the model check, and the helpers that write banners
// and stand in for missing texts.
#ifndef VMOD_SCRIPT_CONTEXT_H
#define VMOD_SCRIPT_CONTEXT_H

#include <cstdint>
#include <string>

#include "vmod/vmod_records.h"

struct ScriptGraph;

// A search for the next operation to define, with the meaning of vmod_NextFunction.
typedef Vmod_Node *(*ScriptNextOperation)(Vmod_Node *anyNode, Oerr_ErrorReport **err);

struct ScriptContext {
    Vmod_Model *model = nullptr;
    Ofio_File *file = nullptr;
    const ScriptGraph *graph = nullptr;
    // The work string that prompt titles are built in (ostr_StringCat); released at the end.
    char *promptTitle = nullptr;
    // Take operations from vmod_NextFunction and outputs from vmod_NodeFind, one query at
    // a time, instead of the indexed order (same result; used to measure and cross-check).
    bool literalOrder = false;
    ScriptNextOperation nextOperation = nullptr; // null: vmod_NextFunction
    // Why the generation stopped at a prompt other than by a cancel (a chosen name the
    // script cannot quote); empty otherwise.
    std::string stopReason;
};

// A text the generator writes with "%s": a null pointer is written as nothing.
inline const char *script_Text(const char *text) { return text != nullptr ? text : ""; }

// A text that the generator tests for presence: null and empty both count as absent.
inline bool script_Present(const char *text) { return text != nullptr && text[0] != '\0'; }

// The three-line comment banner "#", "# TEXT", "#"; a %s in the text takes `title`.
void script_Banner(ScriptContext &context, const char *text);
void script_BannerTitled(ScriptContext &context, const char *format, const char *title);
void script_BannerTitled2(ScriptContext &context, const char *format, const char *first, const char *second);

#endif
