// Drawing laid-out markup text into a rectangle.
#include <algorithm>

#include "base/text/Markup.h"

void DrawMarkupText(std::string_view text, TCanvas &canvas, int defaultAlignment, const MarkupLayout &layout,
                    int totalHeight, int lineCount, int verticalAlignment, const TRect &rect)
{
    if (text.empty() || lineCount <= 0)
        return;
    int top = rect.Top;
    if (verticalAlignment == 1)
        top += (rect.Height() - totalHeight) / 2;
    else if (verticalAlignment == 2)
        top += rect.Height() - totalHeight;
    const MarkupBaseFont base = MarkupBaseFont::Of(*canvas.Font());
    for (int line = 0; line < std::min(lineCount, MarkupMaxLines); ++line) {
        const int alignment = ApplyMarkupFont(canvas, defaultAlignment, layout.StyleOf(line), base);
        const int height = canvas.TextHeight("W");
        if (top + height > rect.Bottom)
            break;
        const AnsiString lineText(layout.LineText(text, line));
        int x = rect.Left;
        if (alignment == MarkupAlignCentre)
            x += (rect.Width() - canvas.TextWidth(lineText)) / 2;
        else if (alignment == MarkupAlignRight)
            x += rect.Width() - canvas.TextWidth(lineText);
        canvas.TextOut(x, top, lineText);
        top += height;
    }
    base.RestoreTo(*canvas.Font());
}
