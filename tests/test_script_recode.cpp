// Recoded rasters and vectors and attribute views: the 50-consumer threshold between a
// macro and a declared, assigned variable.
#include <gtest/gtest.h>

#include "vmodhost/omsc.h"
#include "test_script_support.h"

namespace {

int32_t *classes(std::initializer_list<int32_t> values) {
    auto *array = static_cast<int32_t *>(omsc_HeapMalloc(sizeof(int32_t) * values.size()));
    size_t i = 0;
    for (int32_t value : values) {
        array[i++] = value;
    }
    return array;
}

// A recoded raster, a recoded vector and a vector read through an attribute, each read by
// `consumers` functions that all write the raster "sum".
void buildRecodeModel(ScriptModel &m, int32_t consumers) {
    m.model.projectionMode = 1;
    m.model.projectionSameAs = heapText("land");
    Vmod_Node *land = m.add(VMOD_RASTER, 1, "land");
    auto *landData = payload<Vmod_RasterData>(land);
    landData->fileName = heapText("/data/land.img");
    landData->recode = 1;
    landData->numClasses = 4;
    landData->newClasses = classes({0, 1, 1, 2});
    Vmod_Node *soils = m.add(VMOD_VECTOR, 2, "soils");
    auto *soilsData = payload<Vmod_VectorData>(soils);
    soilsData->feature = heapText("polygon");
    soilsData->fileName = heapText("/data/soils");
    soilsData->recode = 1;
    soilsData->numClasses = 2;
    soilsData->newClasses = classes({3, 4});
    Vmod_Node *parcels = m.add(VMOD_VECTOR, 3, "parcels");
    auto *parcelsData = payload<Vmod_VectorData>(parcels);
    parcelsData->feature = heapText("polygon");
    parcelsData->fileName = heapText("/data/parcels");
    parcelsData->attribute = heapText("OWNER");
    Vmod_Node *sum = m.add(VMOD_RASTER, 4, "sum");
    payload<Vmod_RasterData>(sum)->newFile = 1;
    payload<Vmod_RasterData>(sum)->fileName = heapText("/data/sum.img");
    for (int32_t i = 0; i < consumers; ++i) {
        Vmod_Node *reader = m.function(100 + i, "$land + $soils + $parcels");
        ScriptModel::arrow(reader, sum);
        ScriptModel::arrow(land, reader);
        ScriptModel::arrow(soils, reader);
        ScriptModel::arrow(parcels, reader);
    }
}

} // namespace

TEST(vmod_ScriptGen, RecodeWithFiftyConsumersIsAMacro) {
    ScriptModel m;
    buildRecodeModel(m, 50);
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text, golden("script_recode_50_consumers.txt"));
}

// With 51 consumers the recoded layer is declared and assigned once; a layer without a
// declare text is declared INTEGER (its values come from an INTEGER table), and a vector
// read through an attribute is declared as well, since it too is assigned.
TEST(vmod_ScriptGen, RecodeWithFiftyOneConsumersIsDeclaredAndAssigned) {
    ScriptModel m;
    buildRecodeModel(m, 51);
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text, golden("script_recode_51_consumers.txt"));
}

// A recode flag without classes would open a TABLE( statement that never closes.
TEST(vmod_ScriptGen, RecodeWithoutClassesLoadsNoTable) {
    ScriptModel m;
    Vmod_Node *land = m.add(VMOD_RASTER, 1, "land");
    payload<Vmod_RasterData>(land)->recode = 1;
    payload<Vmod_RasterData>(land)->fileName = heapText("/data/land.img");
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find("INTEGER TABLE n1_recode;\n"), std::string::npos);
    EXPECT_EQ(run.text.find("n1_recode = TABLE("), std::string::npos);
    EXPECT_NE(run.text.find("#define land LOOKUP($land_Org, $n1_recode)\n"), std::string::npos);
}

TEST(vmod_ScriptGen, RecordNumberAttributeIsNoView) {
    ScriptModel m;
    Vmod_Node *roads = m.add(VMOD_VECTOR, 1, "roads");
    payload<Vmod_VectorData>(roads)->attribute = heapText("Record Number");
    payload<Vmod_VectorData>(roads)->feature = heapText("line");
    payload<Vmod_VectorData>(roads)->fileName = heapText("/data/roads");
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find("Integer VECTOR roads COVER AOI NONE line RENDER TO MEMORY \"/data/roads\";\n"),
              std::string::npos);
    EXPECT_EQ(run.text.find("through"), std::string::npos);
    EXPECT_EQ(run.text.find("_Org"), std::string::npos);
}
