// script_declare_values.cpp - matrix and scalar declarations: one line each, class word,
// kind and title.
#include "vmodhost/ofio.h"
#include "script/script_declarations.h"
#include "script/script_words.h"

bool script_DeclareMatrices(ScriptContext &context) {
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        if (node->type != VMOD_MATRIX || node->data == nullptr) {
            continue;
        }
        const auto *matrix = static_cast<const Vmod_MatrixData *>(node->data);
        ofio_Fprintf(context.file, "%s", script_ClassWord(matrix->dataType));
        ofio_Fprintf(context.file, " MATRIX %s;\n", script_Text(node->title));
    }
    return true;
}

bool script_DeclareScalars(ScriptContext &context) {
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        if (node->type != VMOD_SCALAR || node->data == nullptr) {
            continue;
        }
        const auto *scalar = static_cast<const Vmod_ScalarData *>(node->data);
        ofio_Fprintf(context.file, "%s", script_ClassWord(scalar->dataType));
        ofio_Fprintf(context.file, " SCALAR %s;\n", script_Text(node->title));
    }
    return true;
}
