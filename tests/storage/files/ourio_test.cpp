#include <gtest/gtest.h>

#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"
#include "tests/support/FakeFolders.h"

namespace {
std::vector<AnsiString> Items(const TStrings &l)
{
    std::vector<AnsiString> v;
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l[i]);
    return v;
}

// R\a.txt  R\x\  R\x\b.dat  R\x\y\  R\x\y\c.txt  R\z\ (empty)  R\d.txt
void BuildTree(FakeFolders &fs)
{
    fs.AddFolder("C:\\R");
    fs.AddFile("C:\\R\\a.txt");
    fs.AddFolder("C:\\R\\x");
    fs.AddFile("C:\\R\\x\\b.dat");
    fs.AddFolder("C:\\R\\x\\y");
    fs.AddFile("C:\\R\\x\\y\\c.txt");
    fs.AddFolder("C:\\R\\z");
    fs.AddFile("C:\\R\\d.txt");
}
}  // namespace

TEST(Ourio, CollectFoldersDepthFirstInListingOrder)
{
    FakeFolders fs;
    BuildTree(fs);
    TStringList l;
    l.Add("kept");
    CollectFolders("C:\\R\\", l, fs);
    EXPECT_EQ((std::vector<AnsiString>{"kept", "C:\\R\\", "C:\\R\\x\\", "C:\\R\\x\\y\\", "C:\\R\\z\\"}), Items(l));
}

TEST(Ourio, ListFilesRecursiveFolderByFolderWithAndWithoutAppend)
{
    FakeFolders fs;
    BuildTree(fs);
    TStringList l;
    l.Add("earlier");
    EXPECT_EQ(4, ListFilesRecursive("C:\\R\\", "*.*", l, false, fs));
    EXPECT_EQ((std::vector<AnsiString>{"C:\\R\\a.txt", "C:\\R\\d.txt", "C:\\R\\x\\b.dat", "C:\\R\\x\\y\\c.txt"}),
              Items(l));
    // Appending keeps what was there and counts only the new ones.
    EXPECT_EQ(3, ListFilesRecursive("C:\\R\\", "*.txt", l, true, fs));
    EXPECT_EQ(7, l.Count());
    EXPECT_EQ("C:\\R\\x\\y\\c.txt", l[6]);
    EXPECT_EQ(0, ListFilesRecursive("C:\\R\\", "*.zip", l, false, fs));
    EXPECT_EQ(0, l.Count());
}

// Listing a folder is a round trip to the file system (several, under Wine): a walk for every file
// lists each folder of the tree once, and gives what a folder-by-folder listing gives.
TEST(Ourio, EveryFileOfATreeIsListedWithOneListingOfEachFolder)
{
    struct CountingFolders : FakeFolders {
        std::vector<AnsiString> listed;
        std::vector<SFolderEntry> List(const AnsiString &folder, const AnsiString &mask) override
        {
            listed.push_back(folder + mask);
            return FakeFolders::List(folder, mask);
        }
    } fs;
    BuildTree(fs);
    fs.AddFile("C:\\R\\x\\e.bin");
    TStringList all, bySteps, folders;
    EXPECT_EQ(5, ListFilesRecursive("C:\\R\\", "*.*", all, false, fs));
    EXPECT_EQ(4u, fs.listed.size());  // R, x, y, z
    CollectFolders("C:\\R\\", folders, fs);
    for (int i = 0; i < folders.Count(); ++i)
        for (const SFolderEntry &e : fs.List(folders[i], "*.*"))
            if (!(e.Attr & faDirectory))
                bySteps.Add(folders[i] + e.Name);
    EXPECT_EQ(Items(bySteps), Items(all));
    // The count is of the files found, also when the list already holds some of them.
    TStringList kept;
    kept.SetSorted(true);
    kept.SetDuplicates(dupIgnore);
    kept.Add("C:\\R\\a.txt");
    EXPECT_EQ(5, ListFilesRecursive("C:\\R\\", "*.*", kept, true, fs));
    EXPECT_EQ(5, kept.Count());
    fs.listed.clear();
    EXPECT_EQ(0, DeleteFolderTree("C:\\R", fs));
    EXPECT_EQ(4u, fs.listed.size());
    EXPECT_FALSE(fs.Exists("C:\\R"));
}

TEST(Ourio, DeleteFolderTreeRemovesFilesThenFoldersDeepestFirst)
{
    FakeFolders fs;
    BuildTree(fs);
    EXPECT_EQ(0, DeleteFolderTree("C:\\R", fs));  // no trailing backslash: the same
    EXPECT_FALSE(fs.Exists("C:\\R"));
    EXPECT_EQ((std::vector<AnsiString>{"C:\\R\\a.txt", "C:\\R\\d.txt", "C:\\R\\x\\b.dat", "C:\\R\\x\\y\\c.txt",
                                       "C:\\R\\z", "C:\\R\\x\\y", "C:\\R\\x", "C:\\R"}),
              fs.removed);
}

