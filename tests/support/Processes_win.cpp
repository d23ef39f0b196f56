#include "tests/support/Processes.h"

#include <tlhelp32.h>

#include <cwchar>
#include <string>

#include "framework/runtime/Cp1251.h"

TStartedProcess::~TStartedProcess()
{
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool TStartedProcess::Start(const AnsiString &commandLine, const AnsiString &folder)
{
    std::wstring line = Cp1251ToWide(commandLine), dir = Cp1251ToWide(folder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup, &info_);
}

DWORD TStartedProcess::Wait(DWORD milliseconds)
{
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0)
        return ~0u;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void TStartedProcess::Kill()
{
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
}

DWORD FindProcess(const wchar_t *exeName)
{
    DWORD id = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !id; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, exeName) == 0)
            id = entry.th32ProcessID;
    CloseHandle(snapshot);
    return id;
}

namespace {

struct WindowSearch {
    DWORD process;
    const wchar_t *className;
    const wchar_t *caption;
    bool unownedOnly;
    HWND found;
};

BOOL CALLBACK Matches(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<WindowSearch *>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    if (search->process) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->process)
            return TRUE;
    }
    wchar_t text[256];
    if (search->className && (!GetClassNameW(window, text, 256) || std::wcscmp(text, search->className) != 0))
        return TRUE;
    if (search->caption && (!GetWindowTextW(window, text, 256) || std::wcscmp(text, search->caption) != 0))
        return TRUE;
    if (search->unownedOnly && GetWindow(window, GW_OWNER))
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK PostClose(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

HWND FindTopWindow(DWORD process, const wchar_t *className, const wchar_t *caption)
{
    WindowSearch search{process, className, caption, false, nullptr};
    EnumWindows(Matches, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD process, const wchar_t *className, const wchar_t *caption, int timeout)
{
    for (int waited = 0;; waited += 50) {
        if (HWND window = FindTopWindow(process, className, caption))
            return window;
        if (waited >= timeout)
            return nullptr;
        Sleep(50);
    }
}

HWND MainWindowOf(DWORD process)
{
    WindowSearch search{process, nullptr, nullptr, true, nullptr};
    EnumWindows(Matches, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CloseWindowsOf(DWORD process) { EnumWindows(PostClose, static_cast<LPARAM>(process)); }
