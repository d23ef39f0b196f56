// The custom-drawn grid on a real window (run under Wine inside Xvfb): what it paints, scrolling by
// scroll bar, wheel and keys, the current cell under SelectCell, the mouse, and its border.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "framework/windows/Forms.h"
#include "framework/windows/Grids.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/FormHost.h"
#include "tests/support/WindowPicture.h"

namespace {
struct Drawn {
    int col, row;
    TRect rect;
    TGridDrawState state;
};

// A grid that records what it is asked to draw and select and how often its top-left cell moves; it
// refuses to select the cells in `refused`.
class RecordingGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;
    std::vector<Drawn> drawn;
    std::vector<std::pair<int, int>> asked;
    std::set<std::pair<int, int>> refused;
    std::vector<TGridScrollDirection> timedScrolls;
    int topLeftChanges = 0;

    void TimedScroll(TGridScrollDirection direction) override
    {
        timedScrolls.push_back(direction);
        TCustomGrid::TimedScroll(direction);
    }

protected:
    void DrawCell(int col, int row, const TRect &rect, TGridDrawState state) override
    {
        drawn.push_back(Drawn{col, row, rect, state});
        Canvas()->TextOut(rect.Left + 2, rect.Top + 2, std::to_string(col) + "," + std::to_string(row));
    }
    bool SelectCell(int col, int row) override
    {
        asked.emplace_back(col, row);
        return !refused.count({col, row});
    }
    void TopLeftChanged() override { ++topLeftChanges; }
};

// 8 columns and 40 rows, two rows and one column fixed, on a shown form.
struct GridHost : FormHost {
    GridHost()
    {
        grid = Add<RecordingGrid>();
        grid->SetBounds(10, 10, 300, 200);
        grid->SetColCount(8);
        grid->SetRowCount(40);
        grid->SetFixedRows(2);
        form->Show();
        Paint();
        grid->topLeftChanges = 0;  // the fixed rows moved the top row
    }
    // Paints what is invalid now and forgets what was drawn before.
    void Paint()
    {
        grid->drawn.clear();
        UpdateWindow(grid->Handle());
    }
    // Everything again.
    void Repaint()
    {
        grid->drawn.clear();
        grid->Repaint();
    }
    RecordingGrid *grid;
};

LPARAM At(const TRect &r) { return MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

// Every cell drawn is on screen at its place, the fixed ones drawn before the others, and after a
// whole repaint every cell on screen drawn once.
void ExpectOnlyShownCellsDrawn(const RecordingGrid &grid, bool whole)
{
    const TGridGeometry &g = grid.Geometry();
    std::set<std::pair<int, int>> seen;
    bool scrollableSeen = false;
    for (const Drawn &d : grid.drawn) {
        const bool fixed = d.col < grid.FixedCols() || d.row < grid.FixedRows();
        EXPECT_TRUE(d.col < grid.FixedCols() || d.col >= grid.LeftCol()) << d.col << "," << d.row;
        EXPECT_TRUE(d.row < grid.FixedRows() || d.row >= grid.TopRow()) << d.col << "," << d.row;
        EXPECT_NE(TRect{}, grid.CellRect(d.col, d.row)) << d.col << "," << d.row;
        EXPECT_EQ(g.CellBounds(d.col, d.row), d.rect);
        EXPECT_EQ(fixed, (d.state & gdFixed) != 0);
        EXPECT_FALSE(fixed && scrollableSeen) << "fixed cell " << d.col << "," << d.row << " after the others";
        scrollableSeen = scrollableSeen || !fixed;
        EXPECT_TRUE(seen.emplace(d.col, d.row).second) << "drawn twice: " << d.col << "," << d.row;
    }
    if (!whole)
        return;
    for (const TGridSpan &c : g.ShownCols())
        for (const TGridSpan &r : g.ShownRows())
            EXPECT_TRUE(seen.count({c.Index, r.Index})) << "not drawn: " << c.Index << "," << r.Index;
}
}  // namespace

