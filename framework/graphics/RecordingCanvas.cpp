#include "framework/graphics/RecordingCanvas.h"

#include <algorithm>
#include <cstdlib>

std::vector<TCanvasCall> TRecordingCanvas::CallsOf(const AnsiString &op) const
{
    std::vector<TCanvasCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [&](const TCanvasCall &c) { return c.Op == op; });
    return out;
}

int TRecordingCanvas::CharWidth() const
{
    int h = std::abs(Font()->Height());
    return std::max(1, (h + 1) / 2) + ((Font()->Style() & fsBold) ? 1 : 0);
}

int TRecordingCanvas::LineHeight() const { return std::max(1, std::abs(Font()->Height())); }

void TRecordingCanvas::Record(const char *op, const TRect &rect, int x, int y, const AnsiString &text, unsigned flags)
{
    TCanvasCall call;
    call.Op = op;
    call.Rect = rect;
    call.X = x;
    call.Y = y;
    call.Text = text;
    call.FontHeight = Font()->Height();
    call.FontStyle = Font()->Style();
    call.FontColor = Font()->Color();
    call.BrushColor = Brush()->Color();
    call.Flags = flags;
    calls_.push_back(std::move(call));
}

void TRecordingCanvas::FillRect(const TRect &rect) { Record("FillRect", rect, 0, 0, AnsiString()); }

void TRecordingCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Record("Rectangle", Rect(left, top, right, bottom), 0, 0, AnsiString());
}

void TRecordingCanvas::MoveTo(int x, int y)
{
    TCanvas::MoveTo(x, y);
    Record("MoveTo", TRect{}, x, y, AnsiString());
}

void TRecordingCanvas::LineTo(int x, int y)
{
    Record("LineTo", Rect(penPos_.X, penPos_.Y, x, y), x, y, AnsiString());
    penPos_ = Point(x, y);
}

void TRecordingCanvas::TextOut(int x, int y, const AnsiString &text)
{
    Record("TextOut", TRect{}, x, y, text);
    penPos_ = Point(x + TextWidth(text), y);
}

void TRecordingCanvas::TextRect(const TRect &rect, int x, int y, const AnsiString &text)
{
    Record("TextRect", rect, x, y, text);
}

TSize TRecordingCanvas::TextExtent(const AnsiString &text)
{
    return TSize{static_cast<int>(text.size()) * CharWidth(), LineHeight()};
}

std::vector<AnsiString> TRecordingCanvas::BreakLines(const AnsiString &text, int width, unsigned flags) const
{
    std::vector<AnsiString> paragraphs;
    if (flags & dtSingleLine) {
        paragraphs.push_back(text);
    } else {
        size_t start = 0;
        for (;;) {
            size_t nl = text.find('\n', start);
            AnsiString line = text.substr(start, nl == AnsiString::npos ? AnsiString::npos : nl - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            paragraphs.push_back(line);
            if (nl == AnsiString::npos)
                break;
            start = nl + 1;
        }
    }
    if (!(flags & dtWordBreak) || width <= 0)
        return paragraphs;
    // Greedy breaking after blanks; a word wider than the width keeps a line of its own.
    std::vector<AnsiString> lines;
    int cw = CharWidth();
    for (const AnsiString &p : paragraphs) {
        AnsiString line;
        size_t i = 0;
        if (p.empty())
            lines.push_back(p);
        while (i < p.size()) {
            size_t end = p.find(' ', i);
            AnsiString word = p.substr(i, end == AnsiString::npos ? AnsiString::npos : end - i + 1);
            i = end == AnsiString::npos ? p.size() : end + 1;
            AnsiString trial = line + word;
            AnsiString trimmed = trial;
            while (!trimmed.empty() && trimmed.back() == ' ')
                trimmed.pop_back();
            if (!line.empty() && static_cast<int>(trimmed.size()) * cw > width) {
                while (!line.empty() && line.back() == ' ')
                    line.pop_back();
                lines.push_back(line);
                line = word;
            } else {
                line = trial;
            }
        }
        if (!line.empty()) {
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            lines.push_back(line);
        }
    }
    return lines;
}

int TRecordingCanvas::DrawText(const AnsiString &text, TRect &rect, unsigned flags)
{
    std::vector<AnsiString> lines = BreakLines(text, rect.Width(), flags);
    int height = static_cast<int>(lines.size()) * LineHeight();
    if (flags & dtCalcRect) {
        size_t widest = 0;
        for (const AnsiString &l : lines)
            widest = std::max(widest, l.size());
        rect.Right = rect.Left + static_cast<int>(widest) * CharWidth();
        rect.Bottom = rect.Top + height;
        return height;
    }
    Record("DrawText", rect, rect.Left, rect.Top, text, flags);
    return height;
}

TTextMetrics TRecordingCanvas::TextMetrics()
{
    int h = LineHeight();
    return TTextMetrics{h, h - h / 4, h / 4, 0, 0, CharWidth(), CharWidth()};
}

void TRecordingCanvas::CharWidths(int (&widths)[256]) { std::fill(std::begin(widths), std::end(widths), CharWidth()); }

void TRecordingCanvas::CopyRect(const TRect &dest, TCanvas &, const TRect &sourceRect)
{
    Record("CopyRect", dest, sourceRect.Left, sourceRect.Top, AnsiString());
}

void TRecordingCanvas::Draw(int x, int y, TBitmap &) { Record("Draw", TRect{}, x, y, AnsiString()); }

void TRecordingCanvas::DrawFrameControl(TRect &rect, unsigned kind, unsigned state)
{
    Record("DrawFrameControl", rect, 0, 0, AnsiString(), state);
    calls_.back().Kind = kind;
    if (state & DFCS_ADJUSTRECT)
        rect = Rect(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
}

void TRecordingCanvas::DrawEdge(TRect &rect, unsigned edge, unsigned sides)
{
    Record("DrawEdge", rect, 0, 0, AnsiString(), sides);
    calls_.back().Kind = edge;
    if (!(sides & BF_ADJUST))
        return;
    // One pixel for each of the outer and the inner line that is drawn.
    int width =
        ((edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) ? 1 : 0) + ((edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) ? 1 : 0);
    if (sides & BF_LEFT)
        rect.Left += width;
    if (sides & BF_TOP)
        rect.Top += width;
    if (sides & BF_RIGHT)
        rect.Right -= width;
    if (sides & BF_BOTTOM)
        rect.Bottom -= width;
}

void TRecordingCanvas::DrawFocusRect(const TRect &rect) { Record("DrawFocusRect", rect, 0, 0, AnsiString()); }

void TRecordingCanvas::SetTextJustification(int breakExtra, int breakCount)
{
    Record("SetTextJustification", TRect{}, breakExtra, breakCount, AnsiString());
}
