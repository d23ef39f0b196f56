#pragma once
// Named colours by number: 0-28 the system's interface colours, 29-52 a fixed palette, 53-68 unused
// rows. 69 ends every colour table and stands for "not a numbered colour".
#include <cstdint>
#include <string_view>

#include "framework/graphics/Graphics.h"

class TZColor {
public:
    static constexpr std::uint8_t Count = 69;
    // The system colours: index i is 0x80000000 + the system's colour number, the numbers 13 and
    // 25 being skipped.
    static constexpr std::uint8_t SystemCount = 29;

    // The colour value of an index; 0 for an index outside 0-68 or a row without a colour.
    static TColor ValueOf(unsigned index);
    // The first index whose value is `value`; Count when none is.
    static std::uint8_t IndexOf(TColor value);
    // The index of a colour name ("clMenu", "clBlack"...); Count when the name is not known.
    static std::uint8_t IndexOfName(std::string_view name);
    // The colour to draw with: a value with its top bit set is the system colour numbered by its low
    // byte; any other value is already a colour.
    static TColor ResolveColor(TColor value);
};
