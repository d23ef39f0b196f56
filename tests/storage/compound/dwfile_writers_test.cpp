// Writers that meet: two objects on one compound file, a second writer while the first holds the
// temporary file, a temporary file left behind; and writes that raised, never committed later.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "storage/utilities/dutilfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/FaultyStore.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

class Writers : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    std::vector<Bytes> twenty;

    void SetUp() override
    {
        auto b = CompoundFileBuilder::Created(4);
        b.Commit(0, {B("5-3.1.1")});
        for (int i = 0; i < 20; ++i)
            twenty.push_back(B("record " + std::to_string(i)));
        b.Commit(1, twenty);
        b.Commit(2, {B("two a"), B("two b")});
        mem.files.Put("db.dat", b.Build());
    }
    Bytes Disk() { return mem.files.Get("db.dat"); }
};

}  // namespace

TEST_F(Writers, TwoObjectsOnOneFileKeepEachOthersCommits)
{
    {
        WFile a("db.dat"), b("db.dat");
        CopyLogicalFile(a, a, 2, 3);  // a's commit moves the data end that b read at opening
        b.WriteVersion("5-3.1.2");
        EXPECT_EQ(b.DataEnd(), Disk().size());
        EXPECT_EQ(ReadAll(b, 3), (std::vector<Bytes>{B("two a"), B("two b")})) << "b sees a's commit";
        a.BeginWrite(1);
        a.WriteRecord(0, 3, "new");
        a.EndWrite(1, true);
    }
    EXPECT_EQ(ReadAll("db.dat", 0), std::vector<Bytes>{B("5-3.1.2")});
    EXPECT_EQ(ReadAll("db.dat", 1), std::vector<Bytes>{B("new")});
    EXPECT_EQ(ReadAll("db.dat", 2), (std::vector<Bytes>{B("two a"), B("two b")}));
    EXPECT_EQ(ReadAll("db.dat", 3), (std::vector<Bytes>{B("two a"), B("two b")}));
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST_F(Writers, ASecondWriterIsRefusedWhileTheFirstHoldsTheTemporaryFile)
{
    WFile a("db.dat"), b("db.dat");
    a.BeginWrite(1);
    a.WriteRecord(0, 5, "first");
    const Bytes before = Disk();
    ZError e = CatchZError([&] { b.BeginWrite(2); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(e.Message(), "Файл db.dat сейчас записывает другая программа; повторите запись позже");
    EXPECT_FALSE(b.Writing());
    EXPECT_EQ(CatchZError([&] { WFile c("db.dat$$", SimpleMode::Read); }).Number(), 99) << "held from every opener";
    EXPECT_EQ(Disk(), before);
    a.WriteRecord(0, 6, "second");
    a.EndWrite(1, true);
    b.BeginWrite(2);
    b.WriteRecord(0, 5, "later");
    b.EndWrite(2, true);
    EXPECT_EQ(ReadAll("db.dat", 1), (std::vector<Bytes>{B("first"), B("second")}));
    EXPECT_EQ(ReadAll("db.dat", 2), std::vector<Bytes>{B("later")});
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
}

TEST_F(Writers, ATemporaryFileLeftBehindDoesNotBlock)
{
    mem.files.Put("db.dat$$", Bytes(100, 0x5A));  // a program that stopped while writing left it
    {
        WFile f("db.dat");
        f.BeginWrite(3);
        f.WriteRecord(0, 5, "fresh");
        f.EndWrite(3, true);
    }
    EXPECT_EQ(ReadAll("db.dat", 3), std::vector<Bytes>{B("fresh")});
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
}

TEST_F(Writers, AWriteThatRaisedIsNeverCommitted)
{
    const Bytes big(19999, 'x');
    const std::string tooLong(20000, 't');
    // Each way a write into logical file 1 can raise, after three records went to the temporary file.
    const std::vector<std::pair<const char *, std::function<void(WFile &, FaultyStoreSystem &)>>> ways = {
        {"a refused record", [](WFile &f, FaultyStoreSystem &) { f.WriteRecord(0, 0, ""); }},
        {"a refused text record", [&](WFile &f, FaultyStoreSystem &) { f.WriteTextRecord(tooLong); }},
        {"a full disk",
         [](WFile &f, FaultyStoreSystem &faulty) {
             faulty.FailWritesTo("db.dat$$", 10);
             f.WriteRecord(0, 20, "twenty bytes of data");
         }},
        {"a refused logical record", [](WFile &f, FaultyStoreSystem &) { f.WriteLogicalRecord("", 0); }},
        {"a full disk in a flush of logical records",
         [&](WFile &f, FaultyStoreSystem &faulty) {
             faulty.FailWritesTo("db.dat$$", 10);
             f.WriteLogicalRecord(big.data(), 19997);
             f.WriteLogicalRecord(big.data(), 10);
         }},
        {"a full disk at the end record",
         [](WFile &f, FaultyStoreSystem &faulty) {
             faulty.FailWritesTo("db.dat$$", 0);
             f.EndWrite(1, true);
         }},
    };
    const Bytes before = Disk();
    for (const auto &[way, fail] : ways) {
        for (const bool explicitEnd : {false, true}) {
            SCOPED_TRACE(std::string(way) + (explicitEnd ? ", then EndWrite with commit" : ", then the destructor"));
            {
                FaultyStoreSystem faulty(mem.files);
                faulty.FailWritesTo("db.dat$$", UINT32_MAX);  // watched from its creation
                WFile f("db.dat");
                f.BeginWriteRecords(1, "");
                for (int i = 0; i < 3; ++i) {
                    f.WriteRecord(0, 3, "new");
                    f.WriteLogicalRecord("new", 3);
                }
                EXPECT_THROW(fail(f, faulty), ZError);
                faulty.FailWritesTo("db.dat$$", UINT32_MAX);
                if (explicitEnd && f.Writing()) {
                    ZError e = CatchZError([&] { f.EndWrite(1, true); });
                    EXPECT_EQ(e.Message(), "Для файла db.dat лог. файл 1 не записан: при его записи произошла "
                                           "ошибка, прежнее содержимое сохранено");
                    EXPECT_FALSE(f.Writing());
                }
            }
            EXPECT_EQ(Disk(), before);
            EXPECT_FALSE(mem.files.Exists("db.dat$$"));
            EXPECT_EQ(ReadAll("db.dat", 1), twenty);
            const AnsiString closing = TakeWFileCloseFailures();
            if (!explicitEnd) {
                EXPECT_NE(closing.find("лог. файл 1 не записан"), std::string::npos) << closing;
            }
        }
    }
}

TEST_F(Writers, AVersionStampThatCouldNotBeWrittenLeavesTheOldOne)
{
    const Bytes before = Disk();
    {
        FaultyStoreSystem faulty(mem.files);
        faulty.FailWritesTo("db.dat$$", 3);  // the disk is full
        WFile f("db.dat");
        EXPECT_EQ(CatchZError([&] { f.WriteVersion("5-3.1.2"); }).Number(), 99);
    }
    EXPECT_EQ(Disk(), before);
    EXPECT_EQ(ReadAll("db.dat", 0), std::vector<Bytes>{B("5-3.1.1")});
    EXPECT_NE(TakeWFileCloseFailures().find("лог. файл 0 не записан"), std::string::npos);
}

TEST_F(Writers, AfterADiscardedWriteTheNextOneCommits)
{
    WFile f("db.dat");
    f.BeginWriteRecords(1, "|");
    f.WriteLogicalRecord("lost", 4);
    EXPECT_THROW(f.WriteLogicalRecord("", 0), ZError);
    EXPECT_THROW(f.BeginWriteRecords(2, "|"), ZError) << "the failed logical file 1 is discarded, not committed";
    f.BeginWriteRecords(2, "|");
    f.WriteLogicalRecord("kept", 4);
    f.EndWriteRecords(2);
    EXPECT_EQ(ReadAll(f, 1), twenty);
    EXPECT_EQ(ReadAll(f, 2), std::vector<Bytes>{B("kept|")}) << "nothing of logical file 1 came along";
}

TEST_F(Writers, CloseCommitsRaisesAndLeavesNothingForTheDestructor)
{
    {
        WFile f("db.dat");
        f.BeginWrite(3);
        f.WriteRecord(0, 5, "three");
        EXPECT_EQ(CatchZError([&] { f.Close(); }).Message(), "Для файла db.dat не выполнено закрытие файла 3");
        EXPECT_EQ(CatchZError([&] { f.OpenLogicalFile(3); }).Message(), "Файл db.dat закрыт");
        f.Close();
    }
    EXPECT_EQ(TakeWFileCloseFailures(), "");
    EXPECT_EQ(ReadAll("db.dat", 3), std::vector<Bytes>{B("three")});
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
}
