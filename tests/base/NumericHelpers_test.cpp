#include "base/NumericHelpers.h"

#include <gtest/gtest.h>

TEST(ReadShortText, ReadsLengthAndBytesAndMovesPastBoth)
{
    const uint8_t data[] = {3, 0, 'a', 'b', 'c', 0, 0, 0xFF};
    const uint8_t *cursor = data;
    AnsiString text = "old";
    ASSERT_TRUE(ReadShortText(cursor, data + sizeof data, text));
    EXPECT_EQ(text, "abc");
    ASSERT_TRUE(ReadShortText(cursor, data + sizeof data, text));  // length 0: two bytes, empty text
    EXPECT_EQ(text, "");
    EXPECT_EQ(cursor, data + 7);
}

TEST(ReadShortText, RefusesToReadPastTheEnd)
{
    const uint8_t data[] = {4, 0, 'a', 'b', 'c'};
    for (size_t size : {0, 1, 5}) {
        const uint8_t *cursor = data;
        AnsiString text = "kept";
        EXPECT_FALSE(ReadShortText(cursor, data + size, text)) << size;
        EXPECT_EQ(cursor, data);
        EXPECT_EQ(text, "kept");
    }
}

TEST(CursorReadInt, ReadsASignAndDigitsAndStopsAtTheFirstOtherCharacter)
{
    const char *text = "-42.7";
    const char *cursor = text;
    EXPECT_EQ(CursorReadInt(cursor), -42);
    EXPECT_EQ(cursor, text + 3);
    const char *none = "x1";
    cursor = none;
    EXPECT_EQ(CursorReadInt(cursor), 0);
    EXPECT_EQ(cursor, none);
    const char *end = "";
    cursor = end;
    EXPECT_EQ(CursorReadInt(cursor), 0);
    EXPECT_EQ(cursor, end);
}

TEST(CursorReadInt, StopsAfterTwentyNineCharactersAndSaturates)
{
    const char *digits = "0000000000000000000000000000123";  // 31 digits
    const char *cursor = digits;
    EXPECT_EQ(CursorReadInt(cursor), 1);  // the 29 characters end inside the number
    EXPECT_EQ(cursor, digits + 29);
    const char *big = "99999999999";
    cursor = big;
    EXPECT_EQ(CursorReadInt(cursor), INT32_MAX);
    const char *small = "-99999999999";
    cursor = small;
    EXPECT_EQ(CursorReadInt(cursor), INT32_MIN);
    const char *limit = "-2147483648";
    cursor = limit;
    EXPECT_EQ(CursorReadInt(cursor), INT32_MIN);
}
