#include "framework/windows/GridGeometry.h"

#include <algorithm>

namespace {
// Sums of sizes are taken in 64 bits, so that no count of cells of any size overflows them; what
// leaves the geometry as a coordinate is kept within half the int range, so that a size added to it
// still fits.
using Pixels = long long;
constexpr Pixels kFarthest = 1 << 30;

int ToCoordinate(Pixels pos) { return static_cast<int>(std::clamp(pos, -kFarthest, kFarthest)); }
int ToSize(int size) { return std::clamp(size, 0, TGridGeometry::MaxCellSize); }
}  // namespace

// ---- one axis ---------------------------------------------------------------------------------------

long long TGridGeometry::Axis::FixedExtent(int line) const
{
    Pixels extent = 0;
    for (int i = 0; i < fixed; ++i)
        extent += sizes[i] + line;
    return extent;
}

long long TGridGeometry::Axis::TotalExtent(int line) const
{
    Pixels extent = 0;
    for (int size : sizes)
        extent += size + line;
    return extent;
}

// A cell is wholly shown when its end (the line after it aside) lies inside the client area. The
// top-left cell counts even when it does not fit.
int TGridGeometry::Axis::LastFullVisible(int line) const
{
    Pixels boundary = FixedExtent(line);
    int last = first;
    for (int i = first; i < Count(); ++i) {
        boundary += sizes[i] + line;
        if (boundary - line > extent)
            break;
        last = i;
    }
    return last;
}

int TGridGeometry::Axis::LastShown(int line) const
{
    Pixels pos = FixedExtent(line);
    int last = first;
    for (int i = first; i < Count() && pos < extent; ++i) {
        last = i;
        pos += sizes[i] + line;
    }
    return last;
}

// Counting back from the last cell, as many as fit below (beside) the fixed ones.
int TGridGeometry::Axis::MaxFirst(int line) const
{
    const Pixels room = extent - FixedExtent(line);
    Pixels used = -line;
    int result = Count() - 1;
    for (int i = Count() - 1; i >= fixed; --i) {
        used += sizes[i] + line;
        if (used > room)
            break;
        result = i;
    }
    return std::max(result, fixed);
}

int TGridGeometry::Axis::Position(int i, int line) const
{
    Pixels pos = 0;
    if (i < fixed) {
        for (int j = 0; j < i; ++j)
            pos += sizes[j] + line;
        return ToCoordinate(pos);
    }
    pos = FixedExtent(line);
    if (i >= first) {
        for (int j = first; j < i; ++j)
            pos += sizes[j] + line;
    } else {
        for (int j = i; j < first; ++j)
            pos -= sizes[j] + line;
    }
    return ToCoordinate(pos);
}

bool TGridGeometry::Axis::ShownSpan(int i, int line, int &start, int &end) const
{
    if (i < 0 || i >= Count() || (i >= fixed && i < first))
        return false;
    start = Position(i, line);
    end = std::min(start + sizes[i], extent);
    return start < extent && end > start;
}

int TGridGeometry::Axis::At(int pos, int line) const
{
    if (pos < 0)
        return -1;
    const Pixels fixedExtent = FixedExtent(line);
    Pixels start = 0;
    int from = 0, to = fixed;
    if (pos >= fixedExtent) {
        start = fixedExtent;
        from = first;
        to = Count();
    }
    for (int i = from; i < to; ++i) {
        start += sizes[i] + line;
        if (pos < start)
            return i;
    }
    return -1;
}

int TGridGeometry::Axis::FirstShowing(int i, int line) const
{
    if (i < fixed || i <= first)
        return i < fixed ? first : i;
    if (i <= LastFullVisible(line))
        return first;
    // The smallest first cell from which the cells up to i still fit.
    const Pixels room = extent - FixedExtent(line);
    Pixels used = sizes[i];
    int result = i;
    while (result - 1 >= fixed && used + line + sizes[result - 1] <= room) {
        used += line + sizes[result - 1];
        --result;
    }
    return result;
}

std::vector<TGridSpan> TGridGeometry::Axis::Shown(int line) const
{
    std::vector<TGridSpan> shown;
    Pixels pos = 0;
    for (int i = 0; i < fixed && pos < extent; ++i) {
        shown.push_back(TGridSpan{i, static_cast<int>(pos), sizes[i]});
        pos += sizes[i] + line;
    }
    pos = FixedExtent(line);
    for (int i = first; i < Count() && pos < extent; ++i) {
        shown.push_back(TGridSpan{i, static_cast<int>(pos), sizes[i]});
        pos += sizes[i] + line;
    }
    return shown;
}

