#include "base/numbers/NumericHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <random>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/graphics/RecordingCanvas.h"
#include "framework/runtime/SysUtils.h"

TEST(ReadShortText, ReadsLengthAndBytesAndMovesPastBoth)
{
    const uint8_t data[] = {3, 0, 'a', 'b', 'c', 0, 0, 0xFF};
    const uint8_t *cursor = data;
    AnsiString text = "old";
    ASSERT_TRUE(ReadShortText(cursor, data + sizeof data, text));
    EXPECT_EQ(text, "abc");
    ASSERT_TRUE(ReadShortText(cursor, data + sizeof data, text));  // length 0: two bytes, empty text
    EXPECT_EQ(text, "");
    EXPECT_EQ(cursor, data + 7);
}

TEST(ReadShortText, RefusesToReadPastTheEnd)
{
    const uint8_t data[] = {4, 0, 'a', 'b', 'c'};
    for (size_t size : {0, 1, 5}) {
        const uint8_t *cursor = data;
        AnsiString text = "kept";
        EXPECT_FALSE(ReadShortText(cursor, data + size, text)) << size;
        EXPECT_EQ(cursor, data);
        EXPECT_EQ(text, "kept");
    }
}

TEST(CursorReadInt, ReadsASignAndDigitsAndStopsAtTheFirstOtherCharacter)
{
    const char *text = "-42.7";
    const char *cursor = text;
    EXPECT_EQ(CursorReadInt(cursor), -42);
    EXPECT_EQ(cursor, text + 3);
    const char *none = "x1";
    cursor = none;
    EXPECT_EQ(CursorReadInt(cursor), 0);
    EXPECT_EQ(cursor, none);
    const char *end = "";
    cursor = end;
    EXPECT_EQ(CursorReadInt(cursor), 0);
    EXPECT_EQ(cursor, end);
}

TEST(CursorReadInt, StopsAfterTwentyNineCharactersAndSaturates)
{
    const char *digits = "0000000000000000000000000000123";  // 31 digits
    const char *cursor = digits;
    EXPECT_EQ(CursorReadInt(cursor), 1);  // the 29 characters end inside the number
    EXPECT_EQ(cursor, digits + 29);
    const char *big = "99999999999";
    cursor = big;
    EXPECT_EQ(CursorReadInt(cursor), INT32_MAX);
    const char *small = "-99999999999";
    cursor = small;
    EXPECT_EQ(CursorReadInt(cursor), INT32_MIN);
    const char *limit = "-2147483648";
    cursor = limit;
    EXPECT_EQ(CursorReadInt(cursor), INT32_MIN);
}

// ---- byte cursor -----------------------------------------------------------------------------

TEST(ByteCursorReaders, ReadLittleEndianValuesAndMoveBySize)
{
    uint8_t data[1 + 4 + 4 + 4 + 8];
    uint8_t *w = data;
    *w++ = 0xAB;
    for (uint8_t b : {0x78, 0x56, 0x34, 0x12})
        *w++ = b;
    for (uint8_t b : {0xFE, 0xFF, 0xFF, 0xFF})  // -2
        *w++ = b;
    const float f = -1.5f;
    const double d = 1234.5678;
    std::memcpy(w, &f, 4);  // the test hosts are little-endian
    w += 4;
    std::memcpy(w, &d, 8);
    const uint8_t *end = data + sizeof data;
    const uint8_t *cursor = data;
    uint8_t u8 = 0;
    uint32_t u32 = 0;
    int32_t s32 = 0;
    float f32 = 0;
    double f64 = 0;
    ASSERT_TRUE(ReadU8(cursor, end, u8));
    ASSERT_TRUE(ReadU32(cursor, end, u32));
    ASSERT_TRUE(ReadDword(cursor, end, s32));
    ASSERT_TRUE(ReadF32(cursor, end, f32));
    ASSERT_TRUE(ReadF64(cursor, end, f64));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u32, 0x12345678u);
    EXPECT_EQ(s32, -2);
    EXPECT_EQ(f32, -1.5f);
    EXPECT_EQ(f64, 1234.5678);
    EXPECT_EQ(cursor, end);
}

