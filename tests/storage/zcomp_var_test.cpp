#include "storage/zcomp_var.h"

#include <gtest/gtest.h>

#include "base/aliases/dPath.h"
#include "framework/runtime/Classes.h"

TEST(ProductRoot, ParentOfAnExeFolderInAnyCase)
{
    EXPECT_EQ(ProductRootOf("D:\\QMT\\EXE"), "D:\\QMT");
    EXPECT_EQ(ProductRootOf("D:\\Продукт\\exe"), "D:\\Продукт");
    EXPECT_EQ(ProductRootOf("D:\\QMT\\Bin"), "D:\\QMT\\Bin");
    EXPECT_EQ(ProductRootOf("D:\\QMT\\MYEXE"), "D:\\QMT\\MYEXE");
}

TEST(AliasLineParse, NameAndFolderRelativeToTheRoot)
{
    AliasLine line = ParseAliasLine("Doc#@\\Doc\\", "D:\\Qmt");
    EXPECT_EQ(line.name, "DOC");
    EXPECT_EQ(line.folder, "D:\\Qmt\\DOC\\");
    line = ParseAliasLine("  арх # c:\\архив\\ ", "D:\\Qmt");
    EXPECT_EQ(line.name, "АРХ");
    EXPECT_EQ(line.folder, "C:\\АРХИВ\\");
}

TEST(AliasLineParse, TwoFoldersMakeATwoLanguageText)
{
    AliasLine line = ParseAliasLine("X#@\\a\\#@\\b\\", "D:\\Qmt");
    EXPECT_EQ(line.name, "X");
    EXPECT_EQ(line.folder, "\x04"
                           "D:\\Qmt\\A\\"
                           "\x05"
                           "D:\\Qmt\\B\\");
    // Further "#" stay in the second folder's text.
    line = ParseAliasLine("Y#a#b#c", "");
    EXPECT_EQ(line.folder, "\x04"
                           "A"
                           "\x05"
                           "B#C");
}

TEST(AliasLineParse, ShortLines)
{
    AliasLine line = ParseAliasLine("ONLY", "R");
    EXPECT_EQ(line.name, "ONLY");
    EXPECT_EQ(line.folder, "");
    line = ParseAliasLine(std::string_view("A#b\0#c", 6), "R");  // the line ends at its NUL
    EXPECT_EQ(line.folder, "B");
    line = ParseAliasLine("A#@", "R");
    EXPECT_EQ(line.folder, "R");
}

TEST(AliasLists, LoadingTwiceGivesTheSameAliases)
{
    for (int run = 0; run < 2; ++run) {
        ResetAliasLists();
        AddAliasLine(ParseAliasLine("Exe#@\\Exe\\", "D:\\Q"));
        AddAliasLine(ParseAliasLine("Cfg#@\\Cfg\\", "D:\\Q"));
        AddAliasLine(ParseAliasLine("Doc#@\\Doc\\#@\\Док\\", "D:\\Q"));
        FinishAliasLists();
        ASSERT_EQ(AliasNames->Count(), 3);
        ASSERT_EQ(AliasFolders->Count(), 3);
        EXPECT_EQ(AliasFolder("cfg"), "D:\\Q\\CFG\\");
        EXPECT_EQ(ResolveAliasPath("EXE#alias.qmt"), "D:\\Q\\EXE\\alias.qmt");
    }
    FreeAliasLists();
    EXPECT_EQ(AliasNames, nullptr);
    EXPECT_EQ(AliasFolders, nullptr);
}

TEST(EnvironmentMessages, MissingFilesInOrderWithoutATrailingComma)
{
    EXPECT_EQ(MissingCfgFilesMessage("D:\\Q\\Cfg\\", {"cfg.qmt", "riza.sfr", "klsstd.qmt", "klsuse.qmt"}),
              "У тецi CFG по маршруту D:\\Q\\Cfg\\ відсутні файли  \"cfg.qmt\", \"riza.sfr\", \"klsstd.qmt\", "
              "\"klsuse.qmt\".\n Робота програми припиняється!");
    EXPECT_EQ(MissingAliasFileMessage("D:\\Q\\EXE\\"),
              "У тецi Exe по маршруту D:\\Q\\EXE\\ відсутній файл alias.qmt.\n Робота програми припиняється!");
}
