// Timings of drawing: one node through its renderer on the recording and the drawing
// canvas, an exclusive-or highlight toggle, and a whole bundled example drawn as
// `vmod render` draws it.
#include <benchmark/benchmark.h>

#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ooml.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_view.h"

namespace {

char kTitle[] = "$n1_elevation";
char kTitleFont[] = "DejaVu Sans:bold:size=9";
char kUntitledFont[] = "DejaVu Sans:bold:size=14";

Vmod_Model GlyphModel(Ooml_Canvas *canvas) {
    Vmod_Model model{};
    model.canvas = canvas;
    model.backgroundColor = 0xFFFFFF;
    model.highlightColor = 0x3366CC;
    model.nodeWidth = model.nodeHeight = 1.0;
    model.zoom = 1.0;
    model.glyphPixelWidth = model.glyphPixelHeight = 96;
    model.pixelsPerInchX = model.pixelsPerInchY = 96;
    model.titleFont = kTitleFont;
    model.untitledFont = kUntitledFont;
    return model;
}

void DrawNode(benchmark::State &state, Ooml_Canvas *canvas) {
    Vmod_Model model = GlyphModel(canvas);
    Vmod_Node node{};
    node.type = static_cast<int32_t>(state.range(0));
    node.title = kTitle;
    node.x = node.y = 1.0;
    node.selected = 1;
    node.render = &Vmod_RenderTable[node.type == VMOD_FUNCTION ? VMOD_SLOT_FUNCTION
                                    : node.type == VMOD_CRITERIA ? VMOD_SLOT_CRITERIA
                                                                  : node.type];
    for (auto _ : state) (*node.render)(&node, &model, VMOD_RENDER_DRAW);
}

void BM_RenderOnRecordingCanvas(benchmark::State &state) {
    Ooml_Canvas *canvas = vmodhost_RecordingCanvasCreate("canvas");
    DrawNode(state, canvas);
    vmodhost_CanvasDelete(canvas);
}
BENCHMARK(BM_RenderOnRecordingCanvas)->DenseRange(VMOD_RASTER, VMOD_CRITERIA);

void BM_RenderOnDrawingCanvas(benchmark::State &state) {
    Ooml_Canvas *canvas = vmodhost_CairoCanvasCreate(200, 200, 0xFFFFFF);
    DrawNode(state, canvas);
    vmodhost_CanvasDelete(canvas);
}
BENCHMARK(BM_RenderOnDrawingCanvas)->DenseRange(VMOD_RASTER, VMOD_CRITERIA);

void BM_XorHighlightToggle(benchmark::State &state) {
    Ooml_Canvas *canvas = vmodhost_CairoCanvasCreate(200, 200, 0xFFFFFF);
    Oerr_ErrorReport *err = nullptr;
    ooml_CanvasContextSetDrawMode(canvas, 3, &err);
    for (auto _ : state) ooml_CanvasFillRectangle(canvas, 0, 0, 48, 48, 97, 97, &err);
    oerr_DeleteErrorReportEx(&err);
    vmodhost_CanvasDelete(canvas);
}
BENCHMARK(BM_XorHighlightToggle);

void BM_DrawBundledExample(benchmark::State &state) {
    Vmod_Model model{};
    Oerr_ErrorReport *err = nullptr;
    // The example sits beside this file's folder in the source tree.
    std::string here = __FILE__;
    std::string path = here.substr(0, here.rfind("/bench/")) + "/examples/every_kind.vmf";
    vmod_ModelRead(&model, path.c_str(), &err);
    if (err) {
        oerr_DeleteErrorReportEx(&err);
        state.SkipWithError("cannot read the example");
        return;
    }
    Vmodkit_View view;
    vmodkit_ViewDefault(&view);
    int32_t width = 0, height = 0;
    vmodkit_PictureFrame(&model, &view, &width, &height, nullptr);
    for (auto _ : state) {
        Ooml_Canvas *canvas = vmodhost_CairoCanvasCreate(width, height, view.background);
        vmodkit_DrawModel(&model, canvas, &view, nullptr, 0, nullptr);
        vmodhost_CanvasDelete(canvas);
    }
    vmod_ModelDelete(&model, &err);
    omsc_HeapFree(model.title);
}
BENCHMARK(BM_DrawBundledExample)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
