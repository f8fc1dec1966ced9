// canvas_cairo_absent.cpp - the drawing canvas of a host built without Cairo: none can be
// made, and the calls on one answer as they do for another kind of canvas.
#include <cstdint>

#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"

extern "C" {

VMODHOST_API int32_t vmodhost_HasCairo(void) { return 0; }

VMODHOST_API Ooml_Canvas *vmodhost_CairoCanvasCreate(int32_t, int32_t, uint32_t) { return nullptr; }

VMODHOST_API int32_t vmodhost_CairoCanvasWritePng(Ooml_Canvas *, const char *) { return 0; }

VMODHOST_API int32_t vmodhost_CairoCanvasSavePng(Ooml_Canvas *, const char *, Oerr_ErrorReport **err) {
    if (err) *err = oerr_CreateErrorReport("vmodhost_CairoCanvasSavePng", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "no picture to write");
    return 0;
}

VMODHOST_API int32_t vmodhost_CairoCanvasPngPart(Ooml_Canvas *, int32_t, int32_t, int32_t, int32_t, int32_t,
                                                 unsigned char **, size_t *) {
    return 0;
}

VMODHOST_API uint32_t vmodhost_CairoCanvasPixel(Ooml_Canvas *, int32_t, int32_t) { return UINT32_MAX; }

} // extern "C"
