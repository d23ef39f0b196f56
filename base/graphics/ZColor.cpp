#include "base/graphics/ZColor.h"

#include <array>

namespace {

constexpr std::uint8_t SystemColorNumber(unsigned index)
{
    return static_cast<std::uint8_t>(index <= 12 ? index : index <= 23 ? index + 1 : index + 2);
}

constexpr std::array<TColor, TZColor::Count> MakeValues()
{
    std::array<TColor, TZColor::Count> values{};
    for (unsigned i = 0; i < TZColor::SystemCount; ++i)
        values[i] = clSystemColor | SystemColorNumber(i);
    constexpr TColor fixed[] = {
        0x000000, 0x000080, 0x008000, 0x008080,  0x800000, 0x800080, 0x808000, 0x808080,
        0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,  0xFF0000, 0xFF00FF, 0xFFFF00, 0xC0C0C0,
        0x808080, 0xFFFFFF, clNone,   clDefault, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0,
    };
    for (unsigned i = 0; i < std::size(fixed); ++i)
        values[TZColor::SystemCount + i] = fixed[i];
    return values;
}

// Rows 53-68 hold no colour; their 0 is never found before black's row.
constexpr std::array<TColor, TZColor::Count> Values = MakeValues();
constexpr unsigned ColoredRows = TZColor::SystemCount + 24;

struct NamedColor {
    std::uint8_t index;
    std::string_view name;
};

constexpr NamedColor Names[] = {
    {4, "clMenu"},     {29, "clBlack"},  {31, "clGreen"},  {32, "clOlive"},  {33, "clNavy"},   {34, "clPurple"},
    {36, "clGray"},    {37, "clSilver"}, {38, "clRed"},    {39, "clLime"},   {40, "clYellow"}, {41, "clBlue"},
    {42, "clFuchsia"}, {43, "clAqua"},   {44, "clLtGray"}, {45, "clDkGray"}, {46, "clWhite"},
};

}  // namespace

TColor TZColor::ValueOf(unsigned index) { return index < ColoredRows ? Values[index] : 0; }

std::uint8_t TZColor::IndexOf(TColor value)
{
    for (unsigned i = 0; i < ColoredRows; ++i)
        if (Values[i] == value)
            return static_cast<std::uint8_t>(i);
    return Count;
}

std::uint8_t TZColor::IndexOfName(std::string_view name)
{
    for (const NamedColor &row : Names)
        if (row.name == name)
            return row.index;
    return Count;
}

TColor TZColor::ResolveColor(TColor value)
{
    return (value & 0x80000000u) != 0 ? ColorToRGB(clSystemColor | (value & 0xFF)) : value;
}
