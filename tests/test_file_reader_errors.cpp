// Tests of what the reader rejects: syntax errors with their line and column, and input
// the grammar accepts but that would corrupt the model. Each rejection yields no model
// and (under LeakSanitizer) leaves nothing allocated.
#include <gtest/gtest.h>

#include <string>

#include "support/reader_support.h"

namespace {

// The driver's message for text, or "" when it parses.
std::string rejection(const std::string &text) {
    ReportKeeper report;
    ParsedModel model = parseText(text, report);
    if (model != nullptr)
        return "";
    EXPECT_EQ(report.messages().size(), 2u);
    EXPECT_EQ(report.messages()[0], "Graphical Model Parse Error");
    return report.cause();
}

} // namespace

TEST(vmod_ModelParse, SyntaxErrorsNameLineColumnFoundAndExpected) {
    EXPECT_EQ(rejection("TITLE \"t\";\nRASTER {\n\tTITLE foo bar;\n}\n"),
              "model.vmf:3:12: unexpected NAME \"bar\", expected ';'");
    EXPECT_EQ(rejection("TITLE raster;\n"), "model.vmf:1:7: unexpected RASTER, expected NAME or STRING");
    EXPECT_EQ(rejection("TITLE t;\nFUNCTION { CHILD 3, 4; }\n"), "model.vmf:2:19: unexpected ',', expected ';'");
    EXPECT_EQ(rejection("TITLE t;\nRASTER { ID 1;"), "model.vmf:2:15: unexpected end of file, expected a statement of a RASTER block or '}'");
    EXPECT_EQ(rejection("TITLE t;\nRASTER { SIZE 3; }\n"),
              "model.vmf:2:10: unexpected SIZE, expected a statement of a RASTER block or '}'");
    EXPECT_EQ(rejection("TITLE t;\nTEXT { STYLE 1.5; }\n"),
              "model.vmf:2:14: unexpected FLOAT 1.5, expected BOLD, ITALICS, NORMAL or UNDERLINED");
    EXPECT_EQ(rejection("PAGESIZE 1, 2 METERS;"),
              "model.vmf:1:15: unexpected METERS, expected CENTIMETERS, INCHES or ';'");
}

TEST(vmod_ModelParse, HeaderAfterABlockIsRejected) {
    EXPECT_EQ(rejection("TITLE t;\nRASTER { }\nTITLE u;\n"),
              "model.vmf:3:1: unexpected TITLE, expected end of file, CRITERIA, FUNCTION, MATRIX, RASTER, SCALAR, TABLE, "
              "TEXT or VECTOR");
}

TEST(vmod_ModelParse, ScannerErrors) {
    EXPECT_EQ(rejection("TITLE t;\nRASTER { TITLE \"open; }\n"),
              "model.vmf:2:16: a string is not closed before the end of the file");
    EXPECT_EQ(rejection("TITLE t;\n  @"), "model.vmf:2:3: unexpected '@'");
    EXPECT_EQ(rejection(std::string("TITLE t;\x01", 9)), "model.vmf:1:9: unexpected byte 0x01");
    EXPECT_EQ(rejection("TITLE \"a\\\";"), "model.vmf:1:7: a string is not closed before the end of the file");
}

TEST(vmod_ModelParse, ListLongerThanItsSizeIsRejected) {
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NUMCLASSES 2; NEWCLASSES 4, 5, 6; }\n"),
              "model.vmf:2:41: NEWCLASSES holds more items than NUMCLASSES made room for (2)");
    EXPECT_EQ(rejection("TITLE t;\nMATRIX { SIZE 1, 2; VALUE 1, 2, 3; }\n"),
              "model.vmf:2:33: VALUE holds more items than SIZE made room for (2)");
    EXPECT_EQ(rejection("TITLE t;\nTABLE { SIZE 0; VALUE 1; }\n"),
              "model.vmf:2:23: VALUE holds more items than SIZE made room for (0)");
    EXPECT_EQ(rejection("TITLE t;\nTABLE { SIZE 1; VALUE a, b; }\n"),
              "model.vmf:2:26: VALUE holds more items than SIZE made room for (1)");
    EXPECT_EQ(rejection("TITLE t;\nTABLE { SIZE 1; COLORVALUE ((1,2,3,4),(5,6,7,8)); }\n"),
              "model.vmf:2:39: COLORVALUE holds more items than SIZE made room for (1)");
    EXPECT_EQ(rejection("TITLE t;\nCRITERIA { SIZE 1, 1; COLUMNTITLES a, b; }\n"),
              "model.vmf:2:39: COLUMNTITLES holds more items than SIZE made room for (1)");
    EXPECT_EQ(rejection("TITLE t;\nCRITERIA { SIZE 1, 1; VALUE a, b; }\n"),
              "model.vmf:2:32: VALUE holds more items than SIZE made room for (1)");
    EXPECT_EQ(rejection("TITLE t;\nCRITERIA { SIZE 1, 2; OUTPUTVALUES 1, 2, 3; }\n"),
              "model.vmf:2:42: OUTPUTVALUES holds more items than SIZE made room for (2)");
    // Filling exactly the slots is fine, and a second list continues where the first stopped.
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NUMCLASSES 3; NEWCLASSES 1, 2; NEWCLASSES 3; }\n"), "");
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NUMCLASSES 3; NEWCLASSES 1, 2; NEWCLASSES 3, 4; }\n"),
              "model.vmf:2:55: NEWCLASSES holds more items than NUMCLASSES made room for (3)");
}

