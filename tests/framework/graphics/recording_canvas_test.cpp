#include <gtest/gtest.h>

#include "framework/graphics/RecordingCanvas.h"

TEST(RecordingCanvas, LogsTheTextOutSequenceWithTheFontInEffect)
{
    TRecordingCanvas canvas;
    canvas.Font()->SetHeight(-12);
    canvas.TextOut(10, 20, "Внимание");
    canvas.Font()->SetStyle(fsBold);
    canvas.Font()->SetColor(clRed);
    canvas.TextOut(10, 32, "Ошибка");
    canvas.Brush()->SetColor(clYellow);
    canvas.FillRect(Rect(0, 0, 5, 5));
    auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(2u, outs.size());
    EXPECT_EQ("Внимание", outs[0].Text);
    EXPECT_EQ(10, outs[0].X);
    EXPECT_EQ(20, outs[0].Y);
    EXPECT_EQ(0u, outs[0].FontStyle);
    EXPECT_EQ("Ошибка", outs[1].Text);
    EXPECT_EQ(32, outs[1].Y);
    EXPECT_EQ(fsBold, outs[1].FontStyle);
    EXPECT_EQ(clRed, outs[1].FontColor);
    ASSERT_EQ(3u, canvas.Calls().size());
    EXPECT_EQ("FillRect", canvas.Calls()[2].Op);
    EXPECT_EQ(clYellow, canvas.Calls()[2].BrushColor);
    // The pen moves past the text, as on a screen.
    EXPECT_EQ(Point(10 + canvas.TextWidth("Ошибка"), 32), canvas.PenPos());
}

TEST(RecordingCanvas, MeasuresWithFixedMetricsThatGrowWithTheFont)
{
    TRecordingCanvas canvas;
    canvas.Font()->SetHeight(-11);
    EXPECT_EQ(6 * 6, canvas.TextWidth("Привет"));  // (11 + 1) / 2 a character
    EXPECT_EQ(11, canvas.TextHeight("Привет"));
    int small = canvas.TextWidth("Ж");
    canvas.Font()->SetSize(20);
    EXPECT_GT(canvas.TextWidth("Ж"), small);
    TTextMetrics tm = canvas.TextMetrics();
    EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
    int widths[256];
    canvas.CharWidths(widths);
    EXPECT_EQ(canvas.TextWidth("я"), widths[0xFF]);
}

TEST(RecordingCanvas, WordWrappedCalcRectGivesMoreLinesWhenNarrower)
{
    TRecordingCanvas canvas;
    canvas.Font()->SetHeight(-10);  // 5 pixels a character, 10 a line
    const AnsiString text = "Обновление невозможно в связи с отсутствием места";
    TRect wide = Rect(0, 0, 200, 0), narrow = Rect(0, 0, 80, 0);
    int wideHeight = canvas.DrawText(text, wide, dtCalcRect | dtWordBreak);
    int narrowHeight = canvas.DrawText(text, narrow, dtCalcRect | dtWordBreak);
    EXPECT_GT(narrowHeight, wideHeight);
    EXPECT_EQ(narrowHeight, narrow.Bottom);
    EXPECT_LE(narrow.Right, 80);
    // A word longer than the width keeps a line of its own and widens the rectangle.
    TRect tiny = Rect(0, 0, 20, 0);
    canvas.DrawText("отсутствием", tiny, dtCalcRect | dtWordBreak);
    EXPECT_EQ(11 * 5, tiny.Right);
    // Line breaks count unless the text is drawn as a single line; measuring draws nothing.
    TRect lines = Rect(0, 0, 500, 0);
    EXPECT_EQ(30, canvas.DrawText("а\r\nб\nв", lines, dtCalcRect));
    EXPECT_EQ(10, canvas.DrawText("а\r\nб\nв", lines, dtCalcRect | dtSingleLine));
    EXPECT_TRUE(canvas.Calls().empty());
    canvas.DrawText(text, wide, dtWordBreak | dtCenter);
    ASSERT_EQ(1u, canvas.CallsOf("DrawText").size());
    EXPECT_EQ(dtWordBreak | dtCenter, canvas.CallsOf("DrawText")[0].Flags);
}
