#include <gtest/gtest.h>

#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"
#include "tests/support/TempFolder.h"

namespace {
std::vector<AnsiString> Items(const TStrings &l)
{
    std::vector<AnsiString> v;
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l[i]);
    return v;
}

// T\Дерево\ with files at two depths, an empty folder and a single chain so the order is fixed.
AnsiString BuildTree(const TempFolder &tmp)
{
    AnsiString root = tmp / "Дерево\\";
    EXPECT_TRUE(ForceDirectories(root + "a\\b"));
    EXPECT_TRUE(CreateDir(root + "a\\b\\пусто"));
    WriteWholeFile(root + "top.txt", "1");
    WriteWholeFile(root + "a\\mid.dat", "2");
    WriteWholeFile(root + "a\\b\\deep.txt", "3");
    return root;
}
}  // namespace

TEST(OurioSystem, ListsTheTreeAndRemovesItCompletely)
{
    for (bool trailing : {true, false}) {
        TempFolder tmp;
        AnsiString root = BuildTree(tmp);
        TStringList folders;
        CollectFolders(root, folders);
        EXPECT_EQ((std::vector<AnsiString>{root, root + "a\\", root + "a\\b\\", root + "a\\b\\пусто\\"}),
                  Items(folders));

        TStringList files;
        files.Add("earlier");
        EXPECT_EQ(3, ListFilesRecursive(root, "*.*", files, false));
        EXPECT_EQ((std::vector<AnsiString>{root + "top.txt", root + "a\\mid.dat", root + "a\\b\\deep.txt"}),
                  Items(files));
        EXPECT_EQ(2, ListFilesRecursive(root, "*.txt", files, true));
        EXPECT_EQ(5, files.Count());

        EXPECT_EQ(0, DeleteFolderTree(trailing ? root : ExcludeTrailingBackslash(root)));
        EXPECT_FALSE(DirectoryExists(root));
        EXPECT_TRUE(DirectoryExists(tmp.Path()));
    }
}

TEST(OurioSystem, HiddenAndReadOnlyFilesStayAndEveryFolderOnTheirPathFails)
{
    TempFolder tmp;
    AnsiString root = BuildTree(tmp);
    WriteWholeFile(root + "a\\b\\secret.bin", "h");
    ASSERT_EQ(0, FileSetAttr(root + "a\\b\\secret.bin", faHidden));
    ASSERT_EQ(0, FileSetAttr(root + "top.txt", faReadOnly));
    // The read-only file and folders b, a and the root fail; the empty folder and every other file go.
    EXPECT_EQ(4, DeleteFolderTree(root));
    EXPECT_TRUE(FileGetAttr(root + "a\\b\\secret.bin") & faHidden);
    EXPECT_TRUE(FileExists(root + "top.txt"));
    EXPECT_FALSE(FileExists(root + "a\\b\\deep.txt"));
    EXPECT_FALSE(DirectoryExists(root + "a\\b\\пусто"));
    FileSetAttr(root + "a\\b\\secret.bin", faNormal);
    FileSetAttr(root + "top.txt", faNormal);
}

TEST(OurioSystem, AMissingFolder)
{
    TempFolder tmp;
    TStringList l;
    EXPECT_EQ(0, ListFilesRecursive(tmp / "none\\", "*.*", l, false));
    EXPECT_EQ(0, l.Count());
    EXPECT_EQ(1, DeleteFolderTree(tmp / "none"));
}

TEST(OurioSystem, AFolderLinkIsRemovedWithoutTouchingItsTarget)
{
    TempFolder tmp;
    AnsiString root = BuildTree(tmp);
    ASSERT_TRUE(CreateDir(tmp / "target"));
    WriteWholeFile(tmp / "target\\precious.db", "keep");
    std::wstring link = Cp1251ToWide(root + "link"), target = Cp1251ToWide(tmp / "target");
    BOOLEAN made = CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    DWORD error = made ? 0 : GetLastError();
    if (!made || FileGetAttr(root + "link") == -1 || !(FileGetAttr(root + "link") & faSymLink)) {
        RemoveDir(root + "link");
        GTEST_SKIP() << "this system cannot create a folder link (call " << (made ? "reported success" : "failed")
                     << ", error " << error << "); the walk over a link is tested with the in-memory tree";
    }
    EXPECT_EQ(0, DeleteFolderTree(root));
    EXPECT_FALSE(DirectoryExists(root));
    EXPECT_EQ("keep", ReadWholeFile(tmp / "target\\precious.db"));
}
