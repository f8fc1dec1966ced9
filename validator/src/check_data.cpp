// check_data.cpp - the data nodes and the model's own numbers, looked at the way the script
// generator writes them: a file the script names with nothing between the quotes, a matrix
// that loads nothing or zeros, a number the script cannot hold or that makes no sense, a
// table entry that cannot be quoted, and a projection taken from a layer that is not there.
//
// A number is looked at only where the generator writes it: a scalar read from a file may
// hold anything in its VALUE, since the script never writes it.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "checks.h"

namespace {

// Limits past which a finite number is taken for a slip rather than meant. A cell larger
// than ten thousand kilometres holds a continent; one below a tenth of a millimetre is
// finer than any survey. Map coordinates beyond 1e10 lie far outside every projection (the
// Earth's circumference is 4e7 metres). Nothing of a diagram lies 10,000 inches (250 m of
// paper) from the page's corner.
constexpr double kLargestCell = 1e7;
constexpr double kSmallestCell = 1e-4;
constexpr double kFarthestCoordinate = 1e10;
constexpr double kFarthestOnPaper = 10000.0;

bool Present(const char *text) { return text != nullptr && text[0] != '\0'; }

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.16g", value);
    return text;
}

// Why the script cannot write text between quotes, or null: the generator refuses exactly
// these texts (a quote or a line break would end the string early, a control character
// does not survive the interpreter's reader, a final backslash escapes the closing quote).
const char *WhyNotQuotable(const char *text) {
    if (text == nullptr) return nullptr;
    const char *last = nullptr;
    for (const char *at = text; *at != '\0'; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (byte == '"') return "holds a double quote";
        if (byte == '\n' || byte == '\r') return "holds a line break";
        if (byte < 0x20 || byte == 0x7F) return "holds a control character";
        last = at;
    }
    if (last != nullptr && *last == '\\') return "ends in a backslash";
    return nullptr;
}

class DataChecks {
public:
    DataChecks(const CheckContext &context, ProblemList &problems) : context_(context), problems_(problems) {}

    void run() {
        checkHeader();
        for (size_t at = 0; at < context_.nodes.size(); ++at) {
            Vmod_Node *node = context_.nodes[at];
            checkPaper(node);
            if (node->data == nullptr) continue;
            switch (node->type) {
            case VMOD_RASTER: checkRaster(node); break;
            case VMOD_VECTOR: checkVector(node); break;
            case VMOD_MATRIX: checkMatrix(at, node); break;
            case VMOD_TABLE: checkTable(at, node); break;
            case VMOD_SCALAR: checkScalar(at, node); break;
            case VMOD_CRITERIA: checkCriteria(node); break;
            default: break;
            }
        }
        checkProjection();
    }

private:
    const CheckContext &context_;
    ProblemList &problems_;

    SourcePlace headerPlace(const char *keyword) const {
        auto found = context_.source.header.find(keyword);
        return found == context_.source.header.end() ? SourcePlace{} : found->second;
    }

    // A number belongs to a node or, for a null node, to the model's header.
    static std::string Who(const Vmod_Node *node) {
        return node != nullptr ? check_NodeName(node) : std::string("the model");
    }
    static std::vector<int32_t> Ids(const Vmod_Node *node) {
        return node != nullptr ? std::vector<int32_t>{node->id} : std::vector<int32_t>{};
    }
    SourcePlace placeOf(const Vmod_Node *node, const char *keyword) const {
        return node != nullptr ? context_.placeOf(node, keyword) : headerPlace(keyword);
    }

    // The operation that writes node (an operation whose first arrow leads to it), or null.
    const Vmod_Node *producer(size_t at) const {
        for (size_t parent : context_.parents[at]) {
            const Vmod_Node *operation = context_.nodes[parent];
            if (check_IsOperation(operation) && context_.outputOf(operation) == context_.nodes[at]) return operation;
        }
        return nullptr;
    }

    // ---- files without a name ----

    void noInputFile(const Vmod_Node *node, const char *keyword, const std::string &what) {
        problems_
            .error("D001", {node->id}, check_NodeName(node) + " reads " + what + " but names no file and asks for none",
                   "give it a file name (FILENAME) or let the script ask for one (PROMPT)")
            .place = context_.placeOf(node, keyword);
    }

    void noOutputFile(const Vmod_Node *node, const char *keyword, const std::string &what) {
        problems_
            .error("D002", {node->id}, check_NodeName(node) + " writes " + what + " but names no file and asks for none",
                   "give it a file name or let the script ask for one (PROMPT)")
            .place = context_.placeOf(node, keyword);
    }

