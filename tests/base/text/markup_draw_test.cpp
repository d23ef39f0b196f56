// Drawing laid-out markup on the recording canvas: positions, alignment and the font of each line.
#include <gtest/gtest.h>

#include <string>

#include "base/text/Markup.h"
#include "framework/graphics/RecordingCanvas.h"
#include "tests/base/text/MarkupText.h"

namespace {

// Lays the text out to the rectangle's width and draws it there.
void LayAndDraw(TRecordingCanvas &canvas, const std::string &text, const TRect &rect, int alignment, int vertical = 0)
{
    MarkupLayout layout;
    int maxHeight = 0, total = 0;
    const int count = LayoutMarkupTextHash(text, rect.Width(), canvas, maxHeight, total, false, layout);
    DrawMarkupText(text, canvas, alignment, layout, total, count, vertical, rect);
}

}  // namespace

TEST(MarkupDraw, LinesGoDownByTheirOwnHeightsInTheirOwnFonts)
{
    TRecordingCanvas canvas;
    canvas.Font()->SetColor(clNavy);
    LayAndDraw(canvas, Markup("|ЖS14 Д0000FF |Итог#строка"), Rect(10, 20, 210, 200), MarkupAlignLeft);
    const auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(2u, outs.size());
    EXPECT_EQ("Итог", outs[0].Text);
    EXPECT_EQ(10, outs[0].X);
    EXPECT_EQ(20, outs[0].Y);
    EXPECT_EQ(fsBold, outs[0].FontStyle);
    EXPECT_EQ(-19, outs[0].FontHeight);
    EXPECT_EQ(clRed, outs[0].FontColor);
    EXPECT_EQ("строка", outs[1].Text);
    EXPECT_EQ(20 + 19, outs[1].Y);
    EXPECT_EQ(0u, outs[1].FontStyle);
    EXPECT_EQ(clNavy, outs[1].FontColor);
    EXPECT_EQ(clNavy, canvas.Font()->Color());
    EXPECT_EQ(-11, canvas.Font()->Height());
}

TEST(MarkupDraw, HorizontalAlignmentByDefaultOrByTheLinesBlock)
{
    // 100 pixels wide; "абв" is 18, so centred it starts 41 in, right-aligned 82 in.
    const TRect rect = Rect(0, 0, 100, 100);
    TRecordingCanvas canvas;
    LayAndDraw(canvas, "абв#абв", rect, MarkupAlignCentre);
    LayAndDraw(canvas, "абв", rect, MarkupAlignRight);
    LayAndDraw(canvas, Markup("|Л|абв#|П|абв#|Ц|абв"), rect, MarkupAlignRight);
    const auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(6u, outs.size());
    EXPECT_EQ(41, outs[0].X);
    EXPECT_EQ(41, outs[1].X);
    EXPECT_EQ(82, outs[2].X);
    EXPECT_EQ(0, outs[3].X);
    EXPECT_EQ(82, outs[4].X);
    EXPECT_EQ(41, outs[5].X);
}

TEST(MarkupDraw, VerticalAlignmentCentresOrBottomsTheBlockOfLines)
{
    // Two lines of 11 in a rectangle 51 high: 29 spare.
    TRecordingCanvas canvas;
    LayAndDraw(canvas, "а#б", Rect(0, 100, 50, 151), MarkupAlignLeft, 1);
    LayAndDraw(canvas, "а#б", Rect(0, 100, 50, 151), MarkupAlignLeft, 2);
    const auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(4u, outs.size());
    EXPECT_EQ(114, outs[0].Y);
    EXPECT_EQ(125, outs[1].Y);
    EXPECT_EQ(129, outs[2].Y);
    EXPECT_EQ(140, outs[3].Y);
}

TEST(MarkupDraw, TallTextAtTheBottomStartsAboveTheTopAndStopsAtTheBottom)
{
    // Five lines (55) in 30: bottom-aligned the first starts 25 above the top; none passes the bottom.
    TRecordingCanvas canvas;
    LayAndDraw(canvas, "1#2#3#4#5", Rect(0, 100, 50, 130), MarkupAlignLeft, 2);
    const auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(5u, outs.size());
    EXPECT_EQ(75, outs[0].Y);
    EXPECT_EQ(119, outs[4].Y);

    // From the top, only the lines that end inside are drawn.
    canvas.ClearCalls();
    LayAndDraw(canvas, "1#2#3#4#5", Rect(0, 100, 50, 130), MarkupAlignLeft, 0);
    EXPECT_EQ(2u, canvas.CallsOf("TextOut").size());
}

TEST(MarkupDraw, NothingForAnEmptyTextOrNoLines)
{
    TRecordingCanvas canvas;
    MarkupLayout layout;
    int maxHeight = 0, total = 0;
    const int count = LayoutMarkupTextHash("", 100, canvas, maxHeight, total, false, layout);
    DrawMarkupText("", canvas, MarkupAlignLeft, layout, total, count, 0, Rect(0, 0, 100, 100));
    DrawMarkupText("текст", canvas, MarkupAlignLeft, layout, total, 0, 0, Rect(0, 0, 100, 100));
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST(MarkupDraw, LineEntriesOutsideTheTextDrawOnlyWhatIsThere)
{
    // A layout made for another text: entries are kept within this one.
    MarkupLayout layout;
    layout.Start[0] = 3;
    layout.Length[0] = 50;
    layout.Start[1] = 90;
    layout.Length[1] = 4;
    TRecordingCanvas canvas;
    DrawMarkupText("абвгд", canvas, MarkupAlignLeft, layout, 22, 2, 0, Rect(0, 0, 100, 100));
    const auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(2u, outs.size());
    EXPECT_EQ("вгд", outs[0].Text);
    EXPECT_EQ("", outs[1].Text);
    // A line count beyond the layout draws at most its hundred lines.
    canvas.ClearCalls();
    DrawMarkupText("абвгд", canvas, MarkupAlignLeft, layout, 0, 5000, 0, Rect(0, 0, 100, 5000));
    EXPECT_EQ(100u, canvas.CallsOf("TextOut").size());
}
