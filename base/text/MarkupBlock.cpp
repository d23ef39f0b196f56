// Format blocks of markup text and the font they give a line.
#include <algorithm>
#include <cstdint>

#include "base/text/Markup.h"

namespace {

constexpr char BlockMark = 0x01;

int DigitValue(unsigned char c, int base)
{
    int v = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : 99;
    return v < base ? v : -1;
}

bool IsCSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A number as strtol reads it with a 32-bit long (the result saturates at its range), but never past
// the end of the text. Without digits the result is 0 and `i` stays where it was, as strtol leaves
// its end pointer.
std::int32_t ReadNumber(std::string_view text, size_t &i, int base)
{
    size_t j = i;
    while (j < text.size() && IsCSpace(text[j]))
        ++j;
    bool negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        negative = text[j++] == '-';
    if (base == 16 && j + 2 < text.size() && text[j] == '0' && (text[j + 1] == 'x' || text[j + 1] == 'X') &&
        DigitValue(text[j + 2], 16) >= 0)
        j += 2;
    const size_t digits = j;
    constexpr std::int64_t Cap = std::int64_t(1) << 31;
    std::int64_t value = 0;
    for (int d; j < text.size() && (d = DigitValue(text[j], base)) >= 0; ++j)
        value = std::min(value * base + d, Cap);
    if (j == digits)
        return 0;
    i = j;
    return static_cast<std::int32_t>(negative ? -value : std::min(value, Cap - 1));
}

std::uint32_t LetterFlag(unsigned char c)
{
    switch (c) {
    case 0xCB: return MarkupLeft;       // Л
    case 0xD6: return MarkupCentre;     // Ц
    case 0xCF: return MarkupRight;      // П
    case 0xCA: return MarkupItalic;     // К
    case 0xC6: return MarkupBold;       // Ж
    case 0xD7: return MarkupUnderline;  // Ч
    case 'Z': return MarkupStrikeOut;
    case 'F': return MarkupCarry;
    default: return 0;
    }
}

}  // namespace

int ParseMarkupBlock(std::string_view text, int &position, MarkupStyle &style)
{
    style = MarkupStyle{};
    if (position < 1 || static_cast<size_t>(position) > text.size() || text[position - 1] != BlockMark)
        return MarkupNoBlock;
    size_t i = position;  // the character after the opening mark, 0-based
    int result = MarkupBlock;
    std::uint32_t flags = 0, color = 0;
    int size = 0;
    while (i < text.size()) {
        const unsigned char c = text[i];
        if (c == BlockMark) {
            ++i;
            break;
        }
        if (std::uint32_t flag = LetterFlag(c)) {
            flags |= flag;
            if (flag == MarkupCarry)
                result = MarkupBlockCarried;
            ++i;
        } else if (c == 'S' || c == 0xC4 /* Д */) {
            ++i;
            const std::int32_t value = ReadNumber(text, i, c == 'S' ? 10 : 16);
            // The size has eight bits of the style word; a larger one must not reach the flags.
            if (c == 'S')
                size = std::clamp<std::int32_t>(value, 0, 255);
            else
                color = static_cast<std::uint32_t>(value);
            if (i < text.size())
                ++i;  // the separator after the number
        } else {
            // Not a code: the block is cancelled and this character starts the line's text.
            flags = 0;
            size = 0;
            color = 0;
            break;
        }
    }
    position = static_cast<int>(i) + 1;
    style.Word = (flags << 8) + static_cast<std::uint32_t>(size);
    style.Color = color;
    return result;
}

MarkupBaseFont MarkupBaseFont::Of(const TFont &font)
{
    return MarkupBaseFont{font.Height(), font.Style(), font.Color()};
}

void MarkupBaseFont::RestoreTo(TFont &font) const
{
    font.SetHeight(Height);
    font.SetStyle(Style);
    font.SetColor(Color);
}

int ApplyMarkupFont(TCanvas &canvas, int defaultAlignment, MarkupStyle style, const MarkupBaseFont &base)
{
    TFont &font = *canvas.Font();
    base.RestoreTo(font);
    if (style.Color != 0)
        font.SetColor(style.Color);
    if (style.Size() != 0)
        font.SetSize(style.Size());
    const std::uint32_t flags = style.Flags();
    if (flags & (MarkupStrikeOut | MarkupUnderline | MarkupBold | MarkupItalic)) {
        TFontStyles fs = 0;
        if (flags & MarkupStrikeOut)
            fs |= fsStrikeOut;
        if (flags & MarkupUnderline)
            fs |= fsUnderline;
        if (flags & MarkupBold)
            fs |= fsBold;
        if (flags & MarkupItalic)
            fs |= fsItalic;
        font.SetStyle(fs);
    }
    if (flags & MarkupLeft)
        return MarkupAlignLeft;
    if (flags & MarkupCentre)
        return MarkupAlignCentre;
    if (flags & MarkupRight)
        return MarkupAlignRight;
    return defaultAlignment;
}
