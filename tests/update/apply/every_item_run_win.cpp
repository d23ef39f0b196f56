// Whole runs of an update that uses every item type: applied in place it leaves the new version byte
// for byte; killed at any of its file operations, the next start's rollback leaves the version it
// started from (or, once the run has journaled its end, the next start tidies up after it and leaves
// the new one), also when that rollback is killed in turn and run again; any of its file operations
// failing as the system would, the run either finishes or takes its own failure path, and the next
// start rolls it back the same way. Nothing of a run is left behind but its protocol, and a rolled
// back file has its attributes again.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/windows/PromptScript.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/EveryItemUpdate.h"
#include "tests/support/FailAtFileOp.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/TempFolder.h"
#include "update/apply/ApplyPlan.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

namespace {

const AnsiString UpdaterName = "qmtupdt.exe";
const AnsiString NewVersion = "3.1.1.5";

uint32_t U32At(const std::string &bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | uint8_t(bytes[at + size_t(i)]);
    return v;
}

void PutU32(std::string &bytes, size_t at, uint32_t v)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = char(v >> (8 * i));
}

// The configuration file marked as updated: the updated flags joined to the flags at byte 0, the new
// version numbers at byte 38, the two flag sets of the update at 147 and 151, 26 at 197.
std::string UpdatedCfg(std::string cfg)
{
    PutU32(cfg, 0, U32At(cfg, 0) | 0x9C600);
    cfg.replace(38, NewVersion.size() + 1, NewVersion + '\0');
    PutU32(cfg, 147, 0x460421C);
    PutU32(cfg, 151, 0x8401004);
    PutU32(cfg, 197, 26);
    return cfg;
}

// The entries that are missing, left over or of other bytes in `actual`.
std::vector<AnsiString> Differences(const TestTree &expected, const TestTree &actual)
{
    std::vector<AnsiString> out;
    for (const auto &[name, bytes] : expected) {
        auto it = actual.find(name);
        if (it == actual.end())
            out.push_back("missing " + name);
        else if (it->second != bytes)
            out.push_back("other bytes " + name);
    }
    for (const auto &entry : actual)
        if (!expected.count(entry.first))
            out.push_back("left over " + entry.first);
    return out;
}

// Whether an operation can change what a later rollback reads or what it must leave: a command line of
// the journal, or any file outside the temporary folder. In there a rollback reads only the backups its
// journal names, and a backup is named only once it is whole; unpacked items it never reads.
bool Matters(TFileOp kind, const AnsiString &name, const AnsiString &tempFolder)
{
    if (kind == TFileOp::JournalWrite)
        return IsCommandLine(name);  // protocol lines are never read back
    size_t start = 0;
    for (;;) {  // a rename names both its ends
        const size_t end = name.find('<', start);
        if (name.compare(start, tempFolder.size(), tempFolder) != 0)
            return true;
        if (end == AnsiString::npos)
            return false;
        start = end + 1;
    }
}

// Where to kill a run or a rollback that made these operations: at the first operation, and right
// after each that matters. A kill after one that does not leaves what the kill before it leaves, as
// far as rollback and the product files go, and whatever it did stays in every later kill's files.
std::vector<uint64_t> KillPoints(const KillAtFileOp &count, const AnsiString &tempFolder)
{
    std::vector<uint64_t> points{1};
    for (size_t i = 0; i + 1 < count.PassedKinds().size(); ++i)
        if (Matters(count.PassedKinds()[i], count.PassedNames()[i], tempFolder))
            points.push_back(i + 2);
    return points;
}

// Which operations of a run to fail in turn: every one that begins a change of its own (a create,
// deletion, rename, folder, mapping, resize, flush, attribute change or command line of the journal),
// the first and the last write of each file written in pieces, and every eighth protocol line. A
// failure at an operation left out takes the same failure path as the one before it, only a piece or
// a protocol line later; leaving those out keeps the sweep short enough to run with every test run.
std::vector<uint64_t> FailurePoints(const KillAtFileOp &count)
{
    const std::vector<TFileOp> &kinds = count.PassedKinds();
    const std::vector<AnsiString> &names = count.PassedNames();
    std::vector<uint64_t> points;
    size_t protocolLines = 0;
    for (size_t i = 0; i < kinds.size(); ++i) {
        bool fail = true;
        if (kinds[i] == TFileOp::Write) {
            const bool continues = i > 0 && kinds[i - 1] == TFileOp::Write && names[i - 1] == names[i];
            const bool continued = i + 1 < kinds.size() && kinds[i + 1] == TFileOp::Write && names[i + 1] == names[i];
            fail = !continues || !continued;
        } else if (kinds[i] == TFileOp::JournalWrite && !IsCommandLine(names[i])) {
            fail = protocolLines++ % 8 == 0;
        }
        if (fail)
            points.push_back(i + 1);
    }
    return points;
}

