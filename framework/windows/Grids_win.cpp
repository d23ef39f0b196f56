#include <windows.h>

#include <algorithm>
#include <climits>

#include "framework/windows/Grids.h"

namespace {
const UINT_PTR kSelectTimer = 1;
const UINT kSelectInterval = 60;

bool Meets(const TRect &a, const TRect &b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

[[noreturn]] void OutOfRange() { throw EInvalidGridOperation("Grid index out of range"); }
}  // namespace

TCustomGrid::TCustomGrid(TComponent *owner) : TCustomControl(owner), fixedColor_(clBtnFace)
{
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
    SetTabStop(true);
    SetControlStyle(ControlStyle() | csCaptureMouse);
}

TCustomGrid::~TCustomGrid() = default;

template <class F>
void TCustomGrid::Change(F &&change)
{
    const TGridCoord topLeft{LeftCol(), TopRow()};
    change();
    UpdateScrollBars();
    Invalidate();
    if (TGridCoord{LeftCol(), TopRow()} != topLeft)
        TopLeftChanged();
}

void TCustomGrid::SetColCount(int count)
{
    if (count == ColCount())
        return;
    Change([&] { geometry_.SetColCount(count); });
}

void TCustomGrid::SetRowCount(int count)
{
    if (count == RowCount())
        return;
    Change([&] { geometry_.SetRowCount(count); });
}

void TCustomGrid::SetFixedCols(int count)
{
    if (count == FixedCols())
        return;
    Change([&] { geometry_.SetFixedCols(count); });
}

void TCustomGrid::SetFixedRows(int count)
{
    if (count == FixedRows())
        return;
    Change([&] { geometry_.SetFixedRows(count); });
}

void TCustomGrid::SetDefaultColWidth(int width)
{
    Change([&] { geometry_.SetDefaultColWidth(width); });
}

void TCustomGrid::SetDefaultRowHeight(int height)
{
    Change([&] { geometry_.SetDefaultRowHeight(height); });
}

void TCustomGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= ColCount())
        OutOfRange();
    if (width != ColWidths(col))
        Change([&] { geometry_.SetColWidth(col, width); });
}

void TCustomGrid::SetRowHeights(int row, int height)
{
    if (row < 0 || row >= RowCount())
        OutOfRange();
    if (height != RowHeights(row))
        Change([&] { geometry_.SetRowHeight(row, height); });
}

void TCustomGrid::SetGridLineWidth(int width)
{
    if (width == GridLineWidth())
        return;
    Change([&] { geometry_.SetGridLineWidth(width); });
}

void TCustomGrid::SetOptions(TGridOptions options)
{
    if (options != Options())
        Change([&] { geometry_.SetOptions(options); });
}

void TCustomGrid::SetFixedColor(TColor color)
{
    fixedColor_ = color;
    Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool on)
{
    defaultDrawing_ = on;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle bars)
{
    if (bars == scrollBars_)
        return;
    scrollBars_ = bars;
    UpdateScrollBars();
}

void TCustomGrid::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    if (HandleAllocated()) {
        HWND h = Handle();
        LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
        ex = style == bsSingle ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
        SetWindowLongPtrW(h, GWL_EXSTYLE, ex);
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        SyncClientSize();
        Invalidate();
    }
}

void TCustomGrid::SetCol(int col)
{
    if (col != Col())
        MoveCurrent(col, Row(), true, true);
}

void TCustomGrid::SetRow(int row)
{
    if (row != Row())
        MoveCurrent(Col(), row, true, true);
}

void TCustomGrid::SetSelection(const TGridRect &selection)
{
    const TGridRect old = Selection();
    geometry_.SetSelection(selection);
    InvalidateRect(old);
    InvalidateRect(Selection());
}

void TCustomGrid::MouseToCell(int x, int y, int &col, int &row) const
{
    TGridCoord cell = MouseCoord(x, y);
    col = cell.X;
    row = cell.Y;
}

void TCustomGrid::InvalidateCell(int col, int row) { InvalidateRect(TGridRect{col, row, col, row}); }

