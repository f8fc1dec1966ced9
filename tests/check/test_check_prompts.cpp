// test_check_prompts.cpp - the validator's prompts checks: the file prompts of the script
// in the order `vmod script --answer` answers them, and prompts that ask the same thing.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "check_support.h"
#include "vmodhost/ooml.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"

using namespace checktest;

namespace {

// An input raster and a scalar read through prompts feed a function whose output raster
// and a scalar written from it are asked for too.
const std::string kAsking = std::string(kHeader) +
                            "RASTER {\n\tID 1;\n\tTITLE \"dem\";\n\tPOSITION 1, 1;\n\tPROMPT \"The elevation\";\n"
                            "\tCHILD 3;\n}\n"
                            "SCALAR {\n\tID 2;\n\tTITLE \"k\";\n\tPOSITION 3, 1;\n\tREAD;\n\tPROMPT;\n\tCHILD 3;\n}\n"
                            "FUNCTION {\n\tID 3;\n\tTITLE \"f\";\n\tPOSITION 2, 3;\n\tVALUE \"$dem * $k\";\n"
                            "\tCHILD 4;\n}\n"
                            "RASTER {\n\tID 4;\n\tTITLE \"out\";\n\tPOSITION 2, 5;\n\tNEWFILE;\n\tPROMPT;\n"
                            "\tCHILD 5;\n}\n"
                            "FUNCTION {\n\tID 5;\n\tTITLE \"GLOBAL MEAN\";\n\tPOSITION 4, 5;\n"
                            "\tVALUE \"GLOBAL MEAN ( $out )\";\n\tCHILD 6;\n}\n"
                            "SCALAR {\n\tID 6;\n\tTITLE \"mean\";\n\tPOSITION 6, 5;\n\tWRITE;\n\tPROMPT;\n}\n";

// A scalar read through a prompt, titled title, at x, feeding function `to`.
std::string ReadScalar(int id, const std::string &title, double x, int to) {
    return "SCALAR {\n\tID " + std::to_string(id) + ";\n\tTITLE \"" + title + "\";\n\tPOSITION " +
           std::to_string(x) + ", 1;\n\tREAD;\n\tPROMPT;\n\tCHILD " + std::to_string(to) + ";\n}\n";
}

// A function at x reading the raster "out" (id 4 of kAsking) into node `to`.
std::string GlobalMax(int id, double x, int to) {
    return "FUNCTION {\n\tID " + std::to_string(id) + ";\n\tTITLE \"GLOBAL MAX\";\n\tPOSITION " + std::to_string(x) +
           ", 3;\n\tVALUE \"GLOBAL MAX ( $out )\";\n\tCHILD " + std::to_string(to) + ";\n}\n";
}

size_t CountCode(const Vmodcheck_Report &report, const std::string &code) {
    size_t count = 0;
    for (size_t i = 0; i < report.count; ++i) count += code == report.problems[i].code;
    return count;
}

std::vector<const Vmodcheck_Problem *> All(const Vmodcheck_Report &report, const std::string &code) {
    std::vector<const Vmodcheck_Problem *> found;
    for (size_t i = 0; i < report.count; ++i)
        if (code == report.problems[i].code) found.push_back(&report.problems[i]);
    return found;
}

std::vector<int32_t> Nodes(const Vmodcheck_Problem &problem) {
    return std::vector<int32_t>(problem.nodes, problem.nodes + problem.nodeCount);
}

std::string Saved(Vmod_Model *model) {
    size_t length = 0;
    char *text = vmodkit_ModelSaveMemory(model, &length, nullptr);
    std::string saved(text != nullptr ? text : "", length);
    vmodkit_Free(text);
    return saved;
}

// The script `vmod script` writes for the model at path, answering prompt i with "Ai".
std::string ScriptAnswered(const std::string &path, size_t prompts, const vmodtest::ScratchDir &dir) {
    const std::string out = dir.file("script.txt");
    std::string command = "'" VMOD_BINARY_DIR "/tools/vmod' script '" + path + "' -o '" + out + "'";
    for (size_t i = 1; i <= prompts; ++i) command += " --answer A" + std::to_string(i);
    command += " </dev/null >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "";
    std::ifstream in(out, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The line of text that holds what.
std::string LineHolding(const std::string &text, const std::string &what) {
    const size_t at = text.find(what);
    if (at == std::string::npos) return "";
    const size_t start = text.rfind('\n', at) + 1, end = text.find('\n', at);
    return text.substr(start, end - start);
}

struct Recorded {
    size_t asked = 0;
};

int32_t Counting(Ooml_Part *, const char *, void *user, char **answer) {
    ++static_cast<Recorded *>(user)->asked;
    *answer = ostr_Duplicate("mine");
    return 1;
}

} // namespace

TEST(CheckPrompts, ThePromptsComeInTheOrderTheScriptAsksThem) {
    FileModel file(kAsking);
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    ASSERT_EQ(report->promptCount, 4u);
    const std::pair<int32_t, std::string> expected[] = {
        {1, "Select Existing File for Raster:   dem"},
        {4, "Enter New File for Raster:   out"},
        {2, "Select Existing File for Scalar:   k"},
        {6, "Enter New File for Scalar:   mean"},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(report->prompts[i].node, expected[i].first) << i;
        EXPECT_EQ(std::string(report->prompts[i].text), expected[i].second) << i;
    }
}

TEST(CheckPrompts, EachAnswerOfVmodScriptGoesWhereItsPromptSays) {
    // The n-th --answer lands in the statement of the node the n-th prompt names.
    FileModel file(kAsking);
    Report report = file.validate();
    const std::string script = ScriptAnswered(file.path(), report->promptCount, file.dir());
    ASSERT_FALSE(script.empty());
    const char *titles[] = {"dem", "out", "k", "mean"};
    ASSERT_EQ(report->promptCount, 4u);
    for (size_t i = 0; i < 4; ++i) {
        const std::string line = LineHolding(script, "\"A" + std::to_string(i + 1) + "\"");
        const bool named = line.find(std::string(" ") + titles[i] + " ") != std::string::npos ||
                           line.find(std::string("$") + titles[i] + " ") != std::string::npos;
        EXPECT_TRUE(named) << i << ": " << line;
    }
}

TEST(CheckPrompts, EachPromptIsReportedAtItsPromptStatement) {
    FileModel file(kAsking);
    Report report = file.validate();
    const auto prompts = All(*report, "P001");
    ASSERT_EQ(prompts.size(), 4u);
    const Vmodcheck_Problem &first = *prompts[0];
    EXPECT_EQ(first.severity, VMODCHECK_INFO);
    EXPECT_EQ(Nodes(first), std::vector<int32_t>{1});
    EXPECT_EQ(std::string(first.message),
              "raster node 1 \"dem\" asks for a file: \"Select Existing File for Raster:   dem\" (prompt 1)");
    EXPECT_EQ(std::string(first.hint), "`vmod script` takes the 1st --answer for it");
    EXPECT_EQ(first.line, 16); // the raster's PROMPT statement
    EXPECT_EQ(first.column, 2);
    EXPECT_EQ(Nodes(*prompts[2]), std::vector<int32_t>{2});
    EXPECT_EQ(prompts[2]->line, 24);
    EXPECT_EQ(std::string(prompts[3]->hint), "`vmod script` takes the 4th --answer for it");
    EXPECT_FALSE(HasCode(*report, "P002"));
}

TEST(CheckPrompts, ATableAskedForItsLayerIsNamedAtThatStatement) {
    FileModel file(std::string(kHeader) +
                   "TABLE {\n\tID 1;\n\tTITLE \"soils\";\n\tPOSITION 2, 2;\n\tSIZE 0;\n\tDATATYPE DOUBLE;\n"
                   "\tCOVERAGENAME;\n\tPROMPTLAYERFILE \"The soil map\";\n\tLAYERNAME \"polygons\";\n"
                   "\tFIELDNAME \"class\";\n\tCHILD 2;\n}\n"
                   "FUNCTION {\n\tID 2;\n\tTITLE \"f\";\n\tPOSITION 4, 2;\n\tVALUE \"$soils\";\n\tCHILD 3;\n}\n"
                   "TABLE {\n\tID 3;\n\tTITLE \"out\";\n\tPOSITION 6, 2;\n\tSIZE 0;\n\tDATATYPE DOUBLE;\n"
                   "\tOUTPUT;\n\tWRITE;\n\tPROMPT;\n}\n");
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    ASSERT_EQ(report->promptCount, 2u);
    EXPECT_EQ(report->prompts[0].node, 1);
    EXPECT_STREQ(report->prompts[0].text, "Enter Coverage Containing Table:   soils");
    EXPECT_EQ(report->prompts[1].node, 3);
    EXPECT_STREQ(report->prompts[1].text, "Enter New File for Table:   out");
    const auto prompts = All(*report, "P001");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0]->line, 19); // PROMPTLAYERFILE
    EXPECT_EQ(prompts[1]->line, 39); // PROMPT
}

