// A row's height from its cells' texts, the row selection, and where the navigation keys take the
// current cell and the view, decided apart from any window.
#include <gtest/gtest.h>

#include "gridtable/GridTableInput.h"
#include "tests/gridtable/StandInHost.h"

namespace {

// A stand-in that counts the heights set.
class TCountingHost : public TStandInHost {
public:
    using TStandInHost::TStandInHost;
    int heightsSet = 0;
    void SetGridRowHeight(int row, int height) override
    {
        ++heightsSet;
        TStandInHost::SetGridRowHeight(row, height);
    }
};

struct HeightFixture {
    TCountingHost host;
    TXGridModel table;
    HeightFixture(int rows, int cols) : host(rows, cols), table(host) { CreateGridCells(table); }
    S_XSGCell &At(int row, int col) { return table.Rows.at(row).at(col); }
};

}  // namespace

TEST(GridRowHeight, RowTakesItsTallestPlainTextWithinDescriptionAndClient)
{
    HeightFixture f(4, 3);  // rows 20 high, the descriptions too
    f.At(1, 0).TextHeight = 12;
    f.At(1, 2).TextHeight = 31;
    CorrectGridRowHeight(f.table, 1);
    EXPECT_EQ(f.host.rowHeights[1], 31);
    EXPECT_EQ(f.host.heightsSet, 1);

    // Set only when it differs.
    CorrectGridRowHeight(f.table, 1);
    EXPECT_EQ(f.host.heightsSet, 1);

    // Never below the description's height...
    f.At(1, 2).TextHeight = 5;
    CorrectGridRowHeight(f.table, 1);
    EXPECT_EQ(f.host.rowHeights[1], 20);
    // ...nor above the client height.
    f.At(2, 1).TextHeight = 900;
    CorrectGridRowHeight(f.table, 2);
    EXPECT_EQ(f.host.rowHeights[2], f.host.clientHeight);

    // Rows outside the model are left alone.
    const int set = f.host.heightsSet;
    CorrectGridRowHeight(f.table, -1);
    CorrectGridRowHeight(f.table, 4);
    EXPECT_EQ(f.host.heightsSet, set);
}

TEST(GridRowHeight, SpanRemainderGoesToItsLastRow)
{
    HeightFixture f(6, 3);
    ASSERT_NE(MergeGridCells(f.table, 1, 3, 1, 0), nullptr);  // rows 1-3, columns 0-1
    f.At(1, 0).TextHeight = 100;
    f.At(1, 2).TextHeight = 25;  // plain cell of row 1
    f.At(3, 2).TextHeight = 10;  // plain cell of the last row
    CorrectGridRowHeight(f.table, 1);
    EXPECT_EQ(f.host.rowHeights[1], 25);
    EXPECT_EQ(f.host.rowHeights[2], 20);
    // 100 less row 1 (25 + line) and row 2 (20 + line).
    EXPECT_EQ(f.host.rowHeights[3], 100 - 26 - 21);

    // The last row's own text wins when it is taller than the remainder.
    f.At(3, 2).TextHeight = 70;
    CorrectGridRowHeight(f.table, 2);
    EXPECT_EQ(f.host.rowHeights[3], 70);

    // Corrected from its last row, the span still counts the rows above.
    f.At(3, 2).TextHeight = 0;
    CorrectGridRowHeight(f.table, 3);
    EXPECT_EQ(f.host.rowHeights[3], 100 - 26 - 21);
}

TEST(GridRowHeight, OfTwoSpansThroughARowTheLowerEndingDecides)
{
    HeightFixture f(7, 3);
    ASSERT_NE(MergeGridCells(f.table, 1, 2, 0, 0), nullptr);  // rows 1-2
    ASSERT_NE(MergeGridCells(f.table, 1, 4, 1, 1), nullptr);  // rows 1-4
    f.At(1, 0).TextHeight = 200;                              // would make row 2 tall
    f.At(1, 1).TextHeight = 90;
    CorrectGridRowHeight(f.table, 1);
    EXPECT_EQ(f.host.rowHeights[2], 20);
    EXPECT_EQ(f.host.rowHeights[4], 90 - 3 * 21);
}

// ---- row selection -----------------------------------------------------------------------------------

