/*
 * The SVG document of an annotation layer.
 *
 * Design of the output. One user unit is one unit of the layer's map information
 * (inches for the model library's layers); the root <svg> has `width` and `height` in
 * that unit and a viewBox over the map extent. The layer's y grows upward and SVG's
 * downward, so every y is written negated: the picture stands upright and text needs no
 * counter-transform. Each style of the library becomes a CSS class in one <style>
 * element (`color-N`, `line-N`, `fill-N`, `text-N` with N the identifier in the
 * library, the style's name in a comment); an element names its style by class. The
 * element tree follows the layer's root element: a group is a <g>, a rectangle a
 * <rect>, an ellipse an <ellipse>, a polyline a <polyline>, a polygon a <polygon>, text a
 * <text>; every element keeps its name as `data-name`. Text sizes are converted from
 * their unit into user units, and the size in points is kept as `data-font-size`. The
 * viewer draws text in a standard face, not the style's outline font, which is cut
 * larger: the font-size is the element's size divided by that font's scale, so that a
 * 12-point note's element of 11.64 points (sans) shows at 12 points.
 * Numbers are written with up to 10 significant digits in the same way in every locale.
 * Texts are escaped for XML; bytes that are not UTF-8 are taken as Latin-1, and control
 * characters that XML does not allow become U+FFFD, so the document is always
 * well-formed.
 */
#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>

#include "oant_internal.h"
#include "oant_number.h"

namespace anno {
namespace {

// Inches per unit; unknown units count as inches.
double inchesPer(const std::string &unit) {
    if (unit == "points")
        return 1.0 / 72.0;
    if (unit == "centimeters")
        return 1.0 / 2.54;
    if (unit == "millimeters")
        return 1.0 / 25.4;
    if (unit == "feet")
        return 12.0;
    return 1.0;
}

const char *svgUnit(const std::string &unit) {
    if (unit == "points")
        return "pt";
    if (unit == "centimeters")
        return "cm";
    if (unit == "millimeters")
        return "mm";
    if (unit == "inches" || unit.empty())
        return "in";
    return "";
}

void appendNum(std::string &out, double value) {
    if (!std::isfinite(value) || value == 0)
        value = 0; // no "-0", "inf" or "nan"
    appendNumber(out, value);
}

std::string num(double value) {
    std::string text;
    appendNum(text, value);
    return text;
}

// Length of the valid UTF-8 sequence at s (n bytes left), or 0.
size_t utf8Length(const unsigned char *s, size_t n) {
    if (s[0] < 0x80)
        return 1;
    size_t len = s[0] >= 0xF0 && s[0] <= 0xF4 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC2 && s[0] < 0xE0 ? 2 : 0;
    if (len == 0 || len > n)
        return 0;
    for (size_t k = 1; k < len; ++k)
        if ((s[k] & 0xC0) != 0x80)
            return 0;
    unsigned cp = len == 2 ? (s[0] & 0x1Fu) : len == 3 ? (s[0] & 0x0Fu) : (s[0] & 0x07u);
    for (size_t k = 1; k < len; ++k)
        cp = cp << 6 | (s[k] & 0x3Fu);
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    if (cp == 0xFFFE || cp == 0xFFFF)
        return 0;
    return len;
}

// In an attribute, line breaks and tabs are written as references so that they survive
// attribute normalisation; in content they stay as they are.
void appendEscaped(std::string &out, const std::string &text, bool attribute = true) {
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    size_t n = text.size();
    // Most names and labels are plain printable ASCII, written as they are.
    size_t plain = 0;
    while (plain < n && s[plain] >= 0x20 && s[plain] < 0x80 && s[plain] != '&' && s[plain] != '<' &&
           s[plain] != '>' && s[plain] != '"')
        ++plain;
    out.append(text, 0, plain);
    for (size_t k = plain; k < n;) {
        unsigned char c = s[k];
        size_t len = utf8Length(s + k, n - k);
        if (len > 1) {
            out.append(text, k, len);
            k += len;
            continue;
        }
        ++k;
        if (len == 0) { // a Latin-1 byte
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            out += "\xEF\xBF\xBD";
        } else if (attribute && (c == '\n' || c == '\r' || c == '\t')) {
            out += "&#" + std::to_string(c) + ";";
        } else {
            out += static_cast<char>(c);
        }
    }
}

std::string escaped(const std::string &text, bool attribute = true) {
    std::string out;
    appendEscaped(out, text, attribute);
    return out;
}

// CSS comments must not end early.
std::string commentSafe(const std::string &name) {
    std::string out;
    for (char c : name)
        out += (c == '/' && !out.empty() && out.back() == '*') ? std::string(" /") : std::string(1, c);
    return out;
}

struct Writer {
    const Oant_StyleLibrary &library;
    const Oant_Elements &elements;
    double unitInches; // inches per user unit
    SvgWrite write;
    void *context;
    std::string out; // written out in pieces of about this size
    static constexpr size_t pieceSize = 1 << 16;
    size_t depth = 0;
    bool ok = true;

