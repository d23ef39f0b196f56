#include "framework/graphics/Themes.h"

#include <algorithm>

namespace {
// The library's part numbers.
constexpr int kPushButtonPart = 1, kCheckBoxPart = 3, kGroupBoxPart = 4;
constexpr int kDropButtonPart = 1, kComboBorderPart = 4;
constexpr int kMinButtonPart = 15, kMaxButtonPart = 17, kCloseButtonPart = 18, kRestoreButtonPart = 21,
              kHelpButtonPart = 23;

TThemeLibrary *standIn = nullptr;

// The four states every element but the push button has: "defaulted" counts as normal.
int FourStates(TThemedState state) { return state == tsDefaulted ? tsNormal : state; }

// The element's state as one of the four shared ones (normal, hot, pressed or focused, disabled).
int BaseState(const TThemeElement &e)
{
    if (e.Class == TThemeClass::Button && e.Part == kCheckBoxPart)
        return (e.State - 1) % 4 + 1;
    return e.State;
}

TRect Inset(const TRect &r, int by) { return Rect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by); }
}  // namespace

const char *ThemeClassName(TThemeClass themeClass)
{
    switch (themeClass) {
    case TThemeClass::Button: return "BUTTON";
    case TThemeClass::ComboBox: return "COMBOBOX";
    case TThemeClass::Window: return "WINDOW";
    }
    return "";
}

TThemeElement PushButtonElement(TThemedState state) { return {TThemeClass::Button, kPushButtonPart, state}; }

TThemeElement CheckBoxElement(TThemedCheck check, TThemedState state)
{
    return {TThemeClass::Button, kCheckBoxPart, static_cast<int>(check) * 4 + FourStates(state)};
}

TThemeElement GroupBoxElement(bool enabled) { return {TThemeClass::Button, kGroupBoxPart, enabled ? 1 : 2}; }

TThemeElement ComboBoxFrameElement(TThemedFrameState state) { return {TThemeClass::ComboBox, kComboBorderPart, state}; }

TThemeElement ComboDropButtonElement(TThemedState state)
{
    return {TThemeClass::ComboBox, kDropButtonPart, FourStates(state)};
}

TThemeElement CaptionButtonElement(TThemedCaptionButton button, TThemedState state)
{
    static const int parts[] = {kHelpButtonPart, kCloseButtonPart, kMinButtonPart, kMaxButtonPart, kRestoreButtonPart};
    return {TThemeClass::Window, parts[button], FourStates(state)};
}

TThemeLibrary &ThemeLibrary() { return standIn ? *standIn : SystemThemeLibrary(); }

void SetThemeLibrary(TThemeLibrary *library) { standIn = library; }

bool ThemesActive() { return ThemeLibrary().Active(); }

TThemeData::TThemeData(TThemeClass themeClass, HWND window)
    : library_(ThemeLibrary()), handle_(library_.Open(window, themeClass))
{}

TThemeData::~TThemeData()
{
    if (handle_)
        library_.Close(handle_);
}

unsigned ClassicFrameKind(const TThemeElement &e)
{
    switch (e.Class) {
    case TThemeClass::Button: return e.Part == kGroupBoxPart ? 0 : DFC_BUTTON;
    case TThemeClass::ComboBox: return e.Part == kDropButtonPart ? DFC_SCROLL : 0;
    case TThemeClass::Window: return DFC_CAPTION;
    }
    return 0;
}

unsigned ClassicFrameState(const TThemeElement &e)
{
    unsigned shape = 0;
    switch (e.Class) {
    case TThemeClass::Button:
        if (e.Part == kGroupBoxPart)
            return 0;
        if (e.Part == kCheckBoxPart) {
            int check = (e.State - 1) / 4;
            shape = DFCS_BUTTONCHECK | (check == tcChecked ? DFCS_CHECKED : 0) |
                    (check == tcMixed ? DFCS_CHECKED | DFCS_BUTTON3STATE : 0);
        } else
            shape = DFCS_BUTTONPUSH;
        break;
    case TThemeClass::ComboBox:
        if (e.Part != kDropButtonPart)
            return 0;
        shape = DFCS_SCROLLCOMBOBOX;
        break;
    case TThemeClass::Window:
        switch (e.Part) {
        case kCloseButtonPart: shape = DFCS_CAPTIONCLOSE; break;
        case kMinButtonPart: shape = DFCS_CAPTIONMIN; break;
        case kMaxButtonPart: shape = DFCS_CAPTIONMAX; break;
        case kRestoreButtonPart: shape = DFCS_CAPTIONRESTORE; break;
        default: shape = DFCS_CAPTIONHELP; break;
        }
        break;
    }
    int state = BaseState(e);
    if (state == tsPressed)
        shape |= DFCS_PUSHED;
    if (state == tsDisabled)
        shape |= DFCS_INACTIVE;
    return shape;
}

