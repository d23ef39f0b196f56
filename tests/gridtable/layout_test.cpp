// Cell text layout on the recording canvas: with a font of height h every character is (h + 1) / 2
// pixels wide, a line h high with a descent of h / 4.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gridtable/model/CellLayout.h"
#include "tests/gridtable/StandInHost.h"

namespace {

// Fonts by pixel height: ids 0, 1, 2... in the order added. Without a size the height stands.
int AddHeightFont(TXGridModel &table, int height)
{
    return AddGridFont(table, CreateGridFont("Arial", 0, clBlack, false, false, false, false, -height));
}

S_SGText TextRun(int font, std::uint16_t number, const char *text, int alignment = 0)
{
    S_SGText run;
    run.Font = static_cast<std::uint16_t>(font);
    run.Number = number;
    run.Text = text;
    run.Flags = static_cast<std::uint8_t>(run.Flags | (alignment << RunAlignShift));
    return run;
}

S_SGText ImageRun(std::uint16_t number, int width, int height)
{
    S_SGText run;
    run.Flags = RunImage | RunShown;
    run.Number = number;
    run.Width = static_cast<std::uint16_t>(width);
    run.Height = static_cast<std::uint16_t>(height);
    return run;
}

struct TLayoutFixture : TGridFixture {
    TLayoutFixture() : TGridFixture(3, 3)
    {
        AddHeightFont(table, 10);  // id 0: 5 pixels a character, descent 2
        AddHeightFont(table, 20);  // id 1: 10 pixels, descent 5
    }
    int Layout(TRunList &runs, int width)
    {
        TCellLayoutContext context(table, host.canvas);
        return LayoutCellText(context, runs, width);
    }
};

struct PieceAt {
    std::string text;
    int left, top, width;
};

void ExpectPieces(const TRunList &pieces, const std::vector<PieceAt> &expected)
{
    ASSERT_EQ(pieces.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(pieces[i].Text, expected[i].text) << i;
        EXPECT_EQ(pieces[i].Left, expected[i].left) << i;
        EXPECT_EQ(pieces[i].Top, expected[i].top) << i;
        EXPECT_EQ(pieces[i].Width, expected[i].width) << i;
    }
}

std::string Joined(const TRunList &pieces)
{
    std::string text;
    for (const S_SGText &p : pieces)
        text += p.Text;
    return text;
}

}  // namespace

TEST(CellLayout, BreaksAfterSpaceHyphenAndLineFeed)
{
    TLayoutFixture f;
    // Usable width 30 holds "abc d" (the left margin is 1), not "abc de".
    TRunList runs = {TextRun(0, 1, "abc def")};
    EXPECT_EQ(f.Layout(runs, 31), 20);
    ExpectPieces(runs, {{"abc ", 1, 0, 20}, {"def", 1, 10, 15}});
    EXPECT_EQ(runs[0].Height, 10);

    runs = {TextRun(0, 1, "abc-def")};
    f.Layout(runs, 31);
    ExpectPieces(runs, {{"abc-", 1, 0, 20}, {"def", 1, 10, 15}});

    runs = {TextRun(0, 1, "a\nb")};
    EXPECT_EQ(f.Layout(runs, 200), 20);
    ExpectPieces(runs, {{"a\n", 1, 0, 5}, {"b", 1, 10, 5}});

    // A word longer than the line, with nothing to break at, goes on from the character that did not fit.
    runs = {TextRun(0, 1, "abcdefghijk")};
    f.Layout(runs, 31);
    ExpectPieces(runs, {{"abcde", 1, 0, 25}, {"fghij", 1, 10, 25}, {"k", 1, 20, 5}});

    // Carriage returns are skipped; an empty run is a piece of width 0.
    runs = {TextRun(0, 1, "a\rb"), TextRun(0, 2, "")};
    EXPECT_EQ(f.Layout(runs, 200), 10);
    ExpectPieces(runs, {{"ab", 1, 0, 10}, {"", 11, 0, 0}});
}

