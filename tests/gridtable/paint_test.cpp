// Painting of the grid table's cells on a recording canvas: fill colours, lines, spans scrolled under
// the fixed rows, runs on a shared baseline, images, and the canvas lock.
#include <gtest/gtest.h>

#include <thread>

#include "gridtable/GridPaint.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/gridtable/StandInHost.h"

namespace {

constexpr TColor Entry = 0x123456;
const SGridConfigColours Config{0x000001, 0x000002, 0x000003, 0x000004};

// A model on a stand-in host and the grid geometry the table would keep for it: no line of the grid's
// own, every size with the table's line added.
struct PaintFixture {
    TGridFixture f;
    TGridGeometry grid;
    TRecordingCanvas screen, off;
    std::vector<int> images;
    int line;

    PaintFixture(int rows, int cols, int fixedRows, int fixedCols, int lineWidth = 1)
        : f(rows, cols, fixedRows, fixedCols), line(lineWidth)
    {
        f.host.lineWidth = lineWidth;
        grid.SetGridLineWidth(0);
        grid.SetColCount(cols);
        grid.SetRowCount(rows);
        grid.SetFixedRows(fixedRows);
        grid.SetFixedCols(fixedCols);
        for (int c = 0; c < cols; ++c) {
            f.host.colWidths[c] = 40;
            grid.SetColWidth(c, 40 + line);
        }
        for (int r = 0; r < rows; ++r) {
            f.host.rowHeights[r] = 20;
            grid.SetRowHeight(r, 20 + line);
        }
        grid.SetClientSize(400, 300);
    }

    TGridPaintContext Context()
    {
        TGridPaintContext context{f.table, grid};
        context.LineWidth = line;
        context.Config = Config;
        context.Background = clWhite;
        context.DrawImage = [this](TCanvas &, int, int, int index) { images.push_back(index); };
        context.Offscreen = [this](int, int) -> TCanvas * { return &off; };
        return context;
    }

    void Paint(TGridPaintContext &context, int col, int row, TGridDrawState state = 0)
    {
        PaintGridTableCell(context, screen, col, row, grid.CellBounds(col, row), state);
    }
    void Paint(int col, int row, TGridDrawState state = 0)
    {
        TGridPaintContext context = Context();
        Paint(context, col, row, state);
    }
    // The brush colour of the first fill.
    TColor FirstFill() const { return screen.CallsOf("FillRect").at(0).BrushColor; }
};

std::unique_ptr<S_SGFont> FontOfHeight(int height)
{
    return CreateGridFont("Arial", 0, clBlack, false, false, false, false, -height);
}

// A shown run of a font with a text.
S_SGText TextRun(int font, const AnsiString &text, int number)
{
    S_SGText run;
    run.Font = static_cast<std::uint16_t>(font);
    run.Text = text;
    run.Number = static_cast<std::uint16_t>(number);
    return run;
}

S_SGText ImageRun(int index, int number)
{
    S_SGText run;
    run.Flags = RunShown | RunKindOne | RunImage;
    run.Font = static_cast<std::uint16_t>(index);
    run.Width = run.Height = 16;
    run.Number = static_cast<std::uint16_t>(number);
    return run;
}

// The baseline a text drawn on its rectangle's bottom stands on (the recording canvas's descent is a
// quarter of the font height).
int Baseline(const TCanvasCall &call)
{
    EXPECT_TRUE(call.Flags & dtBottom);
    EXPECT_TRUE(call.Flags & dtSingleLine);
    const int h = call.FontHeight < 0 ? -call.FontHeight : call.FontHeight;
    return call.Rect.Bottom - h / 4;
}

}  // namespace

TEST(GridPaintColours, DesignModeColoursForEveryState)
{
    SCellColourState s;
    s.Designing = true;
    s.Editable = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), Entry);
    s.Marked = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), clWindow);
    s.RowSelected = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), clGreen);
    s.Selected = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), TColor{0xF0CAA6});
    s.Fixed = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), clBtnFace);
    s.Fixed = false;
    s.Editable = false;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), clBtnFace);
}

TEST(GridPaintColours, RunTimeColoursComeFromTheConfigurationForEveryState)
{
    SCellColourState s;
    s.Editable = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), Entry);
    s.Marked = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), Config.MarkedEditable);
    s.RowSelected = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), Config.RowSelection);
    s.Selected = true;
    EXPECT_EQ(ChooseCellColour(s, Entry, Config), Config.Selected);
    // Fixed or not editable: the mark colour of passive cells when marked, else the table entry, whether
    // selected or not.
    for (bool fixed : {true, false}) {
        SCellColourState p;
        p.Fixed = fixed;
        p.Editable = fixed;
        p.Selected = p.RowSelected = true;
        EXPECT_EQ(ChooseCellColour(p, Entry, Config), Entry) << fixed;
        p.Marked = true;
        EXPECT_EQ(ChooseCellColour(p, Entry, Config), Config.MarkedFixed) << fixed;
    }
}

