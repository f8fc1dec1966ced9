// kit_layout.cpp - vmodkit_Layout: the diagram laid out by Graphviz's layered ("dot")
// layout from left to right. Graphviz sees one box per node, as large as the node's glyph
// and title (vmodkit_NodeBox) around its centre, and one edge per arrow; the centres it
// chooses become the nodes' positions. The model is changed only once the layout is done.
#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "kit_guard.h"
#include "vmodkit/vmodkit_layout.h"
#include "vmodkit/vmodkit_view.h"

#ifdef VMODKIT_WITH_GRAPHVIZ
#include <graphviz/gvc.h>
#endif

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kPageMargin = 1.0; // inches from the page's top-left corner to the drawing
constexpr double kNoteGap = 0.5;    // inches between the drawing and the row of notes

struct Placed {
    Vmod_Node *node;
    double x, y;
};

// How far a node's box reaches from its centre each way, so that the centre stays the
// centre of what Graphviz places.
void HalfExtent(const Vmod_Model *model, const Vmod_Node *node, const Vmodkit_View &view, double &halfWidth,
                double &halfHeight) {
    Vmod_Node probe = *node;
    probe.x = 0;
    probe.y = 0;
    Vmodkit_Box box{};
    if (!vmodkit_NodeBox(model, &probe, &view, &box)) box = {-0.5, -0.5, 0.5, 0.5};
    halfWidth = std::max(-box.left, box.right);
    halfHeight = std::max(-box.top, box.bottom);
}

#ifdef VMODKIT_WITH_GRAPHVIZ

// Graphviz's own warnings would go to standard error; the kit reports failures itself.
int Quiet(char *) { return 0; }

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

// Lays out the nodes that are not notes; returns false when Graphviz fails.
bool Arrange(Vmod_Model *model, const std::vector<Vmod_Node *> &nodes, const Vmodkit_View &view,
             std::vector<Placed> &placed, double &bottom) {
    agseterr(AGMAX);
    agseterrf(Quiet);
    GVC_t *context = gvContext();
    if (context == nullptr) return false;
    Agraph_t *graph = agopen(const_cast<char *>("model"), Agdirected, nullptr);
    agattr(graph, AGRAPH, const_cast<char *>("rankdir"), const_cast<char *>("LR"));
    agattr(graph, AGRAPH, const_cast<char *>("nodesep"), const_cast<char *>("0.5"));
    agattr(graph, AGRAPH, const_cast<char *>("ranksep"), const_cast<char *>("1.0"));
    agattr(graph, AGRAPH, const_cast<char *>("splines"), const_cast<char *>("false"));
    agattr(graph, AGNODE, const_cast<char *>("shape"), const_cast<char *>("box"));
    agattr(graph, AGNODE, const_cast<char *>("fixedsize"), const_cast<char *>("true"));
    agattr(graph, AGNODE, const_cast<char *>("label"), const_cast<char *>(""));
    agattr(graph, AGNODE, const_cast<char *>("width"), const_cast<char *>("1"));
    agattr(graph, AGNODE, const_cast<char *>("height"), const_cast<char *>("1"));

    std::vector<Agnode_t *> made(nodes.size());
    std::unordered_map<int32_t, size_t> firstWithId;
    for (size_t i = 0; i < nodes.size(); ++i) {
        std::string name = "n" + std::to_string(i);
        made[i] = agnode(graph, name.data(), 1);
        double halfWidth = 0, halfHeight = 0;
        HalfExtent(model, nodes[i], view, halfWidth, halfHeight);
        agset(made[i], const_cast<char *>("width"), Number(2 * halfWidth).data());
        agset(made[i], const_cast<char *>("height"), Number(2 * halfHeight).data());
        firstWithId.emplace(nodes[i]->id, i);
    }
    for (size_t i = 0; i < nodes.size(); ++i) {
        for (const Vmod_Link *link = nodes[i]->children; link != nullptr; link = link->next) {
            auto child = firstWithId.find(link->id);
            if (child != firstWithId.end()) agedge(graph, made[i], made[child->second], nullptr, 1);
        }
    }
    const bool laid = gvLayout(context, graph, "dot") == 0;
    if (laid) {
        const boxf bounds = GD_bb(graph);
        for (size_t i = 0; i < nodes.size(); ++i) {
            const pointf centre = ND_coord(made[i]);
            placed.push_back({nodes[i], kPageMargin + (centre.x - bounds.LL.x) / kPointsPerInch,
                              kPageMargin + (bounds.UR.y - centre.y) / kPointsPerInch});
        }
        bottom = kPageMargin + (bounds.UR.y - bounds.LL.y) / kPointsPerInch;
        gvFreeLayout(context, graph);
    }
    agclose(graph);
    gvFreeContext(context);
    return laid;
}

#endif

} // namespace

extern "C" {

int32_t vmodkit_LayoutSupported(void) {
#ifdef VMODKIT_WITH_GRAPHVIZ
    return 1;
#else
    return 0;
#endif
}

int32_t vmodkit_Layout(Vmod_Model *model, Oerr_ErrorReport **err) {
    if (model == nullptr) {
        kit_Report(err, "vmodkit_Layout", VMOD_ERR_FAILED, "no model");
        return 0;
    }
#ifndef VMODKIT_WITH_GRAPHVIZ
    kit_Report(err, "vmodkit_Layout", VMOD_ERR_FAILED, "this build has no automatic layout (it was built without Graphviz)");
    return 0;
#else
    return kit_Guarded<int32_t>("vmodkit_Layout", err, 0, [&]() -> int32_t {
        Vmodkit_View view;
        vmodkit_ViewDefault(&view);
        std::vector<Vmod_Node *> nodes, notes;
        for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next)
            (node->type == VMOD_TEXT ? notes : nodes).push_back(node);
        std::vector<Placed> placed;
        double bottom = kPageMargin;
        if (!nodes.empty() && !Arrange(model, nodes, view, placed, bottom)) {
            kit_Report(err, "vmodkit_Layout", VMOD_ERR_FAILED, "the layered layout failed");
            return 0;
        }
        // The notes in a row under the drawing, each as wide as its text.
        double left = kPageMargin, rowTop = bottom + kNoteGap;
        for (Vmod_Node *note : notes) {
            double halfWidth = 0, halfHeight = 0;
            HalfExtent(model, note, view, halfWidth, halfHeight);
            placed.push_back({note, left + halfWidth, rowTop + halfHeight});
            left += 2 * halfWidth + kNoteGap;
        }
        for (const Placed &place : placed) {
            place.node->x = place.x;
            place.node->y = place.y;
        }
        return 1;
    });
#endif
}

} // extern "C"
