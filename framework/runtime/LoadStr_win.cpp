#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/LoadStr.h"

AnsiString LoadStr(int id)
{
    if (id < 0 || id > 0xFFFF)
        return AnsiString();
    // Strings are stored in blocks of 16: block id / 16 + 1, each string a u16 length and UTF-16 text.
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1),
                                  MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
    if (!block)
        return AnsiString();
    HGLOBAL loaded = LoadResource(module, block);
    DWORD size = SizeofResource(module, block);
    const auto *p = static_cast<const wchar_t *>(LockResource(loaded));
    if (!p)
        return AnsiString();
    const wchar_t *end = p + size / sizeof(wchar_t);
    for (int i = 0; i < id % 16; ++i) {
        if (p >= end)
            return AnsiString();
        p += 1 + static_cast<unsigned>(*p);
    }
    if (p >= end || p + 1 + static_cast<unsigned>(*p) > end)
        return AnsiString();
    return WideToCp1251(std::wstring_view(p + 1, static_cast<unsigned>(*p)));
}
