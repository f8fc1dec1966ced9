// Whole scripts of vmod_ScriptGen compared byte for byte with hand-written golden files.
#include <gtest/gtest.h>

#include "support/model_generator.h"
#include "vmodhost/omsc.h"
#include "test_script_support.h"

namespace {

using vmodtest::heapStrings;
using vmodtest::heapValues;
using vmodtest::newRect;

// A matrix or table reading its values from a file (source 2), or given them by an
// operation and writing them to one (source 3).
template <class Data> Data *withFile(Vmod_Node *node, int32_t source, const char *file) {
    auto *data = payload<Data>(node);
    data->source = source;
    (source == 2 ? data->read : data->write) = 1;
    (source == 2 ? data->readFile : data->writeFile) = heapText(file);
    return data;
}

// An output matrix as given, not normalised, written and shown.
Vmod_Node *outputMatrix(ScriptModel &m, int32_t id, const char *title, int32_t dataType, const char *file) {
    Vmod_Node *node = m.add(VMOD_MATRIX, id, title);
    auto *data = withFile<Vmod_MatrixData>(node, 3, file);
    data->dataType = dataType;
    data->normalize = 0;
    data->show = 1;
    return node;
}

Vmod_Node *criteria(ScriptModel &m, int32_t id, const char *title, int32_t rows, int32_t columns,
                    std::initializer_list<const char *> columnTitles, std::initializer_list<const char *> cells) {
    Vmod_Node *node = m.add(VMOD_CRITERIA, id, title);
    auto *data = payload<Vmod_CriteriaData>(node);
    data->rows = rows;
    data->columns = columns;
    data->columnTitles = heapStrings(columnTitles);
    data->cells = heapStrings(cells);
    return node;
}

} // namespace

TEST(vmod_ScriptGen, EmptyModelWritesSettingsDeclarationsBannerAndQuit) {
    ScriptModel m;
    EXPECT_TRUE(writesGolden(&m.model, "script_empty.txt"));
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
    m.model.window = newRect(100, 200.5, 300, 400);
    m.model.projectionMode = 2;
    m.model.projectionSpec1 = heapText("UTM");
    m.model.projectionSpec2 = heapText("Zone 32");
    m.model.aoiMode = 2;
    m.model.aoiFile = heapText("/data/aoi.aoi");
    m.add(VMOD_TEXT, 1, "Model notes");
    m.add(VMOD_TEXT, 2, "line one\nline two");
    EXPECT_TRUE(writesGolden(&m.model, "script_header.txt"));
}

TEST(vmod_ScriptGen, DeclarationsAndLiteralDataOfEveryDataKind) {
    ScriptModel m;
    Vmod_Node *dem = m.raster(1, "n1_dem", "/data/dem.img");

    Vmod_Node *out = m.add(VMOD_RASTER, 2, "n2_out");
    auto *outData = payload<Vmod_RasterData>(out);
    outData->newFile = 1;
    outData->deleteFile = 1;
    outData->dataType = VMOD_FLOAT;
    outData->thematic = 0;
    outData->fileName = heapText("/data/out.img");

    Vmod_Node *tmp = m.tempRaster(3, "n3_tmp");
    Vmod_Node *once = m.tempRaster(4, "n4_once");

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
    scanData->areaRect = newRect(10, 20, 110, 220);
    scanData->coordinates = 1;
    scanData->aoiMode = 1;
    scanData->declare = heapText("Float");
    scanData->fileName = heapText("/data/scan.img");

    Vmod_Node *land = m.add(VMOD_RASTER, 7, "n7_land");
    auto *landData = payload<Vmod_RasterData>(land);
    landData->interpolation = 2;
    landData->dataType = VMOD_SIGNED16;
    landData->areaRect = newRect(0.5, 1.25, 2.5, 3.75);
    landData->aoiMode = 2;
    landData->aoiFile = heapText("/data/fields.aoi");
    landData->fileName = heapText("/data/land.img");

    Vmod_Node *roads = m.add(VMOD_VECTOR, 8, "n8_roads");
    auto *roadsData = payload<Vmod_VectorData>(roads);
    roadsData->feature = heapText("line");
    roadsData->cellSizeSet = 1;
    roadsData->cellSizeX = 0.1f;
    roadsData->cellSizeY = 0.1f;
    roadsData->window = newRect(1, 2, 3, 4);
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

    Vmod_Node *soils = m.vector(10, "n10_soils", "polygon", "/data/soils");
    payload<Vmod_VectorData>(soils)->attribute = heapText("CLASS");

    Vmod_Node *kernel = m.add(VMOD_MATRIX, 11, "n11_kernel");
    auto *kernelData = payload<Vmod_MatrixData>(kernel);
    kernelData->dataType = VMOD_FLOAT;
    kernelData->rows = 2;
    kernelData->columns = 3;
    kernelData->normalize = 0;
    kernelData->values = heapValues<double>({1, 2, 3, 4, 5, 6});

    withFile<Vmod_MatrixData>(m.add(VMOD_MATRIX, 12, "n12_read"), 2, "/data/k.mtx")->dataType = VMOD_UNSIGNED8;

    Vmod_Node *outMatrix = m.add(VMOD_MATRIX, 13, "n13_out");
    payload<Vmod_MatrixData>(outMatrix)->source = 3;

    Vmod_Node *typed = m.add(VMOD_TABLE, 14, "n14_typed");
    auto *typedData = payload<Vmod_TableData>(typed);
    typedData->dataType = VMOD_TABLE_DOUBLE;
    typedData->size = 5;
    typedData->values = heapValues<double>({1.5, 2, 3, 4, 5.25});

    m.layerTable(15, "n15_column", VMOD_TABLE_SIGNED32, 1, 0, "/data/landuse.img", "(:Layer_1)", "Histogram");

    Vmod_Node *empty = m.add(VMOD_TABLE, 16, "n16_empty");
    payload<Vmod_TableData>(empty)->dataType = VMOD_TABLE_DOUBLE;

    Vmod_Node *strings = m.add(VMOD_TABLE, 17, "n17_names");
    auto *stringsData = payload<Vmod_TableData>(strings);
    stringsData->dataType = VMOD_TABLE_STRING;
    stringsData->size = 2;
    stringsData->strings = heapStrings({"a", "b"});

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

    m.layerTable(19, "n19_attr", VMOD_TABLE_DOUBLE, 1, 2, "/data/parcels", "polygon", "AREA");
    m.layerTable(20, "n20_anno", VMOD_TABLE_STRING, 3, 3, "/data/labels.ovr", nullptr, "NAME");

    withFile<Vmod_TableData>(m.add(VMOD_TABLE, 21, "n21_read"), 2, "/data/t.tbl")->size = 3;

    Vmod_Node *outImage =
        m.layerTable(22, "n22_outimg", VMOD_TABLE_STRING, 3, 0, "/data/out.img", "(:Layer_1)", "Class_Names");
    payload<Vmod_TableData>(outImage)->size = 4;
    m.layerTable(23, "n23_var", VMOD_TABLE_DOUBLE, 3, 1, "n2_out", nullptr, "Value");
    m.layerTable(24, "n24_colvar", VMOD_TABLE_COLOR, 3, 2, "/data/zones", "polygon", nullptr);

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
    ScriptModel::arrows({{dem, twice}, {twice, once}, {sum, out}, {once, sum}, {tmp, sum}, {tmp, peak},
                         {peak, maximum}});

    EXPECT_TRUE(writesGolden(&m.model, "script_declarations.txt"));
}

