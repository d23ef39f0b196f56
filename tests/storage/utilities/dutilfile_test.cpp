// Copying logical files between compound files, finding an empty one, the text dump of a record file
// and the cleaning of file names.
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

class CopyLogical : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    void SetUp() override
    {
        auto source = CompoundFileBuilder::Created(3);
        source.Commit(1, {B("one"), B("two")});
        mem.files.Put("src.dat", source.Build());
        target = CompoundFileBuilder::Created(4);
        target.Commit(2, {B("old")});
        mem.files.Put("dst.dat", target.Build());
    }
    CompoundFileBuilder target{0};
};

}  // namespace

TEST_F(CopyLogical, RecordsAndFlagsReachTheTargetAsANewChain)
{
    auto source = CompoundFileBuilder::Created(2);
    const uint32_t first = source.Record(B("kept"));
    source.Record(B("gone"), kDeleted);
    source.Record(B("odd flags"), 0x01);
    source.EndRecord();
    source.SetEntry(1, first, source.Here() - first);
    mem.files.Put("src.dat", source.Build());
    {
        WFile src("src.dat"), dst("dst.dat");
        CopyLogicalFile(src, dst, 1, 3);
    }
    // The commit appends the copied chain at the data end and points entry 3 at it.
    CompoundFileBuilder expected = CompoundFileBuilder::Created(4);
    expected.Commit(2, {B("old")});
    const uint32_t chain = expected.Here();
    expected.Record(B("kept"));
    expected.Record(B("odd flags"), 0x01);
    expected.EndRecord();
    expected.SetEntry(3, chain, expected.Here() - chain);
    EXPECT_EQ(mem.files.Get("dst.dat"), expected.Build());
}

TEST_F(CopyLogical, EmptySourceClearsATargetInPlaceOrCommitsANewEmptyChain)
{
    const Bytes before = mem.files.Get("dst.dat");
    {
        WFile src("src.dat"), dst("dst.dat");
        const uint32_t position = dst.EntryPosition(2);
        CopyLogicalFile(src, dst, 0, 2);
        EXPECT_EQ(dst.EntryPosition(2), position) << "cleared where it lies";
        EXPECT_EQ(dst.EntryLength(2), 8u);
        EXPECT_EQ(dst.DataEnd(), uint32_t(before.size()));

        CopyLogicalFile(src, dst, 2, 1);
        EXPECT_EQ(dst.EntryPosition(1), uint32_t(before.size())) << "a new empty chain at the data end";
        EXPECT_EQ(dst.EntryLength(1), 8u);
        EXPECT_EQ(ReadAll(dst, 2), std::vector<Bytes>{});
    }
}

TEST_F(CopyLogical, WithinOneFile)
{
    {
        WFile f("src.dat");
        CopyLogicalFile(f, f, 1, 2);
    }
    EXPECT_EQ(ReadAll("src.dat", 2), (std::vector<Bytes>{B("one"), B("two")}));
    EXPECT_EQ(ReadAll("src.dat", 1), (std::vector<Bytes>{B("one"), B("two")}));
}

