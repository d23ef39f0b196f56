// Cells, spans, rows and row descriptions of the cell model.
#include <algorithm>
#include <limits>

#include "base/LangText.h"
#include "gridtable/UXGridTabService.h"

namespace {

// Extra height a span's master gets for each row inserted into the span.
constexpr int InsertedSpanRowHeight = 24;

int RowCountOf(const TXGridModel &table) { return static_cast<int>(table.Rows.size()); }

int ColCountOf(const TXGridModel &table)
{
    return table.Rows.empty() ? std::max(table.Host.GridColCount(), 0) : static_cast<int>(table.Rows[0].size());
}

S_XSGRow DefaultRow(int cols) { return S_XSGRow(static_cast<size_t>(std::max(cols, 0))); }

std::uint16_t AddClamped(std::uint16_t value, int delta)
{
    return static_cast<std::uint16_t>(std::clamp(static_cast<int>(value) + delta, 0, 0xFFFF));
}

// Every cell that lies in a span, in the table's order.
template <class F>
void ForEachSpanMember(TXGridModel &table, F f)
{
    for (S_XSGRow &row : table.Rows)
        for (S_XSGCell &cell : row)
            if (cell.InSpan())
                f(cell);
}

// Makes every member of the span a plain cell (attributes and texts stay where they are).
void DissolveSpan(TXGridModel &table, int top, int bottom, int left, int right)
{
    for (int r = std::max(top, 0); r <= bottom && r < RowCountOf(table); ++r)
        for (int c = std::max(left, 0); c <= right && c < ColCountOf(table); ++c)
            table.Rows[r][c].ClearSpanFields();
}

// After spans changed: every span's bottom-right cell that is not its master carries state 3.
void MarkBottomRightCells(TXGridModel &table)
{
    for (S_XSGRow &row : table.Rows)
        for (S_XSGCell &cell : row) {
            if (cell.MergeState != CellMaster)
                continue;
            if (cell.EndRow < RowCountOf(table) && cell.EndCol < ColCountOf(table) &&
                (cell.EndRow != cell.Row || cell.EndCol != cell.Col))
                table.Rows[cell.EndRow][cell.EndCol].MergeState = CellBottomRight;
        }
}

void InvalidateRowsFrom(TXGridModel &table, int first)
{
    for (int r = std::max(first, 0); r < RowCountOf(table); ++r)
        for (int c = 0; c < ColCountOf(table); ++c)
            InvalidateModelCell(table, r, c);
}

void RefreshHasEditable(TXGridModel &table)
{
    const int fixedRows = table.Host.GridFixedRows(), fixedCols = table.Host.GridFixedCols();
    table.HasEditable = false;
    for (int r = fixedRows; r < RowCountOf(table) && !table.HasEditable; ++r)
        for (int c = fixedCols; c < ColCountOf(table); ++c)
            if (table.Rows[r][c].Flags & CellEditable) {
                table.HasEditable = true;
                break;
            }
}

int SpanMemberSum(const TXGridModel &table, int count, int (IXGridHost::*size)(int) const)
{
    int total = 0;
    for (int i = 0; i < count; ++i)
        total += (table.Host.*size)(i) + table.Host.GridLineWidth();
    return total;
}

}  // namespace

TXGridModel::TXGridModel(IXGridHost &host) : Host(host), Language(SecondLanguage != 0 ? 1 : 0) {}

void CreateGridCells(TXGridModel &table)
{
    const int rows = std::max(table.Host.GridRowCount(), 0), cols = std::max(table.Host.GridColCount(), 0);
    table.Rows.assign(static_cast<size_t>(rows), DefaultRow(cols));
    table.RowDescriptions = TXRowDescriptions{};
    for (int r = 0; r < rows; ++r)
        table.RowDescriptions.Rows.push_back(
            TXRowDescription{static_cast<std::uint32_t>(std::max(table.Host.GridRowHeight(r), 0)), 0, 0});
}

