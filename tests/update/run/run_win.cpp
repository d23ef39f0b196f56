#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/TempFolder.h"
#include "update/journal/JournalLine.h"
#include "update/payload/PartNfo.h"
#include "update/run/uMain.h"

namespace {

class Run : public ::testing::Test {
protected:
    void SetUp() override { root_ = MakeTestFolder("qmt_run"); }
    void TearDown() override { RemoveTestFolder(root_); }

    // Puts an updater carrying `payload` into `folder` and points the window at it.
    void PlaceUpdater(const AnsiString &folder, const TestPayloadBuilder &payload = TestPayloadBuilder{})
    {
        std::vector<uint8_t> bytes = payload.Build().Bytes;
        TFileStream file(folder + "qmtupdt.exe", fmCreate);
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
        form_.SelfPath = folder + "qmtupdt.exe";
    }

    TStringList ProtocolFile(const AnsiString &name)
    {
        TStringList lines;
        lines.LoadFromFile(root_ + name);
        return lines;
    }

    bool Logged(const AnsiString &line)
    {
        for (int i = 0; i < form_.LsBx_Prot->Items()->Count(); ++i)
            if (form_.LsBx_Prot->Items()->Strings(i) == line)
                return true;
        return false;
    }

    AnsiString root_;
    FakeClock clock_;
    TClockOverride useClock_{clock_};
    TForm1 form_{nullptr};
};

}  // namespace

TEST_F(Run, VersionMismatchEndsTheRunAndRemovesTheJournal)
{
    TestInstallation older;
    older.VersionText = "5-3.0.9";
    BuildInstallation(root_, older);
    PlaceUpdater(root_);
    TPromptScript script;
    script.Answer(idOk);  // 5013
    form_.FormActivate(&form_);

    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Обновление предназначено для редакции ЦМТ\nЦМТ 5 3.1.0", script.Seen()[0].Text);
    EXPECT_TRUE(form_.RunFinished);
    EXPECT_TRUE(form_.Pn_Exit->Visible());
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
    EXPECT_TRUE(Logged(" Самопроверка"));
    EXPECT_TRUE(Logged(" Проверка нескольких копий ...ОК "));
    EXPECT_TRUE(Logged(" Нет проблем"));
    EXPECT_TRUE(Logged("Обновление не предназначено для данной редакции ЦМТ.  У Вас установлена ЦМТ-5-3.0.9"));

    TStringList saved = ProtocolFile("Протокол_qmt_3.1.1.txt");
    ASSERT_GT(saved.Count(), 10);
    EXPECT_EQ(" ...Инициализация", saved.Strings(0));
    EXPECT_EQ("LogCmd 5 Конец", saved.Strings(saved.Count() - 1));  // the journal was closed, then removed
    int shown = form_.LsBx_Prot->Items()->Count();
    EXPECT_EQ(saved.Count() + 2, shown);
    EXPECT_EQ(root_ + "Протокол_qmt_3.1.1.txt", form_.LsBx_Prot->Items()->Strings(shown - 1));

    form_.FormActivate(&form_);  // later activations do nothing
    EXPECT_EQ(shown, form_.LsBx_Prot->Items()->Count());
}

TEST_F(Run, JournalOfAnEarlierRunAndTheUserDeclines)
{
    BuildInstallation(root_);
    PlaceUpdater(root_);
    {
        TFileStream journal(root_ + "qmt_3.1.1.txt", fmCreate);
    }
    TPromptScript script;
    script.Answer(idNo).Answer(idOk);  // 3001, 5003
    form_.FormActivate(&form_);
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("(msgid №3001)"));
    EXPECT_EQ(0u, script.Seen()[1].Text.find("Предыдущее обновление завершено с ошибкой"));
    EXPECT_TRUE(form_.LastRunProblems);
    EXPECT_TRUE(Logged("Ошибка № 5003"));
    EXPECT_TRUE(Logged("Отменено пользователем. "));
    EXPECT_TRUE(FileExists(root_ + "qmt_3.1.1.txt"));  // kept for the next start
    EXPECT_TRUE(FileExists(root_ + "Протокол_qmt_3.1.1.txt"));
}

