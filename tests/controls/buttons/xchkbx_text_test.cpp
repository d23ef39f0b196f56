// Line breaking and justification of the painted check box's caption, measured with made-up widths
// and on the recording canvas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/buttons/UZSelBox.h"
#include "controls/buttons/uXChkBx.h"
#include "framework/graphics/RecordingCanvas.h"

namespace {
// Every character 10 pixels wide, lines 16 high.
TSize TenEach(const char *, int length) { return TSize{10 * length, 16}; }

struct Line {
    std::string text;
    int blanks;
};

std::vector<Line> Lines(const char *text, double width, int length = -1)
{
    TextScanner scanner(text, length, TenEach);
    std::vector<Line> lines;
    int start = 0, end = 0;
    for (int blanks; (blanks = scanner.NextLine(width, start, end)) >= 0;) {
        lines.push_back({std::string(text + start, text + end), blanks});
        if (lines.size() > 100)
            break;  // a scanner that does not move on
    }
    return lines;
}

std::vector<std::string> Texts(const std::vector<Line> &lines)
{
    std::vector<std::string> out;
    for (const Line &l : lines)
        out.push_back(l.text);
    return out;
}

using Strings = std::vector<std::string>;
}  // namespace

TEST(TextScanner, BreaksBeforeABlankAfterABlankOrControlCharacterAndAfterAHyphenEndingAWord)
{
    const char *text = "ab cd-ef\tgh -5";
    TextScanner s(text, -1, TenEach);
    EXPECT_EQ(14, s.Length());
    bool afterBlank = true;
    EXPECT_TRUE(s.CanBreakAt(0, afterBlank));
    EXPECT_FALSE(afterBlank);
    EXPECT_FALSE(s.CanBreakAt(1, afterBlank));
    EXPECT_TRUE(s.CanBreakAt(2, afterBlank));  // before the blank
    EXPECT_FALSE(afterBlank);
    EXPECT_TRUE(s.CanBreakAt(3, afterBlank));  // after it
    EXPECT_TRUE(afterBlank);
    EXPECT_FALSE(s.CanBreakAt(5, afterBlank));  // before the hyphen
    EXPECT_TRUE(s.CanBreakAt(6, afterBlank));   // after it
    EXPECT_FALSE(afterBlank);
    EXPECT_TRUE(s.CanBreakAt(9, afterBlank));  // after the tab
    EXPECT_TRUE(afterBlank);
    EXPECT_FALSE(s.CanBreakAt(13, afterBlank));  // a minus sign starting a word stays with it
    EXPECT_TRUE(s.CanBreakAt(14, afterBlank));

    // Words and blanks.
    EXPECT_FALSE(s.SkipBlanks());
    s.SkipWord();
    EXPECT_EQ(2, s.Position());
    EXPECT_TRUE(s.SkipBlanks());
    s.SkipWord();
    EXPECT_EQ(6, s.Position());  // "cd-"
    EXPECT_EQ((TSize{30, 16}), s.TextExtent(3, 6));
    EXPECT_EQ(30, s.Width());
    EXPECT_EQ(16, s.Height());
}

TEST(TextScanner, LinesHoldWhatFitsAndCountTheirInnerBlanksWithoutTrailingOnes)
{
    auto lines = Lines("aaa bbb ccc", 75);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("aaa bbb", lines[0].text);
    EXPECT_EQ(1, lines[0].blanks);
    EXPECT_EQ("ccc", lines[1].text);
    EXPECT_EQ(0, lines[1].blanks);
    // Exactly full: the line ends there.
    EXPECT_EQ((Strings{"aaa bbb", "ccc"}), Texts(Lines("aaa bbb ccc", 70)));
    // Two blanks inside count twice; leading and trailing ones are no part of the line.
    lines = Lines("  aaa  bbb   ", 200);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("aaa  bbb", lines[0].text);
    EXPECT_EQ(2, lines[0].blanks);
    // After a hyphen, and after a line feed, which is a blank.
    EXPECT_EQ((Strings{"well-", "known", "fact"}), Texts(Lines("well-known fact", 60)));
    EXPECT_EQ((Strings{"well-known", "fact"}), Texts(Lines("well-known fact", 100)));
    lines = Lines("ab\ncd", 100);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(1, lines[0].blanks);
    EXPECT_EQ((Strings{"ab", "cd"}), Texts(Lines("ab\ncd", 30)));
    // The length given limits the text.
    EXPECT_EQ((Strings{"aaa"}), Texts(Lines("aaa bbb", 200, 3)));
}

