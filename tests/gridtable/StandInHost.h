#pragma once
// A stand-in for the grid component: counts, sizes and the visible range held in plain fields, and
// every call the model makes on it recorded, so model tests need no window.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "framework/graphics/RecordingCanvas.h"
#include "gridtable/model/UXGridTabService.h"

class TStandInHost : public IXGridHost {
public:
    TStandInHost(int rows, int cols, int fixedRows = 0, int fixedCols = 0)
        : fixedRows(fixedRows), fixedCols(fixedCols), colWidths(cols, 64), rowHeights(rows, 20)
    {}

    int fixedRows, fixedCols;
    int lineWidth = 1;
    int clientWidth = 400, clientHeight = 300;
    int currentCol = 0, currentRow = 0;
    std::pair<int, int> topLeft{-1, -1};
    TFont font;
    int editorsCreated = 0;
    std::vector<int> colWidths, rowHeights;
    int newRowHeight = 20;
    TRect visible{0, 0, 1000, 1000};  // Left, Top, Right, Bottom cells, inclusive
    mutable int visibleAsked = 0;     // how often the model asked for the visible range

    std::vector<std::pair<int, int>> invalidated;  // (row, col)
    std::vector<int> inserted, deleted, corrected;
    std::vector<const S_XSGCell *> measured;
    std::vector<AnsiString> messages;
    int measuredHeight = 0;  // what a measurement stores into the cell
    TRecordingCanvas canvas;

    int GridRowCount() const override { return static_cast<int>(rowHeights.size()); }
    int GridColCount() const override { return static_cast<int>(colWidths.size()); }
    int GridFixedRows() const override { return fixedRows; }
    int GridFixedCols() const override { return fixedCols; }
    int GridLineWidth() const override { return lineWidth; }
    int GridColWidth(int col) const override { return col >= 0 && col < GridColCount() ? colWidths[col] : 0; }
    int GridRowHeight(int row) const override { return row >= 0 && row < GridRowCount() ? rowHeights[row] : 0; }
    void SetGridColWidth(int col, int width) override { colWidths.at(col) = width; }
    void SetGridRowHeight(int row, int height) override { rowHeights.at(row) = height; }
    int GridClientWidth() const override { return clientWidth; }
    int GridClientHeight() const override { return clientHeight; }
    int GridCurrentCol() const override { return currentCol; }
    int GridCurrentRow() const override { return currentRow; }
    void SetGridCurrentCell(int row, int col) override { currentRow = row, currentCol = col; }
    void SetGridSize(int rows, int cols, int fixedRowCount, int fixedColCount) override
    {
        rowHeights.resize(static_cast<size_t>(std::max(rows, 1)), newRowHeight);
        colWidths.resize(static_cast<size_t>(std::max(cols, 1)), 64);
        fixedRows = std::clamp(fixedRowCount, 0, GridRowCount() - 1);
        fixedCols = std::clamp(fixedColCount, 0, GridColCount() - 1);
    }
    void SetGridTopLeft(int row, int col) override { topLeft = {row, col}; }
    const TFont &GridFont() const override { return font; }
    void CreateCellEditor() override { ++editorsCreated; }
    void GridRowInserted(int row) override
    {
        rowHeights.insert(rowHeights.begin() + row, newRowHeight);
        inserted.push_back(row);
    }
    void GridRowDeleted(int row) override
    {
        rowHeights.erase(rowHeights.begin() + row);
        deleted.push_back(row);
    }
    TRect GridVisibleCells() const override
    {
        ++visibleAsked;
        return visible;
    }
    void InvalidateGridCell(int row, int col) override { invalidated.emplace_back(row, col); }
    void MeasureGridCell(S_XSGCell &cell) override
    {
        measured.push_back(&cell);
        cell.TextHeight = static_cast<std::uint16_t>(measuredHeight);
    }
    void CorrectRowHeight(int row) override { corrected.push_back(row); }
    void ShowGridMessage(const AnsiString &text) override { messages.push_back(text); }
    TCanvas *GridCanvas() override { return &canvas; }

    void ClearRecords()
    {
        invalidated.clear();
        inserted.clear();
        deleted.clear();
        corrected.clear();
        measured.clear();
        messages.clear();
        visibleAsked = 0;
    }
};

// A host and a model of default cells of its size.
struct TGridFixture {
    TStandInHost host;
    TXGridModel table;
    TGridFixture(int rows, int cols, int fixedRows = 0, int fixedCols = 0)
        : host(rows, cols, fixedRows, fixedCols), table(host)
    {
        CreateGridCells(table);
    }
    S_XSGCell &At(int row, int col) { return table.Rows.at(row).at(col); }
};

// A run or laid-out piece of a font and number with a text, shown and of the first kind by default.
inline S_SGText Piece(std::uint16_t font, std::uint16_t number, const char *text,
                      std::uint8_t flags = RunShown | RunKindOne)
{
    S_SGText run;
    run.Font = font;
    run.Number = number;
    run.Text = text;
    run.Flags = flags;
    return run;
}
