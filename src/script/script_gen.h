// script_gen.h - the script generator's entry with its internal options.
#ifndef VMOD_SCRIPT_GEN_H
#define VMOD_SCRIPT_GEN_H

#include <cstdint>
#include <string>
#include <vector>

#include "vmod/vmod_records.h"

#include "script/script_context.h"

struct ScriptOptions {
    // Define operations in the order of one query per operation (vmod_NextFunction unless
    // another search of the same meaning is given), with outputs found by vmod_NodeFind,
    // instead of the indexed order. The script is the same; benchmarks and tests use it as
    // the reference.
    bool literalOrder = false;
    ScriptNextOperation nextOperation = nullptr;
    // When the generation stops because a name chosen at a file prompt cannot be written
    // between quotes, the reason is stored here (the result is 0, as for a cancel).
    std::string *stopReason = nullptr;
};

// Why vmod_ScriptGen refuses a model, in sentences naming the nodes: what the script could
// not name or order (an operation without an output node, whose output holds no data, a
// criteria table without rows or columns, a data node without a title, a shared
// identifier, a cycle of arrows), joined by "; ", and one sentence per text the script
// cannot hold (a quoted text that holds a quote, a line break or another control
// character, or ends in a backslash; a title or other bare name that is not a plain name).
struct ScriptRefusals {
    std::string graph;
    std::vector<std::string> texts;
    bool none() const { return graph.empty() && texts.empty(); }
};

// The refusals of model; none() when vmod_ScriptGen can translate it. The generator
// refuses exactly these, before it writes anything.
ScriptRefusals script_FindRefusals(Vmod_Model *model);

// vmod_ScriptGen with options.
int32_t script_Generate(Vmod_Model *model, Ofio_File *file, const ScriptOptions &options);

// 1 when vmod_ScriptGen can translate model; 0 with *err holding every refusal of
// script_FindRefusals, joined by "; ". vmod_ScriptGen refuses such a model with 0 before
// writing anything.
int32_t script_Check(Vmod_Model *model, Oerr_ErrorReport **err);

#endif
