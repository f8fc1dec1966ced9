// The kit's checks: the readiness reasons `vmod check` lists, the script's refusals and
// how writing the script ended, and the operations' order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/next_operation_oracle.h"
#include "test_print_support.h"
#include "test_script_support.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_checks.h"

namespace {

// The texts of a kit list, which is released.
std::vector<std::string> Take(Vmodkit_Texts &list) {
    std::vector<std::string> texts(list.texts, list.texts + list.count);
    EXPECT_EQ(list.texts[list.count], nullptr); // the list ends in a null entry
    vmodkit_FreeTexts(&list);
    return texts;
}

std::vector<std::string> Reasons(Vmod_Model *model) {
    Vmodkit_Texts list{};
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(vmodkit_ReadinessReasons(model, &list, &err), 1);
    EXPECT_EQ(err, nullptr);
    return Take(list);
}

// A raster whose file name the script cannot quote.
void QuoteInFileName(Vmod_Node *raster) {
    auto *data = payload<Vmod_RasterData>(raster);
    omsc_HeapFree(data->fileName);
    data->fileName = heapText("in\"; SYSTEM \"x");
}

const char kQuoteRefusal[] =
    "node 1 \"in\": the file name (FILENAME) holds a double quote and cannot be written between quotes";

} // namespace

// Reasons name the nodes, list the first arrow closing a cycle and the untitled node in
// list order, then the title the script cannot hold (in the generator's words, which
// escape the line break; the kit's own reasons would quote it as it is).
TEST(vmodkit_ReadinessReasons, CycleAndUntitledNodeInListOrder) {
    ScriptModel m;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in\nput");
    Vmod_Node *f = m.function(2, "$in + 1");
    Vmod_Node *out = m.add(VMOD_RASTER, 3, nullptr);
    ScriptModel::arrow(in, f);
    ScriptModel::arrow(f, out);
    ScriptModel::arrow(out, f);
    EXPECT_EQ(Reasons(&m.model),
              (std::vector<std::string>{"the arrow from function node 2 \"$in\" to raster node 3 closes a cycle",
                                        "raster node 3 has no title",
                                        "node 1 \"in\\nput\": the title is the script's name of its data and is "
                                        "not a plain name (a letter or underscore, then letters, digits and "
                                        "underscores, after an optional $)"}));
}

TEST(vmodkit_ReadinessReasons, EmptyModelAndReadyModel) {
    ScriptModel empty;
    EXPECT_EQ(Reasons(&empty.model), std::vector<std::string>{"the model has no nodes"});
    ScriptModel ready;
    ready.pipeline(VMOD_RASTER);
    EXPECT_TRUE(Reasons(&ready.model).empty());
}

// What only the generator sees comes last, after its sentence prefix, and only when the
// graph walk found nothing; a text the script cannot hold is listed whatever else is wrong.
TEST(vmodkit_ReadinessReasons, GeneratorRefusalsFollowTheGraphReasons) {
    ScriptModel shared;
    shared.pipeline(VMOD_RASTER);
    shared.add(VMOD_SCALAR, 2, "twin");
    std::vector<std::string> reasons = Reasons(&shared.model);
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_EQ(reasons[0].rfind("Error Cannot Generate Script: ", 0), 0u) << reasons[0];

    ScriptModel quoted;
    Vmod_Node *f = quoted.pipeline(VMOD_RASTER);
    QuoteInFileName(quoted.model.nodes);
    omsc_HeapFree(f->title);
    f->title = nullptr;
    EXPECT_EQ(Reasons(&quoted.model), (std::vector<std::string>{"function node 2 has no title", kQuoteRefusal}));
}

TEST(vmodkit_ScriptRefusals, QuotedTextIsTheOnlyRefusal) {
    ScriptModel m;
    m.pipeline(VMOD_RASTER);
    QuoteInFileName(m.model.nodes);
    Vmodkit_Texts list{};
    EXPECT_EQ(vmodkit_ScriptRefusals(&m.model, &list, nullptr), 1);
    EXPECT_EQ(Take(list), std::vector<std::string>{kQuoteRefusal});
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(vmodkit_ScriptCheck(&m.model, &err), 0);
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(std::string(vmodhost_ErrorMessage(err)), std::string("Error Cannot Generate Script: ") + kQuoteRefusal);
    oerr_DeleteErrorReportEx(&err);
}