TEST(Grids, ScrollingByScrollBarAndWheelDrawsOnlyShownCellsAndTellsEachMoveOnce)
{
    GridHost host;
    RecordingGrid *grid = host.grid;
    HWND h = grid->Handle();
    host.Repaint();
    ExpectOnlyShownCellsDrawn(*grid, true);
    EXPECT_EQ(2, grid->TopRow());
    EXPECT_EQ(0, grid->topLeftChanges);
    EXPECT_EQ(2, GetScrollPos(h, SB_VERT));

    // A line down on the vertical bar.
    SendMessageW(h, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(3, grid->TopRow());
    EXPECT_EQ(1, grid->topLeftChanges);
    EXPECT_EQ(3, GetScrollPos(h, SB_VERT));
    host.Paint();
    ExpectOnlyShownCellsDrawn(*grid, true);
    for (const Drawn &d : grid->drawn)
        EXPECT_NE(2, d.row);  // scrolled away under the fixed rows

    // A page, the thumb and the ends.
    const int page = grid->VisibleRowCount();
    SendMessageW(h, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(3 + page, grid->TopRow());
    EXPECT_EQ(2, grid->topLeftChanges);
    SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
    EXPECT_EQ(20, grid->TopRow());
    EXPECT_EQ(3, grid->topLeftChanges);
    SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 25), 0);  // no thumb tracking
    EXPECT_EQ(20, grid->TopRow());
    SendMessageW(h, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(grid->Geometry().MaxTopRow(), grid->TopRow());
    EXPECT_EQ(4, grid->topLeftChanges);
    SendMessageW(h, WM_VSCROLL, SB_LINEDOWN, 0);  // at the end already: no move
    EXPECT_EQ(4, grid->topLeftChanges);
    EXPECT_EQ(grid->TopRow(), GetScrollPos(h, SB_VERT));
    host.Paint();
    ExpectOnlyShownCellsDrawn(*grid, true);

    // Sideways.
    SendMessageW(h, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(2, grid->LeftCol());
    EXPECT_EQ(5, grid->topLeftChanges);
    EXPECT_EQ(2, GetScrollPos(h, SB_HORZ));
    host.Paint();
    ExpectOnlyShownCellsDrawn(*grid, true);
    for (const Drawn &d : grid->drawn)
        EXPECT_NE(1, d.col);

    // The wheel moves the current row; past the last row shown the grid scrolls by one.
    SendMessageW(h, WM_VSCROLL, SB_TOP, 0);
    grid->SetCol(2);
    grid->SetRow(grid->TopRow() + grid->VisibleRowCount() - 1);
    const int top = grid->TopRow();
    grid->topLeftChanges = 0;
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(top + grid->VisibleRowCount(), grid->Row());
    EXPECT_EQ(top + 1, grid->TopRow());
    EXPECT_EQ(1, grid->topLeftChanges);
    EXPECT_EQ(top + 1, GetScrollPos(h, SB_VERT));
    host.Paint();
    ExpectOnlyShownCellsDrawn(*grid, true);
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);  // back up: shown already
    EXPECT_EQ(top + grid->VisibleRowCount() - 1, grid->Row());
    EXPECT_EQ(1, grid->topLeftChanges);
}

TEST(Grids, ARepaintedCellDrawsOnlyItself)
{
    GridHost host;
    RecordingGrid *grid = host.grid;
    grid->InvalidateCell(3, 5);
    host.Paint();
    ASSERT_FALSE(grid->drawn.empty());
    for (const Drawn &d : grid->drawn)  // its neighbours at most, whose lines meet it
        EXPECT_TRUE(std::abs(d.col - 3) <= 1 && std::abs(d.row - 5) <= 1) << d.col << "," << d.row;
    EXPECT_TRUE(
        std::any_of(grid->drawn.begin(), grid->drawn.end(), [](const Drawn &d) { return d.col == 3 && d.row == 5; }));
    // A cell scrolled away is not painted.
    grid->SetTopRow(10);
    host.Paint();
    grid->InvalidateCell(3, 5);
    host.Paint();
    EXPECT_TRUE(grid->drawn.empty());
}

TEST(Grids, SelectCellReturningFalseKeepsTheCurrentCell)
{
    GridHost host;
    RecordingGrid *grid = host.grid;
    HWND h = grid->Handle();
    grid->refused = {{3, 4}};
    grid->SetCol(3);
    grid->SetRow(3);
    ASSERT_EQ(3, grid->Row());

    // By the mouse, the keys, the wheel and the properties.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(grid->CellRect(3, 4)));
    SendMessageW(h, WM_LBUTTONUP, 0, At(grid->CellRect(3, 4)));
    EXPECT_EQ((TGridCoord{3, 3}), (TGridCoord{grid->Col(), grid->Row()}));
    EXPECT_EQ((std::pair{3, 4}), grid->asked.back());
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(3, grid->Row());
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(3, grid->Row());
    grid->SetRow(4);
    EXPECT_EQ(3, grid->Row());
    EXPECT_EQ((TGridRect{3, 3, 3, 3}), grid->Selection());

    // Another cell is taken.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(grid->CellRect(4, 5)));
    SendMessageW(h, WM_LBUTTONUP, 0, At(grid->CellRect(4, 5)));
    EXPECT_EQ((TGridCoord{4, 5}), (TGridCoord{grid->Col(), grid->Row()}));
    // A click on a fixed cell or past the last cell moves nothing and asks nothing.
    grid->asked.clear();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(grid->CellRect(0, 6)));
    SendMessageW(h, WM_LBUTTONUP, 0, At(grid->CellRect(0, 6)));
    EXPECT_TRUE(grid->asked.empty());
    EXPECT_EQ((TGridCoord{4, 5}), (TGridCoord{grid->Col(), grid->Row()}));
    // Fixed cells and cells outside cannot be made current.
    EXPECT_THROW(grid->SetCol(0), EInvalidGridOperation);
    EXPECT_THROW(grid->SetRow(40), EInvalidGridOperation);
    EXPECT_THROW(grid->SetRowHeights(40, 10), EInvalidGridOperation);
}

