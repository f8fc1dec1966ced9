// File choosers: titles, the query answered by the installed handler, and value sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vmodhost/ooml.h"
#include "vmodhost/ostr.h"
#include "host_test_support.h"

using host_test::Chooser;
using host_test::ErrorSlot;
using host_test::Frame;
using host_test::HandlerScope;
using host_test::HeapString;
using host_test::LogSession;

namespace {

// What a scripted user does: the answer to give (or cancel), and what it was shown.
struct ScriptedUser {
    int32_t confirm = 1;
    const char *answer = "/data/lake.img";
    std::vector<std::string> titlesSeen;
    std::vector<std::string> valuesSeen;
    Ooml_Part *partSeen = nullptr;
};

int32_t Answer(Ooml_Part *part, const char *title, void *user, char **answer)
{
    auto *scripted = static_cast<ScriptedUser *>(user);
    scripted->partSeen = part;
    scripted->titlesSeen.emplace_back(title);
    scripted->valuesSeen.emplace_back(ooml_PartValueText(part));
    *answer = ostr_Duplicate(scripted->answer);
    return scripted->confirm;
}

// A handler that retitles the chooser while the query is open.
int32_t Retitle(Ooml_Part *part, const char *title, void *user, char **answer)
{
    std::string before = title;
    ooml_PartTitleSet(part, "a much longer title that needs a new allocation for its text");
    *static_cast<std::string *>(user) = before + "|" + title;
    *answer = ostr_Duplicate("x.img");
    return 1;
}

} // namespace

TEST(ooml_FileNameListQuery, DefaultHandlerCancels)
{
    vmodhost_SetChooserHandler(nullptr, nullptr);
    Chooser chooser(vmodhost_ChooserCreate("rasterChooser"));
    ErrorSlot err;
    EXPECT_EQ(ooml_FileNameListQuery(chooser.get(), nullptr, err.out()), 0);
    EXPECT_STREQ(ooml_PartValueText(chooser.get()), "");
    EXPECT_FALSE(err) << "a cancel is the user's choice, not a failure";
}

TEST(ooml_FileNameListQuery, ConfirmedAnswerBecomesTheValue)
{
    ScriptedUser user;
    HandlerScope scope(Answer, &user);
    Chooser chooser(vmodhost_ChooserCreate("rasterChooser"));
    Frame frame(vmodhost_FrameCreate());
    ooml_PartTitleSet(chooser.get(), "Select Existing File for Raster:   n1_a");
    ErrorSlot err;
    EXPECT_NE(ooml_FileNameListQuery(chooser.get(), frame.get(), err.out()), 0);
    EXPECT_STREQ(ooml_PartValueText(chooser.get()), "/data/lake.img");
    EXPECT_EQ(user.partSeen, chooser.get());
    EXPECT_EQ(user.titlesSeen, std::vector<std::string>{"Select Existing File for Raster:   n1_a"});
    EXPECT_FALSE(err);
}

TEST(ooml_FileNameListQuery, CancelKeepsTheEarlierValueAndReleasesAnyAnswer)
{
    ScriptedUser user;
    HandlerScope scope(Answer, &user);
    Chooser chooser(vmodhost_ChooserCreate("tableChooser"));
    ooml_FileNameListQuery(chooser.get(), nullptr, nullptr);
    user.confirm = 0;
    user.answer = "/data/other.tab"; // given back with the cancel; the host must still release it
    EXPECT_EQ(ooml_FileNameListQuery(chooser.get(), nullptr, nullptr), 0);
    EXPECT_STREQ(ooml_PartValueText(chooser.get()), "/data/lake.img");
}

TEST(ooml_FileNameListQuery, ConfirmWithoutANameCountsAsCancel)
{
    ScriptedUser user;
    user.answer = nullptr;
    HandlerScope scope(Answer, &user);
    Chooser chooser(vmodhost_ChooserCreate("scalarChooser"));
    EXPECT_EQ(ooml_FileNameListQuery(chooser.get(), nullptr, nullptr), 0);
    EXPECT_STREQ(ooml_PartValueText(chooser.get()), "");
}

TEST(ooml_FileNameListQuery, TheTitleShownStaysValidWhenTheHandlerRetitles)
{
    std::string seen;
    HandlerScope scope(Retitle, &seen);
    Chooser chooser(vmodhost_ChooserCreate("rasterChooser"));
    ooml_PartTitleSet(chooser.get(), "short");
    EXPECT_NE(ooml_FileNameListQuery(chooser.get(), nullptr, nullptr), 0);
    EXPECT_EQ(seen, "short|short");
}

