// How the operations on tables, long cell texts and alias lists grow with their size: each runs at
// 1,000 and at 10,000 rows (words, aliases, records), and tools/bench prints the slope of the time
// between the two on a log-log scale (1 linear, 2 quadratic). The table runs on a host with the
// grid's real geometry (visible range, cell rectangles), as the component gives it.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/aliases/AliasList.h"
#include "base/files/TextBase.h"
#include "framework/windows/GridGeometry.h"
#include "framework/graphics/RecordingCanvas.h"
#include "gridtable/model/CellLayout.h"
#include "gridtable/GridPaint.h"
#include "gridtable/model/UXGridTabService.h"
#include "storage/compound/dwfile.h"
#include "tests/support/MemFiles.h"
#include "tests/support/RizaFileBuilder.h"

namespace {

constexpr int Cols = 8;

// The model's host as the grid component is: counts, sizes and the visible range from a grid
// geometry of 800 x 600 pixels scrolled to the top, one fixed row and column, lines of one pixel.
class TGeometryHost : public IXGridHost {
public:
    explicit TGeometryHost(int rows)
    {
        grid_.SetGridLineWidth(0);
        grid_.SetDefaultColWidth(65);
        grid_.SetDefaultRowHeight(21);
        grid_.SetColCount(Cols);
        grid_.SetRowCount(rows);
        grid_.SetFixedCols(1);
        grid_.SetFixedRows(1);
        grid_.SetClientSize(800, 600);
    }
    TXGridModel *Model = nullptr;
    long long Invalidated = 0;

    int GridRowCount() const override { return grid_.RowCount(); }
    int GridColCount() const override { return grid_.ColCount(); }
    int GridFixedRows() const override { return grid_.FixedRows(); }
    int GridFixedCols() const override { return grid_.FixedCols(); }
    int GridLineWidth() const override { return 1; }
    int GridColWidth(int col) const override { return grid_.ColWidth(col) - 1; }
    int GridRowHeight(int row) const override { return grid_.RowHeight(row) - 1; }
    void SetGridColWidth(int col, int width) override { grid_.SetColWidth(col, width + 1); }
    void SetGridRowHeight(int row, int height) override { grid_.SetRowHeight(row, height + 1); }
    int GridClientWidth() const override { return grid_.ClientWidth(); }
    int GridClientHeight() const override { return grid_.ClientHeight(); }
    int GridCurrentCol() const override { return grid_.Col(); }
    int GridCurrentRow() const override { return grid_.Row(); }
    void SetGridCurrentCell(int row, int col) override { grid_.MoveCurrent(col, row, true); }
    void SetGridSize(int rows, int cols, int fixedRows, int fixedCols) override
    {
        grid_.SetRowCount(rows);
        grid_.SetColCount(cols);
        grid_.SetFixedRows(fixedRows);
        grid_.SetFixedCols(fixedCols);
    }
    void SetGridTopLeft(int row, int col) override { grid_.SetTopLeft(col, row); }
    const TFont &GridFont() const override { return font_; }
    void CreateCellEditor() override {}
    void GridRowInserted(int row) override { grid_.InsertRow(row, grid_.DefaultRowHeight()); }
    void GridRowDeleted(int row) override { grid_.DeleteRow(row); }
    TRect GridVisibleCells() const override
    {
        const TGridRect cells = grid_.VisibleCells();
        return TRect{grid_.FixedCols() > 0 ? 0 : cells.Left, grid_.FixedRows() > 0 ? 0 : cells.Top, cells.Right,
                     cells.Bottom};
    }
    void InvalidateGridCell(int row, int col) override
    {
        if (GridCellVisibleRect(*Model, grid_, 1, col, row) != TRect{})
            ++Invalidated;
    }
    void MeasureGridCell(S_XSGCell &cell) override { MeasureCellText(*Model, cell); }
    void CorrectRowHeight(int) override {}
    void ShowGridMessage(const AnsiString &) override {}
    TCanvas *GridCanvas() override { return &canvas_; }

private:
    TGridGeometry grid_;
    TFont font_;
    TRecordingCanvas canvas_;
};

// A table of `rows` rows of eight columns on its host, every cell editable or every cell read-only.
struct TBenchTable {
    TGeometryHost host;
    TXGridModel table;
    TBenchTable(int rows, bool editable) : host(rows), table(host)
    {
        host.Model = &table;
        CreateGridCells(table);
        if (!editable)
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < Cols; ++c)
                    SetCellEditable(table, r, c, false);
    }
};

int Size(const benchmark::State &state) { return static_cast<int>(state.range(0)); }

// The table is made afresh for each round, outside the time.
template <class Op>
void TableRounds(benchmark::State &state, bool editable, Op op)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<TBenchTable>(Size(state), editable);
        state.ResumeTiming();
        op(t->table);
        benchmark::DoNotOptimize(t->table.HasEditable);
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
}

void BM_AllCellsReadOnly(benchmark::State &state)
{
    TableRounds(state, true, [&](TXGridModel &table) {
        for (int r = 0; r < Size(state); ++r)
            for (int c = 0; c < Cols; ++c)
                SetCellEditable(table, r, c, false);
    });
}

void BM_MergeTwoRowSpans(benchmark::State &state)
{
    TableRounds(state, false, [&](TXGridModel &table) {
        for (int r = 1; r + 1 < Size(state); r += 2)
            MergeGridCells(table, r, r + 1, 2, 2);
    });
}

