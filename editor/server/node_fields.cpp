// node_fields.cpp - see node_fields.h.
//
// Each kind has a table of field descriptors and two functions: one reads the record into
// a JSON object of every field's value (key -> value), the other writes such an object
// back into the record. Setting fields is then: read the current values, check each value
// sent and put it in their place, make the lists agree with their sizes, check the whole,
// and only then write the record. A refusal therefore leaves the record as it was.
//
// The fields shown are the ones the model file carries in the node's present state: a
// raster's file name while it is prompted for, or a matrix's kernel while it is read from
// a file, is not written, so it is not shown either (the record keeps it, so switching
// back brings it back). Values are kept as the file will give them back: numbers that the
// file writes to six significant digits are rounded so on setting, cell sizes are single
// precision, and a temporary raster gets the declaration the reader gives it. So a model
// edited through the fields saves and reads back with the same fields.
#include "node_fields.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

#include "vmod/vmod.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodkit/vmodkit_model.h"

using nlohmann::json;

namespace {

// The longest list the reader accepts.
constexpr int64_t kMaxListEntries = 10000000;
constexpr double kInf = std::numeric_limits<double>::infinity();

enum class Type { Text, Multiline, Number, Integer, Bool, Choice, Numbers, Texts, Grid, Criteria };

const char *typeName(Type t) {
    switch (t) {
    case Type::Text: return "text";
    case Type::Multiline: return "multiline";
    case Type::Number: return "number";
    case Type::Integer: return "integer";
    case Type::Bool: return "bool";
    case Type::Choice: return "choice";
    case Type::Numbers: return "numbers";
    case Type::Texts: return "texts";
    case Type::Grid: return "grid";
    case Type::Criteria: return "criteria";
    }
    return "text";
}

struct Option {
    int32_t value;
    const char *label;
};
using Options = std::vector<Option>;

// Number flags: how the file writes the number.
enum : int {
    kSixDigits = 1, // "%g": six significant digits
    kSingle = 2,    // a single-precision field
    kRect = 4,      // a list of no numbers (none) or of four (x1, y1, x2, y2)
    kFour = 8,      // a list of exactly four numbers
    kIntItems = 16, // a list of int32 values
    kPositive = 32, // above 0
};

using Visible = std::function<bool(const json &)>;

struct Desc {
    const char *key;
    const char *label;
    Type type;
    const Options *options = nullptr;
    double min = -kInf, max = kInf; // numbers, integers and list items
    int flags = 0;
    Visible visible;                // null: always shown
    const char *cellType = nullptr; // grids

    Desc(const char *k, const char *l, Type t, const Options *o = nullptr) : key(k), label(l), type(t), options(o) {}
    Desc range(double lo, double hi = kInf) const {
        Desc d = *this;
        d.min = lo;
        d.max = hi;
        return d;
    }
    Desc with(int f) const {
        Desc d = *this;
        d.flags |= f;
        return d;
    }
    Desc shownIf(Visible v) const {
        Desc d = *this;
        d.visible = std::move(v);
        return d;
    }
    Desc cells(const char *t) const {
        Desc d = *this;
        d.cellType = t;
        return d;
    }
};

// ---- value words ----

const Options kDataTypes = {{0, "Binary"},         {1, "Unsigned2"},  {2, "Unsigned4"}, {3, "Unsigned8"},
                            {4, "Signed8"},        {5, "Unsigned16"}, {6, "Signed16"},  {7, "Unsigned32"},
                            {8, "Signed32"},       {9, "Float"},      {10, "Double"},   {11, "Complex"},
                            {12, "Doublecomplex"}, {13, "String"}};
const Options kTableTypes = {{0, "Binary"}, {1, "Signed32"}, {2, "Double"}, {3, "String"}, {4, "Color"}};
const Options kInterpolations = {{0, "Nearest"}, {1, "Bilinear"}, {2, "Cubic"}};
const Options kCompressions = {{0, "Uncompressed"}, {1, "Rle"}};
const Options kCoordinates = {{0, "Map"}, {1, "Pixel"}};
const Options kAoiModes = {{0, "None"}, {1, "Default"}, {2, "File"}};
const Options kVectorTypes = {{0, "Coverage"}, {1, "Annotation"}};
const Options kGroundUnits = {{0, "Meters"}, {1, "Feet"}};
const Options kMatrixSources = {{0, "Builtin"}, {1, "Value"}, {2, "Read"}, {3, "Output"}};
const Options kKernels = {{0, "Edgedetect"}, {1, "Edgeenhance"}, {2, "Lowpass"}, {3, "Highpass"}, {4, "Horizontal"},
                          {5, "Vertical"},   {6, "Summary"},     {7, "Sobel1"},  {8, "Sobel2"}};
const Options kTableSources = {{0, "Value"}, {1, "Layer"}, {2, "Read"}, {3, "Output"}};
const Options kLayerKinds = {{0, "Imagename"}, {1, "Variablename"}, {2, "Coveragename"}, {3, "Annotationname"}};
const Options kAreas = {{0, "Union"}, {1, "Intersection"}};
const Options kStyles = {{0, "Normal"},
                         {1, "Bold"},
                         {2, "Italics"},
                         {3, "Bold, Italics"},
                         {4, "Underlined"},
                         {5, "Bold, Underlined"},
                         {6, "Italics, Underlined"},
                         {7, "Bold, Italics, Underlined"}};
const Options kPageUnits = {{0, "Inches"}, {1, "Centimeters"}};
const Options kOrientations = {{0, "Portrait"}, {1, "Landscape"}};
const Options kCellSizeModes = {{0, "Minimum"}, {1, "Maximum"}, {2, "Given"}};
const Options kWindowModes = {{0, "Union"}, {1, "Intersection"}, {2, "Given"}};
const Options kProjectionModes = {{0, "Default"}, {1, "Sameas"}, {2, "Specify"}};

// Each list of choices under the name a FIELD gives instead of the list itself.
struct ChoiceList {
    const char *name;
    const Options *options;
};
const ChoiceList kChoiceLists[] = {
    {"dataTypes", &kDataTypes},       {"tableTypes", &kTableTypes},       {"interpolations", &kInterpolations},
    {"compressions", &kCompressions}, {"coordinates", &kCoordinates},     {"aoiModes", &kAoiModes},
    {"vectorTypes", &kVectorTypes},   {"groundUnits", &kGroundUnits},     {"matrixSources", &kMatrixSources},
    {"kernels", &kKernels},           {"tableSources", &kTableSources},   {"layerKinds", &kLayerKinds},
    {"areas", &kAreas},               {"styles", &kStyles},               {"pageUnits", &kPageUnits},
    {"orientations", &kOrientations}, {"cellSizeModes", &kCellSizeModes}, {"windowModes", &kWindowModes},
    {"projectionModes", &kProjectionModes}};

json optionsOf(const Options &list) {
    json options = json::array();
    for (const Option &o : list) options.push_back(json{{"value", o.value}, {"label", o.label}});
    return options;
}

// The FIELD object of d without its value: a choice with its options, or with the name of
// its list when byName.
json fieldHead(const Desc &d, bool byName) {
    json field{{"key", d.key}, {"label", d.label}, {"type", typeName(d.type)}};
    if (d.options != nullptr && byName) {
        for (const ChoiceList &list : kChoiceLists)
            if (list.options == d.options) field["choices"] = list.name;
    } else if (d.options != nullptr) {
        field["options"] = optionsOf(*d.options);
    }
    if (d.cellType != nullptr) field["cellType"] = d.cellType;
    return field;
}

// ---- reading records into values ----

json textOf(const char *s) { return s != nullptr ? s : ""; }
json rectOf(const Vmod_Rect *r) { return r != nullptr ? json::array({r->x1, r->y1, r->x2, r->y2}) : json::array(); }
json classesOf(int32_t n, const int32_t *classes) {
    json list = json::array();
    for (int32_t i = 0; i < n; ++i) list.push_back(classes != nullptr ? classes[i] : 0);
    return list;
}
bool on(const json &v, const char *key) { return v[key].get<bool>(); }
int32_t num(const json &v, const char *key) { return v[key].get<int32_t>(); }

// ---- writing values into records ----

// A string field: empty text leaves it unset, as a model file without the statement does.
void putText(char *&field, const json &value) {
    const std::string &s = value.get_ref<const std::string &>();
    omsc_HeapFree(field);
    field = s.empty() ? nullptr : ostr_Duplicate(s.c_str());
}
// A string of a list: always a string, as the reader gives every item.
char *listText(const json &value) { return ostr_Duplicate(value.get_ref<const std::string &>().c_str()); }

void putRect(Vmod_Rect *&rect, const json &list) {
    if (list.empty()) {
        if (rect != nullptr) vmod_RectDelete(rect, nullptr);
        rect = nullptr;
        return;
    }
    if (rect == nullptr) rect = vmod_RectCreate(nullptr);
    if (rect == nullptr) return;
    rect->x1 = list[0].get<double>();
    rect->y1 = list[1].get<double>();
    rect->x2 = list[2].get<double>();
    rect->y2 = list[3].get<double>();
}

template <typename T> T *newArray(size_t n) {
    return n > 0 ? static_cast<T *>(omsc_HeapMalloc(n * sizeof(T))) : nullptr;
}

void putClasses(int32_t &numClasses, int32_t *&newClasses, const json &list) {
    omsc_HeapFree(newClasses);
    numClasses = static_cast<int32_t>(list.size());
    newClasses = newArray<int32_t>(list.size());
    if (newClasses == nullptr) numClasses = 0;
    for (int32_t i = 0; i < numClasses; ++i) newClasses[i] = list[i].get<int32_t>();
}

// ---- checking one value ----

double sixDigits(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", x);
    return std::strtod(text, nullptr);
}

bool checkText(const json &v, std::string &why) {
    if (!v.is_string()) return why = "is not a text", false;
    const std::string &s = v.get_ref<const std::string &>();
    if (s.find('\0') != std::string::npos) return why = "holds a zero character", false;
    if (!s.empty() && s.back() == '\\') return why = "ends in a backslash, which a model file cannot carry", false;
    return true;
}

std::string rangeText(double min, double max) {
    auto fmt = [](double x) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", x);
        return std::string(text);
    };
    if (min > -kInf && max < kInf) return "from " + fmt(min) + " to " + fmt(max);
    if (min > -kInf) return "at least " + fmt(min);
    return "at most " + fmt(max);
}

