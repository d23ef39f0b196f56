// Parsing and checking of stored table screens: byte spans in, a staging screen out. Nothing here
// touches a table.
#include "gridtable/screens/GridScreen.h"

#include <cstring>

#include "gridtable/model/UXGridTabService.h"

namespace {

constexpr std::uint32_t CellLeadingSize = 17;
constexpr std::uint32_t RunLeadingSize = 17;
constexpr std::uint32_t FontLeadingSize = 21;
// A column width or row height in pixels: -1 hides the column or row; a size beyond 32767 is no size a
// screen was made with, and the table's totals must stay within an int.
constexpr int MinStoredSize = -1;
constexpr int MaxStoredSize = 32767;

bool ReadI32(TByteReader &reader, std::int32_t &value)
{
    std::uint32_t word = 0;
    if (!reader.ReadU32(word))
        return false;
    value = static_cast<std::int32_t>(word);
    return true;
}

bool ReadI16(TByteReader &reader, std::int16_t &value)
{
    std::uint16_t word = 0;
    if (!reader.ReadU16(word))
        return false;
    value = static_cast<std::int16_t>(word);
    return true;
}

// An i32 length and that many bytes of text, all inside the data.
bool ReadCountedText(TByteReader &reader, AnsiString &text)
{
    std::int32_t length = 0;
    std::string_view bytes;
    if (!ReadI32(reader, length) || length < 0 || !reader.ReadText(static_cast<std::size_t>(length), bytes))
        return false;
    text.assign(bytes);
    return true;
}

bool ReadRunList(TByteReader &reader, TRunList &runs)
{
    std::int32_t count = 0;
    if (!ReadI32(reader, count) || count < 0)
        return false;
    // Each run takes at least its leading bytes and its length: a count the record cannot hold fails
    // here, before anything is reserved for it.
    if (static_cast<std::uint64_t>(count) * (RunLeadingSize + 4) > reader.Remaining())
        return false;
    runs.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        S_SGText run;
        if (!ReadRunRecord(reader, run))
            return false;
        runs.push_back(std::move(run));
    }
    return true;
}

