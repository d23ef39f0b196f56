// The shipped updater run as a user runs it: a payload appended to the real executable, in a product
// folder whose installed version does not fit, the error box answered from outside the process.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/UpdaterRun.h"
#include "tests/support/WindowPicture.h"

TEST(UpdaterExe, VersionMismatchAnsweredFromOutside)
{
    AnsiString root = MakeTestFolder("qmt_updater_exe");
    TestInstallation older;
    older.VersionText = "5-3.0.9";
    BuildInstallation(root, older);
    WriteFileBytes(root + "qmtupdt.exe", UpdaterWith(TestPayloadBuilder{}));

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "qmtupdt.exe\"", root));
    AnsiString boxText;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Ошибка!=1"}, boxText)) << "no error box appeared";

    // The run ends after the box: the protocol file appears beside the journal it was going to keep.
    AnsiString protocolFile = root + "Протокол_qmt_3.1.1.txt";
    WaitForFile(protocolFile, 30000);
    Sleep(500);
    ASSERT_TRUE(FileExists(protocolFile));
    EXPECT_FALSE(FileExists(root + "qmt_3.1.1.txt"));

    EXPECT_NE(AnsiString::npos, boxText.find("ЦМТ 5 3.1.0"));

    TStringList protocol;
    protocol.LoadFromFile(protocolFile);
    EXPECT_EQ(" Самопроверка", protocol.Strings(1));
    EXPECT_NE(-1,
              protocol.IndexOf("Обновление не предназначено для данной редакции ЦМТ.  У Вас установлена ЦМТ-5-3.0.9"));

    if (HWND main = MainWindowOf(run.Id()))
        SaveScreenshot(main, "main_window_after_run");

    // The run has finished, so the window may close, and the program ends with it.
    EXPECT_TRUE(CloseUpdater(run));
    RemoveTestFolder(root);
}
