#pragma once
// Visual styles at run time. The system's visual-styles library is loaded when it is there; while it
// is absent or its styles are switched off, controls draw themselves the classic way (DrawFrameControl,
// DrawEdge on the canvas). The library is reached through an interface, so that a recording stand-in
// can take its place in tests and both ways of drawing can be checked on any machine.
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/runtime/Types.h"
#include "framework/graphics/WinHandles.h"

// The classes of theme data the controls draw from.
enum class TThemeClass { Button, ComboBox, Window };
// The class's name for the library ("BUTTON", "COMBOBOX", "WINDOW").
const char *ThemeClassName(TThemeClass themeClass);

// An element of a class in a state, with the library's part and state numbers.
struct TThemeElement {
    TThemeClass Class = TThemeClass::Button;
    int Part = 0;
    int State = 0;
    friend bool operator==(const TThemeElement &, const TThemeElement &) = default;
};

// States shared by the elements below (a check box's and a caption button's have the same four first;
// only a push button has "defaulted", which the others take as normal).
enum TThemedState { tsNormal = 1, tsHot = 2, tsPressed = 3, tsDisabled = 4, tsDefaulted = 5 };
enum TThemedCheck { tcUnchecked, tcChecked, tcMixed };
// A combo box's frame: focused instead of pressed.
enum TThemedFrameState { tfsNormal = 1, tfsHot = 2, tfsFocused = 3, tfsDisabled = 4 };
enum TThemedCaptionButton { tcbHelp, tcbClose, tcbMinimize, tcbMaximize, tcbRestore };

// BUTTON: the push button and the check box.
TThemeElement PushButtonElement(TThemedState state);
TThemeElement CheckBoxElement(TThemedCheck check, TThemedState state);
// The frame of a group of controls (normal or disabled).
TThemeElement GroupBoxElement(bool enabled);
// COMBOBOX: the frame round the text and the drop-down button.
TThemeElement ComboBoxFrameElement(TThemedFrameState state);
TThemeElement ComboDropButtonElement(TThemedState state);
// WINDOW: the caption buttons.
TThemeElement CaptionButtonElement(TThemedCaptionButton button, TThemedState state);

// Theme data of a class, opened for a window; null when the class has none.
using TThemeHandle = void *;

// What the controls ask of the visual-styles library. Drawing and measuring happen on a canvas (its
// device context; its font for text).
class TThemeLibrary {
public:
    virtual ~TThemeLibrary() = default;
    // The library is loaded and its styles are on for this program.
    virtual bool Active() = 0;
    // Opens the class's theme data for a window (null: for no window in particular).
    virtual TThemeHandle Open(HWND window, TThemeClass themeClass) = 0;
    virtual void Close(TThemeHandle theme) = 0;
    virtual void DrawBackground(TThemeHandle theme, TCanvas &canvas, int part, int state, const TRect &rect) = 0;
    // The part of `bounds` that content (a caption, a glyph) goes into.
    virtual TRect ContentRect(TThemeHandle theme, TCanvas &canvas, int part, int state, const TRect &bounds) = 0;
    // The rectangle a text takes when drawn in the element with DrawText flags (dtWordBreak wraps it to
    // the width of `bounds`).
    virtual TRect TextExtent(TThemeHandle theme, TCanvas &canvas, int part, int state, const AnsiString &text,
                             unsigned flags, const TRect &bounds) = 0;
    // The element's own size (a check box's glyph).
    virtual TSize PartSize(TThemeHandle theme, TCanvas &canvas, int part, int state) = 0;
};

// The library in use: the system's unless a stand-in was set.
TThemeLibrary &ThemeLibrary();
// Puts a stand-in in the system's place (null: the system's again). The caller keeps it alive while set.
void SetThemeLibrary(TThemeLibrary *library);
// The system's library (the native build has none: it is never active there).
TThemeLibrary &SystemThemeLibrary();

