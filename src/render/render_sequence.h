// render_sequence.h - the steps every node renderer shares: the local error slot, the
// selection highlight, the erase colour and the title under a glyph.
#ifndef VMOD_RENDER_RENDER_SEQUENCE_H
#define VMOD_RENDER_RENDER_SEQUENCE_H

#include <cstdint>

#include "vmodhost/oerr.h"
#include "vmod/vmod_records.h"

namespace vmod::render {

// The renderer's local error-report slot. Canvas errors are ignored, but a report a call
// leaves must not leak: each Fresh() releases the previous one before handing out the slot.
class ErrorSlot {
public:
    ErrorSlot() = default;
    ErrorSlot(const ErrorSlot &) = delete;
    ErrorSlot &operator=(const ErrorSlot &) = delete;
    ~ErrorSlot() { oerr_DeleteErrorReportEx(&report_); }

    Oerr_ErrorReport **Fresh() {
        oerr_DeleteErrorReportEx(&report_);
        return &report_;
    }
    bool IsSet() const { return report_ != nullptr; }

private:
    Oerr_ErrorReport *report_ = nullptr;
};

// A pixel rectangle by its inclusive corners.
struct HighlightBox {
    std::int32_t left, top, right, bottom;
};

// a + b and a - b on int32 pixels without wrapping around (they saturate).
std::int32_t AddPixels(std::int64_t a, std::int64_t b);

// Fills box with the highlight colour in exclusive-or mode and restores copy mode and the
// foreground colour: the same call adds and removes the highlight.
void ToggleHighlight(Vmod_Model *model, const HighlightBox &box, ErrorSlot &err);

// Before the glyph: removes a shown highlight when erasing or redrawing in place, and
// sets the background colour when erasing.
void BeginNode(Vmod_Node *node, Vmod_Model *model, std::int32_t mode, const HighlightBox &box, ErrorSlot &err);

// After the glyph: draws the highlight of a selected node in draw mode.
void EndNode(Vmod_Node *node, Vmod_Model *model, std::int32_t mode, const HighlightBox &box, ErrorSlot &err);

// The title (or "?") centred under a glyph whose centre is at pixel (cx, cy); only at a
// zoom of 1.0 or more.
void DrawTitle(const Vmod_Node *node, Vmod_Model *model, std::int32_t cx, std::int32_t cy, ErrorSlot &err);

} // namespace vmod::render

#endif
