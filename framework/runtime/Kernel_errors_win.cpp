// System error texts, the module file name, the Windows folder, version and processor.
#include <windows.h>

#include <cwchar>
#include <iterator>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"

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

void SetSysError(unsigned long errorCode) { SetLastError(errorCode); }

unsigned long GetSysError() { return GetLastError(); }

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
    TWindowsVersionInfo info;
    if (!GetWindowsVersionInfo(info, false))
        return false;
    major = info.Major;
    minor = info.Minor;
    build = info.Build;
    return true;
}

bool GetWindowsVersionInfo(TWindowsVersionInfo &info, bool extended)
{
    OSVERSIONINFOEXW v{};
    v.dwOSVersionInfoSize = extended ? sizeof(OSVERSIONINFOEXW) : sizeof(OSVERSIONINFOW);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL ok = GetVersionExW(reinterpret_cast<OSVERSIONINFOW *>(&v));
#pragma GCC diagnostic pop
    if (!ok)
        return false;
    TWindowsVersionInfo got;
    got.Major = v.dwMajorVersion;
    got.Minor = v.dwMinorVersion;
    got.Build = v.dwBuildNumber;
    got.PlatformId = v.dwPlatformId;
    // The text's array need not end in a NUL.
    got.ServicePack = WideToCp1251(std::wstring(v.szCSDVersion, wcsnlen(v.szCSDVersion, std::size(v.szCSDVersion))));
    if (extended) {
        got.ServicePackMajor = v.wServicePackMajor;
        got.ServicePackMinor = v.wServicePackMinor;
        got.SuiteMask = v.wSuiteMask;
        got.ProductType = v.wProductType;
    }
    info = got;
    return true;
}

bool GetWindowsProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t servicePackMajor,
                           std::uint32_t servicePackMinor, std::uint32_t &type)
{
    using ProductInfoEntry = BOOL(WINAPI *)(DWORD, DWORD, DWORD, DWORD, PDWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel)
        return false;
    auto entry =
        reinterpret_cast<ProductInfoEntry>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetProductInfo")));
    if (!entry)
        return false;
    DWORD product = 0;
    type = entry(major, minor, servicePackMajor, servicePackMinor, &product) ? product : 0;
    return true;
}

unsigned GetProcessorArchitecture()
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

bool IsServerR2System() { return GetSystemMetrics(SM_SERVERR2) != 0; }