TEST(CellLayout, RunsOfTwoFontsShareTheBaseline)
{
    TLayoutFixture f;
    TRunList runs = {TextRun(0, 1, "ab"), TextRun(1, 2, "cd")};
    EXPECT_EQ(f.Layout(runs, 200), 20);
    ExpectPieces(runs, {{"ab", 1, 0, 10}, {"cd", 11, 0, 20}});
    // Line height 20, line descent 5: each piece reaches from the top to its own descent below the baseline.
    EXPECT_EQ(runs[0].Height, 20 - 5 + 2);
    EXPECT_EQ(runs[1].Height, 20 - 5 + 5);
}

TEST(CellLayout, AlignmentShiftsLinesAndLeavesHiddenRuns)
{
    TLayoutFixture f;
    S_SGText hidden = TextRun(0, 9, "hidden", 2);
    hidden.Flags &= static_cast<std::uint8_t>(~RunShown);
    hidden.Left = 77;
    // A line of 40 pixels in a usable width of 99 centred: (99 - 40) / 2 = 29 rounded toward zero.
    TRunList runs = {TextRun(0, 1, "centred!", 1), hidden};
    f.Layout(runs, 100);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Left, 1 + 29);
    EXPECT_EQ(runs[1].Left, 77);
    EXPECT_EQ(runs[1].Text, "hidden");

    // Right alignment takes the last piece's bits; each line is aligned on its own.
    runs = {TextRun(0, 1, "ab\ncdef", 2)};
    f.Layout(runs, 100);
    ExpectPieces(runs, {{"ab\n", 1 + 89, 0, 10}, {"cdef", 1 + 79, 10, 20}});
}

TEST(CellLayout, ImageRaisesItsLineAndStandsOnTheBaseline)
{
    TLayoutFixture f;
    TRunList runs = {TextRun(0, 1, "ab"), ImageRun(5, 16, 16), TextRun(0, 2, "c")};
    // Text height 10 with descent 2; the image, 16 high, makes the line 16 + 2.
    EXPECT_EQ(f.Layout(runs, 200), 18);
    ExpectPieces(runs, {{"ab", 1, 0, 10}, {"", 11, 0, 16}, {"c", 27, 0, 5}});
    EXPECT_TRUE(runs[1].IsImage());
    EXPECT_EQ(runs[1].Height, 16);
    EXPECT_EQ(runs[0].Height, 18);

    // Laid out again from its pieces, the image keeps its size and the line its height.
    EXPECT_EQ(f.Layout(runs, 200), 18);
    EXPECT_EQ(runs[1].Height, 16);
    EXPECT_EQ(runs[1].Width, 16);
}

TEST(CellLayout, ReflowToAnEarlierRunsSeparator)
{
    TLayoutFixture f;
    TRunList runs = {TextRun(0, 1, "ab cd"), TextRun(0, 2, "x"), TextRun(0, 3, "efghij")};
    EXPECT_EQ(f.Layout(runs, 41), 30);
    ExpectPieces(runs,
                 {{"ab ", 1, 0, 15}, {"cd", 1, 10, 10}, {"x", 11, 10, 5}, {"efgh", 16, 10, 20}, {"ij", 1, 20, 10}});
    EXPECT_EQ(runs[1].Number, 1);  // the rest of the first run keeps its run's fields
    EXPECT_EQ(runs[0].Height, 10);
    EXPECT_EQ(runs[3].Height, 10);
}

TEST(CellLayout, PiecesCarryTheirRunsFormatAndTheirOwnTextOnly)
{
    TLayoutFixture f;
    S_SGText first = TextRun(1, 7, "one two three four f", 1);
    first.Flags |= 0xC0;  // carried bits
    first.Mark = 0x5D;
    first.Spare[0] = 1, first.Spare[1] = 2, first.Spare[2] = 3;
    S_SGText second = TextRun(0, 9, "vesix");
    second.Mark = 2;
    second.Spare[2] = 0xEE;
    const TRunList original = {first, second};
    TRunList runs = original;
    f.Layout(runs, 70);  // a word a line; the second run sends the first one's last letter to the next
    ASSERT_GT(runs.size(), 3u);
    std::string texts[2];
    for (const S_SGText &piece : runs) {
        const S_SGText &run = original[piece.Number == 7 ? 0 : 1];
        EXPECT_EQ(piece.Font, run.Font);
        EXPECT_EQ(piece.Flags, run.Flags);
        EXPECT_EQ(piece.Mark, run.Mark);
        EXPECT_EQ(std::string(piece.Spare, piece.Spare + 3), std::string(run.Spare, run.Spare + 3));
        EXPECT_LE(piece.Text.size(), 14u);
        texts[piece.Number == 7 ? 0 : 1] += piece.Text;
    }
    EXPECT_EQ(texts[0], first.Text);
    EXPECT_EQ(texts[1], second.Text);
}

