// Tests of the model-file grammar's record: its fixed numbering, the keyword table
// against the grammar's tokens, and the order in which the driver runs productions.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "file/format_words.h"
#include "file/parser_tables.h"
#include "support/reader_support.h"

namespace {

// The enumerator lines of a file: "name = N, // lhs: right side".
std::vector<std::string> productionLines(const std::string &path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos && line.find(" = ", start) != std::string::npos && line.find(", // ") != std::string::npos)
            lines.push_back(line.substr(start));
    }
    return lines;
}

// The keywords whose grammar token is not the keyword in capitals.
const std::map<std::string, std::string> kTokenAliases = {
    {"complex", "_C64"},      {"doublecomplex", "_C128"}, {"cm", "CENTIMETERS"}, {"double", "_D64"},
    {"float", "_F32"},        {"id", "_ID"},              {"pagesize", "_PAGESIZE"}, {"signed8", "_S8"},
    {"signed16", "_S16"},     {"signed32", "_S32"},       {"string", "_STR"},    {"binary", "_U1"},
    {"unsigned2", "_U2"},     {"unsigned4", "_U4"},       {"unsigned8", "_U8"},  {"unsigned16", "_U16"},
    {"unsigned32", "_U32"}};

std::string upper(std::string text) {
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Runs the driver over text with an action routine that records each production number
// before doing the reader's work.
std::vector<int32_t> productionsOf(const std::string &text, ReportKeeper &report) {
    static std::vector<int32_t> *seen = nullptr;
    std::vector<int32_t> productions;
    seen = &productions;
    Vmod_ParserTables tables = *file_ModelParserTables();
    tables.action = [](Olex_Parser *parser, void *ld, int32_t production, Olex_Value *top, Olex_Value *result,
                       void **parseResult, int32_t *flag) -> int32_t {
        seen->push_back(production);
        return parseAction(parser, ld, production, top, result, parseResult, flag);
    };
    QuietErrors quiet;
    ParsedModel model(static_cast<Vmod_Model *>(
        olex_ParseText(&tables, omsc_AddressOf_olex_Scanner(), "model.vmf", text.data(), text.size(), report.slot())));
    seen = nullptr;
    return productions;
}

} // namespace

TEST(file_ModelParserTables, RecordCarriesTheFixedNumbering) {
    const Vmod_ParserTables *t = file_ModelParserTables();
    EXPECT_EQ(+(t->translate[0]), 0);
    EXPECT_EQ(+(t->translate[256]), 1);
    EXPECT_EQ(+(t->translate['a']), 2);
    EXPECT_EQ(+(t->translate[257]), 2);
    for (int token = 258; token <= 385; ++token)
        EXPECT_EQ(+(t->translate[token]), token - 250) << token;
    const char punctuation[] = {';', ',', ':', '{', '}', '(', ')', '-'};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(+(t->translate[static_cast<unsigned char>(punctuation[i])]), 136 + i) << punctuation[i];

    EXPECT_EQ(+(t->symbolNames[0]), nullptr);
    EXPECT_STREQ(t->symbolNames[1], "error");
    EXPECT_STREQ(t->symbolNames[2], "$illegal.");
    EXPECT_STREQ(t->symbolNames[3], "Local_Data *");
    EXPECT_STREQ(t->symbolNames[7], "vmod_");
    EXPECT_STREQ(t->symbolNames[8], "NAME");
    EXPECT_STREQ(t->symbolNames[12], "NUMBER");
    EXPECT_STREQ(t->symbolNames[136], "';'");
    EXPECT_STREQ(t->symbolNames[143], "'-'");
    EXPECT_STREQ(t->symbolNames[144], "guimodel");
    EXPECT_EQ(+(t->symbolNames[145]), nullptr);

    EXPECT_EQ(+(t->scanner.integerToken), 261);
    EXPECT_EQ(+(t->scanner.floatToken), 260);
    EXPECT_EQ(+(t->scanner.nameToken), 258);
    EXPECT_EQ(+(t->scanner.numberToken), 262);
    EXPECT_EQ(+(t->scanner.stringToken), 259);
    EXPECT_EQ(+(t->scanner.keywordCount), 124);
    EXPECT_EQ(+(t->action), &parseAction);
    EXPECT_EQ(+(t->allocLocal), &alloc_Local_Data);
    EXPECT_EQ(+(t->freeLocal), &free_Local_Data);
    EXPECT_EQ(+(t->initialDepth), 200);
    EXPECT_EQ(+(t->maxDepth), 1000);
    EXPECT_EQ(+(t->absentFlag), -32768);
    EXPECT_EQ(+(t->terminalCount), 144);
    EXPECT_EQ(+(t->maxToken), 385);
    EXPECT_GT(t->acceptState, 0);
    EXPECT_GT(t->lastIndex, 0);
}

