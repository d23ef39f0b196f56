#include <gtest/gtest.h>

#include "framework/runtime/Clock.h"
#include "update/run/uYesNo.h"

TEST(YesNo1, ButtonsSetTheResult)
{
    TYesNo1 form(nullptr);
    form.Button2Click(nullptr);
    EXPECT_EQ(1, form.Result);
    form.Button1Click(nullptr);
    EXPECT_EQ(0, form.Result);
}

// Shows the form for a few seconds so that a screenshot can be taken of it:
// winshot OUT.png -- test_update.exe --gtest_also_run_disabled_tests --gtest_filter=YesNo1.DISABLED_Shown
TEST(YesNo1, DISABLED_Shown)
{
    TYesNo1 form(nullptr);
    form.Show();
    for (int i = 0; i < 60; ++i) {
        Application->ProcessMessages();
        ClockSleep(100);
    }
}
