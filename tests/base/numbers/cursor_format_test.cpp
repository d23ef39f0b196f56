#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "base/numbers/CursorFormat.h"

TEST(CursorReaders, TokenStopsOnEitherDelimiterOrTheEnd)
{
    const char *text = ";rest";
    const char *cursor = text;
    EXPECT_EQ("", CursorReadToken(cursor, ';', ','));
    EXPECT_EQ(text, cursor);

    cursor = "ab,c;d";
    EXPECT_EQ("ab", CursorReadToken(cursor, ';', ','));
    EXPECT_EQ(',', *cursor);
    ++cursor;
    EXPECT_EQ("c", CursorReadToken(cursor, ';', ','));
    EXPECT_EQ(';', *cursor);
    ++cursor;
    EXPECT_EQ("d", CursorReadToken(cursor, ';', ','));
    EXPECT_EQ('\0', *cursor);
    EXPECT_EQ("", CursorReadToken(cursor, ';', ','));
}

TEST(CursorReaders, HexadecimalWithPrefixAndAtMostEightDigits)
{
    const char *cursor = "0x1aF;";
    EXPECT_EQ(0x1AFu, CursorReadNumber(cursor));
    EXPECT_EQ(';', *cursor);
    cursor = "0XFFFFFFFF9";
    EXPECT_EQ(0xFFFFFFFFu, CursorReadNumber(cursor));
    EXPECT_EQ('9', *cursor);
    cursor = "g";
    EXPECT_EQ(0u, CursorReadNumber(cursor));
    EXPECT_EQ('g', *cursor);
}

TEST(CursorReaders, DecimalWithBlanksSignAndWrap)
{
    const char *cursor = "  -42x";
    EXPECT_EQ(-42, CursorReadDecimal(cursor));
    EXPECT_EQ('x', *cursor);
    cursor = "4294967295";
    EXPECT_EQ(-1, CursorReadDecimal(cursor));
    EXPECT_EQ('\0', *cursor);
    cursor = "";
    EXPECT_EQ(0, CursorReadDecimal(cursor));
}

TEST(Formatters, HexadecimalWordsAndBytes)
{
    EXPECT_EQ("000000FF", FormatHexWord(255));
    EXPECT_EQ("DEADBEEF", FormatHexWord2(0xDEADBEEF));
    EXPECT_EQ("00000000", FormatHexWord(0));
    EXPECT_EQ("0A", FormatHexByte(10));
    EXPECT_EQ("FF", FormatHexByte(0xFF));
}

TEST(Formatters, DecimalsWriteZeroOnlyWithTheFlag)
{
    EXPECT_EQ("0", FormatDecimal(0, true));
    EXPECT_EQ("", FormatDecimal(0, false));
    EXPECT_EQ("-2147483648", FormatDecimal(std::numeric_limits<std::int32_t>::min(), false));
    EXPECT_EQ("4294967295", FormatUnsigned(0xFFFFFFFF, false));
    EXPECT_EQ("", FormatUnsigned(0, false));
    EXPECT_EQ("0", FormatUnsigned(0, true));
}

TEST(Formatters, WidthPadsOrFillsWithStars)
{
    EXPECT_EQ("00042", FormatWidth(42, 5, '0'));
    EXPECT_EQ("   0", FormatWidth(0, 4, ' '));
    EXPECT_EQ("00-42", FormatWidth(-42, 5, '0'));
    EXPECT_EQ("123", FormatWidth(123, 3, ' '));
    EXPECT_EQ("***", FormatWidth(1234, 3, ' '));
    EXPECT_EQ("", FormatWidth(5, 0, ' '));
    EXPECT_EQ("", FormatWidth(5, -3, ' '));
}

TEST(Formatters, FixedFormsDropTrailingZerosAndTreatZero)
{
    EXPECT_EQ("", FormatFixedOrEmpty(0, 0, ','));
    EXPECT_EQ("0", FormatFixedComma(0, 1));
    EXPECT_EQ("0", FormatFixed(0.004, 2, '.'));
    EXPECT_EQ("", FormatFixedOrEmpty(0.004, 2, '.'));
    EXPECT_EQ("1.5", FormatFixed(1.5, 2, '.'));
    EXPECT_EQ("1,5", FormatFixed(1.5, -2, ','));  // a negative count works by its magnitude
    EXPECT_EQ("-2,35", FormatFixedComma(-2.346, 2));
    EXPECT_EQ("3", FormatFixedComma(2.5, 0));
    EXPECT_EQ("12,5", FormatFixedOrEmpty(12.5, 3, ','));
    // Fifteen significant digits, rounded; the rest of a long integer part is zeros, up to an exponent.
    EXPECT_EQ("123456789012346000000", FormatFixed(123456789012345678901.0, 0, ','));
    EXPECT_EQ("1,5e300", FormatFixed(1.5e300, 2, ','));
}

