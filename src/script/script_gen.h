// script_gen.h - the script generator's entry with its internal options.
#ifndef VMOD_SCRIPT_GEN_H
#define VMOD_SCRIPT_GEN_H

#include <cstdint>

#include "vmod/vmod_records.h"

#include "script/script_context.h"

struct ScriptOptions {
    // Define operations in the order of one query per operation (vmod_NextFunction unless
    // another search of the same meaning is given), with outputs found by vmod_NodeFind,
    // instead of the indexed order. The script is the same; benchmarks and tests use it as
    // the reference.
    bool literalOrder = false;
    ScriptNextOperation nextOperation = nullptr;
};

// vmod_ScriptGen with options.
int32_t script_Generate(Vmod_Model *model, Ofio_File *file, const ScriptOptions &options);

// 1 when vmod_ScriptGen can translate model; 0 with *err naming the nodes that prevent it
// (an operation without an output node, whose output holds no data, a criteria table
// without rows or columns, an untitled data node, a shared identifier, a cycle of arrows).
// vmod_ScriptGen refuses such a model with 0 before writing anything.
int32_t script_Check(Vmod_Model *model, Oerr_ErrorReport **err);

#endif
