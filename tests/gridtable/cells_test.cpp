// Cells, spans, rows and row descriptions of the cell model, on a stand-in grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "tests/gridtable/StandInHost.h"

namespace {

// Every field of every cell and the row descriptions, as one text to compare whole tables by.
std::string Dump(const TXGridModel &table)
{
    std::ostringstream out;
    for (const S_XSGRow &row : table.Rows) {
        for (const S_XSGCell &c : row) {
            out << int(c.MergeState) << ',' << c.Row << ',' << c.EndRow << ',' << c.Col << ',' << c.EndCol << ','
                << c.TextHeight << ',' << int(c.BottomLineColour) << ',' << int(c.RightLineColour) << ','
                << int(c.Colour) << ',' << int(c.EditKind) << ',' << int(c.Flags) << ',' << int(c.Spare);
            for (const S_SGText &run : c.Runs1)
                out << '[' << run.Number << ':' << run.Text << ']';
            for (const S_SGText &run : c.Runs0)
                out << '{' << run.Number << ':' << run.Text << '}';
            out << ' ';
        }
        out << '\n';
    }
    for (const TXRowDescription &d : table.RowDescriptions.Rows)
        out << d.Height << '/' << int(d.Selected) << ' ';
    return out.str();
}

S_SGText TextRun(std::uint16_t number, const char *text)
{
    S_SGText run;
    run.Number = number;
    run.Text = text;
    return run;
}

void ExpectSpan(const S_XSGCell &c, std::uint8_t state, int row, int endRow, int col, int endCol)
{
    EXPECT_EQ(c.MergeState, state);
    EXPECT_EQ(c.Row, row);
    EXPECT_EQ(c.EndRow, endRow);
    EXPECT_EQ(c.Col, col);
    EXPECT_EQ(c.EndCol, endCol);
}

}  // namespace

TEST(GridCells, MergeTwoByTwoMakesMasterCoveredAndCorner)
{
    TGridFixture f(4, 4, 1, 1);
    f.At(1, 1).Runs1.push_back(TextRun(1, "master text"));
    f.At(2, 2).BottomLineColour = 7;
    f.At(2, 2).RightLineColour = 9;
    f.At(1, 2).Runs1.push_back(TextRun(1, "covered text"));

    S_XSGCell *master = MergeGridCells(f.table, 1, 2, 2, 1);
    ASSERT_EQ(master, &f.At(1, 1));
    ExpectSpan(f.At(1, 1), CellMaster, 1, 2, 1, 2);
    ExpectSpan(f.At(1, 2), CellCovered, 1, 2, 1, 2);
    ExpectSpan(f.At(2, 1), CellCovered, 1, 2, 1, 2);
    ExpectSpan(f.At(2, 2), CellBottomRight, 1, 2, 1, 2);
    // The master keeps its texts and takes the corner's line colours; covered cells are cleared.
    EXPECT_EQ(master->Runs1.size(), 1u);
    EXPECT_EQ(master->BottomLineColour, 7);
    EXPECT_EQ(master->RightLineColour, 9);
    EXPECT_TRUE(f.At(1, 2).Runs1.empty());
    EXPECT_EQ(f.At(1, 2).Flags, 0);

    // Any covered cell resolves to the master; without resolving it is itself.
    EXPECT_EQ(GetGridCell(f.table, 2, 2, true), master);
    EXPECT_EQ(GetGridCell(f.table, 2, 2, false), &f.At(2, 2));
    // A plain cell gets its own position when fetched.
    EXPECT_EQ(GetGridCell(f.table, 3, 2)->Row, 3);
    EXPECT_EQ(GetGridCell(f.table, 3, 2)->Col, 2);
    EXPECT_EQ(GetGridCell(f.table, 4, 0), nullptr);
    EXPECT_EQ(GetGridCell(f.table, 0, -1), nullptr);
}

