// Whole scripts of vmod_ScriptGen compared byte for byte with hand-written golden files.
#include <gtest/gtest.h>

#include "vmodhost/omsc.h"
#include "test_script_support.h"

namespace {

Vmod_Rect *rect(double x1, double y1, double x2, double y2) {
    auto *area = static_cast<Vmod_Rect *>(omsc_HeapMalloc(sizeof(Vmod_Rect)));
    *area = Vmod_Rect{x1, y1, x2, y2};
    return area;
}

template <class T> T *heapArray(std::initializer_list<T> values) {
    auto *array = static_cast<T *>(omsc_HeapMalloc(sizeof(T) * values.size()));
    size_t i = 0;
    for (const T &value : values) {
        array[i++] = value;
    }
    return array;
}

char **heapTexts(std::initializer_list<const char *> texts) {
    auto **array = static_cast<char **>(omsc_HeapMalloc(sizeof(char *) * texts.size()));
    size_t i = 0;
    for (const char *text : texts) {
        array[i++] = text != nullptr ? heapText(text) : nullptr;
    }
    return array;
}

Vmod_Node *criteria(ScriptModel &m, int32_t id, const char *title, int32_t rows, int32_t columns,
                    std::initializer_list<const char *> columnTitles, std::initializer_list<const char *> cells) {
    Vmod_Node *node = m.add(VMOD_CRITERIA, id, title);
    auto *data = payload<Vmod_CriteriaData>(node);
    data->rows = rows;
    data->columns = columns;
    data->columnTitles = heapTexts(columnTitles);
    data->cells = heapTexts(cells);
    return node;
}

} // namespace

TEST(vmod_ScriptGen, EmptyModelWritesSettingsDeclarationsBannerAndQuit) {
    ScriptModel m;
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text, golden("script_empty.txt"));
}

TEST(vmod_ScriptGen, HeaderSettingsGivenExplicitlyWithNotesAndBraces) {
    ScriptModel m;
    m.model.optimize = 1;
    m.model.cellSizeMode = 2;
    m.model.cellSizeX = 0.1f; // single precision, widened when written
    m.model.cellSizeY = 30.0f;
    m.model.cellSizeUnits = 1;
    m.model.windowMode = 2;
    m.model.windowUnits = 1;
    m.model.window = rect(100, 200.5, 300, 400);
    m.model.projectionMode = 2;
    m.model.projectionSpec1 = heapText("UTM");
    m.model.projectionSpec2 = heapText("Zone 32");
    m.model.aoiMode = 2;
    m.model.aoiFile = heapText("/data/aoi.aoi");
    m.add(VMOD_TEXT, 1, "Model notes");
    m.add(VMOD_TEXT, 2, "line one\nline two");
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text, golden("script_header.txt"));
}