TEST(GridPaintColours, ConfigurationOffsetsAreReadFromTheRecord)
{
    s_Cfg cfg;
    cfg.SetU32(CfgField::MarkedFixedColour, 0x0A0B0C);
    cfg.SetU32(CfgField::MarkedEditableColour, 0x0D0E0F);
    cfg.SetU32(CfgField::SelectedCellColour, 0x102030);
    cfg.SetU32(CfgField::RowSelectionColour, 0x405060);
    s_Cfg *before = Cfg;
    Cfg = &cfg;
    const SGridConfigColours read = GridConfigColours();
    Cfg = nullptr;
    const SGridConfigColours none = GridConfigColours();
    Cfg = before;
    EXPECT_EQ(read.MarkedFixed, 0x0A0B0Cu);
    EXPECT_EQ(read.MarkedEditable, 0x0D0E0Fu);
    EXPECT_EQ(read.Selected, 0x102030u);
    EXPECT_EQ(read.RowSelection, 0x405060u);
    EXPECT_EQ(none.Selected, clSkyBlue);  // no record: the design colours
}

TEST(GridPaint, RowsOfTheRowSelectionArePaintedInTheirConfiguredColourOnlyWhenTheTableSelectsRows)
{
    PaintFixture p(3, 3, 1, 1);
    p.f.At(2, 2).Flags = CellEditable;
    p.f.table.RowDescriptions.Rows[2].Selected = 1;
    TGridPaintContext context = p.Context();
    p.Paint(context, 2, 2);
    EXPECT_EQ(p.FirstFill(), GridColourAt(p.f.table, 3));
    p.screen.ClearCalls();
    context.RowSelection = true;
    p.Paint(context, 2, 2);
    EXPECT_EQ(p.FirstFill(), Config.RowSelection);
    // A marked fixed cell takes the passive mark colour.
    p.screen.ClearCalls();
    p.f.At(0, 2).Flags = CellEditable | CellMarked;
    p.Paint(context, 2, 0);
    EXPECT_EQ(p.FirstFill(), Config.MarkedFixed);
}

TEST(GridPaint, PlainCellIsFilledWithoutItsLineAndItsLinesRunAlongTheWholeRectangle)
{
    for (int line : {1, 3}) {
        PaintFixture p(3, 3, 0, 0, line);
        p.f.table.Colours.Colours[4] = clRed;
        p.f.table.Colours.Count = 5;
        S_XSGCell &cell = p.f.At(1, 1);
        cell.Flags = CellEditable;
        cell.RightLineColour = 2;   // black
        cell.BottomLineColour = 4;  // red
        p.Paint(1, 1);
        const TRect r = p.grid.CellBounds(1, 1);
        const auto fills = p.screen.CallsOf("FillRect");
        ASSERT_EQ(fills.size(), 3u) << line;
        EXPECT_EQ(fills[0].Rect, Rect(r.Left, r.Top, r.Right - line, r.Bottom - line));
        EXPECT_EQ(fills[0].BrushColor, GridColourAt(p.f.table, 3));
        EXPECT_EQ(fills[1].Rect, Rect(r.Right - line, r.Top, r.Right, r.Bottom));  // right, top to bottom
        EXPECT_EQ(fills[1].BrushColor, clBlack);
        EXPECT_EQ(fills[2].Rect, Rect(r.Left, r.Bottom - line, r.Right, r.Bottom));  // bottom, left to right
        EXPECT_EQ(fills[2].BrushColor, clRed);

        // A bottom line in the cell's background: the right line stops short of it.
        p.screen.ClearCalls();
        cell.BottomLineColour = 0;
        p.Paint(1, 1);
        const auto open = p.screen.CallsOf("FillRect");
        ASSERT_EQ(open.size(), 3u);
        EXPECT_EQ(open[1].Rect, Rect(r.Right - line, r.Top, r.Right, r.Bottom - line));
        EXPECT_EQ(open[2].BrushColor, open[0].BrushColor);
    }
}

