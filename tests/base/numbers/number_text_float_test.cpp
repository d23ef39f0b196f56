#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/numbers/NumberText.h"
#include "tests/base/numbers/WindowsThreadPrecision.h"

namespace {

const long double LInf = std::numeric_limits<long double>::infinity();

long double Scaled(long double value, int n)
{
    ScalePow10(&value, n);
    return value;
}

// An extended value from its encoding: 64-bit significand (with the explicit integer bit) and the
// sign-and-exponent word.
long double Encoded(std::uint64_t significand, std::uint16_t signExponent)
{
    long double value = 0;
    unsigned char bytes[10];
    std::memcpy(bytes, &significand, 8);
    std::memcpy(bytes + 8, &signExponent, 2);
    std::memcpy(&value, bytes, 10);
    return value;
}

struct Reading {
    double value;
    int consumed;
};

Reading Read(const char *text, char separator = ',')
{
    Reading r{0, -1};
    r.value = TextToDouble(text, &r.consumed, separator);
    return r;
}

Reading ReadDecimal(const char *text, char separator = ',')
{
    Reading r{0, -1};
    r.value = DecimalTextToDouble(text, &r.consumed, separator);
    return r;
}

struct Decomposed {
    std::string digits;
    int count;
    int exponent;
    bool negative;
};

Decomposed Decompose(double value, int decimals, int precision = 15)
{
    char digits[19];
    std::memset(digits, '#', sizeof digits);
    TDecimalDigits d = DoubleToDigits(value, digits, precision, decimals);
    return {digits, d.count, d.exponent, d.sign != 0};
}

std::string Plain(const char *digits, int exponent, int fraction, bool negative = false, int maxPlain = 15)
{
    TDecimalDigits number;
    number.count = static_cast<std::int8_t>(std::strlen(digits));
    number.sign = negative ? 1 : 0;
    number.exponent = static_cast<std::int16_t>(exponent);
    TDigitsFormat format;
    format.fractionDigits = static_cast<std::int8_t>(fraction);
    format.separator = ',';
    format.maxPlainExponent = static_cast<std::uint8_t>(maxPlain);
    char buffer[64];
    int n = DigitsToText(buffer, digits, number, format);
    EXPECT_EQ(n, DigitsToText(nullptr, digits, number, format)) << digits;
    return std::string(buffer, static_cast<std::size_t>(n));
}

struct Packed {
    int result;
    std::uint8_t bytes[10];
};

Packed Bcd(double value, int decimals)
{
    Packed p{-1, {}};
    std::memset(p.bytes, 0xEE, sizeof p.bytes);
    p.result = DoubleToPackedBCD(value, static_cast<std::int8_t>(decimals), p.bytes);
    return p;
}

}  // namespace

TEST(ScalePow10, ScalesAndKeepsSpecialValues)
{
    EXPECT_EQ(1e5L, Scaled(1, 5));
    EXPECT_EQ(1e31L, Scaled(1, 31));
    EXPECT_EQ(1e288L, Scaled(1, 288));
    EXPECT_TRUE(std::fabs(Scaled(1, -3) - 1e-3L) < 1e-21L);
    EXPECT_TRUE(std::fabs(Scaled(1, 319) / 1e319L - 1) < 1e-18L);
    EXPECT_EQ(2.5L, Scaled(2.5L, 0));
    // From 10^320 on the tables hold infinity.
    EXPECT_EQ(LInf, Scaled(1, 320));
    EXPECT_EQ(-LInf, Scaled(-1e-300L, 320));
    EXPECT_EQ(0, Scaled(1, -320));
    EXPECT_EQ(0, Scaled(1, -5120));
    EXPECT_EQ(LInf, Scaled(1, 5120));
    EXPECT_EQ(-LInf, Scaled(-3, 6000));
    EXPECT_TRUE(std::signbit(Scaled(-3, -6000)));
    EXPECT_EQ(0, Scaled(1, INT32_MIN));
    // A zero or an infinity comes back as it went in, never as NaN.
    EXPECT_EQ(0, Scaled(0, 400));
    EXPECT_EQ(0, Scaled(0, 6000));
    EXPECT_EQ(LInf, Scaled(LInf, -400));
    EXPECT_EQ(-LInf, Scaled(-LInf, -6000));
    EXPECT_TRUE(std::isnan(Scaled(std::numeric_limits<long double>::quiet_NaN(), 6000)));
}

