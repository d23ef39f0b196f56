// Creating compound files, measuring their dead space and packing them, byte for byte against files
// built by hand; packing that fails keeps the original.
#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "storage/utilities/dutilfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/FaultyStore.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ShownMessages.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

using ShownErrors = TShownMessages;

uint32_t U32(const Bytes &b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

// Every logical file's records, in chain order.
std::vector<std::vector<Bytes>> Contents(const AnsiString &name)
{
    WFile f(name, true);
    std::vector<std::vector<Bytes>> all;
    for (uint32_t i = 0; i < f.FileCount(); ++i)
        all.push_back(ReadAll(f, i));
    return all;
}

class Pack : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    Bytes Disk(const AnsiString &name = "db.dat") { return mem.files.Get(name); }
};

}  // namespace

TEST_F(Pack, NewFileOfThreeIsFiftySixBytesAndCompact)
{
    CreateCompoundFile("db.dat", 3, nullptr);
    const Bytes disk = Disk();
    EXPECT_EQ(disk, CompoundFileBuilder::Created(3).Build());
    ASSERT_EQ(disk.size(), 56u);
    EXPECT_EQ(U32(disk, 0), 56u);
    EXPECT_EQ(U32(disk, 8), 32u);
    EXPECT_EQ(U32(disk, 24), 48u);
    EXPECT_TRUE(IsCompactFile("db.dat"));
    EXPECT_EQ(DeadSpacePercent("db.dat"), 0);
}

TEST_F(Pack, VersionLeavesTheFirstEndRecordDeadAndPackingRemovesIt)
{
    CreateCompoundFile("db.dat", 3, "5-3.1.1.00");  // 10 bytes
    Bytes disk = Disk();
    ASSERT_EQ(disk.size(), 81u);
    EXPECT_EQ(U32(disk, 8), 56u);
    EXPECT_EQ(U32(disk, 12), 25u);
    EXPECT_FALSE(IsCompactFile("db.dat"));
    EXPECT_EQ(DeadSpacePercent("db.dat"), 17);  // 100 - trunc(41 * 100 / 49)

    EXPECT_FALSE(PackCompoundFile("db.dat", 20));
    EXPECT_EQ(Disk(), disk) << "below the threshold nothing changes";

    EXPECT_TRUE(PackCompoundFile("db.dat", 10));
    disk = Disk();
    ASSERT_EQ(disk.size(), 73u);
    EXPECT_EQ(U32(disk, 0), 73u);
    EXPECT_EQ(U32(disk, 8), 32u);
    EXPECT_EQ(U32(disk, 12), 25u);
    EXPECT_EQ(DeadSpacePercent("db.dat"), 0);
    EXPECT_FALSE(mem.files.Exists("db.dat$"));
    WFile f("db.dat", true);
    EXPECT_EQ(f.ReadVersion(), 0x401u);
}

TEST_F(Pack, RewritesMakeDeadSpaceAndPackingKeepsEveryLogicalFile)
{
    CreateCompoundFile("db.dat", 4, "5-3.1.1");
    const Bytes big = Filled(3000, 5);
    {
        WFile f("db.dat");
        for (int round = 0; round < 3; ++round) {
            f.BeginWrite(1);
            f.WriteRecord(0, 3000, big.data());
            f.WriteRecord(0, 5, round == 2 ? "last!" : "older");
            f.EndWrite(1, true);
        }
        f.BeginWrite(3);
        f.WriteRecord(0, 2, "x3");
        f.EndWrite(3, true);
    }
    // Two replaced chains of logical file 1 and the end records that 0, 1 and 3 were created with.
    WFile measured("db.dat", true);
    const DeadSpace space = MeasureDeadSpace(measured);
    EXPECT_EQ(space.Dead(), 2u * (7 + 3000 + 7 + 5 + 8) + 3 * 8);
    EXPECT_EQ(DeadSpacePercent("db.dat"), space.Percent());
    EXPECT_GT(space.Percent(), 60);

    const auto before = Contents("db.dat");
    EXPECT_TRUE(PackCompoundFile("db.dat", 50));
    EXPECT_EQ(Contents("db.dat"), before);
    EXPECT_TRUE(IsCompactFile("db.dat"));
    EXPECT_EQ(Disk().size(), U32(Disk(), 0)) << "the data end is the file's length";
}

TEST_F(Pack, DeletedRecordsAndLinksDisappear)
{
    auto b = CompoundFileBuilder::Created(2);
    // Logical file 0: "a", a deleted record, then a link to "c" placed behind some garbage.
    const uint32_t first = b.Record(B("a"));
    b.Record(B("gone"), kDeleted);
    const uint32_t jump = b.Record(B("b"));
    b.Gap(B("garbage"));
    const uint32_t c = b.Record(B("c"));
    b.EndRecord();
    b.SetLink(jump, c);
    b.SetEntry(0, first, b.Here() - first);
    mem.files.Put("db.dat", b.Build());

    EXPECT_TRUE(PackCompoundFile("db.dat", 0));
    CompoundFileBuilder expected(2);
    expected.Commit(0, {B("a"), B("b"), B("c")});
    expected.Commit(1, {});
    EXPECT_EQ(Disk(), expected.Build());
}

TEST_F(Pack, ReadErrorKeepsTheOriginalAndRemovesTheCopy)
{
    auto b = CompoundFileBuilder::Created(3);
    b.Commit(0, {B("5-3.1.1")});
    const uint32_t bad = b.Commit(2, {B("first"), B("second")});
    b.Commit(1, {B("one")});
    Bytes damaged = b.Build();
    damaged[bad + 5] = 0;  // the first record of logical file 2 claims length 0
    damaged[bad + 6] = 0;
    mem.files.Put("db.dat", damaged);

    const ZError e = CatchZError([] { PackCompoundFile("db.dat", 0); });
    EXPECT_EQ(e.Number(), 9);
    EXPECT_EQ(Disk(), damaged);
    EXPECT_FALSE(mem.files.Exists("db.dat$"));
}

