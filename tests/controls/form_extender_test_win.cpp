// The caption button extender, the layout-aware rich edit and hooking a window twice, on real windows.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/ControlsRun.h"
#include "controls/RichEditEx.h"
#include "controls/UZFrmExr.h"
#include "framework/runtime/Classes.h"
#include "framework/windows/Forms.h"
#include "framework/windows/NonClient.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/Subclass.h"
#include "framework/graphics/Themes.h"
#include "tests/support/FormHost.h"
#include "tests/support/PageHeap.h"
#include "tests/support/Processes.h"
#include "tests/support/TempFolder.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {
// The driver's report: each line a name and its numbers.
std::map<std::string, std::vector<long>> ReadReport(const std::string &text)
{
    std::map<std::string, std::vector<long>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string name;
        words >> name;
        long n;
        while (words >> n)
            lines[name].push_back(n);
    }
    return lines;
}
}  // namespace

TEST(FormExtender, AnOwnerThatIsNoFormIsRefusedByName)
{
    TControlsRun run;
    FormHost host;
    auto *panel = host.Add<TButton>();
    try {
        new TFormExtender(panel);
        ADD_FAILURE() << "a button was taken for a form";
    } catch (const EClassNotFound &e) {
        EXPECT_STREQ("TFormExtender... Только для форм!", e.what());
    }
    EXPECT_THROW(new TFormExtender(nullptr), EClassNotFound);
    // The refused extender left nothing behind in the button's components.
    EXPECT_EQ(0, panel->ComponentCount());
}

TEST(FormExtender, HooksItsFormUntilFreedAndPlacesTheButtonByTheMetrics)
{
    TControlsRun run;
    FormHost host;
    host.form->SetBounds(20, 20, 420, 200);
    HWND window = host.form->Handle();
    void *own = WindowProcedure(window);
    auto *extender = new TFormExtender(host.form);
    EXPECT_NE(own, WindowProcedure(window));
    TCaptionMetrics m{Screen->SystemMetric(smCxFrame), Screen->SystemMetric(smCyFrame), Screen->SystemMetric(smCxSize),
                      Screen->SystemMetric(smCySize)};
    EXPECT_EQ(CaptionButtonRect(420, m), extender->ButtonRect());
    host.form->SetWidth(500);
    EXPECT_EQ(CaptionButtonRect(500, m), extender->ButtonRect());
    EXPECT_TRUE(extender->GetVisible());

    // Taken out of a region of the screen where the window stands; what is no region is left alone.
    TRect frame = WindowScreenRect(window), button = extender->ButtonRect();
    TRegion region(frame);
    extender->ExcludeButtonRgn(reinterpret_cast<uintptr_t>(region.Handle()));
    EXPECT_FALSE(region.Contains(Point(frame.Left + button.Left, frame.Top + button.Top)));
    EXPECT_FALSE(region.Contains(Point(frame.Left + button.Right - 1, frame.Top + button.Bottom - 1)));
    EXPECT_TRUE(region.Contains(Point(frame.Left + button.Left - 1, frame.Top + button.Top)));
    extender->ExcludeButtonRgn(0);
    extender->ExcludeButtonRgn(1);

    extender->SetVisible(false);
    EXPECT_FALSE(extender->GetVisible());
    delete extender;
    EXPECT_EQ(own, WindowProcedure(window));
}

TEST(FormExtender, GoesWithItsForm)
{
    TControlsRun run;
    auto *form = new TForm(nullptr);
    form->SetBounds(20, 20, 300, 150);
    auto *extender = new TFormExtender(form);
    int clicks = 0;
    extender->OnClick = [&](TObject *) { ++clicks; };
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(1, form->ComponentCount());
    form->Free();  // frees the extender with it; the window's last messages find no stale hook
    Application->ProcessMessages();
    EXPECT_EQ(0, clicks);
}

TEST(FormExtender, ANewCaptionTextIsDrawnWithTheButtonStillOnIt)
{
    // Setting a window's text paints its caption anew without a non-client paint message: the button
    // must be drawn again after it, or a language switch leaves a caption without its button.
    TControlsRun run;
    TRecordingThemeLibrary library;
    SetThemeLibrary(&library);
    auto *form = new TForm(nullptr);
    form->SetBounds(20, 20, 320, 150);
    new TFormExtender(form);
    form->Show();
    Application->ProcessMessages();
    auto buttonDraws = [&] {
        int n = 0;
        for (const TThemeCall &call : library.CallsOf("DrawBackground"))
            n += call.Class == TThemeClass::Window;
        return n;
    };
    EXPECT_GT(buttonDraws(), 0);
    library.ClearCalls();
    form->SetCaption("Нова назва");
    EXPECT_GT(buttonDraws(), 0);
    form->Free();
    SetThemeLibrary(nullptr);
}

