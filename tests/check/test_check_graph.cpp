// test_check_graph.cpp - the validator's graph checks.
#include "check_support.h"
#include "vmodkit/vmodkit_checks.h"

using namespace checktest;

namespace {

// A node block: kind, identifier, title, the kind's statements, one CHILD per arrow.
std::string Block(const std::string &kind, int id, const std::string &title, const std::string &body,
                  const std::vector<int> &children = {}) {
    std::string text = kind + " {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tPOSITION " +
                       std::to_string(id * 2) + ", 1;\n" + body;
    for (int child : children) text += "\tCHILD " + std::to_string(child) + ";\n";
    return text + "}\n";
}

const char *kInput = "\tFILENAME \"/data/in.img\";\n";
const char *kTemp = "\tTEMPFILE;\n";
const char *kNew = "\tNEWFILE;\n\tFILENAME \"/data/out.img\";\n";

std::string Function(int id, const std::string &value, const std::vector<int> &children) {
    return Block("FUNCTION", id, "f" + std::to_string(id), "\tVALUE \"" + value + "\";\n", children);
}

// The 1-based line of the n-th (from 0) line of text holding needle.
int32_t LineOf(const std::string &text, const std::string &needle, int nth = 0) {
    int32_t line = 1;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (text.compare(start, end - start, needle, 0, needle.size()) == 0 ||
            text.substr(start, end - start).find(needle) != std::string::npos) {
            if (nth-- == 0) return line;
        }
        start = end + 1;
        ++line;
    }
    return 0;
}

std::vector<int32_t> NodesOf(const Vmodcheck_Problem *problem) {
    return problem == nullptr ? std::vector<int32_t>{} : std::vector<int32_t>(problem->nodes, problem->nodes + problem->nodeCount);
}

size_t CountCode(const Vmodcheck_Report &report, const std::string &code) {
    const auto codes = Codes(report);
    return static_cast<size_t>(std::count(codes.begin(), codes.end(), code));
}

// Whether the script generator refuses the model.
bool ScriptRefuses(Vmod_Model *model) {
    Vmodkit_Texts refusals{};
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(vmodkit_ScriptRefusals(model, &refusals, &err), 1);
    const bool refused = refusals.count > 0;
    vmodkit_FreeTexts(&refusals);
    return refused;
}

// Adds an arrow the model file cannot hold (a function's second), as a program may.
void AddArrow(FileModel &file, int32_t from, int32_t to) {
    Oerr_ErrorReport *err = nullptr;
    Vmod_Node *node = vmod_NodeFind(file.model()->nodes, from, &err);
    ASSERT_NE(node, nullptr);
    ASSERT_NE(vmod_ChildAdd(node, to, &err), nullptr);
    vmod_UpdateNodes(file.model(), &err);
    ASSERT_EQ(err, nullptr);
}

} // namespace

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

// A chain in -> f -> temp -> g -> out, clean; the tests below break one thing each.
TEST(CheckGraph, AChainThroughATemporaryRasterHasNoGraphProblem) {
    FileModel file(std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2}) + Function(2, "$a + 1", {3}) +
                   Block("RASTER", 3, "t", kTemp, {4}) + Function(4, "$t * 2", {5}) + Block("RASTER", 5, "b", kNew));
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    for (const char *code : {"G001", "G002", "G003", "G004", "G005", "G006", "G007", "G008"})
        EXPECT_FALSE(HasCode(*report, code)) << code;
    EXPECT_EQ(report->errors, 0u);
}

TEST(CheckGraph, ACycleIsOneErrorWithTheWholePath) {
    // 1 -> 2 -> 3 -> 4 -> 1, entered from 5; every arrow of the model is drawn in a file.
    const std::string text = std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2}) + Function(2, "$a", {3}) +
                             Block("RASTER", 3, "b", kNew, {4}) + Function(4, "$b", {1}) +
                             Block("RASTER", 5, "c", kInput, {2});
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "G001"), 1u);
    const Vmodcheck_Problem *cycle = Find(*report, "G001");
    EXPECT_EQ(cycle->severity, VMODCHECK_ERROR);
    EXPECT_STREQ(cycle->message, "arrows form a cycle: raster node 1 \"a\" -> function node 2 \"f2\" -> raster node 3 "
                                 "\"b\" -> function node 4 \"f4\" -> raster node 1 \"a\"");
    EXPECT_EQ(NodesOf(cycle), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(cycle->line, LineOf(text, "CHILD 2"));
    EXPECT_TRUE(ScriptRefuses(file.model()));
}

TEST(CheckGraph, TwoSeparateCyclesAreTwoErrorsAndASelfArrowIsACycle) {
    FileModel file(std::string(kHeader) + Block("RASTER", 1, "a", kNew, {2}) + Function(2, "$a", {1}) +
                   Block("RASTER", 3, "b", kNew, {4}) + Function(4, "$b", {3}) + Block("RASTER", 5, "c", kInput, {5}));
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    EXPECT_EQ(CountCode(*report, "G001"), 3u);
    bool self = false;
    for (size_t i = 0; i < report->count; ++i)
        self = self || std::string(report->problems[i].message) ==
                           "arrows form a cycle: raster node 5 \"c\" -> raster node 5 \"c\"";
    EXPECT_TRUE(self);
}