TEST_F(Pack, FullDiskKeepsTheOriginalAndRemovesTheCopy)
{
    auto b = CompoundFileBuilder::Created(2);
    b.Commit(0, {B("5-3.1.1")});
    b.Commit(1, {Filled(500, 1)});
    mem.files.Put("db.dat", b.Build());
    const Bytes before = Disk();
    FaultyStoreSystem faulty(mem.files);
    faulty.FailWritesTo("db.dat$", 100);

    const ZError e = CatchZError([] { PackCompoundFile("db.dat", 0); });
    EXPECT_EQ(e.Number(), 99);
    EXPECT_EQ(Disk(), before);
    EXPECT_FALSE(mem.files.Exists("db.dat$"));
}

TEST_F(Pack, IsRefusedWhileAWriterHoldsTheFileAndKeepsWhatItCommits)
{
    CreateCompoundFile("db.dat", 2, "5-3.1.1");
    const Bytes before = Disk();
    WFile writer("db.dat");
    writer.BeginWrite(1);
    writer.WriteRecord(0, 4, "kept");
    const ZError e = CatchZError([] { PackCompoundFile("db.dat", 0); });
    EXPECT_NE(e.Message().find("сейчас записывает другая программа"), std::string::npos) << e.Message();
    EXPECT_EQ(Disk(), before);
    writer.EndWrite(1, true);
    EXPECT_TRUE(PackCompoundFile("db.dat", 0));
    EXPECT_EQ(Contents("db.dat"), (std::vector<std::vector<Bytes>>{{B("5-3.1.1")}, {B("kept")}}));
    EXPECT_FALSE(mem.files.Exists("db.dat$$"));
    EXPECT_FALSE(mem.files.Exists("db.dat$"));
}

TEST_F(Pack, RefusedReplacementKeepsTheOriginal)
{
    CreateCompoundFile("db.dat", 2, "5-3.1.1");
    const Bytes before = Disk();
    struct Refusing : WStoreSystem {
        explicit Refusing(WStoreSystem &inner) : inner(inner), old(SetStoreSystem(this)) {}
        ~Refusing() override { SetStoreSystem(old); }
        std::unique_ptr<WStore> Open(const AnsiString &n, int m) override { return inner.Open(n, m); }
        std::unique_ptr<WStore> CreateHeld(const AnsiString &n) override { return inner.CreateHeld(n); }
        void Delete(const AnsiString &n) override { inner.Delete(n); }
        void Replace(const AnsiString &, const AnsiString &) override
        {
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        }
        WStoreSystem &inner;
        WStoreSystem *old;
    } refusing(mem.files);

    EXPECT_EQ(CatchZError([] { PackCompoundFile("db.dat", 0); }).Number(), 99);
    EXPECT_EQ(Disk(), before);
    EXPECT_FALSE(mem.files.Exists("db.dat$"));
}

TEST_F(Pack, FilesWithoutLogicalFilesOrWithADamagedDirectoryMeasureWithoutFault)
{
    CreateCompoundFile("none.dat", 0, nullptr);
    EXPECT_EQ(Disk("none.dat"), (Bytes{8, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(IsCompactFile("none.dat"));
    EXPECT_EQ(DeadSpacePercent("none.dat"), 0);
    EXPECT_FALSE(PackCompoundFile("none.dat", 1));

    auto b = CompoundFileBuilder::Created(2);
    b.SetEntry(1, b.DataStart() + 8, 500);  // claims more than the data area holds
    mem.files.Put("claims.dat", b.Build());
    EXPECT_EQ(DeadSpacePercent("claims.dat"), 0);
}

TEST_F(Pack, MeasuringAMissingFileShowsTheErrorAndReportsNothingToPack)
{
    ShownErrors shown;
    EXPECT_TRUE(IsCompactFile("missing.dat"));
    EXPECT_EQ(DeadSpacePercent("missing.dat"), 0);
    ASSERT_EQ(shown.texts.size(), 2u);
    EXPECT_NE(shown.texts[0].find("missing.dat"), AnsiString::npos);
    EXPECT_EQ(CatchZError([] { PackCompoundFile("missing.dat", 0); }).Number(), 1) << "packing raises";
}

TEST_F(Pack, HeaderForAWriterToFillIn)
{
    WriteCompoundHeader("h.dat", 2);
    Bytes expected(24, 0);
    expected[4] = 2;
    EXPECT_EQ(Disk("h.dat"), expected);
}

TEST_F(Pack, LogicalFileCountChecksTheDirectoryLength)
{
    CreateCompoundFile("db.dat", 3, nullptr);
    uint32_t count = 0;
    EXPECT_FALSE(ReadLogicalFileCount("db.dat", 3, &count));
    EXPECT_EQ(count, 3u);
    mem.files.Put("short.dat", Bytes{1, 2, 3});
    EXPECT_FALSE(ReadLogicalFileCount("short.dat", 0, &count)) << "true only after the message";
    EXPECT_EQ(count, 0u);

    ShownErrors shown;
    MessageTextProvider = [](uint16_t n, bool, int, AnsiString &text) { text = "text " + std::to_string(n) + ": $"; };
    EXPECT_FALSE(ReadLogicalFileCount("db.dat", 6));  // 56 bytes: the header and six entries
    EXPECT_TRUE(ReadLogicalFileCount("db.dat", 7));
    ClearMessageTextProvider();
    ASSERT_EQ(shown.texts.size(), 1u);
    EXPECT_EQ(shown.texts[0], "text 619: db.dat");
}
