#include <gtest/gtest.h>

#include <vector>

#include "tests/support/PayloadBuilder.h"
#include "tests/support/RecordingLog.h"
#include "update/payload/ByteSource.h"
#include "update/payload/Payload.h"

namespace {

const AnsiString kSelf = "C:\\P\\qmtupdt.exe";

struct ReadResult {
    bool ok;
    RecordingLog log;
    TPayloadInfo info;
};

ReadResult Read(const std::vector<uint8_t> &bytes)
{
    ReadResult r;
    TMemorySource source(bytes);
    r.ok = ReadPayload(source, kSelf, r.log, r.info);
    return r;
}

TestPayloadBuilder EveryTypeBuilder()
{
    TestPayloadBuilder b;
    b.AddSection();
    b.AddFile(BINDIFF, "base\\std1", PatternBytes(100, 1));
    b.AddFile(DBBDIFF, "cfg\\riza.sfr", PatternBytes(200, 2));
    b.AddFile(PE1DIFF, "exe\\qmt.exe", PatternBytes(300, 3));
    b.AddFile(PE2DIFF, "exe\\qmt.exe", PatternBytes(300, 4));
    b.AddFile(CFGDIFF, "Cfg\\CFG.QMT", PatternBytes(50, 5));
    b.AddFile(ADDREPL, "doc\\новый.txt", PatternBytes(70, 6));
    b.AddFile(ADDREPM, "exe\\ed.dll", PatternBytes(80, 7));
    b.AddSection();
    TestPayloadItem odd;
    odd.Type = 9;
    odd.Name = "x\\y";
    odd.Data = {1, 2, 3};
    b.AddRaw(odd);
    return b;
}

}  // namespace

TEST(PayloadReader, ReadsEveryItemTypeWithItsProtocolLines)
{
    const TestPayload payload = EveryTypeBuilder().Build();
    ReadResult r = Read(payload.Bytes);
    ASSERT_TRUE(r.ok);
    const std::vector<AnsiString> expected = {
        "Определение настоящей длины C:\\P\\qmtupdt.exe ...ОК",
        "Чтение каталога данных внутри файла обновления ...ОК",
        "Информация заголовка окна: Обновление ЦМТ-5 (3.1.0) -> ЦМТ-5 (3.1.1)  ...ОК",
        "Чтение имен ...ОК",
        "#24 C:\\P\\qmtupdt.exe",
        "1. SECTION №1 (начало нового блока данных)",
        "1.1. BINDIFF, файл base\\std1",
        "1.2. DBBDIFF, файл cfg\\riza.sfr",
        "1.3. PE1DIFF, файл exe\\qmt.exe",
        "1.4. PE2DIFF, файл exe\\qmt.exe",
        "1.5. CFGDIFF, файл Cfg\\CFG.QMT",
        "1.6. ADDREPL, файл doc\\новый.txt",
        "1.7. ADDREPM, файл exe\\ed.dll",
        "2. SECTION №2 (начало нового блока данных)",
        "2.1. НЕИЗВЕСТНЫЙ ТИП ДАННЫХ!!! ...ОК",
    };
    EXPECT_EQ(expected, r.log.Lines);
    EXPECT_EQ("Обновление ЦМТ-5 (3.1.0) -> ЦМТ-5 (3.1.1) ", r.log.Caption);
    EXPECT_TRUE(r.log.Errors.empty());

    const TPayloadInfo &info = r.info;
    EXPECT_EQ(payload.ImageLength, info.ImageLength);
    EXPECT_EQ(payload.DirectoryPosition, info.DirectoryPosition);
    ASSERT_EQ(10u, info.ItemCount);
    ASSERT_EQ(10u, info.Items.size());
    for (size_t i = 0; i < info.Items.size(); ++i)
        EXPECT_EQ(payload.ItemPositions[i], info.Items[i].Position) << i;
    EXPECT_EQ(SECTION, info.Items[0].Type);
    EXPECT_EQ("", info.Items[0].Name);
    EXPECT_EQ(8u, info.Items[0].Rec[PN_ItemLength]);
    EXPECT_EQ(DBBDIFF, info.Items[2].Type);
    EXPECT_EQ("cfg\\riza.sfr", info.Items[2].Name);
    EXPECT_EQ(200u, info.Items[2].Rec[PN_UnpackedSize]);
    EXPECT_EQ(payload.ItemPositions[3] - payload.ItemPositions[2], info.Items[2].Rec[PN_ItemLength]);
    EXPECT_EQ(1000u, info.TempBytesNeeded);
    EXPECT_EQ(2000u + 65535u, info.Growth);
    EXPECT_EQ("3.1.1", info.NewVersion);
    EXPECT_EQ("3.1.0", info.BaseVersion);
    EXPECT_EQ("3.1.1", info.NewVersionShort);
    EXPECT_EQ("3.1.0", info.BaseVersionShort);
    EXPECT_FALSE(info.Correction);
    EXPECT_EQ((std::vector<uint32_t>{0x5F000000, 2}), info.AcceptedBuilds);
}

