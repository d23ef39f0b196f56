// Two corrections of different versions on one installation: each names its journal after its own new
// version, and both keep their backups in the product folder's one temporary folder. A run of the one
// that finds the other's run stopped rolls that back first, or changes nothing at all. It acts only on
// journals of its own folder that it can read, and on what the journals hold once it may change things.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>
#undef DeleteFile

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/LoadStr.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/EveryItemUpdate.h"
#include "tests/support/FailAtFileOp.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/ScopedDrive.h"
#include "tests/support/TempFolder.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

namespace {

const char *const UpdaterA = "qmtupdt.exe";    // to 3.1.1.5
const char *const UpdaterB = "qmtupdt_6.exe";  // to 3.1.1.6

class OtherVersionJournal : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTestFolder("qmt_other_version");
        copy_ = MakeTestFolder("qmt_other_version_copy");
        update_ = MakeEveryItemUpdate(0);
        const std::vector<uint8_t> a = update_.Payload.Build().Bytes;
        update_.Payload.NewVersion = "3.1.1.6";
        const std::vector<uint8_t> b = update_.Payload.Build().Bytes;
        a_.assign(a.begin(), a.end());
        b_.assign(b.begin(), b.end());
        Install();
        old_ = Installation();
    }
    void TearDown() override
    {
        RemoveTree(ExcludeTrailingBackslash(root_));
        RemoveTree(ExcludeTrailingBackslash(copy_));
    }

    void Install()
    {
        RemoveTree(ExcludeTrailingBackslash(root_));
        ForceDirectories(root_);
        BuildInstallation(root_, update_.Installation);
        WriteTree(root_, update_.OldFiles);
        WriteWholeFile(root_ + UpdaterA, a_);
        WriteWholeFile(root_ + UpdaterB, b_);
    }

    // Everything in the product folder (journals and the temporary folder included) but the updaters
    // and the protocols they save there.
    TestTree Installation(const AnsiString &folder = AnsiString()) const
    {
        TestTree tree = ReadTree(folder.empty() ? root_ : folder);
        tree.erase(UpdaterA);
        tree.erase(UpdaterB);
        std::erase_if(tree, [](const auto &entry) { return entry.first.rfind("Протокол_", 0) == 0; });
        return tree;
    }

    // One start of an updater in the product folder (or in `folder`), its prompts answered in turn;
    // returns its protocol and the message ids of the prompts it showed (0 for a box of a ready text,
    // whose text then goes to `texts`).
    std::vector<AnsiString> Start(const char *updater, std::vector<int> answers, std::vector<int> *ids = nullptr,
                                  const AnsiString &folder = AnsiString(), std::vector<AnsiString> *texts = nullptr)
    {
        TPromptScript script;
        for (int answer : answers)
            script.Answer(answer);
        TForm1 form(nullptr);
        form.SelfPath = (folder.empty() ? root_ : folder) + updater;
        form.FormActivate(&form);
        if (ids) {
            ids->clear();
            for (const TPrompt &prompt : script.Seen()) {
                const size_t at = prompt.Text.find("(msgid №");
                ids->push_back(at != AnsiString::npos         ? std::stoi(prompt.Text.substr(at + 8))
                               : prompt.Text == LoadStr(3003) ? 3003
                                                              : 0);
                if (texts && ids->back() == 0)
                    texts->push_back(prompt.Text);
            }
        }
        EXPECT_EQ(0, script.Unanswered());
        std::vector<AnsiString> lines;
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form.LsBx_Prot->Items()->Strings(i));
        return lines;
    }

    // The number of the file operation at which A's run on a fresh installation writes its end line.
    uint64_t EndLineOfA()
    {
        static uint64_t endLine = 0;
        if (endLine == 0) {
            KillAtFileOp count;
            Start(UpdaterA, {idNo});  // 3009
            endLine = count.LastOf(TFileOp::JournalWrite);
            Install();
        }
        return endLine;
    }

    // A's run stopped as it writes its end line: every product file is changed, and the only copies of
    // the old ones lie in the product folder's temporary folder.
    void StopA()
    {
        KillAtFileOp kill(EndLineOfA());
        EXPECT_THROW(Start(UpdaterA, {}), TEngineKilled);
        ASSERT_TRUE(FileExists(root_ + "qmt_3.1.1.5.txt"));
        ASSERT_TRUE(DirectoryExists(root_ + "QMTUPDTA.TMP"));
        ASSERT_NE(old_, Installation());
    }

    // The installation copied as it is, journals and temporary folder included, as a user keeps a spare.
    void CopyInstallation()
    {
        RemoveTree(ExcludeTrailingBackslash(copy_));
        ForceDirectories(copy_);
        WriteTree(copy_, ReadTree(root_));
    }

    // Whether a protocol line begins with `start`.
    static bool Has(const std::vector<AnsiString> &protocol, const AnsiString &start)
    {
        return std::any_of(protocol.begin(), protocol.end(),
                           [&](const AnsiString &line) { return line.rfind(start, 0) == 0; });
    }

    // A journal as an earlier build wrote it: without the line that names its product folder.
    static void TakeOutFolderLine(const AnsiString &journal)
    {
        std::string kept;
        for (const AnsiString &line : SplitJournalLines(ReadWholeFile(journal)))
            if (!IsCommandLine(line) || line.find("*" + std::to_string(ejc_ProductFolder) + "#") == AnsiString::npos)
                kept += line + "\r\n";
        WriteWholeFile(journal, kept);
    }

    // Kills the engine at the first journal line that ends a run (its own or one it rolls back), or with
    // `after`, at the first change after that line is on the disk.
    static uint32_t KillAtEndLine(bool after, bool &ended, uint64_t number, TFileOp kind, const AnsiString &name)
    {
        if (kind == TFileOp::JournalWrite && name.find("*" + std::to_string(ejc_End) + "#") != AnsiString::npos) {
            if (!after)
                throw TEngineKilled{number, kind, name};
            ended = true;
        } else if (ended && kind != TFileOp::Flush) {
            throw TEngineKilled{number, kind, name};
        }
        return 0;
    }

    AnsiString root_, copy_;
    EveryItemUpdate update_;
    std::string a_, b_;
    TestTree old_;
};

}  // namespace

