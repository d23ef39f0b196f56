#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "base/memory/ByteOrder.h"

TEST(ByteOrder, ReverseBytesAndBits)
{
    std::uint8_t b[] = {1, 2, 3, 4, 5};
    ReverseBytes(b, 5);
    EXPECT_EQ(std::to_array<std::uint8_t>({5, 4, 3, 2, 1}), std::to_array(b));

    std::uint8_t bits[] = {0x01, 0x00, 0x00, 0xF0};
    ReverseBits(bits, 4);
    EXPECT_EQ(0x0F, bits[0]);
    EXPECT_EQ(0x00, bits[1]);
    EXPECT_EQ(0x80, bits[3]);
    std::uint8_t odd[] = {0x01, 0x12, 0x80};
    ReverseBits(odd, 3);
    EXPECT_EQ(0x01, odd[0]);
    EXPECT_EQ(0x48, odd[1]);
    EXPECT_EQ(0x80, odd[2]);
}

TEST(ByteOrder, ValueBitsAndSwaps)
{
    EXPECT_EQ(0b110u, ReverseValueBits(0b011, 3));
    EXPECT_EQ(0b001u, ReverseValueBits(0b100, 3));
    EXPECT_EQ(0x80000000u, ReverseValueBits(1, 32));
    EXPECT_EQ(0u, ReverseValueBits(0, 8));
    EXPECT_EQ(0u, ReverseValueBits(5, 0));

    EXPECT_EQ(0x3412, ByteSwap16(std::uint16_t{0x1234}));
    EXPECT_EQ(0x78563412u, ByteSwap32(0x12345678u));
    std::uint16_t v16 = 0x1234;
    std::uint32_t v32 = 0x12345678u;
    EXPECT_EQ(0x3412, ByteSwap16(&v16));
    EXPECT_EQ(0x78563412u, ByteSwap32(&v32));
    EXPECT_EQ(0, ByteSwap16(static_cast<const std::uint16_t *>(nullptr)));
    EXPECT_EQ(0u, ByteSwap32(static_cast<const std::uint32_t *>(nullptr)));
    EXPECT_EQ(0x4321, NibbleSwap16(&v16));
    EXPECT_EQ(0x4321u, NibbleSwap16Wide(&v16));
    EXPECT_EQ(0, NibbleSwap16(nullptr));
}
