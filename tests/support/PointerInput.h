#pragma once
// The mouse as a user moves it and the keys as a user presses them, for tests that drive windows
// through the window system's input queue, and a pump that waits for what the input causes. Windows
// build only.
#include <cstdint>

#include "framework/windows/Controls.h"

// Runs the program's messages for the given time.
void PumpFor(int milliseconds);

// Runs the program's messages until `settled` holds or the time is up; true when it held. On a busy
// machine the window system can take far longer than usual to deliver input, and a check made before
// it arrives tells nothing: wait for the state the input should give, and judge what there is.
template <class Settled>
bool PumpUntil(Settled settled, int milliseconds = 5000)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (settled())
            return true;
        PumpFor(20);
    }
    return settled();
}

// Moves the pointer to the screen point through the input queue, as the mouse does: the window under
// it gets its move at once, without waiting for the window system to report the pointer's new place.
void MovePointerTo(const TPoint &screen);
// Moves the pointer and waits for the state the move should give. Under Wine a move is also passed on
// to the X server, and on a busy machine the server's report of an earlier place can come in after it
// and put the pointer back there for the program; so the move is made again, a few times, while the
// state does not come. True when it came.
template <class Settled>
bool MovePointerUntil(const TPoint &screen, Settled settled)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        MovePointerTo(screen);
        if (PumpUntil(settled, 1000))
            return true;
    }
    return false;
}

// Presses or releases the left button where the pointer is.
void PressLeftButton(bool down);

// Presses and releases the key through the input queue, with Ctrl and Shift held as the shift state
// says: the window with the focus gets it, as from the keyboard.
void KeyStroke(std::uint16_t key, TShiftState shift = 0);
