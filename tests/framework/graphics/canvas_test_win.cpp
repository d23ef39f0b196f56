// Drawing on real device contexts (under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "framework/windows/Clipbrd.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/ImgList.h"
#include "framework/windows/Menus.h"
#include "tests/support/ClipboardTestLock.h"

TEST(Canvas, CyrillicTextMeasuresAndGrowsWithTheFont)
{
    TMeasureCanvas canvas;
    canvas.Font()->SetName("Tahoma");
    canvas.Font()->SetSize(8);
    int w8 = canvas.TextWidth("Обновление ЦМТ-5");
    int h8 = canvas.TextHeight("Ж");
    EXPECT_GT(w8, 0);
    EXPECT_GT(h8, 0);
    canvas.Font()->SetSize(16);
    EXPECT_GT(canvas.TextWidth("Обновление ЦМТ-5"), w8);
    EXPECT_GT(canvas.TextHeight("Ж"), h8);
    TTextMetrics tm = canvas.TextMetrics();
    EXPECT_GT(tm.Ascent, 0);
    EXPECT_GT(tm.Descent, 0);
    EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
    int widths[256];
    canvas.CharWidths(widths);
    EXPECT_EQ(canvas.TextWidth("Ж"), widths[0xC6]);
    EXPECT_GT(widths[0xC6], widths[static_cast<unsigned char>('.')]);
}

TEST(Canvas, AControlsCanvasFollowsItsControlToAWindowMadeAnew)
{
    // Used outside painting, the canvas keeps the context of the control's window; a window made anew
    // (a change of the border icons) must not leave it drawing on the one that went.
    auto *form = new TForm(nullptr);
    form->Canvas()->TextWidth("x");
    EXPECT_EQ(form->Handle(), WindowFromDC(form->Canvas()->Handle()));
    form->SetBorderIcons(biSystemMenu);
    EXPECT_EQ(form->Handle(), WindowFromDC(form->Canvas()->Handle()));
    form->Free();
}

TEST(Canvas, WordWrappedCalcRectGivesMoreLinesWhenNarrower)
{
    TMeasureCanvas canvas;
    const AnsiString text = "Обновление невозможно в связи с отсутствием места на компьютере";
    TRect wide = Rect(0, 0, 400, 0), narrow = Rect(0, 0, 80, 0);
    int lineHeight = canvas.TextHeight("W");
    int wideHeight = canvas.DrawText(text, wide, dtCalcRect | dtWordBreak | dtExpandTabs);
    int narrowHeight = canvas.DrawText(text, narrow, dtCalcRect | dtWordBreak | dtExpandTabs);
    EXPECT_EQ(lineHeight, wideHeight);
    EXPECT_GE(narrowHeight, 4 * lineHeight);
    EXPECT_EQ(narrowHeight, narrow.Height());
}

TEST(Canvas, BitmapFillReadsBackAtAPixel)
{
    TBitmap bitmap(20, 10);
    EXPECT_EQ(clWhite, bitmap.Canvas()->Pixel(3, 3));  // a new bitmap is white
    bitmap.Canvas()->Brush()->SetColor(0x336699);
    bitmap.Canvas()->FillRect(Rect(5, 0, 20, 10));
    EXPECT_EQ(0x336699u, bitmap.Canvas()->Pixel(5, 0));
    EXPECT_EQ(0x336699u, bitmap.Canvas()->Pixel(19, 9));
    EXPECT_EQ(clWhite, bitmap.Canvas()->Pixel(4, 5));
    EXPECT_EQ(clNone, bitmap.Canvas()->Pixel(25, 5));
    EXPECT_EQ(Rect(0, 0, 20, 10), bitmap.Canvas()->ClipRect());

    // Lines, rectangles and copies land on the pixels they name.
    bitmap.Canvas()->Pen()->SetColor(clRed);
    bitmap.Canvas()->MoveTo(0, 9);
    bitmap.Canvas()->LineTo(5, 9);
    EXPECT_EQ(clRed, bitmap.Canvas()->Pixel(2, 9));
    TBitmap copy(20, 10);
    copy.Canvas()->Draw(0, 0, bitmap);
    EXPECT_EQ(0x336699u, copy.Canvas()->Pixel(10, 5));
    EXPECT_EQ(clRed, copy.Canvas()->Pixel(2, 9));
    copy.Canvas()->CopyRect(Rect(0, 0, 2, 2), *bitmap.Canvas(), Rect(10, 5, 12, 7));
    EXPECT_EQ(0x336699u, copy.Canvas()->Pixel(0, 0));
}

