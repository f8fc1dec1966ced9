// test_check_expressions.cpp - the validator's expressions checks: the names a function's
// expression or a criteria table uses against the arrows into the operation, empty
// texts, unbalanced brackets and quotes, and text that would end the script's statement.
#include "check_support.h"

using namespace checktest;

namespace {

// A file raster that feeds node `child`.
std::string input(int id, const std::string &title, int child, const std::string &more = "") {
    return "RASTER {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tFILENAME \"/data/" + title +
           ".img\";\n" + more + "\tCHILD " + std::to_string(child) + ";\n}\n";
}

// A new file raster, an operation's output, with its consumers.
std::string output(int id, const std::string &title, const std::string &children = "") {
    return "RASTER {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tFILENAME \"/data/" + title +
           ".img\";\n\tNEWFILE;\n" + (children.empty() ? "" : "\tCHILD " + children + ";\n") + "}\n";
}

// A temporary raster with one consumer: its operation is written as a #define.
std::string temporary(int id, const std::string &title, int child) {
    return "RASTER {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tTEMPFILE;\n\tCHILD " +
           std::to_string(child) + ";\n}\n";
}

// A function; value is the model file's text between the quotes of VALUE (null: none).
std::string function(int id, const char *value, int child) {
    return "FUNCTION {\n\tID " + std::to_string(id) + ";\n\tTITLE \"f" + std::to_string(id) + "\";\n" +
           (value != nullptr ? "\tVALUE \"" + std::string(value) + "\";\n" : "") + "\tCHILD " + std::to_string(child) +
           ";\n}\n";
}

// A criteria node of `columns` x `rows`: titles and cells are the quoted lists.
std::string criteria(int id, int columns, int rows, const std::string &titles, const std::string &cells, int child) {
    return "CRITERIA {\n\tID " + std::to_string(id) + ";\n\tTITLE \"c\";\n\tSIZE " + std::to_string(columns) + ", " +
           std::to_string(rows) + ";\n\tCOLUMNTITLES " + titles + ";\n\tVALUE   " + cells + ";\n\tDEFAULT 0;\n\tCHILD " +
           std::to_string(child) + ";\n}\n";
}

// dem (1) -> function 3 with value -> out (4).
std::string oneFunction(const char *value) { return kHeader + input(1, "dem", 3) + function(3, value, 4) + output(4, "out"); }

// The same with the output a temporary raster that feeds function 5.
std::string oneMacro(const char *value) {
    return kHeader + input(1, "dem", 3) + function(3, value, 4) + temporary(4, "tmp", 5) + function(5, "$tmp", 6) +
           output(6, "out");
}

struct Checked {
    explicit Checked(const std::string &text) : model(text), report(model.validate()) {
        EXPECT_TRUE(model.read()) << text;
    }
    bool has(const char *code) const { return report != nullptr && HasCode(*report, code); }
    const Vmodcheck_Problem *find(const char *code) const { return report != nullptr ? Find(*report, code) : nullptr; }
    // The problems of this area (other areas may have their say about the same model).
    std::vector<const Vmodcheck_Problem *> ours(int32_t severity = -1) const {
        std::vector<const Vmodcheck_Problem *> found;
        for (size_t i = 0; i < report->count; ++i)
            if (report->problems[i].code[0] == 'E' && (severity < 0 || report->problems[i].severity == severity))
                found.push_back(&report->problems[i]);
        return found;
    }
    size_t count(const char *code) const {
        const auto codes = Codes(*report);
        return static_cast<size_t>(std::count(codes.begin(), codes.end(), code));
    }
    FileModel model;
    Report report;
};

// The 1-based line of the first line holding text.
int32_t lineOf(const std::string &file, const std::string &text) {
    const size_t at = file.find(text);
    return at == std::string::npos ? -1 : static_cast<int32_t>(std::count(file.begin(), file.begin() + at, '\n') + 1);
}

} // namespace

