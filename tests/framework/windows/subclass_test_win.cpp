// Subclassing and the non-client area on real windows (run under Wine inside Xvfb).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/runtime/Exception.h"
#include "framework/windows/Forms.h"
#include "framework/windows/NonClient.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/Subclass.h"
#include "tests/support/FormHost.h"

namespace {
// A form whose own procedure counts the messages that reach it.
class TCountingForm : public TForm {
public:
    using TForm::TForm;
    void WndProc(TMessage &m) override
    {
        if (m.Msg == WM_SETTEXT)
            ++textsSet;
        TForm::WndProc(m);
    }
    int textsSet = 0;
};

// A hook that answers WM_NCHITTEST itself (HTBORDER where the window says HTCLIENT) and passes every
// message on to the window's previous procedure.
struct HitTestHook {
    TSubClass sub;
    std::vector<unsigned> seen;
    int hitTests = 0;
    void Hook(HWND window)
    {
        sub.Hook(window, [this](TMessage &m) {
            seen.push_back(m.Msg);
            sub.CallOldProc(m);
            if (m.Msg == WM_NCHITTEST) {
                ++hitTests;
                if (m.Result == HTCLIENT)
                    m.Result = HTBORDER;
            }
        });
    }
};

TPoint ClientCentre(TWinControl *control)
{
    return control->ClientToScreen(Point(control->ClientWidth() / 2, control->ClientHeight() / 2));
}
}  // namespace

TEST(Subclass, HookedWindowSeesHitTestsAndPassesTheRestOnUnhookRestores)
{
    auto *form = new TCountingForm(nullptr);
    form->SetBounds(50, 50, 300, 200);
    form->Show();
    HWND h = form->Handle();
    void *framework = WindowProcedure(h);
    const int freeBefore = FreeObjectInstanceCount();
    HitTestHook hook;
    hook.Hook(h);
    EXPECT_TRUE(hook.sub.Hooked());
    EXPECT_EQ(h, hook.sub.Window());
    EXPECT_EQ(framework, hook.sub.OldProc());
    EXPECT_NE(framework, WindowProcedure(h));
    EXPECT_EQ(freeBefore - 1, FreeObjectInstanceCount());

    TPoint centre = ClientCentre(form);
    EXPECT_EQ(HTBORDER, SendMessageW(h, WM_NCHITTEST, 0, PointToLParam(centre)));
    EXPECT_EQ(1, hook.hitTests);
    // Everything else reaches the form as before, through the hook.
    form->SetCaption("Новый заголовок");
    EXPECT_EQ(1, form->textsSet);
    EXPECT_EQ("Новый заголовок", form->Caption());
    EXPECT_NE(std::find(hook.seen.begin(), hook.seen.end(), static_cast<unsigned>(WM_SETTEXT)), hook.seen.end());
    // Perform goes through the window's current procedure, so the hook sees it as well.
    EXPECT_EQ(HTBORDER, form->Perform(WM_NCHITTEST, 0, PointToLParam(centre)));
    EXPECT_EQ(2, hook.hitTests);

    hook.sub.Unhook();
    EXPECT_FALSE(hook.sub.Hooked());
    EXPECT_EQ(nullptr, hook.sub.OldProc());
    EXPECT_EQ(framework, WindowProcedure(h));
    EXPECT_EQ(freeBefore, FreeObjectInstanceCount());
    EXPECT_EQ(HTCLIENT, SendMessageW(h, WM_NCHITTEST, 0, PointToLParam(centre)));
    EXPECT_EQ(2, hook.hitTests);
    form->SetCaption("Снова");
    EXPECT_EQ(2, form->textsSet);
    form->Free();
}

TEST(Subclass, HooksASystemControlAndTheDestructorUnhooks)
{
    FormHost host;
    auto *edit = host.Add<TEdit>();
    edit->SetBounds(10, 10, 120, 24);
    host.form->Show();
    HWND h = edit->Handle();
    void *before = WindowProcedure(h);
    int chars = 0;
    {
        TSubClass sub;
        sub.Hook(h, [&](TMessage &m) {
            if (m.Msg == WM_CHAR) {
                ++chars;
                if (m.WParam == 'x')
                    return;  // swallowed
            }
            sub.CallOldProc(m);
        });
        // A second Hook while hooked changes nothing.
        sub.Hook(h, [](TMessage &) {});
        SendMessageW(h, WM_CHAR, 'a', 0);
        SendMessageW(h, WM_CHAR, 'x', 0);
        SendMessageW(h, WM_CHAR, 'b', 0);
        EXPECT_EQ(3, chars);
        EXPECT_EQ("ab", edit->Text());
    }
    EXPECT_EQ(before, WindowProcedure(h));
    SendMessageW(h, WM_CHAR, 'x', 0);
    EXPECT_EQ(3, chars);
    EXPECT_EQ("abx", edit->Text());
}

