// script_declare_table.cpp - table declarations: the layer a table belongs to, when it
// reads or writes a column of one, then the table itself.
//
// A table whose layer is a variable of the model (layer kind 1) names that variable, whose
// name is its layerFile, both when it writes a column (an output table) and when it reads
// one; such a layer needs no declaration of its own.
#include "vmodhost/ofio.h"
#include "script/script_declarations.h"
#include "script/script_prompt.h"
#include "script/script_words.h"

namespace {

constexpr int32_t kImageLayer = 0;
constexpr int32_t kVariableLayer = 1;
constexpr int32_t kCoverageLayer = 2;
constexpr int32_t kAnnotationLayer = 3;

// Writes the "n<id>_layer" declaration; false when the prompt was cancelled.
bool declareLayer(ScriptContext &context, Vmod_Node *node, const Vmod_TableData *table) {
    Ofio_File *file = context.file;
    Ooml_Part *chooser = nullptr;
    const char *prompt = nullptr;
    ScriptPromptSetup setup = ScriptPromptSetup::None;
    switch (table->layerKind) {
    case kImageLayer:
        chooser = context.model->rasterChooser;
        prompt = "Enter Image Containing Table:   ";
        setup = ScriptPromptSetup::ImageLayer;
        break;
    case kCoverageLayer:
        chooser = context.model->coverageChooser;
        prompt = "Enter Coverage Containing Table:   ";
        break;
    case kAnnotationLayer:
        chooser = context.model->annotationChooser;
        prompt = "Enter Annotation Containing Table:   ";
        break;
    default:
        return true;
    }
    std::string name = script_Text(table->layerFile);
    if (table->promptLayerFile) {
        auto chosen = script_PromptFile(context, chooser, prompt, node, setup);
        if (!chosen) {
            return false;
        }
        name = *chosen;
    }
    switch (table->layerKind) {
    case kImageLayer:
        ofio_Fprintf(file,
                     table->outputToLayer ? "RASTER n%d_layer FILE OLD OUTPUT \"%s%s\";\n"
                                          : "RASTER n%d_layer FILE OLD INPUT \"%s%s\";\n",
                     node->id, name.c_str(), script_Text(table->layerName));
        break;
    case kCoverageLayer:
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
    if (table->layerKind == kVariableLayer) {
        ofio_Fprintf(file, " $%s :: \"%s\"", script_Text(table->layerFile), script_Text(table->fieldName));
    } else {
        ofio_Fprintf(file, " $n%d_layer :: \"%s\"", node->id, script_Text(table->fieldName));
    }
}

void writeColorTable(Ofio_File *file, const Vmod_Node *node, const Vmod_TableData *table) {
    if (table->layerKind == kVariableLayer) {
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
    case kImageLayer:
    case kVariableLayer:
        ofio_Fprintf(file, " DESCRIPTOR");
        writeColumn(file, node, table);
        break;
    case kCoverageLayer:
    case kAnnotationLayer:
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
    if (table->layerKind == kImageLayer || table->layerKind == kVariableLayer) {
        ofio_Fprintf(file, " DESCRIPTOR");
    } else if (table->layerKind == kCoverageLayer || table->layerKind == kAnnotationLayer) {
        ofio_Fprintf(file, " ATTRIBUTE");
    }
    writeColumn(file, node, table);
}

} // namespace

bool script_DeclareTables(ScriptContext &context) {
    Ofio_File *file = context.file;
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        if (node->type != VMOD_TABLE || node->data == nullptr) {
            continue;
        }
        const auto *table = static_cast<const Vmod_TableData *>(node->data);
        if ((table->source == 1 || table->outputToLayer) && !declareLayer(context, node, table)) {
            return false;
        }
        ofio_Fprintf(file, "%s", script_TableValueWord(table->dataType));
        ofio_Fprintf(file, " TABLE %s", script_Text(node->title));
        switch (table->source) {
        case 0:
        case 2:
        case 3:
            if (table->size > 0) {
                ofio_Fprintf(file, " [%ld]", static_cast<long>(table->size));
            }
            if (table->outputToLayer) {
                writeOutputColumn(file, node, table);
            }
            break;
        case 1:
            writeInputColumn(file, node, table);
            break;
        default:
            break;
        }
        ofio_Fprintf(file, ";\n");
    }
    return true;
}
