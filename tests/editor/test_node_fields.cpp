// The editor's field descriptors (editor/server/node_fields.h): what each kind shows,
// setting fields through them, the refusals that leave the model as it was, and the
// promise that a model edited through the fields saves and reads back with the same
// fields.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "node_fields.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_model.h"

using nlohmann::json;

namespace {

struct KitModelFree {
    void operator()(Vmod_Model *model) const { vmodkit_ModelFree(model); }
};
using KitModel = std::unique_ptr<Vmod_Model, KitModelFree>;

void quiet(const char *, void *) {}

const char *const kKinds[] = {"raster", "vector", "matrix", "table", "scalar", "function", "criteria", "text"};

class NodeFieldsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        vmodhost_SetErrorSink(quiet, nullptr);
        model.reset(vmodkit_ModelNew(&err));
        ASSERT_NE(model, nullptr);
    }
    void TearDown() override {
        vmodhost_SetErrorSink(nullptr, nullptr);
        oerr_DeleteErrorReportEx(&err);
    }

    Vmod_Node *add(int32_t kind, const char *title = nullptr) {
        Vmod_Node *node = vmodkit_NodeAdd(model.get(), kind, 1.0, 1.0, title, &err);
        EXPECT_NE(node, nullptr);
        return node;
    }
    std::string saved(const Vmod_Model *m) {
        size_t length = 0;
        char *text = vmodkit_ModelSaveMemory(m, &length, &err);
        EXPECT_NE(text, nullptr);
        std::string bytes = text != nullptr ? std::string(text, length) : std::string();
        vmodkit_Free(text);
        return bytes;
    }
    KitModel read(const std::string &text) {
        KitModel m(vmodkit_ModelReadMemory(text.data(), text.size(), "test", &err));
        EXPECT_NE(m, nullptr) << text;
        return m;
    }
    void set(Vmod_Node *node, const json &values) {
        std::string why;
        ASSERT_TRUE(editor_SetNodeFields(model.get(), node, values, why)) << why << "\n" << values.dump();
    }
    // Saved and read back, every node (in order) and the header show the same fields.
    void expectReadsBackAlike() {
        KitModel back = read(saved(model.get()));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(editor_HeaderFields(back.get()).dump(1), editor_HeaderFields(model.get()).dump(1));
        const Vmod_Node *b = back->nodes;
        for (const Vmod_Node *n = model->nodes; n != nullptr; n = n->next, b = b->next) {
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(editor_NodeFields(back.get(), b).dump(1), editor_NodeFields(model.get(), n).dump(1))
                << kKinds[n->type] << " node " << n->id;
        }
        EXPECT_EQ(b, nullptr);
    }

    KitModel model;
    Oerr_ErrorReport *err = nullptr;
};

std::vector<std::string> keysOf(const json &fields) {
    std::vector<std::string> keys;
    for (const json &f : fields) keys.push_back(f["key"].get<std::string>());
    return keys;
}

const json *fieldOf(const json &fields, const std::string &key) {
    for (const json &f : fields)
        if (f["key"] == key) return &f;
    return nullptr;
}

// The values of every field shown, as a set operation would send them.
json valuesOf(const json &fields) {
    json values = json::object();
    for (const json &f : fields) values[f["key"].get<std::string>()] = f["value"];
    return values;
}

std::string fileText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// ---- what each kind shows ----

// The fields as the page puts them together from the state's two parts: the kind's fields
// without values, and the node's values of the fields it shows.
json fieldsFromParts(const Vmod_Model *model, const Vmod_Node *node) {
    const json kinds = editor_KindFields(), choices = editor_Choices();
    const json values = editor_NodeValues(model, node);
    json fields = json::array();
    for (json head : kinds.at(kKinds[node->type])) {
        if (!values.contains(head["key"].get<std::string>())) continue;
        head["value"] = values[head["key"].get<std::string>()];
        if (head.contains("choices")) {
            head["options"] = choices.at(head["choices"].get<std::string>());
            head.erase("choices");
        }
        fields.push_back(head);
    }
    return fields;
}

