#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "storage/compound/dbkeys.h"
#include "tests/support/CompoundFileBuilder.h"
#include "update/patch/DbbRekey.h"

namespace {

using testdata::Bytes;
using testdata::CompoundFileBuilder;

Bytes Filled(std::size_t n, uint8_t seed)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(seed + i * 7);
    return b;
}

// A database with a one-byte record, a deleted record, a record of the longest length, dead space of
// an older chain, and logical file 0 committed again so that it no longer starts the data area.
CompoundFileBuilder SampleDatabase(uint32_t fileCount)
{
    CompoundFileBuilder b = CompoundFileBuilder::Created(fileCount);
    b.Commit(1, {Bytes{0x5A}, Filled(300, 1)});
    const uint32_t deleted = b.Record(Filled(40, 2));
    b.SetFlags(deleted, testdata::kDeleted);
    b.Commit(2, {Filled(20000, 3), Filled(3, 4)});
    b.Commit(0, {Filled(12, 5)});
    return b;
}

RekeyResult Rekey(const Bytes &source, uint32_t oldKey, uint32_t newKey, Bytes &out,
                  std::vector<std::pair<int, int>> *progress = nullptr)
{
    TMemorySource in(source);
    TMemoryStore store;
    const RekeyResult r = RekeyDbb(in, store, oldKey, newKey, [&](int position, int maximum) {
        if (progress)
            progress->emplace_back(position, maximum);
    });
    out = store.Bytes();
    return r;
}

TEST(DbbRekey, ReplacesTheKeyOfEveryRegion)
{
    const CompoundFileBuilder db = SampleDatabase(5);
    const std::vector<std::pair<uint32_t, uint32_t>> pairs = {
        {0, DbbKeys[0]}, {DbbKeys[1], 0},          {DbbKeys[2], DbbKeys[5]},
        {0, 0},          {DbbKeys[3], DbbKeys[3]}, {33, 0xFFFFFFFF},  // shift counts taken modulo 32
    };
    for (const auto &[from, to] : pairs) {
        SCOPED_TRACE(::testing::Message() << from << " -> " << to);
        Bytes out;
        const RekeyResult r = Rekey(db.Build(from), from, to, out);
        ASSERT_TRUE(r.Ok()) << RekeyFaultText(r);
        EXPECT_EQ(r.trailingBytes, 0u);
        EXPECT_TRUE(out == db.Build(to));
    }
}

TEST(DbbRekey, DirectoryBeyondTheOldFixedBuffer)
{
    CompoundFileBuilder db = CompoundFileBuilder::Created(2600);
    db.Commit(2599, {Filled(100, 6)});
    Bytes out;
    ASSERT_TRUE(Rekey(db.Build(DbbKeys[4]), DbbKeys[4], DbbKeys[0], out).Ok());
    EXPECT_TRUE(out == db.Build(DbbKeys[0]));
}

TEST(DbbRekey, DamagedFilesFailCleanly)
{
    CompoundFileBuilder tooLong = CompoundFileBuilder::Created(2);
    const uint32_t at = tooLong.Record(Filled(20001, 7));
    const Bytes full = SampleDatabase(3).Build(DbbKeys[1]);
    CompoundFileBuilder bigCount = CompoundFileBuilder::Created(2);
    bigCount.SetFileCount(0x40000000);

    struct Case {
        const char *what;
        Bytes file;
        RekeyFault fault;
    };
    const std::vector<Case> cases = {
        {"no header", Bytes(7), RekeyFault::NoHeader},
        {"directory past the end", bigCount.Build(DbbKeys[1]), RekeyFault::DirectoryCut},
        {"length field of 20001", tooLong.Build(DbbKeys[1]), RekeyFault::RecordTooLong},
        {"last record cut", Bytes(full.begin(), full.end() - 9), RekeyFault::RecordCut},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out;
        const RekeyResult r = Rekey(c.file, DbbKeys[1], 0, out);
        EXPECT_EQ(r.fault, c.fault);
        EXPECT_EQ(RekeyFaultText(r).rfind("Неверный файл базы: ", 0), 0u);
    }
    Bytes out;
    const RekeyResult r = Rekey(tooLong.Build(DbbKeys[1]), DbbKeys[1], 0, out);
    EXPECT_EQ(r.position, at);
    EXPECT_EQ(RekeyFaultText(r), "Неверный файл базы: длина записи больше 20000 (позиция " + std::to_string(at) + ")");
}

