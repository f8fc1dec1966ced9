// test_check_files.cpp - the validator's files checks, on GeoTIFF and GeoPackage files
// each test makes with GDAL in the model's own folder (the models name them relative to
// it). Where the validator was built without GDAL the checks are unavailable, and these
// tests say so and skip.
#include "check_support.h"

#ifdef VMODCHECK_TESTS_GDAL
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#endif

using namespace checktest;

namespace {

TEST(CheckFiles, AskedWithoutGdalTheFilesAreNotChecked) {
    if (vmodcheck_FilesSupported()) GTEST_SKIP() << "built with GDAL";
    FileModel file(std::string(kHeader) + "RASTER {\n\tID 1;\n\tTITLE \"dem\";\n\tFILENAME \"missing.tif\";\n}\n");
    ASSERT_TRUE(file.read());
    Report report = file.validate(true);
    EXPECT_EQ(report->filesChecked, -1);
    EXPECT_FALSE(HasCode(*report, "F001"));
}

#ifdef VMODCHECK_TESTS_GDAL

// A block of kind with its identifier, title, a position and body's statements.
std::string Block(const char *kind, int id, const std::string &title, const std::string &body) {
    return std::string(kind) + " {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tPOSITION " +
           std::to_string(id) + ", 1;\n" + body + "}\n";
}

// An existing raster read from file, declared with dataType (a DATATYPE word).
std::string InputRaster(int id, const std::string &title, const std::string &file, const char *dataType = "FLOAT",
                        const char *thematic = "ATHEMATIC", const std::string &more = "") {
    return Block("RASTER", id, title,
                 "\tFILENAME \"" + file + "\";\n\tINTERPOLATION NEAREST;\n\t" + thematic + ";\n\tDATATYPE " +
                     dataType + ";\n\tCOMPRESSION UNCOMPRESSED;\n\tCOORDINATES MAP;\n\tAOI NONE;\n\tRECODE NO;\n" +
                     more);
}

std::string InputVector(int id, const std::string &title, const std::string &file, const std::string &feature,
                        const std::string &attribute) {
    return Block("VECTOR", id, title,
                 "\tVECTORTYPE COVERAGE;\n\tFILENAME \"" + file + "\";\n\tFEATURE \"" + feature +
                     "\";\n\tDECLARE \"Integer\";\n\tAOI NONE;\n\tATTRIBUTE \"" + attribute + "\";\n\tRECODE NO;\n");
}

std::string OutputRaster(int id, const std::string &title, const std::string &file) {
    return Block("RASTER", id, title,
                 "\tFILENAME \"" + file + "\";\n\tNEWFILE;\n\tINTERPOLATION NEAREST;\n\tATHEMATIC;\n"
                 "\tDATATYPE FLOAT;\n\tCOMPRESSION UNCOMPRESSED;\n\tCOORDINATES MAP;\n\tRECODE NO;\n");
}

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!vmodcheck_FilesSupported()) GTEST_SKIP() << "the validator was built without GDAL";
        GDALAllRegister();
    }

    static OGRSpatialReferenceH Crs(int epsg) {
        OGRSpatialReferenceH crs = OSRNewSpatialReference(nullptr);
        EXPECT_EQ(OSRImportFromEPSG(crs, epsg), OGRERR_NONE);
        return crs;
    }

    // A 4 by 4 GeoTIFF of bands bands of type, in the coordinate system epsg (0: none).
    static void Tiff(const std::string &path, int bands, GDALDataType type, int epsg = 32632,
                     const char *nbits = nullptr) {
        const char *options[] = {"NBITS=1", nullptr};
        GDALDatasetH dataset = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), 4, 4, bands, type,
                                          nbits != nullptr ? const_cast<char **>(options) : nullptr);
        ASSERT_NE(dataset, nullptr) << path;
        double transform[6] = {500000, 10, 0, 5000000, 0, -10};
        GDALSetGeoTransform(dataset, transform);
        if (epsg != 0) {
            OGRSpatialReferenceH crs = Crs(epsg);
            GDALSetSpatialRef(dataset, crs);
            OSRRelease(crs);
        }
        GDALClose(dataset);
    }

    // A GeoPackage of one line layer named layer with the integer attribute field.
    static void Gpkg(const std::string &path, const char *layer, const char *field, int epsg = 32632) {
        GDALDatasetH dataset =
            GDALCreate(GDALGetDriverByName("GPKG"), path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
        ASSERT_NE(dataset, nullptr) << path;
        OGRSpatialReferenceH crs = Crs(epsg);
        OGRLayerH made = GDALDatasetCreateLayer(dataset, layer, crs, wkbLineString, nullptr);
        OSRRelease(crs);
        ASSERT_NE(made, nullptr);
        OGRFieldDefnH definition = OGR_Fld_Create(field, OFTInteger);
        OGR_L_CreateField(made, definition, TRUE);
        OGR_Fld_Destroy(definition);
        GDALClose(dataset);
    }

    static std::vector<std::string> FileCodes(const Vmodcheck_Report &report) {
        std::vector<std::string> codes;
        for (const std::string &code : Codes(report))
            if (code[0] == 'F') codes.push_back(code);
        return codes;
    }

    static const std::vector<std::string> kNone;
};