TEST(ooml_FileNameListQuery, NullPartIsReportedAsACancel)
{
    ScriptedUser user;
    HandlerScope scope(Answer, &user);
    ErrorSlot err;
    EXPECT_EQ(ooml_FileNameListQuery(nullptr, nullptr, err.out()), 0);
    EXPECT_EQ(err.message(), "Missing part");
    EXPECT_TRUE(user.titlesSeen.empty());
}

TEST(vmodhost_SetChooserHandler, NullRestoresTheCancellingDefault)
{
    ScriptedUser user;
    Chooser chooser(vmodhost_ChooserCreate("rasterChooser"));
    vmodhost_SetChooserHandler(Answer, &user);
    vmodhost_SetChooserHandler(nullptr, &user);
    EXPECT_EQ(ooml_FileNameListQuery(chooser.get(), nullptr, nullptr), 0);
    EXPECT_TRUE(user.titlesSeen.empty());
}

TEST(vmodhost_GetChooserHandler, GivesWhatWasInstalledSoItCanBePutBack)
{
    ScriptedUser user;
    Vmodhost_ChooserHandler handler = Answer;
    void *data = &user;
    vmodhost_SetChooserHandler(nullptr, nullptr);
    vmodhost_GetChooserHandler(&handler, &data);
    EXPECT_EQ(handler, nullptr) << "the default is not handed out";
    EXPECT_EQ(data, nullptr);

    HandlerScope scope(Answer, &user);
    vmodhost_GetChooserHandler(&handler, &data);
    EXPECT_EQ(handler, &Answer);
    EXPECT_EQ(data, &user);
    vmodhost_GetChooserHandler(nullptr, nullptr); // either may be left out

    // Put back as given, it answers as before.
    vmodhost_SetChooserHandler(Retitle, nullptr);
    vmodhost_SetChooserHandler(handler, data);
    Chooser chooser(vmodhost_ChooserCreate("rasterChooser"));
    ooml_PartTitleSet(chooser.get(), "Select Existing File for Raster:   dem");
    EXPECT_EQ(ooml_FileNameListQuery(chooser.get(), nullptr, nullptr), 1);
    ASSERT_EQ(user.titlesSeen.size(), 1u);
}

TEST(ooml_SetValue, AOneMemberTextSetBecomesTheFilterTheHandlerSees)
{
    ScriptedUser user;
    HandlerScope scope(Answer, &user);
    Chooser chooser(vmodhost_ChooserCreate("vectorChooser"));
    ErrorSlot err;
    // The declaration code's sequence: copy, member, set, value, then free its copy.
    char *filter = ostr_Duplicate("*.ovr");
    Ooci_Member *member = ooci_NewMember(2, &filter);
    ASSERT_NE(member, nullptr);
    Ooci_Set *set = ooci_NewSet(2, member);
    ASSERT_NE(set, nullptr);
    ooml_SetValue(chooser.get(), set, err.out());
    omsc_HeapFree(filter);
    EXPECT_STREQ(ooml_PartValueText(chooser.get()), "*.ovr");
    ooml_FileNameListQuery(chooser.get(), nullptr, nullptr);
    EXPECT_EQ(user.valuesSeen, std::vector<std::string>{"*.ovr"});
    EXPECT_STREQ(ooml_PartValueText(chooser.get()), "/data/lake.img");
    EXPECT_FALSE(err);
}

TEST(ooml_SetValue, NullPartIsReportedAndTheSetReleased)
{
    char *filter = ostr_Duplicate("*.arcinfo");
    Ooci_Set *set = ooci_NewSet(2, ooci_NewMember(2, &filter));
    ErrorSlot err;
    ooml_SetValue(nullptr, set, err.out()); // the leak checker catches a set left behind
    EXPECT_EQ(err.message(), "Missing part");
}

TEST(ooci_NewMember, TakesTheTextAndClearsTheCallersPointer)
{
    char *text = ostr_Duplicate("*.img");
    Ooci_Member *member = ooci_NewMember(2, &text);
    EXPECT_NE(member, nullptr);
    EXPECT_EQ(text, nullptr);
    omsc_HeapFree(text); // what the caller does with its copy: freeing null is harmless
    Chooser chooser(vmodhost_ChooserCreate("vectorChooser"));
    ooml_SetValue(chooser.get(), ooci_NewSet(2, member), nullptr);
    EXPECT_STREQ(ooml_PartValueText(chooser.get()), "*.img");
}

