// User preferences: string and number settings with the caller's defaults.
#include <gtest/gtest.h>

#include "vmodhost/opmg.h"
#include "host_test_support.h"

using host_test::ErrorSlot;
using host_test::HeapString;
using host_test::LocaleScope;

namespace {

// An empty store for the scope of a test, and afterwards.
struct EmptyStore {
    EmptyStore() { vmodhost_ClearPreferences(); }
    ~EmptyStore() { vmodhost_ClearPreferences(); }
};

double Number(const char *setting, double def = -7.0)
{
    vmodhost_SetPreference("modeler", "stats_ignore_value", setting);
    ErrorSlot err;
    double value = opmg_GetNumberPreference("modeler", "stats_ignore_value", def, err.out());
    EXPECT_FALSE(err);
    return value;
}

} // namespace

TEST(opmg_GetStringPreference, UnsetGivesACopyOfTheDefault)
{
    EmptyStore store;
    const char *def = "fixed";
    ErrorSlot err;
    HeapString value(opmg_GetStringPreference("modeler", "backup_font", def, err.out()));
    ASSERT_NE(value, nullptr);
    EXPECT_NE(value.get(), def);
    EXPECT_STREQ(value.get(), "fixed");
    EXPECT_FALSE(err);
}

TEST(opmg_GetStringPreference, SetThenUnset)
{
    EmptyStore store;
    vmodhost_SetPreference("modeler", "backup_font", "courier");
    HeapString set(opmg_GetStringPreference("modeler", "backup_font", "fixed", nullptr));
    EXPECT_STREQ(set.get(), "courier");

    vmodhost_SetPreference("modeler", "backup_font", nullptr);
    HeapString unset(opmg_GetStringPreference("modeler", "backup_font", "fixed", nullptr));
    EXPECT_STREQ(unset.get(), "fixed");
}

TEST(opmg_GetStringPreference, KeysBelongToTheirCategory)
{
    EmptyStore store;
    vmodhost_SetPreference("viewer", "backup_font", "courier");
    HeapString value(opmg_GetStringPreference("modeler", "backup_font", "fixed", nullptr));
    EXPECT_STREQ(value.get(), "fixed");
}

TEST(opmg_GetNumberPreference, ParsesNumbers)
{
    EmptyStore store;
    EXPECT_EQ(Number("2.5"), 2.5);
    EXPECT_EQ(Number("-3"), -3.0);
    EXPECT_EQ(Number("1e3"), 1000.0);
    EXPECT_EQ(Number(" 4 "), 4.0);
}

TEST(opmg_GetNumberPreference, NotANumberGivesTheDefault)
{
    EmptyStore store;
    EXPECT_EQ(Number("abc"), -7.0);
    EXPECT_EQ(Number("12abc"), -7.0);
    EXPECT_EQ(Number(""), -7.0);
    EXPECT_EQ(Number("1e999"), -7.0);
    EXPECT_EQ(Number("nan"), -7.0);
}

TEST(opmg_GetNumberPreference, ReadsAPointUnderACommaLocale)
{
    EmptyStore store;
    LocaleScope german("de_DE.UTF-8");
    if (!german.ok())
        GTEST_SKIP() << "de_DE.UTF-8 locale not available";
    EXPECT_EQ(Number("2.5"), 2.5);
}

