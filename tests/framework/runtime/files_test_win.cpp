#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {
std::vector<AnsiString> List(const AnsiString &mask, int attr)
{
    std::vector<AnsiString> names;
    TSearchRec rec;
    if (FindFirst(mask, attr, rec) == 0) {
        do
            names.push_back(rec.Name);
        while (FindNext(rec) == 0);
        FindClose(rec);
    }
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

TEST(Files, FindFirstFiltersByAttributes)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "plain.txt", "1");
    WriteWholeFile(tmp / "hidden.txt", "22");
    WriteWholeFile(tmp / "system.txt", "333");
    WriteWholeFile(tmp / "readonly.txt", "4");
    ASSERT_EQ(0, FileSetAttr(tmp / "hidden.txt", faHidden));
    ASSERT_EQ(0, FileSetAttr(tmp / "system.txt", faSysFile));
    ASSERT_EQ(0, FileSetAttr(tmp / "readonly.txt", faReadOnly));
    ASSERT_TRUE(CreateDir(tmp / "sub"));

    // Attribute 0: plain files only, never hidden or system entries, never folders.
    EXPECT_EQ((std::vector<AnsiString>{"plain.txt", "readonly.txt"}), List(tmp / "*.*", 0));
    EXPECT_EQ((std::vector<AnsiString>{".", "..", "plain.txt", "readonly.txt", "sub"}), List(tmp / "*.*", faDirectory));
    EXPECT_EQ((std::vector<AnsiString>{".", "..", "hidden.txt", "plain.txt", "readonly.txt", "sub", "system.txt"}),
              List(tmp / "*", faAnyFile));
    EXPECT_EQ((std::vector<AnsiString>{"hidden.txt", "plain.txt", "readonly.txt"}), List(tmp / "*.txt", faHidden));

    TSearchRec rec;
    ASSERT_EQ(0, FindFirst(tmp / "system.txt", faSysFile, rec));
    EXPECT_EQ(3, rec.Size);
    EXPECT_TRUE(rec.Attr & faSysFile);
    EXPECT_NE(0, rec.Time);
    FindClose(rec);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, FindFirst(tmp / "none*.zzz", faAnyFile, rec));
    EXPECT_EQ(nullptr, rec.FindHandle);
    FindClose(rec);  // harmless after a failed search
    EXPECT_NE(0, FindFirst(tmp / "no_folder\\*", faAnyFile, rec));
}

TEST(Files, CyrillicNamesKeepTheirBytes)
{
    TempFolder tmp;
    const AnsiString name = "Протокол_ҐґЇїЄєІіЁё.txt";
    WriteWholeFile(tmp / name, "x");
    // The name on disk is the right Unicode text, not the CP1251 bytes read in another code page.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES,
              GetFileAttributesW((Cp1251ToWide(tmp.Path()) + L"Протокол_ҐґЇїЄєІіЁё.txt").c_str()));
    EXPECT_EQ(std::vector<AnsiString>{name}, List(tmp / "*.txt", 0));
    EXPECT_TRUE(FileExists(tmp / name));
    EXPECT_TRUE(FileExists(tmp / AnsiUpperCase(name)));  // the file system ignores case
}

TEST(Files, FoldersCreateAndRemove)
{
    TempFolder tmp;
    const AnsiString deep = tmp / "Папка\\b\\c";
    EXPECT_FALSE(CreateDir(deep));  // parents missing
    EXPECT_TRUE(ForceDirectories(deep + "\\"));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));  // already there
    WriteWholeFile(tmp / "file", "");
    EXPECT_FALSE(ForceDirectories(tmp / "file\\sub"));  // a file stands in the way
    EXPECT_FALSE(RemoveDir(tmp / "Папка"));             // not empty
    EXPECT_TRUE(RemoveDir(deep));
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_EQ(-1, FileGetAttr(deep));
    EXPECT_TRUE(FileGetAttr(tmp / "Папка") & faDirectory);
}

TEST(Files, RenameCopyDelete)
{
    TempFolder tmp;
    ASSERT_TRUE(CreateDir(tmp / "other"));
    WriteWholeFile(tmp / "a.txt", "alpha");
    WriteWholeFile(tmp / "b.txt", "beta");
    EXPECT_TRUE(RenameFile(tmp / "a.txt", tmp / "other\\а.txt"));  // onto another folder, Cyrillic name
    EXPECT_FALSE(FileExists(tmp / "a.txt"));
    EXPECT_EQ("alpha", ReadWholeFile(tmp / "other\\а.txt"));
    // An existing target is never replaced by a rename.
    EXPECT_FALSE(RenameFile(tmp / "b.txt", tmp / "other\\а.txt"));
    EXPECT_EQ("alpha", ReadWholeFile(tmp / "other\\а.txt"));
    EXPECT_EQ("beta", ReadWholeFile(tmp / "b.txt"));
    EXPECT_FALSE(RenameFile(tmp / "missing", tmp / "x"));

    EXPECT_FALSE(CopyFile(tmp / "b.txt", tmp / "other\\а.txt", true));
    EXPECT_EQ("alpha", ReadWholeFile(tmp / "other\\а.txt"));
    EXPECT_TRUE(CopyFile(tmp / "b.txt", tmp / "other\\а.txt", false));
    EXPECT_EQ("beta", ReadWholeFile(tmp / "other\\а.txt"));

    EXPECT_TRUE(DeleteFile(tmp / "b.txt"));
    EXPECT_FALSE(DeleteFile(tmp / "b.txt"));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), GetLastOSError());
    EXPECT_EQ(-1, FileSizeOf(tmp / "b.txt"));
}

TEST(Files, RenameMovesAcrossVolumes)
{
    TempFolder here;
    // The build folder seen through another drive letter than the temporary folder's.
    AnsiString other = QMT_HELPER_DIR;
    ASSERT_NE(AnsiUpperChar(other[0]), AnsiUpperChar(here.Path()[0]));
    TempFolder there(other);
    WriteWholeFile(here / "moved.bin", "payload");
    EXPECT_TRUE(RenameFile(here / "moved.bin", there / "moved.bin"));
    EXPECT_FALSE(FileExists(here / "moved.bin"));
    EXPECT_EQ("payload", ReadWholeFile(there / "moved.bin"));
}

TEST(Files, CurrentFolder)
{
    TempFolder tmp;
    AnsiString saved = GetCurrentDir();
    ASSERT_TRUE(CreateDir(tmp / "Текущая"));
    ASSERT_TRUE(SetCurrentDir(tmp / "Текущая"));
    EXPECT_TRUE(AnsiSameText(tmp / "Текущая", GetCurrentDir()));
    EXPECT_FALSE(SetCurrentDir(tmp / "missing"));
    ASSERT_TRUE(SetCurrentDir(saved));
}
