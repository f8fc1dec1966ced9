// script_gen.cpp - vmod_ScriptGen: the order of the script's sections, refusal of models
// that cannot be translated, and the result.
//
// Design of the script. A script is written top to bottom in one go, each section a pass
// over the node list in list order: the header settings, the declarations (rasters,
// vectors, matrices, tables, scalars), the recode variables, a projection taken from a
// declared layer, then, inside braces when the model is optimized, the literal data, the
// recode tables and lookups, the operation definitions, and "QUIT;". A file prompt that the
// user cancels ends the script where it stands; so does nothing else. The result is 1 only
// for a script that is complete and that the file layer wrote without error.
#include "script/script_gen.h"

#include <new>
#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "model/c_boundary.h"
#include "model/model_internal.h"
#include "script/script_context.h"
#include "script/script_declarations.h"
#include "script/script_graph.h"
#include "script/script_header.h"
#include "script/script_literals.h"
#include "script/script_operations.h"
#include "script/script_quoting.h"
#include "script/script_recode.h"
#include "vmod/vmod.h"

namespace {

void clearDoneMarks(const ScriptGraph &graph) {
    for (Vmod_Node *node : graph.nodes) {
        if (model_IsOperation(node)) {
            *model_OperationDone(node) = 0;
        }
    }
}

// Writes the script; false when a prompt was cancelled.
bool writeScript(ScriptContext &context) {
    Ofio_File *file = context.file;
    const Vmod_Model *model = context.model;
    script_WriteHeader(context);
    script_Banner(context, "declarations");
    if (!script_DeclareRasters(context) || !script_DeclareVectors(context) || !script_DeclareMatrices(context) ||
        !script_DeclareTables(context) || !script_DeclareScalars(context)) {
        return false;
    }
    script_DeclareRecodeVariables(context);
    script_WriteProjectionSameAs(context);
    if (model->optimize) {
        ofio_Fprintf(file, "{\n");
    }
    if (!script_WriteLiterals(context)) {
        return false;
    }
    script_LoadRecodeTables(context);
    script_DefineRecodedLayers(context);
    if (!script_WriteOperations(context)) {
        return false;
    }
    if (model->optimize) {
        ofio_Fprintf(file, "}\n");
    }
    ofio_Fprintf(file, "QUIT;\n");
    return true;
}

// Fills graph and refusals; true when there is nothing to refuse.
bool findRefusals(Vmod_Model *model, ScriptGraph &graph, ScriptRefusals &refusals) {
    refusals = ScriptRefusals{};
    script_BuildGraph(model, graph, refusals.graph);
    if (model != nullptr) {
        script_FindTextProblems(model, graph, refusals.texts);
    }
    return refusals.none();
}

std::string joined(const ScriptRefusals &refusals) {
    std::string text = refusals.graph;
    for (const std::string &problem : refusals.texts) {
        text += text.empty() ? "" : "; ";
        text += problem;
    }
    return text;
}

} // namespace

ScriptRefusals script_FindRefusals(Vmod_Model *model) {
    ScriptGraph graph;
    ScriptRefusals refusals;
    findRefusals(model, graph, refusals);
    return refusals;
}

int32_t script_Generate(Vmod_Model *model, Ofio_File *file, const ScriptOptions &options) {
    if (model == nullptr || file == nullptr) {
        return 0;
    }
    ScriptGraph graph;
    ScriptContext context;
    bool complete = false;
    try {
        // Every refusal is found before the first byte, so a refused model leaves the
        // file as it was.
        ScriptRefusals refusals;
        if (!findRefusals(model, graph, refusals)) {
            return 0;
        }
        context.model = model;
        context.file = file;
        context.graph = &graph;
        context.literalOrder = options.literalOrder;
        context.nextOperation = options.nextOperation;
        // Marks left over from elsewhere would hide operations from the order.
        clearDoneMarks(graph);
        complete = writeScript(context);
        if (options.stopReason != nullptr) {
            *options.stopReason = context.stopReason;
        }
    } catch (...) { // the marks and the prompt title are still cleaned up below
        complete = false;
    }
    clearDoneMarks(graph);
    omsc_HeapFree(context.promptTitle);
    if (!complete) {
        return 0;
    }
    return ofio_HasError(file) ? 0 : 1;
}

extern "C" {

int32_t vmod_ScriptGen(Vmod_Model *model, Ofio_File *file) {
    return model_Guarded<int32_t>(0, [model, file] { return script_Generate(model, file, ScriptOptions{}); });
}

} // extern "C"

int32_t script_Check(Vmod_Model *model, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    return model_GuardedReport<int32_t>("script_Check", err, 0, [model, err]() -> int32_t {
        ScriptGraph graph;
        ScriptRefusals refusals;
        if (findRefusals(model, graph, refusals)) {
            return 1;
        }
        if (err != nullptr) {
            *err = oerr_CreateErrorReport("script_Check", VMOD_ERR_FAILED, VMOD_SEVERITY_ERROR, nullptr,
                                          "Error Cannot Generate Script: %s", joined(refusals).c_str(), 0);
        }
        return 0;
    });
}
