// The wait windows on real windows (under Wine inside Xvfb): the scoped one, the shared one with
// nested users and the hourglass, and the wait form's scaling.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/text/CfgLanguage.h"
#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "controls/ControlsRun.h"
#include "controls/messages/dwait.h"
#include "controls/messages/zText.h"
#include "framework/windows/Forms.h"
#include "tests/support/FormHost.h"
#include "tests/support/PageHeap.h"
#include "tests/support/WindowPicture.h"

namespace {

AnsiString WaitShown(TFWait *window) { return window ? window->ZText1->GetText(1) : AnsiString("<no window>"); }

class Wait : public ::testing::Test {
protected:
    TControlsRun run;
    FormHost host;
    TForm *mainBefore = Application->MainForm();

    void SetUp() override
    {
        Screen->SetCursor(crDefault);
        MessageTextProvider = [](std::uint16_t n, bool russian, int kind, AnsiString &out) {
            if (kind == WaitRecordKind && n == 4321)
                out = russian ? "Идет чтение данных" : "Триває читання даних";
        };
    }
    void TearDown() override
    {
        ClearMessageTextProvider();
        Application->SetMainForm(mainBefore);
        Screen->SetCursor(crDefault);
    }
};

}  // namespace

TEST_F(Wait, TheWaitFormIsBuiltAsDesigned)
{
    TFWait form(nullptr);
    EXPECT_EQ(form.Name(), "FWait");
    EXPECT_EQ(form.BorderStyle(), bsNone);
    EXPECT_EQ(form.ClientWidth(), 305);
    EXPECT_EQ(form.ClientHeight(), 152);
    EXPECT_FALSE(form.Scaled());
    ASSERT_NE(form.ZText1, nullptr);
    EXPECT_EQ(form.ZText1->Name(), "ZText1");
    EXPECT_EQ(form.ZText1->Align(), alClient);
    EXPECT_EQ(form.ZText1->Color(), clSkyBlue);
    EXPECT_EQ(form.ZText1->GetHor(0), 0);
    EXPECT_EQ(form.ZText1->GetHor(1), 1);
    EXPECT_EQ(form.ZText1->GetHor(2), 1);
    EXPECT_EQ(form.ZText1->GetFont(4)->Name(), "MS Sans Serif");
    EXPECT_EQ(form.ZText1->GetFont(4)->Height(), -11);
}

TEST_F(Wait, ScopedWindowStandsAtTheOwnersPointWithTheProvidersText)
{
    host.form->SetBounds(100, 80, 400, 300);
    host.form->Show();
    Application->ProcessMessages();
    const int before = host.form->ComponentCount();
    {
        TZWait wait(host.form, 30, 40, 4321, " (файл 1 из 3)");
        TFWait *w = wait.Window();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->Visible());
        EXPECT_EQ(w->Owner(), host.form);
        const TPoint at = host.form->ClientToScreen(Point(30, 40));
        EXPECT_EQ(w->Left(), at.X);
        EXPECT_EQ(w->Top(), at.Y);
        EXPECT_EQ(w->Width(), WaitWidth);
        EXPECT_EQ(w->Height(), WaitHeight);
        const AnsiString expected =
            AnsiString(MessageLanguage() != 0 ? "Идет чтение данных" : "Триває читання даних") + " (файл 1 из 3)";
        EXPECT_EQ(WaitShown(w), expected);
        for (int i = 0; i < 3; ++i) {
            w->Repaint();
            Application->ProcessMessages();
        }
        EXPECT_TRUE(SaveScreenshot(w->Handle(), "wait_window"));
    }
    EXPECT_EQ(host.form->ComponentCount(), before);
}

TEST_F(Wait, ScopedWindowWithoutANumberShowsTheExtraTextAlone)
{
    TZWait wait(host.form, 0, 0, 0, "Подождите");
    EXPECT_EQ(WaitShown(wait.Window()), "Подождите");
}

TEST_F(Wait, AScopedWindowFreedWithItsOwnerIsNotFreedAgain)
{
    TForm *owner = new TForm(nullptr);
    TZWait wait(owner, 0, 0, 0, "x");
    ASSERT_NE(wait.Window(), nullptr);
    owner->Free();
    EXPECT_EQ(wait.Window(), nullptr);
}  // the destructor touches neither the window nor the owner

TEST_F(Wait, AScopedWindowWhoseTextFailsLeavesNoWindowThatClearsTheFailedWaitWhenFreed)
{
    // The text is read after the window is made: a provider that fails ends the wait unbuilt. The window
    // must go with it, not stay with its owner holding the place of the freed wait's pointer, which its
    // freeing would clear. On pages of their own, that write faults.
    TPageHeapScope pages;
    MessageTextProvider = [](std::uint16_t, bool, int, AnsiString &) { throw Exception("no text base"); };
    TForm *owner = new TForm(nullptr);
    EXPECT_THROW(new TZWait(owner, 0, 0, 4321, ""), Exception);
    EXPECT_EQ(0, owner->ComponentCount());
    owner->Free();
}