const std::vector<std::string> FilesTest::kNone;

struct ToolRun {
    std::string out, err;
};

// Runs the built `vmod` with args (none holding a single quote).
ToolRun RunVmod(const std::vector<std::string> &args) {
    vmodtest::ScratchDir dir;
    std::string command = "'" + std::string(VMOD_BINARY_DIR) + "/tools/vmod'";
    for (const std::string &arg : args) command += " '" + arg + "'";
    command += " </dev/null >'" + dir.file("out") + "' 2>'" + dir.file("err") + "'";
    EXPECT_NE(std::system(command.c_str()), -1);
    return ToolRun{vmodtest::wholeFile(dir.file("out")), vmodtest::wholeFile(dir.file("err"))};
}

// The 1-based line of the first occurrence of needle in text.
int32_t LineOf(const std::string &text, const std::string &needle) {
    const size_t at = text.find(needle);
    return at == std::string::npos ? 0 : static_cast<int32_t>(std::count(text.begin(), text.begin() + at, '\n') + 1);
}

TEST_F(FilesTest, AModelWhoseFilesAllFitHasNoFileProblems) {
    const std::string text = std::string(kHeader) + InputRaster(1, "dem", "dem.tif") +
                             InputVector(2, "roads", "roads.gpkg", "roads", "CLASS") +
                             OutputRaster(3, "slope", "slope.tif");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Tiff(file.dir().file("dem.tif"), 1, GDT_Float32);
    Gpkg(file.dir().file("roads.gpkg"), "roads", "CLASS");
    Report report = file.validate(true);
    EXPECT_EQ(report->filesChecked, 1);
    EXPECT_EQ(FileCodes(*report), kNone);
}

TEST_F(FilesTest, NotAskedTheFilesAreLeftAlone) {
    FileModel file(std::string(kHeader) + InputRaster(1, "dem", "missing.tif"));
    ASSERT_TRUE(file.read());
    Report report = file.validate(false);
    EXPECT_EQ(report->filesChecked, 0);
    EXPECT_EQ(FileCodes(*report), kNone);
}

TEST_F(FilesTest, F001AMissingInputIsAnErrorAtItsFileName) {
    const std::string text = std::string(kHeader) + InputRaster(1, "dem", "missing.tif") +
                             InputVector(2, "roads", "/nowhere/roads.gpkg", "roads", "CLASS");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F001", "F001"}));
    const Vmodcheck_Problem *problem = Find(*report, "F001");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    ASSERT_EQ(problem->nodeCount, 1u);
    EXPECT_EQ(problem->nodes[0], 1);
    EXPECT_EQ(problem->line, LineOf(text, "FILENAME \"missing.tif\""));
    // A relative name is looked for beside the model, and the message says where.
    EXPECT_NE(std::string(problem->message).find(file.dir().file("missing.tif")), std::string::npos)
        << problem->message;
}