TEST(vmod_ScriptGen, DeclarationsAndLiteralDataOfEveryDataKind) {
    ScriptModel m;
    Vmod_Node *dem = m.add(VMOD_RASTER, 1, "n1_dem");
    payload<Vmod_RasterData>(dem)->fileName = heapText("/data/dem.img");

    Vmod_Node *out = m.add(VMOD_RASTER, 2, "n2_out");
    auto *outData = payload<Vmod_RasterData>(out);
    outData->newFile = 1;
    outData->deleteFile = 1;
    outData->dataType = VMOD_FLOAT;
    outData->thematic = 0;
    outData->fileName = heapText("/data/out.img");

    Vmod_Node *tmp = m.add(VMOD_RASTER, 3, "n3_tmp");
    payload<Vmod_RasterData>(tmp)->tempFile = 1;
    Vmod_Node *once = m.add(VMOD_RASTER, 4, "n4_once");
    payload<Vmod_RasterData>(once)->tempFile = 1;

    Vmod_Node *names = m.add(VMOD_RASTER, 5, "n5_names");
    auto *namesData = payload<Vmod_RasterData>(names);
    namesData->dataType = VMOD_STRING;
    namesData->newFile = 1;
    namesData->thematic = 1;
    namesData->ignoreSet = 1;
    namesData->ignoreValue = 0.0;
    namesData->fileName = heapText("/data/names.img");

    Vmod_Node *scan = m.add(VMOD_RASTER, 6, "n6_scan");
    auto *scanData = payload<Vmod_RasterData>(scan);
    scanData->interpolation = 1;
    scanData->areaRect = rect(10, 20, 110, 220);
    scanData->coordinates = 1;
    scanData->aoiMode = 1;
    scanData->declare = heapText("Float");
    scanData->fileName = heapText("/data/scan.img");

    Vmod_Node *land = m.add(VMOD_RASTER, 7, "n7_land");
    auto *landData = payload<Vmod_RasterData>(land);
    landData->interpolation = 2;
    landData->dataType = VMOD_SIGNED16;
    landData->areaRect = rect(0.5, 1.25, 2.5, 3.75);
    landData->aoiMode = 2;
    landData->aoiFile = heapText("/data/fields.aoi");
    landData->fileName = heapText("/data/land.img");

    Vmod_Node *roads = m.add(VMOD_VECTOR, 8, "n8_roads");
    auto *roadsData = payload<Vmod_VectorData>(roads);
    roadsData->feature = heapText("line");
    roadsData->cellSizeSet = 1;
    roadsData->cellSizeX = 0.1f;
    roadsData->cellSizeY = 0.1f;
    roadsData->window = rect(1, 2, 3, 4);
    roadsData->fileName = heapText("/data/roads");

    Vmod_Node *notes = m.add(VMOD_VECTOR, 9, "n9_notes");
    auto *notesData = payload<Vmod_VectorData>(notes);
    notesData->vectorType = 1;
    omsc_HeapFree(notesData->declare);
    notesData->declare = nullptr;
    notesData->tempFile = 1;
    notesData->attribute = heapText("Record Number");
    notesData->aoiMode = 1;
    notesData->fileName = heapText("/data/notes.ovr");

    Vmod_Node *soils = m.add(VMOD_VECTOR, 10, "n10_soils");
    auto *soilsData = payload<Vmod_VectorData>(soils);
    soilsData->attribute = heapText("CLASS");
    soilsData->feature = heapText("polygon");
    soilsData->fileName = heapText("/data/soils");

    Vmod_Node *kernel = m.add(VMOD_MATRIX, 11, "n11_kernel");
    auto *kernelData = payload<Vmod_MatrixData>(kernel);
    kernelData->dataType = VMOD_FLOAT;
    kernelData->rows = 2;
    kernelData->columns = 3;
    kernelData->normalize = 0;
    kernelData->values = heapArray<double>({1, 2, 3, 4, 5, 6});

    Vmod_Node *readMatrix = m.add(VMOD_MATRIX, 12, "n12_read");
    auto *readMatrixData = payload<Vmod_MatrixData>(readMatrix);
    readMatrixData->dataType = VMOD_UNSIGNED8;
    readMatrixData->source = 2;
    readMatrixData->read = 1;
    readMatrixData->readFile = heapText("/data/k.mtx");

    Vmod_Node *outMatrix = m.add(VMOD_MATRIX, 13, "n13_out");
    payload<Vmod_MatrixData>(outMatrix)->source = 3;

    Vmod_Node *typed = m.add(VMOD_TABLE, 14, "n14_typed");
    auto *typedData = payload<Vmod_TableData>(typed);
    typedData->dataType = VMOD_TABLE_DOUBLE;
    typedData->size = 5;
    typedData->values = heapArray<double>({1.5, 2, 3, 4, 5.25});

    Vmod_Node *column = m.add(VMOD_TABLE, 15, "n15_column");
    auto *columnData = payload<Vmod_TableData>(column);
    columnData->source = 1;
    columnData->layerKind = 0;
    columnData->layerFile = heapText("/data/landuse.img");
    columnData->layerName = heapText("(:Layer_1)");
    columnData->fieldName = heapText("Histogram");

    Vmod_Node *empty = m.add(VMOD_TABLE, 16, "n16_empty");
    payload<Vmod_TableData>(empty)->dataType = VMOD_TABLE_DOUBLE;

    Vmod_Node *strings = m.add(VMOD_TABLE, 17, "n17_names");
    auto *stringsData = payload<Vmod_TableData>(strings);
    stringsData->dataType = VMOD_TABLE_STRING;
    stringsData->size = 2;
    stringsData->strings = heapTexts({"a", "b"});

    Vmod_Node *colors = m.add(VMOD_TABLE, 18, "n18_colors");
    auto *colorsData = payload<Vmod_TableData>(colors);
    colorsData->dataType = VMOD_TABLE_COLOR;
    colorsData->size = 2;
    colorsData->colors = static_cast<Vmod_TableColor **>(omsc_HeapMalloc(2 * sizeof(Vmod_TableColor *)));
    for (int i = 0; i < 2; ++i) {
        colorsData->colors[i] = static_cast<Vmod_TableColor *>(omsc_HeapMalloc(sizeof(Vmod_TableColor)));
    }
    colorsData->colors[0]->value[0] = 1;
    colorsData->colors[0]->value[3] = 9; // the fourth number is not written
    colorsData->colors[1]->value[1] = 0.5;
    colorsData->colors[1]->value[2] = 1;

    Vmod_Node *attr = m.add(VMOD_TABLE, 19, "n19_attr");
    auto *attrData = payload<Vmod_TableData>(attr);
    attrData->dataType = VMOD_TABLE_DOUBLE;
    attrData->source = 1;
    attrData->layerKind = 2;
    attrData->layerFile = heapText("/data/parcels");
    attrData->layerName = heapText("polygon");
    attrData->fieldName = heapText("AREA");

    Vmod_Node *anno = m.add(VMOD_TABLE, 20, "n20_anno");
    auto *annoData = payload<Vmod_TableData>(anno);
    annoData->dataType = VMOD_TABLE_STRING;
    annoData->source = 3;
    annoData->outputToLayer = 1;
    annoData->layerKind = 3;
    annoData->layerFile = heapText("/data/labels.ovr");
    annoData->fieldName = heapText("NAME");

    Vmod_Node *readTable = m.add(VMOD_TABLE, 21, "n21_read");
    auto *readTableData = payload<Vmod_TableData>(readTable);
    readTableData->source = 2;
    readTableData->size = 3;
    readTableData->read = 1;
    readTableData->readFile = heapText("/data/t.tbl");

    Vmod_Node *outImage = m.add(VMOD_TABLE, 22, "n22_outimg");
    auto *outImageData = payload<Vmod_TableData>(outImage);
    outImageData->dataType = VMOD_TABLE_STRING;
    outImageData->source = 3;
    outImageData->size = 4;
    outImageData->outputToLayer = 1;
    outImageData->layerKind = 0;
    outImageData->layerFile = heapText("/data/out.img");
    outImageData->layerName = heapText("(:Layer_1)");
    outImageData->fieldName = heapText("Class_Names");

    Vmod_Node *variable = m.add(VMOD_TABLE, 23, "n23_var");
    auto *variableData = payload<Vmod_TableData>(variable);
    variableData->dataType = VMOD_TABLE_DOUBLE;
    variableData->source = 3;
    variableData->outputToLayer = 1;
    variableData->layerKind = 1;
    variableData->layerFile = heapText("n2_out");
    variableData->fieldName = heapText("Value");

    Vmod_Node *colorOut = m.add(VMOD_TABLE, 24, "n24_colvar");
    auto *colorOutData = payload<Vmod_TableData>(colorOut);
    colorOutData->dataType = VMOD_TABLE_COLOR;
    colorOutData->source = 3;
    colorOutData->outputToLayer = 1;
    colorOutData->layerKind = 2;
    colorOutData->layerFile = heapText("/data/zones");
    colorOutData->layerName = heapText("polygon");

    Vmod_Node *k = m.add(VMOD_SCALAR, 25, "n25_k");
    payload<Vmod_ScalarData>(k)->dataType = VMOD_FLOAT;
    payload<Vmod_ScalarData>(k)->value = 2.5;
    Vmod_Node *r = m.add(VMOD_SCALAR, 26, "n26_r");
    payload<Vmod_ScalarData>(r)->dataType = VMOD_SIGNED32;
    payload<Vmod_ScalarData>(r)->read = 1;
    payload<Vmod_ScalarData>(r)->readFile = heapText("/data/s.txt");
    Vmod_Node *c = m.add(VMOD_SCALAR, 27, "n27_c");
    payload<Vmod_ScalarData>(c)->dataType = VMOD_COMPLEX;
    payload<Vmod_ScalarData>(c)->value = 0.1;
    Vmod_Node *maximum = m.add(VMOD_SCALAR, 28, "n28_max");
    payload<Vmod_ScalarData>(maximum)->dataType = VMOD_FLOAT;
    payload<Vmod_ScalarData>(maximum)->show = 1;

    Vmod_Node *twice = m.function(29, "$n1_dem * 2");
    Vmod_Node *sum = m.function(30, "$n3_tmp + $n4_once");
    Vmod_Node *peak = m.function(31, "global max ($n3_tmp)");
    ScriptModel::arrow(dem, twice);
    ScriptModel::arrow(twice, once);
    ScriptModel::arrow(sum, out);
    ScriptModel::arrow(once, sum);
    ScriptModel::arrow(tmp, sum);
    ScriptModel::arrow(tmp, peak);
    ScriptModel::arrow(peak, maximum);

    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text, golden("script_declarations.txt"));
}

