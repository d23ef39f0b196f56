#include <gtest/gtest.h>

#include "framework/windows/EditMask.h"

TEST(EditMask, DateMaskShowsDotsAndBlanks)
{
    TEditMask mask("!99/99/9999;0; ");
    EXPECT_EQ(10, mask.Length());
    EXPECT_FALSE(mask.SaveLiterals());
    EXPECT_EQ(' ', mask.BlankChar());
    EXPECT_EQ("  .  .    ", mask.Blank());
    EXPECT_TRUE(mask.IsLiteral(2));
    EXPECT_FALSE(mask.IsLiteral(3));
    EXPECT_TRUE(mask.Accepts(0, '7'));
    EXPECT_FALSE(mask.Accepts(0, 'a'));
    EXPECT_FALSE(mask.Accepts(0, 'Ж'));
    EXPECT_FALSE(mask.Accepts(2, '.'));  // a literal takes nothing
    EXPECT_FALSE(mask.Accepts(10, '1'));
}

TEST(EditMask, TextsLaidOntoTheMask)
{
    TEditMask mask("!99/99/9999;0; ");
    EXPECT_EQ("31.12.2026", mask.Format("31.12.2026"));
    EXPECT_EQ("31.12.2026", mask.Format("31122026"));  // literals may be left out
    EXPECT_EQ("31.1 .    ", mask.Format("31.1"));
    EXPECT_EQ(" 1.  .    ", mask.Format(" 1.ab"));
    EXPECT_EQ("  .  .2026", mask.Format("  .  .2026"));
    EXPECT_EQ("12.  .    ", mask.Format("12xy"));            // letters do not fit digit places
    EXPECT_EQ("01.02.2003", mask.Format("01.02.20034567"));  // the rest is dropped
}

TEST(EditMask, PlacesSkipLiterals)
{
    TEditMask mask("!99/99/9999;0; ");
    EXPECT_EQ(0, mask.NextPlace(0));
    EXPECT_EQ(3, mask.NextPlace(2));
    EXPECT_EQ(10, mask.NextPlace(10));
    EXPECT_EQ(1, mask.PrevPlace(3));
    EXPECT_EQ(-1, mask.PrevPlace(0));
    EXPECT_EQ(9, mask.PrevPlace(10));
}

TEST(EditMask, OtherPlaceKindsEscapesAndDefaults)
{
    TEditMask mask("\\0L-a;1");
    EXPECT_EQ(4, mask.Length());
    EXPECT_TRUE(mask.SaveLiterals());
    EXPECT_EQ('_', mask.BlankChar());
    EXPECT_TRUE(mask.IsLiteral(0));  // the escaped 0
    EXPECT_TRUE(mask.Accepts(1, 'Ж'));
    EXPECT_FALSE(mask.Accepts(1, '5'));
    EXPECT_TRUE(mask.Accepts(3, '5'));
    EXPECT_EQ("0Ж-5", mask.Format("0Ж-5"));
    EXPECT_EQ("0_-_", mask.Blank());
    EXPECT_TRUE(TEditMask().Empty());
    EXPECT_EQ("", TEditMask().Format("abc"));
}
