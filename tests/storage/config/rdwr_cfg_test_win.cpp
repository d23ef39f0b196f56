#include <gtest/gtest.h>

#include <windows.h>

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/support/ScopedAliases.h"
#include "tests/support/ScopedSmallDrive.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZErrorMatch.h"

namespace {

// The process record and the alias CFG pointing at a fresh folder, both restored afterwards.
class CfgFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = *Cfg;
        folders_.Add(temp_.Path());
        names_.AddObject("CFG", nullptr);
        AliasNames = &names_;
        AliasFolders = &folders_;
    }
    void TearDown() override
    {
        *Cfg = saved_;
        AliasNames = nullptr;
        AliasFolders = nullptr;
    }
    static void Fill(s_Cfg &cfg)
    {
        for (uint32_t i = 0; i < CfgFixedLength; ++i)
            cfg.Fixed[i] = static_cast<uint8_t>(i * 13 + 1);
        cfg.Texts[2] = "Текст";
    }

    TempFolder temp_;
    TStringList names_, folders_;
    s_Cfg saved_;
};

}  // namespace

TEST_F(CfgFileTest, SaveOverALongerFileKeepsItsTailAndLoadsBackExactly)
{
    s_Cfg record;
    Fill(record);
    record.Texts[5] = AnsiString(500, 'z');
    const std::vector<uint8_t> longer = StoreCfg(record, "x");
    WriteWholeFile(temp_ / "cfg.qmt", std::string(longer.begin(), longer.end()));
    record.Texts[5].clear();
    *Cfg = record;
    SaveCfg();
    EXPECT_EQ(ReadWholeFile(temp_ / "cfg.qmt").size(), CfgEmptyStoredLength + 5 + 500);  // not shortened
    *Cfg = s_Cfg();
    LoadCfg("");  // through CFG#cfg.qmt
    EXPECT_TRUE(*Cfg == record);
    *Cfg = s_Cfg();
    LoadCfg(temp_.Path());
    EXPECT_TRUE(*Cfg == record);
}

TEST_F(CfgFileTest, EngineImageLoadsAsTheSameRecord)
{
    s_Cfg record;
    Fill(record);
    record.Texts[2].clear();
    const std::vector<uint8_t> stored = StoreCfg(record, "x");
    uint8_t tail[CfgRawTailLength];
    s_Cfg raw;
    ReadCfgRawView(stored.data(), stored.size(), raw, tail);
    const std::vector<uint8_t> image = CfgRawImage(raw, tail);
    WriteWholeFile(temp_ / "cfg.qmt", std::string(image.begin(), image.end()));
    LoadCfg(temp_.Path());
    EXPECT_TRUE(*Cfg == record);
}

TEST_F(CfgFileTest, MissingFileRaisesOneAndSavingNeedsAnExistingFile)
{
    const s_Cfg before = *Cfg;
    try {
        LoadCfg(temp_.Path());
        FAIL();
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 1);
        EXPECT_EQ(e.Message(), temp_ / "cfg.qmt");
    }
    EXPECT_TRUE(*Cfg == before);
    try {
        SaveCfg();
        FAIL();
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 1);
    }
}

TEST_F(CfgFileTest, OversizedRecordIsRefusedBeforeWriting)
{
    WriteWholeFile(temp_ / "cfg.qmt", "old");
    Cfg->Texts[0] = AnsiString(CfgStoredLimit, 'a');
    try {
        SaveCfg();
        FAIL();
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 0);
    }
    EXPECT_EQ(ReadWholeFile(temp_ / "cfg.qmt"), "old");
}

TEST_F(CfgFileTest, SaveOnANearlyFullDriveKeepsTheOldFileByteForByte)
{
    ASSERT_TRUE(CreateDir(temp_ / "small"));
    TScopedSmallDrive drive(temp_ / "small\\", 256);
    if (!drive.Mounted())
        GTEST_SKIP() << drive.Why();
    TScopedAliases cfgOnTheDrive({{"CFG", temp_ / "small\\"}});
    const AnsiString name = temp_ / "small\\cfg.qmt";
    s_Cfg record;
    Fill(record);
    std::vector<uint8_t> stored = StoreCfg(record, "x");
    const std::string old = std::string(stored.begin(), stored.end()) + "an older record's tail";
    WriteWholeFile(name, old);
    ASSERT_TRUE(drive.FillLeaving(4 * 1024));

    *Cfg = record;
    Cfg->Texts[0] = AnsiString(30000, 'n');
    // The system refuses the write (99) or writes only part of it (5).
    const int number = CatchZError([] { SaveCfg(); }).Number();
    EXPECT_TRUE(number == 99 || number == 5) << number;
    EXPECT_EQ(ReadWholeFile(name), old);
    EXPECT_FALSE(FileExists(name + "$"));

    // A record that fits is saved over it, the old tail kept behind it.
    Cfg->Texts[0] = "short";
    SaveCfg();
    stored = StoreCfg(*Cfg, "x");
    EXPECT_EQ(ReadWholeFile(name), std::string(stored.begin(), stored.end()) + old.substr(stored.size()));
    EXPECT_FALSE(FileExists(name + "$"));
}

TEST_F(CfgFileTest, SaveOverAFileAnotherProgramHoldsKeepsIt)
{
    const AnsiString name = temp_ / "cfg.qmt";
    WriteWholeFile(name, "the old configuration");
    Cfg->Texts[1] = "new";
    // Another program reads the file and lets others read and write it, but not replace it.
    HANDLE held = CreateFileW(Cp1251ToWide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ZError e = CatchZError([] { SaveCfg(); });
    CloseHandle(held);
    EXPECT_EQ(e.Number(), 99);
    EXPECT_NE(e.Message().find(name + "$=>" + name), AnsiString::npos) << e.Message();
    EXPECT_EQ(ReadWholeFile(name), "the old configuration");
    EXPECT_FALSE(FileExists(name + "$"));
}
