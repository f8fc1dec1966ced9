// model_pipeline.cpp - the stages of fuzz_RunModelPipeline. A stage that may fail on a
// model that reads (a save refused for a field no file can hold, a script refused for a
// cycle, an export refused by the file layer) is only run; what the stages promise each
// other is checked and noted in the outcome's problems.
#include "model_pipeline.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "file/model_reader.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "script/script_gen.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

namespace {

// Above this many operations the script is written in the indexed order only: the
// one-query-per-operation order costs a cubic number of steps.
constexpr size_t kLiteralOrderOperations = 64;
// The reachability queries asked of the first nodes of the list.
constexpr int kCircularNodes = 8;
// Models whose lists hold more entries than this only go through the reader.
constexpr int64_t kMaxListEntries = 100000;

std::string wholeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return in.good();
}

// Releases what vmod_ModelRead put into a caller's model (vmod_ModelDelete frees it all)
// and zeroes the record.
void releaseReadModel(Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelDelete(model, &err);
    oerr_DeleteErrorReportEx(&err);
    *model = Vmod_Model{};
}

// Saves model to path; true when the writer reported nothing. The model's own path is
// restored afterwards.
bool save(Vmod_Model *model, const std::string &path) {
    char *own = model->fileName;
    model->fileName = ostr_Duplicate(path.c_str());
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelWrite(model, &err);
    const bool saved = err == nullptr;
    oerr_DeleteErrorReportEx(&err);
    omsc_HeapFree(model->fileName);
    model->fileName = own;
    return saved;
}

// Every file prompt is confirmed with the same name.
int32_t answerEveryPrompt(Ooml_Part *, const char *, void *, char **answer) {
    *answer = ostr_Duplicate("fuzz_answer.img");
    return 1;
}

// The seven file choosers, the frame (with the run button) and the menu an editor gives
// a model; taken away from the model again when the object goes.
struct EditorParts {
    Vmod_Model *model;
    Ooml_Frame *frame = vmodhost_FrameCreate();
    Ooml_Menu *menu = vmodhost_MenuCreate();
    Ooml_Part *choosers[7] = {};
    explicit EditorParts(Vmod_Model *m) : model(m) {
        const char *names[] = {"raster", "vector", "coverage", "annotation", "matrix", "table", "scalar"};
        for (int i = 0; i < 7; ++i) choosers[i] = vmodhost_ChooserCreate(names[i]);
        vmodhost_FrameAddPart(frame, "vmodframe:runb");
        set(frame, menu, choosers);
    }
    ~EditorParts() {
        Ooml_Part *none[7] = {};
        set(nullptr, nullptr, none);
        for (Ooml_Part *part : choosers) vmodhost_ChooserDelete(part);
        vmodhost_MenuDelete(menu);
        vmodhost_FrameDelete(frame);
    }
    EditorParts(const EditorParts &) = delete;
    EditorParts &operator=(const EditorParts &) = delete;

private:
    void set(Ooml_Frame *f, Ooml_Menu *m, Ooml_Part *const *parts) {
        model->frame = f;
        model->menu = m;
        model->rasterChooser = parts[0];
        model->vectorChooser = parts[1];
        model->coverageChooser = parts[2];
        model->annotationChooser = parts[3];
        model->matrixChooser = parts[4];
        model->tableChooser = parts[5];
        model->scalarChooser = parts[6];
    }
};

// Writes the script of model into path; -1 when the file cannot be opened.
int32_t writeScript(Vmod_Model *model, const std::string &path, const ScriptOptions &options) {
    Oerr_ErrorReport *err = nullptr;
    Ofio_File *file = ofio_Open(path.c_str(), "w", &err);
    oerr_DeleteErrorReportEx(&err);
    if (file == nullptr) return -1;
    const int32_t complete = script_Generate(model, file, options);
    const bool closed = ofio_Close(file, 0) == 0;
    return closed ? complete : 0;
}

void runScripts(Vmod_Model *model, const std::string &directory, PipelineOutcome &outcome) {
    const std::string indexedPath = directory + "/script_indexed.txt";
    const std::string literalPath = directory + "/script_literal.txt";
    Oerr_ErrorReport *err = nullptr;
    outcome.scriptChecked = script_Check(model, &err) != 0;
    oerr_DeleteErrorReportEx(&err);

    vmodhost_SetChooserHandler(answerEveryPrompt, nullptr);
    const int32_t indexed = writeScript(model, indexedPath, ScriptOptions{});
    size_t operations = 0;
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next)
        if (node->type == VMOD_FUNCTION || node->type == VMOD_CRITERIA) ++operations;
    std::string literalText;
    int32_t literal = -2; // not written
    if (outcome.scriptChecked && operations <= kLiteralOrderOperations) {
        ScriptOptions options;
        options.literalOrder = true;
        literal = writeScript(model, literalPath, options);
        literalText = wholeFile(literalPath);
    }
    vmodhost_SetChooserHandler(nullptr, nullptr);

    const std::string indexedText = wholeFile(indexedPath);
    std::remove(indexedPath.c_str());
    std::remove(literalPath.c_str());
    if (indexed < 0) return;
    outcome.scriptComplete = indexed == 1;
    if (outcome.scriptChecked && indexed != 1)
        outcome.problems.push_back("a model the script check accepts gave an incomplete script with every prompt answered");
    if (!outcome.scriptChecked && indexed != 0)
        outcome.problems.push_back("a model the script check refuses gave a complete script");
    if (!outcome.scriptChecked && !indexedText.empty())
        outcome.problems.push_back("a model the script check refuses had script text written");
    if (literal >= 0 && (literal != indexed || literalText != indexedText))
        outcome.problems.push_back("the script differs between the indexed and the query-by-query operation order");
}