TEST(GridCells, RefusedMergesChangeNothing)
{
    TGridFixture f(5, 5, 1, 1);
    ASSERT_NE(MergeGridCells(f.table, 2, 3, 3, 2), nullptr);
    const std::string before = Dump(f.table);
    struct Case {
        const char *why;
        int top, bottom, right, left;
    };
    const Case cases[] = {
        {"touches the span", 3, 4, 4, 3},
        {"contains the span", 1, 4, 4, 1},
        {"crosses the fixed rows", 0, 1, 1, 1},
        {"crosses the fixed columns", 1, 1, 1, 0},
        {"left > right", 1, 1, 1, 2},
        {"top > bottom", 1, 0, 1, 1},
        {"bottom outside", 4, 5, 1, 1},
        {"right outside", 1, 1, 5, 1},
        {"negative", -1, 1, 1, 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MergeGridCells(f.table, c.top, c.bottom, c.right, c.left), nullptr) << c.why;
        EXPECT_EQ(Dump(f.table), before) << c.why;
    }
    // Inside the fixed area alone is allowed.
    EXPECT_NE(MergeGridCells(f.table, 0, 0, 4, 1), nullptr);
}

TEST(GridCells, InsertInsideThreeRowSpanWidensIt)
{
    TGridFixture f(5, 3);
    S_XSGCell *master = MergeGridCells(f.table, 1, 3, 1, 0);
    ASSERT_NE(master, nullptr);
    master->TextHeight = 40;
    f.host.rowHeights[2] = 33;

    InsertGridRow(f.table, 2);
    ASSERT_EQ(f.table.Rows.size(), 6u);
    EXPECT_EQ(f.host.inserted, std::vector<int>{2});
    EXPECT_EQ(f.host.GridRowCount(), 6);
    ASSERT_EQ(f.table.RowDescriptions.Rows.size(), 6u);
    EXPECT_EQ(f.table.RowDescriptions.Rows[2].Height, 33u);

    EXPECT_EQ(f.At(1, 0).TextHeight, 40 + 24);  // once per span, not once per column
    for (int c = 0; c <= 1; ++c) {
        ExpectSpan(f.At(2, c), CellCovered, 1, 4, 0, 1);
        ExpectSpan(f.At(1, c), c == 0 ? CellMaster : CellCovered, 1, 4, 0, 1);
        ExpectSpan(f.At(4, c), c == 1 ? CellBottomRight : CellCovered, 1, 4, 0, 1);
    }
    EXPECT_FALSE(f.At(2, 2).InSpan());

    // Inserting above a span moves it down whole; inserting below it leaves it.
    InsertGridRow(f.table, 0);
    ExpectSpan(f.At(2, 0), CellMaster, 2, 5, 0, 1);
    InsertGridRow(f.table, 6);
    ExpectSpan(f.At(5, 1), CellBottomRight, 2, 5, 0, 1);
    EXPECT_FALSE(f.At(6, 0).InSpan());
    EXPECT_EQ(f.table.Rows.size(), f.table.RowDescriptions.Rows.size());
}

TEST(GridCells, AppendAndCopyRows)
{
    TGridFixture f(3, 2);
    f.At(1, 0).Runs1.push_back(TextRun(1, "one"));
    f.At(1, 0).Colour = 5;
    f.host.newRowHeight = 27;
    const int appended = AppendGridRow(f.table);
    EXPECT_EQ(appended, 3);
    EXPECT_EQ(f.table.RowDescriptions.Rows[3].Height, 27u);
    EXPECT_EQ(f.At(3, 1).Row, 3);
    EXPECT_EQ(f.At(3, 1).Col, 1);
    EXPECT_TRUE(f.At(3, 1).Flags & CellEditable);

    // The source lies at the target: it is one row lower after the insertion.
    EXPECT_EQ(InsertGridRowCopy(f.table, 1, 1), 1);
    EXPECT_EQ(f.At(1, 0).Runs1.at(0).Text, "one");
    EXPECT_EQ(f.At(1, 0).Colour, 5);
    EXPECT_EQ(f.At(2, 0).Runs1.at(0).Text, "one");
    // A negative target appends.
    EXPECT_EQ(InsertGridRowCopy(f.table, 2, -1), 5);
    EXPECT_EQ(f.At(5, 0).Runs1.at(0).Text, "one");
    EXPECT_EQ(f.table.Rows.size(), 6u);
    EXPECT_EQ(f.host.GridRowCount(), 6);
    EXPECT_EQ(InsertGridRowCopy(f.table, 6, 0), -1);
}

