// Fuzz target for the stored table screen parser. An input is a sequence of records, each a u16 length
// and that many bytes (the last one cut where the input ends). A screen that fails to parse, or is
// refused for claiming more rows or columns than a table can hold, must leave the staging screen as it
// was; one that parses is put into a model over a stand-in grid, whose spans and cells are then walked.
#include <algorithm>
#include <cstring>

#include "framework/windows/GridError.h"
#include "gridtable/screens/GridScreen.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/gridtable/StandInHost.h"
#include "tests/support/GridScreenBuilder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class InputRecords : public IScreenRecords {
public:
    InputRecords(const std::uint8_t *data, std::size_t size) : reader_(data, size) {}
    bool Next(std::span<const std::uint8_t> &record) override
    {
        std::uint16_t length = 0;
        if (!reader_.ReadU16(length))
            return false;
        const std::size_t n = std::min<std::size_t>(length, reader_.Remaining());
        reader_.ReadBytes(n, record);
        return true;
    }

private:
    TByteReader reader_;
};

Bytes Framed(const std::vector<Bytes> &records)
{
    Bytes out;
    for (const Bytes &r : records) {
        AppendU16(out, static_cast<std::uint16_t>(r.size()));
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

void Walk(TXGridModel &table)
{
    const int rows = GetGridRowCount(table), cols = GetGridColCount(table);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            S_XSGCell *master = GetGridCell(table, r, c, true);
            if (master == nullptr)
                FuzzFinding("a cell of the table is missing");
            if (master->MergeState != CellPlain && master->MergeState != CellMaster)
                FuzzFinding("a span member resolved to another member");
            volatile std::size_t touch = CurrentCellTextList(table, *master).size();
            (void)touch;
        }
    }
    FindEditableCell(table, true);
    TotalGridWidth(table);
    TotalGridHeight(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    InputRecords records(data, size);
    SGridScreen screen;
    screen.Header.RowCount = -7;  // what a refused screen must leave
    bool read = false;
    try {
        read = ReadGridScreen(records, screen);
    } catch (const EInvalidGridOperation &) {
        // A header of more rows or columns than a table can hold: refused by name.
    }
    if (!read) {
        if (screen.Header.RowCount != -7 || !screen.Cells.empty())
            FuzzFinding("a refused screen changed the staging screen");
        return 0;
    }
    if (screen.Cells.size() != static_cast<std::size_t>(screen.Header.RowCount) * screen.Header.ColCount ||
        screen.Colours.Count > GridColourSlots)
        FuzzFinding("a screen passed its checks with counts that do not hold");
    TStandInHost host(1, 1);
    TXGridModel table(host);
    ApplyGridScreen(table, screen, (size & 1) != 0);
    Walk(table);
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    using testdata::GridScreenBuilder;
    GridScreenBuilder small(1, 1);
    small.Cell(0, 0).runs1.push_back({});

    GridScreenBuilder rich(3, 3);
    rich.fixedRows = rich.fixedCols = 1;
    rich.fonts.resize(2);
    rich.fonts[1].name = "Courier New";
    rich.Span(1, 1, 2, 2);
    testdata::ScreenRun run;
    run.text = "Ціна";
    run.font = 1;
    rich.Cell(1, 1).runs1 = {run, run};
    rich.Cell(1, 1).runs0 = {run};
    rich.Cell(0, 1).editKind = 6;
    rich.Cell(0, 1).runs1 = {run, run};
    rich.Cell(0, 2).editKind = 5;

    // A header that claims more rows than a table can number (its heights need not be there).
    std::vector<Bytes> tooTall = small.Records();
    const std::uint32_t rows = MaxGridRows + 1;
    for (int i = 0; i < 4; ++i)
        tooTall[0][7 + i] = static_cast<std::uint8_t>(rows >> (8 * i));

    return {Framed(small.Records()), Framed(rich.Records()), Framed(tooTall)};
}
