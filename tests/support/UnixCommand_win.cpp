#include "tests/support/UnixCommand.h"

#include <windows.h>

#include "framework/runtime/Cp1251.h"

namespace {

using UnixFileName = char *(CDECL *)(LPCWSTR);

// Wine's own export that turns a Windows path into the Unix one; null outside Wine.
UnixFileName WineUnixFileName()
{
    return reinterpret_cast<UnixFileName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

}  // namespace

bool UnderWine() { return WineUnixFileName() != nullptr; }

std::string UnixPathOf(const AnsiString &windowsPath)
{
    UnixFileName unixName = WineUnixFileName();
    if (!unixName)
        return std::string();
    char *path = unixName(Cp1251ToWide(windowsPath).c_str());
    if (!path)
        return std::string();
    std::string unixPath(path);
    HeapFree(GetProcessHeap(), 0, path);
    while (unixPath.size() > 1 && unixPath.back() == '/')
        unixPath.pop_back();
    return unixPath;
}

bool RunUnixCommand(const std::string &commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}
