// The table of text payloads that own their font string (see text_font.h).
#include "model/text_font.h"

#include <mutex>
#include <unordered_map>

#include "vmodhost/omsc.h"

namespace {

// Guarded by a mutex: different models may live on different threads.
std::mutex fontTableLock;

// Never destroyed, so that nodes released by other objects' destructors at exit still
// find it.
std::unordered_map<const Vmod_TextData *, char *> &fontTable() {
    static auto *table = new std::unordered_map<const Vmod_TextData *, char *>;
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
        // Without memory for the table the font stays unowned: a leak, never a double free.
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
