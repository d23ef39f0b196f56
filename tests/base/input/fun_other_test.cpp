// The text utilities: number-key filter and number checks, marked texts and line lists, limits and
// escapes, the key case rules, the byte counter, object lists, the six marks and the PE stamp reader.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/input/fun_other.h"
#include "framework/runtime/Classes.h"
#include "tests/support/PeImageWriter.h"

TEST(ScreenValues, StartWithTheDesignValues)
{
    EXPECT_EQ(DesignDensity, 800);
    EXPECT_EQ(ScreenDensity, 800);
    EXPECT_EQ(FormDesignPixelsPerInch, 96);
    EXPECT_EQ(FormScaling, 0);
    EXPECT_EQ(CascadeOffsetX, 4);
    EXPECT_EQ(CascadeOffsetY, 4);
    EXPECT_EQ(TextLengthLimit, 78);
}

TEST(FilterDecimalKey, TakesOneDecimalSeparatorAndTurnsTheFullStopIntoIt)
{
    DecimalSeparator = ',';
    EXPECT_EQ(FilterDecimalKey(',', 2, "1,5"), 0);  // a second separator
    EXPECT_EQ(FilterDecimalKey('.', 2, "1,5"), 0);
    EXPECT_EQ(FilterDecimalKey('.', 2, "15"), ',');
    EXPECT_EQ(FilterDecimalKey(',', 2, "15"), ',');
    EXPECT_EQ(FilterDecimalKey('7', 2, "1,5"), '7');
    EXPECT_EQ(FilterDecimalKey('a', 2, ""), 0);
    for (int mode : {1, int('1')}) {  // digits only
        EXPECT_EQ(FilterDecimalKey('.', mode, ""), 0) << mode;
        EXPECT_EQ(FilterDecimalKey(',', mode, ""), 0) << mode;
        EXPECT_EQ(FilterDecimalKey('3', mode, ""), '3') << mode;
        EXPECT_EQ(FilterDecimalKey(8, mode, ""), 8) << mode;
        EXPECT_EQ(FilterDecimalKey(13, mode, ""), 13) << mode;
    }
    EXPECT_EQ(FilterDecimalKey('x', 0, "1,5"), 'x');  // mode 0: everything
}

TEST(CheckNumberText, EachKind)
{
    EXPECT_TRUE(CheckNumberText("anything", 0));
    EXPECT_TRUE(CheckNumberText("-42", 1));
    EXPECT_FALSE(CheckNumberText("4,2", 1));
    EXPECT_FALSE(CheckNumberText("42 ", 1));
    EXPECT_FALSE(CheckNumberText("-", 1));
    EXPECT_FALSE(CheckNumberText("", 1));
    EXPECT_FALSE(CheckNumberText(AnsiString(30, '1'), 1));  // past the integer reader's 29 characters
    EXPECT_TRUE(CheckNumberText("4,25", 2));
    EXPECT_FALSE(CheckNumberText("-4,25", 2));  // negative
    EXPECT_FALSE(CheckNumberText("4.25", 2));   // the decimal comma only
    EXPECT_FALSE(CheckNumberText("1,2,3", 2));
    EXPECT_TRUE(CheckNumberText("-4,25", 3));
    EXPECT_TRUE(CheckNumberText("+,5", 3));
    EXPECT_FALSE(CheckNumberText(",", 3));
    EXPECT_FALSE(CheckNumberText(AnsiString("1\0"
                                            "2",
                                            3),
                                 3));  // an embedded NUL ends the number
}

TEST(MarkedTexts, HashesAndSeparatorsToLinesAndBack)
{
    TStringList list;
    HashToLineBreaks("a#b#c", list, true);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[2], "c");
    HashToLineBreaks("a#b", list, false);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], "a#b");

    EXPECT_EQ(SplitToList(list, "x;y;z", ";"), 3);
    EXPECT_EQ(list[1], "y");
    EXPECT_EQ(ListToText(list, ";"), "x;y;z;");
    EXPECT_EQ(SplitToList(list, "x<>y<>", "<>"), 2);  // already ends with the separator
    EXPECT_EQ(SplitToList(list, "", ";"), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(ListToText(list, ";"), "");
    EXPECT_EQ(SplitToList(list, "x;y", ""), 1);  // an empty separator: one line, no endless loop
    EXPECT_EQ(list[0], "x;y");

    EXPECT_EQ(ReplaceAllText("a-b-c", "-", "+-"), "a+-b+-c");
    EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
    EXPECT_EQ(EscapeSpecialChars("a*b`c#d"), "a_b_c d");
    EXPECT_EQ(SafeFileText("a\\b,c:d;e~f@g$h%i^j&k*l=m+n{o}p[q]r<s>t\"u/v.w?x#y"),
              "a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p-q-r-s-t-u-v-w-x-y");
    EXPECT_EQ(SafeFileText("іІєЄїЇ_Ж"), "iIeEiI_Ж");
    EXPECT_EQ(IntToAnsiString(-2147483647 - 1), "-2147483648");
}