// What a whole run did: how many file operations, which of them wrote the journal's end line, and
// where to kill it or make it fail.
struct TCountedRun {
    uint64_t Operations = 0;
    uint64_t EndLine = 0;  // the last journal line: the end command
    std::vector<uint64_t> KillPoints;
    std::vector<uint64_t> FailurePoints;
};

bool Has(const std::vector<AnsiString> &protocol, const AnsiString &line)
{
    return std::find(protocol.begin(), protocol.end(), line) != protocol.end();
}

// Whether an operation's name is the file, or one end of a rename ("old<new").
bool Touches(const AnsiString &operation, const AnsiString &file)
{
    const size_t lt = operation.find('<');
    if (lt == AnsiString::npos)
        return operation == file;
    return operation.substr(0, lt) == file || operation.substr(lt + 1) == file;
}

bool Finished(const std::vector<AnsiString> &protocol) { return Has(protocol, " Программа выполнена успешно"); }

bool Asked(const TPromptScript &script, int id)
{
    const AnsiString mark = "(msgid №" + std::to_string(id) + ")";
    return std::any_of(script.Seen().begin(), script.Seen().end(),
                       [&](const TPrompt &p) { return p.Text.find(mark) != AnsiString::npos; });
}

// Targets of every kind of change the run makes, with attributes of their own: moved aside and patched
// (the executable), patched twice, patched as a database, replaced whole. One without the archive
// attribute, one with it.
const std::map<AnsiString, int> MarkedFiles = {{"EXE\\qmt.exe", faReadOnly | faHidden},
                                               {"DATA\\text.bin", faHidden},
                                               {"DB\\base3", faHidden | faSysFile | faArchive},
                                               {"DATA\\readme.txt", faHidden | faArchive},
                                               {"Данные\\отчёт.dat", faSysFile}};

// Kills the engine at its N-th file operation (0: never) and meanwhile refuses what Windows refuses:
// a file created over a hidden, system or read-only one.
class KillOnWindowsAt : public KillAtFileOp {
public:
    using KillAtFileOp::KillAtFileOp;
    uint32_t Before(TFileOp kind, const AnsiString &name) override
    {
        KillAtFileOp::Before(kind, name);
        return RefusedAsOnWindows(kind, name);
    }
};

class EveryItemRun : public ::testing::Test {
protected:
    void SetUp() override { root_ = base_ = MakeTestFolder("qmt_every_item"); }
    void TearDown() override { RemoveTree(ExcludeTrailingBackslash(base_)); }  // read-only files too

    // The update for an installation of `edition`, the installation on disk, and the installation it
    // must become.
    void Prepare(uint8_t edition)
    {
        update_ = MakeEveryItemUpdate(edition);
        const std::vector<uint8_t> updater = update_.Payload.Build().Bytes;
        updater_.assign(updater.begin(), updater.end());
        Install();
        oldTree_ = Installation();
        newTree_ = oldTree_;
        for (const auto &[name, bytes] : update_.Changes)
            newTree_[name] = bytes;
        newTree_["Cfg\\CFG.QMT"] = UpdatedCfg(oldTree_["Cfg\\CFG.QMT"]);
    }

    // The installation before the update, and the updater beside it; nothing else in the folder.
    void Install()
    {
        RemoveTree(ExcludeTrailingBackslash(root_));
        ForceDirectories(root_);
        BuildInstallation(root_, update_.Installation);
        WriteTree(root_, update_.OldFiles);
        WriteWholeFile(root_ + UpdaterName, updater_);
    }

    // Everything in the product folder except the updater and the protocols it saves there.
    TestTree Installation() const
    {
        TestTree tree = ReadTree(root_);
        tree.erase(UpdaterName);
        std::erase_if(tree, [](const auto &entry) { return entry.first.rfind("Протокол_", 0) == 0; });
        return tree;
    }

