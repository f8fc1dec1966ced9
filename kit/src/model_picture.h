// model_picture.h - a whole model drawn as the editor draws it: every arrow as a line
// with a filled head, every node through its render slot, and the frame of a picture of
// the whole diagram. The kit's drawing and `vmod render` stand on it.
#ifndef VMODKIT_MODEL_PICTURE_H
#define VMODKIT_MODEL_PICTURE_H

#include <cstdint>
#include <functional>
#include <string>

#include "vmod/vmod_records.h"
#include "vmodkit/vmodkit_view.h"

namespace vmodkit {

// Calls visit(from, link, to) for every arrow the canvas draws, in drawing order: from
// each node that is not a note, each child link, to every node carrying the link's
// identifier in list order. Walks without memory when an index cannot be built.
void ForEachArrow(const Vmod_Model &model,
                  const std::function<void(const Vmod_Node &, const Vmod_Link &, const Vmod_Node &)> &visit);

// Fills the polygon of count integer (x, y) points with horizontal lines through the
// canvas's line call (the canvas has no polygon fill). Even-odd rule, pixel centres;
// only rows -1 to VMODKIT_PICTURE_MAX_SIDE, which is all any canvas shows.
void FillPolygon(Ooml_Canvas *canvas, const std::int32_t *points, int count);

// Draws every arrow of a model whose drawing fields are set (view_on_model.h) on its
// canvas, in the canvas's current colour.
void DrawArrows(Vmod_Model *model);

// The picture of the whole model (vmodkit_PictureFrame): sets view->scrollX and scrollY
// and *width, *height. False, with the reason in *problem, when a node has no finite
// position or the picture would be too large. The view must be in range.
bool FramePicture(const Vmod_Model &model, Vmodkit_View *view, std::int32_t *width, std::int32_t *height,
                  std::string *problem);

} // namespace vmodkit

#endif