bool Within(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

bool IsScreenHeader(std::span<const std::uint8_t> record)
{
    return record.size() >= 2 && record[0] == 'M' && record[1] == '4';
}

bool ReadScreenHeader(std::span<const std::uint8_t> record, STabDescription &header)
{
    if (!IsScreenHeader(record) || record.size() < STabDescription::StoredSize)
        return false;
    TByteReader reader(record);
    STabDescription read;
    reader.ReadInto(read.Stored, STabDescription::StoredSize);
    reader.Seek(7);
    ReadI32(reader, read.RowCount);
    ReadI32(reader, read.ColCount);
    ReadI32(reader, read.FixedCols);
    ReadI32(reader, read.FixedRows);
    reader.Seek(31);
    ReadI32(reader, read.FontCount);
    if (read.RowCount < 1 || read.ColCount < 1 || read.FontCount < 0 || !Within(read.FixedCols, 0, read.ColCount - 1) ||
        !Within(read.FixedRows, 0, read.RowCount - 1))
        return false;
    // A screen of more rows or columns than a table can number is no damage to pass over as a missing
    // screen: it is refused by name, before its sizes (which no record can hold) are looked at.
    CheckGridSize(read.RowCount, read.ColCount);
    const std::uint64_t sizes = 4ull * (static_cast<std::uint64_t>(read.ColCount) + read.RowCount);
    if (sizes > reader.Remaining())
        return false;
    read.ColWidths.resize(static_cast<std::size_t>(read.ColCount));
    read.RowHeights.resize(static_cast<std::size_t>(read.RowCount));
    for (std::int32_t &width : read.ColWidths)
        ReadI32(reader, width);
    for (std::int32_t &height : read.RowHeights)
        ReadI32(reader, height);
    for (const auto *sizes : {&read.ColWidths, &read.RowHeights})
        for (std::int32_t size : *sizes)
            if (!Within(size, MinStoredSize, MaxStoredSize))
                return false;
    header = std::move(read);
    return true;
}

bool ReadScreenColours(std::span<const std::uint8_t> record, S_SGColorTable &colours)
{
    TByteReader reader(record);
    std::int32_t count = 0;
    if (!ReadI32(reader, count) || !Within(count, 0, GridColourSlots) ||
        !reader.Has(4 * static_cast<std::size_t>(count)))
        return false;
    colours.Clear();
    colours.Count = count;
    for (std::int32_t i = 0; i < count; ++i)
        colours.Colours[i] = static_cast<TColor>(reader.U32());
    return true;
}

bool ReadFontRecord(std::span<const std::uint8_t> record, S_SGFont &font)
{
    TByteReader reader(record);
    if (!reader.Has(FontLeadingSize))
        return false;
    S_SGFont read;
    ReadI32(reader, read.Size);
    ReadI32(reader, read.FirstSize);
    read.Colour = static_cast<TColor>(reader.U32());
    ReadI32(reader, read.Id);
    ReadI32(reader, read.Height);
    reader.ReadU8(read.Style);
    if (!ReadCountedText(reader, read.Name))
        return false;
    read.Id = -1;  // a font gets its id when it is entered into the table
    font = std::move(read);
    return true;
}

bool ReadRunRecord(TByteReader &reader, S_SGText &run)
{
    if (!reader.Has(RunLeadingSize))
        return false;
    const std::size_t start = reader.Position();
    S_SGText read;
    reader.ReadU16(read.Font);
    reader.ReadU16(read.Left);
    reader.ReadU16(read.Top);
    reader.ReadU16(read.Width);
    reader.ReadU16(read.Height);
    reader.ReadU8(read.Flags);
    reader.ReadU8(read.Mark);
    reader.ReadInto(read.Spare, sizeof read.Spare);
    reader.ReadU16(read.Number);
    if (!ReadCountedText(reader, read.Text)) {
        reader.Seek(start);
        return false;
    }
    run = std::move(read);
    return true;
}

bool ReadCellRecord(std::span<const std::uint8_t> record, S_XSGCell &cell)
{
    TByteReader reader(record);
    if (!reader.Has(CellLeadingSize))
        return false;
    S_XSGCell read;
    reader.ReadU8(read.MergeState);
    ReadI16(reader, read.Row);
    ReadI16(reader, read.EndRow);
    ReadI16(reader, read.Col);
    ReadI16(reader, read.EndCol);
    reader.ReadU16(read.TextHeight);
    reader.ReadU8(read.BottomLineColour);
    reader.ReadU8(read.RightLineColour);
    reader.ReadU8(read.Colour);
    reader.ReadU8(read.EditKind);
    reader.ReadU8(read.Flags);
    reader.ReadU8(read.Spare);
    if (!ReadRunList(reader, read.Runs1) || !ReadRunList(reader, read.Runs0))
        return false;
    cell = std::move(read);
    return true;
}

bool CheckScreenSpans(const SGridScreen &screen)
{
    const int rows = screen.Header.RowCount, cols = screen.Header.ColCount;
    if (screen.Cells.size() != static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols))
        return false;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const S_XSGCell &cell = screen.Cells[static_cast<std::size_t>(r) * cols + c];
            if (cell.MergeState == CellPlain)
                continue;
            if (cell.MergeState > CellBottomRight)
                return false;
            if (!Within(cell.Row, 0, cell.EndRow) || cell.EndRow >= rows || !Within(cell.Col, 0, cell.EndCol) ||
                cell.EndCol >= cols)
                return false;
            if (!Within(r, cell.Row, cell.EndRow) || !Within(c, cell.Col, cell.EndCol))
                return false;
            if (cell.MergeState == CellMaster && (cell.Row != r || cell.Col != c))
                return false;
            const S_XSGCell &master = screen.Cells[static_cast<std::size_t>(cell.Row) * cols + cell.Col];
            if (master.MergeState != CellMaster || master.Row != cell.Row || master.EndRow != cell.EndRow ||
                master.Col != cell.Col || master.EndCol != cell.EndCol)
                return false;
        }
    }
    return true;
}

bool ReadScreenFonts(IScreenRecords &records, std::int32_t count, std::vector<S_SGFont> &fonts)
{
    std::span<const std::uint8_t> record;
    for (std::int32_t i = 0; i < count; ++i) {
        S_SGFont font;
        if (!records.Next(record) || !ReadFontRecord(record, font))
            return false;
        fonts.push_back(std::move(font));
    }
    return true;
}

bool ReadScreenCells(IScreenRecords &records, std::int32_t rows, std::int32_t cols, std::vector<S_XSGCell> &cells)
{
    std::span<const std::uint8_t> record;
    const std::int64_t count = static_cast<std::int64_t>(rows) * cols;
    for (std::int64_t i = 0; i < count; ++i) {
        S_XSGCell cell;
        if (!records.Next(record) || !ReadCellRecord(record, cell))
            return false;
        cells.push_back(std::move(cell));
    }
    return true;
}

bool ReadGridScreen(IScreenRecords &records, SGridScreen &screen)
{
    SGridScreen read;
    std::span<const std::uint8_t> record;
    if (!records.Next(record) || !ReadScreenHeader(record, read.Header))
        return false;
    if (!records.Next(record) || !ReadScreenColours(record, read.Colours))
        return false;
    if (!ReadScreenFonts(records, read.Header.FontCount, read.Fonts) ||
        !ReadScreenCells(records, read.Header.RowCount, read.Header.ColCount, read.Cells) || !CheckScreenSpans(read))
        return false;
    screen = std::move(read);
    return true;
}