TEST(vmod_ModelParse, ListBeforeItsSizingStatementIsRejected) {
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NEWCLASSES 4; }\n"),
              "model.vmf:2:21: NEWCLASSES comes before the NUMCLASSES statement of its block");
    EXPECT_EQ(rejection("TITLE t;\nMATRIX { VALUE 1; SIZE 1, 1; }\n"),
              "model.vmf:2:16: VALUE comes before the SIZE statement of its block");
    EXPECT_EQ(rejection("TITLE t;\nTABLE { VALUE \"a\"; }\n"),
              "model.vmf:2:15: VALUE comes before the SIZE statement of its block");
    EXPECT_EQ(rejection("TITLE t;\nCRITERIA { COLUMNTITLES a; }\n"),
              "model.vmf:2:25: COLUMNTITLES comes before the SIZE statement of its block");
    // A sizing statement of an earlier block does not size a later one.
    EXPECT_EQ(rejection("TITLE t;\nVECTOR { NUMCLASSES 5; }\nVECTOR { NEWCLASSES 1; }\n"),
              "model.vmf:3:21: NEWCLASSES comes before the NUMCLASSES statement of its block");
}

TEST(vmod_ModelParse, NegativeOrAbsurdSizesAreRejected) {
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NUMCLASSES -1; }\n"), "model.vmf:2:21: NUMCLASSES must not be negative");
    EXPECT_EQ(rejection("TITLE t;\nTABLE { SIZE 10000001; }\n"), "model.vmf:2:14: SIZE is larger than 10000000");
    EXPECT_EQ(rejection("TITLE t;\nMATRIX { SIZE 4000, 4000; }\n"),
              "model.vmf:2:10: SIZE 4000, 4000 holds more than 10000000 values");
    EXPECT_EQ(rejection("TITLE t;\nCRITERIA { SIZE 65536, 65536; }\n"),
              "model.vmf:2:12: SIZE 65536, 65536 holds more than 10000000 cells");
    EXPECT_EQ(rejection("TITLE t;\nMATRIX { SIZE 3, -3; }\n"),
              "model.vmf:2:18: the number of rows must not be negative");
    EXPECT_EQ(rejection("TITLE t;\nMATRIX { SIZE 10000000, 1; }\n"), "");
    EXPECT_EQ(rejection("TITLE t;\nMATRIX { SIZE 0, 5; }\n"), "");
}

TEST(vmod_ModelParse, IntegersMustBeFiniteAndWithin32Bits) {
    EXPECT_EQ(rejection("TITLE t;\nSCALAR { ID inf; }\n"), "model.vmf:2:13: ID must be a whole number within 32 bits");
    EXPECT_EQ(rejection("TITLE t;\nSCALAR { ID nan; }\n"), "model.vmf:2:13: ID must be a whole number within 32 bits");
    EXPECT_EQ(rejection("TITLE t;\nSCALAR { ID 2147483648; }\n"),
              "model.vmf:2:13: ID must be a whole number within 32 bits");
    EXPECT_EQ(rejection("TITLE t;\nSCALAR { ID -2147483648.5; }\n"), "");
    EXPECT_EQ(rejection("TITLE t;\nSCALAR { CHILD 1, 1e10; }\n"),
              "model.vmf:2:19: CHILD must be a whole number within 32 bits");
    EXPECT_EQ(rejection("TITLE t;\nFUNCTION { CHILD -inf; }\n"),
              "model.vmf:2:18: CHILD must be a whole number within 32 bits");
    EXPECT_EQ(rejection("TITLE t;\nTEXT { SIZE 1e999; }\n"), "model.vmf:2:13: SIZE must be a whole number within 32 bits");
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NUMCLASSES 1; NEWCLASSES 3e9; }\n"),
              "model.vmf:2:35: a class value must be a whole number within 32 bits");
    EXPECT_EQ(rejection("TITLE t;\nTABLE { SIZE nan; }\n"), "model.vmf:2:14: SIZE must be a whole number within 32 bits");
}

// The writer gives an operation one CHILD (its output), so a file with two would load as
// a model that cannot be saved.
TEST(vmod_ModelParse, SecondChildOfAnOperationIsRejectedAtItsStatement) {
    EXPECT_EQ(rejection("TITLE t;\nFUNCTION { ID 1; CHILD 3;\n\tCHILD 4; }\n"),
              "model.vmf:3:2: a second CHILD in a FUNCTION block; a model file gives an operation one output at most");
    EXPECT_EQ(rejection("TITLE t;\nCRITERIA { CHILD 3; TITLE c; CHILD 3; }\n"),
              "model.vmf:2:30: a second CHILD in a CRITERIA block; a model file gives an operation one output at most");
    // One CHILD per operation block; data blocks take any number of statements.
    EXPECT_EQ(rejection("TITLE t;\nFUNCTION { CHILD 3; }\nFUNCTION { CHILD 4; }\nSCALAR { CHILD 1; CHILD 2, 3; }\n"), "");
}

TEST(vmod_ModelParse, RejectionAfterStringsWereReadLeaksNothing) {
    // Strings taken by statements, a string still waiting for its statement, and a block
    // not yet in the list are all released (LeakSanitizer checks).
    EXPECT_NE(rejection("TITLE t;\nPROJECTION SPECIFY \"a\" \"b\" x;\n"), "");
    EXPECT_NE(rejection("TITLE t;\nTABLE { SIZE 1; VALUE \"a\", \"b\"; }\n"), "");
    EXPECT_NE(rejection("TITLE t;\nTEXT { FONT \"Arial\"; TITLE x; }\nRASTER { TITLE y; DECLARE z; ID nan; }\n"), "");
    EXPECT_NE(rejection("TITLE t;\nCRITERIA { SIZE 2, 2; COLUMNTITLES a, b; VALUE c, d, e, f, g; }\n"), "");
}