TEST(FormExtender, AFormThatFreesItselfLeavesItsFreedExtenderUntouched)
{
    // Closed with caFree or released, the form frees itself, and the extender it owns, inside the
    // extender's own window procedure; on pages of their own, a read of the freed extender faults.
    TControlsRun run;
    TPageHeapScope pages;
    for (bool close : {true, false}) {
        SCOPED_TRACE(close ? "closed with caFree" : "released");
        auto *form = new TForm(nullptr);
        form->SetBounds(20, 20, 300, 150);
        form->OnClose = [](TObject *, TCloseAction &action) { action = caFree; };
        new TFormExtender(form);
        const int forms = Screen->FormCount();
        close ? form->Close() : form->Release();
        Application->ProcessMessages();
        EXPECT_EQ(forms - 1, Screen->FormCount());
    }
}

TEST(FormExtender, TheButtonFollowsTheFormToTheWindowsItMakesAnew)
{
    // A change of the border icons or style makes the form's window anew: the new window is hooked
    // and the button placed and drawn on it in its own frame.
    TControlsRun run;
    TRecordingThemeLibrary library;
    SetThemeLibrary(&library);
    FormHost plain;
    void *frameworkProc = WindowProcedure(plain.form->Handle());
    auto *form = new TForm(nullptr);
    form->SetBounds(20, 20, 320, 150);
    auto *extender = new TFormExtender(form);
    const TCaptionMetrics m{Screen->SystemMetric(smCxFrame), Screen->SystemMetric(smCyFrame),
                            Screen->SystemMetric(smCxSize), Screen->SystemMetric(smCySize)};
    auto buttonDraws = [&] {
        int n = 0;
        for (const TThemeCall &call : library.CallsOf("DrawBackground"))
            n += call.Class == TThemeClass::Window;
        return n;
    };
    for (int change = 0; change < 2; ++change) {
        SCOPED_TRACE(change == 0 ? "border icons" : "border style");
        HWND before = form->Handle();
        if (change == 0)
            form->SetBorderIcons(biSystemMenu | biMinimize);
        else
            form->SetBorderStyle(bsSingle);
        HWND now = form->Handle();
        ASSERT_NE(before, now);
        EXPECT_NE(frameworkProc, WindowProcedure(now));
        EXPECT_EQ(CaptionButtonRect(WindowScreenRect(now).Width(), m), extender->ButtonRect());
        Application->ProcessMessages();
        library.ClearCalls();
        form->SetCaption(change == 0 ? "Перша" : "Друга");
        EXPECT_GT(buttonDraws(), 0);
    }
    form->Free();
    SetThemeLibrary(nullptr);
}

TEST(SubClass, HookingTwiceKeepsTheFirstWindowAndUnhookRestoresIt)
{
    FormHost first, second;
    HWND a = first.form->Handle(), b = second.form->Handle();
    void *procA = WindowProcedure(a), *procB = WindowProcedure(b);
    int seen = 0;
    TSubClass sub;
    sub.Hook(a, [&](TMessage &m) {
        ++seen;
        sub.CallOldProc(m);
    });
    sub.Hook(b, [&](TMessage &m) { sub.CallOldProc(m); });
    EXPECT_EQ(a, sub.Window());
    EXPECT_EQ(procB, WindowProcedure(b));
    SendMessageW(a, WM_NULL, 0, 0);
    EXPECT_EQ(1, seen);
    sub.Unhook();
    EXPECT_EQ(procA, WindowProcedure(a));
    EXPECT_EQ(procB, WindowProcedure(b));
    EXPECT_FALSE(sub.Hooked());
}

