// Runs the shipped updater refuses: each ends with its error box and leaves the installation exactly as
// it was, with the protocol written where the user finds it.
#include <gtest/gtest.h>

#include "framework/runtime/SysUtils.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/UpdaterRun.h"

namespace {

const char *const kErrorOk = "Ошибка!=1";

bool Contains(const AnsiString &text, const AnsiString &part) { return text.find(part) != AnsiString::npos; }

// An installation of 3.0.9, which the default payload (3.1.0 -> 3.1.1) does not fit.
AnsiString OlderInstallation(const char *name)
{
    AnsiString root = MakeTestFolder(name);
    TestInstallation older;
    older.VersionText = "5-3.0.9";
    BuildInstallation(root, older);
    return root;
}

}  // namespace

TEST(RefusedRuns, DamagedUpdaterChangesNothing)
{
    AnsiString root = MakeTestFolder("qmt_e2e_damaged");
    BuildInstallation(root);
    TestPayloadBuilder payload;
    payload.AddFile(1, "EXE\\qmt.exe", PatternBytes(3000, 7));
    std::vector<uint8_t> updater = UpdaterWith(payload);
    updater[updater.size() - 200] ^= 0x5A;  // a byte of the payload, as a broken download leaves it
    WriteFileBytes(root + "qmtupdt_e2e.exe", updater);
    FileTree before = ReadInstallation(root);

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {kErrorOk}, texts));
    EXPECT_TRUE(Contains(texts, "Модуль обновления поврежден")) << Utf8(texts);

    // The run stopped before it knew the product folder: the protocol lies beside the updater.
    ASSERT_TRUE(WaitForFile(root + "Протокол.txt", 30000));
    Sleep(300);
    std::vector<AnsiString> protocol = ProtocolLines(root + "Протокол.txt");
    EXPECT_TRUE(HasLineWith(protocol, " Самопроверка")) << Joined(protocol);
    EXPECT_FALSE(HasLineWith(protocol, " Проверка нескольких копий")) << Joined(protocol);
    EXPECT_TRUE(CloseUpdater(run));
    EXPECT_TRUE(SameTree(before, ReadInstallation(root)));
    RemoveTestFolder(root);
}

TEST(RefusedRuns, VersionMismatchFromExeFolderChangesNothing)
{
    AnsiString root = OlderInstallation("qmt_e2e_mismatch");
    WriteFileBytes(root + "EXE\\qmtupdt_e2e.exe", UpdaterWith(TestPayloadBuilder{}));
    FileTree before = ReadInstallation(root);

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "EXE\\qmtupdt_e2e.exe\"", root + "EXE"));
    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {kErrorOk}, texts));
    EXPECT_TRUE(Contains(texts, "Обновление предназначено для редакции ЦМТ")) << Utf8(texts);
    EXPECT_TRUE(Contains(texts, "ЦМТ 5 3.1.0")) << Utf8(texts);

    // Started from "EXE", the updater found the product one folder up and keeps its protocol there.
    AnsiString protocolFile = root + "Протокол_qmt_3.1.1.txt";
    ASSERT_TRUE(WaitForFile(protocolFile, 30000));
    Sleep(300);
    std::vector<AnsiString> protocol = ProtocolLines(protocolFile);
    EXPECT_TRUE(
        HasLineWith(protocol, "Обновление не предназначено для данной редакции ЦМТ.  У Вас установлена ЦМТ-5-3.0.9"))
        << Joined(protocol);
    // The window shows every line of the file, then where the file is, that line selected.
    int selected = -1;
    std::vector<AnsiString> expected = protocol;
    expected.push_back("Техническая информация о проведенных действиях сохранена в: ");
    expected.push_back(protocolFile);
    const std::vector<AnsiString> shown = ShownProtocolLines(run.Id(), &selected);
    EXPECT_EQ(expected, shown) << Joined(shown);
    EXPECT_EQ(int(shown.size()) - 1, selected);
    EXPECT_TRUE(CloseUpdater(run));
    EXPECT_FALSE(FileExists(root + "qmt_3.1.1.txt"));
    EXPECT_TRUE(SameTree(before, ReadInstallation(root)));
    RemoveTestFolder(root);
}

TEST(RefusedRuns, MissingProductExeLeavesNoJournal)
{
    AnsiString root = MakeTestFolder("qmt_e2e_no_exe");
    BuildInstallation(root);
    DeleteFile(root + "EXE\\qmt.exe");
    WriteFileBytes(root + "qmtupdt_e2e.exe", UpdaterWith(TestPayloadBuilder{}));
    FileTree before = ReadInstallation(root);

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {kErrorOk}, texts));
    EXPECT_TRUE(Contains(texts, "Не найдена Программа ЦМТ.")) << Utf8(texts);
    ASSERT_TRUE(WaitForFile(root + "Протокол_qmt_3.1.1.txt", 30000));
    Sleep(300);
    EXPECT_TRUE(CloseUpdater(run));
    EXPECT_TRUE(SameTree(before, ReadInstallation(root)));  // no journal left for the next start to offer to undo
    RemoveTestFolder(root);
}

TEST(RefusedRuns, SecondUpdaterWhileOneRunsIsTurnedAway)
{
    AnsiString root = OlderInstallation("qmt_e2e_second");
    WriteFileBytes(root + "qmtupdt_e2e.exe", UpdaterWith(TestPayloadBuilder{}));
    FileTree before = ReadInstallation(root);

    // The first run stops at its version error and waits there for the user.
    TStartedProcess first;
    ASSERT_TRUE(first.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    ASSERT_TRUE(WaitForBoxOf(first.Id(), 60000));

    TStartedProcess second;
    ASSERT_TRUE(second.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(second.Id(), {kErrorOk}, texts));
    EXPECT_TRUE(Contains(texts, "(msgid №5005)")) << Utf8(texts);
    ASSERT_TRUE(WaitForFile(root + "Протокол.txt", 30000));
    Sleep(300);
    EXPECT_TRUE(HasLineWith(ProtocolLines(root + "Протокол.txt"), " Проверка нескольких копий"));
    EXPECT_TRUE(CloseUpdater(second));

    // The first run goes on undisturbed.
    EXPECT_EQ(0u, AnswerBoxes(first.Id(), {kErrorOk}, texts));
    EXPECT_TRUE(Contains(texts, "Обновление предназначено для редакции ЦМТ")) << Utf8(texts);
    ASSERT_TRUE(WaitForFile(root + "Протокол_qmt_3.1.1.txt", 30000));
    Sleep(300);
    EXPECT_TRUE(CloseUpdater(first));
    EXPECT_TRUE(SameTree(before, ReadInstallation(root)));
    RemoveTestFolder(root);
}
