// The grid's geometry without a window: counts and their limits, sizes, scrolling, the cells on
// screen, hit testing and moving rows.
#include <gtest/gtest.h>

#include <vector>

#include "framework/windows/GridGeometry.h"

namespace {
// 10 columns of 64 and 20 rows of 24, one of each fixed, lines of 1, in a client area of 300 x 200:
// the fixed column takes 65 pixels, leaving 235 for three whole columns and part of a fourth; the
// fixed row takes 25, leaving 175 for seven whole rows.
TGridGeometry Sample()
{
    TGridGeometry g;
    g.SetColCount(10);
    g.SetRowCount(20);
    g.SetClientSize(300, 200);
    return g;
}

// The default five rows, 10, 11, 12, 13 and 14 high.
TGridGeometry FiveRowsOf10To14()
{
    TGridGeometry g;
    for (int r = 0; r < 5; ++r)
        g.SetRowHeight(r, 10 + r);
    return g;
}

std::vector<int> RowHeights(const TGridGeometry &g)
{
    std::vector<int> heights;
    for (int r = 0; r < g.RowCount(); ++r)
        heights.push_back(g.RowHeight(r));
    return heights;
}
}  // namespace

TEST(GridGeometry, StartsWithFiveByFiveOneFixedAndDefaultSizes)
{
    TGridGeometry g;
    EXPECT_EQ(5, g.ColCount());
    EXPECT_EQ(5, g.RowCount());
    EXPECT_EQ(1, g.FixedCols());
    EXPECT_EQ(1, g.FixedRows());
    EXPECT_EQ(64, g.ColWidth(0));
    EXPECT_EQ(24, g.RowHeight(4));
    EXPECT_EQ(1, g.GridLineWidth());
    EXPECT_EQ((TGridCoord{1, 1}), (TGridCoord{g.Col(), g.Row()}));
    EXPECT_EQ((TGridCoord{1, 1}), (TGridCoord{g.LeftCol(), g.TopRow()}));
}

TEST(GridGeometry, CountsKeepOneCellAndFixedCountsBelowThem)
{
    TGridGeometry g;
    g.SetRowCount(0);
    g.SetColCount(-3);
    EXPECT_EQ(1, g.RowCount());
    EXPECT_EQ(1, g.ColCount());
    EXPECT_EQ(0, g.FixedRows());  // lowered with the count
    EXPECT_EQ(0, g.FixedCols());
    EXPECT_EQ(0, g.Row());

    g.SetRowCount(6);
    g.SetFixedRows(9);
    EXPECT_EQ(5, g.FixedRows());
    EXPECT_EQ(5, g.Row());  // the current cell and the top row leave the fixed rows
    EXPECT_EQ(5, g.TopRow());
    g.SetFixedRows(-1);
    EXPECT_EQ(0, g.FixedRows());

    g.SetFixedRows(3);
    g.SetRowCount(2);
    EXPECT_EQ(1, g.FixedRows());
    EXPECT_EQ(1, g.Row());
}

TEST(GridGeometry, ACutCountDropsTheSizesItCutsOff)
{
    TGridGeometry g;
    g.SetColWidth(3, 100);
    g.SetColWidth(4, 120);
    g.SetColCount(4);
    g.SetColCount(6);
    EXPECT_EQ(100, g.ColWidth(3));
    EXPECT_EQ(64, g.ColWidth(4));
    EXPECT_EQ(64, g.ColWidth(5));
    // Outside the grid a size reads as the default and cannot be set; a negative one is 0.
    EXPECT_EQ(64, g.ColWidth(6));
    EXPECT_FALSE(g.SetColWidth(6, 10));
    EXPECT_FALSE(g.SetRowHeight(-1, 10));
    EXPECT_TRUE(g.SetRowHeight(0, -5));
    EXPECT_EQ(0, g.RowHeight(0));
    // A new default applies to every row.
    g.SetDefaultRowHeight(30);
    EXPECT_EQ(30, g.RowHeight(0));
    EXPECT_EQ(30, g.RowHeight(4));
}

