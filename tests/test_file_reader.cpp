// Tests of reading model files: what each statement sets, and how vmod_ModelRead moves
// the result into the caller's model. Fields of the packed records are compared as
// values (`+(...)`, `double(...)`): a reference to one could be misaligned.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "file/model_reader.h"
#include "vmodhost/ostr.h"
#include "model/text_font.h"
#include "support/reader_support.h"

namespace {

const char kHeader[] = "TITLE \"m\";\n";

// Parses kHeader followed by body; fails the test when the parse fails.
ParsedModel parseBody(const std::string &body) {
    ReportKeeper report;
    ParsedModel model = parseText(kHeader + body, report);
    EXPECT_NE(model, nullptr) << report.cause();
    return model;
}

template <typename T> T *payloadOf(const Vmod_Model *model, int index = 0) {
    return static_cast<T *>(nthNode(model, index)->data);
}

// A caller's model record that releases what reading gave it.
struct TargetModel {
    Vmod_Model model{};
    ~TargetModel() {
        Oerr_ErrorReport *err = nullptr;
        vmod_NodesDelete(model.nodes, &err);
        model.nodes = nullptr;
        omsc_HeapFree(model.fileName);
        omsc_HeapFree(model.title);
        omsc_HeapFree(model.projectionSameAs);
        omsc_HeapFree(model.projectionSpec1);
        omsc_HeapFree(model.projectionSpec2);
        omsc_HeapFree(model.aoiFile);
        omsc_HeapFree(model.window);
    }
};

void readInto(TargetModel &target, const std::string &path, ReportKeeper &report) {
    QuietErrors quiet;
    vmod_ModelRead(&target.model, path.c_str(), report.slot());
}

} // namespace

TEST(vmod_ModelParse, HeaderStatementsSetTheModelFields) {
    ReportKeeper report;
    ParsedModel m = parseText("TITLE \"Land use\";\nPAGESIZE 21, 29.7 cm;\nCELLSIZE 0.1, 30 FEET;\n"
                              "PRINTERPAGESIZE 11, 17;\nMARGINS 1, 2, 3, 4;\nORIENTATION LANDSCAPE;\n"
                              "PRINTSCALE 50;\nPAGENUMBERS;\nWINDOW 1, 2 : 3, 4 PIXEL;\n"
                              "PROJECTION SPECIFY \"utm\" zone11;\nAOI \"area.aoi\";\nOPTIMIZE NO;\n",
                              report);
    ASSERT_NE(m, nullptr) << report.cause();
    EXPECT_STREQ(m->title, "Land use");
    EXPECT_EQ(double(m->pageWidth), 21);
    EXPECT_EQ(double(m->pageHeight), 29.7);
    EXPECT_EQ(+(m->pageUnits), 1);
    EXPECT_EQ(+(m->cellSizeSet), 1);
    EXPECT_EQ(+(m->cellSizeMode), 2);
    EXPECT_EQ(float(m->cellSizeX), 0.1f);
    EXPECT_EQ(float(m->cellSizeY), 30.0f);
    EXPECT_EQ(+(m->cellSizeUnits), 1);
    EXPECT_EQ(double(m->printerPageWidth), 11);
    EXPECT_EQ(double(m->printerPageHeight), 17);
    EXPECT_EQ(double(m->margins[0]), 1);
    EXPECT_EQ(double(m->margins[3]), 4);
    EXPECT_EQ(+(m->orientation), 1);
    EXPECT_EQ(double(m->printScale), 50);
    EXPECT_EQ(+(m->pageNumbers), 1);
    EXPECT_EQ(+(m->windowMode), 2);
    ASSERT_NE(+(m->window), nullptr);
    EXPECT_EQ(double(m->window->x1), 1);
    EXPECT_EQ(double(m->window->y2), 4);
    EXPECT_EQ(+(m->windowUnits), 1);
    EXPECT_EQ(+(m->projectionMode), 2);
    EXPECT_STREQ(m->projectionSpec1, "utm");
    EXPECT_STREQ(m->projectionSpec2, "zone11");
    EXPECT_EQ(+(m->aoiMode), 2);
    EXPECT_STREQ(m->aoiFile, "area.aoi");
    EXPECT_EQ(+(m->optimize), 0);
    EXPECT_EQ(+(m->nodes), nullptr);
}