TEST_F(OtherVersionJournal, RefusedItsRollbackChangesNothingAndTakenItGivesTheInstallationBackByteForByte)
{
    StopA();
    const TestTree stopped = Installation();
    std::vector<int> ids;

    Start(UpdaterB, {idNo, idOk}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 5003}), ids);
    EXPECT_EQ(stopped, Installation());  // A's journal and backups as A left them; no journal of B's

    const std::vector<AnsiString> protocol = Start(UpdaterB, {idYes, idNo}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 3003}), ids);
    EXPECT_TRUE(Has(protocol, "Анализ протокола " + root_ + "qmt_3.1.1.5.txt"));
    EXPECT_EQ(old_, Installation());

    // And A, started again, finds nothing to undo.
    Start(UpdaterA, {idNo}, &ids);  // 3009
    EXPECT_EQ(std::vector<int>{3009}, ids);
}

TEST_F(OtherVersionJournal, RolledBackTheRunGoesOnToTheEnd)
{
    StopA();
    // Files of a journal's name that are no journal: the user's, left alone.
    const TestTree users = {{"qmt_notes.txt", "заметки"},
                            {"qmt_3.0.txt", "> 01.01.26 00:00:00.000*4#Запуск0000000000"}};
    WriteTree(root_, users);
    std::vector<int> ids;
    const std::vector<AnsiString> protocol = Start(UpdaterB, {idYes, idYes, idNo}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 3003, 3009}), ids);
    EXPECT_TRUE(Has(protocol, " Восстановление завершено успешно"));
    EXPECT_TRUE(Has(protocol, " Программа выполнена успешно"));

    TestTree expected = old_;
    expected.insert(users.begin(), users.end());
    for (const auto &[name, bytes] : update_.Changes)
        expected[name] = bytes;
    TestTree now = Installation();
    ASSERT_TRUE(now.count("Cfg\\CFG.QMT"));
    EXPECT_EQ(0, std::string(now["Cfg\\CFG.QMT"].c_str() + 38).compare("3.1.1.6"));
    now.erase("Cfg\\CFG.QMT");
    expected.erase("Cfg\\CFG.QMT");
    EXPECT_EQ(expected, now);  // no journal and no temporary folder left either
}

