// What a number field of the data-entry supervisor lets in: signs, separators and the digit limits.
#include <gtest/gtest.h>

#include "controls/supervisor/SpyEdit.h"

namespace {
constexpr uint32_t Int = SpyFieldInteger, Short = SpyFieldShortDecimal, Long = SpyFieldLongDecimal;

char Key(const char *text, int caret, char key, uint32_t type, uint8_t flags = 0, int selection = 0)
{
    return FilterNumberKey(text, caret, selection, key, type, flags, ',');
}
// The caret at the end of the text.
int End(const char *text) { return static_cast<int>(std::char_traits<char>::length(text)); }
}  // namespace

TEST(SpyEditNumberKeys, SeparatorsAndOtherCharacters)
{
    EXPECT_EQ(0, Key("12", 2, '.', Int));
    EXPECT_EQ(0, Key("12", 2, ',', Int));
    EXPECT_EQ(',', Key("12", 2, '.', Short));
    EXPECT_EQ(',', Key("12", 2, '.', Long));
    EXPECT_EQ(',', Key("12", 2, ',', Long));
    EXPECT_EQ(',', Key("", 0, '.', Short));
    // The locale's separator is what is typed, whatever it is.
    EXPECT_EQ('.', FilterNumberKey("12", 2, 0, '.', Short, 0, '.'));
    // A second separator is refused wherever it would go, unless it replaces the one selected.
    EXPECT_EQ(0, Key("1,5", 3, '.', Short));
    EXPECT_EQ(0, Key("1,5", 0, ',', Long));
    EXPECT_EQ(0, Key("1,5", -1, ',', Long));
    EXPECT_EQ(',', Key("1,5", 1, ',', Long, 0, 1));
    EXPECT_EQ(',', Key("1,5", 0, '.', Long, 0, 3));
    EXPECT_EQ(0, Key("1,5", 2, '.', Long, 0, 1));
    // Letters, blanks and control characters are no part of a number.
    for (char c : {'a', ' ', 'e', '\t', '\r', '/', ':'})
        for (uint32_t type : {Int, Short, Long})
            EXPECT_EQ(0, Key("1", 1, c, type)) << int(c) << " " << type;
}

TEST(SpyEditNumberKeys, SignOnlyIntoAnEmptySignedField)
{
    for (uint32_t type : {Int, Short, Long}) {
        EXPECT_EQ('-', Key("", 0, '-', type, SpyFieldSigned));
        EXPECT_EQ('+', Key("", 0, '+', type, SpyFieldSigned));
        EXPECT_EQ(0, Key("", 0, '-', type));
        EXPECT_EQ(0, Key("5", 0, '-', type, SpyFieldSigned));
        EXPECT_EQ(0, Key("-", 1, '-', type, SpyFieldSigned));
    }
    // The sign counts as a character of the integer part.
    EXPECT_EQ(0, Key("-12345678", 9, '9', Int, SpyFieldSigned));
    EXPECT_EQ('8', Key("-1234567", 8, '8', Int, SpyFieldSigned));
}

TEST(SpyEditNumberKeys, IntegerFieldTakesNineCharacters)
{
    EXPECT_EQ('1', Key("", 0, '1', Int));
    EXPECT_EQ('9', Key("12345678", 8, '9', Int));
    for (int caret = 0; caret <= 9; ++caret)
        EXPECT_EQ(0, Key("123456789", caret, '0', Int)) << caret;
    // No total limit beyond the nine.
    EXPECT_EQ('0', Key("1234", 2, '0', Int));
}

TEST(SpyEditNumberKeys, ShortDecimalTakesSixDigitsInAll)
{
    EXPECT_EQ('6', Key("12345", 5, '6', Short));
    EXPECT_EQ(0, Key("123456", 6, '7', Short));
    EXPECT_EQ(0, Key("123456", 0, '7', Short));
    EXPECT_EQ('6', Key("123,45", 6, '6', Short));
    EXPECT_EQ(0, Key("123,456", 7, '7', Short));
    EXPECT_EQ(0, Key("123,456", 1, '7', Short));
    EXPECT_EQ(0, Key("1,23456", 7, '7', Short));
    EXPECT_EQ(0, Key("12345,6", 2, '7', Short));
    EXPECT_EQ('7', Key("1234,5", -1, '7', Short));
    EXPECT_EQ('7', Key("123456,123456", -1, '7', Short));  // the caret unknown: no limit at all
}

TEST(SpyEditNumberKeys, LongDecimalTakesNineBeforeAndNineAfter)
{
    const char *full = "123456789,123456789";
    EXPECT_EQ(0, Key(full, 0, '1', Long));
    EXPECT_EQ(0, Key(full, 9, '1', Long));   // at the separator: the integer part is full
    EXPECT_EQ(0, Key(full, 10, '1', Long));  // after it: the fraction is full
    EXPECT_EQ(0, Key(full, End(full), '1', Long));
    EXPECT_EQ('1', Key(full, -1, '1', Long));
    EXPECT_EQ('1', Key("123456789,12345678", 18, '1', Long));
    EXPECT_EQ(0, Key("123456789,12345678", 3, '1', Long));
    EXPECT_EQ('1', Key("12345678,123456789", 3, '1', Long));
    EXPECT_EQ(0, Key("12345678,123456789", 12, '1', Long));
    EXPECT_EQ(0, Key("123456789", 9, '1', Long));  // nine before: no tenth, even at the end
    EXPECT_EQ('5', Key("12,", 3, '5', Long));
    // A text holding two separators (pasted) takes no more digits.
    EXPECT_EQ(0, Key("1,2,3", -1, '4', Long));
}