// Theme data of a class opened from the library in use and closed with the object.
class TThemeData {
public:
    explicit TThemeData(TThemeClass themeClass, HWND window = nullptr);
    ~TThemeData();
    TThemeData(const TThemeData &) = delete;
    TThemeData &operator=(const TThemeData &) = delete;
    TThemeHandle Handle() const { return handle_; }
    bool Opened() const { return handle_ != nullptr; }

private:
    TThemeLibrary &library_;
    TThemeHandle handle_;
};

// Whether controls draw themed now (the library in use is active).
bool ThemesActive();

// An element with the visual styles when they are active, else the classic drawing of the same element:
// a push button or a check box as a button frame control, a combo box's drop button as a scroll frame
// control, its frame as a sunken edge, a caption button as a caption frame control, each pressed,
// checked or inactive as its state says, a group box's frame as an etched edge.
void DrawElement(TCanvas &canvas, const TThemeElement &element, const TRect &rect);
// Where content goes inside an element drawn at `rect`: the library's content rectangle when themed,
// else inside the classic frame (2 pixels in for a push button and a combo box's frame, the rectangle
// itself for the others).
TRect ElementContentRect(TCanvas &canvas, const TThemeElement &element, const TRect &rect);
// A text measured for an element: by the library when themed, else by the canvas (DrawText with
// dtCalcRect and the flags), both as the rectangle the text takes from the top left of `bounds`.
TRect ElementTextExtent(TCanvas &canvas, const TThemeElement &element, const AnsiString &text, unsigned flags,
                        const TRect &bounds);
// The classic state flags (DFCS_*) DrawElement draws an element with, and its frame-control kind (0 for
// the combo box's frame, which is an edge).
unsigned ClassicFrameKind(const TThemeElement &element);
unsigned ClassicFrameState(const TThemeElement &element);

// A stand-in for tests: active or not as set, records each call and measures with the canvas.
struct TThemeCall {
    AnsiString Op;  // "Open", "Close", "DrawBackground", "ContentRect", "TextExtent", "PartSize"
    TThemeClass Class = TThemeClass::Button;
    int Part = 0, State = 0;
    TRect Rect;
    AnsiString Text;
    unsigned Flags = 0;
};

class TRecordingThemeLibrary : public TThemeLibrary {
public:
    explicit TRecordingThemeLibrary(bool active = true) : active_(active) {}
    void SetActive(bool active) { active_ = active; }
    // The content rectangle is the element's rectangle this many pixels in on each side.
    void SetContentInset(int inset) { inset_ = inset; }
    const std::vector<TThemeCall> &Calls() const { return calls_; }
    std::vector<TThemeCall> CallsOf(const AnsiString &op) const;
    void ClearCalls() { calls_.clear(); }
    // Theme data opened and not closed yet.
    int OpenCount() const { return open_; }

    bool Active() override { return active_; }
    TThemeHandle Open(HWND window, TThemeClass themeClass) override;
    void Close(TThemeHandle theme) override;
    void DrawBackground(TThemeHandle theme, TCanvas &canvas, int part, int state, const TRect &rect) override;
    TRect ContentRect(TThemeHandle theme, TCanvas &canvas, int part, int state, const TRect &bounds) override;
    TRect TextExtent(TThemeHandle theme, TCanvas &canvas, int part, int state, const AnsiString &text, unsigned flags,
                     const TRect &bounds) override;
    TSize PartSize(TThemeHandle theme, TCanvas &canvas, int part, int state) override;

private:
    TThemeClass ClassOf(TThemeHandle theme) const;
    void Record(const char *op, TThemeHandle theme, int part, int state, const TRect &rect,
                const AnsiString &text = AnsiString(), unsigned flags = 0);
    bool active_;
    int inset_ = 3;
    int open_ = 0;
    std::vector<TThemeCall> calls_;
    // One object per class; the handle is its address.
    TThemeClass classes_[3] = {TThemeClass::Button, TThemeClass::ComboBox, TThemeClass::Window};
};
