// Test helper: waits for a message box with the given caption, saves its text and presses one of its
// buttons, the way a user answers it.
//   boxclicker.exe CAPTION TIMEOUT_MS BUTTON_ID [TEXT_FILE]
// BUTTON_ID is the answer's id (1 OK, 6 Yes, 7 No). The text is written to TEXT_FILE as UTF-16.
// Exit code 0 when the box was answered, 1 when none appeared in time, 2 for wrong arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

struct Search {
    const wchar_t *caption;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<Search *>(param);
    wchar_t className[64], title[256];
    if (!IsWindowVisible(window) || !GetClassNameW(window, className, 64) || std::wcscmp(className, L"#32770") != 0)
        return TRUE;
    GetWindowTextW(window, title, 256);
    if (std::wcscmp(title, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4)
        return 2;
    const int timeout = _wtoi(argv[2]);
    const int button = _wtoi(argv[3]);
    Search search{argv[1], nullptr};
    for (int waited = 0; !search.found; waited += 50) {
        if (waited > timeout)
            return 1;
        Sleep(50);
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    }
    if (argc > 4) {
        wchar_t text[4096] = L"";
        int n = GetDlgItemTextW(search.found, 0xFFFF, text, 4096);
        FILE *f = _wfopen(argv[4], L"wb");
        if (f) {
            std::fwrite(text, sizeof(wchar_t), static_cast<size_t>(n), f);
            std::fclose(f);
        }
    }
    HWND control = GetDlgItem(search.found, button);
    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return 0;
}