TEST(Subclass, UnhookingUnderAnotherHookKeepsTheChainWhole)
{
    auto *form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 150);
    form->Show();
    HWND h = form->Handle();
    void *framework = WindowProcedure(h);
    const int freeBefore = FreeObjectInstanceCount();
    HitTestHook lower;
    lower.Hook(h);
    int upperSeen = 0;
    TSubClass upper;
    upper.Hook(h, [&](TMessage &m) {
        if (m.Msg == WM_NCHITTEST)
            ++upperSeen;
        upper.CallOldProc(m);
    });
    TPoint centre = ClientCentre(form);
    EXPECT_EQ(HTBORDER, SendMessageW(h, WM_NCHITTEST, 0, PointToLParam(centre)));

    // The lower hook cannot take itself out from under the upper one: it only stops acting.
    lower.sub.Unhook();
    EXPECT_FALSE(lower.sub.Hooked());
    EXPECT_EQ(HTCLIENT, SendMessageW(h, WM_NCHITTEST, 0, PointToLParam(centre)));
    EXPECT_EQ(2, upperSeen);
    EXPECT_EQ(1, lower.hitTests);
    form->SetCaption("Цепочка");
    EXPECT_EQ("Цепочка", form->Caption());
    // Its stub stays taken until the window is gone; the upper hook unhooks itself then.
    EXPECT_EQ(freeBefore - 2, FreeObjectInstanceCount());
    upper.Unhook();
    EXPECT_NE(framework, WindowProcedure(h));
    EXPECT_EQ(freeBefore - 1, FreeObjectInstanceCount());
    EXPECT_EQ(HTCLIENT, SendMessageW(h, WM_NCHITTEST, 0, PointToLParam(centre)));
    form->Free();
    EXPECT_EQ(freeBefore, FreeObjectInstanceCount());
}

TEST(Subclass, AHookOnAControlFollowsItToItsNextWindow)
{
    auto *form = new TForm(nullptr);
    form->SetBounds(60, 60, 240, 160);
    const int freeBefore = FreeObjectInstanceCount();
    HitTestHook hook;
    hook.sub.Hook(form, [&](TMessage &m) {
        if (m.Msg == WM_NCHITTEST)
            ++hook.hitTests;
        hook.sub.CallOldProc(m);
    });
    EXPECT_EQ(form, hook.sub.Control());
    HWND first = form->Handle();
    EXPECT_EQ(first, hook.sub.Window());
    form->Show();
    // Other border icons: the form makes its window anew, and the hook goes over the new one.
    form->SetBorderIcons(biSystemMenu);
    HWND second = form->Handle();
    EXPECT_EQ(second, hook.sub.Window());
    EXPECT_TRUE(hook.sub.Hooked());
    EXPECT_EQ(freeBefore - 1, FreeObjectInstanceCount());
    form->Perform(WM_NCHITTEST, 0, PointToLParam(ClientCentre(form)));
    EXPECT_EQ(1, hook.hitTests);
    // Unhooked, it stays off the windows made after.
    hook.sub.Unhook();
    EXPECT_EQ(nullptr, hook.sub.Control());
    form->SetBorderIcons(biSystemMenu | biMinimize);
    form->Perform(WM_NCHITTEST, 0, PointToLParam(ClientCentre(form)));
    EXPECT_EQ(1, hook.hitTests);
    EXPECT_FALSE(hook.sub.Hooked());
    // Hooked again and the control freed: nothing of the hook stays.
    hook.sub.Hook(form, [&](TMessage &m) { hook.sub.CallOldProc(m); });
    form->Free();
    EXPECT_FALSE(hook.sub.Hooked());
    EXPECT_EQ(nullptr, hook.sub.Control());
    EXPECT_EQ(freeBefore, FreeObjectInstanceCount());
}

TEST(Subclass, AWindowDestroyedWhileHookedUnhooksItself)
{
    HWND h = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, h);
    const int freeBefore = FreeObjectInstanceCount();
    TSubClass sub;
    bool lastSeen = false;
    sub.Hook(h, [&](TMessage &m) {
        if (m.Msg == WM_NCDESTROY)
            lastSeen = true;
        sub.CallOldProc(m);
    });
    DestroyWindow(h);
    EXPECT_TRUE(lastSeen);
    EXPECT_FALSE(sub.Hooked());
    EXPECT_EQ(freeBefore, FreeObjectInstanceCount());
    sub.Unhook();  // nothing left to do
}

