// Logical records in their three framings, and the version stamp of a compound file.
#include <cstring>

#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

class LogicalRecords : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    void SetUp() override { mem.files.Put("db.dat", CompoundFileBuilder::Created(3).Build()); }
    void PutRecords(uint32_t n, const std::vector<Bytes> &records)
    {
        auto b = CompoundFileBuilder::Created(3);
        b.Commit(n, records);
        mem.files.Put("db.dat", b.Build());
    }
    // Every logical record of logical file n read in the given framing.
    std::vector<std::string> ReadBack(uint32_t n, const AnsiString &delimiter, int32_t fixed)
    {
        WFile f("db.dat", true);
        f.BeginReadRecords(n, delimiter, fixed);
        std::vector<std::string> out;
        const uint8_t *data;
        uint32_t length;
        while (f.ReadLogicalRecord(data, length))
            out.emplace_back(reinterpret_cast<const char *>(data), length);
        EXPECT_EQ(length, 0u);
        return out;
    }
};

}  // namespace

TEST_F(LogicalRecords, DelimiterFramingPacksRecordsIntoOnePhysicalRecord)
{
    {
        WFile f("db.dat");
        f.BeginWriteRecords(1, "\r\n");
        f.WriteLogicalRecord("ab", 2);
        f.WriteLogicalRecord("cde", 3);
        f.EndWriteRecords(1);
    }
    EXPECT_EQ(ReadAll("db.dat", 1), std::vector<Bytes>{B("ab\r\ncde\r\n")});
    EXPECT_EQ(ReadBack(1, "\r\n", -1), (std::vector<std::string>{"ab", "cde"}));
}

TEST_F(LogicalRecords, LengthPrefixFramingRoundTripsAtItsLimit)
{
    const std::string longest(19997, 'q');  // with its prefix exactly 19999 bytes
    {
        WFile f("db.dat");
        f.BeginWriteRecords(2, "");
        f.WriteLogicalRecord("x", 1);
        f.WriteLogicalRecord(longest.data(), 19997);  // does not fit behind "x": a new physical record
        f.WriteLogicalRecord("yz", 2);
        f.EndWriteRecords(2);
    }
    const std::vector<Bytes> physical = ReadAll("db.dat", 2);
    ASSERT_EQ(physical.size(), 3u);
    EXPECT_EQ(physical[0], (Bytes{1, 0, 'x'}));
    EXPECT_EQ(physical[1].size(), 19999u);
    EXPECT_EQ(ReadBack(2, "", -1), (std::vector<std::string>{"x", longest, "yz"}));
}

TEST_F(LogicalRecords, FixedLengthFlushesWhenTheNextRecordWouldPassTheLimit)
{
    {
        WFile f("db.dat");
        f.BeginWriteRecords(0, 10);
        for (int i = 0; i < 2000; ++i)  // 1999 records fill 19990 bytes; the 2000th starts anew
            f.WriteLogicalRecord("0123456789", 10);
        f.EndWriteRecords(0);
    }
    const std::vector<Bytes> physical = ReadAll("db.dat", 0);
    ASSERT_EQ(physical.size(), 2u);
    EXPECT_EQ(physical[0].size(), 19990u);
    EXPECT_EQ(physical[1].size(), 10u);
    EXPECT_EQ(ReadBack(0, "", 10).size(), 2000u);
}

TEST_F(LogicalRecords, ReadingAtAnAddressAndBetweenOtherReads)
{
    PutRecords(1, {B("a;bb;"), B("ccc;")});
    WFile f("db.dat");
    f.BeginReadRecords(1, ";");
    const uint8_t *data;
    uint32_t length;
    ASSERT_TRUE(f.ReadLogicalRecord(data, length));
    ASSERT_TRUE(f.ReadLogicalRecord(data, length));
    const LogicalAddress bb = f.CurrentLogicalAddress();
    EXPECT_EQ(bb.offset, 2u);
    WRec other;
    EXPECT_FALSE(f.ReadRecordAt(f.EntryPosition(0), other));  // another read moves the file
    ASSERT_TRUE(f.ReadLogicalRecord(data, length));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(data), length), "ccc");
    EXPECT_EQ(f.ReadLogicalRecordAt(data, bb), 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(data), 2), "bb");
    char buffer[32];
    EXPECT_EQ(f.ReadLogicalRecordInto(buffer), 3u);
    EXPECT_EQ(std::string(buffer, 3), "ccc");
    EXPECT_EQ(f.ReadLogicalRecordPtr(data), 0u);
}

