// vmod_ModelWrite: the text of the model file, compared byte for byte.
//
// Whole files are compared with golden files under tests/golden/, named after the test
// (set VMOD_UPDATE_GOLDEN=1 to rewrite them, then review the difference by hand).
// Single statements are compared with the expected text inline.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "support/example_models.h"
#include "support/model_generator.h"
#include "support/model_write_fixture.h"
#include "support/scratch_dir.h"
#include "vmodhost/oerr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

using vmodtest::addChild;
using vmodtest::addChildId;
using vmodtest::addNode;
using vmodtest::heapArray;
using vmodtest::heapValues;
using vmodtest::heapString;
using vmodtest::heapStrings;
using vmodtest::ModelPtr;
using vmodtest::payload;

namespace {

const char *const kDefaultHeader = "PAGESIZE 8.5, 11 INCHES;\n"
                                   "CELLSIZE MINIMUM;\n"
                                   "PRINTERPAGESIZE 8.5, 11;\n"
                                   "MARGINS 0.5, 0.5, 0.5, 0.5;\n"
                                   "ORIENTATION PORTRAIT;\n"
                                   "PRINTSCALE 100;\n"
                                   "WINDOW UNION;\n"
                                   "PROJECTION DEFAULT;\n"
                                   "AOI NONE;\n"
                                   "OPTIMIZE YES;\n";

} // namespace

// ---- whole files ----

TEST_F(vmod_ModelWrite, GoldenEveryKind) {
    ModelPtr model(vmodtest::everyKindModel(nullptr));
    expectGolden("writer_every_kind", written(model.get()));
}

TEST_F(vmod_ModelWrite, GoldenRasterVariants) {
    ModelPtr model(vmodtest::newModel());
    // Prompted: neither TEMPFILE nor FILENAME, whatever the fields hold.
    Vmod_Node *n = addNode(model.get(), VMOD_RASTER, 1, "$n1_prompted", 0.125, -0.5);
    auto *r = payload<Vmod_RasterData>(n);
    r->prompt = r->tempFile = 1;
    r->fileName = heapString("/never/written.img");
    r->promptText = heapString("Pick \"the\" input");
    // Temporary: no FILENAME and, being temporary, no AOI.
    n = addNode(model.get(), VMOD_RASTER, 2, "$n2_temp", 1, 1);
    r = payload<Vmod_RasterData>(n);
    r->tempFile = 1;
    r->fileName = heapString("/never/written.img");
    r->aoiMode = 1;
    // DELETEFILE needs NEWFILE; a delete flag alone is not written.
    n = addNode(model.get(), VMOD_RASTER, 3, "$n3_deleted", 2, 1);
    r = payload<Vmod_RasterData>(n);
    r->newFile = r->deleteFile = 1;
    n = addNode(model.get(), VMOD_RASTER, 4, "$n4_kept", 3, 1);
    r = payload<Vmod_RasterData>(n);
    r->deleteFile = 1;
    r->fileName = heapString("/data/kept.img");
    r->ignoreSet = 1;
    r->ignoreValue = 0.1;
    r->areaRect = vmodtest::newRect(1, 2, 3, 4);
    r->areaFlag = 1; // a polygon area: the rectangle is not written
    r->declare = heapString("Integer");
    r->coordinates = 1;
    // Every data type word.
    for (int32_t type = 0; type <= 13; ++type) {
        n = addNode(model.get(), VMOD_RASTER, 10 + type, nullptr, type, 2);
        payload<Vmod_RasterData>(n)->dataType = type;
        payload<Vmod_RasterData>(n)->interpolation = type % 3;
    }
    // Out-of-range words leave their statements out; the block still reads.
    n = addNode(model.get(), VMOD_RASTER, 30, "$n30_odd", 4, 4);
    r = payload<Vmod_RasterData>(n);
    r->dataType = 14;
    r->interpolation = 3;
    r->compression = -1;
    r->coordinates = 2;
    addChildId(n, 31);
    addChildId(n, 2);
    expectGolden("writer_raster_variants", written(model.get()));
}

