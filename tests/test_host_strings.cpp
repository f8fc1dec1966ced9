// The host heap and string helpers that every record and string of the library rests on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "host_test_support.h"

using host_test::HeapString;

TEST(omsc_HeapMalloc, BlocksAreZeroFilledEvenWhenMemoryIsReused)
{
    // Dirty a block, release it, and ask again for the same size: a heap that does not
    // clear would likely hand back the dirty bytes.
    const size_t size = 4096;
    for (int round = 0; round < 4; ++round) {
        unsigned char *block = static_cast<unsigned char *>(omsc_HeapMalloc(size));
        ASSERT_NE(block, nullptr);
        for (size_t i = 0; i < size; ++i)
            ASSERT_EQ(block[i], 0) << "byte " << i << " in round " << round;
        std::memset(block, 0xAB, size);
        omsc_HeapFree(block);
    }
}

TEST(ostr_Duplicate, MakesAnIndependentCopy)
{
    char original[] = "n1_dem";
    HeapString copy(ostr_Duplicate(original));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy.get(), original);
    original[0] = 'X';
    EXPECT_STREQ(copy.get(), "n1_dem");
    EXPECT_EQ(ostr_Duplicate(nullptr), nullptr);
}

TEST(ostr_SubString, PointsAtTheFirstOccurrenceInsideText)
{
    const char *text = "$n1 + $n12 + $n1";
    EXPECT_EQ(ostr_SubString(text, "$n1"), text);
    EXPECT_EQ(ostr_SubString(text, "n12"), text + 7);
    EXPECT_EQ(ostr_SubString(text, "n2"), nullptr);
    EXPECT_EQ(ostr_SubString("ab", "abc"), nullptr);
}

TEST(ostr_StringCat, BuildsIntoANullBuffer)
{
    HeapString result(ostr_StringCat(nullptr, "Select Existing File for Raster:   ", "n1_a"));
    EXPECT_STREQ(result.get(), "Select Existing File for Raster:   n1_a");
}

TEST(ostr_StringCat, ReplacesTheBufferTheCallerKeeps)
{
    // The generator keeps one work string and rebuilds it for every prompt.
    char *work = nullptr;
    work = ostr_StringCat(work, "Enter New File for Table:   ", "t1");
    work = ostr_StringCat(work, "Enter New File for Scalar:   ", "s1");
    HeapString kept(work);
    EXPECT_STREQ(kept.get(), "Enter New File for Scalar:   s1");
}

TEST(ostr_StringCat, TheBufferMayBeOneOfItsOwnParts)
{
    // Appending to itself must read the old text before the buffer is released.
    char *work = ostr_Duplicate("abc");
    work = ostr_StringCat(work, work, "def");
    work = ostr_StringCat(work, "<", work);
    HeapString kept(work);
    EXPECT_STREQ(kept.get(), "<abcdef");
}

namespace {

std::string Ext(const char *path, size_t size = 64)
{
    char buffer[64];
    std::memset(buffer, 'Z', sizeof buffer);
    char *result = ostr_GetExtPart(path, buffer, size);
    EXPECT_EQ(result, buffer);
    return buffer;
}

} // namespace

TEST(ostr_GetExtPart, TakesTheTextAfterTheLastDotOfTheFileName)
{
    EXPECT_EQ(Ext("/data/model.gmd"), "gmd");
    EXPECT_EQ(Ext("archive.tar.gz"), "gz");
    EXPECT_EQ(Ext("C:\\maps\\lake.img"), "img");
}

TEST(ostr_GetExtPart, NoDotGivesEmpty)
{
    EXPECT_EQ(Ext("/data/model"), "");
    EXPECT_EQ(Ext("model."), "");
    EXPECT_EQ(Ext(""), "");
    EXPECT_EQ(Ext(nullptr), "");
}

TEST(ostr_GetExtPart, ADotInADirectoryIsNoExtension)
{
    EXPECT_EQ(Ext("/data/v1.2/model"), "");
    EXPECT_EQ(Ext("C:\\v1.2\\model"), "");
    EXPECT_EQ(Ext("/data/v1.2/model.eps"), "eps");
}

TEST(ostr_GetExtPart, TruncatesToTheBuffer)
{
    EXPECT_EQ(Ext("scene.arcinfo", 4), "arc");
    EXPECT_EQ(Ext("scene.arcinfo", 8), "arcinfo"); // exactly fits with its terminator
    EXPECT_EQ(Ext("scene.arcinfo", 1), "");
}

TEST(ostr_GetExtPart, WritesNothingPastTheBuffer)
{
    char buffer[8];
    std::memset(buffer, 'Z', sizeof buffer);
    ostr_GetExtPart("a.abcdefghij", buffer, 3);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(buffer[3], 'Z');
    EXPECT_EQ(ostr_GetExtPart("a.b", nullptr, 4), nullptr);
}

TEST(otxt_Text_strcmp, ZeroOnlyForEqualTexts)
{
    EXPECT_EQ(otxt_Text_strcmp("Record Number", "Record Number"), 0);
    EXPECT_NE(otxt_Text_strcmp("Record Number", "Record number"), 0);
    EXPECT_NE(otxt_Text_strcmp("Record", "Record Number"), 0);
    EXPECT_EQ(otxt_Text_strcmp(nullptr, nullptr), 0);
    EXPECT_NE(otxt_Text_strcmp(nullptr, ""), 0);
    EXPECT_NE(otxt_Text_strcmp("", nullptr), 0);
}