TEST(RichEditEx, ALayoutChangeFiresOnLangChangeOnceAndGoesNoFurther)
{
    TControlsRun run;
    FormHost host;
    auto *rich = host.Add<TRichEditEx>();
    rich->SetBounds(10, 10, 200, 100);
    int changes = 0;
    TObject *sender = nullptr;
    rich->OnLangChange = [&](TObject *s) {
        ++changes;
        sender = s;
    };
    host.form->Show();
    rich->SetFocus();
    Application->ProcessMessages();
    // As the system sends it: the character set and the new layout.
    EXPECT_EQ(1, SendMessageW(rich->Handle(), WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, 0x04190419));
    EXPECT_EQ(1, changes);
    EXPECT_EQ(rich, sender);
    EXPECT_EQ(1, rich->Perform(WM_INPUTLANGCHANGE, ANSI_CHARSET, 0x04090409));
    EXPECT_EQ(2, changes);
    // Without a handler the change is still taken.
    rich->OnLangChange = nullptr;
    EXPECT_EQ(1, SendMessageW(rich->Handle(), WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, 0x04190419));
    rich->OnLangChange = [&](TObject *) { ++changes; };

    // A real switch of the layout, where this system sends the change to the focused window.
    unsigned short before = ActiveKeyboardLanguage();
    unsigned short other = before == 0x0419 ? 0x0409 : 0x0419;
    changes = 0;
    if (ActivateKeyboardLayoutOf(other)) {
        Application->ProcessMessages();
        if (changes == 0)
            std::printf("This system sends no layout change to the window on a switch\n");
        else
            EXPECT_EQ(1, changes);
    }
    ActivateKeyboardLayoutOf(before);
    Application->ProcessMessages();
}

// The button under the mouse as a user moves it: a driver program runs the extender inside a Wine
// desktop (only there has a window its caption) with input through the window system, and reports.
TEST(FormExtender, TheCaptionButtonFollowsRealMouseInputInsideADesktop)
{
    TempFolder folder;
    AnsiString result = folder / "caption.txt";
    TStartedProcess driver;
    // The desktop takes the size of the screen: while it lasts, every program of this Wine session sees
    // its size as the screen's.
    const AnsiString size =
        std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN));
    ASSERT_TRUE(driver.Start("explorer.exe /desktop=qmtcaptionbutton," + size +
                                 " \"" QMT_HELPER_DIR "\\captionbutton.exe\" \"" + result + "\"",
                             folder.Path()));
    ASSERT_NE(~0u, driver.Wait(120000)) << "the driver did not end";
    const std::string text = ReadWholeFile(result);
    auto report = ReadReport(text);
    SCOPED_TRACE(text);
    ASSERT_TRUE(report.count("released-back"));

    // Where the metrics put it: one caption button's place left of the three system buttons.
    const auto &w = report["window"], &m = report["metrics"], &b = report["button"];
    ASSERT_EQ(4u, w.size());
    ASSERT_EQ(4u, m.size());
    TCaptionMetrics metrics{int(m[0]), int(m[1]), int(m[2]), int(m[3])};
    EXPECT_EQ(CaptionButtonRect(int(w[2] - w[0]), metrics), Rect(int(b[0]), int(b[1]), int(b[2]), int(b[3])));
    EXPECT_EQ(w[2] - w[0] - m[0] - 4 * m[2] + 2, b[0]);
    EXPECT_EQ(m[1] + 2, b[1]);

    // On the button the caption answers HTBORDER, elsewhere as it did; hidden, as without the extender.
    const auto &plain = report["plain"], &extended = report["extended"];
    ASSERT_EQ(6u, plain.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(HTCAPTION, plain[i]) << i;
        EXPECT_EQ(HTBORDER, extended[i]) << i;
    }
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(plain[i], extended[i]) << i;
    EXPECT_EQ(plain, report["hidden"]);

    EXPECT_EQ((std::vector<long>{cbVisible | cbHover}), report["hover"]);
    EXPECT_EQ((std::vector<long>{cbVisible}), report["away"]);
    // Pressed: drawn pressed with the mouse captured; released on it: one click, the capture gone.
    EXPECT_EQ((std::vector<long>{cbVisible | cbHover | cbPressed | cbTracking, 1}), report["pressed"]);
    // (The click clears the hover; the pointer still on the button may set it again at once.)
    auto settled = [](std::vector<long> line) {
        if (line.size() > 1)
            line[1] &= ~long(cbHover);
        return line;
    };
    EXPECT_EQ((std::vector<long>{1, cbVisible, 0}), settled(report["click"]));
    // Dragged off and released there: raised while off, no click.
    EXPECT_EQ((std::vector<long>{cbVisible | cbTracking}), report["dragged-off"]);
    EXPECT_EQ((std::vector<long>{0, cbVisible, 0}), report["released-off"]);
    // Dragged off and back before the release: one click.
    EXPECT_EQ((std::vector<long>{cbVisible | cbTracking}), report["dragged-below"]);
    EXPECT_EQ((std::vector<long>{cbVisible | cbHover | cbPressed | cbTracking}), report["dragged-back"]);
    EXPECT_EQ((std::vector<long>{1, cbVisible, 0}), settled(report["released-back"]));
    // Hidden, the pointer over its place changes nothing.
    EXPECT_EQ((std::vector<long>{0}), report["hidden-hover"]);
}