TEST_F(vmod_ModelWrite, GoldenTableVariants) {
    ModelPtr model(vmodtest::newModel());
    auto table = [&](int32_t id, int32_t source, int32_t kind) {
        Vmod_Node *n = addNode(model.get(), VMOD_TABLE, id, ("$n" + std::to_string(id) + "_t").c_str(), id, 0);
        auto *t = payload<Vmod_TableData>(n);
        t->source = source;
        t->layerKind = kind;
        t->size = 3;
        t->layerFile = heapString("/data/layer.img");
        t->layerName = heapString("Layer_1");
        t->fieldName = heapString("Class_Names");
        return t;
    };
    table(1, 1, 0);                            // image column
    table(2, 1, 2)->promptLayerFile = 1;       // prompted coverage, no prompt text
    auto *t = table(3, 1, 3);                  // prompted annotation: no LAYERNAME
    t->promptLayerFile = 1;
    t->promptLayerText = heapString("Annotation \"layer\"");
    table(4, 1, 1);                            // input variable: no layer lines
    t = table(5, 3, 1);                        // output to a variable's column
    t->outputToLayer = 1;
    t->write = 1;
    t->writeFile = heapString("/data/out.tab");
    t = table(6, 3, 0);                        // output to an image column, shown
    t->outputToLayer = 1;
    t->show = 1;
    t = table(7, 3, 2);                        // output not to a layer
    t->write = t->prompt = 1;
    t = table(8, 2, 0);                        // read from a file
    t->readFile = heapString("/data/in.tab");
    t = table(9, 2, 0);                        // read from a prompted file
    t->prompt = 1;
    t->promptText = heapString("Table file");
    t = table(10, 0, 0);                       // literal, no values array: zeros
    t->dataType = VMOD_TABLE_BINARY;
    t = table(11, 0, 0);                       // literal strings with a missing one
    t->dataType = VMOD_TABLE_STRING;
    t->strings = heapStrings({"a", nullptr, "c \"d\""});
    t = table(12, 0, 0);                       // empty literal table: no VALUE
    t->size = 0;
    t = table(13, 0, 0);                       // colours, one missing
    t->dataType = VMOD_TABLE_COLOR;
    t->colors = heapArray<Vmod_TableColor *>(3);
    t->colors[0] = vmodtest::heapRecord<Vmod_TableColor>();
    t->colors[0]->value[0] = 1e-5;
    t->colors[0]->value[3] = 123456789;
    t->colors[2] = vmodtest::heapRecord<Vmod_TableColor>();
    t->colors[2]->value[1] = 0.333333333;
    t = table(14, 0, 0);                       // single value, odd data type: numbers
    t->size = 1;
    t->dataType = 9;
    t->values = heapValues<double>({-0.5});
    expectGolden("writer_table_variants", written(model.get()));
}

TEST_F(vmod_ModelWrite, GoldenMatrixAndScalarVariants) {
    ModelPtr model(vmodtest::newModel());
    auto matrix = [&](int32_t id, const char *title, int32_t source) {
        Vmod_Node *n = addNode(model.get(), VMOD_MATRIX, id, title, id, 0);
        auto *m = payload<Vmod_MatrixData>(n);
        m->source = source;
        m->values = heapValues<double>({1, -2, 3.5, 4e-12, 5, 6, 7, 8, 0.1});
        return m;
    };
    auto *m = matrix(1, "$n1_m", 0); // built-in kernel and its values
    m->builtin = 8;
    m->normalize = 0;
    matrix(2, nullptr, 1);             // untitled: no VALUE
    m = matrix(3, "$n3_m", 1);         // 2 columns, 4 rows
    m->columns = 2;
    m->rows = 4;
    m = matrix(4, "$n4_m", 1);         // one row
    m->columns = 9;
    m->rows = 1;
    m = matrix(5, "$n5_m", 2);         // read, no values written
    m->readFile = heapString("/data/k.mtx");
    m = matrix(6, "$n6_m", 2);         // read from a prompt
    m->prompt = 1;
    m = matrix(7, "$n7_m", 3);         // output, written with a prompt, shown
    m->write = m->show = m->prompt = 1;
    m->promptText = heapString("Kernel \"out\"");
    m = matrix(8, "$n8_m", 3);         // output written to a file
    m->write = 1;
    m->writeFile = heapString("/data/out.mtx");
    m = matrix(9, "$n9_m", 1);         // no columns: nothing to list
    m->columns = 0;

    auto scalar = [&](int32_t id) {
        Vmod_Node *n = addNode(model.get(), VMOD_SCALAR, id, ("$n" + std::to_string(id) + "_s").c_str(), id, 1);
        return payload<Vmod_ScalarData>(n);
    };
    auto *s = scalar(20);
    s->dataType = VMOD_SIGNED32;
    s->value = 1.0 / 3.0;
    s = scalar(21);                    // read and written, prompted: PROMPT after each
    s->read = s->write = s->prompt = s->show = 1;
    s->readFile = heapString("/never.txt");
    s->promptText = heapString("Value");
    s = scalar(22);
    s->read = s->write = 1;
    s->readFile = heapString("/data/in.txt");
    s->writeFile = heapString("/data/out.txt");
    s->value = -1e300;
    s = scalar(23);                    // a prompt without READ or WRITE is not written
    s->prompt = 1;
    s->dataType = 99;
    expectGolden("writer_matrix_scalar_variants", written(model.get()));
}

