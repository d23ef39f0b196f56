// Test helper: answers the updater's message boxes the way a user does, from outside its process.
//   boxclicker.exe CAPTION TIMEOUT_MS BUTTON_ID [TEXT_FILE]
//     waits for one box with the caption, saves its text (UTF-16) and presses the button.
//   boxclicker.exe -seq PID TIMEOUT_MS TEXT_FILE CAPTION=BUTTON_ID...
//     answers boxes of process PID (0: any process) in the order given, each within TIMEOUT_MS; the
//     texts of all answered boxes go to TEXT_FILE (UTF-16), each followed by an empty line.
//   boxclicker.exe -auto PID UNTIL_FILE TIMEOUT_MS TEXT_FILE
//     answers every box of process PID until UNTIL_FILE exists and no box came for a second:
//     questions ("Внимание!") with No, every other box with OK.
//   boxclicker.exe -dialog PID CAPTION TIMEOUT_MS STEP...
//     waits for a window of process PID (0: any process) with the caption and works its controls in the
//     order given: "fill:LABEL=TEXT" puts TEXT into the edit field under the label with that caption,
//     "press:CAPTION" clicks the button with that caption.
// BUTTON_ID is the answer's id (1 OK, 6 Yes, 7 No). Exit code 0 when everything was answered, 1 when
// the box (the first box of a sequence, the dialog) did not appear in time, 10+N when step N of a
// sequence did not (or the control of step N of a dialog was not there), 2 for wrong arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/support/Processes.h"

namespace {

HWND WaitForBox(const wchar_t *caption, DWORD process, int timeout)
{
    return WaitForTopWindow(process, kBoxClass, caption, timeout);
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

struct ControlSearch {
    const wchar_t *className;
    const wchar_t *text;  // nullptr: any text
    std::vector<HWND> found;
};

BOOL CALLBACK CollectControls(HWND control, LPARAM param)
{
    auto *search = reinterpret_cast<ControlSearch *>(param);
    wchar_t className[64], text[512];
    if (!IsWindowVisible(control) || !GetClassNameW(control, className, 64) ||
        _wcsicmp(className, search->className) != 0)
        return TRUE;
    GetWindowTextW(control, text, 512);
    if (!search->text || std::wcscmp(text, search->text) == 0)
        search->found.push_back(control);
    return TRUE;
}

std::vector<HWND> Controls(HWND dialog, const wchar_t *className, const wchar_t *text)
{
    ControlSearch search{className, text, {}};
    EnumChildWindows(dialog, CollectControls, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The edit field a user takes to belong to a label: the nearest one below the label's top, of those
// the one starting nearest to the label's left edge.
HWND FieldUnder(HWND dialog, const wchar_t *label)
{
    std::vector<HWND> labels = Controls(dialog, L"Static", label);
    if (labels.empty())
        return nullptr;
    RECT at;
    GetWindowRect(labels.front(), &at);
    HWND best = nullptr;
    long bestScore = 0;
    for (HWND edit : Controls(dialog, L"Edit", nullptr)) {
        RECT r;
        GetWindowRect(edit, &r);
        if (r.top <= at.top)
            continue;
        long score = (r.top - at.top) * 10000 + std::labs(r.left - at.left);
        if (!best || score < bestScore) {
            best = edit;
            bestScore = score;
        }
    }
    return best;
}

// Works the controls of a dialog in the order given; 0 when all were done, 1 when the dialog did not
// come, 10+N when the control of step N was not found, 2 for wrong arguments.
int Dialog(int argc, wchar_t **argv)
{
    if (argc < 6)
        return 2;
    HWND dialog = WaitForTopWindow(static_cast<DWORD>(_wtoi(argv[2])), nullptr, argv[3], _wtoi(argv[4]));
    if (!dialog)
        return 1;
    for (int step = 5; step < argc; ++step) {
        std::wstring arg = argv[step];
        if (arg.rfind(L"fill:", 0) == 0) {
            size_t eq = arg.find(L'=');
            if (eq == std::wstring::npos)
                return 2;
            HWND field = FieldUnder(dialog, arg.substr(5, eq - 5).c_str());
            if (!field)
                return 10 + (step - 5);
            SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg.c_str() + eq + 1));
        } else if (arg.rfind(L"press:", 0) == 0) {
            std::vector<HWND> buttons = Controls(dialog, L"Button", arg.c_str() + 6);
            if (buttons.empty() || !IsWindowEnabled(buttons.front()))
                return 10 + (step - 5);
            // Posted, as a click is: the dialog may open a box of its own before it returns.
            PostMessageW(GetParent(buttons.front()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(buttons.front()), BN_CLICKED),
                         reinterpret_cast<LPARAM>(buttons.front()));
        } else {
            return 2;
        }
    }
    return 0;
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
    if (std::wcscmp(argv[1], L"-dialog") == 0)
        return Dialog(argc, argv);
    HWND box = WaitForBox(argv[1], 0, _wtoi(argv[2]));
    if (!box)
        return 1;
    if (argc > 4)
        SaveText(box, argv[4], L"wb", false);
    Press(box, _wtoi(argv[3]));
    return 0;
}
