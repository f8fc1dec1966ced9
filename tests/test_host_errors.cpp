// Error reports: formatted messages, chains of causes, and where printed reports go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "host_test_support.h"

using host_test::ErrorSlot;
using host_test::HeapString;
using host_test::LocaleScope;

namespace {

struct SinkCapture {
    std::vector<std::string> texts;
};

void Capture(const char *text, void *user)
{
    static_cast<SinkCapture *>(user)->texts.emplace_back(text);
}

// Sends printed reports to a capture for the scope; standard error afterwards.
class SinkScope {
public:
    SinkScope() { vmodhost_SetErrorSink(Capture, &capture); }
    ~SinkScope() { vmodhost_SetErrorSink(nullptr, nullptr); }
    SinkCapture capture;
};

} // namespace

TEST(oerr_CreateErrorReport, FormatsTheMessageAndKeepsItsFields)
{
    ErrorSlot err;
    *err.out() = oerr_CreateErrorReport("vmod_ModelWrite", 3, 2, nullptr, "Error Cannot Write Model: %s",
                                        "/tmp/m.gmd", 0);
    ASSERT_TRUE(err);
    EXPECT_STREQ(vmodhost_ErrorMessage(err.get()), "Error Cannot Write Model: /tmp/m.gmd");
    EXPECT_STREQ(vmodhost_ErrorFunction(err.get()), "vmod_ModelWrite");
    EXPECT_EQ(vmodhost_ErrorCode(err.get()), 3);
    EXPECT_EQ(vmodhost_ErrorSeverity(err.get()), 2);
    EXPECT_EQ(vmodhost_ErrorCause(err.get()), nullptr);
}

TEST(oerr_CreateErrorReport, NumbersUseAPointInAnyLocale)
{
    LocaleScope german("de_DE.UTF-8");
    if (!german.ok())
        GTEST_SKIP() << "de_DE.UTF-8 locale not available";
    ErrorSlot err;
    *err.out() = oerr_CreateErrorReport("f", 1, 2, nullptr, "Bad size %g", 2.5, 0);
    EXPECT_STREQ(vmodhost_ErrorMessage(err.get()), "Bad size 2.5");
}

TEST(oerr_CreateErrorReport, ChainsToItsCause)
{
    ErrorSlot err;
    Oerr_ErrorReport *inner = oerr_CreateErrorReport("olex_Parse", 1, 2, nullptr, "syntax error at line %d", 4, 0);
    *err.out() = oerr_CreateErrorReport("vmod_ModelRead", 2, 2, inner, "Error Parsing Model: %s", "a.gmd", 0);
    EXPECT_EQ(vmodhost_ErrorCause(err.get()), inner);
    EXPECT_EQ(err.chainLength(), 2);
    HeapString text(vmodhost_ErrorChainText(err.get()));
    EXPECT_STREQ(text.get(), "Error Parsing Model: a.gmd\nsyntax error at line 4");
}

TEST(oerr_DeleteErrorReportEx, ReleasesTheWholeChainAndClearsTheHandle)
{
    Oerr_ErrorReport *report = nullptr;
    for (int i = 0; i < 5; ++i)
        report = oerr_CreateErrorReport("f", i, 2, report, "level %d", i, 0);
    oerr_DeleteErrorReportEx(&report); // the leak checker sees any cause left behind
    EXPECT_EQ(report, nullptr);
    oerr_DeleteErrorReportEx(&report);
    oerr_DeleteErrorReportEx(nullptr);
}

TEST(oerr_PrintErrorReport, SendsEveryMessageOfTheChainToTheSink)
{
    SinkScope sink;
    ErrorSlot err;
    Oerr_ErrorReport *inner = oerr_CreateErrorReport("ofio_Open", 1, 2, nullptr, "no such directory", 0);
    *err.out() = oerr_CreateErrorReport("vmod_ModelWrite", 1, 2, inner, "Error Cannot Write Model: %s", "m", 0);
    oerr_PrintErrorReport(err.get(), 0, 0);
    ASSERT_EQ(sink.capture.texts.size(), 1u);
    EXPECT_EQ(sink.capture.texts[0], "Error Cannot Write Model: m\nno such directory\n");
    EXPECT_TRUE(err) << "printing does not release the report";
}

