#include <gtest/gtest.h>

#include <string>

#include "base/memory/MemBlock.h"

TEST(MemBlock, NibblesSplitAndJoin)
{
    NibblePair p = SplitNibbles(0xA7);
    EXPECT_EQ(0x0A, p.high);
    EXPECT_EQ(0x07, p.low);
    p = SplitNibbles(0);
    EXPECT_EQ(0, p.high);
    EXPECT_EQ(0, p.low);
    EXPECT_EQ(0xA7, JoinNibbles(0x0A, 0x07));
}

TEST(MemBlock, ZeroAndFillTouchOnlyTheirBytes)
{
    std::string b = "abcdef";
    MemFill(&b[1], 3, 'x');
    EXPECT_EQ("axxxef", b);
    MemFill(&b[0], 0, 'y');
    EXPECT_EQ("axxxef", b);
    MemZero(&b[2], 2);
    EXPECT_EQ(std::string("ax\0\0ef", 6), b);
}

TEST(MemBlock, MoveForwardAndBackwardGiveTheSourceBytesEvenWhenOverlapping)
{
    char dst[4] = {};
    EXPECT_EQ(3, MemMove(dst, "abc", 3));
    EXPECT_EQ(std::string("abc"), std::string(dst, 3));

    std::string up = "abcdef";
    EXPECT_EQ(-4, MemMove(&up[2], &up[0], -4));
    EXPECT_EQ("ababcd", up);

    // The same overlapping move with a positive count must not smear the first bytes.
    std::string up2 = "abcdef";
    MemMove(&up2[2], &up2[0], 4);
    EXPECT_EQ("ababcd", up2);

    std::string down = "abcdef";
    MemMove(&down[0], &down[2], 4);
    EXPECT_EQ("cdefef", down);

    EXPECT_EQ(0, MemMove(dst, nullptr, 0));
}

TEST(MemBlock, CompareGivesTheDifferenceOfUnsignedBytes)
{
    EXPECT_EQ(0, MemCompareN("abc", "abc", 3));
    EXPECT_EQ(0, MemCompareN("abc", "xyz", 0));
    EXPECT_EQ('c' - 'x', MemCompareN("abc", "abx", 3));
    // 0xE0 above 0x41 even though a signed char would say otherwise.
    EXPECT_EQ(0xE0 - 0x41, MemCompareN("\xE0", "A", 1));
    EXPECT_EQ(0x41 - 0xE0, MemCompare("A", "\xE0", 1));
    EXPECT_EQ(0, MemEqual("abc", "abd", 2));
    EXPECT_EQ(1, MemEqual("abc", "abd", 3));
}
