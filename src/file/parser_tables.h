// parser_tables.h - the Vmod_ParserTables record of the model-file grammar.
#ifndef VMOD_FILE_PARSER_TABLES_H
#define VMOD_FILE_PARSER_TABLES_H

#include "vmodhost/olex.h"

// Token numbers of the model-file grammar that are not keywords.
enum Vmod_GrammarToken {
    VMOD_TOKEN_NAME = 258,
    VMOD_TOKEN_STRING = 259,
    VMOD_TOKEN_FLOAT = 260,
    VMOD_TOKEN_INTEGER = 261,
    VMOD_TOKEN_NUMBER = 262,
    VMOD_TOKEN_FIRST_KEYWORD = 263,
    VMOD_TOKEN_LAST = 385
};

// Sizes of the record's tables that the token and production numbering fixes.
constexpr int32_t VMOD_GRAMMAR_PRODUCTIONS = 297;   // numbered 1 to 297
constexpr int32_t VMOD_GRAMMAR_TERMINALS = 144;     // internal symbols 0 to 143
constexpr int32_t VMOD_GRAMMAR_NONTERMINALS = 68;   // internal symbols 144 to 211
constexpr int32_t VMOD_GRAMMAR_SYMBOL_NAMES = 145;  // terminals and the start symbol

// The record (built from the generated tables on first use, then constant).
const Vmod_ParserTables *file_ModelParserTables(void);

#endif
