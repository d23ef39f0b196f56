// The item handlers on files: each item type from its prepared files to the new target, the checks
// against the item's record, the edition rules, and failures that leave the files for rollback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/compound/dbkeys.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/PatchWriter.h"
#include "tests/support/TempFolder.h"
#include "update/payload/Checksum.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

namespace {

using testdata::Bytes;
using testdata::CompoundFileBuilder;

std::string Text(const Bytes &b) { return std::string(b.begin(), b.end()); }

std::string Pattern(std::size_t n, unsigned seed)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 31 + seed * 17) ^ (i >> 3));
    return s;
}

uint32_t Sum(const std::string &bytes)
{
    return AddChecksum(0, reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
}

std::string Patch(const std::string &oldBytes, const std::string &newBytes)
{
    const auto p = WritePatch({reinterpret_cast<const uint8_t *>(oldBytes.data()), oldBytes.size()},
                              {reinterpret_cast<const uint8_t *>(newBytes.data()), newBytes.size()});
    return std::string(p.begin(), p.end());
}

void Expect(TPartNfo &item, int sizeIndex, const std::string &bytes)
{
    item.Rec[sizeIndex] = static_cast<uint32_t>(bytes.size());
    item.Rec[sizeIndex + 1] = Sum(bytes);
}

class ItemHandlers : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedEdition_ = Cfg->Edition();
        form.JournalPath = dir / "journal.txt";
        ASSERT_TRUE(form.OpenJournal());
    }
    void TearDown() override
    {
        form.CloseJournal();
        Cfg->SetByte(CfgField::Edition, savedEdition_);
    }

    std::vector<AnsiString> Lines()
    {
        std::vector<AnsiString> lines;
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form.LsBx_Prot->Items()->Strings(i));
        return lines;
    }
    AnsiString LastLine() { return Lines().back(); }
    bool HasLine(const AnsiString &start)
    {
        for (const AnsiString &l : Lines())
            if (l.rfind(start, 0) == 0)
                return true;
        return false;
    }

    TempFolder dir;
    TForm1 form{nullptr};
    AnsiString target = dir / "prod\\file.dat", backup = dir / "bak\\file.dat", work = dir / "wrk\\file.dat";
    TPartNfo item;

private:
    uint8_t savedEdition_ = 0;
};

// Prepared files of a patch item: the product file, its backup and the unpacked patch.
void Prepare(const AnsiString &target, const AnsiString &backup, const AnsiString &work, const std::string &oldBytes,
             const std::string &patch)
{
    ForceDirectories(ExtractFileDir(target));
    ForceDirectories(ExtractFileDir(backup));
    ForceDirectories(ExtractFileDir(work));
    WriteWholeFile(target, oldBytes);
    WriteWholeFile(backup, oldBytes);
    WriteWholeFile(work, patch);
}

const AnsiString Ok = " " + ProtocolLine(ept_Ok, "");
const AnsiString Failed = " " + ProtocolLine(ept_Failed, "");

TEST_F(ItemHandlers, BinDiffPatchesTheBackupIntoTheTargetAndChecksIt)
{
    const std::string oldBytes = Pattern(5000, 1), newBytes = Pattern(700, 2) + oldBytes.substr(1000);
    Prepare(target, backup, work, oldBytes, Patch(oldBytes, newBytes));
    Expect(item, PN_OldSize, oldBytes);
    Expect(item, PN_NewSize, newBytes);

    ASSERT_TRUE(form.ApplyBinDiff(item, target, backup, work));
    EXPECT_EQ(newBytes, ReadWholeFile(target));
    EXPECT_FALSE(FileExists(work));
    const std::vector<AnsiString> lines = Lines();
    const std::vector<AnsiString> expected = {
        ProtocolLine(ept_Checksum, backup),
        ProtocolLine(ept_Ok, ""),
        ProtocolLine(ept_ChecksumCompare, backup) + Ok,
        ProtocolLine(ept_Patch, target) + Ok,
        ProtocolLine(ept_Checksum, target),
        ProtocolLine(ept_Ok, ""),
        ProtocolLine(ept_ChecksumCompare, target) + Ok,
        ProtocolLine(ept_DeleteFile, work) + Ok,
    };
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(expected, std::vector<AnsiString>(lines.end() - expected.size(), lines.end()));
}

