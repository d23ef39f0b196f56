// Text runs of the cells: lookups, changes, fraction cells, run fonts and change detection.
#include <algorithm>
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "gridtable/model/UXGridTabService.h"

namespace {

// Lookups compact the runs first while a layout has split them into pieces.
TRunList &LookupList(const TXGridModel &table, S_XSGCell &cell)
{
    if (!(cell.Flags & CellCompact))
        CompactCellRuns(cell);
    return CurrentCellTextList(table, cell);
}

int IndexOfNumber(const TRunList &runs, int number)
{
    for (size_t i = 0; i < runs.size(); ++i)
        if (runs[i].Number == number)
            return static_cast<int>(i);
    return -1;
}

S_SGText NewRun(const AnsiString &text, int number)
{
    S_SGText run;  // shown, kind 1
    run.Number = static_cast<std::uint16_t>(number);
    run.Text = text;
    return run;
}

S_SGText *RunOf(TXGridModel &table, int row, int col, int number, S_XSGCell **cellOut = nullptr)
{
    S_XSGCell *cell = GetGridCell(table, row, col, true);
    if (cell == nullptr)
        return nullptr;
    if (cellOut)
        *cellOut = cell;
    return GetCellRun(table, *cell, number);
}

}  // namespace

TRunList &GetCellTextList(S_XSGCell &cell, int language) { return language == 0 ? cell.Runs0 : cell.Runs1; }

const TRunList &GetCellTextList(const S_XSGCell &cell, int language) { return language == 0 ? cell.Runs0 : cell.Runs1; }

TRunList &CurrentCellTextList(const TXGridModel &table, S_XSGCell &cell)
{
    return GetCellTextList(cell, table.Language);
}

bool IsCellTextListEmpty(const S_XSGCell &cell, int language) { return GetCellTextList(cell, language).empty(); }

void CompactRunList(TRunList &runs)
{
    if (runs.size() < 2)
        return;
    size_t kept = 0;
    for (size_t i = 1; i < runs.size(); ++i) {
        S_SGText &previous = runs[kept];
        if (!previous.IsImage() && SameRunFormat(previous, runs[i])) {
            previous.Text += runs[i].Text;
            continue;
        }
        ++kept;
        if (kept != i)
            runs[kept] = std::move(runs[i]);
    }
    runs.resize(kept + 1);
}

void CompactCellRuns(S_XSGCell &cell)
{
    cell.Flags |= CellCompact;
    CompactRunList(cell.Runs1);
    CompactRunList(cell.Runs0);
}

int FindRunIndex(const TXGridModel &table, S_XSGCell &cell, int number)
{
    return IndexOfNumber(LookupList(table, cell), number);
}

S_SGText *GetCellRun(const TXGridModel &table, S_XSGCell &cell, int number)
{
    TRunList &runs = LookupList(table, cell);
    const int i = IndexOfNumber(runs, number);
    return i < 0 ? nullptr : &runs[i];
}

S_SGText *GetRunAt(const TXGridModel &table, S_XSGCell &cell, int index)
{
    TRunList &runs = LookupList(table, cell);
    return index >= 0 && index < static_cast<int>(runs.size()) ? &runs[index] : nullptr;
}

int GetRunCount(const TXGridModel &table, S_XSGCell &cell) { return static_cast<int>(LookupList(table, cell).size()); }

AnsiString GetRunTextByNumber(const TXGridModel &table, S_XSGCell &cell, int number)
{
    const S_SGText *run = GetCellRun(table, cell, number);
    return run ? run->Text : AnsiString();
}

AnsiString GetRunTextAt(const TXGridModel &table, S_XSGCell &cell, int index)
{
    const S_SGText *run = GetRunAt(table, cell, index);
    return run ? run->Text : AnsiString();
}

S_SGText *SetRunTextByNumber(TXGridModel &table, S_XSGCell &cell, int number, const AnsiString &text)
{
    S_SGText *run = GetCellRun(table, cell, number);
    if (run == nullptr)
        return nullptr;
    run->Text = text;
    CellRunChanged(table, cell, *run);
    return run;
}

S_SGText *ReplaceRunByNumber(const TXGridModel &table, S_XSGCell &cell, int number, S_SGText run)
{
    S_SGText *old = GetCellRun(table, cell, number);
    if (old == nullptr)
        return nullptr;
    *old = std::move(run);
    return old;
}

