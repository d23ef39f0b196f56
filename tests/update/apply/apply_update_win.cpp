#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/FailAtFileOp.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/TempFolder.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/payload/PartNfo.h"
#include "update/run/uMain.h"

namespace {

std::string Text(const std::vector<uint8_t> &v) { return std::string(v.begin(), v.end()); }

class ApplyLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTestFolder("qmt_apply");
        BuildInstallation(root_);
        WriteWholeFile(root_ + "a.txt", "old a");
        form_.FormCreate(&form_);
        form_.ProductFolder = root_;
        form_.TempFolder = root_ + "T\\";
        form_.JournalPath = root_ + "qmt_3.1.1.txt";
        form_.NewVersion = "3.1.1";
        form_.UpdateVariant = 0;
    }
    void TearDown() override
    {
        form_.CloseJournal();
        RemoveTestFolder(root_);
    }

    void Load(const TestPayloadBuilder &payload, bool damage = false)
    {
        std::vector<uint8_t> bytes = payload.Build().Bytes;
        WriteWholeFile(root_ + "qmtupdt.exe", Text(bytes));
        ASSERT_TRUE(form_.ReadUpdatePayload(root_ + "qmtupdt.exe"));
        if (damage) {  // one byte of the first item's data, after the payload was read
            bytes[size_t(form_.Items[0].Position + form_.Items[0].Name.size() + 9)] ^= 0x55;
            WriteWholeFile(root_ + "qmtupdt.exe", Text(bytes));
        }
        form_.SelfPath = root_ + "qmtupdt.exe";
        form_.JournalSuspended = 0;
        ASSERT_TRUE(form_.OpenJournal());
    }

    // Commands of the journal on disk after the two every run opens with (its start and its product
    // folder), every line's signature checked.
    std::vector<std::pair<int, AnsiString>> Commands()
    {
        std::vector<std::pair<int, AnsiString>> commands;
        TFileStream reader(form_.JournalPath, fmOpenRead | fmShareDenyNone);
        std::string content(size_t(reader.Size()), '\0');
        reader.ReadBuffer(content.data(), long(content.size()));
        for (AnsiString line : SplitJournalLines(content)) {
            EXPECT_TRUE(VerifyLine(line)) << line;
            if (!IsCommandLine(line))
                continue;
            StripSignature(line);
            int code = 0;
            AnsiString text;
            EXPECT_TRUE(ParseCommandLine(line, code, text));
            commands.emplace_back(code, text);
        }
        const std::vector<std::pair<int, AnsiString>> opening = {{ejc_Start, JournalStartText},
                                                                 {ejc_ProductFolder, form_.ProductFolder}};
        EXPECT_TRUE(commands.size() >= 2 && std::equal(opening.begin(), opening.end(), commands.begin()));
        commands.erase(commands.begin(), commands.begin() + std::min<size_t>(2, commands.size()));
        return commands;
    }

    AnsiString root_;
    FakeClock clock_;
    TClockOverride useClock_{clock_};
    TForm1 form_{nullptr};
};

}  // namespace

TEST_F(ApplyLoop, BacksUpEachTargetOnceIntoItsSectionAndJournalsIt)
{
    TestPayloadBuilder payload;
    payload.AddFile(ADDREPL, "a.txt", PatternBytes(25, 1));
    payload.AddFile(ADDREPL, "a.txt", PatternBytes(9, 3));  // the same target in the same section
    payload.AddSection();
    payload.AddFile(ADDREPL, "DATA\\b.txt", PatternBytes(150, 2));
    payload.AddSection();
    Load(payload);
    const std::string oldCfg = ReadWholeFile(root_ + "Cfg\\CFG.QMT");

    ASSERT_TRUE(form_.ApplyUpdate());
    EXPECT_FALSE(form_.PnStatus->Visible());
    EXPECT_EQ("5 из 5", form_.PnStatus->Caption());
    EXPECT_EQ(Text(PatternBytes(9, 3)), ReadWholeFile(root_ + "a.txt"));
    EXPECT_EQ(Text(PatternBytes(150, 2)), ReadWholeFile(root_ + "DATA\\b.txt"));
    EXPECT_EQ("old a", ReadWholeFile(root_ + "T\\BAK0\\a.txt"));  // backed up once, before the first change
    EXPECT_EQ(oldCfg, ReadWholeFile(root_ + "T\\BAK2\\Cfg\\CFG.QMT"));

    const auto commands = Commands();
    ASSERT_EQ(4u, commands.size());  // the handler journals the new folder DATA too
    EXPECT_EQ(ejc_Backup, commands[0].first);
    EXPECT_EQ(0u, commands[0].second.find(root_ + "a.txt<" + root_ + "T\\BAK0\\a.txt"));
    EXPECT_EQ("0000000005", commands[0].second.substr(commands[0].second.size() - 10));  // the backup's size
    EXPECT_EQ(std::make_pair(int(ejc_Created), "z<" + root_ + "DATA\\b.txt" + std::string(20, '0')), commands[1]);
    EXPECT_EQ(ejc_Backup, commands[3].first);
    EXPECT_EQ(0u, commands[3].second.find(root_ + "Cfg\\CFG.QMT<" + root_ + "T\\BAK2\\Cfg\\CFG.QMT"));

    const std::string cfg = ReadWholeFile(root_ + "Cfg\\CFG.QMT");
    EXPECT_EQ(oldCfg.size(), cfg.size());
    EXPECT_EQ(std::string("3.1.1") + '\0', cfg.substr(38, 6));
    EXPECT_EQ(oldCfg.substr(201), cfg.substr(201));
}

