#include "gridtable/editing/CellEditing.h"

#include <algorithm>
#include <array>

#include "base/text/CfgLanguage.h"
#include "base/numbers/NumericHelpers.h"
#include "base/input/fun_other.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Exception.h"
#include "framework/windows/VirtualKeys.h"
#include "gridtable/model/CellLayout.h"

namespace {

constexpr char CtrlA = 1, CtrlC = 3, CtrlV = 22, CtrlX = 24;
constexpr uint16_t KeyDelete = 0x2E;

void Relayout(TXGridModel &table, S_XSGCell &cell) { LayoutGridCell(table, cell, -1, cell.Col); }

// Replaces the numbered run's text, or adds the run when the cell has none of that number.
void WriteRun(TXGridModel &table, S_XSGCell &cell, int number, const AnsiString &text)
{
    if (SetRunTextByNumber(table, cell, number, text) == nullptr)
        AddCellRun(table, cell, text, number);
}

// A fraction part as stored: "" is "0"; a number is rounded to 9 decimals. False when it is none.
bool FractionPart(const AnsiString &text, AnsiString &out)
{
    const AnsiString trimmed = Trim(text);
    if (trimmed.empty()) {
        out = "0";
        return true;
    }
    double value = 0;
    try {
        // "-" alone reads as 0 but is no number a user meant.
        if (trimmed == "-")
            return false;
        value = TextToFloatComma(trimmed);
    } catch (const EConvertError &) {
        return false;
    }
    out = FloatToFitText(-9, RoundToDecimals(9, value));
    return true;
}

std::array<std::array<AnsiString, EditorMenuCommandCount>, 2> captions;

}  // namespace

// ---- what the editors write ------------------------------------------------------------------------

void WriteCellRunOne(TXGridModel &table, S_XSGCell &cell, const AnsiString &text) { WriteRun(table, cell, 1, text); }

AnsiString StoredNumberText(const AnsiString &text, int editKind)
{
    if (text.empty())
        return "0";
    const bool zeros = text.find_first_not_of('0') == AnsiString::npos;
    if (zeros && editKind >= 1 && editKind <= 3)
        return "0";
    return text;
}

AnsiString ApplyNumberEditorText(TXGridModel &table, S_XSGCell &cell, const AnsiString &text)
{
    const AnsiString stored = StoredNumberText(text, cell.EditKind);
    WriteCellRunOne(table, cell, stored);
    Relayout(table, cell);
    return stored;
}

bool MakeFractionTexts(const AnsiString &numerator, const AnsiString &denominator, TFractionTexts &out)
{
    AnsiString up, down;
    if (!FractionPart(numerator, up) || !FractionPart(denominator, down))
        return false;
    AnsiString &narrower = up.size() < down.size() ? up : down;
    const size_t missing = std::max(up.size(), down.size()) - narrower.size();
    narrower = AnsiString((missing + 1) / 2, ' ') + narrower + AnsiString(missing / 2, ' ');
    out.Numerator = up + '\n';
    out.Denominator = down;
    return true;
}

bool ApplyFractionEditorTexts(TXGridModel &table, S_XSGCell &cell, const AnsiString &numerator,
                              const AnsiString &denominator)
{
    TFractionTexts texts;
    if (!MakeFractionTexts(numerator, denominator, texts))
        return false;
    // The lookups join laid-out pieces back into runs first.
    if (S_SGText *up = GetCellRun(table, cell, 1)) {
        up->Text = texts.Numerator;
    } else {
        int font = 0;
        if (const S_SGFont *base = FindGridFontById(table, 0)) {
            auto underlined = CloneGridFont(*base);
            underlined->Style |= GridFontUnderline;
            font = std::max(AddGridFont(table, std::move(underlined)), 0);
        }
        S_SGText run;
        run.Number = 1;
        run.Font = static_cast<std::uint16_t>(font);
        run.Text = texts.Numerator;
        TRunList &runs = CurrentCellTextList(table, cell);
        runs.insert(runs.begin(), std::move(run));
    }
    S_SGText *down = GetCellRun(table, cell, 2);
    if (down != nullptr) {
        down->Text = texts.Denominator;
    } else {
        S_SGText run;
        run.Number = 2;
        run.Text = texts.Denominator;
        TRunList &runs = CurrentCellTextList(table, cell);
        const int up = FindRunIndex(table, cell, 1);
        down = &*runs.insert(runs.begin() + up + 1, std::move(run));
    }
    CellRunChanged(table, cell, *down);
    Relayout(table, cell);
    return true;
}

AnsiString LineFeedBreaks(const AnsiString &text)
{
    AnsiString out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r')
            out += text[i];
        else if (i + 1 == text.size() || text[i + 1] != '\n')
            out += '\n';
    }
    return out;
}

void ApplyRichEditorText(TXGridModel &table, S_XSGCell &cell, const AnsiString &text)
{
    WriteCellRunOne(table, cell, LineFeedBreaks(text));
    Relayout(table, cell);
}

AnsiString ApplyDateEditorText(TXGridModel &table, S_XSGCell &cell, const AnsiString &dateText, TDateTime controlDate)
{
    if (!CurrentCellTextList(table, cell).empty())
        CompactCellRuns(cell);
    const AnsiString text = dateText.empty() ? FormatDateTime("dd.mm.yyyy", controlDate) : dateText;
    WriteRun(table, cell, 2, text);
    WriteRun(table, cell, 3, text);
    Relayout(table, cell);
    return text;
}

