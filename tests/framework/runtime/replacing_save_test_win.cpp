// The whole-file saves of TStrings and TMemoryStream replace the file in one step: a save that fails
// (full disk, a target that cannot be replaced), meets another save in progress or is stopped before
// its write leaves the old file byte for byte and no temporary file.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/ReplacingFileStream.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/FileSaver.h"
#include "tests/support/FileSaverContent.h"
#include "tests/support/ScopedSmallDrive.h"
#include "tests/support/TempFolder.h"

namespace {

// The message of what the save raised, checked to be of the class `E`; "" when it raised nothing.
template <class E>
std::string Raised(TextSave how, const AnsiString &name, const AnsiString &text)
{
    try {
        SaveTextThrough(how, name, text);
    } catch (const E &e) {
        return e.Message();
    } catch (const Exception &e) {
        return "another class: " + e.Message();
    }
    return "";
}

class WholeFileSave : public ::testing::TestWithParam<TextSave> {
protected:
    TempFolder tmp;
    const AnsiString name = tmp / "протокол.txt";
    const AnsiString old = FileSaverText("old", 1000);
    const AnsiString text = FileSaverText("new", 3000);

    void SetUp() override { WriteWholeFile(name, old); }
    AnsiString SaverArgs(const AnsiString &prefix, int count) const
    {
        return AnsiString(TextSaveName(GetParam())) + " \"" + name + "\" " + prefix + " " + std::to_string(count);
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(TwoSaves, WholeFileSave, ::testing::Values(TextSave::Strings, TextSave::Memory),
                         [](const auto &info) { return std::string(TextSaveName(info.param)); });

TEST_P(WholeFileSave, ReplacesTheFileWholeAndLeavesNothingBeside)
{
    // A temporary file an earlier save left, hidden, does not stand in the way.
    WriteWholeFile(name + "$", "left behind");
    ASSERT_EQ(FileSetAttr(name + "$", faHidden), 0);
    SaveTextThrough(GetParam(), name, "short\r\n");
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), "short\r\n"));
    EXPECT_FALSE(FileExists(name + "$"));

    // A place the file cannot take, and a folder that does not exist: raised as before, nothing left.
    ASSERT_TRUE(CreateDir(tmp / "folder.txt"));
    EXPECT_NE(Raised<EFOpenError>(GetParam(), tmp / "folder.txt", text).find("folder.txt"), std::string::npos);
    EXPECT_TRUE(DirectoryExists(tmp / "folder.txt"));
    EXPECT_FALSE(FileExists(tmp / "folder.txt$"));
    EXPECT_NE(Raised<EFOpenError>(GetParam(), tmp / "нет\\a.txt", text).find("нет\\a.txt"), std::string::npos);
}

TEST_P(WholeFileSave, AFullDriveLeavesTheOldFileByteForByte)
{
    ASSERT_TRUE(CreateDir(tmp / "small"));
    TScopedSmallDrive drive(tmp / "small\\", 256);
    if (!drive.Mounted())
        GTEST_SKIP() << drive.Why();
    const AnsiString onDrive = tmp / "small\\протокол.txt";
    WriteWholeFile(onDrive, old);
    ASSERT_TRUE(drive.FillLeaving(8 * 1024));
    const std::string raised = Raised<EWriteError>(GetParam(), onDrive, text);
    EXPECT_EQ(raised.rfind("Stream write error in \"" + onDrive + "\"", 0), 0u) << raised;
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(onDrive), old));
    EXPECT_FALSE(FileExists(onDrive + "$"));
    // What fits is saved.
    SaveTextThrough(GetParam(), onDrive, "fits\r\n");
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(onDrive), "fits\r\n"));
}

TEST_P(WholeFileSave, ATargetHeldWithoutDeleteSharingIsKept)
{
    HANDLE held = CreateFileW(Cp1251ToWide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string raised = Raised<EFOpenError>(GetParam(), name, text);
    CloseHandle(held);
    EXPECT_EQ(raised.rfind("Cannot replace file \"" + name + "\"", 0), 0u) << raised;
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), old));
    EXPECT_FALSE(FileExists(name + "$"));
    SaveTextThrough(GetParam(), name, text);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), text));
}

TEST_P(WholeFileSave, ASaveThatMeetsAnotherProgramsIsRefusedAndTheOtherOneStays)
{
    TFileSaver other;
    ASSERT_TRUE(other.StartPaused(SaverArgs("other", 2000), tmp.Path()));
    const std::string raised = Raised<EFOpenError>(GetParam(), name, text);
    EXPECT_NE(raised.find("another save of it is in progress"), std::string::npos) << raised;
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), old));
    EXPECT_EQ(other.Finish(), 0u);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), FileSaverText("other", 2000)));
    EXPECT_FALSE(FileExists(name + "$"));
}

TEST_P(WholeFileSave, AProgramStoppedBeforeItsWriteLeavesTheOldFileAndNoTemporaryFile)
{
    TFileSaver other;
    ASSERT_TRUE(other.StartPaused(SaverArgs("other", 2000), tmp.Path()));
    other.Kill();
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), old));
    EXPECT_FALSE(FileExists(name + "$"));
    SaveTextThrough(GetParam(), name, text);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), text));
}

TEST(ReplacingFileStream, AStreamNeverCommittedLeavesTheTargetAndNoTemporaryFile)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "a.txt", "old");
    {
        TReplacingFileStream f(tmp / "a.txt", tmp / "a.new");
        f.WriteBuffer("new", 3);
        EXPECT_TRUE(FileExists(tmp / "a.new"));
        EXPECT_TRUE(HoldsExactly(ReadWholeFile(tmp / "a.txt"), "old"));
    }
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(tmp / "a.txt"), "old"));
    EXPECT_FALSE(FileExists(tmp / "a.new"));
    // A relative name lies in the current folder; the result tells the system's reason.
    const AnsiString here = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(tmp.Path()));
    EXPECT_EQ(SaveFileReplacing("b.txt", "bee", 3), 0u);
    EXPECT_EQ(SaveFileReplacing("c\\b.txt", "bee", 3), static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    // A name that is no file's is refused before anything is made (the temporary file would be "$").
    EXPECT_EQ(SaveFileReplacing("", "bee", 3), static_cast<unsigned long>(ERROR_INVALID_NAME));
    EXPECT_EQ(SaveFileReplacing(tmp.Path(), "bee", 3), static_cast<unsigned long>(ERROR_INVALID_NAME));
    EXPECT_FALSE(FileExists(tmp / "$"));
    SetCurrentDir(here);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(tmp / "b.txt"), "bee"));
}