TEST(GridRowSelection, OnlyRowsWithAnEditableCellOutsideTheFixedColumnsAreMarked)
{
    TGridFixture f(6, 3, 1, 1);
    f.At(2, 1).Flags = 0;
    f.At(2, 2).Flags = 0;  // row 2: only its fixed cell is editable
    EXPECT_TRUE(SelectGridRow(f.table, 1, true));
    EXPECT_FALSE(SelectGridRow(f.table, 2, true));
    EXPECT_FALSE(SelectGridRow(f.table, 0, true));  // a fixed row
    EXPECT_TRUE(SelectGridRow(f.table, 1, true));   // already selected
    EXPECT_EQ(f.table.RowDescriptions.SelectedCount, 1);
    EXPECT_TRUE(IsGridRowSelected(f.table, 1));
    EXPECT_FALSE(IsGridRowSelected(f.table, 2));
    EXPECT_FALSE(IsGridRowSelected(f.table, 99));
    // The row is repainted, cell by cell.
    EXPECT_NE(std::find(f.host.invalidated.begin(), f.host.invalidated.end(), std::make_pair(1, 2)),
              f.host.invalidated.end());

    SelectAllGridRows(f.table);
    EXPECT_EQ(f.table.RowDescriptions.SelectedCount, 4);  // rows 1, 3, 4, 5
    EXPECT_FALSE(IsGridRowSelected(f.table, 2));
    EXPECT_FALSE(SelectGridRow(f.table, 3, false));
    EXPECT_EQ(f.table.RowDescriptions.SelectedCount, 3);
    UnselectAllGridRows(f.table);
    EXPECT_EQ(f.table.RowDescriptions.SelectedCount, 0);
    for (int r = 0; r < 6; ++r)
        EXPECT_FALSE(IsGridRowSelected(f.table, r)) << r;
}

TEST(GridRowSelection, ShiftSelectionFollowsTheAnchorAndKeepsWhatWasKept)
{
    TGridFixture f(10, 2, 1, 0);
    SetGridShiftSelecting(f.table, true, 2);
    EXPECT_EQ(f.table.RowDescriptions.ShiftAnchor, 2);
    EXPECT_TRUE(IsGridRowSelected(f.table, 2));
    FollowShiftSelection(f.table, 2, 5);
    for (int r = 2; r <= 5; ++r)
        EXPECT_TRUE(IsGridRowSelected(f.table, r)) << r;
    // Back up: rows beyond the new row are given up, the anchor's side stays.
    FollowShiftSelection(f.table, 5, 3);
    EXPECT_TRUE(IsGridRowSelected(f.table, 3));
    EXPECT_FALSE(IsGridRowSelected(f.table, 4));
    EXPECT_FALSE(IsGridRowSelected(f.table, 5));
    // Past the anchor the other way: the rows below the anchor go, those above come.
    FollowShiftSelection(f.table, 3, 1);
    EXPECT_TRUE(IsGridRowSelected(f.table, 1));
    EXPECT_TRUE(IsGridRowSelected(f.table, 2));
    EXPECT_FALSE(IsGridRowSelected(f.table, 3));
    EXPECT_EQ(f.table.RowDescriptions.SelectedCount, 2);

    // Ended at row 1: rows 1-2 are kept and survive a later stretch passing over them.
    SetGridShiftSelecting(f.table, false, 1);
    EXPECT_EQ(f.table.RowDescriptions.ShiftAnchor, -1);
    SetGridShiftSelecting(f.table, true, 6);
    FollowShiftSelection(f.table, 6, 8);
    FollowShiftSelection(f.table, 8, 1);
    FollowShiftSelection(f.table, 1, 7);
    EXPECT_TRUE(IsGridRowSelected(f.table, 1));
    EXPECT_TRUE(IsGridRowSelected(f.table, 2));
    EXPECT_FALSE(IsGridRowSelected(f.table, 3));
    for (int r = 6; r <= 7; ++r)
        EXPECT_TRUE(IsGridRowSelected(f.table, r)) << r;
    EXPECT_FALSE(IsGridRowSelected(f.table, 8));
    // Rows outside the stretch moved over are left alone.
    SelectGridRow(f.table, 9, true);
    FollowShiftSelection(f.table, 7, 6);
    EXPECT_TRUE(IsGridRowSelected(f.table, 9));
}

// ---- keys --------------------------------------------------------------------------------------------

