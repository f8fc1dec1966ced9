// The node list: lookups by identifier, the next free identifier, link resolution after
// a read, and releasing nodes, models and rectangles.
#include <gtest/gtest.h>

#include <climits>

#include "test_model_support.h"

TEST(vmod_IdToNode, FirstOfDuplicateIdentifiersWins) {
    TestModel m;
    Vmod_Node *first = m.add(VMOD_RASTER, 4);
    m.add(VMOD_VECTOR, 4);
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&m);
    EXPECT_EQ(vmod_IdToNode(&m.model, 4, &err), first);
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&m));  // left as it was
    EXPECT_EQ(vmod_IdToNode(&m.model, 5, nullptr), nullptr);
}

TEST(vmod_IdToNode, EmptyOrNullModelFindsNothing) {
    TestModel m;
    EXPECT_EQ(vmod_IdToNode(&m.model, 0, nullptr), nullptr);
    EXPECT_EQ(vmod_IdToNode(nullptr, 0, nullptr), nullptr);
}

TEST(vmod_NodeFind, StartsFromTheHeadWhateverNodeIsGiven) {
    TestModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 2);
    m.add(VMOD_RASTER, 3);
    Vmod_Node *c = m.add(VMOD_RASTER, 2);
    EXPECT_EQ(vmod_NodeFind(c, 2, nullptr), a);
    EXPECT_EQ(vmod_NodeFind(c, 9, nullptr), nullptr);
    EXPECT_EQ(vmod_NodeFind(nullptr, 2, nullptr), nullptr);
}

TEST(vmod_NodeNextAvail, OneMoreThanTheLargest) {
    TestModel m;
    m.add(VMOD_RASTER, 3);
    Vmod_Node *last = m.add(VMOD_RASTER, 7);
    EXPECT_EQ(vmod_NodeNextAvail(last, nullptr), 8);
}

TEST(vmod_NodeNextAvail, AtLeastOne) {
    TestModel m;
    Vmod_Node *zero = m.add(VMOD_RASTER, 0);
    EXPECT_EQ(vmod_NodeNextAvail(zero, nullptr), 1);
    m.add(VMOD_RASTER, -5);
    EXPECT_EQ(vmod_NodeNextAvail(zero, nullptr), 1);
    EXPECT_EQ(vmod_NodeNextAvail(nullptr, nullptr), 1);
}

TEST(vmod_NodeNextAvail, LargestIdentifierDoesNotOverflow) {
    TestModel m;
    Vmod_Node *top = m.add(VMOD_RASTER, INT_MAX);
    EXPECT_EQ(vmod_NodeNextAvail(top, nullptr), INT_MAX);
}

TEST(vmod_UpdateNodes, ResolvesChildrenAndBuildsParents) {
    TestModel m;
    auto [one, two, three] = m.nodes({VMOD_FUNCTION, VMOD_RASTER, VMOD_RASTER});
    vmod_ChildAdd(one, 2, nullptr);
    vmod_ChildAdd(one, 3, nullptr);
    EXPECT_EQ(vmod_UpdateNodes(&m.model, nullptr), &m.model);
    EXPECT_EQ(fieldValue(one->children->node), two);
    EXPECT_EQ(fieldValue(one->children->next->node), three);
    for (Vmod_Node *child : {two, three}) {
        ASSERT_NE(fieldValue(child->parents), nullptr);
        EXPECT_EQ(fieldValue(child->parents->id), 1);
        EXPECT_EQ(fieldValue(child->parents->node), one);
        EXPECT_EQ(fieldValue(child->parents->next), nullptr);
    }
}

TEST(vmod_UpdateNodes, SetsExtentsByKind) {
    TestModel m;
    auto [raster, text] = m.nodes({VMOD_RASTER, VMOD_TEXT});
    static_cast<Vmod_TextData *>(text->data)->extentWidth = 0xFFFFFFFFu;  // read unsigned
    vmod_UpdateNodes(&m.model, nullptr);
    EXPECT_EQ(fieldValue(raster->width), 0.75);
    EXPECT_EQ(fieldValue(raster->height), 0.5);
    EXPECT_EQ(fieldValue(text->width), 4294967295.0);
    EXPECT_EQ(fieldValue(text->height), 19.0);
}

