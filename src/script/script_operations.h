// script_operations.h - the definitions of the model's functions and criteria tables.
#ifndef VMOD_SCRIPT_OPERATIONS_H
#define VMOD_SCRIPT_OPERATIONS_H

#include "script/script_context.h"

// Writes one definition per operation, each after the operations it depends on; false when
// the user cancelled a file prompt. Sets each operation's done mark as it is written.
bool script_WriteOperations(ScriptContext &context);

#endif
