// The payload's file-level steps on real files: reading a payload file, checksums of files, and
// unpacking and packing Lzma86 files.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "framework/runtime/Cp1251.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/RecordingLog.h"
#include "update/payload/Checksum.h"
#include "update/payload/ChecksumFile.h"
#include "update/payload/Lzma86File.h"
#include "update/payload/Payload.h"

namespace fs = std::filesystem;

namespace {

class PayloadFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("qmt_u1_" + std::to_string(GetCurrentProcessId()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A CP1251 path inside the test folder.
    AnsiString Path(const AnsiString &name) const { return WideToCp1251(dir_.wstring()) + "\\" + name; }
    static fs::path Native(const AnsiString &path) { return fs::path(Cp1251ToWide(path)); }

    void Write(const AnsiString &name, const std::vector<uint8_t> &bytes) const
    {
        std::ofstream out(Native(Path(name)), std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    static std::vector<uint8_t> Contents(const AnsiString &path)
    {
        std::ifstream in(Native(path), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    static bool Exists(const AnsiString &path) { return fs::exists(Native(path)); }

    fs::path dir_;
};

struct ProgressRecord {
    std::vector<std::pair<int, uint64_t>> calls;
    static int Callback(void *user, int phase, uint64_t value)
    {
        static_cast<ProgressRecord *>(user)->calls.emplace_back(phase, value);
        return 0;
    }
};

// Offset of an item's Lzma86 stream: after type, name length, name and the unused word.
uint64_t StreamOffset(const TestPayload &payload, size_t item, size_t nameLength)
{
    return payload.ItemPositions[item] + 3 + nameLength + 4;
}

}  // namespace

TEST_F(PayloadFiles, ReadsAPayloadFileAndReportsOneThatCannotBeOpened)
{
    TestPayloadBuilder b;
    b.AddSection();
    b.AddFile(ADDREPL, "exe\\новый.dll", PatternBytes(1000, 1));
    Write("upd.exe", b.Build().Bytes);

    RecordingLog log;
    TPayloadInfo info;
    ASSERT_TRUE(ReadPayloadFile(Path("upd.exe"), log, info));
    EXPECT_EQ("1.1. ADDREPL, файл exe\\новый.dll ...ОК", log.Lines.back());
    EXPECT_EQ(2u, info.Items.size());

    RecordingLog missing;
    EXPECT_FALSE(ReadPayloadFile(Path("none.exe"), missing, info));
    ASSERT_EQ(1u, missing.Lines.size());
    EXPECT_EQ("#26 ", missing.Lines[0].substr(0, 4));
}

TEST_F(PayloadFiles, ChecksumsOfFilesAndRanges)
{
    const std::vector<uint8_t> bytes = PatternBytes(70001, 4);
    Write("данные.bin", bytes);
    uint32_t sum = 0;
    uint64_t size = 0;
    ASSERT_TRUE(ChecksumFile(Path("данные.bin"), sum, size));
    EXPECT_EQ(AddChecksum(0, bytes.data(), bytes.size()), sum);
    EXPECT_EQ(bytes.size(), size);
    ASSERT_TRUE(ChecksumFilePart(Path("данные.bin"), 1027, 5003, sum));
    EXPECT_EQ(AddChecksum(0, bytes.data() + 1027, 5003), sum);
    EXPECT_FALSE(ChecksumFilePart(Path("данные.bin"), 70000, 2, sum));
    EXPECT_FALSE(ChecksumFile(Path("нет.bin"), sum, size));
}

TEST_F(PayloadFiles, UnpacksAnItemOfThePayloadWithProgress)
{
    const std::vector<uint8_t> content = PatternBytes(3 << 20, 5);
    TestPayloadBuilder b;
    b.AddFile(BINDIFF, "a", PatternBytes(100, 1));
    b.AddFile(ADDREPL, "base\\std1", content);
    const TestPayload payload = b.Build();
    Write("upd.exe", payload.Bytes);

    ProgressRecord progress;
    const AnsiString out = Path("распакованный.tmp");
    EXPECT_EQ(content.size(), DecompressFileLzma86(out, Path("upd.exe"), StreamOffset(payload, 1, 9),
                                                   &ProgressRecord::Callback, &progress));
    EXPECT_EQ(content, Contents(out));
    ASSERT_GE(progress.calls.size(), 2u);
    EXPECT_EQ(std::make_pair(0, uint64_t(content.size())), progress.calls.front());
    EXPECT_EQ(std::make_pair(1, uint64_t(content.size())), progress.calls.back());
    EXPECT_EQ(content.size(), GetLzma86UnpackSize(Path("upd.exe"), StreamOffset(payload, 1, 9)));

    // No callback is fine too.
    EXPECT_EQ(100u,
              DecompressFileLzma86(Path("a.tmp"), Path("upd.exe"), StreamOffset(payload, 0, 1), nullptr, nullptr));
}

TEST_F(PayloadFiles, AnItemReadOnceIsSummedAndUnpackedFromTheSameBytes)
{
    const std::vector<uint8_t> content = PatternBytes(300000, 9);
    TestPayloadBuilder b;
    b.AddSection();
    b.AddFile(ADDREPL, "base\\std1", content);
    const TestPayload payload = b.Build();
    Write("upd.exe", payload.Bytes);
    RecordingLog log;
    TPayloadInfo info;
    ASSERT_TRUE(ReadPayloadFile(Path("upd.exe"), log, info));
    const TPartNfo &item = info.Items[1];

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(TPayloadItems(Path("upd.exe")).Read(item, bytes));
    ASSERT_EQ(item.Rec[PN_ItemLength], bytes.size());
    EXPECT_EQ(item.Rec[PN_ItemSum], AddChecksum(0, bytes.data(), bytes.size()));
    const size_t header = 7 + item.Name.size();
    ProgressRecord progress;
    const AnsiString out = Path("распакованный.tmp");
    EXPECT_EQ(content.size(), DecompressMemoryLzma86(out, bytes.data() + header, bytes.size() - header,
                                                     &ProgressRecord::Callback, &progress));
    EXPECT_EQ(content, Contents(out));
    EXPECT_EQ(std::make_pair(0, uint64_t(content.size())), progress.calls.front());
    EXPECT_EQ(std::make_pair(1, uint64_t(content.size())), progress.calls.back());

    // The stream may not run past the item's bytes: a cut item unpacks nothing and leaves no file.
    EXPECT_EQ(0u, DecompressMemoryLzma86(Path("cut.tmp"), bytes.data() + header, bytes.size() - header - 1, nullptr,
                                         nullptr));
    EXPECT_FALSE(Exists(Path("cut.tmp")));
    // An item whose record reaches past the file's end, or a file that is missing, reads nothing.
    TPartNfo beyond = item;
    beyond.Rec[PN_ItemLength] = uint32_t(payload.Bytes.size() - item.Position + 1);
    EXPECT_FALSE(TPayloadItems(Path("upd.exe")).Read(beyond, bytes));
    EXPECT_FALSE(TPayloadItems(Path("нет.exe")).Read(item, bytes));
    // Held open, the file gives one item after another, and an item past its end spoils none after it.
    TPayloadItems open(Path("upd.exe"));
    std::vector<uint8_t> again;
    EXPECT_TRUE(open.Read(item, again));
    EXPECT_FALSE(open.Read(beyond, bytes));
    EXPECT_TRUE(open.Read(item, bytes));
    EXPECT_EQ(again, bytes);
}

TEST_F(PayloadFiles, DamagedStreamsFailAndLeaveNoOutputFile)
{
    const std::vector<uint8_t> content = PatternBytes(200000, 6);
    ASSERT_EQ(0u, DecompressFileLzma86(Path("x.tmp"), Path("none.bin"), 0, nullptr, nullptr));
    EXPECT_FALSE(Exists(Path("x.tmp")));

    Write("plain.bin", content);
    const uint64_t packedSize = CompressFileLzma86(Path("plain.bin"), Path("packed.lz"), nullptr, nullptr);
    ASSERT_GT(packedSize, 14u);
    const std::vector<uint8_t> packed = Contents(Path("packed.lz"));
    ASSERT_EQ(packedSize, packed.size());

    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"filter flag 2", packed});
    cases.back().bytes[0] = 2;
    cases.push_back({"properties 225", packed});
    cases.back().bytes[1] = 225;
    cases.push_back({"truncated data", std::vector<uint8_t>(packed.begin(), packed.end() - 100)});
    cases.push_back({"truncated header", std::vector<uint8_t>(packed.begin(), packed.begin() + 10)});
    cases.push_back({"size 0", packed});
    for (int i = 6; i < 14; ++i)
        cases.back().bytes[i] = 0;
    cases.push_back({"empty file", {}});
    for (const Case &c : cases) {
        Write("bad.lz", c.bytes);
        EXPECT_EQ(0u, DecompressFileLzma86(Path("out.bin"), Path("bad.lz"), 0, nullptr, nullptr)) << c.what;
        EXPECT_FALSE(Exists(Path("out.bin"))) << c.what;
    }

    // An output that cannot be created: a missing folder.
    EXPECT_EQ(0u, DecompressFileLzma86(Path("нет\\out.bin"), Path("packed.lz"), 0, nullptr, nullptr));
    EXPECT_EQ(0u, CompressFileLzma86(Path("plain.bin"), Path("нет\\out.lz"), nullptr, nullptr));
    EXPECT_EQ(0u, CompressFileLzma86(Path("нет.bin"), Path("out.lz"), nullptr, nullptr));
    EXPECT_FALSE(Exists(Path("out.lz")));
}

TEST_F(PayloadFiles, AnOutputLockedByAnotherProgramIsLeftAsItWas)
{
    Write("plain.bin", PatternBytes(5000, 7));
    ASSERT_GT(CompressFileLzma86(Path("plain.bin"), Path("packed.lz"), nullptr, nullptr), 0u);
    const std::vector<uint8_t> old = {1, 2, 3};
    Write("locked.bin", old);
    HANDLE lock = CreateFileW(Native(Path("locked.bin")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_EQ(0u, DecompressFileLzma86(Path("locked.bin"), Path("packed.lz"), 0, nullptr, nullptr));
    CloseHandle(lock);
    EXPECT_EQ(old, Contents(Path("locked.bin")));
}

TEST_F(PayloadFiles, PackingRoundTripsThroughFilesAndMemory)
{
    const std::vector<uint8_t> content = PatternBytes(123457, 8);
    Write("in.bin", content);
    ProgressRecord progress;
    const uint64_t packed = CompressFileLzma86(Path("in.bin"), Path("in.lz"), &ProgressRecord::Callback, &progress);
    ASSERT_GT(packed, 0u);
    EXPECT_EQ(std::make_pair(0, uint64_t(content.size())), progress.calls.front());
    EXPECT_EQ(std::make_pair(1, uint64_t(content.size())), progress.calls.back());
    EXPECT_EQ(Contents(Path("in.lz")), CompressFileToMemory(Path("in.bin"), nullptr, nullptr));
    EXPECT_EQ(content.size(), DecompressFileLzma86(Path("out.bin"), Path("in.lz"), 0, nullptr, nullptr));
    EXPECT_EQ(content, Contents(Path("out.bin")));
    EXPECT_TRUE(CompressFileToMemory(Path("нет.bin"), nullptr, nullptr).empty());
    EXPECT_EQ(0u, GetLzma86UnpackSize(Path("нет.bin"), 0));
}
