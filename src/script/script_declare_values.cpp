// script_declare_values.cpp - matrix and scalar declarations: one line each, class word,
// kind and title.
#include "vmodhost/ofio.h"
#include "script/script_declarations.h"
#include "script/script_words.h"

bool script_DeclareMatrices(ScriptContext &context) {
    return script_DeclareEach<Vmod_MatrixData>(context, VMOD_MATRIX, [&](Vmod_Node *node, const Vmod_MatrixData *matrix) {
        ofio_Fprintf(context.file, "%s MATRIX %s;\n", script_ClassWord(matrix->dataType), script_Text(node->title));
        return true;
    });
}

bool script_DeclareScalars(ScriptContext &context) {
    return script_DeclareEach<Vmod_ScalarData>(context, VMOD_SCALAR, [&](Vmod_Node *node, const Vmod_ScalarData *scalar) {
        ofio_Fprintf(context.file, "%s SCALAR %s;\n", script_ClassWord(scalar->dataType), script_Text(node->title));
        return true;
    });
}
