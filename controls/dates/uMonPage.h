#pragma once
// TXMonthPage: a painted page of one month for picking a date with the mouse or the keys. A title
// with the month and year between two arrow buttons (the month's name pops up a menu of the months, the
// year opens a box to type or step it), the day names from Monday, six weeks of days with the
// neighbouring months' days in grey, and a line with today's date that goes to it. The page reports the
// chosen date through OnSelectDate and then hides itself, or closes the form it drops down in.
#include <functional>

#include "controls/dates/MonthGrid.h"
#include "framework/windows/Controls.h"

class TComboBox;
class TPopupMenu;
class TUpDown;
class TZButton;

// SelDtTm and dmy ("dd.mm.yyyy") are the chosen date. bHideOnSelect comes in true when the page is
// about to hide (Enter, a double click, Esc) and false when it stays (Space, a click); the handler may
// set it to hide the page all the same.
using TSelectDateEvent =
    std::function<void(TObject *Sender, TDateTime SelDtTm, const AnsiString &dmy, bool &bHideOnSelect)>;

class TXMonthPage : public TCustomControl {
public:
    explicit TXMonthPage(TComponent *owner);
    // A page that drops down in a form of its own (a date field's): it closes that form instead of
    // hiding itself.
    TXMonthPage(TComponent *owner, bool dropDown);
    ~TXMonthPage() override;

    // Shows the date's month with the date as the shown day, and keeps it as the given date that Esc
    // goes back to.
    void SetDate(TDateTime date);
    // Shows a month with a day in it: year, month and day clamped to 1900..2222, 1..12 and the days of
    // that month; 0 keeps the one shown.
    void ShowMonth(int year, int month, int day);
    // Reports the hot day (or the shown day when none is hot) through OnSelectDate; hides when asked or
    // when the handler asks.
    void SelectDate(bool hide);
    // Moves the shown day by n days, across months and years, inside 1900..2222.
    void MoveDays(int n);
    // Shows the year of the year box and closes the box (a skipped apply only clears its mark).
    void ApplyYear();
    // The year box as the user opens it, by a click on the title's year.
    void ShowYearBox();
    // The page keeps its place scaled and takes its own size in its scaled font: its parts are measured
    // from the font, and the page's size scaled on top of a font that grew already would grow twice.
    void ScaleBy(int m, int d) override;

    TYmd Shown() const { return shown_; }
    TYmd Given() const { return given_; }
    TDateTime ShownDate() const { return DateOf(shown_); }
    TDateTime GivenDate() const { return DateOf(given_); }
    // The day under the mouse in the shown month, or -1.
    int HotDay() const { return hotDay_; }
    bool DropDown() const { return dropDown_; }
    const TMonthGrid &Grid() const { return grid_; }
    const TMonthLayout &Layout() const { return layout_; }
    // The part of the title a click opens the year box from, in the last painting's font.
    TRect YearPart() const { return yearPart_; }
    AnsiString TodayText() const { return todayText_; }

    TZButton *LeftArrow() const { return leftArrow_; }
    TZButton *RightArrow() const { return rightArrow_; }
    TPopupMenu *MonthMenu() const { return monthMenu_; }
    TComboBox *YearBox() const { return yearBox_; }
    TUpDown *YearUpDown() const { return yearUpDown_; }

    TSelectDateEvent OnSelectDate;

    void WndProc(TMessage &message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void KeyDown(uint16_t &key, TShiftState shift) override;
    void Resize() override;
    void FontChanged() override;

private:
    void MakeParts();
    // Measures the font and places the parts; natural: the page takes its own size.
    void LayOut(bool natural);
    void SetHotDay(int day);
    void YearBoxKeyDown(uint16_t &key);
    void HideYearBox();
    void UpdateMonthMenu();

    TYmd shown_, given_;
    TMonthGrid grid_;
    int hotDay_ = -1;
    TMonthLayout layout_;
    TRect yearPart_;
    AnsiString todayText_;
    TZButton *leftArrow_ = nullptr;
    TZButton *rightArrow_ = nullptr;
    TPopupMenu *monthMenu_ = nullptr;
    TComboBox *yearBox_ = nullptr;
    TUpDown *yearUpDown_ = nullptr;
    bool dropDown_ = false;
    bool skipApply_ = false;
    bool layingOut_ = false;
};
