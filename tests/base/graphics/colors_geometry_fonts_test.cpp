// Numbered colours, geometry values and the compact font description.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "base/graphics/Geometry.h"
#include "base/graphics/ZColor.h"
#include "base/graphics/ZFont.h"

TEST(ZColor, ValuesIndexesAndNames)
{
    EXPECT_EQ(46u, TZColor::IndexOf(0xFFFFFF));
    EXPECT_EQ(4u, TZColor::IndexOfName("clMenu"));
    EXPECT_EQ(0x80000004u, TZColor::ValueOf(TZColor::IndexOfName("clMenu")));
    // Grey appears twice; the first row wins.
    EXPECT_EQ(36u, TZColor::IndexOf(0x808080));
    EXPECT_EQ(29u, TZColor::IndexOf(0));
    EXPECT_EQ(69u, TZColor::IndexOf(0x123456));
    // The system rows skip the numbers 13 and 25.
    EXPECT_EQ(0x8000000Cu, TZColor::ValueOf(12));
    EXPECT_EQ(0x8000000Eu, TZColor::ValueOf(13));
    EXPECT_EQ(0x80000018u, TZColor::ValueOf(23));
    EXPECT_EQ(0x8000001Au, TZColor::ValueOf(24));
    EXPECT_EQ(0x8000001Eu, TZColor::ValueOf(28));
    EXPECT_EQ(clNone, TZColor::ValueOf(47));
    EXPECT_EQ(0xA4A0A0u, TZColor::ValueOf(52));
    for (unsigned index : {53u, 68u, 69u, 1000u})
        EXPECT_EQ(0u, TZColor::ValueOf(index)) << index;
    EXPECT_EQ(46u, TZColor::IndexOfName("clWhite"));
    EXPECT_EQ(69u, TZColor::IndexOfName("clWhit"));
    EXPECT_EQ(69u, TZColor::IndexOfName("clWindow"));  // no system colour beyond clMenu is named
    EXPECT_EQ(69u, TZColor::IndexOfName(""));
}

TEST(ZColor, ResolveSystemColours)
{
    EXPECT_EQ(ColorToRGB(clMenu), TZColor::ResolveColor(0x80000004));
    EXPECT_EQ(ColorToRGB(clWindow), TZColor::ResolveColor(0x80000005));
    EXPECT_EQ(0x00123456u, TZColor::ResolveColor(0x123456));
    EXPECT_EQ(clNone, TZColor::ResolveColor(clNone));  // top bit clear: taken as it is
}

TEST(Geometry, WidthHeightDirectionAndDifferences)
{
    TRect r = Rect(10, 20, 30, 50);
    SetWidth(r, 5);
    EXPECT_EQ(Rect(10, 20, 15, 50), r);
    SetWidth(r, -3);
    EXPECT_EQ(Rect(12, 20, 15, 50), r);
    SetWidth(r, 0);
    EXPECT_EQ(Rect(15, 20, 15, 50), r);
    SetHeight(r, 7);
    EXPECT_EQ(Rect(15, 20, 15, 27), r);
    SetHeight(r, -27);
    EXPECT_EQ(Rect(15, 0, 15, 27), r);
    TRect far = Rect(INT_MAX - 1, 0, INT_MAX, 0);
    SetWidth(far, 100);
    EXPECT_EQ(INT_MAX, far.Right);

    TPoint a = Point(5, 5);
    EXPECT_EQ((TDirection{0, 0}), DirectionOf(a, a));
    EXPECT_EQ((TDirection{1, 4}), DirectionOf(a, Point(4, 9)));
    EXPECT_EQ((TDirection{3, 2}), DirectionOf(a, Point(6, -1)));
    EXPECT_EQ(-1, DiffX(a, Point(4, 9)));
    EXPECT_EQ(4, DiffY(a, Point(4, 9)));

    EXPECT_EQ(10, TTriple{}.C);
    EXPECT_EQ(TRect{}, ValueOrZero<TRect>(nullptr));
    EXPECT_EQ(r, ValueOrZero(&r));
}

