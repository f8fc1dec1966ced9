// eps_node.cpp - the PostScript drawing of one node: its glyph procedure at its centre,
// its title centred under it and its outgoing arrows. Text nodes are written as
// vmod_TextPrint writes them (eps_text.cpp).
#include "print/eps_node.h"

#include "vmodhost/ofio.h"
#include "model/c_boundary.h"
#include "model/node_index.h"
#include "print/eps_text.h"
#include "print/ps_text.h"
#include "glyph/glyph_geometry.h"
#include "vmod/vmod.h"

namespace {

// The glyph procedure of a node type, or null for a type without one.
const char *GlyphProcedure(int32_t type) {
    switch (type) {
    case VMOD_RASTER: return "raster";
    case VMOD_VECTOR: return "vector";
    case VMOD_MATRIX: return "matrix";
    case VMOD_TABLE: return "table";
    case VMOD_SCALAR: return "scalar";
    case VMOD_FUNCTION: return "function";
    case VMOD_CRITERIA: return "criteria";
    default: return nullptr;
    }
}

void WriteTitle(Ofio_File *file, const Vmod_Node &node) {
    const bool titled = node.title != nullptr;
    // The "?" sits 0.09 inch below where a title would; added in that order so the
    // printed number is the same as the sum written out.
    const double titleY = node.y + vmod::glyph::PrintedTitleDrop(node.type, true);
    const double y = titled ? titleY : titleY + 0.09;
    vmod::print::EscapedPsText text(titled ? node.title : "?");
    ofio_Fprintf(file, "\t\t/Helvetica-Bold findfont\n");
    ofio_Fprintf(file, titled ? "\t\t14 7 mul 8 div scalefont\n" : "\t\t24 7 mul 8 div scalefont\n");
    ofio_Fprintf(file, "\t\tsetfont\n");
    ofio_Fprintf(file, "\t\t%g inch (%s) stringwidth pop 2 div sub %g inch moveto\n", node.x, text.c_str(), y);
    ofio_Fprintf(file, "\t\t1 -1 scale\n");
    ofio_Fprintf(file, "\t\t(%s) show\n", text.c_str());
    ofio_Fprintf(file, "\t\t1 -1 scale\n");
}

void WriteArrow(Ofio_File *file, const Vmod_Node &node, const Vmod_Node &child) {
    vmod::glyph::ArrowEnds ends = vmod::glyph::ArrowEndPoints(node.type, node.x, node.y, child.type, child.x, child.y);
    // Two nodes at one centre give the arrow no direction: it is not drawn.
    if (!ends.drawable) return;
    ofio_Fprintf(file, "\t\t%g inch %g inch %g inch %g inch arrow\n", ends.x1, ends.y1, ends.x2, ends.y2);
}

// One "arrow" line per child link and per node of the model carrying the link's id, in
// list order; through the index when there is one.
void WriteArrows(Ofio_File *file, const Vmod_Model *model, const Vmod_Node &node, const ModelNodeIndex *index) {
    if (!model) return;
    for (const Vmod_Link *link = node.children; link; link = link->next) {
        if (index) {
            for (const Vmod_Node *child : index->nodesWithId(link->id)) WriteArrow(file, node, *child);
            continue;
        }
        for (const Vmod_Node *child = model->nodes; child; child = child->next)
            if (child->id == link->id) WriteArrow(file, node, *child);
    }
}

void WriteNode(Ofio_File *file, Vmod_Model *model, Vmod_Node *node, const ModelNodeIndex *index) {
    if (!file || !node) return;
    if (node->type == VMOD_TEXT) {
        vmod::print::WriteNoteText(file, node);
        return;
    }
    if (const char *glyph = GlyphProcedure(node->type))
        ofio_Fprintf(file, "\t\t%g inch %g inch %s\n", node->x, node->y, glyph);
    WriteTitle(file, *node);
    WriteArrows(file, model, *node, index);
}

} // namespace

void vmod::print::WriteNodes(Ofio_File *file, Vmod_Model &model) {
    // Without memory for the index the arrows are found by walking the list: slower, the
    // same output.
    ModelNodeIndex index;
    bool indexed = true;
    try {
        index = ModelNodeIndex(model.nodes);
    } catch (...) {
        indexed = false;
    }
    for (Vmod_Node *node = model.nodes; node; node = node->next) {
        WriteNode(file, &model, node, indexed ? &index : nullptr);
        if (node->next) ofio_Fprintf(file, "\n");
    }
}

extern "C" {

void vmod_NodePrint(Ofio_File *file, Vmod_Model *model, Vmod_Node *node, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    // One node alone: its arrows are found by walking the list.
    model_GuardedReport("vmod_NodePrint", err, [=] { WriteNode(file, model, node, nullptr); });
}

} // extern "C"
