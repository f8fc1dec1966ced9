// Renumbering a node, and carrying a data node's new name into the operations that
// read it (function expressions and criteria column titles).
#include <cstdint>

#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"
#include "model/node_kinds.h"

namespace {

bool isDataKind(int32_t kind) { return kind >= VMOD_RASTER && kind <= VMOD_SCALAR; }

// The name of a data kind ("raster"), "" for any other kind.
const char *kindWord(int32_t kind) { return isDataKind(kind) ? model_KindOf(kind)->name : ""; }

// Points every link of the list at the renumbered node to its new identifier. Links are
// matched by node, so unresolved links keep the old one.
void relabelLinks(Vmod_Link *head, const Vmod_Node *target, int32_t newId) {
    for (Vmod_Link *link = head; link != nullptr; link = link->next)
        if (link->node == target) link->id = newId;
}

}  // namespace

extern "C" {

void vmod_NodeChangeID(Vmod_Node *node, int32_t newId) {
    if (node == nullptr) return;
    char oldText[256];
    char newText[256];
    ofio_Sprintf(oldText, "%d", node->id);
    ofio_Sprintf(newText, "%d", newId);

    const int32_t kind = node->type;
    if (kind >= VMOD_RASTER && kind <= VMOD_CRITERIA) {
        if (isDataKind(kind) && node->title != nullptr) {
            char *oldTitle = ostr_Duplicate(node->title);
            char *newTitle = vmod_ChangeFirst(oldTitle, oldText, newText);
            if (newTitle != nullptr) {
                omsc_HeapFree(node->title);
                node->title = newTitle;
                vmod_ChangeChild(node, oldTitle, node->title);
            }
            omsc_HeapFree(oldTitle);
        }
        for (Vmod_Node *each = model_FirstNode(node); each != nullptr; each = each->next) {
            relabelLinks(each->parents, node, newId);
            relabelLinks(each->children, node, newId);
        }
    }
    node->id = newId;
}

void vmod_ChangeChild(Vmod_Node *node, const char *oldName, const char *newName) {
    if (node == nullptr) return;
    char *replacement = nullptr;
    if (newName != nullptr && newName[0] != '\0') {
        replacement = ostr_Duplicate(newName);
    } else {
        // An untitled node is shown in the expressions as its kind in angle brackets.
        char placeholder[16];
        ofio_Snprintf(placeholder, sizeof placeholder, "<%s>", kindWord(node->type));
        replacement = ostr_Duplicate(placeholder);
    }
    if (replacement == nullptr) return;

    if (oldName != nullptr && oldName[0] != '\0') {
        for (Vmod_Link *link = node->children; link != nullptr; link = link->next) {
            Vmod_Node *child = vmod_NodeFind(node, link->id, nullptr);
            if (child == nullptr || child->data == nullptr) continue;
            if (child->type == VMOD_FUNCTION) {
                auto *function = static_cast<Vmod_FunctionData *>(child->data);
                if (function->expression == nullptr) continue;
                char *expression = vmod_ChangeAll(function->expression, oldName, replacement);
                if (expression == nullptr) continue;
                omsc_HeapFree(function->expression);
                function->expression = expression;
                omsc_HeapFree(child->title);
                child->title = vmod_FunctionTitle(expression);
            } else if (child->type == VMOD_CRITERIA && child->title != nullptr) {
                auto *criteria = static_cast<Vmod_CriteriaData *>(child->data);
                if (criteria->columnTitles == nullptr) continue;
                for (int32_t column = 0; column < criteria->columns; ++column) {
                    char *entry = criteria->columnTitles[column];
                    if (entry == nullptr) continue;
                    char *renamed = vmod_ChangeAll(entry, oldName, replacement);
                    if (renamed == nullptr) continue;
                    omsc_HeapFree(entry);
                    criteria->columnTitles[column] = renamed;
                }
            }
        }
    }
    omsc_HeapFree(replacement);
}

}  // extern "C"
