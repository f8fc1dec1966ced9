// Drawing through a view: the whole model with a selection, one node redrawn in place,
// and the frame of a picture of the whole model.
#include <algorithm>
#include <string>
#include <vector>

#include "kit_guard.h"
#include "model_picture.h"
#include "view_on_model.h"
#include "vmodkit/vmodkit_view.h"

namespace {

// Titles need not be large to be read under a one-inch glyph.
constexpr char kTitleFont[] = "DejaVu Sans:bold:size=9";
constexpr char kUntitledFont[] = "DejaVu Sans:bold:size=14";

// Why a drawing cannot be made, or null.
const char *DrawingProblem(const Vmod_Model *model, const Ooml_Canvas *canvas, const Vmodkit_View *view) {
    if (model == nullptr || canvas == nullptr) return "no model or no canvas was given";
    return vmodkit::ViewProblem(view);
}

// One renderer call through the node's render slot.
void Render(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    if (node->render && *node->render) (*node->render)(node, model, mode);
}

} // namespace

extern "C" {

void vmodkit_ViewDefault(Vmodkit_View *view) {
    if (view == nullptr) return;
    *view = Vmodkit_View{};
    view->zoom = 1.0;
    view->pixelsPerInch = 96;
    view->background = 0xFFFFFF;
    view->foreground = 0x000000;
    view->highlight = 0x3366CC;
    view->titleFont = kTitleFont;
    view->untitledFont = kUntitledFont;
}

int32_t vmodkit_DrawModel(Vmod_Model *model, Ooml_Canvas *canvas, const Vmodkit_View *view,
                          Vmod_Node *const *selection, size_t count, Oerr_ErrorReport **err) {
    static const char kName[] = "vmodkit_DrawModel";
    if (const char *problem = DrawingProblem(model, canvas, view)) {
        kit_Report(err, kName, VMOD_ERR_FAILED, problem);
        return 0;
    }
    if (selection == nullptr && count != 0) {
        kit_Report(err, kName, VMOD_ERR_FAILED, "a selection count was given without its nodes");
        return 0;
    }
    return kit_Guarded(kName, err, int32_t{0}, [&] {
        // Sorted, so that each node's membership is a search rather than a walk.
        std::vector<const Vmod_Node *> selected(selection, selection + count);
        std::sort(selected.begin(), selected.end());
        vmodkit::DrawingFieldsKept kept(model);
        vmodkit::ApplyView(model, canvas, *view);
        vmodkit::SetDrawingColours(canvas, *view);
        // Arrows first: a node's highlight then covers the head that ends at its glyph.
        vmodkit::DrawArrows(model);
        for (Vmod_Node *node = model->nodes; node; node = node->next) {
            const bool chosen = std::binary_search(selected.begin(), selected.end(), node);
            vmodkit::NodeMarksKept marks(node, chosen ? 1 : 0, 0);
            Render(node, model, VMOD_RENDER_DRAW);
            // A renderer that toggled a highlight left the model's foreground: the same.
        }
        vmodkit::SetDrawingColours(canvas, *view);
        return int32_t{1};
    });
}

int32_t vmodkit_DrawNode(Vmod_Model *model, Ooml_Canvas *canvas, const Vmodkit_View *view, Vmod_Node *node,
                         int32_t from, int32_t to, Oerr_ErrorReport **err) {
    static const char kName[] = "vmodkit_DrawNode";
    const char *problem = DrawingProblem(model, canvas, view);
    if (problem == nullptr && node == nullptr) problem = "no node was given";
    const auto known = [](int32_t shown) { return shown >= VMODKIT_NODE_HIDDEN && shown <= VMODKIT_NODE_SELECTED; };
    if (problem == nullptr && !(known(from) && known(to))) problem = "a node is hidden, shown or selected";
    if (problem) {
        kit_Report(err, kName, VMOD_ERR_FAILED, problem);
        return 0;
    }
    return kit_Guarded(kName, err, int32_t{0}, [&] {
        vmodkit::DrawingFieldsKept kept(model);
        vmodkit::ApplyView(model, canvas, *view);
        // The renderers take a shown highlight off first when erasing, or when drawing
        // in place; a draw then puts it on again for a selected node.
        const bool highlightShown = from == VMODKIT_NODE_SELECTED;
        model->redrawInPlace = highlightShown ? 1 : 0;
        vmodkit::NodeMarksKept marks(node, to == VMODKIT_NODE_SELECTED ? 1 : 0, highlightShown ? 1 : 0);
        // An erase leaves the canvas in the background colour: set the drawing colours
        // before and after every renderer.
        vmodkit::SetDrawingColours(canvas, *view);
        Render(node, model, to == VMODKIT_NODE_HIDDEN ? VMOD_RENDER_ERASE : VMOD_RENDER_DRAW);
        vmodkit::SetDrawingColours(canvas, *view);
        return int32_t{1};
    });
}

int32_t vmodkit_PictureFrame(const Vmod_Model *model, Vmodkit_View *view, int32_t *width, int32_t *height,
                             Oerr_ErrorReport **err) {
    static const char kName[] = "vmodkit_PictureFrame";
    const char *problem = model == nullptr || width == nullptr || height == nullptr
                              ? "no model or no place for the size was given"
                              : vmodkit::ViewProblem(view);
    if (problem) {
        kit_Report(err, kName, VMOD_ERR_FAILED, problem);
        return 0;
    }
    return kit_Guarded(kName, err, int32_t{0}, [&] {
        std::string why;
        if (vmodkit::FramePicture(*model, view, width, height, &why)) return int32_t{1};
        kit_Report(err, kName, VMOD_ERR_FAILED, why.c_str());
        return int32_t{0};
    });
}

} // extern "C"
