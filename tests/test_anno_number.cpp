// The numbers of the annotation layer's SVG document: the fast formatter writes exactly
// what "%.10g" writes, over every kind of double, and most of all where its own integer
// way of rounding could part from printf's (ties, carries into a new digit, the ends of
// its range).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "annotation/oant_number.h"

namespace {

std::string printed(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

std::string formatted(double value) {
    std::string text = "<";
    anno::appendNumber(text, value);
    return text.substr(1);
}

// Checks value and its negation; returns how many differed (the first few are shown).
int mismatches(double value) {
    int bad = 0;
    for (double v : {value, -value}) {
        if (formatted(v) == printed(v))
            continue;
        ++bad;
        ADD_FAILURE() << "for " << std::hexfloat << v << ": " << formatted(v) << " instead of " << printed(v);
    }
    return bad;
}

TEST(AnnoNumber, appendNumber_appends_to_what_is_there) {
    std::string text = "x=\"";
    anno::appendNumber(text, 0.25);
    EXPECT_EQ(text, "x=\"0.25");
}

TEST(AnnoNumber, appendNumber_special_values_as_printf) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0, -0.0, inf, -inf, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                     std::numeric_limits<double>::max(), std::numeric_limits<double>::epsilon()})
        EXPECT_EQ(formatted(v), printed(v)) << v;
    EXPECT_EQ(formatted(-0.0), "-0");
}

TEST(AnnoNumber, appendNumber_ends_of_the_fixed_point_range) {
    // "%.10g" writes fixed point from 1e-4 up to below 1e10, after rounding.
    for (double v : {1e-4, 1e-5, 9.9999999995e-5, 9.99999999949e-5, 0.000099999999999, 0.00012345678901234,
                     1e9, 1e10, 9999999999.0, 9999999999.4, 9999999999.5, 9999999999.6, 999999999.95,
                     999999999.949, 99999.999995, 0.1, 0.01, 0.001})
        EXPECT_EQ(mismatches(v), 0);
    for (double v = 1e-4; v < 1e10; v *= 10)
        for (double near : {std::nextafter(v, 0.0), v, std::nextafter(v, 1e300)})
            EXPECT_EQ(mismatches(near), 0);
}

TEST(AnnoNumber, appendNumber_rounding_ties_and_carries) {
    // Exactly halfway between two ten-digit numbers: printf rounds to even.
    EXPECT_EQ(formatted(1234567890.5), printed(1234567890.5));
    EXPECT_EQ(formatted(1234567891.5), printed(1234567891.5));
    EXPECT_EQ(formatted(0.5), "0.5");
    for (long long whole = 1000000000LL; whole < 1000000000LL + 2000; ++whole)
        EXPECT_EQ(mismatches(static_cast<double>(whole) + 0.5), 0);
    // Halfway in the eleventh digit once scaled, in every decade of the range.
    for (int decade = -4; decade < 10; ++decade)
        for (int k = 0; k < 200; ++k) {
            const double v = (1234567890.0 + k * 10 + 5) * std::pow(10.0, decade - 10);
            EXPECT_EQ(mismatches(v), 0);
            EXPECT_EQ(mismatches(std::nextafter(v, 0.0)), 0);
            EXPECT_EQ(mismatches(std::nextafter(v, 1e300)), 0);
        }
    // Nines that carry into a new leading digit.
    for (double v : {9.9999999995, 9.99999999951, 99.999999995, 0.99999999995, 0.0099999999995})
        EXPECT_EQ(mismatches(v), 0);
}

TEST(AnnoNumber, appendNumber_the_coordinates_a_diagram_has) {
    // Inches with two decimals, and the same after arithmetic that leaves a tail.
    for (int hundredths = -200000; hundredths <= 200000; hundredths += 7) {
        const double v = hundredths / 100.0;
        EXPECT_EQ(mismatches(v), 0);
        EXPECT_EQ(mismatches(v * 0.1 + 0.2), 0);
        EXPECT_EQ(mismatches(v / 72.0), 0);
    }
}

TEST(AnnoNumber, appendNumber_random_doubles) {
    std::mt19937_64 random(20261209);
    int bad = 0;
    for (int k = 0; k < 200000 && bad < 10; ++k) {
        // Any bit pattern, then values spread over the decades around the fast range.
        uint64_t bits = random();
        double any = 0;
        std::memcpy(&any, &bits, sizeof any);
        bad += mismatches(any);
        const double mantissa = std::ldexp(static_cast<double>(random() >> 11), -53);
        bad += mismatches(mantissa * std::pow(10.0, static_cast<int>(random() % 36) - 18));
    }
    EXPECT_EQ(bad, 0);
}

} // namespace
