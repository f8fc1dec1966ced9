// vmod_ModelAnno: the model diagram as an annotation layer, in inches with y upward.
// Only a layer that cannot be created (or, once drawn, cannot be written) is reported;
// failures of single styles and elements are dropped and the export goes on without them.
#include <algorithm>
#include <cstring>
#include <new>

#include "anno/anno_layer.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/c_boundary.h"
#include "model/page_size.h"
#include "vmod/vmod.h"

namespace {

const char kCannotCreate[] = "Error creating annotation file, check file protections.";
const int32_t kUnitInches = 7; // map-information unit code

// Stores and shows the export's one report.
void Report(Oerr_ErrorReport **report, int32_t code, Oerr_ErrorReport *cause) {
    Oerr_ErrorReport *made = oerr_CreateErrorReport("vmod_ModelAnno", code, VMOD_SEVERITY_ERROR, cause, kCannotCreate, 0);
    oerr_PrintErrorReport(made, 0, 0);
    if (report != nullptr) {
        vmodhost_ErrorAppendCause(&made, *report); // one made before a failure at the boundary
        *report = made;
    } else {
        oerr_DeleteErrorReportEx(&made);
    }
}

struct Extent {
    double xmin, xmax, ymin, ymax;
};

// Room left around a note's text where it reaches beyond the margin.
const double kTextPadding = 0.1;

// The paper area of the node centres (the page when there are none) with a one-inch
// margin, widened where a note's text reaches further, so that no text is cut.
Extent DiagramExtent(const Vmod_Model *model) {
    Extent e{vmod::PageWidthInches(*model), 0, vmod::PageHeightInches(*model), 0};
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        if (node->x < e.xmin) e.xmin = node->x;
        if (node->x > e.xmax) e.xmax = node->x;
        if (node->y < e.ymin) e.ymin = node->y;
        if (node->y > e.ymax) e.ymax = node->y;
    }
    if (e.xmax < e.xmin) e.xmin = e.xmax;
    if (e.ymax < e.ymin) e.ymin = e.ymax;
    Extent r{e.xmin - 1, e.xmax + 1, e.ymin - 1, e.ymax + 1};
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        if (node->type != VMOD_TEXT) continue;
        const vmod::anno::TextHalfExtent half = vmod::anno::TextNodeHalfExtent(node);
        const double x = node->x, y = node->y;
        r.xmin = std::min(r.xmin, x - half.width - kTextPadding);
        r.xmax = std::max(r.xmax, x + half.width + kTextPadding);
        r.ymin = std::min(r.ymin, y - half.height - kTextPadding);
        r.ymax = std::max(r.ymax, y + half.height + kTextPadding);
    }
    return r;
}

// The export proper; may throw std::bad_alloc.
void ExportLayer(Vmod_Model *model, const char *name, Oerr_ErrorReport **report) {
    using namespace vmod::anno;

    // 1. The layer.
    char *layerName = static_cast<char *>(omsc_HeapMalloc(std::strlen(name) + 14));
    if (layerName == nullptr) {
        Report(report, VMOD_ERR_FAILED, nullptr);
        return;
    }
    ofio_Sprintf(layerName, "%s(:Annotation)", name);
    Export ex;
    ex.init = oint_GetInit();
    Oevg_Graphics *graphics = oevg_Init();
    Oerr_ErrorReport *layerReport = nullptr;
    Oant_Layer *layer = oant_LayerNew(ex.init, graphics, layerName, 0, 0, &layerReport);
    omsc_HeapFree(layerName);
    if (layerReport != nullptr || layer == nullptr) {
        Report(report, VMOD_ERR_FAILED, layerReport);
        return;
    }
    Oant_AnnotationData *data = layer->annotationData;
    ex.library = data->styleLibrary;
    ex.elements = data->elements;

    // 2. Styles; 3. the identity conversion from inches to inches.
    ex.styles = CreateStyles(ex);
    Oerr_ErrorReport *local = nullptr;
    ex.conversion = oant_CoordSysConversionSetValues(0, 1.0, 1.0, 1.0, 1.0, 0.0, 0.0, "inches", "inches", &local);
    DiscardReport(&local);

    // 4. Extent; 5. the white background.
    Extent e = DiagramExtent(model);
    Members root;
    root.Append(AddRectangle(ex, "background", ex.styles.solidWhite, (e.xmin + e.xmax) / 2, -(e.ymin + e.ymax) / 2,
                             e.xmax - e.xmin, e.ymax - e.ymin));

    // 6. Each node: its glyph or text, its label, its arrows.
    // Arrows find their children through an index. Should it not fit in memory, the export
    // fails as memory is exhausted: walking the list for every arrow instead would take
    // time that grows with the square of the model.
    const NodesById nodesById(model->nodes);
    const NodesById *index = &nodesById;
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        if (node->type == VMOD_TEXT) {
            root.Append(AddTextNode(ex, node));
        } else {
            root.Append(AddGlyph(ex, node));
            root.Append(AddLabel(ex, node));
        }
        AddArrows(ex, model, index, node, root);
    }

    // 10. Closing: the root group, bounding box, map information, and the layer itself.
    Oant_Element *group = AddGroup(ex, "model", root);
    Ovec_Bbox *box = ovec_BboxCreate(e.xmin, -e.ymax, e.xmax, -e.ymin, &local);
    DiscardReport(&local);
    if (box != nullptr) {
        oant_SetAntBoundingBox(ex.elements, box, &local);
        DiscardReport(&local);
    }
    Oprj_MapInfo *info = oprj_MapInfoCreate();
    if (info != nullptr) {
        info->upperLeftX = e.xmin;
        info->upperLeftY = -e.ymin;
        info->lowerRightX = e.xmax;
        info->lowerRightY = -e.ymax;
        info->unitCode = kUnitInches;
        info->unitName = ostr_Duplicate("inches");
        data->mapInfo = info;
    }
    data->rootElement = group;
    Oerr_ErrorReport *closeReport = nullptr;
    oant_LayerClose(layer, &closeReport);
    ovec_BboxDelete(box);
    oant_CoordSysConversionFree(ex.conversion);
    // A layer that was drawn but could not be written is no export: say so.
    if (closeReport != nullptr)
        Report(report, VMOD_ERR_NOT_WRITTEN, closeReport);
}

} // namespace

extern "C" VMOD_API void vmod_ModelAnno(Vmod_Model *model, const char *name, Oerr_ErrorReport **report) {
    const Model_KeptReport kept(report);
    if (model == nullptr || name == nullptr) {
        Report(report, VMOD_ERR_FAILED, nullptr);
        return;
    }
    // Memory exhaustion leaves the layer unwritten: the target keeps what it held, and the
    // host drops the layer's temporary file with the layer when the process ends. It is
    // reported as a layer that cannot be created, caused by the exhaustion.
    model_GuardedWith([=] { ExportLayer(model, name, report); }, [report](const std::exception_ptr &caught) {
        Report(report, VMOD_ERR_MEMORY, model_BoundaryReport("vmod_ModelAnno", caught, nullptr));
    });
}
