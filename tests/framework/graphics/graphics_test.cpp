#include <gtest/gtest.h>

#include "framework/graphics/Graphics.h"

TEST(Graphics, FontHeightFollowsSizeAndDensity)
{
    TFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(8);
    EXPECT_EQ(-11, font.Height());  // -MulDiv(8, 96, 72) = -10.67 rounded
    EXPECT_EQ(8, font.Size());
    font.SetPixelsPerInch(120);
    font.SetSize(10);
    EXPECT_EQ(-17, font.Height());
    font.SetHeight(-13);
    EXPECT_EQ(8, font.Size());
}

TEST(Graphics, FontChangesNotifyAndAssignCopies)
{
    TFont a, b;
    int changes = 0;
    b.OnChange = [&](TObject *) { ++changes; };
    a.SetName("Arial Cyr");
    a.SetStyle(fsBold | fsItalic);
    a.SetColor(clNavy);
    a.SetCharset(204);
    b.Assign(a);
    EXPECT_EQ(1, changes);
    EXPECT_TRUE(b.SameAs(a));
    b.Assign(a);
    b.SetName("");  // an empty name is refused
    EXPECT_EQ(1, changes);
    EXPECT_EQ("Arial Cyr", b.Name());
}

TEST(Graphics, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(2, MulDivRound(3, 1, 2));
    EXPECT_EQ(-2, MulDivRound(-3, 1, 2));
    EXPECT_EQ(-11, MulDivRound(8, 96, -72));
    EXPECT_EQ(-1, MulDivRound(5, 5, 0));
}

TEST(Graphics, PlainColoursNeedNoLookup)
{
    EXPECT_EQ(0x123456u, ColorToRGB(0x123456));
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(clNone));
    EXPECT_LE(ColorToRGB(clWindow), 0xFFFFFFu);
}
