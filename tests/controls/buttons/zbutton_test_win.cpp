// The standard button on real windows (under Wine inside Xvfb): its settings, drawing, mouse and focus.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/ControlsRun.h"
#include "controls/UDataModule.h"
#include "controls/buttons/UZButton.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/ImgList.h"
#include "framework/graphics/Themes.h"
#include "tests/support/FormHost.h"
#include "tests/support/PointerInput.h"
#include "tests/support/WindowPicture.h"

namespace {
// What a button shows inside its frame (4 px in from each side): pixels of the text's colours and
// clearly coloured ones (the glyph's).
struct Census {
    int black = 0, grey = 0, coloured = 0;
};
Census Look(TWinControl *control)
{
    control->Repaint();
    Application->ProcessMessages();
    HDC dc = GetDC(control->Handle());
    const COLORREF greyText = GetSysColor(COLOR_GRAYTEXT);
    Census c;
    for (int y = 4; y < control->Height() - 4; ++y)
        for (int x = 4; x < control->Width() - 4; ++x) {
            COLORREF p = GetPixel(dc, x, y);
            int r = GetRValue(p), g = GetGValue(p), b = GetBValue(p);
            if (p == RGB(0, 0, 0))
                ++c.black;
            else if (p == greyText)
                ++c.grey;
            if (std::max({r, g, b}) - std::min({r, g, b}) > 60)
                ++c.coloured;
        }
    ReleaseDC(control->Handle(), dc);
    return c;
}

class ZButton : public ::testing::Test {
protected:
    TControlsRun run;
    FormHost host;
    TZButton *Add(int left, int top)
    {
        auto *b = host.Add<TZButton>();
        b->SetLeft(left);
        b->SetTop(top);
        return b;
    }
};

// Counts the draw-item messages that reach it.
class CountingButton : public TZButton {
public:
    using TZButton::TZButton;
    int drawItems = 0;
    void WndProc(TMessage &m) override
    {
        if (m.Msg == CN_DRAWITEM)
            ++drawItems;
        TZButton::WndProc(m);
    }
};
}  // namespace

