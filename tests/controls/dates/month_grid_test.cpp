#include <gtest/gtest.h>

#include "controls/dates/MonthGrid.h"
#include "controls/UZLangBox.h"

#include <ostream>

void PrintTo(const TYmd &d, std::ostream *os) { *os << d.Year << '-' << d.Month << '-' << d.Day; }
void PrintTo(const TMonthCell &c, std::ostream *os) { *os << c.Day << " (" << c.Offset << ')'; }

namespace {
// The interface language back to its initial value after each test.
class MonthNames : public ::testing::Test {
protected:
    void TearDown() override { ResetLangs(); }
};
}  // namespace

TEST(MonthGrid, March2024StartsOnFridayAfterTheLastDaysOfALeapFebruary)
{
    TMonthGrid g = MakeMonthGrid(2024, 3);
    EXPECT_EQ(5, g.FirstWeekday);
    EXPECT_EQ(31, g.Days);
    EXPECT_EQ(29, g.PrevDays);
    EXPECT_EQ(30, g.NextDays);
    for (int cell = 0; cell < 4; ++cell) {
        EXPECT_EQ(26 + cell, MonthCellAt(g, cell).Day);
        EXPECT_EQ(-1, MonthCellAt(g, cell).Offset);
    }
    EXPECT_EQ((TMonthCell{1, 0}), MonthCellAt(g, 4));
    EXPECT_EQ(4, MonthDayCell(g, 1));
    EXPECT_EQ(34, MonthDayCell(g, 31));
    EXPECT_EQ((TMonthCell{1, 1}), MonthCellAt(g, 35));  // 1 April
    EXPECT_EQ((TMonthCell{7, 1}), MonthCellAt(g, 41));  // the last cell
    EXPECT_EQ((TYmd{2024, 2, 26}), MonthCellDate(g, 0));
    EXPECT_EQ((TYmd{2024, 4, 7}), MonthCellDate(g, 41));
    EXPECT_EQ(-1, MonthDayCell(g, 0));
    EXPECT_EQ(-1, MonthDayCell(g, 32));
    EXPECT_EQ(0, MonthCellAt(g, -1).Day);
    EXPECT_EQ(0, MonthCellAt(g, 42).Day);
}

TEST(MonthGrid, MonthsStartingOnMondayOrSundayAndNeighboursAcrossTheYear)
{
    TMonthGrid jan2024 = MakeMonthGrid(2024, 1);  // a Monday: no days of December before it
    EXPECT_EQ(1, jan2024.FirstWeekday);
    EXPECT_EQ((TMonthCell{1, 0}), MonthCellAt(jan2024, 0));
    EXPECT_EQ(31, jan2024.PrevDays);
    TMonthGrid dec2023 = MakeMonthGrid(2023, 12);  // a Friday
    EXPECT_EQ((TYmd{2024, 1, 1}), MonthCellDate(dec2023, MonthDayCell(dec2023, 31) + 1));
    TMonthGrid sep2024 = MakeMonthGrid(2024, 9);  // a Sunday: six days of August before it
    EXPECT_EQ(7, sep2024.FirstWeekday);
    EXPECT_EQ((TMonthCell{26, -1}), MonthCellAt(sep2024, 0));
    EXPECT_EQ(35, MonthDayCell(sep2024, 30));     // 30 days from the last column still fit six weeks
    TMonthGrid feb2021 = MakeMonthGrid(2021, 2);  // 28 days from a Monday: two weeks of March after
    EXPECT_EQ((TMonthCell{14, 1}), MonthCellAt(feb2021, 41));
}

TEST(MonthGrid, TheFirstAndLastMonthsOfferNoDatesBeyondThePagesYears)
{
    TMonthGrid first = MakeMonthGrid(1900, 1);  // 1 January 1900 was a Monday
    EXPECT_EQ(1, first.FirstWeekday);
    TMonthGrid last = MakeMonthGrid(2222, 12);
    EXPECT_EQ((TYmd{2222, 12, 31}), MonthCellDate(last, 41));
    TMonthGrid clamped = MakeMonthGrid(1850, 13);
    EXPECT_EQ(1900, clamped.Year);
    EXPECT_EQ(12, clamped.Month);
}

