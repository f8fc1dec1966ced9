// Renumbering nodes and carrying a data node's new name into the operations reading it.
#include <gtest/gtest.h>

#include "test_model_support.h"

TEST(vmod_NodeChangeID, FirstOccurrenceOfTheOldDigitsFollowsIntoReaders) {
    TestModel m;
    Vmod_Node *raster = m.add(VMOD_RASTER, 1, "n12_x");
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2);
    Vmod_Node *c = m.add(VMOD_CRITERIA, 3, "crit");
    functionData(f)->expression = ostr_Duplicate("n12_x + n12_x * 2");
    auto *criteria = static_cast<Vmod_CriteriaData *>(c->data);
    criteria->columns = 2;
    criteria->columnTitles = static_cast<char **>(omsc_HeapMalloc(2 * sizeof(char *)));
    criteria->columnTitles[0] = ostr_Duplicate("n12_x");
    m.arrow(raster, f);
    m.arrow(raster, c);
    vmod_NodeChangeID(raster, 5);
    EXPECT_EQ(fieldValue(raster->id), 5);
    EXPECT_STREQ(raster->title, "n52_x");
    EXPECT_STREQ(functionData(f)->expression, "n52_x + n52_x * 2");
    EXPECT_STREQ(f->title, "n52_x");
    EXPECT_STREQ(criteria->columnTitles[0], "n52_x");
    EXPECT_EQ(fieldValue(criteria->columnTitles[1]), nullptr);
    EXPECT_EQ(linkIds(f->parents), std::vector<int32_t>{5});
    EXPECT_EQ(linkIds(raster->children), (std::vector<int32_t>{2, 3}));
}

TEST(vmod_NodeChangeID, OperationLinksFollowUnresolvedOnesKeepTheOldNumber) {
    TestModel m;
    Vmod_Node *f = m.add(VMOD_FUNCTION, 4);
    Vmod_Node *out = m.add(VMOD_RASTER, 6, "out");
    Vmod_Node *other = m.add(VMOD_RASTER, 7);
    m.arrow(f, out);
    vmod_ChildAdd(other, 4, nullptr);
    vmod_NodeChangeID(f, 9);
    EXPECT_EQ(fieldValue(f->id), 9);
    EXPECT_EQ(linkIds(out->parents), std::vector<int32_t>{9});
    EXPECT_EQ(linkIds(other->children), std::vector<int32_t>{4});
    EXPECT_STREQ(out->title, "out");
}

TEST(vmod_NodeChangeID, TextNodeChangesOnlyItsIdentifier) {
    TestModel m;
    Vmod_Node *text = m.add(VMOD_TEXT, 1, "note 1");
    Vmod_Node *r = m.add(VMOD_RASTER, 2);
    m.arrow(text, r);
    vmod_NodeChangeID(text, 3);
    EXPECT_EQ(fieldValue(text->id), 3);
    EXPECT_STREQ(text->title, "note 1");
    EXPECT_EQ(linkIds(r->parents), std::vector<int32_t>{1});
}

TEST(vmod_NodeChangeID, UntitledDataNodeAndUnknownKind) {
    TestModel m;
    Vmod_Node *r = m.add(VMOD_RASTER, 1);
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2);
    m.arrow(r, f);
    vmod_NodeChangeID(r, 8);
    EXPECT_EQ(fieldValue(r->title), nullptr);
    EXPECT_EQ(linkIds(f->parents), std::vector<int32_t>{8});
    Vmod_Node *odd = m.add(-3, 10);
    vmod_NodeChangeID(odd, 11);
    EXPECT_EQ(fieldValue(odd->id), 11);
    vmod_NodeChangeID(nullptr, 1);
}

TEST(vmod_ChangeChild, EmptyNewNameBecomesThePlaceholder) {
    TestModel m;
    Vmod_Node *r = m.add(VMOD_RASTER, 1, "dem");
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2, "dem");
    functionData(f)->expression = ostr_Duplicate("dem * 2");
    m.arrow(r, f);
    vmod_ChangeChild(r, "dem", "");
    EXPECT_STREQ(functionData(f)->expression, "<raster> * 2");
    EXPECT_STREQ(f->title, "<raster>");
}

TEST(vmod_ChangeChild, OperationPlaceholderIsEmptyBrackets) {
    TestModel m;
    Vmod_Node *src = m.add(VMOD_FUNCTION, 1);
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2);
    functionData(f)->expression = ostr_Duplicate("a+a");
    m.arrow(src, f);
    vmod_ChangeChild(src, "a", nullptr);
    EXPECT_STREQ(functionData(f)->expression, "<>+<>");
}

TEST(vmod_ChangeChild, UntitledCriteriaAndMissingChildrenAreLeftAlone) {
    TestModel m;
    Vmod_Node *r = m.add(VMOD_VECTOR, 1, "roads");
    Vmod_Node *c = m.add(VMOD_CRITERIA, 2);
    auto *criteria = static_cast<Vmod_CriteriaData *>(c->data);
    criteria->columns = 1;
    criteria->columnTitles = static_cast<char **>(omsc_HeapMalloc(sizeof(char *)));
    criteria->columnTitles[0] = ostr_Duplicate("roads");
    m.arrow(r, c);
    vmod_ChildAdd(r, 99, nullptr);
    vmod_ChangeChild(r, "roads", "streets");
    EXPECT_STREQ(criteria->columnTitles[0], "roads");
    vmod_ChangeChild(r, "", "streets");  // no old name: nothing changes
    vmod_ChangeChild(nullptr, "a", "b");
}
