#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

#include "base/memory/Bytes.h"

TEST(Bytes, LoadsAndStoresAreLittleEndianAtAnyOffset)
{
    std::array<std::uint8_t, 11> b = {0xAA, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xBB, 0xCC};
    EXPECT_EQ(0x0201u, LoadU16(b.data() + 1));
    EXPECT_EQ(0x04030201u, LoadU32(b.data() + 1));
    EXPECT_EQ(0x0807060504030201ull, LoadU64(b.data() + 1));

    std::array<std::uint8_t, 11> out{};
    StoreU64(out.data() + 1, 0x0807060504030201ull);
    StoreU16(out.data() + 9, 0xCCBB);
    EXPECT_EQ(0u, out[0]);
    for (int i = 1; i < 11; ++i)
        EXPECT_EQ(b[i], out[i]) << i;
    StoreU32(out.data() + 3, 0xFFFFFFFFu);
    EXPECT_EQ(0x02u, out[2]);
    EXPECT_EQ(0xFFFFFFFFu, LoadU32(out.data() + 3));
    EXPECT_EQ(0x07u, out[7]);

    std::vector<std::uint8_t> image;
    AppendU16(image, 0x0201);
    AppendU32(image, 0x06050403u);
    AppendU64(image, 0x0E0D0C0B0A090807ull);
    ASSERT_EQ(14u, image.size());
    for (std::size_t i = 0; i < image.size(); ++i)
        EXPECT_EQ(i + 1, image[i]) << i;
}

TEST(Bytes, ReaderReadsInOrderAndRefusesPastTheEndKeepingPositionAndValue)
{
    const std::uint8_t data[] = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 'a', 'b',
                                 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    TByteReader r(data, sizeof data);
    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0;
    std::uint64_t u64 = 0;
    std::string_view text;
    ASSERT_TRUE(r.ReadU8(u8));
    ASSERT_TRUE(r.ReadU16(u16));
    ASSERT_TRUE(r.ReadU32(u32));
    ASSERT_TRUE(r.ReadText(2, text));
    EXPECT_EQ(0x01u, u8);
    EXPECT_EQ(0x1234u, u16);
    EXPECT_EQ(0x12345678u, u32);
    EXPECT_EQ("ab", text);
    EXPECT_EQ(9u, r.Position());
    EXPECT_EQ(8u, r.Remaining());

    // One byte short: nothing moves, nothing is written.
    ASSERT_TRUE(r.Skip(1));
    u64 = 42;
    EXPECT_FALSE(r.ReadU64(u64));
    EXPECT_EQ(42u, u64);
    EXPECT_EQ(10u, r.Position());
    std::span<const std::uint8_t> bytes;
    EXPECT_FALSE(r.ReadBytes(8, bytes));
    EXPECT_FALSE(r.Skip(8));
    EXPECT_EQ(10u, r.Position());

    // The exact end.
    ASSERT_TRUE(r.Seek(9));
    ASSERT_TRUE(r.ReadU64(u64));
    EXPECT_EQ(0x0102030405060708ull, u64);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.ReadU8(u8));
    EXPECT_TRUE(r.ReadBytes(0, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(r.Seek(sizeof data + 1));
    EXPECT_EQ(sizeof data, r.Position());
}

TEST(Bytes, ThrowingReadsThrowPastTheEndAndFixedOffsetReadsStayInside)
{
    const std::uint8_t data[] = {0x34, 0x12, 0x78, 0x56, 0x34};
    TByteReader r(data, sizeof data);
    EXPECT_EQ(0x1234u, r.U16());
    EXPECT_THROW(r.U32(), EBytesTruncated);
    EXPECT_EQ(2u, r.Position());
    EXPECT_EQ(0x5678u, r.U16());
    EXPECT_EQ(0x34u, r.U8());
    EXPECT_THROW(r.U8(), EBytesTruncated);
    EXPECT_THROW(r.Bytes(1), EBytesTruncated);
    EXPECT_TRUE(r.Text(0).empty());

    std::uint32_t v = 7;
    EXPECT_TRUE(r.ReadU32At(1, v));
    EXPECT_EQ(0x34567812u, v);
    EXPECT_FALSE(r.ReadU32At(2, v));
    EXPECT_FALSE(r.ReadU32At(std::numeric_limits<std::size_t>::max() - 1, v));  // no wrap-around
    EXPECT_EQ(0x34567812u, v);
    EXPECT_TRUE(r.HasAt(5, 0));
    EXPECT_FALSE(r.HasAt(6, 0));
}

TEST(Bytes, ReaderOverNothing)
{
    std::uint16_t v = 9;
    TByteReader empty;
    EXPECT_FALSE(empty.ReadU16(v));
    EXPECT_TRUE(empty.AtEnd());
    const std::uint8_t data[] = {1, 2};
    EXPECT_EQ(0u, TByteReader::Between(data + 2, data).Size());
    EXPECT_EQ(0u, TByteReader::Between(nullptr, data).Size());
    EXPECT_EQ(2u, TByteReader::Between(data, data + 2).Size());
    EXPECT_EQ(9u, v);
}
