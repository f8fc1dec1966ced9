// script_quoting.cpp - which texts the script holds between quotes or bare, and whether it
// can. The walk below follows the sections of the generator: a text is looked at exactly
// when the generator would write it, so a model is never refused for a field it does not
// use, and never accepted with one it does.
#include "script/script_quoting.h"

#include <cstdio>

#include "script/script_context.h"
#include "script/script_declarations.h"
#include "script/script_graph.h"
#include "vmod/vmod.h"

const char *script_WhyNotQuotable(const char *text) {
    if (text == nullptr) {
        return nullptr;
    }
    const char *last = nullptr;
    for (const char *at = text; *at != '\0'; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (byte == '"') {
            return "holds a double quote";
        }
        if (byte == '\n' || byte == '\r') {
            return "holds a line break";
        }
        if (byte < 0x20 || byte == 0x7F) {
            return "holds a control character";
        }
        last = at;
    }
    if (last != nullptr && *last == '\\') {
        return "ends in a backslash";
    }
    return nullptr;
}

bool script_PlainName(const char *text) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (text != nullptr && text[0] == '$') {
        ++text;
    }
    if (text == nullptr || !letter(text[0])) {
        return false;
    }
    for (const char *at = text + 1; *at != '\0'; ++at) {
        if (!letter(*at) && !(*at >= '0' && *at <= '9')) {
            return false;
        }
    }
    return true;
}

namespace {

constexpr const char *kPlainName = "a letter or underscore, then letters, digits and underscores, after an optional $";

class TextWalk {
public:
    explicit TextWalk(std::vector<std::string> &problems) : problems_(problems) {}

    // A text written between quotes.
    void quoted(const std::string &who, const std::string &field, const char *text) {
        if (const char *why = script_WhyNotQuotable(text)) {
            problems_.push_back(who + ": " + field + " " + why + " and cannot be written between quotes");
        }
    }

    // A name written bare. A missing one is written as nothing, as it always was; one
    // that is there must be a plain name.
    void bare(const std::string &who, const std::string &field, const char *text) {
        if (script_Present(text) && !script_PlainName(text)) {
            problems_.push_back(who + ": " + field + " is not a plain name (" + kPlainName + ")");
        }
    }