TEST(CheckGraph, ADiamondIsNoCycle) {
    // Two paths from a to the same function, and two functions reading one raster.
    FileModel file(std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2, 4}) + Function(2, "$a", {3}) +
                   Block("RASTER", 3, "b", kTemp, {6}) + Function(4, "$a", {5}) + Block("RASTER", 5, "c", kTemp, {6}) +
                   Function(6, "$b + $c", {7}) + Block("RASTER", 7, "d", kNew));
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    EXPECT_FALSE(HasCode(*report, "G001"));
    EXPECT_FALSE(HasCode(*report, "G006"));
}

TEST(CheckGraph, ALongChainIsCheckedWithoutDeepRecursion) {
    // 100,000 nodes in one chain closed into a cycle: a recursive search would overflow.
    std::string text = kHeader;
    const int count = 100000;
    for (int id = 1; id <= count; id += 2) {
        text += Block("RASTER", id, "r" + std::to_string(id), kTemp, {id + 1});
        text += Function(id + 1, "$r" + std::to_string(id), {id + 2 > count ? 1 : id + 2});
    }
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "G001"), 1u);
    EXPECT_EQ(Find(*report, "G001")->nodeCount, static_cast<size_t>(count));
}

TEST(CheckGraph, AnOutputNamingNoNodeIsAnErrorAndAnyOtherArrowAWarning) {
    const std::string refused = std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2}) + Function(2, "$a", {9});
    FileModel outputMissing(refused);
    ASSERT_TRUE(outputMissing.read());
    Report report = outputMissing.validate();
    const Vmodcheck_Problem *problem = Find(*report, "G002");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_EQ(NodesOf(problem), std::vector<int32_t>{2});
    EXPECT_EQ(problem->line, LineOf(refused, "CHILD 9"));
    EXPECT_FALSE(HasCode(*report, "G003"));
    EXPECT_FALSE(HasCode(*report, "G004"));  // it has an arrow; the arrow is what is wrong
    EXPECT_TRUE(ScriptRefuses(outputMissing.model()));

    // The same arrow from a raster, and as a function's second arrow: the script runs.
    const std::string accepted = std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2, 9}) +
                                 Function(2, "$a", {3}) + Block("RASTER", 3, "b", kNew);
    FileModel otherMissing(accepted);
    ASSERT_TRUE(otherMissing.read());
    AddArrow(otherMissing, 2, 8);
    Report other = otherMissing.validate();
    EXPECT_FALSE(HasCode(*other, "G002"));
    EXPECT_EQ(CountCode(*other, "G003"), 2u);
    EXPECT_EQ(Find(*other, "G003")->severity, VMODCHECK_WARNING);
    EXPECT_EQ(other->errors, 0u);
    EXPECT_FALSE(ScriptRefuses(otherMissing.model()));
}

TEST(CheckGraph, AnOperationWithoutAnOutputIsAnError) {
    FileModel file(std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2}) + Function(2, "$a", {}));
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    const Vmodcheck_Problem *problem = Find(*report, "G004");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(NodesOf(problem), std::vector<int32_t>{2});
    EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
    EXPECT_FALSE(HasCode(*report, "G007"));  // the error says it already
}

TEST(CheckGraph, AnOutputThatHoldsNoDataIsAnError) {
    FileModel file(std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2}) + Function(2, "$a", {3}) +
                   Function(3, "$a", {4}) + Block("RASTER", 4, "b", kNew));
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    const Vmodcheck_Problem *problem = Find(*report, "G005");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(NodesOf(problem), (std::vector<int32_t>{2, 3}));
    EXPECT_TRUE(ScriptRefuses(file.model()));
}

