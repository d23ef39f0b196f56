// The packed date fields of records and their texts.
#include <gtest/gtest.h>

#include "storage/compound/fun_struct.h"
#include "tests/support/FakeClock.h"

namespace {

uint16_t Word(int day, int month, int value) { return static_cast<uint16_t>(day + month * 32 + value * 512); }

bool IsLeap(int year) { return year % 4 == 0; }  // every year the field holds

int MonthDays(int month, int year)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

}  // namespace

TEST(FieldDates, CenturyWindowOfTheYearValue)
{
    EXPECT_EQ(PackFieldDate(5, 3, 1999), Word(5, 3, 99));
    EXPECT_EQ(FieldDateText(Word(5, 3, 99)), "05.03.1999");
    EXPECT_EQ(PackFieldDate(31, 12, 2089), Word(31, 12, 89));
    EXPECT_EQ(FieldDateText(Word(1, 1, 89)), "01.01.2089");
    EXPECT_EQ(FieldDateText(Word(1, 1, 90)), "01.01.1990");
    int day, month, year;
    UnpackFieldDate(Word(29, 2, 24), day, month, year);
    EXPECT_EQ(day, 29);
    EXPECT_EQ(month, 2);
    EXPECT_EQ(year, 2024);

    // What the field cannot hold packs as the empty date rather than as another one.
    EXPECT_EQ(PackFieldDate(1, 1, 1989), 0);
    EXPECT_EQ(PackFieldDate(1, 1, 2090), 0);
    EXPECT_EQ(PackFieldDate(1, 1, 99), 0);
    EXPECT_EQ(PackFieldDate(32, 1, 2000), 0);
    EXPECT_EQ(PackFieldDate(1, 13, 2000), 0);
    EXPECT_EQ(PackFieldDate(0, 0, 2000), 0);
}

TEST(FieldDates, DateTimeTexts)
{
    const uint32_t stamp = PackFieldDateTime(7, 11, 2023, 14, 5, 59);
    EXPECT_EQ(stamp >> 16, PackFieldDate(7, 11, 2023));
    EXPECT_EQ(stamp & 0xFFFF, 14u * 2048 + 5 * 32 + 29);
    EXPECT_EQ(FieldDateTimeText(stamp), "07.11.2023/14.05.58") << "seconds are stored halved";
    EXPECT_EQ(FieldDateTimeText(PackFieldDateTime(7, 11, 2023, 0, 0, 0)), "07.11.2023");
    EXPECT_EQ(FieldDateTimeText(0), "00.00.2000");
    EXPECT_EQ(PackFieldDateTime(7, 11, 2023, 24, 0, 0), 0u);
    EXPECT_EQ(PackFieldDateTime(7, 11, 2023, 0, 60, 0), 0u);
}

TEST(FieldDates, TodayComesFromTheClock)
{
    FakeClock clock(EncodeDate(2031, 2, 3) + EncodeTime(23, 59, 0, 0));
    TClockOverride use(clock);
    EXPECT_EQ(TodayDateText(), "03.02.2031");
}

TEST(FieldDates, EveryWordParsesBackToItself)
{
    int checked = 0;
    for (int value = 0; value < 100; ++value) {
        const int fullYear = value < 90 ? 2000 + value : 1900 + value;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= MonthDays(month, fullYear); ++day) {
                const uint16_t word = Word(day, month, value);
                const AnsiString text = FieldDateText(word);
                uint16_t packed = 0;
                int m = 0, y = 0;
                ASSERT_EQ(ParseDateText(text, packed, m, y, false), 0) << text;
                ASSERT_EQ(packed, word) << text;
                ASSERT_EQ(m, month);
                ASSERT_EQ(y, fullYear);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 100 * 365 + 25);
}

TEST(FieldDates, TwoDigitYearsAndTheZeroDate)
{
    uint16_t packed = 0;
    int month = 0, year = 0;
    ASSERT_EQ(ParseDateText("5.3.99", packed, month, year, false), 0);
    EXPECT_EQ(packed, Word(5, 3, 99));
    EXPECT_EQ(year, 1999);
    ASSERT_EQ(ParseDateText(" 05.03.89 ", packed, month, year, false), 0);
    EXPECT_EQ(year, 2089);
    ASSERT_EQ(ParseDateText("29.02.00", packed, month, year, false), 0);
    EXPECT_EQ(packed, Word(29, 2, 0));

    const AnsiString zero = FieldDateText(0);
    EXPECT_EQ(zero, "00.00.2000");
    packed = 7;
    EXPECT_NE(ParseDateText(zero, packed, month, year, false), 0);
    EXPECT_EQ(packed, 7) << "a refused text leaves the results";
    ASSERT_EQ(ParseDateText(zero, packed, month, year, true), 0);
    EXPECT_EQ(packed, Word(1, 1, 0));
    EXPECT_EQ(month, 1);
    EXPECT_EQ(year, 2000);
}

TEST(FieldDates, ImpossibleDatesAndTextsAreRefused)
{
    const char *bad[] = {
        "29.02.2023", "29.02.1997", "31.04.2020", "00.01.2020", "32.01.2020", "01.00.2020", "01.13.2020",
        "01.01.1989", "01.01.2090", "01.01.150",  "01.01.1899", "",           "01.01",      "01-01-2020",
        "aa.bb.cccc", "1.1.2020x",  "1..2020",    ".1.2020",    "01.01.-5",   "1 .1.2020",
    };
    for (const char *text : bad) {
        uint16_t packed = 9;
        int month = 9, year = 9;
        EXPECT_NE(ParseDateText(text, packed, month, year, true), 0) << text;
        EXPECT_EQ(packed, 9) << text;
        EXPECT_EQ(month, 9) << text;
        EXPECT_EQ(year, 9) << text;
    }
    uint16_t packed;
    int month, year;
    EXPECT_EQ(ParseDateText("29.02.1996", packed, month, year, false), 0);
    EXPECT_EQ(ParseDateText("29.02.2088", packed, month, year, false), 0);
}

TEST(FieldDates, FixedPlaceReader)
{
    int day = 0, month = 0, year = 0;
    ASSERT_TRUE(ReadFixedDateText("05.03.1999 and more", day, month, year));
    EXPECT_EQ(day, 5);
    EXPECT_EQ(month, 3);
    EXPECT_EQ(year, 1999);
    EXPECT_FALSE(ReadFixedDateText("05.03.199", day, month, year));
    EXPECT_FALSE(ReadFixedDateText("5.3.1999xx", day, month, year));
    EXPECT_FALSE(ReadFixedDateText("05.03.19a9", day, month, year));
    EXPECT_EQ(year, 1999) << "left as it was";
}
