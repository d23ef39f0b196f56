// Cells, spans, rows and row descriptions of the cell model.
#include <algorithm>
#include <limits>

#include "base/text/LangText.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/GridError.h"
#include "gridtable/model/UXGridTabService.h"

namespace {

// Extra height a span's master gets for each row inserted into the span.
constexpr int InsertedSpanRowHeight = 24;

int RowCountOf(const TXGridModel &table) { return static_cast<int>(table.Rows.size()); }

int ColCountOf(const TXGridModel &table)
{
    return table.Rows.empty() ? std::max(table.Host.GridColCount(), 0) : static_cast<int>(table.Rows[0].size());
}

S_XSGRow DefaultRow(int cols) { return S_XSGRow(static_cast<size_t>(std::max(cols, 0))); }

// A row or column index as a cell holds it. The model never has more than MaxGridRows rows or
// MaxGridCols columns (each step that would grow it further refuses first), so every index of a
// cell, and every span bound, fits the cell's 16 bits.
std::int16_t CellIndex(int index) { return static_cast<std::int16_t>(index); }

std::uint16_t AddClamped(std::uint16_t value, int delta)
{
    return static_cast<std::uint16_t>(std::clamp(static_cast<int>(value) + delta, 0, 0xFFFF));
}

// Every cell with its place, in the table's order.
template <class F>
void ForEachCell(TXGridModel &table, F f)
{
    for (int r = 0; r < RowCountOf(table); ++r) {
        S_XSGRow &row = table.Rows[r];
        for (int c = 0; c < static_cast<int>(row.size()); ++c)
            f(r, c, row[c]);
    }
}

// A plain cell holds its own place, as a fetch would write it.
void WritePlace(S_XSGCell &cell, int row, int col)
{
    cell.Row = CellIndex(row);
    cell.Col = CellIndex(col);
}

// Makes every member of the span a plain cell (attributes and texts stay where they are).
void DissolveSpan(TXGridModel &table, int top, int bottom, int left, int right)
{
    for (int r = std::max(top, 0); r <= bottom && r < RowCountOf(table); ++r)
        for (int c = std::max(left, 0); c <= right && c < ColCountOf(table); ++c)
            table.Rows[r][c].ClearSpanFields();
}

// ---- the editable-cell count ----
// The model counts the editable cells outside the fixed rows and columns; each step changes the count
// by what it changed in the cells it touched, so that the has-editable flag costs no walk over the
// table. The count is kept for the fixed counts it was made with; when the grid's differ, or the
// cells were made anew, the next step counts again.

bool EditableCountFits(const TXGridModel &table)
{
    return table.EditableCounted && table.EditableFixedRows == table.Host.GridFixedRows() &&
           table.EditableFixedCols == table.Host.GridFixedCols();
}

// Editable cells of rows top..bottom and columns left..right that lie outside the fixed rows and
// columns the count is kept for.
int EditableIn(const TXGridModel &table, int top, int bottom, int left = 0,
               int right = std::numeric_limits<int>::max())
{
    int count = 0;
    for (int r = std::max(top, table.EditableFixedRows); r <= bottom && r < RowCountOf(table); ++r) {
        const S_XSGRow &row = table.Rows[r];
        for (int c = std::max(left, table.EditableFixedCols); c <= right && c < static_cast<int>(row.size()); ++c)
            count += row[c].Flags & CellEditable;
    }
    return count;
}

// Before a step: the count fits the grid's fixed counts.
void FitEditableCount(TXGridModel &table)
{
    if (!EditableCountFits(table))
        RecountEditableCells(table);
}

// After a step that changed the count by `change` (a step that changed the fixed counts counts anew).
void ChangeEditableCount(TXGridModel &table, int change)
{
    if (!EditableCountFits(table)) {
        RecountEditableCells(table);
        return;
    }
    table.EditableCells += change;
    table.HasEditable = table.EditableCells > 0;
}

// ---- repainting ----

bool SpanOrCellVisible(const TRect &visible, const S_XSGCell &cell)
{
    const int endRow = cell.InSpan() ? cell.EndRow : cell.Row, endCol = cell.InSpan() ? cell.EndCol : cell.Col;
    return !(endRow < visible.Top || cell.Row > visible.Bottom || endCol < visible.Left || cell.Col > visible.Right);
}

// Cell (row, col), or the span it belongs to, repainted when it meets the visible range.
void InvalidateIn(TXGridModel &table, const TRect &visible, int row, int col)
{
    const S_XSGCell *cell = GetGridCell(table, row, col, false);
    if (cell == nullptr)
        return;
    if (cell->InSpan()) {
        if (SpanOrCellVisible(visible, *cell))
            table.Host.InvalidateGridCell(cell->Row, cell->Col);
        return;
    }
    if (row >= visible.Top && row <= visible.Bottom && col >= visible.Left && col <= visible.Right)
        table.Host.InvalidateGridCell(row, col);
}

// Repaints the cells of rows first..last and columns left..right, asking the grid for its visible
// range once.
void InvalidateBlock(TXGridModel &table, int first, int last, int left, int right)
{
    if (!table.ReDrawVisCell)
        return;
    const TRect visible = table.Host.GridVisibleCells();
    for (int r = std::max(first, 0); r <= last && r < RowCountOf(table); ++r)
        for (int c = std::max(left, 0); c <= right && c < ColCountOf(table); ++c)
            InvalidateIn(table, visible, r, c);
}

// After rows from `first` on moved: repaints what of them can be seen. A span that reaches up from
// them into the visible rows is met in row `first`, every other one in a visible row; rows out of
// sight are not visited.
void InvalidateRowsFrom(TXGridModel &table, int first)
{
    first = std::max(first, 0);
    if (!table.ReDrawVisCell || first >= RowCountOf(table))
        return;
    const TRect visible = table.Host.GridVisibleCells();
    const int left = std::max(visible.Left, 0), right = std::min(visible.Right, ColCountOf(table) - 1);
    for (int c = left; c <= right; ++c)
        InvalidateIn(table, visible, first, c);
    for (int r = std::max(first + 1, visible.Top); r <= visible.Bottom && r < RowCountOf(table); ++r)
        for (int c = left; c <= right; ++c)
            InvalidateIn(table, visible, r, c);
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

void CheckGridSize(int rows, int cols)
{
    if (rows > MaxGridRows)
        throw EInvalidGridOperation("В таблице не может быть более " + IntToStr(MaxGridRows) +
                                    " строк (номера строк от 0 до " + IntToStr(MaxGridRows - 1) + ")");
    if (cols > MaxGridCols)
        throw EInvalidGridOperation("В таблице не может быть более " + IntToStr(MaxGridCols) +
                                    " столбцов (номера столбцов от 0 до " + IntToStr(MaxGridCols - 1) + ")");
}

void CreateGridCells(TXGridModel &table)
{
    const int rows = std::max(table.Host.GridRowCount(), 0), cols = std::max(table.Host.GridColCount(), 0);
    CheckGridSize(rows, cols);
    table.Rows.assign(static_cast<size_t>(rows), DefaultRow(cols));
    table.RowDescriptions = TXRowDescriptions{};
    for (int r = 0; r < rows; ++r)
        table.RowDescriptions.Rows.push_back(
            TXRowDescription{static_cast<std::uint32_t>(std::max(table.Host.GridRowHeight(r), 0)), 0, 0});
    // The cells are counted by the next step that changes any (a loaded screen puts its own in first).
    table.EditableCounted = false;
}

void RecountEditableCells(TXGridModel &table)
{
    table.EditableCounted = true;
    table.EditableFixedRows = table.Host.GridFixedRows();
    table.EditableFixedCols = table.Host.GridFixedCols();
    table.EditableCells = EditableIn(table, 0, RowCountOf(table) - 1);
    table.HasEditable = table.EditableCells > 0;
}

S_XSGCell *GetGridCell(TXGridModel &table, int row, int col, bool resolve)
{
    if (row < 0 || col < 0 || row >= RowCountOf(table) || col >= static_cast<int>(table.Rows[row].size()))
        return nullptr;
    S_XSGCell &cell = table.Rows[row][col];
    if (!cell.InSpan()) {
        WritePlace(cell, row, col);
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

    FitEditableCount(table);
    const int editableBefore = EditableIn(table, top, bottom, left, right);
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
            cell.Row = CellIndex(top);
            cell.EndRow = CellIndex(bottom);
            cell.Col = CellIndex(left);
            cell.EndCol = CellIndex(right);
        }
    ChangeEditableCount(table, EditableIn(table, top, bottom, left, right) - editableBefore);
    InvalidateBlock(table, top, bottom, left, right);
    return &master;
}

namespace {

// The model's and the grid's part of inserting a row, without repainting; false for a row outside.
bool InsertRowCells(TXGridModel &table, int row)
{
    const int rows = RowCountOf(table), cols = ColCountOf(table);
    if (row < 0 || row > rows)
        return false;
    CheckGridSize(rows + 1, cols);
    FitEditableCount(table);
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
    // The one walk over the whole table: span members below move down with their rows, plain cells
    // take their new places (the table had room for the row, so no bound moves past the last index).
    ForEachCell(table, [row](int r, int c, S_XSGCell &cell) {
        if (!cell.InSpan()) {
            WritePlace(cell, r, c);
            return;
        }
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
    // The new row, or above the fixed border the row it pushed below it, joins the counted rows.
    ChangeEditableCount(table, EditableIn(table, std::max(row, table.EditableFixedRows),
                                          std::max(row, table.EditableFixedRows)));
    return true;
}

// The same for a row appended; returns its index.
int AppendRowCells(TXGridModel &table)
{
    const int row = RowCountOf(table), cols = ColCountOf(table);
    CheckGridSize(row + 1, cols);
    FitEditableCount(table);
    S_XSGRow fresh = DefaultRow(cols);
    for (int c = 0; c < cols; ++c) {
        fresh[c].Flags |= CellEditable;
        WritePlace(fresh[c], row, c);
    }
    table.Rows.push_back(std::move(fresh));
    table.Host.GridRowInserted(row);
    table.RowDescriptions.Rows.push_back(
        TXRowDescription{static_cast<std::uint32_t>(std::max(table.Host.GridRowHeight(row), 0)), 0, 0});
    ChangeEditableCount(table, EditableIn(table, row, row));
    return row;
}

}  // namespace

void InsertGridRow(TXGridModel &table, int row)
{
    if (InsertRowCells(table, row))
        InvalidateRowsFrom(table, row);
}

int AppendGridRow(TXGridModel &table)
{
    const int row = AppendRowCells(table);
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
        row = AppendRowCells(table);
    } else {
        InsertRowCells(table, target);
        row = target;
        if (source >= target)
            ++source;
    }
    const int editableBefore = EditableIn(table, row, row);
    S_XSGRow &to = table.Rows[row];
    const S_XSGRow &from = table.Rows[source];
    for (size_t c = 0; c < to.size() && c < from.size(); ++c) {
        if (to[c].InSpan())
            continue;  // the new row lies inside a span here
        CopyGridCell(from[c], to[c]);
        WritePlace(to[c], row, static_cast<int>(c));
    }
    ChangeEditableCount(table, EditableIn(table, row, row) - editableBefore);
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

    // The rows whose editable cells the deletion can change: the row, the one below that may take over
    // a span, and the first scrollable row when a fixed row goes.
    FitEditableCount(table);
    const int lastTouched = std::max(row + 1, table.EditableFixedRows);
    const int editableBefore = EditableIn(table, row, lastTouched);

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

    // The one walk over the whole table: span members below move up with their rows and spans through
    // the row shrink (one reduced to a single cell becomes a plain cell); plain cells take their new
    // places. Then every span's bottom-right cell that is not its master carries state 3 (the row that
    // held it may be gone).
    std::vector<const S_XSGCell *> masters;
    ForEachCell(table, [row, &masters](int r, int c, S_XSGCell &cell) {
        if (!cell.InSpan()) {
            WritePlace(cell, r, c);
            return;
        }
        if (cell.EndRow >= row)
            --cell.EndRow;
        if (cell.Row > row)
            --cell.Row;
        if (cell.Row == cell.EndRow && cell.Col == cell.EndCol) {
            cell.ClearSpanFields();
            WritePlace(cell, r, c);
        } else if (cell.MergeState == CellMaster) {
            masters.push_back(&cell);
        }
    });
    for (const S_XSGCell *master : masters)
        if (master->EndRow < RowCountOf(table) && master->EndCol < ColCountOf(table))
            table.Rows[master->EndRow][master->EndCol].MergeState = CellBottomRight;
    ChangeEditableCount(table, EditableIn(table, row, lastTouched - 1) - editableBefore);
    const int fixedRows = table.Host.GridFixedRows();
    InvalidateRowsFrom(table, row - 1 >= fixedRows ? row - 1 : row);
}

void ResetGridRow(TXGridModel &table, int row)
{
    if (row < 0 || row >= RowCountOf(table))
        return;
    FitEditableCount(table);
    const int editableBefore = EditableIn(table, row, row);
    for (const S_XSGCell &cell : table.Rows[row])
        if (cell.InSpan() && (cell.Row != row || cell.EndRow != row))
            DissolveSpan(table, cell.Row, cell.EndRow, cell.Col, cell.EndCol);
    for (int c = 0; c < static_cast<int>(table.Rows[row].size()); ++c) {
        S_XSGCell &cell = table.Rows[row][c];
        ClearCell(cell);
        cell = S_XSGCell{};
        WritePlace(cell, row, c);
    }
    ChangeEditableCount(table, EditableIn(table, row, row) - editableBefore);
    InvalidateBlock(table, row, row, 0, ColCountOf(table) - 1);
}

void FreeGridCells(TXGridModel &table)
{
    std::vector<S_XSGRow>().swap(table.Rows);
    table.EditableCounted = false;
}

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
    FitEditableCount(table);
    // Where the cell whose bit changes lies: a span member's master sits at the span's first cell.
    const S_XSGCell &at = table.Rows[row][col];
    const int cellRow = cell == &at ? row : at.Row, cellCol = cell == &at ? col : at.Col;
    const int before = EditableIn(table, cellRow, cellRow, cellCol, cellCol);
    cell->Flags = static_cast<std::uint8_t>(on ? cell->Flags | CellEditable : cell->Flags & ~CellEditable);
    ChangeEditableCount(table, EditableIn(table, cellRow, cellRow, cellCol, cellCol) - before);
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
    if (table.ReDrawVisCell && SpanOrCellVisible(table.Host.GridVisibleCells(), cell))
        table.Host.InvalidateGridCell(cell.Row, cell.Col);
}

void InvalidateModelCell(TXGridModel &table, int row, int col)
{
    // Fetched first: a plain cell takes its place whether or not it is repainted.
    if (GetGridCell(table, row, col, false) != nullptr && table.ReDrawVisCell)
        InvalidateIn(table, table.Host.GridVisibleCells(), row, col);
}
