// The five-line text panel on real windows (under Wine inside Xvfb): its texts in both languages,
// alignments, fonts, the height it takes, clicks and its picture.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/input/fun_other.h"
#include "controls/ControlsRun.h"
#include "controls/messages/zText.h"
#include "framework/windows/Forms.h"
#include "tests/support/FormHost.h"
#include "tests/support/ShownMessages.h"
#include "tests/support/WindowPicture.h"

namespace {

void Paint(TWinControl *control)
{
    for (int i = 0; i < 3; ++i) {
        control->Repaint();
        Application->ProcessMessages();
    }
}

int FontLineHeight(const TFont &font)
{
    TMeasureCanvas canvas;
    canvas.Font()->Assign(font);
    return canvas.TextHeight("W");
}

// Counts the requests to repaint.
class CountingZText : public TZText {
public:
    using TZText::TZText;
    int invalidations = 0;
    void Invalidate() override
    {
        ++invalidations;
        TZText::Invalidate();
    }
};

class ZText : public ::testing::Test {
protected:
    TControlsRun run;
    FormHost host;
};

}  // namespace

TEST_F(ZText, StartsAsItsFrameworkSaysAndCopiesTheControlsFont)
{
    auto *t = host.Add<TZText>();
    EXPECT_EQ(t->Left(), 20);
    EXPECT_EQ(t->Top(), 20);
    EXPECT_EQ(t->Width(), 50);
    EXPECT_EQ(t->Height(), 50);
    EXPECT_EQ(t->Color(), clBtnFace);
    EXPECT_TRUE(t->MultyLine());
    EXPECT_FALSE(t->Border());
    EXPECT_FALSE(t->ClickChgMultyLine());
    EXPECT_EQ(t->Lang(), InterfaceLang());
    for (int i = 0; i < ZTextLineCount; ++i) {
        EXPECT_TRUE(t->GetFont(i)->SameAs(*t->Font()));
        EXPECT_NE(t->GetFont(i), t->Font());
        EXPECT_EQ(t->GetHor(i), 0);
    }
    EXPECT_EQ(t->GetFont(5), nullptr);
}

TEST_F(ZText, TextsOfTheCurrentLanguageLandInItsSlot)
{
    auto *t = host.Add<TZText>();
    t->SetText(ZTextRus + 0, "рус");
    t->SetLang(elg_Ukr);
    t->SetText(0, "укр");
    EXPECT_EQ(t->GetText(ZTextUkr + 0), "укр");
    EXPECT_EQ(t->GetText(ZTextRus + 0), "рус");
    EXPECT_EQ(t->GetText(0), "укр");
    t->SetLang(elg_Rus);
    EXPECT_EQ(t->GetText(0), "рус");
    t->SetText(4, "п'ятий");  // the last line of each language
    EXPECT_EQ(t->GetText(ZTextRus + 4), "п'ятий");
    t->SetText(ZTextUkr + 4, "u5");
    EXPECT_EQ(t->GetText(14), "u5");
    EXPECT_EQ(t->GetText(9), "п'ятий");
    // Indexes outside the fifteen read empty and change nothing.
    t->SetText(15, "x");
    t->SetText(-1, "x");
    EXPECT_EQ(t->GetText(15), "");
    EXPECT_EQ(t->GetText(-1), "");
    for (int i = 0; i < ZTextIndexCount; ++i)
        EXPECT_NE(t->GetText(i), "x") << i;
}

TEST_F(ZText, AWrongAlignmentIsToldAndKeepsTheOldOne)
{
    TShownMessages shown;
    auto *t = host.Add<TZText>();
    t->SetHor(2, 2);
    t->SetHor(2, 3);
    EXPECT_EQ(t->GetHor(2), 2);
    t->SetHor(2, -1);
    EXPECT_EQ(t->GetHor(2), 2);
    ASSERT_EQ(shown.texts.size(), 2u);
    EXPECT_EQ(shown.texts[0], "Неверно задан признак выравнивания");
    t->SetHor(2, 1);
    EXPECT_EQ(t->GetHor(2), 1);
    EXPECT_EQ(shown.texts.size(), 2u);
}

TEST_F(ZText, ChangesRepaintExceptWhileBeingBuilt)
{
    auto *t = host.Add<CountingZText>();
    t->BeginLoading();
    t->SetText(0, "a");
    t->SetHor(0, 1);
    t->SetBorder(true);
    t->SetLang(elg_Ukr);
    t->GetFont(0)->SetHeight(-20);
    t->SetMultyLine(false);
    EXPECT_EQ(t->invalidations, 0);
    t->EndLoading();  // once built, it repaints
    EXPECT_EQ(t->invalidations, 1);
    t->SetText(0, "b");
    t->GetFont(1)->SetHeight(-20);
    t->SetHor(1, 2);
    EXPECT_EQ(t->invalidations, 4);
    // While designing the changes show at once, being built or not.
    t->SetDesigning(true);
    t->BeginLoading();
    t->SetBorder(false);
    EXPECT_EQ(t->invalidations, 5);
    t->EndLoading();
    t->SetDesigning(false);
    // A new size repaints the whole panel.
    host.form->Show();
    const int before = t->invalidations;
    t->SetWidth(t->Width() + 30);
    EXPECT_GT(t->invalidations, before);
}

