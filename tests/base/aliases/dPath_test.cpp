#include "base/aliases/dPath.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "base/text/CfgLanguage.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"

namespace {

uint8_t ukrainian() { return 0; }

// Fills the process-wide alias lists the way the environment loader does and empties them after.
class AliasPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AliasNames = &names_;
        AliasFolders = &folders_;
    }
    void TearDown() override
    {
        AliasNames = nullptr;
        AliasFolders = nullptr;
        SetCfgLanguageReaders(nullptr, nullptr);
    }
    void Load(std::initializer_list<std::pair<const char *, const char *>> aliases)
    {
        for (const auto &[name, folder] : aliases) {
            const int index = folders_.Add(folder);
            names_.AddObject(name, reinterpret_cast<void *>(static_cast<intptr_t>(index)));
        }
        names_.Sort();
    }
    int ErrorOf(const AnsiString &path, AnsiString *argument = nullptr)
    {
        try {
            ResolveAliasPath(path);
        } catch (const ZError &e) {
            if (argument)
                *argument = e.Message();
            return e.Number();
        }
        return -1;
    }

    TStringList names_, folders_;
};

}  // namespace

TEST_F(AliasPathTest, AliasIsReplacedByItsFolder)
{
    Load({{"EXE", "D:\\QMT\\EXE\\"}, {"CFG", "D:\\QMT\\CFG\\"}, {"DOC", "D:\\QMT\\ДОК\\"}});
    EXPECT_EQ(ResolveAliasPath("CFG#cfg.qmt"), "D:\\QMT\\CFG\\cfg.qmt");
    EXPECT_EQ(ResolveAliasPath("  cfg #  Riza.sfr "), "D:\\QMT\\CFG\\Riza.sfr");
    EXPECT_EQ(ResolveAliasPath("doc#a#b.txt"), "D:\\QMT\\ДОК\\a#b.txt");
}

TEST_F(AliasPathTest, PathWithoutHashPassesByteForByte)
{
    EXPECT_EQ(ResolveAliasPath(" C:\\Программа\\a.dat "), " C:\\Программа\\a.dat ");
}

TEST_F(AliasPathTest, AliasWithoutFileGivesTheAliasItself) { EXPECT_EQ(ResolveAliasPath(" кфг #"), "КФГ"); }

TEST_F(AliasPathTest, EmptyPartsAndUnknownAliasesAreRefused)
{
    Load({{"CFG", "D:\\CFG\\"}});
    AnsiString argument;
    EXPECT_EQ(ErrorOf(" # ", &argument), 6);
    EXPECT_EQ(argument, " # ");
    EXPECT_EQ(ErrorOf("#cfg.qmt", &argument), 7);
    EXPECT_EQ(argument, "");
    EXPECT_EQ(ErrorOf("док#a.txt", &argument), 7);
    EXPECT_EQ(argument, "ДОК");
}

TEST_F(AliasPathTest, LookupBeforeTheListsExistFailsCleanly)
{
    AliasNames = nullptr;
    AliasFolders = nullptr;
    EXPECT_EQ(ErrorOf("CFG#cfg.qmt"), 7);
}

TEST_F(AliasPathTest, FolderIndexOutOfRangeFailsCleanly)
{
    names_.AddObject("BAD", reinterpret_cast<void *>(static_cast<intptr_t>(5)));
    EXPECT_EQ(ErrorOf("BAD#x"), 7);
}

TEST_F(AliasPathTest, TwoLanguageFolderFollowsTheRecordTextLanguage)
{
    Load({{"X", "\x04"
                "D:\\RU\\"
                "\x05"
                "D:\\UA\\"}});
    EXPECT_EQ(AliasFolder("x"), "D:\\RU\\");
    SetCfgLanguageReaders(ukrainian, nullptr);
    EXPECT_EQ(ResolveAliasPath("X#f.txt"), "D:\\UA\\f.txt");
}
