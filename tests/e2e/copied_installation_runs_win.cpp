// The journal of an update stopped half-way, with the backups of the files it had changed beside it in
// the temporary folder, as starts of the shipped updater meet it where they cannot act on it: copied
// with its installation into another folder, or held open by another program. Each such start ends
// with its error box and changes nothing, in the copy or in the installation the journal belongs to;
// that installation's next start rolls it back to the old version byte for byte.
#include <gtest/gtest.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "tests/e2e/ProductUpdate.h"
#include "tests/e2e/RunJournal.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/TempFolder.h"

namespace {

const char *const kUpdater = "qmtupdt_e2e.exe";
const char *const kJournal = "qmt_3.1.1.5.txt";
const char *const kTempFolder = "QMTUPDTA.TMP";

// The correction whose run is stopped, and another version's, which finds that run's journal.
const ProductUpdate &Correction()
{
    static const ProductUpdate update = MakeProductUpdate("3.1.1.2", "3.1.1.5", 16 * 1024);
    return update;
}
const std::vector<uint8_t> &OtherVersionsUpdater()
{
    static const std::vector<uint8_t> updater = MakeProductUpdate("3.1.1.2", "3.1.1.6", 16 * 1024).Updater;
    return updater;
}

bool Contains(const AnsiString &text, const AnsiString &part) { return text.find(part) != AnsiString::npos; }

class StoppedUpdatesJournal : public ::testing::Test {
protected:
    // The correction's run in the installation, killed once its journal holds a few command lines: the
    // journal has no end, and the temporary folder holds backups. The rest of the run takes some tens of
    // ms: on a busy machine it may be done before the kill lands, and is then run again.
    void SetUp() override
    {
        root_ = MakeTestFolder("qmt_e2e_stopped");
        for (int attempt = 0; attempt < 5 && !Unfinished(); ++attempt) {
            RemoveTestFolder(root_);
            ForceDirectories(root_);
            WriteInstallation(root_, Correction().Before);
            WriteFileBytes(root_ + kUpdater, Correction().Updater);
            TStartedProcess run;
            ASSERT_TRUE(Start(run, root_));
            ASSERT_TRUE(WaitForJournalCommands(root_ + kJournal, kStopAt, 60000));
            run.Kill();
        }
        ASSERT_TRUE(Unfinished());
        ASSERT_TRUE(DirectoryExists(root_ + kTempFolder));
        stopped_ = ReadInstallation(root_);
    }
    bool Unfinished() const { return FileExists(root_ + kJournal) && !JournalEnded(root_ + kJournal); }
    void TearDown() override { RemoveTestFolder(root_); }

    static bool Start(TStartedProcess &run, const AnsiString &folder)
    {
        return run.Start("\"" + folder + kUpdater + "\"", folder);
    }

    // Starts `updater` (of the new version `version`) in `folder` and answers its boxes with `answers`;
    // their texts, and the lines of the protocol the run leaves in the folder in `protocol`.
    static AnsiString StartAnswered(const AnsiString &folder, const std::vector<uint8_t> &updater,
                                    const AnsiString &version, const std::vector<AnsiString> &answers,
                                    std::vector<AnsiString> &protocol)
    {
        WriteFileBytes(folder + kUpdater, updater);
        const AnsiString protocolFile = folder + "Протокол_qmt_" + version + ".txt";
        DeleteFile(protocolFile);
        TStartedProcess run;
        AnsiString texts;
        EXPECT_TRUE(Start(run, folder));
        EXPECT_EQ(0u, AnswerBoxes(run.Id(), answers, texts));
        const bool written = WaitForFile(protocolFile, 30000);
        EXPECT_TRUE(written) << "no protocol";
        if (written) {
            Sleep(300);
            protocol = ProtocolLines(protocolFile);
        }
        EXPECT_TRUE(CloseUpdater(run));
        return texts;
    }

    // A start in the installation that rolls the stopped run back (3001 Yes) and takes no update up
    // (3003 No): the old version byte for byte, and nothing of the run left.
    void RollBack(const std::vector<uint8_t> &updater, const AnsiString &version)
    {
        std::vector<AnsiString> protocol;
        const AnsiString texts = StartAnswered(root_, updater, version, {"Внимание!=6", "Внимание!=7"}, protocol);
        EXPECT_TRUE(Contains(texts, "(msgid №3001)")) << Utf8(texts);
        EXPECT_TRUE(Contains(texts, "Продолжить выполнение обновления?")) << Utf8(texts);
        EXPECT_TRUE(HasLineWith(protocol, " Восстановление завершено успешно")) << Joined(protocol);
        EXPECT_TRUE(SameTree(Correction().Before, ReadInstallation(root_)));
        EXPECT_FALSE(DirectoryExists(root_ + kTempFolder));
    }

    static constexpr int kStopAt = 4;
    AnsiString root_;
    FileTree stopped_;
};

}  // namespace

TEST_F(StoppedUpdatesJournal, CopiedWithItsInstallationItStopsBothVersionsStartsInTheCopyAndTheOriginalRollsBack)
{
    const AnsiString copy = MakeTestFolder("qmt_e2e_stopped_copy");
    WriteTree(copy, ReadTree(root_));  // the folder as it is, the journal and the temporary folder with it
    for (const auto &[updater, version] :
         {std::pair(&OtherVersionsUpdater(), "3.1.1.6"), std::pair(&Correction().Updater, "3.1.1.5")}) {
        SCOPED_TRACE(version);
        std::vector<AnsiString> protocol;
        const AnsiString texts = StartAnswered(copy, *updater, version, {"Ошибка!=1"}, protocol);
        EXPECT_TRUE(Contains(texts, "Файл отката\n" + copy + kJournal + "\nзаписан обновлением ЦМТ в другой папке:\n" +
                                        root_ + "\n"))
            << Utf8(texts);
        EXPECT_TRUE(HasLineWith(protocol, " Файл отката записан обновлением в другой папке ЦМТ: " + copy + kJournal +
                                              " (папка " + root_ + ")"))
            << Joined(protocol);
        EXPECT_TRUE(SameTree(stopped_, ReadInstallation(copy)));
        EXPECT_TRUE(SameTree(stopped_, ReadInstallation(root_)));
    }
    RollBack(Correction().Updater, "3.1.1.5");
    EXPECT_TRUE(SameTree(stopped_, ReadInstallation(copy)));
    RemoveTestFolder(copy);
}

TEST_F(StoppedUpdatesJournal, HeldOpenByAnotherProgramItStopsTheStartAndLetGoItRollsTheInstallationBack)
{
    const AnsiString journal = root_ + kJournal;
    HANDLE held = CreateFileW(Cp1251ToWide(journal).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    std::vector<AnsiString> protocol;
    const AnsiString texts = StartAnswered(root_, OtherVersionsUpdater(), "3.1.1.6", {"Ошибка!=1"}, protocol);
    CloseHandle(held);
    EXPECT_TRUE(Contains(texts, "Не удается прочитать файл отката\n" + journal + "\n")) << Utf8(texts);
    EXPECT_TRUE(HasLineWith(protocol, " Файл отката не читается: " + journal)) << Joined(protocol);
    EXPECT_TRUE(SameTree(stopped_, ReadInstallation(root_)));

    RollBack(OtherVersionsUpdater(), "3.1.1.6");
}
