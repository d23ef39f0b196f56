// The shipped updater run as a user runs it: a payload appended to the real executable, in a product
// folder whose installed version does not fit, the error box answered from outside the process.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Cp1251.h"
#include "framework/SysUtils.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"

namespace {

std::vector<uint8_t> ReadAll(const AnsiString &fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
    if (!bytes.empty())
        file.ReadBuffer(bytes.data(), static_cast<long>(bytes.size()));
    return bytes;
}

bool Start(const AnsiString &commandLine, const AnsiString &folder, PROCESS_INFORMATION &process)
{
    std::wstring line = Cp1251ToWide(commandLine), dir = Cp1251ToWide(folder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup, &process);
}

BOOL CALLBACK CloseWindowsOf(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<std::pair<DWORD, HWND> *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->first || !IsWindowVisible(window) || GetWindow(window, GW_OWNER))
        return TRUE;
    search->second = window;
    return FALSE;
}

// The window as the user sees it, saved as a 24-bit BMP file.
void SaveWindowPicture(HWND window, const AnsiString &fileName)
{
    SetForegroundWindow(window);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);  // as it stands on the screen
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> pixels(static_cast<size_t>(stride) * h);
    SelectObject(dc, old);
    GetDIBits(dc, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + static_cast<DWORD>(pixels.size());
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(&head, sizeof head);
    file.WriteBuffer(&info, sizeof info);
    file.WriteBuffer(pixels.data(), static_cast<long>(pixels.size()));
}

}  // namespace

TEST(UpdaterExe, VersionMismatchAnsweredFromOutside)
{
    AnsiString root = MakeTestFolder("qmt_updater_exe");
    TestInstallation older;
    older.VersionText = "5-3.0.9";
    BuildInstallation(root, older);
    TestPayloadBuilder payload;
    payload.Image = ReadAll(QMT_UPDATER_EXE);
    std::vector<uint8_t> updater = payload.Build().Bytes;
    {
        TFileStream file(root + "qmtupdt.exe", fmCreate);
        file.WriteBuffer(updater.data(), static_cast<long>(updater.size()));
    }

    PROCESS_INFORMATION run{};
    ASSERT_TRUE(Start("\"" + root + "qmtupdt.exe\"", root, run));
    PROCESS_INFORMATION clicker{};
    ASSERT_TRUE(Start("\"" QMT_HELPER_DIR "\\boxclicker.exe\" -seq " + std::to_string(run.dwProcessId) + " 60000 \"" +
                          root + "box.txt\" \"Ошибка!=1\"",
                      root, clicker));
    WaitForSingleObject(clicker.hProcess, 90000);
    DWORD clicked = 99;
    GetExitCodeProcess(clicker.hProcess, &clicked);
    CloseHandle(clicker.hProcess);
    CloseHandle(clicker.hThread);
    EXPECT_EQ(0u, clicked) << "no error box appeared";

    // The run ends after the box: the protocol file appears beside the journal it was going to keep.
    AnsiString protocolFile = root + "Протокол_qmt_3.1.1.txt";
    for (int i = 0; i < 600 && !FileExists(protocolFile); ++i)
        Sleep(50);
    Sleep(500);
    ASSERT_TRUE(FileExists(protocolFile));
    EXPECT_FALSE(FileExists(root + "qmt_3.1.1.txt"));

    std::vector<uint8_t> box = ReadAll(root + "box.txt");
    std::wstring boxText(reinterpret_cast<const wchar_t *>(box.data()), box.size() / 2);
    EXPECT_NE(AnsiString::npos, WideToCp1251(boxText).find("ЦМТ 5 3.1.0"));

    TStringList protocol;
    protocol.LoadFromFile(protocolFile);
    EXPECT_EQ(" Самопроверка", protocol.Strings(1));
    EXPECT_NE(-1,
              protocol.IndexOf("Обновление не предназначено для данной редакции ЦМТ.  У Вас установлена ЦМТ-5-3.0.9"));

    std::pair<DWORD, HWND> main{run.dwProcessId, nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&main));
    if (main.second) {
        ForceDirectories(QMT_SCREENSHOT_DIR);
        SaveWindowPicture(main.second, QMT_SCREENSHOT_DIR "\\main_window_after_run.bmp");
    }

    // The run has finished, so the window may close, and the program ends with it.
    EnumWindows(CloseWindowsOf, static_cast<LPARAM>(run.dwProcessId));
    DWORD ended = WaitForSingleObject(run.hProcess, 30000);
    if (ended != WAIT_OBJECT_0)
        TerminateProcess(run.hProcess, 1);
    EXPECT_EQ(WAIT_OBJECT_0, ended);
    CloseHandle(run.hProcess);
    CloseHandle(run.hThread);
    RemoveTestFolder(root);
}
