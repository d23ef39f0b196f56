// Markup drawn on a real bitmap (under Wine): each line's colour reaches the pixels of its own band.
#include <gtest/gtest.h>

#include "base/text/Markup.h"
#include "tests/base/text/MarkupText.h"

namespace {

// Pixels of exactly this colour between the two heights.
int CountPixels(TCanvas &canvas, int width, int top, int bottom, TColor color)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < width; ++x)
            n += canvas.Pixel(x, y) == color;
    return n;
}

}  // namespace

TEST(MarkupBitmap, TwoBoldLinesInTheirOwnColours)
{
    TBitmap bitmap(240, 80);
    TCanvas &canvas = *bitmap.Canvas();
    canvas.Font()->SetName("Tahoma");
    canvas.Font()->SetSize(10);
    canvas.Font()->SetColor(clBlack);
    canvas.Brush()->SetStyle(bsClear);
    const std::string text = Markup("|ЖS14 Д0000FF |Красная строка#|ЖS14 ДFF0000 |Синяя строка");
    MarkupLayout layout;
    int maxHeight = 0, total = 0;
    ASSERT_EQ(2, LayoutMarkupTextHash(text, 236, canvas, maxHeight, total, false, layout));
    EXPECT_GT(maxHeight, 0);
    EXPECT_EQ(2 * maxHeight, total);
    EXPECT_EQ((MarkupBold << 8) + 14, layout.Style[0]);
    DrawMarkupText(text, canvas, MarkupAlignCentre, layout, total, 2, 0, Rect(2, 2, 238, 78));

    const int split = 2 + maxHeight;
    EXPECT_GT(CountPixels(canvas, 240, 0, split, clRed), 30);
    EXPECT_EQ(0, CountPixels(canvas, 240, 0, split, clBlue));
    EXPECT_GT(CountPixels(canvas, 240, split, 80, clBlue), 30);
    EXPECT_EQ(0, CountPixels(canvas, 240, split, 80, clRed));
    EXPECT_EQ(0, CountPixels(canvas, 240, 0, 80, clBlack));
    EXPECT_EQ(clBlack, canvas.Font()->Color());

    // The bold lines are heavier than the same text drawn plain.
    TBitmap plain(240, 80);
    plain.Canvas()->Font()->Assign(*canvas.Font());
    plain.Canvas()->Brush()->SetStyle(bsClear);
    const std::string plainText = Markup("|S14 Д0000FF |Красная строка");
    ASSERT_EQ(1, LayoutMarkupTextHash(plainText, 236, *plain.Canvas(), maxHeight, total, false, layout));
    DrawMarkupText(plainText, *plain.Canvas(), MarkupAlignCentre, layout, total, 1, 0, Rect(2, 2, 238, 78));
    EXPECT_GT(CountPixels(canvas, 240, 0, split, clRed), CountPixels(*plain.Canvas(), 240, 0, split, clRed));
}
