#pragma once
// One number for a key with its modifiers, shared by the input filters of the controls and the grid:
// the virtual key + 256 with Alt, + 512 with Ctrl, + 1024 with Shift.
#include <cstdint>

#include "framework/windows/Controls.h"

constexpr uint32_t KeyCodeAlt = 256, KeyCodeCtrl = 512, KeyCodeShift = 1024;
constexpr uint32_t KeyCodeLeftButton = 2048, KeyCodeRightButton = 4096, KeyCodeMiddleButton = 8192;

// The code of a key with the modifiers held; the modifier keys alone (Shift, Ctrl, Alt) and the
// context-menu key give 0.
uint32_t KeyToCode(uint16_t key, TShiftState shift);
// The same sums plus the mouse buttons held. With `skipInputMethodKeys` the input-method keys 22 to
// 24 (0x16 to 0x18) give 0; every other key, the modifier keys 16 to 18 included, gives its sum.
uint32_t KeyToCodeEx(uint16_t key, TShiftState shift, bool skipInputMethodKeys);
