// Whole runs of an update that uses every item type: applied in place it leaves the new version byte
// for byte; killed at any of its file operations, the next start's rollback leaves the version it
// started from (or, once the run has journaled its end, the new one), also when that rollback is
// killed in turn and run again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/PromptScript.h"
#include "framework/SysUtils.h"
#include "tests/support/EveryItemUpdate.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/TempFolder.h"
#include "update/JournalLine.h"
#include "update/uMain.h"

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

// What a whole run did: how many file operations, which of them wrote the journal's end line, and
// where to kill it.
struct TCountedRun {
    uint64_t Operations = 0;
    uint64_t EndLine = 0;  // the last journal line: the end command
    std::vector<uint64_t> KillPoints;
};

class EveryItemRun : public ::testing::Test {
protected:
    void SetUp() override { root_ = MakeTestFolder("qmt_every_item"); }
    void TearDown() override { RemoveTestFolder(root_); }

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
    std::vector<AnsiString> Start()
    {
        TForm1 form(nullptr);
        form.SelfPath = root_ + UpdaterName;
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
        return {count.Passed(), count.LastOf(TFileOp::JournalWrite), KillPoints(count, WorkFolder())};
    }

    AnsiString root_;
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

    for (uint64_t n : run.KillPoints) {
        SCOPED_TRACE("killed at operation " + std::to_string(n));
        Install();
        {
            TPromptScript noQuestion;
            KillAtFileOp kill(n);
            EXPECT_THROW(Start(), TEngineKilled);
            EXPECT_TRUE(noQuestion.Seen().empty());
        }
        // Once its end line is written the run has finished: nothing is undone.
        const TestTree &expected = n > run.EndLine ? newTree_ : oldTree_;
        if (FileExists(JournalPath())) {
            StartAndRollBack();
            EXPECT_EQ(std::vector<AnsiString>{}, Differences(expected, Installation()));
        } else {
            // Killed before its journal existed, or after it had deleted it again.
            EXPECT_TRUE(n == 1 || n > run.EndLine);
            EXPECT_EQ(std::vector<AnsiString>{}, Differences(expected, ProductFiles()));
        }
    }
}

TEST_F(EveryItemRun, RollbackKilledAtAnyOfItsFileOperationsAndStartedAgainStillRestores)
{
    Prepare(0);
    // The fullest journal: the run killed where it would write its end line.
    const uint64_t endLine = CountedRun().EndLine;
    Install();
    {
        KillAtFileOp kill(endLine);
        EXPECT_THROW(Start(), TEngineKilled);
    }
    const TestTree leftByTheRun = ReadTree(root_);
    std::vector<uint64_t> points;
    {
        KillAtFileOp count;
        StartAndRollBack();
        points = KillPoints(count, WorkFolder());
    }
    ASSERT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, Installation()));
    ASSERT_GT(points.size(), 12u);  // restores, removals, the journal

    for (uint64_t n : points) {
        SCOPED_TRACE("rollback killed at operation " + std::to_string(n));
        RemoveTree(ExcludeTrailingBackslash(root_));
        WriteTree(root_, leftByTheRun);
        {
            TPromptScript script;
            script.Answer(idYes);  // 3001
            KillAtFileOp kill(n);
            EXPECT_THROW(Start(), TEngineKilled);
        }
        // Killed after it had deleted the journal, it had undone everything.
        if (FileExists(JournalPath())) {
            StartAndRollBack();
            EXPECT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, Installation()));
        } else {
            EXPECT_EQ(std::vector<AnsiString>{}, Differences(oldTree_, ProductFiles()));
        }
    }
}
