#include <gtest/gtest.h>

#include <string>

#include "base/text/Case1251.h"

namespace {

unsigned char Up(int b) { return static_cast<unsigned char>(UpperChar(static_cast<char>(b))); }
unsigned char Low(int b) { return static_cast<unsigned char>(LowerChar(static_cast<char>(b))); }

}  // namespace

TEST(Case1251, UpperCaseOverTheWholeByteRange)
{
    for (int b = 0; b < 256; ++b) {
        int expected = b;
        if ((b >= 'a' && b <= 'z') || b >= 0xE0)
            expected = b - 32;
        else if (b == 0xB2 || b == 0xB3)
            expected = 'I';
        else if (b == 0xBA)
            expected = 0xAA;
        else if (b == 0xBF)
            expected = 0xAF;
        EXPECT_EQ(expected, Up(b)) << "byte " << b;
    }
}

TEST(Case1251, LowerCaseOverTheWholeByteRange)
{
    for (int b = 0; b < 256; ++b) {
        int expected = b;
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF))
            expected = b + 32;
        else if (b == 0xB2 || b == 0xB3)
            expected = 'i';
        else if (b == 0xAA)
            expected = 0xBA;
        else if (b == 0xAF)
            expected = 0xBF;
        EXPECT_EQ(expected, Low(b)) << "byte " << b;
    }
}

TEST(Case1251, UkrainianLettersByTheLibraryRules)
{
    // І and і go to the Latin letter and do not come back.
    EXPECT_EQ('I', UpperChar('\xB3'));
    EXPECT_EQ('i', LowerChar('\xB2'));
    EXPECT_EQ('i', LowerChar(UpperChar('\xB3')));
    // є/Є and ї/Ї pair up both ways.
    EXPECT_EQ('\xBA', LowerChar(UpperChar('\xBA')));
    EXPECT_EQ('\xAF', UpperChar(LowerChar('\xAF')));
    // ё and ґ keep their case in both directions, as do their capitals.
    for (char c : {'\xB8', '\xB4', '\xA8', '\xA5'}) {
        EXPECT_EQ(c, UpperChar(c));
        EXPECT_EQ(c, LowerChar(c));
    }
    std::string word = "Привіт, їжак є ґанок";
    CharUpper1251(word.data(), 0);
    EXPECT_EQ("ПРИВIТ, ЇЖАК Є ґАНОК", word);
    CharLower1251(word.data(), static_cast<int>(word.size()));
    EXPECT_EQ("привiт, їжак є ґанок", word);
}

TEST(Case1251, LookAlikeLatinCapitalsBecomeCyrillic)
{
    std::string t = "ABCETOPHKXM DZa";
    EXPECT_EQ(15, FoldLookAlike(t.data(), 0));
    EXPECT_EQ("АВСЕТОРНКХМ DZa", t);
    EXPECT_EQ(0xC0, static_cast<unsigned char>(LookAlikeChar('A')));
    EXPECT_EQ('D', LookAlikeChar('D'));
    EXPECT_EQ(22u, std::string(LookAlikePairs).size());
}

TEST(Case1251, CaseTextStopsAtAStopByteAndCopiesByCount)
{
    char t[] = "Abc.Def";
    EXPECT_EQ(3, CaseText(t, 0, ".,"));
    EXPECT_STREQ("ABC.Def", t);
    EXPECT_EQ(7, CaseText(t, 1));
    EXPECT_STREQ("abc.def", t);

    char out[8] = "xxxxxxx";
    EXPECT_EQ(2, CaseTextCopy(out, "мир", 2, 0));
    EXPECT_EQ(std::string("МИxxxxx"), std::string(out));
    EXPECT_EQ(3, CaseTextCopy(nullptr, "мир", 0, 0));
    EXPECT_EQ(3, CaseTextCopyTo(out, "ПРИ;вет", ";", 1));
    EXPECT_EQ(std::string("приxxxx"), std::string(out));
}
