#include "controls/buttons/UZSelBox.h"

#include "framework/windows/Messages.h"
#include "framework/windows/NonClient.h"

namespace {
// DrawText flags of the text: one line, centred vertically, no prefix characters.
constexpr unsigned kTextFlags = dtSingleLine | dtVCenter | dtExternalLeading | dtNoPrefix;

bool Inside(const TRect &r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }
}  // namespace

TZSelBox::TZSelBox(TComponent *owner)
    : TCustomControl(owner), hintL_(std::make_unique<TZLangBox>(this, "Hint", &OnLangChange))
{
    SetControlStyle(ControlStyle() | csCaptureMouse);
    OnMouseDown = [this](TObject *s, TMouseButton b, TShiftState sh, int x, int y) { InnerMouseDown(s, b, sh, x, y); };
    OnMouseUp = [this](TObject *s, TMouseButton b, TShiftState sh, int x, int y) { InnerMouseUp(s, b, sh, x, y); };
    OnKeyDown = [this](TObject *s, uint16_t &key, TShiftState sh) { InnerKeyDown(s, key, sh); };
    OnKeyUp = [this](TObject *s, uint16_t &key, TShiftState sh) { InnerKeyUp(s, key, sh); };
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    Font()->SetColor(clWindowText);
    SetBounds(Left(), Top(), 145, 34);
    SetText(Name());
    constructing_ = false;
    LayoutAreas();
}

void TZSelBox::LayoutAreas()
{
    if (constructing_)
        return;
    themed_ = ThemesActive();
    const int w = Width(), h = Height();
    frameRect_ = ClientRect();
    buttonRect_ = themed_ ? Rect(w - 18, 1, w - 1, h - 1) : Rect(w - 19, 2, w - 2, h - 2);
    textRect_ = Rect(4, 2, w - 19, h - 2);
}

void TZSelBox::Paint() { PaintOn(*Canvas()); }

void TZSelBox::PaintOn(TCanvas &canvas)
{
    LayoutAreas();
    const TSelBoxLook look = SelBoxLook(Enabled(), pressed_, hot_, focused_);
    canvas.Font()->Assign(*Font());
    canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    if (themed_) {
        DrawElement(canvas, ComboBoxFrameElement(look.Frame), frameRect_);
        // The inside in the box's own colour, which the frame element need not have.
        canvas.FillRect(Rect(frameRect_.Left + 1, frameRect_.Top + 1, buttonRect_.Left, frameRect_.Bottom - 1));
        DrawElement(canvas, ComboDropButtonElement(look.Button), buttonRect_);
    } else {
        canvas.FillRect(frameRect_);
        DrawElement(canvas, ComboDropButtonElement(look.Button), buttonRect_);
        TRect frame = frameRect_;
        canvas.DrawEdge(frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        if (focused_ && Enabled())
            canvas.DrawFocusRect(Rect(2, textRect_.Top, textRect_.Right, textRect_.Bottom));
    }
    TRect text = textRect_;
    canvas.Brush()->SetStyle(bsClear);
    canvas.DrawText(Text(), text, kTextFlags);
    canvas.Brush()->SetStyle(bsSolid);
}

void TZSelBox::InnerMouseDown(TObject *, TMouseButton button, TShiftState, int, int)
{
    // The window system reports the primary button as the left one, swapped buttons or not.
    if (button != mbLeft || !Enabled())
        return;
    if (CanFocus() && !Focused()) {
        SetFocus();
        // Taking the focus can cost the window the capture the press gave it; the release must come
        // here wherever the mouse is by then.
        if (HandleAllocated() && MouseCapture() != Handle())
            SetMouseCapture(Handle());
    }
    pressed_ = true;
    Invalidate();
}

void TZSelBox::InnerMouseUp(TObject *, TMouseButton button, TShiftState, int x, int y)
{
    if (button != mbLeft)
        return;
    // A press dragged off the box and released elsewhere is taken back.
    Release(Inside(ClientRect(), x, y));
}

void TZSelBox::InnerKeyDown(TObject *, uint16_t &key, TShiftState)
{
    if (!Enabled() || !IsSelBoxKey(key))
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    pressed_ = true;
    Invalidate();
}

void TZSelBox::InnerKeyUp(TObject *, uint16_t &, TShiftState) { Release(true); }

void TZSelBox::Release(bool select)
{
    if (!pressed_ || !Enabled())
        return;
    pressed_ = false;
    Invalidate();
    if (select && OnSelect)
        OnSelect(this);
}

void TZSelBox::SetHot(bool hot)
{
    if (hot == hot_)
        return;
    hot_ = hot;
    if (themed_)
        Invalidate();
}

void TZSelBox::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    SetHot(Inside(buttonRect_, x, y));
}

void TZSelBox::WndProc(TMessage &message)
{
    if (message.Msg == CM_MOUSELEAVE)
        SetHot(false);
    TCustomControl::WndProc(message);
}

void TZSelBox::Resize()
{
    LayoutAreas();
    TCustomControl::Resize();
}

void TZSelBox::DoEnter()
{
    focused_ = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TZSelBox::DoExit()
{
    // A press the focus leaves behind is no selection.
    focused_ = false;
    pressed_ = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TZSelBox::ColorChanged()
{
    TCustomControl::ColorChanged();
    Invalidate();
}

void TZSelBox::EnabledChanged()
{
    TCustomControl::EnabledChanged();
    if (!Enabled())
        pressed_ = hot_ = false;
    Invalidate();
}

void TZSelBox::FontChanged()
{
    TCustomControl::FontChanged();
    LayoutAreas();
    Invalidate();
}

void TZSelBox::TextChanged()
{
    TCustomControl::TextChanged();
    SetHint(Text());
    Invalidate();
}
