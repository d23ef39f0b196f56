// The speed test and folder clearing on real folders; the drive queries of this computer.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/FakeClock.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/RecordingLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/FolderLink.h"
#include "tests/support/UnixCommand.h"
#include "update/run/uMain.h"
#include "update/variant/FreeSpace.h"

namespace {
int CountLines(const RecordingLog &log, const AnsiString &prefix)
{
    return static_cast<int>(std::count_if(log.Lines.begin(), log.Lines.end(), [&](const AnsiString &l) {
        return l.compare(0, prefix.size(), prefix) == 0;
    }));
}

void MakeTree(const TempFolder &t)
{
    ASSERT_TRUE(ForceDirectories(t / "tree\\a\\b"));
    ASSERT_TRUE(ForceDirectories(t / "tree\\c"));
    WriteWholeFile(t / "tree\\top.txt", "1");
    WriteWholeFile(t / "tree\\a\\in a.txt", "22");
    WriteWholeFile(t / "tree\\a\\b\\Файл.dat", "333");
}
}  // namespace

TEST(TestDiskSpeed, WritesNothingBehindAndReportsTheDelay)
{
    TempFolder t;
    FakeClock clock;
    TClockOverride use(clock);
    RecordingLog log;
    sDskNfo info;
    ASSERT_TRUE(TestDiskSpeed(t.Path(), log, info));
    EXPECT_EQ(info.Delay, 0u);
    EXPECT_FALSE(FileExists(t / "~qmttmp.tmp"));
    EXPECT_EQ(log.Lines, std::vector<AnsiString>{"Тест скорости  #1 ... задержка:0"});
}

TEST(TestDiskSpeed, AnUnwritableRootIsNoCandidate)
{
    TempFolder t;
    RecordingLog log;
    sDskNfo info;
    EXPECT_FALSE(TestDiskSpeed(t / "missing\\", log, info));
    EXPECT_EQ(info.Delay, DelayNotMeasured);
    EXPECT_EQ(log.Lines, std::vector<AnsiString>{"Тест скорости  ...Были ошибки"});

    // A test file held open by someone else is left alone.
    TFileStream held(t / "~qmttmp.tmp", fmCreate | fmShareExclusive);
    EXPECT_FALSE(TestDiskSpeed(t.Path(), log, info));
    EXPECT_TRUE(FileExists(t / "~qmttmp.tmp"));
}

TEST(ClearFolder, EmptiesATreeAndKeepsTheFolder)
{
    TempFolder t;
    MakeTree(t);
    RecordingLog log;
    ClearFolder(t / "tree\\", false, log);
    EXPECT_TRUE(DirectoryExists(t / "tree"));
    EXPECT_FALSE(DirectoryExists(t / "tree\\a"));
    EXPECT_FALSE(DirectoryExists(t / "tree\\c"));
    EXPECT_FALSE(FileExists(t / "tree\\top.txt"));
    EXPECT_EQ(CountLines(log, "Успешно удалено "), 6);  // three files, three folders
    EXPECT_EQ(CountLines(log, "Невозможно удалить "), 0);
    EXPECT_EQ(log.Lines[0], "...очистка " + t / "tree\\");
    EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), AnsiString("...ОК")), 2);
}

TEST(ClearFolder, RemovesTheFolderWhenAsked)
{
    TempFolder t;
    MakeTree(t);
    RecordingLog log;
    ClearFolder(t / "tree", true, log);
    EXPECT_FALSE(DirectoryExists(t / "tree"));
    EXPECT_EQ(log.Lines.back(), "#12 " + t / "tree");
}

TEST(ClearFolder, EveryRemovalPassesTheFileOperationGate)
{
    TempFolder t;
    MakeTree(t);
    RecordingLog log;
    {
        KillAtFileOp count;
        ClearFolder(t / "tree", true, log);
        EXPECT_EQ(3u + 3u + 1u, count.Passed());  // the files, the folders below, the folder itself
    }
    // Killed at its second removal, the rest stays for a later clearing.
    MakeTree(t);
    {
        KillAtFileOp kill(2);
        EXPECT_THROW(ClearFolder(t / "tree", true, log), TEngineKilled);
    }
    const int left = int(FileExists(t / "tree\\top.txt")) + int(FileExists(t / "tree\\a\\in a.txt")) +
                     int(FileExists(t / "tree\\a\\b\\Файл.dat"));
    EXPECT_EQ(2, left);
    EXPECT_TRUE(DirectoryExists(t / "tree\\a\\b"));
}

