#pragma once
// What the grid table decides apart from its window: a row's height from its cells' texts, the row
// selection, and where a navigation key takes the current cell and how the view follows it. The table
// (UXGridTable.h) applies the results; tests call these with a stand-in host.
#include <cstdint>

#include "framework/windows/GridGeometry.h"
#include "gridtable/model/UXGridTabService.h"

// ---- row heights -----------------------------------------------------------------------------------

// The row gets the largest text height of its plain cells. When spans pass through it, the one that
// ends lowest decides its last row's height: the master's text height less the rows above that last
// one (this row at its new height, lines between rows included), or the last row's own plain cells'
// largest text height when that is more. A height is set only when it differs, never below the row
// description's height nor above the client height.
void CorrectGridRowHeight(TXGridModel &table, int row);

// ---- row selection ---------------------------------------------------------------------------------

// Marks (on) a row that is already selected or holds an editable cell outside the fixed columns, or
// clears its mark (off, the kept mark too); the row is repainted. Returns whether it is selected.
bool SelectGridRow(TXGridModel &table, int row, bool on);
void SelectAllGridRows(TXGridModel &table);
void UnselectAllGridRows(TXGridModel &table);
bool IsGridRowSelected(const TXGridModel &table, int row);
// On: the editing row becomes the anchor and is selected. Off: the selected rows between the anchor
// and the editing row are kept, and there is no anchor.
void SetGridShiftSelecting(TXGridModel &table, bool on, int editRow);
// The current row moves from `from` to `to` with shift selection: of the rows between them, those
// between the anchor and `to` are selected, the others unselected unless kept. Rows outside the
// stretch from `from` to `to` are left as they are.
void FollowShiftSelection(TXGridModel &table, int from, int to);

// ---- keyboard navigation ---------------------------------------------------------------------------

// Navigation keys (the virtual-key codes the table handles itself).
enum : std::uint16_t {
    GridKeyPageUp = 33,
    GridKeyPageDown = 34,
    GridKeyEnd = 35,
    GridKeyHome = 36,
    GridKeyLeft = 37,
    GridKeyUp = 38,
    GridKeyRight = 39,
    GridKeyDown = 40,
};
inline bool IsGridNavigationKey(std::uint16_t key) { return key >= GridKeyPageUp && key <= GridKeyDown; }

// Where the user stands inside the current cell. A span is one cell, yet it covers several columns
// and rows: the column (row) the user came along when a step entered it is the one the next vertical
// (horizontal) step leaves it by, so that a span whose first column (row) leads nowhere does not hold
// the user. It belongs to the cell the step went to and means nothing once another cell is current.
struct TGridLane {
    int Col = -1, Row = -1;          // the column and row the user was in (-1: none)
    int CellCol = -1, CellRow = -1;  // the current cell it belongs to
};

struct TGridKeyMove {
    bool Moved = false;    // an editable cell other than the current one was found
    int Col = 0, Row = 0;  // the target (a span's master)
    int LeftCol = 0, TopRow = 0;
    TGridLane Lane;  // for the next step while the target stays the current cell
};

// Where the key takes the current cell of a grid of this geometry (sizes with lines as the grid holds
// them): Left and Right by one column, Home and End by the columns shown, Up and Down by one row, Page
// Up and Down by the rows shown, to the nearest editable cell at least that many cells away in the
// current row (column), a span counting as one cell; when there is none that far, the farthest
// editable cell that way. From a span the step looks along the lane's column (row) when the lane
// belongs to the current cell and lies inside the span, else along the current column (row); failing
// that along the span's other columns from the left (rows from the top). When none of them holds an
// editable cell that way, nothing moves. The view follows: a target ending below (right of) the cells
// shown is brought up (left) just enough, one starting above (left of) them becomes the first shown,
// one larger than the view is shown from its start, and a move to the farthest cell downwards
// (rightwards) shows the last rows (columns) when the target stays shown.
TGridKeyMove GridKeyTarget(TXGridModel &table, const TGridGeometry &grid, std::uint16_t key,
                           const TGridLane &lane = TGridLane{});
