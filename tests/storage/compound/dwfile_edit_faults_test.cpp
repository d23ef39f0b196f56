// Editing the main file in place when a step fails: every write and every reopen of each operation
// is made to fail in turn (a full disk, a killed program, another program holding the file), and the
// file left behind is checked: no chain reaches past the data end, every logical file reads as before
// or as after (or as one of the few states an operation names, never one that lost an unmoved
// record), also once the next record has been written at the data end.
#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/FaultyStore.h"
#include "tests/support/MemFiles.h"

using namespace testdata;
using namespace wfiletest;

namespace {

uint32_t U32(const Bytes &b, uint32_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

// Walks every chain of the file as stored, deleted records included, and reports the first record
// that does not lie whole below the data end ("" when none).
std::string LinkPastTheDataEnd(const Bytes &file)
{
    const uint32_t dataEnd = U32(file, 0), count = U32(file, 4);
    for (uint32_t n = 0; n < count; ++n) {
        std::set<uint32_t> seen;
        uint32_t at = U32(file, 8 + 8 * n);
        for (;;) {
            if (uint64_t(at) + 7 > dataEnd)
                return "logical file " + std::to_string(n) + " reaches " + std::to_string(at) + ", data end " +
                       std::to_string(dataEnd);
            const uint32_t length = file[at + 5] | (file[at + 6] << 8);
            if (uint64_t(at) + 7 + length > dataEnd)
                return "record at " + std::to_string(at) + " of logical file " + std::to_string(n) +
                       " runs past the data end " + std::to_string(dataEnd);
            if ((length == 1 && file[at + 7] == 0x40) || !seen.insert(at).second)
                break;
            const uint32_t link = U32(file, at + 1);
            at = link != kNoLink ? link : at + 7 + length;
        }
    }
    return "";
}

using Contents = std::vector<std::vector<Bytes>>;  // the records of each logical file

std::string Texts(const std::vector<Bytes> &records)
{
    std::string all;
    for (const Bytes &r : records)
        all += std::string(r.begin(), r.end()) + " ";
    return all;
}

// Logical file 0 holds "zero", logical file 1 alpha, bravo!, charlie at pa, pb, pc (its end record at
// pend), logical file 2 is empty (its end record at end2).
class EditFaults : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    FaultyStoreSystem faulty{mem.files};
    CompoundFileBuilder b = CompoundFileBuilder::Created(3);
    uint32_t pa = 0, pb = 0, pc = 0, pend = 0, end2 = 0;
    Bytes original;

    void SetUp() override
    {
        b.Commit(0, {B("zero")});
        pa = b.Commit(1, {B("alpha"), B("bravo!"), B("charlie")});
        pb = pa + 12;
        pc = pb + 13;
        pend = pc + 14;
        end2 = b.DataStart() + 16;  // as created
        original = b.Build();
        mem.files.Put("more.lst", SimpleFile({B("p"), B("qq")}));
    }

    Contents Read()
    {
        WFile f("db.dat", true);
        return {ReadAll(f, 0), ReadAll(f, 1), ReadAll(f, 2)};
    }

    static WRec &Rec(WRec &rec, const std::string &text)
    {
        Fill(rec, text);
        return rec;
    }

    // Runs the operation once whole, then once for each write and each open of db.dat it makes,
    // with that one and everything after it failing. Logical file 1 may also read as one of `between`.
    void Sweep(const std::function<void(WFile &)> &operation, const std::vector<std::vector<Bytes>> &between = {})
    {
        mem.files.Put("db.dat", original);
        const Contents before = Read();
        faulty.CountStepsOf("db.dat");
        {
            WFile f("db.dat");
            operation(f);
        }
        const uint32_t writes = faulty.Writes(), opens = faulty.Opens();
        ASSERT_GT(writes, 0u);
        const Contents after = Read();
        ASSERT_NE(before, after);

        for (int kind = 0; kind < 2; ++kind) {
            const uint32_t steps = kind == 0 ? writes : opens;
            for (uint32_t k = 1; k <= steps; ++k) {
                SCOPED_TRACE((kind == 0 ? "failing write " : "failing open ") + std::to_string(k));
                mem.files.Put("db.dat", original);
                faulty.CountStepsOf("db.dat", kind == 0 ? k : 0, kind == 1 ? k : 0);
                bool failed = false;
                try {
                    WFile f("db.dat");
                    operation(f);
                } catch (const ZError &) {
                    failed = true;
                }
                faulty.CountStepsOf("");
                EXPECT_TRUE(failed);
                EXPECT_EQ(LinkPastTheDataEnd(mem.files.Get("db.dat")), "");
                const Contents now = Read();
                for (int n = 0; n < 3; ++n)
                    EXPECT_TRUE(now[n] == before[n] || now[n] == after[n] ||
                                (n == 1 && std::find(between.begin(), between.end(), now[n]) != between.end()))
                        << "logical file " << n << ": " << Texts(now[n]);
                // The next record written at the data end belongs to logical file 0 alone.
                {
                    WFile f("db.dat");
                    WRec rec;
                    f.AppendRecord(0, Rec(rec, "next"));
                }
                EXPECT_EQ(LinkPastTheDataEnd(mem.files.Get("db.dat")), "");
                const Contents later = Read();
                std::vector<Bytes> zero = now[0];
                zero.push_back(B("next"));
                EXPECT_EQ(later[0], zero);
                EXPECT_EQ(later[1], now[1]);
                EXPECT_EQ(later[2], now[2]);
            }
        }
    }
};

}  // namespace

