// Edge cases of vmod_ScriptGen: texts and arrays that are missing or long, and the cases
// where a statement would otherwise be left unclosed or name something undeclared.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "vmodhost/omsc.h"
#include "test_script_support.h"

namespace {

// in -> f -> out, out of the given kind; returns f.
Vmod_Node *oneFunction(ScriptModel &m, const char *expression, int32_t outputKind, Vmod_Node **output) {
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    payload<Vmod_RasterData>(in)->fileName = heapText("/data/in.img");
    Vmod_Node *f = m.function(2, expression);
    *output = m.add(outputKind, 3, "out");
    ScriptModel::arrow(in, f);
    ScriptModel::arrow(f, *output);
    return f;
}

std::string definitions(const std::string &script) {
    const std::string banner = "#\n# function definitions\n#\n";
    size_t at = script.find(banner);
    return at == std::string::npos ? std::string() : script.substr(at + banner.size());
}

} // namespace

// The escaped copy of a macro's expression is sized to the expression, however long.
TEST(vmod_ScriptGen, MacroExpressionLongerThanAnyFixedBuffer) {
    std::string expression;
    std::string escaped;
    for (int i = 0; i < 3000; ++i) {
        expression += "$in +\n";
        escaped += "$in +\\\n";
    }
    expression += "1";
    escaped += "1";
    ScriptModel m;
    Vmod_Node *out = nullptr;
    oneFunction(m, expression.c_str(), VMOD_RASTER, &out);
    payload<Vmod_RasterData>(out)->tempFile = 1;
    Vmod_Node *reader = m.function(4, "$out");
    Vmod_Node *sink = m.add(VMOD_SCALAR, 5, "sink");
    ScriptModel::arrow(out, reader);
    ScriptModel::arrow(reader, sink);
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(definitions(run.text), "#define out INTEGER(" + escaped + ")\nsink = $out;\nQUIT;\n");
}

// A temporary raster that nothing reads is not declared either; its operation is a macro
// that is never expanded rather than an assignment to an undeclared name.
TEST(vmod_ScriptGen, TemporaryOutputWithoutConsumerIsAMacro) {
    ScriptModel m;
    Vmod_Node *out = nullptr;
    oneFunction(m, "$in * 2", VMOD_RASTER, &out);
    payload<Vmod_RasterData>(out)->tempFile = 1;
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text.find("RASTER out"), std::string::npos);
    EXPECT_EQ(definitions(run.text), "#define out INTEGER($in * 2)\nQUIT;\n");
}

// Without a declare text the macro wraps the expression in the raster's class word; a
// STRING raster has none, and the parentheses stand alone.
TEST(vmod_ScriptGen, MacroWithoutDeclareUsesTheClassWord) {
    ScriptModel m;
    Vmod_Node *out = nullptr;
    oneFunction(m, "$in", VMOD_RASTER, &out);
    payload<Vmod_RasterData>(out)->tempFile = 1;
    payload<Vmod_RasterData>(out)->dataType = VMOD_STRING;
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(definitions(run.text), "#define out ($in)\nQUIT;\n");
}

TEST(vmod_ScriptGen, CriteriaMacroWithDefaultThatIsNotANumber) {
    ScriptModel m;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    Vmod_Node *c = m.add(VMOD_CRITERIA, 2, "Some");
    auto *data = payload<Vmod_CriteriaData>(c);
    data->rows = 1;
    data->columns = 2;
    data->columnTitles = static_cast<char **>(omsc_HeapMalloc(2 * sizeof(char *)));
    data->columnTitles[0] = heapText("$in");
    data->cells = static_cast<char **>(omsc_HeapMalloc(2 * sizeof(char *))); // cells left empty
    data->defaultValue = std::numeric_limits<double>::quiet_NaN();
    Vmod_Node *out = m.add(VMOD_RASTER, 3, "out");
    payload<Vmod_RasterData>(out)->tempFile = 1;
    payload<Vmod_RasterData>(out)->declare = heapText("Integer");
    ScriptModel::arrow(in, c);
    ScriptModel::arrow(c, out);
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(definitions(run.text), "#define out Integer(CONDITIONAL {($in || ) 1,\\\n\t(DEFAULT) nan})\nQUIT;\n");
}

