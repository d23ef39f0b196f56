// The control model on real windows: properties by name, control messages, input steps, painting,
// anchors and size limits (run under Wine inside Xvfb).
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/FormHost.h"
#include "tests/support/PointerInput.h"

namespace {
using Host = FormHost;

// A button whose caption is kept in upper case and whose hint is kept apart, as two-language
// controls keep their own texts.
struct ShoutingButton : TButton {
    using TButton::TButton;
    AnsiString GetText() const override { return "[" + TButton::GetText() + "]"; }
    void SetText(const AnsiString &text) override { TButton::SetText(text + "!"); }
    AnsiString GetHint() const override { return "hint:" + hint; }
    void SetHint(const AnsiString &text) override { hint = text; }
    AnsiString hint;
};

// Counts the control messages that reach its window procedure.
struct Counting : TCustomControl {
    using TCustomControl::TCustomControl;
    void WndProc(TMessage &m) override
    {
        if (m.Msg == CM_MOUSEENTER)
            ++enters;
        if (m.Msg == CM_MOUSELEAVE)
            ++leaves;
        TCustomControl::WndProc(m);
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, 10, 10));
        ++paints;
    }
    void MouseUp(TMouseButton, TShiftState, int x, int) override { upAt.push_back(x); }
    int enters = 0, leaves = 0, paints = 0;
    std::vector<int> upAt;
};

// An owner-drawn button that records what it was asked to draw.
struct DrawnButton : TButton {
    using TButton::TButton;
    void CreateParams(TCreateParams &params) override
    {
        TButton::CreateParams(params);
        params.Style |= BS_OWNERDRAW;
    }
    void SetButtonStyle(bool isDefault) override { styledDefault = isDefault; }
    void WndProc(TMessage &m) override
    {
        if (m.Msg == CN_DRAWITEM) {
            auto *item = reinterpret_cast<TDrawItemStruct *>(m.LParam);
            states.push_back(item->itemState);
            FillRect(item->hDC, reinterpret_cast<RECT *>(&item->rcItem), GetSysColorBrush(COLOR_BTNFACE));
            m.Result = TRUE;
            return;
        }
        TButton::WndProc(m);
    }
    std::vector<unsigned> states;
    bool styledDefault = false;
};

// A popup menu that can refuse to take keys from its control.
struct RefusingMenu : TPopupMenu {
    using TPopupMenu::TPopupMenu;
    bool IsShortCut(uint16_t key, TShiftState shift) override { return !refuse && TPopupMenu::IsShortCut(key, shift); }
    bool refuse = false;
};

void PostKey(TWinControl *control, WPARAM key)
{
    PostMessageW(control->Handle(), WM_KEYDOWN, key, 1);
    PostMessageW(control->Handle(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    Application->ProcessMessages();
}
}  // namespace

TEST(Controls, ClassNameDesigningAndStringPropertiesByName)
{
    Host host;
    auto *button = host.Add<ShoutingButton>();
    EXPECT_EQ("ShoutingButton", button->ClassName());
    EXPECT_EQ("TForm", host.form->ClassName());

    // "Caption" and "Hint" found by name go through the subclass's own accessors.
    TStringProperty caption = button->StringProperty("Caption");
    TStringProperty hint = button->StringProperty("HINT");
    ASSERT_TRUE(caption);
    ASSERT_TRUE(hint);
    caption.Set("Далее");
    EXPECT_EQ("[Далее!]", caption.Get());
    EXPECT_EQ("[Далее!]", button->Caption());
    hint.Set("подсказка");
    EXPECT_EQ("подсказка", button->hint);
    EXPECT_EQ("hint:подсказка", hint.Get());
    EXPECT_FALSE(button->StringProperty("Colour"));
    EXPECT_FALSE(TComponent(nullptr).StringProperty("Caption"));

    // The designing mark reaches the owned components and can be taken back.
    EXPECT_FALSE(button->Designing());
    host.form->SetDesigning(true);
    EXPECT_TRUE(button->Designing());
    EXPECT_TRUE(host.form->ComponentState() & csDesigning);
    host.form->SetDesigning(false);
    EXPECT_FALSE(button->Designing());

    // A persistent that cannot copy says so; the class-not-found error is an Exception.
    EXPECT_THROW(host.form->Assign(*button), Exception);
    try {
        throw EClassNotFound(button->ClassName() + "... Только для форм!");
    } catch (const Exception &e) {
        EXPECT_EQ("ShoutingButton... Только для форм!", e.Message());
    }
}

TEST(Controls, PerformGoesThroughAProcedureHookedOverTheWindow)
{
    Host host;
    host.form->Show();
    static int seen;
    static WNDPROC previous;
    seen = 0;
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        host.form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT msg, WPARAM w, LPARAM l) {
            if (msg == WM_NCACTIVATE)
                ++seen;
            return CallWindowProcW(previous, h, msg, w, l);
        })));
    host.form->Perform(WM_NCACTIVATE, 1, 0);
    EXPECT_EQ(1, seen);
    SetWindowLongPtrW(host.form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));

    // Without a window the control's own procedure answers.
    auto *lone = new Counting(nullptr);
    lone->Perform(CM_MOUSEENTER);
    EXPECT_EQ(1, lone->enters);
    EXPECT_FALSE(lone->HandleAllocated());
    lone->Free();
}

