// olex_driver.cpp - the host's table-driven LALR(1) parser driver.
//
// It reads its input in chunks through the scanner, keeps the line and column of every
// token, and runs the packed tables of a Vmod_ParserTables record: in state s with
// lookahead symbol t the packed entry at actionBase[s] + t applies when the check table
// holds t there (positive: shift, negative: reduce, absent flag or 0: error), otherwise
// the state's default reduction does. Shifting into the accepting state accepts.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/olex.h"
#include "vmodhost/omsc.h"
#include "vmodhost/vmodhost.h"
#include "support/c_locale.h"

namespace {

constexpr size_t kChunk = 64 * 1024;
// The longest token accepted; strings hold whole expressions, so this is generous.
constexpr size_t kMaxToken = 16 * 1024 * 1024;
// Expected tokens are listed one by one up to this many.
constexpr int kMaxListedExpected = 9;
// A name this close to an expected keyword (edits, and under half the name's length) is
// taken for a misspelling of it.
constexpr size_t kMaxSuggestionEdits = 2;
// The UTF-8 byte-order mark some editors put at the start of a text file.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// 64-bit: a line longer than 2 GB, or a file of more than 2 billion lines, still gets
// its true position.
struct Position {
    int64_t line = 1;
    int64_t column = 1;
};

struct Token {
    int32_t number = 0;   // token number
    int32_t symbol = 0;   // internal symbol
    Olex_Value value{};
    bool ownsText = false;
    Position at;
    size_t offset = 0;    // where its bytes start in the input buffer (valid until the next scan)
    size_t length = 0;
};

// What the driver knows of a stack cell besides its value.
struct Entry {
    Position at;
    bool ownsText;
    int32_t symbol; // the symbol shifted or reduced into the cell; -1 at the bottom
};

} // namespace

struct Olex_Parser {
    const Vmod_ParserTables *tables = nullptr;
    Olex_Scanner scanner = nullptr;
    std::string name;

    // Input: a window [start, end) of `buffer` over the file, or all of a memory text.
    std::FILE *file = nullptr;
    std::vector<char> buffer;
    const char *bytes = nullptr;
    size_t start = 0;
    size_t end = 0;
    bool atEnd = false;
    Position position; // of bytes[start]
    size_t consumed = 0; // bytes scanned so far, a byte-order mark not counted

    std::vector<int32_t> states;
    std::vector<Olex_Value> values; // contiguous: the action routine indexes below its top
    std::vector<Entry> entries;
    Token lookahead;
    bool haveLookahead = false;

    bool markChecked = false; // a byte-order mark at the start has been looked for
    size_t markLength = 0;    // and skipped: its length
    int32_t tokensRead = 0;

    // Set when scanning or reading fails, or the action routine rejects the input. The
    // hint, when there is one, becomes the cause of the report: a line after the message.
    bool failed = false;
    std::string message;
    std::string hint;

    // The right side of the production being reduced, for olex_Reject.
    size_t reductionTop = 0;
    int32_t reductionLength = 0;
};

namespace {

void fail(Olex_Parser &p, const Position &at, const std::string &what) {
    if (p.failed)
        return;
    p.failed = true;
    p.message = p.name + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " + what;
}

void failWithoutPosition(Olex_Parser &p, const std::string &what) {
    p.failed = true;
    p.message = p.name + ": " + what;
}

void advance(Olex_Parser &p, size_t length) {
    const char *from = p.bytes + p.start;
    const char *stop = from + length;
    for (;;) {
        const void *newline = std::memchr(from, '\n', static_cast<size_t>(stop - from));
        if (newline == nullptr)
            break;
        ++p.position.line;
        p.position.column = 1;
        from = static_cast<const char *>(newline) + 1;
    }
    p.position.column += static_cast<int64_t>(stop - from);
    p.start += length;
    p.consumed += length;
}

// The position n bytes after `at` over `bytes`.
Position positionAfter(Position at, const char *bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (bytes[i] == '\n') {
            ++at.line;
            at.column = 1;
        } else {
            ++at.column;
        }
    }
    return at;
}

