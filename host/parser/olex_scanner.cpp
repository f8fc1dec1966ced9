// olex_scanner.cpp - the scanner of the host's parser driver: bytes in, token kind and
// length out. It keeps no state; the driver keeps positions and makes token values.
#include <cstring>
#include <initializer_list>

#include "vmodhost/olex.h"

namespace {

enum CharClass : unsigned char { OTHER, SPACE, LETTER, DIGIT, PUNCT, QUOTE, HASH, DOT };

struct ClassTable {
    CharClass of[256];
    constexpr ClassTable() : of() {
        for (int c = 0; c < 256; ++c)
            of[c] = OTHER;
        for (unsigned char c : {' ', '\t', '\n', '\r', '\f', '\v'})
            of[c] = SPACE;
        for (int c = 'a'; c <= 'z'; ++c)
            of[c] = LETTER;
        for (int c = 'A'; c <= 'Z'; ++c)
            of[c] = LETTER;
        of[static_cast<unsigned char>('_')] = LETTER;
        for (int c = '0'; c <= '9'; ++c)
            of[c] = DIGIT;
        for (unsigned char c : {';', ',', ':', '{', '}', '(', ')', '-'})
            of[c] = PUNCT;
        of[static_cast<unsigned char>('"')] = QUOTE;
        of[static_cast<unsigned char>('#')] = HASH;
        of[static_cast<unsigned char>('.')] = DOT;
    }
};
constexpr ClassTable kClass;

inline CharClass classOf(char c) { return kClass.of[static_cast<unsigned char>(c)]; }
inline bool isWordChar(char c) { return classOf(c) == LETTER || classOf(c) == DIGIT; }
inline char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when the n bytes at word spell keyword (lower case) in any letter case.
bool spells(const char *word, size_t n, const char *keyword) {
    for (size_t i = 0; i < n; ++i)
        if (keyword[i] == '\0' || lower(word[i]) != keyword[i])
            return false;
    return keyword[n] == '\0';
}

size_t digitsAt(const char *bytes, size_t from, size_t available) {
    size_t i = from;
    while (i < available && classOf(bytes[i]) == DIGIT)
        ++i;
    return i - from;
}

// A number: digits [. digits] [e [+-] digits], or . digits [exponent]. The exponent is
// part of the number only when digits follow it.
int32_t scanNumber(const Vmod_ScannerSetup *setup, const char *bytes, size_t available, int32_t atEnd,
                   size_t *length) {
    size_t i = digitsAt(bytes, 0, available);
    bool isFloat = false;
    if (i < available && bytes[i] == '.') {
        size_t fraction = digitsAt(bytes, i + 1, available);
        if (i == 0 && fraction == 0) {
            if (i + 1 == available && !atEnd)
                return OLEX_MORE;
            *length = 1;
            return OLEX_ILLEGAL;
        }
        i += 1 + fraction;
        isFloat = true;
    }
    if (i < available && (bytes[i] == 'e' || bytes[i] == 'E')) {
        size_t j = i + 1;
        if (j < available && (bytes[j] == '+' || bytes[j] == '-'))
            ++j;
        size_t exponent = digitsAt(bytes, j, available);
        if (j + exponent == available && !atEnd)
            return OLEX_MORE;
        if (exponent > 0) {
            i = j + exponent;
            isFloat = true;
        }
    }
    if (i == available && !atEnd)
        return OLEX_MORE;
    *length = i;
    return isFloat ? setup->floatToken : setup->integerToken;
}

// A string: the closing quote is the first one without a backslash right before it.
int32_t scanString(const Vmod_ScannerSetup *setup, const char *bytes, size_t available, int32_t atEnd,
                   size_t *length) {
    size_t i = 1;
    for (;;) {
        const void *quote = std::memchr(bytes + i, '"', available - i);
        if (quote == nullptr) {
            *length = available;
            return atEnd ? OLEX_UNTERMINATED : OLEX_MORE;
        }
        size_t at = static_cast<const char *>(quote) - bytes;
        if (bytes[at - 1] != '\\') {
            *length = at + 1;
            return setup->stringToken;
        }
        i = at + 1;
    }
}

int32_t scanWord(const Vmod_ScannerSetup *setup, const char *bytes, size_t available, int32_t atEnd,
                 size_t *length) {
    size_t n = 1;
    while (n < available && isWordChar(bytes[n]))
        ++n;
    if (n == available && !atEnd)
        return OLEX_MORE;
    *length = n;
    if (n == 3 && (spells(bytes, 3, "inf") || spells(bytes, 3, "nan")))
        return setup->floatToken;
    char first = lower(bytes[0]);
    for (int32_t k = 0; k < setup->keywordCount; ++k) {
        const Vmod_ScannerKeyword &keyword = setup->keywords[k];
        if (keyword.word[0] == first && spells(bytes, n, keyword.word))
            return keyword.token;
    }
    return setup->nameToken;
}

} // namespace

extern "C" {

int32_t olex_Scanner(const Vmod_ScannerSetup *setup, const char *bytes, size_t available, int32_t atEnd,
                     size_t *length) {
    *length = 0;
    if (available == 0)
        return atEnd ? 0 : OLEX_MORE;
    switch (classOf(bytes[0])) {
    case SPACE: {
        size_t n = 1;
        while (n < available && classOf(bytes[n]) == SPACE)
            ++n;
        *length = n;
        return OLEX_SPACE;
    }
    case HASH: {
        const void *end = std::memchr(bytes, '\n', available);
        if (end == nullptr && !atEnd)
            return OLEX_MORE;
        *length = end != nullptr ? static_cast<const char *>(end) - bytes : available;
        return OLEX_SPACE;
    }
    case LETTER:
        return scanWord(setup, bytes, available, atEnd, length);
    case DIGIT:
    case DOT:
        return scanNumber(setup, bytes, available, atEnd, length);
    case QUOTE:
        return scanString(setup, bytes, available, atEnd, length);
    case PUNCT:
        *length = 1;
        return static_cast<unsigned char>(bytes[0]);
    case OTHER:
        break;
    }
    *length = 1;
    return OLEX_ILLEGAL;
}

Olex_Scanner omsc_AddressOf_olex_Scanner(void) { return olex_Scanner; }

} // extern "C"
