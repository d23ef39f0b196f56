// The caption button's place and its states under the window's messages, without a window: a site that
// records what the button asks of it, the recording theme library and the recording canvas.
#include <gtest/gtest.h>

#include <string>

#include "controls/UZFrmExr.h"
#include "framework/windows/NonClient.h"
#include "framework/graphics/RecordingCanvas.h"

namespace {
struct Site : TCaptionButtonSite {
    std::string log;  // d: redraw, c: capture, g: give back, k: click
    TCaptionButton *button = nullptr;
    std::uint8_t stateAtClick = 0;
    bool throwOnClick = false;
    bool freeOnClick = false;  // the button was made with new
    void RedrawButton() override { log += 'd'; }
    void CaptureMouse() override { log += 'c'; }
    void GiveMouseBack() override { log += 'g'; }
    bool ButtonClicked() override
    {
        log += 'k';
        stateAtClick = button->State();
        if (throwOnClick)
            throw std::runtime_error("click failed");
        if (freeOnClick) {
            delete button;
            return false;
        }
        return true;
    }
};

struct Fixture {
    Fixture()
    {
        site.button = &button;
        button.SetRect(kButton);
    }
    // The answer the button leaves for a hit test the previous procedure answered with `answer`.
    intptr_t Hit(TPoint p, intptr_t answer = HTCAPTION)
    {
        button.HitTest(p, answer);
        return answer;
    }
    std::string Take()
    {
        std::string l = site.log;
        site.log.clear();
        return l;
    }
    static constexpr TRect kButton{400, 6, 416, 20};
    Site site;
    TCaptionButton button{site};
};

const TPoint kOn = Point(405, 10), kOff = Point(300, 10);

struct StandIn {
    explicit StandIn(bool active) : library(active) { SetThemeLibrary(&library); }
    ~StandIn() { SetThemeLibrary(nullptr); }
    TRecordingThemeLibrary library;
};
}  // namespace

TEST(CaptionButton, SitsOneButtonLeftOfTheThreeSystemButtons)
{
    TCaptionMetrics m{4, 4, 18, 18};
    EXPECT_EQ(Bounds(500 - 4 - 72 + 2, 6, 16, 14), CaptionButtonRect(500, m));
    TCaptionMetrics large{8, 6, 32, 30};
    EXPECT_EQ(Rect(800 - 8 - 128 + 2, 8, 800 - 8 - 128 + 2 + 30, 8 + 26), CaptionButtonRect(800, large));
    // Right and bottom edges lie outside the button.
    Fixture f;
    EXPECT_TRUE(f.button.Contains(Point(400, 6)));
    EXPECT_TRUE(f.button.Contains(Point(415, 19)));
    EXPECT_FALSE(f.button.Contains(Point(416, 10)));
    EXPECT_FALSE(f.button.Contains(Point(405, 20)));
}

TEST(CaptionButton, HitTestsOnTheButtonAnswerBorderAndFollowTheHover)
{
    Fixture f;
    EXPECT_EQ(HTBORDER, f.Hit(kOn));
    EXPECT_TRUE(f.button.Hover());
    EXPECT_EQ("d", f.Take());
    EXPECT_EQ(HTBORDER, f.Hit(Point(410, 12)));
    EXPECT_EQ("", f.Take());  // no change, no redraw
    EXPECT_EQ(HTCAPTION, f.Hit(kOff));
    EXPECT_FALSE(f.button.Hover());
    EXPECT_EQ("d", f.Take());
    // Only a caption answer is changed: the system buttons and the client area keep theirs.
    EXPECT_EQ(HTCLIENT, f.Hit(kOn, HTCLIENT));
    EXPECT_EQ(HTMINBUTTON, f.Hit(kOn, HTMINBUTTON));
    EXPECT_FALSE(f.button.Hover());
    // From the button straight onto another part of the frame ends the hover too.
    f.Hit(kOn);
    f.Take();
    EXPECT_EQ(HTCLOSE, f.Hit(Point(450, 10), HTCLOSE));
    EXPECT_FALSE(f.button.Hover());
    EXPECT_EQ("d", f.Take());
}

TEST(CaptionButton, PressAndReleaseOnTheButtonClicksOnce)
{
    Fixture f;
    f.Hit(kOn);
    f.Take();
    f.button.ButtonDown(HTBORDER);
    EXPECT_TRUE(f.button.Pressed());
    EXPECT_TRUE(f.button.Tracking());
    EXPECT_EQ("dc", f.Take());
    f.button.MouseMove(Point(406, 11));
    EXPECT_EQ("", f.Take());
    f.button.ButtonUp();
    // The mouse goes back first; the click runs with the button raised and its click marked.
    EXPECT_EQ("gdkd", f.Take());
    EXPECT_EQ(cbVisible | cbClicking | cbHover, f.site.stateAtClick);
    EXPECT_EQ(cbVisible, f.button.State());
    // A second release (the system's own after the capture went) does nothing.
    f.button.ButtonUp();
    EXPECT_EQ("", f.Take());
}

TEST(CaptionButton, DraggingOffAndReleasingGivesNoClickButComingBackDoes)
{
    Fixture f;
    f.Hit(kOn);
    f.button.ButtonDown(HTBORDER);
    f.Take();
    f.button.MouseMove(kOff);
    EXPECT_FALSE(f.button.Pressed());
    EXPECT_TRUE(f.button.Tracking());
    EXPECT_EQ("d", f.Take());
    f.button.ButtonUp();
    EXPECT_EQ("g", f.Take());
    EXPECT_EQ(cbVisible, f.button.State());

    f.Hit(kOn);
    f.button.ButtonDown(HTBORDER);
    f.button.MouseMove(kOff);
    f.Take();
    f.button.MouseMove(kOn);
    EXPECT_TRUE(f.button.Pressed());
    EXPECT_EQ("d", f.Take());
    f.button.ButtonUp();
    EXPECT_EQ("gdkd", f.Take());
}

