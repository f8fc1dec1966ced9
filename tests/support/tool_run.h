// tool_run.h - running the built `vmod` program from a test, with its exit status and
// what it printed on standard output and standard error.
#ifndef VMOD_TESTS_SUPPORT_TOOL_RUN_H
#define VMOD_TESTS_SUPPORT_TOOL_RUN_H

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "text_files.h"
#include "scratch_dir.h"

namespace vmodtest {

struct ToolRun {
    int status; // the exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// text between single quotes, as the shell reads it back unchanged.
inline std::string ShellQuoted(const std::string &text) {
    std::string out = "'";
    for (char c : text) out += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs build/tools/vmod with args, each quoted for the shell; standard input is not a
// terminal.
inline ToolRun RunVmod(const std::vector<std::string> &args) {
    ScratchDir dir;
    std::string command = ShellQuoted(std::string(VMOD_BINARY_DIR) + "/tools/vmod");
    for (const std::string &arg : args) command += " " + ShellQuoted(arg);
    command += " </dev/null >" + ShellQuoted(dir.file("out")) + " 2>" + ShellQuoted(dir.file("err"));
    const int raw = std::system(command.c_str());
    return ToolRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir.file("out")), readFile(dir.file("err"))};
}

} // namespace vmodtest

#endif