namespace {

// A model of rows x cols, every cell editable, and the grid's geometry: sizes with a line of 1 as the
// table gives them to its grid, a client area of the given size.
struct KeyFixture {
    TStandInHost host;
    TXGridModel table;
    TGridGeometry grid;
    KeyFixture(int rows, int cols, int fixedRows, int fixedCols, int width, int height)
        : host(rows, cols, fixedRows, fixedCols), table(host)
    {
        CreateGridCells(table);
        table.HasEditable = true;
        grid.SetGridLineWidth(0);
        grid.SetColCount(cols);
        grid.SetRowCount(rows);
        grid.SetFixedCols(fixedCols);
        grid.SetFixedRows(fixedRows);
        grid.SetDefaultColWidth(65);
        grid.SetDefaultRowHeight(21);
        grid.SetClientSize(width, height);
        grid.MoveCurrent(fixedCols, fixedRows, true);
    }
    void NotEditable(int row, int col) { table.Rows.at(row).at(col).Flags = 0; }
    // The key as the table takes it: the lane of each move is kept for the next.
    TGridKeyMove Key(std::uint16_t key)
    {
        TGridKeyMove m = GridKeyTarget(table, grid, key, lane);
        if (m.Moved) {
            grid.SetTopLeft(m.LeftCol, m.TopRow);
            grid.MoveCurrent(m.Col, m.Row, true);
            lane = m.Lane;
        }
        return m;
    }
    TGridLane lane;
};

std::pair<int, int> At(const TGridKeyMove &m) { return {m.Col, m.Row}; }

}  // namespace

TEST(GridKeys, NothingMovesWithoutAnEditableCellOrAModel)
{
    KeyFixture f(5, 4, 1, 1, 400, 300);
    f.table.HasEditable = false;
    for (std::uint16_t key = GridKeyPageUp; key <= GridKeyDown; ++key)
        EXPECT_FALSE(f.Key(key).Moved) << key;
    f.table.HasEditable = true;
    FreeGridCells(f.table);
    EXPECT_FALSE(f.Key(GridKeyDown).Moved);
    EXPECT_FALSE(f.Key(65).Moved);  // not a navigation key
}

TEST(GridKeys, RightAndDownSkipNonEditableCellsAndStopOnASpansMaster)
{
    KeyFixture f(8, 7, 1, 1, 1000, 1000);
    f.NotEditable(1, 2);
    f.NotEditable(1, 3);
    TGridKeyMove m = f.Key(GridKeyRight);
    EXPECT_EQ(std::make_pair(m.Col, m.Row), std::make_pair(4, 1));
    // A span of rows 1-3, columns 5-6: Right from column 4 stops on its master; reached from row 3
    // it still gives the master.
    ASSERT_NE(MergeGridCells(f.table, 1, 3, 6, 5), nullptr);
    m = f.Key(GridKeyRight);
    EXPECT_EQ(std::make_pair(m.Col, m.Row), std::make_pair(5, 1));
    // Past the span is the edge: nothing further to go to.
    EXPECT_FALSE(f.Key(GridKeyRight).Moved);
    // Down from the span leaves it as one cell: row 4.
    m = f.Key(GridKeyDown);
    EXPECT_EQ(std::make_pair(m.Col, m.Row), std::make_pair(5, 4));
    f.grid.MoveCurrent(4, 3, true);
    m = f.Key(GridKeyRight);
    EXPECT_EQ(std::make_pair(m.Col, m.Row), std::make_pair(5, 1));
    // Left over non-editable cells; the fixed column is never reached.
    f.grid.MoveCurrent(4, 1, true);
    m = f.Key(GridKeyLeft);
    EXPECT_EQ(std::make_pair(m.Col, m.Row), std::make_pair(1, 1));
    EXPECT_FALSE(f.Key(GridKeyLeft).Moved);
    // Up and Down skip non-editable cells of the column.
    f.NotEditable(2, 1);
    f.NotEditable(3, 1);
    m = f.Key(GridKeyDown);
    EXPECT_EQ(std::make_pair(m.Col, m.Row), std::make_pair(1, 4));
    m = f.Key(GridKeyUp);
    EXPECT_EQ(std::make_pair(m.Col, m.Row), std::make_pair(1, 1));
}