TEST_F(vmod_ModelWrite, GoldenCriteriaFunctionTextVariants) {
    ModelPtr model(vmodtest::newModel());
    Vmod_Node *n = addNode(model.get(), VMOD_CRITERIA, 1, "$n1_c", 0, 0);
    auto *c = payload<Vmod_CriteriaData>(n);
    c->columns = 3;
    c->rows = 2;
    c->defaultValue = 0.123456789; // six significant digits
    addChildId(n, 9);
    n = addNode(model.get(), VMOD_CRITERIA, 2, nullptr, 1, 0); // a new criteria node
    n = addNode(model.get(), VMOD_CRITERIA, 3, "$n3_c", 2, 0);
    c = payload<Vmod_CriteriaData>(n);
    c->columns = 1;
    c->rows = 3;
    c->columnTitles = heapArray<char *>(1);
    c->cells = heapStrings({"> 1", nullptr, "\"x\""});
    c->outputValues = heapValues<double>({1.5, 1e-7, 12345678});
    n = addNode(model.get(), VMOD_CRITERIA, 4, "$n4_c", 3, 0); // no rows: no lists
    c = payload<Vmod_CriteriaData>(n);
    c->columns = 2;
    c->rows = 0;
    c->columnTitles = heapStrings({"a", "b"});

    n = addNode(model.get(), VMOD_FUNCTION, 5, nullptr, 0, 1); // a new function node
    n = addNode(model.get(), VMOD_FUNCTION, 6, "SUM", 1, 1);
    auto *f = payload<Vmod_FunctionData>(n);
    f->expression = heapString("SUM ( $n1_a )\n+ \"text\"\r\n");
    f->area = 1;
    addChildId(n, 7);
    n = addNode(model.get(), VMOD_FUNCTION, 7, "X", 2, 1);
    payload<Vmod_FunctionData>(n)->area = 2; // no word: no AREA line

    for (int32_t style = 0; style <= 8; ++style) {
        n = addNode(model.get(), VMOD_TEXT, 10 + style, "Note", style, 2);
        auto *t = payload<Vmod_TextData>(n);
        t->style = style;
        t->size = 10 + style;
        if (style != 0) t->font = heapString("Courier");
    }
    expectGolden("writer_criteria_function_text_variants", written(model.get()));
}

