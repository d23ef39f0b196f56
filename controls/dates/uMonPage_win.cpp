#include "controls/dates/uMonPage.h"

#include <algorithm>

#include "controls/buttons/UZButton.h"
#include "framework/windows/ComCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/Messages.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/VirtualKeys.h"

namespace {
// What the page answers when asked which keys it takes: arrows, Tab and characters, as a button does;
// Enter and Esc reach its key handler before the form's default and cancel buttons.
constexpr intptr_t MonthPageDlgCode = DLGC_BUTTON | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
static_assert(MonthPageDlgCode == 0x2083);

constexpr int UpDownWidth = 17;

bool Inside(const TRect &r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

TYmd Today() { return YmdOf(Date()); }

}  // namespace

TXMonthPage::TXMonthPage(TComponent *owner) : TXMonthPage(owner, false) {}

TXMonthPage::TXMonthPage(TComponent *owner, bool dropDown) : TCustomControl(owner), dropDown_(dropDown)
{
    SetTabStop(true);
    SetColor(clWindow);
    shown_ = given_ = ClampYmd(Today().Year, Today().Month, Today().Day);
    grid_ = MakeMonthGrid(shown_.Year, shown_.Month);
    MakeParts();
    LayOut(true);
}

TXMonthPage::~TXMonthPage() = default;

void TXMonthPage::MakeParts()
{
    auto arrow = [this](EImgLs16x16 glyph, int months) {
        auto *b = new TZButton(this);
        b->SetParent(this);
        b->SetImageNo(glyph);
        b->SetTabStop(true);
        b->OnClick = [this, months](TObject *) {
            hotDay_ = -1;
            TYmd to = MoveYmdMonths(shown_, months);
            ShowMonth(to.Year, to.Month, to.Day);
        };
        b->OnKeyDown = [this](TObject *, uint16_t &key, TShiftState) {
            if (key == VK_ESCAPE) {
                key = 0;
                SetFocus();
            }
        };
        return b;
    };
    leftArrow_ = arrow(eil16x16_LArrow, -1);
    rightArrow_ = arrow(eil16x16_RArrow, 1);

    monthMenu_ = new TPopupMenu(this);
    monthMenu_->SetAutoPopup(false);
    for (int month = 1; month <= 12; ++month) {
        auto *item = new TMenuItem(monthMenu_);
        item->SetTag(month);
        item->OnClick = [this, month](TObject *) {
            hotDay_ = -1;
            ShowMonth(0, month, 0);
        };
        monthMenu_->Items()->Add(item);
    }
    // The names follow the interface language at each popup.
    monthMenu_->OnPopup = [this](TObject *) { UpdateMonthMenu(); };
    UpdateMonthMenu();

    yearBox_ = new TComboBox(this);
    yearBox_->SetVisible(false);
    yearBox_->SetParent(this);
    yearBox_->SetStyle(csDropDownList);
    yearBox_->SetDropDownCount(12);
    yearBox_->OnChange = [this](TObject *) {
        if (yearBox_->ItemIndex() >= 0)
            yearUpDown_->SetPosition(yearUpDown_->Min() + yearBox_->ItemIndex());
    };
    yearBox_->OnKeyDown = [this](TObject *, uint16_t &key, TShiftState) { YearBoxKeyDown(key); };
    yearBox_->OnExit = [this](TObject *) { ApplyYear(); };

    yearUpDown_ = new TUpDown(this);
    yearUpDown_->SetVisible(false);
    yearUpDown_->SetParent(this);
    yearUpDown_->SetThousands(false);
    yearUpDown_->SetMin(MonthPageFirstYear);
    yearUpDown_->SetMax(MonthPageLastYear);
    yearUpDown_->OnClick = [this](TObject *) { yearBox_->SetItemIndex(yearUpDown_->Position() - yearUpDown_->Min()); };
}

void TXMonthPage::UpdateMonthMenu()
{
    for (int i = 0; i < monthMenu_->Items()->Count(); ++i) {
        TMenuItem *item = monthMenu_->Items()->Items(i);
        item->SetCaption(MonthMenuCaption(static_cast<int>(item->Tag())));
        item->SetChecked(item->Tag() == shown_.Month);
    }
}

void TXMonthPage::LayOut(bool natural)
{
    if (layingOut_)
        return;
    layingOut_ = true;
    TMeasureCanvas measure;
    measure.Font()->Assign(*Font());
    measure.Font()->SetStyle(Font()->Style() | fsBold);
    const int sampleWidth = measure.TextWidth(MonthPageSample);
    const int textHeight = measure.TextHeight(MonthPageSample);
    layout_ = MonthPageLayout(sampleWidth, textHeight, natural ? 0 : ClientWidth(), natural ? 0 : ClientHeight());
    if (Width() != layout_.Width || Height() != layout_.Height)
        SetBounds(Left(), Top(), layout_.Width, layout_.Height);
    leftArrow_->SetBounds(layout_.LeftArrow.Left, layout_.LeftArrow.Top, layout_.LeftArrow.Width(),
                          layout_.LeftArrow.Height());
    rightArrow_->SetBounds(layout_.RightArrow.Left, layout_.RightArrow.Top, layout_.RightArrow.Width(),
                           layout_.RightArrow.Height());
    // The title's year, where a click opens the year box: from the blank before the year to the end.
    AnsiString title = MonthPageTitle(grid_.Year, grid_.Month);
    const int titleWidth = measure.TextWidth(title);
    const int left = layout_.Title.Left + (layout_.Title.Width() - titleWidth) / 2;
    const size_t blank = title.rfind(' ');
    const int yearLeft = left + measure.TextWidth(title.substr(0, blank == AnsiString::npos ? 0 : blank));
    yearPart_ = Rect(yearLeft, layout_.Title.Top, left + titleWidth, layout_.Title.Bottom);
    // The year box and its up-down stand before the right arrow; the month's name keeps the room left
    // of them.
    measure.Font()->SetStyle(Font()->Style());
    const int boxWidth = measure.TextWidth("9999") + 30;
    const int boxHeight = std::min(layout_.Title.Height(), textHeight + 10);
    const int boxTop = layout_.Title.Top + (layout_.Title.Height() - boxHeight) / 2;
    const int boxLeft = std::max(layout_.LeftArrow.Right, layout_.RightArrow.Left - 2 - UpDownWidth - boxWidth);
    yearBox_->SetBounds(boxLeft, boxTop, boxWidth, boxHeight);
    yearUpDown_->SetBounds(boxLeft + boxWidth, boxTop, UpDownWidth, boxHeight);
    todayText_ = MonthTodayLine(Today());
    layingOut_ = false;
    Invalidate();
}

void TXMonthPage::SetDate(TDateTime date)
{
    LayOut(false);
    TYmd d = YmdOf(date);
    given_ = ClampYmd(d.Year, d.Month, d.Day);
    hotDay_ = -1;
    ShowMonth(given_.Year, given_.Month, given_.Day);
}

void TXMonthPage::ShowMonth(int year, int month, int day)
{
    shown_ = ClampYmd(year ? year : shown_.Year, month ? month : shown_.Month, day ? day : shown_.Day);
    const bool otherMonth = grid_.Year != shown_.Year || grid_.Month != shown_.Month;
    grid_ = MakeMonthGrid(shown_.Year, shown_.Month);
    if (hotDay_ > grid_.Days)
        hotDay_ = -1;
    if (otherMonth)
        LayOut(false);  // the title's year moved with the month's name
    Invalidate();
}

void TXMonthPage::MoveDays(int n)
{
    hotDay_ = -1;
    TYmd to = MoveYmdDays(shown_, n);
    ShowMonth(to.Year, to.Month, to.Day);
}

void TXMonthPage::SelectDate(bool hide)
{
    TYmd chosen = hotDay_ > 0 ? ClampYmd(shown_.Year, shown_.Month, hotDay_) : shown_;
    ShowMonth(chosen.Year, chosen.Month, chosen.Day);
    bool hideOnSelect = hide;
    if (OnSelectDate)
        OnSelectDate(this, DateOf(chosen), YmdText(chosen), hideOnSelect);
    if (!hide && !hideOnSelect)
        return;
    if (dropDown_) {
        if (TForm *form = GetParentForm())
            form->Close();
    } else {
        Hide();
    }
}

void TXMonthPage::ShowYearBox()
{
    skipApply_ = false;
    const int low = std::max(MonthPageFirstYear, shown_.Year - 100);
    const int high = std::min(MonthPageLastYear, shown_.Year + 100);
    if (yearUpDown_->Min() != low || yearUpDown_->Max() != high || yearBox_->Items()->Count() != high - low + 1) {
        yearBox_->Items()->Clear();
        for (int year = low; year <= high; ++year)
            yearBox_->Items()->Add(std::to_string(year));
        yearUpDown_->SetMax(MonthPageLastYear);
        yearUpDown_->SetMin(low);
        yearUpDown_->SetMax(high);
    }
    yearUpDown_->SetPosition(shown_.Year);
    yearBox_->SetItemIndex(shown_.Year - low);
    yearBox_->Show();
    yearUpDown_->Show();
    Invalidate();
    yearBox_->BringToFront();
    yearUpDown_->BringToFront();
    if (yearBox_->CanFocus())
        yearBox_->SetFocus();
}

void TXMonthPage::HideYearBox()
{
    yearBox_->Hide();
    yearUpDown_->Hide();
    Invalidate();
}

void TXMonthPage::ApplyYear()
{
    if (skipApply_) {
        skipApply_ = false;
        return;
    }
    if (!yearBox_->Visible())
        return;
    const int year = yearUpDown_->Position();
    HideYearBox();
    hotDay_ = -1;
    ShowMonth(year, 0, 0);
    if (yearBox_->Focused() && CanFocus())
        SetFocus();
}

void TXMonthPage::YearBoxKeyDown(uint16_t &key)
{
    if (key == VK_RETURN) {
        key = 0;
        if (yearBox_->DroppedDown())
            yearBox_->SetDroppedDown(false);
        const bool hadFocus = yearBox_->Focused();
        ApplyYear();
        if (hadFocus && CanFocus())
            SetFocus();
    } else if (key == VK_ESCAPE) {
        key = 0;
        yearBox_->SetDroppedDown(false);
        // The focus leaving the box would apply its year: that apply is skipped.
        skipApply_ = true;
        const bool hadFocus = yearBox_->Focused();
        if (CanFocus())
            SetFocus();
        if (!hadFocus)
            skipApply_ = false;
        HideYearBox();
    }
}

void TXMonthPage::SetHotDay(int day)
{
    if (day == hotDay_)
        return;
    hotDay_ = day;
    Invalidate();
}

void TXMonthPage::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    if (yearBox_->Visible()) {
        // Leaving the box applies its year; a box that had no focus is just closed.
        if (CanFocus())
            SetFocus();
        HideYearBox();
    } else if (CanFocus() && !Focused()) {
        SetFocus();
    }
    if (shift & ssDouble)
        return;  // the double click selects
    if (Inside(layout_.Today, x, y)) {
        TYmd today = Today();
        hotDay_ = -1;
        ShowMonth(today.Year, today.Month, today.Day);
    } else if (Inside(layout_.Title, x, y)) {
        if (Inside(yearPart_, x, y)) {
            ShowYearBox();
        } else {
            TPoint at = ClientToScreen(Point(x, y));
            monthMenu_->SetPopupComponent(this);
            monthMenu_->Popup(at.X, at.Y);
        }
    } else if (int cell = MonthLayoutCellAt(layout_, x, y); cell >= 0) {
        TMonthCell c = MonthCellAt(grid_, cell);
        if (c.Offset != 0) {
            TYmd to = MonthCellDate(grid_, cell);
            ShowMonth(to.Year, to.Month, to.Day);
            SetHotDay(grid_.Year == to.Year && grid_.Month == to.Month ? to.Day : -1);
        } else {
            SetHotDay(c.Day);
        }
        SelectDate(false);
    }
}