// --- names against arrows ---

TEST(CheckExpressionsNames, NamedInputIsFine) {
    Checked checked(oneFunction("$dem * 2"));
    EXPECT_TRUE(checked.ours().empty()) << checked.ours().front()->message;
}

// Keywords are shared between blocks: each problem stands at its own block's statement.
TEST(CheckExpressionsNames, EachProblemStandsAtItsOwnBlocksStatement) {
    const std::string text = kHeader + input(1, "dem", 3) + function(3, "$dem + $first", 4) + temporary(4, "tmp", 5) +
                             function(5, "$tmp + $second", 6) + output(6, "out");
    Checked checked(text);
    std::vector<int32_t> lines;
    for (const Vmodcheck_Problem *problem : checked.ours())
        if (std::string(problem->code) == "E001") lines.push_back(problem->line);
    const size_t second = text.rfind("\tVALUE");
    EXPECT_EQ(lines, (std::vector<int32_t>{lineOf(text, "\tVALUE"),
                                           static_cast<int32_t>(std::count(text.begin(), text.begin() + second, '\n') + 1)}));
}

TEST(CheckExpressionsNames, UndeclaredVariableIsAnError) {
    const std::string text = oneFunction("$dem + $dme");
    Checked checked(text);
    const Vmodcheck_Problem *problem = checked.find("E001");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_NE(std::string(problem->message).find("$dme"), std::string::npos);
    EXPECT_EQ(problem->line, lineOf(text, "\tVALUE"));
    EXPECT_EQ(problem->column, 2);
    ASSERT_EQ(problem->nodeCount, 1u);
    EXPECT_EQ(problem->nodes[0], 3);
}

TEST(CheckExpressionsNames, NamesInsideQuotesAreNotVariables) {
    Checked checked(oneFunction("$dem + LENGTH(\\\"$nothing\\\")"));
    EXPECT_FALSE(checked.has("E001"));
}

TEST(CheckExpressionsNames, LetterCaseCounts) {
    Checked checked(oneFunction("$DEM * 2"));
    const Vmodcheck_Problem *problem = checked.find("E001");
    ASSERT_NE(problem, nullptr);
    EXPECT_NE(std::string(problem->message).find("letter case"), std::string::npos);
    EXPECT_NE(std::string(problem->hint).find("$dem"), std::string::npos);
    // The fix is the spelling, so the arrow does not count as unused as well.
    EXPECT_FALSE(checked.has("E004"));
}

TEST(CheckExpressionsNames, TitleWithDollarSignIsItsVariable) {
    Checked checked(kHeader + input(1, "$dem", 3) + function(3, "$dem * 2", 4) + output(4, "out"));
    EXPECT_FALSE(checked.has("E001"));
    EXPECT_FALSE(checked.has("E004"));
}

TEST(CheckExpressionsNames, ComputedDataWithoutArrowIsAnError) {
    // f3 computes mid; f5 reads mid but has an arrow from dem only.
    Checked checked(kHeader + input(1, "dem", 3) + input(2, "dem2", 5) + function(3, "$dem", 4) + output(4, "mid") +
                    function(5, "$dem2 + $mid", 6) + output(6, "out"));
    const Vmodcheck_Problem *problem = checked.find("E002");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    ASSERT_EQ(problem->nodeCount, 2u);
    EXPECT_EQ(problem->nodes[0], 5);
    EXPECT_EQ(problem->nodes[1], 4);
}

TEST(CheckExpressionsNames, ComputedDataWithArrowIsFine) {
    Checked checked(kHeader + input(1, "dem", 3) + function(3, "$dem", 4) + output(4, "mid", "5") +
                    function(5, "$mid", 6) + output(6, "out"));
    EXPECT_FALSE(checked.has("E002"));
    EXPECT_FALSE(checked.has("E003"));
}