TEST(Subclass, AHookMayUnhookItselfWhileHandlingAMessage)
{
    HWND h = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, h);
    void *before = WindowProcedure(h);
    TSubClass sub;
    int seen = 0;
    sub.Hook(h, [&](TMessage &m) {
        ++seen;
        sub.CallOldProc(m);
        if (m.Msg == WM_USER)
            sub.Unhook();
    });
    SendMessageW(h, WM_USER, 0, 0);
    EXPECT_FALSE(sub.Hooked());
    EXPECT_EQ(before, WindowProcedure(h));
    SendMessageW(h, WM_USER, 0, 0);
    EXPECT_EQ(1, seen);
    DestroyWindow(h);
}

TEST(Subclass, StubsRunOutWithAClearErrorAndComeBack)
{
    std::vector<void *> taken;
    const int free = FreeObjectInstanceCount();
    for (int i = 0; i < free; ++i)
        taken.push_back(MakeObjectInstance([](TMessage &) {}));
    EXPECT_EQ(0, FreeObjectInstanceCount());
    EXPECT_THROW(MakeObjectInstance([](TMessage &) {}), Exception);
    HWND h = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    TSubClass sub;
    EXPECT_THROW(sub.Hook(h, [](TMessage &) {}), Exception);
    EXPECT_FALSE(sub.Hooked());
    for (void *stub : taken)
        FreeObjectInstance(stub);
    EXPECT_EQ(free, FreeObjectInstanceCount());
    DestroyWindow(h);
}

TEST(Subclass, AStubCallsItsMethodWithTheMessage)
{
    TMessage got;
    void *stub = MakeObjectInstance([&](TMessage &m) {
        got = m;
        m.Result = 42;
    });
    auto proc = reinterpret_cast<WNDPROC>(stub);
    EXPECT_EQ(42, CallWindowProcW(proc, nullptr, WM_USER + 5, 7, -3));
    EXPECT_EQ(static_cast<unsigned>(WM_USER + 5), got.Msg);
    EXPECT_EQ(7u, got.WParam);
    EXPECT_EQ(-3, got.LParam);
    FreeObjectInstance(stub);
    FreeObjectInstance(nullptr);
}

// ---- the non-client area -----------------------------------------------------------------------------

TEST(NonClient, PointsPackIntoTheMessageParameterWithTheirSigns)
{
    EXPECT_EQ(Point(-5, 7), PointFromLParam(PointToLParam(Point(-5, 7))));
    EXPECT_EQ(Point(1200, -30000), PointFromLParam(PointToLParam(Point(1200, -30000))));
    EXPECT_EQ(MAKELPARAM(10, 20), PointToLParam(Point(10, 20)));
}

TEST(NonClient, RegionsAndTheirDifference)
{
    TRegion region(Rect(0, 0, 100, 50));
    EXPECT_EQ(Rect(0, 0, 100, 50), region.Bounds());
    region.Subtract(Rect(90, 0, 100, 50));
    EXPECT_EQ(Rect(0, 0, 90, 50), region.Bounds());
    region.Subtract(Rect(40, 10, 50, 20));
    EXPECT_TRUE(region.Contains(Point(5, 5)));
    EXPECT_FALSE(region.Contains(Point(45, 15)));
    EXPECT_FALSE(region.Contains(Point(95, 5)));
    EXPECT_FALSE(region.Empty());
    region.Unite(Rect(200, 0, 210, 10));
    EXPECT_EQ(Rect(0, 0, 210, 50), region.Bounds());
    TRegion hole(Rect(0, 0, 300, 300));
    region.Subtract(hole);
    EXPECT_TRUE(region.Empty());
    EXPECT_EQ(TRect{}, region.Bounds());
    EXPECT_TRUE(TRegion().Empty());

    TRegion moved = TRegion(Rect(1, 1, 3, 3));
    HRGN own = moved.Release();
    EXPECT_TRUE(moved.Empty());
    // A region someone else owns: 0 and 1 are no regions (WM_NCPAINT's "whole frame").
    SubtractRectFromRegion(reinterpret_cast<uintptr_t>(own), Rect(1, 1, 2, 3));
    RECT box;
    GetRgnBox(own, &box);
    EXPECT_EQ(2, box.left);
    DeleteObject(own);
    EXPECT_FALSE(IsRegionHandle(0));
    EXPECT_FALSE(IsRegionHandle(1));
    SubtractRectFromRegion(1, Rect(0, 0, 5, 5));
}

TEST(NonClient, FramePaintCarriesARegionOfTheRectangle)
{
    auto *form = new TForm(nullptr);
    form->SetBounds(100, 100, 240, 160);
    form->Show();
    HWND h = form->Handle();
    TSubClass sub;
    std::vector<TRect> painted;
    int wholeFrame = 0;
    sub.Hook(h, [&](TMessage &m) {
        if (m.Msg == WM_NCPAINT) {
            if (IsRegionHandle(m.WParam)) {
                RECT box;
                GetRgnBox(reinterpret_cast<HRGN>(m.WParam), &box);
                painted.push_back(Rect(box.left, box.top, box.right, box.bottom));
            } else if (m.WParam == 1)
                ++wholeFrame;
        }
        sub.CallOldProc(m);
    });
    RepaintFrame(h, Rect(110, 100, 130, 118));
    ASSERT_EQ(1u, painted.size());
    EXPECT_EQ(Rect(110, 100, 130, 118), painted[0]);
    RepaintFrame(h);
    EXPECT_EQ(1, wholeFrame);
    RepaintFrame(nullptr);
    sub.Unhook();
    form->Free();
}

