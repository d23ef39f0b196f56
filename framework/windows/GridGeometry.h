#pragma once
// Geometry and state of a grid of cells, apart from any window: the counts and the fixed rows and
// columns, the column widths and row heights, the grid line between cells, the current cell and the
// selection, the top-left scrollable cell and what of the grid the client area shows. The grid
// control (Grids.h) holds one and turns its answers into painting, scroll bars and events.
//
// Coordinates are the client area's pixels. The fixed rows and columns stay at the top and left; the
// other cells scroll under them, the first one shown being the top-left cell (LeftCol, TopRow). Every
// cell is followed by a grid line of GridLineWidth pixels to its right and below it; a cell's
// rectangle does not include that line.
#include <vector>

#include "framework/runtime/Types.h"

// A cell by column (X) and row (Y).
struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord &, const TGridCoord &) = default;
};

// A block of cells, columns Left..Right and rows Top..Bottom, both ends included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int col, int row) const { return col >= Left && col <= Right && row >= Top && row <= Bottom; }
    friend bool operator==(const TGridRect &, const TGridRect &) = default;
};

// Options of a grid, combined as bits. The line options draw the grid lines between fixed cells
// (goFixed...) and between the others; goRangeSelect lets the mouse and Shift with the arrow keys
// select a block of cells; goDrawFocusSelected paints the current cell as selected too; goThumbTracking
// scrolls while a scroll bar's thumb is dragged, not only when it is let go.
using TGridOptions = unsigned;
constexpr TGridOptions goFixedVertLine = 1, goFixedHorzLine = 2, goVertLine = 4, goHorzLine = 8, goRangeSelect = 16,
                       goDrawFocusSelected = 32, goThumbTracking = 64;

// The state a cell is drawn in, combined as bits.
using TGridDrawState = unsigned;
constexpr TGridDrawState gdSelected = 1, gdFocused = 2, gdFixed = 4;

// The directions a timed scroll moves in, combined as bits.
using TGridScrollDirection = unsigned;
constexpr TGridScrollDirection sdLeft = 1, sdRight = 2, sdUp = 4, sdDown = 8;

// One column or row as the client area shows it: its index, where it starts and its width or height
// (the line after it not included).
struct TGridSpan {
    int Index = 0;
    int Start = 0;
    int Size = 0;
};

class TGridGeometry {
public:
    // The largest width or height of a cell (and of the grid line); larger ones are cut to it.
    static constexpr int MaxCellSize = 1 << 24;

    // Five columns and five rows, the first of each fixed; columns 64 wide, rows 24 high, lines of 1.
    TGridGeometry();

    // ---- counts and sizes --------------------------------------------------------------------------
    int ColCount() const { return static_cast<int>(cols_.sizes.size()); }
    int RowCount() const { return static_cast<int>(rows_.sizes.size()); }
    int FixedCols() const { return cols_.fixed; }
    int FixedRows() const { return rows_.fixed; }
    // At least one: a lower count drops the sizes of the columns (rows) it cuts off and lowers the
    // fixed count below itself; new ones take the default size. The current cell, the selection and
    // the top-left cell are brought back inside.
    void SetColCount(int count);
    void SetRowCount(int count);
    // Brought into 0..count - 1, so that one column (row) always scrolls.
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    int DefaultColWidth() const { return cols_.defaultSize; }
    int DefaultRowHeight() const { return rows_.defaultSize; }
    // Not negative; every column (row) takes the new size.
    void SetDefaultColWidth(int width);
    void SetDefaultRowHeight(int height);
    // Outside the grid the default size; a size set outside is ignored (false), a negative one is 0
    // and one above MaxCellSize is cut to it.
    int ColWidth(int col) const;
    int RowHeight(int row) const;
    bool SetColWidth(int col, int width);
    bool SetRowHeight(int row, int height);

    int GridLineWidth() const { return lineWidth_; }
    void SetGridLineWidth(int width);  // 0..MaxCellSize

    TGridOptions Options() const { return options_; }
    // Leaving range select collapses the selection to the current cell.
    void SetOptions(TGridOptions options);

    // The client area the grid is shown in.
    int ClientWidth() const { return cols_.extent; }
    int ClientHeight() const { return rows_.extent; }
    void SetClientSize(int width, int height);

    // ---- current cell and selection ----------------------------------------------------------------
    int Col() const { return cols_.current; }
    int Row() const { return rows_.current; }
    // Whether the cell lies outside the fixed rows and columns, so that it can be the current cell.
    bool IsSelectable(int col, int row) const;
    // The current cell becomes (col, row) (which must be selectable, else false); with moveAnchor, or
    // without range select, the selection shrinks to it.
    bool MoveCurrent(int col, int row, bool moveAnchor);
    // The far corner of the selection (its anchor): the selection reaches from the current cell to it.
    // Moving it (to a selectable cell, else false) needs range select; without, the current cell
    // moves and the selection shrinks to it.
    TGridCoord Anchor() const { return TGridCoord{cols_.anchor, rows_.anchor}; }
    bool MoveAnchor(int col, int row);
    TGridRect Selection() const;
    // The block, brought inside the selectable cells, is selected (with or without range select): its
    // top-left corner becomes the current cell and its bottom-right the anchor.
    void SetSelection(const TGridRect &selection);

