// vmod_main.cpp - the `vmod` command-line tool: global options, the command table and
// dispatch. Each command lives in its own tools/cmd_<name>.cpp.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/vmodhost.h"

#define VMOD_DECLARE_COMMAND(name) extern const ToolCommand tool_command_##name;
#define VMOD_COMMAND_ADDRESS(name) &tool_command_##name,

// The commands, one line each, in the order `vmod --help` lists them.
#define VMOD_TOOL_COMMANDS(X) \
    X(check)                  \
    X(resave)                 \
    X(layout)                 \
    X(script)                 \
    X(render)                 \
    X(anno)                   \
    X(eps)                    \
    X(ps)                     \
    X(print)                  \
    X(edit)

VMOD_TOOL_COMMANDS(VMOD_DECLARE_COMMAND)
static const ToolCommand *const kCommands[] = {VMOD_TOOL_COMMANDS(VMOD_COMMAND_ADDRESS)};

static const char kGlobalHelp[] =
    "Global options, before or after the command:\n"
    "  --pref KEY=VALUE   set the \"modeler\" preference KEY for this run (repeatable)\n"
    "  --help             show help (for the command when one is given)\n"
    "  --version          show the version of vmod\n"
    "Exit status: 0 success, 1 failure, 2 usage error, 3 model not ready to run (check) or a\n"
    "file prompt cancelled (script).\n";

static void printToolHelp(FILE *out) {
    std::fprintf(out, "usage: vmod [--pref KEY=VALUE]... COMMAND [ARGS]...\n\nCommands:\n");
    for (const ToolCommand *command : kCommands)
        std::fprintf(out, "  %-8s %s\n  %-8s   %s\n", command->name, command->synopsis, "", command->summary);
    std::fprintf(out, "\n%s", kGlobalHelp);
}

static void printCommandHelp(const ToolCommand &command) {
    std::printf("usage: vmod %s %s\n\n%s\n", command.name, command.synopsis, command.summary);
    if (command.help[0] != '\0')
        std::printf("\n%s", command.help);
    std::printf("\n%s", kGlobalHelp);
}

static const ToolCommand *findCommand(const std::string &name) {
    for (const ToolCommand *command : kCommands)
        if (name == command->name)
            return command;
    return nullptr;
}

// Sets the preference, warning (without failing) when the library would not use it.
static bool applyPreference(const std::string &setting) {
    size_t equals = setting.find('=');
    if (equals == std::string::npos || equals == 0)
        return false;
    const std::string key = setting.substr(0, equals), value = setting.substr(equals + 1);
    const std::string warning = tool_SetPreference(key, value);
    if (!warning.empty())
        std::fprintf(stderr, "vmod: warning: --pref %s\n", warning.c_str());
    return true;
}

// Reports the library shows at once would appear again in the chain a command prints.
static void keepShownReportsQuiet(const char *, void *) {}

static int runTool(int argc, char **argv) {
    vmodhost_SetErrorSink(keepShownReportsQuiet, nullptr);
    const ToolCommand *command = nullptr;
    std::vector<std::string> args;
    bool wantHelp = false;

    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--pref" || arg.rfind("--pref=", 0) == 0) {
            std::string setting;
            if (arg == "--pref") {
                if (i + 1 >= argc) {
                    std::fprintf(stderr, "vmod: --pref needs KEY=VALUE (see 'vmod --help')\n");
                    return TOOL_USAGE;
                }
                setting = argv[++i];
            } else {
                setting = arg.substr(7);
            }
            if (!applyPreference(setting)) {
                std::fprintf(stderr, "vmod: --pref takes KEY=VALUE, not '%s' (see 'vmod --help')\n",
                             setting.c_str());
                return TOOL_USAGE;
            }
        } else if (arg == "--help" || arg == "-h") {
            wantHelp = true;
        } else if (arg == "--version") {
            std::printf("vmod %s\n", VMOD_VERSION);
            return TOOL_OK;
        } else if (command == nullptr && arg == "--") {
            continue;
        } else if (command == nullptr) {
            if (arg[0] == '-') {
                std::fprintf(stderr, "vmod: unknown option '%s' (see 'vmod --help')\n", arg.c_str());
                return TOOL_USAGE;
            }
            command = findCommand(arg);
            if (command == nullptr) {
                std::fprintf(stderr, "vmod: unknown command '%s' (see 'vmod --help')\n", arg.c_str());
                return TOOL_USAGE;
            }
        } else {
            args.push_back(arg);
        }
    }

    if (command == nullptr) {
        if (wantHelp) {
            printToolHelp(stdout);
            return TOOL_OK;
        }
        std::fprintf(stderr, "vmod: missing command (see 'vmod --help')\n");
        return TOOL_USAGE;
    }
    if (wantHelp) {
        printCommandHelp(*command);
        return TOOL_OK;
    }
    return command->run(*command, args);
}

// Whatever a command did, output that never reached standard output is a failure.
int main(int argc, char **argv) { return tool_FinishStandardOutput(runTool(argc, argv)); }