TEST(ClearFolder, CreatesAMissingFolderUnlessItIsToBeRemoved)
{
    TempFolder t;
    RecordingLog log;
    ClearFolder(t / "x\\y\\", true, log);
    EXPECT_FALSE(DirectoryExists(t / "x"));
    ClearFolder(t / "x\\y\\", false, log);
    EXPECT_TRUE(DirectoryExists(t / "x\\y"));
    EXPECT_TRUE(log.Lines.empty());

    ClearFolder("", true, log);
    EXPECT_EQ(log.Lines, std::vector<AnsiString>{"Попытка очистки и удаления несуществующей папки"});
}

TEST(ClearFolder, AFolderLinkGoesItselfAndWhatItLeadsToStays)
{
    TempFolder t;
    MakeTree(t);  // what the links lead to: the user's files, and an empty folder of theirs
    ASSERT_TRUE(ForceDirectories(t / "tree\\empty"));
    ASSERT_TRUE(ForceDirectories(t / "E\\QMTUPDT.TMP"));
    const std::wstring target = Cp1251ToWide(t / "tree");
    // An earlier build's work folder in a shared place, a run's folder and a folder a run made, each
    // turned into a link.
    const AnsiString work = t / "E\\QMTUPDT.TMP\\WRK", run = t / "RUN", made = t / "made";
    struct Unlink {
        std::vector<AnsiString> links;
        ~Unlink()
        {
            for (const AnsiString &link : links)
                RemoveFolderLink(Cp1251ToWide(link));
        }
    } unlink{{work, run, made}};
    for (const AnsiString &link : unlink.links)
        if (!MakeFolderLink(Cp1251ToWide(link), target))
            GTEST_SKIP() << "this system makes no folder link";
    const auto before = ReadTree(t / "tree\\");

    RecordingLog log;
    const bool linkGoes = RemoveTempFolder(t / "E\\QMTUPDT.TMP\\", log);  // as an earlier build's journal names it
    ClearFolder(run + "\\", false, log);  // the temporary folder emptied before the update
    TForm1 form(nullptr);
    form.RemoveMadeFolder(made + "\\");
    EXPECT_EQ(before, ReadTree(t / "tree\\"));
    // Wine's removal of a folder follows a link (it removes what the link leads to when that is empty),
    // so there the links stay; Windows removes the link itself.
    if (UnderWine())
        return;
    EXPECT_TRUE(linkGoes);
    EXPECT_FALSE(DirectoryExists(t / "E\\QMTUPDT.TMP"));
    EXPECT_TRUE(DirectoryExists(run));
    EXPECT_FALSE(FileGetAttr(run) & faSymLink);
    EXPECT_FALSE(DirectoryExists(made));
}

TEST(ClearFolder, HiddenSystemAndReadOnlyFilesOfTheEnginesFolderGoToo)
{
    // What a product file moved aside into the work folder keeps: nothing of it may stay behind.
    TempFolder t;
    MakeTree(t);
    ASSERT_EQ(0, FileSetAttr(t / "tree\\top.txt", faReadOnly));
    ASSERT_EQ(0, FileSetAttr(t / "tree\\a\\in a.txt", faHidden | faSysFile | faReadOnly));
    ASSERT_EQ(0, FileSetAttr(t / "tree\\a\\b\\Файл.dat", faHidden));
    RecordingLog log;
    {
        KillAtFileOp count;
        ClearFolder(t / "tree", true, log);
        // Each read-only file is made writable through the gate before it is deleted.
        EXPECT_EQ(2, std::count(count.PassedKinds().begin(), count.PassedKinds().end(), TFileOp::Attributes));
    }
    EXPECT_FALSE(DirectoryExists(t / "tree"));
    EXPECT_EQ(CountLines(log, "Успешно удалено "), 6);
    EXPECT_EQ(CountLines(log, "Невозможно удалить "), 0);
}