TEST(vmod_ModelParse, MissingHeaderStatementsKeepTheStartingValues) {
    ParsedModel m = parseBody("");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(double(m->printerPageWidth), 8.5);
    EXPECT_EQ(double(m->printerPageHeight), 11);
    EXPECT_EQ(double(m->margins[1]), 0.5);
    EXPECT_EQ(+(m->orientation), 0);
    EXPECT_EQ(double(m->printScale), 100);
    EXPECT_EQ(+(m->windowMode), 0);
    EXPECT_EQ(+(m->projectionMode), 0);
    EXPECT_EQ(+(m->aoiMode), 0);
    EXPECT_EQ(+(m->optimize), 1);
    EXPECT_EQ(+(m->cellSizeSet), 0);
    EXPECT_EQ(double(m->pageWidth), 0);
}

TEST(vmod_ModelParse, LaterHeaderStatementWins) {
    ParsedModel m = parseBody("TITLE second;\nORIENTATION LANDSCAPE;\nORIENTATION;\nCELLSIZE 1, 1;\nCELLSIZE MAXIMUM;\n");
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->title, "second");
    EXPECT_EQ(+(m->orientation), 0);
    EXPECT_EQ(+(m->cellSizeMode), 1);
}

TEST(vmod_ModelParse, EmptyBlockGivesANodeWithItsDefaults) {
    ParsedModel m = parseBody("RASTER { }\n");
    ASSERT_NE(m, nullptr);
    Vmod_Node *node = m->nodes;
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(+(node->type), VMOD_RASTER);
    EXPECT_EQ(+(node->id), 0);
    EXPECT_EQ(double(node->x), 0);
    EXPECT_EQ(+(node->title), nullptr);
    EXPECT_EQ(+(payloadOf<Vmod_RasterData>(m.get())->dataType), VMOD_UNSIGNED8);
}

TEST(vmod_ModelParse, BlockKeywordsReadTheSameInAnyCase) {
    ParsedModel m = parseBody("raster { }\nRaster { }\nRASTER { }\n");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(nodeCount(m.get()), 3);
}

TEST(vmod_ModelParse, NodesJoinTheListInFileOrder) {
    ParsedModel m = parseBody("SCALAR { ID 3; }\nTEXT { ID 1; }\nMATRIX { ID 2; }\n");
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(nodeCount(m.get()), 3);
    EXPECT_EQ(+(nthNode(m.get(), 0)->id), 3);
    EXPECT_EQ(+(nthNode(m.get(), 1)->id), 1);
    EXPECT_EQ(+(nthNode(m.get(), 2)->id), 2);
    EXPECT_EQ(+(nthNode(m.get(), 2)->prev), nthNode(m.get(), 1));
    EXPECT_EQ(+(m->nodes->prev), nullptr);
}

TEST(vmod_ModelParse, NegativeNumbersAndTruncatedIdentifiers) {
    ParsedModel m = parseBody("FUNCTION { POSITION -1.5, 2; ID 7.9; }\nSCALAR { ID -3.9; VALUE -1e-300; }\n");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(double(m->nodes->x), -1.5);
    EXPECT_EQ(double(m->nodes->y), 2);
    EXPECT_EQ(+(m->nodes->id), 7);
    EXPECT_EQ(+(nthNode(m.get(), 1)->id), -3);
    EXPECT_EQ(double(payloadOf<Vmod_ScalarData>(m.get(), 1)->value), -1e-300);
}

TEST(vmod_ModelParse, NonFiniteNumbersReadWhereDoublesAreStored) {
    ParsedModel m = parseBody("SCALAR { VALUE -inf; POSITION NaN, INF; }\n");
    ASSERT_NE(m, nullptr);
    double value = payloadOf<Vmod_ScalarData>(m.get())->value;
    EXPECT_TRUE(std::isinf(value) && value < 0);
    EXPECT_TRUE(std::isnan(double(m->nodes->x)));
    EXPECT_TRUE(std::isinf(double(m->nodes->y)));
}

