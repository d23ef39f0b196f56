#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/memory/Bytes.h"
#include "base/records/RecString.h"
#include "base/records/SbOps.h"
#include "base/records/URString.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t P = sizeof(void *);

Bytes Layout(std::uint16_t number, std::initializer_list<std::pair<std::uint8_t, std::uint16_t>> items)
{
    Bytes layout = Sb_Title::NewLayout(number);
    for (const auto &[type, count] : items)
        Sb_Title::AddField(layout, type, count);
    Sb_Title::BuildSegments(layout);
    return layout;
}

// A layout as one built elsewhere: no items, the given segments.
Bytes HandLayout(std::uint16_t number, std::uint16_t memorySize, std::uint16_t flags,
                 std::initializer_list<std::pair<std::uint8_t, std::uint16_t>> segments)
{
    Bytes layout;
    for (std::uint16_t word : {number, std::uint16_t(0), std::uint16_t(0), memorySize, std::uint16_t(0), flags,
                               static_cast<std::uint16_t>(segments.size())})
        AppendU16(layout, word);
    for (const auto &[kind, count] : segments) {
        layout.push_back(kind);
        AppendU16(layout, count);
    }
    return layout;
}

std::vector<std::pair<std::uint8_t, std::uint16_t>> Segments(const Bytes &layout)
{
    std::vector<std::pair<std::uint8_t, std::uint16_t>> out;
    for (std::size_t i = 0; i < Sb_Title::Header(layout).segmentCount; ++i) {
        const TLayoutSegment s = Sb_Title::Segment(layout, i);
        out.emplace_back(s.kind, s.count);
    }
    return out;
}

// A record of a layout, its slots released at the end.
struct Record {
    const Bytes &layout;
    Bytes bytes;
    explicit Record(const Bytes &l) : layout(l), bytes(Sb_Title::Header(l).memorySize, 0) {}
    ~Record() { Sb_Ops::ClearRecord(layout, bytes.data()); }
    std::uint8_t *data() { return bytes.data(); }
};

Bytes Pack(const Bytes &layout, const void *record)
{
    Bytes out(Sb_Ops::PackedSize(layout, record));
    EXPECT_EQ(out.size(), Sb_Ops::Pack(layout, out.data(), out.size(), record));
    return out;
}

template <typename F>
std::uint32_t CodeOf(F &&f)
{
    try {
        f();
    } catch (const TZExcept &e) {
        return e.Code();
    }
    return 0;
}

template <typename F>
AnsiString TextOf(F &&f)
{
    try {
        f();
    } catch (const TZExcept &e) {
        return e.Text();
    }
    return "(nothing thrown)";
}

}  // namespace

TEST(PoleTypes, SizesFollowTheTableWithPointerWideSlots)
{
    EXPECT_EQ(P, IsSizeField(1, true));
    EXPECT_EQ(2u, IsSizeField(1, false));
    EXPECT_EQ(2u, IsLenField(1, false));
    EXPECT_EQ(P, IsLenField(1, true));
    EXPECT_EQ(1u, IsSizeField(4, true));  // sized, but no flag class
    EXPECT_EQ(8u, IsSizeField(10, false));
    EXPECT_EQ(P, IsSizeField(15, true));
    EXPECT_EQ(4u, IsSizeField(15, false));
    EXPECT_EQ(4u, IsSizeField(17, true));
    EXPECT_EQ(0u, IsSizeField(17, false));
    EXPECT_EQ(4u, IsLenField(17, true));
    EXPECT_EQ(0u, IsLenField(22, false));
    EXPECT_EQ(2u, IsLenField(22, true));
    EXPECT_EQ(0u, IsSizeField(21, true));
    EXPECT_EQ(2u, IsSizeField(40, false));
    EXPECT_EQ(8u, IsSizeField(41, false));
    EXPECT_EQ(12u, IsSizeField(42, false));
    EXPECT_EQ(4u, IsSizeField(43, false));
    EXPECT_EQ(4u, IsLenField(41, false));
    EXPECT_EQ(8u, IsSizeField(70, true));

    EXPECT_EQ(0, IsFlagPoleOpsField(1));
    EXPECT_EQ(1, IsFlagPoleOpsField(16));
    EXPECT_EQ(3, IsFlagPoleOpsField(22));
    EXPECT_EQ(4, IsFlagPoleOpsField(15));
    EXPECT_TRUE(IsFixedField(16));
    EXPECT_TRUE(IsFixedField(35));
    EXPECT_FALSE(IsFixedField(31));
    EXPECT_EQ(0x0001, PoleFlagBits(1));
    EXPECT_EQ(0x0003, PoleFlagBits(31));
    EXPECT_EQ(0x0005, PoleFlagBits(32));
    EXPECT_EQ(0x0040, PoleFlagBits(15));
    EXPECT_EQ(0x4000, PoleFlagBits(22));
}

