#pragma once
// Painting of the grid table's cells, apart from any window: the colour a cell is filled with, the
// rectangles of cells and spans (a span whose first cells are scrolled away under the fixed rows or
// columns keeps its true place), and a cell painted onto a canvas from the cell model: its background,
// its laid-out runs, its grid lines and the focus frame. A span scrolled partly under the fixed area is
// painted off screen and only its part outside the fixed area is copied, so it never covers the fixed
// cells.
//
// The grid the table sits on draws no lines of its own (its line width is 0): every column width and
// row height it holds includes the table's own line, which the table draws right of and below each
// cell.
#include <functional>

#include "framework/windows/GridGeometry.h"
#include "gridtable/model/UXGridTabService.h"

// The shared image list holds this many 16 x 16 images; an image run with a higher index draws nothing.
constexpr int GridImageCount = 88;

// The configured colours of the run-time painting.
struct SGridConfigColours {
    TColor MarkedFixed = clBtnFace;    // marked cells that are fixed or not editable
    TColor MarkedEditable = clWindow;  // marked editable cells
    TColor Selected = clSkyBlue;       // the selected cell
    TColor RowSelection = clGreen;     // rows of the row selection
};

// The four colours of the process's configuration record; the defaults above while there is none.
SGridConfigColours GridConfigColours();

// What decides a cell's fill colour.
struct SCellColourState {
    bool Designing = false;
    bool Fixed = false;  // in the fixed rows or columns
    bool Editable = false;
    bool Selected = false;     // the current cell, or a span holding it
    bool RowSelected = false;  // a row of the row selection (only when the table selects rows)
    bool Marked = false;       // the cell's mark bit
};

// The fill colour: `entry` is the colour-table entry of the cell's colour.
TColor ChooseCellColour(const SCellColourState &state, TColor entry, const SGridConfigColours &config);

// The rows and columns a cell paints: its span's, or its own.
TGridRect CellSpanCells(TXGridModel &table, int col, int row);

// The rectangle of a cell, or for a span member of its whole span, in client coordinates without the
// line right of and below it. A span whose first cells are scrolled away reaches under the fixed cells
// or beyond the client's top and left (negative coordinates). Empty outside the grid.
TRect GridCellScreenRect(TXGridModel &table, const TGridGeometry &grid, int lineWidth, int col, int row);

// The part of the client area a cell (or its span) covers with its lines, cut to the client area and,
// for scrollable cells, to the part outside the fixed rows and columns. Empty when none is shown.
TRect GridCellVisibleRect(TXGridModel &table, const TGridGeometry &grid, int lineWidth, int col, int row);

// Selects the font-table entry of the id into the canvas; a missing id takes font 0, and a table
// without fonts the component's own font (the host's). The entry becomes the table's current font.
void SelectGridFont(TXGridModel &table, TCanvas &canvas, int id);

// Draws the cell's runs of the table's language (laid-out pieces) into `rect` (the cell's rectangle
// without its line): the text block starts at the rectangle's left and at the top its vertical
// alignment gives. Each shown piece that meets the canvas's clip box is drawn: an image from the shared
// image list, a text on one line standing on its line's baseline. Font 0 is selected afterwards.
using TGridImageDrawer = std::function<void(TCanvas &canvas, int x, int y, int index)>;
void DrawCellRuns(TXGridModel &table, TCanvas &canvas, S_XSGCell &cell, const TRect &rect,
                  const TGridImageDrawer &drawImage);

// Everything the painting of one cell needs besides the cell model.
struct TGridPaintContext {
    TGridPaintContext(TXGridModel &table, const TGridGeometry &grid) : Table(table), Grid(grid) {}

    TXGridModel &Table;
    const TGridGeometry &Grid;
    int LineWidth = 1;
    bool Designing = false;
    bool RowSelection = false;     // the table selects rows (its rows' selected flags count)
    TColor Background = clWindow;  // stands in for a cell colour of "no colour"
    SGridConfigColours Config;
    TGridImageDrawer DrawImage;  // null: images are not drawn
    // An off-screen canvas of the given size, kept until the next call; null: none can be made, and the
    // part under the fixed area is not painted.
    std::function<TCanvas *(int width, int height)> Offscreen;
    // Before anything is painted, and after the cell is painted (not for an empty model).
    std::function<void(int col, int row, const TRect &rect, TGridDrawState state)> BeforeDraw, AfterDraw;
};

// Paints the cell (col, row) whose rectangle the grid gives (lines included) with the canvas locked
// throughout. An empty model paints nothing.
void PaintGridTableCell(TGridPaintContext &context, TCanvas &canvas, int col, int row, const TRect &rect,
                        TGridDrawState state);
