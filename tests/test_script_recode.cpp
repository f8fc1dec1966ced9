// Recoded rasters and vectors and attribute views: the 50-consumer threshold between a
// macro and a declared, assigned variable.
#include <gtest/gtest.h>

#include "support/model_generator.h"
#include "test_script_support.h"

namespace {

using vmodtest::heapValues;

// A recoded raster, a recoded vector and a vector read through an attribute, each read by
// `consumers` functions that all write the raster "sum".
void buildRecodeModel(ScriptModel &m, int32_t consumers) {
    m.model.projectionMode = 1;
    m.model.projectionSameAs = heapText("land");
    Vmod_Node *land = m.raster(1, "land", "/data/land.img");
    auto *landData = payload<Vmod_RasterData>(land);
    landData->recode = 1;
    landData->numClasses = 4;
    landData->newClasses = heapValues<int32_t>({0, 1, 1, 2});
    Vmod_Node *soils = m.vector(2, "soils", "polygon", "/data/soils");
    auto *soilsData = payload<Vmod_VectorData>(soils);
    soilsData->recode = 1;
    soilsData->numClasses = 2;
    soilsData->newClasses = heapValues<int32_t>({3, 4});
    Vmod_Node *parcels = m.vector(3, "parcels", "polygon", "/data/parcels");
    payload<Vmod_VectorData>(parcels)->attribute = heapText("OWNER");
    Vmod_Node *sum = m.newRaster(4, "sum", "/data/sum.img");
    for (int32_t i = 0; i < consumers; ++i) {
        Vmod_Node *reader = m.function(100 + i, "$land + $soils + $parcels");
        ScriptModel::arrows({{reader, sum}, {land, reader}, {soils, reader}, {parcels, reader}});
    }
}

} // namespace

TEST(vmod_ScriptGen, RecodeWithFiftyConsumersIsAMacro) {
    ScriptModel m;
    buildRecodeModel(m, 50);
    EXPECT_TRUE(writesGolden(&m.model, "script_recode_50_consumers.txt"));
}

// With 51 consumers the recoded layer is declared and assigned once; a layer without a
// declare text is declared INTEGER (its values come from an INTEGER table), and a vector
// read through an attribute is declared as well, since it too is assigned.
TEST(vmod_ScriptGen, RecodeWithFiftyOneConsumersIsDeclaredAndAssigned) {
    ScriptModel m;
    buildRecodeModel(m, 51);
    EXPECT_TRUE(writesGolden(&m.model, "script_recode_51_consumers.txt"));
}

// A recode flag without classes would open a TABLE( statement that never closes.
TEST(vmod_ScriptGen, RecodeWithoutClassesLoadsNoTable) {
    ScriptModel m;
    Vmod_Node *land = m.raster(1, "land", "/data/land.img");
    payload<Vmod_RasterData>(land)->recode = 1;
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find("INTEGER TABLE n1_recode;\n"), std::string::npos);
    EXPECT_EQ(run.text.find("n1_recode = TABLE("), std::string::npos);
    EXPECT_NE(run.text.find("#define land LOOKUP($land_Org, $n1_recode)\n"), std::string::npos);
}

TEST(vmod_ScriptGen, RecordNumberAttributeIsNoView) {
    ScriptModel m;
    Vmod_Node *roads = m.vector(1, "roads", "line", "/data/roads");
    payload<Vmod_VectorData>(roads)->attribute = heapText("Record Number");
    ScriptRun run = runScript(&m.model);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find("Integer VECTOR roads COVER AOI NONE line RENDER TO MEMORY \"/data/roads\";\n"),
              std::string::npos);
    EXPECT_EQ(run.text.find("through"), std::string::npos);
    EXPECT_EQ(run.text.find("_Org"), std::string::npos);
}
