// The updater killed from outside at moments spread over its run (seeded delays after chosen lines of
// its journal, so that they follow the run whatever the machine's speed), and started again: the user
// answers that the failed run is to be undone (3001 Yes) and that no update is wanted now (3003 No); a
// run killed after its journal's end had finished, and the next start only tidies up after it, without
// a question. Afterwards the installation is the old version byte for byte, or the new one when the
// killed run had already written its journal's end or deleted the journal, and nothing of the killed
// run is left beside it. A rollback killed as it ends leaves the next start only its tidying up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

#include "framework/runtime/SysUtils.h"
#include "tests/e2e/ProductUpdate.h"
#include "tests/e2e/RunJournal.h"
#include "tests/support/InstallationBuilder.h"

namespace {

const char *const kTempFolder = "QMTUPDTA.TMP";

// The journal's command lines of a finished run, as its protocol lists them.
int LoggedCommands(const std::vector<AnsiString> &protocol)
{
    int count = 0;
    for (const AnsiString &line : protocol)
        count += line.rfind("LogCmd ", 0) == 0 ? 1 : 0;
    return count;
}

// What a kill left: the journal, and whether it had its end.
struct KillState {
    bool Journal = false;
    bool Ended = false;
    bool Finished() const { return !Journal || Ended; }
    std::string Text() const { return !Journal ? "journal deleted" : Ended ? "journal ended" : "journal unfinished"; }
};

class InterruptedRuns : public ::testing::Test {
protected:
    void SetUp() override { root_ = MakeTestFolder("qmt_e2e_killed"); }
    void TearDown() override { RemoveTestFolder(root_); }

    // The old installation with the updater in it.
    void Reset(const ProductUpdate &update)
    {
        RemoveTestFolder(root_);
        ForceDirectories(root_);
        WriteInstallation(root_, update.Before);
        WriteFileBytes(root_ + "qmtupdt_e2e.exe", update.Updater);
    }

    bool Start(TStartedProcess &run) { return run.Start("\"" + root_ + "qmtupdt_e2e.exe\"", root_); }

    // An undisturbed run started by `begin` (which returns once the user's part is done): the number of
    // command lines it journaled, 0 when it did not finish (with its protocol in the failure message).
    int UndisturbedRun(const ProductUpdate &update, const std::function<bool(TStartedProcess &)> &begin,
                       const AnsiString &protocolName)
    {
        Reset(update);
        TStartedProcess run;
        const bool finished = begin(run) && WaitForBoxOf(run.Id(), 60000);  // 3009
        if (finished) {
            AnsiString texts;
            AnswerBoxes(run.Id(), {"Внимание!=7"}, texts);
        }
        CloseUpdater(run);
        std::vector<AnsiString> protocol;
        if (FileExists(root_ + protocolName))
            protocol = ProtocolLines(root_ + protocolName);
        if (!finished || !HasLineWith(protocol, " Программа выполнена успешно")) {
            ADD_FAILURE() << "the undisturbed run did not finish; its protocol:\n" << Joined(protocol);
            return 0;
        }
        return LoggedCommands(protocol);
    }

    // Starts the run with `begin`, kills it `delay` ms after it journaled `commands` command lines, and
    // tells what it left.
    KillState KilledRun(const ProductUpdate &update, const std::function<bool(TStartedProcess &)> &begin,
                        const AnsiString &journal, int commands, DWORD delay)
    {
        Reset(update);
        TStartedProcess killed;
        EXPECT_TRUE(begin(killed));
        EXPECT_TRUE(WaitForJournalCommands(root_ + journal, commands, 60000));
        Sleep(delay);
        killed.Kill();
        KillState state;
        state.Journal = FileExists(root_ + journal);
        state.Ended = state.Journal && JournalEnded(root_ + journal);
        return state;
    }

    // How long an undisturbed run takes from one journal command to the next, in ms, measured from
    // its second command to its `commands`-th: the steps its kill moments fall into.
    double CommandPace(const ProductUpdate &update, const std::function<bool(TStartedProcess &)> &begin,
                       const AnsiString &journal, int commands)
    {
        Reset(update);
        TStartedProcess run;
        double pace = 1;
        if (begin(run) && WaitForJournalCommands(root_ + journal, 2, 60000)) {
            const ULONGLONG start = GetTickCount64();
            WaitForJournalCommands(root_ + journal, commands, 60000);
            pace = double(GetTickCount64() - start) / std::max(commands - 2, 1);
        }
        if (WaitForBoxOf(run.Id(), 60000)) {  // 3009
            AnsiString texts;
            AnswerBoxes(run.Id(), {"Внимание!=7"}, texts);
        }
        CloseUpdater(run);
        return std::max(pace, 1.0);
    }