TEST(vmod_ModelParse, RasterStatements) {
    ParsedModel m = parseBody("RASTER { ID 1; TITLE \"dem\"; PROMPT \"Which DEM?\"; TEMPFILE; DELETEFILE; IGNORE 5.5;\n"
                              "INTERPOLATION CUBIC; ATHEMATIC; DATATYPE SIGNED16; COMPRESSION RLE; COORDINATES PIXEL;\n"
                              "AREA RECT 1, 2 : 3, 4; AOI DEFAULT; RECODE YES; NUMCLASSES 2; NEWCLASSES 4, 5;\n"
                              "VIEW 1, 2; PARENT 9; CHILD 2, 3, 4; }\n");
    ASSERT_NE(m, nullptr);
    auto *r = payloadOf<Vmod_RasterData>(m.get());
    EXPECT_EQ(+(r->prompt), 1);
    EXPECT_STREQ(r->promptText, "Which DEM?");
    EXPECT_EQ(+(r->tempFile), 1);
    EXPECT_STREQ(r->declare, "Float"); // TEMPFILE gives a raster without a declaration one
    EXPECT_EQ(+(r->newFile), 1);
    EXPECT_EQ(+(r->deleteFile), 1);
    EXPECT_EQ(+(r->ignoreSet), 1);
    EXPECT_EQ(double(r->ignoreValue), 5.5);
    EXPECT_EQ(+(r->interpolation), 2);
    EXPECT_EQ(+(r->thematic), 0);
    EXPECT_EQ(+(r->dataType), VMOD_SIGNED16);
    EXPECT_EQ(+(r->compression), 1);
    EXPECT_EQ(+(r->coordinates), 1);
    EXPECT_EQ(+(r->areaFlag), 0);
    ASSERT_NE(+(r->areaRect), nullptr);
    EXPECT_EQ(double(r->areaRect->x2), 3);
    EXPECT_EQ(+(r->aoiMode), 1);
    EXPECT_EQ(+(r->recode), 1);
    EXPECT_EQ(+(r->numClasses), 2);
    ASSERT_NE(+(r->newClasses), nullptr);
    EXPECT_EQ(+(r->newClasses[0]), 4);
    EXPECT_EQ(+(r->newClasses[1]), 5);
    int children[3];
    int n = 0;
    for (Vmod_Link *link = m->nodes->children; link != nullptr && n < 3; link = link->next)
        children[n++] = link->id;
    ASSERT_EQ(n, 3);
    EXPECT_EQ(children[0], 2);
    EXPECT_EQ(children[2], 4);
    EXPECT_EQ(+(m->nodes->parents), nullptr); // PARENT is ignored
}

TEST(vmod_ModelParse, RasterAreaPolygonAndMaskKeepNoRectangle) {
    ParsedModel m = parseBody("RASTER { AREA POLY 3 : 0, 0 : 1, 0 : 1, 1; }\nRASTER { AREA MASK \"m.img\"; }\n");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(+(payloadOf<Vmod_RasterData>(m.get(), 0)->areaFlag), 1);
    EXPECT_EQ(+(payloadOf<Vmod_RasterData>(m.get(), 0)->areaRect), nullptr);
    EXPECT_EQ(+(payloadOf<Vmod_RasterData>(m.get(), 1)->areaFlag), 2);
}

TEST(vmod_ModelParse, RepeatedStatementsReplaceWhatTheyHeld) {
    // Under LeakSanitizer this also shows the replaced strings and rectangles released.
    ParsedModel m = parseBody("WINDOW 1, 1 : 2, 2 MAP;\nWINDOW 5, 5 : 6, 6 MAP;\nTITLE again;\n"
                              "RASTER { TITLE a; TITLE b; DECLARE \"x\"; DECLARE \"y\"; AREA RECT 1, 1 : 2, 2;\n"
                              "AREA RECT 3, 3 : 4, 4; NUMCLASSES 1; NUMCLASSES 2; NEWCLASSES 1, 2; IGNORE; }\n"
                              "TEXT { FONT \"Arial\"; FONT \"Courier\"; }\n");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(double(m->window->x1), 5);
    EXPECT_STREQ(m->nodes->title, "b");
    auto *r = payloadOf<Vmod_RasterData>(m.get());
    EXPECT_STREQ(r->declare, "y");
    EXPECT_EQ(double(r->areaRect->x1), 3);
    EXPECT_EQ(+(r->numClasses), 2);
    EXPECT_EQ(double(r->ignoreValue), 0);
    auto *text = payloadOf<Vmod_TextData>(m.get(), 1);
    EXPECT_STREQ(text->font, "Courier");
    EXPECT_TRUE(model_TextFontOwned(text));
}

TEST(vmod_ModelParse, VectorStatements) {
    ParsedModel m = parseBody("VECTOR { VECTORTYPE ANNOTATION; FILENAME roads; FEATURE \"line\"; TEMPFILE;\n"
                              "CELLSIZE 2.5, 3; DECLARE \"Float\"; WINDOW 1, 2 : 3, 4; AOI NONE; ATTRIBUTE \"class\";\n"
                              "RECODE NO; NUMCLASSES 1; NEWCLASSES -7; CHILD 4; }\n");
    ASSERT_NE(m, nullptr);
    auto *v = payloadOf<Vmod_VectorData>(m.get());
    EXPECT_EQ(+(v->vectorType), 1);
    EXPECT_STREQ(v->fileName, "roads");
    EXPECT_STREQ(v->feature, "line");
    EXPECT_EQ(+(v->tempFile), 1);
    EXPECT_EQ(+(v->cellSizeSet), 1);
    EXPECT_EQ(float(v->cellSizeX), 2.5f);
    EXPECT_EQ(+(v->cellSizeUnits), 0);
    EXPECT_STREQ(v->declare, "Float");
    ASSERT_NE(+(v->window), nullptr);
    EXPECT_EQ(double(v->window->y1), 2);
    EXPECT_STREQ(v->attribute, "class");
    EXPECT_EQ(+(v->newClasses[0]), -7);
}

