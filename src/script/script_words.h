// script_words.h - the words of the modelling language that stand for a node's value type.
#ifndef VMOD_SCRIPT_WORDS_H
#define VMOD_SCRIPT_WORDS_H

#include <cstdint>

// The class word that opens a raster, matrix or scalar declaration: "BINARY", "INTEGER",
// "FLOAT", "COMPLEX", or "" for STRING and unknown types.
const char *script_ClassWord(int32_t dataType);
// The phrase that gives a new raster file its cell type (" 8 BIT UNSIGNED INTEGER" ...),
// or "" for STRING and unknown types.
const char *script_RasterTypePhrase(int32_t dataType);
// The value word of a table ("BINARY", "INTEGER", "FLOAT", "STRING", "COLOR"), or "".
const char *script_TableValueWord(int32_t tableDataType);

#endif
