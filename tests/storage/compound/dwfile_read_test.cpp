// Reading compound files and the simple form built byte by byte from the format.
#include "storage/compound/dwfile.h"

#include <gtest/gtest.h>

#include "storage/compound/dbkeys.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

class CompoundRead : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    void Put(const Bytes &bytes) { mem.files.Put("db.dat", bytes); }
};

}  // namespace

TEST_F(CompoundRead, FreshFileHasEmptyLogicalFiles)
{
    Put(CompoundFileBuilder::Created(4).Build());
    WFile f("db.dat");
    EXPECT_EQ(f.FileCount(), 4u);
    EXPECT_EQ(f.DataEnd(), 8u + 16 * 4);
    WRec rec;
    for (uint32_t n = 0; n < 4; ++n) {
        EXPECT_EQ(f.OpenLogicalFile(n), 8u);
        EXPECT_FALSE(f.ReadRecord(rec));
        EXPECT_FALSE(f.ReadRecord(rec)) << "reading stays on the end record";
    }
}

TEST_F(CompoundRead, LogicalFilesReadBackExactlyAfterRecommits)
{
    auto b = CompoundFileBuilder::Created(3);
    const std::vector<Bytes> one = {B("a"), Filled(20000, 1), B("@x")};
    b.Commit(1, {B("old chain, now dead space")});
    b.Commit(1, one);
    b.Commit(2, {B("x"), B("yz")});
    Put(b.Build());
    WFile f("db.dat", true);
    EXPECT_EQ(ReadAll(f, 0), std::vector<Bytes>{});
    EXPECT_EQ(ReadAll(f, 1), one);
    EXPECT_EQ(ReadAll(f, 2), (std::vector<Bytes>{B("x"), B("yz")}));
    EXPECT_EQ(f.OpenLogicalFile(1), 8u + 20007 + 9 + 8);
}

TEST_F(CompoundRead, ChainsFollowLinksAcrossDeadSpaceAndSkipDeletedRecords)
{
    CompoundFileBuilder b(1);
    const uint32_t first = b.Record(B("one"));
    const uint32_t jump = b.Record(B("deleted, linked"), kDeleted);
    b.Gap(Bytes(13, 0xEE));
    const uint32_t two = b.Record(B("two"));
    const uint32_t unlinked = b.Record(B("deleted, not linked"), kDeleted);
    const uint32_t three = b.Record(B("three"));
    b.Gap(Bytes(5, 0xEE));
    const uint32_t end = b.EndRecord();
    b.SetLink(first, jump);
    b.SetLink(jump, two);
    b.SetLink(three, end);
    b.SetEntry(0, first, 0);
    Put(b.Build());
    WFile f("db.dat");
    EXPECT_EQ(ReadAll(f, 0), (std::vector<Bytes>{B("one"), B("two"), B("three")}));
    WRec rec;
    EXPECT_EQ(f.ReadRecordHeadAt(jump, rec), two);
    EXPECT_EQ(rec.Data()[0], 't');
    EXPECT_EQ(rec.Length(), 3u);
    EXPECT_EQ(f.ReadRecordNext(two, rec), unlinked);
    EXPECT_EQ(f.ReadRecordNext(three, rec), end);
}

TEST_F(CompoundRead, ScrambledFilesReadBackWithEachKeyAndKeyZeroReadsPlainBytes)
{
    std::vector<uint32_t> keys(std::begin(DbbKeys), std::end(DbbKeys));
    keys.push_back(32);  // shifts the position by nothing
    keys.push_back(0);   // reads plain bytes
    for (uint32_t key : keys) {
        auto b = CompoundFileBuilder::Created(2);
        const std::vector<Bytes> recs = {B("\x01"), Filled(999, 3), B("last")};
        const uint32_t first = b.Commit(1, recs);
        const uint32_t del = b.Record(B("gone"), kDeleted);  // a deleted record spliced in front
        b.SetLink(del, first);
        b.SetEntry(1, del, 0);
        Put(b.Build(key));
        WFile f("db.dat", key);
        EXPECT_EQ(f.FileCount(), 2u) << key;
        EXPECT_EQ(ReadAll(f, 0), std::vector<Bytes>{}) << key;
        EXPECT_EQ(ReadAll(f, 1), recs) << key;
    }
}

TEST_F(CompoundRead, OneByteRecordOfAScrambledFileIsXoredWithTheLowByteOfItsWord)
{
    CompoundFileBuilder b(1);
    const uint32_t at = b.Record(B("Z"));
    b.EndRecord();
    b.SetEntry(0, at, 16);
    const uint32_t key = 3;
    Bytes file = b.Build(key);
    EXPECT_EQ(file[at + 7], uint8_t('Z' ^ uint8_t(at >> 3)));
    Put(file);
    WFile f("db.dat", key);
    EXPECT_EQ(ReadAll(f, 0), std::vector<Bytes>{B("Z")});
}