TEST(PoleTypes, ValuesGiveTheirStoredLengths)
{
    Bytes slots(3 * P, 0);
    RecString::Set(slots.data(), 0, "hello");
    URString two;
    two.SetRussian("ab");
    two.SetUkrainian("cde");
    URString::StoreSlot(slots.data(), P, std::move(two));
    RecString::Set(slots.data(), 2 * P, std::string(10, 'r'));

    EXPECT_EQ(5u, IsLenField(1, false, slots.data()));
    EXPECT_EQ(7u, IsSizeField(1, false, slots.data()));
    EXPECT_EQ(P, IsLenField(1, true, slots.data()));
    EXPECT_EQ(9u, IsLenField(15, false, slots.data() + P));
    EXPECT_EQ(9u, IsSizeField(15, false, slots.data() + P));
    EXPECT_EQ(10u, IsLenField(42, false, slots.data() + 2 * P));
    EXPECT_EQ(22u, IsSizeField(42, false, slots.data() + 2 * P));

    RecString::Clear(slots.data(), 0);
    URString::ClearSlot(slots.data(), P);
    RecString::Clear(slots.data(), 2 * P);
}

TEST(PoleTypes, RefusedTypesRaiseTheirFunctionsText)
{
    EXPECT_EQ(UnknownPoleCode, CodeOf([] { IsLenField(16, false); }));
    EXPECT_EQ("IsLenField - unknown type pole", TextOf([] { IsLenField(21, true); }));
    EXPECT_EQ("IsSizeField - unknown type pole", TextOf([] { IsSizeField(35, true); }));
    EXPECT_EQ("IsFlagPoleOpsField- unknown type pole", TextOf([] { IsFlagPoleOpsField(6); }));
    EXPECT_EQ("IsFixedField - unknown type pole", TextOf([] { IsFixedField(4); }));
    for (int type : {0, 19, 20, 23, 30, 36, 39, 44, 69, 71, 255}) {
        const auto t = static_cast<std::uint8_t>(type);
        EXPECT_EQ(UnknownPoleCode, CodeOf([t] { IsLenField(t, false); })) << type;
        EXPECT_EQ(UnknownPoleCode, CodeOf([t] { IsSizeField(t, true); })) << type;
        EXPECT_EQ(UnknownPoleCode, CodeOf([t] { IsFlagPoleOpsField(t); })) << type;
        EXPECT_EQ(UnknownPoleCode, CodeOf([t] { IsFixedField(t); })) << type;
    }
}

TEST(SbTitle, CountZeroCountsAsOneInSizesOffsetsAndSegments)
{
    const Bytes layout = Layout(3, {{7, 0}, {1, 0}, {5, 2}});
    const TLayoutHeader h = Sb_Title::Header(layout);
    EXPECT_EQ(3, h.number);
    EXPECT_EQ(3, h.itemCount);
    EXPECT_EQ(4 + P + 4, h.memorySize);
    EXPECT_EQ(4 + 2 + 4, h.storedSize);
    EXPECT_EQ(0x0001, h.flags);
    EXPECT_EQ(1, Sb_Title::Item(layout, 0).flagClass);
    std::vector<std::uint32_t> offsets;
    EXPECT_EQ(4 + P + 4, Sb_Ops::FieldOffsets(layout, offsets));
    EXPECT_EQ((std::vector<std::uint32_t>{0, 4, static_cast<std::uint32_t>(4 + P)}), offsets);
    using S = std::vector<std::pair<std::uint8_t, std::uint16_t>>;
    EXPECT_EQ((S{{'?', 4}, {'<', 1}, {'?', 4}}), Segments(layout));
}