TEST_F(FilesTest, F001NotForFilesTheRunMakesOrAsksFor) {
    const std::string text =
        std::string(kHeader) + OutputRaster(1, "made", "made.tif") +
        Block("RASTER", 2, "asked", "\tPROMPT;\n\tINTERPOLATION NEAREST;\n\tATHEMATIC;\n\tDATATYPE FLOAT;\n") +
        Block("RASTER", 3, "temporary", "\tTEMPFILE;\n\tATHEMATIC;\n\tDATATYPE FLOAT;\n");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    EXPECT_EQ(FileCodes(*file.validate(true)), kNone);
}

TEST_F(FilesTest, F001MissingFilesTheScriptReadsBesideImages) {
    const std::string text =
        std::string(kHeader) + "AOI \"study.aoi\";\n" +
        Block("SCALAR", 1, "threshold", "\tDATATYPE FLOAT;\n\tVALUE 0;\n\tREAD \"threshold.txt\";\n") +
        Block("MATRIX", 2, "kernel", "\tSIZE 3, 3;\n\tDATATYPE FLOAT;\n\tREAD \"kernel.gmk\";\n\tNORMALIZE NO;\n");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F001", "F001", "F001"}));
    // Made, they are only looked for: they need not be images.
    vmodtest::writeWholeFile(file.dir().file("study.aoi"), "area");
    vmodtest::writeWholeFile(file.dir().file("threshold.txt"), "3");
    vmodtest::writeWholeFile(file.dir().file("kernel.gmk"), "1 1 1");
    EXPECT_EQ(FileCodes(*file.validate(true)), kNone);
}

TEST_F(FilesTest, F002AFileThatDoesNotOpenAsItsKindIsAnError) {
    const std::string text = std::string(kHeader) + InputRaster(1, "dem", "garbage.tif") +
                             InputVector(2, "roads", "image.tif", "roads", "CLASS") +
                             InputRaster(3, "lines", "roads.gpkg");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    vmodtest::writeWholeFile(file.dir().file("garbage.tif"), "this is no image\n");
    Tiff(file.dir().file("image.tif"), 1, GDT_Byte);
    Gpkg(file.dir().file("roads.gpkg"), "roads", "CLASS");
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F002", "F002", "F002"}));
    const Vmodcheck_Problem *problem = Find(*report, "F002");
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_NE(std::string(problem->message).find("does not open as a raster image"), std::string::npos)
        << problem->message;
}

TEST_F(FilesTest, ATableReadsItsColumnFromALayerThatMustOpenAsItsKind) {
    auto table = [](int id, const char *kind, const std::string &file) {
        return Block("TABLE", id, "t" + std::to_string(id),
                     std::string("\tSIZE 4;\n\tDATATYPE DOUBLE;\n\t") + kind + " \"" + file +
                         "\";\n\tLAYERNAME \"Layer_1\";\n\tFIELDNAME \"Histogram\";\n");
    };
    const std::string text = std::string(kHeader) + table(1, "IMAGENAME", "missing.tif") +
                             table(2, "IMAGENAME", "roads.gpkg") + table(3, "COVERAGENAME", "roads.gpkg") +
                             table(4, "IMAGENAME", "image.tif");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Gpkg(file.dir().file("roads.gpkg"), "roads", "CLASS");
    Tiff(file.dir().file("image.tif"), 1, GDT_Byte);
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F001", "F002"}));
    EXPECT_EQ(Find(*report, "F001")->nodes[0], 1);
    EXPECT_EQ(Find(*report, "F002")->nodes[0], 2);
    EXPECT_EQ(Find(*report, "F002")->line, LineOf(text, "IMAGENAME \"roads.gpkg\""));
}