TEST(CheckExpressionsNames, ReadingItsOwnOutputIsAnError) {
    Checked checked(oneFunction("$dem + $out"));
    const Vmodcheck_Problem *problem = checked.find("E002");
    ASSERT_NE(problem, nullptr);
    EXPECT_NE(std::string(problem->message).find("own output"), std::string::npos);
}

TEST(CheckExpressionsNames, FileDataWithoutArrowIsAWarning) {
    Checked checked(kHeader + input(1, "dem", 3) + input(2, "roads", 9) + function(3, "$dem + $roads", 4) +
                    output(4, "out") + function(9, "$roads", 10) + output(10, "out2"));
    const Vmodcheck_Problem *problem = checked.find("E003");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_TRUE(checked.ours(VMODCHECK_ERROR).empty());
}

TEST(CheckExpressionsNames, GeneratedNamesAreKnown) {
    // dem is recoded: the script also has dem_Org and n1_recode.
    const std::string recode = "\tRECODE YES;\n\tNUMCLASSES 2;\n\tNEWCLASSES 1, 2;\n";
    Checked withArrow(kHeader + input(1, "dem", 3, recode) + function(3, "LOOKUP($dem_Org, $n1_recode)", 4) +
                      output(4, "out"));
    EXPECT_TRUE(withArrow.ours().empty()) << withArrow.ours().front()->message;

    Checked withoutArrow(kHeader + input(1, "dem", 9, recode) + input(2, "b", 3) + function(3, "$b + $dem_Org", 4) +
                         output(4, "out") + function(9, "$dem", 10) + output(10, "out2"));
    EXPECT_FALSE(withoutArrow.has("E001"));
    EXPECT_TRUE(withoutArrow.has("E003"));
}

TEST(CheckExpressionsNames, LayerAndAttributeNamesAreKnown) {
    const std::string table = "TABLE {\n\tID 2;\n\tTITLE \"lut\";\n\tSIZE 0;\n\tDATATYPE DOUBLE;\n"
                              "\tIMAGENAME \"/data/x.img\";\n\tLAYERNAME \"(:Layer_1)\";\n"
                              "\tFIELDNAME \"Histogram\";\n\tCHILD 3;\n}\n";
    const std::string vector = "VECTOR {\n\tID 7;\n\tTITLE \"roads\";\n\tVECTORTYPE COVERAGE;\n"
                               "\tFILENAME \"/data/roads\";\n\tFEATURE \"line\";\n\tATTRIBUTE \"CLASS\";\n"
                               "\tRECODE NO;\n\tCHILD 3;\n}\n";
    Checked known(kHeader + input(1, "dem", 3) + table + vector +
                  function(3, "$dem + $n2_layer + $roads_Org", 4) + output(4, "out"));
    EXPECT_TRUE(known.ours().empty()) << known.ours().front()->message;
    // Only nodes that have them: dem is not recoded, and there is no node 9.
    Checked unknown(oneFunction("$dem + $dem_Org + $n1_recode + $n9_layer"));
    EXPECT_EQ(unknown.count("E001"), 3u);
}

TEST(CheckExpressionsNames, UnusedInputIsAWarning) {
    const std::string text =
        kHeader + input(1, "dem", 3) + input(2, "roads", 3) + function(3, "$dem * 2", 4) + output(4, "out");
    Checked checked(text);
    const Vmodcheck_Problem *problem = checked.find("E004");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    ASSERT_EQ(problem->nodeCount, 2u);
    EXPECT_EQ(problem->nodes[1], 2);
    EXPECT_EQ(checked.count("E004"), 1u);
    // A title that no text can name is for the names checks to report, not this one.
    EXPECT_FALSE(Checked(kHeader + input(1, "dem", 3) + input(2, "Land use", 3) + function(3, "$dem", 4) +
                         output(4, "out"))
                     .has("E004"));
}

