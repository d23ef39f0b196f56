// A correction applied in place by the shipped updater, as a user meets it: the installation becomes the
// new version byte for byte, nothing of the run is left behind but its protocol, and the updated product
// is started when the user asks for it.
#include <gtest/gtest.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "tests/e2e/ProductUpdate.h"
#include "tests/support/InstallationBuilder.h"

TEST(UpdateInPlace, CorrectionBecomesTheNewVersionAndTheProductStarts)
{
    ProductUpdate update = MakeProductUpdate("3.1.1.2", "3.1.1.5", 64 * 1024);
    AnsiString root = MakeTestFolder("qmt_e2e_in_place");
    WriteInstallation(root, update.Before);
    WriteFileBytes(root + "qmtupdt_e2e.exe", update.Updater);

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    // The run's one question comes when it has finished: the files are checked while it waits.
    ASSERT_TRUE(WaitForBoxOf(run.Id(), 120000));
    EXPECT_TRUE(SameTree(update.After, ReadInstallation(root)));
    EXPECT_FALSE(FileExists(root + "qmt_3.1.1.5.txt")) << "the journal is left behind";
    EXPECT_FALSE(DirectoryExists(root + "QMTUPDTA.TMP")) << "the temporary folder is left behind";
    std::vector<AnsiString> protocol = ProtocolLines(root + "Протокол_qmt_3.1.1.5.txt");
    for (const AnsiString &line :
         {AnsiString(" ...ОБНОВЛЕНИЕ ВЫПОЛНЯЕТСЯ В РЕЖИМЕ ИСПРАВЛЕНИЯ"), "LogCmd 8 " + root + "QMTUPDTA.TMP\\",
          AnsiString(" ...Обновление Data\\tables.dat"),
          "Применение \"diff\" различий (старый/новый -> новый) к файлу " + root + "Data\\tables.dat ...ОК",
          "LogCmd 9 z<" + root + "Reports\\2026", AnsiString(" ...Обновление EXE\\qmt.exe"),
          "Изменение файла-конфигуратора " + root + "Cfg\\CFG.QMT ...ОК", AnsiString("LogCmd 5 Конец"),
          "Удаление файла " + root + "qmt_3.1.1.5.txt ...ОК", AnsiString(" Программа выполнена успешно")})
        EXPECT_TRUE(HasLineWith(protocol, line)) << Utf8(line) << " is not in the protocol:\n" << Joined(protocol);
    EXPECT_FALSE(HasLineWith(protocol, "Были ошибки")) << Joined(protocol);

    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Внимание!=6"}, texts));
    EXPECT_NE(AnsiString::npos, texts.find("Обновление успешно завершено.")) << Utf8(texts);
    EXPECT_NE(AnsiString::npos, texts.find("(msgid №3009)")) << Utf8(texts);
    // The updater starts the new product from the product folder and closes.
    AnsiString product = StandInMutexName(root + "EXE\\qmt.exe");
    ASSERT_TRUE(WaitForFile(root + "started.txt", 30000));
    EXPECT_NE(~0u, run.Wait(30000)) << "the updater stays open after starting the product";
    EXPECT_TRUE(MutexHeld(product));
    std::vector<uint8_t> started = ReadFileBytes(root + "started.txt");
    AnsiString folder =
        WideToCp1251(std::wstring(reinterpret_cast<const wchar_t *>(started.data()), started.size() / 2));
    EXPECT_EQ(0, AnsiCompareText(ExcludeTrailingBackslash(root), ExcludeTrailingBackslash(folder))) << Utf8(folder);

    WriteFileBytes(root + "EXE\\quit", {});
    EXPECT_TRUE(WaitForMutexGone(product, 10000));
    RemoveTestFolder(root);
}

TEST(UpdateInPlace, CyrillicProductFolder)
{
    ProductUpdate update = MakeProductUpdate("3.1.1.2", "3.1.1.5", 16 * 1024);
    const AnsiString base = MakeTestFolder("qmt_e2e_cyrillic");
    const AnsiString root = base + "ЦМТ\\";
    WriteInstallation(root, update.Before);
    WriteFileBytes(root + "qmtupdt_e2e.exe", update.Updater);

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    ASSERT_TRUE(WaitForBoxOf(run.Id(), 120000));
    EXPECT_TRUE(SameTree(update.After, ReadInstallation(root)));
    EXPECT_FALSE(FileExists(root + "qmt_3.1.1.5.txt")) << "the journal is left behind";
    std::vector<AnsiString> protocol = ProtocolLines(root + "Протокол_qmt_3.1.1.5.txt");
    for (const AnsiString &line :
         {"Предположительно. Папка исходной ЦМТ: " + root,
          "Применение \"diff\" различий (старый/новый -> новый) к файлу " + root + "Данные\\отчёт.dat ...ОК",
          AnsiString(" Программа выполнена успешно")})
        EXPECT_TRUE(HasLineWith(protocol, line)) << Utf8(line) << " is not in the protocol:\n" << Joined(protocol);

    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Внимание!=7"}, texts));  // 3009: do not start the product
    run.Kill();  // the finished run's window stays open for the user to read
    RemoveTestFolder(base);
}

TEST(UpdateInPlace, AReadOnlyExecutableIsPatchedAndNothingOfTheRunIsLeft)
{
    // The patch moves the old executable aside into the work folder, read-only as it is, and deletes
    // it there once the new one is made; then the whole temporary folder goes.
    ProductUpdate update = MakeProductUpdate("3.1.1.2", "3.1.1.5", 16 * 1024, true);
    AnsiString root = MakeTestFolder("qmt_e2e_read_only_exe");
    WriteInstallation(root, update.Before);
    WriteFileBytes(root + "qmtupdt_e2e.exe", update.Updater);
    ASSERT_EQ(0, FileSetAttr(root + "EXE\\qmt.exe", faReadOnly));

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + root + "qmtupdt_e2e.exe\"", root));
    ASSERT_TRUE(WaitForBoxOf(run.Id(), 120000));
    EXPECT_TRUE(SameTree(update.After, ReadInstallation(root)));
    EXPECT_FALSE(DirectoryExists(root + "QMTUPDTA.TMP")) << "the temporary folder is left behind";
    EXPECT_FALSE(FileExists(root + "qmt_3.1.1.5.txt")) << "the journal is left behind";
    std::vector<AnsiString> protocol = ProtocolLines(root + "Протокол_qmt_3.1.1.5.txt");
    EXPECT_TRUE(HasLineWith(protocol, "Удаление файла " + root + "QMTUPDTA.TMP\\WRK\\EXE\\qmt.exe~ ...ОК"))
        << Joined(protocol);
    EXPECT_FALSE(HasLineWith(protocol, "Невозможно удалить")) << Joined(protocol);
    EXPECT_TRUE(HasLineWith(protocol, " Программа выполнена успешно")) << Joined(protocol);

    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Внимание!=7"}, texts));  // 3009: do not start the product
    EXPECT_NE(AnsiString::npos, texts.find("(msgid №3009)")) << Utf8(texts);
    EXPECT_TRUE(CloseUpdater(run));
    RemoveTestFolder(root);
}