    // The product files alone: what a start killed while it removed its temporary folder leaves there
    // is not theirs, and the next run clears it before it uses the folder.
    TestTree ProductFiles() const
    {
        TestTree tree = Installation();
        const AnsiString temp = WorkFolder().substr(root_.size());
        std::erase_if(tree, [&](const auto &entry) { return entry.first.rfind(temp, 0) == 0; });
        return tree;
    }

    AnsiString WorkFolder() const { return root_ + "QMTUPDTA.TMP\\"; }
    AnsiString JournalPath() const { return root_ + "qmt_" + NewVersion + ".txt"; }

    // One start of the updater in the product folder (questions answered by the caller's script);
    // returns its protocol.
    std::vector<AnsiString> Start(const AnsiString &updater = UpdaterName)
    {
        TForm1 form(nullptr);
        form.SelfPath = root_ + updater;
        form.FormActivate(&form);
        std::vector<AnsiString> lines;
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form.LsBx_Prot->Items()->Strings(i));
        return lines;
    }

    // A start that finds the journal of a run that did not finish, rolls it back and then declines the
    // update (3001 yes, 3003 no).
    void StartAndRollBack()
    {
        TPromptScript script;
        script.Answer(idYes).Answer(idNo);
        const std::vector<AnsiString> protocol = Start();
        EXPECT_EQ(2u, script.Seen().size());
        EXPECT_NE(protocol.end(), std::find(protocol.begin(), protocol.end(), " Восстановление завершено успешно"));
    }

    // The whole run once, with its file operations counted.
    TCountedRun CountedRun()
    {
        Install();
        TPromptScript script;
        script.Answer(idNo);  // 3009: do not start the product
        KillAtFileOp count;
        Start();
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, Installation()));
        return {count.Passed(), count.LastOf(TFileOp::JournalWrite), KillPoints(count, WorkFolder()),
                FailurePoints(count)};
    }

    // A start that finds the journal of a run that finished (its end line written) and was stopped or
    // failed while it tidied up: it asks nothing, undoes nothing, removes what the run left and goes
    // on as a fresh start, which this correction no longer fits (the new executable is a build it does
    // not accept).
    void StartAfterFinishedRun()
    {
        TPromptScript noQuestion;
        const std::vector<AnsiString> protocol = Start();
        EXPECT_TRUE(noQuestion.Seen().empty());
        EXPECT_TRUE(Has(protocol, " Прошлое обновление завершено. Удаление его временных файлов"));
        EXPECT_FALSE(Has(protocol, " Восстановление завершено успешно"));
    }

    // A start that finds the journal a rollback ended and was stopped while it tidied up: it asks no
    // question about a failed run and undoes nothing more, removes what the rollback left and asks, as
    // after a rollback of its own, whether to go on with the update (3003, declined).
    void StartAfterRolledBackRun()
    {
        TPromptScript script;
        script.Answer(idNo);  // 3003
        const std::vector<AnsiString> protocol = Start();
        ASSERT_EQ(1u, script.Seen().size());
        EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("Продолжить выполнение обновления?"));
        EXPECT_TRUE(Has(protocol, " Откат прошлого обновления завершен. Удаление его временных файлов"));
        EXPECT_FALSE(Has(protocol, " Есть проблемы. Попытка отката к предыдущему состоянию."));
        for (const AnsiString &line : protocol)
            EXPECT_EQ(AnsiString::npos, line.find(ProtocolText(ept_Undo))) << line;
    }

    // The kept attributes of every file of the installation.
    std::map<AnsiString, int> Attributes() const
    {
        std::map<AnsiString, int> attributes;
        for (const auto &entry : Installation())
            attributes[entry.first] = FileGetAttr(root_ + entry.first) & KeptFileAttributes;
        return attributes;
    }

    // The installation the next start must leave after a run that did not finish (or finished and
    // left its `ended` journal), and that start when the run left its journal.
    void ExpectRolledBackTo(const TestTree &expected, bool ended = false)
    {
        if (FileExists(JournalPath())) {
            if (ended)
                StartAfterFinishedRun();
            else
                StartAndRollBack();
            EXPECT_EQ(std::vector<AnsiString>{}, Differences(expected, Installation()));
        } else {
            EXPECT_EQ(std::vector<AnsiString>{}, Differences(expected, ProductFiles()));
        }
    }

    AnsiString base_;  // the test's folder, removed at its end
    AnsiString root_;  // the product folder (the test's folder unless a test puts it deeper)
    EveryItemUpdate update_;
    std::string updater_;
    TestTree oldTree_, newTree_;
    FakeClock clock_;
    TClockOverride useClock_{clock_};
};

}  // namespace