// A finite number in [min, max], rounded as the file keeps it; an integer when whole.
bool checkNumber(json &v, const Desc &d, bool whole, std::string &why) {
    if (!v.is_number()) return why = "is not a number", false;
    double x = v.get<double>();
    if (!std::isfinite(x)) return why = "is not a finite number", false;
    if (whole && x != std::trunc(x)) return why = "is not a whole number", false;
    if (d.flags & kSingle) {
        if (std::fabs(x) > std::numeric_limits<float>::max()) return why = "is too large", false;
        x = static_cast<double>(static_cast<float>(x));
    }
    if (d.flags & kSixDigits) x = sixDigits(x);
    double min = d.min, max = d.max;
    if (whole) {
        min = std::max(min, static_cast<double>(std::numeric_limits<int32_t>::min()));
        max = std::min(max, static_cast<double>(std::numeric_limits<int32_t>::max()));
    }
    if (x < min || x > max) return why = "must be " + rangeText(min, max), false;
    if ((d.flags & kPositive) && x <= 0) return why = "must be above 0", false;
    if (whole)
        v = static_cast<int32_t>(x);
    else
        v = x;
    return true;
}

bool checkValue(json &v, const Desc &d, std::string &why) {
    switch (d.type) {
    case Type::Text:
    case Type::Multiline: return checkText(v, why);
    case Type::Number: return checkNumber(v, d, false, why);
    case Type::Integer: return checkNumber(v, d, true, why);
    case Type::Bool:
        if (!v.is_boolean()) return why = "is not true or false", false;
        return true;
    case Type::Choice:
        if (v.is_number()) {
            double x = v.get<double>();
            for (const Option &o : *d.options)
                if (x == o.value) return v = o.value, true;
        }
        return why = "is not one of the choices", false;
    case Type::Numbers: {
        if (!v.is_array()) return why = "is not a list of numbers", false;
        if (static_cast<int64_t>(v.size()) > kMaxListEntries) return why = "is too long a list", false;
        if ((d.flags & kRect) && !v.empty() && v.size() != 4)
            return why = "must hold four numbers (x1, y1, x2, y2) or none", false;
        if ((d.flags & kFour) && v.size() != 4) return why = "must hold four numbers", false;
        for (json &item : v)
            if (!checkNumber(item, d, (d.flags & kIntItems) != 0, why)) return why = "has an item that " + why, false;
        return true;
    }
    case Type::Texts: {
        if (!v.is_array()) return why = "is not a list of texts", false;
        if (static_cast<int64_t>(v.size()) > kMaxListEntries) return why = "is too long a list", false;
        for (json &item : v)
            if (!checkText(item, why)) return why = "has an item that " + why, false;
        return true;
    }
    case Type::Grid: {
        if (!v.is_object() || !v.contains("rows") || !v.contains("columns") || !v.contains("cells"))
            return why = "is not a grid of rows, columns and cells", false;
        const json &r = v["rows"], &c = v["columns"], &cells = v["cells"];
        if (!r.is_number_integer() || !c.is_number_integer() || r.get<int64_t>() < 0 || c.get<int64_t>() < 0)
            return why = "has rows or columns that are not counts", false;
        int64_t rows = r.get<int64_t>(), columns = c.get<int64_t>();
        if (rows > kMaxListEntries || columns > kMaxListEntries || rows * columns > kMaxListEntries)
            return why = "is too large a grid", false;
        if (!cells.is_array() || static_cast<int64_t>(cells.size()) != rows)
            return why = "does not hold one list of cells per row", false;
        for (json &row : v["cells"]) {
            if (!row.is_array() || static_cast<int64_t>(row.size()) != columns)
                return why = "has a row without one cell per column", false;
            for (json &cell : row)
                if (!checkNumber(cell, d, false, why)) return why = "has a cell that " + why, false;
        }
        return true;
    }
    case Type::Criteria: {
        if (!v.is_object() || !v.contains("columnTitles") || !v.contains("rows") || !v.contains("default"))
            return why = "is not a table of column titles, rows and a default", false;
        json &titles = v["columnTitles"];
        if (!titles.is_array() || static_cast<int64_t>(titles.size()) > kMaxListEntries)
            return why = "has column titles that are not a list", false;
        for (json &t : titles)
            if (!checkText(t, why)) return why = "has a column title that " + why, false;
        json &rows = v["rows"];
        if (!rows.is_array() || static_cast<int64_t>(rows.size()) > kMaxListEntries)
            return why = "has rows that are not a list", false;
        if (static_cast<int64_t>(rows.size()) * static_cast<int64_t>(titles.size()) > kMaxListEntries)
            return why = "is too large a table", false;
        const Desc six = Desc("", "", Type::Number).with(kSixDigits);
        for (json &row : rows) {
            if (!row.is_object() || !row.contains("cells") || !row.contains("output") || !row["cells"].is_array())
                return why = "has a row without cells and an output value", false;
            if (row["cells"].size() != titles.size()) return why = "has a row without one cell per column", false;
            for (json &cell : row["cells"])
                if (!checkText(cell, why)) return why = "has a cell that " + why, false;
            if (!checkNumber(row["output"], six, false, why)) return why = "has an output value that " + why, false;
        }
        if (!checkNumber(v["default"], six, false, why)) return why = "has a default value that " + why, false;
        return true;
    }
    }
    return false;
}

