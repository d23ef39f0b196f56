// The month page on a real window: keys and clicks as the window system delivers them, the month menu,
// the year box, and pictures of the page in both languages.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/buttons/UZButton.h"
#include "controls/UZLangBox.h"
#include "controls/dates/uMonPage.h"
#include "framework/windows/ComCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FormHost.h"
#include "tests/support/PageHeap.h"
#include "tests/support/WindowPicture.h"

namespace {
struct Selection {
    TDateTime date;
    AnsiString dmy;
    bool hideOnEntry;
};

// A month page at (10, 10) on a form shown for the whole suite (hiding a top-level window costs
// the window system seconds), today being 7 December 2026; every date the page reports is kept.
class MonthPage : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        host = new FormHost;
        host->form->SetBorderStyle(bsNone);
        // The form's default and cancel buttons, which Enter and Esc on the page must not reach.
        for (bool isDefault : {true, false}) {
            auto *b = host->Add<TButton>();
            b->SetBounds(isDefault ? 220 : 310, 260, 80, 24);
            b->SetCaption(isDefault ? "OK" : "Cancel");
            if (isDefault)
                b->SetDefault(true);
            else
                b->SetCancel(true);
            b->OnClick = [](TObject *) { ++formButtonClicks; };
        }
        host->form->Show();
    }
    static void TearDownTestSuite()
    {
        host->form->Hide();
        delete host;
        host = nullptr;
    }
    void SetUp() override
    {
        ResetLangs();
        page = host->Add<TXMonthPage>();
        page->SetLeft(10);
        page->SetTop(10);
        page->OnSelectDate = [this](TObject *sender, TDateTime date, const AnsiString &dmy, bool &hide) {
            EXPECT_EQ(page, sender);
            chosen.push_back({date, dmy, hide});
        };
        page->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        EXPECT_EQ(0, formButtonClicks);
        page->Free();
        ResetLangs();
    }

    static void Pump()
    {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    }
    // A key as the keyboard sends it: through the message loop, the form's dialog keys and all.
    void Key(HWND window, WORD key)
    {
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        Pump();
    }
    void Key(WORD key) { Key(page->Handle(), key); }
    void Mouse(UINT msg, const TPoint &at)
    {
        PostMessageW(page->Handle(), msg, msg == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(at.X, at.Y));
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)
            PostMessageW(page->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.X, at.Y));
        Pump();
    }
    TPoint CellCentre(int cell) const
    {
        TRect r = MonthLayoutCell(page->Layout(), cell);
        return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    TPoint DayCentre(int day) const { return CellCentre(MonthDayCell(page->Grid(), day)); }

    FakeClock clock{EncodeDate(2026, 12, 7) + EncodeTime(9, 30, 0, 0)};
    TClockOverride clockInForce{clock};
    static FormHost *host;
    static int formButtonClicks;
    TXMonthPage *page = nullptr;
    std::vector<Selection> chosen;
};
FormHost *MonthPage::host = nullptr;
int MonthPage::formButtonClicks = 0;
}  // namespace

TEST_F(MonthPage, StartsOnTodayAndShowsTheGivenDate)
{
    EXPECT_EQ((TYmd{2026, 12, 7}), page->Shown());
    EXPECT_EQ((TYmd{2026, 12, 7}), page->Given());
    EXPECT_EQ("Сьогодні 07.12.2026", page->TodayText());
    page->SetDate(EncodeDate(2024, 3, 15));
    EXPECT_EQ((TYmd{2024, 3, 15}), page->Shown());
    EXPECT_EQ((TYmd{2024, 3, 15}), page->Given());
    EXPECT_EQ(5, page->Grid().FirstWeekday);
    EXPECT_EQ(page->Layout().Width, page->Width());
    EXPECT_EQ(page->Layout().Height, page->Height());
    page->ShowMonth(1850, 14, 40);
    EXPECT_EQ((TYmd{1900, 12, 31}), page->Shown());
    page->ShowMonth(0, 2, 0);  // the day kept where February has it
    EXPECT_EQ((TYmd{1900, 2, 28}), page->Shown());
    page->ShowMonth(2300, 0, 0);
    EXPECT_EQ((TYmd{2222, 2, 28}), page->Shown());
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MonthPage, TakesArrowsTabAndCharactersFromTheDialog)
{
    EXPECT_EQ(0x2083, SendMessageW(page->Handle(), WM_GETDLGCODE, 0, 0));
}