TEST(CellLayout, CharactersAsWideAsTheColumnStillEnd)
{
    // A 10-pixel column: usable width 9. Fonts 16 and 17 pixels high give 8- and 9-pixel characters.
    TLayoutFixture f;
    const int eight = AddHeightFont(f.table, 16), nine = AddHeightFont(f.table, 17);
    for (int font : {eight, nine}) {
        for (const char *text : {"ab", "a b", "a-b", " ab", "-", " ", "  ", "--a", "a \n b"}) {
            TRunList runs = {TextRun(font, 1, text)};
            const int height = f.Layout(runs, 10);
            EXPECT_EQ(Joined(runs), text) << font << " '" << text << "'";
            EXPECT_GT(height, 0);
            for (const S_SGText &p : runs)
                EXPECT_LE(p.Left + p.Width, 9) << text;
        }
    }
    // One letter per line.
    TRunList runs = {TextRun(nine, 1, "abc")};
    EXPECT_EQ(f.Layout(runs, 10), 3 * 17);
    ExpectPieces(runs, {{"a", 1, 0, 8}, {"b", 1, 17, 8}, {"c", 1, 34, 8}});
}

TEST(CellLayout, AnyInputEnds)
{
    TLayoutFixture f;
    for (int h = 4; h <= 24; h += 5)
        AddHeightFont(f.table, h);
    std::mt19937 random(12345);
    const char alphabet[] = "ab -\n\r";
    for (int round = 0; round < 3000; ++round) {
        TRunList runs;
        std::string expected;
        const int count = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < count; ++i) {
            if (random() % 6 == 0) {
                runs.push_back(ImageRun(static_cast<std::uint16_t>(i), 1 + random() % 20, 1 + random() % 20));
                continue;
            }
            std::string text;
            for (unsigned n = random() % 12; n > 0; --n)
                text += alphabet[random() % 6];
            runs.push_back(TextRun(static_cast<int>(random() % 9), static_cast<std::uint16_t>(i), text.c_str(),
                                   static_cast<int>(random() % 3)));
            for (char c : text)
                if (c != '\r')
                    expected += c;
        }
        const int width = static_cast<int>(random() % 40) - 2;
        f.Layout(runs, width);
        ASSERT_EQ(Joined(runs), expected) << round;
    }
}

TEST(CellLayout, MissingFontIdsFallBack)
{
    TLayoutFixture f;
    // An id past the table lays out in font 0.
    TRunList runs = {TextRun(7, 1, "abc")};
    EXPECT_EQ(f.Layout(runs, 200), 10);
    EXPECT_EQ(runs[0].Width, 15);
    // With no fonts at all the canvas's own font stands, and it is back afterwards.
    ClearGridFonts(f.table);
    f.host.canvas.Font()->SetHeight(-6);
    runs = {TextRun(0, 1, "abc")};
    EXPECT_EQ(f.Layout(runs, 200), 6);
    EXPECT_EQ(runs[0].Width, 9);
    f.host.canvas.Font()->SetHeight(-8);
    AddHeightFont(f.table, 20);
    runs = {TextRun(0, 1, "abc")};
    f.Layout(runs, 200);
    EXPECT_EQ(f.host.canvas.Font()->Height(), -8);
    runs.clear();
    EXPECT_EQ(f.Layout(runs, 200), 0);
}

