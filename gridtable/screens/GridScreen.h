#pragma once
// Stored table screens: a grid table's rows, columns, sizes, colours, fonts and cells with their texts
// in both languages, kept as one logical file per screen number in the compound file "Riza.sfr" of the
// configuration folder. The records, in order (numbers little-endian):
//   header   'M' '4', 5 bytes, i32 rows R, i32 columns C, i32 fixed columns, i32 fixed rows, 8 bytes,
//            i32 font count F, C x i32 column widths, R x i32 row heights (pixels, without the line)
//   colours  i32 count (0-256), count x u32 colour
//   F fonts  i32 size, i32 first size, u32 colour, i32 id (ignored), i32 height, u8 style, i32 name
//            length, the name
//   R x C cells, row by row: the 17 leading bytes of a cell (merge state, i16 row, end row, column,
//            end column, u16 text height, u8 bottom line, right line, colour, edit kind, flags,
//            spare), then i32 count and that many runs of list 1, then the same for list 0
//   a run    u16 font (image index for an image run), u16 left, top, width, height, u8 flags, u8 mark,
//            3 spare bytes, u16 number, i32 text length, the text
//
// Reading is in two steps. The records are parsed from byte spans into a staging screen and checked
// whole (every length against its record, the counts, the spans); only a screen that passes changes
// the table. Anything else counts as a missing screen.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/memory/Bytes.h"
#include "framework/runtime/AnsiString.h"
#include "gridtable/model/GridCell.h"

class WFile;
struct TXGridModel;

// The header: its 35 stored bytes and the two size arrays it owns.
struct STabDescription {
    static constexpr std::uint32_t StoredSize = 35;

    std::uint8_t Stored[StoredSize] = {'M', '4'};
    std::int32_t RowCount = 0, ColCount = 0, FixedCols = 0, FixedRows = 0, FontCount = 0;
    std::vector<std::int32_t> ColWidths, RowHeights;
};

// One screen read and checked, not yet applied.
struct SGridScreen {
    STabDescription Header;
    S_SGColorTable Colours;
    std::vector<S_SGFont> Fonts;   // in stored order; ids not given yet
    std::vector<S_XSGCell> Cells;  // row by row
};

// Where the records of one screen come from, one after another.
class IScreenRecords {
public:
    virtual ~IScreenRecords() = default;
    // The next record's bytes, valid until the next call; false when there is none.
    virtual bool Next(std::span<const std::uint8_t> &record) = 0;
};

// ---- parsing: each false means a damaged screen ---------------------------------------------------

// The record begins with 'M', '4'.
bool IsScreenHeader(std::span<const std::uint8_t> record);
// The 35 bytes and the sizes; false for a record too short for them, a row or column count below 1,
// a negative font count, fixed counts outside 0 to count - 1, or a width or height outside -1 (hidden)
// to 32767. Counts beyond what a table can hold (MaxGridRows, MaxGridCols) raise
// EInvalidGridOperation, naming the limit; the header is left as it was.
bool ReadScreenHeader(std::span<const std::uint8_t> record, STabDescription &header);
// A count of 0-256 and that many colours.
bool ReadScreenColours(std::span<const std::uint8_t> record, S_SGColorTable &colours);
bool ReadFontRecord(std::span<const std::uint8_t> record, S_SGFont &font);
// One run at the reader's position, the reader moved past it.
bool ReadRunRecord(TByteReader &reader, S_SGText &run);
// The cell's 17 leading bytes and both run lists (into a cell whose lists are empty).
bool ReadCellRecord(std::span<const std::uint8_t> record, S_XSGCell &cell);
// The spans hold together: merge states 0-3, and every member's span lies inside the table, contains
// the member, and has at its first cell a master with the same coordinates.
bool CheckScreenSpans(const SGridScreen &screen);
// The next `count` records as fonts.
bool ReadScreenFonts(IScreenRecords &records, std::int32_t count, std::vector<S_SGFont> &fonts);
// The next rows x cols records as cells, row by row.
bool ReadScreenCells(IScreenRecords &records, std::int32_t rows, std::int32_t cols, std::vector<S_XSGCell> &cells);
// Every record of a screen, in order; false for a missing or damaged screen. A header of more rows
// or columns than a table can hold raises EInvalidGridOperation (the screen left as it was).
bool ReadGridScreen(IScreenRecords &records, SGridScreen &screen);

// ---- the table side ---------------------------------------------------------------------------------

// What a table keeps about where its screen comes from.
struct TXGridScreenSource {
    TXGridScreenSource();
    ~TXGridScreenSource();
    TXGridScreenSource(const TXGridScreenSource &) = delete;
    TXGridScreenSource &operator=(const TXGridScreenSource &) = delete;

    int NumFileScreen = 0;
    bool Designing = false;
    // The file the table reads: the shared screens storage (RizaFile) or the table's own.
    WFile *Storage = nullptr;
    bool ReadsShared = false;
    std::unique_ptr<WFile> Own;
    WFile *SharedBefore = nullptr;  // the shared pointer before a design-mode load replaced it
    bool EditorCreated = false;
};

// Loads screen NumFileScreen into the table. A missing or damaged screen, or a storage error, changes
// nothing in the table (designing, the user is told which screen does not exist). At run time the
// editor form is made once, after the first load, and the first editable cell becomes the current one.
// Returns true when the screen was loaded. A screen of more rows or columns than a table can hold is
// refused: EInvalidGridOperation, naming the limit, with the storage closed as after any load and
// nothing of the table changed (no editor made either).
bool LoadGridScreen(TXGridModel &table, TXGridScreenSource &source);
// Makes source.Storage the file to read and opens its logical file `screen`: at run time the shared
// storage (opened read-only and kept when nobody has opened it), designing a new file on the
// configuration folder's "Riza.sfr" put into the shared pointer for the load. Storage errors pass.
void OpenScreenStorage(TXGridScreenSource &source, int screen, bool designing);
// Frees the storage when it is the table's own or the table is designing; the shared storage opened
// at run time stays open.
void CloseScreenStorage(TXGridScreenSource &source);
// Opens a file in the simple form as the table's own storage (freeing the one it had).
void OpenScreenFile(TXGridScreenSource &source, const AnsiString &path);
// The file a table reads its screens from in design mode: "Riza.sfr" in the configuration folder (in
// the native build, which has no folders, the bare name in the store system).
AnsiString DesignScreenFileName();
// Closes the shared screens storage that a load opened at run time, if any (the end of the program, or
// a test that changes the files under it).
void CloseSharedScreenStorage();

// Puts a checked screen into the table: sizes, cells, colours, fonts (stored duplicates keep their
// meaning: runs are renumbered to the ids the fonts got), then the per-cell fix-ups.
void ApplyGridScreen(TXGridModel &table, SGridScreen &screen, bool designing);
// A date cell (edit kind 6) keeps only the first run of each list, hidden and numbered 1.
void TrimDateCellRuns(S_XSGCell &cell);
// With moving allowed, the first editable cell outside the fixed rows and columns, row by row, becomes
// the current one unless the current one is editable and outside them too; sets the table's has-editable flag. Returns
// whether there is an editable cell.
bool FindEditableCell(TXGridModel &table, bool move);

// The message of a missing screen in design mode.
AnsiString MissingScreenText(int screen);