TEST_F(vmod_ModelWrite, GoldenHeaderVariants) {
    ModelPtr model(vmodtest::newModel());
    Vmod_Model *m = model.get();
    m->title = heapString("Header \"quoted\" title");
    m->pageWidth = 21;
    m->pageHeight = 29.7;
    m->pageUnits = 1; // written back as CENTIMETERS
    m->cellSizeMode = 2;
    m->cellSizeX = 0.1f;
    m->cellSizeY = 1e10f;
    m->printerPageWidth = 8.26771653543;
    m->printerPageHeight = 11.6929133858;
    m->margins[0] = 0;
    m->margins[1] = 1e-5;
    m->margins[2] = 123456789;
    m->margins[3] = -0.25;
    m->orientation = 1;
    m->printScale = 33.3333333;
    m->pageNumbers = 1;
    m->windowMode = 2;
    m->windowUnits = 1;
    m->window = vmodtest::newRect(0, 0.1, -1e-300, 1e300);
    m->projectionMode = 1;
    m->projectionSameAs = heapString("/data/ref.img");
    m->aoiMode = 2;
    m->aoiFile = heapString("/data/area.aoi");
    m->optimize = 7; // any nonzero flag is YES
    expectGolden("writer_header_variants", written(m));
}

TEST_F(vmod_ModelWrite, BundledExamplesAreWhatTheWriterWrites) {
    struct Example {
        const char *name;
        Vmod_Model *(*build)(const char *);
    };
    for (const Example &example : {Example{"every_kind", vmodtest::everyKindModel},
                                   Example{"ndvi", vmodtest::ndviModel},
                                   Example{"suitability", vmodtest::suitabilityModel}}) {
        ModelPtr model(example.build(nullptr));
        std::string text = written(model.get());
        std::string path = std::string(VMOD_SOURCE_DIR) + "/examples/" + example.name + ".vmf";
        if (const char *update = std::getenv("VMOD_UPDATE_GOLDEN"); update != nullptr && *update == '1')
            vmodtest::writeWholeFile(path, text);
        EXPECT_EQ(text, vmodtest::wholeFile(path)) << example.name;
    }
}

// ---- statements ----

TEST_F(vmod_ModelWrite, ModelWithoutTitleOrNodesIsTheHeaderOnly) {
    ModelPtr model(vmodtest::newModel());
    EXPECT_EQ(written(model.get()), kDefaultHeader);
}

TEST_F(vmod_ModelWrite, HeaderWordsWithoutValueAreLeftOut) {
    ModelPtr model(vmodtest::newModel());
    model->orientation = 2;
    model->windowMode = 3;
    model->projectionMode = -1;
    model->cellSizeMode = 1;
    EXPECT_EQ(written(model.get()), "PAGESIZE 8.5, 11 INCHES;\n"
                                    "CELLSIZE MAXIMUM;\n"
                                    "PRINTERPAGESIZE 8.5, 11;\n"
                                    "MARGINS 0.5, 0.5, 0.5, 0.5;\n"
                                    "PRINTSCALE 100;\n"
                                    "AOI NONE;\n"
                                    "OPTIMIZE YES;\n");
}

TEST_F(vmod_ModelWrite, HeaderWindowIntersectionAndMissingProjectionNames) {
    ModelPtr model(vmodtest::newModel());
    model->windowMode = 1;
    model->projectionMode = 2; // names missing: written empty rather than as garbage
    model->aoiMode = 1;
    std::string text = written(model.get());
    EXPECT_NE(text.find("WINDOW INTERSECTION;\nPROJECTION SPECIFY \"\" \"\";\nAOI DEFAULT;\n"), std::string::npos)
        << text;
}

TEST_F(vmod_ModelWrite, NodeOfUnknownKindContributesNothing) {
    ModelPtr model(vmodtest::newModel());
    addNode(model.get(), 8, 1, "odd");
    addNode(model.get(), -1, 2, "odder");
    EXPECT_EQ(written(model.get()), kDefaultHeader);
}

TEST_F(vmod_ModelWrite, NodeWithoutPayloadWritesItsCommonStatements) {
    ModelPtr model(vmodtest::newModel());
    Vmod_Node *n = addNode(model.get(), VMOD_MATRIX, 4, nullptr, 1, 2);
    vmodtest::freePayload(n->type, n->data);
    n->data = nullptr;
    addChildId(n, 5);
    EXPECT_EQ(written(model.get()), std::string(kDefaultHeader) + "MATRIX {\n\tID 4;\n\tPOSITION 1, 2;\n\tCHILD 5;\n}\n");
}

