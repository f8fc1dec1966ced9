// block_writers.h - one writer per node kind, each writing exactly one block of the
// model file from its opening line to its closing "}".
#ifndef VMOD_FILE_BLOCK_WRITERS_H
#define VMOD_FILE_BLOCK_WRITERS_H

#include "file/model_output.h"
#include "vmod/vmod_records.h"

void putRasterBlock(Vmod_ModelOutput &out, const Vmod_Node *node);
void putVectorBlock(Vmod_ModelOutput &out, const Vmod_Node *node);
void putMatrixBlock(Vmod_ModelOutput &out, const Vmod_Node *node);
void putTableBlock(Vmod_ModelOutput &out, const Vmod_Node *node);
void putScalarBlock(Vmod_ModelOutput &out, const Vmod_Node *node);
void putFunctionBlock(Vmod_ModelOutput &out, const Vmod_Node *node);
void putCriteriaBlock(Vmod_ModelOutput &out, const Vmod_Node *node);
void putTextBlock(Vmod_ModelOutput &out, const Vmod_Node *node);

// The block writer of a node kind, or null for a kind the file has no block for.
using Vmod_BlockWriter = void (*)(Vmod_ModelOutput &out, const Vmod_Node *node);
Vmod_BlockWriter file_BlockWriterOf(int32_t type);

#endif
