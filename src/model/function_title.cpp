// The title a function node shows, derived from its expression: everything before the
// opening brace or parenthesis of a long call, otherwise the first word.
#include <cstring>
#include <string>

#include "vmodhost/omsc.h"
#include "model/model_internal.h"

extern "C" char *vmod_FunctionTitle(const char *expression) {
    if (expression == nullptr || expression[0] == '\0') return nullptr;
    const char *open = std::strchr(expression, '{');
    if (open == nullptr) open = std::strchr(expression, '(');
    const char *delimiters = " ";
    if (open != nullptr) {
        const size_t remainder = std::strlen(open);
        const char *close = std::strchr(expression, ')');
        if (remainder >= 2 && remainder <= 255 && (close == nullptr || close - open >= 5)) delimiters = "{(";
    }
    // The first token as the standard tokenizer finds it: leading delimiters skipped.
    const size_t start = std::strspn(expression, delimiters);
    if (expression[start] == '\0') return nullptr;
    const size_t length = std::strcspn(expression + start, delimiters);
    auto *title = static_cast<char *>(omsc_HeapMalloc(length + 1));
    if (title != nullptr) std::memcpy(title, expression + start, length);
    return title;
}
