// Test helper: answers the updater's message boxes the way a user does, from outside its process.
//   boxclicker.exe CAPTION TIMEOUT_MS BUTTON_ID [TEXT_FILE]
//     waits for one box with the caption, saves its text (UTF-16) and presses the button.
//   boxclicker.exe -seq PID TIMEOUT_MS TEXT_FILE CAPTION=BUTTON_ID...
//     answers boxes of process PID (0: any process) in the order given, each within TIMEOUT_MS; the
//     texts of all answered boxes go to TEXT_FILE (UTF-16), each followed by an empty line.
//   boxclicker.exe -auto PID UNTIL_FILE TIMEOUT_MS TEXT_FILE
//     answers every box of process PID until UNTIL_FILE exists and no box came for a second:
//     questions ("Внимание!") with No, every other box with OK.
// BUTTON_ID is the answer's id (1 OK, 6 Yes, 7 No). Exit code 0 when everything was answered, 1 when
// the box (the first box of a sequence) did not appear in time, 10+N when step N of a sequence did not,
// 2 for wrong arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

struct Search {
    const wchar_t *caption;  // nullptr: any caption
    DWORD process;           // 0: any process
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<Search *>(param);
    wchar_t className[64], title[256];
    if (!IsWindowVisible(window) || !GetClassNameW(window, className, 64) || std::wcscmp(className, L"#32770") != 0)
        return TRUE;
    if (search->process) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->process)
            return TRUE;
    }
    GetWindowTextW(window, title, 256);
    if (search->caption && std::wcscmp(title, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForBox(const wchar_t *caption, DWORD process, int timeout)
{
    Search search{caption, process, nullptr};
    for (int waited = 0; !search.found; waited += 50) {
        if (waited > timeout)
            return nullptr;
        Sleep(50);
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

void SaveText(HWND box, const wchar_t *fileName, const wchar_t *mode, bool separate)
{
    wchar_t text[4096] = L"";
    int n = GetDlgItemTextW(box, 0xFFFF, text, 4096);
    FILE *f = _wfopen(fileName, mode);
    if (!f)
        return;
    std::fwrite(text, sizeof(wchar_t), static_cast<size_t>(n), f);
    if (separate)
        std::fwrite(L"\n\n", sizeof(wchar_t), 2, f);
    std::fclose(f);
}

// Presses the button and waits until the box has gone, so that the next search does not find it again.
void Press(HWND box, int button)
{
    HWND control = GetDlgItem(box, button);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    for (int i = 0; i < 200 && IsWindow(box) && IsWindowVisible(box); ++i)
        Sleep(25);
}

int Sequence(int argc, wchar_t **argv)
{
    if (argc < 6)
        return 2;
    DWORD process = static_cast<DWORD>(_wtoi(argv[2]));
    int timeout = _wtoi(argv[3]);
    const wchar_t *textFile = argv[4];
    if (FILE *f = _wfopen(textFile, L"wb"))
        std::fclose(f);
    for (int step = 5; step < argc; ++step) {
        std::wstring arg = argv[step];
        size_t eq = arg.rfind(L'=');
        if (eq == std::wstring::npos)
            return 2;
        std::wstring caption = arg.substr(0, eq);
        HWND box = WaitForBox(caption.c_str(), process, timeout);
        if (!box)
            return 10 + (step - 5);
        SaveText(box, textFile, L"ab", true);
        Press(box, _wtoi(arg.c_str() + eq + 1));
    }
    return 0;
}

int Auto(int argc, wchar_t **argv)
{
    if (argc < 6)
        return 2;
    DWORD process = static_cast<DWORD>(_wtoi(argv[2]));
    const wchar_t *untilFile = argv[3];
    int timeout = _wtoi(argv[4]);
    const wchar_t *textFile = argv[5];
    for (int waited = 0; waited < timeout; waited += 1000) {
        HWND box = WaitForBox(nullptr, process, 1000);
        if (!box) {
            if (GetFileAttributesW(untilFile) != INVALID_FILE_ATTRIBUTES)
                return 0;
            continue;
        }
        wchar_t title[256] = L"";
        GetWindowTextW(box, title, 256);
        SaveText(box, textFile, L"ab", true);
        Press(box, std::wcscmp(title, L"Внимание!") == 0 ? IDNO : IDOK);
    }
    return 1;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4)
        return 2;
    if (std::wcscmp(argv[1], L"-seq") == 0)
        return Sequence(argc, argv);
    if (std::wcscmp(argv[1], L"-auto") == 0)
        return Auto(argc, argv);
    HWND box = WaitForBox(argv[1], 0, _wtoi(argv[2]));
    if (!box)
        return 1;
    if (argc > 4)
        SaveText(box, argv[4], L"wb", false);
    Press(box, _wtoi(argv[3]));
    return 0;
}
