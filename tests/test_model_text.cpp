// Text utilities: replacing names, function titles, escaping, file-chooser filters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_model_support.h"

namespace {

// A conversion given no text leaves the caller's buffer as it was.
void expectNullWritesNothing(void (*convert)(char *out, const char *text)) {
    char out[8];
    std::memset(out, 'k', sizeof out);
    convert(out, nullptr);
    EXPECT_EQ(out[0], 'k');
}

} // namespace

TEST(vmod_ChangeFirst, OnlyTheFirstOccurrence) {
    HeapText t(vmod_ChangeFirst("a + a", "a", "bb"));
    EXPECT_EQ(t.str(), "bb + a");
}

TEST(vmod_ChangeFirst, NoOccurrenceGivesAnEqualCopy) {
    const char *text = "slope";
    HeapText t(vmod_ChangeFirst(text, "dem", "x"));
    EXPECT_EQ(t.str(), "slope");
    EXPECT_NE(t.text, text);
}

TEST(vmod_ChangeFirst, NullTextAndEmptyOld) {
    EXPECT_EQ(vmod_ChangeFirst(nullptr, "a", "b"), nullptr);
    HeapText t(vmod_ChangeFirst("abc", "", "x"));
    EXPECT_EQ(t.str(), "abc");
    HeapText n(vmod_ChangeFirst("abc", "b", nullptr));
    EXPECT_EQ(n.str(), "ac");
}

TEST(vmod_ChangeAll, InsertedTextIsNotSearchedAgain) {
    HeapText t(vmod_ChangeAll("aaa", "a", "aa"));
    EXPECT_EQ(t.str(), "aaaaaa");
    HeapText u(vmod_ChangeAll("xabxab", "ab", "-"));
    EXPECT_EQ(u.str(), "x-x-");
}

TEST(vmod_ChangeAll, EmptyOldReturnsACopy) {
    HeapText t(vmod_ChangeAll("abc", "", "x"));
    EXPECT_EQ(t.str(), "abc");
    EXPECT_EQ(vmod_ChangeAll(nullptr, "a", "b"), nullptr);
}

TEST(vmod_ChangeAll, ResultLongerThanFourKilobytesFits) {
    const std::string text(3000, 'a');
    HeapText t(vmod_ChangeAll(text.c_str(), "a", "bcd"));
    EXPECT_EQ(std::strlen(t.text), 9000u);
    HeapText f(vmod_ChangeFirst(text.c_str(), "a", std::string(5000, 'z').c_str()));
    EXPECT_EQ(std::strlen(f.text), 7999u);
}

TEST(vmod_FunctionTitle, LongCallIsTitledByWhatPrecedesTheParenthesis) {
    HeapText t(vmod_FunctionTitle("F ( $n1_a , $n2_b )"));
    EXPECT_EQ(t.str(), "F ");
    HeapText brace(vmod_FunctionTitle("EITHER {a} IF (b > 1)"));
    EXPECT_EQ(brace.str(), "EITHER ");
}

TEST(vmod_FunctionTitle, ShortCallIsTitledByItsFirstWord) {
    HeapText t(vmod_FunctionTitle("F ( x )"));
    EXPECT_EQ(t.str(), "F");
    HeapText u(vmod_FunctionTitle("$n1_a + 2"));
    EXPECT_EQ(u.str(), "$n1_a");
    HeapText v(vmod_FunctionTitle("   lead"));
    EXPECT_EQ(v.str(), "lead");
}

TEST(vmod_FunctionTitle, FirstCloseFiveBytesAfterTheOpenCountsAsLong) {
    HeapText four(vmod_FunctionTitle("G(abc)"));  // ")" 4 bytes after "("
    EXPECT_EQ(four.str(), "G(abc)");
    HeapText five(vmod_FunctionTitle("G(abcd)"));
    EXPECT_EQ(five.str(), "G");
    HeapText earlier(vmod_FunctionTitle("a) b (cdefgh"));  // the ")" stands before the "("
    EXPECT_EQ(earlier.str(), "a)");
}