TEST(CheckExpressionsNames, NameInACommentLineIsNoUse) {
    // In an assignment a line starting with # is a comment: its $roads uses nothing.
    Checked checked(kHeader + input(1, "dem", 3) + input(2, "roads", 3) + function(3, "$dem\n# not $roads or $x", 4) +
                    output(4, "out"));
    EXPECT_FALSE(checked.has("E001"));
    EXPECT_FALSE(checked.has("E007"));
    EXPECT_TRUE(checked.has("E004"));
}

// --- empty, unbalanced, ending early ---

TEST(CheckExpressionsText, EmptyExpressionIsAnError) {
    const std::string blank = oneFunction("  \n ");
    Checked checked(blank);
    const Vmodcheck_Problem *problem = checked.find("E005");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->line, lineOf(blank, "\tVALUE"));
    EXPECT_FALSE(checked.has("E004"));  // nothing to say about inputs of no expression

    const std::string none = oneFunction(nullptr);
    Checked missing(none);
    problem = missing.find("E005");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->line, lineOf(none, "FUNCTION {"));  // no VALUE: the block

    EXPECT_TRUE(Checked(oneMacro("  ")).has("E005"));
    EXPECT_FALSE(Checked(oneFunction("$dem")).has("E005"));
}

TEST(CheckExpressionsText, UnbalancedBracketsAndQuotesAreErrors) {
    for (const char *value : {"($dem", "$dem)", "($dem]", "{[$dem}]", "$dem + \\\"abc"}) {
        Checked checked(oneFunction(value));
        const Vmodcheck_Problem *problem = checked.find("E006");
        ASSERT_NE(problem, nullptr) << value;
        EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    }
    Checked nested(oneFunction("$dem +\n  (1"));
    const Vmodcheck_Problem *problem = nested.find("E006");
    ASSERT_NE(problem, nullptr);
    EXPECT_NE(std::string(problem->message).find("line 2, column 3"), std::string::npos) << problem->message;
}

TEST(CheckExpressionsText, BalancedTextIsFine) {
    for (const char *value : {"FOCAL ( $dem , [1, 2] ) + {3}", "$dem + LENGTH(\\\")]\\\")", "(\n$dem\n)"}) {
        Checked checked(oneFunction(value));
        EXPECT_FALSE(checked.has("E006")) << value;
    }
}

TEST(CheckExpressionsText, TextEndingTheStatementIsAnError) {
    for (const char *value : {"$dem; QUIT", "$dem +\nquit", "$dem\nSET CELLSIZE 1", "$dem \\\n+ 1", "$dem \\\r\n+ 1"}) {
        Checked checked(oneFunction(value));
        const Vmodcheck_Problem *problem = checked.find("E007");
        ASSERT_NE(problem, nullptr) << value;
        EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    }
    // A # line is a comment in an assignment but not inside a #define.
    EXPECT_FALSE(Checked(oneFunction("$dem\n# note")).has("E007"));
    EXPECT_TRUE(Checked(oneMacro("$dem\n# note")).has("E007"));
}

TEST(CheckExpressionsText, LookalikesDoNotEndTheStatement) {
    for (const char *value : {"$dem + LENGTH(\\\"a;b\\\")", "SETTLE($dem)", "$dem # 2", "$dem\n  + 1"}) {
        Checked checked(oneFunction(value));
        EXPECT_FALSE(checked.has("E007")) << value;
    }
    EXPECT_FALSE(Checked(oneMacro("$dem +\n 1")).has("E007"));
}

// --- criteria tables ---

TEST(CheckExpressionsCriteria, CompleteTableIsFine) {
    Checked checked(kHeader + input(1, "dem", 5) + input(2, "limit", 5) +
                    criteria(5, 2, 2, "\"$dem\", \"( $dem\"", "\"< $limit\", \"> 3 )\", \">= $limit\", \"< 0)\"", 6) +
                    output(6, "out"));
    EXPECT_TRUE(checked.ours().empty()) << checked.ours().front()->message;
}