TEST_F(MonthPage, ArrowKeysAndTheKeypadMoveTheShownDayAcrossMonths)
{
    page->SetDate(EncodeDate(2000, 1, 1));
    Key(VK_LEFT);
    EXPECT_EQ((TYmd{1999, 12, 31}), page->Shown());
    Key(VK_NUMPAD6);
    EXPECT_EQ((TYmd{2000, 1, 1}), page->Shown());
    Key(VK_UP);
    EXPECT_EQ((TYmd{1999, 12, 25}), page->Shown());
    Key(VK_NUMPAD2);
    Key(VK_DOWN);
    EXPECT_EQ((TYmd{2000, 1, 8}), page->Shown());
    Key(VK_NUMPAD8);
    Key(VK_NUMPAD4);
    EXPECT_EQ((TYmd{1999, 12, 31}), page->Shown());
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(page->Visible());
}

TEST_F(MonthPage, EscAndCtrlBreakReportTheGivenDateNotTheCursorsAndHide)
{
    for (WORD cancel : {VK_ESCAPE, VK_CANCEL}) {
        page->Show();
        chosen.clear();
        page->SetDate(EncodeDate(2024, 3, 15));
        page->SetFocus();
        Key(VK_RIGHT);
        Key(VK_DOWN);
        EXPECT_EQ((TYmd{2024, 3, 23}), page->Shown());
        Key(cancel);
        ASSERT_EQ(1u, chosen.size());
        EXPECT_EQ(EncodeDate(2024, 3, 15), chosen[0].date);
        EXPECT_EQ("15.03.2024", chosen[0].dmy);
        EXPECT_TRUE(chosen[0].hideOnEntry);
        EXPECT_FALSE(page->Visible());
    }
}

TEST_F(MonthPage, EnterSelectsAndHidesSpaceAndKeypadFiveSelectWithoutHiding)
{
    page->SetDate(EncodeDate(2024, 2, 28));
    Key(VK_RIGHT);
    Key(VK_SPACE);
    ASSERT_EQ(1u, chosen.size());
    EXPECT_EQ("29.02.2024", chosen[0].dmy);
    EXPECT_FALSE(chosen[0].hideOnEntry);
    EXPECT_TRUE(page->Visible());
    Key(VK_RIGHT);
    Key(VK_NUMPAD5);
    ASSERT_EQ(2u, chosen.size());
    EXPECT_EQ("01.03.2024", chosen[1].dmy);
    EXPECT_TRUE(page->Visible());
    Key(VK_RIGHT);
    Key(VK_RETURN);
    ASSERT_EQ(3u, chosen.size());
    EXPECT_EQ(EncodeDate(2024, 3, 2), chosen[2].date);
    EXPECT_TRUE(chosen[2].hideOnEntry);
    EXPECT_FALSE(page->Visible());
}

TEST_F(MonthPage, AHandlerMayHideThePageOnASelectionThatWouldKeepIt)
{
    page->OnSelectDate = [](TObject *, TDateTime, const AnsiString &, bool &hide) { hide = true; };
    Key(VK_SPACE);
    EXPECT_FALSE(page->Visible());
}

TEST_F(MonthPage, TabFocusesTheLeftArrowAndEscOnAnArrowGivesTheFocusBackThroughTheWindowSystem)
{
    ASSERT_TRUE(page->Focused());
    Key(VK_TAB);
    EXPECT_TRUE(page->LeftArrow()->Focused());
    Key(page->LeftArrow()->Handle(), VK_ESCAPE);
    EXPECT_TRUE(page->Focused());
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MonthPage, ArrowButtonsGoAMonthBackOrForwardKeepingTheDay)
{
    EXPECT_EQ(eil16x16_LArrow, page->LeftArrow()->ImageNo());
    EXPECT_EQ(eil16x16_RArrow, page->RightArrow()->ImageNo());
    EXPECT_EQ(22, page->LeftArrow()->Width());
    EXPECT_EQ(18, page->RightArrow()->Height());
    EXPECT_EQ(page->Width() - 2, page->RightArrow()->Left() + page->RightArrow()->Width());
    EXPECT_EQ(page->LeftArrow()->Top(), page->RightArrow()->Top());
    page->SetDate(EncodeDate(2024, 1, 31));
    page->RightArrow()->Click();
    EXPECT_EQ((TYmd{2024, 2, 29}), page->Shown());
    page->LeftArrow()->Click();
    page->LeftArrow()->Click();
    EXPECT_EQ((TYmd{2023, 12, 29}), page->Shown());
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MonthPage, MonthMenuNamesTheMonthsInTheInterfaceLanguageAndShowsTheOneChosen)
{
    TPopupMenu *menu = page->MonthMenu();
    for (ELang lang : {elg_Rus, elg_Ukr}) {
        SetInterfaceLang(lang);
        if (menu->OnPopup)
            menu->OnPopup(menu);
        ASSERT_EQ(12, menu->Items()->Count());
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(i + 1, menu->Items()->Items(i)->Tag());
        const bool rus = lang == elg_Rus;
        EXPECT_EQ(rus ? "01 Январь" : "01 Січень", menu->Items()->Items(0)->Caption());
        EXPECT_EQ(rus ? "05 Май" : "05 Травень", menu->Items()->Items(4)->Caption());
        EXPECT_EQ(rus ? "12 Декабрь" : "12 Грудень", menu->Items()->Items(11)->Caption());
    }
    page->SetDate(EncodeDate(2024, 1, 31));
    Mouse(WM_MOUSEMOVE, DayCentre(10));
    EXPECT_EQ(10, page->HotDay());
    menu->Items()->Items(3)->Click();
    EXPECT_EQ((TYmd{2024, 4, 30}), page->Shown());
    EXPECT_EQ(-1, page->HotDay());
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MonthPage, ClickingADayMakesItHotAndSelectsItWithoutHiding)
{
    page->SetDate(EncodeDate(2024, 3, 15));
    Mouse(WM_MOUSEMOVE, DayCentre(20));
    EXPECT_EQ(20, page->HotDay());
    Mouse(WM_MOUSEMOVE, CellCentre(0));  // 26 February: not a day of the month
    EXPECT_EQ(-1, page->HotDay());
    Mouse(WM_LBUTTONDOWN, DayCentre(9));
    ASSERT_EQ(1u, chosen.size());
    EXPECT_EQ("09.03.2024", chosen[0].dmy);
    EXPECT_FALSE(chosen[0].hideOnEntry);
    EXPECT_EQ(9, page->HotDay());
    EXPECT_EQ((TYmd{2024, 3, 9}), page->Shown());
    EXPECT_TRUE(page->Visible());
    // A neighbouring month's day goes to that month.
    Mouse(WM_LBUTTONDOWN, CellCentre(1));
    ASSERT_EQ(2u, chosen.size());
    EXPECT_EQ("27.02.2024", chosen[1].dmy);
    EXPECT_EQ((TYmd{2024, 2, 27}), page->Shown());
}

