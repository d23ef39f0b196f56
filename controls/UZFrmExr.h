#pragma once
// One extra button in the caption bar of a form, left of the system's buttons, drawn as a help-style
// caption button, with hover, press tracking and an OnClick event. The extender hooks the form's window
// procedure and adds to what the previous procedure did; where the button sits and how it reacts to the
// window's messages are pure (TCaptionButton below), so that they can be checked without a window.
#include <cstdint>
#include <memory>

#include "framework/runtime/Component.h"
#include "framework/graphics/Graphics.h"
#include "framework/windows/Subclass.h"
#include "framework/graphics/Themes.h"
#include "framework/runtime/Types.h"

class TForm;
struct TMessage;

// The system metrics the button's place follows: the sizable frame and a caption button's size.
struct TCaptionMetrics {
    int CxFrame = 0, CyFrame = 0, CxSize = 0, CySize = 0;
};
// The button's rectangle in the coordinates of a whole window `windowWidth` wide (0, 0 at the outer
// top-left of its frame): one caption button's place left of the three system buttons.
TRect CaptionButtonRect(int windowWidth, const TCaptionMetrics &metrics);

// What the button asks of the window it sits on.
class TCaptionButtonSite {
public:
    virtual ~TCaptionButtonSite() = default;
    // Draws the button as its state now says.
    virtual void RedrawButton() = 0;
    // Takes the mouse for the window, remembering the window that had it.
    virtual void CaptureMouse() = 0;
    // Gives the mouse back to the window that had it before (or to none).
    virtual void GiveMouseBack() = 0;
    // Runs the click; false when it freed the button (its handler closed the form for good), so that
    // nothing of the button is touched after it.
    virtual bool ButtonClicked() = 0;
};

// The button's state bits.
enum : std::uint8_t {
    cbVisible = 0x01,   // shown and answering
    cbPressed = 0x02,   // drawn pressed
    cbHover = 0x04,     // the mouse is over it
    cbClicking = 0x08,  // its click is running
    cbTracking = 0x10,  // the mouse is captured since it was pressed
};

// The button's state, driven by the window's messages after the previous procedure has answered them.
// Points are in the coordinates of the whole window.
class TCaptionButton {
public:
    explicit TCaptionButton(TCaptionButtonSite &site) : site_(site) {}

    std::uint8_t State() const { return state_; }
    bool Visible() const { return Has(cbVisible); }
    bool Pressed() const { return Has(cbPressed); }
    bool Hover() const { return Has(cbHover); }
    bool Clicking() const { return Has(cbClicking); }
    bool Tracking() const { return Has(cbTracking); }
    // Hidden, the button lets every message be as without it; hiding it ends a press (no click) and
    // gives the mouse back.
    void SetVisible(bool visible);

    const TRect &Rect() const { return rect_; }
    void SetRect(const TRect &rect) { rect_ = rect; }
    bool Contains(const TPoint &point) const;

    // WM_NCHITTEST with the previous procedure's answer: a caption point on the button becomes HTBORDER,
    // so that the caption does not start a drag there; the hover follows the point.
    void HitTest(const TPoint &point, intptr_t &answer);
    // The mouse moved while it is captured (the system sends no hit tests then): leaving the button
    // while pressed shows it raised, coming back shows it pressed again.
    void MouseMove(const TPoint &point);
    // WM_NCLBUTTONDOWN (or a double click) with its hit-test code: pressed on the button, the press is
    // tracked with the mouse captured.
    void ButtonDown(intptr_t hitTest);
    // WM_NCLBUTTONUP or WM_LBUTTONUP: the capture is given back; released on the button, it clicks.
    void ButtonUp();
    // Another window took the mouse while a press was tracked: the press ends without a click.
    void CaptureLost();

    // The state the button is drawn in: themed, click running, pressed, hot or normal in that order;
    // classic, pressed or not.
    TThemedState DrawState(bool themed) const;
    // Draws it at its rectangle on a canvas of the whole window: the themed caption button when the
    // visual styles are on (and `designing` is false), else the classic help button. Nothing while hidden.
    void Draw(TCanvas &canvas, bool designing = false) const;

private:
    bool Has(std::uint8_t bit) const { return (state_ & bit) != 0; }
    // Sets or clears a bit; true when it changed.
    bool Put(std::uint8_t bit, bool on);
    // The mouse is at or away from the button: the hover, and the pressed look while tracking.
    void Follow(bool inside);

    TCaptionButtonSite &site_;
    std::uint8_t state_ = cbVisible;
    TRect rect_;
};

// The extender: a component owned by a form that adds the button to the form's caption.
class TFormExtender : public TComponent, private TCaptionButtonSite {
public:
    // The owner must be a form (EClassNotFound otherwise, with the class name and "... Только для форм!").
    explicit TFormExtender(TComponent *owner);
    ~TFormExtender() override;

    bool GetVisible() const { return button_.Visible(); }
    // A change redraws the caption.
    void SetVisible(bool visible);
    // The button's rectangle in window coordinates, and its state bits (cbVisible...).
    TRect ButtonRect() const { return button_.Rect(); }
    std::uint8_t State() const { return button_.State(); }
    TForm *Form() const { return form_; }

    // Computes the rectangle from the system metrics; when it moved, the frame where it was is repainted.
    void CalcButtonRect();
    void DrawButton();
    // Takes the button out of a region of the screen (as WM_NCPAINT carries it); a value that is no
    // region (0 or 1) is left alone.
    void ExcludeButtonRgn(uintptr_t region);
    // Repaints the form's frame and caption.
    void RedrawCaption();
    void FormWndProc(TMessage &message);

    TNotifyEvent OnClick;

private:
    void RedrawButton() override { DrawButton(); }
    void CaptureMouse() override;
    void GiveMouseBack() override;
    bool ButtonClicked() override;

    TSubClass hook_;
    TCaptionButton button_;
    TForm *form_ = nullptr;
    bool hasRect_ = false;
    // The form's window the button was placed on.
    HWND window_ = nullptr;
    HWND previousCapture_ = nullptr;
    // Cleared when the extender is freed; a click in progress holds its own reference.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
