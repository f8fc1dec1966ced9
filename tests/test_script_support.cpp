// test_script_support.cpp - helpers of the script generator tests.
#include "test_script_support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"

char *heapText(const char *text) { return ostr_Duplicate(text); }

ScriptModel::ScriptModel()
    : record(static_cast<Vmod_Model *>(omsc_HeapMalloc(sizeof(Vmod_Model)))), model(*record) {
    model.fileName = heapText("/models/test.gmd");
    model.nodeWidth = 1.0;
    model.nodeHeight = 0.5;
    model.zoom = 1.0;
    model.frame = vmodhost_FrameCreate();
    model.rasterChooser = vmodhost_ChooserCreate("rasterChooser");
    model.vectorChooser = vmodhost_ChooserCreate("vectorChooser");
    model.coverageChooser = vmodhost_ChooserCreate("coverageChooser");
    model.annotationChooser = vmodhost_ChooserCreate("annotationChooser");
    model.matrixChooser = vmodhost_ChooserCreate("matrixChooser");
    model.tableChooser = vmodhost_ChooserCreate("tableChooser");
    model.scalarChooser = vmodhost_ChooserCreate("scalarChooser");
}

ScriptModel::~ScriptModel() {
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelDelete(&model, &err);
    oerr_DeleteErrorReportEx(&err);
    omsc_HeapFree(model.title);
    omsc_HeapFree(model.window);
    omsc_HeapFree(model.projectionSameAs);
    omsc_HeapFree(model.projectionSpec1);
    omsc_HeapFree(model.projectionSpec2);
    omsc_HeapFree(model.aoiFile);
    for (Ooml_Part *chooser : {model.rasterChooser, model.vectorChooser, model.coverageChooser,
                               model.annotationChooser, model.matrixChooser, model.tableChooser,
                               model.scalarChooser}) {
        vmodhost_ChooserDelete(chooser);
    }
    vmodhost_FrameDelete(model.frame);
    omsc_HeapFree(record);
}

Vmod_Node *ScriptModel::add(int32_t kind, int32_t id, const char *title) {
    Oerr_ErrorReport *err = nullptr;
    Vmod_Node *node = vmod_NodeCreate(&model, kind, &err);
    oerr_DeleteErrorReportEx(&err);
    node->id = id;
    node->title = title != nullptr ? heapText(title) : nullptr;
    model.nodes = static_cast<Vmod_Node *>(ollm_Add(model.nodes, OLLM_APPEND, node));
    return node;
}

Vmod_Node *ScriptModel::function(int32_t id, const char *expression) {
    Vmod_Node *node = add(VMOD_FUNCTION, id, nullptr);
    payload<Vmod_FunctionData>(node)->expression = heapText(expression);
    node->title = vmod_FunctionTitle(expression);
    return node;
}

Vmod_Node *ScriptModel::pipeline(int32_t outputKind) {
    Vmod_Node *in = add(VMOD_RASTER, 1, "in");
    Vmod_Node *f = function(2, "$in + 1");
    Vmod_Node *out = add(outputKind, 3, "out");
    arrow(in, f);
    arrow(f, out);
    return f;
}

void ScriptModel::arrow(Vmod_Node *from, Vmod_Node *to) {
    Oerr_ErrorReport *err = nullptr;
    vmod_ChildAddByNode(from, to, &err);
    oerr_DeleteErrorReportEx(&err);
}

void ScriptModel::arrows(std::initializer_list<std::pair<Vmod_Node *, Vmod_Node *>> pairs) {
    for (const auto &[from, to] : pairs) {
        arrow(from, to);
    }
}

Vmod_Node *ScriptModel::raster(int32_t id, const char *title, const char *fileName) {
    Vmod_Node *node = add(VMOD_RASTER, id, title);
    payload<Vmod_RasterData>(node)->fileName = heapText(fileName);
    return node;
}

