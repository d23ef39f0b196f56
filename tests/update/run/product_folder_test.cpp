#include <gtest/gtest.h>

#include <set>

#include "update/run/ProductFolder.h"

namespace {

// A disk with these folders holding an "exe" subfolder.
THasExeFolder FoldersWithExe(std::set<AnsiString> folders)
{
    return [folders](const AnsiString &folder) { return folders.count(folder) != 0; };
}

}  // namespace

TEST(ProductFolder, UpdaterInTheProductFolderOrItsExeFolder)
{
    auto disk = FoldersWithExe({"C:\\P\\"});
    EXPECT_EQ("C:\\P\\", ProductFolderOf("C:\\P\\", disk));
    EXPECT_EQ("C:\\P\\", ProductFolderOf("C:\\P\\EXE\\", FoldersWithExe({})));
    EXPECT_EQ("D:\\Программы\\ЦМТ\\", ProductFolderOf("D:\\Программы\\ЦМТ\\Exe\\", FoldersWithExe({})));
    EXPECT_EQ("C:\\P\\qmt_3.1.1.txt", JournalPathFor("C:\\P\\", "3.1.1"));
}

TEST(ProductFolder, OnlyTheLastFolderNamedExeCounts)
{
    auto none = FoldersWithExe({});
    EXPECT_EQ("C:\\exe1\\", ProductFolderOf("C:\\exe1\\exe\\", none));
    EXPECT_FALSE(ProductFolderOf("C:\\P\\myexe\\", none));
    EXPECT_FALSE(ProductFolderOf("C:\\exe\\P\\", none));
    EXPECT_FALSE(ProductFolderOf("C:\\P\\exe1\\", none));
    EXPECT_FALSE(ProductFolderOf("C:\\P\\", none));
    EXPECT_FALSE(ProductFolderOf("exe\\", none));
    EXPECT_FALSE(ProductFolderOf("", none));
}

TEST(ProductFolder, MutexNames)
{
    EXPECT_EQ("C:_PROD_EXE_QMT.EXE", ProductMutexName("C:\\Prod\\exe\\qmt.exe"));
    EXPECT_EQ("D:_ЦМТ_EXE_QMT.EXE", ProductMutexName("D:\\цмт\\EXE\\Qmt.exe"));
    EXPECT_EQ("ZOZEVIZIROZUV_qmtupdt.exe", UpdaterMutexName("qmtupdt.exe"));
}