TEST_F(EveryItemRun, AppliesEveryItemTypeInPlaceForEitherEdition)
{
    for (uint8_t edition : {uint8_t(0), uint8_t(1)}) {
        SCOPED_TRACE("edition byte " + std::to_string(edition));
        Prepare(edition);
        ASSERT_NE(oldTree_, newTree_);
        TPromptScript script;
        script.Answer(idNo);  // 3009
        const std::vector<AnsiString> protocol = Start();
        ASSERT_EQ(1u, script.Seen().size());
        EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("(msgid №3009)"));
        EXPECT_NE(protocol.end(), std::find(protocol.begin(), protocol.end(), " Программа выполнена успешно"));
        // The journal and the temporary folder are gone with everything else the run made for itself.
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, Installation()));
    }
}

TEST_F(EveryItemRun, KilledAtAnyFileOperationTheNextStartRollsBack)
{
    Prepare(0);
    const TCountedRun run = CountedRun();
    ASSERT_GT(run.KillPoints.size(), 40u);   // a database is re-keyed in few large writes
    ASSERT_LT(run.EndLine, run.Operations);  // the journal is deleted after its end line
    // After its end line the run only tidies up: it is killed at each of those operations too.
    std::vector<uint64_t> points = run.KillPoints;
    for (uint64_t n = run.EndLine + 1; n <= run.Operations; ++n)
        points.push_back(n);
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    ASSERT_GT(points.size(), run.KillPoints.size() + 10);  // backups, work files, folders, the journal

    for (uint64_t n : points) {
        SCOPED_TRACE("killed at operation " + std::to_string(n));
        Install();
        {
            TPromptScript noQuestion;
            KillAtFileOp kill(n);
            EXPECT_THROW(Start(), TEngineKilled);
            EXPECT_TRUE(noQuestion.Seen().empty());
        }
        if (n > run.EndLine) {
            // Once its end line is written the run has finished; the journal goes last.
            ASSERT_TRUE(FileExists(JournalPath()));
            StartAfterFinishedRun();
        } else if (FileExists(JournalPath())) {
            StartAndRollBack();
        } else {
            EXPECT_EQ(1u, n);  // killed before its journal existed
        }
        // Nothing of the run is left: no temporary folder, no renamed file, no journal; only the
        // protocol beside the installation.
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(n > run.EndLine ? newTree_ : oldTree_, Installation()));
        EXPECT_FALSE(DirectoryExists(WorkFolder()));
        EXPECT_FALSE(FileExists(JournalPath()));
    }
}

