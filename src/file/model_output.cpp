// Statement output of the model writer (see model_output.h).
#include "file/model_output.h"

#include <cstdio>
#include <cstring>

#include "file/format_words.h"
#include "vmod/vmod.h"

namespace {

std::string describeNode(const Vmod_Node *node) {
    if (node == nullptr) return "model header";
    const char *kind = file_FormatWord(file_BlockWords, node->type);
    std::string text = kind != nullptr ? kind : "unknown";
    text += " node " + std::to_string(node->id);
    if (node->title != nullptr) {
        text += " \"";
        text += node->title;
        text += "\"";
    }
    return text;
}

} // namespace

const char *file_OutputString(Vmod_ModelOutput &out, const char *text, const char *field) {
    if (text == nullptr) return "";
    if (out.file == nullptr) {
        size_t length = std::strlen(text);
        if (length > 0 && text[length - 1] == '\\')
            file_OutputRefuse(out, std::string("the ") + field +
                                       " string ends in a backslash, which a model file cannot carry");
        return text;
    }
    if (std::strchr(text, '"') == nullptr) return text;
    // Escaping at most doubles the length; the buffer is sized for this string, so no
    // string is ever cut short.
    std::vector<char> &buffer = out.escaped[out.nextEscaped];
    out.nextEscaped ^= 1;
    buffer.resize(2 * std::strlen(text) + 1);
    vmod_InsertBackSlash(buffer.data(), text);
    return buffer.data();
}

void file_OutputRefuse(Vmod_ModelOutput &out, const std::string &reason) {
    if (!out.problem.empty()) return;
    out.problem = describeNode(out.node) + ": " + reason;
}

bool file_OutputCheckSize(Vmod_ModelOutput &out, const char *statement, int64_t entries) {
    if (entries >= 0 && entries <= VMOD_MAX_LIST_ENTRIES) return true;
    file_OutputRefuse(out, std::string(statement) + " gives " + std::to_string(entries) +
                               " entries; a model file carries lists of 0 to " +
                               std::to_string(VMOD_MAX_LIST_ENTRIES) + " entries");
    return false;
}

const char *file_OutputWord(Vmod_ModelOutput &out, const char *statement, const Vmod_FormatWords &words,
                            int32_t value) {
    const char *word = file_FormatWord(words, value);
    if (word == nullptr)
        file_OutputRefuse(out, std::string(statement) + " " + std::to_string(value) + " has no word in a model file");
    return word;
}
