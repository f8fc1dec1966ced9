// Deep copies of nodes: the record and its payload with copies of every string, array
// and rectangle. The copy keeps the source's identifier and link-list heads; the caller
// gives it an identifier and lists of its own before any link operation or release.
#include <cstdint>
#include <cstring>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"
#include "model/node_release.h"
#include "model/text_font.h"

namespace {

// Every copy below starts from a null pointer in a zero-filled or by-value payload, so a
// failed allocation leaves a null field that the release of the copy handles.
template <typename T>
T *copyArray(const T *source, int64_t count) {
    if (source == nullptr || count <= 0) return nullptr;
    auto *copy = static_cast<T *>(omsc_HeapMalloc(static_cast<size_t>(count) * sizeof(T)));
    if (copy != nullptr) std::memcpy(copy, source, static_cast<size_t>(count) * sizeof(T));
    return copy;
}

char **copyStrings(char *const *source, int64_t count) {
    if (source == nullptr || count <= 0) return nullptr;
    auto *copy = static_cast<char **>(omsc_HeapMalloc(static_cast<size_t>(count) * sizeof(char *)));
    if (copy == nullptr) return nullptr;
    for (int64_t i = 0; i < count; ++i) copy[i] = ostr_Duplicate(source[i]);  // null stays null
    return copy;
}

Vmod_Rect *copyRect(const Vmod_Rect *source) {
    if (source == nullptr) return nullptr;
    Vmod_Rect *copy = vmod_RectCreate(nullptr);
    if (copy != nullptr) *copy = *source;
    return copy;
}

int64_t product(int32_t a, int32_t b) { return a > 0 && b > 0 ? static_cast<int64_t>(a) * b : 0; }

void copyOwned(int32_t kind, void *data) {
    switch (kind) {
    case VMOD_RASTER: {
        auto *r = static_cast<Vmod_RasterData *>(data);
        r->fileName = ostr_Duplicate(r->fileName);
        r->promptText = ostr_Duplicate(r->promptText);
        r->declare = ostr_Duplicate(r->declare);
        r->aoiFile = ostr_Duplicate(r->aoiFile);
        r->newClasses = copyArray(r->newClasses, r->numClasses);
        r->areaRect = copyRect(r->areaRect);
        break;
    }
    case VMOD_VECTOR: {
        auto *v = static_cast<Vmod_VectorData *>(data);
        v->fileName = ostr_Duplicate(v->fileName);
        v->promptText = ostr_Duplicate(v->promptText);
        v->feature = ostr_Duplicate(v->feature);
        v->declare = ostr_Duplicate(v->declare);
        v->aoiFile = ostr_Duplicate(v->aoiFile);
        v->attribute = ostr_Duplicate(v->attribute);
        v->window = copyRect(v->window);
        v->newClasses = copyArray(v->newClasses, v->numClasses);
        break;
    }
    case VMOD_MATRIX: {
        auto *m = static_cast<Vmod_MatrixData *>(data);
        m->frontText = ostr_Duplicate(m->frontText);
        m->values = copyArray(m->values, product(m->columns, m->rows));
        m->readFile = ostr_Duplicate(m->readFile);
        m->writeFile = ostr_Duplicate(m->writeFile);
        m->promptText = ostr_Duplicate(m->promptText);
        break;
    }
    case VMOD_TABLE: {
        auto *t = static_cast<Vmod_TableData *>(data);
        t->layerFile = ostr_Duplicate(t->layerFile);
        t->promptLayerText = ostr_Duplicate(t->promptLayerText);
        t->layerName = ostr_Duplicate(t->layerName);
        t->fieldName = ostr_Duplicate(t->fieldName);
        t->readFile = ostr_Duplicate(t->readFile);
        t->writeFile = ostr_Duplicate(t->writeFile);
        t->promptText = ostr_Duplicate(t->promptText);
        // Only literal values belong to the node; other sources' arrays are not copied.
        const Vmod_TableData source = *t;
        t->values = nullptr;
        t->strings = nullptr;
        t->colors = nullptr;
        if (source.source != 0 || source.size <= 0) break;
        if (source.dataType == VMOD_TABLE_STRING) {
            t->strings = copyStrings(source.strings, source.size);
        } else if (source.dataType == VMOD_TABLE_COLOR) {
            if (source.colors == nullptr) break;
            t->colors = static_cast<Vmod_TableColor **>(omsc_HeapMalloc(sizeof(Vmod_TableColor *) * source.size));
            if (t->colors == nullptr) break;
            for (int32_t i = 0; i < source.size; ++i) t->colors[i] = copyArray(source.colors[i], 1);
        } else {
            t->values = copyArray(source.values, source.size);
        }
        break;
    }
    case VMOD_SCALAR: {
        auto *s = static_cast<Vmod_ScalarData *>(data);
        s->readFile = ostr_Duplicate(s->readFile);
        s->writeFile = ostr_Duplicate(s->writeFile);
        s->promptText = ostr_Duplicate(s->promptText);
        break;
    }
    case VMOD_FUNCTION: {
        auto *f = static_cast<Vmod_FunctionData *>(data);
        f->expression = ostr_Duplicate(f->expression);
        break;
    }
    case VMOD_CRITERIA: {
        auto *c = static_cast<Vmod_CriteriaData *>(data);
        c->columnTitles = copyStrings(c->columnTitles, c->columns);
        c->cells = copyStrings(c->cells, product(c->rows, c->columns));
        c->outputValues = copyArray(c->outputValues, c->rows);
        break;
    }
    case VMOD_TEXT: {
        auto *text = static_cast<Vmod_TextData *>(data);
        // The copy owns its font, whoever owned the source's.
        model_TextFontForget(text);
        model_TextFontAdopt(text, ostr_Duplicate(text->font));
        break;
    }
    default:
        break;
    }
}

}  // namespace

extern "C" Vmod_Node *vmod_NodeDuplicate(Vmod_Node *node, Oerr_ErrorReport **err) {
    model_ClearError(err);
    if (node == nullptr) return nullptr;
    auto *copy = static_cast<Vmod_Node *>(omsc_HeapMalloc(sizeof(Vmod_Node)));
    if (copy == nullptr) return nullptr;
    copy->id = node->id;
    copy->title = ostr_Duplicate(node->title);
    copy->x = node->x;
    copy->y = node->y;
    copy->width = node->width;
    copy->height = node->height;
    copy->selected = node->selected;
    copy->highlighted = node->highlighted;
    copy->userData = node->userData;
    copy->children = node->children;  // shared until the caller gives the copy its own
    copy->parents = node->parents;
    copy->type = node->type;

    const size_t size = model_PayloadSize(node->type);
    if (size == 0) return copy;  // an unknown kind: no payload, no render slot
    copy->render = model_RenderSlot(node->type);
    if (node->data == nullptr) return copy;
    copy->data = omsc_HeapMalloc(size);
    if (copy->data == nullptr) {
        copy->children = copy->parents = nullptr;
        model_NodeRelease(copy);
        return nullptr;
    }
    std::memcpy(copy->data, node->data, size);
    copyOwned(node->type, copy->data);
    return copy;
}