TEST_F(ItemHandlers, BinDiffRefusesABackupThatIsNotTheOldFile)
{
    const std::string oldBytes = Pattern(3000, 3), newBytes = Pattern(3000, 4);
    Prepare(target, backup, work, oldBytes, Patch(oldBytes, newBytes));
    Expect(item, PN_OldSize, oldBytes);
    Expect(item, PN_NewSize, newBytes);
    item.Rec[PN_OldSum] += 1;
    EXPECT_FALSE(form.ApplyBinDiff(item, target, backup, work));
    EXPECT_EQ(ProtocolLine(ept_ChecksumCompare, backup) + Failed, LastLine());
    EXPECT_EQ(oldBytes, ReadWholeFile(target));
    EXPECT_TRUE(FileExists(work));
}

TEST_F(ItemHandlers, AWrongFinalSizeOrChecksumFailsTheItem)
{
    const std::string oldBytes = Pattern(3000, 5), newBytes = Pattern(2000, 6);
    for (int wrong : {PN_NewSize, PN_NewSum}) {
        SCOPED_TRACE(wrong);
        Prepare(target, backup, work, oldBytes, Patch(oldBytes, newBytes));
        Expect(item, PN_OldSize, oldBytes);
        Expect(item, PN_NewSize, newBytes);
        item.Rec[wrong] ^= 0x100;
        EXPECT_FALSE(form.ApplyBinDiff(item, target, backup, work));
        EXPECT_EQ(oldBytes, ReadWholeFile(backup));  // rollback restores the target from it
    }
}

TEST_F(ItemHandlers, BinDiffOfAMissingProductFileFailsAtItsBackup)
{
    const std::string oldBytes = Pattern(100, 7);
    Prepare(target, backup, work, oldBytes, Patch(oldBytes, oldBytes));
    DeleteFile(backup);
    Expect(item, PN_OldSize, oldBytes);
    Expect(item, PN_NewSize, oldBytes);
    EXPECT_FALSE(form.ApplyBinDiff(item, target, backup, work));
    EXPECT_EQ(ProtocolLine(ept_Failed, ""), LastLine());
    EXPECT_EQ(oldBytes, ReadWholeFile(target));
}

// A database item: base3 before and after an update, the patch made between the plain forms.
class DatabaseItem : public ItemHandlers {
protected:
    void SetUp() override
    {
        ItemHandlers::SetUp();
        target = dir / "prod\\db\\base3";
        backup = dir / "bak\\db\\base3";
        work = dir / "wrk\\db\\base3";
        CompoundFileBuilder before = CompoundFileBuilder::Created(3);
        before.Commit(1, {testdata::B("первая запись"), Bytes(20000, 0x41)});
        CompoundFileBuilder after = before;
        after.Commit(2, {testdata::B("новая запись"), Bytes{0x01}});
        oldPlain = Text(before.Build(0));
        newPlain = Text(after.Build(0));
        oldScrambled = Text(before.Build(key));
        newScrambled = Text(after.Build(key));
        Expect(item, PN_OldSize, oldScrambled);
        Expect(item, PN_PlainDbSize, oldPlain);
        Expect(item, PN_PatchedDbSize, newPlain);
        Expect(item, PN_NewSize, newScrambled);
        PrepareFiles();
    }
    void PrepareFiles() { Prepare(target, backup, work, oldScrambled, Patch(oldPlain, newPlain)); }

    const uint32_t key = DbbKeys[2];
    std::string oldPlain, newPlain, oldScrambled, newScrambled;
};

TEST_F(DatabaseItem, UnscramblesPatchesAndScramblesAgain)
{
    ASSERT_TRUE(form.ApplyDbbDiff(item, target, backup, work));
    EXPECT_EQ(newScrambled, ReadWholeFile(target));
    EXPECT_EQ(newPlain, ReadWholeFile(work));  // the patched plain file stays in the work folder
    EXPECT_FALSE(FileExists(work + "~"));
    EXPECT_EQ(oldScrambled, ReadWholeFile(backup));
    EXPECT_TRUE(HasLine(ProtocolLine(ept_Unscramble, work + "~") + Ok));
    EXPECT_TRUE(HasLine(ProtocolLine(ept_Move, target + " в " + work) + Ok));
    EXPECT_TRUE(HasLine(ProtocolLine(ept_Checksum, work) + Ok));  // on the same line in this handler
    EXPECT_TRUE(HasLine(ProtocolLine(ept_Rescramble, target)));
    EXPECT_EQ(ProtocolLine(ept_ChecksumCompare, target) + Ok, LastLine());

    // The same item again on a wrong final checksum: the item fails.
    PrepareFiles();
    item.Rec[PN_NewSum] += 1;
    EXPECT_FALSE(form.ApplyDbbDiff(item, target, backup, work));
    EXPECT_EQ(ProtocolLine(ept_ChecksumCompare, target) + Failed, LastLine());
}

