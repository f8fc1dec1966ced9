// Tests of the model-file grammar's record: its fixed numbering, the keyword table
// against the grammar's tokens, and the order in which the driver runs productions.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "file/format_words.h"
#include "file/parser_tables.h"
#include "support/reader_support.h"

namespace {

struct ProductionShape {
    const char *leftSide;
    int length;
};

// Left side and right-side length of productions 1 to 297, in their fixed order.
const ProductionShape kProductions[] = {
    {"guimodel", 2}, // 1: headerlist nodelist
    {"headerlist", 1}, // 2: headerstmt
    {"headerlist", 2}, // 3: headerlist headerstmt
    {"headerstmt", 3}, // 4: TITLE strval ";"
    {"headerstmt", 6}, // 5: _PAGESIZE numval "," numval pageunitword ";"
    {"headerstmt", 5}, // 6: PRINTERPAGESIZE numval "," numval ";"
    {"headerstmt", 9}, // 7: MARGINS numval "," numval "," numval "," numval ";"
    {"headerstmt", 3}, // 8: OPTIMIZE yesno ";"
    {"headerstmt", 3}, // 9: ORIENTATION orientword ";"
    {"headerstmt", 3}, // 10: PRINTSCALE numval ";"
    {"headerstmt", 2}, // 11: PAGENUMBERS ";"
    {"headerstmt", 6}, // 12: CELLSIZE numval "," numval cellunitword ";"
    {"headerstmt", 3}, // 13: CELLSIZE MINIMUM ";"
    {"headerstmt", 3}, // 14: CELLSIZE MAXIMUM ";"
    {"headerstmt", 3}, // 15: WINDOW UNION ";"
    {"headerstmt", 3}, // 16: WINDOW INTERSECTION ";"
    {"headerstmt", 10}, // 17: WINDOW numval "," numval ":" numval "," numval coordword ";"
    {"headerstmt", 3}, // 18: PROJECTION DEFAULT ";"
    {"headerstmt", 4}, // 19: PROJECTION SAMEAS strval ";"
    {"headerstmt", 5}, // 20: PROJECTION SPECIFY strval strval ";"
    {"headerstmt", 3}, // 21: AOI NONE ";"
    {"headerstmt", 3}, // 22: AOI DEFAULT ";"
    {"headerstmt", 3}, // 23: AOI strval ";"
    {"nodelist", 0}, // 24: nothing
    {"nodelist", 1}, // 25: nodeblock
    {"nodelist", 2}, // 26: nodelist nodeblock
    {"nodeblock", 1}, // 27: rasterblock
    {"nodeblock", 1}, // 28: vectorblock
    {"nodeblock", 1}, // 29: matrixblock
    {"nodeblock", 1}, // 30: tableblock
    {"nodeblock", 1}, // 31: scalarblock
    {"nodeblock", 1}, // 32: functionblock
    {"nodeblock", 1}, // 33: criteriablock
    {"nodeblock", 1}, // 34: textblock
    {"rasterstart", 0}, // 35: nothing
    {"rasterblock", 5}, // 36: RASTER "{" rasterstart rasterstmts "}"
    {"vectorstart", 0}, // 37: nothing
    {"vectorblock", 5}, // 38: VECTOR "{" vectorstart vectorstmts "}"
    {"matrixstart", 0}, // 39: nothing
    {"matrixblock", 5}, // 40: MATRIX "{" matrixstart matrixstmts "}"
    {"tablestart", 0}, // 41: nothing
    {"tableblock", 5}, // 42: TABLE "{" tablestart tablestmts "}"
    {"scalarstart", 0}, // 43: nothing
    {"scalarblock", 5}, // 44: SCALAR "{" scalarstart scalarstmts "}"
    {"functionstart", 0}, // 45: nothing
    {"functionblock", 5}, // 46: FUNCTION "{" functionstart functionstmts "}"
    {"criteriastart", 0}, // 47: nothing
    {"criteriablock", 5}, // 48: CRITERIA "{" criteriastart criteriastmts "}"
    {"textstart", 0}, // 49: nothing
    {"textblock", 5}, // 50: TEXT "{" textstart textstmts "}"
    {"rasterstmts", 1}, // 51: rasterstmt
    {"rasterstmts", 2}, // 52: rasterstmts rasterstmt
    {"vectorstmts", 1}, // 53: vectorstmt
    {"vectorstmts", 2}, // 54: vectorstmts vectorstmt
    {"matrixstmts", 1}, // 55: matrixstmt
    {"matrixstmts", 2}, // 56: matrixstmts matrixstmt
    {"tablestmts", 1}, // 57: tablestmt
    {"tablestmts", 2}, // 58: tablestmts tablestmt
    {"scalarstmts", 1}, // 59: scalarstmt
    {"scalarstmts", 2}, // 60: scalarstmts scalarstmt
    {"functionstmts", 1}, // 61: functionstmt
    {"functionstmts", 2}, // 62: functionstmts functionstmt
    {"criteriastmts", 1}, // 63: criteriastmt
    {"criteriastmts", 2}, // 64: criteriastmts criteriastmt
    {"textstmts", 1}, // 65: textstmt
    {"textstmts", 2}, // 66: textstmts textstmt
    {"rasterstmt", 0}, // 67: nothing
    {"rasterstmt", 3}, // 68: _ID numval ";"
    {"rasterstmt", 3}, // 69: TITLE strval ";"
    {"rasterstmt", 5}, // 70: POSITION numval "," numval ";"
    {"rasterstmt", 3}, // 71: FILENAME strval ";"
    {"rasterstmt", 2}, // 72: PROMPT ";"
    {"rasterstmt", 3}, // 73: PROMPT strval ";"
    {"rasterstmt", 2}, // 74: TEMPFILE ";"
    {"rasterstmt", 2}, // 75: NEWFILE ";"
    {"rasterstmt", 2}, // 76: IGNORE ";"
    {"rasterstmt", 3}, // 77: IGNORE numval ";"
    {"rasterstmt", 2}, // 78: DELETEFILE ";"
    {"rasterstmt", 5}, // 79: VIEW numval "," numval ";"
    {"rasterstmt", 3}, // 80: INTERPOLATION interpword ";"
    {"rasterstmt", 2}, // 81: THEMATIC ";"
    {"rasterstmt", 2}, // 82: ATHEMATIC ";"
    {"rasterstmt", 3}, // 83: DATATYPE typeword ";"
    {"rasterstmt", 3}, // 84: DECLARE strval ";"
    {"rasterstmt", 3}, // 85: COMPRESSION compressword ";"
    {"rasterstmt", 3}, // 86: COORDINATES coordword ";"
    {"rasterstmt", 3}, // 87: AREA areaspec ";"
    {"rasterstmt", 3}, // 88: AOI NONE ";"
    {"rasterstmt", 3}, // 89: AOI DEFAULT ";"
    {"rasterstmt", 3}, // 90: AOI strval ";"
    {"rasterstmt", 3}, // 91: RECODE yesno ";"
    {"rasterstmt", 3}, // 92: NUMCLASSES numval ";"
    {"rasterstmt", 3}, // 93: NEWCLASSES rasterclasses ";"
    {"rasterstmt", 3}, // 94: PARENT numval ";"
    {"rasterstmt", 3}, // 95: CHILD childids ";"
    {"vectorstmt", 0}, // 96: nothing
    {"vectorstmt", 3}, // 97: _ID numval ";"
    {"vectorstmt", 3}, // 98: TITLE strval ";"
    {"vectorstmt", 5}, // 99: POSITION numval "," numval ";"
    {"vectorstmt", 3}, // 100: VECTORTYPE vectorkind ";"
    {"vectorstmt", 3}, // 101: FILENAME strval ";"
    {"vectorstmt", 2}, // 102: PROMPT ";"
    {"vectorstmt", 3}, // 103: PROMPT strval ";"
    {"vectorstmt", 3}, // 104: FEATURE strval ";"
    {"vectorstmt", 2}, // 105: TEMPFILE ";"
    {"vectorstmt", 6}, // 106: CELLSIZE numval "," numval cellunitword ";"
    {"vectorstmt", 3}, // 107: DECLARE strval ";"
    {"vectorstmt", 9}, // 108: WINDOW numval "," numval ":" numval "," numval ";"
    {"vectorstmt", 3}, // 109: AOI NONE ";"
    {"vectorstmt", 3}, // 110: AOI DEFAULT ";"
    {"vectorstmt", 3}, // 111: AOI strval ";"
    {"vectorstmt", 3}, // 112: ATTRIBUTE strval ";"
    {"vectorstmt", 3}, // 113: RECODE yesno ";"
    {"vectorstmt", 3}, // 114: NUMCLASSES numval ";"
    {"vectorstmt", 3}, // 115: NEWCLASSES vectorclasses ";"
    {"vectorstmt", 3}, // 116: PARENT numval ";"
    {"vectorstmt", 3}, // 117: CHILD childids ";"
    {"matrixstmt", 0}, // 118: nothing
    {"matrixstmt", 3}, // 119: _ID numval ";"
    {"matrixstmt", 3}, // 120: TITLE strval ";"
    {"matrixstmt", 5}, // 121: POSITION numval "," numval ";"
    {"matrixstmt", 5}, // 122: SIZE numval "," numval ";"
    {"matrixstmt", 3}, // 123: DATATYPE typeword ";"
    {"matrixstmt", 2}, // 124: OUTPUT ";"
    {"matrixstmt", 3}, // 125: BUILTIN kernelword ";"
    {"matrixstmt", 3}, // 126: VALUE matrixlist ";"
    {"matrixstmt", 3}, // 127: NORMALIZE yesno ";"
    {"matrixstmt", 2}, // 128: READ ";"
    {"matrixstmt", 3}, // 129: READ strval ";"
    {"matrixstmt", 2}, // 130: WRITE ";"
    {"matrixstmt", 3}, // 131: WRITE strval ";"
    {"matrixstmt", 2}, // 132: PROMPT ";"
    {"matrixstmt", 3}, // 133: PROMPT strval ";"
    {"matrixstmt", 2}, // 134: SHOW ";"
    {"matrixstmt", 3}, // 135: PARENT numval ";"
    {"matrixstmt", 3}, // 136: CHILD childids ";"
    {"tablestmt", 0}, // 137: nothing
    {"tablestmt", 3}, // 138: _ID numval ";"
    {"tablestmt", 3}, // 139: TITLE strval ";"
    {"tablestmt", 5}, // 140: POSITION numval "," numval ";"
    {"tablestmt", 3}, // 141: SIZE numval ";"
    {"tablestmt", 3}, // 142: DATATYPE tabletypeword ";"
    {"tablestmt", 2}, // 143: IMAGENAME ";"
    {"tablestmt", 3}, // 144: IMAGENAME strval ";"
    {"tablestmt", 3}, // 145: VARIABLENAME strval ";"
    {"tablestmt", 2}, // 146: COVERAGENAME ";"
    {"tablestmt", 3}, // 147: COVERAGENAME strval ";"
    {"tablestmt", 2}, // 148: ANNOTATIONNAME ";"
    {"tablestmt", 3}, // 149: ANNOTATIONNAME strval ";"
    {"tablestmt", 2}, // 150: PROMPTLAYERFILE ";"
    {"tablestmt", 3}, // 151: PROMPTLAYERFILE strval ";"
    {"tablestmt", 3}, // 152: LAYERNAME strval ";"
    {"tablestmt", 3}, // 153: FIELDNAME strval ";"
    {"tablestmt", 3}, // 154: VALUE numberlist ";"
    {"tablestmt", 3}, // 155: VALUE stringlist ";"
    {"tablestmt", 5}, // 156: COLORVALUE "(" colorlist ")" ";"
    {"tablestmt", 2}, // 157: OUTPUT ";"
    {"tablestmt", 2}, // 158: READ ";"
    {"tablestmt", 3}, // 159: READ strval ";"
    {"tablestmt", 2}, // 160: WRITE ";"
    {"tablestmt", 3}, // 161: WRITE strval ";"
    {"tablestmt", 2}, // 162: PROMPT ";"
    {"tablestmt", 3}, // 163: PROMPT strval ";"
    {"tablestmt", 2}, // 164: SHOW ";"
    {"tablestmt", 3}, // 165: PARENT numval ";"
    {"tablestmt", 3}, // 166: CHILD childids ";"
    {"scalarstmt", 0}, // 167: nothing
    {"scalarstmt", 3}, // 168: _ID numval ";"
    {"scalarstmt", 3}, // 169: TITLE strval ";"
    {"scalarstmt", 5}, // 170: POSITION numval "," numval ";"
    {"scalarstmt", 3}, // 171: DATATYPE typeword ";"
    {"scalarstmt", 3}, // 172: VALUE numval ";"
    {"scalarstmt", 2}, // 173: READ ";"
    {"scalarstmt", 3}, // 174: READ strval ";"
    {"scalarstmt", 2}, // 175: WRITE ";"
    {"scalarstmt", 3}, // 176: WRITE strval ";"
    {"scalarstmt", 2}, // 177: PROMPT ";"
    {"scalarstmt", 3}, // 178: PROMPT strval ";"
    {"scalarstmt", 2}, // 179: SHOW ";"
    {"scalarstmt", 3}, // 180: PARENT numval ";"
    {"scalarstmt", 3}, // 181: CHILD childids ";"
    {"functionstmt", 0}, // 182: nothing
    {"functionstmt", 3}, // 183: _ID numval ";"
    {"functionstmt", 3}, // 184: TITLE strval ";"
    {"functionstmt", 5}, // 185: POSITION numval "," numval ";"
    {"functionstmt", 3}, // 186: VALUE strval ";"
    {"functionstmt", 3}, // 187: AREA areamode ";"
    {"functionstmt", 2}, // 188: parentstmt ";"
    {"functionstmt", 3}, // 189: CHILD numval ";"
    {"criteriastmt", 0}, // 190: nothing
    {"criteriastmt", 3}, // 191: _ID numval ";"
    {"criteriastmt", 3}, // 192: TITLE strval ";"
    {"criteriastmt", 5}, // 193: POSITION numval "," numval ";"
    {"criteriastmt", 5}, // 194: SIZE numval "," numval ";"
    {"criteriastmt", 3}, // 195: COLUMNTITLES titlelist ";"
    {"criteriastmt", 3}, // 196: VALUE celllist ";"
    {"outputstart", 0}, // 197: nothing
    {"criteriastmt", 4}, // 198: OUTPUTVALUES outputstart outputlist ";"
    {"criteriastmt", 3}, // 199: DEFAULT numval ";"
    {"criteriastmt", 2}, // 200: parentstmt ";"
    {"criteriastmt", 3}, // 201: CHILD numval ";"
    {"textstmt", 0}, // 202: nothing
    {"textstmt", 3}, // 203: _ID numval ";"
    {"textstmt", 3}, // 204: TITLE strval ";"
    {"textstmt", 5}, // 205: POSITION numval "," numval ";"
    {"textstmt", 3}, // 206: FONT strval ";"
    {"textstmt", 3}, // 207: SIZE numval ";"
    {"textstmt", 3}, // 208: STYLE styleword ";"
    {"interpword", 1}, // 209: NEAREST
    {"interpword", 1}, // 210: BILINEAR
    {"interpword", 1}, // 211: CUBIC
    {"typeword", 1}, // 212: _U1
    {"typeword", 1}, // 213: _U2
    {"typeword", 1}, // 214: _U4
    {"typeword", 1}, // 215: _U8
    {"typeword", 1}, // 216: _S8
    {"typeword", 1}, // 217: _U16
    {"typeword", 1}, // 218: _S16
    {"typeword", 1}, // 219: _U32
    {"typeword", 1}, // 220: _S32
    {"typeword", 1}, // 221: _F32
    {"typeword", 1}, // 222: _D64
    {"typeword", 1}, // 223: _C64
    {"typeword", 1}, // 224: _C128
    {"typeword", 1}, // 225: _STR
    {"tabletypeword", 1}, // 226: _U1
    {"tabletypeword", 1}, // 227: _S32
    {"tabletypeword", 1}, // 228: _D64
    {"tabletypeword", 1}, // 229: _STR
    {"tabletypeword", 1}, // 230: COLOR
    {"vectorkind", 1}, // 231: COVERAGE
    {"vectorkind", 1}, // 232: ANNOTATION
    {"compressword", 1}, // 233: UNCOMPRESSED
    {"compressword", 1}, // 234: RLE
    {"coordword", 1}, // 235: MAP
    {"coordword", 1}, // 236: PIXEL
    {"areaspec", 8}, // 237: RECT numval "," numval ":" numval "," numval
    {"areaspec", 4}, // 238: POLY numval ":" polypoints
    {"areaspec", 2}, // 239: MASK strval
    {"yesno", 1}, // 240: YES
    {"yesno", 1}, // 241: NO
    {"rasterclasses", 1}, // 242: numval
    {"rasterclasses", 3}, // 243: rasterclasses "," numval
    {"vectorclasses", 1}, // 244: numval
    {"vectorclasses", 3}, // 245: vectorclasses "," numval
    {"matrixlist", 1}, // 246: numval
    {"matrixlist", 3}, // 247: matrixlist "," numval
    {"numberlist", 1}, // 248: numval
    {"numberlist", 3}, // 249: numberlist "," numval
    {"stringlist", 1}, // 250: strval
    {"stringlist", 3}, // 251: stringlist "," strval
    {"colorlist", 9}, // 252: "(" numval "," numval "," numval "," numval ")"
    {"colorlist", 11}, // 253: colorlist "," "(" numval "," numval "," numval "," numval ")"
    {"titlelist", 1}, // 254: strval
    {"titlelist", 3}, // 255: titlelist "," strval
    {"celllist", 1}, // 256: strval
    {"celllist", 3}, // 257: celllist "," strval
    {"outputlist", 1}, // 258: numval
    {"outputlist", 3}, // 259: outputlist "," numval
    {"parentstmt", 2}, // 260: PARENT parentids
    {"childids", 1}, // 261: numval
    {"childids", 3}, // 262: childids "," numval
    {"kernelword", 1}, // 263: LOWPASS
    {"kernelword", 1}, // 264: HIGHPASS
    {"kernelword", 1}, // 265: EDGEDETECT
    {"kernelword", 1}, // 266: EDGEENHANCE
    {"kernelword", 1}, // 267: HORIZONTAL
    {"kernelword", 1}, // 268: VERTICAL
    {"kernelword", 1}, // 269: SOBEL1
    {"kernelword", 1}, // 270: SOBEL2
    {"kernelword", 1}, // 271: SUMMARY
    {"parentids", 1}, // 272: numval
    {"parentids", 3}, // 273: parentids "," numval
    {"areamode", 1}, // 274: UNION
    {"areamode", 1}, // 275: INTERSECTION
    {"styleword", 1}, // 276: NORMAL
    {"styleword", 1}, // 277: BOLD
    {"styleword", 1}, // 278: ITALICS
    {"styleword", 1}, // 279: UNDERLINED
    {"polypoints", 1}, // 280: pointpair
    {"polypoints", 3}, // 281: polypoints ":" pointpair
    {"pointpair", 3}, // 282: numval "," numval
    {"pageunitword", 0}, // 283: nothing
    {"pageunitword", 1}, // 284: INCHES
    {"pageunitword", 1}, // 285: CENTIMETERS
    {"orientword", 0}, // 286: nothing
    {"orientword", 1}, // 287: PORTRAIT
    {"orientword", 1}, // 288: LANDSCAPE
    {"cellunitword", 0}, // 289: nothing
    {"cellunitword", 1}, // 290: METERS
    {"cellunitword", 1}, // 291: FEET
    {"strval", 1}, // 292: NAME
    {"strval", 1}, // 293: STRING
    {"numval", 1}, // 294: FLOAT
    {"numval", 2}, // 295: "-" FLOAT
    {"numval", 1}, // 296: INTEGER
    {"numval", 2}, // 297: "-" INTEGER
};

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
    Vmod_ParserTables tables = *vmod_ModelParserTables();
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

TEST(vmod_ModelParserTables, RecordCarriesTheFixedNumbering) {
    const Vmod_ParserTables *t = vmod_ModelParserTables();
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
TEST(vmod_ModelParserTables, KeywordTableMatchesTheGrammarTokens) {
    const Vmod_ParserTables *t = vmod_ModelParserTables();
    std::map<int32_t, int> uses;
    for (int k = 0; k < t->scanner.keywordCount; ++k) {
        const Vmod_ScannerKeyword &keyword = t->scanner.keywords[k];
        EXPECT_STREQ(keyword.word, vmod_Keywords[k]);
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

TEST(vmod_ModelParserTables, ProductionsFollowTheFixedOrder) {
    const Vmod_ParserTables *t = vmod_ModelParserTables();
    ASSERT_EQ(sizeof kProductions / sizeof kProductions[0], 297u);
    // Same left-side name <=> same left-side symbol; every length as listed.
    std::map<std::string, int32_t> symbolOf;
    std::set<int32_t> symbols;
    for (int p = 1; p <= 297; ++p) {
        const ProductionShape &shape = kProductions[p - 1];
        EXPECT_EQ(+(t->ruleLength[p]), shape.length) << "production " << p;
        int32_t lhs = t->leftSide[p];
        EXPECT_GE(lhs, 144);
        EXPECT_LE(lhs, 211);
        auto known = symbolOf.find(shape.leftSide);
        if (known == symbolOf.end()) {
            EXPECT_TRUE(symbols.insert(lhs).second) << "production " << p << " shares a left side";
            symbolOf[shape.leftSide] = lhs;
        } else {
            EXPECT_EQ(lhs, +(known->second)) << "production " << p;
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