bool DeleteRunByNumber(const TXGridModel &table, S_XSGCell &cell, int number)
{
    return DeleteRunAt(table, cell, FindRunIndex(table, cell, number));
}

bool DeleteRunAt(const TXGridModel &table, S_XSGCell &cell, int index)
{
    TRunList &runs = LookupList(table, cell);
    if (index < 0 || index >= static_cast<int>(runs.size()))
        return false;
    runs.erase(runs.begin() + index);
    return true;
}

S_SGText *InsertRunAfter(const TXGridModel &table, S_XSGCell &cell, int number, const AnsiString &text)
{
    TRunList &runs = LookupList(table, cell);
    const int i = IndexOfNumber(runs, number);
    const auto at = i < 0 ? runs.end() : runs.begin() + i + 1;
    return &*runs.insert(at, NewRun(text, 0));
}

S_SGText *AddCellRun(TXGridModel &table, S_XSGCell &cell, const AnsiString &text, int wishedNumber)
{
    int number = wishedNumber;
    if (!IsRunNumberFree(table, cell, number))
        number = FindFreeRunNumber(table, cell);
    if (number < 0)
        number = 0xFFFF;
    CompactCellRuns(cell);
    TRunList &runs = CurrentCellTextList(table, cell);
    runs.push_back(NewRun(text, number));
    CellRunChanged(table, cell, runs.back());
    return &CurrentCellTextList(table, cell).back();
}

bool IsRunNumberFree(const TXGridModel &table, const S_XSGCell &cell, int number)
{
    if (number <= 0 || number > 0xFFFF)
        return false;
    const TRunList &runs = GetCellTextList(cell, table.Language);
    return std::none_of(runs.begin(), runs.end(), [number](const S_SGText &r) { return r.Number == number; });
}

int FindFreeRunNumber(const TXGridModel &table, const S_XSGCell &cell)
{
    std::vector<bool> taken(MaxRunNumber + 1, false);
    for (const S_SGText &run : GetCellTextList(cell, table.Language))
        if (run.Number <= MaxRunNumber)
            taken[run.Number] = true;
    for (int n = 1; n <= MaxRunNumber; ++n)
        if (!taken[n])
            return n;
    return -1;
}

void SetRunShown(TXGridModel &table, S_XSGCell &cell, int number, bool on)
{
    S_SGText *run = GetCellRun(table, cell, number);
    if (run == nullptr || run->Shown() == on)
        return;
    run->Flags = static_cast<std::uint8_t>(on ? run->Flags | RunShown : run->Flags & ~RunShown);
    InvalidateModelCell(table, cell);
}

bool IsRunShown(const TXGridModel &table, S_XSGCell &cell, int number)
{
    const S_SGText *run = GetCellRun(table, cell, number);
    return run != nullptr && run->Shown();
}

AnsiString GetCurrentCellText(const TXGridModel &table, const S_XSGCell &cell)
{
    AnsiString text;
    for (const S_SGText &run : GetCellTextList(cell, table.Language))
        if (run.Shown())
            text += run.Text;
    return text;
}

bool IsCellTextEmpty(const TXGridModel &table, const S_XSGCell &cell)
{
    const TRunList &runs = GetCellTextList(cell, table.Language);
    return std::all_of(runs.begin(), runs.end(), [](const S_SGText &r) { return r.Text.empty(); });
}

S_SGText *FindRunByText(S_XSGCell &cell, int language, const AnsiString &text)
{
    for (S_SGText &run : GetCellTextList(cell, language))
        if (run.Text == text)
            return &run;
    return nullptr;
}

int FindNextMarkedRun(const TXGridModel &table, S_XSGCell &cell, int start, S_SGText **run)
{
    TRunList &runs = LookupList(table, cell);
    for (int i = std::max(start, 0); i < static_cast<int>(runs.size()); ++i)
        if (runs[i].Shown() && (runs[i].Mark & RunMarkBits)) {
            if (run)
                *run = &runs[i];
            return i;
        }
    if (run)
        *run = nullptr;
    return -1;
}

