// script_declarations.h - the declaration passes, one per data kind. Each walks the whole
// node list and returns false when the user cancelled a file prompt (the statement being
// written is then left unfinished).
#ifndef VMOD_SCRIPT_DECLARATIONS_H
#define VMOD_SCRIPT_DECLARATIONS_H

#include "script/script_context.h"

// Calls declare(node, payload) for every node of kind that has a payload, in list order;
// false as soon as one call is (a cancelled prompt).
template <typename Payload, typename Declare>
bool script_DeclareEach(ScriptContext &context, int32_t kind, Declare declare) {
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        if (node->type == kind && node->data != nullptr && !declare(node, static_cast<const Payload *>(node->data))) {
            return false;
        }
    }
    return true;
}

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
