// The word tables of the model file format, shared by the writer and the reader.
#include <gtest/gtest.h>

#include <string>

#include "file/format_words.h"
#include "vmod/vmod_records.h"

TEST(file_FormatWord, EveryRecordEnumerationHasItsWordAndNothingBeyond) {
    EXPECT_STREQ(file_FormatWord(file_DataTypeWords, VMOD_BINARY), "BINARY");
    EXPECT_STREQ(file_FormatWord(file_DataTypeWords, VMOD_DOUBLECOMPLEX), "DOUBLECOMPLEX");
    EXPECT_STREQ(file_FormatWord(file_DataTypeWords, VMOD_STRING), "STRING");
    EXPECT_EQ(file_FormatWord(file_DataTypeWords, 14), nullptr);
    EXPECT_EQ(file_FormatWord(file_DataTypeWords, -1), nullptr);
    EXPECT_STREQ(file_FormatWord(file_TableDataTypeWords, VMOD_TABLE_COLOR), "COLOR");
    EXPECT_EQ(file_FormatWord(file_TableDataTypeWords, 5), nullptr);
    EXPECT_STREQ(file_FormatWord(file_KernelWords, 2), "LOWPASS");
    EXPECT_STREQ(file_FormatWord(file_KernelWords, 8), "SOBEL2");
    EXPECT_EQ(file_FormatWord(file_KernelWords, 9), nullptr);
    EXPECT_STREQ(file_FormatWord(file_BlockWords, VMOD_FUNCTION), "FUNCTION");
    EXPECT_STREQ(file_FormatWord(file_BlockWords, VMOD_CRITERIA), "CRITERIA");
    EXPECT_EQ(file_FormatWord(file_BlockWords, 8), nullptr);
    EXPECT_STREQ(file_FormatWord(file_YesNoWords, 1), "YES");
    EXPECT_STREQ(file_FormatWord(file_LayerKindWords, 3), "ANNOTATIONNAME");
}

TEST(file_FormatWordValue, MatchesInAnyLetterCaseOnly) {
    EXPECT_EQ(file_FormatWordValue(file_InterpolationWords, "cubic"), 2);
    EXPECT_EQ(file_FormatWordValue(file_InterpolationWords, "Bilinear"), 1);
    EXPECT_EQ(file_FormatWordValue(file_InterpolationWords, "BILINEARX"), -1);
    EXPECT_EQ(file_FormatWordValue(file_InterpolationWords, ""), -1);
    EXPECT_EQ(file_FormatWordValue(file_InterpolationWords, nullptr), -1);
}

TEST(file_Keywords, EveryValueWordIsAKeyword) {
    // A word the writer writes that the scanner did not know would make the file unreadable.
    auto isKeyword = [](const char *word) {
        std::string lower(word);
        for (char &c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        for (const char *k : file_Keywords)
            if (lower == k) return true;
        return false;
    };
    for (const Vmod_FormatWords *t :
         {&file_BlockWords, &file_DataTypeWords, &file_TableDataTypeWords, &file_KernelWords,
          &file_InterpolationWords, &file_CompressionWords, &file_CoordinateWords, &file_CellUnitWords,
          &file_VectorTypeWords, &file_AreaWords, &file_CellSizeModeWords, &file_OrientationWords,
          &file_PageUnitWords, &file_YesNoWords, &file_LayerKindWords})
        for (int32_t i = 0; i < t->count; ++i) EXPECT_TRUE(isKeyword(t->words[i])) << t->words[i];
    for (const Vmod_StyleWord &s : file_StyleWords) EXPECT_TRUE(isKeyword(s.word)) << s.word;
    EXPECT_TRUE(isKeyword(file_StyleNormalWord));
}
