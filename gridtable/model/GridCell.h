#pragma once
// The records behind the grid table: a cell with its span coordinates and attributes, the text runs a
// cell shows in each of the two languages, a row of cells, a row description, a font-table entry and
// the colour table. The fields that the stored screens keep (the cell's and the run's 17 leading
// bytes, the font's 21) are plain fields here; readers and writers of stored forms go field by field.
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/graphics/Graphics.h"

// ---- runs ------------------------------------------------------------------------------------------

// Run flag bits.
enum : std::uint8_t {
    RunImage = 0x01,  // an image of the shared 16 x 16 image list; the font field is its index
    RunShown = 0x02,
    RunKindMask = 0x0C,  // bits 2-3: the run's kind (a new run has kind 1)
    RunKindOne = 0x04,
    RunAlignMask = 0x30,  // bits 4-5: alignment of the line that ends with this run (0 left, 1 centre, 2 right)
    RunAlignShift = 4,
};
// The mark bits that the next-marked-run search looks at.
constexpr std::uint8_t RunMarkBits = 0x03;

// One formatted piece of a cell's text. Before a layout a cell's list holds its runs; after one, the
// pieces the layout made of them (same fields, own rectangle and text).
struct S_SGText {
    std::uint16_t Font = 0;  // font id, or the image index of an image run
    std::uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
    std::uint8_t Flags = RunShown | RunKindOne;
    std::uint8_t Mark = 0;
    std::uint8_t Spare[3] = {0, 0, 0};  // carried and stored, never interpreted
    std::uint16_t Number = 0;           // identifies the run inside its list
    AnsiString Text;

    bool Shown() const { return (Flags & RunShown) != 0; }
    bool IsImage() const { return (Flags & RunImage) != 0; }
    int Alignment() const { return (Flags & RunAlignMask) >> RunAlignShift; }
};

// Same format: equal font ids and equal bytes from the run flags through the run number.
bool SameRunFormat(const S_SGText &a, const S_SGText &b);

using TRunList = std::vector<S_SGText>;

// ---- cells -----------------------------------------------------------------------------------------

// Merge states.
enum : std::uint8_t { CellPlain = 0, CellMaster = 1, CellCovered = 2, CellBottomRight = 3 };

// Cell flag bits.
enum : std::uint8_t {
    CellEditable = 0x01,
    CellFlags12Mask = 0x06,  // a two-bit field carried and written out, not interpreted here
    CellVAlignMask = 0x18,   // bits 3-4: vertical alignment (0 top, 1 centre, 2 bottom)
    CellVAlignShift = 3,
    CellFlag5 = 0x20,    // carried, not interpreted
    CellCompact = 0x40,  // the runs are whole runs, not laid-out pieces
    CellMarked = 0x80,   // painted in the configured mark colour
};

// A cell numbers its rows and columns in 16 bits (and the stored screens keep them so): a table has at
// most 32768 rows and 32768 columns, indexes 0 to 32767. Every step that would take a table past them
// refuses (CheckGridSize).
constexpr int MaxGridRows = 32768;
constexpr int MaxGridCols = 32768;

struct S_XSGCell {
    std::uint8_t MergeState = CellPlain;
    // A span member holds the span's rectangle; a plain cell gets its own row and column written
    // here whenever it is fetched.
    std::int16_t Row = 0, EndRow = 0, Col = 0, EndCol = 0;
    std::uint16_t TextHeight = 0;                            // height of the laid-out text, pixels
    std::uint8_t BottomLineColour = 2, RightLineColour = 2;  // colour-table indexes; 0 the background
    std::uint8_t Colour = 3;
    std::uint8_t EditKind = 4;
    std::uint8_t Flags = CellEditable | CellMarked;
    std::uint8_t Spare = 0;
    TRunList Runs1;  // shown when the table's language flag is 1
    TRunList Runs0;  // shown when it is 0

    bool InSpan() const { return MergeState != CellPlain; }
    int VerticalAlignment() const { return (Flags & CellVAlignMask) >> CellVAlignShift; }
    // Zeroes the merge state and the four span coordinates: the cell leaves its span.
    void ClearSpanFields() { MergeState = 0, Row = EndRow = Col = EndCol = 0; }
};

// Frees both run lists.
void FreeCellTexts(S_XSGCell &cell);
// Frees both run lists and zeroes the 17 leading fields (span, text height, attributes, flags).
void ClearCell(S_XSGCell &cell);

// A row holds its cells by value, one per column.
using S_XSGRow = std::vector<S_XSGCell>;

// ---- row descriptions -----------------------------------------------------------------------------

struct TXRowDescription {
    std::uint32_t Height = 0;  // pixels, without the grid line
    std::uint8_t Selected = 0;
    std::uint8_t Kept = 0;
};

// One description per row, kept parallel to the rows, with the row selection's count and its anchor.
struct TXRowDescriptions {
    std::vector<TXRowDescription> Rows;
    int SelectedCount = 0;
    int ShiftAnchor = -1;  // anchor row of a shift selection, -1 none
};

// ---- fonts -----------------------------------------------------------------------------------------

// Style bits of a font-table entry (not the framework's order).
enum : std::uint8_t { GridFontItalic = 0x01, GridFontBold = 0x02, GridFontUnderline = 0x04, GridFontStrikeOut = 0x08 };

struct S_SGFont {
    std::int32_t Size = 0;       // points
    std::int32_t FirstSize = 0;  // the size it was made with (set by SetSize while still 0)
    TColor Colour = clBlack;
    std::int32_t Id = -1;     // -1 until entered into a table
    std::int32_t Height = 0;  // pixels, as the framework's font gives it
    std::uint8_t Style = 0;
    AnsiString Name;

    void SetSize(int size);
    // Name, size, colour, height and style of a framework font.
    void InitFromTFont(const TFont &font);
};

// Colour, height, size, style byte and name equal; id and first size do not count. A null font is
// never equal.
bool GridFontsEqual(const S_SGFont *a, const S_SGFont *b);
// Puts the entry's colour, height, size (when it has one), style and name into a framework font.
void SelectGridFontInto(TFont &target, const S_SGFont &font);

// ---- colours ---------------------------------------------------------------------------------------

constexpr int GridColourSlots = 256;

struct S_SGColorTable {
    std::int32_t Count = 0;
    TColor Colours[GridColourSlots] = {};

    // A new table holds the four defaults (see InitGridColours).
    S_SGColorTable();
    // Zero entries, every slot zero.
    void Clear();
};

// The four defaults: no colour, button face, black, window colour.
void InitGridColours(S_SGColorTable &table);
