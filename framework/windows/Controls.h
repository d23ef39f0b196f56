#pragma once
// Controls: TControl (bounds, alignment, visibility, text, font, colour, events) and TWinControl (a
// control with a window of its own that can hold other controls). Properties are read with X() and
// written with SetX(v); they are kept in the object, so a control can be laid out before its window
// exists, and are carried to the window when it is made or while it lives.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/runtime/Component.h"
#include "framework/graphics/Graphics.h"
#include "framework/windows/Messages.h"
#include "framework/runtime/Types.h"
#include "framework/graphics/WinHandles.h"

// alCustom: the aligning leaves the control where it is (the control places itself).
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// Modifier keys and mouse buttons held during an input event, combined as bits.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;

// The parent's edges a control keeps its distance to when the parent is resized (combined as bits):
// left and right both held stretch it, right alone moves it; the same for top and bottom.
using TAnchors = unsigned;
constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;

// How a control behaves, combined as bits: csCaptureMouse keeps the mouse while a button is held on
// it, so that the button's release arrives even outside it.
using TControlStyle = unsigned;
constexpr TControlStyle csCaptureMouse = 1;

// csClickEvents: a release of the left button over the control clicks it (on by default; a control
// that decides its clicks itself takes it off).
constexpr TControlStyle csClickEvents = 2;

// Modal results.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7;

// Mouse cursors.
using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeAll = -22, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crHourGlass = -11, crNo = -18, crAppStart = -19,
                  crHandPoint = -21;

using TNotifyEvent = std::function<void(TObject *Sender)>;
using TKeyEvent = std::function<void(TObject *Sender, uint16_t &Key, TShiftState Shift)>;
// Key is the typed character in code page 1251; setting it to 0 swallows it.
using TKeyPressEvent = std::function<void(TObject *Sender, char &Key)>;
using TMouseEvent = std::function<void(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject *Sender, TShiftState Shift, int X, int Y)>;
// WheelDelta: 120 per notch, positive away from the user; MousePos in screen coordinates.
using TMouseWheelEvent =
    std::function<void(TObject *Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool &Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject *Sender, TShiftState Shift, TPoint MousePos, bool &Handled)>;

// A window message as the window procedure receives it; Result is what the procedure returns.
struct TMessage {
    unsigned Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

class TWinControl;
class TForm;
class TPopupMenu;
class TControl;

// The smallest and largest size a control may take; 0 sets no limit.
class TSizeConstraints : public TPersistent {
public:
    explicit TSizeConstraints(TControl *control) : control_(control) {}
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v) { Change(minWidth_, v); }
    void SetMinHeight(int v) { Change(minHeight_, v); }
    void SetMaxWidth(int v) { Change(maxWidth_, v); }
    void SetMaxHeight(int v) { Change(maxHeight_, v); }
    // A width and a height brought inside the limits.
    void Apply(int &width, int &height) const;

private:
    void Change(int &field, int v);
    TControl *control_;
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent *owner);
    ~TControl() override;

    TWinControl *Parent() const { return parent_; }
    virtual void SetParent(TWinControl *parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    virtual void SetClientWidth(int v) { SetWidth(v); }
    virtual void SetClientHeight(int v) { SetHeight(v); }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors) { anchors_ = anchors; }
    TSizeConstraints *Constraints() const { return constraints_.get(); }
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible here and in every parent up to a shown top-level form.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Caption and Text are one text (a label shows it as its caption, an edit as its contents).
    AnsiString Caption() const { return GetText(); }
    void SetCaption(const AnsiString &text) { SetText(text); }
    virtual AnsiString GetText() const { return text_; }
    virtual void SetText(const AnsiString &text);
    AnsiString Text() const { return GetText(); }

    AnsiString Hint() const { return GetHint(); }
    virtual AnsiString GetHint() const { return hint_; }
    virtual void SetHint(const AnsiString &hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }

    TFont *Font() const { return font_.get(); }
    // Follow the parent's font until this control's own font is changed.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Follow the parent's colour until this control's own colour is set.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }
    // Shown by a right click or the menu key, with this control as its PopupComponent.
    TPopupMenu *PopupMenu() const { return popupMenu_; }
    // A control made of parts that have windows of their own passes the menu on to them.
    virtual void SetPopupMenu(TPopupMenu *menu) { popupMenu_ = menu; }

    // The form this control sits on (the nearest parent that is a form), or null.
    TForm *GetParentForm() const;

    // A point of this control's client area in screen coordinates, and back.
    virtual TPoint ClientToScreen(const TPoint &point) const;
    virtual TPoint ScreenToClient(const TPoint &point) const;

    // Multiplies position, size and font height by m / d (the form rescales itself this way).
    virtual void ScaleBy(int m, int d);
    // Hook of a rescaling of fonts across a form: a control that keeps fonts of its own besides Font,
    // or lays out its children itself, rescales them here by m / d and returns true; false (the
    // default) leaves the control to the caller's own treatment.
    virtual bool RescaleFonts(int /*m*/, int /*d*/) { return false; }

    TStringProperty StringProperty(const AnsiString &name) override;

    virtual void Click();
    virtual void Invalidate() {}
    virtual void BringToFront() {}
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;

