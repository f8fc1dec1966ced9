// Tests of what the `vmod` tool says, run as a program: usage errors that do not blame the
// model, --version, warnings for --pref and left-over --answer values, the terminal prompt
// of `script`, titles shown escaped by `check`, and models whose positions or sizes no
// output can represent.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "support/reader_support.h"
#include "support/scratch_dir.h"
#include "support/tool_run.h"

namespace {

using vmodtest::ToolRun;

const std::string kTool = std::string(VMOD_BINARY_DIR) + "/tools/vmod";

ToolRun vmod(const std::vector<std::string> &args) { return vmodtest::RunVmod(args); }

bool has(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

const std::string kExample = std::string(VMOD_SOURCE_DIR) + "/examples/ndvi.vmf";
const std::string kPrompts = std::string(VMOD_SOURCE_DIR) + "/examples/everything.vmf";

} // namespace

TEST(vmod_tool, UsageErrorsNameTheOptionAndNotTheModel) {
    vmodtest::ScratchDir dir;
    struct Usage {
        std::vector<std::string> args;
        std::string option;
    };
    const std::vector<Usage> usages = {
        {{"render", kExample, dir.file("o.png"), "--zoom", "0"}, "--zoom takes a number from 0.01 to 100"},
        {{"render", kExample, dir.file("o.png"), "--zoom=1000"}, "--zoom takes a number from 0.01 to 100"},
        {{"render", kExample, dir.file("o.png"), "--zoom", "nan"}, "--zoom"},
        {{"render", kExample, dir.file("o.png"), "--zoom", "0x10"}, "--zoom"},
        {{"render", kExample, dir.file("o.png"), "--ppi", "0"}, "--ppi takes a whole number from 1 to 2400"},
        {{"print", kExample, dir.file("o.pdf"), "--pages", "3-1"}, "--pages takes FIRST-LAST"},
        {{"print", kExample, dir.file("o.pdf"), "--pages", "x"}, "--pages takes FIRST-LAST"},
        {{"ps", kExample, dir.file("o.ps"), "--pages=0"}, "--pages takes FIRST-LAST"},
        {{"print", kExample, dir.file("o.pdf"), "--dpi", "5"}, "--dpi takes a resolution from 10 to 4800"},
    };
    for (const Usage &usage : usages) {
        ToolRun run = vmod(usage.args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(has(run.err, usage.option)) << run.err;
        EXPECT_FALSE(has(run.err, kExample + ":")) << run.err; // the model is not to blame
    }
    EXPECT_TRUE(dir.entries().empty());
}

TEST(vmod_tool, VersionComesFromTheProject) {
    ToolRun run = vmod({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("vmod [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << run.out;
    EXPECT_TRUE(has(vmod({"--help"}).out, "--version"));
}

TEST(vmod_tool, VersionWorksAfterTheCommandAsHelpSays) {
    const ToolRun before = vmod({"--version"});
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"check", kExample, "--version"}, {"check", "--version"}, {"resave", "--version", kExample}}) {
        ToolRun run = vmod(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, before.out);
        EXPECT_EQ(run.err, "");
    }
    EXPECT_TRUE(has(vmod({"check", "--help"}).out, "Global options, before or after the command"));
}

TEST(vmod_tool, PreferencesTheLibraryDoesNotReadAreWarnedAbout) {
    struct Preference {
        std::string setting;
        std::string warning; // "" when none is expected
    };
    const std::vector<Preference> preferences = {
        {"stats_optoin=Ignore specified value",
         "vmod: warning: --pref stats_optoin: no such preference of category \"modeler\"; known: "
         "athematic_interpolation, athematic_switch, backup_font, stats_ignore_value, stats_option, "
         "thematic_interpolation\n"},
        {"thematic_interpolation=bilinear",
         "vmod: warning: --pref thematic_interpolation does not know 'bilinear'; its values are \"Nearest "
         "Neighbor\", \"Bilinear Interpolation\", \"Cubic Convolution\"\n"},
        {"stats_ignore_value=none", "vmod: warning: --pref stats_ignore_value takes a number, not 'none'\n"},
        {"athematic_switch=8 bit unsigned integer", ""},
        {"stats_ignore_value=-1.5", ""},
        {"stats_ignore_value=inf", "vmod: warning: --pref stats_ignore_value takes a number, not 'inf'\n"},
        {"stats_ignore_value=1e400", "vmod: warning: --pref stats_ignore_value takes a number, not '1e400'\n"},
        {"stats_ignore_value=", "vmod: warning: --pref stats_ignore_value takes a number, not ''\n"},
        {"stats_ignore_value=0x10", ""},
        {"backup_font=courier", ""},
    };
    for (const Preference &preference : preferences) {
        ToolRun run = vmod({"--pref", preference.setting, "check", "--no-files", kExample});
        EXPECT_EQ(run.status, 0) << preference.setting;
        EXPECT_EQ(run.err, preference.warning) << preference.setting;
    }
}

// Whatever --pref lets pass without a warning is the number the library then uses, and
// what it warns about leaves the default in place.
TEST(vmod_tool, IgnoreValueWarningAgreesWithTheNumberWritten) {
    vmodtest::ScratchDir dir;
    const std::string path = dir.file("raster.vmf");
    writeFile(path, "TITLE t;\nRASTER { ID 1; TITLE r; }\n");
    struct Setting {
        std::string value;
        std::string written;
        bool warned;
    };
    for (const Setting &setting : std::vector<Setting>{{"0x10", "16", false},
                                                       {"0x1p3", "8", false},
                                                       {" 2.5", "2.5", false},
                                                       {"nan", "0", true},
                                                       {"16 px", "0", true}}) {
        ToolRun run = vmod({"--pref", "stats_option=Ignore specified value", "--pref",
                            "stats_ignore_value=" + setting.value, "resave", path, dir.file("out.vmf")});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(has(run.err, "warning"), setting.warned) << setting.value << ": " << run.err;
        EXPECT_TRUE(has(readFile(dir.file("out.vmf")), "\tIGNORE " + setting.written + ";\n")) << setting.value;
    }
}

TEST(vmod_script, AnswersLeftOverAfterTheLastPromptAreWarnedAbout) {
    ToolRun exact = vmod({"script", kPrompts, "--answer", "a.img", "--answer", "b.img", "--answer", "c.txt"});
    EXPECT_EQ(exact.status, 0);
    EXPECT_EQ(exact.err, "");
    ToolRun more = vmod({"script", kPrompts, "--answer", "a.img", "--answer", "b.img", "--answer", "c.txt",
                         "--answer", "d.img", "--answer", "e\x1b.img"});
    EXPECT_EQ(more.status, 0);
    EXPECT_EQ(more.out, exact.out);
    EXPECT_EQ(more.err, "vmod script: warning: the model asked 3 questions; 2 --answer values were left over: "
                        "'d.img', 'e\\x1B.img'\n");
}

TEST(vmod_script, TerminalPromptShowsTheNodesPromptText) {
    vmodtest::ScratchDir dir;
    writeFile(dir.file("m.vmf"), "TITLE t;\nRASTER { ID 1; TITLE \"dem\"; PROMPT \"Elevation of the study area\"; "
                                 "CHILD 2; }\nFUNCTION { ID 2; TITLE \"GLOBAL MEAN \"; CHILD 3; }\n"
                                 "SCALAR { ID 3; TITLE \"mean\"; }\n");
    int master = -1;
    pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        int out = open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, STDOUT_FILENO);
        execl(kTool.c_str(), kTool.c_str(), "script", dir.file("m.vmf").c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    // An empty line cancels the prompt; the terminal keeps it until the tool reads.
    ASSERT_EQ(write(master, "\n", 1), 1);
    std::string terminal;
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 10000) <= 0)
            break;
        char buffer[4096];
        ssize_t got = read(master, buffer, sizeof buffer);
        if (got <= 0)
            break;
        terminal.append(buffer, static_cast<size_t>(got));
    }
    int raw = 0;
    waitpid(child, &raw, 0);
    close(master);
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 3) << terminal;
    EXPECT_TRUE(has(terminal, "Elevation of the study area\r\nSelect Existing File for Raster:   dem")) << terminal;
}

