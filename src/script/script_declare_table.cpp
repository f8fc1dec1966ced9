// script_declare_table.cpp - table declarations: the layer a table belongs to, when it
// reads or writes a column of one, then the table itself.
//
// A table whose layer is a variable of the model (VMOD_LAYER_VARIABLE) names that
// variable, whose name is its layerFile, both when it writes a column (an output table)
// and when it reads one; such a layer needs no declaration of its own.
#include "vmodhost/ofio.h"
#include "script/script_declarations.h"
#include "script/script_prompt.h"
#include "script/script_words.h"

namespace {

// Writes the "n<id>_layer" declaration; false when the prompt was cancelled.
bool declareLayer(ScriptContext &context, Vmod_Node *node, const Vmod_TableData *table) {
    Ofio_File *file = context.file;
    Ooml_Part *chooser = nullptr;
    const char *prompt = nullptr;
    ScriptPromptSetup setup = ScriptPromptSetup::None;
    switch (table->layerKind) {
    case VMOD_LAYER_IMAGE:
        chooser = context.model->rasterChooser;
        prompt = "Enter Image Containing Table:   ";
        setup = ScriptPromptSetup::ImageLayer;
        break;
    case VMOD_LAYER_COVERAGE:
        chooser = context.model->coverageChooser;
        prompt = "Enter Coverage Containing Table:   ";
        break;
    case VMOD_LAYER_ANNOTATION:
        chooser = context.model->annotationChooser;
        prompt = "Enter Annotation Containing Table:   ";
        break;
    default:
        return true;
    }
    std::string name;
    if (!script_FileName(context, table->promptLayerFile != 0, table->layerFile, chooser, prompt, node, setup, name)) {
        return false;
    }
    switch (table->layerKind) {
    case VMOD_LAYER_IMAGE:
        ofio_Fprintf(file,
                     table->outputToLayer ? "RASTER n%d_layer FILE OLD OUTPUT \"%s%s\";\n"
                                          : "RASTER n%d_layer FILE OLD INPUT \"%s%s\";\n",
                     node->id, name.c_str(), script_Text(table->layerName));
        break;
    case VMOD_LAYER_COVERAGE:
        ofio_Fprintf(file, "VECTOR n%d_layer COVER %s \"%s\";\n", node->id, script_Text(table->layerName),
                     name.c_str());
        break;
    default:
        ofio_Fprintf(file, "VECTOR n%d_layer ANNOTATION \"%s\";\n", node->id, name.c_str());
        break;
    }
    return true;
}

// " $n<id>_layer :: "field"" or, for a variable of the model, " $variable :: "field"".
void writeColumn(Ofio_File *file, const Vmod_Node *node, const Vmod_TableData *table) {
    if (table->layerKind == VMOD_LAYER_VARIABLE) {
        ofio_Fprintf(file, " $%s :: \"%s\"", script_Text(table->layerFile), script_Text(table->fieldName));
    } else {
        ofio_Fprintf(file, " $n%d_layer :: \"%s\"", node->id, script_Text(table->fieldName));
    }
}

void writeColorTable(Ofio_File *file, const Vmod_Node *node, const Vmod_TableData *table) {
    if (table->layerKind == VMOD_LAYER_VARIABLE) {
        ofio_Fprintf(file, " COLORTABLE $%s", script_Text(table->layerFile));
    } else {
        ofio_Fprintf(file, " COLORTABLE $n%d_layer", node->id);
    }
}

// The column an output table writes to.
void writeOutputColumn(Ofio_File *file, const Vmod_Node *node, const Vmod_TableData *table) {
    if (table->dataType == VMOD_TABLE_COLOR) {
        writeColorTable(file, node, table);
        return;
    }
    switch (table->layerKind) {
    case VMOD_LAYER_IMAGE:
    case VMOD_LAYER_VARIABLE:
        ofio_Fprintf(file, " DESCRIPTOR");
        writeColumn(file, node, table);
        break;
    case VMOD_LAYER_COVERAGE:
    case VMOD_LAYER_ANNOTATION:
        ofio_Fprintf(file, " ATTRIBUTE");
        writeColumn(file, node, table);
        break;
    default:
        break;
    }
}

// The column a layer-column table reads.
void writeInputColumn(Ofio_File *file, const Vmod_Node *node, const Vmod_TableData *table) {
    if (table->dataType == VMOD_TABLE_COLOR) {
        writeColorTable(file, node, table);
        return;
    }
    if (table->layerKind == VMOD_LAYER_IMAGE || table->layerKind == VMOD_LAYER_VARIABLE) {
        ofio_Fprintf(file, " DESCRIPTOR");
    } else if (table->layerKind == VMOD_LAYER_COVERAGE || table->layerKind == VMOD_LAYER_ANNOTATION) {
        ofio_Fprintf(file, " ATTRIBUTE");
    }
    writeColumn(file, node, table);
}

} // namespace

bool script_DeclareTables(ScriptContext &context) {
    Ofio_File *file = context.file;
    return script_DeclareEach<Vmod_TableData>(context, VMOD_TABLE, [&](Vmod_Node *node, const Vmod_TableData *table) {
        if ((table->source == VMOD_TABLE_LAYER || table->outputToLayer) && !declareLayer(context, node, table)) {
            return false;
        }
        ofio_Fprintf(file, "%s", script_TableValueWord(table->dataType));
        ofio_Fprintf(file, " TABLE %s", script_Text(node->title));
        switch (table->source) {
        case VMOD_TABLE_LITERAL:
        case VMOD_TABLE_READ:
        case VMOD_TABLE_OUTPUT:
            if (table->size > 0) {
                ofio_Fprintf(file, " [%ld]", static_cast<long>(table->size));
            }
            if (table->outputToLayer) {
                writeOutputColumn(file, node, table);
            }
            break;
        case VMOD_TABLE_LAYER:
            writeInputColumn(file, node, table);
            break;
        default:
            break;
        }
        ofio_Fprintf(file, ";\n");
        return true;
    });
}
