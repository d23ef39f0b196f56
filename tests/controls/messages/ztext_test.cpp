// The five-line text panel measured and drawn on the recording canvas, and the wait windows' text
// (both builds). Recording metrics: a font of height h has characters (h + 1) / 2 wide (one more in
// bold) and lines h high.
#include <gtest/gtest.h>

#include <vector>

#include "base/text/CfgLanguage.h"
#include "base/messages/zmsg.h"
#include "controls/messages/dwait.h"
#include "controls/messages/zText.h"
#include "framework/graphics/RecordingCanvas.h"

namespace {

struct Panel {
    TFont small;  // 6 px characters, 11 px lines
    TFont big;    // 10 px characters, 20 px lines
    TZTextPaint paint;
    TRecordingCanvas canvas;

    Panel()
    {
        small.SetHeight(-11);
        big.SetHeight(-20);
        paint.Width = 100;
        paint.Height = 200;
        paint.Color = clSkyBlue;
        for (auto &line : paint.Lines)
            line.Font = &small;
    }
    int Paint() { return PaintZText(canvas, paint); }
    std::vector<TCanvasCall> Texts() const { return canvas.CallsOf("TextOut"); }
};

TEST(ZTextMeasure, EachNonEmptyLineAddsItsLaidOutHeight)
{
    Panel p;
    p.paint.Lines[0].Text = "short";
    p.paint.Lines[2].Text = "aaaa bbbb cccc";  // 140 px in the big font: two lines in 96
    p.paint.Lines[2].Font = &p.big;
    TZTextMeasure m = MeasureZText(p.canvas, p.paint.Lines, 100, true);
    EXPECT_TRUE(m.LaidOut);
    EXPECT_EQ(m.Heights[0], 11);
    EXPECT_EQ(m.Heights[1], 0);
    EXPECT_EQ(m.Heights[2], 40);
    EXPECT_EQ(m.Total, 51);

    // One line each when the lines are not wrapped: the tallest laid-out line counts.
    m = MeasureZText(p.canvas, p.paint.Lines, 100, false);
    EXPECT_EQ(m.Heights[2], 20);
    EXPECT_EQ(m.Total, 31);

    // A line whose markup makes part of it larger is as high as all its lines together, or its tallest.
    p.paint.Lines[2].Text = "\x01S20 F\x01xx#yy";  // 20 points at 96 pixels per inch: 27 px lines
    m = MeasureZText(p.canvas, p.paint.Lines, 100, true);
    EXPECT_EQ(m.Heights[2], 54);
    m = MeasureZText(p.canvas, p.paint.Lines, 100, false);
    EXPECT_EQ(m.Heights[2], 27);

    TZTextLines empty;
    m = MeasureZText(p.canvas, empty, 100, true);
    EXPECT_FALSE(m.LaidOut);
    EXPECT_EQ(m.Total, 0);
}

TEST(ZTextCut, ShortLinesGetDotsAfterLongerOnesEndInThem)
{
    EXPECT_EQ(CutZTextLine(""), " ...");
    EXPECT_EQ(CutZTextLine("abc"), "abc ...");
    EXPECT_EQ(CutZTextLine("abcd"), "abcd ...");
    EXPECT_EQ(CutZTextLine("abcde"), "a ...");
    EXPECT_EQ(CutZTextLine("Hello world"), "Hello w ...");
}

TEST(ZTextPaint, ASingleLineShowsOnlyItsFirstLineCut)
{
    Panel p;
    p.paint.MultiLine = false;
    p.paint.Lines[0].Text = "abc#defgh";
    p.paint.Lines[1].Text = "Hello world, see you";  // 120 px: "Hello world, " fits 96 px
    p.paint.Lines[2].Text = "fits";
    EXPECT_EQ(p.Paint(), -1);
    auto texts = p.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "abc ...");
    EXPECT_EQ(texts[1].Text, "Hello wor ...");
    EXPECT_EQ(texts[2].Text, "fits");
    // One line's height each.
    EXPECT_EQ(texts[1].Y, 11);
    EXPECT_EQ(texts[2].Y, 22);

    // Wrapped, every line is shown as it was laid out.
    Panel wrapped;
    wrapped.paint.Lines[0].Text = "abc#defgh";
    wrapped.Paint();
    texts = wrapped.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "abc");
    EXPECT_EQ(texts[1].Text, "defgh");
    EXPECT_EQ(texts[1].Y, 11);
}

TEST(ZTextPaint, ACutLineKeepsItsFormatAndAlignment)
{
    Panel p;
    p.paint.MultiLine = false;
    p.paint.Lines[0].Text = "\x01\xC6\x01"
                            "abc#def";  // bold
    p.paint.Lines[0].Hor = 2;
    p.Paint();
    auto texts = p.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "abc ...");
    EXPECT_EQ(texts[0].FontStyle, fsBold);
    EXPECT_EQ(texts[0].X, 100 - 7 * 7);  // right-aligned, 7 px bold characters
    EXPECT_EQ(texts[0].BrushColor, clSkyBlue);
}

