// test_check_names.cpp - the validator's names checks.
#include "check_support.h"

using namespace checktest;

namespace {

std::string Raster(int id, const std::string &title, const std::string &body = "\tFILENAME \"/data/in.img\";\n") {
    return "RASTER {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tPOSITION " +
           std::to_string(id * 2) + ", 1;\n" + body + "}\n";
}

std::string Block(const std::string &kind, int id, const std::string &title, const std::string &body) {
    return kind + " {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tPOSITION " +
           std::to_string(id * 2) + ", 1;\n" + body + "}\n";
}

const char *kRecode = "\tFILENAME \"/data/in.img\";\n\tRECODE YES;\n\tNUMCLASSES 2;\n\tNEWCLASSES 1, 2;\n";

// The problems with code, in order.
std::vector<const Vmodcheck_Problem *> All(const Vmodcheck_Report &report, const std::string &code) {
    std::vector<const Vmodcheck_Problem *> found;
    for (size_t i = 0; i < report.count; ++i)
        if (code == report.problems[i].code) found.push_back(&report.problems[i]);
    return found;
}

std::vector<int32_t> NodesOf(const Vmodcheck_Problem *problem) {
    return std::vector<int32_t>(problem->nodes, problem->nodes + problem->nodeCount);
}

Report Validated(FileModel &file) {
    EXPECT_TRUE(file.read());
    return file.validate();
}

} // namespace

TEST(CheckNames, TitlesTheScriptCannotNameAreErrors) {
    struct Case {
        const char *title;
        const char *why;
        const char *suggested;
    };
    const std::vector<Case> bad = {
        {"Land use 2020", "holds a blank", "Land_use_2020"},
        {"2020_landuse", "starts with a digit", "_2020_landuse"},
        {"$dem", "starts with \"$\", so the script would declare the variable as $dem", "dem"},
        {"it's", "holds a quote", "it_s"},
        {"a-b", "holds \"-\"", "a_b"},
        {"h\xC3\xB6he", "holds a character that is not ASCII", "h_he"},
    };
    for (const Case &c : bad) {
        const std::string text = std::string(kHeader) + Raster(1, c.title);
        FileModel file(text);
        Report report = Validated(file);
        const auto found = All(*report, "N002");
        ASSERT_EQ(found.size(), 1u) << c.title;
        EXPECT_EQ(found[0]->severity, VMODCHECK_ERROR);
        EXPECT_EQ(std::string(found[0]->message),
                  std::string("the title of raster node 1 \"") + c.title + "\" is not a name the script can use: it " + c.why);
        EXPECT_NE(std::string(found[0]->hint).find(std::string("e.g. to ") + c.suggested + ":"), std::string::npos)
            << found[0]->hint;
        EXPECT_EQ(found[0]->line, 14);  // the TITLE statement, after the header and ID
        EXPECT_EQ(found[0]->column, 2);
    }
    for (const char *good : {"dem", "_x", "Land_use_2020", "n1_dem", "a1"}) {
        FileModel file(std::string(kHeader) + Raster(1, good));
        EXPECT_FALSE(HasCode(*Validated(file), "N002")) << good;
    }
}

TEST(CheckNames, OnlyDataNodesNeedNames) {
    // Function and criteria titles are labels, not variables.
    FileModel file(std::string(kHeader) + Raster(1, "a", "\tFILENAME \"/data/in.img\";\n\tCHILD 2;\n") +
                   Block("FUNCTION", 2, "slope of a", "\tVALUE \"$a\";\n\tCHILD 3;\n") +
                   Raster(3, "b", "\tNEWFILE;\n\tFILENAME \"/data/out.img\";\n"));
    EXPECT_FALSE(HasCode(*Validated(file), "N002"));
}

TEST(CheckNames, AnUntitledDataNodeIsAnError) {
    FileModel empty(std::string(kHeader) + Raster(1, ""));
    Report report = Validated(empty);
    ASSERT_TRUE(HasCode(*report, "N001"));
    EXPECT_FALSE(HasCode(*report, "N002"));
    FileModel none(std::string(kHeader) + "SCALAR {\n\tID 4;\n\tVALUE 1;\n}\n");
    Report untitled = Validated(none);
    ASSERT_TRUE(HasCode(*untitled, "N001"));
    EXPECT_EQ(NodesOf(Find(*untitled, "N001")), std::vector<int32_t>{4});
    EXPECT_EQ(Find(*untitled, "N001")->line, 12);  // no TITLE: the block
    FileModel note(std::string(kHeader) + "TEXT {\n\tID 4;\n\tFONT \"Helvetica\";\n\tSIZE 10;\n}\n");
    EXPECT_FALSE(HasCode(*Validated(note), "N001"));
}

TEST(CheckNames, TwoDataNodesWithOneTitleAreOneError) {
    const std::string text = std::string(kHeader) + Raster(1, "dem") + Block("SCALAR", 2, "dem", "\tVALUE 1;\n") +
                             Raster(3, "other") + Raster(4, "dem");
    FileModel file(text);
    Report report = Validated(file);
    const auto found = All(*report, "N003");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->severity, VMODCHECK_ERROR);
    EXPECT_EQ(NodesOf(found[0]), (std::vector<int32_t>{1, 2, 4}));
    EXPECT_STREQ(found[0]->message, "raster node 1 \"dem\", scalar node 2 \"dem\" and raster node 4 \"dem\" have the "
                                    "same title, so the script would declare dem more than once");
    EXPECT_EQ(found[0]->line, 12 + 6 + 2);  // the TITLE of the second "dem"
}

