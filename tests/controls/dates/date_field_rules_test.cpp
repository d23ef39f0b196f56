#include <gtest/gtest.h>

#include "controls/dates/DateFieldRules.h"

#include <ostream>

void PrintTo(const TYmd &d, std::ostream *os);

TEST(DateFieldText, AValidTextReadsAsTyped)
{
    TDateFieldText t = ParseDateFieldText("29.02.2024");
    EXPECT_TRUE(t.Valid);
    EXPECT_EQ((TYmd{2024, 2, 29}), t.Date);
    EXPECT_TRUE(ParseDateFieldText("01.01.1900").Valid);
    EXPECT_TRUE(ParseDateFieldText("31.12.2222").Valid);
    EXPECT_TRUE(ParseDateFieldText(" 1. 3.2020").Valid);  // blanks of the mask around a digit
}

TEST(DateFieldText, ImpossibleDatesAreInvalidAndClamped)
{
    TDateFieldText feb = ParseDateFieldText("31.02.2023");
    EXPECT_FALSE(feb.Valid);
    EXPECT_EQ((TYmd{2023, 2, 28}), feb.Date);
    TDateFieldText old = ParseDateFieldText("01.01.1899");
    EXPECT_FALSE(old.Valid);
    EXPECT_EQ((TYmd{1900, 1, 1}), old.Date);
    TDateFieldText zero = ParseDateFieldText("00.13.2020");
    EXPECT_FALSE(zero.Valid);
    EXPECT_EQ((TYmd{2020, 12, 1}), zero.Date);
    EXPECT_FALSE(ParseDateFieldText("29.02.2023").Valid);
    EXPECT_FALSE(ParseDateFieldText("01.01.2223").Valid);
}

TEST(DateFieldText, EmptyShortOrDamagedTextIsInvalid)
{
    for (const char *text : {"", "  .  .    ", "01.01", "ab.01.2020", "01.0x.2020", "01.01.2o20"})
        EXPECT_FALSE(ParseDateFieldText(text).Valid) << '"' << text << '"';
}

TEST(DateFieldPacked, PacksAndReadsTheNinetiesAndFrom2000)
{
    TYmd d;
    ASSERT_TRUE(UnpackDateField(0x1A21, d));
    EXPECT_EQ((TYmd{2013, 1, 1}), d);
    EXPECT_EQ(0x1A21, PackDateField(TYmd{2013, 1, 1}));
    ASSERT_TRUE(UnpackDateField(static_cast<std::uint16_t>(95 << 9 | 6 << 5 | 15), d));
    EXPECT_EQ((TYmd{1995, 6, 15}), d);
    EXPECT_EQ(95 << 9 | 6 << 5 | 15, PackDateField(TYmd{1995, 6, 15}));
}

TEST(DateFieldPacked, EveryDateOf1990To2089RoundTrips)
{
    for (int y = PackedFieldFirstYear; y <= PackedFieldLastYear; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int day = 1; day <= ClampYmd(y, m, 31).Day; ++day) {
                TYmd date{y, m, day}, back;
                std::uint16_t p = PackDateField(date);
                ASSERT_NE(0, p);
                ASSERT_TRUE(UnpackDateField(p, back));
                ASSERT_EQ(date, back);
            }
}

TEST(DateFieldPacked, YearsItCannotReadBackPackAsNoDate)
{
    EXPECT_EQ(0, PackDateField(TYmd{1950, 5, 5}));
    EXPECT_EQ(0, PackDateField(TYmd{2150, 5, 5}));
    EXPECT_EQ(0, PackDateField(TYmd{1989, 12, 31}));
    EXPECT_EQ(0, PackDateField(TYmd{2090, 1, 1}));
}

TEST(DateFieldPacked, WordsThatAreNoDateAreRefusedAndLeaveTheDate)
{
    TYmd d{2001, 2, 3};
    EXPECT_FALSE(UnpackDateField(0, d));
    EXPECT_FALSE(UnpackDateField(13 << 9 | 0 << 5 | 1, d));   // month 0
    EXPECT_FALSE(UnpackDateField(13 << 9 | 13 << 5 | 1, d));  // month 13
    EXPECT_FALSE(UnpackDateField(13 << 9 | 2 << 5 | 30, d));  // 30 February
    EXPECT_FALSE(UnpackDateField(13 << 9 | 1 << 5 | 0, d));   // day 0
    EXPECT_EQ((TYmd{2001, 2, 3}), d);
}

TEST(DateFieldPlacement, EachQuarterOfTheWorkAreaHasItsSide)
{
    const TRect work = Rect(0, 0, 1000, 800), keep = Bounds(5, 6, 7, 8);
    // Upper left: below, left edges aligned.
    EXPECT_EQ(Bounds(100, 120, 200, 150), PlaceDropDown(Rect(100, 100, 250, 120), 200, 150, work, keep));
    // Upper right: below, right edges aligned.
    EXPECT_EQ(Bounds(700, 120, 200, 150), PlaceDropDown(Rect(750, 100, 900, 120), 200, 150, work, keep));
    // Lower left: above, left edges aligned.
    EXPECT_EQ(Bounds(100, 550, 200, 150), PlaceDropDown(Rect(100, 700, 250, 720), 200, 150, work, keep));
    // Lower right: above, right edges aligned.
    EXPECT_EQ(Bounds(700, 550, 200, 150), PlaceDropDown(Rect(750, 700, 900, 720), 200, 150, work, keep));
    // The split lies at the half: a centre on it belongs to the right and lower quarters.
    EXPECT_EQ(Bounds(400, 240, 200, 150), PlaceDropDown(Rect(400, 390, 600, 410), 200, 150, work, keep));
}

TEST(DateFieldPlacement, ACentreOutsideTheWorkAreaKeepsTheFormWhereItIs)
{
    const TRect work = Rect(0, 0, 1000, 760), keep = Bounds(5, 6, 7, 8);
    EXPECT_EQ(keep, PlaceDropDown(Rect(-300, 100, -100, 120), 200, 150, work, keep));
    EXPECT_EQ(keep, PlaceDropDown(Rect(100, 770, 300, 790), 200, 150, work, keep));  // on the task bar
    EXPECT_EQ(keep, PlaceDropDown(Rect(1100, 100, 1300, 120), 200, 150, work, keep));
    // A work area that does not start at 0 still splits at Right / 2 and Bottom / 2.
    EXPECT_EQ(Bounds(300, 120, 200, 150),
              PlaceDropDown(Rect(300, 100, 500, 120), 200, 150, Rect(200, 0, 1000, 800), keep));
}