TEST(FitTextToLimit, NeverLongerThanTheLimitAndCutBackToACommaOrBlank)
{
    EXPECT_EQ(FitTextToLimit("Name", " suffix"), "Name" + AnsiString(24, ' ') + " suffix");
    const AnsiString longSuffix = "one, two three four five six seven eight nine ten eleven twelve";
    const AnsiString fitted = FitTextToLimit("Name", longSuffix);
    const AnsiString full = "Name" + AnsiString(24, ' ') + longSuffix;
    ASSERT_LE(fitted.size(), 78u);
    EXPECT_EQ(fitted, full.substr(0, full.substr(0, 78).find_last_of(", ")));
    EXPECT_TRUE(full[fitted.size()] == ' ' || full[fitted.size()] == ',');  // not inside a word
    EXPECT_EQ(fitted, "Name" + AnsiString(24, ' ') + "one, two three four five six seven eight nine ten");
    EXPECT_EQ(FitTextToLimit("x", AnsiString(100, 'y')), "x" + AnsiString(23, ' '));  // before the y's
    EXPECT_EQ(FitTextToLimit(AnsiString(100, 'z'), ""), AnsiString(78, 'z'));
    EXPECT_EQ(FitTextToLimit(AnsiString(40, 'z'), "tail"), AnsiString(30, 'z') + "tail");
}

TEST(DistanceText, AddsTheDistanceInTheLanguageUnlessTheObjectHidesIt)
{
    EXPECT_EQ(DistanceText("Точка", true, nullptr, 12.5), "Точка на расстояние 12,5 км");
    EXPECT_EQ(DistanceText("Точка", false, nullptr, 3.0), "Точка на вiдстань 3 км");
    TDistanceObject object;
    EXPECT_EQ(DistanceText("A", true, &object, 1.2345), "A на расстояние 1,235 км");
    object.Flags = 1;
    EXPECT_EQ(DistanceText("A", true, &object, 1), "A");
    object.Flags = 2;
    object.FirstByte = 0x10;
    EXPECT_EQ(DistanceText("A", true, &object, 1), "A");
}

TEST(ElapsedText, MinutesSecondsAndMilliseconds)
{
    const TDateTime start = EncodeDate(2026, 12, 7) + EncodeTime(10, 0, 0, 0);
    const TDateTime finish = EncodeDate(2026, 12, 7) + EncodeTime(10, 3, 7, 45);
    EXPECT_EQ(ElapsedText(start, finish), "03 07 045");
    EXPECT_EQ(ElapsedText(finish, start), "03 07 045");
}

TEST(KeyCase, LowerMakesEveryIALatinI)
{
    AnsiString text = "ІіIЄЇҐЁАЯZ";
    LowerCp1251(text);
    EXPECT_EQ(text, "iiiєїҐЁаяz");  // Ґ and Ё stay
    char buffer[] = "ІЄ";
    LowerCp1251(buffer);
    EXPECT_STREQ(buffer, "iє");
}

TEST(KeyCase, UpperKeepsCyrillicIUnlessFolded)
{
    AnsiString text = "іІєїёґяz";
    UpperCp1251Key(text, false);
    EXPECT_EQ(text, "IІЄЇёґЯZ");  // і becomes the Latin I, І stays Cyrillic; ё and ґ stay
    text = "TOK";
    UpperCp1251Key(text, true);
    EXPECT_EQ(text, "ТОК");  // Cyrillic
    EXPECT_NE(text, "TOK");
    text = "taxi І";
    UpperCp1251Key(text, true);
    EXPECT_EQ(text, "ТАХI I");  // Latin I stays Latin; І becomes it
    char buffer[] = "abcd";
    UpperCp1251Key(buffer, 2, false);  // the given length only
    EXPECT_STREQ(buffer, "ABcd");
}

