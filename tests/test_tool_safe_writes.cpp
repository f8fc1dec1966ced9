// Every `vmod` command that writes a file saves it the same safe way: whole or not at
// all, through a link to its target, keeping the file's permission bits, never replacing
// a read-only file, never removing or replacing a device or pipe, with no temporary file
// left behind, and with a message naming the file and the system's reason when it fails.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "vmodhost/vmodhost.h"

namespace {

const std::string kModel = std::string(VMOD_SOURCE_DIR) + "/examples/everything.vmf";

struct Outcome {
    int status;
    std::string err;
};

std::string shellQuoted(const std::string &text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs `prefix vmod args` through the shell, standard error kept in the scratch directory
// "logs" (made beside the outputs, so that its entries do not count).
Outcome shell(const std::string &prefix, const std::vector<std::string> &args, const std::string &logs) {
    std::string command = prefix + shellQuoted(std::string(VMOD_BINARY_DIR) + "/tools/vmod");
    for (const std::string &arg : args) command += " " + shellQuoted(arg);
    command += " 2>" + shellQuoted(logs + "/err");
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, vmodtest::wholeFile(logs + "/err")};
}

mode_t modeOf(const std::string &path, bool follow = true) {
    struct stat info;
    int result = follow ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    return result == 0 ? info.st_mode : 0;
}

struct WritingCommand {
    const char *name;
    bool needsCairo;
    std::vector<std::string> (*args)(const std::string &out);
    const char *starts; // the first bytes of what it writes
};

std::vector<std::string> resave(const std::string &out) { return {"resave", kModel, out}; }
std::vector<std::string> script(const std::string &out) {
    return {"script", kModel, "-o", out, "--answer", "a", "--answer", "b", "--answer", "c"};
}
std::vector<std::string> eps(const std::string &out) { return {"eps", kModel, out}; }
std::vector<std::string> ps(const std::string &out) { return {"ps", kModel, out}; }
std::vector<std::string> print(const std::string &out) { return {"print", kModel, out}; }
std::vector<std::string> render(const std::string &out) { return {"render", kModel, out}; }
std::vector<std::string> anno(const std::string &out) { return {"anno", kModel, out}; }

const WritingCommand kCommands[] = {
    {"resave", false, resave, "TITLE "},   {"script", false, script, "COMMENT "},     {"eps", false, eps, "%!PS-Adobe"},
    {"ps", false, ps, "%!"},               {"print", true, print, "%PDF-"},     {"render", true, render, "\x89PNG"},
    {"anno", false, anno, "<?xml"},
};

class WritingCommandTest : public testing::TestWithParam<WritingCommand> {
protected:
    void SetUp() override {
        if (GetParam().needsCairo && !vmodhost_HasCairo()) GTEST_SKIP() << "built without Cairo";
        ASSERT_EQ(mkdir(logs.file("out").c_str(), 0700), 0);
        ASSERT_EQ(mkdir(logs.file("other").c_str(), 0700), 0);
    }
    std::string file(const std::string &name) const { return logs.file("out/" + name); }
    std::set<std::string> entries() const { return logs.entries("out"); }
    Outcome vmod(const std::string &out, const std::string &prefix = "") {
        return shell(prefix, GetParam().args(out), logs.path());
    }
    bool wrote(const std::string &path) const {
        std::string text = vmodtest::wholeFile(path);
        return text.rfind(GetParam().starts, 0) == 0 && text.size() > 100;
    }
    vmodtest::ScratchDir logs;
};

} // namespace

TEST_P(WritingCommandTest, FullDeviceFailsWithTheReasonAndStaysADevice) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    Outcome run = vmod("/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("/dev/full"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("_"), std::string::npos) << run.err; // no internal function names
    EXPECT_TRUE(S_ISCHR(modeOf("/dev/full", false)));
}