TEST(GridGeometry, VisibleCountsAndCellRectanglesFollowTheScrolling)
{
    TGridGeometry g = Sample();
    EXPECT_EQ(3, g.VisibleColCount());
    EXPECT_EQ(7, g.VisibleRowCount());
    EXPECT_EQ(Rect(65, 25, 129, 49), g.CellRect(1, 1));
    EXPECT_EQ(Rect(0, 0, 64, 24), g.CellRect(0, 0));
    // The fourth scrollable column is cut by the edge, the fifth not shown.
    EXPECT_EQ(Rect(260, 25, 300, 49), g.CellRect(4, 1));
    EXPECT_EQ(TRect{}, g.CellRect(5, 1));
    EXPECT_EQ((TGridRect{1, 1, 4, 7}), g.VisibleCells());

    EXPECT_TRUE(g.SetTopLeft(3, 5));
    EXPECT_FALSE(g.SetTopLeft(3, 5));
    EXPECT_EQ(Rect(65, 25, 129, 49), g.CellRect(3, 5));
    EXPECT_EQ(Rect(0, 25, 64, 49), g.CellRect(0, 5));   // the fixed column stays
    EXPECT_EQ(Rect(65, 0, 129, 24), g.CellRect(3, 0));  // the fixed row shows the scrolled column
    EXPECT_EQ(TRect{}, g.CellRect(2, 5));               // scrolled away under the fixed column
    EXPECT_EQ(TRect{}, g.CellRect(3, 4));
    // Where a scrolled-away cell lies: under the fixed cells and beyond.
    EXPECT_EQ(Rect(0, 25, 64, 49), g.CellBounds(2, 5));
    EXPECT_EQ(Rect(-65, 25, -1, 49), g.CellBounds(1, 5));
    EXPECT_EQ(Rect(65, 0, 129, 24), g.CellBounds(3, 4));
    EXPECT_EQ((TGridRect{3, 5, 6, 11}), g.VisibleCells());
    EXPECT_EQ(TRect{}, g.CellRect(10, 5));
    EXPECT_EQ(TRect{}, g.CellBounds(-1, 5));
}

TEST(GridGeometry, ScrollingStopsWhereTheLastCellsAreWhollyShown)
{
    TGridGeometry g = Sample();
    EXPECT_EQ(7, g.MaxLeftCol());  // columns 7-9 fill the 235 pixels
    EXPECT_EQ(13, g.MaxTopRow());  // rows 13-19 fill the 175 pixels
    g.SetTopLeft(99, 99);
    EXPECT_EQ(7, g.LeftCol());
    EXPECT_EQ(13, g.TopRow());
    EXPECT_EQ(3, g.VisibleColCount());
    EXPECT_EQ(Rect(65 + 2 * 65, 25, 65 + 2 * 65 + 64, 49), g.CellRect(9, 13));
    g.SetTopLeft(0, -4);  // not into the fixed cells
    EXPECT_EQ(1, g.LeftCol());
    EXPECT_EQ(1, g.TopRow());

    // A larger client area pulls a scrolled grid back so that it shows no blank beyond its last row.
    g.SetTopLeft(1, 13);
    g.SetClientSize(300, 400);
    EXPECT_EQ(5, g.TopRow());
    EXPECT_EQ(15, g.VisibleRowCount());
    // Everything fits: nothing scrolls.
    g.SetClientSize(2000, 2000);
    EXPECT_EQ(1, g.MaxLeftCol());
    EXPECT_EQ(1, g.MaxTopRow());
    EXPECT_EQ(9, g.VisibleColCount());
    // No room at all still counts the top-left cell.
    g.SetClientSize(0, 0);
    EXPECT_EQ(1, g.VisibleColCount());
    EXPECT_EQ(1, g.VisibleRowCount());
}

TEST(GridGeometry, TheTopLeftCellThatShowsACellMovesAsLittleAsItCan)
{
    TGridGeometry g = Sample();
    EXPECT_EQ((TGridCoord{1, 1}), g.TopLeftShowing(3, 7));  // shown already
    EXPECT_EQ((TGridCoord{1, 2}), g.TopLeftShowing(1, 8));  // one row below the last whole one
    EXPECT_EQ((TGridCoord{4, 1}), g.TopLeftShowing(6, 1));  // columns 4-6 fit
    EXPECT_EQ((TGridCoord{1, 1}), g.TopLeftShowing(0, 0));  // fixed cells are always shown
    g.SetTopLeft(5, 10);
    EXPECT_EQ((TGridCoord{2, 4}), g.TopLeftShowing(2, 4));  // above and left: from the cell on
    // A row taller than the room is shown from its top.
    g.SetRowHeight(15, 500);
    EXPECT_EQ((TGridCoord{5, 15}), g.TopLeftShowing(5, 15));
}