TEST(GridKeys, PagesAndHomeEndMoveByTheVisibleCountsOrToTheFarthestEditableCell)
{
    // 21 + 4 x 21 fits 5 rows of 21 below the header at 110 high: 4 rows wholly shown.
    KeyFixture f(20, 12, 1, 1, 65 + 3 * 65 + 10, 21 + 4 * 21 + 10);
    ASSERT_EQ(f.grid.VisibleRowCount(), 4);
    ASSERT_EQ(f.grid.VisibleColCount(), 3);
    TGridKeyMove m = f.Key(GridKeyPageDown);
    EXPECT_EQ(m.Row, 5);
    // The top row follows just enough for row 5 to be shown whole.
    EXPECT_EQ(m.TopRow, 2);
    m = f.Key(GridKeyPageUp);
    EXPECT_EQ(m.Row, 1);
    EXPECT_EQ(m.TopRow, 1);
    m = f.Key(GridKeyEnd);
    EXPECT_EQ(m.Col, 4);
    EXPECT_EQ(m.LeftCol, 2);
    m = f.Key(GridKeyHome);
    EXPECT_EQ(m.Col, 1);
    EXPECT_EQ(m.LeftCol, 1);

    // Row 18 and 19 not editable: a page from row 17 goes to the farthest editable row.
    f.NotEditable(18, 1);
    f.NotEditable(19, 1);
    f.grid.SetTopLeft(1, 14);
    f.grid.MoveCurrent(1, 17, true);
    EXPECT_FALSE(f.Key(GridKeyPageDown).Moved);
    f.grid.MoveCurrent(1, 15, true);
    m = f.Key(GridKeyPageDown);
    EXPECT_EQ(m.Row, 17);
    EXPECT_EQ(m.TopRow, f.grid.MaxTopRow());
    // Every row to the end editable: the last rows fill the view.
    f.grid.SetTopLeft(1, 1);
    f.grid.MoveCurrent(2, 1, true);
    m = f.Key(GridKeyPageDown);
    m = f.Key(GridKeyPageDown);
    m = f.Key(GridKeyPageDown);
    m = f.Key(GridKeyPageDown);
    m = f.Key(GridKeyPageDown);
    EXPECT_EQ(m.Row, 19);
    EXPECT_EQ(m.TopRow, f.grid.MaxTopRow());
    m = f.Key(GridKeyPageUp);
    EXPECT_EQ(m.Row, 15);
    m = f.Key(GridKeyPageUp);
    m = f.Key(GridKeyPageUp);
    m = f.Key(GridKeyPageUp);
    m = f.Key(GridKeyPageUp);
    EXPECT_EQ(m.Row, 1);
    EXPECT_EQ(m.TopRow, 1);
}

TEST(GridKeys, ASpanTallerThanTheViewIsShownFromItsFirstRow)
{
    KeyFixture f(20, 3, 1, 1, 300, 21 + 4 * 21 + 10);
    ASSERT_NE(MergeGridCells(f.table, 6, 13, 1, 1), nullptr);
    f.grid.MoveCurrent(1, 5, true);
    TGridKeyMove m = f.Key(GridKeyDown);
    EXPECT_EQ(m.Row, 6);
    EXPECT_EQ(m.TopRow, 6);
    // Below it and back up: the span begins above the view, which starts at its first row.
    m = f.Key(GridKeyDown);
    EXPECT_EQ(m.Row, 14);
    EXPECT_EQ(m.TopRow, 11);
    m = f.Key(GridKeyUp);
    EXPECT_EQ(m.Row, 6);
    EXPECT_EQ(m.TopRow, 6);
}

// A span of rows 4-6 over columns 1-3 whose first column holds nothing else editable, as a label
// column beside a span of notes: the keys and the wheel step onto it as one cell and off it again by
// the column (row) they came along.
struct SpanOverALabelColumn : KeyFixture {
    SpanOverALabelColumn() : KeyFixture(12, 5, 1, 1, 1000, 1000)
    {
        for (int r = 1; r < 12; ++r)
            if (r != 4)
                NotEditable(r, 1);
        EXPECT_NE(MergeGridCells(table, 4, 6, 3, 1), nullptr);
    }
};

TEST(GridKeys, AStepOffASpanKeepsToTheColumnItCameAlong)
{
    SpanOverALabelColumn f;
    f.grid.MoveCurrent(2, 3, true);
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(1, 4));
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(2, 7));
    EXPECT_EQ(At(f.Key(GridKeyUp)), std::pair(1, 4));
    EXPECT_EQ(At(f.Key(GridKeyUp)), std::pair(2, 3));
    // Along the third column both ways.
    f.grid.MoveCurrent(3, 2, true);
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(3, 3));
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(1, 4));
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(3, 7));
    EXPECT_EQ(At(f.Key(GridKeyUp)), std::pair(1, 4));
    EXPECT_EQ(At(f.Key(GridKeyUp)), std::pair(3, 3));
    // Without a lane (reached some other way) the span is left by its columns from the left: the first
    // holds nothing, the second does.
    f.grid.MoveCurrent(1, 4, true);
    f.lane = {};
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(2, 7));
    // Clicked in its third column, the span is left by that one.
    f.grid.MoveCurrent(3, 5, true);
    EXPECT_EQ(At(f.Key(GridKeyUp)), std::pair(3, 3));
    // Entered along the third column, then clicked in the second: the span is left by the second.
    f.grid.MoveCurrent(3, 3, true);
    f.Key(GridKeyDown);
    f.grid.MoveCurrent(2, 5, true);
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(2, 7));
}

