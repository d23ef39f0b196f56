#include <gtest/gtest.h>

#include "update/UndoCommand.h"

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

TEST(UndoCommand, BackupSizesAreComparedInTheirLow32Bits)
{
    // The journal keeps 32 bits of a size: a backup of 4 GB and more is journaled with the rest.
    EXPECT_TRUE(BackupAsJournaled(77, 0x100000010ull, 77, 0x10));
    EXPECT_TRUE(BackupAsJournaled(77, 0xFFFFFFFFull, 77, 0xFFFFFFFFu));
    EXPECT_FALSE(BackupAsJournaled(77, 0x100000010ull, 77, 0x11));
    EXPECT_FALSE(BackupAsJournaled(78, 0x10, 77, 0x10));
}