S_XSGCell *GetGridCell(TXGridModel &table, int row, int col, bool resolve)
{
    if (row < 0 || col < 0 || row >= RowCountOf(table) || col >= static_cast<int>(table.Rows[row].size()))
        return nullptr;
    S_XSGCell &cell = table.Rows[row][col];
    if (!cell.InSpan()) {
        cell.Row = static_cast<std::int16_t>(row);
        cell.Col = static_cast<std::int16_t>(col);
        return &cell;
    }
    if (resolve && cell.Row >= 0 && cell.Row < RowCountOf(table) && cell.Col >= 0 &&
        cell.Col < static_cast<int>(table.Rows[cell.Row].size()))
        return &table.Rows[cell.Row][cell.Col];
    return &cell;
}

S_XSGCell *MergeGridCells(TXGridModel &table, int top, int bottom, int right, int left)
{
    if (top < 0 || bottom < 0 || right < 0 || left < 0 || top > bottom || left > right || bottom >= RowCountOf(table) ||
        right >= ColCountOf(table))
        return nullptr;
    const int fixedRows = table.Host.GridFixedRows(), fixedCols = table.Host.GridFixedCols();
    if ((fixedRows > top && fixedRows <= bottom) || (fixedCols > left && fixedCols <= right))
        return nullptr;
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            if (table.Rows[r][c].InSpan())
                return nullptr;

    S_XSGCell &master = table.Rows[top][left];
    const S_XSGCell &corner = table.Rows[bottom][right];
    master.BottomLineColour = corner.BottomLineColour;
    master.RightLineColour = corner.RightLineColour;
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) {
            S_XSGCell &cell = table.Rows[r][c];
            if (&cell == &master) {
                cell.MergeState = CellMaster;
            } else {
                ClearCell(cell);
                cell.MergeState = (r == bottom && c == right) ? CellBottomRight : CellCovered;
            }
            cell.Row = static_cast<std::int16_t>(top);
            cell.EndRow = static_cast<std::int16_t>(bottom);
            cell.Col = static_cast<std::int16_t>(left);
            cell.EndCol = static_cast<std::int16_t>(right);
        }
    RefreshHasEditable(table);
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            InvalidateModelCell(table, r, c);
    return &master;
}

void InsertGridRow(TXGridModel &table, int row)
{
    const int rows = RowCountOf(table), cols = ColCountOf(table);
    if (row < 0 || row > rows)
        return;
    // The row description takes the height of the row that was at this place (the last row's when
    // appending).
    const int heightSource = std::min(row, rows - 1);
    const int height = heightSource >= 0 ? table.Host.GridRowHeight(heightSource) : 0;

    table.Rows.insert(table.Rows.begin() + row, DefaultRow(cols));
    S_XSGRow &fresh = table.Rows[row];
    if (row + 1 < RowCountOf(table)) {
        for (int c = 0; c < cols; ++c) {
            const S_XSGCell &below = table.Rows[row + 1][c];
            if (!below.InSpan() || below.Row >= row)
                continue;
            // Inside a span: the new cell is one more covered member of it.
            S_XSGCell &cell = fresh[c];
            ClearCell(cell);
            cell.Row = below.Row;
            cell.EndRow = below.EndRow;
            cell.Col = below.Col;
            cell.EndCol = below.EndCol;
            cell.TextHeight = below.TextHeight;
            cell.BottomLineColour = below.BottomLineColour;
            cell.RightLineColour = below.RightLineColour;
            cell.Colour = below.Colour;
            cell.EditKind = below.EditKind;
            cell.Flags = below.Flags;
            cell.Spare = below.Spare;
            cell.MergeState = CellCovered;
            if (c == below.EndCol && below.Row < row && below.Col >= 0 && below.Col < cols) {
                S_XSGCell &master = table.Rows[below.Row][below.Col];
                master.TextHeight = AddClamped(master.TextHeight, InsertedSpanRowHeight);
            }
        }
    }
    ForEachSpanMember(table, [row](S_XSGCell &cell) {
        if (cell.EndRow >= row)
            ++cell.EndRow;
        if (cell.Row >= row)
            ++cell.Row;
    });

    TXRowDescriptions &descriptions = table.RowDescriptions;
    const size_t at = std::min(static_cast<size_t>(row), descriptions.Rows.size());
    descriptions.Rows.insert(descriptions.Rows.begin() + static_cast<std::ptrdiff_t>(at),
                             TXRowDescription{static_cast<std::uint32_t>(std::max(height, 0)), 0, 0});
    if (descriptions.ShiftAnchor >= row)
        ++descriptions.ShiftAnchor;
    table.Host.GridRowInserted(row);
    RefreshHasEditable(table);
    InvalidateRowsFrom(table, row);
}

