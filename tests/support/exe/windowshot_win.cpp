// Test helper: saves a picture of a program's main window, its client area (the frame and caption are
// the window manager's), as a 24-bit BMP file, once the program has finished its work.
//   windowshot.exe PROGRAM OUT.bmp DONE_PATTERN TIMEOUT_MS
// PROGRAM is a process id or the file name of the program's executable ("qmtupdt.exe").
// Waits until a file matching DONE_PATTERN (wildcards allowed) exists and then a moment more for the
// window to paint. Exit code 0 when saved, 1 when the file or the window did not appear, 2 for wrong
// arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "tests/support/Processes.h"
#include "tests/support/WindowPicture.h"

namespace {

bool Exists(const wchar_t *pattern)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 5)
        return 2;
    const int timeout = _wtoi(argv[4]);
    int waited = 0;
    for (; !Exists(argv[3]); waited += 100) {
        if (waited > timeout)
            return 1;
        Sleep(100);
    }
    Sleep(1000);
    const wchar_t *program = argv[1];
    const DWORD process =
        program[0] >= L'0' && program[0] <= L'9' ? static_cast<DWORD>(_wtoi(program)) : FindProcess(program);
    HWND window = process ? MainWindowOf(process) : nullptr;
    return window && SaveClientPicture(window, argv[2]) ? 0 : 1;
}
