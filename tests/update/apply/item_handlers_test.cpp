// The file-free parts of the item handlers: database keys by name, the folders a new file needs,
// items by edition and the PE patch's old-size slack.
#include <gtest/gtest.h>

#include <map>

#include "framework/runtime/SysUtils.h"

#include "storage/compound/dbkeys.h"
#include "update/apply/ItemHandlers.h"
#include "update/patch/DbbRekey.h"
#include "update/payload/PartNfo.h"

TEST(DbbKeyForFile, TakesTheKeyFromTheNamesLastDigit)
{
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(static_cast<int32_t>(DbbKeys[i - 1]), DbbKeyForFile("C:\\P\\Db\\base" + std::to_string(i))) << i;
    EXPECT_EQ(0, DbbKeyForFile("base0"));
    EXPECT_EQ(7, DbbKeyForFile("base7"));
    EXPECT_EQ(9, DbbKeyForFile("9"));
    EXPECT_EQ(NoDbbKey, DbbKeyForFile("C:\\P\\Db\\base.dbb"));
    EXPECT_EQ(NoDbbKey, DbbKeyForFile("base1 "));
    EXPECT_EQ(NoDbbKey, DbbKeyForFile(""));
    // A key that reads as negative in its i32 is still a key, not the missing one.
    for (uint32_t key : DbbKeys)
        EXPECT_NE(NoDbbKey, static_cast<int32_t>(key));
}

TEST(MissingFolders, OutermostFirstUpToTheFirstEntryThatExists)
{
    const std::map<AnsiString, int> existing = {{"C:\\P", faDirectory},      {"C:", faDirectory},
                                                {"C:\\P\\EXE", faDirectory}, {"C:\\P\\EXE\\qmt.exe", faArchive},
                                                {"C:\\P\\Doc", faDirectory}, {"C:\\P\\Doc\\Руководство", faReadOnly}};
    const auto attributes = [&](const AnsiString &f) {
        const auto it = existing.find(f);
        return it == existing.end() ? -1 : it->second;
    };
    const auto folders = [&](const AnsiString &name) {
        const TMissingFolders missing = MissingFolders(name, attributes);
        EXPECT_EQ("", missing.FileInTheWay) << name;
        return missing.Folders;
    };
    EXPECT_EQ((std::vector<AnsiString>{"C:\\P\\Новая", "C:\\P\\Новая\\b", "C:\\P\\Новая\\b\\c"}),
              folders("C:\\P\\Новая\\b\\c\\file.txt"));
    EXPECT_TRUE(folders("C:\\P\\file.txt").empty());
    EXPECT_TRUE(folders("file.txt").empty());
    // A drive or share that is not there is not a folder the run would make: its root is never listed.
    EXPECT_EQ((std::vector<AnsiString>{"Q:\\a"}), folders("Q:\\a\\f"));
    EXPECT_TRUE(folders("Q:\\f").empty());
    EXPECT_EQ((std::vector<AnsiString>{"\\\\сервер\\ресурс\\Копии"}), folders("\\\\сервер\\ресурс\\Копии\\f"));

    // A file on the path ends the climb: it is named, never listed as a folder to make.
    const TMissingFolders throughExe = MissingFolders("C:\\P\\EXE\\qmt.exe\\QMT5_311\\", attributes);
    EXPECT_EQ("C:\\P\\EXE\\qmt.exe", throughExe.FileInTheWay);
    EXPECT_EQ((std::vector<AnsiString>{"C:\\P\\EXE\\qmt.exe\\QMT5_311"}), throughExe.Folders);
    EXPECT_EQ("C:\\P\\EXE\\qmt.exe", MissingFolders("C:\\P\\EXE\\qmt.exe\\", attributes).FileInTheWay);
    const TMissingFolders throughDoc = MissingFolders("C:\\P\\Doc\\Руководство\\new.pdf", attributes);
    EXPECT_EQ("C:\\P\\Doc\\Руководство", throughDoc.FileInTheWay);
    EXPECT_TRUE(throughDoc.Folders.empty());
}

TEST(MissingFolders, JournalTextRemovesTheFolderOnRollback)
{
    EXPECT_EQ("z<C:\\P\\Новая00000000000000000000", CreatedFolderCommandText("C:\\P\\Новая"));
}

TEST(ItemForEdition, PeAndAddRepMItemsGoToTheirEditionOnly)
{
    EXPECT_TRUE(ItemForEdition(PE1DIFF, 0, 0));
    EXPECT_FALSE(ItemForEdition(PE1DIFF, 0, 1));
    EXPECT_FALSE(ItemForEdition(PE2DIFF, 0, 0));
    EXPECT_TRUE(ItemForEdition(PE2DIFF, 0, 1));
    EXPECT_TRUE(ItemForEdition(ADDREPM, 2, 1));
    EXPECT_FALSE(ItemForEdition(ADDREPM, 2, 0));
    EXPECT_FALSE(ItemForEdition(ADDREPM, 0, 255));  // the edition entry + 1 does not wrap to 0
    EXPECT_TRUE(ItemForEdition(ADDREPL, 7, 0));
    EXPECT_TRUE(ItemForEdition(BINDIFF, 0, 1));
}

TEST(PeOldSizeAccepted, OneByteEitherWayButNotTwo)
{
    EXPECT_TRUE(PeOldSizeAccepted(1000, 1000));
    EXPECT_TRUE(PeOldSizeAccepted(1001, 1000));
    EXPECT_TRUE(PeOldSizeAccepted(999, 1000));
    EXPECT_FALSE(PeOldSizeAccepted(1002, 1000));
    EXPECT_FALSE(PeOldSizeAccepted(998, 1000));
    EXPECT_FALSE(PeOldSizeAccepted(0x100000000ull, 0));  // a size past 32 bits is no match for a small one
    EXPECT_TRUE(PeOldSizeAccepted(0x100000000ull, 0xFFFFFFFFu));
}