TEST(Controls, MouseOntoAndOffAControlGivesOneEnterAndOneLeaveThroughTheWindowSystem)
{
    Host host;
    auto *c = host.Add<Counting>();
    c->SetBounds(50, 50, 100, 60);
    host.form->Show();
    PumpFor(100);
    TPoint origin = c->ClientToScreen(Point(0, 0));
    POINT check{0, 0};
    ClientToScreen(c->Handle(), &check);
    EXPECT_EQ(Point(check.x, check.y), origin);
    EXPECT_EQ(Point(10, 20), c->ScreenToClient(Point(origin.X + 10, origin.Y + 20)));

    TPoint outside = host.form->ClientToScreen(Point(10, 10));
    MovePointerTo(outside);
    PumpFor(100);
    ASSERT_EQ(0, c->enters);
    for (int x = 10; x <= 60; x += 10)  // several moves inside
        MovePointerUntil(Point(origin.X + x, origin.Y + 20), [&] { return c->enters > 0; });
    PumpFor(60);
    EXPECT_EQ(1, c->enters);
    EXPECT_EQ(0, c->leaves);
    MovePointerUntil(outside, [&] { return c->leaves > 0; });
    PumpFor(60);
    EXPECT_EQ(1, c->enters);
    EXPECT_EQ(1, c->leaves);
}

TEST(Controls, ACapturingControlGetsTheReleaseOutsideIt)
{
    Host host;
    auto *c = host.Add<Counting>();
    c->SetBounds(10, 10, 50, 50);
    auto *plain = host.Add<Counting>();
    plain->SetBounds(100, 10, 50, 50);
    c->SetControlStyle(c->ControlStyle() | csCaptureMouse);
    host.form->Show();
    Application->ProcessMessages();
    SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(c->Handle(), GetCapture());
    SendMessageW(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    EXPECT_EQ(std::vector<int>{200}, c->upAt);
    EXPECT_EQ(nullptr, GetCapture());
    SendMessageW(plain->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(nullptr, GetCapture());
}

// Each window knows its control while the window exists, system class or not; a window that is gone,
// or was never one of ours, names none (its handle may be reused by another window).
TEST(Controls, AWindowNamesItsControlOnlyWhileItExists)
{
    FormHost host;
    auto *list = host.Add<TListBox>();
    host.form->Show();
    HWND listWindow = list->Handle();
    EXPECT_EQ(host.form, TWinControl::FromHandle(host.form->Handle()));
    EXPECT_EQ(list, TWinControl::FromHandle(listWindow));
    EXPECT_EQ(nullptr, TWinControl::FromHandle(GetDesktopWindow()));
    EXPECT_EQ(nullptr, TWinControl::FromHandle(nullptr));
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host.form->Handle(), nullptr, nullptr,
                                 nullptr);
    EXPECT_EQ(nullptr, TWinControl::FromHandle(plain));
    DestroyWindow(plain);
    list->Free();
    EXPECT_FALSE(IsWindow(listWindow));
    EXPECT_EQ(nullptr, TWinControl::FromHandle(listWindow));
}

TEST(Controls, CustomControlPaintsOnItsCanvas)
{
    Host host;
    auto *c = host.Add<Counting>();
    c->SetBounds(10, 10, 40, 40);
    c->SetColor(clWhite);
    host.form->Show();
    c->Repaint();
    EXPECT_GE(c->paints, 1);
    HDC dc = GetDC(c->Handle());
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 5, 5));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 20, 20));
    ReleaseDC(c->Handle(), dc);
    // Outside painting the canvas draws on the window's own context.
    c->Canvas()->Brush()->SetColor(clBlue);
    c->Canvas()->FillRect(Rect(30, 30, 35, 35));
    EXPECT_EQ(clBlue, c->Canvas()->Pixel(32, 32));
}

