// Graph questions: reachability along children, ancestry along parents, orphans. They
// end on cyclic graphs and answer deep diamond lattices without walking every path.
#include <gtest/gtest.h>

#include "test_model_support.h"

namespace {

// Nodes 1 -> 2 -> 3.
struct Chain : TestModel {
    Vmod_Node *one = add(VMOD_RASTER, 1);
    Vmod_Node *two = add(VMOD_FUNCTION, 2);
    Vmod_Node *three = add(VMOD_RASTER, 3);
    Chain() {
        arrow(one, two);
        arrow(two, three);
    }
};

// A lattice of diamonds: every level's two operations both read both outputs of the
// level above, so the number of paths doubles with each level.
struct Lattice : TestModel {
    Vmod_Node *top = nullptr;
    Vmod_Node *bottom = nullptr;
    explicit Lattice(int levels) {
        int32_t id = 1;
        top = add(VMOD_RASTER, id++);
        std::vector<Vmod_Node *> above{top};
        for (int level = 0; level < levels; ++level) {
            std::vector<Vmod_Node *> outputs;
            for (int k = 0; k < 2; ++k) {
                Vmod_Node *f = add(VMOD_FUNCTION, id++);
                for (Vmod_Node *input : above) arrow(input, f);
                Vmod_Node *out = add(VMOD_RASTER, id++);
                arrow(f, out);
                outputs.push_back(out);
            }
            above = outputs;
        }
        bottom = above.back();
    }
};

// A query that answers 1 stores no report and leaves what the slot held (a stand-in
// value here, never dereferenced) as it was.
template <class Query> void expectFoundLeavingTheReport(Query query) {
    Oerr_ErrorReport *const held = reinterpret_cast<Oerr_ErrorReport *>(&query);
    Oerr_ErrorReport *err = held;
    EXPECT_EQ(query(&err), 1);
    EXPECT_EQ(err, held);
}

}  // namespace

TEST(vmod_Circular, FollowsChildLinksForward) {
    Chain m;
    expectFoundLeavingTheReport([&](Oerr_ErrorReport **err) { return vmod_Circular(m.three, 1, 3, err); });
    EXPECT_EQ(vmod_Circular(m.one, 3, 1, nullptr), 0);
    EXPECT_EQ(vmod_Circular(m.one, 9, 1, nullptr), 0);
}

TEST(vmod_Circular, StartIsNotItsOwnMatch) {
    Chain m;
    EXPECT_EQ(vmod_Circular(m.one, 3, 3, nullptr), 0);
    EXPECT_EQ(vmod_Circular(m.one, 1, 1, nullptr), 0);
}

TEST(vmod_Circular, UnresolvedLinksCountByIdentifier) {
    TestModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1);
    m.add(VMOD_FUNCTION, 2);
    vmod_ChildAdd(a, 2, nullptr);
    vmod_ChildAdd(a, 40, nullptr);  // names no node: ends the branch, still a match by id
    EXPECT_EQ(vmod_Circular(a, 1, 2, nullptr), 1);
    EXPECT_EQ(vmod_Circular(a, 1, 40, nullptr), 1);
    EXPECT_EQ(vmod_Circular(a, 1, 41, nullptr), 0);
}



// Both searches, down the child links and up the parent links, end on a cycle and answer
// both ways on a deep lattice.
TEST(vmod_Circular, BothSearchesEndOnACycleAndCrossADeepLattice) {
    Chain m;
    m.arrow(m.three, m.one);
    EXPECT_EQ(vmod_Circular(m.one, 1, 1, nullptr), 1);
    EXPECT_EQ(vmod_Circular(m.one, 2, 7, nullptr), 0);
    EXPECT_EQ(vmod_Ancestor(m.one, 3, 1, nullptr), 1);
    EXPECT_EQ(vmod_Ancestor(m.one, 8, 1, nullptr), 0);

    Lattice deep(40);
    EXPECT_EQ(vmod_Circular(deep.top, deep.top->id, deep.bottom->id, nullptr), 1);
    EXPECT_EQ(vmod_Circular(deep.top, deep.bottom->id, deep.top->id, nullptr), 0);
    EXPECT_EQ(vmod_Ancestor(deep.bottom, deep.top->id, deep.bottom->id, nullptr), 1);
    EXPECT_EQ(vmod_Ancestor(deep.bottom, -1, deep.bottom->id, nullptr), 0);
}

TEST(vmod_Ancestor, FollowsParentLinksBack) {
    Chain m;
    expectFoundLeavingTheReport([&](Oerr_ErrorReport **err) { return vmod_Ancestor(m.three, 1, 3, err); });
    EXPECT_EQ(vmod_Ancestor(m.one, 3, 1, nullptr), 0);
    EXPECT_EQ(vmod_Ancestor(m.three, 3, 3, nullptr), 0);
    EXPECT_EQ(vmod_Ancestor(nullptr, 3, 3, nullptr), 0);
}

TEST(vmod_Ancestor, ComparesTheParentsCurrentIdentifier) {
    Chain m;
    m.one->id = 50;  // the mirror link still says 1
    EXPECT_EQ(vmod_Ancestor(m.three, 50, 3, nullptr), 1);
    EXPECT_EQ(vmod_Ancestor(m.three, 1, 3, nullptr), 0);
}



TEST(vmod_Orphan, AnyChildLinkWithTheIdentifierCounts) {
    Chain m;
    expectFoundLeavingTheReport([&](Oerr_ErrorReport **err) { return vmod_Orphan(m.three, 1, err); });
    EXPECT_EQ(vmod_Orphan(m.three, 2, nullptr), 0);
    vmod_ChildAdd(m.three, 12, nullptr);
    EXPECT_EQ(vmod_Orphan(m.two, 12, nullptr), 0);
    EXPECT_EQ(vmod_Orphan(nullptr, 12, nullptr), 1);
}
