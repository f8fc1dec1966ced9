// model_reader.cpp - reading a model file: vmod_ModelParse parses a file into a new,
// temporary model with the host's parser driver and the grammar's tables; vmod_ModelRead
// moves the result into the caller's model and resolves its links.
//
// A failed parse leaves nothing behind: free_Local_Data releases the temporary model, the
// node of an unfinished block and the strings no statement took. The caller's model is
// touched only after a parse has succeeded.
#include <cstdint>

#include "file/model_reader.h"
#include "file/parser_tables.h"
#include "vmodhost/oerr.h"
#include "vmodhost/olex.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/c_boundary.h"
#include "model/node_kinds.h"
#include "model/node_release.h"

namespace {

// Turns the driver's outcome into vmod_ModelParse's: the driver's report chained under
// "Graphical Model Parse Error", printed at once.
Vmod_Model *finishParse(const char *path, Vmod_Model *model, Oerr_ErrorReport *driverReport,
                        Oerr_ErrorReport **err) {
    if (driverReport == nullptr && model != nullptr) {
        model_NodesAfterRead(model->nodes);
        return model;
    }
    if (driverReport == nullptr) // the parse yielded no model without saying why
        driverReport = oerr_CreateErrorReport("olex_Parse", OERR_FAILED, OERR_SEVERITY_ERROR, nullptr, "%s: the file yields no model",
                                              path != nullptr ? path : "", 0);
    file_ParsedModelRelease(model);
    oerr_PrintErrorReport(driverReport, 0, 0);
    *err = oerr_CreateErrorReport("vmod_ModelParse", VMOD_ERR_PARSE, VMOD_SEVERITY_ERROR, driverReport, "Graphical Model Parse Error", 0, 0);
    return nullptr;
}

// Hands a string field of the parsed model to the target, releasing the target's. The
// records are packed, so fields are reached through member expressions only.
#define HAND_OVER(target, parsed, field)                                                                     \
    do {                                                                                                     \
        omsc_HeapFree((target)->field);                                                                      \
        (target)->field = (parsed)->field;                                                                   \
        (parsed)->field = nullptr;                                                                           \
    } while (0)

int32_t nextFreeId(const Vmod_Node *nodes) {
    int64_t largest = 0;
    for (const Vmod_Node *node = nodes; node != nullptr; node = node->next)
        if (node->id > largest)
            largest = node->id;
    // The largest identifier may already be the largest int32.
    return static_cast<int32_t>(largest < INT32_MAX ? largest + 1 : INT32_MAX);
}

// Moves the parsed model into target (steps of a successful read).
void moveInto(Vmod_Model *target, Vmod_Model *parsed, const char *path) {
    // The caller passes a model without nodes. A list it left there still belongs to the
    // caller, who may hold it, so it is not released here.
    target->nodes = parsed->nodes;
    parsed->nodes = nullptr;

    HAND_OVER(target, parsed, title);
    target->pageWidth = parsed->pageWidth;
    target->pageHeight = parsed->pageHeight;
    target->pageUnits = parsed->pageUnits;
    target->printerPageWidth = parsed->printerPageWidth;
    target->printerPageHeight = parsed->printerPageHeight;
    for (int i = 0; i < 4; ++i)
        target->margins[i] = parsed->margins[i];
    target->orientation = parsed->orientation;
    target->printScale = parsed->printScale;
    target->pageNumbers = parsed->pageNumbers;
    target->loadedWord1 = parsed->loadedWord1;
    target->cellSizeSet = parsed->cellSizeSet;
    target->cellSizeMode = parsed->cellSizeMode;
    target->cellSizeX = parsed->cellSizeX;
    target->cellSizeY = parsed->cellSizeY;
    target->cellSizeUnits = parsed->cellSizeUnits;
    target->windowMode = parsed->windowMode;
    target->windowUnits = parsed->windowUnits;
    if (parsed->window != nullptr) {
        if (target->window == nullptr) {
            target->window = parsed->window;
            parsed->window = nullptr;
        } else {
            *target->window = *parsed->window;
        }
    }
    target->projectionMode = parsed->projectionMode;
    if (parsed->projectionSameAs != nullptr)
        HAND_OVER(target, parsed, projectionSameAs);
    if (parsed->projectionSpec1 != nullptr)
        HAND_OVER(target, parsed, projectionSpec1);
    if (parsed->projectionSpec2 != nullptr)
        HAND_OVER(target, parsed, projectionSpec2);
    target->aoiMode = parsed->aoiMode;
    if (parsed->aoiFile != nullptr)
        HAND_OVER(target, parsed, aoiFile);
    target->loadedWord2 = parsed->loadedWord2;
    target->optimize = parsed->optimize;

    omsc_HeapFree(target->fileName);
    target->fileName = ostr_Duplicate(path);
    target->nextId = nextFreeId(target->nodes);
}

} // namespace