TEST(vmod_check, ControlCharactersInTitlesAreShownEscaped) {
    vmodtest::ScratchDir dir;
    writeFile(dir.file("m.vmf"), "TITLE \"red\x1b[31m\";\nRASTER { ID 1; TITLE \"a\tb\x07\"; CHILD 2; }\n"
                                 "FUNCTION { ID 2; TITLE \"line\nbreak\xc2\x9b\xff\"; }\n");
    ToolRun run = vmod({"check", dir.file("m.vmf")});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_TRUE(has(run.out, "title: red\\x1B[31m\n")) << run.out;
    EXPECT_TRUE(has(run.out, "function node 2 \"line\\nbreak\\u009B\\xFF\"")) << run.out;
    for (char c : run.out)
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << static_cast<int>(static_cast<unsigned char>(c));
}

TEST(vmod_tool, OutputsRefusePositionsAndSizesNoOutputCanRepresent) {
    vmodtest::ScratchDir dir;
    struct Model {
        std::string header, position, problem;
    };
    const std::vector<Model> models = {
        {"", "4e300, 1", "raster node 7 \"far\" has position (4e+300, 1), which no output can represent"},
        {"", "inf, 1", "raster node 7 \"far\" has position (inf, 1)"},
        {"", "1, nan", "raster node 7 \"far\" has position (1, nan)"},
        {"", "-10000.5, 1", "raster node 7 \"far\" has position (-10000.5, 1)"},
        {"PAGESIZE 1e300, 11;\n", "1, 1", "the page size (1e+300, 11) inches cannot be represented"},
        {"PRINTERPAGESIZE inf, 11;\n", "1, 1", "the printer page size (inf, 11) inches cannot be represented"},
        {"MARGINS 0.5, nan, 0.5, 0.5;\n", "1, 1", "the margin nan inches cannot be represented"},
    };
    const std::string limit = "; positions and sizes must be finite and within 10000 inches\n";
    for (const Model &m : models) {
        writeFile(dir.file("m.vmf"), "TITLE t;\n" + m.header + "RASTER { ID 7; TITLE \"far\"; POSITION " + m.position +
                                         "; }\nTEXT { ID 8; TITLE \"note\"; POSITION 2, 2; }\n");
        for (const char *command : {"eps", "ps", "print", "render", "anno"}) {
            ToolRun run = vmod({command, dir.file("m.vmf"), dir.file("out")});
            EXPECT_EQ(run.status, 1) << command << " " << m.position;
            if (std::string(command) == "print" || std::string(command) == "render")
                if (has(run.err, "without Cairo")) continue;
            EXPECT_TRUE(has(run.err, std::string("vmod ") + command + ": " + dir.file("m.vmf") + ": " + m.problem))
                << run.err;
            EXPECT_TRUE(has(run.err, limit)) << run.err;
            EXPECT_EQ(dir.entries().count("out"), 0u) << command;
        }
    }
    // The largest position the outputs hold is still drawn.
    writeFile(dir.file("m.vmf"), "TITLE t;\nRASTER { ID 7; TITLE \"far\"; POSITION -10000, 1; }\n");
    EXPECT_EQ(vmod({"eps", dir.file("m.vmf"), dir.file("out.eps")}).status, 0);
}

