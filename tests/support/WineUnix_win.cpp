#include "tests/support/WineUnix.h"

#include <windows.h>

namespace {

using UnixFileName = char *(CDECL *)(LPCWSTR);

// Wine's own export that turns a Windows path into the Unix one; null outside Wine.
UnixFileName WineUnixFileName()
{
    return reinterpret_cast<UnixFileName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

bool IsFolderLink(const std::wstring &path)
{
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) &&
           (attr & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

bool UnderWine() { return WineUnixFileName() != nullptr; }

std::string WineUnixPath(const std::wstring &windowsPath)
{
    UnixFileName unixName = WineUnixFileName();
    char *path = unixName ? unixName(windowsPath.c_str()) : nullptr;
    if (!path)
        return std::string();
    std::string unixPath(path);
    HeapFree(GetProcessHeap(), 0, path);
    while (unixPath.size() > 1 && unixPath.back() == '/')
        unixPath.pop_back();
    return unixPath;
}

bool RunUnix(const std::string &commandLine)
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

void RemoveFolderLink(const std::wstring &link)
{
    if (!IsFolderLink(link))
        return;
    if (!UnderWine()) {
        RemoveDirectoryW(link.c_str());
        return;
    }
    // Wine's removal would follow the link.
    RunUnix("/bin/rm -f \"" + WineUnixPath(link) + "\"");
    for (int i = 0; i < 100 && IsFolderLink(link); ++i)
        Sleep(50);
}

bool MakeFolderLink(const std::wstring &link, const std::wstring &target)
{
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && IsFolderLink(link))
        return true;
    const std::string unixLink = WineUnixPath(link), unixTarget = WineUnixPath(target);
    if (unixLink.empty() || unixTarget.empty() || !RunUnix("/bin/ln -sfn \"" + unixTarget + "\" \"" + unixLink + "\""))
        return false;
    // The wait for a Unix program may end before the program does: up to five seconds for the link.
    for (int i = 0; i < 100 && !IsFolderLink(link); ++i)
        Sleep(50);
    return IsFolderLink(link);
}
