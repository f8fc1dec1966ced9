// script_declare_vector.cpp - vector declarations. Every vector is declared; one that is
// recoded or read through an attribute is declared under its title with _Org, and its own
// title is defined later from that source.
#include "vmodhost/ofio.h"
#include "vmodhost/ostr.h"
#include "script/script_declarations.h"
#include "script/script_prompt.h"

bool script_VectorUsesAttribute(const Vmod_VectorData *vector) {
    return script_Present(vector->attribute) && otxt_Text_strcmp(vector->attribute, "Record Number") != 0;
}

bool script_DeclareVectors(ScriptContext &context) {
    Ofio_File *file = context.file;
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        if (node->type != VMOD_VECTOR || node->data == nullptr) {
            continue;
        }
        const auto *vector = static_cast<const Vmod_VectorData *>(node->data);
        if (script_Present(vector->declare)) {
            ofio_Fprintf(file, "%s", vector->declare);
        }
        const bool viaSource = vector->recode || script_VectorUsesAttribute(vector);
        ofio_Fprintf(file, viaSource ? " VECTOR %s_Org" : " VECTOR %s", script_Text(node->title));
        if (vector->vectorType == 0) {
            ofio_Fprintf(file, " COVER");
        } else if (vector->vectorType == 1) {
            ofio_Fprintf(file, " ANNOTATION");
        }
        if (const Vmod_Rect *window = vector->window) {
            ofio_Fprintf(file, " WINDOW %.16g, %.16g : %.16g, %.16g MAP", window->x1, window->y1, window->x2,
                         window->y2);
        }
        ofio_Fprintf(file, " AOI");
        switch (vector->aoiMode) {
        case 0:
            ofio_Fprintf(file, " NONE");
            break;
        case 1:
            ofio_Fprintf(file, " DEFAULT");
            break;
        case 2:
            ofio_Fprintf(file, " \"%s\"", script_Text(vector->aoiFile));
            break;
        default:
            break;
        }
        if (vector->cellSizeSet) {
            ofio_Fprintf(file, " CELLSIZE %.16g, %.16g", static_cast<double>(vector->cellSizeX),
                         static_cast<double>(vector->cellSizeY));
            if (vector->cellSizeUnits == 0) {
                ofio_Fprintf(file, " METERS");
            } else if (vector->cellSizeUnits == 1) {
                ofio_Fprintf(file, " FEET");
            }
        }
        if (vector->vectorType == 0) {
            ofio_Fprintf(file, " %s", script_Text(vector->feature));
        }
        ofio_Fprintf(file, " RENDER TO");
        ofio_Fprintf(file, "%s", vector->tempFile ? " TEMPFILE" : " MEMORY");
        std::string name = script_Text(vector->fileName);
        if (vector->prompt) {
            auto chosen = script_PromptFile(
                context, context.model->vectorChooser, "Select Existing File for Vector:   ", node,
                vector->vectorType == 0 ? ScriptPromptSetup::CoverageFilter : ScriptPromptSetup::AnnotationFilter);
            if (!chosen) {
                return false;
            }
            name = *chosen;
        }
        ofio_Fprintf(file, " \"%s\"", name.c_str());
        ofio_Fprintf(file, ";\n");
    }
    return true;
}
