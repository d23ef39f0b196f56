#include <gtest/gtest.h>

#include "base/text/ConstLookup.h"

namespace {

constexpr std::uint32_t End = 0xFFFF;
const int one = 1, two = 2, fallback = -1;
const KeyPtrRow ptrs[] = {{10, &one}, {20, &two}, {End, &fallback}};
const KeyNameRow names[] = {{1, "Alpha"}, {2, "Beta"}, {3, "Al"}, {End, "none"}};
const KeyValueRow values[] = {{1, 100}, {2, 200}, {End, 0}};
const KeyText2Row texts[] = {{5, "Файл", "Файл укр"}, {End, "x", "y"}};
const KeyU32x2Row triples[] = {{1, 11, 111}, {2, 22, 222}, {End, 0, 999}};
const KeyCountedTextRow counted[] = {{1, 3, "abcdef"}, {2, 0, "xyz"}, {End, 0, "end"}};
const KeyFloatRow floats[] = {{1, 0.5}, {2, 1.25}, {End, -1.0}};

}  // namespace

TEST(ConstLookup, PointerRowsStopAtTheSentinel)
{
    EXPECT_EQ(&two, LookupPtr(20, ptrs, End));
    EXPECT_EQ(nullptr, LookupPtr(30, ptrs, End));
    EXPECT_EQ(&fallback, LookupSecondOrSentinel(30, ptrs, End));
    EXPECT_EQ(&one, LookupSecondOrSentinel(10, ptrs, End));
    EXPECT_EQ(1, LookupRowIndex2(20, ptrs, End));
    EXPECT_EQ(-1, LookupRowIndex2(30, ptrs, End));
    EXPECT_EQ(1, CountRowsTo(20, ptrs, End));
    EXPECT_EQ(2, CountRowsTo(30, ptrs, End));
}

TEST(ConstLookup, NameRows)
{
    EXPECT_EQ(3u, LookupKeyByName("Al", 0, names, End));
    EXPECT_EQ(1u, LookupKeyByName("Alpha", 0, names, End));
    EXPECT_EQ(3u, LookupKeyByName("Alpha", 2, names, End));
    EXPECT_EQ(End, LookupKeyByName("Alp", 0, names, End));
    EXPECT_EQ(End, LookupKeyByName("", 0, names, End));
    EXPECT_EQ(End, LookupKeyByName(nullptr, 0, names, End));
    EXPECT_EQ(End, LookupKeyByName("none", 0, names, End));
    EXPECT_EQ(2u, LookupKeyByName(std::string_view("Beta"), names, End));
    EXPECT_EQ(End, LookupKeyByName(std::string_view(), names, End));
    EXPECT_EQ(2u, LookupKeyByFirstChar('B', names, End));
    EXPECT_EQ(End, LookupKeyByFirstChar('n', names, End));
    EXPECT_EQ("Beta", LookupNameStr(2, names, End));
    EXPECT_EQ("", LookupNameStr(9, names, End));
}

TEST(ConstLookup, ValueTextAndNumberRows)
{
    EXPECT_EQ(2u, LookupKeyByValue(200, values, End));
    EXPECT_EQ(End, LookupKeyByValue(300, values, End));

    EXPECT_STREQ("Файл", LookupText2(5, texts, End));
    EXPECT_STREQ("Файл укр", LookupText2(5, texts, End, 0));
    EXPECT_EQ(nullptr, LookupText2(6, texts, End));
    EXPECT_EQ("Файл", LookupText2Str(5, texts, End, 1));
    EXPECT_EQ("", LookupText2Str(6, texts, End));

    EXPECT_EQ(1, LookupRowIndex3(2, triples, End));
    EXPECT_EQ(-1, LookupRowIndex3(3, triples, End));
    EXPECT_EQ(222u, LookupThird(2, triples, End));
    EXPECT_EQ(0u, LookupThird(3, triples, End));

    EXPECT_EQ(1u, LookupKeyByText3("abc", 0, counted, End));
    EXPECT_EQ(End, LookupKeyByText3("abcd", 0, counted, End));
    EXPECT_EQ(2u, LookupKeyByText3("xyz", 3, counted, End));

    EXPECT_DOUBLE_EQ(1.25, LookupFloat(2, floats, End));
    EXPECT_DOUBLE_EQ(-1.0, LookupFloat(7, floats, End));
    EXPECT_EQ(2u, LookupKeyByFloat(1.25, floats, -1.0));
    EXPECT_EQ(End, LookupKeyByFloat(3.0, floats, -1.0));
}
