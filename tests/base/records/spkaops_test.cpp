#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/memory/Bytes.h"
#include "base/numbers/PackedDate.h"
#include "base/records/RecString.h"
#include "base/records/SpkaOps.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t P = sizeof(void *);

template <typename F>
std::pair<std::uint32_t, AnsiString> Refusal(F &&f)
{
    try {
        f();
    } catch (const TZExcept &e) {
        return {e.Code(), e.Text()};
    }
    return {0, "(nothing thrown)"};
}

// One field of every type, most of them with two or three elements, one after the other.
struct AllTypes {
    Bytes descriptors;
    Bytes record;
    std::uint16_t text, chr, hex8, u8, hex16, i16, hex32, i32, f32, f64, date, time, pair;

    AllTypes()
    {
        std::uint16_t at = 0;
        auto add = [&](std::uint8_t type, std::uint16_t count, std::size_t width) {
            AppendSpkaDescriptor(descriptors, type, at, count);
            const std::uint16_t here = at;
            at = static_cast<std::uint16_t>(at + (count == 0 ? 1 : count) * width);
            return here;
        };
        text = add(SpkaType::Text, 2, P);
        chr = add(SpkaType::Char, 3, 1);
        hex8 = add(SpkaType::HexU8, 2, 1);
        u8 = add(SpkaType::U8, 0, 1);
        hex16 = add(SpkaType::HexU16, 1, 2);
        i16 = add(SpkaType::I16, 2, 2);
        hex32 = add(SpkaType::HexU32, 1, 4);
        i32 = add(SpkaType::I32, 2, 4);
        f32 = add(SpkaType::Float, 2, 4);
        f64 = add(SpkaType::Double, 2, 8);
        date = add(SpkaType::Date, 2, 2);
        time = add(SpkaType::Time, 1, 2);
        pair = add(SpkaType::IntPair, 2, 8);
        descriptors.push_back(SpkaDescriptorEnd);
        record.assign(at, 0);
    }
    ~AllTypes() { SPKA_Ops::ClearTextFields(descriptors, record.data()); }
    std::uint8_t *r() { return record.data(); }

    void Fill()
    {
        RecString::Set(r(), text, "Привет");
        RecString::Set(r(), text + P, "two words");
        std::memcpy(r() + chr, "a#Я", 3);
        r()[hex8] = 0x0F;
        r()[hex8 + 1] = 0xA0;
        r()[u8] = 255;
        StoreU16(r() + hex16, 0xBEEF);
        StoreU16(r() + i16, static_cast<std::uint16_t>(-32768));
        StoreU16(r() + i16 + 2, 7);
        StoreU32(r() + hex32, 0x0000ABCD);
        StoreU32(r() + i32, static_cast<std::uint32_t>(INT32_MIN));
        StoreU32(r() + i32 + 4, 2147483647);
        const float floats[2] = {-1.5f, 0.1f};
        std::memcpy(r() + f32, floats, sizeof floats);
        const double doubles[2] = {3.141592653589793, -1234567.000000001};
        std::memcpy(r() + f64, doubles, sizeof doubles);
        StoreU16(r() + date, PackDate(29, 2, 2024));
        StoreU16(r() + date + 2, PackDate(31, 12, 2127));
        SYSTEMTIME t{};
        t.wHour = 23;
        t.wMinute = 59;
        t.wSecond = 58;
        StoreU16(r() + time, PackTime(t));
        StoreU32(r() + pair, static_cast<std::uint32_t>(-5));
        StoreU32(r() + pair + 4, 12);
        StoreU32(r() + pair + 8, 0);
        StoreU32(r() + pair + 12, 4000000000u);
    }
};

}  // namespace