TEST(vmod_ModelParse, MatrixStatements) {
    ParsedModel m = parseBody("MATRIX { SIZE 3, 2; DATATYPE FLOAT; VALUE 1, 2, 3, 4, 5, 6; NORMALIZE NO; }\n"
                              "MATRIX { BUILTIN SOBEL2; }\nMATRIX { OUTPUT; WRITE \"out.mtx\"; SHOW; PROMPT; }\n"
                              "MATRIX { READ; PROMPT \"Kernel file\"; }\n");
    ASSERT_NE(m, nullptr);
    auto *a = payloadOf<Vmod_MatrixData>(m.get(), 0);
    EXPECT_EQ(+(a->columns), 3);
    EXPECT_EQ(+(a->rows), 2);
    EXPECT_EQ(+(a->dataType), VMOD_FLOAT);
    EXPECT_EQ(+(a->source), 1); // VALUE keeps the source of a new matrix
    EXPECT_EQ(double(a->values[5]), 6);
    EXPECT_EQ(+(a->normalize), 0);
    auto *b = payloadOf<Vmod_MatrixData>(m.get(), 1);
    EXPECT_EQ(+(b->source), 0);
    EXPECT_EQ(+(b->builtin), 8);
    auto *c = payloadOf<Vmod_MatrixData>(m.get(), 2);
    EXPECT_EQ(+(c->source), 3);
    EXPECT_EQ(+(c->write), 1);
    EXPECT_STREQ(c->writeFile, "out.mtx");
    EXPECT_EQ(+(c->show), 1);
    EXPECT_EQ(+(c->prompt), 1);
    auto *d = payloadOf<Vmod_MatrixData>(m.get(), 3);
    EXPECT_EQ(+(d->source), 2);
    EXPECT_EQ(+(d->read), 1);
    EXPECT_STREQ(d->promptText, "Kernel file");
}

TEST(vmod_ModelParse, KernelWordsReadAsTheirCodes) {
    const char *words[] = {"EDGEDETECT", "EDGEENHANCE", "LOWPASS", "HIGHPASS", "HORIZONTAL",
                           "VERTICAL",   "SUMMARY",     "SOBEL1",  "SOBEL2"};
    for (int code = 0; code < 9; ++code) {
        ParsedModel m = parseBody(std::string("MATRIX { BUILTIN ") + words[code] + "; }\n");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(+(payloadOf<Vmod_MatrixData>(m.get())->builtin), code) << words[code];
    }
}

TEST(vmod_ModelParse, DataTypeWordsReadAsTheirCodes) {
    const char *words[] = {"BINARY",  "UNSIGNED2", "UNSIGNED4", "UNSIGNED8", "SIGNED8",
                           "UNSIGNED16", "SIGNED16", "UNSIGNED32", "SIGNED32", "FLOAT",
                           "DOUBLE",  "COMPLEX",   "DOUBLECOMPLEX", "STRING"};
    for (int code = 0; code < 14; ++code) {
        ParsedModel m = parseBody(std::string("SCALAR { DATATYPE ") + words[code] + "; }\n");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(+(payloadOf<Vmod_ScalarData>(m.get())->dataType), code) << words[code];
    }
    const char *tableWords[] = {"BINARY", "SIGNED32", "DOUBLE", "STRING", "COLOR"};
    for (int code = 0; code < 5; ++code) {
        ParsedModel m = parseBody(std::string("TABLE { DATATYPE ") + tableWords[code] + "; }\n");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(+(payloadOf<Vmod_TableData>(m.get())->dataType), code) << tableWords[code];
    }
    ReportKeeper report;
    EXPECT_EQ(parseText("TITLE t;\nTABLE { DATATYPE FLOAT; }\n", report), nullptr);
}

