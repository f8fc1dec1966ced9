// script_literals.h - literal data and the data read from files: matrices, tables and
// scalars, in one pass over the node list.
#ifndef VMOD_SCRIPT_LITERALS_H
#define VMOD_SCRIPT_LITERALS_H

#include "script/script_context.h"

// False when the user cancelled a file prompt.
bool script_WriteLiterals(ScriptContext &context);

#endif
