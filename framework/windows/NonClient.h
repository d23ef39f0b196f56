#pragma once
// The non-client area of windows (caption, frame, borders): its messages and hit-test codes, a canvas on
// the whole window, mouse capture, rectangle regions and the repainting of a part of a frame, and the
// window that lies on top at a point of the screen. Declared without <windows.h>; the definitions are
// Windows build only. The system metrics of frames and caption buttons are in Forms.h (smCxFrame...).
#include <cstdint>

#include "framework/graphics/Graphics.h"
#include "framework/windows/Messages.h"
#include "framework/runtime/Types.h"
#include "framework/graphics/WinHandles.h"

struct HRGN__;
typedef HRGN__ *HRGN;

// ---- messages (the system's values; <windows.h> macros stand where it came first) -------------------
#ifndef WM_NCCREATE
constexpr unsigned WM_NCCREATE = 0x0081;
#endif
#ifndef WM_NCDESTROY
constexpr unsigned WM_NCDESTROY = 0x0082;
#endif
#ifndef WM_NCCALCSIZE
constexpr unsigned WM_NCCALCSIZE = 0x0083;
#endif
#ifndef WM_NCMOUSEMOVE
constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
#endif
#ifndef WM_NCLBUTTONDBLCLK
constexpr unsigned WM_NCLBUTTONDBLCLK = 0x00A3;
#endif
#ifndef WM_NCRBUTTONDOWN
constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4;
#endif
#ifndef WM_NCRBUTTONUP
constexpr unsigned WM_NCRBUTTONUP = 0x00A5;
#endif
#ifndef WM_NCMOUSELEAVE
constexpr unsigned WM_NCMOUSELEAVE = 0x02A2;
#endif
#ifndef WM_CAPTURECHANGED
constexpr unsigned WM_CAPTURECHANGED = 0x0215;
#endif
#ifndef WM_THEMECHANGED
constexpr unsigned WM_THEMECHANGED = 0x031A;
#endif

// ---- hit-test codes (answers to WM_NCHITTEST; the WParam of the WM_NC* mouse messages) -------------
#ifndef HTERROR
constexpr int HTERROR = -2;
#endif
#ifndef HTTRANSPARENT
constexpr int HTTRANSPARENT = -1;
#endif
#ifndef HTNOWHERE
constexpr int HTNOWHERE = 0;
#endif
#ifndef HTCLIENT
constexpr int HTCLIENT = 1;
#endif
#ifndef HTCAPTION
constexpr int HTCAPTION = 2;
#endif
#ifndef HTSYSMENU
constexpr int HTSYSMENU = 3;
#endif
#ifndef HTMENU
constexpr int HTMENU = 5;
#endif
#ifndef HTHSCROLL
constexpr int HTHSCROLL = 6;
#endif
#ifndef HTVSCROLL
constexpr int HTVSCROLL = 7;
#endif
#ifndef HTMINBUTTON
constexpr int HTMINBUTTON = 8;
#endif
#ifndef HTMAXBUTTON
constexpr int HTMAXBUTTON = 9;
#endif
#ifndef HTLEFT
constexpr int HTLEFT = 10;
#endif
#ifndef HTRIGHT
constexpr int HTRIGHT = 11;
#endif
#ifndef HTTOP
constexpr int HTTOP = 12;
#endif
#ifndef HTTOPLEFT
constexpr int HTTOPLEFT = 13;
#endif
#ifndef HTTOPRIGHT
constexpr int HTTOPRIGHT = 14;
#endif
#ifndef HTBOTTOM
constexpr int HTBOTTOM = 15;
#endif
#ifndef HTBOTTOMLEFT
constexpr int HTBOTTOMLEFT = 16;
#endif
#ifndef HTBOTTOMRIGHT
constexpr int HTBOTTOMRIGHT = 17;
#endif
#ifndef HTBORDER
constexpr int HTBORDER = 18;
#endif
#ifndef HTCLOSE
constexpr int HTCLOSE = 20;
#endif
#ifndef HTHELP
constexpr int HTHELP = 21;
#endif