int AppendGridRow(TXGridModel &table)
{
    const int row = RowCountOf(table), cols = ColCountOf(table);
    S_XSGRow fresh = DefaultRow(cols);
    for (int c = 0; c < cols; ++c) {
        fresh[c].Flags |= CellEditable;
        fresh[c].Row = static_cast<std::int16_t>(row);
        fresh[c].Col = static_cast<std::int16_t>(c);
    }
    table.Rows.push_back(std::move(fresh));
    table.Host.GridRowInserted(row);
    table.RowDescriptions.Rows.push_back(
        TXRowDescription{static_cast<std::uint32_t>(std::max(table.Host.GridRowHeight(row), 0)), 0, 0});
    RefreshHasEditable(table);
    InvalidateRowsFrom(table, row);
    return row;
}

int InsertGridRowCopy(TXGridModel &table, int source, int target)
{
    const int rows = RowCountOf(table);
    if (source < 0 || source >= rows || target > rows)
        return -1;
    int row;
    if (target < 0) {
        row = AppendGridRow(table);
    } else {
        InsertGridRow(table, target);
        row = target;
        if (source >= target)
            ++source;
    }
    S_XSGRow &to = table.Rows[row];
    const S_XSGRow &from = table.Rows[source];
    for (size_t c = 0; c < to.size() && c < from.size(); ++c) {
        if (to[c].InSpan())
            continue;  // the new row lies inside a span here
        CopyGridCell(from[c], to[c]);
    }
    RefreshHasEditable(table);
    InvalidateRowsFrom(table, row);
    return row;
}

void DeleteGridRow(TXGridModel &table, int row)
{
    const int rows = RowCountOf(table), cols = ColCountOf(table);
    if (row < 0 || row >= rows)
        return;
    if (rows <= table.Host.GridFixedRows() + 1) {
        ResetGridRow(table, row);
        return;
    }

    // A master whose span reaches below hands the span on to the cell below it.
    if (row + 1 < rows)
        for (int c = 0; c < cols; ++c) {
            S_XSGCell &master = table.Rows[row][c];
            if (master.MergeState != CellMaster || master.EndRow <= row)
                continue;
            S_XSGCell &below = table.Rows[row + 1][c];
            below = std::move(master);
            below.MergeState = CellMaster;
        }

    table.Rows.erase(table.Rows.begin() + row);
    TXRowDescriptions &descriptions = table.RowDescriptions;
    if (static_cast<size_t>(row) < descriptions.Rows.size()) {
        if (descriptions.Rows[row].Selected && descriptions.SelectedCount > 0)
            --descriptions.SelectedCount;
        descriptions.Rows.erase(descriptions.Rows.begin() + row);
    }
    if (descriptions.ShiftAnchor == row)
        descriptions.ShiftAnchor = -1;
    else if (descriptions.ShiftAnchor > row)
        --descriptions.ShiftAnchor;
    table.Host.GridRowDeleted(row);

    ForEachSpanMember(table, [row](S_XSGCell &cell) {
        if (cell.EndRow >= row)
            --cell.EndRow;
        if (cell.Row > row)
            --cell.Row;
        if (cell.Row == cell.EndRow && cell.Col == cell.EndCol)
            cell.ClearSpanFields();
    });
    MarkBottomRightCells(table);
    RefreshHasEditable(table);
    const int fixedRows = table.Host.GridFixedRows();
    InvalidateRowsFrom(table, row - 1 >= fixedRows ? row - 1 : row);
}