TEST(Grids, ArrowKeysMoveTheCurrentCellAndTheViewFollowsIt)
{
    GridHost host;
    RecordingGrid *grid = host.grid;
    HWND h = grid->Handle();
    grid->SetFocus();
    const int last = grid->TopRow() + grid->VisibleRowCount() - 1;
    grid->SetRow(last);
    EXPECT_EQ(0, grid->topLeftChanges);
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(last + 1, grid->Row());
    EXPECT_EQ(3, grid->TopRow());
    EXPECT_EQ(1, grid->topLeftChanges);
    SendMessageW(h, WM_KEYDOWN, VK_END, 1);
    EXPECT_EQ(7, grid->Col());
    EXPECT_EQ(grid->Geometry().MaxLeftCol(), grid->LeftCol());
    SendMessageW(h, WM_KEYDOWN, VK_HOME, 1);
    EXPECT_EQ(1, grid->Col());
    EXPECT_EQ(1, grid->LeftCol());
    grid->topLeftChanges = 0;
    SendMessageW(h, WM_KEYDOWN, VK_NEXT, 1);  // a page: the view turns with the current cell, once
    EXPECT_EQ(last + 1 + grid->VisibleRowCount(), grid->Row());
    EXPECT_EQ(3 + grid->VisibleRowCount(), grid->TopRow());
    EXPECT_EQ(1, grid->topLeftChanges);
    SendMessageW(h, WM_KEYDOWN, VK_UP, 1);
    SendMessageW(h, WM_KEYDOWN, VK_LEFT, 1);  // at the first column: stays
    EXPECT_EQ(1, grid->Col());
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);

    // Focused, the current cell is drawn so.
    host.Repaint();
    int focusedCells = 0;
    for (const Drawn &d : grid->drawn)
        if (d.state & gdFocused) {
            ++focusedCells;
            EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{d.col, d.row}));
            EXPECT_TRUE(d.state & gdSelected);
        }
    EXPECT_EQ(1, focusedCells);
    // The focus going elsewhere repaints the current cell, no longer focused.
    auto *other = host.Add<TButton>();
    other->SetBounds(320, 10, 60, 24);
    other->SetFocus();
    host.Paint();
    ASSERT_FALSE(grid->drawn.empty());
    for (const Drawn &d : grid->drawn)
        EXPECT_FALSE(d.state & gdFocused);
    EXPECT_TRUE(std::any_of(grid->drawn.begin(), grid->drawn.end(),
                            [&](const Drawn &d) { return d.col == grid->Col() && d.row == grid->Row(); }));
    // And coming back.
    grid->SetFocus();
    host.Paint();
    EXPECT_TRUE(std::any_of(grid->drawn.begin(), grid->drawn.end(), [&](const Drawn &d) {
        return d.col == grid->Col() && d.row == grid->Row() && (d.state & gdFocused);
    }));
}

