// The text renderer: a text node is its text, drawn in its own font, measured so that the
// node's extent follows what the canvas shows.
#include <cmath>

#include "vmodhost/omsc.h"
#include "vmodhost/ooml.h"
#include "vmodhost/opmg.h"
#include "model/note_text.h"
#include "glyph/truncation.h"
#include "render/render_sequence.h"
#include "vmod/vmod.h"

namespace vmod::render {
namespace {

constexpr std::int32_t kCentred = 1;

// A pixel length in inches: what converting (length - scroll) back through the scroll
// offset gives, without the int32 subtraction that could wrap.
double PixelsToInches(std::int32_t pixels, double perInch) {
    if (perInch == 0.0 || !std::isfinite(perInch)) return 0.0;
    return pixels / perInch;
}

// Sets the node's own font; when the canvas cannot use it, the "backup_font" preference.
void SetNodeFont(Ooml_Canvas *canvas, const Vmod_TextData *text, ErrorSlot &err) {
    bool unusable = true;
    if (text) {
        // bold and italics only; the underline is drawn as a line. A note without a size
        // is drawn at the default size every output uses.
        Ooml_FontSpec *spec = ooml_CanvasFontSpecCreate(text->font, text->style & (VMOD_STYLE_BOLD | VMOD_STYLE_ITALIC),
                                                        static_cast<double>(note::SizeOf(text)), err.Fresh());
        bool createFailed = err.IsSet();
        ooml_CanvasContextSetFontSpec(canvas, spec, err.Fresh());
        unusable = createFailed || err.IsSet();
        ooml_CanvasFontSpecFree(spec);
    }
    if (!unusable) return;
    char *name = opmg_GetStringPreference("modeler", "backup_font", "fixed", err.Fresh());
    ooml_CanvasContextSetFont(canvas, name ? name : "fixed", err.Fresh());
    omsc_HeapFree(name);
}

} // namespace
} // namespace vmod::render

extern "C" void vmod_RenderText(Vmod_Node *node, Vmod_Model *model, int32_t mode) {
    using namespace vmod::render;
    if (!node || !model) return;
    if (!(model->zoom >= 1.0)) return;
    ErrorSlot err;
    Ooml_Canvas *canvas = model->canvas;
    auto *payload = static_cast<Vmod_TextData *>(node->data);
    const char *text = node->title ? node->title : "?";
    if (node->title) {
        SetNodeFont(canvas, payload, err);
    } else {
        ooml_CanvasContextSetFont(canvas, model->untitledFont, err.Fresh());
    }
    std::int32_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    ooml_CanvasContextGetStringExtents(canvas, text, &x1, &x2, &y1, &y2, err.Fresh());
    std::int32_t tw = AddPixels(x2, -std::int64_t{x1});
    std::int32_t th = AddPixels(y2, -std::int64_t{y1});
    if (payload) {
        payload->extentWidth = static_cast<uint32_t>(tw);
        payload->extentHeight = static_cast<uint32_t>(th);
    }
    if (node->title) {
        node->width = PixelsToInches(tw, model->pixelsPerInchX);
        node->height = PixelsToInches(th, model->pixelsPerInchY);
    }

    // The text's bottom centre.
    std::int32_t sx = 0, sy = 0;
    vmod_PaperToScreen(model, node->x, node->y + node->height / 2, &sx, &sy);
    HighlightBox box{AddPixels(sx, -std::int64_t{tw / 2}), AddPixels(sy, -std::int64_t{th}), AddPixels(sx, tw / 2), sy};

    BeginNode(node, model, mode, box, err);
    ooml_CanvasContextSetJustification(canvas, kCentred, err.Fresh());
    ooml_CanvasDrawText(canvas, text, sx, sy, err.Fresh());
    if (node->title && payload && (payload->style & VMOD_STYLE_UNDERLINE)) {
        std::int32_t underline = AddPixels(sy, 2);
        ooml_CanvasDrawLine(canvas, 0, 0, box.left, underline, box.right, underline, err.Fresh());
    }
    EndNode(node, model, mode, box, err);
}