TEST(CellLayout, VerticalPlacementRoundsTowardZero)
{
    S_XSGCell cell;
    cell.TextHeight = 10;
    const TRect rect = Rect(0, 10, 50, 35);  // 25 high
    cell.Flags = 0;
    EXPECT_EQ(CellTextTop(rect, cell), 10);
    cell.Flags = 1 << CellVAlignShift;
    EXPECT_EQ(CellTextTop(rect, cell), 10 + 7);
    cell.Flags = 2 << CellVAlignShift;
    EXPECT_EQ(CellTextTop(rect, cell), 10 + 15);
    cell.TextHeight = 40;  // taller than the cell: from the top
    EXPECT_EQ(CellTextTop(rect, cell), 10);
}

TEST(CellLayout, GridCellsAreLaidOutAtTheirWidths)
{
    TLayoutFixture f;
    f.host.colWidths = {31, 20, 21};
    S_XSGCell &plain = *GetGridCell(f.table, 0, 0);
    AddCellRun(f.table, plain, "abc def", 1);
    LayoutGridCell(f.table, plain, -1, 0);
    EXPECT_EQ(plain.TextHeight, 20);
    EXPECT_FALSE(plain.Flags & CellCompact);
    EXPECT_EQ(CurrentCellTextList(f.table, plain).size(), 2u);
    // A lookup joins the pieces again.
    EXPECT_EQ(GetRunTextByNumber(f.table, plain, 1), "abc def");

    // A span: its columns with the line between them (20 + 1 + 21).
    S_XSGCell *master = MergeGridCells(f.table, 1, 2, 2, 1);
    AddCellRun(f.table, *master, "abcdefg", 1);
    EXPECT_EQ(GridCellTextWidth(f.table, *master, -1), 42);
    RelayoutGridCells(f.table);
    EXPECT_EQ(master->TextHeight, 10);
    EXPECT_EQ(plain.TextHeight, 20);

    // Measuring leaves the runs whole.
    S_XSGCell &narrow = *GetGridCell(f.table, 0, 1);
    AddCellRun(f.table, narrow, "abcdefgh", 1);
    MeasureCellText(f.table, narrow);
    EXPECT_EQ(narrow.TextHeight, 30);
    EXPECT_EQ(CurrentCellTextList(f.table, narrow).size(), 1u);

    // A fraction cell's texts are prepared first: the denominator comes out on its own line.
    S_XSGCell &fraction = *GetGridCell(f.table, 0, 2);
    RebuildFractionCell(f.table, fraction, 0);
    SetRunTextByNumber(f.table, fraction, 1, "1");
    SetRunTextByNumber(f.table, fraction, 2, "2");
    LayoutGridCell(f.table, fraction);
    EXPECT_EQ(fraction.TextHeight, 20);
}

TEST(CellLayout, StretchingColumnsAndRows)
{
    TLayoutFixture f;  // three columns of 64 and three rows of 20, line 1
    f.host.clientWidth = 400;
    StretchGridColumns(f.table, false);
    EXPECT_EQ(f.host.colWidths, (std::vector<int>{132, 132, 133}));
    EXPECT_EQ(TotalGridWidth(f.table), 400);
    f.host.clientWidth = 100;
    StretchGridColumns(f.table, false);
    EXPECT_EQ(f.host.colWidths, (std::vector<int>{32, 32, 33}));
    EXPECT_EQ(TotalGridWidth(f.table), 100);
    f.host.clientWidth = 3;
    StretchGridColumns(f.table, false);
    EXPECT_EQ(f.host.colWidths, (std::vector<int>{1, 1, 1}));

    f.host.clientHeight = 70;
    StretchGridRows(f.table, false);
    EXPECT_EQ(f.host.rowHeights, (std::vector<int>{22, 22, 23}));

    // Both ways: the columns, then the rows; with relayout every cell is laid out at the new widths.
    f.host.colWidths = {31, 31, 31};
    f.host.rowHeights = {20, 20, 20};
    AddCellRun(f.table, *GetGridCell(f.table, 0, 0), "abc def", 1);
    f.host.clientWidth = 3 * 62;
    f.host.clientHeight = 3 * 31;
    StretchGridBoth(f.table, true);
    EXPECT_EQ(f.host.colWidths, (std::vector<int>{61, 61, 61}));
    EXPECT_EQ(f.host.rowHeights, (std::vector<int>{30, 30, 30}));
    EXPECT_EQ(f.At(0, 0).TextHeight, 10);
}
