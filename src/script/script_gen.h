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

#endif
