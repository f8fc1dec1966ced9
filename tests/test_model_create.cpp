// Node creation with its defaults and preferences, the thematic default, and duplication.
#include <gtest/gtest.h>

#include <cstring>

#include "model/node_release.h"
#include "model/text_font.h"
#include "test_model_support.h"
#include "vmodhost/vmodhost.h"

namespace {

struct Preferences {
    Preferences() { vmodhost_ClearPreferences(); }
    ~Preferences() { vmodhost_ClearPreferences(); }
    void set(const char *key, const char *value) { vmodhost_SetPreference("modeler", key, value); }
};

// Releases a node that is in no list.
struct NodeKeeper {
    Vmod_Node *node;
    explicit NodeKeeper(Vmod_Node *n) : node(n) {}
    ~NodeKeeper() { vmod_NodesDelete(node, nullptr); }
    NodeKeeper(const NodeKeeper &) = delete;
    NodeKeeper &operator=(const NodeKeeper &) = delete;
};

template <typename T>
T *payload(Vmod_Node *n) {
    return static_cast<T *>(n->data);
}

// The payload of a new table node of dataType whose size is given.
Vmod_TableData *sizedTable(Vmod_Node *node, int32_t dataType, int32_t size) {
    auto *t = payload<Vmod_TableData>(node);
    t->dataType = dataType;
    t->size = size;
    return t;
}

bool allZero(const void *data, size_t size) {
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

}  // namespace

TEST(vmod_NodeCreate, RasterDefaultsWithoutPreferences) {
    Preferences prefs;
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&prefs);
    NodeKeeper k(vmod_NodeCreate(nullptr, VMOD_RASTER, &err));
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&prefs));  // left as it was
    auto *r = payload<Vmod_RasterData>(k.node);
    EXPECT_EQ(fieldValue(r->dataType), 3);
    EXPECT_EQ(fieldValue(r->thematic), 1);
    EXPECT_EQ(fieldValue(r->interpolation), 0);
    EXPECT_EQ(fieldValue(r->ignoreSet), 0);
    EXPECT_EQ(fieldValue(r->ignoreValue), 0.0);
    EXPECT_EQ(fieldValue(k.node->render), &Vmod_RenderTable[VMOD_SLOT_RASTER]);
    EXPECT_EQ(fieldValue(k.node->id), 0);
    EXPECT_EQ(fieldValue(k.node->title), nullptr);
    EXPECT_EQ(fieldValue(k.node->children), nullptr);
}

TEST(vmod_NodeCreate, RasterPreferences) {
    Preferences prefs;
    prefs.set("stats_option", "Ignore specified value");
    prefs.set("stats_ignore_value", "-9999.5");
    prefs.set("thematic_interpolation", "Cubic Convolution");
    prefs.set("athematic_interpolation", "Bilinear Interpolation");
    NodeKeeper thematic(vmod_NodeCreate(nullptr, VMOD_RASTER, nullptr));
    auto *r = payload<Vmod_RasterData>(thematic.node);
    EXPECT_EQ(fieldValue(r->ignoreSet), 1);
    EXPECT_EQ(fieldValue(r->ignoreValue), -9999.5);
    EXPECT_EQ(fieldValue(r->interpolation), 2);
    prefs.set("athematic_switch", "8 bit unsigned integer");
    NodeKeeper athematic(vmod_NodeCreate(nullptr, VMOD_RASTER, nullptr));
    EXPECT_EQ(fieldValue(payload<Vmod_RasterData>(athematic.node)->thematic), 0);
    EXPECT_EQ(fieldValue(payload<Vmod_RasterData>(athematic.node)->interpolation), 1);
}

