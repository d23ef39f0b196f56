#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/input/fun_other.h"
#include "controls/UDataModule.h"
#include "framework/windows/Dialogs.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/ImgList.h"
#include "framework/windows/Menus.h"
#include "gridtable/model/CellLayout.h"
#include "gridtable/GridTableInput.h"
#include "gridtable/UXGridTable.h"
#include "gridtable/editing/uxgridtabeditform.h"

namespace {
constexpr int MaxGridLineWidth = 10;

void DrawSharedImage(TCanvas &canvas, int x, int y, int index)
{
    if (DM_Misc != nullptr && DM_Misc->_ImgLs16x16 != nullptr)
        DM_Misc->_ImgLs16x16->Draw(canvas, x, y, index);
}
}  // namespace

TXGridTable::TXGridTable(TComponent *owner) : TCustomGrid(owner), model_(*this)
{
    // A table placed on a form being designed is designed with it.
    if (!Designing() && owner != nullptr && owner->Designing())
        SetDesigning(true);
    designing_ = Designing();
    source_.Designing = designing_;

    SetColCount(1);
    SetRowCount(1);
    // The grid draws neither lines nor cells itself: the table paints every cell whole.
    TCustomGrid::SetGridLineWidth(0);
    SetOptions(Options() & ~goRangeSelect);
    SetDefaultDrawing(false);
    lineWidth_ = 1;
    SetBorderStyle(ebsNone);
    if (designing_)
        SetScrollBars(ssNone);
    else
        servePopupMenu_ = std::make_unique<TXServePopupMenu>();
}

TXGridTable::~TXGridTable()
{
    if (!designing_) {
        servePopupMenu_.reset();
        // Owned by the table, but freed before the model it edits. An editor still open (the table
        // freed by a handler while it runs) is ended first and goes once its loop has ended.
        if (EditForm != nullptr) {
            if (EditForm->Modal())
                EditForm->SetModalResult(mrCancel);
            EditForm->Free();
        }
        EditForm = nullptr;
    }
    FreeGridCells(model_);
    ClearGridFonts(model_);
    model_.RowDescriptions = TXRowDescriptions{};
}

// ---- properties ------------------------------------------------------------------------------------

void TXGridTable::SetBorderStyle(EBorderStyle style)
{
    borderStyle_ = style;
    TCustomGrid::SetBorderStyle(style == ebsSingle ? bsSingle : bsNone);
}

void TXGridTable::SetGridLineWidth(int width)
{
    width = std::clamp(width, 1, MaxGridLineWidth);
    const int delta = width - lineWidth_;
    if (delta == 0)
        return;
    // Every size the grid holds carries the line: the cells keep theirs.
    std::vector<int> widths, heights;
    for (int c = 0; c < ColCount(); ++c)
        widths.push_back(GetGridColWidth(c));
    for (int r = 0; r < RowCount(); ++r)
        heights.push_back(GetGridRowHeight(r));
    lineWidth_ = width;
    for (int c = 0; c < ColCount(); ++c)
        SetGridColWidth(c, widths[static_cast<size_t>(c)]);
    for (int r = 0; r < RowCount(); ++r)
        SetGridRowHeight(r, heights[static_cast<size_t>(r)]);
    Invalidate();
}

void TXGridTable::SetNumFileScreen(int screen)
{
    source_.NumFileScreen = screen;
    if (designing_) {
        LoadGridScreen(model_, source_);
        Invalidate();
    }
}

// ---- sizes -----------------------------------------------------------------------------------------

void TXGridTable::SetRowCount(int count)
{
    CheckGridSize(count, ColCount());
    TCustomGrid::SetRowCount(count);
}

void TXGridTable::SetColCount(int count)
{
    CheckGridSize(RowCount(), count);
    TCustomGrid::SetColCount(count);
}

int TXGridTable::GetGridColWidth(int col) const { return ColWidths(col) - lineWidth_; }

int TXGridTable::GetGridRowHeight(int row) const { return RowHeights(row) - lineWidth_; }

void TXGridTable::SetGridColWidth(int col, int width)
{
    if (col >= 0 && col < ColCount())
        SetColWidths(col, std::max(width + lineWidth_, 0));
}

