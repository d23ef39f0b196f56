#pragma once
// Code page 1251 <-> UTF-16. Text inside the system is CP1251; it meets Windows (W functions) and the
// file system as UTF-16. Pure table conversion, so it behaves the same in both builds.
#include <string>
#include <string_view>

#include "framework/runtime/AnsiString.h"

std::u16string Cp1251ToUtf16(std::string_view text);
// Characters with no CP1251 form become '?'.
AnsiString Utf16ToCp1251(std::u16string_view text);

// Windows build only (Cp1251_win.cpp), where wchar_t is UTF-16: the forms the W functions take.
std::wstring Cp1251ToWide(std::string_view text);
AnsiString WideToCp1251(std::wstring_view text);
