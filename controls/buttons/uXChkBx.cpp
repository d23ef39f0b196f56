#include "controls/buttons/uXChkBx.h"

#include <algorithm>
#include <cstring>

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Blanks of every kind become spaces: the canvas justifies spaces, and a tab or a line feed inside a
// line has no glyph to draw.
AnsiString Spaced(const char *text, int length)
{
    AnsiString s(text, static_cast<size_t>(length));
    std::replace_if(s.begin(), s.end(), IsBlank, ' ');
    return s;
}

struct TLine {
    int Start, End, Blanks;
    int Left, Width;  // where it starts and how much room it has
    int Measured;
};

// Lays a text out in lines and draws them (see WrapAndDrawText).
bool LayAndDraw(TCanvas &canvas, const char *text, int length, bool measureOnly, bool justify, const TRect *box,
                TRect &rect, int &lineCount, bool transparent)
{
    TextScanner scanner(text, length, canvas);
    const int lineHeight = canvas.TextExtent("W").cy;
    std::vector<TLine> lines;
    int excess = 0;
    for (int y = rect.Top;; y += lineHeight) {
        TLine line{0, 0, 0, rect.Left, rect.Width(), 0};
        int middle = y + lineHeight / 2;
        if (box && middle >= box->Top && middle < box->Bottom) {
            line.Left += box->Width();
            line.Width -= box->Width();
        }
        line.Blanks = scanner.NextLine(line.Width, line.Start, line.End);
        if (line.Blanks < 0)
            break;
        line.Measured = static_cast<int>(scanner.Width() + 0.5);
        excess = std::max(excess, line.Measured - line.Width);
        lines.push_back(line);
    }
    lineCount = static_cast<int>(lines.size());

    if (!measureOnly) {
        TBrushStyle brushStyle = canvas.Brush()->Style();
        if (transparent)
            canvas.Brush()->SetStyle(bsClear);
        int y = rect.Top;
        for (size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
            const TLine &line = lines[i];
            int free = line.Width - line.Measured;
            bool spread = justify && i + 1 < lines.size() && line.Blanks > 0 && free > 0;
            if (spread)
                canvas.SetTextJustification(free, line.Blanks);
            canvas.TextOut(line.Left, y, Spaced(text + line.Start, line.End - line.Start));
            if (spread)
                canvas.SetTextJustification(0, 0);
        }
        if (transparent)
            canvas.Brush()->SetStyle(brushStyle);
    }

    if (!measureOnly && excess <= 0)
        return false;
    rect.Right += std::max(excess, 0);
    rect.Bottom = rect.Top + lineHeight * lineCount;
    return true;
}
}  // namespace

// ---- the scanner ------------------------------------------------------------------------------------

TextScanner::TextScanner(const char *text, int length, TTextExtentFn extent)
    : text_(text ? text : ""),
      length_(text && length == -1 ? static_cast<int>(std::strlen(text)) : std::max(length, 0)),
      extent_(std::move(extent))
{
    if (!text)
        length_ = 0;
}

TextScanner::TextScanner(const char *text, int length, TCanvas &canvas)
    : TextScanner(text, length, [&canvas](const char *t, int n) { return canvas.TextExtent(Spaced(t, n)); })
{}

bool TextScanner::SkipBlanks()
{
    int from = pos_;
    while (pos_ < length_ && IsBlank(text_[pos_]))
        ++pos_;
    return pos_ != from;
}

void TextScanner::SkipWord()
{
    if (pos_ >= length_)
        return;
    bool afterBlank = false;
    ++pos_;
    while (pos_ < length_ && !CanBreakAt(pos_, afterBlank))
        ++pos_;
}

bool TextScanner::CanBreakAt(int pos, bool &afterBlank) const
{
    afterBlank = false;
    if (pos <= 0 || pos >= length_)
        return true;
    if (IsBlank(text_[pos]))
        return true;
    char previous = text_[pos - 1];
    if (IsBlank(previous)) {
        afterBlank = true;
        return true;
    }
    // After a hyphen that ends a word ("well-known"), not after a leading minus ("-5").
    return previous == '-' && pos >= 2 && !IsBlank(text_[pos - 2]);
}

int TextScanner::NextLine(double width, int &start, int &end)
{
    SkipBlanks();
    if (AtEnd())
        return -1;
    start = end = pos_;
    for (;;) {
        int before = pos_;
        SkipBlanks();
        if (AtEnd()) {
            pos_ = before;
            break;
        }
        SkipWord();
        double w = TextExtent(start, pos_).cx;
        // The first word stays even when it alone is too wide.
        if (w > width + 0.001 && end > start) {
            pos_ = before;
            break;
        }
        end = pos_;
        if (w >= width - 0.001)
            break;
    }
    TextExtent(start, end);
    return static_cast<int>(std::count_if(text_ + start, text_ + end, IsBlank));
}

TSize TextScanner::TextExtent(int from, int to)
{
    from = std::clamp(from, 0, length_);
    to = std::clamp(to, from, length_);
    TSize size = extent_ ? extent_(text_ + from, to - from) : TSize{};
    width_ = size.cx;
    height_ = size.cy;
    return size;
}

// ---- drawing ----------------------------------------------------------------------------------------

bool DrawJustifiedText(TCanvas &canvas, const char *text, int length, bool measureOnly, TRect &rect)
{
    int lineCount = 0;
    return LayAndDraw(canvas, text, length, measureOnly, true, nullptr, rect, lineCount, false);
}

bool WrapAndDrawText(TCanvas &canvas, const char *text, int length, bool measureOnly, bool justify, int &lineCount,
                     const TRect *box, TRect &textRect)
{
    return LayAndDraw(canvas, text, length, measureOnly, justify, box, textRect, lineCount, true);
}