TEST_F(LogicalRecords, DamagedFramingIsRefused)
{
    PutRecords(1, {B("ab;cd")});
    {
        WFile f("db.dat", true);
        f.BeginReadRecords(1, ";");
        const uint8_t *data;
        uint32_t length;
        ASSERT_TRUE(f.ReadLogicalRecord(data, length));
        EXPECT_EQ(CatchZError([&] { f.ReadLogicalRecord(data, length); }).Message(),
                  "Для файла db.dat не найден конец логической записи");
    }
    for (const Bytes &bad : {Bytes{5, 0, 'a', 'b'}, Bytes{1}, Bytes{1, 0, 'a', 9}}) {
        PutRecords(1, {bad});
        WFile f("db.dat", true);
        f.BeginReadRecords(1, "");
        const uint8_t *data;
        uint32_t length;
        if (bad.size() == 4 && bad[0] == 1) {
            ASSERT_TRUE(f.ReadLogicalRecord(data, length));  // "a", then a lone byte remains
        }
        EXPECT_EQ(CatchZError([&] { f.ReadLogicalRecord(data, length); }).Message(),
                  "Для файла db.dat длина записи превышает длину остатка буфера");
    }
    PutRecords(1, {B("0123456")});  // not a multiple of 3
    WFile f("db.dat", true);
    f.BeginReadRecords(1, 3);
    const uint8_t *data;
    uint32_t length;
    ASSERT_TRUE(f.ReadLogicalRecord(data, length));
    ASSERT_TRUE(f.ReadLogicalRecord(data, length));
    EXPECT_EQ(CatchZError([&] { f.ReadLogicalRecord(data, length); }).Number(), 0);
    EXPECT_EQ(CatchZError([&] { f.BeginReadRecords(1, 0); }).Number(), 0) << "a fixed length 0 would never advance";
}

TEST_F(LogicalRecords, WritingRefusesEmptyOverLongAndWrongFixedRecords)
{
    const Bytes before = mem.files.Get("db.dat");
    {
        WFile f("db.dat");
        f.BeginWriteRecords(2, "");
        EXPECT_EQ(CatchZError([&] { f.WriteLogicalRecord("", 0); }).Message(),
                  "Для файла db.dat задана нулевая длина логической записи2");
        const std::string big(19998, 'x');
        EXPECT_EQ(CatchZError([&] { f.WriteLogicalRecord(big.data(), 19998); }).Number(), 0);
        f.EndWrite(2, false);
        f.BeginWriteRecords(2, 4);
        EXPECT_EQ(CatchZError([&] { f.WriteLogicalRecord("abc", 3); }).Number(), 0);
        f.EndWrite(2, false);
        EXPECT_EQ(CatchZError([&] { f.BeginWriteRecords(2, 0); }).Number(), 0);
        EXPECT_EQ(CatchZError([&] { f.BeginWriteRecords(3, ""); }).Number(), 0);
    }
    EXPECT_EQ(mem.files.Get("db.dat"), before);
}

TEST_F(LogicalRecords, DestructorCompletesAPendingBuffer)
{
    {
        WFile f("db.dat");
        f.BeginWriteRecords(1, "|");
        f.WriteLogicalRecord("kept", 4);
    }
    EXPECT_EQ(ReadAll("db.dat", 1), std::vector<Bytes>{B("kept|")});
    EXPECT_EQ(TakeWFileCloseFailures(), "Для файла db.dat не выполнено закрытие файла 1");
}

TEST_F(LogicalRecords, SimpleFormWritesAndReadsLogicalRecords)
{
    {
        WFile s("lines.lst", SimpleMode::Create);
        s.BeginWriteRecords(0, "\r\n");
        s.WriteLogicalRecord("one", 3);
        s.WriteLogicalRecord("two", 3);
    }
    EXPECT_EQ(mem.files.Get("lines.lst"), SimpleFile({B("one\r\ntwo\r\n")}));
    WFile s("lines.lst", SimpleMode::Read);
    EXPECT_EQ(s.BeginReadRecords(0, "\r\n"), mem.files.Get("lines.lst").size());
    const uint8_t *data;
    uint32_t length;
    int count = 0;
    while (s.ReadLogicalRecord(data, length))
        ++count;
    EXPECT_EQ(count, 2);
}

TEST(VersionStamp, ReadRewriteAndCheckAgainstTheProgram)
{
    ScopedMemFiles mem;
    auto b = CompoundFileBuilder::Created(2);
    b.Commit(0, {B("5-3.1.0")});
    mem.files.Put("db.dat", b.Build());
    WFile f("db.dat");
    EXPECT_EQ(f.ReadVersion(), 0x404u);
    EXPECT_EQ(f.Version().text, "5-3.1.0");
    f.WriteVersion("5-" + ProgramVersion.text);
    EXPECT_EQ(f.ReadVersion(), 0x401u);
    EXPECT_EQ(ReadAll("db.dat", 0), std::vector<Bytes>{B("5-3.1.1")});
}

TEST(VersionStamp, EmptyLogicalFileZeroReadsTheEndRecordsText)
{
    ScopedMemFiles mem;
    mem.files.Put("db.dat", CompoundFileBuilder::Created(1).Build());
    WFile f("db.dat");
    EXPECT_EQ(f.ReadVersion(), 0x02u);  // product 3 against the program's 5
    EXPECT_EQ(f.Version().text, "@");
}