TEST(CheckGraph, DataReadButNeverMadeIsAnError) {
    struct Case {
        const char *name;
        std::string block;
    };
    const std::vector<Case> unfilled = {
        {"temporary raster", Block("RASTER", 1, "a", kTemp, {2})},
        {"new raster", Block("RASTER", 1, "a", kNew, {2})},
        {"output matrix", Block("MATRIX", 1, "a", "\tSIZE 3, 3;\n\tDATATYPE FLOAT;\n\tOUTPUT;\n", {2})},
        {"output table", Block("TABLE", 1, "a", "\tSIZE 4;\n\tDATATYPE DOUBLE;\n\tOUTPUT;\n", {2})},
    };
    for (const Case &c : unfilled) {
        FileModel file(std::string(kHeader) + c.block + Function(2, "$a", {3}) + Block("RASTER", 3, "b", kNew));
        ASSERT_TRUE(file.read()) << c.name;
        Report report = file.validate();
        const Vmodcheck_Problem *problem = Find(*report, "G006");
        ASSERT_NE(problem, nullptr) << c.name;
        EXPECT_EQ(problem->severity, VMODCHECK_ERROR);
        EXPECT_EQ(NodesOf(problem), (std::vector<int32_t>{1, 2})) << c.name;
        EXPECT_EQ(problem->line, 12) << c.name;  // the block, right after the header
    }
    const std::vector<Case> filled = {
        {"input raster", Block("RASTER", 1, "a", kInput, {2})},
        {"prompted raster", Block("RASTER", 1, "a", "\tPROMPT;\n", {2})},
        {"typed matrix", Block("MATRIX", 1, "a", "\tSIZE 1, 1;\n\tDATATYPE FLOAT;\n\tVALUE 1;\n", {2})},
        {"kernel", Block("MATRIX", 1, "a", "\tSIZE 3, 3;\n\tDATATYPE FLOAT;\n\tBUILTIN\tLOWPASS;\n", {2})},
        {"read table", Block("TABLE", 1, "a", "\tSIZE 4;\n\tDATATYPE DOUBLE;\n\tREAD \"/data/t.txt\";\n", {2})},
        {"scalar", Block("SCALAR", 1, "a", "\tDATATYPE FLOAT;\n\tVALUE 2;\n", {2})},
        {"vector", Block("VECTOR", 1, "a", "\tVECTORTYPE ANNOTATION;\n\tFILENAME \"/data/v\";\n", {2})},
    };
    for (const Case &c : filled) {
        FileModel file(std::string(kHeader) + c.block + Function(2, "$a", {3}) + Block("RASTER", 3, "b", kNew));
        ASSERT_TRUE(file.read()) << c.name;
        EXPECT_FALSE(HasCode(*file.validate(), "G006")) << c.name;
    }
}

TEST(CheckGraph, DataMadeByAnOperationOrReadByNoneIsFilledEnough) {
    // A temporary raster made by an operation listed after its reader.
    FileModel made(std::string(kHeader) + Block("RASTER", 1, "t", kTemp, {2}) + Function(2, "$t", {3}) +
                   Block("RASTER", 3, "b", kNew) + Block("RASTER", 4, "a", kInput, {5}) + Function(5, "$a", {1}));
    ASSERT_TRUE(made.read());
    EXPECT_FALSE(HasCode(*made.validate(), "G006"));
    // An operation's second arrow into the raster makes nothing.
    FileModel second(std::string(kHeader) + Block("RASTER", 1, "t", kTemp, {2}) + Function(2, "$t", {3}) +
                     Block("RASTER", 3, "b", kNew) + Block("RASTER", 4, "a", kInput, {5}) +
                     Function(5, "$a", {6}) + Block("RASTER", 6, "c", kNew));
    ASSERT_TRUE(second.read());
    AddArrow(second, 5, 1);
    EXPECT_TRUE(HasCode(*second.validate(), "G006"));
    // A new raster nobody reads is simply an output nobody wrote.
    FileModel unread(std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2}) + Function(2, "$a", {3}) +
                     Block("RASTER", 3, "b", kNew) + Block("RASTER", 4, "c", kNew));
    ASSERT_TRUE(unread.read());
    EXPECT_FALSE(HasCode(*unread.validate(), "G006"));
}

TEST(CheckGraph, ANodeWithoutArrowsIsInformationAndANoteIsNot) {
    const std::string text = std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2}) + Function(2, "$a", {3}) +
                             Block("RASTER", 3, "b", kNew) + Block("SCALAR", 4, "k", "\tVALUE 3;\n") +
                             Block("TEXT", 5, "a note", "\tFONT \"Helvetica\";\n\tSIZE 10;\n");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "G007"), 1u);
    const Vmodcheck_Problem *problem = Find(*report, "G007");
    EXPECT_EQ(problem->severity, VMODCHECK_INFO);
    EXPECT_EQ(NodesOf(problem), std::vector<int32_t>{4});
    EXPECT_EQ(problem->line, LineOf(text, "SCALAR {"));
}

TEST(CheckGraph, ArrowsTheScriptIgnoresAreWarnings) {
    // A raster into a raster, and a second output of a function.
    FileModel file(std::string(kHeader) + Block("RASTER", 1, "a", kInput, {2, 4}) + Function(2, "$a", {3}) +
                   Block("RASTER", 3, "b", kNew) + Block("RASTER", 4, "c", kNew));
    ASSERT_TRUE(file.read());
    AddArrow(file, 2, 4);
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "G008"), 2u);
    EXPECT_EQ(Find(*report, "G008")->severity, VMODCHECK_WARNING);
    EXPECT_EQ(NodesOf(Find(*report, "G008")), (std::vector<int32_t>{1, 4}));
    EXPECT_EQ(report->errors, 0u);
}

TEST(CheckGraph, AModelWithoutNodesIsAWarningOnly) {
    FileModel empty(kHeader);
    ASSERT_TRUE(empty.read());
    Report report = empty.validate();
    EXPECT_TRUE(HasCode(*report, "G009"));
    EXPECT_EQ(report->errors, 0u);
    EXPECT_EQ(report->warnings, 1u);
}
