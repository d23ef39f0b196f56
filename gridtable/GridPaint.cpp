#include "gridtable/GridPaint.h"

#include <algorithm>

#include "gridtable/model/CellLayout.h"
#include "storage/config/rdwr_cfg.h"

namespace {

bool Meets(const TRect &a, const TRect &b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Holds the canvas's lock for a scope, whichever way it is left.
class TCanvasLock {
public:
    explicit TCanvasLock(TCanvas &canvas) : canvas_(canvas) { canvas_.Lock(); }
    ~TCanvasLock() { canvas_.Unlock(); }
    TCanvasLock(const TCanvasLock &) = delete;
    TCanvasLock &operator=(const TCanvasLock &) = delete;

private:
    TCanvas &canvas_;
};

// A colour-table entry; "no colour" and indexes outside the table take the background.
TColor EntryColour(const TXGridModel &table, int index, TColor background)
{
    const TColor colour = GridColourAt(table, index);
    return colour == clNone ? background : colour;
}

// Background, runs, lines and (when it holds the current cell) the focus frame of a cell whose
// rectangle with its lines is `full`.
void PaintCellBody(TGridPaintContext &context, TCanvas &canvas, S_XSGCell &cell, const TRect &full, TColor colour,
                   bool focus)
{
    TXGridModel &table = context.Table;
    const int line = context.LineWidth;
    const TRect inner{full.Left, full.Top, full.Right - line, full.Bottom - line};
    TBrush &brush = *canvas.Brush();
    brush.SetStyle(bsSolid);
    brush.SetColor(colour);
    canvas.FillRect(inner);
    DrawCellRuns(table, canvas, cell, inner, context.DrawImage);

    // A line of colour 0 takes the cell's background. Where the bottom line does, the right line stops
    // short of it, so that a cell opened downwards shows no stub of its right line there.
    const TColor right = cell.RightLineColour == 0 ? colour : EntryColour(table, cell.RightLineColour, colour);
    const TColor bottom = cell.BottomLineColour == 0 ? colour : EntryColour(table, cell.BottomLineColour, colour);
    brush.SetStyle(bsSolid);
    brush.SetColor(right);
    canvas.FillRect(
        TRect{full.Right - line, full.Top, full.Right, bottom == colour ? full.Bottom - line : full.Bottom});
    brush.SetColor(bottom);
    canvas.FillRect(TRect{full.Left, full.Bottom - line, full.Right, full.Bottom});

    if (focus && table.HasEditable) {
        TPen &pen = *canvas.Pen();
        const TColor savedColour = pen.Color();
        const int savedWidth = pen.Width();
        const TPenStyle savedStyle = pen.Style();
        pen.SetColor(clBlack);
        pen.SetWidth(1);
        pen.SetStyle(psDot);
        brush.SetStyle(bsClear);
        canvas.Rectangle(inner);
        brush.SetStyle(bsSolid);
        pen.SetColor(savedColour);
        pen.SetWidth(savedWidth);
        pen.SetStyle(savedStyle);
    }
}

}  // namespace

SGridConfigColours GridConfigColours()
{
    SGridConfigColours colours;
    if (Cfg == nullptr)
        return colours;
    colours.MarkedFixed = Cfg->GridColour(CfgField::MarkedFixedColour);
    colours.MarkedEditable = Cfg->GridColour(CfgField::MarkedEditableColour);
    colours.Selected = Cfg->GridColour(CfgField::SelectedCellColour);
    colours.RowSelection = Cfg->GridColour(CfgField::RowSelectionColour);
    return colours;
}

TColor ChooseCellColour(const SCellColourState &state, TColor entry, const SGridConfigColours &config)
{
    const bool passive = state.Fixed || !state.Editable;
    if (state.Designing) {
        if (passive)
            return clBtnFace;
        if (state.Selected)
            return clSkyBlue;
        if (state.RowSelected)
            return clGreen;
        if (state.Marked)
            return clWindow;
        return entry;
    }
    if (passive)
        return state.Marked ? config.MarkedFixed : entry;
    if (state.Selected)
        return config.Selected;
    if (state.RowSelected)
        return config.RowSelection;
    if (state.Marked)
        return config.MarkedEditable;
    return entry;
}

TGridRect CellSpanCells(TXGridModel &table, int col, int row)
{
    const S_XSGCell *cell = GetGridCell(table, row, col, false);
    if (cell == nullptr || !cell->InSpan())
        return TGridRect{col, row, col, row};
    return TGridRect{cell->Col, cell->Row, cell->EndCol, cell->EndRow};
}

TRect GridCellScreenRect(TXGridModel &table, const TGridGeometry &grid, int lineWidth, int col, int row)
{
    if (col < 0 || row < 0 || col >= grid.ColCount() || row >= grid.RowCount())
        return TRect{};
    const TGridRect cells = CellSpanCells(table, col, row);
    const TRect first = grid.CellBounds(cells.Left, cells.Top);
    const TRect last = grid.CellBounds(cells.Right, cells.Bottom);
    return TRect{first.Left, first.Top, last.Right - lineWidth, last.Bottom - lineWidth};
}

TRect GridCellVisibleRect(TXGridModel &table, const TGridGeometry &grid, int lineWidth, int col, int row)
{
    const TRect cell = GridCellScreenRect(table, grid, lineWidth, col, row);
    if (cell == TRect{})
        return cell;
    const TGridRect cells = CellSpanCells(table, col, row);
    TRect r{cell.Left, cell.Top, cell.Right + lineWidth, cell.Bottom + lineWidth};
    const int fixedWidth = static_cast<int>(std::min<long long>(grid.FixedWidth(), grid.ClientWidth()));
    const int fixedHeight = static_cast<int>(std::min<long long>(grid.FixedHeight(), grid.ClientHeight()));
    r.Left = std::max(r.Left, cells.Left >= grid.FixedCols() ? fixedWidth : 0);
    r.Top = std::max(r.Top, cells.Top >= grid.FixedRows() ? fixedHeight : 0);
    r.Right = std::min(r.Right, grid.ClientWidth());
    r.Bottom = std::min(r.Bottom, grid.ClientHeight());
    if (r.Left >= r.Right || r.Top >= r.Bottom)
        return TRect{};
    return r;
}

void SelectGridFont(TXGridModel &table, TCanvas &canvas, int id)
{
    const S_SGFont *font = FindGridFontById(table, id);
    if (font == nullptr)
        font = FindGridFontById(table, 0);
    if (font == nullptr) {
        canvas.Font()->Assign(table.Host.GridFont());
        return;
    }
    SelectGridFontInto(*canvas.Font(), *font);
    table.CurrentFontId = font->Id;
}

void DrawCellRuns(TXGridModel &table, TCanvas &canvas, S_XSGCell &cell, const TRect &rect,
                  const TGridImageDrawer &drawImage)
{
    const TRunList &pieces = CurrentCellTextList(table, cell);
    if (pieces.empty())
        return;
    const int left = rect.Left, top = CellTextTop(rect, cell);
    const TRect clip = canvas.ClipRect();
    for (const S_SGText &piece : pieces) {
        if (!piece.Shown())
            continue;
        TRect r = Bounds(left + piece.Left, top + piece.Top, piece.Width, piece.Height);
        if (!Meets(r, clip))
            continue;
        if (piece.IsImage()) {
            if (piece.Font < GridImageCount && drawImage)
                drawImage(canvas, r.Left, r.Top, piece.Font);
            continue;
        }
        // A text piece reaches from its line's top to the bottom of its text on the line's shared
        // baseline: standing it on its rectangle's bottom puts every font of the line on that baseline.
        // Not cut at the piece's width: a glyph's overhang (the last letter's right edge, an italic's
        // slant) may reach a pixel or two past its advance.
        SelectGridFont(table, canvas, piece.Font);
        canvas.Brush()->SetStyle(bsClear);
        // The line feed that ended the piece's line stays in its text for the layout; it is no glyph.
        AnsiString text = piece.Text;
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        canvas.DrawText(text, r, dtLeft | dtBottom | dtSingleLine | dtNoPrefix | dtNoClip);
    }
    canvas.Brush()->SetStyle(bsSolid);
    SelectGridFont(table, canvas, 0);
}

void PaintGridTableCell(TGridPaintContext &context, TCanvas &canvas, int col, int row, const TRect &rect,
                        TGridDrawState state)
{
    TCanvasLock lock(canvas);
    if (context.BeforeDraw)
        context.BeforeDraw(col, row, rect, state);
    TXGridModel &table = context.Table;
    if (table.Rows.empty())
        return;
    S_XSGCell *cell = GetGridCell(table, row, col, false);
    if (cell == nullptr)
        return;
    const TGridGeometry &grid = context.Grid;
    const TGridRect cells = CellSpanCells(table, col, row);
    S_XSGCell *master = cell->InSpan() ? GetGridCell(table, cells.Top, cells.Left, false) : cell;
    if (master == nullptr)
        return;
    if (master->Flags & CellCompact)
        LayoutGridCell(table, *master, GridCellTextWidth(table, *master, cells.Left), cells.Left);

    const bool holdsCurrent = cells.Contains(grid.Col(), grid.Row());
    SCellColourState colourState;
    colourState.Designing = context.Designing;
    colourState.Fixed = cells.Top < grid.FixedRows() || cells.Left < grid.FixedCols();
    colourState.Editable = (master->Flags & CellEditable) != 0;
    colourState.Selected = (state & gdSelected) != 0 || (cell->InSpan() && holdsCurrent);
    const auto &descriptions = table.RowDescriptions.Rows;
    colourState.RowSelected = context.RowSelection && static_cast<size_t>(cells.Top) < descriptions.size() &&
                              descriptions[static_cast<size_t>(cells.Top)].Selected != 0;
    colourState.Marked = (master->Flags & CellMarked) != 0;
    const TColor colour =
        ChooseCellColour(colourState, EntryColour(table, master->Colour, context.Background), context.Config);
    canvas.Font()->SetColor(clWindowText);

    if (!cell->InSpan()) {
        PaintCellBody(context, canvas, *master, rect, colour, holdsCurrent);
    } else {
        const TRect span = GridCellScreenRect(table, grid, context.LineWidth, col, row);
        const TRect full{span.Left, span.Top, span.Right + context.LineWidth, span.Bottom + context.LineWidth};
        const bool underFixedRows = cells.Top >= grid.FixedRows() && cells.Top < grid.TopRow();
        const bool underFixedCols = cells.Left >= grid.FixedCols() && cells.Left < grid.LeftCol();
        if (!underFixedRows && !underFixedCols) {
            PaintCellBody(context, canvas, *master, full, colour, holdsCurrent);
        } else if (TCanvas *off =
                       context.Offscreen ? context.Offscreen(grid.ClientWidth(), grid.ClientHeight()) : nullptr) {
            {
                TCanvasLock offLock(*off);
                PaintCellBody(context, *off, *master, full, colour, holdsCurrent);
            }
            const TRect shown = GridCellVisibleRect(table, grid, context.LineWidth, col, row);
            if (shown != TRect{})
                canvas.CopyRect(shown, *off, shown);
        }
    }
    if (context.AfterDraw)
        context.AfterDraw(col, row, rect, state);
}
