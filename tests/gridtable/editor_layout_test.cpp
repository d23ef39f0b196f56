// Where the in-cell editors go and what the date and list editors start with.
#include <gtest/gtest.h>

#include "gridtable/editing/CellEditorLayout.h"
#include "tests/gridtable/StandInHost.h"

namespace {

// Rows of 20 pixels with their line.
int Twenty(int) { return 20; }

}  // namespace

TEST(CellEditorLayout, TheCellIsCutAtTheClientAreasRightAndBottom)
{
    EXPECT_EQ(ClipEditorToClient(Rect(10, 20, 80, 50), 400, 300), Rect(10, 20, 80, 50));
    EXPECT_EQ(ClipEditorToClient(Rect(350, 280, 450, 320), 400, 300), Rect(350, 280, 400, 300));
    // A cell wholly beyond the edge keeps no width rather than a negative one.
    EXPECT_EQ(ClipEditorToClient(Rect(420, 320, 480, 340), 400, 300), Rect(420, 320, 420, 320));
}

TEST(CellEditorLayout, RichEditorKeepsTheCellStretchesToTheBottomOrTakesANeighbouringRow)
{
    const TRect cell = Rect(64, 40, 128, 60);
    // Extent 1, and extent 0, never take a second row.
    EXPECT_EQ(RichEditorSecondRow(1, 2, 2, 10, 0, 300, Twenty), -1);
    EXPECT_EQ(RichEditorSecondRow(0, 2, 2, 10, 0, 300, Twenty), -1);
    EXPECT_EQ(RichEditorBounds(1, cell, 300, -1, -1), cell);
    EXPECT_EQ(RichEditorBounds(0, cell, 300, -1, -1), Rect(64, 40, 128, 300));

    // Other extents: the next row, the one before in the last row, the one after a span's last row.
    EXPECT_EQ(RichEditorSecondRow(2, 2, 2, 10, 0, 300, Twenty), 3);
    EXPECT_EQ(RichEditorSecondRow(7, 9, 9, 10, 0, 300, Twenty), 8);
    EXPECT_EQ(RichEditorSecondRow(2, 3, 5, 10, 0, 300, Twenty), 6);
    EXPECT_EQ(RichEditorSecondRow(2, 8, 9, 10, 1, 300, Twenty), 7);
    EXPECT_EQ(RichEditorBounds(2, cell, 300, 60, 80), Rect(64, 40, 128, 80));
    EXPECT_EQ(RichEditorBounds(2, cell, 300, 20, 40), Rect(64, 20, 128, 60));

    // A table of one row, a row before the last that is fixed, or rows higher than the client area
    // together: the cell alone.
    EXPECT_EQ(RichEditorSecondRow(2, 0, 0, 1, 0, 300, Twenty), -1);
    EXPECT_EQ(RichEditorSecondRow(2, 1, 1, 2, 1, 300, Twenty), -1);
    EXPECT_EQ(RichEditorSecondRow(2, 2, 2, 10, 0, 39, Twenty), -1);
    EXPECT_EQ(RichEditorSecondRow(2, 2, 2, 10, 0, 40, Twenty), 3);
    EXPECT_EQ(RichEditorBounds(2, cell, 300, -1, -1), cell);
}

TEST(CellEditorLayout, FractionLinesMeetAtTheMiddle)
{
    const TFractionLayout f = FractionEditorLayout(100, 40, 16);
    EXPECT_EQ(f.Up, Rect(0, 4, 100, 20));
    EXPECT_EQ(f.Bar, Rect(0, 20, 100, 21));
    EXPECT_EQ(f.Down, Rect(0, 21, 100, 40));
    // An odd height is halved toward zero.
    EXPECT_EQ(FractionEditorLayout(100, 41, 16).Up, Rect(0, 4, 100, 20));
    // Lower than two text heights: the numerator stays at the top, the denominator keeps a place.
    const TFractionLayout low = FractionEditorLayout(50, 12, 16);
    EXPECT_EQ(low.Up, Rect(0, 0, 50, 16));
    EXPECT_EQ(low.Down, Rect(0, 17, 50, 17));
}

