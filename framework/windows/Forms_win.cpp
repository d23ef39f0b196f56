#include <windows.h>

#include <algorithm>

#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/Prompt.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/WinInternal.h"

namespace {
constexpr UINT CM_ACTIVATE = WM_APP + 0x100;
constexpr UINT CM_RELEASE = WM_APP + 0x101;

// Every control of a form that can take the focus, in tab order.
void CollectTabStops(TWinControl *parent, std::vector<TWinControl *> &out)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto *w = dynamic_cast<TWinControl *>(parent->Controls(i));
        if (!w || !w->Visible() || !w->Enabled())
            continue;
        if (w->TabStop())
            out.push_back(w);
        CollectTabStops(w, out);
    }
}

TButton *FindButton(TWinControl *parent, bool wantDefault)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl *c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled())
            continue;
        if (auto *b = dynamic_cast<TButton *>(c); b && (wantDefault ? b->Default() : b->Cancel()))
            return b;
        if (auto *w = dynamic_cast<TWinControl *>(c))
            if (TButton *b = FindButton(w, wantDefault))
                return b;
    }
    return nullptr;
}
}  // namespace

TForm::TForm(TComponent *owner) : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this))
{
    canvas_->Font()->Assign(*Font());
    TControl::SetVisible(false);
    SetBounds(0, 0, 320, 240);
    ScreenAddForm(this);
}

TForm::~TForm()
{
    // The window goes before the icons it shows.
    if (largeIcon_ || smallIcon_)
        DestroyHandle();
    ScreenRemoveForm(this);
    if (Application && Application->MainForm() == this)
        Application->SetMainForm(nullptr);
}

void TForm::AfterConstruction()
{
    if (created_)
        return;
    created_ = true;
    if (OnCreate)
        OnCreate(this);
}

void TForm::BeforeDestruction()
{
    TWinControl::BeforeDestruction();
    if (destroyedEventDone_)
        return;
    destroyedEventDone_ = true;
    if (OnDestroy)
        OnDestroy(this);
}

bool TForm::DeferFree()
{
    if (!modal_)
        return false;
    releaseAfterModal_ = true;
    if (modalResult_ == mrNone)
        modalResult_ = mrCancel;
    if (Owner())
        Owner()->RemoveComponent(this);
    return true;
}

unsigned long TForm::WindowStyle() const
{
    unsigned long style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (borderStyle_) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style |= WS_POPUP | WS_CAPTION; break;
    case bsToolWindow: style |= WS_CAPTION; break;
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu))
        style |= WS_SYSMENU;
    if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
        if (borderIcons_ & biMinimize)
            style |= WS_MINIMIZEBOX;
        if (borderIcons_ & biMaximize)
            style |= WS_MAXIMIZEBOX;
    }
    if (!Enabled())
        style |= WS_DISABLED;
    return style;
}

unsigned long TForm::WindowExStyle() const
{
    unsigned long ex = 0;
    if (borderStyle_ == bsDialog)
        ex |= WS_EX_DLGMODALFRAME;
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
        ex |= WS_EX_TOOLWINDOW;
    if (formStyle_ == fsStayOnTop)
        ex |= WS_EX_TOPMOST;
    return ex;
}

void TForm::CreateParams(TCreateParams &params)
{
    params.Style = WindowStyle();
    params.ExStyle = WindowExStyle();
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = nullptr;
    // Secondary forms stay above the main form.
    if (Application && Application->MainForm() && Application->MainForm() != this &&
        Application->MainForm()->HandleAllocated())
        params.WndParent = Application->MainForm()->Handle();
}

void TForm::SetMenu(TMainMenu *menu)
{
    menu_ = menu;
    if (HandleAllocated()) {
        ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
        DrawMenuBar(Handle());
    }
}

void TForm::SetIcon(std::unique_ptr<TIcon> large, std::unique_ptr<TIcon> small)
{
    // The window takes the new icons before the old ones are let go.
    std::swap(largeIcon_, large);
    std::swap(smallIcon_, small);
    if (HandleAllocated())
        SendIcons();
}

void TForm::SendIcons()
{
    TIcon *smallOne = smallIcon_ ? smallIcon_.get() : largeIcon_.get();
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_ ? largeIcon_->Handle() : nullptr));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallOne ? smallOne->Handle() : nullptr));
}

void TForm::InitializeWnd()
{
    TWinControl::InitializeWnd();
    if (largeIcon_ || smallIcon_)
        SendIcons();
    if (menu_)
        ::SetMenu(Handle(), menu_->Handle());
    AdjustSize();
}

void TForm::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_)
        return;
    int cw = ClientWidth(), ch = ClientHeight();
    borderStyle_ = style;
    RecreateWnd();
    SetClientWidth(cw);
    SetClientHeight(ch);
}

