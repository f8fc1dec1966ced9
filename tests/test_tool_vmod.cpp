// Tests of the `vmod` command-line tool, run as a program: exit statuses, usage hints,
// `check` summaries and readiness reasons, `resave`, and global --pref.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/reader_support.h"
#include "support/scratch_dir.h"
#include "support/tool_run.h"

namespace {

using vmodtest::ToolRun;

ToolRun vmod(const std::vector<std::string> &args) { return vmodtest::RunVmod(args); }

std::string example(const char *name) { return std::string(VMOD_SOURCE_DIR) + "/examples/" + name; }

int lineCount(const std::string &text) {
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

} // namespace

TEST(vmod_tool, HelpForTheToolAndEveryCommand) {
    ToolRun tool = vmod({"--help"});
    EXPECT_EQ(tool.status, 0);
    EXPECT_NE(tool.out.find("check"), std::string::npos);
    EXPECT_NE(tool.out.find("resave"), std::string::npos);
    EXPECT_NE(tool.out.find("--pref KEY=VALUE"), std::string::npos);
    for (const char *command : {"check", "resave"}) {
        ToolRun help = vmod({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("usage: vmod ") + command, 0), 0u) << help.out;
        ToolRun before = vmod({"--help", command});
        EXPECT_EQ(before.out, help.out);
    }
}

TEST(vmod_tool, UsageErrorsExitTwoWithAOneLineHint) {
    for (auto run : {vmod({}), vmod({"frobnicate"}), vmod({"check"}), vmod({"check", "a", "b"}),
                     vmod({"check", "--bogus", "a"}), vmod({"resave", "a"}), vmod({"--pref"}),
                     vmod({"--pref", "novalue", "check", "a"}), vmod({"--bogus"})}) {
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(vmod_check, ReadyModelPrintsItsSummaryAndExitsZero) {
    ToolRun run = vmod({"check", "--no-files", example("suitability.vmf")});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string at = example("suitability.vmf") + ":";
    EXPECT_EQ(run.out, "model: " + example("suitability.vmf") +
                           "\ntitle: Site suitability\n"
                           "nodes: 8 (raster 3, vector 0, matrix 0, table 1, scalar 1, function 1, criteria 1, text 1)\n"
                           "operations:\n"
                           "  1. criteria node 4 \"n4_score\"\n"
                           "  2. function node 6 \"HISTOGRAM\"\n"
                           "information (3):\n"
                           "  L004: `vmod print` writes 1 page (a grid of 1 across and 1 down)\n"
                           "  " + at + "17:2: P001: raster node 1 \"n1_slope\" asks for a file: \"Select Existing File for "
                           "Raster:   n1_slope\" (prompt 1)\n"
                           "      fix: `vmod script` takes the 1st --answer for it\n"
                           "  " + at + "68:2: P001: raster node 5 \"n5_suitability\" asks for a file: \"Enter New File "
                           "for Raster:   n5_suitability\" (prompt 2)\n"
                           "      fix: `vmod script` takes the 2nd --answer for it\n"
                           "prompts, in the order --answer takes them:\n"
                           "  1. node 1: Select Existing File for Raster:   n1_slope\n"
                           "  2. node 5: Enter New File for Raster:   n5_suitability\n"
                           "pages: 1\n"
                           "ready to run\n");
    EXPECT_EQ(run.err, "");
}

TEST(vmod_check, EveryProblemIsListedWithItsCodeAndExitIsThree) {
    vmodtest::ScratchDir dir;
    std::string path = dir.file("not_ready.vmf");
    writeFile(path, "TITLE t;\nRASTER { ID 1; CHILD 5; }\nFUNCTION { ID 2; TITLE f; }\n"
                    "SCALAR { ID 3; TITLE a; CHILD 4; }\nFUNCTION { ID 4; TITLE g; CHILD 3; }\nTEXT { ID 6; }\n");
    ToolRun run = vmod({"check", "--no-files", path});
    EXPECT_EQ(run.status, 3) << run.err;
    // The untitled raster, the function without output and the cycle are errors; the
    // raster's arrow to no node is only a warning, since the script ignores it.
    const size_t errors = run.out.find("\nerrors (");
    const size_t warnings = run.out.find("\nwarnings (");
    ASSERT_NE(errors, std::string::npos) << run.out;
    ASSERT_NE(warnings, std::string::npos) << run.out;
    for (const char *code : {":2:1: N001: ", ": G004: ", ": G001: "}) {
        const size_t at = run.out.find(code);
        EXPECT_TRUE(at > errors && at < warnings) << code << "\n" << run.out;
    }
    EXPECT_GT(run.out.find(":2:16: G003: "), warnings) << run.out;
    EXPECT_NE(run.out.find("scalar node 3 \"a\" -> function node 4 \"g\" -> scalar node 3 \"a\""), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1, 18), "not ready to run: ") << run.out;
}

// Models the graph walk accepts but the script generator refuses are not ready either.
TEST(vmod_check, WhatTheScriptGeneratorRefusesIsNotReady) {
    vmodtest::ScratchDir dir;
    const std::pair<const char *, const char *> cases[] = {
        {"shared_id.vmf", "TITLE t;\nRASTER { ID 1; TITLE a; CHILD 2; }\nFUNCTION { ID 2; TITLE f; VALUE \"$a\"; CHILD 3; }\n"
                          "RASTER { ID 3; TITLE b; }\nSCALAR { ID 3; TITLE c; }\n"},
        {"empty_criteria.vmf", "TITLE t;\nRASTER { ID 1; TITLE a; CHILD 2; }\nCRITERIA { ID 2; TITLE k; CHILD 3; }\n"
                               "RASTER { ID 3; TITLE b; }\n"},
    };
    for (const auto &[name, text] : cases) {
        std::string path = dir.file(name);
        writeFile(path, text);
        ToolRun run = vmod({"check", "--no-files", path});
        EXPECT_EQ(run.status, 3) << name << "\n" << run.out;
        EXPECT_NE(run.out.find("\nerrors ("), std::string::npos) << name << "\n" << run.out;
        EXPECT_EQ(run.out.find("\nready to run\n"), std::string::npos) << name;
        // The same model is refused by the script command.
        EXPECT_EQ(vmod({"script", path, "-o", dir.file("out.txt")}).status, 1) << name;
    }
}

// The script of a model without nodes is written, so the check only warns; --strict
// counts the warning.
TEST(vmod_check, ModelWithoutNodesIsOnlyAWarning) {
    vmodtest::ScratchDir dir;
    std::string path = dir.file("empty.vmf");
    writeFile(path, "TITLE \"nothing yet\";\n");
    ToolRun run = vmod({"check", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("nodes: 0 (raster 0,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("operations: (none)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  G009: the model has no nodes"), std::string::npos) << run.out;
    EXPECT_EQ(vmod({"check", "--strict", path}).status, 3);
    EXPECT_EQ(vmod({"script", path, "-o", dir.file("out.txt")}).status, 0);
}

TEST(vmod_check, UnreadableModelPrintsTheReportChainAndExitsOne) {
    vmodtest::ScratchDir dir;
    std::string path = dir.file("broken.vmf");
    writeFile(path, "TITLE t;\nRASTER { TITLE foo bar; }\n");
    ToolRun run = vmod({"check", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Error Parsing Model: " + path + "\nGraphical Model Parse Error\n" + path +
                           ":2:20: unexpected NAME \"bar\", expected ';'\n");
}

TEST(vmod_resave, WritesTheModelAgain) {
    vmodtest::ScratchDir dir;
    for (const char *name : {"suitability.vmf", "ndvi.vmf"}) {
        std::string out = dir.file(name);
        ToolRun run = vmod({"resave", example(name), out});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readFile(out), readFile(example(name))) << name;
    }
}

TEST(vmod_resave, FailuresExitOneWithTheReport) {
    vmodtest::ScratchDir dir;
    ToolRun missing = vmod({"resave", dir.file("none.vmf"), dir.file("out.vmf")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Error Parsing Model"), std::string::npos);
    ToolRun unwritable = vmod({"resave", example("ndvi.vmf"), dir.file("no/such/dir/out.vmf")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("Error Cannot Write Model"), std::string::npos) << unwritable.err;
}

TEST(vmod_tool, PreferencesApplyBeforeOrAfterTheCommand) {
    vmodtest::ScratchDir dir;
    std::string path = dir.file("raster.vmf");
    writeFile(path, "TITLE t;\nRASTER { ID 1; TITLE r; }\n");
    ToolRun plain = vmod({"resave", path, dir.file("plain.vmf")});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(readFile(dir.file("plain.vmf")).find("IGNORE"), std::string::npos);
    ToolRun after = vmod({"resave", path, dir.file("after.vmf"), "--pref", "stats_option=Ignore specified value",
                      "--pref=stats_ignore_value=-1"});
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_NE(readFile(dir.file("after.vmf")).find("\tIGNORE -1;\n"), std::string::npos);
    ToolRun before = vmod({"--pref", "stats_option=Ignore specified value", "resave", path, dir.file("before.vmf")});
    ASSERT_EQ(before.status, 0) << before.err;
    EXPECT_NE(readFile(dir.file("before.vmf")).find("\tIGNORE 0;\n"), std::string::npos);
}