TEST(Geometry, ScalingRoundsHalfUpOnBothSides)
{
    EXPECT_EQ(2, ScaleMul(3, 0.5));
    EXPECT_EQ(2, ScaleDiv(3, 2.0));
    EXPECT_EQ(-3, ScaleMul(-3, 1.0));
    EXPECT_EQ(-2, ScaleDiv(-9, 5.0));  // -1.8
    EXPECT_EQ(-1, ScaleMul(-3, 0.5));  // -1.5 goes up, as 1.5 does
    EXPECT_EQ(0, ScaleMul(12345, 0.0));
    EXPECT_EQ(12345, ScaleDiv(12345, 0.0));
    EXPECT_EQ(INT_MAX, ScaleMul(INT_MAX, 2.0));
    EXPECT_EQ(INT_MIN, ScaleMul(INT_MAX, -2.0));
    EXPECT_EQ(INT_MAX, ScaleDiv(7, 1e-300));

    EXPECT_EQ(Point(2, 30), ScaleMul(Point(4, 3), 0.5, 10.0));
    EXPECT_EQ(Point(4, 1), ScaleDiv(Point(4, 3), 0.0, 3.0));
    EXPECT_EQ((TSize{15, -2}), ScaleMul(TSize{10, -4}, 1.5, 0.5));
    EXPECT_EQ(Rect(1, 20, 3, 40), ScaleMul(Rect(2, 2, 5, 4), 0.5, 10.0));
    EXPECT_EQ(Rect(1, 1, 3, 2), ScaleDiv(Rect(2, 2, 5, 4), 2.0, 2.0));
    std::vector<TPoint> points{Point(1, 1), Point(-3, 5)};
    ScaleMul(points, 2.0, 0.5);
    EXPECT_EQ((std::vector<TPoint>{Point(2, 1), Point(-6, 3)}), points);
    ScaleDiv(points, 2.0, 0.0);
    EXPECT_EQ((std::vector<TPoint>{Point(1, 1), Point(-3, 3)}), points);
}

TEST(ZFont, StartsAsNormalBlackTextWithoutAFont)
{
    TZFont font;
    EXPECT_EQ(0, font.Flags());
    EXPECT_EQ(nullptr, font.Handle());
    EXPECT_EQ(5, font.WeightIndex());
    EXPECT_EQ(400, font.Weight());
    EXPECT_EQ(29, font.ColorIndex());
    EXPECT_EQ(clBlack, font.Color());
    EXPECT_EQ(0, font.AngleIndex());
    EXPECT_EQ(0, font.Pitch());
}

TEST(ZFont, SettersKeepTheirBounds)
{
    TZFont font;
    font.SetSizeIndex(4);
    EXPECT_EQ(10, font.SizePoints());
    font.SetSizeIndex(18);
    EXPECT_EQ(4, font.SizeIndex());
    font.SetSizePoints(72);
    EXPECT_EQ(17, font.SizeIndex());
    font.SetSizePoints(13);  // no row holds 13 points
    EXPECT_EQ(TZFont::SizeCount, font.SizeIndex());

    font.SetWeightIndex(13);
    EXPECT_EQ(900, font.Weight());
    for (std::uint8_t bad : {15, 16, 17}) {
        font.SetWeightIndex(bad);
        EXPECT_EQ(13, font.WeightIndex());
        EXPECT_EQ(900, font.Weight());
    }
    font.SetWeight(200);
    EXPECT_EQ(2, font.WeightIndex());  // the first of the two rows of 200
    font.SetWeight(901);
    EXPECT_EQ(200, font.Weight());
    font.SetBold(true);
    EXPECT_EQ(700, font.Weight());
    EXPECT_EQ(10, font.WeightIndex());
    EXPECT_TRUE(font.Flags() & TZFont::FlagBold);
    font.SetBold(false);
    EXPECT_EQ(400, font.Weight());

    font.SetAngle(90);
    EXPECT_EQ(2, font.AngleIndex());
    font.SetAngle(360);
    EXPECT_EQ(0, font.Angle());
    EXPECT_EQ(0, font.AngleIndex());
    font.SetAngle(361);
    EXPECT_EQ(0, font.Angle());
    font.SetAngle(100);
    EXPECT_EQ(TZFont::AngleCount, font.AngleIndex());
    font.SetAngleIndex(7);
    EXPECT_EQ(315, font.Angle());
    font.SetAngleIndex(8);
    EXPECT_EQ(315, font.Angle());

    font.SetPitch(2);
    font.SetPitch(3);
    EXPECT_EQ(2, font.Pitch());

    font.SetColorIndex(38);
    EXPECT_EQ(clRed, font.Color());
    font.SetColorIndex(69);
    EXPECT_EQ(38, font.ColorIndex());
    font.SetColor(0x808080);
    EXPECT_EQ(36, font.ColorIndex());
    font.SetColor(0x123456);
    EXPECT_EQ(69, font.ColorIndex());
    EXPECT_EQ(0x123456u, font.Color());
    // A system colour by value: its row, held as the colour it shows.
    font.SetColor(clMenu);
    EXPECT_EQ(4, font.ColorIndex());
    EXPECT_EQ(ColorToRGB(clMenu), font.Color());
}