TEST_F(FilesTest, F003ADeclaredClassThatCannotHoldTheBandsValues) {
    const std::string text = std::string(kHeader) + InputRaster(1, "heights", "float.tif", "UNSIGNED8") +
                             InputRaster(2, "mask", "byte.tif", "BINARY");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Tiff(file.dir().file("float.tif"), 1, GDT_Float32);
    Tiff(file.dir().file("byte.tif"), 1, GDT_Byte);
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F003", "F003"}));
    const Vmodcheck_Problem *problem = Find(*report, "F003");
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(problem->line, LineOf(text, "DATATYPE UNSIGNED8"));
    EXPECT_NE(std::string(problem->message).find("Float32"), std::string::npos) << problem->message;
}

TEST_F(FilesTest, F003NotWhenTheDeclarationHoldsTheValues) {
    // Wider than the file, a one-bit file read as binary, and a DECLARE text that names
    // the class the DATATYPE does not.
    const std::string text =
        std::string(kHeader) + InputRaster(1, "wide", "byte.tif", "DOUBLE") +
        InputRaster(2, "bits", "bits.tif", "BINARY") +
        InputRaster(3, "declared", "float.tif", "UNSIGNED8", "ATHEMATIC", "\tDECLARE \"Float\";\n");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Tiff(file.dir().file("byte.tif"), 1, GDT_Byte);
    Tiff(file.dir().file("bits.tif"), 1, GDT_Byte, 32632, "1");
    Tiff(file.dir().file("float.tif"), 1, GDT_Float32);
    EXPECT_EQ(FileCodes(*file.validate(true)), kNone);
}

TEST_F(FilesTest, F004AThematicRasterOfSeveralBands) {
    const std::string text = std::string(kHeader) + InputRaster(1, "classes", "three.tif", "UNSIGNED8", "THEMATIC") +
                             InputRaster(2, "scene", "three.tif", "UNSIGNED8", "ATHEMATIC") +
                             InputRaster(3, "landuse", "one.tif", "UNSIGNED8", "THEMATIC");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Tiff(file.dir().file("three.tif"), 3, GDT_Byte);
    Tiff(file.dir().file("one.tif"), 1, GDT_Byte);
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F004"}));
    const Vmodcheck_Problem *problem = Find(*report, "F004");
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(problem->nodes[0], 1);
}

TEST_F(FilesTest, F005AFeatureTheFileHasNoLayerFor) {
    const std::string text = std::string(kHeader) + InputVector(1, "rivers", "roads.gpkg", "rivers", "CLASS") +
                             InputVector(2, "by name", "roads.gpkg", "ROADS", "CLASS") +
                             InputVector(3, "by geometry", "roads.gpkg", "line", "CLASS") +
                             InputVector(4, "points", "roads.gpkg", "point", "CLASS");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Gpkg(file.dir().file("roads.gpkg"), "roads", "CLASS");
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F005", "F005"}));
    const Vmodcheck_Problem *problem = Find(*report, "F005");
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(problem->nodes[0], 1);
    EXPECT_EQ(problem->line, LineOf(text, "FEATURE \"rivers\""));
    EXPECT_NE(std::string(problem->message).find("it holds \"roads\""), std::string::npos) << problem->message;
}

TEST_F(FilesTest, F006AnAttributeTheLayerDoesNotHave) {
    const std::string text = std::string(kHeader) + InputVector(1, "speed", "roads.gpkg", "roads", "SPEED") +
                             InputVector(2, "class", "roads.gpkg", "roads", "class") +
                             InputVector(3, "record", "roads.gpkg", "roads", "Record Number");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Gpkg(file.dir().file("roads.gpkg"), "roads", "CLASS");
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F006"}));
    const Vmodcheck_Problem *problem = Find(*report, "F006");
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(problem->nodes[0], 1);
}

