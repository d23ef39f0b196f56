// The date field on screens of other densities: scaled with its form, given a font of its own, its
// fonts rescaled across the form, and its calendar scaled when the form-scaling switch asks for it.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/input/fun_other.h"
#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/dates/uMonPage.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Mask.h"
#include "framework/windows/StdCtrls.h"
#include "tests/controls/dates/DateFieldHost.h"
#include "tests/support/WindowPicture.h"

namespace {
class DateFieldScaling : public DateFieldHost {
protected:
    void TearDown() override
    {
        FormScaling = 0;
        ScreenDensity = DesignDensity = 800;
        Screen->SetPixelsPerInch(0);
        DateFieldHost::TearDown();
    }
    // The size a month page takes by itself in the given font.
    static TPoint NaturalPageSize(const TFont &font)
    {
        TXMonthPage page(nullptr);
        page.Font()->Assign(font);
        return Point(page.Width(), page.Height());
    }
};
}  // namespace

TEST_F(DateFieldScaling, ScaleByGrowsTheFieldAndItsTextAndLaysItsPartsOutAgain)
{
    field->SetChecked(true);
    const int fontHeight = field->Edit()->Font()->Height();
    const int box = field->CheckBox()->Width();
    field->ScaleBy(3, 2);
    EXPECT_EQ(Bounds(30, 30, 210, 32), field->BoundsRect());
    EXPECT_EQ(MulDivRound(fontHeight, 3, 2), field->Edit()->Font()->Height());
    EXPECT_EQ(MulDivRound(fontHeight, 3, 2), field->Font()->Height());  // the edit's text is the field's
    EXPECT_EQ(28, field->Button()->Width());
    EXPECT_EQ(box, field->CheckBox()->Width());  // the system's glyph does not grow
    ExpectLaidOut(field);
    field->ScaleBy(2, 3);
    EXPECT_EQ(Bounds(20, 20, 140, 21), field->BoundsRect());
    EXPECT_EQ(fontHeight, field->Edit()->Font()->Height());
    EXPECT_EQ(17, field->Button()->Width());
    ExpectLaidOut(field);
    EXPECT_EQ("07.12.2026", field->GetsSelDate());
}

TEST_F(DateFieldScaling, AResizedFieldLaysItsPartsOutAgain)
{
    ExpectLaidOut(field);
    field->SetChecked(true);
    field->SetBounds(20, 20, 200, 30);
    ExpectLaidOut(field);
    EXPECT_EQ(26, field->Button()->Width());
    field->SetWidth(90);
    ExpectLaidOut(field);
    field->SetHeight(21);
    ExpectLaidOut(field);
    EXPECT_EQ(17, field->Button()->Width());
}

TEST_F(DateFieldScaling, AFontGivenToTheFieldShowsInTheEditWhichKeepsItsRedForABadDate)
{
    EXPECT_EQ("Arial", field->Edit()->Font()->Name());
    field->Font()->SetHeight(-16);
    field->Font()->SetStyle(fsBold);
    EXPECT_EQ(-16, field->Edit()->Font()->Height());
    EXPECT_EQ(fsBold, field->Edit()->Font()->Style());
    EXPECT_EQ("Arial", field->Edit()->Font()->Name());
    Type("31.02.2023");
    field->Font()->SetHeight(-13);
    EXPECT_EQ(-13, field->Edit()->Font()->Height());
    EXPECT_EQ(clRed, field->Edit()->Font()->Color());
    Type("28.02.2023");
    field->Font()->SetName("Tahoma");
    EXPECT_EQ("Tahoma", field->Edit()->Font()->Name());
    EXPECT_EQ(clWindowText, field->Edit()->Font()->Color());
    ExpectLaidOut(field);
}

