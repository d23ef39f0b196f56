#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/records/RecString.h"
#include "base/records/RecordText.h"

namespace {

// A record with every field type at an odd offset, so no field lies aligned.
struct TestRecord {
    std::uint8_t bytes[48];
    TestRecord()
    {
        std::memset(bytes, 0x5A, sizeof bytes);
        RecString::Init(bytes, TextAt);
        RecString::Init(bytes, Text2At);
    }
    ~TestRecord()
    {
        RecString::Clear(bytes, TextAt);
        RecString::Clear(bytes, Text2At);
    }
    static constexpr std::uint32_t U8At = 1, CharAt = 2, U16At = 3, U32At = 5, HexAt = 9, TextAt = 13, Text2At = 23;
    std::uint8_t U8() const { return bytes[U8At]; }
    char Char() const { return static_cast<char>(bytes[CharAt]); }
    std::uint16_t U16() const
    {
        std::uint16_t v;
        std::memcpy(&v, bytes + U16At, 2);
        return v;
    }
    std::uint32_t U32(std::uint32_t at) const
    {
        std::uint32_t v;
        std::memcpy(&v, bytes + at, 4);
        return v;
    }
    void SetU16(std::uint16_t v) { std::memcpy(bytes + U16At, &v, 2); }
    void SetU32(std::uint32_t at, std::uint32_t v) { std::memcpy(bytes + at, &v, 4); }
};

std::vector<std::uint8_t> AllFields()
{
    std::vector<std::uint8_t> f;
    AppendFieldDescriptor(f, FieldType::U8, TestRecord::U8At);
    AppendFieldDescriptor(f, FieldType::Char, TestRecord::CharAt);
    AppendFieldDescriptor(f, FieldType::U16, TestRecord::U16At);
    AppendFieldDescriptor(f, FieldType::U32, TestRecord::U32At);
    AppendFieldDescriptor(f, FieldType::Hex32, TestRecord::HexAt);
    AppendFieldDescriptor(f, FieldType::Text, TestRecord::TextAt);
    f.push_back(FieldType::End);
    return f;
}

void Fill(TestRecord &r, std::uint8_t u8, char c, std::uint16_t u16, std::uint32_t u32, std::uint32_t hex,
          std::string_view text)
{
    r.bytes[TestRecord::U8At] = u8;
    r.bytes[TestRecord::CharAt] = static_cast<std::uint8_t>(c);
    r.SetU16(u16);
    r.SetU32(TestRecord::U32At, u32);
    r.SetU32(TestRecord::HexAt, hex);
    RecString::Set(r.bytes, TestRecord::TextAt, text);
}

}  // namespace

TEST(RecordText, WritesEachTypeInItsForm)
{
    TestRecord r;
    Fill(r, 7, 'q', 300, 70000, 0xBEEF, "name");
    EXPECT_EQ("7\x01q\x01"
              "300\x01"
              "70000\x01"
              "0000BEEF\x01name\x01\x02",
              RecordToText(r.bytes, AllFields().data()));
}

TEST(RecordText, RoundTripsEveryTypeAtItsExtremesAndEmpty)
{
    struct Case {
        std::uint8_t u8;
        char c;
        std::uint16_t u16;
        std::uint32_t u32, hex;
        std::string_view text;
    } cases[] = {
        {0, '\0', 0, 0, 0, ""},
        {255, '\xFF', 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, "\xC0\xFF with spaces  "},
        {1, '\x03', 1, 1, 1, "\x03"},
        {128, ' ', 0x8000, 0x80000000, 0x80000000, std::string_view("x", 1)},
    };
    auto fields = AllFields();
    for (const Case &c : cases) {
        TestRecord in;
        Fill(in, c.u8, c.c, c.u16, c.u32, c.hex, c.text);
        AnsiString text = RecordToText(in.bytes, fields.data());
        EXPECT_EQ(std::string::npos, text.find('\0'));
        TestRecord out;
        Fill(out, 9, 'z', 9, 9, 9, "old");
        TextToRecord(out.bytes, fields.data(), text);
        EXPECT_EQ(c.u8, out.U8());
        EXPECT_EQ(c.c, out.Char());
        EXPECT_EQ(c.u16, out.U16());
        EXPECT_EQ(c.u32, out.U32(TestRecord::U32At));
        EXPECT_EQ(c.hex, out.U32(TestRecord::HexAt));
        EXPECT_EQ(c.text, RecString::View(out.bytes, TestRecord::TextAt));
        EXPECT_EQ(c.text.empty(), RecString::IsEmpty(out.bytes, TestRecord::TextAt));
    }
}

TEST(RecordText, EmptyFieldsReadAsEmptyValues)
{
    TestRecord r;
    Fill(r, 9, 'z', 9, 9, 9, "old");
    TextToRecord(r.bytes, AllFields().data(), "\x01\x01\x01\x01\x01\x01\x02");
    EXPECT_EQ(0, r.U8());
    EXPECT_EQ('\0', r.Char());
    EXPECT_EQ(0, r.U16());
    EXPECT_EQ(0u, r.U32(TestRecord::U32At));
    EXPECT_EQ(0u, r.U32(TestRecord::HexAt));
    EXPECT_TRUE(RecString::IsEmpty(r.bytes, TestRecord::TextAt));
}