void TCustomGrid::InvalidateRect(const TGridRect &cells)
{
    if (!HandleAllocated())
        return;
    // The block's two corners, wherever they lie, with the lines after the last cell; what lies
    // outside the client area is cut off by the window system.
    TRect first = geometry_.CellBounds(std::max(0, cells.Left), std::max(0, cells.Top));
    TRect last = geometry_.CellBounds(std::min(ColCount() - 1, cells.Right), std::min(RowCount() - 1, cells.Bottom));
    RECT r{first.Left, first.Top, last.Right + GridLineWidth(), last.Bottom + GridLineWidth()};
    // A scrollable block never paints over the fixed cells.
    if (cells.Left >= FixedCols())
        r.left = static_cast<LONG>(std::clamp<long long>(geometry_.FixedWidth(), r.left, INT_MAX));
    if (cells.Top >= FixedRows())
        r.top = static_cast<LONG>(std::clamp<long long>(geometry_.FixedHeight(), r.top, INT_MAX));
    if (r.left < r.right && r.top < r.bottom)
        ::InvalidateRect(Handle(), &r, FALSE);
}

void TCustomGrid::MoveRow(int from, int to)
{
    if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount())
        OutOfRange();
    Change([&] { geometry_.MoveRow(from, to); });
}

void TCustomGrid::InsertRow(int row)
{
    if (row < 0 || row > RowCount())
        OutOfRange();
    Change([&] { geometry_.InsertRow(row, DefaultRowHeight()); });
}

void TCustomGrid::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount())
        OutOfRange();
    Change([&] { geometry_.DeleteRow(row); });
}

void TCustomGrid::DrawCell(int, int, const TRect &, TGridDrawState) {}

bool TCustomGrid::SelectCell(int, int) { return true; }

// ---- moving --------------------------------------------------------------------------------------

void TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show)
{
    if (!geometry_.IsSelectable(col, row))
        OutOfRange();
    if (!SelectCell(col, row))
        return;
    const TGridRect old = Selection();
    geometry_.MoveCurrent(col, row, moveAnchor);
    if (show)
        ClampInView(col, row);
    InvalidateRect(old);
    InvalidateRect(Selection());
}

void TCustomGrid::MoveAnchor(int col, int row)
{
    if (!(Options() & goRangeSelect)) {
        MoveCurrent(col, row, true, true);
        return;
    }
    if (!geometry_.IsSelectable(col, row))
        OutOfRange();
    const TGridRect old = Selection();
    geometry_.MoveAnchor(col, row);
    ClampInView(col, row);
    InvalidateRect(old);
    InvalidateRect(Selection());
}

void TCustomGrid::MoveTopLeft(int col, int row)
{
    if (!geometry_.SetTopLeft(col, row))
        return;
    UpdateScrollBars();
    Invalidate();
    TopLeftChanged();
}

void TCustomGrid::ClampInView(int col, int row)
{
    TGridCoord topLeft = geometry_.TopLeftShowing(col, row);
    MoveTopLeft(topLeft.X, topLeft.Y);
}

void TCustomGrid::TimedScroll(TGridScrollDirection direction)
{
    TGridCoord to = geometry_.Anchor();
    if ((direction & sdLeft) && to.X > FixedCols())
        --to.X;
    if ((direction & sdRight) && to.X < ColCount() - 1)
        ++to.X;
    if ((direction & sdUp) && to.Y > FixedRows())
        --to.Y;
    if ((direction & sdDown) && to.Y < RowCount() - 1)
        ++to.Y;
    if (to != geometry_.Anchor())
        MoveAnchor(to.X, to.Y);
}

// ---- window --------------------------------------------------------------------------------------

void TCustomGrid::CreateParams(TCreateParams &params)
{
    TCustomControl::CreateParams(params);
    if (borderStyle_ == bsSingle)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::InitializeWnd()
{
    TCustomControl::InitializeWnd();
    SyncClientSize();
    UpdateScrollBars();
}

void TCustomGrid::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    // With a window its size messages tell; before, the client area is the whole control.
    if (!HandleAllocated())
        SyncClientSize();
}

