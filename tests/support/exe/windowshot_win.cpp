// Test helper: saves a picture of a program's main window as a 24-bit BMP file, once the program has
// finished its work.
//   windowshot.exe PROGRAM OUT.bmp DONE_PATTERN TIMEOUT_MS
// PROGRAM is a process id or the file name of the program's executable ("qmtupdt.exe").
// Waits until a file matching DONE_PATTERN (wildcards allowed) exists and then a moment more for the
// window to paint. Exit code 0 when saved, 1 when the file or the window did not appear, 2 for wrong
// arguments.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<Search *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER))
        return TRUE;
    search->found = window;
    return FALSE;
}

DWORD ProcessOf(const wchar_t *program)
{
    if (program[0] >= L'0' && program[0] <= L'9')
        return static_cast<DWORD>(_wtoi(program));
    DWORD id = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !id; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, program) == 0)
            id = entry.th32ProcessID;
    CloseHandle(snapshot);
    return id;
}

bool Exists(const wchar_t *pattern)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}

bool Save(HWND window, const wchar_t *fileName)
{
    SetForegroundWindow(window);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * h);
    SelectObject(dc, old);
    GetDIBits(dc, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE *f = _wfopen(fileName, L"wb");
    if (!f)
        return false;
    bool ok = std::fwrite(&head, sizeof head, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1 &&
              std::fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 5)
        return 2;
    Search search{0, nullptr};
    const int timeout = _wtoi(argv[4]);
    int waited = 0;
    for (; !Exists(argv[3]); waited += 100) {
        if (waited > timeout)
            return 1;
        Sleep(100);
    }
    Sleep(1000);
    search.process = ProcessOf(argv[1]);
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found && Save(search.found, argv[2]) ? 0 : 1;
}
