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

// DoubleToText's text, after checking that the length asked without a buffer is the length written.
std::string Text(double value, int decimals, int zeros = 0, int flags = 0)
{
    char buffer[DoubleTextMax];
    std::memset(buffer, '#', sizeof buffer);
    int asked = DoubleToText(value, nullptr, decimals, zeros, flags);
    int n = DoubleToText(value, buffer, decimals, zeros, flags);
    EXPECT_EQ(asked, n) << value;
    EXPECT_LE(n, DoubleTextMax);
    return std::string(buffer, static_cast<std::size_t>(n < 0 ? -n : n));
}

std::string Digits(std::int32_t value, char zero)
{
    char buffer[16];
    int n = IntToDigits(value, buffer, zero);
    EXPECT_EQ(n, IntToDigits(value, nullptr, zero));
    return std::string(buffer, static_cast<std::size_t>(n));
}

struct IntRead {
    std::int32_t value;
    int consumed;
    bool overflow;
};

IntRead ReadInt(const char *text, char stop = 0, int maximum = 0)
{
    IntRead r{0, -1, true};
    r.value = DigitsToInt(text, &r.consumed, stop, maximum, &r.overflow);
    return r;
}

std::uint32_t DecimalFlags(const char *text, char separator, int *valid = nullptr, int count = 0)
{
    std::uint32_t flags = 0xDEAD;
    int result = CheckDecimalText(text, count, separator, &flags);
    if (valid != nullptr)
        *valid = result;
    return flags;
}

std::uint32_t Classify(const char *text, char separator = ',')
{
    return ClassifyNumberText(text, static_cast<int>(std::strlen(text)), separator);
}

}  // namespace

