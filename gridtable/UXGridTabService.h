#pragma once
// The cell model of the grid table and its service operations: cells with merged spans, rows and
// their descriptions, the font table and the colour table. The model has as many rows as the grid
// and as row descriptions; it reaches the grid through its host (GridHost.h).
#include <cstdint>
#include <memory>
#include <vector>

#include "gridtable/GridCell.h"
#include "gridtable/GridHost.h"

struct TXGridModel {
    // The language flag comes from the base library's second language byte.
    explicit TXGridModel(IXGridHost &host);
    TXGridModel(const TXGridModel &) = delete;
    TXGridModel &operator=(const TXGridModel &) = delete;

    IXGridHost &Host;
    std::vector<S_XSGRow> Rows;
    TXRowDescriptions RowDescriptions;
    // Sorted by id; ids unique and not negative.
    std::vector<std::unique_ptr<S_SGFont>> Fonts;
    // The entry last selected for drawing, by id (-1 none), so that clearing the table leaves nothing
    // dangling.
    int CurrentFontId = -1;
    S_SGColorTable Colours;
    std::uint8_t Language = 1;  // 1: runs list 1 shown, 0: list 0
    bool HasEditable = false;   // some cell outside the fixed rows and columns is editable
    bool AutoCorRowH = true;    // a changed text re-measures its cell and corrects the row height
    bool ReDrawVisCell = true;  // a changed cell is repainted at once
};

// ---- cells, spans and rows -------------------------------------------------------------------------

// Makes the grid's row count times column count of default cells (replacing any) and one row
// description per row with the grid's row height.
void CreateGridCells(TXGridModel &table);

// The cell at (row, col), null outside the model. A plain cell gets (row, col) written into its
// coordinates; with resolve a span member gives its span's master.
S_XSGCell *GetGridCell(TXGridModel &table, int row, int col, bool resolve = false);

// Merges the rectangle into a span and returns its master; null (and nothing changed) when a bound is
// negative or outside the table, top > bottom or left > right, the rectangle crosses the fixed-row or
// fixed-column border, or one of its cells already belongs to a span.
S_XSGCell *MergeGridCells(TXGridModel &table, int top, int bottom, int right, int left);

// Inserts a row of default cells before `row` (0..row count); a row inserted inside a span becomes
// part of it.
void InsertGridRow(TXGridModel &table, int row);
// Appends a row of default cells; returns its index.
int AppendGridRow(TXGridModel &table);
// Inserts a row at `target` (appends when negative) and copies the cells of `source` into it (a
// source at or below the target counts one lower); cells the new row gets from a span it lies in stay
// members of that span. Returns the new row's index, -1 when an argument lies outside the table.
int InsertGridRowCopy(TXGridModel &table, int source, int target);
// The model's part of deleting a grid row. With more than fixed + 1 rows the row leaves the model,
// the grid and the row descriptions; a span master on it whose span reaches below hands the span,
// with its attributes and texts, to the cell below; spans through the row shrink, and a span reduced
// to one cell becomes a plain cell. With one non-fixed row left the row is reset instead and no count
// changes.
void DeleteGridRow(TXGridModel &table, int row);
// Clears every cell of the row and gives it the defaults; a span that reaches outside the row is
// dissolved first so that no cell keeps pointing at it.
void ResetGridRow(TXGridModel &table, int row);
// Frees every cell and every row.
void FreeGridCells(TXGridModel &table);

// A copy of the source's fields and both run lists as a plain cell (span fields zero); the source is
// not changed.
S_XSGCell CopyGridCell(const S_XSGCell &source);
// The same into a target (cleared first); the target may be the source.
S_XSGCell &CopyGridCell(const S_XSGCell &source, S_XSGCell &target);

// Bit 0 of the cell's flags (a span member: of its master). Setting it refreshes the has-editable flag
// and repaints the cell.
void SetCellEditable(TXGridModel &table, int row, int col, bool on);
bool IsCellEditable(TXGridModel &table, int row, int col);

int GetGridRowCount(const TXGridModel &table);
int GetGridColCount(const TXGridModel &table);
int GetGridFixedRows(const TXGridModel &table);
int GetGridFixedCols(const TXGridModel &table);

// The largest (or, without `largest`, the smallest) text height of the row's cells; with plainOnly
// every span member counts 0.
int RowTextHeight(const TXGridModel &table, int row, bool largest, bool plainOnly);
// Column widths (row heights) summed, each with the grid line width.
int TotalGridWidth(const TXGridModel &table);
int TotalGridHeight(const TXGridModel &table);

// Repaints a changed cell when ReDrawVisCell is on and the cell (or its span) lies in the visible range.
void InvalidateModelCell(TXGridModel &table, const S_XSGCell &cell);
void InvalidateModelCell(TXGridModel &table, int row, int col);

// ---- fonts -----------------------------------------------------------------------------------------

// Id of an entry equal to the font, -1 none.
int FindEqualGridFont(const TXGridModel &table, const S_SGFont *font);
S_SGFont *FindGridFontById(const TXGridModel &table, int id);
S_SGFont *GridFontAt(const TXGridModel &table, int index);
int GetGridFontCount(const TXGridModel &table);
// Enters a font and returns its id (-1 for a null font). An equal entry's id is returned and the new
// font freed. With useOwnId a font whose id (not negative) is not in use keeps it; otherwise it takes
// the first id not in use from 0.
int AddGridFont(TXGridModel &table, std::unique_ptr<S_SGFont> font, bool useOwnId = false);
void ClearGridFonts(TXGridModel &table);
// The entry last selected for drawing, null when none or when it is gone.
S_SGFont *CurrentGridFont(const TXGridModel &table);

std::unique_ptr<S_SGFont> CreateGridFont(const AnsiString &name, int size, TColor colour, bool strikeOut,
                                         bool underline, bool italic, bool bold, int height);
// A copy with id -1.
std::unique_ptr<S_SGFont> CloneGridFont(const S_SGFont &font);
std::unique_ptr<S_SGFont> GridFontFromTFont(const TFont &font);

// ---- colours ---------------------------------------------------------------------------------------

// Index of the colour, entered when new; -1 with the table full (the user is told once per refusal).
int AddGridColour(TXGridModel &table, TColor colour);
// Index of the colour; when absent entered with add, else -1.
int FindGridColour(TXGridModel &table, TColor colour, bool add);
// The colour at an index; clNone outside the table.
TColor GridColourAt(const TXGridModel &table, int index);
// The cell's colour index, or with asColour the colour it stands for.
TColor GetCellColourOf(const TXGridModel &table, const S_XSGCell &cell, bool asColour);
TColor GetCellColour(TXGridModel &table, int row, int col, bool asColour);
// With add the value is a colour, entered into the table; without, an index, taken only when below the
// count. The mark bit is cleared, and the cell repainted when anything changed. Returns the previous
// index; a refused value changes nothing.
int SetCellColourOf(TXGridModel &table, S_XSGCell &cell, TColor value, bool add);
int SetCellColour(TXGridModel &table, int row, int col, TColor value, bool add);
// Sets the mark bit and repaints the cell.
void MarkCellColourChanged(TXGridModel &table, int row, int col);
