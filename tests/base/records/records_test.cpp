#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/records/AtRecord.h"
#include "base/memory/PackedWord.h"
#include "base/records/TagRecord.h"

namespace {

// Two tagged records and the end record: tag 7 short with "abc", tag 9 long with "xy".
std::vector<std::uint8_t> TagList()
{
    std::vector<std::uint8_t> b(4 + 3 + 4 + 2 + 4);
    std::uint8_t *p = b.data();
    SetTag(p, 7, true);
    SetTagRecordLength(p, 3);
    std::memcpy(p + 4, "abc", 3);
    p += 7;
    SetTag(p, 9, false);
    SetTagRecordLength(p, 2);
    std::memcpy(p + 4, "xy", 2);
    p += 6;
    InitTagList(p);
    return b;
}

}  // namespace

TEST(TagRecord, WalkAListToItsEndRecord)
{
    std::vector<std::uint8_t> b = TagList();
    const std::uint8_t *end = b.data() + b.size();
    const std::uint8_t *r = b.data();
    EXPECT_EQ(0x4007, GetTagWord(r, end));
    EXPECT_EQ(7, GetTag(r, end));
    EXPECT_TRUE(IsShortTag(r, end));
    EXPECT_EQ(7u, TagRecordSize(r, end));
    r = NextTagRecord(r, end);
    EXPECT_EQ(9, GetTag(r, end));
    EXPECT_FALSE(IsShortTag(r, end));
    EXPECT_EQ(2, GetTagRecordLength(r, end));
    r = NextTagRecord(r, end);
    EXPECT_TRUE(IsEndTagRecord(r, end));
    EXPECT_EQ(0x6000, GetTagWord(r, end));
    EXPECT_EQ(0xFFFF, GetTagRecordLength(r, end));
    EXPECT_EQ(4u, TagRecordSize(r, end));
    EXPECT_EQ(end, NextTagRecord(r, end));
}

TEST(TagRecord, FlagsAndTheEndMark)
{
    std::uint8_t r[4] = {};
    SetTag(r, 0x0123, false);
    SetOwnerFlag(r, true);
    SetShortTagFlag(r, true);
    EXPECT_EQ(0x8123, GetTag(r, r + 4));
    EXPECT_TRUE(HasOwnerFlag(r, r + 4));
    EXPECT_TRUE(IsShortTag(r, r + 4));
    SetOwnerFlag(r, false);
    SetShortTagFlag(r, false);
    EXPECT_EQ(0x0123, GetTagWord(r, r + 4));
    SetEndTagRecord(r);
    EXPECT_TRUE(IsEndTagRecord(r, r + 4));
    ClearEndTagMark(r);
    EXPECT_FALSE(IsEndTagRecord(r, r + 4));
    EXPECT_EQ(0x4000, GetTagWord(r, r + 4));
    // 0x2000 without 0x4000 is no end mark.
    SetTag(r, 0x2000, false);
    EXPECT_FALSE(IsEndTagRecord(r, r + 4));
}

TEST(TagRecord, LongerFormsCountTheirHeaders)
{
    std::uint8_t r[14] = {};
    SetTag(r, 3, true);
    SetTagRecordLength(r, 4);
    EXPECT_EQ(12u, TagRecordSize(r, r + 12, TagForm::Long8));
    EXPECT_EQ(0u, TagRecordSize(r, r + 12, TagForm::Long10));
    EXPECT_EQ(14u, TagRecordSize(r, r + 14, TagForm::Long10));
    EXPECT_TRUE(IsTagHeaderWordZero(r, r + 14, TagForm::Long10, 8));
    r[9] = 1;
    EXPECT_FALSE(IsTagHeaderWordZero(r, r + 14, TagForm::Long10, 8));
    EXPECT_TRUE(IsTagHeaderWordZero(r, r + 14, TagForm::Long8, 4));
    EXPECT_FALSE(IsTagHeaderWordZero(r, r + 14, TagForm::Long8, 8));
    SetEndTagRecord(r);
    EXPECT_EQ(10u, TagRecordSize(r, r + 10, TagForm::Long10));
}