void CellRunChanged(TXGridModel &table, S_XSGCell &cell, const S_SGText &run)
{
    const bool shown = run.Shown();
    const int number = run.Number;
    if (shown && table.AutoCorRowH && (cell.EditKind == 4 || cell.EditKind == 5)) {
        if (cell.EditKind == 5 && number == 2 && cell.TextHeight == 0)
            PrepareFractionTexts(table, cell);
        table.Host.MeasureGridCell(cell);
        table.Host.CorrectRowHeight(cell.Row);
    }
    InvalidateModelCell(table, cell);
}

void RebuildFractionCell(TXGridModel &table, S_XSGCell &cell, int fontId)
{
    cell.EditKind = 5;
    TRunList &runs = CurrentCellTextList(table, cell);
    TRunList().swap(runs);
    const S_SGFont *base = FindGridFontById(table, fontId);
    const int denominatorFont = base ? fontId : 0;
    if (base == nullptr)
        base = FindGridFontById(table, 0);
    int numeratorFont = 0;
    if (base) {
        auto underlined = CloneGridFont(*base);
        underlined->Style |= GridFontUnderline;
        numeratorFont = std::max(AddGridFont(table, std::move(underlined)), 0);
    }
    TRunList &fresh = CurrentCellTextList(table, cell);
    fresh.push_back(NewRun(AnsiString(), 1));
    fresh.back().Font = static_cast<std::uint16_t>(numeratorFont);
    fresh.push_back(NewRun(AnsiString(), 2));
    fresh.back().Font = static_cast<std::uint16_t>(denominatorFont);
    InvalidateModelCell(table, cell);
}

void PrepareFractionTexts(const TXGridModel &table, S_XSGCell &cell)
{
    S_SGText *numerator = GetCellRun(table, cell, 1);
    S_SGText *denominator = GetCellRun(table, cell, 2);
    if (numerator == nullptr || denominator == nullptr)
        return;
    AnsiString up = Trim(numerator->Text), down = Trim(denominator->Text);
    AnsiString &narrower = up.size() < down.size() ? up : down;
    const size_t missing = std::max(up.size(), down.size()) - narrower.size();
    narrower = AnsiString((missing + 1) / 2, ' ') + narrower + AnsiString(missing / 2, ' ');
    numerator->Text = up + '\n';
    denominator->Text = down;
}

S_SGFont *GetRunFont(TXGridModel &table, int row, int col, int number)
{
    const S_SGText *run = RunOf(table, row, col, number);
    return run ? FindGridFontById(table, run->Font) : nullptr;
}

int SetRunFont(TXGridModel &table, int row, int col, int number, std::unique_ptr<S_SGFont> font)
{
    S_XSGCell *cell = nullptr;
    S_SGText *run = RunOf(table, row, col, number, &cell);
    if (run == nullptr || !font)
        return -1;
    const int id = AddGridFont(table, std::move(font));
    if (id != run->Font) {
        run->Font = static_cast<std::uint16_t>(id);
        InvalidateModelCell(table, *cell);
    }
    return id;
}

int SetRunFontColour(TXGridModel &table, int row, int col, int number, TColor colour)
{
    S_XSGCell *cell = nullptr;
    S_SGText *run = RunOf(table, row, col, number, &cell);
    const S_SGFont *font = run ? FindGridFontById(table, run->Font) : nullptr;
    if (font == nullptr)
        return -1;
    auto recoloured = CloneGridFont(*font);
    recoloured->Colour = colour;
    const int id = AddGridFont(table, std::move(recoloured));
    if (id != run->Font) {
        run->Font = static_cast<std::uint16_t>(id);
        InvalidateModelCell(table, *cell);
    }
    return id;
}

TColor GetRunFontColour(TXGridModel &table, int row, int col, int number)
{
    const S_SGFont *font = GetRunFont(table, row, col, number);
    return font ? font->Colour : clNone;
}

TRunList SnapshotCellTexts(const TXGridModel &table, const S_XSGCell &cell)
{
    TRunList copy = GetCellTextList(cell, table.Language);
    CompactRunList(copy);
    return copy;
}

bool SameCellTexts(const TRunList &snapshot, const TRunList &current)
{
    TRunList a = snapshot, b = current;
    CompactRunList(a);
    CompactRunList(b);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Text != b[i].Text || a[i].Shown() != b[i].Shown())
            return false;
    return true;
}
