#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "controls/buttons/UZButton.h"

namespace {
// The inside of a classic 98 x 25 button's frame: 94 x 21 at (2, 2).
const TRect Classic = Rect(2, 2, 96, 23);
const TSize Text{20, 13};

TZBtnPlaceIn Settings(TButtonLayout layout, bool glyph = true, bool caption = true, const TRect &area = Classic)
{
    TZBtnPlaceIn in;
    in.Area = area;
    in.HasGlyph = glyph;
    in.HasCaption = caption;
    in.Layout = layout;
    return in;
}
}  // namespace

TEST(ZButtonPlace, GlyphBesideTheCaptionTheWholeCentred)
{
    // Left: glyph, 4 px, caption; together 40 px wide, centred on x 49 of the area 2..96.
    auto left = ZBtnPlace(Settings(blGlyphLeft), Text);
    EXPECT_EQ(left.Caption, Rect(49, 6, 69, 19));
    EXPECT_EQ(left.Glyph, Point(29, 5));
    // Right: caption, 4 px, glyph (the odd pixel of the halving goes the other way).
    auto right = ZBtnPlace(Settings(blGlyphRight), Text);
    EXPECT_EQ(right.Caption, Rect(30, 6, 50, 19));
    EXPECT_EQ(right.Glyph, Point(54, 5));

    // Top and bottom in a tall area 60 x 50 at (2, 2): glyph and caption one above the other.
    const TRect tall = Rect(2, 2, 62, 52);
    auto top = ZBtnPlace(Settings(blGlyphTop, true, true, tall), Text);
    EXPECT_EQ(top.Caption, Rect(22, 31, 42, 44));
    EXPECT_EQ(top.Glyph, Point(24, 11));
    auto bottom = ZBtnPlace(Settings(blGlyphBottom, true, true, tall), Text);
    EXPECT_EQ(bottom.Caption, Rect(22, 12, 42, 25));
    EXPECT_EQ(bottom.Glyph, Point(24, 29));
}

TEST(ZButtonPlace, GlyphAloneIsCentredAndCaptionAloneTakesTheWholeWidth)
{
    for (auto layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
        auto alone = ZBtnPlace(Settings(layout, true, false), Text);
        EXPECT_EQ(alone.Glyph, Point(41, 5)) << layout;
        EXPECT_EQ(alone.Caption, TRect{}) << layout;
        // Without a glyph the layout does not matter.
        auto text = ZBtnPlace(Settings(layout, false, true), Text);
        EXPECT_EQ(text.Caption, Rect(39, 6, 59, 19)) << layout;
    }
}

TEST(ZButtonPlace, PressedMovesCaptionOnePixelAndGlyphOneLower)
{
    auto in = Settings(blGlyphLeft);
    in.Pressed = true;
    auto pressed = ZBtnPlace(in, Text);
    EXPECT_EQ(pressed.Caption, Rect(50, 7, 70, 20));
    EXPECT_EQ(pressed.Glyph, Point(30, 6));

    in = Settings(blGlyphLeft, true, false);
    in.Pressed = true;
    EXPECT_EQ(ZBtnPlace(in, Text).Glyph, Point(41, 6));
}

TEST(ZButtonPlace, MarginPlacesTheCaptionByItsAlignment)
{
    auto in = Settings(blGlyphLeft);
    in.AlignH = taRightJustify;
    in.Margin = -1;  // centred whatever the alignment
    EXPECT_EQ(ZBtnPlace(in, Text).Caption.Left, 49);

    in.Margin = 5;  // 5 px from the right edge of the area (x 94 - 5 - 20, shifted by 2)
    auto right = ZBtnPlace(in, Text);
    EXPECT_EQ(right.Caption, Rect(71, 6, 91, 19));
    EXPECT_EQ(right.Glyph, Point(51, 5));

    // A caption too wide for the margin still leaves the glyph its strip and the spacing.
    auto wide = ZBtnPlace(in, TSize{80, 13});
    EXPECT_EQ(wide.Caption.Left, 16 + 4 + 4 + 2);
    EXPECT_EQ(wide.Glyph.X, 6);

    in.AlignH = taLeftJustify;  // strip, spacing and margin from the left
    EXPECT_EQ(ZBtnPlace(in, Text).Caption.Left, 20 + 4 + 5 + 2);
    in.AlignH = taCenter;
    EXPECT_EQ(ZBtnPlace(in, Text).Caption.Left, 49);
    in.AlignH = taRightJustify;
    in.Multiline = true;  // a multi-line caption is always centred
    EXPECT_EQ(ZBtnPlace(in, Text).Caption.Left, 49);
}

