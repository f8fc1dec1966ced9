// Shared by the printing tests: a model on letter paper, scratch files, running the
// PostScript and PDF tools, and looking for ink in the pictures they render.
#ifndef VMOD_TEST_PRINT_SUPPORT_H
#define VMOD_TEST_PRINT_SUPPORT_H

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_model_support.h"

// A model on 8.5 x 11 inch paper with half-inch margins, printed at 100 percent.
struct PrintModel : TestModel {
    PrintModel() {
        model.pageWidth = 8.5;
        model.pageHeight = 11;
        model.printerPageWidth = 8.5;
        model.printerPageHeight = 11;
        for (int i = 0; i < 4; ++i) model.margins[i] = 0.5; // no references: the record packs its doubles
        model.printScale = 100;
    }
    Vmod_Node *at(int32_t kind, int32_t id, double x, double y, const char *title = nullptr) {
        Vmod_Node *node = add(kind, id, title);
        node->x = x;
        node->y = y;
        return node;
    }
    // A text node; font is not owned by the node, so it must outlive the model.
    Vmod_Node *text(int32_t id, double x, double y, const char *title, const char *font, int32_t size,
                    int32_t style) {
        Vmod_Node *node = at(VMOD_TEXT, id, x, y, title);
        auto *data = static_cast<Vmod_TextData *>(node->data);
        data->font = const_cast<char *>(font);
        data->size = size;
        data->style = style;
        return node;
    }
};

// A fresh path in the build tree's scratch folder for printing tests. The name carries
// the running test's, so tests run in parallel never share a file.
inline std::string ScratchPath(const std::string &name) {
    std::filesystem::path dir = std::filesystem::path(VMOD_BINARY_DIR) / "print_scratch";
    std::filesystem::create_directories(dir);
    std::string owner;
    if (const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info())
        owner = std::string(test->test_suite_name()) + "." + test->name() + ".";
    std::filesystem::path path = dir / (owner + name);
    std::filesystem::remove(path);
    return path.string();
}

inline std::string ReadWholeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string SourcePath(const std::string &relative) { return std::string(VMOD_SOURCE_DIR) + "/" + relative; }

struct CommandResult {
    int status = -1;
    std::string output; // standard output and error together
};

inline CommandResult RunCommand(const std::string &command) {
    CommandResult result;
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline bool HaveProgram(const char *name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline std::string Quoted(const std::string &path) { return "'" + path + "'"; }

// A grey picture read from a binary PGM; 0 is black.
struct GreyImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;

    bool Dark(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && pixels[static_cast<size_t>(y) * width + x] < 160;
    }
    // Any dark pixel in the square of half side r around (cx, cy).
    bool InkNear(double cx, double cy, double r) const {
        for (int y = static_cast<int>(std::floor(cy - r)); y <= static_cast<int>(std::ceil(cy + r)); ++y)
            for (int x = static_cast<int>(std::floor(cx - r)); x <= static_cast<int>(std::ceil(cx + r)); ++x)
                if (Dark(x, y)) return true;
        return false;
    }
    int DarkCount() const {
        int n = 0;
        for (uint8_t p : pixels) n += p < 160;
        return n;
    }
};

inline bool ReadPgm(const std::string &path, GreyImage &image) {
    std::ifstream in(path, std::ios::binary);
    // Header fields, skipping the comment lines some writers put between them.
    auto field = [&in]() {
        std::string token;
        while (in >> token && token[0] == '#') std::getline(in, token);
        return token;
    };
    if (field() != "P5") return false;
    image.width = std::atoi(field().c_str());
    image.height = std::atoi(field().c_str());
    int maxValue = std::atoi(field().c_str());
    if (image.width <= 0 || image.height <= 0 || maxValue != 255) return false;
    in.get();
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    in.read(reinterpret_cast<char *>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
    return static_cast<bool>(in);
}

// A region of the picture, in inches on the rendered page, where ink is expected.
struct InkZone {
    // Either a box around a centre, or a band along a segment.
    bool segment = false;
    double x1, y1, x2, y2; // box: left, top, right, bottom; segment: end points
    double halfWidth = 0;

    bool Contains(double x, double y) const {
        if (!segment) return x >= x1 && x <= x2 && y >= y1 && y <= y2;
        double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - x1) * dx + (y - y1) * dy) / len2 : 0;
        t = t < 0 ? 0 : t > 1 ? 1 : t;
        double ex = x1 + t * dx - x, ey = y1 + t * dy - y;
        return ex * ex + ey * ey <= halfWidth * halfWidth;
    }
};

// The dark pixels of image (at dpi) that lie in none of the zones.
inline int StrayInk(const GreyImage &image, double dpi, const std::vector<InkZone> &zones) {
    int stray = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (!image.Dark(x, y)) continue;
            double ix = (x + 0.5) / dpi, iy = (y + 0.5) / dpi;
            bool inside = false;
            for (const InkZone &zone : zones)
                if (zone.Contains(ix, iy)) {
                    inside = true;
                    break;
                }
            stray += !inside;
        }
    return stray;
}

// Zones of a drawn diagram: around every node's glyph and title, and along every arrow
// (a node's position mapped by `place` to inches on the page). Titles and texts get room
// for their width.
template <typename Place>
std::vector<InkZone> DiagramZones(const Vmod_Model &model, double textScale, Place place) {
    std::vector<InkZone> zones;
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        double cx, cy;
        place(node->x, node->y, cx, cy);
        size_t length = node->title ? std::string(node->title).size() : 1;
        double halfText = 0.1 + 0.08 * static_cast<double>(length) * textScale;
        if (node->type == VMOD_TEXT) {
            auto *data = static_cast<const Vmod_TextData *>(node->data);
            double em = (data ? data->size : 12) / 72.0 * textScale;
            zones.push_back({false, cx - 0.1 - length * em * 0.45, cy - 0.1 - em, cx + 0.1 + length * em * 0.45,
                             cy + 0.1 + 2 * em});
            continue;
        }
        double half = std::max(0.7 * textScale, halfText);
        zones.push_back({false, cx - half, cy - 0.7 * textScale, cx + half, cy + 1.1 * textScale});
        for (const Vmod_Link *link = node->children; link; link = link->next)
            for (const Vmod_Node *child = model.nodes; child; child = child->next)
                if (child->id == link->id) {
                    double tx, ty;
                    place(child->x, child->y, tx, ty);
                    InkZone band{true, cx, cy, tx, ty};
                    band.halfWidth = 0.15 * textScale;
                    zones.push_back(band);
                }
    }
    return zones;
}

#endif
