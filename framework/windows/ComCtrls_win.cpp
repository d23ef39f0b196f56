#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cwchar>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Exception.h"

#include "framework/windows/ComCtrls.h"

TProgressBar::TProgressBar(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams &params)
{
    static bool initialized = [] {
        INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialized;
    TWinControl::CreateParams(params);
    params.WinClassName = PROGRESS_CLASSW;
}

void TProgressBar::InitializeWnd()
{
    TWinControl::InitializeWnd();
    Apply();
}

void TProgressBar::Apply()
{
    if (!HandleAllocated())
        return;
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int min)
{
    min_ = min;
    max_ = std::max(max_, min_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetMax(int max)
{
    max_ = max;
    min_ = std::min(min_, max_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
    Apply();
}

void TProgressBar::StepBy(int delta)
{
    int next = position_ + delta;
    if (next > max_)
        next = min_ + (next - max_) % std::max(1, max_ - min_);
    SetPosition(next);
}

void TProgressBar::StepIt() { StepBy(step_); }

// ---- TRichEdit -------------------------------------------------------------------------------------

namespace {
// The class of the newest rich-edit library present (loaded once, kept for the program's life).
const wchar_t *RichEditClass()
{
    static const wchar_t *name = []() -> const wchar_t * {
        if (LoadLibraryW(L"msftedit.dll"))
            return L"RICHEDIT50W";
        if (LoadLibraryW(L"riched20.dll"))
            return L"RichEdit20W";
        return nullptr;
    }();
    if (!name)
        throw Exception("The rich-edit library is not available");
    return name;
}
}  // namespace

TRichEdit::TRichEdit(TComponent *owner) : TMemo(owner) {}

void TRichEdit::CreateParams(TCreateParams &params)
{
    TMemo::CreateParams(params);
    params.WinClassName = RichEditClass();
}

void TRichEdit::InitializeWnd()
{
    TMemo::InitializeWnd();
    // No limit of 64K characters; plain text can only be chosen while the box is empty.
    SendMessageW(Handle(), EM_EXLIMITTEXT, 0, MaxLength() > 0 ? MaxLength() : 0x7FFFFFFE);
    if (plainText_) {
        AnsiString text = WindowText();
        SetWindowTextW(Handle(), L"");
        SendMessageW(Handle(), EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
        SetWindowTextW(Handle(), Cp1251ToWide(text).c_str());
    }
}

void TRichEdit::SetPlainText(bool plainText)
{
    if (plainText == plainText_)
        return;
    plainText_ = plainText;
    RecreateWnd();
}

void TRichEdit::ScrollToCaret()
{
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

bool ActivateKeyboardLayoutOf(unsigned short languageId)
{
    wchar_t name[KL_NAMELENGTH];
    swprintf(name, KL_NAMELENGTH, L"%08X", static_cast<unsigned>(languageId));
    HKL layout = LoadKeyboardLayoutW(name, KLF_ACTIVATE | KLF_SETFORPROCESS);
    return layout && LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))) == languageId;
}

unsigned short ActiveKeyboardLanguage() { return LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))); }

// ---- TUpDown ---------------------------------------------------------------------------------------

TUpDown::TUpDown(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 17, 21); }

void TUpDown::CreateParams(TCreateParams &params)
{
    static bool initialized = [] {
        INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialized;
    TWinControl::CreateParams(params);
    params.WinClassName = UPDOWN_CLASSW;
    params.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT;
    if (!thousands_)
        params.Style |= UDS_NOTHOUSANDS;
}

void TUpDown::InitializeWnd()
{
    TWinControl::InitializeWnd();
    Apply();
}

void TUpDown::Apply()
{
    if (!HandleAllocated())
        return;
    SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageW(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_)
        SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
    SendMessageW(Handle(), UDM_SETPOS32, 0, position_);
}

void TUpDown::SetMin(int min)
{
    min_ = min;
    max_ = std::max(max_, min_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TUpDown::SetMax(int max)
{
    max_ = max;
    min_ = std::min(min_, max_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TUpDown::SetIncrement(int increment)
{
    increment_ = std::max(1, increment);
    Apply();
}

int TUpDown::Position() const
{
    if (!HandleAllocated())
        return position_;
    BOOL failed = FALSE;
    int pos = static_cast<int>(
        SendMessageW(const_cast<TUpDown *>(this)->Handle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    return failed ? position_ : pos;
}

void TUpDown::SetPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
    Apply();
}

void TUpDown::SetAssociate(TWinControl *control)
{
    if (associate_)
        associate_->RemoveFreeNotification(this);
    associate_ = control;
    if (associate_)
        associate_->FreeNotification(this);
    if (HandleAllocated())
        RecreateWnd();
}

void TUpDown::SetThousands(bool thousands)
{
    if (thousands == thousands_)
        return;
    thousands_ = thousands;
    RecreateWnd();
}

void TUpDown::Notification(TComponent *component, bool removing)
{
    TWinControl::Notification(component, removing);
    if (removing && component == associate_)
        associate_ = nullptr;
}

void TUpDown::WndProc(TMessage &m)
{
    // An arrow moved the position (the parent hands the scroll message on).
    if ((m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) && LOWORD(m.WParam) == SB_THUMBPOSITION) {
        position_ = Position();
        if (OnClick)
            OnClick(this);
        return;
    }
    TWinControl::WndProc(m);
}
