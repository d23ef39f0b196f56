#include <windows.h>

#include "framework/windows/Buttons.h"
#include "framework/runtime/Cp1251.h"

TSpeedButton::TSpeedButton(TComponent *owner) : TCustomControl(owner), glyph_(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 23, 22);
    SetControlStyle((ControlStyle() | csCaptureMouse) & ~csClickEvents);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetFlat(bool flat)
{
    flat_ = flat;
    Invalidate();
}

void TSpeedButton::SetDown(bool down)
{
    down_ = down;
    Invalidate();
}

void TSpeedButton::TextChanged()
{
    TCustomControl::TextChanged();
    Invalidate();
}

void TSpeedButton::EnabledChanged()
{
    TCustomControl::EnabledChanged();
    pressed_ = false;
    Invalidate();
}

void TSpeedButton::WndProc(TMessage &m)
{
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        bool hot = m.Msg == CM_MOUSEENTER;
        if (hot != hot_) {
            hot_ = hot;
            Invalidate();
        }
    }
    TCustomControl::WndProc(m);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled()) {
        pressed_ = true;
        Repaint();
    }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    // Dragged off while held it springs up; back on it goes down again.
    if ((shift & ssLeft) && GetCapture() == Handle()) {
        bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
        if (inside != pressed_) {
            pressed_ = inside;
            Invalidate();
        }
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !pressed_)
        return;
    pressed_ = false;
    Repaint();
    if (x >= 0 && y >= 0 && x < Width() && y < Height())
        Click();
}

void TSpeedButton::Paint()
{
    HDC dc = Canvas()->Handle();
    RECT r{0, 0, ClientWidth(), ClientHeight()};
    bool sunk = pressed_ || down_;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (!flat_)
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunk ? DFCS_PUSHED : 0));
    else if (sunk || (hot_ && Enabled()))
        DrawEdge(dc, &r, sunk ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    int shift = sunk ? 1 : 0;

    std::wstring caption = Cp1251ToWide(Caption());
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    SIZE text{0, 0};
    if (!caption.empty())
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    int glyphWidth = glyph_->Empty() ? 0 : glyph_->Width();
    int gap = glyphWidth && text.cx ? 4 : 0;
    int x = (r.right - glyphWidth - gap - text.cx) / 2 + shift;
    if (glyphWidth) {
        HDC source = glyph_->Canvas()->Handle();
        int y = (r.bottom - glyph_->Height()) / 2 + shift;
        COLORREF transparent = GetPixel(source, 0, glyph_->Height() - 1);
        for (int gy = 0; gy < glyph_->Height(); ++gy)
            for (int gx = 0; gx < glyph_->Width(); ++gx) {
                COLORREF c = GetPixel(source, gx, gy);
                if (c == transparent)
                    continue;
                // A disabled button shows its glyph grey.
                if (!Enabled()) {
                    BYTE grey = static_cast<BYTE>((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3 / 2 + 96);
                    c = RGB(grey, grey, grey);
                }
                SetPixelV(dc, x + gx, y + gy, c);
            }
        x += glyphWidth + gap;
    }
    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, Enabled() ? ColorToRGB(Font()->Color()) : GetSysColor(COLOR_GRAYTEXT));
        TextOutW(dc, x, (r.bottom - text.cy) / 2 + shift, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(dc, oldFont);
}
