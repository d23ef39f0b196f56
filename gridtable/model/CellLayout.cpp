#include "gridtable/model/CellLayout.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

std::uint16_t ToField(int value) { return static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF)); }

// A piece with the run's leading fields (font, rectangle, flags, mark, spare bytes, number) and no text.
S_SGText RunFormat(const S_SGText &run)
{
    S_SGText piece;
    piece.Font = run.Font;
    piece.Left = run.Left;
    piece.Top = run.Top;
    piece.Width = run.Width;
    piece.Height = run.Height;
    piece.Flags = run.Flags;
    piece.Mark = run.Mark;
    std::copy(std::begin(run.Spare), std::end(run.Spare), std::begin(piece.Spare));
    piece.Number = run.Number;
    return piece;
}

}  // namespace

// ---- the layout ------------------------------------------------------------------------------------

void TCellLayoutContext::SelectRunFont(const S_SGText &run)
{
    // By id, as drawing finds it; font 0 stands in for a missing id, the component's own font for an
    // empty table.
    const S_SGFont *font = FindGridFontById(table_, run.Font);
    if (font == nullptr)
        font = FindGridFontById(table_, 0);
    if (font)
        SelectGridFontInto(*canvas_.Font(), *font);
    else
        canvas_.Font()->Assign(savedFont_);
}

int TCellLayoutContext::TextWidth(const AnsiString &text) const
{
    int width = 0;
    for (char c : text)
        if (c != '\n')
            width += widths_[static_cast<unsigned char>(c)];
    return width;
}

void TCellLayoutContext::UpdateLineMetrics()
{
    lineHeight_ = std::max(lineHeight_, runHeight_);
    lineDescent_ = std::max(lineDescent_, runDescent_);
    lineHeight_ = std::max(lineHeight_, imageHeight_ + lineDescent_);
}

void TCellLayoutContext::TakeCharacter(char c, int width)
{
    pieceWidth_ += width;
    if (currentRun_->IsImage())
        imageTaken_ = true;
    else
        pieceText_ += c;
    UpdateLineMetrics();
}

bool TCellLayoutContext::LineHoldsPiece() const
{
    for (size_t i = lineStart_; i < output_.size(); ++i)
        if (output_[i].Shown())
            return true;
    return false;
}

void TCellLayoutContext::EmitPiece()
{
    // The run's format, not its text: a run of many lines would otherwise be copied into each of them.
    S_SGText piece = RunFormat(*currentRun_);
    piece.Left = ToField(x_);
    piece.Top = ToField(y_);
    piece.Width = ToField(pieceWidth_);
    if (currentRun_->IsImage()) {
        piece.Height = currentRun_->Height;  // an image keeps its own size
    } else {
        piece.Height = ToField(runDescent_);
        piece.Text = pieceText_;
    }
    output_.push_back(std::move(piece));
    metrics_.push_back(TPieceMetrics{runHeight_, runDescent_, -1});
    x_ += pieceWidth_;
    pieceText_.clear();
    pieceWidth_ = 0;
    breakPos_ = 0;
    imageTaken_ = false;
}

void TCellLayoutContext::EndRun()
{
    if (!imageTaken_ && pieceText_.empty())
        return;
    const int index = static_cast<int>(output_.size());
    const int breakPos = breakPos_ >= 1 && breakPos_ <= static_cast<int>(pieceText_.size()) ? breakPos_ : 0;
    SLastSeparator separator;
    if (breakPos) {
        const AnsiString after = pieceText_.substr(static_cast<size_t>(breakPos));
        separator = SLastSeparator{index,
                                   breakPos,
                                   TextWidth(pieceText_.substr(0, breakPos)),
                                   TextWidth(after),
                                   lineHeight_,
                                   lineDescent_,
                                   after.empty() ? 0 : runHeight_,
                                   after.empty() ? 0 : runDescent_,
                                   imageHeight_};
    }
    EmitPiece();
    if (breakPos)
        lastSeparator_ = separator;
}

