// report_storage.cpp - the report's own copies, ordered by severity (stable, so each
// group keeps the order the checks found it in).
#include "report_storage.h"

#include <algorithm>

void ReportStorage::fill(ProblemList problems, std::vector<PromptRecord> prompts, const std::string &file) {
    problems_ = std::move(problems);
    const std::deque<Problem> &all = problems_.all();
    // The report lists errors first, each severity in the order found. Only the order of
    // the records is sorted, so the problems themselves are never moved or copied.
    std::vector<uint32_t> order(all.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&all](uint32_t a, uint32_t b) { return all[a].severity < all[b].severity; });
    prompts_ = std::move(prompts);
    file_ = file;
    records_.clear();
    records_.reserve(all.size());
    for (const uint32_t at : order) {
        const Problem &problem = all[at];
        Vmodcheck_Problem record{};
        record.code = problem.code.data();
        record.severity = problem.severity;
        record.nodeCount = problem.nodeCount;
        record.nodes = problem.nodeIds;
        record.message = problem.message;
        record.hint = problem.hint;
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
