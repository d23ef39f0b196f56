#pragma once
// A grid of cells that its descendants draw: TCustomGrid keeps the counts, sizes, current cell,
// selection and scrolling (in a TGridGeometry), paints the grid lines and asks DrawCell for each cell
// on screen, fixed cells first; it moves the current cell with the mouse, the wheel and the arrow
// keys (asking SelectCell first), keeps it in view, and keeps its scroll bars in step with the
// top-left cell. TDrawGrid offers the same as events.
#include <functional>

#include "framework/windows/Controls.h"
#include "framework/windows/GridError.h"
#include "framework/windows/GridGeometry.h"
#include "framework/windows/StdCtrls.h"

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent *owner);
    ~TCustomGrid() override;

    // The geometry the grid works with: sizes and positions of every cell, for descendants that
    // place things relative to cells.
    const TGridGeometry &Geometry() const { return geometry_; }

    // Counts: at least one column and row; the fixed counts stay below them (a lower RowCount lowers
    // FixedRows). Every change repaints, keeps the current cell inside and the scroll bars in step.
    int ColCount() const { return geometry_.ColCount(); }
    int RowCount() const { return geometry_.RowCount(); }
    int FixedCols() const { return geometry_.FixedCols(); }
    int FixedRows() const { return geometry_.FixedRows(); }
    void SetColCount(int count);
    void SetRowCount(int count);
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    // Sizes of the cells, without the grid line. New columns are DefaultColWidth wide (64), new rows
    // DefaultRowHeight high (24); setting a default gives it to every column (row).
    int DefaultColWidth() const { return geometry_.DefaultColWidth(); }
    int DefaultRowHeight() const { return geometry_.DefaultRowHeight(); }
    void SetDefaultColWidth(int width);
    void SetDefaultRowHeight(int height);
    // Reading outside the grid gives the default; setting outside raises EInvalidGridOperation.
    int ColWidths(int col) const { return geometry_.ColWidth(col); }
    int RowHeights(int row) const { return geometry_.RowHeight(row); }
    void SetColWidths(int col, int width);
    void SetRowHeights(int row, int height);
    // Width of the line right of and below every cell (1; 0 lets cells meet).
    int GridLineWidth() const { return geometry_.GridLineWidth(); }
    void SetGridLineWidth(int width);

    TGridOptions Options() const { return geometry_.Options(); }
    void SetOptions(TGridOptions options);
    // Background of the fixed cells (the client's own is Color).
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor color);
    // Each cell is filled (and the current one framed) before DrawCell; off, DrawCell paints alone.
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on);
    // The scroll bars the grid shows when its cells do not fit (ssBoth by default).
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle bars);
    // bsSingle (the default) draws a sunken border round the grid; any other style none.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

    // The current cell. Setting it asks SelectCell, scrolls it into view and selects it alone;
    // a cell outside the grid or in its fixed part raises EInvalidGridOperation.
    int Col() const { return geometry_.Col(); }
    int Row() const { return geometry_.Row(); }
    void SetCol(int col);
    void SetRow(int row);
    // The selected block (the current cell alone without goRangeSelect). Setting it asks nothing; the
    // block's top-left corner becomes the current cell.
    TGridRect Selection() const { return geometry_.Selection(); }
    void SetSelection(const TGridRect &selection);

    // The first scrollable column and row shown; moving them repaints, moves the scroll bars and
    // calls TopLeftChanged once.
    int LeftCol() const { return geometry_.LeftCol(); }
    int TopRow() const { return geometry_.TopRow(); }
    void SetLeftCol(int col) { MoveTopLeft(col, TopRow()); }
    void SetTopRow(int row) { MoveTopLeft(LeftCol(), row); }
    // Scrollable columns (rows) wholly shown from the top-left cell on (at least one).
    int VisibleColCount() const { return geometry_.VisibleColCount(); }
    int VisibleRowCount() const { return geometry_.VisibleRowCount(); }

    // The cell's rectangle in the client area, cut at its edges; empty when the cell is not shown.
    TRect CellRect(int col, int row) const { return geometry_.CellRect(col, row); }
    // The cell under a client point (a point on a grid line belongs to the cell before it); -1 and -1
    // outside the cells.
    TGridCoord MouseCoord(int x, int y) const { return geometry_.MouseCoord(x, y); }
    void MouseToCell(int x, int y, int &col, int &row) const;
    // Repaints the cell with its grid lines (when shown).
    void InvalidateCell(int col, int row);
    void InvalidateGrid() { Invalidate(); }

    // Rows move with their heights; the current cell stays on its row. Indexes outside the grid
    // raise EInvalidGridOperation.
    void MoveRow(int from, int to);
    // A row of the default height inserted before `row` (0..RowCount).
    void InsertRow(int row);
    // The row leaves the grid with its height (RowCount goes down by one, never below one).
    virtual void DeleteRow(int row);

    void WndProc(TMessage &message) override;

protected:
    // Paints one cell: its rectangle (in client coordinates, the grid line not included; a cell cut
    // by the client's edge gets its whole rectangle) and state. The default paints nothing.
    virtual void DrawCell(int col, int row, const TRect &rect, TGridDrawState state);
    // Whether the cell may become the current cell; asked before each move.
    virtual bool SelectCell(int col, int row);
    // The top-left cell moved.
    virtual void TopLeftChanged() {}
    // While the mouse selects outside the cells the grid calls this every 60 ms with the directions
    // it lies in; the default moves the selection's far corner (without range select the current
    // cell) one cell that way and scrolls to it.
    virtual void TimedScroll(TGridScrollDirection direction);

    // The current cell becomes (col, row) when SelectCell agrees: with moveAnchor (or without range
    // select) the selection shrinks to it, with show it is scrolled into view.
    void MoveCurrent(int col, int row, bool moveAnchor, bool show);
    // The selection's far corner moves (range select; else the current cell moves) and is shown.
    void MoveAnchor(int col, int row);
    void MoveTopLeft(int col, int row);
    // Scrolls as little as needed to show the cell whole.
    void ClampInView(int col, int row);
    // Repaints the cells of a block.
    void InvalidateRect(const TGridRect &cells);
    // Ends a selection by the mouse (and its timer): the grid is about to open something over itself,
    // which takes the button's release.
    void StopSelecting();

    void Paint() override;
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;
    void BoundsChanged() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // The wheel moves the current row by one (after OnMouseWheelDown / Up, when they leave it).
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
    // Arrow keys move by a cell, Page Up and Down by the rows shown, Home and End to the first and
    // last column (with Ctrl to the first and last cell); with Shift and range select the selection
    // grows instead. After OnKeyDown, when it leaves the key.
    void KeyDown(uint16_t &key, TShiftState shift) override;

private:
    // Runs a change of the geometry: afterwards the grid repaints, its scroll bars follow and a moved
    // top-left cell is announced.
    template <class F>
    void Change(F &&change);
    void SyncClientSize();
    void UpdateScrollBars();
    void Scroll(bool vertical, unsigned code, int position);
    void PaintCell(const TGridSpan &col, const TGridSpan &row, const TRect &clip, bool focused);

    TGridGeometry geometry_;
    TColor fixedColor_;
    bool defaultDrawing_ = true;
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    bool selecting_ = false;  // a mouse button went down on a cell and is held
    bool updatingScrollBars_ = false;
};

using TDrawCellEvent =
    std::function<void(TObject *Sender, int ACol, int ARow, const TRect &Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &CanSelect)>;

// A grid whose cells are drawn and chosen through events.
class TDrawGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;

protected:
    void DrawCell(int col, int row, const TRect &rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void TopLeftChanged() override;
};
