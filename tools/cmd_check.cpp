// cmd_check.cpp - `vmod check MODEL`: read a model, summarise it and list every reason
// it is not ready to run.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "vmodhost/oerr.h"
#include "model/arrow_cycles.h"
#include "model/operation_order.h"
#include "script/script_gen.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

static const char *const kKindNames[] = {"raster", "vector", "matrix", "table",
                                         "scalar", "function", "criteria", "text"};
static const int kKindCount = 8;

static bool isOperation(const Vmod_Node *node) {
    return node->type == VMOD_FUNCTION || node->type == VMOD_CRITERIA;
}

// Titles come from the file: they are shown with their control characters escaped, so
// that none reaches the terminal.
static std::string describe(const Vmod_Node *node) { return tool_NodeName(node); }

static std::vector<std::string> reasonsNotReady(Vmod_Model *model) {
    std::vector<std::string> reasons;
    if (model->nodes == nullptr) {
        reasons.push_back("the model has no nodes");
        return reasons;
    }
    Oerr_ErrorReport *err = nullptr;
    // The first arrow vmod_Circular would find closing a cycle, in one traversal.
    const Vmod_Node *cycleFrom = nullptr;
    const Vmod_Link *cycleArrow = model_FirstCycleArrow(model->nodes, &cycleFrom);
    for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        if (node->type == VMOD_TEXT)
            continue;
        if (node->title == nullptr || node->title[0] == '\0')
            reasons.push_back(describe(node) + " has no title");
        if (isOperation(node) && node->children == nullptr)
            reasons.push_back(describe(node) + " has no output");
        for (Vmod_Link *link = node->children; link != nullptr; link = link->next) {
            if (link->node == nullptr) {
                reasons.push_back(describe(node) + " names child " + std::to_string(link->id) +
                                  ", which is no node of the model");
            } else if (link == cycleArrow) {
                reasons.push_back("the arrow from " + describe(node) + " to " + describe(link->node) +
                                  " closes a cycle");
            }
        }
    }
    oerr_DeleteErrorReportEx(&err);
    // What the graph walk above cannot see (shared identifiers, empty criteria tables, an
    // output that holds no data) still stops the script generator; so does every text the
    // script cannot hold, which is listed whatever else is wrong. The generator refuses
    // exactly these.
    const ScriptRefusals refusals = script_FindRefusals(model);
    if (reasons.empty() && !refusals.graph.empty())
        reasons.push_back("Error Cannot Generate Script: " + refusals.graph);
    reasons.insert(reasons.end(), refusals.texts.begin(), refusals.texts.end());
    return reasons;
}

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
    std::vector<Vmod_Node *> order = model_OperationSequence(model.nodes);
    std::printf("operations:%s\n", order.empty() ? " (none)" : "");
    for (size_t i = 0; i < order.size(); ++i)
        std::printf("  %zu. %s\n", i + 1, describe(order[i]).c_str());

    std::vector<std::string> reasons = reasonsNotReady(&model);
    if (reasons.empty())
        std::printf("ready to run\n");
    else {
        std::printf("not ready to run:\n");
        for (const std::string &reason : reasons)
            std::printf("  %s\n", tool_PrintableText(reason.c_str()).c_str());
    }
    tool_ModelRelease(&model);
    return reasons.empty() ? TOOL_OK : TOOL_NOT_READY;
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
