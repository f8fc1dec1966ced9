// Numbers of the SVG document. A layer of a million elements writes tens of millions of
// numbers, nearly all between 1e-4 and 1e10, where "%.10g" writes a fixed-point number.
// There the ten digits are found with integer arithmetic alone: a double is an integer
// mantissa times a power of two, so times a power of ten it is a 128-bit integer shifted
// right, and the rounding is exact. Every other value, and one lying exactly halfway
// between two ten-digit numbers, goes through the standard library's formatter, and so
// does every value where the compiler has no 128-bit integer (32-bit targets).
#include "oant_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace anno {
namespace {

constexpr int kDigits = 10;
constexpr uint64_t kLowest = 1000000000ULL;       // the smallest ten-digit number
constexpr uint64_t kPastHighest = 10000000000ULL; // one past the largest

void appendSlow(std::string &out, double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, kDigits);
    out.append(buffer, result.ptr);
}

// Powers of five, exact; powers of ten as doubles, the negative ones a little above the
// power itself, so that no double lies between the two.
constexpr uint64_t kFive[] = {1ULL, 5ULL, 25ULL, 125ULL, 625ULL, 3125ULL, 15625ULL, 78125ULL, 390625ULL,
                              1953125ULL, 9765625ULL, 48828125ULL, 244140625ULL, 1220703125ULL, 6103515625ULL};
constexpr double kTen[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

// The ten significant digits of magnitude (1e-4 <= magnitude < 1e10) rounded to
// nearest, and the decimal exponent of the first; false when it lies exactly halfway
// (printf's tie rule then decides).
bool tenDigits(double magnitude, uint64_t *digits, int *exponent10) {
#ifndef __SIZEOF_INT128__
    (void)magnitude, (void)digits, (void)exponent10;
    return false;
#else
    uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const uint64_t mantissa = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    const int exponent2 = static_cast<int>(bits >> 52) - 1075; // magnitude = mantissa * 2^exponent2
    // The decimal exponent of the leading digit, below rounding: floor(e * log10(2)) for
    // the binary exponent e (78913 / 2^18 is log10(2) closely enough for any double) is
    // it or one less.
    const int binary = static_cast<int>(bits >> 52) - 1023;
    int exponent = std::max(-4, (binary * 78913) >> 18);
    if (exponent < 9 && magnitude >= kTen[exponent + 5])
        ++exponent;
    // magnitude * 10^(9 - exponent) = mantissa * 5^(9 - exponent) * 2^(exponent2 + 9 - exponent),
    // ten digits and a rest below 2^shift. The product fits in 53 + 33 bits and the shift
    // lies between 9 and 67 in this range.
    const int scale10 = kDigits - 1 - exponent;
    const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * kFive[scale10];
    const int shift = -(exponent2 + scale10);
    const unsigned __int128 whole = product >> shift;
    const unsigned __int128 rest = product - (whole << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    if (whole < kLowest || whole >= kPastHighest || rest == half)
        return false;
    *digits = static_cast<uint64_t>(whole) + (rest > half ? 1 : 0);
    *exponent10 = exponent;
    if (*digits == kPastHighest) { // rounded up to the next power of ten
        *digits = kLowest;
        ++*exponent10;
    }
    return true;
#endif
}

} // namespace

void appendNumber(std::string &out, double value) {
    if (value == 0) {
        out += std::signbit(value) ? "-0" : "0";
        return;
    }
    const double magnitude = std::fabs(value);
    uint64_t digits = 0;
    int exponent10 = 0;
    if (!(magnitude >= 1e-4 && magnitude < 1e10) || !tenDigits(magnitude, &digits, &exponent10) ||
        exponent10 < -4 || exponent10 >= kDigits) {
        appendSlow(out, value);
        return;
    }
    static const char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                 "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                 "8081828384858687888990919293949596979899";
    char text[kDigits];
    for (int k = kDigits - 2; k >= 0; k -= 2, digits /= 100)
        std::memcpy(text + k, kPairs + 2 * (digits % 100), 2);
    int used = kDigits; // without trailing zeros, as %g leaves them out
    while (used > 1 && text[used - 1] == '0')
        --used;
    char buffer[32];
    char *at = buffer;
    if (value < 0)
        *at++ = '-';
    if (exponent10 >= 0) {
        const int whole = exponent10 + 1;
        std::memcpy(at, text, static_cast<size_t>(whole));
        at += whole;
        if (used > whole) {
            *at++ = '.';
            std::memcpy(at, text + whole, static_cast<size_t>(used - whole));
            at += used - whole;
        }
    } else {
        *at++ = '0';
        *at++ = '.';
        for (int k = -1; k > exponent10; --k)
            *at++ = '0';
        std::memcpy(at, text, static_cast<size_t>(used));
        at += used;
    }
    out.append(buffer, at);
}

} // namespace anno