TEST_F(ZText, SetFontCopiesTheFont)
{
    auto *t = host.Add<TZText>();
    TFont f;
    f.SetName("Arial");
    f.SetHeight(-20);
    t->SetFont(3, f);
    EXPECT_TRUE(t->GetFont(3)->SameAs(f));
    f.SetHeight(-30);
    EXPECT_EQ(t->GetFont(3)->Height(), -20);
}

TEST_F(ZText, AnAlignedTopPanelTakesItsTextsHeightOnTheFirstPaint)
{
    auto *t = host.Add<TZText>();
    t->SetAlign(alTop);
    t->SetText(0, "Первая строка");
    t->SetText(1, "Вторая");
    t->GetFont(1)->SetHeight(-24);
    host.form->Show();
    const int expected = FontLineHeight(*t->GetFont(0)) + FontLineHeight(*t->GetFont(1)) + ZTextMargin;
    Paint(t);
    EXPECT_EQ(t->Height(), expected);
    EXPECT_EQ(t->PCalcTextH(), expected);

    // Another text, and PCalcTextH sets the height at once.
    t->SetText(1, "");
    EXPECT_EQ(t->PCalcTextH(), FontLineHeight(*t->GetFont(0)) + ZTextMargin);
    EXPECT_EQ(t->Height(), FontLineHeight(*t->GetFont(0)) + ZTextMargin);
}

TEST_F(ZText, PCalcTextHMeasuresWithoutAWindow)
{
    TZText t(nullptr);
    t.SetWidth(200);
    t.SetText(2, "x");
    EXPECT_EQ(t.PCalcTextH(), FontLineHeight(*t.GetFont(2)) + ZTextMargin);
    EXPECT_FALSE(t.HandleAllocated());
}

TEST_F(ZText, AClickSwitchesMultyLineOnlyWhenAsked)
{
    auto *t = host.Add<TZText>();
    int clicks = 0;
    t->OnClick = [&](TObject *) { ++clicks; };
    t->Click();
    EXPECT_TRUE(t->MultyLine());
    t->SetClickChgMultyLine(true);
    t->Click();
    EXPECT_FALSE(t->MultyLine());
    t->Click();
    EXPECT_TRUE(t->MultyLine());
    EXPECT_EQ(clicks, 3);
}

TEST_F(ZText, TheFormsFontRescalingScalesTheFiveFontsToArial)
{
    const int screen = ScreenDensity, design = DesignDensity;
    ScreenDensity = 1000;
    DesignDensity = 800;
    auto *t = host.Add<TZText>();
    t->GetFont(0)->SetSize(8);
    t->GetFont(4)->SetSize(12);
    const AnsiString ownFont = t->Font()->Name();
    RescaleChildFonts(host.form);
    ScreenDensity = screen;
    DesignDensity = design;
    EXPECT_EQ(t->GetFont(0)->Name(), "Arial");
    EXPECT_EQ(t->GetFont(0)->Size(), 10);
    EXPECT_EQ(t->GetFont(4)->Size(), 15);
    EXPECT_EQ(t->Font()->Name(), ownFont);  // left to the panel, which keeps its own font
}

TEST_F(ZText, DrawsTheTwoToneFrame)
{
    auto *t = host.Add<TZText>();
    t->SetBounds(10, 10, 120, 40);
    t->SetBorder(true);
    t->SetColor(clWhite);
    host.form->Show();
    Paint(t);
    HDC dc = GetDC(t->Handle());
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(133, 133, 133));
    EXPECT_EQ(GetPixel(dc, 0, 39), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 119, 39), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 118, 38), RGB(133, 133, 133));
    EXPECT_EQ(GetPixel(dc, 118, 1), RGB(133, 133, 133));
    ReleaseDC(t->Handle(), dc);
}

TEST_F(ZText, Picture)
{
    host.form->SetCaption("TZText");
    host.form->SetColor(clBtnFace);

    auto *lines = host.Add<TZText>();
    lines->SetBounds(10, 10, 370, 150);
    lines->SetBorder(true);
    lines->SetColor(clWhite);
    lines->SetLang(elg_Rus);
    lines->SetText(0, "Первая строка: шрифт по умолчанию, слева, и она переносится по словам на вторую строку");
    lines->SetText(1, "\x01\xD6\xC6\x01Вторая: по центру и жирным");  // markup: centre, bold
    lines->GetFont(1)->SetHeight(-16);
    lines->SetText(2, "Третья справа, курсивом");
    lines->SetHor(2, 2);
    lines->GetFont(2)->SetStyle(fsItalic);
    lines->GetFont(2)->SetColor(clNavy);
    lines->SetText(3, "\x01\xC4"
                      "FF \x01Четвёртая: красным по разметке");
    lines->SetText(4, "Пятая, Arial 12");
    lines->GetFont(4)->SetName("Arial");
    lines->GetFont(4)->SetSize(12);
    lines->SetHor(4, 1);

    auto *cut = host.Add<TZText>();
    cut->SetBounds(10, 170, 370, 60);
    cut->SetBorder(true);
    cut->SetColor(clSkyBlue);
    cut->SetMultyLine(false);
    cut->SetLang(elg_Rus);
    cut->SetText(0, "Одна строка без переноса: то, что не уместилось, обрезано точками в конце");
    cut->SetText(1, "Кор#откая первая строка");

    host.form->Show();
    Paint(lines);
    Paint(cut);
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "ztext_lines_fonts_border_cut"));
}
