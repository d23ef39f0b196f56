#include "base/keys/KeyCodes.h"

namespace {
constexpr uint16_t VkShift = 16, VkControl = 17, VkMenu = 18, VkApps = 93;
// Input-method keys (the IME switch, junja, final).
constexpr uint16_t FirstInputMethodKey = 0x16, LastInputMethodKey = 0x18;

bool IsModifierKey(uint16_t key) { return key == VkShift || key == VkControl || key == VkMenu; }

uint32_t WithModifiers(uint16_t key, TShiftState shift)
{
    uint32_t code = key;
    if (shift & ssAlt)
        code += KeyCodeAlt;
    if (shift & ssCtrl)
        code += KeyCodeCtrl;
    if (shift & ssShift)
        code += KeyCodeShift;
    return code;
}
}  // namespace

uint32_t KeyToCode(uint16_t key, TShiftState shift)
{
    if (IsModifierKey(key) || key == VkApps)
        return 0;
    return WithModifiers(key, shift);
}

uint32_t KeyToCodeEx(uint16_t key, TShiftState shift, bool skipInputMethodKeys)
{
    if (skipInputMethodKeys && key >= FirstInputMethodKey && key <= LastInputMethodKey)
        return 0;
    uint32_t code = WithModifiers(key, shift);
    if (shift & ssLeft)
        code += KeyCodeLeftButton;
    if (shift & ssRight)
        code += KeyCodeRightButton;
    if (shift & ssMiddle)
        code += KeyCodeMiddleButton;
    return code;
}
