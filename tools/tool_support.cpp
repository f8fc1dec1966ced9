// tool_support.cpp - helpers the `vmod` commands share: usage errors, report printing
// and releasing a model that a command read.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "commands.h"
#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmod/vmod.h"
#include "vmodkit/vmodkit_model.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_checks.h"

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

bool tool_ReadModel(const std::string &path, Vmod_Model *model) {
    *model = Vmod_Model{};
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelRead(model, path.c_str(), &err);
    if (err == nullptr) return true;
    tool_PrintAndDeleteReport(&err);
    return false;
}

int tool_ReadModelArgument(const ToolCommand &command, const std::vector<std::string> &args, size_t count,
                           Vmod_Model *model) {
    *model = Vmod_Model{};
    if (!tool_ExpectArguments(command, args, count)) return TOOL_USAGE;
    return tool_ReadModel(args[0], model) ? TOOL_OK : TOOL_FAILED;
}

void tool_ModelRelease(Vmod_Model *model) { vmodkit_ModelRelease(model); }

std::string tool_PrintableText(const char *text) {
    std::string out;
    if (text == nullptr)
        return out;
    auto escape = [&out](const char *format, unsigned value) {
        char buffer[12];
        std::snprintf(buffer, sizeof buffer, format, value);
        out += buffer;
    };
    const auto *bytes = reinterpret_cast<const unsigned char *>(text);
    for (size_t i = 0; bytes[i] != 0;) {
        // Plain printable text, most of any message, goes over a run at a time.
        size_t run = i;
        while (bytes[run] >= 0x20 && bytes[run] < 0x7f) ++run;
        if (run > i) {
            out.append(text + i, run - i);
            i = run;
            continue;
        }
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            if (c == '\n')
                out += "\\n";
            else if (c == '\t')
                out += "\\t";
            else if (c == '\r')
                out += "\\r";
            else if (c < 0x20 || c == 0x7f)
                escape("\\x%02X", c);
            else
                out += static_cast<char>(c);
            ++i;
            continue;
        }
        // A well-formed UTF-8 sequence (no overlong form, surrogate or value past U+10FFFF)
        // is kept, except the C1 controls U+0080 to U+009F, which terminals obey.
        size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        unsigned value = length == 2 ? c & 0x1Fu : length == 3 ? c & 0x0Fu : c & 0x07u;
        for (size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                length = 0;
                break;
            }
            value = (value << 6) | (bytes[i + k] & 0x3Fu);
        }
        const bool wellFormed = (length == 2) || (length == 3 && value >= 0x800 && (value < 0xD800 || value > 0xDFFF)) ||
                                (length == 4 && value >= 0x10000 && value <= 0x10FFFF);
        if (!wellFormed) {
            escape("\\x%02X", c);
            ++i;
        } else if (value < 0xA0) {
            escape("\\u%04X", value);
            i += length;
        } else {
            out.append(text + i, length);
            i += length;
        }
    }
    return out;
}

std::string tool_NodeName(const Vmod_Node *node) {
    // The kit names a node as its readiness reasons do; the title is made printable here.
    Oerr_ErrorReport *err = nullptr;
    char *name = vmodkit_NodeName(node, &err);
    if (name == nullptr) {
        oerr_DeleteErrorReportEx(&err);
        throw std::bad_alloc();
    }
    std::string text = tool_PrintableText(name);
    vmodkit_Free(name);
    return text;
}
