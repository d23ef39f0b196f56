// The table's font table and colour table.
#include <algorithm>
#include <cstdlib>

#include "gridtable/model/UXGridTabService.h"

namespace {

const char *const TooManyColours = "В таблице не может быть более 256 разных цветов!";

}  // namespace

// ---- fonts -----------------------------------------------------------------------------------------

int FindEqualGridFont(const TXGridModel &table, const S_SGFont *font)
{
    for (const auto &entry : table.Fonts)
        if (GridFontsEqual(entry.get(), font))
            return entry->Id;
    return -1;
}

S_SGFont *FindGridFontById(const TXGridModel &table, int id)
{
    if (id < 0)
        return nullptr;
    auto it = std::lower_bound(table.Fonts.begin(), table.Fonts.end(), id,
                               [](const std::unique_ptr<S_SGFont> &f, int wanted) { return f->Id < wanted; });
    return it != table.Fonts.end() && (*it)->Id == id ? it->get() : nullptr;
}

S_SGFont *GridFontAt(const TXGridModel &table, int index)
{
    return index >= 0 && index < static_cast<int>(table.Fonts.size()) ? table.Fonts[index].get() : nullptr;
}

int GetGridFontCount(const TXGridModel &table) { return static_cast<int>(table.Fonts.size()); }

int AddGridFont(TXGridModel &table, std::unique_ptr<S_SGFont> font, bool useOwnId)
{
    if (!font)
        return -1;
    const int equal = FindEqualGridFont(table, font.get());
    if (equal >= 0)
        return equal;  // the new font is freed here
    auto &fonts = table.Fonts;
    if (useOwnId && font->Id >= 0 && FindGridFontById(table, font->Id) == nullptr) {
        auto at = std::upper_bound(fonts.begin(), fonts.end(), font->Id,
                                   [](int id, const std::unique_ptr<S_SGFont> &f) { return id < f->Id; });
        const int id = font->Id;
        fonts.insert(at, std::move(font));
        return id;
    }
    // The first id not in use: where the sorted ids leave a gap, else after the last.
    int id = 0;
    size_t at = 0;
    while (at < fonts.size() && fonts[at]->Id == id) {
        ++id;
        ++at;
    }
    font->Id = id;
    fonts.insert(fonts.begin() + static_cast<std::ptrdiff_t>(at), std::move(font));
    return id;
}

void ClearGridFonts(TXGridModel &table) { table.Fonts.clear(); }

S_SGFont *CurrentGridFont(const TXGridModel &table) { return FindGridFontById(table, table.CurrentFontId); }

std::unique_ptr<S_SGFont> CreateGridFont(const AnsiString &name, int size, TColor colour, bool strikeOut,
                                         bool underline, bool italic, bool bold, int height)
{
    auto font = std::make_unique<S_SGFont>();
    font->Name = name;
    font->SetSize(size);
    font->Colour = colour;
    font->Height = height;
    font->Style = static_cast<std::uint8_t>((italic ? GridFontItalic : 0) | (bold ? GridFontBold : 0) |
                                            (underline ? GridFontUnderline : 0) | (strikeOut ? GridFontStrikeOut : 0));
    return font;
}

std::unique_ptr<S_SGFont> CloneGridFont(const S_SGFont &font)
{
    auto copy = std::make_unique<S_SGFont>(font);
    copy->Id = -1;
    return copy;
}

std::unique_ptr<S_SGFont> GridFontFromTFont(const TFont &font)
{
    auto entry = std::make_unique<S_SGFont>();
    entry->InitFromTFont(font);
    return entry;
}

void RescaleGridFontsForDpi(TXGridModel &table, int screenDensity, int designDensity, int pixelsPerInch)
{
    if (screenDensity <= 0 || designDensity <= 0 || pixelsPerInch <= 0)
        return;
    for (const auto &font : table.Fonts) {
        const int scaled = static_cast<int>(static_cast<long long>(font->Size) * screenDensity / designDensity);
        font->SetSize(MulDivRound(scaled, 1440 / pixelsPerInch, 15));
        TFont measure;
        measure.SetPixelsPerInch(pixelsPerInch);
        measure.SetSize(font->Size);
        font->Height = std::abs(measure.Height());
    }
}

// ---- colours ---------------------------------------------------------------------------------------

int AddGridColour(TXGridModel &table, TColor colour)
{
    S_SGColorTable &colours = table.Colours;
    const int count = std::clamp(colours.Count, 0, GridColourSlots);
    for (int i = 0; i < count; ++i)
        if (colours.Colours[i] == colour)
            return i;
    if (count >= GridColourSlots) {
        table.Host.ShowGridMessage(TooManyColours);
        return -1;
    }
    colours.Colours[count] = colour;
    colours.Count = count + 1;
    return count;
}

int FindGridColour(TXGridModel &table, TColor colour, bool add)
{
    if (add)
        return AddGridColour(table, colour);
    const int count = std::clamp(table.Colours.Count, 0, GridColourSlots);
    for (int i = 0; i < count; ++i)
        if (table.Colours.Colours[i] == colour)
            return i;
    return -1;
}

TColor GridColourAt(const TXGridModel &table, int index)
{
    return index >= 0 && index < std::clamp(table.Colours.Count, 0, GridColourSlots) ? table.Colours.Colours[index]
                                                                                     : clNone;
}

TColor GetCellColourOf(const TXGridModel &table, const S_XSGCell &cell, bool asColour)
{
    return asColour ? GridColourAt(table, cell.Colour) : cell.Colour;
}

TColor GetCellColour(TXGridModel &table, int row, int col, bool asColour)
{
    const S_XSGCell *cell = GetGridCell(table, row, col, true);
    return cell == nullptr ? (asColour ? clNone : 0) : GetCellColourOf(table, *cell, asColour);
}

int SetCellColourOf(TXGridModel &table, S_XSGCell &cell, TColor value, bool add)
{
    const int previous = cell.Colour;
    int index;
    if (add)
        index = AddGridColour(table, value);
    else
        index = value < static_cast<TColor>(std::clamp(table.Colours.Count, 0, GridColourSlots))
                    ? static_cast<int>(value)
                    : -1;
    if (index < 0)
        return previous;
    const bool wasMarked = (cell.Flags & CellMarked) != 0;
    cell.Flags = static_cast<std::uint8_t>(cell.Flags & ~CellMarked);
    if (index != previous || wasMarked) {
        cell.Colour = static_cast<std::uint8_t>(index);
        InvalidateModelCell(table, cell);
    }
    return previous;
}

int SetCellColour(TXGridModel &table, int row, int col, TColor value, bool add)
{
    S_XSGCell *cell = GetGridCell(table, row, col, true);
    return cell == nullptr ? -1 : SetCellColourOf(table, *cell, value, add);
}

void MarkCellColourChanged(TXGridModel &table, int row, int col)
{
    S_XSGCell *cell = GetGridCell(table, row, col, true);
    if (cell == nullptr)
        return;
    cell->Flags |= CellMarked;
    InvalidateModelCell(table, *cell);
}
