// The date field on a real window: typing, the check box, the packed date and the calendar it drops
// down, with keys and clicks as the window system delivers them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/dates/uMonPage.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Mask.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "tests/controls/dates/DateFieldHost.h"
#include "tests/support/WindowPicture.h"

namespace {
class DateCombo : public DateFieldHost {};
}  // namespace

TEST_F(DateCombo, StartsOnTodayWithTheMaskTheButtonInsideAndNoCheckBox)
{
    EXPECT_EQ(EncodeDate(2026, 12, 7), field->SelDate());
    EXPECT_EQ("07.12.2026", field->GetsSelDate());
    EXPECT_EQ("07.12.2026", field->Edit()->Text());
    EXPECT_EQ("!99/99/9999;0; ", field->Edit()->EditMask());
    EXPECT_EQ(21, field->Height());  // the edit's own height
    EXPECT_EQ(field->Height(), field->Edit()->Height());
    EXPECT_EQ(nullptr, field->CheckBox());
    EXPECT_FALSE(field->GetChecked());
    EXPECT_EQ(eil16x16_DArrow, field->Button()->ImageNo());
    EXPECT_EQ(field->Button()->Width(), field->Button()->Height());
    EXPECT_LE(field->Button()->Left() + field->Button()->Width(), field->Width() - 2);
    EXPECT_EQ(field->Button()->Width() + 2, field->Edit()->RightMargin());
    EXPECT_FALSE(field->IsDateChanged());
}

TEST_F(DateCombo, ImpossibleDatesTurnRedKeepTheDateAndReadEmpty)
{
    for (const char *bad : {"31.02.2023", "01.01.1899", "00.13.2020"}) {
        field->SetSelDate(EncodeDate(2024, 5, 6));
        changes = 0;
        Type(bad);
        EXPECT_EQ(1, changes) << bad;
        EXPECT_TRUE(field->InvalidText()) << bad;
        EXPECT_EQ(clRed, field->Edit()->Font()->Color()) << bad;
        EXPECT_EQ(EncodeDate(2024, 5, 6), field->SelDate()) << bad;
        EXPECT_EQ("", field->GetsSelDate()) << bad;
        EXPECT_FALSE(field->CheckText()) << bad;
    }
    Type("29.02.2024");
    EXPECT_FALSE(field->InvalidText());
    EXPECT_EQ(clWindowText, field->Edit()->Font()->Color());
    EXPECT_EQ(EncodeDate(2024, 2, 29), field->SelDate());
    EXPECT_EQ("29.02.2024", field->GetsSelDate());
    EXPECT_TRUE(field->IsDateChanged());
    EXPECT_TRUE(field->CheckText());
    field->SetsSelDate("29.02.2024");
    EXPECT_FALSE(field->IsDateChanged());
}

TEST_F(DateCombo, PackedDatesInAndOut)
{
    field->SetSelDate(EncodeDate(2020, 4, 4));
    field->SetPackedDate(0x1A21);
    EXPECT_EQ(EncodeDate(2013, 1, 1), field->SelDate());
    EXPECT_EQ("01.01.2013", field->Edit()->Text());
    EXPECT_EQ(0x1A21, field->GetPackedDate());
    field->SetPackedDate(static_cast<std::uint16_t>(95 << 9 | 6 << 5 | 15));
    EXPECT_EQ(EncodeDate(1995, 6, 15), field->SelDate());
    Type("03.03.2003");
    EXPECT_TRUE(field->IsDateChanged());
    field->SetPackedDate(0);  // back to the date last set
    EXPECT_EQ(EncodeDate(1995, 6, 15), field->SelDate());
    field->SetPackedDate(13 << 9 | 2 << 5 | 30);  // 30 February: no date, nothing changes
    EXPECT_EQ(EncodeDate(1995, 6, 15), field->SelDate());
    field->SetSelDate(EncodeDate(1950, 1, 1));
    EXPECT_EQ(0, field->GetPackedDate());
    field->SetSelDate(EncodeDate(2150, 1, 1));
    EXPECT_EQ(0, field->GetPackedDate());
}

