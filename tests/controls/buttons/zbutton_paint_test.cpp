// A button's drawing on the recording canvas: frame, caption and glyph in each state (both builds).
#include <gtest/gtest.h>

#include <vector>

#include "controls/buttons/UZButton.h"
#include "framework/graphics/RecordingCanvas.h"
#include "framework/graphics/Themes.h"

namespace {
struct GlyphCall {
    int x, y;
    EImgLs16x16 glyph;
    bool enabled;
};
std::vector<GlyphCall> glyphCalls;
void RecordGlyph(TCanvas &, int x, int y, EImgLs16x16 glyph, bool enabled)
{
    glyphCalls.push_back({x, y, glyph, enabled});
}

TZBtnPaint Button(const AnsiString &caption, EImgLs16x16 glyph = eil16x16_OK)
{
    TZBtnPaint p;
    p.Client = Rect(0, 0, 98, 25);
    p.Caption = caption;
    p.ImageNo = glyph;
    p.FontColor = clRed;
    return p;
}

struct Painted {
    TRecordingCanvas canvas;
    TZBtnPlacement place;
    explicit Painted(const TZBtnPaint &p)
    {
        glyphCalls.clear();
        place = PaintZButton(canvas, p, RecordGlyph);
    }
    TCanvasCall Frame() const { return canvas.CallsOf("DrawFrameControl").at(0); }
};
// The visual styles on or off through the recording stand-in, for the length of a test: the system's
// own may be on or off on the machine that runs the tests.
struct Themed {
    TRecordingThemeLibrary library;
    explicit Themed(bool active) : library(active) { SetThemeLibrary(&library); }
    ~Themed() { SetThemeLibrary(nullptr); }
};

// Classic drawing unless a test switches the styles on.
class ZButtonPaint : public ::testing::Test {
protected:
    Themed themes{false};
    int ThemedState(const TZBtnPaint &p)
    {
        themes.library.ClearCalls();
        Painted painted(p);
        auto drawn = themes.library.CallsOf("DrawBackground");
        return drawn.size() == 1 ? drawn[0].State : -1;
    }
};
}  // namespace

TEST_F(ZButtonPaint, ClassicFrameIsAPushButtonPushedWhilePressedAndGreyedWhenDisabled)
{
    Painted normal(Button("OK"));
    ASSERT_EQ(normal.canvas.CallsOf("DrawFrameControl").size(), 1u);
    EXPECT_EQ(normal.Frame().Kind, DFC_BUTTON);
    EXPECT_EQ(normal.Frame().Rect, Rect(0, 0, 98, 25));
    const unsigned plain = normal.Frame().Flags;
    EXPECT_TRUE(plain & DFCS_BUTTONPUSH);
    EXPECT_FALSE(plain & (DFCS_PUSHED | DFCS_INACTIVE));

    auto p = Button("OK");
    p.Pressed = true;
    EXPECT_EQ(Painted(p).Frame().Flags, plain | DFCS_PUSHED);
    p.Disabled = true;  // disabled wins over pressed
    EXPECT_EQ(Painted(p).Frame().Flags, plain | DFCS_INACTIVE);
    // The frame comes first: everything else is drawn over it.
    EXPECT_EQ(normal.canvas.Calls().front().Op, "DrawFrameControl");
}

TEST_F(ZButtonPaint, CaptionIsMeasuredThenDrawnWithItsFlagsAndAmpersandsAsTheyAre)
{
    Painted painted(Button("a&b"));
    auto texts = painted.canvas.CallsOf("DrawText");
    ASSERT_EQ(texts.size(), 1u);
    // Drawn where the placement put it, with "&" shown literally, on a transparent ground.
    EXPECT_EQ(texts[0].Text, "a&b");
    EXPECT_EQ(texts[0].Flags, dtCenter | dtSingleLine | dtNoClip | dtNoPrefix);
    EXPECT_EQ(texts[0].Rect, painted.place.Caption);
    EXPECT_EQ(texts[0].FontColor, clRed);
    EXPECT_EQ(painted.canvas.Brush()->Style(), bsClear);
    // Measured as three characters of 6 px on one line of 11 px, beside the glyph and centred with it.
    EXPECT_EQ(painted.place.Caption.Width(), 18);
    EXPECT_EQ(painted.place.Caption.Height(), 11);
    ASSERT_EQ(glyphCalls.size(), 1u);
    EXPECT_EQ(glyphCalls[0].x, painted.place.Caption.Left - 20);
    EXPECT_EQ(glyphCalls[0].glyph, eil16x16_OK);
    EXPECT_TRUE(glyphCalls[0].enabled);

    auto multi = Button("a b c");
    multi.Multiline = true;
    multi.AlignH = taLeftJustify;
    Painted wrapped(multi);
    EXPECT_EQ(wrapped.canvas.CallsOf("DrawText").at(0).Flags, dtLeft | dtWordBreak | dtNoClip | dtNoPrefix);
    // Measured without folding onto one line: "a b c" wraps in a narrow button.
    multi.Client = Rect(0, 0, 16, 60);
    multi.ImageNo = eil16x16_End;
    EXPECT_EQ(Painted(multi).place.Caption.Height(), 3 * 11);
}

