#include <gtest/gtest.h>

#include "framework/runtime/Cp1251.h"

TEST(Cp1251, EveryByteRoundTripsExceptTheUnassignedOne)
{
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        std::u16string wide = Cp1251ToUtf16(one);
        ASSERT_EQ(1u, wide.size());
        if (b == 0x98) {
            EXPECT_EQ(u'\uFFFD', wide[0]);
            EXPECT_EQ("?", Utf16ToCp1251(wide));
        } else {
            EXPECT_EQ(one, Utf16ToCp1251(wide)) << b;
        }
    }
}

TEST(Cp1251, CyrillicAndUkrainianLetters)
{
    EXPECT_EQ(u"Протокол ҐґЇїЄєІіЁё", Cp1251ToUtf16("Протокол ҐґЇїЄєІіЁё"));
    EXPECT_EQ("Протокол", Utf16ToCp1251(u"Протокол"));
    EXPECT_EQ("?", Utf16ToCp1251(u"\u4E2D"));
}
