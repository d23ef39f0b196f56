// Text forms of cells, runs, fonts and the colour table.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "gridtable/model/UXGridTabService.h"

namespace {

// A decimal number with an optional minus sign and nothing else; anything else, or a number beyond
// 64 bits, reads as 0. Callers keep the bits that fit their field.
std::int64_t ReadNumber(std::string_view field)
{
    size_t i = 0;
    const bool negative = !field.empty() && field[0] == '-';
    if (negative)
        i = 1;
    if (i == field.size())
        return 0;
    std::uint64_t value = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9')
            return 0;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return 0;
        value = value * 10 + digit;
    }
    // Negated as an unsigned number: only the low bits are kept anyway.
    return static_cast<std::int64_t>(negative ? 0 - value : value);
}

// Splits at the separator into at most `limit` fields; the last one keeps the rest of the text.
std::vector<std::string_view> SplitFields(std::string_view text, char separator, size_t limit)
{
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < limit) {
        const size_t at = text.find(separator);
        if (at == std::string_view::npos)
            break;
        fields.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    fields.push_back(text);
    return fields;
}

std::int64_t FieldAt(const std::vector<std::string_view> &fields, size_t i)
{
    return i < fields.size() ? ReadNumber(fields[i]) : 0;
}

template <class T>
T Narrow(std::int64_t value)
{
    return static_cast<T>(static_cast<std::uint64_t>(value));
}

// A row or column of a span: a number the cell's 16 bits cannot hold names no cell of any table and
// reads as 0, as a field that is no number does (its low bits would name another cell).
std::int16_t CellCoordinate(std::int64_t value)
{
    return value >= INT16_MIN && value <= INT16_MAX ? static_cast<std::int16_t>(value) : 0;
}

constexpr size_t CellFields = 13, RunFields = 10, FontFields = 6;

S_SGText RunFromText(std::string_view text)
{
    const std::vector<std::string_view> f = SplitFields(text, '|', RunFields);
    S_SGText run;
    run.Font = Narrow<std::uint16_t>(FieldAt(f, 0));
    run.Left = Narrow<std::uint16_t>(FieldAt(f, 1));
    run.Top = Narrow<std::uint16_t>(FieldAt(f, 2));
    run.Width = Narrow<std::uint16_t>(FieldAt(f, 3));
    run.Height = Narrow<std::uint16_t>(FieldAt(f, 4));
    run.Flags = Narrow<std::uint8_t>(FieldAt(f, 5));
    const auto markWord = Narrow<std::uint16_t>(FieldAt(f, 6));
    const auto spareWord = Narrow<std::uint16_t>(FieldAt(f, 7));
    run.Mark = static_cast<std::uint8_t>(markWord);
    run.Spare[0] = static_cast<std::uint8_t>(markWord >> 8);
    run.Spare[1] = static_cast<std::uint8_t>(spareWord);
    run.Spare[2] = static_cast<std::uint8_t>(spareWord >> 8);
    run.Number = Narrow<std::uint16_t>(FieldAt(f, 8));
    run.Text = f.size() >= RunFields ? AnsiString(f[RunFields - 1]) : AnsiString();
    return run;
}

}  // namespace

AnsiString CellToText(const S_XSGCell &cell)
{
    const std::uint32_t attributes = cell.BottomLineColour | (cell.RightLineColour << 8) | (cell.Colour << 16) |
                                     (static_cast<std::uint32_t>(cell.EditKind) << 24);
    const std::uint8_t f = cell.Flags;
    const std::int64_t fields[CellFields] = {cell.MergeState, cell.Row,     cell.EndRow, cell.Col,     cell.EndCol,
                                             cell.TextHeight, attributes,   f & 1,       (f >> 1) & 3, (f >> 3) & 3,
                                             (f >> 5) & 1,    (f >> 6) & 1, (f >> 7) & 1};
    AnsiString text;
    for (size_t i = 0; i < CellFields; ++i) {
        if (i)
            text += '|';
        text += IntToStr(fields[i]);
    }
    return text;
}

AnsiString RunToText(const S_SGText &run)
{
    const unsigned markWord = run.Mark | (run.Spare[0] << 8);
    const unsigned spareWord = run.Spare[1] | (run.Spare[2] << 8);
    const unsigned fields[RunFields - 1] = {run.Font,  run.Left, run.Top,   run.Width, run.Height,
                                            run.Flags, markWord, spareWord, run.Number};
    AnsiString text;
    for (unsigned value : fields)
        text += UIntToStr(value) + '|';
    return text + run.Text;
}

