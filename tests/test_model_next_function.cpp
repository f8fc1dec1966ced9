// The next-operation search. Besides the worked examples, the search is compared with a
// plain transcription of its definition (support/next_operation_oracle.h) on thousands of
// random graphs without cycles.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/next_operation_oracle.h"
#include "test_model_support.h"

namespace {

std::vector<int32_t> blockedMarks(Vmod_Node *first) {
    std::vector<int32_t> marks;
    for (Vmod_Node *n = first; n != nullptr; n = n->next)
        if (model_IsOperation(n)) marks.push_back(*model_OperationBlocked(n));
    return marks;
}

// A random graph without cycles: random kinds, identifiers with repeats, arrows only
// forward in a hidden order, list order shuffled, unresolved child links, identifiers
// changed after linking, some operations done and some stale blocked marks.
void buildRandomGraph(TestModel &m, std::mt19937 &random) {
    auto pick = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const int count = pick(1, 11);
    const int idRange = pick(0, 1) ? count : std::max(1, count / 2);
    std::vector<Vmod_Node *> nodes;
    for (int i = 0; i < count; ++i) {
        const int32_t kind = pick(0, 9) < 5 ? (pick(0, 1) ? VMOD_FUNCTION : VMOD_CRITERIA) : pick(0, 4);
        Vmod_Node *node = vmod_NodeCreate(&m.model, kind, nullptr);
        node->id = pick(1, idRange);
        nodes.push_back(node);
    }
    std::vector<Vmod_Node *> listed = nodes;
    std::shuffle(listed.begin(), listed.end(), random);
    for (Vmod_Node *node : listed) m.append(node);
    const int density = pick(1, 6);
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            if (pick(0, 9) < density) m.arrow(nodes[i], nodes[j]);
    for (int k = pick(0, 3); k > 0; --k) vmod_ChildAdd(nodes[pick(0, count - 1)], pick(1, idRange + 3), nullptr);
    for (int k = pick(0, 2); k > 0; --k) nodes[pick(0, count - 1)]->id = pick(1, idRange);
    for (Vmod_Node *node : nodes) {
        if (!model_IsOperation(node)) continue;
        *model_OperationDone(node) = pick(0, 9) < 3;
        *model_OperationBlocked(node) = pick(0, 9) < 2;
    }
}

}  // namespace

TEST(vmod_NextFunction, ProducerBeforeConsumerInAnyListOrder) {
    for (int order = 0; order < 2; ++order) {
        TestModel m;
        Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
        Vmod_Node *f1 = nullptr;
        Vmod_Node *f2 = nullptr;
        if (order == 0) {
            f1 = m.add(VMOD_FUNCTION, 2);
            f2 = m.add(VMOD_FUNCTION, 3);
        } else {
            f2 = m.add(VMOD_FUNCTION, 3);
            f1 = m.add(VMOD_FUNCTION, 2);
        }
        Vmod_Node *mid = m.add(VMOD_RASTER, 4, "mid");
        Vmod_Node *out = m.add(VMOD_RASTER, 5, "out");
        m.arrow(in, f1);
        m.arrow(f1, mid);
        m.arrow(mid, f2);
        m.arrow(f2, out);
        Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&m);
        EXPECT_EQ(vmod_NextFunction(out, &err), f1);
        EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&m));  // left as it was
        functionData(f1)->done = 1;
        EXPECT_EQ(vmod_NextFunction(in, nullptr), f2);
        functionData(f2)->done = 1;
        EXPECT_EQ(vmod_NextFunction(in, nullptr), nullptr);
    }
}

TEST(vmod_NextFunction, LaterOfTwoReadyOperationsFirst) {
    TestModel m;
    Vmod_Node *f1 = m.add(VMOD_FUNCTION, 1);
    Vmod_Node *c2 = m.add(VMOD_CRITERIA, 2);
    EXPECT_EQ(vmod_NextFunction(f1, nullptr), c2);
    static_cast<Vmod_CriteriaData *>(c2->data)->done = 1;
    EXPECT_EQ(vmod_NextFunction(f1, nullptr), f1);
}

TEST(vmod_NextFunction, NoOperationsGivesNull) {
    TestModel m;
    Vmod_Node *r = m.add(VMOD_RASTER, 1);
    m.add(VMOD_TEXT, 2);
    EXPECT_EQ(vmod_NextFunction(r, nullptr), nullptr);
    EXPECT_EQ(vmod_NextFunction(nullptr, nullptr), nullptr);
}

TEST(vmod_NextFunction, EndsOnACycle) {
    TestModel m;
    Vmod_Node *f1 = m.add(VMOD_FUNCTION, 1);
    Vmod_Node *f2 = m.add(VMOD_FUNCTION, 2);
    m.arrow(f1, f2);
    m.arrow(f2, f1);
    Vmod_Node *next = vmod_NextFunction(f1, nullptr);
    EXPECT_TRUE(next == f1 || next == f2);
}

TEST(vmod_NextFunction, DeepLatticeComesOutInDependencyOrder) {
    TestModel m;
    Vmod_Node *top = m.add(VMOD_RASTER, 1);
    std::vector<Vmod_Node *> above{top};
    std::vector<Vmod_Node *> operations;
    int32_t id = 2;
    for (int level = 0; level < 40; ++level) {
        std::vector<Vmod_Node *> outputs;
        for (int k = 0; k < 2; ++k) {
            Vmod_Node *f = m.add(VMOD_FUNCTION, id++);
            for (Vmod_Node *input : above) m.arrow(input, f);
            Vmod_Node *out = m.add(VMOD_RASTER, id++);
            m.arrow(f, out);
            outputs.push_back(out);
            operations.push_back(f);
        }
        above = outputs;
    }
    // Each level's pair comes out before any operation of the next level.
    for (size_t step = 0; step < operations.size(); ++step) {
        Vmod_Node *next = vmod_NextFunction(top, nullptr);
        ASSERT_NE(next, nullptr);
        const auto at = std::find(operations.begin(), operations.end(), next) - operations.begin();
        EXPECT_EQ(static_cast<size_t>(at) / 2, step / 2);
        functionData(next)->done = 1;
    }
    EXPECT_EQ(vmod_NextFunction(top, nullptr), nullptr);
}

TEST(vmod_NextFunction, AgreesWithTheDefinitionOnRandomGraphs) {
    std::mt19937 random(20261208);
    for (int trial = 0; trial < 4000; ++trial) {
        TestModel m;
        buildRandomGraph(m, random);
        Vmod_Node *any = m.model.nodes;
        // Replay a whole generation: each answer is marked done, as the script generator does.
        for (int step = 0; step < 16; ++step) {
            Vmod_Node *expected = vmodtest::oracleNextOperation(any, nullptr);
            const std::vector<int32_t> expectedMarks = blockedMarks(m.model.nodes);
            Vmod_Node *actual = vmod_NextFunction(any, nullptr);
            ASSERT_EQ(actual, expected) << "trial " << trial << " step " << step;
            ASSERT_EQ(blockedMarks(m.model.nodes), expectedMarks) << "trial " << trial << " step " << step;
            if (actual == nullptr) break;
            *model_OperationDone(actual) = 1;
        }
    }
}
