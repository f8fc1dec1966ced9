// Files and formatted output: exact bytes, "." decimal points in every locale, and write
// failures that are never reported as success.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "vmodhost/ofio.h"
#include "host_test_support.h"

using host_test::ErrorSlot;
using host_test::LocaleScope;

namespace {

// A scratch path named after the running test, removed at the end of the scope.
class ScratchFile {
public:
    ScratchFile()
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = (std::filesystem::temp_directory_path() /
                 ("vmod_host_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                  std::to_string(getpid())))
                    .string();
    }
    ~ScratchFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    const char *path() const { return path_.c_str(); }
    std::string contents() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string path_;
};

// Switches write-fault injection off at the end of the scope, whatever the test did.
struct FaultInjectionOff {
    ~FaultInjectionOff() { vmodhost_FailWriteAfter(0); }
};

// Skips the test unless a comma-decimal locale is really in force.
#define REQUIRE_COMMA_LOCALE(scope)                                                                                \
    do {                                                                                                           \
        if (!(scope).ok())                                                                                         \
            GTEST_SKIP() << "de_DE.UTF-8 locale not available";                                                    \
        char probe[16];                                                                                            \
        std::snprintf(probe, sizeof probe, "%g", 2.5);                                                             \
        if (std::string(probe) != "2,5")                                                                           \
            GTEST_SKIP() << "locale does not use a decimal comma";                                                 \
    } while (0)

} // namespace

TEST(ofio_Open, MissingDirectoryFailsWithAReport)
{
    ErrorSlot err;
    Ofio_File *file = ofio_Open("/nonexistent-vmod-dir/model.gmd", "w", err.out());
    EXPECT_EQ(file, nullptr);
    ASSERT_TRUE(err);
    EXPECT_NE(err.message().find("/nonexistent-vmod-dir/model.gmd"), std::string::npos) << err.message();
}

TEST(ofio_Fprintf, WritesTheStandardConversionsExactly)
{
    ScratchFile scratch;
    ErrorSlot err;
    Ofio_File *file = ofio_Open(scratch.path(), "w", err.out());
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(err);
    EXPECT_EQ(ofio_Fprintf(file, "RASTER %s;\n", "n1_dem"), 15);
    EXPECT_EQ(ofio_Fprintf(file, "%d %ld ", -4, 123456789L), 13);
    EXPECT_EQ(ofio_Fprintf(file, "%g %g %.16g\n", 0.5, 1e-5, 1.0 / 3.0), 29);
    EXPECT_EQ(ofio_Close(file, 0), 0);
    EXPECT_EQ(scratch.contents(), "RASTER n1_dem;\n-4 123456789 0.5 1e-05 0.3333333333333333\n");
}

TEST(ofio_Fprintf, UsesAPointUnderACommaLocale)
{
    LocaleScope german("de_DE.UTF-8");
    REQUIRE_COMMA_LOCALE(german);
    ScratchFile scratch;
    Ofio_File *file = ofio_Open(scratch.path(), "w", nullptr);
    ASSERT_NE(file, nullptr);
    ofio_Fprintf(file, "%g|%.16g|%.16g|%g\n", 2.5, 1234.5678, 0.1 + 0.2, 1234567.0);
    EXPECT_EQ(ofio_Close(file, 0), 0);
    EXPECT_EQ(scratch.contents(), "2.5|1234.5678|0.3|1.23457e+06\n");

    // The process keeps its own locale.
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 2.5);
    EXPECT_STREQ(probe, "2,5");
}

TEST(ofio_Sprintf, UsesAPointUnderACommaLocale)
{
    LocaleScope german("de_DE.UTF-8");
    REQUIRE_COMMA_LOCALE(german);
    char buffer[64];
    EXPECT_EQ(ofio_Sprintf(buffer, "%g %.16g", -0.25, 2.0 / 3.0), 24);
    EXPECT_STREQ(buffer, "-0.25 0.6666666666666666");
}

TEST(ofio_Snprintf, TruncatesToTheBufferAndReportsTheFullLength)
{
    char buffer[8];
    std::memset(buffer, 'Z', sizeof buffer);
    EXPECT_EQ(ofio_Snprintf(buffer, 5, "%s", "abcdefgh"), 8);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(buffer[5], 'Z');
}

TEST(ofio_Close, FailsWhenTheDiskIsFull)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "/dev/full not available";
    Ofio_File *file = ofio_Open("/dev/full", "w", nullptr);
    ASSERT_NE(file, nullptr);
    // A short write stays in the stream's buffer: only the flush at close can fail.
    ofio_Fprintf(file, "QUIT;\n");
    EXPECT_EQ(ofio_Close(file, 0), -1);
}

TEST(ofio_Close, FailsAfterAFailedWriteEvenIfTheFlushSucceeds)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "/dev/full not available";
    Ofio_File *file = ofio_Open("/dev/full", "w", nullptr);
    ASSERT_NE(file, nullptr);
    std::string large(64 * 1024, 'x'); // larger than any stream buffer
    EXPECT_EQ(ofio_Fprintf(file, "%s", large.c_str()), -1);
    EXPECT_NE(ofio_HasError(file), 0);
    EXPECT_EQ(ofio_Close(file, 0), -1);
}

TEST(vmodhost_FailWriteAfter, TheNthWriteAndEveryLaterOneFail)
{
    FaultInjectionOff restore;
    ScratchFile scratch;
    Ofio_File *file = ofio_Open(scratch.path(), "w", nullptr);
    ASSERT_NE(file, nullptr);
    vmodhost_FailWriteAfter(2);
    EXPECT_EQ(ofio_Fprintf(file, "one\n"), 4);
    EXPECT_EQ(ofio_HasError(file), 0);
    EXPECT_EQ(ofio_Fprintf(file, "two\n"), -1);
    EXPECT_EQ(ofio_Fprintf(file, "three\n"), -1);
    EXPECT_NE(ofio_HasError(file), 0);
    EXPECT_EQ(ofio_Close(file, 0), -1);
    EXPECT_EQ(scratch.contents(), "one\n");
}

TEST(vmodhost_FailWriteAfter, CountsFromTheCallThatArmsIt)
{
    FaultInjectionOff restore;
    ScratchFile scratch;
    Ofio_File *file = ofio_Open(scratch.path(), "w", nullptr);
    ASSERT_NE(file, nullptr);
    ofio_Fprintf(file, "a");
    ofio_Fprintf(file, "b");
    vmodhost_FailWriteAfter(1);
    EXPECT_EQ(ofio_Fprintf(file, "c"), -1);
    EXPECT_EQ(ofio_Close(file, 0), -1);
    EXPECT_EQ(scratch.contents(), "ab");
}

TEST(ofio_IsDirectory, TellsDirectoriesFromFiles)
{
    ScratchFile scratch;
    std::ofstream(scratch.path()) << "x";
    EXPECT_NE(ofio_IsDirectory(std::filesystem::temp_directory_path().c_str(), nullptr), 0);
    EXPECT_EQ(ofio_IsDirectory(scratch.path(), nullptr), 0);
    EXPECT_EQ(ofio_IsDirectory("/nonexistent-vmod-dir", nullptr), 0);
    EXPECT_EQ(ofio_IsDirectory(nullptr, nullptr), 0);
}
