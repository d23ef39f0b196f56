// Editing the main file in place, each operation compared byte for byte with the file built by hand.
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

// Logical file 1 holds alpha, bravo!, charlie at pa, pb, pc, then its end record at pend.
class Editing : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    CompoundFileBuilder b = CompoundFileBuilder::Created(2);
    uint32_t pa = 0, pb = 0, pc = 0, pend = 0, len1 = 0;
    WRec rec;
    void SetUp() override
    {
        pa = b.Commit(1, {B("alpha"), B("bravo!"), B("charlie")});
        pb = pa + 12;
        pc = pb + 13;
        pend = pc + 14;
        len1 = 12 + 13 + 14 + 8;
        mem.files.Put("db.dat", b.Build());
    }
    Bytes Disk() { return mem.files.Get("db.dat"); }
    std::vector<Bytes> File1() { return ReadAll("db.dat", 1); }
};

const std::vector<Bytes> kOriginal = {B("alpha"), B("bravo!"), B("charlie")};

}  // namespace

TEST_F(Editing, DeleteMarksTheRecordAndShortensTheLogicalFile)
{
    {
        WFile f("db.dat");
        EXPECT_EQ(f.EditRecords(1, 1, rec, 0, pb), pb);
    }
    b.SetFlags(pb, kDeleted);
    b.SetEntry(1, pa, len1 - 13);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("alpha"), B("charlie")}));
}

TEST_F(Editing, ReplaceWritesTheNewRecordAtTheDataEndAndLinksTheOldOneToIt)
{
    Fill(rec, "BRAVO-2");
    uint32_t at;
    {
        WFile f("db.dat");
        at = f.EditRecords(2, 1, rec, pc, pb);
    }
    EXPECT_EQ(at, b.Record(B("BRAVO-2"), 0, pc));
    b.SetFlags(pb, kDeleted);
    b.SetLink(pb, at);
    b.SetEntry(1, pa, len1 + 14 - 13);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("alpha"), B("BRAVO-2"), B("charlie")}));
}

TEST_F(Editing, InsertAfterARecordAndAtTheFront)
{
    Fill(rec, "a2");
    uint32_t mid, front;
    {
        WFile f("db.dat");
        mid = f.EditRecords(3, 1, rec, pb, pa);
        Fill(rec, "zero");
        front = f.EditRecords(3, 1, rec, pa, NoLink);
    }
    EXPECT_EQ(mid, b.Record(B("a2"), 0, pb));
    EXPECT_EQ(front, b.Record(B("zero"), 0, pa));
    b.SetLink(pa, mid);
    b.SetEntry(1, front, len1 + 9 + 11);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("zero"), B("alpha"), B("a2"), B("bravo!"), B("charlie")}));
}

TEST_F(Editing, RewriteKeepsThePlaceAndRefusesDeletedRecordsAndOtherLengths)
{
    WFile f("db.dat");
    Fill(rec, "BRAVO!");
    EXPECT_EQ(f.EditRecords(4, 1, rec, 0, pb), pb);
    Fill(rec, "longer bravo");
    ZError e = CatchZError([&] { f.EditRecords(4, 1, rec, 0, pb); });
    EXPECT_EQ(e.Number(), 16);
    EXPECT_EQ(e.Message(), "db.dat");
    f.EditRecords(1, 1, rec, 0, pc);
    Fill(rec, "CHARLIE");
    EXPECT_EQ(CatchZError([&] { f.EditRecords(4, 1, rec, 0, pc); }).Number(), 8);
    EXPECT_EQ(ReadAll(f, 1), (std::vector<Bytes>{B("alpha"), B("BRAVO!")}));
}

TEST_F(Editing, RewriteOrReplaceChoosesByLength)
{
    {
        WFile f("db.dat");
        Fill(rec, "ALPHA");
        EXPECT_EQ(f.EditRecords(5, 1, rec, 0, pa), pa);
        Fill(rec, "c");
        EXPECT_EQ(f.EditRecords(5, 1, rec, 0, pc), b.Here());
    }
    const uint32_t at = b.Record(B("c"), 0, pend);  // the old record had no link: its successor follows it
    b.SetFlags(pc, kDeleted);
    b.SetLink(pc, at);
    b.SetEntry(1, pa, len1 + 8 - 14);
    Bytes expected = b.Build();
    std::memcpy(expected.data() + pa + 7, "ALPHA", 5);
    EXPECT_EQ(Disk(), expected);
}

TEST_F(Editing, ChainOperationsWriteARunAtTheDataEndAndLinkItIn)
{
    const uint32_t first = b.Here();
    {
        WFile f("db.dat");
        Fill(rec, "x");
        f.EditRecords(6, 1, rec, 0, 0);
        Fill(rec, "yy");
        f.EditRecords(7, 1, rec, 0, 0);
        Fill(rec, "zzz");
        f.EditRecords(8, 1, rec, pb, pa);
        EXPECT_EQ(f.DataEnd(), first + 8 + 9 + 10);
    }
    b.Record(B("x"));
    b.Record(B("yy"));
    b.Record(B("zzz"), 0, pb);
    b.SetLink(pa, first);
    b.SetEntry(1, pa, len1 + 27);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("alpha"), B("x"), B("yy"), B("zzz"), B("bravo!"), B("charlie")}));
}