TEST_F(NodeFieldsTest, editor_NodeFields_every_kind_describes_well_formed_fields) {
    const std::set<std::string> types = {"text",   "multiline", "number", "integer", "bool",
                                         "choice", "numbers",   "texts",  "grid",    "criteria"};
    for (int32_t kind = VMOD_RASTER; kind <= VMOD_TEXT; ++kind) {
        const Vmod_Node *node = add(kind);
        json fields = editor_NodeFields(model.get(), node);
        ASSERT_TRUE(fields.is_array());
        EXPECT_EQ(fields[0]["key"], "title") << kKinds[kind];
        std::set<std::string> seen;
        for (const json &f : fields) {
            EXPECT_TRUE(seen.insert(f["key"].get<std::string>()).second) << f.dump();
            EXPECT_TRUE(types.count(f["type"].get<std::string>())) << f.dump();
            EXPECT_FALSE(f["label"].get<std::string>().empty()) << f.dump();
            if (f["type"] == "choice") {
                ASSERT_TRUE(f["options"].is_array() && !f["options"].empty()) << f.dump();
                bool current = false;
                for (const json &o : f["options"]) current = current || o["value"] == f["value"];
                EXPECT_TRUE(current) << "the value is not one of the choices: " << f.dump();
            }
            if (f["type"] == "grid") {
                EXPECT_EQ(f["cellType"], "number");
            }
        }
        EXPECT_EQ(fieldsFromParts(model.get(), node), fields) << kKinds[kind];
    }
    json header = editor_HeaderFields(model.get());
    EXPECT_EQ(keysOf(header),
              (std::vector<std::string>{"title", "pageWidth", "pageHeight", "pageUnits", "printerPageWidth",
                                        "printerPageHeight", "margins", "orientation", "printScale", "pageNumbers",
                                        "cellSizeMode", "windowMode", "projectionMode", "aoiMode", "optimize"}));
}

TEST_F(NodeFieldsTest, editor_NodeFields_show_what_the_file_carries_in_the_present_state) {
    Vmod_Node *raster = add(VMOD_RASTER, "dem");
    set(raster, {{"fileName", "/d/dem.img"}, {"prompt", false}, {"tempFile", false}, {"newFile", false}});
    json fields = editor_NodeFields(model.get(), raster);
    EXPECT_NE(fieldOf(fields, "fileName"), nullptr);
    EXPECT_NE(fieldOf(fields, "aoiMode"), nullptr);
    EXPECT_EQ(fieldOf(fields, "promptText"), nullptr);

    // Prompted, the name is not written; switched back, the record still has it.
    set(raster, {{"prompt", true}, {"promptText", "Elevation"}});
    fields = editor_NodeFields(model.get(), raster);
    EXPECT_EQ(fieldOf(fields, "fileName"), nullptr);
    EXPECT_EQ(fieldOf(fields, "tempFile"), nullptr);
    EXPECT_EQ((*fieldOf(fields, "promptText"))["value"], "Elevation");
    set(raster, {{"prompt", false}});
    EXPECT_EQ((*fieldOf(editor_NodeFields(model.get(), raster), "fileName"))["value"], "/d/dem.img");

    // A new file has no area of interest in the file.
    set(raster, {{"newFile", true}});
    EXPECT_EQ(fieldOf(editor_NodeFields(model.get(), raster), "aoiMode"), nullptr);

    Vmod_Node *matrix = add(VMOD_MATRIX, "k");
    set(matrix, {{"source", VMOD_MATRIX_KERNEL}});
    EXPECT_NE(fieldOf(editor_NodeFields(model.get(), matrix), "builtin"), nullptr);
    set(matrix, {{"source", VMOD_MATRIX_READ}});
    fields = editor_NodeFields(model.get(), matrix);
    EXPECT_EQ(fieldOf(fields, "builtin"), nullptr);
    EXPECT_EQ(fieldOf(fields, "values"), nullptr);
    EXPECT_NE(fieldOf(fields, "readFile"), nullptr);

    Vmod_Node *table = add(VMOD_TABLE, "t");
    set(table, {{"dataType", VMOD_TABLE_STRING}, {"strings", {"a", "b"}}});
    fields = editor_NodeFields(model.get(), table);
    EXPECT_EQ((*fieldOf(fields, "strings"))["type"], "texts");
    EXPECT_EQ(fieldOf(fields, "values"), nullptr);
    EXPECT_EQ((*fieldOf(fields, "size"))["value"], 2);
}

// ---- setting, saving and reading back ----