    // ---- numbers ----

    // A number the script writes as it stands; "nan" or "inf" there stops the script.
    bool finite(const Vmod_Node *node, double value, const std::string &what, const char *keyword) {
        if (std::isfinite(value)) return true;
        problems_
            .error("D004", Ids(node),
                   Who(node) + ": " + what + " is " + Number(value) + ", which the script cannot hold as a number",
                   "type a finite number in its place")
            .place = placeOf(node, keyword);
        return false;
    }

    void cellSize(const Vmod_Node *node, float x, float y, const char *keyword) {
        const double sizes[2] = {static_cast<double>(x), static_cast<double>(y)};
        if (!finite(node, sizes[0], "the cell width", keyword) || !finite(node, sizes[1], "the cell height", keyword))
            return;
        const std::string text = Number(sizes[0]) + " by " + Number(sizes[1]);
        if (sizes[0] <= 0 || sizes[1] <= 0) {
            problems_.error("D005", Ids(node), Who(node) + ": the cell size " + text + " is not above zero, so no cell can be made",
                            "give a cell size above zero, or let the model take the inputs' (CELLSIZE MINIMUM)")
                .place = placeOf(node, keyword);
            return;
        }
        for (double size : sizes) {
            if (size > kLargestCell || size < kSmallestCell) {
                problems_.warning("D006", Ids(node), Who(node) + ": the cell size " + text + " is far from any real cell size",
                                  "check the cell size and its units")
                    .place = placeOf(node, keyword);
                return;
            }
        }
    }

    void rectangle(const Vmod_Node *node, const Vmod_Rect &rect, const std::string &what, const char *keyword) {
        const double corners[4] = {rect.x1, rect.y1, rect.x2, rect.y2};
        for (double corner : corners)
            if (!finite(node, corner, what, keyword)) return;
        const std::string text = Number(rect.x1) + ", " + Number(rect.y1) + " : " + Number(rect.x2) + ", " + Number(rect.y2);
        if (rect.x1 == rect.x2 || rect.y1 == rect.y2) {
            problems_.warning("D006", Ids(node), Who(node) + ": " + what + " " + text + " has no area, so it holds no cell",
                              "give two opposite corners that differ in both coordinates")
                .place = placeOf(node, keyword);
            return;
        }
        for (double corner : corners) {
            if (std::fabs(corner) > kFarthestCoordinate) {
                problems_.warning("D006", Ids(node), Who(node) + ": " + what + " " + text + " lies far outside any map",
                                  "check the corners and whether they are map or pixel coordinates")
                    .place = placeOf(node, keyword);
                return;
            }
        }
    }

    // One problem for the first number of array that is not finite; false when there is one.
    bool values(const Vmod_Node *node, const double *array, int64_t count, const std::string &what,
                const char *keyword) {
        for (int64_t index = 0; index < count; ++index)
            if (!finite(node, array[index], what + " " + std::to_string(index + 1), keyword)) return false;
        return true;
    }

    // ---- the header ----

    void checkHeader() {
        const Vmod_Model *model = context_.model;
        if (model->cellSizeMode == VMOD_CELLSIZE_GIVEN) cellSize(nullptr, model->cellSizeX, model->cellSizeY, "CELLSIZE");
        if (model->windowMode == VMOD_WINDOW_GIVEN) {
            // The generator writes a given window without its rectangle as the empty one.
            const Vmod_Rect empty{};
            rectangle(nullptr, model->window != nullptr ? *model->window : empty, "the processing window", "WINDOW");
        }
        // A page of zero is what a file without PAGESIZE gives; the diagram then decides.
        const double page[2] = {model->pageWidth, model->pageHeight};
        const double inches = model->pageUnits == VMOD_PAGE_CENTIMETERS ? 2.54 : 1.0;
        for (double size : page) {
            if (!std::isfinite(size) || size < 0 || size / inches > kFarthestOnPaper) {
                problems_.warning("D009", {}, "the model's page size " + Number(page[0]) + " by " + Number(page[1]) +
                                                  " is not a size a page can have",
                                  "give the page a width and height of a real sheet (PAGESIZE)")
                    .place = headerPlace("PAGESIZE");
                break;
            }
        }
    }

    // ---- every node ----