TEST(ooci_NewMember, OtherKindsAndNullTextsMakeNoMember)
{
    char *text = ostr_Duplicate("*.img");
    EXPECT_EQ(ooci_NewMember(1, &text), nullptr);
    EXPECT_NE(text, nullptr) << "the caller keeps a text that was not taken";
    omsc_HeapFree(text);
    char *none = nullptr;
    EXPECT_EQ(ooci_NewMember(2, &none), nullptr);
    EXPECT_EQ(ooci_NewMember(2, nullptr), nullptr);
}

TEST(ooci_NewSet, ReleasesAMemberItCannotHold)
{
    char *text = ostr_Duplicate("*.img");
    Ooci_Member *member = ooci_NewMember(2, &text);
    EXPECT_EQ(ooci_NewSet(3, member), nullptr); // the leak checker catches a member left behind
    EXPECT_EQ(ooci_NewSet(2, nullptr), nullptr);
}

TEST(ooml_FileNameListTypeDefAdd, NullPartOrTypeIsReported)
{
    Chooser chooser(vmodhost_ChooserCreate("rasterChooser"));
    ErrorSlot err;
    ooml_FileNameListTypeDefAdd(chooser.get(), nullptr, 0, err.out());
    EXPECT_EQ(err.message(), "Missing file type");
    ooml_FileNameListTypeDefAddEx(nullptr, "raster", 0, 2, 2, 3, err.out());
    ooml_FileNameListTypeDefsClear(nullptr, err.out());
    ooml_FileNameListTemplateSet(nullptr, "*.img", err.out());
    EXPECT_EQ(err.chainLength(), 4);
}

TEST(ooml_FileNameListQuery, ARasterPromptIsLoggedCallByCall)
{
    ScriptedUser user;
    HandlerScope scope(Answer, &user);
    LogSession log;
    Chooser chooser(vmodhost_ChooserCreate("rasterChooser"));
    Frame frame(vmodhost_FrameCreate());
    ErrorSlot err;
    ooml_FileNameListTypeDefsClear(chooser.get(), err.out());
    ooml_FileNameListTypeDefAddEx(chooser.get(), "raster", 0, 2, 2, 3, err.out());
    ooml_FileNameListTypeDefAdd(chooser.get(), "raster", 0, err.out());
    ooml_PartTitleSet(chooser.get(), "Select Existing File for Raster:   n1_a");
    ooml_FileNameListTemplateSet(chooser.get(), "*.img", err.out());
    ooml_FileNameListQuery(chooser.get(), frame.get(), err.out());
    ooml_PartValueText(chooser.get());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "ooml_FileNameListTypeDefsClear(rasterChooser)",
                               "ooml_FileNameListTypeDefAddEx(rasterChooser, \"raster\", 0, 2, 2, 3)",
                               "ooml_FileNameListTypeDefAdd(rasterChooser, \"raster\", 0)",
                               "ooml_PartTitleSet(rasterChooser, \"Select Existing File for Raster:   n1_a\")",
                               "ooml_FileNameListTemplateSet(rasterChooser, \"*.img\")",
                               "ooml_FileNameListQuery(rasterChooser, frame)",
                               // the handler read the filter during the query
                               "ooml_PartValueText(rasterChooser)",
                               "ooml_PartValueText(rasterChooser)",
                           }));
}

TEST(ooml_SetValue, AVectorFilterIsLoggedCallByCall)
{
    LogSession log;
    Chooser chooser(vmodhost_ChooserCreate("vectorChooser"));
    char *filter = ostr_Duplicate("*.arcinfo");
    Ooci_Member *member = ooci_NewMember(2, &filter);
    Ooci_Set *set = ooci_NewSet(2, member);
    ooml_SetValue(chooser.get(), set, nullptr);
    ooml_SetValue(nullptr, nullptr, nullptr);
    ooml_FileNameListQuery(chooser.get(), nullptr, nullptr);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "ooci_NewMember(2, \"*.arcinfo\")",
                               "ooci_NewSet(2, \"*.arcinfo\")",
                               "ooml_SetValue(vectorChooser, {\"*.arcinfo\"})",
                               "ooml_SetValue(NULL, NULL)",
                               "ooml_FileNameListQuery(vectorChooser, NULL)",
                           }));
}
