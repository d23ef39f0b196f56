#pragma once
// The wait window: a borderless form whose text panel says what the program is busy with, and two ways
// of showing it. TZWait shows a window of its own for as long as the object lives; TNZWait shares one
// window among nested users, who open and close it in turn, with the hourglass cursor while it is
// open. Everything runs on the GUI thread.
#include "framework/runtime/AnsiString.h"
#include "framework/windows/Forms.h"

class TZText;

// Record kind of the text base under which the wait texts are kept.
constexpr int WaitRecordKind = 1424;

// The text a wait window shows: for a number other than 0 the text provider's text of it in the
// message language under WaitRecordKind (the string resource without a provider; the missing-text
// message when there is none), then the extra text.
AnsiString WaitText(int number, const AnsiString &extra);

// ---- the windows (Windows build) -----------------------------------------------------------------

class TFWait : public TForm {
public:
    explicit TFWait(TComponent *owner);
    ~TFWait() override;

    // The text panel; the wait text stands on its second line.
    TZText *ZText1;

    // With the form-scaling switch on and a screen density other than the design density, the form
    // is scaled to the screen and the fonts of the text's two middle lines become Arial of the
    // screen's size; only the first time the form is shown.
    void FormShow(TObject *Sender);

    // The pointer that holds the window is cleared when the window is freed, by whoever frees it
    // (its owner being freed takes it along).
    void ClearOnFree(TFWait **holder) { holder_ = holder; }

private:
    bool scaled_ = false;
    TFWait **holder_ = nullptr;
};

// The size of a wait window.
constexpr int WaitWidth = 250, WaitHeight = 110;

// A wait window at a point of the owner's client area, shown while the object lives.
class TZWait {
public:
    TZWait(TWinControl *owner, int x, int y, int number, const AnsiString &extra);
    // Frees the window and repaints the owner; nothing when the owner, and the window with it, is
    // gone already.
    ~TZWait();
    TZWait(const TZWait &) = delete;
    TZWait &operator=(const TZWait &) = delete;

    // Null once the owner freed it.
    TFWait *Window() const { return window_; }

private:
    TWinControl *owner_;
    TFWait *window_;
};

// Where the shared window stands: at this point of the main form's client area, or of the screen when
// there is no main form.
constexpr int SharedWaitX = 80, SharedWaitY = 200;

// One user of the shared wait window.
class TNZWait {
public:
    TNZWait() = default;
    // Closes what this object opened.
    ~TNZWait();
    TNZWait(const TNZWait &) = delete;
    TNZWait &operator=(const TNZWait &) = delete;

    // The first Open makes the window (owned by the main form) with the text; this object is then its
    // opener. Any later Open, while the window stands, shows its text only with changeText, and this
    // object's Close puts the text before it back. Every Open sets the hourglass cursor. Always true.
    bool Open(int number, bool changeText, const AnsiString &extra);
    // The opener's Close frees the window and gives back the cursor of before its Open; another
    // user's Close restores the text it replaced. A Close without an Open of its own before it does
    // nothing. Always true.
    bool Close();

    // The shared window, or null while none is open.
    static TFWait *SharedWindow();

private:
    bool open_ = false;    // Open was called and Close not yet
    bool opener_ = false;  // this object made the window
    bool hasPrevious_ = false;
    AnsiString previous_;
};