TEST(vmod_ScriptGen, OperationsInDependencyOrderWithMacrosCriteriaAndOutputs) {
    ScriptModel m;
    Vmod_Node *in1 = m.raster(1, "in1", "/data/in1.img");
    Vmod_Node *mid = m.tempRaster(2, "mid", "Float");
    Vmod_Node *out = m.newRaster(3, "out", "/data/out.img");
    Vmod_Node *twice = m.tempRaster(4, "twice");
    Vmod_Node *zone = m.newRaster(5, "zone", "/data/zone.img");
    // A criteria output is neither written nor shown.
    Vmod_Node *classes = outputMatrix(m, 6, "classes", VMOD_UNSIGNED8, "/data/c.mtx");
    Vmod_Node *tmpc = m.tempRaster(7, "tmpc");
    payload<Vmod_RasterData>(tmpc)->dataType = VMOD_FLOAT;
    Vmod_Node *mout = outputMatrix(m, 8, "mout", VMOD_FLOAT, "/data/m.mtx");
    Vmod_Node *tout = m.add(VMOD_TABLE, 9, "tout");
    withFile<Vmod_TableData>(tout, 3, "/data/t.tbl")->dataType = VMOD_TABLE_DOUBLE;
    Vmod_Node *mean = m.add(VMOD_SCALAR, 19, "mean");
    payload<Vmod_ScalarData>(mean)->show = 1;

    // The reader of mid comes before its writer in the list.
    Vmod_Node *fB = m.function(11, "$mid + 1");
    Vmod_Node *fA = m.function(10, "$in1 *\n2 +\n3");
    Vmod_Node *fTwice = m.function(12, "$in1\n- 1");
    Vmod_Node *cAll = criteria(m, 20, "All Criteria", 1, 2, {"$twice", "$in1"}, {" > 5", " < 10"});
    Vmod_Node *cAny = criteria(m, 21, "Any Criteria", 2, 2, {"$twice", "$in1"},
                               {" > 1", " == 2", " > 3", " == 4"});
    payload<Vmod_CriteriaData>(cAny)->outputValues = heapValues<double>({10, 20});
    payload<Vmod_CriteriaData>(cAny)->defaultValue = 5;
    Vmod_Node *cX = criteria(m, 22, "x", 2, 1, {"$in1"}, {" < 0", " >= 0"});
    payload<Vmod_CriteriaData>(cX)->defaultValue = 2.5;
    Vmod_Node *fM = m.function(14, "$tmpc * 2");
    Vmod_Node *fT = m.function(15, "$in1 + 0");
    Vmod_Node *fMean = m.function(16, "global mean ($in1)");

    ScriptModel::arrows({{in1, fA}, {fA, mid}, {mid, fB}, {fB, out}, {in1, fTwice}, {fTwice, twice}, {cAll, zone},
                         {twice, cAll}, {in1, cAll}, {cAny, classes}, {twice, cAny}, {in1, cAny}, {in1, cX}, {cX, tmpc},
                         {tmpc, fM}, {fM, mout}, {in1, fT}, {fT, tout}, {in1, fMean}, {fMean, mean}});

    EXPECT_TRUE(writesGolden(&m.model, "script_operations.txt"));
    // The reference order, one vmod_NextFunction query per operation, gives the same script.
    ScriptOptions literal;
    literal.literalOrder = true;
    EXPECT_TRUE(writesGolden(&m.model, "script_operations.txt", literal));
    for (Vmod_Node *node = m.model.nodes; node != nullptr; node = node->next) {
        if (node->type == VMOD_FUNCTION) {
            EXPECT_EQ(payload<Vmod_FunctionData>(node)->done, 0) << node->id;
        }
        if (node->type == VMOD_CRITERIA) {
            EXPECT_EQ(payload<Vmod_CriteriaData>(node)->done, 0) << node->id;
        }
    }
}
