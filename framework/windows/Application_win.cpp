#include <windows.h>

#include <algorithm>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/Prompt.h"
#include "framework/windows/WinInternal.h"

// The screen is made before the application and freed after it: forms leave the screen's list as
// the application frees them.
static TScreen gScreen;
static TApplication gApplication;
TScreen *Screen = &gScreen;
TApplication *Application = &gApplication;

namespace {
AnsiString ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return WideToCp1251(path);
}

// A key that is the shortcut of an item of a popup menu of the focused control (or of one of its
// parents) or of the form's menu bar clicks the item.
bool IsMenuShortCut(MSG &msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    TWinControl *control = TWinControl::FromHandle(msg.hwnd);
    if (!control)
        return false;
    uint16_t key = static_cast<uint16_t>(msg.wParam);
    try {
        TShiftState shift = KeyShiftState();
        for (TWinControl *c = control; c; c = c->Parent())
            if (TPopupMenu *popup = c->PopupMenu(); popup && popup->IsShortCut(key, shift))
                return true;
        TForm *form = control->GetParentForm();
        return form && form->Menu() && form->Menu()->IsShortCut(key, shift);
    } catch (const std::exception &e) {
        HandleEventException(e);
        return true;
    }
}

// Tab, Enter and Esc that the focused control does not take itself work the form's dialog keys.
bool IsDialogKey(MSG &msg)
{
    if (msg.message != WM_KEYDOWN)
        return false;
    uint16_t key = static_cast<uint16_t>(msg.wParam);
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE)
        return false;
    TWinControl *control = TWinControl::FromHandle(msg.hwnd);
    if (!control)
        return false;
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return false;
    if (key == VK_TAB && (code & DLGC_WANTTAB))
        return false;
    TForm *form = control->GetParentForm();
    if (!form)
        return false;
    try {
        // The control's key-down runs here, once: the window procedure does not run it again for
        // the key that the form leaves to the control.
        TShiftState shift = KeyShiftState();
        uint16_t k = key;
        if (!control->DoKeyDown(k, shift))
            return true;
        if (form->DialogKey(key, shift))
            return true;
        msg.wParam = k;
        control->MarkKeyDownDone();
        return false;
    } catch (const std::exception &e) {
        HandleEventException(e);
        return true;
    }
}
}  // namespace

void HandleEventException(const std::exception &e) { Application->HandleException(e); }

TApplication::TApplication() : TComponent(nullptr)
{
    AnsiString path = ModulePath();
    size_t slash = path.find_last_of("\\/");
    AnsiString file = slash == AnsiString::npos ? path : path.substr(slash + 1);
    size_t dot = file.find_last_of('.');
    title_ = dot == AnsiString::npos ? file : file.substr(0, dot);
}

TApplication::~TApplication() = default;

AnsiString TApplication::ExeName() const { return ModulePath(); }

bool TApplication::ProcessMessage()
{
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!IsMenuShortCut(msg) && !IsDialogKey(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {}
}

void TApplication::ProcessPaintMessages()
{
    // The system offers a window's paint message as long as its area stays invalid: a window whose
    // painting leaves it so would be offered again at once, so the round is bounded.
    MSG msg;
    for (int i = 0; i < 256 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageW(&msg);
}

void TApplication::HandleMessage()
{
    if (!ProcessMessage())
        WaitMessage();
}

void TApplication::Run()
{
    if (mainForm_ && !terminated_)
        mainForm_->Show();
    while (!terminated_ && mainForm_)
        HandleMessage();
    // Free the forms now, while the whole program still exists, rather than during static destruction
    // (their OnDestroy handlers may use objects that are gone by then).
    while (ComponentCount() > 0)
        Components(ComponentCount() - 1)->Free();
}

void TApplication::Terminate()
{
    if (!terminated_)
        PostQuitMessage(0);
    terminated_ = true;
}

void TApplication::ShowException(const std::exception &e)
{
    AnsiString text = e.what();
    HWND owner = nullptr;
    if (TForm *active = Screen->ActiveForm(); active && active->HandleAllocated())
        owner = active->Handle();
    MessageBoxPrompt(owner, text, title_, mbOk | mbIconStop);
}

void TApplication::HandleException(const std::exception &e) { ShowException(e); }

TScreen::TScreen() : TComponent(nullptr) { SetFontPixelsPerInch(PixelsPerInch()); }

void TScreen::SetPixelsPerInch(int pixelsPerInch)
{
    pixelsPerInch_ = pixelsPerInch > 0 ? pixelsPerInch : 0;
    SetFontPixelsPerInch(PixelsPerInch());
}

TWinControl *TScreen::ActiveControl() const
{
    // The focus may sit in an inner window of a control (the edit of a combo box).
    for (HWND h = GetFocus(); h; h = GetParent(h))
        if (TWinControl *control = TWinControl::FromHandle(h))
            return control;
    return nullptr;
}

int TScreen::PixelsPerInch() const
{
    if (pixelsPerInch_)
        return pixelsPerInch_;
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi > 0 ? ppi : DesignPixelsPerInch;
}

int TScreen::SystemMetric(int index) const { return GetSystemMetrics(index); }

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkArea() const
{
    RECT r{0, 0, Width(), Height()};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return Rect(r.left, r.top, r.right, r.bottom);
}

TForm *TScreen::ActiveForm() const { return activeForm_; }

void TScreen::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    ::SetCursor(CursorHandle(cursor == crDefault ? crArrow : cursor));
}

TCursor ScreenCursor() { return Screen->Cursor(); }

HCURSOR CursorHandle(TCursor cursor)
{
    LPCSTR id = IDC_ARROW;
    switch (cursor) {
    case crHourGlass: id = IDC_WAIT; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crCross: id = IDC_CROSS; break;
    case crHandPoint: id = IDC_HAND; break;
    case crNo: id = IDC_NO; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    default: break;
    }
    // The system cursors are numeric ids, the same for both forms of the call.
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(id));
}

void ScreenAddForm(TForm *form) { Screen->forms_.push_back(form); }

void ScreenRemoveForm(TForm *form)
{
    auto &forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
    if (Screen->activeForm_ == form)
        Screen->activeForm_ = nullptr;
}

void ScreenSetActiveForm(TForm *form, bool active)
{
    if (active)
        Screen->activeForm_ = form;
    else if (Screen->activeForm_ == form)
        Screen->activeForm_ = nullptr;
}
