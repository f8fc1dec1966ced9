// Making new nodes with the defaults of their kind (node_kinds.h), a raster's from the
// user's preferences and a note's from the model, and the thematic default of a raster's
// data type; the render slot and payload size of a kind.
#include <cstdint>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/opmg.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"
#include "model/node_kinds.h"

namespace {

const char *const category = "modeler";

// A string preference, compared with text and released; reports of the lookup are
// released too. Returns whether the value equals text; *failed tells whether the lookup
// reported an error.
bool preferenceIs(const char *key, const char *def, const char *text, bool *failed = nullptr) {
    Oerr_ErrorReport *report = nullptr;
    char *value = opmg_GetStringPreference(category, key, def, &report);
    if (failed != nullptr) *failed = report != nullptr;
    oerr_DeleteErrorReportEx(&report);
    bool equal = value != nullptr && otxt_Text_strcmp(value, text) == 0;
    omsc_HeapFree(value);
    return equal;
}

// The preference-dependent fields of a new raster, over the plain defaults of its kind.
void rasterPreferences(Vmod_RasterData *raster) {
    bool failed = false;
    if (preferenceIs("stats_option", "Use all file values", "Ignore specified value", &failed) && !failed)
        raster->ignoreSet = 1;
    Oerr_ErrorReport *report = nullptr;
    raster->ignoreValue = opmg_GetNumberPreference(category, "stats_ignore_value", 0.0, &report);
    oerr_DeleteErrorReportEx(&report);
    raster->thematic = vmod_ThematicDefault(raster->dataType);

    const char *key = raster->thematic ? "thematic_interpolation" : "athematic_interpolation";
    char *value = opmg_GetStringPreference(category, key, "Nearest Neighbor", &report);
    oerr_DeleteErrorReportEx(&report);
    raster->interpolation = VMOD_INTERP_NEAREST;
    if (value != nullptr && otxt_Text_strcmp(value, "Bilinear Interpolation") == 0)
        raster->interpolation = VMOD_INTERP_BILINEAR;
    if (value != nullptr && otxt_Text_strcmp(value, "Cubic Convolution") == 0)
        raster->interpolation = VMOD_INTERP_CUBIC;
    omsc_HeapFree(value);
}

}  // namespace

const Vmod_RenderFunction *model_RenderSlot(int32_t kind) {
    const Model_NodeKind *k = model_KindOf(kind);
    return k != nullptr ? &Vmod_RenderTable[k->renderSlot] : nullptr;
}

size_t model_PayloadSize(int32_t kind) {
    const Model_NodeKind *k = model_KindOf(kind);
    return k != nullptr ? k->payloadSize : 0;
}

extern "C" {

int32_t vmod_ThematicDefault(int32_t dataType) {
    switch (dataType) {
    case VMOD_SIGNED8:
    case VMOD_SIGNED16:
    case VMOD_SIGNED32:
    case VMOD_FLOAT:
    case VMOD_DOUBLE:
    case VMOD_COMPLEX:
    case VMOD_DOUBLECOMPLEX:
        return 0;
    default:
        break;
    }
    // The preference names the narrowest unsigned type that already counts as athematic.
    static const struct {
        const char *value;
        int32_t narrowest;
    } switches[] = {{"1 bit unsigned integer", VMOD_BINARY},     {"2 bit unsigned integer", VMOD_UNSIGNED2},
                    {"4 bit unsigned integer", VMOD_UNSIGNED4},  {"8 bit unsigned integer", VMOD_UNSIGNED8},
                    {"16 bit unsigned integer", VMOD_UNSIGNED16}, {"32 bit unsigned integer", VMOD_UNSIGNED32}};
    Oerr_ErrorReport *report = nullptr;
    char *value = opmg_GetStringPreference(category, "athematic_switch", "Signed type only", &report);
    oerr_DeleteErrorReportEx(&report);
    int32_t thematic = 1;
    for (const auto &entry : switches) {
        if (value != nullptr && otxt_Text_strcmp(value, entry.value) == 0) {
            // "1 bit" makes every type athematic, whatever its number.
            if (entry.narrowest == VMOD_BINARY || dataType >= entry.narrowest) thematic = 0;
            break;
        }
    }
    omsc_HeapFree(value);
    return thematic;
}

Vmod_Node *vmod_NodeCreate(Vmod_Model *model, int32_t kind, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    auto *node = static_cast<Vmod_Node *>(omsc_HeapMalloc(sizeof(Vmod_Node)));
    if (node == nullptr) return nullptr;
    node->type = kind;
    if (model_KindOf(kind) == nullptr) return node;  // an unknown kind: no payload, no render slot
    void *data = model_PayloadNew(kind);
    if (data == nullptr) {
        omsc_HeapFree(node);
        return nullptr;
    }
    node->data = data;
    if (kind == VMOD_RASTER) rasterPreferences(static_cast<Vmod_RasterData *>(data));
    if (kind == VMOD_TEXT && model != nullptr) {
        // The model's font is shared, not copied; the node does not own it.
        auto *text = static_cast<Vmod_TextData *>(data);
        text->font = model->textFont;
        text->size = model->textSize;
        text->style = model->textStyle;
    }
    node->render = model_RenderSlot(kind);
    return node;
}

}  // extern "C"