void TXGridTable::SetGridRowHeight(int row, int height)
{
    if (row >= 0 && row < RowCount())
        SetRowHeights(row, std::max(height + lineWidth_, 0));
}

TRect TXGridTable::GetGridCellRect(int col, int row)
{
    return GridCellScreenRect(model_, Geometry(), lineWidth_, col, row);
}

void TXGridTable::InvalidateGridCell(int row, int col)
{
    if (!HandleAllocated())
        return;
    const TRect r = GridCellVisibleRect(model_, Geometry(), lineWidth_, col, row);
    if (r == TRect{})
        return;
    RECT area{r.Left, r.Top, r.Right, r.Bottom};
    ::InvalidateRect(Handle(), &area, FALSE);
}

void TXGridTable::DeleteRow(int row) { DeleteGridRow(model_, row); }

void TXGridTable::GridRowDeleted(int row)
{
    TCustomGrid::DeleteRow(row);
    if (editedCell_ == nullptr)
        return;
    // The cell's memory went with its row; the rows below keep theirs and move up by one.
    if (row == EditRow) {
        editedCell_ = nullptr;
        if (EditForm != nullptr && EditForm->Modal())
            EditForm->SetModalResult(mrCancel);
    } else if (row < EditRow) {
        --EditRow;
    }
}

// ---- the model's host ------------------------------------------------------------------------------

void TXGridTable::SetGridCurrentCell(int row, int col)
{
    if (Geometry().IsSelectable(col, row))
        MoveCurrent(col, row, true, true);
}

void TXGridTable::SetGridSize(int rows, int cols, int fixedRows, int fixedCols)
{
    CheckGridSize(rows, cols);  // both counts before either changes
    SetRowCount(std::max(rows, 1));
    SetColCount(std::max(cols, 1));
    SetFixedRows(std::clamp(fixedRows, 0, RowCount() - 1));
    SetFixedCols(std::clamp(fixedCols, 0, ColCount() - 1));
}

TRect TXGridTable::GridVisibleCells() const
{
    // The fixed rows and columns are always shown; the scrollable ones from the top-left cell on.
    const TGridRect cells = Geometry().VisibleCells();
    return TRect{FixedCols() > 0 ? 0 : cells.Left, FixedRows() > 0 ? 0 : cells.Top, cells.Right, cells.Bottom};
}

void TXGridTable::MeasureGridCell(S_XSGCell &cell) { MeasureCellText(model_, cell); }

void TXGridTable::CorrectRowHeight(int row) { CorrectGridRowHeight(model_, row); }

void TXGridTable::ShowGridMessage(const AnsiString &text) { ShowMessage(text); }

TCanvas *TXGridTable::GridCanvas()
{
    // A table not yet on a window measures on a context of the screen: fetching the window's own would
    // make the window in the middle of a layout, and the window's first size lays the cells out anew
    // under the layout that asked.
    if (HandleAllocated())
        return Canvas();
    if (!measureCanvas_)
        measureCanvas_ = std::make_unique<TMeasureCanvas>();
    return measureCanvas_.get();
}

// ---- building and painting -------------------------------------------------------------------------

void TXGridTable::Loaded()
{
    TCustomGrid::Loaded();
    if (!designing_)
        LoadGridScreen(model_, source_);
}

void TXGridTable::Paint()
{
    if (!model_.Rows.empty()) {
        TCustomGrid::Paint();
        return;
    }
    // No screen yet: no cells to paint, only the ground.
    TCanvas *canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
}

TCanvas *TXGridTable::OffscreenCanvas(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    if (!offscreen_)
        offscreen_ = std::make_unique<TBitmap>();
    if (offscreen_->Width() != width || offscreen_->Height() != height)
        offscreen_->SetSize(width, height);
    return offscreen_->Canvas();
}

