// Models that vmod_ScriptGen refuses before writing anything, and script_Check's
// account of why.
#include <gtest/gtest.h>

#include "vmodhost/oerr.h"
#include "script/script_gen.h"
#include "test_script_support.h"
#include "vmodhost/vmodhost.h"

namespace {

std::string checkMessage(Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    int32_t result = script_Check(model, &err);
    std::string message = err != nullptr ? vmodhost_ErrorMessage(err) : "";
    if (result == 1) {
        EXPECT_EQ(err, nullptr);
    } else {
        EXPECT_NE(err, nullptr);
    }
    oerr_DeleteErrorReportEx(&err);
    return message;
}

void expectRefused(ScriptModel &m, const std::string &why) {
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.text, "");
    EXPECT_EQ(checkMessage(&m.model), "Error Cannot Generate Script: " + why);
}

} // namespace

TEST(vmod_ScriptGen, RefusesNullModelAndNullFile) {
    EXPECT_EQ(runScript(nullptr).result, 0);
    ScriptModel m;
    EXPECT_EQ(vmod_ScriptGen(&m.model, nullptr), 0);
}

TEST(vmod_ScriptGen, RefusesOperationWithoutOutput) {
    ScriptModel m;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    Vmod_Node *f = m.function(2, "$in + 1");
    ScriptModel::arrow(in, f);
    expectRefused(m, "operation node 2 \"$in\" has no output");
}

TEST(vmod_ScriptGen, RefusesOperationWhoseOutputNamesNoNode) {
    ScriptModel m;
    Vmod_Node *f = m.function(2, "1");
    Oerr_ErrorReport *err = nullptr;
    vmod_ChildAdd(f, 99, &err);
    oerr_DeleteErrorReportEx(&err);
    expectRefused(m, "the output of operation node 2 \"1\" names node 99, which does not exist");
}

TEST(vmod_ScriptGen, RefusesOperationWritingIntoAnotherOperation) {
    ScriptModel m;
    Vmod_Node *f = m.function(1, "1");
    Vmod_Node *g = m.function(2, "2");
    Vmod_Node *out = m.add(VMOD_SCALAR, 3, "out");
    ScriptModel::arrow(f, g);
    ScriptModel::arrow(g, out);
    expectRefused(m, "the output of operation node 1 \"1\" is node 2 \"2\", which holds no data");
}

TEST(vmod_ScriptGen, RefusesOperationsFormingACycle) {
    ScriptModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1, "a");
    Vmod_Node *b = m.add(VMOD_RASTER, 2, "b");
    Vmod_Node *f = m.function(3, "$a + 1");
    Vmod_Node *g = m.function(4, "$b + 1");
    ScriptModel::arrows({{a, f}, {f, b}, {b, g}, {g, a}});
    expectRefused(m, "arrows form a cycle: node 1 \"a\" -> node 3 \"$a\" -> node 2 \"b\" -> node 4 \"$b\" -> "
                     "node 1 \"a\"");
}

TEST(vmod_ScriptGen, RefusesAnArrowFromANodeToItself) {
    ScriptModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1, "a");
    Vmod_Node *f = m.function(2, "$a");
    ScriptModel::arrow(f, a);
    ScriptModel::arrow(a, a);
    expectRefused(m, "arrows form a cycle: node 1 \"a\" -> node 1 \"a\"");
}

TEST(vmod_ScriptGen, RefusesSharedIdentifiersUntitledDataAndEmptyCriteria) {
    ScriptModel m;
    m.add(VMOD_SCALAR, 1, "x");
    m.add(VMOD_SCALAR, 1, "y");
    m.add(VMOD_MATRIX, 2, nullptr);
    Vmod_Node *c = m.add(VMOD_CRITERIA, 3, "All Criteria");
    Vmod_Node *out = m.add(VMOD_RASTER, 4, "out");
    ScriptModel::arrow(c, out);
    expectRefused(m, "identifier 1 is used by more than one node; node 2 holds data but has no title; "
                     "criteria node 3 \"All Criteria\" has no rows or no columns");
}

TEST(script_Check, AcceptsATranslatableModel) {
    ScriptModel m;
    m.pipeline(VMOD_RASTER);
    EXPECT_EQ(checkMessage(&m.model), "");
    EXPECT_EQ(checkMessage(nullptr), "Error Cannot Generate Script: no model");
}
