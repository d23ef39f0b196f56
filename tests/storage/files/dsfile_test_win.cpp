#include "storage/files/dsfile.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/Prompt.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/TempFolder.h"

namespace {

// Each test works in a fresh temporary folder, on files with Cyrillic names.
class SFileTest : public ::testing::Test {
protected:
    AnsiString Path(const AnsiString &name) { return temp_ / name; }
    AnsiString Make(const AnsiString &name, const std::string &bytes)
    {
        WriteWholeFile(Path(name), bytes);
        return Path(name);
    }
    static std::string Contents(const AnsiString &path) { return ReadWholeFile(path); }
    static bool Exists(const AnsiString &path)
    {
        return GetFileAttributesW(Cp1251ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    TempFolder temp_;
};

template <typename F>
ZError Raised(F f)
{
    try {
        f();
    } catch (const ZError &e) {
        return e;
    }
    ADD_FAILURE() << "no ZError";
    return ZError("", -1);
}

}  // namespace

TEST_F(SFileTest, ReadModeReadsAnExistingFileUpToItsEnd)
{
    const AnsiString path = Make("данные.dat", "abcdef");
    SFile file(path, 1);
    EXPECT_EQ(file.Name(), path);
    char buffer[10] = {};
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(file.Read(buffer, 10), 2u);
    EXPECT_EQ(file.Read(buffer, 10), 0u);  // the end is no error
}

TEST_F(SFileTest, ReadAndReadWriteModesRefuseAMissingFileOrAFolder)
{
    const AnsiString missing = Path("нет.dat");
    for (uint8_t mode : {1, 4}) {
        ZError e = Raised([&] { SFile file(missing, mode); });
        EXPECT_EQ(e.Number(), 1);
        EXPECT_EQ(e.Message(), missing);
    }
    const AnsiString dir = Path("папка");
    CreateDirectoryW(Cp1251ToWide(dir).c_str(), nullptr);
    EXPECT_EQ(Raised([&] { SFile file(dir, 1); }).Number(), 1);
    EXPECT_EQ(Raised([&] { SFile file(dir, 4); }).Number(), 1);
    EXPECT_FALSE(Exists(missing));
}

TEST_F(SFileTest, ReadWriteModeOverwritesInPlace)
{
    const AnsiString path = Make("rw.dat", "0123456789");
    {
        SFile file(path, 4);
        file.Seek(2);
        EXPECT_EQ(file.Write("ab", 2), 2u);
        char c = 0;
        EXPECT_EQ(file.Read(&c, 1), 1u);
        EXPECT_EQ(c, '4');
    }
    EXPECT_EQ(Contents(path), "01ab456789");
}

TEST_F(SFileTest, CreateModesMakeAMissingFileWithoutAsking)
{
    TPromptScript script;
    for (uint8_t mode : {2, 3}) {
        const AnsiString path = Path("новый" + std::to_string(mode) + ".dat");
        {
            SFile file(path, mode);
            EXPECT_EQ(file.Write("xyz", 3), 3u);
        }
        EXPECT_EQ(Contents(path), "xyz");
    }
    EXPECT_TRUE(script.Seen().empty());
}

TEST_F(SFileTest, ReplacingEmptiesTheFileAskingFirstOnlyInModeTwo)
{
    TPromptScript script;
    script.Answer(idYes);
    const AnsiString silent = Make("old3.dat", "old contents"), asked = Make("old2.dat", "old contents");
    {
        SFile file(silent, 3);
    }
    EXPECT_TRUE(script.Seen().empty());
    {
        SFile file(asked, 2);
    }
    EXPECT_EQ(Contents(silent), "");
    EXPECT_EQ(Contents(asked), "");
    ASSERT_EQ(script.Seen().size(), 1u);
    EXPECT_NE(script.Seen()[0].Text.find(asked), AnsiString::npos);
    EXPECT_EQ(script.Seen()[0].Flags & 0xF, mbYesNo);
}

TEST_F(SFileTest, ReplaceAskingNoKeepsTheOldFileAndUnwindsSilently)
{
    TPromptScript script;
    script.Answer(idNo);
    const AnsiString path = Make("old.dat", "old contents");
    ZError e = Raised([&] { SFile file(path, 2); });
    EXPECT_EQ(e.Number(), 999);
    EXPECT_EQ(Contents(path), "old contents");
    EXPECT_EQ(script.Seen().size(), 1u);
}

TEST_F(SFileTest, ReadingAWriteOnlyFileAndWritingAReadOnlyFileAreRefused)
{
    const AnsiString path = Make("ro.dat", "abc");
    {
        SFile reader(path, 1);
        EXPECT_EQ(Raised([&] { reader.Write("x", 1); }).Number(), 18);
        EXPECT_EQ(Raised([&] { reader.WriteText("x"); }).Number(), 18);
        EXPECT_EQ(Raised([&] { reader.WriteAt(0, "x", 1); }).Number(), 18);
    }
    EXPECT_EQ(Contents(path), "abc");
    for (uint8_t mode : {2, 3}) {
        SFile writer(Path("wo" + std::to_string(mode) + ".dat"), mode);
        char c;
        ZError e = Raised([&] { writer.Read(&c, 1); });
        EXPECT_EQ(e.Number(), 17);
        EXPECT_EQ(e.Message(), writer.Name());
    }
}

TEST_F(SFileTest, OtherModesThrowThePlainIntegerZero)
{
    const AnsiString path = Make("a.dat", "a");
    for (uint8_t mode : {0, 5}) {
        try {
            SFile file(path, mode);
            ADD_FAILURE() << "mode " << int(mode) << " opened";
        } catch (int value) {
            EXPECT_EQ(value, 0);
        }
    }
}

TEST_F(SFileTest, WriteTextEndsTheLineWithCrLf)
{
    const AnsiString path = Path("text.txt");
    {
        SFile file(path, 3);
        EXPECT_EQ(file.WriteText("abc"), 5u);
        EXPECT_EQ(file.WriteText("ж"), 3u);
    }
    EXPECT_EQ(Contents(path), "abc\r\n\xE6\r\n");
}

TEST_F(SFileTest, WriteAtRewritesBehindThePositionAndReturnsToTheEnd)
{
    const AnsiString path = Path("at.dat");
    {
        SFile file(path, 3);
        file.Write("0123456789", 10);
        EXPECT_EQ(file.WriteAt(10, "AB", 2), 2u);  // at the current position
        EXPECT_EQ(file.Tell(), 12u);
        EXPECT_EQ(file.WriteAt(3, "x", 1), 1u);
        EXPECT_EQ(file.Tell(), 12u);
        file.Seek(5);
        ZError e = Raised([&] { file.WriteAt(6, "y", 1); });  // one byte beyond the position
        EXPECT_EQ(e.Number(), 18);
    }
    EXPECT_EQ(Contents(path), "012x456789AB");
}

TEST_F(SFileTest, SeekFromEachOriginButNotBeforeTheStart)
{
    const AnsiString path = Make("seek.dat", "0123456789");
    SFile file(path, 1);
    EXPECT_EQ(file.SeekFrom(-3, 2), 7u);
    EXPECT_EQ(file.SeekFrom(-2, 1), 5u);
    EXPECT_EQ(file.SeekFrom(4, 0), 4u);
    char c = 0;
    file.Read(&c, 1);
    EXPECT_EQ(c, '4');
    EXPECT_EQ(file.Tell(), 5u);
    ZError e = Raised([&] { file.SeekFrom(-10, 0); });
    EXPECT_EQ(e.Number(), 99);
    EXPECT_EQ(e.Message().rfind(path + "#(", 0), 0u);
    EXPECT_NE(e.Message().find("[Win=00000083])"), AnsiString::npos);  // negative seek
}

TEST_F(SFileTest, FileLockedByAnotherOpenerIsASystemErrorWithItsText)
{
    const AnsiString path = Make("locked.dat", "abc");
    HANDLE lock = CreateFileW(Cp1251ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ZError e = Raised([&] { SFile file(path, 1); });
    CloseHandle(lock);
    EXPECT_EQ(e.Number(), 99);
    const AnsiString &m = e.Message();
    ASSERT_EQ(m.rfind(path + "#(", 0), 0u) << m;
    const AnsiString tail = "[Win=00000020])";
    ASSERT_GT(m.size(), path.size() + 2 + tail.size()) << "the system's text is missing: " << m;
    EXPECT_EQ(m.substr(m.size() - tail.size()), tail);
    EXPECT_EQ(MessageText(m, 99), m);
    EXPECT_EQ(Contents(path), "abc");
}

TEST_F(SFileTest, FileIsSharedForReadingAndWritingWithOtherOpeners)
{
    const AnsiString path = Make("shared.dat", "abc");
    SFile first(path, 4);
    SFile second(path, 1);
    HANDLE other = CreateFileW(Cp1251ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(other, INVALID_HANDLE_VALUE);
    CloseHandle(other);
}

TEST_F(SFileTest, AliasPathOpensTheFileInTheAliasFolder)
{
    const AnsiString path = Make("cfg.qmt", "config");
    TStringList names, folders;
    folders.Add(temp_.Path());
    names.AddObject("CFG", nullptr);  // folder index 0
    names.Sort();
    AliasNames = &names;
    AliasFolders = &folders;
    {
        SFile file("CFG#cfg.qmt", 1);
        EXPECT_EQ(file.Name(), path);
        char buffer[6];
        EXPECT_EQ(file.Read(buffer, 6), 6u);
        EXPECT_EQ(std::string(buffer, 6), "config");
    }
    EXPECT_EQ(Raised([] { SFile file("DOC#cfg.qmt", 1); }).Number(), 7);
    AliasNames = nullptr;
    AliasFolders = nullptr;
}
