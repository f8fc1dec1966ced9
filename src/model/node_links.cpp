// Arrows: adding and removing child links with their mirror parent links.
#include <cstdint>

#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "model/model_internal.h"

namespace {

Vmod_Link *linkAppend(Vmod_Link **head, int32_t id, Vmod_Node *node) {
    auto *link = static_cast<Vmod_Link *>(omsc_HeapMalloc(sizeof(Vmod_Link)));
    if (link == nullptr) return nullptr;
    link->id = id;
    link->node = node;
    *head = static_cast<Vmod_Link *>(ollm_Add(*head, OLLM_APPEND, link));
    return link;
}

// Unlinks and releases every link of *head whose id is id, keeping *head at the first
// remaining link. Calls removed(link) before each release. Returns how many went.
template <typename Removed>
int removeLinksWithId(Vmod_Link **head, int32_t id, Removed removed) {
    int count = 0;
    Vmod_Link *link = *head;
    while (link != nullptr) {
        Vmod_Link *next = link->next;
        if (link->id == id) {
            if (link == *head) *head = next;
            ollm_Delete(link);
            removed(link);
            omsc_HeapFree(link);
            ++count;
        }
        link = next;
    }
    return count;
}

}  // namespace

extern "C" {

Vmod_Link *vmod_ChildAdd(Vmod_Node *parent, int32_t childId, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (parent == nullptr) return nullptr;
    Vmod_Link *head = parent->children;  // a local: the packed field may be misaligned
    Vmod_Link *link = linkAppend(&head, childId, nullptr);
    parent->children = head;
    return link;
}

Vmod_Link *vmod_ChildAddByNode(Vmod_Node *parent, Vmod_Node *child, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (parent == nullptr || child == nullptr) return nullptr;
    Vmod_Link *children = parent->children;  // locals: the packed fields may be misaligned
    Vmod_Link *made = linkAppend(&children, child->id, child);
    parent->children = children;
    if (made == nullptr) return nullptr;
    Vmod_Link *parents = child->parents;
    made = linkAppend(&parents, parent->id, parent);
    child->parents = parents;
    return made;
}

void vmod_ChildDelete(Vmod_Node *parent, int32_t childId, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (parent == nullptr) return;
    // Several arrows may share the identifier (duplicate arrows, or two nodes with one
    // identifier): every resolved child loses its mirrors, at its first removed link (a
    // later link to the same child finds none left). Unresolved links have no node and
    // no mirror; they are only removed. Nothing here allocates, so an arrow is never
    // left half removed.
    const int32_t parentId = parent->id;
    Vmod_Link *head = parent->children;
    removeLinksWithId(&head, childId, [parentId](Vmod_Link *link) {
        Vmod_Node *child = link->node;
        if (child == nullptr) return;
        // A raster that no operation produces is no longer a new file.
        if (child->type == VMOD_RASTER && child->data != nullptr)
            static_cast<Vmod_RasterData *>(child->data)->newFile = 0;
        Vmod_Link *parents = child->parents;
        removeLinksWithId(&parents, parentId, [](Vmod_Link *) {});
        child->parents = parents;
    });
    parent->children = head;
}

void vmod_ChildrenDelete(Vmod_Node *parent, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (parent == nullptr) return;
    // Each round removes at least the head link, so the loop ends.
    while (parent->children != nullptr) vmod_ChildDelete(parent, parent->children->id, nullptr);
}

int32_t vmod_NumChildren(Vmod_Node *node) {
    int32_t count = 0;
    if (node == nullptr) return 0;
    for (Vmod_Link *link = node->children; link != nullptr; link = link->next) ++count;
    return count;
}

void vmod_SingleParent(Vmod_Node *parent, int32_t childId, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    for (Vmod_Node *node = model_FirstNode(parent); node != nullptr; node = node->next) {
        if (node == parent) continue;
        for (Vmod_Link *link = node->children; link != nullptr; link = link->next) {
            if (link->id == childId) {
                vmod_ChildDelete(node, childId, nullptr);
                break;
            }
        }
    }
}

}  // extern "C"
