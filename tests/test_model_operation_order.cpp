// The one-pass components the tool and the script generator use instead of a search per
// operation or per arrow: the order of operations against successive vmod_NextFunction
// calls, the first cycle-closing arrow against vmod_Circular for every arrow, and the
// node index against a walk of the list, on random models with shared identifiers,
// cycles, preset done marks and arrows to nodes that do not exist.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "model/arrow_cycles.h"
#include "model/node_index.h"
#include "model/operation_order.h"
#include "test_model_support.h"

namespace {

int32_t &doneOf(Vmod_Node *node) {
    return node->type == VMOD_FUNCTION ? static_cast<Vmod_FunctionData *>(node->data)->done
                                       : static_cast<Vmod_CriteriaData *>(node->data)->done;
}

bool isOperation(const Vmod_Node *node) { return node->type == VMOD_FUNCTION || node->type == VMOD_CRITERIA; }

struct Shape {
    bool acyclic;
    bool sharedIds;
};

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
    std::vector<Vmod_Node *> shuffled = nodes;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    m.model.nodes = nullptr;
    for (Vmod_Node *node : shuffled) node->next = node->prev = nullptr;
    for (Vmod_Node *node : shuffled) m.append(node);
    for (Vmod_Node *node : shuffled)
        if (isOperation(node) && random() % 6 == 0) doneOf(node) = 1;
}

std::vector<Vmod_Node *> literalOrder(Vmod_Model &model) {
    std::vector<Vmod_Node *> order;
    for (Vmod_Node *next = vmod_NextFunction(model.nodes, nullptr); next != nullptr;
         next = vmod_NextFunction(model.nodes, nullptr)) {
        order.push_back(next);
        doneOf(next) = 1;
        if (order.size() > 10000) break;
    }
    return order;
}

} // namespace

TEST(ModelOperationOrder, GivesWhatSuccessiveNextFunctionCallsGive) {
    std::mt19937 random(2024);
    for (Shape shape : {Shape{true, false}, Shape{true, true}, Shape{false, false}, Shape{false, true}}) {
        for (int round = 0; round < 60; ++round) {
            TestModel m;
            buildRandom(m, random, 5 + round % 40, shape);
            std::vector<int32_t> marks;
            for (Vmod_Node *node = m.model.nodes; node; node = node->next)
                if (isOperation(node)) marks.push_back(doneOf(node));
            const std::vector<Vmod_Node *> expected = literalOrder(m.model);
            size_t at = 0;
            for (Vmod_Node *node = m.model.nodes; node; node = node->next)
                if (isOperation(node)) doneOf(node) = marks[at++];

            ModelOperationOrder order(m.model.nodes);
            if (shape.acyclic && !shape.sharedIds) EXPECT_TRUE(order.linear());
            std::vector<Vmod_Node *> got;
            for (Vmod_Node *next = order.next(); next != nullptr && got.size() <= 10000; next = order.next()) {
                got.push_back(next);
                // Asked again before the mark is set, the answer stays.
                if (got.size() % 3 == 0) EXPECT_EQ(order.next(), next) << shape.acyclic << shape.sharedIds << round;
                doneOf(next) = 1;
            }
            EXPECT_EQ(got, expected) << "round " << round << shape.acyclic << shape.sharedIds << order.linear();
        }
    }
}

TEST(model_FirstCycleArrow, IsTheFirstArrowVmodCircularFindsClosingACycle) {
    std::mt19937 random(77);
    for (Shape shape : {Shape{true, false}, Shape{true, true}, Shape{false, false}, Shape{false, true}}) {
        for (int round = 0; round < 80; ++round) {
            TestModel m;
            buildRandom(m, random, 3 + round % 30, shape);
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
        }
    }
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
