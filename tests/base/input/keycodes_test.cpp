// Key codes and the typed-character filters.
#include <gtest/gtest.h>

#include "base/keys/KeyCodes.h"
#include "base/keys/KeyFilters.h"
#include "framework/runtime/SysUtils.h"

TEST(KeyToCode, EachModifierAddsItsWeight)
{
    constexpr uint16_t F1 = 112, A = 'A';
    EXPECT_EQ(112u, KeyToCode(F1, 0));
    EXPECT_EQ(112u + 256, KeyToCode(F1, ssAlt));
    EXPECT_EQ(112u + 512, KeyToCode(F1, ssCtrl));
    EXPECT_EQ(112u + 1024, KeyToCode(F1, ssShift));
    EXPECT_EQ(1648u, KeyToCode(F1, ssCtrl | ssShift));
    EXPECT_EQ(65u + 256 + 512 + 1024, KeyToCode(A, ssAlt | ssCtrl | ssShift));
    // Mouse buttons do not count here.
    EXPECT_EQ(65u, KeyToCode(A, ssLeft | ssRight | ssMiddle | ssDouble));
}

TEST(KeyToCode, ModifierKeysAloneGiveZero)
{
    for (uint16_t key : {16, 17, 18, 93}) {
        EXPECT_EQ(0u, KeyToCode(key, 0)) << key;
        EXPECT_EQ(0u, KeyToCode(key, ssShift | ssCtrl | ssAlt)) << key;
    }
    EXPECT_EQ(27u, KeyToCode(27, 0));
}

TEST(KeyToCodeEx, AddsMouseButtonsAndSkipsInputMethodKeysOnRequest)
{
    EXPECT_EQ(65u + 2048, KeyToCodeEx('A', ssLeft, false));
    EXPECT_EQ(65u + 4096, KeyToCodeEx('A', ssRight, false));
    EXPECT_EQ(65u + 8192, KeyToCodeEx('A', ssMiddle, false));
    EXPECT_EQ(65u + 512 + 2048 + 8192, KeyToCodeEx('A', ssCtrl | ssLeft | ssMiddle, true));
    // With the flag the keys 22 to 24 give 0; without it their sums.
    for (uint16_t key : {22, 23, 24}) {
        EXPECT_EQ(0u, KeyToCodeEx(key, ssLeft, true)) << key;
        EXPECT_EQ(key + 1024u, KeyToCodeEx(key, ssShift, false)) << key;
    }
    // The modifier keys and the keys next to the three keep their sums, flag or not.
    for (uint16_t key : {16, 17, 18, 21, 25, 93}) {
        EXPECT_EQ(key + 2048u, KeyToCodeEx(key, ssLeft, true)) << key;
        EXPECT_EQ(key + 0u, KeyToCodeEx(key, 0, false)) << key;
    }
}

class KeyFilters : public ::testing::Test {
protected:
    void SetUp() override { saved_ = DecimalSeparator, DecimalSeparator = ','; }
    void TearDown() override { DecimalSeparator = saved_; }
    char saved_ = ',';
};

TEST_F(KeyFilters, FilterKeyCharInEachMode)
{
    // Backspace passes everywhere, even when forbidden.
    for (int mode : {0, 1, 2, 3})
        EXPECT_EQ(8, FilterKeyChar(8, mode, "\b"));
    // Mode 0: everything not forbidden, digits included.
    EXPECT_EQ('a', FilterKeyChar('a', 0, nullptr));
    EXPECT_EQ(0, FilterKeyChar('5', 0, "56"));
    EXPECT_EQ('\xC6', FilterKeyChar('\xC6', 0, "abc"));  // a Cyrillic letter (a negative char)
    EXPECT_EQ(0, FilterKeyChar('\xC6', 0, "\xC6"));
    // Mode 1: digits only; a forbidden list does not stop digits.
    EXPECT_EQ('7', FilterKeyChar('7', 1, "7"));
    EXPECT_EQ(0, FilterKeyChar(',', 1, nullptr));
    EXPECT_EQ(0, FilterKeyChar('a', 1, nullptr));
    // Mode 2: digits and the decimal separator.
    EXPECT_EQ(',', FilterKeyChar(',', 2, nullptr));
    EXPECT_EQ(0, FilterKeyChar(',', 2, ","));
    EXPECT_EQ(0, FilterKeyChar('.', 2, nullptr));
    EXPECT_EQ('0', FilterKeyChar('0', 2, nullptr));
    DecimalSeparator = '.';
    EXPECT_EQ('.', FilterKeyChar('.', 2, nullptr));
    EXPECT_EQ(0, FilterKeyChar(',', 2, nullptr));
    // Other modes: digits, and the rest unless forbidden.
    EXPECT_EQ('x', FilterKeyChar('x', 3, "yz"));
    EXPECT_EQ(0, FilterKeyChar('y', 3, "yz"));
}

TEST_F(KeyFilters, FilterNumberKeyTakesOneSeparatorAndALeadingMinus)
{
    EXPECT_EQ(8, FilterNumberKey(8, "-1,5", 2));
    EXPECT_EQ('9', FilterNumberKey('9', "-1,5", 4));
    EXPECT_EQ(',', FilterNumberKey(',', "12", 2));
    EXPECT_EQ(0, FilterNumberKey(',', "1,2", 3));  // a second separator
    EXPECT_EQ(0, FilterNumberKey('.', "12", 2));   // not the separator
    EXPECT_EQ('-', FilterNumberKey('-', "", 0));
    EXPECT_EQ('-', FilterNumberKey('-', "12", 0));  // before the first digit
    EXPECT_EQ(0, FilterNumberKey('-', "12", 1));    // after the first character
    EXPECT_EQ(0, FilterNumberKey('-', "-12", 0));   // already negative
    EXPECT_EQ(0, FilterNumberKey('a', "", 0));
    EXPECT_EQ(0, FilterNumberKey('+', "", 0));
}