// ---- the kinds ----

// How one kind is described, read and written. `settle` makes the lists agree with their
// sizes after a change (given: the keys that were sent) and checks what no single value
// shows; `write` puts every value into the record.
struct Kind {
    std::vector<Desc> descs;
    std::function<json(const Vmod_Node *)> read;
    std::function<bool(json &, const json &given, std::string &)> settle;
    std::function<void(Vmod_Node *, const json &)> write;
    std::vector<json> heads;       // made by finished()
    std::vector<json> namingHeads; // the same, naming their lists of choices
};

// A list and its size: a new size alone resizes the list (new entries are filler), a list
// alone gives the size, and both must agree.
bool settleList(json &values, const json &given, const char *sizeKey, const char *listKey, const json &filler,
                std::string &why) {
    bool size = given.contains(sizeKey), list = given.contains(listKey);
    int64_t n = values[sizeKey].get<int64_t>();
    json &items = values[listKey];
    if (size && list && static_cast<int64_t>(items.size()) != n)
        return why = std::string("the ") + listKey + " list does not hold " + sizeKey + " entries", false;
    if (list) {
        values[sizeKey] = static_cast<int64_t>(items.size());
    } else {
        while (static_cast<int64_t>(items.size()) > n) items.erase(items.size() - 1);
        while (static_cast<int64_t>(items.size()) < n) items.push_back(filler);
    }
    return true;
}

const Desc titleDesc{"title", "Title", Type::Text};

Visible when(const char *key) {
    return [key](const json &v) { return on(v, key); };
}
Visible unless(const char *key) {
    return [key](const json &v) { return !on(v, key); };
}

// -- raster --
Kind rasterKind() {
    Kind k;
    auto temporary = [](const json &v) { return on(v, "tempFile") && !on(v, "prompt"); };
    k.descs = {
        titleDesc,
        Desc("prompt", "Prompt for the file", Type::Bool),
        Desc("promptText", "Prompt text", Type::Text).shownIf(when("prompt")),
        Desc("tempFile", "Temporary file", Type::Bool).shownIf(unless("prompt")),
        Desc("fileName", "File name", Type::Text).shownIf([](const json &v) {
            return !on(v, "prompt") && !on(v, "tempFile");
        }),
        Desc("newFile", "New file", Type::Bool),
        Desc("deleteFile", "Delete the file afterwards", Type::Bool).shownIf(when("newFile")),
        Desc("ignoreSet", "Ignore a value", Type::Bool),
        Desc("ignoreValue", "Ignore value", Type::Number).shownIf(when("ignoreSet")),
        Desc("interpolation", "Interpolation", Type::Choice, &kInterpolations),
        Desc("thematic", "Thematic", Type::Bool),
        Desc("dataType", "Data type", Type::Choice, &kDataTypes),
        Desc("declare", "Declaration", Type::Text),
        Desc("compression", "Compression", Type::Choice, &kCompressions),
        Desc("coordinates", "Coordinates", Type::Choice, &kCoordinates),
        Desc("areaRect", "Area rectangle (x1, y1, x2, y2)", Type::Numbers).with(kRect),
        Desc("aoiMode", "Area of interest", Type::Choice, &kAoiModes).shownIf([temporary](const json &v) {
            return !on(v, "newFile") && !temporary(v);
        }),
        Desc("aoiFile", "Area of interest file", Type::Text).shownIf([temporary](const json &v) {
            return !on(v, "newFile") && !temporary(v) && num(v, "aoiMode") == VMOD_AOI_FILE;
        }),
        Desc("recode", "Recode", Type::Bool),
        Desc("numClasses", "Number of classes", Type::Integer).range(0, kMaxListEntries).shownIf(when("recode")),
        Desc("newClasses", "New classes", Type::Numbers).with(kIntItems).shownIf(when("recode")),
    };
    k.read = [](const Vmod_Node *node) {
        const auto *r = static_cast<const Vmod_RasterData *>(node->data);
        return json{{"prompt", r->prompt != 0},
                    {"promptText", textOf(r->promptText)},
                    {"tempFile", r->tempFile != 0},
                    {"fileName", textOf(r->fileName)},
                    {"newFile", r->newFile != 0},
                    {"deleteFile", r->deleteFile != 0},
                    {"ignoreSet", r->ignoreSet != 0},
                    {"ignoreValue", r->ignoreValue},
                    {"interpolation", r->interpolation},
                    {"thematic", r->thematic != 0},
                    {"dataType", r->dataType},
                    {"declare", textOf(r->declare)},
                    {"compression", r->compression},
                    {"coordinates", r->coordinates},
                    // Only a rectangle area is written; the others read back as none.
                    {"areaRect", r->areaFlag == VMOD_RASTER_AREA_RECTANGLE ? rectOf(r->areaRect) : json::array()},
                    {"aoiMode", r->aoiMode},
                    {"aoiFile", textOf(r->aoiFile)},
                    {"recode", r->recode != 0},
                    {"numClasses", r->numClasses},
                    {"newClasses", classesOf(r->numClasses, r->newClasses)}};
    };
    k.settle = [](json &v, const json &given, std::string &why) {
        return settleList(v, given, "numClasses", "newClasses", 0, why);
    };
    k.write = [](Vmod_Node *node, const json &v) {
        auto *r = static_cast<Vmod_RasterData *>(node->data);
        r->prompt = on(v, "prompt");
        putText(r->promptText, v["promptText"]);
        // A prompted raster is named at run time; the file cannot also call it temporary.
        r->tempFile = on(v, "tempFile") && !r->prompt;
        putText(r->fileName, v["fileName"]);
        r->newFile = on(v, "newFile");
        r->deleteFile = on(v, "deleteFile");
        r->ignoreSet = on(v, "ignoreSet");
        r->ignoreValue = v["ignoreValue"].get<double>();
        r->interpolation = num(v, "interpolation");
        r->thematic = on(v, "thematic");
        r->dataType = num(v, "dataType");
        putText(r->declare, v["declare"]);
        // A temporary raster without a declaration reads back declared "Float".
        if (r->tempFile && r->declare == nullptr) r->declare = ostr_Duplicate("Float");
        r->compression = num(v, "compression");
        r->coordinates = num(v, "coordinates");
        if (!v["areaRect"].empty() || r->areaFlag == VMOD_RASTER_AREA_RECTANGLE) {
            putRect(r->areaRect, v["areaRect"]);
            r->areaFlag = VMOD_RASTER_AREA_RECTANGLE;
        }
        r->aoiMode = num(v, "aoiMode");
        putText(r->aoiFile, v["aoiFile"]);
        r->recode = on(v, "recode");
        putClasses(r->numClasses, r->newClasses, v["newClasses"]);
    };
    return k;
}

