// File prompts of vmod_ScriptGen: the chooser calls, their titles and order, the names
// answered, and a cancelled prompt that abandons the script.
#include <gtest/gtest.h>

#include "test_script_support.h"
#include "vmodhost/vmodhost.h"

namespace {

// A node of kind that asks for its file when the script is generated.
Vmod_Node *prompted(ScriptModel &m, int32_t kind, int32_t id, const char *title) {
    Vmod_Node *node = m.add(kind, id, title);
    switch (kind) {
    case VMOD_RASTER: payload<Vmod_RasterData>(node)->prompt = 1; break;
    case VMOD_VECTOR: payload<Vmod_VectorData>(node)->prompt = 1; break;
    case VMOD_MATRIX: payload<Vmod_MatrixData>(node)->prompt = 1; break;
    case VMOD_TABLE: payload<Vmod_TableData>(node)->prompt = 1; break;
    case VMOD_SCALAR: payload<Vmod_ScalarData>(node)->prompt = 1; break;
    default: ADD_FAILURE() << "no prompt for kind " << kind; break;
    }
    return node;
}

// Thirteen prompts, one of every kind: raster new and existing, coverage and annotation,
// the three table layers, the three reads and the three writes.
void buildPromptModel(ScriptModel &m) {
    m.model.optimize = 1;
    Vmod_Node *newRaster = prompted(m, VMOD_RASTER, 1, "newr");
    payload<Vmod_RasterData>(newRaster)->newFile = 1;
    Vmod_Node *oldRaster = prompted(m, VMOD_RASTER, 2, "oldr");
    payload<Vmod_VectorData>(prompted(m, VMOD_VECTOR, 3, "cov"))->feature = heapText("polygon");
    payload<Vmod_VectorData>(prompted(m, VMOD_VECTOR, 4, "ann"))->vectorType = 1;
    payload<Vmod_MatrixData>(prompted(m, VMOD_MATRIX, 5, "mread"))->source = 2;
    const struct {
        int32_t id;
        const char *title;
        int32_t kind;
        const char *field;
    } layers[] = {{6, "timg", 0, "Histogram"}, {7, "tcov", 2, "AREA"}, {8, "tann", 3, "TEXT"}};
    for (const auto &layer : layers) {
        Vmod_Node *table = m.add(VMOD_TABLE, layer.id, layer.title);
        auto *data = payload<Vmod_TableData>(table);
        data->source = 1;
        data->layerKind = layer.kind;
        data->promptLayerFile = 1;
        data->layerName = heapText(layer.kind == 0 ? "(:Layer_1)" : "polygon");
        data->fieldName = heapText(layer.field);
    }
    payload<Vmod_TableData>(prompted(m, VMOD_TABLE, 9, "tread"))->source = 2;
    payload<Vmod_ScalarData>(prompted(m, VMOD_SCALAR, 10, "sread"))->read = 1;
    Vmod_Node *matrixOut = prompted(m, VMOD_MATRIX, 11, "mw");
    payload<Vmod_MatrixData>(matrixOut)->source = 3;
    payload<Vmod_MatrixData>(matrixOut)->normalize = 0;
    payload<Vmod_MatrixData>(matrixOut)->write = 1;
    Vmod_Node *tableOut = prompted(m, VMOD_TABLE, 12, "tw");
    payload<Vmod_TableData>(tableOut)->source = 3;
    payload<Vmod_TableData>(tableOut)->write = 1;
    Vmod_Node *scalarOut = prompted(m, VMOD_SCALAR, 13, "sw");
    payload<Vmod_ScalarData>(scalarOut)->write = 1;
    Vmod_Node *outputs[] = {matrixOut, tableOut, scalarOut, newRaster};
    const char *expressions[] = {"$oldr + 1", "$oldr + 2", "$oldr + 3", "$oldr"};
    for (int i = 0; i < 4; ++i) {
        Vmod_Node *function = m.function(20 + i, expressions[i]);
        ScriptModel::arrow(oldRaster, function);
        ScriptModel::arrow(function, outputs[i]);
    }
}

const std::vector<std::string> kAnswers = {
    "/answers/1.img", "/answers/2.img", "/answers/3",      "/answers/4.ovr",  "/answers/5.img",
    "/answers/6",     "/answers/7.ovr", "/answers/8.mtx",  "/answers/9.tbl",  "/answers/10.txt",
    "/answers/11.txt", "/answers/12.tbl", "/answers/13.mtx"};

const std::vector<std::string> kTitles = {
    "Enter New File for Raster:   newr",
    "Select Existing File for Raster:   oldr",
    "Select Existing File for Vector:   cov",
    "Select Existing File for Vector:   ann",
    "Enter Image Containing Table:   timg",
    "Enter Coverage Containing Table:   tcov",
    "Enter Annotation Containing Table:   tann",
    "Select Existing File for Matrix:   mread",
    "Select Existing File for Table:   tread",
    "Select Existing File for Scalar:   sread",
    "Enter New File for Scalar:   sw",
    "Enter New File for Table:   tw",
    "Enter New File for Matrix:   mw",
};

bool anyOperationDone(const Vmod_Model &model) {
    for (const Vmod_Node *node = model.nodes; node != nullptr; node = node->next) {
        if (node->type == VMOD_FUNCTION && static_cast<const Vmod_FunctionData *>(node->data)->done) {
            return true;
        }
    }
    return false;
}

struct LogOn {
    LogOn() {
        vmodhost_LogClear();
        vmodhost_LogEnable(1);
    }
    ~LogOn() {
        vmodhost_LogEnable(0);
        vmodhost_LogClear();
    }
};

// With every prompt answered, the chooser shows every title in script order and the
// whole script is written.
void expectEveryPromptAnswered(Vmod_Model &model) {
    ChooserScript chooser;
    chooser.answers = kAnswers;
    chooser.install();
    EXPECT_TRUE(writesGolden(&model, "script_prompts.txt"));
    EXPECT_EQ(chooser.titles, kTitles);
}

} // namespace

