// script_recode.h - recoded rasters and vectors, and vectors read through an attribute.
#ifndef VMOD_SCRIPT_RECODE_H
#define VMOD_SCRIPT_RECODE_H

#include "script/script_context.h"

// The variables a recode needs: the recoded layer (only when it has more than 50
// consumers; a macro serves fewer) and its table.
void script_DeclareRecodeVariables(ScriptContext &context);
// The recode tables with their classes.
void script_LoadRecodeTables(ScriptContext &context);
// The recoded layers and the attribute views of vectors, as macros or assignments.
void script_DefineRecodedLayers(ScriptContext &context);

#endif
