// A version step, which the shipped updater applies to a fresh copy of the installation that the user
// places through the variant dialog: the copy becomes the new version, the installation it was made
// from stays as it was, and a desktop shortcut starts the copy.
#include <gtest/gtest.h>

#include "framework/runtime/SysUtils.h"
#include "tests/e2e/ProductUpdate.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/ShellLinks.h"

TEST(UpdateCopy, VersionStepUpdatesAFreshCopyAndLeavesTheInstallation)
{
    ProductUpdate update = MakeProductUpdate("3.1.0", "3.1.1", 64 * 1024);
    AnsiString root = MakeTestFolder("qmt_e2e_copy_from");
    AnsiString copies = MakeTestFolder("qmt_e2e_copies");
    WriteInstallation(root, update.Before);
    WriteFileBytes(root + "qmtupdt_e2e.exe", update.Updater);
    const AnsiString link = DesktopFolder() + "ЦМТ e2e копия.LNK";
    ASSERT_NE(".LNK", link) << "no desktop folder";
    DeleteFile(link);

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    EXPECT_EQ(0u, WorkDialog(run.Id(), kVariantDialog,
                             {"fill:Выберите, куда поместить копию данного ПК ЦМТ:=" + ExcludeTrailingBackslash(copies),
                              AnsiString("fill:Наименование для ярлыка на рабочем столе:=ЦМТ e2e копия"),
                              AnsiString("press:Далее [>>]")}));
    // The copy's folder is made, then the user is asked to keep security software away from it.
    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Внимание!=6"}, texts));
    EXPECT_NE(AnsiString::npos, texts.find("(msgid №3011)")) << Utf8(texts);

    const AnsiString copy = copies + "QMT5_311\\";
    ASSERT_TRUE(WaitForBoxOf(run.Id(), 120000));
    EXPECT_TRUE(SameTree(update.After, ReadInstallation(copy)));
    EXPECT_TRUE(SameTree(update.Before, ReadInstallation(root)));  // no journal, no temporary folder either
    std::vector<AnsiString> protocol = ProtocolLines(root + "Протокол_qmt_3.1.1.txt");
    for (const AnsiString &line : {AnsiString("LogCmd 2 1"), "LogCmd 1 " + copy, AnsiString(" Создание ярлыка"),
                                   AnsiString(" Программа выполнена успешно")})
        EXPECT_TRUE(HasLineWith(protocol, line)) << Utf8(line) << " is not in the protocol:\n" << Joined(protocol);
    EXPECT_FALSE(HasLineWith(protocol, "Были ошибки")) << Joined(protocol);

    TShellLinkInfo info;
    ASSERT_TRUE(FileExists(link)) << Utf8(link);
    EXPECT_TRUE(ReadShellLink(link, info)) << Utf8(link);
    EXPECT_EQ(0, AnsiCompareText(copy + "EXE\\qmt.exe", info.Target)) << Utf8(info.Target);
    EXPECT_EQ(0, AnsiCompareText(ExcludeTrailingBackslash(copy), ExcludeTrailingBackslash(info.WorkingFolder)))
        << Utf8(info.WorkingFolder);

    // Started from the end of the run, the product is the copy's.
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Внимание!=6"}, texts));
    EXPECT_NE(AnsiString::npos, texts.find("(msgid №3009)")) << Utf8(texts);
    AnsiString product = StandInMutexName(copy + "EXE\\qmt.exe");
    EXPECT_TRUE(WaitForFile(copy + "started.txt", 30000));
    EXPECT_NE(~0u, run.Wait(30000)) << "the updater stays open after starting the product";
    EXPECT_TRUE(MutexHeld(product));
    WriteFileBytes(copy + "EXE\\quit", {});
    EXPECT_TRUE(WaitForMutexGone(product, 10000));
    WaitForMenuBuilder(15000);
    DeleteFile(link);
    RemoveTestFolder(root);
    RemoveTestFolder(copies);
}