TEST(TextScanner, AWordWiderThanTheLineMakesALineOfItsOwnAndTheScanEnds)
{
    EXPECT_EQ((Strings{"abcdefghij", "xy"}), Texts(Lines("abcdefghij xy", 50)));
    EXPECT_EQ((Strings{"ab", "cd", "ef"}), Texts(Lines("ab cd ef", 0)));
    EXPECT_EQ((Strings{"a", "b"}), Texts(Lines("a b", -5)));
    EXPECT_TRUE(Lines("", 100).empty());
    EXPECT_TRUE(Lines("   \t\r\n", 100).empty());
    EXPECT_TRUE(Lines(nullptr, 100).empty());
    TextScanner none(nullptr, 5, TenEach);
    EXPECT_EQ(0, none.Length());
}

namespace {
// Font 10 pixels high on the recording canvas: characters 5 wide, lines 10 high.
struct Canvas10 : TRecordingCanvas {
    Canvas10() { Font()->SetHeight(-10); }
};
}  // namespace

TEST(DrawJustifiedText, InnerLinesAreSpreadOverTheirBlanksAndTheLastLineIsLeftAsItIs)
{
    Canvas10 canvas;
    const char *text = "aaa bbb ccc ddd eee fff ggg";
    TRect rect = Rect(10, 20, 110, 120);
    EXPECT_FALSE(DrawJustifiedText(canvas, text, -1, false, rect));
    EXPECT_EQ(Rect(10, 20, 110, 120), rect);
    auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(2u, outs.size());
    EXPECT_EQ("aaa bbb ccc ddd eee", outs[0].Text);
    EXPECT_EQ(10, outs[0].X);
    EXPECT_EQ(20, outs[0].Y);
    EXPECT_EQ("fff ggg", outs[1].Text);
    EXPECT_EQ(30, outs[1].Y);
    auto spreads = canvas.CallsOf("SetTextJustification");
    ASSERT_EQ(2u, spreads.size());  // on for the first line, off after it
    EXPECT_EQ(5, spreads[0].X);     // 100 - 19 * 5 pixels over
    EXPECT_EQ(4, spreads[0].Y);     // four blanks
    EXPECT_EQ(0, spreads[1].X);
    EXPECT_EQ(0, spreads[1].Y);
    // Control characters inside a line are drawn as blanks.
    canvas.ClearCalls();
    rect = Rect(0, 0, 100, 100);
    DrawJustifiedText(canvas, "ab\tcd", -1, false, rect);
    EXPECT_EQ("ab cd", canvas.CallsOf("TextOut").at(0).Text);
}

TEST(DrawJustifiedText, MeasuringAlwaysSetsTheHeightAndDrawingWidensOnlyForAnOverlongLine)
{
    Canvas10 canvas;
    const char *text = "aaa bbb ccc ddd eee fff ggg";
    TRect rect = Rect(10, 20, 110, 30);
    EXPECT_TRUE(DrawJustifiedText(canvas, text, -1, true, rect));
    EXPECT_EQ(Rect(10, 20, 110, 40), rect);
    EXPECT_TRUE(canvas.Calls().empty());
    // Measuring nothing: no height.
    rect = Rect(10, 20, 110, 30);
    EXPECT_TRUE(DrawJustifiedText(canvas, "", -1, true, rect));
    EXPECT_EQ(Rect(10, 20, 110, 20), rect);

    // A word of 25 characters in 100 pixels: drawn whole on its own line, the rectangle widened by 25.
    rect = Rect(0, 0, 100, 15);
    EXPECT_TRUE(DrawJustifiedText(canvas, "abcdefghijklmnopqrstuvwxy z", -1, false, rect));
    EXPECT_EQ(Rect(0, 0, 125, 20), rect);
    auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(2u, outs.size());
    EXPECT_EQ("abcdefghijklmnopqrstuvwxy", outs[0].Text);
    EXPECT_EQ("z", outs[1].Text);
    EXPECT_TRUE(canvas.CallsOf("SetTextJustification").empty());  // no blanks to spread over
}

