// commands.h - what every `vmod` command provides, and the helpers they share.
//
// Adding a command: write tools/cmd_<name>.cpp defining `tool_command_<name>`, name the
// file in tools/CMakeLists.txt, then add one line X(<name>) to VMOD_TOOL_COMMANDS in
// vmod_main.cpp.
#ifndef VMOD_TOOLS_COMMANDS_H
#define VMOD_TOOLS_COMMANDS_H

#include <string>
#include <vector>

#include "vmod/vmod_records.h"

// Exit statuses shared by every command.
enum ToolExit {
    TOOL_OK = 0,
    TOOL_FAILED = 1,    // the command could not do its work; the report is on stderr
    TOOL_USAGE = 2,     // bad command line; a one-line hint is on stderr
    TOOL_NOT_READY = 3, // `check`: the model reads but cannot run; `script`: a prompt was cancelled
};

struct ToolCommand {
    const char *name;     // the word after `vmod`
    const char *synopsis; // arguments, as in "MODEL OUT"
    const char *summary;  // one line for `vmod --help`
    const char *help;     // the rest of `vmod <name> --help`, may be empty
    // Runs the command with the arguments after its name (global options and --help
    // already removed); returns a ToolExit.
    int (*run)(const ToolCommand &self, const std::vector<std::string> &args);
};

// Prints "vmod <name>: <problem>" and a hint to stderr; returns TOOL_USAGE.
int tool_UsageError(const ToolCommand &command, const std::string &problem);

// Checks that args holds exactly `count` positional arguments and no options;
// otherwise reports a usage error and returns false.
bool tool_ExpectArguments(const ToolCommand &command, const std::vector<std::string> &args, size_t count);

// Prints every message of a report chain to stderr, outermost first, and releases it.
void tool_PrintAndDeleteReport(Oerr_ErrorReport **report);

// Prints "vmod <name>: " and why a file could not be written, which is the innermost
// report of the chain (it names the file and the system's reason; the outer ones only
// say which save failed), and releases the chain.
void tool_PrintWriteFailure(const ToolCommand &command, Oerr_ErrorReport **report);

// What a command's exit status becomes once its standard output is flushed: a failure
// there (a full disk, a closed pipe) is reported and makes the command fail.
int tool_FinishStandardOutput(int status);

// text as it may safely go to a terminal: control characters, C1 controls and bytes that
// are not UTF-8 are shown as escapes (\n, \t, \x1B, \u009B); everything else is kept.
std::string tool_PrintableText(const char *text);

// "raster node 3 \"title\"" (the title printable), for messages about one node.
std::string tool_NodeName(const Vmod_Node *node);

// Sets the "modeler" preference key for this run; returns a warning when the library
// reads no such preference or tells no such value apart (it would behave as with the
// default), "" when it does.
std::string tool_SetPreference(const std::string &key, const std::string &value);

// Reads the model at path into *model (zeroed first); false, with the reader's report
// printed, when it cannot be read. A model that was read is released by tool_ModelRelease.
bool tool_ReadModel(const std::string &path, Vmod_Model *model);

// For a command whose arguments are exactly `count` words, the first naming the model:
// checks the count and reads the model. TOOL_OK, TOOL_USAGE or TOOL_FAILED.
int tool_ReadModelArgument(const ToolCommand &command, const std::vector<std::string> &args, size_t count,
                           Vmod_Model *model);

// Releases everything a model read by vmod_ModelRead owns (nodes, path, header strings,
// window) and zeroes the record, which stays the caller's.
void tool_ModelRelease(Vmod_Model *model);

#endif
