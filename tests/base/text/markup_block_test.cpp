// Format blocks: codes, numbers, cancelled and unclosed blocks, and the font they give a line.
#include <gtest/gtest.h>

#include "base/text/Markup.h"
#include "framework/graphics/RecordingCanvas.h"
#include "tests/base/text/MarkupText.h"

namespace {

struct Parsed {
    int Result;
    int Position;
    MarkupStyle Style;
};

Parsed Parse(std::string_view readable, int position = 1)
{
    const std::string text = Markup(readable);
    MarkupStyle style{0xDEAD, 0xBEEF};
    const int result = ParseMarkupBlock(text, position, style);
    return Parsed{result, position, style};
}

std::uint32_t Word(std::uint32_t flags, int size = 0) { return (flags << 8) + size; }

}  // namespace

TEST(MarkupBlock, EachLetterCodeSetsItsFlag)
{
    const struct {
        const char *Code;
        std::uint32_t Flag;
    } codes[] = {{"Л", MarkupLeft}, {"Ц", MarkupCentre},    {"П", MarkupRight},    {"К", MarkupItalic},
                 {"Ж", MarkupBold}, {"Ч", MarkupUnderline}, {"Z", MarkupStrikeOut}};
    for (const auto &c : codes) {
        const Parsed p = Parse(std::string("|") + c.Code + "|текст");
        EXPECT_EQ(MarkupBlock, p.Result) << c.Code;
        EXPECT_EQ(4, p.Position) << c.Code;
        EXPECT_EQ((MarkupStyle{Word(c.Flag), 0}), p.Style) << c.Code;
    }
    const Parsed all = Parse("|ЛЦПКЖЧZ|");
    EXPECT_EQ(Word(0x7F), all.Style.Word);
    EXPECT_EQ(10, all.Position);
}

TEST(MarkupBlock, CarryCodeChangesTheResult)
{
    const Parsed p = Parse("|ЖF|x");
    EXPECT_EQ(MarkupBlockCarried, p.Result);
    EXPECT_EQ(Word(MarkupBold | MarkupCarry), p.Style.Word);
    EXPECT_EQ(5, p.Position);
}

TEST(MarkupBlock, SizeAndColourReadTheirNumbersAndSkipOneSeparator)
{
    Parsed p = Parse("|ЦЖS14 |Заголовок");
    EXPECT_EQ((MarkupStyle{Word(MarkupCentre | MarkupBold, 14), 0}), p.Style);
    EXPECT_EQ(9, p.Position);

    p = Parse("|Д0000FF;Ж|x");
    EXPECT_EQ((MarkupStyle{Word(MarkupBold), 0x0000FF}), p.Style);
    p = Parse("|Д0xff00 |x");
    EXPECT_EQ(0x00FF00u, p.Style.Color);
    // Leading blanks and a sign, as strtol takes them; the number ends at the first non-digit.
    p = Parse("|S  +12,Ч|");
    EXPECT_EQ(Word(MarkupUnderline, 12), p.Style.Word);
    // A size and a colour of 0 leave the base font's.
    p = Parse("|S0 Д0 Ж|");
    EXPECT_EQ((MarkupStyle{Word(MarkupBold), 0}), p.Style);
    // The skipped separator may be the closing mark itself: the block then runs on into the text,
    // whose first letter cancels it.
    p = Parse("|ЖS14|текст");
    EXPECT_EQ((MarkupStyle{0, 0}), p.Style);
    EXPECT_EQ(7, p.Position);
}

TEST(MarkupBlock, SizeIsKeptOutOfTheFlags)
{
    EXPECT_EQ(Word(MarkupBold, 255), Parse("|S300 Ж|").Style.Word);
    EXPECT_EQ(Word(MarkupItalic, 255), Parse("|S99999999999999999999 К|").Style.Word);
    EXPECT_EQ(Word(MarkupItalic, 0), Parse("|S-5 К|").Style.Word);
}

TEST(MarkupBlock, ColourSaturatesLikeA32BitLong)
{
    EXPECT_EQ(0x7FFFFFFFu, Parse("|Д123456789AB |").Style.Color);
    EXPECT_EQ(0xFFFFFFFFu, Parse("|Д-1 |").Style.Color);
    EXPECT_EQ(0x80000000u, Parse("|Д-FFFFFFFFFF |").Style.Color);
}

TEST(MarkupBlock, NumberWithoutDigitsIsZeroAndItsNextCharacterIsSkipped)
{
    // "S" then "x" (no digit): size 0, "x" skipped, "Ж" read as a code.
    EXPECT_EQ(Word(MarkupBold), Parse("|SxЖ|").Style.Word);
    // "0x" not followed by a hexadecimal digit is the number 0 and "x" its separator.
    const Parsed p = Parse("|Д0xЖ|");
    EXPECT_EQ((MarkupStyle{Word(MarkupBold), 0}), p.Style);
}