TEST(vmod_ScriptGen, MatrixWithoutRowsOrValuesLoadsNothing) {
    ScriptModel m;
    Vmod_Node *empty = m.add(VMOD_MATRIX, 1, "empty");
    auto *emptyData = payload<Vmod_MatrixData>(empty);
    emptyData->normalize = 0;
    emptyData->rows = 0;
    emptyData->values = static_cast<double *>(omsc_HeapMalloc(sizeof(double)));
    Vmod_Node *none = m.add(VMOD_MATRIX, 2, "none"); // literal source, no values
    payload<Vmod_MatrixData>(none)->normalize = 0;
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text.find("MATRIX("), std::string::npos);
    EXPECT_TRUE(endsWith(run.text, "FLOAT MATRIX empty;\nFLOAT MATRIX none;\nQUIT;\n")) << run.text;
}

TEST(vmod_ScriptGen, MissingTextsAndEntriesAreWrittenEmpty) {
    ScriptModel m;
    m.model.windowMode = 2; // without its rectangle
    omsc_HeapFree(m.model.fileName);
    m.model.fileName = nullptr;
    m.add(VMOD_RASTER, 1, "r");
    Vmod_Node *colors = m.add(VMOD_TABLE, 2, "c");
    auto *colorsData = payload<Vmod_TableData>(colors);
    colorsData->dataType = VMOD_TABLE_COLOR;
    colorsData->size = 1;
    colorsData->colors = static_cast<Vmod_TableColor **>(omsc_HeapMalloc(sizeof(Vmod_TableColor *)));
    Vmod_Node *strings = m.add(VMOD_TABLE, 3, "s");
    auto *stringsData = payload<Vmod_TableData>(strings);
    stringsData->dataType = VMOD_TABLE_STRING;
    stringsData->size = 2;
    stringsData->strings = static_cast<char **>(omsc_HeapMalloc(2 * sizeof(char *)));
    stringsData->strings[1] = heapText("b");
    Vmod_Node *noValues = m.add(VMOD_TABLE, 4, "v");
    payload<Vmod_TableData>(noValues)->size = 3; // typed, but its value array is missing
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text.substr(0, 49), "COMMENT \"Generated from graphical model: \";\n#\n# s");
    EXPECT_NE(run.text.find("SET WINDOW 0, 0 : 0, 0 MAP;\n"), std::string::npos);
    EXPECT_NE(run.text.find("INTEGER RASTER r FILE OLD NEAREST NEIGHBOR AOI NONE \"\";\n"), std::string::npos);
    EXPECT_NE(run.text.find("c = TABLE(\n\t\t(0, 0, 0));\n"), std::string::npos);
    EXPECT_NE(run.text.find("s = TABLE(\"\", \"b\");\n"), std::string::npos);
    EXPECT_EQ(run.text.find("v = TABLE("), std::string::npos);
}

// A table reading a column of a model variable names that variable, as an output table
// writing to one does; no layer of its own is declared.
TEST(vmod_ScriptGen, TableColumnOfAModelVariable) {
    ScriptModel m;
    m.layerTable(7, "hist", VMOD_TABLE_SIGNED32, 1, 1, "landcover", nullptr, "Histogram");
    m.layerTable(8, "pal", VMOD_TABLE_COLOR, 1, 1, "landcover", nullptr, nullptr);
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_TRUE(endsWith(run.text, "#\n# declarations\n#\nINTEGER TABLE hist DESCRIPTOR $landcover :: \"Histogram\";\n"
                                   "COLOR TABLE pal COLORTABLE $landcover;\nQUIT;\n"))
        << run.text;
}

TEST(vmod_ScriptGen, FunctionWithoutExpressionAndOutputsShownOnly) {
    ScriptModel m;
    Vmod_Node *out = nullptr;
    Vmod_Node *f = oneFunction(m, "x", VMOD_SCALAR, &out);
    omsc_HeapFree(payload<Vmod_FunctionData>(f)->expression);
    payload<Vmod_FunctionData>(f)->expression = nullptr;
    payload<Vmod_ScalarData>(out)->show = 1;
    payload<Vmod_ScalarData>(out)->writeFile = heapText("/never/written");
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(definitions(run.text), "out = ;\nSHOW $out;\nQUIT;\n");
}