TEST_F(Run, CorrectionAppliesThePayloadInPlace)
{
    TestInstallation installed;
    installed.VersionText = "5-3.1.1.2";
    BuildInstallation(root_, installed);
    TestPayloadBuilder correction;
    correction.BaseVersion = "3.1.1.2";
    correction.NewVersion = "3.1.1.5";
    correction.AddSection();
    correction.AddFile(ADDREPL, "DATA\\new.txt", PatternBytes(300, 1));
    correction.AddFile(ADDREPL, "EXE\\qmt.exe", PatternBytes(50, 2));
    PlaceUpdater(root_, correction);
    TPromptScript script;
    script.Answer(idNo);  // 3009: do not start the product
    form_.FormActivate(&form_);
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("(msgid №3009)"));
    EXPECT_TRUE(Logged(" ...ОБНОВЛЕНИЕ ВЫПОЛНЯЕТСЯ В РЕЖИМЕ ИСПРАВЛЕНИЯ"));
    EXPECT_EQ(0, form_.UpdateVariant);
    EXPECT_EQ("Исправление ЦМТ-5 (3.1.1.X) -> ЦМТ-5 (3.1.1.5) ", form_.Caption());
    EXPECT_TRUE(Logged(" Программа выполнена успешно"));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.5.txt"));
    EXPECT_TRUE(FileExists(root_ + "Протокол_qmt_3.1.1.5.txt"));
    EXPECT_TRUE(Logged("LogCmd 8 " + root_ + "QMTUPDTA.TMP\\"));
    EXPECT_FALSE(DirectoryExists(root_ + "QMTUPDTA.TMP"));

    auto bytes = [](const std::vector<uint8_t> &v) { return std::string(v.begin(), v.end()); };
    EXPECT_EQ(bytes(PatternBytes(300, 1)), ReadWholeFile(root_ + "DATA\\new.txt"));
    EXPECT_EQ(bytes(PatternBytes(50, 2)), ReadWholeFile(root_ + "EXE\\qmt.exe"));
    const std::string cfg = ReadWholeFile(root_ + "Cfg\\CFG.QMT");
    ASSERT_EQ(1375u + 16u, cfg.size());
    EXPECT_EQ(std::string("3.1.1.5") + '\0', cfg.substr(38, 8));
}

TEST_F(Run, ACorrectionWhoseNewFolderIsAUsersFileFailsAndKeepsTheFileThroughItsRollback)
{
    TestInstallation installed;
    installed.VersionText = "5-3.1.1.2";
    BuildInstallation(root_, installed);
    ForceDirectories(root_ + "Doc");
    const AnsiString users = root_ + "Doc\\Руководство";
    WriteWholeFile(users, "the user's own notes");
    FileSetAttr(users, faReadOnly | faArchive);
    TestPayloadBuilder correction;
    correction.BaseVersion = "3.1.1.2";
    correction.NewVersion = "3.1.1.5";
    correction.AddSection();
    correction.AddFile(ADDREPL, "Doc\\Руководство\\new.pdf", PatternBytes(300, 1));
    PlaceUpdater(root_, correction);
    {
        TForm1 first(nullptr);
        first.SelfPath = form_.SelfPath;
        TPromptScript script;  // a failed run asks nothing
        first.FormActivate(&first);
        EXPECT_TRUE(script.Seen().empty());
        bool said = false;
        for (int i = 0; i < first.LsBx_Prot->Items()->Count(); ++i)
            said = said ||
                   first.LsBx_Prot->Items()->Strings(i).rfind(
                       " Невозможно создать папку " + users + ": с таким именем уже есть файл ...Были ошибки", 0) == 0;
        EXPECT_TRUE(said);
    }
    const AnsiString journal = root_ + "qmt_3.1.1.5.txt";
    ASSERT_TRUE(FileExists(journal));
    EXPECT_EQ(std::string::npos, ReadWholeFile(journal).find("z<" + users + "00000"));
    EXPECT_EQ("the user's own notes", ReadWholeFile(users));

    TForm1 next(nullptr);
    next.SelfPath = form_.SelfPath;
    TPromptScript script;
    script.Answer(idYes).Answer(idNo);  // 3001, 3003
    next.FormActivate(&next);
    EXPECT_EQ(2u, script.Seen().size());
    EXPECT_FALSE(FileExists(journal));
    EXPECT_EQ("the user's own notes", ReadWholeFile(users));
    EXPECT_EQ(faReadOnly | faArchive, FileGetAttr(users) & (faReadOnly | faArchive | faDirectory));
    FileSetAttr(users, faArchive);
}