TEST(MonthGrid, DayMovesCrossMonthsAndYearsAndStopAtBothEnds)
{
    EXPECT_EQ((TYmd{1999, 12, 31}), MoveYmdDays(TYmd{2000, 1, 1}, -1));
    EXPECT_EQ((TYmd{2024, 2, 3}), MoveYmdDays(TYmd{2024, 1, 27}, 7));
    EXPECT_EQ((TYmd{2024, 3, 6}), MoveYmdDays(TYmd{2024, 2, 28}, 7));  // over the 29th
    EXPECT_EQ((TYmd{2023, 3, 7}), MoveYmdDays(TYmd{2023, 2, 28}, 7));
    EXPECT_EQ((TYmd{1900, 1, 1}), MoveYmdDays(TYmd{1900, 1, 3}, -7));
    EXPECT_EQ((TYmd{2222, 12, 31}), MoveYmdDays(TYmd{2222, 12, 30}, 7));
    EXPECT_EQ((TYmd{2222, 12, 31}), MoveYmdDays(TYmd{2222, 12, 31}, 1));
}

TEST(MonthGrid, MonthMovesKeepTheDayWhereTheMonthHasIt)
{
    EXPECT_EQ((TYmd{2024, 2, 29}), MoveYmdMonths(TYmd{2024, 1, 31}, 1));
    EXPECT_EQ((TYmd{2023, 12, 15}), MoveYmdMonths(TYmd{2024, 1, 15}, -1));
    EXPECT_EQ((TYmd{2025, 1, 15}), MoveYmdMonths(TYmd{2024, 12, 15}, 1));
    EXPECT_EQ((TYmd{1900, 1, 20}), MoveYmdMonths(TYmd{1900, 1, 20}, -1));
    EXPECT_EQ((TYmd{2222, 12, 20}), MoveYmdMonths(TYmd{2222, 12, 20}, 1));
}

TEST(MonthGrid, ClampsBringEveryPartIntoRange)
{
    EXPECT_EQ((TYmd{1900, 1, 1}), ClampYmd(1899, 0, 0));
    EXPECT_EQ((TYmd{2222, 12, 31}), ClampYmd(2223, 13, 32));
    EXPECT_EQ((TYmd{2023, 2, 28}), ClampYmd(2023, 2, 31));
    EXPECT_EQ((TYmd{2000, 2, 29}), ClampYmd(2000, 2, 30));
    EXPECT_EQ("05.03.2024", YmdText(TYmd{2024, 3, 5}));
    EXPECT_EQ(7, MondayWeekday(EncodeDate(2024, 3, 3)));
    EXPECT_EQ(1, MondayWeekday(EncodeDate(2024, 3, 4)));
}

TEST_F(MonthNames, TablesFollowTheInterfaceLanguage)
{
    SetInterfaceLang(elg_Rus);
    EXPECT_EQ("Сегодня", MonthPageTodayWord());
    EXPECT_EQ("Вт", MonthPageDayName(1));
    EXPECT_EQ("Вс", MonthPageDayName(6));
    EXPECT_EQ("01 Январь", MonthMenuCaption(1));
    EXPECT_EQ("12 Декабрь", MonthMenuCaption(12));
    EXPECT_EQ("Март 2024", MonthPageTitle(2024, 3));
    EXPECT_EQ("Сегодня 07.12.2026", MonthTodayLine(TYmd{2026, 12, 7}));
    SetInterfaceLang(elg_Ukr);
    EXPECT_EQ("Сьогодні", MonthPageTodayWord());
    EXPECT_EQ("Вв", MonthPageDayName(1));
    EXPECT_EQ("Нд", MonthPageDayName(6));
    EXPECT_EQ("01 Січень", MonthMenuCaption(1));
    EXPECT_EQ("11 Листопад", MonthMenuCaption(11));
    EXPECT_EQ("", MonthPageDayName(7));
    EXPECT_EQ("", MonthPageMonthName(0));
    EXPECT_EQ("", MonthPageMonthName(13));
}