TEST(IsFiniteNonZero, ReadsTheEncoding)
{
    struct Case {
        const char *name;
        std::uint64_t significand;
        std::uint16_t signExponent;
        int expected;
    };
    const Case cases[] = {
        {"zero", 0, 0, 0},
        {"negative zero", 0, 0x8000, 0},
        {"denormal", 1, 0, 1},
        {"pseudo-denormal", 0x8000000000000001u, 0, 1},
        {"one", 0x8000000000000000u, 0x3FFF, 1},
        {"minus one", 0x8000000000000000u, 0xBFFF, 1},
        {"unnormal", 0x4000000000000000u, 0x3FFF, 0},
        {"infinity", 0x8000000000000000u, 0x7FFF, 0},
        {"minus infinity", 0x8000000000000000u, 0xFFFF, 0},
        {"quiet NaN", 0xC000000000000000u, 0x7FFF, 0},
        {"signalling NaN", 0x8000000000000001u, 0x7FFF, 0},
        {"pseudo-infinity", 0, 0x7FFF, 0},
        {"pseudo-NaN", 0x4000000000000000u, 0x7FFF, 0},
    };
    for (const Case &c : cases) {
        long double value = Encoded(c.significand, c.signExponent);
        EXPECT_EQ(c.expected, IsFiniteNonZero(&value)) << c.name;
    }
    long double ordinary = 1e-4940L;
    EXPECT_EQ(1, IsFiniteNonZero(&ordinary));
}

TEST(TextToDouble, SignsSeparatorsExponentsAndConsumedBytes)
{
    Reading r = Read("  -12,5e2");
    EXPECT_EQ(-1250.0, r.value);
    EXPECT_EQ(9, r.consumed);
    r = Read("1.5");
    EXPECT_EQ(1.0, r.value);
    EXPECT_EQ(1, r.consumed);
    EXPECT_EQ(1.5, Read("1.5", '.').value);
    EXPECT_EQ(0.25, Read(",25").value);
    r = Read("12,3,4");
    EXPECT_EQ(12.3, r.value);
    EXPECT_EQ(4, r.consumed);
    r = Read("0001E+3x");
    EXPECT_EQ(1000.0, r.value);
    EXPECT_EQ(7, r.consumed);
    r = Read("5e");
    EXPECT_EQ(5.0, r.value);
    EXPECT_EQ(2, r.consumed);
    r = Read("e5");  // an exponent needs digits before it
    EXPECT_EQ(0.0, r.value);
    EXPECT_EQ(0, r.consumed);
    r = Read("-");
    EXPECT_EQ(0.0, r.value);
    EXPECT_EQ(1, r.consumed);
    r = Read(nullptr);
    EXPECT_EQ(0.0, r.value);
    EXPECT_EQ(0, r.consumed);
    EXPECT_EQ(1.0, Read("1,0", 0).value);  // no separator: the ',' ends the number
    EXPECT_DOUBLE_EQ(2.35, TextToDoubleRounded("2,345", 2, ','));
}

TEST(TextToDouble, ExtendedDigitsAndLargeScales)
{
    // The digits are divided by 10^7 in the extended type and then rounded to a double: one unit
    // in the last place above the nearest double to 161.4026961.
    EXPECT_EQ(161.40269610000001, Read("161,4026961").value);
    EXPECT_DOUBLE_EQ(1e200, Read("1e200").value);
    EXPECT_DOUBLE_EQ(1e-200, Read("1e-200").value);
    EXPECT_DOUBLE_EQ(1.0, Read(("1" + std::string(400, '0') + "e-400").c_str()).value);
    EXPECT_DOUBLE_EQ(1.5, Read(("0," + std::string(300, '0') + "15e301").c_str()).value);
    // Exponents too long for 32 bits saturate instead of wrapping.
    std::string nines(20, '9');
    {
        Reading big = Read(("1e" + nines).c_str());
        EXPECT_EQ(HUGE_VAL, big.value);
        EXPECT_EQ(22, big.consumed);
        Reading tiny = Read(("1e-" + nines).c_str());
        EXPECT_EQ(0.0, tiny.value);
        EXPECT_EQ(23, tiny.consumed);
        EXPECT_EQ(0.0, Read(("0e" + nines).c_str()).value);
        EXPECT_EQ(-HUGE_VAL, Read("-1e400").value);
        EXPECT_EQ(0.0, Read("1e-400").value);
    }
}