bool ApplyListEditorChoice(TXGridModel &table, S_XSGCell &cell, const AnsiString &item)
{
    CompactCellRuns(cell);
    TRunList &runs = CurrentCellTextList(table, cell);
    const auto chosen =
        std::find_if(runs.begin(), runs.end(), [&](const S_SGText &r) { return r.Number != 1 && r.Text == item; });
    if (chosen == runs.end())
        return false;
    for (S_SGText &run : runs)
        run.Flags = static_cast<std::uint8_t>(run.Flags & ~RunShown);
    chosen->Flags |= RunShown;
    InvalidateModelCell(table, cell);
    Relayout(table, cell);
    return true;
}

// ---- number filters --------------------------------------------------------------------------------

char FilterNumberEditorKey(int kind, char key, const AnsiString &text, int selStart)
{
    if (kind < 1 || kind > 3)
        return key;
    if (key == CtrlC || key == CtrlX)
        return key;
    // Enter applies and Esc cancels on their keys; as characters a single-line editor only beeps.
    if (key == CtrlA || key == CtrlV || key == '\r' || key == 27)
        return 0;
    switch (kind) {
    case 1: return FilterDecimalKey(key, 2, text);
    case 2: return FilterSignedDecimalKey(key, text, selStart);
    default: return FilterDecimalKey(key, 1, text);
    }
}

AnsiString FilterNumberText(int kind, const AnsiString &clipboardText, const AnsiString &text, int selStart)
{
    AnsiString cleaned;
    for (char c : clipboardText)
        if (c != '\r' && c != '\n')
            cleaned += c == '.' ? ',' : c;
    cleaned = Trim(cleaned);
    if (kind < 1 || kind > 3)
        return cleaned;
    selStart = std::clamp(selStart, 0, static_cast<int>(text.size()));
    AnsiString typed = text, accepted;
    for (char c : cleaned) {
        // Backspace and Enter pass the filters as keys; inside a pasted text they are no number.
        if (static_cast<unsigned char>(c) < ' ')
            return AnsiString();
        const int caret = selStart + static_cast<int>(accepted.size());
        const char taken = FilterNumberEditorKey(kind, c, typed, caret);
        if (taken == 0)
            return AnsiString();
        typed.insert(static_cast<size_t>(caret), 1, taken);
        accepted += taken;
    }
    return accepted;
}

// ---- editor menus ----------------------------------------------------------------------------------

void MakeEditorMenuCaptions()
{
    captions[0] = {"-",          "Применить", "Применить", "Отмена",      "Вырезать",
                   "Копировать", "Вставить",  "Удалить",   "Выделить все"};
    captions[1] = {"-",         "Застосувати", "Застосувати", "Відмінити",   "Вирізати",
                   "Копіювати", "Вставити",    "Видалити",    "Виділити все"};
}

void ClearEditorMenuCaptions()
{
    for (auto &row : captions)
        for (AnsiString &caption : row)
            AnsiString().swap(caption);
}

AnsiString EditorMenuCaption(int row, int tag)
{
    if (row < 0 || row > 1 || tag < 0 || tag >= EditorMenuCommandCount)
        return AnsiString();
    return captions[static_cast<size_t>(row)][static_cast<size_t>(tag)];
}

int EditorMenuCaptionRow() { return MessageLanguage() != 0 ? 0 : 1; }

std::vector<int> EditorMenuItemTags(const AnsiString &itemList)
{
    TStringList pieces;
    SplitTextToList(pieces, itemList, "|");
    std::vector<int> tags;
    for (int i = 0; i < pieces.Count(); ++i) {
        int tag = -1;
        if (TryStrToInt(Trim(pieces[i]), tag) && tag >= 0 && tag < EditorMenuCommandCount)
            tags.push_back(tag);
    }
    return tags;
}

TShortCut EditorMenuShortCut(int tag)
{
    switch (tag) {
    case 1: return ShortCut(VK_RETURN, ssCtrl);
    case 2: return ShortCut(VK_RETURN, 0);
    case 3: return ShortCut(VK_ESCAPE, 0);
    case 4: return ShortCut('X', ssCtrl);
    case 5: return ShortCut('C', ssCtrl);
    case 6: return ShortCut('V', ssCtrl);
    case 7: return ShortCut(KeyDelete, 0);
    case 8: return ShortCut('A', ssCtrl);
    default: return 0;
    }
}

// ---- text and number helpers -----------------------------------------------------------------------

int CompareRoundedNumbers(int decimals, double a, double b)
{
    const double x = RoundToDecimals(decimals, a), y = RoundToDecimals(decimals, b);
    return x > y ? 1 : x < y ? -1 : 0;
}

void SplitTextToList(TStrings &list, const AnsiString &text, const AnsiString &separator)
{
    list.Clear();
    if (separator.empty()) {
        list.Add(text);
        return;
    }
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != AnsiString::npos; start = at + separator.size())
        list.Add(text.substr(start, at - start));
    list.Add(text.substr(start));
}
