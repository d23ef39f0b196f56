// Fuzz target for markup text. An input is a width byte, an options byte (break character, keep
// flag, breaking by characters, font height) and the text. Besides the sanitizers, the layout must
// account for every character: each line starts where the previous one ended, past at most one "#"
// and a format block, and what is left after the last line is nothing or one "#" unless the layout
// says it was cut at its line limit.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/text/Markup.h"
#include "framework/graphics/RecordingCanvas.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Lines are measured once per character; this keeps an input to a few million character widths.
constexpr size_t MaxText = 2048;

void CheckBlocks(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        int position = static_cast<int>(i) + 1;
        MarkupStyle style;
        const int result = ParseMarkupBlock(text, position, style);
        if (result == MarkupNoBlock
                ? position != static_cast<int>(i) + 1
                : position <= static_cast<int>(i) + 1 || position > static_cast<int>(text.size()) + 1)
            FuzzFinding("a format block moved the position wrongly");
        if (style.Word > 0xFFFF)
            FuzzFinding("a style word has bits beyond the flags and the size");
    }
}

void CheckLayout(std::string_view text, const MarkupLayout &layout, int count)
{
    if (count < 1 || count > MarkupMaxLines)
        FuzzFinding("line count out of range");
    size_t done = 0;  // characters accounted for, from the start
    for (int i = 0; i < count; ++i) {
        size_t p = done;
        if (p < text.size() && text[p] == '#')
            ++p;
        int start = static_cast<int>(p) + 1;
        MarkupStyle style;
        ParseMarkupBlock(text, start, style);
        if (layout.Start[i] != static_cast<std::uint32_t>(start))
            FuzzFinding("a line does not start where the text before it was used up");
        const size_t end = static_cast<size_t>(start) - 1 + layout.Length[i];
        if (end > text.size())
            FuzzFinding("a line reaches past the end of the text");
        if (i + 1 < count && layout.Length[i] == 0)
            FuzzFinding("an empty line before the last");
        done = end;
    }
    const std::string_view rest = text.substr(done);
    if (layout.Truncated != !(rest.empty() || rest == "#"))
        FuzzFinding(layout.Truncated ? "a layout was reported cut with nothing left" : "characters were dropped");
    if (layout.Truncated && count != MarkupMaxLines)
        FuzzFinding("a layout was cut before its line limit");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int width = data[0] * 2 + 1;
    const std::uint8_t options = data[1];
    const bool hashBreaks = options & 1, keep = options & 2, byCharacters = options & 4;
    const std::string text(reinterpret_cast<const char *>(data + 2), std::min(size - 2, MaxText));

    CheckBlocks(text);

    TRecordingCanvas canvas;
    canvas.Font()->SetHeight(-(4 + (options >> 4)));
    canvas.Font()->SetStyle(options & 8 ? fsBold : 0);
    const MarkupBaseFont base = MarkupBaseFont::Of(*canvas.Font());
    const bool nothingFits = text.empty() || width < canvas.TextWidth("Ж");

    MarkupLayout layout;
    int maxHeight = -1, total = -1;
    const int count = byCharacters
                          ? LayoutMarkupTextAlt(text, width, canvas, maxHeight, total, hashBreaks, keep, layout)
                          : LayoutMarkupText(text, width, canvas, maxHeight, total, hashBreaks, keep, layout);
    if (MarkupBaseFont::Of(*canvas.Font()).Height != base.Height || canvas.Font()->Style() != base.Style)
        FuzzFinding("the layout changed the canvas font");
    if (nothingFits) {
        if (count != 1 || layout.Start[0] != 1 || layout.Length[0] != 0 || layout.Truncated)
            FuzzFinding("an empty or too narrow layout is not one empty line");
    } else {
        CheckLayout(text, layout, count);
        if (maxHeight <= 0 || total < maxHeight)
            FuzzFinding("line heights do not add up");
    }

    DrawMarkupText(text, canvas, options % 3, layout, total, count, (options >> 2) % 3, Rect(0, 0, width, 400));
    if (canvas.CallsOf("TextOut").size() > static_cast<size_t>(count))
        FuzzFinding("more lines drawn than laid out");
    for (int mode = 0; mode < 3; ++mode) {
        const int fit = FitMarkupLine(text, width, canvas, hashBreaks, mode);
        if (fit != 1 && (fit != -1 || mode == 0))
            FuzzFinding("a fit answer out of range");
    }
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    auto input = [](std::uint8_t width, std::uint8_t options, std::string readable) {
        Bytes b{width, options};
        for (char c : readable)
            b.push_back(static_cast<std::uint8_t>(c == '|' ? 0x01 : c == '^' ? 0x03 : c));
        return b;
    };
    return {
        input(50, 0x71, "|ЦЖS14 |Заголовок окна#и текст, 1234,56 далее"),
        input(40, 0x73, "|ЦЖFS14 Д0000FF |первая строка#вторая^третья#|К|курсив#"),
        input(30, 0x35, "#|Л|слева#|П|справа#|ЦЧZ Д0x00FF00 |по центру, с запятой,#"),
        input(20, 0x40, "|S300 Д-1 |очень длинное слово_без_пробелов^и ещё#"),
        input(60, 0x27, "а б,в гдеж 1,2,3 ,x#y##z"),
    };
}
