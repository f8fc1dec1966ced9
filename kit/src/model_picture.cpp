// A whole model drawn as the editor draws it, and the frame of its picture.
#include "model_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "glyph/glyph_geometry.h"
#include "glyph/truncation.h"
#include "model/node_index.h"
#include "node_measure.h"
#include "render/render_sequence.h"
#include "vmod/vmod.h"
#include "vmodhost/ooml.h"

namespace vmodkit {

using vmod::TruncateToInt32;
using vmod::render::ErrorSlot;

namespace {

constexpr double kMarginInches = 1.0;
// Pixels kept free around a note's text (its underline lies two pixels below it).
constexpr double kTextPaddingPixels = 8.0;

// The box of the node centres and the room kept around it on each side, in inches.
struct PaperBox {
    double minX, maxX, minY, maxY;
    double left, right, top, bottom;
    // Grows the room so that the box holds the area x0..x1, y0..y1.
    void Hold(double x0, double x1, double y0, double y1) {
        left = std::max(left, minX - x0);
        right = std::max(right, x1 - maxX);
        top = std::max(top, minY - y0);
        bottom = std::max(bottom, y1 - maxY);
    }
};

// Grows box to hold every note's text as the text renderer will draw it, around its
// bottom centre. Without a measuring canvas the notes count by their centres only.
void AddNoteText(const Vmod_Model &model, const Vmodkit_View &view, PaperBox *box) {
    Measurer measure(model, view);
    const double perInch = measure.PerInch();
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        NoteMeasure note{};
        if (node->type != VMOD_TEXT || !measure.Note(*node, &note)) continue;
        const double halfWidth = note.extentWidth / 2.0 / perInch, height = note.extentHeight / perInch;
        const double x = node->x, bottom = node->y + note.height / 2;
        // Room for the underline two pixels below and a little more.
        const double pad = kTextPaddingPixels / perInch;
        if (std::isfinite(bottom)) box->Hold(x - halfWidth - pad, x + halfWidth + pad, bottom - height - pad, bottom + pad);
    }
}

void DrawArrow(Vmod_Model *model, const Vmod_Node &from, const Vmod_Node &to) {
    vmod::glyph::ArrowEnds ends = vmod::glyph::ArrowEndPoints(from.type, from.x, from.y, to.type, to.x, to.y);
    if (!ends.drawable) return;
    ErrorSlot err;
    std::int32_t x1, y1, x2, y2;
    vmod_PaperToScreen(model, ends.x1, ends.y1, &x1, &y1);
    vmod_PaperToScreen(model, ends.x2, ends.y2, &x2, &y2);
    ooml_CanvasDrawLine(model->canvas, 0, 0, x1, y1, x2, y2, err.Fresh());
    vmod::glyph::Point head[4];
    vmod::glyph::ArrowHead(ends, head);
    std::int32_t pixels[8];
    for (int i = 0; i < 4; ++i) vmod_PaperToScreen(model, head[i].x, head[i].y, &pixels[2 * i], &pixels[2 * i + 1]);
    FillPolygon(model->canvas, pixels, 4);
    // The outline too, so that a small head keeps its tip and corners.
    std::int32_t outline[10];
    std::copy(pixels, pixels + 8, outline);
    outline[8] = pixels[0];
    outline[9] = pixels[1];
    ooml_CanvasDrawPolyline(model->canvas, 0, 0, outline, 5, err.Fresh());
}

// False when there is no memory for the index.
bool TryIndex(const Vmod_Node *first, ModelNodeIndex *index) {
    try {
        *index = ModelNodeIndex(first);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

void ForEachArrow(const Vmod_Model &model,
                  const std::function<void(const Vmod_Node &, const Vmod_Link &, const Vmod_Node &)> &visit) {
    // The index finds the nodes carrying a link's identifier without walking the list per
    // link (and without memory for it, the walk does).
    ModelNodeIndex index;
    const bool indexed = TryIndex(model.nodes, &index);
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        if (node->type == VMOD_TEXT) continue;
        for (const Vmod_Link *link = node->children; link; link = link->next) {
            if (indexed) {
                for (const Vmod_Node *child : index.nodesWithId(link->id)) visit(*node, *link, *child);
                continue;
            }
            for (const Vmod_Node *child = model.nodes; child; child = child->next)
                if (child->id == link->id) visit(*node, *link, *child);
        }
    }
}

void FillPolygon(Ooml_Canvas *canvas, const std::int32_t *points, int count) {
    if (count < 3) return;
    std::int32_t top = points[1], bottom = points[1];
    for (int i = 1; i < count; ++i) {
        top = std::min(top, points[2 * i + 1]);
        bottom = std::max(bottom, points[2 * i + 1]);
    }
    // Rows no canvas can show are skipped, so that absurd coordinates cost nothing.
    top = std::max(top, -1);
    bottom = std::min(bottom, VMODKIT_PICTURE_MAX_SIDE);
    ErrorSlot err;
    std::vector<double> crossings;
    for (std::int64_t y = top; y <= bottom; ++y) {
        double scan = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            double x1 = points[2 * i], y1 = points[2 * i + 1];
            double x2 = points[2 * ((i + 1) % count)], y2 = points[2 * ((i + 1) % count) + 1];
            if ((y1 <= scan) == (y2 <= scan)) continue;
            crossings.push_back(x1 + (scan - y1) * (x2 - x1) / (y2 - y1));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            std::int32_t from = TruncateToInt32(std::ceil(crossings[k] - 0.5));
            std::int32_t to = TruncateToInt32(std::floor(crossings[k + 1] - 0.5));
            if (from <= to)
                ooml_CanvasDrawLine(canvas, 0, 0, from, static_cast<std::int32_t>(y), to, static_cast<std::int32_t>(y),
                                    err.Fresh());
        }
    }
}

void DrawArrows(Vmod_Model *model) {
    ForEachArrow(*model, [model](const Vmod_Node &from, const Vmod_Link &, const Vmod_Node &to) {
        DrawArrow(model, from, to);
    });
}

bool FramePicture(const Vmod_Model &model, Vmodkit_View *view, std::int32_t *width, std::int32_t *height,
                  std::string *problem) {
    // The box of the node centres; an empty model is a point at the origin.
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        // Copies: the packed record's doubles may sit off their natural alignment.
        const double x = node->x, y = node->y;
        if (!std::isfinite(x) || !std::isfinite(y)) {
            *problem = "node " + std::to_string(node->id) + " has no finite position";
            return false;
        }
        minX = first ? x : std::min(minX, x);
        maxX = first ? x : std::max(maxX, x);
        minY = first ? y : std::min(minY, y);
        maxY = first ? y : std::max(maxY, y);
        first = false;
    }
    const double perInch = view->pixelsPerInch * view->zoom;

    // The centres with their margin, grown where a note's text reaches further.
    PaperBox box{minX, maxX, minY, maxY, kMarginInches, kMarginInches, kMarginInches, kMarginInches};
    AddNoteText(model, *view, &box);
    double left = (minX - box.left) * perInch, top = (minY - box.top) * perInch;
    double w = std::ceil((maxX - minX + (box.left + box.right)) * perInch) + 1;
    double h = std::ceil((maxY - minY + (box.top + box.bottom)) * perInch) + 1;
    if (!(w <= VMODKIT_PICTURE_MAX_SIDE && h <= VMODKIT_PICTURE_MAX_SIDE) || !(std::fabs(left) < 1e9 && std::fabs(top) < 1e9)) {
        *problem = "the picture would be larger than " + std::to_string(VMODKIT_PICTURE_MAX_SIDE) + " pixels a side";
        return false;
    }
    *width = static_cast<std::int32_t>(w);
    *height = static_cast<std::int32_t>(h);
    view->scrollX = TruncateToInt32(left);
    view->scrollY = TruncateToInt32(top);
    return true;
}

} // namespace vmodkit