TEST_F(Editing, MoveNextRecordAndMoveRecordRelinkWithoutWritingData)
{
    {
        WFile f("db.dat");
        EXPECT_EQ(f.MoveNextRecord(1, pa, pc), pb);  // bravo! moves behind charlie
        EXPECT_EQ(f.MoveNextRecord(1, pa, pa), pc) << "nothing to move";
    }
    b.SetLink(pa, pc);
    b.SetLink(pb, pend);
    b.SetLink(pc, pb);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("alpha"), B("charlie"), B("bravo!")}));

    {
        WFile f("db.dat");
        f.MoveRecord(1, 0, pb, pc, pa);  // the run alpha..charlie moves behind bravo!
    }
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("bravo!"), B("alpha"), B("charlie")}));

    // Behind its own predecessor or its own last record a run stays where it is.
    const Bytes moved = Disk();
    {
        WFile f("db.dat");
        f.MoveRecord(1, pb, pb, pc, pa);
        f.MoveRecord(1, pb, pc, pc, pa);
    }
    EXPECT_EQ(Disk(), moved);
}

TEST_F(Editing, ReplaceRecordsSplicesTheNewRecordInPlaceOfARun)
{
    Fill(rec, "B2");
    uint32_t at;
    {
        WFile f("db.dat");
        at = f.ReplaceRecords(1, rec, pa, pb, pb);
    }
    EXPECT_EQ(at, b.Record(B("B2"), 0, pb));
    b.SetFlags(pb, kDeleted);
    b.SetLink(pb, pc);
    b.SetLink(pa, at);
    b.SetEntry(1, pa, len1 + 9 - 13);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("alpha"), B("B2"), B("charlie")}));
}

TEST_F(Editing, AppendRecordLinksBehindTheLastDataRecordOrTheEntry)
{
    uint32_t first0, last1;
    {
        WFile f("db.dat");
        Fill(rec, "d");
        f.AppendRecord(1, rec);
        Fill(rec, "only");
        f.AppendRecord(0, rec);
    }
    last1 = b.Record(B("d"), 0, pend);
    b.SetLink(pc, last1);
    b.SetEntry(1, pa, len1 + 8);
    first0 = b.Record(B("only"), 0, 8 + 16);  // the end record of logical file 0 as created
    b.SetEntry(0, first0, 8 + 11);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(ReadAll("db.dat", 0), std::vector<Bytes>{B("only")});
}

TEST_F(Editing, AppendLogicalFileCopiesASimpleFileIntoTheChain)
{
    mem.files.Put("more.lst", SimpleFile({B("p"), B("qq")}));
    mem.files.Put("none.lst", SimpleFile({}));
    {
        WFile f("db.dat");
        f.AppendLogicalFile(1, "more.lst");
        const Bytes before = mem.files.Get("db.dat");
        f.AppendLogicalFile(1, "none.lst");
        EXPECT_EQ(mem.files.Get("db.dat"), before) << "an empty source changes nothing";
    }
    const uint32_t p = b.Record(B("p"));
    b.Record(B("qq"), 0, pend);
    b.SetLink(pc, p);
    b.SetEntry(1, pa, len1 + 8 + 9);
    EXPECT_EQ(Disk(), b.Build());
    EXPECT_EQ(File1(), (std::vector<Bytes>{B("alpha"), B("bravo!"), B("charlie"), B("p"), B("qq")}));
}

TEST_F(Editing, ClearWritesTheLengthAndAnEndRecordOverTheFirstRecord)
{
    {
        WFile f("db.dat");
        f.ClearLogicalFile(1);
        EXPECT_EQ(f.EntryLength(1), 8u);
    }
    b.SetEntry(1, pa, 8);
    Bytes expected = b.Build();
    const Bytes end = EndRecordBytes();
    std::memcpy(expected.data() + pa, end.data(), 8);
    EXPECT_EQ(Disk(), expected);
    EXPECT_EQ(File1(), std::vector<Bytes>{});
}

TEST_F(Editing, EditingRefusesWrongNumbersReadOnlyFilesAndPositionsOutsideTheData)
{
    const Bytes before = Disk();
    {
        WFile f("db.dat");
        Fill(rec, "x1");
        EXPECT_EQ(CatchZError([&] { f.EditRecords(3, 2, rec, pa, NoLink); }).Message(),
                  "Для файла db.dat неверен номер лог. файла 2");
        EXPECT_EQ(CatchZError([&] { f.ClearLogicalFile(2); }).Message(), "Для файла db.dat неверен номер лог. файла 2");
        EXPECT_EQ(CatchZError([&] { f.EditRecords(1, 1, rec, 0, f.DataEnd() + 3); }).Number(), 0);
        EXPECT_EQ(CatchZError([&] { f.EditRecords(2, 1, rec, pc, 4); }).Number(), 0);
    }
    {
        WFile f("db.dat", true);
        EXPECT_EQ(CatchZError([&] { f.EditRecords(1, 1, rec, 0, pb); }).Number(), 18);
        EXPECT_EQ(CatchZError([&] { f.ClearLogicalFile(1); }).Number(), 18);
        EXPECT_EQ(CatchZError([&] { f.EditRecords(4, 1, rec, 0, pb); }).Message(),
                  "Файл db.dat не открыт только для чтения/записи");
    }
    EXPECT_EQ(Disk(), before);
    EXPECT_EQ(File1(), kOriginal);
}