TEST_F(NodeFieldsTest, every_field_set_saves_and_reads_back_the_same) {
    std::string why;
    ASSERT_TRUE(editor_SetHeaderFields(model.get(),
                                       {{"title", "Every \"field\""},
                                        {"pageWidth", 21},
                                        {"pageHeight", 29.7},
                                        {"pageUnits", 1},
                                        {"printerPageWidth", 8.25},
                                        {"printerPageHeight", 11.5},
                                        {"margins", {0.25, 0.5, 0.75, 1}},
                                        {"orientation", 1},
                                        {"printScale", 75},
                                        {"pageNumbers", true},
                                        {"cellSizeMode", 2},
                                        {"cellSizeX", 0.1},
                                        {"cellSizeY", 30},
                                        {"cellSizeUnits", 1},
                                        {"windowMode", 2},
                                        {"window", {0, 10.5, 100, -20}},
                                        {"windowUnits", 1},
                                        {"projectionMode", 2},
                                        {"projectionSpec1", "utm"},
                                        {"projectionSpec2", "zone 32"},
                                        {"aoiMode", 2},
                                        {"aoiFile", "/d/area.aoi"},
                                        {"optimize", false}},
                                       why))
        << why;

    set(add(VMOD_RASTER), {{"title", "dem"},
                           {"fileName", "/d/dem.img"},
                           {"ignoreSet", true},
                           {"ignoreValue", -9999.5},
                           {"interpolation", 2},
                           {"thematic", true},
                           {"dataType", 9},
                           {"declare", "Float"},
                           {"compression", 1},
                           {"coordinates", 1},
                           {"areaRect", {1, 2, 3.5, 4}},
                           {"aoiMode", 2},
                           {"aoiFile", "/d/a.aoi"},
                           {"recode", true},
                           {"newClasses", {0, 1, -2, 3}}});
    set(add(VMOD_RASTER), {{"title", "tmp"}, {"tempFile", true}, {"newFile", true}, {"deleteFile", true}});
    // Prompted, a raster cannot be temporary in the file, and so has an area of interest.
    set(add(VMOD_RASTER), {{"title", "asked"},
                           {"prompt", true},
                           {"promptText", "Which image?"},
                           {"tempFile", true},
                           {"aoiMode", 2},
                           {"aoiFile", "/d/b.aoi"}});
    set(add(VMOD_VECTOR), {{"title", "roads"},
                           {"vectorType", 0},
                           {"fileName", "/d/roads"},
                           {"feature", "line"},
                           {"tempFile", true},
                           {"cellSizeSet", true},
                           {"cellSizeX", 12.5},
                           {"cellSizeY", 0.3},
                           {"cellSizeUnits", 1},
                           {"declare", "Integer"},
                           {"window", {0, 0, 5, 5}},
                           {"aoiMode", 1},
                           {"attribute", "TYPE"}});
    set(add(VMOD_VECTOR),
        {{"title", "notes"}, {"vectorType", 1}, {"prompt", true}, {"recode", true}, {"numClasses", 2}});
    set(add(VMOD_MATRIX), {{"title", "k"},
                           {"source", 0},
                           {"builtin", 7},
                           {"dataType", 10},
                           {"normalize", true},
                           {"values", {{"rows", 2}, {"columns", 3}, {"cells", {{1, 2, 3}, {-4, 0.5, 1e-7}}}}}});
    set(add(VMOD_MATRIX), {{"title", "flat"}, {"columns", 3}, {"rows", 0}});
    set(add(VMOD_MATRIX), {{"title", "r"}, {"source", 2}, {"prompt", true}, {"promptText", "Kernel file"}});
    set(add(VMOD_MATRIX), {{"title", "o"},
                           {"source", 3},
                           {"write", true},
                           {"writeFile", "/d/out.mtx"},
                           {"show", true},
                           {"columns", 2},
                           {"rows", 2}});
    set(add(VMOD_TABLE), {{"title", "numbers"}, {"dataType", 2}, {"values", {1.5, -2, 3e10}}});
    set(add(VMOD_TABLE), {{"title", "names"}, {"dataType", 3}, {"strings", {"a \"quoted\" name", "", "b"}}});
    set(add(VMOD_TABLE), {{"title", "colours"},
                          {"dataType", 4},
                          {"colors", {{"rows", 2}, {"columns", 4}, {"cells", {{1, 0, 0, 1}, {0.5, 0.25, 0.125, 0}}}}}});
    set(add(VMOD_TABLE), {{"title", "column"},
                          {"source", 1},
                          {"layerKind", 2},
                          {"layerFile", "/d/cov"},
                          {"layerName", "poly"},
                          {"fieldName", "AREA"},
                          {"size", 4}});
    set(add(VMOD_TABLE), {{"title", "asked"},
                          {"source", 1},
                          {"layerKind", 0},
                          {"promptLayerFile", true},
                          {"promptLayerText", "Image?"},
                          {"layerName", "1"},
                          {"fieldName", "Histogram"}});
    set(add(VMOD_TABLE), {{"title", "out"},
                          {"source", 3},
                          {"outputToLayer", true},
                          {"layerKind", 1},
                          {"layerFile", "v"},
                          {"fieldName", "F"},
                          {"write", true},
                          {"prompt", true},
                          {"show", true}});
    set(add(VMOD_TABLE), {{"title", "classes"},
                          {"source", 3},
                          {"outputToLayer", true},
                          {"layerKind", 0},
                          {"layerFile", "/d/img"},
                          {"layerName", "1"},
                          {"fieldName", "Class"}});
    set(add(VMOD_TABLE), {{"title", "read"}, {"source", 2}, {"readFile", "/d/t.txt"}, {"dataType", 1}});
    set(add(VMOD_SCALAR), {{"title", "s"},
                           {"dataType", 10},
                           {"value", 0.1},
                           {"read", true},
                           {"readFile", "/d/s"},
                           {"write", true},
                           {"writeFile", "/d/w"},
                           {"show", true}});
    set(add(VMOD_SCALAR), {{"title", "p"}, {"read", true}, {"prompt", true}, {"promptText", "Value file"}});
    set(add(VMOD_FUNCTION), {{"title", "f \"x\""}, {"expression", "$dem * 2 +\n  \"a\""}, {"area", 1}});
    set(add(VMOD_CRITERIA),
        {{"title", "c"},
         {"criteria",
          {{"columnTitles", {"$dem", "$slope"}},
           {"rows", {{{"cells", {"<10", ">5"}}, {"output", 3}}, {{"cells", {"", "\"q\""}}, {"output", -1.5}}}},
           {"default", 9}}}});
    set(add(VMOD_TEXT), {{"title", "A note\non two lines"}, {"font", "Courier"}, {"size", 18}, {"style", 5}});
    expectReadsBackAlike();

    // The file gives back what was asked for, not only something consistent.
    json header = editor_HeaderFields(model.get());
    EXPECT_EQ((*fieldOf(header, "cellSizeX"))["value"], static_cast<double>(0.1f));
    EXPECT_EQ((*fieldOf(header, "pageUnits"))["value"], 1);
    const Vmod_Node *dem = model->nodes;
    EXPECT_EQ((*fieldOf(editor_NodeFields(model.get(), dem), "numClasses"))["value"], 4);
    const Vmod_Node *note = dem;
    while (note->next != nullptr) note = note->next;
    json text = editor_NodeFields(model.get(), note);
    EXPECT_EQ((*fieldOf(text, "font"))["value"], "Courier");
    EXPECT_EQ((*fieldOf(text, "style"))["value"], 5);
}

