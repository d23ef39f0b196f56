// In-place edits through one object after another object of the same file committed or edited:
// every edit writes behind the other's records at the data end as it stands on disk and takes its
// logical file's entry from there; and an edit while another writer holds the file is refused and
// changes nothing.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

using Records = std::vector<Bytes>;

const char kBusy[] = "Файл db.dat сейчас записывает другая программа; повторите запись позже";

struct Edit {
    const char *name;
    std::function<void(WFile &)> run;
    Records file1;  // logical file 1 afterwards
};

// Logical file 0 holds the stamp, 1 alpha, bravo!, charlie at pa, pb, pc, 2 two a, two b; 3 is empty.
class EditWriters : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    uint32_t pa = 0, pb = 0, pc = 0;
    Bytes original;
    WRec rec;

    void SetUp() override
    {
        auto b = CompoundFileBuilder::Created(4);
        b.Commit(0, {B("5-3.1.1")});
        pa = b.Commit(1, {B("alpha"), B("bravo!"), B("charlie")});
        pb = pa + 12;
        pc = pb + 13;
        b.Commit(2, {B("two a"), B("two b")});
        original = b.Build();
        mem.files.Put("more.lst", SimpleFile({B("p"), B("qq")}));
    }
    Bytes Disk() { return mem.files.Get("db.dat"); }
    WRec &Rec(const std::string &text)
    {
        Fill(rec, text);
        return rec;
    }

    // Every kind of edit of logical file 1 by record positions, with what logical file 1 then holds.
    std::vector<Edit> Edits()
    {
        return {
            {"delete", [&](WFile &f) { f.EditRecords(1, 1, rec, 0, pb); }, {B("alpha"), B("charlie")}},
            {"replace",
             [&](WFile &f) { f.EditRecords(2, 1, Rec("BRAVO-2"), pc, pb); },
             {B("alpha"), B("BRAVO-2"), B("charlie")}},
            {"insert",
             [&](WFile &f) { f.EditRecords(3, 1, Rec("a2"), pb, pa); },
             {B("alpha"), B("a2"), B("bravo!"), B("charlie")}},
            {"rewrite or replace",
             [&](WFile &f) { f.EditRecords(5, 1, Rec("c"), 0, pc); },
             {B("alpha"), B("bravo!"), B("c")}},
            {"a chain linked in",
             [&](WFile &f) {
                 f.EditRecords(6, 1, Rec("x"), 0, 0);
                 f.EditRecords(7, 1, Rec("yy"), 0, 0);
                 f.EditRecords(8, 1, Rec("zzz"), pb, pa);
             },
             {B("alpha"), B("x"), B("yy"), B("zzz"), B("bravo!"), B("charlie")}},
            {"insert at the front",
             [&](WFile &f) { f.InsertRecordAfter(1, 0, Rec("front")); },
             {B("front"), B("alpha"), B("bravo!"), B("charlie")}},
            {"replace records",
             [&](WFile &f) { f.ReplaceRecords(1, Rec("X"), pa, pb, pc); },
             {B("alpha"), B("X"), B("charlie")}},
            {"move a record",
             [&](WFile &f) { f.MoveRecord(1, 0, pc, pa, pa); },
             {B("bravo!"), B("charlie"), B("alpha")}},
            {"move the next record",
             [&](WFile &f) { f.MoveNextRecord(1, pa, pc); },
             {B("alpha"), B("charlie"), B("bravo!")}},
            {"append a record",
             [&](WFile &f) { f.AppendRecord(1, Rec("d")); },
             {B("alpha"), B("bravo!"), B("charlie"), B("d")}},
            {"append a simple file",
             [&](WFile &f) { f.AppendLogicalFile(1, "more.lst"); },
             {B("alpha"), B("bravo!"), B("charlie"), B("p"), B("qq")}},
            {"clear", [&](WFile &f) { f.ClearLogicalFile(1); }, {}},
            {"set the first record", [&](WFile &f) { f.SetFirstRecord(1, pb); }, {B("bravo!"), B("charlie")}},
        };
    }
};

// Bytes of logical file n's chain as its directory entry should count them.
uint32_t ChainLength(const Records &records)
{
    uint32_t length = 8;
    for (const Bytes &r : records)
        length += 7 + static_cast<uint32_t>(r.size());
    return length;
}

}  // namespace

