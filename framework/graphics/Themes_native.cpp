#include "framework/graphics/Themes.h"

namespace {
// No window system here: visual styles are never active and nothing is drawn through them.
class TNoThemeLibrary : public TThemeLibrary {
public:
    bool Active() override { return false; }
    TThemeHandle Open(HWND, TThemeClass) override { return nullptr; }
    void Close(TThemeHandle) override {}
    void DrawBackground(TThemeHandle, TCanvas &, int, int, const TRect &) override {}
    TRect ContentRect(TThemeHandle, TCanvas &, int, int, const TRect &bounds) override { return bounds; }
    TRect TextExtent(TThemeHandle, TCanvas &, int, int, const AnsiString &, unsigned, const TRect &bounds) override
    {
        return Rect(bounds.Left, bounds.Top, bounds.Left, bounds.Top);
    }
    TSize PartSize(TThemeHandle, TCanvas &, int, int) override { return TSize{}; }
};
}  // namespace

TThemeLibrary &SystemThemeLibrary()
{
    static TNoThemeLibrary library;
    return library;
}
