#include <windows.h>

#include <map>

#include "framework/Cp1251.h"
#include "framework/Exception.h"
#include "framework/ExtCtrls.h"
#include "framework/WinInternal.h"

TPanel::TPanel(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TBevelCut bevel)
{
    bevelOuter_ = bevel;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut bevel)
{
    bevelInner_ = bevel;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    Invalidate();
}

void TPanel::TextChanged()
{
    TWinControl::TextChanged();
    Invalidate();
}

void TPanel::PaintWindow(HDC dc)
{
    RECT r;
    GetClientRect(Handle(), &r);
    auto edge = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        DrawEdge(dc, &r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    };
    edge(bevelOuter_);
    edge(bevelInner_);
    if (text_.empty())
        return;
    std::wstring text = Cp1251ToWide(text_);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkMode(dc, TRANSPARENT);
    UINT align = alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

namespace {
// Never destroyed: timers owned by the application object are freed during static destruction, after a
// function-local map would already be gone.
std::map<UINT_PTR, TTimer *> &Timers()
{
    static auto *timers = new std::map<UINT_PTR, TTimer *>;
    return *timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Timers().find(id);
    if (it == Timers().end())
        return;
    try {
        it->second->Fire();
    } catch (const std::exception &e) {
        HandleEventException(e);
    }
}
}  // namespace

TTimer::TTimer(TComponent *owner) : TComponent(owner) { Update(); }

TTimer::~TTimer()
{
    enabled_ = false;
    Update();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Update();
}

void TTimer::SetInterval(unsigned interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    Update();
}

void TTimer::Fire()
{
    if (enabled_ && OnTimer)
        OnTimer(this);
}

void TTimer::Update()
{
    if (id_) {
        KillTimer(nullptr, id_);
        Timers().erase(id_);
        id_ = 0;
    }
    if (enabled_ && interval_ > 0) {
        id_ = SetTimer(nullptr, 0, interval_, TimerProc);
        if (!id_)
            throw Exception("Not enough timers available");
        Timers()[id_] = this;
    }
}