TEST_F(FilesTest, F007InputsInTwoCoordinateSystemsWithoutAProjection) {
    const std::string blocks = InputRaster(1, "dem", "utm.tif") + InputVector(2, "roads", "wgs.gpkg", "roads", "CLASS") +
                               InputRaster(3, "slope", "utm2.tif");
    FileModel file(std::string(kHeader) + blocks);
    ASSERT_TRUE(file.read());
    Tiff(file.dir().file("utm.tif"), 1, GDT_Float32, 32632);
    Tiff(file.dir().file("utm2.tif"), 1, GDT_Float32, 32632);
    Gpkg(file.dir().file("wgs.gpkg"), "roads", "CLASS", 4326);
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F007"}));
    const Vmodcheck_Problem *problem = Find(*report, "F007");
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    ASSERT_EQ(problem->nodeCount, 2u);
    EXPECT_EQ(problem->nodes[0], 2);
    EXPECT_EQ(problem->nodes[1], 1);
    EXPECT_NE(std::string(problem->message).find("WGS 84"), std::string::npos) << problem->message;
}

TEST_F(FilesTest, F007NotWhenTheModelSetsAProjection) {
    std::string header = kHeader;
    header.replace(header.find("PROJECTION DEFAULT;"), 19, "PROJECTION SPECIFY \"UTM Zone 32\" \"WGS 84\";");
    FileModel file(header + InputRaster(1, "dem", "utm.tif") + InputVector(2, "roads", "wgs.gpkg", "roads", "CLASS"));
    ASSERT_TRUE(file.read());
    Tiff(file.dir().file("utm.tif"), 1, GDT_Float32, 32632);
    Gpkg(file.dir().file("wgs.gpkg"), "roads", "CLASS", 4326);
    EXPECT_EQ(FileCodes(*file.validate(true)), kNone);
}

TEST_F(FilesTest, F008AnOutputIntoAFolderThatIsMissing) {
    const std::string text =
        std::string(kHeader) + OutputRaster(1, "slope", "out/slope.tif") + OutputRaster(2, "aspect", "aspect.tif") +
        Block("TABLE", 3, "histogram", "\tSIZE 0;\n\tDATATYPE DOUBLE;\n\tOUTPUT;\n\tWRITE \"/nowhere/h.tbl\";\n");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F008", "F008"}));
    const Vmodcheck_Problem *problem = Find(*report, "F008");
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_EQ(problem->nodes[0], 1);
    EXPECT_EQ(problem->line, LineOf(text, "FILENAME \"out/slope.tif\""));
    EXPECT_NE(std::string(problem->message).find("does not exist"), std::string::npos) << problem->message;
    ASSERT_EQ(mkdir(file.dir().file("out").c_str(), 0755), 0);
    EXPECT_EQ(FileCodes(*file.validate(true)), (std::vector<std::string>{"F008"}));
}

TEST_F(FilesTest, F008AnOutputIntoAFolderThatCannotBeWritten) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
    FileModel file(std::string(kHeader) + OutputRaster(1, "slope", "locked/slope.tif"));
    ASSERT_TRUE(file.read());
    ASSERT_EQ(mkdir(file.dir().file("locked").c_str(), 0555), 0);
    Report report = file.validate(true);
    EXPECT_EQ(FileCodes(*report), (std::vector<std::string>{"F008"}));
    EXPECT_NE(std::string(Find(*report, "F008")->message).find("cannot be written"), std::string::npos);
    chmod(file.dir().file("locked").c_str(), 0755);
}

TEST_F(FilesTest, TheToolChecksFilesUnlessToldNotToAndGdalStaysQuiet) {
    FileModel file(std::string(kHeader) + InputRaster(1, "dem", "garbage.tif") + InputRaster(2, "b", "missing.tif"));
    ASSERT_TRUE(file.read());
    vmodtest::writeWholeFile(file.dir().file("garbage.tif"), "this is no image\n");
    const ToolRun checked = RunVmod({"check", file.path()});
    EXPECT_NE(checked.out.find("F001"), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("F002"), std::string::npos) << checked.out;
    EXPECT_EQ(checked.err, "");  // GDAL's own complaints are not printed
    const ToolRun skipped = RunVmod({"check", "--no-files", file.path()});
    EXPECT_EQ(skipped.out.find("F00"), std::string::npos) << skipped.out;
}

#endif

} // namespace
