#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "framework/windows/AlignLayout.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/windows/Menus.h"
#include "framework/windows/Subclass.h"
#include "framework/windows/WinInternal.h"

namespace {
const wchar_t kClassName[] = L"QmtWindow";

// Which control each window of the process belongs to. Every message a control receives, and every
// message the loop dispatches, asks it, so it is kept in the process: a window property would be
// fetched from the window server each time (under Wine one round trip each), which cost a run of
// thousands of protocol lines more than the lines themselves. A window of another process is never in it.
class TWindowOwners {
public:
    void Set(HWND window, TWinControl *control)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        owners_[window] = control;
    }
    void Remove(HWND window)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        owners_.erase(window);
    }
    TWinControl *Find(HWND window)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = owners_.find(window);
        return it == owners_.end() ? nullptr : it->second;
    }

private:
    std::mutex mutex_;
    std::unordered_map<HWND, TWinControl *> owners_;
};

TWindowOwners &WindowOwners()
{
    static TWindowOwners *owners = new TWindowOwners;  // never freed: windows may outlive static objects
    return *owners;
}

TMouseButton ButtonOf(UINT msg)
{
    switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return mbMiddle;
    default: return mbLeft;
    }
}

TShiftState MouseShift(WPARAM w)
{
    TShiftState s = KeyShiftState();
    if (w & MK_LBUTTON)
        s |= ssLeft;
    if (w & MK_RBUTTON)
        s |= ssRight;
    if (w & MK_MBUTTON)
        s |= ssMiddle;
    return s;
}
}  // namespace

struct WindowProcs {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
    {
        if (msg == WM_NCCREATE) {
            auto *cs = reinterpret_cast<CREATESTRUCTW *>(l);
            if (auto *created = static_cast<TWinControl *>(cs->lpCreateParams)) {
                WindowOwners().Set(hwnd, created);
                created->handle_ = hwnd;
            }
        }
        TWinControl *control = TWinControl::FromHandle(hwnd);
        if (!control)
            return DefWindowProcW(hwnd, msg, w, l);
        TMessage m{msg, w, l, 0};
        if (msg == WM_NCDESTROY) {
            control->DefaultHandler(m);
            if (control->defaultProc_)
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->defaultProc_));
            WindowOwners().Remove(hwnd);
            control->handle_ = nullptr;
            control->mouseInside_ = false;
            control->defaultProc_ = nullptr;
            return m.Result;
        }
        // A control being freed hears nothing more: its children and its own parts may be gone already,
        // and the window's last messages (the focus leaving it as it goes) would reach them.
        if (control->Destroying()) {
            control->DefaultHandler(m);
            return m.Result;
        }
        try {
            control->WndProc(m);
        } catch (const std::exception &e) {
            HandleEventException(e);
        }
        return m.Result;
    }
};

const wchar_t *FrameworkWindowClass()
{
    static bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = WindowProcs::Proc;
        wc.hInstance = ModuleInstance();
        wc.hCursor = CursorHandle(crArrow);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return kClassName;
}

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

HWND UtilityWindow()
{
    static HWND hidden = CreateWindowExW(0, FrameworkWindowClass(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                         ModuleInstance(), nullptr);
    return hidden;
}

TShiftState KeyShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

TWinControl::TWinControl(TComponent *owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    *alive_ = false;
    MarkDestroying();
    while (!controls_.empty())
        controls_.back()->Free();
    DestroyHandle();
    DeleteGdiObject(brush_);
    TSubClass::ControlFreed(this);
}

TWinControl *TWinControl::FromHandle(HWND window)
{
    return window ? WindowOwners().Find(window) : nullptr;
}

HWND TWinControl::Handle()
{
    if (!handle_) {
        if (Parent())
            Parent()->HandleNeeded();
        if (!handle_)
            CreateWnd();
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams &params)
{
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible())
        params.Style |= WS_VISIBLE;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (tabStop_)
        params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : nullptr;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    bool own = params.WinClassName.empty();
    static int nextId = 100;
    HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)) : nullptr;
    std::wstring text = Cp1251ToWide(text_);
    HWND hwnd = CreateWindowExW(params.ExStyle, own ? FrameworkWindowClass() : params.WinClassName.c_str(),
                                text.c_str(), params.Style, params.X, params.Y, params.Width, params.Height,
                                params.WndParent, id, ModuleInstance(), own ? this : nullptr);
    if (!hwnd)
        throw Exception("Cannot create the window of " + Name());
    if (!own) {
        WindowOwners().Set(hwnd, this);
        handle_ = hwnd;
        defaultProc_ = reinterpret_cast<void *>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcs::Proc)));
    }
    // Hooks that follow this control go over the new window before it is set up.
    TSubClass::ControlWindowCreated(this);
    InitializeWnd();
    CreateChildHandles();
    AlignControls();
}

