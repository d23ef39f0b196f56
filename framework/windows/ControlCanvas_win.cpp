// TControlCanvas: a canvas over a control's window, fetching the window's context when first drawn on and
// again after the control has made its window anew.
#include <windows.h>

#include "framework/graphics/Graphics.h"
#include "framework/windows/Controls.h"

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetPaintContext(HDC dc)
{
    FreeHandle();
    SetHandle(dc);
}

void TControlCanvas::CreateHandle()
{
    window_ = control_->Handle();
    SetHandle(GetDC(window_));
}

bool TControlCanvas::HandleStale() const
{
    // A context fetched from the control's window, which the control has made anew (or let go) since.
    return window_ != nullptr && (!control_->HandleAllocated() || control_->Handle() != window_);
}

void TControlCanvas::FreeHandle()
{
    HDC dc = CurrentHandle();
    SetHandle(nullptr);
    if (dc && window_)
        ReleaseDC(window_, dc);
    window_ = nullptr;
}