TEST_F(DatabaseItem, KilledAtAnyFileOperationTheBackupStaysWhole)
{
    uint64_t operations = 0;
    {
        KillAtFileOp count;
        ASSERT_TRUE(form.ApplyDbbDiff(item, target, backup, work));
        operations = count.Passed();
    }
    ASSERT_GT(operations, 10u);
    for (uint64_t n = 1; n <= operations; ++n) {
        SCOPED_TRACE(n);
        PrepareFiles();
        {
            KillAtFileOp kill(n);
            EXPECT_THROW(form.ApplyDbbDiff(item, target, backup, work), TEngineKilled);
        }
        EXPECT_EQ(oldScrambled, ReadWholeFile(backup));
    }
}

TEST_F(ItemHandlers, DbbDiffOfANameWithoutAKeyDigitFailsBeforeReKeying)
{
    target = dir / "prod\\baseX";
    backup = dir / "bak\\baseX";
    work = dir / "wrk\\baseX";
    const std::string bytes = Text(CompoundFileBuilder::Created(2).Build(0));
    Prepare(target, backup, work, bytes, Patch(bytes, bytes));
    Expect(item, PN_OldSize, bytes);
    EXPECT_FALSE(form.ApplyDbbDiff(item, target, backup, work));
    EXPECT_EQ(ProtocolLine(ept_Exception, "Неизвестен ключ файла базы " + backup) + Failed, LastLine());
    EXPECT_FALSE(FileExists(work + "~"));
    EXPECT_EQ(bytes, ReadWholeFile(target));
}

TEST_F(ItemHandlers, PeDiffIsSkippedForTheOtherEdition)
{
    Prepare(target, backup, work, "old", "not even a patch");
    Cfg->SetByte(CfgField::Edition, 1);
    EXPECT_TRUE(form.ApplyPeDiff(item, PE1DIFF, target, backup, work));
    Cfg->SetByte(CfgField::Edition, 0);
    EXPECT_TRUE(form.ApplyPeDiff(item, PE2DIFF, target, backup, work));
    EXPECT_EQ("old", ReadWholeFile(target));
    EXPECT_TRUE(FileExists(work));
}

TEST_F(ItemHandlers, PeDiffAcceptsAnOldSizeOneByteOffButNotTwo)
{
    // A zero byte after a whole number of words leaves the checksum as it is.
    const std::string oldBytes = Pattern(4096, 8), newBytes = Pattern(300, 9) + oldBytes;
    for (int off : {-1, 1, 2}) {
        SCOPED_TRACE(off);
        Prepare(target, backup, work, oldBytes, Patch(oldBytes, newBytes));
        item.Rec[PN_OldSize] = static_cast<uint32_t>(oldBytes.size() + off);
        item.Rec[PN_OldSum] = Sum(oldBytes);
        Expect(item, PN_NewSize, newBytes);
        Cfg->SetByte(CfgField::Edition, 1);
        const bool applied = form.ApplyPeDiff(item, PE2DIFF, target, backup, work);
        if (off != 2) {
            ASSERT_TRUE(applied);
            EXPECT_EQ(newBytes, ReadWholeFile(target));
            EXPECT_FALSE(FileExists(work));
            EXPECT_FALSE(FileExists(work + "~"));
        } else {
            EXPECT_FALSE(applied);
            EXPECT_EQ(ProtocolLine(ept_ChecksumCompare, work + "~") + Failed, LastLine());
            EXPECT_EQ(oldBytes, ReadWholeFile(work + "~"));  // moved aside, nothing lost
            EXPECT_EQ(oldBytes, ReadWholeFile(backup));
        }
    }
}

