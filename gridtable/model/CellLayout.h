#pragma once
// Cell text layout: a cell's runs of the current language word-wrapped to the cell's width. The
// layout replaces the runs by pieces, one or more per run, each placed on a line (left and top
// relative to the cell's text origin); the runs of a line share a baseline and each line is aligned
// as its last piece says. The result is the text height. Also the vertical placement of a cell's text
// and the stretching of columns and rows to the client area.
#include <cstdint>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "gridtable/model/UXGridTabService.h"

// The last break opportunity in an earlier piece of the current line.
struct SLastSeparator {
    int Index = -1;                       // the piece in the output list; -1 none
    int BreakPos = 0;                     // 1-based position of the separator in the piece's text
    int WidthUpTo = 0;                    // width of the text up to and including the separator
    int WidthAfter = 0;                   // width of the text after it
    int LineHeight = 0, LineDescent = 0;  // the line's metrics when the piece was made
    int RunHeight = 0, RunDescent = 0;    // the run's metrics, when text follows the separator
    int ImageHeight = 0;
};

// One per table; it measures on the table's canvas with the table's fonts.
class TCellLayoutContext {
public:
    static constexpr int LeftMargin = 1, RightMargin = 1;

    TCellLayoutContext(const TXGridModel &table, TCanvas &canvas) : table_(table), canvas_(canvas) {}

    // Lays the list out to the width and replaces it by the pieces; returns the text height (0, and
    // the list unchanged, for an empty list). The canvas is locked and its font restored afterwards.
    int Layout(TRunList &runs, int width);

private:
    // What the layout keeps of each piece it made besides the piece itself.
    struct TPieceMetrics {
        int RunHeight = 0, RunDescent = 0;
        int Line = -1;  // the line it was closed in
    };

    void SelectRunFont(const S_SGText &run);
    int TextWidth(const AnsiString &text) const;
    void TakeCharacter(char c, int width);
    void UpdateLineMetrics();
    bool LineHoldsPiece() const;
    void EmitPiece();
    void EndRun();
    void CloseLine(size_t end, int lineHeight, int lineDescent);
    void NewLine();
    void ReflowToLastSeparator();
    void AlignLines();

    const TXGridModel &table_;
    TCanvas &canvas_;
    TFont savedFont_;
    int widths_[256] = {};

    int usable_ = 0;
    int unitCount_ = 0;  // characters of the current run (1 for an image)
    int x_ = 0, y_ = 0;
    int pieceWidth_ = 0;
    int runHeight_ = 0, runDescent_ = 0;
    int breakPos_ = 0;
    size_t lineStart_ = 0;
    int textHeight_ = 0;
    int lineHeight_ = 0, lineDescent_ = 0, imageHeight_ = 0;
    int lineNumber_ = 0;
    bool imageTaken_ = false;
    SLastSeparator lastSeparator_;
    const S_SGText *currentRun_ = nullptr;
    AnsiString pieceText_;
    TRunList output_;
    std::vector<TPieceMetrics> metrics_;
};

int LayoutCellText(TCellLayoutContext &context, TRunList &runs, int width);

// The width a cell's text is laid out to: its span's columns with the lines between them, or its
// column's width.
int GridCellTextWidth(const TXGridModel &table, const S_XSGCell &cell, int col);

// Lays the cell's current runs out and stores the text height; the cell's runs then hold pieces. The
// width, when -1, is the span's, the given column's, or the current column's; a fraction cell's texts
// are prepared first.
void LayoutGridCell(TXGridModel &table, S_XSGCell &cell, int width = -1, int col = -1);
// Every plain cell and every span master at its own width.
void RelayoutGridCells(TXGridModel &table);
// Lays a copy of the cell's current runs out at its width and stores only the text height.
void MeasureCellText(TXGridModel &table, S_XSGCell &cell);

// Top of the cell's text block in its rectangle by the vertical alignment (0 top, 1 centre, 2 bottom).
int CellTextTop(const TRect &rect, const S_XSGCell &cell);

// Spread the difference between the client extent and the columns' (rows') total, lines included,
// over all of them, the remainder on the last; none gets below 1 pixel. With relayout every cell is
// laid out again. Fitting both ways stretches the columns, then the rows.
void StretchGridColumns(TXGridModel &table, bool relayout);
void StretchGridRows(TXGridModel &table, bool relayout);
void StretchGridBoth(TXGridModel &table, bool relayout);