TEST_F(Wait, NestedUsersShareOneWindowAndTheHourglass)
{
    Application->SetMainForm(host.form);
    host.form->SetBounds(50, 60, 400, 300);
    host.form->Show();
    Application->ProcessMessages();
    TNZWait outer, inner, quiet;
    EXPECT_TRUE(outer.Open(0, false, "Внешний"));
    TFWait *w = TNZWait::SharedWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Owner(), host.form);
    const TPoint at = host.form->ClientToScreen(Point(SharedWaitX, SharedWaitY));
    EXPECT_EQ(w->Left(), at.X);
    EXPECT_EQ(w->Top(), at.Y);
    EXPECT_EQ(w->Width(), WaitWidth);
    EXPECT_EQ(w->Height(), WaitHeight);
    EXPECT_EQ(WaitShown(w), "Внешний");
    EXPECT_EQ(Screen->Cursor(), crHourGlass);

    // A user that does not change the text leaves it, and its close changes nothing.
    quiet.Open(0, false, "Тихий");
    EXPECT_EQ(WaitShown(w), "Внешний");

    EXPECT_TRUE(inner.Open(4321, true, ""));
    EXPECT_EQ(TNZWait::SharedWindow(), w);
    EXPECT_NE(WaitShown(w), "Внешний");
    EXPECT_FALSE(WaitShown(w).empty());

    EXPECT_TRUE(inner.Close());
    EXPECT_EQ(TNZWait::SharedWindow(), w);
    EXPECT_EQ(WaitShown(w), "Внешний");
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    quiet.Close();
    EXPECT_EQ(WaitShown(w), "Внешний");
    EXPECT_EQ(Screen->Cursor(), crHourGlass);

    EXPECT_TRUE(outer.Close());
    EXPECT_EQ(TNZWait::SharedWindow(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);

    // Closing again, and the destructors after explicit closes, change nothing.
    EXPECT_TRUE(outer.Close());
    EXPECT_TRUE(inner.Close());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(TNZWait::SharedWindow(), nullptr);
}

TEST_F(Wait, TheOpenersCursorComesBackEvenWhenItWasNotTheDefault)
{
    Screen->SetCursor(crHandPoint);
    {
        TNZWait wait;
        wait.Open(0, false, "x");
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
    }  // the destructor closes
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    EXPECT_EQ(TNZWait::SharedWindow(), nullptr);
}

TEST_F(Wait, WithoutAMainFormTheWindowStandsAtTheScreenPoint)
{
    Application->SetMainForm(nullptr);
    TNZWait wait;
    wait.Open(0, false, "Без главной формы");
    TFWait *w = TNZWait::SharedWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Owner(), nullptr);
    EXPECT_EQ(w->Left(), SharedWaitX);
    EXPECT_EQ(w->Top(), SharedWaitY);
    wait.Close();
    EXPECT_EQ(TNZWait::SharedWindow(), nullptr);
}

TEST_F(Wait, AWindowFreedWithTheMainFormLeavesNothingDangling)
{
    TForm *main = new TForm(nullptr);
    Application->SetMainForm(main);
    TNZWait wait;
    wait.Open(0, false, "x");
    ASSERT_NE(TNZWait::SharedWindow(), nullptr);
    Application->SetMainForm(mainBefore);
    main->Free();
    EXPECT_EQ(TNZWait::SharedWindow(), nullptr);
    EXPECT_TRUE(wait.Close());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // A new opener makes a new window.
    TNZWait next;
    next.Open(0, false, "y");
    EXPECT_EQ(WaitShown(TNZWait::SharedWindow()), "y");
    next.Close();
}

TEST_F(Wait, WithFormScalingOnTheShownFormScalesOnceAndItsMiddleFontsBecomeArial)
{
    const int screen = ScreenDensity, design = DesignDensity, scaling = FormScaling;
    ScreenDensity = 1000;
    DesignDensity = 800;
    FormScaling = 1;
    {
        TFWait form(nullptr);
        form.SetBounds(0, 0, WaitWidth, WaitHeight);
        form.Show();
        form.Hide();
        form.Show();
        EXPECT_EQ(form.Width(), MulDivRound(WaitWidth, 1000, 800));
        EXPECT_EQ(form.ZText1->GetFont(1)->Name(), "Arial");
        EXPECT_EQ(form.ZText1->GetFont(2)->Name(), "Arial");
        EXPECT_EQ(form.ZText1->GetFont(1)->Size(), 10);  // 8 points, scaled once
        EXPECT_EQ(form.ZText1->GetFont(0)->Name(), "MS Sans Serif");
    }
    FormScaling = 0;
    {
        TFWait form(nullptr);
        form.Show();
        EXPECT_EQ(form.ZText1->GetFont(1)->Name(), "MS Sans Serif");
    }
    ScreenDensity = screen;
    DesignDensity = design;
    FormScaling = scaling;
}