TEST(vmod_ModelParse, TableStatements) {
    ParsedModel m = parseBody("TABLE { SIZE 3; DATATYPE DOUBLE; VALUE 1.5, 2.5, -3; }\n"
                              "TABLE { SIZE 2; DATATYPE STRING; VALUE \"a \\\"b\\\"\", c; }\n"
                              "TABLE { SIZE 2; DATATYPE COLOR; COLORVALUE ( (1, 0, 0, 0.5), (0, 1, 0, 1) ); }\n"
                              "TABLE { IMAGENAME; PROMPTLAYERFILE \"Image?\"; LAYERNAME \":Layer_1\"; FIELDNAME \"Area\"; }\n"
                              "TABLE { FIELDNAME f; OUTPUT; WRITE; PROMPT \"Save as\"; SHOW; }\n"
                              "TABLE { VARIABLENAME v; FIELDNAME f; }\nTABLE { ANNOTATIONNAME \"a.ovr\"; }\n"
                              "TABLE { READ \"t.dat\"; }\n");
    ASSERT_NE(m, nullptr);
    auto *numbers = payloadOf<Vmod_TableData>(m.get(), 0);
    EXPECT_EQ(+(numbers->size), 3);
    EXPECT_EQ(+(numbers->source), 0);
    EXPECT_EQ(double(numbers->values[2]), -3);
    auto *strings = payloadOf<Vmod_TableData>(m.get(), 1);
    EXPECT_STREQ(strings->strings[0], "a \"b\"");
    EXPECT_STREQ(strings->strings[1], "c");
    auto *colors = payloadOf<Vmod_TableData>(m.get(), 2);
    ASSERT_NE(+(colors->colors[1]), nullptr);
    EXPECT_EQ(double(colors->colors[0]->value[3]), 0.5);
    EXPECT_EQ(double(colors->colors[1]->value[1]), 1);
    auto *image = payloadOf<Vmod_TableData>(m.get(), 3);
    EXPECT_EQ(+(image->source), 1);
    EXPECT_EQ(+(image->layerKind), 0);
    EXPECT_EQ(+(image->promptLayerFile), 1);
    EXPECT_STREQ(image->promptLayerText, "Image?");
    EXPECT_STREQ(image->layerName, ":Layer_1");
    EXPECT_STREQ(image->fieldName, "Area");
    auto *output = payloadOf<Vmod_TableData>(m.get(), 4);
    EXPECT_EQ(+(output->source), 3);
    EXPECT_EQ(+(output->outputToLayer), 1); // OUTPUT after FIELDNAME
    EXPECT_EQ(+(output->write), 1);
    EXPECT_EQ(+(output->prompt), 1);
    EXPECT_EQ(+(output->show), 1);
    auto *variable = payloadOf<Vmod_TableData>(m.get(), 5);
    EXPECT_EQ(+(variable->source), 3);
    EXPECT_EQ(+(variable->layerKind), 1);
    EXPECT_EQ(+(variable->outputToLayer), 1);
    EXPECT_STREQ(variable->layerFile, "v");
    EXPECT_EQ(+(payloadOf<Vmod_TableData>(m.get(), 6)->layerKind), 3);
    auto *read = payloadOf<Vmod_TableData>(m.get(), 7);
    EXPECT_EQ(+(read->source), 2);
    EXPECT_STREQ(read->readFile, "t.dat");
}

TEST(vmod_ModelParse, ScalarFunctionCriteriaAndTextStatements) {
    ParsedModel m = parseBody("SCALAR { DATATYPE SIGNED32; VALUE 4; READ r; WRITE w; PROMPT; SHOW; }\n"
                              "FUNCTION { TITLE \"a \\\"q\\\"\"; VALUE \"$n1 +\n 1\"; AREA INTERSECTION; PARENT 1, 2; CHILD 3; }\n"
                              "CRITERIA { SIZE 2, 2; COLUMNTITLES a, b; VALUE \"> 1\", \"\", \"<= 1\", x;\n"
                              "OUTPUTVALUES 10, 20; DEFAULT -1; PARENT 1; CHILD 9; }\n"
                              "TEXT { FONT \"Times\"; SIZE 14.7; STYLE BOLD; STYLE UNDERLINED; }\n");
    ASSERT_NE(m, nullptr);
    auto *s = payloadOf<Vmod_ScalarData>(m.get(), 0);
    EXPECT_EQ(+(s->dataType), VMOD_SIGNED32);
    EXPECT_EQ(double(s->value), 4);
    EXPECT_STREQ(s->readFile, "r");
    EXPECT_STREQ(s->writeFile, "w");
    EXPECT_EQ(+(s->prompt + s->show + s->read + s->write), 4);
    Vmod_Node *function = nthNode(m.get(), 1);
    EXPECT_STREQ(function->title, "a \"q\"");
    auto *f = payloadOf<Vmod_FunctionData>(m.get(), 1);
    EXPECT_STREQ(f->expression, "$n1 +\n 1");
    EXPECT_EQ(+(f->area), 1);
    ASSERT_NE(+(function->children), nullptr);
    EXPECT_EQ(+(function->children->id), 3);
    auto *c = payloadOf<Vmod_CriteriaData>(m.get(), 2);
    EXPECT_EQ(+(c->columns), 2);
    EXPECT_EQ(+(c->rows), 2);
    EXPECT_STREQ(c->columnTitles[1], "b");
    EXPECT_STREQ(c->cells[0], "> 1");
    EXPECT_STREQ(c->cells[1], "");
    EXPECT_STREQ(c->cells[3], "x");
    EXPECT_EQ(double(c->outputValues[1]), 20);
    EXPECT_EQ(double(c->defaultValue), -1);
    auto *t = payloadOf<Vmod_TextData>(m.get(), 3);
    EXPECT_STREQ(t->font, "Times");
    EXPECT_EQ(+(t->size), 14);
    EXPECT_EQ(+(t->style), 5);
}

