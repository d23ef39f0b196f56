#include "framework/windows/ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/runtime/Cp1251.h"

intptr_t ShellOpen(const AnsiString &verb, const AnsiString &file, const AnsiString &parameters)
{
    std::wstring v = Cp1251ToWide(verb), f = Cp1251ToWide(file), p = Cp1251ToWide(parameters);
    HINSTANCE result = ShellExecuteW(nullptr, verb.empty() ? nullptr : v.c_str(), f.c_str(),
                                     parameters.empty() ? nullptr : p.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<intptr_t>(result);
}
