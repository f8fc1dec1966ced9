// script_recode.cpp - recode variables, tables and lookups.
//
// A layer with at most 50 consumers is defined as a #define macro, expanded at each use;
// one with more is computed once into a declared variable. That variable is declared with
// the layer's declare text, or INTEGER when there is none (the values come out of an
// INTEGER recode table). A vector read through an attribute with more than 50 consumers is
// declared the same way, since it too is assigned once.
#include "script/script_recode.h"

#include "vmodhost/ofio.h"
#include "script/script_declarations.h"
#include "vmod/vmod.h"

namespace {

constexpr int32_t kMacroConsumers = 50;

struct RecodeView {
    int32_t recode = 0;
    int32_t numClasses = 0;
    const int32_t *newClasses = nullptr;
    const char *declare = nullptr;
    bool attribute = false; // a vector read through an attribute
    const char *attributeName = nullptr;
};

bool viewOf(const Vmod_Node *node, RecodeView &view) {
    if (node->data == nullptr) {
        return false;
    }
    if (node->type == VMOD_RASTER) {
        const auto *raster = static_cast<const Vmod_RasterData *>(node->data);
        view = RecodeView{raster->recode, raster->numClasses, raster->newClasses, raster->declare, false, nullptr};
        return true;
    }
    if (node->type == VMOD_VECTOR) {
        const auto *vector = static_cast<const Vmod_VectorData *>(node->data);
        view = RecodeView{vector->recode,  vector->numClasses, vector->newClasses,
                          vector->declare, script_VectorUsesAttribute(vector), vector->attribute};
        return true;
    }
    return false;
}

} // namespace

void script_DeclareRecodeVariables(ScriptContext &context) {
    Ofio_File *file = context.file;
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        RecodeView view;
        if (!viewOf(node, view) || !(view.recode || view.attribute)) {
            continue;
        }
        const bool assigned = vmod_NumChildren(node) > kMacroConsumers;
        if (!view.recode && !assigned) {
            continue;
        }
        script_BannerTitled(context, "# addition variables to recode %s\n", node->title);
        if (assigned) {
            ofio_Fprintf(file, "%s", script_Present(view.declare) ? view.declare : "INTEGER");
            ofio_Fprintf(file, " RASTER %s;\n", script_Text(node->title));
        }
        if (view.recode) {
            ofio_Fprintf(file, "INTEGER TABLE n%d_recode;\n", node->id);
        }
    }
}

void script_LoadRecodeTables(ScriptContext &context) {
    Ofio_File *file = context.file;
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        RecodeView view;
        // Without classes there is nothing to load, and an empty statement would not close.
        if (!viewOf(node, view) || !view.recode || view.numClasses <= 0 || view.newClasses == nullptr) {
            continue;
        }
        script_BannerTitled(context, "# load recode table for %s\n", node->title);
        ofio_Fprintf(file, "n%d_recode = TABLE(", node->id);
        for (int32_t index = 0; index < view.numClasses; ++index) {
            ofio_Fprintf(file, index + 1 < view.numClasses ? "%ld, " : "%ld);\n",
                         static_cast<long>(view.newClasses[index]));
        }
    }
}

void script_DefineRecodedLayers(ScriptContext &context) {
    Ofio_File *file = context.file;
    for (Vmod_Node *node = context.model->nodes; node != nullptr; node = node->next) {
        RecodeView view;
        if (!viewOf(node, view)) {
            continue;
        }
        const bool macro = vmod_NumChildren(node) <= kMacroConsumers;
        const char *title = script_Text(node->title);
        if (view.recode) {
            script_BannerTitled(context, "# recode %s_Org\n", title);
            ofio_Fprintf(file, macro ? "#define %s LOOKUP($%s_Org, $n%d_recode)\n" : "%s = LOOKUP($%s_Org, $n%d_recode);\n",
                         title, title, node->id);
        }
        if (view.attribute) {
            script_BannerTitled2(context, "# recode %s_Org through %s\n", title, view.attributeName);
            ofio_Fprintf(file, macro ? "#define %s %s_Org . \"%s\"\n" : "%s = %s_Org . \"%s\";\n", title, title,
                         view.attributeName);
        }
    }
}
