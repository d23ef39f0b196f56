#include <gtest/gtest.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"

namespace {
// Independent rule through Unicode: the Cyrillic block's case pairs are 0x410-0x42F/0x430-0x44F and
// 0x400-0x40F/0x450-0x45F, plus Ґ/ґ (0x490/0x491); Latin by ASCII.
char16_t UnicodeUpper(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - 32);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    if (c == 0x491)
        return 0x490;
    return c;
}

char16_t UnicodeLower(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    if (c == 0x490)
        return 0x491;
    return c;
}
}  // namespace

TEST(Cp1251Case, EveryByteFollowsTheUnicodeCaseRules)
{
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue;  // unassigned in the code page
        std::string one(1, static_cast<char>(b));
        char16_t u = Cp1251ToUtf16(one)[0];
        std::u16string up(1, UnicodeUpper(u)), low(1, UnicodeLower(u));
        EXPECT_EQ(Utf16ToCp1251(up), AnsiUpperCase(one)) << "byte " << b;
        EXPECT_EQ(Utf16ToCp1251(low), AnsiLowerCase(one)) << "byte " << b;
    }
}

TEST(Cp1251Case, RussianAndUkrainianWords)
{
    EXPECT_EQ("ПРОТОКОЛ ЁЛКА ҐАНОК ЇЖАК ЄВРОПА ІНШИЙ", AnsiUpperCase("протокол ёлка ґанок їжак європа інший"));
    EXPECT_EQ("протокол ёлка ґанок їжак європа інший", AnsiLowerCase("ПРОТОКОЛ ЁЛКА ҐАНОК ЇЖАК ЄВРОПА ІНШИЙ"));
    // Non-letters of the high half stay as they are.
    EXPECT_EQ("№«»—", AnsiUpperCase("№«»—"));
    EXPECT_EQ("ABC", UpperCase("abc"));
    EXPECT_EQ("яabc", LowerCase("яABC"));  // ASCII-only rule leaves Cyrillic alone
}

TEST(Cp1251Case, CompareTextIgnoresCaseAndFollowsTheAlphabet)
{
    EXPECT_EQ(0, AnsiCompareText("Привіт, Світ", "ПРИВІТ, СВІТ"));
    EXPECT_TRUE(AnsiSameText("ґрунт", "ҐРУНТ"));
    // Ё sorts right after Е, not after Я as its byte would put it; Ґ after Г; І, Ї after И.
    EXPECT_LT(AnsiCompareText("ель", "ёж"), 0);
    EXPECT_LT(AnsiCompareText("ёж", "жук"), 0);
    EXPECT_LT(AnsiCompareText("гора", "ґанок"), 0);
    EXPECT_LT(AnsiCompareText("ґанок", "дім"), 0);
    EXPECT_LT(AnsiCompareText("искра", "ікра"), 0);
    EXPECT_LT(AnsiCompareText("ікра", "їжак"), 0);
    EXPECT_LT(AnsiCompareText("їжак", "йод"), 0);
    EXPECT_LT(AnsiCompareText("європа", "жук"), 0);
    // Latin before Cyrillic, digits before letters, a prefix before the longer text.
    EXPECT_LT(AnsiCompareText("zebra", "азбука"), 0);
    EXPECT_LT(AnsiCompareText("9", "a"), 0);
    EXPECT_LT(AnsiCompareText("Дом", "дома"), 0);
    EXPECT_GT(AnsiCompareText("я", "Ю"), 0);
}

TEST(Cp1251Case, CompareStrSeparatesCaseOnlyAfterTheLetters)
{
    EXPECT_NE(0, AnsiCompareStr("дом", "Дом"));
    EXPECT_LT(AnsiCompareStr("дом", "Дом"), 0);
    EXPECT_LT(AnsiCompareStr("Дом", "ель"), 0);  // the letters decide before the case
    EXPECT_EQ(0, AnsiCompareStr("Дом", "Дом"));
    EXPECT_EQ(0, CompareText("abc", "ABC"));
    EXPECT_NE(0, CompareText("я", "Я"));
}