TEST(vmod_FunctionTitle, RemainderLengthBounds) {
    const std::string remainder255 = "F (" + std::string(254, 'x');
    HeapText within(vmod_FunctionTitle(remainder255.c_str()));
    EXPECT_EQ(within.str(), "F ");
    const std::string remainder256 = "F (" + std::string(255, 'x');
    HeapText beyond(vmod_FunctionTitle(remainder256.c_str()));
    EXPECT_EQ(beyond.str(), "F");
    HeapText single(vmod_FunctionTitle("abc ("));  // remainder of one byte
    EXPECT_EQ(single.str(), "abc");
}

TEST(vmod_FunctionTitle, NothingToTitle) {
    EXPECT_EQ(vmod_FunctionTitle(nullptr), nullptr);
    EXPECT_EQ(vmod_FunctionTitle(""), nullptr);
    EXPECT_EQ(vmod_FunctionTitle("    "), nullptr);
    EXPECT_EQ(vmod_FunctionTitle("{(((("), nullptr);
}

TEST(vmod_InsertBackSlash, EscapesDoubleQuotesOnly) {
    char out[64];
    vmod_InsertBackSlash(out, "say \"hi\" (now)\\");
    EXPECT_STREQ(out, "say \\\"hi\\\" (now)\\");
    EXPECT_EQ(std::strlen(out), std::strlen("say \"hi\" (now)\\") + 2);
    expectNullWritesNothing(vmod_InsertBackSlash);
}

TEST(vmod_InsertBackSlash, WorstCaseFillsTwiceTheLengthPlusOne) {
    char out[2 * 4 + 1 + 1];
    out[9] = 'G';
    vmod_InsertBackSlash(out, "\"\"\"\"");
    EXPECT_STREQ(out, "\\\"\\\"\\\"\\\"");
    EXPECT_EQ(out[9], 'G');
}

TEST(vmod_InsertBackSlashParen, EscapesParenthesesAndBackslashes) {
    char out[64];
    vmod_InsertBackSlashParen(out, "f(a\\b) \"q\"");
    EXPECT_STREQ(out, "f\\(a\\\\b\\) \"q\"");
    expectNullWritesNothing(vmod_InsertBackSlashParen);
}

TEST(vmod_RemoveCarriageReturns, EveryLineButTheLastEndsInABackslash) {
    char out[64];
    vmod_RemoveCarriageReturns(out, "a = 1;\nb = 2;");
    EXPECT_STREQ(out, "a = 1;\\\nb = 2;");
    vmod_RemoveCarriageReturns(out, "");
    EXPECT_STREQ(out, "");
    expectNullWritesNothing(vmod_RemoveCarriageReturns);
}

TEST(vmod_SearchString, WithoutNameTheImageFilter) {
    HeapText a(vmod_SearchString(0, "/data/roads.shp"));
    EXPECT_EQ(a.str(), "*.img");
    HeapText b(vmod_SearchString(1, nullptr));
    EXPECT_EQ(b.str(), "*.img");
}

TEST(vmod_SearchString, DirectoryAndExtension) {
    HeapText dir(vmod_SearchString(1, VMOD_SOURCE_DIR));
    EXPECT_EQ(dir.str(), "*.grid");
    HeapText ext(vmod_SearchString(1, "/no/such/dir/roads.shp"));
    EXPECT_EQ(ext.str(), "*.shp");
}

TEST(vmod_SearchString, LongExtensionIsCutToTheFilter) {
    const std::string name = "/no/such/file." + std::string(400, 'e');
    HeapText filter(vmod_SearchString(1, name.c_str()));
    EXPECT_EQ(std::strlen(filter.text), 255u);
    EXPECT_EQ(std::string(filter.text, 2), "*.");
}
