#pragma once
// Keys for the editors' controls as the window system delivers them to the focused control. Windows
// build only.
#include <windows.h>

#include <cstring>

#include "framework/windows/Controls.h"
#include "framework/runtime/Cp1251.h"

namespace gridtest {

// The key down with the modifiers held (as the thread's keyboard state says), the character it types
// (none for 0) and the key up.
inline void SendKey(TWinControl &control, uint16_t key, TShiftState shift = 0, wchar_t typed = 0)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE saved[256];
    std::memcpy(saved, state, sizeof saved);
    if (shift & ssCtrl)
        state[VK_CONTROL] = 0x80;
    if (shift & ssShift)
        state[VK_SHIFT] = 0x80;
    SetKeyboardState(state);
    SendMessageW(control.Handle(), WM_KEYDOWN, key, 1);
    if (typed)
        SendMessageW(control.Handle(), WM_CHAR, typed, 1);
    SendMessageW(control.Handle(), WM_KEYUP, key, 0xC0000001);
    SetKeyboardState(saved);
}

// The text's characters typed one by one.
inline void Type(TWinControl &control, const AnsiString &text)
{
    for (wchar_t c : Cp1251ToWide(text))
        SendKey(control, 0, 0, c);
}

}  // namespace gridtest