TEST(PayloadReader, EqualShortenedVersionsMeanACorrection)
{
    TestPayloadBuilder b;
    b.BaseVersion = "3.1.1.2";
    b.NewVersion = "3.1.1.5";
    b.Builds = {};
    b.AddFile(ADDREPL, "a.txt", PatternBytes(10, 1));
    ReadResult r = Read(b.Build().Bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.info.Correction);
    EXPECT_EQ("Исправление ЦМТ-5 (3.1.1.X) -> ЦМТ-5 (3.1.1.5) ", r.log.Caption);
    EXPECT_TRUE(r.info.AcceptedBuilds.empty());
    // A first item that is a file belongs to section 0.
    EXPECT_EQ("0.1. ADDREPL, файл a.txt ...ОК", r.log.Lines.back());
}

TEST(PayloadReader, GrowthIsHeldIn64Bits)
{
    TestPayloadBuilder b;
    b.Growth = 0xFFFFFFFF;
    ReadResult r = Read(b.Build().Bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(0xFFFFFFFFull + 65535, r.info.Growth);
    EXPECT_EQ(0u, r.info.ItemCount);
}

TEST(PayloadReader, ABrokenSealStopsWithMessage5001)
{
    std::vector<uint8_t> bytes = EveryTypeBuilder().Build().Bytes;
    bytes[bytes.size() / 2] ^= 1;
    ReadResult r = Read(bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ((std::vector<AnsiString>{"#3 5001"}), r.log.Lines);
    ASSERT_EQ(1u, r.log.Errors.size());
    EXPECT_EQ(5001, r.log.Errors[0].first);
    EXPECT_EQ(kSelf, r.log.Errors[0].second);
}

TEST(PayloadReader, AFileThatIsNoImageFailsTheLengthStep)
{
    TestPayloadBuilder b;
    b.Image = {'M', 'Z', 0};
    ReadResult r = Read(b.Build().Bytes);
    EXPECT_FALSE(r.ok);
    // The unreadable header is reported on a line of its own, which the step's result ends.
    ASSERT_EQ(2u, r.log.Lines.size());
    EXPECT_EQ("Определение настоящей длины C:\\P\\qmtupdt.exe", r.log.Lines[0]);
    EXPECT_EQ("#26 ", r.log.Lines[1].substr(0, 4));
    EXPECT_EQ(" ...Были ошибки", r.log.Lines[1].substr(r.log.Lines[1].size() - 15));
}

TEST(PayloadReader, TrailerLengthsReachingIntoTheImageFail)
{
    TestPayload payload = EveryTypeBuilder().Build();
    // N (accepted builds) so large that its words would start inside the image.
    payload.Bytes[payload.Bytes.size() - 10] = 0xFF;
    payload.Bytes[payload.Bytes.size() - 9] = 0xFF;
    ResealPayload(payload.Bytes);
    ReadResult r = Read(payload.Bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ("Чтение каталога данных внутри файла обновления ...Были ошибки", r.log.Lines.back());
}

namespace {

// Changes the u32 at `at` and reseals.
std::vector<uint8_t> WithWord(std::vector<uint8_t> bytes, uint64_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
    ResealPayload(bytes);
    return bytes;
}

// Position of item i's directory word w.
uint64_t RecordWord(const TestPayload &p, size_t item, int word) { return p.DirectoryPosition + 48 * item + 4 * word; }

}  // namespace

TEST(PayloadReader, ACountTooLargeForTheFileFailsBeforeTheDirectoryIsRead)
{
    const TestPayload payload = EveryTypeBuilder().Build();
    const uint32_t justTooMany = uint32_t((payload.CountPosition - payload.ImageLength) / 48 + 1);
    for (uint32_t count : {justTooMany, 0x10000000u, 0xFFFFFFFFu}) {
        ReadResult r = Read(WithWord(payload.Bytes, payload.CountPosition, count));
        EXPECT_FALSE(r.ok) << count;
        EXPECT_EQ("Чтение имен ...Были ошибки", r.log.Lines.back()) << count;
    }
}

TEST(PayloadReader, ItemsMustLieBetweenImageAndDirectoryAndEndAtIt)
{
    const TestPayload payload = EveryTypeBuilder().Build();
    const uint32_t length = uint32_t(payload.ItemPositions[2] - payload.ItemPositions[1]);
    // An item running into the directory.
    {
        const size_t last = payload.ItemPositions.size() - 1;
        const uint32_t overlap = uint32_t(payload.DirectoryPosition - payload.ItemPositions[last] + 1);
        ReadResult r = Read(WithWord(payload.Bytes, RecordWord(payload, last, PN_ItemLength), overlap));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ("2.1. НЕИЗВЕСТНЫЙ ТИП ДАННЫХ!!! ...Были ошибки", r.log.Lines.back());
    }
    // A length that makes the walk skip past the directory, or one shorter than the item's own header.
    for (uint32_t bad : {0xFFFFFFF0u, 3u, 0u}) {
        ReadResult r = Read(WithWord(payload.Bytes, RecordWord(payload, 1, PN_ItemLength), bad));
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ("1.1. BINDIFF, файл base\\std1 ...Были ошибки", r.log.Lines.back()) << bad;
    }
    // A shorter length leaves the walk off the next item; it must still end exactly at the directory.
    {
        ReadResult r = Read(WithWord(payload.Bytes, RecordWord(payload, 1, PN_ItemLength), length - 1));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ("...Были ошибки", r.log.Lines.back().substr(r.log.Lines.back().size() - 14));
    }
}

TEST(PayloadReader, ItemsEndingBeforeTheDirectoryFail)
{
    TestPayloadBuilder b;
    b.AddFile(BINDIFF, "a", PatternBytes(10, 1));
    TestPayloadItem short_;
    short_.Type = ADDREPL;
    short_.Name = "b";
    short_.Data = PatternBytes(40, 2);
    short_.Rec[PN_ItemLength] = 3 + 1 + 4 + 30;  // ten bytes of data are left over
    b.AddRaw(short_);
    ReadResult r = Read(b.Build().Bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ("0.2. ADDREPL, файл b ...Были ошибки", r.log.Lines.back());
}

TEST(PayloadReader, UnsafeItemNamesAreRefused)
{
    for (const char *name :
         {"..\\evil.exe", "base\\..\\..\\x", "a/../b", "\\windows\\x", "/etc/x", "C:x", "f:stream", ""}) {
        TestPayloadBuilder b;
        b.AddFile(ADDREPL, name, PatternBytes(10, 1));
        ReadResult r = Read(b.Build().Bytes);
        EXPECT_FALSE(r.ok) << name;
        EXPECT_EQ("0.1. ADDREPL, файл " + AnsiString(name) + " ...Были ошибки", r.log.Lines.back()) << name;
    }
    for (const char *name : {"a..b", "..x\\y", "base\\std1", "x\\.\\y"})
        EXPECT_TRUE(IsSafeItemName(name)) << name;
}

TEST(CutVersion, CutsAtTheThirdDot)
{
    EXPECT_EQ("3.1.0", CutVersion("3.1.0"));
    EXPECT_EQ("3.1.1", CutVersion("3.1.1.2"));
    EXPECT_EQ("3.1.1", CutVersion("3.1.1.2.7"));
    EXPECT_EQ("", CutVersion(""));
    EXPECT_EQ("..", CutVersion("...."));
}

TEST(PayloadItemLine, NamesTheTypeAndNumbersTheItem)
{
    EXPECT_EQ("3. SECTION №3 (начало нового блока данных)", PayloadItemLine(SECTION, "", 3, 0));
    EXPECT_EQ("1.12. PE2DIFF, файл exe\\qmt.exe", PayloadItemLine(PE2DIFF, "exe\\qmt.exe", 1, 12));
    EXPECT_EQ("0.1. НЕИЗВЕСТНЫЙ ТИП ДАННЫХ!!!", PayloadItemLine(200, "x", 0, 1));
}