TEST_F(CompoundRead, RecordLengthLimits)
{
    CompoundFileBuilder b(1);
    const uint32_t longest = b.Record(Filled(20000, 9));
    const uint32_t tooLong = b.Record(Filled(20001, 9));
    const uint32_t empty = b.Record({});
    b.EndRecord();
    Put(b.Build());
    WFile f("db.dat");
    WRec rec;
    EXPECT_TRUE(f.ReadRecordAt(longest, rec));
    EXPECT_EQ(rec.Length(), 20000u);
    ZError e = CatchZError([&] { f.ReadRecordAt(tooLong, rec); });
    EXPECT_EQ(e.Number(), 11);
    EXPECT_EQ(e.Message(), "db.dat|( 20001)|20000|" + std::string("00004E37"));
    e = CatchZError([&] { f.ReadRecordAt(empty, rec); });
    EXPECT_EQ(e.Number(), 9);
    EXPECT_EQ(e.Message(), "db.dat|( 00009C5F");
}

TEST_F(CompoundRead, SeekDataAcceptsTheDataEndAndRefusesBeyondIt)
{
    Put(CompoundFileBuilder::Created(1).Build());
    WFile f("db.dat");
    f.SeekData(f.DataEnd());
    EXPECT_EQ(f.ReadPosition(), f.DataEnd());
    ZError e = CatchZError([&] { f.SeekData(25); });
    EXPECT_EQ(e.Number(), 10);
    EXPECT_EQ(e.Message(), "db.dat|25");
}