void TForm::SetBorderIcons(TBorderIcons icons)
{
    if (icons == borderIcons_)
        return;
    borderIcons_ = icons;
    RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle style)
{
    if (style == formStyle_)
        return;
    formStyle_ = style;
    if (HandleAllocated())
        SetWindowPos(Handle(), style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetWindowState(TWindowState state)
{
    windowState_ = state;
    if (HandleAllocated() && Visible())
        ShowWindow(Handle(), state == wsMaximized ? SW_MAXIMIZE : state == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

void TForm::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustSize();
}

namespace {
SIZE FrameSize(unsigned long style, unsigned long exStyle)
{
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}
}  // namespace

int TForm::ClientWidth() const
{
    if (HandleAllocated())
        return TWinControl::ClientWidth();
    return std::max(0, Width() - static_cast<int>(FrameSize(WindowStyle(), WindowExStyle()).cx));
}

int TForm::ClientHeight() const
{
    if (HandleAllocated())
        return TWinControl::ClientHeight();
    return std::max(0, Height() - static_cast<int>(FrameSize(WindowStyle(), WindowExStyle()).cy));
}

void TForm::SetClientWidth(int width) { SetWidth(Width() - ClientWidth() + width); }

void TForm::SetClientHeight(int height) { SetHeight(Height() - ClientHeight() + height); }

void TForm::AdjustSize()
{
    if (!autoSize_)
        return;
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        if (!c->Visible())
            continue;
        right = std::max(right, c->Left() + c->Width());
        bottom = std::max(bottom, c->Top() + c->Height());
    }
    if (right > 0 && bottom > 0) {
        SetClientWidth(right);
        SetClientHeight(bottom);
    }
}

void TForm::BoundsChanged() { TWinControl::BoundsChanged(); }

void TForm::FontChanged()
{
    TWinControl::FontChanged();
    if (canvas_)
        canvas_->Font()->Assign(*Font());
}

TCanvas *TForm::Canvas() const { return canvas_.get(); }

void TForm::PaintWindow(HDC dc)
{
    canvas_->SetPaintContext(dc);
    try {
        if (OnPaint)
            OnPaint(this);
    } catch (...) {
        canvas_->SetPaintContext(nullptr);
        throw;
    }
    canvas_->SetPaintContext(nullptr);
}

// ---- scrolling ------------------------------------------------------------------------------------

void TForm::SetAutoScroll(bool autoScroll)
{
    if (autoScroll == autoScroll_)
        return;
    autoScroll_ = autoScroll;
    if (!autoScroll)
        ScrollTo(0, 0);
    UpdateScrollBars();
}

void TForm::MeasureScrollRange()
{
    // How far the controls reach, measured from the unscrolled origin.
    rangeX_ = rangeY_ = 0;
    if (autoScroll_)
        for (int i = 0; i < ControlCount(); ++i)
            if (TControl *c = Controls(i); c->Visible()) {
                rangeX_ = std::max(rangeX_, c->Left() + c->Width() + scrollX_);
                rangeY_ = std::max(rangeY_, c->Top() + c->Height() + scrollY_);
            }
}

void TForm::UpdateScrollBars()
{
    if (updatingScroll_ || (!autoScroll_ && rangeX_ == 0 && rangeY_ == 0))
        return;
    MeasureScrollRange();
    int rx = rangeX_, ry = rangeY_;
    if (HandleAllocated()) {
        updatingScroll_ = true;
        // A bar that appears narrows the other direction's page: set both twice.
        for (int pass = 0; pass < 2; ++pass) {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            si.nMax = std::max(0, ry - 1);
            si.nPage = static_cast<UINT>(ry > ClientHeight() ? ClientHeight() : ry + 1);
            si.nPos = scrollY_;
            SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
            si.nMax = std::max(0, rx - 1);
            si.nPage = static_cast<UINT>(rx > ClientWidth() ? ClientWidth() : rx + 1);
            si.nPos = scrollX_;
            SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
        }
        updatingScroll_ = false;
    }
    // The client area may have grown past the overhang.
    if (scrollX_ > std::max(0, rangeX_ - ClientWidth()) || scrollY_ > std::max(0, rangeY_ - ClientHeight()))
        ScrollTo(scrollX_, scrollY_);
}

void TForm::ScrollTo(int x, int y)
{
    if (autoScroll_ && !updatingScroll_)
        MeasureScrollRange();
    x = std::clamp(x, 0, std::max(0, rangeX_ - ClientWidth()));
    y = std::clamp(y, 0, std::max(0, rangeY_ - ClientHeight()));
    int dx = scrollX_ - x, dy = scrollY_ - y;
    if (!dx && !dy)
        return;
    scrollX_ = x;
    scrollY_ = y;
    // The placed controls move; aligned ones keep to the client area.
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        if (c->Align() == alNone || c->Align() == alCustom)
            c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    EnableAlign();
    if (HandleAllocated()) {
        SetScrollPos(Handle(), SB_HORZ, x, TRUE);
        SetScrollPos(Handle(), SB_VERT, y, TRUE);
        Invalidate();
    }
}

void TForm::ScrollInView(TControl *control)
{
    if (!control || control == this || !control->Parent())
        return;
    TPoint at = ScreenToClient(control->Parent()->ClientToScreen(Point(control->Left(), control->Top())));
    UpdateScrollBars();
    int x = scrollX_, y = scrollY_;
    if (at.X + control->Width() > ClientWidth())
        x += at.X + control->Width() - ClientWidth();
    if (at.X - (x - scrollX_) < 0)
        x = scrollX_ + at.X;
    if (at.Y + control->Height() > ClientHeight())
        y += at.Y + control->Height() - ClientHeight();
    if (at.Y - (y - scrollY_) < 0)
        y = scrollY_ + at.Y;
    ScrollTo(x, y);
}

void TForm::Scroll(int bar, unsigned code)
{
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Handle(), bar, &si);
    int pos = bar == SB_VERT ? scrollY_ : scrollX_;
    int page = static_cast<int>(si.nPage);
    switch (code) {
    case SB_LINEUP: pos -= 8; break;
    case SB_LINEDOWN: pos += 8; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    if (bar == SB_VERT)
        ScrollTo(scrollX_, pos);
    else
        ScrollTo(pos, scrollY_);
}

void TForm::ScaleToScreen()
{
    if (!scaled_ || scaledDone_)
        return;
    scaledDone_ = true;
    int ppi = Screen->PixelsPerInch();
    if (ppi == DesignPixelsPerInch)
        return;
    int left = Left(), top = Top(), cw = ClientWidth(), ch = ClientHeight();
    ScaleBy(ppi, DesignPixelsPerInch);
    SetBounds(left, top, Width(), Height());
    SetClientWidth(MulDivRound(cw, ppi, DesignPixelsPerInch));
    SetClientHeight(MulDivRound(ch, ppi, DesignPixelsPerInch));
}

void TForm::ApplyPosition()
{
    if (positioned_)
        return;
    positioned_ = true;
    TRect area = Rect(0, 0, Screen->Width(), Screen->Height());
    TForm *main = Application ? Application->MainForm() : nullptr;
    TForm *over = nullptr;
    if (position_ == poMainFormCenter && main && main != this && main->Visible())
        over = main;
    if (position_ == poOwnerFormCenter)
        if (auto *ownerForm = dynamic_cast<TForm *>(Owner()); ownerForm && ownerForm->Visible())
            over = ownerForm;
    if (over)
        area = over->BoundsRect();
    if (position_ == poScreenCenter || position_ == poMainFormCenter || position_ == poOwnerFormCenter)
        SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
                  Height());
}

void TForm::VisibleChanged()
{
    if (Visible()) {
        AfterConstruction();
        ScaleToScreen();
        HandleNeeded();
        AdjustSize();
        ApplyPosition();
        UpdateScrollBars();
        if (OnShow)
            OnShow(this);
        int cmd = windowState_ == wsMaximized   ? SW_SHOWMAXIMIZED
                  : windowState_ == wsMinimized ? SW_SHOWMINIMIZED
                                                : SW_SHOWNORMAL;
        ShowWindow(Handle(), cmd);
        SetForegroundWindow(Handle());
    } else {
        if (OnHide)
            OnHide(this);
        if (HandleAllocated())
            ShowWindow(Handle(), SW_HIDE);
    }
}

void TForm::Show()
{
    if (Visible()) {
        BringToFront();
        return;
    }
    SetVisible(true);
}

void TForm::Hide() { SetVisible(false); }

void TForm::BringToFront()
{
    if (HandleAllocated()) {
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(Handle());
    }
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction &action)
{
    if (OnClose)
        OnClose(this, action);
}

void TForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TForm::Release() { PostMessageW(Handle(), CM_RELEASE, 0, 0); }

int TForm::ShowModal()
{
    TPrompt prompt{TPromptKind::ModalForm, nullptr, Caption(), AnsiString(), Name(), 0, this};
    if (auto answer = ScriptedAnswer(prompt)) {
        modalResult_ = answer->Result;
        return modalResult_;
    }
    if (Visible() || modal_)
        throw Exception("Cannot make a visible window modal");
    AfterConstruction();
    std::vector<HWND> disabled;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm *f = Screen->Forms(i);
        if (f != this && f->HandleAllocated() && IsWindowVisible(f->Handle()) && IsWindowEnabled(f->Handle())) {
            EnableWindow(f->Handle(), FALSE);
            disabled.push_back(f->Handle());
        }
    }
    auto restore = [&] {
        for (HWND h : disabled)
            if (IsWindow(h))
                EnableWindow(h, TRUE);
    };
    modal_ = true;
    modalResult_ = mrNone;
    bool freeAfter = false;
    try {
        Show();
        while (modalResult_ == mrNone) {
            Application->HandleMessage();
            if (releaseAfterModal_)
                break;  // freed meanwhile: nothing more is asked of it
            if (Application->Terminated() && modalResult_ == mrNone)
                modalResult_ = mrCancel;
            if (modalResult_ != mrNone) {
                if (!CloseQuery()) {
                    modalResult_ = mrNone;
                    continue;
                }
                TCloseAction action = caHide;
                DoClose(action);
                if (action == caNone && !Application->Terminated())
                    modalResult_ = mrNone;
                freeAfter = action == caFree;
            }
        }
    } catch (...) {
        restore();
        modal_ = false;
        Hide();
        if (releaseAfterModal_)
            Release();
        throw;
    }
    restore();
    modal_ = false;
    Hide();
    if (freeAfter || releaseAfterModal_)
        Release();
    return modalResult_;
}

