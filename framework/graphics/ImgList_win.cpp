#include <windows.h>
#include <commctrl.h>

#include "framework/runtime/Exception.h"
#include "framework/graphics/ImgList.h"

TImageList::TImageList(TComponent *owner, int width, int height) : TComponent(owner), width_(width), height_(height)
{
    static bool initialized = [] {
        INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialized;
    list_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4);
    if (!list_)
        throw Exception("Cannot make an image list");
}

TImageList::~TImageList()
{
    if (list_)
        ImageList_Destroy(list_);
}

int TImageList::Count() const { return ImageList_GetImageCount(list_); }

int TImageList::AddMasked(TBitmap &strip, TColor maskColor)
{
    if (strip.Empty())
        return -1;
    // The list takes copies; the strip must not stay selected in its canvas's context meanwhile.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(strip.Canvas()->Handle(), strip.Width(), strip.Height());
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.Canvas()->Handle(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    int first = ImageList_AddMasked(list_, copy, ColorToRGB(maskColor));
    DeleteObject(copy);
    return first;
}

int TImageList::AddIcon(const TIcon &icon)
{
    if (icon.Empty())
        return -1;
    return ImageList_AddIcon(list_, icon.Handle());
}

int TImageList::LoadFromResourceID(int id, TColor maskColor)
{
    TBitmap strip;
    if (!strip.LoadFromResourceID(id))
        return -1;
    return AddMasked(strip, maskColor);
}

void TImageList::Clear() { ImageList_RemoveAll(list_); }

void TImageList::Draw(TCanvas &canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    HDC dc = canvas.Handle();
    if (enabled) {
        ImageList_Draw(list_, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    HICON icon = ImageList_GetIcon(list_, index, ILD_TRANSPARENT);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width_, height_, DST_ICON | DSS_DISABLED);
    DestroyIcon(icon);
}
