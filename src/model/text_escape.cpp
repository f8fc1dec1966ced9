// Escaping text with backslashes for the model file, PostScript strings and continued
// script lines. Each writes into the caller's buffer, which holds twice the text's
// length plus one byte, the longest result.
#include <cstring>

#include "model/model_internal.h"

namespace {

void escape(char *out, const char *text, const char *special) {
    if (out == nullptr || text == nullptr) return;
    for (; *text != '\0'; ++text) {
        if (std::strchr(special, *text) != nullptr) *out++ = '\\';
        *out++ = *text;
    }
    *out = '\0';
}

}  // namespace

extern "C" {

void vmod_InsertBackSlash(char *out, const char *text) { escape(out, text, "\""); }

void vmod_InsertBackSlashParen(char *out, const char *text) { escape(out, text, "()\\"); }

void vmod_RemoveCarriageReturns(char *out, const char *text) { escape(out, text, "\n"); }

}  // extern "C"
