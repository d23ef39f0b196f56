#include "controls/UZFrmExr.h"

#include "framework/runtime/Classes.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Messages.h"
#include "framework/windows/NonClient.h"

namespace {
TForm *OwnerForm(TComponent *owner) { return dynamic_cast<TForm *>(owner); }

TRect Offset(const TRect &r, const TPoint &by)
{
    return Rect(r.Left + by.X, r.Top + by.Y, r.Right + by.X, r.Bottom + by.Y);
}
}  // namespace

TFormExtender::TFormExtender(TComponent *owner) : TComponent(owner), button_(*this), form_(OwnerForm(owner))
{
    if (!form_)
        throw EClassNotFound(ClassName() + "... Только для форм!");
    // The form is followed to every window it makes (a change of its border makes one anew).
    hook_.Hook(form_, [this](TMessage &m) { FormWndProc(m); });
    window_ = hook_.Window();
    CalcButtonRect();
    DrawButton();
}

TFormExtender::~TFormExtender()
{
    *alive_ = false;
    if (button_.Tracking())
        GiveMouseBack();
    hook_.Unhook();
}

void TFormExtender::SetVisible(bool visible)
{
    if (visible == button_.Visible())
        return;
    button_.SetVisible(visible);
    RedrawCaption();
}

void TFormExtender::CalcButtonRect()
{
    if (!hook_.Hooked())
        return;
    HWND window = hook_.Window();
    TCaptionMetrics m;
    m.CxFrame = Screen->SystemMetric(smCxFrame);
    m.CyFrame = Screen->SystemMetric(smCyFrame);
    m.CxSize = Screen->SystemMetric(smCxSize);
    m.CySize = Screen->SystemMetric(smCySize);
    const TRect frame = WindowScreenRect(window);
    const TRect old = button_.Rect(), now = CaptionButtonRect(frame.Width(), m);
    button_.SetRect(now);
    const bool had = hasRect_;
    hasRect_ = true;
    // The frame where the button was is drawn again without it.
    if (had && !(old == now))
        RepaintFrame(window, Offset(old, Point(frame.Left, frame.Top)));
}

void TFormExtender::DrawButton()
{
    if (!button_.Visible() || !hook_.Hooked())
        return;
    TWindowCanvas canvas(hook_.Window());
    button_.Draw(canvas, Designing());
}

void TFormExtender::ExcludeButtonRgn(uintptr_t region)
{
    if (!IsRegionHandle(region) || !hook_.Hooked())
        return;
    TRect window = WindowScreenRect(hook_.Window());
    SubtractRectFromRegion(region, Offset(button_.Rect(), Point(window.Left, window.Top)));
}

void TFormExtender::RedrawCaption()
{
    if (hook_.Hooked())
        RepaintFrame(hook_.Window());
}

void TFormExtender::FormWndProc(TMessage &m)
{
    // The form's own handling may free the form and this extender with it (caFree, a release).
    if (!hook_.CallOldProc(m))
        return;
    if (!hook_.Hooked())
        return;
    if (hook_.Window() != window_) {
        // The form made its window anew: the button is placed on it afresh, in a frame that may differ.
        window_ = hook_.Window();
        hasRect_ = false;
        CalcButtonRect();
    }
    if (!button_.Visible())
        return;
    switch (m.Msg) {
    case WM_NCACTIVATE:
    case WM_NCPAINT:
    case WM_SETTEXT:  // the system paints the new caption text straight over the button
        DrawButton();
        break;
    case WM_SIZE:
        CalcButtonRect();
        DrawButton();
        break;
    case WM_NCHITTEST: button_.HitTest(ScreenToWindow(hook_.Window(), PointFromLParam(m.LParam)), m.Result); break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: button_.ButtonDown(static_cast<intptr_t>(m.WParam)); break;
    case WM_MOUSEMOVE:
        if (button_.Tracking()) {
            // While the mouse is captured the system sends client coordinates and no hit tests.
            TPoint screen = form_->ClientToScreen(PointFromLParam(m.LParam));
            button_.MouseMove(ScreenToWindow(hook_.Window(), screen));
        }
        break;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: button_.ButtonUp(); break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(m.LParam) != hook_.Window())
            button_.CaptureLost();
        break;
    default: break;
    }
}

void TFormExtender::CaptureMouse() { previousCapture_ = SetMouseCapture(hook_.Window()); }

void TFormExtender::GiveMouseBack()
{
    HWND previous = previousCapture_;
    previousCapture_ = nullptr;
    if (previous && previous != hook_.Window())
        SetMouseCapture(previous);
    else
        ReleaseMouseCapture();
}

bool TFormExtender::ButtonClicked()
{
    const std::shared_ptr<bool> alive = alive_;
    if (OnClick)
        OnClick(this);
    return *alive;
}