void TCustomGrid::SyncClientSize()
{
    const TGridCoord topLeft{LeftCol(), TopRow()};
    geometry_.SetClientSize(ClientWidth(), ClientHeight());
    if (TGridCoord{LeftCol(), TopRow()} != topLeft) {
        Invalidate();
        TopLeftChanged();
    }
}

// The bars' ranges run from the first scrollable column (row) to the last, with a page of the cells
// that fit at the far end, so that a bar's position is the top-left cell and a grid that fits shows
// no bar. Bars appearing or going change the client area, which can call for the other bar: a few
// rounds settle it.
void TCustomGrid::UpdateScrollBars()
{
    if (!HandleAllocated() || updatingScrollBars_)
        return;
    updatingScrollBars_ = true;
    HWND h = Handle();
    for (int round = 0; round < 3; ++round) {
        const int width = ClientWidth(), height = ClientHeight();
        auto bar = [&](int which, bool on, int fixed, int count, int maxFirst, int first) {
            if (!on) {
                ShowScrollBar(h, which, FALSE);
                return;
            }
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            si.nMin = fixed;
            si.nMax = count - 1;
            si.nPage = static_cast<UINT>(count - maxFirst);
            si.nPos = first;
            SetScrollInfo(h, which, &si, TRUE);
        };
        bar(SB_VERT, scrollBars_ == ssVertical || scrollBars_ == ssBoth, FixedRows(), RowCount(), geometry_.MaxTopRow(),
            TopRow());
        bar(SB_HORZ, scrollBars_ == ssHorizontal || scrollBars_ == ssBoth, FixedCols(), ColCount(),
            geometry_.MaxLeftCol(), LeftCol());
        SyncClientSize();
        if (ClientWidth() == width && ClientHeight() == height)
            break;
    }
    updatingScrollBars_ = false;
}

void TCustomGrid::Scroll(bool vertical, unsigned code, int position)
{
    const int first = vertical ? TopRow() : LeftCol();
    const int page = vertical ? VisibleRowCount() : VisibleColCount();
    int to = first;
    switch (code) {
    case SB_LINEUP: to = first - 1; break;
    case SB_LINEDOWN: to = first + 1; break;
    case SB_PAGEUP: to = first - page; break;
    case SB_PAGEDOWN: to = first + page; break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = INT_MAX; break;
    case SB_THUMBTRACK:
        if (!(Options() & goThumbTracking))
            return;
        to = position;
        break;
    case SB_THUMBPOSITION: to = position; break;
    default: return;
    }
    if (vertical)
        MoveTopLeft(LeftCol(), to);
    else
        MoveTopLeft(to, TopRow());
}

void TCustomGrid::WndProc(TMessage &m)
{
    switch (m.Msg) {
    case WM_SIZE:
        SyncClientSize();
        UpdateScrollBars();
        break;
    case WM_ERASEBKGND:
        // Paint covers the whole client area.
        m.Result = 1;
        return;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!m.LParam) {
            const bool vertical = m.Msg == WM_VSCROLL;
            const unsigned code = LOWORD(m.WParam);
            int position = HIWORD(m.WParam);
            if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
                // The 16 bits of the message hold no more than 65535 rows; the bar's own track
                // position holds all.
                SCROLLINFO si{};
                si.cbSize = sizeof si;
                si.fMask = SIF_TRACKPOS | SIF_RANGE;
                if (GetScrollInfo(Handle(), vertical ? SB_VERT : SB_HORZ, &si) && si.nMax > 0xFFFF)
                    position = si.nTrackPos;
            }
            Scroll(vertical, code, position);
            m.Result = 0;
            return;
        }
        break;
    case WM_TIMER:
        if (m.WParam == kSelectTimer) {
            // The button's release may have gone to another window (one the grid opened over itself).
            if (!selecting_ || GetCapture() != Handle()) {
                StopSelecting();
                KillTimer(Handle(), kSelectTimer);
                return;
            }
            POINT at;
            GetCursorPos(&at);
            ::ScreenToClient(Handle(), &at);
            // Beyond the cells wholly shown the selection follows the mouse step by step.
            const int lastCol = LeftCol() + VisibleColCount() - 1, lastRow = TopRow() + VisibleRowCount() - 1;
            const int right = geometry_.CellBounds(lastCol, TopRow()).Right + GridLineWidth();
            const int bottom = geometry_.CellBounds(LeftCol(), lastRow).Bottom + GridLineWidth();
            TGridScrollDirection direction = 0;
            if (at.x < geometry_.FixedWidth())
                direction |= sdLeft;
            else if (at.x >= right)
                direction |= sdRight;
            if (at.y < geometry_.FixedHeight())
                direction |= sdUp;
            else if (at.y >= bottom)
                direction |= sdDown;
            if (direction)
                TimedScroll(direction);
            return;
        }
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
    case WM_KILLFOCUS: StopSelecting(); break;
    default: break;
    }
    TCustomControl::WndProc(m);
    // The current cell is drawn focused only while the grid has the focus.
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS)
        InvalidateRect(Selection());
}