TEST_F(NodeFieldsTest, numbers_the_file_keeps_to_six_digits_are_rounded_when_set) {
    std::string why;
    ASSERT_TRUE(
        editor_SetHeaderFields(model.get(), {{"margins", {0.1234567, 1, 2, 3}}, {"printScale", 33.3333333}}, why));
    json header = editor_HeaderFields(model.get());
    EXPECT_EQ((*fieldOf(header, "margins"))["value"][0], 0.123457);
    EXPECT_EQ((*fieldOf(header, "printScale"))["value"], 33.3333);
    Vmod_Node *criteria = add(VMOD_CRITERIA, "c");
    set(criteria,
        {{"criteria",
          {{"columnTitles", {"a"}}, {"rows", {{{"cells", {"1"}}, {"output", 2.00000049}}}}, {"default", 1.0 / 3}}}});
    json table = (*fieldOf(editor_NodeFields(model.get(), criteria), "criteria"))["value"];
    EXPECT_EQ(table["rows"][0]["output"], 2.0);
    EXPECT_EQ(table["default"], 0.333333);
    expectReadsBackAlike();
}

// Setting every node of the bundled examples to the values it shows changes no byte of
// the file: reading a record into fields and writing them back is exact. The state's two
// parts give each node's fields whole.
TEST_F(NodeFieldsTest, setting_the_shown_values_of_the_examples_changes_nothing) {
    for (const char *name : {"everything.vmf", "every_kind.vmf", "suitability.vmf", "ndvi.vmf"}) {
        KitModel example = read(fileText(std::string(VMOD_SOURCE_DIR) + "/examples/" + name));
        ASSERT_NE(example, nullptr) << name;
        std::string before = saved(example.get());
        std::string why;
        ASSERT_TRUE(editor_SetHeaderFields(example.get(), valuesOf(editor_HeaderFields(example.get())), why))
            << name << ": " << why;
        for (Vmod_Node *n = example->nodes; n != nullptr; n = n->next)
            EXPECT_EQ(fieldsFromParts(example.get(), n), editor_NodeFields(example.get(), n)) << name << " node " << n->id;
        for (Vmod_Node *n = example->nodes; n != nullptr; n = n->next)
            ASSERT_TRUE(editor_SetNodeFields(example.get(), n, valuesOf(editor_NodeFields(example.get(), n)), why))
                << name << " node " << n->id << ": " << why;
        EXPECT_EQ(saved(example.get()), before) << name;
    }
}

