// The compound-file utilities on disk: packing replaces the file in one step and leaves it alone when
// another program holds it; whole-file copies; the dump under a Cyrillic name; the configuration
// folder found on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/files/AppPaths.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "storage/utilities/dutilfile.h"
#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

std::string Text(const Bytes &b) { return std::string(b.begin(), b.end()); }

// A compound file of three logical files with one rewritten twice: dead space to remove.
void MakeFileWithDeadSpace(const AnsiString &name)
{
    CreateCompoundFile(name, 3, "5-3.1.1");
    WFile f(name);
    for (const char *text : {"first", "second", "third"}) {
        f.BeginWrite(2);
        f.WriteRecord(0, 2, "ab");
        f.WriteRecord(0, static_cast<uint32_t>(strlen(text)), text);
        f.EndWrite(2, true);
    }
}

}  // namespace

TEST(UtilitiesOnDisk, PackingReplacesTheFileAndLeavesNoCopy)
{
    TempFolder tmp;
    const AnsiString name = tmp / "база.dat";
    MakeFileWithDeadSpace(name);
    EXPECT_FALSE(IsCompactFile(name));
    std::vector<std::vector<Bytes>> before;
    for (uint32_t i = 0; i < 3; ++i)
        before.push_back(ReadAll(name, i));

    EXPECT_TRUE(PackCompoundFile(name, 1));
    EXPECT_FALSE(FileExists(name + "$"));
    EXPECT_TRUE(IsCompactFile(name));
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(ReadAll(name, i), before[i]);
    EXPECT_EQ(FileSizeOf(name), 8 + 24 + (7 + 7 + 8) + 8 + (9 + 12 + 8));
}

TEST(UtilitiesOnDisk, FileHeldByAnotherProgramIsNotPacked)
{
    TempFolder tmp;
    const AnsiString name = tmp / "held.dat";
    MakeFileWithDeadSpace(name);
    const std::string before = ReadWholeFile(name);
    // Another program reads the file and lets others read and write it, but not replace it.
    HANDLE held = CreateFileW(Cp1251ToWide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ZError e = CatchZError([&] { PackCompoundFile(name, 1); });
    CloseHandle(held);
    EXPECT_EQ(e.Number(), 99);
    EXPECT_NE(e.Message().find(name + "$=>" + name), AnsiString::npos) << e.Message();
    EXPECT_EQ(ReadWholeFile(name), before);
    EXPECT_FALSE(FileExists(name + "$"));
}

TEST(UtilitiesOnDisk, CopyFileCheckedReplacesTheTargetOrNamesBothFiles)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "a.bin", "new contents");
    WriteWholeFile(tmp / "b.bin", "old");
    CopyFileChecked(tmp / "a.bin", tmp / "b.bin");
    EXPECT_EQ(ReadWholeFile(tmp / "b.bin"), "new contents");

    const ZError e = CatchZError([&] { CopyFileChecked(tmp / "none.bin", tmp / "c.bin"); });
    EXPECT_EQ(e.Number(), 99);
    EXPECT_EQ(e.Message().rfind(tmp / "none.bin" + "=>" + tmp / "c.bin", 0), 0u) << e.Message();
    EXPECT_FALSE(FileExists(tmp / "c.bin"));
}

TEST(UtilitiesOnDisk, DumpUnderACyrillicName)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "записи.dat", Text(SimpleFile({Bytes{3, 0, 'a', 'b', 'c'}, Bytes{2, 0, 'd', 'e'}})));
    WriteWholeFile(tmp / "текст.txt", "an older, longer text");
    DumpLogicalFile(tmp / "записи.dat", tmp / "текст.txt");
    EXPECT_EQ(ReadWholeFile(tmp / "текст.txt"), "abc\r\nde\r\n");
}

TEST(UtilitiesOnDisk, ConfigurationFolderOnDisk)
{
    TempFolder tmp;
    ASSERT_TRUE(ForceDirectories(tmp / "Продукт\\EXE\\BIN"));
    ASSERT_TRUE(CreateDir(tmp / "Продукт\\CFG"));
    const auto onDisk = [](const AnsiString &path, void *) { return IsDirectory(path); };
    EXPECT_EQ(FindCfgFolderFrom(tmp / "Продукт\\EXE\\BIN\\", onDisk, nullptr), tmp / "Продукт\\CFG\\");
    EXPECT_EQ(ProductRootFolder, tmp / "Продукт\\");
    ProductRootFolder.clear();
}