void TXMonthPage::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    int cell = MonthLayoutCellAt(layout_, x, y);
    TMonthCell c = MonthCellAt(grid_, cell);
    SetHotDay(cell >= 0 && c.Offset == 0 ? c.Day : -1);
}

void TXMonthPage::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // Days are chosen as the button goes down.
    TCustomControl::MouseUp(button, shift, x, y);
}

void TXMonthPage::DblClick()
{
    TCustomControl::DblClick();
    SelectDate(true);
}

bool TXMonthPage::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    // The wheel over the page scrolls nothing behind it.
    TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos);
    return true;
}

void TXMonthPage::KeyDown(uint16_t &key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    switch (key) {
    case VK_LEFT:
    case VK_NUMPAD4: MoveDays(-1); break;
    case VK_RIGHT:
    case VK_NUMPAD6: MoveDays(1); break;
    case VK_UP:
    case VK_NUMPAD8: MoveDays(-7); break;
    case VK_DOWN:
    case VK_NUMPAD2: MoveDays(7); break;
    case VK_SPACE:
    case VK_NUMPAD5:
    case VK_CLEAR:  // keypad 5 without Num Lock
        SelectDate(false);
        break;
    case VK_RETURN: SelectDate(true); break;
    case VK_TAB:
        if (leftArrow_->CanFocus())
            leftArrow_->SetFocus();
        break;
    case VK_ESCAPE:
    case VK_CANCEL:  // Ctrl+Break
        hotDay_ = -1;
        ShowMonth(given_.Year, given_.Month, given_.Day);
        SelectDate(true);
        break;
    default: return;
    }
    key = 0;
}

