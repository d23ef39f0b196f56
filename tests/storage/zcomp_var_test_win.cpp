#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "base/files/PathParts.h"
#include "base/aliases/dPath.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/PromptScript.h"
#include "storage/config/rdwr_cfg.h"
#include "storage/compound/sqmtver.h"
#include "storage/compound/wstore_mem.h"
#include "storage/zcomp_var.h"
#include "tests/support/AliasFileBuilder.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/TempFolder.h"

namespace {

// A product tree in a temporary folder: EXE\alias.qmt (held by an in-memory store, where compound
// files are read) and the four files of Cfg\.
class EnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCfg_ = *Cfg;
        savedVersion_ = ProgramVersion;
        previous_ = SetStoreSystem(&store_);
        root_ = temp_.Path().substr(0, temp_.Path().size() - 1);
        CreateDirectoryW(Cp1251ToWide(root_ + "\\EXE").c_str(), nullptr);
        CreateDirectoryW(Cp1251ToWide(root_ + "\\Cfg").c_str(), nullptr);
    }
    void TearDown() override
    {
        SetStoreSystem(previous_);
        FreeAliasLists();
        *Cfg = savedCfg_;
        ProgramVersion = savedVersion_;
        CfgFolder.clear();
    }
    void PutAliasFile(const std::vector<testdata::AliasLine> &lines)
    {
        const testdata::Bytes bytes = testdata::AliasFile(lines);
        store_.Put(root_ + "\\EXE\\alias.qmt", bytes);
        WriteWholeFile(root_ + "\\EXE\\alias.qmt", std::string(bytes.begin(), bytes.end()));
    }
    void PutCfgFiles()
    {
        s_Cfg cfg;
        const char version[] = "5-3.1.0";
        std::memcpy(cfg.Fixed + 36, version, sizeof version);
        cfg.SetByte(23, 1);
        const std::vector<uint8_t> stored = StoreCfg(cfg, "cfg.qmt");
        WriteWholeFile(root_ + "\\Cfg\\cfg.qmt", std::string(stored.begin(), stored.end()));
        for (const char *name : {"riza.sfr", "klsstd.qmt", "klsuse.qmt"})
            WriteWholeFile(root_ + "\\Cfg\\" + name, "x");
    }

    TempFolder temp_;
    AnsiString root_;
    MemStoreSystem store_;
    WStoreSystem *previous_ = nullptr;
    s_Cfg savedCfg_;
    SQMTVER savedVersion_;
};

}  // namespace

TEST_F(EnvironmentTest, LoadsRecordVersionAndAliases)
{
    PutAliasFile({{"Exe", "@\\Exe\\", ""}, {"Cfg", "@\\Cfg\\", ""}, {"Doc", "@\\Doc\\", "@\\Док\\"}});
    PutCfgFiles();
    TPromptScript script;
    ProgramVersion.d = 2;
    ASSERT_EQ(LoadProductEnvironment(root_, 0), 0);
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_EQ(CfgFolder, root_ + "\\Cfg\\");
    EXPECT_EQ(Cfg->VersionText(), "5-3.1.0");
    EXPECT_EQ(ProgramVersion.a, 3);
    EXPECT_EQ(ProgramVersion.b, 1);
    EXPECT_EQ(ProgramVersion.c, 0);
    EXPECT_EQ(ProgramVersion.d, 2) << "the program's fourth number is its own";
    EXPECT_STREQ(ConfigFolderRecord.text, (root_ + "\\Cfg\\").c_str());
    EXPECT_EQ(ResolveAliasPath("cfg#cfg.qmt"), root_ + "\\CFG\\cfg.qmt");
    Cfg->SetByte(22, 1);
    EXPECT_EQ(AliasFolder("DOC"), root_ + "\\DOC\\");
    Cfg->SetByte(22, 0);
    EXPECT_EQ(AliasFolder("DOC"), root_ + "\\ДОК\\");
}

TEST_F(EnvironmentTest, LoadingTwiceGivesTheSameAliases)
{
    PutAliasFile(testdata::ProductAliases());
    PutCfgFiles();
    ASSERT_EQ(LoadProductEnvironment(root_, 1), 0);
    ASSERT_EQ(LoadProductEnvironment(root_, 1), 0);
    EXPECT_EQ(AliasNames->Count(), 2);
    EXPECT_EQ(AliasFolders->Count(), 2);
    EXPECT_EQ(AliasFolder("EXE"), root_ + "\\EXE\\");
}

TEST_F(EnvironmentTest, MissingFilesAreReportedInOrderAndChangeNothing)
{
    PutAliasFile({{"Exe", "@\\Exe\\", ""}});
    TPromptScript script;
    script.Answer(idOk);
    EXPECT_EQ(LoadProductEnvironment(root_, 0), 1);
    ASSERT_EQ(script.Seen().size(), 1u);
    EXPECT_EQ(script.Seen()[0].Text,
              MissingCfgFilesMessage(root_ + "\\Cfg\\", {"cfg.qmt", "riza.sfr", "klsstd.qmt", "klsuse.qmt"}));
    EXPECT_EQ(AliasNames, nullptr);
}

TEST_F(EnvironmentTest, MissingAliasFileIsReportedFirst)
{
    PutCfgFiles();
    TPromptScript script;
    script.Answer(idOk);
    EXPECT_EQ(LoadProductEnvironment(root_, 0), 1);
    ASSERT_EQ(script.Seen().size(), 1u);
    EXPECT_EQ(script.Seen()[0].Text, MissingAliasFileMessage(root_ + "\\EXE\\"));
}

TEST_F(EnvironmentTest, AConfigurationFolderTooLongForThePathRecordLeavesItEmpty)
{
    SetPathRecord(ConfigFolderRecord, "C:\\old\\Cfg\\");
    const AnsiString longRoot = root_ + "\\" + AnsiString(260, 'x');
    TPromptScript script;
    script.Answer(idOk);
    EXPECT_EQ(LoadProductEnvironment(longRoot, 0), 1);
    EXPECT_STREQ(ConfigFolderRecord.text, "") << "the old folder is not used on";
    ClearPathRecord(ConfigFolderRecord);
}