TEST_F(CopyLogical, DamagedSourceOrFullDiskLeavesTheTargetAsItWas)
{
    auto source = CompoundFileBuilder::Created(2);
    const uint32_t chain = source.Commit(1, {B("good"), B("bad")});
    Bytes damaged = source.Build();
    const uint32_t second = chain + 7 + 4;
    damaged[second + 5] = 0x21;  // length 20001
    damaged[second + 6] = 0x4E;
    mem.files.Put("src.dat", damaged);
    const Bytes before = mem.files.Get("dst.dat");
    {
        WFile src("src.dat"), dst("dst.dat");
        EXPECT_EQ(CatchZError([&] { CopyLogicalFile(src, dst, 1, 2); }).Number(), 11);
        EXPECT_FALSE(dst.Writing());
    }
    EXPECT_EQ(mem.files.Get("dst.dat"), before) << "nothing committed, not even when the target closes";
    EXPECT_FALSE(mem.files.Exists("dst.dat$$"));

    auto big = CompoundFileBuilder::Created(2);
    big.Commit(1, {Filled(4000, 3), Filled(4000, 4)});
    mem.files.Put("src.dat", big.Build());
    FaultyStoreSystem faulty(mem.files);
    faulty.FailWritesTo("dst.dat$$", 5000);
    {
        WFile src("src.dat"), dst("dst.dat");
        EXPECT_EQ(CatchZError([&] { CopyLogicalFile(src, dst, 1, 2); }).Number(), 99);
    }
    EXPECT_EQ(mem.files.Get("dst.dat"), before);
    EXPECT_FALSE(mem.files.Exists("dst.dat$$"));
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST_F(CopyLogical, SimpleFormIsRefused)
{
    mem.files.Put("simple.dat", SimpleFile({B("x")}));
    WFile simple("simple.dat", SimpleMode::Read), dst("dst.dat");
    const ZError e = CatchZError([&] { CopyLogicalFile(simple, dst, 0, 1); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(e.Message(), "При копировании логических файлов simple.dat или dst.dat не составной");
}

TEST(FindEmptyLogical, SkipsTheExcludedAndNonEmptyFiles)
{
    ScopedMemFiles mem;
    auto b = CompoundFileBuilder::Created(5);
    b.Commit(1, {B("x")});
    b.Commit(3, {B("y")});
    mem.files.Put("db.dat", b.Build());
    WFile f("db.dat");
    EXPECT_EQ(FindEmptyLogicalFile(f, 0, 0), 2u) << "logical file 0 is empty but excluded";
    EXPECT_EQ(FindEmptyLogicalFile(f, 99, 0), 0u);
    EXPECT_EQ(FindEmptyLogicalFile(f, 2, 1), 4u);
    EXPECT_EQ(LogicalFileLength(f, 1), 16u);
    const ZError e = CatchZError([&] { FindEmptyLogicalFile(f, 4, 3); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(e.Message(), "Необходимо увеличить количество логических файлов");
}

namespace {

Bytes TextRecord(const std::string &text)
{
    Bytes b{static_cast<uint8_t>(text.size()), static_cast<uint8_t>(text.size() >> 8)};
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

}  // namespace

TEST(Dump, RecordFileAsLinesComparedWithAHandWrittenText)
{
    ScopedMemFiles mem;
    mem.files.Put("rec.dat", SimpleFile({TextRecord("Первая строка"), TextRecord(""), Bytes{'Z'}, TextRecord("x;y"),
                                         Bytes{5, 0, 'a', 'b'}}));
    mem.files.Put("dump.txt", B("old dump that is much longer than the new one"));
    DumpLogicalFile("rec.dat", "dump.txt");
    // The length prefix is not trusted: the line is the rest of the record; a record too short for the
    // prefix gives an empty line.
    EXPECT_EQ(mem.files.Get("dump.txt"), B("Первая строка\r\n\r\n\r\nx;y\r\nab\r\n"));
}

TEST(Dump, AFailedDumpLeavesTheOldTextAsItWas)
{
    ScopedMemFiles mem;
    const Bytes oldText = B("the old dump\r\n");
    mem.files.Put("dump.txt", oldText);
    const auto unchanged = [&] {
        EXPECT_EQ(mem.files.Get("dump.txt"), oldText);
        EXPECT_FALSE(mem.files.Exists("dump.txt$"));
    };
    // A record file that is not there, and one whose second record is cut off.
    EXPECT_EQ(CatchZError([] { DumpLogicalFile("missing.dat", "dump.txt"); }).Number(), 1);
    unchanged();
    Bytes file = SimpleFile({TextRecord("ok"), TextRecord("cut")});
    file.erase(file.end() - 12, file.end());
    mem.files.Put("rec.dat", file);
    EXPECT_EQ(CatchZError([] { DumpLogicalFile("rec.dat", "dump.txt"); }).Number(), 0);
    unchanged();
    // A disk that fills up under the dump.
    mem.files.Put("rec.dat", SimpleFile({TextRecord(std::string(300, 'x'))}));
    FaultyStoreSystem faulty(mem.files);
    faulty.FailWritesTo("dump.txt$", 100);
    EXPECT_EQ(CatchZError([] { DumpLogicalFile("rec.dat", "dump.txt"); }).Number(), 99);
    unchanged();
}

TEST(Dump, ADumpIntoItsOwnRecordFileIsRefused)
{
    ScopedMemFiles mem;
    const Bytes records = SimpleFile({TextRecord("keep me")});
    mem.files.Put("rec.dat", records);
    const ZError e = CatchZError([] { DumpLogicalFile("rec.dat", "rec.dat"); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(e.Message(), "Файл записей rec.dat не выгружен в rec.dat: запись туда уничтожила бы сам файл записей");
    EXPECT_EQ(mem.files.Get("rec.dat"), records);
    // The dump is first written beside the text file: that name may not be the record file either.
    mem.files.Put("out.txt$", records);
    EXPECT_EQ(CatchZError([] { DumpLogicalFile("out.txt$", "out.txt"); }).Number(), 0);
    EXPECT_EQ(mem.files.Get("out.txt$"), records);
    EXPECT_FALSE(mem.files.Exists("out.txt"));
}

TEST(Names, BareFileName)
{
    EXPECT_EQ(BareFileName("C:\\P\\CFG\\riza.sfr"), "riza");
    EXPECT_EQ(BareFileName("C:archive.tar.gz"), "archive.tar");
    EXPECT_EQ(BareFileName("C:\\P.D\\name"), "name");
    EXPECT_EQ(BareFileName("name"), "name");
    EXPECT_EQ(BareFileName("C:\\P\\"), "");
}

TEST(Names, MakeSafeName)
{
    EXPECT_EQ(MakeSafeName("a.b:c"), "a-b-c");
    EXPECT_EQ(MakeSafeName("\\,:;~@$%^&*=+{}[]<>\"/.?#"), AnsiString(24, '-'));
    EXPECT_EQ(MakeSafeName("Київ, Європа, своє, ЇЖАК"), "Киiв- Eвропа- своe- IЖАК");
    EXPECT_EQ(MakeSafeName("ok_name (1) !'`"), "ok_name (1) !'`");
}