TEST_F(DateCombo, TheCheckBoxSwitchesTheDateOffAndAClickBringsToday)
{
    int boxEvents = 0;
    field->OnChkBxClick = [&](TObject *sender) {
        EXPECT_EQ(field, sender);
        ++boxEvents;
    };
    field->SetSelDate(EncodeDate(2024, 5, 6));
    field->SetChecked(true);
    ASSERT_NE(nullptr, field->CheckBox());
    EXPECT_TRUE(field->GetChecked());
    EXPECT_EQ(2 + field->CheckBox()->Width() + 2, field->Edit()->LeftMargin());
    EXPECT_EQ("06.05.2024", field->GetsSelDate());
    field->SetChecked(false);
    EXPECT_GE(boxEvents, 1);
    EXPECT_EQ("  .  .    ", field->Edit()->Text());  // the mask's places, all empty
    EXPECT_FALSE(field->Edit()->Enabled());
    EXPECT_FALSE(field->Button()->Enabled());
    EXPECT_EQ("", field->GetsSelDate());
    EXPECT_TRUE(field->CheckText());
    Pump();
    Click(field->CheckBox()->Handle(), Point(field->CheckBox()->Width() / 2, field->CheckBox()->Height() / 2));
    EXPECT_TRUE(field->GetChecked());
    EXPECT_TRUE(field->Edit()->Enabled());
    EXPECT_EQ("07.12.2026", field->Edit()->Text());
    EXPECT_EQ("07.12.2026", field->GetsSelDate());
    field->SetUseCheckBox(false);
    EXPECT_EQ(nullptr, field->CheckBox());
    EXPECT_EQ(0, field->Edit()->LeftMargin());
}

TEST_F(DateCombo, TheCheckBoxIsDrawnWholeBesideTheDateText)
{
    field->SetSelDate(EncodeDate(2024, 3, 15));
    field->SetChecked(true);
    host->form->Repaint();
    Pump();
    ASSERT_TRUE(SaveScreenshot(host->form->Handle(), "date_field_check_box_whole_beside_the_text"));
    // The field's inside as it stands on the screen, its sunken border left out: which columns hold
    // anything drawn on the white ground (the box's light right and bottom edges count).
    const TPoint origin = field->ClientToScreen(Point(0, 0));
    const int edge = GetSystemMetrics(SM_CYEDGE) + 1, height = field->Height();
    HDC screen = GetDC(nullptr);
    auto drawn = [&](int x, int y) {
        const COLORREF c = GetPixel(screen, origin.X + x, origin.Y + y);
        return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 245;
    };
    std::vector<int> top, bottom;  // per column the first and last row drawn on, -1 for none
    for (int x = edge; x < field->Width() / 2; ++x) {
        int first = -1, last = -1;
        for (int y = edge; y < height - edge; ++y)
            if (drawn(x, y)) {
                first = first < 0 ? y : first;
                last = y;
            }
        top.push_back(first);
        bottom.push_back(last);
    }
    ReleaseDC(nullptr, screen);
    // The box: the first run of columns with something drawn; then a gap; then the date's first digit.
    size_t boxLeft = 0;
    while (boxLeft < top.size() && top[boxLeft] < 0)
        ++boxLeft;
    size_t boxRight = boxLeft;
    while (boxRight < top.size() && top[boxRight] >= 0)
        ++boxRight;
    size_t textLeft = boxRight;
    while (textLeft < top.size() && top[textLeft] < 0)
        ++textLeft;
    ASSERT_LT(boxLeft, top.size());
    const int boxWidth = static_cast<int>(boxRight - boxLeft);
    // Whole: as wide as it is high, its top edge drawn along its width as far as its right edge.
    const int boxHeight = bottom[boxLeft] - top[boxLeft] + 1;
    EXPECT_GE(boxWidth, 11);
    EXPECT_LE(std::abs(boxWidth - boxHeight), 1) << boxWidth << " x " << boxHeight;
    EXPECT_LE(std::abs(top[boxLeft] - top[boxRight - 1]), 1) << "the box's top edge does not reach its right edge";
    EXPECT_GE(static_cast<int>(textLeft - boxRight), 2) << "the box touches the date's text";
    EXPECT_LT(textLeft, top.size()) << "no text right of the box";
}

