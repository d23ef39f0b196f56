#include "framework/windows/NonClient.h"

#include <windows.h>

#include "framework/runtime/Exception.h"

TPoint PointFromLParam(intptr_t lParam)
{
    return Point(static_cast<int16_t>(lParam & 0xFFFF), static_cast<int16_t>((lParam >> 16) & 0xFFFF));
}

intptr_t PointToLParam(const TPoint &point)
{
    return static_cast<intptr_t>(static_cast<uint16_t>(point.X)) |
           (static_cast<intptr_t>(static_cast<uint16_t>(point.Y)) << 16);
}

TRect WindowScreenRect(HWND window)
{
    RECT r{0, 0, 0, 0};
    if (!window || !GetWindowRect(window, &r))
        return TRect{};
    return Rect(r.left, r.top, r.right, r.bottom);
}

TPoint ScreenToWindow(HWND window, const TPoint &point)
{
    TRect r = WindowScreenRect(window);
    return Point(point.X - r.Left, point.Y - r.Top);
}

// ---- TWindowCanvas -----------------------------------------------------------------------------------

TWindowCanvas::~TWindowCanvas() { FreeHandle(); }

void TWindowCanvas::CreateHandle()
{
    if (!window_)
        return;
    fetched_ = GetWindowDC(window_);
    SetHandle(fetched_);
}

void TWindowCanvas::FreeHandle()
{
    SetHandle(nullptr);
    if (fetched_)
        ReleaseDC(window_, fetched_);
    fetched_ = nullptr;
}

// ---- mouse capture -----------------------------------------------------------------------------------

HWND SetMouseCapture(HWND window) { return SetCapture(window); }

HWND MouseCapture() { return GetCapture(); }

void ReleaseMouseCapture() { ReleaseCapture(); }

// ---- TRegion -----------------------------------------------------------------------------------------

namespace {
HRGN NewRegion(const TRect &r)
{
    HRGN region = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    if (!region)
        throw Exception("Cannot make a region");
    return region;
}
}  // namespace

TRegion::TRegion() : handle_(NewRegion(TRect{})) {}

TRegion::TRegion(const TRect &rect) : handle_(NewRegion(rect)) {}

TRegion::~TRegion()
{
    if (handle_)
        DeleteObject(handle_);
}

TRegion::TRegion(TRegion &&other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

TRegion &TRegion::operator=(TRegion &&other) noexcept
{
    if (this != &other) {
        if (handle_)
            DeleteObject(handle_);
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

HRGN TRegion::Release()
{
    HRGN region = handle_;
    handle_ = NewRegion(TRect{});
    return region;
}

void TRegion::Subtract(const TRect &rect)
{
    TRegion cut(rect);
    Subtract(cut);
}

void TRegion::Subtract(const TRegion &other)
{
    if (handle_ && other.handle_)
        CombineRgn(handle_, handle_, other.handle_, RGN_DIFF);
}

void TRegion::Unite(const TRect &rect)
{
    TRegion add(rect);
    if (handle_)
        CombineRgn(handle_, handle_, add.handle_, RGN_OR);
}

bool TRegion::Contains(const TPoint &point) const { return handle_ && PtInRegion(handle_, point.X, point.Y); }

bool TRegion::Empty() const
{
    RECT r{0, 0, 0, 0};
    return !handle_ || GetRgnBox(handle_, &r) == NULLREGION;
}

TRect TRegion::Bounds() const
{
    RECT r{0, 0, 0, 0};
    if (!handle_ || GetRgnBox(handle_, &r) == NULLREGION)
        return TRect{};
    return Rect(r.left, r.top, r.right, r.bottom);
}

void SubtractRectFromRegion(uintptr_t region, const TRect &rect)
{
    if (!IsRegionHandle(region))
        return;
    TRegion cut(rect);
    auto *target = reinterpret_cast<HRGN>(region);
    CombineRgn(target, target, cut.Handle(), RGN_DIFF);
}

void RepaintFrame(HWND window, const TRect &screenRect)
{
    if (!window)
        return;
    TRegion region(screenRect);
    SendMessageW(window, WM_NCPAINT, reinterpret_cast<WPARAM>(region.Handle()), 0);
}

void RepaintFrame(HWND window)
{
    if (window)
        SendMessageW(window, WM_NCPAINT, 1, 0);
}

// ---- windows at a point ----------------------------------------------------------------------------

HWND WindowAtPoint(const TPoint &screenPoint) { return WindowFromPoint(POINT{screenPoint.X, screenPoint.Y}); }

HWND TopLevelWindowAtPoint(const TPoint &screenPoint)
{
    HWND window = WindowAtPoint(screenPoint);
    return window ? GetAncestor(window, GA_ROOT) : nullptr;
}