TEST(CheckNames, TitlesDifferingOnlyInCaseAreAWarning) {
    FileModel file(std::string(kHeader) + Raster(1, "Dem") + Raster(2, "dem") + Raster(3, "dems"));
    Report report = Validated(file);
    EXPECT_FALSE(HasCode(*report, "N003"));
    const auto found = All(*report, "N004");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->severity, VMODCHECK_WARNING);
    EXPECT_EQ(NodesOf(found[0]), (std::vector<int32_t>{1, 2}));
}

TEST(CheckNames, ATitleThatIsANameTheScriptMakesIsAnError) {
    // Node 5 is recoded: the script declares dem_Org and the table n5_recode.
    FileModel recode(std::string(kHeader) + Raster(5, "dem", kRecode) + Raster(6, "n5_recode") + Raster(7, "dem_Org"));
    Report report = Validated(recode);
    const auto found = All(*report, "N005");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->severity, VMODCHECK_ERROR);
    EXPECT_STREQ(found[0]->message, "the title of raster node 6 \"n5_recode\" is the name n5_recode that the script "
                                    "makes for the recode table of raster node 5 \"dem\"");
    EXPECT_EQ(NodesOf(found[0]), (std::vector<int32_t>{6, 5}));
    EXPECT_EQ(NodesOf(found[1]), (std::vector<int32_t>{7, 5}));

    // A vector read through an attribute other than the record number.
    const std::string vector = "\tVECTORTYPE ANNOTATION;\n\tFILENAME \"/data/v\";\n\tATTRIBUTE \"CLASS\";\n";
    FileModel attribute(std::string(kHeader) + Block("VECTOR", 1, "roads", vector) + Raster(2, "roads_Org"));
    EXPECT_TRUE(HasCode(*Validated(attribute), "N005"));

    // A table reading a column of an image declares the image as n<id>_layer.
    const std::string table = "\tSIZE 0;\n\tDATATYPE DOUBLE;\n\tIMAGENAME \"/data/in.img\";\n\tLAYERNAME \"(:Layer_1)\";\n"
                              "\tFIELDNAME \"Histogram\";\n";
    FileModel layer(std::string(kHeader) + Block("TABLE", 3, "hist", table) + Raster(4, "n3_layer"));
    EXPECT_TRUE(HasCode(*Validated(layer), "N005"));
}

TEST(CheckNames, TitlesThatOnlyLookLikeMadeNamesAreFine) {
    const std::string plainVector = "\tVECTORTYPE ANNOTATION;\n\tFILENAME \"/data/v\";\n";
    const std::string recordNumber = plainVector + "\tATTRIBUTE \"Record Number\";\n";
    const std::string typedTable = "\tSIZE 2;\n\tDATATYPE DOUBLE;\n\tVALUE 1, 2;\n";
    FileModel file(std::string(kHeader) + Raster(5, "dem") + Raster(6, "n5_recode") + Raster(7, "dem_Org") +
                   Block("VECTOR", 1, "roads", recordNumber) + Raster(2, "roads_Org") +
                   Block("TABLE", 3, "hist", typedTable) + Raster(4, "n3_layer") + Raster(8, "n9_recode"));
    Report report = Validated(file);
    EXPECT_FALSE(HasCode(*report, "N005"));
    EXPECT_FALSE(HasCode(*report, "N004"));
}

TEST(CheckNames, AMadeNameDifferingOnlyInCaseIsAWarning) {
    FileModel file(std::string(kHeader) + Raster(5, "dem", kRecode) + Raster(6, "N5_RECODE"));
    Report report = Validated(file);
    EXPECT_FALSE(HasCode(*report, "N005"));
    ASSERT_TRUE(HasCode(*report, "N004"));
    EXPECT_EQ(NodesOf(Find(*report, "N004")), (std::vector<int32_t>{5, 6}));
}

// Thousands of problems, some with texts longer than the blocks their texts are kept in,
// each keep their own message and nodes, errors still ahead of warnings.
TEST(CheckNames, ManyProblemsEachKeepTheirOwnTextAndNodes) {
    std::string text = kHeader;
    const int count = 3000;
    auto titleOf = [](int id) {
        const size_t length = id % 500 == 0 ? 20000 + static_cast<size_t>(id) : static_cast<size_t>(id % 40);
        return "t " + std::to_string(id) + std::string(length, 'x');
    };
    for (int id = 1; id <= count; ++id) text += Raster(id, titleOf(id));
    FileModel file(text);
    Report report = Validated(file);
    const auto blanks = All(*report, "N002");
    ASSERT_EQ(blanks.size(), static_cast<size_t>(count));
    for (int id = 1; id <= count; ++id) {
        const Vmodcheck_Problem *problem = blanks[static_cast<size_t>(id - 1)];
        EXPECT_EQ(NodesOf(problem), std::vector<int32_t>{id});
        EXPECT_NE(std::string(problem->message).find("\"" + titleOf(id) + "\""), std::string::npos) << id;
        EXPECT_NE(problem->hint[0], '\0');
    }
    for (size_t i = 1; i < report->count; ++i)
        EXPECT_LE(report->problems[i - 1].severity, report->problems[i].severity) << i;
}
