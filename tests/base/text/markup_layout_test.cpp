// Laying markup text out to a width, on the recording canvas: every character is 6 pixels wide in the
// base font (7 in bold), a line is 11 pixels high; size 14 makes characters 10 (bold 11) wide and lines
// 19 high.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text/Markup.h"
#include "framework/graphics/RecordingCanvas.h"
#include "tests/base/text/MarkupText.h"

namespace {

using Lines = std::vector<std::string>;

struct Laid {
    int Count = 0;
    int MaxHeight = -1, TotalHeight = -1;
    MarkupLayout Layout;
    Lines Texts;
};

enum class Variant { Words, Characters };

Laid Lay(const std::string &text, int width, bool keep = false, bool hash = true, Variant variant = Variant::Words)
{
    TRecordingCanvas canvas;
    Laid r;
    r.Count = variant == Variant::Words
                  ? LayoutMarkupText(text, width, canvas, r.MaxHeight, r.TotalHeight, hash, keep, r.Layout)
                  : LayoutMarkupTextAlt(text, width, canvas, r.MaxHeight, r.TotalHeight, hash, keep, r.Layout);
    r.Texts = LaidOutLines(text, r.Layout, r.Count);
    return r;
}

constexpr std::uint32_t Bold14Centre = ((MarkupCentre | MarkupBold) << 8) + 14;

}  // namespace

TEST(MarkupLayout, WrapsAfterBlanksKeepingTheBlankAtTheLineEnd)
{
    // 58 pixels hold 9 characters.
    const Laid r = Lay("один два три четыре", 58);
    EXPECT_EQ((Lines{"один два ", "три ", "четыре"}), r.Texts);
    EXPECT_EQ(3, r.Count);
    EXPECT_EQ(1u, r.Layout.Start[0]);
    EXPECT_EQ(10u, r.Layout.Start[1]);
    EXPECT_EQ(14u, r.Layout.Start[2]);
    EXPECT_EQ(11, r.MaxHeight);
    EXPECT_EQ(33, r.TotalHeight);
    EXPECT_FALSE(r.Layout.Truncated);
}

TEST(MarkupLayout, WordWiderThanTheWidthBreaksWhereItOverflows)
{
    EXPECT_EQ((Lines{"да ", "абвгдежзи", "клмно"}), Lay("да абвгдежзиклмно", 60).Texts);
}

TEST(MarkupLayout, CommaWrapsUnlessItIsADecimalComma)
{
    EXPECT_EQ((Lines{"цена,", "сумма"}), Lay("цена,сумма", 36).Texts);
    // 66 pixels hold "итог 1234,": the comma between digits is no wrap point, the one before a letter is.
    EXPECT_EQ((Lines{"итог ", "1234,56"}), Lay("итог 1234,56", 66).Texts);
    EXPECT_EQ((Lines{"итог 1234,", "а6"}), Lay("итог 1234,а6", 66).Texts);
    // The later of the last blank and the last comma wins.
    EXPECT_EQ((Lines{"а б,в ", "гдеж"}), Lay("а б,в гдеж", 42).Texts);
    EXPECT_EQ((Lines{"а б,", "вгдеж"}), Lay("а б,вгдеж", 42).Texts);
}

TEST(MarkupLayout, HashBreaksLinesAndIsDroppedUnlessKept)
{
    EXPECT_EQ((Lines{"первая", "вторая", "третья"}), Lay("первая#вторая#третья", 200).Texts);
    EXPECT_EQ((Lines{"первая#", "вторая#", "третья"}), Lay("первая#вторая#третья", 200, true).Texts);
    // A "#" that starts the text is skipped, a final "#" makes no empty line.
    EXPECT_EQ((Lines{"один", "два"}), Lay("#один#два#", 200).Texts);
    EXPECT_EQ((Lines{"один#", "два#"}), Lay("один#два#", 200, true).Texts);
    // Two in a row: the second starts the next line's text.
    EXPECT_EQ((Lines{"а", "#б"}), Lay("а##б", 200).Texts);
}

TEST(MarkupLayout, HardBreakAlwaysBreaksAndHashOnlyWhenChosen)
{
    const std::string text = Markup("один^два#три");
    // A 0x03 that starts a line stays in its text.
    EXPECT_EQ((Lines{"один", Markup("^два"), "три"}), Lay(text, 200).Texts);
    // With 0x03 as the break character "#" is an ordinary character (except at a line's start).
    EXPECT_EQ((Lines{"один", Markup("^два#три")}), Lay(text, 200, false, false).Texts);
    EXPECT_EQ((Lines{Markup("один^"), "два#три"}), Lay(text, 200, true, false).Texts);
}

