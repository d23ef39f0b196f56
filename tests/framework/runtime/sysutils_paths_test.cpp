#include <gtest/gtest.h>

#include "framework/runtime/SysUtils.h"

TEST(Paths, PartsOfAFullName)
{
    const AnsiString f = "C:\\Продукт\\EXE\\qmt.exe";
    EXPECT_EQ("C:\\Продукт\\EXE\\", ExtractFilePath(f));
    EXPECT_EQ("C:\\Продукт\\EXE", ExtractFileDir(f));
    EXPECT_EQ("qmt.exe", ExtractFileName(f));
    EXPECT_EQ(".exe", ExtractFileExt(f));
    EXPECT_EQ("C:", ExtractFileDrive(f));
    EXPECT_EQ("C:\\Продукт\\EXE\\qmt.bak", ChangeFileExt(f, ".bak"));
}

TEST(Paths, EdgeCases)
{
    EXPECT_EQ("C:\\", ExtractFileDir("C:\\a.txt"));  // the root keeps its backslash
    EXPECT_EQ("C:", ExtractFileDir("C:a.txt"));
    EXPECT_EQ("", ExtractFilePath("a.txt"));
    EXPECT_EQ("", ExtractFileExt("C:\\dir.d\\file"));  // a dot in the folder is no extension
    EXPECT_EQ("C:\\dir.d\\file.txt", ChangeFileExt("C:\\dir.d\\file", ".txt"));
    EXPECT_EQ("", ExtractFileName("C:\\dir\\"));
    EXPECT_EQ("\\\\srv\\share", ExtractFileDrive("\\\\srv\\share\\x\\y.txt"));
    EXPECT_EQ("a\\", IncludeTrailingBackslash("a"));
    EXPECT_EQ("a\\", IncludeTrailingBackslash("a\\"));
    EXPECT_EQ("\\", IncludeTrailingBackslash(""));
    EXPECT_EQ("a", ExcludeTrailingBackslash("a\\"));
    EXPECT_EQ("a", ExcludeTrailingBackslash("a"));
    EXPECT_TRUE(IsPathDelimiter("a\\", 2));
    EXPECT_FALSE(IsPathDelimiter("a\\", 3));
}

TEST(Wildcards, WindowsRules)
{
    EXPECT_TRUE(MatchesMask("readme", "*.*"));  // no dot, still matches
    EXPECT_TRUE(MatchesMask("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesMask("QMT.EXE", "*.exe"));  // case-insensitive
    EXPECT_TRUE(MatchesMask("Протокол.txt", "протокол*"));
    EXPECT_TRUE(MatchesMask("qmt_1.2.txt", "qmt_*.txt"));
    EXPECT_FALSE(MatchesMask("qmt_1.2.txt1", "qmt_*.txt"));
    EXPECT_TRUE(MatchesMask("ab", "a?"));
    EXPECT_FALSE(MatchesMask("a", "a?"));
    EXPECT_TRUE(MatchesMask("anything", "*"));
    EXPECT_TRUE(MatchesMask("", "*"));
    EXPECT_TRUE(MatchesMask("name", "name."));  // a trailing dot asks for no extension
    EXPECT_FALSE(MatchesMask("name.txt", "name."));
    EXPECT_TRUE(MatchesMask("abcabcabd", "*abd"));
    EXPECT_FALSE(MatchesMask("abc", "*.txt"));
}
