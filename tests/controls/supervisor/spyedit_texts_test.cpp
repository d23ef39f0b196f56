// The data-entry supervisor's texts that need no window: shown values, what a field takes of a pasted
// text, a memo selection as one line, line ends and delimited fields.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "controls/supervisor/SpyEdit.h"

TEST(SpyEditTexts, RealShowTextNearZeroAndAtTheExtremes)
{
    // Below 1e-10 the value is zero: "0" or nothing by the show-zero flag.
    EXPECT_EQ("0", RealShowText(1e-11, 2, 0, true));
    EXPECT_EQ("", RealShowText(1e-11, 2, 0, false));
    EXPECT_EQ("0", RealShowText(-1e-11, 2, 0, true));
    // A value that rounds to nothing at the decimals counts as zero as well.
    EXPECT_EQ("0", RealShowText(0.001, 2, 0, true));
    EXPECT_EQ("", RealShowText(-0.001, 2, 0, false));
    EXPECT_EQ("1,50", RealShowText(1.5, 2, 0, false));
    EXPECT_EQ("1,5", RealShowText(1.5, -3, 0, true));
    EXPECT_EQ("3,00", RealShowText(3, -2, 2, false));

    // The largest doubles with 9 decimals: all 309 digits, and with zeros for whole numbers the
    // separator and 9 zeros, no byte lost.
    for (double v : {DBL_MAX, -DBL_MAX}) {
        const size_t sign = v < 0 ? 1 : 0;
        const AnsiString whole = RealShowText(v, 9, 0, false);
        ASSERT_EQ(sign + 309, whole.size()) << whole;
        EXPECT_EQ(v < 0 ? "-17976931348623157" : "17976931348623157", whole.substr(0, sign + 17));
        const AnsiString text = RealShowText(v, 9, 9, false);
        ASSERT_EQ(sign + 309 + 1 + 9, text.size()) << text;
        EXPECT_EQ(whole + ",000000000", text);
    }
    // Values with no digits show their special text.
    EXPECT_EQ("INFINITY", RealShowText(std::numeric_limits<double>::infinity(), 2, 0, false));
    EXPECT_EQ("-INFINITY", RealShowText(-std::numeric_limits<double>::infinity(), 2, 0, false));
}

TEST(SpyEditTexts, IntegerAndDateShowTexts)
{
    EXPECT_EQ("0", IntegerShowText(0, true));
    EXPECT_EQ("", IntegerShowText(0, false));
    EXPECT_EQ("-2147483648", IntegerShowText(INT32_MIN, false));
    EXPECT_EQ("2147483647", IntegerShowText(INT32_MAX, true));

    EXPECT_EQ("", DateShowText(0));
    // Packed: year - 2000 in bits 15-9, month in 8-5, day in 4-0.
    EXPECT_EQ("07.12.2026", DateShowText(static_cast<uint16_t>((26 << 9) | (12 << 5) | 7)));
    EXPECT_EQ("31.01.2127", DateShowText(static_cast<uint16_t>((127 << 9) | (1 << 5) | 31)));
    EXPECT_EQ("01.01.2000", DateShowText(static_cast<uint16_t>((1 << 5) | 1)));
}