TEST(GridCells, CopyOfSpanMasterIsPlainAndSourceKeepsSpan)
{
    TGridFixture f(3, 3);
    S_XSGCell *master = MergeGridCells(f.table, 0, 1, 1, 0);
    master->Runs1.push_back(TextRun(1, "a"));
    master->Runs0.push_back(TextRun(2, "b"));
    master->Spare = 9;
    S_XSGCell copy = CopyGridCell(*master);
    EXPECT_EQ(copy.MergeState, CellPlain);
    EXPECT_EQ(copy.EndRow, 0);
    EXPECT_EQ(copy.Spare, 9);
    EXPECT_EQ(copy.Runs0.at(0).Text, "b");
    ExpectSpan(*master, CellMaster, 0, 1, 0, 1);

    // Into an existing cell, which loses its own texts; copying a cell onto itself keeps its texts.
    f.At(2, 2).Runs1.push_back(TextRun(7, "old"));
    CopyGridCell(*master, f.At(2, 2));
    ASSERT_EQ(f.At(2, 2).Runs1.size(), 1u);
    EXPECT_EQ(f.At(2, 2).Runs1[0].Text, "a");
    CopyGridCell(f.At(2, 2), f.At(2, 2));
    EXPECT_EQ(f.At(2, 2).Runs1.at(0).Text, "a");
}

TEST(GridCells, DeletingRowsThroughSpans)
{
    // A two-row span through the deleted row becomes a plain cell.
    {
        TGridFixture f(5, 3);
        MergeGridCells(f.table, 1, 2, 1, 1)->Runs1.push_back(TextRun(1, "kept"));
        DeleteGridRow(f.table, 2);
        EXPECT_EQ(f.table.Rows.size(), 4u);
        EXPECT_EQ(f.host.deleted, std::vector<int>{2});
        EXPECT_EQ(f.table.RowDescriptions.Rows.size(), 4u);
        EXPECT_FALSE(f.At(1, 1).InSpan());
        EXPECT_EQ(f.At(1, 1).Runs1.at(0).Text, "kept");
    }
    // Deleting the master's row: the cell below takes over the span with the texts and the attributes.
    {
        TGridFixture f(5, 3);
        S_XSGCell *master = MergeGridCells(f.table, 1, 3, 2, 1);
        master->Runs1.push_back(TextRun(1, "russian"));
        master->Runs0.push_back(TextRun(1, "ukrainian"));
        master->Flags = CellEditable | CellFlag5;
        master->Colour = 6;
        DeleteGridRow(f.table, 1);
        ExpectSpan(f.At(1, 1), CellMaster, 1, 2, 1, 2);
        EXPECT_EQ(f.At(1, 1).Runs1.at(0).Text, "russian");
        EXPECT_EQ(f.At(1, 1).Runs0.at(0).Text, "ukrainian");
        EXPECT_EQ(f.At(1, 1).Flags, CellEditable | CellFlag5);
        EXPECT_EQ(f.At(1, 1).Colour, 6);
        ExpectSpan(f.At(2, 2), CellBottomRight, 1, 2, 1, 2);
        EXPECT_TRUE(IsCellEditable(f.table, 2, 2));
    }
    // The span's bottom row deleted while the span goes on above: the new corner gets state 3.
    {
        TGridFixture f(5, 3);
        MergeGridCells(f.table, 0, 2, 1, 0);
        DeleteGridRow(f.table, 2);
        ExpectSpan(f.At(1, 1), CellBottomRight, 0, 1, 0, 1);
        ExpectSpan(f.At(1, 0), CellCovered, 0, 1, 0, 1);
        ExpectSpan(f.At(0, 0), CellMaster, 0, 1, 0, 1);
    }
    // A one-row span goes with its row; a span below it moves up whole.
    {
        TGridFixture f(4, 3);
        MergeGridCells(f.table, 1, 1, 2, 1);
        MergeGridCells(f.table, 2, 3, 1, 0);
        DeleteGridRow(f.table, 1);
        ExpectSpan(f.At(1, 0), CellMaster, 1, 2, 0, 1);
        ExpectSpan(f.At(2, 1), CellBottomRight, 1, 2, 0, 1);
        EXPECT_FALSE(f.At(0, 2).InSpan());
    }
}

