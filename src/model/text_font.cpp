// The table of text payloads that own their font string (see text_font.h): the library's
// one piece of process-wide state, which the public header owns up to.
#include "model/text_font.h"

#include <mutex>
#include <new>
#include <unordered_map>

#include "vmodhost/omsc.h"

namespace {

// Guarded by a mutex: different models may live on different threads.
std::mutex fontTableLock;

using FontTable = std::unordered_map<const Vmod_TextData *, char *>;

// Never destroyed, so that nodes released by other objects' destructors at exit still
// find it. Made in place: an empty table allocates nothing, so only model_TextFontAdopt
// (which catches) can run out of memory here.
FontTable &fontTable() {
    alignas(FontTable) static unsigned char storage[sizeof(FontTable)];
    static FontTable *table = new (storage) FontTable;
    return *table;
}

}  // namespace

void model_TextFontAdopt(Vmod_TextData *text, char *font) {
    if (text == nullptr) return;
    model_TextFontRelease(text);
    text->font = font;
    if (font == nullptr) return;
    try {
        std::lock_guard<std::mutex> hold(fontTableLock);
        fontTable()[text] = font;
    } catch (...) {
        // Without memory for the table the font cannot be owned: it is released and the
        // note has none (it is drawn in the default font) rather than leaked.
        text->font = nullptr;
        omsc_HeapFree(font);
    }
}

int model_TextFontOwned(const Vmod_TextData *text) {
    if (text == nullptr || text->font == nullptr) return 0;
    std::lock_guard<std::mutex> hold(fontTableLock);
    auto found = fontTable().find(text);
    return found != fontTable().end() && found->second == text->font;
}

void model_TextFontRelease(Vmod_TextData *text) {
    if (text == nullptr) return;
    char *owned = nullptr;
    {
        std::lock_guard<std::mutex> hold(fontTableLock);
        auto found = fontTable().find(text);
        if (found == fontTable().end()) return;
        owned = found->second;
        fontTable().erase(found);
    }
    if (owned == text->font) {
        omsc_HeapFree(owned);
        text->font = nullptr;
    }
}

void model_TextFontForget(const Vmod_TextData *text) {
    std::lock_guard<std::mutex> hold(fontTableLock);
    fontTable().erase(text);
}