TEST_F(DateCombo, TheButtonDropsThePageBelowAClickedDaySetsTheTextEscRestoresThroughTheWindowSystem)
{
    field->SetSelDate(EncodeDate(2024, 3, 15));
    field->Edit()->SetSelStart(3);
    field->Edit()->SetSelLength(2);
    Click(field->Button()->Handle(), Centre(field->Button()->ClientRect()));
    ASSERT_NE(nullptr, field->MonthPage());
    TForm *drop = field->DropDownForm();
    ASSERT_TRUE(drop->Visible());
    TPoint fieldAt = field->ClientToScreen(Point(0, 0));
    EXPECT_EQ(fieldAt.X, drop->Left());
    EXPECT_EQ(fieldAt.Y + field->Height(), drop->Top());
    TXMonthPage *page = field->MonthPage();
    EXPECT_EQ((TYmd{2024, 3, 15}), page->Given());
    // The host form's part of the screen, the calendar on it: a picture of the whole screen would
    // bring the desktop to the front, and the calendar closes when its form loses the focus.
    EXPECT_TRUE(SaveScreenshot(host->form->Handle(), "date_combo_dropped"));

    TRect cell = MonthLayoutCell(page->Layout(), MonthDayCell(page->Grid(), 20));
    Click(page->Handle(), Centre(cell));
    EXPECT_EQ("20.03.2024", field->Edit()->Text());
    EXPECT_EQ(EncodeDate(2024, 3, 20), field->SelDate());
    EXPECT_TRUE(drop->Visible());

    Key(page->Handle(), VK_ESCAPE);
    EXPECT_EQ("15.03.2024", field->Edit()->Text());
    EXPECT_EQ(EncodeDate(2024, 3, 15), field->SelDate());
    EXPECT_FALSE(drop->Visible());
    // The focus is back in the edit, with the selection it had.
    EXPECT_EQ(field->Edit()->Handle(), GetFocus());
    EXPECT_EQ(3, field->Edit()->SelStart());
    EXPECT_EQ(2, field->Edit()->SelLength());
}

TEST_F(DateCombo, EnterInTheEditDropsDownAndADoubleClickOnlyWhenTheHandlerSaysSoThroughTheWindowSystem)
{
    Key(field->Edit()->Handle(), VK_RETURN);
    ASSERT_NE(nullptr, field->MonthPage());
    EXPECT_TRUE(field->DropDownForm()->Visible());
    Key(field->MonthPage()->Handle(), VK_RETURN);  // chooses and hides
    EXPECT_FALSE(field->DropDownForm()->Visible());

    bool answer = false;
    int asked = 0;
    field->OnDblClick = [&](TObject *sender, bool &ret) {
        EXPECT_EQ(field, sender);
        EXPECT_FALSE(ret);
        ++asked;
        ret = answer;
    };
    for (bool drops : {false, true}) {
        answer = drops;
        PostMessageW(field->Edit()->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(field->Edit()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
        EXPECT_EQ(drops, field->DropDownForm()->Visible());
    }
    EXPECT_EQ(2, asked);
    field->DropDownForm()->Hide();
}

TEST_F(DateCombo, APopupMenuGivenLaterReachesTheEditTheButtonAndTheCheckBox)
{
    EXPECT_EQ(nullptr, field->Edit()->PopupMenu());
    auto *menu = new TPopupMenu(host->form);
    // Given as to any control: the field's parts share it all the same.
    static_cast<TControl *>(field)->SetPopupMenu(menu);
    EXPECT_EQ(menu, field->PopupMenu());
    EXPECT_EQ(menu, field->Edit()->PopupMenu());
    EXPECT_EQ(menu, field->Button()->PopupMenu());
    field->SetUseCheckBox(true);  // a check box made afterwards shares it too
    EXPECT_EQ(menu, field->CheckBox()->PopupMenu());
    field->SetPopupMenu(nullptr);
    EXPECT_EQ(nullptr, field->Edit()->PopupMenu());
    EXPECT_EQ(nullptr, field->Button()->PopupMenu());
    EXPECT_EQ(nullptr, field->CheckBox()->PopupMenu());
    menu->Free();
}
