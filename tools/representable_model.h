// representable_model.h - the check every output command (render, anno, eps, ps, print)
// makes before it draws: each position and size of the model must be a number the
// outputs can hold.
//
// The reader accepts any double, including inf, nan and 4e300. No output can draw those:
// PostScript and PDF keep coordinates in single precision or in device pixels held in 32
// bits, a PNG is a few thousand pixels a side. So positions and sizes must be finite and
// within kMaxRepresentableInches of the page origin: 10000 inches (254 m) is far beyond
// any diagram, is 4.8e7 device pixels at the printer's 4800 dpi (inside 32 bits), and
// 720000 points in PostScript, where single precision still resolves a sixteenth of a
// point.
#ifndef VMOD_TOOLS_REPRESENTABLE_MODEL_H
#define VMOD_TOOLS_REPRESENTABLE_MODEL_H

#include <string>

#include "commands.h"

inline constexpr double kMaxRepresentableInches = 10000;

// A paged print's scale, percent, must lie within these: a hundredth of a percent shrinks
// the largest representable diagram to an inch of paper, and a million percent makes one
// model inch the largest representable paper. Outside them (or not a number) the
// PostScript scale underflows or the pages cannot be drawn.
inline constexpr double kMinPrintScale = 0.01;
inline constexpr double kMaxPrintScale = 1e6;

// "" when the model's print scale is a number within kMinPrintScale..kMaxPrintScale;
// otherwise why it is not.
std::string tool_UnprintableScaleReason(const Vmod_Model &model);

// "" when every node position, the page size, the printer page size and the margins are
// representable; otherwise what is not, naming the node or the header statement.
std::string tool_UnrepresentableReason(const Vmod_Model &model);

// Prints "vmod COMMAND: MODEL: reason" and returns false when the model holds a value no
// output can represent; pagedPrint checks the print scale as well.
bool tool_CheckRepresentable(const ToolCommand &command, const std::string &path, const Vmod_Model &model,
                             bool pagedPrint = false);

#endif
