#pragma once
// Where the in-cell editors go and what they start with, apart from any window: the editor form over
// the cell, the rich editor stretched over more rows, the fraction's two lines and bar, the date and
// list pickers and the two-button panel with the form moved up to stay inside the table, and the runs
// a date or list cell offers its editor. The editor form (uxgridtabeditform.h) applies the results.
//
// Rectangles are in one coordinate system chosen by the caller (the table's client area or the
// screen), except the controls' rectangles, which are inside the form's client area.
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Types.h"
#include "gridtable/model/UXGridTabService.h"

// Edit kinds of a cell: 1-3 a number in one line (1 unsigned decimal, 2 signed decimal, 3 whole), 4
// rich text, 5 a fraction, 6 a date, 8 a choice from a list, 9 two buttons; 0 and 7 open nothing.
enum : std::uint8_t {
    EditKindNone = 0,
    EditKindUnsigned = 1,
    EditKindSigned = 2,
    EditKindWhole = 3,
    EditKindRich = 4,
    EditKindFraction = 5,
    EditKindDate = 6,
    EditKindNothing = 7,
    EditKindList = 8,
    EditKindButtons = 9,
};

// The number format (of the base library's number keys) a number editor of the kind takes: 1 an
// unsigned decimal "2", 2 a signed decimal "3", 3 a whole number "1"; 0 (any key) for other kinds.
int NumberEditorFormat(int kind);

// The cell's rectangle cut at the right and at the bottom of a client area of this size.
TRect ClipEditorToClient(const TRect &cell, int clientWidth, int clientHeight);

// ---- the rich editor -------------------------------------------------------------------------------

// The row the rich editor takes besides the cell's rows first..last (a span's rows): the next one, or
// in the last row the one before the first; -1 when it keeps to the cell: extent 0 or 1, a table of
// one row, no such row outside the fixed rows, or rows together higher than the client area.
// `rowHeight` gives a row's height with its line.
int RichEditorSecondRow(int extent, int first, int last, int rowCount, int fixedRows, int clientHeight,
                        const std::function<int(int row)> &rowHeight);
// The rich editor's rectangle: the cell's for extent 1 (or no second row, secondTop = secondBottom =
// -1); for extent 0 from the cell's top to the bottom of the client area (clientBottom) in the cell's
// column; otherwise the cell and the second row (its top and bottom) in the cell's column.
TRect RichEditorBounds(int extent, const TRect &cell, int clientBottom, int secondTop, int secondBottom);

// ---- the fraction ----------------------------------------------------------------------------------

struct TFractionLayout {
    TRect Up, Bar, Down;
};
// The numerator one text height high ending at the middle of the form, the bar 1 pixel high right
// below it, the denominator from there to the form's bottom; all the form's width. A form lower than
// two text heights keeps the numerator at its top.
TFractionLayout FractionEditorLayout(int clientWidth, int clientHeight, int textHeight);

// ---- the pickers and the buttons -------------------------------------------------------------------

constexpr int EditorMargin = 2;
constexpr int EditorButtonGap = 4;

// The date and the list: the heading at the top, the field below it, below that the accept button at
// the left and the cancel button at the right, each half the width less the margins; margins of 2.
struct TPickerLayout {
    TRect Form;
    TRect Head, Field, Save, Cancel;
};
// `cell` is the form's place over the cell; the form keeps its left, top and width and takes the
// height its controls need, moved up so that its bottom meets the cell's bottom when it would reach
// below clientBottom (never above clientTop).
TPickerLayout PickerEditorLayout(const TRect &cell, int clientTop, int clientBottom, int headHeight, int fieldHeight,
                                 int buttonHeight);

// The two buttons: the first at (2, 2), the second 4 pixels below it, both the form's width less 4;
// the form placed as the pickers are.
struct TButtonsLayout {
    TRect Form;
    TRect First, Second;
};
TButtonsLayout ButtonEditorLayout(const TRect &cell, int clientTop, int clientBottom, int buttonHeight);

// The form of this height over the cell: at the cell's top, or moved up until its bottom meets the
// cell's bottom when it would reach below clientBottom, but not above clientTop.
TRect PlaceEditorOverCell(const TRect &cell, int height, int clientTop, int clientBottom);

// ---- what the date and list editors start with ----------------------------------------------------

// A date cell with fewer than three runs in its current list gets run 1 (the heading: the text and
// font of the run it had numbered 1, else of its first run, hidden), run 2 (today, hidden) and run 3
// (today, shown, in the heading's font); the cell's runs are whole runs then. Returns whether the runs
// were rebuilt.
bool PrepareDateCellRuns(TXGridModel &table, S_XSGCell &cell, const AnsiString &today);

// A list cell's choices: the texts of its runs other than run 1, in order, and the position of the
// first shown one among them (-1 none).
struct TListCellItems {
    std::vector<AnsiString> Items;
    int Selected = -1;
};
TListCellItems ListCellItems(const TXGridModel &table, S_XSGCell &cell);
