// kit_model.cpp - new models with the defaults a saved model needs, releasing models,
// and nodes added with the next free identifier.
#include <cstdint>

#include "kit_guard.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodkit/vmodkit_model.h"

namespace {

// The font new notes share. The model does not own its textFont, so a constant string
// lives as long as any model that points at it.
char kDefaultTextFont[] = "Helvetica";

// The print settings are those a model file without their statements reads as, so
// that a new model saved and read back is the same model; the diagram page is the same
// letter page. The drawing fields are those of a screen at 96 pixels per inch with a
// one-inch glyph box, the box the printed and PostScript glyphs use.
constexpr double kLetterWidth = 8.5, kLetterHeight = 11.0, kMargin = 0.5, kFullScale = 100.0;

void setDefaults(Vmod_Model *model) {
    model->textFont = kDefaultTextFont;
    model->textSize = 12;
    model->nextId = 1;
    model->pageWidth = model->printerPageWidth = kLetterWidth;
    model->pageHeight = model->printerPageHeight = kLetterHeight;
    for (int i = 0; i < 4; ++i) // indexed: the packed record leaves the array unaligned
        model->margins[i] = kMargin;
    model->printScale = kFullScale;
    model->optimize = 1;
    model->backgroundColor = 0xFFFFFF;
    model->foregroundColor = 0x000000;
    model->highlightColor = 0x3366CC;
    model->nodeWidth = 1.0;
    model->nodeHeight = 1.0;
    model->zoom = 1.0;
    model->glyphPixelWidth = 96;
    model->glyphPixelHeight = 96;
    model->pixelsPerInchX = 96.0;
    model->pixelsPerInchY = 96.0;
}

void appendNode(Vmod_Model *model, Vmod_Node *node) {
    Vmod_Node *tail = model->nodes;
    if (tail == nullptr) {
        model->nodes = node;
        return;
    }
    while (tail->next != nullptr) tail = tail->next;
    tail->next = node;
    node->prev = tail;
}

bool giveMatrixValues(Vmod_MatrixData *matrix) {
    const int64_t count = static_cast<int64_t>(matrix->columns) * matrix->rows;
    if (matrix->values != nullptr || count <= 0) return true;
    matrix->values = static_cast<double *>(omsc_HeapMalloc(static_cast<size_t>(count) * sizeof(double)));
    return matrix->values != nullptr;
}

} // namespace

extern "C" {

Vmod_Model *vmodkit_ModelNew(Oerr_ErrorReport **err) {
    auto *model = static_cast<Vmod_Model *>(omsc_HeapMalloc(sizeof(Vmod_Model)));
    if (model == nullptr) {
        kit_Report(err, "vmodkit_ModelNew", VMOD_ERR_MEMORY, "memory is exhausted");
        return nullptr;
    }
    setDefaults(model);
    return model;
}

void vmodkit_ModelRelease(Vmod_Model *model) {
    if (model == nullptr) return;
    vmod_ModelDelete(model, nullptr);
    *model = Vmod_Model{};
}

void vmodkit_ModelFree(Vmod_Model *model) {
    vmodkit_ModelRelease(model);
    omsc_HeapFree(model);
}

Vmod_Node *vmodkit_NodeAdd(Vmod_Model *model, int32_t kind, double x, double y, const char *title,
                           Oerr_ErrorReport **err) {
    const char *const function = "vmodkit_NodeAdd";
    if (model == nullptr) {
        kit_Report(err, function, VMOD_ERR_FAILED, "no model to add the node to");
        return nullptr;
    }
    if (kind < VMOD_RASTER || kind > VMOD_TEXT) {
        kit_Report(err, function, VMOD_ERR_FAILED, "no node kind has this number");
        return nullptr;
    }
    const int32_t id = vmod_NodeNextAvail(model->nodes, nullptr);
    // The identifiers stop at the largest int32; one that is taken cannot be given again.
    if (id == INT32_MAX && vmod_IdToNode(model, id, nullptr) != nullptr) {
        kit_Report(err, function, VMOD_ERR_FAILED, "no identifier is free");
        return nullptr;
    }
    Vmod_Node *node = vmod_NodeCreate(model, kind, nullptr);
    char *copy = ostr_Duplicate(title);
    if (node == nullptr || (title != nullptr && copy == nullptr)) {
        omsc_HeapFree(copy);
        vmod_NodesDelete(node, nullptr);
        kit_Report(err, function, VMOD_ERR_MEMORY, "memory is exhausted");
        return nullptr;
    }
    // A literal matrix gets its values, all zero, which is what the reader gives it: a
    // matrix without them is saved without VALUE and reads back with them.
    if (kind == VMOD_MATRIX && !giveMatrixValues(static_cast<Vmod_MatrixData *>(node->data))) {
        omsc_HeapFree(copy);
        vmod_NodesDelete(node, nullptr);
        kit_Report(err, function, VMOD_ERR_MEMORY, "memory is exhausted");
        return nullptr;
    }
    node->id = id;
    node->title = copy;
    node->x = x;
    node->y = y;
    // The extent vmod_UpdateNodes gives a node it resolves: a note's is its measured text.
    if (kind != VMOD_TEXT) {
        node->width = model->nodeWidth;
        node->height = model->nodeHeight;
    }
    appendNode(model, node);
    model->nextId = id < INT32_MAX ? id + 1 : INT32_MAX;
    return node;
}

} // extern "C"