// Each reader succeeds with exactly its size left and refuses one byte less, keeping cursor and value.
TEST(ByteCursorReaders, ReadAtTheExactEndAndRefuseOneByteShort)
{
    const uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    auto check = [&](auto read, size_t size, auto sentinel) {
        const uint8_t *cursor = data;
        auto value = sentinel;
        EXPECT_TRUE(read(cursor, data + size, value)) << size;
        EXPECT_EQ(cursor, data + size);
        cursor = data;
        value = sentinel;
        EXPECT_FALSE(read(cursor, data + size - 1, value)) << size;
        EXPECT_EQ(cursor, data);
        EXPECT_EQ(value, sentinel);
    };
    check([](auto &c, auto e, uint8_t &v) { return ReadU8(c, e, v); }, 1, uint8_t(99));
    check([](auto &c, auto e, uint16_t &v) { return ReadU16(c, e, v); }, 2, uint16_t(99));
    check([](auto &c, auto e, uint32_t &v) { return ReadU32(c, e, v); }, 4, uint32_t(99));
    check([](auto &c, auto e, int32_t &v) { return ReadDword(c, e, v); }, 4, int32_t(99));
    check([](auto &c, auto e, float &v) { return ReadF32(c, e, v); }, 4, 99.0f);
    check([](auto &c, auto e, double &v) { return ReadF64(c, e, v); }, 8, 99.0);
}

// ---- character cursor ------------------------------------------------------------------------

TEST(CursorReadFloat, ReadsASignDigitsAndOneCommaAndCountsTheCharacters)
{
    const char *text = "-12,5;x";
    const char *cursor = text;
    int counter = 10;
    EXPECT_EQ(CursorReadFloat(cursor, counter), -12.5);
    EXPECT_EQ(cursor, text + 5);
    EXPECT_EQ(counter, 15);

    const char *two = "+1,5,7";  // a second comma ends the number
    cursor = two;
    EXPECT_EQ(CursorReadFloat(cursor), 1.5);
    EXPECT_EQ(cursor, two + 4);

    for (const char *none : {"", "x", "-", ","}) {  // no digits: 0, the sign and comma stepped over
        cursor = none;
        EXPECT_EQ(CursorReadFloat(cursor), 0.0) << none;
    }

    const char *longer = "000000000000000000000000000012";  // 30 digits: the 28 characters are zeros
    cursor = longer;
    EXPECT_EQ(CursorReadFloat(cursor), 0.0);
    EXPECT_EQ(cursor, longer + 28);
}

TEST(CursorReadUntil, StopsAtEitherStopCharOrTheEndAndSkipsOnlyTheFirst)
{
    const char *text = "ab;cd|ef";
    const char *cursor = text;
    AnsiString part;
    EXPECT_EQ(CursorReadUntil(cursor, ';', '|', part, true), 2);
    EXPECT_EQ(part, "ab");
    EXPECT_EQ(cursor, text + 3);  // past the ';'
    EXPECT_EQ(CursorReadUntil(cursor, ';', '|', part, true), 2);
    EXPECT_EQ(part, "cd");
    EXPECT_EQ(cursor, text + 5);  // on the '|': only the first stop char is stepped over
    ++cursor;
    EXPECT_EQ(CursorReadUntil(cursor, ';', '|', part, false), 2);
    EXPECT_EQ(part, "ef");
    EXPECT_EQ(*cursor, 0);
    EXPECT_EQ(CursorReadUntil(cursor, ';', '|', part, true), 0);  // at the end it stays there
    EXPECT_EQ(*cursor, 0);
}

// ---- integers and text -----------------------------------------------------------------------

