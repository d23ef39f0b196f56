#include <gtest/gtest.h>

#include "update/run/MsgText.h"

TEST(MsgText, PlaceholdersFilledInTurn)
{
    // Two places, one argument: the first is filled, the second stays for the box to remove.
    AnsiString two = FillPlaceholders("имеется $_$ байт\nтребуется $_$ байт", {"10"});
    EXPECT_EQ("имеется 10 байт\nтребуется $_$ байт", two);
    EXPECT_EQ("имеется 10 байт\nтребуется  байт", RemoveUnfilledPlaceholders(two));
    // No place: the argument follows after one blank.
    EXPECT_EQ("Продолжить? C:\\P\\", FillPlaceholders("Продолжить?", {"C:\\P\\"}));
    // Missing text (an id without a string): arguments after blanks.
    EXPECT_EQ(" текст", FillPlaceholders("", {"текст"}));
    EXPECT_EQ("a b c", FillPlaceholders("$_$", {"a", "b", "c"}));
    EXPECT_EQ("1-2-3", FillPlaceholders("$_$-$_$-$_$", {"1", "2", "3"}));
    // An argument that holds a place itself is not filled again.
    EXPECT_EQ("x$_$y and z", FillPlaceholders("$_$ and $_$", {"x$_$y", "z"}));
}

TEST(MsgText, RemovesEveryUnfilledPlace)
{
    EXPECT_EQ("", RemoveUnfilledPlaceholders("$_$$_$"));
    EXPECT_EQ("$_", RemoveUnfilledPlaceholders("$_"));
    EXPECT_EQ("$", RemoveUnfilledPlaceholders("$$_$"));
    EXPECT_EQ("ab", RemoveUnfilledPlaceholders("a$_$b"));
}