// The four ways a script ends that a front end tells apart.
TEST(vmodkit_ScriptWrite, RefusedStoppedCancelledAndComplete) {
    const std::string path = ScratchPath("script.txt");
    auto write = [&](Vmod_Model *model, Oerr_ErrorReport **err, std::string *text) {
        Ofio_File *file = ofio_Open(path.c_str(), "w", nullptr);
        const Vmodkit_ScriptEnd end = vmodkit_ScriptWrite(model, file, err);
        ofio_Close(file, 0);
        *text = ReadWholeFile(path);
        return end;
    };
    std::string text;
    Oerr_ErrorReport *err = nullptr;

    ScriptModel refused;
    refused.pipeline(VMOD_RASTER);
    QuoteInFileName(refused.model.nodes);
    EXPECT_EQ(write(&refused.model, &err, &text), VMODKIT_SCRIPT_REFUSED);
    EXPECT_EQ(text, "");
    ASSERT_NE(err, nullptr);
    oerr_DeleteErrorReportEx(&err);

    ScriptModel prompted;
    prompted.pipeline(VMOD_RASTER);
    payload<Vmod_RasterData>(prompted.model.nodes->next->next)->prompt = 1;
    {
        ChooserScript chooser;
        chooser.answers = {"out\"; SYSTEM \"x"};
        chooser.install();
        EXPECT_EQ(write(&prompted.model, &err, &text), VMODKIT_SCRIPT_STOPPED);
        ASSERT_NE(err, nullptr);
        EXPECT_STREQ(vmodhost_ErrorMessage(err), "the file name chosen at the prompt \"Select Existing File for Raster:   "
                                                 "out\" holds a double quote and cannot be written between quotes");
        oerr_DeleteErrorReportEx(&err);
    }
    {
        ChooserScript chooser; // no answer: the prompt is cancelled
        chooser.install();
        EXPECT_EQ(write(&prompted.model, &err, &text), VMODKIT_SCRIPT_CANCELLED);
        EXPECT_EQ(err, nullptr);
        EXPECT_EQ(text.find("QUIT;"), std::string::npos);
    }
    {
        ChooserScript chooser;
        chooser.answers = {"/data/out.img"};
        chooser.install();
        EXPECT_EQ(write(&prompted.model, &err, &text), VMODKIT_SCRIPT_COMPLETE);
        EXPECT_EQ(err, nullptr);
        EXPECT_NE(text.find("QUIT;"), std::string::npos);
    }
}

// A chain listed backwards runs forwards, as successive vmod_NextFunction calls give it,
// and the done marks are left as they were.
TEST(vmodkit_OperationOrder, LayeredModelRunsInDependencyOrder) {
    ScriptModel m;
    Vmod_Node *last = m.function(6, "$mid2 * 3");
    Vmod_Node *middle = m.function(4, "$mid1 * 2");
    Vmod_Node *first = m.function(2, "$in + 1");
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    Vmod_Node *mid1 = m.add(VMOD_RASTER, 3, "mid1");
    Vmod_Node *mid2 = m.add(VMOD_RASTER, 5, "mid2");
    Vmod_Node *out = m.add(VMOD_RASTER, 7, "out");
    ScriptModel::arrow(in, first);
    ScriptModel::arrow(first, mid1);
    ScriptModel::arrow(mid1, middle);
    ScriptModel::arrow(middle, mid2);
    ScriptModel::arrow(mid2, last);
    ScriptModel::arrow(last, out);
    size_t count = 0;
    Vmod_Node **order = vmodkit_OperationOrder(&m.model, &count, nullptr);
    ASSERT_NE(order, nullptr);
    const std::vector<Vmod_Node *> got(order, order + count);
    vmodkit_Free(order);
    EXPECT_EQ(got, (std::vector<Vmod_Node *>{first, middle, last}));
    EXPECT_EQ(got, vmodtest::operationsBySearch(m.model.nodes, vmod_NextFunction, 10));
    for (Vmod_Node *node : got) EXPECT_EQ(payload<Vmod_FunctionData>(node)->done, 0);

    ScriptModel none;
    none.add(VMOD_RASTER, 1, "in");
    EXPECT_EQ(vmodkit_OperationOrder(&none.model, &count, nullptr), nullptr);
    EXPECT_EQ(count, 0u);
}