TEST(Grids, RangeSelectGrowsTheSelectionByShiftKeysAndByDraggingThroughTheWindowSystem)
{
    GridHost host;
    RecordingGrid *grid = host.grid;
    HWND h = grid->Handle();
    grid->SetFocus();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(grid->CellRect(2, 3)));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(grid->CellRect(3, 5)));
    SendMessageW(h, WM_LBUTTONUP, 0, At(grid->CellRect(3, 5)));
    EXPECT_EQ((TGridRect{2, 3, 3, 5}), grid->Selection());
    EXPECT_EQ((TGridCoord{2, 3}), (TGridCoord{grid->Col(), grid->Row()}));
    host.Repaint();
    for (const Drawn &d : grid->drawn)
        EXPECT_EQ(grid->Selection().Contains(d.col, d.row), (d.state & gdSelected) != 0) << d.col << "," << d.row;

    // A selection held beyond the cells scrolls step by step.
    grid->TimedScroll(sdDown | sdRight);
    EXPECT_EQ((TGridRect{2, 3, 4, 6}), grid->Selection());
    // The mouse held below the cells: each tick of the timer moves one row down.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(grid->CellRect(2, 3)));
    TPoint below = grid->ClientToScreen(Point(100, grid->ClientHeight() + 20));
    SetCursorPos(below.X, below.Y);
    grid->timedScrolls.clear();
    SendMessageW(h, WM_TIMER, 1, 0);
    SendMessageW(h, WM_TIMER, 1, 0);
    EXPECT_EQ((std::vector<TGridScrollDirection>{sdDown, sdDown}), grid->timedScrolls);
    EXPECT_EQ((TGridRect{2, 3, 2, 5}), grid->Selection());
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(100, grid->ClientHeight() + 20));
    SendMessageW(h, WM_TIMER, 1, 0);  // let go: no more
    EXPECT_EQ(2u, grid->timedScrolls.size());

    // Without range select the selection is the current cell.
    grid->SetOptions(grid->Options() & ~goRangeSelect);
    EXPECT_EQ((TGridRect{2, 3, 2, 3}), grid->Selection());
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(grid->CellRect(4, 4)));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(grid->CellRect(5, 6)));
    SendMessageW(h, WM_LBUTTONUP, 0, At(grid->CellRect(5, 6)));
    EXPECT_EQ((TGridRect{5, 6, 5, 6}), grid->Selection());
}

TEST(Grids, ADoubleClickThatOpensAWindowOverTheGridLeavesNoSelectionRunning)
{
    // The double click's last release goes to the window it opened: the grid never sees it. Its
    // second press, not captured, starts no selection, so no timer scrolls the grid meanwhile.
    GridHost host;
    RecordingGrid *grid = host.grid;
    HWND h = grid->Handle();
    bool opened = false;
    grid->OnDblClick = [&](TObject *) { opened = true; };  // a window over the grid takes the release
    const LPARAM at = At(grid->CellRect(2, 3));
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(KillTimer(h, 1)) << "the selection timer runs";
    // A press that holds the mouse selects until the capture goes elsewhere.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ReleaseCapture();
    EXPECT_FALSE(KillTimer(h, 1)) << "the selection timer runs";
}

