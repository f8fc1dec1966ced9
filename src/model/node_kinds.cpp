// The table of node kinds (see node_kinds.h), the owned fields of the model record, and
// the walks over a payload's owned fields: making a new payload, copying one, releasing
// one, settling one the reader filled.
#include "model/node_kinds.h"

#include <cstring>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/text_font.h"

namespace {

// ---- the entries of the owned-field lists ----

constexpr Model_OwnedField ownedString(const char *name, size_t offset, const char *initial = nullptr) {
    return {name, offset, Model_Owned::String, 0, kModelNoCount, kModelNoCount, nullptr, initial};
}
constexpr Model_OwnedField ownedRect(const char *name, size_t offset) {
    return {name, offset, Model_Owned::Rect, 0, kModelNoCount, kModelNoCount, nullptr, nullptr};
}
constexpr Model_OwnedField ownedArray(const char *name, size_t offset, Model_Owned shape, size_t elementSize,
                                      size_t count, size_t count2 = kModelNoCount,
                                      bool (*copied)(const void *) = nullptr) {
    return {name, offset, shape, elementSize, count, count2, copied, nullptr};
}

#define VMOD_STRING(Record, field) ownedString(#field, offsetof(Record, field))
#define VMOD_STRING_STARTING(Record, field, initial) ownedString(#field, offsetof(Record, field), initial)
#define VMOD_RECT(Record, field) ownedRect(#field, offsetof(Record, field))
#define VMOD_ARRAY(Record, field, shape, element, ...)                                                       \
    ownedArray(#field, offsetof(Record, field), Model_Owned::shape, sizeof(element), __VA_ARGS__)
#define VMOD_COUNT(Record, field) offsetof(Record, field)

// A table's literal values belong to the node; the array of its data type is copied,
// the arrays of other sources are not.
bool literalTable(const void *payload, bool strings, bool colors) {
    const auto *t = static_cast<const Vmod_TableData *>(payload);
    if (t->source != VMOD_TABLE_LITERAL) return false;
    return (t->dataType == VMOD_TABLE_STRING) == strings && (t->dataType == VMOD_TABLE_COLOR) == colors;
}
bool tableValuesCopied(const void *payload) { return literalTable(payload, false, false); }
bool tableStringsCopied(const void *payload) { return literalTable(payload, true, false); }
bool tableColorsCopied(const void *payload) { return literalTable(payload, false, true); }

const Model_OwnedField rasterOwned[] = {
    VMOD_STRING(Vmod_RasterData, fileName),
    VMOD_STRING(Vmod_RasterData, promptText),
    VMOD_STRING(Vmod_RasterData, declare),
    VMOD_STRING(Vmod_RasterData, aoiFile),
    VMOD_ARRAY(Vmod_RasterData, newClasses, Values, int32_t, VMOD_COUNT(Vmod_RasterData, numClasses)),
    VMOD_RECT(Vmod_RasterData, areaRect),
};

const Model_OwnedField vectorOwned[] = {
    VMOD_STRING(Vmod_VectorData, fileName),
    VMOD_STRING(Vmod_VectorData, promptText),
    VMOD_STRING(Vmod_VectorData, feature),
    VMOD_STRING_STARTING(Vmod_VectorData, declare, "Integer"),
    VMOD_STRING(Vmod_VectorData, aoiFile),
    VMOD_STRING(Vmod_VectorData, attribute),
    VMOD_RECT(Vmod_VectorData, window),
    VMOD_ARRAY(Vmod_VectorData, newClasses, Values, int32_t, VMOD_COUNT(Vmod_VectorData, numClasses)),
};

const Model_OwnedField matrixOwned[] = {
    VMOD_STRING(Vmod_MatrixData, frontText),
    VMOD_ARRAY(Vmod_MatrixData, values, Values, double, VMOD_COUNT(Vmod_MatrixData, columns),
               VMOD_COUNT(Vmod_MatrixData, rows)),
    VMOD_STRING(Vmod_MatrixData, readFile),
    VMOD_STRING(Vmod_MatrixData, writeFile),
    VMOD_STRING(Vmod_MatrixData, promptText),
};

const Model_OwnedField tableOwned[] = {
    VMOD_STRING(Vmod_TableData, layerFile),
    VMOD_STRING(Vmod_TableData, promptLayerText),
    VMOD_STRING(Vmod_TableData, layerName),
    VMOD_STRING(Vmod_TableData, fieldName),
    VMOD_ARRAY(Vmod_TableData, values, Values, double, VMOD_COUNT(Vmod_TableData, size), kModelNoCount,
               tableValuesCopied),
    VMOD_ARRAY(Vmod_TableData, strings, Strings, char *, VMOD_COUNT(Vmod_TableData, size), kModelNoCount,
               tableStringsCopied),
    VMOD_ARRAY(Vmod_TableData, colors, Records, Vmod_TableColor, VMOD_COUNT(Vmod_TableData, size),
               kModelNoCount, tableColorsCopied),
    VMOD_STRING(Vmod_TableData, readFile),
    VMOD_STRING(Vmod_TableData, writeFile),
    VMOD_STRING(Vmod_TableData, promptText),
};

const Model_OwnedField scalarOwned[] = {
    VMOD_STRING(Vmod_ScalarData, readFile),
    VMOD_STRING(Vmod_ScalarData, writeFile),
    VMOD_STRING(Vmod_ScalarData, promptText),
};

const Model_OwnedField functionOwned[] = {
    VMOD_STRING(Vmod_FunctionData, expression),
};

const Model_OwnedField criteriaOwned[] = {
    VMOD_ARRAY(Vmod_CriteriaData, columnTitles, Strings, char *, VMOD_COUNT(Vmod_CriteriaData, columns)),
    VMOD_ARRAY(Vmod_CriteriaData, cells, Strings, char *, VMOD_COUNT(Vmod_CriteriaData, rows),
               VMOD_COUNT(Vmod_CriteriaData, columns)),
    VMOD_ARRAY(Vmod_CriteriaData, outputValues, Values, double, VMOD_COUNT(Vmod_CriteriaData, rows)),
};

const Model_OwnedField headerOwned[] = {
    VMOD_STRING(Vmod_Model, fileName),
    VMOD_STRING(Vmod_Model, title),
    VMOD_STRING(Vmod_Model, projectionSameAs),
    VMOD_STRING(Vmod_Model, projectionSpec1),
    VMOD_STRING(Vmod_Model, projectionSpec2),
    VMOD_STRING(Vmod_Model, aoiFile),
    VMOD_RECT(Vmod_Model, window),
};

const Model_OwnedField textOwned[] = {
    {"font", offsetof(Vmod_TextData, font), Model_Owned::Font, 0, kModelNoCount, kModelNoCount, nullptr, nullptr},
};

#undef VMOD_STRING
#undef VMOD_STRING_STARTING
#undef VMOD_RECT
#undef VMOD_ARRAY
#undef VMOD_COUNT

// ---- plain defaults ----

// The raster's thematic flag and interpolation are what the default preferences give;
// vmod_NodeCreate applies the user's preferences over them.
void rasterDefaults(void *payload) {
    auto *r = static_cast<Vmod_RasterData *>(payload);
    r->dataType = VMOD_UNSIGNED8;
    r->thematic = 1;
    r->interpolation = VMOD_INTERP_NEAREST;
}
void vectorDefaults(void *payload) { static_cast<Vmod_VectorData *>(payload)->vectorType = VMOD_VECTOR_COVERAGE; }
void matrixDefaults(void *payload) {
    auto *m = static_cast<Vmod_MatrixData *>(payload);
    m->columns = 3;
    m->rows = 3;
    m->dataType = VMOD_DOUBLE;
    m->source = VMOD_MATRIX_LITERAL;
    m->builtin = VMOD_KERNEL_LOWPASS;
    m->normalize = 1;
}
void tableDefaults(void *payload) { static_cast<Vmod_TableData *>(payload)->dataType = VMOD_TABLE_SIGNED32; }
void scalarDefaults(void *payload) { static_cast<Vmod_ScalarData *>(payload)->dataType = VMOD_DOUBLE; }
void criteriaDefaults(void *payload) { static_cast<Vmod_CriteriaData *>(payload)->rows = 1; }
// The font, size and style come from the model (vmod_NodeCreate); the extent is the
// measure of "?" until the note is drawn.
void textDefaults(void *payload) {
    auto *t = static_cast<Vmod_TextData *>(payload);
    t->extentWidth = 14;
    t->extentHeight = 19;
}

// A FONT statement with an empty name reads as no font, so that a note saved without a
// font (the writer always writes FONT, "" then) reads back without one.
void textAfterRead(void *payload) {
    auto *t = static_cast<Vmod_TextData *>(payload);
    if (t->font != nullptr && t->font[0] == '\0') model_TextFontAdopt(t, nullptr);
}

#define VMOD_KIND(kind, name, Record, slot, defaults, afterRead, owned)                                      \
    {kind, name, sizeof(Record), slot, defaults, afterRead, owned, sizeof(owned) / sizeof(owned[0])}

const Model_NodeKind kinds[] = {
    VMOD_KIND(VMOD_RASTER, "raster", Vmod_RasterData, VMOD_SLOT_RASTER, rasterDefaults, nullptr, rasterOwned),
    VMOD_KIND(VMOD_VECTOR, "vector", Vmod_VectorData, VMOD_SLOT_VECTOR, vectorDefaults, nullptr, vectorOwned),
    VMOD_KIND(VMOD_MATRIX, "matrix", Vmod_MatrixData, VMOD_SLOT_MATRIX, matrixDefaults, nullptr, matrixOwned),
    VMOD_KIND(VMOD_TABLE, "table", Vmod_TableData, VMOD_SLOT_TABLE, tableDefaults, nullptr, tableOwned),
    VMOD_KIND(VMOD_SCALAR, "scalar", Vmod_ScalarData, VMOD_SLOT_SCALAR, scalarDefaults, nullptr, scalarOwned),
    VMOD_KIND(VMOD_FUNCTION, "function", Vmod_FunctionData, VMOD_SLOT_FUNCTION, nullptr, nullptr, functionOwned),
    VMOD_KIND(VMOD_CRITERIA, "criteria", Vmod_CriteriaData, VMOD_SLOT_CRITERIA, criteriaDefaults, nullptr,
              criteriaOwned),
    VMOD_KIND(VMOD_TEXT, "text", Vmod_TextData, VMOD_SLOT_TEXT, textDefaults, textAfterRead, textOwned),
};

#undef VMOD_KIND

// ---- reaching fields by offset ----

void *pointerAt(const void *payload, size_t offset) {
    void *value = nullptr;
    std::memcpy(&value, static_cast<const char *>(payload) + offset, sizeof value);
    return value;
}

void setPointerAt(void *payload, size_t offset, const void *value) {
    std::memcpy(static_cast<char *>(payload) + offset, &value, sizeof value);
}

int64_t countAt(const void *payload, size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, static_cast<const char *>(payload) + offset, sizeof value);
    return value > 0 ? value : 0;
}

void *copyBlock(const void *source, size_t size) {
    void *copy = omsc_HeapMalloc(size);
    if (copy != nullptr) std::memcpy(copy, source, size);
    return copy;
}

// A copy of what field points to in payload (before the field is replaced).
void *copyOwned(const Model_OwnedField &field, void *payload) {
    void *source = pointerAt(payload, field.offset);
    if (source == nullptr) return nullptr;
    const int64_t count = model_OwnedCount(field, payload);
    switch (field.shape) {
    case Model_Owned::String: return ostr_Duplicate(static_cast<const char *>(source));
    case Model_Owned::Rect: return copyBlock(source, sizeof(Vmod_Rect));
    case Model_Owned::Values:
        return count > 0 ? copyBlock(source, static_cast<size_t>(count) * field.elementSize) : nullptr;
    case Model_Owned::Strings:
    case Model_Owned::Records: {
        if (count <= 0) return nullptr;
        auto *entries = static_cast<void **>(omsc_HeapMalloc(static_cast<size_t>(count) * sizeof(void *)));
        if (entries == nullptr) return nullptr;
        const auto *from = static_cast<void *const *>(source);
        for (int64_t i = 0; i < count; ++i) {
            if (from[i] == nullptr) continue;  // null stays null
            entries[i] = field.shape == Model_Owned::Strings ? ostr_Duplicate(static_cast<const char *>(from[i]))
                                                             : copyBlock(from[i], field.elementSize);
        }
        return entries;
    }
    case Model_Owned::Font: return nullptr;  // handled by the caller
    }
    return nullptr;
}

}  // namespace

