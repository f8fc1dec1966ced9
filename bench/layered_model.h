// layered_model.h - a layered model for benchmarks: every operation reads two outputs of
// the layer above; outputs cycle through the five data kinds, every seventh operation is a
// criteria table and a tenth of the raster outputs are recoded. {100, 20} is the
// 2,000-operation model.
#ifndef VMOD_BENCH_LAYERED_MODEL_H
#define VMOD_BENCH_LAYERED_MODEL_H

#include <initializer_list>
#include <string>
#include <vector>

#include "vmod/vmod.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"

struct LayeredModel {
    Vmod_Model *model = static_cast<Vmod_Model *>(omsc_HeapMalloc(sizeof(Vmod_Model)));
    int32_t operations = 0;
    Vmod_Node *last = nullptr;

    LayeredModel(int32_t width, int32_t layers) {
        model->fileName = ostr_Duplicate("/models/layered.gmd");
        int32_t id = 1;
        std::vector<Vmod_Node *> above;
        for (int32_t j = 0; j < width; ++j) {
            above.push_back(data(j % 5, id++, j, true));
        }
        for (int32_t layer = 1; layer <= layers; ++layer) {
            std::vector<Vmod_Node *> outputs;
            for (int32_t j = 0; j < width; ++j) {
                const bool criteria = (operations % 7) == 6;
                Vmod_Node *operation = create(criteria ? VMOD_CRITERIA : VMOD_FUNCTION, id++);
                Vmod_Node *left = above[j];
                Vmod_Node *right = above[(j + 1) % width];
                if (criteria) {
                    auto *table = static_cast<Vmod_CriteriaData *>(operation->data);
                    operation->title = ostr_Duplicate("All Criteria");
                    table->rows = 2;
                    table->columns = 2;
                    table->columnTitles = texts({std::string("$") + left->title, std::string("$") + right->title});
                    table->cells = texts({" > 0", " < 10", " > 10", " < 20"});
                } else {
                    std::string expression = std::string("$") + left->title + " +\n$" + right->title;
                    static_cast<Vmod_FunctionData *>(operation->data)->expression = ostr_Duplicate(expression.c_str());
                    operation->title = vmod_FunctionTitle(expression.c_str());
                }
                ++operations;
                Vmod_Node *output = data((j + layer) % 5, id++, operations, false);
                link(operation, output);
                link(left, operation);
                link(right, operation);
                outputs.push_back(output);
            }
            above = outputs;
        }
    }

    ~LayeredModel() {
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelDelete(model, &err);
        oerr_DeleteErrorReportEx(&err);
        omsc_HeapFree(model);
    }

    Vmod_Node *create(int32_t kind, int32_t id) {
        Oerr_ErrorReport *err = nullptr;
        Vmod_Node *node = vmod_NodeCreate(model, kind, &err);
        oerr_DeleteErrorReportEx(&err);
        node->id = id;
        // Appended after the last node kept here: walking the list for each node would
        // make building the 200,000-operation model quadratic.
        if (last == nullptr) {
            model->nodes = static_cast<Vmod_Node *>(ollm_Add(model->nodes, OLLM_APPEND, node));
        } else {
            node->next = nullptr;
            node->prev = last;
            last->next = node;
        }
        last = node;
        return node;
    }

    static char **texts(std::initializer_list<std::string> values) {
        auto **array = static_cast<char **>(omsc_HeapMalloc(sizeof(char *) * values.size()));
        size_t i = 0;
        for (const std::string &value : values) {
            array[i++] = ostr_Duplicate(value.c_str());
        }
        return array;
    }

    static void link(Vmod_Node *from, Vmod_Node *to) {
        Oerr_ErrorReport *err = nullptr;
        vmod_ChildAddByNode(from, to, &err);
        oerr_DeleteErrorReportEx(&err);
    }

    // A data node of kind; inputs carry files and literal values, outputs are new.
    Vmod_Node *data(int32_t kind, int32_t id, int32_t serial, bool input) {
        Vmod_Node *node = create(kind, id);
        node->title = ostr_Duplicate(("n" + std::to_string(id) + "_d").c_str());
        switch (kind) {
        case VMOD_RASTER: {
            auto *raster = static_cast<Vmod_RasterData *>(node->data);
            raster->fileName = ostr_Duplicate(("/data/r" + std::to_string(id) + ".img").c_str());
            raster->newFile = input ? 0 : 1;
            raster->tempFile = (!input && serial % 3 == 0) ? 1 : 0;
            if (serial % 10 == 0) {
                raster->recode = 1;
                raster->numClasses = 4;
                raster->newClasses = static_cast<int32_t *>(omsc_HeapMalloc(4 * sizeof(int32_t)));
                for (int32_t c = 0; c < 4; ++c) {
                    raster->newClasses[c] = c / 2;
                }
            }
            break;
        }
        case VMOD_VECTOR: {
            auto *vector = static_cast<Vmod_VectorData *>(node->data);
            vector->fileName = ostr_Duplicate("/data/roads");
            vector->feature = ostr_Duplicate("line");
            vector->attribute = ostr_Duplicate(serial % 2 ? "Record Number" : "CLASS");
            break;
        }
        case VMOD_MATRIX: {
            auto *matrix = static_cast<Vmod_MatrixData *>(node->data);
            matrix->source = input ? 1 : 3;
            if (input) {
                matrix->values = static_cast<double *>(omsc_HeapMalloc(9 * sizeof(double)));
                for (int32_t v = 0; v < 9; ++v) {
                    matrix->values[v] = v * 0.125;
                }
            }
            break;
        }
        case VMOD_TABLE: {
            auto *table = static_cast<Vmod_TableData *>(node->data);
            table->source = input ? 0 : 3;
            table->dataType = VMOD_TABLE_DOUBLE;
            table->size = 4;
            table->values = static_cast<double *>(omsc_HeapMalloc(4 * sizeof(double)));
            table->write = input ? 0 : 1;
            table->writeFile = ostr_Duplicate("/data/t.tbl");
            break;
        }
        default: {
            auto *scalar = static_cast<Vmod_ScalarData *>(node->data);
            scalar->value = serial * 0.5;
            scalar->show = 1;
            break;
        }
        }
        return node;
    }
};

#endif
