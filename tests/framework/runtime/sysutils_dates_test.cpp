#include <gtest/gtest.h>

#include "framework/runtime/SysUtils.h"

TEST(Dates, EncodeAndDecodeRoundTrip)
{
    EXPECT_DOUBLE_EQ(0.0, EncodeDate(1899, 12, 30));
    EXPECT_DOUBLE_EQ(36526.0, EncodeDate(2000, 1, 1));
    for (TDateTime d = -693593; d <= 2958465; d += 997) {
        unsigned short y, m, day;
        DecodeDate(d, y, m, day);
        EXPECT_DOUBLE_EQ(d, EncodeDate(y, m, day)) << d;
    }
    unsigned short y, m, d;
    DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
    EXPECT_EQ(2024, y);
    EXPECT_EQ(2, m);
    EXPECT_EQ(29, d);
    EXPECT_EQ(1, DayOfWeek(EncodeDate(2026, 12, 6)));  // a Sunday
}

TEST(Dates, ImpossibleDatesAndTimesThrow)
{
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_THROW(EncodeDate(2020, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2020, 4, 31), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 0, 0, 1000), EConvertError);
}

TEST(Dates, TimeOfDayKeepsItsMilliseconds)
{
    TDateTime t = EncodeDate(2026, 3, 7) + EncodeTime(23, 59, 59, 999);
    unsigned short h, n, s, ms;
    DecodeTime(t, h, n, s, ms);
    EXPECT_EQ(23, h);
    EXPECT_EQ(59, n);
    EXPECT_EQ(59, s);
    EXPECT_EQ(999, ms);
    unsigned short y, m, d;
    DecodeDate(t, y, m, d);  // never rounded into the next day
    EXPECT_EQ(7, d);
}

TEST(Dates, FormatPatterns)
{
    TDateTime t = EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 4, 32);
    EXPECT_EQ("07.03.26 09:05:04.032", FormatDateTime("dd.mm.yy hh:nn:ss.zzz", t));
    EXPECT_EQ("0504032", FormatDateTime("nnsszzz", t));
    EXPECT_EQ("07.03.2026", FormatDateTime("dd.mm.yyyy", t));
    EXPECT_EQ("09:05:04", FormatDateTime("hh:nn:ss", t));
    EXPECT_EQ("9:05", FormatDateTime("h:mm", t));  // m after an hour means minutes
    EXPECT_EQ("7.3.26 at 9", FormatDateTime("d.m.yy 'at' h", t));
    EXPECT_EQ("DD.MM", FormatDateTime("\"DD.MM\"", t));
    EXPECT_EQ("07.03.2026", DateToStr(t));
    EXPECT_EQ("09:05:04", TimeToStr(t));
}

TEST(Dates, FileDates)
{
    TDateTime t = EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 4, 0);
    int packed = DateTimeToFileDate(t);
    EXPECT_EQ(((2026 - 1980) << 25) | (3 << 21) | (7 << 16) | (9 << 11) | (5 << 5) | 2, packed);
    EXPECT_DOUBLE_EQ(t, FileDateToDateTime(packed));
    EXPECT_THROW(FileDateToDateTime(0), EConvertError);  // month 0
    EXPECT_EQ(0, DateTimeToFileDate(EncodeDate(1970, 1, 1)));
}

TEST(Dates, DaysOfAMonth)
{
    EXPECT_EQ(31, DaysInAMonth(2026, 1));
    EXPECT_EQ(28, DaysInAMonth(2026, 2));
    EXPECT_EQ(29, DaysInAMonth(2024, 2));
    EXPECT_EQ(28, DaysInAMonth(1900, 2));
    EXPECT_EQ(29, DaysInAMonth(2000, 2));
    EXPECT_EQ(30, DaysInAMonth(2026, 11));
    EXPECT_EQ(0, DaysInAMonth(2026, 0));
    EXPECT_EQ(0, DaysInAMonth(2026, 13));
}
