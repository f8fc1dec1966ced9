// cmd_check.cpp - `vmod check [--json] [--strict] [--no-files] MODEL`: read a model,
// summarise it and list every problem the validator finds, grouped by severity, then the
// verdict.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "vmod/vmod.h"
#include "vmodcheck/vmodcheck.h"
#include "vmodkit/vmodkit_checks.h"

static const char *const kKindNames[] = {"raster", "vector", "matrix", "table",
                                         "scalar", "function", "criteria", "text"};
static const int kKindCount = 8;

namespace {

struct CheckArguments {
    bool json = false;
    bool strict = false;
    bool files = true;
    std::string model;
};

void PrintSummary(Vmod_Model &model, const std::string &path, const Vmod_Node *const *order, size_t count) {
    int counts[kKindCount] = {};
    int total = 0;
    for (const Vmod_Node *node = model.nodes; node != nullptr; node = node->next) {
        ++total;
        if (node->type >= 0 && node->type < kKindCount) ++counts[node->type];
    }
    std::printf("model: %s\n", tool_PrintableText(path.c_str()).c_str());
    std::printf("title: %s\n", model.title != nullptr ? tool_PrintableText(model.title).c_str() : "(none)");
    std::printf("nodes: %d", total);
    for (int kind = 0; kind < kKindCount; ++kind)
        std::printf("%s%s %d", kind == 0 ? " (" : ", ", kKindNames[kind], counts[kind]);
    std::printf(")\n");
    std::printf("operations:%s\n", count == 0 ? " (none)" : "");
    for (size_t i = 0; i < count; ++i) std::printf("  %zu. %s\n", i + 1, tool_NodeName(order[i]).c_str());
}

void PrintProblems(const Vmodcheck_Report &report) {
    static const char *const headings[] = {"errors", "warnings", "information"};
    const size_t counts[] = {report.errors, report.warnings, report.infos};
    for (int severity = VMODCHECK_ERROR; severity <= VMODCHECK_INFO; ++severity) {
        if (counts[severity] == 0) continue;
        std::printf("%s (%zu):\n", headings[severity], counts[severity]);
        for (size_t i = 0; i < report.count; ++i) {
            const Vmodcheck_Problem &problem = report.problems[i];
            if (problem.severity != severity) continue;
            std::string where;
            if (problem.file != nullptr)
                where = tool_PrintableText(problem.file) + ":" + std::to_string(problem.line) + ":" +
                        std::to_string(problem.column) + ": ";
            std::printf("  %s%s: %s\n", where.c_str(), problem.code, tool_PrintableText(problem.message).c_str());
            if (problem.hint[0] != '\0') std::printf("      fix: %s\n", tool_PrintableText(problem.hint).c_str());
        }
    }
    if (report.promptCount > 0) {
        std::printf("prompts, in the order --answer takes them:\n");
        for (size_t i = 0; i < report.promptCount; ++i)
            std::printf("  %zu. node %d: %s\n", i + 1, report.prompts[i].node,
                        tool_PrintableText(report.prompts[i].text).c_str());
    }
    if (report.pages >= 0) std::printf("pages: %d\n", report.pages);
    if (report.filesChecked < 0)
        std::printf("files: not checked (this vmod was built without GDAL)\n");
}

int ParseArguments(const ToolCommand &self, const std::vector<std::string> &args, CheckArguments &parsed) {
    for (const std::string &arg : args) {
        if (arg == "--json") parsed.json = true;
        else if (arg == "--strict") parsed.strict = true;
        else if (arg == "--no-files") parsed.files = false;
        else if (arg.size() > 1 && arg[0] == '-') return tool_UsageError(self, "unknown option '" + arg + "'");
        else if (parsed.model.empty()) parsed.model = arg;
        else return tool_UsageError(self, "expects one MODEL, got another: '" + arg + "'");
    }
    if (parsed.model.empty()) return tool_UsageError(self, "expects a MODEL");
    return TOOL_OK;
}

} // namespace

static int runCheck(const ToolCommand &self, const std::vector<std::string> &args) {
    CheckArguments parsed;
    if (int status = ParseArguments(self, args, parsed); status != TOOL_OK) return status;
    Vmod_Model model{};
    if (!tool_ReadModel(parsed.model, &model)) return TOOL_FAILED;

    Oerr_ErrorReport *err = nullptr;
    Vmodcheck_Options options{};
    options.checkFiles = parsed.files ? 1 : 0;
    options.sourcePath = parsed.model.c_str();
    Vmodcheck_Report *report = vmodcheck_Validate(&model, &options, &err);
    if (report == nullptr) {
        tool_PrintAndDeleteReport(&err);
        tool_ModelRelease(&model);
        return TOOL_FAILED;
    }
    const bool ready = report->errors == 0 && (!parsed.strict || report->warnings == 0);
    int status = ready ? TOOL_OK : TOOL_NOT_READY;
    if (parsed.json) {
        char *text = vmodcheck_ReportJson(report, &model, parsed.strict ? 1 : 0, &err);
        if (text == nullptr) {
            tool_PrintAndDeleteReport(&err);
            status = TOOL_FAILED;
        } else {
            std::fputs(text, stdout);
            vmodcheck_Free(text);
        }
    } else {
        size_t count = 0;
        Vmod_Node **order = vmodkit_OperationOrder(&model, &count, &err);
        if (err != nullptr) {
            tool_PrintAndDeleteReport(&err);
            status = TOOL_FAILED;
        } else {
            PrintSummary(model, parsed.model, order, count);
            PrintProblems(*report);
            if (ready)
                std::printf("ready to run\n");
            else
                std::printf("not ready to run: %zu %s, %zu %s%s\n", report->errors,
                            report->errors == 1 ? "error" : "errors", report->warnings,
                            report->warnings == 1 ? "warning" : "warnings",
                            parsed.strict && report->errors == 0 ? " (--strict counts warnings as errors)" : "");
        }
        vmodkit_Free(order);
    }
    vmodcheck_ReportFree(report);
    tool_ModelRelease(&model);
    return status;
}

extern const ToolCommand tool_command_check = {
    "check", "[--json] [--strict] [--no-files] MODEL",
    "read MODEL, summarise it and list every problem that would stop or spoil its run",
    "Prints the node counts by kind, the title and the operations in the order they would\n"
    "run, then every problem the validator finds, errors first, then warnings, then\n"
    "information, each with its code (docs/checks.md), the file, line and column of the\n"
    "node or statement, what is wrong and how to fix it; then the file prompts in the\n"
    "order `vmod script --answer` takes them, the pages `vmod print` produces, and the\n"
    "verdict.\n"
    "  --json      print one JSON document instead (schema in docs/checks.md)\n"
    "  --strict    count warnings as errors\n"
    "  --no-files  do not open the model's input files\n"
    "Exit status 0 when ready with no errors, 3 when there are errors (or, with --strict,\n"
    "warnings), 1 when the model cannot be read, 2 for a bad command line.\n",
    runCheck};
