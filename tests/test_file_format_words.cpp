// The word tables of the model file format, shared by the writer and the reader.
#include <gtest/gtest.h>

#include <string>

#include "file/format_words.h"
#include "vmod/vmod_records.h"

TEST(vmod_FormatWord, EveryRecordEnumerationHasItsWordAndNothingBeyond) {
    EXPECT_STREQ(vmod_FormatWord(vmod_DataTypeWords, VMOD_BINARY), "BINARY");
    EXPECT_STREQ(vmod_FormatWord(vmod_DataTypeWords, VMOD_DOUBLECOMPLEX), "DOUBLECOMPLEX");
    EXPECT_STREQ(vmod_FormatWord(vmod_DataTypeWords, VMOD_STRING), "STRING");
    EXPECT_EQ(vmod_FormatWord(vmod_DataTypeWords, 14), nullptr);
    EXPECT_EQ(vmod_FormatWord(vmod_DataTypeWords, -1), nullptr);
    EXPECT_STREQ(vmod_FormatWord(vmod_TableDataTypeWords, VMOD_TABLE_COLOR), "COLOR");
    EXPECT_EQ(vmod_FormatWord(vmod_TableDataTypeWords, 5), nullptr);
    EXPECT_STREQ(vmod_FormatWord(vmod_KernelWords, 2), "LOWPASS");
    EXPECT_STREQ(vmod_FormatWord(vmod_KernelWords, 8), "SOBEL2");
    EXPECT_EQ(vmod_FormatWord(vmod_KernelWords, 9), nullptr);
    EXPECT_STREQ(vmod_FormatWord(vmod_BlockWords, VMOD_FUNCTION), "FUNCTION");
    EXPECT_STREQ(vmod_FormatWord(vmod_BlockWords, VMOD_CRITERIA), "CRITERIA");
    EXPECT_EQ(vmod_FormatWord(vmod_BlockWords, 8), nullptr);
    EXPECT_STREQ(vmod_FormatWord(vmod_YesNoWords, 1), "YES");
    EXPECT_STREQ(vmod_FormatWord(vmod_LayerKindWords, 3), "ANNOTATIONNAME");
}

TEST(vmod_FormatWordValue, MatchesInAnyLetterCaseOnly) {
    EXPECT_EQ(vmod_FormatWordValue(vmod_InterpolationWords, "cubic"), 2);
    EXPECT_EQ(vmod_FormatWordValue(vmod_InterpolationWords, "Bilinear"), 1);
    EXPECT_EQ(vmod_FormatWordValue(vmod_InterpolationWords, "BILINEARX"), -1);
    EXPECT_EQ(vmod_FormatWordValue(vmod_InterpolationWords, ""), -1);
    EXPECT_EQ(vmod_FormatWordValue(vmod_InterpolationWords, nullptr), -1);
}

TEST(vmod_Keywords, EveryValueWordIsAKeyword) {
    // A word the writer writes that the scanner did not know would make the file unreadable.
    auto isKeyword = [](const char *word) {
        std::string lower(word);
        for (char &c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        for (const char *k : vmod_Keywords)
            if (lower == k) return true;
        return false;
    };
    for (const Vmod_FormatWords *t :
         {&vmod_BlockWords, &vmod_DataTypeWords, &vmod_TableDataTypeWords, &vmod_KernelWords,
          &vmod_InterpolationWords, &vmod_CompressionWords, &vmod_CoordinateWords, &vmod_CellUnitWords,
          &vmod_VectorTypeWords, &vmod_AreaWords, &vmod_CellSizeModeWords, &vmod_OrientationWords,
          &vmod_PageUnitWords, &vmod_YesNoWords, &vmod_LayerKindWords})
        for (int32_t i = 0; i < t->count; ++i) EXPECT_TRUE(isKeyword(t->words[i])) << t->words[i];
    for (const Vmod_StyleWord &s : vmod_StyleWords) EXPECT_TRUE(isKeyword(s.word)) << s.word;
    EXPECT_TRUE(isKeyword(vmod_StyleNormalWord));
}