TEST_F(ZButtonPaint, DisabledDrawsGreyTextAndAGreyedGlyph)
{
    auto p = Button("OK");
    p.Disabled = true;
    Painted painted(p);
    EXPECT_EQ(painted.canvas.CallsOf("DrawText").at(0).FontColor, clGrayText);
    ASSERT_EQ(glyphCalls.size(), 1u);
    EXPECT_FALSE(glyphCalls[0].enabled);
}

TEST_F(ZButtonPaint, NoGlyphAndNoCaptionDrawNothingOfThem)
{
    Painted bare(Button("", eil16x16_End));
    EXPECT_TRUE(bare.canvas.CallsOf("DrawText").empty());
    EXPECT_TRUE(glyphCalls.empty());
    EXPECT_EQ(bare.canvas.Calls().size(), 1u);  // the frame alone

    Painted glyphOnly(Button("", eil16x16_Gear));
    ASSERT_EQ(glyphCalls.size(), 1u);
    EXPECT_EQ(glyphCalls[0].x, (94 - 15) / 2 + 2);
    EXPECT_EQ(glyphCalls[0].y, (21 - 15) / 2 + 2);
}

TEST_F(ZButtonPaint, DefaultOrFocusedButtonGetsTheFocusFrameFourPixelsInside)
{
    EXPECT_TRUE(Painted(Button("OK")).canvas.CallsOf("DrawFocusRect").empty());
    auto p = Button("OK");
    p.Default = true;
    auto focus = Painted(p).canvas.CallsOf("DrawFocusRect");
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].Rect, Rect(4, 4, 94, 21));
    p.Default = false;
    p.Focused = true;
    EXPECT_EQ(Painted(p).canvas.CallsOf("DrawFocusRect").size(), 1u);
}

TEST_F(ZButtonPaint, VisualStylesDrawThePushButtonInItsStateInOrderOfPrecedence)
{
    themes.library.SetActive(true);
    auto p = Button("OK");
    EXPECT_EQ(ThemedState(p), tsNormal);
    p.Default = true;
    EXPECT_EQ(ThemedState(p), tsDefaulted);
    p.Default = false;
    p.Focused = true;
    EXPECT_EQ(ThemedState(p), tsDefaulted);
    p.Hot = true;  // hot wins over focused and default
    EXPECT_EQ(ThemedState(p), tsHot);
    p.Focused = false;
    EXPECT_EQ(ThemedState(p), tsHot);
    p.Pressed = true;  // pressed wins over hot
    EXPECT_EQ(ThemedState(p), tsPressed);
    p.Disabled = true;  // disabled wins over everything
    EXPECT_EQ(ThemedState(p), tsDisabled);
}

TEST_F(ZButtonPaint, VisualStylesLayOutInTheContentRectangleAndMeasureThroughTheLibrary)
{
    themes.library.SetActive(true);
    themes.library.SetContentInset(3);
    auto p = Button("OK");
    p.Default = true;
    Painted painted(p);
    auto background = themes.library.CallsOf("DrawBackground");
    ASSERT_EQ(background.size(), 1u);
    EXPECT_EQ(background[0].Class, TThemeClass::Button);
    EXPECT_EQ(background[0].Rect, Rect(0, 0, 98, 25));
    // No classic frame and no focus frame: the element shows the state itself.
    EXPECT_TRUE(painted.canvas.CallsOf("DrawFrameControl").empty());
    EXPECT_TRUE(painted.canvas.CallsOf("DrawFocusRect").empty());
    auto measured = themes.library.CallsOf("TextExtent");
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].Text, "OK");
    EXPECT_FALSE(measured[0].Flags & dtSingleLine);
    EXPECT_EQ(measured[0].Rect.Width(), 92 - 20);  // the content less the glyph's strip
    // Glyph alone in the content rectangle 92 x 19 at (3, 3): centred there.
    p.Caption = "";
    Painted glyphOnly(p);
    ASSERT_EQ(glyphCalls.size(), 1u);
    EXPECT_EQ(glyphCalls[0].x, (92 - 15) / 2 + 3);
    EXPECT_EQ(glyphCalls[0].y, (19 - 15) / 2 + 3);
}

TEST_F(ZButtonPaint, WhileDesigningOrWithStylesOffTheFrameIsClassic)
{
    themes.library.SetActive(true);
    auto p = Button("OK");
    p.Designing = true;
    Painted designing(p);
    EXPECT_TRUE(themes.library.CallsOf("DrawBackground").empty());
    EXPECT_EQ(designing.canvas.CallsOf("DrawFrameControl").size(), 1u);

    themes.library.SetActive(false);
    p.Designing = false;
    Painted off(p);
    EXPECT_TRUE(themes.library.CallsOf("DrawBackground").empty());
    EXPECT_EQ(off.canvas.CallsOf("DrawFrameControl").size(), 1u);
}