TEST(SbTitle, SegmentsChangeWithTheKindAndAdjacentRawItemsJoin)
{
    using S = std::vector<std::pair<std::uint8_t, std::uint16_t>>;
    EXPECT_EQ((S{{'?', 1}, {'<', 1}, {'?', 2}, {'<', 2}}), Segments(Layout(1, {{2, 1}, {1, 1}, {5, 1}, {31, 2}})));
    EXPECT_EQ((S{{'?', 1 + 2 * 4 + 8}, {'<', 3}}), Segments(Layout(1, {{3, 1}, {8, 2}, {10, 1}, {1, 1}, {33, 2}})));
    // Two-language texts, records of each kind and memory-only bytes form their own segments.
    EXPECT_EQ((S{{'-', 2 + 4}, {'A', 2}, {40, 1}, {41, 1}, {'?', 1}}),
              Segments(Layout(1, {{22, 1}, {17, 1}, {15, 2}, {40, 1}, {41, 1}, {2, 1}})));
    const Bytes layout = Layout(1, {{22, 1}});
    EXPECT_EQ(Pole::TagWordFlag, Sb_Title::Header(layout).flags);
}

TEST(SbTitle, RefusedTypesLeaveTheLayoutAsItWas)
{
    Bytes layout = Layout(1, {{1, 1}});
    const Bytes before = layout;
    EXPECT_EQ("IsFlagPoleOpsField- unknown type pole", TextOf([&] { Sb_Title::AddField(layout, 4, 1); }));
    EXPECT_EQ("IsFlagPoleOpsField- unknown type pole", TextOf([&] { Sb_Title::AddField(layout, 6, 1); }));
    EXPECT_EQ("IsSizeField - unknown type pole", TextOf([&] { Sb_Title::AddField(layout, 16, 1); }));
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Title::AddField(layout, 70, 9000); }));
    EXPECT_EQ(before, layout);
}

TEST(SbOps, PackAndUnpackRoundTripEveryKind)
{
    const Bytes layout = Layout(9, {{22, 1}, {1, 2}, {15, 1}, {2, 3}, {8, 1}, {40, 1}, {41, 1}, {42, 1}, {43, 1}});
    std::vector<std::uint32_t> at;
    Sb_Ops::FieldOffsets(layout, at);
    Record r(layout);
    StoreU16(r.data() + at[0], 0x1234);
    RecString::Set(r.data(), at[1], "first");
    RecString::Set(r.data(), at[1] + P, "Второй");
    URString two;
    two.SetRussian("Рус");
    two.SetUkrainian("Укр");
    URString::StoreSlot(r.data(), at[2], std::move(two));
    std::memcpy(r.data() + at[3], "xyz", 3);
    StoreU32(r.data() + at[4], 0xCAFEF00D);
    RecString::Set(r.data(), at[5],
                   std::string("\x07\x40\x02\x00"
                               "ab",
                               6));
    RecString::Set(r.data(), at[6], "rec41");
    RecString::Set(r.data(), at[7], "");
    RecString::Set(r.data(), at[8], "r43");

    const Bytes packed = Pack(layout, r.data());
    ASSERT_EQ(2 + 5 + 2 + 6 + 4 + 6 + 3 + 4 + 2 + 6 + 8 + 5 + 12 + 4 + 3u, packed.size());
    // The record fields' fixed parts: the length word, then zeros.
    const std::size_t rec41 = packed.size() - (4 + 3) - 12 - (8 + 5);
    EXPECT_EQ(Bytes({5, 0, 0, 0, 0, 0, 0, 0, 'r'}), Bytes(packed.begin() + rec41, packed.begin() + rec41 + 9));

    std::vector<std::uint32_t> stored;
    EXPECT_EQ(packed.size(), Sb_Ops::StoredFieldOffsets(layout, packed.data(), packed.size(), stored));
    EXPECT_EQ((std::vector<std::uint32_t>{0, 15, 25, 28, 32, 40, 53, 65}), stored);

    Record back(layout);
    StoreU16(back.data() + at[0], 0x7777);  // the tag word lives only in memory
    EXPECT_EQ(Sb_Title::Header(layout).memorySize, Sb_Ops::Unpack(layout, back.data(), packed.data(), packed.size()));
    EXPECT_EQ(0x7777, LoadU16(back.data() + at[0]));
    EXPECT_EQ("first", RecString::View(back.data(), at[1]));
    EXPECT_EQ("Второй", RecString::View(back.data(), at[1] + P));
    const URString got = URString::LoadSlot(back.data(), at[2]);
    EXPECT_EQ("Рус", got.GetRussian());
    EXPECT_EQ("Укр", got.GetUkrainian());
    EXPECT_EQ(0, std::memcmp(back.data() + at[3], "xyz", 3));
    EXPECT_EQ(0xCAFEF00Du, LoadU32(back.data() + at[4]));
    EXPECT_EQ(std::string("\x07\x40\x02\x00"
                          "ab",
                          6),
              RecString::View(back.data(), at[5]));
    EXPECT_EQ("rec41", RecString::View(back.data(), at[6]));
    EXPECT_TRUE(RecString::IsEmpty(back.data(), at[7]));
    EXPECT_EQ("r43", RecString::View(back.data(), at[8]));
    EXPECT_EQ(packed, Pack(layout, back.data()));
}

