// The one-pass components the tool and the script generator use instead of a search per
// operation or per arrow: the order of operations against successive vmod_NextFunction
// calls, the first cycle-closing arrow against vmod_Circular for every arrow, and the
// node index against a walk of the list, on random models with shared identifiers,
// cycles, preset done marks and arrows to nodes that do not exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "model/arrow_cycles.h"
#include "model/node_index.h"
#include "model/operation_order.h"
#include "support/next_operation_oracle.h"
#include "test_model_support.h"

namespace {

struct Shape {
    bool acyclic;
    bool sharedIds;
};

// Lists the nodes again in a random order and marks about one operation in six done.
void relistShuffled(TestModel &m, std::vector<Vmod_Node *> nodes, std::mt19937 &random) {
    std::shuffle(nodes.begin(), nodes.end(), random);
    m.model.nodes = nullptr;
    for (Vmod_Node *node : nodes) node->next = node->prev = nullptr;
    for (Vmod_Node *node : nodes) m.append(node);
    for (Vmod_Node *node : nodes)
        if (model_IsOperation(node) && random() % 6 == 0) *model_OperationDone(node) = 1;
}

// Nodes of every kind in random list order with random arrows; acyclic models only get
// arrows from a lower to a higher rank.
void buildRandom(TestModel &m, std::mt19937 &random, int32_t count, Shape shape) {
    std::vector<Vmod_Node *> nodes;
    const int32_t kinds[] = {VMOD_RASTER, VMOD_FUNCTION, VMOD_VECTOR, VMOD_CRITERIA, VMOD_FUNCTION, VMOD_TEXT};
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = i + 1;
        if (shape.sharedIds && i > 2 && random() % 5 == 0) id = static_cast<int32_t>(random() % i) + 1;
        nodes.push_back(m.add(kinds[random() % 6], id));
    }
    for (int32_t i = 0; i < count * 2; ++i) {
        size_t a = random() % nodes.size(), b = random() % nodes.size();
        if (shape.acyclic && a >= b) continue;
        if (random() % 7 == 0) {
            vmod_ChildAdd(nodes[a], 1000 + static_cast<int32_t>(random() % 5), nullptr);  // names no node
            continue;
        }
        // By identifier, as the reader resolves it: the first node holding it.
        m.arrow(nodes[a], vmod_IdToNode(&m.model, nodes[b]->id, nullptr));
    }
    relistShuffled(m, nodes, random);
}

// Models the one-pass order covers although the script generator refuses them: cycles
// through a single operation (one reading its own output) or through data alone, and
// identifiers shared by nodes that are not operations.
void buildLinearHostile(TestModel &m, std::mt19937 &random, int32_t count) {
    std::vector<Vmod_Node *> nodes;
    const int32_t kinds[] = {VMOD_RASTER, VMOD_FUNCTION, VMOD_VECTOR, VMOD_CRITERIA, VMOD_FUNCTION, VMOD_TEXT};
    std::vector<int32_t> dataIds;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t kind = kinds[random() % 6];
        int32_t id = i + 1;
        const bool operation = kind == VMOD_FUNCTION || kind == VMOD_CRITERIA;
        if (!operation && !dataIds.empty() && random() % 4 == 0) id = dataIds[random() % dataIds.size()];
        if (!operation) dataIds.push_back(id);
        nodes.push_back(m.add(kind, id));
    }
    for (int32_t i = 0; i < count * 2; ++i) {
        const size_t a = random() % nodes.size(), b = random() % nodes.size();
        // As the reader resolves it, to the first holder of the identifier; forward only.
        Vmod_Node *to = vmod_IdToNode(&m.model, nodes[b]->id, nullptr);
        if (a < static_cast<size_t>(std::find(nodes.begin(), nodes.end(), to) - nodes.begin())) m.arrow(nodes[a], to);
    }
    for (Vmod_Node *node : std::vector<Vmod_Node *>(nodes)) {
        if (random() % 3 != 0) continue;
        Vmod_Node *loop = m.add(VMOD_SCALAR, count + 1 + static_cast<int32_t>(nodes.size()));
        nodes.push_back(loop);
        m.arrow(node, loop);  // a cycle through node alone
        m.arrow(loop, node);
    }
    relistShuffled(m, nodes, random);
}

