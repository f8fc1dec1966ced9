// A view set on a model's drawing fields, and put back.
#include "view_on_model.h"

#include "render/render_sequence.h"
#include "vmodhost/ooml.h"

namespace vmodkit {

namespace {
constexpr int32_t kCopyMode = 1;
} // namespace

const char *ViewProblem(const Vmodkit_View *view) {
    if (view == nullptr) return "no view was given";
    if (view->pixelsPerInch < 1 || view->pixelsPerInch > 2400) return "pixels per inch must be 1 to 2400";
    if (!(view->zoom >= 0.01 && view->zoom <= 100)) return "zoom must be 0.01 to 100";
    return nullptr;
}

void ApplyView(Vmod_Model *model, Ooml_Canvas *canvas, const Vmodkit_View &view) {
    const double perInch = view.pixelsPerInch * view.zoom;
    model->canvas = canvas;
    model->backgroundColor = view.background;
    model->foregroundColor = view.foreground;
    model->highlightColor = view.highlight;
    model->nodeWidth = 1.0;
    model->nodeHeight = 1.0;
    model->zoom = view.zoom;
    // The glyph box in pixels at zoom 1: one inch.
    model->glyphPixelWidth = view.pixelsPerInch;
    model->glyphPixelHeight = view.pixelsPerInch;
    model->pixelsPerInchX = perInch;
    model->pixelsPerInchY = perInch;
    model->scrollX = view.scrollX;
    model->scrollY = view.scrollY;
    // The renderers only read the names.
    if (view.titleFont) model->titleFont = const_cast<char *>(view.titleFont);
    if (view.untitledFont) model->untitledFont = const_cast<char *>(view.untitledFont);
    model->redrawInPlace = 0;
}

void SetDrawingColours(Ooml_Canvas *canvas, const Vmodkit_View &view) {
    vmod::render::ErrorSlot err;
    ooml_CanvasContextSetDrawMode(canvas, kCopyMode, err.Fresh());
    ooml_CanvasContextSetForeground(canvas, view.foreground, err.Fresh());
}

DrawingFieldsKept::~DrawingFieldsKept() {
    model_->canvas = kept_.canvas;
    model_->backgroundColor = kept_.backgroundColor;
    model_->foregroundColor = kept_.foregroundColor;
    model_->highlightColor = kept_.highlightColor;
    model_->nodeWidth = kept_.nodeWidth;
    model_->nodeHeight = kept_.nodeHeight;
    model_->zoom = kept_.zoom;
    model_->glyphPixelWidth = kept_.glyphPixelWidth;
    model_->glyphPixelHeight = kept_.glyphPixelHeight;
    model_->pixelsPerInchX = kept_.pixelsPerInchX;
    model_->pixelsPerInchY = kept_.pixelsPerInchY;
    model_->scrollX = kept_.scrollX;
    model_->scrollY = kept_.scrollY;
    model_->titleFont = kept_.titleFont;
    model_->untitledFont = kept_.untitledFont;
    model_->redrawInPlace = kept_.redrawInPlace;
}

} // namespace vmodkit
