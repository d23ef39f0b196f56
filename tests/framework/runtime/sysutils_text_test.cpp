#include <gtest/gtest.h>

#include "framework/runtime/SysUtils.h"

TEST(Text, TrimRemovesBlanksAndControlCharacters)
{
    EXPECT_EQ("a b", Trim(" \t\r\na b \x01"));
    EXPECT_EQ("", Trim("   "));
    EXPECT_EQ("x  ", TrimLeft("  x  "));
    EXPECT_EQ("  x", TrimRight("  x  "));
    EXPECT_EQ("Дом", Trim(" Дом "));  // high bytes are not blanks
}

TEST(Text, IntegersToTextAndBack)
{
    EXPECT_EQ("-2147483648", IntToStr(INT32_MIN));
    EXPECT_EQ("18446744073709551615", UIntToStr(UINT64_MAX));
    EXPECT_EQ("00FF", IntToHex(255, 4));
    EXPECT_EQ(42, StrToInt(" 42 "));
    EXPECT_EQ(-17, StrToInt("-17"));
    EXPECT_EQ(255, StrToInt("$FF"));
    EXPECT_EQ(-1, StrToInt("$FFFFFFFF"));
    EXPECT_EQ(INT32_MAX, StrToInt("2147483647"));
    EXPECT_EQ(INT32_MIN, StrToInt("-2147483648"));
    EXPECT_EQ(INT64_MIN, StrToInt64("-9223372036854775808"));
    EXPECT_EQ(10000000000LL, StrToInt64("10000000000"));
}

TEST(Text, BadIntegersThrowOrGiveTheDefault)
{
    for (const char *bad : {"", " ", "-", "12a", "1 2", "2147483648", "-2147483649", "$", "0x", "$1FFFFFFFF", "1.5"}) {
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
        EXPECT_EQ(7, StrToIntDef(bad, 7)) << bad;
    }
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_EQ(-3, StrToInt64Def("x", -3));
    try {
        StrToInt("abc");
        FAIL();
    } catch (const Exception &e) {
        EXPECT_NE(std::string::npos, e.Message().find("abc"));
    }
}

TEST(Text, PosAndReplace)
{
    EXPECT_EQ(3, Pos("ст", "мостик"));
    EXPECT_EQ(0, Pos("x", "мостик"));
    EXPECT_EQ(0, Pos("", "abc"));
    EXPECT_EQ("a-b-c", StringReplaceAll("a$_$b$_$c", "$_$", "-"));
    EXPECT_EQ("abc", StringReplaceAll("abc", "", "-"));
}

TEST(Format, IntegerDirectivesWithWidthsAndPrecision)
{
    EXPECT_EQ("0000012345", Format("%.10u", {12345u}));
    EXPECT_EQ("4294967295", Format("%.10u", {-1}));  // a negative 32-bit value as its bit pattern
    EXPECT_EQ("   42|42   |", Format("%5d|%-5d|", {42, 42}));
    EXPECT_EQ("-007", Format("%.3d", {-7}));
    EXPECT_EQ("FF 00FF", Format("%x %.4x", {255, 255}));
    EXPECT_EQ("0000ABCD", Format("%.8x", {0xABCDu}));
    EXPECT_EQ("18446744073709551615", Format("%u", {UINT64_MAX}));
    EXPECT_EQ("-9223372036854775808", Format("%d", {INT64_MIN}));
}

TEST(Format, TextPercentAndStars)
{
    EXPECT_EQ("Файл \"a.txt\" 100%", Format("Файл \"%s\" %d%%", {"a.txt", 100}));
    EXPECT_EQ("  ab|abc", Format("%4.2s|%s", {AnsiString("abcdef"), AnsiString("abc")}));
    EXPECT_EQ("   7", Format("%*d", {4, 7}));
    EXPECT_EQ("3.14", Format("%.2f", {3.14159}));
}

TEST(Format, MissingOrMistypedArgumentsThrow)
{
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("%d", {"x"}), EConvertError);
    EXPECT_THROW(Format("abc %", {}), EConvertError);
    EXPECT_THROW(Format("%q", {1}), EConvertError);
}

TEST(Format, FloatsUseTheDecimalSeparator)
{
    char saved = DecimalSeparator;
    DecimalSeparator = ',';
    EXPECT_EQ("2,5", FloatToStr(2.5));
    EXPECT_EQ("1,25", Format("%.2f", {1.25}));
    EXPECT_DOUBLE_EQ(2.75, StrToFloat(" 2,75 "));
    EXPECT_THROW(StrToFloat("2,7x"), EConvertError);
    EXPECT_THROW(StrToFloat(""), EConvertError);
    DecimalSeparator = saved;
    EXPECT_EQ("100", FloatToStr(100.0));
}