TEST(CheckPrompts, AModelWithFilesNamedAsksNothing) {
    std::string text = kAsking;
    for (size_t at; (at = text.find("\tPROMPT;\n")) != std::string::npos;) text.erase(at, 9);
    text.replace(text.find("\tPROMPT \"The elevation\";\n"), 25, "\tFILENAME \"/data/dem.img\";\n");
    text.replace(text.find("\tREAD;\n"), 7, "\tREAD \"/data/k.txt\";\n");
    text.replace(text.find("\tWRITE;\n"), 8, "\tWRITE \"/data/mean.txt\";\n");
    text.replace(text.find("\tNEWFILE;\n"), 10, "\tFILENAME \"/data/out.img\";\n\tNEWFILE;\n");
    FileModel file(text);
    ASSERT_TRUE(file.read());
    Report report = file.validate();
    EXPECT_EQ(report->promptCount, 0u);
    EXPECT_FALSE(HasCode(*report, "P001"));
}

TEST(CheckPrompts, AModelTheGeneratorRefusesAsksNothing) {
    // The second function has no output: no script is written, so nothing is asked.
    std::string text = kAsking;
    text.replace(text.find("\tCHILD 6;\n"), 10, "");
    FileModel file(text);
    Report report = file.validate();
    EXPECT_EQ(report->promptCount, 0u);
    EXPECT_FALSE(HasCode(*report, "P001"));
}

