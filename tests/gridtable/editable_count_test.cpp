// The has-editable flag the model keeps by counting, checked against a walk over the whole table after
// every step of long random sequences of the operations that change cells, rows, spans and the fixed
// counts.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "tests/gridtable/StandInHost.h"

namespace {

// The editable cells outside the grid's fixed rows and columns, found by looking at every cell.
int ScanEditable(const TGridFixture &f)
{
    int count = 0;
    for (int r = f.host.fixedRows; r < static_cast<int>(f.table.Rows.size()); ++r)
        for (int c = f.host.fixedCols; c < static_cast<int>(f.table.Rows[r].size()); ++c)
            count += (f.table.Rows[r][c].Flags & CellEditable) != 0;
    return count;
}

class EditableCount : public ::testing::TestWithParam<unsigned> {};

}  // namespace

TEST_P(EditableCount, EveryStepAgreesWithAWalkOverTheTable)
{
    std::mt19937 random(GetParam());
    auto pick = [&](int below) { return below <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(below)); };
    TGridFixture f(6, 5, 1, 1);
    // Start mostly read-only, so the count often falls to zero and rises again.
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 5; ++c)
            if (pick(4) != 0)
                SetCellEditable(f.table, r, c, false);

    std::ostringstream steps;
    for (int step = 0; step < 1500; ++step) {
        const int rows = static_cast<int>(f.table.Rows.size()), cols = 5;
        const int r = pick(rows), c = pick(cols);
        switch (pick(rows > 14 ? 9 : 10)) {
        case 0:
        case 1:
            SetCellEditable(f.table, r, c, pick(3) == 0);
            steps << "edit " << r << ',' << c << "; ";
            break;
        case 2: {
            const int bottom = std::min(r + pick(3), rows - 1), right = std::min(c + pick(3), cols - 1);
            MergeGridCells(f.table, r, bottom, right, c);
            steps << "merge " << r << '-' << bottom << ',' << c << '-' << right << "; ";
            break;
        }
        case 3:
            InsertGridRow(f.table, pick(rows + 1));
            steps << "insert; ";
            break;
        case 4:
            AppendGridRow(f.table);
            steps << "append; ";
            break;
        case 5:
            InsertGridRowCopy(f.table, r, pick(rows + 2) - 1);
            steps << "copy " << r << "; ";
            break;
        case 6:
            ResetGridRow(f.table, r);
            steps << "reset " << r << "; ";
            break;
        case 7:
            // The grid's fixed counts change outside the model; its next step counts anew.
            f.host.fixedRows = pick(3);
            f.host.fixedCols = pick(3);
            SetCellEditable(f.table, r, c, pick(2) == 0);
            steps << "fixed " << f.host.fixedRows << ',' << f.host.fixedCols << "; ";
            break;
        default:
            DeleteGridRow(f.table, r);
            steps << "delete " << r << "; ";
            break;
        }
        const int scanned = ScanEditable(f);
        ASSERT_EQ(f.table.EditableCells, scanned) << "after step " << step << ": " << steps.str();
        ASSERT_EQ(f.table.HasEditable, scanned > 0) << "after step " << step << ": " << steps.str();
        ASSERT_EQ(f.table.Rows.size(), f.table.RowDescriptions.Rows.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditableCount, ::testing::Values(1u, 2u, 3u, 4u));

TEST(EditableCountSteps, RowsCrossingTheFixedBorderCountOrStopCounting)
{
    TGridFixture f(5, 3, 2, 1);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            SetCellEditable(f.table, r, c, false);
    f.At(1, 2).Flags |= CellEditable;  // a fixed row's cell, written directly
    RecountEditableCells(f.table);
    EXPECT_FALSE(f.table.HasEditable);
    // A row inserted above the fixed border pushes the last fixed row below it.
    InsertGridRow(f.table, 0);
    EXPECT_EQ(f.table.EditableCells, 1);
    EXPECT_TRUE(f.table.HasEditable);
    SetCellEditable(f.table, 2, 2, false);
    EXPECT_FALSE(f.table.HasEditable);
    SetCellEditable(f.table, 2, 2, true);
    // Deleting a fixed row pulls the first scrollable row up among the fixed ones.
    DeleteGridRow(f.table, 0);
    EXPECT_EQ(f.table.EditableCells, 0);
    EXPECT_FALSE(f.table.HasEditable);
    // An appended row holds editable cells outside the fixed column.
    AppendGridRow(f.table);
    EXPECT_EQ(f.table.EditableCells, 2);
    // A span takes the editability of its master alone; its other cells are cleared.
    const int last = static_cast<int>(f.table.Rows.size()) - 1;
    MergeGridCells(f.table, last - 1, last, 2, 1);
    EXPECT_EQ(f.table.EditableCells, 0);
    SetCellEditable(f.table, last, 2, true);  // a covered cell: its master becomes editable
    EXPECT_TRUE(f.At(last - 1, 1).Flags & CellEditable);
    EXPECT_EQ(f.table.EditableCells, 1);
}