TEST(MarkupLayout, BlockFormatsItsOwnLineAndWrappedLinesGoBackToTheBase)
{
    const std::string text = Markup("|ЦЖS14 |Заголовок окна#и текст");
    const Laid r = Lay(text, 100);
    // Bold 14: 11 pixels a character, so 9 fit into 100.
    EXPECT_EQ((Lines{"Заголовок", " окна", "и текст"}), r.Texts);
    EXPECT_EQ(9u, r.Layout.Start[0]);
    EXPECT_EQ(Bold14Centre, r.Layout.Style[0]);
    EXPECT_EQ(0u, r.Layout.Style[1]);
    EXPECT_EQ(0u, r.Layout.Style[2]);
    EXPECT_EQ(19, r.MaxHeight);
    EXPECT_EQ(19 + 11 + 11, r.TotalHeight);
}

TEST(MarkupLayout, CarriedBlockFormatsFollowingLinesUntilABlockWithoutCarry)
{
    const std::string text = Markup("|ЦЖFS14 Д0000FF |Заголовок окна#далее#|К|курсив#обычный");
    const Laid r = Lay(text, 100);
    ASSERT_EQ((Lines{"Заголовок", " окна", "далее", "курсив", "обычный"}), r.Texts);
    const std::uint32_t carried = Bold14Centre | (MarkupCarry << 8);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(carried, r.Layout.Style[i]) << i;
        EXPECT_EQ(0x0000FFu, r.Layout.Color[i]) << i;
    }
    EXPECT_EQ(MarkupItalic << 8, r.Layout.Style[3]);
    EXPECT_EQ(0u, r.Layout.Color[3]);
    EXPECT_EQ(0u, r.Layout.Style[4]);
    EXPECT_EQ(3 * 19 + 2 * 11, r.TotalHeight);
}

TEST(MarkupLayout, UnknownLetterInABlockShowsTheRestAsText)
{
    const Laid r = Lay(Markup("|Жтекст|"), 200);
    EXPECT_EQ((Lines{Markup("текст|")}), r.Texts);
    EXPECT_EQ(0u, r.Layout.Style[0]);
}

TEST(MarkupLayout, EmptyTextOrTooNarrowWidthGivesOneEmptyLine)
{
    for (const Laid &r : {Lay("", 100), Lay("текст", 5)}) {
        EXPECT_EQ(1, r.Count);
        EXPECT_EQ(1u, r.Layout.Start[0]);
        EXPECT_EQ(0u, r.Layout.Length[0]);
        EXPECT_EQ(0u, r.Layout.Style[0]);
        EXPECT_EQ(0u, r.Layout.Color[0]);
        EXPECT_EQ(0, r.TotalHeight);
    }
    // A text of a block alone is one empty line in that block's format.
    const Laid block = Lay(Markup("|Ж|"), 100);
    EXPECT_EQ(1, block.Count);
    EXPECT_EQ(0u, block.Layout.Length[0]);
    EXPECT_EQ(MarkupBold << 8, block.Layout.Style[0]);
}

TEST(MarkupLayout, LastCharacterIsAlwaysLaidOut)
{
    // The sixth and last character passes 35 pixels: it makes a line of its own.
    EXPECT_EQ((Lines{"абвгд", "е"}), Lay("абвгде", 35).Texts);
    EXPECT_EQ((Lines{"абвгд", "е"}), Lay("абвгде", 35, false, true, Variant::Characters).Texts);
    // A text that ends exactly at the width keeps its last line whole.
    EXPECT_EQ((Lines{"абвгде"}), Lay("абвгде", 36).Texts);
    EXPECT_EQ((Lines{"аб", "абвгде"}), Lay("аб#абвгде", 36).Texts);
}

TEST(MarkupLayout, CharacterWiderThanTheWidthStillMovesOn)
{
    // Size 72 is 96 pixels high, 48 wide a character.
    EXPECT_EQ((Lines{"а", "б", "в"}), Lay(Markup("|FS72 |абв"), 20).Texts);
}

TEST(MarkupLayout, AtMostAHundredLinesAndTheCutIsReported)
{
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += "стр" + std::to_string(i) + "#";
    Laid r = Lay(text, 200);
    EXPECT_EQ(MarkupMaxLines, r.Count);
    EXPECT_TRUE(r.Layout.Truncated);
    EXPECT_EQ("стр99", r.Texts.back());
    EXPECT_EQ(100 * 11, r.TotalHeight);

    // Exactly a hundred lines (the last "#" makes none) is no cut.
    text.clear();
    for (int i = 0; i < 100; ++i)
        text += "с#";
    r = Lay(text, 200);
    EXPECT_EQ(100, r.Count);
    EXPECT_FALSE(r.Layout.Truncated);
    EXPECT_TRUE(Lay(text + "x", 200).Layout.Truncated);

    // Lines made by wrapping count too.
    r = Lay(std::string(1000, 'a'), 60);
    EXPECT_EQ(100, r.Count);
    EXPECT_TRUE(r.Layout.Truncated);
    EXPECT_EQ(99u * 9 + 1, r.Layout.Start[99]);
}

