// script_declarations.h - the declaration passes, one per data kind. Each walks the whole
// node list and returns false when the user cancelled a file prompt (the statement being
// written is then left unfinished).
#ifndef VMOD_SCRIPT_DECLARATIONS_H
#define VMOD_SCRIPT_DECLARATIONS_H

#include "script/script_context.h"

bool script_DeclareRasters(ScriptContext &context);
bool script_DeclareVectors(ScriptContext &context);
bool script_DeclareMatrices(ScriptContext &context);
bool script_DeclareTables(ScriptContext &context);
bool script_DeclareScalars(ScriptContext &context);

// The word in front of a raster's type keyword: its declare text, or its class word.
const char *script_RasterDeclareWord(const Vmod_RasterData *raster);
// True when a vector is read through an attribute other than "Record Number".
bool script_VectorUsesAttribute(const Vmod_VectorData *vector);

#endif
