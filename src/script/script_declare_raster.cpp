// script_declare_raster.cpp - raster declarations: class, name, file clause and file name.
// A temporary raster that feeds at most one operation is not declared: the operation that
// makes it is written as a macro instead.
#include "vmodhost/ofio.h"
#include "script/script_clauses.h"
#include "script/script_declarations.h"
#include "script/script_prompt.h"
#include "script/script_words.h"
#include "vmod/vmod.h"

const char *script_RasterDeclareWord(const Vmod_RasterData *raster) {
    return script_Present(raster->declare) ? raster->declare : script_ClassWord(raster->dataType);
}

namespace {

void writeNewFileClause(Ofio_File *file, const Vmod_RasterData *raster) {
    ofio_Fprintf(file, "%s", raster->deleteFile ? " FILE DELETE_IF_EXISTING" : " FILE NEW");
    if (raster->ignoreSet) {
        ofio_Fprintf(file, " IGNORE %.16g", raster->ignoreValue);
    } else {
        ofio_Fprintf(file, " USEALL");
    }
    ofio_Fprintf(file, "%s", raster->thematic ? " THEMATIC BIN DIRECT DEFAULT" : " ATHEMATIC");
    ofio_Fprintf(file, "%s", script_RasterTypePhrase(raster->dataType));
}

void writeExistingFileClause(Ofio_File *file, const Vmod_RasterData *raster) {
    ofio_Fprintf(file, " FILE OLD");
    switch (raster->interpolation) {
    case VMOD_INTERP_NEAREST:
        ofio_Fprintf(file, " NEAREST NEIGHBOR");
        break;
    case VMOD_INTERP_BILINEAR:
        ofio_Fprintf(file, " BILINEAR INTERPOLATION");
        break;
    case VMOD_INTERP_CUBIC:
        ofio_Fprintf(file, " CUBIC CONVOLUTION");
        break;
    default:
        break;
    }
    if (const Vmod_Rect *area = raster->areaRect) {
        ofio_Fprintf(file, " WINDOW");
        script_WriteRect(file, *area);
        ofio_Fprintf(file, "%s", raster->coordinates == VMOD_COORDS_PIXEL ? " PIXEL" : " MAP");
    }
    ofio_Fprintf(file, " AOI");
    script_WriteAreaOfInterest(file, raster->aoiMode, raster->aoiFile);
}

} // namespace

bool script_DeclareRasters(ScriptContext &context) {
    Ofio_File *file = context.file;
    return script_DeclareEach<Vmod_RasterData>(context, VMOD_RASTER, [&](Vmod_Node *node, const Vmod_RasterData *raster) {
        if (raster->tempFile && vmod_NumChildren(node) <= 1) {
            return true;
        }
        ofio_Fprintf(file, "%s", script_RasterDeclareWord(raster));
        ofio_Fprintf(file, raster->recode ? " RASTER %s_Org" : " RASTER %s", script_Text(node->title));
        if (!raster->tempFile) {
            const bool newFile = raster->newFile != 0;
            if (newFile) {
                writeNewFileClause(file, raster);
            } else {
                writeExistingFileClause(file, raster);
            }
            std::string name;
            if (!script_FileName(context, raster->prompt != 0, raster->fileName, context.model->rasterChooser,
                                 newFile ? "Enter New File for Raster:   " : "Select Existing File for Raster:   ",
                                 node, newFile ? ScriptPromptSetup::NewRaster : ScriptPromptSetup::ExistingRaster,
                                 name)) {
                return false;
            }
            ofio_Fprintf(file, " \"%s\"", name.c_str());
        }
        ofio_Fprintf(file, ";\n");
        return true;
    });
}
