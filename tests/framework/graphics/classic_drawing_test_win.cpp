// Classic drawing on real device contexts, the system's visual-styles library and the icons of an
// executable (run under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/Themes.h"
#include "tests/support/FormHost.h"

namespace {
TColor White() { return static_cast<TColor>(RGB(255, 255, 255)); }

// A white bitmap to draw on.
struct Sheet {
    Sheet(int w, int h) : bitmap(w, h)
    {
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(Rect(0, 0, w, h));
    }
    TCanvas &Canvas() { return *bitmap.Canvas(); }
    int Differing(Sheet &other, const TRect &r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += Canvas().Pixel(x, y) != other.Canvas().Pixel(x, y);
        return n;
    }
    TBitmap bitmap;
};
}  // namespace

TEST(ClassicDrawing, FrameControlsFollowTheStateAsked)
{
    Sheet up(60, 30), down(60, 30), off(60, 30), checked(20, 20), unchecked(20, 20);
    TRect r = Rect(0, 0, 60, 30);
    up.Canvas().DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH);
    // A raised button: a light top-left edge and a dark bottom-right one.
    EXPECT_NE(up.Canvas().Pixel(59, 29), up.Canvas().Pixel(0, 0));
    EXPECT_EQ(static_cast<TColor>(ColorToRGB(clBtnFace)), up.Canvas().Pixel(30, 15));
    r = Rect(0, 0, 60, 30);
    down.Canvas().DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_GT(up.Differing(down, Rect(0, 0, 60, 30)), 0);
    r = Rect(0, 0, 20, 20);
    checked.Canvas().DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    r = Rect(0, 0, 20, 20);
    unchecked.Canvas().DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_GT(checked.Differing(unchecked, Rect(0, 0, 20, 20)), 0);
    r = Rect(0, 0, 60, 30);
    off.Canvas().DrawFrameControl(r, DFC_CAPTION, DFCS_CAPTIONHELP | DFCS_INACTIVE);
    EXPECT_GT(off.Differing(up, Rect(0, 0, 60, 30)), 0);
    // With DFCS_ADJUSTRECT the rectangle becomes the button's inside.
    r = Rect(0, 0, 60, 30);
    up.Canvas().DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_LT(r.Width(), 60);
    EXPECT_GT(r.Left, 0);
}

TEST(ClassicDrawing, EdgesAdjustTheRectangleAndTheFocusFrameInverts)
{
    Sheet sheet(40, 40);
    TRect r = Rect(0, 0, 40, 40);
    sheet.Canvas().DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(Rect(2, 2, 38, 38), r);
    EXPECT_NE(White(), sheet.Canvas().Pixel(0, 0));
    EXPECT_EQ(White(), sheet.Canvas().Pixel(20, 20));
    r = Rect(0, 0, 40, 40);
    sheet.Canvas().DrawEdge(r, BDR_RAISEDINNER, BF_TOP);
    EXPECT_EQ(Rect(0, 0, 40, 40), r);

    Sheet focus(30, 30);
    focus.Canvas().DrawFocusRect(Rect(5, 5, 25, 25));
    int dots = 0;
    for (int x = 5; x < 25; ++x)
        dots += focus.Canvas().Pixel(x, 5) != White();
    EXPECT_GT(dots, 5);
    EXPECT_LT(dots, 20);  // dotted, not a line
    EXPECT_EQ(White(), focus.Canvas().Pixel(15, 15));
    focus.Canvas().DrawFocusRect(Rect(5, 5, 25, 25));
    for (int x = 5; x < 25; ++x)
        EXPECT_EQ(White(), focus.Canvas().Pixel(x, 5));
}

TEST(ClassicDrawing, JustificationSpreadsExtraPixelsOverTheBlanks)
{
    Sheet plain(300, 30), justified(300, 30);
    for (Sheet *s : {&plain, &justified}) {
        s->Canvas().Font()->SetName("Arial");
        s->Canvas().Font()->SetHeight(-14);
        s->Canvas().Font()->SetColor(clBlack);
    }
    const AnsiString line = "Дата и время";
    const int width = plain.Canvas().TextWidth(line);
    plain.Canvas().TextOut(0, 0, line);
    justified.Canvas().SetTextJustification(40, 2);
    justified.Canvas().TextOut(0, 0, line);
    justified.Canvas().SetTextJustification(0, 0);
    auto rightmostInk = [](Sheet &s) {
        for (int x = 299; x >= 0; --x)
            for (int y = 0; y < 30; ++y)
                if (s.Canvas().Pixel(x, y) != White())
                    return x;
        return -1;
    };
    int plainEnd = rightmostInk(plain);
    int justifiedEnd = rightmostInk(justified);
    EXPECT_LE(plainEnd, width);
    EXPECT_NEAR(plainEnd + 40, justifiedEnd, 1);
    // Switched off again, texts are as wide as before.
    EXPECT_EQ(width, justified.Canvas().TextWidth(line));
}

