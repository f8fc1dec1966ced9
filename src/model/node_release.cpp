// Releasing nodes with everything they own: titles, payloads (with their strings,
// arrays and rectangles) and link records.
#include "model/node_release.h"

#include <cstdint>

#include "vmodhost/omsc.h"
#include "model/text_font.h"

namespace {

// The number of entries of a rows-by-columns array, 0 when either count is not positive.
int64_t cellCount(int32_t rows, int32_t columns) {
    return rows > 0 && columns > 0 ? static_cast<int64_t>(rows) * columns : 0;
}

void stringArrayRelease(char **entries, int64_t count) {
    if (entries == nullptr) return;
    for (int64_t i = 0; i < count; ++i) omsc_HeapFree(entries[i]);
    omsc_HeapFree(entries);
}

}  // namespace

void model_LinkListRelease(Vmod_Link *head) {
    while (head != nullptr) {
        Vmod_Link *next = head->next;
        omsc_HeapFree(head);
        head = next;
    }
}

void model_PayloadRelease(int32_t kind, void *data) {
    if (data == nullptr) return;
    switch (kind) {
    case VMOD_RASTER: {
        auto *raster = static_cast<Vmod_RasterData *>(data);
        omsc_HeapFree(raster->fileName);
        omsc_HeapFree(raster->promptText);
        omsc_HeapFree(raster->declare);
        omsc_HeapFree(raster->newClasses);
        omsc_HeapFree(raster->areaRect);
        omsc_HeapFree(raster->aoiFile);
        break;
    }
    case VMOD_VECTOR: {
        auto *vector = static_cast<Vmod_VectorData *>(data);
        omsc_HeapFree(vector->fileName);
        omsc_HeapFree(vector->promptText);
        omsc_HeapFree(vector->feature);
        omsc_HeapFree(vector->window);
        omsc_HeapFree(vector->declare);
        omsc_HeapFree(vector->aoiFile);
        omsc_HeapFree(vector->attribute);
        omsc_HeapFree(vector->newClasses);
        break;
    }
    case VMOD_MATRIX: {
        auto *matrix = static_cast<Vmod_MatrixData *>(data);
        omsc_HeapFree(matrix->frontText);
        omsc_HeapFree(matrix->values);
        omsc_HeapFree(matrix->readFile);
        omsc_HeapFree(matrix->writeFile);
        omsc_HeapFree(matrix->promptText);
        break;
    }
    case VMOD_TABLE: {
        auto *table = static_cast<Vmod_TableData *>(data);
        int64_t size = table->size > 0 ? table->size : 0;
        omsc_HeapFree(table->layerFile);
        omsc_HeapFree(table->promptLayerText);
        omsc_HeapFree(table->layerName);
        omsc_HeapFree(table->fieldName);
        omsc_HeapFree(table->values);
        stringArrayRelease(table->strings, size);
        if (table->colors != nullptr) {
            for (int64_t i = 0; i < size; ++i) omsc_HeapFree(table->colors[i]);
            omsc_HeapFree(table->colors);
        }
        omsc_HeapFree(table->readFile);
        omsc_HeapFree(table->writeFile);
        omsc_HeapFree(table->promptText);
        break;
    }
    case VMOD_SCALAR: {
        auto *scalar = static_cast<Vmod_ScalarData *>(data);
        omsc_HeapFree(scalar->readFile);
        omsc_HeapFree(scalar->writeFile);
        omsc_HeapFree(scalar->promptText);
        break;
    }
    case VMOD_FUNCTION:
        omsc_HeapFree(static_cast<Vmod_FunctionData *>(data)->expression);
        break;
    case VMOD_CRITERIA: {
        auto *criteria = static_cast<Vmod_CriteriaData *>(data);
        stringArrayRelease(criteria->columnTitles, criteria->columns > 0 ? criteria->columns : 0);
        stringArrayRelease(criteria->cells, cellCount(criteria->rows, criteria->columns));
        omsc_HeapFree(criteria->outputValues);
        break;
    }
    case VMOD_TEXT:
        // Only a font this payload owns; a shared model font stays with the model.
        model_TextFontRelease(static_cast<Vmod_TextData *>(data));
        break;
    default:
        break;
    }
    omsc_HeapFree(data);
}

void model_NodeRelease(Vmod_Node *node) {
    if (node == nullptr) return;
    omsc_HeapFree(node->title);
    model_PayloadRelease(node->type, node->data);
    model_LinkListRelease(node->children);
    model_LinkListRelease(node->parents);
    omsc_HeapFree(node);
}

void model_HeaderRelease(Vmod_Model *model) {
    if (model == nullptr) return;
    // Field by field: the packed record's pointers may sit off their natural alignment,
    // so no pointer to a field is taken.
    omsc_HeapFree(model->fileName);
    model->fileName = nullptr;
    omsc_HeapFree(model->title);
    model->title = nullptr;
    omsc_HeapFree(model->projectionSameAs);
    model->projectionSameAs = nullptr;
    omsc_HeapFree(model->projectionSpec1);
    model->projectionSpec1 = nullptr;
    omsc_HeapFree(model->projectionSpec2);
    model->projectionSpec2 = nullptr;
    omsc_HeapFree(model->aoiFile);
    model->aoiFile = nullptr;
    omsc_HeapFree(model->window);
    model->window = nullptr;
}
