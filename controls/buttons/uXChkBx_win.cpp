#include "controls/buttons/uXChkBx.h"

#include <algorithm>

#include "framework/graphics/Themes.h"

namespace {
constexpr int kBoxSize = 13;
// From the box's right to the caption beside it.
constexpr int kCaptionGap = 4;

TThemedCheck ThemedCheck(TCheckBoxState state)
{
    switch (state) {
    case cbChecked: return tcChecked;
    case cbGrayed: return tcMixed;
    default: return tcUnchecked;
    }
}
}  // namespace

TXCheckBox::TXCheckBox(TComponent *owner) : TWithLangBoxes<TCustomControl>(owner)
{
    // The control decides its clicks itself: only a release over the box toggles it.
    SetControlStyle(csCaptureMouse);
    SetTabStop(true);
    SetParentColor(true);
    boxRect_ = Rect(2, 3, 2 + kBoxSize, 3 + kBoxSize);
    SetBounds(Left(), Top(), 98, 18);
    LayoutRects();
}

void TXCheckBox::LayoutRects()
{
    const TRect client = ClientRect();
    // The caption keeps a pixel clear of the border's lines above and below it.
    textRect_ = Rect(client.Left + 4, client.Top + 3, client.Right - 4, client.Bottom - 3);
    if (wrapping_) {
        boxRect_.Top = 3;
        textRect_.Left = boxRect_.Left + 2;
    } else {
        textRect_.Left = boxRect_.Right + kCaptionGap;
        boxRect_.Top = textRect_.Top + (textRect_.Height() - kBoxSize) / 2;
    }
    boxRect_.Bottom = boxRect_.Top + kBoxSize;
    borderRect_ = Rect(boxRect_.Right + 1, client.Top + 2, client.Right - 2, client.Bottom - 2);
}

void TXCheckBox::Resize()
{
    // A size the control gave itself to hold its caption keeps the rectangles it laid out.
    if (!resizing_)
        LayoutRects();
    TWithLangBoxes<TCustomControl>::Resize();
}

void TXCheckBox::LayoutTextOn(TCanvas &canvas)
{
    canvas.Font()->Assign(*Font());
    AnsiString caption = Caption();
    const TRect besideBox = BesideBox();
    auto measure = [&](int extraWidth) {
        TRect r = textRect_;
        r.Right += extraWidth;
        int lines = 0;
        WrapAndDrawText(canvas, caption.c_str(), static_cast<int>(caption.size()), true, autosize_, lines,
                        wrapping_ ? &besideBox : nullptr, r);
        return r;
    };
    TRect measured = measure(0);
    int growX = std::max(0, measured.Right - textRect_.Right);
    // Wider lines hold more words: the height is the one at the width the control takes.
    if (growX > 0)
        measured = measure(growX);
    int growY = std::max(0, measured.Bottom - textRect_.Bottom);
    if (growX == 0 && growY == 0)
        return;
    resizing_ = true;
    try {
        SetBounds(Left(), Top(), Width() + growX, Height() + growY);
    } catch (...) {
        resizing_ = false;
        throw;
    }
    resizing_ = false;
    LayoutRects();
}

TRect TXCheckBox::BesideBox() const
{
    // Lines beside the box keep the same gap to it as a caption that does not wrap.
    TRect r = boxRect_;
    r.Right += kCaptionGap - 2;
    return r;
}

void TXCheckBox::LayoutText()
{
    if (HandleAllocated()) {
        LayoutTextOn(*Canvas());
    } else {
        TMeasureCanvas canvas;
        LayoutTextOn(canvas);
    }
}

void TXCheckBox::Paint() { PaintOn(*Canvas()); }

void TXCheckBox::PaintOn(TCanvas &canvas)
{
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(ClientRect());
    canvas.Font()->Assign(*Font());
    if (autosize_)
        LayoutTextOn(canvas);
    if (!Enabled())
        canvas.Font()->SetColor(clGrayText);

    // The caption's line count decides where the border starts: beside the box for one line, round it
    // when the caption flows under it.
    AnsiString caption = Caption();
    const int length = static_cast<int>(caption.size());
    const TRect besideBox = BesideBox();
    const TRect *box = wrapping_ ? &besideBox : nullptr;
    TRect text = textRect_;
    int lines = 0;
    WrapAndDrawText(canvas, caption.c_str(), length, true, autosize_, lines, box, text);
    borderRect_.Left = wrapping_ && lines > 1 ? boxRect_.Left - 2 : boxRect_.Right + 1;
    // A caption beside the box is centred on it.
    int shift = wrapping_ ? 0 : std::max(0, (textRect_.Height() - text.Height()) / 2);

    if (showBorder_) {
        TRect border = borderRect_;
        DrawElement(canvas, GroupBoxElement(Enabled()), border);
    }
    text = textRect_;
    text.Top += shift;
    WrapAndDrawText(canvas, caption.c_str(), length, false, autosize_, lines, box, text);
    DrawElement(canvas, CheckBoxElement(ThemedCheck(state_), Enabled() ? tsNormal : tsDisabled), boxRect_);
    if (focused_)
        canvas.DrawFocusRect(borderRect_);
}

void TXCheckBox::SetState(TCheckBoxState state)
{
    if (state == state_)
        return;
    state_ = state;
    if (OnCheck)
        OnCheck(this);
    Invalidate();
}

void TXCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed:
        // Silently, but shown: the box must not stay grayed while its state says checked.
        state_ = cbChecked;
        Invalidate();
        break;
    }
}

void TXCheckBox::SetAutosize(bool autosize)
{
    autosize_ = autosize;
    if (autosize_)
        LayoutText();
    Invalidate();
}

void TXCheckBox::SetWrapping(bool wrapping)
{
    wrapping_ = wrapping;
    LayoutRects();
    Invalidate();
}

void TXCheckBox::SetShowBorder(bool showBorder)
{
    showBorder_ = showBorder;
    Invalidate();
}

void TXCheckBox::KeyPress(char &key)
{
    TWithLangBoxes<TCustomControl>::KeyPress(key);
    if (key == ' ')
        Toggle();
}

void TXCheckBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TWithLangBoxes<TCustomControl>::MouseUp(button, shift, x, y);
    if (button != mbLeft)
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    if (x >= boxRect_.Left && x < boxRect_.Right && y >= boxRect_.Top && y < boxRect_.Bottom)
        Toggle();
    else
        Invalidate();
}

void TXCheckBox::DoEnter()
{
    focused_ = true;
    Invalidate();
    TWithLangBoxes<TCustomControl>::DoEnter();
}

void TXCheckBox::DoExit()
{
    focused_ = false;
    Invalidate();
    TWithLangBoxes<TCustomControl>::DoExit();
}

void TXCheckBox::TextChanged()
{
    TWithLangBoxes<TCustomControl>::TextChanged();
    Invalidate();
}

void TXCheckBox::EnabledChanged()
{
    TWithLangBoxes<TCustomControl>::EnabledChanged();
    Invalidate();
}