TEST(GridCells, DeletingTheLastNonFixedRowResetsIt)
{
    TGridFixture f(3, 3, 2, 0);
    f.At(2, 1).Runs1.push_back(TextRun(1, "gone"));
    f.At(2, 1).Colour = 9;
    MergeGridCells(f.table, 2, 2, 2, 1);
    f.table.RowDescriptions.Rows[2].Height = 44;
    DeleteGridRow(f.table, 2);
    EXPECT_EQ(f.table.Rows.size(), 3u);
    EXPECT_EQ(f.host.GridRowCount(), 3);
    EXPECT_EQ(f.table.RowDescriptions.Rows.size(), 3u);
    EXPECT_TRUE(f.host.deleted.empty());
    EXPECT_TRUE(f.At(2, 1).Runs1.empty());
    EXPECT_EQ(f.At(2, 1).Colour, 3);
    EXPECT_FALSE(f.At(2, 2).InSpan());
}

TEST(GridCells, RowDescriptionsFollowRowsWithSelection)
{
    TGridFixture f(5, 2);
    TXRowDescriptions &d = f.table.RowDescriptions;
    d.Rows[3].Selected = 1;
    d.SelectedCount = 1;
    d.ShiftAnchor = 3;
    InsertGridRow(f.table, 1);
    EXPECT_EQ(d.ShiftAnchor, 4);
    EXPECT_EQ(d.Rows[4].Selected, 1);
    DeleteGridRow(f.table, 4);
    EXPECT_EQ(d.SelectedCount, 0);
    EXPECT_EQ(d.ShiftAnchor, -1);
    EXPECT_EQ(d.Rows.size(), f.table.Rows.size());
}

TEST(GridCells, EditableFlagAndHasEditable)
{
    TGridFixture f(3, 3, 1, 1);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            f.At(r, c).Flags &= static_cast<std::uint8_t>(~CellEditable);
    f.At(0, 0).Flags |= CellEditable;  // fixed cells do not count
    SetCellEditable(f.table, 1, 1, false);
    EXPECT_FALSE(f.table.HasEditable);
    SetCellEditable(f.table, 2, 2, true);
    EXPECT_TRUE(f.table.HasEditable);
    EXPECT_TRUE(IsCellEditable(f.table, 2, 2));
    EXPECT_FALSE(f.host.invalidated.empty());
    SetCellEditable(f.table, 2, 2, false);
    EXPECT_FALSE(f.table.HasEditable);
}

TEST(GridCells, InvalidationOnlyWhenVisibleAndAsked)
{
    TGridFixture f(10, 10);
    f.host.visible = Rect(2, 2, 5, 5);
    MergeGridCells(f.table, 0, 3, 1, 0);  // reaches into the visible rows, not the visible columns
    MergeGridCells(f.table, 4, 6, 3, 1);  // its master column lies left of the visible ones
    f.host.ClearRecords();
    InvalidateModelCell(f.table, 1, 1);
    InvalidateModelCell(f.table, 5, 2);
    InvalidateModelCell(f.table, 7, 7);
    InvalidateModelCell(f.table, 3, 3);
    EXPECT_EQ(f.host.invalidated, (std::vector<std::pair<int, int>>{{4, 1}, {3, 3}}));
    f.table.ReDrawVisCell = false;
    f.host.ClearRecords();
    InvalidateModelCell(f.table, 3, 3);
    EXPECT_TRUE(f.host.invalidated.empty());
}

