// Texts the script holds between quotes or bare as names: a model whose file names,
// layer and field names, projection, area of interest, table strings or path could end a
// statement early, or whose titles are not plain names, is refused before the first byte;
// a name chosen at a prompt that could do the same stops the script there.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "script/script_quoting.h"
#include "test_script_support.h"
#include "vmodhost/vmodhost.h"

namespace {

const char *const kHijack = "in.img\"; SYSTEM \"rm -rf ~\"; \"";

std::string checkMessage(Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    script_Check(model, &err);
    std::string message = err != nullptr ? vmodhost_ErrorMessage(err) : "";
    oerr_DeleteErrorReportEx(&err);
    return message;
}

// in (raster) -> $in + 1 -> out (raster), which the generator translates as it is.
struct Base {
    ScriptModel m;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    Vmod_Node *f = m.function(2, "$in + 1");
    Vmod_Node *out = m.add(VMOD_RASTER, 3, "out");
    Base() {
        payload<Vmod_RasterData>(in)->fileName = heapText("/data/in.img");
        payload<Vmod_RasterData>(out)->fileName = heapText("/data/out.img");
        payload<Vmod_RasterData>(out)->newFile = 1;
        ScriptModel::arrow(in, f);
        ScriptModel::arrow(f, out);
    }
};

// A macro, not a function taking char *&: the records keep the front end's packed layout,
// where a string field need not be aligned for a reference to bind to it. FIELD is
// evaluated twice, so it names a field plainly, without calls that make nodes.
#define replace(field, text)                                                                       \
    do {                                                                                           \
        omsc_HeapFree(field);                                                                      \
        const char *replacement = (text);                                                          \
        (field) = replacement != nullptr ? heapText(replacement) : nullptr;                        \
    } while (0)

Vmod_TableData *layerTable(Base &b, int32_t kind) {
    Vmod_Node *table = b.m.add(VMOD_TABLE, 4, "classes");
    auto *data = payload<Vmod_TableData>(table);
    data->source = 1;
    data->layerKind = kind;
    data->layerFile = heapText(kind == 1 ? "in" : "/data/layer.img");
    data->layerName = heapText(kind == 0 ? "(:Layer_1)" : "polygon");
    data->fieldName = heapText("Class_Names");
    return data;
}

struct Hostile {
    const char *what;
    std::function<void(Base &)> make;
    std::string problem; // the sentence check gives, and the only one
};

const std::vector<Hostile> &hostileModels() {
    static const std::vector<Hostile> cases = {
        {"file name", [](Base &b) { replace(payload<Vmod_RasterData>(b.in)->fileName, kHijack); },
         "node 1 \"in\": the file name (FILENAME) holds a double quote and cannot be written between quotes"},
        {"file name ending in a backslash",
         [](Base &b) { replace(payload<Vmod_RasterData>(b.out)->fileName, "C:\\data\\"); },
         "node 3 \"out\": the file name (FILENAME) ends in a backslash and cannot be written between quotes"},
        {"image layer name",
         [](Base &b) { Vmod_TableData *table = layerTable(b, 0); replace(table->layerName, "(:Layer_1)\";\nSYSTEM \"x"); },
         "node 4 \"classes\": the layer name (LAYERNAME) holds a double quote and cannot be written between quotes"},
        {"coverage layer name, written bare",
         [](Base &b) { Vmod_TableData *table = layerTable(b, 2); replace(table->layerName, "polygon; SYSTEM"); },
         "node 4 \"classes\": the layer name (LAYERNAME) is not a plain name (a letter or underscore, then "
         "letters, digits and underscores, after an optional $)"},
        {"field name", [](Base &b) { Vmod_TableData *table = layerTable(b, 0); replace(table->fieldName, "Class\x1b[2J"); },
         "node 4 \"classes\": the field name (FIELDNAME) holds a control character and cannot be written "
         "between quotes"},
        {"variable layer, written bare", [](Base &b) { Vmod_TableData *table = layerTable(b, 1); replace(table->layerFile, "in;QUIT"); },
         "node 4 \"classes\": the layer variable (VARIABLENAME) is not a plain name (a letter or underscore, then "
         "letters, digits and underscores, after an optional $)"},
        {"projection",
         [](Base &b) {
             b.m.model.projectionMode = 2;
             b.m.model.projectionSpec1 = heapText("UTM Zone 11");
             b.m.model.projectionSpec2 = heapText("NAD83\"\nSYSTEM \"x");
         },
         "the model: the second part of its projection (PROJECTION SPECIFY) holds a double quote and cannot be "
         "written between quotes"},
        {"model area of interest",
         [](Base &b) {
             b.m.model.aoiMode = 2;
             b.m.model.aoiFile = heapText("/data/area.aoi\n");
         },
         "the model: the area of interest (AOI) holds a line break and cannot be written between quotes"},
        {"raster area of interest",
         [](Base &b) {
             payload<Vmod_RasterData>(b.in)->aoiMode = 2;
             replace(payload<Vmod_RasterData>(b.in)->aoiFile, "a\"b");
         },
         "node 1 \"in\": the area of interest (AOI) holds a double quote and cannot be written between quotes"},
        {"string table entry",
         [](Base &b) {
             Vmod_Node *names = b.m.add(VMOD_TABLE, 4, "names");
             auto *data = payload<Vmod_TableData>(names);
             data->dataType = VMOD_TABLE_STRING;
             data->size = 2;
             data->strings = static_cast<char **>(omsc_HeapMalloc(2 * sizeof(char *)));
             data->strings[0] = heapText("water");
             data->strings[1] = heapText("say \"hi\"");
         },
         "node 4 \"names\": entry 2 of the table (VALUE) holds a double quote and cannot be written between quotes"},
        {"file written by a function",
         [](Base &b) {
             Vmod_Node *g = b.m.function(5, "global sum ($in)");
             Vmod_Node *total = b.m.add(VMOD_SCALAR, 6, "total");
             payload<Vmod_ScalarData>(total)->write = 1;
             payload<Vmod_ScalarData>(total)->writeFile = heapText("t.txt\r");
             ScriptModel::arrow(b.in, g);
             ScriptModel::arrow(g, total);
         },
         "node 6 \"total\": the file written (WRITE) holds a line break and cannot be written between quotes"},
        {"model path", [](Base &b) { replace(b.m.model.fileName, "/models/my \"best\".vmf"); },
         "the model: its path (named in the COMMENT line) holds a double quote and cannot be written between "
         "quotes"},
        {"title with a line break", [](Base &b) { replace(b.out->title, "out;\nSYSTEM \"x\""); },
         "node 3 \"out;\\nSYSTEM \\\"x\\\"\": the title is the script's name of its data and is not a plain name "
         "(a letter or underscore, then letters, digits and underscores, after an optional $)"},
        {"title with a semicolon", [](Base &b) { replace(b.in->title, "in; QUIT"); },
         "node 1 \"in; QUIT\": the title is the script's name of its data and is not a plain name (a letter or "
         "underscore, then letters, digits and underscores, after an optional $)"},
        {"title with a quote", [](Base &b) { replace(b.in->title, "in\""); },
         "node 1 \"in\\\"\": the title is the script's name of its data and is not a plain name (a letter or "
         "underscore, then letters, digits and underscores, after an optional $)"},
    };
    return cases;
}

int32_t answerEverything(Ooml_Part *, const char *, void *user, char **answer) {
    *answer = heapText(static_cast<const char *>(user));
    return 1;
}

} // namespace