TEST_F(MonthPage, DoubleClickSelectsOnceAndHides)
{
    page->SetDate(EncodeDate(2024, 3, 15));
    Mouse(WM_LBUTTONDOWN, DayCentre(4));
    Mouse(WM_LBUTTONDBLCLK, DayCentre(4));
    ASSERT_EQ(2u, chosen.size());
    EXPECT_EQ("04.03.2024", chosen[1].dmy);
    EXPECT_TRUE(chosen[1].hideOnEntry);
    EXPECT_FALSE(page->Visible());
}

TEST_F(MonthPage, TheTodayLineGoesToToday)
{
    page->SetDate(EncodeDate(2024, 3, 15));
    const TRect &line = page->Layout().Today;
    Mouse(WM_LBUTTONDOWN, Point(line.Left + 40, (line.Top + line.Bottom) / 2));
    EXPECT_EQ((TYmd{2026, 12, 7}), page->Shown());
    EXPECT_EQ((TYmd{2024, 3, 15}), page->Given());
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MonthPage, TheWheelIsTakenByThePage)
{
    TPoint at = page->ClientToScreen(DayCentre(10));
    EXPECT_EQ(0, SendMessageW(page->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(at.X, at.Y)));
    bool asked = false;
    page->OnMouseWheel = [&](TObject *, TShiftState, int delta, TPoint, bool &) { asked = delta == 120; };
    SendMessageW(page->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(at.X, at.Y));
    EXPECT_TRUE(asked);
}

TEST_F(MonthPage, YearBoxEnterAppliesItsYearEscClosesItAndSkipsTheNextApplyThroughTheWindowSystem)
{
    page->SetDate(EncodeDate(2024, 3, 15));
    const TRect &year = page->YearPart();
    ASSERT_GT(year.Width(), 0);
    Mouse(WM_LBUTTONDOWN, Point(year.Right - 3, (year.Top + year.Bottom) / 2));
    TComboBox *box = page->YearBox();
    TUpDown *updown = page->YearUpDown();
    ASSERT_TRUE(box->Visible());
    EXPECT_TRUE(updown->Visible());
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(1924, updown->Min());
    EXPECT_EQ(2124, updown->Max());
    EXPECT_EQ(2024, updown->Position());
    EXPECT_EQ("2024", box->Text());
    EXPECT_FALSE(updown->Thousands());
    page->Repaint();
    Pump();
    EXPECT_TRUE(SaveScreenshot(page->Handle(), "month_page_year_box"));

    updown->SetPosition(2031);
    Key(box->Handle(), VK_RETURN);
    EXPECT_FALSE(box->Visible());
    EXPECT_FALSE(updown->Visible());
    EXPECT_EQ((TYmd{2031, 3, 15}), page->Shown());
    EXPECT_TRUE(page->Focused());
    EXPECT_TRUE(chosen.empty());

    page->ShowYearBox();
    updown->SetPosition(2040);
    Key(box->Handle(), VK_ESCAPE);
    EXPECT_FALSE(box->Visible());
    EXPECT_EQ((TYmd{2031, 3, 15}), page->Shown());  // the focus leaving the box applied nothing
    EXPECT_TRUE(page->Focused());
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(page->Visible());

    // The mark went with that apply: the box shown again applies as it loses the focus.
    page->ShowYearBox();
    updown->SetPosition(2050);
    page->SetFocus();
    Pump();
    EXPECT_FALSE(box->Visible());
    EXPECT_EQ((TYmd{2050, 3, 15}), page->Shown());
}

