// The compact font description's system font and the device context prepared with it (under Wine).
#include <gtest/gtest.h>

#include "base/graphics/ZFont.h"

TEST(ZFont, RecreatedFontCarriesTheDescription)
{
    TZFont font;
    font.SetFaceIndex(4);
    font.SetSizePoints(12);
    font.FontHeightToPixels(96, 100);
    font.SetAngleIndex(2);
    font.SetBold(true);
    font.SetItalic(true);
    font.SetUnderline(true);
    font.RecreateFont();
    ASSERT_NE(nullptr, font.Handle());
    EXPECT_TRUE(font.IsCurrent());
    TFontRecord back;
    ASSERT_TRUE(FontRecordOf(font.Handle(), back));
    EXPECT_EQ(font.LogicalFont(), back);
    EXPECT_EQ(-16, back.Height);
    EXPECT_EQ(900, back.Escapement);
    EXPECT_EQ(700, back.Weight);
    EXPECT_EQ(1, back.Italic);
    EXPECT_EQ(1, back.Underline);
    EXPECT_EQ(204, back.CharSet);
    EXPECT_EQ("Times New Roman", back.FaceName);

    // Setting what is held changes nothing; a change leaves the font but marks it stale, and
    // recreating without creating deletes it.
    font.SetBold(true);
    font.SetAngle(90);
    font.SetFaceName("Times New Roman");
    font.SetColor(clBlack);
    EXPECT_TRUE(font.IsCurrent());
    font.SetItalic(false);
    EXPECT_FALSE(font.IsCurrent());
    EXPECT_NE(nullptr, font.Handle());
    font.RecreateFont(false);
    EXPECT_EQ(nullptr, font.Handle());
}

TEST(ZFont, PreparedContextMeasuresCyrillic)
{
    TZDrawFont font;
    TMeasureCanvas canvas;  // let go before the font, so the font is no longer selected when deleted
    font.SetFaceIndex(2);
    font.SetSizePoints(10);
    font.FontHeightToPixels(96, 100);
    // Without a current font nothing is measured.
    font.PrepareTextDC(canvas.Handle());
    EXPECT_EQ(0, font.CharWidths()[0xC6]);

    font.RecreateFont();
    font.PrepareTextDC(canvas.Handle());
    for (unsigned char c : AnsiString("АЖЯабюяЁёЇїІі"))
        EXPECT_GT(font.CharWidths()[c], 0) << int(c);
    EXPECT_GT(font.Metrics().Ascent, 0);
    EXPECT_EQ(font.Metrics().Height, font.Metrics().Ascent + font.Metrics().Descent);
}