TEST_F(EveryItemRun, RollbackKilledAtAnyOfItsFileOperationsAndStartedAgainStillRestores)
{
    Prepare(0);
    Install();
    for (const auto &[name, attributes] : MarkedFiles)
        ASSERT_EQ(0, FileSetAttr(root_ + name, attributes)) << name;
    const std::map<AnsiString, int> oldAttributes = Attributes();
    // The fullest journal: the run killed where it would write its end line.
    uint64_t endLine = 0;
    {
        TPromptScript script;
        script.Answer(idNo);  // 3009
        KillOnWindowsAt count;
        ASSERT_TRUE(Finished(Start()));
        endLine = count.LastOf(TFileOp::JournalWrite);
    }
    Install();
    for (const auto &[name, attributes] : MarkedFiles)
        ASSERT_EQ(0, FileSetAttr(root_ + name, attributes)) << name;
    {
        KillOnWindowsAt kill(endLine);
        EXPECT_THROW(Start(), TEngineKilled);
    }
    const TestTree leftByTheRun = ReadTree(root_);
    std::map<AnsiString, int> leftAttributes;
    for (const auto &entry : leftByTheRun)
        leftAttributes[entry.first] = FileGetAttr(root_ + entry.first) & KeptFileAttributes;
    auto restoreLeftByTheRun = [&] {
        RemoveTree(ExcludeTrailingBackslash(root_));
        WriteTree(root_, leftByTheRun);
        for (const auto &[name, attributes] : leftAttributes)
            ASSERT_EQ(0, FileSetAttr(root_ + name, attributes)) << name;
    };

    std::vector<uint64_t> points;
    uint64_t ended = 0;
    size_t tidying = 0;
    {
        KillOnWindowsAt count;
        StartAndRollBack();
        points = KillPoints(count, WorkFolder());
        ended = count.LastOf(TFileOp::JournalWrite);  // the rollback's end line; it only tidies up after it
        // After its end it is killed at the first and the last of each run of operations of one kind
        // (the flush of the journal, deletions in the temporary folder, its folders, the journal): one
        // deletion more or less of the same folder leaves the next start the same work.
        const std::vector<TFileOp> &kinds = count.PassedKinds();
        ASSERT_GT(kinds.size(), ended + 10);  // backups, work files, folders, the journal
        for (size_t i = ended; i < kinds.size(); ++i) {
            const bool first = kinds[i] != kinds[i - 1];
            const bool last = i + 1 == kinds.size() || kinds[i + 1] != kinds[i];
            if (first || last) {
                points.push_back(i + 1);
                ++tidying;
            }
        }
    }
    ASSERT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, Installation()));
    ASSERT_EQ(oldAttributes, Attributes());
    ASSERT_GT(points.size(), 12u);  // restores, removals, the end of the journal
    ASSERT_GE(tidying, 4u);
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());

    for (uint64_t n : points) {
        SCOPED_TRACE("rollback killed at operation " + std::to_string(n));
        restoreLeftByTheRun();
        {
            TPromptScript script;
            script.Answer(idYes);  // 3001
            KillOnWindowsAt kill(n);
            EXPECT_THROW(Start(), TEngineKilled);
        }
        // The journal goes last; once it holds the rollback's end the next start only tidies up.
        ASSERT_TRUE(FileExists(JournalPath()));
        {
            RefuseCreateOverProtectedFiles windows;
            if (n > ended)
                StartAfterRolledBackRun();
            else
                StartAndRollBack();
        }
        // Nothing of the run or of its rollback is left: no temporary folder, no renamed file, no
        // journal; only the protocol beside the installation it started from, attributes and all.
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, Installation()));
        EXPECT_EQ(oldAttributes, Attributes());
        EXPECT_FALSE(DirectoryExists(WorkFolder()));
        EXPECT_FALSE(FileExists(JournalPath()));
        for (const auto &entry : ReadTree(root_))
            EXPECT_NE('~', entry.first.back()) << entry.first;
    }
}

TEST_F(EveryItemRun, FailedAtAnyFileOperationTheRunFailsCleanlyAndTheNextStartRollsBack)
{
    Prepare(0);
    const TCountedRun run = CountedRun();
    ASSERT_GT(run.FailurePoints.size(), 100u);

    // The operations of the run in turn fail with a full disk. Nothing is killed: the run either
    // finishes with the new version, or reports its failure without offering to start the product and
    // leaves what the next start's rollback needs.
    for (uint64_t n : run.FailurePoints) {
        SCOPED_TRACE("operation " + std::to_string(n) + " failed");
        Install();
        std::vector<AnsiString> protocol;
        bool failedOne = false;
        {
            TPromptScript script;
            script.Answer(idNo);  // 3009, or whatever error box comes first
            FailAtFileOp fail(n);
            protocol = Start();
            failedOne = !fail.Failed().empty();
            if (Finished(protocol)) {
                EXPECT_TRUE(Asked(script, 3009));
            } else {
                EXPECT_FALSE(Asked(script, 3009));
            }
        }
        ASSERT_TRUE(failedOne);
        if (Finished(protocol)) {
            // A temporary folder that could not be removed keeps the journal, ended, that names it.
            if (FileExists(JournalPath()))
                StartAfterFinishedRun();
            EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, Installation()));
        } else {
            ExpectRolledBackTo(n > run.EndLine ? newTree_ : oldTree_, n > run.EndLine);
        }
    }
}

