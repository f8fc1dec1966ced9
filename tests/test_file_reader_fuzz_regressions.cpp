// Replays every input kept in tests/fuzz_regressions/ (inputs the fuzzer once found to
// crash, leak or misbehave). Each must give a model or a report, and under the sanitizer
// build nothing may be reported.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/reader_support.h"

TEST(vmod_ModelParse, FuzzRegressionsParseOrFailCleanly) {
    std::filesystem::path directory = std::filesystem::path(VMOD_SOURCE_DIR) / "tests" / "fuzz_regressions";
    int replayed = 0;
    for (const auto &entry : std::filesystem::directory_iterator(directory)) {
        if (!entry.is_regular_file())
            continue;
        std::string bytes = readFile(entry.path().string());
        ReportKeeper report;
        ParsedModel model = parseText(bytes, report, "fuzz.vmf");
        if (model != nullptr) {
            Oerr_ErrorReport *local = nullptr;
            vmod_UpdateNodes(model.get(), &local);
            oerr_DeleteErrorReportEx(&local);
        }
        EXPECT_TRUE((model == nullptr) != (report.report == nullptr)) << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}
