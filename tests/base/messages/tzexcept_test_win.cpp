// The exception's message taken from the program's string table.
#include <gtest/gtest.h>

#include "base/messages/TZExcept.h"

TEST(TZExcept, MessageIsTheStringResourceOfTheCode)
{
    // 2005 is in this test program's string table (zmsg_strings.rc).
    TZExcept e(2005, "a.txt", 7);
    EXPECT_EQ("Заменить файл $?", e.Message());
    EXPECT_EQ(7, e.HelpContext());
    EXPECT_EQ(2005u, e.Code());
    EXPECT_EQ("a.txt", e.Text());
}