// Makes room for more input and reads it; false after a read error (reported).
bool refill(Olex_Parser &p) {
    if (p.file == nullptr) {
        p.atEnd = true;
        return true;
    }
    size_t pending = p.end - p.start;
    if (pending > kMaxToken) {
        fail(p, p.position, "a token longer than " + std::to_string(kMaxToken) + " bytes");
        return false;
    }
    if (p.start > 0) {
        std::memmove(p.buffer.data(), p.buffer.data() + p.start, pending);
        p.start = 0;
        p.end = pending;
    }
    if (p.buffer.size() - p.end < kChunk)
        p.buffer.resize(std::max(p.buffer.size() * 2, p.end + kChunk));
    size_t got = std::fread(p.buffer.data() + p.end, 1, p.buffer.size() - p.end, p.file);
    p.end += got;
    p.bytes = p.buffer.data();
    if (got == 0) {
        if (std::ferror(p.file)) {
            failWithoutPosition(p, std::string("cannot read the file: ") + std::strerror(errno));
            return false;
        }
        p.atEnd = true;
    }
    return true;
}

double numberValue(const char *text, size_t length) {
    double value = 0;
    std::from_chars_result r = std::from_chars(text, text + length, value);
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond the normal range of a double, in either direction: strtod rounds to the
        // nearest value there is (infinity, a subnormal or zero), however the number is
        // spelled ("1e-400" or hundreds of zeros after the point).
        std::string digits(text, length);
        vmodhost::CLocaleScope scope;
        value = std::strtod(digits.c_str(), nullptr);
    }
    return value;
}

char *stringValue(const char *text, size_t length) {
    // Drop the quotes and reduce each backslash-quote pair to the quote.
    char *out = static_cast<char *>(omsc_HeapMalloc(length - 1));
    size_t n = 0;
    for (size_t i = 1; i + 1 < length; ++i) {
        if (text[i] == '\\' && text[i + 1] == '"' && i + 2 < length)
            continue;
        out[n++] = text[i];
    }
    out[n] = '\0';
    return out;
}

char *nameValue(const char *text, size_t length) {
    char *out = static_cast<char *>(omsc_HeapMalloc(length + 1));
    std::memcpy(out, text, length);
    out[length] = '\0';
    return out;
}

std::string shortText(const char *text, size_t length) {
    std::string out;
    for (size_t i = 0; i < length && i < 40; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        out += (c < 0x20 || c == 0x7f) ? ' ' : static_cast<char>(c);
    }
    if (length > 40)
        out += "...";
    return out;
}

std::string byteText(unsigned char c) {
    char text[16];
    if (c >= 0x20 && c < 0x7f)
        std::snprintf(text, sizeof text, "'%c'", c);
    else
        std::snprintf(text, sizeof text, "byte 0x%02X", c);
    return text;
}

int32_t symbolOf(const Vmod_ParserTables &t, int32_t token) {
    return (token >= 0 && token <= t.maxToken) ? t.translate[token] : 2;
}

// Scans the next token into p.lookahead; false after a failure (reported).
bool readToken(Olex_Parser &p) {
    const Vmod_ParserTables &t = *p.tables;
    if (!p.markChecked) {
        // A byte-order mark is no token: it is skipped and leaves the column at 1.
        while (p.end - p.start < 3 && !p.atEnd)
            if (!refill(p))
                return false;
        if (p.end - p.start >= 3 && std::memcmp(p.bytes + p.start, kByteOrderMark, 3) == 0) {
            p.start += 3;
            p.markLength = 3;
        }
        p.markChecked = true;
    }
    for (;;) {
        size_t length = 0;
        int32_t kind = p.scanner(&t.scanner, p.bytes + p.start, p.end - p.start, p.atEnd ? 1 : 0, &length);
        if (kind == OLEX_MORE) {
            if (p.atEnd || !refill(p)) {
                if (!p.failed)
                    fail(p, p.position, "the scanner asked for input past the end");
                return false;
            }
            continue;
        }
        Position at = p.position;
        if (kind == OLEX_ILLEGAL) {
            fail(p, at, "unexpected " + byteText(static_cast<unsigned char>(p.bytes[p.start])));
            return false;
        }
        if (kind == OLEX_UNTERMINATED) {
            fail(p, at, "a string is not closed before the end of the file");
            return false;
        }
        if ((kind < 0 && kind != OLEX_SPACE) || length > p.end - p.start || (length == 0 && kind != 0)) {
            fail(p, at, "the scanner failed");
            return false;
        }
        size_t offset = p.start;
        if (kind == t.scanner.stringToken) {
            // The string would end at a NUL byte, silently losing the rest.
            const void *nul = std::memchr(p.bytes + offset, '\0', length);
            if (nul != nullptr) {
                fail(p, positionAfter(at, p.bytes + offset, static_cast<const char *>(nul) - (p.bytes + offset)),
                     "a string holds a NUL byte");
                return false;
            }
        }
        advance(p, length);
        if (kind == OLEX_SPACE)
            continue;
        ++p.tokensRead;
        Token &token = p.lookahead;
        token = Token{};
        token.number = kind;
        token.symbol = symbolOf(t, kind);
        token.at = at;
        token.offset = offset;
        token.length = length;
        const char *text = p.bytes + offset;
        if (kind == t.scanner.floatToken || kind == t.scanner.integerToken) {
            token.value.number = numberValue(text, length);
        } else if (kind == t.scanner.stringToken) {
            token.value.text = stringValue(text, length);
            token.ownsText = true;
        } else if (kind == t.scanner.nameToken) {
            token.value.text = nameValue(text, length);
            token.ownsText = true;
        }
        return true;
    }
}

