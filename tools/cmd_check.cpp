// cmd_check.cpp - `vmod check MODEL`: read a model, summarise it and list every reason
// it is not ready to run.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "vmod/vmod.h"
#include "vmodkit/vmodkit_checks.h"

static const char *const kKindNames[] = {"raster", "vector", "matrix", "table",
                                         "scalar", "function", "criteria", "text"};
static const int kKindCount = 8;

static int runCheck(const ToolCommand &self, const std::vector<std::string> &args) {
    Vmod_Model model;
    if (int status = tool_ReadModelArgument(self, args, 1, &model); status != TOOL_OK)
        return status;

    int counts[kKindCount] = {};
    int total = 0;
    for (const Vmod_Node *node = model.nodes; node != nullptr; node = node->next) {
        ++total;
        if (node->type >= 0 && node->type < kKindCount)
            ++counts[node->type];
    }
    std::printf("model: %s\n", tool_PrintableText(args[0].c_str()).c_str());
    std::printf("title: %s\n", model.title != nullptr ? tool_PrintableText(model.title).c_str() : "(none)");
    std::printf("nodes: %d", total);
    for (int kind = 0; kind < kKindCount; ++kind)
        std::printf("%s%s %d", kind == 0 ? " (" : ", ", kKindNames[kind], counts[kind]);
    std::printf(")\n");
    // Operations in the order the script generator would take them (the order of repeated
    // vmod_NextFunction calls, computed in one pass).
    Oerr_ErrorReport *err = nullptr;
    size_t count = 0;
    Vmod_Node **order = vmodkit_OperationOrder(&model, &count, &err);
    Vmodkit_Texts reasons{};
    if (err != nullptr || !vmodkit_ReadinessReasons(&model, &reasons, &err)) {
        vmodkit_Free(order);
        tool_PrintAndDeleteReport(&err);
        tool_ModelRelease(&model);
        return TOOL_FAILED;
    }
    std::printf("operations:%s\n", count == 0 ? " (none)" : "");
    for (size_t i = 0; i < count; ++i)
        std::printf("  %zu. %s\n", i + 1, tool_NodeName(order[i]).c_str());
    vmodkit_Free(order);

    // The reasons quote titles as the model holds them; the terminal gets them escaped.
    const bool ready = reasons.count == 0;
    if (ready)
        std::printf("ready to run\n");
    else {
        std::printf("not ready to run:\n");
        for (size_t i = 0; i < reasons.count; ++i)
            std::printf("  %s\n", tool_PrintableText(reasons.texts[i]).c_str());
    }
    vmodkit_FreeTexts(&reasons);
    tool_ModelRelease(&model);
    return ready ? TOOL_OK : TOOL_NOT_READY;
}

extern const ToolCommand tool_command_check = {
    "check", "MODEL", "read MODEL, summarise it and tell whether it is ready to run",
    "Prints the node counts by kind, the title and the operations in the order they would\n"
    "run, then every reason the model cannot run: no nodes, an untitled data or operation\n"
    "node, an operation without output, a child identifier naming no node, a cycle, or\n"
    "anything else that stops the script generator (a shared identifier, a criteria table\n"
    "without rows or columns, an output that holds no data, a file name or other text\n"
    "that cannot stand between the script's quotes, a title that is not a plain name).\n"
    "Exit status 0 when ready, 3 when not, 1 when the model cannot be read.\n",
    runCheck};
