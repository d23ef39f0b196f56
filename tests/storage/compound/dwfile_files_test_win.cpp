// Compound files on disk: the temporary file beside the main file, Cyrillic names, a file another
// program holds locked, a missing file; a simple file whose append meets a full disk.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/ScopedSmallDrive.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {
std::string Text(const Bytes &b) { return std::string(b.begin(), b.end()); }
}  // namespace

TEST(CompoundFileOnDisk, CommitGoesThroughTheTemporaryFileAndRemovesIt)
{
    TempFolder tmp;
    const AnsiString name = tmp / "база1.dat";
    auto b = CompoundFileBuilder::Created(3);
    b.Commit(1, {B("old")});
    WriteWholeFile(name, Text(b.Build()));
    {
        WFile f(name);
        f.BeginWrite(1);
        f.WriteRecord(0, 3, "new");
        EXPECT_TRUE(FileExists(name + "$$"));
        f.EndWrite(1, true);
        EXPECT_FALSE(FileExists(name + "$$"));
        EXPECT_EQ(ReadAll(f, 1), std::vector<Bytes>{B("new")});
    }
    b.Commit(1, {B("new")});
    EXPECT_EQ(ReadWholeFile(name), Text(b.Build()));
}

TEST(CompoundFileOnDisk, ScrambledFileReadsBack)
{
    TempFolder tmp;
    auto b = CompoundFileBuilder::Created(2);
    b.Commit(1, {B("one"), B("two")});
    WriteWholeFile(tmp / "db2.dat", Text(b.Build(0x7F19D05Au)));
    WFile f(tmp / "db2.dat", uint32_t(0x7F19D05Au));
    EXPECT_EQ(ReadAll(f, 1), (std::vector<Bytes>{B("one"), B("two")}));
}

TEST(CompoundFileOnDisk, MissingFileRaisesError1)
{
    TempFolder tmp;
    ZError e = CatchZError([&] { WFile f(tmp / "none.dat"); });
    EXPECT_EQ(e.Number(), 1);
}

TEST(CompoundFileOnDisk, FileLockedByAnotherProgramIsRefusedAndLeftAlone)
{
    TempFolder tmp;
    const AnsiString name = tmp / "locked.dat";
    const std::string bytes = Text(CompoundFileBuilder::Created(1).Build());
    WriteWholeFile(name, bytes);
    HANDLE lock = CreateFileW(Cp1251ToWide(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ZError e = CatchZError([&] { WFile f(name); });
    EXPECT_EQ(e.Number(), 99);
    EXPECT_NE(e.Message().find("[Win="), std::string::npos);
    CloseHandle(lock);
    EXPECT_EQ(ReadWholeFile(name), bytes);
}

TEST(CompoundFileOnDisk, AnAppendThatMeetsAFullDiskLeavesTheSimpleFileAsItWas)
{
    TempFolder tmp;
    ASSERT_TRUE(CreateDir(tmp / "small"));
    TScopedSmallDrive drive(tmp / "small\\", 256);
    if (!drive.Mounted())
        GTEST_SKIP() << drive.Why();
    const AnsiString list = tmp / "small\\список.lst";
    const std::vector<Bytes> old = {B("one"), B("two")};
    WriteWholeFile(list, Text(SimpleFile(old)));
    ASSERT_TRUE(drive.FillLeaving(4096));
    const Bytes big(20000, 'b');
    {
        WFile s(list, SimpleMode::Append);
        EXPECT_THROW(s.WriteRecord(0, static_cast<uint32_t>(big.size()), big.data()), ZError);
        s.Close();
    }
    EXPECT_EQ(ReadWholeFile(list), Text(SimpleFile(old))) << "nothing of the record is left behind";
    ASSERT_TRUE(DeleteFile(tmp / "small\\filler.bin"));
    {
        WFile s(list, SimpleMode::Append);
        s.WriteRecord(0, static_cast<uint32_t>(big.size()), big.data());
        s.Close();
    }
    EXPECT_EQ(ReadWholeFile(list), Text(SimpleFile({B("one"), B("two"), big})));
}
