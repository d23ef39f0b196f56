// Tables at the most rows and columns a cell can number (32768 of each, indexes 0 to 32767): the row
// steps work there with spans down to the last row and column, and every step that would go past is
// refused by name with the table as it was.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "framework/windows/GridError.h"
#include "tests/gridtable/StandInHost.h"

namespace {

constexpr int Cols = 8;
constexpr int LastRow = MaxGridRows - 1;

// Every span member lies inside the table and inside its own span, whose first cell is a master with
// the same bounds; every plain cell, fetched, holds its own place.
::testing::AssertionResult SpansHold(TXGridModel &table)
{
    const int rows = static_cast<int>(table.Rows.size());
    for (int r = 0; r < rows; ++r) {
        const int cols = static_cast<int>(table.Rows[r].size());
        for (int c = 0; c < cols; ++c) {
            const S_XSGCell &cell = table.Rows[r][c];
            if (!cell.InSpan()) {
                const S_XSGCell *fetched = GetGridCell(table, r, c);
                if (fetched->Row != r || fetched->Col != c)
                    return ::testing::AssertionFailure()
                           << "plain cell " << r << "," << c << " holds " << fetched->Row << "," << fetched->Col;
                continue;
            }
            if (cell.Row < 0 || cell.Row > r || cell.EndRow < r || cell.EndRow >= rows || cell.Col < 0 ||
                cell.Col > c || cell.EndCol < c || cell.EndCol >= cols)
                return ::testing::AssertionFailure() << "cell " << r << "," << c << " has span " << cell.Row << "-"
                                                     << cell.EndRow << " x " << cell.Col << "-" << cell.EndCol;
            const S_XSGCell &master = table.Rows[cell.Row][cell.Col];
            if (master.MergeState != CellMaster || master.EndRow != cell.EndRow || master.EndCol != cell.EndCol)
                return ::testing::AssertionFailure() << "cell " << r << "," << c << " has no master of its span";
        }
    }
    return ::testing::AssertionSuccess();
}

// Everything a row step may change in the model, as one text.
std::string State(const TXGridModel &table)
{
    std::ostringstream out;
    out << table.Rows.size() << " rows, editable " << table.EditableCells << " " << table.HasEditable << "\n";
    for (const S_XSGRow &row : table.Rows) {
        for (const S_XSGCell &c : row)
            out << int(c.MergeState) << ',' << c.Row << ',' << c.EndRow << ',' << c.Col << ',' << c.EndCol << ','
                << c.TextHeight << ',' << int(c.Flags) << ',' << c.Runs1.size() << ' ';
        out << '\n';
    }
    for (const TXRowDescription &d : table.RowDescriptions.Rows)
        out << d.Height << ' ';
    return out.str();
}

// The step raises the grid's operation exception naming the limit and the kind of index, and leaves
// the model and the grid as they were.
void ExpectRefused(TGridFixture &f, const char *what, const char *kind, const std::function<void()> &step)
{
    const std::string before = State(f.table);
    const int gridRows = f.host.GridRowCount(), gridCols = f.host.GridColCount();
    f.host.ClearRecords();
    try {
        step();
        ADD_FAILURE() << what << ": not refused";
    } catch (const EInvalidGridOperation &e) {
        EXPECT_NE(e.Message().find("32768"), AnsiString::npos) << what << ": " << e.Message();
        EXPECT_NE(e.Message().find(kind), AnsiString::npos) << what << ": " << e.Message();
    }
    EXPECT_EQ(State(f.table), before) << what;
    EXPECT_EQ(f.host.GridRowCount(), gridRows) << what;
    EXPECT_EQ(f.host.GridColCount(), gridCols) << what;
    EXPECT_TRUE(f.host.inserted.empty()) << what;
    EXPECT_TRUE(f.host.invalidated.empty()) << what;
}

}  // namespace