TEST(ClassicDrawing, ExternalLeadingAddsToTheLineHeight)
{
    Sheet sheet(200, 50);
    TCanvas &c = sheet.Canvas();
    c.Font()->SetName("Times New Roman");
    c.Font()->SetHeight(-20);
    TTextMetrics metrics = c.TextMetrics();
    TRect without = Rect(0, 0, 200, 0), with = Rect(0, 0, 200, 0);
    int h1 = c.DrawText("ЩЙQ", without, dtCalcRect | dtSingleLine | dtNoPrefix);
    int h2 = c.DrawText("ЩЙQ", with, dtCalcRect | dtSingleLine | dtNoPrefix | dtExternalLeading);
    EXPECT_EQ(metrics.Height, h1);
    EXPECT_EQ(metrics.Height + metrics.ExternalLeading, h2);
    EXPECT_EQ(h2, with.Height());
}

TEST(ClassicDrawing, PanelDrawsItsBevelsAsEdges)
{
    FormHost host;
    host.form->SetColor(clWhite);
    auto *panel = host.Add<TPanel>();
    panel->SetBounds(10, 10, 100, 40);
    panel->SetColor(clWhite);
    panel->SetBevelOuter(bvLowered);
    host.form->Show();
    panel->Repaint();
    HDC dc = GetDC(panel->Handle());
    // Sunken outer line: dark at the top left, light at the bottom right.
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(dc, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), GetPixel(dc, 99, 39));
    ReleaseDC(panel->Handle(), dc);
    panel->SetBevelOuter(bvNone);
    panel->Repaint();
    dc = GetDC(panel->Handle());
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 0));
    ReleaseDC(panel->Handle(), dc);
}

TEST(Themes, TheSystemLibraryDrawsOrStepsAsideForClassic)
{
    TThemeLibrary &system = SystemThemeLibrary();
    EXPECT_EQ(&system, &ThemeLibrary());
    Sheet sheet(60, 30), blank(60, 30);
    // Whichever way the system runs, the element is drawn (themed or classic).
    DrawElement(sheet.Canvas(), PushButtonElement(tsNormal), Rect(0, 0, 60, 30));
    EXPECT_GT(sheet.Differing(blank, Rect(0, 0, 60, 30)), 0);
    TRect content = ElementContentRect(sheet.Canvas(), PushButtonElement(tsNormal), Rect(0, 0, 60, 30));
    EXPECT_GT(content.Left, 0);
    EXPECT_LT(content.Right, 60);
    if (!system.Active()) {
        EXPECT_EQ(Rect(2, 2, 58, 28), content);
    }
}

TEST(ExecutableIcons, CountsThemAndLoadsOneByIndex)
{
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    AnsiString shell = WideToCp1251(folder) + "\\shell32.dll";
    int count = ExecutableIconCount(shell);
    ASSERT_GT(count, 1);
    TIcon large, small;
    ASSERT_TRUE(large.LoadFromExecutable(shell, count - 1));
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), large.Width());
    ASSERT_TRUE(small.LoadFromExecutable(shell, 0, false));
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), small.Width());
    // Drawn into a bitmap, as a button's glyph.
    Sheet glyph(32, 32), blank(32, 32);
    large.Draw(glyph.Canvas(), 0, 0);
    EXPECT_GT(glyph.Differing(blank, Rect(0, 0, 32, 32)), 0);

    // Out of range, a negative index, a missing file: no icon, and an icon loaded before is let go.
    EXPECT_FALSE(large.LoadFromExecutable(shell, count));
    EXPECT_TRUE(large.Empty());
    EXPECT_FALSE(large.LoadFromExecutable(shell, -1));
    EXPECT_EQ(0, ExecutableIconCount("C:\\нет такого\\файла.exe"));
    EXPECT_FALSE(large.LoadFromExecutable("C:\\нет такого\\файла.exe", 0));
    EXPECT_EQ(0, ExecutableIconCount(""));
}