TEST_F(Run, UpdaterOutsideAProductFolder)
{
    ForceDirectories(root_ + "elsewhere\\");
    PlaceUpdater(root_ + "elsewhere\\");
    TPromptScript script;
    script.Answer(idOk);
    form_.FormActivate(&form_);
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Для корректной работы обновления\nего необходимо запускать из папки с ПК ЦМТ-5\n(msgid №5015)",
              script.Seen()[0].Text);
    EXPECT_TRUE(Logged(" Инициализация данных ...Были ошибки "));
    EXPECT_TRUE(FileExists(root_ + "elsewhere\\Протокол_qmt_3.1.1.txt"));
}

TEST_F(Run, ProtocolFileThatCannotBeWritten)
{
    TestInstallation older;
    older.VersionText = "5-3.0.9";
    BuildInstallation(root_, older);
    PlaceUpdater(root_);
    ForceDirectories(root_ + "Протокол_qmt_3.1.1.txt\\");  // a folder stands where the file would go
    TPromptScript script;
    script.Answer(idOk);
    form_.FormActivate(&form_);
    EXPECT_TRUE(form_.RunFinished);
    const TStrings &lines = *form_.LsBx_Prot->Items();
    EXPECT_EQ(0u, lines.Strings(lines.Count() - 1).find("Произошла аварийная ситуация "));
    EXPECT_NE(AnsiString::npos, lines.Strings(lines.Count() - 1).find("Протокол_qmt_3.1.1.txt"));
}

namespace {

void WriteJournal(const AnsiString &path, const std::vector<std::pair<int, AnsiString>> &commands)
{
    std::string bytes;
    for (const auto &c : commands)
        bytes += "\r\n" + JournalCommandLine("06.12.26 23:10:00.000", c.first, c.second) + "\r\n";
    TFileStream file(path, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
}

}  // namespace

TEST_F(Run, RolledBackThenTheUserStops)
{
    BuildInstallation(root_);
    PlaceUpdater(root_);
    AnsiString temp = root_ + "QMTUPDTA.TMP\\";
    ForceDirectories(temp + "WRK\\EXE\\");
    {
        TFileStream left(temp + "WRK\\EXE\\a.dll", fmCreate);
    }
    WriteJournal(root_ + "qmt_3.1.1.txt", {{ejc_Start, JournalStartText}, {ejc_TempFolder, temp}});
    TPromptScript script;
    script.Answer(idYes).Answer(idNo);  // 3001, 3003
    form_.FormActivate(&form_);
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_EQ(AnsiString::npos, script.Seen()[1].Text.find("(msgid"));  // 3003 comes without its id
    EXPECT_TRUE(Logged(" Есть проблемы. Попытка отката к предыдущему состоянию."));
    EXPECT_TRUE(Logged(" Восстановление завершено успешно"));
    EXPECT_TRUE(Logged("Отменено пользователем. "));
    EXPECT_FALSE(DirectoryExists(root_ + "QMTUPDTA.TMP"));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
    EXPECT_TRUE(form_.TempFolder.empty());
}

TEST_F(Run, RollbackThatFailsEndsTheRun)
{
    BuildInstallation(root_);
    PlaceUpdater(root_);
    WriteJournal(root_ + "qmt_3.1.1.txt", {{ejc_Start, JournalStartText}});
    {
        TFileStream journal(root_ + "qmt_3.1.1.txt", fmOpenReadWrite);
        journal.Seek(0, soFromEnd);
        journal.WriteBuffer("> x", 3);
    }
    TPromptScript script;
    script.Answer(idYes).Answer(idOk);  // 3001, 5003
    form_.FormActivate(&form_);
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_EQ(0u, script.Seen()[1].Text.find("Предыдущее обновление завершено с ошибкой"));
    EXPECT_TRUE(Logged("Файл протокола поврежден " + root_ + "qmt_3.1.1.txt"));
    EXPECT_TRUE(Logged("Ошибка № 5003"));
    EXPECT_TRUE(FileExists(root_ + "qmt_3.1.1.txt"));
}
