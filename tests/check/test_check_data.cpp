// test_check_data.cpp - the validator's data checks: each code on a model that triggers
// it and on a near miss that must not, with the line it points at for some.
#include <cmath>

#include "check_support.h"

using namespace checktest;

namespace {

// kHeader with the statement starting with keyword replaced by statement (which ends in
// ";\n").
std::string HeaderWith(const std::string &keyword, const std::string &statement) {
    std::string header = kHeader;
    const size_t at = header.find(keyword + " ");
    const size_t end = header.find('\n', at);
    return header.replace(at, end + 1 - at, statement);
}

// A block of kind with identifier id, title and the statements given (each ends in ";\n").
std::string Block(const std::string &kind, int id, const std::string &title, const std::string &statements) {
    return kind + " {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tPOSITION " +
           std::to_string(id) + ", 1;\n" + statements + "}\n";
}

const std::string kRasterTail = "\tINTERPOLATION NEAREST;\n\tATHEMATIC;\n\tDATATYPE UNSIGNED8;\n"
                                "\tCOMPRESSION UNCOMPRESSED;\n\tCOORDINATES MAP;\n\tRECODE NO;\n";

std::string Raster(int id, const std::string &title, const std::string &statements) {
    return Block("RASTER", id, title, statements + kRasterTail);
}

// The report of a model made of kHeader and body (or of header and body).
struct Checked {
    explicit Checked(const std::string &body, const std::string &header = kHeader) : model(header + body) {
        EXPECT_TRUE(model.read()) << header + body;
        report = model.validate();
    }
    FileModel model;
    Report report;

    bool has(const std::string &code) const { return report != nullptr && HasCode(*report, code); }
    const Vmodcheck_Problem *find(const std::string &code) const { return Find(*report, code); }
    int32_t line(const std::string &code) const {
        const Vmodcheck_Problem *problem = find(code);
        return problem != nullptr ? problem->line : -1;
    }
};

// The 1-based line of the first line of text that starts with prefix after the line
// numbered from (so that the statement of a given block can be found).
int32_t LineOf(const std::string &text, const std::string &prefix, int32_t from = 0) {
    int32_t line = 1;
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1, ++line) {
        if (line > from && text.compare(at, prefix.size(), prefix) == 0) return line;
        if (text.find('\n', at) == std::string::npos) break;
    }
    return -1;
}

} // namespace

// ---- D001, D002: files without a name ----

TEST(CheckDataFiles, InputRasterWithoutFileOrPromptIsAnErrorAtItsBlock) {
    Checked checked(Raster(1, "n1_dem", ""));
    const Vmodcheck_Problem *problem = checked.find("D001");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    ASSERT_EQ(problem->nodeCount, 1u);
    EXPECT_EQ(problem->nodes[0], 1);
    EXPECT_NE(std::string(problem->message).find("raster node 1 \"n1_dem\""), std::string::npos);
    EXPECT_EQ(problem->line, LineOf(std::string(kHeader) + Raster(1, "n1_dem", ""), "RASTER {"));
}

TEST(CheckDataFiles, InputRasterWithAFilePromptOrNoFileClauseIsNot) {
    EXPECT_FALSE(Checked(Raster(1, "n1_dem", "\tFILENAME \"/data/dem.img\";\n")).has("D001"));
    EXPECT_FALSE(Checked(Raster(1, "n1_dem", "\tPROMPT;\n")).has("D001"));
    EXPECT_FALSE(Checked(Raster(1, "n1_dem", "\tTEMPFILE;\n")).has("D001"));
    // A new file is an output: its missing name is D002, not D001.
    Checked output(Raster(1, "n1_out", "\tNEWFILE;\n"));
    EXPECT_FALSE(output.has("D001"));
    EXPECT_TRUE(output.has("D002"));
}

TEST(CheckDataFiles, AnEmptyFileNameIsNoName) {
    EXPECT_TRUE(Checked(Raster(1, "n1_dem", "\tFILENAME \"\";\n")).has("D001"));
}