    // Kill moments spread over a run of `commands` journal lines: the line to wait for (from the
    // second, the first after the start) and a delay after it of up to one step of the run (`pace`
    // ms), seeded, so that each moment falls inside the step after its line however fast the run is.
    struct Moment {
        int Commands;
        DWORD Delay;
    };
    static std::vector<Moment> Moments(int count, int commands, double pace, unsigned seed)
    {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> within(0.0, 1.0);
        std::vector<Moment> moments;
        for (int i = 0; i < count; ++i) {
            int line = 2 + int((commands - 1) * (i + within(random)) / count);
            moments.push_back({std::min(line, commands), DWORD(pace * within(random))});
        }
        return moments;
    }

    // The next start after a kill: a journal of a run that did not finish is rolled back (3001 Yes) and
    // the update not taken up again (3003 No); the ended journal of a finished run is tidied up after
    // without a question. `noJournal` answers a start that finds no unfinished journal. Ends with the
    // run's protocol written.
    void StartAgain(const KillState &state, const AnsiString &protocolName,
                    const std::function<void(TStartedProcess &)> &noJournal)
    {
        DeleteFile(root_ + protocolName);  // a run killed at its last question had written it
        TStartedProcess again;
        ASSERT_TRUE(Start(again));
        AnsiString texts;
        const bool rollBack = state.Journal && !state.Ended;
        if (rollBack) {
            EXPECT_EQ(0u, AnswerBoxes(again.Id(), {"Внимание!=6", "Внимание!=7"}, texts));
            EXPECT_NE(AnsiString::npos, texts.find("(msgid №3001)")) << Utf8(texts);
            EXPECT_NE(AnsiString::npos, texts.find("Продолжить выполнение обновления?")) << Utf8(texts);
        } else {
            noJournal(again);
        }
        ASSERT_TRUE(WaitForFile(root_ + protocolName, 60000));
        Sleep(300);
        std::vector<AnsiString> protocol = ProtocolLines(root_ + protocolName);
        if (rollBack) {
            EXPECT_TRUE(HasLineWith(protocol, " Восстановление завершено успешно")) << Joined(protocol);
        } else if (state.Journal) {
            EXPECT_TRUE(HasLineWith(protocol, " Прошлое обновление завершено. Удаление его временных файлов"))
                << Joined(protocol);
        }
        EXPECT_TRUE(CloseUpdater(again));
    }

    AnsiString root_;
};

}  // namespace

TEST_F(InterruptedRuns, CorrectionKilledAtTenMomentsThenRolledBackOnTheNextStart)
{
    const ProductUpdate update = MakeProductUpdate("3.1.1.2", "3.1.1.5", 400 * 1024);
    auto begin = [&](TStartedProcess &run) { return Start(run); };
    const int commands = UndisturbedRun(update, begin, "Протокол_qmt_3.1.1.5.txt");
    ASSERT_GT(commands, 2);
    EXPECT_TRUE(SameTree(update.After, ReadInstallation(root_)));

    const double pace = CommandPace(update, begin, "qmt_3.1.1.5.txt", commands);
    int rolledBack = 0;
    std::string outcomes;
    for (const Moment &moment : Moments(10, commands, pace, 20261207)) {
        const KillState state = KilledRun(update, begin, "qmt_3.1.1.5.txt", moment.Commands, moment.Delay);
        const std::string when = std::to_string(moment.Delay) + " ms after journal line " +
                                 std::to_string(moment.Commands) + " of " + std::to_string(commands);
        SCOPED_TRACE("killed " + when + "; " + state.Text());
        // After a finished run the next start finds the new version, which this correction does not fit
        // (its executable is a build the correction does not accept), and ends without a question.
        StartAgain(state, "Протокол_qmt_3.1.1.5.txt", [](TStartedProcess &) {});

        // Nothing of the killed run is left, its temporary folder included.
        EXPECT_TRUE(SameTree(state.Finished() ? update.After : update.Before, ReadInstallation(root_)));
        EXPECT_FALSE(DirectoryExists(root_ + kTempFolder));
        rolledBack += state.Finished() ? 0 : 1;
        outcomes += "\n  " + when + ": " + (state.Finished() ? "new version" : "rolled back");
    }
    std::printf("correction killed (%.1f ms a journal command):%s\n", pace, outcomes.c_str());
    // Only the last moments come after the journal's end.
    EXPECT_GE(rolledBack, 7);
}

