// The date field's calendar as a window among the others: where it drops down on the work area, a
// second drop-down that hides it or brings it back to the front, and closing when the focus goes to
// another window, with the keys and clicks the window system delivers.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/dates/uMonPage.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Mask.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "tests/controls/dates/DateFieldHost.h"

namespace {
class DateFieldDropDownThroughTheWindowSystem : public DateFieldHost {
protected:
    void SetUp() override
    {
        DateFieldHost::SetUp();
        other = host->Add<TEdit>();
        other->SetBounds(200, 200, 120, 21);
    }
    void TearDown() override
    {
        other->Free();
        DateFieldHost::TearDown();
    }

    // The field's rectangle on the screen.
    TRect FieldOnScreen() const
    {
        const TPoint at = field->ClientToScreen(Point(0, 0));
        return Bounds(at.X, at.Y, field->Width(), field->Height());
    }
    // True when a visible window above the calendar's form in the z-order overlaps it.
    bool Covered() const
    {
        HWND drop = field->DropDownForm()->Handle();
        RECT mine, theirs, both;
        GetWindowRect(drop, &mine);
        for (HWND w = GetWindow(drop, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
            if (IsWindowVisible(w) && GetWindowRect(w, &theirs) && IntersectRect(&both, &mine, &theirs))
                return true;
        return false;
    }
    // A click of the real pointer at a point of the screen.
    static void RealClick(const TPoint &at)
    {
        MovePointerTo(at);
        PumpFor(50);
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        PumpFor(300);
    }

    TEdit *other = nullptr;
};

// A window of the program over the screen that never takes the focus, as a stay-on-top tool window
// of another part of the program may stand over the calendar.
struct Cover {
    Cover()
    {
        window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0,
                                 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Cover() { DestroyWindow(window); }
    Cover(const Cover &) = delete;
    Cover &operator=(const Cover &) = delete;
    // Shown on top of every other window at the rectangle, without taking the focus.
    void PutOnTop(const TRect &r) const
    {
        SetWindowPos(window, HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    HWND window;
};
}  // namespace

TEST_F(DateFieldDropDownThroughTheWindowSystem,
       ASecondDropDownHidesTheCalendarUnlessAWindowCoversItThenBringsItToTheFront)
{
    field->SetSelDate(EncodeDate(2024, 3, 15));
    field->DropDown();
    Pump();
    TForm *drop = field->DropDownForm();
    TXMonthPage *page = field->MonthPage();
    ASSERT_TRUE(drop->Visible());

    Cover cover;
    const TRect dropped = drop->BoundsRect();
    cover.PutOnTop(Bounds(dropped.Left + 20, dropped.Top + 20, 60, 40));
    Pump();
    ASSERT_TRUE(drop->Visible());
    ASSERT_TRUE(Covered());
    field->SetSelDate(EncodeDate(2025, 1, 10));  // changed while the calendar is up
    page->ShowMonth(2025, 6, 1);                 // and the page turned elsewhere
    field->DropDown();
    Pump();
    EXPECT_TRUE(drop->Visible());
    EXPECT_FALSE(Covered());
    EXPECT_EQ((TYmd{2025, 1, 10}), page->Given());
    EXPECT_EQ((TYmd{2025, 1, 10}), page->Shown());
    EXPECT_EQ(page->Handle(), GetFocus());

    // A window above it that lies elsewhere covers nothing: the next drop-down hides the calendar.
    cover.PutOnTop(Bounds(dropped.Right + 10, dropped.Top, 60, 40));
    Pump();
    ASSERT_TRUE(drop->Visible());
    field->DropDown();
    Pump();
    EXPECT_FALSE(drop->Visible());
    EXPECT_EQ(field->Edit()->Handle(), GetFocus());
    EXPECT_EQ(EncodeDate(2025, 1, 10), field->SelDate());
}

TEST_F(DateFieldDropDownThroughTheWindowSystem, FromEachCornerOfTheWorkAreaTheCalendarDropsDownInsideIt)
{
    const TRect work = Screen->WorkArea();
    TForm *form = host->form;
    const TRect home = form->BoundsRect();
    struct Corner {
        bool right, lower;
    };
    for (Corner corner : {Corner{false, false}, Corner{true, false}, Corner{false, true}, Corner{true, true}}) {
        SCOPED_TRACE(std::string(corner.lower ? "lower " : "upper ") + (corner.right ? "right" : "left"));
        // The form in the corner, the field 10 px from the form's edges on that side.
        form->SetBounds(corner.right ? work.Right - home.Width() : work.Left,
                        corner.lower ? work.Bottom - home.Height() : work.Top, home.Width(), home.Height());
        field->SetBounds(corner.right ? form->ClientWidth() - field->Width() - 10 : 10,
                         corner.lower ? form->ClientHeight() - field->Height() - 10 : 10, field->Width(),
                         field->Height());
        Pump();
        field->DropDown();
        Pump();
        TForm *drop = field->DropDownForm();
        ASSERT_TRUE(drop->Visible());
        const TRect at = FieldOnScreen(), dropped = drop->BoundsRect();
        EXPECT_EQ(corner.right ? at.Right : at.Left, corner.right ? dropped.Right : dropped.Left);
        EXPECT_EQ(corner.lower ? at.Top : at.Bottom, corner.lower ? dropped.Bottom : dropped.Top);
        EXPECT_GE(dropped.Left, work.Left);
        EXPECT_GE(dropped.Top, work.Top);
        EXPECT_LE(dropped.Right, work.Right);
        EXPECT_LE(dropped.Bottom, work.Bottom);
        drop->Hide();
    }
    form->SetBounds(home.Left, home.Top, home.Width(), home.Height());
}

TEST_F(DateFieldDropDownThroughTheWindowSystem, TheCalendarClosesWhenTheFocusGoesToAnotherWindowAndLeavesTheFocusThere)
{
    field->SetSelDate(EncodeDate(2024, 3, 15));
    field->DropDown();
    Pump();
    TForm *drop = field->DropDownForm();
    ASSERT_TRUE(drop->Visible());
    TXMonthPage *page = field->MonthPage();
    page->MoveDays(2);
    page->SelectDate(false);  // a day chosen, the calendar still up
    ASSERT_TRUE(drop->Visible());
    other->SetFocus();  // the program's form comes to the front with the focus in its other edit
    PumpFor(100);
    EXPECT_FALSE(drop->Visible());
    EXPECT_EQ(other->Handle(), GetFocus());
    EXPECT_EQ("17.03.2024", field->Edit()->Text());
    EXPECT_EQ(EncodeDate(2024, 3, 17), field->SelDate());
    // It drops down again as before.
    field->DropDown();
    Pump();
    EXPECT_TRUE(drop->Visible());
    EXPECT_EQ((TYmd{2024, 3, 17}), page->Given());
    drop->Hide();
}

TEST_F(DateFieldDropDownThroughTheWindowSystem,
       SwitchingTheDateOffClosesTheCalendarAndFreeingTheFieldTakesAnOpenOneAlong)
{
    field->SetChecked(true);
    field->DropDown();
    Pump();
    TForm *drop = field->DropDownForm();
    ASSERT_TRUE(drop->Visible());
    field->SetChecked(false);
    Pump();
    EXPECT_FALSE(drop->Visible());
    EXPECT_FALSE(field->Edit()->Enabled());
    EXPECT_NE(field->Edit()->Handle(), GetFocus());  // a disabled edit is given no focus
    field->SetChecked(true);
    field->DropDown();
    Pump();
    ASSERT_TRUE(drop->Visible());
    HWND dropWindow = drop->Handle();
    field->Free();
    field = nullptr;
    PumpFor(100);
    EXPECT_FALSE(IsWindow(dropWindow));
    other->SetFocus();  // the form goes on working
    Pump();
    EXPECT_EQ(other->Handle(), GetFocus());
}

namespace {
HWND dropWindow = nullptr;
bool menuOpen = false, upWhileTheMenuWasOpen = false;
// Closes the open menu from inside its own message loop, noting whether the calendar was up.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    upWhileTheMenuWasOpen = menuOpen && IsWindowVisible(dropWindow);
    EndMenu();
}
}  // namespace

TEST_F(DateFieldDropDownThroughTheWindowSystem, TheMonthMenuOpensOverTheCalendarWithoutClosingIt)
{
    field->DropDown();
    Pump();
    TForm *drop = field->DropDownForm();
    TXMonthPage *page = field->MonthPage();
    ASSERT_TRUE(drop->Visible());
    dropWindow = drop->Handle();
    upWhileTheMenuWasOpen = false;
    TNotifyEvent named = page->MonthMenu()->OnPopup;
    page->MonthMenu()->OnPopup = [named](TObject *sender) {
        named(sender);
        menuOpen = true;  // until the click that opened it is handled
    };
    SetTimer(nullptr, 0, 200, CloseMenu);
    const TRect title = page->Layout().Title;
    Click(page->Handle(), Point(title.Left + 30, (title.Top + title.Bottom) / 2));  // the month's name
    menuOpen = false;
    PumpFor(300);
    EXPECT_TRUE(upWhileTheMenuWasOpen);
    EXPECT_TRUE(drop->Visible());
    drop->Hide();
}

TEST_F(DateFieldDropDownThroughTheWindowSystem, TheButtonOpensAndClosesTheCalendarAndAClickElsewhereClosesIt)
{
    field->SetSelDate(EncodeDate(2024, 3, 15));
    TForm *drop = field->DropDownForm();
    const TPoint button = field->Button()->ClientToScreen(Centre(field->Button()->ClientRect()));
    RealClick(button);
    ASSERT_TRUE(drop->Visible());
    // A click on a day inside the calendar sets the date and keeps it up.
    TXMonthPage *page = field->MonthPage();
    RealClick(page->ClientToScreen(Centre(MonthLayoutCell(page->Layout(), MonthDayCell(page->Grid(), 20)))));
    EXPECT_TRUE(drop->Visible());
    EXPECT_EQ("20.03.2024", field->Edit()->Text());
    // The press on the button closes it, and the click it ends does not open it again.
    RealClick(button);
    EXPECT_FALSE(drop->Visible());
    RealClick(button);
    EXPECT_TRUE(drop->Visible());
    // A click on another control of the form closes it and the focus stays there.
    RealClick(other->ClientToScreen(Point(10, 10)));
    EXPECT_FALSE(drop->Visible());
    EXPECT_EQ(other->Handle(), GetFocus());
    EXPECT_EQ("20.03.2024", field->Edit()->Text());
}

TEST_F(DateFieldDropDownThroughTheWindowSystem, AClickOnAMonthArrowKeepsTheKeyboardThereSoEnterTurnsTheMonthAgain)
{
    field->SetSelDate(EncodeDate(2024, 3, 15));
    field->DropDown();
    Pump();
    TForm *drop = field->DropDownForm();
    TXMonthPage *page = field->MonthPage();
    ASSERT_TRUE(drop->Visible());
    TZButton *arrow = page->RightArrow();
    const TPoint centre = arrow->ClientToScreen(Point(arrow->Width() / 2, arrow->Height() / 2));
    RealClick(centre);
    EXPECT_EQ((TYmd{2024, 4, 15}), page->Shown());
    EXPECT_TRUE(PumpUntil([&] { return arrow->Focused(); }, 2000));
    KeyStroke(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return page->Shown().Month == 5; }, 2000));
    EXPECT_TRUE(drop->Visible());
    EXPECT_EQ(EncodeDate(2024, 3, 15), field->SelDate());
    drop->Hide();
    Pump();
}
