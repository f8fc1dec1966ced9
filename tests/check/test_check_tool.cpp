// test_check_tool.cpp - `vmod check`: its command line, exit statuses, the text it prints
// and the JSON document, run as a user runs the program.
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "check_support.h"
#include "support/tool_run.h"

using namespace checktest;
using vmodtest::RunVmod;
using vmodtest::ToolRun;

namespace {

std::string Mistakes() { return std::string(VMOD_SOURCE_DIR) + "/tests/check/models/analyst_mistakes.vmf"; }

} // namespace

TEST(vmod_check_tool, BadCommandLinesAreUsageErrors) {
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"check"}, {"check", "--bogus", Mistakes()}, {"check", Mistakes(), Mistakes()}}) {
        ToolRun run = RunVmod(args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(vmod_check_tool, AnUnreadableModelExitsOneAndPrintsNoDocument) {
    vmodtest::ScratchDir dir;
    const std::string path = dir.file("broken.vmf");
    writeFile(path, "TITLE t;\nRASTER { TITLE foo bar; }\n");
    for (bool json : {false, true}) {
        ToolRun run = RunVmod(json ? std::vector<std::string>{"check", "--json", path} : std::vector<std::string>{"check", path});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(":2:20:"), std::string::npos) << run.err;
    }
}

// Problems are grouped errors first; each located one reads FILE:LINE:COLUMN: CODE: and
// its fix follows on its own line; the verdict is the last line.
TEST(vmod_check_tool, ProblemsAreGroupedLocatedAndFollowedByTheVerdict) {
    ToolRun run = RunVmod({"check", "--no-files", Mistakes()});
    EXPECT_EQ(run.status, 3) << run.out << run.err;
    const size_t errors = run.out.find("\nerrors (");
    ASSERT_NE(errors, std::string::npos) << run.out;
    const size_t warnings = run.out.find("\nwarnings (");
    if (warnings != std::string::npos) {
        EXPECT_LT(errors, warnings);
    }
    const std::regex located("\n  " + std::regex_replace(Mistakes(), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                             R"(:[0-9]+:[0-9]+: [A-Z][0-9]{3}: [^\n]+\n      fix: [^\n]+\n)");
    EXPECT_TRUE(std::regex_search(run.out, located)) << run.out;
    const size_t verdict = run.out.rfind("not ready to run: ");
    ASSERT_NE(verdict, std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\n', verdict), run.out.size() - 1);
}

TEST(vmod_check_tool, TheBundledExamplesAreReady) {
    for (const char *name : {"everything.vmf", "ndvi.vmf", "suitability.vmf", "crop_revenue/crop_revenue.vmf",
                             "edge_sharpen/edge_sharpen.vmf", "landcover_recode/landcover_recode.vmf",
                             "slope_classes/slope_classes.vmf", "vegetation_index/vegetation_index.vmf"}) {
        ToolRun run = RunVmod({"check", "--no-files", std::string(VMOD_SOURCE_DIR) + "/examples/" + name});
        EXPECT_EQ(run.status, 0) << name << "\n" << run.out;
        EXPECT_EQ(run.out.find("\nerrors ("), std::string::npos) << name << "\n" << run.out;
        EXPECT_EQ(run.out.substr(run.out.size() - 13), "ready to run\n") << run.out;
    }
}

// Every code the validator gives is documented with its one severity, and every
// documented code is used by the validator and tested by name.
TEST(CheckCodes, EveryCodeIsDocumentedUsedAndTested) {
    const std::string root = VMOD_SOURCE_DIR;
    const std::string docs = readFile(root + "/docs/checks.md");
    std::map<std::string, std::string> documented;
    const std::regex heading(R"re(\n### ([A-Z][0-9]{3}) (error|warning|info):)re");
    for (std::sregex_iterator at(docs.begin(), docs.end(), heading), end; at != end; ++at) {
        EXPECT_EQ(documented.count((*at)[1]), 0u) << (*at)[1] << " is documented twice";
        documented[(*at)[1]] = (*at)[2];
    }
    EXPECT_GE(documented.size(), 50u);
    std::string sources, tests;
    for (const auto &entry : std::filesystem::directory_iterator(root + "/validator/src"))
        sources += readFile(entry.path().string());
    for (const auto &entry : std::filesystem::directory_iterator(root + "/tests/check"))
        if (entry.path().extension() == ".cpp") tests += readFile(entry.path().string());
    std::set<std::string> used;
    const std::regex code(R"re("([A-Z][0-9]{3})")re");
    for (std::sregex_iterator at(sources.begin(), sources.end(), code), end; at != end; ++at) used.insert((*at)[1]);
    // Where a check names its severity with the code, it is the documented one.
    const std::regex added(R"re((error|warning|info)\(\s*"([A-Z][0-9]{3})")re");
    for (std::sregex_iterator at(sources.begin(), sources.end(), added), end; at != end; ++at)
        EXPECT_EQ(documented[(*at)[2]], (*at)[1]) << (*at)[2];
    for (const std::string &c : used) EXPECT_EQ(documented.count(c), 1u) << c << " is given but not documented";
    for (const auto &[c, severity] : documented) {
        EXPECT_EQ(used.count(c), 1u) << c << " is documented but never given";
        EXPECT_NE(tests.find("\"" + c + "\""), std::string::npos) << c << " has no test naming it";
    }
}