TEST(RoundDoubleDecimals, RoundsTheMagnitudeWithTheOffsetAndKeepsTheSign)
{
    EXPECT_EQ(1.01, RoundDoubleDecimals(1.005, 2));
    EXPECT_EQ(3.0, RoundDoubleDecimals(2.49, 0));
    EXPECT_EQ(2.0, RoundDoubleDecimals(2.48, 0));
    EXPECT_EQ(-1.0, RoundDoubleDecimals(-1.3, 0));
    EXPECT_EQ(-3.0, RoundDoubleDecimals(-2.7, 0));
    EXPECT_EQ(1.01, RoundDoubleDecimals(1.005, -2));
    // A changed field from 0 to -0,01 is still a change after rounding.
    EXPECT_EQ(-0.01, RoundDoubleDecimals(-0.01, 2));
    EXPECT_NE(RoundDoubleDecimals(0.0, 2), RoundDoubleDecimals(-0.01, 2));
    double vanished = RoundDoubleDecimals(-0.001, 2);
    EXPECT_EQ(0.0, vanished);
    EXPECT_FALSE(std::signbit(vanished));
    EXPECT_TRUE(std::isnan(RoundDoubleDecimals(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(-HUGE_VAL, RoundDoubleDecimals(-HUGE_VAL, 2));
    EXPECT_EQ(DBL_MAX, RoundDoubleDecimals(DBL_MAX, 0));
}

TEST(DoubleToText, DecimalsZerosAndTheZeroValue)
{
    EXPECT_EQ("2,50", Text(2.5, 2));
    EXPECT_EQ("2,5", Text(2.5, -2));
    EXPECT_EQ("2,50", Text(2.5, -4, 2));
    EXPECT_EQ("1,13", Text(1.13, 2));  // the fraction digits are rounded, not cut
    EXPECT_EQ("1,01", Text(1.005, 2));
    EXPECT_EQ("0,05", Text(0.05, 2));
    EXPECT_EQ("0,5", Text(0.5, -2));
    EXPECT_EQ("-1.5", Text(-1.5, 1, 0, DoubleTextPoint));
    EXPECT_EQ("1,3", Text(1.25, 1));
    EXPECT_EQ("0,123456789", Text(0.123456789123, 12));  // more than 9 decimals count as 9
    // A whole number: no fraction, or the separator and `zeros` zeros (with a negative count too).
    EXPECT_EQ("3", Text(3.0, 2));
    EXPECT_EQ("3,00", Text(3.0, 2, 2));
    EXPECT_EQ("3,00", Text(3.0, -2, 2));
    EXPECT_EQ("3,000000000", Text(3.0, 2, 12));
    EXPECT_EQ("10", Text(9.996, 2));  // rounding carries into the integer part
    // Zero after rounding: nothing, or "0" with the flag (keeping the sign of a negative value).
    EXPECT_EQ("", Text(-0.001, 2));
    EXPECT_EQ("-0", Text(-0.001, 2, 0, DoubleTextZero));
    EXPECT_EQ("0", Text(0.0, 2, 2, DoubleTextZero));
    EXPECT_EQ("0", Text(-0.0, 2, 0, DoubleTextZero));
    EXPECT_EQ(std::string("2,50\0", 5), Text(2.5, 2, 0, DoubleTextNul));
    EXPECT_EQ(std::string("\0", 1), Text(0.0, 2, 0, DoubleTextNul));
}

TEST(DoubleToText, LargeValuesHave18SignificantDigits)
{
    EXPECT_EQ("1000000000000000000", Text(1e18, 2));
    EXPECT_EQ("999999999999999872", Text(999999999999999872.0, 0));
    // 123456789012345685803008 exactly
    EXPECT_EQ("123456789012345686000000", Text(1.23456789012345678e23, 0));
    for (double value : {DBL_MAX, -DBL_MAX}) {
        std::string text = Text(value, 9, 9, DoubleTextNul);
        std::string digits = value < 0 ? text.substr(1) : text;
        EXPECT_EQ(value < 0, text[0] == '-');
        ASSERT_EQ(309u + 10u + 1u, digits.size());
        EXPECT_EQ("17976931348623157", digits.substr(0, 17));
        EXPECT_EQ(std::string(291, '0'), digits.substr(18, 291));
        EXPECT_EQ(std::string(",000000000\0", 11), digits.substr(309));
    }
}

TEST(DoubleToText, AValueScaledToBetween2To63And2To64KeepsItsDigits)
{
    // value × 10^decimals lies between 2^63 and 2^64, where the extended type's step is 1: the
    // rounding offset must not carry into a last fraction digit.
    EXPECT_EQ("9300000000", Text(9300000000.0, 9));
    EXPECT_EQ("9300000000,000", Text(9300000000.0, 9, 3));
    EXPECT_EQ("9300000000,000", Text(9300000000.0, -9, 3));
    EXPECT_EQ("-9990000000", Text(-9990000000.0, 12, 0, DoubleTextZero));
    EXPECT_EQ("100000000000000000", Text(1e17, 2));
    EXPECT_EQ("100000000000000000,00", Text(1e17, 2, 2));
    EXPECT_EQ("150000000000000000", Text(1.5e17, 2));
    EXPECT_EQ("9300000000,500000000", Text(9300000000.5, 9));
    EXPECT_EQ("9300000000,5", Text(9300000000.5, -9));
    EXPECT_EQ("18000000000", Text(18000000000.0, 9));  // 1.8e19, just below 2^64
    // Either side of the band the rounding was already right.
    EXPECT_EQ("9000000000", Text(9000000000.0, 9));
    EXPECT_EQ("20000000000", Text(20000000000.0, 9));
    EXPECT_EQ(9300000000.0, RoundDoubleDecimals(9300000000.0, 9));
    EXPECT_EQ(1e17, RoundDoubleDecimals(1e17, 2));
}

TEST(DoubleToText, SpecialValuesGiveMinusTheLengthOfTheirText)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(-3, DoubleToText(nan, nullptr, 2, 0, 0));
    EXPECT_EQ("NAN", Text(nan, 2));
    EXPECT_EQ("-NAN", Text(-nan, 2));
    EXPECT_EQ("INFINITY", Text(HUGE_VAL, 2));
    EXPECT_EQ("-INFINITY", Text(-HUGE_VAL, 2));
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(-9, DoubleToText(-HUGE_VAL, buffer, 2, 0, DoubleTextNul));
    EXPECT_STREQ("-INFINITY", buffer);
}

TEST(DigitsToInt, ThirtyTwoBitLimits)
{
    IntRead r = ReadInt("2147483647");
    EXPECT_EQ(2147483647, r.value);
    EXPECT_FALSE(r.overflow);
    EXPECT_EQ(10, r.consumed);
    r = ReadInt("-2147483648");
    EXPECT_EQ(INT32_MIN, r.value);
    EXPECT_FALSE(r.overflow);
    EXPECT_EQ(11, r.consumed);
    EXPECT_TRUE(ReadInt("2147483648").overflow);
    EXPECT_TRUE(ReadInt("-2147483649").overflow);
    EXPECT_TRUE(ReadInt("4294967296").overflow);
    EXPECT_TRUE(ReadInt("99999999999").overflow);
    EXPECT_FALSE(ReadInt("0000000000002147483647").overflow);
}

TEST(DigitsToInt, BlanksSignsStopByteAndMaximum)
{
    IntRead r = ReadInt(" +-12x");
    EXPECT_EQ(-12, r.value);
    EXPECT_EQ(5, r.consumed);
    r = ReadInt("12;34", ';');
    EXPECT_EQ(12, r.value);
    EXPECT_EQ(2, r.consumed);
    r = ReadInt(" 12", ' ');  // a blank that is the stop byte ends the text
    EXPECT_EQ(0, r.value);
    EXPECT_EQ(0, r.consumed);
    r = ReadInt("12345", 0, 3);
    EXPECT_EQ(123, r.value);
    EXPECT_EQ(3, r.consumed);
    r = ReadInt(" -12", 0, 2);  // blanks and signs count toward the maximum
    EXPECT_EQ(0, r.value);
    EXPECT_EQ(2, r.consumed);
    r = ReadInt("x");
    EXPECT_EQ(0, r.value);
    EXPECT_EQ(0, r.consumed);
    EXPECT_FALSE(r.overflow);
    r = ReadInt(nullptr);
    EXPECT_EQ(0, r.consumed);
    EXPECT_EQ(7, DigitsToInt("7", nullptr, 0, 0, nullptr));

    // With a maximum, nothing beyond it is read: here the digits have no NUL after them.
    std::vector<char> digits(6, '9');
    int consumed = 0;
    EXPECT_EQ(999999, DigitsToInt(digits.data(), &consumed, 0, 6, nullptr));
    EXPECT_EQ(6, consumed);
}

TEST(IntToDigits, SignZeroCharacterAndLimits)
{
    EXPECT_EQ("42", Digits(42, '0'));
    EXPECT_EQ("-42", Digits(-42, '0'));
    EXPECT_EQ("-2147483648", Digits(INT32_MIN, '0'));
    EXPECT_EQ("2147483647", Digits(INT32_MAX, '0'));
    EXPECT_EQ("0", Digits(0, '0'));
    EXPECT_EQ("-", Digits(0, '-'));
    EXPECT_EQ("", Digits(0, 0));
}

TEST(BytesToHex, TwoUpperCaseDigitsPerByte)
{
    const std::uint8_t bytes[] = {0x00, 0xAB, 0x1F, 0xFF};
    char buffer[8];
    EXPECT_EQ(8, BytesToHex(bytes, 4, buffer));
    EXPECT_EQ("00AB1FFF", std::string(buffer, 8));
    EXPECT_EQ(8, BytesToHex(bytes, 4, nullptr));
    EXPECT_EQ(0, BytesToHex(bytes, 0, buffer));
    EXPECT_EQ(0, BytesToHex(nullptr, 4, buffer));
}

TEST(CheckDecimalText, ValidTextsAndTheirFlags)
{
    using namespace DecimalTextFlags;
    int valid = 0;
    EXPECT_EQ(Blank, DecimalFlags("", ',', &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(Blank, DecimalFlags("   ", ',', &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(Separator, DecimalFlags("12,5", ',', &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(Minus | Separator, DecimalFlags("  -12,5", ',', &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(Plus, DecimalFlags("+7", ',', &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(0u, DecimalFlags("12x", ',', &valid, 2));  // the count ends the text
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(-1, CheckDecimalText("12", 0, ',', nullptr));
}

TEST(CheckDecimalText, InvalidTexts)
{
    using namespace DecimalTextFlags;
    struct Case {
        const char *text;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"1,2,3", Separator | SecondSeparator},
        {"+-1", Plus | Minus | MinusNotFirst},
        {"1-", Minus | MinusNotFirst},
        {"--1", Minus | SecondMinus | MinusNotFirst},
        {"1++", Plus | SecondPlus | PlusNotFirst},
        {",-5", Separator | Minus | SignAfterSeparator | MinusNotFirst},
        {"12a3", Other},
        {"12 ", Other},
        {"1.5", Other},  // not the separator
    };
    for (const Case &c : cases) {
        int valid = -1;
        EXPECT_EQ(c.flags, DecimalFlags(c.text, ',', &valid)) << c.text;
        EXPECT_EQ(0, valid) << c.text;
    }
    int valid = -1;
    EXPECT_EQ(Other, DecimalFlags("1,5", 0, &valid));  // no separator at all
    EXPECT_EQ(0, valid);
}

TEST(ClassifyNumberText, BaseAndValidityFlags)
{
    using namespace NumberTextFlags;
    EXPECT_EQ(Empty, ClassifyNumberText(nullptr, 3, ','));
    EXPECT_EQ(Empty, ClassifyNumberText("12", 0, ','));
    EXPECT_EQ(LeadingBlanks, Classify("   "));
    EXPECT_EQ(LeadingBlanks | TrailingBlanks | HexSuffix | Digit | HexLetter, Classify(" 1Fh "));
    EXPECT_EQ(HexPrefix | Digit | HexLetter, Classify("0x1F"));
    EXPECT_EQ(HexPrefix | Empty, Classify("0X"));
    EXPECT_EQ(Digit, Classify("0"));
    EXPECT_EQ(HexSuffix | Other | Empty, Classify("h"));
    EXPECT_EQ(BinarySuffix | Digit, Classify("101b"));
    EXPECT_EQ(BinarySuffix | Digit | NonBinaryDigit, Classify("12B"));
    EXPECT_EQ(LeadingMinus | Digit | NonBinaryDigit | Separator, Classify("-12,5"));
    EXPECT_EQ(LeadingPlus | Empty, Classify("+"));
    EXPECT_EQ(Digit | NonBinaryDigit | Separator | SecondSeparator, Classify("1,2,3"));
    EXPECT_EQ(Digit | NonBinaryDigit | Separator | InnerMinus | SignAfterSeparator, Classify("1,-2"));
    EXPECT_EQ(Digit | InnerPlus, Classify("1+1"));
    EXPECT_EQ(Digit | NonBinaryDigit | Other, Classify("12z"));
    EXPECT_EQ(Digit | NonBinaryDigit | Other, Classify("1.5"));
    EXPECT_EQ(Digit | NonBinaryDigit | Separator, Classify("1.5", '.'));
}

TEST(NumberTextPrecision, AThreadStartedAtDoublePrecisionGetsTheSameResults)
{
    auto results = [] {
        std::vector<std::string> out;
        for (double value : {12345678.123456789, 0.1 + 0.2, 1.005, 2.675, 98765.4321987, 1e18 / 3, DBL_MAX / 7,
                             9300000000.0, -9990000000.0, 1e17, 9300000000.5}) {
            for (int decimals : {2, -9, 9})
                out.push_back(Text(value, decimals, 0, 0));
            double rounded = RoundDoubleDecimals(value * 1e-8, 9);
            out.push_back(std::string(reinterpret_cast<const char *>(&rounded), sizeof rounded));
        }
        return out;
    };
    std::vector<std::string> here = results();
    EXPECT_EQ(here, OnWindowsStyleThread(results));
}
