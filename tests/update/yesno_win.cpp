#include <gtest/gtest.h>

#include "framework/Clock.h"
#include "update/uYesNo.h"

TEST(YesNo1, LayoutAsDesigned)
{
    TYesNo1 form(nullptr);
    EXPECT_EQ("Внимание !", form.Caption());
    EXPECT_EQ(bsToolWindow, form.BorderStyle());
    EXPECT_EQ(poScreenCenter, form.Position());
    EXPECT_EQ(570, form.ClientWidth());
    EXPECT_EQ(128, form.ClientHeight());
    EXPECT_EQ(0, form.Result);

    EXPECT_EQ(TRect(0, 0, 570, 89), TRect(form.Memo1->Left(), form.Memo1->Top(), form.Memo1->Width(), form.Memo1->Height()));
    EXPECT_TRUE(form.Memo1->ReadOnly());
    EXPECT_EQ(taCenter, form.Memo1->Alignment());
    EXPECT_EQ(5, form.Memo1->Lines()->Count());
    EXPECT_EQ("Продолжить установку обновления ?", form.Memo1->Lines()->Strings(4));
    EXPECT_NE(AnsiString::npos, form.Memo1->Lines()->Strings(2).find("news_errors_2103.html"));

    struct Expected {
        TButton *Button;
        const char *Caption;
        int Left, Width, TabOrder;
    };
    for (const Expected &e : {Expected{form.Button2, "Продолжить", 5, 75, 2},
                              Expected{form.Button3, "Перейти на сайт по приведенной ссылке", 177, 231, 3},
                              Expected{form.Button1, "Прекратить", 492, 75, 1}}) {
        EXPECT_EQ(e.Caption, e.Button->Caption());
        EXPECT_EQ(e.Left, e.Button->Left());
        EXPECT_EQ(98, e.Button->Top());
        EXPECT_EQ(e.Width, e.Button->Width());
        EXPECT_EQ(25, e.Button->Height());
        EXPECT_EQ(e.TabOrder, e.Button->TabOrder());
    }
}

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