void DrawElement(TCanvas &canvas, const TThemeElement &element, const TRect &rect)
{
    TThemeLibrary &library = ThemeLibrary();
    if (library.Active()) {
        TThemeData theme(element.Class);
        if (theme.Opened()) {
            library.DrawBackground(theme.Handle(), canvas, element.Part, element.State, rect);
            return;
        }
    }
    TRect r = rect;
    if (unsigned kind = ClassicFrameKind(element))
        canvas.DrawFrameControl(r, kind, ClassicFrameState(element));
    else
        canvas.DrawEdge(r, element.Class == TThemeClass::Button ? EDGE_ETCHED : EDGE_SUNKEN, BF_RECT);
}

TRect ElementContentRect(TCanvas &canvas, const TThemeElement &element, const TRect &rect)
{
    TThemeLibrary &library = ThemeLibrary();
    if (library.Active()) {
        TThemeData theme(element.Class);
        if (theme.Opened())
            return library.ContentRect(theme.Handle(), canvas, element.Part, element.State, rect);
    }
    bool framed = (element.Class == TThemeClass::Button && element.Part == kPushButtonPart) ||
                  (element.Class == TThemeClass::ComboBox && element.Part == kComboBorderPart);
    return framed ? Inset(rect, 2) : rect;
}

TRect ElementTextExtent(TCanvas &canvas, const TThemeElement &element, const AnsiString &text, unsigned flags,
                        const TRect &bounds)
{
    TThemeLibrary &library = ThemeLibrary();
    if (library.Active()) {
        TThemeData theme(element.Class);
        if (theme.Opened())
            return library.TextExtent(theme.Handle(), canvas, element.Part, element.State, text, flags, bounds);
    }
    TRect r = bounds;
    canvas.DrawText(text, r, flags | dtCalcRect);
    return r;
}

// ---- the recording stand-in --------------------------------------------------------------------------

std::vector<TThemeCall> TRecordingThemeLibrary::CallsOf(const AnsiString &op) const
{
    std::vector<TThemeCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [&](const TThemeCall &c) { return c.Op == op; });
    return out;
}

TThemeClass TRecordingThemeLibrary::ClassOf(TThemeHandle theme) const
{
    return theme ? *static_cast<const TThemeClass *>(theme) : TThemeClass::Button;
}

void TRecordingThemeLibrary::Record(const char *op, TThemeHandle theme, int part, int state, const TRect &rect,
                                    const AnsiString &text, unsigned flags)
{
    TThemeCall call;
    call.Op = op;
    call.Class = ClassOf(theme);
    call.Part = part;
    call.State = state;
    call.Rect = rect;
    call.Text = text;
    call.Flags = flags;
    calls_.push_back(std::move(call));
}

TThemeHandle TRecordingThemeLibrary::Open(HWND, TThemeClass themeClass)
{
    if (!active_)
        return nullptr;
    TThemeHandle theme = &classes_[static_cast<int>(themeClass)];
    Record("Open", theme, 0, 0, TRect{});
    ++open_;
    return theme;
}

void TRecordingThemeLibrary::Close(TThemeHandle theme)
{
    Record("Close", theme, 0, 0, TRect{});
    --open_;
}

void TRecordingThemeLibrary::DrawBackground(TThemeHandle theme, TCanvas &, int part, int state, const TRect &rect)
{
    Record("DrawBackground", theme, part, state, rect);
}

TRect TRecordingThemeLibrary::ContentRect(TThemeHandle theme, TCanvas &, int part, int state, const TRect &bounds)
{
    Record("ContentRect", theme, part, state, bounds);
    return Inset(bounds, inset_);
}

TRect TRecordingThemeLibrary::TextExtent(TThemeHandle theme, TCanvas &canvas, int part, int state,
                                         const AnsiString &text, unsigned flags, const TRect &bounds)
{
    Record("TextExtent", theme, part, state, bounds, text, flags);
    TRect r = bounds;
    canvas.DrawText(text, r, flags | dtCalcRect);
    return r;
}

TSize TRecordingThemeLibrary::PartSize(TThemeHandle theme, TCanvas &, int part, int state)
{
    Record("PartSize", theme, part, state, TRect{});
    return TSize{13, 13};
}
