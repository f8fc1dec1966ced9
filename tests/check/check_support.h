// check_support.h - reading a model from text for the validator's tests, validating it
// and asking which codes it got.
#ifndef VMOD_TESTS_CHECK_SUPPORT_H
#define VMOD_TESTS_CHECK_SUPPORT_H

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "vmod/vmod.h"
#include "vmodcheck/vmodcheck.h"
#include "vmodhost/oerr.h"
#include "vmodkit/vmodkit_model.h"

namespace checktest {

// The header statements of a model that has nothing wrong with it.
inline const char *kHeader =
    "TITLE \"test\";\nPAGESIZE 10, 7.5 INCHES;\nCELLSIZE MINIMUM;\nPRINTERPAGESIZE 8.5, 11;\n"
    "MARGINS 0.5, 0.5, 0.5, 0.5;\nORIENTATION LANDSCAPE;\nPRINTSCALE 100;\nWINDOW UNION;\n"
    "PROJECTION DEFAULT;\nAOI NONE;\nOPTIMIZE NO;\n";

struct ReportDeleter {
    void operator()(Vmodcheck_Report *report) const { vmodcheck_ReportFree(report); }
};
using Report = std::unique_ptr<Vmodcheck_Report, ReportDeleter>;

// A model read from a file in a private directory, as `vmod check` reads one.
class FileModel {
public:
    // text is the whole file (prefix kHeader for a plain model's header).
    explicit FileModel(const std::string &text, const std::string &name = "model.vmf") {
        path_ = dir_.file(name);
        std::ofstream(path_, std::ios::binary) << text;
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelRead(&model_, path_.c_str(), &err);
        read_ = err == nullptr;
        if (err != nullptr) oerr_DeleteErrorReportEx(&err);
    }
    ~FileModel() { vmodkit_ModelRelease(&model_); }
    FileModel(const FileModel &) = delete;
    FileModel &operator=(const FileModel &) = delete;

    bool read() const { return read_; }
    Vmod_Model *model() { return &model_; }
    const std::string &path() const { return path_; }
    const vmodtest::ScratchDir &dir() const { return dir_; }

    // Validates with locations from the file; files are opened only when asked.
    Report validate(bool checkFiles = false) {
        Vmodcheck_Options options{};
        options.checkFiles = checkFiles ? 1 : 0;
        options.sourcePath = path_.c_str();
        Oerr_ErrorReport *err = nullptr;
        Report report(vmodcheck_Validate(&model_, &options, &err));
        EXPECT_EQ(err, nullptr);
        if (err != nullptr) oerr_DeleteErrorReportEx(&err);
        return report;
    }

private:
    vmodtest::ScratchDir dir_;
    std::string path_;
    Vmod_Model model_{};
    bool read_ = false;
};

inline std::vector<std::string> Codes(const Vmodcheck_Report &report) {
    std::vector<std::string> codes;
    for (size_t i = 0; i < report.count; ++i) codes.push_back(report.problems[i].code);
    return codes;
}

inline bool HasCode(const Vmodcheck_Report &report, const std::string &code) {
    const auto codes = Codes(report);
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The first problem with code, or null.
inline const Vmodcheck_Problem *Find(const Vmodcheck_Report &report, const std::string &code) {
    for (size_t i = 0; i < report.count; ++i)
        if (code == report.problems[i].code) return &report.problems[i];
    return nullptr;
}

} // namespace checktest

#endif