    // ---- scrolling ---------------------------------------------------------------------------------
    int LeftCol() const { return cols_.first; }
    int TopRow() const { return rows_.first; }
    // The top-left cell, brought into FixedCols..MaxLeftCol and FixedRows..MaxTopRow; true when it moved.
    bool SetTopLeft(int col, int row);
    // The farthest the grid scrolls: from there on the last column (row) is fully shown.
    int MaxLeftCol() const { return cols_.MaxFirst(lineWidth_); }
    int MaxTopRow() const { return rows_.MaxFirst(lineWidth_); }
    // The top-left cell that shows the cell whole (or from its start when it is wider than the area),
    // moving the grid as little as it can; fixed rows and columns need no move.
    TGridCoord TopLeftShowing(int col, int row) const;

    // The scrollable columns (rows) wholly shown from the top-left cell on: at least one.
    int VisibleColCount() const { return cols_.LastFullVisible(lineWidth_) - cols_.first + 1; }
    int VisibleRowCount() const { return rows_.LastFullVisible(lineWidth_) - rows_.first + 1; }
    // The scrollable cells on screen, whole or in part (LeftCol..last column, TopRow..last row).
    TGridRect VisibleCells() const;
    // Width of the fixed columns and height of the fixed rows, lines included.
    long long FixedWidth() const { return cols_.FixedExtent(lineWidth_); }
    long long FixedHeight() const { return rows_.FixedExtent(lineWidth_); }
    // Width of all the columns and height of all the rows, lines included.
    long long TotalWidth() const { return cols_.TotalExtent(lineWidth_); }
    long long TotalHeight() const { return rows_.TotalExtent(lineWidth_); }

    // The columns (rows) on screen in painting order: the fixed ones, then the scrollable ones from the
    // top-left cell on as far as the client area reaches (the last may be cut by its edge).
    std::vector<TGridSpan> ShownCols() const { return cols_.Shown(lineWidth_); }
    std::vector<TGridSpan> ShownRows() const { return rows_.Shown(lineWidth_); }

    // ---- cells on screen ---------------------------------------------------------------------------
    // The cell's rectangle on screen, cut at the edges of the client area; an empty rectangle (all 0)
    // when no part of it is shown (scrolled away under the fixed cells or beyond the edge, or outside
    // the grid).
    TRect CellRect(int col, int row) const;
    // Where the cell lies, whole, shown or not: a cell scrolled away before the top-left cell lies
    // under the fixed cells (or further left and up). Empty outside the grid.
    TRect CellBounds(int col, int row) const;
    // The cell at a point: a point on a grid line belongs to the cell before the line; a point before
    // the grid or past its last column or row gives (-1, -1).
    TGridCoord MouseCoord(int x, int y) const;

    // ---- moving rows -------------------------------------------------------------------------------
    // A row of the given height inserted before `row` (0..RowCount; the current cell, anchor and fixed
    // count are kept on the rows they were on). False outside.
    bool InsertRow(int row, int height);
    // The row leaves with its height (the fixed count goes down when it would reach the count); the
    // only row of a grid stays and takes the default height. False outside.
    bool DeleteRow(int row);
    // The row at `from` moves to `to` with its height; the current cell and the anchor stay on their
    // rows. False when either is outside.
    bool MoveRow(int from, int to);

private:
    // One direction of the grid: the columns or the rows.
    struct Axis {
        std::vector<int> sizes;
        int defaultSize = 0;
        int fixed = 0;
        int first = 0;    // the first scrollable one shown
        int current = 0;  // the current cell
        int anchor = 0;   // the far corner of the selection
        int extent = 0;   // the client area's width or height

        int Count() const { return static_cast<int>(sizes.size()); }
        int Size(int i) const { return i >= 0 && i < Count() ? sizes[i] : defaultSize; }
        long long FixedExtent(int line) const;
        long long TotalExtent(int line) const;
        int LastFullVisible(int line) const;
        int LastShown(int line) const;
        int MaxFirst(int line) const;
        int Position(int i, int line) const;
        bool ShownSpan(int i, int line, int &start, int &end) const;
        int At(int pos, int line) const;
        int FirstShowing(int i, int line) const;
        std::vector<TGridSpan> Shown(int line) const;
        void SetCount(int count);
        void SetFixed(int count);
        void ClampCells();
        static void MoveAdjust(int &pos, int from, int to);
    };

    // Everything back inside after a change of counts, sizes or the client area.
    void Clamp();

    Axis cols_, rows_;
    int lineWidth_ = 1;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
};