TEST(NonClient, MouseCaptureIsSetReadAndReleased)
{
    FormHost host;
    auto *edit = host.Add<TEdit>();
    host.form->Show();
    ReleaseMouseCapture();
    EXPECT_EQ(nullptr, MouseCapture());
    EXPECT_EQ(nullptr, SetMouseCapture(host.form->Handle()));
    EXPECT_EQ(host.form->Handle(), MouseCapture());
    EXPECT_EQ(host.form->Handle(), SetMouseCapture(edit->Handle()));
    EXPECT_EQ(edit->Handle(), MouseCapture());
    ReleaseMouseCapture();
    EXPECT_EQ(nullptr, MouseCapture());
}

TEST(NonClient, TheWindowOnTopAtAPointThroughTheWindowSystem)
{
    FormHost host;
    host.form->SetBounds(300, 200, 300, 200);
    auto *edit = host.Add<TEdit>();
    edit->SetBounds(10, 10, 100, 24);
    host.form->Show();
    TPoint onEdit = edit->ClientToScreen(Point(5, 5));
    EXPECT_EQ(edit->Handle(), WindowAtPoint(onEdit));
    EXPECT_EQ(host.form->Handle(), TopLevelWindowAtPoint(onEdit));
    TPoint onForm = host.form->ClientToScreen(Point(200, 150));
    EXPECT_EQ(host.form->Handle(), WindowAtPoint(onForm));

    // Another form over it takes the point; hidden again, the first one is back on top.
    auto *over = new TForm(nullptr);
    over->SetBounds(320, 220, 100, 100);
    over->Show();
    over->BringToFront();
    TPoint shared = Point(350, 250);
    EXPECT_EQ(over->Handle(), TopLevelWindowAtPoint(shared));
    over->Hide();
    EXPECT_EQ(host.form->Handle(), TopLevelWindowAtPoint(shared));
    over->Free();
}

TEST(NonClient, TheWindowCanvasReachesTheWholeWindow)
{
    auto *form = new TForm(nullptr);
    form->SetBounds(40, 40, 200, 120);
    form->SetColor(clWhite);
    form->Show();
    form->Repaint();
    HWND h = form->Handle();
    TRect outer = WindowScreenRect(h);
    EXPECT_EQ(200, outer.Width());
    EXPECT_EQ(Point(0, 0), ScreenToWindow(h, Point(outer.Left, outer.Top)));
    // Window coordinates start at the frame's outer corner: the client area lies inside by the frame.
    // (On a bare X screen the frame itself is not shown, so only the client part can be read back.)
    TPoint client = ScreenToWindow(h, form->ClientToScreen(Point(0, 0)));
    {
        TWindowCanvas canvas(h);
        EXPECT_EQ(h, canvas.Window());
        canvas.Brush()->SetColor(clRed);
        canvas.FillRect(Rect(client.X, client.Y, client.X + 10, client.Y + 10));
        canvas.Brush()->SetColor(clBlue);
        canvas.FillRect(Rect(client.X + 10, client.Y, client.X + 20, client.Y + 10));
        EXPECT_EQ(static_cast<TColor>(RGB(255, 0, 0)), canvas.Pixel(client.X, client.Y));
        canvas.Release();
        EXPECT_EQ(static_cast<TColor>(RGB(0, 0, 255)), canvas.Pixel(client.X + 10, client.Y));  // a fresh context
    }
    HDC dc = GetDC(h);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 10, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 30, 0));
    ReleaseDC(h, dc);
    TWindowCanvas none(nullptr);
    EXPECT_THROW(none.FillRect(Rect(0, 0, 1, 1)), Exception);
    form->Free();
}

TEST(NonClient, SystemMetricsOfFramesAndCaptionButtons)
{
    EXPECT_GT(Screen->SystemMetric(smCxFrame), 0);
    EXPECT_GT(Screen->SystemMetric(smCySize), 0);
    EXPECT_GT(Screen->SystemMetric(smCxSize), 0);
    EXPECT_GT(Screen->SystemMetric(smCxMenuCheck), 0);
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), Screen->SystemMetric(smSwapButton));
    EXPECT_EQ(GetSystemMetrics(SM_CYFRAME), Screen->SystemMetric(smCyFrame));
}
