// System error texts, the module file name, the Windows folder and version.
#include <windows.h>

#include "framework/Cp1251.h"
#include "framework/Kernel.h"

AnsiString SysErrorMessage(unsigned long errorCode)
{
    wchar_t *text = nullptr;
    DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, errorCode, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    if (n == 0 || !text)
        return "";
    std::wstring w(text, n);
    LocalFree(text);
    while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n'))
        w.pop_back();
    return WideToCp1251(w);
}

AnsiString GetModuleFileName()
{
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return "";
        if (n < buf.size()) {
            buf.resize(n);
            return WideToCp1251(buf);
        }
        buf.resize(buf.size() * 2);
    }
}

AnsiString GetWindowsFolderPath()
{
    wchar_t buf[MAX_PATH + 1];
    UINT n = GetWindowsDirectoryW(buf, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH)
        return "";
    return WideToCp1251(std::wstring(buf, n));
}

bool GetWindowsVersion(unsigned &major, unsigned &minor, unsigned &build)
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL ok = GetVersionExW(&info);
#pragma GCC diagnostic pop
    if (!ok)
        return false;
    major = info.dwMajorVersion;
    minor = info.dwMinorVersion;
    build = info.dwBuildNumber;
    return true;
}