TEST(vmod_NodeCreate, SharedFontOwnDeclareAndOutOfOrderSlots) {
    Vmod_Model model{};
    char font[] = "times";
    model.textFont = font;
    model.textSize = 12;
    model.textStyle = 5;
    NodeKeeper vector(vmod_NodeCreate(&model, VMOD_VECTOR, nullptr));
    NodeKeeper vector2(vmod_NodeCreate(&model, VMOD_VECTOR, nullptr));
    NodeKeeper function(vmod_NodeCreate(&model, VMOD_FUNCTION, nullptr));
    NodeKeeper criteria(vmod_NodeCreate(&model, VMOD_CRITERIA, nullptr));
    NodeKeeper text(vmod_NodeCreate(&model, VMOD_TEXT, nullptr));

    EXPECT_STREQ(payload<Vmod_VectorData>(vector.node)->declare, "Integer");
    EXPECT_NE(fieldValue(payload<Vmod_VectorData>(vector.node)->declare),
              fieldValue(payload<Vmod_VectorData>(vector2.node)->declare));
    EXPECT_TRUE(allZero(function.node->data, sizeof(Vmod_FunctionData)));
    EXPECT_EQ(fieldValue(payload<Vmod_CriteriaData>(criteria.node)->rows), 1);
    EXPECT_EQ(fieldValue(payload<Vmod_CriteriaData>(criteria.node)->columns), 0);
    auto *t = payload<Vmod_TextData>(text.node);
    EXPECT_EQ(fieldValue(t->font), font);  // shared, not copied
    EXPECT_EQ(fieldValue(t->size), 12);
    EXPECT_EQ(fieldValue(t->style), 5);
    EXPECT_EQ(fieldValue(t->extentWidth), 14u);
    EXPECT_EQ(fieldValue(t->extentHeight), 19u);
    EXPECT_FALSE(model_TextFontOwned(t));

    EXPECT_EQ(fieldValue(function.node->render), &Vmod_RenderTable[VMOD_SLOT_FUNCTION]);
    EXPECT_EQ(fieldValue(*function.node->render), &vmod_RenderFunction);
    EXPECT_EQ(fieldValue(criteria.node->render), &Vmod_RenderTable[VMOD_SLOT_CRITERIA]);
    EXPECT_EQ(fieldValue(*criteria.node->render), &vmod_RenderCriteria);
    EXPECT_EQ(fieldValue(text.node->render), &Vmod_RenderTable[VMOD_SLOT_TEXT]);
}

TEST(vmod_NodeCreate, UnknownKindHasNoPayloadNorSlot) {
    for (int32_t kind : {-1, 8, 1000}) {
        NodeKeeper k(vmod_NodeCreate(nullptr, kind, nullptr));
        EXPECT_EQ(fieldValue(k.node->type), kind);
        EXPECT_EQ(fieldValue(k.node->data), nullptr);
        EXPECT_EQ(fieldValue(k.node->render), nullptr);
    }
}

TEST(vmod_ThematicDefault, SignedAndFloatingTypesAreAthematic) {
    Preferences prefs;
    prefs.set("athematic_switch", "Signed type only");
    for (int32_t type : {4, 6, 8, 9, 10, 11, 12}) EXPECT_EQ(vmod_ThematicDefault(type), 0) << type;
    for (int32_t type : {0, 1, 2, 3, 5, 7, 13}) EXPECT_EQ(vmod_ThematicDefault(type), 1) << type;
}

TEST(vmod_ThematicDefault, SwitchNamesTheNarrowestAthematicType) {
    Preferences prefs;
    const struct {
        const char *setting;
        int32_t type;
        int32_t thematic;
    } cases[] = {
        {"2 bit unsigned integer", 0, 1},  {"2 bit unsigned integer", 1, 0},  {"2 bit unsigned integer", 4, 0},
        {"1 bit unsigned integer", 0, 0},  {"1 bit unsigned integer", 13, 0}, {"16 bit unsigned integer", 3, 1},
        {"16 bit unsigned integer", 5, 0}, {"32 bit unsigned integer", 5, 1}, {"32 bit unsigned integer", 7, 0},
        {"something else", 7, 1},
    };
    for (const auto &c : cases) {
        prefs.set("athematic_switch", c.setting);
        EXPECT_EQ(vmod_ThematicDefault(c.type), c.thematic) << c.setting << ", type " << c.type;
    }
}

