// The data-entry supervisor's packed descriptor table, the decimals of a text, and the state word's
// flags and messages.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "controls/supervisor/SpyEdit.h"

TEST(SpyEditTables, DescriptorRowsArePacked14BytesAndFoundById)
{
    std::vector<uint8_t> table = PackDescriptorTable({
        {11, SpyFieldInteger, 0, 0xAA, SpyFieldSigned},
        {12, SpyFieldShortDecimal, 2, 0, 0},
        {13, SpyFieldLongDecimal, static_cast<uint32_t>(-3), 0, SpyFieldDecimalsFollowText},
    });
    ASSERT_EQ(4u * SpyDescriptorRowSize, table.size());
    // The second row starts 14 bytes in, with no padding: its id, type and value word in order.
    uint32_t word;
    std::memcpy(&word, table.data() + 14, 4);
    EXPECT_EQ(12u, word);
    std::memcpy(&word, table.data() + 18, 4);
    EXPECT_EQ(SpyFieldShortDecimal, word);
    EXPECT_EQ(0xAA, table[12]);
    EXPECT_EQ(SpyFieldSigned, table[13]);

    uint8_t *row = FindDescriptorRow(table.data(), 13);
    ASSERT_EQ(table.data() + 28, row);
    SpyFieldDescriptor d = ReadDescriptorRow(row);
    EXPECT_EQ(SpyFieldLongDecimal, d.type);
    EXPECT_EQ(-3, static_cast<int32_t>(d.value));
    EXPECT_EQ(SpyFieldDecimalsFollowText, d.flags);

    EXPECT_EQ(2u, GetDescriptorValue(table.data(), 12));
    EXPECT_TRUE(SetDescriptorValue(table.data(), 12, 4));
    EXPECT_EQ(4u, GetDescriptorValue(table.data(), 12));
    // Only the value word changed; the neighbours' bytes are as they were.
    EXPECT_EQ(SpyFieldShortDecimal, ReadDescriptorRow(table.data() + 14).type);
    EXPECT_EQ(SpyFieldSigned, table[13]);
    EXPECT_EQ(13u, ReadDescriptorRow(table.data() + 28).id);
}

TEST(SpyEditTables, MissingTableOrIdFindsNothingAndWritesNothing)
{
    std::vector<uint8_t> table = PackDescriptorTable({{5, 0, 7, 0, 0}});
    const std::vector<uint8_t> before = table;
    EXPECT_EQ(nullptr, FindDescriptorRow(nullptr, 5));
    EXPECT_EQ(nullptr, FindDescriptorRow(table.data(), 6));
    // Id 0 is the end row, never a field.
    EXPECT_EQ(nullptr, FindDescriptorRow(table.data(), 0));
    EXPECT_EQ(0u, GetDescriptorValue(nullptr, 5));
    EXPECT_EQ(0u, GetDescriptorValue(table.data(), 6));
    EXPECT_FALSE(SetDescriptorValue(table.data(), 6, 1));
    EXPECT_FALSE(SetDescriptorValue(table.data(), 0, 1));
    EXPECT_FALSE(SetDescriptorValue(nullptr, 5, 1));
    EXPECT_EQ(before, table);
}

TEST(SpyEditTables, DecimalsOfText)
{
    auto decimals = [](const char *text) { return DecimalsOfText(text, static_cast<int>(std::strlen(text))); };
    EXPECT_EQ(2, decimals("1,5"));
    EXPECT_EQ(3, decimals("1,125"));
    EXPECT_EQ(2, decimals("1,100"));
    EXPECT_EQ(2, decimals("12"));
    EXPECT_EQ(9, decimals("1,1234567891"));  // at most nine count
    EXPECT_EQ(4, decimals("0,12340000"));    // trailing zeros beyond the second dropped
    EXPECT_EQ(2, decimals("7,"));
    EXPECT_EQ(2, decimals(""));
    EXPECT_EQ(2, DecimalsOfText(nullptr, 5));
    // Only the first "," separates; the length bounds the reading.
    EXPECT_EQ(3, decimals("1,2,3"));
    EXPECT_EQ(2, DecimalsOfText("1,12345", 4));
    EXPECT_EQ(2, DecimalsOfText("12,345", 2));
}

namespace {
std::vector<int> firstShown, secondShown;
void ShowFirst(const AnsiString &text, int number)
{
    EXPECT_TRUE(text.empty());
    firstShown.push_back(number);
}
void ShowSecond(const AnsiString &text, int number)
{
    EXPECT_TRUE(text.empty());
    secondShown.push_back(number);
}
}  // namespace

TEST(SpyEditFlags, ConstructionState)
{
    TSpyEdit_Bs spy;
    EXPECT_EQ(1, spy.Mode());
    EXPECT_EQ(0u, spy.Flags());
    EXPECT_EQ(-1, spy.Caret());
    EXPECT_EQ(0u, spy.NormalColour);
    EXPECT_EQ(0xFF0000u, spy.HighlightColour);
    EXPECT_EQ(0xFF0000u, spy.SecondColour);
    EXPECT_EQ(nullptr, spy.Form());
    EXPECT_EQ(SpyKind::None, spy.CurrentKind());
    EXPECT_FALSE(spy.HasChanges());
    spy.SetMode(2);
    EXPECT_EQ(2, spy.Mode());
}

