#pragma once
// Other processes as the whole-program tests and the helper programs drive them from outside: started
// and waited for, found by their file name, their top-level windows found (a program's main window, a
// box with a caption) and asked to close. Windows build only.
#include <windows.h>

#include "framework/runtime/AnsiString.h"

// A process started with a command line in a working folder; killed if it still runs when the object
// goes away.
class TStartedProcess {
public:
    TStartedProcess() = default;
    TStartedProcess(const TStartedProcess &) = delete;
    TStartedProcess &operator=(const TStartedProcess &) = delete;
    ~TStartedProcess();

    bool Start(const AnsiString &commandLine, const AnsiString &folder);
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // Waits for the end; the exit code, or ~0u when it did not end in time.
    DWORD Wait(DWORD milliseconds);
    void Kill();

private:
    PROCESS_INFORMATION info_{};
};

// The id of a running process whose executable has the file name (any case); 0 when none runs.
DWORD FindProcess(const wchar_t *exeName);

// The window class of message boxes and dialog boxes.
inline constexpr const wchar_t *kBoxClass = L"#32770";

// The first visible top-level window of `process` (0: of any process) with the window class and the
// caption (nullptr: any); nullptr when there is none. The wait looks every 50 ms for up to `timeout`
// ms.
HWND FindTopWindow(DWORD process, const wchar_t *className, const wchar_t *caption);
HWND WaitForTopWindow(DWORD process, const wchar_t *className, const wchar_t *caption, int timeout);

// A program's main window: its first visible top-level window that no other window owns; nullptr when
// it has none.
HWND MainWindowOf(DWORD process);

// Asks every visible top-level window of `process` to close, as the close button does.
void CloseWindowsOf(DWORD process);