TEST(MarkupLayout, CanvasFontIsLeftAsItWasFound)
{
    TRecordingCanvas canvas;
    canvas.Font()->SetHeight(-13);
    canvas.Font()->SetStyle(fsUnderline);
    canvas.Font()->SetColor(clMaroon);
    MarkupLayout layout;
    int maxHeight = 0, total = 0;
    const std::string text = Markup("|ЖS20 Д00FF00 |крупно#|FК|курсив");
    EXPECT_EQ(2, LayoutMarkupTextHash(text, 300, canvas, maxHeight, total, false, layout));
    EXPECT_EQ(27, maxHeight);  // size 20 at 96 pixels per inch
    EXPECT_EQ(27 + 13, total);
    EXPECT_EQ(-13, canvas.Font()->Height());
    EXPECT_EQ(fsUnderline, canvas.Font()->Style());
    EXPECT_EQ(clMaroon, canvas.Font()->Color());
    EXPECT_EQ(1, FitMarkupLineHash(text, 300, canvas, 1));
    EXPECT_EQ(-13, canvas.Font()->Height());
    EXPECT_EQ(fsUnderline, canvas.Font()->Style());
}

TEST(MarkupLayoutAlt, BreaksByCharacters)
{
    EXPECT_EQ((Lines{"один два ", "три четыр", "е"}),
              Lay("один два три четыре", 58, false, true, Variant::Characters).Texts);
    EXPECT_EQ((Lines{"цена,сумм", "а"}), Lay("цена,сумма", 58, false, true, Variant::Characters).Texts);
}

TEST(MarkupLayoutAlt, KeepFlagMakesTheBreakCharacterOrdinary)
{
    EXPECT_EQ((Lines{"аб", "вг"}), Lay("аб#вг#", 200, false, true, Variant::Characters).Texts);
    EXPECT_EQ((Lines{"аб#вг#"}), Lay("аб#вг#", 200, true, true, Variant::Characters).Texts);
    // 0x03 breaks whatever the flag says.
    EXPECT_EQ((Lines{"аб", Markup("^вг")}), Lay(Markup("аб^вг"), 200, true, true, Variant::Characters).Texts);
    EXPECT_EQ((Lines{"аб", Markup("^вг")}), Lay(Markup("аб^вг"), 200, true, false, Variant::Characters).Texts);
}

TEST(MarkupFit, ModesAnswerWhetherTheFirstLineFits)
{
    TRecordingCanvas canvas;
    EXPECT_EQ(1, FitMarkupLineHash("коротко", 60, canvas, 1));
    EXPECT_EQ(1, FitMarkupLineHash("", 60, canvas, 1));
    // The first line ends at its break, so what follows does not matter.
    EXPECT_EQ(1, FitMarkupLineHash("аб#очень длинная строка", 60, canvas, 1));
    EXPECT_EQ(1, FitMarkupLine(Markup("аб^очень длинная строка"), 60, canvas, true, 1));
    EXPECT_EQ(-1, FitMarkupLine("аб#очень длинная строка", 60, canvas, false, 1));
    const std::string longLine = "очень длинная строка";
    EXPECT_EQ(1, FitMarkupLineHash(longLine, 60, canvas, 0));
    EXPECT_EQ(-1, FitMarkupLineHash(longLine, 60, canvas, 1));
    EXPECT_EQ(-1, FitMarkupLineHash(longLine, 60, canvas, 2));
    // Mode 2 lets a line with a comma, or one that overflows at a comma, pass.
    EXPECT_EQ(1, FitMarkupLineHash("оч,ень длинная строка", 60, canvas, 2));
    EXPECT_EQ(-1, FitMarkupLineHash("оч,ень длинная строка", 60, canvas, 1));
    EXPECT_EQ(1, FitMarkupLineHash("абвгдежзи,к", 60, canvas, 2));
    // The line is measured in its own format.
    EXPECT_EQ(1, FitMarkupLineHash("абвгдеж", 60, canvas, 1));
    EXPECT_EQ(-1, FitMarkupLineHash(Markup("|S14 |абвгдеж"), 60, canvas, 1));
    EXPECT_EQ(-1, FitMarkupLineHash(Markup("#|S14 |абвгдеж"), 60, canvas, 1));
}