TEST(vmod_UpdateNodes, ChildNamingNoNodeStaysUnresolved) {
    TestModel m;
    auto [one, two] = m.nodes({VMOD_FUNCTION, VMOD_RASTER});
    vmod_ChildAdd(one, 42, nullptr);
    vmod_ChildAdd(one, 2, nullptr);
    vmod_UpdateNodes(&m.model, nullptr);
    EXPECT_EQ(fieldValue(one->children->id), 42);
    EXPECT_EQ(fieldValue(one->children->node), nullptr);
    EXPECT_EQ(fieldValue(one->children->next->node), two);
    EXPECT_EQ(linkIds(two->parents), std::vector<int32_t>{1});
}

TEST(vmod_UpdateNodes, SecondRunDoublesParentLinks) {
    TestModel m;
    auto [one, two] = m.nodes({VMOD_FUNCTION, VMOD_RASTER});
    vmod_ChildAdd(one, 2, nullptr);
    vmod_UpdateNodes(&m.model, nullptr);
    vmod_UpdateNodes(&m.model, nullptr);
    EXPECT_EQ(linkIds(two->parents), (std::vector<int32_t>{1, 1}));
}

TEST(vmod_NodesDelete, ReleasesTheRestOfTheListWithEverythingOwned) {
    // Run under LeakSanitizer: titles, payloads and links go with the nodes.
    TestModel m;
    Vmod_Node *a = m.add(VMOD_VECTOR, 1, "a");
    Vmod_Node *b = m.add(VMOD_FUNCTION, 2, "f");
    Vmod_Node *c = m.add(VMOD_RASTER, 3, "c");
    functionData(b)->expression = ostr_Duplicate("a + 1");
    m.chain({b, c, b});
    vmod_ChildAdd(c, 77, nullptr);
    // Cut the list after a, as a caller releasing its tail would.
    a->next = nullptr;
    b->prev = nullptr;
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&m);
    vmod_NodesDelete(b, &err);
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&m));  // left as it was
    EXPECT_EQ(fieldValue(m.model.nodes), a);
}

TEST(vmod_ModelDelete, ReleasesHeaderStringsAndNodesWithoutWritingErr) {
    Vmod_Model model{};
    model.fileName = ostr_Duplicate("/tmp/a.gmd");
    model.title = ostr_Duplicate("title");
    model.aoiFile = ostr_Duplicate("aoi");
    model.projectionSameAs = ostr_Duplicate("p");
    model.window = vmod_RectCreate(nullptr);
    char font[] = "helvetica";  // the front end's string, shared by new text nodes
    model.textFont = font;
    Vmod_Node *text = vmod_NodeCreate(&model, VMOD_TEXT, nullptr);
    model.nodes = text;
    Oerr_ErrorReport *sentinel = reinterpret_cast<Oerr_ErrorReport *>(&model);
    Oerr_ErrorReport *err = sentinel;
    vmod_ModelDelete(&model, &err);
    EXPECT_EQ(err, sentinel);
    EXPECT_STREQ(font, "helvetica");
    // Released fields are cleared, so a second release is harmless.
    EXPECT_EQ(model.fileName, nullptr);
    EXPECT_EQ(model.nodes, nullptr);
    vmod_ModelDelete(&model, nullptr);
    vmod_ModelDelete(nullptr, nullptr);
}

TEST(vmod_RectCreate, FourZeros) {
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&err);
    Vmod_Rect *rect = vmod_RectCreate(&err);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&err));  // left as it was
    EXPECT_EQ(fieldValue(rect->x1), 0.0);
    EXPECT_EQ(fieldValue(rect->y1), 0.0);
    EXPECT_EQ(fieldValue(rect->x2), 0.0);
    EXPECT_EQ(fieldValue(rect->y2), 0.0);
    vmod_RectDelete(rect, &err);
    vmod_RectDelete(nullptr, nullptr);
}
