// script_gen.h - the script generator's entry with its internal options.
#ifndef VMOD_SCRIPT_GEN_H
#define VMOD_SCRIPT_GEN_H

#include <cstdint>

#include "vmod/vmod_records.h"

struct ScriptOptions {
    // Define operations in the order of one vmod_NextFunction query per operation, with
    // outputs found by vmod_NodeFind, instead of the indexed order. The script is the same;
    // benchmarks and tests use it as the reference.
    bool literalOrder = false;
};

// vmod_ScriptGen with options.
int32_t script_Generate(Vmod_Model *model, Ofio_File *file, const ScriptOptions &options);

#endif