// ---- mouse and keys ------------------------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Designing() && HandleAllocated() && CanFocus() && !Focused())
        SetFocus();
    if (button == mbLeft) {
        TGridCoord cell = MouseCoord(x, y);
        if (geometry_.IsSelectable(cell.X, cell.Y)) {
            if ((shift & ssShift) && (Options() & goRangeSelect))
                MoveAnchor(cell.X, cell.Y);
            else
                MoveCurrent(cell.X, cell.Y, true, true);
            // Only a press the grid holds the mouse for selects: the second press of a double click is
            // not captured, and its release may go to whatever the double click opens.
            if (HandleAllocated() && GetCapture() == Handle()) {
                selecting_ = true;
                SetTimer(Handle(), kSelectTimer, kSelectInterval, nullptr);
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y)
{
    if (selecting_ && (shift & ssLeft)) {
        // Within the cells shown; beyond them the timer moves on.
        TGridCoord cell = MouseCoord(x, y);
        if (geometry_.IsSelectable(cell.X, cell.Y) && geometry_.VisibleCells().Contains(cell.X, cell.Y) &&
            cell != geometry_.Anchor())
            MoveAnchor(cell.X, cell.Y);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft)
        StopSelecting();
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::StopSelecting()
{
    if (!selecting_)
        return;
    selecting_ = false;
    if (HandleAllocated())
        KillTimer(Handle(), kSelectTimer);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    if (!TCustomControl::DoMouseWheelDown(shift, mousePos) && Row() < RowCount() - 1)
        SetRow(Row() + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    if (!TCustomControl::DoMouseWheelUp(shift, mousePos) && Row() > FixedRows())
        SetRow(Row() - 1);
    return true;
}

void TCustomGrid::KeyDown(uint16_t &key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    TGridCoord to{Col(), Row()};
    TGridCoord topLeft{LeftCol(), TopRow()};
    const bool ctrl = (shift & ssCtrl) != 0;
    switch (key) {
    case VK_UP: --to.Y; break;
    case VK_DOWN: ++to.Y; break;
    case VK_LEFT: --to.X; break;
    case VK_RIGHT: ++to.X; break;
    case VK_PRIOR:
        to.Y -= VisibleRowCount();
        topLeft.Y -= VisibleRowCount();
        break;
    case VK_NEXT:
        to.Y += VisibleRowCount();
        topLeft.Y += VisibleRowCount();
        break;
    case VK_HOME:
        to.X = FixedCols();
        if (ctrl)
            to.Y = FixedRows();
        break;
    case VK_END:
        to.X = ColCount() - 1;
        if (ctrl)
            to.Y = RowCount() - 1;
        break;
    default: return;
    }
    to.X = std::clamp(to.X, FixedCols(), ColCount() - 1);
    to.Y = std::clamp(to.Y, FixedRows(), RowCount() - 1);
    // A page turns the view with the current cell.
    if (topLeft != TGridCoord{LeftCol(), TopRow()})
        MoveTopLeft(topLeft.X, topLeft.Y);
    if (to != TGridCoord{Col(), Row()})
        MoveCurrent(to.X, to.Y, !((shift & ssShift) && (Options() & goRangeSelect)), true);
}

// ---- painting ------------------------------------------------------------------------------------

void TCustomGrid::Paint()
{
    TCanvas *canvas = Canvas();
    const TRect clip = canvas->ClipRect();
    const std::vector<TGridSpan> cols = geometry_.ShownCols(), rows = geometry_.ShownRows();
    const bool focused = Focused();
    // The fixed cells first, then the others.
    for (bool fixedPass : {true, false})
        for (const TGridSpan &row : rows)
            for (const TGridSpan &col : cols)
                if ((row.Index < FixedRows() || col.Index < FixedCols()) == fixedPass)
                    PaintCell(col, row, clip, focused);
    // The client area beyond the last column and row.
    const int line = GridLineWidth();
    const int right = cols.empty() ? 0 : cols.back().Start + cols.back().Size + line;
    const int bottom = rows.empty() ? 0 : rows.back().Start + rows.back().Size + line;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    if (right < ClientWidth())
        canvas->FillRect(Rect(right, 0, ClientWidth(), ClientHeight()));
    if (bottom < ClientHeight())
        canvas->FillRect(Rect(0, bottom, std::min(right, ClientWidth()), ClientHeight()));
}

void TCustomGrid::PaintCell(const TGridSpan &col, const TGridSpan &row, const TRect &clip, bool focused)
{
    TCanvas *canvas = Canvas();
    const int line = GridLineWidth();
    const TRect rect = Bounds(col.Start, row.Start, col.Size, row.Size);
    if (!Meets(Rect(rect.Left, rect.Top, rect.Right + line, rect.Bottom + line), clip))
        return;
    const bool fixed = col.Index < FixedCols() || row.Index < FixedRows();
    const TColor background = fixed ? fixedColor_ : Color();
    canvas->Brush()->SetStyle(bsSolid);
    if (line > 0) {
        // The lines right of and below the cell; a line switched off takes the cell's background.
        const TGridOptions options = Options();
        const TColor lineColor = fixed ? clBlack : clSilver;
        const bool vert = options & (fixed ? goFixedVertLine : goVertLine);
        const bool horz = options & (fixed ? goFixedHorzLine : goHorzLine);
        canvas->Brush()->SetColor(vert ? lineColor : background);
        canvas->FillRect(Rect(rect.Right, rect.Top, rect.Right + line, rect.Bottom + line));
        canvas->Brush()->SetColor(horz ? lineColor : background);
        canvas->FillRect(Rect(rect.Left, rect.Bottom, rect.Right, rect.Bottom + line));
    }
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;

    TGridDrawState state = 0;
    if (fixed) {
        state |= gdFixed;
    } else {
        if (Selection().Contains(col.Index, row.Index))
            state |= gdSelected;
        if (focused && col.Index == Col() && row.Index == Row())
            state |= gdFocused;
    }
    if (defaultDrawing_) {
        canvas->Font()->Assign(*Font());
        const bool highlighted = (state & gdSelected) && (!(state & gdFocused) || (Options() & goDrawFocusSelected));
        canvas->Brush()->SetColor(highlighted ? clHighlight : background);
        if (highlighted)
            canvas->Font()->SetColor(clHighlightText);
        canvas->FillRect(rect);
    }
    DrawCell(col.Index, row.Index, rect, state);
    if (defaultDrawing_) {
        RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
        HDC dc = canvas->Handle();
        if (fixed && line > 0)
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        if (state & gdFocused) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &r);
        }
    }
}

// ---- TDrawGrid -------------------------------------------------------------------------------------

void TDrawGrid::DrawCell(int col, int row, const TRect &rect, TGridDrawState state)
{
    if (OnDrawCell)
        OnDrawCell(this, col, row, rect, state);
}

bool TDrawGrid::SelectCell(int col, int row)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, can);
    return can;
}

void TDrawGrid::TopLeftChanged()
{
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}