TEST(Formatters, DoubleWithPaddingZeroFlagAndSpecialValues)
{
    // Plain digits up to 10^255, as the fixed forms write them.
    auto padded = [](int fractionDigits) { return TDigitsFormat{static_cast<std::int8_t>(fractionDigits), ',', 255}; };
    EXPECT_EQ("NAN", FormatDouble(std::numeric_limits<double>::quiet_NaN(), 2, padded(0), true));
    EXPECT_EQ("-INFINITY", FormatDouble(-std::numeric_limits<double>::infinity(), 2, padded(0), false));
    EXPECT_EQ("0", FormatDouble(0, 2, padded(2), true));
    EXPECT_EQ("", FormatDouble(0, 2, padded(2), false));
    EXPECT_EQ("", FormatDouble(0.001, 2, padded(0), false));
    EXPECT_EQ("1,50", FormatDouble(1.5, 3, padded(2), false));
    EXPECT_EQ("1,5", FormatDouble(1.5, 3, padded(-1), false));
    EXPECT_EQ("0,3", FormatDouble(0.25, 1, padded(0), false));
    // A value that vanished before its first digit is a zero, whatever the padding.
    EXPECT_EQ("", FormatDouble(0.000123, 2, padded(3), false));
    EXPECT_EQ("0", FormatDouble(-0.000123, 2, padded(3), true));
}

TEST(Formatters, DoubleTakesTheWholeFormatOfTheDigitWriter)
{
    // The largest plain exponent chooses between the exponent form and plain digits.
    EXPECT_EQ("1e20", FormatDouble(1e20, 0, TDigitsFormat{0, ',', 15}, false));
    EXPECT_EQ("100000000000000000000", FormatDouble(1e20, 0, TDigitsFormat{0, ',', 255}, false));
    EXPECT_EQ("-1,5e16", FormatDouble(-1.5e16, 0, TDigitsFormat{2, ',', 15}, false));
    EXPECT_EQ("1234,5", FormatDouble(1234.5, 2, TDigitsFormat{-1, ',', 4}, false));
    EXPECT_EQ("1,2345e3", FormatDouble(1234.5, 2, TDigitsFormat{-1, ',', 3}, false));
    // The separator is always a comma.
    EXPECT_EQ("2,50", FormatDouble(2.5, 2, TDigitsFormat{2, '.', 15}, false));
}

TEST(Formatters, TinyAndHugeValuesInTheFixedForms)
{
    // A value that vanished before its first digit at the decimals asked for is a zero.
    EXPECT_EQ("0", FormatFixedComma(0.000123, 2));
    EXPECT_EQ("0", FormatFixedComma(-0.000123, 2));
    EXPECT_EQ("0", FormatFixed(0.000123, 2, '.'));
    EXPECT_EQ("", FormatFixedOrEmpty(0.000123, 2, ','));
    // Scaled by 10^decimals to between 2^63 and 2^64: whole values stay whole.
    EXPECT_EQ("9300000000", FormatFixedComma(9300000000.0, 9));
    EXPECT_EQ("100000000000000000", FormatFixed(1e17, 2, '.'));
    EXPECT_EQ("-9990000000", FormatFixedOrEmpty(-9990000000.0, 9, ','));
    EXPECT_EQ("9300000000,5", FormatFixedComma(9300000000.5, 9));
    EXPECT_EQ("9300000000", FormatDouble(9300000000.0, 9, TDigitsFormat{0, ',', 255}, false));
}

TEST(CopyBeforeAnyOfTest, CopiesOnlyTheTextBeforeTheFirstSetByte)
{
    char out[16];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(3, CopyBeforeAnyOf(out, "abc;d,e", ",;"));
    EXPECT_EQ(0, std::memcmp(out, "abc#", 4));
    EXPECT_EQ(3, CopyBeforeAnyOf(nullptr, "abc;d", ";"));

    std::memset(out, '#', sizeof out);
    EXPECT_EQ(0, CopyBeforeAnyOf(out, "", ";"));
    EXPECT_EQ(0, CopyBeforeAnyOf(out, "abc", ""));
    EXPECT_EQ(0, CopyBeforeAnyOf(out, "abc", ";"));
    EXPECT_EQ(0, CopyBeforeAnyOf(out, ";abc", ";"));
    EXPECT_EQ('#', out[0]);
}
