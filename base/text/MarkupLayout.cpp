// Breaking markup text into lines that fit a width.
#include <algorithm>

#include "base/text/Markup.h"

namespace {

constexpr unsigned char HardBreak = 0x03;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A comma between two digits is a decimal comma and never a place to wrap.
bool IsDecimalComma(std::string_view text, size_t i)
{
    return i > 0 && i + 1 < text.size() && IsDigit(text[i - 1]) && IsDigit(text[i + 1]);
}

enum class Breaking { Words, Characters };

// How one line grows from its first character (0-based indexes, end exclusive).
struct LineScan {
    size_t End = 0;   // the line's characters end here
    size_t Next = 0;  // the next line starts here
    bool Overflow = false;
    bool CommaSeen = false;  // any comma among the characters that fitted
    bool OverflowAtComma = false;
};

// Grows the line one character at a time, measuring it each time, until it reaches the width, meets
// a break or takes the rest of the text. A line always takes at least one character, so that a
// character wider than the width cannot stop the layout from moving on.
LineScan ScanLine(std::string_view text, size_t start, int width, TCanvas &canvas, char breakChar, bool keepBreak,
                  Breaking breaking)
{
    LineScan scan;
    size_t wrapAfter = 0;  // one past the last blank or wrapping comma; 0 for none
    for (size_t i = start; i < text.size(); ++i) {
        const size_t count = i - start + 1;
        const char c = text[i];
        const int w = canvas.TextWidth(AnsiString(text.substr(start, count)));
        // Reaching the width overflows, except for a line that ends the text exactly at the width.
        if (w >= width && !(w == width && i + 1 == text.size())) {
            scan.Overflow = true;
            scan.OverflowAtComma = c == ',';
            if (count == 1)
                scan.End = i + 1;
            else if (breaking == Breaking::Words && wrapAfter != 0)
                scan.End = wrapAfter;
            else
                scan.End = i;
            scan.Next = scan.End;
            return scan;
        }
        if (c == ',')
            scan.CommaSeen = true;
        if (breaking == Breaking::Words && c == ' ') {
            wrapAfter = i + 1;
        } else if (breaking == Breaking::Words && c == ',' && !IsDecimalComma(text, i)) {
            wrapAfter = i + 1;
        } else if (count > 1 && c == breakChar && !(breaking == Breaking::Characters && keepBreak)) {
            scan.End = scan.Next = keepBreak ? i + 1 : i;
            return scan;
        } else if (count > 1 && static_cast<unsigned char>(c) == HardBreak) {
            scan.End = scan.Next = i;
            return scan;
        }
    }
    scan.End = scan.Next = text.size();
    return scan;
}

// Whether a line starts at `next`: some text is left that is not just one line-starting "#".
bool MoreText(std::string_view text, size_t next)
{
    return next < text.size() && !(next + 1 == text.size() && text[next] == '#');
}

int Layout(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight, bool hashBreaks,
           bool keepBreak, MarkupLayout &layout, Breaking breaking)
{
    const MarkupBaseFont base = MarkupBaseFont::Of(*canvas.Font());
    maxLineHeight = totalHeight = 0;
    layout.Truncated = false;
    if (text.empty() || width < canvas.TextWidth("Ж")) {
        layout.Start[0] = 1;
        layout.Length[0] = layout.Style[0] = layout.Color[0] = 0;
        return 1;
    }
    const char breakChar = hashBreaks ? '#' : static_cast<char>(HardBreak);
    size_t start = 0;
    bool carry = false;
    int line = 0;
    for (;;) {
        if (text[start] == '#')
            ++start;
        int position = static_cast<int>(start) + 1;
        MarkupStyle style;
        const int block = ParseMarkupBlock(text, position, style);
        start = static_cast<size_t>(position) - 1;
        // A block with F formats the lines after it that have no block of their own, until a block
        // without F comes; a block without F formats only its own line.
        if (line > 0 && block == MarkupNoBlock && carry)
            style = layout.StyleOf(line - 1);
        if (line == 0 || block != MarkupNoBlock)
            carry = block == MarkupBlockCarried;
        ApplyMarkupFont(canvas, MarkupAlignLeft, style, base);
        const int height = canvas.TextHeight("W");
        maxLineHeight = std::max(maxLineHeight, height);
        totalHeight += height;

        const LineScan scan = ScanLine(text, start, width, canvas, breakChar, keepBreak, breaking);
        layout.Start[line] = static_cast<std::uint32_t>(start + 1);
        layout.Length[line] = static_cast<std::uint32_t>(scan.End - std::min(start, scan.End));
        layout.Style[line] = style.Word;
        layout.Color[line] = style.Color;
        ++line;
        if (!MoreText(text, scan.Next))
            break;
        if (line == MarkupMaxLines) {
            layout.Truncated = true;
            break;
        }
        start = scan.Next;
    }
    base.RestoreTo(*canvas.Font());
    return line;
}

}  // namespace

std::string_view MarkupLayout::LineText(std::string_view text, int line) const
{
    if (line < 0 || line >= MarkupMaxLines || Start[line] < 1 || Start[line] > text.size())
        return {};
    return text.substr(Start[line] - 1, Length[line]);
}

int LayoutMarkupText(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                     bool hashBreaks, bool keepBreak, MarkupLayout &layout)
{
    return Layout(text, width, canvas, maxLineHeight, totalHeight, hashBreaks, keepBreak, layout, Breaking::Words);
}

int LayoutMarkupTextHash(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                         bool keepBreak, MarkupLayout &layout)
{
    return LayoutMarkupText(text, width, canvas, maxLineHeight, totalHeight, true, keepBreak, layout);
}

int LayoutMarkupTextAlt(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                        bool hashBreaks, bool keepBreak, MarkupLayout &layout)
{
    return Layout(text, width, canvas, maxLineHeight, totalHeight, hashBreaks, keepBreak, layout, Breaking::Characters);
}

int LayoutMarkupTextAltHash(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                            bool keepBreak, MarkupLayout &layout)
{
    return LayoutMarkupTextAlt(text, width, canvas, maxLineHeight, totalHeight, true, keepBreak, layout);
}

int FitMarkupLine(std::string_view text, int width, TCanvas &canvas, bool hashBreaks, int fitMode)
{
    if (text.empty() || (fitMode != 1 && fitMode != 2))
        return 1;
    const MarkupBaseFont base = MarkupBaseFont::Of(*canvas.Font());
    size_t start = text[0] == '#' ? 1 : 0;
    int position = static_cast<int>(start) + 1;
    MarkupStyle style;
    ParseMarkupBlock(text, position, style);
    ApplyMarkupFont(canvas, MarkupAlignLeft, style, base);
    const LineScan scan = ScanLine(text, static_cast<size_t>(position) - 1, width, canvas,
                                   hashBreaks ? '#' : static_cast<char>(HardBreak), false, Breaking::Words);
    base.RestoreTo(*canvas.Font());
    if (!scan.Overflow)
        return 1;
    if (fitMode == 1)
        return -1;
    return scan.CommaSeen || scan.OverflowAtComma ? 1 : -1;
}

int FitMarkupLineHash(std::string_view text, int width, TCanvas &canvas, int fitMode)
{
    return FitMarkupLine(text, width, canvas, true, fitMode);
}