TEST(DecimalTextToDouble, NineAndNineDigits)
{
    Reading r = ReadDecimal("-0,05");
    EXPECT_DOUBLE_EQ(-0.05, r.value);
    EXPECT_EQ(5, r.consumed);
    EXPECT_DOUBLE_EQ(-0.5, ReadDecimal("-,5").value);
    r = ReadDecimal("1234567890");
    EXPECT_EQ(123456789.0, r.value);
    EXPECT_EQ(9, r.consumed);
    r = ReadDecimal("1234567890,5");  // a tenth digit ends the reading
    EXPECT_EQ(9, r.consumed);
    r = ReadDecimal("12,1234567891");
    EXPECT_DOUBLE_EQ(12.123456789, r.value);
    EXPECT_EQ(12, r.consumed);
    r = ReadDecimal("  +7,5x");
    EXPECT_DOUBLE_EQ(7.5, r.value);
    EXPECT_EQ(6, r.consumed);
    r = ReadDecimal(nullptr);
    EXPECT_EQ(0, r.consumed);

    int consumed = 0;
    int fraction = -1;
    EXPECT_DOUBLE_EQ(3.14, MeasureDecimalText("3,140", &consumed, ',', &fraction));
    EXPECT_EQ(3, fraction);
    EXPECT_EQ(5, consumed);
    MeasureDecimalText("3,", &consumed, ',', &fraction);
    EXPECT_EQ(0, fraction);
    EXPECT_EQ(2, consumed);
    MeasureDecimalText("3", &consumed, ',', &fraction);
    EXPECT_EQ(0, fraction);
    EXPECT_EQ(1, consumed);
}

TEST(DoubleToDigits, RoundedDecompositions)
{
    struct Case {
        double value;
        int decimals;
        int precision;
        const char *digits;
        int exponent;
        bool negative;
    };
    const Case cases[] = {
        {1234.5678, 2, 15, "123457", 4, false},
        {1234.5678, -2, 15, "123457", 4, false},  // a negative count is used by its size
        {2e17, 0, 15, "2", 18, false},
        {9999999999999998.0, 0, 15, "1", 17, false},
        {-5, 0, 15, "5", 1, true},
        {0.006, 2, 15, "1", -1, false},
        {9.996, 2, 15, "1", 2, false},
        {12345, 0, 3, "123", 5, false},
        {12355, 0, 3, "124", 5, false},
        {99950, 0, 3, "1", 6, false},
        {DBL_MAX, 0, 15, "179769313486232", 309, false},
        {-DBL_MAX, 9, 18, "179769313486231571", 309, true},
        {0.1, 9, 15, "1", 0, false},
        {0.004, 2, 15, "0", 1, false},  // kept count 0, nothing rounds up
        {0.0, 2, 15, "0", 1, false},
        {-0.0, 2, 15, "0", 1, false},
    };
    for (const Case &c : cases) {
        Decomposed d = Decompose(c.value, c.decimals, c.precision);
        EXPECT_EQ(c.digits, d.digits) << c.value;
        EXPECT_EQ(static_cast<int>(std::strlen(c.digits)), d.count) << c.value;
        EXPECT_EQ(c.exponent, d.exponent) << c.value;
        EXPECT_EQ(c.negative, d.negative) << c.value;
    }
    // Scaled by 10^decimals to between 2^63 and 2^64: the digits of the rounded value, nothing more.
    const Case band[] = {
        {9300000000.5, 9, 18, "93000000005", 10, false},
        {9300000000.0, 9, 18, "93", 10, false},
        {-9990000000.0, 9, 18, "999", 10, true},
        {1e17, 2, 18, "1", 18, false},
        {123456789.123456789, 11, 18, "123456789123456791", 9, false},
    };
    for (const Case &c : band) {
        Decomposed d = Decompose(c.value, c.decimals, c.precision);
        EXPECT_EQ(c.digits, d.digits) << c.value;
        EXPECT_EQ(c.exponent, d.exponent) << c.value;
        EXPECT_EQ(c.negative, d.negative) << c.value;
    }
    for (double vanishing : {0.000123, 5e-324, -1e-300}) {
        Decomposed d = Decompose(vanishing, 2);
        EXPECT_EQ("", d.digits) << vanishing;
        EXPECT_EQ(0, d.count);
        EXPECT_EQ(0, d.exponent);
    }
    Decomposed nan = Decompose(std::numeric_limits<double>::quiet_NaN(), 2);
    EXPECT_EQ("NAN", nan.digits);
    EXPECT_EQ(-3, nan.count);
    Decomposed inf = Decompose(-HUGE_VAL, 2);
    EXPECT_EQ("-INFINITY", inf.digits);
    EXPECT_EQ(-9, inf.count);
    EXPECT_FALSE(inf.negative);
}

