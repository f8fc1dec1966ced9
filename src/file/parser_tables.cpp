// parser_tables.cpp - fills the Vmod_ParserTables record from the tables that bison
// generates from model_grammar.y.
//
// Bison numbers its own start rule first, so its rule k is our production k - 1, and
// its start symbol comes before `guimodel`, so its nonterminal n is our n - 1. Entries
// that mean "absent" or "error" in bison's tables become the record's absent flag.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "file/format_words.h"
#include "file/model_reader.h"
#include "file/parser_tables.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include "model_grammar.tab.c"
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

constexpr int16_t kAbsent = -32768;
constexpr int32_t kStates = YYNSTATES;
constexpr int32_t kPacked = YYLAST + 1;

static_assert(YYNTOKENS == VMOD_GRAMMAR_TERMINALS, "the grammar's terminals changed");
static_assert(YYNNTS == VMOD_GRAMMAR_NONTERMINALS + 1, "the grammar's nonterminals changed");
static_assert(YYNRULES == VMOD_GRAMMAR_PRODUCTIONS + 1, "the grammar's productions changed");
static_assert(YYMAXUTOK >= VMOD_TOKEN_LAST, "the grammar's tokens changed");

struct Storage {
    int16_t translate[VMOD_TOKEN_LAST + 1];
    int16_t ruleLines[VMOD_GRAMMAR_PRODUCTIONS + 1];
    const char *symbolNames[VMOD_GRAMMAR_SYMBOL_NAMES + 1];
    int16_t leftSide[VMOD_GRAMMAR_PRODUCTIONS + 1];
    int16_t ruleLength[VMOD_GRAMMAR_PRODUCTIONS + 1];
    int16_t defaultReduction[kStates];
    int16_t defaultGoto[VMOD_GRAMMAR_NONTERMINALS];
    int16_t actionBase[kStates];
    int16_t gotoBase[VMOD_GRAMMAR_NONTERMINALS];
    int16_t packed[kPacked];
    int16_t check[kPacked];
    Vmod_ScannerKeyword keywords[VMOD_KEYWORD_COUNT];
    Vmod_ParserTables record;
};

// Names of internal symbols 3 to 7, which no token translates to.
const char *const kPlaceholderNames[] = {"Local_Data *", "ld", "alloc_Local_Data", "free_Local_Data", "vmod_"};

// "centimeters" and "cm" share one token; every later keyword takes the next number.
int32_t keywordToken(int32_t index) {
    static const int32_t cmIndex = [] {
        for (int32_t k = 0; k < VMOD_KEYWORD_COUNT; ++k)
            if (std::strcmp(file_Keywords[k], "cm") == 0)
                return k;
        return VMOD_KEYWORD_COUNT;
    }();
    return VMOD_TOKEN_FIRST_KEYWORD + index - (index >= cmIndex ? 1 : 0);
}

void fill(Storage &s) {
    for (int32_t token = 0; token <= VMOD_TOKEN_LAST; ++token)
        s.translate[token] = static_cast<int16_t>(YYTRANSLATE(token));

    s.symbolNames[0] = nullptr;
    s.symbolNames[1] = "error";
    s.symbolNames[2] = "$illegal.";
    for (int32_t i = 0; i < 5; ++i)
        s.symbolNames[3 + i] = kPlaceholderNames[i];
    for (int32_t symbol = 8; symbol < VMOD_GRAMMAR_TERMINALS; ++symbol)
        s.symbolNames[symbol] = yytname[symbol];
    s.symbolNames[VMOD_GRAMMAR_TERMINALS] = yytname[YYNTOKENS + 1]; // guimodel
    s.symbolNames[VMOD_GRAMMAR_SYMBOL_NAMES] = nullptr;

    s.ruleLines[0] = s.leftSide[0] = s.ruleLength[0] = 0;
    for (int32_t production = 1; production <= VMOD_GRAMMAR_PRODUCTIONS; ++production) {
        s.ruleLines[production] = static_cast<int16_t>(yyrline[production + 1]);
        s.leftSide[production] = static_cast<int16_t>(yyr1[production + 1] - 1);
        s.ruleLength[production] = static_cast<int16_t>(yyr2[production + 1]);
    }
    for (int32_t state = 0; state < kStates; ++state) {
        int32_t rule = yydefact[state];
        s.defaultReduction[state] = static_cast<int16_t>(rule > 1 ? rule - 1 : 0);
        int32_t base = yypact[state];
        s.actionBase[state] = yypact_value_is_default(base) ? kAbsent : static_cast<int16_t>(base);
    }
    for (int32_t n = 0; n < VMOD_GRAMMAR_NONTERMINALS; ++n) {
        s.defaultGoto[n] = static_cast<int16_t>(yydefgoto[n + 1]);
        int32_t base = yypgoto[n + 1];
        s.gotoBase[n] = base == YYPACT_NINF ? kAbsent : static_cast<int16_t>(base);
    }
    for (int32_t i = 0; i < kPacked; ++i) {
        int32_t action = yytable[i];
        if (yytable_value_is_error(action))
            action = kAbsent;
        else if (action < 0)
            action += 1; // reduce by bison's rule -action, our production -action - 1
        s.packed[i] = static_cast<int16_t>(action);
        s.check[i] = static_cast<int16_t>(yycheck[i]);
    }

    for (int32_t k = 0; k < VMOD_KEYWORD_COUNT; ++k)
        s.keywords[k] = Vmod_ScannerKeyword{keywordToken(k), file_Keywords[k]};

    Vmod_ParserTables &r = s.record;
    r.translate = s.translate;
    r.ruleLines = s.ruleLines;
    r.symbolNames = s.symbolNames;
    r.leftSide = s.leftSide;
    r.ruleLength = s.ruleLength;
    r.defaultReduction = s.defaultReduction;
    r.defaultGoto = s.defaultGoto;
    r.actionBase = s.actionBase;
    r.gotoBase = s.gotoBase;
    r.packed = s.packed;
    r.check = s.check;
    r.scanner = Vmod_ScannerSetup{VMOD_TOKEN_INTEGER, VMOD_TOKEN_FLOAT,  VMOD_TOKEN_NAME,
                                  VMOD_TOKEN_NUMBER,  VMOD_TOKEN_STRING, VMOD_KEYWORD_COUNT,
                                  s.keywords};
    r.action = parseAction;
    r.allocLocal = alloc_Local_Data;
    r.freeLocal = free_Local_Data;
    r.initialDepth = 200;
    r.maxDepth = 1000;
    r.absentFlag = kAbsent;
    r.lastIndex = YYLAST;
    r.acceptState = YYFINAL;
    r.terminalCount = VMOD_GRAMMAR_TERMINALS;
    r.maxToken = VMOD_TOKEN_LAST;
}

} // namespace

const Vmod_ParserTables *file_ModelParserTables(void) {
    static const Storage *storage = [] {
        static Storage s;
        fill(s);
        return &s;
    }();
    return &storage->record;
}
