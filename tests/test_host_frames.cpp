// Frame parts and menu items: found by name, enabled and greyed, failures reported.
#include <gtest/gtest.h>

#include "vmodhost/ooml.h"
#include "host_test_support.h"

using host_test::ErrorSlot;
using host_test::Frame;
using host_test::LogSession;
using host_test::Menu;

TEST(ooml_FrameFindPart, FindsTheAddedPart)
{
    Frame frame(vmodhost_FrameCreate());
    Ooml_Part *run = vmodhost_FrameAddPart(frame.get(), "vmodframe:runb");
    vmodhost_FrameAddPart(frame.get(), "vmodframe:stopb");
    ErrorSlot err;
    EXPECT_EQ(ooml_FrameFindPart(frame.get(), "vmodframe:runb", err.out()), run);
    EXPECT_FALSE(err);
    EXPECT_STREQ(vmodhost_PartName(run), "vmodframe:runb");
}

TEST(ooml_FrameFindPart, UnknownNameGivesNullAndAReport)
{
    Frame frame(vmodhost_FrameCreate());
    vmodhost_FrameAddPart(frame.get(), "vmodframe:runb");
    ErrorSlot err;
    EXPECT_EQ(ooml_FrameFindPart(frame.get(), "vmodframe:run", err.out()), nullptr);
    ASSERT_TRUE(err);
    EXPECT_EQ(err.message(), "No Such Part: vmodframe:run");
    EXPECT_STREQ(vmodhost_ErrorFunction(err.get()), "ooml_FrameFindPart");
    EXPECT_EQ(vmodhost_ErrorSeverity(err.get()), 2);
}

TEST(ooml_FrameFindPart, NullFrameOrNameGivesNullAndAReport)
{
    Frame frame(vmodhost_FrameCreate());
    ErrorSlot err;
    EXPECT_EQ(ooml_FrameFindPart(nullptr, "vmodframe:runb", err.out()), nullptr);
    EXPECT_TRUE(err);
    err.reset();
    EXPECT_EQ(ooml_FrameFindPart(frame.get(), nullptr, err.out()), nullptr);
    EXPECT_TRUE(err);
    EXPECT_EQ(ooml_FrameFindPart(frame.get(), "x", nullptr), nullptr); // no slot: nothing to report into
}

TEST(ooml_FrameFindPart, AReportAlreadyInTheSlotBecomesTheCause)
{
    Frame frame(vmodhost_FrameCreate());
    ErrorSlot err;
    ooml_FrameFindPart(frame.get(), "first", err.out());
    Oerr_ErrorReport *first = err.get();
    ooml_FrameFindPart(frame.get(), "second", err.out());
    EXPECT_EQ(err.chainLength(), 2);
    EXPECT_EQ(err.message(), "No Such Part: second");
    EXPECT_EQ(vmodhost_ErrorCause(err.get()), first);
}

TEST(ooml_PartEnable, EnablesAndDisablesThePart)
{
    Frame frame(vmodhost_FrameCreate());
    Ooml_Part *run = vmodhost_FrameAddPart(frame.get(), "vmodframe:runb");
    EXPECT_EQ(vmodhost_PartEnabled(run), -1);
    ErrorSlot err;
    ooml_PartDisable(run, err.out());
    EXPECT_EQ(vmodhost_PartEnabled(run), 0);
    ooml_PartEnable(run, err.out());
    EXPECT_EQ(vmodhost_PartEnabled(run), 1);
    ooml_PartEnable(run, err.out());
    EXPECT_EQ(vmodhost_PartEnabled(run), 1);
    EXPECT_FALSE(err);
}

TEST(ooml_PartEnable, NullPartIsReportedNotFollowed)
{
    ErrorSlot err;
    ooml_PartEnable(nullptr, err.out());
    ASSERT_TRUE(err);
    EXPECT_EQ(err.message(), "Missing part");
    err.reset();
    ooml_PartDisable(nullptr, err.out());
    EXPECT_STREQ(vmodhost_ErrorFunction(err.get()), "ooml_PartDisable");
    ooml_PartEnable(nullptr, nullptr);
}

