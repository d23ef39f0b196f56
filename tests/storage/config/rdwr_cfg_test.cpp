#include "storage/config/rdwr_cfg.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/text/CfgLanguage.h"
#include "base/messages/zmsg.h"
#include "tests/support/ScopedCfgLanguage.h"

namespace {

s_Cfg SampleRecord()
{
    s_Cfg cfg;
    for (uint32_t i = 0; i < CfgFixedLength; ++i)
        cfg.Fixed[i] = static_cast<uint8_t>(i * 7 + 3);
    return cfg;
}

ZError ParseError(const std::vector<uint8_t> &bytes, s_Cfg &cfg)
{
    try {
        ParseCfg(bytes.data(), bytes.size(), cfg, "D:\\Cfg\\cfg.qmt");
    } catch (const ZError &e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return ZError("", -1);
}

}  // namespace

TEST(CfgRecord, EmptyTextsStoreIn1391BytesAndLoadBack)
{
    const s_Cfg cfg = SampleRecord();
    const std::vector<uint8_t> stored = StoreCfg(cfg, "cfg.qmt");
    ASSERT_EQ(stored.size(), 1391u);
    EXPECT_EQ(0, std::memcmp(stored.data(), cfg.Fixed, CfgFixedLength));
    s_Cfg loaded;
    loaded.Texts[3] = "stale";
    ParseCfg(stored.data(), stored.size(), loaded, "cfg.qmt");
    EXPECT_TRUE(loaded == cfg);
}

TEST(CfgRecord, TextsRoundTripAndBytesAfterTheEighthAreIgnored)
{
    s_Cfg cfg = SampleRecord();
    cfg.Texts[0] = "Программа";
    cfg.Texts[7] = AnsiString(300, 'x');
    std::vector<uint8_t> stored = StoreCfg(cfg, "cfg.qmt");
    EXPECT_EQ(stored.size(), 1391u + 9 + 300);
    EXPECT_EQ(stored[1375], 9);
    EXPECT_EQ(stored[1376], 0);
    stored.insert(stored.end(), {1, 2, 3, 4, 5});  // the tail of a longer old file
    s_Cfg loaded;
    ParseCfg(stored.data(), stored.size(), loaded, "cfg.qmt");
    EXPECT_TRUE(loaded == cfg);
}

TEST(CfgRecord, TruncatedFileLoadsWhatFitsAndRaises)
{
    s_Cfg cfg = SampleRecord();
    cfg.Texts[0] = "один";
    cfg.Texts[1] = "два";
    cfg.Texts[2] = "три";
    std::vector<uint8_t> stored = StoreCfg(cfg, "cfg.qmt");
    stored.resize(CfgFixedLength + 6 + 5 + 2);  // the third text is cut
    s_Cfg loaded;
    loaded.Texts[5] = "stale";
    ZError e = ParseError(stored, loaded);
    EXPECT_EQ(e.Number(), 0);
    EXPECT_NE(e.Message().find("D:\\Cfg\\cfg.qmt"), AnsiString::npos);
    EXPECT_EQ(0, std::memcmp(loaded.Fixed, cfg.Fixed, CfgFixedLength));
    EXPECT_EQ(loaded.Texts[0], "один");
    EXPECT_EQ(loaded.Texts[1], "два");
    EXPECT_EQ(loaded.Texts[2], "");
    EXPECT_EQ(loaded.Texts[5], "");
}

TEST(CfgRecord, FileShorterThanTheFixedPartRaises)
{
    std::vector<uint8_t> stored(100, 0xAB);
    s_Cfg loaded = SampleRecord();
    EXPECT_EQ(ParseError(stored, loaded).Number(), 0);
    EXPECT_EQ(loaded.Fixed[99], 0xAB);
    EXPECT_EQ(loaded.Fixed[100], 0);
    EXPECT_EQ(ParseError({}, loaded).Number(), 0);
}

TEST(CfgRecord, LengthClaimsBeyond65000BytesAreTruncation)
{
    s_Cfg cfg;
    cfg.Texts[0] = AnsiString(63000, 'a');
    std::vector<uint8_t> stored = StoreCfg(cfg, "cfg.qmt");
    stored.resize(CfgStoredLimit + 10, 0);
    stored[CfgFixedLength + 2 + 63000] = 0xFF;  // second text claims 0xFFFF bytes, past 65000
    stored[CfgFixedLength + 2 + 63001] = 0xFF;
    s_Cfg loaded;
    EXPECT_EQ(ParseError(stored, loaded).Number(), 0);
    EXPECT_EQ(loaded.Texts[0].size(), 63000u);
}

TEST(CfgRecord, StoredFormOver65000BytesIsRefused)
{
    s_Cfg cfg;
    cfg.Texts[0] = AnsiString(CfgStoredLimit - CfgEmptyStoredLength, 'a');
    EXPECT_EQ(StoreCfg(cfg, "cfg.qmt").size(), CfgStoredLimit);
    cfg.Texts[1] = "b";
    try {
        StoreCfg(cfg, "D:\\Cfg\\cfg.qmt");
        FAIL() << "stored";
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 0);
        EXPECT_NE(e.Message().find("D:\\Cfg\\cfg.qmt"), AnsiString::npos);
    }
}