TEST(Controls, DisabledOwnerDrawnButtonDrawsInTheDisabledState)
{
    Host host;
    auto *b = host.Add<DrawnButton>();
    b->SetEnabled(false);
    b->SetDefault(true);
    host.form->Show();
    b->Repaint();
    ASSERT_FALSE(b->states.empty());
    EXPECT_TRUE(b->states.back() & ODS_DISABLED);
    // The default flag reached the button's own style step, which left the window's style alone.
    EXPECT_TRUE(b->styledDefault);
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongW(b->Handle(), GWL_STYLE) & BS_TYPEMASK);
    b->SetEnabled(true);
    b->Repaint();
    EXPECT_FALSE(b->states.back() & ODS_DISABLED);
}

TEST(Controls, EnterInAnEditWithoutDefaultButtonRunsKeyDownOnce)
{
    Host host;
    auto *edit = host.Add<TEdit>();
    int downs = 0;
    edit->OnKeyDown = [&](TObject *, uint16_t &key, TShiftState) {
        if (key == VK_RETURN)
            ++downs;
    };
    host.form->Show();
    edit->SetFocus();
    PostKey(edit, VK_RETURN);
    EXPECT_EQ(1, downs);
    PostKey(edit, VK_ESCAPE);
    PostKey(edit, VK_RETURN);
    EXPECT_EQ(2, downs);

    // A default button takes Enter after the edit's key-down saw it.
    auto *ok = host.Add<TButton>();
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject *) { ++clicks; };
    edit->SetFocus();
    PostKey(edit, VK_RETURN);
    EXPECT_EQ(3, downs);
    EXPECT_EQ(1, clicks);
}

TEST(Controls, PopupMenuShortcutRunsItsItemUnlessRefused)
{
    Host host;
    auto *edit = host.Add<TEdit>();
    auto *menu = new RefusingMenu(host.form);
    auto *item = new TMenuItem(menu);
    item->SetCaption("Обновить");
    item->SetShortCut(ShortCut(VK_F5, 0));
    menu->Items()->Add(item);
    int runs = 0, downs = 0;
    item->OnClick = [&](TObject *) { ++runs; };
    edit->OnKeyDown = [&](TObject *, uint16_t &key, TShiftState) { downs += key == VK_F5; };
    edit->SetPopupMenu(menu);
    host.form->Show();
    edit->SetFocus();
    PostKey(edit, VK_F5);
    EXPECT_EQ(1, runs);
    EXPECT_EQ(0, downs);  // the menu took the key
    menu->refuse = true;
    PostKey(edit, VK_F5);
    EXPECT_EQ(1, runs);
    EXPECT_EQ(1, downs);

    // A popup menu of a parent serves its children too.
    menu->refuse = false;
    edit->SetPopupMenu(nullptr);
    host.form->SetPopupMenu(menu);
    PostKey(edit, VK_F5);
    EXPECT_EQ(2, runs);

    // AutoPopup off: the menu key shows nothing (the menu's OnPopup does not run).
    int popups = 0;
    menu->OnPopup = [&](TObject *) { ++popups; };
    menu->SetAutoPopup(false);
    SendMessageW(host.form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.form->Handle()),
                 MAKELPARAM(-1, -1));
    EXPECT_EQ(0, popups);
}