    void checkPaper(const Vmod_Node *node) {
        const double place[2] = {node->x, node->y};
        for (double coordinate : place) {
            if (!std::isfinite(coordinate) || std::fabs(coordinate) > kFarthestOnPaper) {
                problems_.warning("D008", {node->id}, check_NodeName(node) + " stands at " + Number(node->x) + ", " +
                                                          Number(node->y) + ", far off any page",
                                  "move it onto the page (POSITION)")
                    .place = context_.placeOf(node, "POSITION");
                return;
            }
        }
        if (!std::isfinite(node->width) || !std::isfinite(node->height)) {
            problems_.warning("D008", {node->id}, check_NodeName(node) + " has a box of " + Number(node->width) +
                                                      " by " + Number(node->height) + " inches, which cannot be drawn",
                              "set the node's size again in the editor")
                .place = context_.placeOf(node);
        }
    }

    // ---- data nodes ----

    void checkRaster(const Vmod_Node *node) {
        const auto *raster = static_cast<const Vmod_RasterData *>(node->data);
        // A temporary raster has no file clause, declared or not.
        if (raster->tempFile) return;
        if (!raster->newFile) {
            if (!raster->prompt && !Present(raster->fileName)) noInputFile(node, "FILENAME", "an existing raster");
            if (raster->areaRect != nullptr) rectangle(node, *raster->areaRect, "the area read", "AREA");
            return;
        }
        if (!raster->prompt && !Present(raster->fileName)) noOutputFile(node, "FILENAME", "a new raster");
        if (raster->ignoreSet && finite(node, raster->ignoreValue, "the ignore value", "IGNORE"))
            ignoreValue(node, raster->dataType, raster->ignoreValue);
    }

    void ignoreValue(const Vmod_Node *node, int32_t dataType, double value) {
        struct Range {
            double low, high;
        };
        static const Range ranges[] = {
            {0, 1},          {0, 3},           {0, 15},          {0, 255},         {-128, 127}, {0, 65535},
            {-32768, 32767}, {0, 4294967295.0}, {-2147483648.0, 2147483647.0},
        };
        bool fits = true;
        if (dataType >= VMOD_BINARY && dataType <= VMOD_SIGNED32) {
            const Range &range = ranges[dataType];
            fits = value >= range.low && value <= range.high && std::trunc(value) == value;
        } else if (dataType == VMOD_FLOAT) {
            fits = std::fabs(value) <= FLT_MAX;
        }
        if (fits) return;
        problems_
            .warning("D007", {node->id},
                     check_NodeName(node) + ": the ignore value " + Number(value) +
                         " is no value its data type can hold, so no cell is ever ignored",
                     "give an ignore value that fits the raster's data type (IGNORE, DATATYPE)")
            .place = context_.placeOf(node, "IGNORE");
    }

    void checkVector(const Vmod_Node *node) {
        const auto *vector = static_cast<const Vmod_VectorData *>(node->data);
        if (!vector->prompt && !Present(vector->fileName)) noInputFile(node, "FILENAME", "a vector layer");
        if (vector->window != nullptr) rectangle(node, *vector->window, "the window read", "WINDOW");
        if (vector->cellSizeSet) cellSize(node, vector->cellSizeX, vector->cellSizeY, "CELLSIZE");
    }

    void checkMatrix(size_t at, const Vmod_Node *node) {
        const auto *matrix = static_cast<const Vmod_MatrixData *>(node->data);
        if (matrix->source == VMOD_MATRIX_READ && !matrix->prompt && !Present(matrix->readFile))
            noInputFile(node, "READ", "a matrix file");
        checkWritten(at, node, matrix->write, matrix->prompt, matrix->writeFile, "a matrix file");
        if (matrix->source != VMOD_MATRIX_KERNEL && matrix->source != VMOD_MATRIX_LITERAL) return;
        const bool sized = matrix->rows > 0 && matrix->columns > 0;
        if (sized && matrix->values != nullptr) {
            const int64_t count = static_cast<int64_t>(matrix->rows) * matrix->columns;
            values(node, matrix->values, count, "value", "VALUE");
            if (matrix->source != VMOD_MATRIX_KERNEL) return;
            for (int64_t index = 0; index < count; ++index)
                if (matrix->values[index] != 0.0) return;
        }
        // What an operation writes into the matrix replaces whatever it loads.
        if (producer(at) != nullptr) return;
        const std::string why = !sized                        ? "has no rows or no columns"
                                : matrix->values == nullptr ? "holds no values"
                                                            : "has only zeros for its weights";
        const char *what = matrix->source == VMOD_MATRIX_KERNEL ? " is a built-in kernel but " : " ";
        problems_
            .warning("D003", {node->id},
                     check_NodeName(node) + what + why + ", so the script computes with a matrix of zeros",
                     "type the matrix's values (SIZE and VALUE)")
            .place = context_.placeOf(node, matrix->source == VMOD_MATRIX_KERNEL ? "BUILTIN" : "SIZE");
    }

