// Geometry through a view: node and model boxes, arrow polygons and hit testing.
#include <algorithm>
#include <cmath>

#include "glyph/glyph_geometry.h"
#include "kit_guard.h"
#include "model_picture.h"
#include "node_measure.h"
#include "view_on_model.h"
#include "vmodkit/vmodkit_view.h"

namespace {

struct PolygonPoint {
    double x, y;
};

// The arrow's polygon in the order vmodkit_ArrowPolygon gives it; false when not drawn.
bool ArrowPoints(const Vmod_Node &from, const Vmod_Node &to, PolygonPoint points[VMODKIT_ARROW_POINTS]) {
    namespace g = vmod::glyph;
    g::ArrowEnds ends = g::ArrowEndPoints(from.type, from.x, from.y, to.type, to.x, to.y);
    if (!ends.drawable) return false;
    g::Point head[4]; // back left, notch, back right, tip
    g::ArrowHead(ends, head);
    points[0] = {ends.x1, ends.y1};
    points[1] = {head[1].x, head[1].y};
    points[2] = {head[0].x, head[0].y};
    points[3] = {head[3].x, head[3].y};
    points[4] = {head[2].x, head[2].y};
    points[5] = {head[1].x, head[1].y};
    return true;
}

double SegmentDistance(double x, double y, const PolygonPoint &a, const PolygonPoint &b) {
    const double dx = b.x - a.x, dy = b.y - a.y, lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / lengthSquared : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

// Even-odd rule.
bool Inside(double x, double y, const PolygonPoint *points, int count) {
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const PolygonPoint &a = points[i], &b = points[j];
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
    }
    return inside;
}

// How far (x, y) lies from the drawn arrow: its line or its head.
double ArrowDistance(double x, double y, const PolygonPoint points[VMODKIT_ARROW_POINTS]) {
    if (Inside(x, y, points + 1, 4)) return 0.0;
    double nearest = SegmentDistance(x, y, points[0], points[3]);
    for (int i = 1; i < 5; ++i) nearest = std::min(nearest, SegmentDistance(x, y, points[i], points[i + 1]));
    return nearest;
}

void Grow(Vmodkit_Box *box, const Vmodkit_Box &more, bool *first) {
    if (*first) {
        *box = more;
        *first = false;
        return;
    }
    box->left = std::min(box->left, more.left);
    box->top = std::min(box->top, more.top);
    box->right = std::max(box->right, more.right);
    box->bottom = std::max(box->bottom, more.bottom);
}

bool Holds(const Vmodkit_Box &box, double x, double y) {
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

} // namespace

extern "C" {

int32_t vmodkit_NodeBox(const Vmod_Model *model, const Vmod_Node *node, const Vmodkit_View *view, Vmodkit_Box *box) {
    if (!model || !node || !box || vmodkit::ViewProblem(view)) return 0;
    return kit_Guarded("vmodkit_NodeBox", nullptr, int32_t{0}, [&] {
        vmodkit::Measurer measure(*model, *view);
        return vmodkit::NodeBoxOf(*node, measure, box) ? int32_t{1} : int32_t{0};
    });
}

size_t vmodkit_NodeBoxes(const Vmod_Model *model, const Vmod_Node *const *nodes, size_t count,
                         const Vmodkit_View *view, Vmodkit_Box *boxes, int32_t *found) {
    if (!model || !nodes || !boxes || !found || vmodkit::ViewProblem(view)) return 0;
    return kit_Guarded("vmodkit_NodeBoxes", nullptr, size_t{0}, [&] {
        // One measurer: its canvas keeps the fonts it has looked up.
        vmodkit::Measurer measure(*model, *view);
        size_t boxed = 0;
        for (size_t i = 0; i < count; ++i) {
            found[i] = nodes[i] != nullptr && vmodkit::NodeBoxOf(*nodes[i], measure, &boxes[i]) ? 1 : 0;
            boxed += static_cast<size_t>(found[i]);
        }
        return boxed;
    });
}

int32_t vmodkit_ModelBox(const Vmod_Model *model, const Vmodkit_View *view, Vmodkit_Box *box) {
    if (!model || !box || vmodkit::ViewProblem(view)) return 0;
    return kit_Guarded("vmodkit_ModelBox", nullptr, int32_t{0}, [&] {
        vmodkit::Measurer measure(*model, *view);
        bool first = true;
        Vmodkit_Box result{};
        for (const Vmod_Node *node = model->nodes; node; node = node->next) {
            Vmodkit_Box one{};
            if (vmodkit::NodeBoxOf(*node, measure, &one)) Grow(&result, one, &first);
        }
        vmodkit::ForEachArrow(*model, [&](const Vmod_Node &from, const Vmod_Link &, const Vmod_Node &to) {
            PolygonPoint points[VMODKIT_ARROW_POINTS];
            if (!ArrowPoints(from, to, points)) return;
            for (const PolygonPoint &p : points) Grow(&result, Vmodkit_Box{p.x, p.y, p.x, p.y}, &first);
        });
        if (first) return int32_t{0};
        *box = result;
        return int32_t{1};
    });
}

int32_t vmodkit_ArrowPolygon(const Vmod_Node *from, const Vmod_Node *to, double *points) {
    if (!from || !to || !points) return 0;
    PolygonPoint polygon[VMODKIT_ARROW_POINTS];
    if (!ArrowPoints(*from, *to, polygon)) return 0;
    for (int i = 0; i < VMODKIT_ARROW_POINTS; ++i) {
        points[2 * i] = polygon[i].x;
        points[2 * i + 1] = polygon[i].y;
    }
    return 1;
}

int32_t vmodkit_HitTest(const Vmod_Model *model, const Vmodkit_View *view, double x, double y, double tolerance,
                        Vmodkit_Hit *hit) {
    if (hit) *hit = Vmodkit_Hit{};
    if (!model || !hit || vmodkit::ViewProblem(view) || !std::isfinite(x) || !std::isfinite(y) ||
        !(tolerance >= 0))
        return 0;
    return kit_Guarded("vmodkit_HitTest", nullptr, int32_t{0}, [&] {
        vmodkit::Measurer measure(*model, *view);
        // Nodes are drawn over arrows, later nodes over earlier ones.
        for (const Vmod_Node *node = model->nodes; node; node = node->next) {
            Vmodkit_Box box{};
            if (vmodkit::NodeBoxOf(*node, measure, &box) && Holds(box, x, y)) hit->node = const_cast<Vmod_Node *>(node);
        }
        if (hit->node) return int32_t{1};
        double nearest = tolerance;
        vmodkit::ForEachArrow(*model, [&](const Vmod_Node &from, const Vmod_Link &link, const Vmod_Node &to) {
            PolygonPoint points[VMODKIT_ARROW_POINTS];
            if (!ArrowPoints(from, to, points)) return;
            const double distance = ArrowDistance(x, y, points);
            if (!(distance <= nearest)) return;
            nearest = distance;
            // The model is the caller's to change; the kit only looks.
            hit->arrowFrom = const_cast<Vmod_Node *>(&from);
            hit->arrow = const_cast<Vmod_Link *>(&link);
            hit->arrowTo = const_cast<Vmod_Node *>(&to);
        });
        return hit->arrow ? int32_t{1} : int32_t{0};
    });
}

} // extern "C"