TEST_F(vmod_ModelWrite, RasterWithNewFileHasNoAoi) {
    EXPECT_EQ(block(VMOD_RASTER,
                    [](Vmod_Node *n) {
                        payload<Vmod_RasterData>(n)->newFile = 1;
                        payload<Vmod_RasterData>(n)->aoiMode = 1;
                    }),
              "RASTER {\n\tID 1;\n\tTITLE \"$n1_x\";\n\tPOSITION 1, 2;\n\tNEWFILE;\n\tINTERPOLATION NEAREST;\n"
              "\tTHEMATIC;\n\tDATATYPE UNSIGNED8;\n\tCOMPRESSION UNCOMPRESSED;\n\tCOORDINATES MAP;\n"
              "\tRECODE NO;\n}\n");
}

TEST_F(vmod_ModelWrite, RecodeTableOfOneAndOfNoClasses) {
    std::string one = block(VMOD_RASTER, [](Vmod_Node *n) {
        auto *r = payload<Vmod_RasterData>(n);
        r->recode = 1;
        r->numClasses = 1;
        r->newClasses = heapArray<int32_t>(1);
        r->newClasses[0] = -7;
    });
    EXPECT_NE(one.find("\tRECODE YES;\n\tNUMCLASSES 1;\n\tNEWCLASSES -7;\n}"), std::string::npos) << one;
    // An empty table has no NEWCLASSES list (it would be an empty list without its ";").
    std::string none = block(VMOD_VECTOR, [](Vmod_Node *n) {
        payload<Vmod_VectorData>(n)->recode = 1;
        payload<Vmod_VectorData>(n)->attribute = heapString("dropped while recoding");
    });
    EXPECT_EQ(none, "VECTOR {\n\tID 1;\n\tTITLE \"$n1_x\";\n\tPOSITION 1, 2;\n\tVECTORTYPE COVERAGE;\n"
                    "\tDECLARE \"Integer\";\n\tAOI NONE;\n\tRECODE YES;\n\tNUMCLASSES 0;\n}\n");
    // A table without its array is written as the zeros the reader gives it.
    std::string zeros = block(VMOD_RASTER, [](Vmod_Node *n) {
        payload<Vmod_RasterData>(n)->recode = 1;
        payload<Vmod_RasterData>(n)->numClasses = 2;
    });
    EXPECT_NE(zeros.find("\tNUMCLASSES 2;\n\tNEWCLASSES 0, 0;\n"), std::string::npos) << zeros;
}

TEST_F(vmod_ModelWrite, VectorAnnotationHasNoFeatureAndPromptHidesFileName) {
    EXPECT_EQ(block(VMOD_VECTOR,
                    [](Vmod_Node *n) {
                        auto *v = payload<Vmod_VectorData>(n);
                        v->vectorType = 1;
                        v->feature = heapString("point");
                        v->fileName = heapString("/data/a.ovr");
                        v->prompt = v->tempFile = 1;
                        omsc_HeapFree(v->declare);
                        v->declare = nullptr;
                        v->aoiMode = 2;
                        v->aoiFile = heapString("/x.aoi");
                    }),
              "VECTOR {\n\tID 1;\n\tTITLE \"$n1_x\";\n\tPOSITION 1, 2;\n\tVECTORTYPE ANNOTATION;\n\tPROMPT;\n"
              "\tTEMPFILE;\n\tAOI \"/x.aoi\";\n\tRECODE NO;\n}\n");
}

TEST_F(vmod_ModelWrite, ChildLineListsLinkIdentifiersInOrder) {
    ModelPtr model(vmodtest::newModel());
    Vmod_Node *a = addNode(model.get(), VMOD_SCALAR, 1, "$n1_a");
    Vmod_Node *b = addNode(model.get(), VMOD_SCALAR, 2, "$n2_b");
    addChildId(a, 7); // names no node: still written
    addChild(a, b);
    addChildId(a, -3);
    std::string text = written(model.get());
    EXPECT_NE(text.find("\tSHOW;\n"), 0u);
    EXPECT_NE(text.find("\tVALUE 0;\n\tCHILD 7, 2, -3;\n}\nSCALAR {\n"), std::string::npos) << text;
}

