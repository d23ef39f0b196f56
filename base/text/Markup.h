#pragma once
// Inline text markup: a laid-out line may begin with a format block (0x01, codes, 0x01) that sets its
// alignment, font style, size and colour. Texts are broken into at most MarkupMaxLines lines that fit a
// width on a canvas, and the laid-out lines are drawn into a rectangle.
//
// Codes of a format block (code page 1251 letters):
//   Л left, Ц centre, П right, К italic, Ж bold, Ч underline, Z strike-out,
//   F the format carries on to the following lines that have no block of their own,
//   S + decimal number: font size in points, Д + hexadecimal number: colour (0x00BBGGRR).
// A number is read as strtol reads it (leading blanks, a sign, "0x" for the colour) and the one
// character after it is skipped, so a writer puts a separator after every number ("\x01ЖS14 \x01").
// Any other character inside a block ends it and cancels its format; the text goes on from there.
//
// Positions are 1-based, as the rest of the library counts them.
#include <cstdint>
#include <string_view>

#include "framework/graphics/Graphics.h"

// Flags of a format block, as they stand in the high part of a style word.
enum : std::uint32_t {
    MarkupLeft = 0x01,
    MarkupCentre = 0x02,
    MarkupRight = 0x04,
    MarkupItalic = 0x08,
    MarkupBold = 0x10,
    MarkupUnderline = 0x20,
    MarkupStrikeOut = 0x40,
    MarkupCarry = 0x80,
};

// Alignment of a line.
enum : int { MarkupAlignLeft = 0, MarkupAlignCentre = 1, MarkupAlignRight = 2 };

// The format of one line: Word = (flags << 8) + size in points, 0..255; size 0 and colour 0 keep the
// base font's (so a block cannot set black).
struct MarkupStyle {
    std::uint32_t Word = 0;
    std::uint32_t Color = 0;

    std::uint32_t Flags() const { return Word >> 8; }
    int Size() const { return static_cast<int>(Word & 0xFF); }
    friend bool operator==(const MarkupStyle &, const MarkupStyle &) = default;
};

// ParseMarkupBlock results.
enum : int { MarkupNoBlock = 0, MarkupBlockCarried = 1, MarkupBlock = 2 };

// Reads a format block at `position` (1-based) of the text. Returns MarkupNoBlock (style cleared,
// position unchanged) when no 0x01 stands there, MarkupBlockCarried for a block with F, MarkupBlock
// for one without. The position moves past the block: past its closing 0x01, to the end of the text
// when it has none, or onto the character that broke it off.
int ParseMarkupBlock(std::string_view text, int &position, MarkupStyle &style);

// The canvas font a layout starts from and goes back to.
struct MarkupBaseFont {
    int Height = 0;
    TFontStyles Style = 0;
    TColor Color = 0;

    static MarkupBaseFont Of(const TFont &font);
    void RestoreTo(TFont &font) const;
};

// Sets the canvas font for a line of this style over the base font and returns the line's alignment:
// the default one unless the style's flags choose (left before centre before right). Any of the
// style flags replaces the base style as a whole; without them the base style stays.
int ApplyMarkupFont(TCanvas &canvas, int defaultAlignment, MarkupStyle style, const MarkupBaseFont &base);

constexpr int MarkupMaxLines = 100;

// The laid-out lines of a text: start (1-based, after the line's format block), length in characters,
// style word and colour of each line. Entries past the line count are left as they were.
struct MarkupLayout {
    std::uint32_t Start[MarkupMaxLines] = {};
    std::uint32_t Length[MarkupMaxLines] = {};
    std::uint32_t Style[MarkupMaxLines] = {};
    std::uint32_t Color[MarkupMaxLines] = {};
    // The text had more lines than the layout holds; it was cut after the last whole line.
    bool Truncated = false;

    MarkupStyle StyleOf(int line) const { return MarkupStyle{Style[line], Color[line]}; }
    // The characters of a line, kept within the text whatever the entry says.
    std::string_view LineText(std::string_view text, int line) const;
};

// Lays the text out to lines narrower than `width` on the canvas (the text's last line may reach it
// exactly), each in its own format, breaking
// after blanks and after commas that are not decimal commas, at the break character ("#" when
// hashBreaks is set, else 0x03; keepBreak keeps it at the end of its line) and at 0x03. A word wider
// than the width is broken where it overflows. A "#" that starts a line is skipped; a text that ends
// with one has no empty last line. Returns the line count, at least 1 (an empty text, or a width
// narrower than "Ж", gives one empty line) and at most MarkupMaxLines. The heights are those of "W"
// in each line's font: the tallest and the sum. The canvas font is left as it was found.
int LayoutMarkupText(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                     bool hashBreaks, bool keepBreak, MarkupLayout &layout);
int LayoutMarkupTextHash(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                         bool keepBreak, MarkupLayout &layout);

// As LayoutMarkupText, but breaking by characters: a line ends just before the character that would
// make it reach the width, at 0x03, and at the break character unless keepBreak is set (then the
// break character is an ordinary character).
int LayoutMarkupTextAlt(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                        bool hashBreaks, bool keepBreak, MarkupLayout &layout);
int LayoutMarkupTextAltHash(std::string_view text, int width, TCanvas &canvas, int &maxLineHeight, int &totalHeight,
                            bool keepBreak, MarkupLayout &layout);

// Whether the first line of the text fits the width, as LayoutMarkupText would grow it: fit mode 0
// always answers 1; mode 1 answers -1 when the line reaches the width before its end or break; mode 2
// answers -1 only when, besides, the line has no comma and the character where it overflows is not
// one. Otherwise 1.
int FitMarkupLine(std::string_view text, int width, TCanvas &canvas, bool hashBreaks, int fitMode);
int FitMarkupLineHash(std::string_view text, int width, TCanvas &canvas, int fitMode);

// Draws `lineCount` laid-out lines into the rectangle, from its top, or centred in it (vertical
// alignment 1) or at its bottom (2) by the total height; each line aligned horizontally by its own
// format or the default alignment. Lines that would pass the rectangle's bottom are not drawn.
void DrawMarkupText(std::string_view text, TCanvas &canvas, int defaultAlignment, const MarkupLayout &layout,
                    int totalHeight, int lineCount, int verticalAlignment, const TRect &rect);
