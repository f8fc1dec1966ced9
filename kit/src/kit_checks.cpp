// kit_checks.cpp - readiness reasons, the script's refusals, writing the script with the
// reason it stopped, and the operations' order, from the library's own checks.
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "kit_guard.h"
#include "model/arrow_cycles.h"
#include "model/operation_order.h"
#include "script/script_gen.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_checks.h"

namespace {

// A copy of text in the host's heap, released by vmodkit_Free.
char *HeapText(const std::string &text) {
    auto *copy = static_cast<char *>(omsc_HeapMalloc(text.size() + 1));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// Fills list (zeroed first) with copies of texts; on failure releases what it made.
void StoreTexts(const std::vector<std::string> &texts, Vmodkit_Texts *list) {
    auto **array = static_cast<char **>(omsc_HeapMalloc((texts.size() + 1) * sizeof(char *)));
    if (array == nullptr) throw std::bad_alloc();
    std::memset(array, 0, (texts.size() + 1) * sizeof(char *));
    Vmodkit_Texts made{0, array};
    try {
        for (const std::string &text : texts) made.texts[made.count++] = HeapText(text);
    } catch (...) {
        vmodkit_FreeTexts(&made);
        throw;
    }
    *list = made;
}

std::string NameOf(const Vmod_Node *node) {
    static const char *const kinds[] = {"raster", "vector", "matrix", "table", "scalar", "function", "criteria", "text"};
    std::string text = std::string(node->type >= 0 && node->type < 8 ? kinds[node->type] : "unknown") + " node " +
                       std::to_string(node->id);
    if (node->title != nullptr) text += " \"" + std::string(node->title) + "\"";
    return text;
}

bool IsOperation(const Vmod_Node *node) { return node->type == VMOD_FUNCTION || node->type == VMOD_CRITERIA; }

std::vector<std::string> ReasonsNotReady(Vmod_Model *model) {
    std::vector<std::string> reasons;
    if (model->nodes == nullptr) {
        reasons.push_back("the model has no nodes");
        return reasons;
    }
    // The first arrow vmod_Circular would find closing a cycle, in one traversal.
    const Vmod_Node *cycleFrom = nullptr;
    const Vmod_Link *cycleArrow = model_FirstCycleArrow(model->nodes, &cycleFrom);
    for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        if (node->type == VMOD_TEXT) continue;
        if (node->title == nullptr || node->title[0] == '\0') reasons.push_back(NameOf(node) + " has no title");
        if (IsOperation(node) && node->children == nullptr) reasons.push_back(NameOf(node) + " has no output");
        for (Vmod_Link *link = node->children; link != nullptr; link = link->next) {
            if (link->node == nullptr)
                reasons.push_back(NameOf(node) + " names child " + std::to_string(link->id) +
                                  ", which is no node of the model");
            else if (link == cycleArrow)
                reasons.push_back("the arrow from " + NameOf(node) + " to " + NameOf(link->node) + " closes a cycle");
        }
    }
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

// The list's record is zeroed first, so a failure leaves it empty.
int32_t ListInto(const char *function, Vmod_Model *model, Vmodkit_Texts *list, Oerr_ErrorReport **err,
                 std::vector<std::string> (*find)(Vmod_Model *)) {
    if (list != nullptr) *list = Vmodkit_Texts{0, nullptr};
    if (model == nullptr || list == nullptr) {
        kit_Report(err, function, VMOD_ERR_FAILED, "no model or no list");
        return 0;
    }
    return kit_Guarded<int32_t>(function, err, 0, [&] {
        StoreTexts(find(model), list);
        return 1;
    });
}

std::vector<std::string> RefusalTexts(Vmod_Model *model) {
    ScriptRefusals refusals = script_FindRefusals(model);
    std::vector<std::string> texts;
    if (!refusals.graph.empty()) texts.push_back(refusals.graph);
    texts.insert(texts.end(), refusals.texts.begin(), refusals.texts.end());
    return texts;
}

} // namespace

extern "C" {

char *vmodkit_NodeName(const Vmod_Node *node, Oerr_ErrorReport **err) {
    if (node == nullptr) return nullptr;
    return kit_Guarded<char *>("vmodkit_NodeName", err, nullptr, [&] { return HeapText(NameOf(node)); });
}

int32_t vmodkit_ReadinessReasons(Vmod_Model *model, Vmodkit_Texts *reasons, Oerr_ErrorReport **err) {
    return ListInto("vmodkit_ReadinessReasons", model, reasons, err, ReasonsNotReady);
}

int32_t vmodkit_ScriptRefusals(Vmod_Model *model, Vmodkit_Texts *refusals, Oerr_ErrorReport **err) {
    return ListInto("vmodkit_ScriptRefusals", model, refusals, err, RefusalTexts);
}

int32_t vmodkit_ScriptCheck(Vmod_Model *model, Oerr_ErrorReport **err) {
    // The generator's own check, so the message is the one it would give.
    Oerr_ErrorReport *report = nullptr;
    const int32_t ready = script_Check(model, &report);
    if (report != nullptr) {
        if (err != nullptr) {
            // Chained onto what the caller holds, as every kit report is.
            kit_Report(err, vmodhost_ErrorFunction(report), vmodhost_ErrorCode(report), vmodhost_ErrorMessage(report));
        }
        oerr_DeleteErrorReportEx(&report);
    }
    return ready;
}

Vmodkit_ScriptEnd vmodkit_ScriptWrite(Vmod_Model *model, Ofio_File *file, Oerr_ErrorReport **err) {
    if (model == nullptr || file == nullptr) {
        kit_Report(err, "vmodkit_ScriptWrite", VMOD_ERR_FAILED, "no model or no file");
        return VMODKIT_SCRIPT_FAILED;
    }
    if (!vmodkit_ScriptCheck(model, err)) return VMODKIT_SCRIPT_REFUSED;
    return kit_Guarded<Vmodkit_ScriptEnd>("vmodkit_ScriptWrite", err, VMODKIT_SCRIPT_FAILED, [&] {
        ScriptOptions options;
        std::string stopReason;
        options.stopReason = &stopReason;
        if (script_Generate(model, file, options)) return VMODKIT_SCRIPT_COMPLETE;
        if (!stopReason.empty()) {
            kit_Report(err, "vmodkit_ScriptWrite", VMOD_ERR_FAILED, stopReason.c_str());
            return VMODKIT_SCRIPT_STOPPED;
        }
        return ofio_HasError(file) ? VMODKIT_SCRIPT_UNWRITTEN : VMODKIT_SCRIPT_CANCELLED;
    });
}

Vmod_Node **vmodkit_OperationOrder(Vmod_Model *model, size_t *count, Oerr_ErrorReport **err) {
    if (count != nullptr) *count = 0;
    if (model == nullptr || count == nullptr) return nullptr;
    return kit_Guarded<Vmod_Node **>("vmodkit_OperationOrder", err, nullptr, [&]() -> Vmod_Node ** {
        const std::vector<Vmod_Node *> order = model_OperationSequence(model->nodes);
        if (order.empty()) return nullptr;
        auto **array = static_cast<Vmod_Node **>(omsc_HeapMalloc(order.size() * sizeof(Vmod_Node *)));
        if (array == nullptr) throw std::bad_alloc();
        std::memcpy(array, order.data(), order.size() * sizeof(Vmod_Node *));
        *count = order.size();
        return array;
    });
}

} // extern "C"