    void flush(size_t atLeast) {
        if (ok && out.size() >= atLeast && !out.empty()) {
            ok = write(context, out);
            out.clear();
        }
    }

    std::string rgb(int colour) const {
        if (colour < 0 || static_cast<size_t>(colour) >= library.colours.size())
            return "rgb(0,0,0)";
        const Oant_Color &c = *library.colours[colour];
        auto clamp = [](int v) { return std::to_string(v < 0 ? 0 : v > 255 ? 255 : v); };
        return "rgb(" + clamp(c.r) + "," + clamp(c.g) + "," + clamp(c.b) + ")";
    }
    bool hasLine(int id) const { return id >= 0 && static_cast<size_t>(id) < library.lines.size(); }
    bool hasFill(int id) const { return id >= 0 && static_cast<size_t>(id) < library.fills.size(); }
    bool hasText(int id) const { return id >= 0 && static_cast<size_t>(id) < library.texts.size(); }

    std::string strokeOf(int line) const {
        if (!hasLine(line))
            return "stroke: none;";
        const Oant_LineStyle &l = *library.lines[line];
        return "stroke: " + rgb(l.colour) + "; stroke-width: " + num(l.width * inchesPer(l.widthUnit) / unitInches) +
               ";";
    }

    void styles() {
        std::string css;
        for (size_t k = 0; k < library.colours.size(); ++k)
            css += "  .color-" + std::to_string(k) + " { color: " + rgb(static_cast<int>(k)) + "; } /* " +
                   commentSafe(library.colours[k]->name) + " */\n";
        for (size_t k = 0; k < library.lines.size(); ++k)
            css += "  .line-" + std::to_string(k) + " { fill: none; " + strokeOf(static_cast<int>(k)) +
                   " stroke-linejoin: round; } /* " + commentSafe(library.lines[k]->name) + " */\n";
        for (size_t k = 0; k < library.fills.size(); ++k) {
            const Oant_FillStyle &f = *library.fills[k];
            css += "  .fill-" + std::to_string(k) + " { fill: " + (f.filled ? rgb(f.colour) : std::string("none")) +
                   "; " + (f.outlined ? strokeOf(f.line) : std::string("stroke: none;")) + " } /* " +
                   commentSafe(f.name) + " */\n";
        }
        for (size_t k = 0; k < library.texts.size(); ++k) {
            const Oant_TextStyle &t = *library.texts[k];
            FontFace face = fontFace(t.font);
            std::string fill = hasFill(t.fill) && library.fills[t.fill]->filled ? rgb(library.fills[t.fill]->colour)
                                                                                 : std::string("rgb(0,0,0)");
            css += "  .text-" + std::to_string(k) + " { font-family: " + face.family + "; font-weight: " +
                   (face.bold ? "bold" : "normal") + "; font-style: " +
                   (face.italic ? "italic" : t.slant != 0 ? "oblique" : "normal") + "; text-decoration: " +
                   (t.underline ? "underline" : "none") + "; fill: " + fill + "; } /* " +
                   commentSafe(t.name.empty() ? t.font : t.name) + " */\n";
        }
        out += "<style>\n" + escaped(css, false) + "</style>\n";
    }