TEST(ZTextPaint, LinesStackInTheirFontsAndAlignments)
{
    Panel p;
    p.paint.Lines[0].Text = "ab";
    p.paint.Lines[1].Text = "cd";
    p.paint.Lines[1].Hor = 1;
    p.paint.Lines[1].Font = &p.big;
    p.paint.Lines[3].Text = "ef";
    p.paint.Lines[3].Hor = 2;
    EXPECT_EQ(p.Paint(), -1);
    auto texts = p.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].X, 0);
    EXPECT_EQ(texts[0].Y, 0);
    EXPECT_EQ(texts[1].X, (100 - 20) / 2);
    EXPECT_EQ(texts[1].Y, 11);
    EXPECT_EQ(texts[1].FontHeight, -20);
    EXPECT_EQ(texts[2].X, 100 - 12);
    EXPECT_EQ(texts[2].Y, 31);
    EXPECT_TRUE(p.canvas.CallsOf("LineTo").empty());  // no frame
}

TEST(ZTextPaint, TheBorderIsTwoFramesAndTheTextStandsInside)
{
    Panel p;
    p.paint.Border = true;
    p.paint.Height = 50;
    p.paint.Lines[0].Text = "ab";
    p.paint.Lines[0].Hor = 2;
    p.paint.Lines[1].Text = "cd";
    p.Paint();
    std::vector<TPoint> path;
    for (const TCanvasCall &c : p.canvas.Calls())
        if (c.Op == "MoveTo" || c.Op == "LineTo")
            path.push_back(Point(c.X, c.Y));
    const std::vector<TPoint> expected = {
        Point(0, 49), Point(0, 0), Point(99, 0), Point(99, 49), Point(-1, 49),  // outer
        Point(1, 48), Point(1, 1), Point(98, 1), Point(98, 48), Point(0, 48),   // inner
    };
    EXPECT_EQ(path, expected);
    auto texts = p.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].X, 97 - 12);  // the right edge one more pixel in
    EXPECT_EQ(texts[0].Y, 2);
    EXPECT_EQ(texts[1].X, 2);
    EXPECT_EQ(texts[1].Y, 13);
}

TEST(ZTextPaint, AnAutoHeightPanelFirstTakesItsTextsHeight)
{
    Panel p;
    p.paint.AutoHeight = true;
    p.paint.Height = 50;
    p.paint.Lines[0].Text = "ab";
    p.paint.Lines[4].Text = "cd";
    p.paint.Lines[4].Font = &p.big;
    EXPECT_EQ(p.Paint(), 11 + 20 + ZTextMargin);
    EXPECT_TRUE(p.Texts().empty());  // drawn after the resize

    p.paint.Height = 35;
    p.canvas.ClearCalls();
    EXPECT_EQ(p.Paint(), -1);
    EXPECT_EQ(p.Texts().size(), 2u);

    // A panel without text keeps its height.
    Panel empty;
    empty.paint.AutoHeight = true;
    EXPECT_EQ(empty.Paint(), -1);
}

TEST(ZTextPaint, LinesBelowThePanelAreNotDrawn)
{
    Panel p;
    p.paint.Height = 15;
    p.paint.Lines[0].Text = "ab";
    p.paint.Lines[1].Text = "cd";
    p.Paint();
    EXPECT_EQ(p.Texts().size(), 1u);
}

// ---- the wait text ---------------------------------------------------------------------------------

std::uint8_t messageLanguage = 1;
std::uint8_t ReadMessageLanguage() { return messageLanguage; }

class WaitTextTest : public ::testing::Test {
protected:
    struct Call {
        std::uint16_t Number;
        bool Russian;
        int Kind;
    };
    std::vector<Call> calls;
    AnsiString answer;

    void SetUp() override
    {
        SetCfgLanguageReaders(nullptr, ReadMessageLanguage);
        MessageTextProvider = [this](std::uint16_t n, bool russian, int kind, AnsiString &out) {
            calls.push_back({n, russian, kind});
            out = answer;
        };
    }
    void TearDown() override
    {
        ClearMessageTextProvider();
        SetCfgLanguageReaders(nullptr, nullptr);
        messageLanguage = 1;
    }
};

TEST_F(WaitTextTest, TheProvidersTextInTheMessageLanguageThenTheExtraText)
{
    answer = "Идет загрузка";
    EXPECT_EQ(WaitText(501, " (1/3)"), "Идет загрузка (1/3)");
    messageLanguage = 0;
    EXPECT_EQ(WaitText(502, ""), "Идет загрузка");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Number, 501);
    EXPECT_TRUE(calls[0].Russian);
    EXPECT_EQ(calls[0].Kind, WaitRecordKind);
    EXPECT_FALSE(calls[1].Russian);
}

TEST_F(WaitTextTest, NumberZeroAsksNothingAndAMissingTextIsSaidSo)
{
    EXPECT_EQ(WaitText(0, "only this"), "only this");
    EXPECT_TRUE(calls.empty());
    answer = "";
    EXPECT_EQ(WaitText(503, "!"), MissingMessageText(503) + "!");
    EXPECT_NE(MissingMessageText(503).find("503"), AnsiString::npos);
}

}  // namespace