TEST(ooml_PartEnable, SuccessLeavesAnEarlierReportInPlace)
{
    Frame frame(vmodhost_FrameCreate());
    Ooml_Part *run = vmodhost_FrameAddPart(frame.get(), "vmodframe:runb");
    ErrorSlot err;
    ooml_PartEnable(nullptr, err.out());
    Oerr_ErrorReport *earlier = err.get();
    ooml_PartEnable(run, err.out());
    EXPECT_EQ(err.get(), earlier);
}

TEST(vmodhost_FrameAddPart, ANameIsAddedOnce)
{
    Frame frame(vmodhost_FrameCreate());
    Ooml_Part *first = vmodhost_FrameAddPart(frame.get(), "vmodframe:runb");
    EXPECT_EQ(vmodhost_FrameAddPart(frame.get(), "vmodframe:runb"), first);
    EXPECT_EQ(vmodhost_FrameAddPart(nullptr, "x"), nullptr);
    EXPECT_EQ(vmodhost_FrameAddPart(frame.get(), nullptr), nullptr);
}

TEST(vmodhost_ChooserDelete, IgnoresAPartOwnedByAFrame)
{
    Frame frame(vmodhost_FrameCreate());
    Ooml_Part *run = vmodhost_FrameAddPart(frame.get(), "vmodframe:runb");
    vmodhost_ChooserDelete(run); // the frame still owns it; releasing the frame must not free it twice
    EXPECT_EQ(ooml_FrameFindPart(frame.get(), "vmodframe:runb", nullptr), run);
}

TEST(ooml_MenuItemEnable, ItemsRememberTheirState)
{
    Menu menu(vmodhost_MenuCreate());
    EXPECT_EQ(vmodhost_MenuItemEnabled(menu.get(), "selprocess"), -1);
    ErrorSlot err;
    ooml_MenuItemDisable(menu.get(), "selprocess", err.out());
    EXPECT_EQ(vmodhost_MenuItemEnabled(menu.get(), "selprocess"), 0);
    ooml_MenuItemEnable(menu.get(), "selprocess", err.out());
    EXPECT_EQ(vmodhost_MenuItemEnabled(menu.get(), "selprocess"), 1);
    EXPECT_EQ(vmodhost_MenuItemEnabled(menu.get(), "other"), -1);
    EXPECT_FALSE(err);
}

TEST(ooml_MenuItemEnable, NullMenuOrItemIsReported)
{
    Menu menu(vmodhost_MenuCreate());
    ErrorSlot err;
    ooml_MenuItemEnable(nullptr, "selprocess", err.out());
    EXPECT_EQ(err.message(), "Missing menu");
    err.reset();
    ooml_MenuItemDisable(menu.get(), nullptr, err.out());
    EXPECT_EQ(err.message(), "Missing menu item");
    EXPECT_EQ(vmodhost_MenuItemEnabled(nullptr, "selprocess"), -1);
    EXPECT_EQ(vmodhost_MenuItemEnabled(menu.get(), nullptr), -1);
}

TEST(ooml_MenuItemEnable, IsLogged)
{
    LogSession log;
    Menu menu(vmodhost_MenuCreate());
    Frame frame(vmodhost_FrameCreate());
    Ooml_Part *run = vmodhost_FrameAddPart(frame.get(), "vmodframe:runb");
    ooml_MenuItemEnable(menu.get(), "selprocess", nullptr);
    ooml_MenuItemDisable(menu.get(), "selprocess", nullptr);
    ooml_FrameFindPart(frame.get(), "vmodframe:runb", nullptr);
    ooml_PartEnable(run, nullptr);
    ooml_PartDisable(nullptr, nullptr);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "ooml_MenuItemEnable(menu, \"selprocess\")",
                               "ooml_MenuItemDisable(menu, \"selprocess\")",
                               "ooml_FrameFindPart(frame, \"vmodframe:runb\")",
                               "ooml_PartEnable(vmodframe:runb)",
                               "ooml_PartDisable(NULL)",
                           }));
}