TEST_F(MonthPage, TheYearBoxStaysInsideThePagesYears)
{
    page->SetDate(EncodeDate(1950, 6, 1));
    page->ShowYearBox();
    EXPECT_EQ(1900, page->YearUpDown()->Min());
    EXPECT_EQ(2050, page->YearUpDown()->Max());
    EXPECT_EQ(151, page->YearBox()->Items()->Count());
    page->YearBox()->SetItemIndex(0);
    page->YearBox()->OnChange(page->YearBox());
    page->ApplyYear();
    EXPECT_EQ((TYmd{1900, 6, 1}), page->Shown());
}

TEST_F(MonthPage, ADropDownPageClosesItsFormInsteadOfHiding)
{
    TForm *drop = new TForm(host->form);
    drop->SetBorderStyle(bsNone);
    auto *dropped = new TXMonthPage(drop, true);
    dropped->SetParent(drop);
    EXPECT_TRUE(dropped->DropDown());
    EXPECT_FALSE(page->DropDown());
    drop->SetClientWidth(dropped->Width());
    drop->SetClientHeight(dropped->Height());
    drop->Show();
    dropped->SetDate(EncodeDate(2024, 3, 15));
    Pump();
    Key(dropped->Handle(), VK_RETURN);
    EXPECT_FALSE(drop->Visible());
    EXPECT_TRUE(dropped->Visible());
    drop->Free();
}

TEST_F(MonthPage, PicturesInBothLanguagesWithAHotDayAndTheTodayLine)
{
    for (ELang lang : {elg_Rus, elg_Ukr}) {
        SetInterfaceLang(lang);
        page->SetDate(EncodeDate(2026, 12, 18));
        host->form->SetClientWidth(page->Width() + 20);
        host->form->SetClientHeight(page->Height() + 20);
        Mouse(WM_MOUSEMOVE, DayCentre(23));
        EXPECT_EQ(23, page->HotDay());
        page->Repaint();
        Pump();
        EXPECT_TRUE(SaveScreenshot(host->form->Handle(), lang == elg_Rus ? "month_page_rus" : "month_page_ukr"));
    }
}

TEST_F(MonthPage, ScaledWithItsFormThePageTakesItsOwnSizeInTheScaledFontOnce)
{
    page->Font()->SetHeight(-12);
    page->ScaleBy(5, 4);
    EXPECT_EQ(13, page->Left());  // 12.5
    EXPECT_EQ(-15, page->Font()->Height());
    TXMonthPage fresh(nullptr);
    fresh.Font()->Assign(*page->Font());
    EXPECT_EQ(fresh.Width(), page->Width());
    EXPECT_EQ(fresh.Height(), page->Height());
    EXPECT_EQ(fresh.Layout().CellWidth, page->Layout().CellWidth);
    EXPECT_EQ(page->Width() - 2, page->RightArrow()->Left() + page->RightArrow()->Width());
}

TEST(MonthPageFreed, AFormFreedWhileTheYearBoxHoldsTheKeyboardRunsNoYearApplyThroughTheWindowSystem)
{
    // As the year box's window goes, the focus leaves it: by then the page's up-down is freed, and the
    // box's OnExit would apply the year from it. On pages of their own, such a read faults.
    TPageHeapScope pages;
    for (bool release : {false, true}) {
        SCOPED_TRACE(release ? "released" : "freed");
        auto *form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        form->SetBorderStyle(bsNone);
        auto *page = new TXMonthPage(form);
        page->SetParent(form);
        page->SetBounds(10, 10, page->Width(), page->Height());
        int selected = 0;
        page->OnSelectDate = [&](TObject *, TDateTime, const AnsiString &, bool &) { ++selected; };
        form->Show();
        page->ShowYearBox();
        page->YearBox()->SetFocus();
        Application->ProcessMessages();
        ASSERT_TRUE(page->YearBox()->Focused());
        const int forms = Screen->FormCount();
        if (release) {
            form->Release();
            Application->ProcessMessages();
        } else {
            form->Free();
        }
        EXPECT_EQ(forms - 1, Screen->FormCount());
        EXPECT_EQ(0, selected);
    }
}
