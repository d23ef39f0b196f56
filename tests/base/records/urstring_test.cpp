// The two-language string: its block, its parts, the marked text and the packed form.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/records/URString.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Packed(const URString &value)
{
    Bytes out(value.PackedSize(), 0xCC);
    EXPECT_EQ(out.size(), value.ToPacked(out.data()));
    return out;
}

Bytes PackedOf(const std::string &russian, const std::string &ukrainian)
{
    Bytes out{static_cast<std::uint8_t>(russian.size()), static_cast<std::uint8_t>(russian.size() >> 8),
              static_cast<std::uint8_t>(ukrainian.size()), static_cast<std::uint8_t>(ukrainian.size() >> 8)};
    out.insert(out.end(), russian.begin(), russian.end());
    out.insert(out.end(), ukrainian.begin(), ukrainian.end());
    return out;
}

URString Value(const std::string &russian, const std::string &ukrainian)
{
    URString v;
    v.SetRussian(russian);
    v.SetUkrainian(ukrainian);
    return v;
}

// Runs `step` and expects it to refuse damaged or oversize data.
template <class Step>
void ExpectRefused(Step step)
{
    try {
        step();
        ADD_FAILURE() << "not refused";
    } catch (const TZExcept &e) {
        EXPECT_EQ(0xE4000009u, e.Code());
        EXPECT_NE("", e.Message());
    }
}

}  // namespace

TEST(URString, BlockCapacityGrowsInStepsOf32)
{
    EXPECT_EQ(32u, URString::CapacityFor(25));
    EXPECT_EQ(64u, URString::CapacityFor(26));
    EXPECT_EQ(32u, URString::CapacityFor(0));
    URString v;
    EXPECT_EQ(0u, v.Capacity());
    v.SetRussian(std::string(25, 'r'));
    EXPECT_EQ(32u, v.Capacity());
    v.SetUkrainian("u");
    EXPECT_EQ(64u, v.Capacity());
    // Shrinking keeps the block.
    v.SetRussian("r");
    EXPECT_EQ(64u, v.Capacity());
}

TEST(URString, ChangingTheRussianTextKeepsTheUkrainianBytes)
{
    const std::string ukr = "Український текст";
    URString v = Value("Рус", ukr);
    // Grows within the block, beyond it, then shrinks: the Ukrainian text follows the Russian one.
    for (const std::string &rus : {std::string("Русский"), std::string(40, 'Ж'), std::string("Р"), std::string()}) {
        v.SetRussian(rus);
        EXPECT_EQ(rus, v.GetRussian());
        EXPECT_EQ(ukr, v.GetUkrainian());
        EXPECT_EQ(rus.size() + ukr.size(), v.PartLength(2));
    }
    EXPECT_TRUE(v.IsEmptyPart(1));
    EXPECT_FALSE(v.IsEmptyPart(0));
    EXPECT_FALSE(v.IsEmptyPart(2));
    EXPECT_EQ("", v.GetPart(2));
    EXPECT_EQ("\x04\x05" + ukr, v.ToMarkedText());
    EXPECT_EQ(URString::EmptyText, v.RussianText().data());
}

TEST(URString, MarkedTextBothMarkerSets)
{
    URString v;
    v.SetRussian("Только русский");
    EXPECT_EQ("\x04Только русский\x05", v.ToMarkedText());
    EXPECT_EQ("^Только русский&", v.ToMarkedText(true));

    URString w;
    w.FromMarkedText("&Укр^Рус", true);
    EXPECT_EQ("Рус", w.GetRussian());
    EXPECT_EQ("Укр", w.GetUkrainian());
    w.FromMarkedText(AnsiString("\x05Укр2\x04Рус2"));
    EXPECT_EQ("Рус2", w.GetRussian());
    EXPECT_EQ("Укр2", w.GetUkrainian());
    // A text without markers serves both languages.
    w.SetPart(2, "Общий", false);
    EXPECT_EQ("Общий", w.GetRussian());
    EXPECT_EQ("Общий", w.GetUkrainian());
    // Selector 2 without a text empties both parts.
    w.SetPart(2, nullptr, 0, false);
    EXPECT_TRUE(w.IsEmptyPart(2));
    EXPECT_EQ("", w.ToMarkedText());
    // A counted text stops at its length; other selectors change nothing.
    w.SetPart(1, "Рус-хвост", 3, false);
    EXPECT_EQ("Рус", w.GetRussian());
    w.SetPart(3, "x", false);
    EXPECT_EQ("Рус", w.ToMarkedText().substr(1, 3));
}