void TXMonthPage::Resize()
{
    TCustomControl::Resize();
    LayOut(false);
}

void TXMonthPage::ScaleBy(int m, int d)
{
    TCustomControl::ScaleBy(m, d);
    LayOut(true);
}

void TXMonthPage::FontChanged()
{
    TCustomControl::FontChanged();
    if (leftArrow_)
        LayOut(true);
}

void TXMonthPage::WndProc(TMessage &m)
{
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = MonthPageDlgCode;
        return;
    }
    if (m.Msg == CM_MOUSELEAVE)
        SetHotDay(-1);
    TCustomControl::WndProc(m);
}

void TXMonthPage::Paint()
{
    TCanvas &c = *Canvas();
    c.Font()->Assign(*Font());
    c.Pen()->SetStyle(psSolid);
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clWindow);
    c.FillRect(ClientRect());
    const unsigned centred = dtCenter | dtVCenter | dtSingleLine | dtNoPrefix;

    // The title: month and year in bold on the selection's colour.
    c.Brush()->SetColor(clHighlight);
    c.FillRect(layout_.Title);
    c.Font()->SetStyle(Font()->Style() | fsBold);
    c.Font()->SetColor(clHighlightText);
    if (yearBox_->Visible()) {
        TRect name = Rect(layout_.LeftArrow.Right + 2, layout_.Title.Top, yearBox_->Left() - 2, layout_.Title.Bottom);
        c.DrawText(MonthPageMonthName(grid_.Month), name, centred | dtEndEllipsis);
    } else {
        TRect title = layout_.Title;
        c.DrawText(MonthPageTitle(grid_.Year, grid_.Month), title, centred);
    }

    // The day names from Monday, a line under them.
    c.Font()->SetStyle(Font()->Style());
    c.Font()->SetColor(clActiveCaption);
    c.Brush()->SetColor(clWindow);
    for (int col = 0; col < TMonthGrid::Cols; ++col) {
        TRect r = Bounds(layout_.DayNames.Left + col * layout_.CellWidth, layout_.DayNames.Top, layout_.CellWidth,
                         layout_.DayNames.Height());
        c.DrawText(MonthPageDayName(col), r, centred);
    }
    c.Pen()->SetColor(clHighlight);
    c.MoveTo(layout_.DayNames.Left, layout_.NamesLineY);
    c.LineTo(layout_.DayNames.Right, layout_.NamesLineY);

    // The days: the shown one highlighted, the hot one framed, today framed in red, the neighbouring
    // months' days in grey.
    const TYmd today = Today();
    for (int cell = 0; cell < TMonthGrid::Cells; ++cell) {
        TMonthCell day = MonthCellAt(grid_, cell);
        TRect r = MonthLayoutCell(layout_, cell);
        const bool shown = day.Offset == 0 && day.Day == shown_.Day;
        if (shown) {
            c.Brush()->SetColor(clHighlight);
            c.FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
        } else {
            c.Brush()->SetColor(clWindow);
        }
        c.Font()->SetColor(shown ? clHighlightText : day.Offset != 0 ? clGrayText : clWindowText);
        TRect text = r;
        c.DrawText(std::to_string(day.Day), text, centred);
        const bool hot = day.Offset == 0 && day.Day == hotDay_;
        const bool isToday = MonthCellDate(grid_, cell) == today;
        if (hot || isToday) {
            c.Brush()->SetStyle(bsClear);
            c.Pen()->SetColor(isToday ? clRed : clHighlight);
            c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
            if (hot && isToday) {
                c.Pen()->SetColor(clHighlight);
                c.Rectangle(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
            }
            c.Brush()->SetStyle(bsSolid);
        }
    }

    // The today line: a red frame as today's day has, then the word and the date.
    todayText_ = MonthTodayLine(today);
    const TRect &line = layout_.Today;
    const int mark = std::min(layout_.CellWidth, 2 * line.Height());
    c.Brush()->SetStyle(bsClear);
    c.Pen()->SetColor(clRed);
    c.Rectangle(line.Left + 2, line.Top + 1, line.Left + 2 + mark, line.Bottom - 1);
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clWindow);
    c.Font()->SetColor(clWindowText);
    TRect text = Rect(line.Left + mark + 8, line.Top, line.Right, line.Bottom);
    c.DrawText(todayText_, text, dtLeft | dtVCenter | dtSingleLine | dtNoPrefix);

    // A thin frame: dropped down over another window the page keeps its edge.
    c.Brush()->SetStyle(bsClear);
    c.Pen()->SetColor(clBtnShadow);
    c.Rectangle(ClientRect());
    c.Brush()->SetStyle(bsSolid);
}