TEST(vmod_ScriptGen, PromptsAskEveryChooserInScriptOrder) {
    ScriptModel m;
    buildPromptModel(m);
    expectEveryPromptAnswered(m.model);
}

TEST(vmod_ScriptGen, PromptChooserCallsFollowEachPreparation) {
    ScriptModel m;
    buildPromptModel(m);
    ChooserScript chooser;
    chooser.answers = kAnswers;
    chooser.install();
    LogOn log;
    ASSERT_EQ(runScript(&m.model).result, 1);
    const std::vector<std::string> expected = {
        "ooml_FileNameListTypeDefsClear(rasterChooser)",
        "ooml_FileNameListTypeDefAddEx(rasterChooser, \"raster\", 0, 2, 2, 3)",
        "ooml_PartTitleSet(rasterChooser, \"Enter New File for Raster:   newr\")",
        "ooml_FileNameListTemplateSet(rasterChooser, \"*.img\")",
        "ooml_FileNameListQuery(rasterChooser, frame)",
        "ooml_PartValueText(rasterChooser)",
        "ooml_FileNameListTypeDefsClear(rasterChooser)",
        "ooml_FileNameListTypeDefAdd(rasterChooser, \"raster\", 0)",
        "ooml_PartTitleSet(rasterChooser, \"Select Existing File for Raster:   oldr\")",
        "ooml_FileNameListTemplateSet(rasterChooser, \"*.img\")",
        "ooml_FileNameListQuery(rasterChooser, frame)",
        "ooml_PartValueText(rasterChooser)",
        "ooci_NewMember(2, \"*.arcinfo\")",
        "ooci_NewSet(2, \"*.arcinfo\")",
        "ooml_SetValue(vectorChooser, {\"*.arcinfo\"})",
        "ooml_PartTitleSet(vectorChooser, \"Select Existing File for Vector:   cov\")",
        "ooml_FileNameListQuery(vectorChooser, frame)",
        "ooml_PartValueText(vectorChooser)",
        "ooci_NewMember(2, \"*.ovr\")",
        "ooci_NewSet(2, \"*.ovr\")",
        "ooml_SetValue(vectorChooser, {\"*.ovr\"})",
        "ooml_PartTitleSet(vectorChooser, \"Select Existing File for Vector:   ann\")",
        "ooml_FileNameListQuery(vectorChooser, frame)",
        "ooml_PartValueText(vectorChooser)",
        // The image layer is titled before its types are set.
        "ooml_PartTitleSet(rasterChooser, \"Enter Image Containing Table:   timg\")",
        "ooml_FileNameListTypeDefsClear(rasterChooser)",
        "ooml_FileNameListTypeDefAdd(rasterChooser, \"raster\", 0)",
        "ooml_FileNameListTemplateSet(rasterChooser, \"*.img\")",
        "ooml_FileNameListQuery(rasterChooser, frame)",
        "ooml_PartValueText(rasterChooser)",
        "ooml_PartTitleSet(coverageChooser, \"Enter Coverage Containing Table:   tcov\")",
        "ooml_FileNameListQuery(coverageChooser, frame)",
        "ooml_PartValueText(coverageChooser)",
        "ooml_PartTitleSet(annotationChooser, \"Enter Annotation Containing Table:   tann\")",
        "ooml_FileNameListQuery(annotationChooser, frame)",
        "ooml_PartValueText(annotationChooser)",
        "ooml_PartTitleSet(matrixChooser, \"Select Existing File for Matrix:   mread\")",
        "ooml_FileNameListQuery(matrixChooser, frame)",
        "ooml_PartValueText(matrixChooser)",
        "ooml_PartTitleSet(tableChooser, \"Select Existing File for Table:   tread\")",
        "ooml_FileNameListQuery(tableChooser, frame)",
        "ooml_PartValueText(tableChooser)",
        "ooml_PartTitleSet(scalarChooser, \"Select Existing File for Scalar:   sread\")",
        "ooml_FileNameListQuery(scalarChooser, frame)",
        "ooml_PartValueText(scalarChooser)",
        "ooml_PartTitleSet(scalarChooser, \"Enter New File for Scalar:   sw\")",
        "ooml_FileNameListQuery(scalarChooser, frame)",
        "ooml_PartValueText(scalarChooser)",
        "ooml_PartTitleSet(tableChooser, \"Enter New File for Table:   tw\")",
        "ooml_FileNameListQuery(tableChooser, frame)",
        "ooml_PartValueText(tableChooser)",
        "ooml_PartTitleSet(matrixChooser, \"Enter New File for Matrix:   mw\")",
        "ooml_FileNameListQuery(matrixChooser, frame)",
        "ooml_PartValueText(matrixChooser)",
    };
    EXPECT_EQ(callLog(), expected);
}

