#pragma once
// What the cell model needs of the grid component that shows it. The component implements it; tests
// use a stand-in. Widths and heights are without the grid line.
#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Types.h"

class TCanvas;
class TFont;
struct S_XSGCell;

class IXGridHost {
public:
    virtual ~IXGridHost() = default;

    virtual int GridRowCount() const = 0;
    virtual int GridColCount() const = 0;
    virtual int GridFixedRows() const = 0;
    virtual int GridFixedCols() const = 0;
    virtual int GridLineWidth() const = 0;
    virtual int GridColWidth(int col) const = 0;
    virtual int GridRowHeight(int row) const = 0;
    virtual void SetGridColWidth(int col, int width) = 0;
    virtual void SetGridRowHeight(int row, int height) = 0;
    // The client area the stretching fills.
    virtual int GridClientWidth() const = 0;
    virtual int GridClientHeight() const = 0;
    // The current (selected) column and row.
    virtual int GridCurrentCol() const = 0;
    virtual int GridCurrentRow() const = 0;
    // Makes the cell the current one.
    virtual void SetGridCurrentCell(int row, int col) = 0;
    // Row and column counts and the fixed counts; the grid keeps at least one row and one column and
    // fixed counts below the counts. Counts the cells cannot number are refused (CheckGridSize).
    virtual void SetGridSize(int rows, int cols, int fixedRows, int fixedCols) = 0;
    // Scrolls so that the row and the column are the first shown after the fixed ones.
    virtual void SetGridTopLeft(int topRow, int leftCol) = 0;
    // The component's own font.
    virtual const TFont &GridFont() const = 0;
    // Makes the in-cell editor form (once a screen has been loaded at run time).
    virtual void CreateCellEditor() = 0;

    // The grid gains a row at `row` (row count + 1; the rows from there move down), or loses row `row`.
    virtual void GridRowInserted(int row) = 0;
    virtual void GridRowDeleted(int row) = 0;

    // The cells on screen: Left and Right are the first and last visible column, Top and Bottom the
    // first and last visible row (inclusive).
    virtual TRect GridVisibleCells() const = 0;
    // Repaints the screen rectangle of the cell or of its span.
    virtual void InvalidateGridCell(int row, int col) = 0;

    // Measures the cell's text at its width (storing its text height), and corrects the height of a
    // row to its cells' text heights.
    virtual void MeasureGridCell(S_XSGCell &cell) = 0;
    virtual void CorrectRowHeight(int row) = 0;

    // A plain message box with an OK button.
    virtual void ShowGridMessage(const AnsiString &text) = 0;

    // The canvas the cell layout measures on.
    virtual TCanvas *GridCanvas() = 0;
};