TEST(CfgRecord, EngineRawViewAgreesWithTheLibraryView)
{
    s_Cfg cfg = SampleRecord();
    const std::vector<uint8_t> stored = StoreCfg(cfg, "cfg.qmt");
    s_Cfg raw;
    uint8_t tail[CfgRawTailLength];
    std::memset(tail, 0x55, sizeof tail);
    ReadCfgRawView(stored.data(), stored.size(), raw, tail);  // 1391 bytes: the rest counts as zero
    for (uint8_t b : tail)
        ASSERT_EQ(b, 0);
    const std::vector<uint8_t> image = CfgRawImage(raw, tail);
    ASSERT_EQ(image.size(), 1407u);
    s_Cfg loaded;
    ParseCfg(image.data(), image.size(), loaded, "cfg.qmt");
    EXPECT_TRUE(loaded == cfg);
}

TEST(CfgRecord, FieldsAtTheirOffsets)
{
    s_Cfg cfg;
    const char version[] = "5-3.1.0";
    std::memcpy(cfg.Fixed + CfgField::VersionText, version, sizeof version);
    EXPECT_EQ(cfg.VersionText(), "5-3.1.0");
    EXPECT_EQ(cfg.VersionNumbers(), "3.1.0");
    EXPECT_TRUE(cfg.SetVersionNumbers("3.1.1"));
    EXPECT_EQ(cfg.VersionText(), "5-3.1.1");
    EXPECT_FALSE(cfg.SetVersionNumbers(AnsiString(78, '9')));
    EXPECT_TRUE(cfg.SetVersionNumbers(AnsiString(77, '9')));
    EXPECT_EQ(cfg.Fixed[CfgField::VersionEnd - 1], 0);
    // A field without its NUL is read within its 80 bytes.
    std::memset(cfg.Fixed + CfgField::VersionText, '7', 80);
    cfg.Fixed[CfgField::Edition] = '8';
    EXPECT_EQ(cfg.VersionText(), AnsiString(80, '7'));

    cfg.SetU32(CfgField::UpdateFlags1, 0x460421C);
    EXPECT_EQ(cfg.Fixed[147], 0x1C);
    EXPECT_EQ(cfg.Fixed[150], 0x04);
    EXPECT_EQ(cfg.U32(CfgField::UpdateFlags1), 0x460421Cu);
    cfg.SetU32(CfgField::SelectedCellColour, 0x00FF8000);
    EXPECT_EQ(cfg.GridColour(1338), 0x00FF8000u);
}

TEST(CfgRecord, BaseLibraryReadsTheLanguageBytesOfTheProcessRecord)
{
    const s_Cfg saved = *Cfg;
    Cfg->SetByte(CfgField::RecordLanguage, 2);
    Cfg->SetByte(CfgField::MessageLanguage, 0);
    EXPECT_EQ(RecordTextLanguage(), 2);
    EXPECT_EQ(MessageLanguage(), 0);
    {
        // Readers replaced for a while give the record's bytes back once they are put back.
        ScopedCfgLanguageReaders none(nullptr, nullptr);
        EXPECT_EQ(RecordTextLanguage(), 1);
        EXPECT_EQ(MessageLanguage(), 1);
    }
    EXPECT_EQ(RecordTextLanguage(), 2);
    EXPECT_EQ(MessageLanguage(), 0);
    *Cfg = saved;
}
