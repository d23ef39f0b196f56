#include "gridtable/GridTableInput.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

bool RowInModel(const TXGridModel &table, int row)
{
    return row >= 0 && row < static_cast<int>(table.Rows.size()) &&
           row < static_cast<int>(table.RowDescriptions.Rows.size());
}

// Gives the row the height within its bounds when it differs; returns the height it has then.
int ApplyRowHeight(TXGridModel &table, int row, int height)
{
    height = std::max(height, static_cast<int>(table.RowDescriptions.Rows[row].Height));
    const int client = table.Host.GridClientHeight();
    if (client > 0)
        height = std::min(height, client);
    if (height != table.Host.GridRowHeight(row))
        table.Host.SetGridRowHeight(row, height);
    return height;
}

}  // namespace

void CorrectGridRowHeight(TXGridModel &table, int row)
{
    if (!RowInModel(table, row))
        return;
    const int own = RowTextHeight(table, row, true, true);
    // Of the spans through the row, the one reaching lowest.
    const S_XSGCell *span = nullptr;
    for (int c = 0; c < static_cast<int>(table.Rows[row].size()); ++c) {
        if (!table.Rows[row][c].InSpan())
            continue;
        const S_XSGCell *master = GetGridCell(table, row, c, true);
        if (master != nullptr && (span == nullptr || master->EndRow > span->EndRow))
            span = master;
    }
    const int last = span != nullptr ? span->EndRow : row;
    if (span == nullptr || !RowInModel(table, last)) {
        ApplyRowHeight(table, row, own);
        return;
    }
    const int rowHeight = last != row ? ApplyRowHeight(table, row, own) : own;
    // What the rows above the span's last one leave of its master's text.
    int remainder = span->TextHeight;
    for (int r = span->Row; r < last; ++r)
        remainder -= (r == row ? rowHeight : table.Host.GridRowHeight(r)) + table.Host.GridLineWidth();
    const int lastOwn = last == row ? own : RowTextHeight(table, last, true, true);
    ApplyRowHeight(table, last, std::max(remainder, lastOwn));
}

// ---- row selection ---------------------------------------------------------------------------------

bool SelectGridRow(TXGridModel &table, int row, bool on)
{
    if (!RowInModel(table, row) || row < table.Host.GridFixedRows())
        return false;
    TXRowDescriptions &descriptions = table.RowDescriptions;
    TXRowDescription &description = descriptions.Rows[row];
    if (on && !description.Selected) {
        const int cols = static_cast<int>(table.Rows[row].size());
        bool editable = false;
        for (int c = table.Host.GridFixedCols(); c < cols && !editable; ++c)
            editable = IsCellEditable(table, row, c);
        if (!editable)
            return false;
        description.Selected = 1;
        ++descriptions.SelectedCount;
    } else if (!on) {
        if (description.Selected)
            --descriptions.SelectedCount;
        description.Selected = 0;
        description.Kept = 0;
    }
    for (int c = 0; c < static_cast<int>(table.Rows[row].size()); ++c)
        table.Host.InvalidateGridCell(row, c);
    return description.Selected != 0;
}

void SelectAllGridRows(TXGridModel &table)
{
    for (int r = 0; r < static_cast<int>(table.RowDescriptions.Rows.size()); ++r)
        SelectGridRow(table, r, true);
}

void UnselectAllGridRows(TXGridModel &table)
{
    for (int r = 0; r < static_cast<int>(table.RowDescriptions.Rows.size()); ++r) {
        const TXRowDescription &d = table.RowDescriptions.Rows[r];
        if (d.Selected || d.Kept)
            SelectGridRow(table, r, false);
    }
    table.RowDescriptions.SelectedCount = 0;
}

bool IsGridRowSelected(const TXGridModel &table, int row)
{
    return RowInModel(table, row) && table.RowDescriptions.Rows[row].Selected != 0;
}

void SetGridShiftSelecting(TXGridModel &table, bool on, int editRow)
{
    TXRowDescriptions &descriptions = table.RowDescriptions;
    if (on) {
        descriptions.ShiftAnchor = editRow;
        SelectGridRow(table, editRow, true);
        return;
    }
    if (descriptions.ShiftAnchor >= 0) {
        const int lo = std::min(descriptions.ShiftAnchor, editRow), hi = std::max(descriptions.ShiftAnchor, editRow);
        for (int r = lo; r <= hi; ++r)
            if (IsGridRowSelected(table, r))
                descriptions.Rows[r].Kept = 1;
    }
    descriptions.ShiftAnchor = -1;
}