void TXGridTable::DrawCell(int col, int row, const TRect &rect, TGridDrawState state)
{
    TGridPaintContext context{model_, Geometry()};
    context.LineWidth = lineWidth_;
    context.Designing = designing_;
    context.RowSelection = tabSelectView_ == etsvCellStr;
    context.Background = Color();
    context.Config = GridConfigColours();
    context.DrawImage = DrawSharedImage;
    context.Offscreen = [this](int width, int height) { return OffscreenCanvas(width, height); };
    context.BeforeDraw = [this](int c, int r, const TRect &area, TGridDrawState s) {
        if (OnBeforeDrawCell)
            OnBeforeDrawCell(this, c, r, area, s);
    };
    context.AfterDraw = [this](int c, int r, const TRect &area, TGridDrawState s) {
        if (OnDrawCell)
            OnDrawCell(this, c, r, area, s);
    };
    PaintGridTableCell(context, *Canvas(), col, row, rect, state);
}

// ---- row selection ---------------------------------------------------------------------------------

bool TXGridTable::SelectRow(int row, bool on)
{
    return tabSelectView_ == etsvCellStr && SelectGridRow(model_, row, on);
}

void TXGridTable::SelectAllRows()
{
    if (tabSelectView_ == etsvCellStr)
        SelectAllGridRows(model_);
}

void TXGridTable::UnselectAllRows()
{
    if (tabSelectView_ == etsvCellStr)
        UnselectAllGridRows(model_);
}

bool TXGridTable::IsRowSelected(int row) const { return IsGridRowSelected(model_, row == -1 ? EditRow : row); }

void TXGridTable::SetShiftSelecting(bool on)
{
    if (tabSelectView_ != etsvCellStr)
        return;
    shiftSelecting_ = on;
    SetGridShiftSelecting(model_, on, EditRow);
}

// ---- selection, mouse and keys -----------------------------------------------------------------------

bool TXGridTable::SelectCell(int col, int row)
{
    if (GetGridCell(model_, row, col) == nullptr)
        return false;
    const bool editable = IsCellEditable(model_, row, col);
    bool can = editable || !mouseDown_;
    InvalidateGridCell(row, col);
    if (can) {
        InvalidateGridCell(Row(), Col());
        if (editable) {
            EditCol = col;
            EditRow = row;
        }
        if (shiftSelecting_ && tabSelectView_ == etsvCellStr)
            FollowShiftSelection(model_, Row(), row);
    }
    if (OnSelectCell)
        OnSelectCell(this, col, row, can);
    return can;
}

void TXGridTable::SelectSpanOf(int col, int row)
{
    const S_XSGCell *master = GetGridCell(model_, row, col, true);
    if (master == nullptr || !master->InSpan() || Col() != col || Row() != row)
        return;
    SetSelection(TGridRect{master->Col, master->Row, master->EndCol, master->EndRow});
}

void TXGridTable::MoveToCell(int col, int row)
{
    if (!Geometry().IsSelectable(col, row))
        return;
    MoveCurrent(col, row, true, false);
    SelectSpanOf(col, row);
}

void TXGridTable::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    mouseDown_ = true;
    if (timedScroll_) {
        shift &= ~ssDouble;
        timedScroll_ = false;
    }
    TPopupMenu *menu = PopupMenu();
    const bool gatePopup = !designing_ && !usePMIfCellNotEdit_ && button == mbRight && menu != nullptr;
    if (gatePopup)
        menu->SetAutoPopup(false);
    const TGridCoord cell = MouseCoord(x, y);
    if (button == mbLeft) {
        doubleClickedCell_ = (shift & ssDouble) && cell == pressedCell_ ? cell : TGridCoord{-1, -1};
        pressedCell_ = cell;
    }
    if (GetGridCell(model_, cell.Y, cell.X) == nullptr || !IsCellEditable(model_, cell.Y, cell.X))
        return;
    if (gatePopup)
        menu->SetAutoPopup(true);
    EditCol = cell.X;
    EditRow = cell.Y;
    if (button == mbRight)
        MoveToCell(cell.X, cell.Y);
    TCustomGrid::MouseDown(button, shift, x, y);
    if (button == mbLeft)
        SelectSpanOf(cell.X, cell.Y);
    mouseDown_ = false;
}

void TXGridTable::MouseMove(TShiftState shift, int x, int y)
{
    // Dragging selects nothing: the move is only told.
    TCustomControl::MouseMove(shift, x, y);
}