TEST_F(OtherVersionJournal, AnInstallationCopiedWithItsPendingJournalChangesNothingAndTheOriginalRollsBackToItsOldBytes)
{
    for (const bool earlierBuild : {false, true}) {
        SCOPED_TRACE(earlierBuild ? "a journal of an earlier build" : "a journal that names its folder");
        if (earlierBuild)
            Install();
        StopA();
        if (earlierBuild)
            TakeOutFolderLine(root_ + "qmt_3.1.1.5.txt");
        const TestTree stopped = Installation();
        CopyInstallation();
        // Another version's updater and the journal's own, started in the copy.
        for (const char *updater : {UpdaterB, UpdaterA}) {
            std::vector<int> ids;
            std::vector<AnsiString> texts;
            const std::vector<AnsiString> protocol = Start(updater, {idOk}, &ids, copy_, &texts);
            EXPECT_EQ(std::vector<int>{0}, ids);
            ASSERT_EQ(1u, texts.size());
            EXPECT_EQ(0u, texts[0].find("Файл отката\n" + copy_ +
                                        "qmt_3.1.1.5.txt\nзаписан обновлением ЦМТ в другой "
                                        "папке:\n" +
                                        root_ + "\n"));
            EXPECT_TRUE(Has(protocol, " Файл отката записан обновлением в другой папке ЦМТ: " + copy_ +
                                          "qmt_3.1.1.5.txt (папка " + root_ + ")"));
            EXPECT_EQ(stopped, Installation(copy_));
            EXPECT_EQ(stopped, Installation());
        }
        // The original's own next start gives the old bytes back, from a journal of either build; the
        // journal naming its folder does so also where the folder is reached by another name.
        TScopedDrive drive;
        ASSERT_TRUE(earlierBuild || drive.Plug(root_));
        std::vector<int> ids;
        Start(UpdaterA, {idYes, idNo}, &ids, earlierBuild ? AnsiString() : drive.Root());
        EXPECT_EQ((std::vector<int>{3001, 3003}), ids);
        EXPECT_EQ(old_, Installation());
    }
}

TEST_F(OtherVersionJournal, AnEndedJournalCopiedWithItsInstallationGoesAndLeavesTheOriginalsBackupsWhole)
{
    StopA();
    // B rolls A back and is stopped once A's journal is ended, before it removes what the journal names.
    {
        bool ended = false;
        FailFileOps kill([&](uint64_t n, TFileOp kind, const AnsiString &name) {
            return KillAtEndLine(true, ended, n, kind, name);
        });
        EXPECT_THROW(Start(UpdaterB, {idYes}), TEngineKilled);
    }
    ASSERT_TRUE(DirectoryExists(root_ + "QMTUPDTA.TMP"));
    CopyInstallation();
    // Then B, started in the original, tidies the ended journal up, goes on and is stopped half-way.
    {
        bool ended = false;
        FailFileOps kill([&](uint64_t n, TFileOp kind, const AnsiString &name) {
            return KillAtEndLine(false, ended, n, kind, name);
        });
        EXPECT_THROW(Start(UpdaterB, {idYes}), TEngineKilled);  // 3003
    }
    const TestTree stopped = Installation();
    ASSERT_TRUE(FileExists(root_ + "qmt_3.1.1.6.txt"));
    ASSERT_NE(old_, stopped);

    // B in the copy: the copied ended journal goes, nothing it names is touched, and the copy is updated;
    // while another program keeps the journal from going, nothing changes.
    std::vector<int> ids;
    std::vector<AnsiString> texts;
    const TestTree copied = Installation(copy_);
    HANDLE held = CreateFileW(Cp1251ToWide(copy_ + "qmt_3.1.1.5.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Start(UpdaterB, {idOk}, &ids, copy_, &texts);
    CloseHandle(held);
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(0u, texts[0].find("Не удается удалить файл отката\n" + copy_ + "qmt_3.1.1.5.txt\n"));
    EXPECT_EQ(copied, Installation(copy_));
    const std::vector<AnsiString> protocol = Start(UpdaterB, {idNo}, &ids, copy_);
    EXPECT_EQ(std::vector<int>{3009}, ids);
    EXPECT_TRUE(Has(protocol, " Файл отката завершенного обновления другой папки ЦМТ удаляется, ее файлы не "
                              "затрагиваются: " +
                                  copy_ + "qmt_3.1.1.5.txt (папка " + root_ + ")"));
    EXPECT_FALSE(FileExists(copy_ + "qmt_3.1.1.5.txt"));
    EXPECT_EQ(stopped, Installation());

    Start(UpdaterB, {idYes, idNo}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 3003}), ids);
    EXPECT_EQ(old_, Installation());
}