TEST(ZButtonPlace, CaptionIsMeasuredToTheAreaLessTheGlyphStrip)
{
    EXPECT_EQ(ZBtnCaptionWidth(Settings(blGlyphLeft)), 94 - 20);
    EXPECT_EQ(ZBtnCaptionWidth(Settings(blGlyphRight)), 94 - 20);
    EXPECT_EQ(ZBtnCaptionWidth(Settings(blGlyphTop)), 94);
    EXPECT_EQ(ZBtnCaptionWidth(Settings(blGlyphLeft, false)), 94);
    // A button narrower than the glyph's strip measures to no width at all.
    EXPECT_EQ(ZBtnCaptionWidth(Settings(blGlyphLeft, true, true, Rect(2, 2, 12, 23))), 0);
    auto in = Settings(blGlyphRight);
    in.Spacing = 0;
    EXPECT_EQ(ZBtnCaptionWidth(in), 94 - 16);
}

TEST(ZButtonLook, DisabledThenPressedThenHotOrDefaultedThenNormal)
{
    // disabled, pressed, focused, default, hot
    EXPECT_EQ(ZBtnLook(true, true, true, true, true), tsDisabled);
    EXPECT_EQ(ZBtnLook(false, true, true, true, true), tsPressed);
    EXPECT_EQ(ZBtnLook(false, false, false, false, true), tsHot);
    EXPECT_EQ(ZBtnLook(false, false, true, false, true), tsHot);
    EXPECT_EQ(ZBtnLook(false, false, true, false, false), tsDefaulted);
    EXPECT_EQ(ZBtnLook(false, false, false, true, false), tsDefaulted);
    EXPECT_EQ(ZBtnLook(false, false, false, false, false), tsNormal);
}

TEST(ZButtonText, FlagsFollowAlignmentAndLinesAndNeverTakeAmpersands)
{
    EXPECT_EQ(ZBtnTextFlags(taLeftJustify, false), dtLeft | dtSingleLine | dtNoClip | dtNoPrefix);
    EXPECT_EQ(ZBtnTextFlags(taCenter, true), dtCenter | dtWordBreak | dtNoClip | dtNoPrefix);
    EXPECT_EQ(ZBtnTextFlags(taRightJustify, false), dtRight | dtSingleLine | dtNoClip | dtNoPrefix);
}

TEST(ZButtonKinds, CaptionsAndGlyphsOfThePredefinedKinds)
{
    FillZBtnPDTCaptions();
    EXPECT_EQ(ZBtnPDTCaptionRus[EZBtnPDT_Tune], "Настройка");
    EXPECT_EQ(ZBtnPDTCaptionUkr[EZBtnPDT_Tune], "Налаштування");
    EXPECT_EQ(ZBtnPDTGlyph[EZBtnPDT_Tune], eil16x16_Gear);
    EXPECT_EQ(ZBtnPDTCaptionRus[EZBtnPDT_None], "");
    EXPECT_EQ(ZBtnPDTGlyph[EZBtnPDT_None], eil16x16_End);
    // The Latin "i" of some Ukrainian captions is kept byte for byte; "Відновити" has the Cyrillic one.
    EXPECT_EQ(ZBtnPDTCaptionUkr[EZBtnPDT_Cancel], "В"
                                                  "i"
                                                  "дм"
                                                  "i"
                                                  "на");
    EXPECT_EQ(ZBtnPDTCaptionUkr[EZBtnPDT_Ignore][0], 'I');
    EXPECT_EQ(ZBtnPDTCaptionUkr[EZBtnPDT_Fresh][1], '\xB3');
    EXPECT_EQ(ZBtnPDTCaptionRus[EZBtnPDT_Back], "Назад");
    EXPECT_EQ(ZBtnPDTGlyph[EZBtnPDT_Back], eil16x16_Prev);
    EXPECT_EQ(ZBtnPDTGlyph[EZBtnPDT_Fresh], eil16x16_Refresh);
    // Every kind but None has both captions and a glyph of the list.
    for (int k = EZBtnPDT_OK; k < EZBtnPDT_End; ++k) {
        EXPECT_FALSE(ZBtnPDTCaptionRus[k].empty()) << k;
        EXPECT_FALSE(ZBtnPDTCaptionUkr[k].empty()) << k;
        EXPECT_LT(ZBtnPDTGlyph[k], eil16x16_End) << k;
    }
    ClearZBtnPDTCaptions();
    EXPECT_EQ(ZBtnPDTCaptionUkr[EZBtnPDT_Tune], "");
    FillZBtnPDTCaptions();  // as the controls' start-up left them
}

TEST(ZButtonKinds, GlyphNamesAreDistinctAndInListOrder)
{
    EXPECT_STREQ(ImgLs16x16Name(eil16x16_OK), "eil16x16_OK");
    EXPECT_STREQ(ImgLs16x16Name(eil16x16_Gear), "eil16x16_Gear");
    EXPECT_STREQ(ImgLs16x16Name(eil16x16_SaveXLS), "eil16x16_SaveXLS");
    EXPECT_STREQ(ImgLs16x16Name(static_cast<EImgLs16x16>(200)), "eil16x16_End");
    std::set<std::string> names;
    for (int i = 0; i <= eil16x16_End; ++i)
        names.insert(ImgLs16x16Name(static_cast<EImgLs16x16>(i)));
    EXPECT_EQ(names.size(), 89u);
    EXPECT_EQ(eil16x16_End, 88);
}
