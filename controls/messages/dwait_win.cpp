// The wait windows.
#include "controls/messages/dwait.h"

#include <memory>
#include <mutex>

#include "base/input/fun_other.h"
#include "controls/messages/zText.h"

TFWait::TFWait(TComponent *owner) : TForm(owner)
{
    SetName("FWait");
    SetBorderStyle(bsNone);
    SetClientWidth(305);
    SetClientHeight(152);
    SetColor(clBtnFace);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    SetScaled(false);
    OnShow = [this](TObject *sender) { FormShow(sender); };

    ZText1 = new TZText(this);
    ZText1->SetName("ZText1");
    ZText1->SetParent(this);
    ZText1->SetAlign(alClient);
    ZText1->SetColor(clSkyBlue);
    ZText1->SetHor(1, 1);
    ZText1->SetHor(2, 1);
    for (int i = 0; i < ZTextLineCount; ++i) {
        ZText1->GetFont(i)->SetName("MS Sans Serif");
        ZText1->GetFont(i)->SetHeight(-11);
    }
}

TFWait::~TFWait()
{
    if (holder_ && *holder_ == this)
        *holder_ = nullptr;
}

void TFWait::FormShow(TObject *)
{
    if (scaled_ || FormScaling == 0 || ScreenDensity == DesignDensity || DesignDensity == 0)
        return;
    scaled_ = true;
    ScaleBy(ScreenDensity, DesignDensity);
    ScaleFontToArial(*ZText1->GetFont(1));
    ScaleFontToArial(*ZText1->GetFont(2));
}

// ---- TZWait ----------------------------------------------------------------------------------------

TZWait::TZWait(TWinControl *owner, int x, int y, int number, const AnsiString &extra)
    : owner_(owner), window_(new TFWait(owner))
{
    window_->ClearOnFree(&window_);
    try {
        const TPoint at = owner ? owner->ClientToScreen(Point(x, y)) : Point(x, y);
        window_->SetBounds(at.X, at.Y, WaitWidth, WaitHeight);
        window_->ZText1->SetText(1, WaitText(number, extra));
        window_->Show();
        window_->Repaint();
    } catch (...) {
        // Unbuilt, this wait is no more: its window goes now, and with it the pointer to clear.
        FreeAndNil(window_);
        throw;
    }
}

TZWait::~TZWait()
{
    if (!window_)
        return;  // freed with its owner
    FreeAndNil(window_);
    if (owner_)
        owner_->Invalidate();
    Application->ProcessMessages();
}

// ---- TNZWait ---------------------------------------------------------------------------------------

namespace {

// The shared window and the lock that guards it; both exist from the opener's Open to its Close.
TFWait *sharedWindow = nullptr;
std::unique_ptr<std::recursive_mutex> sharedLock;
// The cursor before the opener's Open.
TCursor savedCursor = crDefault;

// Holds the shared lock for a scope when it exists.
std::unique_lock<std::recursive_mutex> LockShared()
{
    return sharedLock ? std::unique_lock<std::recursive_mutex>(*sharedLock) : std::unique_lock<std::recursive_mutex>();
}

}  // namespace

TFWait *TNZWait::SharedWindow() { return sharedWindow; }

bool TNZWait::Open(int number, bool changeText, const AnsiString &extra)
{
    std::unique_lock<std::recursive_mutex> lock = LockShared();
    bool show = true;
    if (open_ || sharedWindow) {
        if (sharedWindow && changeText && !hasPrevious_) {
            previous_ = sharedWindow->ZText1->GetText(1);
            hasPrevious_ = true;
        }
        show = changeText && sharedWindow;
    } else {
        opener_ = true;
        savedCursor = Screen->Cursor();
        sharedLock = std::make_unique<std::recursive_mutex>();
        lock = std::unique_lock<std::recursive_mutex>(*sharedLock);
        sharedWindow = new TFWait(Application->MainForm());
        // Freed with the main form while it stands, it is gone for every user.
        sharedWindow->ClearOnFree(&sharedWindow);
    }
    open_ = true;
    Screen->SetCursor(crHourGlass);
    if (show) {
        TForm *main = Application->MainForm();
        const TPoint at =
            main ? main->ClientToScreen(Point(SharedWaitX, SharedWaitY)) : Point(SharedWaitX, SharedWaitY);
        sharedWindow->SetBounds(at.X, at.Y, WaitWidth, WaitHeight);
        sharedWindow->ZText1->SetText(1, WaitText(number, extra));
        sharedWindow->Show();
    }
    lock = {};
    if (sharedWindow) {
        sharedWindow->BringToFront();
        sharedWindow->Repaint();
    }
    Application->ProcessMessages();
    return true;
}

bool TNZWait::Close()
{
    if (!open_)
        return true;
    open_ = false;
    if (opener_) {
        opener_ = false;
        hasPrevious_ = false;
        {
            std::unique_lock<std::recursive_mutex> lock = LockShared();
            Screen->SetCursor(savedCursor);
            FreeAndNil(sharedWindow);
        }
        sharedLock.reset();
    } else {
        std::unique_lock<std::recursive_mutex> lock = LockShared();
        if (hasPrevious_ && sharedWindow)
            sharedWindow->ZText1->SetText(1, previous_);
        hasPrevious_ = false;
        previous_.clear();
    }
    Application->ProcessMessages();
    return true;
}

TNZWait::~TNZWait() { Close(); }