TEST(Ourio, HiddenSystemAndReadOnlyFilesStayAndTheirFoldersCount)
{
    FakeFolders fs;
    BuildTree(fs);
    fs.AddFile("C:\\R\\x\\y\\hidden.bin", faHidden);
    fs.AddFile("C:\\R\\z\\sys.bin", faSysFile);
    fs.AddFile("C:\\R\\ro.txt", faReadOnly);
    TStringList l;
    ListFilesRecursive("C:\\R\\", "*.*", l, false, fs);
    EXPECT_EQ(-1, l.IndexOf("C:\\R\\x\\y\\hidden.bin"));
    EXPECT_EQ(-1, l.IndexOf("C:\\R\\z\\sys.bin"));
    EXPECT_NE(-1, l.IndexOf("C:\\R\\ro.txt"));
    // Failures: ro.txt; folders y, x (hidden file below), z (system file), R.
    EXPECT_EQ(5, DeleteFolderTree("C:\\R\\", fs));
    EXPECT_TRUE(fs.Exists("C:\\R\\x\\y\\hidden.bin"));
    EXPECT_TRUE(fs.Exists("C:\\R\\z\\sys.bin"));
    EXPECT_TRUE(fs.Exists("C:\\R\\ro.txt"));
    EXPECT_FALSE(fs.Exists("C:\\R\\x\\b.dat"));
}

TEST(Ourio, HiddenFoldersAreNotEntered)
{
    FakeFolders fs;
    fs.AddFolder("C:\\R");
    fs.AddFolder("C:\\R\\h", faHidden);
    fs.AddFile("C:\\R\\h\\f.txt");
    TStringList l;
    CollectFolders("C:\\R\\", l, fs);
    EXPECT_EQ(1, l.Count());
    EXPECT_EQ(1, DeleteFolderTree("C:\\R\\", fs));  // R itself, which still holds h
    EXPECT_TRUE(fs.Exists("C:\\R\\h\\f.txt"));
}

TEST(Ourio, AMissingFolderListsNothingAndCountsOneFailure)
{
    FakeFolders fs;
    fs.AddFolder("C:\\R");
    TStringList l;
    EXPECT_EQ(0, ListFilesRecursive("C:\\R\\none\\", "*.*", l, false, fs));
    CollectFolders("C:\\R\\none\\", l, fs);
    EXPECT_EQ((std::vector<AnsiString>{"C:\\R\\none\\"}), Items(l));
    EXPECT_EQ(1, DeleteFolderTree("C:\\R\\none", fs));
    EXPECT_TRUE(fs.Exists("C:\\R"));
}

TEST(Ourio, AFolderLinkIsRemovedButNeverEntered)
{
    FakeFolders fs;
    fs.AddFolder("C:\\Keep");
    fs.AddFile("C:\\Keep\\precious.db");
    fs.AddFolder("C:\\Keep\\inner");
    fs.AddFile("C:\\Keep\\inner\\more.db");
    fs.AddFolder("C:\\R");
    fs.AddFile("C:\\R\\a.txt");
    fs.AddFolderLink("C:\\R\\link", "C:\\Keep");
    // The fake shows the target's contents through the link, as the system does.
    ASSERT_EQ(2u, fs.List("C:\\R\\link\\", "*.*").size());

    TStringList l;
    CollectFolders("C:\\R\\", l, fs);
    EXPECT_EQ((std::vector<AnsiString>{"C:\\R\\"}), Items(l));
    EXPECT_EQ(1, ListFilesRecursive("C:\\R\\", "*.*", l, false, fs));

    EXPECT_EQ(0, DeleteFolderTree("C:\\R\\", fs));
    EXPECT_FALSE(fs.Exists("C:\\R"));
    EXPECT_TRUE(fs.Exists("C:\\Keep\\precious.db"));
    EXPECT_TRUE(fs.Exists("C:\\Keep\\inner\\more.db"));
    EXPECT_EQ((std::vector<AnsiString>{"C:\\R\\a.txt", "C:\\R\\link", "C:\\R"}), fs.removed);
}

TEST(Ourio, GroupDialogKeepsFoldersAndFilesOfTheWantedExtension)
{
    FakeFolders fs;
    fs.AddFolder("C:\\D");
    fs.AddFolder("C:\\D\\sub.txt.d");
    fs.AddFile("C:\\D\\a.qmt");
    fs.AddFile("C:\\D\\b.txt");
    fs.AddFile("C:\\D\\c.QMT");
    auto attrOf = [&fs](const AnsiString &name) {
        if (!fs.Exists(name))
            return -1;
        for (const SFolderEntry &e : fs.List(ExtractFilePath(name), ExtractFileName(name)))
            return e.Attr;
        return -1;
    };
    EXPECT_TRUE(GroupDialogKeeps("C:\\D", "a.qmt", "qmt", attrOf));
    EXPECT_TRUE(GroupDialogKeeps("C:\\D\\", "c.QMT", ".qmt", attrOf));
    EXPECT_FALSE(GroupDialogKeeps("C:\\D", "b.txt", "qmt", attrOf));
    EXPECT_TRUE(GroupDialogKeeps("C:\\D", "sub.txt.d", "qmt", attrOf));  // a folder, whatever its name
    // Shown without its extension (the system hides known ones): the file on disk decides.
    EXPECT_TRUE(GroupDialogKeeps("C:\\D", "a", "qmt", attrOf));
    EXPECT_FALSE(GroupDialogKeeps("C:\\D", "b", "qmt", attrOf));
    // No wanted extension, or a folder the dialog cannot name (a drive list): nothing is removed.
    EXPECT_TRUE(GroupDialogKeeps("C:\\D", "b.txt", "", attrOf));
    EXPECT_TRUE(GroupDialogKeeps("", "Локальный диск (C:)", "qmt", attrOf));
}