TEST(CheckExpressionsCriteria, NoRowsIsAnError) {
    const std::string text = kHeader + input(1, "dem", 5) +
                             "CRITERIA {\n\tID 5;\n\tTITLE \"c\";\n\tSIZE 1, 0;\n\tCOLUMNTITLES \"$dem\";\n\tCHILD 6;\n}\n" +
                             output(6, "out");
    Checked checked(text);
    const Vmodcheck_Problem *problem = checked.find("E008");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_EQ(problem->line, lineOf(text, "\tSIZE 1, 0"));
    EXPECT_FALSE(checked.has("E004"));
}

TEST(CheckExpressionsCriteria, EmptyCells) {
    // Under a title, an empty cell leaves the title alone as the condition.
    Checked alone(kHeader + input(1, "dem", 5) + criteria(5, 1, 2, "\"$dem\"", "\"> 1\", \"\"", 6) + output(6, "out"));
    const Vmodcheck_Problem *problem = alone.find("E010");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_NE(std::string(problem->message).find("row 2, column 1"), std::string::npos);
    EXPECT_FALSE(alone.has("E009"));

    // Under an empty title nothing is left.
    const std::string text =
        kHeader + input(1, "dem", 5) + criteria(5, 2, 1, "\"$dem\", \"\"", "\"> 1\", \" \"", 6) + output(6, "out");
    Checked nothing(text);
    problem = nothing.find("E009");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_EQ(problem->line, lineOf(text, "\tVALUE"));
}

TEST(CheckExpressionsCriteria, ColumnTitleNamingNoInput) {
    const std::string text = kHeader + input(1, "dem", 5) + input(2, "slope", 9) +
                             criteria(5, 2, 1, "\"$dem\", \"$slpoe\"", "\"> 1\", \"< 2\"", 6) + output(6, "out") +
                             criteria(7, 1, 1, "\"$slope\"", "\"> 1\"", 8) + output(8, "out2") +
                             function(9, "$slope", 10) + output(10, "out3");
    Checked checked(text);
    const Vmodcheck_Problem *problem = checked.find("E001");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->line, lineOf(text, "\tCOLUMNTITLES \"$dem\""));
    // Criteria 7 names slope, which has no arrow into it.
    problem = checked.find("E003");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->nodes[0], 7);
}

TEST(CheckExpressionsCriteria, UnusedInputAndNamesInCells) {
    Checked unused(kHeader + input(1, "dem", 5) + input(2, "limit", 5) + criteria(5, 1, 1, "\"$dem\"", "\"> 1\"", 6) +
                   output(6, "out"));
    EXPECT_TRUE(unused.has("E004"));
    Checked used(kHeader + input(1, "dem", 5) + input(2, "limit", 5) +
                 criteria(5, 1, 1, "\"$dem\"", "\"> $limit\"", 6) + output(6, "out"));
    EXPECT_FALSE(used.has("E004"));
}

TEST(CheckExpressionsCriteria, UnbalancedConditionAndEarlyEnd) {
    Checked open(kHeader + input(1, "dem", 5) + criteria(5, 1, 1, "\"( $dem\"", "\"> 1\"", 6) + output(6, "out"));
    EXPECT_TRUE(open.has("E006"));
    Checked semicolon(kHeader + input(1, "dem", 5) + criteria(5, 1, 1, "\"$dem\"", "\"> 1;\"", 6) + output(6, "out"));
    EXPECT_TRUE(semicolon.has("E007"));
    // The table's texts get no backslashes inside a #define: a line break ends it.
    const std::string broken = input(1, "dem", 5) + criteria(5, 1, 1, "\"$dem\"", "\"> 1\n\"", 6);
    EXPECT_TRUE(Checked(kHeader + broken + temporary(6, "tmp", 7) + function(7, "$tmp", 8) + output(8, "out"))
                    .has("E007"));
    EXPECT_FALSE(Checked(kHeader + broken + output(6, "out")).has("E007"));
}