void ResetGridRow(TXGridModel &table, int row)
{
    if (row < 0 || row >= RowCountOf(table))
        return;
    for (const S_XSGCell &cell : table.Rows[row])
        if (cell.InSpan() && (cell.Row != row || cell.EndRow != row))
            DissolveSpan(table, cell.Row, cell.EndRow, cell.Col, cell.EndCol);
    for (S_XSGCell &cell : table.Rows[row]) {
        ClearCell(cell);
        cell = S_XSGCell{};
    }
    RefreshHasEditable(table);
    for (int c = 0; c < ColCountOf(table); ++c)
        InvalidateModelCell(table, row, c);
}

void FreeGridCells(TXGridModel &table) { std::vector<S_XSGRow>().swap(table.Rows); }

S_XSGCell CopyGridCell(const S_XSGCell &source)
{
    S_XSGCell copy = source;
    copy.ClearSpanFields();
    return copy;
}

S_XSGCell &CopyGridCell(const S_XSGCell &source, S_XSGCell &target)
{
    S_XSGCell copy = CopyGridCell(source);
    ClearCell(target);
    target = std::move(copy);
    return target;
}

void SetCellEditable(TXGridModel &table, int row, int col, bool on)
{
    S_XSGCell *cell = GetGridCell(table, row, col, true);
    if (cell == nullptr)
        return;
    cell->Flags = static_cast<std::uint8_t>(on ? cell->Flags | CellEditable : cell->Flags & ~CellEditable);
    RefreshHasEditable(table);
    InvalidateModelCell(table, *cell);
}

bool IsCellEditable(TXGridModel &table, int row, int col)
{
    const S_XSGCell *cell = GetGridCell(table, row, col, true);
    return cell != nullptr && (cell->Flags & CellEditable) != 0;
}

int GetGridRowCount(const TXGridModel &table) { return table.Host.GridRowCount(); }
int GetGridColCount(const TXGridModel &table) { return table.Host.GridColCount(); }
int GetGridFixedRows(const TXGridModel &table) { return table.Host.GridFixedRows(); }
int GetGridFixedCols(const TXGridModel &table) { return table.Host.GridFixedCols(); }

int RowTextHeight(const TXGridModel &table, int row, bool largest, bool plainOnly)
{
    if (row < 0 || row >= RowCountOf(table) || table.Rows[row].empty())
        return 0;
    int result = largest ? 0 : std::numeric_limits<int>::max();
    for (const S_XSGCell &cell : table.Rows[row]) {
        const int height = plainOnly && cell.InSpan() ? 0 : cell.TextHeight;
        result = largest ? std::max(result, height) : std::min(result, height);
    }
    return result;
}

int TotalGridWidth(const TXGridModel &table)
{
    return SpanMemberSum(table, table.Host.GridColCount(), &IXGridHost::GridColWidth);
}

int TotalGridHeight(const TXGridModel &table)
{
    return SpanMemberSum(table, table.Host.GridRowCount(), &IXGridHost::GridRowHeight);
}

void InvalidateModelCell(TXGridModel &table, const S_XSGCell &cell)
{
    if (!table.ReDrawVisCell)
        return;
    const TRect visible = table.Host.GridVisibleCells();
    const int endRow = cell.InSpan() ? cell.EndRow : cell.Row, endCol = cell.InSpan() ? cell.EndCol : cell.Col;
    if (endRow < visible.Top || cell.Row > visible.Bottom || endCol < visible.Left || cell.Col > visible.Right)
        return;
    table.Host.InvalidateGridCell(cell.Row, cell.Col);
}

void InvalidateModelCell(TXGridModel &table, int row, int col)
{
    const S_XSGCell *cell = GetGridCell(table, row, col, false);
    if (cell == nullptr)
        return;
    if (cell->InSpan()) {
        InvalidateModelCell(table, *cell);
        return;
    }
    if (!table.ReDrawVisCell)
        return;
    const TRect visible = table.Host.GridVisibleCells();
    if (row >= visible.Top && row <= visible.Bottom && col >= visible.Left && col <= visible.Right)
        table.Host.InvalidateGridCell(row, col);
}
