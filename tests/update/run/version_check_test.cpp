#include <gtest/gtest.h>

#include "storage/config/rdwr_cfg.h"
#include "tests/support/PeImageWriter.h"
#include "tests/support/RecordingLog.h"
#include "update/run/VersionCheck.h"

namespace {

s_Cfg Installed(const AnsiString &numbers)
{
    s_Cfg cfg;
    cfg.SetByte(CfgField::VersionText, '5');
    cfg.SetByte(CfgField::VersionText + 1, '-');
    cfg.SetVersionNumbers(numbers);
    return cfg;
}

TUpdateVersions Update(const AnsiString &base, const AnsiString &fresh, bool correction, const AnsiString &baseShort)
{
    TUpdateVersions v;
    v.BaseVersion = base;
    v.NewVersion = fresh;
    v.BaseVersionShort = baseShort;
    v.Correction = correction;
    v.AcceptedBuilds = {0x11111111, 0x5F000000};
    return v;
}

}  // namespace

TEST(VersionCheck, PeTimeStamp)
{
    for (bool plus : {false, true}) {
        TestPeImage image;
        image.TimeStamp = 0x6543210F;
        image.Pe32Plus = plus;
        std::vector<uint8_t> bytes = WritePeImage(image);
        TMemorySource source(bytes);
        uint32_t stamp = 0;
        ASSERT_TRUE(GetPeTimeStamp(source, stamp));
        EXPECT_EQ(0x6543210Fu, stamp);
    }
}

TEST(VersionCheck, PeTimeStampOfCutOrBrokenFiles)
{
    std::vector<uint8_t> bytes = WritePeImage();
    uint32_t stamp = 0;
    TMemorySource shortDos(bytes.data(), 63);
    EXPECT_FALSE(GetPeTimeStamp(shortDos, stamp));
    TMemorySource shortNt(bytes.data(), kTestPeHeaderOffset + 247);
    EXPECT_FALSE(GetPeTimeStamp(shortNt, stamp));
    bytes[60] = 0xFF, bytes[61] = 0xFF, bytes[62] = 0xFF, bytes[63] = 0xFF;  // points far beyond the end
    TMemorySource wild(bytes);
    EXPECT_FALSE(GetPeTimeStamp(wild, stamp));
}

TEST(VersionCheck, InstalledVersionAndBuildAgainstTheUpdate)
{
    struct Case {
        const char *installed;
        uint32_t build;
        TUpdateVersions update;
        const char *line;   // nullptr: nothing logged
        const char *error;  // nullptr: no error 5013
    } cases[] = {
        {"3.1.0", 0x5F000000, Update("3.1.0", "3.1.1", false, "3.1.0"), nullptr, nullptr},
        {"3.1.0", 0x5F000000, Update("3.1.1", "3.1.2", false, "3.1.1"), "#23  У Вас установлена ЦМТ-5-3.1.0",
         "ЦМТ 5 3.1.1"},
        // A correction compares the shortened versions.
        {"3.1.1.2", 0x11111111, Update("3.1.1.2", "3.1.1.5", true, "3.1.1"), nullptr, nullptr},
        {"3.1.0.9", 0x11111111, Update("3.1.1.2", "3.1.1.5", true, "3.1.1"), "#23  У Вас установлена ЦМТ-3.1.0.X",
         "ЦМТ 5 3.1.1.X"},
        // A build the update does not accept is only logged.
        {"3.1.0", 0x22222222, Update("3.1.0", "3.1.1", false, "3.1.0"), "#23 ", nullptr},
    };
    for (const Case &c : cases) {
        RecordingLog log;
        EXPECT_EQ(c.line == nullptr, CheckInstalled(log, Installed(c.installed), c.build, c.update)) << c.installed;
        EXPECT_EQ(c.line ? std::vector<AnsiString>{c.line} : std::vector<AnsiString>{}, log.Lines) << c.installed;
        ASSERT_EQ(c.error ? 1u : 0u, log.Errors.size()) << c.installed;
        if (c.error) {
            EXPECT_EQ(5013, log.Errors[0].first);
            EXPECT_EQ(c.error, log.Errors[0].second);
        }
    }
}

TEST(VersionCheck, Captions)
{
    EXPECT_EQ("Обновление ЦМТ-5 (3.1.0) -> ЦМТ-5 (3.1.1)",
              VersionCheckCaption(Update("3.1.0", "3.1.1", false, "3.1.0")));
    EXPECT_EQ("Исправление ЦМТ-5 (3.1.1.X) -> ЦМТ-5 (3.1.1.5) ",
              VersionCheckCaption(Update("3.1.1.2", "3.1.1.5", true, "3.1.1")));
}
