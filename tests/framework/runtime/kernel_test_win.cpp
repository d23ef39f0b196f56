#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {
AnsiString UniqueName(const char *base) { return AnsiString(base) + IntToStr(GetCurrentProcessId()); }
}  // namespace

TEST(NamedMutex, SecondCreationReportsThatItExisted)
{
    const AnsiString name = UniqueName("QMT_TEST_C:_ПРОДУКТ_EXE_QMT.EXE_");
    TNamedMutex first, second;
    ASSERT_TRUE(first.Create(name));
    EXPECT_FALSE(first.AlreadyExisted());
    ASSERT_TRUE(second.Create(name));
    EXPECT_TRUE(second.AlreadyExisted());
    EXPECT_EQ(static_cast<unsigned long>(ERROR_ALREADY_EXISTS), second.Error());
    second.Close();
    first.Close();
    EXPECT_FALSE(first.Held());
    // Once every holder has closed it, the name is free again.
    TNamedMutex again;
    ASSERT_TRUE(again.Create(name));
    EXPECT_FALSE(again.AlreadyExisted());
}

TEST(NamedMutex, ANameTheSystemRefusesFails)
{
    TNamedMutex m;
    // A backslash names a namespace; an unknown one is refused.
    EXPECT_FALSE(m.Create("NoSuchNamespace\\x"));
    EXPECT_FALSE(m.Held());
    EXPECT_NE(0u, m.Error());
}

TEST(FileMappingTest, ReadOnlyViewOfAFile)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "old.bin", "0123456789");
    TFileMapping map;
    ASSERT_TRUE(map.MapFile(tmp / "old.bin", UniqueName("hMapInFl")));
    EXPECT_EQ(10u, map.Size());
    EXPECT_EQ(0, std::memcmp(map.Data(), "0123456789", 10));
    // The file stays readable and writable for others while mapped read-only.
    EXPECT_EQ("0123456789", ReadWholeFile(tmp / "old.bin"));
    map.Close();
    EXPECT_FALSE(map.Mapped());
}

TEST(FileMappingTest, WritableMappingOfAGivenSizeExtendsTheFile)
{
    TempFolder tmp;
    {
        TFileStream out(tmp / "new.bin", fmCreate);
        TFileMapping map;
        ASSERT_TRUE(map.Map(out.Handle(), true, 6, ""));
        EXPECT_EQ(6u, map.Size());
        std::memcpy(map.Data(), "abcdef", 6);
    }
    EXPECT_EQ("abcdef", ReadWholeFile(tmp / "new.bin"));
}

TEST(FileMappingTest, FailuresLeaveNoView)
{
    TempFolder tmp;
    TFileMapping map;
    EXPECT_FALSE(map.MapFile(tmp / "missing.bin", ""));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), map.Error());
    EXPECT_FALSE(map.Mapped());
    WriteWholeFile(tmp / "empty.bin", "");
    EXPECT_FALSE(map.MapFile(tmp / "empty.bin", ""));  // nothing to map
    EXPECT_NE(0u, map.Error());
    EXPECT_EQ(nullptr, map.Data());
    EXPECT_FALSE(map.Map(nullptr, false, 0, ""));
}

TEST(FileMappingTest, NamedMemoryIsShared)
{
    const AnsiString name = UniqueName("InFile_");
    TFileMapping a, b;
    ASSERT_TRUE(a.MapMemory(4096, name));
    EXPECT_FALSE(a.AlreadyExisted());
    ASSERT_TRUE(b.MapMemory(4096, name));
    EXPECT_TRUE(b.AlreadyExisted());
    std::memcpy(a.Data(), "shared", 7);
    EXPECT_STREQ("shared", static_cast<const char *>(b.Data()));
}

TEST(SystemQueries, ErrorTextsModuleAndWindowsFolder)
{
    AnsiString text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.empty());
    EXPECT_NE('\n', text.back());
    EXPECT_TRUE(AnsiSameText("test_framework.exe", ExtractFileName(GetModuleFileName())));
    EXPECT_TRUE(FileExists(GetModuleFileName()));
    AnsiString win = GetWindowsFolderPath();
    EXPECT_TRUE(DirectoryExists(win)) << win;
}

TEST(SystemQueries, Drives)
{
    TErrorModeGuard quiet;
    std::uint32_t mask = GetLogicalDriveMask();
    AnsiString win = GetWindowsFolderPath();
    ASSERT_FALSE(win.empty());
    int letter = AnsiUpperChar(win[0]) - 'A';
    EXPECT_TRUE(mask & (1u << letter));
    AnsiString root = win.substr(0, 3);
    EXPECT_EQ(dkFixed, GetDriveKind(root));
    std::uint64_t free = 0;
    EXPECT_TRUE(GetFreeBytesAvailable(root, free));
    EXPECT_GT(free, 0u);
    // A letter with no drive.
    for (int l = 25; l >= 2; --l)
        if (!(mask & (1u << l))) {
            AnsiString none = AnsiString(1, static_cast<char>('A' + l)) + ":\\";
            EXPECT_EQ(dkNoRootDir, GetDriveKind(none));
            EXPECT_FALSE(GetFreeBytesAvailable(none, free));
            break;
        }
}

TEST(Processes, StartsWithTheGivenFolderAndArguments)
{
    TempFolder tmp;
    const AnsiString probe = AnsiString(QMT_HELPER_DIR) + "\\cwdprobe.exe";
    ASSERT_TRUE(FileExists(probe)) << probe;
    ASSERT_TRUE(CreateDir(tmp / "Продукт"));
    const AnsiString out = tmp / "out.txt";
    ASSERT_EQ(0u, StartProcess(probe, "\"" + out + "\" ґ", tmp / "Продукт", swShowMaximized));
    for (int i = 0; i < 200 && FileSizeOf(out) <= 0; ++i)
        Sleep(50);
    Sleep(100);
    std::string bytes = ReadWholeFile(out);
    std::wstring text(reinterpret_cast<const wchar_t *>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(Cp1251ToWide(tmp / "Продукт") + L"\n" + L"ґ", text);

    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND),
              StartProcess(tmp / "missing.exe", "", "", swShowNormal));
}