TEST(Controls, AnchorsConstraintsAndCustomAlignFollowTheParent)
{
    Host host;
    auto *panel = host.Add<TCustomControl>();
    panel->SetBounds(0, 0, 200, 100);
    auto add = [&](TAnchors anchors) {
        auto *c = new TCustomControl(host.form);
        c->SetParent(panel);
        c->SetBounds(10, 10, 50, 20);
        c->SetAnchors(anchors);
        return c;
    };
    auto *fixed = add(akLeft | akTop);
    auto *stretched = add(akLeft | akTop | akRight | akBottom);
    auto *moved = add(akRight | akBottom);
    auto *centred = add(0);
    auto *custom = add(akLeft | akTop | akRight);
    custom->SetAlign(alCustom);
    panel->SetBounds(0, 0, 240, 130);
    EXPECT_EQ(Bounds(10, 10, 50, 20), fixed->BoundsRect());
    EXPECT_EQ(Bounds(10, 10, 90, 50), stretched->BoundsRect());
    EXPECT_EQ(Bounds(50, 40, 50, 20), moved->BoundsRect());
    EXPECT_EQ(Bounds(30, 25, 50, 20), centred->BoundsRect());
    EXPECT_EQ(Bounds(10, 10, 50, 20), custom->BoundsRect());  // alCustom: left where it is

    // Size limits hold for SetBounds and for the window system's own resizing.
    panel->Constraints()->SetMinWidth(150);
    panel->Constraints()->SetMaxHeight(120);
    EXPECT_EQ(Bounds(0, 0, 240, 120), panel->BoundsRect());
    panel->SetBounds(0, 0, 100, 200);
    EXPECT_EQ(Bounds(0, 0, 150, 120), panel->BoundsRect());
    host.form->Show();
    SetWindowPos(panel->Handle(), nullptr, 0, 0, 90, 300, SWP_NOZORDER | SWP_NOMOVE);
    RECT r;
    GetWindowRect(panel->Handle(), &r);
    EXPECT_EQ(150, r.right - r.left);
    EXPECT_EQ(120, r.bottom - r.top);
    EXPECT_EQ(150, panel->Width());
}

TEST(Controls, CanResizeRefusesAndResizeReports)
{
    struct Narrowing : TCustomControl {
        using TCustomControl::TCustomControl;
        bool CanResize(int &w, int &) override
        {
            ++asked;
            return w >= 100;
        }
        void Resize() override
        {
            ++resized;
            TCustomControl::Resize();
        }
        int asked = 0, resized = 0;
    };
    Host host;
    auto *c = host.Add<Narrowing>();
    int events = 0;
    c->OnResize = [&](TObject *) { ++events; };
    c->SetBounds(0, 0, 120, 30);
    c->SetWidth(80);
    EXPECT_EQ(120, c->Width());
    host.form->Show();
    int before = c->resized;
    c->SetWidth(160);
    EXPECT_EQ(160, c->Width());
    EXPECT_EQ(before + 1, c->resized);
    EXPECT_EQ(c->resized, events);
    c->SetLeft(5);  // a move is no resize
    EXPECT_EQ(before + 1, c->resized);
}

TEST(Controls, ParentColorFollowsUntilSet)
{
    Host host;
    host.form->SetColor(clSkyBlue);
    auto *c = new TCustomControl(host.form);
    c->SetParentColor(true);
    c->SetParent(host.form);
    EXPECT_EQ(clSkyBlue, c->Color());
    host.form->SetColor(clRed);
    EXPECT_EQ(clRed, c->Color());
    c->SetColor(clWhite);
    EXPECT_FALSE(c->ParentColor());
    host.form->SetColor(clBlue);
    EXPECT_EQ(clWhite, c->Color());
}

