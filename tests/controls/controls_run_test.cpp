#include <gtest/gtest.h>

#include "controls/ControlsRun.h"
#include "controls/UZLangBox.h"
#include "framework/runtime/SysUtils.h"

namespace {
// The test program is a program that links the controls: they run for the whole of it.
class ControlsEnvironment : public ::testing::Environment {
    void SetUp() override { StartControls(); }
    void TearDown() override { StopControls(); }
};
[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new ControlsEnvironment);
}  // namespace

TEST(ControlsRun, StartsOnceAndOnlyTheOutermostStopEndsIt)
{
    ASSERT_TRUE(ControlsStarted());
    SetInterfaceLang(elg_Rus);
    {
        TControlsRun inner;  // nested: the languages set stay
        EXPECT_EQ(elg_Rus, InterfaceLang());
    }
    EXPECT_TRUE(ControlsStarted());
    StopControls();
    EXPECT_FALSE(ControlsStarted());
    StopControls();  // one stop too many changes nothing
    EXPECT_FALSE(ControlsStarted());
    StartControls();  // a fresh start sets the languages back
    EXPECT_TRUE(ControlsStarted());
    EXPECT_EQ(elg_Ukr, InterfaceLang());
}

TEST(ControlsRun, NumbersAreTypedWithADecimalCommaFromTheStart)
{
    // The number fields' key filters take the process-wide separator; the library writes numbers with
    // a comma. A fresh start must make them agree before any number has been formatted.
    StopControls();
    DecimalSeparator = '.';
    StartControls();
    EXPECT_EQ(',', DecimalSeparator);
}
