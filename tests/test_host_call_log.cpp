// The call log itself: switching, clearing, reading lines, and how strings are written.
#include <gtest/gtest.h>

#include "vmodhost/ooml.h"
#include "host_test_support.h"

using host_test::Canvas;
using host_test::Chooser;
using host_test::LogSession;

TEST(vmodhost_LogEnable, NothingIsLoggedWhileOff)
{
    LogSession log;
    Chooser chooser(vmodhost_ChooserCreate("tableChooser"));
    vmodhost_LogEnable(0);
    ooml_PartTitleSet(chooser.get(), "hidden");
    vmodhost_LogEnable(1);
    ooml_PartTitleSet(chooser.get(), "shown");
    EXPECT_EQ(log.lines(), std::vector<std::string>{"ooml_PartTitleSet(tableChooser, \"shown\")"});
}

TEST(vmodhost_LogClear, EmptiesTheLog)
{
    LogSession log;
    Chooser chooser(vmodhost_ChooserCreate("tableChooser"));
    ooml_PartTitleSet(chooser.get(), "a");
    ooml_PartTitleSet(chooser.get(), "b");
    EXPECT_EQ(vmodhost_LogCount(), 2u);
    vmodhost_LogClear();
    EXPECT_EQ(vmodhost_LogCount(), 0u);
    EXPECT_EQ(vmodhost_LogLine(0), nullptr);
}

TEST(vmodhost_LogLine, StringsAreQuotedWithEscapes)
{
    LogSession log;
    Canvas canvas(vmodhost_RecordingCanvasCreate("canvas"));
    // A text node's title can hold quotes, line breaks and any other byte.
    ooml_CanvasDrawText(canvas.get(), "say \"hi\"\\\nline\ttab\r\x01\x7F \xC3\xA9", 0, 0, nullptr);
    ooml_CanvasContextSetFont(canvas.get(), "", nullptr);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "ooml_CanvasDrawText(canvas, \"say \\\"hi\\\"\\\\\\nline\\ttab\\r\\x01\\x7F \xC3\xA9\", 0, 0)",
                               "ooml_CanvasContextSetFont(canvas, \"\")",
                           }));
}