TEST(SbOps, ATagBlockKeepsItsTagWordOutOfThePackedForm)
{
    const Bytes layout = HandLayout(5, 6 + P, 0, {{'@', 6}, {'<', 1}});
    Record r(layout);
    std::memcpy(r.data(), "\x11\x22wxyz", 6);
    RecString::Set(r.data(), 6, "t");
    const Bytes packed = Pack(layout, r.data());
    EXPECT_EQ(Bytes({'w', 'x', 'y', 'z', 1, 0, 't'}), packed);
    Record back(layout);
    StoreU16(back.data(), 0xABCD);
    Sb_Ops::Unpack(layout, back.data(), packed.data(), packed.size());
    EXPECT_EQ(0xABCD, LoadU16(back.data()));
    EXPECT_EQ(0, std::memcmp(back.data() + 2, "wxyz", 4));
    EXPECT_EQ("t", RecString::View(back.data(), 6));
}

TEST(SbOps, TextLengthsAndTheirLimit)
{
    const Bytes layout = Layout(1, {{1, 1}});
    Record r(layout);
    EXPECT_EQ(Bytes({0, 0}), Pack(layout, r.data()));  // an empty text
    RecString::Set(r.data(), 0, "x");
    Sb_Ops::Unpack(layout, r.data(), Bytes{0, 0}.data(), 2);
    EXPECT_TRUE(RecString::IsEmpty(r.data(), 0));

    // A length word with 0x81 as its high byte counts its low byte only.
    const Bytes marked = {0x05, 0x81, 'a', 'b', 'c', 'd', 'e', 'f', 'g'};
    Sb_Ops::Unpack(layout, r.data(), marked.data(), marked.size());
    EXPECT_EQ("abcde", RecString::View(r.data(), 0));

    // So the longest text that comes back whole is 33,023 bytes.
    RecString::Set(r.data(), 0, std::string(StoredLengthLimit - 1, 'q'));
    EXPECT_EQ(StoredLengthLimit + 1, Sb_Ops::PackedSize(layout, r.data()));
    RecString::Set(r.data(), 0, std::string(StoredLengthLimit, 'q'));
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::PackedSize(layout, r.data()); }));
    Bytes buffer(StoredLengthLimit + 2, 0xEE);
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::Pack(layout, buffer.data(), buffer.size(), r.data()); }));
    EXPECT_EQ(Bytes(StoredLengthLimit + 2, 0xEE), buffer);
}

TEST(SbOps, TooSmallABufferIsRefusedUnwritten)
{
    const Bytes layout = Layout(1, {{1, 1}, {7, 1}});
    Record r(layout);
    RecString::Set(r.data(), 0, "abc");
    Bytes buffer(8, 0xEE);
    EXPECT_EQ(9u, Sb_Ops::Pack(layout, nullptr, 0, r.data()));
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::Pack(layout, buffer.data(), buffer.size(), r.data()); }));
    EXPECT_EQ(Bytes(8, 0xEE), buffer);
    EXPECT_EQ(0u, Sb_Ops::Pack(layout, buffer.data(), buffer.size(), nullptr));
    EXPECT_EQ(0u, Sb_Ops::Unpack(layout, r.data(), nullptr, 4));
    EXPECT_EQ(0u, Sb_Ops::Unpack(layout, nullptr, buffer.data(), 4));
}

