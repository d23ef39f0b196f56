#pragma once
// The arithmetic of the month page, apart from its window: a month laid out as six weeks of seven
// days from Monday with the neighbouring months' days around it, the dates of its cells, moves by days
// and months kept inside the years the page offers, and the page's texts in the interface language.
#include "framework/runtime/AnsiString.h"
#include "framework/runtime/SysUtils.h"
#include "framework/runtime/Types.h"

// The first and last years a month page shows; every date it shows or reports lies in between.
constexpr int MonthPageFirstYear = 1900;
constexpr int MonthPageLastYear = 2222;

struct TYmd {
    int Year = MonthPageFirstYear;
    int Month = 1;
    int Day = 1;
    bool operator==(const TYmd &) const = default;
};

// The year brought into 1900..2222, the month into 1..12 and the day into 1..the days of that month.
TYmd ClampYmd(int year, int month, int day);
TYmd YmdOf(TDateTime date);
TDateTime DateOf(const TYmd &ymd);

// 1 Monday .. 7 Sunday.
int MondayWeekday(TDateTime date);

// One month on the page's grid of 6 weeks x 7 days (Monday first). The first day of the month stands
// in the column of its weekday in the first week; the cells before it hold the last days of the
// previous month and the cells after the month's last day the first days of the next one.
struct TMonthGrid {
    static constexpr int Cols = 7, Rows = 6, Cells = Cols * Rows;
    int Year = MonthPageFirstYear;
    int Month = 1;
    int FirstWeekday = 1;  // of the 1st: 1 Monday .. 7 Sunday
    int Days = 31;         // in the month
    int PrevDays = 31;     // in the previous month
    int NextDays = 31;     // in the next month
};
// The grid of a month, year and month clamped as ClampYmd does.
TMonthGrid MakeMonthGrid(int year, int month);

// What a cell shows: its day number and whose it is (-1 the previous month, 0 this one, 1 the next).
struct TMonthCell {
    int Day = 0;
    int Offset = 0;
    bool operator==(const TMonthCell &) const = default;
};
// Cells outside 0..41 give day 0.
TMonthCell MonthCellAt(const TMonthGrid &grid, int cell);
// The full date of a cell (its month and year across a year's end); outside the page's years the
// date is clamped.
TYmd MonthCellDate(const TMonthGrid &grid, int cell);
// The cell of a day of the month (-1 for a day outside it).
int MonthDayCell(const TMonthGrid &grid, int day);

// The date n days away, held inside 1 January 1900 .. 31 December 2222.
TYmd MoveYmdDays(const TYmd &from, int n);
// The same day n months away (the last day of a shorter month), held inside the page's years.
TYmd MoveYmdMonths(const TYmd &from, int n);

// "dd.mm.yyyy".
AnsiString YmdText(const TYmd &ymd);

// The page's texts in the interface language: Ukrainian when it is Ukrainian, Russian otherwise. The
// controls' start-up makes the tables and their shutdown frees them; outside that time the texts are
// empty.
void FillMonthPageNames();
void ClearMonthPageNames();
AnsiString MonthPageTodayWord();
// Day names by column, Monday first (0..6); the month's name by number (1..12). Out of range: "".
AnsiString MonthPageDayName(int column);
AnsiString MonthPageMonthName(int month);
// The title: the month's name, a blank and the year.
AnsiString MonthPageTitle(int year, int month);
// An item of the month menu: the month's two-digit number, a blank and its name ("03 Март").
AnsiString MonthMenuCaption(int month);
// The today line: the today word, a blank and "dd.mm.yyyy" of the date.
AnsiString MonthTodayLine(const TYmd &today);

// Where the parts of the month page stand, from the font: the width of the sample text (the widest
// title), the height of a line of text. From top to bottom: the title with the arrow buttons at its
// ends, the day names with a line under them, the 6 x 7 day grid and the today line.
struct TMonthLayout {
    static constexpr int ArrowWidth = 22, ArrowHeight = 18;
    int Width = 0, Height = 0;  // of the page
    int CellWidth = 0, CellHeight = 0;
    TRect Title, DayNames, Grid, Today;
    int NamesLineY = 0;  // the line under the day names
    TRect LeftArrow, RightArrow;
};
// A page larger than it needs to be (width, height) gives the extra room to the cells; 0 or less
// gives the page its own size.
TMonthLayout MonthPageLayout(int sampleWidth, int textHeight, int width = 0, int height = 0);
// The rectangle of a grid cell (0..41); the cell under a point of the page, or -1.
TRect MonthLayoutCell(const TMonthLayout &layout, int cell);
int MonthLayoutCellAt(const TMonthLayout &layout, int x, int y);
// The text the page's width is measured from.
extern const char *const MonthPageSample;