TEST(vmod_tool, PagedPrintsRefuseAPrintScaleNoPageCanShow) {
    vmodtest::ScratchDir dir;
    for (const char *scale : {"1e-40", "1e-10", "0", "-50", "inf", "nan", "2e6"}) {
        writeFile(dir.file("m.vmf"), std::string("PRINTSCALE ") + scale + ";\nRASTER { ID 7; TITLE \"a\"; POSITION 1, 1; }\n");
        for (const char *command : {"ps", "print"}) {
            ToolRun run = vmod({command, dir.file("m.vmf"), dir.file("out")});
            EXPECT_EQ(run.status, 1) << command << " " << scale;
            if (std::string(command) == "print" && has(run.err, "without Cairo")) continue;
            EXPECT_TRUE(has(run.err, std::string("vmod ") + command + ": " + dir.file("m.vmf") + ": the print scale "))
                << run.err;
            EXPECT_TRUE(has(run.err, "it must be within 0.01 and 1e+06 percent\n")) << run.err;
            EXPECT_EQ(dir.entries().count("out"), 0u) << command << " " << scale;
        }
        // A picture does not use the print scale.
        EXPECT_EQ(vmod({"eps", dir.file("m.vmf"), dir.file("out.eps")}).status, 0) << scale;
    }
    // The bounds themselves print.
    for (const char *scale : {"0.01", "1e6"}) {
        writeFile(dir.file("m.vmf"), std::string("PRINTSCALE ") + scale + ";\nRASTER { ID 7; TITLE \"a\"; POSITION 0, 0; }\n");
        EXPECT_EQ(vmod({"ps", dir.file("m.vmf"), dir.file("out.ps"), "--pages", "1"}).status, 0) << scale;
    }
}

TEST(vmod_tool, PageSizeAndGridMessagesSayTheirUnitsAndNumbers) {
    vmodtest::ScratchDir dir;
    writeFile(dir.file("m.vmf"), "PAGESIZE 25500, 1 CENTIMETERS;\nRASTER { ID 7; TITLE \"a\"; POSITION 1, 1; }\n");
    ToolRun run = vmod({"ps", dir.file("m.vmf"), dir.file("out.ps")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(has(run.err, "the page size (25500, 1) centimetres cannot be represented")) << run.err;
    // One column widened to two: "1 page across".
    writeFile(dir.file("m.vmf"), "PAGESIZE 7.5, 10 INCHES;\nPRINTERPAGESIZE 8.5, 11;\nMARGINS 0.5, 0.5, 0.5, 0.5;\n"
                                 "RASTER { ID 7; TITLE \"a\"; POSITION 9, 1; }\n");
    run = vmod({"ps", dir.file("m.vmf"), dir.file("out.ps")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(has(run.err, "the model's page grid of 1 page across and 1 down leaves part of the diagram off; "
                             "printing 2 across and 1 down, to cover every node and note"))
        << run.err;
}
