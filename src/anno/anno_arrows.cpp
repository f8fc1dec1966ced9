// Arrows of the annotation export: a line between the glyph edges and a filled head
// turned to the line's direction.
#include <cmath>
#include <new>
#include <numbers>

#include "anno/anno_layer.h"
#include "glyph/glyph_geometry.h"

namespace vmod::anno {

namespace {

// The head with its tip at (0, 0) pointing up (y upward), as a closed outline.
const LayerPoint kHead[5] = {
    {-0.069444, -0.208333}, {0, -0.166667}, {0.069444, -0.208333}, {0, 0}, {-0.069444, -0.208333},
};

// The turn that brings the upward head onto the arrow from (x1, y1) to (x2, y2).
double HeadAngle(double x1, double y1, double x2, double y2) {
    const double quarter = std::numbers::pi / 2;
    if (x1 != x2)
        return std::atan((y2 - y1) / (x2 - x1)) + (x1 < x2 ? -quarter : quarter);
    // Straight up keeps the head as it is; straight down, and an arrow of no length, turn it.
    return y2 > y1 ? 0.0 : std::numbers::pi;
}

Oant_Element *AddArrow(const Export &ex, double x1, double y1, double x2, double y2) {
    Members members;
    LayerPoint line[2] = {{x1, y1}, {x2, y2}};
    members.Append(AddPolyline(ex, "arrow", ex.styles.blackLine, line, 2));
    double t = HeadAngle(x1, y1, x2, y2);
    double c = std::cos(t), s = std::sin(t);
    LayerPoint head[5];
    for (int i = 0; i < 5; ++i)
        head[i] = {kHead[i].x * c - kHead[i].y * s + x2, kHead[i].x * s + kHead[i].y * c + y2};
    members.Append(AddPolygon(ex, "arrow_head", ex.styles.solidBlack, head, 5));
    return AddGroup(ex, "function", members);
}

// The arrow from node to child, unless their centres coincide.
void DrawArrow(const Export &ex, const Vmod_Node *node, const Vmod_Node *child, Members &members) {
    glyph::ArrowEnds ends = glyph::ArrowEndPoints(node->type, node->x, node->y, child->type, child->x, child->y);
    // Two nodes on one centre give no direction: no arrow rather than a head of NaNs.
    if (ends.drawable)
        members.Append(AddArrow(ex, ends.x1, -ends.y1, ends.x2, -ends.y2));
}

} // namespace

void AddArrows(const Export &ex, const Vmod_Model *model, const NodesById *index, const Vmod_Node *node,
               Members &members) {
    for (const Vmod_Link *link = node->children; link != nullptr; link = link->next) {
        // Every node carrying the link's identifier gets an arrow, so a duplicated
        // identifier shows as two arrows and an unknown one as none.
        if (index != nullptr) {
            for (const Vmod_Node *child : index->nodesWithId(link->id))
                DrawArrow(ex, node, child, members);
            continue;
        }
        for (const Vmod_Node *other = model->nodes; other != nullptr; other = other->next)
            if (other->id == link->id)
                DrawArrow(ex, node, other, members);
    }
}

} // namespace vmod::anno
