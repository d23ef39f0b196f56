#include "controls/dates/MonthGrid.h"

#include <algorithm>
#include <array>
#include <memory>

#include "controls/UZLangBox.h"

namespace {
// The calendar day numbers of the first and last dates the page offers.
double FirstDay() { return EncodeDate(MonthPageFirstYear, 1, 1); }
double LastDay() { return EncodeDate(MonthPageLastYear, 12, 31); }

struct TNames {
    AnsiString Today;
    std::array<AnsiString, 7> Days;
    std::array<AnsiString, 12> Months;
};

// [elg_Rus], [elg_Ukr]; null outside the controls' run.
std::unique_ptr<std::array<TNames, 2>> names;

const TNames *Current()
{
    if (!names)
        return nullptr;
    return &(*names)[InterfaceLang() == elg_Ukr ? 1 : 0];
}

AnsiString TwoDigits(int v)
{
    AnsiString s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}
}  // namespace

TYmd ClampYmd(int year, int month, int day)
{
    TYmd r;
    r.Year = std::clamp(year, MonthPageFirstYear, MonthPageLastYear);
    r.Month = std::clamp(month, 1, 12);
    r.Day = std::clamp(
        day, 1,
        static_cast<int>(DaysInAMonth(static_cast<unsigned short>(r.Year), static_cast<unsigned short>(r.Month))));
    return r;
}

TYmd YmdOf(TDateTime date)
{
    unsigned short y, m, d;
    DecodeDate(date, y, m, d);
    return TYmd{y, m, d};
}

TDateTime DateOf(const TYmd &ymd)
{
    TYmd c = ClampYmd(ymd.Year, ymd.Month, ymd.Day);
    return EncodeDate(static_cast<unsigned short>(c.Year), static_cast<unsigned short>(c.Month),
                      static_cast<unsigned short>(c.Day));
}

int MondayWeekday(TDateTime date)
{
    // DayOfWeek counts from Sunday = 1.
    return (DayOfWeek(date) + 5) % 7 + 1;
}

TMonthGrid MakeMonthGrid(int year, int month)
{
    TYmd first = ClampYmd(year, month, 1);
    TMonthGrid g;
    g.Year = first.Year;
    g.Month = first.Month;
    g.FirstWeekday = MondayWeekday(DateOf(first));
    auto days = [](int y, int m) {
        if (m < 1) {
            m = 12;
            --y;
        } else if (m > 12) {
            m = 1;
            ++y;
        }
        return static_cast<int>(DaysInAMonth(static_cast<unsigned short>(y), static_cast<unsigned short>(m)));
    };
    g.Days = days(g.Year, g.Month);
    g.PrevDays = days(g.Year, g.Month - 1);
    g.NextDays = days(g.Year, g.Month + 1);
    return g;
}

TMonthCell MonthCellAt(const TMonthGrid &grid, int cell)
{
    if (cell < 0 || cell >= TMonthGrid::Cells)
        return {};
    int day = cell - (grid.FirstWeekday - 1) + 1;
    if (day < 1)
        return {grid.PrevDays + day, -1};
    if (day > grid.Days)
        return {day - grid.Days, 1};
    return {day, 0};
}

TYmd MonthCellDate(const TMonthGrid &grid, int cell)
{
    TMonthCell c = MonthCellAt(grid, cell);
    if (c.Day == 0)
        return ClampYmd(grid.Year, grid.Month, 1);
    int year = grid.Year, month = grid.Month + c.Offset;
    if (month < 1) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    // Before 1900 or after 2222 the neighbour's days are not offered: the nearest date is.
    if (year < MonthPageFirstYear)
        return TYmd{MonthPageFirstYear, 1, 1};
    if (year > MonthPageLastYear)
        return TYmd{MonthPageLastYear, 12, 31};
    return TYmd{year, month, c.Day};
}

int MonthDayCell(const TMonthGrid &grid, int day)
{
    if (day < 1 || day > grid.Days)
        return -1;
    return grid.FirstWeekday - 1 + day - 1;
}

TYmd MoveYmdDays(const TYmd &from, int n)
{
    double d = std::clamp(DateOf(from) + n, FirstDay(), LastDay());
    return YmdOf(d);
}

TYmd MoveYmdMonths(const TYmd &from, int n)
{
    long long months = static_cast<long long>(from.Year) * 12 + (from.Month - 1) + n;
    months = std::clamp(months, static_cast<long long>(MonthPageFirstYear) * 12,
                        static_cast<long long>(MonthPageLastYear) * 12 + 11);
    return ClampYmd(static_cast<int>(months / 12), static_cast<int>(months % 12) + 1, from.Day);
}

AnsiString YmdText(const TYmd &ymd)
{
    return TwoDigits(ymd.Day) + "." + TwoDigits(ymd.Month) + "." + std::to_string(ymd.Year);
}

