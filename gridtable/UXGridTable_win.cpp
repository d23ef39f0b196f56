#include <windows.h>

#include <algorithm>
#include <vector>

#include "controls/UDataModule.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "gridtable/CellLayout.h"
#include "gridtable/UXGridTable.h"

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
        if (EditForm != nullptr)
            EditForm->Free();
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

// ---- the model's host ------------------------------------------------------------------------------

void TXGridTable::SetGridCurrentCell(int row, int col)
{
    if (Geometry().IsSelectable(col, row))
        MoveCurrent(col, row, true, true);
}

void TXGridTable::SetGridSize(int rows, int cols, int fixedRows, int fixedCols)
{
    SetRowCount(std::max(rows, 1));
    SetColCount(std::max(cols, 1));
    SetFixedRows(std::clamp(fixedRows, 0, RowCount() - 1));
    SetFixedCols(std::clamp(fixedCols, 0, ColCount() - 1));
}

void TXGridTable::CreateCellEditor()
{
    // The in-cell editor form comes with the editing; until then there is none to make.
}

TRect TXGridTable::GridVisibleCells() const
{
    // The fixed rows and columns are always shown; the scrollable ones from the top-left cell on.
    const TGridRect cells = Geometry().VisibleCells();
    return TRect{FixedCols() > 0 ? 0 : cells.Left, FixedRows() > 0 ? 0 : cells.Top, cells.Right, cells.Bottom};
}

void TXGridTable::MeasureGridCell(S_XSGCell &cell) { MeasureCellText(model_, cell); }

void TXGridTable::CorrectRowHeight(int)
{
    // Rows keep the heights they were given until the table sizes its rows to their texts.
}

void TXGridTable::ShowGridMessage(const AnsiString &text) { ShowMessage(text); }

TCanvas *TXGridTable::GridCanvas()
{
    // A table not yet on a window measures on a context of the screen.
    if (HandleAllocated() || Parent() != nullptr)
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

bool TXGridTable::SelectCell(int col, int row)
{
    if (GetGridCell(model_, row, col) == nullptr)
        return false;
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, can);
    return can;
}
