// source_map.cpp - a token scanner for model files that keeps only what locating needs:
// block keywords, the first word of each statement and the value of ID. It follows the
// file's lexical rules (strings in double quotes with \" inside, no comments) and stops
// quietly at anything it cannot read, since the reader has already said what is wrong.
#include "source_map.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace {

struct Token {
    enum Kind { Word, Number, String, Punct, End } kind = End;
    std::string text;
    SourcePlace place;
};

class Scanner {
public:
    explicit Scanner(const std::string &text) : text_(text) {}

    Token next() {
        skipSpace();
        Token token;
        token.place = {line_, column_};
        if (at_ >= text_.size()) return token;
        const char c = text_[at_];
        if (c == '"') {
            token.kind = Token::String;
            advance();
            while (at_ < text_.size() && text_[at_] != '"') {
                if (text_[at_] == '\\' && at_ + 1 < text_.size() && text_[at_ + 1] == '"') advance();
                token.text += text_[at_];
                advance();
            }
            if (at_ >= text_.size()) token.kind = Token::End; // unterminated: stop here
            else advance();
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$') {
            token.kind = Token::Word;
            while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) &&
                   std::string(";,:{}()\"").find(text_[at_]) == std::string::npos) {
                token.text += static_cast<char>(std::toupper(static_cast<unsigned char>(text_[at_])));
                advance();
            }
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            token.kind = Token::Number;
            while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.' ||
                                          ((text_[at_] == '+' || text_[at_] == '-') && at_ > 0 &&
                                           (text_[at_ - 1] == 'e' || text_[at_ - 1] == 'E')))) {
                token.text += text_[at_];
                advance();
            }
        } else {
            token.kind = Token::Punct;
            token.text = std::string(1, c);
            advance();
        }
        return token;
    }

private:
    void advance() {
        if (text_[at_] == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
        ++at_;
    }
    void skipSpace() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) advance();
    }
    const std::string &text_;
    size_t at_ = 0;
    int32_t line_ = 1, column_ = 1;
};

bool IsBlockWord(const std::string &word) {
    static const char *const words[] = {"RASTER", "VECTOR", "MATRIX", "TABLE", "SCALAR", "FUNCTION", "CRITERIA", "TEXT"};
    for (const char *w : words)
        if (word == w) return true;
    return false;
}

} // namespace

const SourcePlace *SourceMap::find(const SourceBlock &block, const char *keyword) const {
    auto known = keywords.find(keyword);
    if (known == keywords.end()) return nullptr;
    for (uint32_t k = block.firstStatement; k < block.firstStatement + block.statementCount; ++k)
        if (statements[k].keyword == known->second) return &statements[k].place;
    return nullptr;
}

SourceMap source_ScanText(const std::string &path, const std::string &text) {
    SourceMap map;
    map.path = path;
    Scanner scanner(text);
    SourceBlock *block = nullptr;
    bool statementStart = true;
    std::string statement;  // keyword of the statement being read
    size_t wordsInStatement = 0;
    for (Token token = scanner.next(); token.kind != Token::End; token = scanner.next()) {
        if (token.kind == Token::Punct && token.text == ";") {
            statementStart = true;
            statement.clear();
            continue;
        }
        if (block == nullptr) {
            if (token.kind == Token::Word && statementStart && IsBlockWord(token.text)) {
                const Token open = scanner.next();
                if (open.kind != Token::Punct || open.text != "{") break;
                map.blocks.emplace_back();
                block = &map.blocks.back();
                block->start = token.place;
                block->firstStatement = static_cast<uint32_t>(map.statements.size());
                statementStart = true;
                continue;
            }
            if (token.kind == Token::Word && statementStart) map.header[token.text] = token.place;
            statementStart = false;
            continue;
        }
        if (token.kind == Token::Punct && token.text == "}") {
            block = nullptr;
            statementStart = true;
            continue;
        }
        if (statementStart) {
            statementStart = false;
            wordsInStatement = 0;
            if (token.kind != Token::Word) continue;
            statement = token.text;
            const uint32_t keyword =
                map.keywords.emplace(statement, static_cast<uint32_t>(map.keywords.size())).first->second;
            const auto first = map.statements.begin() + block->firstStatement;
            if (std::none_of(first, map.statements.end(), [&](const SourceStatement &s) { return s.keyword == keyword; })) {
                map.statements.push_back({keyword, token.place});
                ++block->statementCount;
            }
            continue;
        }
        ++wordsInStatement;
        if (statement == "ID" && wordsInStatement == 1 && token.kind == Token::Number) {
            block->id = std::strtod(token.text.c_str(), nullptr);
            block->hasId = true;
        }
    }
    return map;
}

SourceMap source_Scan(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    // The text is read into one string of the file's size: a growing stream buffer and
    // its copy would hold the file two or three times over while a large model is checked.
    std::string text;
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size >= 0 && in.seekg(0)) {
        text.resize(static_cast<size_t>(size));
        in.read(text.data(), size);
        text.resize(static_cast<size_t>(in.gcount()));
    }
    if (!in && text.empty()) {
        SourceMap map;
        map.path = path;
        return map;
    }
    return source_ScanText(path, text);
}
