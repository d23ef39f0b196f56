#include "tests/support/PointerInput.h"

#include <windows.h>

#include <vector>

#include "framework/windows/Forms.h"

void PumpFor(int milliseconds)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        Application->ProcessMessages();
        Sleep(10);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

namespace {
// An absolute mouse position is given in 1/65536 of the primary screen; the system takes the pixel
// (n * size) >> 16, so the smallest n that reaches the pixel lands on it exactly.
LONG Normalized(int pixel, int size)
{
    if (size <= 0 || pixel <= 0)
        return 0;
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + size - 1) / size);
}
}  // namespace

void MovePointerTo(const TPoint &screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalized(screen.X, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalized(screen.Y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    // Where the scale of a system differs by a pixel, the pointer still ends exactly on the point.
    POINT now{};
    if (GetCursorPos(&now) && (now.x != screen.X || now.y != screen.Y))
        SetCursorPos(screen.X, screen.Y);
}

void PressLeftButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

void KeyStroke(std::uint16_t key, TShiftState shift)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    const WORD modifiers[] = {static_cast<WORD>(shift & ssCtrl ? VK_CONTROL : 0),
                              static_cast<WORD>(shift & ssShift ? VK_SHIFT : 0)};
    for (WORD m : modifiers)
        if (m)
            add(m, false);
    add(key, false);
    add(key, true);
    for (WORD m : modifiers)
        if (m)
            add(m, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