const Model_NodeKind *model_KindOf(int32_t kind) {
    if (kind < VMOD_RASTER || kind > VMOD_TEXT) return nullptr;
    return &kinds[kind];
}

const Model_NodeKind *model_Kinds(size_t *count) {
    *count = sizeof kinds / sizeof kinds[0];
    return kinds;
}

int64_t model_OwnedCount(const Model_OwnedField &field, const void *payload) {
    if (field.countOffset == kModelNoCount) return 0;
    int64_t count = countAt(payload, field.countOffset);
    if (field.countOffset2 != kModelNoCount) count *= countAt(payload, field.countOffset2);
    return count;
}

void *model_PayloadNew(int32_t kind) {
    const Model_NodeKind *k = model_KindOf(kind);
    if (k == nullptr) return nullptr;
    void *payload = omsc_HeapMalloc(k->payloadSize);
    if (payload == nullptr) return nullptr;
    if (k->setDefaults != nullptr) k->setDefaults(payload);
    for (size_t i = 0; i < k->ownedCount; ++i) {
        const Model_OwnedField &field = k->owned[i];
        if (field.shape == Model_Owned::Font)
            // A new payload may sit where a released one was: it owns no font yet.
            model_TextFontForget(static_cast<Vmod_TextData *>(payload));
        if (field.initial != nullptr) setPointerAt(payload, field.offset, ostr_Duplicate(field.initial));
    }
    return payload;
}

