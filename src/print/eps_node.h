// eps_node.h - the PostScript drawing of a model's nodes for the EPS and paged
// PostScript writers.
#ifndef VMOD_PRINT_EPS_NODE_H
#define VMOD_PRINT_EPS_NODE_H

#include "vmodhost/ofio.h"
#include "vmod/vmod_records.h"

namespace vmod::print {

// The procedures of the seven glyphs and the arrows (vmod_RasterPrint ... vmod_ArrowPrint),
// in that order, which the nodes' drawing calls.
void WriteGlyphProcedures(Ofio_File *file);

// What vmod_NodePrint writes for every node of the list, one blank line between nodes,
// with the arrows' targets found through an index built once.
void WriteNodes(Ofio_File *file, Vmod_Model &model);

} // namespace vmod::print

#endif