TEST(CheckPrompts, TwoNodesOfOneTitleAskTheSamePrompt) {
    FileModel file(kAsking + ReadScalar(7, "k", 8, 8) + GlobalMax(8, 8, 9) +
                   "SCALAR {\n\tID 9;\n\tTITLE \"max\";\n\tPOSITION 8, 5;\n}\n");
    Report report = file.validate();
    ASSERT_EQ(CountCode(*report, "P002"), 1u);
    const Vmodcheck_Problem *problem = Find(*report, "P002");
    EXPECT_EQ(problem->severity, VMODCHECK_WARNING);
    EXPECT_EQ(Nodes(*problem), (std::vector<int32_t>{2, 7}));
    EXPECT_EQ(std::string(problem->message),
              "the script asks \"Select Existing File for Scalar:   k\" 2 times, for scalar node 2 \"k\" and scalar "
              "node 7 \"k\", and nothing tells the answers apart");
    // Each prompt goes to its own node, in list order.
    ASSERT_EQ(report->promptCount, 5u);
    EXPECT_EQ(report->prompts[2].node, 2);
    EXPECT_EQ(report->prompts[3].node, 7);
}

TEST(CheckPrompts, OneNodeWrittenTwiceAsksTwice) {
    // "out" feeds a second function that writes "mean" too.
    std::string text = kAsking + GlobalMax(7, 8, 6);
    text.replace(text.find("\tCHILD 5;\n"), 10, "\tCHILD 5;\n\tCHILD 7;\n");
    FileModel file(text);
    Report report = file.validate();
    const Vmodcheck_Problem *problem = Find(*report, "P002");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(Nodes(*problem), std::vector<int32_t>{6});
    EXPECT_EQ(std::string(problem->message),
              "the script asks \"Enter New File for Scalar:   mean\" 2 times, for scalar node 6 \"mean\", and "
              "nothing tells the answers apart");
    EXPECT_EQ(std::string(problem->hint),
              "let one operation write the node, or give its file in the model instead of a prompt");
    EXPECT_EQ(problem->line, 55); // the PROMPT of node 6
}

TEST(CheckPrompts, DifferentTitlesOrDifferentRequestsAreNotTheSame) {
    // Titles "k" and "k2"; and a scalar "mean" read while another "mean" is written.
    FileModel titles(kAsking + ReadScalar(7, "k2", 8, 3));
    Report report = titles.validate();
    EXPECT_EQ(report->promptCount, 5u);
    EXPECT_FALSE(HasCode(*report, "P002")) << Find(*report, "P002")->message;

    FileModel requests(kAsking + ReadScalar(7, "mean", 8, 3));
    report = requests.validate();
    EXPECT_EQ(report->promptCount, 5u);
    EXPECT_FALSE(HasCode(*report, "P002")) << Find(*report, "P002")->message;
}

TEST(CheckPrompts, TheHandlerTheChoosersAndTheModelAreLeftAsTheyWere) {
    FileModel file(kAsking);
    Recorded recorded;
    Ooml_Part *mine = vmodhost_ChooserCreate("scalar");
    ooml_PartTitleSet(mine, "the editor's own");
    file.model()->scalarChooser = mine;
    vmodhost_SetChooserHandler(Counting, &recorded);
    const std::string before = Saved(file.model());

    Report first = file.validate();
    Report second = file.validate(); // the operations are written again: their marks were cleared
    Vmodhost_ChooserHandler handler = nullptr;
    void *user = nullptr;
    vmodhost_GetChooserHandler(&handler, &user);
    vmodhost_SetChooserHandler(nullptr, nullptr);

    EXPECT_EQ(handler, &Counting);
    EXPECT_EQ(user, &recorded);
    EXPECT_EQ(recorded.asked, 0u);
    EXPECT_EQ(file.model()->scalarChooser, mine);
    EXPECT_STREQ(vmodhost_PartTitle(mine), "the editor's own");
    EXPECT_EQ(file.model()->rasterChooser, nullptr);
    EXPECT_EQ(Saved(file.model()), before);
    EXPECT_EQ(first->promptCount, 4u);
    EXPECT_EQ(second->promptCount, 4u);
    file.model()->scalarChooser = nullptr;
    vmodhost_ChooserDelete(mine);
}