void FollowShiftSelection(TXGridModel &table, int from, int to)
{
    const int anchor = table.RowDescriptions.ShiftAnchor;
    if (anchor < 0)
        return;
    const int lo = std::min(from, to), hi = std::max(from, to);
    const int keepLo = std::min(anchor, to), keepHi = std::max(anchor, to);
    for (int r = lo; r <= hi; ++r) {
        if (!RowInModel(table, r))
            continue;
        if (r >= keepLo && r <= keepHi)
            SelectGridRow(table, r, true);
        else if (!table.RowDescriptions.Rows[r].Kept)
            SelectGridRow(table, r, false);
    }
}

// ---- keyboard navigation ---------------------------------------------------------------------------

namespace {

// One cell of a line (a span counting as one): where it begins and ends along the line, and its
// master's position.
struct TLineCell {
    int First = 0, Last = 0;
    int Col = 0, Row = 0;
    bool Editable = false;
};

// The line of the grid a move runs along: a row (horizontal) or a column.
struct TGridLine {
    TXGridModel &Table;
    bool Horizontal;
    int Other;  // the row (column) the line runs in

    TLineCell At(int i) const
    {
        const int row = Horizontal ? Other : i, col = Horizontal ? i : Other;
        TLineCell cell{i, i, col, row, false};
        const S_XSGCell *master = GetGridCell(Table, row, col, true);
        if (master != nullptr && master->InSpan()) {
            cell.First = Horizontal ? master->Col : master->Row;
            cell.Last = Horizontal ? master->EndCol : master->EndRow;
            cell.Col = master->Col;
            cell.Row = master->Row;
        }
        cell.Editable = IsCellEditable(Table, row, col);
        return cell;
    }
};

// The scrollable part of one direction of the grid.
struct TAxisView {
    int Fixed, Count, First, LastShown, MaxFirst;
    long long Area;  // the client extent beside the fixed cells
    std::function<int(int)> Size;
};

TAxisView RowView(const TGridGeometry &grid)
{
    return TAxisView{grid.FixedRows(),
                     grid.RowCount(),
                     grid.TopRow(),
                     grid.TopRow() + grid.VisibleRowCount() - 1,
                     grid.MaxTopRow(),
                     grid.ClientHeight() - grid.FixedHeight(),
                     [&grid](int r) { return grid.RowHeight(r) + grid.GridLineWidth(); }};
}

TAxisView ColView(const TGridGeometry &grid)
{
    return TAxisView{grid.FixedCols(),
                     grid.ColCount(),
                     grid.LeftCol(),
                     grid.LeftCol() + grid.VisibleColCount() - 1,
                     grid.MaxLeftCol(),
                     grid.ClientWidth() - grid.FixedWidth(),
                     [&grid](int c) { return grid.ColWidth(c) + grid.GridLineWidth(); }};
}

// The first cell shown after the target [first, last] has been brought into view.
int FollowTarget(const TAxisView &view, int first, int last, bool toFarEnd)
{
    int result = view.First;
    if (last > view.LastShown) {
        // The smallest first cell from which the cells up to the target's end fit.
        long long used = 0;
        int from = last + 1;
        while (from - 1 >= view.Fixed && used + view.Size(from - 1) <= view.Area) {
            used += view.Size(from - 1);
            --from;
        }
        result = std::min(from, first);
    } else if (first < view.First) {
        result = first;
    }
    if (toFarEnd && first >= view.MaxFirst)
        result = view.MaxFirst;
    return std::clamp(result, view.Fixed, std::max(view.Fixed, view.MaxFirst));
}

// The editable cell a step finds along one line from the current cell (spanning [from, to] along it),
// walking cell by cell (a span as one): the nearest at least `distance` away, else the farthest.
struct TLineTarget {
    bool Found = false;
    bool Farthest = false;  // the walk ran to the table's edge
    TLineCell Cell;
};

TLineTarget WalkLine(const TGridLine &line, int from, int to, int step, int distance, int fixed, int count)
{
    TLineTarget target;
    int i = step > 0 ? to + 1 : from - 1;
    for (int walked = 1; i >= fixed && i < count; ++walked) {
        const TLineCell cell = line.At(i);
        if (cell.Editable) {
            target.Cell = cell;
            target.Found = true;
            if (walked >= distance)
                break;
        }
        i = step > 0 ? cell.Last + 1 : cell.First - 1;
    }
    target.Farthest = !(i >= fixed && i < count);
    return target;
}

}  // namespace

