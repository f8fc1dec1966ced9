// report_storage.h - what a Vmodcheck_Report points into: the problems and prompts as
// strings and arrays owned by one object, ordered errors first.
#ifndef VMODCHECK_REPORT_STORAGE_H
#define VMODCHECK_REPORT_STORAGE_H

#include <string>
#include <vector>

#include "check_problems.h"
#include "checks.h"
#include "vmodcheck/vmodcheck.h"

class ReportStorage {
public:
    void fill(ProblemList problems, std::vector<PromptRecord> prompts, const std::string &file);
    void describe(Vmodcheck_Report &report) const;

private:
    ProblemList problems_; // in the order found; records_ gives the report's order
    std::vector<PromptRecord> prompts_;
    std::string file_;
    std::vector<Vmodcheck_Problem> records_;
    std::vector<Vmodcheck_Prompt> promptRecords_;
    size_t counts_[3] = {0, 0, 0};
};

// Reports for the C boundary, chained onto what *err holds.
void check_Report(Oerr_ErrorReport **err, const char *function, int32_t code, const char *message);
// The report for the exception being handled (call inside a catch block).
void check_ReportCaught(Oerr_ErrorReport **err, const char *function);

#endif