TEST(SpkaOps, EveryTypeFormatsAndReadsBack)
{
    AllTypes a;
    a.Fill();
    AnsiString line;
    const std::size_t length = SPKA_Ops::FormatRecord(a.descriptors, line, a.r(), '\n', ';');
    const AnsiString expected = "Привет;two words;a;#;Я;0F;A0;255;BEEF;-32768;7;0000ABCD;-2147483648;2147483647;"
                                "-1,5;0,100000002;3,141592654;-1234567,000000001;29.02.2024;31.12.2127;23:59:58;"
                                "-5.12;0.-294967296\n";
    EXPECT_EQ(expected, line);
    EXPECT_EQ(expected.size(), length);

    AllTypes b;
    EXPECT_EQ(line.size(), SPKA_Ops::ParseRecord(b.descriptors, b.r(), line.c_str(), '\n', ';') + 1);
    AnsiString again;
    SPKA_Ops::FormatRecord(b.descriptors, again, b.r(), '\n', ';');
    EXPECT_EQ(line, again);
    EXPECT_EQ("Привет", RecString::View(b.r(), b.text));
    EXPECT_EQ(0, std::memcmp(b.r() + b.chr, "a#Я", 3));
    EXPECT_EQ(0xBEEF, LoadU16(b.r() + b.hex16));
    EXPECT_EQ(INT32_MIN, static_cast<std::int32_t>(LoadU32(b.r() + b.i32)));
    float f[2];
    std::memcpy(f, b.r() + b.f32, sizeof f);
    EXPECT_EQ(-1.5f, f[0]);
    EXPECT_EQ(0.1f, f[1]);
    double d[2];
    std::memcpy(d, b.r() + b.f64, sizeof d);
    EXPECT_NEAR(3.141592654, d[0], 1e-12);  // to the nine decimals written
    EXPECT_EQ(PackDate(31, 12, 2127), LoadU16(b.r() + b.date + 2));
    EXPECT_EQ(static_cast<std::uint32_t>(-5), LoadU32(b.r() + b.pair));
    EXPECT_EQ(4000000000u, LoadU32(b.r() + b.pair + 12));
}

TEST(SpkaOps, WholeDoublesNearTwoTo63AtNineDecimalsAndBlankDates)
{
    Bytes descriptors;
    AppendSpkaDescriptor(descriptors, SpkaType::Double, 0, 2);
    AppendSpkaDescriptor(descriptors, SpkaType::Date, 16, 1);
    descriptors.push_back(SpkaDescriptorEnd);
    Bytes record(18, 0);
    // Scaled by 10^9 these lie between 2^63 and 2^64: no spurious last fraction digit.
    const double doubles[2] = {9300000000.0, -9990000000.5};
    std::memcpy(record.data(), doubles, sizeof doubles);
    StoreU16(record.data() + 16, PackDate(17, 10, 2090));
    AnsiString line;
    SPKA_Ops::FormatRecord(descriptors, line, record.data(), '!', '|');
    EXPECT_EQ("9300000000|-9990000000,5|17.10.2090!", line);

    // A date field written with a leading blank reads as the date.
    Bytes back(18, 0xEE);
    SPKA_Ops::ParseRecord(descriptors, back.data(), "1|2| 17.10.90!", '!', '|');
    EXPECT_EQ(PackDate(17, 10, 1990), LoadU16(back.data() + 16));
}

TEST(SpkaOps, ExtremeFloatingValuesFormatWholeAndReadBack)
{
    Bytes descriptors;
    AppendSpkaDescriptor(descriptors, SpkaType::Double, 0, 6);
    AppendSpkaDescriptor(descriptors, SpkaType::Float, 48, 3);
    descriptors.push_back(SpkaDescriptorEnd);
    Bytes record(60, 0);
    const double doubles[6] = {DBL_MAX,
                               -DBL_MAX,
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(),
                               -1e-12};
    std::memcpy(record.data(), doubles, sizeof doubles);
    const float floats[3] = {FLT_MAX, -FLT_MAX, std::numeric_limits<float>::infinity()};
    std::memcpy(record.data() + 48, floats, sizeof floats);
    AnsiString line;
    SPKA_Ops::FormatRecord(descriptors, line, record.data(), '!', '|');
    EXPECT_EQ("17976931348623157", line.substr(0, 17));
    EXPECT_EQ(309u, line.find('|'));  // every digit of the integer part
    EXPECT_NE(AnsiString::npos, line.find("|INFINITY|-INFINITY|NAN|0|"));

    Bytes back(60, 0xEE);
    SPKA_Ops::ParseRecord(descriptors, back.data(), line.c_str(), '!', '|');
    double d[6];
    std::memcpy(d, back.data(), sizeof d);
    EXPECT_EQ(DBL_MAX, d[0]);
    EXPECT_EQ(-DBL_MAX, d[1]);
    EXPECT_EQ(std::numeric_limits<double>::infinity(), d[2]);
    EXPECT_EQ(-std::numeric_limits<double>::infinity(), d[3]);
    EXPECT_TRUE(std::isnan(d[4]));
    EXPECT_EQ(0.0, d[5]);
    float f[3];
    std::memcpy(f, back.data() + 48, sizeof f);
    EXPECT_EQ(FLT_MAX, f[0]);
    EXPECT_EQ(-FLT_MAX, f[1]);
    EXPECT_EQ(std::numeric_limits<float>::infinity(), f[2]);

    // A value beyond the float's range reads as its infinity.
    float big = 0;
    SPKA_Ops::AnsiToPole(SpkaType::Float, "1e39", 4, &big);
    EXPECT_EQ(std::numeric_limits<float>::infinity(), big);
}