TEST(Canvas, TextOnABitmapColoursItsPixels)
{
    TBitmap bitmap(100, 30);
    bitmap.Canvas()->Font()->SetColor(clBlue);
    bitmap.Canvas()->Font()->SetHeight(-20);
    bitmap.Canvas()->Brush()->SetStyle(bsClear);
    bitmap.Canvas()->TextOut(2, 2, "ЖЖЖ");
    int blue = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            blue += bitmap.Canvas()->Pixel(x, y) == clBlue;
    EXPECT_GT(blue, 20);
}

TEST(Canvas, SystemColoursResolveThroughTheSystem)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), ColorToRGB(clBtnFace));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), ColorToRGB(clWindowText));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), ColorToRGB(clInfoBk));
    TBitmap bitmap(4, 4);
    bitmap.Canvas()->Brush()->SetColor(clHighlight);
    bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), bitmap.Canvas()->Pixel(1, 1));
}

TEST(Canvas, LockIsRecursive)
{
    TMeasureCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_TRUE(canvas.TryLock());
    canvas.Unlock();
    canvas.Unlock();
    canvas.Unlock();
}

TEST(Canvas, ImageListDrawsNormalAndGreyed)
{
    // A strip of two 16 x 16 images: a red square and a blue one, on a fuchsia background.
    TBitmap strip(32, 16);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 32, 16));
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(2, 2, 14, 14));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(18, 2, 30, 14));
    TImageList images(nullptr);
    EXPECT_EQ(0, images.AddMasked(strip, clFuchsia));
    EXPECT_EQ(2, images.Count());

    TBitmap target(40, 20);
    images.Draw(*target.Canvas(), 0, 0, 1);
    EXPECT_EQ(clBlue, target.Canvas()->Pixel(8, 8));
    EXPECT_EQ(clWhite, target.Canvas()->Pixel(0, 0));  // the mask colour stays transparent
    images.Draw(*target.Canvas(), 20, 0, 0, false);
    TColor greyed = target.Canvas()->Pixel(28, 8);
    EXPECT_NE(clRed, greyed);
    images.Draw(*target.Canvas(), 0, 0, 7);                     // outside the list: nothing
    EXPECT_EQ(0, images.LoadFromResourceID(1, clFuchsia) + 1);  // no such resource: -1
}

TEST(Canvas, IconFromImageBytesDraws)
{
    // One 16 x 16 image of an icon file: header (height doubled for the mask), 32-bit colour rows
    // bottom-up, then the 1-bit mask rows (4 bytes each), all zero (opaque).
    std::vector<unsigned char> image(sizeof(BITMAPINFOHEADER) + 16 * 16 * 4 + 16 * 4, 0);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 16;
    header.biHeight = 32;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::memcpy(image.data(), &header, sizeof header);
    auto *pixels = reinterpret_cast<uint32_t *>(image.data() + sizeof header);
    for (int i = 0; i < 256; ++i)
        pixels[i] = 0xFF00C000;  // opaque green (0xAARRGGBB)
    TIcon icon;
    ASSERT_TRUE(icon.LoadFromImage(image.data(), image.size()));
    EXPECT_EQ(16, icon.Width());
    EXPECT_EQ(16, icon.Height());
    TBitmap target(20, 20);
    icon.Draw(*target.Canvas(), 2, 2);
    EXPECT_EQ(0x00C000u, target.Canvas()->Pixel(10, 10));
    EXPECT_EQ(clWhite, target.Canvas()->Pixel(19, 19));
    EXPECT_FALSE(icon.LoadFromImage(image.data(), 8));
    EXPECT_TRUE(icon.Empty());
}

TEST(Clipboard, CyrillicTextRoundTrip)
{
    ClipboardTestLock clipboard;
    const AnsiString text = "Копия: Ёё Її Ґґ №5";
    ASSERT_TRUE(Clipboard()->SetAsText(text));
    EXPECT_EQ(text, Clipboard()->AsText());
    EXPECT_TRUE(Clipboard()->HasFormat(cfUnicodeText));
    EXPECT_TRUE(Clipboard()->HasFormat(cfText));
    // Another program that reads the Unicode form sees the same characters.
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto *wide = static_cast<const wchar_t *>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(0x041A, wide[0]);  // К
    EXPECT_EQ(0x0401, wide[7]);  // Ё
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    // An empty text leaves the clipboard as it was.
    EXPECT_FALSE(Clipboard()->SetAsText(""));
    EXPECT_EQ(text, Clipboard()->AsText());
    EXPECT_TRUE(Clipboard()->Clear());
    EXPECT_EQ("", Clipboard()->AsText());
}

TEST(Clipboard, OnlyEightBitTextIsTakenAsItIs)
{
    ClipboardTestLock clipboard;
    ASSERT_TRUE(Clipboard()->Clear());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(block), "abc", 4);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    EXPECT_EQ("abc", Clipboard()->AsText());
}