TEST_F(CompoundRead, WrongLogicalFileNumbersAndTheSimpleFormAreRefused)
{
    Put(CompoundFileBuilder::Created(2).Build());
    WFile f("db.dat");
    ZError e = CatchZError([&] { f.OpenLogicalFile(2); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(e.Message(), "Для файла db.dat неверен номер лог. файла 2");

    mem.files.Put("plain.lst", SimpleFile({B("a")}));
    WFile s("plain.lst", SimpleMode::Read);
    e = CatchZError([&] { s.OpenLogicalFile(0); });
    EXPECT_EQ(e.Message(), "Для файла plain.lst невозможна открытие логического файла");
}

TEST_F(CompoundRead, MissingFileRaisesError1)
{
    ZError e = CatchZError([] { WFile f("none.dat"); });
    EXPECT_EQ(e.Number(), 1);
    EXPECT_EQ(e.Message(), "none.dat");
}

TEST_F(CompoundRead, SimpleFormReadsItsChainFromTheStart)
{
    const std::vector<Bytes> recs = {B("alias"), Filled(300, 2), B("x")};
    mem.files.Put("alias.lst", SimpleFile(recs));
    WFile f("alias.lst", SimpleMode::Read);
    EXPECT_FALSE(f.Compound());
    EXPECT_EQ(f.DataEnd(), SimpleFile(recs).size());
    std::vector<Bytes> got;
    WRec rec;
    while (f.ReadRecord(rec))
        got.emplace_back(rec.Data(), rec.Data() + rec.Length());
    EXPECT_EQ(got, recs);
}

TEST_F(CompoundRead, RawRecordsComeAsStored)
{
    auto b = CompoundFileBuilder::Created(1);
    b.Commit(0, {B("ab")});
    Put(b.Build(7));
    WFile f("db.dat", uint32_t(7));
    f.SeekRaw(f.DataEnd() - 8 - 9);
    WRec rec;
    EXPECT_TRUE(f.ReadRawRecord(rec));
    EXPECT_EQ(rec.Length(), 2u);  // the header was scrambled with 9 >> 7 = 0: length unchanged
    f.SeekRaw(f.DataEnd());
    EXPECT_FALSE(f.ReadRawRecord(rec));
}

// Damaged files: each refused with a clear error naming the file, nothing read outside the data.
TEST_F(CompoundRead, FileCountThatDoesNotFitIsRefusedBeforeAllocating)
{
    auto b = CompoundFileBuilder::Created(2);
    b.SetFileCount(0x20000000u);
    Put(b.Build());
    ZError e = CatchZError([] { WFile f("db.dat"); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_NE(e.Message().find("db.dat"), std::string::npos);
    EXPECT_NE(e.Message().find("536870912"), std::string::npos);
}

TEST_F(CompoundRead, TruncatedHeaderOrDirectoryIsRefused)
{
    Bytes file = CompoundFileBuilder::Created(3).Build();
    for (std::size_t cut : {0u, 5u, 8u, 20u, 31u}) {
        Put(Bytes(file.begin(), file.begin() + cut));
        ZError e = CatchZError([] { WFile f("db.dat"); });
        EXPECT_EQ(e.Number(), 0) << cut;
        EXPECT_NE(e.Message().find("db.dat"), std::string::npos) << cut;
    }
}

TEST_F(CompoundRead, DataEndOutsideTheFileIsRefused)
{
    auto b = CompoundFileBuilder::Created(1);
    b.SetDataEnd(1000);
    Put(b.Build());
    EXPECT_EQ(CatchZError([] { WFile f("db.dat"); }).Number(), 0);
    b.SetDataEnd(4);
    Put(b.Build());
    EXPECT_EQ(CatchZError([] { WFile f("db.dat"); }).Number(), 0);
}

TEST_F(CompoundRead, LinksAndDirectoryPositionsOutsideTheDataAreaAreRefused)
{
    auto b = CompoundFileBuilder::Created(2);
    const uint32_t r = b.Commit(1, {B("a"), B("b")});
    const uint32_t end = b.Here();
    b.SetLink(r, end + 1);  // beyond the data end
    Put(b.Build());
    {
        WFile f("db.dat");
        WRec rec;
        f.OpenLogicalFile(1);
        ZError e = CatchZError([&] { f.ReadRecord(rec); });
        EXPECT_EQ(e.Number(), 10);
        EXPECT_EQ(e.Message(), "db.dat|" + std::to_string(end + 1));
    }
    b.SetLink(r, 3);  // inside the header
    Put(b.Build());
    {
        WFile f("db.dat");
        WRec rec;
        f.OpenLogicalFile(1);
        ZError e = CatchZError([&] { f.ReadRecord(rec); });
        EXPECT_EQ(e.Number(), 0);
        EXPECT_NE(e.Message().find("db.dat"), std::string::npos);
    }
    b.SetLink(r, kNoLink);
    b.SetEntry(0, 4, 8);
    Put(b.Build());
    {
        WFile f("db.dat");
        ZError e = CatchZError([&] { f.OpenLogicalFile(0); });
        EXPECT_EQ(e.Number(), 0);
        EXPECT_NE(e.Message().find("db.dat"), std::string::npos);
        EXPECT_EQ(ReadAll(f, 1), (std::vector<Bytes>{B("a"), B("b")})) << "other files stay readable";
    }
}

TEST_F(CompoundRead, LoopingChainsAreRefused)
{
    CompoundFileBuilder b(1);
    const uint32_t a = b.Record(B("a"));
    const uint32_t c = b.Record(B("c"), kDeleted);
    b.EndRecord();
    b.SetEntry(0, a, 0);
    b.SetLink(a, a);  // a data record linking to itself
    Put(b.Build());
    {
        WFile f("db.dat");
        ZError e = CatchZError([&] { ReadAll(f, 0); });
        EXPECT_EQ(e.Number(), 0);
        EXPECT_NE(e.Message().find("db.dat"), std::string::npos);
    }
    b.SetLink(a, kNoLink);
    b.SetLink(c, c);  // a deleted record linking to itself: the reader never leaves ReadRecord
    Put(b.Build());
    {
        WFile f("db.dat");
        EXPECT_EQ(CatchZError([&] { ReadAll(f, 0); }).Number(), 0);
    }
}

TEST_F(CompoundRead, RecordReachingPastTheDataEndIsRefused)
{
    auto b = CompoundFileBuilder::Created(1);
    b.Commit(0, {B("0123456789")});
    b.SetDataEnd(b.Here() - 12);  // the data end cuts the record and the end record off
    Put(b.Build());
    WFile f("db.dat");
    WRec rec;
    f.OpenLogicalFile(0);
    ZError e = CatchZError([&] { f.ReadRecord(rec); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_NE(e.Message().find("db.dat"), std::string::npos);
}

TEST_F(CompoundRead, TruncatedSimpleFileIsRefused)
{
    Bytes file = SimpleFile({B("abcdef")});
    file.resize(10);
    mem.files.Put("alias.lst", file);
    WFile f("alias.lst", SimpleMode::Read);
    WRec rec;
    EXPECT_EQ(CatchZError([&] { f.ReadRecord(rec); }).Number(), 0);
}

TEST_F(CompoundRead, ReloadDirectorySeesANewCommit)
{
    auto b = CompoundFileBuilder::Created(1);
    Put(b.Build());
    WFile f("db.dat");
    b.Commit(0, {B("new")});
    Put(b.Build());
    EXPECT_EQ(ReadAll(f, 0), std::vector<Bytes>{}) << "the open file keeps its directory";
    f.ReloadDirectory();
    EXPECT_EQ(ReadAll(f, 0), std::vector<Bytes>{B("new")});
}
