#include <windows.h>

#include <cstring>

#include "framework/windows/Clipbrd.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/WinInternal.h"

namespace {
// Opens the clipboard for the lifetime of the object, owned by a window of ours (opened without one,
// the clipboard refuses new data); the system may refuse while another program holds it, so a few
// tries are made.
class TOpenClipboard {
public:
    TOpenClipboard()
    {
        for (int i = 0; i < 10 && !open_; ++i) {
            open_ = OpenClipboard(UtilityWindow()) != FALSE;
            if (!open_)
                Sleep(10);
        }
    }
    ~TOpenClipboard()
    {
        if (open_)
            CloseClipboard();
    }
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

HGLOBAL GlobalCopy(const void *data, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!block)
        return nullptr;
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return block;
}

bool Put(unsigned format, const void *data, size_t size)
{
    HGLOBAL block = GlobalCopy(data, size);
    if (!block)
        return false;
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}
}  // namespace

TClipboard *Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}

AnsiString TClipboard::AsText() const
{
    TOpenClipboard open;
    if (!open)
        return AnsiString();
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const auto *text = static_cast<const wchar_t *>(GlobalLock(data));
        size_t max = GlobalSize(data) / sizeof(wchar_t);
        AnsiString out = text ? WideToCp1251(std::wstring_view(text, wcsnlen(text, max))) : AnsiString();
        GlobalUnlock(data);
        return out;
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const auto *text = static_cast<const char *>(GlobalLock(data));
        AnsiString out = text ? AnsiString(text, strnlen(text, GlobalSize(data))) : AnsiString();
        GlobalUnlock(data);
        return out;
    }
    return AnsiString();
}

bool TClipboard::SetAsText(const AnsiString &text) const
{
    if (text.empty())
        return false;
    TOpenClipboard open;
    if (!open)
        return false;
    EmptyClipboard();
    std::wstring wide = Cp1251ToWide(text);
    const LCID russian = MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT);
    bool ok = Put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)) &&
              Put(CF_TEXT, text.c_str(), text.size() + 1) && Put(CF_LOCALE, &russian, sizeof russian);
    if (!ok)
        EmptyClipboard();
    return ok;
}

bool TClipboard::HasFormat(unsigned format) const { return IsClipboardFormatAvailable(format) != FALSE; }

std::vector<unsigned> TClipboard::Formats() const
{
    std::vector<unsigned> formats;
    TOpenClipboard open;
    if (!open)
        return formats;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        formats.push_back(f);
    return formats;
}

bool TClipboard::Clear() const
{
    TOpenClipboard open;
    return open && EmptyClipboard();
}
