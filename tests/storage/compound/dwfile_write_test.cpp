// Writing logical files through the temporary file and committing them, byte for byte against files
// built by hand; the simple form's writers; closing; failures and refusals.
#include <stdexcept>

#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/FaultyStore.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

class CompoundWrite : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    CompoundFileBuilder b = CompoundFileBuilder::Created(6);
    void SetUp() override
    {
        b.Commit(2, {B("old contents")});
        mem.files.Put("db.dat", b.Build());
    }
    Bytes Disk() { return mem.files.Get("db.dat"); }
};

}  // namespace

TEST_F(CompoundWrite, CommitAppendsTheChainAndRewritesOnlyTheDataEndAndTheEntry)
{
    const uint32_t oldEnd = b.Here();
    const Bytes ten = Filled(10, 1), twenty = Filled(20, 2);
    {
        WFile f("db.dat");
        f.BeginWrite(2);
        EXPECT_EQ(f.WriteRecord(0, 10, ten.data()), 0u);
        WRec rec;
        rec.Assign(twenty.data(), 20);
        EXPECT_EQ(f.WriteRec(rec), 17u);
        EXPECT_TRUE(mem.files.Exists("db.dat$$"));
        f.EndWrite(2, true);
        EXPECT_EQ(f.DataEnd(), oldEnd + 52);
        EXPECT_EQ(f.EntryPosition(2), oldEnd);
        EXPECT_EQ(f.EntryLength(2), 52u);
        EXPECT_EQ(ReadAll(f, 2), (std::vector<Bytes>{ten, twenty})) << "the same object reads the new file";
    }
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
    b.Commit(2, {ten, twenty});  // the old chain stays where it was, as dead space
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST_F(CompoundWrite, TextRecordsAndRewritesInTheTemporaryFile)
{
    {
        WFile f("db.dat");
        f.BeginWrite(0);
        f.WriteTextRecord("ab");
        const uint32_t at = f.WriteRecord(0, 4, "wxyz");
        f.WriteRecord(0, 1, "!");
        WRec rec;
        Fill(rec, "WXYZ");
        f.WriteRecordAt(at, rec, 2);  // only "WX" reaches the file
        f.EndWrite(0, true);
    }
    b.Commit(0, {Bytes{2, 0, 'a', 'b'}, B("WXyz"), B("!")});
    EXPECT_EQ(Disk(), b.Build());
}

TEST_F(CompoundWrite, DiscardLeavesTheFileByteForByte)
{
    const Bytes before = Disk();
    {
        WFile f("db.dat");
        f.BeginWrite(2);
        f.WriteRecord(0, 3, "new");
        f.EndWrite(2, false);
    }
    EXPECT_EQ(Disk(), before);
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
}

TEST_F(CompoundWrite, WrongNumberAtEndCommitsTheOpenFileAndNamesBoth)
{
    WFile f("db.dat");
    f.BeginWrite(5);
    f.WriteRecord(0, 4, "five");
    ZError e = CatchZError([&] { f.EndWrite(3, true); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(e.Message(), "Для файла db.dat ошибочно задан номер файла 3 вместо 5");
    EXPECT_FALSE(f.Writing());
    EXPECT_EQ(ReadAll(f, 5), std::vector<Bytes>{B("five")});
}

TEST_F(CompoundWrite, BeginningAnotherFileCommitsTheOpenOneAndReportsIt)
{
    WFile f("db.dat");
    f.BeginWrite(0);
    f.WriteRecord(0, 4, "zero");
    ZError e = CatchZError([&] { f.BeginWrite(1); });
    EXPECT_EQ(e.Message(), "Для файла db.dat не выполнено закрытие файла 0");
    EXPECT_FALSE(f.Writing()) << "logical file 1 is not begun";
    EXPECT_EQ(ReadAll(f, 0), std::vector<Bytes>{B("zero")});
}

TEST_F(CompoundWrite, ReadOnlyFileWritesTheTemporaryFileButRefusesTheCommit)
{
    const Bytes before = Disk();
    WFile f("db.dat", true);
    f.BeginWrite(2);
    f.WriteRecord(0, 3, "new");
    ZError e = CatchZError([&] { f.EndWrite(2, true); });
    EXPECT_EQ(e.Message(), "Файл db.dat не открыт только для записи");
    EXPECT_EQ(Disk(), before);
}

TEST_F(CompoundWrite, DestructorCommitsAnOpenFileAndRecordsInsteadOfRaising)
{
    {
        WFile f("db.dat");
        f.BeginWrite(4);
        f.WriteRecord(0, 4, "four");
    }
    EXPECT_EQ(ReadAll("db.dat", 4), std::vector<Bytes>{B("four")});
    EXPECT_EQ(TakeWFileCloseFailures(), "Для файла db.dat не выполнено закрытие файла 4");
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST_F(CompoundWrite, ExceptionBeforeTheCommitLeavesTheFileByteForByte)
{
    const Bytes before = Disk();
    EXPECT_THROW(
        {
            WFile f("db.dat");
            f.BeginWrite(2);
            f.WriteRecord(0, 3, "new");
            throw std::runtime_error("the caller failed half-way");
        },
        std::runtime_error);
    EXPECT_EQ(Disk(), before);
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST_F(CompoundWrite, FailureDuringTheCommitCopyKeepsHeaderDirectoryAndOldData)
{
    const Bytes before = Disk();
    FaultyStoreSystem faulty(mem.files);
    faulty.FailWritesTo("db.dat", 30);  // the disk fills up in the second record of the copy
    {
        WFile f("db.dat");
        f.BeginWrite(2);
        f.WriteRecord(0, 10, Filled(10, 3).data());
        f.WriteRecord(0, 20, Filled(20, 4).data());
        ZError e = CatchZError([&] { f.EndWrite(2, true); });
        EXPECT_EQ(e.Number(), 99);
        EXPECT_EQ(f.DataEnd(), before.size());
        EXPECT_EQ(ReadAll(f, 2), std::vector<Bytes>{B("old contents")});
    }
    const Bytes after = Disk();
    ASSERT_GE(after.size(), before.size());
    EXPECT_EQ(Bytes(after.begin(), after.begin() + before.size()), before);
    EXPECT_TRUE(mem.files.Exists("db.dat$$")) << "the temporary file stays for inspection";
    EXPECT_EQ(ReadAll("db.dat", 2), std::vector<Bytes>{B("old contents")});
}

TEST_F(CompoundWrite, FailureWritingTheDirectoryEntryKeepsTheOldLogicalFile)
{
    FaultyStoreSystem faulty(mem.files);
    faulty.FailWritesTo("db.dat", 17 + 8 + 4);  // the copy and the data end pass, the entry fails
    {
        WFile f("db.dat");
        f.BeginWrite(2);
        f.WriteRecord(0, 10, Filled(10, 3).data());
        EXPECT_EQ(CatchZError([&] { f.EndWrite(2, true); }).Number(), 99);
    }
    EXPECT_EQ(ReadAll("db.dat", 2), std::vector<Bytes>{B("old contents")});
}

TEST_F(CompoundWrite, ARefusedReopenAfterTheCommitLeavesAWorkingObject)
{
    FaultyStoreSystem faulty(mem.files);
    {
        WFile f("db.dat");
        f.BeginWrite(2);
        f.WriteRecord(0, 3, "new");
        faulty.FailOpensOf("db.dat");  // the commit is written, then the file cannot be reopened
        EXPECT_EQ(CatchZError([&] { f.EndWrite(2, true); }).Number(), 99);
        EXPECT_EQ(ReadAll(f, 2), std::vector<Bytes>{B("new")});
    }
    faulty.FailOpensOf("");
    EXPECT_EQ(ReadAll("db.dat", 2), std::vector<Bytes>{B("new")});
}

TEST_F(CompoundWrite, RefusalsLeaveTheFileUntouched)
{
    const Bytes before = Disk();
    {
        WFile f("db.dat");
        EXPECT_EQ(CatchZError([&] { f.BeginWrite(6); }).Message(), "Для файла db.dat неверен номер лог. файла 6");
        EXPECT_EQ(CatchZError([&] { f.WriteRecord(0, 3, "abc"); }).Message(),
                  "Невозможна запись в несуществующий файл TMP");
        EXPECT_EQ(CatchZError([&] { f.EndWrite(1, true); }).Message(),
                  "Закрытие файла невозможно для несуществующего файла TMP$");
        f.BeginWrite(1);
        const Bytes big = Filled(20001, 5);
        EXPECT_EQ(CatchZError([&] { f.WriteRecord(0, 20001, big.data()); }).Number(), 11);
        EXPECT_EQ(CatchZError([&] { f.WriteRecord(0, 0, ""); }).Number(), 0);
        ZError at = CatchZError([&] { f.WriteRecord(0, 1, "@"); });
        EXPECT_NE(at.Message().find("\"@\""), std::string::npos);
        EXPECT_EQ(f.WriteRecord(0, 20000, big.data()), 0u) << "the longest record is accepted";
        EXPECT_EQ(f.WriteRecord(0, 2, "@@"), 20007u);
        f.EndWrite(1, false);
    }
    EXPECT_EQ(Disk(), before);
}

TEST_F(CompoundWrite, ScrambledFilesAreNeverWritten)
{
    mem.files.Put("db.dat", b.Build(0x1234));
    const Bytes before = Disk();
    WFile f("db.dat", uint32_t(0x1234));
    EXPECT_NE(CatchZError([&] { f.BeginWrite(2); }).Message().find("зашифрован"), std::string::npos);
    EXPECT_NE(CatchZError([&] { f.ClearLogicalFile(2); }).Message().find("зашифрован"), std::string::npos);
    WRec rec;
    Fill(rec, "x1");
    EXPECT_NE(CatchZError([&] { f.EditRecords(3, 2, rec, NoLink, NoLink); }).Message().find("зашифрован"),
              std::string::npos);
    EXPECT_EQ(Disk(), before);
}

TEST_F(CompoundWrite, SimpleFormIsNotCompound)
{
    mem.files.Put("a.lst", SimpleFile({B("x1")}));
    WFile s("a.lst", SimpleMode::Read);
    EXPECT_EQ(CatchZError([&] { s.BeginWrite(0); }).Message(), "Файл a.lst не является составным");
    EXPECT_EQ(CatchZError([&] { s.WriteRecord(0, 2, "ab"); }).Message(),
              "Файл a.lst не открыт только для записи или дозаписи");
    WRec rec;
    Fill(rec, "ab");
    EXPECT_EQ(CatchZError([&] { s.WriteRec(rec); }).Message(), "Файл a.lst не открыт для записи или дозаписи");
    WFile c("db.dat");
    EXPECT_EQ(CatchZError([&] { c.AppendSimpleRecord(rec); }).Message(), "Файл db.dat должен быть простым");
}

TEST(SimpleWrite, CreateWritesRecordsAndTheDestructorEndsTheChain)
{
    ScopedMemFiles mem;
    mem.files.Put("a.lst", Bytes(50, 0xAA));
    {
        WFile s("a.lst", SimpleMode::Create);
        s.WriteRecord(0, 5, "alias");
        WRec rec;
        Fill(rec, "CFG");
        s.WriteRec(rec);
        s.WriteTextRecord("t");
        EXPECT_EQ(s.DataEnd(), 12u + 10 + 10);
    }
    EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile({B("alias"), B("CFG"), Bytes{1, 0, 't'}}));
}

TEST(SimpleWrite, AppendStartsOnTheEndRecordAndTheDestructorWritesANewOne)
{
    ScopedMemFiles mem;
    const Bytes first = Filled(85, 6);
    mem.files.Put("a.lst", SimpleFile({first}));  // 7 + 85 + 8 = 100 bytes
    {
        WFile s("a.lst", SimpleMode::Append);
        EXPECT_EQ(s.DataEnd(), 92u);
        WRec rec;
        Fill(rec, "new");
        s.AppendSimpleRecord(rec);
    }
    EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile({first, B("new")}));
}

TEST(SimpleWrite, AppendRefusesAFileThatDoesNotEndInAnEndRecord)
{
    ScopedMemFiles mem;
    mem.files.Put("a.lst", Bytes(20, 0));
    EXPECT_EQ(CatchZError([] { WFile s("a.lst", SimpleMode::Append); }).Number(), 0);
    EXPECT_EQ(mem.files.Get("a.lst"), Bytes(20, 0));
}
