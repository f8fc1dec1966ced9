// Tests of what the reader tells a user about a file it refuses: the message keeps
// file:line:col, and a hint (a misspelled keyword, how a model file starts) follows as the
// innermost report of the chain. Also the bytes a file may start with or hold that used
// to be misread: a byte-order mark, a NUL inside a string, numbers beyond a double's range.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/reader_support.h"
#include "support/scratch_dir.h"

namespace {

const std::string kHeaderStatements =
    "a model file starts with a header statement: AOI, CELLSIZE, MARGINS, OPTIMIZE, ORIENTATION, PAGESIZE, "
    "PAGENUMBERS, PRINTERPAGESIZE, PRINTSCALE, PROJECTION, TITLE or WINDOW";

// The driver's part of the chain (its message, then its hint when there is one), or
// {} when the text parses.
std::vector<std::string> driverMessages(const std::string &text) {
    ReportKeeper report;
    ParsedModel model = parseText(text, report);
    if (model != nullptr)
        return {};
    std::vector<std::string> messages = report.messages();
    EXPECT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Graphical Model Parse Error");
    return std::vector<std::string>(messages.begin() + 1, messages.end());
}

struct Case {
    const char *what;
    std::string text;
    std::vector<std::string> messages;
};

} // namespace

TEST(vmod_ModelParse, MessagesSayWhatIsWrongAndHowToMendIt) {
    const std::vector<Case> cases = {
        {"empty", "", {"model.vmf:1:1: the file is empty", kHeaderStatements}},
        {"only a mark", "\xEF\xBB\xBF", {"model.vmf:1:1: the file is empty", kHeaderStatements}},
        {"only comments",
         "# a model\n\n",
         {"model.vmf:3:1: the file holds no statements, only blanks and comments", kHeaderStatements}},
        {"no header", "RASTER { }\n", {"model.vmf:1:1: unexpected RASTER, expected a header statement", kHeaderStatements}},
        {"misspelled statement",
         "TITLE t;\nRASTER {\n\tINTERPOLATON NEAREST;\n}\n",
         {"model.vmf:3:2: unexpected NAME \"INTERPOLATON\", expected a statement of a RASTER block or '}'", "did you mean INTERPOLATION?"}},
        {"misspelled first statement in any case",
         "titel t;\n",
         {"model.vmf:1:1: unexpected NAME \"titel\", expected a header statement", "did you mean TITLE?"}},
        {"equally close keywords",
         "TITLE t;\nRASTER { DATATYPE UNSIGNED; }\n",
         {"model.vmf:2:19: unexpected NAME \"UNSIGNED\", expected a word that DATATYPE takes",
          "did you mean UNSIGNED2, UNSIGNED4 or UNSIGNED8?"}},
        {"a keyword valid only elsewhere is not suggested",
         "TITLE t;\nRASTER { TITEL a; }\n",
         {"model.vmf:2:10: unexpected NAME \"TITEL\", expected a statement of a RASTER block or '}'", "did you mean TITLE?"}},
        {"a name far from every keyword",
         "TITLE t;\nRASTER { COLOUR red; }\n",
         {"model.vmf:2:10: unexpected NAME \"COLOUR\", expected a statement of a RASTER block or '}'"}},
        {"a short name is no misspelling", "TITLE t;\nRASTER { ID 1; X; }\n",
         {"model.vmf:2:16: unexpected NAME \"X\", expected a statement of a RASTER block or '}'"}},
        {"a keyword of another block",
         "TITLE t;\nVECTOR { ID 1; LAYERNAME \"roads\"; }\n",
         {"model.vmf:2:16: unexpected LAYERNAME, expected a statement of a VECTOR block or '}'"}},
        {"a keyword of a block before the header", "RASTER { ID 1; }\n",
         {"model.vmf:1:1: unexpected RASTER, expected a header statement", kHeaderStatements}},
        {"a word neither a header statement nor a block",
         "TITLE t;\nPAGE 1;\n",
         {"model.vmf:2:1: unexpected NAME \"PAGE\", expected a header statement, a node block or end of file"}},
        {"nine choices are listed",
         "TITLE t;\nMATRIX { BUILTIN LOWPAS; }\n",
         {"model.vmf:2:18: unexpected NAME \"LOWPAS\", expected EDGEDETECT, EDGEENHANCE, HIGHPASS, HORIZONTAL, "
          "LOWPASS, SOBEL1, SOBEL2, SUMMARY or VERTICAL",
          "did you mean LOWPASS?"}},
        {"NUL inside a string",
         std::string("TITLE t;\nRASTER { TITLE \"ab\ncd") + '\0' + "ef\"; }\n",
         {"model.vmf:3:3: a string holds a NUL byte"}},
        {"a mark after the start is still refused", "TITLE t;\xEF\xBB\xBF", {"model.vmf:1:9: unexpected byte 0xEF"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(driverMessages(c.text), c.messages) << c.what;
}

TEST(vmod_ModelParse, ByteOrderMarkIsSkipped) {
    ReportKeeper report;
    ParsedModel model = parseText("\xEF\xBB\xBFTITLE t;\nRASTER { ID 1; }\n", report);
    ASSERT_NE(model, nullptr) << report.cause();
    EXPECT_STREQ(model->title, "t");
    // Positions count from the first byte after the mark.
    EXPECT_EQ(driverMessages("\xEF\xBB\xBFTITLE t;\n@"), std::vector<std::string>{"model.vmf:2:1: unexpected '@'"});
}

TEST(vmod_ModelRead, FileWithAByteOrderMarkOrNothingAtAll) {
    vmodtest::ScratchDir dir;
    QuietErrors quiet;
    writeFile(dir.file("mark.vmf"), "\xEF\xBB\xBFTITLE \"with a mark\";\n");
    Vmod_Model model{};
    ReportKeeper report;
    vmod_ModelRead(&model, dir.file("mark.vmf").c_str(), report.slot());
    ASSERT_EQ(report.report, nullptr) << report.cause();
    EXPECT_STREQ(model.title, "with a mark");
    ReportKeeper released;
    vmod_ModelDelete(&model, released.slot());

    writeFile(dir.file("empty.vmf"), "");
    Vmod_Model empty{};
    ReportKeeper refused;
    vmod_ModelRead(&empty, dir.file("empty.vmf").c_str(), refused.slot());
    EXPECT_EQ(refused.messages(),
              (std::vector<std::string>{"Error Parsing Model: " + dir.file("empty.vmf"), "Graphical Model Parse Error",
                                        dir.file("empty.vmf") + ":1:1: the file is empty", kHeaderStatements}));
}

TEST(vmod_ModelParse, NumbersBeyondTheRangeOfADoubleRoundToTheNearest) {
    const std::string manyZeros(400, '0');
    struct Number {
        std::string text;
        double value;
    };
    const std::vector<Number> numbers = {
        {"0." + manyZeros + "1", 0.0},
        {"0." + std::string(315, '0') + "1", 1e-316}, // subnormal
        {"1e-400", 0.0},
        {"2.5e-320", 2.5e-320},
        {"1" + manyZeros, HUGE_VAL},
        {"1e400", HUGE_VAL},
    };
    for (const Number &n : numbers) {
        ReportKeeper report;
        ParsedModel model = parseText("PRINTSCALE " + n.text + ";\n", report);
        ASSERT_NE(model, nullptr) << n.text << ": " << report.cause();
        EXPECT_EQ(model->printScale, n.value) << n.text;
    }
}
