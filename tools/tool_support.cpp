// tool_support.cpp - helpers the `vmod` commands share: usage errors, report printing
// and releasing a model that a command read.
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

void tool_ModelRelease(Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelDelete(model, &err);
    oerr_DeleteErrorReportEx(&err);
    *model = Vmod_Model{};
}
