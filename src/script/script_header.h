// script_header.h - the model-wide settings at the top of a script.
#ifndef VMOD_SCRIPT_HEADER_H
#define VMOD_SCRIPT_HEADER_H

#include "script/script_context.h"

// The first line naming the model file, the text notes as comments, then cell size,
// window, a given projection and area of interest.
void script_WriteHeader(ScriptContext &context);
// A projection taken from a declared layer; written after the declarations it names.
void script_WriteProjectionSameAs(ScriptContext &context);

#endif