// -- vector --
Kind vectorKind() {
    Kind k;
    k.descs = {
        titleDesc,
        Desc("vectorType", "Vector type", Type::Choice, &kVectorTypes),
        Desc("prompt", "Prompt for the file", Type::Bool),
        Desc("promptText", "Prompt text", Type::Text).shownIf(when("prompt")),
        Desc("fileName", "File name", Type::Text).shownIf(unless("prompt")),
        Desc("feature", "Feature", Type::Text).shownIf([](const json &v) {
            return num(v, "vectorType") == VMOD_VECTOR_COVERAGE;
        }),
        Desc("tempFile", "Temporary file", Type::Bool),
        Desc("cellSizeSet", "Give a cell size", Type::Bool),
        Desc("cellSizeX", "Cell size x", Type::Number).range(0).with(kSingle | kPositive).shownIf(when("cellSizeSet")),
        Desc("cellSizeY", "Cell size y", Type::Number).range(0).with(kSingle | kPositive).shownIf(when("cellSizeSet")),
        Desc("cellSizeUnits", "Cell size units", Type::Choice, &kGroundUnits).shownIf(when("cellSizeSet")),
        Desc("declare", "Declaration", Type::Text),
        Desc("window", "Window (x1, y1, x2, y2)", Type::Numbers).with(kRect),
        Desc("aoiMode", "Area of interest", Type::Choice, &kAoiModes),
        Desc("aoiFile", "Area of interest file", Type::Text).shownIf([](const json &v) {
            return num(v, "aoiMode") == VMOD_AOI_FILE;
        }),
        Desc("attribute", "Attribute", Type::Text).shownIf(unless("recode")),
        Desc("recode", "Recode", Type::Bool),
        Desc("numClasses", "Number of classes", Type::Integer).range(0, kMaxListEntries).shownIf(when("recode")),
        Desc("newClasses", "New classes", Type::Numbers).with(kIntItems).shownIf(when("recode")),
    };
    k.read = [](const Vmod_Node *node) {
        const auto *r = static_cast<const Vmod_VectorData *>(node->data);
        return json{{"vectorType", r->vectorType},
                    {"prompt", r->prompt != 0},
                    {"promptText", textOf(r->promptText)},
                    {"fileName", textOf(r->fileName)},
                    {"feature", textOf(r->feature)},
                    {"tempFile", r->tempFile != 0},
                    {"cellSizeSet", r->cellSizeSet != 0},
                    {"cellSizeX", static_cast<double>(r->cellSizeX)},
                    {"cellSizeY", static_cast<double>(r->cellSizeY)},
                    {"cellSizeUnits", r->cellSizeUnits},
                    {"declare", textOf(r->declare)},
                    {"window", rectOf(r->window)},
                    {"aoiMode", r->aoiMode},
                    {"aoiFile", textOf(r->aoiFile)},
                    {"attribute", textOf(r->attribute)},
                    {"recode", r->recode != 0},
                    {"numClasses", r->numClasses},
                    {"newClasses", classesOf(r->numClasses, r->newClasses)}};
    };
    k.settle = [](json &v, const json &given, std::string &why) {
        return settleList(v, given, "numClasses", "newClasses", 0, why);
    };
    k.write = [](Vmod_Node *node, const json &v) {
        auto *r = static_cast<Vmod_VectorData *>(node->data);
        r->vectorType = num(v, "vectorType");
        r->prompt = on(v, "prompt");
        putText(r->promptText, v["promptText"]);
        putText(r->fileName, v["fileName"]);
        putText(r->feature, v["feature"]);
        r->tempFile = on(v, "tempFile");
        r->cellSizeSet = on(v, "cellSizeSet");
        r->cellSizeX = static_cast<float>(v["cellSizeX"].get<double>());
        r->cellSizeY = static_cast<float>(v["cellSizeY"].get<double>());
        r->cellSizeUnits = num(v, "cellSizeUnits");
        putText(r->declare, v["declare"]);
        putRect(r->window, v["window"]);
        r->aoiMode = num(v, "aoiMode");
        putText(r->aoiFile, v["aoiFile"]);
        putText(r->attribute, v["attribute"]);
        r->recode = on(v, "recode");
        putClasses(r->numClasses, r->newClasses, v["newClasses"]);
    };
    return k;
}

// The prompt of a matrix or table: asked for the file it reads, or for the file it writes.
bool storedPrompted(const json &v) {
    int32_t source = num(v, "source");
    return source == 2 || (source == 3 && on(v, "write"));
}

// A grid of rows x columns numbers from an array of rows * columns values.
json gridOf(int32_t rows, int32_t columns, const double *values) {
    json cells = json::array();
    for (int32_t i = 0; i < rows; ++i) {
        json row = json::array();
        for (int32_t j = 0; j < columns; ++j)
            row.push_back(values != nullptr ? values[static_cast<int64_t>(i) * columns + j] : 0.0);
        cells.push_back(std::move(row));
    }
    return json{{"rows", rows}, {"columns", columns}, {"cells", std::move(cells)}};
}

// The file a matrix or table is read from or written to, by its source: read from a file
// (readSource) or made by an operation (outputSource), and the prompt for either.
void appendFileDescs(std::vector<Desc> &descs, int32_t readSource, int32_t outputSource) {
    descs.push_back(Desc("readFile", "Read from file", Type::Text).shownIf([readSource](const json &v) {
        return num(v, "source") == readSource && !on(v, "prompt");
    }));
    descs.push_back(Desc("write", "Write to a file", Type::Bool).shownIf([outputSource](const json &v) {
        return num(v, "source") == outputSource;
    }));
    descs.push_back(Desc("writeFile", "Write to file", Type::Text).shownIf([outputSource](const json &v) {
        return num(v, "source") == outputSource && on(v, "write") && !on(v, "prompt");
    }));
    descs.push_back(Desc("prompt", "Prompt for the file", Type::Bool).shownIf(storedPrompted));
    descs.push_back(Desc("promptText", "Prompt text", Type::Text).shownIf([](const json &v) {
        return storedPrompted(v) && on(v, "prompt");
    }));
    descs.push_back(Desc("show", "Show", Type::Bool).shownIf([outputSource](const json &v) {
        return num(v, "source") == outputSource;
    }));
}

