// model_output.h - where the model writer's statements go.
//
// The writer walks the model twice with the same code: first with no file, to find
// anything the file could not carry so that it is refused before a byte is written,
// then with the open file. Every statement goes through VMOD_PUT and every quoted
// string through file_OutputString, so both walks see exactly the same statements.
#ifndef VMOD_FILE_MODEL_OUTPUT_H
#define VMOD_FILE_MODEL_OUTPUT_H

#include <string>
#include <vector>

#include "file/format_words.h"
#include "vmodhost/ofio.h"
#include "vmod/vmod_records.h"

struct Vmod_ModelOutput {
    Ofio_File *file = nullptr;       // null while checking
    const Vmod_Node *node = nullptr; // the node of the block being written; null in the header
    std::string problem;             // the first reason the model cannot be saved
    std::vector<char> escaped[2];    // two strings can appear in one statement
    int nextEscaped = 0;
};

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline int32_t file_DiscardOutput(const char *, ...) {
    return 0;
}

// printf one statement or piece of one into the file; while checking, only the
// arguments are evaluated. The format is checked against the arguments at compile time.
#define VMOD_PUT(out, ...)                                                                   \
    ((out).file != nullptr ? ofio_Fprintf((out).file, __VA_ARGS__) : file_DiscardOutput(__VA_ARGS__))

// The text of a quoted string of field, ready for "\"%s\"": double quotes escaped, a
// null string empty. While checking, a string the reader could not read back (one that
// ends in a backslash, which would escape the closing quote) is recorded as a problem.
// The result stays valid until the second call after this one.
const char *file_OutputString(Vmod_ModelOutput &out, const char *text, const char *field);

// Records why the model cannot be saved (the first reason wins); the message is
// prefixed with the node or the header it concerns.
void file_OutputRefuse(Vmod_ModelOutput &out, const std::string &reason);

// The word of value for a statement that cannot end without one; null, with a problem
// recorded, when value has no word.
const char *file_OutputWord(Vmod_ModelOutput &out, const char *statement, const Vmod_FormatWords &words,
                            int32_t value);

// A list size the file can carry: 0 to VMOD_MAX_LIST_ENTRIES entries. Records a problem
// naming statement otherwise.
bool file_OutputCheckSize(Vmod_ModelOutput &out, const char *statement, int64_t entries);

#endif