TEST(SbOps, TruncatedDataIsRefusedAndLeavesTheRecordCleared)
{
    const Bytes layout = Layout(4, {{22, 1}, {7, 1}, {1, 1}, {15, 1}, {43, 1}});
    std::vector<std::uint32_t> at;
    Sb_Ops::FieldOffsets(layout, at);
    Record full(layout);
    StoreU32(full.data() + at[1], 99);
    RecString::Set(full.data(), at[2], "text");
    URString two;
    two.SetRussian("р");
    URString::StoreSlot(full.data(), at[3], std::move(two));
    RecString::Set(full.data(), at[4], "record");
    const Bytes packed = Pack(layout, full.data());
    for (std::size_t cut = 0; cut < packed.size(); ++cut) {
        Record r(layout);
        RecString::Set(r.data(), at[2], "old");
        StoreU32(r.data() + at[1], 7);
        // Its own allocation, so that a read past it is reported; no bytes at all still come with a pointer.
        Bytes part(packed.begin(), packed.begin() + cut);
        const std::uint8_t *bytes = cut == 0 ? packed.data() : part.data();
        EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::Unpack(layout, r.data(), bytes, cut); })) << cut;
        EXPECT_EQ(4, LoadU16(r.data() + at[0])) << cut;  // cleared: the tag word holds the record number
        EXPECT_EQ(0u, LoadU32(r.data() + at[1])) << cut;
        EXPECT_TRUE(RecString::IsEmpty(r.data(), at[2])) << cut;
        EXPECT_TRUE(URString::LoadSlot(r.data(), at[3]).IsEmptyPart(2)) << cut;
        EXPECT_TRUE(RecString::IsEmpty(r.data(), at[4])) << cut;
        std::vector<std::uint32_t> stored;
        EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::StoredFieldOffsets(layout, bytes, cut, stored); })) << cut;
    }
}

TEST(SbOps, DamagedLayoutsAreRefusedBeforeTheRecordChanges)
{
    Bytes r(16, 0x5A);
    const Bytes past = HandLayout(1, 8, 0, {{'?', 4}, {'?', 8}});
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::Unpack(past, r.data(), r.data(), 16); }));
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::ClearRecord(past, r.data()); }));
    const Bytes kind = HandLayout(1, 8, 0, {{'Z', 1}});
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::PackedSize(kind, r.data()); }));
    const Bytes shortTag = HandLayout(1, 8, 0, {{'@', 1}});
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::PackedSize(shortTag, r.data()); }));
    Bytes cut = HandLayout(1, 8, 0, {{'?', 8}});
    cut.pop_back();
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Ops::ClearRecord(cut, r.data()); }));
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { Sb_Title::Header(LayoutView(cut).first(13)); }));
    EXPECT_EQ(Bytes(16, 0x5A), r);
}

TEST(SbOps, ClearRecordWritesTheRecordNumberAsTheTagWord)
{
    const Bytes layout = Layout(0x0123, {{5, 1}, {22, 1}, {1, 1}, {15, 1}});
    Record r(layout);
    StoreU16(r.data(), 0xFFFF);
    StoreU16(r.data() + 2, 0xFFFF);
    RecString::Set(r.data(), 4, "gone");
    URString two;
    two.SetUkrainian("у");
    URString::StoreSlot(r.data(), 4 + P, std::move(two));
    EXPECT_EQ(4 + 2 * P, Sb_Ops::ClearRecord(layout, r.data()));
    EXPECT_EQ(0, LoadU16(r.data()));
    EXPECT_EQ(0x0123, LoadU16(r.data() + 2));
    EXPECT_TRUE(RecString::IsEmpty(r.data(), 4));
    EXPECT_TRUE(URString::LoadSlot(r.data(), 4 + P).IsEmptyPart(2));

    // A '@' block keeps its word through a clear, unless the flag makes it the tag word.
    const Bytes plain = HandLayout(7, 4, 0, {{'@', 4}});
    const Bytes tagged = HandLayout(7, 4, Pole::TagWordFlag, {{'@', 4}});
    Bytes b = {1, 2, 3, 4};
    Sb_Ops::ClearRecord(plain, b.data());
    EXPECT_EQ(Bytes({1, 2, 0, 0}), b);
    Sb_Ops::ClearRecord(tagged, b.data());
    EXPECT_EQ(Bytes({7, 0, 0, 0}), b);
}