TEST(CheckDataFiles, VectorAndReadValuesWithoutFileAreErrors) {
    const std::string vector = Block("VECTOR", 1, "n1_roads", "\tVECTORTYPE ANNOTATION;\n\tAOI NONE;\n");
    EXPECT_TRUE(Checked(vector).has("D001"));
    EXPECT_FALSE(Checked(Block("VECTOR", 1, "n1_roads", "\tVECTORTYPE ANNOTATION;\n\tFILENAME \"/data/roads.ovr\";\n"))
                     .has("D001"));
    EXPECT_TRUE(Checked(Block("SCALAR", 1, "n1_rate", "\tREAD;\n")).has("D001"));
    EXPECT_FALSE(Checked(Block("SCALAR", 1, "n1_rate", "\tREAD \"/data/rate.txt\";\n")).has("D001"));
    EXPECT_FALSE(Checked(Block("SCALAR", 1, "n1_rate", "\tREAD;\n\tPROMPT;\n")).has("D001"));
}

TEST(CheckDataFiles, NewRasterWithoutFileIsAnErrorAndWithOneIsNot) {
    Checked checked(Raster(1, "n1_out", "\tDELETEFILE;\n"));
    ASSERT_TRUE(checked.has("D002"));
    EXPECT_EQ(checked.find("D002")->severity, VMODCHECK_ERROR);
    EXPECT_FALSE(Checked(Raster(1, "n1_out", "\tDELETEFILE;\n\tFILENAME \"/data/out.img\";\n")).has("D002"));
}

TEST(CheckDataFiles, WrittenOutputWithoutFileIsAnErrorOnlyWhenAFunctionMakesIt) {
    const std::string function = Block("FUNCTION", 1, "copy", "\tVALUE \"2 * 3\";\n\tCHILD 2;\n");
    EXPECT_TRUE(Checked(function + Block("SCALAR", 2, "n2_total", "\tWRITE;\n")).has("D002"));
    EXPECT_FALSE(Checked(function + Block("SCALAR", 2, "n2_total", "\tWRITE \"/data/total.txt\";\n")).has("D002"));
    // Nothing writes an unmade scalar, so its WRITE is never written.
    EXPECT_FALSE(Checked(Block("SCALAR", 2, "n2_total", "\tWRITE;\n")).has("D002"));
}

// ---- D003: matrices without values ----

TEST(CheckDataMatrix, BuiltInKernelWithoutTypedWeightsIsAWarning) {
    const std::string body = Block("MATRIX", 1, "n1_lowpass", "\tSIZE 3, 3;\n\tDATATYPE DOUBLE;\n\tBUILTIN\tLOWPASS;\n");
    Checked checked(body);
    const Vmodcheck_Problem *problem = checked.find("D003");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(problem->line, LineOf(std::string(kHeader) + body, "\tBUILTIN"));
    // Without SIZE it has no values at all.
    EXPECT_TRUE(Checked(Block("MATRIX", 1, "n1_lowpass", "\tBUILTIN\tLOWPASS;\n")).has("D003"));
}

TEST(CheckDataMatrix, TypedWeightsOrAnOperationThatMakesTheMatrixAreFine) {
    EXPECT_FALSE(Checked(Block("MATRIX", 1, "n1_lowpass",
                               "\tSIZE 3, 1;\n\tBUILTIN\tLOWPASS;\n\tVALUE 1, 1, 1;\n"))
                     .has("D003"));
    // Typed zeros are what the user typed.
    EXPECT_FALSE(Checked(Block("MATRIX", 1, "n1_zeros", "\tSIZE 2, 1;\n\tVALUE 0, 0;\n")).has("D003"));
    const std::string made = Block("FUNCTION", 1, "make", "\tVALUE \"MATRIX(1, 1: 1)\";\n\tCHILD 2;\n") +
                             Block("MATRIX", 2, "n2_made", "\tBUILTIN\tLOWPASS;\n");
    EXPECT_FALSE(Checked(made).has("D003"));
    EXPECT_FALSE(Checked(Block("MATRIX", 1, "n1_read", "\tREAD \"/data/k.mtx\";\n")).has("D003"));
}

