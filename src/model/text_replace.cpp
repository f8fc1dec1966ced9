// Replacing a name inside a text: the first occurrence, or every occurrence. The result
// is sized to fit, however long it grows.
#include <cstring>
#include <string>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"

namespace {

char *heapCopy(const std::string &text) {
    auto *copy = static_cast<char *>(omsc_HeapMalloc(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// An empty old text would match everywhere; the text is returned unchanged instead.
char *replace(const char *text, const char *old, const char *replacement, bool every) {
    if (text == nullptr) return nullptr;
    if (old == nullptr || old[0] == '\0') return ostr_Duplicate(text);
    if (replacement == nullptr) replacement = "";
    return model_Guarded<char *>(nullptr, [=] {
        const size_t oldLength = std::strlen(old);
        std::string result;
        const char *rest = text;
        for (const char *found = ostr_SubString(rest, old); found != nullptr;
             found = every ? ostr_SubString(rest, old) : nullptr) {
            result.append(rest, static_cast<size_t>(found - rest));
            result.append(replacement);
            rest = found + oldLength;  // the inserted text is never searched again
        }
        result.append(rest);
        return heapCopy(result);
    });
}

}  // namespace

extern "C" {

char *vmod_ChangeFirst(const char *text, const char *old, const char *replacement) {
    return replace(text, old, replacement, false);
}

char *vmod_ChangeAll(const char *text, const char *old, const char *replacement) {
    return replace(text, old, replacement, true);
}

}  // extern "C"