TGridKeyMove GridKeyTarget(TXGridModel &table, const TGridGeometry &grid, std::uint16_t key, const TGridLane &lane)
{
    TGridKeyMove move;
    move.Col = grid.Col();
    move.Row = grid.Row();
    move.LeftCol = grid.LeftCol();
    move.TopRow = grid.TopRow();
    if (!table.HasEditable || table.Rows.empty())
        return move;

    bool horizontal = true;
    int step = 1, distance = 1;
    switch (key) {
    case GridKeyLeft: step = -1; break;
    case GridKeyRight: break;
    case GridKeyHome: step = -1, distance = grid.VisibleColCount(); break;
    case GridKeyEnd: distance = grid.VisibleColCount(); break;
    case GridKeyUp: horizontal = false, step = -1; break;
    case GridKeyDown: horizontal = false; break;
    case GridKeyPageUp: horizontal = false, step = -1, distance = grid.VisibleRowCount(); break;
    case GridKeyPageDown: horizontal = false, distance = grid.VisibleRowCount(); break;
    default: return move;
    }

    // The current cell's extent across the step (the lines it may be left by) and along it.
    int acrossFirst = horizontal ? grid.Row() : grid.Col(), acrossLast = acrossFirst;
    int alongFirst = horizontal ? grid.Col() : grid.Row(), alongLast = alongFirst;
    const S_XSGCell *current = GetGridCell(table, grid.Row(), grid.Col(), true);
    if (current != nullptr && current->InSpan()) {
        acrossFirst = horizontal ? current->Row : current->Col;
        acrossLast = horizontal ? current->EndRow : current->EndCol;
        alongFirst = horizontal ? current->Col : current->Row;
        alongLast = horizontal ? current->EndCol : current->EndRow;
    }
    // Where the user stands: the lane while it belongs to the current cell and lies inside it.
    const bool laneHere = lane.CellCol == grid.Col() && lane.CellRow == grid.Row();
    int standCol = grid.Col(), standRow = grid.Row();
    if (laneHere && current != nullptr && current->InSpan()) {
        if (lane.Col >= current->Col && lane.Col <= current->EndCol)
            standCol = lane.Col;
        if (lane.Row >= current->Row && lane.Row <= current->EndRow)
            standRow = lane.Row;
    }
    const int stand = horizontal ? standRow : standCol;

    // The line the user stands on first, then the cell's other lines in order.
    const int fixed = horizontal ? grid.FixedCols() : grid.FixedRows();
    const int count = horizontal ? grid.ColCount() : grid.RowCount();
    std::vector<int> lines{stand};
    for (int other = acrossFirst; other <= acrossLast; ++other)
        if (other != stand)
            lines.push_back(other);
    TLineTarget target;
    int along = stand;
    for (int other : lines) {
        target = WalkLine(TGridLine{table, horizontal, other}, alongFirst, alongLast, step, distance, fixed, count);
        if (target.Found) {
            along = other;
            break;
        }
    }
    if (!target.Found)
        return move;
    move.Moved = true;
    move.Col = target.Cell.Col;
    move.Row = target.Cell.Row;
    move.Lane = TGridLane{horizontal ? standCol : along, horizontal ? along : standRow, move.Col, move.Row};

    // The view follows the target's span along both directions.
    const S_XSGCell *master = GetGridCell(table, target.Cell.Row, target.Cell.Col, true);
    const bool span = master != nullptr && master->InSpan();
    const int lastCol = span ? master->EndCol : move.Col, lastRow = span ? master->EndRow : move.Row;
    move.TopRow = FollowTarget(RowView(grid), move.Row, lastRow, target.Farthest && !horizontal && step > 0);
    move.LeftCol = FollowTarget(ColView(grid), move.Col, lastCol, target.Farthest && horizontal && step > 0);
    return move;
}
