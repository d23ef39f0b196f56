#include <windows.h>
#include <shellapi.h>

#include <climits>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Exception.h"
#include "framework/graphics/Graphics.h"

// The bitmap's own memory context with the image selected into it, made with the bitmap.
class TBitmap::TBitmapCanvas : public TDCCanvas {
public:
    explicit TBitmapCanvas(HBITMAP bitmap)
    {
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap);
        SetHandle(dc_);
    }
    ~TBitmapCanvas() override
    {
        SetHandle(nullptr);
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() { Release(); }

void TBitmap::Release()
{
    canvas_.reset();
    if (bitmap_)
        DeleteObject(bitmap_);
    bitmap_ = nullptr;
    width_ = height_ = 0;
}

void TBitmap::SetSize(int width, int height)
{
    if (width < 0 || height < 0)
        throw Exception("Invalid bitmap size");
    Release();
    if (width == 0 || height == 0)
        return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_)
        throw Exception("Out of memory for a bitmap of " + std::to_string(width) + " x " + std::to_string(height));
    width_ = width;
    height_ = height;
    Canvas()->FillRect(Rect(0, 0, width, height));
}

TCanvas *TBitmap::Canvas()
{
    if (!canvas_) {
        if (!bitmap_)
            throw Exception("An empty bitmap has no canvas");
        canvas_ = std::make_unique<TBitmapCanvas>(bitmap_);
    }
    return canvas_.get();
}

bool TBitmap::LoadFromResourceID(int id)
{
    HANDLE loaded =
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!loaded)
        return false;
    BITMAP info{};
    GetObjectW(loaded, sizeof info, &info);
    SetSize(info.bmWidth, info.bmHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, loaded);
    BitBlt(Canvas()->Handle(), 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(loaded);
    return true;
}

// ---- TIcon ---------------------------------------------------------------------------------------

TIcon::~TIcon() { Release(); }

void TIcon::Release()
{
    if (handle_)
        DestroyIcon(handle_);
    handle_ = nullptr;
    width_ = height_ = 0;
}

namespace {
bool IconSize(HICON icon, int &width, int &height)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return false;
    BITMAP bm{};
    GetObjectW(info.hbmMask, sizeof bm, &bm);
    width = bm.bmWidth;
    // Without a colour bitmap the mask holds the AND and XOR halves one above the other.
    height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}
}  // namespace

bool TIcon::LoadFromImage(const void *image, size_t size, int width, int height)
{
    Release();
    if (!image || size < sizeof(BITMAPINFOHEADER))
        return false;
    handle_ = CreateIconFromResourceEx(static_cast<PBYTE>(const_cast<void *>(image)), static_cast<DWORD>(size), TRUE,
                                       0x30000, width, height, LR_DEFAULTCOLOR);
    if (handle_ && !IconSize(handle_, width_, height_))
        Release();
    return handle_ != nullptr;
}

bool TIcon::LoadFromResourceID(int id, int width, int height)
{
    Release();
    handle_ = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (handle_ && !IconSize(handle_, width_, height_))
        Release();
    return handle_ != nullptr;
}

bool TIcon::LoadFromExecutable(const AnsiString &fileName, int index, bool large)
{
    Release();
    // A negative index would ask the system for an icon by resource number instead.
    if (index < 0 || index >= ExecutableIconCount(fileName))
        return false;
    std::wstring name = Cp1251ToWide(fileName);
    HICON icon = nullptr;
    if (ExtractIconExW(name.c_str(), index, large ? &icon : nullptr, large ? nullptr : &icon, 1) == 0 || !icon)
        return false;
    handle_ = icon;
    if (!IconSize(handle_, width_, height_))
        Release();
    return handle_ != nullptr;
}

int ExecutableIconCount(const AnsiString &fileName)
{
    if (fileName.empty())
        return 0;
    std::wstring name = Cp1251ToWide(fileName);
    UINT count = ExtractIconExW(name.c_str(), -1, nullptr, nullptr, 0);
    // The system answers an unreadable file with 0 or, on some versions, with all bits set.
    return count == UINT_MAX ? 0 : static_cast<int>(count);
}

void TIcon::Draw(TCanvas &canvas, int x, int y, int width, int height) const
{
    if (!handle_)
        return;
    DrawIconEx(canvas.Handle(), x, y, handle_, width ? width : width_, height ? height : height_, 0, nullptr,
               DI_NORMAL);
}