TEST(DbbRekey, BytesShorterThanARecordHeaderAtTheEndAreReported)
{
    const CompoundFileBuilder db = SampleDatabase(3);
    Bytes file = db.Build(DbbKeys[2]);
    file.insert(file.end(), {1, 2, 3, 4, 5, 6});
    Bytes out;
    const RekeyResult r = Rekey(file, DbbKeys[2], 0, out);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.trailingBytes, 6u);
    EXPECT_EQ(RekeyTrailingText(r), "В конце файла базы 6 байт вне записей не скопированы");
    EXPECT_TRUE(out == db.Build(0));
}

// A disk that is full after 100 bytes.
class FailingStore : public TMemoryStore {
public:
    bool WriteAt(uint64_t position, const void *data, size_t count) override
    {
        return position + count <= 100 && TMemoryStore::WriteAt(position, data, count);
    }
};

TEST(DbbRekey, AFailedWriteStopsTheWalk)
{
    const CompoundFileBuilder db = SampleDatabase(3);
    const Bytes file = db.Build(0);
    TMemorySource in(file);
    FailingStore store;
    const RekeyResult r = RekeyDbb(in, store, 0, DbbKeys[0], nullptr);
    EXPECT_EQ(r.fault, RekeyFault::WriteFailed);
    EXPECT_EQ(r.position, db.DataStart());  // the header went in, the records did not
    EXPECT_EQ(store.Size(), db.DataStart());
    EXPECT_EQ(RekeyFaultText(r).rfind("Ошибка записи файла базы", 0), 0u);
}

// Records are re-keyed a window at a time: a file of many windows, records of every length up to the
// longest and a record that straddles each window's share, keeps every byte in place.
TEST(DbbRekey, LargeFilesAreReKeyedAcrossWindows)
{
    CompoundFileBuilder db = CompoundFileBuilder::Created(4);
    for (uint32_t n = 0; n < 4; ++n) {
        std::vector<Bytes> chain;
        for (int i = 0; i < 40; ++i)
            chain.push_back(Filled(size_t(i % 3 == 0 ? 20000 : 1 + (i * 977 + n * 131) % 20000), uint8_t(i + n)));
        db.Commit(n, chain);
    }
    const Bytes plain = db.Build(0);
    ASSERT_GT(plain.size(), 3u * 256 * 1024);
    Bytes out;
    ASSERT_TRUE(Rekey(db.Build(DbbKeys[4]), DbbKeys[4], DbbKeys[1], out).Ok());
    EXPECT_TRUE(out == db.Build(DbbKeys[1]));
    ASSERT_TRUE(Rekey(out, DbbKeys[1], 0, out).Ok());
    EXPECT_TRUE(out == plain);

    // A record cut by the file's end far into the file is found at its own position.
    Bytes cut(plain.begin(), plain.end() - 20);
    const RekeyResult r = Rekey(cut, 0, 0, out);
    EXPECT_EQ(r.fault, RekeyFault::RecordCut);
    EXPECT_GT(r.position, 3u * 256 * 1024);
}

TEST(DbbRekey, ProgressRunsFromZeroToAtMostAHundred)
{
    CompoundFileBuilder db = CompoundFileBuilder::Created(2);
    for (int i = 0; i < 300; ++i)
        db.Record(Filled(93, static_cast<uint8_t>(i)));  // 100-byte records
    Bytes out;
    std::vector<std::pair<int, int>> progress;
    ASSERT_TRUE(Rekey(db.Build(0), 0, 0, out, &progress).Ok());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), std::make_pair(0, 100));
    for (std::size_t i = 1; i < progress.size(); ++i)
        EXPECT_EQ(progress[i].first, progress[i - 1].first + 1);
    EXPECT_GE(progress.back().first, 95);
    EXPECT_LE(progress.back().first, 100);
}

}  // namespace