TEST(IntToPaddedText, PadsDigitsInTheRadixAndClampsWidthAndRadix)
{
    EXPECT_EQ(IntToPaddedText(-42, 0, '*', 16), "-42");
    EXPECT_EQ(IntToPaddedText(255, 6, '0', 16), "0000ff");
    EXPECT_EQ(IntToPaddedText(5, 4, ' ', 2), " 101");
    EXPECT_EQ(IntToPaddedText(-7, 4, '0', 10), "00-7");
    EXPECT_EQ(IntToPaddedText(-1, 2, '0', 16), "ffffffff");  // longer than the width: whole
    EXPECT_EQ(IntToPaddedText(123456, 3, '0', 10), "123456");
    EXPECT_EQ(IntToPaddedText(35, 1, '0', 36), "z");
    const AnsiString wide = IntToPaddedText(12, 40, '.', 99);  // width 31, radix 10
    EXPECT_EQ(wide, AnsiString(29, '.') + "12");
}

TEST(StringToIntOrZero, ReadsLikeTheCLibraryAndClamps)
{
    EXPECT_EQ(StringToIntOrZero(""), 0);
    EXPECT_EQ(StringToIntOrZero("  -17abc"), -17);
    EXPECT_EQ(StringToIntOrZero("+8"), 8);
    EXPECT_EQ(StringToIntOrZero("x12"), 0);
    EXPECT_EQ(StringToIntOrZero("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(StringToIntOrZero("-99999999999999999999"), INT32_MIN);
}

TEST(TextToFloatComma, ReadsWithACommaAndSetsTheSeparator)
{
    DecimalSeparator = '.';
    EXPECT_EQ(TextToFloatComma("-"), 0.0);
    EXPECT_EQ(TextToFloatComma(""), 0.0);
    EXPECT_EQ(DecimalSeparator, ',');
    EXPECT_EQ(TextToFloatComma("-12,5"), -12.5);
    EXPECT_THROW(TextToFloatComma("1,,2"), EConvertError);
    EXPECT_THROW(TextToFloatComma("abc"), EConvertError);
}

// ---- rounding --------------------------------------------------------------------------------

TEST(RoundToDecimals, RoundsHalfAwayFromZeroWithTheBinaryHalfPushedUp)
{
    EXPECT_EQ(RoundToDecimals(2, 2.675), 2.68);
    EXPECT_EQ(RoundToDecimals(2, -2.675), -2.68);
    EXPECT_EQ(RoundToDecimals(0, 0.5), 1.0);
    EXPECT_EQ(RoundToDecimals(-2, 2.675), 2.68);  // a negative n rounds like its absolute value
    EXPECT_EQ(RoundToDecimals(1, 2.25), 2.3);
}

TEST(RoundToDecimals, LeavesAValueThatIsWholeWhenScaled)
{
    // Scaled to between 2^52 and 2^53 a double is whole: an odd one must not become the next even.
    EXPECT_EQ(RoundToDecimals(0, 4503599627370497.0), 4503599627370497.0);
    EXPECT_EQ(RoundToDecimals(0, -9007199254740991.0), -9007199254740991.0);
    EXPECT_EQ(RoundToDecimals(1, 450359962737049.7), 450359962737049.7);
    EXPECT_EQ(RoundToDecimals(0, 4503599627370496.0), 4503599627370496.0);
    // Just below 2^52 the halves still round away from zero.
    EXPECT_EQ(RoundToDecimals(0, 2251799813685248.5), 2251799813685249.0);
    EXPECT_EQ(RoundToDecimals(0, 4503599627370495.5), 4503599627370496.0);
}

TEST(RoundToDecimals, GivesBackAValueThatHasNoDigitThatFarDown)
{
    EXPECT_EQ(RoundToDecimals(20, 1e300), 1e300);
    EXPECT_EQ(RoundToDecimals(20, -1e300), -1e300);
    EXPECT_EQ(RoundToDecimals(1, DBL_MAX), DBL_MAX);
    EXPECT_EQ(RoundToDecimals(400, 1.25), 1.25);
    EXPECT_EQ(RoundToDecimals(-400, 1e-320), 1e-320);
    EXPECT_EQ(RoundToDecimals(308, 1.5), 1.5);
}

TEST(RoundToStep, ChoosesTheDecimalsThatKeepTheProduct)
{
    double v = 1.25;
    EXPECT_EQ(RoundToStep(v, 3, 0), 3);  // factor 0: unchanged, the minimum
    EXPECT_EQ(v, 1.25);
    v = 0.000123;
    EXPECT_EQ(RoundToStep(v, 4, 1), 4);
    EXPECT_DOUBLE_EQ(v, 0.0001);
    v = 0.123456;
    EXPECT_EQ(RoundToStep(v, 2, 100), 6);  // |log10(1e-6)| is the whole number 6
    EXPECT_EQ(v, 0.123456);
    v = 1.23456789;
    EXPECT_EQ(RoundToStep(v, 2, 3), 4);  // with 3 decimals 3.70 would become 3.71
    EXPECT_EQ(v, 1.2346);
    v = 2.0;
    RoundToStepFlagged(v, 0, 1e-9);
    EXPECT_EQ(v, 2.0);
    v = 1.23456789;
    RoundToStepFlagged(v, 16, 3);  // minimum 4: the count stops going down at 4, 5 stays
    EXPECT_EQ(v, 1.23457);
}

TEST(RoundToStep, LeavesTheValueWhenItsStepHasNoFinitePower)
{
    double v = 1e-323;  // needs 10^324
    EXPECT_EQ(RoundToStep(v, 0, 1), 324);
    EXPECT_EQ(v, 1e-323);
    v = 1e300;  // product not above the threshold with a negative factor: 10^-299
    RoundToStep(v, -400, -1);
    EXPECT_EQ(v, 1e300);
    v = 2.5;
    EXPECT_EQ(RoundToStep(v, 500, -1), 500);
    EXPECT_EQ(v, 2.5);
}

TEST(FactorDecimals, CountsTheDecimalsShownAndKeepsAtLeastTwo)
{
    double v = 2.0;
    EXPECT_EQ(FactorDecimals(v, 1), -1);  // 2,0000: no decimal is not zero
    v = 2.0;
    EXPECT_EQ(FactorDecimalsMin2(v, 1), 2);
    EXPECT_EQ(v, 2.0);
    v = 1.23456789;
    EXPECT_EQ(FactorDecimalsMin2(v, -3), 4);
    EXPECT_EQ(v, 1.2346);
    v = 1.5;
    EXPECT_EQ(FactorDecimalsMin2(v, 1), 2);
}

// ---- number texts ----------------------------------------------------------------------------

TEST(FloatToFitText, WritesFixedDecimalsWithACommaAndTrimsForNegativeN)
{
    DecimalSeparator = '.';
    EXPECT_EQ(FloatToFitText(-3, 2.5), "2,5");
    EXPECT_EQ(DecimalSeparator, ',');
    EXPECT_EQ(FloatToFitText(-3, 2.0), "2");
    EXPECT_EQ(FloatToFitText(2, 2.0), "2,00");
    EXPECT_EQ(FloatToFitText(2, 2.675), "2,68");
    EXPECT_EQ(FloatToFitText(0, -0.4), "0");  // no "-0"
    EXPECT_EQ(FloatToFitText(2, -1234.5), "-1234,50");
    EXPECT_EQ(FloatToFitText(3, 0.0005), "0,001");
    EXPECT_EQ(FloatToFitText(1, 99.96), "100,0");
    EXPECT_EQ(FloatToFitText(-2, 1e20), "100000000000000000000");
    EXPECT_EQ(FloatToFitText(3, 123456789012345678.0), "123456789012346000,000");
}

TEST(FloatToFitText, WholeValuesScaledBeyondTheDoubleStepStayWhole)
{
    EXPECT_EQ(FloatToFitText(9, 9300000000.0), "9300000000,000000000");
    EXPECT_EQ(FloatToFitText(-9, 9300000000.0), "9300000000");
    EXPECT_EQ(FloatToFitText(-12, -9990000000.0), "-9990000000");
    EXPECT_EQ(FloatToFitText(2, 1e17), "100000000000000000,00");
    EXPECT_EQ(FloatToFitText(0, 4503599627370497.0), "4503599627370500");
    EXPECT_EQ(FloatToFitText(-9, 9300000000.5), "9300000000,5");
}

TEST(FloatToFitText, WritesFifteenSignificantDigitsThenZeros)
{
    const AnsiString text = FloatToFitText(20, 1.2345678901234567);
    EXPECT_EQ(text, "1,23456789012346000000");
    const char *cursor = text.c_str();
    EXPECT_EQ(CursorReadFloat(cursor), 1.23456789012346);  // the 15-digit value, not the original
    EXPECT_EQ(*cursor, 0);

    const AnsiString huge = FloatToFitText(20, 1e300);
    ASSERT_EQ(huge.size(), 301u + 1 + 20);
    EXPECT_EQ(huge.substr(0, 16), "1000000000000000");
    EXPECT_EQ(huge.find_first_not_of('0', 1), 301u);
    EXPECT_EQ(huge.substr(301), "," + AnsiString(20, '0'));

    const AnsiString many = FloatToFitText(400, 1.25);
    EXPECT_EQ(many.size(), 2u + 400);
    EXPECT_EQ(many.substr(0, 5), "1,250");
    EXPECT_EQ(FloatToFitText(-400, 1.25), "1,25");
    EXPECT_EQ(FloatToFitText(-330, 1e-320), "0," + AnsiString(320, '0') + "9999888672");
}

TEST(FloatToTextVariants, EmptyWidthAndPadding)
{
    EXPECT_EQ(FloatToTextOrEmpty(2, 5e-11), "");
    EXPECT_EQ(FloatToTextOrEmpty(2, -1.5), "-1,50");
    EXPECT_EQ(FloatToTextWidth(4, 6, 123.456), "123,456");  // 6 - 3 decimals, trailing zeros dropped
    EXPECT_EQ(FloatToTextWidth(4, 5, 123.4), "123,4");
    EXPECT_EQ(FloatToTextWidth(4, 20, 123.4), "123,4000");
    EXPECT_EQ(FloatToTextWidth(4, 2, 123.4), "123");
    EXPECT_EQ(FloatToTextWidth(0, 2, 123.4), "123");  // no comma: as made

    TRecordingCanvas canvas;
    canvas.Font()->SetHeight(-10);                               // every character 5 pixels wide
    EXPECT_EQ(FloatToTextPadded(1, 31, canvas, 2.5), "   2,5");  // 6 characters in 30 pixels
    EXPECT_EQ(FloatToTextPadded(1, 15, canvas, 2.5), "2,5");
    EXPECT_EQ(FloatToTextPadded(1, 1000, canvas, 2.5), AnsiString(21, ' ') + "2,5");
}

TEST(FloatToFieldText, FitsTheFieldByDroppingDecimals)
{
    EXPECT_EQ(FloatToFieldText(-5, 6, 1234.56789), "1234,57");
    EXPECT_EQ(FloatToFieldText(-2, 3, 12345.6), "12346");
    EXPECT_EQ(FloatToFieldText(-5, 20, 1234.56789), "1234,56789");
    EXPECT_EQ(FloatToFieldText(2, 5, 1234.5), "1234,50");  // n >= 0: as made
    EXPECT_EQ(FloatToFieldText(-1, 4, 123.45), "123,5");   // 2 too long, only 1 decimal: as made
    EXPECT_EQ(FloatToFieldText(0, 2, 12345.0), "12345");
    EXPECT_EQ(FloatToFieldTextOrEmpty(-5, 6, -5e-11), "");
    EXPECT_EQ(FloatToFieldTextOrEmpty(-5, 6, -1.5), "-1,5");
}

TEST(FloatToTextMinDecimals, KeepsTheMinimumOfDecimals)
{
    EXPECT_EQ(FloatToTextMinDecimals(-4, 2, 2.5), "2,50");
    EXPECT_EQ(FloatToTextMinDecimals(-4, 0, 2.0), "2");
    EXPECT_EQ(FloatToTextMinDecimals(4, 0, 2.0), "2,0000");
    EXPECT_EQ(FloatToTextMinDecimals(-4, 9, 2.5), "2,5000");
    EXPECT_EQ(FloatToTextMinDecimals(-2, 0, 0.004), "");  // rounds to zero
}

TEST(FloatToTextSnapped, SnapsValuesCloseToAShortDecimal)
{
    EXPECT_EQ(FloatToTextSnapped(123.4560000003), "123,456");
    EXPECT_EQ(FloatToTextSnapped(123.456789), "123,456789");
    EXPECT_EQ(FloatToTextSnapped(-123.4560000003), "-123,456");
    EXPECT_EQ(FloatToTextSnapped(0.123456), "0,123456");  // below 1: not snapped
    EXPECT_EQ(FloatToTextSnapped(5e-11), "");
    EXPECT_EQ(FloatToTextSnapped(2.0), "2");
}

// ---- list sort -------------------------------------------------------------------------------

namespace {
intptr_t Key(TList &list, int i) { return reinterpret_cast<intptr_t>(list.Items(i)); }
}  // namespace

TEST(SortList, ExchangesTwoItemsInTheWrongOrderAndLeavesShortLists)
{
    TList list;
    list.Add(reinterpret_cast<void *>(2));
    list.Add(reinterpret_cast<void *>(1));
    int calls = 0;
    SortList(list, [&](TList &l, int a, int b) {
        ++calls;
        return static_cast<int>(Key(l, a) - Key(l, b));
    });
    EXPECT_EQ(Key(list, 0), 1);
    EXPECT_EQ(Key(list, 1), 2);
    EXPECT_LE(calls, 4);

    TList one;
    one.Add(nullptr);
    SortList(one, [](TList &, int, int) -> int {
        ADD_FAILURE() << "compared a single item";
        return 0;
    });
}

TEST(SortList, SortsRandomListsFullOfEqualKeysWithinTheRange)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        TList list;
        const int count = static_cast<int>(random() % 60);
        const int keys = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < count; ++i)
            list.Add(reinterpret_cast<void *>(static_cast<intptr_t>(random() % keys)));
        SortList(list, [&](TList &l, int a, int b) {
            EXPECT_TRUE(a >= 0 && a < l.Count() && b >= 0 && b < l.Count()) << a << " " << b;
            return static_cast<int>(Key(l, a) - Key(l, b));
        });
        for (int i = 1; i < count; ++i)
            ASSERT_LE(Key(list, i - 1), Key(list, i)) << "round " << round;
    }
}

TEST(SortList, StaysInsideTheListWhateverTheComparisonAnswers)
{
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        TList list;
        const int count = 2 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            list.Add(reinterpret_cast<void *>(static_cast<intptr_t>(i)));
        SortList(list, [&](TList &l, int a, int b) {
            EXPECT_TRUE(a >= 0 && a < l.Count() && b >= 0 && b < l.Count()) << a << " " << b;
            return static_cast<int>(random() % 3) - 1;
        });
        std::vector<intptr_t> items;
        for (int i = 0; i < count; ++i)
            items.push_back(Key(list, i));
        std::sort(items.begin(), items.end());
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(items[i], i);  // only exchanged: every item still there once
    }
}