void TWinControl::InitializeWnd()
{
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
}

void TWinControl::CreateChildHandles()
{
    for (TControl *c : controls_)
        if (auto *w = dynamic_cast<TWinControl *>(c); w && !w->handle_)
            w->CreateWnd();
    // The order windows are made in is the tab order; the front is where the controls were brought.
    for (TControl *c : controls_)
        if (auto *w = dynamic_cast<TWinControl *>(c); w && w->frontWhenMade_ && w->handle_)
            w->BringToFront();
}

void TWinControl::DestroyHandle()
{
    if (handle_)
        DestroyWindow(handle_);
}

void TWinControl::RecreateWnd()
{
    if (!handle_)
        return;
    // The children's windows go with ours; they are made again with it.
    DestroyHandle();
    CreateWnd();
}

void TWinControl::DefaultHandler(TMessage &m)
{
    if (defaultProc_)
        m.Result = CallWindowProcW(reinterpret_cast<WNDPROC>(defaultProc_), handle_, m.Msg, m.WParam, m.LParam);
    else
        m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

HBRUSH TWinControl::ColorBrush()
{
    if (!brush_ || brushColor_ != Color()) {
        DeleteGdiObject(brush_);
        brush_ = Color() == clNone ? nullptr : CreateSolidBrush(ColorToRGB(Color()));
        brushColor_ = Color();
    }
    return brush_;
}

HBRUSH TWinControl::ControlColor(HDC dc)
{
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    return ColorBrush();
}

void TWinControl::WndProc(TMessage &m)
{
    // An event handler may free the control (a double click that closes its form for good): nothing of
    // it is touched after that.
    const std::shared_ptr<const bool> alive = alive_;
    switch (m.Msg) {
    case WM_COMMAND:
        // A menu's choice: the item clicks itself.
        if (!m.LParam && HIWORD(m.WParam) == 0) {
            if (TMenuItem *item = TMenuItem::FromCommand(LOWORD(m.WParam))) {
                item->Click();
                return;
            }
        }
        if (m.LParam) {
            TWinControl *child = FromHandle(reinterpret_cast<HWND>(m.LParam));
            if (child && child != this) {
                child->CommandNotify(HIWORD(m.WParam));
                return;
            }
        }
        break;
    case WM_NOTIFY: {
        auto *hdr = reinterpret_cast<NMHDR *>(m.LParam);
        TWinControl *child = FromHandle(hdr->hwndFrom);
        if (child && child != this && child->NotifyNotify(hdr, m.Result))
            return;
        break;
    }
    case WM_DRAWITEM: {
        // An owner-drawn child draws itself.
        auto *item = reinterpret_cast<DRAWITEMSTRUCT *>(m.LParam);
        TWinControl *child = item->CtlType == ODT_MENU ? nullptr : FromHandle(item->hwndItem);
        if (child && child != this) {
            m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
            return;
        }
        break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        // From a child control (an up-down): the child hears of it.
        if (m.LParam) {
            TWinControl *child = FromHandle(reinterpret_cast<HWND>(m.LParam));
            if (child && child != this) {
                m.Result = child->Perform(m.Msg == WM_HSCROLL ? CN_HSCROLL : CN_VSCROLL, m.WParam, m.LParam);
                return;
            }
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
        TWinControl *child = FromHandle(reinterpret_cast<HWND>(m.LParam));
        if (child && child != this) {
            if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(m.WParam))) {
                m.Result = reinterpret_cast<intptr_t>(brush);
                return;
            }
        }
        break;
    }
    case WM_ERASEBKGND:
        if (!defaultProc_) {
            if (HBRUSH brush = ColorBrush()) {
                RECT r;
                GetClientRect(handle_, &r);
                FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush);
            }
            m.Result = 1;
            return;
        }
        break;
    case WM_PAINT:
        if (WantsPaint()) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle_, &ps);
            try {
                PaintWindow(dc);
            } catch (...) {
                EndPaint(handle_, &ps);
                throw;
            }
            EndPaint(handle_, &ps);
            return;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        auto *wp = reinterpret_cast<WINDOWPOS *>(m.LParam);
        DefaultHandler(m);
        if (!(wp->flags & SWP_NOMOVE) || !(wp->flags & SWP_NOSIZE)) {
            RECT r;
            GetWindowRect(handle_, &r);
            if (HWND parent = GetParent(handle_); parent && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
                MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
            bool sized = r.right - r.left != Width() || r.bottom - r.top != Height();
            TControl::left_ = r.left;
            TControl::top_ = r.top;
            TControl::width_ = r.right - r.left;
            TControl::height_ = r.bottom - r.top;
            if (sized)
                AlignControls();
        }
        return;
    }
    case WM_WINDOWPOSCHANGING: {
        // A size the window system proposes (the user dragging a frame) passes the same checks as
        // SetBounds; the framework's own moves carry a size already checked.
        auto *wp = reinterpret_cast<WINDOWPOS *>(m.LParam);
        if (!(wp->flags & SWP_NOSIZE) && (wp->cx != Width() || wp->cy != Height())) {
            int w = wp->cx, h = wp->cy;
            if (!CanResize(w, h)) {
                w = Width();
                h = Height();
            }
            Constraints()->Apply(w, h);
            wp->cx = w;
            wp->cy = h;
        }
        break;
    }
    case WM_SIZE:
        DefaultHandler(m);
        Resize();
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if ((ControlStyle() & csCaptureMouse) && m.Msg == WM_LBUTTONDOWN)
            SetCapture(handle_);
        MouseDown(ButtonOf(m.Msg), MouseShift(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        DefaultHandler(m);
        if (m.Msg == WM_LBUTTONUP && (ControlStyle() & csCaptureMouse) && GetCapture() == handle_) {
            ReleaseCapture();
            // The leave that the capture held back, or tracking again for the next one.
            if (mouseInside_) {
                POINT at;
                GetCursorPos(&at);
                ::ScreenToClient(handle_, &at);
                if (at.x >= 0 && at.y >= 0 && at.x < ClientWidth() && at.y < ClientHeight()) {
                    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
                    TrackMouseEvent(&track);
                } else {
                    mouseInside_ = false;
                    Perform(CM_MOUSELEAVE);
                }
            }
        }
        int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
        MouseUp(ButtonOf(m.Msg), MouseShift(m.WParam), x, y);
        // The framework's own windows (forms, panels) are clicked by the left button's release over
        // them (a captured release may come from outside).
        if (m.Msg == WM_LBUTTONUP && *alive && !defaultProc_ && (ControlStyle() & csClickEvents) && Enabled() && handle_ &&
            x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight())
            Click();
        return;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        MouseDown(ButtonOf(m.Msg), MouseShift(m.WParam) | ssDouble, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (m.Msg == WM_LBUTTONDBLCLK && *alive)
            DblClick();
        break;
    case WM_MOUSEMOVE:
        TrackMouse(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (*alive)
            MouseMove(MouseShift(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        break;
    case WM_MOUSELEAVE:
        // With the mouse captured the moves go on arriving; they tell when it is back.
        if (mouseInside_ && GetCapture() != handle_) {
            mouseInside_ = false;
            Perform(CM_MOUSELEAVE);
        }
        break;
    case WM_MOUSEWHEEL: {
        TPoint at = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (DoMouseWheel(MouseShift(GET_KEYSTATE_WPARAM(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), at))
            return;
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        if (keyDownDone_) {
            keyDownDone_ = false;
            break;
        }
        uint16_t key = static_cast<uint16_t>(m.WParam);
        if (!DoKeyDown(key, KeyShiftState()))
            return;
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        uint16_t key = static_cast<uint16_t>(m.WParam);
        if (!DoKeyUp(key, KeyShiftState()))
            return;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        wchar_t wide = static_cast<wchar_t>(m.WParam);
        AnsiString one = WideToCp1251(std::wstring_view(&wide, 1));
        char key = one.empty() ? '?' : one[0];
        char before = key;
        if (!DoKeyPress(key))
            return;
        if (key != before)
            m.WParam = Cp1251ToWide(std::string_view(&key, 1))[0];
        break;
    }
    case WM_SETFOCUS:
        if (TForm *form = GetParentForm(); form && form != this && form->AutoScroll())
            form->ScrollInView(this);
        DoEnter();
        break;
    case WM_KILLFOCUS: DoExit(); break;
    case WM_CONTEXTMENU:
        if (TPopupMenu *menu = PopupMenu(); menu && menu->AutoPopup()) {
            POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            if (pt.x == -1 && pt.y == -1) {  // from the keyboard: at the control's corner
                pt = POINT{0, 0};
                ::ClientToScreen(handle_, &pt);
            }
            menu->SetPopupComponent(this);
            menu->Popup(pt.x, pt.y);
            return;
        }
        break;
    case WM_SETCURSOR: {
        TCursor cursor = ScreenCursor();
        if (cursor == crDefault && LOWORD(m.LParam) == HTCLIENT)
            cursor = Cursor();
        if (cursor != crDefault) {
            ::SetCursor(CursorHandle(cursor));
            m.Result = TRUE;
            return;
        }
        break;
    }
    default: break;
    }
    if (*alive)
        DefaultHandler(m);
}

bool TWinControl::DoKeyDown(uint16_t &key, TShiftState shift)
{
    TForm *form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->OnKeyDown) {
        form->OnKeyDown(form, key, shift);
        if (!key)
            return false;
    }
    KeyDown(key, shift);
    return key != 0;
}

bool TWinControl::DoKeyUp(uint16_t &key, TShiftState shift)
{
    TForm *form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->OnKeyUp) {
        form->OnKeyUp(form, key, shift);
        if (!key)
            return false;
    }
    KeyUp(key, shift);
    return key != 0;
}

bool TWinControl::DoKeyPress(char &key)
{
    TForm *form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->OnKeyPress) {
        form->OnKeyPress(form, key);
        if (!key)
            return false;
    }
    KeyPress(key);
    return key != 0;
}

void TWinControl::KeyDown(uint16_t &key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t &key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char &key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::TrackMouse(int x, int y)
{
    bool inside = x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight();
    if (inside == mouseInside_)
        return;
    mouseInside_ = inside;
    if (inside) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
        Perform(CM_MOUSEENTER);
    } else {
        Perform(CM_MOUSELEAVE);
    }
}

intptr_t TWinControl::Perform(unsigned msg, uintptr_t wParam, intptr_t lParam)
{
    if (handle_)
        return SendMessageW(handle_, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

TPoint TWinControl::ClientToScreen(const TPoint &point) const
{
    if (!handle_)
        return TControl::ClientToScreen(point);
    POINT p{point.X, point.Y};
    ::ClientToScreen(handle_, &p);
    return Point(p.x, p.y);
}

TPoint TWinControl::ScreenToClient(const TPoint &point) const
{
    if (!handle_)
        return TControl::ScreenToClient(point);
    POINT p{point.X, point.Y};
    ::ScreenToClient(handle_, &p);
    return Point(p.x, p.y);
}

void TWinControl::InsertControl(TControl *control)
{
    controls_.push_back(control);
    control->parent_ = this;
    control->ParentFontChanged();
    control->ParentColorChanged();
    if (handle_)
        if (auto *w = dynamic_cast<TWinControl *>(control))
            w->HandleNeeded();
    AlignControls();
}

void TWinControl::RemoveControl(TControl *control)
{
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    control->parent_ = nullptr;
    if (Destroying())
        return;
    if (auto *w = dynamic_cast<TWinControl *>(control); w && w->handle_)
        w->DestroyHandle();
    AlignControls();
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto &list = Parent()->controls_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order)
{
    if (!Parent())
        return;
    auto &list = Parent()->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const
{
    for (const TControl *c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw Exception("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::AnchorControls()
{
    int width = ClientWidth(), height = ClientHeight();
    int dw = anchorWidth_ < 0 ? 0 : width - anchorWidth_, dh = anchorHeight_ < 0 ? 0 : height - anchorHeight_;
    anchorWidth_ = width;
    anchorHeight_ = height;
    if (!dw && !dh)
        return;
    aligning_ = true;
    for (TControl *c : controls_) {
        TAnchors a = c->Anchors();
        if (c->Align() != alNone || a == (akLeft | akTop))
            continue;
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if (a & akRight)
            (a & akLeft) ? w += dw : l += dw;
        else if (!(a & akLeft))
            l += dw / 2;
        if (a & akBottom)
            (a & akTop) ? h += dh : t += dh;
        else if (!(a & akTop))
            t += dh / 2;
        c->SetBounds(l, t, w, h);
    }
    aligning_ = false;
}

void TWinControl::AlignControls()
{
    if (alignDisabled_ || aligning_ || controls_.empty())
        return;
    AnchorControls();
    std::vector<TAlignItem> items;
    bool any = false;
    for (TControl *c : controls_) {
        items.push_back(TAlignItem{c->Align(), c->BoundsRect(), c->Visible()});
        any = any || (c->Align() != alNone && c->Align() != alCustom);
    }
    if (!any)
        return;
    aligning_ = true;
    TRect area = ClientRect();
    area = Rect(area.Left + borderWidth_, area.Top + borderWidth_,
                std::max(area.Left + borderWidth_, area.Right - borderWidth_),
                std::max(area.Top + borderWidth_, area.Bottom - borderWidth_));
    std::vector<TRect> placed = LayoutAligned(area, items);
    for (size_t i = 0; i < controls_.size(); ++i) {
        const TRect &r = placed[i];
        controls_[i]->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    aligning_ = false;
}

void TWinControl::SetBorderWidth(int width)
{
    width = std::max(0, width);
    if (width == borderWidth_)
        return;
    borderWidth_ = width;
    AlignControls();
    Invalidate();
}

void TWinControl::EnableAlign()
{
    if (alignDisabled_ > 0 && --alignDisabled_ == 0)
        AlignControls();
}

void TWinControl::ScaleBy(int m, int d)
{
    DisableAlign();
    TControl::ScaleBy(m, d);
    for (TControl *c : controls_)
        c->ScaleBy(m, d);
    // The children are scaled already: the anchors start again from the new size.
    anchorWidth_ = anchorHeight_ = -1;
    EnableAlign();
}

void TWinControl::Invalidate()
{
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint()
{
    if (handle_) {
        InvalidateRect(handle_, nullptr, TRUE);
        UpdateWindow(handle_);
    }
}

void TWinControl::BringToFront()
{
    // Without a window yet, it goes to the front once its siblings' windows are made with it (a control
    // built inside its form's constructor is laid out before any window exists).
    frontWhenMade_ = !handle_;
    if (handle_)
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

int TWinControl::ClientWidth() const
{
    if (!handle_)
        return Width();
    RECT r;
    GetClientRect(handle_, &r);
    return r.right;
}

int TWinControl::ClientHeight() const
{
    if (!handle_)
        return Height();
    RECT r;
    GetClientRect(handle_, &r);
    return r.bottom;
}

void TWinControl::UpdateWindowBounds()
{
    if (!handle_)
        return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    if (r.left == Left() && r.top == Top() && r.right - r.left == Width() && r.bottom - r.top == Height())
        return;
    SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::BoundsChanged()
{
    UpdateWindowBounds();
    AlignControls();
}

void TWinControl::VisibleChanged()
{
    if (handle_)
        ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged()
{
    if (handle_)
        EnableWindow(handle_, Enabled());
}

void TWinControl::TextChanged()
{
    if (handle_)
        SetWindowTextW(handle_, Cp1251ToWide(text_).c_str());
    AdjustSize();
}

AnsiString TWinControl::WindowText() const
{
    if (!handle_)
        return text_;
    int n = GetWindowTextLengthW(handle_);
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(handle_, w.data(), n + 1);
    w.resize(static_cast<size_t>(n));
    return WideToCp1251(w);
}

void TWinControl::FontChanged()
{
    TControl::FontChanged();
    if (handle_) {
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        InvalidateRect(handle_, nullptr, TRUE);
    }
    for (TControl *c : controls_)
        c->ParentFontChanged();
    AdjustSize();
}

void TWinControl::ColorChanged()
{
    Invalidate();
    for (TControl *c : controls_)
        c->ParentColorChanged();
}

// ---- TCustomControl -------------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent *owner) : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this))
{}

TCustomControl::~TCustomControl() = default;

TCanvas *TCustomControl::Canvas() const { return canvas_.get(); }

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_->SetPaintContext(dc);
    try {
        Paint();
    } catch (...) {
        canvas_->SetPaintContext(nullptr);
        throw;
    }
    canvas_->SetPaintContext(nullptr);
}
