// Fuzz target for the grid cell's text forms. The first byte picks the reader (cell form, font or
// colour table) and the separator; the rest is the text. Besides the sanitizers: a cell read from any
// text writes a form that reads back to the same form (when no run text holds "$", which the form
// cannot carry); a colour table never holds more than 256 colours and reads back from its own text.
#include <algorithm>
#include <string>
#include <vector>

#include "gridtable/model/UXGridTabService.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr size_t MaxText = 1 << 16;

void CheckCell(const AnsiString &text)
{
    S_XSGCell cell;
    CellFromTextForm(text, cell);
    for (const TRunList *runs : {&cell.Runs1, &cell.Runs0})
        for (const S_SGText &run : *runs)
            if (run.Text.find('$') != AnsiString::npos)
                FuzzFinding("a run text holds the form's run separator");
    const AnsiString form = CellTextForm(cell);
    S_XSGCell again;
    CellFromTextForm(form, again);
    if (CellTextForm(again) != form)
        FuzzFinding("a cell's text form does not read back to itself");
}

void CheckFont(const AnsiString &text, char separator)
{
    S_SGFont font;
    FontFromText(text, separator, font);
    if (font.Name.find(separator) != AnsiString::npos)
        FuzzFinding("a font name holds the separator");
    S_SGFont again;
    FontFromText(FontToText(font, separator), separator, again);
    if (!GridFontsEqual(&font, &again) || font.Id != again.Id)
        FuzzFinding("a font's text does not read back to the font");
}

void CheckColours(const AnsiString &text, char separator)
{
    S_SGColorTable table;
    ColourTableFromText(text, separator, table);
    if (table.Count < 0 || table.Count > GridColourSlots)
        FuzzFinding("a colour count outside the table");
    S_SGColorTable again;
    ColourTableFromText(ColourTableToText(table, separator), separator, again);
    if (again.Count != table.Count || !std::equal(table.Colours, table.Colours + table.Count, again.Colours))
        FuzzFinding("a colour table's text does not read back to the table");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const char separators[] = {'|', ',', ';', ' '};
    const char separator = separators[(data[0] >> 2) & 3];
    const AnsiString text(reinterpret_cast<const char *>(data + 1), std::min(size - 1, MaxText));
    switch (data[0] & 3) {
    case 0:
    case 3: CheckCell(text); break;
    case 1: CheckFont(text, separator); break;
    default: CheckColours(text, separator); break;
    }
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    auto input = [](std::uint8_t selector, const AnsiString &text) {
        Bytes b{selector};
        b.insert(b.end(), text.begin(), text.end());
        return b;
    };
    S_XSGCell cell;
    cell.MergeState = CellMaster;
    cell.EndRow = 2;
    cell.EndCol = 1;
    S_SGText run;
    run.Number = 1;
    run.Text = "12,5\n";
    cell.Runs1.push_back(run);
    run.Number = 2;
    run.Text = "Текст|с чертой";
    cell.Runs1.push_back(run);
    run.Flags = RunImage | RunShown;
    cell.Runs0.push_back(run);
    S_SGFont font;
    font.Id = 2;
    font.Name = "Tahoma";
    font.SetSize(8);
    font.Height = -11;
    font.Style = GridFontBold;
    S_SGColorTable colours;
    return {
        input(0, CellTextForm(cell)),
        input(0, CellTextForm(S_XSGCell{})),
        input(0, "1|2|3$5$1|2|3|4|5|6|7|8|9|text$"),
        input(0, "-9223372036854775808|18446744073709551615|-1$1$-32769|99999999999999999999|x$"),
        input(1, FontToText(font, '|')),
        input(1 | 4, FontToText(font, ',')),
        input(2, ColourTableToText(colours, '|')),
        input(2 | 8, ColourTableToText(colours, ';')),
    };
}
