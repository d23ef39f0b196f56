#include <gtest/gtest.h>

#include <cstring>

#include "base/memory/ADObj.h"
#include "base/text/BilingualTable.h"
#include "base/text/SLang.h"

namespace {

const BilingualRow table[] = {{50, "Файл не знайдено", "Файл не найден"}, {51, "укр", "рус"}, {0, nullptr, nullptr}};

}  // namespace

TEST(BilingualTable, LookupHitsTheTerminator)
{
    EXPECT_STREQ("Файл не знайдено", FindBilingualText(table, 50, 0, 0));
    EXPECT_STREQ("рус", FindBilingualText(table, 51, 0, 1));
    EXPECT_EQ(reinterpret_cast<const char *>(&table[1]), FindBilingualText(table, 51, 0, 2)) << "the row itself";
    EXPECT_EQ(nullptr, FindBilingualText(table, 52, 0, 2));
    EXPECT_EQ(&table[1], FindBilingualRow(table, 51, 0));
    EXPECT_EQ(nullptr, FindBilingualText(table, 52, 0, 1));
    EXPECT_EQ(nullptr, FindBilingualRow(table, 0, 0));
    // A terminator chosen inside the table ends the search there.
    EXPECT_EQ(nullptr, FindBilingualRow(table, 51, 51));
}

TEST(ADObj, GrowKeepsBytesZeroesTheTailAndNeverShrinks)
{
    TADObj a(4, 0);
    EXPECT_EQ(nullptr, a.Item(0));
    a.Grow(2);
    EXPECT_EQ(8u, a.Capacity());
    std::memcpy(a.Item(1), "abcd", 4);
    a.Grow(4);
    EXPECT_EQ(0, std::memcmp(a.Item(1), "abcd", 4));
    EXPECT_EQ(0, std::memcmp(a.Item(3), "\0\0\0\0", 4));
    std::uint8_t *block = a.Data();
    a.Grow(1);
    EXPECT_EQ(1u, a.Count());
    EXPECT_EQ(16u, a.Capacity());
    EXPECT_EQ(block, a.Data());
    // Items are reachable up to the capacity, not past it.
    EXPECT_NE(nullptr, a.Item(3));
    EXPECT_EQ(nullptr, a.Item(4));
    EXPECT_EQ(nullptr, a.Item(-1));
    EXPECT_EQ(nullptr, a.Item(INT64_MAX));
}

TEST(ADObj, MinimumCountReservesAtTheFirstGrowth)
{
    TADObj a(2, 10);
    a.Grow(1);
    EXPECT_EQ(1u, a.Count());
    EXPECT_EQ(20u, a.Capacity());
}

TEST(ADObj, ClearRangeStaysInsideTheBlock)
{
    TADObj empty(1, 0);
    empty.ClearRange(0, 5);  // no data: nothing happens

    TADObj a(1, 0);
    a.Assign("abcdef", 6);
    a.ClearRange(1, 3);
    EXPECT_EQ(0, std::memcmp(a.Data(), "a\0\0def", 6));
    a.ClearRange(4, 2);
    EXPECT_EQ(0, std::memcmp(a.Data(), "a\0\0def", 6));
    a.ClearRange(-1, 1);
    EXPECT_EQ(0, a.Data()[0]);
    a.Assign("abcdef", 6);
    a.ClearRange(5, -1);
    EXPECT_EQ(0, std::memcmp(a.Data(), "abcde\0", 6));
    // An end beyond the block is cut at the block (the sanitizers watch the rest).
    a.ClearRange(4, 1000);
    EXPECT_EQ(0, std::memcmp(a.Data(), "abcd\0\0", 6));
}

TEST(SLang, HoldsATextAndLocatesParts)
{
    TSLang s;
    EXPECT_EQ("", s.GetWhole());
    EXPECT_EQ(nullptr, s.LocatePart(1));
    EXPECT_EQ("", s.GetText(0));

    s.Set("\x05Укр\x04Рус");
    EXPECT_EQ(8u, s.Count());
    EXPECT_EQ("Рус", s.GetText(1));
    EXPECT_EQ(3u, s.LocatedLength());
    // The Ukrainian part stops at the Russian marker.
    EXPECT_EQ("Укр", s.GetText(0));
    EXPECT_EQ("\x05Укр\x04Рус", s.GetText(2));

    s.Set(AnsiString("ab"));
    EXPECT_EQ(0u, s.LocatedLength());
    EXPECT_EQ("ab", s.GetWhole());
    EXPECT_EQ("ab", s.GetText(0));
    s.SetCount(1);
    EXPECT_EQ("a", s.GetWhole());
    s.Set(static_cast<const char *>(nullptr));
    EXPECT_EQ("", s.GetWhole());
}