TEST(SpkaOps, EmptyFieldsAndWhereReadingStops)
{
    AllTypes a;
    a.Fill();
    // Every field empty: texts "", characters blanks, everything else 0.
    const std::string empties(2 + 3 + 2 + 1 + 1 + 2 + 1 + 2 + 2 + 2 + 2 + 1 + 2, ';');
    EXPECT_EQ(empties.size(), SPKA_Ops::ParseRecord(a.descriptors, a.r(), empties.c_str(), '\n', ';'));
    EXPECT_TRUE(RecString::IsEmpty(a.r(), a.text));
    EXPECT_TRUE(RecString::IsEmpty(a.r(), a.text + P));
    EXPECT_EQ(0, std::memcmp(a.r() + a.chr, "   ", 3));
    for (std::size_t i = a.hex8; i < a.record.size(); ++i)
        EXPECT_EQ(0, a.record[i]) << i;

    // A field that begins with the end character is emptied and ends the reading.
    AllTypes b;
    b.Fill();
    EXPECT_EQ(9u, SPKA_Ops::ParseRecord(b.descriptors, b.r(), "one;two;\nx;y;z;", '\n', ';'));
    EXPECT_EQ("one", RecString::View(b.r(), b.text));
    EXPECT_EQ(' ', b.r()[b.chr]);
    EXPECT_EQ(0, std::memcmp(b.r() + b.chr + 1, "#Я", 2));

    // A text that ends early (by its length or its NUL) leaves the remaining fields untouched.
    AllTypes c;
    c.Fill();
    EXPECT_EQ(7u, SPKA_Ops::ParseRecord(c.descriptors, c.r(), "x;y;z;w;v;", '\n', ';', 7));
    EXPECT_EQ("x", RecString::View(c.r(), c.text));
    EXPECT_EQ(0, std::memcmp(c.r() + c.chr, "zwЯ", 3));
    EXPECT_EQ(0x0F, c.r()[c.hex8]);
    EXPECT_EQ(3u, SPKA_Ops::ParseRecord(c.descriptors, c.r(), "p;q", '\n', ';'));
    EXPECT_EQ("q", RecString::View(c.r(), c.text + P));
    EXPECT_EQ('z', c.r()[c.chr]);
    // A field text is read no further than the line's length, and a field holding a NUL keeps it.
    EXPECT_EQ(5u, SPKA_Ops::ParseRecord(c.descriptors, c.r(), "ab\0cd;ef", '\n', ';', 5));
    EXPECT_EQ(std::string("ab\0cd", 5), RecString::View(c.r(), c.text));
}