TEST_F(InterruptedRuns, CorrectionsRollbackKilledAsItEndsLeavesTheOldVersionAndNothingElse)
{
    const ProductUpdate update = MakeProductUpdate("3.1.1.2", "3.1.1.5", 400 * 1024);
    auto begin = [&](TStartedProcess &run) { return Start(run); };
    const int commands = UndisturbedRun(update, begin, "Протокол_qmt_3.1.1.5.txt");
    ASSERT_GT(commands, 4);
    const AnsiString journal = root_ + "qmt_3.1.1.5.txt";
    const AnsiString protocol = "Протокол_qmt_3.1.1.5.txt";
    // A run killed halfway leaves a journal to roll back and the backups in its temporary folder.
    const KillState state = KilledRun(update, begin, "qmt_3.1.1.5.txt", commands / 2 + 1, 0);
    ASSERT_FALSE(state.Finished());
    const FileTree leftByTheRun = ReadInstallation(root_);
    ASSERT_TRUE(DirectoryExists(root_ + kTempFolder));

    // The rollback is killed at moments after it has written its end into the journal, while it
    // removes the temporary folder and the journal.
    std::string outcomes;
    for (DWORD delay : {DWORD(0), DWORD(1), DWORD(3)}) {
        RemoveTestFolder(root_);
        ForceDirectories(root_);
        WriteInstallation(root_, leftByTheRun);
        WriteFileBytes(root_ + "qmtupdt_e2e.exe", update.Updater);
        const int before = JournalCommands(journal);
        {
            TStartedProcess killed;
            ASSERT_TRUE(Start(killed));
            AnsiString texts;
            EXPECT_EQ(0u, AnswerBoxes(killed.Id(), {"Внимание!=6"}, texts));  // 3001: roll back
            EXPECT_TRUE(WaitForJournalCommands(journal, before + 2, 60000));  // the rolled-back variant, the end
            Sleep(delay);
            killed.Kill();
        }
        const bool left = FileExists(journal);
        const bool ended = left && JournalEnded(journal);
        SCOPED_TRACE("killed " + std::to_string(delay) + " ms after the rollback's end; journal " +
                     (ended  ? "ended"
                      : left ? "unfinished"
                             : "deleted"));
        if (left) {
            // The next start: an ended journal is tidied up after with no question about a failed run,
            // and the user is asked, as after a rollback, whether to go on (3003, declined).
            DeleteFile(root_ + protocol);
            TStartedProcess again;
            ASSERT_TRUE(Start(again));
            AnsiString texts;
            if (ended) {
                EXPECT_EQ(0u, AnswerBoxes(again.Id(), {"Внимание!=7"}, texts));
                EXPECT_EQ(AnsiString::npos, texts.find("(msgid №3001)")) << Utf8(texts);
            } else {
                EXPECT_EQ(0u, AnswerBoxes(again.Id(), {"Внимание!=6", "Внимание!=7"}, texts));
            }
            EXPECT_NE(AnsiString::npos, texts.find("Продолжить выполнение обновления?")) << Utf8(texts);
            ASSERT_TRUE(WaitForFile(root_ + protocol, 60000));
            Sleep(300);
            if (ended) {
                EXPECT_TRUE(HasLineWith(ProtocolLines(root_ + protocol),
                                        " Откат прошлого обновления завершен. Удаление его временных файлов"));
            }
            EXPECT_TRUE(CloseUpdater(again));
        }
        // The old version byte for byte, and nothing of the run or its rollback beside it.
        EXPECT_TRUE(SameTree(update.Before, ReadInstallation(root_)));
        EXPECT_FALSE(DirectoryExists(root_ + kTempFolder));
        outcomes += "\n  " + std::to_string(delay) + " ms: journal " +
                    (ended  ? "ended"
                     : left ? "unfinished"
                            : "deleted");
    }
    std::printf("rollback killed:%s\n", outcomes.c_str());
}