TEST(RecordText, AListThatBeginsWithTheEndConvertsNothing)
{
    TestRecord r;
    std::uint8_t fields[FieldDescriptorSize] = {FieldType::End, 1, 0, 0, 0};
    EXPECT_EQ("\x02", RecordToText(r.bytes, fields));
    std::uint8_t before[sizeof r.bytes];
    std::memcpy(before, r.bytes, sizeof before);
    TextToRecord(r.bytes, fields, "12\x01\x02");
    EXPECT_EQ(0, std::memcmp(before, r.bytes, sizeof before));
}

TEST(RecordText, ATextCutShortLeavesTheRemainingFieldsEmpty)
{
    auto fields = AllFields();
    for (std::string_view text : {std::string_view("5\x01w\x01"
                                                   "12\x01"
                                                   "99"),
                                  std::string_view("5\x01w\x01"
                                                   "12\x01"
                                                   "99\x02"
                                                   "7\x01"),
                                  std::string_view("5\x01w\x01"
                                                   "12\x01"
                                                   "99\0"
                                                   "7\x01",
                                                   11)}) {
        TestRecord r;
        Fill(r, 1, 'a', 1, 1, 1, "old");
        TextToRecord(r.bytes, fields.data(), text);
        EXPECT_EQ(5, r.U8());
        EXPECT_EQ('w', r.Char());
        EXPECT_EQ(12, r.U16());
        EXPECT_EQ(99u, r.U32(TestRecord::U32At));
        EXPECT_EQ(0u, r.U32(TestRecord::HexAt));
        EXPECT_TRUE(RecString::IsEmpty(r.bytes, TestRecord::TextAt));
    }
    TestRecord r;
    Fill(r, 1, 'a', 1, 1, 1, "old");
    TextToRecord(r.bytes, fields.data(), "");
    EXPECT_EQ(0, r.U8());
    EXPECT_TRUE(RecString::IsEmpty(r.bytes, TestRecord::TextAt));
}

TEST(RecordText, UnknownTypesKeepTheirPlaceButTouchNoByte)
{
    std::vector<std::uint8_t> fields;
    AppendFieldDescriptor(fields, 9, TestRecord::U8At);
    AppendFieldDescriptor(fields, FieldType::U16, TestRecord::U16At);
    fields.push_back(FieldType::End);
    TestRecord r;
    TextToRecord(r.bytes, fields.data(),
                 "77\x01"
                 "42\x01\x02");
    EXPECT_EQ(0x5A, r.U8());
    EXPECT_EQ(42, r.U16());
    EXPECT_EQ("\x01"
              "42\x01\x02",
              RecordToText(r.bytes, fields.data()));
}

TEST(RecordText, ClearingThroughTheDescriptorsReleasesTheTexts)
{
    std::vector<std::uint8_t> fields = AllFields();
    fields.pop_back();
    AppendFieldDescriptor(fields, FieldType::Text, TestRecord::Text2At);
    fields.push_back(FieldType::End);
    TestRecord r;
    TextToRecord(r.bytes, fields.data(),
                 "1\x01x\x01"
                 "2\x01"
                 "3\x01"
                 "4\x01one\x01two\x01\x02");
    EXPECT_EQ("two", RecString::View(r.bytes, TestRecord::Text2At));
    ClearRecordFields(r.bytes, fields.data());
    EXPECT_TRUE(RecString::IsEmpty(r.bytes, TestRecord::TextAt));
    EXPECT_TRUE(RecString::IsEmpty(r.bytes, TestRecord::Text2At));
    EXPECT_EQ(0u, r.U32(TestRecord::U32At));
}

TEST(RecStringSlot, CopiesShareAndEveryHolderReleasesOnce)
{
    // Two records, slots at unaligned offsets; the sanitizers report a leak or a second release.
    std::uint8_t a[17], b[17];
    RecString::Init(a, 3);
    RecString::Init(b, 9);
    EXPECT_EQ("", RecString::View(a, 3));
    EXPECT_EQ(0, RecString::Holders(a, 3));

    RecString::Set(a, 3, "shared");
    RecString::Share(b, 9, a, 3);
    EXPECT_EQ(2, RecString::Holders(a, 3));
    EXPECT_EQ(RecString::View(a, 3).data(), RecString::View(b, 9).data());

    RecString::Set(a, 3, "own");  // overwriting one holder leaves the other's text
    EXPECT_EQ("shared", RecString::View(b, 9));
    EXPECT_EQ(1, RecString::Holders(b, 9));

    RecString::Share(b, 9, b, 9);  // onto itself
    EXPECT_EQ(1, RecString::Holders(b, 9));
    RecString::Set(b, 9, RecString::View(b, 9).substr(1));  // from its own text
    EXPECT_EQ("hared", RecString::Get(b, 9));

    RecString::Share(a, 3, b, 9);
    RecString::Clear(b, 9);
    EXPECT_EQ("hared", RecString::View(a, 3));
    RecString::Set(a, 3, "");
    EXPECT_TRUE(RecString::IsEmpty(a, 3));
    RecString::Clear(a, 3);  // clearing an empty slot is harmless
    RecString::Share(b, 9, a, 3);
    EXPECT_TRUE(RecString::IsEmpty(b, 9));
}
