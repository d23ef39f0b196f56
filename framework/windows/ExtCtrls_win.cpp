#include <windows.h>

#include <algorithm>
#include <map>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Exception.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/WinInternal.h"

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

void TPanel::Resize()
{
    Invalidate();
    TWinControl::Resize();
}

void TPanel::TextChanged()
{
    TWinControl::TextChanged();
    Invalidate();
}

void TPanel::PaintWindow(HDC dc)
{
    TDCCanvas canvas(dc);
    TRect r = ClientRect();
    for (TBevelCut cut : {bevelOuter_, bevelInner_})
        if (cut != bvNone)
            canvas.DrawEdge(r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (text_.empty())
        return;
    canvas.Font()->Assign(*Font());
    canvas.Brush()->SetStyle(bsClear);
    unsigned align = alignment_ == taCenter ? dtCenter : alignment_ == taRightJustify ? dtRight : dtLeft;
    canvas.DrawText(text_, r, align | dtVCenter | dtSingleLine | dtNoPrefix);
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

// ---- TImage, TShape --------------------------------------------------------------------------------

TPicture::TPicture() : bitmap_(std::make_unique<TBitmap>()) {}

TPicture::~TPicture() = default;

TImage::TImage(TComponent *owner) : TCustomControl(owner), picture_(std::make_unique<TPicture>())
{
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

TCanvas *TImage::Canvas()
{
    Invalidate();
    return picture_->Bitmap()->Canvas();
}

void TImage::SetStretch(bool stretch)
{
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    Invalidate();
}

void TImage::Paint()
{
    TBitmap *bitmap = picture_->Bitmap();
    if (bitmap->Empty())
        return;
    HDC dc = TCustomControl::Canvas()->Handle();
    HDC source = bitmap->Canvas()->Handle();
    if (stretch_) {
        int oldMode = SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, ClientWidth(), ClientHeight(), source, 0, 0, bitmap->Width(), bitmap->Height(), SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    } else {
        BitBlt(dc, 0, 0, bitmap->Width(), bitmap->Height(), source, 0, 0, SRCCOPY);
    }
}

TShape::TShape(TComponent *owner)
    : TCustomControl(owner), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>())
{
    SetBounds(0, 0, 65, 65);
    pen_->OnChange = [this](TObject *) { Invalidate(); };
    brush_->OnChange = [this](TObject *) { Invalidate(); };
}

TShape::~TShape()
{
    pen_->OnChange = nullptr;
    brush_->OnChange = nullptr;
}

void TShape::SetShape(TShapeType shape)
{
    if (shape == shape_)
        return;
    shape_ = shape;
    Invalidate();
}

void TShape::Paint()
{
    HDC dc = TCustomControl::Canvas()->Handle();
    // The pen's width stays inside the control.
    int half = pen_->Width() / 2;
    int x = half, y = half, w = ClientWidth() - pen_->Width() + 1, h = ClientHeight() - pen_->Width() + 1;
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    HGDIOBJ oldPen = SelectObject(dc, pen_->Handle());
    HGDIOBJ oldBrush = SelectObject(dc, brush_->Handle());
    switch (shape_) {
    case stRectangle:
    case stSquare: Rectangle(dc, x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: {
        int r = std::min(w, h) / 4;
        RoundRect(dc, x, y, x + w, y + h, r, r);
        break;
    }
    case stEllipse:
    case stCircle: Ellipse(dc, x, y, x + w, y + h); break;
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}
