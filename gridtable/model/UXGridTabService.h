#pragma once
// The cell model of the grid table and its service operations: cells with merged spans, rows and
// their descriptions, the font table and the colour table. The model has as many rows as the grid
// and as row descriptions; it reaches the grid through its host (GridHost.h).
#include <cstdint>
#include <memory>
#include <vector>

#include "gridtable/model/GridCell.h"
#include "gridtable/model/GridHost.h"

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
    // The editable cells outside the fixed rows and columns, as the model's operations keep them, and
    // the fixed counts they were counted for. When the grid's fixed counts differ, or the cells were
    // made anew (not counted), the next operation counts them anew.
    bool EditableCounted = false;
    int EditableCells = 0;
    int EditableFixedRows = 0, EditableFixedCols = 0;
    bool AutoCorRowH = true;    // a changed text re-measures its cell and corrects the row height
    bool ReDrawVisCell = true;  // a changed cell is repainted at once
};

// ---- cells, spans and rows -------------------------------------------------------------------------

// Refuses a table of more rows than MaxGridRows or more columns than MaxGridCols: raises
// EInvalidGridOperation with a message that names the limit.
void CheckGridSize(int rows, int cols);

// Makes the grid's row count times column count of default cells (replacing any) and one row
// description per row with the grid's row height. A grid larger than a table can be is refused
// (CheckGridSize) with the model as it was.
void CreateGridCells(TXGridModel &table);

// The cell at (row, col), null outside the model. A plain cell gets (row, col) written into its
// coordinates; with resolve a span member gives its span's master.
S_XSGCell *GetGridCell(TXGridModel &table, int row, int col, bool resolve = false);

// Merges the rectangle into a span and returns its master; null (and nothing changed) when a bound is
// negative or outside the table, top > bottom or left > right, the rectangle crosses the fixed-row or
// fixed-column border, or one of its cells already belongs to a span.
S_XSGCell *MergeGridCells(TXGridModel &table, int top, int bottom, int right, int left);

// Inserts a row of default cells before `row` (0..row count); a row inserted inside a span becomes
// part of it. A table of MaxGridRows rows refuses (CheckGridSize) and stays as it was.
void InsertGridRow(TXGridModel &table, int row);
// Appends a row of default cells; returns its index. Refused like InsertGridRow.
int AppendGridRow(TXGridModel &table);
// Inserts a row at `target` (appends when negative) and copies the cells of `source` into it (a
// source at or below the target counts one lower); cells the new row gets from a span it lies in stay
// members of that span. Returns the new row's index, -1 when an argument lies outside the table.
// Refused like InsertGridRow.
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
// Counts the editable cells outside the fixed rows and columns anew and sets the has-editable flag.
// The model's operations keep the count as they change cells; code that writes a cell's editable bit
// itself counts anew afterwards (cells made by CreateGridCells are counted by the next operation).
void RecountEditableCells(TXGridModel &table);

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
// Each font's size for a screen of another density and pixels per inch: size x screenDensity /
// designDensity (divided whole), then MulDiv by 1440 / pixelsPerInch (divided whole) over 15; its
// height that of a framework font of the new size at those pixels per inch, as a positive number.
// Nothing for a density or pixels per inch that is not positive.
void RescaleGridFontsForDpi(TXGridModel &table, int screenDensity, int designDensity, int pixelsPerInch);

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

// ---- runs ------------------------------------------------------------------------------------------
// Run operations work on the list of the table's language unless a language is given. Lookups by
// number, index or count first compact the runs while the cell's compact bit is clear (after a layout
// the list holds line pieces).

// The list of a language: 1 (or any other nonzero value) list 1, 0 list 0.
TRunList &GetCellTextList(S_XSGCell &cell, int language);
const TRunList &GetCellTextList(const S_XSGCell &cell, int language);
TRunList &CurrentCellTextList(const TXGridModel &table, S_XSGCell &cell);
bool IsCellTextListEmpty(const S_XSGCell &cell, int language);

// Merges each run into the run before it when both have the same format and that one is no image run.
void CompactRunList(TRunList &runs);
// Sets the cell's compact bit and compacts both of its lists.
void CompactCellRuns(S_XSGCell &cell);

