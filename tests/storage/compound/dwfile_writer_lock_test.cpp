// The writer lock beyond commits and record edits: a chain is not begun while the same object writes
// a logical file, the record-header edits wait for no other writer, a record is copied into the main
// file only by a commit, a simple file has one appender at a time, and a temporary file that another
// opener keeps stops only a commit.
#include <string>
#include <vector>

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

using Records = std::vector<Bytes>;

const char kBusy[] = "Файл db.dat сейчас записывает другая программа; повторите запись позже";

// Logical file 1 holds alpha and bravo at pa and pb, 2 two a; 3 is empty.
class WriterLock : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    uint32_t pa = 0, pb = 0;
    WRec rec;

    void SetUp() override
    {
        auto b = CompoundFileBuilder::Created(4);
        b.Commit(0, {B("5-3.1.1")});
        pa = b.Commit(1, {B("alpha"), B("bravo")});
        pb = pa + 7 + 5;
        b.Commit(2, {B("two a")});
        mem.files.Put("db.dat", b.Build());
    }
    Bytes Disk() { return mem.files.Get("db.dat"); }
    WRec &Rec(const std::string &text)
    {
        Fill(rec, text);
        return rec;
    }
};

}  // namespace

TEST_F(WriterLock, AChainIsNotBegunWhileTheSameObjectWritesALogicalFile)
{
    // Begun there, the chain would lose its hold at EndWrite, or the commit would be copied over it.
    for (const bool commit : {true, false}) {
        SCOPED_TRACE(commit ? "the write committed" : "the write discarded");
        SetUp();
        {
            WFile f("db.dat");
            f.BeginWrite(2);
            f.WriteRecord(0, 5, "new 2");
            const Bytes before = Disk();
            for (const int operation : {6, 7}) {
                const ZError e = CatchZError([&] { f.EditRecords(operation, 1, Rec("chain"), 0, 0); });
                EXPECT_EQ(e.Number(), 0);
                EXPECT_EQ(e.Message(), "Для файла db.dat идёт запись лог. файла 2: цепочка записей (операции 6 и 7) "
                                       "невозможна до её окончания (EndWrite)");
                EXPECT_EQ(Disk(), before) << "operation " << operation << " wrote nothing";
            }
            f.EndWrite(2, commit);
            // Once the write has ended, the chain is built and linked in behind alpha.
            f.EditRecords(6, 1, Rec("x"), 0, 0);
            f.EditRecords(7, 1, Rec("yy"), 0, 0);
            WFile other("db.dat");
            EXPECT_EQ(CatchZError([&] { other.AppendRecord(2, Rec("later")); }).Message(), kBusy);
            f.EditRecords(8, 1, Rec("zzz"), pb, pa);
        }
        EXPECT_EQ(ReadAll("db.dat", 1), (Records{B("alpha"), B("x"), B("yy"), B("zzz"), B("bravo")}));
        EXPECT_EQ(ReadAll("db.dat", 2), commit ? Records{B("new 2")} : Records{B("two a")});
        EXPECT_FALSE(mem.files.Exists("db.dat$$"));
    }
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST_F(WriterLock, RecordHeaderEditsWaitForTheOtherWriterAndSeeWhatItCommitted)
{
    WFile a("db.dat"), b("db.dat");
    a.BeginWrite(3);
    a.WriteRecord(0, 4, "held");
    const Bytes before = Disk();
    EXPECT_EQ(CatchZError([&] { b.SetRecordLink(pa, pb, 0); }).Message(), kBusy);
    EXPECT_EQ(CatchZError([&] { b.MarkRecord(pa, 0x20); }).Message(), kBusy);
    EXPECT_EQ(Disk(), before);
    a.EndWrite(3, true);
    // b read the data end before a's commit; under the hold it reads it again and reaches a's record.
    const uint32_t held = a.EntryPosition(3);
    EXPECT_EQ(b.MarkRecord(held, 0x20), 4u);
    EXPECT_EQ(b.SetRecordLink(held, NoLink, 0), 4u);
    EXPECT_EQ(Disk()[held], 0x20);
    a.AppendRecord(1, Rec("after"));  // b let the hold go after each edit
    EXPECT_EQ(ReadAll("db.dat", 1), (Records{B("alpha"), B("bravo"), B("after")}));
}

TEST_F(WriterLock, CopyingARecordIntoTheMainFileOutsideACommitIsRefused)
{
    WFile f("db.dat");
    const Bytes before = Disk();
    f.SeekRaw(f.DataEnd());
    const ZError e = CatchZError([&] { f.CopyRecordToMain(Rec("stray")); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_NE(e.Message().find("возможна только при закрытии лог. файла"), std::string::npos) << e.Message();
    EXPECT_EQ(Disk(), before);
    f.BeginWrite(3);
    f.WriteRecord(0, 5, "three");
    f.EndWrite(3, true);  // the commit itself copies its records
    EXPECT_EQ(ReadAll(f, 3), Records{B("three")});
}

TEST_F(WriterLock, ATemporaryFileAnotherOpenerKeepsStopsACommitButNoEdit)
{
    // A virus scanner or a backup tool may keep a fresh "db.dat$$" open: that is no writer.
    std::unique_ptr<WStore> scanner = mem.files.CreateHeld("db.dat$$");
    {
        WFile f("db.dat");
        f.AppendRecord(1, Rec("c"));
        f.InsertRecordAfter(2, 0, Rec("front"));
        f.EditRecords(5, 1, Rec("B"), 0, pb);
        f.MarkRecord(pa, 0);
        const Bytes before = Disk();
        const ZError e = CatchZError([&] { f.BeginWrite(3); });
        EXPECT_EQ(e.Number(), 0);
        EXPECT_EQ(e.Message(), "Файл db.dat не записан: его временный файл db.dat$$ занят другой программой; "
                               "повторите запись позже");
        EXPECT_EQ(Disk(), before);
        EXPECT_FALSE(f.Writing());
        WFile other("db.dat");
        other.AppendRecord(3, Rec("not held"));  // the refused commit let the writer lock go
        scanner.reset();
        f.BeginWrite(3);
        f.WriteRecord(0, 3, "now");
        f.EndWrite(3, true);
    }
    EXPECT_EQ(ReadAll("db.dat", 1), (Records{B("alpha"), B("B"), B("c")}));
    EXPECT_EQ(ReadAll("db.dat", 2), (Records{B("front"), B("two a")}));
    EXPECT_EQ(ReadAll("db.dat", 3), Records{B("now")});
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
}

TEST(SimpleAppender, ASecondAppenderIsRefusedAtOpeningWhileReadersStayWelcome)
{
    ScopedMemFiles mem;
    mem.files.Put("a.lst", SimpleFile({B("old")}));
    {
        WFile first("a.lst", SimpleMode::Append);
        first.WriteRecord(0, 5, "first");
        const ZError e = CatchZError([] { WFile second("a.lst", SimpleMode::Append); });
        EXPECT_EQ(e.Number(), 0);
        EXPECT_EQ(e.Message(), "Файл a.lst сейчас записывает другая программа; повторите запись позже");
        WFile reader("a.lst", SimpleMode::Read);
        WRec rec;
        ASSERT_TRUE(reader.ReadRecord(rec));
        first.WriteRecord(0, 6, "second");
        first.Close();  // the hold lasts until closing, and goes with it
        WFile next("a.lst", SimpleMode::Append);
        next.WriteRecord(0, 4, "next");
    }
    EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile({B("old"), B("first"), B("second"), B("next")}));
    {
        // An appender refused for a damaged file holds nothing.
        mem.files.Put("bad.lst", Bytes{1, 2, 3});
        EXPECT_EQ(CatchZError([] { WFile s("bad.lst", SimpleMode::Append); }).Number(), 0);
        mem.files.Put("bad.lst", SimpleFile({}));
        WFile s("bad.lst", SimpleMode::Append);
        s.WriteRecord(0, 2, "ok");
    }
    EXPECT_EQ(mem.files.Get("bad.lst"), SimpleFile({B("ok")}));
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST(SimpleAppender, TheEndIsReadUnderTheHoldSoAnAppenderThatClosedJustBeforeIsNotWrittenOver)
{
    ScopedMemFiles mem;
    mem.files.Put("a.lst", SimpleFile({B("old")}));
    FaultyStoreSystem faulty(mem.files);
    faulty.BeforeNextHold([] {
        WFile other("a.lst", SimpleMode::Append);
        other.WriteRecord(0, 5, "other");
        other.Close();
    });
    {
        WFile mine("a.lst", SimpleMode::Append);
        mine.WriteRecord(0, 4, "mine");
        mine.Close();
    }
    EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile({B("old"), B("other"), B("mine")}));
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}
