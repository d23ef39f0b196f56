#include <gtest/gtest.h>

#include <vector>

#include "update/journal/JournalLine.h"
#include "update/journal/UndoCommand.h"

TEST(UndoCommand, BackupTextGivesTargetBackupChecksumAndSize)
{
    TBackupCommand c;
    ASSERT_TRUE(ParseBackupCommand("C:\\P\\EXE\\a<b.dll<D:\\T\\BAK0\\EXE\\a<b.dll"
                                   "0000012345"
                                   "4294967295",
                                   c));
    EXPECT_EQ("C:\\P\\EXE\\a", c.Target);  // the first "<" divides
    EXPECT_EQ("b.dll<D:\\T\\BAK0\\EXE\\a<b.dll", c.Backup);
    EXPECT_EQ(12345u, c.Checksum);
    EXPECT_EQ(4294967295u, c.Size);
}

TEST(UndoCommand, BackupTextsThatCannotBeUndone)
{
    TBackupCommand c;
    EXPECT_FALSE(ParseBackupCommand("C:\\a<C:\\b"
                                    "000001234",
                                    c));  // 19 digits
    EXPECT_FALSE(ParseBackupCommand("C:\\a"
                                    "C:\\b"
                                    "00000000000000000000",
                                    c));  // no "<"
    EXPECT_FALSE(ParseBackupCommand("C:\\a<C:\\b"
                                    "000000000x0000000000",
                                    c));
    EXPECT_FALSE(ParseBackupCommand("C:\\a<C:\\b"
                                    "0000000000"
                                    "4294967296",
                                    c));  // above 32 bits
}

TEST(UndoCommand, CreatedTextGivesTheName)
{
    AnsiString name;
    ASSERT_TRUE(ParseCreatedCommand("z<C:\\P\\new.txt"
                                    "00000000000000000000",
                                    name));
    EXPECT_EQ("C:\\P\\new.txt", name);
    ASSERT_TRUE(ParseCreatedCommand("z<PA"
                                    "00000000000000000000",
                                    name));
    EXPECT_EQ("PA", name);
    EXPECT_FALSE(ParseCreatedCommand("zC:\\P\\new.txt"
                                     "00000000000000000000",
                                     name));
    EXPECT_FALSE(ParseCreatedCommand("z<C:\\P\\new.txt"
                                     "0000000000000000000",
                                     name));
    EXPECT_FALSE(ParseCreatedCommand("0000<0000000000000000", name));  // the "<" inside the digits
}

TEST(UndoCommand, OnlyAbsolutePathsAreDeleted)
{
    EXPECT_TRUE(IsAbsolutePath("C:\\P\\a.txt"));
    EXPECT_TRUE(IsAbsolutePath("d:\\"));
    EXPECT_TRUE(IsAbsolutePath("\\\\srv\\share\\a"));
    EXPECT_FALSE(IsAbsolutePath("PA"));
    EXPECT_FALSE(IsAbsolutePath(""));
    EXPECT_FALSE(IsAbsolutePath("C:a.txt"));
    EXPECT_FALSE(IsAbsolutePath("\\P\\a.txt"));
    EXPECT_FALSE(IsAbsolutePath("..\\a.txt"));
    EXPECT_FALSE(IsAbsolutePath("\\\\\\a"));
}

TEST(UndoCommand, RootsOfDrivesAndSharesAreKnown)
{
    for (const char *root : {"Q:", "q:\\", "\\\\сервер\\ресурс", "\\\\сервер\\ресурс\\", "\\\\сервер"})
        EXPECT_TRUE(IsDriveOrShareRoot(root)) << root;
    for (const char *folder : {"Q:\\Копии", "\\\\сервер\\ресурс\\Копии", "", "Копии", "\\", "\\\\\\a"})
        EXPECT_FALSE(IsDriveOrShareRoot(folder)) << folder;
}

TEST(UndoCommand, BackupSizesAreComparedInTheirLow32Bits)
{
    // The journal keeps 32 bits of a size: a backup of 4 GB and more is journaled with the rest.
    EXPECT_TRUE(BackupAsJournaled(77, 0x100000010ull, 77, 0x10));
    EXPECT_TRUE(BackupAsJournaled(77, 0xFFFFFFFFull, 77, 0xFFFFFFFFu));
    EXPECT_FALSE(BackupAsJournaled(77, 0x100000010ull, 77, 0x11));
    EXPECT_FALSE(BackupAsJournaled(78, 0x10, 77, 0x10));
}