// A form that is activated gives the keyboard to a control, as users of dialogs expect: Enter presses
// the focused button, arrows move in the focused list. The control that had it when the form was left
// gets it back; else the first in tab order that can take it. A form with none keeps it itself.
void TForm::FocusOnActivation()
{
    // A form activated while it is hidden (the system passes the activation on as it hides) has no
    // control that can take the keyboard.
    if (ActiveControl() || !Visible() || !IsWindowVisible(Handle()))
        return;
    TWinControl *target = nullptr;
    // A system control's inner window (a combo box's edit) stands for the control round it.
    if (focusedWhenLeft_ && IsWindow(focusedWhenLeft_) && IsChild(Handle(), focusedWhenLeft_))
        for (HWND h = focusedWhenLeft_; h && h != Handle() && !target; h = GetParent(h))
            target = TWinControl::FromHandle(h);
    focusedWhenLeft_ = nullptr;
    if (!target || !target->CanFocus()) {
        std::vector<TWinControl *> stops;
        CollectTabStops(this, stops);
        target = stops.empty() ? nullptr : stops.front();
    }
    if (target && target->CanFocus())
        target->SetFocus();
}

TWinControl *TForm::ActiveControl() const
{
    TWinControl *focused = TWinControl::FromHandle(GetFocus());
    return focused && focused != this && focused->GetParentForm() == this ? focused : nullptr;
}

