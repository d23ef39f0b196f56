#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/graphics/Themes.h"

namespace {
// The visual-styles library, loaded at first use when the system has it; its functions are looked up by
// name, so that a system without it runs classic.
class TSystemThemeLibrary : public TThemeLibrary {
public:
    TSystemThemeLibrary()
    {
        HMODULE module = LoadLibraryW(L"uxtheme.dll");
        if (!module)
            return;
        isThemeActive_ = Find<decltype(isThemeActive_)>(module, "IsThemeActive");
        isAppThemed_ = Find<decltype(isAppThemed_)>(module, "IsAppThemed");
        open_ = Find<decltype(open_)>(module, "OpenThemeData");
        close_ = Find<decltype(close_)>(module, "CloseThemeData");
        draw_ = Find<decltype(draw_)>(module, "DrawThemeBackground");
        content_ = Find<decltype(content_)>(module, "GetThemeBackgroundContentRect");
        textExtent_ = Find<decltype(textExtent_)>(module, "GetThemeTextExtent");
        partSize_ = Find<decltype(partSize_)>(module, "GetThemePartSize");
        loaded_ = isThemeActive_ && isAppThemed_ && open_ && close_ && draw_ && content_ && textExtent_ && partSize_;
    }

    bool Active() override { return loaded_ && isThemeActive_() && isAppThemed_(); }

    TThemeHandle Open(HWND window, TThemeClass themeClass) override
    {
        if (!loaded_)
            return nullptr;
        std::wstring name = Cp1251ToWide(ThemeClassName(themeClass));
        return open_(window, name.c_str());
    }

    void Close(TThemeHandle theme) override
    {
        if (loaded_ && theme)
            close_(theme);
    }

    void DrawBackground(TThemeHandle theme, TCanvas &canvas, int part, int state, const TRect &rect) override
    {
        HDC dc = canvas.Handle();
        if (!loaded_ || !theme || !dc)
            return;
        RECT r = ToRECT(rect);
        draw_(theme, dc, part, state, &r, nullptr);
    }

    TRect ContentRect(TThemeHandle theme, TCanvas &canvas, int part, int state, const TRect &bounds) override
    {
        HDC dc = canvas.Handle();
        RECT in = ToRECT(bounds), out = in;
        if (loaded_ && theme && FAILED(content_(theme, dc, part, state, &in, &out)))
            out = in;
        return FromRECT(out);
    }

    TRect TextExtent(TThemeHandle theme, TCanvas &canvas, int part, int state, const AnsiString &text, unsigned flags,
                     const TRect &bounds) override
    {
        HDC dc = canvas.Handle();
        RECT in = ToRECT(bounds), out{bounds.Left, bounds.Top, bounds.Left, bounds.Top};
        if (!loaded_ || !theme || !dc)
            return FromRECT(out);
        // The library measures with the font selected into the context unless the theme names its own.
        HGDIOBJ old = SelectObject(dc, canvas.Font()->Handle());
        std::wstring w = Cp1251ToWide(text);
        if (FAILED(textExtent_(theme, dc, part, state, w.c_str(), static_cast<int>(w.size()), flags & ~dtCalcRect, &in,
                               &out)))
            out = RECT{bounds.Left, bounds.Top, bounds.Left, bounds.Top};
        SelectObject(dc, old);
        return FromRECT(out);
    }

    TSize PartSize(TThemeHandle theme, TCanvas &canvas, int part, int state) override
    {
        SIZE size{0, 0};
        constexpr int kTrueSize = 1;
        if (loaded_ && theme && FAILED(partSize_(theme, canvas.Handle(), part, state, nullptr, kTrueSize, &size)))
            size = SIZE{0, 0};
        return TSize{size.cx, size.cy};
    }

private:
    template <typename F>
    static F Find(HMODULE module, const char *name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(module, name)));
    }
    static RECT ToRECT(const TRect &r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
    static TRect FromRECT(const RECT &r) { return Rect(r.left, r.top, r.right, r.bottom); }

    bool loaded_ = false;
    BOOL(WINAPI *isThemeActive_)() = nullptr;
    BOOL(WINAPI *isAppThemed_)() = nullptr;
    HANDLE(WINAPI *open_)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI *close_)(HANDLE) = nullptr;
    HRESULT(WINAPI *draw_)(HANDLE, HDC, int, int, const RECT *, const RECT *) = nullptr;
    HRESULT(WINAPI *content_)(HANDLE, HDC, int, int, const RECT *, RECT *) = nullptr;
    HRESULT(WINAPI *textExtent_)(HANDLE, HDC, int, int, LPCWSTR, int, DWORD, const RECT *, RECT *) = nullptr;
    HRESULT(WINAPI *partSize_)(HANDLE, HDC, int, int, const RECT *, int, SIZE *) = nullptr;
};
}  // namespace

TThemeLibrary &SystemThemeLibrary()
{
    static TSystemThemeLibrary library;
    return library;
}