TEST_F(MonthNames, TablesLiveFromTheControlsStartToTheirStop)
{
    ClearMonthPageNames();
    EXPECT_EQ("", MonthPageTodayWord());
    EXPECT_EQ("", MonthPageMonthName(1));
    FillMonthPageNames();
    EXPECT_EQ("Січень", MonthPageMonthName(1));
}

TEST(MonthLayout, PartsStackWithoutOverlapAndTheTitleHoldsTheSampleBetweenTheArrows)
{
    for (int sample : {0, 95, 240})
        for (int text : {0, 13, 30}) {
            TMonthLayout l = MonthPageLayout(sample, text);
            SCOPED_TRACE(::testing::Message() << sample << " x " << text);
            EXPECT_LE(l.Title.Bottom, l.DayNames.Top);
            EXPECT_LT(l.NamesLineY, l.Grid.Top);
            EXPECT_LE(l.Grid.Bottom, l.Today.Top);
            EXPECT_LE(l.Today.Bottom, l.Height);
            EXPECT_EQ(7 * l.CellWidth, l.Grid.Width());
            EXPECT_EQ(6 * l.CellHeight, l.Grid.Height());
            EXPECT_GE(l.RightArrow.Left - l.LeftArrow.Right, sample);
            EXPECT_EQ(l.LeftArrow.Top, l.RightArrow.Top);
            EXPECT_LE(l.RightArrow.Right, l.Width);
            EXPECT_GE(l.LeftArrow.Top, l.Title.Top);
            EXPECT_LE(l.LeftArrow.Bottom, l.Title.Bottom);
            EXPECT_GE(l.CellHeight, text);
        }
}

TEST(MonthLayout, CellsAndPointsMeetBothWays)
{
    TMonthLayout l = MonthPageLayout(95, 13);
    for (int cell : {0, 6, 7, 40, 41}) {
        TRect r = MonthLayoutCell(l, cell);
        EXPECT_EQ(cell, MonthLayoutCellAt(l, r.Left, r.Top));
        EXPECT_EQ(cell, MonthLayoutCellAt(l, r.Right - 1, r.Bottom - 1));
    }
    EXPECT_EQ(-1, MonthLayoutCellAt(l, l.Grid.Left - 1, l.Grid.Top));
    EXPECT_EQ(-1, MonthLayoutCellAt(l, l.Grid.Right, l.Grid.Top));
    EXPECT_EQ(-1, MonthLayoutCellAt(l, l.Grid.Left, l.Grid.Bottom));
    EXPECT_EQ(-1, MonthLayoutCellAt(l, l.Title.Left + 30, l.Title.Top + 2));
    EXPECT_EQ(TRect{}, MonthLayoutCell(l, 42));
}

TEST(MonthLayout, ALargerPageGivesItsRoomToTheCellsAndASmallerOneKeepsTheNaturalSize)
{
    TMonthLayout natural = MonthPageLayout(95, 13);
    EXPECT_EQ(natural.Height, MonthPageLayout(95, 13, natural.Width, natural.Height).Height);
    EXPECT_EQ(natural.CellHeight, MonthPageLayout(95, 13, natural.Width, natural.Height).CellHeight);
    TMonthLayout small = MonthPageLayout(95, 13, 10, 10);
    EXPECT_EQ(natural.Width, small.Width);
    EXPECT_EQ(natural.Height, small.Height);
    TMonthLayout big = MonthPageLayout(95, 13, natural.Width + 70, natural.Height + 80);
    EXPECT_EQ(natural.CellWidth + 10, big.CellWidth);
    EXPECT_EQ(natural.CellHeight + 10, big.CellHeight);
    EXPECT_EQ(natural.Width + 70, big.Width);
    EXPECT_EQ(natural.Height + 80, big.Height);
    EXPECT_LE(big.Today.Bottom, big.Height);
    EXPECT_EQ(big.Width - 2, big.RightArrow.Right);
}