// ---- lists and their sizes ----

TEST_F(NodeFieldsTest, lists_follow_their_sizes) {
    Vmod_Node *raster = add(VMOD_RASTER, "r");
    set(raster, {{"recode", true}, {"newClasses", {4, 5, 6}}});
    set(raster, {{"numClasses", 5}});
    EXPECT_EQ((*fieldOf(editor_NodeFields(model.get(), raster), "newClasses"))["value"], json({4, 5, 6, 0, 0}));
    set(raster, {{"numClasses", 2}});
    EXPECT_EQ((*fieldOf(editor_NodeFields(model.get(), raster), "newClasses"))["value"], json({4, 5}));

    Vmod_Node *matrix = add(VMOD_MATRIX, "m");
    set(matrix, {{"values", {{"rows", 2}, {"columns", 2}, {"cells", {{1, 2}, {3, 4}}}}}});
    set(matrix, {{"columns", 3}});
    json grid = (*fieldOf(editor_NodeFields(model.get(), matrix), "values"))["value"];
    EXPECT_EQ(grid, json({{"rows", 2}, {"columns", 3}, {"cells", {{1.0, 2.0, 0.0}, {3.0, 4.0, 0.0}}}}));

    // A table keeps every list at its size, so a change of data type finds it whole.
    Vmod_Node *table = add(VMOD_TABLE, "t");
    set(table, {{"dataType", VMOD_TABLE_DOUBLE}, {"values", {1, 2, 3}}});
    set(table, {{"dataType", VMOD_TABLE_COLOR}});
    json colors = (*fieldOf(editor_NodeFields(model.get(), table), "colors"))["value"];
    EXPECT_EQ(colors["rows"], 3);
    EXPECT_EQ(colors["cells"].size(), 3u);
    set(table, {{"dataType", VMOD_TABLE_STRING}, {"size", 1}});
    EXPECT_EQ((*fieldOf(editor_NodeFields(model.get(), table), "strings"))["value"], json({""}));
    expectReadsBackAlike();
}

// ---- refusals ----

struct Refusal {
    int32_t kind; // -1: the header
    const char *values;
    const char *reason; // a part of the sentence
};