TEST(GridGeometry, APointOnALineBelongsToTheCellBeforeItAndPastTheLastCellToNone)
{
    TGridGeometry g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetClientSize(400, 300);
    EXPECT_EQ((TGridCoord{0, 0}), g.MouseCoord(0, 0));
    EXPECT_EQ((TGridCoord{0, 0}), g.MouseCoord(63, 23));
    EXPECT_EQ((TGridCoord{0, 0}), g.MouseCoord(64, 24));  // on the lines after cell (0, 0)
    EXPECT_EQ((TGridCoord{1, 1}), g.MouseCoord(65, 25));
    EXPECT_EQ((TGridCoord{2, 2}), g.MouseCoord(194, 74));    // the lines after the last cell
    EXPECT_EQ((TGridCoord{-1, -1}), g.MouseCoord(195, 10));  // past the last column
    EXPECT_EQ((TGridCoord{-1, -1}), g.MouseCoord(10, 75));   // past the last row
    EXPECT_EQ((TGridCoord{-1, -1}), g.MouseCoord(-1, 10));
    // Scrolled, the point after the fixed column is the top-left cell.
    TGridGeometry s = Sample();
    s.SetTopLeft(4, 9);
    EXPECT_EQ((TGridCoord{4, 9}), s.MouseCoord(65, 25));
    EXPECT_EQ((TGridCoord{0, 0}), s.MouseCoord(64, 24));
    EXPECT_EQ((TGridCoord{7, 15}), s.MouseCoord(299, 199));
    // Without lines cells meet.
    s.SetGridLineWidth(0);
    s.SetTopLeft(1, 1);
    EXPECT_EQ((TGridCoord{1, 1}), s.MouseCoord(64, 24));
    EXPECT_EQ(Rect(64, 24, 128, 48), s.CellRect(1, 1));
    s.SetGridLineWidth(-2);
    EXPECT_EQ(0, s.GridLineWidth());
}

TEST(GridGeometry, InsertedAndDeletedRowsKeepTheOtherRowsSizesAndTheCurrentRow)
{
    TGridGeometry g = FiveRowsOf10To14();
    g.MoveCurrent(2, 3, true);
    EXPECT_TRUE(g.InsertRow(2, 30));
    EXPECT_EQ((std::vector<int>{10, 11, 30, 12, 13, 14}), RowHeights(g));
    EXPECT_EQ(4, g.Row());            // still on the row it was on
    EXPECT_TRUE(g.InsertRow(6, 40));  // at the end
    EXPECT_EQ(40, g.RowHeight(6));
    EXPECT_FALSE(g.InsertRow(8, 1));
    EXPECT_FALSE(g.InsertRow(-1, 1));

    EXPECT_TRUE(g.DeleteRow(2));
    EXPECT_EQ((std::vector<int>{10, 11, 12, 13, 14, 40}), RowHeights(g));
    EXPECT_EQ(3, g.Row());
    EXPECT_TRUE(g.DeleteRow(3));  // the current row goes: the row after it becomes current
    EXPECT_EQ((std::vector<int>{10, 11, 12, 14, 40}), RowHeights(g));
    EXPECT_EQ(3, g.Row());
    EXPECT_FALSE(g.DeleteRow(5));

    // The fixed rows go down when the count would reach them; the last row stays at its default.
    g.SetFixedRows(4);
    EXPECT_TRUE(g.DeleteRow(0));
    EXPECT_EQ(3, g.FixedRows());
    g.SetRowCount(1);
    EXPECT_TRUE(g.DeleteRow(0));
    EXPECT_EQ(1, g.RowCount());
    EXPECT_EQ(24, g.RowHeight(0));
}

TEST(GridGeometry, AMovedRowTakesItsHeightAndTheCurrentCellAlong)
{
    TGridGeometry g = FiveRowsOf10To14();
    g.MoveCurrent(1, 1, true);
    EXPECT_TRUE(g.MoveRow(1, 4));
    EXPECT_EQ((std::vector<int>{10, 12, 13, 14, 11}), RowHeights(g));
    EXPECT_EQ(4, g.Row());
    EXPECT_TRUE(g.MoveRow(4, 2));
    EXPECT_EQ((std::vector<int>{10, 12, 11, 13, 14}), RowHeights(g));
    EXPECT_EQ(2, g.Row());
    EXPECT_TRUE(g.MoveRow(3, 1));  // a row moving past the current one pushes it down
    EXPECT_EQ(3, g.Row());
    EXPECT_FALSE(g.MoveRow(0, 5));
    EXPECT_EQ((std::vector<int>{10, 13, 12, 11, 14}), RowHeights(g));
}