void runExports(Vmod_Model *model, const std::string &directory, PipelineOutcome &outcome) {
    const std::string epsPath = directory + "/model.eps";
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelEPS(epsPath.c_str(), model, &err);
    outcome.epsWritten = err == nullptr;
    oerr_DeleteErrorReportEx(&err);
    if (outcome.epsWritten && !exists(epsPath))
        outcome.problems.push_back("the EPS export reported success without a file");
    std::remove(epsPath.c_str());

    const std::string annoPath = directory + "/model.svg";
    vmod_ModelAnno(model, annoPath.c_str(), &err);
    outcome.annoWritten = err == nullptr;
    oerr_DeleteErrorReportEx(&err);
    if (outcome.annoWritten && !exists(annoPath))
        outcome.problems.push_back("the annotation export reported success without a file");
    std::remove(annoPath.c_str());
}

void runQueries(Vmod_Model *model) {
    vmod_ReadyToRun(model);
    Oerr_ErrorReport *err = nullptr;
    int starts = 0;
    for (const Vmod_Node *from = model->nodes; from != nullptr && starts < kCircularNodes; from = from->next, ++starts) {
        int targets = 0;
        for (const Vmod_Node *to = model->nodes; to != nullptr && targets < kCircularNodes; to = to->next, ++targets) {
            vmod_Circular(model->nodes, from->id, to->id, &err);
            oerr_DeleteErrorReportEx(&err);
        }
    }
}

// Reads the model file at from and saves it to to; false, with the reason in outcome,
// when either step fails.
bool readAndSave(const std::string &from, const std::string &to, PipelineOutcome &outcome) {
    Vmod_Model again{};
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelRead(&again, from.c_str(), &err);
    const bool read = err == nullptr;
    oerr_DeleteErrorReportEx(&err);
    bool saved = false;
    if (!read)
        outcome.problems.push_back("a model the writer saved does not read back");
    else if (!(saved = save(&again, to)))
        outcome.problems.push_back("a model read back from a saved file cannot be saved again");
    releaseReadModel(&again);
    return saved;
}

// Saves the model, reads the file back and saves that again. The second file must be the
// first, with one allowance: a matrix saved without values (a new node has none) reads
// back with its SIZE's zero-filled array, which the next save writes. From the second
// save on the file must not change.
void runRoundTrip(Vmod_Model *model, const std::string &directory, PipelineOutcome &outcome) {
    const std::string paths[] = {directory + "/model.vmf", directory + "/model_again.vmf",
                                 directory + "/model_third.vmf"};
    outcome.written = save(model, paths[0]);
    if (!outcome.written) {
        if (exists(paths[0])) outcome.problems.push_back("a refused save left a file");
        std::remove(paths[0].c_str());
        return;
    }
    outcome.readBack = readAndSave(paths[0], paths[1], outcome);
    if (outcome.readBack && wholeFile(paths[0]) != wholeFile(paths[1]) &&
        readAndSave(paths[1], paths[2], outcome) && wholeFile(paths[1]) != wholeFile(paths[2]))
        outcome.problems.push_back("saving a saved model again gives a different file");
    for (const std::string &path : paths)
        std::remove(path.c_str());
}

// How many list entries the model's arrays hold. The reader accepts up to ten million per
// list, and a file of that size takes the writer and reader tens of seconds under the
// sanitizers: the reader target already covers such sizes.
int64_t listEntries(const Vmod_Model *model) {
    int64_t entries = 0;
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        if (node->data == nullptr) continue;
        int64_t count = 0;
        switch (node->type) {
        case VMOD_RASTER: count = static_cast<const Vmod_RasterData *>(node->data)->numClasses; break;
        case VMOD_VECTOR: count = static_cast<const Vmod_VectorData *>(node->data)->numClasses; break;
        case VMOD_MATRIX: {
            const auto *m = static_cast<const Vmod_MatrixData *>(node->data);
            count = int64_t{m->columns} * m->rows;
            break;
        }
        case VMOD_TABLE: count = static_cast<const Vmod_TableData *>(node->data)->size; break;
        case VMOD_CRITERIA: {
            const auto *k = static_cast<const Vmod_CriteriaData *>(node->data);
            count = int64_t{k->columns} * k->rows + k->rows;
            break;
        }
        default: break;
        }
        entries += count > 0 ? count : 0;
    }
    return entries;
}

} // namespace

PipelineOutcome fuzz_RunModelPipeline(const uint8_t *data, size_t size, const std::string &directory) {
    PipelineOutcome outcome;
    Oerr_ErrorReport *report = nullptr;
    Vmod_Model *model = file_ModelParseText("fuzz.vmf", reinterpret_cast<const char *>(data), size, &report);
    oerr_DeleteErrorReportEx(&report);
    if (model == nullptr) return outcome;
    outcome.parsed = true;
    vmod_UpdateNodes(model, &report); // resolves links the way a read does
    oerr_DeleteErrorReportEx(&report);
    model->fileName = ostr_Duplicate((directory + "/model.vmf").c_str());
    if (listEntries(model) > kMaxListEntries) {
        file_ParsedModelRelease(model);
        return outcome;
    }

    runRoundTrip(model, directory, outcome);
    {
        EditorParts parts(model);
        runScripts(model, directory, outcome);
        runQueries(model);
    }
    runExports(model, directory, outcome);
    file_ParsedModelRelease(model);
    return outcome;
}