TEST(URString, EmptyValuePacksToFourZeroBytes)
{
    URString empty;
    EXPECT_EQ((Bytes{0, 0, 0, 0}), Packed(empty));
    EXPECT_EQ(4u, empty.ToPacked(nullptr));

    URString v = Value("Р", "У");
    Bytes zero{0, 0, 0, 0};
    EXPECT_EQ(4u, v.FromPacked(zero.data(), zero.data() + zero.size()));
    EXPECT_TRUE(v.IsEmptyPart(2));
    EXPECT_EQ(0u, v.Capacity());
    EXPECT_TRUE(v.Equals(empty));
    // Without a packed form the value becomes empty too.
    v = Value("Р", "У");
    EXPECT_EQ(4u, v.FromPacked(nullptr, nullptr));
    EXPECT_TRUE(v.Equals(empty));
    EXPECT_EQ("", URString::PackedToMarkedText(zero.data(), zero.data() + 4));
}

TEST(URString, PackedRoundTrips)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    const std::pair<std::string, std::string> cases[] = {
        {"Русский", "Український"}, {"Русский", ""}, {"", "Українська"}, {all, "ї"}, {std::string(65535, 'R'), "Ю"},
    };
    for (const auto &[rus, ukr] : cases) {
        URString v = Value(rus, ukr);
        Bytes packed = Packed(v);
        EXPECT_EQ(PackedOf(rus, ukr), packed);

        // Read back from a buffer with more data after it.
        Bytes buffer = packed;
        buffer.push_back(0x77);
        URString back;
        EXPECT_EQ(packed.size(), back.FromPacked(buffer.data(), buffer.data() + buffer.size()));
        EXPECT_TRUE(back.Equals(v));
        EXPECT_EQ(rus, back.GetRussian());
        EXPECT_EQ(ukr, back.GetUkrainian());
        URString assigned = Value("старое", "старе");
        EXPECT_TRUE(assigned.AssignPacked(packed.data(), packed.data() + packed.size()).Equals(v));

        if (rus.find_first_of("\x04\x05") == std::string::npos) {
            AnsiString marked = URString::PackedToMarkedText(packed.data(), packed.data() + packed.size());
            EXPECT_EQ(v.ToMarkedText(), marked);
            Bytes again(4 + marked.size());
            EXPECT_EQ(packed.size(), URString::MarkedTextToPacked(again.data(), marked));
            again.resize(packed.size());
            EXPECT_EQ(packed, again);
        }
    }
}

TEST(URString, TruncatedPackedFormRefusedAndValueKept)
{
    Bytes packed = PackedOf("Рус", "Укр");
    URString v = Value("было", "було");
    for (std::size_t size = 0; size < packed.size(); ++size) {
        ExpectRefused([&] { v.FromPacked(packed.data(), packed.data() + size); });
        ExpectRefused([&] { v.AssignPacked(packed.data(), packed.data() + size); });
        ExpectRefused([&] { URString::PackedToMarkedText(packed.data(), packed.data() + size); });
    }
    EXPECT_EQ("было", v.GetRussian());
    EXPECT_EQ("було", v.GetUkrainian());
    // Lengths far beyond the data.
    Bytes lying{0xFF, 0xFF, 0xFF, 0xFF, 'a'};
    ExpectRefused([&] { v.FromPacked(lying.data(), lying.data() + lying.size()); });
    EXPECT_EQ("было", v.GetRussian());
}