TEST(SpyEditFlags, SettersAndTheCloseConfirmation)
{
    TSpyEdit_Bs spy;
    struct Bit {
        uint32_t bit;
        bool (TSpyEdit_Bs::*get)() const;
        void (TSpyEdit_Bs::*set)(bool);
    };
    const Bit bits[] = {
        {SpyFlag::Modified, &TSpyEdit_Bs::Modified, &TSpyEdit_Bs::SetModified},
        {SpyFlag::Changed, &TSpyEdit_Bs::Changed, &TSpyEdit_Bs::SetChanged},
        {SpyFlag::OwnerMarkA, &TSpyEdit_Bs::OwnerMarkA, &TSpyEdit_Bs::SetOwnerMarkA},
        {SpyFlag::Escaped, &TSpyEdit_Bs::Escaped, &TSpyEdit_Bs::SetEscaped},
        {SpyFlag::AskAtClose, &TSpyEdit_Bs::AskAtClose, &TSpyEdit_Bs::SetAskAtClose},
        {SpyFlag::ChangePending, &TSpyEdit_Bs::ChangePending, &TSpyEdit_Bs::SetChangePending},
        {SpyFlag::OwnerMarkB, &TSpyEdit_Bs::OwnerMarkB, &TSpyEdit_Bs::SetOwnerMarkB},
        {SpyFlag::ExitKey, &TSpyEdit_Bs::ExitKey, &TSpyEdit_Bs::SetExitKey},
        {SpyFlag::OwnerMarkC, &TSpyEdit_Bs::OwnerMarkC, &TSpyEdit_Bs::SetOwnerMarkC},
    };
    for (const Bit &b : bits) {
        (spy.*b.set)(true);
        EXPECT_EQ(b.bit, spy.Flags()) << std::hex << b.bit;
        EXPECT_TRUE((spy.*b.get)());
        (spy.*b.set)(false);
        EXPECT_EQ(0u, spy.Flags()) << std::hex << b.bit;
        EXPECT_FALSE((spy.*b.get)());
    }
    spy.SetCloseConfirmed(true);
    EXPECT_EQ(SpyFlag::CloseConfirmed | SpyFlag::Escaped, spy.Flags());
    spy.SetCloseConfirmed(false);
    EXPECT_EQ(SpyFlag::Escaped, spy.Flags());  // withdrawing leaves the Esc mark

    spy.SetErrorCode(17);
    EXPECT_EQ(17, spy.ErrorCode());
    EXPECT_TRUE(spy.Flags() & SpyFlag::Error);
    spy.SetStateFlags(SpyFlag::Changed | SpyFlag::OwnerMarkA);
    EXPECT_EQ(0, spy.ErrorCode());
    EXPECT_EQ(SpyFlag::Escaped | SpyFlag::Changed | SpyFlag::OwnerMarkA, spy.Flags());
    spy.ClearStateFlags(SpyFlag::Escaped | SpyFlag::OwnerMarkA);
    EXPECT_EQ(SpyFlag::Changed, spy.Flags());
}

TEST(SpyEditFlags, HasChangesPrecedence)
{
    TSpyEdit_Bs spy;
    // Accepted wins over an error, the error over every change mark.
    spy.SetStateFlags(SpyFlag::Accepted);
    spy.SetErrorCode(3);
    EXPECT_TRUE(spy.HasChanges());
    spy.ClearStateFlags(SpyFlag::Accepted);
    for (uint32_t mark : {SpyFlag::Modified, SpyFlag::Changed, SpyFlag::AskAtClose, SpyFlag::ChangePending}) {
        spy.ClearStateFlags(~0u);
        EXPECT_FALSE(spy.HasChanges());
        spy.SetStateFlags(mark);
        spy.SetErrorCode(3);
        EXPECT_FALSE(spy.HasChanges()) << std::hex << mark;
        spy.SetErrorCode(0);
        EXPECT_TRUE(spy.HasChanges()) << std::hex << mark;
    }
    spy.ClearStateFlags(~0u);
    // Marks the owner keeps for itself are no changes.
    spy.SetOwnerMarkA(true);
    spy.SetEscaped(true);
    spy.SetExitKey(true);
    EXPECT_FALSE(spy.HasChanges());
}

TEST(SpyEditFlags, ShowMessageCodeSplitsAt1000AndClearsTheCloseFlags)
{
    firstShown.clear();
    secondShown.clear();
    TSpyEdit_Bs spy;
    // Without message functions nothing is shown, but the flags are cleared all the same.
    spy.SetStateFlags(SpyFlag::Modified | SpyFlag::AskAtClose);
    EXPECT_EQ(0, spy.ShowMessageCode(5));
    EXPECT_EQ(0u, spy.Flags());

    spy.MessageFunction = ShowFirst;
    spy.SecondMessageFunction = ShowSecond;
    spy.SetStateFlags(SpyFlag::Modified | SpyFlag::Escaped | SpyFlag::CloseConfirmed | SpyFlag::AskAtClose |
                      SpyFlag::Accepted | SpyFlag::Changed);
    EXPECT_EQ(0, spy.ShowMessageCode(5));
    EXPECT_EQ(SpyFlag::Accepted | SpyFlag::Changed, spy.Flags());
    EXPECT_EQ(0, spy.ShowMessageCode(1005));
    EXPECT_EQ(0, spy.ShowMessageCode(999));
    EXPECT_EQ(0, spy.ShowMessageCode(1000));
    EXPECT_EQ((std::vector<int>{5, 999}), firstShown);
    EXPECT_EQ((std::vector<int>{5, 0}), secondShown);
}