void TXGridTable::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!designing_ && !usePMIfCellNotEdit_ && button == mbRight && PopupMenu() != nullptr)
        PopupMenu()->SetAutoPopup(true);
    TCustomGrid::MouseUp(button, shift, x, y);
}

void TXGridTable::TimedScroll(TGridScrollDirection) { timedScroll_ = true; }

void TXGridTable::NavigateByKey(uint16_t &key)
{
    if (!model_.HasEditable) {
        key = 0;
        return;
    }
    if (!IsGridNavigationKey(key))
        return;
    const TGridKeyMove move = GridKeyTarget(model_, Geometry(), key, lane_);
    key = 0;
    if (!move.Moved)
        return;
    MoveTopLeft(move.LeftCol, move.TopRow);
    MoveToCell(move.Col, move.Row);
    // A move the application refused keeps the lane of the cell that stays current.
    if (Col() == move.Col && Row() == move.Row)
        lane_ = move.Lane;
}

void TXGridTable::KeyDown(uint16_t &key, TShiftState shift)
{
    TCanvas *canvas = Canvas();
    canvas->Lock();
    try {
        NavigateByKey(key);
        // A key left over goes the grid's way, which tells OnKeyDown; else it is told here.
        if (key != 0 && !IsGridNavigationKey(key))
            TCustomGrid::KeyDown(key, shift);
        else if (OnKeyDown)
            OnKeyDown(this, key, shift);
    } catch (...) {
        canvas->Unlock();
        throw;
    }
    canvas->Unlock();
}

bool TXGridTable::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    uint16_t key = GridKeyDown;
    NavigateByKey(key);
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, shift, mousePos, handled);
    return true;
}

bool TXGridTable::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    uint16_t key = GridKeyUp;
    NavigateByKey(key);
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, shift, mousePos, handled);
    return true;
}

void TXGridTable::Resize()
{
    if (!designing_ && !model_.Rows.empty() && stretchType_ != egstNone) {
        if (stretchType_ == egstWidth)
            StretchGridColumns(model_, false);
        else if (stretchType_ == egstHeight)
            StretchGridRows(model_, false);
        else
            StretchGridBoth(model_, false);
        RelayoutGridCells(model_);
    }
    TCustomGrid::Resize();
}

// ---- the screen's density --------------------------------------------------------------------------

void ScaleGridTablesForDpi(TForm *form)
{
    if (form == nullptr || FormScaling == 0 || ScreenDensity == DesignDensity || DesignDensity <= 0)
        return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto *table = dynamic_cast<TXGridTable *>(form->Components(i));
        if (table == nullptr)
            continue;
        if (TFEditForm *editor = table->CellEditorForm()) {
            ScaleFormToScreen(editor);
            editor->pShape->SetHeight(1);
        }
        TXGridModel &model = table->Model();
        RescaleGridFontsForDpi(model, ScreenDensity, DesignDensity, Screen->PixelsPerInch());
        table->GiveEditorsFont0();
        // Every cell is laid out afresh in the new fonts: its runs whole again, marked so.
        for (S_XSGRow &row : model.Rows)
            for (S_XSGCell &cell : row)
                CompactCellRuns(cell);
        for (int c = 0; c < table->ColCount(); ++c)
            table->SetGridColWidth(c, MulDivRound(table->GetGridColWidth(c), ScreenDensity, DesignDensity));
        for (int r = 0; r < table->RowCount(); ++r)
            table->SetGridRowHeight(r, MulDivRound(table->GetGridRowHeight(r), ScreenDensity, DesignDensity));
        // A row is never made lower than its description: that height is scaled with the row.
        for (TXRowDescription &row : model.RowDescriptions.Rows)
            row.Height =
                static_cast<std::uint32_t>(MulDivRound(static_cast<int>(row.Height), ScreenDensity, DesignDensity));
        // A table that fills its width stretches its columns again; one that does not keeps the scaled
        // widths. Either way every cell is laid out in its new width and fonts.
        if (model.Rows.empty())
            continue;
        if (table->GridStretchType() == egstWidth || table->GridStretchType() == egstBoth)
            StretchGridColumns(model, true);
        else
            RelayoutGridCells(model);
    }
}
