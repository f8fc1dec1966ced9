// outputs.h - what the editor makes from the model without changing it: the picture the
// page shows, the validator's problems, the script with its prompts answered, and the
// exports (PNG, EPS, SVG, PDF). Files pass through a private temporary directory that is
// removed before each function returns.
#ifndef VMODEDIT_OUTPUTS_H
#define VMODEDIT_OUTPUTS_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "vmod/vmod_records.h"

// What an output function made: bytes, or why not (with the HTTP status to answer).
struct EditorOutput {
    bool ok = false;
    int status = 500;
    std::string error;
    std::string bytes;
    std::string frame; // the picture's "scrollX,scrollY,width,height"
    std::string clip;  // the part drawn, "x,y,width,height" in the frame's pixels
};

// A rectangle of a picture in its own pixels, counted like the frame's scroll (the
// paper's top-left corner is pixel 0, 0).
struct EditorClip {
    int64_t x = 0, y = 0, width = 0, height = 0;
};

// The diagram as `vmod render MODEL OUT --zoom Z --ppi P --select IDS` draws it, as PNG:
// the whole frame, or with clip only the part of it inside clip (pixel for pixel the same
// as that part of the whole; a clip outside the frame draws its first pixel), for the
// screen: a PNG made for speed rather than size. A selected identifier the model lacks
// is 400.
EditorOutput editor_Picture(Vmod_Model *model, double zoom, int32_t pixelsPerInch, const std::vector<int32_t> &select,
                            const EditorClip *clip = nullptr);
// The validator's JSON document, input files not opened.
EditorOutput editor_Problems(Vmod_Model *model);
// The script, the prompts answered from answers in order: {"script", "complete",
// "prompts", "reason"}.
nlohmann::json editor_Script(Vmod_Model *model, const std::vector<std::string> &answers);
EditorOutput editor_ExportEps(const Vmod_Model *model);
EditorOutput editor_ExportSvg(const Vmod_Model *model);
// Pages "FIRST-LAST" or "N"; "" prints every page that holds something.
EditorOutput editor_ExportPdf(const Vmod_Model *model, const std::string &pages);

#endif