TEST_F(vmod_ModelWrite, TextNodeWithChildrenHasNoChildLine) {
    EXPECT_EQ(block(VMOD_TEXT,
                    [](Vmod_Node *n) {
                        addChildId(n, 3);
                        payload<Vmod_TextData>(n)->style = 5;
                        payload<Vmod_TextData>(n)->font = heapString("Arial");
                        payload<Vmod_TextData>(n)->size = -4;
                    }),
              "TEXT {\n\tID 1;\n\tTITLE \"$n1_x\";\n\tPOSITION 1, 2;\n\tFONT \"Arial\";\n\tSIZE -4;\n"
              "\tSTYLE BOLD;\n\tSTYLE UNDERLINED;\n}\n");
}

TEST_F(vmod_ModelWrite, FunctionTitleAndExpressionQuotesAreEscaped) {
    ModelPtr model(vmodtest::newModel());
    Vmod_Node *n = addNode(model.get(), VMOD_FUNCTION, 3, "say \"a\"", 0.5, 0.25);
    payload<Vmod_FunctionData>(n)->expression = heapString("\"\"x\\\"");
    addChildId(n, 4);
    EXPECT_EQ(written(model.get()), std::string(kDefaultHeader) +
                                        "FUNCTION {\n\tID 3;\n\tTITLE \"say \\\"a\\\"\";\n\tPOSITION 0.5, 0.25;\n"
                                        "\tVALUE \"\\\"\\\"x\\\\\"\";\n\tAREA UNION;\n\tCHILD 4;\n}\n");
}

TEST_F(vmod_ModelWrite, QuotesInOtherStringsAreEscapedToo) {
    // Fields the format has no escaping for in valid models still read back when they
    // hold a quote.
    std::string text = block(VMOD_RASTER, [](Vmod_Node *n) {
        omsc_HeapFree(n->title);
        n->title = heapString("a\"b");
        payload<Vmod_RasterData>(n)->fileName = heapString("/data/\"q\".img");
    });
    EXPECT_NE(text.find("\tTITLE \"a\\\"b\";\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\tFILENAME \"/data/\\\"q\\\".img\";\n"), std::string::npos) << text;
}

TEST_F(vmod_ModelWrite, LongStringsAreWrittenWhole) {
    // Far beyond the 256 and 4096 bytes a fixed buffer would hold, quotes included.
    std::string title(300, '"');
    std::string expression(5000, 'x');
    expression[0] = expression[4999] = '"';
    std::string cell(1000, 'c');
    std::string text;
    {
        ModelPtr model(vmodtest::newModel());
        Vmod_Node *f = addNode(model.get(), VMOD_FUNCTION, 1, title.c_str());
        payload<Vmod_FunctionData>(f)->expression = heapString(expression.c_str());
        Vmod_Node *t = addNode(model.get(), VMOD_TEXT, 2, title.c_str());
        Vmod_Node *c = addNode(model.get(), VMOD_CRITERIA, 3, "c");
        payload<Vmod_CriteriaData>(c)->columns = 1;
        payload<Vmod_CriteriaData>(c)->cells = heapStrings({cell.c_str()});
        (void)t;
        text = written(model.get());
    }
    std::string escapedTitle;
    for (char ch : title) escapedTitle += ch == '"' ? "\\\"" : std::string(1, ch);
    std::string escapedExpression = "\\\"" + expression.substr(1, 4998) + "\\\"";
    EXPECT_NE(text.find("FUNCTION {\n\tID 1;\n\tTITLE \"" + escapedTitle + "\";\n"), std::string::npos);
    EXPECT_NE(text.find("\tVALUE \"" + escapedExpression + "\";\n"), std::string::npos);
    EXPECT_NE(text.find("TEXT {\n\tID 2;\n\tTITLE \"" + escapedTitle + "\";\n"), std::string::npos);
    EXPECT_NE(text.find("\tVALUE   \"" + cell + "\";\n"), std::string::npos);
}

TEST_F(vmod_ModelWrite, NonFiniteNumbersUseTheFormsOfTheConversion) {
    std::string text = block(VMOD_SCALAR, [](Vmod_Node *n) {
        n->x = -HUGE_VAL;
        payload<Vmod_ScalarData>(n)->value = HUGE_VAL;
    });
    EXPECT_NE(text.find("\tPOSITION -inf, 2;\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\tVALUE inf;\n"), std::string::npos) << text;
}