TEST(GridGeometry, TheSelectionReachesFromTheCurrentCellToItsAnchorOnlyWithRangeSelect)
{
    TGridGeometry g = Sample();
    EXPECT_FALSE(g.IsSelectable(0, 3));
    EXPECT_FALSE(g.MoveCurrent(0, 3, true));
    EXPECT_FALSE(g.MoveCurrent(3, 20, true));
    EXPECT_TRUE(g.MoveCurrent(4, 6, true));
    EXPECT_TRUE(g.MoveAnchor(2, 8));
    EXPECT_EQ((TGridRect{2, 6, 4, 8}), g.Selection());
    EXPECT_EQ((TGridCoord{4, 6}), (TGridCoord{g.Col(), g.Row()}));
    EXPECT_TRUE(g.MoveCurrent(5, 5, false));  // the anchor stays
    EXPECT_EQ((TGridRect{2, 5, 5, 8}), g.Selection());

    // Leaving range select shrinks the selection; the anchor then moves the current cell.
    g.SetOptions(g.Options() & ~goRangeSelect);
    EXPECT_EQ((TGridRect{5, 5, 5, 5}), g.Selection());
    EXPECT_TRUE(g.MoveAnchor(7, 9));
    EXPECT_EQ((TGridCoord{7, 9}), (TGridCoord{g.Col(), g.Row()}));
    EXPECT_EQ((TGridRect{7, 9, 7, 9}), g.Selection());

    // A block set as the selection is turned the right way round and kept inside the selectable
    // cells, with its top-left corner as the current cell.
    g.SetSelection(TGridRect{6, 30, 0, 4});
    EXPECT_EQ((TGridRect{1, 4, 6, 19}), g.Selection());
    EXPECT_EQ((TGridCoord{1, 4}), (TGridCoord{g.Col(), g.Row()}));
}

TEST(GridGeometry, ShownColumnsAndRowsListTheFixedOnesFirstAndStopAtTheEdge)
{
    TGridGeometry g = Sample();
    g.SetTopLeft(6, 1);
    std::vector<TGridSpan> cols = g.ShownCols();
    ASSERT_EQ(5u, cols.size());
    EXPECT_EQ(0, cols[0].Index);
    EXPECT_EQ(0, cols[0].Start);
    EXPECT_EQ(6, cols[1].Index);
    EXPECT_EQ(65, cols[1].Start);
    EXPECT_EQ(9, cols[4].Index);
    EXPECT_EQ(260, cols[4].Start);
    EXPECT_EQ(64, cols[4].Size);
    EXPECT_EQ(65, g.FixedWidth());
    EXPECT_EQ(650, g.TotalWidth());
    EXPECT_EQ(500, g.TotalHeight());
    // A fixed area wider than the client area shows no scrollable column.
    g.SetColWidth(0, 400);
    cols = g.ShownCols();
    ASSERT_EQ(1u, cols.size());
    EXPECT_EQ(TRect{}, g.CellRect(7, 1));
}

TEST(GridGeometry, HugeSizesAreCutAndTheirSumsDoNotOverflow)
{
    TGridGeometry g = Sample();
    g.SetRowCount(5000);
    for (int r = 0; r < g.RowCount(); ++r)
        g.SetRowHeight(r, 0x7FFFFFFF);
    g.SetGridLineWidth(0x7FFFFFFF);
    EXPECT_EQ(TGridGeometry::MaxCellSize, g.RowHeight(7));
    EXPECT_EQ(TGridGeometry::MaxCellSize, g.GridLineWidth());
    EXPECT_EQ(5000LL * 2 * TGridGeometry::MaxCellSize, g.TotalHeight());
    // No row fits: each one scrolls alone, from its top.
    EXPECT_EQ(4999, g.MaxTopRow());
    EXPECT_EQ(1, g.VisibleRowCount());
    EXPECT_TRUE(g.SetTopLeft(1, 4999));
    EXPECT_EQ((TGridCoord{1, 2500}), g.TopLeftShowing(1, 2500));
    // Far away cells lie far away, without wrapping round.
    EXPECT_LT(g.CellBounds(1, 1).Top, -(1 << 29));
    EXPECT_LT(g.CellBounds(1, 1).Top, g.CellBounds(1, 1).Bottom);
    EXPECT_EQ(TRect{}, g.CellRect(1, 1));
    EXPECT_EQ((TGridCoord{0, 0}), g.MouseCoord(10, 100));  // the fixed row fills the client area
    g.SetDefaultColWidth(-5);
    EXPECT_EQ(0, g.ColWidth(3));
}