TEST_F(EveryItemRun, EachChangeOfAnExistingFileFollowsTheFlushOfItsBackupAndItsJournalLine)
{
    Prepare(0);
    Install();
    TPromptScript script;
    script.Answer(idNo);  // 3009
    FailFileOps record([](uint64_t, TFileOp, const AnsiString &) { return 0u; });
    ASSERT_TRUE(Finished(Start()));
    const std::vector<TFileOp> &kinds = record.Kinds();
    const std::vector<AnsiString> &names = record.Names();

    auto lastBefore = [&](size_t end, auto match) -> long {
        for (size_t i = end; i-- > 0;)
            if (match(kinds[i], names[i]))
                return long(i);
        return -1;
    };
    size_t changes = 0;
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i] == TFileOp::JournalWrite || kinds[i] == TFileOp::Flush)
            continue;
        for (const auto &[relative, bytes] : oldTree_) {
            const AnsiString file = root_ + relative;
            if (!Touches(names[i], file))
                continue;
            SCOPED_TRACE("operation " + std::to_string(i + 1) + " on " + relative);
            ++changes;
            const AnsiString backupMark = "*6#" + file + "<";
            const long line = lastBefore(i, [&](TFileOp k, const AnsiString &n) {
                return k == TFileOp::JournalWrite && n.find(backupMark) != AnsiString::npos;
            });
            ASSERT_GE(line, 0) << "no backup journaled";
            const AnsiString &text = names[size_t(line)];
            const size_t from = text.find(backupMark) + backupMark.size();
            const AnsiString backup = text.substr(from, text.size() - 30 - from);  // 20 digits, signature
            const long journalFlush = lastBefore(
                i, [&](TFileOp k, const AnsiString &n) { return k == TFileOp::Flush && n == JournalPath(); });
            const long backupFlush = lastBefore(
                size_t(line), [&](TFileOp k, const AnsiString &n) { return k == TFileOp::Flush && n == backup; });
            EXPECT_GT(journalFlush, line);
            EXPECT_GE(backupFlush, 0) << backup;
        }
    }
    EXPECT_GT(changes, 10u);
    // Flushes only where something that existed is about to change: a few per item, not one per line.
    const auto flushes = std::count(kinds.begin(), kinds.end(), TFileOp::Flush);
    const auto lines = std::count(kinds.begin(), kinds.end(), TFileOp::JournalWrite);
    EXPECT_LT(flushes * 3, lines);
}

TEST_F(EveryItemRun, HiddenSystemAndReadOnlyFilesAreUpdatedOrRestored)
{
    Prepare(0);
    struct Case {
        AnsiString File;
        int Attributes;
    };
    for (const Case &c : {Case{"Cfg\\CFG.QMT", faHidden}, Case{"Cfg\\CFG.QMT", faReadOnly},
                          Case{"DATA\\text.bin", faHidden | faSysFile}, Case{"DB\\base3", faHidden},
                          Case{"DATA\\readme.txt", faReadOnly}}) {
        SCOPED_TRACE(c.File + " with attributes " + std::to_string(c.Attributes));
        Install();
        ASSERT_EQ(0, FileSetAttr(root_ + c.File, c.Attributes));
        // The run is stopped where it would journal its end, with every change made; a create over a
        // protected file is refused as Windows refuses it.
        {
            TPromptScript script;
            FailFileOps windows([](uint64_t, TFileOp kind, const AnsiString &name) {
                if (kind == TFileOp::JournalWrite && name.find("*5#") != AnsiString::npos)
                    throw TEngineKilled{0, kind, name};
                return RefusedAsOnWindows(kind, name);
            });
            try {
                EXPECT_FALSE(Finished(Start()));  // a read-only target fails its item
            } catch (const TEngineKilled &) {}
        }
        ASSERT_TRUE(FileExists(JournalPath()));
        RefuseCreateOverProtectedFiles windows;
        StartAndRollBack();
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, Installation()));
    }
}

TEST_F(EveryItemRun, AReadOnlyExecutableMovedAsideIsDeletedAndNothingOfTheRunIsLeft)
{
    Prepare(0);
    for (int attributes : {faReadOnly, faReadOnly | faHidden | faSysFile}) {
        SCOPED_TRACE("executable with attributes " + std::to_string(attributes));
        Install();
        ASSERT_EQ(0, FileSetAttr(root_ + "EXE\\qmt.exe", attributes));
        std::vector<AnsiString> protocol;
        {
            TPromptScript script;
            script.Answer(idNo);  // 3009
            RefuseCreateOverProtectedFiles windows;
            protocol = Start();
            EXPECT_TRUE(windows.Failed().empty());
        }
        // The patch moves the old executable aside into the work folder and makes the new one; the old
        // one, still read-only, is deleted there with everything else of the run.
        EXPECT_TRUE(Finished(protocol));
        for (const AnsiString &line : protocol)
            EXPECT_EQ(AnsiString::npos, line.find("Невозможно удалить")) << line;
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, Installation()));
    }
}

