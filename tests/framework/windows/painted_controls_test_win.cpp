// The painted controls on real windows: image, shape and speed button (run under Wine inside Xvfb).
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/windows/Buttons.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "tests/support/FormHost.h"
#include "tests/support/WindowPicture.h"

namespace {
// On a white form.
struct Host : FormHost {
    Host() { form->SetColor(clWhite); }
};

COLORREF PixelOf(TWinControl *control, int x, int y)
{
    control->Repaint();
    HDC dc = GetDC(control->Handle());
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(control->Handle(), dc);
    return c;
}
}  // namespace

TEST(PaintedControls, ImageShowsItsPictureAtItsSizeOrStretched)
{
    Host host;
    auto *image = host.Add<TImage>();
    image->SetBounds(10, 10, 40, 40);
    image->SetColor(clWhite);
    TBitmap *bitmap = image->Picture()->Bitmap();
    bitmap->SetSize(4, 4);
    image->Canvas()->Brush()->SetColor(clRed);
    image->Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(4, image->Picture()->Width());
    host.form->Show();
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(image, 1, 1));
    EXPECT_EQ(RGB(255, 255, 255), PixelOf(image, 30, 30));
    image->SetStretch(true);
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(image, 30, 30));
}

TEST(PaintedControls, ShapeDrawsItsFigureWithPenAndBrush)
{
    Host host;
    auto *shape = host.Add<TShape>();
    shape->SetBounds(10, 10, 60, 40);
    shape->SetColor(clWhite);
    shape->SetShape(stEllipse);
    shape->Brush()->SetColor(clLime);
    shape->Pen()->SetColor(clBlue);
    host.form->Show();
    EXPECT_EQ(RGB(0, 255, 0), PixelOf(shape, 30, 20));
    EXPECT_EQ(RGB(255, 255, 255), PixelOf(shape, 1, 1));  // outside the ellipse
    shape->SetShape(stRectangle);
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(shape, 0, 0));
    // One pixel high: a line in the pen's colour.
    shape->SetHeight(1);
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(shape, 30, 0));
}

TEST(PaintedControls, SpeedButtonClicksOnReleaseOverItAndShowsItsGlyph)
{
    Host host;
    auto *button = host.Add<TSpeedButton>();
    button->SetBounds(10, 10, 40, 30);
    button->Glyph()->SetSize(8, 8);
    TCanvas *glyph = button->Glyph()->Canvas();
    glyph->Brush()->SetColor(clFuchsia);  // the transparent colour (bottom-left pixel)
    glyph->FillRect(Rect(0, 0, 8, 8));
    glyph->Brush()->SetColor(clRed);
    glyph->FillRect(Rect(2, 2, 6, 6));
    button->GlyphChanged();
    int clicks = 0;
    button->OnClick = [&](TObject *) { ++clicks; };
    host.form->Show();
    HWND h = button->Handle();
    EXPECT_FALSE(button->TabStop());
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(button, 20, 15));    // the glyph's middle, centred
    EXPECT_NE(RGB(255, 0, 255), PixelOf(button, 17, 12));  // its background is not drawn

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, clicks);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(100, 5));  // released outside
    EXPECT_EQ(1, clicks);
    button->SetEnabled(false);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, clicks);
}

TEST(PaintedControls, APanelAtTheFormsFootIsRedrawnWholeWhenTheFormIsWidened)
{
    FormHost host;
    host.form->SetBorderStyle(bsNone);
    auto *status = host.Add<TPanel>();
    status->SetAlign(alBottom);
    status->SetHeight(24);
    status->SetBevelOuter(bvLowered);
    status->SetAlignment(taLeftJustify);
    status->SetCaption("Готово");
    host.form->SetBounds(0, 0, 200, 100);
    host.form->Show();
    auto settle = [] {
        for (int i = 0; i < 20; ++i)
            Application->ProcessMessages();
    };
    settle();
    // Only what the window system asks to be painted is painted: the screen is read as it stands.
    auto pixel = [&](int x, int y) {
        HDC dc = GetDC(status->Handle());
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(status->Handle(), dc);
        return c;
    };
    const int oldRight = status->Width() - 1;
    const COLORREF face = pixel(oldRight - 40, 20);
    ASSERT_NE(pixel(oldRight, 12), face);  // the bevel's right line
    host.form->SetBounds(0, 0, 320, 100);
    settle();
    EXPECT_EQ(status->Width(), 320);
    EXPECT_EQ(pixel(oldRight, 12), face) << "the old right bevel line is still on the screen";
    EXPECT_NE(pixel(status->Width() - 1, 12), face);
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "panel_status_line_after_widening"));
}