TEST(CellEditorLayout, PickersAndButtonsTakeTheHeightTheyNeedAndMoveUpAtTheTablesBottom)
{
    const TRect cell = Rect(10, 40, 210, 60);
    const TPickerLayout p = PickerEditorLayout(cell, 0, 300, 15, 21, 25);
    EXPECT_EQ(p.Head, Rect(2, 2, 198, 17));
    EXPECT_EQ(p.Field, Rect(2, 19, 198, 40));
    EXPECT_EQ(p.Save, Rect(2, 42, 99, 67));
    EXPECT_EQ(p.Cancel, Rect(101, 42, 198, 67));
    EXPECT_EQ(p.Form, Rect(10, 40, 210, 109));

    // In the last rows the form's bottom meets the cell's.
    const TRect low = Rect(10, 260, 210, 280);
    EXPECT_EQ(PickerEditorLayout(low, 0, 300, 15, 21, 25).Form, Rect(10, 211, 210, 280));
    // Never above the table's top: a form higher than the table hangs below it.
    EXPECT_EQ(PickerEditorLayout(low, 240, 300, 15, 21, 25).Form, Rect(10, 240, 210, 309));

    const TButtonsLayout b = ButtonEditorLayout(cell, 0, 300, 23);
    EXPECT_EQ(b.First, Rect(2, 2, 198, 25));
    EXPECT_EQ(b.Second, Rect(2, 29, 198, 52));
    EXPECT_EQ(b.Form, Rect(10, 40, 210, 94));
    EXPECT_EQ(ButtonEditorLayout(low, 0, 300, 23).Form, Rect(10, 226, 210, 280));

    // A cell narrower than the margins gives controls of no width, never a negative one.
    const TPickerLayout narrow = PickerEditorLayout(Rect(0, 0, 3, 20), 0, 300, 15, 21, 25);
    EXPECT_EQ(narrow.Head.Width(), 0);
    EXPECT_EQ(narrow.Save.Width(), 0);
    EXPECT_GE(narrow.Cancel.Left, 0);
}

TEST(CellEditorLayout, DateCellRebuiltAroundItsHeadingWithTodayTwice)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    cell.EditKind = EditKindDate;
    TRunList &runs = CurrentCellTextList(f.table, cell);
    runs = {Piece(3, 1, "Дата", RunKindOne)};
    cell.Flags |= CellCompact;
    ASSERT_TRUE(PrepareDateCellRuns(f.table, cell, "07.12.2026"));
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].Number, 1);
    EXPECT_EQ(runs[0].Text, "Дата");
    EXPECT_FALSE(runs[0].Shown());
    EXPECT_EQ(runs[0].Font, 3);
    EXPECT_EQ(runs[1].Number, 2);
    EXPECT_EQ(runs[1].Text, "07.12.2026");
    EXPECT_FALSE(runs[1].Shown());
    EXPECT_EQ(runs[2].Number, 3);
    EXPECT_EQ(runs[2].Text, "07.12.2026");
    EXPECT_TRUE(runs[2].Shown());
    EXPECT_EQ(runs[2].Font, 3);
    // The other language's list is left alone.
    EXPECT_TRUE(GetCellTextList(cell, 1 - f.table.Language).empty());

    // Three runs stay as they are.
    runs[1].Text = "01.01.2020";
    EXPECT_FALSE(PrepareDateCellRuns(f.table, cell, "07.12.2026"));
    EXPECT_EQ(GetRunTextByNumber(f.table, cell, 2), "01.01.2020");

    // Two runs: run 1's text and font kept, whichever place it has.
    runs = {Piece(5, 7, "інше"), Piece(2, 1, "Строк")};
    ASSERT_TRUE(PrepareDateCellRuns(f.table, cell, "07.12.2026"));
    EXPECT_EQ(runs[0].Text, "Строк");
    EXPECT_EQ(runs[2].Font, 2);

    // No runs, or an image as run 1: an empty heading in font 0.
    runs.clear();
    ASSERT_TRUE(PrepareDateCellRuns(f.table, cell, "07.12.2026"));
    EXPECT_EQ(runs[0].Text, "");
    EXPECT_EQ(runs[2].Font, 0);
    runs = {Piece(12, 1, "", RunShown | RunImage)};
    ASSERT_TRUE(PrepareDateCellRuns(f.table, cell, "07.12.2026"));
    EXPECT_FALSE(runs[0].IsImage());
    EXPECT_EQ(runs[2].Font, 0);
}

TEST(CellEditorLayout, ListItemsAreTheRunsAfterTheHeadingWithTheShownOneSelected)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    TRunList &runs = CurrentCellTextList(f.table, cell);
    cell.Flags |= CellCompact;
    runs = {Piece(0, 1, "Оберіть", 0), Piece(0, 2, "перший", 0), Piece(0, 3, "другий"), Piece(0, 4, "третій", 0)};
    TListCellItems items = ListCellItems(f.table, cell);
    EXPECT_EQ(items.Items, (std::vector<AnsiString>{"перший", "другий", "третій"}));
    EXPECT_EQ(items.Selected, 1);
    // None shown: nothing selected; only a heading: no items.
    runs[2].Flags = 0;
    EXPECT_EQ(ListCellItems(f.table, cell).Selected, -1);
    runs.resize(1);
    EXPECT_TRUE(ListCellItems(f.table, cell).Items.empty());
}