TEST_F(EveryItemRun, HiddenAndReadOnlyFilesKilledAfterEachChangeAreRolledBackWithTheirAttributes)
{
    Prepare(0);
    const std::map<AnsiString, int> &marked = MarkedFiles;
    auto mark = [&] {
        for (const auto &[name, attributes] : marked)
            ASSERT_EQ(0, FileSetAttr(root_ + name, attributes)) << name;
    };
    auto attributesNow = [&] {
        std::map<AnsiString, int> now;
        for (const auto &entry : marked)
            now[entry.first] = FileGetAttr(root_ + entry.first) & KeptFileAttributes;
        return now;
    };
    Install();
    mark();
    const std::map<AnsiString, int> before = attributesNow();
    EXPECT_EQ(faReadOnly | faHidden, before.at("EXE\\qmt.exe") & (faReadOnly | faHidden | faSysFile));

    std::vector<uint64_t> points;
    uint64_t endLine = 0;
    {
        TPromptScript script;
        script.Answer(idNo);  // 3009
        KillOnWindowsAt count;
        ASSERT_TRUE(Finished(Start()));
        endLine = count.LastOf(TFileOp::JournalWrite);  // the end command
        // Right after each change of a marked file; after the end line nothing is undone.
        for (size_t i = 0; i + 1 < endLine; ++i)
            for (const auto &entry : marked)
                if (count.PassedKinds()[i] != TFileOp::JournalWrite &&
                    Touches(count.PassedNames()[i], root_ + entry.first))
                    points.push_back(i + 2);
    }
    EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, Installation()));
    ASSERT_GT(points.size(), 15u);

    for (uint64_t n : points) {
        SCOPED_TRACE("killed at operation " + std::to_string(n));
        Install();
        mark();
        {
            TPromptScript noQuestion;
            KillOnWindowsAt kill(n);
            EXPECT_THROW(Start(), TEngineKilled);
        }
        if (FileExists(JournalPath())) {
            RefuseCreateOverProtectedFiles windows;
            StartAndRollBack();
        }
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, Installation()));
        EXPECT_EQ(before, attributesNow());
    }
}

TEST_F(EveryItemRun, AFinishedRunsTemporaryFolderThatCannotBeRemovedKeepsItsJournalUntilItIs)
{
    Prepare(0);
    const uint64_t endLine = CountedRun().EndLine;
    Install();
    {
        KillAtFileOp kill(endLine + 1);  // the first step of its tidying up
        EXPECT_THROW(Start(), TEngineKilled);
    }
    ASSERT_TRUE(DirectoryExists(WorkFolder()));
    ASSERT_TRUE(FileExists(JournalPath()));

    // Another program holds the folder's files: the next start cannot remove it, keeps the journal that
    // names it and ends before it begins anything of its own.
    std::vector<AnsiString> protocol;
    {
        TPromptScript noQuestion;
        FailFileOps held([&](uint64_t, TFileOp kind, const AnsiString &name) {
            const bool inside = name.rfind(WorkFolder(), 0) == 0;
            return inside && (kind == TFileOp::Delete || kind == TFileOp::RemoveFolder) ? SysErrorAccessDenied : 0u;
        });
        protocol = Start();
        EXPECT_TRUE(noQuestion.Seen().empty());
    }
    EXPECT_TRUE(Has(protocol, " Не удалось удалить временную папку прошлого обновления " + WorkFolder()));
    EXPECT_FALSE(Has(protocol, " Начало протоколирования (файл отката)"));
    EXPECT_TRUE(DirectoryExists(WorkFolder()));
    EXPECT_TRUE(FileExists(JournalPath()));

    StartAfterFinishedRun();
    EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, Installation()));
}