TEST(SbOps, ATagWordThatTheSegmentsPlaceInASlotIsNotWritten)
{
    // Items say: the tag word, then a text; the segments say: a text slot first.
    Bytes layout = Layout(3, {{22, 1}, {1, 1}});
    const std::size_t segments = Sb_Title::Length(layout) - 2 * SegmentSize;
    const Bytes swapped = {'<', 1, 0, '-', 2, 0};
    std::copy(swapped.begin(), swapped.end(), layout.begin() + static_cast<std::ptrdiff_t>(segments));
    Record r(layout);
    RecString::Set(r.data(), 0, "kept as a text");
    Sb_Ops::ClearRecord(layout, r.data());
    EXPECT_TRUE(RecString::IsEmpty(r.data(), 0));
    EXPECT_EQ(0, LoadU16(r.data()));
}

TEST(SbOps, CopyRecordSharesTextsAndCopiesTheRest)
{
    const Bytes layout = Layout(2, {{1, 1}, {15, 1}, {7, 1}, {40, 1}});
    Record src(layout), dst(layout);
    RecString::Set(src.data(), 0, "shared");
    URString two;
    two.SetRussian("р");
    URString::StoreSlot(src.data(), P, std::move(two));
    StoreU32(src.data() + 2 * P, 42);
    RecString::Set(dst.data(), 2 * P + 4, "dropped");
    EXPECT_EQ(3 * P + 4, Sb_Ops::CopyRecord(layout, dst.data(), src.data()));
    EXPECT_EQ(2, RecString::Holders(src.data(), 0));
    EXPECT_EQ("р", URString::LoadSlot(dst.data(), P).GetRussian());
    EXPECT_EQ(42u, LoadU32(dst.data() + 2 * P));
    EXPECT_TRUE(RecString::IsEmpty(dst.data(), 2 * P + 4));
    // Onto itself: nothing is cleared or counted twice.
    EXPECT_EQ(3 * P + 4, Sb_Ops::CopyRecord(layout, src.data(), src.data()));
    EXPECT_EQ("shared", RecString::View(src.data(), 0));
    EXPECT_EQ(2, RecString::Holders(src.data(), 0));
}

TEST(SbOps, ZeroRecordStaysInsideTheRecord)
{
    // Stored 12 bytes, in memory one pointer.
    const Bytes layout = Layout(1, {{42, 1}});
    Bytes r(P + 4, 0xEE);
    EXPECT_EQ(P, Sb_Ops::ZeroRecord(layout, r.data()));
    Bytes expected(P + 4, 0xEE);
    std::fill(expected.begin(), expected.begin() + P, 0);
    EXPECT_EQ(expected, r);
    const Bytes numbers = Layout(1, {{7, 1}, {17, 1}});  // 8 in memory, 4 stored
    EXPECT_EQ(4u, Sb_Ops::ZeroRecord(numbers, r.data()));
}

namespace {

// A table of three layouts (numbers 1, 2, 3) chained or indexed.
Bytes Table(bool indexed, bool loop = false)
{
    std::vector<Bytes> layouts = {Layout(1, {{7, 1}}), Layout(2, {{1, 1}}), Layout(3, {{5, 2}})};
    Bytes body;
    std::vector<std::uint16_t> at;
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        at.push_back(static_cast<std::uint16_t>(body.size()));
        body.insert(body.end(), layouts[i].begin(), layouts[i].end());
    }
    if (!indexed) {
        StoreU16(body.data() + at[0] + 2, at[1]);
        StoreU16(body.data() + at[1] + 2, loop ? at[0] : at[2]);
    }
    Bytes table;
    AppendU16(table, indexed ? static_cast<std::uint16_t>(body.size()) : 0);
    table.insert(table.end(), body.begin(), body.end());
    if (indexed) {
        for (std::uint16_t w : {std::uint16_t(4), at[0], std::uint16_t(0xFFFF), at[2], at[1]})
            AppendU16(table, w);
    }
    return table;
}

}  // namespace

