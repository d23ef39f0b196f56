#include <gtest/gtest.h>

#include "update/variant/SizeToText.h"

TEST(SizeToText, UnitBoundariesRoundUp)
{
    EXPECT_EQ("0 б", SizeToText(0));
    EXPECT_EQ("1024 б", SizeToText(1024));
    EXPECT_EQ("2 Кб", SizeToText(1025));
    EXPECT_EQ("2 Кб", SizeToText(1536));
    EXPECT_EQ("1024 Кб", SizeToText(1048576));
    EXPECT_EQ("2 Мб", SizeToText(1048577));
    EXPECT_EQ("1024 Мб", SizeToText(1073741824));
    EXPECT_EQ("2 Гб", SizeToText(1073741825));
    EXPECT_EQ("1024 Гб", SizeToText(1099511627776));
    EXPECT_EQ("2 Тб", SizeToText(1099511627777));
    EXPECT_EQ("8388608 Тб", SizeToText(INT64_MAX));
}