TEST(script_Check, RefusesEveryTextTheScriptCannotHoldBeforeWritingAByte) {
    for (const Hostile &hostile : hostileModels()) {
        SCOPED_TRACE(hostile.what);
        Base b;
        ASSERT_EQ(checkMessage(&b.m.model), "");
        hostile.make(b);
        EXPECT_EQ(checkMessage(&b.m.model), "Error Cannot Generate Script: " + hostile.problem);
        ScriptRefusals refusals = script_FindRefusals(&b.m.model);
        EXPECT_EQ(refusals.graph, "");
        EXPECT_EQ(refusals.texts, std::vector<std::string>{hostile.problem});
        ScriptRun run = runScript(&b.m.model);
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.text, "");
    }
}

TEST(script_Check, ListsEveryTextProblemAfterTheGraphs) {
    Base b;
    b.m.add(VMOD_SCALAR, 9, nullptr);
    replace(b.in->title, "a b");
    replace(b.m.model.fileName, "x\"");
    ScriptRefusals refusals = script_FindRefusals(&b.m.model);
    EXPECT_EQ(refusals.graph, "node 9 holds data but has no title");
    ASSERT_EQ(refusals.texts.size(), 2u);
    EXPECT_EQ(checkMessage(&b.m.model), "Error Cannot Generate Script: node 9 holds data but has no title; " +
                                            refusals.texts[0] + "; " + refusals.texts[1]);
}

// Texts the script does not hold may be anything: a name asked for at run time, an area of
// interest that is not used, a temporary raster's file name, the user's own expression.
TEST(script_Check, TextsTheScriptDoesNotHoldAreNotLookedAt) {
    Base b;
    auto *in = payload<Vmod_RasterData>(b.in);
    in->prompt = 1;
    replace(in->fileName, kHijack);
    in->aoiMode = 0;
    replace(in->aoiFile, kHijack);
    b.m.model.aoiMode = 1;
    b.m.model.aoiFile = heapText(kHijack);
    b.m.model.projectionMode = 0;
    b.m.model.projectionSpec1 = heapText(kHijack);
    replace(payload<Vmod_FunctionData>(b.f)->expression, "$in + 1;\n# \"as typed\"");
    Vmod_Node *mid = b.m.add(VMOD_RASTER, 4, "mid");
    payload<Vmod_RasterData>(mid)->tempFile = 1;
    payload<Vmod_RasterData>(mid)->fileName = heapText(kHijack);
    EXPECT_EQ(checkMessage(&b.m.model), "");
    ChooserScript chooser;
    chooser.answers = {"/data/chosen.img"};
    chooser.install();
    ScriptRun run = runScript(&b.m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find("out = $in + 1;\n# \"as typed\";\n"), std::string::npos) << run.text;
}