TEST_F(EveryItemRun, CyrillicProductFolder)
{
    root_ = base_ + "ЦМТ\\";
    Prepare(1);
    ASSERT_TRUE(DirectoryExists(root_ + "Данные"));
    {
        TPromptScript script;
        script.Answer(idNo);  // 3009
        ASSERT_TRUE(Finished(Start()));
    }
    EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, Installation()));
    EXPECT_TRUE(FileExists(root_ + "Протокол_qmt_" + NewVersion + ".txt"));

    // Stopped where it journals its end, the run is rolled back in the Cyrillic folder too.
    const uint64_t endLine = CountedRun().EndLine;
    Install();
    {
        KillAtFileOp kill(endLine);
        EXPECT_THROW(Start(), TEngineKilled);
    }
    StartAndRollBack();
    EXPECT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, Installation()));
}

TEST_F(EveryItemRun, ABackupPathPastTheSystemLimitFailsTheRunBeforeAnythingChanges)
{
    Prepare(0);
    // The target itself can be opened; its backup in the backup folder of the last section cannot.
    const AnsiString backupStart = root_ + "QMTUPDTA.TMP\\BAK2\\";
    const AnsiString name = "DATA\\" + AnsiString(MaxOpenPathLength + 1 - backupStart.size() - 5, 'L');
    ASSERT_EQ(MaxOpenPathLength + 1, (backupStart + name).size());
    update_.Payload.AddFile(ADDREPL, name, PatternBytes(40, 3));
    update_.OldFiles[name] = "old";
    const std::vector<uint8_t> updater = update_.Payload.Build().Bytes;
    updater_.assign(updater.begin(), updater.end());
    Install();
    oldTree_ = Installation();

    std::vector<AnsiString> protocol;
    {
        TPromptScript script;
        protocol = Start();
        EXPECT_FALSE(Asked(script, 3009));
    }
    EXPECT_FALSE(Finished(protocol));
    EXPECT_TRUE(Has(protocol, "Произошла аварийная ситуация Путь длиннее 259 символов: " + backupStart + name));
    TestTree left = ProductFiles();
    left.erase("qmt_" + NewVersion + ".txt");
    EXPECT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, left));
    ExpectRolledBackTo(oldTree_);

    // One character less is applied.
    const AnsiString fits = name.substr(0, name.size() - 1);
    update_ = MakeEveryItemUpdate(0);
    update_.Payload.AddFile(ADDREPL, fits, PatternBytes(40, 3));
    const std::vector<uint8_t> fitting = update_.Payload.Build().Bytes;
    updater_.assign(fitting.begin(), fitting.end());
    Install();
    TPromptScript script;
    script.Answer(idNo);  // 3009
    EXPECT_TRUE(Finished(Start()));
    const std::vector<uint8_t> added = PatternBytes(40, 3);
    EXPECT_EQ(std::string(added.begin(), added.end()), ReadWholeFile(root_ + fits));
}

TEST_F(EveryItemRun, ASecondUpdaterOfAnotherNameChangesNothingWhileTheFirstRuns)
{
    Prepare(0);
    Install();
    const AnsiString second = "qmtupdt_2.exe";
    WriteWholeFile(root_ + second, updater_);

    // At each journal command of the first run the second is started on the same installation: it
    // finds the first's journal (the same version names the same file), may be told to roll it back,
    // and must leave everything as it is.
    int starts = 0;
    FailFileOps secondAtEachCommand([&](uint64_t, TFileOp kind, const AnsiString &name) -> uint32_t {
        if (kind != TFileOp::JournalWrite || !IsCommandLine(name))
            return 0;
        TFileOpGate *first = SetFileOpGate(nullptr);
        TestTree before = ReadTree(root_);
        {
            TPromptScript script;
            script.Answer(idYes);  // 3001: roll back; every later question cancelled
            const std::vector<AnsiString> protocol = Start(second);
            EXPECT_FALSE(Finished(protocol)) << name;
            EXPECT_FALSE(Asked(script, 3009));
        }
        TestTree after = ReadTree(root_);
        for (TestTree *tree : {&before, &after})
            std::erase_if(*tree, [](const auto &entry) { return entry.first.rfind("Протокол_", 0) == 0; });
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(before, after)) << name;
        ++starts;
        SetFileOpGate(first);
        return 0;
    });
    {
        TPromptScript script;
        script.Answer(idNo);  // 3009
        EXPECT_TRUE(Finished(Start()));
    }
    EXPECT_GT(starts, 10);
    TestTree tree = Installation();
    tree.erase(second);
    EXPECT_EQ(std::vector<AnsiString>{}, Differences(newTree_, tree));
}
