// The shared image list on real windows: the strip from the program's resources cut into 88 glyphs.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/UDataModule.h"
#include "controls/buttons/UZButton.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/ImgList.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/FormHost.h"
#include "tests/support/WindowPicture.h"

namespace {
// How many pixels of a 16 x 16 square at (x, y) are clearly green, and how many differ from the ground.
struct Census {
    int green = 0, drawn = 0;
};
Census Count(TCanvas &canvas, int x, int y, TColor ground)
{
    Census c;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            TColor p = canvas.Pixel(x + i, y + j);
            int r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
            if (g > 100 && g > r + 50 && g > b + 50)
                ++c.green;
            if (p != ground)
                ++c.drawn;
        }
    return c;
}
}  // namespace

TEST(Glyphs, TheStripGivesEightyEightGlyphsDrawnTransparentAndGreyedWhenDisabled)
{
    ASSERT_NE(DM_Misc, nullptr);  // made by the controls' start-up
    TImageList *list = DM_Misc->_ImgLs16x16;
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Name(), "_ImgLs16x16");
    EXPECT_EQ(list->Owner(), DM_Misc);
    EXPECT_EQ(list->Count(), 88);
    EXPECT_EQ(list->Width(), 16);
    EXPECT_EQ(list->Height(), 16);

    TBitmap bitmap(64, 16);
    TCanvas &canvas = *bitmap.Canvas();
    canvas.Brush()->SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, 64, 16));
    list->Draw(canvas, 0, 0, eil16x16_OK);
    list->Draw(canvas, 16, 0, eil16x16_OK, false);
    list->Draw(canvas, 32, 0, eil16x16_End);  // no such glyph: nothing drawn
    Census normal = Count(canvas, 0, 0, clWhite), greyed = Count(canvas, 16, 0, clWhite);
    EXPECT_GT(normal.green, 20);           // the green check mark
    EXPECT_LT(normal.drawn, 16 * 16 / 2);  // its magenta ground stayed transparent
    EXPECT_EQ(canvas.Pixel(0, 0), clWhite);
    EXPECT_EQ(greyed.green, 0);   // greyed: no colour left
    EXPECT_GT(greyed.drawn, 10);  // but the shape is there
    EXPECT_EQ(Count(canvas, 32, 0, clWhite).drawn, 0);
}

TEST(Glyphs, PictureOfAllEightyEight)
{
    ASSERT_NE(DM_Misc, nullptr);
    TImageList *list = DM_Misc->_ImgLs16x16;
    ASSERT_NE(list, nullptr);
    // Eight rows of eleven: each glyph twice its size, its number and the glyph at its own size below.
    const int cols = 11, cellW = 48, cellH = 60;
    FormHost host;
    host.form->SetCaption("glyphs");
    host.form->SetColor(clBtnFace);
    host.form->SetClientWidth(cols * cellW + 8);
    host.form->SetClientHeight(8 * cellH + 8);
    TBitmap strip(88 * 16, 16);
    strip.Canvas()->Brush()->SetColor(clBtnFace);
    strip.Canvas()->FillRect(Rect(0, 0, 88 * 16, 16));
    for (int i = 0; i < 88; ++i)
        list->Draw(*strip.Canvas(), i * 16, 0, i);
    host.form->OnPaint = [&](TObject *) {
        TCanvas &c = *host.form->Canvas();
        c.Brush()->SetStyle(bsClear);
        for (int i = 0; i < 88; ++i) {
            int x = 4 + (i % cols) * cellW, y = 4 + (i / cols) * cellH;
            c.CopyRect(Bounds(x + 8, y, 32, 32), *strip.Canvas(), Bounds(i * 16, 0, 16, 16));
            c.TextOut(x + 4, y + 38, IntToStr(i));
            list->Draw(c, x + 26, y + 36, i);
        }
    };
    host.form->Show();
    host.form->Repaint();
    Application->ProcessMessages();
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "glyphs16"));
}
