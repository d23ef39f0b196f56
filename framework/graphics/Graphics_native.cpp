// The native build's stand-ins for the system's colours and drawing objects.
#include <array>

#include "framework/graphics/GdiObjects.h"
#include "framework/graphics/Graphics.h"

namespace {
// The classic scheme, since no system answers.
constexpr std::array<uint32_t, 25> kClassicSystemColors = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080,
    0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF};
}  // namespace

uint32_t ColorToRGB(TColor color)
{
    if (IsSystemColor(color)) {
        unsigned index = color & 0xFF;
        return index < kClassicSystemColors.size() ? kClassicSystemColors[index] : 0;
    }
    return color & 0x00FFFFFF;
}

HFONT CreateFontHandle(const TFont &) { return nullptr; }
HBRUSH CreateBrushHandle(const TBrush &) { return nullptr; }
HPEN CreatePenHandle(const TPen &) { return nullptr; }
void DeleteGdiObject(void *) {}
