#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/files/FileNames.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {
std::vector<AnsiString> Sorted(const TStringList &list)
{
    std::vector<AnsiString> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list[i]);
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

TEST(Listings, CyrillicAndUkrainianFileNamesComeBackUpperCasedAndStillOpen)
{
    TempFolder tmp;
    const std::vector<AnsiString> files = {"звіт.txt", "Їжак і єнот.dat", "plain.txt", "ґанок.ini"};
    for (const AnsiString &f : files)
        WriteWholeFile(tmp / f, "x");
    ASSERT_EQ(FileSetAttr(tmp / "plain.txt", faNormal), 0);  // a file with no other attribute
    ASSERT_EQ(FileSetAttr(tmp / "ґанок.ini", faReadOnly), 0);
    ASSERT_TRUE(CreateDir(tmp / "папка"));
    ASSERT_TRUE(CreateDir(tmp / "Ірпінь"));

    TStringList list;
    list.Add("stale");
    EXPECT_EQ(ListFiles(tmp.Path(), "*.*", list, true), 4);
    EXPECT_EQ(Sorted(list), (std::vector<AnsiString>{"PLAIN.TXT", "ҐАНОК.INI", "ЇЖАК І ЄНОТ.DAT", "ЗВІТ.TXT"}));
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(ReadWholeFile(tmp / list[i]), "x") << list[i];
    EXPECT_EQ(ListFiles(tmp.Path(), "*.txt", list, false), 2);
    EXPECT_EQ(list.Count(), 6);

    EXPECT_EQ(ListSubfolders(tmp.Path(), "*", list), 2);
    EXPECT_EQ(Sorted(list), (std::vector<AnsiString>{"Ірпінь", "папка"}));
    EXPECT_TRUE(FolderExists(tmp / "Ірпінь"));
    EXPECT_FALSE(FolderExists(tmp / "звіт.txt"));
    EXPECT_TRUE(IsExistingFile(tmp / "звіт.txt"));
    EXPECT_FALSE(IsExistingFile(tmp / "папка"));
    EXPECT_EQ(ListFiles(tmp / "нема\\", "*.*", list, true), 0);
    EXPECT_EQ(list.Count(), 0);
    FileSetAttr(tmp / "ґанок.ini", faArchive);
}

TEST(ClearReadOnly, MakesAReadOnlyFileWritable)
{
    TempFolder tmp;
    const AnsiString name = tmp / "тільки.txt";
    WriteWholeFile(name, "old");
    ASSERT_EQ(FileSetAttr(name, faReadOnly | faHidden), 0);
    ASSERT_NE(FileGetAttr(name) & faReadOnly, 0);
    EXPECT_TRUE(ClearReadOnly(name));
    EXPECT_EQ(FileGetAttr(name) & (faReadOnly | faHidden), 0);
    EXPECT_TRUE(ClearReadOnly(name.c_str()));  // already writable
    WriteWholeFile(name, "new");
    EXPECT_EQ(ReadWholeFile(name), "new");
    EXPECT_FALSE(ClearReadOnly(tmp / "нема.txt"));
}

TEST(FileNameWrappers, CurrentFolderIsUpperCased)
{
    TempFolder tmp;
    const AnsiString sub = tmp / "ііі";
    ASSERT_TRUE(CreateDir(sub));
    const AnsiString saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(sub));
    const AnsiString current = CurrentFolderStr();
    SetCurrentDir(saved);
    EXPECT_EQ(current, AnsiUpperCase(sub));
    EXPECT_TRUE(FolderExists(current));
}
