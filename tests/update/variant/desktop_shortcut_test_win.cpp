#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/ShellLink.h"
#include "tests/support/ShellLinks.h"
#include "tests/support/TempFolder.h"
#include "update/variant/DesktopShortcut.h"

namespace {
// The real system with the desktop moved into a test folder.
class TestDesktop : public IDesktopServices {
public:
    explicit TestDesktop(AnsiString desktop) : desktop_(std::move(desktop)) {}
    TRegistryRead ReadUserString(const AnsiString &, const AnsiString &, AnsiString &value) override
    {
        value = desktop_;
        return rrOk;
    }
    AnsiString WindowsFolder() override { return SystemDesktopServices().WindowsFolder(); }
    bool FolderExists(const AnsiString &folder) override { return SystemDesktopServices().FolderExists(folder); }
    bool SaveLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                  const AnsiString &workingFolder) override
    {
        return SystemDesktopServices().SaveLink(target, linkFile, description, workingFolder);
    }

private:
    AnsiString desktop_;
};
}  // namespace

TEST(DesktopShortcutSystem, TheLinkReadsBackWithTargetFolderAndShowState)
{
    TempFolder tmp;
    ASSERT_TRUE(ForceDirectories(tmp / "Копия\\EXE"));
    WriteWholeFile(tmp / "Копия\\EXE\\qmt.exe", "MZ");
    ASSERT_TRUE(CreateDir(tmp / "Рабочий стол"));
    TestDesktop sys(tmp / "Рабочий стол");
    bool saved = false;
    ASSERT_TRUE(CreateDesktopShortcut(tmp / "Копия\\EXE\\qmt.exe", "Копия.LNK", tmp / "Копия", sys, &saved));
    EXPECT_TRUE(saved);
    ASSERT_TRUE(FileExists(tmp / "Рабочий стол\\Копия.LNK"));
    TShellLinkInfo info;
    ASSERT_TRUE(ReadShellLink(tmp / "Рабочий стол\\Копия.LNK", info));
    EXPECT_TRUE(AnsiSameText(tmp / "Копия\\EXE\\qmt.exe", info.Target)) << info.Target;
    EXPECT_TRUE(AnsiSameText(tmp / "Копия", info.WorkingFolder));
    EXPECT_EQ("Копия.LNK", info.Description);
    // The file stores "shown" (5) in its header; readers of links take any value but maximised and
    // minimised as normal.
    std::string bytes = ReadWholeFile(tmp / "Рабочий стол\\Копия.LNK");
    ASSERT_GE(bytes.size(), 0x40u);
    EXPECT_EQ(SW_SHOW, static_cast<unsigned char>(bytes[0x3C]));
    EXPECT_EQ(SW_SHOWNORMAL, info.ShowCmd);
}

TEST(DesktopShortcutSystem, AFailedSaveIsReportedAndTheStepStillSucceeds)
{
    TempFolder tmp;
    TestDesktop sys(tmp / "missing desktop");
    bool saved = true;
    EXPECT_TRUE(CreateDesktopShortcut("C:\\x.exe", "L.LNK", "C:\\", sys, &saved));
    EXPECT_FALSE(saved);
    EXPECT_FALSE(FileExists(tmp / "missing desktop\\L.LNK"));
    // A link name too long for the system is refused, not saved under a cut name.
    EXPECT_FALSE(SaveShellLinkFile("C:\\x.exe", tmp / (AnsiString(300, 'n') + ".LNK"), "d", "C:\\", swShow));
}

TEST(DesktopShortcutSystem, RealWindowsFolderAndDesktop)
{
    EXPECT_TRUE(DirectoryExists(GetWindowsFolder()));
    char buffer[DesktopFolderBufferSize];
    int n = ReadDesktopFolder(buffer);
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(buffer));
}

TEST(Registry, ReadsPlainStringsOnly)
{
    const AnsiString keyPath = "Software\\QMT_Test_" + IntToStr(GetCurrentProcessId());
    std::wstring wideKey = Cp1251ToWide(keyPath);
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, wideKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    std::wstring desktop = L"C:\\Пользователь\\Рабочий стол";
    RegSetValueExW(key, L"Desktop", 0, REG_SZ, reinterpret_cast<const BYTE *>(desktop.c_str()),
                   static_cast<DWORD>((desktop.size() + 1) * sizeof(wchar_t)));
    DWORD number = 5;
    RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
    std::wstring expand = L"%USERPROFILE%\\Desktop";
    RegSetValueExW(key, L"Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE *>(expand.c_str()),
                   static_cast<DWORD>((expand.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);

    AnsiString value = "unchanged";
    EXPECT_EQ(rrOk, ReadUserRegistryString(keyPath, "Desktop", value));
    EXPECT_EQ("C:\\Пользователь\\Рабочий стол", value);
    value = "unchanged";
    EXPECT_EQ(rrWrongType, ReadUserRegistryString(keyPath, "Number", value));
    EXPECT_EQ(rrWrongType, ReadUserRegistryString(keyPath, "Expand", value));
    EXPECT_EQ(rrNoValue, ReadUserRegistryString(keyPath, "Absent", value));
    EXPECT_EQ("unchanged", value);
    EXPECT_EQ(rrNoKey, ReadUserRegistryString(keyPath + "\\none", "Desktop", value));

    RegDeleteKeyW(HKEY_CURRENT_USER, wideKey.c_str());
}