    double pos(double value, const std::string &unit) const { return value * inchesPer(unit) / unitInches; }

    void open(const char *tag, const anno::ElementData &d) {
        out.append(depth * 2 + 2, ' ');
        out += '<';
        out += tag;
        out += " data-name=\"";
        appendEscaped(out, d.name);
        out += '"';
    }

    void pointList(const anno::ElementData &d) {
        const double perUnit = inchesPer(d.positionUnit); // as pos() finds it
        bool first = true;
        for (const auto &p : d.points) {
            if (!first)
                out += ' ';
            first = false;
            appendNum(out, p.first * perUnit / unitInches);
            out += ',';
            appendNum(out, -(p.second * perUnit / unitInches));
        }
    }

    // The default stroke of a shape or line without a style.
    void defaultStroke() {
        out += " fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"";
        appendNum(out, 0.01 / unitInches);
        out += '"';
    }

    void styleClass(const char *kind, int id) {
        out += " class=\"";
        out += kind;
        out += std::to_string(id);
        out += '"';
    }

    void shapeClass(int fill) {
        if (hasFill(fill))
            styleClass("fill-", fill);
        else
            defaultStroke();
    }

    // name="number" with a space before it.
    void attribute(const char *name, double value) {
        out += ' ';
        out += name;
        out += "=\"";
        appendNum(out, value);
        out += '"';
    }

    void text(const anno::ElementData &d) {
        static const char *anchors[] = {"start", "middle", "end"};
        double x = pos(d.x, d.positionUnit), y = -pos(d.y, d.positionUnit);
        double points = d.size * inchesPer(d.sizeUnit) * 72.0;
        double scale = hasText(d.style) ? fontFace(library.texts[d.style]->font).scale : 1.0;
        open("text", d);
        if (hasText(d.style))
            styleClass("text-", d.style);
        attribute("x", x);
        attribute("y", y);
        attribute("font-size", std::fabs(points) / scale / 72.0 / unitInches);
        out += " data-font-size=\"";
        appendNum(out, points);
        out += "pt\" text-anchor=\"";
        out += anchors[d.halign >= 0 && d.halign <= 2 ? d.halign : 0];
        out += '"';
        if (d.valign == 0)
            out += " dominant-baseline=\"central\"";
        else if (d.valign == 1)
            out += " dominant-baseline=\"hanging\"";
        out += ">";
        // Lines of a text become tspans stacked around its position.
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t k = 0; k <= d.text.size(); ++k) {
            if (k == d.text.size() || d.text[k] == '\n') {
                std::string line = d.text.substr(start, k - start);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                lines.push_back(line);
                start = k + 1;
            }
        }
        if (lines.size() == 1) {
            appendEscaped(out, lines[0]);
        } else {
            double first = d.valign == 0 ? -0.6 * (lines.size() - 1) : d.valign == 2 ? -1.2 * (lines.size() - 1) : 0;
            for (size_t k = 0; k < lines.size(); ++k) {
                out += "<tspan";
                attribute("x", x);
                out += " dy=\"";
                appendNum(out, k == 0 ? first : 1.2);
                out += "em\">";
                appendEscaped(out, lines[k]);
                out += "</tspan>";
            }
        }
        out += "</text>\n";
    }

    // The contents of the elements being written, one for each depth of the tree, kept
    // so that their strings and lists are reused from element to element.
    std::deque<anno::ElementData> loaded{};