// -- matrix --
Kind matrixKind() {
    Kind k;
    auto literal = [](const json &v) { return num(v, "source") <= VMOD_MATRIX_LITERAL; };
    k.descs = {
        titleDesc,
        Desc("columns", "Columns", Type::Integer).range(0, kMaxListEntries),
        Desc("rows", "Rows", Type::Integer).range(0, kMaxListEntries),
        Desc("dataType", "Data type", Type::Choice, &kDataTypes),
        Desc("source", "Values from", Type::Choice, &kMatrixSources),
        Desc("builtin", "Built-in kernel", Type::Choice, &kKernels).shownIf([](const json &v) {
            return num(v, "source") == VMOD_MATRIX_KERNEL;
        }),
        Desc("values", "Values", Type::Grid).shownIf(literal).cells("number"),
    };
    appendFileDescs(k.descs, VMOD_MATRIX_READ, VMOD_MATRIX_OUTPUT);
    k.descs.push_back(Desc("normalize", "Normalize", Type::Bool));
    k.read = [](const Vmod_Node *node) {
        const auto *m = static_cast<const Vmod_MatrixData *>(node->data);
        return json{{"title", textOf(node->title)},
                    {"columns", m->columns},
                    {"rows", m->rows},
                    {"dataType", m->dataType},
                    {"source", m->source},
                    {"builtin", m->builtin},
                    {"values", gridOf(m->rows, m->columns, m->values)},
                    {"readFile", textOf(m->readFile)},
                    {"write", m->write != 0},
                    {"writeFile", textOf(m->writeFile)},
                    {"prompt", m->prompt != 0},
                    {"promptText", textOf(m->promptText)},
                    {"show", m->show != 0},
                    {"normalize", m->normalize != 0}};
    };
    k.settle = [](json &v, const json &given, std::string &why) {
        json &grid = v["values"];
        bool size = given.contains("columns") || given.contains("rows");
        if (given.contains("values")) {
            if (size && (grid["rows"] != v["rows"] || grid["columns"] != v["columns"]))
                return why = "the values grid does not have the matrix's rows and columns", false;
            v["rows"] = grid["rows"];
            v["columns"] = grid["columns"];
        } else if (size) {
            // Resized: the values that still have a place keep it, the new ones are zero.
            int64_t rows = v["rows"].get<int64_t>(), columns = v["columns"].get<int64_t>();
            if (rows * columns > kMaxListEntries) return why = "the matrix has too many values", false;
            json cells = json::array();
            for (int64_t i = 0; i < rows; ++i) {
                json row = json::array();
                for (int64_t j = 0; j < columns; ++j)
                    row.push_back(i < static_cast<int64_t>(grid["cells"].size()) &&
                                          j < static_cast<int64_t>(grid["cells"][i].size())
                                      ? grid["cells"][i][j]
                                      : json(0.0));
                cells.push_back(std::move(row));
            }
            grid = json{{"rows", rows}, {"columns", columns}, {"cells", std::move(cells)}};
        }
        if (num(v, "source") <= VMOD_MATRIX_LITERAL && v["title"].get_ref<const std::string &>().empty())
            for (const json &row : grid["cells"])
                for (const json &cell : row)
                    if (cell.get<double>() != 0.0)
                        return why = "a matrix's values are saved only with its title; give it a title first", false;
        return true;
    };
    k.write = [](Vmod_Node *node, const json &v) {
        auto *m = static_cast<Vmod_MatrixData *>(node->data);
        const json &grid = v["values"];
        int32_t rows = grid["rows"].get<int32_t>(), columns = grid["columns"].get<int32_t>();
        omsc_HeapFree(m->values);
        const size_t count = static_cast<size_t>(rows) * static_cast<size_t>(columns);
        m->values = newArray<double>(count);
        // A matrix of no values keeps its shape (3 columns, 0 rows is written so).
        const bool kept = count == 0 || m->values != nullptr;
        m->rows = kept ? rows : 0;
        m->columns = kept ? columns : 0;
        for (int32_t i = 0; i < m->rows && m->values != nullptr; ++i)
            for (int32_t j = 0; j < m->columns; ++j)
                m->values[static_cast<int64_t>(i) * m->columns + j] = grid["cells"][i][j].get<double>();
        m->dataType = num(v, "dataType");
        m->source = num(v, "source");
        m->builtin = num(v, "builtin");
        // READ marks the matrix read as it sets its source.
        m->read = m->source == VMOD_MATRIX_READ;
        putText(m->readFile, v["readFile"]);
        m->write = on(v, "write");
        putText(m->writeFile, v["writeFile"]);
        m->prompt = on(v, "prompt");
        putText(m->promptText, v["promptText"]);
        m->show = on(v, "show");
        m->normalize = on(v, "normalize");
    };
    return k;
}