TEST_P(WritingCommandTest, PipeIsWrittenInPlace) {
    std::string fifo = file("fifo"), copy = logs.file("other/copy");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Outcome run = vmod(fifo, "cat " + shellQuoted(fifo) + " >" + shellQuoted(copy) + " & ");
    EXPECT_EQ(run.status, 0) << run.err;
    // The reader may still be copying; it ends when the writer has closed the pipe.
    for (int i = 0; i < 100 && !wrote(copy); ++i) usleep(20000);
    EXPECT_TRUE(wrote(copy));
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo, false)));
    EXPECT_EQ(entries(), std::set<std::string>{"fifo"});
}

TEST_P(WritingCommandTest, FailedWriteKeepsTheEarlierFileAndLeavesNoTemporaryFile) {
    std::string out = file("target");
    vmodtest::writeWholeFile(out, "old");
    // Files may grow to one block only, and the signal that would end the program is
    // ignored, so that a write fails as on a full disk.
    Outcome run = vmod(out, "trap '' XFSZ; ulimit -f 1; exec ");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write " + out + ": File too large"), std::string::npos) << run.err;
    EXPECT_EQ(vmodtest::wholeFile(out), "old");
    EXPECT_EQ(entries(), std::set<std::string>{"target"});
}

TEST_P(WritingCommandTest, SymbolicLinkStaysALinkAndItsTargetGetsTheContent) {
    std::string real = file("real"), link = file("link");
    vmodtest::writeWholeFile(real, "old");
    ASSERT_EQ(symlink("real", link.c_str()), 0);
    Outcome run = vmod(link);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(S_ISLNK(modeOf(link, false)));
    EXPECT_TRUE(wrote(real));
    EXPECT_EQ(entries(), (std::set<std::string>{"link", "real"}));
}

TEST_P(WritingCommandTest, ReplacedFileKeepsItsPermissionBits) {
    std::string out = file("target");
    vmodtest::writeWholeFile(out, "old");
    ASSERT_EQ(chmod(out.c_str(), 0604), 0);
    Outcome run = vmod(out);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(wrote(out));
    EXPECT_EQ(modeOf(out) & 07777, 0604u);
    EXPECT_EQ(entries(), std::set<std::string>{"target"});
}

TEST_P(WritingCommandTest, ReadOnlyFileIsNotReplaced) {
    std::string out = file("target");
    vmodtest::writeWholeFile(out, "old");
    ASSERT_EQ(chmod(out.c_str(), 0444), 0);
    Outcome run = vmod(out);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write " + out + ": Permission denied"), std::string::npos) << run.err;
    EXPECT_EQ(vmodtest::wholeFile(out), "old");
    EXPECT_EQ(modeOf(out) & 07777, 0444u);
    EXPECT_EQ(entries(), std::set<std::string>{"target"});
}

TEST_P(WritingCommandTest, LongFileNameIsWritten) {
    std::string name(250, 'n');
    Outcome run = vmod(file(name));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(wrote(file(name)));
    EXPECT_EQ(entries(), std::set<std::string>{name});
}

INSTANTIATE_TEST_SUITE_P(vmod_tool, WritingCommandTest, testing::ValuesIn(kCommands),
                         [](const testing::TestParamInfo<WritingCommand> &info) { return info.param.name; });

TEST(vmod_script, CancelledPromptKeepsTheEarlierScript) {
    vmodtest::ScratchDir dir;
    std::string good = dir.file("good.txt");
    ASSERT_EQ(shell("", script(good), dir.path()).status, 0);
    std::string complete = vmodtest::wholeFile(good);
    Outcome run = shell("</dev/null ", {"script", kModel, "-o", good, "--answer", "a"}, dir.path());
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(vmodtest::wholeFile(good), complete);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"err", "good.txt"}));
}

// What a command prints on standard output counts as written only once it is flushed.
TEST(vmod_tool, FullStandardOutputIsAFailure) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    vmodtest::ScratchDir dir;
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"check", kModel}, {"--help"}, {"script", kModel, "--answer", "a", "--answer", "b",
                                                                 "--answer", "c"}}) {
        Outcome run = shell(">/dev/full ", args, dir.path());
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    }
}
