#pragma once
// Builds stored table screens byte by byte from the format, independently of the reader, and writes
// them as a logical file of a compound file.
//
// Records: header ('M' '4', 5 bytes, i32 rows, columns, fixed columns, fixed rows, 8 bytes, i32 font
// count, column widths, row heights), colours (i32 count, u32 each), one record per font (i32 size,
// first size, u32 colour, i32 id, height, u8 style, i32 name length, name), then one record per cell
// row by row (u8 merge state, i16 row, end row, column, end column, u16 text height, u8 bottom line,
// right line, colour, edit kind, flags, spare, then list 1 and list 0, each an i32 count and runs of
// u16 font, left, top, width, height, u8 flags, mark, 3 spare bytes, u16 number, i32 text length and
// the text).
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/CompoundFileBuilder.h"

namespace testdata {

struct ScreenRun {
    uint16_t font = 0;  // stored font position, or image index
    uint16_t left = 0, top = 0, width = 0, height = 0;
    uint8_t flags = 0x06;  // shown, kind 1
    uint8_t mark = 0;
    uint8_t spare[3] = {0, 0, 0};
    uint16_t number = 1;
    std::string text;
};

struct ScreenCell {
    uint8_t merge = 0;
    int16_t row = 0, endRow = 0, col = 0, endCol = 0;
    uint16_t textHeight = 0;
    uint8_t bottomLine = 2, rightLine = 2, colour = 3, editKind = 4, flags = 0x01, spare = 0;
    std::vector<ScreenRun> runs1, runs0;
};

struct ScreenFont {
    int32_t size = 10, firstSize = 10;
    uint32_t colour = 0;
    int32_t id = 0;
    int32_t height = -13;
    uint8_t style = 0;
    std::string name = "Arial";
};

class GridScreenBuilder {
public:
    // rows x columns of plain cells, widths 64, heights 20, the four default colours, no font.
    GridScreenBuilder(int32_t rows, int32_t cols);

    int32_t rows, cols;
    int32_t fixedRows = 0, fixedCols = 0;
    int32_t fontCountOverride = -1;  // >= 0: the font count written instead of fonts.size()
    std::vector<int32_t> widths, heights;
    std::vector<uint32_t> colours;
    std::vector<ScreenFont> fonts;
    std::vector<ScreenCell> cells;  // row by row

    ScreenCell &Cell(int r, int c) { return cells.at(static_cast<size_t>(r) * cols + c); }
    // Marks the rectangle a span: the master at its top left, the bottom-right cell, the others covered,
    // each with the span's coordinates.
    void Span(int top, int left, int bottom, int right);

    Bytes HeaderRecord() const;
    Bytes ColourRecord() const;
    Bytes FontRecord(const ScreenFont &font) const;
    Bytes CellRecord(const ScreenCell &cell) const;
    static Bytes RunBytes(const ScreenRun &run);
    // Header, colours, fonts, cells.
    std::vector<Bytes> Records() const;

    // Writes the records as the chain of logical file n. With scattered, a deleted record stands after
    // every third record and the chain jumps over garbage through a link halfway.
    void WriteInto(CompoundFileBuilder &file, uint32_t n, bool scattered = false) const;
    // A compound file of `files` logical files holding the screen as logical file n.
    Bytes File(uint32_t n, uint32_t files, bool scattered = false) const;
};

}  // namespace testdata
