// script_declare_raster.cpp - raster declarations: class, name, file clause and file name.
// A temporary raster that feeds at most one operation is not declared: the operation that
// makes it is written as a macro instead.
#include "vmodhost/ofio.h"
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
    case 0:
        ofio_Fprintf(file, " NEAREST NEIGHBOR");
        break;
    case 1:
        ofio_Fprintf(file, " BILINEAR INTERPOLATION");
        break;
    case 2:
        ofio_Fprintf(file, " CUBIC CONVOLUTION");
        break;
    default:
        break;
    }
    if (const Vmod_Rect *area = raster->areaRect) {
        ofio_Fprintf(file, " WINDOW %.16g, %.16g : %.16g, %.16g", area->x1, area->y1, area->x2, area->y2);
        ofio_Fprintf(file, "%s", raster->coordinates == 1 ? " PIXEL" : " MAP");
    }
    ofio_Fprintf(file, " AOI");
    switch (raster->aoiMode) {
    case 0:
        ofio_Fprintf(file, " NONE");
        break;
    case 1:
        ofio_Fprintf(file, " DEFAULT");
        break;
    case 2:
        ofio_Fprintf(file, " \"%s\"", script_Text(raster->aoiFile));
        break;
    default:
        break;
    }
}

} // namespace

bool script_DeclareRasters(ScriptContext &context) {
    Ofio_File *file = context.file;
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        if (node->type != VMOD_RASTER || node->data == nullptr) {
            continue;
        }
        const auto *raster = static_cast<const Vmod_RasterData *>(node->data);
        if (raster->tempFile && vmod_NumChildren(node) <= 1) {
            continue;
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
            std::string name = script_Text(raster->fileName);
            if (raster->prompt) {
                auto chosen = script_PromptFile(
                    context, context.model->rasterChooser,
                    newFile ? "Enter New File for Raster:   " : "Select Existing File for Raster:   ", node,
                    newFile ? ScriptPromptSetup::NewRaster : ScriptPromptSetup::ExistingRaster);
                if (!chosen) {
                    return false;
                }
                name = *chosen;
            }
            ofio_Fprintf(file, " \"%s\"", name.c_str());
        }
        ofio_Fprintf(file, ";\n");
    }
    return true;
}
