// Proves the window path works here: a top-level window with a list box holding a Cyrillic CP1251
// text, passed through the W functions and read back as the same bytes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {
std::wstring FromCp1251(const std::string &s)
{
    int n = MultiByteToWideChar(1251, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(1251, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string ToCp1251(const std::wstring &w)
{
    int n = WideCharToMultiByte(1251, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(1251, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}
}  // namespace

TEST(WindowSmoke, ListBoxKeepsCyrillicText)
{
    const std::string text = "Обновление: Ґґ Її Єє Іі Ёё";
    ASSERT_EQ(static_cast<unsigned char>(text[0]), 0xCE);  // 'О' in code page 1251

    HWND top = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(top, nullptr);
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE, 0, 0, 280, 180, top, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(list, nullptr);

    std::wstring wide = FromCp1251(text);
    ASSERT_EQ(0, SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
    LRESULT len = SendMessageW(list, LB_GETTEXTLEN, 0, 0);
    ASSERT_EQ(static_cast<LRESULT>(wide.size()), len);
    std::wstring back(static_cast<size_t>(len) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(back.data()));
    back.resize(static_cast<size_t>(len));
    EXPECT_EQ(text, ToCp1251(back));

    EXPECT_TRUE(DestroyWindow(top));
}