void TCellLayoutContext::CloseLine(size_t end, int lineHeight, int lineDescent)
{
    for (size_t i = lineStart_; i < end; ++i) {
        S_SGText &piece = output_[i];
        if (!piece.Shown())
            continue;
        metrics_[i].Line = lineNumber_;
        // Text pieces reach from the line's top to the bottom of their text on the shared baseline;
        // an image stands on the baseline.
        if (piece.IsImage())
            piece.Top = ToField(piece.Top + lineHeight - lineDescent - piece.Height);
        else
            piece.Height = ToField(piece.Height + lineHeight - lineDescent);
    }
    ++lineNumber_;
    textHeight_ += lineHeight;
    y_ += lineHeight;
}

void TCellLayoutContext::NewLine()
{
    x_ = LeftMargin;
    lineHeight_ = runHeight_;
    lineDescent_ = runDescent_;
    imageHeight_ = currentRun_ && currentRun_->IsImage() ? currentRun_->Height : 0;
    lineStart_ = output_.size();
    lastSeparator_ = SLastSeparator{};
}

void TCellLayoutContext::ReflowToLastSeparator()
{
    const SLastSeparator sep = lastSeparator_;
    S_SGText &piece = output_[static_cast<size_t>(sep.Index)];
    const AnsiString after = piece.Text.substr(static_cast<size_t>(sep.BreakPos));
    piece.Text.resize(static_cast<size_t>(sep.BreakPos));
    piece.Width = ToField(sep.WidthUpTo);
    const size_t moved = static_cast<size_t>(sep.Index) + 1;
    CloseLine(moved, sep.LineHeight, sep.LineDescent);
    if (!after.empty()) {
        S_SGText rest = RunFormat(piece);
        rest.Text = after;
        rest.Width = ToField(sep.WidthAfter);
        rest.Height = ToField(sep.RunDescent);
        output_.insert(output_.begin() + static_cast<std::ptrdiff_t>(moved), std::move(rest));
        metrics_.insert(metrics_.begin() + static_cast<std::ptrdiff_t>(moved),
                        TPieceMetrics{sep.RunHeight, sep.RunDescent, -1});
    }
    NewLine();
    lineStart_ = moved;
    // Everything after the separator moves onto the new line, one piece after another; the line's
    // metrics are those of everything on it.
    for (size_t i = moved; i < output_.size(); ++i) {
        S_SGText &p = output_[i];
        if (!p.Shown())
            continue;
        p.Left = ToField(x_);
        p.Top = ToField(y_);
        x_ += p.Width;
        lineHeight_ = std::max(lineHeight_, metrics_[i].RunHeight);
        lineDescent_ = std::max(lineDescent_, metrics_[i].RunDescent);
        if (p.IsImage())
            imageHeight_ = std::max<int>(imageHeight_, p.Height);
    }
    lineHeight_ = std::max(lineHeight_, imageHeight_ + lineDescent_);
}

void TCellLayoutContext::AlignLines()
{
    size_t i = 0;
    while (i < output_.size()) {
        if (!output_[i].Shown() || metrics_[i].Line < 0) {
            ++i;
            continue;
        }
        const int line = metrics_[i].Line;
        size_t end = i;
        int total = 0, alignment = 0;
        for (; end < output_.size(); ++end) {
            if (!output_[end].Shown())
                continue;
            if (metrics_[end].Line != line)
                break;
            total += output_[end].Width;
            alignment = output_[end].Alignment();
        }
        const int shift = alignment == 1 ? (usable_ - total) / 2 : alignment == 2 ? usable_ - total : 0;
        if (shift > 0)
            for (size_t k = i; k < end; ++k)
                if (output_[k].Shown())
                    output_[k].Left = ToField(output_[k].Left + shift);
        i = end;
    }
}