TEST(ZFont, FaceNamesByIndexAndValue)
{
    TZFont font;
    font.SetFaceIndex(5);
    EXPECT_STREQ("Courier New", font.FaceName());
    font.SetFaceName("Arial Cyr");
    EXPECT_EQ(3, font.FaceIndex());
    font.SetFaceName("Tahoma");
    EXPECT_EQ(0, font.FaceIndex());
    EXPECT_STREQ("Tahoma", font.FaceName());
    font.SetFaceIndex(6);
    EXPECT_EQ(0, font.FaceIndex());
    EXPECT_STREQ("", font.FaceName());

    // A 40-byte name keeps its first 31 bytes and the field's terminator.
    const std::string longName = "Очень длинное имя шрифта, 40 байт......";
    ASSERT_EQ(39u, longName.size());
    font.SetFaceName(longName + "!");
    EXPECT_EQ(longName.substr(0, 31), font.FaceName());
    TFont framework;
    framework.SetName(longName + "?");
    TZFont taken;
    taken.TakeOver(framework);
    EXPECT_EQ(longName.substr(0, 31), taken.FaceName());
}

TEST(ZFont, TakesOverAFrameworkFont)
{
    TFont source;
    source.SetName("Arial");
    source.SetSize(12);
    source.SetStyle(fsBold | fsUnderline);
    TZFont font;
    font.TakeOver(source);
    EXPECT_EQ(2, font.FaceIndex());
    EXPECT_EQ(12, font.SizePoints());
    EXPECT_EQ(6, font.SizeIndex());
    EXPECT_EQ(10, font.WeightIndex());
    EXPECT_EQ(700, font.Weight());
    EXPECT_EQ(TZFont::FlagBold | TZFont::FlagUnderline, font.Flags());
    source.SetStyle(fsItalic);
    font.TakeOver(source);
    EXPECT_EQ(5, font.WeightIndex());
    EXPECT_EQ(TZFont::FlagItalic, font.Flags());
}

TEST(ZFont, HeightAndLogicalFontRecord)
{
    TZFont font;
    font.SetSizePoints(10);
    EXPECT_EQ(13, font.FontHeightToPixels(96, 100));
    EXPECT_EQ(13, font.HeightPixels());
    EXPECT_EQ(27, font.FontHeightToPixels(96, 200));  // 26.67
    EXPECT_EQ(0, font.FontHeightToPixels(96, 0));

    font.FontHeightToPixels(96, 100);
    font.SetAngle(90);
    font.SetBold(true);
    font.SetItalic(true);
    font.SetPitch(1);
    const std::pair<std::uint8_t, std::uint8_t> families[] = {{1, 0x10}, {2, 0}, {3, 0x20}, {4, 0x20}, {5, 0x30}};
    for (auto [face, family] : families) {
        font.SetFaceIndex(face);
        TFontRecord lf = font.LogicalFont();
        EXPECT_EQ(-13, lf.Height);
        EXPECT_EQ(900, lf.Escapement);
        EXPECT_EQ(900, lf.Orientation);
        EXPECT_EQ(700, lf.Weight);
        EXPECT_EQ(1, lf.Italic);
        EXPECT_EQ(0, lf.Underline);
        EXPECT_EQ(204, lf.CharSet);
        EXPECT_EQ(1 | family, lf.PitchAndFamily) << int(face);
        EXPECT_EQ(font.FaceName(), lf.FaceName);
    }
}
