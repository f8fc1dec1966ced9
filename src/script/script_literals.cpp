// script_literals.cpp - literal data. Each matrix, table and scalar is loaded from its
// values or read from its file at its place in the node list; a matrix that is normalized
// gets its normalize statement right after its own load or read statement.
//
// A load statement is written only when its values are there to be written: a matrix
// without values or without rows or columns, or a typed table whose value array is
// missing, gets none rather than an unclosed statement.
#include "script/script_literals.h"

#include <cstdint>

#include "vmodhost/ofio.h"
#include "script/script_prompt.h"

namespace {

bool readStatement(ScriptContext &context, Vmod_Node *node, int32_t prompt, const char *readFile,
                   Ooml_Part *chooser, const char *promptText) {
    std::string name;
    if (!script_FileName(context, prompt != 0, readFile, chooser, promptText, node, ScriptPromptSetup::None, name)) {
        return false;
    }
    ofio_Fprintf(context.file, "READ %s FROM \"%s\";\n", script_Text(node->title), name.c_str());
    return true;
}

bool writeMatrix(ScriptContext &context, Vmod_Node *node) {
    Ofio_File *file = context.file;
    const auto *matrix = static_cast<const Vmod_MatrixData *>(node->data);
    const char *title = script_Text(node->title);
    switch (matrix->source) {
    case VMOD_MATRIX_KERNEL:
    case VMOD_MATRIX_LITERAL: {
        const int64_t count = static_cast<int64_t>(matrix->rows) * matrix->columns;
        if (matrix->values == nullptr || matrix->rows <= 0 || matrix->columns <= 0) {
            break;
        }
        script_BannerTitled(context, "# load matrix %s\n", title);
        ofio_Fprintf(file, "%s = MATRIX(", title);
        ofio_Fprintf(file, "%ld, %ld:", static_cast<long>(matrix->rows), static_cast<long>(matrix->columns));
        for (int64_t index = 0; index < count; ++index) {
            if (index % matrix->columns == 0) {
                ofio_Fprintf(file, "\n\t");
            }
            ofio_Fprintf(file, index + 1 < count ? "%.16g, " : "%.16g);\n", matrix->values[index]);
        }
        break;
    }
    case VMOD_MATRIX_READ:
        script_BannerTitled(context, "# read matrix %s\n", title);
        if (!readStatement(context, node, matrix->prompt, matrix->readFile, context.model->matrixChooser,
                           "Select Existing File for Matrix:   ")) {
            return false;
        }
        break;
    default:
        break;
    }
    if (matrix->normalize) {
        script_BannerTitled(context, "# normalize matrix %s\n", title);
        ofio_Fprintf(file, "if (global sum ($%s) NE 0)\n\t{%s = ", title, title);
        ofio_Fprintf(file, "$%s / global sum ($%s);}\n", title, title);
    }
    return true;
}

// The entries of a loaded table, colours one to a line, other entries on the TABLE line;
// nothing at all when the table holds no array of its type.
void loadTable(ScriptContext &context, const Vmod_Node *node, const Vmod_TableData *table) {
    Ofio_File *file = context.file;
    const char *title = script_Text(node->title);
    const int32_t size = table->size;
    const int32_t type = table->dataType;
    const bool held = type == VMOD_TABLE_COLOR    ? table->colors != nullptr
                      : type == VMOD_TABLE_STRING ? table->strings != nullptr
                                                  : table->values != nullptr;
    if (!held) {
        return;
    }
    script_BannerTitled(context, "# load table %s\n", title);
    ofio_Fprintf(file, type == VMOD_TABLE_COLOR ? "%s = TABLE(\n" : "%s = TABLE(", title);
    for (int32_t index = 0; index < size; ++index) {
        const bool more = index + 1 < size;
        if (type == VMOD_TABLE_COLOR) {
            // A missing colour entry is black.
            const Vmod_TableColor black{};
            const Vmod_TableColor *color = table->colors[index] != nullptr ? table->colors[index] : &black;
            ofio_Fprintf(file, more ? "\t\t(%g, %g, %g),\n" : "\t\t(%g, %g, %g));\n", color->value[0],
                         color->value[1], color->value[2]);
        } else if (type == VMOD_TABLE_STRING) {
            ofio_Fprintf(file, more ? "\"%s\", " : "\"%s\");\n", script_Text(table->strings[index]));
        } else {
            ofio_Fprintf(file, more ? "%.16g, " : "%.16g);\n", table->values[index]);
        }
    }
}

bool writeTable(ScriptContext &context, Vmod_Node *node) {
    const auto *table = static_cast<const Vmod_TableData *>(node->data);
    if (table->source == VMOD_TABLE_LITERAL && table->size > 0) {
        loadTable(context, node, table);
    } else if (table->source == VMOD_TABLE_READ) {
        script_BannerTitled(context, "# read table %s\n", node->title);
        return readStatement(context, node, table->prompt, table->readFile, context.model->tableChooser,
                             "Select Existing File for Table:   ");
    }
    return true;
}

bool writeScalar(ScriptContext &context, Vmod_Node *node) {
    const auto *scalar = static_cast<const Vmod_ScalarData *>(node->data);
    if (!scalar->read) {
        script_BannerTitled(context, "# load scalar %s\n", node->title);
        ofio_Fprintf(context.file, "%s = ", script_Text(node->title));
        ofio_Fprintf(context.file, "%.16g;\n", scalar->value);
        return true;
    }
    script_BannerTitled(context, "# read scalar %s\n", node->title);
    return readStatement(context, node, scalar->prompt, scalar->readFile, context.model->scalarChooser,
                         "Select Existing File for Scalar:   ");
}

} // namespace

bool script_WriteLiterals(ScriptContext &context) {
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        if (node->data == nullptr) {
            continue;
        }
        bool answered = true;
        switch (node->type) {
        case VMOD_MATRIX:
            answered = writeMatrix(context, node);
            break;
        case VMOD_TABLE:
            answered = writeTable(context, node);
            break;
        case VMOD_SCALAR:
            answered = writeScalar(context, node);
            break;
        default:
            break;
        }
        if (!answered) {
            return false;
        }
    }
    return true;
}