TEST(MarkupBlock, UnknownCharacterCancelsTheBlockAndStartsTheText)
{
    Parsed p = Parse("|ЖЦйтекст");
    EXPECT_EQ(MarkupBlock, p.Result);
    EXPECT_EQ((MarkupStyle{0, 0}), p.Style);
    EXPECT_EQ(4, p.Position);  // on "й"
    p = Parse("|FЖS12 Д0000FF q|x");
    EXPECT_EQ(MarkupBlockCarried, p.Result);  // F came before the cancelling "q"
    EXPECT_EQ((MarkupStyle{0, 0}), p.Style);
    EXPECT_EQ(16, p.Position);
}

TEST(MarkupBlock, NoBlockLeavesThePositionAndClearsTheStyle)
{
    Parsed p = Parse("Ж|Ж|");
    EXPECT_EQ(MarkupNoBlock, p.Result);
    EXPECT_EQ(1, p.Position);
    EXPECT_EQ((MarkupStyle{0, 0}), p.Style);
    p = Parse("ab|Ж|", 3);
    EXPECT_EQ(MarkupBlock, p.Result);
    EXPECT_EQ(6, p.Position);
    // Positions outside the text are no block.
    EXPECT_EQ(MarkupNoBlock, Parse("|Ж|", 4).Result);
    EXPECT_EQ(MarkupNoBlock, Parse("|Ж|", 0).Result);
    EXPECT_EQ(MarkupNoBlock, Parse("", 1).Result);
}

TEST(MarkupBlock, BlockWithoutClosingMarkEndsWithTheText)
{
    Parsed p = Parse("|ЖК");
    EXPECT_EQ((MarkupStyle{Word(MarkupBold | MarkupItalic), 0}), p.Style);
    EXPECT_EQ(4, p.Position);
    p = Parse("|S12");
    EXPECT_EQ(Word(0, 12), p.Style.Word);
    EXPECT_EQ(5, p.Position);
    p = Parse("|Д");
    EXPECT_EQ((MarkupStyle{0, 0}), p.Style);
    EXPECT_EQ(3, p.Position);
    EXPECT_EQ(2, Parse("|").Position);
}

TEST(MarkupFont, StyleFlagsReplaceTheBaseStyleAndOthersKeepIt)
{
    TRecordingCanvas canvas;
    const MarkupBaseFont base{-11, fsUnderline, clNavy};
    ApplyMarkupFont(canvas, MarkupAlignLeft, MarkupStyle{Word(MarkupBold | MarkupStrikeOut), 0}, base);
    EXPECT_EQ(fsBold | fsStrikeOut, canvas.Font()->Style());
    ApplyMarkupFont(canvas, MarkupAlignLeft, MarkupStyle{Word(MarkupItalic | MarkupUnderline), 0}, base);
    EXPECT_EQ(fsItalic | fsUnderline, canvas.Font()->Style());
    ApplyMarkupFont(canvas, MarkupAlignLeft, MarkupStyle{Word(MarkupCentre | MarkupCarry), 0}, base);
    EXPECT_EQ(fsUnderline, canvas.Font()->Style());
    EXPECT_EQ(-11, canvas.Font()->Height());
    EXPECT_EQ(clNavy, canvas.Font()->Color());
}

TEST(MarkupFont, SizeAndColourReplaceTheBaseWhenSet)
{
    TRecordingCanvas canvas;
    const MarkupBaseFont base{-11, 0, clNavy};
    ApplyMarkupFont(canvas, MarkupAlignLeft, MarkupStyle{Word(0, 14), clRed}, base);
    EXPECT_EQ(14, canvas.Font()->Size());
    EXPECT_EQ(clRed, canvas.Font()->Color());
    // Every line starts again from the base font.
    ApplyMarkupFont(canvas, MarkupAlignLeft, MarkupStyle{}, base);
    EXPECT_EQ(-11, canvas.Font()->Height());
    EXPECT_EQ(clNavy, canvas.Font()->Color());
}

TEST(MarkupFont, AlignmentLeftBeforeCentreBeforeRight)
{
    TRecordingCanvas canvas;
    const MarkupBaseFont base = MarkupBaseFont::Of(*canvas.Font());
    auto align = [&](std::uint32_t flags, int byDefault) {
        return ApplyMarkupFont(canvas, byDefault, MarkupStyle{Word(flags), 0}, base);
    };
    EXPECT_EQ(MarkupAlignRight, align(0, MarkupAlignRight));
    EXPECT_EQ(MarkupAlignLeft, align(MarkupLeft | MarkupCentre | MarkupRight, MarkupAlignCentre));
    EXPECT_EQ(MarkupAlignCentre, align(MarkupCentre | MarkupRight, MarkupAlignLeft));
    EXPECT_EQ(MarkupAlignRight, align(MarkupRight | MarkupBold, MarkupAlignLeft));
}
