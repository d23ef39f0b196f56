#include <gtest/gtest.h>

#include "base/messages/MessagePresenter.h"
#include "controls/messages/umessages.h"

TEST(MessageDialogRules, SpareHeightNeverLiftsTheButtonsAboveTheImage)
{
    // 166 client, 188 outer: the text area above a reference at 136 is 114 high.
    EXPECT_EQ(MessageSpareHeight(166, 188, 136, 19, 64), 62);     // short: stops at 74
    EXPECT_EQ(MessageSpareHeight(166, 188, 136, 50, 64), 62);     // up to 64 + 10
    EXPECT_EQ(MessageSpareHeight(166, 188, 136, 60, 64), 54);     // taller: the text bounds it
    EXPECT_EQ(MessageSpareHeight(166, 188, 136, 266, 64), -152);  // long: moves down
    EXPECT_EQ(MessageSpareHeight(166, 188, 112, 19, 64), 38);     // the box as reference
    EXPECT_EQ(MessageImageOf(MsgKindChoice), 1);
    EXPECT_EQ(MessageImageOf(MsgKindWarningOnce), 2);
    EXPECT_EQ(MessageImageOf(9), -1);
}

TEST(MessageDialogRules, ShownCaptionsLoseTheirAcceleratorMarks)
{
    EXPECT_EQ(ShownCaption("&Не задавати більше це питання"), "Не задавати більше це питання");
    EXPECT_EQ(ShownCaption("Save && &close"), "Save & close");
    EXPECT_EQ(ShownCaption("end&"), "end");
    EXPECT_EQ(ShownCaption(""), "");
}
