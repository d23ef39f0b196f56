#include "tests/support/GridScreenBuilder.h"

#include "base/memory/Bytes.h"

namespace testdata {

namespace {

void Put8(Bytes &out, uint8_t v) { out.push_back(v); }
void Put16(Bytes &out, uint16_t v) { AppendU16(out, v); }
void Put32(Bytes &out, uint32_t v) { AppendU32(out, v); }
void PutText(Bytes &out, const std::string &text)
{
    Put32(out, static_cast<uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

GridScreenBuilder::GridScreenBuilder(int32_t rows, int32_t cols)
    : rows(rows), cols(cols), widths(static_cast<size_t>(cols > 0 ? cols : 0), 64),
      heights(static_cast<size_t>(rows > 0 ? rows : 0), 20), colours{0x1FFFFFFF, 0x8000000F, 0x000000, 0x80000005},
      cells(static_cast<size_t>(rows > 0 && cols > 0 ? rows * cols : 0))
{}

void GridScreenBuilder::Span(int top, int left, int bottom, int right)
{
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            ScreenCell &cell = Cell(r, c);
            cell.merge = r == top && c == left ? 1 : r == bottom && c == right ? 3 : 2;
            cell.row = static_cast<int16_t>(top);
            cell.endRow = static_cast<int16_t>(bottom);
            cell.col = static_cast<int16_t>(left);
            cell.endCol = static_cast<int16_t>(right);
        }
    }
}

Bytes GridScreenBuilder::HeaderRecord() const
{
    Bytes h{'M', '4', 0xA1, 0xA2, 0xA3, 0xA4, 0xA5};  // five bytes nobody reads
    Put32(h, static_cast<uint32_t>(rows));
    Put32(h, static_cast<uint32_t>(cols));
    Put32(h, static_cast<uint32_t>(fixedCols));
    Put32(h, static_cast<uint32_t>(fixedRows));
    for (int i = 0; i < 8; ++i)
        Put8(h, static_cast<uint8_t>(0xB0 + i));
    Put32(h, static_cast<uint32_t>(fontCountOverride >= 0 ? fontCountOverride : static_cast<int32_t>(fonts.size())));
    for (int32_t w : widths)
        Put32(h, static_cast<uint32_t>(w));
    for (int32_t ht : heights)
        Put32(h, static_cast<uint32_t>(ht));
    return h;
}

Bytes GridScreenBuilder::ColourRecord() const
{
    Bytes out;
    Put32(out, static_cast<uint32_t>(colours.size()));
    for (uint32_t c : colours)
        Put32(out, c);
    return out;
}

Bytes GridScreenBuilder::FontRecord(const ScreenFont &font) const
{
    Bytes out;
    Put32(out, static_cast<uint32_t>(font.size));
    Put32(out, static_cast<uint32_t>(font.firstSize));
    Put32(out, font.colour);
    Put32(out, static_cast<uint32_t>(font.id));
    Put32(out, static_cast<uint32_t>(font.height));
    Put8(out, font.style);
    PutText(out, font.name);
    return out;
}

Bytes GridScreenBuilder::RunBytes(const ScreenRun &run)
{
    Bytes out;
    Put16(out, run.font);
    Put16(out, run.left);
    Put16(out, run.top);
    Put16(out, run.width);
    Put16(out, run.height);
    Put8(out, run.flags);
    Put8(out, run.mark);
    for (uint8_t s : run.spare)
        Put8(out, s);
    Put16(out, run.number);
    PutText(out, run.text);
    return out;
}

Bytes GridScreenBuilder::CellRecord(const ScreenCell &cell) const
{
    Bytes out;
    Put8(out, cell.merge);
    Put16(out, static_cast<uint16_t>(cell.row));
    Put16(out, static_cast<uint16_t>(cell.endRow));
    Put16(out, static_cast<uint16_t>(cell.col));
    Put16(out, static_cast<uint16_t>(cell.endCol));
    Put16(out, cell.textHeight);
    Put8(out, cell.bottomLine);
    Put8(out, cell.rightLine);
    Put8(out, cell.colour);
    Put8(out, cell.editKind);
    Put8(out, cell.flags);
    Put8(out, cell.spare);
    for (const std::vector<ScreenRun> *runs : {&cell.runs1, &cell.runs0}) {
        Put32(out, static_cast<uint32_t>(runs->size()));
        for (const ScreenRun &run : *runs) {
            const Bytes bytes = RunBytes(run);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
    }
    return out;
}

std::vector<Bytes> GridScreenBuilder::Records() const
{
    std::vector<Bytes> records{HeaderRecord(), ColourRecord()};
    for (const ScreenFont &font : fonts)
        records.push_back(FontRecord(font));
    for (const ScreenCell &cell : cells)
        records.push_back(CellRecord(cell));
    return records;
}

void GridScreenBuilder::WriteInto(CompoundFileBuilder &file, uint32_t n, bool scattered) const
{
    const std::vector<Bytes> records = Records();
    if (!scattered) {
        file.Commit(n, records);
        return;
    }
    const uint32_t first = file.Here();
    for (size_t i = 0; i < records.size(); ++i) {
        const uint32_t at = file.Record(records[i]);
        if (i % 3 == 2)
            file.Record(B("deleted in between"), kDeleted);
        if (i == records.size() / 2) {
            file.Gap(B("bytes that are no record"));
            file.SetLink(at, file.Here());
        }
    }
    file.EndRecord();
    file.SetEntry(n, first, file.Here() - first);
}

Bytes GridScreenBuilder::File(uint32_t n, uint32_t files, bool scattered) const
{
    CompoundFileBuilder file = CompoundFileBuilder::Created(files);
    WriteInto(file, n, scattered);
    return file.Build();
}

}  // namespace testdata