// How a symbol reads in a message: keywords as their word in capitals.
std::string symbolText(const Vmod_ParserTables &t, int32_t symbol) {
    if (symbol == 0)
        return "end of file";
    for (int32_t k = 0; k < t.scanner.keywordCount; ++k) {
        const Vmod_ScannerKeyword &keyword = t.scanner.keywords[k];
        if (symbolOf(t, keyword.token) == symbol) {
            std::string word = keyword.word;
            for (char &c : word)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            return word;
        }
    }
    const char *name = t.symbolNames[symbol];
    return name != nullptr ? name : "?";
}

bool isKeywordSymbol(const Vmod_ParserTables &t, int32_t symbol) {
    for (int32_t k = 0; k < t.scanner.keywordCount; ++k)
        if (symbolOf(t, t.scanner.keywords[k].token) == symbol)
            return true;
    return false;
}

std::string describeLookahead(const Olex_Parser &p) {
    const Vmod_ParserTables &t = *p.tables;
    const Token &token = p.lookahead;
    const char *text = p.bytes + token.offset;
    if (token.number == t.scanner.nameToken || token.number == t.scanner.stringToken)
        return symbolText(t, token.symbol) + " \"" + shortText(token.value.text, std::strlen(token.value.text)) + "\"";
    if (token.number == t.scanner.floatToken || token.number == t.scanner.integerToken)
        return symbolText(t, token.symbol) + " " + shortText(text, token.length);
    return symbolText(t, token.symbol);
}

// The terminals state accepts, in symbol order.
std::vector<int32_t> expectedSymbols(const Vmod_ParserTables &t, int32_t state) {
    std::vector<int32_t> symbols;
    int32_t base = t.actionBase[state];
    if (base == t.absentFlag)
        return symbols;
    for (int32_t symbol = 0; symbol < t.terminalCount; ++symbol) {
        int32_t index = base + symbol;
        if (index < 0 || index > t.lastIndex || t.check[index] != symbol)
            continue;
        int32_t action = t.packed[index];
        if (action != 0 && action != t.absentFlag)
            symbols.push_back(symbol);
    }
    return symbols;
}

// "a", "a or b", "a, b or c".
std::string listText(const std::vector<std::string> &names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += (i + 1 == names.size()) ? " or " : ", ";
        text += names[i];
    }
    return text;
}

std::vector<std::string> symbolTexts(const Vmod_ParserTables &t, const std::vector<int32_t> &symbols) {
    std::vector<std::string> names;
    for (int32_t symbol : symbols)
        names.push_back(symbolText(t, symbol));
    return names;
}

