#include "controls/UZFrmExr.h"

#include "framework/windows/NonClient.h"

TRect CaptionButtonRect(int windowWidth, const TCaptionMetrics &m)
{
    return Bounds(windowWidth - m.CxFrame - 4 * m.CxSize + 2, m.CyFrame + 2, m.CxSize - 2, m.CySize - 4);
}

bool TCaptionButton::Put(std::uint8_t bit, bool on)
{
    if (Has(bit) == on)
        return false;
    state_ = static_cast<std::uint8_t>(on ? state_ | bit : state_ & ~bit);
    return true;
}

bool TCaptionButton::Contains(const TPoint &p) const
{
    return p.X >= rect_.Left && p.X < rect_.Right && p.Y >= rect_.Top && p.Y < rect_.Bottom;
}

void TCaptionButton::SetVisible(bool visible)
{
    if (!visible && Tracking()) {
        Put(cbTracking, false);
        site_.GiveMouseBack();
    }
    if (visible)
        Put(cbVisible, true);
    else
        state_ &= cbClicking;  // a click that hides its own button still ends as it began
}

void TCaptionButton::Follow(bool inside)
{
    bool changed = Put(cbHover, inside);
    if (Tracking())
        changed = Put(cbPressed, inside) || changed;
    if (changed)
        site_.RedrawButton();
}

void TCaptionButton::HitTest(const TPoint &point, intptr_t &answer)
{
    if (!Visible())
        return;
    // The button lies in the caption: any other answer means the point is elsewhere.
    bool inside = answer == HTCAPTION && Contains(point);
    Follow(inside);
    if (inside)
        answer = HTBORDER;
}

void TCaptionButton::MouseMove(const TPoint &point)
{
    if (Visible() && Tracking())
        Follow(Contains(point));
}

void TCaptionButton::ButtonDown(intptr_t hitTest)
{
    if (!Visible() || hitTest != HTBORDER || !Hover() || Tracking() || Clicking())
        return;
    Put(cbPressed, true);
    Put(cbTracking, true);
    site_.RedrawButton();
    site_.CaptureMouse();
}

void TCaptionButton::ButtonUp()
{
    if (!Visible())
        return;
    const bool click = Pressed();
    // The capture goes back before the click runs, so that what the click shows gets the mouse.
    if (Put(cbTracking, false))
        site_.GiveMouseBack();
    if (!click)
        return;
    Put(cbPressed, false);
    Put(cbClicking, true);
    site_.RedrawButton();
    // The click ends as it began, even when it throws; unless it freed the button.
    struct Done {
        TCaptionButton *b;
        ~Done()
        {
            if (!b)
                return;
            b->Put(cbClicking, false);
            b->Put(cbHover, false);
            if (b->Visible())
                b->site_.RedrawButton();
        }
    } done{this};
    if (!site_.ButtonClicked())
        done.b = nullptr;
}

void TCaptionButton::CaptureLost()
{
    if (!Tracking())
        return;
    Put(cbTracking, false);
    Put(cbHover, false);
    if (Put(cbPressed, false))
        site_.RedrawButton();
}

TThemedState TCaptionButton::DrawState(bool themed) const
{
    if (!themed)
        return Pressed() ? tsPressed : tsNormal;
    if (Clicking())
        return tsHot;
    if (Pressed())
        return tsPressed;
    return Hover() ? tsHot : tsNormal;
}

void TCaptionButton::Draw(TCanvas &canvas, bool designing) const
{
    if (!Visible())
        return;
    const bool themed = ThemesActive() && !designing;
    TThemeElement element = CaptionButtonElement(tcbHelp, DrawState(themed));
    if (themed)
        DrawElement(canvas, element, rect_);
    else {
        TRect r = rect_;
        canvas.DrawFrameControl(r, ClassicFrameKind(element), ClassicFrameState(element));
    }
}