int TCellLayoutContext::Layout(TRunList &runs, int width)
{
    if (runs.empty())
        return 0;
    canvas_.Lock();
    savedFont_.Assign(*canvas_.Font());
    usable_ = width - RightMargin;
    CompactRunList(runs);
    output_.clear();
    metrics_.clear();
    pieceText_.clear();
    pieceWidth_ = breakPos_ = 0;
    imageTaken_ = false;
    x_ = LeftMargin;
    y_ = 0;
    lineHeight_ = lineDescent_ = imageHeight_ = 0;
    textHeight_ = 0;
    lineStart_ = 0;
    lineNumber_ = 0;
    lastSeparator_ = SLastSeparator{};
    currentRun_ = nullptr;

    for (const S_SGText &run : runs) {
        if (!run.Shown()) {
            output_.push_back(run);
            metrics_.push_back(TPieceMetrics{});
            continue;
        }
        currentRun_ = &run;
        breakPos_ = 0;
        std::string_view text;
        if (run.IsImage()) {
            unitCount_ = 1;
            runHeight_ = run.Height;
            runDescent_ = 0;
            imageHeight_ = std::max<int>(imageHeight_, run.Height);
            static const char unit = 0;
            text = std::string_view(&unit, 1);
        } else {
            SelectRunFont(run);
            runHeight_ = canvas_.TextHeight(run.Text);
            runDescent_ = canvas_.TextMetrics().Descent;
            canvas_.CharWidths(widths_);
            unitCount_ = static_cast<int>(run.Text.size());
            text = run.Text;
            if (text.empty()) {
                EmitPiece();
                continue;
            }
        }

        for (size_t i = 0; i < text.size();) {
            const char c = text[i];
            if (c == '\r' && !run.IsImage()) {
                ++i;
                continue;
            }
            bool forced = false;
            int w;
            if (run.IsImage()) {
                w = run.Width;
            } else if (c == '\n') {
                TakeCharacter(c, 0);
                forced = true;
                w = -1;
            } else {
                w = widths_[static_cast<unsigned char>(c)];
                if (c == ' ' || c == '-')
                    breakPos_ = static_cast<int>(pieceText_.size()) + 1;
            }
            if (!forced && x_ + pieceWidth_ + w < usable_) {
                TakeCharacter(c, w);
                ++i;
                continue;
            }
            // It does not fit (or the line is broken here).
            if (!forced && pieceText_.empty() && !imageTaken_ && !LineHoldsPiece()) {
                // Alone on its line it goes there whatever its width, so that the layout always moves on.
                TakeCharacter(c, run.IsImage() ? w : std::clamp(w, 0, std::max(usable_ - 1, 0)));
                ++i;
                continue;
            }
            if (forced || (c == ' ' && !run.IsImage())) {
                if (!pieceText_.empty())
                    EmitPiece();
                CloseLine(output_.size(), lineHeight_, lineDescent_);
                NewLine();
                if (forced)
                    ++i;  // an ordinary space is taken again: it begins the next line
                continue;
            }
            if (breakPos_ >= 1 && breakPos_ <= static_cast<int>(pieceText_.size())) {
                const AnsiString rest = pieceText_.substr(static_cast<size_t>(breakPos_));
                pieceText_.resize(static_cast<size_t>(breakPos_));
                // Measured anew, but never wider than it was taken (a character alone on its line may
                // have been narrowed to the line).
                pieceWidth_ = std::min(TextWidth(pieceText_), pieceWidth_);
                EmitPiece();
                CloseLine(output_.size(), lineHeight_, lineDescent_);
                NewLine();
                pieceText_ = rest;
                pieceWidth_ = TextWidth(rest);
                continue;
            }
            if (lastSeparator_.Index >= 0) {
                ReflowToLastSeparator();
                continue;
            }
            if (!pieceText_.empty() || imageTaken_)
                EmitPiece();
            CloseLine(output_.size(), lineHeight_, lineDescent_);
            NewLine();
        }
        EndRun();
    }
    CloseLine(output_.size(), lineHeight_, lineDescent_);
    AlignLines();

    runs = std::move(output_);
    output_ = TRunList();
    metrics_.clear();
    currentRun_ = nullptr;
    canvas_.Font()->Assign(savedFont_);
    canvas_.Unlock();
    return textHeight_;
}