TEST(Grids, CellsUnderTheMouseAndCountsKeepTheirRules)
{
    GridHost host;
    RecordingGrid *grid = host.grid;
    int col = 0, row = 0;
    grid->MouseToCell(64, 24, col, row);  // on the lines after the first cell
    EXPECT_EQ(0, col);
    EXPECT_EQ(0, row);
    grid->MouseToCell(-1, 5, col, row);
    EXPECT_EQ(-1, col);
    EXPECT_EQ(-1, row);
    // A lower count lowers the fixed rows; the grid keeps one row.
    grid->SetRowCount(2);
    EXPECT_EQ(1, grid->FixedRows());
    grid->DeleteRow(0);
    EXPECT_EQ(1, grid->RowCount());
    EXPECT_EQ(0, grid->FixedRows());
    grid->SetRowCount(4);
    grid->SetRowHeights(2, 40);
    grid->InsertRow(1);
    EXPECT_EQ(40, grid->RowHeights(3));
    EXPECT_EQ(24, grid->RowHeights(1));
    grid->MoveRow(3, 0);
    EXPECT_EQ(40, grid->RowHeights(0));
    // Everything fits now: no scroll bar, nowhere to scroll.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(grid->Handle(), SB_VERT, &si);
    EXPECT_GT(static_cast<int>(si.nPage), si.nMax - si.nMin);
}

TEST(Grids, TheBorderStyleSetsASunkenEdgeAroundTheCells)
{
    GridHost host;
    RecordingGrid *grid = host.grid;
    grid->SetScrollBars(ssNone);
    EXPECT_EQ(bsSingle, grid->BorderStyle());
    EXPECT_LT(grid->ClientWidth(), grid->Width());
    EXPECT_TRUE(GetWindowLongW(grid->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    grid->SetBorderStyle(bsNone);
    EXPECT_FALSE(GetWindowLongW(grid->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(grid->Width(), grid->ClientWidth());
    EXPECT_EQ(grid->Height(), grid->ClientHeight());
    EXPECT_EQ(grid->ClientHeight(), grid->Geometry().ClientHeight());
}

TEST(Grids, PictureOfAScrolledGridOfDrawnCells)
{
    FormHost host;
    host.form->SetCaption("Grid");
    host.form->SetBounds(0, 0, 420, 300);
    auto *grid = host.Add<TDrawGrid>();
    grid->SetAlign(alClient);
    grid->SetColCount(12);
    grid->SetRowCount(50);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->SetColWidths(0, 40);
    grid->OnDrawCell = [grid](TObject *, int col, int row, const TRect &rect, TGridDrawState state) {
        TCanvas *c = grid->Canvas();
        AnsiString text = row == 0   ? AnsiString(1, static_cast<char>('A' + col - 1))
                          : col == 0 ? std::to_string(row)
                                     : std::to_string(col * row);
        if (row == 0 && col == 0)
            text.clear();
        if (!(state & (gdFixed | gdSelected)) && (col * row) % 7 == 0) {
            c->Brush()->SetColor(TColor(0xD0F0FF));
            c->FillRect(rect);
        }
        c->Brush()->SetStyle(bsClear);
        TRect r = rect;
        c->DrawText(text, r, dtCenter | dtVCenter | dtSingleLine);
        c->Brush()->SetStyle(bsSolid);
    };
    host.form->Show();
    grid->SetFocus();
    grid->SetCol(5);
    grid->SetRow(14);
    grid->SetSelection(TGridRect{5, 14, 7, 16});
    grid->SetTopRow(11);
    grid->SetLeftCol(3);
    grid->Repaint();
    EXPECT_EQ(11, grid->TopRow());
    EXPECT_EQ(3, grid->LeftCol());
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "grid_scrolled"));
}
