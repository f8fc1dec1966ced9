// Arrows: adding and removing child links with their mirrors, and deleting selected nodes.
#include <gtest/gtest.h>

#include "test_model_support.h"

TEST(vmod_ChildAdd, FirstLinkBecomesHeadLaterLinksAppend) {
    TestModel m;
    Vmod_Node *p = m.add(VMOD_FUNCTION, 1);
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&m);
    Vmod_Link *first = vmod_ChildAdd(p, 5, &err);
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&m));  // left as it was
    EXPECT_EQ(fieldValue(p->children), first);
    EXPECT_EQ(fieldValue(first->node), nullptr);
    EXPECT_EQ(fieldValue(first->prev), nullptr);
    Vmod_Link *second = vmod_ChildAdd(p, 6, nullptr);
    EXPECT_EQ(fieldValue(p->children), first);
    EXPECT_EQ(fieldValue(first->next), second);
    EXPECT_EQ(fieldValue(second->prev), first);
    EXPECT_EQ(fieldValue(second->next), nullptr);
    EXPECT_EQ(vmod_ChildAdd(nullptr, 1, nullptr), nullptr);
}

TEST(vmod_ChildAddByNode, ReturnsTheMirrorAndAcceptsDuplicates) {
    TestModel m;
    auto [p, c] = m.nodes({VMOD_FUNCTION, VMOD_RASTER});
    Vmod_Link *mirror = vmod_ChildAddByNode(p, c, nullptr);
    EXPECT_EQ(fieldValue(c->parents), mirror);
    EXPECT_EQ(fieldValue(mirror->id), 1);
    EXPECT_EQ(fieldValue(mirror->node), p);
    EXPECT_EQ(fieldValue(p->children->id), 2);
    EXPECT_EQ(fieldValue(p->children->node), c);
    vmod_ChildAddByNode(p, c, nullptr);
    EXPECT_EQ(vmod_NumChildren(p), 2);
    EXPECT_EQ(linkIds(c->parents), (std::vector<int32_t>{1, 1}));
}

TEST(vmod_NumChildren, CountsLinksAndNullIsZero) {
    TestModel m;
    Vmod_Node *p = m.add(VMOD_FUNCTION, 1);
    EXPECT_EQ(vmod_NumChildren(nullptr), 0);
    EXPECT_EQ(vmod_NumChildren(p), 0);
    vmod_ChildAdd(p, 9, nullptr);
    vmod_ChildAdd(p, 9, nullptr);
    EXPECT_EQ(vmod_NumChildren(p), 2);
}

TEST(vmod_ChildDelete, OnlyChildLeavesNullHead) {
    TestModel m;
    auto [p, c] = m.nodes({VMOD_FUNCTION, VMOD_VECTOR});
    m.arrow(p, c);
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&m);
    vmod_ChildDelete(p, 2, &err);
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&m));  // left as it was
    EXPECT_EQ(fieldValue(p->children), nullptr);
    EXPECT_EQ(fieldValue(c->parents), nullptr);
}