int LayoutCellText(TCellLayoutContext &context, TRunList &runs, int width) { return context.Layout(runs, width); }

// ---- cells -----------------------------------------------------------------------------------------

int GridCellTextWidth(const TXGridModel &table, const S_XSGCell &cell, int col)
{
    const IXGridHost &host = table.Host;
    if (cell.InSpan()) {
        int width = 0;
        for (int c = cell.Col; c <= cell.EndCol; ++c)
            width += host.GridColWidth(c) + (c < cell.EndCol ? host.GridLineWidth() : 0);
        return width;
    }
    return host.GridColWidth(col >= 0 ? col : host.GridCurrentCol());
}

void LayoutGridCell(TXGridModel &table, S_XSGCell &cell, int width, int col)
{
    if (cell.EditKind == 5)
        PrepareFractionTexts(table, cell);
    if (width == -1)
        width = GridCellTextWidth(table, cell, col);
    TCanvas *canvas = table.Host.GridCanvas();
    if (canvas) {
        TCellLayoutContext context(table, *canvas);
        cell.TextHeight = ToField(LayoutCellText(context, CurrentCellTextList(table, cell), width));
    }
    // The list holds line pieces now; the next lookup joins them again.
    cell.Flags = static_cast<std::uint8_t>(cell.Flags & ~CellCompact);
}

void RelayoutGridCells(TXGridModel &table)
{
    for (size_t r = 0; r < table.Rows.size(); ++r)
        for (size_t c = 0; c < table.Rows[r].size(); ++c) {
            S_XSGCell *cell = GetGridCell(table, static_cast<int>(r), static_cast<int>(c));
            if (cell->MergeState == CellPlain || cell->MergeState == CellMaster)
                LayoutGridCell(table, *cell, -1, static_cast<int>(c));
        }
}

void MeasureCellText(TXGridModel &table, S_XSGCell &cell)
{
    TCanvas *canvas = table.Host.GridCanvas();
    if (canvas == nullptr)
        return;
    TRunList copy = CurrentCellTextList(table, cell);
    TCellLayoutContext context(table, *canvas);
    cell.TextHeight = ToField(LayoutCellText(context, copy, GridCellTextWidth(table, cell, cell.Col)));
}

int CellTextTop(const TRect &rect, const S_XSGCell &cell)
{
    const int free = rect.Height() - cell.TextHeight;
    if (free <= 0)
        return rect.Top;
    switch (cell.VerticalAlignment()) {
    case 1: return rect.Top + free / 2;
    case 2: return rect.Top + free;
    default: return rect.Top;
    }
}

// ---- stretching ------------------------------------------------------------------------------------

namespace {

void Stretch(TXGridModel &table, int count, int client, int total, int (IXGridHost::*get)(int) const,
             void (IXGridHost::*set)(int, int))
{
    if (count <= 0)
        return;
    const int difference = client - total;
    const int quotient = difference / count, remainder = difference % count;
    for (int i = 0; i < count; ++i) {
        const int size = (table.Host.*get)(i) + quotient + (i == count - 1 ? remainder : 0);
        (table.Host.*set)(i, std::max(size, 1));
    }
}

}  // namespace

void StretchGridColumns(TXGridModel &table, bool relayout)
{
    Stretch(table, table.Host.GridColCount(), table.Host.GridClientWidth(), TotalGridWidth(table),
            &IXGridHost::GridColWidth, &IXGridHost::SetGridColWidth);
    if (relayout)
        RelayoutGridCells(table);
}

void StretchGridRows(TXGridModel &table, bool relayout)
{
    Stretch(table, table.Host.GridRowCount(), table.Host.GridClientHeight(), TotalGridHeight(table),
            &IXGridHost::GridRowHeight, &IXGridHost::SetGridRowHeight);
    if (relayout)
        RelayoutGridCells(table);
}

void StretchGridBoth(TXGridModel &table, bool relayout)
{
    StretchGridColumns(table, false);
    StretchGridRows(table, relayout);
}