TEST(Menus, PopupRunsOnPopupAndReturnsWhenDismissed)
{
    TPopupMenu menu(nullptr);
    auto *item = new TMenuItem(&menu);
    item->SetCaption("Копировать");
    item->SetShortCut(TextToShortCut("Ctrl+C"));
    menu.Items()->Add(item);
    bool popped = false;
    menu.OnPopup = [&](TObject *) { popped = true; };
    TTimer closer(nullptr);
    closer.SetInterval(200);
    closer.OnTimer = [&](TObject *) {
        EndMenu();
        closer.SetEnabled(false);
    };
    menu.Popup(100, 100);
    EXPECT_TRUE(popped);
    EXPECT_EQ(Point(100, 100), menu.PopupPoint());
}

TEST(Menus, MenuCommandsAndShortCutsReachTheirItems)
{
    auto *form = new TForm(nullptr);
    auto *bar = new TMainMenu(form);
    auto *file = new TMenuItem(form);
    file->SetCaption("Файл");
    bar->Items()->Add(file);
    auto *save = new TMenuItem(form);
    save->SetCaption("Сохранить");
    save->SetShortCut(TextToShortCut("Ctrl+S"));
    file->Add(save);
    int saves = 0;
    save->OnClick = [&](TObject *) { ++saves; };
    form->SetMenu(bar);
    form->Show();
    EXPECT_NE(nullptr, GetMenu(form->Handle()));
    SendMessageW(form->Handle(), WM_COMMAND, save->Command(), 0);
    EXPECT_EQ(1, saves);
    form->Free();
}

TEST(Canvas, ControlCanvasDrawsIntoTheWindow)
{
    auto *form = new TForm(nullptr);
    form->SetBounds(50, 50, 200, 150);
    form->Show();
    Application->ProcessMessages();
    {
        TControlCanvas canvas(form);
        canvas.Brush()->SetColor(0x00A0B0);
        canvas.FillRect(Rect(0, 0, 40, 40));
        EXPECT_EQ(0x00A0B0u, canvas.Pixel(10, 10));
        EXPECT_EQ(form->ClientWidth(), canvas.ClipRect().Width());
        canvas.Font()->SetSize(12);
        int w = canvas.TextWidth("Ж");
        canvas.Font()->SetSize(24);  // the old font is not held by the context, so it can go
        EXPECT_GT(canvas.TextWidth("Ж"), w);
    }
    form->Free();
}

TEST(Canvas, FontFromAWholeLogicalFontRecordReadsBack)
{
    TFontRecord record;
    record.Height = -15;
    record.Escapement = record.Orientation = 450;
    record.Weight = 600;
    record.Underline = 1;
    record.CharSet = RUSSIAN_CHARSET_VALUE;
    record.PitchAndFamily = 2 | 0x20;
    record.FaceName = "Шрифт с кириллицей";
    HFONT font = CreateFontFromRecord(record);
    ASSERT_NE(nullptr, font);
    TFontRecord back;
    EXPECT_TRUE(FontRecordOf(font, back));
    EXPECT_EQ(record, back);
    DeleteObject(font);
    EXPECT_FALSE(FontRecordOf(nullptr, back));

    // The face name field holds 31 characters.
    record.FaceName = std::string(40, 'F');
    font = CreateFontFromRecord(record);
    ASSERT_TRUE(FontRecordOf(font, back));
    EXPECT_EQ(std::string(31, 'F'), back.FaceName);
    DeleteObject(font);
}

TEST(Canvas, TextFontStaysSelectedInTheCallersContext)
{
    TMeasureCanvas canvas;
    HDC dc = canvas.Handle();
    TFontRecord record;
    record.Height = -24;
    record.CharSet = RUSSIAN_CHARSET_VALUE;
    record.FaceName = "Tahoma";
    HFONT font = CreateFontFromRecord(record);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    SelectTextFont(dc, font, clMenu);
    EXPECT_EQ(font, GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(static_cast<UINT>(TA_BASELINE | TA_LEFT),
              GetTextAlign(dc) & (TA_BASELINE | TA_LEFT | TA_CENTER | TA_RIGHT));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(GetSysColor(COLOR_MENU), GetTextColor(dc));
    TTextMetrics tm = DCTextMetrics(dc);
    EXPECT_GE(tm.Height, 24);
    int widths[256];
    DCCharWidths(dc, widths);
    EXPECT_GT(widths[0xC6], widths[static_cast<unsigned char>('.')]);  // Ж wider than a full stop
    SelectObject(dc, before);
    DeleteObject(font);
}