extern "C" {

void *alloc_Local_Data(void) {
    auto *ld = static_cast<Local_Data *>(omsc_HeapMalloc(sizeof(Local_Data)));
    if (ld == nullptr)
        return nullptr;
    auto *model = static_cast<Vmod_Model *>(omsc_HeapMalloc(sizeof(Vmod_Model)));
    if (model == nullptr) {
        omsc_HeapFree(ld);
        return nullptr;
    }
    model->printerPageWidth = 8.5;
    model->printerPageHeight = 11.0;
    for (int i = 0; i < 4; ++i) // indexed: the packed record leaves the array unaligned
        model->margins[i] = 0.5;
    model->printScale = 100.0;
    model->optimize = 1;
    model->readerWord1 = 1;
    model->zoom = 1.0;
    ld->model = model;
    ld->report = &ld->constructorReport;
    ld->classSlots = ld->matrixSlots = ld->tableSlots = -1;
    ld->titleSlots = ld->cellSlots = ld->outputSlots = -1;
    return ld;
}

void free_Local_Data(void *localData) {
    auto *ld = static_cast<Local_Data *>(localData);
    if (ld == nullptr)
        return;
    if (!ld->delivered) {
        if (ld->current != nullptr && !ld->currentInList)
            model_NodeRelease(ld->current);
        file_ParsedModelRelease(ld->model);
        for (int32_t i = 0; i < ld->pendingCount; ++i)
            omsc_HeapFree(ld->pending[i]);
    }
    oerr_DeleteErrorReportEx(&ld->constructorReport);
    omsc_HeapFree(ld);
}

Vmod_Model *vmod_ModelParse(const char *path, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    Oerr_ErrorReport *ignored = nullptr;
    if (err == nullptr) // the caller does not want the report
        err = &ignored;
    Oerr_ErrorReport *report = nullptr;
    auto *model = static_cast<Vmod_Model *>(
        olex_Parse(file_ModelParserTables(), nullptr, omsc_AddressOf_olex_Scanner(), nullptr, path, nullptr,
                   nullptr, &report));
    model = finishParse(path, model, report, err);
    oerr_DeleteErrorReportEx(&ignored);
    return model;
}

void vmod_ModelRead(Vmod_Model *target, const char *path, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    Oerr_ErrorReport *ignored = nullptr;
    if (err == nullptr) // the caller does not want the report
        err = &ignored;
    Oerr_ErrorReport *report = nullptr;
    Vmod_Model *parsed = nullptr;
    if (target == nullptr)
        report = oerr_CreateErrorReport("vmod_ModelRead", VMOD_ERR_FAILED, VMOD_SEVERITY_ERROR, nullptr, "no model to read into", 0);
    else
        parsed = vmod_ModelParse(path, &report);
    if (parsed == nullptr) {
        *err = oerr_CreateErrorReport("vmod_ModelRead", VMOD_ERR_FAILED, VMOD_SEVERITY_ERROR, report, "Error Parsing Model: %s",
                                      path != nullptr ? path : "", 0);
        oerr_DeleteErrorReportEx(&ignored);
        return;
    }
    moveInto(target, parsed, path);
    file_ParsedModelRelease(parsed);
    Oerr_ErrorReport *local = nullptr;
    vmod_UpdateNodes(target, &local);
    oerr_DeleteErrorReportEx(&local);
}

} // extern "C"

Vmod_Model *file_ModelParseText(const char *name, const char *bytes, size_t length, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    Oerr_ErrorReport *report = nullptr;
    auto *model = static_cast<Vmod_Model *>(
        olex_ParseText(file_ModelParserTables(), omsc_AddressOf_olex_Scanner(), name, bytes, length, &report));
    return finishParse(name, model, report, err);
}

void file_ParsedModelRelease(Vmod_Model *model) {
    if (model == nullptr)
        return;
    Oerr_ErrorReport *report = nullptr;
    vmod_NodesDelete(model->nodes, &report);
    oerr_DeleteErrorReportEx(&report);
    model->nodes = nullptr;
    model_HeaderRelease(model);
    omsc_HeapFree(model);
}