TEST(CaptionButton, APressNeedsTheBorderAnswerAndTheHover)
{
    Fixture f;
    f.button.ButtonDown(HTBORDER);  // no hover yet
    f.Hit(kOn);
    f.Take();
    f.button.ButtonDown(HTCAPTION);
    f.button.ButtonDown(HTLEFT);
    EXPECT_EQ("", f.Take());
    EXPECT_FALSE(f.button.Tracking());
    // A release never pressed clicks nothing.
    f.button.ButtonUp();
    EXPECT_EQ("", f.Take());
    // A second press while one is tracked takes no second capture.
    f.button.ButtonDown(HTBORDER);
    f.button.ButtonDown(HTBORDER);
    EXPECT_EQ("dc", f.Take());
}

TEST(CaptionButton, LosingTheCaptureEndsThePressWithoutAClick)
{
    Fixture f;
    f.Hit(kOn);
    f.button.ButtonDown(HTBORDER);
    f.Take();
    f.button.CaptureLost();
    EXPECT_EQ("d", f.Take());
    EXPECT_EQ(cbVisible, f.button.State());
    f.button.ButtonUp();
    EXPECT_EQ("", f.Take());
    f.button.CaptureLost();  // nothing tracked
    EXPECT_EQ("", f.Take());
}

TEST(CaptionButton, AClickThatThrowsStillEndsTheClick)
{
    Fixture f;
    f.site.throwOnClick = true;
    f.Hit(kOn);
    f.button.ButtonDown(HTBORDER);
    f.Take();
    EXPECT_THROW(f.button.ButtonUp(), std::runtime_error);
    EXPECT_EQ("gdkd", f.Take());
    EXPECT_EQ(cbVisible, f.button.State());
}

TEST(CaptionButton, AClickThatFreesTheButtonLeavesItUntouched)
{
    // The click's handler closes the form for good, and the button goes with it.
    Site site;
    site.freeOnClick = true;
    site.button = new TCaptionButton(site);
    site.button->SetRect(Fixture::kButton);
    TPoint on = kOn;
    intptr_t answer = HTCAPTION;
    site.button->HitTest(on, answer);
    site.button->ButtonDown(HTBORDER);
    site.log.clear();
    site.button->ButtonUp();
    EXPECT_EQ("gdk", site.log);
}

TEST(CaptionButton, HiddenItLeavesEveryAnswerAloneAndEndsAPress)
{
    Fixture f;
    f.Hit(kOn);
    f.button.ButtonDown(HTBORDER);
    f.Take();
    f.button.SetVisible(false);
    EXPECT_EQ("g", f.Take());
    EXPECT_EQ(0, f.button.State());
    EXPECT_EQ(HTCAPTION, f.Hit(kOn));
    f.button.ButtonDown(HTBORDER);
    f.button.MouseMove(kOn);
    f.button.ButtonUp();
    EXPECT_EQ("", f.Take());
    EXPECT_EQ(0, f.button.State());
    f.button.SetVisible(true);
    EXPECT_EQ(HTBORDER, f.Hit(kOn));
}

TEST(CaptionButton, DrawnThemedInItsStateOrAsTheClassicHelpButton)
{
    Fixture f;
    {
        StandIn themes(true);
        TRecordingCanvas canvas;
        auto drawnState = [&] {
            themes.library.ClearCalls();
            f.button.Draw(canvas);
            auto drawn = themes.library.CallsOf("DrawBackground");
            EXPECT_EQ(1u, drawn.size());
            EXPECT_EQ(Fixture::kButton, drawn.empty() ? TRect() : drawn[0].Rect);
            return drawn.empty() ? 0 : drawn[0].State;
        };
        EXPECT_EQ(CaptionButtonElement(tcbHelp, tsNormal).State, drawnState());
        f.Hit(kOn);
        EXPECT_EQ(CaptionButtonElement(tcbHelp, tsHot).State, drawnState());
        f.button.ButtonDown(HTBORDER);
        EXPECT_EQ(CaptionButtonElement(tcbHelp, tsPressed).State, drawnState());
        EXPECT_EQ(CaptionButtonElement(tcbHelp, tsPressed).Part, themes.library.CallsOf("DrawBackground")[0].Part);
        EXPECT_TRUE(canvas.Calls().empty());
        // Shown in a designer, the classic button even with the styles on.
        f.button.Draw(canvas, true);
        ASSERT_EQ(1u, canvas.CallsOf("DrawFrameControl").size());
        EXPECT_EQ(DFCS_CAPTIONHELP | DFCS_PUSHED, canvas.Calls()[0].Flags);
    }
    StandIn classic(false);
    TRecordingCanvas canvas;
    f.button.Draw(canvas);
    f.button.MouseMove(kOff);
    f.button.Draw(canvas);
    auto drawn = canvas.CallsOf("DrawFrameControl");
    ASSERT_EQ(2u, drawn.size());
    EXPECT_EQ(DFC_CAPTION, drawn[0].Kind);
    EXPECT_EQ(DFCS_CAPTIONHELP | DFCS_PUSHED, drawn[0].Flags);
    EXPECT_EQ(DFCS_CAPTIONHELP, drawn[1].Flags);
    EXPECT_EQ(Fixture::kButton, drawn[1].Rect);
    EXPECT_TRUE(classic.library.Calls().empty());
    // Hidden, nothing is drawn.
    canvas.ClearCalls();
    f.button.SetVisible(false);
    f.button.Draw(canvas);
    EXPECT_TRUE(canvas.Calls().empty());
}