TEST(URString, PartLongerThanAPackedLengthRefused)
{
    const std::string tooLong(65536, 'x');
    URString v = Value("Р", "У");
    ExpectRefused([&] { v.SetRussian(tooLong); });
    ExpectRefused([&] { v.SetUkrainian(tooLong); });
    ExpectRefused([&] { v.FromMarkedText("\x04" + tooLong + "\x05У"); });
    ExpectRefused([&] { v.SetPart(2, tooLong); });  // no markers: both parts
    EXPECT_EQ("\x04Р\x05У", v.ToMarkedText());
    Bytes out(4 + tooLong.size() + 2);
    ExpectRefused([&] { URString::MarkedTextToPacked(out.data(), "\x05" + tooLong); });
    // The longest part that fits and both parts at their longest.
    const std::string longest(65535, 'y');
    v.SetRussian(longest);
    v.SetUkrainian(longest);
    EXPECT_EQ(2u * 65535, v.PartLength(2));
    EXPECT_EQ(URString::CapacityFor(2 * 65535), v.Capacity());
}

TEST(URString, TextFromTheValuesOwnBlock)
{
    // A new block: the Ukrainian text is taken from the Russian one, which lies in the old block.
    URString v = Value(std::string(20, 'R') + "Рус", "");
    std::string rus = v.GetRussian();
    v.SetPart(0, v.RussianText().data(), v.RussianText().size(), false);
    EXPECT_EQ(rus, v.GetUkrainian());
    EXPECT_EQ(rus, v.GetRussian());

    // A kept block: the Russian text grows into the Ukrainian one it is taken from.
    URString w = Value("ab", "Український");
    ASSERT_GT(w.Capacity(), 6 + 2 * w.UkrainianText().size());
    std::size_t capacity = w.Capacity();
    w.SetPart(1, w.UkrainianText().data(), w.UkrainianText().size(), false);
    EXPECT_EQ(capacity, w.Capacity());
    EXPECT_EQ("Український", w.GetRussian());
    EXPECT_EQ("Український", w.GetUkrainian());
    // And shrinks to a piece of the Ukrainian text.
    w.SetPart(1, w.UkrainianText().data() + 2, 3, false);
    EXPECT_EQ(std::string("Український").substr(2, 3), w.GetRussian());
    EXPECT_EQ("Український", w.GetUkrainian());

    // A packed form lying in the block (as raw bytes of the Russian text).
    URString p;
    std::string packed(reinterpret_cast<const char *>(PackedOf("Р", "У").data()), 6);
    p.SetRussian(packed);
    auto *at = reinterpret_cast<const std::uint8_t *>(p.RussianText().data());
    EXPECT_EQ(6u, p.FromPacked(at, at + 6));
    EXPECT_EQ("\x04Р\x05У", p.ToMarkedText());
}

TEST(URString, CopyMoveClearAndCompare)
{
    URString a = Value("Рус", "Укр");
    URString b(a);
    EXPECT_TRUE(b.Equals(a));
    b.SetUkrainian("Інше");
    EXPECT_FALSE(b.Equals(a));
    EXPECT_EQ("Укр", a.GetUkrainian());
    URString &self = a;
    a = self;
    EXPECT_EQ("\x04Рус\x05Укр", a.ToMarkedText());
    URString c(std::move(b));
    EXPECT_EQ("Інше", c.GetUkrainian());
    b = c;
    EXPECT_TRUE(b.Equals(c));

    // The same bytes split differently are different values.
    EXPECT_FALSE(Value("ab", "c").Equals(Value("a", "bc")));
    // An emptied value equals one that never had a block.
    URString emptied = Value("x", "");
    emptied.SetRussian("");
    EXPECT_NE(0u, emptied.Capacity());
    EXPECT_TRUE(emptied.Equals(URString()));

    c.ClearPart(1, false);
    EXPECT_EQ("Рус", c.GetRussian());
    c.ClearPart(1);
    EXPECT_TRUE(c.IsEmptyPart(1));
    EXPECT_EQ("Інше", c.GetUkrainian());
    c.ClearPart(0);
    EXPECT_TRUE(c.IsEmptyPart(2));
    EXPECT_NE(0u, c.Capacity());
    c.ClearPart(2);
    EXPECT_EQ(0u, c.Capacity());
    EXPECT_EQ(0u, c.PartLength(7));
}