class NodeFieldsRefusalTest : public NodeFieldsTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(NodeFieldsRefusalTest, a_refused_set_changes_nothing) {
    const Refusal &r = GetParam();
    Vmod_Node *node = r.kind >= 0 ? add(r.kind, "n") : nullptr;
    if (node != nullptr && node->type == VMOD_RASTER) set(node, {{"recode", true}, {"newClasses", {1, 2}}});
    const std::string before = saved(model.get());
    const std::string fieldsBefore =
        (node != nullptr ? editor_NodeFields(model.get(), node) : editor_HeaderFields(model.get())).dump();
    std::string why;
    json values = json::parse(r.values);
    bool ok = node != nullptr ? editor_SetNodeFields(model.get(), node, values, why)
                              : editor_SetHeaderFields(model.get(), values, why);
    EXPECT_FALSE(ok) << r.values;
    EXPECT_NE(why.find(r.reason), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
    EXPECT_EQ(saved(model.get()), before);
    EXPECT_EQ((node != nullptr ? editor_NodeFields(model.get(), node) : editor_HeaderFields(model.get())).dump(),
              fieldsBefore);
}

// Each refusal comes with a valid change beside it, which must not be made either.
INSTANTIATE_TEST_SUITE_P(
    EveryKind, NodeFieldsRefusalTest,
    ::testing::Values(
        Refusal{VMOD_RASTER, R"({"title":"x","nonsense":1})", "has no field \"nonsense\""},
        Refusal{VMOD_RASTER, R"([1,2])", "not an object"},
        Refusal{VMOD_RASTER, R"({"title":"x","fileName":7})", "fileName value is not a text"},
        Refusal{VMOD_RASTER, R"({"title":"x","fileName":"C:\\dir\\"})", "ends in a backslash"},
        Refusal{VMOD_RASTER, R"({"title":"x","fileName":"a\u0000b"})", "zero character"},
        Refusal{VMOD_RASTER, R"({"title":"x","thematic":1})", "not true or false"},
        Refusal{VMOD_RASTER, R"({"title":"x","dataType":14})", "not one of the choices"},
        Refusal{VMOD_RASTER, R"({"title":"x","interpolation":1.5})", "not one of the choices"},
        Refusal{VMOD_RASTER, R"({"title":"x","ignoreValue":"5"})", "not a number"},
        Refusal{VMOD_RASTER, R"({"title":"x","areaRect":[1,2,3]})", "four numbers"},
        Refusal{VMOD_RASTER, R"({"title":"x","numClasses":3,"newClasses":[1,2]})", "does not hold"},
        Refusal{VMOD_RASTER, R"({"title":"x","newClasses":[1,2.5]})", "not a whole number"},
        Refusal{VMOD_RASTER, R"({"title":"x","newClasses":[1,3000000000]})", "must be from"},
        Refusal{VMOD_RASTER, R"({"title":"x","numClasses":-1})", "must be from 0"},
        Refusal{VMOD_VECTOR, R"({"title":"x","cellSizeX":0})", "above 0"},
        Refusal{VMOD_VECTOR, R"({"title":"x","cellSizeX":1e300})", "too large"},
        Refusal{VMOD_MATRIX, R"({"title":"x","rows":1,"values":{"rows":2,"columns":1,"cells":[[1],[2]]}})",
                "rows and columns"},
        Refusal{VMOD_MATRIX, R"({"title":"x","values":{"rows":2,"columns":2,"cells":[[1,2],[3]]}})",
                "one cell per column"},
        Refusal{VMOD_MATRIX, R"({"title":"","values":{"rows":1,"columns":1,"cells":[[1]]}})", "title"},
        Refusal{VMOD_MATRIX, R"({"title":"x","builtin":9})", "not one of the choices"},
        Refusal{VMOD_TABLE, R"({"title":"x","size":2,"values":[1,2,3]})", "size"},
        Refusal{VMOD_TABLE, R"({"title":"x","strings":["a"],"values":[1,2]})", "different lengths"},
        Refusal{VMOD_TABLE, R"({"title":"x","colors":{"rows":1,"columns":3,"cells":[[1,2,3]]}})", "four columns"},
        Refusal{VMOD_TABLE, R"({"title":"x","source":1,"layerKind":1})", "variable"},
        Refusal{VMOD_SCALAR, R"({"title":"x","value":null})", "not a number"},
        Refusal{VMOD_FUNCTION, R"({"title":"x","area":2})", "not one of the choices"},
        Refusal{VMOD_CRITERIA,
                R"({"title":"x","criteria":{"columnTitles":["a"],"rows":[{"cells":[]  ,"output":1}],"default":0}})",
                "one cell per column"},
        Refusal{VMOD_CRITERIA, R"({"title":"x","criteria":{"columnTitles":["a"],"rows":[],"default":"0"}})",
                "default value"},
        Refusal{VMOD_CRITERIA,
                R"({"title":"x","criteria":{"columnTitles":["a"],"rows":[{"cells":["1"]}],"default":0}})",
                "output value"},
        Refusal{VMOD_TEXT, R"({"title":"x","size":0})", "from 1 to 1000"},
        Refusal{VMOD_TEXT, R"({"title":"x","style":8})", "not one of the choices"},
        Refusal{-1, R"({"title":"x","pageWidth":0})", "above 0"},
        Refusal{-1, R"({"title":"x","margins":[1,2,3]})", "four numbers"},
        Refusal{-1, R"({"title":"x","margins":[1,2,3,-1]})", "at least 0"},
        Refusal{-1, R"({"title":"x","windowMode":2})", "rectangle"},
        Refusal{-1, R"({"title":"x","fileName":"m.vmf"})", "the model has no field"},
        Refusal{-1, R"({"title":"x","projectionMode":3})", "not one of the choices"}));

} // namespace
