// Process start and drive queries.
#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"

unsigned long StartProcess(const AnsiString &program, const AnsiString &arguments, const AnsiString &currentFolder,
                           int showState)
{
    STARTUPINFOW si;
    GetStartupInfoW(&si);
    si.cb = sizeof si;
    si.dwFlags |= STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showState);
    // Fields of the caller's start-up information that describe its own console and desktop are not
    // for the new process.
    si.lpReserved = nullptr;
    si.cbReserved2 = 0;
    si.lpReserved2 = nullptr;
    si.dwFlags &= ~static_cast<DWORD>(STARTF_USESTDHANDLES);

    std::wstring exe = Cp1251ToWide(program);
    std::wstring commandLine;
    if (!arguments.empty())
        commandLine = L"\"" + exe + L"\" " + Cp1251ToWide(arguments);
    std::wstring folder = Cp1251ToWide(currentFolder);
    PROCESS_INFORMATION pi;
    if (!CreateProcessW(exe.c_str(), commandLine.empty() ? nullptr : commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return GetLastError();
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

std::uint32_t GetLogicalDriveMask() { return GetLogicalDrives(); }

TDriveKind GetDriveKind(const AnsiString &root)
{
    UINT t = GetDriveTypeW(Cp1251ToWide(root).c_str());
    return t <= DRIVE_RAMDISK ? static_cast<TDriveKind>(t) : dkUnknown;
}

bool GetFreeBytesAvailable(const AnsiString &folder, std::uint64_t &bytes)
{
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(Cp1251ToWide(folder).c_str(), &available, nullptr, nullptr))
        return false;
    bytes = available.QuadPart;
    return true;
}

TErrorModeGuard::TErrorModeGuard() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
TErrorModeGuard::~TErrorModeGuard() { SetErrorMode(previous_); }