    void title(const Vmod_Node *node) {
        if (script_Present(node->title) && !script_PlainName(node->title)) {
            problems_.push_back(script_DescribeNode(node) + ": the title is the script's name of its data and is "
                                "not a plain name (" + kPlainName + ")");
        }
    }

private:
    std::vector<std::string> &problems_;
};

void checkAreaOfInterest(TextWalk &walk, const std::string &who, int32_t mode, const char *file) {
    if (mode == VMOD_AOI_FILE) {
        walk.quoted(who, "the area of interest (AOI)", file);
    }
}

void checkRaster(TextWalk &walk, const std::string &who, Vmod_Node *node) {
    const auto *raster = static_cast<const Vmod_RasterData *>(node->data);
    // A temporary raster has no file clause; one that is not declared has none either.
    if (raster->tempFile) {
        return;
    }
    if (!raster->newFile) {
        checkAreaOfInterest(walk, who, raster->aoiMode, raster->aoiFile);
    }
    if (!raster->prompt) {
        walk.quoted(who, "the file name (FILENAME)", raster->fileName);
    }
}

void checkVector(TextWalk &walk, const std::string &who, const Vmod_Node *node) {
    const auto *vector = static_cast<const Vmod_VectorData *>(node->data);
    checkAreaOfInterest(walk, who, vector->aoiMode, vector->aoiFile);
    if (vector->vectorType == VMOD_VECTOR_COVERAGE) {
        walk.bare(who, "the feature (FEATURE)", vector->feature);
    }
    if (!vector->prompt) {
        walk.quoted(who, "the file name (FILENAME)", vector->fileName);
    }
    if (script_VectorUsesAttribute(vector)) {
        walk.quoted(who, "the attribute (ATTRIBUTE)", vector->attribute);
    }
}

const char *layerKeyword(int32_t layerKind) {
    switch (layerKind) {
    case VMOD_LAYER_IMAGE:
        return "the image (IMAGENAME)";
    case VMOD_LAYER_COVERAGE:
        return "the coverage (COVERAGENAME)";
    case VMOD_LAYER_ANNOTATION:
        return "the annotation layer (ANNOTATIONNAME)";
    default:
        return "the layer variable (VARIABLENAME)";
    }
}

void checkTable(TextWalk &walk, const std::string &who, const Vmod_Node *node) {
    const auto *table = static_cast<const Vmod_TableData *>(node->data);
    const bool layer = table->source == VMOD_TABLE_LAYER || table->outputToLayer;
    if (layer && table->layerKind != VMOD_LAYER_VARIABLE) {
        if (!table->promptLayerFile && table->layerKind >= VMOD_LAYER_IMAGE &&
            table->layerKind <= VMOD_LAYER_ANNOTATION) {
            walk.quoted(who, layerKeyword(table->layerKind), table->layerFile);
        }
        if (table->layerKind == VMOD_LAYER_IMAGE) {
            // Written inside the same quotes as the image's file name.
            walk.quoted(who, "the layer name (LAYERNAME)", table->layerName);
        } else if (table->layerKind == VMOD_LAYER_COVERAGE) {
            walk.bare(who, "the layer name (LAYERNAME)", table->layerName);
        }
    }
    // The column the table reads or writes.
    const bool column = table->source == VMOD_TABLE_LAYER ||
                        (table->outputToLayer && (table->source == VMOD_TABLE_LITERAL ||
                                                  table->source == VMOD_TABLE_READ ||
                                                  table->source == VMOD_TABLE_OUTPUT));
    if (column) {
        if (table->layerKind == VMOD_LAYER_VARIABLE) {
            walk.bare(who, layerKeyword(VMOD_LAYER_VARIABLE), table->layerFile);
        }
        const bool named = table->dataType != VMOD_TABLE_COLOR &&
                           (table->source == VMOD_TABLE_LAYER || (table->layerKind >= VMOD_LAYER_IMAGE &&
                                                                  table->layerKind <= VMOD_LAYER_ANNOTATION));
        if (named) {
            walk.quoted(who, "the field name (FIELDNAME)", table->fieldName);
        }
    }
    if (table->source == VMOD_TABLE_LITERAL && table->size > 0 && table->dataType == VMOD_TABLE_STRING &&
        table->strings != nullptr) {
        for (int32_t index = 0; index < table->size; ++index) {
            walk.quoted(who, "entry " + std::to_string(index + 1) + " of the table (VALUE)", table->strings[index]);
        }
    }
    if (table->source == VMOD_TABLE_READ && !table->prompt) {
        walk.quoted(who, "the file read (READ)", table->readFile);
    }
}

void checkReadFile(TextWalk &walk, const std::string &who, bool reads, int32_t prompt, const char *readFile) {
    if (reads && !prompt) {
        walk.quoted(who, "the file read (READ)", readFile);
    }
}

// The file a function's output is written to (its output is never a macro here, since
// only rasters are).
void checkWrittenOutput(TextWalk &walk, const Vmod_Node *output) {
    if (output == nullptr || output->data == nullptr) {
        return;
    }
    int32_t write = 0;
    int32_t prompt = 0;
    const char *file = nullptr;
    switch (output->type) {
    case VMOD_MATRIX: {
        const auto *data = static_cast<const Vmod_MatrixData *>(output->data);
        write = data->write, prompt = data->prompt, file = data->writeFile;
        break;
    }
    case VMOD_TABLE: {
        const auto *data = static_cast<const Vmod_TableData *>(output->data);
        write = data->write, prompt = data->prompt, file = data->writeFile;
        break;
    }
    case VMOD_SCALAR: {
        const auto *data = static_cast<const Vmod_ScalarData *>(output->data);
        write = data->write, prompt = data->prompt, file = data->writeFile;
        break;
    }
    default:
        return;
    }
    if (write && !prompt) {
        walk.quoted(script_DescribeNode(output), "the file written (WRITE)", file);
    }
}

void checkHeader(TextWalk &walk, const Vmod_Model *model) {
    walk.quoted("the model", "its path (named in the COMMENT line)", model->fileName);
    if (model->projectionMode == VMOD_PROJECTION_SPECIFIED) {
        walk.quoted("the model", "the first part of its projection (PROJECTION SPECIFY)", model->projectionSpec1);
        walk.quoted("the model", "the second part of its projection (PROJECTION SPECIFY)", model->projectionSpec2);
    }
    if (model->projectionMode == VMOD_PROJECTION_SAME_AS) {
        walk.bare("the model", "the layer its projection is taken from (PROJECTION SAMEAS)", model->projectionSameAs);
    }
    checkAreaOfInterest(walk, "the model", model->aoiMode, model->aoiFile);
}

} // namespace

void script_FindTextProblems(const Vmod_Model *model, const ScriptGraph &graph, std::vector<std::string> &problems) {
    TextWalk walk(problems);
    checkHeader(walk, model);
    for (Vmod_Node *node : graph.nodes) {
        if (node->type >= VMOD_RASTER && node->type <= VMOD_SCALAR) {
            walk.title(node);
        }
        if (node->data == nullptr) {
            continue;
        }
        const std::string who = script_DescribeNode(node);
        switch (node->type) {
        case VMOD_RASTER:
            checkRaster(walk, who, node);
            break;
        case VMOD_VECTOR:
            checkVector(walk, who, node);
            break;
        case VMOD_MATRIX: {
            const auto *matrix = static_cast<const Vmod_MatrixData *>(node->data);
            checkReadFile(walk, who, matrix->source == VMOD_MATRIX_READ, matrix->prompt, matrix->readFile);
            break;
        }
        case VMOD_TABLE:
            checkTable(walk, who, node);
            break;
        case VMOD_SCALAR: {
            const auto *scalar = static_cast<const Vmod_ScalarData *>(node->data);
            checkReadFile(walk, who, scalar->read != 0, scalar->prompt, scalar->readFile);
            break;
        }
        case VMOD_FUNCTION:
            if (node->children != nullptr) {
                checkWrittenOutput(walk, script_FindNode(graph, node->children->id));
            }
            break;
        default:
            break;
        }
    }
}