TEST(GridCells, RowStepsRepaintWhatCanBeSeenAskingForTheVisibleRangeOncePerStep)
{
    using Cells = std::vector<std::pair<int, int>>;
    auto sorted = [](Cells cells) {
        std::sort(cells.begin(), cells.end());
        cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
        return cells;
    };
    TGridFixture f(40, 4);
    f.host.visible = Rect(0, 0, 3, 4);
    MergeGridCells(f.table, 3, 7, 2, 2);    // reaches from the visible rows down out of sight
    MergeGridCells(f.table, 20, 22, 1, 0);  // out of sight
    f.host.ClearRecords();

    InsertGridRow(f.table, 5);
    EXPECT_EQ(f.host.visibleAsked, 1);
    // Below the new row nothing is seen but the span that reaches up into the visible rows.
    EXPECT_EQ(sorted(f.host.invalidated), (Cells{{3, 2}}));
    // Cells out of sight still take their new places and spans their new rows.
    EXPECT_EQ(f.At(30, 1).Row, 30);
    EXPECT_EQ(f.At(21, 0).Row, 21);
    EXPECT_EQ(f.At(21, 0).EndRow, 23);

    f.host.ClearRecords();
    InsertGridRow(f.table, 2);
    EXPECT_EQ(f.host.visibleAsked, 1);
    EXPECT_EQ(sorted(f.host.invalidated), (Cells{{2, 0}, {2, 1}, {2, 2}, {2, 3}, {3, 0}, {3, 1}, {3, 2}, {3, 3},
                                                 {4, 0}, {4, 1}, {4, 2}, {4, 3}}));

    f.host.ClearRecords();
    InsertGridRowCopy(f.table, 30, 1);
    EXPECT_EQ(f.host.visibleAsked, 1);
    EXPECT_EQ(f.At(1, 3).Row, 1);  // a copied cell holds its own place
    EXPECT_EQ(f.At(31, 3).Row, 31);

    f.host.ClearRecords();
    DeleteGridRow(f.table, 10);
    EXPECT_EQ(f.host.visibleAsked, 1);
    EXPECT_TRUE(f.host.invalidated.empty());  // rows 9 on are out of sight, and so is every span there
    // The span lost its bottom row: the cell above is its bottom-right cell now.
    ExpectSpan(f.At(9, 2), CellBottomRight, 5, 9, 2, 2);
    EXPECT_EQ(f.At(20, 0).Row, 20);
    ExpectSpan(f.At(22, 1), CellCovered, 22, 24, 0, 1);
    ExpectSpan(f.At(24, 1), CellBottomRight, 22, 24, 0, 1);

    f.host.ClearRecords();
    AppendGridRow(f.table);
    ResetGridRow(f.table, 2);
    EXPECT_EQ(f.host.visibleAsked, 2);
}

TEST(GridCells, TextHeightsAndTotals)
{
    TGridFixture f(3, 4);
    f.At(1, 0).TextHeight = 10;
    f.At(1, 1).TextHeight = 30;
    f.At(1, 2).TextHeight = 20;
    f.At(1, 3).TextHeight = 5;
    EXPECT_EQ(RowTextHeight(f.table, 1, true, false), 30);
    EXPECT_EQ(RowTextHeight(f.table, 1, false, false), 5);
    MergeGridCells(f.table, 0, 1, 1, 1)->TextHeight = 50;
    EXPECT_EQ(RowTextHeight(f.table, 0, true, false), 50);
    EXPECT_EQ(RowTextHeight(f.table, 1, true, true), 20);
    EXPECT_EQ(RowTextHeight(f.table, 1, false, true), 0);

    f.host.lineWidth = 2;
    f.host.colWidths = {10, 20, 30, 40};
    f.host.rowHeights = {5, 6, 7};
    EXPECT_EQ(TotalGridWidth(f.table), 100 + 4 * 2);
    EXPECT_EQ(TotalGridHeight(f.table), 18 + 3 * 2);
    EXPECT_EQ(GetGridRowCount(f.table), 3);
    EXPECT_EQ(GetGridColCount(f.table), 4);
}
