// The kind table that creation, duplication and release walk: it covers every kind, its
// owned fields lie inside their records, and a duplicate owns copies of exactly what the
// table lists (under AddressSanitizer a field the table misses shows as a double release
// or a leak when the copies and the model are released).
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "model/node_kinds.h"
#include "model/node_release.h"
#include "support/model_generator.h"

namespace {

void *pointerAt(const void *payload, size_t offset) {
    void *value = nullptr;
    std::memcpy(&value, static_cast<const char *>(payload) + offset, sizeof value);
    return value;
}

bool sameEntries(const Model_OwnedField &field, const void *a, const void *b, int64_t count) {
    switch (field.shape) {
    case Model_Owned::String:
    case Model_Owned::Font: return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b)) == 0;
    case Model_Owned::Rect: return std::memcmp(a, b, sizeof(Vmod_Rect)) == 0;
    case Model_Owned::Values: return std::memcmp(a, b, static_cast<size_t>(count) * field.elementSize) == 0;
    case Model_Owned::Strings:
    case Model_Owned::Records:
        for (int64_t i = 0; i < count; ++i) {
            const void *x = static_cast<void *const *>(a)[i];
            const void *y = static_cast<void *const *>(b)[i];
            if ((x == nullptr) != (y == nullptr)) return false;
            if (x == nullptr) continue;
            if (x == y) return false; // an entry shared, not copied
            bool same = field.shape == Model_Owned::Strings
                            ? std::strcmp(static_cast<const char *>(x), static_cast<const char *>(y)) == 0
                            : std::memcmp(x, y, field.elementSize) == 0;
            if (!same) return false;
        }
        return true;
    }
    return false;
}

} // namespace

TEST(ModelKinds, TableCoversEveryKindInOrder) {
    size_t count = 0;
    const Model_NodeKind *kinds = model_Kinds(&count);
    ASSERT_EQ(count, 8u);
    const size_t sizes[] = {sizeof(Vmod_RasterData), sizeof(Vmod_VectorData),   sizeof(Vmod_MatrixData),
                            sizeof(Vmod_TableData),  sizeof(Vmod_ScalarData),   sizeof(Vmod_FunctionData),
                            sizeof(Vmod_CriteriaData), sizeof(Vmod_TextData)};
    const int32_t slots[] = {VMOD_SLOT_RASTER, VMOD_SLOT_VECTOR,   VMOD_SLOT_MATRIX,   VMOD_SLOT_TABLE,
                             VMOD_SLOT_SCALAR, VMOD_SLOT_FUNCTION, VMOD_SLOT_CRITERIA, VMOD_SLOT_TEXT};
    std::set<std::string> names;
    for (int32_t kind = VMOD_RASTER; kind <= VMOD_TEXT; ++kind) {
        const Model_NodeKind &k = kinds[kind];
        EXPECT_EQ(&k, model_KindOf(kind));
        EXPECT_EQ(k.kind, kind);
        EXPECT_EQ(k.payloadSize, sizes[kind]) << k.name;
        EXPECT_EQ(k.renderSlot, slots[kind]) << k.name;
        names.insert(k.name);
    }
    EXPECT_EQ(names.size(), 8u);
    EXPECT_EQ(model_KindOf(-1), nullptr);
    EXPECT_EQ(model_KindOf(8), nullptr);
    EXPECT_EQ(model_PayloadNew(8), nullptr);
}

TEST(ModelKinds, OwnedFieldsLieInsideTheirRecordAndApart) {
    size_t count = 0;
    const Model_NodeKind *kinds = model_Kinds(&count);
    for (size_t k = 0; k < count; ++k) {
        std::set<size_t> used; // every byte of a pointer or a count field
        for (size_t i = 0; i < kinds[k].ownedCount; ++i) {
            const Model_OwnedField &field = kinds[k].owned[i];
            SCOPED_TRACE(std::string(kinds[k].name) + "." + field.name);
            EXPECT_LE(field.offset + sizeof(void *), kinds[k].payloadSize);
            EXPECT_EQ(field.offset % 4, 0u);
            for (size_t b = 0; b < sizeof(void *); ++b) EXPECT_TRUE(used.insert(field.offset + b).second);
            const bool counted = field.shape == Model_Owned::Values || field.shape == Model_Owned::Strings ||
                                 field.shape == Model_Owned::Records;
            EXPECT_EQ(field.countOffset != kModelNoCount, counted);
            if (counted) {
                EXPECT_LE(field.countOffset + sizeof(int32_t), kinds[k].payloadSize);
            }
            if (field.countOffset2 != kModelNoCount) {
                EXPECT_LE(field.countOffset2 + sizeof(int32_t), kinds[k].payloadSize);
            }
            if (field.shape == Model_Owned::Values || field.shape == Model_Owned::Records) {
                EXPECT_GT(field.elementSize, 0u);
            }
        }
    }
}

TEST(ModelKinds, DuplicatesOwnCopiesOfEveryListedField) {
    for (uint64_t seed = 1; seed <= 12; ++seed) {
        vmodtest::ModelPtr model(vmodtest::generateModel(seed, 40, 3));
        for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
            Vmod_Node *copy = vmod_NodeDuplicate(node, nullptr);
            ASSERT_NE(copy, nullptr);
            copy->children = copy->parents = nullptr;
            const Model_NodeKind *kind = model_KindOf(node->type);
            ASSERT_NE(kind, nullptr);
            for (size_t i = 0; i < kind->ownedCount; ++i) {
                const Model_OwnedField &field = kind->owned[i];
                SCOPED_TRACE(std::string(kind->name) + "." + field.name + " seed " + std::to_string(seed));
                void *source = pointerAt(node->data, field.offset);
                void *copied = pointerAt(copy->data, field.offset);
                const bool kept = field.copied == nullptr || field.copied(node->data);
                const int64_t entries = model_OwnedCount(field, node->data);
                const bool empty = (field.countOffset != kModelNoCount && entries == 0);
                if (source == nullptr || !kept || empty) {
                    EXPECT_EQ(copied, nullptr);
                    continue;
                }
                ASSERT_NE(copied, nullptr);
                EXPECT_NE(copied, source);
                EXPECT_TRUE(sameEntries(field, source, copied, entries));
            }
            model_NodeRelease(copy);
        }
    }
}

TEST(ModelKinds, NewPayloadsStartWithTheirKindsDefaults) {
    auto *vector = static_cast<Vmod_VectorData *>(model_PayloadNew(VMOD_VECTOR));
    ASSERT_NE(vector, nullptr);
    EXPECT_STREQ(vector->declare, "Integer");
    model_PayloadRelease(VMOD_VECTOR, vector);
    auto *matrix = static_cast<Vmod_MatrixData *>(model_PayloadNew(VMOD_MATRIX));
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(+(matrix->source), VMOD_MATRIX_LITERAL);
    EXPECT_EQ(+(matrix->builtin), VMOD_KERNEL_LOWPASS);
    EXPECT_EQ(+(matrix->values), nullptr);
    model_PayloadRelease(VMOD_MATRIX, matrix);
}
