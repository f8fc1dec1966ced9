// The order of operation definitions: the indexed order of the generator against the
// order of one next-operation search per definition, on random acyclic models listed in
// random order.
#include <gtest/gtest.h>

#include <random>

#include "vmodhost/oerr.h"
#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "support/next_operation_oracle.h"
#include "test_script_support.h"

namespace {

// Operations that each read one to three earlier data nodes and write a new one, some
// through criteria tables, with nodes appended in a shuffled order.
void buildRandomModel(ScriptModel &m, std::mt19937 &random, int32_t operations) {
    std::vector<Vmod_Node *> data;
    int32_t nextId = 1;
    for (int32_t i = 0; i < 3; ++i) {
        Vmod_Node *input = m.add(VMOD_RASTER, nextId, ("in" + std::to_string(nextId)).c_str());
        ++nextId;
        data.push_back(input);
    }
    for (int32_t i = 0; i < operations; ++i) {
        std::uniform_int_distribution<size_t> pick(0, data.size() - 1);
        const bool criteria = random() % 4 == 0;
        Vmod_Node *operation = nullptr;
        if (criteria) {
            operation = m.add(VMOD_CRITERIA, nextId++, "All Criteria");
            auto *table = static_cast<Vmod_CriteriaData *>(operation->data);
            table->columns = 1;
            table->columnTitles = static_cast<char **>(omsc_HeapMalloc(sizeof(char *)));
            table->columnTitles[0] = heapText("$x");
            table->cells = static_cast<char **>(omsc_HeapMalloc(sizeof(char *)));
            table->cells[0] = heapText(" > 0");
        } else {
            operation = m.function(nextId++, ("op" + std::to_string(i)).c_str());
        }
        const int32_t kind = static_cast<int32_t>(random() % 5);
        Vmod_Node *output = m.add(kind, nextId, ("d" + std::to_string(nextId)).c_str());
        ++nextId;
        if (kind == VMOD_RASTER) {
            static_cast<Vmod_RasterData *>(output->data)->tempFile = static_cast<int32_t>(random() % 2);
        }
        ScriptModel::arrow(operation, output);
        const size_t reads = 1 + random() % 3;
        for (size_t r = 0; r < reads; ++r) {
            ScriptModel::arrow(data[pick(random)], operation);
        }
        data.push_back(output);
    }
    // Re-append every node in a shuffled order.
    std::vector<Vmod_Node *> all;
    for (Vmod_Node *node = m.model.nodes; node != nullptr; node = node->next) {
        all.push_back(node);
    }
    m.model.nodes = nullptr;
    for (Vmod_Node *node : all) {
        node->next = node->prev = nullptr;
    }
    std::shuffle(all.begin(), all.end(), random);
    for (Vmod_Node *node : all) {
        m.model.nodes = static_cast<Vmod_Node *>(ollm_Add(m.model.nodes, OLLM_APPEND, node));
    }
}

} // namespace

TEST(vmod_ScriptGen, OperationOrderIsTheNextOperationSearchOrder) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 60; ++round) {
        ScriptModel m;
        buildRandomModel(m, random, 1 + (round * 7) % 80);
        ScriptRun indexed = runScript(&m.model);
        ASSERT_EQ(indexed.result, 1);
        ScriptOptions library;
        library.literalOrder = true;
        EXPECT_EQ(runScript(&m.model, library).text, indexed.text) << "round " << round;
        ScriptOptions stepwise;
        stepwise.literalOrder = true;
        stepwise.nextOperation = vmodtest::oracleNextOperation;
        EXPECT_EQ(runScript(&m.model, stepwise).text, indexed.text) << "round " << round;
    }
}

TEST(vmod_ScriptGen, StaleDoneMarksDoNotHideOperations) {
    ScriptModel m;
    Vmod_Node *f = m.pipeline(VMOD_SCALAR);
    payload<Vmod_FunctionData>(f)->done = 1;
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_TRUE(endsWith(run.text, "#\n# function definitions\n#\nout = $in + 1;\nQUIT;\n")) << run.text;
    EXPECT_EQ(payload<Vmod_FunctionData>(f)->done, 0);
}