TEST(UndoCommand, AJournalWhoseNewestCommandIsItsEndIsThatOfAFinishedRun)
{
    const AnsiString date = "07.12.26 18:00:00.000";
    const std::vector<AnsiString> begun = {
        JournalCommandLine(date, ejc_Start, JournalStartText), JournalProtocolLine(date, "...Выполнение обновления"),
        JournalCommandLine(date, ejc_TempFolder, "D:\\OLD.TMP\\"),
        JournalCommandLine(date, ejc_TempFolder, "C:\\P\\QMTUPDTA.TMP\\"),
        JournalCommandLine(date, ejc_Backup, "C:\\P\\a<C:\\P\\QMTUPDTA.TMP\\BAK0\\a00000000010000000002")};
    AnsiString temp = "stale";
    bool rolledBack = true;
    EXPECT_FALSE(FinishedRunJournal(begun, temp, rolledBack));
    EXPECT_EQ("", temp);
    EXPECT_FALSE(rolledBack);

    std::vector<AnsiString> finished = begun;
    finished.push_back(JournalCommandLine(date, ejc_End, JournalEndText));
    finished.push_back(JournalProtocolLine(date, "Удаление папки"));  // protocol lines do not count
    EXPECT_TRUE(FinishedRunJournal(finished, temp, rolledBack));
    EXPECT_EQ("C:\\P\\QMTUPDTA.TMP\\", temp);  // the newest temporary folder
    EXPECT_FALSE(rolledBack);

    // An end line cut off or damaged is no end: the run may have stopped anywhere after its last command.
    std::vector<AnsiString> damaged = finished;
    damaged[5][damaged[5].size() - 1] ^= 1;
    EXPECT_FALSE(FinishedRunJournal(damaged, temp, rolledBack));

    // A run that ended before it chose a temporary folder names none.
    EXPECT_TRUE(FinishedRunJournal(
        {JournalCommandLine(date, ejc_Start, JournalStartText), JournalCommandLine(date, ejc_End, JournalEndText)},
        temp, rolledBack));
    EXPECT_EQ("", temp);
    EXPECT_FALSE(FinishedRunJournal({}, temp, rolledBack));
}

TEST(UndoCommand, AJournalARollbackEndedTellsSo)
{
    const AnsiString date = "07.12.26 18:00:00.000";
    const std::vector<AnsiString> begun = {
        JournalCommandLine(date, ejc_Start, JournalStartText), JournalCommandLine(date, ejc_Variant, "1"),
        JournalCommandLine(date, ejc_CopyFolder, "D:\\QMT5_311\\"),
        JournalCommandLine(date, ejc_TempFolder, "C:\\P\\QMTUPDTA.TMP\\"),
        JournalCommandLine(date, ejc_Backup, "C:\\P\\a<C:\\P\\QMTUPDTA.TMP\\BAK0\\a00000000010000000002")};
    AnsiString temp;
    bool rolledBack = false;

    // The rollback's two lines, protocol lines between them or not.
    std::vector<AnsiString> ended = begun;
    ended.push_back(JournalCommandLine(date, ejc_Variant, RolledBackVariantText));
    ended.push_back(JournalProtocolLine(date, "LogCmd 2 -1"));
    ended.push_back(JournalCommandLine(date, ejc_End, JournalEndText));
    EXPECT_TRUE(FinishedRunJournal(ended, temp, rolledBack));
    EXPECT_TRUE(rolledBack);
    EXPECT_EQ("C:\\P\\QMTUPDTA.TMP\\", temp);

    // A run's own variant line, or one elsewhere than right before the end, is no rollback's.
    for (const AnsiString &variant : {AnsiString("1"), AnsiString("0"), AnsiString("-10")}) {
        std::vector<AnsiString> other = begun;
        other.push_back(JournalCommandLine(date, ejc_Variant, variant));
        other.push_back(JournalCommandLine(date, ejc_End, JournalEndText));
        EXPECT_TRUE(FinishedRunJournal(other, temp, rolledBack)) << variant;
        EXPECT_FALSE(rolledBack) << variant;
    }
    std::vector<AnsiString> earlier = begun;
    earlier.insert(earlier.begin() + 4, JournalCommandLine(date, ejc_Variant, RolledBackVariantText));
    earlier.push_back(JournalCommandLine(date, ejc_End, JournalEndText));
    EXPECT_TRUE(FinishedRunJournal(earlier, temp, rolledBack));
    EXPECT_FALSE(rolledBack);

    // A damaged line right before the end tells nothing; the rollback's end alone undoes nothing more
    // either way.
    std::vector<AnsiString> damaged = ended;
    damaged[5][damaged[5].size() - 1] ^= 1;
    EXPECT_TRUE(FinishedRunJournal(damaged, temp, rolledBack));
    EXPECT_FALSE(rolledBack);
}
