// The data end is a 32-bit position: commits and edits that would carry it past 4 GB are refused
// before the main file is written, on a file that keeps only the bytes written to it.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/SparseFiles.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

constexpr uint32_t kNearEnd = 0xFFFFFF00u;

// Logical file 1 holds alpha, bravo at pa, pb; the data end lies at kNearEnd behind dead space.
class NearFourGigabytes : public ::testing::Test {
protected:
    SparseFiles files;
    uint32_t pa = 0, pb = 0;
    WRec rec;

    void SetUp() override
    {
        CompoundFileBuilder b = CompoundFileBuilder::Created(3);
        pa = b.Commit(1, {B("alpha"), B("bravo")});
        pb = pa + 12;
        b.SetDataEnd(kNearEnd);
        files.Put("db.dat", kNearEnd, 0, b.Build());
        files.Put("more.lst", 0, 0, SimpleFile({Filled(100, 1), Filled(200, 2)}));
    }

    // The operation (after the steps of prepare, which fit) is refused with the 4 GB error and
    // writes nothing into db.dat.
    void ExpectRefused(
        const std::function<void(WFile &)> &operation, const std::function<void(WFile &)> &prepare = [](WFile &) {})
    {
        const std::vector<Bytes> before = ReadAll("db.dat", 1);
        {
            WFile f("db.dat");
            prepare(f);
            const uint32_t writes = files.WritesTo("db.dat"), end = f.DataEnd();
            ZError e = CatchZError([&] { operation(f); });
            EXPECT_NE(e.Message().find("4 Гбайт"), std::string::npos) << e.Message();
            EXPECT_EQ(f.DataEnd(), end);
            EXPECT_EQ(files.WritesTo("db.dat"), writes) << "nothing was written";
        }
        EXPECT_LE(files.SizeOf("db.dat"), 0xFFFFFFFFu);
        EXPECT_EQ(LinkPastTheDataEnd(), "");
    }

    // A record of logical file 1 lying beyond the data end ("" when none).
    std::string LinkPastTheDataEnd()
    {
        WFile f("db.dat", true);
        try {
            ReadAll(f, 1);
        } catch (const ZError &e) {
            return e.Message();
        }
        return "";
    }
};

}  // namespace

TEST_F(NearFourGigabytes, ACommitPastFourGigabytesIsRefusedOneUpToItIsTaken)
{
    ExpectRefused([&](WFile &f) {
        f.BeginWrite(2);
        f.WriteRecord(0, 241, Filled(241, 3).data());  // 248 + the end record's 8: one byte too many
        f.EndWrite(2, true);
    });
    EXPECT_EQ(ReadAll("db.dat", 2), std::vector<Bytes>{});
    {
        WFile f("db.dat");
        f.BeginWrite(2);
        f.WriteRecord(0, 240, Filled(240, 4).data());
        f.EndWrite(2, true);
        EXPECT_EQ(f.DataEnd(), 0xFFFFFFFFu);
    }
    EXPECT_EQ(ReadAll("db.dat", 2), std::vector<Bytes>{Filled(240, 4)});
}

TEST_F(NearFourGigabytes, EditsPastFourGigabytesAreRefused)
{
    const Bytes big = Filled(250, 5);
    const std::string text(big.begin(), big.end());
    ExpectRefused([&](WFile &f) { f.EditRecords(2, 1, (Fill(rec, text), rec), pb + 12, pb); });
    ExpectRefused([&](WFile &f) { f.EditRecords(3, 1, (Fill(rec, text), rec), pb, pa); });
    ExpectRefused([&](WFile &f) { f.EditRecords(8, 1, (Fill(rec, text), rec), pb, pa); });
    ExpectRefused([&](WFile &f) { f.ReplaceRecords(1, (Fill(rec, text), rec), pa, pb, pb); });
    ExpectRefused([&](WFile &f) { f.AppendRecord(1, (Fill(rec, text), rec)); });
    // The first record of the source would fit, the second not.
    ExpectRefused([&](WFile &f) { f.AppendLogicalFile(1, "more.lst"); });
    // A chain begun beyond the data end cannot be continued past 4 GB.
    ExpectRefused([&](WFile &f) { f.EditRecords(7, 1, rec, 0, 0); },
                  [&](WFile &f) { f.EditRecords(6, 1, (Fill(rec, std::string(200, 'c')), rec), 0, 0); });
    EXPECT_EQ(ReadAll("db.dat", 1), (std::vector<Bytes>{B("alpha"), B("bravo")}));
}

TEST_F(NearFourGigabytes, AnEditUpToFourGigabytesIsTaken)
{
    {
        WFile f("db.dat");
        Fill(rec, std::string(0xFF - 7, 'd'));  // ends exactly at 4 GB - 1
        EXPECT_EQ(f.EditRecords(3, 1, rec, pb, pa), kNearEnd);
        EXPECT_EQ(f.DataEnd(), 0xFFFFFFFFu);
    }
    EXPECT_EQ(ReadAll("db.dat", 1), (std::vector<Bytes>{B("alpha"), B(std::string(0xFF - 7, 'd')), B("bravo")}));
}

TEST(SimpleFileNearFourGigabytes, AppendingPastFourGigabytesIsRefused)
{
    SparseFiles files;
    files.Put("list.lst", kNearEnd, kNearEnd - 8, EndRecordBytes());
    {
        WFile f("list.lst", SimpleMode::Append);
        const Bytes big = Filled(300, 6);
        ZError e = CatchZError([&] { f.WriteRecord(0, 300, big.data()); });
        EXPECT_NE(e.Message().find("4 Гбайт"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(files.SizeOf("list.lst"), kNearEnd);
    EXPECT_EQ(files.Read("list.lst", kNearEnd - 8, 8), EndRecordBytes());
}
