#include "tests/support/WindowPicture.h"

#include <cstdio>
#include <string>
#include <vector>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"

namespace {

// The pixels of a rectangle of what a device context shows, 0xRRGGBB, row by row from the top.
std::vector<uint32_t> PixelsOf(HDC source, const RECT &r)
{
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return {};
    HDC dc = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, w, h);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, source, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = -h;  // top row first
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    GetDIBits(dc, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(dc);
    for (uint32_t &pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

}  // namespace

std::vector<uint32_t> ScreenPixels(const RECT &r)
{
    HDC screen = GetDC(nullptr);
    std::vector<uint32_t> pixels = PixelsOf(screen, r);  // as it stands on the screen
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<uint32_t> ClientPixels(HWND window, const RECT &r)
{
    HDC client = GetDC(window);
    std::vector<uint32_t> pixels = PixelsOf(client, r);
    ReleaseDC(window, client);
    return pixels;
}

namespace {

// Saves a rectangle of the screen as it stands as a 24-bit BMP file.
bool SaveScreenRect(const RECT &r, const wchar_t *fileName)
{
    const std::vector<uint32_t> pixels = ScreenPixels(r);
    if (pixels.empty())
        return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> rows(static_cast<size_t>(stride) * h);  // bottom row first
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t pixel = pixels[size_t(y) * w + x];
            unsigned char *out = &rows[size_t(h - 1 - y) * stride + size_t(x) * 3];
            out[0] = pixel & 0xFF;
            out[1] = (pixel >> 8) & 0xFF;
            out[2] = (pixel >> 16) & 0xFF;
        }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + static_cast<DWORD>(rows.size());
    FILE *f = _wfopen(fileName, L"wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(&head, sizeof head, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1 &&
                    std::fwrite(rows.data(), 1, rows.size(), f) == rows.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

namespace {

// A window of another process is brought to the front and given a moment to paint.
void BringToFront(HWND window)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId()) {
        SetForegroundWindow(window);
        Sleep(300);
    }
}

}  // namespace

bool SaveWindowPicture(HWND window, const wchar_t *fileName)
{
    BringToFront(window);
    RECT r;
    return GetWindowRect(window, &r) && SaveScreenRect(r, fileName);
}

bool SaveClientPicture(HWND window, const wchar_t *fileName)
{
    BringToFront(window);
    RECT r;
    if (!GetClientRect(window, &r))
        return false;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&r), 2);
    return SaveScreenRect(r, fileName);
}

bool SaveScreenPicture(const wchar_t *fileName)
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SaveScreenRect(screen, fileName);
}

bool SaveScreenshot(HWND window, const AnsiString &name)
{
    ForceDirectories(QMT_SCREENSHOT_DIR);
    return SaveWindowPicture(window, Cp1251ToWide(QMT_SCREENSHOT_DIR "\\" + name + ".bmp").c_str());
}

bool SaveScreenScreenshot(const AnsiString &name)
{
    ForceDirectories(QMT_SCREENSHOT_DIR);
    return SaveScreenPicture(Cp1251ToWide(QMT_SCREENSHOT_DIR "\\" + name + ".bmp").c_str());
}
