// Measuring and drawing of the five-line text panel.
#include "controls/messages/zText.h"

#include "base/text/Markup.h"

namespace {

struct LaidLine {
    MarkupLayout layout;
    int count = 0;
    int maxHeight = 0;
    int total = 0;
    // The room the line takes in the panel.
    int Height(bool multiLine) const { return multiLine ? total : maxHeight; }
};

// Lays a line out with its font on the canvas (where the font stays).
void LayOut(TCanvas &canvas, const TZTextLine &line, int width, LaidLine &laid)
{
    if (line.Font)
        canvas.Font()->Assign(*line.Font);
    laid.count =
        LayoutMarkupTextHash(line.Text, width - ZTextMargin, canvas, laid.maxHeight, laid.total, false, laid.layout);
}

// The two-tone frame on the rectangle's edges: the top and left edges in one colour, the bottom and
// right ones in the other; the rectangle shrinks by a pixel on each side.
void Frame(TCanvas &canvas, TRect &r, TColor topLeft, TColor bottomRight)
{
    const int right = r.Right - 1, bottom = r.Bottom - 1;
    canvas.Pen()->SetColor(topLeft);
    canvas.MoveTo(r.Left, bottom);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(right, r.Top);
    canvas.Pen()->SetColor(bottomRight);
    canvas.LineTo(right, bottom);
    canvas.LineTo(r.Left - 1, bottom);
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
}

}  // namespace

TZTextMeasure MeasureZText(TCanvas &canvas, const TZTextLines &lines, int width, bool multiLine)
{
    TZTextMeasure m;
    for (int i = 0; i < ZTextLineCount; ++i) {
        if (lines[i].Text.empty())
            continue;
        LaidLine laid;
        LayOut(canvas, lines[i], width, laid);
        m.Heights[i] = laid.Height(multiLine);
        m.Total += m.Heights[i];
        m.LaidOut = true;
    }
    return m;
}

AnsiString CutZTextLine(std::string_view line)
{
    AnsiString cut(line);
    if (cut.size() < 5)
        return cut + " ...";
    cut.replace(cut.size() - 4, 4, " ...");
    return cut;
}

int PaintZText(TCanvas &canvas, const TZTextPaint &paint)
{
    TRect r = Rect(0, 0, paint.Width, paint.Height);
    if (paint.Border) {
        Frame(canvas, r, ZTextFrameGrey, clWhite);
        Frame(canvas, r, clWhite, ZTextFrameGrey);
        r.Right -= 1;
    }
    const TZTextMeasure m = MeasureZText(canvas, paint.Lines, paint.Width, paint.MultiLine);
    if (m.LaidOut && paint.AutoHeight && paint.Height != m.Total + ZTextMargin)
        return m.Total + ZTextMargin;

    for (const TZTextLine &line : paint.Lines) {
        if (line.Text.empty())
            continue;
        LaidLine laid;
        LayOut(canvas, line, paint.Width, laid);
        canvas.Brush()->SetColor(paint.Color);
        const TRect at = Rect(r.Left, r.Top, r.Right, r.Bottom);
        if (!paint.MultiLine && laid.count > 1) {
            // The first line alone, cut, in its own format: the text up to it (its format block
            // included) followed by the cut line.
            const std::string_view first = laid.layout.LineText(line.Text, 0);
            const size_t start = first.empty() ? 0 : laid.layout.Start[0] - 1;
            const AnsiString shown = AnsiString(line.Text.substr(0, start)) + CutZTextLine(first);
            MarkupLayout one;
            one.Start[0] = static_cast<std::uint32_t>(start + 1);
            one.Length[0] = static_cast<std::uint32_t>(shown.size() - start);
            one.Style[0] = laid.layout.Style[0];
            one.Color[0] = laid.layout.Color[0];
            DrawMarkupText(shown, canvas, line.Hor, one, laid.maxHeight, 1, 0, at);
        } else {
            DrawMarkupText(line.Text, canvas, line.Hor, laid.layout, laid.total, laid.count, 0, at);
        }
        r.Top += laid.Height(paint.MultiLine);
    }
    return -1;
}
