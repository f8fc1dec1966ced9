/*
 * vmodkit_layout.h - arranging a model's diagram automatically: a layered drawing in the
 * direction of data flow, made by Graphviz's layered layout, so that a model written by a
 * program gets a readable picture.
 */
#ifndef VMODKIT_LAYOUT_H
#define VMODKIT_LAYOUT_H

#include "vmodkit/vmodkit_common.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the kit was built with Graphviz and vmodkit_Layout can arrange models, else 0. */
VMODKIT_API int32_t vmodkit_LayoutSupported(void);

/* Moves every node of model (its x and y, nothing else) so that the diagram reads from
   left to right in the direction of the arrows: sources in the first column, each node
   right of the nodes it reads, nodes as far apart as their boxes and titles need (half an
   inch across a column, an inch between columns), the whole drawing one inch from the
   page's top-left corner. Arrows that close a cycle are drawn backwards. Text notes
   are set in a row under the drawing, in list order. The same model always gets the same
   picture. 1 when done; 0, with a report and model unchanged, when model is null, the kit
   has no Graphviz, or the layout fails. */
VMODKIT_API int32_t vmodkit_Layout(Vmod_Model *model, Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