TEST(Controls, MouseStepsAndWheelReachTheOverridesAndEvents)
{
    struct Steps : TCustomControl {
        using TCustomControl::TCustomControl;
        void DblClick() override
        {
            log.push_back("dbl");
            TCustomControl::DblClick();
        }
        void DoEnter() override
        {
            log.push_back("enter");
            TCustomControl::DoEnter();
        }
        void DoExit() override
        {
            log.push_back("exit");
            TCustomControl::DoExit();
        }
        std::vector<AnsiString> log;
    };
    Host host;
    auto *c = host.Add<Steps>();
    c->SetTabStop(true);
    auto *other = host.Add<TEdit>();
    other->SetTop(100);
    TShiftState downShift = 0;
    int wheel = 0, downs = 0;
    c->OnMouseDown = [&](TObject *, TMouseButton, TShiftState s, int, int) { downShift = s; };
    c->OnMouseWheel = [&](TObject *, TShiftState, int delta, TPoint, bool &handled) {
        wheel += delta;
        handled = delta > 0;
    };
    c->OnMouseWheelDown = [&](TObject *, TShiftState, TPoint, bool &handled) {
        ++downs;
        handled = true;
    };
    host.form->Show();
    SendMessageW(c->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_TRUE(downShift & ssDouble);
    SendMessageW(c->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    SendMessageW(c->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(0, wheel);
    EXPECT_EQ(1, downs);
    c->SetFocus();
    other->SetFocus();
    // The shown form gave the keyboard to its first control in tab order: the control entered first.
    EXPECT_EQ((std::vector<AnsiString>{"enter", "dbl", "exit"}), c->log);
}

TEST(Controls, AutoScrollBringsAControlIntoViewAndKeepsItsPosition)
{
    Host host;
    host.form->SetClientWidth(300);
    host.form->SetClientHeight(200);
    host.form->SetAutoScroll(true);
    auto *top = host.Add<TEdit>();
    top->SetBounds(10, 10, 100, 21);
    auto *distant = host.Add<TEdit>();
    distant->SetBounds(10, 500, 100, 21);
    host.form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(0, host.form->VertScrollPosition());
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(host.form->Handle(), SB_VERT, &si));
    EXPECT_EQ(520, si.nMax);

    // Focusing the distant edit scrolls it into the client area.
    distant->SetFocus();
    Application->ProcessMessages();
    int bottom = distant->Top() + distant->Height();
    EXPECT_LE(bottom, host.form->ClientHeight());
    EXPECT_GE(distant->Top(), 0);
    EXPECT_EQ(521 - host.form->ClientHeight(), host.form->VertScrollPosition());
    EXPECT_EQ(10 - host.form->VertScrollPosition(), top->Top());

    // A position given reads back; one past the overhang stops at it; back at 0 all is where it was.
    host.form->SetVertScrollPosition(100);
    EXPECT_EQ(100, host.form->VertScrollPosition());
    EXPECT_EQ(400, distant->Top());
    EXPECT_EQ(100, GetScrollPos(host.form->Handle(), SB_VERT));
    host.form->SetVertScrollPosition(10000);
    EXPECT_EQ(521 - host.form->ClientHeight(), host.form->VertScrollPosition());
    host.form->ScrollInView(top);  // just as far as its top edge
    EXPECT_EQ(10, host.form->VertScrollPosition());
    EXPECT_EQ(0, top->Top());
    host.form->SetVertScrollPosition(0);
    EXPECT_EQ(10, top->Top());
    EXPECT_EQ(500, distant->Top());
    host.form->SetHorzScrollPosition(50);  // nothing reaches past the right edge
    EXPECT_EQ(0, host.form->HorzScrollPosition());

    // Without AutoScroll nothing scrolls.
    host.form->SetAutoScroll(false);
    host.form->SetVertScrollPosition(100);
    EXPECT_EQ(0, host.form->VertScrollPosition());
}

TEST(Controls, FormPaintsOnItsCanvasAndScreenKnowsTheFocus)
{
    Host host;
    host.form->SetColor(clWhite);
    int paints = 0;
    host.form->OnPaint = [&](TObject *) {
        ++paints;
        host.form->Canvas()->Brush()->SetColor(clLime);
        host.form->Canvas()->FillRect(Rect(0, 0, 8, 8));
    };
    host.form->Font()->SetName("Arial");
    EXPECT_EQ("Arial", host.form->Canvas()->Font()->Name());
    auto *edit = host.Add<TEdit>();
    edit->SetTop(50);
    host.form->Show();
    host.form->Repaint();
    EXPECT_GE(paints, 1);
    EXPECT_EQ(clLime, host.form->Canvas()->Pixel(4, 4));
    EXPECT_EQ(clWhite, host.form->Canvas()->Pixel(20, 20));
    edit->SetFocus();
    EXPECT_EQ(edit, Screen->ActiveControl());
}

TEST(Controls, BorderWidthKeepsAMarginForAlignedChildren)
{
    Host host;
    auto *panel = host.Add<TCustomControl>();
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBorderWidth(6);
    auto *inner = new TCustomControl(host.form);
    inner->SetParent(panel);
    inner->SetAlign(alClient);
    EXPECT_EQ(Rect(6, 6, 194, 94), inner->BoundsRect());
    panel->SetBorderWidth(0);
    EXPECT_EQ(Rect(0, 0, 200, 100), inner->BoundsRect());
}

TEST(Controls, ScreenDensityForTestsScalesFormsAndFonts)
{
    Screen->SetPixelsPerInch(120);
    auto *form = new TForm(nullptr);
    form->SetClientWidth(200);
    auto *edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(8, 8, 100, 21);
    form->Show();
    EXPECT_EQ(120, Screen->PixelsPerInch());
    EXPECT_EQ(250, form->ClientWidth());
    EXPECT_EQ(Bounds(10, 10, 125, 26), edit->BoundsRect());
    form->Free();
    Screen->SetPixelsPerInch(0);
    EXPECT_EQ(96, Screen->PixelsPerInch());
}

namespace {
struct SharedImages : TDataModule {
    explicit SharedImages(TComponent *owner) : TDataModule(owner)
    {
        OnCreate = [this](TObject *) { ++created; };
        OnDestroy = [](TObject *) { ++destroyed; };
    }
    int created = 0;
    static int destroyed;
};
int SharedImages::destroyed = 0;
}  // namespace

TEST(Controls, DataModuleIsMadeByTheApplicationButNeverTheMainForm)
{
    TForm *main = Application->MainForm();
    SharedImages *module = nullptr;
    Application->CreateForm(module);
    EXPECT_EQ(Application, module->Owner());
    EXPECT_EQ(1, module->created);
    EXPECT_EQ(main, Application->MainForm());
    module->Free();
    EXPECT_EQ(1, SharedImages::destroyed);
}

// A control laid out over a sibling and brought to the front before any window exists (as a form built
// in its constructor does) is in front once the windows are made, and stays so.
TEST(Controls, BroughtToTheFrontBeforeItsWindowIsMadeItIsInFrontOnceMade)
{
    Host host;
    host.form->BeginLoading();
    auto *under = new TEdit(host.form);
    under->SetParent(host.form);
    under->SetBounds(10, 10, 200, 24);
    auto *over = new TButton(host.form);
    over->SetParent(host.form);
    over->SetBounds(180, 12, 20, 20);
    auto *before = new TButton(host.form);  // a second one brought to the front
    before->SetParent(host.form);
    before->SetBounds(12, 12, 20, 20);
    over->BringToFront();
    before->BringToFront();
    host.form->EndLoading();
    host.form->Show();
    HWND parent = host.form->Handle();
    EXPECT_EQ(over->Handle(), ChildWindowFromPoint(parent, POINT{190, 22}));
    EXPECT_EQ(before->Handle(), ChildWindowFromPoint(parent, POINT{22, 22}));
    EXPECT_EQ(under->Handle(), ChildWindowFromPoint(parent, POINT{100, 22}));
    // Brought to the front once made: no second move when the windows are made again.
    under->BringToFront();
    EXPECT_EQ(under->Handle(), ChildWindowFromPoint(parent, POINT{190, 22}));
    host.form->Hide();
}
