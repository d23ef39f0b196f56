// The pure parts of the window utilities: the signed decimal key filter, the texts a paste may bring,
// shortcut texts as key codes and the placement of a window inside an area.
#include <gtest/gtest.h>

#include "base/input/fun_other.h"

TEST(FilterSignedDecimalKey, MinusOnlyAtTheStartAndOneSeparator)
{
    DecimalSeparator = ',';
    EXPECT_EQ(FilterSignedDecimalKey('-', "15", 0), '-');
    EXPECT_EQ(FilterSignedDecimalKey('-', "15", 1), 0);  // the caret is not at the start
    EXPECT_EQ(FilterSignedDecimalKey('-', "", 0), '-');
    EXPECT_EQ(FilterSignedDecimalKey('.', "15", 2), ',');
    EXPECT_EQ(FilterSignedDecimalKey(',', "15", 2), ',');
    EXPECT_EQ(FilterSignedDecimalKey(',', "1,5", 3), 0);  // a second separator
    EXPECT_EQ(FilterSignedDecimalKey('.', "-1,5", 4), 0);
    for (char passing : {'0', '9', char(8), char(13)})
        EXPECT_EQ(FilterSignedDecimalKey(passing, "1,5", 1), passing) << int(passing);
    for (char refused : {'a', '+', ' ', 'e', char(0xC0)})
        EXPECT_EQ(FilterSignedDecimalKey(refused, "", 0), 0) << int(refused);
    DecimalSeparator = '.';  // a "." typed is the separator itself
    EXPECT_EQ(FilterSignedDecimalKey('.', "15", 2), '.');
    EXPECT_EQ(FilterSignedDecimalKey(',', "15", 2), 0);
    DecimalSeparator = ',';
}

TEST(PasteTextSuits, EachKind)
{
    DecimalSeparator = ',';
    EXPECT_TRUE(PasteTextSuits("Текст, 12", 0));
    EXPECT_FALSE(PasteTextSuits("a\tb", 0));
    EXPECT_FALSE(PasteTextSuits("a\r\nb", 0));
    EXPECT_TRUE(PasteTextSuits("a\r\nb", 3));
    EXPECT_FALSE(PasteTextSuits("a\r\n\tb", 3));
    EXPECT_FALSE(PasteTextSuits(AnsiString("a\0b", 3), 3));
    EXPECT_TRUE(PasteTextSuits("-12", 1));
    EXPECT_FALSE(PasteTextSuits("12a", 1));
    EXPECT_FALSE(PasteTextSuits("1,5", 1));
    EXPECT_FALSE(PasteTextSuits("", 1));
    EXPECT_TRUE(PasteTextSuits("-1,5", 2));  // a number, signed or not
    EXPECT_FALSE(PasteTextSuits("1,5\r\n", 2));
    EXPECT_FALSE(PasteTextSuits("12a", 2));
    EXPECT_TRUE(PasteTextSuits("\x01", 4));  // other kinds take everything
    EXPECT_TRUE(PasteTextSuits("\x01", -1));
}

TEST(ParseShortCutText, ModifiersAddTheirCodesToTheKey)
{
    EXPECT_EQ(ParseShortCutText("Ctrl+V"), 'V' + 512);
    EXPECT_EQ(ParseShortCutText("Shift+Ins"), 0x2D + 1024);
    EXPECT_EQ(ParseShortCutText("Alt+Ctrl+Shift+F5"), 0x74 + 256 + 512 + 1024);
    EXPECT_EQ(ParseShortCutText("shift+ctrl+del"), 0x2E + 512 + 1024);
    EXPECT_EQ(ParseShortCutText("F12"), 0x7B);
    EXPECT_EQ(ParseShortCutText("Ctrl+Ctrl+X"), 'X' + 512);  // a modifier counts once
    EXPECT_EQ(ParseShortCutText(""), 0);
    EXPECT_EQ(ParseShortCutText("Ctrl+"), 0);         // no key
    EXPECT_EQ(ParseShortCutText("Ctrl+Nothing"), 0);  // no key of that name
    EXPECT_EQ(ParseShortCutText("Ctrl"), 0);
}

TEST(ClampToArea, KeptInsideAtEachEdge)
{
    const TRect area = Rect(0, 0, 1000, 700);
    EXPECT_EQ(ClampToArea(area, 300, 200, 100, 50), Point(100, 50));  // inside: where asked
    EXPECT_EQ(ClampToArea(area, 300, 200, 800, 50), Point(700, 50));  // pulled back from the right
    EXPECT_EQ(ClampToArea(area, 300, 200, 100, 600), Point(100, 500));
    EXPECT_EQ(ClampToArea(area, 300, 200, -40, -10), Point(0, 0));
    EXPECT_EQ(ClampToArea(area, 300, 200, 2000, 2000), Point(700, 500));
    // Wider or higher than the area: the left and top edges win.
    EXPECT_EQ(ClampToArea(area, 1200, 900, 500, 500), Point(0, 0));
    // An area that does not start at the origin (a task bar on the left or at the top).
    const TRect shifted = Rect(60, 30, 1000, 700);
    EXPECT_EQ(ClampToArea(shifted, 300, 200, 0, 0), Point(60, 30));
    EXPECT_EQ(ClampToArea(shifted, 300, 200, 990, 690), Point(700, 500));
}