TEST(GridPaint, FocusFrameOnlyOnTheCurrentCellOfATableWithEditableCells)
{
    PaintFixture p(3, 3, 1, 1);
    p.f.At(1, 1).Flags = CellEditable;
    p.grid.MoveCurrent(1, 1, true);
    p.Paint(1, 1);
    EXPECT_TRUE(p.screen.CallsOf("Rectangle").empty());  // no editable cell known to the table
    p.f.table.HasEditable = true;
    p.Paint(2, 1);
    EXPECT_TRUE(p.screen.CallsOf("Rectangle").empty());  // not the current cell
    p.screen.ClearCalls();
    p.Paint(1, 1, gdSelected);
    const auto frames = p.screen.CallsOf("Rectangle");
    ASSERT_EQ(frames.size(), 1u);
    const TRect r = p.grid.CellBounds(1, 1);
    EXPECT_EQ(frames[0].Rect, Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
    EXPECT_EQ(p.FirstFill(), Config.Selected);
}

TEST(GridPaint, SpanWhoseMasterRowIsUnderAFixedRowIsPaintedOnlyBelowTheFixedRows)
{
    PaintFixture p(8, 4, 1, 1);
    p.grid.SetClientSize(200, 70);
    ASSERT_NE(MergeGridCells(p.f.table, 2, 3, 2, 1), nullptr);  // rows 2-3, columns 1-2
    ASSERT_TRUE(p.grid.SetTopLeft(1, 3));                       // row 2 scrolled under row 0
    const int fixedHeight = static_cast<int>(p.grid.FixedHeight());

    // The span's true place reaches under the fixed row.
    const TRect span = GridCellScreenRect(p.f.table, p.grid, 1, 2, 3);
    EXPECT_EQ(span.Top, fixedHeight - 21);
    EXPECT_EQ(span.Bottom, fixedHeight + 20);
    EXPECT_EQ(span.Left, 41);
    EXPECT_EQ(span.Right, 41 + 81);
    EXPECT_EQ(GridCellScreenRect(p.f.table, p.grid, 1, 1, 2), span);
    const TRect shown = GridCellVisibleRect(p.f.table, p.grid, 1, 1, 3);
    EXPECT_EQ(shown, Rect(41, fixedHeight, 41 + 82, fixedHeight + 21));

    p.Paint(2, 3);
    EXPECT_TRUE(p.screen.CallsOf("FillRect").empty());
    const auto copies = p.screen.CallsOf("CopyRect");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Rect, shown);
    EXPECT_EQ(copies[0].X, shown.Left);
    EXPECT_EQ(copies[0].Y, shown.Top);
    // Off screen the whole span is painted at its true place.
    const auto offFills = p.off.CallsOf("FillRect");
    ASSERT_FALSE(offFills.empty());
    EXPECT_EQ(offFills[0].Rect, span);

    // Scrolled back, the span is painted directly.
    p.screen.ClearCalls();
    ASSERT_TRUE(p.grid.SetTopLeft(1, 1));
    p.Paint(1, 2);
    EXPECT_TRUE(p.screen.CallsOf("CopyRect").empty());
    EXPECT_EQ(p.screen.CallsOf("FillRect").at(0).Rect, GridCellScreenRect(p.f.table, p.grid, 1, 1, 2));
}

TEST(GridPaint, SpanInTheFixedColumnsIsNotCutAtTheirBorder)
{
    PaintFixture p(8, 4, 1, 2);
    p.grid.SetClientSize(200, 70);
    ASSERT_NE(MergeGridCells(p.f.table, 2, 3, 1, 0), nullptr);  // rows 2-3 of both fixed columns
    ASSERT_TRUE(p.grid.SetTopLeft(2, 3));
    const TRect shown = GridCellVisibleRect(p.f.table, p.grid, 1, 0, 3);
    EXPECT_EQ(shown.Left, 0);
    EXPECT_EQ(shown.Top, static_cast<int>(p.grid.FixedHeight()));
    // Nothing of it is shown once it is scrolled away whole.
    ASSERT_TRUE(p.grid.SetTopLeft(2, 5));
    EXPECT_EQ(GridCellVisibleRect(p.f.table, p.grid, 1, 0, 3), TRect{});
}

