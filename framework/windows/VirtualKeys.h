#pragma once
// Virtual key codes of the keys controls react to, under the system's names (the system's values; its
// macros stand where <windows.h> came first).
#include <cstdint>

#ifndef VK_CANCEL
constexpr uint16_t VK_CANCEL = 0x03;  // Ctrl+Break
#endif
#ifndef VK_TAB
constexpr uint16_t VK_TAB = 0x09;
#endif
#ifndef VK_CLEAR
constexpr uint16_t VK_CLEAR = 0x0C;  // keypad 5 without Num Lock
#endif
#ifndef VK_RETURN
constexpr uint16_t VK_RETURN = 0x0D;
#endif
#ifndef VK_ESCAPE
constexpr uint16_t VK_ESCAPE = 0x1B;
#endif
#ifndef VK_SPACE
constexpr uint16_t VK_SPACE = 0x20;
#endif
#ifndef VK_LEFT
constexpr uint16_t VK_LEFT = 0x25;
#endif
#ifndef VK_UP
constexpr uint16_t VK_UP = 0x26;
#endif
#ifndef VK_RIGHT
constexpr uint16_t VK_RIGHT = 0x27;
#endif
#ifndef VK_DOWN
constexpr uint16_t VK_DOWN = 0x28;
#endif
#ifndef VK_NUMPAD2
constexpr uint16_t VK_NUMPAD2 = 0x62;
#endif
#ifndef VK_NUMPAD4
constexpr uint16_t VK_NUMPAD4 = 0x64;
#endif
#ifndef VK_NUMPAD5
constexpr uint16_t VK_NUMPAD5 = 0x65;
#endif
#ifndef VK_NUMPAD6
constexpr uint16_t VK_NUMPAD6 = 0x66;
#endif
#ifndef VK_NUMPAD8
constexpr uint16_t VK_NUMPAD8 = 0x68;
#endif