TEST(TagRecord, LengthsThatRunPastTheBufferAreRefused)
{
    std::vector<std::uint8_t> b = TagList();
    const std::uint8_t *r = b.data();
    // The first record needs 7 bytes.
    EXPECT_EQ(0u, TagRecordSize(r, r + 6));
    EXPECT_EQ(nullptr, NextTagRecord(r, r + 6));
    EXPECT_EQ(0u, TagRecordSize(r, r + 3));
    EXPECT_EQ(0, GetTagRecordLength(r, r + 3));
    EXPECT_EQ(0, GetTagWord(r, r + 1));
    EXPECT_FALSE(IsEndTagRecord(r, r));
    EXPECT_EQ(nullptr, NextTagRecord(nullptr, r));
    // A damaged length field in the middle of a list stops the walk.
    b[7 + 2] = 0xFF;
    const std::uint8_t *end = b.data() + b.size();
    const std::uint8_t *second = NextTagRecord(b.data(), end);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(nullptr, NextTagRecord(second, end));
}

TEST(AtRecord, RoundTripAndEndRecord)
{
    std::uint8_t b[7 + 3 + 8];
    SetAtRecordHeader(b, 5, 0x01020304, 3);
    std::memcpy(b + 7, "xyz", 3);
    SetAtEndRecord(b + 10);
    const std::uint8_t *end = b + sizeof b;
    EXPECT_EQ(5, AtRecordKind(b, end));
    EXPECT_EQ(0x01020304u, AtRecordWord(b, end));
    EXPECT_EQ(0x04, b[1]);
    EXPECT_EQ(3, AtRecordLength(b, end));
    EXPECT_EQ(10u, AtRecordSize(b, end));
    EXPECT_EQ(b + 7, AtRecordData(b, end));
    EXPECT_FALSE(IsAtEndRecord(b, end));
    const std::uint8_t *e = NextAtRecord(b, end);
    EXPECT_EQ(b + 10, e);
    EXPECT_TRUE(IsAtEndRecord(e, end));
    EXPECT_EQ(end, NextAtRecord(e, end));

    // Length 1 with another data byte is no end record.
    b[17] = 0x41;
    EXPECT_FALSE(IsAtEndRecord(e, end));
    // Nor is an end record cut short by the buffer.
    b[17] = 0x40;
    EXPECT_FALSE(IsAtEndRecord(e, end - 1));
    EXPECT_EQ(0u, AtRecordSize(b, b + 9));
    EXPECT_EQ(nullptr, AtRecordData(b, b + 9));
    EXPECT_EQ(nullptr, NextAtRecord(b, b + 9));
    EXPECT_EQ(0, AtRecordLength(b, b + 6));
}

TEST(PackedWord, HalvesAndBytes)
{
    std::uint32_t w = 0;
    SetPackedLow(w, 0x1234);
    SetPackedHigh(w, 0xABCD);
    EXPECT_EQ(0xABCD1234u, w);
    EXPECT_EQ(0x1234, PackedLow(w));
    EXPECT_EQ(0xABCD, PackedHigh(w));
    SetPackedByte(w, 2, 0xEE);
    EXPECT_EQ(0xABEE1234u, w);
    EXPECT_EQ(0xAB, PackedByte(w, 3));
    SetPackedByte(w, 4, 0x55);
    SetPackedByte(w, -1, 0x55);
    EXPECT_EQ(0xABEE1234u, w);
    EXPECT_EQ(0, PackedByte(w, 4));
    std::uint32_t c = 0;
    PackedCopy(c, w);
    EXPECT_EQ(w, c);
    PackedClear(c);
    EXPECT_EQ(0u, c);
}