TEST(SpyEditTexts, PastedTextMustSuitTheField)
{
    using namespace SpyKind;
    // Integer fields: digits and a sign; a letter or a separator refuses the whole text.
    EXPECT_EQ("12", PasteTextForField("12", Edit, SpyFieldInteger, ','));
    EXPECT_EQ("-12", PasteTextForField("-12", Edit, SpyFieldInteger, ','));
    EXPECT_EQ("", PasteTextForField("12a", Edit, SpyFieldInteger, ','));
    EXPECT_EQ("", PasteTextForField("1,5", Edit, SpyFieldInteger, ','));
    EXPECT_EQ("", PasteTextForField("1.5", Edit, SpyFieldInteger, ','));
    // Decimal fields: the first "." becomes the separator; a second separator refuses.
    for (uint32_t type : {SpyFieldShortDecimal, SpyFieldLongDecimal}) {
        EXPECT_EQ("1,5", PasteTextForField("1.5", Edit, type, ','));
        EXPECT_EQ("1,5", PasteTextForField("1,5", Edit, type, ','));
        EXPECT_EQ("", PasteTextForField("1.5.2", Edit, type, ','));
        EXPECT_EQ("", PasteTextForField("1,5.2", Edit, type, ','));
        EXPECT_EQ("1.5", PasteTextForField("1.5", Edit, type, '.'));
        EXPECT_EQ("", PasteTextForField("1,5", Edit, type, '.'));
        EXPECT_EQ("", PasteTextForField("1.5р", Edit, type, ','));
    }
    // Memos, text edits and the callback's controls: line breaks and the copy, paste and cut
    // characters pass, no other control character.
    for (uint8_t kind : {Memo, Callback, Edit}) {
        EXPECT_EQ("строка\r\nещё", PasteTextForField("строка\r\nещё", kind, 0, ','));
        EXPECT_EQ("a\x03\x16\x18", PasteTextForField("a\x03\x16\x18", kind, 0, ','));
        EXPECT_EQ("", PasteTextForField("a\tb", kind, 0, ','));
        EXPECT_EQ("", PasteTextForField(AnsiString("a\0b", 3), kind, 0, ','));
    }
    // Other kinds take nothing; an empty clipboard gives nothing.
    for (uint8_t kind : {None, MenuItem, ComboBox, Button, Label})
        EXPECT_EQ("", PasteTextForField("12", kind, SpyFieldInteger, ','));
    EXPECT_EQ("", PasteTextForField("", Memo, 0, ','));
}

TEST(SpyEditTexts, LineBreaksBecomeOneBlankEach)
{
    EXPECT_EQ("первая вторая", LineBreaksToBlanks("первая\r\nвторая"));
    EXPECT_EQ("a b c", LineBreaksToBlanks("a\nb\rc"));
    EXPECT_EQ("a b", LineBreaksToBlanks("a\n\rb"));
    // An empty line between two is a break of its own.
    EXPECT_EQ("a  b", LineBreaksToBlanks("a\r\n\r\nb"));
    EXPECT_EQ(" a ", LineBreaksToBlanks("\r\na\r\n"));
    EXPECT_EQ("", LineBreaksToBlanks(""));
}

TEST(SpyEditTexts, TrimLineEndsTakesOnlyTheLineEnds)
{
    EXPECT_EQ("a b", TSpyEdit_Bs::TrimLineEnds("a b\r\n\n\r"));
    EXPECT_EQ("a\r\nb ", TSpyEdit_Bs::TrimLineEnds("a\r\nb "));
    EXPECT_EQ("", TSpyEdit_Bs::TrimLineEnds("\r\n"));
    EXPECT_EQ("", TSpyEdit_Bs::TrimLineEnds(""));
}

TEST(SpyEditTexts, DelimitedFields)
{
    auto field = [](int index, const char *text, int length = 0, char end = '|') {
        return TSpyEdit_Bs::GetDelimitedField(index, text, length, ';', end);
    };
    EXPECT_EQ("a", field(0, "a;bb;ccc"));
    EXPECT_EQ("bb", field(1, "a;bb;ccc"));
    EXPECT_EQ("ccc", field(2, "a;bb;ccc"));
    EXPECT_EQ("", field(3, "a;bb;ccc"));
    EXPECT_EQ("", field(-1, "a;bb;ccc"));
    EXPECT_EQ("", field(1, "a;;c"));
    EXPECT_EQ("c", field(2, "a;;c"));
    // A length of 0 reads up to the NUL; a given length ends the text early, and a NUL within it too.
    EXPECT_EQ("b", field(1, "a;bb;ccc", 3));
    EXPECT_EQ("", field(2, "a;bb;ccc", 4));
    const char withNul[] = {'a', ';', 'b', '\0', ';', 'c'};
    EXPECT_EQ("b", field(1, withNul, sizeof withNul));
    EXPECT_EQ("", field(2, withNul, sizeof withNul));
    // A null text is empty; so is a negative length.
    EXPECT_EQ("", field(0, nullptr));
    EXPECT_EQ("", field(0, nullptr, 5));
    EXPECT_EQ("", field(0, "abc", -1));
    // The end character ends the field and the fields: none is found beyond it.
    EXPECT_EQ("bb", field(1, "a;bb|ccc;d"));
    EXPECT_EQ("", field(2, "a;bb|ccc;d"));
    EXPECT_EQ("", field(3, "a;bb|ccc;d"));
    EXPECT_EQ("", field(0, "|a;b"));
    EXPECT_EQ("", field(1, "|a;b"));
}