TEST(CheckDataMatrix, TypedMatrixWithoutSizeIsAWarning) {
    EXPECT_TRUE(Checked(Block("MATRIX", 1, "n1_empty", "\tDATATYPE DOUBLE;\n")).has("D003"));
}

// ---- D004: numbers the script cannot hold ----

TEST(CheckDataNumbers, InfiniteValuesWrittenToTheScriptAreErrorsAtTheirStatement) {
    const std::string body = Block("SCALAR", 1, "n1_rate", "\tVALUE 1e999;\n");
    Checked checked(body);
    const Vmodcheck_Problem *problem = checked.find("D004");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_EQ(problem->line, LineOf(std::string(kHeader) + body, "\tVALUE"));
    EXPECT_TRUE(Checked(Block("MATRIX", 1, "n1_k", "\tSIZE 2, 1;\n\tVALUE 1, -1e999;\n")).has("D004"));
    EXPECT_TRUE(Checked(Block("TABLE", 1, "n1_t", "\tSIZE 2;\n\tDATATYPE DOUBLE;\n\tVALUE 1, 1e999;\n")).has("D004"));
    EXPECT_TRUE(Checked(Raster(1, "n1_out", "\tNEWFILE;\n\tFILENAME \"/o.img\";\n\tIGNORE 1e999;\n")).has("D004"));
    EXPECT_TRUE(Checked("", HeaderWith("CELLSIZE", "CELLSIZE 1e39, 10 METERS;\n")).has("D004"));
    EXPECT_TRUE(Checked("", HeaderWith("WINDOW", "WINDOW 0, 0 : 1e999, 10 MAP;\n")).has("D004"));
}

TEST(CheckDataNumbers, NumbersTheScriptDoesNotWriteAreNotLookedAt) {
    // A scalar read from a file never writes its VALUE.
    EXPECT_FALSE(Checked(Block("SCALAR", 1, "n1_rate", "\tVALUE 1e999;\n\tREAD \"/data/rate.txt\";\n")).has("D004"));
    // The cell size the model does not use.
    Checked unused("", HeaderWith("CELLSIZE", "CELLSIZE 1e39, 10 METERS;\n") + "CELLSIZE MINIMUM;\n");
    EXPECT_FALSE(unused.has("D004"));
    EXPECT_FALSE(Checked(Block("SCALAR", 1, "n1_rate", "\tVALUE 1e300;\n")).has("D004"));
}

TEST(CheckDataNumbers, NotANumberSetByAProgramIsAnError) {
    FileModel model(std::string(kHeader) + Block("SCALAR", 1, "n1_rate", "\tVALUE 2;\n"));
    ASSERT_TRUE(model.read());
    static_cast<Vmod_ScalarData *>(model.model()->nodes->data)->value = std::nan("");
    Report report = model.validate();
    const Vmodcheck_Problem *problem = Find(*report, "D004");
    ASSERT_NE(problem, nullptr);
    EXPECT_NE(std::string(problem->message).find("nan"), std::string::npos);
}

TEST(CheckDataNumbers, CriteriaOutputValuesAndDefaultMustBeFinite) {
    const std::string criteria = "CRITERIA {\n\tID 2;\n\tTITLE \"Any Criteria\";\n\tPOSITION 2, 1;\n\tSIZE 1, 1;\n"
                                 "\tCOLUMNTITLES \"$n1_dem\";\n\tVALUE \"> 3\";\n\tOUTPUTVALUES 1e999;\n\tDEFAULT 0;\n"
                                 "\tCHILD 3;\n}\n";
    const std::string body = Raster(1, "n1_dem", "\tFILENAME \"/d.img\";\n\tCHILD 2;\n") + criteria +
                             Raster(3, "n3_out", "\tNEWFILE;\n\tFILENAME \"/o.img\";\n");
    EXPECT_TRUE(Checked(body).has("D004"));
    std::string finite = body;
    finite.replace(finite.find("1e999"), 5, "7");
    EXPECT_FALSE(Checked(finite).has("D004"));
}