TEST_F(ApplyLoop, ADamagedItemFailsAtItsChecksumBeforeAnythingIsUnpacked)
{
    TestPayloadBuilder payload;
    payload.AddFile(ADDREPL, "a.txt", PatternBytes(500, 1));
    Load(payload, true);
    EXPECT_FALSE(form_.ApplyUpdate());
    EXPECT_TRUE(form_.PnStatus->Visible());
    EXPECT_EQ("old a", ReadWholeFile(root_ + "a.txt"));
    EXPECT_FALSE(FileExists(root_ + "T\\WRK\\a.txt"));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(ApplyLoop, KilledAtAnyFileChangeTheEngineStopsWhereItStands)
{
    TestPayloadBuilder payload;
    payload.AddFile(ADDREPL, "a.txt", PatternBytes(25, 1));
    Load(payload);
    KillAtFileOp kill(4);
    EXPECT_THROW(form_.ApplyUpdate(), TEngineKilled);
    EXPECT_EQ(3u, kill.Passed());
    EXPECT_TRUE(form_.PnStatus->Visible());
}

TEST_F(ApplyLoop, ComparisonOfFiles)
{
    WriteWholeFile(root_ + "x1", "abcdef");
    WriteWholeFile(root_ + "x2", "abcdeX");
    WriteWholeFile(root_ + "x3", "abcdefg");
    WriteWholeFile(root_ + "x4", "abcdef");
    TPromptScript script;
    script.Answer(idOk).Answer(idOk);
    EXPECT_TRUE(form_.CompareFiles(root_ + "x1", root_ + "x4"));
    EXPECT_FALSE(form_.CompareFiles(root_ + "x1", root_ + "x2"));  // content: no box
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_FALSE(form_.CompareFiles(root_ + "x1", root_ + "x3"));    // size: 5011
    EXPECT_FALSE(form_.CompareFiles(root_ + "x1", root_ + "none"));  // open: 5011
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find(root_ + "x1\n" + root_ + "x3"));
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("\"Сравнение файлов\""));
}

// Files larger than one read: a difference in any piece is found, and the progress steps once per
// 1% block whatever the reads.
TEST_F(ApplyLoop, ComparisonOfFilesLargerThanOneRead)
{
    std::string bytes = Text(PatternBytes((5u << 19) + 3, 7));
    WriteWholeFile(root_ + "big1", bytes);
    WriteWholeFile(root_ + "big2", bytes);
    EXPECT_TRUE(form_.CompareFiles(root_ + "big1", root_ + "big2"));
    EXPECT_EQ(101, form_.Progress->Max());
    EXPECT_EQ(101, form_.Progress->Position());
    EXPECT_EQ(101, form_.PrBar->Position());  // a window not shown takes every step
    for (size_t at : {size_t(0), size_t(1) << 20, bytes.size() - 1}) {
        std::string changed = bytes;
        changed[at] = char(changed[at] ^ 1);
        WriteWholeFile(root_ + "big2", changed);
        EXPECT_FALSE(form_.CompareFiles(root_ + "big1", root_ + "big2")) << at;
    }
}

TEST_F(ApplyLoop, AFolderIsNeverBackedUp)
{
    ForceDirectories(root_ + "dir");
    form_.JournalSuspended = 0;
    ASSERT_TRUE(form_.OpenJournal());
    EXPECT_FALSE(form_.CopyFileJournaled(root_ + "dir", root_ + "T\\BAK0\\dir", false, true));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(ApplyLoop, ABackupKeepsTheAttributesOfItsFile)
{
    WriteWholeFile(root_ + "h.txt", "hidden and read-only");
    WriteWholeFile(root_ + "s.txt", "system, without the archive attribute");
    ASSERT_EQ(0, FileSetAttr(root_ + "h.txt", faHidden | faReadOnly | faArchive));
    ASSERT_EQ(0, FileSetAttr(root_ + "s.txt", faSysFile));
    form_.JournalSuspended = 0;
    ASSERT_TRUE(form_.OpenJournal());
    for (const AnsiString name : {"h.txt", "s.txt", "a.txt"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(form_.CopyFileJournaled(root_ + name, root_ + "T\\BAK0\\" + name, false, true));
        EXPECT_EQ(FileGetAttr(root_ + name) & KeptFileAttributes,
                  FileGetAttr(root_ + "T\\BAK0\\" + name) & KeptFileAttributes);
    }
    EXPECT_EQ(3u, Commands().size());
    FileSetAttr(root_ + "h.txt", 0);
    FileSetAttr(root_ + "T\\BAK0\\h.txt", 0);
}

TEST_F(ApplyLoop, ABackupWhoseAttributesCannotBeSetIsNotJournaled)
{
    WriteWholeFile(root_ + "h.txt", "hidden");
    ASSERT_EQ(0, FileSetAttr(root_ + "h.txt", faHidden));
    form_.JournalSuspended = 0;
    ASSERT_TRUE(form_.OpenJournal());
    {
        FailFileOps refuse([](uint64_t, TFileOp kind, const AnsiString &) {
            return kind == TFileOp::Attributes ? SysErrorAccessDenied : 0u;
        });
        EXPECT_FALSE(form_.CopyFileJournaled(root_ + "h.txt", root_ + "T\\BAK0\\h.txt", false, true));
    }
    // Without its command the copy names nothing to restore: the target stays as it is.
    EXPECT_TRUE(Commands().empty());
    const TStrings &lines = *form_.LsBx_Prot->Items();
    EXPECT_EQ("Произошла аварийная ситуация Не удалось задать атрибуты копии " + root_ + "T\\BAK0\\h.txt",
              lines.Strings(lines.Count() - 1));
}
