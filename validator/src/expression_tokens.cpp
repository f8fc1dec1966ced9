// expression_tokens.cpp - one pass over the text; see expression_tokens.h for the rules.
#include "expression_tokens.h"

#include <cctype>
#include <string_view>

namespace {

bool isNameByte(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Words that begin a statement of the script: one of them at the start of a line
// would be read as a new statement (QUIT ends the script) in the middle of this one.
bool isStatementWord(std::string_view text, size_t begin, size_t end) {
    static const char *const words[] = {"QUIT", "COMMENT", "SET", "READ", "WRITE", "SHOW"};
    for (const char *word : words) {
        size_t at = 0;
        while (word[at] != '\0' && begin + at < end &&
               std::toupper(static_cast<unsigned char>(text[begin + at])) == word[at])
            ++at;
        if (word[at] == '\0' && begin + at == end) return true;
    }
    return false;
}

char closerOf(char opener) { return opener == '(' ? ')' : opener == '[' ? ']' : '}'; }

void note(ExpressionFault &fault, std::string what, ExpressionPlace place) {
    if (fault.found) return;
    fault.found = true;
    fault.what = std::move(what);
    fault.place = place;
}

} // namespace

ExpressionScan expression_Scan(const std::vector<const char *> &pieces, ExpressionForm form, bool collectNames) {
    // One piece is read where it stands; several are joined first.
    std::string joined;
    std::string_view text;
    if (pieces.size() == 1) {
        if (pieces.front() != nullptr) text = pieces.front();
    } else {
        for (const char *piece : pieces)
            if (piece != nullptr) joined += piece;
        text = joined;
    }

    ExpressionScan scan;
    struct Open {
        char bracket;
        ExpressionPlace place;
    };
    std::vector<Open> open;
    ExpressionPlace here{1, 1};
    ExpressionPlace stringStart;
    bool inString = false, inComment = false, lineStarted = false;
    const size_t size = text.size();

    for (size_t at = 0; at < size; ++at, ++here.column) {
        const char c = text[at];
        if (c == '\n') {
            if (form == ExpressionForm::MacroLine)
                note(scan.endsEarly, "a line break ends the #define the table is written into", here);
            ++here.line;
            here.column = 0;
            inComment = false;
            lineStarted = false;
            continue;
        }
        if (c == '\\') {
            const size_t next = at + 1 < size && text[at + 1] == '\r' ? at + 2 : at + 1;
            if (next >= size || text[next] == '\n')
                note(scan.endsEarly, "a backslash at the end of a line joins it to what follows", here);
        }
        if (inComment) continue;
        if (inString) {
            if (c == '\\' && at + 1 < size && text[at + 1] == '"') {
                ++at;
                ++here.column;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (isBlank(c)) continue;
        scan.blank = false;
        if (!lineStarted) {
            lineStarted = true;
            if (c == '#' && here.line > 1) {
                if (form == ExpressionForm::Assignment) {
                    inComment = true;
                    // A comment line alone is nothing to assign.
                    continue;
                }
                note(scan.endsEarly, "a line that starts with # is a directive, not part of the #define", here);
            }
            if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
                size_t end = at;
                while (end < size && isNameByte(text[end])) ++end;
                if (isStatementWord(text, at, end))
                    note(scan.endsEarly, "the line starts a new statement with " + std::string(text.substr(at, end - at)), here);
            }
        }
        switch (c) {
        case '"':
            inString = true;
            stringStart = here;
            break;
        case ';':
            note(scan.endsEarly, "a ; ends the statement", here);
            break;
        case '$': {
            size_t end = at + 1;
            while (end < size && isNameByte(text[end])) ++end;
            if (collectNames && end > at + 1) scan.names.push_back({std::string(text.substr(at + 1, end - at - 1)), here});
            here.column += static_cast<int32_t>(end - at - 1);
            at = end - 1;
            break;
        }
        case '(':
        case '[':
        case '{':
            open.push_back({c, here});
            break;
        case ')':
        case ']':
        case '}':
            if (open.empty()) {
                note(scan.unbalanced, std::string(1, c) + " closes nothing", here);
            } else if (closerOf(open.back().bracket) != c) {
                note(scan.unbalanced,
                     std::string(1, c) + " where " + std::string(1, closerOf(open.back().bracket)) + " should close the " +
                         std::string(1, open.back().bracket) + " of line " + std::to_string(open.back().place.line) +
                         ", column " + std::to_string(open.back().place.column),
                     here);
                open.pop_back();
            } else {
                open.pop_back();
            }
            break;
        default:
            break;
        }
    }
    if (inString) note(scan.unbalanced, "the double quote is never closed", stringStart);
    if (!open.empty()) note(scan.unbalanced, std::string(1, open.back().bracket) + " is never closed", open.back().place);
    return scan;
}