// ---- D005, D006: cell sizes and windows ----

TEST(CheckDataNumbers, CellSizeNotAboveZeroIsAnError) {
    const std::string header = HeaderWith("CELLSIZE", "CELLSIZE 0, 10 METERS;\n");
    Checked checked("", header);
    const Vmodcheck_Problem *problem = checked.find("D005");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_EQ(problem->line, LineOf(header, "CELLSIZE"));
    EXPECT_FALSE(Checked("", HeaderWith("CELLSIZE", "CELLSIZE 10, 10 METERS;\n")).has("D005"));
    const std::string vector = Block("VECTOR", 1, "n1_roads", "\tVECTORTYPE ANNOTATION;\n\tFILENAME \"/r.ovr\";\n"
                                                              "\tCELLSIZE -5, 5 FEET;\n");
    EXPECT_TRUE(Checked(vector).has("D005"));
}

TEST(CheckDataNumbers, AbsurdCellSizeOrEmptyWindowIsAWarning) {
    Checked huge("", HeaderWith("CELLSIZE", "CELLSIZE 1e9, 1e9 METERS;\n"));
    ASSERT_TRUE(huge.has("D006"));
    EXPECT_EQ(huge.find("D006")->severity, VMODCHECK_WARNING);
    EXPECT_TRUE(Checked("", HeaderWith("WINDOW", "WINDOW 5, 0 : 5, 10 MAP;\n")).has("D006"));
    EXPECT_TRUE(Checked("", HeaderWith("WINDOW", "WINDOW 0, 0 : 1e12, 10 MAP;\n")).has("D006"));
    EXPECT_TRUE(Checked(Raster(1, "n1_dem", "\tFILENAME \"/d.img\";\n\tAREA RECT 1, 1 : 1, 1;\n")).has("D006"));
    EXPECT_FALSE(Checked("", HeaderWith("CELLSIZE", "CELLSIZE 0.5, 30 METERS;\n")).has("D006"));
    EXPECT_FALSE(Checked("", HeaderWith("WINDOW", "WINDOW 500000, 4000000 : 510000, 4010000 MAP;\n")).has("D006"));
}

// ---- D007: ignore values ----

TEST(CheckDataNumbers, IgnoreValueOutsideTheDataTypeIsAWarning) {
    Checked checked(Raster(1, "n1_out", "\tNEWFILE;\n\tFILENAME \"/o.img\";\n\tIGNORE -1;\n"));
    ASSERT_TRUE(checked.has("D007"));
    EXPECT_EQ(checked.find("D007")->severity, VMODCHECK_WARNING);
    EXPECT_TRUE(Checked(Raster(1, "n1_out", "\tNEWFILE;\n\tFILENAME \"/o.img\";\n\tIGNORE 2.5;\n")).has("D007"));
    EXPECT_FALSE(Checked(Raster(1, "n1_out", "\tNEWFILE;\n\tFILENAME \"/o.img\";\n\tIGNORE 255;\n")).has("D007"));
    // The ignore value of an existing file is never written.
    EXPECT_FALSE(Checked(Raster(1, "n1_dem", "\tFILENAME \"/d.img\";\n\tIGNORE -1;\n")).has("D007"));
}

// ---- D008, D009: the paper ----

TEST(CheckDataPaper, NodeFarOffAnyPageIsAWarningAtItsPosition) {
    std::string body = Block("SCALAR", 1, "n1_rate", "\tVALUE 2;\n");
    EXPECT_FALSE(Checked(body).has("D008"));
    body.replace(body.find("POSITION 1, 1"), 13, "POSITION 1e6, 1");
    Checked checked(body);
    const Vmodcheck_Problem *problem = checked.find("D008");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(problem->line, LineOf(std::string(kHeader) + body, "\tPOSITION"));
}

