#include <gtest/gtest.h>

#include "controls/UDataModule.h"

TEST(DataModule, OneInstanceMadeOnceAndFreedWithItsPointerCleared)
{
    FreeDM_Misc();
    ASSERT_EQ(DM_Misc, nullptr);
    CreateDM_Misc();
    TDM_Misc *first = DM_Misc;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Owner(), nullptr);
    EXPECT_EQ(first->Name(), "DM_Misc");
    CreateDM_Misc();  // exists already: kept
    EXPECT_EQ(DM_Misc, first);
    FreeDM_Misc();
    EXPECT_EQ(DM_Misc, nullptr);
    FreeDM_Misc();  // nothing to free
    EXPECT_EQ(DM_Misc, nullptr);
}
