// `vmod edit` as a user starts it: the address line, the interface behind it, and a
// clean stop on SIGTERM or SIGINT that keeps unsaved changes in the recovery copy.
#include <signal.h>
#include <sys/wait.h>

#include <regex>

#include "editor_test_support.h"

namespace {

const std::string kTool = std::string(VMOD_BINARY_DIR) + "/tools/vmod";

// `vmod edit` running with its standard output on a pipe and its standard error in a file.
struct EditProcess {
    pid_t pid = -1;
    FILE *out = nullptr;
    std::string errPath;

    EditProcess(const std::vector<std::string> &args, const std::string &errFile) : errPath(errFile) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(pipeEnds[1], 1);
            FILE *err = std::fopen(errFile.c_str(), "w");
            if (err) dup2(fileno(err), 2);
            close(pipeEnds[0]);
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            std::vector<char *> argv{const_cast<char *>(kTool.c_str()), const_cast<char *>("edit")};
            for (const std::string &arg : args) argv.push_back(const_cast<char *>(arg.c_str()));
            argv.push_back(nullptr);
            execv(kTool.c_str(), argv.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        out = fdopen(pipeEnds[0], "r");
    }
    std::string firstLine() {
        char line[512] = {};
        return out && std::fgets(line, sizeof line, out) ? line : "";
    }
    int stop(int signal) {
        kill(pid, signal);
        return wait();
    }
    int wait() {
        int status = 0;
        waitpid(pid, &status, 0);
        if (out) std::fclose(out);
        out = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
};

class EditToolTest : public EditorServerTest {};

TEST_F(EditToolTest, PrintsTheAddressServesItAndKeepsUnsavedChangesOnSigterm) {
    EditProcess edit({modelPath, "--no-browser"}, dir + "/stderr");
    std::smatch match;
    const std::string line = edit.firstLine();
    static const std::regex address(R"(vmod edit: http://127\.0\.0\.1:([0-9]+)(/t/[0-9a-f]{32}/)\n)");
    ASSERT_TRUE(std::regex_match(line, match, address)) << line;
    httplib::Client page("127.0.0.1", std::stoi(match[1]));
    auto res = page.Post(match[2].str() + "api/edit", R"({"op":"add","kind":"raster","x":1,"y":1})", "application/json");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(edit.stop(SIGTERM), 0);
    EXPECT_TRUE(std::filesystem::exists(modelPath + ".recovery"));
    EXPECT_NE(editorReadFile(dir + "/stderr").find("unsaved changes; they are kept in " + modelPath + ".recovery"),
              std::string::npos)
        << editorReadFile(dir + "/stderr");
}

TEST_F(EditToolTest, StopsQuietlyOnSigintWithNothingUnsaved) {
    EditProcess edit({"--no-browser", modelPath}, dir + "/stderr");
    ASSERT_NE(edit.firstLine(), "");
    EXPECT_EQ(edit.stop(SIGINT), 0);
    EXPECT_EQ(editorReadFile(dir + "/stderr"), "");
    EXPECT_FALSE(std::filesystem::exists(modelPath));
}

TEST_F(EditToolTest, QuittingFromThePageEndsTheProgram) {
    EditProcess edit({modelPath, "--no-browser", "--port", "0"}, dir + "/stderr");
    std::smatch match;
    const std::string line = edit.firstLine();
    ASSERT_TRUE(std::regex_match(line, match, std::regex(R"(vmod edit: http://127\.0\.0\.1:([0-9]+)(/t/[0-9a-f]+/)\n)")));
    httplib::Client page("127.0.0.1", std::stoi(match[1]));
    auto res = page.Post(match[2].str() + "api/quit", "{}", "application/json");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(edit.wait(), 0);
}

TEST_F(EditToolTest, BadCommandLinesAreUsageErrors) {
    for (const std::vector<std::string> &args : {std::vector<std::string>{}, {modelPath, "--port", "70000"},
                                                 {modelPath, "--colour"}, {modelPath, modelPath}}) {
        EditProcess edit(args, dir + "/stderr");
        EXPECT_EQ(edit.wait(), 2);
    }
    editorWriteFile(modelPath, "this is not a model\n");
    EditProcess unreadable({modelPath, "--no-browser"}, dir + "/stderr");
    EXPECT_EQ(unreadable.wait(), 1);
    EXPECT_NE(editorReadFile(dir + "/stderr").find("vmod edit: "), std::string::npos);
}

} // namespace
