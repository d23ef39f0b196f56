#include <gtest/gtest.h>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Clock.h"
#include "framework/windows/PromptScript.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

TEST(MainWindow, ClosesOnlyOnceTheRunHasFinished)
{
    TForm1 form(nullptr);
    TCloseAction action = caHide;
    form.FormClose(&form, action);
    EXPECT_EQ(caNone, action);
    form.RunFinished = 1;
    form.FormClose(&form, action);
    EXPECT_EQ(caFree, action);
}

TEST(MainWindow, RunErrorsGoToTheErrorBox)
{
    TForm1 form(nullptr);
    TPromptScript script;
    script.Answer(idOk);
    form.ShowRunError(5001, {"qmtupdt.exe"});
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Ошибка!", script.Seen()[0].Caption);
    EXPECT_EQ(0u, script.Seen()[0].Text.find("qmtupdt.exe \nМодуль обновления поврежден"));
}

// Shows the window with a few protocol lines for a screenshot:
// winshot OUT.png -- test_update.exe --gtest_also_run_disabled_tests --gtest_filter=MainWindow.DISABLED_Shown
TEST(MainWindow, DISABLED_Shown)
{
    TForm1 form(nullptr);
    form.AfterConstruction();
    form.SetRunCaption("Обновление ЦМТ-5 (3.1.0) -> ЦМТ-5 (3.1.1)");
    form.Log(ept_Plain, "...Инициализация", true);
    form.Log(ept_Plain, "Самопроверка", true);
    form.CheckStep(true, true);
    form.Log(ept_Plain, "Проверка нескольких копий", true);
    form.CheckStep(true, false);
    form.Log(ept_Plain, "...проверка соответствия QMT.EXE", true);
    form.Log(ept_WrongEdition, " У Вас установлена ЦМТ-5-3.0.9", true);
    form.CheckStep(false, true);
    form.Pn_Exit->Show();
    form.Show();
    for (int i = 0; i < 60; ++i) {
        Application->ProcessMessages();
        ClockSleep(100);
    }
}