void model_PayloadCopyOwned(int32_t kind, void *copy) {
    const Model_NodeKind *k = model_KindOf(kind);
    if (k == nullptr) return;
    for (size_t i = 0; i < k->ownedCount; ++i) {
        const Model_OwnedField &field = k->owned[i];
        if (field.shape == Model_Owned::Font) {
            // The copy owns its font, whoever owned the source's.
            auto *text = static_cast<Vmod_TextData *>(copy);
            model_TextFontForget(text);
            model_TextFontAdopt(text, ostr_Duplicate(text->font));
            continue;
        }
        const bool copied = field.copied == nullptr || field.copied(copy);
        setPointerAt(copy, field.offset, copied ? copyOwned(field, copy) : nullptr);
    }
}

void model_PayloadReleaseOwned(int32_t kind, void *payload) {
    const Model_NodeKind *k = model_KindOf(kind);
    if (k == nullptr || payload == nullptr) return;
    for (size_t i = 0; i < k->ownedCount; ++i) {
        const Model_OwnedField &field = k->owned[i];
        if (field.shape == Model_Owned::Font) {
            // Only a font this payload owns; a shared model font stays with the model.
            model_TextFontRelease(static_cast<Vmod_TextData *>(payload));
            continue;
        }
        void *owned = pointerAt(payload, field.offset);
        if (owned == nullptr) continue;
        if (field.shape == Model_Owned::Strings || field.shape == Model_Owned::Records) {
            const int64_t count = model_OwnedCount(field, payload);
            auto *entries = static_cast<void **>(owned);
            for (int64_t e = 0; e < count; ++e) omsc_HeapFree(entries[e]);
        }
        omsc_HeapFree(owned);
    }
}

void model_NodesAfterRead(Vmod_Node *first) {
    for (Vmod_Node *node = first; node != nullptr; node = node->next) {
        const Model_NodeKind *k = model_KindOf(node->type);
        if (k != nullptr && k->afterRead != nullptr && node->data != nullptr) k->afterRead(node->data);
    }
}

const Model_OwnedField *model_HeaderOwned(size_t *count) {
    *count = sizeof headerOwned / sizeof headerOwned[0];
    return headerOwned;
}

void model_OwnedFieldRelease(const Model_OwnedField &field, void *record) {
    omsc_HeapFree(pointerAt(record, field.offset));
    setPointerAt(record, field.offset, nullptr);
}
