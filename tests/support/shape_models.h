// shape_models.h - model files of a given size in the shapes that once made commands
// quadratic, for the scaling test and the scaling benchmark. Header-only.
//   - chain: input raster, function, output raster and a note, repeated;
//   - fanin: many rasters with arrows into one function;
//   - children: one raster whose CHILD list names every other node;
//   - hostile: the chain, but each function also reads its own output (a cycle) and each
//     note shares its input raster's identifier.
// Nodes are laid out 500 across, so the diagram grows downward with the size.
#ifndef VMOD_TESTS_SUPPORT_SHAPE_MODELS_H
#define VMOD_TESTS_SUPPORT_SHAPE_MODELS_H

#include <cstdint>
#include <cstdio>
#include <string>

namespace vmodtest {

enum class Shape { Chain, FanIn, Children, Hostile };

inline const char *shapeName(Shape shape) {
    return shape == Shape::Chain      ? "chain"
           : shape == Shape::FanIn    ? "fanin"
           : shape == Shape::Children ? "children"
                                      : "hostile";
}

namespace shape_detail {

inline void raster(std::FILE *f, int64_t id, const std::string &title, double x, double y, bool newFile) {
    std::fprintf(f, "RASTER {\n\tID %lld;\n\tTITLE \"%s\";\n\tPOSITION %g, %g;\n\tFILENAME \"/data/%s.img\";\n",
                 static_cast<long long>(id), title.c_str(), x, y, title.c_str());
    if (newFile) std::fprintf(f, "\tNEWFILE;\n");
}

inline void child(std::FILE *f, int64_t id) { std::fprintf(f, "\tCHILD %lld;\n", static_cast<long long>(id)); }

} // namespace shape_detail

// Writes a model of about `nodes` nodes in `shape` to path; false when it cannot.
inline bool writeShapeModel(const std::string &path, Shape shape, int64_t nodes) {
    using namespace shape_detail;
    std::FILE *f = std::fopen(path.c_str(), "w");
    if (f == nullptr) return false;
    std::fprintf(f, "TITLE \"%s\";\nPAGESIZE 8.5, 11 INCHES;\n", shapeName(shape));
    if (shape == Shape::Chain || shape == Shape::Hostile) {
        const bool hostile = shape == Shape::Hostile;
        for (int64_t step = 0, id = 1; step < nodes / 4; ++step, id += 4) {
            const double x = 1 + static_cast<double>(step % 500) * 2, y = 1 + static_cast<double>(step / 500) * 5;
            raster(f, id, "in" + std::to_string(id), x, y, false);
            child(f, id + 1);
            std::fprintf(f, "}\nFUNCTION {\n\tID %lld;\n\tTITLE \"F%lld\";\n\tPOSITION %g, %g;\n"
                            "\tVALUE \"$in%lld + 1\";\n\tCHILD %lld;\n}\n",
                         static_cast<long long>(id + 1), static_cast<long long>(id + 1), x, y + 1,
                         static_cast<long long>(id), static_cast<long long>(id + 2));
            raster(f, id + 2, "out" + std::to_string(id + 2), x, y + 2, true);
            if (hostile) child(f, id + 1);
            std::fprintf(f, "}\nTEXT {\n\tID %lld;\n\tTITLE \"note %lld\";\n\tPOSITION %g, %g;\n"
                            "\tFONT \"Helvetica\";\n\tSIZE 10;\n}\n",
                         static_cast<long long>(hostile ? id : id + 3), static_cast<long long>(id + 3), x + 0.5, y + 3);
        }
    } else if (shape == Shape::FanIn) {
        const int64_t inputs = nodes - 2;
        for (int64_t k = 0; k < inputs; ++k) {
            raster(f, k + 1, "in" + std::to_string(k + 1), 1 + static_cast<double>(k % 500) * 2,
                   1 + static_cast<double>(k / 500) * 2, false);
            child(f, inputs + 1);
            std::fprintf(f, "}\n");
        }
        std::fprintf(f, "FUNCTION {\n\tID %lld;\n\tTITLE \"F\";\n\tPOSITION 100, -2;\n\tVALUE \"$in1\";\n"
                        "\tCHILD %lld;\n}\n",
                     static_cast<long long>(inputs + 1), static_cast<long long>(inputs + 2));
        raster(f, inputs + 2, "out", 100, -4, true);
        std::fprintf(f, "}\n");
    } else {
        raster(f, 1, "src", 1, 1, false);
        for (int64_t id = 2; id <= nodes; ++id) child(f, id);
        std::fprintf(f, "}\n");
        for (int64_t id = 2; id <= nodes; ++id) {
            raster(f, id, "r" + std::to_string(id), 1 + static_cast<double>(id % 500) * 2,
                   3 + static_cast<double>(id / 500) * 2, false);
            std::fprintf(f, "}\n");
        }
    }
    return std::fclose(f) == 0;
}

} // namespace vmodtest

#endif