TEST(vmod_ScriptGen, OperationsInDependencyOrderWithMacrosCriteriaAndOutputs) {
    ScriptModel m;
    Vmod_Node *in1 = m.add(VMOD_RASTER, 1, "in1");
    payload<Vmod_RasterData>(in1)->fileName = heapText("/data/in1.img");
    Vmod_Node *mid = m.add(VMOD_RASTER, 2, "mid");
    payload<Vmod_RasterData>(mid)->tempFile = 1;
    payload<Vmod_RasterData>(mid)->declare = heapText("Float");
    Vmod_Node *out = m.add(VMOD_RASTER, 3, "out");
    payload<Vmod_RasterData>(out)->newFile = 1;
    payload<Vmod_RasterData>(out)->fileName = heapText("/data/out.img");
    Vmod_Node *twice = m.add(VMOD_RASTER, 4, "twice");
    payload<Vmod_RasterData>(twice)->tempFile = 1;
    Vmod_Node *zone = m.add(VMOD_RASTER, 5, "zone");
    payload<Vmod_RasterData>(zone)->newFile = 1;
    payload<Vmod_RasterData>(zone)->fileName = heapText("/data/zone.img");
    Vmod_Node *classes = m.add(VMOD_MATRIX, 6, "classes");
    auto *classesData = payload<Vmod_MatrixData>(classes);
    classesData->dataType = VMOD_UNSIGNED8;
    classesData->source = 3;
    classesData->normalize = 0;
    classesData->write = 1; // a criteria output is neither written nor shown
    classesData->writeFile = heapText("/data/c.mtx");
    classesData->show = 1;
    Vmod_Node *tmpc = m.add(VMOD_RASTER, 7, "tmpc");
    payload<Vmod_RasterData>(tmpc)->tempFile = 1;
    payload<Vmod_RasterData>(tmpc)->dataType = VMOD_FLOAT;
    Vmod_Node *mout = m.add(VMOD_MATRIX, 8, "mout");
    auto *moutData = payload<Vmod_MatrixData>(mout);
    moutData->dataType = VMOD_FLOAT;
    moutData->source = 3;
    moutData->normalize = 0;
    moutData->write = 1;
    moutData->writeFile = heapText("/data/m.mtx");
    moutData->show = 1;
    Vmod_Node *tout = m.add(VMOD_TABLE, 9, "tout");
    auto *toutData = payload<Vmod_TableData>(tout);
    toutData->dataType = VMOD_TABLE_DOUBLE;
    toutData->source = 3;
    toutData->write = 1;
    toutData->writeFile = heapText("/data/t.tbl");
    Vmod_Node *mean = m.add(VMOD_SCALAR, 19, "mean");
    payload<Vmod_ScalarData>(mean)->show = 1;

    // The reader of mid comes before its writer in the list.
    Vmod_Node *fB = m.function(11, "$mid + 1");
    Vmod_Node *fA = m.function(10, "$in1 *\n2 +\n3");
    Vmod_Node *fTwice = m.function(12, "$in1\n- 1");
    Vmod_Node *cAll = criteria(m, 20, "All Criteria", 1, 2, {"$twice", "$in1"}, {" > 5", " < 10"});
    Vmod_Node *cAny = criteria(m, 21, "Any Criteria", 2, 2, {"$twice", "$in1"},
                               {" > 1", " == 2", " > 3", " == 4"});
    payload<Vmod_CriteriaData>(cAny)->outputValues = heapArray<double>({10, 20});
    payload<Vmod_CriteriaData>(cAny)->defaultValue = 5;
    Vmod_Node *cX = criteria(m, 22, "x", 2, 1, {"$in1"}, {" < 0", " >= 0"});
    payload<Vmod_CriteriaData>(cX)->defaultValue = 2.5;
    Vmod_Node *fM = m.function(14, "$tmpc * 2");
    Vmod_Node *fT = m.function(15, "$in1 + 0");
    Vmod_Node *fMean = m.function(16, "global mean ($in1)");

    ScriptModel::arrow(in1, fA);
    ScriptModel::arrow(fA, mid);
    ScriptModel::arrow(mid, fB);
    ScriptModel::arrow(fB, out);
    ScriptModel::arrow(in1, fTwice);
    ScriptModel::arrow(fTwice, twice);
    ScriptModel::arrow(cAll, zone);
    ScriptModel::arrow(twice, cAll);
    ScriptModel::arrow(in1, cAll);
    ScriptModel::arrow(cAny, classes);
    ScriptModel::arrow(twice, cAny);
    ScriptModel::arrow(in1, cAny);
    ScriptModel::arrow(in1, cX);
    ScriptModel::arrow(cX, tmpc);
    ScriptModel::arrow(tmpc, fM);
    ScriptModel::arrow(fM, mout);
    ScriptModel::arrow(in1, fT);
    ScriptModel::arrow(fT, tout);
    ScriptModel::arrow(in1, fMean);
    ScriptModel::arrow(fMean, mean);

    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text, golden("script_operations.txt"));
    // The reference order, one vmod_NextFunction query per operation, gives the same script.
    ScriptOptions literal;
    literal.literalOrder = true;
    EXPECT_EQ(runScript(&m.model, literal).text, golden("script_operations.txt"));
    for (Vmod_Node *node = m.model.nodes; node != nullptr; node = node->next) {
        if (node->type == VMOD_FUNCTION) {
            EXPECT_EQ(payload<Vmod_FunctionData>(node)->done, 0) << node->id;
        }
        if (node->type == VMOD_CRITERIA) {
            EXPECT_EQ(payload<Vmod_CriteriaData>(node)->done, 0) << node->id;
        }
    }
}
