#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "update/payload/MemoryBlock.h"

TEST(MemoryBlock, MoveOverlappingUpwardBackwardAndDownwardForward)
{
    std::string up = "abcdefgh";
    EXPECT_EQ(MoveMemoryBlock(&up[2], &up[0], -5), -5);  // destination above the source
    EXPECT_EQ(up, "ababcdeh");
    std::string down = "abcdefgh";
    EXPECT_EQ(MoveMemoryBlock(&down[0], &down[2], 5), 5);  // destination below the source
    EXPECT_EQ(down, "cdefgfgh");
    EXPECT_EQ(MoveMemoryBlock(&down[0], &down[1], 0), 0);
    EXPECT_EQ(down, "cdefgfgh");
}

TEST(MemoryBlock, CompareTakesBytesAsUnsigned)
{
    const std::uint8_t a[] = {1, 0x80, 3}, b[] = {1, 0x7F, 3}, c[] = {1, 0xFF, 0};
    EXPECT_EQ(CompareMemory(a, b, 3), 1);
    EXPECT_EQ(CompareMemory(b, c, 3), 0x7F - 0xFF);
    EXPECT_EQ(CompareMemory(a, a, 3), 0);
    EXPECT_EQ(CompareMemory(a, c, 0), 0);
    EXPECT_EQ(CompareMemory(a, c, 1), 0);
}