int FindRunIndex(const TXGridModel &table, S_XSGCell &cell, int number);
S_SGText *GetCellRun(const TXGridModel &table, S_XSGCell &cell, int number);
S_SGText *GetRunAt(const TXGridModel &table, S_XSGCell &cell, int index);
int GetRunCount(const TXGridModel &table, S_XSGCell &cell);
AnsiString GetRunTextByNumber(const TXGridModel &table, S_XSGCell &cell, int number);
AnsiString GetRunTextAt(const TXGridModel &table, S_XSGCell &cell, int index);
// Replaces the run's text and runs the after-change step; null when there is no such run.
S_SGText *SetRunTextByNumber(TXGridModel &table, S_XSGCell &cell, int number, const AnsiString &text);
// Puts `run` in the place of the numbered run; null (and nothing changed) when there is none.
S_SGText *ReplaceRunByNumber(const TXGridModel &table, S_XSGCell &cell, int number, S_SGText run);
bool DeleteRunByNumber(const TXGridModel &table, S_XSGCell &cell, int number);
bool DeleteRunAt(const TXGridModel &table, S_XSGCell &cell, int index);
// A new run (shown, kind 1, number 0, font 0) with the text after the numbered run, appended when
// there is none.
S_SGText *InsertRunAfter(const TXGridModel &table, S_XSGCell &cell, int number, const AnsiString &text);
// A new run (shown, kind 1) with the text, numbered as wished when that number is free, else with the
// first free number (0xFFFF when none is left), appended to the compacted list; the after-change step
// runs.
S_SGText *AddCellRun(TXGridModel &table, S_XSGCell &cell, const AnsiString &text, int wishedNumber);
// A number is free when it is positive, fits the run's number field and no run has it.
bool IsRunNumberFree(const TXGridModel &table, const S_XSGCell &cell, int number);
// The first free number from 1 to 65000; -1 when all are taken.
int FindFreeRunNumber(const TXGridModel &table, const S_XSGCell &cell);
constexpr int MaxRunNumber = 65000;
// Run flag bit 1; a change repaints the cell.
void SetRunShown(TXGridModel &table, S_XSGCell &cell, int number, bool on);
bool IsRunShown(const TXGridModel &table, S_XSGCell &cell, int number);
// The texts of all shown runs, joined.
AnsiString GetCurrentCellText(const TXGridModel &table, const S_XSGCell &cell);
// True when every run has an empty text.
bool IsCellTextEmpty(const TXGridModel &table, const S_XSGCell &cell);
S_SGText *FindRunByText(S_XSGCell &cell, int language, const AnsiString &text);
// From `start` on, the first run that is shown and has a mark bit set: its index (and the run), or -1
// (and null).
int FindNextMarkedRun(const TXGridModel &table, S_XSGCell &cell, int start, S_SGText **run = nullptr);

// After a shown run changed, with AutoCorRowH on: a rich-text cell (kind 4) is measured and its row's
// height corrected; a fraction cell (kind 5) the same, its texts prepared first when run 2 changed
// while its text height is 0. The cell is repainted in every case.
void CellRunChanged(TXGridModel &table, S_XSGCell &cell, const S_SGText &run);

// Makes the cell a fraction cell: runs 1 (underlined copy of the font) and 2 with empty texts in the
// font of the id, font 0 when the table has no such id.
void RebuildFractionCell(TXGridModel &table, S_XSGCell &cell, int fontId);
// Trims runs 1 and 2, pads the shorter with blanks to the other's length (the odd blank on the left)
// and ends run 1 with a line feed, so the denominator comes out on the next line.
void PrepareFractionTexts(const TXGridModel &table, S_XSGCell &cell);

// The font of a run of cell (row, col) (a span member: of its master); null when there is none.
S_SGFont *GetRunFont(TXGridModel &table, int row, int col, int number);
// Enters the font and gives the run its id; -1 (the font dropped) when there is no such run.
int SetRunFont(TXGridModel &table, int row, int col, int number, std::unique_ptr<S_SGFont> font);
// The run gets a copy of its font in another colour; the cell is repainted when the id changed.
// Returns the run's font id, -1 when there is no such run or font.
int SetRunFontColour(TXGridModel &table, int row, int col, int number, TColor colour);
// clNone when there is no such run or font.
TColor GetRunFontColour(TXGridModel &table, int row, int col, int number);

// ---- change detection ------------------------------------------------------------------------------

// Copies of the runs of the cell's current list, compacted.
TRunList SnapshotCellTexts(const TXGridModel &table, const S_XSGCell &cell);
// Same number of runs with equal texts and shown bits; both sides are compared compacted, so a layout
// in between does not count as a change.
bool SameCellTexts(const TRunList &snapshot, const TRunList &current);

// ---- text forms ------------------------------------------------------------------------------------
// The cell's text form is
//   merge state|row|end row|col|end col|text height|attributes|bit 0|bits 1-2|bits 3-4|bit 5|bit 6|bit 7$
// then for list 1 and then list 0 the run count and "$", and each run as
//   font|left|top|width|height|run flags|mark word|spare word|run number|text$
// all numbers in decimal; the attributes are the bottom line, right line, colour and edit kind bytes
// as one little-endian 32-bit number, the mark word the mark byte and the first spare byte, the spare
// word the other two spare bytes. The cell's spare byte is not written. There is no escaping: a run
// text may hold "|" (it is the last field), but a "$" in it ends the run, and the form does not come
// back as it was.

AnsiString CellToText(const S_XSGCell &cell);
AnsiString RunToText(const S_SGText &run);
AnsiString CellTextForm(const S_XSGCell &cell);
// Reads a text form into the cell (cleared first). Never reads past the text: missing fields stay 0,
// a field that is not a decimal number reads as 0, a span's row or column outside 16 bits reads as 0,
// the flag fields are masked to their widths, other numbers keep the bits that fit their field, and a
// run count larger than the runs present takes the runs present.
void CellFromTextForm(const AnsiString &text, S_XSGCell &cell);

// id, colour, height, size, style byte and name, joined by the separator.
AnsiString FontToText(const S_SGFont &font, char separator);
// Reads up to six fields in that order; missing fields are left as they were; the size goes through
// SetSize.
void FontFromText(const AnsiString &text, char separator, S_SGFont &font);

// The count, then each colour, in decimal, joined by the separator.
AnsiString ColourTableToText(const S_SGColorTable &table, char separator);
// Reads a count and at most that many colours (never more than 256) into the cleared table; the count
// becomes the number of colours read.
void ColourTableFromText(const AnsiString &text, char separator, S_SGColorTable &table);
