// report_json.cpp - vmodcheck_ReportJson: the report and the model's summary as one JSON
// document. Its members are described in docs/checks.md; VMODCHECK_JSON_VERSION says
// which version of that description it follows.
#include <cstdlib>
#include <cstring>

#include <nlohmann/json.hpp>

#include "report_storage.h"
#include "vmodcheck/vmodcheck.h"
#include "vmodhost/oerr.h"
#include "vmodkit/vmodkit_checks.h"

namespace {

const char *const kKindNames[] = {"raster", "vector", "matrix", "table", "scalar", "function", "criteria", "text"};

// Texts of the model may hold any bytes; JSON strings must be UTF-8, so bytes that are not
// are replaced by U+FFFD instead of failing the whole document.
std::string Utf8(const char *text) {
    std::string out;
    if (text == nullptr) return out;
    const auto *at = reinterpret_cast<const unsigned char *>(text);
    while (*at != 0) {
        size_t length = *at < 0x80 ? 1 : (*at >> 5) == 6 ? 2 : (*at >> 4) == 14 ? 3 : (*at >> 3) == 30 ? 4 : 0;
        bool valid = length > 0;
        for (size_t i = 1; valid && i < length; ++i) valid = (at[i] & 0xC0) == 0x80;
        if (!valid) {
            out += "\xEF\xBF\xBD";
            ++at;
            continue;
        }
        out.append(reinterpret_cast<const char *>(at), length);
        at += length;
    }
    return out;
}

nlohmann::json Summary(Vmod_Model *model) {
    nlohmann::json counts = nlohmann::json::object();
    for (const char *kind : kKindNames) counts[kind] = 0;
    size_t total = 0;
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        ++total;
        if (node->type >= 0 && node->type < 8) counts[kKindNames[node->type]] = counts[kKindNames[node->type]].get<int>() + 1;
    }
    nlohmann::json summary;
    summary["model"] = model->fileName != nullptr ? nlohmann::json(Utf8(model->fileName)) : nlohmann::json(nullptr);
    summary["title"] = model->title != nullptr ? nlohmann::json(Utf8(model->title)) : nlohmann::json(nullptr);
    summary["nodes"] = total;
    summary["kinds"] = counts;
    nlohmann::json operations = nlohmann::json::array();
    size_t count = 0;
    Oerr_ErrorReport *err = nullptr;
    Vmod_Node **order = vmodkit_OperationOrder(model, &count, &err);
    if (err != nullptr) {
        oerr_DeleteErrorReportEx(&err);
        throw std::bad_alloc();
    }
    for (size_t i = 0; i < count; ++i) {
        nlohmann::json operation;
        operation["id"] = order[i]->id;
        operation["kind"] = order[i]->type == VMOD_CRITERIA ? "criteria" : "function";
        operation["title"] = order[i]->title != nullptr ? nlohmann::json(Utf8(order[i]->title)) : nlohmann::json(nullptr);
        operations.push_back(operation);
    }
    vmodkit_Free(order);
    summary["operations"] = operations;
    return summary;
}

std::string Document(const Vmodcheck_Report &report, Vmod_Model *model, bool strict) {
    nlohmann::json document;
    document["schema"] = "vmod-check/" + std::to_string(VMODCHECK_JSON_VERSION);
    document["summary"] = Summary(model);
    nlohmann::json problems = nlohmann::json::array();
    for (size_t i = 0; i < report.count; ++i) {
        const Vmodcheck_Problem &p = report.problems[i];
        nlohmann::json problem;
        problem["code"] = p.code;
        problem["severity"] = vmodcheck_SeverityName(p.severity);
        problem["nodes"] = std::vector<int32_t>(p.nodes, p.nodes + p.nodeCount);
        problem["message"] = Utf8(p.message);
        problem["hint"] = Utf8(p.hint);
        if (p.file != nullptr) {
            problem["location"] = {{"file", Utf8(p.file)}, {"line", p.line}, {"column", p.column}};
        } else {
            problem["location"] = nullptr;
        }
        problems.push_back(problem);
    }
    document["problems"] = problems;
    nlohmann::json prompts = nlohmann::json::array();
    for (size_t i = 0; i < report.promptCount; ++i)
        prompts.push_back({{"order", i + 1}, {"node", report.prompts[i].node}, {"text", Utf8(report.prompts[i].text)}});
    document["prompts"] = prompts;
    document["pages"] = report.pages >= 0 ? nlohmann::json(report.pages) : nlohmann::json(nullptr);
    document["filesChecked"] = report.filesChecked == 1 ? "yes" : report.filesChecked == 0 ? "no" : "unavailable";
    document["counts"] = {{"error", report.errors}, {"warning", report.warnings}, {"info", report.infos}};
    const bool ready = report.errors == 0 && (!strict || report.warnings == 0);
    document["strict"] = strict;
    document["verdict"] = ready ? "ready" : "not ready";
    return document.dump(2) + "\n";
}

} // namespace

extern "C" char *vmodcheck_ReportJson(const Vmodcheck_Report *report, Vmod_Model *model, int32_t strict,
                                      Oerr_ErrorReport **err) {
    if (report == nullptr || model == nullptr) {
        check_Report(err, "vmodcheck_ReportJson", VMOD_ERR_FAILED, "no report or no model");
        return nullptr;
    }
    try {
        const std::string text = Document(*report, model, strict != 0);
        auto *copy = static_cast<char *>(std::malloc(text.size() + 1));
        if (copy == nullptr) throw std::bad_alloc();
        std::memcpy(copy, text.c_str(), text.size() + 1);
        return copy;
    } catch (...) {
        check_ReportCaught(err, "vmodcheck_ReportJson");
        return nullptr;
    }
}
