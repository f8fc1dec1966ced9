// kit_text_font.cpp - giving a note a font of its own.
//
// Which note fonts a payload owns is the library's to know (a note made by
// vmod_NodeCreate shares the model's font, a duplicated or read one owns a copy), and it
// knows it by the payload's address. So the kit never frees a font itself: it lets
// vmod_NodeDuplicate make a payload that owns a copy of the new font, gives that payload
// to the node, and lets vmod_NodesDelete release the node's old payload, which frees the
// old font exactly when the library says the payload owned it.
#include "kit_guard.h"
#include "vmodkit/vmodkit_model.h"

extern "C" int32_t vmodkit_TextSetFont(Vmod_Node *node, const char *font, Oerr_ErrorReport **err) {
    const char *const function = "vmodkit_TextSetFont";
    if (node == nullptr || node->type != VMOD_TEXT || node->data == nullptr) {
        kit_Report(err, function, VMOD_ERR_FAILED, "the node is not a text node");
        return 0;
    }
    auto *text = static_cast<Vmod_TextData *>(node->data);
    // The duplicate copies whatever font the payload shows; the node shows the new one
    // only for that moment.
    char *const before = text->font;
    text->font = const_cast<char *>(font);
    Vmod_Node *carrier = vmod_NodeDuplicate(node, nullptr);
    text->font = before;
    if (carrier == nullptr) {
        kit_Report(err, function, VMOD_ERR_MEMORY, "memory is exhausted");
        return 0;
    }
    carrier->children = carrier->parents = nullptr; // the node's, shared by the copy
    auto *fresh = static_cast<Vmod_TextData *>(carrier->data);
    if (fresh == nullptr || (font != nullptr && fresh->font == nullptr)) {
        vmod_NodesDelete(carrier, nullptr);
        kit_Report(err, function, VMOD_ERR_MEMORY, "memory is exhausted");
        return 0;
    }
    carrier->data = text;
    node->data = fresh;
    vmod_NodesDelete(carrier, nullptr);
    return 1;
}