TEST(script_Check, BackslashesInsideAQuotedTextStay) {
    Base b;
    replace(payload<Vmod_RasterData>(b.in)->fileName, "C:\\data\\in.img");
    EXPECT_EQ(checkMessage(&b.m.model), "");
    ScriptRun run = runScript(&b.m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find(" \"C:\\data\\in.img\";\n"), std::string::npos) << run.text;
}

TEST(script_Quoting, PlainNamesAndQuotableTexts) {
    for (const char *name : {"n1_dem", "_x", "X9", "a", "$n1_in"}) {
        EXPECT_TRUE(script_PlainName(name)) << name;
    }
    for (const char *name : {"", "$", "$$n1", "1abc", "a$", "a b", "a-b", "a;b", "a\nb", "a\"b", "h\xc3\xb6he"}) {
        EXPECT_FALSE(script_PlainName(name)) << name;
    }
    EXPECT_EQ(script_WhyNotQuotable(nullptr), nullptr);
    EXPECT_EQ(script_WhyNotQuotable(""), nullptr);
    EXPECT_EQ(script_WhyNotQuotable("a\\b h\xc3\xb6he #;{}"), nullptr);
    EXPECT_STREQ(script_WhyNotQuotable("a\tb"), "holds a control character");
    EXPECT_STREQ(script_WhyNotQuotable("a\x7f"), "holds a control character");
    EXPECT_STREQ(script_WhyNotQuotable("\\"), "ends in a backslash");
}

// A name chosen at a prompt goes between the same quotes: one that cannot stops the script
// where it stands, as a cancel does, and says why.
TEST(vmod_ScriptGen, ChosenNameThatCannotBeQuotedStopsTheScript) {
    Base b;
    payload<Vmod_RasterData>(b.out)->prompt = 1;
    ChooserScript chooser;
    chooser.answers = {kHijack};
    chooser.install();
    std::string why;
    ScriptOptions options;
    options.stopReason = &why;
    ScriptRun run = runScript(&b.m.model, options);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(why, "the file name chosen at the prompt \"Enter New File for Raster:   out\" holds a double quote and "
                   "cannot be written between quotes");
    EXPECT_EQ(run.text.find("SYSTEM"), std::string::npos);
    EXPECT_EQ(run.text.find("QUIT;"), std::string::npos);
    EXPECT_EQ(payload<Vmod_FunctionData>(b.f)->done, 0);
}

TEST(vmod_ScriptGen, NoteLinesEndAtCarriageReturnsToo) {
    ScriptModel m;
    m.add(VMOD_TEXT, 1, "one\r\ntwo\rSYSTEM \"x\";\nthree");
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find("\n# one\n# two\n# SYSTEM \"x\";\n# three\n#\n"), std::string::npos) << run.text;
}

// For every model kept in the tree, the check and the generator agree: the check finds
// nothing exactly when the generator, with every prompt answered, writes a whole script,
// and a refused model has nothing written.
TEST(script_Check, AgreesWithTheGeneratorOnEveryModelOfTheTree) {
    const std::filesystem::path source(VMOD_SOURCE_DIR);
    std::vector<std::filesystem::path> models;
    for (const char *folder : {"examples", "tests/golden", "tests/fuzz_regressions", "tests/fuzz_pipeline_regressions"}) {
        for (const auto &entry : std::filesystem::recursive_directory_iterator(source / folder)) {
            if (entry.is_regular_file() && entry.path().extension() == ".vmf") {
                models.push_back(entry.path());
            }
        }
    }
    ASSERT_GT(models.size(), 20u);
    int accepted = 0;
    for (const auto &path : models) {
        SCOPED_TRACE(path.string());
        ScriptModel m;
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelRead(&m.model, path.c_str(), &err);
        if (err != nullptr) {
            oerr_DeleteErrorReportEx(&err);
            continue;
        }
        const std::string message = checkMessage(&m.model);
        vmodhost_SetChooserHandler(answerEverything, const_cast<char *>("/data/answer.img"));
        ScriptRun run = runScript(&m.model);
        vmodhost_SetChooserHandler(nullptr, nullptr);
        EXPECT_EQ(message.empty(), run.result == 1) << message;
        if (!message.empty()) {
            EXPECT_EQ(run.text, "");
        }
        accepted += run.result == 1;
        // Every example generates a script, but the one that carries every field of the
        // format, texts no script can hold among them.
        if (path.string().find("/examples/") != std::string::npos) {
            EXPECT_EQ(message.empty(), path.filename() != "every_kind.vmf") << message;
        }
    }
    EXPECT_GE(accepted, 8);
}
