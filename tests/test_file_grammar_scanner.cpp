// Tests of the host's scanner with the model-file keyword table: token kinds and lengths.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "file/parser_tables.h"
#include "vmodhost/olex.h"

namespace {

struct Scanned {
    int32_t kind;
    size_t length;
    bool operator==(const Scanned &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Scanned &s) {
    return out << "kind " << s.kind << ", length " << s.length;
}

Scanned scan(const std::string &text, bool atEnd = true) {
    size_t length = 99;
    int32_t kind = olex_Scanner(&file_ModelParserTables()->scanner, text.data(), text.size(), atEnd ? 1 : 0, &length);
    return {kind, length};
}

int32_t tokenOf(const char *keyword) {
    const Vmod_ScannerSetup &setup = file_ModelParserTables()->scanner;
    for (int32_t k = 0; k < setup.keywordCount; ++k)
        if (std::string(setup.keywords[k].word) == keyword)
            return setup.keywords[k].token;
    return -100;
}

} // namespace

TEST(olex_Scanner, KeywordsMatchInAnyLetterCase) {
    for (const char *spelling : {"raster", "Raster", "RASTER", "rAsTeR"}) {
        EXPECT_EQ(scan(std::string(spelling) + " {"), (Scanned{tokenOf("raster"), 6})) << spelling;
    }
    EXPECT_EQ(scan("unsigned32;").kind, 373);
    EXPECT_EQ(scan("annotation").kind, 263);
    EXPECT_EQ(scan("yes").kind, 385);
}

TEST(olex_Scanner, CentimetersAndCmAreOneToken) {
    EXPECT_EQ(scan("centimeters").kind, 275);
    EXPECT_EQ(scan("CM;"), (Scanned{275, 2}));
}

TEST(olex_Scanner, NamesHoldLettersDigitsAndUnderscores) {
    EXPECT_EQ(scan("rasters").kind, VMOD_TOKEN_NAME); // a keyword's prefix is not enough
    EXPECT_EQ(scan("_n1_elevation2 ;"), (Scanned{VMOD_TOKEN_NAME, 14}));
    EXPECT_EQ(scan("dem.img").length, 3u); // a dot ends a name
    EXPECT_EQ(scan("information").kind, VMOD_TOKEN_NAME);
}

TEST(olex_Scanner, NumbersAsTheWriterFormatsThem) {
    EXPECT_EQ(scan("42,"), (Scanned{VMOD_TOKEN_INTEGER, 2}));
    for (const char *text : {"0.5", "1e+20", "1.5e-07", "2E300", ".25", "7."})
        EXPECT_EQ(scan(text), (Scanned{VMOD_TOKEN_FLOAT, std::string(text).size()})) << text;
    // An exponent marker without digits is not part of the number.
    EXPECT_EQ(scan("1e;"), (Scanned{VMOD_TOKEN_INTEGER, 1}));
    EXPECT_EQ(scan("-3").kind, '-'); // the sign is a token of its own
}

TEST(olex_Scanner, InfinityAndNanInAnyCaseAreNumbers) {
    for (const char *text : {"inf", "INF", "Inf", "nan", "NaN", "NAN"})
        EXPECT_EQ(scan(std::string(text) + ";"), (Scanned{VMOD_TOKEN_FLOAT, 3})) << text;
    EXPECT_EQ(scan("infinite").kind, VMOD_TOKEN_NAME);
}

TEST(olex_Scanner, StringsSpanLinesAndKeepTheirBytes) {
    EXPECT_EQ(scan("\"a\r\nb\";"), (Scanned{VMOD_TOKEN_STRING, 6}));
}

TEST(olex_Scanner, BackslashIsLiteralUnlessAQuoteFollows) {
    EXPECT_EQ(scan("\"say \\\"hi\\\" C:\\dir\" ;"), (Scanned{VMOD_TOKEN_STRING, 19}));
    // A string whose last character is a backslash has no closing quote.
    EXPECT_EQ(scan("\"dir\\\";").kind, OLEX_UNTERMINATED);
}

TEST(olex_Scanner, CommentsRunToTheEndOfTheLine) {
    EXPECT_EQ(scan("# a note \"with quotes\"\nTITLE"), (Scanned{OLEX_SPACE, 22}));
    EXPECT_EQ(scan("# last line").length, 11u);
}

TEST(olex_Scanner, PunctuationSpaceAndEnd) {
    for (char c : std::string(";,:{}()-"))
        EXPECT_EQ(scan(std::string(1, c)).kind, static_cast<unsigned char>(c));
    EXPECT_EQ(scan(" \t\r\n x"), (Scanned{OLEX_SPACE, 5}));
    EXPECT_EQ(scan("").kind, 0);
}

TEST(olex_Scanner, IllegalBytes) {
    for (const char *text : {"@", "\x01", "\xff", ".", "'", "\\"})
        EXPECT_EQ(scan(text), (Scanned{OLEX_ILLEGAL, 1})) << text;
}

TEST(olex_Scanner, AsksForMoreWhenATokenReachesTheEndOfTheWindow) {
    EXPECT_EQ(scan("RAST", false).kind, OLEX_MORE);
    EXPECT_EQ(scan("123", false).kind, OLEX_MORE);
    EXPECT_EQ(scan("1.5e", false).kind, OLEX_MORE);
    EXPECT_EQ(scan("\"open", false).kind, OLEX_MORE);
    EXPECT_EQ(scan("# note", false).kind, OLEX_MORE);
    EXPECT_EQ(scan("", false).kind, OLEX_MORE);
    EXPECT_EQ(scan("RAST", true).kind, VMOD_TOKEN_NAME);
    EXPECT_EQ(scan(";", false).kind, ';');
}

TEST(omsc_AddressOf_olex_Scanner, GivesTheHostScanner) {
    EXPECT_EQ(omsc_AddressOf_olex_Scanner(), &olex_Scanner);
}