TEST(vmod_NodeDuplicate, RasterCopiesOwnStringsTableAndRectangle) {
    NodeKeeper source(vmod_NodeCreate(nullptr, VMOD_RASTER, nullptr));
    source.node->id = 7;
    source.node->title = ostr_Duplicate("dem");
    source.node->selected = 1;
    source.node->userData = 42;
    auto *r = payload<Vmod_RasterData>(source.node);
    r->ignoreValue = 1.0000000000000002;  // all 64 bits must survive
    r->fileName = ostr_Duplicate("dem.img");
    r->numClasses = 4;
    r->newClasses = static_cast<int32_t *>(omsc_HeapMalloc(4 * sizeof(int32_t)));
    for (int i = 0; i < 4; ++i) r->newClasses[i] = 10 + i;
    r->areaRect = vmod_RectCreate(nullptr);
    r->areaRect->x2 = 3.5;
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&r);
    NodeKeeper copy(vmod_NodeDuplicate(source.node, &err));
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&r));  // left as it was
    auto *c = payload<Vmod_RasterData>(copy.node);
    EXPECT_EQ(fieldValue(copy.node->id), 7);
    EXPECT_EQ(fieldValue(copy.node->selected), 1);
    EXPECT_EQ(fieldValue(copy.node->userData), 42);
    EXPECT_STREQ(copy.node->title, "dem");
    EXPECT_NE(fieldValue(copy.node->title), fieldValue(source.node->title));
    EXPECT_EQ(fieldValue(c->ignoreValue), 1.0000000000000002);
    EXPECT_NE(fieldValue(c->fileName), fieldValue(r->fileName));
    ASSERT_NE(fieldValue(c->newClasses), fieldValue(r->newClasses));
    c->newClasses[2] = 99;
    EXPECT_EQ(fieldValue(r->newClasses[2]), 12);
    EXPECT_EQ(fieldValue(c->newClasses[3]), 13);
    ASSERT_NE(fieldValue(c->areaRect), fieldValue(r->areaRect));
    EXPECT_EQ(fieldValue(c->areaRect->x2), 3.5);
    EXPECT_EQ(fieldValue(copy.node->render), &Vmod_RenderTable[VMOD_SLOT_RASTER]);
}

TEST(vmod_NodeDuplicate, TableCopiesLiteralValuesOnly) {
    NodeKeeper source(vmod_NodeCreate(nullptr, VMOD_TABLE, nullptr));
    auto *t = sizedTable(source.node, VMOD_TABLE_STRING, 3);
    t->strings = static_cast<char **>(omsc_HeapMalloc(3 * sizeof(char *)));
    t->strings[0] = ostr_Duplicate("a");
    t->strings[2] = ostr_Duplicate("c");  // a null entry stays null
    t->values = static_cast<double *>(omsc_HeapMalloc(3 * sizeof(double)));
    NodeKeeper copy(vmod_NodeDuplicate(source.node, nullptr));
    auto *c = payload<Vmod_TableData>(copy.node);
    ASSERT_NE(fieldValue(c->strings), nullptr);
    EXPECT_STREQ(c->strings[0], "a");
    EXPECT_EQ(fieldValue(c->strings[1]), nullptr);
    EXPECT_STREQ(c->strings[2], "c");
    EXPECT_EQ(fieldValue(c->values), nullptr);  // a string table's value array is not its data

    t->source = 2;
    NodeKeeper fromFile(vmod_NodeDuplicate(source.node, nullptr));
    auto *f = payload<Vmod_TableData>(fromFile.node);
    EXPECT_EQ(fieldValue(f->values), nullptr);
    EXPECT_EQ(fieldValue(f->strings), nullptr);
    EXPECT_EQ(fieldValue(f->colors), nullptr);
}

TEST(vmod_NodeDuplicate, TableColorsAreNewRecords) {
    NodeKeeper source(vmod_NodeCreate(nullptr, VMOD_TABLE, nullptr));
    auto *t = sizedTable(source.node, VMOD_TABLE_COLOR, 2);
    t->colors = static_cast<Vmod_TableColor **>(omsc_HeapMalloc(2 * sizeof(Vmod_TableColor *)));
    t->colors[0] = static_cast<Vmod_TableColor *>(omsc_HeapMalloc(sizeof(Vmod_TableColor)));
    t->colors[0]->value[3] = 0.25;
    t->colors[0]->reserved[1] = 6;
    NodeKeeper copy(vmod_NodeDuplicate(source.node, nullptr));
    auto *c = payload<Vmod_TableData>(copy.node);
    ASSERT_NE(fieldValue(c->colors[0]), fieldValue(t->colors[0]));
    EXPECT_EQ(fieldValue(c->colors[0]->value[3]), 0.25);
    EXPECT_EQ(fieldValue(c->colors[0]->reserved[1]), 6);
    EXPECT_EQ(fieldValue(c->colors[1]), nullptr);
}

