// model_picture.h - a whole model drawn as the editor draws it: a white canvas sized to
// the diagram, every arrow as a line with a filled head, every node through its render
// slot. Used by `vmod render`.
#ifndef VMOD_RENDER_MODEL_PICTURE_H
#define VMOD_RENDER_MODEL_PICTURE_H

#include <cstdint>
#include <string>

#include "vmod/vmod_records.h"

namespace vmod::render {

struct PictureOptions {
    std::int32_t pixelsPerInch = 96; // at zoom 1; also the glyph box in pixels
    double zoom = 1.0;
};

// The canvas a picture needs, in pixels.
struct PictureSize {
    std::int32_t width, height;
};

inline constexpr std::int32_t kPictureMaxSide = 16384;
inline constexpr std::uint32_t kPictureBackground = 0xFFFFFF;
inline constexpr std::uint32_t kPictureForeground = 0x000000;
inline constexpr std::uint32_t kPictureHighlight = 0x3366CC;

// Sets the model's drawing fields for a picture of the whole diagram (glyph box one inch,
// scroll so that the diagram's box grown by one inch on every side, and further where a
// note's text reaches beyond that, starts at pixel 0) and gives the canvas size. Notes
// are measured on a small drawing canvas of the host's, which sets their extents. False, with the reason in problem, when options are out of
// range, a node has no finite position or the picture would be too large.
bool PreparePicture(Vmod_Model *model, const PictureOptions &options, PictureSize *size, std::string *problem);

// Draws every arrow, then every node in list order, on the model's canvas. Nodes draw
// through their render slots; a selected node gets its highlight.
void DrawPicture(Vmod_Model *model);

// Fills the polygon of count integer (x, y) points with horizontal lines through the
// canvas's line call (the canvas has no polygon fill). Even-odd rule, pixel centres;
// only rows -1 to kPictureMaxSide, which is all any canvas shows.
void FillPolygon(Ooml_Canvas *canvas, const std::int32_t *points, int count);

} // namespace vmod::render

#endif