    void element(const Oant_Element *e) {
        if (loaded.size() <= depth)
            loaded.resize(depth + 1);
        anno::ElementData &d = loaded[depth];
        if (!ok || !loadElement(elements, e, d)) {
            ok = false;
            return;
        }
        switch (d.kind) {
        case anno::ElementKind::Group:
            if (depth > 1000) // deeper than any drawing; keeps the stack bounded
                break;
            open("g", d);
            out += ">\n";
            // Groups nest at most as deep as they were made, each after its members.
            ++depth;
            for (const Oant_Element *m : d.members) {
                element(m);
                flush(pieceSize);
            }
            --depth;
            out.append(depth * 2 + 2, ' ');
            out += "</g>\n";
            break;
        case anno::ElementKind::Rectangle: {
            double w = pos(d.w, d.sizeUnit), h = pos(d.h, d.sizeUnit);
            open("rect", d);
            shapeClass(d.style);
            attribute("x", pos(d.x, d.positionUnit) - std::fabs(w) / 2);
            attribute("y", -pos(d.y, d.positionUnit) - std::fabs(h) / 2);
            attribute("width", std::fabs(w));
            attribute("height", std::fabs(h));
            out += "/>\n";
            break;
        }
        case anno::ElementKind::Ellipse:
            open("ellipse", d);
            shapeClass(d.style);
            attribute("cx", pos(d.x, d.positionUnit));
            attribute("cy", -pos(d.y, d.positionUnit));
            attribute("rx", std::fabs(pos(d.w, d.sizeUnit)));
            attribute("ry", std::fabs(pos(d.h, d.sizeUnit)));
            out += "/>\n";
            break;
        case anno::ElementKind::Polyline:
        case anno::ElementKind::Polygon:
            if (d.kind == anno::ElementKind::Polyline) {
                open("polyline", d);
                if (hasLine(d.style))
                    styleClass("line-", d.style);
                else
                    defaultStroke();
            } else {
                open("polygon", d);
                shapeClass(d.style);
            }
            out += " points=\"";
            pointList(d);
            out += "\"/>\n";
            break;
        case anno::ElementKind::Text:
            text(d);
            break;
        }
    }
};

} // namespace

bool layerSvg(const Oant_StyleLibrary &library, const Oant_Elements &elements, const Oant_Element *root,
              const Oprj_MapInfo *mapInfo, SvgWrite write, void *context) {
    std::string unit = mapInfo && mapInfo->unitName ? mapInfo->unitName : "inches";
    Writer w{library, elements, inchesPer(unit), write, context, {}};
    // The extent: the map information, else the bounding box, else one unit square.
    double left = 0, top = 0, width = 1, height = 1;
    if (mapInfo && mapInfo->lowerRightX > mapInfo->upperLeftX && mapInfo->upperLeftY > mapInfo->lowerRightY &&
        std::isfinite(mapInfo->lowerRightX - mapInfo->upperLeftX) &&
        std::isfinite(mapInfo->upperLeftY - mapInfo->lowerRightY)) {
        left = mapInfo->upperLeftX;
        top = -mapInfo->upperLeftY;
        width = mapInfo->lowerRightX - mapInfo->upperLeftX;
        height = mapInfo->upperLeftY - mapInfo->lowerRightY;
    } else if (elements.hasBox && elements.box.xmax > elements.box.xmin && elements.box.ymax > elements.box.ymin &&
               std::isfinite(elements.box.xmax - elements.box.xmin) &&
               std::isfinite(elements.box.ymax - elements.box.ymin)) {
        unit = "inches";
        w.unitInches = 1;
        left = elements.box.xmin;
        top = -elements.box.ymax;
        width = elements.box.xmax - elements.box.xmin;
        height = elements.box.ymax - elements.box.ymin;
    }
    const char *suffix = svgUnit(unit);
    w.out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
            num(width) + suffix + "\" height=\"" + num(height) + suffix + "\" viewBox=\"" + num(left) + " " + num(top) +
            " " + num(width) + " " + num(height) + "\">\n";
    w.styles();
    if (root)
        w.element(root);
    w.out += "</svg>\n";
    w.flush(0);
    return w.ok;
}

} // namespace anno