    // WRITE is written after the operation that makes the node.
    void checkWritten(size_t at, const Vmod_Node *node, int32_t write, int32_t prompt, const char *file,
                      const char *what) {
        if (!write || prompt || Present(file)) return;
        const Vmod_Node *operation = producer(at);
        if (operation != nullptr && operation->type == VMOD_FUNCTION) noOutputFile(node, "WRITE", what);
    }

    void checkTable(size_t at, const Vmod_Node *node) {
        const auto *table = static_cast<const Vmod_TableData *>(node->data);
        if (table->source == VMOD_TABLE_READ && !table->prompt && !Present(table->readFile))
            noInputFile(node, "READ", "a table file");
        checkWritten(at, node, table->write, table->prompt, table->writeFile, "a table file");
        if (table->source != VMOD_TABLE_LITERAL || table->size <= 0) return;
        switch (table->dataType) {
        case VMOD_TABLE_STRING:
            if (table->strings == nullptr) return;
            for (int32_t index = 0; index < table->size; ++index) {
                if (const char *why = WhyNotQuotable(table->strings[index])) {
                    problems_
                        .error("D010", {node->id},
                               check_NodeName(node) + ": entry " + std::to_string(index + 1) + " " + why +
                                   " and cannot be written between quotes",
                               "remove quotes, line breaks, control characters and a final backslash from the entry")
                        .place = context_.placeOf(node, "VALUE");
                }
            }
            return;
        case VMOD_TABLE_COLOR:
            if (table->colors == nullptr) return;
            for (int32_t index = 0; index < table->size; ++index) {
                const Vmod_TableColor *color = table->colors[index];
                const std::string what = "component of colour " + std::to_string(index + 1) + ", number";
                if (color != nullptr && !values(node, color->value, 3, what, "COLORVALUE")) return;
            }
            return;
        default:
            if (table->values != nullptr) values(node, table->values, table->size, "entry", "VALUE");
            return;
        }
    }

    void checkScalar(size_t at, const Vmod_Node *node) {
        const auto *scalar = static_cast<const Vmod_ScalarData *>(node->data);
        if (scalar->read) {
            if (!scalar->prompt && !Present(scalar->readFile)) noInputFile(node, "READ", "a scalar file");
        } else {
            finite(node, scalar->value, "the value", "VALUE");
        }
        checkWritten(at, node, scalar->write, scalar->prompt, scalar->writeFile, "a scalar file");
    }

    void checkCriteria(const Vmod_Node *node) {
        // Without rows the generator writes neither the output values nor the default.
        const auto *criteria = static_cast<const Vmod_CriteriaData *>(node->data);
        if (criteria->rows < 1) return;
        if (criteria->outputValues != nullptr &&
            !values(node, criteria->outputValues, criteria->rows, "the output value of row", "OUTPUTVALUES"))
            return;
        finite(node, criteria->defaultValue, "the default value", "DEFAULT");
    }

    // ---- the projection ----

    // SET PROJECTION USING names a layer by its variable: the title of a data node, or,
    // for a recoded layer, the name ending in _Org that its source data is declared under.
    void checkProjection() {
        const Vmod_Model *model = context_.model;
        if (model->projectionMode != VMOD_PROJECTION_SAME_AS) return;
        const char *name = model->projectionSameAs;
        auto bare = [](const char *text) { return std::string(text[0] == '$' ? text + 1 : text); };
        if (Present(name)) {
            const std::string wanted = bare(name);
            for (const Vmod_Node *node : context_.nodes) {
                if (!check_IsData(node) || node->title == nullptr) continue;
                const std::string title = bare(node->title);
                if (title == wanted || title + "_Org" == wanted) return;
            }
        }
        problems_
            .error("D011", {},
                   Present(name) ? "the model takes its projection from \"" + std::string(name) +
                                       "\", which is the title of no data node"
                                 : std::string("the model takes its projection from a layer but names none"),
                   "name a raster or vector of the model after PROJECTION SAMEAS, or use PROJECTION DEFAULT")
            .place = headerPlace("PROJECTION");
    }
};

} // namespace

void check_Data(const CheckContext &context, ProblemList &problems) { DataChecks(context, problems).run(); }