TEST_F(EditFaults, ReplaceAndRewriteOrReplace)
{
    WRec rec;
    Sweep([&](WFile &f) { f.EditRecords(2, 1, Rec(rec, "BRAVO-2"), pc, pb); });
    Sweep([&](WFile &f) { f.EditRecords(5, 1, Rec(rec, "c"), 0, pc); });
}

TEST_F(EditFaults, InsertBehindARecordAndAtTheFront)
{
    WRec rec;
    Sweep([&](WFile &f) { f.EditRecords(3, 1, Rec(rec, "a2"), pb, pa); });
    Sweep([&](WFile &f) { f.EditRecords(3, 1, Rec(rec, "front"), pa, NoLink); });
    Sweep([&](WFile &f) { f.InsertRecordAfter(1, pc, Rec(rec, "d")); });
}

TEST_F(EditFaults, AChainBuiltAtTheDataEndAndLinkedIn)
{
    WRec rec;
    Sweep([&](WFile &f) {
        f.EditRecords(6, 1, Rec(rec, "x"), 0, 0);
        f.EditRecords(7, 1, Rec(rec, "yy"), 0, 0);
        f.EditRecords(8, 1, Rec(rec, "zzz"), pb, pa);
    });
    Sweep([&](WFile &f) { f.EditRecords(8, 2, Rec(rec, "only"), end2, NoLink); });
}

TEST_F(EditFaults, AppendingARecordAndASimpleFile)
{
    WRec rec;
    Sweep([&](WFile &f) { f.AppendRecord(1, Rec(rec, "d")); });
    Sweep([&](WFile &f) { f.AppendRecord(2, Rec(rec, "first")); });
    Sweep([&](WFile &f) { f.AppendLogicalFile(1, "more.lst"); });
    Sweep([&](WFile &f) { f.AppendLogicalFile(2, "more.lst"); });
}

TEST_F(EditFaults, ReplaceRecordsLosesNoRecord)
{
    WRec rec;
    Sweep([&](WFile &f) { f.ReplaceRecords(1, Rec(rec, "B2"), pa, pb, pa); });
    // b equal to c: the old record may still be read behind its replacement.
    Sweep([&](WFile &f) { f.ReplaceRecords(1, Rec(rec, "B2"), pa, pb, pb); },
          {{B("alpha"), B("B2"), B("bravo!"), B("charlie")}});
    Sweep([&](WFile &f) { f.ReplaceRecords(1, Rec(rec, "A2"), 0, pa, pb); });

    // R1 to R5 replaced at R2 up to R4.
    CompoundFileBuilder five = CompoundFileBuilder::Created(3);
    five.Commit(0, {B("zero")});
    const uint32_t r1 = five.Commit(1, {B("R1"), B("R2"), B("R3"), B("R4"), B("R5")});
    original = five.Build();
    const auto replace = [&](WFile &f) { f.ReplaceRecords(1, Rec(rec, "X"), r1, r1 + 9, r1 + 27); };
    mem.files.Put("db.dat", original);
    {
        WFile f("db.dat");
        replace(f);
    }
    EXPECT_EQ(Read()[1], (std::vector<Bytes>{B("R1"), B("X"), B("R3"), B("R4"), B("R5")}));
    Sweep(replace);
}

TEST_F(EditFaults, MovesLeaveAtMostTheMovedRecordsOutAndNeverARing)
{
    Sweep([&](WFile &f) { f.MoveNextRecord(1, pa, pc); }, {{B("alpha"), B("charlie")}});
    Sweep([&](WFile &f) { f.MoveNextRecord(1, pb, 0); }, {{B("alpha"), B("bravo!")}});
    Sweep([&](WFile &f) { f.MoveRecord(1, 0, pc, pb, pa); }, {{B("charlie")}});
    Sweep([&](WFile &f) { f.MoveRecord(1, pa, 0, pc, pb); }, {{B("alpha")}});
}