TEST(vmod_NodeDuplicate, CriteriaAndMatrixArrays) {
    NodeKeeper source(vmod_NodeCreate(nullptr, VMOD_CRITERIA, nullptr));
    auto *cr = payload<Vmod_CriteriaData>(source.node);
    cr->columns = 2;
    cr->rows = 2;
    cr->columnTitles = static_cast<char **>(omsc_HeapMalloc(2 * sizeof(char *)));
    cr->columnTitles[1] = ostr_Duplicate("b");
    cr->cells = static_cast<char **>(omsc_HeapMalloc(4 * sizeof(char *)));
    cr->cells[3] = ostr_Duplicate("> 2");
    cr->done = 1;
    NodeKeeper copy(vmod_NodeDuplicate(source.node, nullptr));
    auto *cc = payload<Vmod_CriteriaData>(copy.node);
    EXPECT_EQ(fieldValue(cc->columnTitles[0]), nullptr);
    EXPECT_STREQ(cc->columnTitles[1], "b");
    EXPECT_STREQ(cc->cells[3], "> 2");
    EXPECT_NE(fieldValue(cc->cells[3]), fieldValue(cr->cells[3]));
    EXPECT_EQ(fieldValue(cc->outputValues), nullptr);
    EXPECT_EQ(fieldValue(cc->done), 1);

    NodeKeeper matrix(vmod_NodeCreate(nullptr, VMOD_MATRIX, nullptr));
    auto *m = payload<Vmod_MatrixData>(matrix.node);
    m->values = static_cast<double *>(omsc_HeapMalloc(9 * sizeof(double)));
    m->values[8] = 0.5;
    m->reserved[5] = 3;
    m->frontText = ostr_Duplicate("kernel");
    NodeKeeper matrixCopy(vmod_NodeDuplicate(matrix.node, nullptr));
    auto *mc = payload<Vmod_MatrixData>(matrixCopy.node);
    EXPECT_NE(fieldValue(mc->values), fieldValue(m->values));
    EXPECT_EQ(fieldValue(mc->values[8]), 0.5);
    EXPECT_EQ(fieldValue(mc->reserved[5]), 3);
    EXPECT_STREQ(mc->frontText, "kernel");
}

TEST(vmod_NodeDuplicate, TextCopyOwnsItsFontTheSourceDoesNot) {
    Vmod_Model model{};
    char font[] = "helvetica";
    model.textFont = font;
    NodeKeeper source(vmod_NodeCreate(&model, VMOD_TEXT, nullptr));
    NodeKeeper copy(vmod_NodeDuplicate(source.node, nullptr));
    auto *t = payload<Vmod_TextData>(copy.node);
    EXPECT_NE(fieldValue(t->font), font);
    EXPECT_STREQ(t->font, "helvetica");
    EXPECT_TRUE(model_TextFontOwned(t));
    EXPECT_FALSE(model_TextFontOwned(payload<Vmod_TextData>(source.node)));
}

TEST(vmod_NodeDuplicate, TextFontReplacedByTheFrontEndIsNotReleased) {
    NodeKeeper source(vmod_NodeCreate(nullptr, VMOD_TEXT, nullptr));
    model_TextFontAdopt(payload<Vmod_TextData>(source.node), ostr_Duplicate("courier"));
    NodeKeeper copy(vmod_NodeDuplicate(source.node, nullptr));
    auto *t = payload<Vmod_TextData>(copy.node);
    char *owned = t->font;
    char frontEnds[] = "symbol";
    t->font = frontEnds;  // the copy's own font is now the caller's to release
    omsc_HeapFree(owned);
    vmod_NodesDelete(copy.node, nullptr);
    copy.node = nullptr;
    EXPECT_STREQ(frontEnds, "symbol");
}

TEST(vmod_NodeDuplicate, CopyGivenItsOwnListsReleasesCleanly) {
    // The documented use: the copy shares the source's links until it gets its own.
    TestModel m;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2, "f");
    m.arrow(in, f);
    Vmod_Node *copy = vmod_NodeDuplicate(f, nullptr);
    EXPECT_EQ(fieldValue(copy->parents), fieldValue(f->parents));
    copy->id = vmod_NodeNextAvail(in, nullptr);
    copy->children = nullptr;
    copy->parents = nullptr;
    m.append(copy);
    m.arrow(in, copy);
    EXPECT_EQ(linkIds(in->children), (std::vector<int32_t>{2, 3}));
    copy->selected = 1;
    m.model.nodes = vmod_NodesSelDel(in, nullptr);
    EXPECT_EQ(linkIds(in->children), std::vector<int32_t>{2});
}

TEST(vmod_NodeDuplicate, NullAndUnknownKind) {
    EXPECT_EQ(vmod_NodeDuplicate(nullptr, nullptr), nullptr);
    NodeKeeper odd(vmod_NodeCreate(nullptr, 12, nullptr));
    odd.node->title = ostr_Duplicate("odd");
    NodeKeeper copy(vmod_NodeDuplicate(odd.node, nullptr));
    EXPECT_EQ(fieldValue(copy.node->data), nullptr);
    EXPECT_EQ(fieldValue(copy.node->render), nullptr);
    EXPECT_STREQ(copy.node->title, "odd");
}