TEST(FindLayout, ChainedAndIndexedTables)
{
    const Bytes chained = Table(false);
    for (std::uint16_t n : {1, 2, 3})
        EXPECT_EQ(n, Sb_Title::Header(FindLayout(chained, n)).number);
    EXPECT_TRUE(FindLayout(chained, 4).empty());             // the chain ends without it
    EXPECT_TRUE(FindLayout(Table(false, true), 3).empty());  // a chain that comes back ends
    EXPECT_EQ(2, Sb_Title::Header(FindLayout(Table(false, true), 2)).number);

    const Bytes indexed = Table(true);
    EXPECT_EQ(1, Sb_Title::Header(FindLayout(indexed, 1)).number);
    EXPECT_TRUE(FindLayout(indexed, 2).empty());  // 0xFFFF
    EXPECT_EQ(3, Sb_Title::Header(FindLayout(indexed, 3)).number);
    EXPECT_EQ(2, Sb_Title::Header(FindLayout(indexed, 4)).number);
    EXPECT_TRUE(FindLayout(indexed, 0).empty());
    EXPECT_TRUE(FindLayout(indexed, 5).empty());
    EXPECT_EQ(Sb_Title::Length(FindLayout(indexed, 3)), FindLayout(indexed, 3).size());

    Bytes bad = Table(true);
    StoreU16(bad.data() + bad.size() - 4, 0x7000);  // number 3 points outside
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { FindLayout(bad, 3); }));
    Bytes cut = Table(false);
    cut.resize(20);
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { FindLayout(cut, 3); }));
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { FindLayout(Bytes{0}, 1); }));
    EXPECT_EQ(DamagedRecordCode, CodeOf([&] { FindLayout(Bytes{0, 0}, 1); }));
}

namespace {

void AppendCopy(Bytes &d, std::uint8_t kind, std::uint32_t to, std::uint32_t from, std::uint32_t count)
{
    d.push_back(kind);
    AppendU32(d, to);
    AppendU32(d, from);
    AppendU32(d, count);
}

}  // namespace

TEST(CopyByDescriptors, TextsAndBytesOrNothing)
{
    Bytes src(2 * P + 4, 0), dst(2 * P + 8, 0);
    RecString::Set(src.data(), 0, "one");
    RecString::Set(src.data(), P, "two");
    std::memcpy(src.data() + 2 * P, "abcd", 4);
    Bytes d;
    AppendCopy(d, '<', 8, 0, 2);
    AppendCopy(d, '?', 0, static_cast<std::uint32_t>(2 * P), 4);
    d.push_back('G');
    CopyByDescriptors(d, dst.data(), dst.size(), src.data(), src.size());
    EXPECT_EQ("one", RecString::View(dst.data(), 8));
    EXPECT_EQ("two", RecString::View(dst.data(), 8 + P));
    EXPECT_EQ(2, RecString::Holders(src.data(), P));
    EXPECT_EQ(0, std::memcmp(dst.data(), "abcd", 4));

    // Every descriptor is checked first: a later one out of range copies nothing.
    const Bytes before = dst;
    Bytes bad;
    AppendCopy(bad, '?', 4, 0, 4);
    AppendCopy(bad, '?', static_cast<std::uint32_t>(dst.size() - 2), 0, 4);
    bad.push_back('G');
    EXPECT_EQ(DamagedRecordCode,
              CodeOf([&] { CopyByDescriptors(bad, dst.data(), dst.size(), src.data(), src.size()); }));
    Bytes wrap;
    AppendCopy(wrap, '?', 0xFFFFFFF0u, 0, 0x20);
    wrap.push_back('G');
    EXPECT_EQ(DamagedRecordCode,
              CodeOf([&] { CopyByDescriptors(wrap, dst.data(), dst.size(), src.data(), src.size()); }));
    Bytes open;
    AppendCopy(open, '?', 0, 0, 1);
    EXPECT_EQ(DamagedRecordCode,
              CodeOf([&] { CopyByDescriptors(open, dst.data(), dst.size(), src.data(), src.size()); }));
    Bytes kind;
    AppendCopy(kind, 'A', 0, 0, 1);
    kind.push_back('G');
    EXPECT_EQ(DamagedRecordCode,
              CodeOf([&] { CopyByDescriptors(kind, dst.data(), dst.size(), src.data(), src.size()); }));
    EXPECT_EQ(before, dst);

    for (std::size_t at : {std::size_t{0}, P})
        RecString::Clear(src.data(), at);
    for (std::size_t at : {std::size_t{8}, 8 + P})
        RecString::Clear(dst.data(), at);
}
