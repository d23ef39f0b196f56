// The updater killed from outside while it applies a correction, at ten moments spread over its run,
// and started again: the user answers that the failed run is to be undone (3001 Yes) and that no update
// is wanted now (3003 No). Afterwards the installation is the old version byte for byte, or the new one
// when the killed run had already written its journal's end or deleted the journal.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "framework/SysUtils.h"
#include "tests/e2e/ProductUpdate.h"
#include "tests/support/InstallationBuilder.h"

namespace {

const char *const kJournal = "qmt_3.1.1.5.txt";
const char *const kProtocol = "Протокол_qmt_3.1.1.5.txt";
const char *const kTempFolder = "QMTUPDTA.TMP";

// Whether the journal's last command line is the end command: the run had finished its changes.
bool JournalEnded(const AnsiString &fileName)
{
    AnsiString last;
    for (const AnsiString &line : ProtocolLines(fileName))
        if (!line.empty() && line[0] == '>')
            last = line;
    return last.find("Конец") != AnsiString::npos;
}

// The run makes its temporary folder just before the apply loop: the moment kills are counted from.
// Polled finely, since the loop itself lasts only a second or two.
bool WaitForApplyStart(const AnsiString &folder, int timeout)
{
    for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < ULONGLONG(timeout); Sleep(1))
        if (DirectoryExists(folder))
            return true;
    return false;
}

class InterruptedRuns : public ::testing::Test {
protected:
    void SetUp() override { root_ = MakeTestFolder("qmt_e2e_killed"); }
    void TearDown() override { RemoveTestFolder(root_); }

    // The old installation with the updater in it, nothing else.
    void Reset()
    {
        RemoveTestFolder(root_);
        ForceDirectories(root_);
        WriteTree(root_, update_.Before);
        WriteFileBytes(root_ + "qmtupdt_e2e.exe", update_.Updater);
    }

    bool Start(TStartedProcess &run) { return run.Start("\"" + root_ + "qmtupdt_e2e.exe\"", root_); }

    // An undisturbed run: the milliseconds from the apply loop's start to the final question.
    ULONGLONG MeasuredRun()
    {
        Reset();
        TStartedProcess run;
        if (!Start(run) || !WaitForApplyStart(root_ + kTempFolder, 60000))
            return 0;
        ULONGLONG start = GetTickCount64();
        if (!WaitForBoxOf(run.Id(), 60000))
            return 0;
        ULONGLONG length = GetTickCount64() - start;
        AnsiString texts;
        AnswerBoxes(run.Id(), {"Внимание!=7"}, texts);
        CloseUpdater(run);
        EXPECT_TRUE(SameTree(update_.After, ReadTree(root_)));
        return length;
    }

    AnsiString root_;
    ProductUpdate update_ = MakeProductUpdate("3.1.1.2", "3.1.1.5", 400 * 1024);
};

}  // namespace

TEST_F(InterruptedRuns, KilledAtTenMomentsThenRolledBackOnTheNextStart)
{
    const ULONGLONG length = MeasuredRun();
    ASSERT_GT(length, 0u) << "the undisturbed run did not finish";

    std::mt19937 moments(20261207);
    std::uniform_real_distribution<double> within(0.0, 1.0);
    int rolledBack = 0;
    std::string outcomes;
    for (int i = 0; i < 10; ++i) {
        const DWORD delay = DWORD(double(length) * (i + within(moments)) / 10);
        Reset();
        TStartedProcess killed;
        ASSERT_TRUE(Start(killed));
        ASSERT_TRUE(WaitForApplyStart(root_ + kTempFolder, 60000));
        Sleep(delay);
        killed.Kill();

        const bool journal = FileExists(root_ + kJournal);
        const bool ended = journal && JournalEnded(root_ + kJournal);
        const bool finished = !journal || ended;
        SCOPED_TRACE("killed " + std::to_string(delay) + " ms into the " + std::to_string(length) +
                     " ms of the apply loop and finish; journal " +
                     (!journal ? "deleted" : ended ? "ended" : "unfinished"));
        DeleteFile(root_ + kProtocol);  // a run killed at its last question had written it

        TStartedProcess again;
        ASSERT_TRUE(Start(again));
        AnsiString texts;
        if (journal) {
            EXPECT_EQ(0u, AnswerBoxes(again.Id(), {"Внимание!=6", "Внимание!=7"}, texts));
            EXPECT_NE(AnsiString::npos, texts.find("(msgid №3001)")) << Utf8(texts);
            EXPECT_NE(AnsiString::npos, texts.find("Продолжить выполнение обновления?")) << Utf8(texts);
        }
        // Without a journal the next start finds the new version, which this correction does not
        // fit, and ends without a question.
        ASSERT_TRUE(WaitForFile(root_ + kProtocol, 60000));
        Sleep(300);
        std::vector<AnsiString> protocol = ProtocolLines(root_ + kProtocol);
        if (journal) {
            EXPECT_TRUE(HasLineWith(protocol, " Восстановление завершено успешно")) << Joined(protocol);
        }
        EXPECT_TRUE(CloseUpdater(again));

        FileTree tree = ReadTree(root_);
        if (!journal) {
            // Killed while it emptied its temporary folder: what is left of the folder is the next
            // update's to clear; the installation itself is complete.
            for (auto it = tree.begin(); it != tree.end();)
                it = it->first.rfind(AnsiString(kTempFolder) + "\\", 0) == 0 ? tree.erase(it) : std::next(it);
        }
        EXPECT_TRUE(SameTree(finished ? update_.After : update_.Before, tree));
        rolledBack += finished ? 0 : 1;
        outcomes += " " + std::to_string(delay) + (finished ? ":new" : ":old");
    }
    std::printf("apply loop and finish %llu ms; killed at (ms: state after the next start)%s\n", length, outcomes.c_str());
    // The moments are spread so that most of them fall inside the apply loop.
    EXPECT_GE(rolledBack, 5);
}