TEST(vmod_ChildDelete, DeletingTheHeadLeavesTheNextAsHead) {
    TestModel m;
    auto [p, a, b, c] = m.nodes({VMOD_FUNCTION, VMOD_RASTER, VMOD_RASTER, VMOD_RASTER});
    m.fan(p, {a, b, c});
    vmod_ChildDelete(p, 2, nullptr);
    EXPECT_EQ(linkIds(p->children), (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(fieldValue(p->children->prev), nullptr);
    vmod_ChildDelete(p, 4, nullptr);
    EXPECT_EQ(linkIds(p->children), std::vector<int32_t>{3});
    EXPECT_EQ(fieldValue(p->children->next), nullptr);
}

TEST(vmod_ChildDelete, ClearsNewFileOfAnOutputRasterOnly) {
    TestModel m;
    auto [f, raster, vector] = m.nodes({VMOD_FUNCTION, VMOD_RASTER, VMOD_VECTOR});
    static_cast<Vmod_RasterData *>(raster->data)->newFile = 1;
    auto *vectorData = static_cast<Vmod_VectorData *>(vector->data);
    vectorData->tempFile = 1;
    m.fan(f, {raster, vector});
    vmod_ChildDelete(f, 2, nullptr);
    EXPECT_EQ(fieldValue(static_cast<Vmod_RasterData *>(raster->data)->newFile), 0);
    vmod_ChildDelete(f, 3, nullptr);
    EXPECT_EQ(fieldValue(vectorData->tempFile), 1);
    EXPECT_EQ(fieldValue(vectorData->vectorType), 0);
}

TEST(vmod_ChildDelete, RemovesOnlyTheMirrorsNamingTheParent) {
    TestModel m;
    auto [p, q, f] = m.nodes({VMOD_RASTER, VMOD_RASTER, VMOD_FUNCTION});
    m.arrow(p, f);
    m.arrow(q, f);
    m.arrow(p, f);
    vmod_ChildDelete(p, 3, nullptr);
    EXPECT_EQ(fieldValue(p->children), nullptr);
    EXPECT_EQ(linkIds(f->parents), std::vector<int32_t>{2});
    EXPECT_EQ(fieldValue(f->parents->node), q);
}

TEST(vmod_ChildDelete, UnresolvedLinkIsRemovedWithoutMirror) {
    TestModel m;
    auto [p, c] = m.nodes({VMOD_FUNCTION, VMOD_RASTER});
    vmod_ChildAdd(p, 2, nullptr);  // resolved later, never here
    vmod_ChildAdd(p, 99, nullptr);
    m.arrow(p, c);
    vmod_ChildDelete(p, 99, nullptr);
    EXPECT_EQ(linkIds(p->children), (std::vector<int32_t>{2, 2}));
    vmod_ChildDelete(p, 2, nullptr);
    EXPECT_EQ(fieldValue(p->children), nullptr);
    EXPECT_EQ(fieldValue(c->parents), nullptr);
}

TEST(vmod_ChildrenDelete, CutsEveryArrowLeavingTheNode) {
    TestModel m;
    auto [p, a, b, other] = m.nodes({VMOD_FUNCTION, VMOD_RASTER, VMOD_RASTER, VMOD_FUNCTION});
    m.arrow(p, a);
    m.arrow(other, a);
    m.arrow(p, b);
    vmod_ChildAdd(p, 50, nullptr);
    vmod_ChildrenDelete(p, nullptr);
    EXPECT_EQ(fieldValue(p->children), nullptr);
    EXPECT_EQ(linkIds(a->parents), std::vector<int32_t>{4});
    EXPECT_EQ(fieldValue(b->parents), nullptr);
}

TEST(vmod_SingleParent, LeavesOnlyTheGivenParent) {
    TestModel m;
    auto [p, q, r, c] = m.nodes({VMOD_FUNCTION, VMOD_FUNCTION, VMOD_FUNCTION, VMOD_RASTER});
    m.arrow(q, c);
    m.arrow(p, c);
    m.arrow(r, c);
    vmod_ChildAdd(r, 4, nullptr);
    vmod_SingleParent(p, 4, nullptr);
    EXPECT_EQ(linkIds(p->children), std::vector<int32_t>{4});
    EXPECT_EQ(fieldValue(q->children), nullptr);
    EXPECT_EQ(fieldValue(r->children), nullptr);
    ASSERT_NE(fieldValue(c->parents), nullptr);
    EXPECT_EQ(linkIds(c->parents), std::vector<int32_t>{1});
}

TEST(vmod_NodesSelDel, DeletingTheFirstTwoReturnsTheThird) {
    TestModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1, "a");
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2, "f");
    Vmod_Node *c = m.add(VMOD_RASTER, 3, "c");
    Vmod_Node *d = m.add(VMOD_RASTER, 4, "d");
    m.chain({a, f, c, d});
    vmod_ChildAdd(a, 77, nullptr);
    a->selected = 1;
    f->selected = 1;
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&m);
    m.model.nodes = vmod_NodesSelDel(d, &err);
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&m));  // left as it was
    EXPECT_EQ(fieldValue(m.model.nodes), c);
    EXPECT_EQ(fieldValue(c->prev), nullptr);
    EXPECT_EQ(fieldValue(c->parents), nullptr);
    EXPECT_EQ(linkIds(c->children), std::vector<int32_t>{4});
    EXPECT_EQ(linkIds(d->parents), std::vector<int32_t>{3});
}

TEST(vmod_NodesSelDel, DeletingAMiddleNodeCutsItsArrows) {
    TestModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1, "a");
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2, "f");
    Vmod_Node *c = m.add(VMOD_RASTER, 3, "c");
    m.chain({a, f, c});
    m.arrow(f, f);  // an arrow to itself goes too
    f->selected = 1;
    m.model.nodes = vmod_NodesSelDel(a, nullptr);
    EXPECT_EQ(fieldValue(m.model.nodes), a);
    EXPECT_EQ(fieldValue(a->next), c);
    EXPECT_EQ(fieldValue(c->prev), a);
    EXPECT_EQ(fieldValue(a->children), nullptr);
    EXPECT_EQ(fieldValue(c->parents), nullptr);
}

TEST(vmod_NodesSelDel, DeletingEverythingReturnsNull) {
    TestModel m;
    auto [a, b] = m.nodes({VMOD_RASTER, VMOD_TEXT});
    m.arrow(a, b);
    a->selected = b->selected = 1;
    m.model.nodes = vmod_NodesSelDel(b, nullptr);
    EXPECT_EQ(fieldValue(m.model.nodes), nullptr);
    EXPECT_EQ(vmod_NodesSelDel(nullptr, nullptr), nullptr);
}
