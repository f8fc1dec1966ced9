// script_declare_vector.cpp - vector declarations. Every vector is declared; one that is
// recoded or read through an attribute is declared under its title with _Org, and its own
// title is defined later from that source.
#include "vmodhost/ofio.h"
#include "vmodhost/ostr.h"
#include "script/script_clauses.h"
#include "script/script_declarations.h"
#include "script/script_prompt.h"

bool script_VectorUsesAttribute(const Vmod_VectorData *vector) {
    return script_Present(vector->attribute) && otxt_Text_strcmp(vector->attribute, "Record Number") != 0;
}

bool script_DeclareVectors(ScriptContext &context) {
    Ofio_File *file = context.file;
    return script_DeclareEach<Vmod_VectorData>(context, VMOD_VECTOR, [&](Vmod_Node *node, const Vmod_VectorData *vector) {
        if (script_Present(vector->declare)) {
            ofio_Fprintf(file, "%s", vector->declare);
        }
        const bool viaSource = vector->recode || script_VectorUsesAttribute(vector);
        ofio_Fprintf(file, viaSource ? " VECTOR %s_Org" : " VECTOR %s", script_Text(node->title));
        if (vector->vectorType == VMOD_VECTOR_COVERAGE) {
            ofio_Fprintf(file, " COVER");
        } else if (vector->vectorType == VMOD_VECTOR_ANNOTATION) {
            ofio_Fprintf(file, " ANNOTATION");
        }
        if (const Vmod_Rect *window = vector->window) {
            ofio_Fprintf(file, " WINDOW");
            script_WriteRect(file, *window);
            ofio_Fprintf(file, " MAP");
        }
        ofio_Fprintf(file, " AOI");
        script_WriteAreaOfInterest(file, vector->aoiMode, vector->aoiFile);
        if (vector->cellSizeSet) {
            ofio_Fprintf(file, " CELLSIZE");
            script_WriteCellSize(file, static_cast<double>(vector->cellSizeX), static_cast<double>(vector->cellSizeY),
                                 vector->cellSizeUnits);
        }
        if (vector->vectorType == VMOD_VECTOR_COVERAGE) {
            ofio_Fprintf(file, " %s", script_Text(vector->feature));
        }
        ofio_Fprintf(file, " RENDER TO");
        ofio_Fprintf(file, "%s", vector->tempFile ? " TEMPFILE" : " MEMORY");
        std::string name;
        if (!script_FileName(context, vector->prompt != 0, vector->fileName, context.model->vectorChooser,
                             "Select Existing File for Vector:   ", node,
                             vector->vectorType == VMOD_VECTOR_COVERAGE ? ScriptPromptSetup::CoverageFilter
                                                     : ScriptPromptSetup::AnnotationFilter,
                             name)) {
            return false;
        }
        ofio_Fprintf(file, " \"%s\"", name.c_str());
        ofio_Fprintf(file, ";\n");
        return true;
    });
}