// Whether the keyword symbol opens a block in state: after it only '{' may follow.
bool opensBlock(const Vmod_ParserTables &t, int32_t state, int32_t symbol) {
    int32_t base = t.actionBase[state];
    int32_t index = base + symbol;
    if (base == t.absentFlag || index < 0 || index > t.lastIndex || t.check[index] != symbol)
        return false;
    int32_t next = t.packed[index];
    if (next <= 0 || next == t.absentFlag || next == t.acceptState)
        return false;
    std::vector<int32_t> after = expectedSymbols(t, next);
    return after.size() == 1 && symbolText(t, after[0]) == "'{'";
}

// What the keywords expected in state are for, read from the stack: the words a
// statement's keyword takes, the statements of the block being read, or, outside every
// block, header statements and node blocks.
std::vector<std::string> keywordKinds(const Olex_Parser &p, int32_t state) {
    const Vmod_ParserTables &t = *p.tables;
    // The newest terminal on the stack: the statements read so far are reduced away.
    size_t i = p.entries.size();
    while (i > 0 && (p.entries[i - 1].symbol < 0 || p.entries[i - 1].symbol >= t.terminalCount))
        --i;
    if (i > 0) {
        const int32_t last = p.entries[i - 1].symbol;
        if (isKeywordSymbol(t, last))
            return {"a word that " + symbolText(t, last) + " takes"};
        if (symbolText(t, last) != "'{'")
            return {"a keyword"};
        if (i > 1 && isKeywordSymbol(t, p.entries[i - 2].symbol))
            return {"a statement of a " + symbolText(t, p.entries[i - 2].symbol) + " block"};
        return {"a statement"};
    }
    bool header = false, block = false;
    for (int32_t symbol : expectedSymbols(t, state)) {
        if (!isKeywordSymbol(t, symbol))
            continue;
        if (opensBlock(t, state, symbol))
            block = true;
        else
            header = true;
    }
    std::vector<std::string> kinds;
    if (header)
        kinds.push_back("a header statement");
    if (block)
        kinds.push_back("a node block");
    return kinds;
}

// ", expected ..." for the error in state: every expected token when they are few,
// otherwise what the keywords among them are for.
std::string expectedText(const Olex_Parser &p, int32_t state) {
    const Vmod_ParserTables &t = *p.tables;
    std::vector<int32_t> symbols = expectedSymbols(t, state);
    if (symbols.empty())
        return "";
    if (symbols.size() <= static_cast<size_t>(kMaxListedExpected))
        return ", expected " + listText(symbolTexts(t, symbols));
    std::vector<std::string> names;
    bool anyKeyword = false;
    for (int32_t symbol : symbols) {
        if (isKeywordSymbol(t, symbol))
            anyKeyword = true;
        else
            names.push_back(symbolText(t, symbol));
    }
    if (anyKeyword) {
        std::vector<std::string> kinds = keywordKinds(p, state);
        names.insert(names.begin(), kinds.begin(), kinds.end());
    }
    return ", expected " + listText(names);
}

