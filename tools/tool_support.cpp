// tool_support.cpp - helpers the `vmod` commands share: usage errors, report printing
// and releasing a model that a command read.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "host/oerr.h"
#include "host/omsc.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

int tool_UsageError(const ToolCommand &command, const std::string &problem) {
    std::fprintf(stderr, "vmod %s: %s (usage: vmod %s %s; see 'vmod %s --help')\n", command.name,
                 problem.c_str(), command.name, command.synopsis, command.name);
    return TOOL_USAGE;
}

bool tool_ExpectArguments(const ToolCommand &command, const std::vector<std::string> &args, size_t count) {
    for (const std::string &arg : args) {
        if (arg.size() > 1 && arg[0] == '-') {
            tool_UsageError(command, "unknown option '" + arg + "'");
            return false;
        }
    }
    if (args.size() != count) {
        tool_UsageError(command, args.size() < count ? "missing argument" : "too many arguments");
        return false;
    }
    return true;
}

void tool_PrintAndDeleteReport(Oerr_ErrorReport **report) {
    if (*report == nullptr)
        return;
    char *text = vmodhost_ErrorChainText(*report);
    if (text != nullptr) {
        std::fputs(text, stderr);
        if (text[0] != '\0' && text[std::strlen(text) - 1] != '\n')
            std::fputc('\n', stderr);
    }
    omsc_HeapFree(text);
    oerr_DeleteErrorReportEx(report);
}

void tool_PrintWriteFailure(const ToolCommand &command, Oerr_ErrorReport **report) {
    const Oerr_ErrorReport *innermost = *report;
    while (innermost != nullptr && vmodhost_ErrorCause(innermost) != nullptr)
        innermost = vmodhost_ErrorCause(innermost);
    const char *message = innermost != nullptr ? vmodhost_ErrorMessage(innermost) : nullptr;
    std::fprintf(stderr, "vmod %s: %s\n", command.name,
                 message != nullptr && message[0] != '\0' ? message : "the output could not be written");
    oerr_DeleteErrorReportEx(report);
}

int tool_FinishStandardOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    // The reason is known when the flush itself failed; an earlier write may have lost it.
    if (errno != 0)
        std::fprintf(stderr, "vmod: cannot write standard output: %s\n", std::strerror(errno));
    else
        std::fprintf(stderr, "vmod: cannot write standard output\n");
    return TOOL_FAILED;
}

void tool_ModelRelease(Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelDelete(model, &err);
    oerr_DeleteErrorReportEx(&err);
    *model = Vmod_Model{};
}
