#pragma once
// Pictures of windows as they stand on the screen, for the test run's screenshots and the demo's picture
// of the updater's final window. Windows build only.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"

// The pixels of a rectangle of the screen as it stands, 0xRRGGBB, row by row from the top; empty when
// the rectangle is.
std::vector<uint32_t> ScreenPixels(const RECT &r);

// The pixels of a rectangle of a window's client area as the window last drew them, whatever another
// program's window covers of it on the screen; same form.
std::vector<uint32_t> ClientPixels(HWND window, const RECT &r);

// Saves the window, frame and all, as a 24-bit BMP file; false when it has no size or the file cannot
// be written. A window of another process is brought to the front first and given a moment to paint
// (the caller paints its own windows).
bool SaveWindowPicture(HWND window, const wchar_t *fileName);

// Only the window's client area. Under Wine on an X screen the frame and caption belong to the window
// manager: on a screen without one, the frame's place stays black.
bool SaveClientPicture(HWND window, const wchar_t *fileName);

// The whole screen as it stands, every window on it, saved the same way; nothing is brought to the
// front (the window in front keeps the keyboard).
bool SaveScreenPicture(const wchar_t *fileName);

// For the tests: the window saved as NAME.bmp in the test run's screenshots folder
// (build/windows/screenshots/, made when missing).
bool SaveScreenshot(HWND window, const AnsiString &name);
// The whole screen saved as NAME.bmp there.
bool SaveScreenScreenshot(const AnsiString &name);
