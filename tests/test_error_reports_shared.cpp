// One error-report handle shared by library and host calls: no report is dropped (so a
// single release frees them all, which LeakSanitizer checks in CI), a call that succeeds
// leaves the handle alone, and each failure still prints its own report alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"
#include "vmod/vmod.h"

namespace {

const char kMissingDir[] = "/nonexistent-vmod-dir";

std::vector<std::string> chainFunctions(const Oerr_ErrorReport *report) {
    std::vector<std::string> names;
    for (; report != nullptr; report = vmodhost_ErrorCause(report)) names.push_back(vmodhost_ErrorFunction(report));
    return names;
}

// Collects what oerr_PrintErrorReport shows while it lives.
struct PrintedText {
    std::vector<std::string> shown;
    PrintedText() {
        vmodhost_SetErrorSink([](const char *text, void *user) { static_cast<PrintedText *>(user)->shown.emplace_back(text); },
                              this);
    }
    ~PrintedText() { vmodhost_SetErrorSink(nullptr, nullptr); }
    PrintedText(const PrintedText &) = delete;
    PrintedText &operator=(const PrintedText &) = delete;
};

// A model whose save fails: its file is in a directory that does not exist.
struct UnsavableModel {
    Vmod_Model model{};
    UnsavableModel() { model.fileName = ostr_Duplicate((std::string(kMissingDir) + "/m.vmf").c_str()); }
    ~UnsavableModel() { vmod_ModelDelete(&model, nullptr); }
    UnsavableModel(const UnsavableModel &) = delete;
    UnsavableModel &operator=(const UnsavableModel &) = delete;
};

} // namespace

TEST(SharedErrorReport, EveryFailureStaysInTheChainAndOneReleaseFreesIt) {
    UnsavableModel m;
    const std::string missing = std::string(kMissingDir) + "/missing.vmf";
    PrintedText printed;
    Oerr_ErrorReport *err = nullptr;

    vmod_ModelWrite(&m.model, &err);
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(ofio_Open(missing.c_str(), "r", &err), nullptr);
    EXPECT_EQ(vmod_ModelParse(missing.c_str(), &err), nullptr);
    const Oerr_ErrorReport *before = err;
    EXPECT_EQ(vmod_IdToNode(&m.model, 1, &err), nullptr); // succeeds: finds nothing, reports nothing
    EXPECT_EQ(err, before);
    vmod_ModelEPS(kMissingDir, nullptr, &err); // nothing to do without a model: no report
    EXPECT_EQ(err, before);

    // Newest first; each call's own chain, then the earlier reports below it.
    const std::vector<std::string> expected = {"vmod_ModelParse", "olex_Parse", "ofio_Open", "vmod_ModelWrite",
                                               "ofio_SaveBegin"};
    EXPECT_EQ(chainFunctions(err), expected);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(err, nullptr);

    // What each failure printed is its own report, as with a fresh handle.
    ASSERT_EQ(printed.shown.size(), 2u);
    EXPECT_EQ(printed.shown[0].rfind("Error Cannot Write Model: " + std::string(kMissingDir) + "/m.vmf\n", 0), 0u);
    EXPECT_EQ(printed.shown[1].find("Cannot Write"), std::string::npos) << printed.shown[1]; // the parser's alone
    EXPECT_NE(printed.shown[1].find("missing.vmf: cannot open the file"), std::string::npos) << printed.shown[1];
}

TEST(SharedErrorReport, AFreshHandleStillTellsWhetherOneCallFailed) {
    UnsavableModel m;
    PrintedText printed;
    Oerr_ErrorReport *earlier = oerr_CreateErrorReport("front_end", 1, 2, nullptr, "earlier", 0);
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelWrite(&m.model, &err);
    ASSERT_NE(err, nullptr);
    const std::string alone = vmodhost_ErrorMessage(err);
    oerr_DeleteErrorReportEx(&err);

    // The same failure over a handle that holds a report: the same outermost report, the
    // earlier one last.
    err = earlier;
    vmod_ModelWrite(&m.model, &err);
    EXPECT_EQ(vmodhost_ErrorMessage(err), alone);
    const std::vector<std::string> expected = {"vmod_ModelWrite", "ofio_SaveBegin", "front_end"};
    EXPECT_EQ(chainFunctions(err), expected);
    ASSERT_EQ(printed.shown.size(), 2u);
    EXPECT_EQ(printed.shown[0], printed.shown[1]);
    oerr_DeleteErrorReportEx(&err);
}

TEST(SharedErrorReport, AFrontEndCanSilenceThePrintedCopy) {
    UnsavableModel m;
    testing::internal::CaptureStderr();
    vmodhost_SetErrorSink(vmodhost_IgnoreErrorText, nullptr);
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelWrite(&m.model, &err);
    vmodhost_SetErrorSink(nullptr, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(err, nullptr); // the returned report is whole
    EXPECT_EQ(chainFunctions(err).size(), 2u);
    oerr_DeleteErrorReportEx(&err);
}

TEST(SharedErrorReport, AppendingAReportAlreadyInTheChainLeavesItOnce) {
    Oerr_ErrorReport *cause = oerr_CreateErrorReport("cause", 1, 2, nullptr, "cause", 0);
    Oerr_ErrorReport *chain = oerr_CreateErrorReport("outer", 1, 2, cause, "outer", 0);
    vmodhost_ErrorAppendCause(&chain, cause);
    vmodhost_ErrorAppendCause(&chain, chain);
    vmodhost_ErrorAppendCause(&chain, nullptr);
    EXPECT_EQ(chainFunctions(chain), (std::vector<std::string>{"outer", "cause"}));
    Oerr_ErrorReport *empty = nullptr;
    vmodhost_ErrorAppendCause(&empty, chain);
    EXPECT_EQ(empty, chain);
    oerr_DeleteErrorReportEx(&empty);
}