TEST(DigitsToText, PlainAndExponentForms)
{
    EXPECT_EQ("1234,57", Plain("123457", 4, 2));
    EXPECT_EQ("1234,5700", Plain("123457", 4, 4));
    EXPECT_EQ("0,0050", Plain("5", -2, 4));
    EXPECT_EQ("-0,0050", Plain("5", -2, 4, true));
    EXPECT_EQ("0,5", Plain("5", 0, -1));
    EXPECT_EQ("1,23e19", Plain("123", 20, 2));
    EXPECT_EQ("9e15", Plain("9", 16, 2));
    EXPECT_EQ("-9e15", Plain("9", 16, 2, true));
    EXPECT_EQ("12", Plain("12", 2, 2));
    EXPECT_EQ("12000", Plain("12", 5, 2));
    EXPECT_EQ("1,2e4", Plain("12", 5, 2, false, 4));
    EXPECT_EQ("1e0", Plain("1", 1, 2, false, 0));
    // Vanished at the decimals asked for (count 0, exponent 0): a zero below the point.
    EXPECT_EQ("0,00", Plain("", 0, 2));
    EXPECT_EQ("0,", Plain("", 0, 0));
    EXPECT_EQ("0,000", Plain("", 0, 3));
    EXPECT_EQ("0,", Plain("", 0, -1));
    char vanished[19];
    char zeroText[8];
    TDecimalDigits tiny = DoubleToDigits(0.000123, vanished, 15, 2);
    TDigitsFormat point{2, '.', 15};
    ASSERT_EQ(4, DigitsToText(nullptr, vanished, tiny, point));
    EXPECT_EQ("0.00", std::string(zeroText, static_cast<std::size_t>(DigitsToText(zeroText, vanished, tiny, point))));

    char digits[19];
    char buffer[16];
    TDecimalDigits special = DoubleToDigits(-HUGE_VAL, digits, 15, 2);
    EXPECT_EQ(9, DigitsToText(nullptr, digits, special, TDigitsFormat{}));
    EXPECT_EQ("-INFINITY", std::string(buffer, static_cast<std::size_t>(DigitsToText(buffer, digits, special, {}))));
}

