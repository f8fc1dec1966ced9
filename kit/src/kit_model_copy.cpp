// kit_model_copy.cpp - deep copies of whole models, the basis of undo.
//
// Nodes are copied by vmod_NodeDuplicate, so every payload string and array, and a
// note's font with its ownership, is copied the way the library copies a node. The copy
// of a node shares its source's link lists, so it is given lists of its own at once: the
// arrows are copied link by link, both halves in their own order, each link pointing at
// the copy of the node its source pointed at. A link to a node outside the model's list
// (or an unresolved one) keeps its identifier and points nowhere, as a read link does
// before it is resolved.
#include <memory>
#include <new>
#include <unordered_map>

#include "kit_guard.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodkit/vmodkit_model.h"

namespace {

using NodeCopies = std::unordered_map<const Vmod_Node *, Vmod_Node *>;

struct ModelFree {
    void operator()(Vmod_Model *model) const { vmodkit_ModelFree(model); }
};
using ModelKeeper = std::unique_ptr<Vmod_Model, ModelFree>;

char *duplicate(const char *text) {
    char *copy = ostr_Duplicate(text);
    if (text != nullptr && copy == nullptr) throw std::bad_alloc();
    return copy;
}

void releaseLinks(Vmod_Link *head) {
    while (head != nullptr) {
        Vmod_Link *next = head->next;
        omsc_HeapFree(head);
        head = next;
    }
}

Vmod_Link *copyLinks(const Vmod_Link *from, const NodeCopies &copies) {
    Vmod_Link *head = nullptr, *tail = nullptr;
    for (; from != nullptr; from = from->next) {
        auto *link = static_cast<Vmod_Link *>(omsc_HeapMalloc(sizeof(Vmod_Link)));
        if (link == nullptr) {
            releaseLinks(head);
            throw std::bad_alloc();
        }
        link->id = from->id;
        const Vmod_Node *target = from->node; // a copy: the packed field may be unaligned
        auto found = target != nullptr ? copies.find(target) : copies.end();
        link->node = found != copies.end() ? found->second : nullptr;
        link->prev = tail;
        if (tail != nullptr)
            tail->next = link;
        else
            head = link;
        tail = link;
    }
    return head;
}

// The node list of source, appended to copy (which owns each node as soon as it is made).
void copyNodes(const Vmod_Model *source, Vmod_Model *copy) {
    NodeCopies copies;
    Vmod_Node *tail = nullptr;
    for (const Vmod_Node *node = source->nodes; node != nullptr; node = node->next) {
        Vmod_Node *made = vmod_NodeDuplicate(const_cast<Vmod_Node *>(node), nullptr);
        if (made == nullptr) throw std::bad_alloc();
        made->children = made->parents = nullptr; // the source's until now
        made->prev = tail;
        if (tail != nullptr)
            tail->next = made;
        else
            copy->nodes = made;
        tail = made;
        // The duplicate drops a font it had no memory to copy; a copy must not differ.
        if (node->type == VMOD_TEXT && node->data != nullptr && made->data != nullptr &&
            static_cast<const Vmod_TextData *>(node->data)->font != nullptr &&
            static_cast<const Vmod_TextData *>(made->data)->font == nullptr)
            throw std::bad_alloc();
        copies.emplace(node, made);
    }
    for (const Vmod_Node *node = source->nodes; node != nullptr; node = node->next) {
        Vmod_Node *made = copies.at(node);
        made->children = copyLinks(node->children, copies);
        made->parents = copyLinks(node->parents, copies);
    }
}

Vmod_Model *copyModel(const Vmod_Model *source) {
    auto *record = static_cast<Vmod_Model *>(omsc_HeapMalloc(sizeof(Vmod_Model)));
    if (record == nullptr) throw std::bad_alloc();
    *record = *source;
    // What the copy must not share: the front end's handles, and everything the model
    // owns, copied below. textFont, titleFont and untitledFont are not the model's and
    // stay shared.
    record->frame = nullptr;
    record->canvas = nullptr;
    record->menu = nullptr;
    record->rasterChooser = record->vectorChooser = record->coverageChooser = nullptr;
    record->annotationChooser = record->matrixChooser = record->tableChooser = nullptr;
    record->scalarChooser = nullptr;
    record->fileName = record->title = nullptr;
    record->projectionSameAs = record->projectionSpec1 = record->projectionSpec2 = nullptr;
    record->aoiFile = nullptr;
    record->window = nullptr;
    record->nodes = nullptr;
    ModelKeeper copy(record);

    copy->fileName = duplicate(source->fileName);
    copy->title = duplicate(source->title);
    copy->projectionSameAs = duplicate(source->projectionSameAs);
    copy->projectionSpec1 = duplicate(source->projectionSpec1);
    copy->projectionSpec2 = duplicate(source->projectionSpec2);
    copy->aoiFile = duplicate(source->aoiFile);
    if (source->window != nullptr) {
        copy->window = vmod_RectCreate(nullptr);
        if (copy->window == nullptr) throw std::bad_alloc();
        *copy->window = *source->window;
    }
    copyNodes(source, copy.get());
    return copy.release();
}

} // namespace

extern "C" Vmod_Model *vmodkit_ModelCopy(const Vmod_Model *model, Oerr_ErrorReport **err) {
    if (model == nullptr) {
        kit_Report(err, "vmodkit_ModelCopy", VMOD_ERR_FAILED, "no model to copy");
        return nullptr;
    }
    return kit_Guarded<Vmod_Model *>("vmodkit_ModelCopy", err, nullptr, [model] { return copyModel(model); });
}
