// Making new nodes with the defaults of their kind, some of them from the user's
// preferences, and the thematic default of a raster's data type.
#include <cstdint>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/opmg.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"
#include "model/text_font.h"

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

void rasterDefaults(Vmod_RasterData *raster) {
    bool failed = false;
    if (preferenceIs("stats_option", "Use all file values", "Ignore specified value", &failed) && !failed)
        raster->ignoreSet = 1;
    Oerr_ErrorReport *report = nullptr;
    raster->ignoreValue = opmg_GetNumberPreference(category, "stats_ignore_value", 0.0, &report);
    oerr_DeleteErrorReportEx(&report);
    raster->dataType = VMOD_UNSIGNED8;
    raster->thematic = vmod_ThematicDefault(raster->dataType);

    const char *key = raster->thematic ? "thematic_interpolation" : "athematic_interpolation";
    char *value = opmg_GetStringPreference(category, key, "Nearest Neighbor", &report);
    oerr_DeleteErrorReportEx(&report);
    raster->interpolation = 0;
    if (value != nullptr && otxt_Text_strcmp(value, "Bilinear Interpolation") == 0) raster->interpolation = 1;
    if (value != nullptr && otxt_Text_strcmp(value, "Cubic Convolution") == 0) raster->interpolation = 2;
    omsc_HeapFree(value);
}

size_t payloadSize(int32_t kind) {
    switch (kind) {
    case VMOD_RASTER: return sizeof(Vmod_RasterData);
    case VMOD_VECTOR: return sizeof(Vmod_VectorData);
    case VMOD_MATRIX: return sizeof(Vmod_MatrixData);
    case VMOD_TABLE: return sizeof(Vmod_TableData);
    case VMOD_SCALAR: return sizeof(Vmod_ScalarData);
    case VMOD_FUNCTION: return sizeof(Vmod_FunctionData);
    case VMOD_CRITERIA: return sizeof(Vmod_CriteriaData);
    case VMOD_TEXT: return sizeof(Vmod_TextData);
    default: return 0;
    }
}

}  // namespace

const Vmod_RenderFunction *model_RenderSlot(int32_t kind) {
    static const int slotOfKind[] = {VMOD_SLOT_RASTER, VMOD_SLOT_VECTOR,   VMOD_SLOT_MATRIX,   VMOD_SLOT_TABLE,
                                     VMOD_SLOT_SCALAR, VMOD_SLOT_FUNCTION, VMOD_SLOT_CRITERIA, VMOD_SLOT_TEXT};
    if (kind < VMOD_RASTER || kind > VMOD_TEXT) return nullptr;
    return &Vmod_RenderTable[slotOfKind[kind]];
}

size_t model_PayloadSize(int32_t kind) { return payloadSize(kind); }

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
    model_ClearError(err);
    auto *node = static_cast<Vmod_Node *>(omsc_HeapMalloc(sizeof(Vmod_Node)));
    if (node == nullptr) return nullptr;
    node->type = kind;
    const size_t size = payloadSize(kind);
    if (size == 0) return node;  // an unknown kind: no payload, no render slot
    void *data = omsc_HeapMalloc(size);
    if (data == nullptr) {
        omsc_HeapFree(node);
        return nullptr;
    }
    node->data = data;
    switch (kind) {
    case VMOD_RASTER:
        rasterDefaults(static_cast<Vmod_RasterData *>(data));
        break;
    case VMOD_VECTOR: {
        auto *vector = static_cast<Vmod_VectorData *>(data);
        vector->vectorType = 0;
        vector->declare = ostr_Duplicate("Integer");
        break;
    }
    case VMOD_MATRIX: {
        auto *matrix = static_cast<Vmod_MatrixData *>(data);
        matrix->columns = 3;
        matrix->rows = 3;
        matrix->dataType = VMOD_DOUBLE;
        matrix->source = 1;
        matrix->builtin = 2;
        matrix->normalize = 1;
        break;
    }
    case VMOD_TABLE:
        static_cast<Vmod_TableData *>(data)->dataType = VMOD_TABLE_SIGNED32;
        break;
    case VMOD_SCALAR:
        static_cast<Vmod_ScalarData *>(data)->dataType = VMOD_DOUBLE;
        break;
    case VMOD_CRITERIA:
        static_cast<Vmod_CriteriaData *>(data)->rows = 1;
        break;
    case VMOD_TEXT: {
        auto *text = static_cast<Vmod_TextData *>(data);
        // The model's font is shared, not copied; the node does not own it.
        model_TextFontForget(text);
        if (model != nullptr) {
            text->font = model->textFont;
            text->size = model->textSize;
            text->style = model->textStyle;
        }
        text->extentWidth = 14;
        text->extentHeight = 19;
        break;
    }
    default:
        break;
    }
    node->render = model_RenderSlot(kind);
    return node;
}

}  // extern "C"