void FillMonthPageNames()
{
    names = std::make_unique<std::array<TNames, 2>>();
    TNames &rus = (*names)[0], &ukr = (*names)[1];
    rus.Today = "Сегодня";
    rus.Days = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
    rus.Months = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                  "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    ukr.Today = "Сьогодні";
    ukr.Days = {"Пн", "Вв", "Ср", "Чт", "Пт", "Сб", "Нд"};
    ukr.Months = {"Січень", "Лютий",   "Березень", "Квітень", "Травень",  "Червень",
                  "Липень", "Серпень", "Вересень", "Жовтень", "Листопад", "Грудень"};
}

void ClearMonthPageNames() { names.reset(); }

AnsiString MonthPageTodayWord()
{
    const TNames *n = Current();
    return n ? n->Today : AnsiString();
}

AnsiString MonthPageDayName(int column)
{
    const TNames *n = Current();
    return n && column >= 0 && column < 7 ? n->Days[static_cast<size_t>(column)] : AnsiString();
}

AnsiString MonthPageMonthName(int month)
{
    const TNames *n = Current();
    return n && month >= 1 && month <= 12 ? n->Months[static_cast<size_t>(month - 1)] : AnsiString();
}

AnsiString MonthPageTitle(int year, int month) { return MonthPageMonthName(month) + " " + std::to_string(year); }

AnsiString MonthMenuCaption(int month) { return TwoDigits(month) + " " + MonthPageMonthName(month); }

AnsiString MonthTodayLine(const TYmd &today) { return MonthPageTodayWord() + " " + YmdText(today); }

const char *const MonthPageSample = "ЩЙоктября 9999 г";

TMonthLayout MonthPageLayout(int sampleWidth, int textHeight, int width, int height)
{
    constexpr int margin = 2, gap = 2;
    TMonthLayout l;
    textHeight = std::max(textHeight, 1);
    // The title holds the widest month and year between the two arrows; two digits fit a cell.
    int titleNeed = std::max(sampleWidth, 0) + 2 * (TMonthLayout::ArrowWidth + 2 * gap);
    l.CellWidth = std::max((titleNeed + TMonthGrid::Cols - 1) / TMonthGrid::Cols, textHeight + 8);
    l.CellHeight = textHeight + 4;
    const int titleHeight = std::max(TMonthLayout::ArrowHeight + 2 * gap, textHeight + 8);
    // The title, the gaps, the margin below and the line under the names; the names, six weeks and
    // today's line are a cell high each.
    const int fixedHeight = titleHeight + 4 * gap + 1;
    constexpr int cellRows = TMonthGrid::Rows + 2;
    if (width > 2 * margin + TMonthGrid::Cols * l.CellWidth)
        l.CellWidth = (width - 2 * margin) / TMonthGrid::Cols;
    if (height > fixedHeight + cellRows * l.CellHeight)
        l.CellHeight = (height - fixedHeight) / cellRows;
    l.Width = std::max(width, 2 * margin + TMonthGrid::Cols * l.CellWidth);
    int y = 0;
    l.Title = Rect(0, y, l.Width, y + titleHeight);
    y = l.Title.Bottom + gap;
    l.DayNames = Rect(margin, y, l.Width - margin, y + l.CellHeight);
    l.NamesLineY = l.DayNames.Bottom;
    y = l.NamesLineY + 1 + gap;
    l.Grid = Rect(margin, y, l.Width - margin, y + TMonthGrid::Rows * l.CellHeight);
    y = l.Grid.Bottom + gap;
    l.Today = Rect(margin, y, l.Width - margin, y + l.CellHeight);
    l.Height = std::max(height, l.Today.Bottom + gap);
    int arrowTop = l.Title.Top + (l.Title.Height() - TMonthLayout::ArrowHeight) / 2;
    l.LeftArrow = Bounds(gap, arrowTop, TMonthLayout::ArrowWidth, TMonthLayout::ArrowHeight);
    l.RightArrow =
        Bounds(l.Width - gap - TMonthLayout::ArrowWidth, arrowTop, TMonthLayout::ArrowWidth, TMonthLayout::ArrowHeight);
    return l;
}

TRect MonthLayoutCell(const TMonthLayout &layout, int cell)
{
    if (cell < 0 || cell >= TMonthGrid::Cells)
        return {};
    int col = cell % TMonthGrid::Cols, row = cell / TMonthGrid::Cols;
    return Bounds(layout.Grid.Left + col * layout.CellWidth, layout.Grid.Top + row * layout.CellHeight,
                  layout.CellWidth, layout.CellHeight);
}

int MonthLayoutCellAt(const TMonthLayout &layout, int x, int y)
{
    if (layout.CellWidth <= 0 || layout.CellHeight <= 0 || x < layout.Grid.Left || y < layout.Grid.Top ||
        x >= layout.Grid.Right || y >= layout.Grid.Bottom)
        return -1;
    int col = (x - layout.Grid.Left) / layout.CellWidth, row = (y - layout.Grid.Top) / layout.CellHeight;
    return row * TMonthGrid::Cols + col;
}
