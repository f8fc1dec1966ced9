// report_storage.cpp - the report's own copies, ordered by severity (stable, so each
// group keeps the order the checks found it in).
#include "report_storage.h"

#include <algorithm>

void ReportStorage::fill(std::vector<Problem> problems, std::vector<PromptRecord> prompts, const std::string &file) {
    problems_ = std::move(problems);
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const Problem &a, const Problem &b) { return a.severity < b.severity; });
    prompts_ = std::move(prompts);
    file_ = file;
    records_.clear();
    records_.reserve(problems_.size());
    for (const Problem &problem : problems_) {
        Vmodcheck_Problem record{};
        record.code = problem.code.c_str();
        record.severity = problem.severity;
        record.nodeCount = problem.nodes.size();
        record.nodes = problem.nodes.empty() ? nullptr : problem.nodes.data();
        record.message = problem.message.c_str();
        record.hint = problem.hint.c_str();
        const bool located = !file_.empty() && problem.place.line > 0;
        record.file = located ? file_.c_str() : nullptr;
        record.line = located ? problem.place.line : 0;
        record.column = located ? problem.place.column : 0;
        records_.push_back(record);
        if (problem.severity >= 0 && problem.severity < 3) ++counts_[problem.severity];
    }
    promptRecords_.clear();
    for (const PromptRecord &prompt : prompts_) promptRecords_.push_back({prompt.node, prompt.text.c_str()});
}

void ReportStorage::describe(Vmodcheck_Report &report) const {
    report.count = records_.size();
    report.problems = records_.empty() ? nullptr : records_.data();
    report.errors = counts_[VMODCHECK_ERROR];
    report.warnings = counts_[VMODCHECK_WARNING];
    report.infos = counts_[VMODCHECK_INFO];
    report.promptCount = promptRecords_.size();
    report.prompts = promptRecords_.empty() ? nullptr : promptRecords_.data();
}