void TGridGeometry::Axis::SetCount(int count)
{
    count = std::max(1, count);
    sizes.resize(static_cast<size_t>(count), defaultSize);
    fixed = std::min(fixed, count - 1);
    ClampCells();
}

void TGridGeometry::Axis::SetFixed(int count)
{
    fixed = std::clamp(count, 0, Count() - 1);
    ClampCells();
}

void TGridGeometry::Axis::ClampCells()
{
    first = std::clamp(first, fixed, Count() - 1);
    current = std::clamp(current, fixed, Count() - 1);
    anchor = std::clamp(anchor, fixed, Count() - 1);
}

// Where a cell at `pos` ends up when the one at `from` moves to `to`.
void TGridGeometry::Axis::MoveAdjust(int &pos, int from, int to)
{
    if (pos == from)
        pos = to;
    else if (pos >= std::min(from, to) && pos <= std::max(from, to))
        pos += from > to ? 1 : -1;
}

// ---- the grid ---------------------------------------------------------------------------------------

TGridGeometry::TGridGeometry()
{
    cols_.defaultSize = 64;
    rows_.defaultSize = 24;
    cols_.sizes.assign(5, cols_.defaultSize);
    rows_.sizes.assign(5, rows_.defaultSize);
    cols_.fixed = rows_.fixed = 1;
    cols_.first = rows_.first = 1;
    cols_.current = rows_.current = 1;
    cols_.anchor = rows_.anchor = 1;
}

void TGridGeometry::Clamp()
{
    for (Axis *axis : {&cols_, &rows_}) {
        axis->ClampCells();
        axis->first = std::min(axis->first, axis->MaxFirst(lineWidth_));
    }
}

void TGridGeometry::SetColCount(int count)
{
    cols_.SetCount(count);
    Clamp();
}

void TGridGeometry::SetRowCount(int count)
{
    rows_.SetCount(count);
    Clamp();
}

void TGridGeometry::SetFixedCols(int count)
{
    cols_.SetFixed(count);
    Clamp();
}

void TGridGeometry::SetFixedRows(int count)
{
    rows_.SetFixed(count);
    Clamp();
}

void TGridGeometry::SetDefaultColWidth(int width)
{
    cols_.defaultSize = ToSize(width);
    std::fill(cols_.sizes.begin(), cols_.sizes.end(), cols_.defaultSize);
    Clamp();
}

void TGridGeometry::SetDefaultRowHeight(int height)
{
    rows_.defaultSize = ToSize(height);
    std::fill(rows_.sizes.begin(), rows_.sizes.end(), rows_.defaultSize);
    Clamp();
}

int TGridGeometry::ColWidth(int col) const { return cols_.Size(col); }

int TGridGeometry::RowHeight(int row) const { return rows_.Size(row); }

bool TGridGeometry::SetColWidth(int col, int width)
{
    if (col < 0 || col >= ColCount())
        return false;
    cols_.sizes[col] = ToSize(width);
    Clamp();
    return true;
}

bool TGridGeometry::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= RowCount())
        return false;
    rows_.sizes[row] = ToSize(height);
    Clamp();
    return true;
}

void TGridGeometry::SetGridLineWidth(int width)
{
    lineWidth_ = ToSize(width);
    Clamp();
}

void TGridGeometry::SetOptions(TGridOptions options)
{
    options_ = options;
    if (!(options_ & goRangeSelect)) {
        cols_.anchor = cols_.current;
        rows_.anchor = rows_.current;
    }
}

void TGridGeometry::SetClientSize(int width, int height)
{
    cols_.extent = std::max(0, width);
    rows_.extent = std::max(0, height);
    Clamp();
}

bool TGridGeometry::IsSelectable(int col, int row) const
{
    return col >= cols_.fixed && col < ColCount() && row >= rows_.fixed && row < RowCount();
}

bool TGridGeometry::MoveCurrent(int col, int row, bool moveAnchor)
{
    if (!IsSelectable(col, row))
        return false;
    cols_.current = col;
    rows_.current = row;
    if (moveAnchor || !(options_ & goRangeSelect)) {
        cols_.anchor = col;
        rows_.anchor = row;
    }
    return true;
}