TEST_F(EditWriters, AnEditAfterAnotherObjectsCommitOrEditWritesBehindIt)
{
    const std::vector<std::pair<const char *, std::function<void(WFile &)>>> others = {
        {"a commit",
         [](WFile &a) {
             a.BeginWrite(3);
             a.WriteRecord(0, 5, "a's 1");
             a.WriteRecord(0, 5, "a's 2");
             a.EndWrite(3, true);
         }},
        {"an edit",
         [&](WFile &a) {
             a.InsertRecordAfter(3, 0, Rec("a's 1"));
             a.AppendRecord(3, Rec("a's 2"));
         }},
    };
    for (const auto &[otherName, other] : others) {
        for (const Edit &edit : Edits()) {
            SCOPED_TRACE(std::string(otherName) + " through one object, then " + edit.name + " through the other");
            mem.files.Put("db.dat", original);
            {
                WFile a("db.dat"), b("db.dat");
                other(a);
                edit.run(b);
                EXPECT_EQ(b.DataEnd(), Disk().size());
            }
            WFile f("db.dat", true);
            EXPECT_EQ(ReadAll(f, 0), Records{B("5-3.1.1")});
            EXPECT_EQ(ReadAll(f, 1), edit.file1);
            EXPECT_EQ(ReadAll(f, 2), (Records{B("two a"), B("two b")}));
            EXPECT_EQ(ReadAll(f, 3), (Records{B("a's 1"), B("a's 2")}));
            EXPECT_EQ(f.EntryLength(3), ChainLength({B("a's 1"), B("a's 2")}));
            EXPECT_FALSE(mem.files.Exists("db.dat$$"));
        }
    }
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST_F(EditWriters, AnEditTakesTheEntryThatAnotherObjectWroteSinceItsOpening)
{
    const Records fresh = {B("new 1"), B("new 2")};
    const std::vector<Edit> edits = {
        {"append a record", [&](WFile &f) { f.AppendRecord(1, Rec("d")); }, {B("new 1"), B("new 2"), B("d")}},
        {"append a simple file",
         [&](WFile &f) { f.AppendLogicalFile(1, "more.lst"); },
         {B("new 1"), B("new 2"), B("p"), B("qq")}},
        {"insert at the front",
         [&](WFile &f) { f.InsertRecordAfter(1, 0, Rec("front")); },
         {B("front"), B("new 1"), B("new 2")}},
        {"clear", [&](WFile &f) { f.ClearLogicalFile(1); }, {}},
    };
    for (const Edit &edit : edits) {
        SCOPED_TRACE(edit.name);
        mem.files.Put("db.dat", original);
        {
            WFile a("db.dat"), b("db.dat");
            a.BeginWrite(1);
            for (const Bytes &r : fresh)
                a.WriteRecord(0, static_cast<uint32_t>(r.size()), r.data());
            a.EndWrite(1, true);
            edit.run(b);
        }
        WFile f("db.dat", true);
        EXPECT_EQ(ReadAll(f, 1), edit.file1);
        EXPECT_EQ(f.EntryLength(1), ChainLength(edit.file1));
        EXPECT_EQ(ReadAll(f, 2), (Records{B("two a"), B("two b")}));
    }
}

TEST_F(EditWriters, AnEditWhileAnotherWriterHoldsTheFileIsRefusedAndChangesNothing)
{
    const std::vector<std::pair<const char *, std::function<void(WFile &)>>> holders = {
        {"a logical file being written",
         [](WFile &a) {
             a.BeginWrite(3);
             a.WriteRecord(0, 4, "held");
         }},
        {"a chain not yet linked in", [&](WFile &a) { a.EditRecords(6, 3, Rec("chain"), 0, 0); }},
    };
    for (const auto &[holderName, hold] : holders) {
        for (const Edit &edit : Edits()) {
            SCOPED_TRACE(std::string(edit.name) + " while another object holds " + holderName);
            mem.files.Put("db.dat", original);
            WFile a("db.dat"), b("db.dat");
            hold(a);
            const Bytes before = Disk();
            const ZError e = CatchZError([&] { edit.run(b); });
            EXPECT_EQ(e.Number(), 0);
            EXPECT_EQ(e.Message(), kBusy);
            EXPECT_EQ(Disk(), before);
            EXPECT_EQ(CatchZError([&] { b.BeginWrite(2); }).Message(), kBusy);
            EXPECT_EQ(Disk(), before);
        }
    }
    TakeWFileCloseFailures();  // the holders' logical files, committed as their objects closed
}

TEST_F(EditWriters, AChainHoldsTheFileUntilItIsLinkedIn)
{
    mem.files.Put("db.dat", original);
    {
        WFile a("db.dat"), b("db.dat");
        a.EditRecords(6, 3, Rec("one"), 0, 0);
        EXPECT_EQ(CatchZError([&] { a.BeginWrite(2); }).Message(),
                  "Для файла db.dat не завершена цепочка записей (операции 6 и 7 без 8): запись лог. файла 2 "
                  "невозможна");
        a.EditRecords(7, 3, Rec("two"), 0, 0);
        // The chain lies at the data end: a new record of the same object would go over it.
        const Bytes building = Disk();
        EXPECT_EQ(CatchZError([&] { a.AppendRecord(2, Rec("later")); }).Message(),
                  "Для файла db.dat не завершена цепочка записей (операции 6 и 7 без 8): запись в лог. файл 2 "
                  "невозможна");
        EXPECT_EQ(CatchZError([&] { a.ReplaceRecords(1, Rec("X"), pa, pb, pc); }).Number(), 0);
        EXPECT_EQ(Disk(), building);
        EXPECT_EQ(CatchZError([&] { b.AppendRecord(2, Rec("later")); }).Message(), kBusy);
        const uint32_t end3 = 8 + 8 * 4 + 8 * 3;  // logical file 3's end record, as created
        a.EditRecords(8, 3, Rec("three"), end3, NoLink);
        b.AppendRecord(2, Rec("later"));
    }
    EXPECT_EQ(ReadAll("db.dat", 3), (Records{B("one"), B("two"), B("three")}));
    EXPECT_EQ(ReadAll("db.dat", 2), (Records{B("two a"), B("two b"), B("later")}));
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));

    // A chain never linked in is dead space once its object closes, and holds nothing.
    {
        WFile a("db.dat");
        a.EditRecords(6, 1, Rec("lost"), 0, 0);
    }
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
    {
        WFile b("db.dat");
        b.AppendRecord(1, Rec("d"));
    }
    EXPECT_EQ(ReadAll("db.dat", 1), (Records{B("alpha"), B("bravo!"), B("charlie"), B("d")}));
}