TEST(AddBytesToCounter, AddsWordsThenTheTailAndCountsOverflows)
{
    const std::uint8_t bytes[7] = {0x01, 0x02, 0x03, 0x04, 0x10, 0x20, 0x30};
    std::uint32_t sum = 0, overflows = 0;
    AddBytesToCounter(7, bytes, sum, overflows);
    EXPECT_EQ(sum, 0x04030201u + 0x2010u + 0x30u);  // a word, then of the 3 left a 16-bit word and a byte
    EXPECT_EQ(overflows, 0u);

    sum = 0;
    AddBytesToCounter(6, bytes, sum, overflows);  // 2 left: single bytes
    EXPECT_EQ(sum, 0x04030201u + 0x10u + 0x20u);

    const std::uint8_t big[4] = {0x01, 0x00, 0x00, 0x40};  // 0x40000001
    sum = 0x3FFFFFFF;
    overflows = 5;
    AddBytesToCounter(4, big, sum, overflows);  // 0x80000000: one reduction, 0x40000000 itself stays
    EXPECT_EQ(sum, 0x40000000u);
    EXPECT_EQ(overflows, 6u);
    sum = 0x40000000;
    AddBytesToCounter(1, big, sum, overflows);  // 0x40000001 is above: one reduction
    EXPECT_EQ(sum, 1u);
    EXPECT_EQ(overflows, 7u);
    const std::uint8_t all[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    sum = 2;
    AddBytesToCounter(4, all, sum, overflows);  // wraps modulo 2^32 to 1
    EXPECT_EQ(sum, 1u);
    AddBytesToCounter(-3, all, sum, overflows);
    AddBytesToCounter(3, nullptr, sum, overflows);
    EXPECT_EQ(sum, 1u);
}

TEST(FreeObjectList, DeletesOrReleasesEveryItem)
{
    struct Counted : TObject {
        explicit Counted(int &alive) : alive_(alive) { ++alive_; }
        ~Counted() override { --alive_; }
        int &alive_;
    };
    int alive = 0;
    TList *list = new TList;
    list->Add(new Counted(alive));
    list->Add(nullptr);
    list->Add(new TZTabField);
    list->Add(new Counted(alive));
    FreeObjectList(list, false);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(alive, 0);
    list->Add(new Counted(alive));
    FreeObjectList(list, true);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(alive, 0);

    int released = 0;
    std::vector<int> items(3);
    list = new TList;
    for (int &i : items)
        list->Add(&i);
    FreeObjectList(list, true, [&](void *item) {
        ++released;
        EXPECT_GE(static_cast<int *>(item), items.data());
    });
    EXPECT_EQ(released, 3);
    EXPECT_EQ(list, nullptr);
}

TEST(TZTabField, StartsEmpty)
{
    TZTabField field;
    EXPECT_EQ(field.Name, "");
    EXPECT_EQ(field.Type, 0);
    EXPECT_EQ(field.Word1, 0u);
    EXPECT_EQ(field.Word2, 0u);
}

TEST(ClassifySixMarks, ThreeOutcomes)
{
    EXPECT_EQ(ClassifySixMarks({255, 255, 255, 255, 255, 255}), 2);
    EXPECT_EQ(ClassifySixMarks({3, 255, 3, 255, 255, 255}), 1);
    EXPECT_EQ(ClassifySixMarks({3, 3, 3, 3, 3, 3}), 1);
    EXPECT_EQ(ClassifySixMarks({3, 255, 255, 255, 255, 0}), 0);
    EXPECT_EQ(ClassifySixMarks({254, 255, 255, 255, 255, 255}), 0);
}

TEST(ReadPeTimeStamp, ReadsTheStampAndChecksEveryOffset)
{
    TestPeImage image;
    image.TimeStamp = 0x12345678;
    std::vector<std::uint8_t> bytes = WritePeImage(image);
    auto from = [](const std::vector<std::uint8_t> &b) {
        return [&b](std::uint32_t offset, std::uint8_t *buffer, std::uint32_t n) {
            if (offset > b.size() || b.size() - offset < n)
                return false;
            std::memcpy(buffer, b.data() + offset, n);
            return true;
        };
    };
    std::uint32_t stamp = 0;
    ASSERT_TRUE(ReadPeTimeStamp(from(bytes), stamp));
    EXPECT_EQ(stamp, 0x12345678u);

    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + kTestPeHeaderOffset + 11);  // one byte short
    EXPECT_FALSE(ReadPeTimeStamp(from(cut), stamp));
    cut.assign(bytes.begin(), bytes.begin() + 63);
    EXPECT_FALSE(ReadPeTimeStamp(from(cut), stamp));
    std::vector<std::uint8_t> far = bytes;
    far[0x3C] = 0xF8;  // the header pointer near 4 GB
    far[0x3D] = far[0x3E] = far[0x3F] = 0xFF;
    EXPECT_FALSE(ReadPeTimeStamp(from(far), stamp));
    std::vector<std::uint8_t> notPe = bytes;
    notPe[kTestPeHeaderOffset + 1] = 'X';
    EXPECT_FALSE(ReadPeTimeStamp(from(notPe), stamp));
    std::vector<std::uint8_t> notMz = bytes;
    notMz[0] = 'Z';
    EXPECT_FALSE(ReadPeTimeStamp(from(notMz), stamp));
    EXPECT_FALSE(ReadPeTimeStamp({}, stamp));
}

TEST(FormatDateTime, LongMonthNamesAndTheUnixEpoch)
{
    const TDateTime t = UnixTimeToDateTime(1780000000);  // 2026-05-28 20:26:40 UTC
    EXPECT_EQ(FormatDateTime("dd MMMM yyyy hh:mm:ss", t), "28 мая 2026 20:26:40");
    EXPECT_EQ(FormatDateTime("d mmmm", EncodeDate(2026, 1, 5)), "5 января");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", UnixTimeToDateTime(0)), "01.01.1970");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss", UnixTimeToDateTime(-1)), "31.12.1969 23:59:59");
}