TEST(vmod_ModelParse, StyleNormalClearsAndRepeatedBitsDoNotCarry) {
    ParsedModel m = parseBody("TEXT { STYLE BOLD; STYLE BOLD; }\nTEXT { STYLE ITALICS; STYLE NORMAL; }\n");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(+(payloadOf<Vmod_TextData>(m.get(), 0)->style), 1);
    EXPECT_EQ(+(payloadOf<Vmod_TextData>(m.get(), 1)->style), 0);
}

TEST(vmod_ModelParse, EmptyFontNameReadsAsNoFont) {
    // Under LeakSanitizer this also shows the replaced and the empty names released.
    ParsedModel m = parseBody("TEXT { FONT \"\"; }\nTEXT { FONT \"Arial\"; FONT \"\"; }\nTEXT { FONT \" \"; }\n");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(+(payloadOf<Vmod_TextData>(m.get(), 0)->font), nullptr);
    EXPECT_EQ(+(payloadOf<Vmod_TextData>(m.get(), 1)->font), nullptr);
    EXPECT_STREQ(payloadOf<Vmod_TextData>(m.get(), 2)->font, " ");
}

TEST(vmod_ModelParse, TextWithoutFontSizeOrStyle) {
    ParsedModel m = parseBody("TEXT { TITLE \"note\"; }\n");
    ASSERT_NE(m, nullptr);
    auto *t = payloadOf<Vmod_TextData>(m.get());
    EXPECT_EQ(+(t->font), nullptr);
    EXPECT_EQ(+(t->size), 0);
    EXPECT_EQ(+(t->style), 0);
}

TEST(vmod_ModelParse, CriteriaOutputValuesWithoutSizeUseTheDefaultRow) {
    ParsedModel m = parseBody("CRITERIA { OUTPUTVALUES 3; }\n");
    ASSERT_NE(m, nullptr);
    auto *c = payloadOf<Vmod_CriteriaData>(m.get());
    EXPECT_EQ(+(c->rows), 1);
    EXPECT_EQ(double(c->outputValues[0]), 3);
}

TEST(vmod_ModelParse, CriteriaSizeDropsOutputValuesOfEarlierRows) {
    ParsedModel m = parseBody("CRITERIA { SIZE 1, 1; OUTPUTVALUES 7; SIZE 1, 3; }\n");
    ASSERT_NE(m, nullptr);
    auto *c = payloadOf<Vmod_CriteriaData>(m.get());
    EXPECT_EQ(+(c->rows), 3);
    EXPECT_EQ(+(c->outputValues), nullptr); // a one-entry array would be read as three
}

TEST(vmod_ModelParse, CommentsCrLfAndLowerCaseRead) {
    ParsedModel m = parseBody("# a comment\r\nraster {\r\n\tid 4; # trailing\r\n\ttitle \"a\r\nb\";\r\n}\r\n");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(+(m->nodes->id), 4);
    EXPECT_STREQ(m->nodes->title, "a\r\nb");
}

TEST(vmod_ModelParse, LongStringsCrossTheReadBuffer) {
    std::string path = scratchPath("reader_long_string.vmf");
    std::string title(200000, 'x');
    std::string text = "TITLE \"" + title + "\";\n";
    for (int i = 1; i <= 3000; ++i)
        text += "SCALAR { ID " + std::to_string(i) + "; VALUE " + std::to_string(i) + ".25; }\n";
    writeFile(path, text);
    ReportKeeper report;
    QuietErrors quiet;
    ParsedModel m(vmod_ModelParse(path.c_str(), report.slot()));
    ASSERT_NE(m, nullptr) << report.cause();
    EXPECT_EQ(std::string(m->title), title);
    ASSERT_EQ(nodeCount(m.get()), 3000);
    EXPECT_EQ(double(payloadOf<Vmod_ScalarData>(m.get(), 2999)->value), 3000.25);
}