TEST_F(ItemHandlers, AddRepLDeliversANewFileIntoNewFoldersJournaledParentsFirst)
{
    ForceDirectories(dir / "wrk");
    ForceDirectories(dir / "prod");
    target = dir / "prod\\Новая\\вложенная\\file.txt";
    const std::string bytes = Pattern(1234, 10);
    WriteWholeFile(work, bytes);
    Expect(item, PN_NewSize, bytes);

    ASSERT_TRUE(form.ApplyAddRepL(item, target, backup, work));
    EXPECT_EQ(bytes, ReadWholeFile(target));
    EXPECT_FALSE(FileExists(work));
    std::vector<AnsiString> commands;
    for (const AnsiString &l : Lines())
        if (l.rfind("LogCmd 9 ", 0) == 0)
            commands.push_back(l);
    EXPECT_EQ((std::vector<AnsiString>{"LogCmd 9 z<" + dir / "prod\\Новая" + "00000000000000000000",
                                       "LogCmd 9 z<" + dir / "prod\\Новая\\вложенная" + "00000000000000000000"}),
              commands);
    const std::string journal = ReadWholeFile(form.JournalPath);
    EXPECT_NE(std::string::npos, journal.find("*9#z<" + dir / "prod\\Новая\\вложенная" + "00000000000000000000"));
}

TEST_F(ItemHandlers, AddRepLReplacesAnExistingFileAndChecksIt)
{
    Prepare(target, backup, work, "old content", "new content");
    Expect(item, PN_NewSize, std::string("new content"));
    ASSERT_TRUE(form.ApplyAddRepL(item, target, backup, work));
    EXPECT_EQ("new content", ReadWholeFile(target));

    Prepare(target, backup, work, "old content", "new content");
    item.Rec[PN_NewSize] += 2;
    EXPECT_FALSE(form.ApplyAddRepL(item, target, backup, work));
    EXPECT_EQ(ProtocolLine(ept_ChecksumCompare, target) + Failed, LastLine());
}

TEST_F(ItemHandlers, AddRepLOnALockedTargetFailsAndKeepsBoth)
{
    Prepare(target, backup, work, "old content", "new content");
    Expect(item, PN_NewSize, std::string("new content"));
    {
        TFileStream held(target, fmOpenRead | fmShareExclusive);
        EXPECT_FALSE(form.ApplyAddRepL(item, target, backup, work));
    }
    EXPECT_EQ(ProtocolLine(ept_DeleteFile, target) + Failed, LastLine());
    EXPECT_EQ("old content", ReadWholeFile(target));
    EXPECT_EQ("new content", ReadWholeFile(work));
}

TEST_F(ItemHandlers, PeDiffOnALockedExecutableFailsBeforeAnyChange)
{
    const std::string oldBytes = Pattern(400, 11);
    Prepare(target, backup, work, oldBytes, Patch(oldBytes, oldBytes + "x"));
    Expect(item, PN_OldSize, oldBytes);
    Cfg->SetByte(CfgField::Edition, 0);
    {
        TFileStream held(target, fmOpenRead | fmShareExclusive);
        EXPECT_FALSE(form.ApplyPeDiff(item, PE1DIFF, target, backup, work));
    }
    EXPECT_EQ(ProtocolLine(ept_Move, target + " в " + work + "~") + Failed, LastLine());
    EXPECT_EQ(oldBytes, ReadWholeFile(target));
}

TEST_F(ItemHandlers, AddRepLWithoutAJournalMakesNoFolder)
{
    form.CloseJournal();
    ForceDirectories(dir / "wrk");
    WriteWholeFile(work, "x");
    target = dir / "prod\\new\\file.txt";
    EXPECT_FALSE(form.ApplyAddRepL(item, target, backup, work));
    EXPECT_FALSE(DirectoryExists(dir / "prod"));
    EXPECT_TRUE(FileExists(work));
}

TEST_F(ItemHandlers, AddRepMOnlyForItsEdition)
{
    Prepare(target, backup, work, "old", "for edition 2");
    Expect(item, PN_NewSize, std::string("for edition 2"));
    item.Rec[PN_UnpackedSum] = 2;
    Cfg->SetByte(CfgField::Edition, 0);
    EXPECT_TRUE(form.ApplyAddRepM(item, target, backup, work));
    EXPECT_EQ("old", ReadWholeFile(target));
    EXPECT_TRUE(FileExists(work));
    Cfg->SetByte(CfgField::Edition, 1);
    EXPECT_TRUE(form.ApplyAddRepM(item, target, backup, work));
    EXPECT_EQ("for edition 2", ReadWholeFile(target));
}

}  // namespace