// The one keyword list (shared with the writer) must agree with the grammar's tokens.
TEST(file_ModelParserTables, KeywordTableMatchesTheGrammarTokens) {
    const Vmod_ParserTables *t = file_ModelParserTables();
    std::map<int32_t, int> uses;
    for (int k = 0; k < t->scanner.keywordCount; ++k) {
        const Vmod_ScannerKeyword &keyword = t->scanner.keywords[k];
        EXPECT_STREQ(keyword.word, file_Keywords[k]);
        auto alias = kTokenAliases.find(keyword.word);
        std::string expected = alias != kTokenAliases.end() ? alias->second : upper(keyword.word);
        ASSERT_GE(keyword.token, 263);
        ASSERT_LE(keyword.token, 385);
        EXPECT_EQ(+(t->symbolNames[t->translate[keyword.token]]), expected) << keyword.word;
        ++uses[keyword.token];
    }
    EXPECT_EQ(uses.size(), 123u);
    EXPECT_EQ(uses[275], 2); // "centimeters" and "cm"
}

// tests/golden/grammar_productions.txt lists the productions in their fixed numbering,
// each with the name parseAction knows it by. The names generated from the grammar, and
// the record's left sides and lengths, must agree with it: inserting or reordering a
// production fails here. (After a deliberate change of names, copy the enumerator lines
// of the build's src/file/production_names.h into the golden file.)
TEST(file_ModelParserTables, ProductionsKeepTheirNamesAndFixedNumbers) {
    const std::vector<std::string> golden =
        productionLines(std::string(VMOD_SOURCE_DIR) + "/tests/golden/grammar_productions.txt");
    ASSERT_EQ(golden.size(), 297u);
    EXPECT_EQ(productionLines(std::string(VMOD_BINARY_DIR) + "/src/file/production_names.h"), golden);

    const Vmod_ParserTables *t = file_ModelParserTables();
    // Same left-side name <=> same left-side symbol; every length as the right side.
    std::map<std::string, int32_t> symbolOf;
    std::set<int32_t> symbols;
    for (int p = 1; p <= 297; ++p) {
        std::istringstream line(golden[p - 1]);
        std::string name, equals, number, slashes, leftSide, symbol;
        line >> name >> equals >> number >> slashes >> leftSide;
        ASSERT_EQ(number, std::to_string(p) + ",");
        leftSide.pop_back(); // its ':'
        int length = 0;
        while (line >> symbol)
            length += symbol != "%empty";
        EXPECT_EQ(+(t->ruleLength[p]), length) << golden[p - 1];
        int32_t lhs = t->leftSide[p];
        EXPECT_GE(lhs, 144);
        EXPECT_LE(lhs, 211);
        auto known = symbolOf.find(leftSide);
        if (known == symbolOf.end()) {
            EXPECT_TRUE(symbols.insert(lhs).second) << golden[p - 1] << " shares a left side";
            symbolOf[leftSide] = lhs;
        } else {
            EXPECT_EQ(lhs, +(known->second)) << golden[p - 1];
        }
    }
    EXPECT_EQ(symbolOf.size(), 68u);
    EXPECT_EQ(+(t->leftSide[1]), 144); // guimodel
}

