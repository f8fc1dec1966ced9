// script_operations.cpp - operation definitions.
//
// An operation writes into the data node that is its first child. Its definition is a
// #define macro when that node is a temporary raster with at most one consumer (such a
// raster is never declared, so a macro is the only form that names nothing undeclared; with
// no consumer it is simply never expanded), and an assignment otherwise. The macro wraps
// the expression in the output's declared type: its declare text, or else its class word.
#include "script/script_operations.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"
#include "model/operation_order.h"
#include "script/script_declarations.h"
#include "script/script_graph.h"
#include "script/script_prompt.h"
#include "vmod/vmod.h"

namespace {

bool writtenAsMacro(const Vmod_Node *output) {
    if (output->type != VMOD_RASTER || output->data == nullptr) {
        return false;
    }
    const auto *raster = static_cast<const Vmod_RasterData *>(output->data);
    return raster->tempFile && vmod_NumChildren(const_cast<Vmod_Node *>(output)) <= 1;
}

const char *macroType(const Vmod_Node *output) {
    return script_RasterDeclareWord(static_cast<const Vmod_RasterData *>(output->data));
}

struct SavedOutput {
    int32_t write;
    int32_t prompt;
    const char *writeFile;
    int32_t show;
    Ooml_Part *chooser;
    const char *promptText;
};

bool savedOutputOf(const ScriptContext &context, const Vmod_Node *output, SavedOutput &saved) {
    const Vmod_Model *model = context.model;
    switch (output->type) {
    case VMOD_MATRIX: {
        const auto *data = static_cast<const Vmod_MatrixData *>(output->data);
        saved = {data->write, data->prompt, data->writeFile, data->show, model->matrixChooser,
                 "Enter New File for Matrix:   "};
        return true;
    }
    case VMOD_TABLE: {
        const auto *data = static_cast<const Vmod_TableData *>(output->data);
        saved = {data->write, data->prompt, data->writeFile, data->show, model->tableChooser,
                 "Enter New File for Table:   "};
        return true;
    }
    case VMOD_SCALAR: {
        const auto *data = static_cast<const Vmod_ScalarData *>(output->data);
        saved = {data->write, data->prompt, data->writeFile, data->show, model->scalarChooser,
                 "Enter New File for Scalar:   "};
        return true;
    }
    default:
        return false;
    }
}

bool writeFunction(ScriptContext &context, const Vmod_Node *function, Vmod_Node *output) {
    Ofio_File *file = context.file;
    const char *expression = script_Text(static_cast<const Vmod_FunctionData *>(function->data)->expression);
    const char *title = script_Text(output->title);
    if (writtenAsMacro(output)) {
        // Every line feed may gain a backslash: twice the length and the terminator.
        std::vector<char> escaped(2 * std::strlen(expression) + 1, '\0');
        vmod_RemoveCarriageReturns(escaped.data(), expression);
        ofio_Fprintf(file, "#define %s %s(%s)\n", title, macroType(output), escaped.data());
        return true;
    }
    ofio_Fprintf(file, "%s = %s;\n", title, expression);
    SavedOutput saved;
    if (!savedOutputOf(context, output, saved)) {
        return true;
    }
    if (saved.write) {
        std::string name;
        if (!script_FileName(context, saved.prompt != 0, saved.writeFile, saved.chooser, saved.promptText, output,
                             ScriptPromptSetup::None, name)) {
            return false;
        }
        ofio_Fprintf(file, "WRITE $%s TO \"%s\";\n", title, name.c_str());
    }
    if (saved.show) {
        ofio_Fprintf(file, "SHOW $%s;\n", title);
    }
    return true;
}

void writeCriteria(ScriptContext &context, const Vmod_Node *criteriaNode, const Vmod_Node *output) {
    Ofio_File *file = context.file;
    const auto *criteria = static_cast<const Vmod_CriteriaData *>(criteriaNode->data);
    const bool macro = writtenAsMacro(output);
    const char *title = script_Text(output->title);
    if (macro) {
        ofio_Fprintf(file, "#define %s %s(CONDITIONAL {", title, macroType(output));
    } else {
        ofio_Fprintf(file, "%s = CONDITIONAL {", title);
    }
    if (criteria->rows < 1) {
        return;
    }
    const char *join = otxt_Text_strcmp(criteriaNode->title, "All Criteria") == 0 ? " && " : " || ";
    const int32_t columns = criteria->columns;
    for (int32_t row = 0; row < criteria->rows; ++row) {
        ofio_Fprintf(file, "(");
        for (int32_t column = 0; column < columns; ++column) {
            const char *left = criteria->columnTitles != nullptr ? criteria->columnTitles[column] : nullptr;
            const int64_t cell = static_cast<int64_t>(row) * columns + column;
            const char *right = criteria->cells != nullptr ? criteria->cells[cell] : nullptr;
            ofio_Fprintf(file, "%s%s", script_Text(left), script_Text(right));
            if (column + 1 < columns) {
                ofio_Fprintf(file, "%s", join);
            }
        }
        if (criteria->outputValues != nullptr) {
            ofio_Fprintf(file, ") %g", criteria->outputValues[row]);
        } else {
            ofio_Fprintf(file, ") %d", row + 1);
        }
        if (row + 1 < criteria->rows) {
            ofio_Fprintf(file, "%s", macro ? ",\\\n\t" : ",\n\t");
        }
    }
    const double fallback = criteria->defaultValue;
    if (fallback == 0.0) {
        ofio_Fprintf(file, "%s", macro ? "})\n" : "};\n");
    } else {
        ofio_Fprintf(file, macro ? ",\\\n\t(DEFAULT) %g})\n" : ",\n\t(DEFAULT) %g};\n", fallback);
    }
}

// Hands out the operations in definition order with their outputs.
class OperationSource {
public:
    explicit OperationSource(ScriptContext &context) : context_(context), order_(context.graph->nodes.empty() ? nullptr : context.graph->nodes.front()) {}
    ~OperationSource() { oerr_DeleteErrorReportEx(&report_); }

    Vmod_Node *next() {
        if (!context_.literalOrder) {
            return order_.next();
        }
        oerr_DeleteErrorReportEx(&report_);
        ScriptNextOperation search = context_.nextOperation != nullptr ? context_.nextOperation : vmod_NextFunction;
        return search(context_.model->nodes, &report_);
    }

    Vmod_Node *outputOf(const Vmod_Node *operation) {
        if (!context_.literalOrder) {
            return script_FindNode(*context_.graph, operation->children->id);
        }
        oerr_DeleteErrorReportEx(&report_);
        return vmod_NodeFind(context_.model->nodes, operation->children->id, &report_);
    }

private:
    ScriptContext &context_;
    ModelOperationOrder order_;
    Oerr_ErrorReport *report_ = nullptr;
};

} // namespace

bool script_WriteOperations(ScriptContext &context) {
    OperationSource source(context);
    Vmod_Node *operation = source.next();
    if (operation == nullptr) {
        return true;
    }
    script_Banner(context, "function definitions");
    for (; operation != nullptr; operation = source.next()) {
        Vmod_Node *output = source.outputOf(operation);
        *model_OperationDone(operation) = 1;
        if (operation->type == VMOD_FUNCTION) {
            if (!writeFunction(context, operation, output)) {
                return false;
            }
        } else {
            writeCriteria(context, operation, output);
        }
    }
    return true;
}
