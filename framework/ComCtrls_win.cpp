#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "framework/ComCtrls.h"

TProgressBar::TProgressBar(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams &params)
{
    static bool initialized = [] {
        INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialized;
    TWinControl::CreateParams(params);
    params.WinClassName = PROGRESS_CLASSW;
}

void TProgressBar::InitializeWnd()
{
    TWinControl::InitializeWnd();
    Apply();
}

void TProgressBar::Apply()
{
    if (!HandleAllocated())
        return;
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int min)
{
    min_ = min;
    max_ = std::max(max_, min_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetMax(int max)
{
    max_ = max;
    min_ = std::min(min_, max_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
    Apply();
}

void TProgressBar::StepBy(int delta)
{
    int next = position_ + delta;
    if (next > max_)
        next = min_ + (next - max_) % std::max(1, max_ - min_);
    SetPosition(next);
}

void TProgressBar::StepIt() { StepBy(step_); }
