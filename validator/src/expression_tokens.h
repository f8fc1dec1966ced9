// expression_tokens.h - reading an expression of the modelling language as the script
// will hold it, token by token, without interpreting the language: the variables it
// names, whether its brackets and quotes close, and whether some text in it would end
// the statement it is written into (or the whole script) before its end.
#ifndef VMODCHECK_EXPRESSION_TOKENS_H
#define VMODCHECK_EXPRESSION_TOKENS_H

#include <cstdint>
#include <string>
#include <vector>

// How the generator writes the text: as the right-hand side of an assignment (its lines
// kept as typed), inside a #define whose lines it continues with backslashes (a
// function's expression), or inside a #define on one line that a line break would end (a
// criteria table's texts, which get no backslashes).
enum class ExpressionForm { Assignment, Macro, MacroLine };

// A place in the scanned text, 1-based line and column (in bytes).
struct ExpressionPlace {
    int32_t line = 0;
    int32_t column = 0;
};

// A `$name` outside quotes and comment lines.
struct ExpressionName {
    std::string name;  // without the dollar sign
    ExpressionPlace place;
};

// The first fault of a kind: what it is, in words, and where.
struct ExpressionFault {
    bool found = false;
    std::string what;
    ExpressionPlace place;
};

struct ExpressionScan {
    bool blank = true;             // nothing but blanks (and, in an assignment, comment lines)
    std::vector<ExpressionName> names;
    ExpressionFault unbalanced;    // a bracket that does not close or closes nothing, an open quote
    ExpressionFault endsEarly;     // text that ends the statement or the script early
};

// Scans the concatenation of pieces as one text written in form. collectNames false
// skips gathering `$name`s (a criteria condition scans a column title again for each
// row only to pair its brackets with the cell's).
//
// The rules, which the checks document:
// - A double quote opens a string and the next one not preceded by a backslash closes
//   it; nothing inside a string is a token.
// - In an assignment a line whose first non-blank byte is `#` (after the first line,
//   which follows the assignment's `=`) is a comment line, as the script's banners are.
// - (), [] and {} pair up, innermost first.
// - Ends the statement early: a `;` outside strings; a backslash at the end of a line or
//   of the text; a line (the first included) that starts with a statement word of the
//   script (QUIT, COMMENT, SET, READ, WRITE, SHOW, in any letter case); in a macro, a
//   line after the first that starts with `#`; in a one-line macro, any line break.
// Time linear in the text.
ExpressionScan expression_Scan(const std::vector<const char *> &pieces, ExpressionForm form, bool collectNames = true);

#endif
