// printer_state.h - what the printer output knows while it prints one document: the
// device context, its scales, and the origin of the page in progress.
#ifndef VMOD_PRINT_PRINTER_STATE_H
#define VMOD_PRINT_PRINTER_STATE_H

#include <cstdint>

#include "print/gdi_calls.h"
#include "vmod/vmod_records.h"

class ModelNodeIndex;

namespace vmod::print {

struct PrinterState {
    HDC dc = nullptr;
    int32_t logPixelsX = 0, logPixelsY = 0;
    int32_t fontResolution = 95;    // LOGPIXELSX, or 95 when the device reports none
    double printerScaleX = 0;        // device pixels per model inch across
    double printerScaleY = 0;        // device pixels per model inch down
    double printScale = 100;         // percent
    int32_t pageOriginX = 0, pageOriginY = 0;
    const ModelNodeIndex *index = nullptr; // arrow targets by identifier; null: walk the list

    // A model point on the current page, device pixels.
    int32_t DeviceX(double x) const;
    int32_t DeviceY(double y) const;
};

// Draws one node on the current page: glyph, title and outgoing arrows, or a text node's
// text.
void PrintNode(const PrinterState &state, const Vmod_Model &model, const Vmod_Node &node);

} // namespace vmod::print

#endif