TEST(GridKeys, ALaneWithNothingThatWayGivesWayToTheSpansOtherColumnsFromTheLeft)
{
    SpanOverALabelColumn f;
    for (int r = 7; r < 12; ++r)
        f.NotEditable(r, 3);
    f.grid.MoveCurrent(3, 3, true);
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(1, 4));
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(2, 7));
    // Nothing editable below in any of its columns: the span stays current and the key is spent.
    for (int r = 7; r < 12; ++r)
        f.NotEditable(r, 2);
    f.grid.MoveCurrent(3, 3, true);
    EXPECT_EQ(At(f.Key(GridKeyDown)), std::pair(1, 4));
    TGridKeyMove m = f.Key(GridKeyDown);
    EXPECT_FALSE(m.Moved);
    EXPECT_EQ(At(m), std::pair(1, 4));
    EXPECT_FALSE(f.Key(GridKeyPageDown).Moved);
    // Up still leaves it by the column it came along.
    EXPECT_EQ(At(f.Key(GridKeyUp)), std::pair(3, 3));
}

TEST(GridKeys, ASideStepOffASpanKeepsToTheRowItCameAlong)
{
    SpanOverALabelColumn f;
    // The fourth column is editable beside the span's lower two rows only.
    f.NotEditable(4, 4);
    f.grid.MoveCurrent(4, 6, true);
    EXPECT_EQ(At(f.Key(GridKeyLeft)), std::pair(1, 4));
    EXPECT_EQ(At(f.Key(GridKeyRight)), std::pair(4, 6));
    // Entered from above, the span is left by its rows from the top: the first has nothing to the
    // right, the second has.
    f.grid.MoveCurrent(2, 3, true);
    f.Key(GridKeyDown);
    EXPECT_EQ(At(f.Key(GridKeyRight)), std::pair(4, 5));
    // Nothing to the left of the span but the fixed column: the key is spent.
    f.grid.MoveCurrent(4, 5, true);
    f.Key(GridKeyLeft);
    EXPECT_FALSE(f.Key(GridKeyLeft).Moved);
}

TEST(GridKeys, TheViewFollowsAStepOffASpanAlongAnotherColumn)
{
    // Rows of 21 below a fixed row, 4 rows shown: the span (rows 4-6) enters the view whole, and the
    // step off it below scrolls by one more.
    SpanOverALabelColumn f;
    f.grid.SetClientSize(1000, 21 + 4 * 21 + 10);
    ASSERT_EQ(f.grid.VisibleRowCount(), 4);
    f.grid.MoveCurrent(3, 3, true);
    TGridKeyMove m = f.Key(GridKeyDown);
    EXPECT_EQ(At(m), std::pair(1, 4));
    EXPECT_EQ(m.TopRow, 3);
    m = f.Key(GridKeyDown);
    EXPECT_EQ(At(m), std::pair(3, 7));
    EXPECT_EQ(m.TopRow, 4);
    m = f.Key(GridKeyUp);
    EXPECT_EQ(m.TopRow, 4);
    m = f.Key(GridKeyUp);
    EXPECT_EQ(At(m), std::pair(3, 3));
    EXPECT_EQ(m.TopRow, 3);
    // A page up onto the span from row 10, a page down off it along the same column, and up past it
    // to the farthest cell.
    f.grid.SetTopLeft(1, 7);
    f.grid.MoveCurrent(3, 10, true);
    m = f.Key(GridKeyPageUp);
    EXPECT_EQ(At(m), std::pair(1, 4));
    EXPECT_EQ(m.TopRow, 4);
    m = f.Key(GridKeyPageDown);
    EXPECT_EQ(At(m), std::pair(3, 10));
    EXPECT_EQ(m.TopRow, 7);
    EXPECT_EQ(At(f.Key(GridKeyPageUp)), std::pair(1, 4));
    m = f.Key(GridKeyPageUp);
    EXPECT_EQ(At(m), std::pair(3, 1));
    EXPECT_EQ(m.TopRow, 1);
}