// Edits (insertions, deletions, substitutions) between a and b, ignoring letter case.
size_t editDistance(const std::string &a, const std::string &b) {
    auto upper = [](char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); };
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (upper(a[i - 1]) == upper(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// "did you mean WORD?" when the lookahead is a name close to a keyword the state
// expects (every keyword equally close is named), else "".
std::string suggestionText(const Olex_Parser &p, int32_t state) {
    const Vmod_ParserTables &t = *p.tables;
    if (p.lookahead.number != t.scanner.nameToken)
        return "";
    const std::string name = p.lookahead.value.text;
    if (name.size() > 40)
        return "";
    std::vector<std::string> best;
    size_t bestDistance = kMaxSuggestionEdits + 1;
    for (int32_t symbol : expectedSymbols(t, state)) {
        if (!isKeywordSymbol(t, symbol))
            continue;
        std::string word = symbolText(t, symbol);
        size_t distance = editDistance(name, word);
        if (distance > bestDistance || 2 * distance >= name.size())
            continue;
        if (distance < bestDistance)
            best.clear();
        bestDistance = distance;
        best.push_back(word);
    }
    return best.empty() ? "" : "did you mean " + listText(best) + "?";
}

// Reports the lookahead the grammar does not allow in state. At the first token of the
// file the hint says how a model file starts.
void failSyntax(Olex_Parser &p, int32_t state) {
    const Vmod_ParserTables &t = *p.tables;
    const bool first = p.tokensRead == 1;
    if (first && p.lookahead.symbol == 0)
        fail(p, p.lookahead.at,
             p.consumed == 0 ? "the file is empty" : "the file holds no statements, only blanks and comments");
    else
        fail(p, p.lookahead.at, "unexpected " + describeLookahead(p) + expectedText(p, state));
    p.hint = suggestionText(p, state);
    if (first && p.hint.empty())
        p.hint = "a model file starts with a header statement: " + listText(symbolTexts(t, expectedSymbols(t, state)));
}

void releaseTexts(Olex_Parser &p) {
    for (size_t i = 0; i < p.entries.size(); ++i)
        if (p.entries[i].ownsText)
            omsc_HeapFree(p.values[i].text);
    p.entries.clear();
    p.values.clear();
    if (p.haveLookahead && p.lookahead.ownsText)
        omsc_HeapFree(p.lookahead.value.text);
    p.haveLookahead = false;
}

// The parse loop; true when the input was accepted.
bool parse(Olex_Parser &p, void *localData, void **parseResult) {
    const Vmod_ParserTables &t = *p.tables;
    bool accepted = false;

    p.states.reserve(static_cast<size_t>(t.initialDepth));
    p.entries.reserve(static_cast<size_t>(t.initialDepth));
    p.values.reserve(static_cast<size_t>(t.initialDepth));
    p.states.push_back(0);
    p.values.push_back(Olex_Value{});
    p.entries.push_back(Entry{Position{}, false, -1});
    int32_t state = 0;

    while (!p.failed) {
        int32_t production = 0;
        int32_t base = t.actionBase[state];
        bool useDefault = true;
        if (base != t.absentFlag) {
            if (!p.haveLookahead) {
                if (!readToken(p))
                    break;
                p.haveLookahead = true;
            }
            int32_t index = base + p.lookahead.symbol;
            if (index >= 0 && index <= t.lastIndex && t.check[index] == p.lookahead.symbol) {
                int32_t action = t.packed[index];
                useDefault = false;
                if (action > 0) {
                    if (action == t.acceptState) {
                        accepted = true;
                        break;
                    }
                    if (static_cast<int32_t>(p.states.size()) >= t.maxDepth) {
                        fail(p, p.lookahead.at, "statements nested too deeply");
                        break;
                    }
                    p.states.push_back(action);
                    p.values.push_back(p.lookahead.value);
                    p.entries.push_back(Entry{p.lookahead.at, p.lookahead.ownsText, p.lookahead.symbol});
                    p.haveLookahead = false;
                    state = action;
                    continue;
                }
                if (action != 0 && action != t.absentFlag)
                    production = -action;
            }
        }
        if (useDefault)
            production = t.defaultReduction[state];
        if (production <= 0) {
            if (p.haveLookahead)
                failSyntax(p, state);
            else
                fail(p, p.position, "unexpected input");
            break;
        }

        int32_t length = t.ruleLength[production];
        Olex_Value result{};
        int32_t flag = 0;
        p.reductionTop = p.entries.size() - 1;
        p.reductionLength = length;
        // Strings of the reduced tokens now belong to the action routine.
        for (size_t i = p.entries.size() - static_cast<size_t>(length); i < p.entries.size(); ++i)
            p.entries[i].ownsText = false;
        if (t.action != nullptr)
            t.action(&p, localData, production, &p.values[p.reductionTop], &result, parseResult, &flag);
        if (p.failed)
            break;
        Position at = length > 0 ? p.entries[p.entries.size() - length].at
                                 : (p.haveLookahead ? p.lookahead.at : p.position);
        p.states.resize(p.states.size() - length);
        p.entries.resize(p.entries.size() - length);
        p.values.resize(p.values.size() - length);
        int32_t nonterminal = t.leftSide[production] - t.terminalCount;
        int32_t uncovered = p.states.back();
        int32_t gotoBase = t.gotoBase[nonterminal];
        int32_t index = gotoBase + uncovered;
        if (gotoBase != t.absentFlag && index >= 0 && index <= t.lastIndex && t.check[index] == uncovered)
            state = t.packed[index];
        else
            state = t.defaultGoto[nonterminal];
        if (static_cast<int32_t>(p.states.size()) >= t.maxDepth) {
            fail(p, at, "statements nested too deeply");
            break;
        }
        p.states.push_back(state);
        p.values.push_back(result);
        p.entries.push_back(Entry{at, false, t.leftSide[production]});
    }
    return accepted;
}

void *run(Olex_Parser &p, Oerr_ErrorReport **err) {
    const Vmod_ParserTables &t = *p.tables;
    void *localData = t.allocLocal != nullptr ? t.allocLocal() : nullptr;
    void *parseResult = nullptr;
    bool accepted = false;
    try {
        accepted = parse(p, localData, &parseResult);
    } catch (...) { // a stack or buffer could not grow
        fail(p, p.position, "memory is exhausted");
    }
    releaseTexts(p);
    if (t.freeLocal != nullptr)
        t.freeLocal(localData);
    if (!accepted || p.failed) {
        if (!p.failed)
            failWithoutPosition(p, "the parse stopped without a result");
        Oerr_ErrorReport *hint =
            p.hint.empty() ? nullptr : oerr_CreateErrorReport("olex_Parse", OERR_FAILED, OERR_SEVERITY_ERROR, nullptr, "%s", p.hint.c_str(), 0);
        *err = oerr_CreateErrorReport("olex_Parse", OERR_FAILED, OERR_SEVERITY_ERROR, hint, "%s", p.message.c_str(), 0);
        return nullptr;
    }
    return parseResult;
}

// The caller's report slot for one parse: the parse reports into an empty slot, and the
// report that was there goes to the end of whatever chain the parse left.
class KeptReport {
  public:
    explicit KeptReport(Oerr_ErrorReport **err) : err_(err), earlier_(*err) { *err = nullptr; }
    ~KeptReport() { vmodhost_ErrorAppendCause(err_, earlier_); }
    KeptReport(const KeptReport &) = delete;
    KeptReport &operator=(const KeptReport &) = delete;

  private:
    Oerr_ErrorReport **err_;
    Oerr_ErrorReport *earlier_;
};

} // namespace

extern "C" {

void *olex_Parse(const Vmod_ParserTables *tables, void *, Olex_Scanner scanner, void *, const char *path, void *,
                 void *, Oerr_ErrorReport **err) {
    const KeptReport kept(err);
    Olex_Parser p;
    p.tables = tables;
    p.scanner = scanner != nullptr ? scanner : olex_Scanner;
    p.file = path != nullptr ? std::fopen(path, "rb") : nullptr;
    if (p.file == nullptr) {
        const char *reason = std::strerror(path != nullptr ? errno : EINVAL);
        *err = oerr_CreateErrorReport("olex_Parse", OERR_FAILED, OERR_SEVERITY_ERROR, nullptr,
                                      "%s: cannot open the file: %s", path != nullptr ? path : "", reason, 0);
        return nullptr;
    }
    try {
        p.name = path;
        p.buffer.resize(kChunk);
    } catch (...) {
        std::fclose(p.file);
        *err = oerr_CreateErrorReport("olex_Parse", OERR_FAILED, OERR_SEVERITY_ERROR, nullptr, "%s: %s", path,
                                      "memory is exhausted", 0);
        return nullptr;
    }
    p.bytes = p.buffer.data();
    void *result = run(p, err);
    std::fclose(p.file);
    return result;
}

void *olex_ParseText(const Vmod_ParserTables *tables, Olex_Scanner scanner, const char *name, const char *bytes,
                     size_t length, Oerr_ErrorReport **err) {
    const KeptReport kept(err);
    Olex_Parser p;
    p.tables = tables;
    p.scanner = scanner != nullptr ? scanner : olex_Scanner;
    p.name = name != nullptr ? name : "";
    p.bytes = bytes != nullptr ? bytes : "";
    p.end = bytes != nullptr ? length : 0;
    p.atEnd = true;
    return run(p, err);
}

void olex_Reject(Olex_Parser *parser, int32_t back, const char *message) {
    Position at = parser->haveLookahead ? parser->lookahead.at : parser->position;
    if (back >= 0 && back < parser->reductionLength)
        at = parser->entries[parser->reductionTop - static_cast<size_t>(back)].at;
    fail(*parser, at, message != nullptr ? message : "the input is rejected");
}

} // extern "C"