TEST(parseAction, SmallFileRunsItsProductionsInOrder) {
    ReportKeeper report;
    std::vector<int32_t> seen = productionsOf("TITLE \"t\";\nRASTER { ID 1; }\n", report);
    EXPECT_EQ(report.report, nullptr) << report.cause();
    EXPECT_EQ(seen, (std::vector<int32_t>{293, 4, 2, 35, 296, 68, 51, 36, 27, 25, 1}));
}

TEST(parseAction, BlocksAfterTheFirstJoinTheListByTheTwoSymbolAlternative) {
    ReportKeeper report;
    std::vector<int32_t> seen =
        productionsOf("PAGENUMBERS;\nTEXT { }\nFUNCTION { POSITION -1.5, 2; CHILD 3; }\n", report);
    EXPECT_EQ(report.report, nullptr) << report.cause();
    EXPECT_EQ(seen, (std::vector<int32_t>{11, 2,                           // PAGENUMBERS;
                                          49, 202, 65, 50, 34, 25,         // TEXT { }
                                          45, 295, 296, 185, 61, 296, 189, // FUNCTION { POSITION ..; CHILD 3;
                                          62, 46, 32, 26, 1}));
}

TEST(parseAction, EmptyBlockIsStartEmptyStatementListAndBlock) {
    ReportKeeper report;
    std::vector<int32_t> seen = productionsOf("AOI NONE;\nSCALAR { }\n", report);
    EXPECT_EQ(seen, (std::vector<int32_t>{21, 2, 43, 167, 59, 44, 31, 25, 1}));
}

TEST(parseAction, FileWithoutBlocksReducesTheNodeListFromNothing) {
    ReportKeeper report;
    std::vector<int32_t> seen = productionsOf("TITLE plain;\nOPTIMIZE NO;\n", report);
    EXPECT_EQ(seen, (std::vector<int32_t>{292, 4, 2, 241, 8, 3, 24, 1}));
}

TEST(parseAction, ListItemsActAsTheyAreRead) {
    ReportKeeper report;
    std::vector<int32_t> seen = productionsOf("AOI DEFAULT;\nCRITERIA { SIZE 1, 1; OUTPUTVALUES 5; }\n", report);
    EXPECT_EQ(report.report, nullptr) << report.cause();
    EXPECT_EQ(seen, (std::vector<int32_t>{22, 2, 47, 296, 296, 194, 63, 197, 296, 258, 198, 64, 48, 33, 25, 1}));
}

TEST(parseAction, StartProductionReturnsTwoAndHandsOverTheModel) {
    void *ld = alloc_Local_Data();
    ASSERT_NE(ld, nullptr);
    Olex_Value cells[3] = {};
    Olex_Value result{};
    void *parseResult = nullptr;
    int32_t flag = 7;
    EXPECT_EQ(parseAction(nullptr, ld, 1, &cells[2], &result, &parseResult, &flag), 2);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(parseResult, +(static_cast<Local_Data *>(ld)->model));
    free_Local_Data(ld);
    ParsedModel owned(static_cast<Vmod_Model *>(parseResult));
    EXPECT_EQ(double(owned->printerPageWidth), 8.5);
    EXPECT_EQ(double(owned->printerPageHeight), 11.0);
    EXPECT_EQ(double(owned->margins[3]), 0.5);
    EXPECT_EQ(double(owned->printScale), 100.0);
    EXPECT_EQ(+(owned->optimize), 1);
    EXPECT_EQ(+(owned->readerWord1), 1);
    EXPECT_EQ(double(owned->zoom), 1.0);
    EXPECT_EQ(+(owned->cellSizeSet), 0);
}

TEST(parseAction, FailedFlagYieldsNoModel) {
    auto *ld = static_cast<Local_Data *>(alloc_Local_Data());
    ld->failed = 1;
    Olex_Value cells[3] = {};
    Olex_Value result{};
    void *parseResult = &result;
    int32_t flag = 0;
    EXPECT_EQ(parseAction(nullptr, ld, 1, &cells[2], &result, &parseResult, &flag), 2);
    EXPECT_EQ(parseResult, nullptr);
    free_Local_Data(ld); // releases the undelivered temporary model
}

TEST(free_Local_Data, NullIsIgnored) { free_Local_Data(nullptr); }