// As many rows again appended to a read-only table.
void BM_AppendRows(benchmark::State &state)
{
    TableRounds(state, false, [&](TXGridModel &table) {
        for (int i = 0; i < Size(state); ++i)
            AppendGridRow(table);
    });
}

// One step in the middle of a read-only table, undone outside the time.
void BM_InsertRowMiddle(benchmark::State &state)
{
    TBenchTable t(Size(state), false);
    const int middle = Size(state) / 2;
    for (auto _ : state) {
        InsertGridRow(t.table, middle);
        state.PauseTiming();
        DeleteGridRow(t.table, middle);
        state.ResumeTiming();
    }
}

void BM_InsertRowCopyMiddle(benchmark::State &state)
{
    TBenchTable t(Size(state), false);
    const int middle = Size(state) / 2;
    for (auto _ : state) {
        InsertGridRowCopy(t.table, middle + 3, middle);
        state.PauseTiming();
        DeleteGridRow(t.table, middle);
        state.ResumeTiming();
    }
}

void BM_DeleteRowMiddle(benchmark::State &state)
{
    TBenchTable t(Size(state), false);
    const int middle = Size(state) / 2;
    for (auto _ : state) {
        DeleteGridRow(t.table, middle);
        state.PauseTiming();
        InsertGridRow(t.table, middle);
        for (int c = 0; c < Cols; ++c)
            SetCellEditable(t.table, middle, c, false);
        state.ResumeTiming();
    }
}

void BM_ResetRowMiddle(benchmark::State &state)
{
    TBenchTable t(Size(state), false);
    const int middle = Size(state) / 2;
    for (auto _ : state) {
        ResetGridRow(t.table, middle);
        state.PauseTiming();
        for (int c = 0; c < Cols; ++c)
            SetCellEditable(t.table, middle, c, false);
        state.ResumeTiming();
    }
}

// A cell of one run of `words` words laid out to a width of 200 pixels.
void BM_LayoutWords(benchmark::State &state)
{
    TBenchTable t(2, true);
    AddGridFont(t.table, CreateGridFont("Arial", 10, clBlack, false, false, false, false, 16));
    S_SGText run;
    for (int i = 0; i < Size(state); ++i)
        run.Text += "word" + std::to_string(i % 1000) + ' ';
    const TRunList runs{run};
    TRecordingCanvas canvas;
    TCellLayoutContext context(t.table, canvas);
    for (auto _ : state) {
        TRunList pieces = runs;
        benchmark::DoNotOptimize(LayoutCellText(context, pieces, 200));
    }
}

// An alias list loaded from a text file of `aliases` lines.
void BM_LoadAliases(benchmark::State &state)
{
    std::string file;
    char line[64];
    for (int i = 0; i < Size(state); ++i) {
        std::snprintf(line, sizeof line, "ALS%05d#C:\\PRODUCT\\FOLDER%d\\\r\n", i, i);
        file += line;
    }
    const std::span<const std::uint8_t> image(reinterpret_cast<const std::uint8_t *>(file.data()), file.size());
    for (auto _ : state) {
        auto list = std::make_unique<TLBsAls>();
        if (list->LoadTextImage(image) != 1)
            state.SkipWithError("the alias file did not load");
        // Freeing the entries is not loading them. The memory goes back to the system, so that every
        // load, small or large, takes fresh pages as a program's one load of its list does.
        state.PauseTiming();
        list.reset();
        malloc_trim(0);
        state.ResumeTiming();
    }
}

// A lookup of the last text of a text-base section of `texts` texts: it walks the whole section.
void BM_TextBaseLookup(benchmark::State &state)
{
    std::vector<testdata::RizaText> texts;
    for (int i = 0; i < Size(state); ++i)
        texts.push_back({static_cast<std::uint16_t>(i + 1), 0, testdata::TwoLanguageText("текст", "текст")});
    const testdata::Bytes file = testdata::RizaFile(2, {{1, texts}});
    TMRizaBs walker;
    walker.SetView(file.data(), file.size());
    const auto last = static_cast<std::uint16_t>(Size(state));
    for (auto _ : state) {
        walker.SeekRecord(1);
        if (walker.FindRecordById(last).empty())
            state.SkipWithError("the text was not found");
    }
}

// A record appended to a logical file of `records` records: it finds the chain's last record.
void BM_AppendRecord(benchmark::State &state)
{
    testdata::CompoundFileBuilder builder = testdata::CompoundFileBuilder::Created(2);
    builder.Commit(1, std::vector<testdata::Bytes>(static_cast<size_t>(Size(state)), testdata::Bytes(20, 7)));
    const testdata::Bytes image = builder.Build();
    ScopedMemFiles mem;
    WRec record;
    record.Assign("appended", 8);
    for (auto _ : state) {
        state.PauseTiming();
        mem.files.Put("db.dat", image);
        auto file = std::make_unique<WFile>("db.dat");
        state.ResumeTiming();
        file->AppendRecord(1, record);
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}

}  // namespace

#define GROWTH(fn) BENCHMARK(fn)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
GROWTH(BM_AllCellsReadOnly);
GROWTH(BM_MergeTwoRowSpans);
GROWTH(BM_AppendRows);
GROWTH(BM_InsertRowMiddle);
GROWTH(BM_InsertRowCopyMiddle);
GROWTH(BM_DeleteRowMiddle);
GROWTH(BM_ResetRowMiddle);
GROWTH(BM_LayoutWords);
GROWTH(BM_LoadAliases);
GROWTH(BM_TextBaseLookup);
GROWTH(BM_AppendRecord);