TEST_F(ZButton, StartsOwnerDrawnWithItsSizeAndNoGlyph)
{
    auto *b = Add(10, 10);
    EXPECT_EQ(b->Width(), 98);
    EXPECT_EQ(b->Height(), 25);
    EXPECT_EQ(b->ImageNo(), eil16x16_End);
    EXPECT_EQ(b->DefText(), EZBtnPDT_None);
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_EQ(b->Spacing(), 4);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    EXPECT_EQ(GetWindowLongW(b->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    // Being made the default button changes only the drawing.
    b->SetDefault(true);
    EXPECT_TRUE(b->IsDefault());
    EXPECT_EQ(GetWindowLongW(b->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(ZButton, PredefinedKindSetsBothCaptionsAndTheGlyph)
{
    auto *b = Add(10, 10);
    b->SetDefText(EZBtnPDT_Tune);
    EXPECT_EQ(b->CaptionL()->LRus(), "Настройка");
    EXPECT_EQ(b->CaptionL()->LUkr(), "Налаштування");
    EXPECT_EQ(b->Caption(), InterfaceLang() == elg_Rus ? "Настройка" : "Налаштування");
    EXPECT_EQ(b->ImageNo(), eil16x16_Gear);
    b->SetImageNo(eil16x16_Trash);  // the kind owns the glyph
    EXPECT_EQ(b->ImageNo(), eil16x16_Gear);
    b->SetDefText(30);  // no such kind: None, caption and glyph kept
    EXPECT_EQ(b->DefText(), EZBtnPDT_None);
    EXPECT_EQ(b->CaptionL()->LRus(), "Настройка");
    EXPECT_EQ(b->ImageNo(), eil16x16_Gear);
    b->SetImageNo(eil16x16_Trash);  // now its own
    EXPECT_EQ(b->ImageNo(), eil16x16_Trash);
}

TEST_F(ZButton, SettersBringValuesIntoRange)
{
    auto *b = Add(10, 10);
    b->SetImageNo(200);
    EXPECT_EQ(b->ImageNo(), eil16x16_End);
    b->SetImageNo(-1);
    EXPECT_EQ(b->ImageNo(), eil16x16_End);
    b->SetLayout(7);
    EXPECT_EQ(b->Layout(), blGlyphBottom);
    b->SetLayout(blGlyphTop);
    EXPECT_EQ(b->Layout(), blGlyphTop);
    b->SetMargin(5);
    b->SetMargin(-2);  // refused
    EXPECT_EQ(b->Margin(), 5);
    b->SetMargin(-1);
    EXPECT_EQ(b->Margin(), -1);
    b->SetSpacing(-1);
    EXPECT_EQ(b->Spacing(), 0);
}

TEST_F(ZButton, AmpersandIsDrawnAsItIs)
{
    auto *amp = Add(10, 10);
    amp->SetCaption("&");
    auto *empty = Add(10, 50);
    host.form->Show();
    EXPECT_GT(Look(amp).black, 5);  // a drawn "&", not a mnemonic marker
    EXPECT_EQ(Look(empty).black, 0);
    EXPECT_TRUE(amp->TextFlags() & dtNoPrefix);
}

TEST_F(ZButton, DisabledButtonDrawsGreyTextAndAGreyedGlyph)
{
    auto *enabled = Add(10, 10);
    enabled->SetDefText(EZBtnPDT_OK);
    auto *disabled = Add(10, 50);
    disabled->SetDefText(EZBtnPDT_OK);
    disabled->SetEnabled(false);
    host.form->Show();
    Census on = Look(enabled), off = Look(disabled);
    EXPECT_GT(on.black, 10);
    EXPECT_GT(on.coloured, 20);  // the green check mark
    EXPECT_EQ(off.black, 0);
    EXPECT_GT(off.grey, 10);
    EXPECT_EQ(off.coloured, 0);
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "zbutton_enabled_disabled"));
}

TEST_F(ZButton, HotFollowsTheMouseThroughTheWindowSystem)
{
    auto *b = Add(50, 50);
    host.form->Show();
    PumpFor(100);
    TPoint outside = host.form->ClientToScreen(Point(5, 5));
    TPoint inside = b->ClientToScreen(Point(20, 10));
    EXPECT_TRUE(MovePointerUntil(outside, [&] { return !b->Hot(); }));
    for (int x = 0; x < 3; ++x)
        EXPECT_TRUE(MovePointerUntil(Point(inside.X + x * 10, inside.Y), [&] { return b->Hot(); })) << x;
    EXPECT_TRUE(MovePointerUntil(outside, [&] { return !b->Hot(); }));
}

TEST_F(ZButton, DoubleClickClicksTwice)
{
    auto *b = Add(10, 10);
    int clicks = 0;
    b->OnClick = [&](TObject *) { ++clicks; };
    host.form->Show();
    HWND h = b->Handle();
    // What the window system sends for a double click: down, up, double click, up.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 2);
}

TEST_F(ZButton, DisablingTheFocusedButtonTakesItsFocusAway)
{
    auto *b = Add(10, 10);
    auto *other = Add(10, 50);
    host.form->Show();
    Application->ProcessMessages();
    b->SetFocus();
    ASSERT_EQ(host.form->ActiveControl(), b);
    b->SetEnabled(false);
    EXPECT_NE(host.form->ActiveControl(), b);
    EXPECT_FALSE(IsWindowEnabled(b->Handle()));
    b->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(b->Handle()));
    (void)other;
}

TEST_F(ZButton, WhileDesigningItPaintsItselfWithoutDrawItemMessages)
{
    auto *b = new CountingButton(host.form);
    b->SetParent(host.form);
    b->SetCaption("Кнопка");
    host.form->Show();
    Look(b);
    EXPECT_GT(b->drawItems, 0);  // running: drawn on the parent's request
    b->drawItems = 0;
    b->SetDesigning(true);
    Census designed = Look(b);
    EXPECT_EQ(b->drawItems, 0);
    EXPECT_GT(designed.black, 10);  // the caption
    HDC dc = GetDC(b->Handle());
    EXPECT_EQ(GetPixel(dc, b->Width() - 1, 10), GetSysColor(COLOR_3DDKSHADOW));  // the classic frame
    ReleaseDC(b->Handle(), dc);
}

TEST_F(ZButton, PictureOfButtonsOfSeveralKindsInBothLanguages)
{
    host.form->SetCaption("TZButton");
    host.form->SetClientWidth(2 * (4 * 104) + 24);
    host.form->SetClientHeight(330);
    const EZBtnPDT kinds[] = {EZBtnPDT_OK,    EZBtnPDT_Cancel, EZBtnPDT_Save,   EZBtnPDT_NotSave,
                              EZBtnPDT_Close, EZBtnPDT_Yes,    EZBtnPDT_No,     EZBtnPDT_Apply,
                              EZBtnPDT_Next,  EZBtnPDT_Back,   EZBtnPDT_Skip,   EZBtnPDT_Ignore,
                              EZBtnPDT_Fresh, EZBtnPDT_Tune,   EZBtnPDT_ZoomIn, EZBtnPDT_Preview};
    for (int lang = 0; lang < 2; ++lang) {
        const int x0 = 8 + lang * (4 * 104 + 8);
        std::vector<TZButton *> column;
        for (int i = 0; i < 16; ++i) {
            auto *b = Add(x0 + (i % 4) * 104, 8 + (i / 4) * 32);
            b->SetDefText(kinds[i]);
            column.push_back(b);
        }
        // Layouts, alignment, several lines, a disabled and the default button, a glyph alone.
        auto kind = [&](int x, int y, EZBtnPDT k) {
            auto *b = Add(x0 + x, y);
            b->SetDefText(k);
            return b;
        };
        auto own = [&](int x, int y, const char *rus, const char *ukr, EImgLs16x16 glyph, int width) {
            auto *b = Add(x0 + x, y);
            b->CaptionL()->SetLRus(rus);
            b->CaptionL()->SetLUkr(ukr);
            b->SetImageNo(glyph);
            b->SetWidth(width);
            return b;
        };
        auto *right = kind(0, 140, EZBtnPDT_Right);
        right->SetLayout(blGlyphRight);
        auto *top = kind(104, 140, EZBtnPDT_Up);
        top->SetLayout(blGlyphTop);
        top->SetHeight(44);
        auto *bottom = kind(208, 140, EZBtnPDT_Down);
        bottom->SetLayout(blGlyphBottom);
        bottom->SetHeight(44);
        auto *disabled = kind(312, 140, EZBtnPDT_Undo);
        disabled->SetEnabled(false);
        auto *multi = own(0, 192, "Сохранить и закрыть окно", "Зберегти та закрити вікно", eil16x16_Save, 140);
        multi->SetMultiline(true);
        multi->SetHeight(40);
        auto *aligned = own(208, 192, "Справа", "Праворуч", eil16x16_ARight, 200);
        aligned->SetAlignH(taRightJustify);
        aligned->SetMargin(6);
        auto *amp = own(0, 240, "Печать & вид", "Друк & вигляд", eil16x16_Prn, 200);
        auto *def = kind(208, 240, EZBtnPDT_Apply);
        def->SetDefault(true);
        auto *glyph = own(312, 240, "", "", eil16x16_Find, 32);
        auto *plain = own(0, 284, "Без картинки", "Без малюнка", eil16x16_End, 98);
        for (auto *b : {right, top, bottom, disabled, multi, aligned, amp, def, glyph, plain})
            column.push_back(b);
        for (auto *b : column)
            b->CaptionL()->SetLang(lang == 0 ? elg_Rus : elg_Ukr);
    }
    host.form->Show();
    host.form->Repaint();
    PumpFor(200);
    // As the system draws them (with its visual styles when they are on), then the classic way.
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "zbuttons"));
    TRecordingThemeLibrary classic(false);
    SetThemeLibrary(&classic);
    for (int i = 0; i < host.form->ControlCount(); ++i)
        host.form->Controls(i)->Invalidate();
    PumpFor(200);
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "zbuttons_classic"));
    SetThemeLibrary(nullptr);
}

TEST_F(ZButton, WithoutTheImageListOrItsStripTheCaptionIsDrawnAlone)
{
    auto *b = Add(10, 10);
    b->SetDefText(EZBtnPDT_OK);
    host.form->Show();
    ASSERT_GT(Look(b).coloured, 20);
    // A program built without the strip has an empty list; one past the controls' shutdown none.
    DM_Misc->_ImgLs16x16->Clear();
    Census empty = Look(b);
    EXPECT_EQ(empty.coloured, 0);
    EXPECT_GT(empty.black, 10);
    FreeDM_Misc();
    Census none = Look(b);
    EXPECT_EQ(none.coloured, 0);
    EXPECT_GT(none.black, 10);
    CreateDM_Misc();
    EXPECT_GT(Look(b).coloured, 20);
}
