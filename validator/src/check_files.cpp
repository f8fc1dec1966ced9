// check_files.cpp - see checks.h. The files a model names are looked at through GDAL:
// the ones its script reads must be there and open as what the node says they are, and
// the folders it writes into must be there and writable.
//
// A relative file name is taken from the model file's folder: that is where a user who
// keeps a model beside its data expects it to be found, and it does not depend on the
// folder `vmod check` happens to be started in. A model without a file keeps its names
// as they are (relative to the current folder).
#include "checks.h"

#ifndef VMODCHECK_WITH_GDAL

int32_t check_Files(const CheckContext &, ProblemList &) { return -1; }

#else

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

#include "file_probe.h"

namespace {

bool Present(const char *text) { return text != nullptr && text[0] != '\0'; }

std::string Lower(std::string text) {
    for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool SameWord(const std::string &a, const std::string &b) { return Lower(a) == Lower(b); }

const char *ClassWord(ValueClass value) {
    switch (value) {
    case ValueClass::Binary: return "BINARY";
    case ValueClass::Integer: return "INTEGER";
    case ValueClass::Float: return "FLOAT";
    case ValueClass::Complex: return "COMPLEX";
    }
    return "";
}

// The class an existing raster is declared as: its DECLARE text's first word when it has
// one, else the class of its DATATYPE, the words the script's declaration starts with.
// False when the declaration names no class the file can be compared with.
bool DeclaredClass(const Vmod_RasterData &raster, ValueClass &value) {
    if (Present(raster.declare)) {
        std::string word = raster.declare;
        word = Lower(word.substr(0, word.find_first_of(" \t")));
        if (word == "binary") value = ValueClass::Binary;
        else if (word == "integer") value = ValueClass::Integer;
        else if (word == "float") value = ValueClass::Float;
        else if (word == "complex") value = ValueClass::Complex;
        else return false;
        return true;
    }
    const int32_t type = raster.dataType;
    if (type == VMOD_BINARY) value = ValueClass::Binary;
    else if (type >= VMOD_UNSIGNED2 && type <= VMOD_SIGNED32) value = ValueClass::Integer;
    else if (type == VMOD_FLOAT || type == VMOD_DOUBLE) value = ValueClass::Float;
    else if (type == VMOD_COMPLEX || type == VMOD_DOUBLECOMPLEX) value = ValueClass::Complex;
    else return false;
    return true;
}

// The geometry a coverage's feature word names ("line", "polygon", "point"), or Other.
GeometryKind FeatureKind(const std::string &feature) {
    const std::string word = Lower(feature);
    if (word == "point" || word == "points" || word == "label" || word == "labels") return GeometryKind::Point;
    if (word == "line" || word == "lines" || word == "arc" || word == "arcs") return GeometryKind::Line;
    if (word == "polygon" || word == "polygons" || word == "poly") return GeometryKind::Polygon;
    return GeometryKind::Other;
}

// The layers of a file, for a message: at most a few names, quoted.
std::string LayerList(const FileFacts &facts) {
    std::string text;
    const size_t shown = std::min<size_t>(facts.layers.size(), 5);
    for (size_t l = 0; l < shown; ++l) text += (l > 0 ? ", \"" : "\"") + facts.layers[l].name + "\"";
    if (facts.layers.size() > shown) text += ", ...";
    return text;
}

// An input whose coordinate system the model's inputs must share.
struct CrsUse {
    const Vmod_Node *node;
    std::string file;
    const CrsFacts *crs;
};

class FileChecks {
public:
    FileChecks(const CheckContext &context, ProblemList &problems) : context_(context), problems_(problems) {
        std::string model = context.source.path;
        if (model.empty() && context.model->fileName != nullptr) model = context.model->fileName;
        if (!model.empty()) folder_ = std::filesystem::path(model).parent_path();
    }

    void run() {
        for (const Vmod_Node *node : context_.nodes) {
            if (node->data == nullptr) continue;
            switch (node->type) {
            case VMOD_RASTER: raster(node, *static_cast<const Vmod_RasterData *>(node->data)); break;
            case VMOD_VECTOR: vector(node, *static_cast<const Vmod_VectorData *>(node->data)); break;
            case VMOD_MATRIX: matrix(node, *static_cast<const Vmod_MatrixData *>(node->data)); break;
            case VMOD_TABLE: table(node, *static_cast<const Vmod_TableData *>(node->data)); break;
            case VMOD_SCALAR: scalar(node, *static_cast<const Vmod_ScalarData *>(node->data)); break;
            default: break;
            }
        }
        const Vmod_Model &model = *context_.model;
        if (model.aoiMode == VMOD_AOI_FILE && Present(model.aoiFile)) {
            const std::string path = resolve(model.aoiFile);
            if (!facts(path).exists) {
                Problem &problem = problems_.error("F001", {},
                                                   "the model's area of interest " + quoted(model.aoiFile, path) +
                                                       " does not exist",
                                                   "Correct the file name, or create the file before running the model.");
                auto header = context_.source.header.find("AOI");
                if (header != context_.source.header.end()) problem.place = header->second;
            }
        }
        coordinateSystems();
    }

private:
    std::string resolve(const char *name) const {
        const std::filesystem::path path(name);
        if (path.is_absolute() || folder_.empty()) return path.lexically_normal().string();
        return (folder_ / path).lexically_normal().string();
    }

    // The name as the model writes it, with the path it stands for when that differs.
    static std::string quoted(const std::string &name, const std::string &path) {
        return "\"" + name + "\"" + (path == name ? "" : " (" + path + ")");
    }

    const FileFacts &facts(const std::string &path) {
        auto found = files_.find(path);
        if (found == files_.end()) found = files_.emplace(path, probe_File(path)).first;
        return found->second;
    }

    // The facts of a file the node reads, or null after reporting it missing or unopenable
    // as what (a "raster image" or a "vector layer").
    const FileFacts *input(const Vmod_Node *node, const char *name, const char *keyword, const char *what) {
        const std::string path = resolve(name);
        const FileFacts &file = facts(path);
        const std::string who = check_NodeName(node) + " reads " + quoted(name, path);
        if (!file.exists) {
            problems_.error("F001", {node->id}, who + ", which does not exist",
                            "Correct the file name, or create the file before running the model.")
                .place = context_.placeOf(node, keyword);
            return nullptr;
        }
        const bool fits = std::string(what) == "raster image" ? !file.bandClasses.empty() : !file.layers.empty();
        if (!file.opened || !fits) {
            problems_.error("F002", {node->id}, who + ", which does not open as a " + what,
                            std::string("Point the node at a readable ") + what + " file.")
                .place = context_.placeOf(node, keyword);
            return nullptr;
        }
        return &file;
    }

    void existing(const Vmod_Node *node, const char *name, const char *keyword, const char *role) {
        const std::string path = resolve(name);
        if (facts(path).exists) return;
        problems_.error("F001", {node->id}, check_NodeName(node) + " " + role + " " + quoted(name, path) +
                                                ", which does not exist",
                        "Correct the file name, or create the file before running the model.")
            .place = context_.placeOf(node, keyword);
    }

    void output(const Vmod_Node *node, const char *name, const char *keyword) {
        const std::string path = resolve(name);
        std::filesystem::path parent = std::filesystem::path(path).parent_path();
        if (parent.empty()) parent = ".";
        const std::string folder = parent.string();
        auto found = folders_.find(folder);
        if (found == folders_.end()) {
            std::error_code ignored;
            int state = 0;
            if (!std::filesystem::is_directory(parent, ignored)) state = 1;
            else if (access(folder.c_str(), W_OK | X_OK) != 0) state = 2;
            found = folders_.emplace(folder, state).first;
        }
        if (found->second == 0) return;
        problems_.error("F008", {node->id},
                        check_NodeName(node) + " writes " + quoted(name, path) + ", but the folder \"" + folder + "\" " +
                            (found->second == 1 ? "does not exist" : "cannot be written"),
                        found->second == 1 ? "Create the folder, or write the file into one that exists."
                                           : "Write the file into a folder you may write in.")
            .place = context_.placeOf(node, keyword);
    }

    void raster(const Vmod_Node *node, const Vmod_RasterData &raster) {
        if (raster.tempFile) return;
        if (raster.newFile) {
            if (!raster.prompt && Present(raster.fileName)) output(node, raster.fileName, "FILENAME");
            return;
        }
        if (raster.aoiMode == VMOD_AOI_FILE && Present(raster.aoiFile))
            existing(node, raster.aoiFile, "AOI", "uses the area of interest");
        if (raster.prompt || !Present(raster.fileName)) return;
        const FileFacts *file = input(node, raster.fileName, "FILENAME", "raster image");
        if (file == nullptr) return;
        const std::string path = resolve(raster.fileName);
        ValueClass declared;
        if (DeclaredClass(raster, declared)) {
            for (size_t b = 0; b < file->bandClasses.size(); ++b) {
                if (file->bandClasses[b] <= declared) continue;
                problems_.warning("F003", {node->id},
                                  check_NodeName(node) + " is read as " + ClassWord(declared) + ", but band " +
                                      std::to_string(b + 1) + " of \"" + path + "\" holds " +
                                      file->bandTypeNames[b] + " values",
                                  std::string("Declare the node as ") + ClassWord(file->bandClasses[b]) +
                                      " (DATATYPE or DECLARE), or point it at a file of the declared type.")
                    .place = context_.placeOf(node, Present(raster.declare) ? "DECLARE" : "DATATYPE");
                break;
            }
        }
        if (raster.thematic && file->bandClasses.size() > 1)
            problems_.warning("F004", {node->id},
                              check_NodeName(node) + " is thematic, but \"" + path + "\" holds " +
                                  std::to_string(file->bandClasses.size()) + " bands; a class map has one",
                              "Point the node at a single-band file, or make it athematic.")
                .place = context_.placeOf(node, "THEMATIC");
        if (!file->rasterCrs.wkt.empty()) crsUses_.push_back({node, path, &file->rasterCrs});
    }

    void vector(const Vmod_Node *node, const Vmod_VectorData &vector) {
        if (vector.aoiMode == VMOD_AOI_FILE && Present(vector.aoiFile))
            existing(node, vector.aoiFile, "AOI", "uses the area of interest");
        if (vector.prompt || !Present(vector.fileName)) return;
        const FileFacts *file = input(node, vector.fileName, "FILENAME", "vector layer");
        if (file == nullptr) return;
        const std::string path = resolve(vector.fileName);
        const LayerFacts *layer = &file->layers.front();
        if (vector.vectorType == VMOD_VECTOR_COVERAGE && Present(vector.feature)) {
            layer = nullptr;
            const GeometryKind kind = FeatureKind(vector.feature);
            for (const LayerFacts &candidate : file->layers)
                if (SameWord(candidate.name, vector.feature)) layer = &candidate;
            for (size_t l = 0; layer == nullptr && kind != GeometryKind::Other && l < file->layers.size(); ++l)
                if (file->layers[l].geometry == kind) layer = &file->layers[l];
            if (layer == nullptr) {
                problems_.warning("F005", {node->id},
                                  check_NodeName(node) + " reads the feature \"" + vector.feature + "\" of \"" +
                                      path + "\", which holds no such layer (it holds " + LayerList(*file) + ")",
                                  "Name one of the file's layers in FEATURE, or point the node at another file.")
                    .place = context_.placeOf(node, "FEATURE");
                return;
            }
        }
        if (Present(vector.attribute) && std::string(vector.attribute) != "Record Number") {
            const bool found = std::any_of(layer->fields.begin(), layer->fields.end(),
                                           [&](const std::string &field) { return SameWord(field, vector.attribute); });
            if (!found)
                problems_.warning("F006", {node->id},
                                  check_NodeName(node) + " takes its values from the attribute \"" +
                                      vector.attribute + "\", which layer \"" + layer->name + "\" of \"" + path +
                                      "\" does not have",
                                  "Name one of the layer's attributes in ATTRIBUTE.")
                    .place = context_.placeOf(node, "ATTRIBUTE");
        }
        if (!layer->crs.wkt.empty()) crsUses_.push_back({node, path, &layer->crs});
    }

    void matrix(const Vmod_Node *node, const Vmod_MatrixData &matrix) {
        if (matrix.prompt) return;
        if (matrix.source == VMOD_MATRIX_READ && Present(matrix.readFile))
            existing(node, matrix.readFile, "READ", "reads its values from");
        if (matrix.source == VMOD_MATRIX_OUTPUT && matrix.write && Present(matrix.writeFile))
            output(node, matrix.writeFile, "WRITE");
    }

    void table(const Vmod_Node *node, const Vmod_TableData &table) {
        const bool layer = table.source == VMOD_TABLE_LAYER || table.outputToLayer;
        if (layer && !table.promptLayerFile && Present(table.layerFile)) {
            static const char *const keywords[] = {"IMAGENAME", "VARIABLENAME", "COVERAGENAME", "ANNOTATIONNAME"};
            if (table.layerKind == VMOD_LAYER_IMAGE)
                input(node, table.layerFile, keywords[0], "raster image");
            else if (table.layerKind == VMOD_LAYER_COVERAGE || table.layerKind == VMOD_LAYER_ANNOTATION)
                input(node, table.layerFile, keywords[table.layerKind], "vector layer");
        }
        if (table.prompt) return;
        if (table.source == VMOD_TABLE_READ && Present(table.readFile))
            existing(node, table.readFile, "READ", "reads its values from");
        if (table.source == VMOD_TABLE_OUTPUT && table.write && Present(table.writeFile))
            output(node, table.writeFile, "WRITE");
    }

    void scalar(const Vmod_Node *node, const Vmod_ScalarData &scalar) {
        if (scalar.prompt) return;
        if (scalar.read && Present(scalar.readFile)) existing(node, scalar.readFile, "READ", "reads its value from");
        if (scalar.write && Present(scalar.writeFile)) output(node, scalar.writeFile, "WRITE");
    }

    // Inputs in more than one coordinate system, where the model leaves the output's to
    // the default: each input that differs from the first is named with it. Each distinct
    // text is compared once with the systems seen so far, of which a model has few.
    void coordinateSystems() {
        if (context_.model->projectionMode != VMOD_PROJECTION_DEFAULT || crsUses_.size() < 2) return;
        std::vector<const CrsFacts *> systems;
        std::unordered_map<std::string, size_t> systemOf;
        const CrsUse &first = crsUses_.front();
        for (const CrsUse &use : crsUses_) {
            auto known = systemOf.find(use.crs->wkt);
            if (known == systemOf.end()) {
                size_t at = 0;
                while (at < systems.size() && !probe_SameCrs(*systems[at], *use.crs)) ++at;
                if (at == systems.size()) systems.push_back(use.crs);
                known = systemOf.emplace(use.crs->wkt, at).first;
            }
            if (known->second == 0) continue;
            problems_.warning("F007", {use.node->id, first.node->id},
                              check_NodeName(use.node) + " reads \"" + use.file + "\" in \"" + use.crs->name +
                                  "\", but " + check_NodeName(first.node) + " is in \"" + first.crs->name +
                                  "\", and the model sets no projection",
                              "Set the model's projection (PROJECTION SAMEAS or SPECIFY), or reproject the file.")
                .place = context_.placeOf(use.node, "FILENAME");
        }
    }

    const CheckContext &context_;
    ProblemList &problems_;
    std::filesystem::path folder_;
    std::unordered_map<std::string, FileFacts> files_;
    std::unordered_map<std::string, int> folders_;  // 0 writable, 1 missing, 2 not writable
    std::vector<CrsUse> crsUses_;
};

} // namespace

int32_t check_Files(const CheckContext &context, ProblemList &problems) {
    FileChecks(context, problems).run();
    return 1;
}

#endif