TEST(GridTableLimit, ATableOfAsManyRowsAsCellsCanNumberKeepsItsSpansThroughDeletesInsertsAndMerges)
{
    TGridFixture f(MaxGridRows, Cols, 1, 1);
    // Two-row spans down column 2 to the last row, and four columns over the last eight rows.
    for (int r = 2; r < LastRow; r += 2)
        ASSERT_NE(MergeGridCells(f.table, r, r + 1, 2, 2), nullptr) << r;
    ASSERT_NE(MergeGridCells(f.table, LastRow - 7, LastRow, Cols - 1, 4), nullptr);
    EXPECT_EQ(f.At(LastRow - 1, 2).EndRow, LastRow);
    EXPECT_EQ(GetGridCell(f.table, LastRow, 2, true), &f.At(LastRow - 1, 2));
    EXPECT_EQ(GetGridCell(f.table, LastRow, Cols - 1, true), &f.At(LastRow - 7, 4));
    EXPECT_EQ(MergeGridCells(f.table, LastRow, MaxGridRows, 1, 1), nullptr) << "no row past the last";
    ASSERT_TRUE(SpansHold(f.table));

    // The master of the last two-row span, a master in the middle, then the last row.
    DeleteGridRow(f.table, LastRow - 1);
    EXPECT_FALSE(f.At(LastRow - 1, 2).InSpan()) << "the span left with one cell is a plain cell";
    DeleteGridRow(f.table, MaxGridRows / 2);
    DeleteGridRow(f.table, LastRow - 2);
    ASSERT_EQ(f.table.Rows.size(), static_cast<size_t>(MaxGridRows - 3));
    EXPECT_EQ(f.host.GridRowCount(), MaxGridRows - 3);
    EXPECT_EQ(f.At(LastRow - 3, Cols - 1).EndRow, LastRow - 3) << "the block ends at the new last row";
    ASSERT_TRUE(SpansHold(f.table));

    // Back to the limit: a row inside the block, one in the middle, one appended; then a span merged
    // down to the appended row.
    InsertGridRow(f.table, LastRow - 6);
    InsertGridRow(f.table, MaxGridRows / 2);
    EXPECT_EQ(AppendGridRow(f.table), LastRow);
    ASSERT_EQ(f.table.Rows.size(), static_cast<size_t>(MaxGridRows));
    EXPECT_EQ(f.table.RowDescriptions.Rows.size(), static_cast<size_t>(MaxGridRows));
    EXPECT_EQ(f.At(LastRow - 1, Cols - 1).EndRow, LastRow - 1) << "the block took the row inserted into it";
    ASSERT_NE(MergeGridCells(f.table, LastRow - 1, LastRow, 1, 1), nullptr);
    EXPECT_EQ(f.At(LastRow, 1).EndRow, LastRow);
    ASSERT_TRUE(SpansHold(f.table));

    // And away from the limit again, from the last row and from inside a span.
    DeleteGridRow(f.table, LastRow);
    DeleteGridRow(f.table, 3);
    EXPECT_EQ(f.table.Rows.size(), static_cast<size_t>(MaxGridRows - 2));
    EXPECT_TRUE(SpansHold(f.table));
}

TEST(GridTableLimit, ATableOfAsManyColumnsAsCellsCanNumberKeepsItsSpans)
{
    TGridFixture f(3, MaxGridCols);
    ASSERT_NE(MergeGridCells(f.table, 0, 1, MaxGridCols - 1, MaxGridCols - 3), nullptr);
    EXPECT_EQ(f.At(1, MaxGridCols - 1).EndCol, MaxGridCols - 1);
    InsertGridRow(f.table, 1);
    EXPECT_EQ(f.At(1, MaxGridCols - 1).EndRow, 2) << "the inserted row joins the span";
    EXPECT_EQ(AppendGridRow(f.table), 4);
    EXPECT_EQ(f.At(4, MaxGridCols - 1).Col, MaxGridCols - 1);
    DeleteGridRow(f.table, 0);
    EXPECT_EQ(GetGridCell(f.table, 1, MaxGridCols - 1, true), &f.At(0, MaxGridCols - 3)) << "handed down";
    EXPECT_TRUE(SpansHold(f.table));
}

TEST(GridTableLimit, EveryStepPastTheLimitIsRefusedWithTheTableAsItWas)
{
    TGridFixture f(MaxGridRows, Cols, 1, 1);
    ASSERT_NE(MergeGridCells(f.table, LastRow - 1, LastRow, 3, 2), nullptr);
    AddCellRun(f.table, f.At(5, 4), "copied", 1);
    const char *rows = "строк", *cols = "столбц";

    ExpectRefused(f, "appending", rows, [&] { AppendGridRow(f.table); });
    ExpectRefused(f, "inserting at the top", rows, [&] { InsertGridRow(f.table, 0); });
    ExpectRefused(f, "inserting into the last span", rows, [&] { InsertGridRow(f.table, LastRow); });
    ExpectRefused(f, "inserting after the last row", rows, [&] { InsertGridRow(f.table, MaxGridRows); });
    ExpectRefused(f, "appending a copy", rows, [&] { InsertGridRowCopy(f.table, 5, -1); });
    ExpectRefused(f, "inserting a copy", rows, [&] { InsertGridRowCopy(f.table, 5, 3); });
    // Arguments outside the table are passed over as before.
    EXPECT_EQ(InsertGridRowCopy(f.table, MaxGridRows, 0), -1);

    // Cells made for a grid of one row or one column more.
    f.host.rowHeights.push_back(20);
    ExpectRefused(f, "cells for one row more", rows, [&] { CreateGridCells(f.table); });
    f.host.rowHeights.pop_back();
    f.host.colWidths.resize(MaxGridCols + 1, 64);
    ExpectRefused(f, "cells for columns past the last", cols, [&] { CreateGridCells(f.table); });
    f.host.colWidths.resize(Cols);

    // A table below the limit grows again.
    DeleteGridRow(f.table, 10);
    EXPECT_EQ(AppendGridRow(f.table), LastRow);
    EXPECT_TRUE(SpansHold(f.table));
}

TEST(GridTableLimit, TheLimitIsCheckedForBothCounts)
{
    EXPECT_NO_THROW(CheckGridSize(MaxGridRows, MaxGridCols));
    EXPECT_NO_THROW(CheckGridSize(0, 0));
    EXPECT_THROW(CheckGridSize(MaxGridRows + 1, 1), EInvalidGridOperation);
    EXPECT_THROW(CheckGridSize(1, MaxGridCols + 1), EInvalidGridOperation);
    EXPECT_THROW(CheckGridSize(40000, 40000), EInvalidGridOperation);
}