bool TForm::DialogKey(uint16_t key, TShiftState shift)
{
    if (key == VK_TAB) {
        std::vector<TWinControl *> stops;
        CollectTabStops(this, stops);
        if (stops.empty())
            return true;
        auto it = std::find(stops.begin(), stops.end(), ActiveControl());
        size_t n = stops.size();
        size_t at = it == stops.end() ? (shift & ssShift ? 0 : n - 1) : static_cast<size_t>(it - stops.begin());
        size_t next = (shift & ssShift) ? (at + n - 1) % n : (at + 1) % n;
        stops[next]->SetFocus();
        return true;
    }
    if (key == VK_RETURN) {
        TButton *button = dynamic_cast<TButton *>(ActiveControl());
        if (!button)
            button = FindButton(this, true);
        if (button) {
            button->Click();
            return true;
        }
        return false;
    }
    if (key == VK_ESCAPE) {
        if (TButton *button = FindButton(this, false)) {
            button->Click();
            return true;
        }
        return false;
    }
    return false;
}

void TForm::WndProc(TMessage &m)
{
    const std::shared_ptr<const bool> alive = Alive();
    switch (m.Msg) {
    case WM_CLOSE: Close(); return;
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            ScreenSetActiveForm(this, true);
            PostMessageW(Handle(), CM_ACTIVATE, 0, 0);
            // The system's own handling puts the focus on the form's window, where no key is of use.
            TWinControl::WndProc(m);
            if (*alive && !HIWORD(m.WParam))
                FocusOnActivation();
            return;
        }
        if (HWND focused = GetFocus(); focused && IsChild(Handle(), focused))
            focusedWhenLeft_ = focused;
        ScreenSetActiveForm(this, false);
        if (OnDeactivate)
            OnDeactivate(this);
        if (!*alive)
            return;
        break;
    case CM_ACTIVATE:
        if (Screen->ActiveForm() == this && OnActivate)
            OnActivate(this);
        return;
    case CM_RELEASE: Free(); return;  // inside its modal loop, deferred to the loop's end
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (autoScroll_ && !m.LParam) {
            Scroll(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(m.WParam));
            return;
        }
        break;
    case WM_SIZE:
        TWinControl::WndProc(m);
        if (*alive)
            UpdateScrollBars();
        return;
    default: break;
    }
    TWinControl::WndProc(m);
}