AnsiString CellTextForm(const S_XSGCell &cell)
{
    AnsiString text = CellToText(cell) + '$';
    for (const TRunList *runs : {&cell.Runs1, &cell.Runs0}) {
        text += UIntToStr(runs->size()) + '$';
        for (const S_SGText &run : *runs)
            text += RunToText(run) + '$';
    }
    return text;
}

void CellFromTextForm(const AnsiString &text, S_XSGCell &cell)
{
    ClearCell(cell);
    const std::vector<std::string_view> parts = SplitFields(text, '$', SIZE_MAX);
    const std::vector<std::string_view> f = SplitFields(parts[0], '|', CellFields);
    cell.MergeState = Narrow<std::uint8_t>(FieldAt(f, 0));
    cell.Row = CellCoordinate(FieldAt(f, 1));
    cell.EndRow = CellCoordinate(FieldAt(f, 2));
    cell.Col = CellCoordinate(FieldAt(f, 3));
    cell.EndCol = CellCoordinate(FieldAt(f, 4));
    cell.TextHeight = Narrow<std::uint16_t>(FieldAt(f, 5));
    const auto attributes = Narrow<std::uint32_t>(FieldAt(f, 6));
    cell.BottomLineColour = static_cast<std::uint8_t>(attributes);
    cell.RightLineColour = static_cast<std::uint8_t>(attributes >> 8);
    cell.Colour = static_cast<std::uint8_t>(attributes >> 16);
    cell.EditKind = static_cast<std::uint8_t>(attributes >> 24);
    // The last field may carry what follows it; only its number counts.
    std::string_view last = f.size() >= CellFields ? f[CellFields - 1] : std::string_view();
    last = last.substr(0, last.find('|'));
    cell.Flags = static_cast<std::uint8_t>((FieldAt(f, 7) & 1) | ((FieldAt(f, 8) & 3) << 1) |
                                           ((FieldAt(f, 9) & 3) << 3) | ((FieldAt(f, 10) & 1) << 5) |
                                           ((FieldAt(f, 11) & 1) << 6) | ((ReadNumber(last) & 1) << 7));
    size_t next = 1;
    for (TRunList *runs : {&cell.Runs1, &cell.Runs0}) {
        if (next >= parts.size())
            break;
        std::int64_t count = std::max<std::int64_t>(ReadNumber(parts[next++]), 0);
        for (; count > 0 && next < parts.size(); --count) {
            // The text ends with "$", so the piece after the last one is empty and no run.
            if (next + 1 == parts.size() && parts[next].empty())
                break;
            runs->push_back(RunFromText(parts[next++]));
        }
    }
}

AnsiString FontToText(const S_SGFont &font, char separator)
{
    return IntToStr(font.Id) + separator + UIntToStr(font.Colour) + separator + IntToStr(font.Height) + separator +
           IntToStr(font.Size) + separator + UIntToStr(font.Style) + separator + font.Name;
}

void FontFromText(const AnsiString &text, char separator, S_SGFont &font)
{
    std::vector<std::string_view> f = SplitFields(text, separator, FontFields + 1);
    if (f.size() > FontFields)
        f.resize(FontFields);
    if (f.size() > 0)
        font.Id = Narrow<std::int32_t>(ReadNumber(f[0]));
    if (f.size() > 1)
        font.Colour = Narrow<TColor>(ReadNumber(f[1]));
    if (f.size() > 2)
        font.Height = Narrow<std::int32_t>(ReadNumber(f[2]));
    if (f.size() > 3)
        font.SetSize(Narrow<std::int32_t>(ReadNumber(f[3])));
    if (f.size() > 4)
        font.Style = Narrow<std::uint8_t>(ReadNumber(f[4]));
    if (f.size() > 5)
        font.Name = AnsiString(f[5]);
}

AnsiString ColourTableToText(const S_SGColorTable &table, char separator)
{
    const int count = std::clamp(table.Count, 0, GridColourSlots);
    AnsiString text = IntToStr(count);
    for (int i = 0; i < count; ++i)
        text += separator + UIntToStr(table.Colours[i]);
    return text;
}

void ColourTableFromText(const AnsiString &text, char separator, S_SGColorTable &table)
{
    table.Clear();
    const std::vector<std::string_view> f = SplitFields(text, separator, GridColourSlots + 2);
    const std::int64_t wanted = std::clamp<std::int64_t>(ReadNumber(f[0]), 0, GridColourSlots);
    int count = 0;
    // Fields 1 to 256 are whole fields: whatever lies beyond stays in the last one, never read.
    for (size_t i = 1; i < f.size() && count < wanted; ++i)
        table.Colours[count++] = Narrow<TColor>(ReadNumber(f[i]));
    table.Count = count;
}
