// test_check_graph.cpp - the validator's graph checks.
#include "check_support.h"

using namespace checktest;

TEST(CheckSupport, AModelWithoutProblemsHasNone) {
    FileModel file(std::string(kHeader) +
                   "RASTER {\n\tID 1;\n\tTITLE \"elevation\";\n\tPOSITION 1, 1;\n\tFILENAME \"/data/dem.img\";\n"
                   "\tCHILD 2;\n}\nFUNCTION {\n\tID 2;\n\tTITLE \"slope\";\n\tPOSITION 3, 1;\n"
                   "\tVALUE \"SLOPE ( $elevation )\";\n\tCHILD 3;\n}\n"
                   "RASTER {\n\tID 3;\n\tTITLE \"slope_out\";\n\tPOSITION 5, 1;\n\tNEWFILE;\n"
                   "\tFILENAME \"/data/slope.img\";\n}\n");
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->errors, 0u);
}
