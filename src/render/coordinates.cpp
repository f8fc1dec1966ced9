// Paper inches <-> canvas pixels, and arrow end points.
#include <cmath>
#include <limits>

#include "glyph/glyph_geometry.h"
#include "glyph/truncation.h"
#include "vmod/vmod.h"

namespace vmod {

namespace {

// pixel - scroll without wrapping around.
std::int32_t SubtractScroll(std::int32_t pixel, std::int32_t scroll) {
    return TruncateToInt32(static_cast<double>(pixel) - static_cast<double>(scroll));
}

// (pixel + scroll) / perInch; a scale of zero (or not a number) has no inverse, and
// gives 0 rather than an infinity.
double PixelToInches(std::int32_t pixel, std::int32_t scroll, double perInch) {
    if (perInch == 0.0 || !std::isfinite(perInch)) return 0.0;
    return (static_cast<double>(pixel) + static_cast<double>(scroll)) / perInch;
}

} // namespace
} // namespace vmod

extern "C" {

void vmod_PaperToScreen(Vmod_Model *model, double px, double py, int32_t *sx, int32_t *sy) {
    int32_t x = 0, y = 0;
    if (model) {
        // The product is truncated first, then the scroll offset is taken off.
        x = vmod::SubtractScroll(vmod::TruncateToInt32(px * model->pixelsPerInchX), model->scrollX);
        y = vmod::SubtractScroll(vmod::TruncateToInt32(py * model->pixelsPerInchY), model->scrollY);
    }
    if (sx) *sx = x;
    if (sy) *sy = y;
}

void vmod_ScreenToPaper(Vmod_Model *model, int32_t sx, int32_t sy, double *px, double *py) {
    double x = 0.0, y = 0.0;
    if (model) {
        x = vmod::PixelToInches(sx, model->scrollX, model->pixelsPerInchX);
        y = vmod::PixelToInches(sy, model->scrollY, model->pixelsPerInchY);
    }
    if (px) *px = x;
    if (py) *py = y;
}

void vmod_GetCoords(int32_t fromType, double fromX, double fromY, int32_t toType, double toX, double toY,
                    double *x1, double *y1, double *x2, double *y2) {
    vmod::glyph::ArrowEnds ends = vmod::glyph::ArrowEndPoints(fromType, fromX, fromY, toType, toX, toY);
    if (x1) *x1 = ends.x1;
    if (y1) *y1 = ends.y1;
    if (x2) *x2 = ends.x2;
    if (y2) *y2 = ends.y2;
}

} // extern "C"
