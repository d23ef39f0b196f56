// Dumps and whole-file copies on disk never destroy what a file held: a dump into its own record file
// under any spelling is refused, a record file that cannot be read leaves the text file alone, and a
// copy that meets a full drive leaves the old target whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "storage/utilities/dutilfile.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/ScopedAliases.h"
#include "tests/support/ScopedDrive.h"
#include "tests/support/ScopedSmallDrive.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;

namespace {

std::string Text(const Bytes &b) { return std::string(b.begin(), b.end()); }

const std::string kRecords = Text(SimpleFile({Bytes{4, 0, 'k', 'e', 'e', 'p'}, Bytes{2, 0, 'm', 'e'}}));

// The program's current folder for as long as the object lives.
class CurrentFolder {
public:
    explicit CurrentFolder(const AnsiString &folder) : saved_(GetCurrentDir()) { SetCurrentDir(folder); }
    ~CurrentFolder() { SetCurrentDir(saved_); }

private:
    AnsiString saved_;
};

AnsiString ShortName(const AnsiString &name)
{
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetShortPathNameW(Cp1251ToWide(name).c_str(), buffer, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? AnsiString() : WideToCp1251(std::wstring(buffer, n));
}

}  // namespace

TEST(KeepingFiles, ADumpIntoItsOwnRecordFileIsRefusedHoweverItIsSpelt)
{
    TempFolder tmp;
    const AnsiString name = tmp / "Records of the year.dat";
    WriteWholeFile(name, kRecords);
    TScopedAliases aliases({{"REC", tmp.Path()}});
    TScopedDrive drive;
    CurrentFolder here(tmp.Path());

    AnsiString slashes = name;
    for (char &c : slashes)
        if (c == '\\')
            c = '/';
    std::vector<AnsiString> spellings = {tmp / "RECORDS OF THE YEAR.DAT", slashes, "Records of the year.dat",
                                         ".\\records of the year.dat", "REC#Records of the year.dat"};
    const AnsiString shortName = ShortName(name);
    if (!shortName.empty() && shortName != name)
        spellings.push_back(shortName);
    if (drive.Plug(tmp.Path()))
        spellings.push_back(drive.Root() + "Records of the year.dat");
    EXPECT_GE(spellings.size(), 6u) << "no short name and no second drive onto the folder";
    for (const AnsiString &text : spellings) {
        SCOPED_TRACE(text);
        const ZError e = CatchZError([&] { DumpLogicalFile(name, text); });
        EXPECT_EQ(e.Number(), 0);
        EXPECT_NE(e.Message().find("уничтожила бы сам файл записей"), AnsiString::npos) << e.Message();
        EXPECT_EQ(ReadWholeFile(name), kRecords);
    }
    // The record file named another way is refused too, and a text file that only looks alike is not.
    EXPECT_EQ(CatchZError([&] { DumpLogicalFile("REC#records OF the year.dat", name); }).Number(), 0);
    DumpLogicalFile(name, tmp / "Records of the year.txt");
    EXPECT_EQ(ReadWholeFile(tmp / "Records of the year.txt"), "keep\r\nme\r\n");
    EXPECT_EQ(ReadWholeFile(name), kRecords);
    EXPECT_FALSE(FileExists(tmp / "Records of the year.txt$"));
}

TEST(KeepingFiles, ARecordFileThatCannotBeReadLeavesTheTextFileAlone)
{
    TempFolder tmp;
    const AnsiString records = tmp / "rec.dat", text = tmp / "dump.txt";
    WriteWholeFile(records, kRecords);
    WriteWholeFile(text, "the old dump\r\n");
    // Another program holds the record file and lets nobody else open it.
    HANDLE held = CreateFileW(Cp1251ToWide(records).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ZError e = CatchZError([&] { DumpLogicalFile(records, text); });
    CloseHandle(held);
    EXPECT_EQ(e.Number(), 99);
    EXPECT_EQ(ReadWholeFile(text), "the old dump\r\n");
    // A record file cut off in its second record.
    WriteWholeFile(records, kRecords.substr(0, kRecords.size() - 12));
    EXPECT_EQ(CatchZError([&] { DumpLogicalFile(records, text); }).Number(), 0);
    EXPECT_EQ(ReadWholeFile(text), "the old dump\r\n");
    EXPECT_FALSE(FileExists(text + "$"));
}

TEST(KeepingFiles, ACopyOntoAFullDriveLeavesTheOldTargetWhole)
{
    TempFolder tmp;
    ASSERT_TRUE(CreateDir(tmp / "small"));
    TScopedSmallDrive drive(tmp / "small\\", 256);
    if (!drive.Mounted())
        GTEST_SKIP() << drive.Why();
    const AnsiString target = tmp / "small\\target.bin";
    const std::string old(3000, 'o');
    WriteWholeFile(target, old);
    WriteWholeFile(tmp / "big.bin", std::string(64 * 1024, 'n'));
    ASSERT_TRUE(drive.FillLeaving(16 * 1024));
    const ZError e = CatchZError([&] { CopyFileChecked(tmp / "big.bin", target); });
    EXPECT_EQ(e.Number(), 99);
    EXPECT_EQ(e.Message().rfind(tmp / "big.bin" + "=>" + target, 0), 0u) << e.Message();
    EXPECT_EQ(ReadWholeFile(target), old);
    EXPECT_FALSE(FileExists(target + "$"));
    // What fits is copied, read-only as its source is.
    WriteWholeFile(tmp / "small.bin", "read only");
    ASSERT_EQ(FileSetAttr(tmp / "small.bin", faReadOnly), 0);
    CopyFileChecked(tmp / "small.bin", target);
    EXPECT_EQ(ReadWholeFile(target), "read only");
    EXPECT_NE(FileGetAttr(target) & faReadOnly, 0);
    EXPECT_FALSE(FileExists(target + "$"));
    // The copy is made beside the target: that name may not be the source itself.
    WriteWholeFile(tmp / "x.bin$", "source");
    EXPECT_EQ(CatchZError([&] { CopyFileChecked(tmp / "x.bin$", tmp / "x.bin"); }).Number(), 0);
    EXPECT_EQ(ReadWholeFile(tmp / "x.bin$"), "source");
}