TEST(GridPaint, TwoFontsOnOneLineShareABaselineOnScreenAndOffScreen)
{
    PaintFixture p(6, 3, 1, 0);
    p.grid.SetClientSize(400, 70);
    AddGridFont(p.f.table, FontOfHeight(12));
    AddGridFont(p.f.table, FontOfHeight(24));
    auto fill = [&](S_XSGCell &cell) {
        cell.Flags = CellEditable | CellCompact;
        cell.Runs1 = {TextRun(0, "ab ", 1), TextRun(1, "CD", 2)};
    };
    fill(p.f.At(1, 0));
    ASSERT_NE(MergeGridCells(p.f.table, 2, 3, 1, 0), nullptr);
    fill(p.f.At(2, 0));
    for (int c = 0; c < 3; ++c)
        p.f.host.colWidths[c] = 100, p.grid.SetColWidth(c, 101);

    p.Paint(0, 1);
    const auto texts = p.screen.CallsOf("DrawText");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].FontHeight, texts[1].FontHeight);
    EXPECT_EQ(Baseline(texts[0]), Baseline(texts[1]));
    EXPECT_EQ(texts[0].Text, "ab ");
    EXPECT_EQ(texts[1].Text, "CD");
    EXPECT_EQ(p.screen.Font()->Height(), -12);  // font 0 again

    ASSERT_TRUE(p.grid.SetTopLeft(0, 3));  // the span's first row under the fixed row
    p.Paint(0, 3);
    const auto offTexts = p.off.CallsOf("DrawText");
    ASSERT_EQ(offTexts.size(), 2u);
    EXPECT_EQ(Baseline(offTexts[0]), Baseline(offTexts[1]));
    EXPECT_LT(Baseline(offTexts[0]), static_cast<int>(p.grid.FixedHeight()));  // drawn where the span lies
}

TEST(GridPaint, LineBreaksThatEndALineAreNotDrawnAsCharacters)
{
    // A fraction's numerator ends with a line feed that puts the denominator on the next line; a
    // typed text may hold CR LF. Neither is a glyph: drawn, they would show as boxes after the text.
    PaintFixture p(2, 2, 0, 0);
    AddGridFont(p.f.table, FontOfHeight(12));
    S_XSGCell &cell = p.f.At(0, 0);
    cell.Flags = CellEditable | CellCompact;
    cell.Runs1 = {TextRun(0, " 1\n", 1), TextRun(0, "2", 2), TextRun(0, "ab\r\ncd", 3)};
    p.f.host.colWidths[0] = 200, p.grid.SetColWidth(0, 201);
    p.f.host.rowHeights[0] = 80, p.grid.SetRowHeight(0, 81);
    p.Paint(0, 0);
    std::vector<std::string> drawn;
    for (const auto &call : p.screen.CallsOf("DrawText"))
        drawn.push_back(call.Text);
    EXPECT_EQ(drawn, (std::vector<std::string>{" 1", "2", "ab", "cd"}));
}

TEST(GridPaint, ImageIndexOfEightyEightOrMoreDrawsNothing)
{
    PaintFixture p(2, 2, 0, 0);
    S_XSGCell &cell = p.f.At(0, 0);
    cell.Flags = CellEditable | CellCompact;
    cell.Runs1 = {ImageRun(5, 1), ImageRun(87, 2), ImageRun(88, 3), ImageRun(300, 4)};
    p.f.host.colWidths[0] = 200, p.grid.SetColWidth(0, 201);
    p.Paint(0, 0);
    EXPECT_EQ(p.images, (std::vector<int>{5, 87}));
}

TEST(GridPaint, MissingFontFallsBackToFontZeroAndAnEmptyFontTableToTheComponentsFont)
{
    PaintFixture p(1, 1, 0, 0);
    TRecordingCanvas canvas;
    p.f.host.font.SetHeight(-17);
    SelectGridFont(p.f.table, canvas, 5);
    EXPECT_EQ(canvas.Font()->Height(), -17);
    AddGridFont(p.f.table, FontOfHeight(9));
    SelectGridFont(p.f.table, canvas, 5);
    EXPECT_EQ(canvas.Font()->Height(), -9);
    EXPECT_EQ(p.f.table.CurrentFontId, 0);
}

TEST(GridPaint, EmptyModelPaintsNothingAndLeavesTheCanvasUnlocked)
{
    TStandInHost host(1, 1);
    TXGridModel table(host);  // no screen loaded: no cells
    TGridGeometry grid;
    TRecordingCanvas canvas;
    TGridPaintContext context{table, grid};
    int before = 0, after = 0;
    context.BeforeDraw = [&](int, int, const TRect &, TGridDrawState) { ++before; };
    context.AfterDraw = [&](int, int, const TRect &, TGridDrawState) { ++after; };
    PaintGridTableCell(context, canvas, 0, 0, Rect(0, 0, 64, 24), 0);
    EXPECT_TRUE(canvas.Calls().empty());
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 0);
    bool free = false;
    std::thread([&] {
        free = canvas.TryLock();
        if (free)
            canvas.Unlock();
    }).join();
    EXPECT_TRUE(free);
    EXPECT_EQ(GridCellScreenRect(table, grid, 1, 9, 9), TRect{});  // outside the grid
}