TEST(vmod_ModelParse, FileThatCannotBeOpened) {
    ReportKeeper report;
    QuietErrors quiet;
    std::string path = scratchPath("no_such_model.vmf");
    EXPECT_EQ(vmod_ModelParse(path.c_str(), report.slot()), nullptr);
    ASSERT_EQ(report.messages().size(), 2u);
    EXPECT_EQ(report.messages()[0], "Graphical Model Parse Error");
    EXPECT_EQ(vmodhost_ErrorFunction(report.report), std::string("vmod_ModelParse"));
    EXPECT_EQ(vmodhost_ErrorCode(report.report), 2);
    EXPECT_EQ(vmodhost_ErrorSeverity(report.report), 2);
    EXPECT_EQ(report.cause(), path + ": cannot open the file: No such file or directory");
}

TEST(vmod_ModelParse, DirectoryIsNotAModel) {
    ReportKeeper report;
    QuietErrors quiet;
    std::string path = std::string(VMOD_BINARY_DIR);
    EXPECT_EQ(vmod_ModelParse(path.c_str(), report.slot()), nullptr);
    EXPECT_NE(report.cause().find(path + ": "), std::string::npos) << report.cause();
}

TEST(vmod_ModelRead, MovesTheModelIntoTheTarget) {
    std::string path = scratchPath("reader_move.vmf");
    writeFile(path, "TITLE \"t\";\nPAGESIZE 8, 9;\nPROJECTION SAMEAS \"dem.img\";\n"
                    "RASTER { ID 3; TITLE a; CHILD 7; }\nFUNCTION { ID 7; TITLE f; }\n");
    TargetModel target;
    target.model.textSize = 12;
    target.model.zoom = 2.0;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_EQ(report.report, nullptr) << report.cause();
    Vmod_Model &m = target.model;
    EXPECT_STREQ(m.title, "t");
    EXPECT_EQ(double(m.pageWidth), 8);
    EXPECT_STREQ(m.projectionSameAs, "dem.img");
    EXPECT_EQ(+(m.projectionMode), 1);
    EXPECT_STREQ(m.fileName, path.c_str());
    EXPECT_EQ(+(m.nextId), 8);
    EXPECT_EQ(+(m.textSize), 12);
    EXPECT_EQ(double(m.zoom), 2.0); // drawing fields are the front end's
    EXPECT_EQ(+(m.readerWord1), 0);
    EXPECT_EQ(double(m.printerPageWidth), 8.5);
    EXPECT_EQ(+(m.optimize), 1);
    // Links are resolved with their mirrors.
    Vmod_Node *raster = m.nodes;
    Vmod_Node *function = raster->next;
    ASSERT_NE(+(raster->children), nullptr);
    EXPECT_EQ(+(raster->children->node), function);
    ASSERT_NE(+(function->parents), nullptr);
    EXPECT_EQ(+(function->parents->id), 3);
    EXPECT_EQ(+(function->parents->node), raster);
}

TEST(vmod_ModelRead, NextIdOfAFileWithoutNodesIsOne) {
    std::string path = scratchPath("reader_no_nodes.vmf");
    writeFile(path, "AOI NONE;\n");
    TargetModel target;
    target.model.nextId = 40;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_EQ(report.report, nullptr);
    EXPECT_EQ(+(target.model.nextId), 1);
    EXPECT_EQ(+(target.model.nodes), nullptr);
}

TEST(vmod_ModelRead, NextIdStaysWithinInt32) {
    std::string path = scratchPath("reader_big_id.vmf");
    writeFile(path, "AOI NONE;\nSCALAR { ID 2147483647; }\n");
    TargetModel target;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_EQ(report.report, nullptr) << report.cause();
    EXPECT_EQ(+(target.model.nextId), 2147483647);
}

TEST(vmod_ModelRead, TitleIsReplacedButUngivenStringsAndWindowStay) {
    std::string path = scratchPath("reader_keep.vmf");
    writeFile(path, "PAGENUMBERS;\nWINDOW UNION;\n");
    TargetModel target;
    target.model.title = ostr_Duplicate("old");
    target.model.projectionSameAs = ostr_Duplicate("keep.img");
    target.model.aoiFile = ostr_Duplicate("keep.aoi");
    target.model.window = vmod_RectCreate(nullptr);
    target.model.window->x1 = 9;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_EQ(report.report, nullptr);
    EXPECT_EQ(+(target.model.title), nullptr);
    EXPECT_STREQ(target.model.projectionSameAs, "keep.img");
    EXPECT_STREQ(target.model.aoiFile, "keep.aoi");
    EXPECT_EQ(double(target.model.window->x1), 9);
}