TEST(ClearFolder, ALockedFileFailsItsPhaseAndStays)
{
    TempFolder t;
    MakeTree(t);
    RecordingLog log;
    {
        TFileStream locked(t / "tree\\a\\in a.txt", fmOpenRead | fmShareExclusive);
        ClearFolder(t / "tree\\", false, log);
    }
    EXPECT_TRUE(FileExists(t / "tree\\a\\in a.txt"));
    EXPECT_FALSE(FileExists(t / "tree\\top.txt"));
    EXPECT_EQ(CountLines(log, "Невозможно удалить " + t / "tree\\a\\in a.txt"), 1);
    // Both phases report failure: the files phase although its last removal succeeded, the folders
    // phase because "a" cannot go.
    EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), AnsiString("...Были ошибки")), 2);
}

TEST(SystemDrives, SeeTheWindowsDriveAsFixedWithFreeBytes)
{
    RecordingLog log;
    TSystemDrives drives(log);
    const AnsiString windows = drives.WindowsFolder();
    ASSERT_FALSE(windows.empty());
    const AnsiString root = windows.substr(0, 3);
    EXPECT_TRUE(drives.LogicalDriveMask() & (1u << (AnsiUpperChar(root[0]) - 'A')));
    EXPECT_TRUE(drives.IsFixedDrive(root));
    EXPECT_GT(drives.FreeBytes(root), 0u);
}

TEST(SystemDrives, TheMainWindowScansTheFixedDrivesOfThisComputer)
{
    TForm1 form(nullptr);
    form.ProductFolder = "C:\\Product\\";
    char drive = '\0';
    ASSERT_TRUE(form.ScanDrives(0, 1, drive));
    EXPECT_TRUE(drive >= 'A' && drive <= 'Z');
    bool consideredC = false;
    for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
        consideredC = consideredC || form.LsBx_Prot->Items()->Strings(i) == " Рассматривается диск C:\\";
    EXPECT_TRUE(consideredC);
    EXPECT_FALSE(FileExists("C:\\~qmttmp.tmp"));
}

TEST(SystemDrives, AFileBearingTheRunsFolderNameInASharedPlaceIsPassedOver)
{
    // No drive has room, so the user picks a folder; in its shared place a file has the name the run's
    // folder would have.
    struct NoRoom : IDriveQueries {
        uint32_t LogicalDriveMask() override { return 0; }
        AnsiString WindowsFolder() override { return AnsiString(); }
        bool IsFixedDrive(const AnsiString &) override { return true; }
        uint64_t FreeBytes(const AnsiString &) override { return 100; }
        bool TestSpeed(const AnsiString &, sDskNfo &) override { return false; }
    } drives;
    TempFolder t;
    const AnsiString shared = t / "QMTUPDTM.TMP\\";
    TForm1 form(nullptr);
    form.ProductFolder = t / "P\\";
    form.JournalPath = form.ProductFolder + "qmt_3.1.1.txt";
    form.Growth = 100;
    form.Drives = &drives;
    ASSERT_TRUE(ForceDirectories(form.ProductFolder));
    ASSERT_TRUE(form.OpenJournal());  // the folder chosen is journaled
    const AnsiString taken = RunTempFolder(shared, form.JournalPath, [](const AnsiString &) { return false; });
    ASSERT_TRUE(ForceDirectories(shared));
    WriteWholeFile(ExcludeTrailingBackslash(taken), "a user's file");
    TPromptScript script;
    script.AnswerFolder(ExcludeTrailingBackslash(t.Path()));
    ASSERT_TRUE(form.CheckFreeSpace());
    EXPECT_EQ(0, form.TempFolder.rfind(shared, 0));
    EXPECT_NE(taken, form.TempFolder);
    EXPECT_EQ("a user's file", ReadWholeFile(ExcludeTrailingBackslash(taken)));
    form.CloseJournal();
}