// -- table --
Kind tableKind() {
    Kind k;
    auto literal = [](const json &v, int32_t type) {
        if (num(v, "source") != VMOD_TABLE_LITERAL) return false;
        int32_t t = num(v, "dataType");
        return type == VMOD_TABLE_DOUBLE ? t != VMOD_TABLE_STRING && t != VMOD_TABLE_COLOR : t == type;
    };
    auto layer = [](const json &v) {
        int32_t source = num(v, "source");
        return source == VMOD_TABLE_LAYER || (source == VMOD_TABLE_OUTPUT && on(v, "outputToLayer"));
    };
    auto layerPrompted = [layer](const json &v) {
        return layer(v) && num(v, "layerKind") != VMOD_LAYER_VARIABLE && on(v, "promptLayerFile");
    };
    k.descs = {
        titleDesc,
        Desc("size", "Size", Type::Integer).range(0, kMaxListEntries),
        Desc("dataType", "Data type", Type::Choice, &kTableTypes),
        Desc("source", "Values from", Type::Choice, &kTableSources),
        Desc("values", "Values", Type::Numbers).shownIf([literal](const json &v) {
            return literal(v, VMOD_TABLE_DOUBLE);
        }),
        Desc("strings", "Values", Type::Texts).shownIf([literal](const json &v) {
            return literal(v, VMOD_TABLE_STRING);
        }),
        Desc("colors", "Colors", Type::Grid)
            .with(kSixDigits)
            .shownIf([literal](const json &v) { return literal(v, VMOD_TABLE_COLOR); })
            .cells("number"),
        Desc("outputToLayer", "Output to a layer", Type::Bool).shownIf([](const json &v) {
            return num(v, "source") == VMOD_TABLE_OUTPUT;
        }),
        Desc("layerKind", "Layer", Type::Choice, &kLayerKinds).shownIf(layer),
        Desc("promptLayerFile", "Prompt for the layer file", Type::Bool).shownIf([layer](const json &v) {
            return layer(v) && num(v, "layerKind") != VMOD_LAYER_VARIABLE;
        }),
        Desc("promptLayerText", "Layer prompt text", Type::Text).shownIf(layerPrompted),
        Desc("layerFile", "Layer file", Type::Text).shownIf([layer, layerPrompted](const json &v) {
            return layer(v) && !layerPrompted(v);
        }),
        Desc("layerName", "Layer name", Type::Text).shownIf([layer](const json &v) {
            int32_t kind = num(v, "layerKind");
            return layer(v) && (kind == VMOD_LAYER_IMAGE || kind == VMOD_LAYER_COVERAGE);
        }),
        Desc("fieldName", "Field name", Type::Text).shownIf(layer),
    };
    appendFileDescs(k.descs, VMOD_TABLE_READ, VMOD_TABLE_OUTPUT);
    k.read = [](const Vmod_Node *node) {
        const auto *t = static_cast<const Vmod_TableData *>(node->data);
        json values = json::array(), strings = json::array(), colors = json::array();
        for (int32_t i = 0; i < t->size; ++i) {
            values.push_back(t->values != nullptr ? t->values[i] : 0.0);
            strings.push_back(t->strings != nullptr ? textOf(t->strings[i]) : json(""));
            const Vmod_TableColor *c = t->colors != nullptr ? t->colors[i] : nullptr;
            colors.push_back(c != nullptr ? json::array({c->value[0], c->value[1], c->value[2], c->value[3]})
                                          : json::array({0.0, 0.0, 0.0, 0.0}));
        }
        return json{{"size", t->size},
                    {"dataType", t->dataType},
                    {"source", t->source},
                    {"values", std::move(values)},
                    {"strings", std::move(strings)},
                    {"colors", json{{"rows", t->size}, {"columns", 4}, {"cells", std::move(colors)}}},
                    {"outputToLayer", t->outputToLayer != 0},
                    {"layerKind", t->layerKind},
                    {"promptLayerFile", t->promptLayerFile != 0},
                    {"promptLayerText", textOf(t->promptLayerText)},
                    {"layerFile", textOf(t->layerFile)},
                    {"layerName", textOf(t->layerName)},
                    {"fieldName", textOf(t->fieldName)},
                    {"readFile", textOf(t->readFile)},
                    {"write", t->write != 0},
                    {"writeFile", textOf(t->writeFile)},
                    {"prompt", t->prompt != 0},
                    {"promptText", textOf(t->promptText)},
                    {"show", t->show != 0}};
    };
    k.settle = [](json &v, const json &given, std::string &why) {
        // The colours are a grid of one row of four numbers per entry; settled, a list.
        if (given.contains("colors") && v["colors"]["columns"] != 4)
            return why = "the colors grid does not have four columns", false;
        json colors = v["colors"]["cells"];
        v["colors"] = std::move(colors);
        // A list sent gives the size; every list follows the size, so that a change of
        // data type finds its list whole.
        int64_t sent = -1;
        for (const char *key : {"values", "strings", "colors"}) {
            if (!given.contains(key)) continue;
            int64_t n = static_cast<int64_t>(v[key].size());
            if (sent >= 0 && n != sent) return why = "the value lists are of different lengths", false;
            sent = n;
        }
        if (sent >= 0) {
            if (given.contains("size") && v["size"].get<int64_t>() != sent)
                return why = "the values do not number the table's size", false;
            v["size"] = sent;
        }
        const int64_t size = v["size"].get<int64_t>();
        const json fillers[] = {0.0, "", json::array({0.0, 0.0, 0.0, 0.0})};
        int f = 0;
        for (const char *key : {"values", "strings", "colors"}) {
            json &items = v[key];
            while (static_cast<int64_t>(items.size()) > size) items.erase(items.size() - 1);
            while (static_cast<int64_t>(items.size()) < size) items.push_back(fillers[f]);
            ++f;
        }
        // Numbers that do not fit the data type are the validator's to report: the file
        // carries them, and refusing them here would lock a read model's other fields.
        if (num(v, "source") == VMOD_TABLE_LAYER && num(v, "layerKind") == VMOD_LAYER_VARIABLE)
            return why = "a table read from a layer reads an image, coverage or annotation layer; a variable is given "
                         "by its arrow",
                   false;
        return true;
    };
    k.write = [](Vmod_Node *node, const json &v) {
        auto *t = static_cast<Vmod_TableData *>(node->data);
        int32_t old = t->size;
        if (t->strings != nullptr)
            for (int32_t i = 0; i < old; ++i) omsc_HeapFree(t->strings[i]);
        if (t->colors != nullptr)
            for (int32_t i = 0; i < old; ++i) omsc_HeapFree(t->colors[i]);
        omsc_HeapFree(t->values);
        omsc_HeapFree(t->strings);
        omsc_HeapFree(t->colors);
        // The reader makes all three arrays for a table of any data type; so does this.
        const size_t n = v["size"].get<size_t>();
        t->values = newArray<double>(n);
        t->strings = newArray<char *>(n);
        t->colors = newArray<Vmod_TableColor *>(n);
        t->size = t->values != nullptr && t->strings != nullptr && t->colors != nullptr ? static_cast<int32_t>(n) : 0;
        for (int32_t i = 0; i < t->size; ++i) {
            t->values[i] = v["values"][i].get<double>();
            t->strings[i] = listText(v["strings"][i]);
            if (auto *c = static_cast<Vmod_TableColor *>(omsc_HeapMalloc(sizeof(Vmod_TableColor)))) {
                for (int j = 0; j < 4; ++j) c->value[j] = v["colors"][i][j].get<double>();
                t->colors[i] = c;
            }
        }
        t->dataType = num(v, "dataType");
        t->source = num(v, "source");
        t->outputToLayer = on(v, "outputToLayer");
        t->layerKind = num(v, "layerKind");
        t->promptLayerFile = on(v, "promptLayerFile");
        putText(t->promptLayerText, v["promptLayerText"]);
        putText(t->layerFile, v["layerFile"]);
        putText(t->layerName, v["layerName"]);
        putText(t->fieldName, v["fieldName"]);
        t->read = t->source == VMOD_TABLE_READ;
        putText(t->readFile, v["readFile"]);
        t->write = on(v, "write");
        putText(t->writeFile, v["writeFile"]);
        t->prompt = on(v, "prompt");
        putText(t->promptText, v["promptText"]);
        t->show = on(v, "show");
    };
    return k;
}

// -- scalar --
Kind scalarKind() {
    Kind k;
    auto prompted = [](const json &v) { return on(v, "read") || on(v, "write"); };
    k.descs = {
        titleDesc,
        Desc("dataType", "Data type", Type::Choice, &kDataTypes),
        Desc("value", "Value", Type::Number),
        Desc("read", "Read from a file", Type::Bool),
        Desc("readFile", "Read from file", Type::Text).shownIf([](const json &v) {
            return on(v, "read") && !on(v, "prompt");
        }),
        Desc("write", "Write to a file", Type::Bool),
        Desc("writeFile", "Write to file", Type::Text).shownIf([](const json &v) {
            return on(v, "write") && !on(v, "prompt");
        }),
        Desc("prompt", "Prompt for the file", Type::Bool).shownIf(prompted),
        Desc("promptText", "Prompt text", Type::Text).shownIf([prompted](const json &v) {
            return prompted(v) && on(v, "prompt");
        }),
        Desc("show", "Show", Type::Bool),
    };
    k.read = [](const Vmod_Node *node) {
        const auto *s = static_cast<const Vmod_ScalarData *>(node->data);
        return json{{"dataType", s->dataType},  {"value", s->value},
                    {"read", s->read != 0},     {"readFile", textOf(s->readFile)},
                    {"write", s->write != 0},   {"writeFile", textOf(s->writeFile)},
                    {"prompt", s->prompt != 0}, {"promptText", textOf(s->promptText)},
                    {"show", s->show != 0}};
    };
    k.settle = [](json &, const json &, std::string &) { return true; };
    k.write = [](Vmod_Node *node, const json &v) {
        auto *s = static_cast<Vmod_ScalarData *>(node->data);
        s->dataType = num(v, "dataType");
        s->value = v["value"].get<double>();
        s->read = on(v, "read");
        putText(s->readFile, v["readFile"]);
        s->write = on(v, "write");
        putText(s->writeFile, v["writeFile"]);
        s->prompt = on(v, "prompt");
        putText(s->promptText, v["promptText"]);
        s->show = on(v, "show");
    };
    return k;
}

// -- function --
Kind functionKind() {
    Kind k;
    k.descs = {
        titleDesc,
        Desc("expression", "Expression", Type::Multiline),
        Desc("area", "Area", Type::Choice, &kAreas),
    };
    k.read = [](const Vmod_Node *node) {
        const auto *f = static_cast<const Vmod_FunctionData *>(node->data);
        return json{{"expression", textOf(f->expression)}, {"area", f->area}};
    };
    k.settle = [](json &, const json &, std::string &) { return true; };
    k.write = [](Vmod_Node *node, const json &v) {
        auto *f = static_cast<Vmod_FunctionData *>(node->data);
        putText(f->expression, v["expression"]);
        f->area = num(v, "area");
    };
    return k;
}