TEST(vmod_ModelRead, WindowRectangleOverwritesTheTargetsInPlace) {
    std::string path = scratchPath("reader_window.vmf");
    writeFile(path, "WINDOW 1, 2 : 3, 4 MAP;\n");
    TargetModel target;
    Vmod_Rect *rect = vmod_RectCreate(nullptr);
    target.model.window = rect;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_EQ(report.report, nullptr);
    EXPECT_EQ(+(target.model.window), rect);
    EXPECT_EQ(double(rect->y2), 4);

    TargetModel fresh;
    readInto(fresh, path, report);
    ASSERT_NE(+(fresh.model.window), nullptr);
    EXPECT_EQ(double(fresh.model.window->x2), 3);
}

TEST(vmod_ModelRead, FailureLeavesTheTargetUntouched) {
    std::string path = scratchPath("reader_bad.vmf");
    writeFile(path, "TITLE \"new\";\nRASTER { ID 1;\n  TITLE foo bar; }\n");
    TargetModel target;
    target.model.title = ostr_Duplicate("mine");
    target.model.nextId = 5;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_NE(report.report, nullptr);
    std::vector<std::string> chain = report.messages();
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0], "Error Parsing Model: " + path);
    EXPECT_EQ(vmodhost_ErrorFunction(report.report), std::string("vmod_ModelRead"));
    EXPECT_EQ(vmodhost_ErrorCode(report.report), 1);
    EXPECT_EQ(chain[1], "Graphical Model Parse Error");
    EXPECT_EQ(chain[2], path + ":3:13: unexpected NAME \"bar\", expected ';'");
    EXPECT_STREQ(target.model.title, "mine");
    EXPECT_EQ(+(target.model.nextId), 5);
    EXPECT_EQ(+(target.model.nodes), nullptr);
    EXPECT_EQ(+(target.model.fileName), nullptr);
}

TEST(vmod_ModelRead, ChildLinksResolveAfterTheWholeFile) {
    std::string path = scratchPath("reader_links.vmf");
    writeFile(path, "AOI NONE;\nRASTER { ID 1; CHILD 2, 9; }\nFUNCTION { ID 2; CHILD 3; }\n"
                    "RASTER { ID 3; }\nRASTER { ID 3; }\n");
    TargetModel target;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_EQ(report.report, nullptr);
    Vmod_Node *first = target.model.nodes;
    Vmod_Node *function = first->next;
    Vmod_Node *third = function->next;
    EXPECT_EQ(+(first->children->node), function);
    // A CHILD naming no node keeps its link unresolved.
    ASSERT_NE(+(first->children->next), nullptr);
    EXPECT_EQ(+(first->children->next->id), 9);
    EXPECT_EQ(+(first->children->next->node), nullptr);
    // Of two nodes with one identifier the first in list order is the child.
    EXPECT_EQ(+(function->children->node), third);
    EXPECT_NE(+(third->parents), nullptr);
    EXPECT_EQ(+(third->next->parents), nullptr);
}

TEST(vmod_ModelRead, LeavesAnEarlierNodeListToTheCaller) {
    std::string path = scratchPath("reader_replace_nodes.vmf");
    writeFile(path, "AOI NONE;\nSCALAR { ID 1; }\n");
    TargetModel target;
    Vmod_Node *earlier = vmod_NodeCreate(nullptr, VMOD_RASTER, nullptr);
    target.model.nodes = earlier;
    ReportKeeper report;
    readInto(target, path, report);
    ASSERT_EQ(report.report, nullptr);
    ASSERT_NE(+(target.model.nodes), nullptr);
    EXPECT_EQ(+(target.model.nodes->type), VMOD_SCALAR);
    // The earlier list is still the caller's and still valid.
    EXPECT_EQ(+(earlier->type), VMOD_RASTER);
    vmod_NodesDelete(earlier, nullptr);
}

TEST(vmod_ModelRead, NullArgumentsAreReportedNotFollowed) {
    std::string path = scratchPath("reader_null.vmf");
    writeFile(path, "AOI NONE;\n");
    ReportKeeper report;
    QuietErrors quiet;
    vmod_ModelRead(nullptr, path.c_str(), report.slot());
    ASSERT_NE(report.report, nullptr);
    EXPECT_EQ(report.messages()[0], "Error Parsing Model: " + path);
    TargetModel target;
    vmod_ModelRead(&target.model, path.c_str(), nullptr); // no report slot: read anyway
    EXPECT_STREQ(target.model.fileName, path.c_str());
    ReportKeeper nullPath;
    vmod_ModelRead(&target.model, nullptr, nullPath.slot());
    EXPECT_NE(nullPath.report, nullptr);
    EXPECT_EQ(vmod_ModelParse(nullptr, nullptr), nullptr);
}