TEST(WrapAndDrawText, LinesBesideTheBoxStartRightOfItAndJustifyOnlyWhenAsked)
{
    Canvas10 canvas;
    const TRect box = Rect(2, 3, 15, 16);
    const char *text = "aaaa bbbb cccc dddd eeee ffff gggg hhhh";
    TRect rect = Rect(4, 2, 74, 200);  // 70 pixels: 14 characters
    int lines = 0;
    EXPECT_FALSE(WrapAndDrawText(canvas, text, -1, false, false, lines, &box, rect));
    EXPECT_EQ(Rect(4, 2, 74, 200), rect);
    auto outs = canvas.CallsOf("TextOut");
    ASSERT_EQ(3u, outs.size());
    EXPECT_EQ(3, lines);
    // The first line (middle at 7) is beside the box: 13 pixels further and narrower.
    EXPECT_EQ(17, outs[0].X);
    EXPECT_EQ(2, outs[0].Y);
    EXPECT_EQ("aaaa bbbb", outs[0].Text);
    EXPECT_EQ(4, outs[1].X);
    EXPECT_EQ(12, outs[1].Y);
    EXPECT_EQ("cccc dddd eeee", outs[1].Text);
    EXPECT_EQ("ffff gggg hhhh", outs[2].Text);
    EXPECT_TRUE(canvas.CallsOf("SetTextJustification").empty());
    // Drawn on a transparent ground, the brush given back.
    EXPECT_EQ(bsSolid, canvas.Brush()->Style());

    canvas.ClearCalls();
    EXPECT_FALSE(WrapAndDrawText(canvas, text, -1, false, true, lines, &box, rect));
    auto spreads = canvas.CallsOf("SetTextJustification");
    ASSERT_EQ(2u, spreads.size());  // the full second line and the last one are left alone
    EXPECT_EQ(12, spreads[0].X);    // 57 - 9 * 5 beside the box
    EXPECT_EQ(1, spreads[0].Y);

    // Without a box every line has the whole width; measuring counts the lines too.
    rect = Rect(4, 2, 74, 3);
    EXPECT_TRUE(WrapAndDrawText(canvas, text, -1, true, false, lines, nullptr, rect));
    EXPECT_EQ(3, lines);
    EXPECT_EQ(Rect(4, 2, 74, 32), rect);
}

TEST(SelBoxLook, StatesByMeaningDisabledFirst)
{
    auto is = [](TSelBoxLook look, TThemedState button, TThemedFrameState frame) {
        return look.Button == button && look.Frame == frame;
    };
    EXPECT_TRUE(is(SelBoxLook(false, true, true, true), tsDisabled, tfsDisabled));
    EXPECT_TRUE(is(SelBoxLook(true, true, true, true), tsPressed, tfsFocused));
    EXPECT_TRUE(is(SelBoxLook(true, false, true, true), tsHot, tfsHot));
    EXPECT_TRUE(is(SelBoxLook(true, false, false, true), tsNormal, tfsFocused));
    EXPECT_TRUE(is(SelBoxLook(true, false, false, false), tsNormal, tfsNormal));
    for (uint16_t key : {13, 32, 34, 41, 43, 98})
        EXPECT_TRUE(IsSelBoxKey(key)) << key;
    for (uint16_t key : {0, 9, 27, 40, 99})
        EXPECT_FALSE(IsSelBoxKey(key)) << key;
}