namespace {

// The prompt model with answer `cancel` left empty: the run stops at that prompt with
// `tail` as the end of its text and `absent` nowhere in it, every done mark is cleared,
// and the next run asks every prompt again and writes the whole script.
void expectCancelledAt(size_t cancel, const std::string &tail, const std::string &absent) {
    ScriptModel m;
    buildPromptModel(m);
    {
        ChooserScript chooser;
        chooser.answers = kAnswers;
        chooser.answers[cancel] = "";
        chooser.install();
        ScriptRun run = runScript(&m.model);
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(chooser.titles.size(), cancel + 1);
        EXPECT_TRUE(endsWith(run.text, tail)) << run.text;
        EXPECT_EQ(run.text.find(absent), std::string::npos);
        EXPECT_FALSE(anyOperationDone(m.model));
    }
    expectEveryPromptAnswered(m.model);
}

} // namespace

// Cancelled at the third prompt, in the vector declarations: the script stops inside the
// statement, with no closing brace and no QUIT, and the next run asks every prompt again.
TEST(vmod_ScriptGen, CancelledDeclarationPromptAbandonsTheScript) {
    expectCancelledAt(2, "\nInteger VECTOR cov COVER AOI NONE polygon RENDER TO MEMORY", "QUIT;");
}

// Cancelled in the operation section after two operations were written ("Enter New File
// for Table:   tw"): every done mark is cleared, and the next run defines every operation
// again.
TEST(vmod_ScriptGen, CancelledOutputPromptClearsDoneMarks) {
    expectCancelledAt(11, "\nWRITE $sw TO \"/answers/11.txt\";\ntw = $oldr + 2;\n", "\n}\n");
}

// Without a handler the host's chooser cancels: the first prompt ends the script.
TEST(vmod_ScriptGen, PromptWithoutAnswerCancels) {
    ScriptModel m;
    buildPromptModel(m);
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 0);
    EXPECT_TRUE(endsWith(run.text, "\nINTEGER RASTER newr FILE NEW USEALL THEMATIC BIN DIRECT DEFAULT 8 BIT UNSIGNED INTEGER"))
        << run.text;
}
