#include "framework/runtime/Cp1251.h"

std::wstring Cp1251ToWide(std::string_view text)
{
    std::u16string u = Cp1251ToUtf16(text);
    return std::wstring(u.begin(), u.end());
}

AnsiString WideToCp1251(std::wstring_view text)
{
    return Utf16ToCp1251(std::u16string_view(reinterpret_cast<const char16_t *>(text.data()), text.size()));
}
