#include <gtest/gtest.h>

#include "controls/ControlsRun.h"
#include "controls/UDataModule.h"
#include "controls/buttons/UZButton.h"

TEST(DataModule, OneInstanceMadeOnceAndFreedWithItsPointerCleared)
{
    ASSERT_TRUE(ControlsStarted());
    TDM_Misc *started = DM_Misc;  // the controls' start-up made it
    ASSERT_NE(started, nullptr);
    CreateDM_Misc();  // exists already: kept
    EXPECT_EQ(DM_Misc, started);
    FreeDM_Misc();
    EXPECT_EQ(DM_Misc, nullptr);
    FreeDM_Misc();  // nothing to free
    EXPECT_EQ(DM_Misc, nullptr);
    CreateDM_Misc();
    ASSERT_NE(DM_Misc, nullptr);
    EXPECT_EQ(DM_Misc->Owner(), nullptr);
    EXPECT_EQ(DM_Misc->Name(), "DM_Misc");
}

TEST(DataModule, ControlsShutdownFreesItAndEmptiesTheCaptionsStartUpBringsThemBack)
{
    ASSERT_TRUE(ControlsStarted());
    ASSERT_NE(DM_Misc, nullptr);
    EXPECT_EQ(ZBtnPDTCaptionRus[EZBtnPDT_OK], "ОК");
    StopControls();
    EXPECT_EQ(DM_Misc, nullptr);
    EXPECT_EQ(ZBtnPDTCaptionRus[EZBtnPDT_OK], "");
    EXPECT_EQ(ZBtnPDTCaptionUkr[EZBtnPDT_Tune], "");
    StartControls();
    EXPECT_NE(DM_Misc, nullptr);
    EXPECT_EQ(ZBtnPDTCaptionUkr[EZBtnPDT_Tune], "Налаштування");
}