Vmod_Node *ScriptModel::newRaster(int32_t id, const char *title, const char *fileName) {
    Vmod_Node *node = raster(id, title, fileName);
    payload<Vmod_RasterData>(node)->newFile = 1;
    return node;
}

Vmod_Node *ScriptModel::vector(int32_t id, const char *title, const char *feature, const char *fileName) {
    Vmod_Node *node = add(VMOD_VECTOR, id, title);
    if (feature != nullptr) {
        payload<Vmod_VectorData>(node)->feature = heapText(feature);
    }
    payload<Vmod_VectorData>(node)->fileName = heapText(fileName);
    return node;
}

Vmod_Node *ScriptModel::tempRaster(int32_t id, const char *title, const char *declare) {
    Vmod_Node *node = add(VMOD_RASTER, id, title);
    payload<Vmod_RasterData>(node)->tempFile = 1;
    if (declare != nullptr) {
        payload<Vmod_RasterData>(node)->declare = heapText(declare);
    }
    return node;
}

void ScriptModel::consumers(Vmod_Node *from, int32_t count, int32_t firstId) {
    for (int32_t i = 0; i < count; ++i) {
        Vmod_Node *reader = function(firstId + i, "$x + 1");
        arrow(from, reader);
    }
}

Vmod_Node *ScriptModel::layerTable(int32_t id, const char *title, int32_t dataType, int32_t source,
                                   int32_t layerKind, const char *layerFile, const char *layerName,
                                   const char *fieldName) {
    Vmod_Node *node = add(VMOD_TABLE, id, title);
    auto *data = payload<Vmod_TableData>(node);
    data->dataType = dataType;
    data->source = source;
    data->outputToLayer = source == 3 ? 1 : 0;
    data->layerKind = layerKind;
    data->layerFile = layerFile != nullptr ? heapText(layerFile) : nullptr;
    data->layerName = layerName != nullptr ? heapText(layerName) : nullptr;
    data->fieldName = fieldName != nullptr ? heapText(fieldName) : nullptr;
    return node;
}

ScriptRun runScript(Vmod_Model *model, const ScriptOptions &options) {
    static std::atomic<int> serial{0};
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("vmod_script_" + std::to_string(getpid()) + "_" + std::to_string(serial++) + ".mdl");
    Oerr_ErrorReport *err = nullptr;
    Ofio_File *file = ofio_Open(path.c_str(), "w", &err);
    oerr_DeleteErrorReportEx(&err);
    ScriptRun run;
    if (file == nullptr) {
        return run;
    }
    run.result = script_Generate(model, file, options);
    ofio_Close(file, 0);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    run.text = text.str();
    std::filesystem::remove(path);
    return run;
}

std::string golden(const char *name) {
    std::ifstream in(std::string(VMOD_SOURCE_DIR) + "/tests/golden/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

::testing::AssertionResult writesGolden(Vmod_Model *model, const char *name, const ScriptOptions &options) {
    ScriptRun run = runScript(model, options);
    std::string expected = golden(name);
    if (run.result == 1 && run.text == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the generator returned " << run.result << " and wrote\n"
                                         << run.text << "\ninstead of " << name << ":\n"
                                         << expected;
}

std::vector<std::string> callLog() {
    std::vector<std::string> lines;
    for (size_t i = 0; i < vmodhost_LogCount(); ++i) {
        lines.emplace_back(vmodhost_LogLine(i));
    }
    return lines;
}

namespace {

int32_t answerFromScript(Ooml_Part *, const char *title, void *user, char **answer) {
    auto *script = static_cast<ChooserScript *>(user);
    script->titles.emplace_back(title);
    if (script->asked >= script->answers.size()) {
        return 0;
    }
    const std::string &next = script->answers[script->asked++];
    if (next.empty()) {
        return 0;
    }
    *answer = heapText(next.c_str());
    return 1;
}

} // namespace

void ChooserScript::install() { vmodhost_SetChooserHandler(answerFromScript, this); }

ChooserScript::~ChooserScript() { vmodhost_SetChooserHandler(nullptr, nullptr); }