TEST(DoubleToPackedBCD, RoundsHalfToEvenAndRefusesWhatDoesNotFit)
{
    Packed p = Bcd(2.5, 0);
    EXPECT_EQ(1, p.result);
    EXPECT_EQ(0x02, p.bytes[0]);
    EXPECT_EQ(0x00, p.bytes[9]);
    p = Bcd(-1.5, 0);
    EXPECT_EQ(1, p.result);
    EXPECT_EQ(0x02, p.bytes[0]);
    EXPECT_EQ(0x80, p.bytes[9]);
    p = Bcd(3.5, 0);
    EXPECT_EQ(0x04, p.bytes[0]);
    p = Bcd(1234.5678, 2);
    EXPECT_EQ(1, p.result);
    EXPECT_EQ(0x57, p.bytes[0]);  // 123457
    EXPECT_EQ(0x34, p.bytes[1]);
    EXPECT_EQ(0x12, p.bytes[2]);
    EXPECT_EQ(0x00, p.bytes[3]);
    EXPECT_EQ(0x57, Bcd(1234.5678, -2).bytes[0]);
    p = Bcd(987654321987654321.0 / 10, 1);  // 18 digits at the top of the range
    EXPECT_EQ(1, p.result);
    EXPECT_EQ(0x98, p.bytes[8]);
    p = Bcd(1e17, 0);
    EXPECT_EQ(1, p.result);
    EXPECT_EQ(0x10, p.bytes[8]);
    p = Bcd(-0.4, 0);  // rounds to zero: no negative zero
    EXPECT_EQ(1, p.result);
    EXPECT_EQ(0x00, p.bytes[0]);
    EXPECT_EQ(0x00, p.bytes[9]);

    const std::uint8_t untouched[10] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    const std::uint8_t zeros[10] = {};
    for (double refused : {1e18, -1e18, 1e17 * 10.5, HUGE_VAL, std::numeric_limits<double>::quiet_NaN()}) {
        p = Bcd(refused, 0);
        EXPECT_EQ(0, p.result) << refused;
        EXPECT_EQ(0, std::memcmp(untouched, p.bytes, 10)) << refused;
    }
    EXPECT_EQ(0, Bcd(1e9, 9).result);
    for (double zero : {0.0, -0.0}) {
        p = Bcd(zero, 2);
        EXPECT_EQ(0, p.result);
        EXPECT_EQ(0, std::memcmp(zeros, p.bytes, 10));
    }
}

TEST(EqualToDecimals, BothSidesOfTheBoundary)
{
    EXPECT_TRUE(EqualToDecimals(1.004, 1.0, 2));
    EXPECT_FALSE(EqualToDecimals(1.005, 1.0, 2));
    // |a - b| × 100 + 0.51 stays below 1 up to a difference of 0.0049.
    EXPECT_TRUE(EqualToDecimals(1.0, 1.00489, 2));
    EXPECT_FALSE(EqualToDecimals(1.0, 1.00491, 2));
    EXPECT_TRUE(EqualToDecimals(-1.00489, -1.0, -2));
    EXPECT_FALSE(EqualToDecimals(-1.00491, -1.0, -2));
    EXPECT_TRUE(EqualToDecimals(7.0, 7.4, 0));
    EXPECT_FALSE(EqualToDecimals(7.0, 7.5, 0));
    EXPECT_FALSE(EqualToDecimals(std::numeric_limits<double>::quiet_NaN(), 1.0, 2));
}

TEST(NumberTextPrecision, FloatingConversionsGiveTheSameDigitsOnADoublePrecisionThread)
{
    auto results = [] {
        std::vector<std::string> out;
        char digits[19];
        char text[512];
        for (double value : {161.4026961, 1.0 / 3, 2.0 / 3 * 1e17, 123456789.987654321, DBL_MAX / 3, 1e-300 / 7,
                             9300000000.5, -9990000000.0, 1e17}) {
            for (int decimals : {0, 2, 9}) {
                TDecimalDigits d = DoubleToDigits(value, digits, 18, decimals);
                int n = DigitsToText(text, digits, d, TDigitsFormat{9, ',', 255});
                out.emplace_back(text, static_cast<std::size_t>(n));
                std::uint8_t bcd[10] = {};
                DoubleToPackedBCD(value / 1e10, static_cast<std::int8_t>(decimals), bcd);
                out.emplace_back(reinterpret_cast<const char *>(bcd), 10);
            }
        }
        for (const char *number : {"161,4026961", "0,1234567890123456789", "98765432109876543210e-5", "1e300"}) {
            double value = TextToDouble(number, nullptr, ',');
            out.emplace_back(reinterpret_cast<const char *>(&value), sizeof value);
        }
        long double scaled = 1.0L / 3;
        ScalePow10(&scaled, 45);
        out.emplace_back(reinterpret_cast<const char *>(&scaled), 10);
        return out;
    };
    std::vector<std::string> here = results();
    EXPECT_EQ(here, OnWindowsStyleThread(results));
}
