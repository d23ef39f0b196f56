#pragma once
// Windows build only: what the framework's own files share about the window system.
#include <windows.h>

#include <exception>

#include "framework/windows/Controls.h"

// The window class of the framework's own windows (forms, panels).
const wchar_t *FrameworkWindowClass();
HINSTANCE ModuleInstance();
// A hidden window of the framework for calls that need a window of this program (clipboard, menus).
HWND UtilityWindow();
// An exception escaped an event handler inside a window procedure: the application shows it.
void HandleEventException(const std::exception &e);
// The screen's cursor (crDefault when the controls' own apply) and the system cursor for a value.
TCursor ScreenCursor();
HCURSOR CursorHandle(TCursor cursor);
TShiftState KeyShiftState();
// Registers and unregisters forms with the screen.
void ScreenAddForm(TForm *form);
void ScreenRemoveForm(TForm *form);
void ScreenSetActiveForm(TForm *form, bool active);