TEST(SpkaOps, ReadingIsLenient)
{
    std::uint8_t b = 0;
    SPKA_Ops::AnsiToPole(SpkaType::HexU8, "ff", 2, &b);
    EXPECT_EQ(0xFF, b);
    SPKA_Ops::AnsiToPole(SpkaType::U8, "300", 3, &b);
    EXPECT_EQ(300 & 0xFF, b);
    std::uint32_t w = 0;
    SPKA_Ops::AnsiToPole(SpkaType::HexU32, "12345678", 4, &w);  // no further than its length
    EXPECT_EQ(0x1234u, w);
    SPKA_Ops::AnsiToPole(SpkaType::I32, "42abc", 5, &w);
    EXPECT_EQ(42u, w);
    std::uint16_t date = 1;
    SPKA_Ops::AnsiToPole(SpkaType::Date, "today", 5, &date);
    EXPECT_EQ(0, date);
    std::uint16_t time = 1;
    SPKA_Ops::AnsiToPole(SpkaType::Time, "25:00:00", 8, &time);
    EXPECT_EQ(0, time);
    std::uint32_t pair[2] = {9, 9};
    SPKA_Ops::AnsiToPole(SpkaType::IntPair, "17", 2, pair);
    EXPECT_EQ(17u, pair[0]);
    EXPECT_EQ(0u, pair[1]);
    char c = 'x';
    SPKA_Ops::AnsiToPole(SpkaType::Char, "", 0, &c);
    EXPECT_EQ(' ', c);
}

TEST(SpkaOps, RefusedTypesChangeNothing)
{
    Bytes record(16, 0x5A);
    for (std::uint8_t type : {0, 13, 15, 16, 70}) {
        Bytes d;
        AppendSpkaDescriptor(d, SpkaType::I32, 0, 1);
        AppendSpkaDescriptor(d, type, 4, 1);
        d.push_back(SpkaDescriptorEnd);
        const auto parse = Refusal([&] { SPKA_Ops::ParseRecord(d, record.data(), "1;2\n", '\n', ';'); });
        EXPECT_EQ(UnknownPoleCode, parse.first) << int(type);
        EXPECT_EQ("SPKA_Ops::AnsiToPole- unknown type pole", parse.second);
        AnsiString line = "kept";
        const auto format = Refusal([&] { SPKA_Ops::FormatRecord(d, line, record.data(), '\n', ';'); });
        EXPECT_EQ(UnknownPoleCode, format.first);
        EXPECT_EQ("SPKA_Ops::PoleToAnsi - unknown type pole", format.second);
        EXPECT_EQ("kept", line);
        EXPECT_EQ("SPKA_Ops::AnsiToPole- unknown type pole",
                  Refusal([&] { SPKA_Ops::AnsiToPole(type, "1", 1, record.data()); }).second);
        EXPECT_EQ("SPKA_Ops::PoleToAnsi - unknown type pole",
                  Refusal([&] { SPKA_Ops::PoleToAnsi(type, record.data(), line); }).second);
    }
    Bytes open;
    AppendSpkaDescriptor(open, SpkaType::I32, 0, 1);
    EXPECT_EQ(DamagedRecordCode, Refusal([&] { SPKA_Ops::ParseRecord(open, record.data(), "1\n", '\n', ';'); }).first);
    open.push_back(SpkaType::I32);  // a descriptor cut short
    EXPECT_EQ(DamagedRecordCode, Refusal([&] { SPKA_Ops::HasTextFields(open); }).first);
    EXPECT_EQ(Bytes(16, 0x5A), record);
}

TEST(SpkaOps, TextFieldsFoundAndCleared)
{
    Bytes numbers;
    AppendSpkaDescriptor(numbers, SpkaType::I32, 0, 1);
    numbers.push_back(SpkaDescriptorEnd);
    AppendSpkaDescriptor(numbers, SpkaType::Text, 4, 1);  // after the end: not looked at
    EXPECT_FALSE(SPKA_Ops::HasTextFields(numbers));

    Bytes texts;
    AppendSpkaDescriptor(texts, SpkaType::I32, 0, 1);
    AppendSpkaDescriptor(texts, SpkaType::Text, 4, 3);
    AppendSpkaDescriptor(texts, 13, 0, 1);  // no conversion, but no text either
    texts.push_back(SpkaDescriptorEnd);
    EXPECT_TRUE(SPKA_Ops::HasTextFields(texts));
    Bytes record(4 + 3 * P, 0);
    StoreU32(record.data(), 77);
    for (std::size_t i = 0; i < 3; ++i)
        RecString::Set(record.data(), 4 + i * P, "t" + std::to_string(i));
    SPKA_Ops::ClearTextFields(texts, record.data());
    EXPECT_EQ(Bytes(3 * P, 0), Bytes(record.begin() + 4, record.end()));
    EXPECT_EQ(77u, LoadU32(record.data()));
}
