// printer_node.cpp - one node on the printer: the printed variants of the glyphs, the
// title under the glyph, the arrows to the node's children and the text of text nodes.
//
// Device positions come from the left edge L and centre CY of the node's one-inch box
// and from WX (one inch across) and HY (half an inch down) in whole pixels; each fraction
// of WX or HY is truncated on its own, so a glyph lands on the same pixels at any offset.
#include <cmath>
#include <cstring>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/node_index.h"
#include "model/note_text.h"
#include "print/printer_state.h"
#include "glyph/truncation.h"
#include "glyph/glyph_geometry.h"
#include "vmod/vmod.h"

namespace vmod::print {

namespace {

using vmod::TruncateToInt32;

int32_t T(double value) { return TruncateToInt32(value); }

struct Box {
    int32_t L, CY, WX, HY;
};

void Line(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, right, top);
    LineTo(dc, right, bottom);
    LineTo(dc, left, bottom);
    LineTo(dc, left, top);
}

void BoxOutline(HDC dc, const Box &b) { Rectangle(dc, b.L, b.CY - b.HY, b.L + b.WX, b.CY + b.HY); }

void Raster(const PrinterState &s, const Box &b) {
    const int32_t halfInch = T(0.5 * s.printerScaleX);
    for (const glyph::RasterPolyline &line : glyph::RasterPolylines()) {
        POINT points[glyph::kRasterPolylineCount];
        int32_t count = 0;
        const int32_t offset = T(line.offsetY * s.printerScaleY);
        for (const glyph::Point &p : line.points) {
            if (count == glyph::kRasterPolylineCount) break;
            points[count++] = POINT{T(s.printerScaleX * p.x + halfInch + b.L), T(s.printerScaleY * p.y + offset + b.CY)};
        }
        Polyline(s.dc, points, count);
    }
}

// The vector glyph: box, two strokes and two plus marks 0.2 inch across.
void Vector(const PrinterState &s, const Box &b) {
    HDC dc = s.dc;
    auto X = [&](double fraction) { return b.L + T(fraction * b.WX); }; // fraction of the box from the left
    auto Y = [&](double halves) { return b.CY + T(halves * b.HY); };    // half inches below the centre
    BoxOutline(dc, b);
    Line(dc, X(0), Y(0.5), X(0.5), Y(-1));
    Line(dc, X(0.25), Y(-0.25), X(1), Y(0.25));
    // plus mark at (0.25, -0.25) inch
    Line(dc, X(0.75), Y(-0.7), X(0.75), Y(-0.3));
    Line(dc, X(0.65), Y(-0.5), X(0.85), Y(-0.5));
    // plus mark at (-0.25, 0.25) inch
    Line(dc, X(0.25), Y(0.3), X(0.25), Y(0.7));
    Line(dc, X(0.15), Y(0.5), X(0.35), Y(0.5));
}

void Matrix(const PrinterState &s, const Box &b) {
    BoxOutline(s.dc, b);
    const int32_t rowLine = b.CY - T(0.6 * b.HY);
    Line(s.dc, b.L, rowLine, b.L + b.WX, rowLine);
    const int32_t columnLine = b.L + b.WX / 5;
    Line(s.dc, columnLine, b.CY - b.HY, columnLine, b.CY + b.HY);
}

void Table(const PrinterState &s, const Box &b) {
    BoxOutline(s.dc, b);
    const int32_t rowLine = b.CY - T(0.6 * b.HY);
    Line(s.dc, b.L, rowLine, b.L + b.WX, rowLine);
    const int32_t columnLine = T(b.L + 0.8 * b.HY);
    Line(s.dc, columnLine, b.CY - b.HY, columnLine, b.CY + b.HY);
}

void Scalar(const PrinterState &s, const Box &b) {
    const int32_t half = T(0.4 * s.printerScaleY);
    Rectangle(s.dc, b.L, b.CY - half, b.L + b.WX, b.CY + half);
}

void Ellipse(const PrinterState &s, const Box &b) {
    // Start and end at the same point: the full ellipse.
    Arc(s.dc, b.L, b.CY - b.HY, b.L + b.WX, b.CY + b.HY, b.L, b.CY, b.L, b.CY);
}

void Criteria(const PrinterState &s, const Box &b) {
    Ellipse(s, b);
    const int32_t iL = b.L + T(b.WX / 5.0);
    const int32_t iT = b.CY - b.HY - T(-0.4 * b.HY);
    const int32_t iW = T(0.4 * b.WX);
    const int32_t iH = T(0.8 * b.HY);
    for (int i = 1; i <= 3; ++i) {
        const int32_t y = T(iT + i * iH / 4.0);
        Line(s.dc, iL, y, iL + iW, y);
        const int32_t x = T(iL + i * iW / 4.0);
        Line(s.dc, x, iT, x, iT + iH);
    }
}

void Title(const PrinterState &s, const Vmod_Node &node) {
    const bool titled = node.title != nullptr;
    const char *text = titled ? node.title : "?";
    const double drop = glyph::PrintedTitleDrop(node.type, titled);
    TextOutA(s.dc, s.DeviceX(node.x), s.DeviceY(node.y + drop), text, static_cast<int32_t>(std::strlen(text)));
}

// Head corner offsets in inches, before the half scale: the back corners 0.25 behind the
// tip and 0.08 to either side, the notch 0.192 behind it.
void Arrow(const PrinterState &s, double x1, double y1, double x2, double y2) {
    const int32_t X1 = s.DeviceX(x1), Y1 = s.DeviceY(y1), X2 = s.DeviceX(x2), Y2 = s.DeviceY(y2);
    Line(s.dc, X1, Y1, X2, Y2);

    double u[4], v[4];
    if (X1 != X2) {
        double a = std::atan((y2 - y1) / (x2 - x1)) + (X1 > X2 ? M_PI / 2 : -M_PI / 2);
        double sn = std::sin(a), c = std::cos(a);
        const double corners[4][2] = {{-0.08 * c + 0.25 * sn, -0.08 * sn - 0.25 * c},
                                      {0.016 * c + 0.192 * sn, 0.016 * sn - 0.192 * c},
                                      {0.08 * c + 0.25 * sn, 0.08 * sn - 0.25 * c},
                                      {0.016 * c - 0.016 * sn, 0.016 * sn + 0.016 * c}};
        for (int i = 0; i < 4; ++i) {
            u[i] = corners[i][0];
            v[i] = corners[i][1];
        }
    } else if (Y2 > Y1) {
        const double down[4][2] = {{-0.08, -0.25}, {0, -0.192}, {0.08, -0.25}, {0, 0}};
        for (int i = 0; i < 4; ++i) u[i] = down[i][0], v[i] = down[i][1];
    } else {
        const double up[4][2] = {{0.08, 0.25}, {0, 0.192}, {-0.08, 0.25}, {0, 0}};
        for (int i = 0; i < 4; ++i) u[i] = up[i][0], v[i] = up[i][1];
    }
    POINT head[5];
    for (int i = 0; i < 4; ++i)
        head[i] = POINT{X2 + T(0.5 * s.printerScaleX * u[i]), Y2 + T(0.5 * s.printerScaleY * v[i])};
    head[4] = head[0];
    HGDIOBJ previous = SelectObject(s.dc, GetStockObject(BLACK_BRUSH));
    Polygon(s.dc, head, 5);
    if (previous) SelectObject(s.dc, previous);
}

void Arrows(const PrinterState &s, const Vmod_Model &model, const Vmod_Node &node) {
    auto draw = [&s, &node](const Vmod_Node *child) {
        glyph::ArrowEnds ends = glyph::ArrowEndPoints(node.type, node.x, node.y, child->type, child->x, child->y);
        // Two nodes at one centre give the arrow no direction: it is not drawn.
        if (ends.drawable) Arrow(s, ends.x1, ends.y1, ends.x2, ends.y2);
    };
    for (const Vmod_Link *link = node.children; link; link = link->next) {
        if (s.index) {
            for (const Vmod_Node *child : s.index->nodesWithId(link->id)) draw(child);
            continue;
        }
        for (const Vmod_Node *child = model.nodes; child; child = child->next)
            if (child->id == link->id) draw(child);
    }
}

struct TextFace {
    const char *face;
    uint32_t family;
};

TextFace FaceOf(const char *font) {
    // Face names are matched in any case, as users type them; a null font matches none.
    using vmod::note::FontIs;
    if (FontIs(font, "charter") || FontIs(font, "helvetica")) return {"Arial", FF_SWISS};
    if (FontIs(font, "new century schoolbook") || FontIs(font, "times")) return {"Times New Roman", FF_ROMAN};
    if (FontIs(font, "symbol")) return {"Symbol", FF_DECORATIVE};
    return {"Courier New", FF_MODERN};
}

void Text(const PrinterState &s, const Vmod_Node &node) {
    const auto *data = static_cast<const Vmod_TextData *>(node.data);
    const int32_t size = vmod::note::SizeOf(data);
    const int32_t style = data ? data->style : 0;
    const bool styled = style >= 1 && style <= 7;
    const TextFace face = FaceOf(data ? data->font : nullptr);
    const int32_t points = T(size * s.printScale * 0.01);
    const int32_t height = -T(static_cast<double>(s.fontResolution) * points / 72 + 0.5);
    HFONT font = CreateFontA(height, 0, 0, 0, styled && (style & VMOD_STYLE_BOLD) ? FW_BOLD : FW_NORMAL,
                             styled && (style & VMOD_STYLE_ITALIC), styled && (style & VMOD_STYLE_UNDERLINE), 0,
                             ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, face.family, face.face);
    HGDIOBJ previous = font ? SelectObject(s.dc, font) : nullptr;
    char *text = ostr_Duplicate(node.title ? node.title : "?");
    if (text) {
        // The printer shows no line break: each line is written on its own, hanging from
        // the node one line below the other, a line being 8/7 of the font's height as in
        // the PostScript output.
        const double advance = -static_cast<double>(height) * 8.0 / 7.0;
        const std::vector<std::string_view> lines = vmod::note::LinesOf(text);
        for (std::size_t i = 0; i < lines.size(); ++i)
            TextOutA(s.dc, s.DeviceX(node.x), T(s.DeviceY(node.y) + static_cast<double>(i) * advance),
                     lines[i].data(), static_cast<int32_t>(lines[i].size()));
    }
    omsc_HeapFree(text);
    if (font) {
        if (previous) SelectObject(s.dc, previous);
        DeleteObject(font);
    }
}

} // namespace

int32_t PrinterState::DeviceX(double x) const { return T(x * printerScaleX - pageOriginX); }
int32_t PrinterState::DeviceY(double y) const { return T(y * printerScaleY - pageOriginY); }

void PrintNode(const PrinterState &s, const Vmod_Model &model, const Vmod_Node &node) {
    if (node.type == VMOD_TEXT) {
        Text(s, node);
        return;
    }
    const Box box{T((node.x - 0.5) * s.printerScaleX - s.pageOriginX), s.DeviceY(node.y), T(s.printerScaleX),
                  T(0.5 * s.printerScaleY)};
    switch (node.type) {
    case VMOD_RASTER: Raster(s, box); break;
    case VMOD_VECTOR: Vector(s, box); break;
    case VMOD_MATRIX: Matrix(s, box); break;
    case VMOD_TABLE: Table(s, box); break;
    case VMOD_SCALAR: Scalar(s, box); break;
    case VMOD_FUNCTION: Ellipse(s, box); break;
    case VMOD_CRITERIA: Criteria(s, box); break;
    default: break; // an unknown kind has no glyph, but still its title and arrows
    }
    Title(s, node);
    Arrows(s, model, node);
}

} // namespace vmod::print