// -- criteria --
Kind criteriaKind() {
    Kind k;
    k.descs = {
        titleDesc,
        Desc("criteria", "Criteria", Type::Criteria),
    };
    k.read = [](const Vmod_Node *node) {
        const auto *c = static_cast<const Vmod_CriteriaData *>(node->data);
        json titles = json::array(), rows = json::array();
        for (int32_t j = 0; j < c->columns; ++j)
            titles.push_back(c->columnTitles != nullptr ? textOf(c->columnTitles[j]) : json(""));
        for (int32_t i = 0; i < c->rows; ++i) {
            json cells = json::array();
            for (int32_t j = 0; j < c->columns; ++j)
                cells.push_back(c->cells != nullptr ? textOf(c->cells[static_cast<int64_t>(i) * c->columns + j])
                                                    : json(""));
            // Without output values, row i yields i + 1.
            double output = c->outputValues != nullptr ? c->outputValues[i] : i + 1.0;
            rows.push_back(json{{"cells", std::move(cells)}, {"output", output}});
        }
        return json{
            {"criteria",
             json{{"columnTitles", std::move(titles)}, {"rows", std::move(rows)}, {"default", c->defaultValue}}}};
    };
    k.settle = [](json &, const json &, std::string &) { return true; };
    k.write = [](Vmod_Node *node, const json &v) {
        auto *c = static_cast<Vmod_CriteriaData *>(node->data);
        const json &table = v["criteria"];
        if (c->columnTitles != nullptr)
            for (int32_t j = 0; j < c->columns; ++j) omsc_HeapFree(c->columnTitles[j]);
        if (c->cells != nullptr)
            for (int64_t i = 0; i < static_cast<int64_t>(c->columns) * c->rows; ++i) omsc_HeapFree(c->cells[i]);
        omsc_HeapFree(c->columnTitles);
        omsc_HeapFree(c->cells);
        omsc_HeapFree(c->outputValues);
        const json &titles = table["columnTitles"], &rows = table["rows"];
        c->columns = static_cast<int32_t>(titles.size());
        c->rows = static_cast<int32_t>(rows.size());
        c->columnTitles = newArray<char *>(titles.size());
        c->cells = newArray<char *>(titles.size() * rows.size());
        c->outputValues = newArray<double>(rows.size());
        for (int32_t j = 0; j < c->columns && c->columnTitles != nullptr; ++j) c->columnTitles[j] = listText(titles[j]);
        for (int32_t i = 0; i < c->rows; ++i) {
            if (c->outputValues != nullptr) c->outputValues[i] = rows[i]["output"].get<double>();
            for (int32_t j = 0; j < c->columns && c->cells != nullptr; ++j)
                c->cells[static_cast<int64_t>(i) * c->columns + j] = listText(rows[i]["cells"][j]);
        }
        c->defaultValue = table["default"].get<double>();
    };
    return k;
}

// -- text --
Kind textKind() {
    Kind k;
    k.descs = {
        Desc("title", "Text", Type::Multiline),
        Desc("font", "Font", Type::Text),
        Desc("size", "Size", Type::Integer).range(1, 1000),
        Desc("style", "Style", Type::Choice, &kStyles),
    };
    k.read = [](const Vmod_Node *node) {
        const auto *t = static_cast<const Vmod_TextData *>(node->data);
        return json{{"font", textOf(t->font)}, {"size", t->size}, {"style", t->style}};
    };
    k.settle = [](json &, const json &, std::string &) { return true; };
    k.write = [](Vmod_Node *node, const json &v) {
        // The font is set last: it gives the node a new payload record.
        auto *t = static_cast<Vmod_TextData *>(node->data);
        t->size = num(v, "size");
        t->style = num(v, "style");
        const std::string &font = v["font"].get_ref<const std::string &>();
        if (font != (t->font != nullptr ? t->font : ""))
            vmodkit_TextSetFont(node, font.empty() ? nullptr : font.c_str(), nullptr);
    };
    return k;
}

Kind finished(Kind kind) {
    for (const Desc &d : kind.descs) {
        kind.heads.push_back(fieldHead(d, false));
        kind.namingHeads.push_back(fieldHead(d, true));
    }
    return kind;
}

const Kind *kindOf(int32_t type) {
    static const Kind kinds[] = {finished(rasterKind()),   finished(vectorKind()), finished(matrixKind()),
                                 finished(tableKind()),    finished(scalarKind()), finished(functionKind()),
                                 finished(criteriaKind()), finished(textKind())};
    return type >= 0 && type < 8 ? &kinds[type] : nullptr;
}

const char *const kKindNames[] = {"raster", "vector", "matrix", "table", "scalar", "function", "criteria", "text"};

// -- header --
Kind headerKind() {
    Kind k;
    auto given = [](const char *key, int32_t mode) {
        return [key, mode](const json &v) { return num(v, key) == mode; };
    };
    k.descs = {
        titleDesc,
        Desc("pageWidth", "Page width", Type::Number).range(0).with(kSixDigits | kPositive),
        Desc("pageHeight", "Page height", Type::Number).range(0).with(kSixDigits | kPositive),
        Desc("pageUnits", "Page units", Type::Choice, &kPageUnits),
        Desc("printerPageWidth", "Printer page width (inches)", Type::Number).range(0).with(kSixDigits | kPositive),
        Desc("printerPageHeight", "Printer page height (inches)", Type::Number).range(0).with(kSixDigits | kPositive),
        Desc("margins", "Margins (top, bottom, left, right)", Type::Numbers).range(0).with(kSixDigits | kFour),
        Desc("orientation", "Orientation", Type::Choice, &kOrientations),
        Desc("printScale", "Print scale (percent)", Type::Number).range(0).with(kSixDigits | kPositive),
        Desc("pageNumbers", "Page numbers", Type::Bool),
        Desc("cellSizeMode", "Cell size", Type::Choice, &kCellSizeModes),
        Desc("cellSizeX", "Cell size x", Type::Number)
            .range(0)
            .with(kSingle | kPositive)
            .shownIf(given("cellSizeMode", VMOD_CELLSIZE_GIVEN)),
        Desc("cellSizeY", "Cell size y", Type::Number)
            .range(0)
            .with(kSingle | kPositive)
            .shownIf(given("cellSizeMode", VMOD_CELLSIZE_GIVEN)),
        Desc("cellSizeUnits", "Cell size units", Type::Choice, &kGroundUnits)
            .shownIf(given("cellSizeMode", VMOD_CELLSIZE_GIVEN)),
        Desc("windowMode", "Window", Type::Choice, &kWindowModes),
        Desc("window", "Window rectangle (x1, y1, x2, y2)", Type::Numbers)
            .with(kRect)
            .shownIf(given("windowMode", VMOD_WINDOW_GIVEN)),
        Desc("windowUnits", "Window units", Type::Choice, &kCoordinates)
            .shownIf(given("windowMode", VMOD_WINDOW_GIVEN)),
        Desc("projectionMode", "Projection", Type::Choice, &kProjectionModes),
        Desc("projectionSameAs", "Projection the same as the file", Type::Text)
            .shownIf(given("projectionMode", VMOD_PROJECTION_SAME_AS)),
        Desc("projectionSpec1", "Projection specification", Type::Text)
            .shownIf(given("projectionMode", VMOD_PROJECTION_SPECIFIED)),
        Desc("projectionSpec2", "Projection specification, second part", Type::Text)
            .shownIf(given("projectionMode", VMOD_PROJECTION_SPECIFIED)),
        Desc("aoiMode", "Area of interest", Type::Choice, &kAoiModes),
        Desc("aoiFile", "Area of interest file", Type::Text).shownIf(given("aoiMode", VMOD_AOI_FILE)),
        Desc("optimize", "Optimize", Type::Bool),
    };
    k.settle = [](json &v, const json &, std::string &why) {
        if (num(v, "windowMode") == VMOD_WINDOW_GIVEN && v["window"].empty())
            return why = "a given window needs its rectangle", false;
        return true;
    };
    return k;
}