TEST_F(vmod_ModelWrite, NullModelTouchesNothing) {
    Oerr_ErrorReport *err = reinterpret_cast<Oerr_ErrorReport *>(&err); // a report of the caller's: kept, never read
    ::vmod_ModelWrite(nullptr, &err);
    EXPECT_EQ(err, reinterpret_cast<Oerr_ErrorReport *>(&err));  // left as it was
    ::vmod_ModelWrite(nullptr, nullptr);
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(vmod_ModelWrite, GeneratedModelsOfEveryKindSave) {
    // The generator feeds the benchmarks and the round-trip tests: every model it makes
    // must save, with blocks of every kind, and the same seed must give the same file.
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        ModelPtr model(vmodtest::generateModel(seed, 64, 3));
        std::string first = written(model.get());
        for (const char *block : {"RASTER {\n", "VECTOR {\n", "MATRIX {\n", "TABLE {\n", "SCALAR {\n",
                                  "FUNCTION {\n", "CRITERIA {\n", "TEXT {\n"})
            EXPECT_NE(first.find(block), std::string::npos) << block;
        ModelPtr again(vmodtest::generateModel(seed, 64, 3));
        EXPECT_EQ(written(again.get()), first);
    }
}

TEST_F(vmod_ModelWrite, NewNodesOfEveryKindWriteTheirDefaults) {
    // Nodes as the editor makes them, without any preference set.
    vmodhost_ClearPreferences();
    Vmod_Model *model = vmodtest::newModel();
    char font[] = "Arial";
    model->textFont = font; // shared with the new text node, not owned
    model->textSize = 10;
    model->textStyle = VMOD_STYLE_ITALIC;
    Vmod_Node *last = nullptr;
    for (int32_t kind = VMOD_RASTER; kind <= VMOD_TEXT; ++kind) {
        Vmod_Node *node = vmod_NodeCreate(model, kind, nullptr);
        ASSERT_NE(node, nullptr);
        node->id = kind + 1;
        node->prev = last;
        (last != nullptr ? last->next : model->nodes) = node;
        last = node;
    }
    std::string text = written(model);
    vmod_ModelDelete(model, nullptr);
    omsc_HeapFree(model);
    EXPECT_EQ(text, std::string(kDefaultHeader) +
                        "RASTER {\n\tID 1;\n\tPOSITION 0, 0;\n\tINTERPOLATION NEAREST;\n\tTHEMATIC;\n"
                        "\tDATATYPE UNSIGNED8;\n\tCOMPRESSION UNCOMPRESSED;\n\tCOORDINATES MAP;\n\tAOI NONE;\n"
                        "\tRECODE NO;\n}\n"
                        "VECTOR {\n\tID 2;\n\tPOSITION 0, 0;\n\tVECTORTYPE COVERAGE;\n\tDECLARE \"Integer\";\n"
                        "\tAOI NONE;\n\tRECODE NO;\n}\n"
                        "MATRIX {\n\tID 3;\n\tPOSITION 0, 0;\n\tSIZE 3, 3;\n\tDATATYPE DOUBLE;\n\tNORMALIZE YES;\n}\n"
                        "TABLE {\n\tID 4;\n\tPOSITION 0, 0;\n\tSIZE 0;\n\tDATATYPE SIGNED32;\n}\n"
                        "SCALAR {\n\tID 5;\n\tPOSITION 0, 0;\n\tDATATYPE DOUBLE;\n\tVALUE 0;\n}\n"
                        "FUNCTION {\n\tID 6;\n\tPOSITION 0, 0;\n\tAREA UNION;\n}\n"
                        "CRITERIA {\n\tID 7;\n\tPOSITION 0, 0;\n\tSIZE 0, 1;\n\tOUTPUTVALUES 1;\n\tDEFAULT 0;\n}\n"
                        "TEXT {\n\tID 8;\n\tPOSITION 0, 0;\n\tFONT \"Arial\";\n\tSIZE 10;\n\tSTYLE ITALICS;\n}\n");
}
