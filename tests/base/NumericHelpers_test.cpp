#include "base/NumericHelpers.h"

#include <gtest/gtest.h>

TEST(ReadShortText, ReadsLengthAndBytesAndMovesPastBoth) {
    const uint8_t data[] = {3, 0, 'a', 'b', 'c', 0, 0, 0xFF};
    const uint8_t *cursor = data;
    AnsiString text = "old";
    ASSERT_TRUE(ReadShortText(cursor, data + sizeof data, text));
    EXPECT_EQ(text, "abc");
    ASSERT_TRUE(ReadShortText(cursor, data + sizeof data, text));  // length 0: two bytes, empty text
    EXPECT_EQ(text, "");
    EXPECT_EQ(cursor, data + 7);
}

TEST(ReadShortText, RefusesToReadPastTheEnd) {
    const uint8_t data[] = {4, 0, 'a', 'b', 'c'};
    for (size_t size : {0, 1, 5}) {
        const uint8_t *cursor = data;
        AnsiString text = "kept";
        EXPECT_FALSE(ReadShortText(cursor, data + size, text)) << size;
        EXPECT_EQ(cursor, data);
        EXPECT_EQ(text, "kept");
    }
}