TEST_F(OtherVersionJournal, AJournalThatCannotBeReadOrHoldsNoGoodLineStopsTheStartBeforeAnythingChanges)
{
    StopA();
    const AnsiString journal = root_ + "qmt_3.1.1.5.txt";
    const TestTree stopped = Installation();
    std::vector<int> ids;
    std::vector<AnsiString> texts;
    // Another program holds the journal open with no sharing.
    HANDLE held = CreateFileW(Cp1251ToWide(journal).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    for (const char *updater : {UpdaterB, UpdaterA}) {
        const std::vector<AnsiString> protocol = Start(updater, {idOk}, &ids, AnsiString(), &texts);
        EXPECT_EQ(std::vector<int>{0}, ids);
        EXPECT_TRUE(Has(protocol, " Файл отката не читается: " + journal));
    }
    CloseHandle(held);
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(0u, texts[0].find("Не удается прочитать файл отката\n" + journal + "\n"));
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ(stopped, Installation());

    // A crash left the journal zero-filled, and the temporary folder holds the backups of its run.
    const std::string written = ReadWholeFile(journal);
    WriteWholeFile(journal, std::string(written.size(), '\0'));
    const TestTree zeroed = Installation();
    texts.clear();
    for (const char *updater : {UpdaterB, UpdaterA}) {
        Start(updater, {idOk}, &ids, AnsiString(), &texts);
        EXPECT_EQ(std::vector<int>{0}, ids);
    }
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(0u, texts[0].find("Файл\n" + journal + "\nназван как файл отката, но в нем нет ни одной верной строки"));
    EXPECT_EQ(zeroed, Installation());

    // Readable again, the journal rolls the installation back.
    WriteWholeFile(journal, written);
    Start(UpdaterB, {idYes, idNo}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 3003}), ids);
    EXPECT_EQ(old_, Installation());
}

TEST_F(OtherVersionJournal, ASecondUpdaterThatWaitedWhileTheFirstRanOffersTheFirstsRollbackInsteadOfUpdatingOnTopOfIt)
{
    const uint64_t endLine = EndLineOfA();
    // B is held between its check of earlier runs and its journal's first line while A runs and stops.
    TestTree stopped;
    bool held = false;
    std::vector<int> ids;
    std::vector<AnsiString> protocol;
    {
        FailFileOps hold([&](uint64_t, TFileOp, const AnsiString &) -> uint32_t {
            if (!held) {
                held = true;
                KillAtFileOp kill(endLine);
                EXPECT_THROW(Start(UpdaterA, {}), TEngineKilled);
                stopped = Installation();
            }
            return 0;
        });
        protocol = Start(UpdaterB, {idNo, idOk}, &ids);
    }
    EXPECT_EQ((std::vector<int>{3001, 5003}), ids);
    EXPECT_TRUE(Has(protocol, " Файл отката изменился во время ожидания: " + root_ + "qmt_3.1.1.5.txt"));
    EXPECT_EQ(stopped, Installation());  // A's journal and backups as A left them, and no journal of B's

    Start(UpdaterB, {idYes, idNo}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 3003}), ids);
    EXPECT_EQ(old_, Installation());
}
