#include <gtest/gtest.h>

#include "framework/runtime/LoadStr.h"

TEST(LoadStr, ReturnsTheRussianStringInCodePage1251)
{
    AnsiString s = LoadStr(901);
    EXPECT_EQ("Внимание! Проверка строки", s);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(0xC2, static_cast<unsigned char>(s[0]));  // 'В' in code page 1251
    EXPECT_EQ("Две строки:\nвторая", LoadStr(903));
    EXPECT_EQ("Ёлка, ёж и Ґґ", LoadStr(917));
}

TEST(LoadStr, MissingOrOtherLanguageStringsAreEmpty)
{
    EXPECT_EQ("", LoadStr(902));   // a gap in a block that exists
    EXPECT_EQ("", LoadStr(4000));  // a block that does not exist
    EXPECT_EQ("", LoadStr(905));   // only in another language
    EXPECT_EQ("", LoadStr(-1));
}