bool TGridGeometry::MoveAnchor(int col, int row)
{
    if (!(options_ & goRangeSelect))
        return MoveCurrent(col, row, true);
    if (!IsSelectable(col, row))
        return false;
    cols_.anchor = col;
    rows_.anchor = row;
    return true;
}

TGridRect TGridGeometry::Selection() const
{
    return TGridRect{std::min(cols_.current, cols_.anchor), std::min(rows_.current, rows_.anchor),
                     std::max(cols_.current, cols_.anchor), std::max(rows_.current, rows_.anchor)};
}

void TGridGeometry::SetSelection(const TGridRect &selection)
{
    auto clampCol = [&](int c) { return std::clamp(c, cols_.fixed, ColCount() - 1); };
    auto clampRow = [&](int r) { return std::clamp(r, rows_.fixed, RowCount() - 1); };
    cols_.current = clampCol(std::min(selection.Left, selection.Right));
    cols_.anchor = clampCol(std::max(selection.Left, selection.Right));
    rows_.current = clampRow(std::min(selection.Top, selection.Bottom));
    rows_.anchor = clampRow(std::max(selection.Top, selection.Bottom));
}

bool TGridGeometry::SetTopLeft(int col, int row)
{
    col = std::clamp(col, cols_.fixed, MaxLeftCol());
    row = std::clamp(row, rows_.fixed, MaxTopRow());
    if (col == cols_.first && row == rows_.first)
        return false;
    cols_.first = col;
    rows_.first = row;
    return true;
}

TGridCoord TGridGeometry::TopLeftShowing(int col, int row) const
{
    TGridCoord topLeft{cols_.first, rows_.first};
    if (col >= 0 && col < ColCount())
        topLeft.X = cols_.FirstShowing(col, lineWidth_);
    if (row >= 0 && row < RowCount())
        topLeft.Y = rows_.FirstShowing(row, lineWidth_);
    return topLeft;
}

TGridRect TGridGeometry::VisibleCells() const
{
    return TGridRect{cols_.first, rows_.first, cols_.LastShown(lineWidth_), rows_.LastShown(lineWidth_)};
}

TRect TGridGeometry::CellRect(int col, int row) const
{
    TRect r;
    if (!cols_.ShownSpan(col, lineWidth_, r.Left, r.Right) || !rows_.ShownSpan(row, lineWidth_, r.Top, r.Bottom))
        return TRect{};
    return r;
}

TRect TGridGeometry::CellBounds(int col, int row) const
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return TRect{};
    return Bounds(cols_.Position(col, lineWidth_), rows_.Position(row, lineWidth_), cols_.sizes[col], rows_.sizes[row]);
}

TGridCoord TGridGeometry::MouseCoord(int x, int y) const
{
    TGridCoord cell{cols_.At(x, lineWidth_), rows_.At(y, lineWidth_)};
    if (cell.X < 0 || cell.Y < 0)
        return TGridCoord{-1, -1};
    return cell;
}

bool TGridGeometry::InsertRow(int row, int height)
{
    if (row < 0 || row > RowCount())
        return false;
    rows_.sizes.insert(rows_.sizes.begin() + row, ToSize(height));
    if (rows_.current >= row)
        ++rows_.current;
    if (rows_.anchor >= row)
        ++rows_.anchor;
    Clamp();
    return true;
}

bool TGridGeometry::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount())
        return false;
    if (RowCount() == 1) {
        rows_.sizes[0] = rows_.defaultSize;
        Clamp();
        return true;
    }
    rows_.sizes.erase(rows_.sizes.begin() + row);
    rows_.fixed = std::min(rows_.fixed, RowCount() - 1);
    if (rows_.current > row)
        --rows_.current;
    if (rows_.anchor > row)
        --rows_.anchor;
    Clamp();
    return true;
}

bool TGridGeometry::MoveRow(int from, int to)
{
    if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount())
        return false;
    auto &sizes = rows_.sizes;
    if (from < to)
        std::rotate(sizes.begin() + from, sizes.begin() + from + 1, sizes.begin() + to + 1);
    else
        std::rotate(sizes.begin() + to, sizes.begin() + from, sizes.begin() + from + 1);
    Axis::MoveAdjust(rows_.current, from, to);
    Axis::MoveAdjust(rows_.anchor, from, to);
    Clamp();
    return true;
}