TEST_F(DateFieldScaling, ScalingTheFormToTheScreenRescalesTheFieldsFontOnce)
{
    field->SetChecked(true);
    ScreenDensity = 1000;
    Screen->SetPixelsPerInch(144);
    FormHost other;
    auto *inner = other.Add<TXDateCombo>();
    inner->SetBounds(20, 20, 140, inner->Height());
    ScaleFormToScreen(other.form);
    EXPECT_EQ(Bounds(25, 25, 175, 26), inner->BoundsRect());
    // -11 by the density to -14, then by the pixels per inch (x 1.2): corrected once, not twice.
    EXPECT_EQ("Arial", inner->Edit()->Font()->Name());
    EXPECT_EQ(-17, inner->Edit()->Font()->Height());
    EXPECT_EQ(-17, inner->Font()->Height());
    ExpectLaidOut(inner);
}

TEST_F(DateFieldScaling, WithTheSwitchOnTheCalendarIsScaledOnceToItsOwnSizeAndPlacedBelow)
{
    FormScaling = 1;
    ScreenDensity = 1000;
    field->DropDown();
    TForm *drop = field->DropDownForm();
    // Dropped down at once, scaled and placed as it drops down; a window another program shows while
    // messages are handled may take the activation and close it again.
    ASSERT_TRUE(drop->Visible());
    Pump();
    TXMonthPage *page = field->MonthPage();
    EXPECT_EQ("Arial", page->Font()->Name());
    EXPECT_EQ(-14, page->Font()->Height());  // -11 x 1000 / 800
    const TPoint natural = NaturalPageSize(*page->Font());
    EXPECT_EQ(natural.X, page->Width());
    EXPECT_EQ(natural.Y, page->Height());
    EXPECT_EQ(page->Width(), drop->ClientWidth());
    EXPECT_EQ(page->Height(), drop->ClientHeight());
    const TPoint at = field->ClientToScreen(Point(0, 0));
    EXPECT_EQ(at.X, drop->Left());
    EXPECT_EQ(at.Y + field->Height(), drop->Top());
    EXPECT_TRUE(SaveScreenshot(host->form->Handle(), "date_combo_dropped_scaled"));
    // The next drop-down scales nothing again.
    drop->Hide();
    field->DropDown();
    Pump();
    EXPECT_EQ(-14, page->Font()->Height());
    EXPECT_EQ(natural.X, drop->ClientWidth());
    drop->Hide();
}

TEST_F(DateFieldScaling, WithTheSwitchOffOrTheDesignDensityTheCalendarKeepsItsFont)
{
    ScreenDensity = 1000;
    field->DropDown();
    Pump();
    TXMonthPage *page = field->MonthPage();
    EXPECT_EQ(-11, page->Font()->Height());
    EXPECT_EQ(NaturalPageSize(*page->Font()).X, field->DropDownForm()->ClientWidth());
    field->DropDownForm()->Hide();
    field->Free();
    field = nullptr;

    FormScaling = 1;
    ScreenDensity = 800;
    field = host->Add<TXDateCombo>();
    field->DropDown();
    Pump();
    EXPECT_EQ(-11, field->MonthPage()->Font()->Height());
    EXPECT_NE("Arial", field->MonthPage()->Font()->Name());
    field->DropDownForm()->Hide();
}

TEST_F(DateFieldScaling, OnAScreenOfMorePixelsPerInchTheCalendarIsSizedAndPlacedAfterItsScaling)
{
    Screen->SetPixelsPerInch(144);
    field->DropDown();
    TForm *drop = field->DropDownForm();
    // Dropped down at once; a window another program shows meanwhile may take the activation and close
    // it again while messages are handled, which leaves its size and place as they were.
    ASSERT_TRUE(drop->Visible());
    Pump();
    TXMonthPage *page = field->MonthPage();
    EXPECT_EQ(-17, page->Font()->Height());  // -11 x 144 / 96
    EXPECT_EQ(NaturalPageSize(*page->Font()).X, page->Width());
    EXPECT_EQ(page->Width(), drop->ClientWidth());
    EXPECT_EQ(page->Height(), drop->ClientHeight());
    const TPoint at = field->ClientToScreen(Point(0, 0));
    EXPECT_EQ(at.X, drop->Left());
    EXPECT_EQ(at.Y + field->Height(), drop->Top());
    drop->Hide();
}