// The screen point packed into the LParam of WM_NCHITTEST and the WM_NC* mouse messages (and of the
// client mouse messages, there in client coordinates): x in the low 16 bits, y in the next, signed.
TPoint PointFromLParam(intptr_t lParam);
intptr_t PointToLParam(const TPoint &point);

// ---- window geometry -------------------------------------------------------------------------------

// The window's rectangle, frame included, in screen coordinates (empty for no window).
TRect WindowScreenRect(HWND window);
// A screen point in the coordinates of the whole window (0, 0 at the outer top-left of its frame).
TPoint ScreenToWindow(HWND window, const TPoint &point);

// ---- a canvas on the whole window -----------------------------------------------------------------

// Draws over the whole window, frame and caption included, in window coordinates. The device context is
// fetched on first use and released with the canvas (or by Release, to fetch a fresh one later).
class TWindowCanvas : public TDCCanvas {
public:
    explicit TWindowCanvas(HWND window) : window_(window) {}
    ~TWindowCanvas() override;
    TWindowCanvas(const TWindowCanvas &) = delete;
    TWindowCanvas &operator=(const TWindowCanvas &) = delete;
    HWND Window() const { return window_; }
    void Release() { FreeHandle(); }

protected:
    void CreateHandle() override;
    void FreeHandle() override;

private:
    HWND window_;
    HDC fetched_ = nullptr;
};

// ---- mouse capture ---------------------------------------------------------------------------------

// Sends the mouse's messages to the window (of this thread) until released, wherever the mouse is;
// returns the window that had the capture before, or null.
HWND SetMouseCapture(HWND window);
// The window of this thread that has the capture, or null.
HWND MouseCapture();
void ReleaseMouseCapture();

// ---- regions ---------------------------------------------------------------------------------------

// A region of the screen or of a window made of rectangles; owns its system object.
class TRegion {
public:
    // Empty.
    TRegion();
    explicit TRegion(const TRect &rect);
    ~TRegion();
    TRegion(TRegion &&other) noexcept;
    TRegion &operator=(TRegion &&other) noexcept;
    TRegion(const TRegion &) = delete;
    TRegion &operator=(const TRegion &) = delete;

    HRGN Handle() const { return handle_; }
    // Takes the system object away from the region (the caller deletes it); the region is empty after.
    HRGN Release();

    // This region without the rectangle (or without the other region).
    void Subtract(const TRect &rect);
    void Subtract(const TRegion &other);
    // Adds the rectangle.
    void Unite(const TRect &rect);
    bool Contains(const TPoint &point) const;
    bool Empty() const;
    // The smallest rectangle around it (empty when it is).
    TRect Bounds() const;

private:
    HRGN handle_;
};

// A region handed over by the system, as the WParam of WM_NCPAINT: 1 there means the whole frame, and
// only a value above 1 is a region.
inline bool IsRegionHandle(uintptr_t value) { return value > 1; }
// Takes a rectangle out of a region someone else owns; nothing for a value that is no region.
void SubtractRectFromRegion(uintptr_t region, const TRect &rect);

// Repaints the frame of a window in a rectangle of the screen: sends it WM_NCPAINT with a region of the
// rectangle (the region is deleted after the call).
void RepaintFrame(HWND window, const TRect &screenRect);
// Repaints the whole frame (WM_NCPAINT with 1).
void RepaintFrame(HWND window);

// ---- windows at a point ------------------------------------------------------------------------------

// The visible window that lies on top at a point of the screen (the innermost child there that takes
// the mouse; a disabled child counts as its parent), or null when no window of any process is there.
HWND WindowAtPoint(const TPoint &screenPoint);
// The top-level window (a form, a dialog) of the window on top at a point, or null.
HWND TopLevelWindowAtPoint(const TPoint &screenPoint);
