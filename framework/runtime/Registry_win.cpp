// Registry reads through the W functions.
#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Registry.h"

TRegistryRead ReadUserRegistryString(const AnsiString &keyPath, const AnsiString &valueName, AnsiString &value)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Cp1251ToWide(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return rrNoKey;
    std::wstring name = Cp1251ToWide(valueName);
    DWORD type = 0, bytes = 0;
    LONG r = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes);
    TRegistryRead result = rrOk;
    if (r != ERROR_SUCCESS) {
        result = rrNoValue;
    } else if (type != REG_SZ) {
        result = rrWrongType;
    } else {
        // Room for a terminator the stored value may lack.
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        r = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(text.data()), &size);
        if (r != ERROR_SUCCESS || type != REG_SZ) {
            result = r != ERROR_SUCCESS ? rrNoValue : rrWrongType;
        } else {
            text.resize(size / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0')
                text.pop_back();
            value = WideToCp1251(text);
        }
    }
    RegCloseKey(key);
    return result;
}