protected:
    // Input and size steps the window procedure calls; the defaults fire the matching events.
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // True when the wheel turn was used; the default asks OnMouseWheel, then the up or down step.
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
    // The size changed.
    virtual void Resize();
    // Whether the control may take this size (which it may adjust); asked before each change of size.
    virtual bool CanResize(int & /*newWidth*/, int & /*newHeight*/) { return true; }

    virtual void BoundsChanged() {}
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void TextChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged() {}
    // The parent's font changed; a control with ParentFont set takes it.
    void ParentFontChanged();
    // The same for the colour and ParentColor.
    void ParentColorChanged();
    void RequestParentAlign();

    AnsiString text_;

private:
    friend class TWinControl;
    friend class TSizeConstraints;
    TWinControl *parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    std::unique_ptr<TSizeConstraints> constraints_;
    TControlStyle controlStyle_ = csClickEvents;
    bool visible_ = true;
    bool enabled_ = true;
    AnsiString hint_;
    bool showHint_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool settingParentFont_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    bool settingParentColor_ = false;
    TCursor cursor_ = crDefault;
    TPopupMenu *popupMenu_ = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent *owner);
    // Frees the child controls (they leave their owner's list), then the window.
    ~TWinControl() override;

    // The window, made (with its parents) on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl *Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    // A margin inside the client area that aligned children keep free.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);

    // Lays out the aligned children in the client area (runs by itself when sizes change).
    void AlignControls();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    void ScaleBy(int m, int d) override;
    void Invalidate() override;
    void Repaint();
    void BringToFront() override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    TPoint ClientToScreen(const TPoint &point) const override;
    TPoint ScreenToClient(const TPoint &point) const override;

    // Sends a message through the window's current procedure (a procedure hooked over the
    // framework's sees it too) and returns its result; without a window WndProc handles it directly.
    intptr_t Perform(unsigned msg, uintptr_t wParam = 0, intptr_t lParam = 0);

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // The framework object of a window made by the framework, or null.
    static TWinControl *FromHandle(HWND window);
    // Runs a key through the form's key preview and this control's handler; false when swallowed.
    bool DoKeyDown(uint16_t &key, TShiftState shift);
    bool DoKeyUp(uint16_t &key, TShiftState shift);
    bool DoKeyPress(char &key);
    // The key-down of the key message about to be dispatched has run already.
    void MarkKeyDownDone() { keyDownDone_ = true; }

    // Window procedure of the framework's windows (public so the window system can reach it).
    virtual void WndProc(TMessage &message);

    // False once the control is freed: code that runs an event handler and then goes on with the
    // control keeps this, and stops when the handler freed the control.
    std::shared_ptr<const bool> Alive() const { return alive_; }

protected:
    // Key and focus steps of the window procedure; the defaults fire OnKeyDown, OnKeyPress, OnKeyUp,
    // OnEnter and OnExit.
    virtual void KeyDown(uint16_t &key, TShiftState shift);
    virtual void KeyPress(char &key);
    virtual void KeyUp(uint16_t &key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();

    struct TCreateParams {
        std::wstring WinClassName;  // empty: the framework's own window class
        unsigned long Style = 0;
        unsigned long ExStyle = 0;
        int X = 0, Y = 0, Width = 0, Height = 0;
        HWND WndParent = nullptr;
    };
    virtual void CreateParams(TCreateParams &params);
    virtual void CreateWnd();
    // Carries the kept properties to a window just made.
    virtual void InitializeWnd();
    void DestroyHandle();
    // Recreates the window (after a change of a style only set at creation).
    void RecreateWnd();
    // The procedure the window had before the framework took it over (DefWindowProc for our own).
    void DefaultHandler(TMessage &message);

    // Notifications from the window system about this control (WM_COMMAND / WM_NOTIFY codes).
    virtual void CommandNotify(unsigned /*code*/) {}
    virtual bool NotifyNotify(void * /*nmhdr*/, intptr_t & /*result*/) { return false; }
    // Colours of a child control's painting; returns the brush, or null for the default.
    virtual HBRUSH ControlColor(HDC dc);
    // Painting of the window's client area by the framework (when WantsPaint) into a painting context.
    virtual void PaintWindow(HDC /*dc*/) {}
    virtual bool WantsPaint() const { return false; }
    // Own size from content (labels, auto-sized forms); called when content or font changes.
    virtual void AdjustSize() {}

    void BoundsChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    // The window's text as the window holds it (edits change it themselves).
    AnsiString WindowText() const;

    HBRUSH ColorBrush();
    void UpdateWindowBounds();

private:
    friend class TControl;
    friend struct WindowProcs;
    void InsertControl(TControl *control);
    void RemoveControl(TControl *control);
    void CreateChildHandles();
    void AnchorControls();
    void TrackMouse(int x, int y);

    HWND handle_ = nullptr;
    void *defaultProc_ = nullptr;
    std::vector<TControl *> controls_;  // children in tab order
    bool tabStop_ = false;
    bool frontWhenMade_ = false;  // brought to the front before it had a window
    int alignDisabled_ = 0;
    int borderWidth_ = 0;
    bool aligning_ = false;
    HBRUSH brush_ = nullptr;
    TColor brushColor_ = clNone;
    bool mouseInside_ = false;
    // The key-down of the key message being dispatched ran already (before the dialog keys).
    bool keyDownDone_ = false;
    // The client size the anchored children were last placed for (-1: not yet known).
    int anchorWidth_ = -1, anchorHeight_ = -1;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A window that the control paints itself, on Canvas, in Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent *owner);
    ~TCustomControl() override;
    TCanvas *Canvas() const;

protected:
    virtual void Paint() {}
    bool WantsPaint() const override { return true; }
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};