// The order successive searches give, checked to be the same from the library's search
// and from the search as first described.
std::vector<Vmod_Node *> searchedOrder(Vmod_Model &model) {
    const std::vector<Vmod_Node *> library = vmodtest::operationsBySearch(model.nodes, vmod_NextFunction, 10000);
    EXPECT_EQ(vmodtest::operationsBySearch(model.nodes, vmodtest::oracleNextOperation, 10000), library);
    return library;
}

// The one-pass order from ModelOperationOrder; asked again before the mark is set, the
// answer stays.
std::vector<Vmod_Node *> onePassOrder(Vmod_Model &model, bool &linear) {
    std::vector<Vmod_Node *> got;
    ModelOperationOrder order(model.nodes);
    linear = order.linear();
    for (Vmod_Node *next = order.next(); next != nullptr && got.size() <= 10000; next = order.next()) {
        got.push_back(next);
        if (got.size() % 3 == 0) {
            EXPECT_EQ(order.next(), next);
        }
        *model_OperationDone(next) = 1;
    }
    for (Vmod_Node *node : got) *model_OperationDone(node) = 0;
    return got;
}

// Runs check over `rounds` random models of each shape, of base + round % spread nodes,
// all drawn from one generator seeded with seed.
template <class Check> void forRandomModels(unsigned seed, int rounds, int base, int spread, Check check) {
    std::mt19937 random(seed);
    for (Shape shape : {Shape{true, false}, Shape{true, true}, Shape{false, false}, Shape{false, true}}) {
        for (int round = 0; round < rounds; ++round) {
            TestModel m;
            buildRandom(m, random, base + round % spread, shape);
            check(m, shape, round);
        }
    }
}

} // namespace

TEST(ModelOperationOrder, GivesWhatSuccessiveNextFunctionCallsGive) {
    forRandomModels(2024, 60, 5, 40, [](TestModel &m, Shape shape, int round) {
        const std::vector<Vmod_Node *> expected = searchedOrder(m.model);
        bool linear = false;
        EXPECT_EQ(onePassOrder(m.model, linear), expected) << "round " << round << shape.acyclic << shape.sharedIds;
        if (shape.acyclic && !shape.sharedIds) {
            EXPECT_TRUE(linear);
        }
        EXPECT_EQ(model_OperationSequence(m.model.nodes), expected);
    });
}

TEST(ModelOperationOrder, OnePassOnCyclesThroughOneOperationAndSharedDataIdentifiers) {
    std::mt19937 random(1208);
    for (int round = 0; round < 200; ++round) {
        TestModel m;
        buildLinearHostile(m, random, 4 + round % 45);
        const std::vector<Vmod_Node *> expected = searchedOrder(m.model);
        bool linear = false;
        EXPECT_EQ(onePassOrder(m.model, linear), expected) << "round " << round;
        EXPECT_TRUE(linear) << "round " << round;
    }
}

TEST(model_FirstCycleArrow, IsTheFirstArrowVmodCircularFindsClosingACycle) {
    forRandomModels(77, 80, 3, 30, [](TestModel &m, Shape, int round) {
        const Vmod_Node *expectedFrom = nullptr;
        const Vmod_Link *expected = nullptr;
        for (Vmod_Node *node = m.model.nodes; node && !expected; node = node->next) {
            if (node->type == VMOD_TEXT) continue;
            for (Vmod_Link *link = node->children; link && !expected; link = link->next)
                if (link->node != nullptr && vmod_Circular(m.model.nodes, link->id, node->id, nullptr)) {
                    expected = link;
                    expectedFrom = node;
                }
        }
        const Vmod_Node *from = nullptr;
        EXPECT_EQ(model_FirstCycleArrow(m.model.nodes, &from), expected) << "round " << round;
        EXPECT_EQ(from, expectedFrom);
    });
}

TEST(ModelNodeIndex, FindsEveryNodeOfAnIdentifierInListOrder) {
    std::mt19937 random(5);
    TestModel m;
    buildRandom(m, random, 200, Shape{false, true});
    const ModelNodeIndex index(m.model.nodes);
    for (int32_t id = -1; id <= 202; ++id) {
        std::vector<const Vmod_Node *> walked, found;
        for (const Vmod_Node *node = m.model.nodes; node; node = node->next)
            if (node->id == id) walked.push_back(node);
        for (const Vmod_Node *node : index.nodesWithId(id)) found.push_back(node);
        EXPECT_EQ(found, walked) << id;
        EXPECT_EQ(index.first(id), vmod_IdToNode(&m.model, id, nullptr)) << id;
    }
    EXPECT_TRUE(ModelNodeIndex(nullptr).nodesWithId(1).empty());
}