json readHeader(const Vmod_Model *m) {
    return json{{"title", textOf(m->title)},
                {"pageWidth", m->pageWidth},
                {"pageHeight", m->pageHeight},
                {"pageUnits", m->pageUnits},
                {"printerPageWidth", m->printerPageWidth},
                {"printerPageHeight", m->printerPageHeight},
                {"margins", json::array({m->margins[0], m->margins[1], m->margins[2], m->margins[3]})},
                {"orientation", m->orientation},
                {"printScale", m->printScale},
                {"pageNumbers", m->pageNumbers != 0},
                {"cellSizeMode", m->cellSizeMode},
                {"cellSizeX", static_cast<double>(m->cellSizeX)},
                {"cellSizeY", static_cast<double>(m->cellSizeY)},
                {"cellSizeUnits", m->cellSizeUnits},
                {"windowMode", m->windowMode},
                {"window", rectOf(m->window)},
                {"windowUnits", m->windowUnits},
                {"projectionMode", m->projectionMode},
                {"projectionSameAs", textOf(m->projectionSameAs)},
                {"projectionSpec1", textOf(m->projectionSpec1)},
                {"projectionSpec2", textOf(m->projectionSpec2)},
                {"aoiMode", m->aoiMode},
                {"aoiFile", textOf(m->aoiFile)},
                {"optimize", m->optimize != 0}};
}

void writeHeader(Vmod_Model *m, const json &v) {
    putText(m->title, v["title"]);
    m->pageWidth = v["pageWidth"].get<double>();
    m->pageHeight = v["pageHeight"].get<double>();
    m->pageUnits = num(v, "pageUnits");
    m->printerPageWidth = v["printerPageWidth"].get<double>();
    m->printerPageHeight = v["printerPageHeight"].get<double>();
    for (int i = 0; i < 4; ++i) m->margins[i] = v["margins"][i].get<double>();
    m->orientation = num(v, "orientation");
    m->printScale = v["printScale"].get<double>();
    m->pageNumbers = on(v, "pageNumbers");
    // The file always states the cell size, so a saved model has one set.
    m->cellSizeSet = 1;
    m->cellSizeMode = num(v, "cellSizeMode");
    m->cellSizeX = static_cast<float>(v["cellSizeX"].get<double>());
    m->cellSizeY = static_cast<float>(v["cellSizeY"].get<double>());
    m->cellSizeUnits = num(v, "cellSizeUnits");
    m->windowMode = num(v, "windowMode");
    if (!v["window"].empty()) putRect(m->window, v["window"]);
    m->windowUnits = num(v, "windowUnits");
    m->projectionMode = num(v, "projectionMode");
    putText(m->projectionSameAs, v["projectionSameAs"]);
    putText(m->projectionSpec1, v["projectionSpec1"]);
    putText(m->projectionSpec2, v["projectionSpec2"]);
    m->aoiMode = num(v, "aoiMode");
    putText(m->aoiFile, v["aoiFile"]);
    m->optimize = on(v, "optimize");
}

const Kind &header() {
    static const Kind kind = finished(headerKind());
    return kind;
}

// The FIELD objects of the fields shown for values. The heads are made once for all
// nodes: the state of a large model describes thousands of fields.
json describe(const std::vector<Desc> &descs, const std::vector<json> &heads, json &&values) {
    std::vector<bool> shown(descs.size());
    for (size_t i = 0; i < descs.size(); ++i) shown[i] = !descs[i].visible || descs[i].visible(values);
    json fields = json::array();
    for (size_t i = 0; i < descs.size(); ++i) {
        if (!shown[i]) continue;
        const Desc &d = descs[i];
        json field = heads[i];
        field["value"] = std::move(values[d.key]);
        fields.push_back(std::move(field));
    }
    return fields;
}

// Checks the values sent against the descriptors and merges them into current (which
// then holds the values the record is to get). False with why on the first fault.
bool merge(const std::vector<Desc> &descs, const char *what, const json &values, json &current, std::string &why) {
    if (!values.is_object()) return why = "the values are not an object", false;
    for (auto &[key, sent] : values.items()) {
        const Desc *desc = nullptr;
        for (const Desc &d : descs)
            if (key == d.key) desc = &d;
        if (desc == nullptr) return why = std::string(what) + " has no field \"" + key + "\"", false;
        json value = sent;
        std::string fault;
        if (!checkValue(value, *desc, fault)) return why = "the " + key + " value " + fault, false;
        current[key] = std::move(value);
    }
    return true;
}

json nodeValues(const Kind &kind, const Vmod_Node *node) {
    json values = kind.read(node);
    if (!values.contains("title")) values["title"] = textOf(node->title);
    return values;
}

} // namespace

nlohmann::json editor_Choices() {
    json lists = json::object();
    for (const ChoiceList &list : kChoiceLists) lists[list.name] = optionsOf(*list.options);
    return lists;
}

nlohmann::json editor_KindFields() {
    json kinds = json::object();
    for (int32_t type = 0; type < 8; ++type) kinds[kKindNames[type]] = kindOf(type)->namingHeads;
    return kinds;
}

nlohmann::json editor_NodeValues(const Vmod_Model *, const Vmod_Node *node) {
    const Kind *kind = node != nullptr ? kindOf(node->type) : nullptr;
    if (kind == nullptr || node->data == nullptr) return json{{"title", node != nullptr ? textOf(node->title) : json("")}};
    json values = nodeValues(*kind, node);
    // Whether a field shows depends on the others: all are judged before any goes.
    std::vector<const char *> hidden;
    for (const Desc &d : kind->descs)
        if (d.visible && !d.visible(values)) hidden.push_back(d.key);
    for (const char *key : hidden) values.erase(key);
    return values;
}

nlohmann::json editor_NodeFields(const Vmod_Model *, const Vmod_Node *node) {
    const Kind *kind = node != nullptr ? kindOf(node->type) : nullptr;
    if (kind == nullptr || node->data == nullptr)
        return json::array({json{{"key", "title"},
                                 {"label", "Title"},
                                 {"type", "text"},
                                 {"value", node != nullptr ? textOf(node->title) : json("")}}});
    return describe(kind->descs, kind->heads, nodeValues(*kind, node));
}

nlohmann::json editor_HeaderFields(const Vmod_Model *model) {
    return describe(header().descs, header().heads, readHeader(model));
}

bool editor_SetNodeFields(Vmod_Model *, Vmod_Node *node, const nlohmann::json &values, std::string &why) {
    const Kind *kind = node != nullptr ? kindOf(node->type) : nullptr;
    if (kind == nullptr || node->data == nullptr) return why = "the node is of no kind the editor knows", false;
    const std::string what = std::string("a ") + kKindNames[node->type] + " node";
    json current = nodeValues(*kind, node);
    if (!merge(kind->descs, what.c_str(), values, current, why) || !kind->settle(current, values, why)) return false;
    putText(node->title, current["title"]);
    kind->write(node, current);
    return true;
}

bool editor_SetHeaderFields(Vmod_Model *model, const nlohmann::json &values, std::string &why) {
    if (model == nullptr) return why = "there is no model", false;
    json current = readHeader(model);
    if (!merge(header().descs, "the model", values, current, why) || !header().settle(current, values, why))
        return false;
    writeHeader(model, current);
    return true;
}