TEST(CheckDataPaper, NegativeOrHugePageSizeIsAWarning) {
    EXPECT_TRUE(Checked("", HeaderWith("PAGESIZE", "PAGESIZE -8, 7.5 INCHES;\n")).has("D009"));
    EXPECT_TRUE(Checked("", HeaderWith("PAGESIZE", "PAGESIZE 1e6, 7.5 INCHES;\n")).has("D009"));
    EXPECT_FALSE(Checked("", HeaderWith("PAGESIZE", "PAGESIZE 84.1, 118.9 CENTIMETERS;\n")).has("D009"));
    EXPECT_FALSE(Checked("").has("D009"));
    // A file without PAGESIZE leaves the pages to the diagram.
    EXPECT_FALSE(Checked("", HeaderWith("PAGESIZE", "")).has("D009"));
}

// ---- D010: table entries ----

TEST(CheckDataTables, StringEntriesTheScriptCannotQuoteAreErrors) {
    const std::string body = Block("TABLE", 1, "n1_names", "\tSIZE 2;\n\tDATATYPE STRING;\n"
                                                           "\tVALUE \"water\", \"say \\\"hi\\\"\";\n");
    Checked checked(body);
    const Vmodcheck_Problem *problem = checked.find("D010");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_NE(std::string(problem->message).find("entry 2"), std::string::npos);
    // The generator's own refusal is left to this code rather than repeated.
    EXPECT_FALSE(checked.has("S001"));
}

TEST(CheckDataTables, LineBreaksControlsAndAFinalBackslashAreErrorsToo) {
    // The file cannot hold these, an editor can: each is set in place on a read model.
    for (char last : {'\n', '\r', '\t', '\\'}) {
        FileModel model(std::string(kHeader) +
                        Block("TABLE", 1, "n1_names", "\tSIZE 2;\n\tDATATYPE STRING;\n\tVALUE \"ab\", \"c\";\n"));
        ASSERT_TRUE(model.read());
        static_cast<Vmod_TableData *>(model.model()->nodes->data)->strings[0][1] = last;
        Report report = model.validate();
        EXPECT_TRUE(HasCode(*report, "D010")) << static_cast<int>(last);
    }
}

TEST(CheckDataTables, PlainStringEntriesAndNumbersAreFine) {
    EXPECT_FALSE(Checked(Block("TABLE", 1, "n1_names", "\tSIZE 2;\n\tDATATYPE STRING;\n\tVALUE \"a b\", \"c\\\\d\";\n"))
                     .has("D010"));
    EXPECT_FALSE(Checked(Block("TABLE", 1, "n1_n", "\tSIZE 2;\n\tDATATYPE DOUBLE;\n\tVALUE 1, 2;\n")).has("D010"));
}

// ---- D011: the projection ----

TEST(CheckDataProjection, SameAsNamingNoDataNodeIsAnError) {
    const std::string header = HeaderWith("PROJECTION", "PROJECTION SAMEAS \"n9_nothing\";\n");
    Checked checked(Raster(1, "n1_dem", "\tFILENAME \"/d.img\";\n"), header);
    const Vmodcheck_Problem *problem = checked.find("D011");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_EQ(problem->line, LineOf(header, "PROJECTION"));
    EXPECT_TRUE(Checked("", HeaderWith("PROJECTION", "PROJECTION SAMEAS \"\";\n")).has("D011"));
}

TEST(CheckDataProjection, SameAsNamingALayerOrItsSourceIsFine) {
    const std::string header = HeaderWith("PROJECTION", "PROJECTION SAMEAS \"n1_dem\";\n");
    EXPECT_FALSE(Checked(Raster(1, "n1_dem", "\tFILENAME \"/d.img\";\n"), header).has("D011"));
    EXPECT_FALSE(Checked(Raster(1, "$n1_dem", "\tFILENAME \"/d.img\";\n"), header).has("D011"));
    const std::string source = HeaderWith("PROJECTION", "PROJECTION SAMEAS \"n1_dem_Org\";\n");
    EXPECT_FALSE(Checked(Raster(1, "n1_dem", "\tFILENAME \"/d.img\";\n"), source).has("D011"));
    EXPECT_FALSE(Checked("").has("D011"));
}
